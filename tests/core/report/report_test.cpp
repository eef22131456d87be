// The report of a whole document: what it holds and its HTML.
#include "core/report/report.hpp"

#include <gtest/gtest.h>

#include "../document/test_support.hpp"
#include "core/compare/compare.hpp"
#include "core/document/defaults.hpp"
#include "core/run_state.hpp"
#include "core/settings/setting_fields.hpp"

namespace cps {
namespace {

std::string textOf(int id) { return "T" + std::to_string(id); }

struct Bench {
  Bench() {
    ApplyDocumentDefaults(state, Today{"2024-01-01", 1});
    // Out of order in the list: the report lists them by number.
    testing::SetChannels(state.workingDocument,
                         {testing::MakeChannel(18, "44000000"), testing::MakeChannel(1, "43500000"),
                          testing::MakeChannel(3, "43510000")});
    state.workingDocument.channels[2].pttId = 1;
    state.workingDocument.channels[2].whisper = 1;
    state.workingDocument.message.lines[0].assign("A<B & \"C\"");
  }
  Report report() {
    return BuildReport(WorkingDocumentOf(state), {"radio.dat", "2025-03-04", false},
                       TextOf(textOf));
  }
  RunState state;
};

TEST(BuildReport, HeadingNamesModelBandFileAndDate) {
  const Report r = Bench().report();
  EXPECT_EQ(r.title, "T29130");
  const std::vector<std::pair<std::string, std::string>> facts{{"T13001", "TW530G"},
                                                               {"T13002", "400 - 480 MHz"},
                                                               {"T12009", "radio.dat"},
                                                               {"T29131", "2025-03-04"}};
  EXPECT_EQ(r.facts, facts);
}

TEST(BuildReport, ChannelsByNumberGroupByGroupWithTheDialogsFurtherFields) {
  const Report r = Bench().report();
  ASSERT_FALSE(r.sections.empty());
  const ReportSection& channels = r.sections.front();
  EXPECT_EQ(channels.title, "T12001");
  ASSERT_EQ(channels.tables.size(), 2u);
  EXPECT_EQ(channels.tables[0].caption, "T14050 1");
  EXPECT_EQ(channels.tables[1].caption, "T14050 2");
  // The row number, RX, TX, two tones, power, scan skip, signalling, spacing, further.
  const std::vector<std::string> headers{"T14001", "T14002", "T14003", "T14005", "T14006",
                                         "T14007", "T14008", "T14009", "T14010", "T29132"};
  EXPECT_EQ(channels.tables[0].headers, headers);
  ASSERT_EQ(channels.tables[0].rows.size(), 2u);
  EXPECT_EQ(channels.tables[0].rows[0][0], "1");
  EXPECT_EQ(channels.tables[0].rows[0][1], "435.00000");
  EXPECT_EQ(channels.tables[0].rows[0][9], "");
  EXPECT_EQ(channels.tables[0].rows[1][0], "3");
  EXPECT_EQ(channels.tables[0].rows[1][9], "T15009: T15037; T15019: T14018");
  ASSERT_EQ(channels.tables[1].rows.size(), 1u);
  EXPECT_EQ(channels.tables[1].rows[0][0], "2");  // channel 18 is position 2 of group 2
}

TEST(BuildReport, EverySettingsBlockWithItsWindowsLabelsAndTheMessage) {
  const Report r = Bench().report();
  std::vector<std::string> titles;
  for (const auto& s : r.sections) titles.push_back(s.title);
  const std::vector<std::string> expected{"T12001", "T16000", "T18000", "T26000", "T27000",
                                          "T25000", "T20000", "T19000", "T17000"};
  EXPECT_EQ(titles, expected);
  const ReportSection& options = r.sections[1];
  ASSERT_EQ(options.tables.size(), 1u);
  std::size_t shown = 0;
  for (const auto& f : OptionalFeatureFields()) shown += f.place.hidden ? 0 : 1;
  EXPECT_EQ(options.tables[0].rows.size(), shown);
  EXPECT_EQ(options.tables[0].rows[0][0],
            "T" + std::to_string(OptionalFeatureFields()[0].labelTextId));
  const ReportSection& message = r.sections[6];
  ASSERT_EQ(message.lines.size(), 4u);
  EXPECT_EQ(message.lines[0], "A<B & \"C\"");
}

// A new document holds numbers that no list item names (voice volume 0, DTMF
// rate 0): on paper they read as the window shows them, never as get's =N.
TEST(BuildReport, SettingsReadAsTheWindowsShowThem) {
  Bench bench;
  bench.state.workingDocument.message.lines[1].assign("CAF\xE9");
  const Report r = bench.report();
  std::size_t rows = 0;
  for (const auto& section : r.sections) {
    if (section.title == "T12001") continue;
    for (const auto& table : section.tables) {
      for (const auto& row : table.rows) {
        ++rows;
        EXPECT_FALSE(row.back().starts_with("=")) << section.title << " " << row.front();
        EXPECT_EQ(row.back().find("\\x"), std::string::npos) << section.title << " " << row.front();
      }
    }
  }
  EXPECT_GT(rows, 50u);
  EXPECT_EQ(r.sections[6].lines[1].find("\\x"), std::string::npos);
}

TEST(BuildReport, ADocumentWithoutChannelsSaysSo) {
  Bench bench;
  testing::SetChannels(bench.state.workingDocument, {});
  const Report r = bench.report();
  EXPECT_TRUE(r.sections.front().tables.empty());
  EXPECT_EQ(r.sections.front().note, "T29134");
}

TEST(ReportHtml, EscapesTextAndRepeatsTableHeaders) {
  const std::string html = ReportHtml(Bench().report(), "en");
  EXPECT_NE(html.find("<html lang=\"en\">"), std::string::npos);
  EXPECT_NE(html.find("A&lt;B &amp; &quot;C&quot;"), std::string::npos);
  EXPECT_EQ(html.find("A<B"), std::string::npos);
  EXPECT_NE(html.find("<thead><tr><th>T14001</th>"), std::string::npos);
  EXPECT_EQ(html.find("<style>"), html.rfind("<style>"));  // one style sheet
}

TEST(HtmlEscape, KeepsUtf8AndReplacesStrayBytes) {
  EXPECT_EQ(HtmlEscape("\xE4\xBF\xA1\xE9\x81\x93"), "\xE4\xBF\xA1\xE9\x81\x93");  // 信道
  EXPECT_EQ(HtmlEscape(std::string("A\xFF\x01", 3)), "A\xEF\xBF\xBD ");
}

}  // namespace
}  // namespace cps
