// The first-run dialog against the virtual radio on a pseudo-terminal: the
// handshake on echoing and plain cables, a port that cannot be opened, a radio
// that keeps silent, Cancel, and the port list it offers.
#include "gui/link/load_frm_link.hpp"

#include <QComboBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSerialPort>
#include <QTimer>
#include <QtTest>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "core/link/engine.hpp"
#include "gui_fixture.hpp"
#include "platform/serial_link_host.hpp"
#include "virtual_radio.hpp"

namespace cps::gui::test {

namespace {

constexpr int kRadioPort = 3;
// Generous: the slowest link test is four 300 ms waits.
constexpr int kPatienceMs = 10000;

std::string plugIn(const GuiFixture& f, const std::string& name) {
  const auto path = f.folder.file(name);
  std::ofstream(path) << "";
  return path.string();
}

// A first run, as start-up shows the dialog.
struct FirstRun : GuiFixture {
  FirstRun() { context.isFirstRun = true; }
};

struct Dialog {
  explicit Dialog(GuiFixture& f) : window(f.context) { window.show(); }
  template <typename T>
  T* child(const char* name) {
    return window.findChild<T*>(QLatin1String(name));
  }
  QComboBox& list() { return *child<QComboBox>("Combo1"); }
  QStringList items() {
    QStringList shown;
    for (int i = 0; i < list().count(); ++i) shown << list().itemText(i);
    return shown;
  }
  void ok() { child<QPushButton>("Command1")->click(); }
  bool portOpen() { return child<QSerialPort>("MSComm1")->isOpen(); }
  LoadFrmLink window;
};

}  // namespace

class LoadFrmLinkTest : public QObject {
  Q_OBJECT

 private slots:
  void showsTheInstructionsAndItsOwnCaptions() {
    FirstRun f;
    Dialog d(f);
    QCOMPARE(d.window.objectName(), QStringLiteral("LoadFrmLink"));
    QCOMPARE(d.window.windowTitle(), QStringLiteral("Initial Setup"));
    QCOMPARE(d.child<QLabel>("Label1")->text(), QStringLiteral("Com Port"));
    QCOMPARE(d.child<QPushButton>("Command1")->text(), f.context.text(9017));
    QCOMPARE(d.child<QPushButton>("Command2")->text(), f.context.text(9018));
    auto* text = d.child<QPlainTextEdit>("Text1");
    QVERIFY(text->isReadOnly());
    const QStringList lines = text->toPlainText().split(QLatin1Char('\n'));
    QCOMPARE(lines.size(), 6);
    QCOMPARE(lines[0], QStringLiteral("Before the first use, test the connection to a radio:"));
    QVERIFY(lines[1].isEmpty());
    QVERIFY(lines[2].startsWith(QStringLiteral("1. ")));
    QVERIFY(lines[5].startsWith(QStringLiteral("4. ")));
  }

  // The steps name the list and the button by the captions the dialog shows,
  // in either language.
  void instructionsNameWhatIsOnScreen_data() { LanguageRows(); }
  void instructionsNameWhatIsOnScreen() {
    QFETCH(int, language);
    FirstRun f;
    f.context.setLanguage(language);
    Dialog d(f);
    const QStringList lines =
        d.child<QPlainTextEdit>("Text1")->toPlainText().split(QLatin1Char('\n'));
    QCOMPARE(lines.size(), 6);
    const QString portLabel = d.child<QLabel>("Label1")->text().remove(QLatin1Char('&'));
    const QString okButton = d.child<QPushButton>("Command1")->text().remove(QLatin1Char('&'));
    QVERIFY(!portLabel.isEmpty() && !okButton.isEmpty());
    QVERIFY2(lines[4].contains(portLabel), qPrintable(lines[4] + " / " + portLabel));
    QVERIFY2(lines[5].contains(okButton), qPrintable(lines[5] + " / " + okButton));
  }

