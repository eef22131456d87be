// The import preview: what it shows for each row under merge, replace and
// renumber, that it changes nothing until Import is clicked, and the menu
// entries around it, from the file dialog to the channel table and one undo step.
#include "gui/exchange/frm_import_channels.hpp"

#include <QCheckBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QStatusBar>
#include <QTableWidget>
#include <QTimer>
#include <QtTest>
#include <fstream>

#include "channel_fixture.hpp"
#include "core/document/codec.hpp"
#include "core/run_state.hpp"

namespace cps::gui::test {

namespace {

constexpr const char* kHeader =
    "Location,Name,Frequency,Duplex,Offset,Tone,rToneFreq,cToneFreq,DtcsCode,DtcsPolarity,"
    "RxDtcsCode,CrossMode,Mode,TStep,Skip,Power,Comment,URCALL,RPT1CALL,RPT2CALL,DVCODE\n";

// Line 2 lands on channel 1, line 3 is a new channel 6, line 4 has no such
// channel and line 5 lies outside the band.
std::string list() {
  return std::string(kHeader) +
         "1,Home,435.125000,+,5.000000,Tone,88.5,88.5,023,NN,023,Tone->Tone,FM,5.00,,5.0W,,,,,\n"
         "6,,436.000000,,0.000000,,88.5,88.5,023,NN,023,Tone->Tone,NFM,5.00,S,1.0W,,,,,\n"
         "129,,437.000000,,0.000000,,88.5,88.5,023,NN,023,Tone->Tone,FM,5.00,,5.0W,,,,,\n"
         "7,,481.000000,,0.000000,,88.5,88.5,023,NN,023,Tone->Tone,FM,5.00,,5.0W,,,,,\n";
}

struct Preview {
  explicit Preview(const std::string& csv, int language = kEnglish) {
    f.context.setLanguage(language);
    f.context.state.model.select("TW530G", "400 - 480 MHz");
    OkPrompter ok;
    NullObserver nobody;
    ApplyChannelEdit(f.context.state, {ok, nobody}, 0, 1, 1, "440");
    ApplyChannelEdit(f.context.state, {ok, nobody}, 0, 3, 1, "441");
    StartNewHistory(f.context.state);
    before = f.context.state.workingDocument;
    dialog = std::make_unique<FrmImportChannels>(f.context, csv, QStringLiteral("list.csv"));
    dialog->show();
  }
  template <typename T>
  T* child(const char* name) const {
    return dialog->findChild<T*>(QLatin1String(name));
  }
  QTableWidget* rows() const { return child<QTableWidget>("GridPreview"); }
  QString cell(int row, int column) const { return rows()->item(row, column)->text(); }
  QStringList column(int column) const {
    QStringList cells;
    for (int r = 0; r < rows()->rowCount(); ++r) cells << cell(r, column);
    return cells;
  }

  GuiFixture f;
  DocumentRecord before;
  std::unique_ptr<FrmImportChannels> dialog;
};

enum { kLine, kLocation, kChannel, kRx, kTx, kResult };

}  // namespace

class FrmImportChannelsTest : public QObject {
  Q_OBJECT

 private slots:
  void eachRowSaysWhereItGoesOrWhyNot() {
    Preview p(list());
    QCOMPARE(p.rows()->rowCount(), 4);
    QCOMPARE(p.column(kLine), QStringList({"2", "3", "4", "5"}));
    QCOMPARE(p.column(kChannel), QStringList({"1", "6", "", ""}));
    QCOMPARE(p.column(kRx), QStringList({"435.12500", "436.00000", "437.000000", "481.000000"}));
    QCOMPARE(p.cell(0, kTx), QString("440.12500"));
    QCOMPARE(p.column(kResult),
             QStringList(
                 {"replaces the channel", "new channel",
                  "skipped: Location 129 is not a channel from 1 to 128",
                  "skipped: receive frequency 481.00000 MHz is outside the band 400 - 480 MHz"}));
    QCOMPARE(
        p.child<QLabel>("LabelSummary")->text(),
        QString("2 rows will be imported, 2 skipped. Nothing changes until you click Import."));
    QCOMPARE(p.child<QLabel>("LabelNotes")->text(),
             QString("Columns the radio does not hold, not imported: Name"));
    QVERIFY(p.child<QPushButton>("CommandImport")->isEnabled());
    QVERIFY(p.f.context.state.workingDocument == p.before);
  }

  void replaceAndRenumberChangeThePreviewOnly() {
    Preview p(list());
    p.child<QRadioButton>("OptionReplace")->click();
    QCOMPARE(p.column(kResult).mid(0, 2), QStringList({"new channel", "new channel"}));
    QCOMPARE(p.dialog->plan().options, (ImportOptions{true, false}));
    p.child<QCheckBox>("CheckRenumber")->click();
    QCOMPARE(p.column(kChannel), QStringList({"1", "2", "3", ""}));
    p.child<QRadioButton>("OptionMerge")->click();
    // Merged and renumbered: the free numbers from 1 upward (1 and 3 are taken).
    QCOMPARE(p.column(kChannel), QStringList({"2", "4", "5", ""}));
    QVERIFY(p.f.context.state.workingDocument == p.before);
    QVERIFY(!CanUndo(p.f.context.state));
  }

