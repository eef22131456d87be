// The radio information window: what it shows of the record after an
// information read (erased and partly written radios, the 96-character repair
// reason, models and bands it has no name for), its captions in both
// languages, closing inside the main window's area, and that nothing typed
// into it is kept.
#include "gui/link/frm_radio_info.hpp"

#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QtTest>
#include <algorithm>
#include <cstring>

#include "core/document/defaults.hpp"
#include "core/link/radio_image.hpp"
#include "gui_fixture.hpp"

namespace cps::gui::test {

namespace {

template <typename T>
T* child(QWidget& window, const QString& name) {
  return window.findChild<T*>(name);
}
QLineEdit* textBox(QWidget& window, int n) {
  return child<QLineEdit>(window, QStringLiteral("Text1(%1)").arg(n));
}
QPlainTextEdit* repairReason(QWidget& window) {
  return child<QPlainTextEdit>(window, QStringLiteral("Text1(4)"));
}
QComboBox* list(QWidget& window, int n) {
  return child<QComboBox>(window, QStringLiteral("Combo1(%1)").arg(n));
}

// The record as the run has it before a read: the defaults of a new document
// (on 10 December 2026), after a whole-radio read of a TW530 for 136 - 174 MHz.
void prepareRecord(AppContext& context) {
  ResetRadioInfo(context.state.radioInfo, context.state.model, Today{"2026-12-10", 12});
  context.state.radioInfo.model = "TW530";
  context.state.radioInfo.bandCode = 8;
}

void put(RadioInfoArea& area, std::size_t index, const QByteArray& bytes) {
  std::memcpy(area.data() + index, bytes.constData(), static_cast<std::size_t>(bytes.size()));
}

}  // namespace

class FrmRadioInfoTest : public QObject {
  Q_OBJECT

 private slots:
  void showsWhatTheRadioHolds_data() {
    QTest::addColumn<int>("fill");
    QTest::addColumn<QStringList>("written");  // "index:text" placed in the information area
    QTest::addColumn<QStringList>("shown");    // Text1(0) to Text1(11)
    QTest::newRow("erased radio") << 0xFF << QStringList{}
                                  << QStringList{"", "", "", "", "", "V2.00",
                                                 "", "", "", "", "", ""};
    QTest::newRow("cleared to zero")
        << 0x00 << QStringList{}
        << QStringList{"", "", "", "", "", "V2.00", "", "", "", "", "", ""};
    QTest::newRow("partly written")
        << 0xFF << QStringList{"0:0591", "48:SN-0042", "96:battery contact", "432:DLR7"}
        << QStringList{"0591", "SN-0042", "", "", "battery contact", "V2.00", "", "",
                       "DLR7", "",        "", ""};
    QTest::newRow("every field written")
        << 0xFF
        << QStringList{"0:0595",         "16:12-1-E-1",    "32:001A",       "48:A1B2C3D4E5F6G7H8",
                       "64:2026-01-05",  "80:2026-11-30",  "96:new keypad", "432:FZ-DEALER-01",
                       "448:2026-02-01", "464:2026-03-15", "480:Lin"}
        << QStringList{"0595",         "A1B2C3D4E5F6G7H8",
                       "2026-01-05",   "2026-11-30",
                       "new keypad",   "V2.00",
                       "12-1-E-1",     "001A",
                       "FZ-DEALER-01", "2026-02-01",
                       "2026-03-15",   "Lin"};
  }
  void showsWhatTheRadioHolds() {
    QFETCH(int, fill);
    QFETCH(QStringList, written);
    QFETCH(QStringList, shown);
    GuiFixture f;
    prepareRecord(f.context);
    RadioInfoArea area{};
    area.fill(static_cast<std::uint8_t>(fill));
    for (const QString& entry : written) {
      const auto colon = entry.indexOf(':');
      put(area, entry.left(colon).toULong(), entry.mid(colon + 1).toLatin1());
    }
    UnpackInfoArea(area, f.context.state.radioInfo);

    FrmRadioInfo window(f.context);
    // Model, band and version are not in the information area: they keep theirs.
    QCOMPARE(list(window, 0)->currentText(), QString("CPS530"));
    QCOMPARE(list(window, 1)->currentText(), QString("136 - 174 MHz"));
    for (int n = 0; n < FrmRadioInfo::kTextBoxes; ++n) {
      const QString text =
          n == 4 ? repairReason(window)->toPlainText() : textBox(window, n)->text();
      QVERIFY2(text == shown[n], qPrintable(QString("Text1(%1): \"%2\"").arg(n).arg(text)));
    }
  }

