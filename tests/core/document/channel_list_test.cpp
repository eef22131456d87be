// The channel list and the single entry point through which the channel table
// and the channel dialog change a channel.
#include "core/document/channel_list.hpp"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/document/codec.hpp"
#include "core/document/records.hpp"
#include "core/run_state.hpp"
#include "test_support.hpp"

namespace cps {
namespace {

using testing::ChannelNumbers;
using testing::MakeChannel;
using testing::NulOffset;
using testing::RecordingObserver;
using testing::ScriptedPrompter;
using testing::SetChannels;

class ChannelListTest : public ::testing::Test {
 protected:
  RunState state;
  ScriptedPrompter prompter;
  RecordingObserver observer;
  Effects effects{prompter, observer};

  DocumentRecord& doc() { return state.workingDocument; }

  void useBand(const char* label) { state.model.select("TW530G", label); }

  // Edits channel `number` as the windows do: 0-based group index and position.
  EditOutcome edit(int number, int code, std::string_view value) {
    return ApplyChannelEdit(state, effects, (number - 1) / 16, (number - 1) % 16 + 1, code, value);
  }
  EditOutcome edit(int number, ChannelField field, std::string_view value) {
    return edit(number, static_cast<int>(field), value);
  }

  const ChannelRecord& channel(int number) {
    const int index = FindChannelIndex(doc(), number);
    EXPECT_GE(index, 0) << "channel " << number << " missing";
    return doc().channels.at(static_cast<std::size_t>(index < 0 ? 0 : index));
  }

