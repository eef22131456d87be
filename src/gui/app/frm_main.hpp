// The main window: a multiple-document frame with the menus, the toolbar, the
// tree of editors, the status bar and the background picture. It runs the file
// commands, opens the child windows (at most one of each), applies a language
// change and asks about unsaved changes at the end.
#pragma once

#include <QHash>
#include <QMainWindow>
#include <functional>
#include <memory>

#include "core/app/file_commands.hpp"
#include "core/document/prompter.hpp"
#include "gui/app/child_windows.hpp"
#include "gui/channels/channel_window_host.hpp"

class QLabel;
class QMdiArea;
class QMdiSubWindow;
class QMenu;
class QSplitter;
class QToolBar;
class QTreeWidget;
class QTreeWidgetItem;
class QTimer;

namespace cps::gui {

class AppContext;
class FrmCHInfoEdit;
class frmCommChInfo;

class FrmMain final : public QMainWindow, public DocumentObserver, public ChannelWindowHost {
 public:
  explicit FrmMain(AppContext& context, QWidget* parent = nullptr);
  ~FrmMain() override;

  // A child window class by its name: the entries that open it (menu, tree)
  // are enabled from now on. The factory makes a new window, parentless.
  using ChildFactory = std::function<QWidget*()>;
  void registerChildWindow(const QString& name, ChildFactory factory);
  // A command for a menu entry by its name (and its toolbar button and tree node).
  void setCommand(const QString& actionName, std::function<void()> command);

  QWidget* ShowChildWindow(const QString& name);
  void UnloadWindowByName(const QString& name);
  void CloseCurAllWindows();
  QWidget* childWindow(const QString& name) const;
  // Open windows that hold typed values commit them before a read or a write
  // of the radio, as the child window table says.
  void commitChildWindows(CommitBefore transfer);
  // Open windows show the document again after it changed behind them.
  void reloadChildWindows();

  void Change_Language();
  void ShowMainTxt();
  void LoadTree() override;
  void LoadBKPic();
  // Replaces the document by a new one of the current model and band, without asking.
  void LoadNewDoc();
  // Opens a data file as File > Open opens the file chosen in its dialog.
  void openFile(const std::string& path);
  void ShowCHInfo(bool show) override;
  void UpdateChannelEditCommands(int channelNumber) override;
  void popUpChannelMenu(const QPoint& globalPosition) override;
  void showChannelEditDialog() override;
  void reloadChannelEditDialog(bool followsGrid) override;
  // Before a channel command: the table commits what is typed in it and hides its editors.
  void SetSaveEditData();
  // Applies a language chosen since the window last showed one.
  void applyLanguageIfChanged();
  // When the window gets the focus: another program changed the open file
  // since it was opened or saved here; asks once per change whether to open
  // it again or keep what is shown.
  void checkFileChangedOnDisk();

  // Ends the program at once for another program version (may be empty: none).
  void handOver(const std::filesystem::path& program);
  // Closes the window without the unsaved-changes question; the placement and
  // the link settings are still written.
  void closeWithoutAsking();
  // Closes the window at a termination signal. Nobody may be there to answer
  // the unsaved-changes question, and a session that logs out kills the
  // program soon after: a changed document is kept in the recovery folder
  // before the question is asked, and the copy goes again once it has been
  // answered. `insist` (a further signal): the window closes without asking.
  void closeOnSignal(bool insist);

  // DocumentObserver: the open channel windows show the document again.
  void reShowGrid(int channelNumber) override;
  void reShowAllGrid() override;
  void reloadEditDialog() override;
  void reloadEditDialogAtItsPosition() override;
  void refreshDtmfMemoryLists() override;
  void ReshowByCh() override;
  void RefreshKeyWindow() override;
  void closeChildWindows() override { CloseCurAllWindows(); }

  FileContext fileContext();
  QAction* action(const QString& name) const { return m_actions.value(name); }
  QMdiArea& mdiArea() const { return *m_mdi; }

 protected:
  void closeEvent(QCloseEvent* event) override;
  void changeEvent(QEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  struct Entry;
  void buildMenus();
  void buildToolBar();
  void buildPanel();
  void buildStatusBar();
  QAction* addEntry(QMenu* menu, const Entry& entry);
  void ApplyMainTexts();
  void showDocumentReplaced();
  void handleFileResult(const FileCommandResult& result);
  // The copy's path; empty when none was kept. `tell`: say where on stderr.
  std::filesystem::path keepRecoveryCopy(bool tell);
  void restorePlacement();
  void savePlacement();
  void updateWindowMenu();
  void updateTreeEnabled();
  void onTreeClicked(QTreeWidgetItem* item);
  void registerSettingsWindows();
  void reloadWindow(const QString& name);

  // The channel windows and their commands (frm_main_channels.cpp).
  void registerChannelWindows();
  frmCommChInfo* channelTable() const;
  FrmCHInfoEdit* channelDialog() const;
  void runChannelCommand(int command);
  void TimerCHEdit_Timer();
  void MnuCHHabits_Click();
  // Several channels at once: the whole page, the dialog for the selected
  // channels, rows from a spreadsheet on the system clipboard.
  void MnuCHSelectAll_Click();
  void MnuCHChangeSelected_Click();
  void mnuEditPasteRows_Click();
  void showChannelStatus(int textId, const std::vector<std::string>& arguments);
  void mnuEditUndo_Click();
  void mnuEditRedo_Click();
  void updateUndoRedo();

  void mnuFileNew_Click();
  void mnuFileExit_Click();
  void mnuWindowCascade_Click();
  void mnuWindowTile_Click();
  void mnuFileOpen_Click();
  void mnuFileEOpen_Click();
  void mnuFileSave_Click();
  void mnuFileSaveAs_Click();
  void mnuModelInfo_Click();
  // Channel lists in CSV (frm_main_exchange.cpp).
  void mnuFileImport_Click();
  void mnuFileExport_Click();
  void mnuComm_Click();
  void mnuLanguage_Click();
  void MnuInit_Click();
  void mnuHelpAbout_Click();

  AppContext& m_context;
  QMdiArea* m_mdi = nullptr;
  QSplitter* m_splitter = nullptr;
  QWidget* m_panel = nullptr;  // Picture1
  QTreeWidget* m_tree = nullptr;
  QToolBar* m_toolBar = nullptr;
  QLabel* m_panel2 = nullptr;
  QLabel* m_panel3 = nullptr;
  QMenu* m_windowMenu = nullptr;
  QAction* m_windowListStart = nullptr;
  QHash<QString, QAction*> m_actions;        // menu entries by name
  QHash<QString, QMenu*> m_menus;            // menus by name
  QHash<QString, QAction*> m_toolButtons;    // toolbar buttons by key
  QHash<QString, int> m_textIds;             // caption text of each menu, entry and button
  QHash<QString, ChildFactory> m_factories;  // child window classes by name
  QList<QAction*> m_channelButtons;          // toolbar buttons 11 to 19
  QString m_shownName;                       // Label1: the model's software name
  bool m_endWithoutAsking = false;
  // The change on disk the user chose to keep the shown data over: not asked again.
  FileStamp m_keptOverDisk;
  bool m_askingAboutDisk = false;
  std::filesystem::path m_signalCopy;  // kept while the question of a signal is open
  QTimer* m_commandTimer = nullptr;    // TimerCHEdit: a channel command runs on its tick
  int m_pendingChannelCommand = 0;
};

}  // namespace cps::gui
