#include "gui/app/frm_main.hpp"

#include <QApplication>
#include <QCloseEvent>
#include <QDateTime>
#include <QGuiApplication>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QScreen>
#include <QSettings>
#include <QSplitter>
#include <QStatusBar>
#include <QToolBar>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <cstdio>

#include "core/app/text_ids.hpp"
#include "core/document/data_file.hpp"
#include "core/document/file_io.hpp"
#include "core/document/instances.hpp"
#include "core/document/model.hpp"
#include "gui/app/app_context.hpp"
#include "gui/app/background.hpp"
#include "gui/app/child_windows.hpp"
#include "gui/app/commits_edits.hpp"
#include "gui/app/frm_about.hpp"
#include "gui/app/frm_model_info.hpp"
#include "gui/app/frm_set_language.hpp"
#include "gui/app/main_icons.hpp"
#include "gui/app/reloads_from_document.hpp"
#include "gui/app/start_up.hpp"
#include "gui/link/frm_set_comm.hpp"
#include "gui/settings/frequency_windows.hpp"
#include "gui/settings/frm_opt_features.hpp"
#include "gui/settings/settings_windows.hpp"
#include "platform/ports.hpp"

namespace cps::gui {

namespace {

// 15 twips are one pixel at 96 dpi; the placement is kept in twips.
constexpr int kTwipsPerPixel = 15;
constexpr int kPanelMinimumWidth = 300 / kTwipsPerPixel;
constexpr int kDefaultLeft = 1000, kDefaultTop = 1000, kDefaultWidth = 12500, kDefaultHeight = 9500;

const QString kChannelWindow = QLatin1String(kChannelWindowName);

// What a click on a window's tree node runs.
const char* treeActionOf(const ChildWindowEntry& entry) {
  return entry.treeAction != nullptr ? entry.treeAction : entry.action;
}

}  // namespace

FrmMain::FrmMain(AppContext& context, QWidget* parent) : QMainWindow(parent), m_context(context) {
  setObjectName(QStringLiteral("frmMain"));
  setWindowIcon(icon("app"));

  m_mdi = new QMdiArea;
  m_mdi->setObjectName(QStringLiteral("MDIClient"));
  m_mdi->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
  m_mdi->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
  m_mdi->viewport()->installEventFilter(this);

  buildPanel();
  m_splitter = new QSplitter(Qt::Horizontal);
  m_splitter->setObjectName(QStringLiteral("Splitter"));
  m_splitter->addWidget(m_panel);
  m_splitter->addWidget(m_mdi);
  m_splitter->setChildrenCollapsible(false);
  m_splitter->setStretchFactor(1, 1);
  m_splitter->handle(1)->setObjectName(QStringLiteral("CommandMove"));
  m_splitter->setSizes({200, 800});
  setCentralWidget(m_splitter);

  buildMenus();
  buildToolBar();
  buildStatusBar();

  // Hidden at the start: the entries of windows this configuration does not
  // offer, the channel commands until a channel window is open, help.
  m_actions.value(QStringLiteral("mnuHelpTopic"))->setVisible(AppContext::kHelpSwitch);
  m_actions.value(QStringLiteral("MnuTestFre"))->setVisible(false);
  m_actions.value(QStringLiteral("MnuRadioFre"))->setVisible(false);
  ShowCHInfo(false);
  m_actions.value(QStringLiteral("mnuFileEOpen"))->setVisible(false);
  for (const char* tile :
       {"mnuWindowTileHorizontal", "mnuWindowTileVertical", "mnuWindowArrangeIcons"}) {
    m_actions.value(QLatin1String(tile))->setVisible(false);
  }

  registerChannelWindows();
  registerSettingsWindows();

  restorePlacement();
  ApplyMainTexts();
  LoadTree();
  showDocumentReplaced();
}

FrmMain::~FrmMain() {
  m_context.state.history.setOnChange({});
  // The child windows go while this window can still answer them.
  for (QMdiSubWindow* sub : m_mdi->subWindowList()) delete sub;
}

// ---- Building ---------------------------------------------------------------

void FrmMain::buildPanel() {
  m_panel = new QWidget;
  m_panel->setObjectName(QStringLiteral("Picture1"));
  m_panel->setMinimumWidth(kPanelMinimumWidth);
  auto* frame = new QVBoxLayout(m_panel);
  frame->setContentsMargins(0, 0, 0, 0);
  frame->setSpacing(0);

  auto* panelBar = new QToolBar;
  panelBar->setObjectName(QStringLiteral("Toolbar1"));
  panelBar->setIconSize(QSize(12, 12));
  auto* spacer = new QWidget;
  spacer->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Preferred);
  panelBar->addWidget(spacer);
  QAction* closePanel = panelBar->addAction(icon("close_panel"), QString());
  closePanel->setObjectName(QStringLiteral("删除"));
  connect(closePanel, &QAction::triggered, this, [this] {
    // The panel's own close button: the tree goes, and its View entry is unticked.
    m_actions.value(QStringLiteral("mnuTreeView"))->setChecked(false);
  });
  frame->addWidget(panelBar);

