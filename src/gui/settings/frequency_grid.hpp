// A table of frequencies edited in place: one hidden box laid over the cell
// being edited, the keys of a frequency (digits and the point), and each
// typed entry stored through SetSetting when the box is left for another
// cell, validated or closed. The test frequency and FM preset windows use it.
#pragma once

#include <QObject>
#include <functional>

class QKeyEvent;
class QLineEdit;
class QTableWidget;

namespace cps {
class DocumentObserver;
struct SettingField;
}  // namespace cps

namespace cps::gui {

class AppContext;

class FrequencyGrid final : public QObject {
 public:
  struct Rules {
    // The field a cell edits (rows from 1, columns as the table counts them,
    // column 0 holding the row numbers); nullptr for a cell that is not edited.
    std::function<const SettingField*(int row, int column)> fieldAt;
    // Where Enter takes the cursor from a cell, given the box's text.
    std::function<std::pair<int, int>(int row, int column, const QString& text)> nextCell;
    // What the box starts with for a cell's text.
    std::function<QString(const QString& cellText)> boxText;
    const char* keyFailure;  // the diagnostic of a key that could not be handled
    // What a committed cell shows, from the typed text; empty: the stored field.
    std::function<QString(const QString& typed)> shownAfterCommit = {};
  };

  FrequencyGrid(AppContext& context, DocumentObserver& observer, QTableWidget& grid, Rules rules);

  // Every edited cell shows its field as the document holds it.
  void showDocument();
  // Stores what is typed in the box, if anything, into the remembered cell.
  void commit();
  QLineEdit& box() const { return *m_box; }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void enterCell();
  void showCell(int row, int column);
  bool key(QKeyEvent& key);

  AppContext& m_context;
  DocumentObserver& m_observer;
  QTableWidget& m_grid;
  QLineEdit* m_box;  // Text1
  Rules m_rules;
  int m_row = 0;  // the cell being edited; 0 before the first
  int m_column = 0;
  bool m_typed = false;  // the box holds typing no commit has taken yet
};

}  // namespace cps::gui
