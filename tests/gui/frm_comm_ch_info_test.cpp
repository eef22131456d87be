// The channel table on its real widgets inside the main window, driven by
// keys and clicks: the receive-first rule, the floating editors and what they
// commit, the Enter walk, the key filters, the pop-up menu, the pages of the
// groups and the group kept across reopening. After each edit the document is
// compared with what the core alone makes of the same edits.
#include "gui/channels/frm_comm_ch_info.hpp"

#include <QAbstractButton>
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMdiSubWindow>
#include <QMenu>
#include <QPushButton>
#include <QTableWidget>
#include <QtTest>
#include <memory>
#include <variant>

#include "channel_fixture.hpp"
#include "core/document/channel_list.hpp"
#include "core/document/codec.hpp"
#include "core/document/data_file.hpp"
#include "core/document/defaults.hpp"
#include "core/document/instances.hpp"
#include "gui/app/frm_main.hpp"
#include "gui/app/message_box_prompter.hpp"

namespace cps::gui::test {

namespace {

// Group 1 full, and two channels at the top of group 2.
void TwoGroups(RunState& state) {
  FullFirstGroup(state);
  AddChannel(state, 1, 1, "445");
  AddChannel(state, 1, 2, "446");
}

// The transmit frequency a channel holds, as the table shows it without offsets.
QString transmitOf(Table& t, int number) {
  const ChannelRecord* c = t.channel(number);
  if (c == nullptr) return {};
  const CodecContext codec{t.f.context.state.model.limits, t.f.prompter};
  return QString::fromStdString(
      TxFrequencyText(c->rxFreq.raw(), c->offset.raw(), c->offsetDirection, false, codec));
}

}  // namespace

class FrmCommChInfoTest : public QObject {
  Q_OBJECT

 private slots:
  void cleanup() {}

  void opensOnTheFirstCellOfTheCurrentGroup() {
    Table t;
    QVERIFY(t.window);
    QVERIFY(t.f.context.state.channelEditing.isChannelWindowOpen);
    QCOMPARE(t.cursor(), QPoint(1, 1));
    QVERIFY(t.text1()->isVisible());
    QCOMPARE(t.focus(), t.text1());
    QCOMPARE(t.text1()->text(), QString("440.00000"));
    QCOMPARE(t.text1()->selectedText(), QString("440.00000"));
    QCOMPARE(t.text1()->geometry(), t.grid()->visualRect(t.grid()->model()->index(0, 0)));
    QCOMPARE(t.window->windowTitle(), QString("Group 1 --- Channel 1]"));
    QVERIFY(t.main->findChild<QMenu*>("MnuCHEdit")->menuAction()->isVisible());
    QVERIFY(t.f.prompter.unexpected.empty());
  }

  void headersRowNumbersAndColours() {
    Table t;
    const QStringList headers{"CH",           "RX (MHz)",     "TX (MHz)", "Reserved",
                              "RX CTCSS/DCS", "TX CTCSS/DCS", "TX power", "Scan skip",
                              "Signalling",   "Spacing",      "Details"};
    for (int c = 0; c < 11; ++c) QCOMPARE(t.window->cellText(0, c), headers[c]);
    QVERIFY(t.grid()->isColumnHidden(2));  // column 3, reserved
    QCOMPARE(t.grid()->horizontalHeaderItem(0)->foreground().color(), QColor(0, 0, 155));
    for (int r = 1; r <= 16; ++r) {
      QCOMPARE(t.window->cellText(r, 0), QString::number(r));
      QCOMPARE(t.window->cellText(r, 10), QString(">>"));
    }
    QCOMPARE(t.grid()->verticalHeaderItem(4)->foreground().color(), QColor(0, 0, 255));
    QCOMPARE(t.grid()->item(4, 9)->foreground().color(), QColor(255, 0, 0));
    QCOMPARE(t.grid()->item(4, 9)->background().color(), QColor(220, 220, 220));
    // Offset mode names the transmit column after the offset, and back.
    t.window->ReShowAllTxFre(true);
    QCOMPARE(t.window->cellText(0, 2), QString("TX offset (MHz)"));
    QCOMPARE(t.window->cellText(1, 2), QString("0.00000"));
    t.window->ReShowAllTxFre(false);
    QCOMPARE(t.window->cellText(1, 2), QString("440.00000"));
  }

