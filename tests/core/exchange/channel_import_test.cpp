// Importing a channel list into the working document: the plan the user sees
// first, the rows the radio cannot hold exactly, merge, replace and renumber,
// what a row leaves alone, one undo step, and the round trip through export.
#include "core/exchange/channel_import.hpp"

#include <gtest/gtest.h>

#include <cctype>
#include <string>
#include <vector>

#include "../document/test_support.hpp"
#include "core/app/text_ids.hpp"
#include "core/document/codec.hpp"
#include "core/run_state.hpp"

namespace cps {
namespace {

using testing::ChannelNumbers;
using testing::MakeChannel;
using testing::RecordingObserver;
using testing::ScriptedPrompter;
using testing::SetChannels;

constexpr const char* kHeader =
    "Location,Name,Frequency,Duplex,Offset,Tone,rToneFreq,cToneFreq,DtcsCode,DtcsPolarity,"
    "RxDtcsCode,CrossMode,Mode,TStep,Skip,Power,Comment,URCALL,RPT1CALL,RPT2CALL,DVCODE\n";

// A full row with the tone columns neutral.
std::string row(const std::string& location, const std::string& frequency,
                const std::string& duplex = "", const std::string& offset = "0.000000",
                const std::string& mode = "FM", const std::string& power = "5.0W") {
  return location + ",," + frequency + "," + duplex + "," + offset +
         ",,88.5,88.5,023,NN,023,Tone->Tone," + mode + ",5.00,," + power + ",,,,,\n";
}

class ChannelImportTest : public ::testing::Test {
 protected:
  void SetUp() override {
    state.model.select("TW530G", "400 - 480 MHz");
    SetChannels(doc(), {MakeChannel(1, "44000000")});
  }

  DocumentRecord& doc() { return state.workingDocument; }
  const ChannelRecord& channel(int number) {
    const int index = FindChannelIndex(doc(), number);
    EXPECT_GE(index, 0) << "channel " << number << " missing";
    return doc().channels.at(static_cast<std::size_t>(index < 0 ? 0 : index));
  }
  ImportPlan plan(const std::string& csv, ImportOptions options = {}) {
    return PlanChannelImport(state, csv, options);
  }
  ImportPlan import(const std::string& csv, ImportOptions options = {}) {
    ImportPlan p = plan(csv, options);
    const ImportResult result = ApplyChannelImport(state, effects, p);
    EXPECT_EQ(result.applied, p.usable());
    return p;
  }
  std::vector<ExchangeMessage> skips(const ImportPlan& p) {
    std::vector<ExchangeMessage> out;
    for (const auto& r : p.rows) {
      if (r.skip) out.push_back(*r.skip);
    }
    return out;
  }

