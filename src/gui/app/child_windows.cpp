#include "gui/app/child_windows.hpp"

#include <array>
#include <cstring>

namespace cps::gui {

namespace {

// The test frequency and FM preset windows have no node in this configuration
// (N3 and N5); their menu entries stay hidden. The radio information window is
// opened by its read, which the node N7 runs.
constexpr std::array<ChildWindowEntry, 11> kChildWindows{{
    {kChannelWindowName, "mnuChannelInfo", "N1", nullptr, 12001, true, true},
    {"FrmOptFeatures", "mnuOptFeature", "N2", nullptr, 12002, false, true},
    {"FrmDTMF", "MnuDTMF", "N4", nullptr, 12004, false, true},
    {"FrmKey", "MnuKey", "N8", nullptr, 12010, false, false},
    {"FrmScan", "MnuScan", "N9", nullptr, 12011, false, false},
    {"FrmAlert", "MnuAlert", "N10", nullptr, 12012, false, false},
    {"FrmEmbMsg", "mnuEmbeddedMsg", "N6", nullptr, 12006, false, true},
    {kRadioInfoWindowName, nullptr, "N7", "MnuLocalInfo", 12007, false, true},
    {"FrmCHInfoEdit", nullptr, nullptr, nullptr, 0, false, true},
    {"FrmTestFre", "MnuTestFre", nullptr, nullptr, 0, false, true},
    {"FrmRadio", "MnuRadioFre", nullptr, nullptr, 0, false, true},
}};

}  // namespace

std::span<const ChildWindowEntry> ChildWindows() { return kChildWindows; }

const ChildWindowEntry* FindChildWindow(const char* name) {
  for (const auto& entry : kChildWindows) {
    if (std::strcmp(entry.name, name) == 0) return &entry;
  }
  return nullptr;
}

}  // namespace cps::gui
