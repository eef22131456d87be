// The real program from a copy of the built program folder: it starts, shows
// its main window or the first-run dialog, and ends cleanly when told to by
// SIGTERM or SIGINT, writing its settings once the main window existed.
#include <QTemporaryDir>
#include <QtTest>
#include <filesystem>
#include <fstream>

#include "core/app/ini_file.hpp"
#include "process.hpp"

namespace cps::gui::test {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

class ProgramSmokeTest : public QObject {
  Q_OBJECT

 private slots:
  void endsCleanlyOnASignal_data() {
    QTest::addColumn<int>("signal");
    QTest::addColumn<bool>("firstRun");
    QTest::newRow("main window, SIGTERM") << SIGTERM << false;
    QTest::newRow("main window, SIGINT") << SIGINT << false;
    QTest::newRow("first-run dialog, SIGTERM") << SIGTERM << true;
    QTest::newRow("first-run dialog, SIGINT") << SIGINT << true;
  }
  void endsCleanlyOnASignal() {
    QFETCH(int, signal);
    QFETCH(bool, firstRun);
    QTemporaryDir dir;
    const fs::path base = fs::path(dir.path().toStdString()) / "dist";
    fs::copy(fs::path(CPS_PROGRAM_DIR).parent_path(), base, fs::copy_options::recursive);
    fs::remove(base / "V200" / "Setting.ini");
    const auto setup = base / "language" / "mysetup.ini";
    WriteProfileString(setup, "language", "IsFirstRun", firstRun ? "1" : "0");
    WriteProfileString(setup, "language", "CurrentLanguage", "2");

    qputenv("QT_QPA_PLATFORM", "offscreen");
    e2e::Process program({(base / "V200" / "cps530").string()});
    // Let it come up; the end request waits in the event loop if it is early.
    QTest::qWait(1500);
    program.sendSignal(signal);
    const auto finished = program.wait(30s);
    QCOMPARE(finished.status, 0);
    if (firstRun) {
      // As Cancel in the dialog: no main window, and the next start asks again.
      QVERIFY(!fs::exists(base / "V200" / "Setting.ini"));
      QCOMPARE(ReadProfileString(setup, "language", "IsFirstRun", ""), std::string("1"));
    } else {
      // Written by the main window's end, so the window existed and closed in order.
      QVERIFY(fs::exists(base / "V200" / "Setting.ini"));
      QCOMPARE(fs::file_size(base / "V200" / "Setting.ini"), std::uintmax_t{4});
      QCOMPARE(ReadProfileString(setup, "language", "CurrentLanguage", ""), std::string("2"));
    }
  }
};

}  // namespace cps::gui::test

QTEST_GUILESS_MAIN(cps::gui::test::ProgramSmokeTest)
#include "program_smoke_test.moc"
