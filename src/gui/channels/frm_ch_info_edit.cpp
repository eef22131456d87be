#include "gui/channels/frm_ch_info_edit.hpp"

#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QTimer>
#include <QVBoxLayout>

#include "core/app/text_ids.hpp"
#include "core/channels/channel_dialog.hpp"
#include "core/channels/channel_table.hpp"
#include "core/document/channel_list.hpp"
#include "core/document/codec.hpp"
#include "core/run_state.hpp"
#include "gui/app/app_context.hpp"
#include "gui/app/captions.hpp"
#include "gui/app/list_routines.hpp"
#include "gui/app/text_boxes.hpp"

namespace cps::gui {

namespace {

constexpr int kReceive = static_cast<int>(ChannelField::Receive);
constexpr int kTransmit = static_cast<int>(ChannelField::Transmit);
constexpr std::size_t kScramblerTalkaroundList = 7;  // Combo2(7)
constexpr std::size_t kTalkaroundBox = 3, kScramblerBox = 4;
// "Label left = control left − label width − 100 twips": 100 twips are about 7 pixels.
constexpr int kLabelGap = 7;

bool isEnter(const QKeyEvent& key) {
  return key.key() == Qt::Key_Return || key.key() == Qt::Key_Enter;
}

QLabel* rightAligned(const QString& builtIn) {
  auto* label = new QLabel(builtIn);
  label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
  return label;
}

}  // namespace

FrmCHInfoEdit::FrmCHInfoEdit(AppContext& context, DocumentObserver& observer,
                             std::function<void()> tableFollows, QWidget* parent)
    : QWidget(parent),
      m_context(context),
      m_observer(observer),
      m_tableFollows(std::move(tableFollows)),
      m_editing(context.state.channelEditing),
      m_group(new QComboBox),
      m_position(new QComboBox),
      m_receive(new QLineEdit),
      m_transmit(new QLineEdit),
      m_groupLabel(rightAligned(QStringLiteral("组"))),
      m_positionLabel(rightAligned(QStringLiteral("信道"))),
      m_receiveLabel(rightAligned(QStringLiteral("接收频率"))),
      m_transmitLabel(rightAligned(QStringLiteral("发射频率"))) {
  setWindowTitle(QStringLiteral("信道编辑"));
  m_group->setObjectName(QStringLiteral("Combo4"));
  m_position->setObjectName(QStringLiteral("Combo1"));
  m_receive->setObjectName(QStringLiteral("Text1"));
  m_transmit->setObjectName(QStringLiteral("Text2"));

  auto* fields = new QFormLayout;
  fields->setLabelAlignment(Qt::AlignRight | Qt::AlignVCenter);
  fields->setHorizontalSpacing(kLabelGap);
  fields->addRow(m_groupLabel, m_group);
  fields->addRow(m_positionLabel, m_position);
  fields->addRow(m_receiveLabel, m_receive);
  fields->addRow(m_transmitLabel, m_transmit);
  const auto lists = ChannelDialogLists();
  for (std::size_t i = 0; i < lists.size(); ++i) {
    m_lists[i] = new QComboBox;
    m_lists[i]->setObjectName(QLatin1String(lists[i].control.data(), lists[i].control.size()));
    m_listLabels[i] =
        rightAligned(QString::fromUtf8(lists[i].builtInLabel.data(), lists[i].builtInLabel.size()));
    m_listLabels[i]->setBuddy(m_lists[i]);
    fields->addRow(m_listLabels[i], m_lists[i]);
    m_lists[i]->installEventFilter(this);
    connect(m_lists[i], &QComboBox::activated, this, [this, i] {
      if (WandToSave) storeList(i);
    });
  }
  auto* boxes = new QVBoxLayout;
  const auto checks = ChannelDialogChecks();
  for (std::size_t i = 0; i < checks.size(); ++i) {
    m_checks[i] = new QCheckBox(
        QString::fromUtf8(checks[i].builtInCaption.data(), checks[i].builtInCaption.size()));
    m_checks[i]->setObjectName(QLatin1String(checks[i].control.data(), checks[i].control.size()));
    m_checks[i]->installEventFilter(this);
    boxes->addWidget(m_checks[i]);
    connect(m_checks[i], &QCheckBox::clicked, this, [this, i] {
      if (WandToSave) storeCheck(i);
    });
  }
  boxes->addStretch();
  auto* columns = new QHBoxLayout;
  columns->addLayout(fields);
  columns->addSpacing(16);
  columns->addLayout(boxes);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(columns);
  layout->addLayout(CloseHelpRow(*this, m_context));
  setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);

