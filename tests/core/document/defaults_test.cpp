// The contents of a new document for the current model and band, and the
// radio information that is reset with it.
#include "core/document/defaults.hpp"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/document/codec.hpp"
#include "core/document/model.hpp"
#include "core/document/records.hpp"
#include "core/run_state.hpp"
#include "test_support.hpp"

namespace cps {
namespace {

using testing::BytesAt;
using testing::I16At;
using testing::MakeChannel;
using testing::NulOffset;
using testing::SetChannels;

const Today kToday{"2024-03-07", 3};

// A run state that has seen a busy document: everything differs from the defaults.
RunState BusyState() {
  RunState s;
  auto& d = s.workingDocument;
  std::vector<ChannelRecord> channels;
  for (int n = 1; n <= 40; ++n) channels.push_back(MakeChannel(n, "47000000", 2, "0500000"));
  SetChannels(d, channels);
  d.version.assign("X123");
  d.keys.values.fill(7);
  d.alert.bytes.fill(9);
  d.scan.bytes.fill(9);
  d.optionalFeatures.values.fill(5);
  for (auto& line : d.message.lines) line.assign("OLD MESSAGE");
  d.dtmf.settings.fill(2);
  d.dtmf.idCode.assign("9876543210");
  d.dtmf.idLength = 10;
  for (auto& code : d.dtmf.specialCodes) code = {5, FixedText<16>("12345")};
  for (auto& code : d.dtmf.memories) code = {2, FixedText<16>("99")};
  for (auto& p : d.fmPresets) p = {0, FixedText<8>("10000000")};
  for (auto& t : d.testFrequencies) t = {FixedText<8>("47000000"), FixedText<8>("47000000")};
  d.modelInfo.modelName.assign("OLD");
  d.modelInfo.bandIndex = 5;
  s.workingSide.version.assign("V100");
  s.workingSide.alarmMode = 0;
  s.radioInfo.serialNumber = "SN1";
  s.radioInfo.repairReason = "dropped";
  s.channelEditing = {3, 3, 5, 4, 4, true, true, true, true};
  return s;
}

class DefaultsTest : public ::testing::Test {
 protected:
  RunState state = BusyState();
  testing::ScriptedPrompter prompter;

