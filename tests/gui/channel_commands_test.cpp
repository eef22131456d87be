// The channel commands from the main window's Channel menu and toolbar, with
// the table's cursor deciding where they act: which entries are offered, the
// habits and their question, the habit file, the system clipboard, offset mode
// switched in the habits dialog, and undo and redo of every kind of change.
#include "core/channels/channel_commands.hpp"

#include <QCheckBox>
#include <QClipboard>
#include <QDialog>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QStatusBar>
#include <QToolBar>
#include <QToolButton>
#include <fstream>
#include <iterator>

#include "channel_fixture.hpp"
#include "core/document/edit_history.hpp"
#include "core/settings/setting_fields.hpp"
#include "gui/channels/frm_ch_info_edit.hpp"

namespace cps::gui::test {

namespace {

// Runs a command as a click on its menu entry does, and waits for its tick.
bool runCommand(Table& t, const char* entry) {
  QAction* action = t.main->action(QLatin1String(entry));
  if (!action->isEnabled()) return false;
  action->trigger();
  return t.commandRan();
}

// The same command through the core alone, on the copy.
void expectCommand(Table& t, ChannelCommand command, int position, int group = 0) {
  NullObserver nobody;
  OkPrompter ok;
  RunChannelCommand(t.expected, {ok, nobody}, command, {position, group});
}

std::vector<int> numbers(const DocumentRecord& doc) {
  std::vector<int> result;
  for (const auto& c : doc.usedChannels()) result.push_back(c.number);
  std::sort(result.begin(), result.end());
  return result;
}

std::vector<unsigned char> fileBytes(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), {}};
}

// Answers the next modal dialog with `answer` once it is shown; a dialog that
// never comes fails the test instead of waiting for ever.
void answerNextDialog(const std::function<void(QDialog&)>& answer) {
  QTimer::singleShot(0, [answer] {
    auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
    if (dialog == nullptr) {
      QFAIL("no dialog was shown");
      return;
    }
    answer(*dialog);
  });
}

}  // namespace

class ChannelCommandsTest : public QObject {
  Q_OBJECT

 private slots:
  void entriesFollowTheChannelUnderTheCursor() {
    Table t;
    QVERIFY(t.main->action("MnuCHCut")->isEnabled());
    QVERIFY(t.main->action("MnuCHCopy")->isEnabled());
    QVERIFY(!t.main->action("MnuCHPaste")->isEnabled());
    QVERIFY(t.main->action("MnuCHInsert")->isEnabled());
    QVERIFY(t.main->action("MnuCHHabits")->isEnabled());
    t.click(2, 1);
    QVERIFY(!t.main->action("MnuCHCut")->isEnabled());
    QVERIFY(!t.main->action("MnuCHCopy")->isEnabled());
    QVERIFY(t.main->findChild<QAction*>("BtnCHCopy")->isEnabled() == false);
    t.click(1, 1);
    QVERIFY(runCommand(t, "MnuCHCopy"));
    t.click(2, 1);
    QVERIFY(t.main->action("MnuCHPaste")->isEnabled());
    QVERIFY(t.main->findChild<QAction*>("BtnCHPaste")->isEnabled());
  }

  // The Channel menu's keys work from the frequency box too: Ctrl+C copies the
  // channel, Ctrl+V pastes it once something was copied.
  void channelKeysFromTheFrequencyBox() {
    Table t;
    QCOMPARE(t.focus(), t.text1());
    t.press(Qt::Key_V, Qt::ControlModifier);  // nothing copied: nothing happens
    QVERIFY(t.commandRan());
    QVERIFY(t.documentAsExpected());
    QCOMPARE(t.text1()->text(), QString("440.00000"));
    t.press(Qt::Key_C, Qt::ControlModifier);
    QVERIFY(t.commandRan());
    QVERIFY(t.f.context.state.channelClipboard.hasChannel());
    t.click(3, 1);
    t.f.prompter.expectConfirm(ConfirmMode::Paste, {ConfirmResult::No, false});
    t.press(Qt::Key_V, Qt::ControlModifier);
    QVERIFY(t.commandRan());
    QVERIFY2(t.f.prompter.unexpected.empty(), t.f.prompter.unexpectedText().c_str());
    QCOMPARE(t.window->cellText(3, 1), QString("440.00000"));
    QCOMPARE(t.f.prompter.pending(), std::size_t{0});
  }