  RunState state;
  ScriptedPrompter prompter;  // any question fails the test
  RecordingObserver observer;
  Effects effects{prompter, observer};
};

// ---- Values the radio cannot hold exactly -------------------------------------------

struct SkipCase {
  const char* name;
  std::string row;
  ExchangeMessage why;
};

class SkippedRowTest : public ChannelImportTest, public ::testing::WithParamInterface<SkipCase> {};

TEST_P(SkippedRowTest, IsReportedAndNeverMoved) {
  const auto& c = GetParam();
  const ImportPlan p = plan(std::string(kHeader) + row("5", "435.000000") + c.row);
  ASSERT_FALSE(p.refusal.has_value());
  ASSERT_EQ(p.rows.size(), 2u);
  EXPECT_TRUE(p.rows[0].imported());
  EXPECT_EQ(p.rows[1].line, 3);
  EXPECT_EQ(p.rows[1].channel, 0);
  ASSERT_TRUE(p.rows[1].skip.has_value());
  EXPECT_EQ(*p.rows[1].skip, c.why);
  // The trial left no trace of the skipped row.
  EXPECT_EQ(ChannelNumbers(p.after), (std::vector<int>{1, 5}));
  EXPECT_TRUE(prompter.asked.empty());
}

INSTANTIATE_TEST_SUITE_P(
    Cases, SkippedRowTest,
    ::testing::Values(
        SkipCase{"ReceiveAboveTheBand",
                 row("6", "481.000000"),
                 {text::kRxOutOfBand, {"481.00000", "400 - 480 MHz"}}},
        SkipCase{"ReceiveBelowTheBand",
                 row("6", "145.500000"),
                 {text::kRxOutOfBand, {"145.50000", "400 - 480 MHz"}}},
        SkipCase{"TransmitOutsideTheBand",
                 row("6", "478.000000", "+", "5.000000"),
                 {text::kTxOutOfBand, {"483.00000", "400 - 480 MHz"}}},
        SkipCase{"SplitOutsideTheBand",
                 row("6", "440.000000", "split", "146.520000"),
                 {text::kTxOutOfBand, {"146.52000", "400 - 480 MHz"}}},
        SkipCase{"ReceiveOffTheStepGrid",
                 row("6", "435.123450"),
                 {text::kRxOffGrid, {"435.12345", "435.12000"}}},
        SkipCase{"TransmitOffTheStepGrid",
                 row("6", "435.000000", "+", "0.001000"),
                 {text::kTxOffGrid, {"435.00100", "435.00000"}}},
        SkipCase{"EightPointThreeThreeMark",
                 row("6", "400.024990"),
                 {text::kRxOffGrid, {"400.02499", "400.02500"}}},
        SkipCase{"LocationZero", row("0", "435.000000"), {text::kRowLocationRange, {"0"}}},
        SkipCase{"LocationPast128", row("129", "435.000000"), {text::kRowLocationRange, {"129"}}},
        SkipCase{"NoLocation", row("", "435.000000"), {text::kRowEmptyValue, {"Location"}}},
        SkipCase{"LocationTwice", row("5", "436.000000"), {text::kRowLocationTaken, {"5", "2"}}},
        SkipCase{"ModeTheRadioLacks",
                 row("6", "435.000000", "", "0", "AM"),
                 {text::kRowModeMissing, {"AM"}}},
        SkipCase{"MalformedFrequency",
                 row("6", "435.0.0"),
                 {text::kRowNotNumber, {"Frequency", "435.0.0"}}}),
    [](const auto& c) { return std::string(c.param.name); });

TEST_F(ChannelImportTest, SixPointTwoFiveAndEightPointThreeThreeGridsAreHeld) {
  const ImportPlan p = import(std::string(kHeader) + row("2", "400.006250") +
                              row("3", "400.008330") + row("4", "400.025000"));
  EXPECT_EQ(p.skippedCount(), 0);
  EXPECT_EQ(TrimFixed(channel(2).rxFreq), "40000625");
  EXPECT_EQ(channel(2).rxStepKind, 1);
  EXPECT_EQ(TrimFixed(channel(3).rxFreq), "40000833");
  EXPECT_EQ(channel(3).rxStepKind, 2);
}

// ---- Physical lines --------------------------------------------------------------------

TEST_F(ChannelImportTest, LinesAreTheFilesOwn) {
  const std::string csv = std::string("# from a repeater list\r\n\r\n") + kHeader +
                          "7,\"two\nline name\",435.000000\n"
                          "\n"
                          "8,,999\n";
  const ImportPlan p = plan(csv);
  ASSERT_EQ(p.rows.size(), 2u);
  EXPECT_EQ(p.rows[0].line, 4);
  EXPECT_EQ(p.rows[1].line, 7);
  EXPECT_EQ(p.unheldColumns, std::vector<std::string>{"Name"});
}

// ---- The file as a whole ------------------------------------------------------------------

struct RefusedFileCase {
  const char* name;
  std::string csv;
  ExchangeMessage why;
  // A file of this many empty lines instead: made when the case runs, since
  // every test process would otherwise copy megabytes at start-up.
  std::size_t emptyLines = 0;
};

class RefusedFileTest : public ChannelImportTest,
                        public ::testing::WithParamInterface<RefusedFileCase> {};

TEST_P(RefusedFileTest, ChangesNothing) {
  const DocumentRecord before = doc();
  const ImportPlan p =
      plan(GetParam().emptyLines != 0 ? std::string(GetParam().emptyLines, '\n') : GetParam().csv);
  ASSERT_TRUE(p.refusal.has_value());
  EXPECT_EQ(*p.refusal, GetParam().why);
  EXPECT_FALSE(ApplyChannelImport(state, effects, p).applied);
  EXPECT_EQ(doc(), before);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, RefusedFileTest,
    ::testing::Values(
        RefusedFileCase{"Empty", "", {text::kCsvNoHeader, {}}},
        RefusedFileCase{"NoFrequencyColumn", "Location,Name\n1,a\n", {text::kCsvNoHeader, {}}},
        RefusedFileCase{
            "NotUtf8", std::string(kHeader) + "1,Caf\xE9,435\n", {text::kCsvNotUtf8, {"2"}}},
        RefusedFileCase{"UnclosedQuote",
                        std::string(kHeader) + "1,\"a,435\n",
                        {text::kCsvUnclosedQuote, {"2"}}},
        RefusedFileCase{"TooLarge", "", {text::kCsvTooLarge, {"8"}}, kMaxChannelListBytes + 1}),
    [](const auto& c) { return std::string(c.param.name); });

TEST_F(ChannelImportTest, NoUsableRowChangesNothing) {
  const DocumentRecord before = doc();
  const ImportPlan p = plan(std::string(kHeader) + row("2", "999"));
  EXPECT_FALSE(p.usable());
  const ImportResult result = ApplyChannelImport(state, effects, p);
  EXPECT_FALSE(result.applied);
  EXPECT_EQ(result.refusal, (ExchangeMessage{text::kImportNothing, {}}));
  EXPECT_EQ(doc(), before);
  EXPECT_FALSE(CanUndo(state));
}

TEST_F(ChannelImportTest, UnknownColumnsAreNamedOnce) {
  const ImportPlan p = plan("Frequency,Location,Callsign,Notes\n435,2,A,b\n436,3,B,c\n");
  EXPECT_EQ(p.unknownColumns, (std::vector<std::string>{"Callsign", "Notes"}));
  EXPECT_EQ(p.importedCount(), 2);
}

TEST_F(ChannelImportTest, ADocumentChangedSinceThePlanIsLeftAlone) {
  const ImportPlan p = plan(std::string(kHeader) + row("2", "435"));
  doc().channels[0].power = 0;
  const DocumentRecord changed = doc();
  const ImportResult result = ApplyChannelImport(state, effects, p);
  EXPECT_FALSE(result.applied);
  EXPECT_EQ(result.refusal, (ExchangeMessage{text::kImportDocumentChanged, {}}));
  EXPECT_EQ(doc(), changed);
}

// ---- Merge, replace, renumber -----------------------------------------------------------------

TEST_F(ChannelImportTest, MergeKeepsWhatTheFormatDoesNotCarry) {
  ChannelRecord held = MakeChannel(4, "44000000", 2, "0500000");
  held.busyLockout = 2;
  held.decodeTone = 9;
  held.encodeTone = 9;
  held.scrambler = 1;
  held.compander = 1;
  held.pttId = 3;
  held.autodial1 = 4;
  held.whisper = 1;
  held.power = 3;    // the table shows it as Low
  held.spacing = 1;  // 20 kHz: as wide as FM
  SetChannels(doc(), {MakeChannel(1, "44000000"), held});

  const ImportPlan p =
      import(std::string(kHeader) +
             "4,,441.000000,+,5.000000,TSQL,88.5,88.5,023,NN,023,Tone->Tone,FM,5.00,"
             ",1.0W,,,,,\n" +
             row("9", "442.000000"));
  ASSERT_EQ(p.importedCount(), 2);
  EXPECT_TRUE(p.rows[0].replacesChannel);
  EXPECT_FALSE(p.rows[1].replacesChannel);
  const ChannelRecord& c = channel(4);
  EXPECT_EQ(TrimFixed(c.rxFreq), "44100000");
  EXPECT_EQ(c.offsetDirection, 2);
  EXPECT_EQ(TrimFixed(c.offset), "0500000");
  EXPECT_EQ(c.busyLockout, 2);
  EXPECT_EQ(c.scrambler, 1);
  EXPECT_EQ(c.compander, 1);
  EXPECT_EQ(c.pttId, 3);
  EXPECT_EQ(c.autodial1, 4);
  EXPECT_EQ(c.whisper, 1);
  EXPECT_EQ(c.power, 3);
  EXPECT_EQ(c.spacing, 1);
  // A new channel gets what a channel typed into the table gets.
  ChannelRecord typed = MakeChannel(9, "44200000");
  typed.spacing = 2;
  EXPECT_EQ(channel(9), typed);
  EXPECT_EQ(ChannelNumbers(doc()), (std::vector<int>{1, 4, 9}));
}

TEST_F(ChannelImportTest, NamedValuesChangeWhatTheTableShowsDifferently) {
  ChannelRecord held = MakeChannel(4, "44000000");
  held.power = 3;
  held.spacing = 1;
  SetChannels(doc(), {held});
  import(std::string(kHeader) + row("4", "440.000000", "", "0", "NFM", "2.5W"));
  EXPECT_EQ(channel(4).power, 1);
  EXPECT_EQ(channel(4).spacing, 0);
}

TEST_F(ChannelImportTest, ReplaceClearsTheListFirst) {
  SetChannels(
      doc(), {MakeChannel(1, "44000000"), MakeChannel(2, "44100000"), MakeChannel(70, "45000000")});
  const ImportPlan p =
      import(std::string(kHeader) + row("3", "430.000000") + row("2", "431.000000"), {true, false});
  EXPECT_FALSE(p.rows[1].replacesChannel);
  EXPECT_EQ(ChannelNumbers(doc()), (std::vector<int>{3, 2}));
  ChannelRecord typed = MakeChannel(2, "43100000");
  typed.spacing = 2;
  EXPECT_EQ(channel(2), typed);
}

TEST_F(ChannelImportTest, RenumberTakesFileOrder) {
  SetChannels(doc(), {MakeChannel(1, "44000000"), MakeChannel(3, "44100000")});
  const std::string csv =
      std::string(kHeader) + row("50", "430") + row("", "999") + row("50", "431") + row("7", "432");
  const ImportPlan merged = import(csv, {false, true});
  std::vector<int> placed;
  for (const auto& r : merged.rows) placed.push_back(r.channel);
  EXPECT_EQ(placed, (std::vector<int>{2, 0, 4, 5}));

  SetChannels(doc(), {MakeChannel(1, "44000000"), MakeChannel(3, "44100000")});
  const ImportPlan replaced = import(csv, {true, true});
  placed.clear();
  for (const auto& r : replaced.rows) placed.push_back(r.channel);
  EXPECT_EQ(placed, (std::vector<int>{1, 0, 2, 3}));
  EXPECT_EQ(ChannelNumbers(doc()), (std::vector<int>{1, 2, 3}));
}

TEST_F(ChannelImportTest, RenumberSkipsRowsPastTheLastFreeNumber) {
  std::vector<ChannelRecord> full;
  for (int n = 1; n <= 127; ++n) full.push_back(MakeChannel(n == 127 ? 128 : n, "44000000"));
  SetChannels(doc(), full);
  const ImportPlan p = plan(std::string(kHeader) + row("", "430") + row("", "431"), {false, true});
  EXPECT_EQ(p.rows[0].channel, 127);
  EXPECT_EQ(skips(p), (std::vector<ExchangeMessage>{{text::kRowNoFreeChannel, {}}}));
}

// ---- One undo step, the offset habit, the alert reference --------------------------------------

TEST_F(ChannelImportTest, OneUndoStepAndTheOffsetHabitAsItWas) {
  state.habits.offsetMode = true;
  const DocumentRecord before = doc();
  import(std::string(kHeader) + row("2", "430", "+", "5") + row("3", "431", "-", "0.6") +
         row("1", "432"));
  EXPECT_EQ(channel(2).offsetDirection, 2);
  EXPECT_EQ(TrimFixed(channel(3).offset), "0060000");
  EXPECT_TRUE(state.habits.offsetMode);
  EXPECT_EQ(state.history.undoSteps(), 1u);
  ASSERT_TRUE(Undo(state));
  EXPECT_EQ(doc(), before);
}

TEST_F(ChannelImportTest, ReplaceRepointsTheAlertChannel) {
  SetChannels(doc(), {MakeChannel(1, "44000000"), MakeChannel(20, "44100000")});
  doc().alert.bytes[AlertBlock::kChannelGroup] = 2;
  doc().alert.bytes[AlertBlock::kChannelGroup + 1] = 4;
  import(std::string(kHeader) + row("33", "430"), {true, false});
  EXPECT_EQ(doc().alert.bytes[AlertBlock::kChannelGroup], 3);
  EXPECT_EQ(doc().alert.bytes[AlertBlock::kChannelGroup + 1], 1);
}

// ---- Round trip ---------------------------------------------------------------------------------

struct RoundTripBand {
  const char* label;
  std::vector<ChannelRecord> channels;
};

ChannelRecord varied(int number, const char* rx, int direction, const char* offset,
                     const char* encode, const char* decode, int power, int spacing, int skip,
                     int inhibit) {
  ChannelRecord c = MakeChannel(number, rx, direction, offset);
  c.encodeTone = static_cast<std::int16_t>(*ToneIndexOfText(encode));
  c.decodeTone = static_cast<std::int16_t>(*ToneIndexOfText(decode));
  c.power = static_cast<std::int16_t>(power);
  c.spacing = static_cast<std::int16_t>(spacing);
  c.scanSkip = static_cast<std::int16_t>(skip);
  c.txInhibit = static_cast<std::int16_t>(inhibit);
  return c;
}

class RoundTripTest : public ChannelImportTest,
                      public ::testing::WithParamInterface<RoundTripBand> {};

TEST_P(RoundTripTest, ExportThenReplaceGivesEveryChannelBack) {
  state.model.select("TW530G", GetParam().label);
  SetChannels(doc(), GetParam().channels);
  CodecContext codec{state.model.limits, prompter};
  for (auto& c : doc().usedChannels())
    SnapChannelToStep(c, codec);  // the step kinds as the radio has them
  const DocumentRecord original = doc();
  const std::string csv = ExportChannelsCsv(original).text;

  RunState fresh;
  fresh.model.select("TW530G", GetParam().label);
  SetChannels(fresh.workingDocument, {MakeChannel(1, "14600000")});
  const ImportPlan p = PlanChannelImport(fresh, csv, {true, false});
  for (const auto& r : p.rows)
    ASSERT_FALSE(r.skip.has_value()) << "line " << r.line << ": " << r.skip->textId;
  ASSERT_TRUE(ApplyChannelImport(fresh, effects, p).applied);

  ASSERT_EQ(ChannelNumbers(fresh.workingDocument).size(), original.usedChannels().size());
  for (const auto& want : original.usedChannels()) {
    SCOPED_TRACE("channel " + std::to_string(want.number));
    const int index = FindChannelIndex(fresh.workingDocument, want.number);
    ASSERT_GE(index, 0);
    const ChannelRecord& got = fresh.workingDocument.channels[static_cast<std::size_t>(index)];
    EXPECT_EQ(got.rxFreq, want.rxFreq);
    EXPECT_EQ(got.offsetDirection, want.offsetDirection);
    if (want.offsetDirection != 0) {
      EXPECT_EQ(got.offset, want.offset);
    }
    EXPECT_EQ(got.rxStepKind, want.rxStepKind);
    EXPECT_EQ(got.txStepKind, want.txStepKind);
    EXPECT_EQ(got.encodeTone, want.encodeTone);
    EXPECT_EQ(got.decodeTone, want.decodeTone);
    EXPECT_EQ(got.power, want.power);
    EXPECT_EQ(got.scanSkip, want.scanSkip);
    EXPECT_EQ(got.txInhibit, want.txInhibit);
    EXPECT_EQ(got.spacing, want.spacing);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Bands, RoundTripTest,
    ::testing::Values(
        RoundTripBand{"136 - 174 MHz",
                      {varied(1, "14652000", 0, "", "none", "none", 2, 2, 0, 0),
                       varied(2, "14562500", 1, "0060000", "88.5", "none", 0, 0, 1, 0),
                       varied(3, "15000625", 2, "0060000", "100.0", "100.0", 1, 2, 0, 0),
                       varied(16, "17300833", 1, "1000000", "023N", "023I", 2, 0, 1, 0),
                       varied(17, "13600000", 2, "3800000", "754I", "67.0", 1, 0, 0, 1),
                       varied(128, "17400000", 0, "", "none", "205N", 0, 2, 1, 1)}},
        RoundTripBand{"400 - 480 MHz",
                      {varied(5, "44000000", 0, "", "254.1", "69.3", 2, 2, 0, 0),
                       varied(6, "47999000", 1, "7999000", "032N", "754N", 1, 0, 0, 0),
                       varied(7, "43500000", 2, "0500000", "none", "none", 0, 2, 0, 1),
                       varied(8, "43512500", 0, "", "205I", "none", 2, 0, 1, 0)}}),
    [](const auto& c) {
      std::string name;
      for (char ch : std::string(c.param.label)) {
        if (std::isdigit(static_cast<unsigned char>(ch))) name += ch;
      }
      return "Band" + name;
    });

}  // namespace
}  // namespace cps
