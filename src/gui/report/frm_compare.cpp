#include "gui/report/frm_compare.hpp"

#include <QDialogButtonBox>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "core/app/text_ids.hpp"
#include "gui/app/app_context.hpp"

namespace cps::gui {

namespace {

constexpr int kIndexRole = Qt::UserRole + 1;

QString fromUtf8(const std::string& text) {
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

}  // namespace

FrmCompare::FrmCompare(AppContext& context, std::vector<FieldDifference> differences,
                       const QString& otherName, Navigation navigation, QWidget* parent)
    : QDialog(parent),
      m_context(context),
      m_differences(std::move(differences)),
      m_otherName(otherName),
      m_navigation(std::move(navigation)),
      m_summary(new QLabel),
      m_tree(new QTreeWidget) {
  setObjectName(QStringLiteral("FrmCompare"));
  setAttribute(Qt::WA_DeleteOnClose);
  m_summary->setObjectName(QStringLiteral("LabelSummary"));
  m_summary->setWordWrap(true);
  m_tree->setObjectName(QStringLiteral("TreeDifferences"));
  m_tree->setColumnCount(3);
  m_tree->setRootIsDecorated(true);
  m_tree->setAlternatingRowColors(true);
  m_tree->header()->setStretchLastSection(true);
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close);
  buttons->button(QDialogButtonBox::Close)->setText(context.text(text::kCloseButton));
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::close);
  connect(m_tree, &QTreeWidget::itemActivated, this,
          [this](QTreeWidgetItem* item) { activate(item); });

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(m_summary);
  layout->addWidget(m_tree, 1);
  layout->addWidget(buttons);
  fill();
  resize(760, 480);
}

void FrmCompare::fill() {
  setWindowTitle(m_context.text(text::kCompareCaption) + QStringLiteral(" — ") + m_otherName);
  m_tree->setHeaderLabels({m_context.text(text::kCompareField),
                           m_context.text(text::kCompareThisDocument), m_otherName});
  if (m_differences.empty()) {
    m_summary->setText(m_context.text(text::kCompareNoDifferences));
    m_tree->hide();
    return;
  }
  m_summary->setText(m_context.text(text::kCompareCount) + QLatin1Char(' ') +
                     QString::number(m_differences.size()));
  QTreeWidgetItem* group = nullptr;
  CompareBlock block{};
  for (std::size_t i = 0; i < m_differences.size(); ++i) {
    const auto& d = m_differences[i];
    if (group == nullptr || d.block != block) {
      block = d.block;
      group = new QTreeWidgetItem(m_tree, {m_context.text(CompareBlockTextId(block))});
      QFont bold = group->font(0);
      bold.setBold(true);
      group->setFont(0, bold);
      group->setFirstColumnSpanned(true);
      group->setExpanded(true);
    }
    QString where = fromUtf8(d.label);
    if (d.channel != 0) {
      where =
          m_context.text(text::kChannelWord) + QLatin1Char(' ') + QString::number(d.channel) +
          (d.field.find('.', 8) == std::string::npos ? QString() : QStringLiteral(": ") + where);
    }
    auto* item = new QTreeWidgetItem(group, {where, fromUtf8(d.a), fromUtf8(d.b)});
    item->setData(0, kIndexRole, static_cast<int>(i));
    item->setToolTip(0, QString::fromStdString(d.field));
  }
  m_tree->resizeColumnToContents(0);
  m_tree->resizeColumnToContents(1);
}

void FrmCompare::activate(QTreeWidgetItem* item) {
  if (item == nullptr || !item->data(0, kIndexRole).isValid()) return;
  const auto index = static_cast<std::size_t>(item->data(0, kIndexRole).toInt());
  if (index >= m_differences.size()) return;
  const auto& d = m_differences[index];
  if (d.channel != 0) {
    if (m_navigation.toChannel) m_navigation.toChannel(d.channel);
  } else if (m_navigation.toBlock) {
    m_navigation.toBlock(d.block);
  }
}

}  // namespace cps::gui
