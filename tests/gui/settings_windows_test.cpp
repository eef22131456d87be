// The DTMF, scan, emergency alert, key and embedded message windows on their
// real widgets inside the main window: what they show of stored values, what
// a choice or a keystroke stores, what they store as they open, and the ties
// between them (scanning off and the keys, the DTMF memories and the lists
// that offer them).
#include "gui/settings/settings_windows.hpp"

#include <QCheckBox>
#include <QInputMethodEvent>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QStatusBar>
#include <QTabWidget>

#include "channel_fixture.hpp"
#include "core/app/text_ids.hpp"
#include "core/settings/setting_fields.hpp"
#include "gui/app/child_windows.hpp"

namespace cps::gui::test {

namespace {

struct Windows : Table {
  using Table::Table;

  QWidget* open(const char* name) { return main->ShowChildWindow(QLatin1String(name)); }
  template <typename T>
  T* in(const char* windowName, const char* control) {
    QWidget* w = main->childWindow(QLatin1String(windowName));
    return w == nullptr ? nullptr : w->findChild<T*>(QLatin1String(control));
  }
  QComboBox* list(const char* windowName, const char* control) {
    return in<QComboBox>(windowName, control);
  }
  QStringList items(const char* windowName, const char* control) {
    QStringList texts;
    QComboBox* l = list(windowName, control);
    for (int i = 0; i < l->count(); ++i) texts << l->itemText(i);
    return texts;
  }
  // Chooses an item with the keyboard, as a user does.
  void choose(const char* windowName, const char* control, int item) {
    QComboBox* l = list(windowName, control);
    l->setFocus();
    l->setCurrentIndex(item);
  }
  void typeInto(const char* windowName, const char* control, const QString& keys) {
    auto* box = in<QLineEdit>(windowName, control);
    box->setFocus();
    QTest::keyClicks(box, keys);
  }
  DtmfBlock& dtmf() { return f.context.state.workingDocument.dtmf; }
  ScanBlock& scan() { return f.context.state.workingDocument.scan; }
  AlertBlock& alert() { return f.context.state.workingDocument.alert; }
  KeyBlock& keys() { return f.context.state.workingDocument.keys; }
};

void defineMemory(RunState& s, int number, const char* digits) {
  auto& memory = s.workingDocument.dtmf.memories[static_cast<std::size_t>(number - 1)];
  memory.length = static_cast<std::int16_t>(std::strlen(digits));
  memory.digits.assign(digits);
}

}  // namespace

class SettingsWindowsTest : public QObject {
  Q_OBJECT

 private slots:
  // Opening and closing a window changes no byte of a document whose values it shows exactly.
  void openingAndClosingChangesNothing_data() {
    QTest::addColumn<QString>("window");
    for (const char* name : {"FrmDTMF", "FrmScan", "FrmAlert", "FrmKey", "FrmEmbMsg"}) {
      QTest::newRow(name) << name;
    }
  }
  void openingAndClosingChangesNothing() {
    QFETCH(QString, window);
    Windows w([](RunState& s) {
      AddChannel(s, 0, 2, "441");
      defineMemory(s, 2, "123");
      s.workingDocument.scan.bytes[ScanBlock::kFirstChannelGroup] = 1;
      s.workingDocument.scan.bytes[ScanBlock::kFirstChannelGroup + 1] = 2;
    });
    const auto before = w.doc().toBytes();
    const auto side = w.f.context.state.workingSide;
    QVERIFY(w.open(qPrintable(window)));
    w.main->UnloadWindowByName(window);
    QVERIFY(w.doc().toBytes() == before);
    QVERIFY(w.f.context.state.workingSide == side);
    QVERIFY(w.f.prompter.unexpected.empty());
  }

  // ---- DTMF ----

  void dtmfTimingsAndLists() {
    Windows w([](RunState& s) {
      s.workingDocument.dtmf.settings[DtmfBlock::kRate] = 3;
      s.workingDocument.dtmf.settings[DtmfBlock::kStarHashTime] = 5;
    });
    w.open("FrmDTMF");
    QCOMPARE(w.in<QTabWidget>("FrmDTMF", "SSTab1")->currentIndex(), 0);
    QCOMPARE(w.list("FrmDTMF", "Combo1(0)")->currentText(), QString("150"));
    QCOMPARE(w.list("FrmDTMF", "Combo1(3)")->currentText(), QString("0"));
    QCOMPARE(w.dtmf().settings[DtmfBlock::kStarHashTime], std::int16_t{5});  // shown, not stored
    w.choose("FrmDTMF", "Combo1(0)", 9);
    QCOMPARE(w.dtmf().settings[DtmfBlock::kRate], std::int16_t{10});
    QCOMPARE(w.items("FrmDTMF", "Combo2(4)").mid(1), (QStringList{"A", "B", "C", "D", "*", "#"}));
  }

