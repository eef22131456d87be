// File > Import Channels and File > Export Channels: channel lists in the
// generic CSV format. The file dialogs go through the prompter like Open and
// Save; the import shows its preview and changes the document only when the
// user confirms it, as one undo step.
#include <QFileInfo>
#include <QStatusBar>

#include "core/document/file_io.hpp"
#include "core/exchange/channel_import.hpp"
#include "gui/app/app_context.hpp"
#include "gui/app/frm_main.hpp"
#include "gui/exchange/frm_import_channels.hpp"

namespace cps::gui {

namespace {

constexpr int kStatusMessageMs = 8000;

std::string textOf(AppContext& context, const ExchangeMessage& message) {
  return RenderMessage(message, [&context](int id) { return context.texts.LangText(id); });
}

void warn(AppContext& context, const ExchangeMessage& message) {
  context.prompter().ask(FixedMessage(textOf(context, message), Buttons::Ok, Icon::Warning));
}

}  // namespace

void FrmMain::mnuFileImport_Click() {
  // What is typed and not yet committed is part of the list the rows land on.
  commitChildWindows(CommitBefore::Save);
  FileDialogRequest request;
  request.kind = FileDialogRequest::Kind::Open;
  request.filterTextId = text::kCsvFileFilter;
  request.pattern = "*.csv";
  const auto path = m_context.prompter().chooseFile(request);
  if (!path) return;

  const FileBytes file = ReadWholeFile(*path, kMaxChannelListBytes);
  if (!file.ok()) {
    warn(m_context, {text::kCsvFileUnreadable, {*path + ": " + file.error}});
    return;
  }
  std::string csv(file.bytes.begin(), file.bytes.end());
  const ImportPlan first = PlanChannelImport(m_context.state, csv, {});
  if (first.refusal) {
    warn(m_context, *first.refusal);
    return;
  }

  FrmImportChannels preview(m_context, std::move(csv),
                            QFileInfo(QString::fromStdString(*path)).fileName(), this);
  if (preview.exec() != QDialog::Accepted) return;
  const ImportResult result =
      ApplyChannelImport(m_context.state, {m_context.prompter(), *this}, preview.plan());
  if (!result.applied) {
    warn(m_context, *result.refusal);
    return;
  }
  reloadChildWindows();
  statusBar()->showMessage(
      QString::fromStdString(textOf(m_context, {text::kImportDone,
                                                {std::to_string(preview.plan().importedCount()),
                                                 std::to_string(preview.plan().skippedCount())}})),
      kStatusMessageMs);
}

void FrmMain::mnuFileExport_Click() {
  commitChildWindows(CommitBefore::Save);
  FileDialogRequest request;
  request.kind = FileDialogRequest::Kind::Save;
  request.filterTextId = text::kCsvFileFilter;
  request.pattern = "*.csv";
  request.initialPath = QFileInfo(QString::fromStdString(FileNameOfPath(m_context.state.path)))
                            .completeBaseName()
                            .toStdString() +
                        ".csv";
  const auto path = m_context.prompter().chooseFile(request);
  if (!path) return;

  const CsvExport list = ExportChannelsCsv(m_context.state.workingDocument);
  const auto* bytes = reinterpret_cast<const std::uint8_t*>(list.text.data());
  if (const std::string error = WriteFileAtomically(*path, {bytes, list.text.size()});
      !error.empty()) {
    warn(m_context, {text::kCsvFileUnwritable, {error}});
    return;
  }
  if (!list.unwritten.empty()) {
    std::string channels;
    for (const int n : list.unwritten) {
      channels += (channels.empty() ? "" : "\n") +
                  textOf(m_context, {text::kExportNoFrequency, {std::to_string(n)}});
    }
    m_context.prompter().ask(FixedMessage(channels, Buttons::Ok, Icon::Warning));
  }
  statusBar()->showMessage(
      QString::fromStdString(textOf(
          m_context, {text::kExportDone, {std::to_string(list.written), FileNameOfPath(*path)}})),
      kStatusMessageMs);
}

}  // namespace cps::gui