  for (QLineEdit* box : {m_receive, m_transmit}) {
    // Every character, whatever chord or input method brings it, meets the
    // box's key rule (a sign only in the transmit box in offset mode).
    const int column = box == m_receive ? kReceive : kTransmit;
    GuardTextBox(*box, [this, column](QChar c) -> std::optional<QChar> {
      const bool control = c.unicode() < 32 || c.unicode() == 127;
      if (control ||
          !FrequencyEditorAccepts(c.unicode(), column, m_context.state.habits.offsetMode)) {
        return std::nullopt;
      }
      return c;
    });
    box->installEventFilter(this);
  }
  connect(m_receive, &QLineEdit::textEdited, this, [this] { m_receivePending = true; });
  connect(m_transmit, &QLineEdit::textEdited, this, [this] { m_transmitPending = true; });
  // Enter moves on from the group and position lists as from every other list.
  m_group->installEventFilter(this);
  m_position->installEventFilter(this);
  connect(m_group, &QComboBox::activated, this, [this](int index) {
    if (index != m_editing.dialogGroup) SetGridEditData(false);
  });
  connect(m_position, &QComboBox::activated, this, [this](int index) {
    if (index + 1 != m_editing.editRow) SetGridEditData(false);
  });

  // Opening: help, lists, texts, then the channel under the table's cursor.
  WandToSave = true;
  for (int g = 1; g <= 8; ++g) m_group->addItem(QString::number(g));
  for (int p = 1; p <= kTableRows; ++p) m_position->addItem(QString::number(p));
  ApplyEditLanguage();
  m_editing.isEditDialogOpen = true;
  SetGridEditData(true);
}

FrmCHInfoEdit::~FrmCHInfoEdit() { m_editing.isEditDialogOpen = false; }

void FrmCHInfoEdit::ApplyEditLanguage() {
  setWindowTitle(m_context.text(text::kChannelDialogCaption));
  m_groupLabel->setText(m_context.text(text::kDialogGroupLabel));
  m_positionLabel->setText(m_context.text(text::kDialogPositionLabel));
  m_receiveLabel->setText(m_context.text(text::kDialogReceiveLabel));
  m_transmitLabel->setText(
      m_context.text(DialogTransmitLabelTextId(m_context.state.habits.offsetMode)));
  const auto lists = ChannelDialogLists();
  for (std::size_t i = 0; i < lists.size(); ++i) {
    m_listLabels[i]->setText(
        m_context.text(lists[i].labelTextId) +
        QString::fromUtf8(lists[i].labelSuffix.data(), lists[i].labelSuffix.size()));
  }
  const auto checks = ChannelDialogChecks();
  for (std::size_t i = 0; i < checks.size(); ++i) {
    m_checks[i]->setText(m_context.text(checks[i].captionTextId));
  }
  SetCloseHelpCaptions(*this, m_context);
}

int FrmCHInfoEdit::position() const { return std::max(m_position->currentIndex(), 0) + 1; }

// ---- Showing a channel ---------------------------------------------------------------

