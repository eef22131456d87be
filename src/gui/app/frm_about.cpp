#include "gui/app/frm_about.hpp"

#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QIcon>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "core/app/text_ids.hpp"
#include "gui/app/app_context.hpp"

namespace cps::gui {

namespace {

constexpr int kIconSize = 48;
QString appIconPath() { return QStringLiteral(":/icons/app.svg"); }

// The descriptions wrap; the title and version stay on one line and set the width.
QLabel* namedLabel(const char* name, const QString& builtIn, bool wrap) {
  auto* label = new QLabel(builtIn);
  label->setObjectName(QString::fromLatin1(name));
  label->setWordWrap(wrap);
  return label;
}

}  // namespace

FrmAbout::FrmAbout(AppContext& context, QWidget* parent)
    : QDialog(parent),
      m_context(context),
      m_icon(new QLabel),
      m_title(namedLabel("Label1", QStringLiteral("TW530系列对讲机编程软件"), false)),
      m_version(namedLabel("Label2", QStringLiteral("版本 V2.00"), false)),
      m_description(namedLabel("Label3", QString(), true)),
      m_description2(namedLabel("Label4", QString(), true)),
      m_ok(new QPushButton(QStringLiteral("确定"))) {
  setObjectName(QStringLiteral("frmAbout"));
  setWindowTitle(QStringLiteral("关于"));
  setModal(true);

  m_icon->setObjectName(QStringLiteral("Image1"));
  const QIcon icon(appIconPath());
  if (!icon.isNull()) m_icon->setPixmap(icon.pixmap(kIconSize, kIconSize));
  m_icon->setAlignment(Qt::AlignTop | Qt::AlignHCenter);

  QFont titleFont = m_title->font();
  titleFont.setBold(true);
  if (titleFont.pointSizeF() > 0) titleFont.setPointSizeF(titleFont.pointSizeF() * 1.25);
  m_title->setFont(titleFont);

  m_ok->setObjectName(QStringLiteral("CommandOK"));
  m_ok->setDefault(true);
  auto* buttons = new QDialogButtonBox;
  buttons->addButton(m_ok, QDialogButtonBox::AcceptRole);

  auto* texts = new QVBoxLayout;
  texts->addWidget(m_title);
  texts->addWidget(m_version);
  texts->addSpacing(m_title->fontMetrics().height() / 2);
  texts->addWidget(m_description);
  texts->addWidget(m_description2);

  auto* top = new QHBoxLayout;
  top->addWidget(m_icon, 0, Qt::AlignTop);
  top->addSpacing(kIconSize / 4);
  top->addLayout(texts, 1);

  auto* layout = new QVBoxLayout(this);
  layout->addLayout(top);
  layout->addWidget(buttons);
  layout->setSizeConstraint(QLayout::SetFixedSize);

  connect(m_ok, &QPushButton::clicked, this, &QDialog::accept);

  applyTexts();
  m_ok->setFocus();
}

void FrmAbout::applyTexts() {
  setWindowTitle(m_context.text(text::kAboutCaption));
  m_title->setText(m_context.text(text::kAboutTitle));
  // The version text names the version itself ("Version V2.00"), so it is shown as it is.
  m_version->setText(m_context.text(text::kAboutVersion));
  m_description->setText(m_context.text(text::kAboutDescription));
  m_description2->setText(m_context.text(text::kAboutDescription2));
  m_ok->setText(m_context.text(text::kAboutOk));
}

}  // namespace cps::gui
