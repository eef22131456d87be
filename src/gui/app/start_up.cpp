#include "gui/app/start_up.hpp"

#include <QLocale>
#include <QSysInfo>
#include <QVersionNumber>

#include "core/app/file_commands.hpp"
#include "core/app/version_table.hpp"
#include "gui/app/app_context.hpp"

namespace cps::gui {

namespace {

// Shown when the system does not tell its version; a fixed text of the program.
constexpr const char* kUnknownSystemText = "未知操作系统";

}  // namespace

SystemFacts QuerySystem() {
  SystemFacts facts;
  const QLocale system = QLocale::system();
  facts.defaultLocaleIsPrc =
      system.language() == QLocale::Chinese && system.territory() == QLocale::China;
  const QString kernel = QSysInfo::kernelType();
  if (kernel.isEmpty() || kernel == QLatin1String("unknown")) {
    facts.isNt6.reset();
  } else {
    facts.isNt6 = kernel == QLatin1String("winnt") &&
                  QVersionNumber::fromString(QSysInfo::kernelVersion()).majorVersion() == 6;
  }
  return facts;
}

bool StartUp(AppContext& context, const SystemFacts& system,
             const std::function<void()>& firstRunDialog) {
  RunState& state = context.state;
  // 1. The version table, and this program's own version for the document.
  context.loadVersionTable();
  state.workingDocument.version.assign(kProgramVersion);

  // 2, 3. The link starts afresh; the language follows the system until the
  // setup file says otherwise; model and band are the usual TW530G at 400 - 480 MHz.
  state.link = LinkState{};
  context.setLanguage(system.defaultLocaleIsPrc ? kChinese : kEnglish);
  context.language.shown = context.language.current;
  state.model.select("TW530G", "400 - 480 MHz");

  // 4. Numbers: the program parses and writes them with "." itself, whatever the
  // user's locale, so the user's own setting is never touched.

  // 5. The system version decides whether every port number is offered.
  if (system.isNt6) {
    context.isNt6 = *system.isNt6;
  } else {
    context.isNt6 = false;
    context.prompter().ask(FixedMessage(kUnknownSystemText, Buttons::Ok, Icon::Information));
  }

  // 6, 7. Port and first-run flag from the language setup.
  const auto setupFile = context.folders.languageSetup();
  const LanguageSetup setup = ReadLanguageSetup(setupFile);
  context.comPort = setup.comPort;
  context.isFirstRun = setup.isFirstRun;
  state.link.verifyAfterWrite = setup.verifyAfterWrite;

  if (context.isFirstRun) {
    // 8. The first-run link check: without a radio that answered, the program ends
    // and the next start asks again.
    firstRunDialog();
    if (context.isFirstRun) return false;
    WriteFirstRunDone(setupFile);
  } else if (setup.currentLanguage == kEnglish || setup.currentLanguage == kChinese) {
    // 9. Any other language number keeps the system's language.
    context.setLanguage(setup.currentLanguage);
    context.language.shown = context.language.current;
  }
  // 10. Written back, so that a missing or odd value is settled in the file.
  WritePortAndLanguage(setupFile, context.comPort, context.language.current);

  // 11. The first document of the current model and band.
  NullObserver noWindows;
  FileContext files{state,
                    context.prompter(),
                    noWindows,
                    context.versions,
                    context.langTextFunction(),
                    context.folders.initFolder(),
                    context.today(),
                    context.folders.base,
                    context.executableName};
  MakeNewDocument(files);

  // 13. The application title, kept for the run: the window placement and the
  // message boxes go by this name even after the user picks another language.
  context.setApplicationTitle(context.text(cps::text::kApplicationTitle));

  // 14, 15. What the link learned of radios, and the edit habits.
  state.knownCapabilities = ReadKnownCapabilities(context.folders.linkSettings());
  state.habits = ReadHabits(context.folders.habits());
  return true;
}

void ExitSteps(AppContext& context) {
  WriteKnownCapabilities(context.folders.linkSettings(), context.state.knownCapabilities);
}

}  // namespace cps::gui
