// Reading and writing a radio from the main window against the virtual radio:
// a read that replaces the document, a write that leaves the radio holding the
// packed document, and the ways a transfer is stopped without changing anything.
#include "gui/link/radio_link.hpp"

#include <QComboBox>
#include <QLineEdit>
#include <QMdiArea>
#include <QSerialPort>
#include <QtTest>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "core/app/settings_files.hpp"
#include "core/document/codec.hpp"
#include "core/document/data_file.hpp"
#include "core/document/defaults.hpp"
#include "core/document/instances.hpp"
#include "core/link/backups.hpp"
#include "core/link/engine.hpp"
#include "core/link/radio_image.hpp"
#include "gui/app/frm_main.hpp"
#include "gui/report/frm_compare.hpp"
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

// The main window with its radio commands, on COM1 = the virtual radio.
struct Desk : GuiFixture {
  explicit Desk(std::vector<std::string> radioOptions) : radio(withSave(std::move(radioOptions))) {
    context.backupFolder = folder.file("backups");
    folder.enterPort(1, radio.device());
    context.comPort = 1;
    window.registerChildWindow("frmCommChInfo", [this] {
      ++channelWindows;
      return new QWidget;
    });
    window.LoadNewDoc();
    window.show();
  }
  std::vector<std::string> withSave(std::vector<std::string> options) {
    options.push_back("--save=" + folder.file("radio.img").string());
    return options;
  }
  std::vector<std::uint8_t> radioMemory() { return bytesOf(folder.file("radio.img")); }
  std::size_t backups() { return ListBackups(context.backupFolder).size(); }
  bool settled() { return !link.busy() && prompter.pending() == 0; }

  VirtualRadio radio;
  FrmMain window{context};
  RadioLink link{context, window};
  int channelWindows = 0;
};

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

// A data file of a TW530G at 136 - 174 MHz, for the radio to hold.
std::string radioDocument(GuiFixture& f) {
  RunState radio;
  radio.model.select("TW530G", "136 - 174 MHz");
  ApplyDocumentDefaults(radio, Today{"2026-12-10", 12});
  const auto path = f.folder.file("in-radio.dat").string();
  WriteDataFile(path, radio.workingDocument, radio.workingSide);
  return path;
}

}  // namespace

class RadioLinkTest : public QObject {
  Q_OBJECT

 private slots:
  void readReplacesTheDocument() {
    GuiFixture scratch;
    const auto document = radioDocument(scratch);
    Desk d({"--dat=" + document, "--band-code=8"});
    QVERIFY(!d.radio.device().empty());
    const int windowsBefore = d.channelWindows;
    d.prompter.expect(9004, Answer::Ok);
    d.prompter.expect(9009, Answer::Ok);
    d.window.action("mnuReadFromRadio")->trigger();
    QTRY_VERIFY_WITH_TIMEOUT(d.context.state.model.currentBandLabel == "136 - 174 MHz",
                             kPatienceMs);
    QVERIFY2(d.prompter.unexpected.empty(), d.prompter.unexpectedText().c_str());
    // Channel 1 is the radio's: the middle of its band.
    QCOMPARE(d.context.state.workingDocument.channels[0].rxFreq.raw(), std::string("15500000"));
    // An untitled document that differs from its saved image: leaving asks to save.
    QCOMPARE(d.context.state.path, std::string("new.dat"));
    QVERIFY(d.context.state.isUntitled);
    QVERIFY(IsDocumentChanged(d.context.state));
    QVERIFY(d.window.windowTitle().endsWith(":new.dat]"));
    QVERIFY(d.window.windowTitle().contains("136 - 174 MHz"));
    QCOMPARE(d.channelWindows, windowsBefore + 1);
    QVERIFY(d.window.childWindow("frmCommChInfo"));
    // The radio's image is kept as a backup.
    const auto kept = ListBackups(d.context.backupFolder);
    QCOMPARE(kept.size(), std::size_t{1});
    QVERIFY(kept[0].filename().string().ends_with("-read.img"));
    QCOMPARE(fs::file_size(kept[0]), std::uintmax_t{2832});

    d.prompter.expect(9006, Answer::No);
    QVERIFY(d.window.close());
    QVERIFY2(d.prompter.unexpected.empty(), d.prompter.unexpectedText().c_str());
  }