  m_tree = new QTreeWidget;
  m_tree->setObjectName(QStringLiteral("TreeView1"));
  m_tree->setHeaderHidden(true);
  m_tree->setRootIsDecorated(true);
  connect(m_tree, &QTreeWidget::itemActivated, this, &FrmMain::onTreeClicked);
  connect(m_tree, &QTreeWidget::itemClicked, this, &FrmMain::onTreeClicked);
  frame->addWidget(m_tree);
}

void FrmMain::buildStatusBar() {
  QStatusBar* bar = statusBar();
  bar->setObjectName(QStringLiteral("sbStatusBar"));
  m_panel2 = new QLabel;
  m_panel2->setObjectName(QStringLiteral("Panel2"));
  m_panel3 = new QLabel;
  m_panel3->setObjectName(QStringLiteral("Panel3"));
  bar->addPermanentWidget(m_panel2);
  bar->addPermanentWidget(m_panel3);
}

// ---- Texts, tree, background -------------------------------------------------

void FrmMain::ApplyMainTexts() {
  ShowMainTxt();
  m_panel3->setText(m_context.text(text::kPortLabel) + QString::number(m_context.comPort));
  m_panel2->setText(m_shownName + QLatin1Char('[') +
                    QString::fromStdString(m_context.state.model.currentBandLabel) +
                    QLatin1Char(']'));
  LoadBKPic();
  // A missing text leaves an empty caption, never another language's.
  for (auto it = m_menus.cbegin(); it != m_menus.cend(); ++it) {
    it.value()->setTitle(m_context.text(m_textIds.value(it.key())));
  }
  for (auto it = m_actions.cbegin(); it != m_actions.cend(); ++it) {
    const int id = m_textIds.value(it.key());
    if (id != 0) it.value()->setText(m_context.text(id));
  }
  for (auto it = m_toolButtons.cbegin(); it != m_toolButtons.cend(); ++it) {
    const QString tip = m_context.text(m_textIds.value(it.key()));
    it.value()->setText(tip);
    it.value()->setToolTip(tip);
  }
}

void FrmMain::ShowMainTxt() {
  m_shownName = QString::fromStdString(ShownNameOfModel(m_context.state.model.currentModel));
  setWindowTitle(
      QString::fromStdString(MainWindowTitle(m_context.state, m_context.langTextFunction())));
  if (m_tree->topLevelItemCount() > 0) m_tree->topLevelItem(0)->setText(0, m_shownName);
}

void FrmMain::LoadTree() {
  m_tree->clear();
  auto* root = new QTreeWidgetItem(m_tree, {m_shownName});
  root->setData(0, Qt::UserRole, QStringLiteral("N0"));
  for (const auto& entry : ChildWindows()) {
    if (entry.treeNode == nullptr) continue;
    auto* item = new QTreeWidgetItem(root, {m_context.text(entry.treeTextId)});
    item->setData(0, Qt::UserRole, QLatin1String(entry.treeNode));
    item->setData(0, Qt::UserRole + 1, QLatin1String(treeActionOf(entry)));
  }
  root->setExpanded(true);
  m_actions.value(QStringLiteral("MnuDTMF"))->setVisible(true);
  updateTreeEnabled();
}