  // On an empty position a click in any field column lands in its receive
  // column; typing there creates the channel.
  void aNewChannelStartsWithItsReceiveFrequency() {
    Table t;
    t.click(3, 6);
    QCOMPARE(t.cursor(), QPoint(3, 1));
    QVERIFY(t.text1()->isVisible());
    QCOMPARE(t.focus(), t.text1());
    t.type("435.1");
    t.press(Qt::Key_Return);
    t.expectEdit(0, 3, 1, "435.10000");
    QVERIFY(t.documentAsExpected());
    QVERIFY(t.channel(3));
    QCOMPARE(t.window->cellText(3, 1), QString("435.10000"));
    QCOMPARE(t.window->cellText(3, 2), QString("435.10000"));
    QCOMPARE(t.window->cellText(3, 6), QString("High"));
    QCOMPARE(t.cursor(), QPoint(3, 2));
    QCOMPARE(t.text1()->text(), QString("435.10000"));
    QVERIFY2(t.f.prompter.unexpected.empty(), t.f.prompter.unexpectedText().c_str());
  }

  void aFrequencyOutsideTheBandIsClampedWithOneWarning() {
    Table t;
    t.f.prompter.expect(9021, Answer::Ok);
    t.type("999");
    t.press(Qt::Key_Return);
    t.expectEdit(0, 1, 1, "999.00000");
    QVERIFY(t.documentAsExpected());
    QCOMPARE(t.window->cellText(1, 1), QString("480.00000"));
    QCOMPARE(t.f.prompter.askedIds(), std::vector<int>{9021});
    // Moving on does not commit the same entry again.
    t.click(1, 4);
    QCOMPARE(t.f.prompter.askedIds(), std::vector<int>{9021});
    QVERIFY2(t.f.prompter.unexpected.empty(), t.f.prompter.unexpectedText().c_str());
  }

  // Clearing the receive frequency removes the channel, unless it is the last.
  void clearingTheReceiveFrequency_data() {
    QTest::addColumn<bool>("onlyChannel");
    QTest::newRow("one of two channels") << false;
    QTest::newRow("the only channel") << true;
  }
  void clearingTheReceiveFrequency() {
    QFETCH(bool, onlyChannel);
    Table t([onlyChannel](RunState& s) {
      if (onlyChannel) return;
      OkPrompter ok;
      NullObserver nobody;
      ApplyChannelEdit(s, {ok, nobody}, 0, 2, 1, "435");
    });
    t.press(Qt::Key_Backspace);
    QCOMPARE(t.text1()->text(), QString());
    t.press(Qt::Key_Return);
    t.expectEdit(0, 1, 1, "");
    QVERIFY(t.documentAsExpected());
    QCOMPARE(t.channel(1) != nullptr, onlyChannel);
    QCOMPARE(t.window->cellText(1, 1), onlyChannel ? QString("440.00000") : QString());
    QCOMPARE(t.cursor(), QPoint(2, 1));
    QVERIFY2(t.f.prompter.unexpected.empty(), t.f.prompter.unexpectedText().c_str());
  }

