// Start-up from a program folder: the language chosen, the first-run link
// check, the settings files read from the base and program folders.
#include "gui/app/start_up.hpp"

#include <QPushButton>
#include <QtTest>

#include "core/app/settings_files.hpp"
#include "gui/link/load_frm_link.hpp"
#include "gui_fixture.hpp"
#include "virtual_radio.hpp"

namespace cps::gui::test {

class StartUpTest : public QObject {
  Q_OBJECT

 private slots:
  void languageFromSystemAndSetup_data() {
    QTest::addColumn<bool>("prc");
    QTest::addColumn<QString>("setting");
    QTest::addColumn<int>("language");
    QTest::newRow("English system, setup English") << false << "1" << kEnglish;
    QTest::newRow("English system, setup Chinese") << false << "2" << kChinese;
    QTest::newRow("Chinese system, setup English") << true << "1" << kEnglish;
    QTest::newRow("English system, setup 3 keeps the system's") << false << "3" << kEnglish;
    QTest::newRow("Chinese system, setup 3 keeps the system's") << true << "3" << kChinese;
    QTest::newRow("Chinese system, setup empty") << true << "" << kChinese;
  }
  void languageFromSystemAndSetup() {
    QFETCH(bool, prc);
    QFETCH(QString, setting);
    QFETCH(int, language);
    GuiFixture f;
    f.folder.writeSetup("0", "4", setting.toStdString());
    bool dialogShown = false;
    QVERIFY(StartUp(f.context, {prc, false}, [&] { dialogShown = true; }));
    QVERIFY(!dialogShown);
    QCOMPARE(f.context.language.current, language);
    QCOMPARE(f.context.language.shown, language);
    QCOMPARE(f.context.comPort, 4);
    // The language in use is written back, so a value out of range is settled.
    QCOMPARE(f.folder.setupValue("CurrentLanguage"), std::to_string(language));
    QCOMPARE(f.context.texts.file().filename().string(),
             language == kChinese ? std::string("chinese.ini") : std::string("english.ini"));
    QVERIFY(f.prompter.unexpected.empty());
  }

  void firstRun_data() {
    QTest::addColumn<bool>("radioAnswers");
    QTest::addColumn<bool>("started");
    QTest::addColumn<std::string>("firstRunAfter");
    QTest::newRow("a radio answered") << true << true << std::string("0");
    QTest::newRow("closed without an answer") << false << false << std::string("1");
  }
  void firstRun() {
    QFETCH(bool, radioAnswers);
    QFETCH(bool, started);
    QFETCH(std::string, firstRunAfter);
    GuiFixture f;
    f.folder.writeSetup("1", "1", "2");
    int shown = 0;
    const bool result = StartUp(f.context, {false, false}, [&] {
      ++shown;
      // The dialog speaks the system's language, whatever the setup says.
      QCOMPARE(f.context.language.current, kEnglish);
      if (radioAnswers) {
        f.context.comPort = 7;
        f.context.isFirstRun = false;
      }
    });
    QCOMPARE(shown, 1);
    QCOMPARE(result, started);
    QCOMPARE(f.folder.setupValue("IsFirstRun"), firstRunAfter);
    if (started) {
      QCOMPARE(f.folder.setupValue("comPort"), std::string("7"));
      QCOMPARE(f.context.language.current, kEnglish);
    }
  }

  // The first start with the real link dialog against the virtual radio.
  void firstRunLinkCheck_data() {
    QTest::addColumn<QString>("radio");  // "answers", "mute" or "" (the user cancels)
    QTest::addColumn<bool>("started");
    QTest::newRow("a radio that answers") << "answers" << true;
    QTest::newRow("a radio that stays silent") << "mute" << false;
    QTest::newRow("cancelled") << "" << false;
  }
  void firstRunLinkCheck() {
    QFETCH(QString, radio);
    QFETCH(bool, started);
    GuiFixture f;
    std::vector<std::string> options{"--echo"};
    if (radio == "mute") options.push_back("--mute-after=0");
    VirtualRadio line(options);
    QVERIFY(!line.device().empty());
    f.folder.enterPort(2, line.device());
    f.folder.writeSetup("1", "2", "1");
    if (radio == "mute") f.prompter.expectFixed(kCommunicationErrorText, Answer::Ok);

    const bool result = StartUp(f.context, {false, false}, [&] {
      LoadFrmLink dialog(f.context);
      if (radio.isEmpty()) {
        QTimer::singleShot(0, &dialog, &QDialog::reject);
      } else {
        QTimer::singleShot(0, &dialog, [&dialog] {
          dialog.findChild<QPushButton*>(QStringLiteral("Command1"))->click();
        });
        // A silent radio leaves the dialog open after its message; the user gives up.
        QTimer::singleShot(8000, &dialog, &QDialog::reject);
      }
      dialog.exec();
    });
    QCOMPARE(result, started);
    QCOMPARE(f.folder.setupValue("IsFirstRun"), std::string(started ? "0" : "1"));
    if (started) QCOMPARE(f.folder.setupValue("comPort"), std::string("2"));
    QVERIFY(f.prompter.unexpected.empty());
  }

  void settingsFilesFromTheirFolders() {
    GuiFixture f;
    WriteKnownCapabilities(f.folder.program() / "Setting.ini", {1, 0, 1, 1});
    QVERIFY(StartUp(f.context, {false, false}, [] {}));
    QCOMPARE(f.context.folders.base, f.folder.base());
    QCOMPARE(f.context.folders.program, f.folder.program());
    QCOMPARE(f.context.state.knownCapabilities, (KnownCapabilities{1, 0, 1, 1}));
    // Version.ini of the base folder was read: this program's own version is known.
    QVERIFY(IsVersionCompatible(f.context.versions, "V200", "V200"));
    // The first document: the usual model and band, untitled.
    QCOMPARE(f.context.state.model.currentModel, std::string("TW530G"));
    QCOMPARE(f.context.state.model.currentBandLabel, std::string("400 - 480 MHz"));
    QCOMPARE(f.context.state.path, std::string("new.dat"));
    QVERIFY(f.context.state.isUntitled);
    QCOMPARE(f.context.state.workingDocument, f.context.state.savedImage);

    f.context.state.knownCapabilities = {0, 1, 0, 0};
    ExitSteps(f.context);
    QCOMPARE(ReadKnownCapabilities(f.folder.program() / "Setting.ini"),
             (KnownCapabilities{0, 1, 0, 0}));
  }

  void unknownSystemIsReportedAndStartUpGoesOn() {
    GuiFixture f;
    f.prompter.expectFixed("未知操作系统", Answer::Ok);
    QVERIFY(StartUp(f.context, {false, std::nullopt}, [] {}));
    QVERIFY(!f.context.isNt6);
    QCOMPARE(f.prompter.pending(), std::size_t{0});
    QVERIFY(f.prompter.unexpected.empty());
  }
};

}  // namespace cps::gui::test

QTEST_MAIN(cps::gui::test::StartUpTest)
#include "start_up_test.moc"