void FrmCHInfoEdit::SetGridEditData(bool rIsGridChange) {
  if (rIsGridChange) {
    m_group->setCurrentIndex(std::clamp(m_editing.dialogGroup, 0, 7));
    m_position->setCurrentIndex(std::clamp(m_editing.editRow, 1, kTableRows) - 1);
  } else {
    if (m_group->currentIndex() != m_editing.dialogGroup) {
      m_editing.dialogGroup = std::max(m_group->currentIndex(), 0);
    }
    if (m_position->currentIndex() < 0) m_position->setCurrentIndex(0);
    m_editing.editRow = position();
    // The table shows the dialog's group and position too.
    if (m_editing.isChannelWindowOpen && m_tableFollows) m_tableFollows();
  }
  const int number = m_editing.dialogGroup * kTableRows + m_editing.editRow;
  WandToSave = false;
  if (FindChannelIndex(m_context.state.workingDocument, number) >= 0) {
    showChannel(number);
  } else {
    showEmptyPosition();
  }
  m_receivePending = m_transmitPending = false;
  WandToSave = true;
}

void FrmCHInfoEdit::showChannel(int number) {
  auto& doc = m_context.state.workingDocument;
  CheckBusyLockout(doc, number);
  const auto& channel = doc.channels[static_cast<std::size_t>(FindChannelIndex(doc, number))];
  const CodecContext codec{m_context.state.model.limits, m_context.prompter()};
  m_receive->setText(QString::fromStdString(FreqStoredToText(channel.rxFreq.raw(), codec)));
  m_transmit->setText(QString::fromStdString(
      TxColumnText(channel.rxFreq.raw(), channel.offset.raw(), channel.offsetDirection,
                   m_context.state.habits.offsetMode, codec)));
  m_transmit->setEnabled(true);

  const auto textOf = m_context.langTextFunction();
  const auto lists = ChannelDialogLists();
  for (std::size_t i = 0; i < lists.size(); ++i) {
    QComboBox* list = m_lists[i];
    const QSignalBlocker quiet(list);
    list->clear();
    for (const auto& item : DialogListItems(lists[i], doc, channel, textOf)) {
      list->addItem(QString::fromStdString(item));
    }
    // A value that no item names is shown as the first item and kept until
    // the user chooses: showing a channel never changes it.
    m_shownItems[i] = DialogShownItem(lists[i], doc, channel);
    list->setCurrentIndex(m_shownItems[i]);
    list->setEnabled(true);
  }
  const auto checks = ChannelDialogChecks();
  for (std::size_t i = 0; i < checks.size(); ++i) {
    const QSignalBlocker quiet(m_checks[i]);
    m_checks[i]->setEnabled(true);
    ShowCheckValue(*m_checks[i],
                   channel.*(FindChannelField(static_cast<int>(checks[i].field))->member));
  }
  applyExclusion();
}

void FrmCHInfoEdit::showEmptyPosition() {
  m_receive->clear();
  m_transmit->clear();
  m_transmit->setEnabled(false);
  for (QComboBox* list : m_lists) {
    const QSignalBlocker quiet(list);
    list->clear();
    list->addItem(QStringLiteral(" "));
    list->setCurrentIndex(0);
    list->setEnabled(false);
  }
  m_shownItems.fill(0);
  for (QCheckBox* box : m_checks) {
    const QSignalBlocker quiet(box);
    box->setChecked(false);
    box->setEnabled(false);
  }
}

// Scrambler and talkaround exclude each other: the list says which of the two boxes applies.
void FrmCHInfoEdit::applyExclusion() {
  const bool talkaround = m_lists[kScramblerTalkaroundList]->currentIndex() == 1;
  m_checks[kScramblerBox]->setEnabled(!talkaround);
  m_checks[kTalkaroundBox]->setEnabled(talkaround);
}

void FrmCHInfoEdit::ReShowEditTxFre(bool rOffSet) {
  m_transmitLabel->setText(m_context.text(DialogTransmitLabelTextId(rOffSet)));
  SetGridEditData(false);
}

// ---- Storing -------------------------------------------------------------------------

