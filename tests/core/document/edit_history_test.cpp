// Undo and redo: every kind of user action is one step back and one forward,
// and the whole document comes back byte for byte.
#include "core/document/edit_history.hpp"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "../settings/settings_test_support.hpp"
#include "core/channels/channel_commands.hpp"
#include "core/document/channel_list.hpp"
#include "core/document/records.hpp"
#include "core/run_state.hpp"
#include "core/settings/setting_fields.hpp"
#include "test_support.hpp"

namespace cps {
namespace {

using testing::FieldNamed;
using testing::MakeChannel;
using testing::RecordingObserver;
using testing::ScriptedPrompter;
using testing::SetChannels;

// The document and its side record as the files would hold them.
struct Bytes {
  DocumentRecord::Image document;
  SideFileRecord::Image side;
  bool operator==(const Bytes&) const = default;
};

Bytes BytesOf(const RunState& state) {
  return {state.workingDocument.toBytes(), state.workingSide.toBytes()};
}

constexpr int kScanKeyFunction = 8;

// Public, so that the table's actions can reach the run's state.
class EditHistoryTest : public ::testing::Test {
 public:
  RunState state;
  ScriptedPrompter prompter;
  RecordingObserver observer;
  Effects effects{prompter, observer};

  // Four channels in group 1, the alert channel on position 3, scanning on
  // and the scan function on a key, a channel copied; the history empty.
  void SetUp() override {
    SetChannels(state.workingDocument, {MakeChannel(1, "43500000"), MakeChannel(2, "43600000"),
                                        MakeChannel(3, "43700000"), MakeChannel(4, "43800000")});
    state.workingDocument.alert.bytes[AlertBlock::kChannelGroup] = 1;
    state.workingDocument.alert.bytes[AlertBlock::kChannelPosition] = 3;
    // The priority channels on existing channels too, so that re-pointing the
    // references after a command that moves nothing changes nothing.
    auto& scan = state.workingDocument.scan.bytes;
    scan[ScanBlock::kFirstChannelGroup] = 1;
    scan[ScanBlock::kFirstChannelGroup + 1] = 1;
    scan[ScanBlock::kSecondChannelGroup] = 1;
    scan[ScanBlock::kSecondChannelGroup + 1] = 4;
    state.workingDocument.scan.bytes[ScanBlock::kMode] = 1;
    state.workingDocument.keys.values[KeyBlock::kPf1Short] = kScanKeyFunction;
    state.channelClipboard.channels = {MakeChannel(9, "44000000")};
    state.habits.pasteNoPrompt = true;
    state.habits.deleteNoPrompt = true;
    StartNewHistory(state);
  }