  // In offset mode the transmit column takes a signed offset.
  void theTransmitColumnInOffsetMode_data() {
    QTest::addColumn<bool>("offsetMode");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("shown");
    QTest::addColumn<QString>("committed");
    QTest::newRow("minus 5 in offset mode") << true << "-5"
                                            << "-5.00000"
                                            << "-5";
    QTest::newRow("plus 0.6 in offset mode") << true << "+0.6"
                                             << "+0.60000"
                                             << "+0.6";
    QTest::newRow("signs ignored without it") << false << "-445"
                                              << "445.00000"
                                              << "445";
  }
  void theTransmitColumnInOffsetMode() {
    QFETCH(bool, offsetMode);
    QFETCH(QString, typed);
    QFETCH(QString, shown);
    QFETCH(QString, committed);
    Table t([offsetMode](RunState& s) { s.habits.offsetMode = offsetMode; });
    t.press(Qt::Key_Return);  // the receive column as it is
    QCOMPARE(t.cursor(), QPoint(1, 2));
    t.press(Qt::Key_Backspace);
    t.type(typed);
    QCOMPARE(t.text1()->text(), committed);
    t.press(Qt::Key_Return);
    t.expectEdit(0, 1, 1, "440.00000");
    t.expectEdit(0, 1, 2, committed.toStdString());
    QVERIFY(t.documentAsExpected());
    QCOMPARE(t.window->cellText(1, 2), shown);
    if (offsetMode && typed == "-5") {
      QCOMPARE(t.channel(1)->offsetDirection, std::uint8_t{1});
      QCOMPARE(t.channel(1)->offset.raw(), std::string("0500000"));
    }
    QCOMPARE(t.cursor(), QPoint(1, 4));
  }

  // Enter walks columns 1, 2, 4 to 9 and then the next row of the same group.
  void enterWalksTheRowAndWrapsWithinTheGroup() {
    Table t(FullFirstGroup);
    QList<QPoint> visited{t.cursor()};
    for (int i = 0; i < 8; ++i) {
      t.press(Qt::Key_Return);
      visited << t.cursor();
    }
    const QList<QPoint> walk{{1, 1}, {1, 2}, {1, 4}, {1, 5}, {1, 6},
                             {1, 7}, {1, 8}, {1, 9}, {2, 1}};
    QCOMPARE(visited, walk);
    t.click(16, 9);
    QCOMPARE(t.cursor(), QPoint(16, 9));
    t.press(Qt::Key_Return);
    QCOMPARE(t.cursor(), QPoint(1, 1));
    QCOMPARE(t.groups()->currentIndex(), 0);
    QCOMPARE(t.focus(), t.text1());
    // Walking stored nothing.
    QVERIFY(t.documentAsExpected());
    // On an empty row Enter in column 1 walks down.
    t.groups()->setCurrentIndex(1);
    t.click(5, 1);
    t.press(Qt::Key_Return);
    QCOMPARE(t.cursor(), QPoint(6, 1));
    QVERIFY2(t.f.prompter.unexpected.empty(), t.f.prompter.unexpectedText().c_str());
  }

  // Opening a list editor stores nothing; a choice stores at once.
  void aListStoresOnlyWhatTheUserChooses() {
    Table t([](RunState& s) { s.workingDocument.channels[0].power = 3; });
    QCOMPARE(t.window->cellText(1, 6), QString("Low"));
    t.click(1, 6);
    auto* power = t.child<QComboBox>("Combo2");
    QVERIFY(power->isVisible());
    QCOMPARE(t.focus(), power);
    QCOMPARE(power->currentText(), QString("Low"));
    QCOMPARE(t.channel(1)->power, std::int16_t{3});  // opening stored nothing
    QVERIFY(t.documentAsExpected());
    t.press(Qt::Key_Down);
    t.expectEdit(0, 1, 6, "1");
    QVERIFY(t.documentAsExpected());
    QCOMPARE(t.window->cellText(1, 6), QString("Middle"));
    // The tone list holds the whole tone table.
    t.press(Qt::Key_Return);
    t.press(Qt::Key_Return);
    t.press(Qt::Key_Return);
    QCOMPARE(t.cursor(), QPoint(1, 9));
    t.click(1, 4);
    auto* tones = t.child<QComboBox>("Combo1");
    QCOMPARE(tones->count(), 283);
    QCOMPARE(tones->itemText(0), QString("None"));
    t.press(Qt::Key_Down);
    t.press(Qt::Key_Down);
    t.expectEdit(0, 1, 4, "1");
    t.expectEdit(0, 1, 4, "2");
    QVERIFY(t.documentAsExpected());
    QCOMPARE(t.window->cellText(1, 4), tones->itemText(2));
  }

