// The small files the program keeps between runs: the language setup in the
// base folder, and beside the executables the link capabilities and the habits.
#pragma once

#include <array>
#include <cstdint>
#include <filesystem>
#include <span>
#include <string>
#include <vector>

namespace cps {

struct HabitRecord;
class IniText;

// Where the program's files are: the program folder holds the executables,
// the base folder (its parent) is shared by the versions installed side by side.
struct ProgramFolders {
  std::filesystem::path program;
  std::filesystem::path base;

  static ProgramFolders OfProgramFolder(const std::filesystem::path& programFolder);

  std::filesystem::path languageSetup() const { return base / "language" / "mysetup.ini"; }
  std::filesystem::path versionTable() const { return base / "Version.ini"; }
  std::filesystem::path linkSettings() const { return program / "Setting.ini"; }
  std::filesystem::path habits() const { return program / "Habit.ini"; }
  std::filesystem::path languageFolder() const { return program / "language"; }
  std::filesystem::path initFolder() const { return program / "Init"; }
};

struct LanguageSetup {
  bool isFirstRun = true;
  int comPort = 1;
  int currentLanguage = 0;  // 1 English, 2 Chinese; anything else keeps the system default
  // Every write to a radio is read back and compared (section "link"). The
  // installation's file switches it on; a file without the key, as kept by an
  // installation from before the check existed, leaves it off.
  bool verifyAfterWrite = false;
};

// Missing keys read as first run, port 1 and no language; a port that is no
// number from 1 to 255 reads as 1.
LanguageSetup ReadLanguageSetup(const std::filesystem::path& mysetup);
LanguageSetup LanguageSetupOf(const IniText& mysetup);
// Each returns an error text, empty on success.
std::string WriteFirstRunDone(const std::filesystem::path& mysetup);
std::string WritePortAndLanguage(const std::filesystem::path& mysetup, int comPort, int language);
std::string WriteCurrentLanguage(const std::filesystem::path& mysetup, int language);
std::string WriteVerifyAfterWrite(const std::filesystem::path& mysetup, bool verify);

using KnownCapabilities = std::array<std::uint8_t, 4>;
// Missing, unreadable or short files read as zeros.
KnownCapabilities ReadKnownCapabilities(const std::filesystem::path& settingIni);
void WriteKnownCapabilities(const std::filesystem::path& settingIni,
                            const KnownCapabilities& flags);

// Ten bytes: five 16-bit habits, -1 (FF FF) true and 0 false. A missing, short
// or unreadable file reads as all false; a file that cannot be written is ignored.
HabitRecord ReadHabits(const std::filesystem::path& habitFile);
void WriteHabits(const std::filesystem::path& habitFile, const HabitRecord& habits);
HabitRecord HabitsOfBytes(std::span<const std::uint8_t> bytes);
std::vector<std::uint8_t> HabitFileBytes(const HabitRecord& habits);

}  // namespace cps
