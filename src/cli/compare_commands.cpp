#include "cli/compare_commands.hpp"

#include <CLI/CLI.hpp>
#include <QGuiApplication>
#include <QLocale>
#include <filesystem>
#include <nlohmann/json.hpp>

#include "cli/session.hpp"
#include "core/app/file_commands.hpp"
#include "core/compare/compare.hpp"
#include "core/document/file_io.hpp"
#include "core/report/report.hpp"
#include "print/report_pages.hpp"

namespace cps::cli {

namespace {

constexpr int kExitDifferent = 1;
constexpr int kExitTrouble = 2;

TextTable languageTexts(const Environment& env, int language) {
  return TextTable(env.folders.languageFolder() / std::string(LanguageFileName(language)));
}

std::string lowerExtension(const std::string& path) {
  std::string ext = std::filesystem::path(path).extension().string();
  for (char& c : ext) c = static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
  return ext;
}

}  // namespace

CLI::App* AddDiffVerb(CLI::App& app, DiffOptions& options) {
  auto* cmd = app.add_subcommand(
      "diff",
      "Print what differs between two data files, one line per difference: FIELD (LABEL): A -> B.\n"
      "Channels are matched by number. Exit status 0 the same, 1 different, 2 a file that "
      "cannot be read.");
  cmd->add_option("A", options.a, "Data file")->required();
  cmd->add_option("B", options.b, "Data file")->required();
  cmd->add_flag("--json", options.json,
                "As a JSON list of objects (field, block, label, a, b, and channel for a channel), "
                "the values in the words get prints");
  return cmd;
}

CLI::App* AddReportVerb(CLI::App& app, ReportOptions& options) {
  auto* cmd = app.add_subcommand(
      "report", "Write the whole configuration of a data file as an HTML page or a PDF file");
  cmd->add_option("FILE", options.file, "Data file")->required();
  cmd->add_option("-o,--output", options.output, "OUT.html or OUT.pdf")->required();
  cmd->add_option("--page", options.page, "PDF page size: a4 or letter (default: from the locale)")
      ->check(CLI::IsMember({"a4", "letter"}));
  cmd->add_flag("--force", options.force,
                "Replace the output even when it holds a data file of this program, the input "
                "itself, or something else than a report");
  return cmd;
}

int RunDiff(const DiffOptions& options, const Environment& env) {
  const auto a = ReadComparedFile(options.a);
  if (!a.file) {
    env.io.err << "cps530-cli: " << a.failure.detail << '\n';
    return kExitTrouble;
  }
  const auto b = ReadComparedFile(options.b);
  if (!b.file) {
    env.io.err << "cps530-cli: " << b.failure.detail << '\n';
    return kExitTrouble;
  }
  if (options.json) {
    // In the words cps530-cli get prints and set takes: English list texts,
    // check boxes as 0 and 1, whatever language the messages are in.
    TextTable english = languageTexts(env, kEnglish);
    const auto differences = CompareDocuments(
        a.file->view(), b.file->view(), [&english](int id) { return english.LangText(id); },
        CompareOptions{.offsetMode = false, .checksAsWords = false, .asTheWindowsShow = false});
    nlohmann::json list = nlohmann::json::array();
    for (const auto& d : differences) {
      nlohmann::json item{{"field", d.field},
                          {"block", std::string(CompareBlockName(d.block))},
                          {"label", d.label},
                          {"a", d.a},
                          {"b", d.b}};
      if (d.channel != 0) item["channel"] = d.channel;
      list.push_back(std::move(item));
    }
    // A damaged file may hold bytes that are not UTF-8; they must not stop the output.
    env.io.out << list.dump(2, ' ', false, nlohmann::json::error_handler_t::replace) << '\n';
    return differences.empty() ? kExitOk : kExitDifferent;
  }
  TextTable texts = languageTexts(env, env.language);
  const auto differences = CompareDocuments(
      a.file->view(), b.file->view(), [&texts](int id) { return texts.LangText(id); },
      CompareOptions{});
  for (const auto& d : differences) env.io.out << DifferenceLine(d) << '\n';
  return differences.empty() ? kExitOk : kExitDifferent;
}

int RunReport(const ReportOptions& options, const Environment& env) {
  const std::string kind = lowerExtension(options.output);
  if (kind != ".html" && kind != ".htm" && kind != ".pdf") {
    env.io.err << "cps530-cli: " << options.output
               << ": the report is written as .html or .pdf; the name says which\n";
    return kExitUsage;
  }
  if (!OutputAllowed(env, options.output, OutputKind::Report, {options.file}, options.force)) {
    return kExitRefused;
  }
  const auto read = ReadComparedFile(options.file);
  if (!read.file) {
    env.io.err << "cps530-cli: " << read.failure.detail << '\n';
    return kExitRefused;
  }
  TextTable texts = languageTexts(env, env.language);
  const TextOf textOf = [&texts](int id) { return texts.LangText(id); };
  const std::string fileName = FileNameOfPath(options.file);
  const Report report =
      BuildReport(read.file->view(), {fileName, systemToday().shortDate, false}, textOf);
  const std::string html = ReportHtml(report, env.language == kChinese ? "zh-CN" : "en");

  if (kind != ".pdf") {
    const std::span<const std::uint8_t> bytes(reinterpret_cast<const std::uint8_t*>(html.data()),
                                              html.size());
    if (const auto error = WriteFileAtomically(options.output, bytes); !error.empty()) {
      env.io.err << "cps530-cli: " << error << '\n';
      return kExitRefused;
    }
    return kExitOk;
  }

  // Qt's PDF writer lays text out with fonts, which needs a QGuiApplication;
  // the offscreen platform gives one without a display.
  int argc = 3;
  char name[] = "cps530-cli";
  char platformOption[] = "-platform";
  char platform[] = "offscreen";
  char* argv[] = {name, platformOption, platform, nullptr};
  QGuiApplication app(argc, argv);
  const QPageSize pageSize = options.page == "letter" ? QPageSize(QPageSize::Letter)
                             : options.page == "a4"   ? QPageSize(QPageSize::A4)
                                                      : print::PageSizeOfLocale(QLocale::system());
  const QString error = print::WriteReportPdf(
      QString::fromStdString(options.output), QString::fromStdString(html),
      {QString::fromStdString(fileName), QString::fromStdString(textOf(text::kReportPage))},
      pageSize);
  if (!error.isEmpty()) {
    env.io.err << "cps530-cli: " << error.toStdString() << '\n';
    return kExitRefused;
  }
  return kExitOk;
}

}  // namespace cps::cli
