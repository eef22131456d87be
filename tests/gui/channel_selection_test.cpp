// Several rows of the channel table at once: selecting them by keys and
// clicks, the Channel commands on the block, a list item for every selected
// channel, Change Selected Channels, and rows from a spreadsheet in and out.
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QDialog>
#include <QHeaderView>
#include <QPushButton>
#include <QStatusBar>

#include "channel_fixture.hpp"
#include "core/channels/channel_table.hpp"
#include "core/document/edit_history.hpp"

namespace cps::gui::test {

namespace {

// Channels at positions 1, 2, 4 and 5 of group 1; position 3 is empty.
void fourChannels(RunState& state) {
  auto& doc = state.workingDocument;
  doc.channelCount = 0;
  int entry = 0;
  for (const int number : {1, 2, 4, 5}) {
    ChannelRecord c;
    c.number = static_cast<std::int16_t>(number);
    c.rxFreq.assign("4400" + std::to_string(number) + "000");
    c.offset.bytes.fill('\0');
    c.power = 2;
    doc.channels[static_cast<std::size_t>(entry++)] = c;
  }
  doc.channelCount = static_cast<std::int16_t>(entry);
}

std::vector<int> rows(std::initializer_list<int> list) { return list; }

void clickRowNumber(Table& t, int row, Qt::KeyboardModifiers modifiers = {}) {
  QHeaderView* numbers = t.grid()->verticalHeader();
  const QPoint at(numbers->width() / 2,
                  numbers->sectionViewportPosition(row - 1) + numbers->sectionSize(row - 1) / 2);
  QTest::mouseClick(numbers->viewport(), Qt::LeftButton, modifiers, at);
}

}  // namespace

class ChannelSelectionTest : public QObject {
  Q_OBJECT

 private slots:
  // Shift with a key that moves between rows extends from where the selection
  // started; a plain move selects one row; the cursor cell keeps its editor.
  void keysSelectRows() {
    Table t(fourChannels);
    struct Step {
      Qt::Key key;
      Qt::KeyboardModifiers modifiers;
      std::vector<int> selected;
      int cursorRow;
    };
    const std::vector<Step> steps = {
        {Qt::Key_Down, Qt::ShiftModifier, rows({1, 2}), 2},
        {Qt::Key_Down, Qt::ShiftModifier, rows({1, 2, 3}), 3},
        {Qt::Key_Up, Qt::ShiftModifier, rows({1, 2}), 2},
        {Qt::Key_Down, Qt::NoModifier, rows({3}), 3},
        {Qt::Key_PageDown, Qt::ShiftModifier,
         rows({3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16}), 16},
        {Qt::Key_Down, Qt::ShiftModifier, rows({3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16}),
         16},  // never wraps
        {Qt::Key_PageUp, Qt::ShiftModifier, rows({1, 2, 3}), 1},
        {Qt::Key_A, Qt::ControlModifier,
         rows({1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16}), 1},
        {Qt::Key_Up, Qt::NoModifier, rows({16}), 16},
    };
    for (const auto& step : steps) {
      t.press(step.key, step.modifiers);
      QCOMPARE(t.window->selectedRows(), step.selected);
      QCOMPARE(t.window->cursorRow(), step.cursorRow);
      QVERIFY(t.focus() == t.text1());
    }
    // Another group starts with the cursor's row alone.
    t.press(Qt::Key_Down, Qt::ShiftModifier);
    t.press(Qt::Key_PageDown);
    QCOMPARE(t.window->selectedRows(), rows({t.window->cursorRow()}));
  }