  const DocumentRecord& doc() const { return state.workingDocument; }
};

TEST_F(DefaultsTest, KeysAlertScanAndFeatures) {
  ApplyDocumentDefaults(state, kToday);
  EXPECT_EQ(doc().keys.values, (std::array<std::int16_t, 6>{10, 10, 0, 0, 0, 0}));
  EXPECT_EQ(doc().alert.bytes, (std::array<std::uint8_t, 10>{}));
  EXPECT_EQ(doc().scan.bytes, (std::array<std::uint8_t, 12>{}));
  std::array<std::int16_t, 18> features{};
  features[1] = 1;
  features[3] = 3;
  EXPECT_EQ(doc().optionalFeatures.values, features);
}

TEST_F(DefaultsTest, MessageLinesReadAsEmpty) {
  ApplyDocumentDefaults(state, kToday);
  for (const auto& line : doc().message.lines) {
    EXPECT_EQ(line.raw(), std::string("\0               ", 16));
    EXPECT_EQ(TrimFixed(line), "");
  }
}

TEST_F(DefaultsTest, DtmfHasIdCode000AndNoCodes) {
  ApplyDocumentDefaults(state, kToday);
  const auto& dtmf = doc().dtmf;
  EXPECT_EQ(dtmf.settings, (std::array<std::int16_t, 9>{}));
  EXPECT_EQ(dtmf.idCode.raw(), "000       ");
  EXPECT_EQ(dtmf.idLength, 3);
  for (const auto& code : dtmf.specialCodes) {
    EXPECT_EQ(code.length, 0);
    EXPECT_EQ(code.digits.raw(), std::string(16, ' '));
  }
  for (const auto& code : dtmf.memories) {
    EXPECT_EQ(code.length, 0);
    EXPECT_EQ(code.digits.raw(), std::string(16, ' '));
  }
}

TEST_F(DefaultsTest, OneSimplexChannelAndTheChannelWindowsReset) {
  ApplyDocumentDefaults(state, kToday);
  ASSERT_EQ(doc().channelCount, 1);
  ChannelRecord expected;
  expected.number = 1;
  expected.rxFreq.assign("44000000");
  expected.offset = NulOffset();
  expected.power = 2;
  EXPECT_EQ(doc().channels[0], expected);
  // Nothing of the old list stays behind the count, where it would reach the file.
  for (std::size_t i = 1; i < doc().channels.size(); ++i) {
    EXPECT_EQ(doc().channels[i], ChannelRecord{}) << "entry " << i;
  }

  const auto& editing = state.channelEditing;
  EXPECT_EQ(editing.currentGroup, 0);
  EXPECT_EQ(editing.captionRow, 1);
  EXPECT_FALSE(editing.skipConcludeOnce);
  EXPECT_FALSE(editing.skipEnterCellOnce);
  EXPECT_FALSE(editing.isEditDialogOpen);
  EXPECT_FALSE(editing.isChannelWindowOpen);
}

TEST_F(DefaultsTest, FirstChannelSitsInTheMiddleOfEveryBand) {
  const std::vector<std::pair<const char*, const char*>> cases = {
      {"400 - 480 MHz", "440.00000"}, {"430 - 450 MHz", "440.00000"},
      {"136 - 174 MHz", "155.00000"}, {"136 - 145 MHz", "140.50000"},
      {"145 - 174 MHz", "159.50000"}, {"144 - 146 MHz", "145.00000"},
      {"350 - 390 MHz", "370.00000"}, {"450 - 520 MHz", "485.00000"},
  };
  for (const auto& [band, middle] : cases) {
    state = BusyState();
    state.model.select("TW530", band);
    ApplyDocumentDefaults(state, kToday);
    CodecContext ctx{state.model.limits, prompter};
    ASSERT_EQ(doc().channelCount, 1) << band;
    EXPECT_EQ(doc().channels[0].number, 1) << band;
    EXPECT_EQ(FreqStoredToText(doc().channels[0].rxFreq.raw(), ctx), middle) << band;
    EXPECT_EQ(doc().channels[0].offsetDirection, 0) << band;
    EXPECT_EQ(doc().modelInfo.bandIndex, BandIndexOfLabel(band)) << band;
  }
  EXPECT_TRUE(prompter.asked.empty());
}

TEST_F(DefaultsTest, FmPresetsAreUnused) {
  ApplyDocumentDefaults(state, kToday);
  for (const auto& preset : doc().fmPresets) {
    EXPECT_EQ(preset.empty, 1);
    EXPECT_EQ(preset.frequency.raw(), "        ");
  }
}

TEST_F(DefaultsTest, TestFrequencyPairs) {
  ApplyDocumentDefaults(state, kToday);
  const auto& pairs = doc().testFrequencies;
  EXPECT_EQ(pairs[0].first.raw(), "43510000");
  EXPECT_EQ(pairs[0].second.raw(), "43510000");
  const std::string nulText("\0       ", 8);
  for (std::size_t i = 1; i < pairs.size(); ++i) {
    EXPECT_EQ(pairs[i].first.raw(), nulText) << "pair " << i;
    EXPECT_EQ(pairs[i].second.raw(), nulText) << "pair " << i;
  }

  const std::vector<std::pair<const char*, const char*>> extra = {{"40000000", "40010000"},
                                                                  {"42050000", "42060000"},
                                                                  {"44000000", "44010000"},
                                                                  {"47050000", "46060000"},
                                                                  {"48000000", "47990000"}};
  ASSERT_EQ(state.extraTestFrequencies.size(), extra.size());
  for (std::size_t i = 0; i < extra.size(); ++i) {
    EXPECT_EQ(state.extraTestFrequencies[i].first.raw(), extra[i].first) << "extra pair " << i;
    EXPECT_EQ(state.extraTestFrequencies[i].second.raw(), extra[i].second) << "extra pair " << i;
  }
}

TEST_F(DefaultsTest, ModelInfoAndSideRecord) {
  state.model.select("TW530", "144 - 146 MHz");
  ApplyDocumentDefaults(state, kToday);
  EXPECT_EQ(doc().modelInfo.modelName.raw(), "TW530  ");
  EXPECT_EQ(doc().modelInfo.bandIndex, 13);
  EXPECT_EQ(state.workingSide.version.raw(), "V200");
  EXPECT_EQ(state.workingSide.alarmMode, 1);
  EXPECT_EQ(doc().version.raw(), "V200");
}

TEST_F(DefaultsTest, RadioInformationIsReset) {
  state.model.select("TW530G", "136 - 174 MHz");
  ApplyDocumentDefaults(state, Today{"07/03/2024", 11});
  const RadioInfoRecord expected{
      .bandCode = 8,
      .serialNumber = "",
      .productionDate = "07/03/2024",
      .repairDate = "07/03/2024",
      .repairReason = "",
      .versionInformation = "V2.00",
      .model = "TW530G",
      .salesRegionCode = "0595",
      .productionBatch = "11-1-E-1",
      .customerCode = "001A",
      .dealerCode = "",
      .stockInDate = "07/03/2024",
      .saleDate = "07/03/2024",
      .handledBy = "",
  };
  EXPECT_EQ(state.radioInfo, expected);
}

TEST(ResetRadioInfo, BatchNumberStartsWithTheMonthInTwoDigits) {
  ModelState model;
  RadioInfoRecord info;
  for (const auto& [month, batch] : std::vector<std::pair<int, const char*>>{
           {1, "01-1-E-1"}, {3, "03-1-E-1"}, {9, "09-1-E-1"}, {12, "12-1-E-1"}}) {
    ResetRadioInfo(info, model, Today{"d", month});
    EXPECT_EQ(info.productionBatch, batch) << month;
  }
  EXPECT_EQ(info.model, "TW530G");
  EXPECT_EQ(info.bandCode, 0);
}

TEST_F(DefaultsTest, DefaultDocumentImage) {
  ApplyDocumentDefaults(state, kToday);
  const auto image = doc().toBytes();
  ASSERT_EQ(image.size(), 8595u);

  EXPECT_EQ(BytesAt(image, 0, 4), "V200");
  EXPECT_EQ(I16At(image, 4), 1);
  // Channel 1 in the first 60-byte entry.
  EXPECT_EQ(I16At(image, 6), 1);
  EXPECT_EQ(I16At(image, 6 + 2), 0);
  EXPECT_EQ(BytesAt(image, 6 + 4, 8), "44000000");
  EXPECT_EQ(image[6 + 12], 0);
  EXPECT_EQ(BytesAt(image, 6 + 13, 7), std::string(7, '\0'));
  EXPECT_EQ(I16At(image, 6 + 20), 0);
  EXPECT_EQ(I16At(image, 6 + 52), 2);
  EXPECT_EQ(I16At(image, 6 + 58), 0);
  EXPECT_EQ(I16At(image, 6 + 60), 0);  // the second entry is blank
  // FM presets and test frequencies.
  EXPECT_EQ(I16At(image, 7686), 1);
  EXPECT_EQ(I16At(image, 7686 + 190), 1);
  EXPECT_EQ(BytesAt(image, 7886, 16), "4351000043510000");
  EXPECT_EQ(image[7886 + 16], 0);
  // Model information.
  EXPECT_EQ(BytesAt(image, 8062, 7), "TW530G ");
  EXPECT_EQ(I16At(image, 8069), 0);
  // Optional features.
  EXPECT_EQ(I16At(image, 8071), 0);
  EXPECT_EQ(I16At(image, 8071 + 2), 1);
  EXPECT_EQ(I16At(image, 8071 + 6), 3);
  // DTMF ID code and its length.
  EXPECT_EQ(BytesAt(image, 8107 + 18, 10), "000       ");
  EXPECT_EQ(I16At(image, 8107 + 28), 3);
  // Embedded message, keys, alert and scan.
  EXPECT_EQ(BytesAt(image, 8497, 16), std::string("\0               ", 16));
  EXPECT_EQ(I16At(image, 8561), 10);
  EXPECT_EQ(I16At(image, 8563), 10);
  EXPECT_EQ(BytesAt(image, 8573, 22), std::string(22, '\0'));
}

TEST_F(DefaultsTest, DefaultsDoNotDependOnThePreviousDocument) {
  ApplyDocumentDefaults(state, kToday);
  const auto fromBusy = doc().toBytes();
  RunState fresh;
  ApplyDocumentDefaults(fresh, kToday);
  EXPECT_EQ(fresh.workingDocument.toBytes(), fromBusy);
  EXPECT_EQ(fresh.workingSide, state.workingSide);
  EXPECT_EQ(fresh.radioInfo, state.radioInfo);
}

}  // namespace
}  // namespace cps
