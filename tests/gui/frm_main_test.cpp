// The main window: title and status bar, the tree and the child windows, the
// file commands with their questions and refusals, the language switch and the
// question at the end.
#include "gui/app/frm_main.hpp"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QSettings>
#include <QSplitter>
#include <QToolBar>
#include <QTreeWidget>
#include <QtTest>
#include <filesystem>
#include <fstream>

#include "core/document/data_file.hpp"
#include "core/document/instances.hpp"
#include "gui/app/commits_edits.hpp"
#include "gui/app/reloads_from_document.hpp"
#include "gui/app/start_up.hpp"
#include "gui_fixture.hpp"

namespace cps::gui::test {

namespace fs = std::filesystem;

class FrmMainTest : public QObject {
  Q_OBJECT

  // A stand-in child window class, counted as it is made.
  static void registerStandIn(FrmMain& window, const QString& name, int& made) {
    window.registerChildWindow(name, [&made] {
      ++made;
      return new QWidget;
    });
  }

  static int openWindows(FrmMain& window) {
    return static_cast<int>(window.mdiArea().subWindowList().size());
  }

  // A document that differs from its saved image.
  static void change(AppContext& context) {
    context.state.workingDocument.optionalFeatures.values[5] = 2;
    QVERIFY(IsDocumentChanged(context.state));
  }

  static std::string writeDataFile(GuiFixture& f, const std::string& name,
                                   const std::string& version, std::size_t size = 8595) {
    DocumentRecord document = f.context.state.workingDocument;
    document.version.assign(version);
    document.modelInfo.bandIndex = 8;
    auto bytes = document.toBytes();
    const auto path = f.folder.file(name);
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(std::min(size, bytes.size())));
    return path.string();
  }

 private slots:
  void titleAndStatusBar() {
    GuiFixture f;
    FrmMain window(f.context);
    QCOMPARE(window.windowTitle(), f.context.text(12000) + "[CPS530G:400 - 480 MHz][" +
                                       f.context.text(12009) + ":new.dat]");
    QCOMPARE(window.findChild<QLabel*>("Panel2")->text(), QString("CPS530G[400 - 480 MHz]"));
    QCOMPARE(window.findChild<QLabel*>("Panel3")->text(), f.context.text(12008) + "1");
    auto* tree = window.findChild<QTreeWidget*>("TreeView1");
    QCOMPARE(tree->topLevelItem(0)->text(0), QString("CPS530G"));
    QCOMPARE(tree->topLevelItem(0)->childCount(), 8);
    QVERIFY(tree->topLevelItem(0)->isExpanded());
  }

  void menusReachableByAccessKeys() {
    GuiFixture f;
    FrmMain window(f.context);
    // Every visible menu and entry has an access key, unique within its menu.
    QSet<QChar> menuKeys;
    for (QAction* menuAction : window.menuBar()->actions()) {
      if (!menuAction->isVisible()) continue;
      const QString caption = menuAction->text();
      const auto amp = caption.indexOf('&');
      QVERIFY2(amp >= 0, qPrintable(caption));
      QVERIFY2(!menuKeys.contains(caption[amp + 1].toLower()), qPrintable(caption));
      menuKeys.insert(caption[amp + 1].toLower());
      QSet<QChar> entryKeys;
      for (QAction* entry : menuAction->menu()->actions()) {
        if (entry->isSeparator() || !entry->isVisible()) continue;
        const QString text = entry->text();
        const auto key = text.indexOf('&');
        QVERIFY2(key >= 0, qPrintable(text));
        QVERIFY2(!entryKeys.contains(text[key + 1].toLower()), qPrintable(text));
        entryKeys.insert(text[key + 1].toLower());
      }
    }
    QCOMPARE(window.action("mnuFileNew")->shortcut(), QKeySequence("Ctrl+N"));
    QCOMPARE(window.action("MnuCHDelete")->shortcut(), QKeySequence(Qt::Key_Delete));
    // Hidden from the start: the channel commands, the entries this
    // configuration does not offer, help topics.
    for (const char* hidden : {"MnuTestFre", "MnuRadioFre", "mnuHelpTopic", "mnuFileEOpen"}) {
      QVERIFY2(!window.action(hidden)->isVisible(), hidden);
    }
    QVERIFY(window.action("MnuDTMF")->isVisible());
  }

