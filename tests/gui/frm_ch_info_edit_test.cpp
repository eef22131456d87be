// The channel edit dialog beside the channel table on its real widgets: it
// follows the table and the table follows it, an empty position offers only
// its receive field, what the lists offer and store, the exclusion of the
// scrambler and talkaround boxes, the lockout and auto-dial lists, offset
// mode, and that showing a channel stores nothing the user did not choose.
#include "gui/channels/frm_ch_info_edit.hpp"

#include <QCheckBox>
#include <QLabel>
#include <QPushButton>

#include "channel_fixture.hpp"

namespace cps::gui::test {

namespace {

// The table with the dialog open beside it.
struct Dialog : Table {
  explicit Dialog(const std::function<void(RunState&)>& prepare = {}) : Table(prepare) {
    dialog = dynamic_cast<FrmCHInfoEdit*>(main->ShowChildWindow("FrmCHInfoEdit"));
  }
  template <typename T>
  T* field(const char* name) const {
    return dialog->findChild<T*>(QLatin1String(name));
  }
  QComboBox* list(int i) const {
    return field<QComboBox>(qPrintable(QString("Combo2(%1)").arg(i)));
  }
  QCheckBox* box(int i) const { return field<QCheckBox>(qPrintable(QString("Check1(%1)").arg(i))); }
  QStringList items(int i) const {
    QStringList texts;
    for (int k = 0; k < list(i)->count(); ++k) texts << list(i)->itemText(k);
    return texts;
  }
  // Chooses an item as a user does.
  void choose(int i, int item) {
    list(i)->setCurrentIndex(item);
    emit list(i)->activated(item);
  }
  QString text(int id) { return f.context.text(id); }

  FrmCHInfoEdit* dialog = nullptr;
};

}  // namespace

class FrmCHInfoEditTest : public QObject {
  Q_OBJECT

 private slots:
  void opensOnTheTablesChannelAndStoresNothing() {
    Dialog d([](RunState& s) {
      s.workingDocument.channels[0].power = 1;
      s.workingDocument.channels[0].pttId = 2;
    });
    QVERIFY(d.dialog);
    QVERIFY(d.f.context.state.channelEditing.isEditDialogOpen);
    QCOMPARE(d.dialog->windowTitle(), d.text(15000));
    QCOMPARE(d.field<QComboBox>("Combo4")->currentIndex(), 0);
    QCOMPARE(d.field<QComboBox>("Combo1")->currentIndex(), 0);
    QCOMPARE(d.field<QLineEdit>("Text1")->text(), QString("440.00000"));
    QCOMPARE(d.field<QLineEdit>("Text2")->text(), QString("440.00000"));
    QCOMPARE(d.list(2)->currentText(), d.text(15045));
    QCOMPARE(d.list(4)->currentText(), d.text(15038));
    QCOMPARE(d.items(0).size(), 283);
    QCOMPARE(d.items(0).front(), d.text(15030));
    QCOMPARE(d.items(8), QStringList{d.text(14013)});
    QVERIFY(d.documentAsExpected());
    QVERIFY(d.f.prompter.unexpected.empty());
  }

  // The dialog follows the table's cursor; its own group and position move the table.
  void theDialogAndTheTableFollowEachOther() {
    Dialog d([](RunState& s) {
      AddChannel(s, 0, 4, "436");
      AddChannel(s, 2, 1, "437");
    });
    d.window->setCursor(4, 1);
    QCOMPARE(d.field<QComboBox>("Combo1")->currentIndex(), 3);
    QCOMPARE(d.field<QLineEdit>("Text1")->text(), QString("436.00000"));
    auto* groups = d.field<QComboBox>("Combo4");
    groups->setCurrentIndex(2);
    emit groups->activated(2);
    QCOMPARE(d.window->selectedGroup(), 2);
    QCOMPARE(d.f.context.state.channelEditing.dialogGroup, 2);
    QCOMPARE(d.field<QLineEdit>("Text1")->text(), QString());  // position 4 of group 3 is empty
    auto* positions = d.field<QComboBox>("Combo1");
    positions->setCurrentIndex(0);
    emit positions->activated(0);
    QCOMPARE(d.window->cursorRow(), 1);
    QCOMPARE(d.field<QLineEdit>("Text1")->text(), QString("437.00000"));
    QVERIFY(d.documentAsExpected());
  }

