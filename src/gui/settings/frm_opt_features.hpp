// The optional features window: squelch, voice prompt, battery save, the
// time-out timer, VOX and the other radio-wide options.
#pragma once

#include "gui/settings/settings_window.hpp"

namespace cps::gui {

class FrmOptFeatures final : public SettingsWindow {
 public:
  FrmOptFeatures(AppContext& context, DocumentObserver& observer, QWidget* parent = nullptr);

  // Stores one control: ids 0 to 11 the list Combo1(id), 20 to 25 the check
  // box Check1(id − 20); any other id stores nothing.
  void SaveOptFeat(int id);
  // True when `index` is not an item of list Combo1(list).
  bool NotInComboList(int list, int index) const;
};

}  // namespace cps::gui
