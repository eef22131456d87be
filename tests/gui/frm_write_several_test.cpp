// Write to Several Radios against two virtual radios: both written at once
// (and checked), Cancel stopping every session with END on every line, a
// series on one port counted radio by radio with Enter starting the next,
// and the dialog opened from the Program menu, modal over the document.
#include "gui/link/frm_write_several.hpp"

#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QtTest>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "core/app/text_ids.hpp"
#include "core/document/codec.hpp"
#include "core/document/defaults.hpp"
#include "core/link/radio_image.hpp"
#include "gui/app/frm_main.hpp"
#include "gui/link/radio_link.hpp"
#include "gui_fixture.hpp"
#include "virtual_radio.hpp"

namespace cps::gui::test {

namespace fs = std::filesystem;

namespace {

constexpr int kPatienceMs = 20000;

std::vector<std::uint8_t> bytesOf(const fs::path& p) {
  std::ifstream in(p, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// Empty when END was the last frame the radio heard, before the host closed
// the line; otherwise what is wrong, with the log.
std::string endProblem(const std::string& log) {
  const auto end = log.rfind("host  END | 45 4E 44");
  const auto closed = log.rfind("host closed the line");
  if (end == std::string::npos) return "the radio never heard END:\n" + log;
  if (end != log.rfind("host  ")) return "END was not the last frame:\n" + log;
  if (closed == std::string::npos || closed < end) return "END came after the close:\n" + log;
  return {};
}

// Two virtual radios on COM1 and COM2, COM1 the current port, and the
// document packed as a write packs it.
struct TwoRadios : GuiFixture {
  explicit TwoRadios(std::vector<std::string> options = {})
      : first(withSave(options, "first.img")), second(withSave(options, "second.img")) {
    folder.enterPort(1, first.device());
    folder.enterPort(2, second.device());
    context.comPort = 1;
    packed.model.select("TW530G", "400 - 480 MHz");
    ApplyDocumentDefaults(packed, Today{"2026-12-10", 12});
    ClearImage(packed.link.image);
    PackDocumentToImage(packed, packed.link.image, CodecContext{packed.model.limits, prompter});
  }
  std::vector<std::string> withSave(std::vector<std::string> options, const std::string& name) {
    options.push_back("--verbose");
    options.push_back("--save=" + folder.file(name).string());
    return options;
  }
  // The radio's memory holds what was packed (its identification block keeps
  // its own capability byte, 0).
  bool holdsThePackedImage(const std::string& name) {
    const auto memory = bytesOf(folder.file(name));
    auto image = packed.link.image;
    image[0xB0C] = 0;
    return memory.size() >= image.size() && std::equal(image.begin(), image.end(), memory.begin());
  }

  VirtualRadio first;
  VirtualRadio second;
  RunState packed;
};

template <typename T>
T* child(QWidget& dialog, const QString& name) {
  return dialog.findChild<T*>(name);
}

QString stateOf(QWidget& dialog, int row) {
  auto* label = child<QLabel>(dialog, QStringLiteral("StateLabel(%1)").arg(row));
  return label != nullptr ? label->text() : QString();
}

}  // namespace

class FrmWriteSeveralTest : public QObject {
  Q_OBJECT

 private slots:
  void bothRadiosAreWrittenAtOnce_data() {
    QTest::addColumn<bool>("verify");
    QTest::addColumn<QString>("result");
    QTest::newRow("written") << false << QStringLiteral("TW530G 400 - 480 MHz V200  Written");
    QTest::newRow("checked") << true
                             << QStringLiteral("TW530G 400 - 480 MHz V200  Written and checked");
  }
  void bothRadiosAreWrittenAtOnce() {
    QFETCH(bool, verify);
    QFETCH(QString, result);
    TwoRadios f;
    QVERIFY(!f.first.device().empty() && !f.second.device().empty());
    FrmWriteSeveral dialog(f.context, f.packed);
    dialog.show();
    auto* com1 = child<QCheckBox>(dialog, QStringLiteral("PortCheck(1)"));
    auto* com2 = child<QCheckBox>(dialog, QStringLiteral("PortCheck(2)"));
    QVERIFY(com1 && com2);
    QVERIFY2(com1->isChecked() && !com2->isChecked(), "the current port is ticked");
    com2->setChecked(true);
    child<QCheckBox>(dialog, QStringLiteral("VerifyCheck"))->setChecked(verify);
    QTest::mouseClick(child<QPushButton>(dialog, QStringLiteral("StartButton")), Qt::LeftButton);
    QTRY_VERIFY_WITH_TIMEOUT(!dialog.running(), kPatienceMs);
    // The dialog moves on one turn of the event loop after the last radio's end.
    QTRY_VERIFY_WITH_TIMEOUT(child<QPushButton>(dialog, QStringLiteral("CloseButton"))->isEnabled(),
                             kPatienceMs);
    QCOMPARE(stateOf(dialog, 0), result);
    QCOMPARE(stateOf(dialog, 1), result);
    QCOMPARE(child<QProgressBar>(dialog, QStringLiteral("ProgressBar(1)"))->value(), 177);
    QVERIFY(f.prompter.unexpected.empty());
    QVERIFY(endProblem(f.first.stopAndLog()).empty());
    QVERIFY(endProblem(f.second.stopAndLog()).empty());
    QVERIFY(f.holdsThePackedImage("first.img"));
    QVERIFY(f.holdsThePackedImage("second.img"));
  }

  void cancelStopsEverySessionWithEndOnEveryLine() {
    // At the line's own speed, so that there is time to cancel.
    TwoRadios f({"--pace=9600"});
    FrmWriteSeveral dialog(f.context, f.packed);
    dialog.show();
    child<QCheckBox>(dialog, QStringLiteral("PortCheck(2)"))->setChecked(true);
    QTest::mouseClick(child<QPushButton>(dialog, QStringLiteral("StartButton")), Qt::LeftButton);
    QVERIFY(dialog.running());
    QVERIFY2(!child<QPushButton>(dialog, QStringLiteral("CloseButton"))->isEnabled(),
             "the dialog cannot be closed while radios are written");
    QTRY_VERIFY_WITH_TIMEOUT(
        child<QProgressBar>(dialog, QStringLiteral("ProgressBar(1)"))->value() > 10, kPatienceMs);
    QTest::mouseClick(child<QPushButton>(dialog, QStringLiteral("CancelButton")), Qt::LeftButton);
    QTRY_VERIFY_WITH_TIMEOUT(!dialog.running(), kPatienceMs);
    QVERIFY2(stateOf(dialog, 0).endsWith(QStringLiteral("Failed: stopped by the user")),
             qPrintable(stateOf(dialog, 0)));
    QVERIFY2(stateOf(dialog, 1).endsWith(QStringLiteral("Failed: stopped by the user")),
             qPrintable(stateOf(dialog, 1)));
    const auto first = endProblem(f.first.stopAndLog());
    QVERIFY2(first.empty(), first.c_str());
    const auto second = endProblem(f.second.stopAndLog());
    QVERIFY2(second.empty(), second.c_str());
  }

  // COM1 and COM2 naming one device (the device and a link to it in the port
  // map) are refused before anything is sent: two sessions on one radio would
  // break each other's write.
  void twoPortsOfOneDeviceAreRefused() {
    GuiFixture f;
    VirtualRadio radio({"--verbose"});
    QVERIFY(!radio.device().empty());
    const auto link = f.folder.file("by-id-link");
    fs::create_symlink(radio.device(), link);
    f.folder.enterPort(1, radio.device());
    f.folder.enterPort(2, link.string());
    f.context.comPort = 1;
    RunState packed;
    packed.model.select("TW530G", "400 - 480 MHz");
    ApplyDocumentDefaults(packed, Today{"2026-12-10", 12});
    PackDocumentToImage(packed, packed.link.image, CodecContext{packed.model.limits, f.prompter});
    FrmWriteSeveral dialog(f.context, packed);
    dialog.show();
    child<QCheckBox>(dialog, QStringLiteral("PortCheck(2)"))->setChecked(true);
    f.prompter.expect(cps::text::kFleetSameDevice, Answer::Ok);
    QTest::mouseClick(child<QPushButton>(dialog, QStringLiteral("StartButton")), Qt::LeftButton);
    QVERIFY2(f.prompter.unexpected.empty(), f.prompter.unexpectedText().c_str());
    QCOMPARE(f.prompter.pending(), std::size_t{0});
    QCOMPARE(f.prompter.asked.back().arguments,
             (std::vector<std::string>{"COM1", "COM2", radio.device()}));
    QVERIFY(!dialog.running());
    QVERIFY(dialog.radios().empty());
    QVERIFY(child<QPushButton>(dialog, QStringLiteral("StartButton"))->isEnabled());
    QVERIFY2(radio.stopAndLog().find("host  PROGRAM") == std::string::npos,
             "the radio heard nothing");
  }

  void aSeriesCountsRadiosAndEnterStartsTheNext() {
    TwoRadios f;
    FrmWriteSeveral dialog(f.context, f.packed);
    dialog.show();
    dialog.activateWindow();
    child<QCheckBox>(dialog, QStringLiteral("SeriesCheck"))->setChecked(true);
    QTest::mouseClick(child<QPushButton>(dialog, QStringLiteral("StartButton")), Qt::LeftButton);
    auto* count = child<QLabel>(dialog, QStringLiteral("CountLabel"));
    QTRY_COMPARE_WITH_TIMEOUT(count->text(), QStringLiteral("Radios written: 1, failed: 0"),
                              kPatienceMs);
    auto* next = child<QPushButton>(dialog, QStringLiteral("NextButton"));
    QVERIFY(next->isVisible() && next->isEnabled() && next->isDefault());
    // The next radio is connected to the same cable; Enter writes it.
    QTest::keyClick(&dialog, Qt::Key_Return);
    QTRY_COMPARE_WITH_TIMEOUT(count->text(), QStringLiteral("Radios written: 2, failed: 0"),
                              kPatienceMs);
    QCOMPARE(child<QLabel>(dialog, QStringLiteral("PortLabel(1)"))->text(),
             QStringLiteral("Radio 2 COM1"));
    QVERIFY(f.holdsThePackedImage("first.img"));
    // Cancel ends the series; the dialog may then be closed.
    QTest::mouseClick(child<QPushButton>(dialog, QStringLiteral("CancelButton")), Qt::LeftButton);
    QVERIFY(!next->isVisible());
    QVERIFY(child<QPushButton>(dialog, QStringLiteral("CloseButton"))->isEnabled());
    QVERIFY(child<QPushButton>(dialog, QStringLiteral("StartButton"))->isEnabled());
    QVERIFY(endProblem(f.first.stopAndLog()).empty());
    QVERIFY2(bytesOf(f.folder.file("second.img")).empty() || !f.holdsThePackedImage("second.img"),
             "a series writes its own port only");
  }

  void aSeriesTakesTheNextRadioThatAnswers() {
    GuiFixture f;
    const auto line = f.folder.file("line").string();
    const auto connect = [&](const std::string& memory) {
      return std::make_unique<VirtualRadio>(std::vector<std::string>{
          "--verbose", "--link=" + line, "--save=" + f.folder.file(memory).string()});
    };
    auto radio = connect("first.img");
    f.folder.enterPort(1, line);
    f.context.comPort = 1;
    RunState packed;
    packed.model.select("TW530G", "400 - 480 MHz");
    ApplyDocumentDefaults(packed, Today{"2026-12-10", 12});
    PackDocumentToImage(packed, packed.link.image, CodecContext{packed.model.limits, f.prompter});
    FrmWriteSeveral dialog(f.context, packed);
    dialog.show();
    child<QCheckBox>(dialog, QStringLiteral("SeriesCheck"))->setChecked(true);
    child<QCheckBox>(dialog, QStringLiteral("AutoNextCheck"))->setChecked(true);
    QTest::mouseClick(child<QPushButton>(dialog, QStringLiteral("StartButton")), Qt::LeftButton);
    auto* count = child<QLabel>(dialog, QStringLiteral("CountLabel"));
    QTRY_COMPARE_WITH_TIMEOUT(count->text(), QStringLiteral("Radios written: 1, failed: 0"),
                              kPatienceMs);
    QVERIFY2(!dialog.readyForNextRadio(), "the radio just written is still on the cable");
    // Taken off: the dialog sees the line silent before it takes the next radio.
    radio->stopAndLog();
    QTRY_VERIFY_WITH_TIMEOUT(dialog.readyForNextRadio(), kPatienceMs);
    radio = connect("second.img");
    QTRY_COMPARE_WITH_TIMEOUT(count->text(), QStringLiteral("Radios written: 2, failed: 0"),
                              kPatienceMs);
    QTest::mouseClick(child<QPushButton>(dialog, QStringLiteral("CancelButton")), Qt::LeftButton);
    QVERIFY(!dialog.running());
    QVERIFY(endProblem(radio->stopAndLog()).empty());
  }

  void theProgramMenuOpensItModalOverTheDocument() {
    TwoRadios f;
    FrmMain window(f.context);
    RadioLink link(f.context, window);
    window.LoadNewDoc();
    window.show();
    QPointer<FrmWriteSeveral> seen;
    bool modal = false;
    QTimer probe;
    probe.setInterval(20);
    connect(&probe, &QTimer::timeout, [&] {
      auto* open = qobject_cast<QDialog*>(QApplication::activeModalWidget());
      if (open == nullptr || open->objectName() != QStringLiteral("FrmWriteSeveral")) return;
      seen = static_cast<FrmWriteSeveral*>(open);
      modal = open->isModal();
      probe.stop();
      open->reject();
    });
    probe.start();
    window.action("mnuWriteToSeveral")->trigger();
    QTRY_VERIFY_WITH_TIMEOUT(!probe.isActive(), kPatienceMs);
    QVERIFY(modal);
    QCOMPARE(window.action("mnuWriteToSeveral")->text(),
             QStringLiteral("Write to &Several Radios..."));
  }
};

}  // namespace cps::gui::test

QTEST_MAIN(cps::gui::test::FrmWriteSeveralTest)
#include "frm_write_several_test.moc"
