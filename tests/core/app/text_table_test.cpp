// The user-visible texts by number: which section a number belongs to, the
// lookup in the current language file, and that an edited file shows at the
// next lookup.
#include "core/app/text_table.hpp"

#include <gtest/gtest.h>

#include <chrono>
#include <ostream>
#include <string>

#include "app_test_support.hpp"

namespace cps {
namespace {

using testing::TempFolder;
using testing::WriteText;

struct SectionCase {
  int id;
  const char* section;
};

// Names the case in test listings.
void PrintTo(const SectionCase& c, std::ostream* os) { *os << c.id; }

class SectionOfTextIdTest : public ::testing::TestWithParam<SectionCase> {};

TEST_P(SectionOfTextIdTest, RangeGivesTheSection) {
  EXPECT_EQ(SectionOfTextId(GetParam().id), GetParam().section) << GetParam().id;
}

INSTANTIATE_TEST_SUITE_P(
    Ranges, SectionOfTextIdTest,
    ::testing::Values(
        SectionCase{0, "OTHER"}, SectionCase{8999, "OTHER"}, SectionCase{9000, "Msg"},
        SectionCase{9033, "Msg"}, SectionCase{9999, "Msg"}, SectionCase{10000, "Menu"},
        SectionCase{11000, "ToolBar"}, SectionCase{12000, "Main"}, SectionCase{12999, "Main"},
        SectionCase{13000, "Model"}, SectionCase{14999, "ChannelInfo"},
        SectionCase{15000, "ChannelEdit"}, SectionCase{16000, "Option"},
        SectionCase{17000, "Radio"}, SectionCase{18000, "DTMF"}, SectionCase{19000, "TestFre"},
        SectionCase{20000, "EMG"}, SectionCase{21000, "Local"}, SectionCase{22000, "Port"},
        SectionCase{23000, "Lang"}, SectionCase{24000, "About"}, SectionCase{25000, "KeySet"},
        SectionCase{26000, "ScanSet"}, SectionCase{27000, "AlertSet"}, SectionCase{28000, "CHEdit"},
        SectionCase{28999, "CHEdit"}, SectionCase{29000, "Others"}, SectionCase{99999, "Others"}));

TEST(LanguageFileNameTest, ChineseOrEnglish) {
  EXPECT_EQ(LanguageFileName(kEnglish), "english.ini");
  EXPECT_EQ(LanguageFileName(kChinese), "chinese.ini");
  EXPECT_EQ(LanguageFileName(3), "english.ini");
}

class TextTableTest : public ::testing::Test {
 protected:
  TempFolder tmp;
  std::filesystem::path file = tmp / "language" / "english.ini";
  TextTable table{file};
};

TEST_F(TextTableTest, TextIsReadFromTheSectionOfItsNumber) {
  WriteText(file,
            "[OTHER]\n8999=other\n[Msg]\n9033=  Wrong file size  \n9000=msg\n"
            "[CHEdit]\n28000=Prompt\n[Others]\n29000=others\n[Menu]\n10000=&File\n");
  EXPECT_EQ(table.LangText(8999), "other");
  EXPECT_EQ(table.LangText(9033), "Wrong file size");
  EXPECT_EQ(table.LangText(28000), "Prompt");
  EXPECT_EQ(table.LangText(29000), "others");
  EXPECT_EQ(table.LangText(10000), "&File");
}

TEST_F(TextTableTest, TextInTheWrongSectionIsNotFound) {
  WriteText(file, "[Msg]\n12000=title\n[Main]\n9033=size\n");
  EXPECT_EQ(table.LangText(12000), "");
  EXPECT_EQ(table.LangText(9033), "");
}

TEST_F(TextTableTest, MissingFileSectionOrKeyGivesAnEmptyText) {
  EXPECT_EQ(table.LangText(9033), "");
  WriteText(file, "[Msg]\n9001=Data files\n");
  EXPECT_EQ(table.LangText(9033), "");
  EXPECT_EQ(table.LangText(12000), "");
  EXPECT_EQ(table.LangText(9001), "Data files");
}

TEST_F(TextTableTest, LongTextIsCutTo254Bytes) {
  WriteText(file, "[Msg]\n9033=" + std::string(300, 'w') + "\n");
  EXPECT_EQ(table.LangText(9033), std::string(254, 'w'));
}

TEST_F(TextTableTest, TextChangedOnDiskToAnotherSizeShowsAtTheNextLookup) {
  WriteText(file, "[Msg]\n9033=old\n");
  ASSERT_EQ(table.LangText(9033), "old");
  WriteText(file, "[Msg]\n9033=a longer text\n");
  EXPECT_EQ(table.LangText(9033), "a longer text");
}

TEST_F(TextTableTest, TextChangedOnDiskToTheSameSizeShowsWhenTheFileIsNewer) {
  WriteText(file, "[Msg]\n9033=old\n");
  const auto written = std::filesystem::last_write_time(file);
  ASSERT_EQ(table.LangText(9033), "old");
  WriteText(file, "[Msg]\n9033=new\n");
  std::filesystem::last_write_time(file, written + std::chrono::seconds(2));
  EXPECT_EQ(table.LangText(9033), "new");
}

TEST_F(TextTableTest, FileThatAppearsOrDisappearsIsNoticed) {
  ASSERT_EQ(table.LangText(9033), "");
  WriteText(file, "[Msg]\n9033=now there\n");
  EXPECT_EQ(table.LangText(9033), "now there");
  std::filesystem::remove(file);
  EXPECT_EQ(table.LangText(9033), "");
}

TEST_F(TextTableTest, SwitchingFilesSwitchesLanguage) {
  const auto chinese = tmp / "language" / "chinese.ini";
  WriteText(file, "[Msg]\n9017=OK\n");
  WriteText(chinese, "[Msg]\n9017=\xE7\xA1\xAE\xE5\xAE\x9A\n");
  ASSERT_EQ(table.LangText(9017), "OK");
  table.setFile(chinese);
  EXPECT_EQ(table.file(), chinese);
  EXPECT_EQ(table.LangText(9017), "\xE7\xA1\xAE\xE5\xAE\x9A");
  table.setFile(file);
  EXPECT_EQ(table.LangText(9017), "OK");
}

TEST_F(TextTableTest, SwitchingToAFileOfTheSameSizeAndTimeStillSwitches) {
  // Two files written in the same instant with texts of equal length: only the
  // name tells them apart.
  const auto other = tmp / "language" / "chinese.ini";
  WriteText(file, "[Msg]\n9017=AA\n");
  WriteText(other, "[Msg]\n9017=BB\n");
  std::filesystem::last_write_time(other, std::filesystem::last_write_time(file));
  ASSERT_EQ(table.LangText(9017), "AA");
  table.setFile(other);
  EXPECT_EQ(table.LangText(9017), "BB");
}

// The language files installed with the program hold every text the file
// commands and the version check show, in both languages.
class ShippedLanguageFileTest : public ::testing::TestWithParam<const char*> {};

TEST_P(ShippedLanguageFileTest, HoldsTheTextsOfTheFileCommands) {
  const auto file = std::filesystem::path(__FILE__).parent_path() / ".." / ".." / ".." / "data" /
                    "language" / GetParam();
  if (!std::filesystem::exists(file)) GTEST_SKIP() << file << " is not in this checkout";
  TextTable table(file);
  for (int id :
       {9001, 9002, 9006, 9007, 9026, 9033, 9060, 9061, 9062, 9063, 9064, 9065, 12000, 12009}) {
    EXPECT_NE(table.LangText(id), "") << GetParam() << " has no text " << id;
  }
}

INSTANTIATE_TEST_SUITE_P(Languages, ShippedLanguageFileTest,
                         ::testing::Values("english.ini", "chinese.ini"));

}  // namespace
}  // namespace cps
