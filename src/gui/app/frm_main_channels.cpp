// The main window's side of channel editing: the channel table and dialog it
// hosts, the channel commands of the Channel menu and toolbar (run on a short
// timer so that the menu has closed and the table's entry is committed), the
// edit habits, and undo and redo of every change to the document.
#include <QApplication>
#include <QClipboard>
#include <QMenu>
#include <QStatusBar>
#include <QTimer>

#include "core/app/settings_files.hpp"
#include "core/app/text_ids.hpp"
#include "core/app/text_table.hpp"
#include "core/channels/channel_commands.hpp"
#include "core/channels/channel_rows.hpp"
#include "core/channels/channel_table.hpp"
#include "core/document/codec.hpp"
#include "core/document/edit_history.hpp"
#include "gui/app/app_context.hpp"
#include "gui/app/frm_main.hpp"
#include "gui/channels/frm_ch_info_edit.hpp"
#include "gui/channels/frm_change_channels.hpp"
#include "gui/channels/frm_comm_ch_info.hpp"
#include "gui/channels/frm_habits.hpp"

namespace cps::gui {

namespace {

constexpr int kCommandDelayMs = 20;
constexpr int kStatusMessageMs = 5000;
const QString kDialogWindowName = QStringLiteral("FrmCHInfoEdit");

// The command entries by their command codes 1 to 7.
constexpr const char* kCommandEntries[] = {"MnuCHCut",     "MnuCHCopy",   "MnuCHPaste",
                                           "MnuCHInsert",  "MnuCHDelete", "MnuCHMoveUp",
                                           "MnuCHMoveDown"};

}  // namespace

void FrmMain::registerChannelWindows() {
  registerChildWindow(QLatin1String(kChannelWindowName),
                      [this] { return new frmCommChInfo(m_context, *this, *this); });
  registerChildWindow(kDialogWindowName, [this] {
    return new FrmCHInfoEdit(m_context, *this, [this] {
      if (frmCommChInfo* table = channelTable()) table->followDialog();
    });
  });
  m_commandTimer = new QTimer(this);
  m_commandTimer->setObjectName(QStringLiteral("TimerCHEdit"));
  m_commandTimer->setSingleShot(true);
  m_commandTimer->setInterval(kCommandDelayMs);
  connect(m_commandTimer, &QTimer::timeout, this, &FrmMain::TimerCHEdit_Timer);
  for (int code = 1; code <= 7; ++code) {
    setCommand(QLatin1String(kCommandEntries[code - 1]), [this, code] { runChannelCommand(code); });
  }
  m_actions.value(QStringLiteral("mnuEditRedo"))
      ->setShortcuts(
          {QKeySequence(QStringLiteral("Ctrl+Y")), QKeySequence(QStringLiteral("Ctrl+Shift+Z"))});
  m_context.state.history.setOnChange([this] { updateUndoRedo(); });
  updateUndoRedo();
  UpdateChannelEditCommands(0);
}

frmCommChInfo* FrmMain::channelTable() const {
  return dynamic_cast<frmCommChInfo*>(childWindow(QLatin1String(kChannelWindowName)));
}

FrmCHInfoEdit* FrmMain::channelDialog() const {
  return dynamic_cast<FrmCHInfoEdit*>(childWindow(kDialogWindowName));
}

// ---- What the table asks of the main window ------------------------------------------

void FrmMain::UpdateChannelEditCommands(int channelNumber) {
  bool usable = IsChannelUsable(m_context.state.workingDocument, channelNumber);
  if (frmCommChInfo* table = channelTable()) {
    // A block is cut or copied when any of its channels could be on its own.
    const int first = table->selectedGroup() * kTableRows;
    for (const int row : table->selectedRows()) {
      usable = usable || IsChannelUsable(m_context.state.workingDocument, first + row);
    }
  }
  for (const char* name : {"MnuCHCut", "MnuCHCopy"}) {
    m_actions.value(QLatin1String(name))->setEnabled(usable);
  }
  m_actions.value(QStringLiteral("MnuCHPaste"))
      ->setEnabled(m_context.state.channelClipboard.hasChannel());
  for (const char* name : {"MnuCHInsert", "MnuCHDelete", "MnuCHMoveUp", "MnuCHMoveDown"}) {
    m_actions.value(QLatin1String(name))->setEnabled(true);
  }
}

void FrmMain::popUpChannelMenu(const QPoint& globalPosition) {
  m_menus.value(QStringLiteral("MnuCHEdit"))->popup(globalPosition);
}

void FrmMain::showChannelEditDialog() { ShowChildWindow(kDialogWindowName); }

void FrmMain::reloadChannelEditDialog(bool followsGrid) {
  if (FrmCHInfoEdit* dialog = channelDialog()) dialog->SetGridEditData(followsGrid);
}

void FrmMain::SetSaveEditData() {
  if (frmCommChInfo* table = channelTable()) {
    table->commitEdits();
    table->SetEditDisable();
  }
}

// ---- What the core asks the windows to show again -------------------------------------

void FrmMain::reShowGrid(int channelNumber) {
  if (frmCommChInfo* table = channelTable()) table->reShowGrid(channelNumber);
}

void FrmMain::reShowAllGrid() {
  if (frmCommChInfo* table = channelTable()) table->reShowAllGrid();
}

void FrmMain::reloadEditDialog() { reloadChannelEditDialog(true); }
void FrmMain::reloadEditDialogAtItsPosition() { reloadChannelEditDialog(false); }
// The channel dialog's auto-dial lists and the alert window's code list offer the memories.
void FrmMain::refreshDtmfMemoryLists() {
  reloadChannelEditDialog(false);
  reloadWindow(QStringLiteral("FrmAlert"));
}

// ---- The channel commands ------------------------------------------------------------------

void FrmMain::runChannelCommand(int command) {
  SetSaveEditData();
  m_pendingChannelCommand = command;
  m_commandTimer->start();
}

void FrmMain::TimerCHEdit_Timer() {
  m_commandTimer->stop();
  frmCommChInfo* table = channelTable();
  if (table == nullptr) return;
  const auto command = static_cast<ChannelCommand>(m_pendingChannelCommand);
  const TablePlace place{table->cursorRow(), table->selectedGroup()};
  table->CodeMoveTopRow = true;
  const ChannelCommandResult result =
      RunChannelCommandOnRows(m_context.state, {m_context.prompter(), *this}, command,
                              {place.group, place.position, table->selectedRows()});
  if (result.saveHabits) WriteHabits(m_context.folders.habits(), m_context.state.habits);
  if (result.cursorRow) table->setCursor(*result.cursorRow, table->cursorColumn());
  table->selectRows(result.selection);
  table->CodeMoveTopRow = false;
  if (!result.ran()) {
    if (result.failure.textId != 0) {
      showChannelStatus(result.failure.textId, result.failure.arguments);
    } else {
      statusBar()->showMessage(QString::fromStdString(result.failure.detail), kStatusMessageMs);
    }
  }
  if ((result.ran() || result.failure.textId == text::kChannelsNotFitting) &&
      (command == ChannelCommand::Copy || command == ChannelCommand::Cut)) {
    // The copied channels also go to the system clipboard, as a spreadsheet takes them.
    const CodecContext codec{m_context.state.model.limits, m_context.prompter()};
    QApplication::clipboard()->setText(QString::fromStdString(ChannelSpreadsheetText(
        m_context.state.channelClipboard.channels, m_context.state.habits.offsetMode, codec,
        m_context.langTextFunction())));
  }
  UpdateChannelEditCommands(place.group * kTableRows + table->cursorRow());
  // The keyboard stays with the table: copy, Down, paste work without the mouse.
  table->EnterCurrentCell();
}

void FrmMain::MnuCHHabits_Click() {
  SetSaveEditData();
  const bool offsetMode = m_context.state.habits.offsetMode;
  FrmHabits dialog(m_context, this);
  dialog.exec();
  frmCommChInfo* table = channelTable();
  if (m_context.state.habits.offsetMode != offsetMode) {
    if (table != nullptr) table->ReShowAllTxFre(m_context.state.habits.offsetMode);
    if (FrmCHInfoEdit* dialogWindow = channelDialog()) {
      dialogWindow->ReShowEditTxFre(m_context.state.habits.offsetMode);
    }
  }
  if (table != nullptr) table->EnterCurrentCell();
}

// ---- Several channels at once ---------------------------------------------------------

void FrmMain::showChannelStatus(int textId, const std::vector<std::string>& arguments) {
  Message message = TextMessage(textId);
  message.arguments = arguments;
  statusBar()->showMessage(QString::fromStdString(MessageBody(message, m_context.langText(textId))),
                           kStatusMessageMs);
}

void FrmMain::MnuCHSelectAll_Click() {
  if (frmCommChInfo* table = channelTable()) table->selectAllRows();
}

void FrmMain::MnuCHChangeSelected_Click() {
  frmCommChInfo* table = channelTable();
  if (table == nullptr) return;
  SetSaveEditData();
  const std::vector<int> rows = table->selectedRows();
  const int group = table->selectedGroup();
  FrmChangeChannels dialog(m_context, static_cast<int>(rows.size()), group, this);
  if (dialog.exec() == QDialog::Accepted && !dialog.edits().empty()) {
    const BlockEditResult result = ApplyEditsToRows(m_context.state, {m_context.prompter(), *this},
                                                    group, rows, dialog.edits());
    showChannelStatus(text::kChannelsChanged, {std::to_string(result.changed)});
  }
  table->EnterCurrentCell();
}

void FrmMain::mnuEditPasteRows_Click() {
  frmCommChInfo* table = channelTable();
  if (table == nullptr) return;
  SetSaveEditData();
  // The cells may come in either language, whichever the user works in now.
  TextTable english(m_context.folders.languageFolder() / std::string(LanguageFileName(kEnglish)));
  TextTable chinese(m_context.folders.languageFolder() / std::string(LanguageFileName(kChinese)));
  const std::vector<TextOf> languages{[&english](int id) { return english.LangText(id); },
                                      [&chinese](int id) { return chinese.LangText(id); }};
  const int row = table->cursorRow();
  table->CodeMoveTopRow = true;
  const PastedRows result = PasteChannelRows(
      m_context.state, {m_context.prompter(), *this}, {row, table->selectedGroup()},
      QApplication::clipboard()->text().toStdString(), languages);
  table->setCursor(row, table->cursorColumn());
  table->selectRows(result.rows);
  table->CodeMoveTopRow = false;
  if (result.anyRows()) {
    showChannelStatus(text::kRowsPasted,
                      {std::to_string(result.taken), std::to_string(result.skipped)});
  } else {
    showChannelStatus(text::kNoRowsToPaste, {});
  }
  table->EnterCurrentCell();
}

// ---- Undo and redo ---------------------------------------------------------------------------

void FrmMain::updateUndoRedo() {
  m_actions.value(QStringLiteral("mnuEditUndo"))->setEnabled(CanUndo(m_context.state));
  m_actions.value(QStringLiteral("mnuEditRedo"))->setEnabled(CanRedo(m_context.state));
}

void FrmMain::mnuEditUndo_Click() {
  // A pending entry is a change of its own: it is committed, then undone first.
  commitChildWindows(CommitBefore::Save);
  if (Undo(m_context.state)) reloadChildWindows();
  updateUndoRedo();
}

void FrmMain::mnuEditRedo_Click() {
  commitChildWindows(CommitBefore::Save);
  if (Redo(m_context.state)) reloadChildWindows();
  updateUndoRedo();
}

}  // namespace cps::gui
