// The verbs of cps530-cli on documents. Each returns the exit status: 0 done,
// 1 a file, value or radio refused, 2 the command line itself is wrong (an
// unknown verb, option, setting or field name, a name without its value); one
// line on stderr says what and why.
#pragma once

#include <ostream>
#include <string>
#include <vector>

#include "core/app/output_files.hpp"
#include "core/app/settings_files.hpp"
#include "core/app/text_table.hpp"

namespace cps::cli {

inline constexpr int kExitOk = 0;
inline constexpr int kExitRefused = 1;
inline constexpr int kExitUsage = 2;

struct Streams {
  std::ostream& out;
  std::ostream& err;
};

// Where a verb finds the program's files and in which language it speaks.
struct Environment {
  Streams io;
  ProgramFolders folders;
  int language = kEnglish;
};

struct NewOptions {
  std::string output;
  std::string model = "TW530G";
  std::string band = "400 - 480 MHz";
  std::string initDir;      // empty: the Init folder beside the program
  bool initialise = false;  // keep every channel of the band's initial file
  bool force = false;       // replace an output that is not a data file
};

struct EditOptions {
  std::string file;
  bool offsetMode = false;
  int channel = 0;
  std::vector<std::string> pairs;  // field, value, field, value, ...
};

// A message of the command line's own in the run's language.
std::string CliText(const Environment& env, int id);
// Says that `verb` is none of `verbs`, and gives the usage status.
int UnknownVerb(const std::string& verb, const std::string& verbs, const Environment& env);

// Whether a verb may write its new output file there; when not, stderr says
// why (the input itself, a data file, something of another kind; see
// OutputFileProblem) and the verb ends with status 1.
bool OutputAllowed(const Environment& env, const std::string& output, OutputKind kind,
                   const std::vector<std::string>& inputs, bool force);

int RunNew(const NewOptions& options, const Environment& env);
int RunShow(const std::string& file, bool offsetMode, const Environment& env);
int RunDump(const std::string& file, const Environment& env);
int RunEdit(const EditOptions& options, const Environment& env);

// The channel fields `edit` takes, by name, each after a blank.
std::string EditFieldList();

}  // namespace cps::cli
