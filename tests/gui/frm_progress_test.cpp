// The progress dialog of a read or write: its caption for the transfer, the
// percentage, blocks and time it shows, when it starts the transfer, and that
// nothing but the end of the transfer closes it.
#include "gui/link/frm_progress.hpp"

#include <QLabel>
#include <QLocale>
#include <QProgressBar>
#include <QRegularExpression>
#include <QtTest>
#include <stdexcept>

#include "core/link/engine.hpp"
#include "gui_fixture.hpp"

namespace cps::gui::test {

namespace {

constexpr int kSafetyMs = 5000;

template <typename T>
T* child(QWidget& window, const char* name) {
  return window.findChild<T*>(QString::fromLatin1(name));
}

// Runs the dialog modally; if nothing has closed it after a while, it is
// finished from outside and `hung` says so, so the test fails instead of waiting.
int execGuarded(FrmProgress& dialog, bool& hung) {
  hung = false;
  QTimer guard;
  guard.setSingleShot(true);
  QObject::connect(&guard, &QTimer::timeout, &dialog, [&] {
    hung = true;
    dialog.finish();
  });
  guard.start(kSafetyMs);
  return dialog.exec();
}

// The seconds Label3 shows, or -1 when the time is not written as "<n>.<d> s".
double shownSeconds(const QString& line) {
  static const QRegularExpression pattern(QStringLiteral("Elapsed: (\\d+\\.\\d) s$"));
  const auto match = pattern.match(line);
  return match.hasMatch() ? match.captured(1).toDouble() : -1.0;
}

}  // namespace

class FrmProgressTest : public QObject {
  Q_OBJECT

 private slots:
  void captionFollowsTheTransfer_data() {
    QTest::addColumn<int>("kind");
    QTest::addColumn<int>("language");
    QTest::addColumn<int>("captionId");
    QTest::newRow("read, English") << int(TransferKind::ReadAll) << int(kEnglish) << 9027;
    QTest::newRow("write, English") << int(TransferKind::WriteAll) << int(kEnglish) << 9028;
    QTest::newRow("read, Chinese") << int(TransferKind::ReadAll) << int(kChinese) << 9027;
    QTest::newRow("write, Chinese") << int(TransferKind::WriteAll) << int(kChinese) << 9028;
    // Neighbouring numbers hold unrelated texts (9026 a question, 9029 the
    // percentage caption): any other kind is captioned as a read.
    QTest::newRow("information read") << int(TransferKind::ReadInfo) << int(kEnglish) << 9027;
    QTest::newRow("no transfer") << int(TransferKind::None) << int(kEnglish) << 9027;
  }
  void captionFollowsTheTransfer() {
    QFETCH(int, kind);
    QFETCH(int, language);
    QFETCH(int, captionId);
    GuiFixture f;
    f.context.setLanguage(language);
    FrmProgress dialog(f.context, static_cast<TransferKind>(kind), kWholeRadioBlocks);

    QCOMPARE(dialog.objectName(), QString("FrmProgress"));
    QVERIFY(!f.context.text(captionId).isEmpty());
    QCOMPARE(dialog.windowTitle(), f.context.text(captionId));
    QCOMPARE(child<QLabel>(dialog, "Label1")->text(), f.context.text(9029));
    QCOMPARE(child<QLabel>(dialog, "Label2")->text(), QString("0%"));
    auto* bar = child<QProgressBar>(dialog, "ProgressBar1");
    QCOMPARE(bar->minimum(), 0);
    QCOMPARE(bar->maximum(), 100);
    QCOMPARE(bar->value(), 0);
    QVERIFY(!bar->isTextVisible());
    QVERIFY(dialog.isModal());
    QVERIFY(!(dialog.windowFlags() & Qt::WindowCloseButtonHint));
    // One size for the whole transfer, wide enough for the longest count and time.
    QCOMPARE(dialog.minimumSize(), dialog.maximumSize());
    QVERIFY(dialog.width() >= 360);
    auto* line = child<QLabel>(dialog, "Label3");
    const QString longest = f.context.text(9070) + " 177 / 177   " + f.context.text(9071) +
                            " 999.9 " + f.context.text(9072);
    QVERIFY2(line->fontMetrics().horizontalAdvance(longest) <= dialog.width(), qPrintable(longest));
  }

