#include "gui/app/enter_as_tab.hpp"

#include <QKeyEvent>
#include <QWidget>

namespace cps::gui {

void EnterAsTab::install(QWidget& control) { control.installEventFilter(new EnterAsTab(&control)); }

bool EnterAsTab::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() != QEvent::KeyPress) return false;
  const auto* key = static_cast<QKeyEvent*>(event);
  if (key->key() != Qt::Key_Return && key->key() != Qt::Key_Enter) return false;
  if (key->modifiers() & ~Qt::KeypadModifier) return false;
  if (auto* widget = qobject_cast<QWidget*>(watched)) {
    if (QWidget* next = widget->nextInFocusChain()) {
      // Skip what cannot take the focus, as Tab does.
      while (next != widget &&
             !(next->focusPolicy() & Qt::TabFocus && next->isEnabled() && next->isVisible())) {
        next = next->nextInFocusChain();
      }
      next->setFocus(Qt::TabFocusReason);
    }
  }
  return true;
}

}  // namespace cps::gui
