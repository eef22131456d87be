// The channel commands on several selected rows: one question, one step of the
// edit history and one re-pointing of the references for the whole block.
#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "channel_commands_fixture.hpp"
#include "core/app/text_ids.hpp"
#include "core/channels/channel_commands.hpp"
#include "core/document/edit_history.hpp"
#include "core/run_state.hpp"

namespace cps {
namespace {

using namespace cps::testing;

struct BlockCase {
  const char* what;
  Layout before;
  bool deleteCloses;
  ChannelCommand command;
  std::vector<int> rows;
  int cursor;
  Layout after;
  std::optional<int> cursorRow;
  std::vector<int> selection;
};

TEST_F(ChannelCommandsTest, EachBlockCommandRearrangesOnlyItsGroup) {
  const Layout sparse = {17, 0, 19, 20, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 32};
  const std::vector<BlockCase> cases = {
      {"copy leaves the document and the selection",
       kFull,
       false,
       ChannelCommand::Copy,
       {2, 3},
       3,
       kFull,
       {},
       {2, 3}},
      {"delete with empty positions, gaps left",
       sparse,
       false,
       ChannelCommand::Delete,
       {1, 2, 3},
       1,
       {0, 0, 0, 20, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 32},
       1,
       {1}},
      {"delete with empty positions, gaps closed: every selected position closes",
       sparse,
       true,
       ChannelCommand::Delete,
       {1, 2, 3},
       3,
       {20, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 32, 0, 0, 0},
       1,
       {1}},
      {"delete of rows apart, gaps closed",
       kFull,
       true,
       ChannelCommand::Delete,
       {2, 5},
       5,
       {17, 19, 20, 22, 23, 24, 25, 26, 27, 28, 29, 30, 31, 32, 0, 0},
       2,
       {2}},
      {"cut as delete",
       kFull,
       false,
       ChannelCommand::Cut,
       {15, 16},
       15,
       {17, 18, 19, 20, 21, 22, 23, 24, 25, 26, 27, 28, 29, 30, 0, 0},
       15,
       {15}},
      {"move up: the displaced channel takes the block's other end",
       kFull,
       false,
       ChannelCommand::MoveUp,
       {4, 5, 6},
       6,
       {17, 18, 20, 21, 22, 19, 23, 24, 25, 26, 27, 28, 29, 30, 31, 32},
       5,
       {3, 4, 5}},
      {"move up from the top wraps: position 16 comes to the block's end",
       kFull,
       false,
       ChannelCommand::MoveUp,
       {1, 2, 3},
       1,
       {18, 19, 32, 20, 21, 22, 23, 24, 25, 26, 27, 28, 29, 30, 31, 17},
       16,
       {1, 2, 16}},
      {"move down to the bottom wraps",
       kFull,
       false,
       ChannelCommand::MoveDown,
       {15, 16},
       16,
       {32, 18, 19, 20, 21, 22, 23, 24, 25, 26, 27, 28, 29, 30, 17, 31},
       1,
       {1, 16}},
      {"move down of a block across the wrap (16 and 1)",
       kFull,
       false,
       ChannelCommand::MoveDown,
       {1, 16},
       1,
       {32, 17, 19, 20, 21, 22, 23, 24, 25, 26, 27, 28, 29, 30, 31, 18},
       2,
       {1, 2}},
      {"move of rows apart: each swaps with its neighbour",
       kFull,
       false,
       ChannelCommand::MoveUp,
       {3, 6},
       3,
       {17, 19, 18, 20, 22, 21, 23, 24, 25, 26, 27, 28, 29, 30, 31, 32},
       2,
       {2, 5}},
      {"move of the whole page turns it by one",
       kFull,
       false,
       ChannelCommand::MoveUp,
       {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16},
       8,
       {18, 19, 20, 21, 22, 23, 24, 25, 26, 27, 28, 29, 30, 31, 32, 17},
       7,
       {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16}},
      {"move of empty positions moves the gaps",
       sparse,
       false,
       ChannelCommand::MoveDown,
       {1, 2},
       2,
       {19, 17, 0, 20, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 32},
       3,
       {2, 3}},
      {"one selected row is the single command",
       kFull,
       false,
       ChannelCommand::MoveUp,
       {3},
       3,
       {17, 19, 18, 20, 21, 22, 23, 24, 25, 26, 27, 28, 29, 30, 31, 32},
       2,
       {}},
  };
  for (const auto& c : cases) {
    arrange(c.before);
    state.habits = noPrompts(false, c.deleteCloses);
    StartNewHistory(state);
    const auto result =
        RunChannelCommandOnRows(state, effects, c.command, {kGroup, c.cursor, c.rows});
    EXPECT_TRUE(result.ran()) << c.what << ": " << result.failure.detail;
    EXPECT_EQ(layout(), c.after) << c.what;
    EXPECT_EQ(result.cursorRow, c.cursorRow) << c.what;
    EXPECT_EQ(result.selection, c.selection) << c.what;
    expectListIntact(c.what);
    const bool changes = c.before != c.after;
    EXPECT_EQ(state.history.undoSteps(), changes ? 1U : 0U) << c.what;
    if (changes) {
      Undo(state);
      EXPECT_EQ(layout(), c.before) << c.what << ": one undo step brings the whole block back";
    }
  }
}

TEST_F(ChannelCommandsTest, ABlockAsksItsQuestionOnceAndRepointsTheReferencesOnce) {
  arrange(kFull);
  // The alert channel is position 3 of the group, which the block deletes.
  doc().alert.bytes[AlertBlock::kChannelGroup] = kGroup + 1;
  doc().alert.bytes[AlertBlock::kChannelPosition] = 3;
  state.habits = {};
  prompter.confirmAnswers = {{ConfirmResult::Yes, false}};
  observer.clear();

  const auto result =
      RunChannelCommandOnRows(state, effects, ChannelCommand::Delete, {kGroup, 2, {2, 3, 4}});

  EXPECT_TRUE(result.saveHabits);
  EXPECT_EQ(prompter.confirmations, std::vector<ConfirmMode>{ConfirmMode::Delete});
  EXPECT_EQ(observer.refReshows, 1);
  // The gaps closed: position 3 of the group now holds the channel that was at 6.
  EXPECT_EQ(alertRef(), std::make_pair(kGroup + 1, 3));
  EXPECT_EQ(layout()[2], 22);
}

TEST_F(ChannelCommandsTest, CopyOfABlockTakesItsChannelsInTableOrder) {
  const Layout sparse = {17, 0, 19, 20, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 32};
  arrange(sparse);
  RunChannelCommandOnRows(state, effects, ChannelCommand::Copy, {kGroup, 4, {1, 2, 3, 4}});
  ASSERT_EQ(state.channelClipboard.channels.size(), 3U);
  std::vector<int> tags;
  for (const auto& c : state.channelClipboard.channels) tags.push_back(tagOf(c));
  EXPECT_EQ(tags, (std::vector<int>{17, 19, 20}));

  // Empty positions only: the clipboard keeps what it held.
  RunChannelCommandOnRows(state, effects, ChannelCommand::Copy, {kGroup, 5, {5, 6}});
  EXPECT_EQ(state.channelClipboard.channels.size(), 3U);
}

TEST_F(ChannelCommandsTest, ABlockNeverRemovesTheLastChannels) {
  SetChannels(doc(), {tagged(kGroup * 16 + 2, 18), tagged(kGroup * 16 + 3, 19)});
  state.habits = noPrompts(false, true);
  for (const auto command : {ChannelCommand::Delete, ChannelCommand::Cut}) {
    state.channelClipboard.channels.clear();
    const auto result = RunChannelCommandOnRows(state, effects, command, {kGroup, 1, {1, 2, 3}});
    EXPECT_EQ(result.failure.textId, text::kLastChannelKept);
    EXPECT_EQ(doc().usedCount(), 2);
    EXPECT_FALSE(state.channelClipboard.hasChannel()) << "nothing is copied either";
  }
}

struct BlockPasteCase {
  const char* what;
  bool inserts;
  int group;
  int position;
  std::vector<int> numbers;  // where the three copied channels land
  std::vector<int> selection;
  int failureText;
};

TEST_F(ChannelCommandsTest, ABlockPasteActsAsPastingEachChannelOnePositionFurther) {
  const std::vector<BlockPasteCase> cases = {
      {"overwriting within the group", false, kGroup, 4, {20, 21, 22}, {4, 5, 6}, 0},
      {"across the end of the group into the next", false, kGroup, 15, {31, 32, 33}, {15, 16}, 0},
      {"past channel 128 the rest is left",
       false,
       7,
       15,
       {127, 128},
       {15, 16},
       text::kChannelsNotFitting},
  };
  for (const auto& c : cases) {
    arrange(kFull);
    state.channelClipboard.channels = {tagged(1, 91), tagged(2, 92), tagged(3, 93)};
    state.habits = noPrompts(c.inserts, false);
    StartNewHistory(state);
    const auto result = PasteChannels(state, effects, {c.position, c.group});
    for (std::size_t i = 0; i < c.numbers.size(); ++i) {
      const int index = FindChannelIndex(doc(), c.numbers[i]);
      ASSERT_GE(index, 0) << c.what;
      EXPECT_EQ(tagOf(doc().channels[static_cast<std::size_t>(index)]), 91 + static_cast<int>(i))
          << c.what;
    }
    EXPECT_EQ(result.selection, c.selection) << c.what;
    EXPECT_EQ(result.cursorRow, c.position) << c.what;
    EXPECT_EQ(result.failure.textId, c.failureText) << c.what;
    EXPECT_EQ(state.history.undoSteps(), 1U) << c.what;
  }
}

TEST_F(ChannelCommandsTest, ABlockPasteThatInsertsPushesTheGroupDownByTheBlock) {
  arrange(kFull);
  state.channelClipboard.channels = {tagged(1, 91), tagged(2, 92)};
  state.habits = {};
  prompter.confirmAnswers = {{ConfirmResult::Yes, false}};
  // Pasted through the Paste command, as the menu does: a clipboard of two is a block.
  const auto result =
      RunChannelCommandOnRows(state, effects, ChannelCommand::Paste, {kGroup, 3, {3}});
  EXPECT_EQ(layout(), (Layout{17, 18, 91, 92, 19, 20, 21, 22, 23, 24, 25, 26, 27, 28, 29, 30}));
  EXPECT_EQ(prompter.confirmations, std::vector<ConfirmMode>{ConfirmMode::Paste});
  EXPECT_TRUE(result.saveHabits);
  expectListIntact("insert");
}

TEST_F(ChannelCommandsTest, ABlockOutsideTheBandWarnsOnce) {
  arrange(kFull);
  state.channelClipboard.channels = {MakeChannel(1, "14500000"), MakeChannel(2, "14600000"),
                                     MakeChannel(3, "14700000")};
  state.habits = noPrompts(false, false);
  PasteChannels(state, effects, {1, kGroup});
  EXPECT_EQ(prompter.outOfBandWarnings(), 1);
}

TEST_F(ChannelCommandsTest, EditsOnRowsGoThroughTheRulesOfASingleEdit) {
  arrange({17, 0, 19, 20, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 32});
  // Position 3 has a tone to check, position 4 none: lockout by tone holds on 3 only.
  doc().channels[static_cast<std::size_t>(FindChannelIndex(doc(), kGroup * 16 + 3))].decodeTone = 5;
  StartNewHistory(state);
  const auto power = std::to_string(0);
  const auto toneLockout = std::to_string(2);
  const auto result =
      ApplyEditsToRows(state, effects, kGroup, {2, 3, 4},
                       {{static_cast<int>(ChannelField::Power), power},
                        {static_cast<int>(ChannelField::BusyLockout), toneLockout}});
  EXPECT_EQ(result.changed, 2);
  EXPECT_EQ(result.refused, 0);
  const auto& three =
      doc().channels[static_cast<std::size_t>(FindChannelIndex(doc(), kGroup * 16 + 3))];
  const auto& four =
      doc().channels[static_cast<std::size_t>(FindChannelIndex(doc(), kGroup * 16 + 4))];
  EXPECT_EQ(three.power, 0);
  EXPECT_EQ(four.power, 0);
  EXPECT_EQ(three.busyLockout, 2);
  EXPECT_EQ(four.busyLockout, 1);
  EXPECT_EQ(FindChannelIndex(doc(), kGroup * 16 + 2), -1) << "an empty position stays empty";
  EXPECT_EQ(state.history.undoSteps(), 1U);
}

}  // namespace
}  // namespace cps
