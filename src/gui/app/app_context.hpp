// The state of one run of the desktop program: the document and link state of
// the core, the texts, the version table, the settings that start-up reads, and
// the prompter every window asks through. One object, owned by main() and passed
// by reference to every window.
#pragma once

#include <QString>
#include <filesystem>
#include <functional>
#include <string>

#include "core/app/installation.hpp"
#include "core/app/settings_files.hpp"
#include "core/app/text_table.hpp"
#include "core/app/version_table.hpp"
#include "core/document/prompter.hpp"
#include "core/run_state.hpp"
#include "gui/app/qt_translation.hpp"

namespace cps::gui {

class AppContext : public Installation {
 public:
  AppContext(ProgramFolders folders, std::string executableName);

  AppContext(const AppContext&) = delete;
  AppContext& operator=(const AppContext&) = delete;

  QString text(int id) { return QString::fromStdString(texts.LangText(id)); }

  // Makes `language` current (1 English, 2 Chinese), points the text table at its
  // file and gives Qt's own dialogs and buttons the same language.
  void setLanguage(int language);
  // The application title: text 12000 as it read when start-up set it. The window
  // placement is kept under this name and every message box carries it, so both
  // stay the same for the whole run whatever language the user picks meanwhile.
  // Until start-up has set it (the first-run dialog), the current language's text.
  QString applicationTitle();
  void setApplicationTitle(QString title) { m_applicationTitle = std::move(title); }

  Prompter& prompter() { return *m_prompter; }
  void setPrompter(Prompter& prompter) { m_prompter = &prompter; }

  RunState state;
  LanguageState language;
  int comPort = 1;
  bool isFirstRun = true;
  // Windows NT 6.x lists every port 1 to 255 instead of the port map; never true elsewhere.
  bool isNt6 = false;
  // Help is not offered in this configuration: no help menu entry, no Help buttons.
  static constexpr bool kHelpSwitch = false;
  // The folder the file dialogs opened last, so that the next one starts there.
  QString lastFileFolder;
  // Where the radio images of reads and writes are kept; empty: none are kept.
  std::filesystem::path backupFolder;
  // Where a changed document is kept when the program ends without asking
  // (a second termination signal, the hand-over to another version); empty: nowhere.
  std::filesystem::path recoveryFolder;
  // Today's date for the defaults of a new document; tests set a fixed one.
  std::function<Today()> today;

 private:
  Prompter* m_prompter = nullptr;
  QString m_applicationTitle;
  QtTranslation m_qtTranslation;
};

}  // namespace cps::gui
