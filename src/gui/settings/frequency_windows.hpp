// The test frequency window and the FM preset window. This configuration's
// main window offers neither (no menu entry, no tree node), but both are
// registered and ready for a configuration that does; the command line
// reaches their fields by name.
#pragma once

#include <QWidget>

#include "gui/app/commits_edits.hpp"
#include "gui/app/reloads_from_document.hpp"

class QLabel;
class QPushButton;
class QTableWidget;

namespace cps {
class DocumentObserver;
}

namespace cps::gui {

class AppContext;
class FrequencyGrid;

// Eleven test frequency pairs to edit, and the five-point test frequencies to see.
class FrmTestFre final : public QWidget, public ReloadsFromDocument, public CommitsEdits {
 public:
  FrmTestFre(AppContext& context, DocumentObserver& observer, QWidget* parent = nullptr);
  void reloadFromDocument() override;
  void commitEdits() override;

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  void showFivePoints();

  AppContext& m_context;
  QTableWidget* m_pairs;       // MSFlexGrid1
  QTableWidget* m_fivePoints;  // MSFlexGrid2
  FrequencyGrid* m_editor;
};

// The twenty FM broadcast presets.
class FrmRadio final : public QWidget, public ReloadsFromDocument, public CommitsEdits {
 public:
  FrmRadio(AppContext& context, DocumentObserver& observer, QWidget* parent = nullptr);
  void reloadFromDocument() override;
  void commitEdits() override;

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  QTableWidget* m_presets;  // MSFlexGrid1
  FrequencyGrid* m_editor;
};

}  // namespace cps::gui
