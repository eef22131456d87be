// Initialisation files as the settings and language files use them: reading a
// value the way a fixed-size buffer sees it, and writing one key without
// disturbing the rest of a file a user or an installer may have edited.
#include "core/app/ini_file.hpp"

#include <gtest/gtest.h>

#include <fstream>
#include <optional>
#include <ostream>
#include <string>

#include "app_test_support.hpp"

namespace cps {
namespace {

using testing::ReadText;
using testing::TempFolder;
using testing::WriteText;

// ---- Reading ---------------------------------------------------------------

struct ReadCase {
  const char* what;
  const char* file;
  const char* section;
  const char* key;
  std::optional<std::string> expected;
};

// Names the case in test listings.
void PrintTo(const ReadCase& c, std::ostream* os) { *os << c.what; }

class IniReadTest : public ::testing::TestWithParam<ReadCase> {};

TEST_P(IniReadTest, FindsTheValue) {
  const auto& c = GetParam();
  EXPECT_EQ(IniText(c.file).value(c.section, c.key), c.expected) << c.what;
}

INSTANTIATE_TEST_SUITE_P(
    Values, IniReadTest,
    ::testing::Values(
        ReadCase{"plain", "[language]\ncomPort=3\n", "language", "comPort", "3"},
        ReadCase{"section and key without case", "[Language]\nCOMPORT=3\n", "LANGUAGE", "comport",
                 "3"},
        ReadCase{"spaces around name and value", "[ Msg ]\n  9033  =   Wrong size   \n", "Msg",
                 "9033", "Wrong size"},
        ReadCase{"tabs and CR around the value", "[Msg]\r\n9033=\tText\t\r\n", "Msg", "9033",
                 "Text"},
        ReadCase{"one pair of double quotes removed", "[s]\nk=\"  quoted  \"\n", "s", "k",
                 "  quoted  "},
        ReadCase{"one pair of single quotes removed", "[s]\nk='x'\n", "s", "k", "x"},
        ReadCase{"only one pair of quotes removed", "[s]\nk=\"\"x\"\"\n", "s", "k", "\"x\""},
        ReadCase{"quotes that do not match stay", "[s]\nk=\"x'\n", "s", "k", "\"x'"},
        ReadCase{"a lone quote stays", "[s]\nk=\"\n", "s", "k", "\""},
        ReadCase{"value holding '='", "[s]\nk=a=b\n", "s", "k", "a=b"},
        ReadCase{"empty value", "[s]\nk=\n", "s", "k", ""},
        ReadCase{"first of two equal keys", "[s]\nk=1\nk=2\n", "s", "k", "1"},
        ReadCase{"key of another section", "[a]\nk=1\n[b]\nj=2\n", "b", "k", std::nullopt},
        ReadCase{"key of the later section", "[a]\nk=1\n[b]\nk=2\n", "b", "k", "2"},
        ReadCase{"commented-out key", "[s]\n;k=1\n", "s", "k", std::nullopt},
        ReadCase{"missing section", "[s]\nk=1\n", "t", "k", std::nullopt},
        ReadCase{"missing key", "[s]\nk=1\n", "s", "j", std::nullopt},
        ReadCase{"key before any section", "k=1\n[s]\n", "s", "k", std::nullopt},
        ReadCase{"byte order mark before the first section", "\xEF\xBB\xBF[s]\nk=1\n", "s", "k",
                 "1"},
        ReadCase{"comment after the section header", "[s] ; texts\nk=1\n", "s", "k", "1"},
        ReadCase{"line without '=' is skipped", "[s]\njunk\nk=1\n", "s", "k", "1"}));

struct FitCase {
  const char* what;
  std::string raw;
  std::size_t buffer;
  std::string expected;
};

void PrintTo(const FitCase& c, std::ostream* os) { *os << c.what; }

class FitProfileValueTest : public ::testing::TestWithParam<FitCase> {};

TEST_P(FitProfileValueTest, GivesWhatTheBufferHolds) {
  const auto& c = GetParam();
  EXPECT_EQ(FitProfileValue(c.raw, c.buffer), c.expected) << c.what;
}

const std::string kEuro = "\xE2\x82\xAC";  // three bytes in UTF-8
const std::string kEAcute = "\xC3\xA9";    // two bytes

INSTANTIATE_TEST_SUITE_P(
    Values, FitProfileValueTest,
    ::testing::Values(
        FitCase{"short text", "abc", 255, "abc"},
        FitCase{"exactly 254 bytes fit in 255", std::string(254, 'a'), 255, std::string(254, 'a')},
        FitCase{"255 bytes are cut to 254", std::string(255, 'a'), 255, std::string(254, 'a')},
        FitCase{"long text cut to 511 in 512", std::string(600, 'b'), 512, std::string(511, 'b')},
        FitCase{"two-byte character fitting exactly", std::string(252, 'a') + kEAcute, 255,
                std::string(252, 'a') + kEAcute},
        FitCase{"two-byte character across the cut", std::string(253, 'a') + kEAcute, 255,
                std::string(253, 'a')},
        FitCase{"three-byte character across the cut, one byte in", std::string(253, 'a') + kEuro,
                255, std::string(253, 'a')},
        FitCase{"three-byte character across the cut, two bytes in",
                std::string(252, 'a') + kEuro + "z", 255, std::string(252, 'a')},
        FitCase{"cut before a NUL", std::string("abc\0def", 7), 255, "abc"},
        FitCase{"spaces before a NUL trimmed", std::string(" ab \0 x", 7), 255, "ab"},
        FitCase{"spaces trimmed", "   text   ", 255, "text"},
        FitCase{"spaces left at the cut trimmed", std::string(250, 'a') + "      x", 255,
                std::string(250, 'a')},
        FitCase{"no room at all", "abc", 0, ""}, FitCase{"room for the NUL only", "abc", 1, ""}));

// ---- Files -------------------------------------------------------------------

class ProfileFileTest : public ::testing::Test {
 protected:
  TempFolder tmp;
  std::filesystem::path file = tmp / "setup.ini";
};

TEST_F(ProfileFileTest, MissingFileSectionOrKeyGivesTheDefault) {
  EXPECT_EQ(ReadProfileString(file, "language", "comPort", "1"), "1");
  WriteText(file, "[language]\ncomPort=4\n");
  EXPECT_EQ(ReadProfileString(file, "language", "comPort", "1"), "4");
  EXPECT_EQ(ReadProfileString(file, "port", "comPort", "1"), "1");
  EXPECT_EQ(ReadProfileString(file, "language", "IsFirstRun", "1"), "1");
}

TEST_F(ProfileFileTest, AFolderInPlaceOfTheFileGivesTheDefault) {
  std::filesystem::create_directories(file);
  EXPECT_EQ(ReadProfileString(file, "language", "comPort", "7"), "7");
}

TEST_F(ProfileFileTest, ValueIsLimitedByTheBuffer) {
  WriteText(file, "[s]\nk= " + std::string(600, 'x') + " \n");
  EXPECT_EQ(ReadProfileString(file, "s", "k", ""), std::string(511, 'x'));
  EXPECT_EQ(ReadProfileString(file, "s", "k", "", 255), std::string(254, 'x'));
}

TEST_F(ProfileFileTest, WritingCreatesAMissingFile) {
  ASSERT_EQ(WriteProfileString(file, "language", "comPort", "2"), "");
  EXPECT_EQ(ReadText(file), "[language]\ncomPort=2\n");
}

TEST_F(ProfileFileTest, WritingIntoAMissingFolderFails) {
  EXPECT_NE(WriteProfileString(tmp / "nowhere" / "setup.ini", "s", "k", "v"), "");
  EXPECT_FALSE(std::filesystem::exists(tmp / "nowhere"));
}

TEST_F(ProfileFileTest, AFileThatCannotBeReadIsNotReplaced) {
  // A folder stands in for a file that exists but cannot be read; replacing it
  // by a file with one key would lose everything it held.
  std::filesystem::create_directories(file);
  WriteText(file / "inside", "kept");
  EXPECT_NE(WriteProfileString(file, "s", "k", "v"), "");
  EXPECT_TRUE(std::filesystem::is_directory(file));
  EXPECT_EQ(ReadText(file / "inside"), "kept");
}

TEST_F(ProfileFileTest, AFileWithoutReadPermissionIsNotReplaced) {
  WriteText(file, "[language]\nIsFirstRun=0\ncomPort=3\n");
  std::filesystem::permissions(file, std::filesystem::perms::none);
  if (std::ifstream(file).good()) GTEST_SKIP() << "this user reads files without permission";
  EXPECT_NE(WriteProfileString(file, "language", "CurrentLanguage", "2"), "");
  std::filesystem::permissions(file, std::filesystem::perms::owner_read);
  EXPECT_EQ(ReadText(file), "[language]\nIsFirstRun=0\ncomPort=3\n");
}

TEST_F(ProfileFileTest, WrittenValueReadsBack) {
  WriteText(file, "; installed\n[language]\nIsFirstRun=1\ncomPort=1\nCurrentLanguage=1\n");
  ASSERT_EQ(WriteProfileString(file, "LANGUAGE", "comPort", "5"), "");
  EXPECT_EQ(ReadProfileString(file, "language", "COMPORT", ""), "5");
  EXPECT_EQ(ReadText(file),
            "; installed\n[language]\nIsFirstRun=1\ncomPort=5\nCurrentLanguage=1\n");
}

// ---- Writing keeps the rest of the file ---------------------------------------

struct WriteCase {
  const char* what;
  std::string before;
  const char* section;
  const char* key;
  const char* value;
  std::string after;
};

void PrintTo(const WriteCase& c, std::ostream* os) { *os << c.what; }

class IniWriteTest : public ::testing::TestWithParam<WriteCase> {};

TEST_P(IniWriteTest, ChangesOnlyTheKeyLine) {
  const auto& c = GetParam();
  IniText ini(c.before);
  ini.set(c.section, c.key, c.value);
  EXPECT_EQ(ini.content(), c.after) << c.what;
}

TEST_P(IniWriteTest, FileOnDiskChangesTheSameWay) {
  const auto& c = GetParam();
  TempFolder tmp;
  const auto file = tmp / "file.ini";
  WriteText(file, c.before);
  ASSERT_EQ(WriteProfileString(file, c.section, c.key, c.value), "");
  EXPECT_EQ(ReadText(file), c.after) << c.what;
}

const std::string kBom = "\xEF\xBB\xBF";

INSTANTIATE_TEST_SUITE_P(
    Cases, IniWriteTest,
    ::testing::Values(
        WriteCase{"existing key among comments, blank and odd lines",
                  "; language setup\n\n[language]\n  ; port below\nIsFirstRun = 1 \n"
                  "odd line without equals\ncomPort=1\n\n[other]\nx=y\n",
                  "language", "comPort", "3",
                  "; language setup\n\n[language]\n  ; port below\nIsFirstRun = 1 \n"
                  "odd line without equals\ncomPort=3\n\n[other]\nx=y\n"},
        WriteCase{"CRLF line ends and byte order mark kept",
                  kBom + "[language]\r\nIsFirstRun=1\r\ncomPort=1\r\n\r\n[x]\r\ny=1\r\n",
                  "language", "comPort", "2",
                  kBom + "[language]\r\nIsFirstRun=1\r\ncomPort=2\r\n\r\n[x]\r\ny=1\r\n"},
        WriteCase{"missing key added at the end of its section, before the blank line",
                  "[language]\nIsFirstRun=1\n\n[x]\ny=1\n", "language", "comPort", "4",
                  "[language]\nIsFirstRun=1\ncomPort=4\n\n[x]\ny=1\n"},
        WriteCase{"missing key added after a trailing comment of its section",
                  "[language]\nIsFirstRun=1\n; end\n[x]\n", "language", "comPort", "4",
                  "[language]\nIsFirstRun=1\n; end\ncomPort=4\n[x]\n"},
        WriteCase{"missing key in an empty section", "[a]\n[b]\n", "a", "k", "v",
                  "[a]\nk=v\n[b]\n"},
        WriteCase{"missing key of a CRLF file gets CRLF", "[s]\r\na=1\r\n", "s", "b", "2",
                  "[s]\r\na=1\r\nb=2\r\n"},
        WriteCase{"missing section added at the end after a blank line", "; top\n[a]\nk=1\n",
                  "language", "CurrentLanguage", "2",
                  "; top\n[a]\nk=1\n\n[language]\nCurrentLanguage=2\n"},
        WriteCase{"missing section after a file that ends in a blank line", "[a]\nk=1\n\n", "b",
                  "j", "2", "[a]\nk=1\n\n[b]\nj=2\n"},
        WriteCase{"commented-out key is not the key", "[s]\n;k=old\n", "s", "k", "new",
                  "[s]\n;k=old\nk=new\n"},
        WriteCase{"mixed line ends: each other line keeps its own", "[s]\r\na=1\nb=2\r\nc=3\n", "s",
                  "b", "9", "[s]\r\na=1\nb=9\r\nc=3\n"},
        WriteCase{"last line without a line end stays without one", "[s]\na=1\n; tail", "s", "a",
                  "2", "[s]\na=2\n; tail"},
        // A line end cut short after its carriage return: the key added after
        // it must stay a line of its own when the file is read again.
        WriteCase{"last line ending in a carriage return alone", "[SERIALCOMM]\r", "SERIALCOMM",
                  "COM1", "/dev/ttyUSB0", "[SERIALCOMM]\r\nCOM1=/dev/ttyUSB0\n"},
        WriteCase{"a section added after a carriage return alone", "[a]\r\nk=1\r", "b", "j", "2",
                  "[a]\r\nk=1\r\n\r\n[b]\r\nj=2\r\n"}));

// What was written is found again by the next reading, whatever the file's end.
TEST(IniWriteTest, AKeyAddedAfterACarriageReturnAloneReadsBack) {
  for (const std::string before : {"[s]\r", "[s]\ra=1\r", "[s]", "[s]\n\r"}) {
    IniText ini(before);
    ini.set("s", "k", "v");
    EXPECT_EQ(IniText(ini.content()).value("s", "k"), "v") << before;
  }
}

}  // namespace
}  // namespace cps