  void setAlertRef(int group, int position) {
    doc().alert.bytes[7] = static_cast<std::uint8_t>(group);
    doc().alert.bytes[8] = static_cast<std::uint8_t>(position);
  }
  // The alert and both scan references on one channel, so that checking the
  // references after a receive edit finds nothing to change.
  void pointAllRefsAt(int number) {
    const auto group = static_cast<std::uint8_t>(GroupOfChannel(number));
    const auto position = static_cast<std::uint8_t>(PositionOfChannel(number));
    doc().alert.bytes[7] = group;
    doc().alert.bytes[8] = position;
    for (std::size_t at : {8u, 10u}) {
      doc().scan.bytes[at] = group;
      doc().scan.bytes[at + 1] = position;
    }
  }
  std::pair<int, int> alertRef() { return {doc().alert.bytes[7], doc().alert.bytes[8]}; }
  std::pair<int, int> scanRef1() { return {doc().scan.bytes[8], doc().scan.bytes[9]}; }
  std::pair<int, int> scanRef2() { return {doc().scan.bytes[10], doc().scan.bytes[11]}; }
};

// ---- Numbering and the plain list operations ----------------------------------

TEST(ChannelNumbering, GroupAndPositionOfAChannel) {
  EXPECT_EQ(ChannelNumberOf(1, 1), 1);
  EXPECT_EQ(ChannelNumberOf(2, 1), 17);
  EXPECT_EQ(ChannelNumberOf(8, 16), 128);
  for (int n = 1; n <= 128; ++n) {
    EXPECT_EQ(ChannelNumberOf(GroupOfChannel(n), PositionOfChannel(n)), n);
  }
  EXPECT_EQ(GroupOfChannel(16), 1);
  EXPECT_EQ(PositionOfChannel(16), 16);
  EXPECT_EQ(GroupOfChannel(17), 2);
  EXPECT_EQ(PositionOfChannel(17), 1);
}

TEST_F(ChannelListTest, AppendChannelMakesANewSimplexChannel) {
  SetChannels(doc(), {MakeChannel(5, "43500000")});
  const int index = AppendChannel(doc(), 17, "435.125", state.model.limits);
  EXPECT_EQ(index, 1);
  EXPECT_EQ(doc().channelCount, 2);
  const ChannelRecord& c = doc().channels[1];
  ChannelRecord expected;  // every option 0 ...
  expected.number = 17;
  expected.rxFreq.assign("43512500");
  expected.offset = NulOffset();
  expected.power = 2;  // ... except the power
  EXPECT_EQ(c, expected);
}

TEST_F(ChannelListTest, AppendChannelRefusesAFullList) {
  std::vector<ChannelRecord> full;
  for (int n = 1; n <= 128; ++n) full.push_back(MakeChannel(n, "43500000"));
  SetChannels(doc(), full);
  const auto before = doc().toBytes();
  EXPECT_EQ(AppendChannel(doc(), 1, "435", state.model.limits), -1);
  EXPECT_EQ(doc().toBytes(), before);
}

TEST_F(ChannelListTest, FindChannelIndexLooksOnlyAtEntriesInUse) {
  SetChannels(
      doc(), {MakeChannel(9, "43500000"), MakeChannel(2, "43500000"), MakeChannel(30, "43500000")});
  doc().channelCount = 2;  // channel 30 is now stale data behind the count
  EXPECT_EQ(FindChannelIndex(doc(), 9), 0);
  EXPECT_EQ(FindChannelIndex(doc(), 2), 1);
  EXPECT_EQ(FindChannelIndex(doc(), 30), -1);
  EXPECT_EQ(FindChannelIndex(doc(), 1), -1);
}

TEST_F(ChannelListTest, RemovingMovesLaterEntriesDown) {
  SetChannels(doc(), {MakeChannel(1, "43500000"), MakeChannel(17, "43600000"),
                      MakeChannel(2, "43700000"), MakeChannel(3, "43800000")});
  RemoveChannelAt(doc(), 1);
  EXPECT_EQ(ChannelNumbers(doc()), (std::vector<int>{1, 2, 3}));
  EXPECT_EQ(doc().channels[1].rxFreq.raw(), "43700000");

  RemoveChannelByNumber(doc(), 3);
  EXPECT_EQ(ChannelNumbers(doc()), (std::vector<int>{1, 2}));

  // Nothing happens for a number or an index that is not in the list.
  RemoveChannelByNumber(doc(), 64);
  RemoveChannelAt(doc(), 2);
  RemoveChannelAt(doc(), -1);
  EXPECT_EQ(ChannelNumbers(doc()), (std::vector<int>{1, 2}));
}

// ---- ApplyChannelEdit: creating and removing channels ---------------------------

TEST_F(ChannelListTest, FirstReceiveFrequencyCreatesTheChannelOnTheStepGrid) {
  SetChannels(doc(), {MakeChannel(1, "43500000")});
  setAlertRef(2, 1);  // points at channel 17, which does not exist yet
  doc().scan.bytes[10] = 0;
  doc().scan.bytes[11] = 0;

  const auto outcome = edit(17, ChannelField::Receive, "435.12345");

  EXPECT_EQ(outcome.status, EditStatus::Created);
  EXPECT_EQ(ChannelNumbers(doc()), (std::vector<int>{1, 17}));
  const ChannelRecord& c = channel(17);
  EXPECT_EQ(c.rxFreq.raw(), "43512000");
  EXPECT_EQ(c.rxStepKind, 0);
  EXPECT_EQ(c.txStepKind, 0);
  EXPECT_EQ(c.offsetDirection, 0);
  EXPECT_EQ(c.offset, NulOffset());
  EXPECT_EQ(c.power, 2);
  EXPECT_EQ(c.reserved, 0);
  // The references were checked against the new list.
  EXPECT_EQ(alertRef(), std::make_pair(2, 1));
  EXPECT_EQ(scanRef2(), std::make_pair(1, 1));
  EXPECT_EQ(observer.refReshows, 1);
  EXPECT_TRUE(prompter.asked.empty());
}

TEST_F(ChannelListTest, NewChannelOutsideTheBandIsClampedWithAWarning) {
  SetChannels(doc(), {MakeChannel(1, "43500000")});
  EXPECT_EQ(edit(2, ChannelField::Receive, "481").status, EditStatus::Created);
  EXPECT_EQ(channel(2).rxFreq.raw(), "48000000");
  EXPECT_EQ(edit(3, ChannelField::Receive, "abc").status, EditStatus::Created);
  EXPECT_EQ(channel(3).rxFreq.raw(), "40000000");
  EXPECT_EQ(prompter.outOfBandWarnings(), 2);
}

TEST_F(ChannelListTest, OnlyAReceiveFrequencyCreatesAChannel) {
  SetChannels(doc(), {MakeChannel(1, "43500000")});
  const auto before = doc().toBytes();
  for (const auto& [code, value] :
       std::vector<std::pair<ChannelField, const char*>>{{ChannelField::Receive, ""},
                                                         {ChannelField::Transmit, "440"},
                                                         {ChannelField::DecodeTone, "5"},
                                                         {ChannelField::Power, "1"}}) {
    EXPECT_EQ(edit(20, code, value).status, EditStatus::Ignored) << static_cast<int>(code);
  }
  EXPECT_EQ(doc().toBytes(), before);
}

TEST_F(ChannelListTest, ClearingTheReceiveFrequencyRemovesTheChannel) {
  SetChannels(doc(), {MakeChannel(1, "43500000"), MakeChannel(17, "43600000"),
                      MakeChannel(20, "43700000")});
  EXPECT_EQ(edit(17, ChannelField::Receive, "").status, EditStatus::Removed);
  EXPECT_EQ(ChannelNumbers(doc()), (std::vector<int>{1, 20}));
  EXPECT_EQ(observer.refReshows, 1);
}

TEST_F(ChannelListTest, TheLastChannelCannotBeCleared) {
  SetChannels(doc(), {MakeChannel(5, "43500000")});
  pointAllRefsAt(5);
  const auto before = doc().toBytes();
  EXPECT_EQ(edit(5, ChannelField::Receive, "").status, EditStatus::Ignored);
  EXPECT_EQ(doc().toBytes(), before);
  // Every receive edit checks the references, even one that changes nothing.
  EXPECT_EQ(observer.refReshows, 1);
}

// ---- ApplyChannelEdit: frequencies ----------------------------------------------

struct UnchangedCase {
  const char* what;
  bool offsetMode;
  ChannelField field;
  const char* value;
};

TEST_F(ChannelListTest, EditsThatRepeatTheShownValueChangeNothing) {
  const std::vector<UnchangedCase> cases = {
      {"receive as typed", false, ChannelField::Receive, "435.1"},
      {"receive as shown", false, ChannelField::Receive, "435.10000"},
      {"transmit frequency", false, ChannelField::Transmit, "440.1"},
      {"offset as shown", true, ChannelField::Transmit, "+5.00000"},
  };
  for (const auto& c : cases) {
    state.habits.offsetMode = c.offsetMode;
    SetChannels(doc(), {MakeChannel(1, "43510000", 2, "0500000")});
    pointAllRefsAt(1);
    const auto before = doc().toBytes();
    EXPECT_EQ(edit(1, c.field, c.value).status, EditStatus::Unchanged) << c.what;
    EXPECT_EQ(doc().toBytes(), before) << c.what;
  }
  EXPECT_TRUE(prompter.asked.empty());
}

struct ReceiveEditCase {
  const char* what;
  bool offsetMode;
  const char* rx;
  int direction;
  const char* offset;
  const char* newRx;
  const char* expectedRx;
  int expectedDirection;
  const char* expectedOffset;
  int warnings;
};

TEST_F(ChannelListTest, ReceiveEditKeepsWhatTheTransmitColumnShows) {
  const std::vector<ReceiveEditCase> cases = {
      // Frequency mode: the transmit frequency stays where it was.
      {"repeater, receive up", false, "43500000", 2, "0500000", "436", "43600000", 2, "0400000", 0},
      {"repeater, receive above transmit", false, "43500000", 2, "0500000", "445", "44500000", 1,
       "0500000", 0},
      {"simplex becomes split", false, "43500000", 0, "", "436", "43600000", 1, "0100000", 0},
      {"receive onto transmit", false, "43500000", 2, "0500000", "440", "44000000", 0, "0500000",
       0},
      // Offset mode: the offset stays.
      {"offset kept", true, "43500000", 2, "0500000", "436", "43600000", 2, "0500000", 0},
      {"minus offset kept", true, "43500000", 1, "0060000", "450.0125", "45001250", 1, "0060000",
       0},
      // The kept offset would put the transmit frequency out of the band: it is
      // put back to the band edge, with a warning.
      {"offset clamped", true, "47000000", 2, "0500000", "478", "47800000", 2, "0200000", 1},
      // The receive frequency itself is clamped first.
      {"receive clamped", false, "43500000", 2, "0500000", "490", "48000000", 1, "4000000", 1},
  };
  for (const auto& c : cases) {
    state.habits.offsetMode = c.offsetMode;
    prompter.clear();
    SetChannels(doc(), {MakeChannel(1, c.rx, c.direction, c.offset)});
    EXPECT_EQ(edit(1, ChannelField::Receive, c.newRx).status, EditStatus::Applied) << c.what;
    const ChannelRecord& ch = channel(1);
    EXPECT_EQ(ch.rxFreq.raw(), c.expectedRx) << c.what;
    EXPECT_EQ(ch.offsetDirection, c.expectedDirection) << c.what;
    EXPECT_EQ(ch.offset.raw(), c.expectedOffset) << c.what;
    EXPECT_EQ(prompter.outOfBandWarnings(), c.warnings) << c.what;
  }
}

TEST_F(ChannelListTest, ReceiveEditSnapsTheNewFrequency) {
  SetChannels(doc(), {MakeChannel(1, "43500000", 2, "0500000")});
  EXPECT_EQ(edit(1, ChannelField::Receive, "435.00833").status, EditStatus::Applied);
  const ChannelRecord& c = channel(1);
  EXPECT_EQ(c.rxFreq.raw(), "43500833");
  EXPECT_EQ(c.rxStepKind, 2);
  // The transmit frequency stayed at 440.00000, on the 5 kHz grid.
  EXPECT_EQ(c.txStepKind, 0);
  EXPECT_EQ(c.offsetDirection, 2);
  EXPECT_EQ(c.offset.raw(), "0499167");
}

struct TransmitEditCase {
  const char* what;
  bool offsetMode;
  const char* offset;
  int direction;
  const char* value;
  int expectedDirection;
  const char* expectedOffset;
  int warnings;
};

TEST_F(ChannelListTest, TransmitEditSetsDirectionAndOffset) {
  const std::vector<TransmitEditCase> cases = {
      {"above", false, "", 0, "440.1", 2, "0500000", 0},
      {"below", false, "", 0, "434.5", 1, "0060000", 0},
      {"above the band", false, "", 0, "481", 2, "4490000", 1},
      {"not a number", false, "0500000", 2, "abc", 1, "3510000", 1},
      {"back to simplex keeps the magnitude", false, "0500000", 2, "435.1", 0, "0500000", 0},
      {"cleared keeps the magnitude", false, "0500000", 2, "", 0, "0500000", 0},
      {"offset minus", true, "", 0, "-0.6", 1, "0060000", 0},
      {"offset plus", true, "0060000", 1, "+5", 2, "0500000", 0},
      {"offset unsigned is simplex", true, "0060000", 1, "5", 0, "0500000", 0},
      // In offset mode the transmit frequency is not clamped into the band.
      {"offset past the band", true, "", 0, "+60", 2, "6000000", 0},
  };
  for (const auto& c : cases) {
    state.habits.offsetMode = c.offsetMode;
    prompter.clear();
    SetChannels(doc(), {MakeChannel(1, "43510000", c.direction, c.offset)});
    EXPECT_EQ(edit(1, ChannelField::Transmit, c.value).status, EditStatus::Applied) << c.what;
    EXPECT_EQ(channel(1).offsetDirection, c.expectedDirection) << c.what;
    EXPECT_EQ(channel(1).offset.raw(), c.expectedOffset) << c.what;
    EXPECT_EQ(prompter.outOfBandWarnings(), c.warnings) << c.what;
  }
}

TEST_F(ChannelListTest, TransmitEditSnapsTheTransmitFrequency) {
  SetChannels(doc(), {MakeChannel(1, "43500000")});
  EXPECT_EQ(edit(1, ChannelField::Transmit, "440.00625").status, EditStatus::Applied);
  EXPECT_EQ(channel(1).txStepKind, 1);
  EXPECT_EQ(channel(1).rxStepKind, 0);
  EXPECT_EQ(channel(1).offset.raw(), "0500625");

  EXPECT_EQ(edit(1, ChannelField::Transmit, "440.00123").status, EditStatus::Applied);
  EXPECT_EQ(channel(1).txStepKind, 0);
  EXPECT_EQ(channel(1).offset.raw(), "0500000");
}

// ---- ApplyChannelEdit: options and their side rules -------------------------------

struct OptionCase {
  int code;
  std::int16_t ChannelRecord::*field;
  int maximum;
};

TEST_F(ChannelListTest, EachOptionCodeStoresIntoItsOwnField) {
  const std::vector<OptionCase> cases = {
      {6, &ChannelRecord::power, 3},        {7, &ChannelRecord::scanSkip, 1},
      {9, &ChannelRecord::spacing, 3},      {10, &ChannelRecord::pttId, 3},
      {11, &ChannelRecord::busyLockout, 2}, {12, &ChannelRecord::scramblerTalkaround, 1},
      {13, &ChannelRecord::autodial1, 16},  {14, &ChannelRecord::voiceEncryption, 1},
      {15, &ChannelRecord::txInhibit, 1},   {16, &ChannelRecord::talkaround, 1},
      {17, &ChannelRecord::scrambler, 1},   {18, &ChannelRecord::whisper, 1},
      {19, &ChannelRecord::compander, 1},   {21, &ChannelRecord::signallingRelation, 1},
      {22, &ChannelRecord::autodial2, 16},
  };
  for (const auto& c : cases) {
    ChannelRecord start = MakeChannel(1, "43500000");
    start.decodeTone = 3;  // a tone, so that no lockout rule interferes
    start.power = 0;
    SetChannels(doc(), {start});
    EXPECT_EQ(ChannelFieldMaximum(c.code), c.maximum) << "code " << c.code;

    EXPECT_EQ(edit(1, c.code, std::to_string(c.maximum)).status, EditStatus::Applied)
        << "code " << c.code;
    ChannelRecord expected = start;
    expected.*c.field = static_cast<std::int16_t>(c.maximum);
    EXPECT_EQ(channel(1), expected) << "code " << c.code;

    EXPECT_EQ(edit(1, c.code, " 0 ").status, EditStatus::Applied) << "code " << c.code;
    EXPECT_EQ(channel(1), start) << "code " << c.code;
  }
}

struct ToneRuleCase {
  const char* what;
  int decode, encode, lockout;  // before
  ChannelField field;
  const char* value;
  int expectedDecode, expectedEncode, expectedLockout, expectedSignalling;
};

TEST_F(ChannelListTest, ToneEditsFollowTheSideRules) {
  const std::vector<ToneRuleCase> cases = {
      {"first decode tone is copied", 0, 0, 0, ChannelField::DecodeTone, "5", 5, 5, 0, 0},
      {"decode tone beside an encode tone", 0, 7, 0, ChannelField::DecodeTone, "5", 5, 7, 0, 0},
      {"decode tone replaced", 3, 3, 0, ChannelField::DecodeTone, "200", 200, 3, 0, 0},
      {"decode none drops tone lockout", 3, 3, 2, ChannelField::DecodeTone, "0", 0, 3, 1, 0},
      {"decode none keeps carrier lockout", 3, 0, 1, ChannelField::DecodeTone, "0", 0, 0, 1, 0},
      {"decode tone keeps tone lockout", 3, 3, 2, ChannelField::DecodeTone, "4", 4, 3, 2, 0},
      {"first encode tone is copied", 0, 0, 0, ChannelField::EncodeTone, "282", 282, 282, 0, 0},
      {"encode tone beside a decode tone", 9, 0, 0, ChannelField::EncodeTone, "51", 9, 51, 0, 0},
      {"encode none keeps tone lockout", 9, 9, 2, ChannelField::EncodeTone, "0", 9, 0, 2, 0},
      {"signalling without decode tone drops tone lockout", 0, 5, 2,
       ChannelField::OptionalSignalling, "2", 0, 5, 1, 2},
      {"signalling with decode tone keeps tone lockout", 6, 0, 2, ChannelField::OptionalSignalling,
       "3", 6, 0, 2, 3},
      {"signalling leaves carrier lockout", 0, 0, 1, ChannelField::OptionalSignalling, "1", 0, 0, 1,
       1},
  };
  for (const auto& c : cases) {
    ChannelRecord start = MakeChannel(1, "43500000");
    start.decodeTone = static_cast<std::int16_t>(c.decode);
    start.encodeTone = static_cast<std::int16_t>(c.encode);
    start.busyLockout = static_cast<std::int16_t>(c.lockout);
    SetChannels(doc(), {start});
    EXPECT_EQ(edit(1, c.field, c.value).status, EditStatus::Applied) << c.what;
    const ChannelRecord& ch = channel(1);
    EXPECT_EQ(ch.decodeTone, c.expectedDecode) << c.what;
    EXPECT_EQ(ch.encodeTone, c.expectedEncode) << c.what;
    EXPECT_EQ(ch.busyLockout, c.expectedLockout) << c.what;
    EXPECT_EQ(ch.optionalSignalling, c.expectedSignalling) << c.what;
  }
}

struct LockoutCommitCase {
  const char* what;
  int decode, encode, scrambler, lockout;  // before
  ChannelField field;
  const char* value;
  int expectedLockout;
};

// Every front end commits through ApplyChannelEdit, so the lockout rule holds
// for the command line as much as for the table that redraws the row.
TEST_F(ChannelListTest, EveryCommitLeavesToneLockoutOnlyWhereATone) {
  const std::vector<LockoutCommitCase> cases = {
      {"tone lockout chosen without a tone", 0, 0, 0, 0, ChannelField::BusyLockout, "2", 1},
      {"tone lockout chosen with a decode tone", 5, 5, 0, 0, ChannelField::BusyLockout, "2", 2},
      {"tone lockout chosen, scrambler checks the encode tone", 5, 0, 1, 0,
       ChannelField::BusyLockout, "2", 1},
      {"scrambler on leaves no tone to check", 5, 0, 0, 2, ChannelField::Scrambler, "1", 1},
      {"scrambler on with an encode tone", 0, 5, 0, 2, ChannelField::Scrambler, "1", 2},
      {"another field on a channel stored with 2 and no tone", 0, 0, 0, 2, ChannelField::Power, "1",
       1},
      {"receive frequency of such a channel", 0, 0, 0, 2, ChannelField::Receive, "435.2", 1},
      {"carrier lockout without a tone stays", 0, 0, 0, 0, ChannelField::BusyLockout, "1", 1},
  };
  for (const auto& c : cases) {
    ChannelRecord start = MakeChannel(1, "43500000");
    start.decodeTone = static_cast<std::int16_t>(c.decode);
    start.encodeTone = static_cast<std::int16_t>(c.encode);
    start.scrambler = static_cast<std::int16_t>(c.scrambler);
    start.busyLockout = static_cast<std::int16_t>(c.lockout);
    SetChannels(doc(), {start});
    pointAllRefsAt(1);
    EXPECT_EQ(edit(1, c.field, c.value).status, EditStatus::Applied) << c.what;
    EXPECT_EQ(channel(1).busyLockout, c.expectedLockout) << c.what;
  }
}

// ---- ApplyChannelEdit: refusals -------------------------------------------------

struct RefusalCase {
  const char* what;
  bool offsetMode;
  int groupIndex;
  int position;
  int code;
  const char* value;
  EditStatus status;
};

TEST_F(ChannelListTest, RefusedEditsLeaveTheDocumentAsItWas) {
  const std::vector<RefusalCase> cases = {
      {"power above 3", false, 0, 1, 6, "4", EditStatus::Refused},
      {"negative option", false, 0, 1, 7, "-1", EditStatus::Refused},
      {"option not a number", false, 0, 1, 9, "x", EditStatus::Refused},
      {"option not whole", false, 0, 1, 10, "1.5", EditStatus::Refused},
      {"option empty", false, 0, 1, 12, "", EditStatus::Refused},
      {"lockout 3", false, 0, 1, 11, "3", EditStatus::Refused},
      {"tone past the table", false, 0, 1, 4, "283", EditStatus::Refused},
      {"encode tone negative", false, 0, 1, 5, "-1", EditStatus::Refused},
      {"auto-dial memory 17", false, 0, 1, 13, "17", EditStatus::Refused},
      {"auto-dial 2 memory 17", false, 0, 1, 22, "17", EditStatus::Refused},
      {"unknown code 0", false, 0, 1, 0, "1", EditStatus::Refused},
      {"unknown code 23", false, 0, 1, 23, "1", EditStatus::Refused},
      {"unknown code -1", false, 0, 1, -1, "1", EditStatus::Refused},
      {"code 3 names no field", false, 0, 1, 3, "1", EditStatus::Ignored},
      {"code 20 names no field", false, 0, 1, 20, "1", EditStatus::Ignored},
      {"offset not a number", true, 0, 1, 2, "abc", EditStatus::Refused},
      {"offset of 100 MHz", true, 0, 1, 2, "+100", EditStatus::Refused},
      {"offset of 150 MHz", true, 0, 1, 2, "-150.5", EditStatus::Refused},
      {"group below 1", false, -1, 1, 1, "435", EditStatus::Refused},
      {"group above 8", false, 8, 1, 1, "435", EditStatus::Refused},
      {"position 0", false, 0, 0, 1, "435", EditStatus::Refused},
      {"position 17", false, 0, 17, 1, "435", EditStatus::Refused},
  };
  for (const auto& c : cases) {
    state.habits.offsetMode = c.offsetMode;
    ChannelRecord first = MakeChannel(1, "43500000", 2, "0500000");
    first.decodeTone = 3;
    first.busyLockout = 2;
    SetChannels(doc(), {first, MakeChannel(17, "43600000")});
    setAlertRef(2, 1);
    const auto before = doc().toBytes();
    prompter.clear();
    observer.clear();

    const auto outcome =
        ApplyChannelEdit(state, effects, c.groupIndex, c.position, c.code, c.value);
    EXPECT_EQ(outcome.status, c.status) << c.what;
    if (c.status == EditStatus::Refused) {
      EXPECT_TRUE(outcome.failure.failed()) << c.what;
    }
    EXPECT_EQ(doc().toBytes(), before) << c.what;
    EXPECT_TRUE(prompter.asked.empty()) << c.what;
    EXPECT_EQ(observer.refReshows, 0) << c.what;
  }
}

// ---- ApplyChannelEdit: the windows ------------------------------------------------

struct WindowCase {
  bool tableOpen;
  bool dialogOpen;
};

TEST_F(ChannelListTest, OnlyOpenWindowsAreAskedToRedraw) {
  const std::vector<WindowCase> windows = {
      {false, false}, {true, false}, {false, true}, {true, true}};
  // Edits that apply, change nothing, are ignored or are refused by their value.
  const std::vector<std::pair<ChannelField, const char*>> edits = {
      {ChannelField::Power, "1"},
      {ChannelField::Receive, "435"},
      {ChannelField::Receive, ""},
      {ChannelField::Power, "9"},
  };
  for (const auto& w : windows) {
    for (const auto& [field, value] : edits) {
      state.channelEditing.isChannelWindowOpen = w.tableOpen;
      state.channelEditing.isEditDialogOpen = w.dialogOpen;
      SetChannels(doc(), {MakeChannel(33, "43500000")});
      observer.clear();
      edit(33, field, value);
      EXPECT_EQ(observer.gridRedraws, w.tableOpen ? std::vector<int>{33} : std::vector<int>{})
          << "table " << w.tableOpen << " dialog " << w.dialogOpen << " field "
          << static_cast<int>(field) << " value " << value;
      EXPECT_EQ(observer.dialogReloads, w.dialogOpen ? 1 : 0)
          << "table " << w.tableOpen << " dialog " << w.dialogOpen << " field "
          << static_cast<int>(field) << " value " << value;
    }
  }
}

TEST_F(ChannelListTest, CreatingAChannelRedrawsItsRow) {
  state.channelEditing.isChannelWindowOpen = true;
  SetChannels(doc(), {MakeChannel(1, "43500000")});
  edit(128, ChannelField::Receive, "470");
  EXPECT_EQ(observer.gridRedraws, std::vector<int>{128});
  EXPECT_EQ(observer.dialogReloads, 0);
}

TEST_F(ChannelListTest, RefusedOffsetStillRedrawsTheRow) {
  // A refused entry is replaced on screen by what the document holds, as for
  // every other edit of an existing channel.
  state.habits.offsetMode = true;
  state.channelEditing.isChannelWindowOpen = true;
  state.channelEditing.isEditDialogOpen = true;
  SetChannels(doc(), {MakeChannel(1, "43500000", 2, "0500000")});
  for (const char* value : {"+150", "abc"}) {
    observer.clear();
    EXPECT_EQ(edit(1, ChannelField::Transmit, value).status, EditStatus::Refused) << value;
    EXPECT_EQ(observer.gridRedraws, std::vector<int>{1}) << value;
    EXPECT_EQ(observer.dialogReloads, 1) << value;
  }
}

// ---- Stored channel references --------------------------------------------------

struct RefCase {
  const char* what;
  std::vector<int> channels;
  int group;
  int position;
  int resolved;
};

TEST(ResolveChannelRef, FindsTheChannelOrTheNearestOne) {
  const std::vector<RefCase> cases = {
      {"exact", {1, 17, 18, 33}, 2, 1, 17},
      {"lowest in the group", {33, 20, 18, 1}, 2, 1, 18},
      {"lowest in the group, listed last", {33, 20, 1, 18}, 2, 5, 18},
      {"empty group: lowest overall", {40, 33, 5, 100}, 2, 1, 5},
      {"none stored: lowest overall", {40, 33}, 0, 0, 33},
      {"last channel", {128, 127}, 8, 16, 128},
      {"empty list", {}, 2, 1, 0},
  };
  for (const auto& c : cases) {
    DocumentRecord doc;
    std::vector<ChannelRecord> list;
    for (int n : c.channels) list.push_back(MakeChannel(n, "43500000"));
    SetChannels(doc, list);
    EXPECT_EQ(ResolveChannelRef(doc, c.group, c.position), c.resolved) << c.what;
  }
}

TEST_F(ChannelListTest, RemovingAReferencedChannelRepointsTheReference) {
  SetChannels(doc(), {MakeChannel(5, "43500000"), MakeChannel(17, "43600000"),
                      MakeChannel(20, "43700000"), MakeChannel(40, "43800000")});
  setAlertRef(2, 1);
  doc().alert.bytes[6] = 0x5A;  // the alert's other settings are not touched
  doc().alert.bytes[9] = 0xA5;
  doc().scan.bytes[8] = 2;
  doc().scan.bytes[9] = 1;
  doc().scan.bytes[10] = 3;
  doc().scan.bytes[11] = 8;
  doc().scan.bytes[7] = 0x77;

  ASSERT_EQ(edit(17, ChannelField::Receive, "").status, EditStatus::Removed);
  EXPECT_EQ(alertRef(), std::make_pair(2, 4));  // channel 20, the lowest left in group 2
  EXPECT_EQ(scanRef1(), std::make_pair(2, 4));
  EXPECT_EQ(scanRef2(), std::make_pair(3, 8));  // channel 40 still exists

  ASSERT_EQ(edit(20, ChannelField::Receive, "").status, EditStatus::Removed);
  EXPECT_EQ(alertRef(), std::make_pair(1, 5));  // group 2 is empty: channel 5
  EXPECT_EQ(scanRef1(), std::make_pair(1, 5));
  EXPECT_EQ(scanRef2(), std::make_pair(3, 8));

  EXPECT_EQ(doc().alert.bytes[6], 0x5A);
  EXPECT_EQ(doc().alert.bytes[9], 0xA5);
  EXPECT_EQ(doc().scan.bytes[7], 0x77);
  EXPECT_EQ(observer.refReshows, 2);
}

TEST(RevalidateChannelRefs, EmptyListClearsEveryReference) {
  DocumentRecord doc;
  doc.alert.bytes[7] = 2;
  doc.alert.bytes[8] = 1;
  doc.scan.bytes = {1, 2, 3, 4, 5, 6, 7, 8, 1, 1, 8, 16};
  RecordingObserver observer;
  RevalidateChannelRefs(doc, observer);
  EXPECT_EQ(doc.alert.bytes[7], 0);
  EXPECT_EQ(doc.alert.bytes[8], 0);
  EXPECT_EQ(doc.scan.bytes, (std::array<std::uint8_t, 12>{1, 2, 3, 4, 5, 6, 7, 8, 0, 0, 0, 0}));
  EXPECT_EQ(observer.refReshows, 1);
}

// ---- Busy channel lockout ---------------------------------------------------------

struct LockoutCase {
  const char* what;
  int decode, encode, scrambler, lockout;
  bool hasTone;
  int expectedLockout;
};

TEST(CheckBusyLockout, ToneLockoutNeedsTheToneItChecks) {
  const std::vector<LockoutCase> cases = {
      {"no tones", 0, 0, 0, 2, false, 1},
      {"decode tone", 5, 0, 0, 2, true, 2},
      {"only encode tone, no scrambler", 0, 5, 0, 2, false, 1},
      {"encode tone with scrambler", 0, 5, 1, 2, true, 2},
      {"only decode tone with scrambler", 5, 0, 1, 2, false, 1},
      {"carrier lockout stays", 0, 0, 0, 1, false, 1},
      {"no lockout stays", 0, 0, 0, 0, false, 0},
  };
  for (const auto& c : cases) {
    DocumentRecord doc;
    ChannelRecord ch = MakeChannel(9, "43500000");
    ch.decodeTone = static_cast<std::int16_t>(c.decode);
    ch.encodeTone = static_cast<std::int16_t>(c.encode);
    ch.scrambler = static_cast<std::int16_t>(c.scrambler);
    ch.busyLockout = static_cast<std::int16_t>(c.lockout);
    SetChannels(doc, {MakeChannel(1, "43500000"), ch});
    const auto check = CheckBusyLockout(doc, 9);
    EXPECT_TRUE(check.found) << c.what;
    EXPECT_EQ(check.hasTone, c.hasTone) << c.what;
    EXPECT_EQ(doc.channels[1].busyLockout, c.expectedLockout) << c.what;
  }
}

TEST(CheckBusyLockout, MissingChannelIsNotFound) {
  DocumentRecord doc;
  SetChannels(doc, {MakeChannel(1, "43500000")});
  const auto before = doc.toBytes();
  EXPECT_FALSE(CheckBusyLockout(doc, 2).found);
  EXPECT_EQ(doc.toBytes(), before);
}

}  // namespace
}  // namespace cps
