// Rows of channels from a spreadsheet into the channel table.
#include "core/channels/channel_rows.hpp"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "../document/test_support.hpp"
#include "core/app/text_ids.hpp"
#include "core/document/codec.hpp"
#include "core/document/edit_history.hpp"
#include "core/run_state.hpp"

namespace cps {
namespace {

using testing::MakeChannel;
using testing::RecordingObserver;
using testing::ScriptedPrompter;
using testing::SetChannels;

// Two languages whose texts cannot be mistaken for each other.
const TextOf kEnglish = [](int id) { return "e" + std::to_string(id); };
const TextOf kChinese = [](int id) { return "c" + std::to_string(id); };
const std::vector<TextOf> kLanguages{kEnglish, kChinese};

class ChannelRowsTest : public ::testing::Test {
 protected:
  RunState state;
  ScriptedPrompter prompter;
  RecordingObserver observer;
  Effects effects{prompter, observer};

  void SetUp() override { StartNewHistory(state); }

  const ChannelRecord* channel(int number) {
    const int index = FindChannelIndex(state.workingDocument, number);
    return index < 0 ? nullptr : &state.workingDocument.channels[static_cast<std::size_t>(index)];
  }

  // What the table shows for channel `number`: receive, transmit, the lists.
  std::string shown(int number, bool offsetMode = false) {
    const ChannelRecord* c = channel(number);
    if (c == nullptr) return "(empty)";
    const CodecContext codec{state.model.limits, prompter};
    const auto texts = ChannelRowTexts(*c, 1, offsetMode, codec, kEnglish);
    std::string line;
    for (int column = 1; column <= kLastFieldColumn; ++column) {
      if (column != kReservedColumn) line += texts[static_cast<std::size_t>(column)] + "|";
    }
    return line;
  }