  // Nothing copied yet, so Ctrl+V reaches the box, which pastes nothing.
  void theFrequencyEditorTakesOnlyFrequencyKeys() {
    Table t;
    QApplication::clipboard()->setText(QStringLiteral("435.5"));
    t.press(Qt::Key_End);
    t.press(Qt::Key_V, Qt::ControlModifier);
    t.press(Qt::Key_Insert, Qt::ShiftModifier);
    t.type("ab,c -+");
    QCOMPARE(t.text1()->text(), QString("440.00000"));
    // Text that arrives without keys is held to the same characters.
    t.text1()->selectAll();
    t.text1()->insert(QStringLiteral("4x5"));
    QCOMPARE(t.text1()->text(), QString("440.00000"));
    QVERIFY(t.documentAsExpected());
    QVERIFY(t.f.prompter.unexpected.empty());
  }

  // A right click moves the cursor to the cell first, then the channel menu opens.
  void rightClickMovesTheCursorAndOpensTheChannelMenu() {
    Table t(FullFirstGroup);
    t.rightClick(7, 8);
    QCOMPARE(t.cursor(), QPoint(7, 8));
    auto* menu = t.main->findChild<QMenu*>("MnuCHEdit");
    QVERIFY(menu->isVisible());
    menu->close();
    // The frequency box has no menu of its own.
    t.click(7, 1);
    QContextMenuEvent onText(QContextMenuEvent::Mouse, QPoint(5, 5),
                             t.text1()->mapToGlobal(QPoint(5, 5)));
    QApplication::sendEvent(t.text1(), &onText);
    QVERIFY(!t.text1()->findChild<QMenu*>());
    menu->close();
  }

  // However the cursor reaches a cell, its editor comes with the whole text
  // selected, so that what the user types replaces the old frequency.
  void typingReplacesTheCellOnEveryWayIn_data() {
    QTest::addColumn<QString>("way");
    for (const char* way :
         {"opening", "reopening", "group list then Tab", "Page Down", "Page Down and Up", "click",
          "Enter", "after Copy", "after the habits dialog", "after the delete question",
          "after a warning box"}) {
      QTest::newRow(way) << QString(way);
    }
  }
  void typingReplacesTheCellOnEveryWayIn() {
    QFETCH(QString, way);
    Table t(TwoGroups);
    MessageBoxPrompter boxes(t.f.context);
    if (way == "reopening") {
      t.main->UnloadWindowByName(kChannelWindowName);
      t.main->action("mnuChannelInfo")->trigger();
      t.window = dynamic_cast<frmCommChInfo*>(t.main->childWindow(kChannelWindowName));
      QVERIFY(t.window);
    } else if (way == "group list then Tab") {
      t.groups()->setFocus();
      t.press(Qt::Key_Down);
      QCOMPARE(t.window->selectedGroup(), 1);
      t.press(Qt::Key_Tab);
    } else if (way == "Page Down") {
      t.press(Qt::Key_PageDown);
    } else if (way == "Page Down and Up") {
      t.press(Qt::Key_PageDown);
      t.press(Qt::Key_PageUp);
    } else if (way == "click") {
      t.click(3, 1);
    } else if (way == "Enter") {
      t.press(Qt::Key_Return);
    } else if (way == "after Copy") {
      t.press(Qt::Key_C, Qt::ControlModifier);
      QVERIFY(t.commandRan());
    } else if (way == "after the habits dialog") {
      answerNextModal([](QWidget& habits) { QTest::keyClick(&habits, Qt::Key_Escape); });
      t.main->action("MnuCHHabits")->trigger();
      QVERIFY(t.activeAgain());
    } else if (way == "after the delete question") {
      t.f.context.setPrompter(boxes);
      t.click(2, 1);
      answerNextModal([](QWidget& question) {
        QTest::mouseClick(question.findChild<QPushButton*>("CommandYes"), Qt::LeftButton);
      });
      t.main->action("MnuCHDelete")->trigger();
      QVERIFY(t.commandRan());
      QVERIFY(t.activeAgain());
      QCOMPARE(t.window->cellText(2, 1), QString("433.00000"));
    } else if (way == "after a warning box") {
      t.f.context.setPrompter(boxes);
      t.type("999");
      answerNextModal([](QWidget& box) { QTest::keyClick(&box, Qt::Key_Return); });
      t.press(Qt::Key_Return);
      QVERIFY(t.activeAgain());
      QCOMPARE(t.window->cellText(1, 1), QString("480.00000"));
    }
    const QPoint at = t.cursor();
    const int number = t.window->selectedGroup() * 16 + at.x();
    QCOMPARE(t.focus(), t.text1());
    QVERIFY(!t.text1()->text().isEmpty());
    t.type("435.1");
    QCOMPARE(t.text1()->text(), QString("435.1"));
    t.press(Qt::Key_Return);
    QCOMPARE(t.window->cellText(at.x(), at.y()), QString("435.10000"));
    if (at.y() == 1) {
      QCOMPARE(t.channel(number)->rxFreq.raw(), std::string("43510000"));
    } else {
      QCOMPARE(transmitOf(t, number), QString("435.10000"));
    }
    QVERIFY2(t.f.prompter.unexpected.empty(), t.f.prompter.unexpectedText().c_str());
  }