void FrmMain::updateTreeEnabled() {
  if (m_tree->topLevelItemCount() == 0) return;
  QTreeWidgetItem* root = m_tree->topLevelItem(0);
  for (int i = 0; i < root->childCount(); ++i) {
    QTreeWidgetItem* item = root->child(i);
    // A node whose window does not exist yet is shown greyed and opens nothing.
    const QAction* a = m_actions.value(item->data(0, Qt::UserRole + 1).toString());
    const bool enabled = a != nullptr && a->isEnabled();
    item->setFlags(enabled ? (item->flags() | Qt::ItemIsEnabled)
                           : (item->flags() & ~Qt::ItemIsEnabled));
  }
}

void FrmMain::onTreeClicked(QTreeWidgetItem* item) {
  if (!item) return;
  QAction* a = m_actions.value(item->data(0, Qt::UserRole + 1).toString());
  if (a != nullptr && a->isEnabled()) a->trigger();
}

void FrmMain::LoadBKPic() {
  const auto file = m_context.folders.pictureFolder() /
                    ("BK_" + std::to_string(m_context.language.current) + ".jpg");
  const QImage picture(QString::fromStdString(file.string()));
  // A missing picture leaves the background as it was.
  const QImage composed = TiledBackground(picture, m_mdi->viewport()->size());
  if (!composed.isNull()) m_mdi->setBackground(QBrush(composed));
}

bool FrmMain::eventFilter(QObject* watched, QEvent* event) {
  if (watched == m_mdi->viewport() && event->type() == QEvent::Resize) LoadBKPic();
  return QMainWindow::eventFilter(watched, event);
}

// ---- Child windows -------------------------------------------------------------

void FrmMain::registerChildWindow(const QString& name, ChildFactory factory) {
  m_factories.insert(name, std::move(factory));
  const ChildWindowEntry* entry = FindChildWindow(name.toLatin1().constData());
  if (entry != nullptr && entry->action != nullptr) {
    setCommand(QLatin1String(entry->action), [this, name] { ShowChildWindow(name); });
  }
}

void FrmMain::setCommand(const QString& actionName, std::function<void()> command) {
  QAction* a = m_actions.value(actionName);
  if (!a) return;
  a->disconnect(this);
  connect(a, &QAction::triggered, this, [command = std::move(command)] { command(); });
  a->setEnabled(true);
  updateTreeEnabled();
}

QWidget* FrmMain::childWindow(const QString& name) const {
  for (QMdiSubWindow* sub : m_mdi->subWindowList()) {
    if (sub->widget() && sub->widget()->objectName() == name) return sub->widget();
  }
  return nullptr;
}

QWidget* FrmMain::ShowChildWindow(const QString& name) {
  for (QMdiSubWindow* sub : m_mdi->subWindowList()) {
    if (sub->widget() && sub->widget()->objectName() == name) {
      m_mdi->setActiveSubWindow(sub);
      return sub->widget();
    }
  }
  const auto factory = m_factories.value(name);
  if (!factory) return nullptr;
  QWidget* window = factory();
  window->setObjectName(name);
  window->setAttribute(Qt::WA_DeleteOnClose);
  QMdiSubWindow* sub = m_mdi->addSubWindow(window);
  sub->setAttribute(Qt::WA_DeleteOnClose);
  sub->setWindowIcon(window->windowIcon());
  window->show();
  m_mdi->cascadeSubWindows();
  m_mdi->setActiveSubWindow(sub);
  return window;
}

void FrmMain::commitChildWindows(CommitBefore transfer) {
  for (QMdiSubWindow* sub : m_mdi->subWindowList()) {
    QWidget* window = sub->widget();
    if (window == nullptr) continue;
    const ChildWindowEntry* entry = FindChildWindow(window->objectName().toLatin1().constData());
    if (entry == nullptr) continue;
    const bool commits = transfer == CommitBefore::Save   ? true
                         : transfer == CommitBefore::Read ? entry->commitsBeforeRead
                                                          : entry->commitsBeforeWrite;
    if (auto* editor = dynamic_cast<CommitsEdits*>(window); editor != nullptr && commits) {
      editor->commitEdits();
    }
  }
}

void FrmMain::reloadChildWindows() {
  for (QMdiSubWindow* sub : m_mdi->subWindowList()) {
    if (auto* window = dynamic_cast<ReloadsFromDocument*>(sub->widget())) {
      window->reloadFromDocument();
    }
  }
}