  void dtmfCodeBoxesTakeCodeKeys() {
    Windows w;
    w.open("FrmDTMF");
    w.typeInto("FrmDTMF", "Text1(0)", "12ab# E,");
    QCOMPARE(w.in<QLineEdit>("FrmDTMF", "Text1(0)")->text(), QString("12AB#"));
    const auto& bot = w.dtmf().specialCodes[DtmfBlock::kBot];
    QCOMPARE(bot.length, std::int16_t{5});
    QCOMPARE(bot.digits.raw(), std::string("12AB#           "));
    QTest::keyClick(w.focus(), Qt::Key_V, Qt::ControlModifier);
    QCOMPARE(w.in<QLineEdit>("FrmDTMF", "Text1(0)")->text(), QString("12AB#"));
  }

  // Ctrl+Z undoes the box's own typing first; from a box with none it steps
  // the document back, and every open window shows it.
  void undoFromATextBox() {
    Windows w;
    w.open("FrmDTMF");
    w.typeInto("FrmDTMF", "Text1(0)", "12");
    QTest::keyClick(w.focus(), Qt::Key_Return);
    QCOMPARE(w.focus(), w.in<QLineEdit>("FrmDTMF", "Text1(1)"));
    QTest::keyClick(w.focus(), Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(w.in<QLineEdit>("FrmDTMF", "Text1(0)")->text(), QString("1"));
    QCOMPARE(w.dtmf().specialCodes[DtmfBlock::kBot].length, std::int16_t{1});
    QTest::keyClicks(w.focus(), "9");
    QTest::keyClick(w.focus(), Qt::Key_Z, Qt::ControlModifier);  // the box's own typing
    QCOMPARE(w.in<QLineEdit>("FrmDTMF", "Text1(1)")->text(), QString());
    QCOMPARE(w.dtmf().specialCodes[DtmfBlock::kEot].length, std::int16_t{0});
  }

  void dtmfIdCodeBecomes000WhenLeftShort_data() {
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("kept");
    QTest::newRow("two digits") << "12"
                                << "000";
    QTest::newRow("empty") << ""
                           << "000";
    QTest::newRow("five digits") << "12345"
                                 << "12345";
  }
  void dtmfIdCodeBecomes000WhenLeftShort() {
    QFETCH(QString, typed);
    QFETCH(QString, kept);
    Windows w;
    w.open("FrmDTMF");
    w.in<QTabWidget>("FrmDTMF", "SSTab1")->setCurrentIndex(1);
    auto* id = w.in<QLineEdit>("FrmDTMF", "Text3");
    id->setFocus();
    id->selectAll();
    QTest::keyClick(id, Qt::Key_Backspace);
    QTest::keyClicks(id, typed + "x");
    QTest::keyClick(id, Qt::Key_Return);  // moves on, and leaving stores
    QVERIFY(w.focus() != id);
    QCOMPARE(id->text(), kept);
    QCOMPARE(QString::fromStdString(w.dtmf().idCode.raw()).trimmed(), kept);
    QCOMPARE(w.dtmf().idLength, std::int16_t(kept.size()));
  }

  // A half-typed ID code stays as typed while the program loses the focus for a
  // moment (another application, a menu, the menu bar); leaving it for another
  // control of the program, closing the window, a save or a write takes it, by
  // the "000" rule.
  void theIdCodeIsStoredWhenTheUserLeavesIt_data() {
    QTest::addColumn<QString>("how");
    QTest::addColumn<bool>("stores");
    for (const char* how : {"another application", "a menu", "the menu bar"}) {
      QTest::newRow(how) << how << false;
    }
    for (const char* how : {"Tab", "a click on another box", "a click in another window",
                            "closing the window", "a save", "a write"}) {
      QTest::newRow(how) << how << true;
    }
  }
  void theIdCodeIsStoredWhenTheUserLeavesIt() {
    QFETCH(QString, how);
    QFETCH(bool, stores);
    Windows w([](RunState& s) {
      s.workingDocument.dtmf.idCode.assign("12345");
      s.workingDocument.dtmf.idLength = 5;
    });
    w.open("FrmDTMF");
    w.in<QTabWidget>("FrmDTMF", "SSTab1")->setCurrentIndex(1);
    auto* id = w.in<QLineEdit>("FrmDTMF", "Text3");
    id->setFocus();
    QCoreApplication::processEvents();  // coming to the box selects its text
    QTest::keyClicks(id, "12");
    QCOMPARE(id->text(), QString("12"));
    QWidget other;  // stands for another application
    if (how == "another application") {
      other.show();
      other.activateWindow();
      QVERIFY(QTest::qWaitForWindowActive(&other));
    } else if (how == "a menu") {
      QMenu* menu = w.main->menuBar()->actions().first()->menu();
      menu->popup(w.main->geometry().center());
      QVERIFY(QTest::qWaitForWindowExposed(menu));
      QCOMPARE(w.f.context.state.workingDocument.dtmf.idLength, std::int16_t{5});
      menu->close();
    } else if (how == "the menu bar") {
      w.main->menuBar()->setFocus(Qt::MenuBarFocusReason);
    } else if (how == "Tab") {
      QTest::keyClick(id, Qt::Key_Tab);
    } else if (how == "a click on another box") {
      auto* stun = w.in<QLineEdit>("FrmDTMF", "Text1(2)");
      QTest::mouseClick(stun, Qt::LeftButton);
      QCOMPARE(w.focus(), stun);
    } else if (how == "a click in another window") {
      w.click(2, 1);
      QVERIFY(w.window->isAncestorOf(w.focus()));
    } else if (how == "closing the window") {
      w.main->UnloadWindowByName("FrmDTMF");
    } else if (how == "a save") {
      const auto file = w.f.folder.file("kept.dat").string();
      w.f.prompter.expectFile(file);
      w.main->action("mnuFileSave")->trigger();
    } else {
      w.main->commitChildWindows(CommitBefore::Write);  // what a write does first
    }
    const auto& dtmf = w.dtmf();
    QCOMPARE(QString::fromStdString(dtmf.idCode.raw()).trimmed(),
             QString(stores ? "000" : "12345"));
    QCOMPARE(dtmf.idLength, std::int16_t(stores ? 3 : 5));
    if (!stores) {
      QCOMPARE(id->text(), QString("12"));
      // Back in the box, the user leaves it: now it is stored.
      w.main->activateWindow();
      QVERIFY(QTest::qWaitForWindowActive(w.main.get()));
      id->setFocus();
      QCOMPARE(id->selectedText(), QString());  // the cursor where the user left it
      QTest::keyClicks(id, "3");
      QTest::keyClick(id, Qt::Key_Return);
      QCOMPARE(QString::fromStdString(w.dtmf().idCode.raw()).trimmed(), QString("123"));
    }
    QVERIFY2(w.f.prompter.unexpected.empty(), w.f.prompter.unexpectedText().c_str());
  }

  void dtmfStoredCodesAreShownTrimmed() {
    Windows w([](RunState& s) {
      auto& bot = s.workingDocument.dtmf.specialCodes[DtmfBlock::kBot];
      bot.length = 20;
      bot.digits.assign("1234");
    });
    w.open("FrmDTMF");
    QCOMPARE(w.in<QLineEdit>("FrmDTMF", "Text1(0)")->text(), QString());
    QCOMPARE(w.dtmf().specialCodes[DtmfBlock::kBot].length, std::int16_t{0});
  }

  // A memory cleared in the DTMF window leaves the lists that offer it at once.
  void aClearedMemoryLeavesTheListsThatOfferIt() {
    Windows w([](RunState& s) {
      defineMemory(s, 2, "22");
      defineMemory(s, 5, "55");
      s.workingDocument.alert.bytes[AlertBlock::kIdType] = 1;
      s.workingDocument.alert.bytes[AlertBlock::kAlarmType] = 1;
    });
    w.open("FrmAlert");
    w.main->ShowChildWindow("FrmCHInfoEdit");
    QCOMPARE(w.items("FrmAlert", "Combo1(2)"), (QStringList{"M2", "M5"}));
    QCOMPARE(w.items("FrmCHInfoEdit", "Combo2(8)").mid(1), (QStringList{"2", "5"}));
    w.open("FrmDTMF");
    w.in<QTabWidget>("FrmDTMF", "SSTab1")->setCurrentIndex(2);
    auto* memory5 = w.in<QLineEdit>("FrmDTMF", "Text2(4)");
    memory5->setFocus();
    memory5->selectAll();
    QTest::keyClick(memory5, Qt::Key_Backspace);
    QCOMPARE(w.dtmf().memories[4].length, std::int16_t{0});
    QCOMPARE(w.items("FrmAlert", "Combo1(2)"), (QStringList{"M2"}));
    QCOMPARE(w.items("FrmCHInfoEdit", "Combo2(8)").mid(1), (QStringList{"2"}));
  }

  // ---- Scan ----

  void scanPriorityChannelsFollowTheChannelsInUse() {
    Windows w([](RunState& s) {
      AddChannel(s, 2, 4, "442");
      s.workingDocument.scan.bytes[ScanBlock::kMode] = 1;
      s.workingDocument.scan.bytes[ScanBlock::kPriorityMode] = 1;
      s.workingDocument.scan.bytes[ScanBlock::kFirstChannelGroup] = 5;
      s.workingDocument.scan.bytes[ScanBlock::kFirstChannelGroup + 1] = 9;
    });
    w.open("FrmScan");
    QCOMPARE(w.items("FrmScan", "Combo1(2)"), (QStringList{"1", "3"}));
    QCOMPARE(w.list("FrmScan", "Combo1(2)")->currentText(), QString("1"));
    QCOMPARE(w.scan().bytes[ScanBlock::kFirstChannelGroup], std::uint8_t{1});
    QCOMPARE(w.items("FrmScan", "Combo1(3)"), (QStringList{"1"}));
    w.choose("FrmScan", "Combo1(2)", 1);
    QCOMPARE(w.scan().bytes[ScanBlock::kFirstChannelGroup], std::uint8_t{3});
    QCOMPARE(w.items("FrmScan", "Combo1(3)"), (QStringList{"4"}));
    QCOMPARE(w.scan().bytes[ScanBlock::kFirstChannelGroup + 1], std::uint8_t{4});
    QVERIFY(w.list("FrmScan", "Combo1(2)")->isEnabled());
    QVERIFY(!w.list("FrmScan", "Combo1(4)")->isEnabled());
  }

  void scanWithoutChannelsStoresGroupZero() {
    Windows w([](RunState& s) {
      s.workingDocument.channelCount = 0;
      s.workingDocument.scan.bytes[ScanBlock::kFirstChannelGroup] = 2;
      s.workingDocument.scan.bytes[ScanBlock::kSecondChannelGroup] = 3;
    });
    w.main->UnloadWindowByName(kChannelWindowName);
    w.open("FrmScan");
    for (const char* l : {"Combo1(2)", "Combo1(3)", "Combo1(4)", "Combo1(5)"}) {
      QCOMPARE(w.list("FrmScan", l)->count(), 0);
    }
    QCOMPARE(w.scan().bytes[ScanBlock::kFirstChannelGroup], std::uint8_t{0});
    QCOMPARE(w.scan().bytes[ScanBlock::kSecondChannelGroup], std::uint8_t{0});
  }

  // Scanning off takes the scan function off the keys, greys the scan
  // controls and shows at once in an open key window.
  void scanningOffTakesTheScanFunctionOffTheKeys() {
    Windows w([](RunState& s) {
      s.workingDocument.scan.bytes[ScanBlock::kMode] = 1;
      s.workingDocument.keys.values[KeyBlock::kPf1Short] = 8;
    });
    w.open("FrmKey");
    QCOMPARE(w.list("FrmKey", "Combo1(1)")->currentText(), w.f.context.text(25048));
    w.open("FrmScan");
    w.choose("FrmScan", "Combo1(0)", 0);
    QCOMPARE(w.keys().values[KeyBlock::kPf1Short], std::int16_t{0});
    QCOMPARE(w.list("FrmKey", "Combo1(1)")->currentIndex(), 0);
    QVERIFY(!w.list("FrmScan", "Combo1(7)")->isEnabled());
    QVERIFY(!w.in<QCheckBox>("FrmScan", "Check1")->isEnabled());
    // Function 8 chosen now falls back to the first function.
    w.choose("FrmKey", "Combo1(2)", 8);
    QCOMPARE(w.keys().values[KeyBlock::kPf2Long], std::int16_t{0});
    QCOMPARE(w.list("FrmKey", "Combo1(2)")->currentIndex(), 0);
  }

  void scanTimesAndEntryTone() {
    Windows w([](RunState& s) {
      s.workingDocument.scan.bytes[ScanBlock::kMode] = 1;
      s.workingDocument.scan.bytes[ScanBlock::kEntryTone] = 3;
    });
    w.open("FrmScan");
    QCOMPARE(w.scan().bytes[ScanBlock::kEntryTone], std::uint8_t{0});
    w.choose("FrmScan", "Combo1(7)", 3);
    w.choose("FrmScan", "Combo1(7)", 0);
    QCOMPARE(w.list("FrmScan", "Combo1(7)")->currentText(), QString("0.5"));
    QCOMPARE(w.scan().bytes[ScanBlock::kLookBackA], std::uint8_t{5});
    w.choose("FrmScan", "Combo1(9)", 49);
    QCOMPARE(w.list("FrmScan", "Combo1(9)")->currentText(), QString("5.0"));
    QCOMPARE(w.scan().bytes[ScanBlock::kRxResumeDelay], std::uint8_t{50});
  }

  // ---- Emergency alert ----

  void alertEnableRules() {
    Windows w;
    w.open("FrmAlert");
    const auto enabled = [&w](const char* l) { return w.list("FrmAlert", l)->isEnabled(); };
    w.choose("FrmAlert", "Combo1(10)", 0);
    for (const char* l : {"Combo1(0)", "Combo1(3)", "Combo1(6)", "Combo1(9)"}) QVERIFY(!enabled(l));
    w.choose("FrmAlert", "Combo1(10)", 1);
    w.choose("FrmAlert", "Combo1(0)", 0);
    QVERIFY(enabled("Combo1(3)"));
    for (const char* l : {"Combo1(1)", "Combo1(2)", "Combo1(4)", "Combo1(5)"}) QVERIFY(!enabled(l));
    w.choose("FrmAlert", "Combo1(0)", 2);
    QVERIFY(!enabled("Combo1(3)"));
    for (const char* l : {"Combo1(1)", "Combo1(4)", "Combo1(5)"}) QVERIFY(enabled(l));
    w.choose("FrmAlert", "Combo1(6)", 1);
    QVERIFY(!enabled("Combo1(7)") && !enabled("Combo1(8)"));
    QCOMPARE(w.f.context.state.workingSide.alarmMode, std::uint8_t{1});
  }

  void alertIdentificationAndChannel() {
    Windows w([](RunState& s) {
      defineMemory(s, 2, "22");
      defineMemory(s, 5, "55");
      AddChannel(s, 3, 1, "443");
      s.workingDocument.alert.bytes[AlertBlock::kAlarmType] = 1;
      s.workingDocument.alert.bytes[AlertBlock::kIdType] = 1;
      s.workingDocument.alert.bytes[AlertBlock::kIdMemory] = 3;
      s.workingDocument.alert.bytes[AlertBlock::kChannelGroup] = 7;
    });
    w.open("FrmAlert");
    QCOMPARE(w.list("FrmAlert", "Combo1(2)")->currentText(), QString("M2"));
    QCOMPARE(w.items("FrmAlert", "Combo1(7)"), (QStringList{"1", "4"}));
    QCOMPARE(w.alert().bytes[AlertBlock::kChannelGroup], std::uint8_t{1});
    w.choose("FrmAlert", "Combo1(2)", 1);
    QCOMPARE(w.alert().bytes[AlertBlock::kIdMemory], std::uint8_t{5});
    w.choose("FrmAlert", "Combo1(9)", 255);
    QCOMPARE(w.alert().bytes[AlertBlock::kCycle], std::uint8_t{255});
    w.choose("FrmAlert", "Combo1(9)", 0);
    QCOMPARE(w.alert().bytes[AlertBlock::kCycle], std::uint8_t{0});
  }

  // ---- Keys ----

  void keyListsAndTimes() {
    Windows w([](RunState& s) {
      s.workingDocument.keys.values[KeyBlock::kPf1Short] = 4;
      s.workingDocument.keys.values[KeyBlock::kLongPressTime] = 30;
    });
    w.open("FrmKey");
    const QStringList longs = w.items("FrmKey", "Combo1(0)");
    const QStringList shorts = w.items("FrmKey", "Combo1(1)");
    QCOMPARE(longs.size(), 21);
    QCOMPARE(shorts.size(), 19);
    for (const int excluded : {25044, 25051}) {
      QVERIFY(longs.contains(w.f.context.text(excluded)));
      QVERIFY(!shorts.contains(w.f.context.text(excluded)));
    }
    QVERIFY(!longs.contains(w.f.context.text(25061)));
    QCOMPARE(w.list("FrmKey", "Combo1(1)")->currentIndex(), 0);
    QCOMPARE(w.list("FrmKey", "Combo1(9)")->currentText(), QString("1.0"));
    w.choose("FrmKey", "Combo1(9)", 15);
    QCOMPARE(w.keys().values[KeyBlock::kLongPressTime], std::int16_t{25});
    // A short-press item stores its function's code, not its place in the list.
    w.choose("FrmKey", "Combo1(1)", 4);
    QCOMPARE(w.keys().values[KeyBlock::kPf1Short], std::int16_t{5});
  }

  // ---- Embedded message ----

  void messageLinesStoreEveryKeystroke() {
    Windows w([](RunState& s) { s.workingDocument.message.lines[1].assign("AB  \0           "); });
    w.open("FrmEmbMsg");
    QCOMPARE(w.in<QLineEdit>("FrmEmbMsg", "Text1(1)")->text(), QString("AB"));
    QCOMPARE(w.doc().message.lines[1].raw(), std::string("AB\0             ", 16));
    w.typeInto("FrmEmbMsg", "Text1(0)", "HELLO");
    QCOMPARE(w.doc().message.lines[0].raw(), std::string("HELLO\0          ", 16));
    w.typeInto("FrmEmbMsg", "Text1(2)", "0123456789ABCDEFG");
    QCOMPARE(w.in<QLineEdit>("FrmEmbMsg", "Text1(2)")->text(), QString("0123456789ABCDEF"));
    QCOMPARE(w.doc().message.lines[2].raw(), std::string("0123456789ABCDEF"));
    w.typeInto("FrmEmbMsg", "Text1(3)", "a");
    QKeyEvent accented(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier,
                       QString::fromUtf8("\xc3\xa9"));
    QApplication::sendEvent(w.focus(), &accented);
    QTest::keyClicks(w.focus(), " b");
    QCOMPARE(w.in<QLineEdit>("FrmEmbMsg", "Text1(3)")->text(), QString("a b"));
    QTest::keyClick(w.focus(), Qt::Key_Return);  // moves on as Tab does
    QVERIFY(w.focus() != w.in<QLineEdit>("FrmEmbMsg", "Text1(3)"));
  }

  // A line holding bytes that no key types (from a data file or a radio) shows
  // one character for each, keeps them byte for byte, and can be replaced.
  void aMessageLineShowsAndKeepsEveryStoredByte_data() {
    QTest::addColumn<QByteArray>("text");  // the line's text, before its NUL
    QTest::addColumn<QString>("shown");
    QTest::newRow("Latin") << QByteArray("CAF\xC9") << QString::fromUtf8("CAF\u00C9");
    QTest::newRow("Windows-1252") << QByteArray(
                                         "\x80"
                                         "10\x85")
                                  << QString::fromUtf8("€10…");
    QTest::newRow("control bytes") << QByteArray(
                                          "A\x01"
                                          "B\x7F")
                                   << QString::fromUtf8("A␁B␡");
    QTest::newRow("a full line") << QByteArray(16, '\xFF') << QString(16, QChar(0xFF));
  }
  void aMessageLineShowsAndKeepsEveryStoredByte() {
    QFETCH(QByteArray, text);
    QFETCH(QString, shown);
    const auto lineOf = [](const QByteArray& bytes) {
      std::string line = bytes.toStdString();
      return line.size() < 16 ? line + '\0' + std::string(15 - line.size(), ' ') : line;
    };
    Windows w([&](RunState& s) { s.workingDocument.message.lines[1].assign(lineOf(text)); });
    const auto before = w.doc().toBytes();
    w.open("FrmEmbMsg");
    auto* box = w.in<QLineEdit>("FrmEmbMsg", "Text1(1)");
    QCOMPARE(box->text(), shown);
    QVERIFY(w.doc().toBytes() == before);
    // Typing elsewhere keeps every byte; the last character is replaced, here
    // by AltGr+Q as Windows gives it.
    box->setFocus();
    QTest::keyClick(box, Qt::Key_End);
    QTest::keyClick(box, Qt::Key_Backspace);
    QTest::sendKeyEvent(QTest::Click, box, Qt::Key_Q, QStringLiteral("@"),
                        Qt::ControlModifier | Qt::AltModifier);
    QCOMPARE(box->text(), shown.chopped(1) + '@');
    QCOMPARE(w.doc().message.lines[1].raw(), lineOf(text.chopped(1) + '@'));
    w.main->UnloadWindowByName("FrmEmbMsg");
    QCOMPARE(w.doc().message.lines[1].raw(), lineOf(text.chopped(1) + '@'));
    QVERIFY(w.f.prompter.unexpected.empty());
  }

  // Typing a line cannot store is refused with the reason in the status bar.
  void whatALineCannotStoreIsRefusedWithItsReason_data() {
    QTest::addColumn<QString>("line");
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("modifiers");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<int>("reason");
    QTest::newRow("a character above 127")
        << "CAFE" << int(Qt::Key_Eacute) << int(Qt::NoModifier) << QString::fromUtf8("é")
        << text::kMessageCharacterRefused;
    QTest::newRow("AltGr as Windows gives it")
        << "" << int(Qt::Key_E) << int(Qt::ControlModifier | Qt::AltModifier)
        << QString::fromUtf8("€") << text::kMessageCharacterRefused;
    QTest::newRow("AltGr as X11 gives it")
        << "" << int(Qt::Key_E) << int(Qt::GroupSwitchModifier) << QString::fromUtf8("€")
        << text::kMessageCharacterRefused;
    QTest::newRow("an input method")
        << "" << 0 << 0 << QString::fromUtf8("信息") << text::kMessageCharacterRefused;
    QTest::newRow("a seventeenth character")
        << "0123456789ABCDEF" << int(Qt::Key_G) << int(Qt::NoModifier) << "G"
        << text::kMessageLineFull;
  }
  void whatALineCannotStoreIsRefusedWithItsReason() {
    QFETCH(QString, line);
    QFETCH(int, key);
    QFETCH(int, modifiers);
    QFETCH(QString, typed);
    QFETCH(int, reason);
    Windows w([&](RunState& s) { s.workingDocument.message.lines[0].assign(line.toStdString()); });
    w.open("FrmEmbMsg");
    const auto before = w.doc().toBytes();
    auto* box = w.in<QLineEdit>("FrmEmbMsg", "Text1(0)");
    box->setFocus();
    QTest::keyClick(box, Qt::Key_End);
    if (key == 0) {
      QInputMethodEvent composed;
      composed.setCommitString(typed);
      QApplication::sendEvent(box, &composed);
    } else {
      QTest::sendKeyEvent(QTest::Click, box, Qt::Key(key), typed, Qt::KeyboardModifiers(modifiers));
    }
    QCOMPARE(box->text(), line);
    QVERIFY(w.doc().toBytes() == before);
    QCOMPARE(w.main->statusBar()->currentMessage(), w.f.context.text(reason));
  }

  void titlesInBothLanguages_data() { LanguageRows(); }
  void titlesInBothLanguages() {
    QFETCH(int, language);
    Windows w;
    w.f.context.setLanguage(language);
    const std::pair<const char*, int> windows[] = {{"FrmDTMF", 18000},
                                                   {"FrmScan", 26000},
                                                   {"FrmAlert", 27000},
                                                   {"FrmKey", 25000},
                                                   {"FrmEmbMsg", 20000}};
    for (const auto& [name, title] : windows) {
      QCOMPARE(w.open(name)->windowTitle(), w.f.context.text(title));
    }
    QCOMPARE(w.in<QTabWidget>("FrmDTMF", "SSTab1")->tabText(2), w.f.context.text(18004));
    QCOMPARE(w.in<QLabel>("FrmScan", "Label1(3)")->text(), QString("-"));
    QCOMPARE(w.in<QLabel>("FrmDTMF", "Label_Text2(15)")->text(), QString("16"));
  }
};

}  // namespace cps::gui::test

QTEST_MAIN(cps::gui::test::SettingsWindowsTest)
#include "settings_windows_test.moc"