  // A transmit text that is no number is neither shown nor stored, whichever
  // way the editor is left, and asks nothing.
  void aTransmitTextThatIsNoNumberIsDropped_data() {
    QTest::addColumn<bool>("offsetMode");
    QTest::addColumn<QString>("leave");
    for (const bool offsetMode : {false, true}) {
      for (const char* leave : {"Enter", "Down", "click", "group list", "Edit Channel"}) {
        QTest::newRow(
            qPrintable(QString("%1, %2").arg(offsetMode ? "offsets" : "frequencies", leave)))
            << offsetMode << QString(leave);
      }
    }
  }
  void aTransmitTextThatIsNoNumberIsDropped() {
    QFETCH(bool, offsetMode);
    QFETCH(QString, leave);
    Table t([offsetMode](RunState& s) {
      s.habits.offsetMode = offsetMode;
      AddChannel(s, 0, 2, "441");
    });
    const QString shown = t.window->cellText(1, 2);
    t.press(Qt::Key_Return);
    QCOMPARE(t.cursor(), QPoint(1, 2));
    t.type("1..2");
    QCOMPARE(t.text1()->text(), QString("1..2"));
    if (leave == "Enter") {
      t.press(Qt::Key_Return);
    } else if (leave == "Down") {
      t.press(Qt::Key_Down);
    } else if (leave == "click") {
      t.click(2, 4);
    } else if (leave == "group list") {
      t.groups()->setFocus();
    } else {
      QTest::mouseClick(t.child<QPushButton>("CommandCHInfoEdit"), Qt::LeftButton);
    }
    // Whatever takes the focus afterwards commits nothing either.
    t.grid()->setFocus();
    t.click(2, 1);
    QVERIFY(t.documentAsExpected());
    QCOMPARE(t.window->cellText(1, 2), shown);
    QVERIFY(t.f.prompter.asked.empty());
    QVERIFY2(t.f.prompter.unexpected.empty(), t.f.prompter.unexpectedText().c_str());
  }

  // Edit Channel right after a typed entry outside the band: the entry is
  // committed once, with one warning, and the dialog shows what was stored.
  void editChannelAfterAnEntryOutsideTheBandWarnsOnce() {
    Table t;
    t.type("999");
    t.f.prompter.expect(9021, Answer::Ok);
    QTest::mouseClick(t.child<QPushButton>("CommandCHInfoEdit"), Qt::LeftButton);
    QCOMPARE(t.f.prompter.askedIds(), std::vector<int>{9021});
    t.expectEdit(0, 1, 1, "999");
    QVERIFY(t.documentAsExpected());
    QWidget* dialog = t.main->childWindow("FrmCHInfoEdit");
    QVERIFY(dialog);
    QCOMPARE(dialog->findChild<QLineEdit*>("Text1")->text(), QString("480.00000"));
    QVERIFY2(t.f.prompter.unexpected.empty(), t.f.prompter.unexpectedText().c_str());
  }

