// The band table, the band limits taken from a label and the names shown for
// the two models.
#include "core/document/model.hpp"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace cps {
namespace {

struct BandCase {
  int index;
  const char* label;
  double low;
  double high;
};

const std::vector<BandCase> kBands = {
    {0, "400 - 480 MHz", 400, 480},  {1, "430 - 450 MHz", 430, 450},
    {2, "400 - 440 MHz", 400, 440},  {3, "440 - 480 MHz", 440, 480},
    {4, "400 - 450 MHz", 400, 450},  {5, "450 - 480 MHz", 450, 480},
    {6, "430 - 440 MHz", 430, 440},  {7, "430 - 480 MHz", 430, 480},
    {8, "136 - 174 MHz", 136, 174},  {9, "136 - 150 MHz", 136, 150},
    {10, "150 - 174 MHz", 150, 174}, {11, "136 - 145 MHz", 136, 145},
    {12, "145 - 174 MHz", 145, 174}, {13, "144 - 146 MHz", 144, 146},
    {14, "144 - 148 MHz", 144, 148}, {16, "350 - 390 MHz", 350, 390},
    {32, "450 - 520 MHz", 450, 520},
};

TEST(BandTable, ListsTheSeventeenBandsInDialogOrder) {
  const auto table = BandTable();
  ASSERT_EQ(table.size(), kBands.size());
  for (std::size_t i = 0; i < kBands.size(); ++i) {
    EXPECT_EQ(table[i].index, kBands[i].index);
    EXPECT_EQ(table[i].label, kBands[i].label);
  }
}

TEST(BandTable, LabelAndIndexConvertBothWays) {
  for (const auto& band : kBands) {
    EXPECT_EQ(BandLabelOfIndex(band.index), band.label);
    EXPECT_EQ(BandIndexOfLabel(band.label), band.index);
  }
}

TEST(BandTable, IndexesOutsideTheTableHaveNoLabel) {
  for (int index : {-1, 15, 17, 20, 31, 33, 255}) {
    EXPECT_EQ(BandLabelOfIndex(index), "") << index;
  }
}

TEST(BandTable, UnknownLabelsGiveIndexZero) {
  // Only an exact match counts: no trimming, no case folding.
  for (const char* label :
       {"", "136 - 175 MHz", "136 - 174 MHz ", "136 - 174 mhz", "136-174 MHz"}) {
    EXPECT_EQ(BandIndexOfLabel(label), 0) << '"' << label << '"';
  }
}

TEST(BandLimits, ComeFromTheTwoNumbersOfTheLabel) {
  for (const auto& band : kBands) {
    ModelState state;
    state.currentBandLabel = band.label;
    ApplyBandLimits(state);
    EXPECT_DOUBLE_EQ(state.limits.low, band.low) << band.label;
    EXPECT_DOUBLE_EQ(state.limits.high, band.high) << band.label;
  }
}

TEST(BandLimits, LabelWithoutNumbersKeepsTheOldLimits) {
  for (const char* label : {"", "abc - def MHz", "13"}) {
    ModelState state;
    state.limits = {136, 174};
    state.currentBandLabel = label;
    ApplyBandLimits(state);
    EXPECT_DOUBLE_EQ(state.limits.low, 136) << '"' << label << '"';
    EXPECT_DOUBLE_EQ(state.limits.high, 174) << '"' << label << '"';
  }
}

TEST(ModelState, StartsAsTW530GOnTheWideUhfBand) {
  const ModelState state;
  EXPECT_EQ(state.currentModel, "TW530G");
  EXPECT_EQ(state.currentBandLabel, "400 - 480 MHz");
  EXPECT_EQ(state.currentBandIndex, 0);
  EXPECT_DOUBLE_EQ(state.limits.low, 400);
  EXPECT_DOUBLE_EQ(state.limits.high, 480);
}

TEST(ModelState, SelectingABandKeepsIndexLabelAndLimitsInStep) {
  ModelState state;
  state.select("TW530", "136 - 174 MHz");
  EXPECT_EQ(state.currentModel, "TW530");
  EXPECT_EQ(state.currentBandIndex, 8);
  EXPECT_DOUBLE_EQ(state.limits.low, 136);
  EXPECT_DOUBLE_EQ(state.limits.high, 174);

  state.selectBandIndex(32);
  EXPECT_EQ(state.currentBandLabel, "450 - 520 MHz");
  EXPECT_DOUBLE_EQ(state.limits.low, 450);
  EXPECT_DOUBLE_EQ(state.limits.high, 520);
  EXPECT_EQ(state.currentModel, "TW530");
}

struct NameCase {
  const char* shown;
  const char* model;
};

TEST(ModelNames, ShownNamesMapToModels) {
  const std::vector<NameCase> cases = {
      {"CPS530", "TW530"},
      {"CPS530G", "TW530G"},
      {"OTHER  ", "OTHER"},  // other names pass through, trimmed
      {"", ""},
  };
  for (const auto& c : cases) EXPECT_EQ(ModelOfShownName(c.shown), c.model) << c.shown;
}

TEST(ModelNames, ModelsMapToShownNames) {
  const std::vector<NameCase> cases = {
      {"CPS530", "TW530"},
      {"CPS530G", "TW530G"},
      {"XYZ", "XYZ"},  // unknown models are shown as they are
  };
  for (const auto& c : cases) EXPECT_EQ(ShownNameOfModel(c.model), c.shown) << c.model;
}

}  // namespace
}  // namespace cps
