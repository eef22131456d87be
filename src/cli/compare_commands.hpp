// cps530-cli diff and report: what differs between two data files, and the
// whole configuration of one as an HTML page or a PDF file.
#pragma once

#include <string>

#include "cli/commands.hpp"

namespace CLI {
class App;
}

namespace cps::cli {

struct DiffOptions {
  std::string a;
  std::string b;
  bool json = false;
};

// As diff does: 0 the same, 1 different (one line per difference on stdout),
// 2 a file that cannot be read or compared.
int RunDiff(const DiffOptions& options, const Environment& env);

struct ReportOptions {
  std::string file;
  std::string output;  // .html or .pdf
  std::string page;    // "a4", "letter"; empty: from the locale
  bool force = false;  // replace an output that holds something else
};

// 0 written, 1 refused (a file that cannot be read, an output that cannot be
// written), 2 an output name that is neither .html nor .pdf. A PDF needs Qt's
// PDF writer, which runs on the offscreen platform: no display is needed.
int RunReport(const ReportOptions& options, const Environment& env);

// The two verbs on the command line, their options filled into `options`.
CLI::App* AddDiffVerb(CLI::App& app, DiffOptions& options);
CLI::App* AddReportVerb(CLI::App& app, ReportOptions& options);

}  // namespace cps::cli
