// The small files the program keeps between runs: the language setup, the link
// capabilities and the habits (file_locations says where each one is).
#pragma once

#include <array>
#include <cstdint>
#include <filesystem>
#include <span>
#include <string>
#include <vector>

#include "core/app/file_locations.hpp"

namespace cps {

struct HabitRecord;
class IniText;

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
