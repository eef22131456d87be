// The small files kept between runs: where they are, the language setup in the
// base folder, the link capability bytes and the edit habits beside the program.
#include "core/app/settings_files.hpp"

#include <gtest/gtest.h>

#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "app_test_support.hpp"
#include "core/run_state.hpp"

namespace cps {
namespace {

using testing::ReadBytes;
using testing::ReadText;
using testing::TempFolder;
using testing::WriteBytes;
using testing::WriteText;

// ---- Folders --------------------------------------------------------------------

TEST(ProgramFoldersTest, SettingsSplitBetweenBaseAndProgramFolder) {
  for (const char* programFolder : {"/a/b", "/a/b/"}) {
    const auto folders = ProgramFolders::OfProgramFolder(programFolder);
    SCOPED_TRACE(programFolder);
    EXPECT_EQ(folders.program, std::filesystem::path("/a/b"));
    EXPECT_EQ(folders.base, std::filesystem::path("/a"));
    EXPECT_EQ(folders.languageSetup(), std::filesystem::path("/a/language/mysetup.ini"));
    EXPECT_EQ(folders.versionTable(), std::filesystem::path("/a/Version.ini"));
    EXPECT_EQ(folders.linkSettings(), std::filesystem::path("/a/b/Setting.ini"));
    EXPECT_EQ(folders.habits(), std::filesystem::path("/a/b/Habit.ini"));
    EXPECT_EQ(folders.languageFolder(), std::filesystem::path("/a/b/language"));
    EXPECT_EQ(folders.initFolder(), std::filesystem::path("/a/b/Init"));
  }
}

// ---- mysetup.ini ------------------------------------------------------------------

struct SetupCase {
  const char* what;
  const char* content;
  bool isFirstRun;
  int comPort;
  int currentLanguage;
};

// Names the case in test listings.
void PrintTo(const SetupCase& c, std::ostream* os) { *os << c.what; }

class LanguageSetupReadTest : public ::testing::TestWithParam<SetupCase> {};

TEST_P(LanguageSetupReadTest, ReadsTheThreeKeys) {
  const auto& c = GetParam();
  TempFolder tmp;
  const auto file = tmp / "language" / "mysetup.ini";
  if (c.content != nullptr) WriteText(file, c.content);
  const auto setup = ReadLanguageSetup(file);
  EXPECT_EQ(setup.isFirstRun, c.isFirstRun) << c.what;
  EXPECT_EQ(setup.comPort, c.comPort) << c.what;
  EXPECT_EQ(setup.currentLanguage, c.currentLanguage) << c.what;
}

INSTANTIATE_TEST_SUITE_P(
    Files, LanguageSetupReadTest,
    ::testing::Values(
        SetupCase{"as installed", "[language]\nIsFirstRun=1\ncomPort=1\nCurrentLanguage=1\n", true,
                  1, 1},
        SetupCase{"after the first run", "[language]\nIsFirstRun=0\ncomPort=3\nCurrentLanguage=2\n",
                  false, 3, 2},
        SetupCase{"names without case, values with spaces",
                  "[LANGUAGE]\r\nisfirstrun = 0 \r\nCOMPORT= 7\r\ncurrentlanguage =2  \r\n", false,
                  7, 2},
        SetupCase{"boolean words", "[language]\nIsFirstRun=False\n", false, 1, 0},
        SetupCase{"boolean words, true", "[language]\nIsFirstRun=True\n", true, 1, 0},
        // The caller keeps the system's language for anything but 1 and 2.
        SetupCase{"unknown language number read as it is",
                  "[language]\nIsFirstRun=0\ncomPort=2\nCurrentLanguage=3\n", false, 2, 3},
        SetupCase{"missing file", nullptr, true, 1, 0},
        SetupCase{"missing keys", "[language]\n", true, 1, 0},
        // The first-run dialog offers ports up to COM255 on newer systems; the
        // port it leaves must still be the port at the next start.
        SetupCase{"port above 16 chosen at the first run",
                  "[language]\nIsFirstRun=0\ncomPort=20\nCurrentLanguage=1\n", false, 20, 1}));

class LanguageSetupWriteTest : public ::testing::Test {
 protected:
  TempFolder tmp;
  std::filesystem::path file = tmp / "language" / "mysetup.ini";
  void SetUp() override {
    WriteText(file,
              "; written by the installer\r\n[language]\r\nIsFirstRun=1\r\ncomPort=1\r\n"
              "CurrentLanguage=1\r\n");
  }
};

TEST_F(LanguageSetupWriteTest, FirstRunDoneClearsTheFlagOnly) {
  ASSERT_EQ(WriteFirstRunDone(file), "");
  EXPECT_EQ(ReadText(file),
            "; written by the installer\r\n[language]\r\nIsFirstRun=0\r\ncomPort=1\r\n"
            "CurrentLanguage=1\r\n");
  EXPECT_FALSE(ReadLanguageSetup(file).isFirstRun);
}

// The check after a write is on where the installation's file says so; an
// installation whose file was kept from before the check keeps writing without it.
TEST(VerifyAfterWriteTest, OnlyTheInstallationsFileSwitchesItOn) {
  struct Case {
    const char* what;
    const char* content;
    bool verify;
  };
  for (const auto& c : std::vector<Case>{
           {"as installed now", "[language]\nIsFirstRun=1\n\n[link]\nVerifyAfterWrite=1\n", true},
           {"installed before the check", "[language]\nIsFirstRun=0\ncomPort=3\n", false},
           {"switched off", "[link]\nVerifyAfterWrite=0\n", false},
           {"as a word", "[LINK]\nverifyafterwrite = True\n", true},
           {"missing file", nullptr, false}}) {
    TempFolder tmp;
    const auto file = tmp / "mysetup.ini";
    if (c.content != nullptr) WriteText(file, c.content);
    EXPECT_EQ(ReadLanguageSetup(file).verifyAfterWrite, c.verify) << c.what;
  }
}

TEST_F(LanguageSetupWriteTest, TheCheckAfterAWriteIsAddedWithoutTouchingTheRest) {
  ASSERT_EQ(WriteVerifyAfterWrite(file, true), "");
  EXPECT_EQ(ReadText(file),
            "; written by the installer\r\n[language]\r\nIsFirstRun=1\r\ncomPort=1\r\n"
            "CurrentLanguage=1\r\n\r\n[link]\r\nVerifyAfterWrite=1\r\n");
  EXPECT_TRUE(ReadLanguageSetup(file).verifyAfterWrite);
  ASSERT_EQ(WriteVerifyAfterWrite(file, false), "");
  EXPECT_FALSE(ReadLanguageSetup(file).verifyAfterWrite);
  EXPECT_EQ(ReadLanguageSetup(file).comPort, 1);
}

TEST_F(LanguageSetupWriteTest, PortAndLanguageReadBack) {
  ASSERT_EQ(WritePortAndLanguage(file, 4, 2), "");
  auto setup = ReadLanguageSetup(file);
  EXPECT_TRUE(setup.isFirstRun);
  EXPECT_EQ(setup.comPort, 4);
  EXPECT_EQ(setup.currentLanguage, 2);

  ASSERT_EQ(WriteCurrentLanguage(file, 1), "");
  setup = ReadLanguageSetup(file);
  EXPECT_EQ(setup.comPort, 4);
  EXPECT_EQ(setup.currentLanguage, 1);
}

TEST_F(LanguageSetupWriteTest, MissingFileIsCreatedWithTheSection) {
  std::filesystem::remove(file);
  ASSERT_EQ(WritePortAndLanguage(file, 2, 1), "");
  const auto setup = ReadLanguageSetup(file);
  EXPECT_EQ(setup.comPort, 2);
  EXPECT_EQ(setup.currentLanguage, 1);
}

TEST_F(LanguageSetupWriteTest, MissingFolderIsReportedNotCreated) {
  const auto elsewhere = tmp / "nowhere" / "mysetup.ini";
  EXPECT_NE(WritePortAndLanguage(elsewhere, 2, 1), "");
  EXPECT_NE(WriteCurrentLanguage(elsewhere, 1), "");
  EXPECT_NE(WriteFirstRunDone(elsewhere), "");
}

// ---- Setting.ini ----------------------------------------------------------------

struct CapabilityCase {
  const char* what;
  std::optional<std::vector<std::uint8_t>> file;
  KnownCapabilities expected;
};

void PrintTo(const CapabilityCase& c, std::ostream* os) { *os << c.what; }

class KnownCapabilitiesTest : public ::testing::TestWithParam<CapabilityCase> {};

TEST_P(KnownCapabilitiesTest, ReadsFourBytesOrZeros) {
  const auto& c = GetParam();
  TempFolder tmp;
  const auto file = tmp / "Setting.ini";
  if (c.file) WriteBytes(file, *c.file);
  EXPECT_EQ(ReadKnownCapabilities(file), c.expected) << c.what;
}

INSTANTIATE_TEST_SUITE_P(
    Files, KnownCapabilitiesTest,
    ::testing::Values(
        CapabilityCase{"missing", std::nullopt, {0, 0, 0, 0}},
        CapabilityCase{"empty", std::vector<std::uint8_t>{}, {0, 0, 0, 0}},
        CapabilityCase{"three bytes", std::vector<std::uint8_t>{1, 1, 1}, {0, 0, 0, 0}},
        CapabilityCase{"four bytes", std::vector<std::uint8_t>{1, 0, 0xFF, 2}, {1, 0, 0xFF, 2}},
        CapabilityCase{"more than four", std::vector<std::uint8_t>{1, 2, 3, 4, 5}, {1, 2, 3, 4}}));

TEST(KnownCapabilitiesFileTest, WrittenAsExactlyFourBytes) {
  TempFolder tmp;
  const auto file = tmp / "Setting.ini";
  WriteBytes(file, {9, 9, 9, 9, 9, 9, 9, 9});
  WriteKnownCapabilities(file, {1, 0, 1, 0xFF});
  EXPECT_EQ(ReadBytes(file), (std::vector<std::uint8_t>{1, 0, 1, 0xFF}));
  EXPECT_EQ(ReadKnownCapabilities(file), (KnownCapabilities{1, 0, 1, 0xFF}));
}

TEST(KnownCapabilitiesFileTest, FolderInPlaceOfTheFileReadsAsZerosAndIsNotReplaced) {
  TempFolder tmp;
  const auto file = tmp / "Setting.ini";
  std::filesystem::create_directories(file);
  EXPECT_EQ(ReadKnownCapabilities(file), (KnownCapabilities{0, 0, 0, 0}));
  WriteKnownCapabilities(file, {1, 1, 1, 1});  // an error at exit is ignored
  EXPECT_TRUE(std::filesystem::is_directory(file));
}

// ---- Habit.ini --------------------------------------------------------------------

HabitRecord Only(bool HabitRecord::*habit) {
  HabitRecord h;
  h.*habit = true;
  return h;
}

struct HabitCase {
  const char* name;
  bool HabitRecord::*habit;
  std::size_t firstByte;  // of the two FF bytes
};

void PrintTo(const HabitCase& c, std::ostream* os) { *os << c.name; }

class HabitFileTest : public ::testing::TestWithParam<HabitCase> {
 protected:
  TempFolder tmp;
  std::filesystem::path file = tmp / "Habit.ini";
};

TEST_P(HabitFileTest, EachHabitHasItsOwnTwoBytes) {
  const auto& c = GetParam();
  std::vector<std::uint8_t> bytes(10, 0);
  bytes[c.firstByte] = 0xFF;
  bytes[c.firstByte + 1] = 0xFF;

  WriteHabits(file, Only(c.habit));
  EXPECT_EQ(ReadBytes(file), bytes) << c.name;

  std::filesystem::remove(file);
  WriteBytes(file, bytes);
  EXPECT_EQ(ReadHabits(file), Only(c.habit)) << c.name;
}

INSTANTIATE_TEST_SUITE_P(
    Habits, HabitFileTest,
    ::testing::Values(HabitCase{"pasteNoPrompt", &HabitRecord::pasteNoPrompt, 0},
                      HabitCase{"pasteInserts", &HabitRecord::pasteInserts, 2},
                      HabitCase{"deleteNoPrompt", &HabitRecord::deleteNoPrompt, 4},
                      HabitCase{"deleteCloses", &HabitRecord::deleteCloses, 6},
                      HabitCase{"offsetMode", &HabitRecord::offsetMode, 8}),
    [](const auto& row) { return std::string(row.param.name); });

TEST(HabitFileReadTest, OffsetModeOnlyIsTheDocumentedTenBytes) {
  TempFolder tmp;
  const auto file = tmp / "Habit.ini";
  WriteHabits(file, Only(&HabitRecord::offsetMode));
  EXPECT_EQ(ReadBytes(file), (std::vector<std::uint8_t>{0, 0, 0, 0, 0, 0, 0, 0, 0xFF, 0xFF}));
}

TEST(HabitFileReadTest, AllAndNoneReadBack) {
  TempFolder tmp;
  const auto file = tmp / "Habit.ini";
  const HabitRecord all{true, true, true, true, true};
  WriteHabits(file, all);
  EXPECT_EQ(ReadBytes(file), std::vector<std::uint8_t>(10, 0xFF));
  EXPECT_EQ(ReadHabits(file), all);
  WriteHabits(file, HabitRecord{});
  EXPECT_EQ(ReadBytes(file), std::vector<std::uint8_t>(10, 0));
  EXPECT_EQ(ReadHabits(file), HabitRecord{});
}

TEST(HabitFileReadTest, MissingShortOrUnreadableFileGivesNoHabits) {
  TempFolder tmp;
  const auto file = tmp / "Habit.ini";
  EXPECT_EQ(ReadHabits(file), HabitRecord{});
  WriteBytes(file, std::vector<std::uint8_t>(9, 0xFF));
  EXPECT_EQ(ReadHabits(file), HabitRecord{});
  WriteBytes(file, {});
  EXPECT_EQ(ReadHabits(file), HabitRecord{});
  const auto folder = tmp / "folder";
  std::filesystem::create_directories(folder);
  EXPECT_EQ(ReadHabits(folder), HabitRecord{});
}

TEST(HabitFileReadTest, FileThatCannotBeWrittenIsIgnored) {
  TempFolder tmp;
  WriteText(tmp / "afile", "x");
  const auto file = tmp / "afile" / "Habit.ini";
  WriteHabits(file, Only(&HabitRecord::offsetMode));
  EXPECT_FALSE(std::filesystem::exists(file));
}

}  // namespace
}  // namespace cps