  void showsTheDefaultsOfANewDocument() {
    GuiFixture f;
    prepareRecord(f.context);
    FrmRadioInfo window(f.context);
    const QStringList shown{"0595",     "",     "2026-12-10", "2026-12-10", "",           "V2.00",
                            "12-1-E-1", "001A", "",           "2026-12-10", "2026-12-10", ""};
    for (int n = 0; n < FrmRadioInfo::kTextBoxes; ++n) {
      const QString text =
          n == 4 ? repairReason(window)->toPlainText() : textBox(window, n)->text();
      QCOMPARE(text, shown[n]);
    }
  }

  void repairReasonShownInFull_data() {
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("shown");
    const QByteArray full =
        QByteArray("Display cracked, keypad replaced, antenna socket resoldered; ")
            .leftJustified(96, '*');
    QTest::newRow("96 characters fill the field") << full << QString::fromLatin1(full);
    QTest::newRow("10 characters and a 0 byte")
        << QByteArray("Water dama\0ge to the speaker", 28) << "Water dama";
    QTest::newRow("lines kept") << QByteArray("line one\r\nline two") << "line one\nline two";
  }
  void repairReasonShownInFull() {
    QFETCH(QByteArray, bytes);
    QFETCH(QString, shown);
    GuiFixture f;
    prepareRecord(f.context);
    RadioInfoArea area{};
    area.fill(0xFF);
    put(area, 96, bytes);
    UnpackInfoArea(area, f.context.state.radioInfo);
    FrmRadioInfo window(f.context);
    QCOMPARE(repairReason(window)->toPlainText(), shown);
  }

  void typingStopsAtTheFieldSizes() {
    GuiFixture f;
    prepareRecord(f.context);
    FrmRadioInfo window(f.context);
    QCOMPARE(textBox(window, 0)->maxLength(), 4);
    for (int n : {1, 2, 3, 5, 6, 7, 8, 9, 10, 11}) QCOMPARE(textBox(window, n)->maxLength(), 16);

    auto* reason = repairReason(window);
    QVERIFY(reason);
    reason->clear();
    QTest::keyClicks(reason, QString(100, u'x'));
    QCOMPARE(reason->toPlainText(), QString(96, u'x'));

    // Typed into the middle of a full box, the new characters are refused and
    // the end of the text stays.
    const QString full = QString(48, u'a') + QString(48, u'b');
    reason->setPlainText(full);
    QTextCursor cursor = reason->textCursor();
    cursor.setPosition(10);
    reason->setTextCursor(cursor);
    QTest::keyClicks(reason, "XYZ");
    QCOMPARE(reason->toPlainText(), full);

    reason->clear();
    reason->insertPlainText(QString(120, u'p'));
    QCOMPARE(reason->toPlainText(), QString(96, u'p'));
  }

  void listsHoldTheModelsAndTheBandTable() {
    GuiFixture f;
    prepareRecord(f.context);
    FrmRadioInfo window(f.context);
    QCOMPARE(list(window, 0)->count(), 2);
    QCOMPARE(list(window, 0)->itemText(0), QString("CPS530"));
    QCOMPARE(list(window, 0)->itemText(1), QString("CPS530G"));
    const auto table = BandTable();
    QCOMPARE(list(window, 1)->count(), 17);
    for (int i = 0; i < 17; ++i) {
      const auto label = table[static_cast<std::size_t>(i)].label;
      QCOMPARE(list(window, 1)->itemText(i),
               QString::fromLatin1(label.data(), qsizetype(label.size())));
    }
    QCOMPARE(list(window, 1)->itemText(16), QString("450 - 520 MHz"));
    QVERIFY(!list(window, 0)->isEditable() && !list(window, 1)->isEditable());
  }