  // The count is the blocks the engine reports; the percentage moves only the
  // bar and its label (a count worked out from it skipped numbers and ended at 175).
  void progressValue_data() {
    QTest::addColumn<int>("total");
    QTest::addColumn<int>("percent");
    QTest::addColumn<int>("blocksDone");  // -1: no count reported
    QTest::addColumn<int>("bar");
    QTest::addColumn<QString>("blocks");  // the start of Label3
    const int all = kWholeRadioBlocks;
    QTest::newRow("start") << all << 0 << 0 << 0 << "Blocks: 0 / 177   Elapsed: ";
    QTest::newRow("the first block") << all << 0 << 1 << 0 << "Blocks: 1 / 177   Elapsed: ";
    QTest::newRow("one percent") << all << 1 << 2 << 1 << "Blocks: 2 / 177   Elapsed: ";
    QTest::newRow("half way") << all << 50 << 89 << 50 << "Blocks: 89 / 177   Elapsed: ";
    QTest::newRow("the last block at 99")
        << all << 99 << 177 << 99 << "Blocks: 177 / 177   Elapsed: ";
    QTest::newRow("a percentage alone") << all << 50 << -1 << 50 << "Blocks: 0 / 177   Elapsed: ";
    QTest::newRow("below 0 shows 0") << all << -5 << -3 << 0 << "Blocks: 0 / 177   Elapsed: ";
    QTest::newRow("above the end shows the end")
        << all << 140 << 200 << 100 << "Blocks: 177 / 177   Elapsed: ";
    QTest::newRow("information area") << 31 << 33 << 10 << 33 << "Blocks: 10 / 31   Elapsed: ";
    QTest::newRow("no block count") << 0 << 50 << 5 << 50 << "Elapsed: ";
  }
  void progressValue() {
    QFETCH(int, total);
    QFETCH(int, percent);
    QFETCH(int, blocksDone);
    QFETCH(int, bar);
    QFETCH(QString, blocks);
    GuiFixture f;
    FrmProgress dialog(f.context, TransferKind::ReadAll, total);
    dialog.SetProgressValue(percent);
    if (blocksDone != -1) dialog.setBlocksDone(blocksDone);

    QCOMPARE(child<QProgressBar>(dialog, "ProgressBar1")->value(), bar);
    QCOMPARE(child<QLabel>(dialog, "Label2")->text(), QString("%1%").arg(bar));
    const QString line = child<QLabel>(dialog, "Label3")->text();
    QVERIFY2(line.startsWith(blocks), qPrintable(line));
    QVERIFY2(shownSeconds(line) >= 0.0, qPrintable(line));
  }

  void elapsedTimeRunsWhileShownWithAPoint() {
    // A decimal comma in the user's locale does not reach the dialog's numbers.
    const QLocale before;
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    GuiFixture f;
    FrmProgress dialog(f.context, TransferKind::WriteAll, kWholeRadioBlocks);
    auto* line = child<QLabel>(dialog, "Label3");
    QCOMPARE(shownSeconds(line->text()), 0.0);
    dialog.show();
    // The clock moves on by itself, without any progress from the radio.
    QTRY_VERIFY_WITH_TIMEOUT(shownSeconds(line->text()) >= 0.4, kSafetyMs);
    QVERIFY2(line->text().startsWith("Blocks: 0 / 177   Elapsed: "), qPrintable(line->text()));
    dialog.finish();
    QLocale::setDefault(before);
  }