  // After a command, whichever way it was chosen, the cursor cell has its
  // editor and the keyboard again: copy, Down, paste and typing need no mouse.
  void copyDownPasteByKeyboard_data() {
    QTest::addColumn<QString>("way");
    for (const char* way : {"menu", "shortcut", "toolbar", "pop-up"}) QTest::newRow(way) << way;
  }
  void copyDownPasteByKeyboard() {
    QFETCH(QString, way);
    Table t;
    if (way == "menu") {
      QTest::keyClick(t.main.get(), Qt::Key_C, Qt::AltModifier);
      auto* menu = t.main->findChild<QMenu*>("MnuCHEdit");
      QVERIFY(QTest::qWaitFor([menu] { return menu->isVisible(); }));
      QTest::keyClick(menu, Qt::Key_C);
    } else if (way == "shortcut") {
      t.press(Qt::Key_C, Qt::ControlModifier);
    } else if (way == "toolbar") {
      auto* bar = t.main->findChild<QToolBar*>("tbToolBar");
      QWidget* button = bar->widgetForAction(t.main->findChild<QAction*>("BtnCHCopy"));
      QTest::mouseClick(button, Qt::LeftButton);
    } else {
      t.rightClick(1, 1);
      auto* menu = t.main->findChild<QMenu*>("MnuCHEdit");
      QVERIFY(menu->isVisible());
      QTest::keyClick(menu, Qt::Key_C);
    }
    QVERIFY(t.commandRan());
    // The offscreen platform leaves a closed menu the active window; a window
    // manager gives the main window back.
    if (way == "menu" || way == "pop-up") QVERIFY(t.activeAgain());
    QVERIFY(t.f.context.state.channelClipboard.hasChannel());
    QCOMPARE(t.focus(), t.text1());
    QCOMPARE(t.text1()->selectedText(), QString("440.00000"));
    t.press(Qt::Key_Down);
    QCOMPARE(t.cursor(), QPoint(2, 1));
    t.f.prompter.expectConfirm(ConfirmMode::Paste, {ConfirmResult::No, false});
    t.press(Qt::Key_V, Qt::ControlModifier);
    QVERIFY(t.commandRan());
    expectCommand(t, ChannelCommand::Copy, 1);
    expectCommand(t, ChannelCommand::Paste, 2);
    QVERIFY(t.documentAsExpected());
    QCOMPARE(t.window->cellText(2, 1), QString("440.00000"));
    // Typing goes on in the pasted channel.
    QCOMPARE(t.focus(), t.text1());
    t.type("445");
    t.press(Qt::Key_Return);
    QCOMPARE(t.window->cellText(2, 1), QString("445.00000"));
    QCOMPARE(t.cursor(), QPoint(2, 2));
    QVERIFY2(t.f.prompter.unexpected.empty(), t.f.prompter.unexpectedText().c_str());
  }

  // The last channel stays; the status bar says why, and the table goes on.
  void cutAndDeleteKeepTheLastChannel_data() {
    QTest::addColumn<QString>("entry");
    QTest::newRow("cut") << "MnuCHCut";
    QTest::newRow("delete") << "MnuCHDelete";
  }
  void cutAndDeleteKeepTheLastChannel() {
    QFETCH(QString, entry);
    Table t;
    QVERIFY(runCommand(t, qPrintable(entry)));
    QVERIFY(t.documentAsExpected());
    QVERIFY(t.channel(1));
    QCOMPARE(t.main->statusBar()->currentMessage(), t.f.context.text(28012));
    QCOMPARE(t.focus(), t.text1());
    QCOMPARE(t.text1()->selectedText(), QString("440.00000"));
    QVERIFY2(t.f.prompter.unexpected.empty(), t.f.prompter.unexpectedText().c_str());
  }