  PastedRows paste(int group, int position, const std::string& text) {
    return PasteChannelRows(state, effects, {position, group}, text, kLanguages);
  }
};

TEST_F(ChannelRowsTest, WhatCopyWritesComesBackTheSameElsewhere) {
  ChannelRecord a = MakeChannel(1, "43510000", 2, "0500000");
  a.decodeTone = 1;
  a.encodeTone = 60;
  a.power = 0;
  a.scanSkip = 1;
  a.optionalSignalling = 1;
  a.spacing = 2;
  ChannelRecord b = MakeChannel(2, "44012500");
  b.decodeTone = 200;
  SetChannels(state.workingDocument, {a, b});
  for (const bool offsetMode : {false, true}) {
    state.habits.offsetMode = offsetMode;
    const CodecContext codec{state.model.limits, prompter};
    const std::vector<ChannelRecord> copied{a, b};
    const std::string sheet = ChannelSpreadsheetText(copied, offsetMode, codec, kEnglish);
    const auto result = paste(2, 5, sheet);
    EXPECT_EQ(result.taken, 2);
    EXPECT_EQ(result.skipped, 0);
    EXPECT_EQ(result.rows, (std::vector<int>{5, 6}));
    EXPECT_EQ(shown(37), shown(1)) << offsetMode;
    EXPECT_EQ(shown(38), shown(2)) << offsetMode;
  }
}

struct SheetCase {
  const char* what;
  std::string sheet;
  int taken, skipped;
  std::string channel33;  // what channel 33 (group 3, position 1) shows afterwards
};

TEST_F(ChannelRowsTest, ColumnsComeFromTheHeaderOrTheTableOrder) {
  const std::string none = "e14013|";
  const std::vector<SheetCase> cases = {
      {"receive alone creates the channel", "435.5\n", 1, 0,
       "435.50000|435.50000|" + none + none + "e14016|e14017|e14013|e14020|"},
      {"eight cells from receive on, no header",
       "435.5\t440.5\t67.0\t71.9\te14014\te14018\te14013\te14022\n", 1, 0,
       "435.50000|440.50000|67.0|71.9|e14014|e14018|e14013|e14022|"},
      {"nine cells begin with the row number",
       "7\t435.5\t440.5\t67.0\t71.9\te14014\te14018\te14013\te14022\n", 1, 0,
       "435.50000|440.50000|67.0|71.9|e14014|e14018|e14013|e14022|"},
      {"a header in another order and another language decides",
       "c14007\tc14002\tsomething else\tc14005\n"
       "c14015\t435.5\tignored\tc14013\n",
       1, 0, "435.50000|435.50000|" + none + none + "e14015|e14017|e14013|e14020|"},
      {"an offset column is read as offsets whatever the table shows",
       "e14002\te14100\n435.5\t-5\n", 1, 0,
       "435.50000|430.50000|" + none + none + "e14016|e14017|e14013|e14020|"},
      {"a decimal comma and quoted cells", "\"435,5\"\t\"440,25\"\n", 1, 0,
       "435.50000|440.25000|" + none + none + "e14016|e14017|e14013|e14020|"},
      {"Windows line ends and a last line without its end", "435.5\r\n436.5", 2, 0,
       "435.50000|435.50000|" + none + none + "e14016|e14017|e14013|e14020|"},
      {"a text that is no frequency skips its row", "abc\n436.5\n", 1, 1, "(empty)"},
      {"a tone not in the list skips its row", "435.5\t435.5\t99.9\n", 0, 1, "(empty)"},
      {"an item of no list skips its row", "435.5\t435.5\t67.0\t67.0\tvery high\n", 0, 1,
       "(empty)"},
      {"an empty position needs a receive frequency", "\t440.5\n", 0, 1, "(empty)"},
      {"a blank line leaves its position", "\n436.5\n", 1, 0, "(empty)"},
  };
  for (const auto& c : cases) {
    state = RunState{};
    SetChannels(state.workingDocument, {MakeChannel(1, "43000000")});
    StartNewHistory(state);
    const auto result = paste(2, 1, c.sheet);
    EXPECT_EQ(result.taken, c.taken) << c.what;
    EXPECT_EQ(result.skipped, c.skipped) << c.what;
    EXPECT_EQ(shown(33), c.channel33) << c.what;
    EXPECT_EQ(state.history.undoSteps(), c.taken > 0 ? 1U : 0U) << c.what;
  }
}

TEST_F(ChannelRowsTest, ARowChangesOnlyItsListedFieldsOfAChannelThatExists) {
  ChannelRecord c = MakeChannel(33, "43510000");
  c.decodeTone = 5;
  c.encodeTone = 5;
  c.spacing = 1;
  SetChannels(state.workingDocument, {c});
  const std::string before = shown(33);
  paste(2, 1, "e14007\te14008\ne14014\te14018\n");
  ChannelRecord expected = c;
  expected.power = 0;
  expected.scanSkip = 1;
  EXPECT_EQ(*channel(33), expected);
  EXPECT_NE(shown(33), before);
}

TEST_F(ChannelRowsTest, RowsRunIntoTheNextGroupAndNeverPastChannel128) {
  SetChannels(state.workingDocument, {MakeChannel(1, "43000000")});
  auto result = paste(0, 16, "435\n436\n");
  EXPECT_EQ(result.taken, 2);
  EXPECT_NE(channel(16), nullptr);
  EXPECT_NE(channel(17), nullptr);
  EXPECT_EQ(result.rows, (std::vector<int>{16})) << "only the rows of the page shown are selected";

  result = paste(7, 16, "435\n436\n437\n");
  EXPECT_EQ(result.taken, 1);
  EXPECT_EQ(result.skipped, 2);
  EXPECT_NE(channel(128), nullptr);
}

TEST_F(ChannelRowsTest, AWarningShowsOncePerPasteAndARefusedRowLeavesItsChannel) {
  SetChannels(state.workingDocument, {MakeChannel(1, "43000000")});
  // Three receive frequencies below the band: each is brought in, with one warning.
  const auto result = paste(0, 2, "145\n146\n147\n");
  EXPECT_EQ(result.taken, 3);
  EXPECT_EQ(prompter.outOfBandWarnings(), 1);

  // An offset of 100 MHz or more is refused: the row is skipped, the channel kept.
  state.habits.offsetMode = true;
  const ChannelRecord kept = *channel(1);
  const auto refused = paste(0, 1, "e14002\te14100\te14007\n435\t+150\te14014\n");
  EXPECT_EQ(refused.skipped, 1);
  EXPECT_EQ(*channel(1), kept);
}

TEST_F(ChannelRowsTest, NothingToTakeIsNoRows) {
  SetChannels(state.workingDocument, {MakeChannel(1, "43000000")});
  for (const std::string sheet : {"", "\n\n", "e14002\te14003\n"}) {
    const auto result = paste(0, 1, sheet);
    EXPECT_FALSE(result.anyRows()) << sheet;
    EXPECT_EQ(state.history.undoSteps(), 0U) << sheet;
  }
}

}  // namespace
}  // namespace cps
