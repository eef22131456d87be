// The desktop program's command line: a data file to open, and the two
// questions every program answers (--help, --version) without a display.
#pragma once

#include <string>
#include <vector>

namespace cps::gui {

struct DesktopCommandLine {
  enum class Action { Run, Help, Version, Refuse };
  Action action = Action::Run;
  std::string file;   // the data file to open once the main window is up; empty: none
  std::string error;  // why the command line was refused
};

// `arguments` without the program name. "--" ends the options, so that a file
// whose name begins with "-" can be opened.
DesktopCommandLine ParseDesktopCommandLine(const std::vector<std::string>& arguments);

// --help or --version anywhere before "--", whatever else the line holds (the
// toolkit's own options among it): answered before the toolkit needs a display.
// Run when neither is asked for.
DesktopCommandLine::Action HelpOrVersionAsked(const std::vector<std::string>& arguments);

// What --help and --version print.
std::string DesktopHelpText();
std::string DesktopVersionText();

}  // namespace cps::gui
