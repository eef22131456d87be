#include "gui/app/command_line.hpp"

#include "cps/version.hpp"

namespace cps::gui {

DesktopCommandLine ParseDesktopCommandLine(const std::vector<std::string>& arguments) {
  DesktopCommandLine line;
  bool optionsEnded = false;
  for (const auto& argument : arguments) {
    const bool option = !optionsEnded && argument.size() > 1 && argument.front() == '-';
    if (option && argument == "--") {
      optionsEnded = true;
    } else if (option && (argument == "-h" || argument == "--help")) {
      return {DesktopCommandLine::Action::Help, {}, {}};
    } else if (option && (argument == "-v" || argument == "--version")) {
      return {DesktopCommandLine::Action::Version, {}, {}};
    } else if (option) {
      return {DesktopCommandLine::Action::Refuse, {}, "unknown option " + argument};
    } else if (!line.file.empty()) {
      return {DesktopCommandLine::Action::Refuse, {}, "one data file at a time: " + argument};
    } else {
      line.file = argument;
    }
  }
  return line;
}

DesktopCommandLine::Action HelpOrVersionAsked(const std::vector<std::string>& arguments) {
  for (const auto& argument : arguments) {
    if (argument == "--") break;
    if (argument == "-h" || argument == "--help") return DesktopCommandLine::Action::Help;
    if (argument == "-v" || argument == "--version") return DesktopCommandLine::Action::Version;
  }
  return DesktopCommandLine::Action::Run;
}

std::string DesktopHelpText() {
  return "Usage: cps530 [OPTION]... [FILE]\n"
         "Programming software for TW530 and TW530G handheld radios: read a radio's\n"
         "configuration over the programming cable, edit it, keep it in data files and\n"
         "write it back to a radio.\n"
         "\n"
         "FILE, a data file (.dat), is opened as File > Open opens it.\n"
         "\n"
         "Options:\n"
         "  -h, --help     show this help and exit\n"
         "  -v, --version  show the version and exit\n"
         "\n"
         "Qt's own options (-platform, -style, ...) are taken as well.\n";
}

std::string DesktopVersionText() { return "cps530 " + std::string(kReleaseVersion) + "\n"; }

}  // namespace cps::gui
