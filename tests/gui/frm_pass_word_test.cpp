// The programming password dialog: it offers the password entered last, keeps
// what OK confirms and nothing on Cancel, and takes only what a radio password
// can hold.
#include "gui/link/frm_pass_word.hpp"

#include <QApplication>
#include <QClipboard>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QtTest>
#include <optional>

#include "gui_fixture.hpp"

namespace cps::gui::test {

namespace {

constexpr int kSafetyMs = 5000;

template <typename T>
T* child(QWidget& window, const char* name) {
  return window.findChild<T*>(QString::fromLatin1(name));
}

// Types `text` key by key, also characters that have no key of their own here.
void type(QWidget* widget, const QString& text) {
  for (QChar c : text) {
    QTest::sendKeyEvent(QTest::Press, widget, Qt::Key_unknown, QString(c), Qt::NoModifier);
    QTest::sendKeyEvent(QTest::Release, widget, Qt::Key_unknown, QString(c), Qt::NoModifier);
  }
}

FrmPassWord* openPasswordDialog() {
  for (QWidget* window : QApplication::topLevelWidgets()) {
    if (window->objectName() == "FrmPassWord" && window->isVisible()) {
      return static_cast<FrmPassWord*>(window);
    }
  }
  return nullptr;
}

}  // namespace

class FrmPassWordTest : public QObject {
  Q_OBJECT

 private slots:
  void offersTheLastPasswordMasked() {
    GuiFixture f;
    f.context.state.link.enteredPassword = "7391";
    FrmPassWord dialog(f.context);
    auto* text1 = child<QLineEdit>(dialog, "Text1");
    QVERIFY(text1);
    QCOMPARE(text1->text(), QString("7391"));
    QCOMPARE(text1->echoMode(), QLineEdit::Password);
    QCOMPARE(text1->displayText(), QString("****"));
    QCOMPARE(text1->maxLength(), 4);
    QVERIFY(dialog.isModal());
  }

  void ok_data() {
    QTest::addColumn<QString>("before");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("stored");
    QTest::newRow("first password") << ""
                                    << "1234"
                                    << "1234";
    QTest::newRow("emptied") << "1234"
                             << ""
                             << "";
    QTest::newRow("trailing spaces are not part of it") << ""
                                                        << "12  "
                                                        << "12";
    QTest::newRow("letters keep their case") << ""
                                             << "aB3z"
                                             << "aB3z";
    QTest::newRow("at most four characters") << ""
                                             << "123456"
                                             << "1234";
    // A radio password is single-byte characters: nothing else could ever match.
    QTest::newRow("characters above 127 are refused") << ""
                                                      << "1é2密3"
                                                      << "123";
  }
  void ok() {
    QFETCH(QString, before);
    QFETCH(QString, typed);
    QFETCH(QString, stored);
    GuiFixture f;
    f.context.state.link.enteredPassword = before.toStdString();
    FrmPassWord dialog(f.context);
    dialog.show();
    auto* text1 = child<QLineEdit>(dialog, "Text1");
    text1->clear();
    type(text1, typed);
    QTest::mouseClick(child<QPushButton>(dialog, "CommandOK"), Qt::LeftButton);

    QVERIFY(!dialog.isVisible());
    QCOMPARE(dialog.result(), int(QDialog::Accepted));
    QCOMPARE(QString::fromStdString(f.context.state.link.enteredPassword), stored);
  }

  void pastedTextIsCheckedToo_data() {
    QTest::addColumn<QString>("clipboard");
    QTest::addColumn<QString>("shown");
    QTest::newRow("a password") << "4321"
                                << "4321";
    QTest::newRow("too long: cut to four") << "43219"
                                           << "4321";
    QTest::newRow("with a character a radio cannot hold") << "密码12"
                                                          << "";
  }
  void pastedTextIsCheckedToo() {
    QFETCH(QString, clipboard);
    QFETCH(QString, shown);
    GuiFixture f;
    FrmPassWord dialog(f.context);
    auto* text1 = child<QLineEdit>(dialog, "Text1");
    QApplication::clipboard()->setText(clipboard);
    if (QApplication::clipboard()->text() != clipboard) QSKIP("no clipboard on this platform");
    text1->clear();
    text1->paste();
    QCOMPARE(text1->text(), shown);
  }