  // A right click on a row number works as on a cell of that row.
  void rightClickOnARowNumberMovesTheCursorAndOpensTheChannelMenu() {
    Table t(FullFirstGroup);
    t.click(2, 4);
    QHeaderView* rows = t.grid()->verticalHeader();
    const QPoint at(rows->width() / 2, rows->sectionViewportPosition(6) + 2);
    QTest::mousePress(rows->viewport(), Qt::RightButton, {}, at);
    QContextMenuEvent menuEvent(QContextMenuEvent::Mouse, at, rows->viewport()->mapToGlobal(at));
    QApplication::sendEvent(rows->viewport(), &menuEvent);
    QTest::mouseRelease(rows->viewport(), Qt::RightButton, {}, at);
    QCOMPARE(t.cursor(), QPoint(7, 4));
    auto* menu = t.main->findChild<QMenu*>("MnuCHEdit");
    QVERIFY(menu->isVisible());
    menu->close();
  }

  // The corner above the row numbers carries the row number column's header.
  void theCornerShowsTheRowNumberHeader_data() { LanguageRows(); }
  void theCornerShowsTheRowNumberHeader() {
    QFETCH(int, language);
    Table t;
    t.f.context.setLanguage(language);
    t.window->ReShowChInfoByLanguage();
    auto* corner = t.grid()->findChild<QAbstractButton*>(QString(), Qt::FindDirectChildrenOnly);
    QVERIFY(corner);
    QVERIFY(corner->isVisible());
    QCOMPARE(corner->text(), t.f.context.text(14001));
    QCOMPARE(t.window->cellText(0, 0), t.f.context.text(14001));
    // It is drawn in the header colour, as the other headers are.
    const QImage drawn = corner->grab().toImage();
    int inkPixels = 0;
    for (int y = 0; y < drawn.height(); ++y) {
      for (int x = 0; x < drawn.width(); ++x) {
        const QColor c = drawn.pixelColor(x, y);
        if (c.blue() > 100 && c.red() < 90 && c.green() < 90) ++inkPixels;
      }
    }
    QVERIFY2(inkPixels > 5, qPrintable(QString::number(inkPixels)));
  }

  void aPageWithoutChannelsShowsOnlyNumbersAndDetails() {
    Table t;
    t.groups()->setCurrentIndex(2);
    for (int r = 1; r <= 16; ++r) {
      QCOMPARE(t.window->cellText(r, 0), QString::number(r));
      QCOMPARE(t.window->cellText(r, 10), QString(">>"));
      for (int c = 1; c <= 9; ++c) QVERIFY(t.window->cellText(r, c).isEmpty());
    }
    QCOMPARE(t.window->windowTitle(), QString("Group 3 --- Channel 1]"));
    QCOMPARE(t.f.context.state.channelEditing.currentGroup, 2);
    QCOMPARE(t.f.context.state.channelEditing.dialogGroup, 2);
  }

  void theLastRowOfGroupEightIsChannel128() {
    Table t([](RunState& s) {
      OkPrompter ok;
      NullObserver nobody;
      ApplyChannelEdit(s, {ok, nobody}, 7, 16, 1, "470.5");
    });
    t.groups()->setCurrentIndex(7);
    QCOMPARE(t.window->cellText(16, 1), QString("470.50000"));
    t.click(16, 6);
    QCOMPARE(t.window->windowTitle(), QString("Group 8 --- Channel 16]"));
    t.press(Qt::Key_Up);
    t.expectEdit(7, 16, 6, "1");
    QVERIFY(t.documentAsExpected());
    QCOMPARE(t.channel(128)->power, std::int16_t{1});
  }

