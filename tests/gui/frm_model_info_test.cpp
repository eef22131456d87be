// The model information dialog: what it shows for the current model and band,
// when it asks before replacing the document, and what a confirmed change does
// to the current model, band, limits and the document's model information.
#include "gui/app/frm_model_info.hpp"

#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QtTest>
#include <memory>
#include <string>

#include "core/document/codec.hpp"
#include "gui/app/app_context.hpp"
#include "gui_fixture.hpp"
#include "program_folder.hpp"
#include "scripted_prompter.hpp"

namespace cps::gui::test {

namespace {

constexpr int kQuestion = 9016;
constexpr int kQuestionTitle = 9019;

// One dialog on a fresh program folder, with the model and band the run starts from.
struct Fixture {
  Fixture(const std::string& model, const std::string& band) {
    context.setPrompter(prompter);
    context.state.model.select(model, band);
    context.state.workingDocument.modelInfo.modelName.assign(model);
    context.state.workingDocument.modelInfo.bandIndex =
        static_cast<std::int16_t>(context.state.model.currentBandIndex);
    // Made after the state: the dialog shows the state it finds when it opens.
    owned = std::make_unique<FrmModelInfo>(context, [this] { ++newDocuments; });
    owned->show();
  }
  template <typename T>
  T* child(const char* name) {
    return owned->findChild<T*>(QString::fromLatin1(name));
  }
  QString unexpected() const {
    QStringList all;
    for (const auto& u : prompter.unexpected) all << QString::fromStdString(u);
    return all.join("; ");
  }

  ProgramFolder folder;
  AppContext context{folder.folders(), "cps530"};
  ScriptedPrompter prompter;
  int newDocuments = 0;
  std::unique_ptr<FrmModelInfo> owned;
  FrmModelInfo& dialog() { return *owned; }
};

}  // namespace

class FrmModelInfoTest : public QObject {
  Q_OBJECT

 private slots:
  void listsShowTheCurrentModelAndBand_data() {
    QTest::addColumn<QString>("model");
    QTest::addColumn<QString>("band");
    QTest::addColumn<QString>("shownModel");
    QTest::addColumn<int>("shownBand");
    QTest::newRow("start-up model and band") << "TW530G"
                                             << "400 - 480 MHz"
                                             << "CPS530G" << 0;
    QTest::newRow("TW530, last band") << "TW530"
                                      << "450 - 520 MHz"
                                      << "CPS530" << 16;
    QTest::newRow("band after the gap at 15") << "TW530"
                                              << "350 - 390 MHz"
                                              << "CPS530" << 15;
    // A document from elsewhere may carry names the lists do not hold.
    QTest::newRow("unknown model shows the first") << "TW999"
                                                   << "136 - 174 MHz"
                                                   << "CPS530" << 8;
    QTest::newRow("unknown band shows the first") << "TW530G"
                                                  << ""
                                                  << "CPS530G" << 0;
  }
  void listsShowTheCurrentModelAndBand() {
    QFETCH(QString, model);
    QFETCH(QString, band);
    QFETCH(QString, shownModel);
    QFETCH(int, shownBand);
    Fixture f(model.toStdString(), band.toStdString());
    auto* models = f.child<QComboBox>("Combo1");
    auto* bands = f.child<QComboBox>("Combo2");
    QVERIFY(models && bands);
    QCOMPARE(models->count(), 2);
    QCOMPARE(models->itemText(0), QString("CPS530"));
    QCOMPARE(models->itemText(1), QString("CPS530G"));
    QCOMPARE(models->currentText(), shownModel);
    QCOMPARE(bands->currentIndex(), shownBand);
    QVERIFY(!models->isEditable() && !bands->isEditable());
  }

  void bandListFollowsTheBandTable() {
    Fixture f("TW530G", "400 - 480 MHz");
    auto* bands = f.child<QComboBox>("Combo2");
    const auto table = BandTable();
    QCOMPARE(bands->count(), static_cast<int>(table.size()));
    for (int i = 0; i < bands->count(); ++i) {
      const auto label = table[static_cast<std::size_t>(i)].label;
      QCOMPARE(bands->itemText(i), QString::fromLatin1(label.data(), qsizetype(label.size())));
    }
  }

