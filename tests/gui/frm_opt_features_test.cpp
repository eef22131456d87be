// The optional features window on its real widgets: what each control shows
// of a stored value, what choosing an item stores, that opening stores
// nothing, the VOX rule, Enter as Tab, and its texts in both languages.
#include "gui/settings/frm_opt_features.hpp"

#include <QAbstractItemView>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QtTest>

#include "core/document/defaults.hpp"
#include "gui_fixture.hpp"

namespace cps::gui::test {

namespace {

class NoRedraw final : public DocumentObserver {
 public:
  void reShowGrid(int) override {}
  void reloadEditDialog() override {}
  void ReshowByCh() override {}
  void closeChildWindows() override {}
};

}  // namespace

class FrmOptFeaturesTest : public QObject {
  Q_OBJECT

 private:
  GuiFixture fixture;
  NoRedraw observer;

  std::array<std::int16_t, 18>& values() {
    return fixture.context.state.workingDocument.optionalFeatures.values;
  }
  template <typename T>
  static T* control(QWidget& window, const QString& name) {
    auto* found = window.findChild<T*>(name);
    if (found == nullptr) qWarning() << "no control" << name;
    return found;
  }

 private slots:
  void init() {
    ApplyDocumentDefaults(fixture.context.state, Today{"2026-12-10", 12});
    fixture.context.setLanguage(kEnglish);
  }
  void cleanup() { QVERIFY2(fixture.prompter.unexpected.empty(), "no question was expected"); }

  // Stored value → the item a list shows, or the tick of a check box.
  void showsTheStoredValue_data() {
    QTest::addColumn<int>("slot");  // index in the block
    QTest::addColumn<int>("stored");
    QTest::addColumn<QString>("control");
    QTest::addColumn<int>("shown");  // list item, or 1/0 for a check box
    QTest::newRow("time-out 240") << 12 << 240 << "Combo1(4)" << 16;
    QTest::newRow("time-out 0, Off") << 12 << 0 << "Combo1(4)" << 0;
    QTest::newRow("time-out 20, nearest 15") << 12 << 20 << "Combo1(4)" << 1;
    QTest::newRow("time-out 255, first item") << 12 << 255 << "Combo1(4)" << 0;
    QTest::newRow("voice volume 0") << 2 << 0 << "Combo1(11)" << 0;
    QTest::newRow("voice volume 6") << 2 << 6 << "Combo1(11)" << 0;
    QTest::newRow("voice volume 5") << 2 << 5 << "Combo1(11)" << 4;
    QTest::newRow("channel group 9") << 17 << 9 << "Combo1(10)" << 0;
    QTest::newRow("channel group 8") << 17 << 8 << "Combo1(10)" << 7;
    QTest::newRow("voice prompt 2") << 1 << 2 << "Combo1(1)" << 1;
    QTest::newRow("squelch 9") << 0 << 9 << "Combo1(0)" << 9;
    QTest::newRow("VOX delay 9, 5.0 s") << 16 << 9 << "Combo1(9)" << 9;
    QTest::newRow("VOX level 6") << 15 << 6 << "Combo1(8)" << 6;
    QTest::newRow("pre-alert 10") << 9 << 10 << "Combo1(5)" << 10;
    QTest::newRow("re-key 60") << 13 << 60 << "Combo1(6)" << 60;
    QTest::newRow("reset 30") << 14 << 30 << "Combo1(7)" << 30;
    QTest::newRow("battery save 3") << 4 << 3 << "Combo1(3)" << 3;
    QTest::newRow("tail elimination 2") << 3 << 2 << "Combo1(2)" << 2;
    QTest::newRow("VOX on") << 5 << 1 << "Check1(0)" << 1;
    QTest::newRow("VOX flag 2, unticked") << 5 << 2 << "Check1(0)" << 0;
    QTest::newRow("wired clone, hidden but loaded") << 10 << 1 << "Check1(4)" << 1;
    QTest::newRow("tail elimination without signalling") << 11 << 1 << "Check1(5)" << 1;
  }
  void showsTheStoredValue() {
    QFETCH(int, slot);
    QFETCH(int, stored);
    QFETCH(QString, control);
    QFETCH(int, shown);
    values()[static_cast<std::size_t>(slot)] = static_cast<std::int16_t>(stored);
    const auto before = fixture.context.state.workingDocument.toBytes();
    FrmOptFeatures window(fixture.context, observer);
    if (control.startsWith(QLatin1String("Check"))) {
      auto* box = FrmOptFeaturesTest::control<QCheckBox>(window, control);
      QVERIFY(box);
      QCOMPARE(box->isChecked() ? 1 : 0, shown);
    } else {
      auto* list = FrmOptFeaturesTest::control<QComboBox>(window, control);
      QVERIFY(list);
      QCOMPARE(list->currentIndex(), shown);
    }
    QVERIFY2(fixture.context.state.workingDocument.toBytes() == before,
             "opening the window stores nothing");
  }