  void theGroupIsKeptAcrossReopeningAndResetByANewDocument() {
    Table t;
    t.groups()->setCurrentIndex(4);
    t.main->UnloadWindowByName(kChannelWindowName);
    QVERIFY(!t.f.context.state.channelEditing.isChannelWindowOpen);
    t.main->action("mnuChannelInfo")->trigger();
    auto* reopened = dynamic_cast<frmCommChInfo*>(t.main->childWindow(kChannelWindowName));
    QVERIFY(reopened);
    QCOMPARE(reopened->selectedGroup(), 4);
    QCOMPARE(reopened->windowTitle(), QString("Group 5 --- Channel 1]"));
    t.main->LoadNewDoc();
    QCOMPARE(t.f.context.state.channelEditing.currentGroup, 0);
    reopened = dynamic_cast<frmCommChInfo*>(t.main->childWindow(kChannelWindowName));
    QVERIFY(reopened);
    QCOMPARE(reopened->selectedGroup(), 0);
  }

  // Beyond Enter: Up and Down commit and move a row, Page Up and Page Down
  // turn to the neighbouring group.
  void spreadsheetKeys() {
    Table t(FullFirstGroup);
    t.press(Qt::Key_Backspace);
    t.type("445");
    t.press(Qt::Key_Down);
    t.expectEdit(0, 1, 1, "445.00000");
    QVERIFY(t.documentAsExpected());
    QCOMPARE(t.cursor(), QPoint(2, 1));
    t.press(Qt::Key_Up);
    t.press(Qt::Key_Up);
    QCOMPARE(t.cursor(), QPoint(16, 1));
    t.press(Qt::Key_PageDown);
    QCOMPARE(t.groups()->currentIndex(), 1);
    QCOMPARE(t.cursor(), QPoint(16, 1));
    QCOMPARE(t.text1()->text(), QString());
    t.type("450");
    t.press(Qt::Key_PageUp);  // the entry is committed before the page turns
    t.expectEdit(1, 16, 1, "450");
    QVERIFY(t.documentAsExpected());
    QCOMPARE(t.groups()->currentIndex(), 0);
    t.press(Qt::Key_PageUp);
    QCOMPARE(t.groups()->currentIndex(), 0);
    QVERIFY(t.channel(32));
  }

  // What is typed and not yet committed is taken by leaving the box, by a save
  // and by closing the window, once.
  void pendingEntriesAreNotLost() {
    Table t;
    t.type("5");  // replaces the selected text
    t.f.prompter.expect(9021, Answer::Ok);
    t.groups()->setFocus();
    t.expectEdit(0, 1, 1, "5");
    QVERIFY(t.documentAsExpected());
    QCOMPARE(t.window->cellText(1, 1), QString("400.00000"));

    t.click(1, 1);
    t.type("3");
    const auto file = t.f.folder.file("kept.dat").string();
    t.f.prompter.expectFile(file);
    t.main->action("mnuFileSave")->trigger();
    t.expectEdit(0, 1, 1, "3");
    QVERIFY(t.documentAsExpected());
    QVERIFY(ReadDataFileBytes(file).ok());

    t.click(1, 1);
    t.type("450");
    t.window->close();
    t.expectEdit(0, 1, 1, "450");
    QVERIFY(t.documentAsExpected());
    QVERIFY(!t.f.context.state.channelEditing.isChannelWindowOpen);
  }

