// SIGTERM, SIGINT and SIGHUP while a dialog is open: the dialog closes as its
// close button would close it, the code that opened it carries on with that
// answer, and the run ends: the first-run dialog ends start-up, the main
// window closes with its usual question (a changed document kept for recovery
// until it is answered), and a further signal ends it without asking. A
// transfer under way is stopped first, each radio hearing END.
#include "gui/app/termination.hpp"

#include <QApplication>
#include <QCheckBox>
#include <QMessageBox>
#include <QProgressBar>
#include <QPushButton>
#include <QTimer>
#include <QtTest>
#include <algorithm>
#include <csignal>
#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>

#include "core/document/instances.hpp"
#include "gui/app/frm_main.hpp"
#include "gui/app/message_box_prompter.hpp"
#include "gui/link/frm_progress.hpp"
#include "gui/link/frm_write_several.hpp"
#include "gui/link/load_frm_link.hpp"
#include "gui/link/radio_link.hpp"
#include "gui_fixture.hpp"
#include "virtual_radio.hpp"

namespace cps::gui::test {

namespace {

// Generous: the signal is read in the next turn of the event loop.
constexpr int kPatienceMs = 20000;

// Runs `action` once a modal widget of type T is open (and `accept` agrees),
// polling, so that the test script follows the program's own dialogs. The poll
// ends with `owner` when it never found its dialog.
template <typename T>
void whenOpen(
    QObject& owner, std::function<void(T&)> action,
    std::function<bool(T&)> accept = [](T&) { return true; }) {
  auto* poll = new QTimer(&owner);
  QObject::connect(poll, &QTimer::timeout, poll, [poll, action, accept] {
    auto* widget = dynamic_cast<T*>(QApplication::activeModalWidget());
    if (!widget || !accept(*widget)) return;
    poll->deleteLater();
    poll->stop();
    action(*widget);
  });
  poll->start(10);
}

// The signal as kill or Ctrl+C sends it; blocked, it waits for the watch.
void sendSignal(int number) { raise(number); }

// A dialog that the signal failed to close would hold the test for good: after
// the patience it is closed, and the test fails.
class Guard {
 public:
  Guard() {
    m_timer.setInterval(kPatienceMs);
    QObject::connect(&m_timer, &QTimer::timeout, &m_timer, [this] {
      m_timer.setInterval(10);
      if (QWidget* modal = QApplication::activeModalWidget()) {
        m_stuck = true;
        modal->hide();
      }
    });
    m_timer.start();
  }
  bool stuck() const { return m_stuck; }

 private:
  QTimer m_timer;
  bool m_stuck = false;
};

// The documents kept in the recovery folder.
std::size_t recoveryCopies(const std::filesystem::path& folder) {
  std::error_code ec;
  std::size_t copies = 0;
  for (const auto& entry : std::filesystem::directory_iterator(folder, ec)) {
    if (entry.path().extension() == ".dat") ++copies;
  }
  return copies;
}

// The run's state with the real message boxes.
struct Desktop : GuiFixture {
  Desktop() : boxes(context) { context.setPrompter(boxes); }
  MessageBoxPrompter boxes;
};

}  // namespace

class TerminationTest : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() { TerminationWatch::blockSignals(); }

  void messageBoxTakesItsCautiousAnswer_data() {
    QTest::addColumn<int>("signal");
    QTest::addColumn<int>("buttons");
    QTest::addColumn<int>("answer");
    QTest::newRow("OK") << SIGTERM << int(Buttons::Ok) << int(Answer::Ok);
    QTest::newRow("OK, Cancel") << SIGTERM << int(Buttons::OkCancel) << int(Answer::Cancel);
    QTest::newRow("Yes, No") << SIGTERM << int(Buttons::YesNo) << int(Answer::No);
    QTest::newRow("Yes, No, Cancel") << SIGTERM << int(Buttons::YesNoCancel) << int(Answer::Cancel);
    QTest::newRow("Retry, Cancel") << SIGTERM << int(Buttons::RetryCancel) << int(Answer::Cancel);
    QTest::newRow("Yes, No by Ctrl+C") << SIGINT << int(Buttons::YesNo) << int(Answer::No);
  }
  void messageBoxTakesItsCautiousAnswer() {
    QFETCH(int, signal);
    QFETCH(int, buttons);
    QFETCH(int, answer);
    Desktop f;
    TerminationWatch watch;
    QList<bool> ends;
    watch.setEndOfRun([&ends](bool insist) { ends << insist; });
    Guard guard;
    QObject script;
    whenOpen<QMessageBox>(script, [signal](QMessageBox&) { sendSignal(signal); });
    QCOMPARE(f.boxes.ask(TextMessage(9006, Buttons(buttons), Icon::Warning)), Answer(answer));
    QVERIFY(!guard.stuck());
    // Once the box has given its answer, the run ends.
    QTRY_COMPARE_WITH_TIMEOUT(ends.size(), 1, kPatienceMs);
    QCOMPARE(ends.first(), false);
    QCOMPARE(watch.signalsReceived(), 1);
  }

