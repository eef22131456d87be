// The list and check box routines on real controls: empty lists, positions and
// texts a list does not hold, texts listed twice, and Chinese items.
#include "gui/app/list_routines.hpp"

#include <QCheckBox>
#include <QComboBox>
#include <QStringList>
#include <QtTest>

namespace cps::gui::test {

namespace {

void fill(QComboBox& list, const QStringList& items) {
  list.clear();
  list.addItems(items);
}

}  // namespace

class ListRoutinesTest : public QObject {
  Q_OBJECT

 private slots:
  void showCheckValue_data() {
    QTest::addColumn<bool>("tickedBefore");
    QTest::addColumn<int>("value");
    QTest::addColumn<bool>("ticked");
    QTest::newRow("0 unticks") << true << 0 << false;
    QTest::newRow("1 ticks") << false << 1 << true;
    QTest::newRow("2 unticks a ticked box") << true << 2 << false;
    QTest::newRow("2 never shows the third state") << false << 2 << false;
    QTest::newRow("negative unticks") << true << -1 << false;
  }
  void showCheckValue() {
    QFETCH(bool, tickedBefore);
    QFETCH(int, value);
    QFETCH(bool, ticked);
    QCheckBox box;
    box.setChecked(tickedBefore);
    ShowCheckValue(box, value);
    QCOMPARE(box.isChecked(), ticked);
    QCOMPARE(box.checkState(), ticked ? Qt::Checked : Qt::Unchecked);
  }

  void selectByText_data() {
    QTest::addColumn<QStringList>("items");
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("shown");
    QTest::addColumn<QString>("found");
    QTest::addColumn<int>("index");  // IndexOfText with default 9
    const QStringList bands{"400 - 480 MHz", "136 - 174 MHz", "450 - 520 MHz"};
    QTest::newRow("equal item") << bands << "136 - 174 MHz" << 1 << "136 - 174 MHz" << 1;
    QTest::newRow("not listed") << bands << "136 - 175 MHz" << 0 << "400 - 480 MHz" << 0;
    QTest::newRow("empty text") << bands << "" << 0 << "400 - 480 MHz" << 9;
    QTest::newRow("empty list") << QStringList{} << "136 - 174 MHz" << -1 << "" << 9;
    QTest::newRow("listed twice: the first")
        << QStringList{"OFF", "1", "2", "1"} << "1" << 1 << "1" << 1;
    QTest::newRow("Chinese item") << QStringList{"English", "简体中文"} << "简体中文" << 1
                                  << "简体中文" << 1;
  }
  void selectByText() {
    QFETCH(QStringList, items);
    QFETCH(QString, text);
    QFETCH(int, shown);
    QFETCH(QString, found);
    QFETCH(int, index);
    QComboBox list;
    fill(list, items);
    // Start from the last item so that "shows the first" is a change, not a default.
    list.setCurrentIndex(static_cast<int>(items.size()) - 1);
    SelectByText(list, text);
    QCOMPARE(list.currentIndex(), shown);
    QCOMPARE(list.currentText(), found);
    QCOMPARE(FindListItem(list, text), found);
    QCOMPARE(IndexOfText(list, text, 9), index);
  }

  void selectByIndex_data() {
    QTest::addColumn<QStringList>("items");
    QTest::addColumn<int>("position");
    QTest::addColumn<int>("shown");
    QTest::addColumn<QString>("item");
    const QStringList powers{"High", "Low"};
    QTest::newRow("in range") << powers << 1 << 1 << "Low";
    QTest::newRow("one past the end") << powers << 2 << 0 << "High";
    QTest::newRow("negative") << powers << -1 << 0 << "High";
    QTest::newRow("empty list") << QStringList{} << 0 << -1 << "";
    QTest::newRow("empty list, negative") << QStringList{} << -1 << -1 << "";
  }
  void selectByIndex() {
    QFETCH(QStringList, items);
    QFETCH(int, position);
    QFETCH(int, shown);
    QFETCH(QString, item);
    QComboBox list;
    fill(list, items);
    list.setCurrentIndex(static_cast<int>(items.size()) - 1);
    SelectByIndex(list, position);
    QCOMPARE(list.currentIndex(), shown);
    QCOMPARE(list.currentText(), item);
    QCOMPARE(ListItemAt(list, position), item);
  }

  void storeListIndexKeepsTheVariableWithoutSelection() {
    QComboBox list;
    int stored = 5;
    StoreListIndex(list, stored);
    QCOMPARE(stored, 5);

    fill(list, {"A", "B", "C"});
    list.setCurrentIndex(-1);
    StoreListIndex(list, stored);
    QCOMPARE(stored, 5);

    list.setCurrentIndex(2);
    StoreListIndex(list, stored);
    QCOMPARE(stored, 2);
    list.setCurrentIndex(0);
    StoreListIndex(list, stored);
    QCOMPARE(stored, 0);
  }

  void addListItemOnceAddsEachTextOnce() {
    QComboBox list;
    AddListItemOnce(list, "A");
    AddListItemOnce(list, "a");
    AddListItemOnce(list, "A");
    AddListItemOnce(list, "简体中文");
    AddListItemOnce(list, "简体中文");
    QCOMPARE(list.count(), 3);
    QCOMPARE(list.itemText(0), QString("A"));
    QCOMPARE(list.itemText(1), QString("a"));
    QCOMPARE(list.itemText(2), QString("简体中文"));
  }
};

}  // namespace cps::gui::test

QTEST_MAIN(cps::gui::test::ListRoutinesTest)
#include "list_routines_test.moc"