  void typingReplacesTheOfferedPassword() {
    GuiFixture f;
    f.context.state.link.enteredPassword = "1111";
    FrmPassWord dialog(f.context);
    dialog.show();
    QApplication::setActiveWindow(&dialog);
    QVERIFY(QTest::qWaitForWindowActive(&dialog));
    auto* text1 = child<QLineEdit>(dialog, "Text1");
    QCOMPARE(QApplication::focusWidget(), text1);
    QTest::keyClicks(text1, "22");
    QTest::keyClick(text1, Qt::Key_Return);  // Enter is OK
    QCOMPARE(dialog.result(), int(QDialog::Accepted));
    QCOMPARE(f.context.state.link.enteredPassword, std::string("22"));
  }

  void cancelKeepsThePassword_data() {
    QTest::addColumn<bool>("escape");
    QTest::newRow("Cancel button") << false;
    QTest::newRow("Escape key") << true;
  }
  void cancelKeepsThePassword() {
    QFETCH(bool, escape);
    GuiFixture f;
    f.context.state.link.enteredPassword = "9876";
    FrmPassWord dialog(f.context);
    dialog.show();
    auto* text1 = child<QLineEdit>(dialog, "Text1");
    text1->clear();
    QTest::keyClicks(text1, "5555");
    if (escape) {
      QTest::keyClick(&dialog, Qt::Key_Escape);
    } else {
      QTest::mouseClick(child<QPushButton>(dialog, "CommandCancel"), Qt::LeftButton);
    }
    QVERIFY(!dialog.isVisible());
    QCOMPARE(dialog.result(), int(QDialog::Rejected));
    QCOMPARE(f.context.state.link.enteredPassword, std::string("9876"));
  }

  void askAnswersWithThePasswordOrNothing_data() {
    QTest::addColumn<bool>("ok");
    QTest::addColumn<QString>("typed");
    QTest::newRow("OK") << true << "4321";
    QTest::newRow("OK with nothing typed") << true << "";
    QTest::newRow("Cancel") << false << "4321";
  }
  void askAnswersWithThePasswordOrNothing() {
    QFETCH(bool, ok);
    QFETCH(QString, typed);
    GuiFixture f;
    f.context.state.link.enteredPassword = "0000";
    bool answered = false;
    QTimer::singleShot(0, [&] {
      FrmPassWord* dialog = openPasswordDialog();
      if (!dialog) return;
      auto* text1 = child<QLineEdit>(*dialog, "Text1");
      text1->clear();
      QTest::keyClicks(text1, typed);
      QTest::mouseClick(child<QPushButton>(*dialog, ok ? "CommandOK" : "CommandCancel"),
                        Qt::LeftButton);
      answered = true;
    });
    // Should the dialog not be found, it is closed from outside and the test fails.
    QTimer::singleShot(kSafetyMs, [] {
      if (FrmPassWord* dialog = openPasswordDialog()) dialog->reject();
    });

    const std::optional<std::string> password = FrmPassWord::Ask(f.context, nullptr);
    QVERIFY(answered);
    if (ok) {
      QVERIFY(password.has_value());
      QCOMPARE(QString::fromStdString(*password), typed);
      QCOMPARE(QString::fromStdString(f.context.state.link.enteredPassword), typed);
    } else {
      QVERIFY(!password.has_value());
      QCOMPARE(f.context.state.link.enteredPassword, std::string("0000"));
    }
  }

  void captionsComeFromTheLanguageFile_data() { LanguageRows(); }
  void captionsComeFromTheLanguageFile() {
    QFETCH(int, language);
    GuiFixture f;
    f.context.setLanguage(language);
    FrmPassWord dialog(f.context);
    QCOMPARE(dialog.objectName(), QString("FrmPassWord"));
    QCOMPARE(dialog.windowTitle(), f.context.text(23100));
    QCOMPARE(child<QLabel>(dialog, "Label1")->text(), f.context.text(23101));
    QCOMPARE(child<QPushButton>(dialog, "CommandOK")->text(), f.context.text(9017));
    QCOMPARE(child<QPushButton>(dialog, "CommandCancel")->text(), f.context.text(9018));
    for (int id : {23100, 23101, 9017, 9018}) QVERIFY(!f.context.text(id).isEmpty());
    QVERIFY(child<QPushButton>(dialog, "CommandOK")->isDefault());
    // The caption sits left of the box it names.
    dialog.show();
    QVERIFY(child<QLabel>(dialog, "Label1")->geometry().right() <
            child<QLineEdit>(dialog, "Text1")->geometry().left());
  }
};

}  // namespace cps::gui::test

QTEST_MAIN(cps::gui::test::FrmPassWordTest)
#include "frm_pass_word_test.moc"