  void theRadioAnswers_data() {
    QTest::addColumn<bool>("echoingCable");
    QTest::addColumn<bool>("echoExpected");
    QTest::addColumn<int>("unanswered");
    QTest::addColumn<bool>("echoAfter");
    QTest::newRow("echoing cable, echo expected") << true << true << 0 << true;
    // The first attempt waits behind an echo that never comes; the second,
    // expecting none, is answered, and later transfers start without the echo.
    QTest::newRow("plain cable, echo expected") << false << true << 1 << false;
    QTest::newRow("plain cable, no echo expected") << false << false << 0 << false;
    // The answer ends the bytes behind the echo: a link, as it is.
    QTest::newRow("echoing cable, no echo expected") << true << false << 0 << false;
  }
  void theRadioAnswers() {
    QFETCH(bool, echoingCable);
    QFETCH(bool, echoExpected);
    QFETCH(int, unanswered);
    QFETCH(bool, echoAfter);
    FirstRun f;
    VirtualRadio radio(echoingCable ? std::vector<std::string>{"--echo"}
                                    : std::vector<std::string>{});
    QVERIFY(!radio.device().empty());
    f.folder.enterPort(kRadioPort, radio.device());
    f.context.comPort = kRadioPort;
    f.context.state.link.echoExpected = echoExpected;
    Dialog d(f);
    QCOMPARE(d.list().currentText(), QStringLiteral("COM3"));
    d.ok();
    QTRY_VERIFY_WITH_TIMEOUT(!d.window.isVisible(), kPatienceMs);
    QCOMPARE(d.window.result(), int(QDialog::Accepted));
    QVERIFY(!f.context.isFirstRun);
    QCOMPARE(f.context.comPort, kRadioPort);
    QCOMPARE(f.context.state.link.echoExpected, echoAfter);
    QCOMPARE(d.window.linkAttempts(), unanswered);
    QVERIFY(!d.portOpen());
    QVERIFY(f.prompter.asked.empty());
  }

  // The link test leaves the radio in programming mode; the first transfer of
  // the run must still find it, on the port and echo setting the test left.
  void aTransferAfterTheLinkTestRuns() {
    FirstRun f;
    VirtualRadio radio({});
    QVERIFY(!radio.device().empty());
    f.folder.enterPort(kRadioPort, radio.device());
    f.context.comPort = kRadioPort;
    {
      Dialog d(f);
      d.ok();
      QTRY_VERIFY_WITH_TIMEOUT(!d.window.isVisible(), kPatienceMs);
      QVERIFY(!f.context.isFirstRun);
    }

    std::vector<std::pair<TransferKind, bool>> ended;
    SerialLinkHost host(
        QString::fromStdString(radio.device()),
        {{}, [&](TransferKind kind, bool success) { ended.emplace_back(kind, success); }, {}, {}});
    ProtocolEngine engine(f.context.state, f.prompter, host,
                          {f.context.versions, f.context.langTextFunction(), f.context.folders.base,
                           f.context.executableName});
    host.setEngine(&engine);
    f.prompter.expect(9009, Answer::Ok);  // reading is complete
    QVERIFY(engine.OpenRadioPort(TransferKind::ReadAll));
    engine.start();
    QTRY_VERIFY_WITH_TIMEOUT(!ended.empty(), 30000);
    QCOMPARE(ended.front().second, true);
    QVERIFY2(f.prompter.unexpected.empty(), f.prompter.unexpectedText().c_str());
    QCOMPARE(f.prompter.pending(), std::size_t{0});
  }

  void aPortThatCannotBeOpenedIsReportedAndTheDialogStays_data() {
    QTest::addColumn<QString>("device");  // entered as COM3; empty: not entered
    QTest::newRow("not in the port map") << QString();
    QTest::newRow("device gone") << QStringLiteral("/nonexistent/cps530-tty");
    QTest::newRow("a file, not a serial line") << QStringLiteral("plain-file");
  }
  void aPortThatCannotBeOpenedIsReportedAndTheDialogStays() {
    QFETCH(QString, device);
    FirstRun f;
    if (device == QStringLiteral("plain-file")) {
      f.folder.enterPort(kRadioPort, plugIn(f, "plain-file"));
    } else if (!device.isEmpty()) {
      f.folder.enterPort(kRadioPort, device.toStdString());
    }
    f.context.comPort = kRadioPort;
    Dialog d(f);
    // The list may not show COM3; the test is of opening the port chosen.
    f.context.comPort = kRadioPort;
    f.prompter.expectFixed(kCannotOpenPortText, Answer::Ok);
    d.ok();
    QVERIFY2(f.prompter.unexpected.empty(), f.prompter.unexpectedText().c_str());
    QCOMPARE(f.prompter.pending(), std::size_t{0});
    QCOMPARE(f.prompter.asked.front().icon, Icon::Critical);
    QVERIFY(d.window.isVisible());
    QVERIFY(f.context.isFirstRun);
    QVERIFY(!d.portOpen());
    QVERIFY(!d.child<QTimer>("LinkWaitTimer")->isActive());
  }

