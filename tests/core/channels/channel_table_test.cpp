// What the channel table shows of a channel and how its cursor and its
// frequency editor behave, without a widget.
#include "core/channels/channel_table.hpp"

#include <gtest/gtest.h>

#include <string>

#include "../document/test_support.hpp"
#include "core/document/codec.hpp"
#include "core/document/model.hpp"
#include "core/document/records.hpp"

namespace cps {
namespace {

using testing::MakeChannel;
using testing::ScriptedPrompter;

// Texts stand in as "#id", so a test sees which text a cell took.
std::string idText(int id) { return "#" + std::to_string(id); }

class ChannelTableTest : public ::testing::Test {
 protected:
  ScriptedPrompter prompter;
  CodecContext codec{BandLimits{400, 480}, prompter};

  std::array<std::string, kTableColumns> row(const ChannelRecord& c, bool offsetMode = false) {
    return ChannelRowTexts(c, 5, offsetMode, codec, idText);
  }
};

TEST(ChannelTableColumnsTest, HeadersAndWidths) {
  const auto columns = ChannelTableColumns();
  ASSERT_EQ(columns.size(), 11u);
  int width = 0;
  for (int c = 0; c < kTableColumns; ++c) {
    EXPECT_EQ(ChannelHeaderTextId(c, false), 14001 + c) << "column " << c;
    width += columns[static_cast<std::size_t>(c)].widthTwips;
  }
  EXPECT_EQ(columns[kReservedColumn].widthTwips, 0);
  EXPECT_EQ(width, 11240);  // fits the grid's 11358 twips with its borders
  EXPECT_EQ(ChannelHeaderTextId(2, true), 14100);
  EXPECT_EQ(ChannelHeaderTextId(1, true), 14002);
  EXPECT_EQ(ChannelHeaderTextId(11, false), 0);
}

TEST(ChannelTableColumnsTest, ListColumnsOfferTheirItemsInStoredOrder) {
  const auto tones = ChannelColumnItems(4, idText);
  ASSERT_EQ(tones.size(), 283u);
  EXPECT_EQ(tones[0], "#14013");
  EXPECT_EQ(tones[1], "67.0");
  EXPECT_EQ(tones[51], "017N");
  EXPECT_EQ(tones[282], ToneText(282, ""));
  EXPECT_EQ(ChannelColumnItems(5, idText), tones);
  EXPECT_EQ(ChannelColumnItems(6, idText),
            (std::vector<std::string>{"#14014", "#14015", "#14016"}));
  EXPECT_EQ(ChannelColumnItems(7, idText), (std::vector<std::string>{"#14017", "#14018"}));
  EXPECT_EQ(ChannelColumnItems(8, idText), (std::vector<std::string>{"#14013", "#14019"}));
  EXPECT_EQ(ChannelColumnItems(9, idText),
            (std::vector<std::string>{"#14020", "#14021", "#14022"}));
  for (const int none : {0, 1, 2, 3, 10}) EXPECT_TRUE(ChannelColumnItems(none, idText).empty());
}

TEST_F(ChannelTableTest, ARowShowsEveryFieldOfItsChannel) {
  ChannelRecord c = MakeChannel(37, "43510000", 2, "0500000");
  c.decodeTone = 1;
  c.encodeTone = 51;
  c.power = 2;
  c.scanSkip = 1;
  c.optionalSignalling = 1;
  c.spacing = 2;
  EXPECT_EQ(row(c), (std::array<std::string, kTableColumns>{"5", "435.10000", "440.10000", "",
                                                            "67.0", "017N", "#14016", "#14018",
                                                            "#14019", "#14022", ">>"}));
  EXPECT_TRUE(prompter.asked.empty());
}

// A value its column's list does not hold shows the list's first item.
TEST_F(ChannelTableTest, ValuesOutsideTheirListShowTheFirstItem) {
  ChannelRecord c = MakeChannel(1, "43510000");
  c.power = 3;
  c.scanSkip = -1;
  c.optionalSignalling = 2;
  c.spacing = 7;
  c.decodeTone = 283;
  c.encodeTone = -4;
  const auto texts = row(c);
  EXPECT_EQ(texts[4], "#14013");
  EXPECT_EQ(texts[5], "#14013");
  EXPECT_EQ(texts[6], "#14014");
  EXPECT_EQ(texts[7], "#14017");
  EXPECT_EQ(texts[8], "#14013");
  EXPECT_EQ(texts[9], "#14020");
}

TEST_F(ChannelTableTest, TheTransmitColumnFollowsTheOffsetMode) {
  struct Case {
    int direction;
    const char* offset;
    const char* transmit;
    const char* shownOffset;
  };
  for (const Case& k :
       {Case{2, "0500000", "440.10000", "+5.00000"}, Case{1, "0060000", "434.50000", "-0.60000"},
        Case{0, "0000000", "435.10000", "0.00000"}}) {
    const ChannelRecord c = MakeChannel(1, "43510000", k.direction, k.offset);
    EXPECT_EQ(row(c, false)[2], k.transmit) << k.offset;
    EXPECT_EQ(row(c, true)[2], k.shownOffset) << k.offset;
  }
}

TEST_F(ChannelTableTest, AnUnreadableReceiveTextIsReportedAsItIsDrawn) {
  const ChannelRecord c = MakeChannel(1, "43X10000");
  EXPECT_EQ(row(c)[1], "400");
  EXPECT_GE(prompter.notNumericReports(), 1);
}

TEST(ChannelTableRowsTest, AnEmptyPositionShowsItsNumberAndTheDetailsColumn) {
  const auto texts = EmptyRowTexts(16);
  EXPECT_EQ(texts[0], "16");
  EXPECT_EQ(texts[10], ">>");
  for (int c = 1; c <= 9; ++c) EXPECT_EQ(texts[static_cast<std::size_t>(c)], "") << c;
}

// Every text is its id behind a "t", except one that holds a tab.
std::string sheetText(int id) { return id == 14007 ? "TX\tpower" : "t" + std::to_string(id); }

struct SheetCase {
  const char* what;
  bool offsetMode;
  std::int16_t decodeTone;
  std::int16_t power;
  std::string expected;
};

TEST(ChannelSpreadsheetTest, ARowUnderTheTablesHeaders) {
  const std::vector<SheetCase> cases = {
      {"frequency mode", false, 1, 1,
       "t14001\tt14002\tt14003\tt14005\tt14006\tTX power\tt14008\tt14009\tt14010\n"
       "3\t435.10000\t440.10000\t67.0\tt14013\tt14015\tt14018\tt14019\tt14022\n"},
      {"offset mode", true, 52, 2,
       "t14001\tt14002\tt14100\tt14005\tt14006\tTX power\tt14008\tt14009\tt14010\n"
       "3\t435.10000\t+5.00000\t023N\tt14013\tt14016\tt14018\tt14019\tt14022\n"},
      // Values beyond their lists show the lists' first items.
      {"values off the lists", false, 300, 3,
       "t14001\tt14002\tt14003\tt14005\tt14006\tTX power\tt14008\tt14009\tt14010\n"
       "3\t435.10000\t440.10000\tt14013\tt14013\tt14014\tt14018\tt14019\tt14022\n"},
  };
  for (const auto& c : cases) {
    ScriptedPrompter prompter;
    const CodecContext codec{BandLimits{}, prompter};
    ChannelRecord channel = MakeChannel(35, "43510000", 2, "0500000");
    channel.decodeTone = c.decodeTone;
    channel.power = c.power;
    channel.scanSkip = 1;
    channel.optionalSignalling = 1;
    channel.spacing = 2;
    EXPECT_EQ(ChannelSpreadsheetText({&channel, 1}, c.offsetMode, codec, sheetText), c.expected)
        << c.what;
    EXPECT_TRUE(prompter.asked.empty()) << c.what;
  }
}

TEST(ChannelTableCursorTest, EnterWalksTheFieldColumnsAndWrapsWithinTheGroup) {
  struct Case {
    int row, column;
    CellStep next;
  };
  for (const Case& k :
       {Case{3, 1, {3, 2, false}}, Case{3, 2, {3, 4, false}}, Case{3, 4, {3, 5, false}},
        Case{3, 8, {3, 9, false}}, Case{3, 9, {4, 1, true}}, Case{16, 9, {1, 1, true}}}) {
    const CellStep step = NextEditCell(k.row, k.column);
    EXPECT_EQ(step.row, k.next.row) << k.row << "," << k.column;
    EXPECT_EQ(step.column, k.next.column) << k.row << "," << k.column;
    EXPECT_EQ(step.wrapped, k.next.wrapped) << k.row << "," << k.column;
  }
  EXPECT_EQ(NextTableRow(16), 1);
  EXPECT_EQ(NextTableRow(1), 2);
  EXPECT_EQ(PreviousTableRow(1), 16);
  EXPECT_EQ(PreviousTableRow(9), 8);
}

TEST(FrequencyEditorTest, KeysItTakes) {
  struct Case {
    char32_t key;
    int column;
    bool offsetMode;
    bool accepted;
  };
  for (const Case& k : {
           Case{U'7', 1, false, true},
           Case{U'.', 2, false, true},
           Case{U'\b', 1, false, true},  // Backspace
           Case{U'a', 1, false, false},
           Case{U' ', 1, false, false},
           Case{U',', 1, false, false},
           Case{U'+', 2, true, true},
           Case{U'-', 2, true, true},
           Case{U'-', 2, false, false},
           Case{U'-', 1, true, false},
           Case{3, 1, false, false},   // Ctrl+C
           Case{22, 1, false, false},  // Ctrl+V
           Case{24, 2, true, false},   // Ctrl+X
           Case{U'\u00e9', 1, false, false},
           Case{U'\u4e2d', 1, false, false},
       }) {
    EXPECT_EQ(FrequencyEditorAccepts(k.key, k.column, k.offsetMode), k.accepted)
        << static_cast<unsigned>(k.key) << " in column " << k.column;
  }
  EXPECT_TRUE(FrequencyEditorAcceptsText("435.125", 1, false));
  EXPECT_TRUE(FrequencyEditorAcceptsText("-5", 2, true));
  EXPECT_FALSE(FrequencyEditorAcceptsText("-5", 2, false));
  EXPECT_FALSE(FrequencyEditorAcceptsText("435\n", 1, false));
  EXPECT_FALSE(FrequencyEditorAcceptsText("4\xc3\xa9", 1, false));
}

TEST(FrequencyEditorTest, WhatACommittedEntryShows) {
  struct Case {
    int column;
    const char* typed;
    std::optional<std::string> shown;
  };
  for (const Case& k : {
           Case{1, "435.1", "435.10000"},
           Case{1, "999", "999.00000"},
           Case{1, "", ""},
           Case{1, "4.3.5", "4.3.5"},
           Case{2, "440", "440.00000"},
           Case{2, "-5", "-5.00000"},
           Case{2, "+0.6", "+0.60000"},
           Case{2, "", std::nullopt},
           Case{2, "1..2", std::nullopt},
       }) {
    EXPECT_EQ(CommittedCellText(k.column, k.typed), k.shown) << k.column << " " << k.typed;
  }
}

}  // namespace
}  // namespace cps
