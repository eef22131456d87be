// What every text box of the editors shares: it holds only what its keys may
// type, so no context menu, no drop, no input method and no pasting by any
// way, and the keys that would copy, cut or paste text are refused.
#pragma once

#include <QChar>
#include <functional>
#include <optional>

class QEvent;
class QFocusEvent;
class QKeyEvent;
class QLineEdit;
class QString;
class QWidget;

namespace cps::gui {

// What a box puts in for a typed character (a letter may become its capital);
// none when the box refuses it.
using CharacterRule = std::function<std::optional<QChar>(QChar)>;

// Why a box did not take what was typed.
enum class Refusal { Character, Full };
using RefusalNotice = std::function<void(Refusal)>;

// No context menu, no drop, no input method, no right or middle clicks; the
// undo keys reach the document's undo when the box has no typing of its own.
void GuardTextBox(QLineEdit& box);
// The same, and `rule` decides every character that reaches the box: by a key
// whatever its modifiers (an Alt chord, AltGr as Ctrl+Alt, as the group switch
// or as a third-level character with no modifier at all), by an input method,
// or by the box's own insertion. A box without a validator of its own gets
// one from the rule. `notice` hears of what was refused.
void GuardTextBox(QLineEdit& box, CharacterRule rule, RefusalNotice notice = {});
// Copy, cut and paste, by any of their keys.
bool IsClipboardKey(const QKeyEvent& key);
// A key pressed with Ctrl, Alt or Meta. It may still bring a character (AltGr
// arrives as Ctrl+Alt on Windows), so a box with a rule judges its text.
bool IsCommandKey(const QKeyEvent& key);
// A right click (a context menu) or a middle click (pasting the selection).
bool IsBlockedClick(const QEvent& event);
// True when the focus moved from one control of the program to another; false
// when the program as a whole lost or regained it (another application, a
// window switch) or a menu or pop-up took it for a moment.
bool MovesBetweenControls(const QFocusEvent& event);
// Says why typing was not taken where the user looks: the main window's status
// bar, and a tip at the box.
void TellWhyRefused(QWidget& box, const QString& why);

}  // namespace cps::gui
