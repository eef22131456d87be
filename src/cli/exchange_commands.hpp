// The verbs import and export of cps530-cli: channel lists in the generic CSV
// format of radio programmers and repeater directories.
#pragma once

#include <optional>
#include <string>

#include "cli/commands.hpp"

namespace CLI {
class App;
}

namespace cps::cli {

// Imported, but some rows were skipped (each is reported).
inline constexpr int kExitRowsSkipped = 3;

struct ImportCommandOptions {
  std::string file;
  std::string csv;
  bool replace = false;
  bool renumber = false;
  bool strict = false;
  bool dryRun = false;
};

int RunImport(const ImportCommandOptions& options, const Environment& env);
// Without a CSV path the list goes to standard output.
// `force`: replace an output that holds a data file, the input or something else.
int RunExport(const std::string& file, const std::string& csv, const Environment& env,
              bool force = false);

// Adds the two verbs to the command line; after parsing, run() gives the exit
// status of the one chosen, or nothing when another verb was.
class ExchangeCommands {
 public:
  explicit ExchangeCommands(CLI::App& app);
  std::optional<int> run(const Environment& env) const;

 private:
  CLI::App* m_import = nullptr;
  CLI::App* m_export = nullptr;
  ImportCommandOptions m_importOptions;
  std::string m_exportFile;
  std::string m_exportCsv;
  bool m_exportForce = false;
};

}  // namespace cps::cli
