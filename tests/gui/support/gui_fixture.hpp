// What most widget tests start from: a program folder of their own, the run's
// state object on it with a scripted prompter, and English texts.
#pragma once

#include <QTest>
#include <memory>

#include "gui/app/app_context.hpp"
#include "program_folder.hpp"
#include "scripted_prompter.hpp"

namespace cps::gui::test {

struct GuiFixture {
  GuiFixture() : context(folder.folders(), "cps530") {
    context.setPrompter(prompter);
    context.today = [] { return Today{"2026-12-10", 12}; };
    context.versions = LoadVersionTable(context.folders.versionTable());
    context.setLanguage(kEnglish);
    context.language.shown = kEnglish;
    context.isFirstRun = false;
  }

  ProgramFolder folder;
  ScriptedPrompter prompter;
  AppContext context;
};

// The two languages as the rows of a table-driven test (column "language").
inline void LanguageRows() {
  QTest::addColumn<int>("language");
  QTest::newRow("English") << int(kEnglish);
  QTest::newRow("Chinese") << int(kChinese);
}

}  // namespace cps::gui::test
