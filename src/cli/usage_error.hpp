// What cps530-cli says when the parser finds the command line itself wrong:
// the option or argument concerned, in the run's language, and where the help is.
#pragma once

#include <string>
#include <vector>

#include "cli/commands.hpp"

namespace CLI {
class ParseError;
}

namespace cps::cli {

// The words of the command line as the parser saw them, and what else the
// message names: the verb given (empty when none) and the list of verbs.
struct CommandLine {
  std::vector<std::string> args;  // without the program's name
  std::string verb;
  std::string verbs;  // ", "-joined, after a blank
};

// Two lines: what is wrong, then which help to read. Errors the parser words
// in ways not known here keep its own words inside a sentence of ours.
std::string UsageErrorText(const CLI::ParseError& error, const CommandLine& line,
                           const Environment& env);

}  // namespace cps::cli
