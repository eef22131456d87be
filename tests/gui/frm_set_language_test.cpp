// The language dialog: which language and text file are current after OK, what
// the language setup holds afterwards, that Cancel changes nothing, and that a
// setup file that cannot be written is reported instead of passed over.
#include "gui/app/frm_set_language.hpp"

#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QtTest>
#include <filesystem>

#include "core/app/text_table.hpp"
#include "gui/app/app_context.hpp"
#include "gui_fixture.hpp"
#include "program_folder.hpp"
#include "scripted_prompter.hpp"

namespace cps::gui::test {

namespace {

constexpr int kFileError = 9002;

QString fileName(const std::filesystem::path& p) {
  return QString::fromStdString(p.filename().string());
}

}  // namespace

class FrmSetLanguageTest : public QObject {
  Q_OBJECT

 private slots:
  void ok_data() {
    QTest::addColumn<int>("current");
    QTest::addColumn<int>("chosen");
    QTest::addColumn<QString>("setupBefore");
    QTest::addColumn<QString>("file");
    QTest::newRow("English to Chinese") << 1 << 2 << "1"
                                        << "chinese.ini";
    QTest::newRow("Chinese to English") << 2 << 1 << "2"
                                        << "english.ini";
    // The language already in use is written again: the setup may hold another
    // one (the system default was used at start, or the file was edited).
    QTest::newRow("English kept, setup rewritten") << 1 << 1 << "2"
                                                   << "english.ini";
    QTest::newRow("Chinese kept") << 2 << 2 << "2"
                                  << "chinese.ini";
  }
  void ok() {
    QFETCH(int, current);
    QFETCH(int, chosen);
    QFETCH(QString, setupBefore);
    QFETCH(QString, file);
    ProgramFolder folder;
    folder.writeSetup("0", "3", setupBefore.toStdString());
    AppContext context(folder.folders(), "cps530");
    ScriptedPrompter prompter;
    context.setPrompter(prompter);
    context.setLanguage(current);
    FrmSetLanguage dialog(context);
    dialog.show();
    auto* list = dialog.findChild<QComboBox*>("Combo1");
    QCOMPARE(list->currentIndex(), current - 1);

    list->setCurrentIndex(chosen - 1);
    QTest::mouseClick(dialog.findChild<QPushButton*>("CommandOK"), Qt::LeftButton);

    QVERIFY(prompter.asked.empty());
    QVERIFY(!dialog.isVisible());
    QCOMPARE(dialog.result(), int(QDialog::Accepted));
    QCOMPARE(context.language.current, chosen);
    QCOMPARE(fileName(context.texts.file()), file);
    QCOMPARE(QString::fromStdString(folder.setupValue("CurrentLanguage")), QString::number(chosen));
    // The other keys of the setup stay as they were.
    QCOMPARE(QString::fromStdString(folder.setupValue("comPort")), QString("3"));
    QCOMPARE(QString::fromStdString(folder.setupValue("IsFirstRun")), QString("0"));
    // The shown language is the main window's business: it changes when that window is active.
    QCOMPARE(context.language.shown, int(kEnglish));
  }

  void cancelAndEscapeChangeNothing_data() {
    QTest::addColumn<bool>("escape");
    QTest::newRow("Cancel button") << false;
    QTest::newRow("Escape key") << true;
  }
  void cancelAndEscapeChangeNothing() {
    QFETCH(bool, escape);
    ProgramFolder folder;
    AppContext context(folder.folders(), "cps530");
    ScriptedPrompter prompter;
    context.setPrompter(prompter);
    const auto setupBefore = folder.setupValue("CurrentLanguage");
    FrmSetLanguage dialog(context);
    dialog.show();
    dialog.findChild<QComboBox*>("Combo1")->setCurrentIndex(1);
    if (escape) {
      QTest::keyClick(&dialog, Qt::Key_Escape);
    } else {
      QTest::mouseClick(dialog.findChild<QPushButton*>("CommandCancel"), Qt::LeftButton);
    }
    QVERIFY(!dialog.isVisible());
    QCOMPARE(dialog.result(), int(QDialog::Rejected));
    QCOMPARE(context.language.current, int(kEnglish));
    QCOMPARE(fileName(context.texts.file()), QString("english.ini"));
    QCOMPARE(folder.setupValue("CurrentLanguage"), setupBefore);
    QVERIFY(prompter.asked.empty());
  }

  void setupThatCannotBeWrittenIsReported() {
    ProgramFolder folder;
    AppContext context(folder.folders(), "cps530");
    ScriptedPrompter prompter;
    context.setPrompter(prompter);
    // The base folder's language folder has gone: the setup cannot be written.
    std::filesystem::remove_all(folder.setupFile().parent_path());
    prompter.expect(kFileError, Answer::Ok);
    FrmSetLanguage dialog(context);
    dialog.show();
    dialog.findChild<QComboBox*>("Combo1")->setCurrentIndex(1);
    QTest::mouseClick(dialog.findChild<QPushButton*>("CommandOK"), Qt::LeftButton);

    QVERIFY(prompter.unexpected.empty());
    QCOMPARE(prompter.pending(), std::size_t{0});
    // The language still changes for this run, and the dialog closes.
    QCOMPARE(context.language.current, int(kChinese));
    QVERIFY(!dialog.isVisible());
    QCOMPARE(dialog.result(), int(QDialog::Accepted));
  }

  void enterInTheListMovesOn() {
    ProgramFolder folder;
    AppContext context(folder.folders(), "cps530");
    ScriptedPrompter prompter;
    context.setPrompter(prompter);
    FrmSetLanguage dialog(context);
    dialog.show();
    QApplication::setActiveWindow(&dialog);
    QVERIFY(QTest::qWaitForWindowActive(&dialog));
    auto* list = dialog.findChild<QComboBox*>("Combo1");
    list->setFocus();
    QTest::keyClick(list, Qt::Key_Return);
    QCOMPARE(QApplication::focusWidget(), dialog.findChild<QPushButton*>("CommandOK"));
    QVERIFY(dialog.isVisible());
    QCOMPARE(folder.setupValue("CurrentLanguage"), std::string("1"));
  }

  void captionsComeFromTheLanguageFile_data() { LanguageRows(); }
  void captionsComeFromTheLanguageFile() {
    QFETCH(int, language);
    ProgramFolder folder;
    AppContext context(folder.folders(), "cps530");
    ScriptedPrompter prompter;
    context.setPrompter(prompter);
    context.setLanguage(language);
    FrmSetLanguage dialog(context);
    auto* list = dialog.findChild<QComboBox*>("Combo1");
    for (int id : {23000, 23001, 23002, 23003, 9017, 9018}) QVERIFY(!context.text(id).isEmpty());
    QCOMPARE(dialog.windowTitle(), context.text(23000));
    QCOMPARE(dialog.findChild<QLabel*>("Label1")->text(), context.text(23001));
    QCOMPARE(list->count(), 2);
    QCOMPARE(list->itemText(0), context.text(23002));
    QCOMPARE(list->itemText(1), context.text(23003));
    QCOMPARE(list->currentIndex(), language - 1);
    QCOMPARE(dialog.findChild<QPushButton*>("CommandOK")->text(), context.text(9017));
    QCOMPARE(dialog.findChild<QPushButton*>("CommandCancel")->text(), context.text(9018));
    QVERIFY(dialog.findChild<QPushButton*>("CommandOK")->isDefault());
    QVERIFY(!list->isEditable());
  }
};

}  // namespace cps::gui::test

QTEST_MAIN(cps::gui::test::FrmSetLanguageTest)
#include "frm_set_language_test.moc"
