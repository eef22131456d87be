// What every child window of the main window shares.
#pragma once

#include <QMdiSubWindow>
#include <QWidget>

namespace cps::gui {

// Closes a child window; inside the main window's area the frame around it
// has to go with it, or an empty frame would stay behind.
inline void CloseChildWindow(QWidget& window) {
  if (auto* frame = qobject_cast<QMdiSubWindow*>(window.parentWidget())) {
    frame->close();
  } else {
    window.close();
  }
}

}  // namespace cps::gui
