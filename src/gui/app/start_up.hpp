// What happens between the start of the program and its main window, and the
// settings written back at the end: language, serial port, the first-run link
// check, the first document, the link capabilities and the edit habits.
#pragma once

#include <functional>
#include <optional>

class QWidget;

namespace cps::gui {

class AppContext;

// What start-up asks of the system it runs on.
struct SystemFacts {
  // The system's default locale is Chinese (PRC), so a first start speaks Chinese.
  bool defaultLocaleIsPrc = false;
  // Windows NT 6.x; empty when the system version cannot be queried.
  std::optional<bool> isNt6 = false;
};

SystemFacts QuerySystem();

// Runs start-up up to the main window. `firstRunDialog` shows the first-run
// link dialog modally; when it closes without a radio having answered, start-up
// stops and the program ends (returns false).
bool StartUp(AppContext& context, const SystemFacts& system,
             const std::function<void()>& firstRunDialog);

// The settings written at the end of a run: the link capabilities. The main
// window writes its placement itself.
void ExitSteps(AppContext& context);

}  // namespace cps::gui