  // The radio is read into a document of its own: the working document, its
  // changed flag, its undo history, its file and the windows stay as they were.
  void compareWithRadioLeavesTheWorkingDocumentAlone() {
    GuiFixture scratch;
    const auto document = radioDocument(scratch);
    Desk d({"--dat=" + document, "--band-code=8"});
    const RunState before = d.context.state;
    const int windowsBefore = d.channelWindows;
    d.prompter.expect(text::kConfirmCompareRead, Answer::Ok);
    d.window.action("mnuCompareWithRadio")->trigger();
    QTRY_VERIFY_WITH_TIMEOUT(d.window.findChild<FrmCompare*>() != nullptr, kPatienceMs);
    QVERIFY2(d.prompter.unexpected.empty(), d.prompter.unexpectedText().c_str());
    const auto& differences = d.window.findChild<FrmCompare*>()->differences();
    QVERIFY(!differences.empty());
    QCOMPARE(differences.front().field, std::string("band"));
    QCOMPARE(differences.front().b, std::string("136 - 174 MHz"));

    const RunState& after = d.context.state;
    QVERIFY(after.workingDocument == before.workingDocument);
    QVERIFY(after.savedImage == before.savedImage);
    QCOMPARE(IsDocumentChanged(after), IsDocumentChanged(before));
    QCOMPARE(after.history.undoSteps(), before.history.undoSteps());
    QCOMPARE(after.path, before.path);
    QCOMPARE(after.model.currentBandLabel, before.model.currentBandLabel);
    QVERIFY(after.link.image == before.link.image);
    QCOMPARE(d.channelWindows, windowsBefore);
    QCOMPARE(d.backups(), std::size_t{0});
  }

  // Settings chosen in the windows reach the radio and come back from it.
  void settingsFromTheWindowsSurviveAWriteAndARead() {
    Desk d({});
    QWidget* options = d.window.ShowChildWindow("FrmOptFeatures");
    options->findChild<QComboBox*>("Combo1(0)")->setCurrentIndex(7);
    QWidget* dtmf = d.window.ShowChildWindow("FrmDTMF");
    dtmf->findChild<QComboBox*>("Combo1(0)")->setCurrentIndex(4);
    auto* memory = dtmf->findChild<QLineEdit*>("Text2(2)");
    memory->setFocus();
    QTest::keyClicks(memory, "123*#");
    QWidget* scan = d.window.ShowChildWindow("FrmScan");
    scan->findChild<QComboBox*>("Combo1(0)")->setCurrentIndex(1);
    scan->findChild<QComboBox*>("Combo1(9)")->setCurrentIndex(20);
    QWidget* keys = d.window.ShowChildWindow("FrmKey");
    keys->findChild<QComboBox*>("Combo1(2)")->setCurrentIndex(8);
    QWidget* alert = d.window.ShowChildWindow("FrmAlert");
    alert->findChild<QComboBox*>("Combo1(9)")->setCurrentIndex(12);
    auto* line = d.window.ShowChildWindow("FrmEmbMsg")->findChild<QLineEdit*>("Text1(0)");
    line->setFocus();
    QTest::keyClicks(line, "DEALER 7");
    const DocumentRecord chosen = d.context.state.workingDocument;
    QCOMPARE(chosen.dtmf.memories[2].length, std::int16_t{5});
    QCOMPARE(chosen.keys.values[KeyBlock::kPf2Long], std::int16_t{8});

    d.prompter.expect(9005, Answer::Ok);
    d.prompter.expect(9010, Answer::Ok);
    d.window.action("mnuWriteToRadio")->trigger();
    QTRY_VERIFY_WITH_TIMEOUT(d.settled(), kPatienceMs);
    d.window.LoadNewDoc();
    QVERIFY(!(d.context.state.workingDocument.keys == chosen.keys));
    d.prompter.expect(9004, Answer::Ok);
    d.prompter.expect(9009, Answer::Ok);
    d.window.action("mnuReadFromRadio")->trigger();
    // The radio's document takes the place of the new one once the read has ended.
    const DocumentRecord& back = d.context.state.workingDocument;
    QTRY_VERIFY_WITH_TIMEOUT(d.settled() && back.keys == chosen.keys, kPatienceMs);
    QVERIFY2(d.prompter.unexpected.empty(), d.prompter.unexpectedText().c_str());
    QVERIFY(back.optionalFeatures == chosen.optionalFeatures);
    QVERIFY(back.dtmf == chosen.dtmf);
    QVERIFY(back.scan == chosen.scan);
    QVERIFY(back.keys == chosen.keys);
    QVERIFY(back.alert == chosen.alert);
    QCOMPARE(TrimFixed(back.message.lines[0]), std::string("DEALER 7"));
    d.prompter.expect(9006, Answer::No);
    QVERIFY(d.window.close());
  }

