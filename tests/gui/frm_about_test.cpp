// The about box: its texts come from the language file in either language, its
// icon is there, and OK, Enter and Escape close it.
#include "gui/app/frm_about.hpp"

#include <QLabel>
#include <QPushButton>
#include <QtTest>

#include "core/app/text_table.hpp"
#include "gui/app/app_context.hpp"
#include "gui_fixture.hpp"
#include "program_folder.hpp"

namespace cps::gui::test {

class FrmAboutTest : public QObject {
  Q_OBJECT

 private slots:
  void captionsComeFromTheLanguageFile_data() { LanguageRows(); }
  void captionsComeFromTheLanguageFile() {
    QFETCH(int, language);
    ProgramFolder folder;
    AppContext context(folder.folders(), "cps530");
    context.setLanguage(language);
    FrmAbout about(context);
    QCOMPARE(about.objectName(), QString("frmAbout"));
    const auto label = [&](const char* name) {
      return about.findChild<QLabel*>(QString::fromLatin1(name))->text();
    };
    for (int id = 24000; id <= 24005; ++id) QVERIFY(!context.text(id).isEmpty());
    QCOMPARE(about.windowTitle(), context.text(24000));
    QCOMPARE(label("Label1"), context.text(24001));
    QCOMPARE(label("Label2"), context.text(24002));
    QCOMPARE(label("Label3"), context.text(24003));
    QCOMPARE(label("Label4"), context.text(24004));
    QCOMPARE(about.findChild<QPushButton*>("CommandOK")->text(), context.text(24005));
    // The version the language files name is this program's.
    QVERIFY(label("Label2").contains("V2.00"));
  }

  void showsTheProgramIcon() {
    ProgramFolder folder;
    AppContext context(folder.folders(), "cps530");
    FrmAbout about(context);
    const auto* icon = about.findChild<QLabel*>("Image1");
    QVERIFY(icon);
    QVERIFY(!icon->pixmap().isNull());
    QCOMPARE(icon->pixmap().deviceIndependentSize().toSize(), QSize(48, 48));
  }

  void closes_data() {
    QTest::addColumn<int>("key");  // 0: click OK
    QTest::newRow("OK clicked") << 0;
    QTest::newRow("Enter") << int(Qt::Key_Return);
    QTest::newRow("Escape") << int(Qt::Key_Escape);
  }
  void closes() {
    QFETCH(int, key);
    ProgramFolder folder;
    AppContext context(folder.folders(), "cps530");
    FrmAbout about(context);
    about.show();
    QApplication::setActiveWindow(&about);
    QVERIFY(QTest::qWaitForWindowActive(&about));
    if (key == 0) {
      QTest::mouseClick(about.findChild<QPushButton*>("CommandOK"), Qt::LeftButton);
    } else {
      QTest::keyClick(QApplication::focusWidget(), Qt::Key(key));
    }
    QVERIFY(!about.isVisible());
  }
};

}  // namespace cps::gui::test

QTEST_MAIN(cps::gui::test::FrmAboutTest)
#include "frm_about_test.moc"
