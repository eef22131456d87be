// The verbs get and set: every radio-wide setting of a data file by its field
// name, in the words the English windows show.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "cli/commands.hpp"

namespace cps::cli {

struct SetOptions {
  std::string file;
  std::vector<std::string> pairs;  // name, value, name, value, ...
};

// Prints "NAME VALUE" for each named setting, or for all of them in the
// windows' order when none is named.
int RunGet(const std::string& file, const std::vector<std::string>& names, const Environment& env);
// Applies every pair to the document in memory, in order, and saves the file
// only when all were accepted.
int RunSet(const SetOptions& options, const Environment& env);

// Every setting's name with the values it takes, one name a line, for --help.
std::string SettingNamesHelp(const ProgramFolders& folders);

// A value as get prints it: bare when it is a plain word, otherwise quoted so
// that a POSIX shell reads it back as the same bytes ('' when empty; $'...'
// with \xHH for control characters and bytes that are not UTF-8).
std::string ShellWord(std::string_view value);

}  // namespace cps::cli