  // The system refuses a port another program holds as it refuses a port the
  // user may not use; the user is told which it is.
  void aPortHeldByAnotherProgramIsToldAsBusy() {
    FirstRun f;
    VirtualRadio radio({});
    QVERIFY(!radio.device().empty());
    QSerialPort other(QString::fromStdString(radio.device()));
    QVERIFY(other.open(QIODevice::ReadWrite));
    f.folder.enterPort(kRadioPort, radio.device());
    f.context.comPort = kRadioPort;
    Dialog d(f);
    f.prompter.expect(text::kPortBusy, Answer::Ok);
    d.ok();
    QVERIFY2(f.prompter.unexpected.empty(), f.prompter.unexpectedText().c_str());
    QCOMPARE(f.prompter.pending(), std::size_t{0});
    QCOMPARE(f.prompter.asked.front().arguments, std::vector<std::string>{radio.device()});
    QVERIFY(d.window.isVisible());
    QVERIFY(f.context.isFirstRun);
  }

  // The chosen port's device is shown beside the list.
  void theChosenPortsDeviceIsShown() {
    FirstRun f;
    const auto device = plugIn(f, "cable");
    f.folder.enterPort(kRadioPort, device);
    f.context.comPort = kRadioPort;
    Dialog d(f);
    QCOMPARE(d.list().currentText(), QStringLiteral("COM3"));
    QCOMPARE(d.child<QLabel>("Device")->text(), QString::fromStdString(device));
    QCOMPARE(d.list().itemData(d.list().currentIndex(), Qt::ToolTipRole).toString(),
             QString::fromStdString(device));
    QCOMPARE(d.child<QLabel>("DeviceLabel")->text(), f.context.text(text::kPortDeviceLabel));
  }

  void aSilentRadioGivesACommunicationErrorAfterFourAttempts_data() {
    QTest::addColumn<bool>("echoingCable");
    QTest::newRow("plain cable") << false;
    // The cable hands back the request even though the radio keeps silent.
    QTest::newRow("echoing cable") << true;
  }
  void aSilentRadioGivesACommunicationErrorAfterFourAttempts() {
    QFETCH(bool, echoingCable);
    FirstRun f;
    std::vector<std::string> options{"--mute-after", "0"};
    if (echoingCable) options.push_back("--echo");
    VirtualRadio radio(options);
    QVERIFY(!radio.device().empty());
    f.folder.enterPort(kRadioPort, radio.device());
    f.context.comPort = kRadioPort;
    Dialog d(f);
    int waits = 0;
    connect(d.child<QTimer>("LinkWaitTimer"), &QTimer::timeout, this, [&waits] { ++waits; });

    // Twice: the count starts again at the next OK.
    for (int round = 1; round <= 2; ++round) {
      f.prompter.expectFixed(kCommunicationErrorText, Answer::Ok);
      d.ok();
      QTRY_VERIFY_WITH_TIMEOUT(f.prompter.pending() == 0, kPatienceMs);
      QCOMPARE(waits, 4 * round);
      QVERIFY2(f.prompter.unexpected.empty(), f.prompter.unexpectedText().c_str());
      QVERIFY(d.window.isVisible());
      QVERIFY(f.context.isFirstRun);
      QCOMPARE(d.window.linkAttempts(), 0);
      QVERIFY(!d.child<QTimer>("LinkWaitTimer")->isActive());
      QVERIFY(!d.portOpen());
    }
    // Three turns of the echo assumption in each round.
    QCOMPARE(f.context.state.link.echoExpected, true);
  }

  void cancelLeavesTheFirstRunSet() {
    FirstRun f;
    Dialog d(f);
    d.child<QPushButton>("Command2")->click();
    QCOMPARE(d.window.result(), int(QDialog::Rejected));
    QVERIFY(!d.window.isVisible());
    QVERIFY(f.context.isFirstRun);
  }

  void cancelWhileWaitingEndsTheTest() {
    FirstRun f;
    VirtualRadio radio({"--mute-after", "0"});
    QVERIFY(!radio.device().empty());
    f.folder.enterPort(kRadioPort, radio.device());
    f.context.comPort = kRadioPort;
    Dialog d(f);
    d.ok();
    QVERIFY(d.portOpen());
    QVERIFY(d.child<QTimer>("LinkWaitTimer")->isActive());
    d.child<QPushButton>("Command2")->click();
    QVERIFY(!d.portOpen());
    for (const char* timer : {"LinkWaitTimer", "EndTimer", "ReCommTimer"}) {
      QVERIFY2(!d.child<QTimer>(timer)->isActive(), timer);
    }
    QVERIFY(f.context.isFirstRun);
    QVERIFY(f.prompter.asked.empty());
  }

