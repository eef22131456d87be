// Every box in which a frequency is typed, whatever window holds it, takes
// only what its keys may type (digits, the point, and a sign where an offset
// is typed) by any way a character can come: a plain key, an Alt chord, AltGr
// as X11 gives it (a third-level character with the group switch or with no
// modifier at all) and as Windows gives it (Ctrl+Alt), and an input method.
// What was typed is then stored as shown, never dropped.
#include <QInputMethodEvent>
#include <QLineEdit>
#include <QTableWidget>

#include "channel_fixture.hpp"

namespace cps::gui::test {

namespace {

// The box a row types into, made ready for typing; the stored field it commits to.
struct FrequencyBox {
  QLineEdit* box = nullptr;
  std::function<std::string()> stored;
};

FrequencyBox openBox(Table& t, const QString& where) {
  auto& doc = t.f.context.state.workingDocument;
  const auto clickCell = [&t](const char* window) {
    QTableWidget* grid = t.main->ShowChildWindow(QLatin1String(window))
                             ->findChild<QTableWidget*>(QStringLiteral("MSFlexGrid1"));
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {},
                      grid->visualRect(grid->model()->index(0, 1)).center());
    return grid->findChild<QLineEdit*>(QStringLiteral("Text1"));
  };
  const auto receive = [&t] { return t.channel(1)->rxFreq.raw(); };
  if (where == "FM preset") {
    return {clickCell("FrmRadio"), [&doc] { return doc.fmPresets[0].frequency.raw(); }};
  }
  if (where == "test frequency") {
    return {clickCell("FrmTestFre"), [&doc] { return doc.testFrequencies[0].second.raw(); }};
  }
  if (where == "channel dialog") {
    QWidget* dialog = t.main->ShowChildWindow(QStringLiteral("FrmCHInfoEdit"));
    auto* box = dialog->findChild<QLineEdit*>(QStringLiteral("Text1"));
    box->setFocus();
    return {box, receive};
  }
  t.click(1, 1);  // the channel table's own editor
  return {t.text1(), receive};
}

}  // namespace

class FrequencyBoxesTest : public QObject {
  Q_OBJECT

 private slots:
  void everyCharacterMeetsTheKeyRule_data() {
    QTest::addColumn<QString>("where");
    QTest::addColumn<QString>("first");
    QTest::addColumn<QString>("last");
    QTest::addColumn<std::string>("stored");
    QTest::newRow("FM preset") << "FM preset"
                               << "9"
                               << "0" << std::string("09000000");
    QTest::newRow("test frequency") << "test frequency"
                                    << "43"
                                    << "5" << std::string("43500000");
    QTest::newRow("channel dialog") << "channel dialog"
                                    << "43"
                                    << "5" << std::string("43500000");
    QTest::newRow("channel table") << "channel table"
                                   << "43"
                                   << "5" << std::string("43500000");
  }
  void everyCharacterMeetsTheKeyRule() {
    QFETCH(QString, where);
    QFETCH(QString, first);
    QFETCH(QString, last);
    QFETCH(std::string, stored);
    Table t([](RunState& s) { AddChannel(s, 0, 1, "440"); });
    const FrequencyBox target = openBox(t, where);
    QLineEdit* box = target.box;
    QVERIFY(box != nullptr);
    QCOMPARE(t.focus(), box);
    box->selectAll();
    QTest::keyClicks(box, first);
    const struct {
      Qt::Key key;
      const char* text;
      Qt::KeyboardModifiers modifiers;
    } chords[] = {
        {Qt::Key_X, "x", Qt::AltModifier},
        {Qt::Key_Q, "@", Qt::GroupSwitchModifier},
        {Qt::Key_At, "@", Qt::NoModifier},
        {Qt::Key_Q, "@", Qt::ControlModifier | Qt::AltModifier},
        {Qt::Key_E, "\xe2\x82\xac", Qt::ControlModifier | Qt::AltModifier},
        {Qt::Key_Comma, ",", Qt::AltModifier | Qt::ShiftModifier},
        {Qt::Key_Minus, "-", Qt::MetaModifier},
    };
    for (const auto& chord : chords) {
      QTest::sendKeyEvent(QTest::Click, box, chord.key, QString::fromUtf8(chord.text),
                          chord.modifiers);
    }
    QInputMethodEvent composed;
    composed.setCommitString(QStringLiteral("1x"));
    QApplication::sendEvent(box, &composed);
    QTest::keyClicks(box, last);
    QCOMPARE(box->text(), first + last);
    QTest::keyClick(box, Qt::Key_Return);
    QCOMPARE(target.stored(), stored);
    QVERIFY2(t.f.prompter.unexpected.empty(), t.f.prompter.unexpectedText().c_str());
  }
};

}  // namespace cps::gui::test

QTEST_MAIN(cps::gui::test::FrequencyBoxesTest)
#include "frequency_boxes_test.moc"
