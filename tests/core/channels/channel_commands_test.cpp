// The channel commands on the channel under the table's cursor, with the edit
// habits and the paste and delete questions.
#include "core/channels/channel_commands.hpp"

#include <gtest/gtest.h>

#include <cstdio>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "../document/test_support.hpp"
#include "channel_commands_fixture.hpp"
#include "core/app/text_ids.hpp"
#include "core/document/codec.hpp"
#include "core/document/records.hpp"
#include "core/run_state.hpp"

namespace cps {
namespace {

using testing::ChannelNumbers;
using testing::MakeChannel;
using testing::RecordingObserver;
using testing::ScriptedPrompter;
using testing::SetChannels;
using namespace cps::testing;  // the fixture

// ---- What each command does to the group -----------------------------------------

struct CommandCase {
  const char* what;
  Layout before;
  HabitRecord habits;
  ChannelCommand command;
  int position;
  Layout after;
  std::optional<int> cursorRow;
};

TEST_F(ChannelCommandsTest, EachCommandRearrangesOnlyItsGroup) {
  const Layout sparse = {17, 0, 19, 20, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 32};
  const std::vector<CommandCase> cases = {
      {"copy leaves the document",
       kFull,
       noPrompts(false, false),
       ChannelCommand::Copy,
       3,
       kFull,
       {}},
      {"cut closing the gap",
       kFull,
       noPrompts(false, true),
       ChannelCommand::Cut,
       3,
       {17, 18, 20, 21, 22, 23, 24, 25, 26, 27, 28, 29, 30, 31, 32, 0},
       {}},
      {"cut leaving the gap",
       kFull,
       noPrompts(false, false),
       ChannelCommand::Cut,
       3,
       {17, 18, 0, 20, 21, 22, 23, 24, 25, 26, 27, 28, 29, 30, 31, 32},
       {}},
      {"delete closing the gap",
       sparse,
       noPrompts(false, true),
       ChannelCommand::Delete,
       3,
       {17, 0, 20, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 32, 0},
       {}},
      {"delete of an empty position still closes the gap",
       sparse,
       noPrompts(false, true),
       ChannelCommand::Delete,
       2,
       {17, 19, 20, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 32, 0},
       {}},
      {"delete of an empty position without closing",
       sparse,
       noPrompts(false, false),
       ChannelCommand::Delete,
       2,
       sparse,
       {}},
      {"delete at position 16",
       kFull,
       noPrompts(false, true),
       ChannelCommand::Delete,
       16,
       {17, 18, 19, 20, 21, 22, 23, 24, 25, 26, 27, 28, 29, 30, 31, 0},
       {}},
      {"insert at 1 of a full group loses position 16",
       kFull,
       noPrompts(false, false),
       ChannelCommand::Insert,
       1,
       {0, 17, 18, 19, 20, 21, 22, 23, 24, 25, 26, 27, 28, 29, 30, 31},
       {}},
      {"insert at 3 drops position 16",
       sparse,
       noPrompts(false, false),
       ChannelCommand::Insert,
       3,
       {17, 0, 0, 19, 20, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0},
       {}},
      {"insert at 16",
       kFull,
       noPrompts(false, false),
       ChannelCommand::Insert,
       16,
       {17, 18, 19, 20, 21, 22, 23, 24, 25, 26, 27, 28, 29, 30, 31, 0},
       {}},
      {"paste overwrites",
       kFull,
       noPrompts(false, false),
       ChannelCommand::Paste,
       7,
       {17, 18, 19, 20, 21, 22, kCopied, 24, 25, 26, 27, 28, 29, 30, 31, 32},
       {}},
      {"paste inserts",
       kFull,
       noPrompts(true, false),
       ChannelCommand::Paste,
       7,
       {17, 18, 19, 20, 21, 22, kCopied, 23, 24, 25, 26, 27, 28, 29, 30, 31},
       {}},
      {"paste onto an empty position",
       sparse,
       noPrompts(false, false),
       ChannelCommand::Paste,
       2,
       {17, kCopied, 19, 20, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 32},
       {}},
      {"move up from 1 wraps to 16",
       kFull,
       {},
       ChannelCommand::MoveUp,
       1,
       {32, 18, 19, 20, 21, 22, 23, 24, 25, 26, 27, 28, 29, 30, 31, 17},
       16},
      {"move down from 16 wraps to 1",
       kFull,
       {},
       ChannelCommand::MoveDown,
       16,
       {32, 18, 19, 20, 21, 22, 23, 24, 25, 26, 27, 28, 29, 30, 31, 17},
       1},
      {"move up",
       kFull,
       {},
       ChannelCommand::MoveUp,
       5,
       {17, 18, 19, 21, 20, 22, 23, 24, 25, 26, 27, 28, 29, 30, 31, 32},
       4},
      {"move down into an empty position",
       sparse,
       {},
       ChannelCommand::MoveDown,
       4,
       {17, 0, 19, 0, 20, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 32},
       5},
      {"move up into an empty position",
       sparse,
       {},
       ChannelCommand::MoveUp,
       3,
       {17, 19, 0, 20, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 32},
       2},
      {"move of an empty position onto an empty one",
       sparse,
       {},
       ChannelCommand::MoveDown,
       6,
       sparse,
       7},
  };
  for (const auto& c : cases) {
    arrange(c.before);
    state.habits = c.habits;
    copyToClipboard(tagged(5, kCopied));
    prompter.confirmations.clear();

    const auto result = RunChannelCommand(state, effects, c.command, {c.position, kGroup});

    EXPECT_TRUE(result.ran()) << c.what << ": " << result.failure.detail;
    EXPECT_EQ(layout(), c.after) << c.what;
    EXPECT_EQ(result.cursorRow, c.cursorRow) << c.what;
    EXPECT_TRUE(prompter.confirmations.empty()) << c.what;
    expectListIntact(c.what);
  }
}

TEST_F(ChannelCommandsTest, CopyTakesTheWholeEntryAndAMissingChannelChangesNothing) {
  ChannelRecord source = tagged(kGroup * 16 + 4, 20);
  source.reserved = 7;
  source.decodeTone = 12;
  SetChannels(doc(), {source});

  CopyChannel(state, effects, {4, kGroup});
  EXPECT_TRUE(state.channelClipboard.hasChannel());
  EXPECT_EQ(state.channelClipboard.channels, std::vector<ChannelRecord>{source});

  CopyChannel(state, effects, {5, kGroup});
  EXPECT_EQ(state.channelClipboard.channels, std::vector<ChannelRecord>{source});
}

TEST_F(ChannelCommandsTest, PastedChannelTakesTheNumberOfItsPlace) {
  arrange(kFull);
  ChannelRecord copied = tagged(3, kCopied);
  copied.encodeTone = 40;
  copied.scanSkip = 1;
  copyToClipboard(copied);
  state.habits = noPrompts(false, false);

  PasteChannel(state, effects, {9, kGroup});

  ChannelRecord expected = copied;
  expected.number = static_cast<std::int16_t>(kGroup * 16 + 9);
  EXPECT_EQ(doc().channels[static_cast<std::size_t>(FindChannelIndex(doc(), expected.number))],
            expected);
  // The clipboard keeps what was copied, for the next paste.
  EXPECT_EQ(state.channelClipboard.channels, std::vector<ChannelRecord>{copied});
}

TEST_F(ChannelCommandsTest, PastingAnEntryWithAReservedValueClearsThePlace) {
  const Layout start = {17, 0, 19, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0};
  const std::vector<std::pair<int, Layout>> cases = {
      {3, {17, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}},
      {2, start},
  };
  for (const auto& [position, after] : cases) {
    arrange(start);
    ChannelRecord copied = tagged(3, kCopied);
    copied.reserved = 1;
    copyToClipboard(copied);
    state.habits = noPrompts(false, false);
    EXPECT_TRUE(PasteChannel(state, effects, {position, kGroup}).ran());
    EXPECT_EQ(layout(), after) << "position " << position;
  }
}

TEST_F(ChannelCommandsTest, PastedToneLockoutNeedsATone) {
  arrange(kFull);
  ChannelRecord copied = tagged(3, kCopied);
  copied.busyLockout = 2;  // no tone to check against
  copyToClipboard(copied);
  state.habits = noPrompts(false, false);
  PasteChannel(state, effects, {2, kGroup});
  EXPECT_EQ(doc()
                .channels[static_cast<std::size_t>(FindChannelIndex(doc(), kGroup * 16 + 2))]
                .busyLockout,
            1);
}

// ---- The questions and the habits ------------------------------------------------

struct QuestionCase {
  const char* what;
  HabitRecord habits;
  std::vector<ConfirmAnswer> answers;
  ChannelCommand command;
  std::vector<ConfirmMode> asked;
  HabitRecord habitsAfter;
  bool saveHabits;
  Layout after;
};

HabitRecord habits(bool pasteNoPrompt, bool pasteInserts, bool deleteNoPrompt, bool deleteCloses) {
  return {pasteNoPrompt, pasteInserts, deleteNoPrompt, deleteCloses, false};
}

TEST_F(ChannelCommandsTest, TheAnswerSetsTheHabitsAndTheCommandFollowsThem) {
  using R = ConfirmResult;
  const Layout overwritten = {17, 18, kCopied, 20, 21, 22, 23, 24, 25, 26, 27, 28, 29, 30, 31, 32};
  const Layout inserted = {17, 18, kCopied, 19, 20, 21, 22, 23, 24, 25, 26, 27, 28, 29, 30, 31};
  const Layout closed = {17, 18, 20, 21, 22, 23, 24, 25, 26, 27, 28, 29, 30, 31, 32, 0};
  const Layout cleared = {17, 18, 0, 20, 21, 22, 23, 24, 25, 26, 27, 28, 29, 30, 31, 32};
  const std::vector<QuestionCase> cases = {
      {"paste, yes",
       habits(false, false, false, false),
       {{R::Yes, false}},
       ChannelCommand::Paste,
       {ConfirmMode::Paste},
       habits(false, true, false, false),
       true,
       inserted},
      {"paste, no and do not ask",
       habits(false, true, false, false),
       {{R::No, true}},
       ChannelCommand::Paste,
       {ConfirmMode::Paste},
       habits(true, false, false, false),
       true,
       overwritten},
      {"paste, closed keeps inserting",
       habits(false, true, false, false),
       {{R::Closed, true}},
       ChannelCommand::Paste,
       {ConfirmMode::Paste},
       habits(false, true, false, false),
       false,
       inserted},
      {"paste without asking",
       habits(true, true, false, false),
       {},
       ChannelCommand::Paste,
       {},
       habits(true, true, false, false),
       false,
       inserted},
      {"delete, yes",
       habits(false, false, false, false),
       {{R::Yes, false}},
       ChannelCommand::Delete,
       {ConfirmMode::Delete},
       habits(false, false, false, true),
       true,
       closed},
      {"delete, no and do not ask",
       habits(false, false, false, true),
       {{R::No, true}},
       ChannelCommand::Delete,
       {ConfirmMode::Delete},
       habits(false, false, true, false),
       true,
       cleared},
      {"delete, closed keeps closing",
       habits(false, false, false, true),
       {{R::Closed, false}},
       ChannelCommand::Delete,
       {ConfirmMode::Delete},
       habits(false, false, false, true),
       false,
       closed},
      {"delete without asking",
       habits(false, false, true, false),
       {},
       ChannelCommand::Delete,
       {},
       habits(false, false, true, false),
       false,
       cleared},
      {"cut asks the delete question",
       habits(false, false, false, false),
       {{R::Yes, true}},
       ChannelCommand::Cut,
       {ConfirmMode::Delete},
       habits(false, false, true, true),
       true,
       closed},
      {"insert asks nothing",
       habits(false, false, false, false),
       {},
       ChannelCommand::Insert,
       {},
       habits(false, false, false, false),
       false,
       {17, 18, 0, 19, 20, 21, 22, 23, 24, 25, 26, 27, 28, 29, 30, 31}},
  };
  for (const auto& c : cases) {
    arrange(kFull);
    copyToClipboard(tagged(5, kCopied));
    state.habits = c.habits;
    prompter.confirmations.clear();
    prompter.confirmAnswers.assign(c.answers.begin(), c.answers.end());

    const auto result = RunChannelCommand(state, effects, c.command, {3, kGroup});

    EXPECT_EQ(prompter.confirmations, c.asked) << c.what;
    EXPECT_EQ(state.habits, c.habitsAfter) << c.what;
    EXPECT_EQ(result.saveHabits, c.saveHabits) << c.what;
    EXPECT_EQ(layout(), c.after) << c.what;
  }
}

TEST_F(ChannelCommandsTest, NoWithDoNotAskMakesLaterDeletesClearWithoutAsking) {
  arrange(kFull);
  prompter.confirmAnswers = {{ConfirmResult::No, true}};
  DeleteChannel(state, effects, {3, kGroup});
  DeleteChannel(state, effects, {5, kGroup});
  EXPECT_EQ(prompter.confirmations, std::vector<ConfirmMode>{ConfirmMode::Delete});
  EXPECT_EQ(layout(), (Layout{17, 18, 0, 20, 0, 22, 23, 24, 25, 26, 27, 28, 29, 30, 31, 32}));
}

struct AnswerCase {
  ConfirmMode mode;
  ConfirmAnswer answer;
  HabitRecord expected;
};

TEST(ConfirmAnswer, OnlyAYesOrNoChangesTheHabitsOfItsQuestion) {
  using R = ConfirmResult;
  HabitRecord start = habits(true, true, true, true);
  start.offsetMode = true;
  auto with = [&start](bool a, bool b, bool c, bool d) {
    HabitRecord h = habits(a, b, c, d);
    h.offsetMode = start.offsetMode;
    return h;
  };
  const std::vector<AnswerCase> cases = {
      {ConfirmMode::Paste, {R::Yes, false}, with(false, true, true, true)},
      {ConfirmMode::Paste, {R::No, true}, with(true, false, true, true)},
      {ConfirmMode::Paste, {R::No, false}, with(false, false, true, true)},
      {ConfirmMode::Paste, {R::Closed, false}, start},
      {ConfirmMode::Delete, {R::Yes, false}, with(true, true, false, true)},
      {ConfirmMode::Delete, {R::No, true}, with(true, true, true, false)},
      {ConfirmMode::Delete, {R::No, false}, with(true, true, false, false)},
      {ConfirmMode::Delete, {R::Closed, false}, start},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(ApplyConfirmAnswer(start, c.mode, c.answer), c.expected)
        << static_cast<int>(c.mode) << " " << static_cast<int>(c.answer.result) << " "
        << c.answer.dontAskAgain;
  }
}

// ---- The channel references --------------------------------------------------------

struct RefCase {
  const char* what;
  ChannelCommand command;
  bool reservedClipboard;
  std::pair<int, int> alertAfter;  // 1-based group and position
};

TEST_F(ChannelCommandsTest, CommandsThatMoveChannelsRepointTheReferences) {
  // The group holds positions 3 and 5; the alert channel is position 3.
  const Layout start = {0, 0, 19, 0, 21, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0};
  const std::vector<RefCase> cases = {
      {"copy", ChannelCommand::Copy, false, {2, 3}},
      {"cut: the lowest channel left in the group", ChannelCommand::Cut, false, {2, 5}},
      {"delete closing the gap: the channel now at 4", ChannelCommand::Delete, false, {2, 4}},
      {"insert", ChannelCommand::Insert, false, {2, 4}},
      {"paste of a reserved entry", ChannelCommand::Paste, true, {2, 5}},
      {"paste", ChannelCommand::Paste, false, {2, 3}},
      {"move up", ChannelCommand::MoveUp, false, {2, 2}},
      {"move down", ChannelCommand::MoveDown, false, {2, 4}},
  };
  for (const auto& c : cases) {
    arrange(start);
    doc().alert.bytes[AlertBlock::kChannelGroup] = kGroup + 1;
    doc().alert.bytes[AlertBlock::kChannelPosition] = 3;
    ChannelRecord copied = tagged(1, kCopied);
    copied.reserved = c.reservedClipboard ? 1 : 0;
    copyToClipboard(copied);
    state.habits = noPrompts(false, c.command == ChannelCommand::Delete);
    observer.clear();

    RunChannelCommand(state, effects, c.command, {3, kGroup});

    EXPECT_EQ(alertRef(), c.alertAfter) << c.what;
    EXPECT_EQ(observer.refReshows, c.command == ChannelCommand::Copy ? 0 : 1) << c.what;
  }
}

// ---- Places off the table and an empty clipboard ----------------------------------

TEST_F(ChannelCommandsTest, APlaceOffTheTableChangesNothing) {
  const std::vector<TablePlace> places = {{0, 0}, {17, 0}, {1, -1}, {1, 8}, {-3, 2}};
  for (const auto command :
       {ChannelCommand::Cut, ChannelCommand::Copy, ChannelCommand::Paste, ChannelCommand::Insert,
        ChannelCommand::Delete, ChannelCommand::MoveUp, ChannelCommand::MoveDown}) {
    for (const auto place : places) {
      arrange(kFull);
      copyToClipboard(tagged(5, kCopied));
      const auto before = doc().toBytes();
      const auto result = RunChannelCommand(state, effects, command, place);
      EXPECT_FALSE(result.ran()) << static_cast<int>(command) << " at " << place.position << "/"
                                 << place.group;
      EXPECT_EQ(doc().toBytes(), before) << static_cast<int>(command);
    }
  }
  EXPECT_TRUE(prompter.confirmations.empty());
}

TEST_F(ChannelCommandsTest, PasteWithNothingCopiedChangesNothing) {
  arrange(kFull);
  const auto before = doc().toBytes();
  const auto result = PasteChannel(state, effects, {1, kGroup});
  EXPECT_FALSE(result.ran());
  EXPECT_EQ(doc().toBytes(), before);
  EXPECT_TRUE(prompter.confirmations.empty());
}

// A full list stays a list: whatever runs where, no entry is added past 128
// and no number occurs twice.
TEST_F(ChannelCommandsTest, AFullListKeepsEveryNumberOnce) {
  state.habits = noPrompts(true, true);
  for (const auto command :
       {ChannelCommand::Cut, ChannelCommand::Paste, ChannelCommand::Insert, ChannelCommand::Delete,
        ChannelCommand::MoveUp, ChannelCommand::MoveDown}) {
    for (const TablePlace place : {TablePlace{1, 0}, TablePlace{8, 3}, TablePlace{16, 7}}) {
      std::vector<ChannelRecord> all;
      for (int n = 128; n >= 1; --n) all.push_back(tagged(n, n));
      SetChannels(doc(), all);
      copyToClipboard(tagged(1, kCopied));
      EXPECT_TRUE(RunChannelCommand(state, effects, command, place).ran());
      const auto numbers = ChannelNumbers(doc());
      EXPECT_LE(numbers.size(), kMaxChannels);
      EXPECT_EQ(std::set<int>(numbers.begin(), numbers.end()).size(), numbers.size())
          << static_cast<int>(command);
      for (const int n : numbers) EXPECT_TRUE(n >= 1 && n <= 128) << n;
    }
  }
}

// ---- The document keeps a channel --------------------------------------------------

struct LastChannelCase {
  const char* what;
  int onlyChannel;  // the number of the document's one channel
  HabitRecord habits;
  ChannelCommand command;
  int position;        // in group index 0
  int copiedReserved;  // the clipboard entry's reserved field
};

// A radio needs at least one channel: clearing the receive field keeps the
// last one, and so do the commands. Each refuses before it asks anything,
// says why, and leaves the document and the clipboard as they were.
TEST_F(ChannelCommandsTest, NoCommandLeavesTheDocumentWithoutChannels) {
  const std::vector<LastChannelCase> cases = {
      {"cut", 5, noPrompts(false, false), ChannelCommand::Cut, 5, 0},
      {"cut closing the gap", 5, noPrompts(false, true), ChannelCommand::Cut, 5, 0},
      {"cut that would ask", 5, {}, ChannelCommand::Cut, 5, 0},
      {"delete", 5, noPrompts(false, false), ChannelCommand::Delete, 5, 0},
      {"delete that would ask", 5, {}, ChannelCommand::Delete, 5, 0},
      {"insert pushing out position 16", 16, noPrompts(false, false), ChannelCommand::Insert, 3, 0},
      {"insert on position 16", 16, noPrompts(false, false), ChannelCommand::Insert, 16, 0},
      {"paste of a reserved entry over it", 5, noPrompts(false, false), ChannelCommand::Paste, 5,
       1},
      {"inserting paste of a reserved entry", 16, noPrompts(true, false), ChannelCommand::Paste, 2,
       1},
  };
  for (const auto& c : cases) {
    SetChannels(doc(), {tagged(c.onlyChannel, c.onlyChannel)});
    ChannelRecord copied = tagged(40, kCopied);
    copied.reserved = static_cast<std::int16_t>(c.copiedReserved);
    copyToClipboard(copied);
    state.habits = c.habits;
    prompter.confirmations.clear();
    const auto before = doc().toBytes();

    const auto result = RunChannelCommand(state, effects, c.command, {c.position, 0});

    EXPECT_FALSE(result.ran()) << c.what;
    EXPECT_EQ(result.failure.textId, text::kLastChannelKept) << c.what;
    EXPECT_EQ(doc().toBytes(), before) << c.what;
    EXPECT_EQ(state.channelClipboard.channels, std::vector<ChannelRecord>{copied}) << c.what;
    EXPECT_EQ(state.habits, c.habits) << c.what;
    if (c.command != ChannelCommand::Paste) {
      EXPECT_TRUE(prompter.confirmations.empty()) << c.what;
    }
  }
  // With a second channel anywhere the same commands do their work.
  SetChannels(doc(), {tagged(5, 5), tagged(100, 100)});
  state.habits = noPrompts(false, false);
  EXPECT_TRUE(RunChannelCommand(state, effects, ChannelCommand::Delete, {5, 0}).ran());
  EXPECT_EQ(ChannelNumbers(doc()), std::vector<int>{100});
}

// ---- A pasted channel and the band ---------------------------------------------------

struct BandCase {
  const char* what;
  bool offsetMode;
  const char* rx;  // stored
  int direction;
  const char* offset;
  const char* rxAfter;  // stored
  const char* txAfter;  // MHz
  int warnings;
};

// A channel copied before a model or band change, or from another file, may
// lie outside the band the radio now works in. Pasted, it is brought into the
// band as a typed receive frequency is, with one warning; a channel inside the
// band is pasted as it was copied.
TEST_F(ChannelCommandsTest, APastedChannelIsBroughtIntoTheBand) {
  const std::vector<BandCase> cases = {
      {"below the band", false, "15000000", 2, "0060000", "40000000", "400.00000", 1},
      {"below the band, offset kept", true, "15000000", 2, "0060000", "40000000", "400.60000", 1},
      {"above the band", false, "49000000", 1, "0500000", "48000000", "480.00000", 1},
      {"transmit above the band", false, "47990000", 2, "0500000", "47990000", "480.00000", 1},
      {"inside the band", false, "43500000", 2, "0500000", "43500000", "440.00000", 0},
  };
  for (const auto& c : cases) {
    arrange(kFull);
    state.habits = noPrompts(false, false);
    state.habits.offsetMode = c.offsetMode;
    ChannelRecord copied = MakeChannel(3, c.rx, c.direction, c.offset);
    copied.decodeTone = 12;
    copyToClipboard(copied);
    prompter.clear();

    EXPECT_TRUE(PasteChannel(state, effects, {7, kGroup}).ran()) << c.what;

    const auto& pasted =
        doc().channels[static_cast<std::size_t>(FindChannelIndex(doc(), kGroup * 16 + 7))];
    const CodecContext codec{state.model.limits, prompter};
    EXPECT_EQ(pasted.rxFreq.raw(), c.rxAfter) << c.what;
    EXPECT_EQ(TxFrequencyText(pasted.rxFreq.raw(), pasted.offset.raw(), pasted.offsetDirection,
                              false, codec),
              c.txAfter)
        << c.what;
    EXPECT_EQ(pasted.decodeTone, 12) << c.what;
    EXPECT_EQ(prompter.outOfBandWarnings(), c.warnings) << c.what;
    EXPECT_EQ(prompter.asked.size(), static_cast<std::size_t>(c.warnings)) << c.what;
    // The clipboard keeps what was copied.
    EXPECT_EQ(state.channelClipboard.channels, std::vector<ChannelRecord>{copied}) << c.what;
  }
}

// ---- Which windows redraw -----------------------------------------------------------

struct RedrawCase {
  const char* what;
  bool tableOpen;
  bool dialogOpen;
  int dialogRow;
  ChannelCommand command;
  std::vector<int> rows;  // channel numbers the table redraws
  int pages;              // whole-page redraws of the table
  int dialogAtItsOwn;     // dialog reloads at its own position
  int dialogFollowing;    // dialog reloads following the table
};

TEST_F(ChannelCommandsTest, OnlyOpenWindowsShowingTheChangeRedraw) {
  const int n3 = kGroup * 16 + 3;
  const int n2 = kGroup * 16 + 2;
  const std::vector<RedrawCase> cases = {
      {"nothing open", false, false, 3, ChannelCommand::MoveUp, {}, 0, 0, 0},
      {"move with the table open", true, false, 3, ChannelCommand::MoveUp, {n3, n2}, 0, 0, 0},
      {"move with the dialog on the first row",
       false,
       true,
       3,
       ChannelCommand::MoveUp,
       {},
       0,
       1,
       0},
      {"move with the dialog on the second row",
       false,
       true,
       2,
       ChannelCommand::MoveUp,
       {},
       0,
       1,
       0},
      {"move with the dialog elsewhere", false, true, 9, ChannelCommand::MoveUp, {}, 0, 0, 0},
      {"delete without closing the gap", true, true, 3, ChannelCommand::Delete, {n3}, 0, 1, 0},
      {"insert redraws the page", true, true, 9, ChannelCommand::Insert, {n3}, 1, 0, 1},
  };
  for (const auto& c : cases) {
    arrange(kFull);
    state.habits = noPrompts(false, false);
    state.channelEditing.isChannelWindowOpen = c.tableOpen;
    state.channelEditing.isEditDialogOpen = c.dialogOpen;
    state.channelEditing.editRow = c.dialogRow;
    observer.clear();

    RunChannelCommand(state, effects, c.command, {3, kGroup});

    EXPECT_EQ(observer.gridRedraws, c.rows) << c.what;
    EXPECT_EQ(observer.pageRedraws, c.pages) << c.what;
    EXPECT_EQ(observer.dialogReloadsAtItsOwn, c.dialogAtItsOwn) << c.what;
    EXPECT_EQ(observer.dialogReloads, c.dialogFollowing) << c.what;
  }
}

// ---- Cut and copy offered ------------------------------------------------------------

struct UsableCase {
  const char* what;
  const char* rx;
  int reserved;
  bool usable;
};

TEST(ChannelUsable, OnlyAChannelWithAFrequencyAndNoReservedValue) {
  const std::vector<UsableCase> cases = {
      {"a channel", "43500000", 0, true},
      {"no frequency", "FFFFFFFF", 0, false},
      {"blank", "        ", 0, false},
      {"reserved value", "43500000", 1, false},
  };
  for (const auto& c : cases) {
    DocumentRecord doc;
    ChannelRecord channel = MakeChannel(20, c.rx);
    channel.reserved = static_cast<std::int16_t>(c.reserved);
    SetChannels(doc, {channel});
    EXPECT_EQ(IsChannelUsable(doc, 20), c.usable) << c.what;
  }
  DocumentRecord doc;
  SetChannels(doc, {MakeChannel(20, "43500000")});
  EXPECT_FALSE(IsChannelUsable(doc, 21)) << "a missing channel";
}

}  // namespace
}  // namespace cps