  // Cut on 3 closing the gap, then paste on 7 inserting: the group shifts both ways.
  void cutClosesTheGapAndPasteInserts() {
    Table t([](RunState& s) {
      FullFirstGroup(s);
      s.habits = {true, true, true, true, false};
    });
    t.expected.habits = t.f.context.state.habits;
    t.click(3, 1);
    QVERIFY(runCommand(t, "MnuCHCut"));
    expectCommand(t, ChannelCommand::Cut, 3);
    QVERIFY(t.documentAsExpected());
    QCOMPARE(t.window->cellText(3, 1), QString("434.00000"));
    QVERIFY(t.window->cellText(16, 1).isEmpty());
    t.click(7, 1);
    QVERIFY(runCommand(t, "MnuCHPaste"));
    expectCommand(t, ChannelCommand::Paste, 7);
    QVERIFY(t.documentAsExpected());
    QCOMPARE(t.window->cellText(7, 1), QString("433.00000"));
    QCOMPARE(t.window->cellText(8, 1), QString("438.00000"));
    QCOMPARE(numbers(t.doc()).size(), std::size_t{16});
    QVERIFY(t.f.prompter.unexpected.empty());
  }

  void movesWrapWithinTheGroupAndTheCursorFollows_data() {
    QTest::addColumn<QString>("entry");
    QTest::addColumn<int>("from");
    QTest::addColumn<int>("to");
    QTest::newRow("up from 1") << "MnuCHMoveUp" << 1 << 16;
    QTest::newRow("down from 16") << "MnuCHMoveDown" << 16 << 1;
    QTest::newRow("down from 5") << "MnuCHMoveDown" << 5 << 6;
  }
  void movesWrapWithinTheGroupAndTheCursorFollows() {
    QFETCH(QString, entry);
    QFETCH(int, from);
    QFETCH(int, to);
    Table t([from](RunState& s) { AddChannel(s, 0, from, "445.5"); });
    t.click(from, 1);
    QVERIFY(runCommand(t, qPrintable(entry)));
    expectCommand(t, entry == "MnuCHMoveUp" ? ChannelCommand::MoveUp : ChannelCommand::MoveDown,
                  from);
    QVERIFY(t.documentAsExpected());
    QCOMPARE(t.window->cursorRow(), to);
    QCOMPARE(t.window->cellText(to, 1), QString("445.50000"));
  }

  // "No" with "do not ask again" in the delete question: every later Delete
  // clears the position without asking and leaves the gap; the habit file says so.
  void theDeleteQuestionSetsTheHabits() {
    Table t(FullFirstGroup);
    t.f.prompter.expectConfirm(ConfirmMode::Delete, {ConfirmResult::No, true});
    t.click(5, 1);
    QVERIFY(runCommand(t, "MnuCHDelete"));
    QVERIFY(t.f.prompter.unexpected.empty());
    QVERIFY(t.f.context.state.habits.deleteNoPrompt);
    QVERIFY(!t.f.context.state.habits.deleteCloses);
    QCOMPARE(fileBytes(t.f.context.folders.habits()),
             (std::vector<unsigned char>{0, 0, 0, 0, 0xFF, 0xFF, 0, 0, 0, 0}));
    t.click(6, 1);
    QVERIFY(runCommand(t, "MnuCHDelete"));
    QVERIFY(t.f.prompter.unexpected.empty());
    QVERIFY(t.window->cellText(5, 1).isEmpty());
    QVERIFY(t.window->cellText(6, 1).isEmpty());
    QCOMPARE(t.window->cellText(7, 1), QString("437.00000"));
  }

  // Copy also puts the channel on the system clipboard for a spreadsheet.
  void copyGivesASpreadsheetRow() {
    Table t;
    QApplication::clipboard()->clear();
    QVERIFY(runCommand(t, "MnuCHCopy"));
    const QStringList lines = QApplication::clipboard()->text().split('\n');
    QCOMPARE(lines.size(), 3);  // two lines, each ended
    QCOMPARE(lines[0].split('\t').first(), t.f.context.text(14001));
    QCOMPARE(lines[1].split('\t').mid(0, 3), (QStringList{"1", "440.00000", "440.00000"}));
    QVERIFY(t.documentAsExpected());
  }