  void theListHoldsThePresentPortsOfTheMap() {
    FirstRun f;
    f.folder.enterPort(1, plugIn(f, "com1"));
    f.folder.enterPort(2, f.folder.file("pulled-out").string());
    f.folder.enterPort(20, plugIn(f, "com20"));
    f.context.comPort = 20;
    Dialog d(f);
    const QStringList items = d.items();
    // Other serial devices of this computer may be listed too, each with its number.
    QCOMPARE(items.value(0), QStringLiteral("COM1"));
    QVERIFY(!items.contains(QStringLiteral("COM2")));
    QVERIFY(items.contains(QStringLiteral("COM20")));
    QCOMPARE(d.list().currentText(), QStringLiteral("COM20"));
    QCOMPARE(f.context.comPort, 20);
  }

  void theShownPortIsThePortTested_data() {
    QTest::addColumn<int>("comPort");
    QTest::addColumn<QString>("shown");
    QTest::addColumn<int>("comPortAfter");
    QTest::newRow("listed") << 5 << "COM5" << 5;
    QTest::newRow("not listed: the first port") << 9 << "COM1" << 1;
  }
  void theShownPortIsThePortTested() {
    QFETCH(int, comPort);
    QFETCH(QString, shown);
    QFETCH(int, comPortAfter);
    FirstRun f;
    f.folder.enterPort(1, plugIn(f, "com1"));
    f.folder.enterPort(5, plugIn(f, "com5"));
    f.context.comPort = comPort;
    Dialog d(f);
    QCOMPARE(d.list().currentText(), shown);
    QCOMPARE(f.context.comPort, comPortAfter);
  }

  void choosingInTheListSetsThePort() {
    FirstRun f;
    f.folder.enterPort(1, plugIn(f, "com1"));
    f.folder.enterPort(12, plugIn(f, "com12"));
    Dialog d(f);
    d.list().setCurrentIndex(d.list().findText(QStringLiteral("COM12")));
    QCOMPARE(f.context.comPort, 12);
    // The refresh keeps the user's choice.
    QTest::qWait(1500);
    QCOMPARE(d.list().currentText(), QStringLiteral("COM12"));
  }

  void anEmptyListTestsPort1() {
    FirstRun f;
    // Every number taken by a device that is gone: this computer's own serial
    // ports get none, and no port is present.
    {
      std::ofstream ports(f.folder.portsFile());
      ports << "[SERIALCOMM]\n";
      for (int n = 1; n <= 255; ++n) ports << "COM" << n << "=/nonexistent/tty" << n << "\n";
    }
    f.context.comPort = 7;
    Dialog d(f);
    QCOMPARE(d.list().count(), 0);
    QCOMPARE(d.list().currentIndex(), -1);
    QCOMPARE(f.context.comPort, 1);
    f.prompter.expectFixed(kCannotOpenPortText, Answer::Ok);
    d.ok();
    QCOMPARE(f.prompter.pending(), std::size_t{0});
    QVERIFY(d.window.isVisible());
  }

  void aPortPluggedInIsListedWithinASecond() {
    FirstRun f;
    f.folder.enterPort(1, plugIn(f, "com1"));
    f.folder.enterPort(7, f.folder.file("adapter").string());
    f.context.comPort = 1;
    Dialog d(f);
    QVERIFY(!d.items().contains(QStringLiteral("COM7")));
    plugIn(f, "adapter");
    QTRY_VERIFY_WITH_TIMEOUT(d.items().contains(QStringLiteral("COM7")), 5000);
    QCOMPARE(d.list().currentText(), QStringLiteral("COM1"));
  }

  void nt6ListsEveryPortWithoutFollowingTheMap() {
    FirstRun f;
    f.context.isNt6 = true;
    f.context.comPort = 42;
    Dialog d(f);
    QCOMPARE(d.list().count(), 255);
    QCOMPARE(d.list().itemText(254), QStringLiteral("COM255"));
    QCOMPARE(d.list().currentText(), QStringLiteral("COM42"));
    QVERIFY(!d.child<QTimer>("ReCommTimer")->isActive());
  }
};

}  // namespace cps::gui::test

QTEST_MAIN(cps::gui::test::LoadFrmLinkTest)
#include "load_frm_link_test.moc"