void FrmMain::UnloadWindowByName(const QString& name) {
  for (QMdiSubWindow* sub : m_mdi->subWindowList()) {
    if (sub->widget() && sub->widget()->objectName() == name) {
      sub->close();
      delete sub;
    }
  }
}

void FrmMain::CloseCurAllWindows() {
  // Each window commits what it holds as it closes.
  for (QMdiSubWindow* sub : m_mdi->subWindowList()) {
    sub->close();
    delete sub;
  }
}

void FrmMain::updateWindowMenu() {
  const auto actions = m_windowMenu->actions();
  const qsizetype start = actions.indexOf(m_windowListStart);
  for (qsizetype i = start + 1; i < actions.size(); ++i) {
    m_windowMenu->removeAction(actions[i]);
    delete actions[i];
  }
  int number = 0;
  for (QMdiSubWindow* sub : m_mdi->subWindowList()) {
    QAction* a = m_windowMenu->addAction(QStringLiteral("&%1 %2").arg(++number).arg(
        sub->widget() ? sub->widget()->windowTitle() : sub->windowTitle()));
    a->setCheckable(true);
    a->setChecked(sub == m_mdi->activeSubWindow());
    connect(a, &QAction::triggered, sub, [this, sub] { m_mdi->setActiveSubWindow(sub); });
  }
  m_windowListStart->setVisible(number > 0);
}

void FrmMain::ShowCHInfo(bool show) {
  m_menus.value(QStringLiteral("MnuCHEdit"))->menuAction()->setVisible(show);
  // Rows from a spreadsheet go into the table, from its cursor on.
  m_actions.value(QStringLiteral("mnuEditPasteRows"))->setEnabled(show);
  for (QAction* button : m_channelButtons) button->setVisible(show);
}

void FrmMain::registerSettingsWindows() {
  registerChildWindow(QStringLiteral("FrmOptFeatures"),
                      [this] { return new FrmOptFeatures(m_context, *this); });
  registerChildWindow(QStringLiteral("FrmDTMF"), [this] { return new FrmDTMF(m_context, *this); });
  registerChildWindow(QStringLiteral("FrmScan"), [this] { return new FrmScan(m_context, *this); });
  registerChildWindow(QStringLiteral("FrmAlert"),
                      [this] { return new FrmAlert(m_context, *this); });
  registerChildWindow(QStringLiteral("FrmKey"), [this] { return new FrmKey(m_context, *this); });
  registerChildWindow(QStringLiteral("FrmEmbMsg"),
                      [this] { return new FrmEmbMsg(m_context, *this); });
  // Ready for a configuration that offers them; here their entries stay hidden.
  registerChildWindow(QStringLiteral("FrmTestFre"),
                      [this] { return new FrmTestFre(m_context, *this); });
  registerChildWindow(QStringLiteral("FrmRadio"),
                      [this] { return new FrmRadio(m_context, *this); });
}

void FrmMain::reloadWindow(const QString& name) {
  if (auto* window = dynamic_cast<ReloadsFromDocument*>(childWindow(name))) {
    window->reloadFromDocument();
  }
}

// The scan and alert windows offer the channels in use.
void FrmMain::ReshowByCh() {
  reloadWindow(QStringLiteral("FrmScan"));
  reloadWindow(QStringLiteral("FrmAlert"));
}

void FrmMain::RefreshKeyWindow() { reloadWindow(QStringLiteral("FrmKey")); }

// ---- Language -----------------------------------------------------------------

void FrmMain::Change_Language() {
  ApplyMainTexts();
  LoadTree();
}

void FrmMain::applyLanguageIfChanged() {
  if (m_context.language.current == m_context.language.shown) return;
  m_context.language.shown = m_context.language.current;
  Change_Language();
  // Open windows do not switch language: they close and take the new texts
  // when they open again.
  CloseCurAllWindows();
  ShowChildWindow(kChannelWindow);
}

void FrmMain::changeEvent(QEvent* event) {
  QMainWindow::changeEvent(event);
  if (event->type() == QEvent::ActivationChange && isActiveWindow()) {
    applyLanguageIfChanged();
    checkFileChangedOnDisk();
  }
}

