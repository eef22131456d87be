// In-grid editing of the channel table: entering a cell lays its editor over
// it; Enter, a chosen list item or leaving the frequency box commits through
// ApplyChannelEdit; the cursor walks the field columns and the rows of the group.
#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QScopedValueRollback>
#include <QTableWidget>
#include <QTimer>
#include <QValidator>
#include <exception>
#include <string>
#include <utility>

#include "core/channels/channel_commands.hpp"
#include "core/channels/channel_table.hpp"
#include "core/document/channel_list.hpp"
#include "core/run_state.hpp"
#include "gui/app/app_context.hpp"
#include "gui/app/text_boxes.hpp"
#include "gui/channels/channel_window_host.hpp"
#include "gui/channels/frm_comm_ch_info.hpp"

namespace cps::gui {

namespace {

constexpr int kReceive = static_cast<int>(ChannelField::Receive);
constexpr int kTransmit = static_cast<int>(ChannelField::Transmit);

bool isEnter(const QKeyEvent& key) {
  return key.key() == Qt::Key_Return || key.key() == Qt::Key_Enter;
}

// Keys of the Channel and Edit menus that a text box would otherwise keep for
// itself: the commands, Select All Channels, Change Selected Channels, Paste Rows.
bool isChannelCommandKey(const QKeyEvent& key) {
  if (IsClipboardKey(key)) return true;
  const auto modifiers = key.modifiers() & ~Qt::KeypadModifier;
  if (modifiers == (Qt::ControlModifier | Qt::ShiftModifier)) {
    return key.key() == Qt::Key_E || key.key() == Qt::Key_V;
  }
  return modifiers == Qt::ControlModifier && (key.key() == Qt::Key_I || key.key() == Qt::Key_U ||
                                              key.key() == Qt::Key_D || key.key() == Qt::Key_A);
}

// Shift alone with a key that moves between rows: the selection grows.
bool isSelectionKey(const QKeyEvent& key) {
  const auto modifiers = key.modifiers() & ~Qt::KeypadModifier;
  if (modifiers != Qt::ShiftModifier) return false;
  return key.key() == Qt::Key_Up || key.key() == Qt::Key_Down || key.key() == Qt::Key_PageUp ||
         key.key() == Qt::Key_PageDown;
}

// Shows the item whose text the cell shows; an empty cell shows no item.
void showCellText(QComboBox& list, const QString& text) {
  const QSignalBlocker quiet(&list);
  const int index = text.isEmpty() ? -1 : list.findText(text, Qt::MatchExactly);
  list.setCurrentIndex(text.isEmpty() ? -1 : std::max(index, 0));
}

// Whatever way text reaches the frequency box, it holds only what its keys may type.
class FrequencyValidator final : public QValidator {
 public:
  FrequencyValidator(const RunState& state, QObject* parent) : QValidator(parent), m_state(state) {}
  State validate(QString& input, int&) const override {
    return FrequencyEditorAcceptsText(input.toStdString(), m_state.channelEditing.editCol,
                                      m_state.habits.offsetMode)
               ? Acceptable
               : Invalid;
  }

