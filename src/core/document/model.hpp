// The two radio models, the seventeen frequency bands and the current model and
// band of the run, whose limits every frequency check uses.
#pragma once

#include <span>
#include <string>
#include <string_view>

namespace cps {

inline constexpr std::string_view kModelTW530 = "TW530";
inline constexpr std::string_view kModelTW530G = "TW530G";
inline constexpr std::string_view kDefaultBandLabel = "400 - 480 MHz";

struct BandEntry {
  int index;
  std::string_view label;
};

// The band table in the order the model dialog lists it (0 to 14, then 16, then 32).
std::span<const BandEntry> BandTable();

// "" for an index not in the table.
std::string_view BandLabelOfIndex(int index);
// Exact text match; 0 for a label not in the table.
int BandIndexOfLabel(std::string_view label);

// The programming-software names shown for the models: CPS530 for TW530,
// CPS530G for TW530G; other texts pass through (the shown name trimmed).
std::string ModelOfShownName(std::string_view shownName);
std::string ShownNameOfModel(std::string_view model);

struct BandLimits {
  double low = 400.0;
  double high = 480.0;
};

struct ModelState {
  std::string currentModel{kModelTW530G};
  std::string currentBandLabel{kDefaultBandLabel};
  int currentBandIndex = 0;
  BandLimits limits;

  // Makes model and band current, keeping index and limits in step with the label.
  void select(std::string_view model, std::string_view bandLabel);
  void selectBandIndex(int index);
};

// Limits from the label: the numbers at characters 1 to 3 and 7 to 9.
// A label without numbers there leaves the limits as they were.
void ApplyBandLimits(ModelState& state);

}  // namespace cps
