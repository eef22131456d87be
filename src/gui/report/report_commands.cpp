#include "gui/report/report_commands.hpp"

#include <QDate>
#include <QFileInfo>
#include <QLocale>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrinter>

#include "core/app/text_ids.hpp"
#include "core/report/report.hpp"
#include "gui/app/app_context.hpp"
#include "gui/app/frm_main.hpp"
#include "gui/channels/frm_comm_ch_info.hpp"
#include "gui/report/frm_compare.hpp"
#include "print/report_pages.hpp"

namespace cps::gui {

namespace {

print::PageHeader pageHeader(AppContext& context) {
  return {QString::fromStdString(FileNameOfPath(context.state.path)),
          context.text(text::kReportPage)};
}

// The window that edits a block's settings.
const char* windowOfBlock(CompareBlock block) {
  switch (block) {
    case CompareBlock::OptionalFeatures:
      return "FrmOptFeatures";
    case CompareBlock::Dtmf:
      return "FrmDTMF";
    case CompareBlock::Scan:
      return "FrmScan";
    case CompareBlock::Alert:
      return "FrmAlert";
    case CompareBlock::Keys:
      return "FrmKey";
    case CompareBlock::Message:
      return "FrmEmbMsg";
    case CompareBlock::TestFrequencies:
      return "FrmTestFre";
    case CompareBlock::FmPresets:
      return "FrmRadio";
    case CompareBlock::Model:
    case CompareBlock::Channels:
      break;
  }
  return nullptr;
}

}  // namespace

QString ReportHtmlOfWorkingDocument(AppContext& context) {
  const ComparedFile shown = ShownCopyOf(context.state);
  const Report report = BuildReport(
      shown.view(),
      {FileNameOfPath(context.state.path), QDate::currentDate().toString(Qt::ISODate).toStdString(),
       context.state.habits.offsetMode},
      context.langTextFunction());
  return QString::fromStdString(
      ReportHtml(report, context.language.current == kChinese ? "zh-CN" : "en"));
}

FrmCompare* ShowDifferences(AppContext& context, FrmMain& main, const ComparedDocument& other,
                            const QString& otherName) {
  const ComparedFile working = ShownCopyOf(context.state);
  auto differences =
      CompareDocuments(working.view(), other, context.langTextFunction(),
                       CompareOptions{.offsetMode = context.state.habits.offsetMode});
  FrmCompare::Navigation navigation{
      [&context, &main](int channel) {
        auto* table =
            dynamic_cast<frmCommChInfo*>(main.ShowChildWindow(QLatin1String(kChannelWindowName)));
        if (table == nullptr) return;
        // The table follows the dialog's group and row; it is pointed there
        // as the dialog would point it, once it is open.
        auto& editing = context.state.channelEditing;
        editing.dialogGroup = (channel - 1) / static_cast<int>(kChannelsPerGroup);
        editing.editRow = (channel - 1) % static_cast<int>(kChannelsPerGroup) + 1;
        table->followDialog();
      },
      [&main](CompareBlock block) {
        if (const char* window = windowOfBlock(block)) {
          main.ShowChildWindow(QLatin1String(window));
        } else if (block == CompareBlock::Model) {
          if (QAction* model = main.action(QStringLiteral("mnuModelInfo"))) model->trigger();
        }
      }};
  auto* window =
      new FrmCompare(context, std::move(differences), otherName, std::move(navigation), &main);
  window->setModal(false);
  window->show();
  return window;
}

ReportCommands::ReportCommands(AppContext& context, FrmMain& main)
    : m_context(context), m_main(main) {
  main.setCommand(QStringLiteral("mnuFileCompare"), [this] { mnuFileCompare_Click(); });
  main.setCommand(QStringLiteral("mnuFilePrint"), [this] { mnuFilePrint_Click(); });
  main.setCommand(QStringLiteral("mnuFilePrintPreview"), [this] { mnuFilePrintPreview_Click(); });
  main.setCommand(QStringLiteral("mnuFileExportPdf"), [this] { mnuFileExportPdf_Click(); });
}

void ReportCommands::mnuFileCompare_Click() {
  // What is typed in an open window belongs to the working document.
  m_main.commitChildWindows(CommitBefore::Save);
  const auto path = m_context.prompter().chooseFile({FileDialogRequest::Kind::Open, {}});
  if (!path) return;
  const auto read = ReadComparedFile(*path);
  if (!read.file) {
    auto message =
        TextMessage(read.failure.textId != 0 ? read.failure.textId : text::kCompareCannotRead,
                    Buttons::Ok, Icon::Warning);
    message.fixedText = read.failure.detail + "\n";
    m_context.prompter().ask(message);
    return;
  }
  ShowDifferences(m_context, m_main, read.file->view(),
                  QString::fromStdString(FileNameOfPath(*path)));
}

void ReportCommands::mnuFilePrint_Click() {
  m_main.commitChildWindows(CommitBefore::Save);
  QPrinter printer(QPrinter::HighResolution);
  printer.setPageSize(print::PageSizeOfLocale(QLocale()));
  printer.setDocName(QString::fromStdString(FileNameOfPath(m_context.state.path)));
  QPrintDialog dialog(&printer, &m_main);
  dialog.setObjectName(QStringLiteral("FrmPrint"));
  if (dialog.exec() != QDialog::Accepted) return;
  print::PaintReportPages(printer, ReportHtmlOfWorkingDocument(m_context), pageHeader(m_context));
}

void ReportCommands::mnuFilePrintPreview_Click() {
  m_main.commitChildWindows(CommitBefore::Save);
  if (m_preview) {
    m_preview->raise();
    m_preview->activateWindow();
    return;
  }
  auto* preview = new QPrintPreviewDialog(&m_main);
  preview->setObjectName(QStringLiteral("FrmPrintPreview"));
  preview->setAttribute(Qt::WA_DeleteOnClose);
  preview->printer()->setPageSize(print::PageSizeOfLocale(QLocale()));
  // The report is made again for each new layout, as the document then stands.
  connect(preview, &QPrintPreviewDialog::paintRequested, this, [this](QPrinter* printer) {
    print::PaintReportPages(*printer, ReportHtmlOfWorkingDocument(m_context),
                            pageHeader(m_context));
  });
  m_preview = preview;
  // Not modal: the user may go on working and look again.
  preview->show();
}

void ReportCommands::mnuFileExportPdf_Click() {
  m_main.commitChildWindows(CommitBefore::Save);
  const QFileInfo document(QString::fromStdString(FileNameOfPath(m_context.state.path)));
  FileDialogRequest request{FileDialogRequest::Kind::Save,
                            (document.completeBaseName() + QStringLiteral(".pdf")).toStdString(),
                            text::kPdfFilter, "*.pdf"};
  const auto path = m_context.prompter().chooseFile(request);
  if (!path) return;
  const QString error =
      print::WriteReportPdf(QString::fromStdString(*path), ReportHtmlOfWorkingDocument(m_context),
                            pageHeader(m_context), print::PageSizeOfLocale(QLocale()));
  if (error.isEmpty()) return;
  auto message = TextMessage(text::kReportWriteFailed, Buttons::Ok, Icon::Warning);
  message.fixedText = error.toStdString() + "\n";
  m_context.prompter().ask(message);
}

}  // namespace cps::gui
