#include "core/app/installation.hpp"

#include "core/run_state.hpp"

namespace cps {

Installation::Installation(ProgramFolders programFolders, std::string executable)
    : folders(std::move(programFolders)), executableName(std::move(executable)) {}

void Installation::useLanguageFile(int language) {
  texts.setFile(folders.languageFolder() / std::string(LanguageFileName(language)));
}

FileContext Installation::fileContext(RunState& state, Prompter& prompter,
                                      DocumentObserver& observer, const Today& today) {
  return FileContext{state,    prompter,           observer,
                     versions, langTextFunction(), folders.initFolder(),
                     today,    folders.base,       executableName};
}

}  // namespace cps
