// Where each file of the program lives. A portable program folder that its user
// may write keeps everything beside the programs; an installed one (a folder the
// user may not write, or one installed for the whole system) is only read, and
// every file the program writes goes to the user's own folders instead.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace cps {

// A file in the base folder of an installation made for every user of the
// system (the package): even a user who could write there (root) keeps his
// settings in his own folders, so that nothing is ever written beside the programs.
inline constexpr std::string_view kSystemInstallationMarker = "per-user-settings";

// The folder names below the user's configuration and data folders.
inline constexpr std::string_view kUserFolderName = "cps530";

// The files the program writes.
struct WrittenFiles {
  std::filesystem::path languageSetup;  // mysetup.ini
  std::filesystem::path portMap;        // ports.ini
  std::filesystem::path linkSettings;   // Setting.ini
  std::filesystem::path habits;         // Habit.ini
  std::filesystem::path backups;        // the radio images of reads and writes; empty: none
  std::filesystem::path recovered;      // documents kept at an end without asking; empty: none
};

// Where the program's files are. The program folder holds the executables and
// the files shipped with them (texts, initial files, pictures); the base folder
// (its parent) the version table, and is shared by the versions installed side
// by side. The files the program writes are where `written` says: beside the
// programs, or in the user's folders.
struct ProgramFolders {
  std::filesystem::path program;
  std::filesystem::path base;
  // The files written are kept in the user's folders, not beside the programs.
  bool perUser = false;
  WrittenFiles written;

  // The portable layout: every file beside the programs; the backups and
  // recovered documents in `userData` (empty: none are kept).
  static ProgramFolders OfProgramFolder(const std::filesystem::path& programFolder,
                                        const std::filesystem::path& userData = {});

  // Shipped with the program, only read.
  std::filesystem::path versionTable() const { return base / "Version.ini"; }
  std::filesystem::path languageFolder() const { return program / "language"; }
  std::filesystem::path initFolder() const { return program / "Init"; }
  std::filesystem::path pictureFolder() const { return program / "PIC"; }
  // The language setup a new user starts from.
  std::filesystem::path shippedLanguageSetup() const { return base / "language" / "mysetup.ini"; }

  const std::filesystem::path& languageSetup() const { return written.languageSetup; }
  const std::filesystem::path& portMap() const { return written.portMap; }
  const std::filesystem::path& linkSettings() const { return written.linkSettings; }
  const std::filesystem::path& habits() const { return written.habits; }
};

// What the decision needs to know of the process's user, as the environment
// gives it; "" where a variable is unset.
struct UserEnvironment {
  std::string home;
  std::string xdgConfigHome;
  std::string xdgDataHome;

  // This process's: $HOME, else the home folder of the user's account.
  static UserEnvironment OfProcess();
};

// What is known of the place a program runs from.
struct InstallationFacts {
  std::filesystem::path programFolder;
  // The user may write both the program folder and the base folder.
  bool userMayWrite = true;
  // The base folder carries kSystemInstallationMarker.
  bool systemInstallation = false;
  UserEnvironment user;
};

// The one decision: portable (everything beside the programs, as a folder
// unpacked anywhere has it) or per user ($XDG_CONFIG_HOME/cps530 for the
// settings, $XDG_DATA_HOME/cps530 for the backups and recovered documents,
// ~/.config and ~/.local/share when those are unset or not absolute).
ProgramFolders DecideProgramFolders(const InstallationFacts& facts);

// The facts of a program folder on this system, for this process's user.
InstallationFacts ProbeInstallation(const std::filesystem::path& programFolder);

// Makes the user's folders for the files the program writes and gives a user
// who has none the shipped language setup to start from (so the first start
// of each user is a first run). Nothing to do for a portable folder. Returns an
// error text, empty on success.
std::string PrepareUserFolders(const ProgramFolders& folders);

}  // namespace cps