void FrmMain::checkFileChangedOnDisk() {
  auto& state = m_context.state;
  // The question's own window takes the focus and gives it back: one question at a time.
  if (m_askingAboutDisk || !FileChangedOnDisk(state)) return;
  const FileStamp onDisk = StampOf(state.path);
  if (onDisk == m_keptOverDisk) return;
  m_askingAboutDisk = true;
  auto question = TextMessage(cps::text::kFileChangedReload, Buttons::YesNo, Icon::Warning);
  question.arguments = {"\"" + FileNameOfPath(state.path) + "\""};
  const Answer answer = m_context.prompter().ask(question);
  if (answer == Answer::Yes && onDisk.exists) {
    openFile(state.path);
  } else {
    m_keptOverDisk = onDisk;
  }
  m_askingAboutDisk = false;
}

// ---- Documents ------------------------------------------------------------------

FileContext FrmMain::fileContext() {
  return m_context.fileContext(m_context.state, m_context.prompter(), *this, m_context.today());
}

void FrmMain::showDocumentReplaced() {
  ShowChildWindow(kChannelWindow);
  ApplyMainTexts();
  m_mdi->cascadeSubWindows();
  m_context.state.initialiseSettings = false;
}

void FrmMain::handleFileResult(const FileCommandResult& result) {
  if (result.outcome == FileOutcome::ExitProgram) {
    handOver(result.launch);
    return;
  }
  if (result.documentReplaced) showDocumentReplaced();
  ShowMainTxt();
}

void FrmMain::LoadNewDoc() {
  auto files = fileContext();
  handleFileResult(cps::LoadNewDoc(files));
}

void FrmMain::mnuFileNew_Click() {
  auto files = fileContext();
  handleFileResult(CommandNew(files));
}

void FrmMain::mnuFileOpen_Click() {
  auto files = fileContext();
  handleFileResult(CommandOpen(files));
}

void FrmMain::openFile(const std::string& path) {
  auto files = fileContext();
  handleFileResult(OpenPath(files, path));
}

void FrmMain::mnuFileEOpen_Click() {
  auto files = fileContext();
  handleFileResult(CommandSpecialOpen(files));
}

void FrmMain::mnuFileSave_Click() {
  // What is typed and not yet committed belongs in the file too.
  commitChildWindows(CommitBefore::Save);
  auto files = fileContext();
  handleFileResult(CommandSave(files));
}

void FrmMain::mnuFileSaveAs_Click() {
  commitChildWindows(CommitBefore::Save);
  auto files = fileContext();
  handleFileResult(CommandSaveAs(files));
}

void FrmMain::MnuInit_Click() {
  // The new document then keeps every channel of the band's initial file.
  m_context.state.initialiseSettings = true;
  mnuFileNew_Click();
  m_context.state.initialiseSettings = false;
}

void FrmMain::mnuModelInfo_Click() {
  FrmModelInfo dialog(
      m_context, [this] { LoadNewDoc(); }, this);
  dialog.exec();
  ApplyMainTexts();
}

void FrmMain::mnuComm_Click() {
  FrmSetComm dialog(m_context, this);
  dialog.exec();
  ApplyMainTexts();
}

void FrmMain::mnuLanguage_Click() {
  FrmSetLanguage dialog(m_context, this);
  dialog.exec();
  applyLanguageIfChanged();
}

void FrmMain::mnuHelpAbout_Click() {
  FrmAbout dialog(m_context, this);
  dialog.exec();
}

// ---- Placement and exit ------------------------------------------------------------

void FrmMain::restorePlacement() {
  QSettings store(QStringLiteral("cps530"), m_context.applicationTitle());
  store.beginGroup(QStringLiteral("Settings"));
  const auto twips = [&store](const char* key, int fallback) {
    bool ok = false;
    const int value = store.value(QLatin1String(key), fallback).toInt(&ok);
    return (ok ? value : fallback) / kTwipsPerPixel;
  };
  QRect placement(twips("MainLeft", kDefaultLeft), twips("MainTop", kDefaultTop),
                  twips("MainWidth", kDefaultWidth), twips("MainHeight", kDefaultHeight));
  // A placement kept on a screen that is no longer there would hide the window.
  bool onScreen = false;
  for (const QScreen* screen : QGuiApplication::screens()) {
    onScreen = onScreen || screen->availableGeometry().intersects(placement);
  }
  if (!onScreen || placement.width() < 200 || placement.height() < 150) {
    placement = QRect(kDefaultLeft / kTwipsPerPixel, kDefaultTop / kTwipsPerPixel,
                      kDefaultWidth / kTwipsPerPixel, kDefaultHeight / kTwipsPerPixel);
  }
  // Left and top place the outer frame, title bar included, as a user sees the
  // window; width and height are its inside. Saved the same way, a window comes
  // back where it was left.
  resize(placement.size());
  move(placement.topLeft());
}

