#include "gui/app/text_boxes.hpp"

#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>

namespace cps::gui {

namespace {

// Right and middle clicks are swallowed (no menu to paste from, no pasting of
// the selection). Ctrl+Z and Ctrl+Y undo the box's own typing while it has
// some; otherwise they reach Edit > Undo and Redo, which step through the document.
class TextBoxGuard final : public QObject {
 public:
  using QObject::QObject;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (IsBlockedClick(*event)) return true;
    if (event->type() != QEvent::ShortcutOverride) return false;
    const auto& key = static_cast<const QKeyEvent&>(*event);
    const auto& box = static_cast<const QLineEdit&>(*watched);
    if ((key.matches(QKeySequence::Undo) && !box.isUndoAvailable()) ||
        (key.matches(QKeySequence::Redo) && !box.isRedoAvailable())) {
      event->ignore();
      return true;
    }
    return false;
  }
};

}  // namespace

void GuardTextBox(QLineEdit& box) {
  box.setContextMenuPolicy(Qt::NoContextMenu);
  box.setAcceptDrops(false);
  box.setAttribute(Qt::WA_InputMethodEnabled, false);
  box.installEventFilter(new TextBoxGuard(&box));
}

bool IsClipboardKey(const QKeyEvent& key) {
  return key.matches(QKeySequence::Copy) || key.matches(QKeySequence::Paste) ||
         key.matches(QKeySequence::Cut);
}

bool IsCommandKey(const QKeyEvent& key) {
  return (key.modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier)) != 0;
}

bool IsBlockedClick(const QEvent& event) {
  if (event.type() != QEvent::MouseButtonPress && event.type() != QEvent::MouseButtonDblClick) {
    return false;
  }
  const auto button = static_cast<const QMouseEvent&>(event).button();
  return button == Qt::RightButton || button == Qt::MiddleButton;
}

}  // namespace cps::gui
