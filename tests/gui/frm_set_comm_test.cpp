// The port dialog: which port buttons it enables from the port map, how a port
// plugged in or pulled out while it is open shows, and what OK and Cancel leave
// in the run and in the language setup file.
#include "gui/link/frm_set_comm.hpp"

#include <QGroupBox>
#include <QPushButton>
#include <QRadioButton>
#include <QtTest>
#include <filesystem>
#include <fstream>
#include <string>

#include "gui_fixture.hpp"

namespace cps::gui::test {

namespace {

constexpr int kSaveFailed = 9002;

// A device that exists: what a plugged-in adapter is to the port map.
std::string plugIn(const GuiFixture& f, const std::string& name) {
  const auto path = f.folder.file(name);
  std::ofstream(path) << "";
  return path.string();
}

struct Dialog {
  explicit Dialog(GuiFixture& f) : window(f.context) { window.show(); }
  QRadioButton* option(int index) {
    return window.findChild<QRadioButton*>(QStringLiteral("Option1(%1)").arg(index));
  }
  int checkedIndex() {
    for (int i = 0; i < FrmSetComm::kPortButtons; ++i) {
      if (option(i)->isChecked()) return i;
    }
    return -1;
  }
  void click(const char* name) { window.findChild<QPushButton*>(QLatin1String(name))->click(); }
  FrmSetComm window;
};

}  // namespace

class FrmSetCommTest : public QObject {
  Q_OBJECT

 private slots:
  void captionsComeFromTheLanguageFile_data() {
    QTest::addColumn<int>("language");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QString>("frame");
    QTest::addColumn<QString>("first");
    QTest::addColumn<QString>("last");
    QTest::addColumn<QString>("ok");
    QTest::newRow("English") << kEnglish << "Communication Port"
                             << "Communication port"
                             << "COM1"
                             << "COM16"
                             << "OK";
    QTest::newRow("Chinese") << kChinese << "通信端口设置"
                             << "通信端口"
                             << "通信口1"
                             << "通信口16"
                             << "确定";
  }
  void captionsComeFromTheLanguageFile() {
    QFETCH(int, language);
    QFETCH(QString, caption);
    QFETCH(QString, frame);
    QFETCH(QString, first);
    QFETCH(QString, last);
    QFETCH(QString, ok);
    GuiFixture f;
    f.context.setLanguage(language);
    Dialog d(f);
    QCOMPARE(d.window.objectName(), QStringLiteral("FrmSetComm"));
    QCOMPARE(d.window.windowTitle(), caption);
    QCOMPARE(d.window.findChild<QGroupBox*>(QStringLiteral("Frame1"))->title(), frame);
    QCOMPARE(d.option(0)->text(), first);
    QCOMPARE(d.option(15)->text(), last);
    QCOMPARE(d.window.findChild<QPushButton*>(QStringLiteral("CommandOK"))->text(), ok);
  }

  // Each row enters one port; other ports of this computer may get numbers of
  // their own, so only the entered port is looked at.
  void aButtonIsEnabledWhileItsDeviceExists_data() {
    QTest::addColumn<int>("number");
    QTest::addColumn<bool>("deviceExists");
    QTest::newRow("COM1 plugged in") << 1 << true;
    QTest::newRow("COM2 pulled out") << 2 << false;
    QTest::newRow("COM16 plugged in") << 16 << true;
    QTest::newRow("COM16 pulled out") << 16 << false;
  }
  void aButtonIsEnabledWhileItsDeviceExists() {
    QFETCH(int, number);
    QFETCH(bool, deviceExists);
    GuiFixture f;
    f.folder.enterPort(number,
                       deviceExists ? plugIn(f, "device") : f.folder.file("pulled-out").string());
    Dialog d(f);
    QCOMPARE(d.option(number - 1)->isEnabled(), deviceExists);
  }

  void onlyPorts1To16HaveButtons() {
    GuiFixture f;
    f.folder.enterPort(20, plugIn(f, "com20"));
    Dialog d(f);
    QCOMPARE(d.window.findChildren<QRadioButton*>().size(), FrmSetComm::kPortButtons);
    QVERIFY(d.option(16) == nullptr);
  }

  void nt6EnablesEveryButtonWithoutAPortMap() {
    GuiFixture f;
    f.context.isNt6 = true;
    f.folder.enterPort(2, f.folder.file("pulled-out").string());
    Dialog d(f);
    for (int i = 0; i < FrmSetComm::kPortButtons; ++i) QVERIFY(d.option(i)->isEnabled());
  }

  void theCurrentPortIsChosenEvenWhenItIsAbsent_data() {
    QTest::addColumn<int>("comPort");
    QTest::addColumn<int>("checked");
    QTest::newRow("COM3") << 3 << 2;
    QTest::newRow("COM16") << 16 << 15;
    QTest::newRow("COM20 has no button") << 20 << -1;
  }
  void theCurrentPortIsChosenEvenWhenItIsAbsent() {
    QFETCH(int, comPort);
    QFETCH(int, checked);
    GuiFixture f;
    f.context.comPort = comPort;
    Dialog d(f);
    QCOMPARE(d.checkedIndex(), checked);
  }

