// The message boxes and file dialogs of the desktop: the title they carry for
// the whole run, and Qt's own buttons and dialog texts in the program's language,
// which the language texts name when they say which button to press.
#include "gui/app/message_box_prompter.hpp"

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QFile>
#include <QFileDialog>
#include <QMessageBox>
#include <QPointer>
#include <QRegularExpression>
#include <QTimer>
#include <QtTest>
#include <functional>

#include "gui/app/qt_translation.hpp"
#include "gui/app/start_up.hpp"
#include "gui_fixture.hpp"

namespace cps::gui::test {

namespace {

// A caption as the user reads it: without its access key, "&Yes" or "是(&Y)".
QString shown(QString caption) {
  caption.remove(QRegularExpression(QStringLiteral("\\(&.\\)$")));
  return caption.remove(QLatin1Char('&'));
}

// Runs `look` on the next message box once it is open, then closes it with its
// escape button; a box that never opens fails the test instead of waiting.
void onNextBox(const std::function<void(QMessageBox&)>& look) {
  auto* poll = new QTimer;
  auto tries = std::make_shared<int>(0);
  QObject::connect(poll, &QTimer::timeout, poll, [poll, tries, look] {
    auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    if (!box && ++*tries < 500) return;
    poll->deleteLater();
    if (!box) return;
    look(*box);
    box->close();
  });
  poll->start(10);
}

}  // namespace

class MessageBoxPrompterTest : public QObject {
  Q_OBJECT

 private slots:
  void titleIsTheOneStartUpSet() {
    GuiFixture f;
    QVERIFY(StartUp(f.context, {false, false}, [] {}));
    const QString english = f.context.text(12000);
    MessageBoxPrompter prompter(f.context);
    // Chosen during the run: the boxes keep the title the run started with.
    f.context.setLanguage(kChinese);
    QString title;
    onNextBox([&title](QMessageBox& box) { title = box.windowTitle(); });
    prompter.ask(TextMessage(9002, Buttons::Ok, Icon::Warning));
    QCOMPARE(title, english);
  }

  // The write question carries the box of the check after the write, ticked
  // as it was left; what the user makes of it comes back with the answer.
  void theWriteQuestionHasTheBoxOfTheCheck_data() {
    QTest::addColumn<bool>("ticked");
    QTest::addColumn<bool>("click");
    QTest::addColumn<int>("button");
    QTest::newRow("ticked, left, OK") << true << false << int(QMessageBox::Ok);
    QTest::newRow("ticked, unticked, OK") << true << true << int(QMessageBox::Ok);
    QTest::newRow("unticked, ticked, Cancel") << false << true << int(QMessageBox::Cancel);
  }
  void theWriteQuestionHasTheBoxOfTheCheck() {
    QFETCH(bool, ticked);
    QFETCH(bool, click);
    QFETCH(int, button);
    GuiFixture f;
    MessageBoxPrompter prompter(f.context);
    QString text;
    QString boxText;
    bool offered = !ticked;
    auto* poll = new QTimer;
    QObject::connect(poll, &QTimer::timeout, poll, [&, poll] {
      auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
      if (!box) return;
      poll->deleteLater();
      text = box->text();
      auto* check = box->checkBox();
      if (check == nullptr) {
        box->close();
        return;
      }
      boxText = check->text();
      offered = check->isChecked();
      if (click) check->click();
      box->button(static_cast<QMessageBox::StandardButton>(button))->click();
    });
    poll->start(10);
    bool verify = ticked;
    const Answer answer = prompter.confirmWrite(verify);
    QCOMPARE(text, f.context.text(9005));
    QCOMPARE(boxText, f.context.text(9079));
    QCOMPARE(offered, ticked);
    QCOMPARE(verify, click ? !ticked : ticked);
    QCOMPARE(answer, button == QMessageBox::Ok ? Answer::Ok : Answer::Cancel);
  }

  void standardButtonsInTheProgramsLanguage_data() {
    QTest::addColumn<QList<int>>("languages");  // chosen one after the other
    QTest::addColumn<QStringList>("captions");  // Yes, No, OK, Cancel
    QTest::newRow("English") << QList<int>{kEnglish} << QStringList{"Yes", "No", "OK", "Cancel"};
    QTest::newRow("Chinese") << QList<int>{kChinese} << QStringList{"是", "否", "确定", "取消"};
    QTest::newRow("Chinese, then English again")
        << QList<int>{kChinese, kEnglish} << QStringList{"Yes", "No", "OK", "Cancel"};
    QTest::newRow("English, then Chinese")
        << QList<int>{kEnglish, kChinese} << QStringList{"是", "否", "确定", "取消"};
  }
  void standardButtonsInTheProgramsLanguage() {
    QFETCH(QList<int>, languages);
    QFETCH(QStringList, captions);
    if (languages.contains(kChinese) && !QFile::exists(QtTranslation::fileOf(kChinese))) {
      QSKIP("Qt's Chinese translation (qt6-translations-l10n) is not installed");
    }
    GuiFixture f;
    for (int language : languages) f.context.setLanguage(language);
    MessageBoxPrompter prompter(f.context);
    QStringList seen;
    onNextBox([&seen](QMessageBox& box) {
      for (auto button : {QMessageBox::Yes, QMessageBox::No})
        seen << shown(box.button(button)->text());
    });
    QCOMPARE(prompter.ask(TextMessage(9006, Buttons::YesNo, Icon::Question)), Answer::No);
    onNextBox([&seen](QMessageBox& box) {
      for (auto button : {QMessageBox::Ok, QMessageBox::Cancel})
        seen << shown(box.button(button)->text());
    });
    QCOMPARE(prompter.ask(TextMessage(9004, Buttons::OkCancel, Icon::Question)), Answer::Cancel);
    QCOMPARE(seen, captions);
  }

  void fileDialogInTheProgramsLanguage_data() {
    QTest::addColumn<int>("language");
    QTest::addColumn<QString>("look");
    QTest::newRow("English") << int(kEnglish) << "Look in:";
    QTest::newRow("Chinese") << int(kChinese) << "查找范围：";
  }
  void fileDialogInTheProgramsLanguage() {
    QFETCH(int, language);
    QFETCH(QString, look);
    if (language == kChinese && !QFile::exists(QtTranslation::fileOf(kChinese))) {
      QSKIP("Qt's Chinese translation (qt6-translations-l10n) is not installed");
    }
    GuiFixture f;
    f.context.setLanguage(language);
    QFileDialog dialog;
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    QCOMPARE(dialog.labelText(QFileDialog::LookIn), look);
  }
};

}  // namespace cps::gui::test

QTEST_MAIN(cps::gui::test::MessageBoxPrompterTest)
#include "message_box_prompter_test.moc"