void FrmCHInfoEdit::store(int fieldCode, const std::string& value) {
  ApplyChannelEdit(m_context.state, {m_context.prompter(), m_observer},
                   std::max(m_group->currentIndex(), 0), position(), fieldCode, value);
}

void FrmCHInfoEdit::storeList(std::size_t index) {
  QComboBox* list = m_lists[index];
  const QString text = list->currentText();
  if (!list->isEnabled() || text.isEmpty() || text == QStringLiteral(" ")) return;
  const ChannelDialogList& row = ChannelDialogLists()[index];
  const auto value = DialogStoredValue(row, list->currentIndex(), text.toStdString());
  if (!value) return;
  store(static_cast<int>(row.field), std::to_string(*value));
}

void FrmCHInfoEdit::storeCheck(std::size_t index) {
  store(static_cast<int>(ChannelDialogChecks()[index].field),
        m_checks[index]->isChecked() ? "1" : "0");
}

void FrmCHInfoEdit::commitFrequency(QLineEdit& box) {
  const bool receive = &box == m_receive;
  bool& pending = receive ? m_receivePending : m_transmitPending;
  if (!pending) return;
  pending = false;
  const std::string typed = box.text().toStdString();
  if (receive) {
    store(kReceive, CommittedCellText(kReceive, typed).value_or(typed));
  } else if (IsNumeric(typed)) {
    store(kTransmit, typed);
  }
  // A transmit text that is no number is not taken: the field shows the channel again.
  SetGridEditData(false);
}

void FrmCHInfoEdit::commitEdits() {
  commitFrequency(*m_receive);
  commitFrequency(*m_transmit);
}

// ---- Keys and focus ------------------------------------------------------------------

bool FrmCHInfoEdit::frequencyKey(QLineEdit& box, QKeyEvent& key) {
  if (isEnter(key)) {
    commitFrequency(box);
    focusNextChild();
    return true;
  }
  if (IsClipboardKey(key)) return true;
  if (IsCommandKey(key)) return false;
  const QString text = key.text();
  if (text.isEmpty()) return false;
  const int column = &box == m_receive ? kReceive : kTransmit;
  return !FrequencyEditorAccepts(text.toUcs4().value(0), column, m_context.state.habits.offsetMode);
}

bool FrmCHInfoEdit::eventFilter(QObject* watched, QEvent* event) {
  const auto type = event->type();
  if (auto* box = qobject_cast<QLineEdit*>(watched)) {
    switch (type) {
      case QEvent::KeyPress:
        return frequencyKey(*box, *static_cast<QKeyEvent*>(event));
      case QEvent::FocusIn:
        QTimer::singleShot(0, box, &QLineEdit::selectAll);
        break;
      case QEvent::FocusOut:
        commitFrequency(*box);
        break;
      default:
        break;
    }
    return QWidget::eventFilter(watched, event);
  }
  if (type == QEvent::KeyPress && isEnter(*static_cast<QKeyEvent*>(event))) {
    focusNextChild();
    return true;
  }
  if (type == QEvent::FocusOut &&
      static_cast<QFocusEvent*>(event)->reason() != Qt::PopupFocusReason) {
    // A list that is left stores an item the user moved to without a choice
    // being reported; one that still shows what the channel showed stores
    // nothing, so that passing through never replaces a value no item names.
    // Opening its own item list does not leave it.
    for (std::size_t i = 0; i < m_lists.size(); ++i) {
      if (watched == m_lists[i] && m_lists[i]->isEnabled() &&
          m_lists[i]->currentIndex() != m_shownItems[i]) {
        storeList(i);
      }
    }
  }
  return QWidget::eventFilter(watched, event);
}

void FrmCHInfoEdit::closeEvent(QCloseEvent* event) {
  if (!m_closed) {
    m_closed = true;
    commitEdits();
    m_editing.isEditDialogOpen = false;
  }
  QWidget::closeEvent(event);
}

}  // namespace cps::gui