 private:
  const RunState& m_state;
};

}  // namespace

void frmCommChInfo::makeFrequencyEditor() {
  // Right clicks, drops and input methods would bring in text that no key
  // could type; the validator is the last guard whatever the way.
  GuardTextBox(*m_frequency);
  m_frequency->setValidator(new FrequencyValidator(m_context.state, m_frequency));
  m_frequency->setFrame(false);
  m_frequency->setAlignment(Qt::AlignCenter);
  m_frequency->installEventFilter(this);
}

QComboBox* frmCommChInfo::listEditor(int column) const {
  switch (column) {
    case 4:
    case 5:
      return m_tones;
    case 6:
      return m_power;
    case 7:
      return m_scanSkip;
    case 8:
      return m_signalling;
    case 9:
      return m_spacing;
    default:
      return nullptr;
  }
}

QWidget* frmCommChInfo::visibleEditor() const {
  for (QWidget* editor : std::initializer_list<QWidget*>{m_frequency, m_tones, m_power, m_scanSkip,
                                                         m_signalling, m_spacing}) {
    if (editor->isVisible()) return editor;
  }
  return nullptr;
}

void frmCommChInfo::SetEditDisable() {
  // The grid keeps the keyboard while no editor shows; that is no way into a cell.
  if (QWidget* editor = visibleEditor(); editor != nullptr && editor->hasFocus()) {
    const QScopedValueRollback entering(m_entering, true);
    m_grid->setFocus();
  }
  for (QWidget* editor : std::initializer_list<QWidget*>{m_frequency, m_tones, m_power, m_scanSkip,
                                                         m_signalling, m_spacing}) {
    editor->hide();
  }
}

// ---- Entering a cell --------------------------------------------------------------

void frmCommChInfo::onCursorChanged() {
  if (m_grid->currentRow() < 0 || m_grid->currentColumn() < 0) return;
  const SelectionMove move = std::exchange(m_nextMove, SelectionMove::Single);
  if (cursorRow() != m_selectionRow) {
    m_selectionRow = cursorRow();
    if (move == SelectionMove::Extend) {
      m_selection.extendTo(m_selectionRow);
    } else if (move == SelectionMove::Single) {
      m_selection.selectOnly(m_selectionRow);
    }
    showSelection();
  }
  if (!m_isRelabelling) {
    m_host.UpdateChannelEditCommands(selectedGroup() * kTableRows + cursorRow());
  }
  enterCell();
}

void frmCommChInfo::enterCell() {
  if (!m_gridReady) return;
  if (m_editing.skipEnterCellOnce) {
    m_editing.skipEnterCellOnce = false;
    return;
  }
  const QScopedValueRollback entering(m_entering, true);
  try {
    m_editing.captionRow = cursorRow();
    m_editing.currentGroup = selectedGroup();
    showCaption();
    m_grid->setFocus();
    const int column = cursorColumn();
    if (m_editing.skipConcludeOnce) {
      m_editing.skipConcludeOnce = false;
    } else if (column > kReceive && column < kDetailsColumn && !FlexConcludeRx()) {
      return;
    }
    SetEditDisable();
    EnterGridEdit();
  } catch (const std::exception&) {
    // Entering a cell never interrupts the user; the editor simply stays hidden.
  }
}

bool frmCommChInfo::FlexConcludeRx() {
  bool ok = true;
  const bool ran = guarded("frmCommChInfo_FlexConcludeRx", [this, &ok] {
    const int row = cursorRow();
    if (!cellText(row, kReceive).isEmpty()) return;
    m_editing.editCol = kReceive;
    m_editing.editRow = row;
    m_editing.skipConcludeOnce = true;
    ok = false;
    setCursor(row, kReceive);
  });
  return ran && ok;
}

void frmCommChInfo::EnterCurrentCell() {
  if (!m_active) {
    m_enterOnActivate = true;
    return;
  }
  m_editing.skipEnterCellOnce = false;
  enterCell();
}

void frmCommChInfo::markFresh() {
  m_freshEntry = true;
  if (!m_frequency->text().isEmpty()) m_frequency->selectAll();
}

void frmCommChInfo::EnterGridEdit() {
  guarded("frmCommChInfo_EnterGridEdit", [this] {
    const int column = cursorColumn();
    const int row = cursorRow();
    m_editing.editCol = column;
    m_editing.editRow = row;
    m_editTopRow = m_grid->rowAt(0) + 1;
    if (m_editing.isEditDialogOpen) m_host.reloadChannelEditDialog(true);
    const QRect cell = m_grid->visualRect(m_grid->model()->index(row - 1, column - 1));
    const QString text = cellText(row, column);
    if (column == kReceive || column == kTransmit) {
      m_frequency->setGeometry(cell);
      m_frequency->show();
      m_frequency->raise();
      m_frequency->setText(text);
      m_typedPending = false;
      m_frequency->setFocus();
      markFresh();
    } else if (QComboBox* list = listEditor(column)) {
      list->setGeometry(cell.left(), cell.top(), cell.width(), list->sizeHint().height());
      list->show();
      list->raise();
      m_editorArmed = false;
      showCellText(*list, text);
      // Showing the cell's item counts as one selection, which only arms the
      // list: merely opening an editor stores nothing.
      onListSelected(column);
      list->setFocus();
    }
  });
}

void frmCommChInfo::SetShowEditData() {
  guarded("frmCommChInfo_SetShowEditData", [this] {
    const QString text = cellText(m_editing.editRow, m_editing.editCol);
    if (m_editing.editCol == kReceive || m_editing.editCol == kTransmit) {
      m_frequency->setText(text);
      m_typedPending = false;
      markFresh();
    } else if (QComboBox* list = listEditor(m_editing.editCol)) {
      showCellText(*list, text);
    }
  });
}

// ---- Committing -------------------------------------------------------------------------

void frmCommChInfo::SaveGridEdit() {
  const int column = m_editing.editCol;
  const int row = m_editing.editRow;
  std::string value;
  if (column == kReceive || column == kTransmit) {
    if (!m_frequency->isVisible()) return;
    const std::string typed = m_frequency->text().toStdString();
    const auto shown = CommittedCellText(column, typed);
    if (!shown) {
      // A transmit entry that is no number is neither shown nor stored: the
      // editor shows the cell again, and no later commit takes the entry.
      SetShowEditData();
      return;
    }
    setCell(row, column, QString::fromStdString(*shown));
    value = column == kReceive ? *shown : typed;
  } else if (QComboBox* list = listEditor(column)) {
    if (!list->isVisible()) return;
    setCell(row, column, list->currentText());
    value = std::to_string(list->currentIndex());
    if (m_selection.isBlock() && m_selection.contains(row)) {
      // The item chosen goes to every selected channel, each by the rules of a single edit.
      ApplyEditsToRows(m_context.state, {m_context.prompter(), m_observer}, m_editing.dialogGroup,
                       m_selection.rows(), {{column, value}});
      return;
    }
  } else {
    return;
  }
  m_typedPending = false;
  ApplyChannelEdit(m_context.state, {m_context.prompter(), m_observer}, m_editing.dialogGroup, row,
                   column, value);
}

void frmCommChInfo::commitTypedText() {
  if (!m_typedPending) return;
  m_typedPending = false;
  const int column = m_editing.editCol;
  if (column != kReceive && column != kTransmit) return;
  const std::string typed = m_frequency->text().toStdString();
  // However the editor is left, a transmit text that is no number is not taken.
  if (CommittedCellText(column, typed)) {
    ApplyChannelEdit(m_context.state, {m_context.prompter(), m_observer}, m_editing.dialogGroup,
                     m_editing.editRow, column, typed);
  }
  // The editor shows what the document holds now, so that committing the
  // cell again (Enter, Edit Channel) changes nothing and warns no second time.
  SetShowEditData();
}

void frmCommChInfo::commitEdits() { commitTypedText(); }

void frmCommChInfo::onListSelected(int column) {
  if (column != m_editing.editCol &&
      !(listEditor(column) == m_tones && listEditor(m_editing.editCol) == m_tones)) {
    return;
  }
  if (!m_editorArmed) {
    m_editorArmed = true;
    return;
  }
  SaveGridEdit();
}

// ---- Moving the cursor ----------------------------------------------------------------

void frmCommChInfo::GridNextLine() {
  guarded("frmCommChInfo_GridNextLine",
          [this] { setCursor(NextTableRow(cursorRow()), cursorColumn()); });
}

void frmCommChInfo::GridNextCol() {
  guarded("rmCommChInfo_GridNextCol", [this] {
    const CellStep next = NextEditCell(cursorRow(), cursorColumn());
    if (next.wrapped) {
      m_editing.skipEnterCellOnce = true;
      setCursor(cursorRow(), kReceive);
      GridNextLine();
    } else {
      setCursor(next.row, next.column);
    }
  });
}

void frmCommChInfo::moveRowInEditor(int step) {
  SaveGridEdit();
  setCursor(step > 0 ? NextTableRow(cursorRow()) : PreviousTableRow(cursorRow()), cursorColumn());
}

void frmCommChInfo::changeGroupBy(int step) {
  const int group = std::clamp(selectedGroup() + step, 0, 7);
  if (group == selectedGroup()) return;
  commitTypedText();
  m_group->setCurrentIndex(group);
  // The same cell of the other group, under the rule that a position starts
  // with its receive frequency.
  enterCell();
}

// ---- Keys and the mouse ---------------------------------------------------------------

bool frmCommChInfo::frequencyEditorKey(QKeyEvent& key) {
  if (key.key() == Qt::Key_Menu) {
    popUpMenuAtCursor();
    return true;
  }
  if (isSelectionKey(key)) {
    SaveGridEdit();
    return selectionKey(key);
  }
  if (isEnter(key)) {
    SaveGridEdit();
    if (cursorColumn() == kReceive && m_frequency->text().isEmpty()) {
      GridNextLine();
    } else {
      GridNextCol();
    }
    return true;
  }
  switch (key.key()) {
    case Qt::Key_Up:
      moveRowInEditor(-1);
      return true;
    case Qt::Key_Down:
      moveRowInEditor(1);
      return true;
    case Qt::Key_PageUp:
      changeGroupBy(-1);
      return true;
    case Qt::Key_PageDown:
      changeGroupBy(1);
      return true;
    default:
      break;
  }
  if (IsClipboardKey(key)) return true;
  if (IsCommandKey(key)) return false;
  const QString text = key.text();
  const bool erases = key.key() == Qt::Key_Backspace || key.key() == Qt::Key_Delete;
  if (!erases && (text.isEmpty() || text.at(0) < QLatin1Char(' '))) {
    // Moving the text cursor means editing the old value in place.
    const bool modifier = key.key() == Qt::Key_Shift || key.key() == Qt::Key_Control ||
                          key.key() == Qt::Key_Alt || key.key() == Qt::Key_AltGr ||
                          key.key() == Qt::Key_Meta;
    if (text.isEmpty() && !modifier) m_freshEntry = false;
    return false;
  }
  const char32_t character = text.toUcs4().value(0);
  if (!FrequencyEditorAccepts(character, cursorColumn(), m_context.state.habits.offsetMode)) {
    return true;
  }
  // The first key typed into an untouched cell replaces its value, however the
  // focus arrived (a window manager may hand it back without the selection).
  if (m_freshEntry) {
    m_freshEntry = false;
    m_frequency->selectAll();
  }
  return false;
}

bool frmCommChInfo::listEditorKey(QKeyEvent& key) {
  if (key.key() == Qt::Key_Menu) {
    popUpMenuAtCursor();
    return true;
  }
  if (isSelectionKey(key)) return selectionKey(key);
  if (isEnter(key)) {
    GridNextCol();
    return true;
  }
  if (key.key() == Qt::Key_PageUp || key.key() == Qt::Key_PageDown) {
    changeGroupBy(key.key() == Qt::Key_PageUp ? -1 : 1);
    return true;
  }
  return false;
}

bool frmCommChInfo::gridKey(QKeyEvent& key) {
  if (key.key() == Qt::Key_Menu) {
    popUpMenuAtCursor();
    return true;
  }
  if (isSelectionKey(key)) return selectionKey(key);
  if (isEnter(key)) {
    // The details column opens the channel dialog; every other cell its editor.
    if (cursorColumn() == kDetailsColumn) {
      m_host.showChannelEditDialog();
    } else {
      EnterGridEdit();
    }
    return true;
  }
  if (key.key() == Qt::Key_PageUp || key.key() == Qt::Key_PageDown) {
    changeGroupBy(key.key() == Qt::Key_PageUp ? -1 : 1);
    return true;
  }
  return false;
}

void frmCommChInfo::onGridClicked() {
  m_nextMove = SelectionMove::Single;
  if (!m_editTimer->isActive()) enterCell();
}

// ---- Several rows -------------------------------------------------------------------

void frmCommChInfo::showSelection() {
  const bool block = m_selection.isBlock();
  for (int row = 1; row <= kTableRows; ++row) {
    QTableWidgetItem* number = m_grid->verticalHeaderItem(row - 1);
    if (number == nullptr) continue;
    QFont font = m_grid->verticalHeader()->font();
    font.setBold(block && m_selection.contains(row));
    number->setFont(font);
  }
  m_grid->viewport()->update();
}

void frmCommChInfo::selectRows(const std::vector<int>& rows) {
  m_selection.assign(rows, cursorRow());
  m_selectionRow = cursorRow();
  showSelection();
  m_host.UpdateChannelEditCommands(selectedGroup() * kTableRows + cursorRow());
}

void frmCommChInfo::selectAllRows() {
  m_selection.selectAll();
  showSelection();
  m_host.UpdateChannelEditCommands(selectedGroup() * kTableRows + cursorRow());
}

void frmCommChInfo::extendSelectionTo(int row) {
  row = std::clamp(row, 1, kTableRows);
  if (row == cursorRow()) return;
  m_nextMove = SelectionMove::Extend;
  setCursor(row, cursorColumn());
  m_nextMove = SelectionMove::Single;
}

bool frmCommChInfo::selectionKey(QKeyEvent& key) {
  // Extending never wraps: Shift+Down on the last row stays there.
  switch (key.key()) {
    case Qt::Key_Up:
      extendSelectionTo(cursorRow() - 1);
      break;
    case Qt::Key_Down:
      extendSelectionTo(cursorRow() + 1);
      break;
    case Qt::Key_PageUp:
      extendSelectionTo(1);
      break;
    default:
      extendSelectionTo(kTableRows);
      break;
  }
  return true;
}

bool frmCommChInfo::rowMousePress(int row, Qt::KeyboardModifiers modifiers,
                                  Qt::MouseButton button) {
  if (row < 1 || row > kTableRows) return false;
  if (button == Qt::RightButton) {
    // The menu acts on the selection the click is in; outside it, on the row clicked.
    if (!m_selection.contains(row)) m_selection.selectOnly(row);
  } else if (button != Qt::LeftButton) {
    return false;
  } else if (modifiers & Qt::ShiftModifier) {
    m_selection.extendTo(row);
  } else if (modifiers & Qt::ControlModifier) {
    m_selection.toggle(row);
  } else {
    m_selection.selectOnly(row);
  }
  m_selectionRow = row;
  m_nextMove = SelectionMove::Keep;
  showSelection();
  return true;
}

void frmCommChInfo::onGridDoubleClicked() {
  m_editTimer->start();
  if (cursorColumn() == kDetailsColumn) m_host.showChannelEditDialog();
}

void frmCommChInfo::onContextMenu(const QPoint& position) {
  const int row = m_grid->rowAt(position.y());
  const int column = m_grid->columnAt(position.x());
  if (row < 0 || column < 0) return;
  m_grid->setFocus();
  setCursor(row + 1, column + 1);
  // The press chose the selection; the next move of the cursor is a plain one again.
  m_nextMove = SelectionMove::Single;
  m_host.popUpChannelMenu(m_grid->viewport()->mapToGlobal(position));
}

void frmCommChInfo::onRowNumberContextMenu(const QPoint& position) {
  QHeaderView* rows = m_grid->verticalHeader();
  const int row = rows->logicalIndexAt(position);
  if (row < 0) return;
  m_grid->setFocus();
  setCursor(row + 1, cursorColumn());
  m_nextMove = SelectionMove::Single;
  m_host.popUpChannelMenu(rows->viewport()->mapToGlobal(position));
}

void frmCommChInfo::popUpMenuAtCursor() {
  const QRect cell = m_grid->visualRect(m_grid->currentIndex());
  m_host.popUpChannelMenu(m_grid->viewport()->mapToGlobal(cell.bottomLeft()));
}

bool frmCommChInfo::eventFilter(QObject* watched, QEvent* event) {
  const auto type = event->type();
  if (watched == m_frequency) {
    if (type == QEvent::ShortcutOverride && isChannelCommandKey(*static_cast<QKeyEvent*>(event))) {
      // The Channel menu's keys act on the channel, as they do everywhere in the
      // table; the box itself never copies, cuts or pastes text.
      event->ignore();
      return true;
    }
    if (type == QEvent::FocusOut) {
      // Leaving for another control of the program commits; switching to
      // another application or opening a menu does not (a command, a save and
      // closing the window commit on their own).
      const auto reason = static_cast<QFocusEvent*>(event)->reason();
      if (reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason) {
        commitTypedText();
      }
    } else if (type == QEvent::FocusIn) {
      if (m_freshEntry) m_frequency->selectAll();
    } else if (type == QEvent::MouseButtonPress) {
      m_freshEntry = false;  // a click places the text cursor for editing in place
    } else if (type == QEvent::KeyPress) {
      try {
        return frequencyEditorKey(*static_cast<QKeyEvent*>(event));
      } catch (const std::exception&) {
        m_context.prompter().ask(FixedMessage("rmCommChInfo_Text1_KeyPress"));
        return true;
      }
    }
  } else if (QComboBox* list = qobject_cast<QComboBox*>(watched);
             list != nullptr && type == QEvent::KeyPress) {
    try {
      return listEditorKey(*static_cast<QKeyEvent*>(event));
    } catch (const std::exception&) {
      const int number = list == m_tones ? 1 : list->objectName().mid(5).toInt();
      m_context.prompter().ask(
          FixedMessage("frmCommChInfo_Combo" + std::to_string(number) + "_KeyPress"));
      return true;
    }
  } else if (type == QEvent::MouseButtonPress &&
             (watched == m_grid->viewport() || watched == m_grid->verticalHeader()->viewport())) {
    const auto* press = static_cast<QMouseEvent*>(event);
    const bool onNumbers = watched != m_grid->viewport();
    const int y = press->position().toPoint().y();
    const int row =
        (onNumbers ? m_grid->verticalHeader()->logicalIndexAt(y) : m_grid->rowAt(y)) + 1;
    if (rowMousePress(row, press->modifiers(), press->button()) && onNumbers &&
        press->button() == Qt::LeftButton) {
      // A row number moves the cursor to its row, keeping the column.
      m_grid->setFocus(Qt::MouseFocusReason);
      setCursor(row, cursorColumn());
      m_nextMove = SelectionMove::Single;
      m_host.UpdateChannelEditCommands(selectedGroup() * kTableRows + cursorRow());
      return true;
    }
  } else if (watched == m_grid && type == QEvent::KeyPress) {
    return gridKey(*static_cast<QKeyEvent*>(event));
  } else if (watched == m_grid && type == QEvent::FocusIn) {
    // The grid does not keep the keyboard for itself: reached by Tab, by
    // switching windows or after a dialog, the cursor cell takes its editor.
    // A click enters the clicked cell on its own.
    const auto reason = static_cast<QFocusEvent*>(event)->reason();
    if (!m_entering && m_gridReady && reason != Qt::MouseFocusReason &&
        reason != Qt::PopupFocusReason) {
      enterCell();
    }
  } else if (watched == m_corner && type == QEvent::Paint) {
    paintCorner();
    return true;
  }
  return QWidget::eventFilter(watched, event);
}

}  // namespace cps::gui
