// What every text box of the editors shares: it holds only what its keys may
// type, so no context menu, no drop, no input method and no pasting by any
// way, and the keys that would copy, cut or paste text are refused.
#pragma once

class QEvent;
class QKeyEvent;
class QLineEdit;

namespace cps::gui {

// No context menu, no drop, no input method, no right or middle clicks; the
// undo keys reach the document's undo when the box has no typing of its own.
void GuardTextBox(QLineEdit& box);
// Copy, cut and paste, by any of their keys.
bool IsClipboardKey(const QKeyEvent& key);
// A key pressed with Ctrl, Alt or Meta: a command, never a character to type.
bool IsCommandKey(const QKeyEvent& key);
// A right click (a context menu) or a middle click (pasting the selection).
bool IsBlockedClick(const QEvent& event);

}  // namespace cps::gui