  void writeLeavesThePackedDocumentInTheRadio() {
    Desk d({});
    d.context.state.workingDocument.optionalFeatures.values[2] = 1;
    RadioImage expected{};
    ClearImage(expected);
    PackDocumentToImage(d.context.state, expected,
                        CodecContext{d.context.state.model.limits, d.prompter});
    const auto document = d.context.state.workingDocument;
    d.prompter.expect(9005, Answer::Ok);
    d.prompter.expect(9010, Answer::Ok);
    d.window.action("mnuWriteToRadio")->trigger();
    QTRY_VERIFY_WITH_TIMEOUT(d.settled(), kPatienceMs);
    QVERIFY2(d.prompter.unexpected.empty(), d.prompter.unexpectedText().c_str());
    QCOMPARE(d.context.state.workingDocument, document);

    QTRY_VERIFY_WITH_TIMEOUT(d.radioMemory().size() == 3328, kPatienceMs);
    auto memory = d.radioMemory();
    // What was written is kept too, with the identification the radio gave.
    const auto kept = ListBackups(d.context.backupFolder);
    QCOMPARE(kept.size(), std::size_t{1});
    const auto backup = bytesOf(kept[0]);
    QCOMPARE(backup.size(), kRadioImageSize);
    QVERIFY(std::equal(backup.begin(), backup.end(), memory.begin()));
    // The identification block carries the radio's own capability byte.
    memory[0xB0C] = expected[0xB0C];
    QVERIFY(std::equal(expected.begin(), expected.end(), memory.begin()));
  }

  // With the box ticked, a write is complete only once the radio, read back,
  // holds what was written; a radio that acknowledged a block without storing
  // it fails the write and the message says where.
  void aWriteIsCheckedByReadingTheRadioBack_data() {
    QTest::addColumn<QString>("radioOption");
    QTest::addColumn<bool>("box");
    QTest::addColumn<QList<int>>("messages");
    QTest::addColumn<QString>("says");
    QTest::newRow("the radio holds what was written")
        << "--verbose" << true << QList<int>{9005, 9078} << "";
    QTest::newRow("the radio lost the channel bitmap (block 129)")
        << "--forget-every=129" << true << QList<int>{9005, 0}
        << "0x800 channel 1 present: written 0, the radio holds 1";
    QTest::newRow("the box unticked: no check, the loss goes unseen")
        << "--forget-every=129" << false << QList<int>{9005, 9010} << "";
    QTest::newRow("the radio falls silent during the check")
        << "--mute-after=184" << true << QList<int>{9005, 9008, 9080} << "";
  }
  void aWriteIsCheckedByReadingTheRadioBack() {
    QFETCH(QString, radioOption);
    QFETCH(bool, box);
    QFETCH(QList<int>, messages);
    QFETCH(QString, says);
    Desk d({radioOption.toStdString()});
    // As start-up leaves it on an installation that checks its writes.
    WriteVerifyAfterWrite(d.context.folders.languageSetup(), true);
    d.context.state.link.verifyAfterWrite = true;
    d.prompter.verifyChoice = box;
    for (int id : messages) {
      if (id == 0) {
        d.prompter.expectFixed(says.toStdString(), Answer::Ok);
      } else {
        d.prompter.expect(id, id == 9008 ? Answer::Cancel : Answer::Ok);
      }
    }
    d.window.action("mnuWriteToRadio")->trigger();
    QTRY_VERIFY_WITH_TIMEOUT(d.settled(), 2 * kPatienceMs);
    QVERIFY2(d.prompter.unexpected.empty(), d.prompter.unexpectedText().c_str());
    QCOMPARE(d.prompter.verifyOffered, std::vector<bool>{true});
    if (messages.contains(0)) {
      const auto& failure = d.prompter.asked.back();
      QVERIFY(failure.fixedText.starts_with(d.context.text(9077).toStdString()));
      QCOMPARE(failure.icon, Icon::Critical);
    }
    // The box is kept for the next write and the next run.
    QCOMPARE(d.context.state.link.verifyAfterWrite, box);
    QCOMPARE(ReadLanguageSetup(d.context.folders.languageSetup()).verifyAfterWrite, box);
    // The read of the check makes no document and keeps no backup of its own.
    QCOMPARE(d.backups(), std::size_t{1});
    QCOMPARE(d.context.state.path, std::string("new.dat"));
  }