  // Every editor the main window offers opens from its menu entry and its tree node.
  void everyOfferedEditorCanBeOpened() {
    GuiFixture f;
    FrmMain window(f.context);
    for (const char* entry : {"mnuChannelInfo", "mnuOptFeature", "MnuDTMF", "MnuKey", "MnuScan",
                              "MnuAlert", "mnuEmbeddedMsg", "MnuCHHabits"}) {
      QVERIFY2(window.action(entry)->isEnabled(), entry);
    }
    auto* tree = window.findChild<QTreeWidget*>("TreeView1");
    QTreeWidgetItem* root = tree->topLevelItem(0);
    for (int i = 0; i < root->childCount(); ++i) {
      // Radio information comes with the radio link, which this test leaves out.
      if (root->child(i)->data(0, Qt::UserRole).toString() == "N7") continue;
      QVERIFY2(root->child(i)->flags() & Qt::ItemIsEnabled,
               qPrintable(root->child(i)->data(0, Qt::UserRole).toString()));
    }
    QTreeWidgetItem* keys = root->child(3);
    QCOMPARE(keys->data(0, Qt::UserRole).toString(), QStringLiteral("N8"));
    emit tree->itemClicked(keys, 0);
    QVERIFY(window.childWindow("FrmKey"));
  }

  void treeAndMenuOpenOneWindow() {
    GuiFixture f;
    FrmMain window(f.context);
    window.CloseCurAllWindows();  // the channel table opens with the main window
    int made = 0;
    registerStandIn(window, "FrmOptFeatures", made);
    auto* tree = window.findChild<QTreeWidget*>("TreeView1");
    QTreeWidgetItem* node = tree->topLevelItem(0)->child(1);
    QCOMPARE(node->data(0, Qt::UserRole).toString(), QString("N2"));
    emit tree->itemClicked(node, 0);
    emit tree->itemClicked(node, 0);
    window.action("mnuOptFeature")->trigger();
    QCOMPARE(made, 1);
    QCOMPARE(openWindows(window), 1);
    QVERIFY(window.childWindow("FrmOptFeatures"));
    window.CloseCurAllWindows();
    QCOMPARE(openWindows(window), 0);
    window.action("mnuOptFeature")->trigger();
    QCOMPARE(made, 2);
  }