  // An empty position takes only its receive frequency, which creates the channel.
  void anEmptyPositionOffersOnlyItsReceiveField() {
    Dialog d;
    d.window->setCursor(2, 1);
    auto* receive = d.field<QLineEdit>("Text1");
    QVERIFY(receive->isEnabled());
    QVERIFY(!d.field<QLineEdit>("Text2")->isEnabled());
    for (int i = 0; i <= 10; ++i) {
      QVERIFY(!d.list(i)->isEnabled());
      QCOMPARE(d.list(i)->currentText(), QString(" "));
    }
    for (int i = 0; i <= 6; ++i) QVERIFY(!d.box(i)->isEnabled() && !d.box(i)->isChecked());
    receive->setFocus();
    QTest::keyClicks(receive, "435.1");
    QTest::keyClick(receive, Qt::Key_Return);
    d.expectEdit(0, 2, 1, "435.10000");
    QVERIFY(d.documentAsExpected());
    QVERIFY(d.field<QLineEdit>("Text2")->isEnabled());
    QVERIFY(d.list(2)->isEnabled());
    QCOMPARE(d.window->cellText(2, 1), QString("435.10000"));
    // Clearing it removes the channel again; the last channel stays.
    receive->setFocus();
    receive->selectAll();
    QTest::keyClick(receive, Qt::Key_Backspace);
    QTest::keyClick(receive, Qt::Key_Return);
    d.expectEdit(0, 2, 1, "");
    QVERIFY(d.documentAsExpected());
    QVERIFY(!d.channel(2));
  }

  void aFirstToneGoesToBothFieldsAndOffersLockoutByTone() {
    Dialog d;
    QCOMPARE(d.items(6), (QStringList{d.text(15030), d.text(15031)}));
    d.choose(0, 5);
    d.expectEdit(0, 1, 4, "5");
    QVERIFY(d.documentAsExpected());
    QCOMPARE(d.channel(1)->decodeTone, std::int16_t{5});
    QCOMPARE(d.channel(1)->encodeTone, std::int16_t{5});
    QCOMPARE(d.items(6), (QStringList{d.text(15030), d.text(15031), d.text(15032)}));
    d.choose(6, 2);
    QCOMPARE(d.channel(1)->busyLockout, std::int16_t{2});
  }

  // Which tone the lockout checks: the encode tone with the scrambler on, else the decode tone.
  void theLockoutListFollowsTheToneToCheck_data() {
    QTest::addColumn<int>("decode");
    QTest::addColumn<int>("encode");
    QTest::addColumn<int>("scrambler");
    QTest::addColumn<int>("stored");
    QTest::addColumn<int>("items");
    QTest::addColumn<int>("shown");
    QTest::addColumn<int>("storedAfter");
    QTest::newRow("no tone, lockout 2") << 0 << 0 << 0 << 2 << 2 << 1 << 1;
    QTest::newRow("decode tone, lockout 2") << 3 << 0 << 0 << 2 << 3 << 2 << 2;
    QTest::newRow("scrambler, encode tone") << 0 << 3 << 1 << 2 << 3 << 2 << 2;
    QTest::newRow("scrambler, decode tone only") << 3 << 0 << 1 << 2 << 2 << 1 << 1;
    QTest::newRow("reserved 3 shows off and stays") << 3 << 0 << 0 << 3 << 3 << 0 << 3;
  }
  void theLockoutListFollowsTheToneToCheck() {
    QFETCH(int, decode);
    QFETCH(int, encode);
    QFETCH(int, scrambler);
    QFETCH(int, stored);
    QFETCH(int, items);
    QFETCH(int, shown);
    QFETCH(int, storedAfter);
    Dialog d([=](RunState& s) {
      auto& c = s.workingDocument.channels[0];
      c.decodeTone = static_cast<std::int16_t>(decode);
      c.encodeTone = static_cast<std::int16_t>(encode);
      c.scrambler = static_cast<std::int16_t>(scrambler);
      c.busyLockout = static_cast<std::int16_t>(stored);
    });
    QCOMPARE(d.items(6).size(), items);
    QCOMPARE(d.list(6)->currentIndex(), shown);
    QCOMPARE(d.channel(1)->busyLockout, std::int16_t(storedAfter));
  }