  // Item chosen → the value stored.
  void storesTheChosenItem_data() {
    QTest::addColumn<QString>("control");
    QTest::addColumn<int>("item");
    QTest::addColumn<int>("slot");
    QTest::addColumn<int>("stored");
    QTest::newRow("time-out 240") << "Combo1(4)" << 16 << 12 << 240;
    QTest::newRow("time-out Off") << "Combo1(4)" << 0 << 12 << 0;
    QTest::newRow("voice prompt English") << "Combo1(1)" << 1 << 1 << 2;
    QTest::newRow("voice volume 5") << "Combo1(11)" << 4 << 2 << 5;
    QTest::newRow("channel group 8") << "Combo1(10)" << 7 << 17 << 8;
    QTest::newRow("squelch 7") << "Combo1(0)" << 7 << 0 << 7;
    QTest::newRow("VOX delay 2.5 s") << "Combo1(9)" << 4 << 16 << 4;
    QTest::newRow("battery save level 2") << "Combo1(3)" << 2 << 4 << 2;
    QTest::newRow("pre-alert 3") << "Combo1(5)" << 3 << 9 << 3;
    QTest::newRow("re-key 59") << "Combo1(6)" << 59 << 13 << 59;
    QTest::newRow("reset 1") << "Combo1(7)" << 1 << 14 << 1;
    QTest::newRow("tail elimination 55 Hz") << "Combo1(2)" << 1 << 3 << 1;
  }
  void storesTheChosenItem() {
    QFETCH(QString, control);
    QFETCH(int, item);
    QFETCH(int, slot);
    QFETCH(int, stored);
    values()[5] = 1;  // VOX on, so that its lists can be chosen
    FrmOptFeatures window(fixture.context, observer);
    auto* list = FrmOptFeaturesTest::control<QComboBox>(window, control);
    QVERIFY(list);
    auto expected = values();
    expected[static_cast<std::size_t>(slot)] = static_cast<std::int16_t>(stored);
    const auto before = fixture.context.state.workingDocument.toBytes();
    list->setCurrentIndex(item);
    QCOMPARE(values(), expected);
    // In the data file only the field's own two bytes change.
    const auto after = fixture.context.state.workingDocument.toBytes();
    const std::size_t at = offsets::kOptionalFeatures + 2 * static_cast<std::size_t>(slot);
    for (std::size_t i = 0; i < after.size(); ++i) {
      if (i != at && i != at + 1) QCOMPARE(after[i], before[i]);
    }
  }

  void checkBoxesStoreTheirTick() {
    FrmOptFeatures window(fixture.context, observer);
    const std::array<std::pair<const char*, std::size_t>, 5> boxes{{{"Check1(0)", 5},
                                                                    {"Check1(1)", 6},
                                                                    {"Check1(2)", 7},
                                                                    {"Check1(3)", 8},
                                                                    {"Check1(5)", 11}}};
    for (const auto& [name, slot] : boxes) {
      auto* box = control<QCheckBox>(window, QLatin1String(name));
      QVERIFY(box);
      box->setChecked(true);
      QCOMPARE(values()[slot], std::int16_t{1});
      box->setChecked(false);
      QCOMPARE(values()[slot], std::int16_t{0});
    }
    QVERIFY(!control<QCheckBox>(window, QStringLiteral("Check1(4)"))->isVisibleTo(&window));
  }

