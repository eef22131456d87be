#include "core/document/model.hpp"

#include <array>
#include <charconv>

#include "core/document/codec.hpp"

namespace cps {

namespace {

constexpr std::array<BandEntry, 17> kBands{{
    {0, "400 - 480 MHz"},
    {1, "430 - 450 MHz"},
    {2, "400 - 440 MHz"},
    {3, "440 - 480 MHz"},
    {4, "400 - 450 MHz"},
    {5, "450 - 480 MHz"},
    {6, "430 - 440 MHz"},
    {7, "430 - 480 MHz"},
    {8, "136 - 174 MHz"},
    {9, "136 - 150 MHz"},
    {10, "150 - 174 MHz"},
    {11, "136 - 145 MHz"},
    {12, "145 - 174 MHz"},
    {13, "144 - 146 MHz"},
    {14, "144 - 148 MHz"},
    {16, "350 - 390 MHz"},
    {32, "450 - 520 MHz"},
}};

constexpr std::string_view kShownTW530 = "CPS530";
constexpr std::string_view kShownTW530G = "CPS530G";

bool threeDigits(std::string_view label, std::size_t at, double& out) {
  if (label.size() < at + 3) return false;
  int value = 0;
  const char* first = label.data() + at;
  const auto [end, ec] = std::from_chars(first, first + 3, value);
  if (ec != std::errc{} || end != first + 3) return false;
  out = value;
  return true;
}

}  // namespace

std::span<const BandEntry> BandTable() { return kBands; }

std::string_view BandLabelOfIndex(int index) {
  for (const auto& band : kBands) {
    if (band.index == index) return band.label;
  }
  return {};
}

int BandIndexOfLabel(std::string_view label) {
  for (const auto& band : kBands) {
    if (band.label == label) return band.index;
  }
  return 0;
}

std::string ModelOfShownName(std::string_view shownName) {
  if (shownName == kShownTW530) return std::string(kModelTW530);
  if (shownName == kShownTW530G) return std::string(kModelTW530G);
  return TrimFixed(shownName);
}

std::string ShownNameOfModel(std::string_view model) {
  if (model == kModelTW530) return std::string(kShownTW530);
  if (model == kModelTW530G) return std::string(kShownTW530G);
  return std::string(model);
}

void ApplyBandLimits(ModelState& state) {
  double low = 0;
  double high = 0;
  if (threeDigits(state.currentBandLabel, 0, low) && threeDigits(state.currentBandLabel, 6, high)) {
    state.limits = {low, high};
  }
}

void ModelState::select(std::string_view model, std::string_view bandLabel) {
  currentModel = std::string(model);
  currentBandLabel = std::string(bandLabel);
  currentBandIndex = BandIndexOfLabel(bandLabel);
  ApplyBandLimits(*this);
}

void ModelState::selectBandIndex(int index) {
  currentBandIndex = index;
  currentBandLabel = std::string(BandLabelOfIndex(index));
  ApplyBandLimits(*this);
}

}  // namespace cps
