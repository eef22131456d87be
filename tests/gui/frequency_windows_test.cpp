// The test frequency and FM preset windows on their real widgets: typing into
// the box laid over a cell, the Enter walk, what is shown and stored, the
// band and broadcast limits, cleared cells, and the read-only five-point table.
#include <QLineEdit>
#include <QTableWidget>

#include "channel_fixture.hpp"

namespace cps::gui::test {

namespace {

struct Frequencies : Table {
  explicit Frequencies(const char* name, const std::function<void(RunState&)>& prepare = {})
      : Table(prepare), windowName(name) {
    frequencyWindow = main->ShowChildWindow(QLatin1String(name));
  }
  QTableWidget* grid(const char* name = "MSFlexGrid1") const {
    return frequencyWindow->findChild<QTableWidget*>(QLatin1String(name));
  }
  QLineEdit* box() const { return frequencyWindow->findChild<QLineEdit*>("Text1"); }
  QString cell(int row, int column, const char* name = "MSFlexGrid1") const {
    return grid(name)->item(row - 1, column)->text();
  }
  void clickCell(int row, int column, const char* name = "MSFlexGrid1") {
    QTableWidget* g = grid(name);
    QTest::mouseClick(g->viewport(), Qt::LeftButton, {},
                      g->visualRect(g->model()->index(row - 1, column)).center());
  }
  QPoint current() const { return {grid()->currentRow() + 1, grid()->currentColumn()}; }
  void enter(const QString& keys) {
    box()->selectAll();
    QTest::keyClick(box(), Qt::Key_Backspace);
    QTest::keyClicks(box(), keys);
    QTest::keyClick(box(), Qt::Key_Return);
  }
  TestFrequencyRecord& pair(int record) {
    return f.context.state.workingDocument.testFrequencies[static_cast<std::size_t>(record)];
  }
  FmPresetRecord& preset(int index) {
    return f.context.state.workingDocument.fmPresets[static_cast<std::size_t>(index)];
  }

  const char* windowName;
  QWidget* frequencyWindow = nullptr;
};

}  // namespace

class FrequencyWindowsTest : public QObject {
  Q_OBJECT

 private slots:
  void theMainWindowOffersNeither() {
    Table t;
    for (const char* entry : {"MnuTestFre", "MnuRadioFre"}) {
      QVERIFY(!t.main->action(entry)->isVisible());
    }
    QVERIFY(t.main->ShowChildWindow("FrmTestFre"));
    QVERIFY(t.main->ShowChildWindow("FrmRadio"));
  }

  // ---- Test frequencies ----

  void aTestFrequencyIsTypedIntoItsCrossedField() {
    Frequencies w("FrmTestFre");
    w.clickCell(3, 1);
    QVERIFY(w.box()->isVisible());
    QCOMPARE(w.focus(), w.box());
    w.enter("435.1");
    QCOMPARE(w.pair(2).second.raw(), std::string("43510000"));
    QCOMPARE(w.cell(3, 1), QString("435.10000"));
    QCOMPARE(w.current(), QPoint(3, 2));
    w.enter("440");
    QCOMPARE(w.pair(2).first.raw(), std::string("44000000"));
    QCOMPARE(w.current(), QPoint(4, 1));
    QVERIFY(w.f.prompter.unexpected.empty());
  }

  void theEnterWalk_data() {
    QTest::addColumn<int>("row");
    QTest::addColumn<int>("column");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QPoint>("next");
    QTest::newRow("empty receive cell goes down") << 5 << 1 << "" << QPoint(6, 1);
    QTest::newRow("last row, second column, to the top") << 11 << 2 << "" << QPoint(1, 1);
    QTest::newRow("last row, empty first column, to the top") << 11 << 1 << "" << QPoint(1, 1);
  }
  void theEnterWalk() {
    QFETCH(int, row);
    QFETCH(int, column);
    QFETCH(QString, typed);
    QFETCH(QPoint, next);
    Frequencies w("FrmTestFre");
    w.clickCell(row, column);
    w.enter(typed);
    QCOMPARE(w.current(), next);
  }

  void outOfBandClearedAndUnreadableCells() {
    Frequencies w("FrmTestFre", [](RunState& s) {
      s.workingDocument.testFrequencies[0].first.assign("FFFFFFFF");
      s.workingDocument.testFrequencies[1].second.assign("43000000");
    });
    QCOMPARE(w.cell(1, 2), QString());  // "FFFFFFFF" shows blank
    QCOMPARE(w.cell(2, 1), QString("430.00000"));
    w.f.prompter.expect(9021, Answer::Ok);
    w.clickCell(1, 1);
    w.enter("999");
    QCOMPARE(w.cell(1, 1), QString("480.00000"));
    QCOMPARE(w.f.prompter.askedIds(), std::vector<int>{9021});
    // Cleared and left for another cell: blank, and the field holds a NUL and blanks.
    w.clickCell(2, 1);
    w.box()->selectAll();
    QTest::keyClick(w.box(), Qt::Key_Backspace);
    w.clickCell(5, 2);
    QCOMPARE(w.cell(2, 1), QString());
    QCOMPARE(w.pair(1).second.raw(), std::string("\0       ", 8));
    // Moving through cells without typing stores nothing.
    const auto before = w.doc().toBytes();
    w.clickCell(1, 2);
    w.clickCell(7, 1);
    QVERIFY(w.doc().toBytes() == before);
    QVERIFY(w.f.prompter.unexpected.empty());
  }