  void modelAndBandAsReported_data() {
    QTest::addColumn<QString>("model");
    QTest::addColumn<int>("bandCode");
    QTest::addColumn<QString>("shownModel");
    QTest::addColumn<QString>("shownBand");
    QTest::newRow("TW530G, 450 - 520 MHz") << "TW530G" << 32 << "CPS530G"
                                           << "450 - 520 MHz";
    QTest::newRow("name with trailing spaces") << "TW530 " << 0 << "CPS530"
                                               << "400 - 480 MHz";
    QTest::newRow("band after the gap at 15") << "TW530" << 16 << "CPS530"
                                              << "350 - 390 MHz";
    // Never another model or band in place of what the radio reported.
    QTest::newRow("model this program does not know") << "TW777" << 0 << "TW777"
                                                      << "400 - 480 MHz";
    QTest::newRow("band code this program does not know") << "TW530" << 20 << "CPS530"
                                                          << "20";
  }
  void modelAndBandAsReported() {
    QFETCH(QString, model);
    QFETCH(int, bandCode);
    QFETCH(QString, shownModel);
    QFETCH(QString, shownBand);
    GuiFixture f;
    prepareRecord(f.context);
    f.context.state.radioInfo.model = model.toStdString();
    f.context.state.radioInfo.bandCode = bandCode;
    FrmRadioInfo window(f.context);
    QCOMPARE(list(window, 0)->currentText(), shownModel);
    QCOMPARE(list(window, 1)->currentText(), shownBand);
    // Showing the record again does not pile up items.
    const int models = list(window, 0)->count();
    const int bands = list(window, 1)->count();
    window.ShowByData();
    QCOMPARE(list(window, 0)->count(), models);
    QCOMPARE(list(window, 1)->count(), bands);
    QCOMPARE(list(window, 0)->currentText(), shownModel);
  }

  void bytesOfAnyCodePageShowWithoutLoss() {
    GuiFixture f;
    prepareRecord(f.context);
    // A name written by a program on a Chinese system (two GBK bytes), and a date
    // the program made in the user's own form.
    f.context.state.radioInfo.handledBy = "\xC0\xEE";
    f.context.state.radioInfo.productionDate = "2026年12月10日";
    FrmRadioInfo window(f.context);
    QCOMPARE(textBox(window, 11)->text(), QString::fromLatin1("\xC0\xEE"));
    QVERIFY(!textBox(window, 11)->text().contains(QChar::ReplacementCharacter));
    QCOMPARE(textBox(window, 2)->text(), QString::fromUtf8("2026年12月10日"));
  }

  void captionsComeFromTheLanguageFile_data() { LanguageRows(); }
  void captionsComeFromTheLanguageFile() {
    QFETCH(int, language);
    GuiFixture f;
    f.context.setLanguage(language);
    prepareRecord(f.context);
    FrmRadioInfo window(f.context);
    const std::pair<const char*, int> labels[] = {
        {"Label2", 21002},     {"Label1(8)", 21003},  {"Label1(9)", 21004},  {"Label1(0)", 21005},
        {"Label1(1)", 21006},  {"Label1(2)", 21007},  {"Label1(3)", 21008},  {"Label1(4)", 21009},
        {"Label1(6)", 21010},  {"Label1(5)", 21011},  {"Label1(7)", 21012},  {"Label1(10)", 21013},
        {"Label1(11)", 21014}, {"Label1(12)", 21015}, {"Label1(13)", 21016},
    };
    for (const auto& [name, id] : labels) {
      auto* label = child<QLabel>(window, QString::fromLatin1(name));
      QVERIFY2(label, name);
      QVERIFY2(!f.context.text(id).isEmpty(), name);
      QCOMPARE(label->text(), f.context.text(id));
    }
    QCOMPARE(window.objectName(), QString("FrmRadioInfo"));
    QCOMPARE(window.windowTitle(), f.context.text(21000));
    QCOMPARE(child<QGroupBox>(window, "Frame1")->title(), f.context.text(21001));
    QCOMPARE(child<QPushButton>(window, "CommandClose")->text(), f.context.text(9023));
    QCOMPARE(child<QPushButton>(window, "CommandHelp")->text(), f.context.text(9025));
    // Help is not offered in this program.
    QVERIFY(child<QPushButton>(window, "CommandHelp")->isHidden());

    // The four dealer fields sit in the dealer frame; each caption is left of its field.
    window.show();
    auto* frame = child<QGroupBox>(window, "Frame1");
    for (int n : {8, 9, 10, 11}) QVERIFY(frame->isAncestorOf(textBox(window, n)));
    for (const auto& [labelName, field] :
         {std::pair{"Label2", "Text1(0)"}, std::pair{"Label1(0)", "Combo1(0)"},
          std::pair{"Label1(5)", "Text1(4)"}, std::pair{"Label1(13)", "Text1(11)"}}) {
      auto* label = child<QLabel>(window, QString::fromLatin1(labelName));
      auto* control = child<QWidget>(window, QString::fromLatin1(field));
      QVERIFY2(label->isVisible(), labelName);
      QCOMPARE(label->buddy(), control);
      QVERIFY2(label->mapTo(&window, QPoint(label->width(), 0)).x() <=
                   control->mapTo(&window, QPoint(0, 0)).x(),
               labelName);
    }
  }

