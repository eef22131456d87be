#include "gui/channels/frm_change_channels.hpp"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFontMetrics>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "core/app/text_ids.hpp"
#include "core/channels/channel_dialog.hpp"
#include "core/document/prompter.hpp"
#include "core/run_state.hpp"
#include "gui/app/app_context.hpp"
#include "gui/app/captions.hpp"

namespace cps::gui {

namespace {

constexpr int kLeave = 0;
constexpr int kOn = 1;

QString labelOf(AppContext& context, int textId, std::string_view builtIn,
                std::string_view suffix = {}) {
  QString text = context.text(textId);
  if (text.isEmpty())
    text = QString::fromUtf8(builtIn.data(), static_cast<qsizetype>(builtIn.size()));
  return text + QString::fromUtf8(suffix.data(), static_cast<qsizetype>(suffix.size()));
}

}  // namespace

FrmChangeChannels::FrmChangeChannels(AppContext& context, int selectedCount, int group,
                                     QWidget* parent)
    : QDialog(parent), m_context(context) {
  setObjectName(QStringLiteral("FrmChangeChannels"));
  setModal(true);
  setWindowTitle(context.text(text::kChangeChannelsCaption));

  Message note = TextMessage(text::kChannelsSelected);
  note.arguments = {std::to_string(selectedCount), std::to_string(group + 1)};
  auto* intro = new QLabel(
      QString::fromStdString(MessageBody(note, context.langText(text::kChannelsSelected))));
  intro->setObjectName(QStringLiteral("LabelSelected"));
  intro->setWordWrap(true);

  const QString leave = context.text(text::kLeaveAsItIs);
  const TextOf textOf = context.langTextFunction();
  auto* lists = new QFormLayout;
  for (const ChannelDialogList& list : ChannelDialogLists()) {
    auto* box = new QComboBox;
    box->setObjectName(
        QString::fromUtf8(list.control.data(), static_cast<qsizetype>(list.control.size())));
    box->addItem(leave);
    for (const auto& item :
         DialogListItemsForAnyChannel(list, context.state.workingDocument, textOf)) {
      box->addItem(QString::fromStdString(item));
    }
    box->setMaxVisibleItems(16);
    box->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    auto* label =
        new QLabel(labelOf(context, list.labelTextId, list.builtInLabel, list.labelSuffix));
    label->setBuddy(box);
    lists->addRow(label, box);
    m_lists.push_back(box);
  }
  auto* checks = new QFormLayout;
  for (const ChannelDialogCheck& check : ChannelDialogChecks()) {
    auto* box = new QComboBox;
    box->setObjectName(
        QString::fromUtf8(check.control.data(), static_cast<qsizetype>(check.control.size())));
    box->addItems({leave, context.text(text::kSwitchOn), context.text(text::kSwitchOff)});
    box->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    auto* label = new QLabel(labelOf(context, check.captionTextId, check.builtInCaption));
    label->setBuddy(box);
    checks->addRow(label, box);
    m_checks.push_back(box);
  }
  for (QComboBox* box : m_lists) {
    connect(box, &QComboBox::currentIndexChanged, this, [this] { applyExclusion(); });
  }
  // Room for "leave as it is" whatever font draws it: Chinese text comes from a
  // fallback font, which the list's own size hint may not measure.
  const int leaveWidth = QFontMetrics(font()).horizontalAdvance(leave + QStringLiteral("MMMM"));
  for (QComboBox* box : m_lists) box->setMinimumWidth(leaveWidth);
  for (QComboBox* box : m_checks) box->setMinimumWidth(leaveWidth);

  auto* columns = new QHBoxLayout;
  columns->addLayout(lists);
  columns->addSpacing(16);
  columns->addLayout(checks);
  auto* ok = new QPushButton(QStringLiteral("&O K"));
  auto* cancel = new QPushButton(QStringLiteral("&Cancel"));
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(intro);
  layout->addLayout(columns);
  layout->addWidget(OkCancelButtonBox(*this, ok, cancel));
  SetOkCancelCaptions(*this, context);
  layout->setSizeConstraint(QLayout::SetFixedSize);
  connect(ok, &QPushButton::clicked, this, &QDialog::accept);
  if (!m_lists.empty()) m_lists.front()->setFocus();
}

// Scrambler and talkaround exclude each other: once the list says which of
// the two applies, the other box cannot be set.
void FrmChangeChannels::applyExclusion() {
  const auto lists = ChannelDialogLists();
  const auto checks = ChannelDialogChecks();
  int choice = kLeave;
  for (std::size_t i = 0; i < lists.size(); ++i) {
    if (lists[i].field == ChannelField::ScramblerTalkaround) choice = m_lists[i]->currentIndex();
  }
  for (std::size_t i = 0; i < checks.size(); ++i) {
    bool enabled = true;
    if (checks[i].field == ChannelField::Scrambler) enabled = choice != 2;
    if (checks[i].field == ChannelField::Talkaround) enabled = choice != 1;
    if (!enabled) m_checks[i]->setCurrentIndex(kLeave);
    m_checks[i]->setEnabled(enabled);
  }
}

std::vector<std::pair<int, std::string>> FrmChangeChannels::edits() const {
  std::vector<std::pair<int, std::string>> result;
  const auto lists = ChannelDialogLists();
  for (std::size_t i = 0; i < lists.size(); ++i) {
    const int item = m_lists[i]->currentIndex();
    if (item <= kLeave) continue;
    const auto value =
        DialogStoredValue(lists[i], item - 1, m_lists[i]->currentText().toStdString());
    if (!value) continue;
    result.emplace_back(static_cast<int>(lists[i].field), std::to_string(*value));
  }
  const auto checks = ChannelDialogChecks();
  for (std::size_t i = 0; i < checks.size(); ++i) {
    const int item = m_checks[i]->currentIndex();
    if (item <= kLeave) continue;
    result.emplace_back(static_cast<int>(checks[i].field), item == kOn ? "1" : "0");
  }
  return result;
}

}  // namespace cps::gui