  void firstRunDialogEndsStartUp_data() {
    QTest::addColumn<int>("signal");
    QTest::addColumn<bool>("portMessage");  // the port cannot be opened: a message on top
    QTest::newRow("SIGTERM") << SIGTERM << false;
    QTest::newRow("SIGINT") << SIGINT << false;
    QTest::newRow("SIGTERM with a message on top") << SIGTERM << true;
  }
  void firstRunDialogEndsStartUp() {
    QFETCH(int, signal);
    QFETCH(bool, portMessage);
    Desktop f;
    f.context.isFirstRun = true;
    // A port whose device is a plain file: it is listed, and it cannot be opened.
    const auto plain = f.folder.file("plain-file");
    std::ofstream(plain) << "";
    f.folder.enterPort(1, plain.string());
    TerminationWatch watch;
    Guard guard;
    QObject script;
    LoadFrmLink dialog(f.context);
    if (portMessage) {
      whenOpen<LoadFrmLink>(script,
                            [](LoadFrmLink& d) { d.findChild<QPushButton*>("Command1")->click(); });
      whenOpen<QMessageBox>(script, [signal](QMessageBox&) { sendSignal(signal); });
    } else {
      whenOpen<LoadFrmLink>(script, [signal](LoadFrmLink&) { sendSignal(signal); });
    }
    QCOMPARE(dialog.exec(), int(QDialog::Rejected));
    QVERIFY(!guard.stuck());
    // As Cancel would: the first run is still to come, and start-up ends.
    QVERIFY(f.context.isFirstRun);
    QCOMPARE(QApplication::activeModalWidget(), nullptr);
  }

  void mainWindowEnds_data() {
    QTest::addColumn<bool>("changed");
    QTest::addColumn<bool>("boxOpen");  // a message box is open when the signal comes
    // What happens at the unsaved-changes question: "" none expected, "No",
    // "Cancel", "signal" (a second signal comes while it is open).
    QTest::addColumn<QString>("atQuestion");
    QTest::addColumn<bool>("ends");
    QTest::newRow("nothing changed") << false << false << "" << true;
    QTest::newRow("nothing changed, a message box open") << false << true << "" << true;
    QTest::newRow("changed, the user answers No") << true << false << "No" << true;
    QTest::newRow("changed, the user answers Cancel") << true << false << "Cancel" << false;
    QTest::newRow("changed, a second signal insists") << true << false << "signal" << true;
    QTest::newRow("changed, a message box open, then No") << true << true << "No" << true;
  }
  void mainWindowEnds() {
    QFETCH(bool, changed);
    QFETCH(bool, boxOpen);
    QFETCH(QString, atQuestion);
    QFETCH(bool, ends);
    Desktop f;
    f.context.recoveryFolder = f.folder.file("recovered");
    FrmMain window(f.context);
    window.show();
    TerminationWatch watch;
    watch.setEndOfRun([&window](bool insist) { window.closeOnSignal(insist); });
    if (changed) {
      f.context.state.workingDocument.optionalFeatures.values[5] = 2;
      QVERIFY(IsDocumentChanged(f.context.state));
    }
    Guard guard;
    QObject script;
    bool asked = false;
    std::size_t copiesWhileAsked = 0;
    const auto isQuestion = [&f](QMessageBox& box) {
      return box.text() == f.context.text(cps::text::kUnsavedChanges);
    };
    whenOpen<QMessageBox>(
        script,
        [&asked, &copiesWhileAsked, &f, atQuestion](QMessageBox& box) {
          asked = true;
          // Nobody may answer, and the session may kill the program now:
          // the changes are kept already.
          copiesWhileAsked = recoveryCopies(f.context.recoveryFolder);
          if (atQuestion == "signal") {
            sendSignal(SIGTERM);
          } else {
            box.button(atQuestion == "No" ? QMessageBox::No : QMessageBox::Cancel)->click();
          }
        },
        isQuestion);
    if (boxOpen) {
      QTimer::singleShot(
          0, &window, [&f] { f.boxes.ask(TextMessage(9002, Buttons::OkCancel, Icon::Warning)); });
      whenOpen<QMessageBox>(
          script, [](QMessageBox&) { sendSignal(SIGTERM); },
          [&isQuestion](QMessageBox& box) { return !isQuestion(box); });
    } else {
      sendSignal(SIGTERM);
    }
    if (ends) {
      QTRY_VERIFY_WITH_TIMEOUT(!window.isVisible(), kPatienceMs);
    } else {
      QTRY_VERIFY_WITH_TIMEOUT(asked, kPatienceMs);
      QTest::qWait(200);
      QVERIFY(window.isVisible());
    }
    QCOMPARE(asked, !atQuestion.isEmpty());
    QVERIFY(!guard.stuck());
    QCOMPARE(QApplication::activeModalWidget(), nullptr);
    // The changes were never saved: the question was not answered Yes.
    QCOMPARE(IsDocumentChanged(f.context.state), changed);
    QCOMPARE(copiesWhileAsked, std::size_t{asked ? 1u : 0u});
    // An answer takes the copy away again; a program that ends without one keeps it.
    QCOMPARE(recoveryCopies(f.context.recoveryFolder),
             std::size_t{atQuestion == "signal" ? 1u : 0u});
  }