  void startActionRunsOnceWhenTheDialogIsUp() {
    GuiFixture f;
    FrmProgress dialog(f.context, TransferKind::ReadAll, kWholeRadioBlocks);
    int runs = 0;
    bool visibleWhenRun = false;
    bool modalWhenRun = false;
    dialog.setStartAction([&] {
      ++runs;
      visibleWhenRun = dialog.isVisible();
      modalWhenRun = QApplication::activeModalWidget() == &dialog;
      // The radio answers a little later, through the event loop.
      QTimer::singleShot(50, &dialog, [&] {
        dialog.SetProgressValue(100);
        dialog.finish();
      });
    });
    QCOMPARE(runs, 0);  // neither making the dialog nor handing it the action starts anything

    bool hung = false;
    QCOMPARE(execGuarded(dialog, hung), int(QDialog::Accepted));
    QVERIFY(!hung);
    QCOMPARE(runs, 1);
    QVERIFY(visibleWhenRun);
    QVERIFY(modalWhenRun);

    // Shown once more after the end, it neither starts a second transfer nor stays.
    QCOMPARE(execGuarded(dialog, hung), int(QDialog::Accepted));
    QVERIFY(!hung);
    QCOMPARE(runs, 1);
  }

  void transferEndingAtOnceClosesTheDialog() {
    // As when the port cannot be opened again: the end comes inside the start.
    GuiFixture f;
    FrmProgress dialog(f.context, TransferKind::WriteAll, kWholeRadioBlocks);
    dialog.setStartAction([&] { dialog.finish(); });
    bool hung = false;
    QCOMPARE(execGuarded(dialog, hung), int(QDialog::Accepted));
    QVERIFY(!hung);
  }

  void finishedBeforeItIsShownDoesNotStay() {
    GuiFixture f;
    FrmProgress dialog(f.context, TransferKind::ReadAll, kWholeRadioBlocks);
    int runs = 0;
    dialog.setStartAction([&] { ++runs; });
    dialog.finish();
    bool hung = false;
    QCOMPARE(execGuarded(dialog, hung), int(QDialog::Accepted));
    QVERIFY(!hung);
    QCOMPARE(runs, 0);
  }

  void startActionFailingIsReportedAndCloses() {
    GuiFixture f;
    f.prompter.expectFixed("ProgressForm_LoadError", Answer::Ok);
    FrmProgress dialog(f.context, TransferKind::ReadAll, kWholeRadioBlocks);
    dialog.setStartAction([] { throw std::runtime_error("port vanished"); });
    bool hung = false;
    QCOMPARE(execGuarded(dialog, hung), int(QDialog::Rejected));
    QVERIFY(!hung);
    QVERIFY2(f.prompter.unexpected.empty(), f.prompter.unexpectedText().c_str());
    QCOMPARE(f.prompter.pending(), std::size_t{0});
  }

  void onlyTheEndOfTheTransferCloses_data() {
    QTest::addColumn<QString>("attempt");
    QTest::newRow("Escape") << "escape";
    QTest::newRow("window close") << "close";
    QTest::newRow("reject") << "reject";
  }
  void onlyTheEndOfTheTransferCloses() {
    QFETCH(QString, attempt);
    GuiFixture f;
    FrmProgress dialog(f.context, TransferKind::WriteAll, kWholeRadioBlocks);
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    const auto tryToClose = [&] {
      if (attempt == "escape") {
        QTest::keyClick(&dialog, Qt::Key_Escape);
      } else if (attempt == "close") {
        dialog.close();
      } else {
        dialog.reject();
      }
    };
    tryToClose();
    QVERIFY(dialog.isVisible());

    dialog.finish();
    QVERIFY(!dialog.isVisible());
    QCOMPARE(dialog.result(), int(QDialog::Accepted));
    QVERIFY(f.prompter.asked.empty());
  }
};

}  // namespace cps::gui::test

QTEST_MAIN(cps::gui::test::FrmProgressTest)
#include "frm_progress_test.moc"