  // A dealer's morning: several channels across two groups typed by keyboard
  // alone, saved, and found field for field in the data file.
  void keyboardOnlyChannelsReachTheDataFile() {
    Table t;
    const auto keys = [&t](std::initializer_list<std::variant<const char*, Qt::Key>> steps) {
      for (const auto& step : steps) {
        if (const auto* text = std::get_if<const char*>(&step)) {
          t.type(QString::fromUtf8(*text));
        } else {
          t.press(std::get<Qt::Key>(step));
        }
      }
    };
    const Qt::Key enter = Qt::Key_Return, down = Qt::Key_Down, up = Qt::Key_Up;
    // Channel 1: receive, transmit, decode tone one down the list, encode tone
    // three further down (it followed the decode tone), middle power, skipped
    // in scans, DTMF signalling, 20 kHz.
    keys({"435.1", enter, "440.1", enter, down, enter, down, down, down, enter, up, enter, down,
          enter, down, enter, down, enter});
    QCOMPARE(t.cursor(), QPoint(2, 1));
    // Channel 2 simplex; then channel 21 on the second page.
    keys({"436.025", enter, enter});
    QCOMPARE(t.cursor(), QPoint(2, 4));
    keys({Qt::Key_PageDown});
    QCOMPARE(t.cursor(), QPoint(2, 1));
    keys({down, down, down, "437.5", enter});
    QCOMPARE(t.cursor(), QPoint(5, 2));
    const auto file = t.f.folder.file("morning.dat").string();
    t.f.prompter.expectFile(file);
    t.main->action("mnuFileSave")->trigger();
    QVERIFY2(t.f.prompter.unexpected.empty(), t.f.prompter.unexpectedText().c_str());

    const DataFileResult saved = ReadDataFile(file);
    QVERIFY(saved.file.has_value());
    const DocumentRecord& doc = saved.file->document;
    QCOMPARE(doc.usedCount(), 3);
    const auto& c1 = doc.channels[static_cast<std::size_t>(FindChannelIndex(doc, 1))];
    QCOMPARE(c1.rxFreq.raw(), std::string("43510000"));
    QCOMPARE(c1.offsetDirection, std::uint8_t{2});
    QCOMPARE(c1.offset.raw(), std::string("0500000"));
    QCOMPARE(c1.decodeTone, std::int16_t{1});
    QCOMPARE(c1.encodeTone, std::int16_t{4});
    QCOMPARE(c1.power, std::int16_t{1});
    QCOMPARE(c1.scanSkip, std::int16_t{1});
    QCOMPARE(c1.optionalSignalling, std::int16_t{1});
    QCOMPARE(c1.spacing, std::int16_t{1});
    const auto& c2 = doc.channels[static_cast<std::size_t>(FindChannelIndex(doc, 2))];
    QCOMPARE(c2.rxFreq.raw(), std::string("43602500"));
    QCOMPARE(c2.offsetDirection, std::uint8_t{0});
    QVERIFY(FindChannelIndex(doc, 21) >= 0);
    QCOMPARE(doc.channels[static_cast<std::size_t>(FindChannelIndex(doc, 21))].rxFreq.raw(),
             std::string("43750000"));
    QCOMPARE(doc.toBytes(), t.f.context.state.workingDocument.toBytes());
  }

  void busyLockoutByToneFallsBackWhenDrawn() {
    Table t([](RunState& s) { s.workingDocument.channels[0].busyLockout = 2; });
    t.window->reShowGrid(1);
    QCOMPARE(t.channel(1)->busyLockout, std::int16_t{1});
  }

  void textsInBothLanguages_data() { LanguageRows(); }
  void textsInBothLanguages() {
    QFETCH(int, language);
    Table t;
    t.f.context.setLanguage(language);
    t.window->ReShowChInfoByLanguage();
    QCOMPARE(t.child<QLabel>("Label1")->text(), t.f.context.text(14050));
    QCOMPARE(t.child<QPushButton>("CommandCHInfoEdit")->text(), t.f.context.text(14023));
    QCOMPARE(t.child<QPushButton>("CommandClose")->text(), t.f.context.text(9023));
    QVERIFY(!t.child<QPushButton>("CommandHelp")->isVisible());
    QCOMPARE(t.child<QComboBox>("Combo1")->itemText(0), t.f.context.text(14013));
    QCOMPARE(t.child<QComboBox>("Combo5")->itemText(2), t.f.context.text(14022));
    for (int c = 0; c < 11; ++c) {
      QVERIFY(!t.window->cellText(0, c).isEmpty());
      QCOMPARE(t.window->cellText(0, c), t.f.context.text(14001 + c));
    }
    QVERIFY(t.window->windowTitle().startsWith(t.f.context.text(14050)));
    QVERIFY(t.window->windowTitle().endsWith("]"));
  }
};

}  // namespace cps::gui::test

QTEST_MAIN(cps::gui::test::FrmCommChInfoTest)
#include "frm_comm_ch_info_test.moc"
