#include "cli/exchange_commands.hpp"

#include <CLI/CLI.hpp>

#include "cli/session.hpp"
#include "core/document/file_io.hpp"
#include "core/exchange/channel_import.hpp"

namespace cps::cli {

namespace {

std::string joined(const std::vector<std::string>& names) {
  std::string out;
  for (const auto& name : names) out += (out.empty() ? "" : ", ") + name;
  return out;
}

}  // namespace

int RunImport(const ImportCommandOptions& options, const Environment& env) {
  Session session(env);
  const auto say = [&session](const ExchangeMessage& m) {
    return RenderMessage(m, [&session](int id) { return session.text(id); });
  };
  const auto refuse = [&](const std::string& what) {
    env.io.err << "cps530-cli: " << what << '\n';
    return kExitRefused;
  };

  const FileBytes file = ReadWholeFile(options.csv, kMaxChannelListBytes);
  if (!file.ok()) return refuse(say({text::kCsvFileUnreadable, {options.csv + ": " + file.error}}));
  if (!(options.dryRun ? session.open(options.file) : session.openForChange(options.file)))
    return kExitRefused;

  const std::string_view csv(reinterpret_cast<const char*>(file.bytes.data()), file.bytes.size());
  const ImportPlan plan =
      PlanChannelImport(session.state(), csv, {options.replace, options.renumber});
  if (plan.refusal) return refuse(say(*plan.refusal));

  if (!plan.unknownColumns.empty()) {
    env.io.err << say({text::kImportUnknownColumns, {joined(plan.unknownColumns)}}) << '\n';
  }
  if (!plan.unheldColumns.empty()) {
    env.io.err << say({text::kImportUnheldColumns, {joined(plan.unheldColumns)}}) << '\n';
  }
  for (const auto& row : plan.rows) {
    if (row.skip) {
      env.io.err << say({text::kImportLine, {std::to_string(row.line), say(*row.skip)}}) << '\n';
    }
  }
  const std::vector<std::string> counts{std::to_string(plan.importedCount()),
                                        std::to_string(plan.skippedCount())};
  if (!plan.usable()) return refuse(say({text::kImportNothing, {}}));
  if (options.strict && plan.skippedCount() > 0) {
    return refuse(say({text::kImportStrictRefused, {}}));
  }
  if (options.dryRun) {
    env.io.out << say({text::kImportDryRun, counts}) << '\n';
  } else {
    const ImportResult result = ApplyChannelImport(session.state(), session.effects(), plan);
    if (!result.applied) return refuse(say(*result.refusal));
    if (!session.save()) return kExitRefused;
    env.io.out << say({text::kImportDone, counts}) << '\n';
  }
  return plan.skippedCount() > 0 ? kExitRowsSkipped : kExitOk;
}

int RunExport(const std::string& file, const std::string& csv, const Environment& env, bool force) {
  if (!csv.empty() && !OutputAllowed(env, csv, OutputKind::ChannelList, {file}, force)) {
    return kExitRefused;
  }
  Session session(env);
  if (!session.open(file)) return kExitRefused;
  const auto say = [&session](const ExchangeMessage& m) {
    return RenderMessage(m, [&session](int id) { return session.text(id); });
  };
  const CsvExport list = ExportChannelsCsv(session.state().workingDocument);
  for (const int channel : list.unwritten) {
    env.io.err << say({text::kExportNoFrequency, {std::to_string(channel)}}) << '\n';
  }
  if (csv.empty()) {
    env.io.out << list.text << std::flush;
    return kExitOk;
  }
  const auto* bytes = reinterpret_cast<const std::uint8_t*>(list.text.data());
  if (const std::string error = WriteFileAtomically(csv, {bytes, list.text.size()});
      !error.empty()) {
    env.io.err << "cps530-cli: " << say({text::kCsvFileUnwritable, {error}}) << '\n';
    return kExitRefused;
  }
  env.io.out << say({text::kExportDone, {std::to_string(list.written), csv}}) << '\n';
  return kExitOk;
}

ExchangeCommands::ExchangeCommands(CLI::App& app) {
  m_import = app.add_subcommand(
      "import",
      "Import a channel list in the generic CSV format of radio programmers and save the file.\n"
      "Rows are placed by their Location; a row the radio cannot hold exactly is skipped and "
      "reported as \"line N: why\".\nExit status: 0 every row imported, 3 some rows skipped, "
      "1 nothing written.");
  m_import->add_option("FILE", m_importOptions.file, "Data file")->required();
  m_import->add_option("CSV", m_importOptions.csv, "Channel list (CSV, UTF-8)")->required();
  m_import->add_flag("--replace", m_importOptions.replace, "Clear the channel list first");
  m_import->add_flag("--renumber", m_importOptions.renumber,
                     "Place the rows in file order on channels 1, 2, 3 ... (with --replace) or "
                     "on the free channel numbers from 1 upward");
  m_import->add_flag("--strict", m_importOptions.strict,
                     "Import nothing when any row would be skipped");
  m_import->add_flag("--dry-run", m_importOptions.dryRun,
                     "Report what would happen; write nothing");

  m_export = app.add_subcommand(
      "export", "Write every channel in number order as a CSV channel list with the full header");
  m_export->add_option("FILE", m_exportFile, "Data file")->required();
  m_export->add_option("CSV", m_exportCsv, "Channel list to write (standard output without it)");
  m_export->add_flag("--force", m_exportForce,
                     "Replace the CSV even when it holds a data file of this program, the input "
                     "itself, or something else than a channel list");
}

std::optional<int> ExchangeCommands::run(const Environment& env) const {
  if (*m_import) return RunImport(m_importOptions, env);
  if (*m_export) return RunExport(m_exportFile, m_exportCsv, env, m_exportForce);
  return std::nullopt;
}

}  // namespace cps::cli