  // Offset mode ticked in the habits dialog redraws the transmit column and
  // the dialog's transmit field at once, and writes the habit file.
  void offsetModeFromTheHabitsDialog() {
    Table t([](RunState& s) { s.workingDocument.channels[0].offsetDirection = 2; });
    t.main->ShowChildWindow("FrmCHInfoEdit");
    answerNextDialog([](QDialog& habits) {
      habits.findChild<QCheckBox*>("Check1(4)")->setChecked(true);
      habits.findChild<QPushButton*>("CommandOK")->click();
    });
    t.main->action("MnuCHHabits")->trigger();
    QVERIFY(t.f.context.state.habits.offsetMode);
    QCOMPARE(fileBytes(t.f.context.folders.habits()),
             (std::vector<unsigned char>{0, 0, 0, 0, 0, 0, 0, 0, 0xFF, 0xFF}));
    QCOMPARE(t.window->cellText(0, 2), t.f.context.text(14100));
    auto* dialog = t.main->childWindow("FrmCHInfoEdit");
    QStringList labels;
    for (auto* label : dialog->findChildren<QLabel*>()) labels << label->text();
    QVERIFY(labels.contains(t.f.context.text(15100)));
    // Cancel changes nothing.
    answerNextDialog([](QDialog& habits) {
      habits.findChild<QCheckBox*>("Check1(0)")->setChecked(true);
      habits.findChild<QPushButton*>("CommandCancel")->click();
    });
    t.main->action("MnuCHHabits")->trigger();
    QVERIFY(!t.f.context.state.habits.pasteNoPrompt);
  }

  // Every kind of change is one step back and one step forward, whole document.
  void undoAndRedoEveryKindOfChange_data() {
    QTest::addColumn<QString>("action");
    QTest::newRow("typed receive frequency") << "table";
    QTest::newRow("dialog check box") << "dialog";
    QTest::newRow("cut closing the gap") << "cut";
    QTest::newRow("settings window") << "setting";
  }
  void undoAndRedoEveryKindOfChange() {
    QFETCH(QString, action);
    Table t([](RunState& s) {
      FullFirstGroup(s);
      s.habits = {true, true, true, true, false};
    });
    QAction* undo = t.main->action("mnuEditUndo");
    QAction* redo = t.main->action("mnuEditRedo");
    QVERIFY(!undo->isEnabled());
    QVERIFY(!redo->isEnabled());
    const auto before = t.doc().toBytes();
    if (action == "table") {
      t.type("445");
      t.press(Qt::Key_Return);
    } else if (action == "dialog") {
      auto* dialog = t.main->ShowChildWindow("FrmCHInfoEdit");
      dialog->findChild<QCheckBox*>("Check1(2)")->click();
    } else if (action == "cut") {
      t.click(4, 1);
      QVERIFY(runCommand(t, "MnuCHCut"));
    } else {
      t.main->action("mnuOptFeature")->trigger();
      auto* squelch = t.main->childWindow("FrmOptFeatures")->findChild<QComboBox*>("Combo1(0)");
      squelch->setCurrentIndex(squelch->currentIndex() == 1 ? 2 : 1);
      emit squelch->activated(squelch->currentIndex());
    }
    const auto after = t.doc().toBytes();
    QVERIFY(after != before);
    QVERIFY(undo->isEnabled());
    undo->trigger();
    QVERIFY(t.doc().toBytes() == before);
    QVERIFY(!undo->isEnabled());
    QVERIFY(redo->isEnabled());
    QCOMPARE(t.window->cellText(4, 1), QString("434.00000"));  // the table shows it again
    redo->trigger();
    QVERIFY(t.doc().toBytes() == after);
    QVERIFY(!redo->isEnabled());
    // A new document starts a new history.
    t.main->LoadNewDoc();
    QVERIFY(!undo->isEnabled());
    QVERIFY(t.f.prompter.unexpected.empty());
  }

  void undoShortcuts() {
    Table t;
    QCOMPARE(t.main->action("mnuEditUndo")->shortcut(), QKeySequence("Ctrl+Z"));
    QCOMPARE(t.main->action("mnuEditRedo")->shortcuts(),
             (QList<QKeySequence>{QKeySequence("Ctrl+Y"), QKeySequence("Ctrl+Shift+Z")}));
  }
};

}  // namespace cps::gui::test

QTEST_MAIN(cps::gui::test::ChannelCommandsTest)
#include "channel_commands_test.moc"
