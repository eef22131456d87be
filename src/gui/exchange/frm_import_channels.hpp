// The preview of a channel list import: every row of the file with the
// channel it goes to or why it is skipped, and the choice between merging,
// replacing and renumbering. Nothing changes until the user clicks Import;
// the caller then applies the plan the dialog shows.
#pragma once

#include <QDialog>
#include <string>

#include "core/exchange/channel_import.hpp"

class QCheckBox;
class QLabel;
class QPushButton;
class QRadioButton;
class QTableWidget;

namespace cps::gui {

class AppContext;

class FrmImportChannels final : public QDialog {
 public:
  // `csv` is the file's text, `fileName` what the dialog calls it.
  FrmImportChannels(AppContext& context, std::string csv, const QString& fileName,
                    QWidget* parent = nullptr);

  // What Import puts into the document, for the options now chosen.
  const ImportPlan& plan() const { return m_plan; }

 private:
  void replan();
  QString say(const ExchangeMessage& message) const;

  AppContext& m_context;
  std::string m_csv;
  ImportPlan m_plan;
  QRadioButton* m_merge = nullptr;
  QRadioButton* m_replace = nullptr;
  QCheckBox* m_renumber = nullptr;
  QLabel* m_notes = nullptr;
  QTableWidget* m_rows = nullptr;
  QLabel* m_summary = nullptr;
  QPushButton* m_import = nullptr;
};

}  // namespace cps::gui
