// File > Compare With File, the differences window and where its lines lead,
// and the report on paper: the print preview and the PDF file.
#include "gui/report/report_commands.hpp"

#include <QLabel>
#include <QTreeWidget>
#include <fstream>

#include "channel_fixture.hpp"
#include "core/document/data_file.hpp"
#include "gui/report/frm_compare.hpp"

namespace cps::gui::test {

namespace {

struct Desk : Table {
  Desk()
      : Table(
            [](RunState& s) { SetChannels(s.workingDocument, {MakeTestChannel(1, "43500000")}); }),
        report(f.context, *main) {}

  static ChannelRecord MakeTestChannel(int number, const char* rx) {
    ChannelRecord c;
    c.number = static_cast<std::int16_t>(number);
    c.rxFreq.assign(rx);
    c.offset.bytes.fill('\0');
    c.power = 2;
    return c;
  }
  static void SetChannels(DocumentRecord& doc, const std::vector<ChannelRecord>& channels) {
    doc.channelCount = static_cast<std::int16_t>(channels.size());
    for (std::size_t i = 0; i < channels.size(); ++i) doc.channels[i] = channels[i];
  }

  // The working document written to a file, changed by `change` first.
  std::string otherFile(const std::function<void(DocumentRecord&)>& change) {
    DocumentRecord other = f.context.state.workingDocument;
    SetModelInfoFromApplication(f.context.state);
    other.modelInfo = f.context.state.workingDocument.modelInfo;
    if (change) change(other);
    const std::string path = f.folder.file("other.dat").string();
    written = WriteDataFile(path, other, f.context.state.workingSide).empty();
    return path;
  }
  FrmCompare* compareWith(const std::string& path) {
    f.prompter.expectFile(path);
    main->action(QStringLiteral("mnuFileCompare"))->trigger();
    return main->findChild<FrmCompare*>();
  }
  static QStringList column0(QTreeWidgetItem* item) {
    QStringList texts;
    for (int i = 0; i < item->childCount(); ++i) texts << item->child(i)->text(0);
    return texts;
  }

  ReportCommands report;
  bool written = false;
};

}  // namespace

class ReportCommandsTest : public QObject {
  Q_OBJECT

 private slots:
  // The differences, grouped by window; the working document, its changed
  // flag and its undo history stay as they were.
  void compareWithFileListsTheDifferencesByBlock() {
    Desk d;
    const std::string path = d.otherFile([](DocumentRecord& other) {
      other.scan.bytes[ScanBlock::kMode] = 1;
      other.channels[1] = Desk::MakeTestChannel(20, "43612500");
      other.channelCount = 2;
    });
    QVERIFY(d.written);
    const DocumentRecord before = d.f.context.state.workingDocument;
    const bool changedBefore = IsDocumentChanged(d.f.context.state);
    const std::size_t undoBefore = d.f.context.state.history.undoSteps();

    FrmCompare* compare = d.compareWith(path);
    QVERIFY(compare != nullptr);
    QVERIFY(compare->isVisible());
    QVERIFY(!compare->isModal());
    QVERIFY(d.f.prompter.unexpected.empty());
    QCOMPARE(compare->windowTitle(), QStringLiteral("Differences — other.dat"));
    auto* tree = compare->findChild<QTreeWidget*>(QStringLiteral("TreeDifferences"));
    QCOMPARE(tree->topLevelItemCount(), 2);
    QCOMPARE(tree->topLevelItem(0)->text(0), QStringLiteral("Channel Information"));
    QCOMPARE(Desk::column0(tree->topLevelItem(0)), QStringList{QStringLiteral("Channel 20")});
    QCOMPARE(tree->topLevelItem(0)->child(0)->text(1), QStringLiteral("(not present)"));
    QCOMPARE(tree->topLevelItem(0)->child(0)->text(2), QStringLiteral("436.12500"));
    QCOMPARE(tree->topLevelItem(1)->text(0), QStringLiteral("Scan Settings"));
    QCOMPARE(tree->topLevelItem(1)->child(0)->text(1), QStringLiteral("Off"));
    QCOMPARE(tree->topLevelItem(1)->child(0)->text(2), QStringLiteral("On"));

    QVERIFY(d.f.context.state.workingDocument == before);
    QCOMPARE(IsDocumentChanged(d.f.context.state), changedBefore);
    QCOMPARE(d.f.context.state.history.undoSteps(), undoBefore);

    // A channel line opens the table at the channel; a setting line its window.
    d.main->UnloadWindowByName(QLatin1String(kChannelWindowName));
    compare->activate(tree->topLevelItem(0)->child(0));
    auto* table = dynamic_cast<frmCommChInfo*>(d.main->childWindow(kChannelWindowName));
    QVERIFY(table != nullptr);
    QCOMPARE(table->selectedGroup(), 1);
    QCOMPARE(table->cursorRow(), 4);
    QVERIFY(d.main->childWindow(QStringLiteral("FrmScan")) == nullptr);
    compare->activate(tree->topLevelItem(1)->child(0));
    QVERIFY(d.main->childWindow(QStringLiteral("FrmScan")) != nullptr);
    QVERIFY(d.f.prompter.unexpected.empty());
  }

