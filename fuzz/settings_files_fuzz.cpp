// Any bytes as the habit file (Habit.ini) and the link's capability file
// (Setting.ini): reading never fails, and what the program writes back reads
// as the same habits and flags.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstdint>
#include <vector>

#include "core/app/settings_files.hpp"
#include "core/run_state.hpp"
#include "fuzz_support.hpp"

namespace {

void check(bool holds, const char* what) {
  if (!holds) cps::fuzz::Fail("settings files", what);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::span<const std::uint8_t> bytes(data, size);
  const auto folder = cps::fuzz::ScratchFolder();

  const auto habits = cps::HabitsOfBytes(bytes);
  const auto habitBytes = cps::HabitFileBytes(habits);
  check(cps::HabitsOfBytes(habitBytes) == habits, "the habits written read back otherwise");
  const auto habitFile = folder / "Habit.ini";
  cps::fuzz::WriteBytes(habitFile, bytes);
  check(cps::ReadHabits(habitFile) == habits, "the habit file reads otherwise from disk");
  cps::WriteHabits(habitFile, habits);
  check(cps::fuzz::ReadBytes(habitFile) == habitBytes, "the habit file was written otherwise");
  check(cps::ReadHabits(habitFile) == habits, "the habit file written reads back otherwise");

  const auto settingFile = folder / "Setting.ini";
  cps::fuzz::WriteBytes(settingFile, bytes);
  const auto flags = cps::ReadKnownCapabilities(settingFile);
  if (size >= flags.size()) {
    check(std::equal(flags.begin(), flags.end(), bytes.begin()),
          "the capability flags are not the file's first four bytes");
  } else {
    check(flags == cps::KnownCapabilities{}, "a short capability file did not read as zeros");
  }
  cps::WriteKnownCapabilities(settingFile, flags);
  check(cps::ReadKnownCapabilities(settingFile) == flags,
        "the capability flags written read back otherwise");
  return 0;
}