  void theFivePointTableIsReadOnly() {
    Frequencies w("FrmTestFre");
    const auto& five = w.f.context.state.extraTestFrequencies[0];
    const CodecContext codec{w.f.context.state.model.limits, w.f.prompter};
    QCOMPARE(w.cell(1, 1, "MSFlexGrid2"),
             QString::fromStdString(FreqStoredToText(five.second.raw(), codec)));
    QCOMPARE(w.cell(1, 2, "MSFlexGrid2"),
             QString::fromStdString(FreqStoredToText(five.first.raw(), codec)));
    w.clickCell(1, 1);
    w.clickCell(2, 1, "MSFlexGrid2");
    QCOMPARE(w.current(), QPoint(1, 1));  // the editor stays on the left table
    QCOMPARE(w.grid("MSFlexGrid2")->findChild<QLineEdit*>(), nullptr);
  }

  // ---- FM presets ----

  void anFmPresetIsCheckedAndStepped_data() {
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("shown");
    QTest::addColumn<std::string>("stored");
    QTest::newRow("87.53 up to the raster") << "87.53"
                                            << "087.55000" << std::string("08755000");
    QTest::newRow("87.52 down to the raster") << "87.52"
                                              << "087.50000" << std::string("08750000");
    QTest::newRow("below the band") << "60"
                                    << "076.00000" << std::string("07600000");
    QTest::newRow("above the band") << "120"
                                    << "108.00000" << std::string("10800000");
    QTest::newRow("a lone point") << "."
                                  << "076.00000" << std::string("07600000");
  }
  void anFmPresetIsCheckedAndStepped() {
    QFETCH(QString, typed);
    QFETCH(QString, shown);
    QFETCH(std::string, stored);
    Frequencies w("FrmRadio");
    w.clickCell(4, 1);
    w.enter(typed);
    QCOMPARE(w.cell(4, 1), shown);
    QCOMPARE(w.preset(3).empty, std::int16_t{0});
    QCOMPARE(w.preset(3).frequency.raw(), stored);
    QCOMPARE(w.current(), QPoint(5, 1));
  }

  void clearedPresetsAndTheBoxText() {
    Frequencies w("FrmRadio", [](RunState& s) {
      s.workingDocument.fmPresets[0].empty = 0;
      s.workingDocument.fmPresets[0].frequency.assign("08755000");
    });
    QCOMPARE(w.cell(1, 1), QString("87.55000"));
    w.clickCell(1, 1);
    QCOMPARE(w.box()->text(), QString("87.550"));
    w.enter("87.55");
    QCOMPARE(w.cell(1, 1), QString("087.55000"));
    w.clickCell(1, 1);
    QCOMPARE(w.box()->text(), QString("087.55"));
    w.enter("");
    QCOMPARE(w.cell(1, 1), QString());
    QCOMPARE(w.preset(0).empty, std::int16_t{1});
    QCOMPARE(w.preset(0).frequency.raw(), std::string(8, ' '));
    w.clickCell(20, 1);
    w.enter("");
    QCOMPARE(w.current(), QPoint(1, 1));
    // Letters, pasting and right clicks are refused on the box.
    QTest::keyClicks(w.box(), "ab");
    QTest::keyClick(w.box(), Qt::Key_V, Qt::ControlModifier);
    QTest::mouseClick(w.box(), Qt::RightButton);
    QCOMPARE(w.box()->text(), QString());
  }

  void textsInBothLanguages_data() { LanguageRows(); }
  void textsInBothLanguages() {
    QFETCH(int, language);
    Table t;
    t.f.context.setLanguage(language);
    QWidget* tests = t.main->ShowChildWindow("FrmTestFre");
    QCOMPARE(tests->windowTitle(), t.f.context.text(19000));
    auto* pairs = tests->findChild<QTableWidget*>("MSFlexGrid1");
    QCOMPARE(pairs->horizontalHeaderItem(0)->text(), t.f.context.text(19003));
    QCOMPARE(pairs->horizontalHeaderItem(1)->text(), t.f.context.text(19004));
    QWidget* fm = t.main->ShowChildWindow("FrmRadio");
    QCOMPARE(fm->windowTitle(), t.f.context.text(17000));
    QCOMPARE(fm->findChild<QTableWidget*>()->horizontalHeaderItem(1)->text(),
             t.f.context.text(17002));
  }
};

}  // namespace cps::gui::test

QTEST_MAIN(cps::gui::test::FrequencyWindowsTest)
#include "frequency_windows_test.moc"
