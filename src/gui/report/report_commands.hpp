// The File menu's comparison with another data file, and the report of the
// working document on the printer, in a preview and as a PDF file. The
// working document is only read: its changed flag and its undo history stay
// as they were.
#pragma once

#include <QObject>
#include <QPointer>
#include <QPrintPreviewDialog>
#include <QString>

#include "core/compare/compare.hpp"

namespace cps::gui {

class AppContext;
class FrmMain;
class FrmCompare;

class ReportCommands final : public QObject {
 public:
  // Gives the main window its compare, print, print preview and PDF commands.
  ReportCommands(AppContext& context, FrmMain& main);

  void mnuFileCompare_Click();
  void mnuFilePrint_Click();
  void mnuFilePrintPreview_Click();
  void mnuFileExportPdf_Click();

  // The open preview, for a test to look at and close.
  QPrintPreviewDialog* preview() const { return m_preview; }

 private:
  AppContext& m_context;
  FrmMain& m_main;
  QPointer<QPrintPreviewDialog> m_preview;
};

// The report of the working document as the windows show it, in the
// program's language.
QString ReportHtmlOfWorkingDocument(AppContext& context);

// Opens the differences between the working document and `other` (named
// `otherName` in the window) in a window of its own, not modal.
FrmCompare* ShowDifferences(AppContext& context, FrmMain& main, const ComparedDocument& other,
                            const QString& otherName);

}  // namespace cps::gui