  // Enter moves on from the group and position lists as from the other lists.
  void enterMovesOnFromEveryList() {
    Dialog d;
    auto* groups = d.field<QComboBox>("Combo4");
    groups->setFocus();
    QCOMPARE(d.focus(), groups);
    d.press(Qt::Key_Return);
    QCOMPARE(d.focus(), d.field<QComboBox>("Combo1"));
    d.press(Qt::Key_Return);
    QCOMPARE(d.focus(), d.field<QLineEdit>("Text1"));
    d.list(5)->setFocus();
    d.press(Qt::Key_Enter);
    QCOMPARE(d.focus(), d.list(6));
    QVERIFY(d.documentAsExpected());
  }

  // Values that no item of their list names are shown as the first item and
  // kept: tabbing through the dialog stores nothing and adds no undo step.
  void tabbingThroughStoresNothing() {
    Dialog d([](RunState& s) {
      auto& c = s.workingDocument.channels[0];
      c.autodial1 = 5;  // no such memory
      c.power = 7;
      c.pttId = 9;
      c.busyLockout = 3;
      c.signallingRelation = 4;
    });
    QCOMPARE(d.list(2)->currentIndex(), 0);
    QCOMPARE(d.list(6)->currentIndex(), 0);
    QCOMPARE(d.list(8)->currentIndex(), 0);
    const auto before = d.doc().toBytes();
    QVERIFY(before == d.expected.workingDocument.toBytes());
    d.field<QComboBox>("Combo4")->setFocus();
    for (int i = 0; i < 40; ++i) d.press(Qt::Key_Tab);
    for (int i = 0; i < 40; ++i) d.press(Qt::Key_Backtab);
    QVERIFY(d.doc().toBytes() == before);
    QVERIFY(!d.main->action("mnuEditUndo")->isEnabled());
    // A choice is stored, also the choice of the item that stood in.
    d.list(8)->setFocus();
    d.choose(8, 0);
    QCOMPARE(d.channel(1)->autodial1, std::int16_t{0});
    QVERIFY2(d.f.prompter.unexpected.empty(), d.f.prompter.unexpectedText().c_str());
  }

  // Undo gives back the document byte for byte, also while the dialog shows
  // the channel again after the undo.
  void undoGivesBackTheDocumentWhileTheDialogIsOpen() {
    Dialog d([](RunState& s) {
      auto& c = s.workingDocument.channels[0];
      c.busyLockout = 3;
      c.autodial2 = 12;
      c.power = 5;
    });
    const auto before = d.doc().toBytes();
    QVERIFY(before == d.expected.workingDocument.toBytes());
    d.box(2)->click();
    d.choose(5, 1);
    QVERIFY(d.doc().toBytes() != before);
    QAction* undo = d.main->action("mnuEditUndo");
    undo->trigger();
    undo->trigger();
    QVERIFY(d.doc().toBytes() == before);
    QVERIFY(!undo->isEnabled());
    QCOMPARE(d.list(6)->currentIndex(), 0);
    QVERIFY(!d.box(2)->isChecked());
  }

  void scramblerAndTalkaroundExcludeEachOther() {
    Dialog d;
    QVERIFY(d.box(4)->isEnabled());
    QVERIFY(!d.box(3)->isEnabled());
    d.choose(7, 1);
    QCOMPARE(d.channel(1)->scramblerTalkaround, std::int16_t{1});
    QVERIFY(!d.box(4)->isEnabled());
    QVERIFY(d.box(3)->isEnabled());
    d.box(3)->click();
    QCOMPARE(d.channel(1)->talkaround, std::int16_t{1});
    d.choose(7, 0);
    QVERIFY(d.box(4)->isEnabled());
    QVERIFY(!d.box(3)->isEnabled());
    d.expectEdit(0, 1, 12, "1");
    d.expectEdit(0, 1, 16, "1");
    d.expectEdit(0, 1, 12, "0");
    QVERIFY(d.documentAsExpected());
  }

  // The auto-dial lists offer the defined memories, and follow them while open.
  void autodialListsOfferTheDefinedMemories() {
    Dialog d([](RunState& s) {
      s.workingDocument.dtmf.memories[2].length = 3;
      s.workingDocument.channels[0].autodial1 = 5;  // not defined
      s.workingDocument.channels[0].autodial2 = 3;
    });
    QCOMPARE(d.items(8), (QStringList{d.text(14013), "3"}));
    QCOMPARE(d.list(8)->currentIndex(), 0);
    QCOMPARE(d.list(10)->currentText(), QString("3"));
    d.f.context.state.workingDocument.dtmf.memories[6].length = 2;
    d.main->refreshDtmfMemoryLists();
    QCOMPARE(d.items(8), (QStringList{d.text(14013), "3", "7"}));
    d.choose(8, 2);
    QCOMPARE(d.channel(1)->autodial1, std::int16_t{7});
  }