  void voxOnEnablesItsControlsAndKeepsTheirValues() {
    values()[5] = 1;
    values()[15] = 4;
    values()[16] = 7;
    values()[6] = 1;
    FrmOptFeatures window(fixture.context, observer);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    auto* vox = control<QCheckBox>(window, QStringLiteral("Check1(0)"));
    const QList<QWidget*> governed{control<QComboBox>(window, QStringLiteral("Combo1(8)")),
                                   control<QComboBox>(window, QStringLiteral("Combo1(9)")),
                                   control<QCheckBox>(window, QStringLiteral("Check1(1)")),
                                   control<QLabel>(window, QStringLiteral("Label1(8)"))};
    for (QWidget* w : governed) QVERIFY(w && w->isEnabled());
    QTest::mouseClick(vox, Qt::LeftButton, {}, QPoint(6, vox->height() / 2));
    QCOMPARE(values()[5], std::int16_t{0});
    for (QWidget* w : governed) QVERIFY(!w->isEnabled());
    QCOMPARE(values()[15], std::int16_t{4});
    QCOMPARE(values()[16], std::int16_t{7});
    QCOMPARE(values()[6], std::int16_t{1});
    QTest::mouseClick(vox, Qt::LeftButton, {}, QPoint(6, vox->height() / 2));
    for (QWidget* w : governed) QVERIFY(w->isEnabled());
  }

  void keyboardChoosesAndEnterMovesOn() {
    FrmOptFeatures window(fixture.context, observer);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    auto* squelch = control<QComboBox>(window, QStringLiteral("Combo1(0)"));
    squelch->setFocus();
    QTRY_VERIFY(squelch->hasFocus());
    QTest::keyClick(squelch, Qt::Key_Down);
    QCOMPARE(values()[0], std::int16_t{1});
    QTest::keyClick(squelch, Qt::Key_Return);
    QTRY_VERIFY(control<QComboBox>(window, QStringLiteral("Combo1(1)"))->hasFocus());
    QVERIFY(!squelch->view()->isVisible());
    QCOMPARE(values()[0], std::int16_t{1});
  }

  void saveOptFeatStoresOneControlById() {
    FrmOptFeatures window(fixture.context, observer);
    auto* list = control<QComboBox>(window, QStringLiteral("Combo1(4)"));
    // Changed without its signal, then stored through the public operation.
    list->blockSignals(true);
    list->setCurrentIndex(2);
    list->blockSignals(false);
    QCOMPARE(values()[12], std::int16_t{0});
    window.SaveOptFeat(99);
    QCOMPARE(values()[12], std::int16_t{0});
    window.SaveOptFeat(4);
    QCOMPARE(values()[12], std::int16_t{30});
    QVERIFY(window.NotInComboList(4, 17));
    QVERIFY(window.NotInComboList(4, -1));
    QVERIFY(!window.NotInComboList(4, 16));
  }

  void textsInBothLanguages_data() { LanguageRows(); }
  void textsInBothLanguages() {
    QFETCH(int, language);
    fixture.context.setLanguage(language);
    FrmOptFeatures window(fixture.context, observer);
    QCOMPARE(window.windowTitle(), fixture.context.text(16000));
    for (int n = 0; n <= 11; ++n) {
      auto* label = control<QLabel>(window, QStringLiteral("Label1(%1)").arg(n));
      QVERIFY(label);
      QCOMPARE(label->text(), fixture.context.text(16001 + n));
    }
    for (int n = 0; n <= 5; ++n) {
      QCOMPARE(control<QCheckBox>(window, QStringLiteral("Check1(%1)").arg(n))->text(),
               fixture.context.text(16020 + n));
    }
    auto* tot = control<QComboBox>(window, QStringLiteral("Combo1(4)"));
    QCOMPARE(tot->itemText(0), fixture.context.text(16040));
    QCOMPARE(tot->count(), 17);
    QCOMPARE(control<QPushButton>(window, QStringLiteral("CommandClose"))->text(),
             fixture.context.text(9023));
    QVERIFY(!control<QPushButton>(window, QStringLiteral("CommandHelp"))->isVisibleTo(&window));
    // Applying the texts again rewrites the items in place.
    window.ChangShowByLanguage();
    QCOMPARE(tot->count(), 17);
  }
};

}  // namespace cps::gui::test

QTEST_MAIN(cps::gui::test::FrmOptFeaturesTest)
#include "frm_opt_features_test.moc"