  // Before a read only the channel table commits what is typed in it; before a
  // write every window that holds typed values does.
  void windowsCommitBeforeATransferAsTheTableSays_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("beforeRead");
    QTest::addColumn<bool>("beforeWrite");
    QTest::newRow("channel table") << "frmCommChInfo" << true << true;
    QTest::newRow("optional features") << "FrmOptFeatures" << false << true;
    QTest::newRow("DTMF") << "FrmDTMF" << false << true;
    QTest::newRow("embedded message") << "FrmEmbMsg" << false << true;
    QTest::newRow("keys") << "FrmKey" << false << false;
    QTest::newRow("scan") << "FrmScan" << false << false;
  }
  void windowsCommitBeforeATransferAsTheTableSays() {
    QFETCH(QString, name);
    QFETCH(bool, beforeRead);
    QFETCH(bool, beforeWrite);
    struct Editor final : QWidget, CommitsEdits, ReloadsFromDocument {
      int commits = 0;
      int reloads = 0;
      void commitEdits() override { ++commits; }
      void reloadFromDocument() override { ++reloads; }
    };
    GuiFixture f;
    FrmMain window(f.context);
    window.CloseCurAllWindows();
    Editor* editor = nullptr;
    window.registerChildWindow(name, [&editor] { return editor = new Editor; });
    QVERIFY(window.ShowChildWindow(name));
    QVERIFY(editor);
    window.commitChildWindows(CommitBefore::Read);
    QCOMPARE(editor->commits, beforeRead ? 1 : 0);
    window.commitChildWindows(CommitBefore::Write);
    QCOMPARE(editor->commits, (beforeRead ? 1 : 0) + (beforeWrite ? 1 : 0));
    window.reloadChildWindows();
    QCOMPARE(editor->reloads, 1);
  }

  void panelAndBars() {
    GuiFixture f;
    FrmMain window(f.context);
    window.show();
    auto* panel = window.findChild<QWidget*>("Picture1");
    QVERIFY(panel->isVisible());
    window.findChild<QToolBar*>("Toolbar1")->actions().last()->trigger();
    QVERIFY(!panel->isVisible());
    QVERIFY(!window.action("mnuTreeView")->isChecked());
    window.action("mnuTreeView")->trigger();
    QVERIFY(panel->isVisible());
    window.action("mnuViewToolbar")->trigger();
    QVERIFY(!window.findChild<QToolBar*>("tbToolBar")->isVisible());
    // The splitter never makes the panel narrower than 300 twips (20 pixels).
    auto* splitter = window.findChild<QSplitter*>("Splitter");
    splitter->setSizes({1, 1000});
    QVERIFY(panel->width() >= 20);
  }

  void exitQuestion_data() {
    QTest::addColumn<int>("answer");
    QTest::addColumn<bool>("closes");
    QTest::addColumn<bool>("saved");
    QTest::newRow("Cancel keeps the program") << int(Answer::Cancel) << false << false;
    QTest::newRow("No ends without saving") << int(Answer::No) << true << false;
    QTest::newRow("Yes saves, then ends") << int(Answer::Yes) << true << true;
    QTest::newRow("Yes, but the save is cancelled: the program stays")
        << int(Answer::Yes) << false << false;
  }
  void exitQuestion() {
    QFETCH(int, answer);
    QFETCH(bool, closes);
    QFETCH(bool, saved);
    GuiFixture f;
    FrmMain window(f.context);
    window.show();
    change(f.context);
    const auto before = f.context.state.workingDocument;
    const auto target = f.folder.file("saved.dat").string();
    f.prompter.expect(9006, Answer(answer));
    // An untitled document is saved as: the dialog gives the file, or is cancelled.
    if (Answer(answer) == Answer::Yes) {
      f.prompter.expectFile(saved ? std::optional<std::string>(target) : std::nullopt);
    }
    QCOMPARE(window.close(), closes);
    QCOMPARE(window.isVisible(), !closes);
    QCOMPARE(fs::exists(target), saved);
    if (saved) {
      const auto file = ReadDataFile(target);
      QVERIFY(file.file);
      QCOMPARE(file.file->document.optionalFeatures.values[5], std::int16_t{2});
    } else {
      QCOMPARE(f.context.state.workingDocument, before);
    }
    QCOMPARE(f.prompter.pending(), std::size_t{0});
    QVERIFY(f.prompter.unexpected.empty());
  }

  // Ending without the question (a second termination signal, the hand-over to
  // another version) keeps the changes in the per-user recovery folder.
  void endingWithoutAskingKeepsTheChanges() {
    GuiFixture f;
    f.context.recoveryFolder = f.folder.file("recovered");
    {
      FrmMain window(f.context);
      window.show();
      window.closeWithoutAsking();
      QVERIFY2(!fs::exists(f.context.recoveryFolder), "an unchanged document needs no copy");
    }
    FrmMain window(f.context);
    window.show();
    change(f.context);
    window.closeWithoutAsking();
    QVERIFY(!window.isVisible());
    QVERIFY(f.prompter.asked.empty());
    std::vector<fs::path> kept;
    for (const auto& entry : fs::directory_iterator(f.context.recoveryFolder)) {
      if (entry.path().extension() == ".dat") kept.push_back(entry.path());
    }
    QCOMPARE(kept.size(), std::size_t{1});
    QVERIFY(kept[0].filename().string().rfind("new-", 0) == 0);
    const auto file = ReadDataFile(kept[0].string());
    QVERIFY(file.file);
    QCOMPARE(file.file->document.optionalFeatures.values[5], std::int16_t{2});
  }

  void unchangedDocumentEndsWithoutAsking() {
    GuiFixture f;
    FrmMain window(f.context);
    window.show();
    QVERIFY(window.close());
    QVERIFY(f.prompter.asked.empty());
    QVERIFY(fs::exists(f.folder.program() / "Setting.ini"));
  }

  void newAsksTwiceToolbarNewNever() {
    GuiFixture f;
    FrmMain window(f.context);
    change(f.context);
    f.prompter.expect(9006, Answer::No);
    f.prompter.expect(9026, Answer::Cancel);
    window.action("mnuFileNew")->trigger();
    QVERIFY(IsDocumentChanged(f.context.state));

    f.prompter.expect(9006, Answer::No);
    f.prompter.expect(9026, Answer::Ok);
    window.action("mnuFileNew")->trigger();
    QVERIFY(!IsDocumentChanged(f.context.state));

    change(f.context);
    window.findChild<QToolBar*>("tbToolBar")->actions().first()->trigger();
    QVERIFY(!IsDocumentChanged(f.context.state));
    QCOMPARE(f.prompter.pending(), std::size_t{0});
    QVERIFY(f.prompter.unexpected.empty());
  }

  void openRefusals_data() {
    QTest::addColumn<std::string>("version");
    QTest::addColumn<int>("size");
    QTest::addColumn<int>("message");  // 0: the version question, answered No
    QTest::newRow("one byte short") << std::string("V200") << 8594 << 9033;
    QTest::newRow("not a version") << std::string("X200") << 8595 << 9065;
    QTest::newRow("not a version either") << std::string("V1A0") << 8595 << 9065;
    QTest::newRow("another version, answered No") << std::string("V100") << 8595 << 0;
  }
  void openRefusals() {
    QFETCH(std::string, version);
    QFETCH(int, size);
    QFETCH(int, message);
    GuiFixture f;
    FrmMain window(f.context);
    window.show();
    change(f.context);
    const auto before = f.context.state.workingDocument;
    const auto title = window.windowTitle();
    const auto file = writeDataFile(f, "other.dat", version, static_cast<std::size_t>(size));
    f.prompter.expect(9006, Answer::No);
    f.prompter.expectFile(file);
    if (message != 0) {
      f.prompter.expect(message, Answer::Ok);
    } else {
      f.prompter.expectFixed("V1.00", Answer::No);
    }
    window.action("mnuFileOpen")->trigger();
    QCOMPARE(f.context.state.workingDocument, before);
    QCOMPARE(window.windowTitle(), title);
    QVERIFY(window.isVisible());
    QCOMPARE(f.prompter.pending(), std::size_t{0});
    QVERIFY(f.prompter.unexpected.empty());
  }

  void openSaveAndSaveAs() {
    GuiFixture f;
    FrmMain window(f.context);
    int channelWindows = 0;
    registerStandIn(window, "frmCommChInfo", channelWindows);
    const auto file = writeDataFile(f, "radio.dat", "V200");
    f.prompter.expectFile(file);
    window.action("mnuFileOpen")->trigger();
    // The file's band is adopted, the title names the file, the channel window opens.
    QCOMPARE(f.context.state.model.currentBandLabel, std::string("136 - 174 MHz"));
    QVERIFY(window.windowTitle().endsWith("[" + f.context.text(12009) + ":radio.dat]"));
    QCOMPARE(openWindows(window), 1);

    // Save asks with the quoted file name; Cancel writes nothing.
    change(f.context);
    f.prompter.expect(9007, Answer::Cancel);
    window.action("mnuFileSave")->trigger();
    QVERIFY(IsDocumentChanged(f.context.state));
    QVERIFY(f.prompter.asked.back().fixedText.find("\"radio.dat\"") != std::string::npos);
    f.prompter.expect(9007, Answer::Ok);
    window.action("mnuFileSave")->trigger();
    QVERIFY(!IsDocumentChanged(f.context.state));

    // Save As starts with the current path and moves the document to the new file.
    const auto copy = f.folder.file("copy.dat").string();
    f.prompter.expectFile(copy);
    window.action("mnuFileSaveAs")->trigger();
    QCOMPARE(f.prompter.fileRequests.back().initialPath, file);
    QVERIFY(fs::exists(copy));
    QCOMPARE(fs::file_size(copy), std::uintmax_t{8595});
    QVERIFY(window.windowTitle().endsWith(":copy.dat]"));

    // A cancelled dialog changes nothing.
    f.prompter.expectFile(std::nullopt);
    window.action("mnuFileSaveAs")->trigger();
    QCOMPARE(f.context.state.path, copy);
    QCOMPARE(f.prompter.pending(), std::size_t{0});
    QVERIFY(f.prompter.unexpected.empty());
  }

  // Another program changes the open file: the focus brings the question of
  // opening it again, and a save asks before replacing it.
  void aChangeMadeByAnotherProgramIsNotLostInSilence() {
    GuiFixture f;
    FrmMain window(f.context);
    int channelWindows = 0;
    registerStandIn(window, "frmCommChInfo", channelWindows);
    const auto file = writeDataFile(f, "radio.dat", "V200");
    f.prompter.expectFile(file);
    window.action("mnuFileOpen")->trigger();
    const auto otherProgramWrites = [&](int dtmfRate) {
      auto loaded = ReadDataFile(file);
      QVERIFY(loaded.file.has_value());
      loaded.file->document.dtmf.settings[0] = static_cast<std::int16_t>(dtmfRate);
      // A new modification time even on a file system with coarse times.
      QVERIFY(WriteDataFile(file, loaded.file->document, loaded.file->side).empty());
      fs::last_write_time(file, fs::last_write_time(file) + std::chrono::seconds(dtmfRate));
    };

    // Focus: Yes opens the file again, as it is now.
    otherProgramWrites(3);
    f.prompter.expect(cps::text::kFileChangedReload, Answer::Yes);
    window.checkFileChangedOnDisk();
    QCOMPARE(int(f.context.state.workingDocument.dtmf.settings[0]), 3);
    // No keeps what is shown, and the same change is not asked about again.
    otherProgramWrites(4);
    f.prompter.expect(cps::text::kFileChangedReload, Answer::No);
    window.checkFileChangedOnDisk();
    QCOMPARE(int(f.context.state.workingDocument.dtmf.settings[0]), 3);
    window.checkFileChangedOnDisk();
    QCOMPARE(f.prompter.pending(), std::size_t{0});

    // Save: Cancel leaves the other program's change on disk; Yes replaces it.
    change(f.context);
    f.prompter.expect(9007, Answer::Ok);
    f.prompter.expect(cps::text::kFileChangedOnDisk, Answer::Cancel);
    window.action("mnuFileSave")->trigger();
    QCOMPARE(int(ReadDataFile(file).file->document.dtmf.settings[0]), 4);
    QVERIFY(IsDocumentChanged(f.context.state));
    f.prompter.expect(9007, Answer::Ok);
    f.prompter.expect(cps::text::kFileChangedOnDisk, Answer::Yes);
    window.action("mnuFileSave")->trigger();
    QVERIFY(!IsDocumentChanged(f.context.state));
    QCOMPARE(int(ReadDataFile(file).file->document.dtmf.settings[0]), 3);
    // After its own save the file is as this run left it: no question.
    window.checkFileChangedOnDisk();
    QCOMPARE(f.prompter.pending(), std::size_t{0});
    QVERIFY2(f.prompter.unexpected.empty(), f.prompter.unexpectedText().c_str());
  }

  void modelDialogReplacesTheDocumentWithoutTheUnsavedQuestion() {
    GuiFixture f;
    FrmMain window(f.context);
    window.show();
    int channelWindows = 0;
    registerStandIn(window, "frmCommChInfo", channelWindows);
    change(f.context);
    f.prompter.expect(9016, Answer::Ok);
    QTimer::singleShot(0, &window, [] {
      auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
      QVERIFY(dialog);
      auto* bands = dialog->findChild<QComboBox*>("Combo2");
      bands->setCurrentIndex(bands->findText("136 - 174 MHz"));
      dialog->findChild<QPushButton*>("CommandOK")->click();
    });
    window.action("mnuModelInfo")->trigger();
    QCOMPARE(f.context.state.model.currentBandLabel, std::string("136 - 174 MHz"));
    QVERIFY(!IsDocumentChanged(f.context.state));
    QCOMPARE(f.context.state.workingDocument.modelInfo.bandIndex, std::int16_t{8});
    QVERIFY(window.windowTitle().contains("[CPS530G:136 - 174 MHz]"));
    QCOMPARE(window.findChild<QLabel*>("Panel2")->text(), QString("CPS530G[136 - 174 MHz]"));
    QCOMPARE(channelWindows, 1);
    QCOMPARE(f.prompter.askedIds(), std::vector<int>{9016});
    QVERIFY2(f.prompter.unexpected.empty(), f.prompter.unexpectedText().c_str());
  }

  void initialiseKeepsNoFlag() {
    GuiFixture f;
    FrmMain window(f.context);
    f.prompter.expect(9026, Answer::Ok);
    window.action("MnuInit")->trigger();
    QVERIFY(!f.context.state.initialiseSettings);
    QVERIFY(f.prompter.unexpected.empty());
  }

  void languageSwitchClosesWindowsAndRecaptions() {
    GuiFixture f;
    FrmMain window(f.context);
    int options = 0, channels = 0;
    registerStandIn(window, "FrmOptFeatures", options);
    registerStandIn(window, "frmCommChInfo", channels);
    window.ShowChildWindow("FrmOptFeatures");
    QVERIFY(window.childWindow("FrmOptFeatures"));
    const QString englishFile = window.action("mnuFileOpen")->text();

    f.context.setLanguage(kChinese);
    window.applyLanguageIfChanged();
    QCOMPARE(f.context.language.shown, kChinese);
    QVERIFY(!window.childWindow("FrmOptFeatures"));
    QVERIFY(window.childWindow("frmCommChInfo"));
    QCOMPARE(window.action("mnuFileOpen")->text(), f.context.text(10002));
    QVERIFY(window.action("mnuFileOpen")->text() != englishFile);
    QVERIFY(window.windowTitle().startsWith(f.context.text(12000)));

    // The same language again changes nothing on screen.
    window.ShowChildWindow("FrmOptFeatures");
    window.applyLanguageIfChanged();
    QVERIFY(window.childWindow("FrmOptFeatures"));
  }

  void missingTextsLeaveEmptyCaptions() {
    GuiFixture f;
    std::ofstream(f.folder.program() / "language" / "english.ini", std::ios::trunc)
        << "[Menu]\r\n10000=&File\r\n";
    FrmMain window(f.context);
    QCOMPARE(window.menuBar()->actions().first()->text(), QString("&File"));
    QCOMPARE(window.action("mnuFileOpen")->text(), QString());
  }

  // The placement as the store holds it, in twips: left, top, width, height.
  static QList<int> storedPlacement(const QString& application) {
    QSettings store(QStringLiteral("cps530"), application);
    store.beginGroup(QStringLiteral("Settings"));
    QList<int> numbers;
    for (const char* key : {"MainLeft", "MainTop", "MainWidth", "MainHeight"}) {
      numbers << (store.contains(key) ? store.value(key).toInt() : -1);
    }
    return numbers;
  }

  void placementComesBackAsItWasLeft_data() {
    QTest::addColumn<QList<int>>("placement");
    QTest::newRow("the first start's defaults") << QList<int>{1000, 1000, 12500, 9500};
    QTest::newRow("moved and made larger") << QList<int>{3000, 2250, 13500, 10500};
  }
  void placementComesBackAsItWasLeft() {
    QFETCH(QList<int>, placement);
    GuiFixture f;
    const QString application = QStringLiteral("placement %1").arg(QTest::currentDataTag());
    f.context.setApplicationTitle(application);
    {
      QSettings store(QStringLiteral("cps530"), application);
      store.clear();
      store.beginGroup(QStringLiteral("Settings"));
      const char* keys[] = {"MainLeft", "MainTop", "MainWidth", "MainHeight"};
      for (int i = 0; i < 4; ++i) store.setValue(keys[i], placement[i]);
    }
    // Three runs, each restoring what the one before saved: nothing creeps. The
    // first may round the numbers to whole pixels (15 twips), no more.
    QList<int> firstRun;
    for (int run = 1; run <= 3; ++run) {
      FrmMain window(f.context);
      window.show();
      QVERIFY(QTest::qWaitForWindowExposed(&window));
      QVERIFY(window.close());
      const QList<int> stored = storedPlacement(application);
      if (run == 1) {
        firstRun = stored;
        for (int i = 0; i < 4; ++i) QVERIFY(std::abs(stored[i] - placement[i]) < 15);
      }
      QCOMPARE(stored, firstRun);
    }
  }

  void placementAndTitleKeepTheStartUpLanguage() {
    GuiFixture f;
    QVERIFY(StartUp(f.context, {false, false}, [] {}));
    const QString english = f.context.text(12000);
    f.context.setLanguage(kChinese);
    const QString chinese = f.context.text(12000);
    f.context.setLanguage(kEnglish);
    QVERIFY(english != chinese);
    for (const QString& application : {english, chinese}) {
      QSettings(QStringLiteral("cps530"), application).clear();
    }
    FrmMain window(f.context);
    window.show();
    f.context.setLanguage(kChinese);
    window.applyLanguageIfChanged();
    QVERIFY(window.windowTitle().startsWith(chinese));
    // The run keeps the title start-up set: it saves its placement under the
    // name it restored it from.
    QCOMPARE(f.context.applicationTitle(), english);
    QVERIFY(window.close());
    QVERIFY(!storedPlacement(english).contains(-1));
    QCOMPARE(storedPlacement(chinese), (QList<int>{-1, -1, -1, -1}));
  }

  void handOverEndsWithoutAsking() {
    GuiFixture f;
    FrmMain window(f.context);
    window.show();
    change(f.context);
    window.handOver({});
    QVERIFY(!window.isVisible());
    QVERIFY(f.prompter.asked.empty());
  }
};

}  // namespace cps::gui::test

QTEST_MAIN(cps::gui::test::FrmMainTest)
#include "frm_main_test.moc"
