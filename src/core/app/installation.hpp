// What a program of this version finds around its executable: its folders, its
// own file name (for the hand-over to another version), the texts of the
// language it speaks and the version table. The desktop program's run state
// and the command line's session are both made from it, so that both find and
// read the same files the same way.
#pragma once

#include <filesystem>
#include <functional>
#include <string>

#include "core/app/file_commands.hpp"
#include "core/app/settings_files.hpp"
#include "core/app/text_table.hpp"
#include "core/app/version_table.hpp"

namespace cps {

struct RunState;
struct Today;
class DocumentObserver;
class Prompter;

class Installation {
 public:
  Installation(ProgramFolders folders, std::string executableName);

  // The language file the texts come from (1 English, 2 Chinese).
  void useLanguageFile(int language);
  void loadVersionTable() { versions = LoadVersionTable(folders.versionTable()); }

  // The language text of a number; "" when the file, section or key is missing.
  std::string langText(int id) { return texts.LangText(id); }
  std::function<std::string(int)> langTextFunction() {
    return [this](int id) { return texts.LangText(id); };
  }

  // What the file commands need to act on `state` in this installation.
  FileContext fileContext(RunState& state, Prompter& prompter, DocumentObserver& observer,
                          const Today& today);

  ProgramFolders folders;
  std::string executableName;
  TextTable texts;
  VersionTable versions;
};

}  // namespace cps