  void theSameConfigurationSaysSoPlainly() {
    Desk d;
    FrmCompare* compare = d.compareWith(d.otherFile({}));
    QVERIFY(compare != nullptr);
    auto* summary = compare->findChild<QLabel*>(QStringLiteral("LabelSummary"));
    QCOMPARE(summary->text(), QStringLiteral("No differences: both hold the same configuration."));
    QVERIFY(compare->findChild<QTreeWidget*>(QStringLiteral("TreeDifferences"))->isHidden());
  }

  void aFileThatCannotBeReadIsReportedAndNothingOpens() {
    Desk d;
    const std::string path = d.f.folder.file("short.dat").string();
    std::ofstream(path) << "V200";
    d.f.prompter.expect(text::kWrongFileSize, Answer::Ok);
    QVERIFY(d.compareWith(path) == nullptr);
    QVERIFY(d.f.prompter.unexpected.empty());
    // Cancelled: nothing at all.
    QVERIFY(d.compareWith({}) == nullptr);
  }

  void theCompareWindowSpeaksTheProgramsLanguage() {
    Desk d;
    d.f.context.setLanguage(kChinese);
    FrmCompare* compare = d.compareWith(
        d.otherFile([](DocumentRecord& other) { other.scan.bytes[ScanBlock::kMode] = 1; }));
    QVERIFY(compare != nullptr);
    auto* tree = compare->findChild<QTreeWidget*>(QStringLiteral("TreeDifferences"));
    QCOMPARE(tree->topLevelItem(0)->text(0), QStringLiteral("扫描信息"));
    QCOMPARE(tree->headerItem()->text(1), QStringLiteral("当前数据"));
  }

  // The preview opens without blocking, shows the report's pages and closes.
  void printPreviewOpensNonModally() {
    Desk d;
    d.main->action(QStringLiteral("mnuFilePrintPreview"))->trigger();
    QPointer<QPrintPreviewDialog> preview = d.report.preview();
    QVERIFY(preview != nullptr);
    QVERIFY(preview->isVisible());
    QVERIFY(!preview->isModal());
    // Asking again brings the same preview forward.
    d.main->action(QStringLiteral("mnuFilePrintPreview"))->trigger();
    QCOMPARE(d.report.preview(), preview.data());
    preview->close();
    QTRY_VERIFY(preview.isNull());
    QVERIFY(d.f.prompter.unexpected.empty());
  }

  void exportPdfWritesTheReport() {
    Desk d;
    const std::string path = d.f.folder.file("report.pdf").string();
    d.f.prompter.expectFile(path);
    d.main->action(QStringLiteral("mnuFileExportPdf"))->trigger();
    QVERIFY(d.f.prompter.unexpected.empty());
    QCOMPARE(d.f.prompter.fileRequests.back().pattern, std::string("*.pdf"));
    QFile pdf(QString::fromStdString(path));
    QVERIFY(pdf.open(QIODevice::ReadOnly));
    QVERIFY(pdf.read(5) == "%PDF-");
  }

  void exportPdfToAFolderThatIsNotThereSaysSo() {
    Desk d;
    d.f.prompter.expectFile(d.f.folder.file("nowhere/report.pdf").string());
    d.f.prompter.expect(text::kReportWriteFailed, Answer::Ok);
    d.main->action(QStringLiteral("mnuFileExportPdf"))->trigger();
    QVERIFY(d.f.prompter.unexpected.empty());
  }
};

}  // namespace cps::gui::test

QTEST_MAIN(cps::gui::test::ReportCommandsTest)
#include "report_commands_test.moc"