  void portsPluggedInAndOutShowWithinASecondAndTheChoiceStays() {
    GuiFixture f;
    const std::string first = plugIn(f, "first");
    f.folder.enterPort(1, first);
    f.folder.enterPort(2, f.folder.file("second").string());
    f.context.comPort = 2;
    Dialog d(f);
    QVERIFY(d.option(0)->isEnabled());
    QVERIFY(!d.option(1)->isEnabled());
    QCOMPARE(d.checkedIndex(), 1);

    plugIn(f, "second");
    QTRY_VERIFY_WITH_TIMEOUT(d.option(1)->isEnabled(), 5000);
    QCOMPARE(d.checkedIndex(), 1);

    // The user picks COM1; then its adapter is pulled out: still the choice.
    d.option(0)->click();
    std::filesystem::remove(first);
    QTRY_VERIFY_WITH_TIMEOUT(!d.option(0)->isEnabled(), 5000);
    QCOMPARE(d.checkedIndex(), 0);
    d.click("CommandOK");
    QCOMPARE(f.context.comPort, 1);
    QCOMPARE(f.folder.setupValue("comPort"), std::string("1"));
  }

  void okKeepsTheChosenPort_data() {
    QTest::addColumn<int>("choice");
    QTest::newRow("COM1") << 0;
    QTest::newRow("COM7") << 6;
    QTest::newRow("COM16") << 15;
  }
  void okKeepsTheChosenPort() {
    QFETCH(int, choice);
    GuiFixture f;
    f.context.isNt6 = true;  // every button can be clicked
    f.folder.writeSetup("0", "4", "2");
    f.context.comPort = 4;
    Dialog d(f);
    d.option(choice)->click();
    d.click("CommandOK");
    QCOMPARE(d.window.result(), int(QDialog::Accepted));
    QVERIFY(!d.window.isVisible());
    QCOMPARE(f.context.comPort, choice + 1);
    QCOMPARE(f.folder.setupValue("comPort"), std::to_string(choice + 1));
    QCOMPARE(f.folder.setupValue("CurrentLanguage"), std::string("2"));
    QCOMPARE(f.folder.setupValue("IsFirstRun"), std::string("0"));
    QVERIFY(f.prompter.asked.empty());
  }

  void okWithoutAChoiceKeepsThePortAbove16() {
    GuiFixture f;
    f.folder.writeSetup("0", "20", "1");
    f.context.comPort = 20;
    Dialog d(f);
    d.click("CommandOK");
    QCOMPARE(d.window.result(), int(QDialog::Accepted));
    QCOMPARE(f.context.comPort, 20);
    QCOMPARE(f.folder.setupValue("comPort"), std::string("20"));
  }

  void cancelChangesNothing() {
    GuiFixture f;
    f.context.isNt6 = true;
    f.folder.writeSetup("0", "4", "1");
    f.context.comPort = 4;
    Dialog d(f);
    d.option(8)->click();
    d.click("CommandCancel");
    QCOMPARE(d.window.result(), int(QDialog::Rejected));
    QVERIFY(!d.window.isVisible());
    QCOMPARE(f.context.comPort, 4);
    QCOMPARE(f.folder.setupValue("comPort"), std::string("4"));
  }

  void closingStopsTheRefresh() {
    GuiFixture f;
    Dialog d(f);
    auto* timer = d.window.findChild<QTimer*>(QStringLiteral("ReCommTimer"));
    QVERIFY(timer->isActive());
    d.click("CommandCancel");
    QVERIFY(!timer->isActive());
  }

  void aSetupFileThatCannotBeWrittenIsReported() {
    GuiFixture f;
    f.context.isNt6 = true;
    // A folder where the file should be: nothing can be written there.
    std::filesystem::remove(f.folder.setupFile());
    std::filesystem::create_directory(f.folder.setupFile());
    f.prompter.expect(kSaveFailed, Answer::Ok);
    Dialog d(f);
    d.option(5)->click();
    d.click("CommandOK");
    // The run still uses the port chosen; only the next start will not know it.
    QCOMPARE(f.context.comPort, 6);
    QCOMPARE(d.window.result(), int(QDialog::Accepted));
    QVERIFY2(f.prompter.unexpected.empty(), f.prompter.unexpectedText().c_str());
    QCOMPARE(f.prompter.pending(), std::size_t{0});
    QCOMPARE(f.prompter.asked.front().icon, Icon::Critical);
  }
};

}  // namespace cps::gui::test

QTEST_MAIN(cps::gui::test::FrmSetCommTest)
#include "frm_set_comm_test.moc"
