#include "gui/app/text_boxes.hpp"

#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>

namespace cps::gui {

void GuardTextBox(QLineEdit& box) {
  box.setContextMenuPolicy(Qt::NoContextMenu);
  box.setAcceptDrops(false);
  box.setAttribute(Qt::WA_InputMethodEnabled, false);
}

bool IsClipboardKey(const QKeyEvent& key) {
  return key.matches(QKeySequence::Copy) || key.matches(QKeySequence::Paste) ||
         key.matches(QKeySequence::Cut);
}

bool IsBlockedClick(const QEvent& event) {
  if (event.type() != QEvent::MouseButtonPress && event.type() != QEvent::MouseButtonDblClick) {
    return false;
  }
  const auto button = static_cast<const QMouseEvent&>(event).button();
  return button == Qt::RightButton || button == Qt::MiddleButton;
}

}  // namespace cps::gui