  void nothingToImportCannotBeConfirmed() {
    Preview p(std::string(kHeader) + "9,,999,,,,,,,,,,FM,,,,,,,,\n");
    QVERIFY(!p.child<QPushButton>("CommandImport")->isEnabled());
    QCOMPARE(p.column(kResult),
             QStringList(
                 {"skipped: receive frequency 999.00000 MHz is outside the band 400 - 480 MHz"}));
  }

  void textsInEitherLanguage_data() { LanguageRows(); }
  void textsInEitherLanguage() {
    QFETCH(int, language);
    Preview p(list(), language);
    const bool chinese = language == kChinese;
    QCOMPARE(p.dialog->windowTitle(), QString::fromUtf8(chinese ? "导入信道" : "Import Channels"));
    QCOMPARE(p.cell(1, kResult), QString::fromUtf8(chinese ? "新建信道" : "new channel"));
    QCOMPARE(p.cell(2, kResult),
             QString::fromUtf8(chinese ? "跳过：Location 129 不是 1 到 128 之间的信道"
                                       : "skipped: Location 129 is not a channel from 1 to 128"));
  }

  // The whole way from the menu: file dialog, preview, Import, the table, one undo step.
  void importFromTheMenuIsOneUndoStep() {
    Table t;
    const std::string path = t.f.folder.file("list.csv").string();
    std::ofstream(path, std::ios::binary) << list();
    const DocumentRecord before = t.doc();
    t.f.prompter.expectFile(path);
    bool previewed = false;
    QTimer::singleShot(0, t.main.get(), [&] {
      auto* dialog = dynamic_cast<FrmImportChannels*>(QApplication::activeModalWidget());
      QVERIFY(dialog);
      previewed = true;
      QVERIFY(t.doc() == before);
      dialog->findChild<QPushButton*>("CommandImport")->click();
    });
    t.main->action("mnuFileImport")->trigger();
    QVERIFY(previewed);
    QCOMPARE(t.f.prompter.fileRequests.back().pattern, std::string("*.csv"));
    QVERIFY(t.channel(6) != nullptr);
    QCOMPARE(TrimFixed(t.channel(1)->rxFreq), std::string("43512500"));
    QCOMPARE(t.grid()->model()->index(5, 0).data().toString(), QString("436.00000"));
    QCOMPARE(t.main->statusBar()->currentMessage(), QString("2 rows imported, 2 skipped."));
    QCOMPARE(t.f.context.state.history.undoSteps(), std::size_t{1});
    t.main->action("mnuEditUndo")->trigger();
    QVERIFY(t.doc() == before);
    QCOMPARE(t.grid()->model()->index(5, 0).data().toString(), QString());
    QVERIFY2(t.f.prompter.unexpected.empty(), t.f.prompter.unexpectedText().c_str());
  }

  void cancelledPreviewChangesNothing() {
    Table t;
    const std::string path = t.f.folder.file("list.csv").string();
    std::ofstream(path, std::ios::binary) << list();
    const DocumentRecord before = t.doc();
    t.f.prompter.expectFile(path);
    QTimer::singleShot(0, t.main.get(), [] {
      auto* dialog = dynamic_cast<FrmImportChannels*>(QApplication::activeModalWidget());
      QVERIFY(dialog);
      dialog->findChild<QPushButton*>("CommandCancel")->click();
    });
    t.main->action("mnuFileImport")->trigger();
    QVERIFY(t.doc() == before);
    QVERIFY(!CanUndo(t.f.context.state));
  }

  void aFileThatIsNoChannelListIsRefusedBeforeAnyPreview() {
    Table t;
    const std::string path = t.f.folder.file("list.csv").string();
    std::ofstream(path, std::ios::binary) << "Location,Name\n1,a\n";
    t.f.prompter.expectFile(path);
    t.f.prompter.expectFixed("no header row with a Frequency column", Answer::Ok);
    t.main->action("mnuFileImport")->trigger();
    QCOMPARE(t.f.prompter.pending(), std::size_t{0});
    QVERIFY2(t.f.prompter.unexpected.empty(), t.f.prompter.unexpectedText().c_str());
  }

  void exportWritesTheListWhereTheUserChose() {
    Table t;
    const std::string path = t.f.folder.file("out.csv").string();
    t.f.prompter.expectFile(path);
    t.main->action("mnuFileExport")->trigger();
    QCOMPARE(t.f.prompter.fileRequests.back().kind, FileDialogRequest::Kind::Save);
    QCOMPARE(t.f.prompter.fileRequests.back().initialPath, std::string("new.csv"));
    std::ifstream in(path, std::ios::binary);
    const std::string written{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    QCOMPARE(QString::fromStdString(written),
             QString::fromStdString(ExportChannelsCsv(t.doc()).text));
    QVERIFY2(t.f.prompter.unexpected.empty(), t.f.prompter.unexpectedText().c_str());
  }
};

}  // namespace cps::gui::test

QTEST_MAIN(cps::gui::test::FrmImportChannelsTest)
#include "frm_import_channels_test.moc"
