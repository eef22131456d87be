// The real program from a copy of the built program folder: it starts, shows
// its main window and ends cleanly when told to, writing its settings.
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
  void startsAndEndsCleanly() {
    QTemporaryDir dir;
    const fs::path base = fs::path(dir.path().toStdString()) / "dist";
    fs::copy(fs::path(CPS_PROGRAM_DIR).parent_path(), base, fs::copy_options::recursive);
    fs::remove(base / "V200" / "Setting.ini");
    const auto setup = base / "language" / "mysetup.ini";
    WriteProfileString(setup, "language", "IsFirstRun", "0");
    WriteProfileString(setup, "language", "CurrentLanguage", "2");

    qputenv("QT_QPA_PLATFORM", "offscreen");
    e2e::Process program({(base / "V200" / "cps530").string()});
    // Let it come up; the end request waits in the event loop if it is early.
    QTest::qWait(1500);
    program.terminate();
    const auto finished = program.wait(30s);
    QCOMPARE(finished.status, 0);
    // Written by the main window's end, so the window existed and closed in order.
    QVERIFY(fs::exists(base / "V200" / "Setting.ini"));
    QCOMPARE(fs::file_size(base / "V200" / "Setting.ini"), std::uintmax_t{4});
    QCOMPARE(ReadProfileString(setup, "language", "CurrentLanguage", ""), std::string("2"));
  }
};

}  // namespace cps::gui::test

QTEST_GUILESS_MAIN(cps::gui::test::ProgramSmokeTest)
#include "program_smoke_test.moc"