  void theTransmitFieldInOffsetMode() {
    Dialog d([](RunState& s) { s.habits.offsetMode = true; });
    QStringList labels;
    for (auto* label : d.dialog->findChildren<QLabel*>()) labels << label->text();
    QVERIFY(labels.contains(d.text(15100)));
    auto* transmit = d.field<QLineEdit>("Text2");
    QCOMPARE(transmit->text(), QString("0.00000"));
    transmit->setFocus();
    transmit->selectAll();
    QTest::keyClicks(transmit, "-5");
    QTest::keyClick(transmit, Qt::Key_Return);
    QCOMPARE(d.channel(1)->offsetDirection, std::uint8_t{1});
    QCOMPARE(transmit->text(), QString("-5.00000"));
    transmit->setFocus();
    transmit->selectAll();
    QTest::keyClicks(transmit, "3");
    QTest::keyClick(transmit, Qt::Key_Return);
    QCOMPARE(d.channel(1)->offsetDirection, std::uint8_t{0});
    QCOMPARE(d.channel(1)->offset.raw(), std::string("0300000"));
    d.expectEdit(0, 1, 2, "-5");
    d.expectEdit(0, 1, 2, "3");
    QVERIFY(d.documentAsExpected());
    // Letters and pasting are refused there too.
    transmit->setFocus();
    QTest::keyClicks(transmit, "ab");
    QTest::keyClick(transmit, Qt::Key_V, Qt::ControlModifier);
    QCOMPARE(transmit->text(), QString("3.00000"));
  }

  // The table's button, a double click on ">>" and Enter there open the dialog.
  void openedFromTheTable_data() {
    QTest::addColumn<QString>("how");
    QTest::newRow("button") << "button";
    QTest::newRow("double click") << "double click";
    QTest::newRow("Enter on the details column") << "enter";
  }
  void openedFromTheTable() {
    QFETCH(QString, how);
    Table t;
    QVERIFY(!t.main->childWindow("FrmCHInfoEdit"));
    if (how == "button") {
      t.child<QPushButton>("CommandCHInfoEdit")->click();
    } else {
      t.click(1, 10);
      if (how == "enter") {
        QCOMPARE(t.focus(), t.grid());
        t.press(Qt::Key_Return);
      } else {
        QTest::mouseDClick(t.grid()->viewport(), Qt::LeftButton, {}, t.cellCentre(1, 10));
      }
    }
    QVERIFY(t.main->childWindow("FrmCHInfoEdit"));
    QVERIFY(t.f.context.state.channelEditing.isEditDialogOpen);
    t.main->UnloadWindowByName("FrmCHInfoEdit");
    QVERIFY(!t.f.context.state.channelEditing.isEditDialogOpen);
  }

  void textsInBothLanguages_data() { LanguageRows(); }
  void textsInBothLanguages() {
    QFETCH(int, language);
    Dialog d;
    d.f.context.setLanguage(language);
    d.main->UnloadWindowByName("FrmCHInfoEdit");
    d.dialog = dynamic_cast<FrmCHInfoEdit*>(d.main->ShowChildWindow("FrmCHInfoEdit"));
    QCOMPARE(d.dialog->windowTitle(), d.text(15000));
    QStringList labels;
    for (auto* label : d.dialog->findChildren<QLabel*>()) labels << label->text();
    for (const int id : {15029, 15001, 15002, 15003, 15005, 15011, 15022}) {
      QVERIFY2(labels.contains(d.text(id)), qPrintable(d.text(id)));
    }
    QVERIFY(labels.contains(d.text(15013) + " 1"));
    QVERIFY(labels.contains(d.text(15013) + " 2"));
    QCOMPARE(d.box(6)->text(), d.text(15020));
    QCOMPARE(d.list(2)->itemText(2), d.text(15046));
  }
};

}  // namespace cps::gui::test

QTEST_MAIN(cps::gui::test::FrmCHInfoEditTest)
#include "frm_ch_info_edit_test.moc"