  EditOutcome edit(int number, ChannelField field, std::string_view value) {
    return ApplyChannelEdit(state, effects, (number - 1) / 16, (number - 1) % 16 + 1,
                            static_cast<int>(field), value);
  }
};

struct ActionCase {
  const char* what;
  std::function<void(EditHistoryTest&)> act;
};

using T = EditHistoryTest;

TEST_F(EditHistoryTest, EachActionIsOneStepBackAndOneForward) {
  const std::vector<ActionCase> cases = {
      {"channel edit", [](T& t) { t.edit(2, ChannelField::Power, "0"); }},
      {"channel creation", [](T& t) { t.edit(20, ChannelField::Receive, "445"); }},
      {"channel removal", [](T& t) { t.edit(3, ChannelField::Receive, ""); }},
      {"tone edit with its side rule", [](T& t) { t.edit(1, ChannelField::DecodeTone, "7"); }},
      {"cut closing the gap",
       [](T& t) {
         t.state.habits.deleteCloses = true;
         CutChannel(t.state, t.effects, {2, 0});
       }},
      {"paste inserting",
       [](T& t) {
         t.state.habits.pasteInserts = true;
         PasteChannel(t.state, t.effects, {2, 0});
       }},
      {"paste overwriting",
       [](T& t) {
         PasteChannel(t.state, t.effects, {2, 0});
       }},
      {"insert",
       [](T& t) {
         InsertChannel(t.state, t.effects, {1, 0});
       }},
      {"delete",
       [](T& t) {
         DeleteChannel(t.state, t.effects, {3, 0});
       }},
      {"move up with wrap-around",
       [](T& t) {
         MoveChannelUp(t.state, t.effects, {1, 0});
       }},
      {"move down",
       [](T& t) {
         MoveChannelDown(t.state, t.effects, {3, 0});
       }},
      {"scan mode off takes the scan function off the keys",
       [](T& t) { SetSetting(t.state, t.effects, FieldNamed("scan.mode"), 0); }},
      {"alarm mode in the side record",
       [](T& t) { SetSetting(t.state, t.effects, FieldNamed("alert.mode"), 0); }},
      {"message line as text",
       [](T& t) { SetSetting(t.state, t.effects, FieldNamed("message.1"), "HELLO"); }},
  };
  for (const auto& c : cases) {
    SetUp();
    const Bytes before = BytesOf(state);
    c.act(*this);
    const Bytes after = BytesOf(state);
    ASSERT_NE(after, before) << c.what << ": the action changed nothing";

    EXPECT_TRUE(CanUndo(state)) << c.what;
    EXPECT_TRUE(Undo(state)) << c.what;
    EXPECT_EQ(BytesOf(state), before) << c.what;
    // One action, one step.
    EXPECT_FALSE(CanUndo(state)) << c.what;

    EXPECT_TRUE(CanRedo(state)) << c.what;
    EXPECT_TRUE(Redo(state)) << c.what;
    EXPECT_EQ(BytesOf(state), after) << c.what;
    EXPECT_FALSE(CanRedo(state)) << c.what;
  }
}

TEST_F(EditHistoryTest, AnActionThatChangesNothingMakesNoStep) {
  const std::vector<ActionCase> cases = {
      {"same receive frequency", [](T& t) { t.edit(1, ChannelField::Receive, "435"); }},
      {"refused value", [](T& t) { t.edit(1, ChannelField::Power, "9"); }},
      {"edit of a missing channel", [](T& t) { t.edit(40, ChannelField::Power, "1"); }},
      {"copy",
       [](T& t) {
         CopyChannel(t.state, t.effects, {1, 0});
       }},
      {"delete of an empty position",
       [](T& t) {
         DeleteChannel(t.state, t.effects, {9, 0});
       }},
      {"move between empty positions",
       [](T& t) {
         MoveChannelDown(t.state, t.effects, {9, 0});
       }},
      {"setting to its value",
       [](T& t) { SetSetting(t.state, t.effects, FieldNamed("scan.mode"), 1); }},
      {"refused setting",
       [](T& t) { SetSetting(t.state, t.effects, FieldNamed("scan.mode"), 77); }},
  };
  for (const auto& c : cases) {
    SetUp();
    const Bytes before = BytesOf(state);
    c.act(*this);
    EXPECT_EQ(BytesOf(state), before) << c.what;
    EXPECT_FALSE(CanUndo(state)) << c.what;
    EXPECT_FALSE(Undo(state)) << c.what;
    EXPECT_EQ(BytesOf(state), before) << c.what;
  }
}

TEST_F(EditHistoryTest, StepsInsideAStepMakeOne) {
  const Bytes before = BytesOf(state);
  {
    HistoryStep action(state);
    edit(1, ChannelField::Power, "0");
    edit(2, ChannelField::Power, "1");
    SetSetting(state, effects, FieldNamed("alert.mode"), 0);
  }
  EXPECT_TRUE(Undo(state));
  EXPECT_EQ(BytesOf(state), before);
  EXPECT_FALSE(CanUndo(state));
}

TEST_F(EditHistoryTest, UndoStepsBackInOrderAndANewEditEndsRedo) {
  const Bytes start = BytesOf(state);
  edit(1, ChannelField::Power, "0");
  const Bytes first = BytesOf(state);
  edit(2, ChannelField::Power, "1");

  EXPECT_TRUE(Undo(state));
  EXPECT_EQ(BytesOf(state), first);
  EXPECT_TRUE(Undo(state));
  EXPECT_EQ(BytesOf(state), start);
  EXPECT_TRUE(Redo(state));
  EXPECT_EQ(BytesOf(state), first);
  EXPECT_TRUE(CanRedo(state));

  edit(3, ChannelField::Power, "3");
  EXPECT_FALSE(CanRedo(state));
  EXPECT_FALSE(Redo(state));
  EXPECT_TRUE(Undo(state));
  EXPECT_EQ(BytesOf(state), first);
}

TEST_F(EditHistoryTest, NoUndoWhileAnActionIsUnderWay) {
  edit(1, ChannelField::Power, "0");
  HistoryStep action(state);
  EXPECT_FALSE(Undo(state));
  EXPECT_FALSE(Redo(state));
}

TEST_F(EditHistoryTest, TheOldestStepsGoBeyondTheBound) {
  constexpr int kExtra = 5;
  std::vector<Bytes> states{BytesOf(state)};
  for (std::size_t i = 0; i < EditHistory::kMaxSteps + kExtra; ++i) {
    edit(1, ChannelField::Power, i % 2 == 0 ? "0" : "1");
    states.push_back(BytesOf(state));
  }
  for (std::size_t i = 0; i < EditHistory::kMaxSteps; ++i) ASSERT_TRUE(Undo(state)) << i;
  EXPECT_FALSE(CanUndo(state));
  EXPECT_EQ(BytesOf(state), states[kExtra]);
  // All of it can be redone again.
  for (std::size_t i = 0; i < EditHistory::kMaxSteps; ++i) ASSERT_TRUE(Redo(state)) << i;
  EXPECT_EQ(BytesOf(state), states.back());
}

TEST_F(EditHistoryTest, ANewHistoryForgetsBothWays) {
  edit(1, ChannelField::Power, "0");
  edit(2, ChannelField::Power, "0");
  Undo(state);
  StartNewHistory(state);
  EXPECT_FALSE(CanUndo(state));
  EXPECT_FALSE(CanRedo(state));
}

TEST_F(EditHistoryTest, ANewDocumentDuringAnActionIsNotPartOfIt) {
  {
    HistoryStep action(state);
    state.workingDocument.message.lines[0].assign("OTHER DOCUMENT");
    StartNewHistory(state);
  }
  EXPECT_FALSE(CanUndo(state));
}

}  // namespace
}  // namespace cps
