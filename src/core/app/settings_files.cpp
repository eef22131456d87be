#include "core/app/settings_files.hpp"

#include <algorithm>
#include <charconv>

#include "core/app/ini_file.hpp"
#include "core/document/bytes.hpp"
#include "core/document/codec.hpp"
#include "core/document/file_io.hpp"
#include "core/run_state.hpp"

namespace cps {

namespace {

constexpr std::string_view kSection = "language";
constexpr std::string_view kLinkSection = "link";
constexpr std::string_view kVerifyAfterWriteKey = "VerifyAfterWrite";
constexpr std::size_t kHabitBytes = 10;
// Port numbers as the system numbers serial ports; the port dialog may keep any of them.
constexpr int kMaxComPort = 255;

// A boolean as the settings file writes it: "0" or "False" is false, other numbers and "True" true.
bool toBool(const std::string& text, bool fallback) {
  if (const auto n = ParseInteger(text)) return *n != 0;
  std::string lower;
  for (char c : text) lower += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  if (lower == "true") return true;
  if (lower == "false") return false;
  return fallback;
}

}  // namespace

LanguageSetup ReadLanguageSetup(const std::filesystem::path& mysetup) {
  return LanguageSetupOf(LoadIniFile(mysetup).text.value_or(IniText{}));
}

LanguageSetup LanguageSetupOf(const IniText& mysetup) {
  LanguageSetup setup;
  setup.isFirstRun = toBool(ProfileString(mysetup, kSection, "IsFirstRun", "1"), true);
  const auto port = ParseInteger(ProfileString(mysetup, kSection, "comPort", "1"));
  setup.comPort = port && *port >= 1 && *port <= kMaxComPort ? *port : 1;
  setup.currentLanguage =
      ParseInteger(ProfileString(mysetup, kSection, "CurrentLanguage", "0")).value_or(0);
  setup.verifyAfterWrite =
      toBool(ProfileString(mysetup, kLinkSection, kVerifyAfterWriteKey, "0"), false);
  return setup;
}

std::string WriteFirstRunDone(const std::filesystem::path& mysetup) {
  return WriteProfileString(mysetup, kSection, "IsFirstRun", "0");
}

std::string WritePortAndLanguage(const std::filesystem::path& mysetup, int comPort, int language) {
  if (auto error = WriteProfileString(mysetup, kSection, "comPort", std::to_string(comPort));
      !error.empty()) {
    return error;
  }
  return WriteCurrentLanguage(mysetup, language);
}

std::string WriteCurrentLanguage(const std::filesystem::path& mysetup, int language) {
  return WriteProfileString(mysetup, kSection, "CurrentLanguage", std::to_string(language));
}

std::string WriteVerifyAfterWrite(const std::filesystem::path& mysetup, bool verify) {
  return WriteProfileString(mysetup, kLinkSection, kVerifyAfterWriteKey, verify ? "1" : "0");
}

KnownCapabilities ReadKnownCapabilities(const std::filesystem::path& settingIni) {
  KnownCapabilities flags{};
  const auto bytes = ReadWholeFile(settingIni, flags.size());
  if (bytes.ok() && bytes.bytes.size() >= flags.size()) {
    std::copy_n(bytes.bytes.begin(), flags.size(), flags.begin());
  }
  return flags;
}

void WriteKnownCapabilities(const std::filesystem::path& settingIni,
                            const KnownCapabilities& flags) {
  WriteFileAtomically(settingIni, flags);
}

HabitRecord ReadHabits(const std::filesystem::path& habitFile) {
  const auto bytes = ReadWholeFile(habitFile, kHabitBytes);
  return bytes.ok() ? HabitsOfBytes(bytes.bytes) : HabitRecord{};
}

HabitRecord HabitsOfBytes(std::span<const std::uint8_t> bytes) {
  HabitRecord habits;
  if (bytes.size() < kHabitBytes) return habits;
  ByteReader r(bytes.first(kHabitBytes));
  habits.pasteNoPrompt = r.i16() != 0;
  habits.pasteInserts = r.i16() != 0;
  habits.deleteNoPrompt = r.i16() != 0;
  habits.deleteCloses = r.i16() != 0;
  habits.offsetMode = r.i16() != 0;
  return habits;
}

std::vector<std::uint8_t> HabitFileBytes(const HabitRecord& habits) {
  std::vector<std::uint8_t> bytes(kHabitBytes);
  ByteWriter w(bytes);
  for (bool habit : {habits.pasteNoPrompt, habits.pasteInserts, habits.deleteNoPrompt,
                     habits.deleteCloses, habits.offsetMode}) {
    w.i16(habit ? -1 : 0);
  }
  return bytes;
}

void WriteHabits(const std::filesystem::path& habitFile, const HabitRecord& habits) {
  WriteFileAtomically(habitFile, HabitFileBytes(habits));
}

}  // namespace cps
