#include "gui/app/text_boxes.hpp"

#include <QFocusEvent>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMainWindow>
#include <QMouseEvent>
#include <QStatusBar>
#include <QToolTip>
#include <QValidator>
#include <algorithm>

namespace cps::gui {

namespace {

constexpr int kRefusalMessageMs = 5000;

bool isControl(QChar c) { return c.unicode() < 0x20 || c.unicode() == 0x7F; }

// Ctrl or Ctrl+Shift with a key: a command (undo, select all), which a box
// never types whatever text the platform gives it ("z" for Ctrl+Z on some).
// Ctrl+Alt is AltGr on Windows and may bring a character.
bool isControlChord(const QKeyEvent& key) {
  const auto modifiers = key.modifiers() & ~(Qt::KeypadModifier | Qt::GroupSwitchModifier);
  return modifiers == Qt::ControlModifier || modifiers == (Qt::ControlModifier | Qt::ShiftModifier);
}

// Whatever way text reaches the box, it holds only characters its rule takes as they are.
class RuleValidator final : public QValidator {
 public:
  RuleValidator(CharacterRule rule, QObject* parent)
      : QValidator(parent), m_rule(std::move(rule)) {}
  State validate(QString& input, int&) const override {
    for (const QChar c : input) {
      if (m_rule(c) != c) return Invalid;
    }
    return Acceptable;
  }

 private:
  CharacterRule m_rule;
};

// Right and middle clicks are swallowed (no menu to paste from, no pasting of
// the selection). Ctrl+Z and Ctrl+Y undo the box's own typing while it has
// some; otherwise they reach Edit > Undo and Redo, which step through the document.
// With a rule, every character a key or an input method brings meets it.
class TextBoxGuard final : public QObject {
 public:
  TextBoxGuard(QLineEdit& box, CharacterRule rule, RefusalNotice notice)
      : QObject(&box), m_box(box), m_rule(std::move(rule)), m_notice(std::move(notice)) {}

 protected:
  bool eventFilter(QObject*, QEvent* event) override {
    if (IsBlockedClick(*event)) return true;
    switch (event->type()) {
      case QEvent::ShortcutOverride: {
        const auto& key = static_cast<const QKeyEvent&>(*event);
        if ((key.matches(QKeySequence::Undo) && !m_box.isUndoAvailable()) ||
            (key.matches(QKeySequence::Redo) && !m_box.isRedoAvailable())) {
          event->ignore();
          return true;
        }
        return false;
      }
      case QEvent::KeyPress: {
        const auto& key = static_cast<const QKeyEvent&>(*event);
        return m_rule && !isControlChord(key) && refusedOrTaken(key.text());
      }
      case QEvent::InputMethod:
        return m_rule &&
               refusedOrTaken(static_cast<const QInputMethodEvent&>(*event).commitString());
      default:
        return false;
    }
  }

 private:
  // True when the box must not handle the text itself: a character of it is
  // refused, the box is full, or the rule changed it and it is put in here.
  // Text of control characters alone (Backspace, Enter, Ctrl+A) is the box's.
  bool refusedOrTaken(const QString& typed) {
    if (std::all_of(typed.begin(), typed.end(), isControl)) return false;
    QString taken;
    for (const QChar c : typed) {
      const auto accepted = m_rule(c);
      if (!accepted) return refuse(Refusal::Character);
      taken += *accepted;
    }
    const auto kept = m_box.text().size() - m_box.selectedText().size();
    if (kept + taken.size() > m_box.maxLength()) return refuse(Refusal::Full);
    if (taken == typed) return false;
    m_box.insert(taken);
    return true;
  }
  bool refuse(Refusal why) {
    if (m_notice) m_notice(why);
    return true;
  }

  QLineEdit& m_box;
  CharacterRule m_rule;
  RefusalNotice m_notice;
};

}  // namespace

void GuardTextBox(QLineEdit& box) { GuardTextBox(box, {}, {}); }

void GuardTextBox(QLineEdit& box, CharacterRule rule, RefusalNotice notice) {
  box.setContextMenuPolicy(Qt::NoContextMenu);
  box.setAcceptDrops(false);
  box.setAttribute(Qt::WA_InputMethodEnabled, false);
  if (rule && box.validator() == nullptr) box.setValidator(new RuleValidator(rule, &box));
  box.installEventFilter(new TextBoxGuard(box, std::move(rule), std::move(notice)));
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

bool MovesBetweenControls(const QFocusEvent& event) {
  switch (event.reason()) {
    case Qt::ActiveWindowFocusReason:
    case Qt::PopupFocusReason:
    case Qt::MenuBarFocusReason:
      return false;
    default:
      return true;
  }
}

void TellWhyRefused(QWidget& box, const QString& why) {
  if (auto* main = qobject_cast<QMainWindow*>(box.window())) {
    main->statusBar()->showMessage(why, kRefusalMessageMs);
  }
  QToolTip::showText(box.mapToGlobal(QPoint(0, box.height())), why, &box);
}

}  // namespace cps::gui
