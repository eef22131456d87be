// The two instances of the document (the working one and the saved image), the
// copies between them and the test for unsaved changes.
#include "core/document/instances.hpp"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "core/document/records.hpp"
#include "core/run_state.hpp"
#include "test_support.hpp"

namespace cps {
namespace {

using testing::MakeChannel;
using testing::SetChannels;

// A document with something in every block, as a file would hold it.
DocumentRecord SampleDocument() {
  DocumentRecord d;
  ChannelRecord a = MakeChannel(1, "43510000", 2, "0500000");
  a.decodeTone = 13;
  a.encodeTone = 13;
  ChannelRecord b = MakeChannel(17, "14500000");
  b.busyLockout = 1;
  ChannelRecord c = MakeChannel(2, "43600625", 1, "0060000");
  c.rxStepKind = 1;
  SetChannels(d, {a, b, c});
  d.fmPresets[0].empty = 0;
  d.fmPresets[0].frequency.assign("08800000");
  d.testFrequencies[0] = {FixedText<8>("43510000"), FixedText<8>("43510000")};
  d.modelInfo.modelName.assign("TW530G");
  d.modelInfo.bandIndex = 0;
  d.optionalFeatures.values[1] = 1;
  d.optionalFeatures.values[3] = 3;
  d.dtmf.idCode.assign("123");
  d.dtmf.idLength = 3;
  d.dtmf.specialCodes[0] = {4, FixedText<16>("12E4")};
  d.dtmf.memories[2] = {3, FixedText<16>("555")};
  d.message.lines[0].assign("HELLO");
  d.keys.values = {10, 10, 0, 0, 0, 0};
  d.alert.bytes[7] = 1;
  d.alert.bytes[8] = 1;
  d.scan.bytes[8] = 2;
  d.scan.bytes[9] = 1;
  return d;
}

class InstancesTest : public ::testing::Test {
 protected:
  RunState state;