  void stoppedTransfersChangeNothing_data() {
    QTest::addColumn<QString>("scenario");
    QTest::newRow("Cancel at the read question") << "cancel";
    QTest::newRow("a wrong password") << "password";
    QTest::newRow("a silent radio, retry cancelled") << "mute";
    QTest::newRow("a port that is not there") << "noport";
    QTest::newRow("a port another program holds") << "busy";
  }
  void stoppedTransfersChangeNothing() {
    QFETCH(QString, scenario);
    std::vector<std::string> options{"--verbose"};
    if (scenario == "password") options.push_back("--password=1234");
    if (scenario == "mute") options.push_back("--mute-after=0");
    Desk d(options);
    d.context.state.workingDocument.optionalFeatures.values[2] = 1;
    const auto before = d.context.state;
    QSerialPort other;
    if (scenario == "noport") {
      d.context.comPort = 9;
      d.prompter.expect(9003, Answer::Ok);
    } else if (scenario == "busy") {
      other.setPortName(QString::fromStdString(d.radio.device()));
      QVERIFY(other.open(QIODevice::ReadWrite));
      d.prompter.expect(text::kPortBusy, Answer::Ok);
    } else if (scenario == "cancel") {
      d.prompter.expect(9004, Answer::Cancel);
    } else if (scenario == "password") {
      d.prompter.expect(9004, Answer::Ok);
      d.prompter.expectPassword("9999");
      d.prompter.expectFixed(kPasswordFailureText, Answer::Ok);
    } else {
      d.prompter.expect(9004, Answer::Ok);
      d.prompter.expect(9008, Answer::Cancel);
    }
    d.window.action("mnuReadFromRadio")->trigger();
    QTRY_VERIFY_WITH_TIMEOUT(d.settled(), kPatienceMs);
    QTest::qWait(2 * RadioLink::kReadOkMs);
    QVERIFY2(d.prompter.unexpected.empty(), d.prompter.unexpectedText().c_str());
    QCOMPARE(d.context.state.workingDocument, before.workingDocument);
    QCOMPARE(d.context.state.savedImage, before.savedImage);
    QCOMPARE(d.context.state.model.currentBandLabel, before.model.currentBandLabel);
    QCOMPARE(d.backups(), std::size_t{0});
    // A transfer that began tells the radio it is over before the port closes.
    if (scenario == "password" || scenario == "mute") {
      const auto problem = endProblem(d.radio.stopAndLog());
      QVERIFY2(problem.empty(), problem.c_str());
    }
  }

  // The backup of a write is what the radio was given: a radio that refuses
  // the write leaves none.
  void refusedWritesLeaveNoBackup_data() {
    QTest::addColumn<QString>("radioOption");
    QTest::addColumn<int>("refusal");
    QTest::newRow("the other model (9012)") << "--model=TW530" << 9012;
    QTest::newRow("another band group (9030)") << "--band-code=8" << 9030;
    QTest::newRow("write protected (9031)") << "--caps=8" << 9031;
    QTest::newRow("writes not accepted (9032)") << "--caps=4" << 9032;
  }
  void refusedWritesLeaveNoBackup() {
    QFETCH(QString, radioOption);
    QFETCH(int, refusal);
    Desk d({radioOption.toStdString(), "--verbose"});
    d.prompter.expect(9005, Answer::Ok);
    d.prompter.expect(refusal, Answer::Ok);
    d.window.action("mnuWriteToRadio")->trigger();
    QTRY_VERIFY_WITH_TIMEOUT(d.settled(), kPatienceMs);
    QVERIFY2(d.prompter.unexpected.empty(), d.prompter.unexpectedText().c_str());
    QCOMPARE(d.backups(), std::size_t{0});
    const auto problem = endProblem(d.radio.stopAndLog());
    QVERIFY2(problem.empty(), problem.c_str());
  }

