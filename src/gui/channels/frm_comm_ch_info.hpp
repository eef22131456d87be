// The channel table: the 128 channels as eight groups of sixteen positions,
// one group at a time, each cell edited in place by a floating editor laid
// over it (a frequency box or a pick-only list). Every commit goes through
// ApplyChannelEdit; the table only shows what the document holds.
#pragma once

#include <QWidget>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "core/channels/row_selection.hpp"
#include "gui/app/commits_edits.hpp"
#include "gui/app/reloads_from_document.hpp"

class QAbstractButton;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTableWidget;
class QTimer;

namespace cps {
class DocumentObserver;
struct ChannelRecord;
struct ChannelEditingState;
}  // namespace cps

namespace cps::gui {

class AppContext;
class ChannelWindowHost;

class frmCommChInfo final : public QWidget, public ReloadsFromDocument, public CommitsEdits {
 public:
  frmCommChInfo(AppContext& context, DocumentObserver& observer, ChannelWindowHost& host,
                QWidget* parent = nullptr);
  ~frmCommChInfo() override;

  // ---- Drawing ----
  // Redraws channel n when it lies on the page shown.
  void reShowGrid(int channelNumber);
  // Redraws every position of the page, clearing rows whose channel has gone.
  void reShowAllGrid();
  // The transmit column as transmit frequencies or, in offset mode, offsets.
  void ReShowAllTxFre(bool rOffSet);
  void ReShowChInfoByLanguage();
  // Shows the group the channel edit dialog chose.
  void ChangeGroup();
  void SetGridDataByValue(int, int, int) {}
  // The channel edit dialog chose another group or position: the table shows
  // it, its cursor on that row, without taking the focus from the dialog.
  void followDialog();

  // ---- In-grid editing ----
  void SetEditDisable();
  void EnterGridEdit();
  // False, with the cursor sent to column 1, when the cursor's row has no
  // receive frequency: a position is created by its receive frequency first.
  bool FlexConcludeRx();
  void GridNextLine();
  void GridNextCol();
  void SaveGridEdit();
  void SetShowEditData();
  // The cursor cell takes its editor and the keyboard again, after a channel
  // command or a dialog that hid the editors; an inactive table does so when
  // it is next activated.
  void EnterCurrentCell();

  // True while a channel command moves the cursor: scrolling is not followed.
  bool CodeMoveTopRow = false;

  // The cursor in the table's numbering: rows 1 to 16, columns 1 to 10.
  int cursorRow() const;
  int cursorColumn() const;
  void setCursor(int row, int column);
  int selectedGroup() const;
  // The text of a cell; row 0 is the header row, column 0 the row numbers.
  QString cellText(int row, int column) const;

  // ---- Several rows ----
  // Shift with the arrows, Page Up/Down or a click extends the selection from
  // where it started, Ctrl and a click adds or removes a row, and a plain move
  // or click selects the cursor's row alone. The cursor cell keeps its editor.
  // The rows selected on the page, ascending; the cursor's row among them
  // unless a Ctrl click took it out.
  std::vector<int> selectedRows() const { return m_selection.rows(); }
  // Selects exactly these rows; none selects the cursor's row alone.
  void selectRows(const std::vector<int>& rows);
  void selectAllRows();

  // A typed entry not yet committed is committed, as leaving the editor would.
  void commitEdits() override;
  void reloadFromDocument() override;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  void showEvent(QShowEvent* event) override;

 private:
  void InitShowGrid();
  void ChangShowByLanguage();
  void SetGridData();
  void showGroup();
  void showCaption();
  void fillRow(int row, const ChannelRecord& channel);
  void clearRow(int row);
  void setCell(int row, int column, const QString& text);
  void fillLists();
  std::string itemText(int id) const;
  QComboBox* listEditor(int column) const;
  QWidget* visibleEditor() const;

  void onCursorChanged();
  void showSelection();
  // Moves the cursor to `row` of the page, extending the selection to it.
  void extendSelectionTo(int row);
  bool selectionKey(QKeyEvent& key);
  bool rowMousePress(int row, Qt::KeyboardModifiers modifiers, Qt::MouseButton button);
  void enterCell();
  void onGridClicked();
  void onGridDoubleClicked();
  void onContextMenu(const QPoint& position);
  void onRowNumberContextMenu(const QPoint& position);
  void paintCorner();
  // The frequency editor shows a value the user has not touched yet: it is
  // selected as a whole, and the first key typed replaces it.
  void markFresh();
  void popUpMenuAtCursor();
  void makeFrequencyEditor();
  void onScrolled();
  void onListSelected(int column);
  void commitTypedText();
  void changeGroupBy(int step);
  void moveRowInEditor(int step);
  bool frequencyEditorKey(QKeyEvent& key);
  bool listEditorKey(QKeyEvent& key);
  bool gridKey(QKeyEvent& key);
  void activated(bool active);
  // Runs `step`; when it fails, the fixed diagnostic is shown and the step ends there.
  bool guarded(const char* diagnostic, const std::function<void()>& step);

  AppContext& m_context;
  DocumentObserver& m_observer;
  ChannelWindowHost& m_host;
  ChannelEditingState& m_editing;

  QLabel* m_groupLabel;                 // Label1
  QComboBox* m_group;                   // Combo7
  QTableWidget* m_grid;                 // MSFlexGrid1
  QLineEdit* m_frequency;               // Text1
  QComboBox* m_tones;                   // Combo1, columns 4 and 5
  QComboBox* m_power;                   // Combo2
  QComboBox* m_scanSkip;                // Combo3
  QComboBox* m_signalling;              // Combo4
  QComboBox* m_spacing;                 // Combo5
  QAbstractButton* m_corner = nullptr;  // the header of the row number column
  QPushButton* m_edit;                  // CommandCHInfoEdit
  QPushButton* m_close;
  QPushButton* m_help;
  QTimer* m_scrollTimer;  // ScrollTimer
  QTimer* m_editTimer;    // TimerCHEdit

  bool m_gridReady = false;
  bool m_enterOnActivate = false;
  bool m_isRelabelling = false;
  bool m_editorArmed = false;
  // The frequency editor holds typing that no commit has taken yet.
  bool m_typedPending = false;
  bool m_freshEntry = false;
  // A cell is being entered: the grid taking the focus on the way is no new entry.
  bool m_entering = false;
  bool m_active = false;  // the table is the main window's active window
  bool m_closed = false;
  bool m_followsFrame = false;
  int m_editTopRow = 1;
  RowSelection m_selection;
  int m_selectionRow = 1;  // the cursor's row the selection last followed
  // How the next move of the cursor to another row changes the selection.
  enum class SelectionMove { Single, Extend, Keep };
  SelectionMove m_nextMove = SelectionMove::Single;
  std::map<int, std::string> m_itemTexts;  // the list items' texts as the window opened
};

}  // namespace cps::gui