  void clicksSelectRows() {
    Table t(fourChannels);
    clickRowNumber(t, 2);
    QCOMPARE(t.window->selectedRows(), rows({2}));
    QCOMPARE(t.window->cursorRow(), 2);
    clickRowNumber(t, 5, Qt::ShiftModifier);
    QCOMPARE(t.window->selectedRows(), rows({2, 3, 4, 5}));
    clickRowNumber(t, 8, Qt::ControlModifier);
    QCOMPARE(t.window->selectedRows(), rows({2, 3, 4, 5, 8}));
    clickRowNumber(t, 3, Qt::ControlModifier);
    QCOMPARE(t.window->selectedRows(), rows({2, 4, 5, 8}));
    QTest::mouseClick(t.grid()->viewport(), Qt::LeftButton, Qt::ShiftModifier, t.cellCentre(1, 2));
    QCOMPARE(t.window->selectedRows(), rows({1, 2, 3}));
    // A right click inside the selection keeps it for the menu.
    t.rightClick(2, 1);
    QCOMPARE(t.window->selectedRows(), rows({1, 2, 3}));
    if (QWidget* menu = QApplication::activePopupWidget()) menu->close();
    // On the cursor's own cell too; a plain move afterwards selects one row again.
    t.rightClick(t.window->cursorRow(), t.window->cursorColumn());
    QCOMPARE(t.window->selectedRows(), rows({1, 2, 3}));
    if (QWidget* menu = QApplication::activePopupWidget()) menu->close();
    QVERIFY(t.activeAgain());
    t.press(Qt::Key_Down);
    QCOMPARE(t.window->selectedRows(), rows({t.window->cursorRow()}));
    t.click(6, 1);
    QCOMPARE(t.window->selectedRows(), rows({6}));
  }

  // Each command on a block is one undo step, and the block is selected where it went.
  void blockCommandsAreOneUndoStep() {
    Table t(fourChannels);
    t.press(Qt::Key_Down, Qt::ShiftModifier);
    t.press(Qt::Key_Down, Qt::ShiftModifier);  // rows 1 to 3
    const auto before = t.doc().toBytes();
    t.press(Qt::Key_D, Qt::ControlModifier);  // Move Down
    QVERIFY(t.commandRan());
    QCOMPARE(t.window->selectedRows(), rows({2, 3, 4}));
    QCOMPARE(t.window->cursorRow(), 4);
    QVERIFY(t.channel(2) != nullptr && t.channel(3) != nullptr && t.channel(1) != nullptr);
    QCOMPARE(t.channel(1)->rxFreq.raw(), std::string("44004000"));  // 4 took the block's other end
    QVERIFY(t.focus() == t.text1());
    t.main->action("mnuEditUndo")->trigger();
    QVERIFY(t.doc().toBytes() == before);
  }

  // An item chosen in a list column's editor goes to every selected channel
  // that exists; an empty position stays empty.
  void aListItemGoesToEverySelectedChannel() {
    Table t(fourChannels);
    t.press(Qt::Key_Down, Qt::ShiftModifier);
    t.press(Qt::Key_Down, Qt::ShiftModifier);
    t.press(Qt::Key_Up);  // row 2 alone
    t.press(Qt::Key_Up, Qt::ShiftModifier);
    t.press(Qt::Key_Down);
    t.press(Qt::Key_Down, Qt::ShiftModifier);
    t.press(Qt::Key_Down, Qt::ShiftModifier);             // rows 2 to 4, cursor on 4
    for (int i = 0; i < 4; ++i) t.press(Qt::Key_Return);  // to the power column
    QCOMPARE(t.window->cursorColumn(), 6);
    QCOMPARE(t.window->selectedRows(), rows({2, 3, 4}));
    const auto steps = t.f.context.state.history.undoSteps();
    auto* power = t.child<QComboBox>("Combo2");
    QVERIFY(power->isVisible());
    power->setCurrentIndex(0);
    emit power->activated(0);
    QCOMPARE(t.channel(2)->power, 0);
    QCOMPARE(t.channel(4)->power, 0);
    QCOMPARE(t.channel(1)->power, 2);
    QCOMPARE(t.channel(5)->power, 2);
    QVERIFY(t.channel(3) == nullptr);
    QCOMPARE(t.f.context.state.history.undoSteps(), steps + 1);
    QCOMPARE(t.window->cellText(2, 6), t.window->cellText(4, 6));
  }