  void ok_data() {
    QTest::addColumn<QString>("model");
    QTest::addColumn<QString>("band");
    QTest::addColumn<QString>("answer");  // "" when no question is expected
    QTest::addColumn<QString>("modelAfter");
    QTest::addColumn<QString>("bandAfter");
    QTest::addColumn<int>("indexAfter");
    QTest::addColumn<double>("low");
    QTest::addColumn<double>("high");
    // The start is TW530G on "400 - 480 MHz".
    QTest::newRow("nothing changed: no question, same document")
        << "CPS530G"
        << "400 - 480 MHz"
        << ""
        << "TW530G"
        << "400 - 480 MHz" << 0 << 400.0 << 480.0;
    QTest::newRow("136 - 174 MHz confirmed") << "CPS530G"
                                             << "136 - 174 MHz"
                                             << "ok"
                                             << "TW530G"
                                             << "136 - 174 MHz" << 8 << 136.0 << 174.0;
    QTest::newRow("450 - 520 MHz confirmed") << "CPS530G"
                                             << "450 - 520 MHz"
                                             << "ok"
                                             << "TW530G"
                                             << "450 - 520 MHz" << 32 << 450.0 << 520.0;
    QTest::newRow("model confirmed") << "CPS530"
                                     << "400 - 480 MHz"
                                     << "ok"
                                     << "TW530"
                                     << "400 - 480 MHz" << 0 << 400.0 << 480.0;
    QTest::newRow("model and band confirmed") << "CPS530"
                                              << "350 - 390 MHz"
                                              << "ok"
                                              << "TW530"
                                              << "350 - 390 MHz" << 16 << 350.0 << 390.0;
    QTest::newRow("band change cancelled") << "CPS530G"
                                           << "136 - 174 MHz"
                                           << "cancel"
                                           << "TW530G"
                                           << "400 - 480 MHz" << 0 << 400.0 << 480.0;
    QTest::newRow("model change cancelled") << "CPS530"
                                            << "400 - 480 MHz"
                                            << "cancel"
                                            << "TW530G"
                                            << "400 - 480 MHz" << 0 << 400.0 << 480.0;
  }
  void ok() {
    QFETCH(QString, model);
    QFETCH(QString, band);
    QFETCH(QString, answer);
    QFETCH(QString, modelAfter);
    QFETCH(QString, bandAfter);
    QFETCH(int, indexAfter);
    QFETCH(double, low);
    QFETCH(double, high);
    Fixture f("TW530G", "400 - 480 MHz");
    const auto documentBefore = f.context.state.workingDocument;
    if (!answer.isEmpty())
      f.prompter.expect(kQuestion, answer == "ok" ? Answer::Ok : Answer::Cancel);

    f.child<QComboBox>("Combo1")->setCurrentText(model);
    f.child<QComboBox>("Combo2")->setCurrentText(band);
    QTest::mouseClick(f.child<QPushButton>("CommandOK"), Qt::LeftButton);

    QVERIFY2(f.prompter.unexpected.empty(), qPrintable(f.unexpected()));
    QCOMPARE(f.prompter.pending(), std::size_t{0});
    if (!answer.isEmpty()) {
      const Message& asked = f.prompter.asked.front();
      QCOMPARE(asked.titleTextId, kQuestionTitle);
      QVERIFY(asked.buttons == Buttons::OkCancel);
      QVERIFY(asked.icon == Icon::Warning);
    }
    // Whatever the answer, OK closes the dialog.
    QVERIFY(!f.dialog().isVisible());
    QCOMPARE(f.dialog().result(), int(QDialog::Accepted));

    const auto& state = f.context.state;
    QCOMPARE(QString::fromStdString(state.model.currentModel), modelAfter);
    QCOMPARE(QString::fromStdString(state.model.currentBandLabel), bandAfter);
    QCOMPARE(state.model.currentBandIndex, indexAfter);
    QCOMPARE(state.model.limits.low, low);
    QCOMPARE(state.model.limits.high, high);
    const bool replaced = answer == "ok";
    QCOMPARE(f.newDocuments, replaced ? 1 : 0);
    if (replaced) {
      QCOMPARE(QString::fromStdString(TrimFixed(state.workingDocument.modelInfo.modelName)),
               modelAfter);
      QCOMPARE(int(state.workingDocument.modelInfo.bandIndex), indexAfter);
    } else {
      QVERIFY(state.workingDocument == documentBefore);
    }
  }