  void SetUp() override {
    state.workingDocument = SampleDocument();
    state.savedImage = SampleDocument();
  }
  bool changed() const { return IsDocumentChanged(state); }
};

TEST_F(InstancesTest, EqualInstancesAreUnchanged) { EXPECT_FALSE(changed()); }

TEST_F(InstancesTest, SameChannelsInAnotherOrderAreUnchanged) {
  auto& w = state.workingDocument;
  std::swap(w.channels[0], w.channels[2]);
  EXPECT_FALSE(changed());
  std::swap(w.channels[0], w.channels[1]);
  EXPECT_FALSE(changed());
}

TEST_F(InstancesTest, StaleEntriesBehindTheCountAreNotCompared) {
  state.workingDocument.channels[3] = MakeChannel(99, "47000000");
  state.savedImage.channels[100].power = 3;
  EXPECT_FALSE(changed());
}

struct Mutation {
  const char* what;
  std::function<void(RunState&)> apply;
  bool changes;
};

// Each change is made to the working document (or its side record) only.
std::vector<Mutation> Mutations() {
  using R = RunState;
  return {
      // Channel list.
      {"channel added",
       [](R& s) {
         s.workingDocument.channels[3] = MakeChannel(3, "43700000");
         s.workingDocument.channelCount = 4;
       },
       true},
      {"channel removed", [](R& s) { s.workingDocument.channelCount = 2; }, true},
      {"channel renumbered", [](R& s) { s.workingDocument.channels[1].number = 18; }, true},
      {"same count, another channel",
       [](R& s) {
         s.workingDocument.channels[2] = s.workingDocument.channels[1];
         s.workingDocument.channels[2].number = 3;
       },
       true},
      {"receive frequency", [](R& s) { s.workingDocument.channels[0].rxFreq.assign("43511000"); },
       true},
      {"receive frequency spaces vs NULs",
       [](R& s) {
         s.workingDocument.channels[0].rxFreq = NulText<8>();
         s.savedImage.channels[0].rxFreq = FixedText<8>();
       },
       true},
      {"direction", [](R& s) { s.workingDocument.channels[0].offsetDirection = 1; }, true},
      {"offset", [](R& s) { s.workingDocument.channels[0].offset.assign("0060000"); }, true},
      {"offset NULs vs spaces", [](R& s) { s.workingDocument.channels[1].offset = FixedText<7>(); },
       false},
      {"reserved", [](R& s) { s.workingDocument.channels[0].reserved = 1; }, true},
      {"decode tone", [](R& s) { s.workingDocument.channels[0].decodeTone = 14; }, true},
      {"receive step kind", [](R& s) { s.workingDocument.channels[2].rxStepKind = 0; }, true},
      {"scan skip", [](R& s) { s.workingDocument.channels[1].scanSkip = 1; }, true},
      {"auto-dial 2", [](R& s) { s.workingDocument.channels[2].autodial2 = 3; }, true},
      // Model information.
      {"model name", [](R& s) { s.workingDocument.modelInfo.modelName.assign("TW530"); }, true},
      {"band index", [](R& s) { s.workingDocument.modelInfo.bandIndex = 8; }, true},
      // Embedded message.
      {"message line", [](R& s) { s.workingDocument.message.lines[3].assign("X"); }, true},
      {"message NUL vs blank", [](R& s) { s.workingDocument.message.lines[1] = NulText<16>(); },
       false},
      {"message trailing NUL", [](R& s) { s.workingDocument.message.lines[0].bytes[5] = '\0'; },
       false},
      // Keys, scan, alert.
      {"key", [](R& s) { s.workingDocument.keys.values[5] = 1; }, true},
      {"scan byte", [](R& s) { s.workingDocument.scan.bytes[0] = 1; }, true},
      {"scan reference", [](R& s) { s.workingDocument.scan.bytes[11] = 2; }, true},
      {"alert byte", [](R& s) { s.workingDocument.alert.bytes[9] = 1; }, true},
      // Side record.
      {"alarm mode", [](R& s) { s.workingSide.alarmMode = 0; }, true},
      {"side version", [](R& s) { s.workingSide.version.assign("V201"); }, true},
      {"side version trailing space",
       [](R& s) {
         s.workingSide.version.assign("V2");
         s.savedSide.version = FixedText<4>(std::string("V2\0 ", 4));
       },
       false},
      // Optional features.
      {"optional feature", [](R& s) { s.workingDocument.optionalFeatures.values[17] = 2; }, true},
      // Test frequencies.
      {"test frequency",
       [](R& s) { s.workingDocument.testFrequencies[10].second.assign("44000000"); }, true},
      {"test frequency NUL vs blank",
       [](R& s) { s.workingDocument.testFrequencies[4].first = NulText<8>(); }, false},
      // DTMF.
      {"DTMF setting", [](R& s) { s.workingDocument.dtmf.settings[8] = 1; }, true},
      {"DTMF ID", [](R& s) { s.workingDocument.dtmf.idCode.assign("124"); }, true},
      {"DTMF ID length",
       [](R& s) {
         s.workingDocument.dtmf.idCode.assign("1234");
         s.workingDocument.dtmf.idLength = 4;
       },
       true},
      {"DTMF ID beyond its length", [](R& s) { s.workingDocument.dtmf.idCode.assign("1234"); },
       false},
      {"DTMF special code digits",
       [](R& s) { s.workingDocument.dtmf.specialCodes[3].digits.assign("9"); }, true},
      {"DTMF special code length", [](R& s) { s.workingDocument.dtmf.specialCodes[0].length = 3; },
       true},
      {"DTMF memory digits", [](R& s) { s.workingDocument.dtmf.memories[15].digits.assign("1"); },
       true},
      {"DTMF memory length", [](R& s) { s.workingDocument.dtmf.memories[2].length = 0; }, true},
      {"DTMF memory NUL vs blank",
       [](R& s) { s.workingDocument.dtmf.memories[7].digits = NulText<16>(); }, false},
      // Not compared at all.
      {"FM preset",
       [](R& s) {
         s.workingDocument.fmPresets[19].empty = 0;
         s.workingDocument.fmPresets[19].frequency.assign("10800000");
       },
       false},
      {"version", [](R& s) { s.workingDocument.version.assign("V100"); }, false},
  };
}

TEST_F(InstancesTest, EachBlockIsCompared) {
  for (const auto& m : Mutations()) {
    SetUp();
    state.workingSide = SideFileRecord{};
    state.savedSide = SideFileRecord{};
    m.apply(state);
    EXPECT_EQ(changed(), m.changes) << m.what;
  }
}

TEST_F(InstancesTest, ComparisonIsSymmetric) {
  // A difference counts whichever instance holds it.
  for (const auto& m : Mutations()) {
    SetUp();
    state.workingSide = SideFileRecord{};
    state.savedSide = SideFileRecord{};
    m.apply(state);
    EXPECT_EQ(IsDocumentChanged(state.savedImage, state.workingDocument, state.savedSide,
                                state.workingSide),
              m.changes)
        << m.what;
  }
}

TEST_F(InstancesTest, DtmfIdCountsOnlyAsFarAsItsLength) {
  state.workingDocument.dtmf.idCode.assign("1234");
  state.workingDocument.dtmf.idLength = 3;
  state.savedImage.dtmf.idCode.assign("123");
  state.savedImage.dtmf.idLength = 3;
  EXPECT_FALSE(changed());

  state.savedImage.dtmf.idCode.assign("1239999999");
  EXPECT_FALSE(changed());

  state.savedImage.dtmf.idCode.assign("12");
  EXPECT_TRUE(changed());
}

TEST_F(InstancesTest, CopyImageToWorkingAdoptsTheStoredModelAndBand) {
  state.savedImage.modelInfo.modelName.assign("TW530");
  state.savedImage.modelInfo.bandIndex = 8;
  state.savedSide.alarmMode = 0;
  state.workingDocument = DocumentRecord{};
  state.workingSide.alarmMode = 1;

  CopyImageToWorking(state);

  EXPECT_EQ(state.workingDocument, state.savedImage);
  EXPECT_EQ(state.workingSide, state.savedSide);
  EXPECT_EQ(state.model.currentModel, "TW530");
  EXPECT_EQ(state.model.currentBandIndex, 8);
  EXPECT_EQ(state.model.currentBandLabel, "136 - 174 MHz");
  EXPECT_DOUBLE_EQ(state.model.limits.low, 136);
  EXPECT_DOUBLE_EQ(state.model.limits.high, 174);
  EXPECT_FALSE(changed());
}

TEST_F(InstancesTest, CopyWorkingToImageWritesTheCurrentModelAndBand) {
  state.model.select("TW530", "144 - 146 MHz");
  state.workingDocument.keys.values[2] = 5;
  state.workingSide.alarmMode = 0;

  CopyWorkingToImage(state);

  EXPECT_EQ(state.workingDocument.modelInfo.modelName.raw(), "TW530  ");
  EXPECT_EQ(state.workingDocument.modelInfo.bandIndex, 13);
  EXPECT_EQ(state.savedImage, state.workingDocument);
  EXPECT_EQ(state.savedSide, state.workingSide);
  EXPECT_EQ(state.savedImage.toBytes(), state.workingDocument.toBytes());
  EXPECT_FALSE(changed());
}

TEST_F(InstancesTest, StoredBandIndexIsTheIndexOfTheBandLabel) {
  const std::vector<std::pair<const char*, int>> cases = {
      {"450 - 520 MHz", 32}, {"350 - 390 MHz", 16}, {"no such band", 0}};
  for (const auto& [label, index] : cases) {
    state.model.currentBandLabel = label;
    state.model.currentBandIndex = 5;  // the label decides, not a stale index
    CopyWorkingToImage(state);
    EXPECT_EQ(state.savedImage.modelInfo.bandIndex, index) << label;
  }
}

TEST_F(InstancesTest, ImportKeepingModelTakesTheFileButKeepsModelAndBand) {
  state.model.select("TW530", "136 - 174 MHz");
  state.savedImage.modelInfo.modelName.assign("TW530G");
  state.savedImage.modelInfo.bandIndex = 32;
  state.savedImage.keys.values[4] = 7;
  state.savedSide.alarmMode = 0;
  state.workingDocument = DocumentRecord{};

  ImportKeepingModel(state);

  EXPECT_EQ(state.workingDocument.keys.values[4], 7);
  EXPECT_EQ(state.workingDocument.modelInfo.modelName.raw(), "TW530  ");
  EXPECT_EQ(state.workingDocument.modelInfo.bandIndex, 8);
  EXPECT_EQ(state.savedImage, state.workingDocument);
  EXPECT_EQ(state.workingSide.alarmMode, 0);
  EXPECT_EQ(state.model.currentModel, "TW530");
  EXPECT_EQ(state.model.currentBandIndex, 8);
  EXPECT_FALSE(changed());
}

TEST_F(InstancesTest, ImportPresetBlocksTakesOnlyFeaturesFmPresetsAndTestFrequencies) {
  state.model.select("TW530", "450 - 520 MHz");
  const DocumentRecord working = state.workingDocument;
  const SideFileRecord workingSide = state.workingSide;

  // The saved image holds a fall-back file that differs everywhere.
  DocumentRecord file;
  SetChannels(file, {MakeChannel(5, "46000000")});
  file.modelInfo.modelName.assign("TW530G");
  file.modelInfo.bandIndex = 0;
  file.optionalFeatures.values.fill(4);
  for (auto& p : file.fmPresets) {
    p.empty = 0;
    p.frequency.assign("09000000");
  }
  for (auto& t : file.testFrequencies) t = {FixedText<8>("46000000"), FixedText<8>("46100000")};
  file.keys.values.fill(1);
  file.dtmf.idCode.assign("999");
  file.message.lines[0].assign("FILE");
  file.alert.bytes.fill(3);
  file.scan.bytes.fill(4);
  state.savedImage = file;
  state.savedSide.alarmMode = 0;
  state.savedSide.version.assign("V999");

  ImportPresetBlocks(state);

  DocumentRecord expected = working;
  expected.optionalFeatures = file.optionalFeatures;
  expected.fmPresets = file.fmPresets;
  expected.testFrequencies = file.testFrequencies;
  expected.modelInfo.modelName.assign("TW530");
  expected.modelInfo.bandIndex = 32;
  EXPECT_EQ(state.workingDocument, expected);
  // The file's side record is dropped; the saved image is left as read.
  EXPECT_EQ(state.workingSide, workingSide);
  EXPECT_EQ(state.savedSide, workingSide);
  EXPECT_EQ(state.savedImage, file);
  EXPECT_TRUE(changed());
}

}  // namespace
}  // namespace cps