  void changeSelectedChannels() {
    Table t(fourChannels);
    t.main->action("MnuCHSelectAll")->trigger();
    const auto before = t.doc().toBytes();
    answerNextModal([](QWidget& dialog) {
      QCOMPARE(dialog.objectName(), QString("FrmChangeChannels"));
      dialog.findChild<QComboBox*>("Combo2(2)")->setCurrentIndex(1);  // power: the first item
      dialog.findChild<QComboBox*>("Check1(0)")->setCurrentIndex(1);  // scan skip: on
      dialog.findChild<QPushButton*>("CommandOK")->click();
    });
    t.press(Qt::Key_E, Qt::ControlModifier | Qt::ShiftModifier);
    for (const int number : {1, 2, 4, 5}) {
      QCOMPARE(t.channel(number)->power, 0);
      QCOMPARE(t.channel(number)->scanSkip, 1);
      QCOMPARE(t.channel(number)->spacing, 0);  // left as it was
    }
    QVERIFY(t.main->statusBar()->currentMessage().contains("4"));
    t.main->action("mnuEditUndo")->trigger();
    QVERIFY(t.doc().toBytes() == before);

    QVERIFY(t.activeAgain());
    answerNextModal([](QWidget& dialog) {
      dialog.findChild<QComboBox*>("Combo2(2)")->setCurrentIndex(1);
      dialog.findChild<QPushButton*>("CommandCancel")->click();
    });
    t.press(Qt::Key_E, Qt::ControlModifier | Qt::ShiftModifier);
    QVERIFY(t.doc().toBytes() == before);
    QVERIFY(t.activeAgain());
    QVERIFY(t.focus() == t.text1());
  }

  // By keyboard alone: three rows from a spreadsheet go in from the cursor,
  // selected; Copy gives them back as the spreadsheet gave them.
  void spreadsheetRowsInAndOut() {
    Table t(fourChannels);
    for (int i = 0; i < 6; ++i) t.press(Qt::Key_Down);  // row 7
    const QString sheet = QStringLiteral(
        "CH\tRX (MHz)\tTX (MHz)\tRX CTCSS/DCS\tTX CTCSS/DCS\tTX power\tScan skip\tSignalling\t"
        "Spacing\n"
        "7\t435.10000\t440.10000\t67.0\t67.0\tLow\tNo\tNone\t12.5 kHz\n"
        "8\t435.20000\t435.20000\tNone\tNone\tHigh\tYes\tDTMF\t25 kHz\n"
        "9\t435.30000\t445.30000\t023N\t023N\tMiddle\tNo\tNone\t20 kHz\n");
    QApplication::clipboard()->setText(sheet + "10\tnot a frequency\n");
    const auto steps = t.f.context.state.history.undoSteps();
    t.press(Qt::Key_V, Qt::ControlModifier | Qt::ShiftModifier);
    QCOMPARE(t.window->selectedRows(), rows({7, 8, 9, 10}));
    QCOMPARE(t.window->cursorRow(), 7);
    QCOMPARE(t.f.context.state.history.undoSteps(), steps + 1);
    QCOMPARE(t.main->statusBar()->currentMessage(), QString("3 rows pasted, 1 skipped."));
    QVERIFY(t.channel(10) == nullptr);
    QCOMPARE(t.window->cellText(9, 4), QString("023N"));
    // Copy the three back: from the first pasted row, two rows further.
    t.press(Qt::Key_Down, Qt::ShiftModifier);
    t.press(Qt::Key_Down, Qt::ShiftModifier);
    t.press(Qt::Key_C, Qt::ControlModifier);
    QVERIFY(t.commandRan());
    QCOMPARE(QApplication::clipboard()->text(), sheet);
    QVERIFY(t.focus() == t.text1());
  }
};

}  // namespace cps::gui::test

QTEST_MAIN(cps::gui::test::ChannelSelectionTest)
#include "channel_selection_test.moc"