  // A termination signal while the desktop talks to a radio: the transfer is
  // stopped as Cancel stops it (the radio hears END last), nothing claims it
  // complete, and then the window closes.
  void aTransferUnderWayIsStoppedFirst_data() {
    QTest::addColumn<QString>("command");
    QTest::addColumn<int>("signal");
    QTest::newRow("write, SIGTERM") << "mnuWriteToRadio" << SIGTERM;
    QTest::newRow("read, SIGHUP") << "mnuReadFromRadio" << SIGHUP;
    QTest::newRow("several radios, SIGTERM") << "mnuWriteToSeveral" << SIGTERM;
  }
  void aTransferUnderWayIsStoppedFirst() {
    QFETCH(QString, command);
    QFETCH(int, signal);
    GuiFixture f;
    // At the line's own speed, so that the signal comes part-way.
    VirtualRadio radio({"--verbose", "--pace=9600"});
    QVERIFY(!radio.device().empty());
    f.folder.enterPort(1, radio.device());
    f.context.comPort = 1;
    FrmMain window(f.context);
    RadioLink link(f.context, window);
    window.registerChildWindow("frmCommChInfo", [] { return new QWidget; });
    window.LoadNewDoc();
    window.show();
    TerminationWatch watch;
    watch.setStopTransfers([&link] { return link.stopTransfers(); });
    watch.setEndOfRun([&window](bool insist) { window.closeOnSignal(insist); });
    if (command == "mnuWriteToRadio") f.prompter.expect(cps::text::kConfirmWrite, Answer::Ok);
    if (command == "mnuReadFromRadio") f.prompter.expect(cps::text::kConfirmRead, Answer::Ok);
    Guard guard;
    QObject script;
    const auto partWay = [](QWidget& dialog) {
      const auto bars = dialog.findChildren<QProgressBar*>();
      return std::any_of(bars.begin(), bars.end(),
                         [](QProgressBar* bar) { return bar->value() > bar->maximum() / 10; });
    };
    const auto sendItPartWay = [signal](QWidget&) { sendSignal(signal); };
    if (command == "mnuWriteToSeveral") {
      whenOpen<FrmWriteSeveral>(script, [](FrmWriteSeveral& dialog) {
        dialog.findChild<QPushButton*>(QStringLiteral("StartButton"))->click();
      });
      whenOpen<FrmWriteSeveral>(script, sendItPartWay, partWay);
    } else {
      whenOpen<FrmProgress>(script, sendItPartWay, partWay);
    }
    window.action(command)->trigger();
    QTRY_VERIFY_WITH_TIMEOUT(!window.isVisible(), kPatienceMs);
    QVERIFY(!guard.stuck());
    QVERIFY(!link.busy());
    QCOMPARE(QApplication::activeModalWidget(), nullptr);
    QVERIFY2(f.prompter.unexpected.empty(), f.prompter.unexpectedText().c_str());
    QCOMPARE(f.prompter.pending(), std::size_t{0});
    QVERIFY2(!IsDocumentChanged(f.context.state), "a stopped read leaves the document as it was");
    const auto log = radio.stopAndLog();
    const auto end = log.rfind("host  END | 45 4E 44");
    QVERIFY2(end != std::string::npos, log.c_str());
    QVERIFY2(end == log.rfind("host  "), "END is the last frame the radio heard");
    QVERIFY2(log.find("host  write 0B00+16") == std::string::npos &&
                 log.find("host  read 0B00+16") == std::string::npos,
             "the transfer was stopped part-way");
  }
};

}  // namespace cps::gui::test

QTEST_MAIN(cps::gui::test::TerminationTest)
#include "termination_test.moc"