  void cancelAndEscapeChangeNothing_data() {
    QTest::addColumn<bool>("escape");
    QTest::newRow("Cancel button") << false;
    QTest::newRow("Escape key") << true;
  }
  void cancelAndEscapeChangeNothing() {
    QFETCH(bool, escape);
    Fixture f("TW530G", "400 - 480 MHz");
    f.child<QComboBox>("Combo1")->setCurrentText("CPS530");
    f.child<QComboBox>("Combo2")->setCurrentText("136 - 174 MHz");
    if (escape) {
      QTest::keyClick(&f.dialog(), Qt::Key_Escape);
    } else {
      QTest::mouseClick(f.child<QPushButton>("CommandCancel"), Qt::LeftButton);
    }
    QVERIFY(!f.dialog().isVisible());
    QCOMPARE(f.dialog().result(), int(QDialog::Rejected));
    QVERIFY(f.prompter.asked.empty());
    QCOMPARE(f.newDocuments, 0);
    QCOMPARE(QString::fromStdString(f.context.state.model.currentModel), QString("TW530G"));
    QCOMPARE(QString::fromStdString(f.context.state.model.currentBandLabel),
             QString("400 - 480 MHz"));
  }

  void enterInAListMovesOn() {
    Fixture f("TW530G", "400 - 480 MHz");
    QApplication::setActiveWindow(&f.dialog());
    QVERIFY(QTest::qWaitForWindowActive(&f.dialog()));
    auto* models = f.child<QComboBox>("Combo1");
    auto* bands = f.child<QComboBox>("Combo2");
    models->setFocus();
    QTest::keyClick(models, Qt::Key_Return);
    QCOMPARE(QApplication::focusWidget(), bands);
    QTest::keyClick(bands, Qt::Key_Enter, Qt::KeypadModifier);
    QCOMPARE(QApplication::focusWidget(), f.child<QPushButton>("CommandOK"));
    // Enter in a list is not OK: the dialog is still open and nothing was asked.
    QVERIFY(f.dialog().isVisible());
    QVERIFY(f.prompter.asked.empty());
  }

  void captionsComeFromTheLanguageFile_data() { LanguageRows(); }
  void captionsComeFromTheLanguageFile() {
    QFETCH(int, language);
    ProgramFolder folder;
    AppContext context(folder.folders(), "cps530");
    ScriptedPrompter prompter;
    context.setPrompter(prompter);
    context.setLanguage(language);
    FrmModelInfo dialog(context, [] {});
    const auto caption = [&](const char* name) {
      if (auto* label = dialog.findChild<QLabel*>(QString::fromLatin1(name))) return label->text();
      return dialog.findChild<QPushButton*>(QString::fromLatin1(name))->text();
    };
    QCOMPARE(dialog.windowTitle(), context.text(13000));
    QCOMPARE(caption("Label1"), context.text(13001));
    QCOMPARE(caption("Label2"), context.text(13002));
    QCOMPARE(caption("CommandOK"), context.text(9017));
    QCOMPARE(caption("CommandCancel"), context.text(9018));
    for (int id : {13000, 13001, 13002, 9017, 9018}) QVERIFY(!context.text(id).isEmpty());
    QVERIFY(dialog.findChild<QPushButton*>("CommandOK")->isDefault());
  }
};

}  // namespace cps::gui::test

QTEST_MAIN(cps::gui::test::FrmModelInfoTest)
#include "frm_model_info_test.moc"