  // A backup that cannot be written is asked about once the radio accepted the
  // write, before anything is written: OK writes without it, Cancel writes
  // nothing and tells the radio the session is over.
  void aBackupThatCannotBeWrittenIsAskedAbout_data() {
    QTest::addColumn<bool>("writeWithout");
    QTest::newRow("OK: written without a backup") << true;
    QTest::newRow("Cancel: nothing written") << false;
  }
  void aBackupThatCannotBeWrittenIsAskedAbout() {
    QFETCH(bool, writeWithout);
    Desk d({"--verbose"});
    const auto inTheWay = d.folder.file("not-a-folder");
    std::ofstream(inTheWay) << "a file where the backup folder's parent should be";
    d.context.backupFolder = inTheWay / "backups";
    d.context.state.workingDocument.optionalFeatures.values[2] = 1;
    RadioImage expected{};
    ClearImage(expected);
    PackDocumentToImage(d.context.state, expected,
                        CodecContext{d.context.state.model.limits, d.prompter});
    d.prompter.expect(9005, Answer::Ok);
    d.prompter.expect(9075, writeWithout ? Answer::Ok : Answer::Cancel);
    if (writeWithout) d.prompter.expect(9010, Answer::Ok);
    d.window.action("mnuWriteToRadio")->trigger();
    QTRY_VERIFY_WITH_TIMEOUT(d.settled(), kPatienceMs);
    QVERIFY2(d.prompter.unexpected.empty(), d.prompter.unexpectedText().c_str());
    QTRY_VERIFY_WITH_TIMEOUT(d.radioMemory().size() == 3328, kPatienceMs);
    const auto log = d.radio.stopAndLog();
    auto memory = d.radioMemory();
    memory[0xB0C] = expected[0xB0C];
    QCOMPARE(std::equal(expected.begin(), expected.end(), memory.begin()), writeWithout);
    QCOMPARE(log.find("host  write") != std::string::npos, writeWithout);
    if (!writeWithout) {
      const auto problem = endProblem(log);
      QVERIFY2(problem.empty(), problem.c_str());
    }
  }

  void theRightPasswordIsRemembered() {
    Desk d({"--password=1234"});
    d.prompter.expect(9004, Answer::Ok);
    d.prompter.expectPassword("1234");
    d.prompter.expect(9009, Answer::Ok);
    d.window.action("mnuReadFromRadio")->trigger();
    QTRY_VERIFY_WITH_TIMEOUT(d.settled(), kPatienceMs);
    QCOMPARE(d.context.state.link.enteredPassword, std::string("1234"));
    // The next transfer of the run asks no more.
    d.prompter.expect(9004, Answer::Ok);
    d.prompter.expect(9009, Answer::Ok);
    d.window.action("mnuReadFromRadio")->trigger();
    QTRY_VERIFY_WITH_TIMEOUT(d.settled(), kPatienceMs);
    QVERIFY2(d.prompter.unexpected.empty(), d.prompter.unexpectedText().c_str());
  }

  void informationReadFillsTheWindow() {
    GuiFixture scratch;
    std::vector<std::uint8_t> memory(3328, 0xFF);
    const std::string serial = "SN-0042";
    std::copy(serial.begin(), serial.end(), memory.begin() + kInfoAreaAddress + 48);
    memory[kInfoAreaAddress + 48 + serial.size()] = 0;
    const std::string region = "0596";
    std::copy(region.begin(), region.end(), memory.begin() + kInfoAreaAddress);
    const auto image = scratch.folder.file("info.img");
    std::ofstream(image, std::ios::binary)
        .write(reinterpret_cast<const char*>(memory.data()), 3328);
    Desk d({"--image=" + image.string()});
    d.context.state.radioInfo.productionDate = "2020-01-01";
    const auto version = d.context.state.radioInfo.versionInformation;

    d.window.action("MnuLocalInfo")->trigger();
    QTRY_VERIFY_WITH_TIMEOUT(d.window.childWindow("FrmRadioInfo"), kPatienceMs);
    const auto& info = d.context.state.radioInfo;
    QCOMPARE(info.serialNumber, serial);
    QCOMPARE(info.salesRegionCode, region);
    // Erased fields read as empty; what the area does not hold keeps its value.
    QCOMPARE(info.productionDate, std::string());
    QCOMPARE(info.dealerCode, std::string());
    QCOMPARE(info.versionInformation, version);
    QWidget* first = d.window.childWindow("FrmRadioInfo");
    QCOMPARE(first->findChild<QLineEdit*>("Text1(1)")->text(), QString::fromStdString(serial));

    // A second read replaces the window.
    QPointer<QWidget> firstWindow(first);
    d.window.action("MnuLocalInfo")->trigger();
    QTRY_VERIFY_WITH_TIMEOUT(!firstWindow && d.window.childWindow("FrmRadioInfo"), kPatienceMs);
    QCOMPARE(d.window.mdiArea().subWindowList().size(), 2);  // the channel window and this one
    QVERIFY(d.prompter.asked.empty());
  }
};

}  // namespace cps::gui::test

QTEST_MAIN(cps::gui::test::RadioLinkTest)
#include "radio_link_test.moc"
