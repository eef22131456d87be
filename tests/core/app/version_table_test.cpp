// Which radio firmware and data file versions this program handles, which
// installed program version handles the others, and the question shown when a
// radio or file belongs to another version.
#include "core/app/version_table.hpp"

#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <vector>

#include "app_test_support.hpp"

namespace cps {
namespace {

using testing::NumberedText;
using testing::TempFolder;
using testing::WriteText;
using namespace std::string_literals;

std::vector<std::pair<std::string, std::string>> PairsOf(const VersionTable& table) {
  std::vector<std::pair<std::string, std::string>> pairs;
  for (const auto& p : table.pairs) pairs.emplace_back(p.program, p.other);
  return pairs;
}

VersionTable TableOf(const std::vector<std::pair<std::string, std::string>>& pairs) {
  VersionTable table;
  for (const auto& [program, other] : pairs) table.pairs.push_back({program, other});
  return table;
}

// ---- Loading Version.ini ------------------------------------------------------

TEST(ShippedVersionTableTest, ThisProgramHandlesItsOwnVersionOnly) {
  const auto file =
      std::filesystem::path(__FILE__).parent_path() / ".." / ".." / ".." / "data" / "Version.ini";
  if (!std::filesystem::exists(file)) GTEST_SKIP() << file << " is not in this checkout";
  const auto table = LoadVersionTable(file);
  EXPECT_EQ(table.problem, "");
  EXPECT_EQ(table.currentVersion, "V200");
  EXPECT_TRUE(IsVersionCompatible(table, kProgramVersion, "V200"));
  EXPECT_FALSE(IsVersionCompatible(table, kProgramVersion, "V100"));
  for (const auto& soft : table.softVersions) EXPECT_TRUE(IsVersionText(soft)) << soft;
  for (const auto& p : table.pairs) {
    EXPECT_TRUE(IsVersionText(p.program)) << p.program;
    EXPECT_TRUE(IsVersionText(p.other)) << p.other;
  }
}

class VersionFileTest : public ::testing::Test {
 protected:
  TempFolder tmp;
  std::filesystem::path file = tmp / "Version.ini";
};

TEST_F(VersionFileTest, ReadsEveryPairInFileOrder) {
  WriteText(file,
            "[Version]\r\nCurrentVersion = V200 \r\nSoftVersionCount=2\r\nFirmVersionCount=3\r\n"
            "\r\n[Soft]\r\nVersion0=V100\r\nVersion1=V200\r\n"
            "\r\n[Firm]\r\nFirm0=V200V200\r\nfirm1 = V100V100  \r\nFIRM2=V100V090\r\n");
  const auto table = LoadVersionTable(file);
  EXPECT_EQ(table.problem, "");
  EXPECT_EQ(table.currentVersion, "V200");
  EXPECT_EQ(table.softVersions, (std::vector<std::string>{"V100", "V200"}));
  EXPECT_EQ(PairsOf(table), (std::vector<std::pair<std::string, std::string>>{
                                {"V200", "V200"}, {"V100", "V100"}, {"V100", "V090"}}));
}

TEST_F(VersionFileTest, ValueIsCutBeforeAnEmbeddedNul) {
  WriteText(file, "[Version]\nFirmVersionCount=1\n[Firm]\nFirm0=V200V100\0junk\n"s);
  EXPECT_EQ(PairsOf(LoadVersionTable(file)),
            (std::vector<std::pair<std::string, std::string>>{{"V200", "V100"}}));
}

TEST_F(VersionFileTest, MissingFileGivesAnEmptyTableAndSaysWhy) {
  const auto table = LoadVersionTable(file);
  EXPECT_TRUE(table.pairs.empty());
  EXPECT_NE(table.problem, "");
  EXPECT_FALSE(IsVersionCompatible(table, kProgramVersion, "V200"));
}

struct BrokenCase {
  const char* what;
  const char* content;
  std::size_t pairsKept;
};

// Names the case in test listings.
void PrintTo(const BrokenCase& c, std::ostream* os) { *os << c.what; }

class BrokenVersionFileTest : public VersionFileTest,
                              public ::testing::WithParamInterface<BrokenCase> {};

TEST_P(BrokenVersionFileTest, KeepsWhatCanBeReadAndSaysWhy) {
  WriteText(file, GetParam().content);
  const auto table = LoadVersionTable(file);
  EXPECT_EQ(table.pairs.size(), GetParam().pairsKept) << GetParam().what;
  EXPECT_NE(table.problem, "") << GetParam().what;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, BrokenVersionFileTest,
    ::testing::Values(
        BrokenCase{"no count", "[Version]\nCurrentVersion=V200\n[Firm]\nFirm0=V200V200\n", 0},
        BrokenCase{"count is no number",
                   "[Version]\nFirmVersionCount=two\n[Firm]\nFirm0=V200V200\n", 0},
        BrokenCase{"negative count", "[Version]\nFirmVersionCount=-1\n[Firm]\nFirm0=V200V200\n", 0},
        BrokenCase{"count larger than the entries",
                   "[Version]\nFirmVersionCount=2\n[Firm]\nFirm0=V200V200\n", 1},
        BrokenCase{"entry too short for a pair",
                   "[Version]\nFirmVersionCount=2\n[Firm]\nFirm0=V200\nFirm1=V200V200\n", 1},
        BrokenCase{"empty file", "", 0}));

// ---- Compatibility ----------------------------------------------------------------

TEST(VersionCompatibilityTest, PairOrderMatters) {
  const auto table = TableOf({{"V100", "V200"}});
  EXPECT_TRUE(IsVersionCompatible(table, "V100", "V200"));
  EXPECT_FALSE(IsVersionCompatible(table, "V200", "V100"));
  EXPECT_FALSE(IsVersionCompatible(table, "V200", "V200"));
}

TEST(VersionCompatibilityTest, OnlyAPairOfTheTableIsCompatible) {
  const auto table = TableOf({{"V200", "V200"}, {"V100", "V100"}});
  EXPECT_TRUE(IsVersionCompatible(table, "V200", "V200"));
  EXPECT_TRUE(IsVersionCompatible(table, "V100", "V100"));
  EXPECT_FALSE(IsVersionCompatible(table, "V200", "V100"));
  EXPECT_FALSE(IsVersionCompatible(VersionTable{}, "V200", "V200"));
}

TEST(VersionCompatibilityTest, ProgramVersionIsThatOfTheFirstPair) {
  const auto table = TableOf({{"V200", "V200"}, {"V100", "V100"}, {"V110", "V100"}});
  EXPECT_EQ(ProgramVersionFor(table, "V100"), "V100");
  EXPECT_EQ(ProgramVersionFor(table, "V200"), "V200");
  EXPECT_EQ(ProgramVersionFor(table, "V300"), "");
}

TEST(VersionCompatibilityTest, LaunchPathIsTheVersionFolderBesideThisOne) {
  const auto table = TableOf({{"V200", "V200"}, {"V100", "V100"}});
  EXPECT_EQ(LaunchPathFor(table, "V100", "/opt/cps", "cps530"),
            std::filesystem::path("/opt/cps/V100/cps530"));
  EXPECT_EQ(LaunchPathFor(table, "V300", "/opt/cps", "cps530"), std::filesystem::path());
}

// The text in brackets with every NUL shown, for case names.
std::string Escaped(const std::string& text) {
  std::string out = "[";
  for (char ch : text) out += ch == '\0' ? std::string("<NUL>") : std::string(1, ch);
  return out + "]";
}

struct VersionTextCase {
  std::string text;
  bool valid;
};

void PrintTo(const VersionTextCase& c, std::ostream* os) { *os << Escaped(c.text); }

class IsVersionTextTest : public ::testing::TestWithParam<VersionTextCase> {};

TEST_P(IsVersionTextTest, VAndThreeDigits) {
  EXPECT_EQ(IsVersionText(GetParam().text), GetParam().valid) << "\"" << GetParam().text << "\"";
}

INSTANTIATE_TEST_SUITE_P(
    Texts, IsVersionTextTest,
    ::testing::Values(VersionTextCase{"V200", true}, VersionTextCase{"V100", true},
                      VersionTextCase{"V000", true}, VersionTextCase{"V200  ", true},
                      VersionTextCase{"V200\0\0"s, true}, VersionTextCase{"X200", false},
                      VersionTextCase{"V1A0", false}, VersionTextCase{"v200", false},
                      VersionTextCase{"V20", false}, VersionTextCase{"V20 ", false},
                      VersionTextCase{"V2000", false}, VersionTextCase{" V200", false},
                      VersionTextCase{"", false}, VersionTextCase{"\0\0\0\0"s, false}));

TEST(ShownVersionTest, PointAfterTheFirstDigit) {
  EXPECT_EQ(ShownVersion("V200"), "V2.00");
  EXPECT_EQ(ShownVersion("V100"), "V1.00");
  EXPECT_EQ(ShownVersion("V123"), "V1.23");
}

TEST(VersionMismatchTextTest, NamesBothVersionsOnLinesOfTheirOwn) {
  EXPECT_EQ(VersionMismatchText(NumberedText, "V200", "V100", VersionSubject::DataFile),
            "<9062>\r\n<9064> V1.00\r\n<9061> V2.00");
  EXPECT_EQ(VersionMismatchText(NumberedText, "V200", "V110", VersionSubject::Radio),
            "<9062>\r\n<9060> V1.10\r\n<9061> V2.00");
}

}  // namespace
}  // namespace cps