void FrmMain::savePlacement() {
  if (isMinimized()) return;
  QSettings store(QStringLiteral("cps530"), m_context.applicationTitle());
  store.beginGroup(QStringLiteral("Settings"));
  // pos() is where move() puts the frame, size() what resize() sets.
  store.setValue(QStringLiteral("MainLeft"), pos().x() * kTwipsPerPixel);
  store.setValue(QStringLiteral("MainTop"), pos().y() * kTwipsPerPixel);
  store.setValue(QStringLiteral("MainWidth"), width() * kTwipsPerPixel);
  store.setValue(QStringLiteral("MainHeight"), height() * kTwipsPerPixel);
}

void FrmMain::handOver(const std::filesystem::path& program) {
  if (!program.empty() && !StartProgram(program)) {
    m_context.prompter().ask(
        TextMessage(cps::text::kNoProgramForVersion, Buttons::Ok, Icon::Warning));
  }
  // The other version takes the file or radio; this one ends without asking again.
  closeWithoutAsking();
}

std::filesystem::path FrmMain::keepRecoveryCopy(bool tell) {
  // Nobody was asked about the changes (a second termination signal, the hand-over
  // to another program version): they are kept in the per-user folder instead.
  if (m_context.recoveryFolder.empty()) return {};
  const auto stem = std::filesystem::path(FileNameOfPath(m_context.state.path)).stem().string();
  const auto stamp =
      QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMdd-HHmmss")).toStdString();
  std::error_code ec;
  std::filesystem::create_directories(m_context.recoveryFolder, ec);
  const auto path = m_context.recoveryFolder / (stem + "-" + stamp + ".dat");
  SideFileRecord side = m_context.state.workingSide;
  DocumentRecord document = m_context.state.workingDocument;
  document.version.assign(kProgramVersion);
  side.version.assign(kProgramVersion);
  const auto error = WriteDataFile(path.string(), document, side);
  if (tell) {
    std::fprintf(stderr, "cps530: %s\n",
                 error.empty() ? ("unsaved changes kept in " + path.string()).c_str()
                               : ("unsaved changes could not be kept: " + error).c_str());
  }
  return error.empty() ? path : std::filesystem::path();
}

void FrmMain::closeWithoutAsking() {
  m_endWithoutAsking = true;
  close();
}

void FrmMain::closeOnSignal(bool insist) {
  if (insist) {
    closeWithoutAsking();
    return;
  }
  if (m_signalCopy.empty() && IsDocumentChanged(m_context.state)) {
    m_signalCopy = keepRecoveryCopy(false);
  }
  close();
  // The question has been answered (or there was none): whoever answered
  // saved the changes, dropped them, or went on working with them.
  if (!m_signalCopy.empty()) {
    std::error_code ec;
    std::filesystem::remove(m_signalCopy, ec);
    std::filesystem::remove(SideFilePath(m_signalCopy.string()), ec);
    m_signalCopy.clear();
  }
}

void FrmMain::closeEvent(QCloseEvent* event) {
  savePlacement();
  if (!m_endWithoutAsking && IsDocumentChanged(m_context.state)) {
    const Answer answer = m_context.prompter().ask(
        TextMessage(cps::text::kUnsavedChanges, Buttons::YesNoCancel, Icon::Warning));
    if (answer == Answer::Cancel) {
      event->ignore();
      return;
    }
    if (answer == Answer::Yes) {
      // A save the user cancelled or that failed would lose the changes with
      // the program: it keeps running, as after Cancel.
      auto files = fileContext();
      if (CommandSave(files).outcome != FileOutcome::Done) {
        event->ignore();
        return;
      }
    }
  } else if (m_endWithoutAsking && IsDocumentChanged(m_context.state)) {
    keepRecoveryCopy(true);
  }
  CloseCurAllWindows();
  ExitSteps(m_context);
  event->accept();
}

}  // namespace cps::gui
