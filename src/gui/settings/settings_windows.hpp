// The radio-wide settings windows other than the optional features: each is
// its field table laid out by the binder; the rules between them (scanning
// off takes the scan function off the keys, a changed DTMF memory changes the
// lists that offer the memories) live in the core, and the main window
// reloads the windows the core names.
#pragma once

#include "gui/settings/settings_window.hpp"

namespace cps::gui {

// DTMF encoder and decoder settings and the auto-dial memories, on three tabs.
class FrmDTMF final : public SettingsWindow {
 public:
  FrmDTMF(AppContext& context, DocumentObserver& observer, QWidget* parent = nullptr);
};

// Scan mode, priority channels, revert channel and the scan times.
class FrmScan final : public SettingsWindow {
 public:
  FrmScan(AppContext& context, DocumentObserver& observer, QWidget* parent = nullptr);
};

// The emergency alarm: mode, type, identification, times, channel and cycle.
class FrmAlert final : public SettingsWindow {
 public:
  FrmAlert(AppContext& context, DocumentObserver& observer, QWidget* parent = nullptr);
};

// The PF1 and PF2 keys for a long and a short press, and the long-press times.
class FrmKey final : public SettingsWindow {
 public:
  FrmKey(AppContext& context, DocumentObserver& observer, QWidget* parent = nullptr);
};

// The four lines of the embedded message.
class FrmEmbMsg final : public SettingsWindow {
 public:
  FrmEmbMsg(AppContext& context, DocumentObserver& observer, QWidget* parent = nullptr);
};

}  // namespace cps::gui