  void closeTakesTheFrameInTheMainWindow_data() {
    QTest::addColumn<bool>("deleteOnClose");
    QTest::newRow("as the main window opens it") << true;
    QTest::newRow("kept after closing") << false;
  }
  void closeTakesTheFrameInTheMainWindow() {
    QFETCH(bool, deleteOnClose);
    GuiFixture f;
    prepareRecord(f.context);
    QMdiArea area;
    auto* window = new FrmRadioInfo(f.context);
    window->setAttribute(Qt::WA_DeleteOnClose, deleteOnClose);
    QPointer<QMdiSubWindow> frame = area.addSubWindow(window);
    frame->setAttribute(Qt::WA_DeleteOnClose, deleteOnClose);
    area.show();
    window->show();
    QVERIFY(QTest::qWaitForWindowExposed(&area));
    QVERIFY(frame->isVisible());

    QTest::mouseClick(child<QPushButton>(*window, "CommandClose"), Qt::LeftButton);
    if (deleteOnClose) {
      QTRY_VERIFY(frame.isNull());
      QVERIFY(area.subWindowList().isEmpty());
    } else {
      QVERIFY(!frame->isVisible());
    }
    // Only the window closed, not what it lives in.
    QVERIFY(area.isVisible());
  }

  void closeOnItsOwn() {
    GuiFixture f;
    prepareRecord(f.context);
    FrmRadioInfo window(f.context);
    window.show();
    QTest::mouseClick(child<QPushButton>(window, "CommandClose"), Qt::LeftButton);
    QVERIFY(!window.isVisible());
  }

  void nothingTypedIsKept() {
    GuiFixture f;
    prepareRecord(f.context);
    const RadioInfoRecord before = f.context.state.radioInfo;
    const DocumentRecord document = f.context.state.workingDocument;
    const ModelState model = f.context.state.model;
    {
      FrmRadioInfo window(f.context);
      window.show();
      for (int n = 0; n < FrmRadioInfo::kTextBoxes; ++n) {
        if (n == 4) continue;
        QLineEdit* box = textBox(window, n);
        QVERIFY(!box->isReadOnly());
        box->selectAll();
        QTest::keyClicks(box, "9Z");
        QCOMPARE(box->text(), QString("9Z"));
        QTest::keyClick(box, Qt::Key_Return);
      }
      repairReason(window)->selectAll();
      QTest::keyClicks(repairReason(window), "typed");
      list(window, 0)->setCurrentIndex(1);
      list(window, 1)->setCurrentIndex(5);
      QTest::mouseClick(child<QPushButton>(window, "CommandClose"), Qt::LeftButton);
    }
    QVERIFY(f.context.state.radioInfo == before);
    QVERIFY(f.context.state.workingDocument == document);
    QCOMPARE(f.context.state.model.currentModel, model.currentModel);
    QCOMPARE(f.context.state.model.currentBandIndex, model.currentBandIndex);
    QVERIFY(f.prompter.asked.empty());
  }
};

}  // namespace cps::gui::test

QTEST_MAIN(cps::gui::test::FrmRadioInfoTest)
#include "frm_radio_info_test.moc"
