// The shared list and check box routines on Qt controls: every window shows
// stored values through these, so that a value its list does not hold shows the
// first item and an empty list shows nothing, as the core rules say.
#pragma once

#include <QString>

class QCheckBox;
class QComboBox;

namespace cps::gui {

// Ticks the box for 1; any other value (2 and above, negative) leaves it unticked.
void ShowCheckValue(QCheckBox& box, int value);
// Stores the list's position into `variable` if the list has a selection;
// otherwise leaves the variable as it was.
void StoreListIndex(const QComboBox& list, int& variable);
// Shows the item equal to `text`, the first item if none is; no selection for an empty list.
void SelectByText(QComboBox& list, const QString& text);
// Shows the item at `position`, the first item if it is out of range; no selection
// for an empty list.
void SelectByIndex(QComboBox& list, int position);
// Adds `text` unless an equal item exists.
void AddListItemOnce(QComboBox& list, const QString& text);
// Position of the item equal to `text`; `defaultValue` for an empty list or an
// empty text; 0 when no item is equal.
int IndexOfText(const QComboBox& list, const QString& text, int defaultValue);
// The item equal to `text`, the first item if none is; "" for an empty list.
QString FindListItem(const QComboBox& list, const QString& text);
// The item at `position`, the first item if it is out of range; "" for an empty list.
QString ListItemAt(const QComboBox& list, int position);

}  // namespace cps::gui
