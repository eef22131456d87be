// The menu bar and the toolbar of the main window: every menu, entry, shortcut,
// separator and keyed button, with the commands they run.
#include <QMdiArea>
#include <QMenu>
#include <QMenuBar>
#include <QStatusBar>
#include <QToolBar>

#include "gui/app/app_context.hpp"
#include "gui/app/frm_main.hpp"
#include "gui/app/main_icons.hpp"

namespace cps::gui {

struct FrmMain::Entry {
  const char* name;
  int textId;
  const char* builtIn;  // the caption until the language texts are applied
  const char* shortcut;
  void (FrmMain::*handler)();
  const char* icon;
  bool separatorAfter;
};

void FrmMain::buildMenus() {
  struct MenuDef {
    const char* name;
    int textId;
    const char* builtIn;
    std::vector<Entry> entries;
  };
  // Entries without a handler get theirs when their window or command arrives;
  // until then they are disabled.
  const std::vector<MenuDef> menus = {
      {"mnuFile",
       10000,
       "文件(&F)",
       {{"mnuFileNew", 10001, "新建(&N)", "Ctrl+N", &FrmMain::mnuFileNew_Click, "new", false},
        {"mnuFileOpen", 10002, "打开(&O)...", "Ctrl+O", &FrmMain::mnuFileOpen_Click, "open", false},
        {"mnuFileEOpen", 0, "特别打开(&E)...", nullptr, &FrmMain::mnuFileEOpen_Click, nullptr,
         false},
        {"mnuFileSave", 10003, "保存(&S)", nullptr, &FrmMain::mnuFileSave_Click, "save", false},
        {"mnuFileSaveAs", 10004, "另存为(&A)...", nullptr, &FrmMain::mnuFileSaveAs_Click, nullptr,
         false},
        {"mnuFileImport", 10007, "导入信道(&I)...", nullptr, &FrmMain::mnuFileImport_Click, nullptr,
         false},
        {"mnuFileExport", 10008, "导出信道(&T)...", nullptr, &FrmMain::mnuFileExport_Click, nullptr,
         true},
        {"mnuFileCompare", 10020, "与文件比较(&F)...", nullptr, nullptr, nullptr, true},
        {"mnuFilePrint", 10005, "打印(&P)", "Ctrl+Shift+P", nullptr, "print", false},
        {"mnuFilePrintPreview", 10021, "打印预览(&V)", nullptr, nullptr, nullptr, false},
        {"mnuFileExportPdf", 10022, "导出 PDF(&E)...", nullptr, nullptr, nullptr, true},
        {"mnuFileExit", 10006, "退出(&X)", nullptr, &FrmMain::mnuFileExit_Click, nullptr, false}}},
      {"mnuModel",
       10100,
       "机型(&M)",
       {{"mnuModelInfo", 10101, "机型信息(&I)...", nullptr, &FrmMain::mnuModelInfo_Click, nullptr,
         false}}},
      {"MnuCHEdit",
       10800,
       "信道编辑(&C)",
       {{"MnuCHCut", 10801, "剪切(&T)", "Ctrl+X", nullptr, "cut", false},
        {"MnuCHCopy", 10802, "复制(&C)", "Ctrl+C", nullptr, "copy", false},
        {"MnuCHPaste", 10803, "粘帖(&P)", "Ctrl+V", nullptr, "paste", true},
        {"MnuCHInsert", 10804, "插入(&I)", "Ctrl+I", nullptr, "insert", false},
        {"MnuCHDelete", 10805, "删除(&D)", "Del", nullptr, "delete", false},
        {"MnuCHMoveUp", 10806, "上移(&U)", "Ctrl+U", nullptr, "move_up", false},
        {"MnuCHMoveDown", 10807, "下移(&N)", "Ctrl+D", nullptr, "move_down", true},
        {"MnuCHSelectAll", 10809, "全选信道(&A)", "Ctrl+A", &FrmMain::MnuCHSelectAll_Click, nullptr,
         false},
        {"MnuCHChangeSelected", 10810, "修改所选信道(&S)...", "Ctrl+Shift+E",
         &FrmMain::MnuCHChangeSelected_Click, nullptr, false}}},
      {"mnuEdit",
       10200,
       "编辑(&E)",
       {{"mnuEditUndo", 10211, "撤销(&U)", "Ctrl+Z", &FrmMain::mnuEditUndo_Click, nullptr, false},
        {"mnuEditRedo", 10212, "重做(&R)", "Ctrl+Y", &FrmMain::mnuEditRedo_Click, nullptr, false},
        {"mnuEditPasteRows", 10213, "粘贴表格行(&P)", "Ctrl+Shift+V",
         &FrmMain::mnuEditPasteRows_Click, nullptr, true},
        {"mnuChannelInfo", 10201, "信道信息(&C)", nullptr, nullptr, nullptr, true},
        {"mnuOptFeature", 10202, "选项功能(&O)", nullptr, nullptr, nullptr, false},
        {"MnuRadioFre", 10203, "收音机频率(&F)", nullptr, nullptr, nullptr, false},
        {"MnuDTMF", 10204, "DTMF(&D)", nullptr, nullptr, nullptr, false},
        {"MnuKey", 10208, "键设定(&K)", nullptr, nullptr, nullptr, false},
        {"MnuScan", 10209, "扫描设置(&S)", nullptr, nullptr, nullptr, false},
        {"MnuAlert", 10210, "紧急报警(&A)", nullptr, nullptr, nullptr, false},
        {"MnuTestFre", 10205, "调测频率(&T)", nullptr, nullptr, nullptr, true},
        {"mnuEmbeddedMsg", 10206, "嵌入信息(&E)", nullptr, nullptr, nullptr, false},
        {"MnuLocalInfo", 10207, "本机信息(&I)", nullptr, nullptr, nullptr, false}}},
      {"mnuProgram",
       10300,
       "编程(&P)",
       {{"mnuReadFromRadio", 10301, "从对讲机读取数据(&R)", nullptr, nullptr, "read_radio", false},
        {"mnuWriteToRadio", 10302, "向对讲机写入数据(&W)", nullptr, nullptr, "write_radio", false},
        {"mnuWriteToSeveral", 10321, "写入多台对讲机(&S)...", nullptr, nullptr, nullptr, false},
        {"MnuProPassWord", 10303, "密码(&P)", "Ctrl+P", nullptr, nullptr, true},
        {"mnuCompareWithRadio", 10320, "与电台比较(&C)...", nullptr, nullptr, nullptr, false}}},
      {"mnuSet",
       10400,
       "设置(&S)",
       {{"mnuComm", 10401, "通信端口(&C)...", nullptr, &FrmMain::mnuComm_Click, "port", false},
        {"mnuLanguage", 10402, "语言(&L)...", nullptr, &FrmMain::mnuLanguage_Click, nullptr, false},
        {"MnuInit", 10403, "初始化设置(&I)", nullptr, &FrmMain::MnuInit_Click, nullptr, true},
        {"MnuCHHabits", 10808, "习惯设置(&H)", "Ctrl+H", &FrmMain::MnuCHHabits_Click, nullptr,
         false}}},
      {"mnuView",
       10500,
       "查看(&V)",
       {{"mnuTreeView", 10501, "树形目录(&T)", nullptr, nullptr, nullptr, true},
        {"mnuViewToolbar", 10502, "工具栏(&B)", nullptr, nullptr, nullptr, false},
        {"mnuViewStatusBar", 10503, "状态栏(&S)", nullptr, nullptr, nullptr, false}}},
      {"mnuWindow",
       10600,
       "窗口(&W)",
       {{"mnuWindowCascade", 10601, "层叠(&C)", nullptr, &FrmMain::mnuWindowCascade_Click, nullptr,
         false},
        {"mnuWindowTileHorizontal", 0, "水平平铺(&H)", nullptr, &FrmMain::mnuWindowTile_Click,
         nullptr, false},
        {"mnuWindowTileVertical", 0, "垂直平铺(&V)", nullptr, &FrmMain::mnuWindowTile_Click,
         nullptr, false},
        {"mnuWindowArrangeIcons", 0, "排列图标(&A)", nullptr, &FrmMain::mnuWindowTile_Click,
         nullptr, true},
        {"mnuCloseAll", 10602, "全部关闭(&A)", nullptr, &FrmMain::CloseCurAllWindows, nullptr,
         true}}},
      {"mnuHelp",
       10700,
       "帮助(&H)",
       {{"mnuHelpTopic", 10701, "帮助主题(&H)", nullptr, nullptr, nullptr, true},
        {"mnuHelpAbout", 10702, "关于(&A)...", nullptr, &FrmMain::mnuHelpAbout_Click, "about",
         false}}},
  };

  for (const auto& def : menus) {
    QMenu* menu = menuBar()->addMenu(QString::fromUtf8(def.builtIn));
    menu->setObjectName(QLatin1String(def.name));
    menu->menuAction()->setObjectName(QLatin1String(def.name));
    m_menus.insert(QLatin1String(def.name), menu);
    m_textIds.insert(QLatin1String(def.name), def.textId);
    for (const auto& entry : def.entries) addEntry(menu, entry);
  }
  m_windowMenu = m_menus.value(QStringLiteral("mnuWindow"));

  // The window list: the open child windows below Close all, the active one ticked.
  m_windowListStart = m_windowMenu->addSeparator();
  connect(m_windowMenu, &QMenu::aboutToShow, this, &FrmMain::updateWindowMenu);

  // The three views start visible and ticked; their visibility is not kept between runs.
  auto toggle = [this](const char* name, auto apply) {
    QAction* a = m_actions.value(QLatin1String(name));
    a->setEnabled(true);
    a->setCheckable(true);
    a->setChecked(true);
    connect(a, &QAction::toggled, this, apply);
  };
  toggle("mnuTreeView", [this](bool on) { m_panel->setVisible(on); });
  toggle("mnuViewToolbar", [this](bool on) { m_toolBar->setVisible(on); });
  toggle("mnuViewStatusBar", [this](bool on) { statusBar()->setVisible(on); });
}

QAction* FrmMain::addEntry(QMenu* menu, const Entry& entry) {
  auto* a = menu->addAction(QString::fromUtf8(entry.builtIn));
  a->setObjectName(QLatin1String(entry.name));
  if (entry.shortcut) a->setShortcut(QKeySequence(QLatin1String(entry.shortcut)));
  if (entry.icon) a->setIcon(icon(entry.icon));
  if (entry.handler) {
    connect(a, &QAction::triggered, this, entry.handler);
  } else {
    // Its command is given later (setCommand, registerChildWindow, the view
    // toggles); until then it cannot be chosen.
    a->setEnabled(false);
  }
  if (entry.separatorAfter) menu->addSeparator();
  m_actions.insert(a->objectName(), a);
  m_textIds.insert(a->objectName(), entry.textId);
  return a;
}

void FrmMain::buildToolBar() {
  m_toolBar = addToolBar(QString());
  m_toolBar->setObjectName(QStringLiteral("tbToolBar"));
  m_toolBar->setMovable(false);
  m_toolBar->setIconSize(QSize(24, 24));
  struct Button {
    const char* key;
    int textId;
    const char* menuEntry;  // nullptr: the new-file button, which asks nothing
    const char* iconName;
  };
  // nullptr keys are the separators at positions 4, 6, 10, 14 and 19.
  constexpr Button kButtons[] = {
      {"NewFile", 11000, nullptr, "new"},
      {"OpenFile", 11001, "mnuFileOpen", "open"},
      {"SaveFile", 11002, "mnuFileSave", "save"},
      {nullptr, 0, nullptr, nullptr},
      {"Print", 11003, "mnuFilePrint", "print"},
      {nullptr, 0, nullptr, nullptr},
      {"ReadRadio", 11004, "mnuReadFromRadio", "read_radio"},
      {"CommSet", 11005, "mnuComm", "port"},
      {"WriteRadio", 11006, "mnuWriteToRadio", "write_radio"},
      {nullptr, 0, nullptr, nullptr},
      {"BtnCHCut", 11010, "MnuCHCut", "cut"},
      {"BtnCHCopy", 11011, "MnuCHCopy", "copy"},
      {"BtnCHPaste", 11012, "MnuCHPaste", "paste"},
      {nullptr, 0, nullptr, nullptr},
      {"BtnCHInsert", 11013, "MnuCHInsert", "insert"},
      {"BtnCHDelete", 11014, "MnuCHDelete", "delete"},
      {"BtnCHMoveUp", 11015, "MnuCHMoveUp", "move_up"},
      {"BtnCHMoveDown", 11016, "MnuCHMoveDown", "move_down"},
      {nullptr, 0, nullptr, nullptr},
      {"About", 11007, "mnuHelpAbout", "about"},
  };
  int position = 0;
  for (const auto& b : kButtons) {
    ++position;
    QAction* button = nullptr;
    if (!b.key) {
      button = m_toolBar->addSeparator();
    } else {
      button = m_toolBar->addAction(icon(b.iconName), QString());
      button->setObjectName(QLatin1String(b.key));
      m_toolButtons.insert(button->objectName(), button);
      m_textIds.insert(button->objectName(), b.textId);
      if (!b.menuEntry) {
        connect(button, &QAction::triggered, this, &FrmMain::LoadNewDoc);
      } else {
        // The button does what its menu entry does, and only when the entry can.
        QAction* entry = m_actions.value(QLatin1String(b.menuEntry));
        connect(button, &QAction::triggered, entry, &QAction::trigger);
        button->setEnabled(entry->isEnabled());
        connect(entry, &QAction::enabledChanged, button, &QAction::setEnabled);
      }
    }
    if (position >= 11 && position <= 19) m_channelButtons.append(button);
  }
}

void FrmMain::mnuFileExit_Click() { close(); }

// Printing is offered but does nothing: there is no printed form of a radio.
void FrmMain::mnuWindowCascade_Click() { m_mdi->cascadeSubWindows(); }

void FrmMain::mnuWindowTile_Click() { m_mdi->tileSubWindows(); }

}  // namespace cps::gui
