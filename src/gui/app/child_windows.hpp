// One table of the main window's child windows: each window's name, the menu
// entry and tree node that open it, and whether it commits what is typed in it
// before a read or a write of the radio. The main window builds its tree and
// its window commands from it; the radio link asks it which windows commit.
#pragma once

#include <span>

namespace cps::gui {

struct ChildWindowEntry {
  const char* name;        // the window's class name and objectName
  const char* action;      // the menu entry whose command shows it; nullptr: none
  const char* treeNode;    // its node in the editor tree; nullptr: none
  const char* treeAction;  // what a click on the node runs, when not `action`
  int treeTextId;
  bool commitsBeforeRead;
  bool commitsBeforeWrite;
};

inline constexpr char kChannelWindowName[] = "frmCommChInfo";
inline constexpr char kRadioInfoWindowName[] = "FrmRadioInfo";

// In the tree's order; windows without a node follow.
std::span<const ChildWindowEntry> ChildWindows();
const ChildWindowEntry* FindChildWindow(const char* name);

// A save takes every pending entry of every window; a read or a write of the
// radio asks the windows the table names.
enum class CommitBefore { Read, Write, Save };

}  // namespace cps::gui
