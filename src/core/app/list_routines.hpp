// The rules every window's pick-only lists and check boxes follow: a value the
// list does not hold shows the first item, and an empty list shows nothing.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace cps {

using ListItems = std::vector<std::string>;

// The windows' file name of a path is FileNameOfPath in core/app/file_commands.hpp.

// The check box state for a stored value: 1 is ticked, everything else (a stored
// 2 and above, or a negative value from a damaged file) shows unticked.
int CheckValueToShow(int value);

// Positions a list shows; -1 for an empty list (no selection).
// The first item equal to `text`, else the first item.
int PositionToShowForText(const ListItems& items, std::string_view text);
// `position` when it is in the list, else the first item.
int PositionToShowForIndex(const ListItems& items, int position);

// The item equal to `text`; the first item if none is equal; "" for an empty list.
std::string FindListItem(const ListItems& items, std::string_view text);
// The item at `position`; the first item if the position is negative or too
// large; "" for an empty list.
std::string ListItemAt(const ListItems& items, int position);
// Position of the first item equal to `text`; `defaultValue` when the list is
// empty or the text is ""; 0 when no item is equal.
int IndexOfText(const ListItems& items, std::string_view text, int defaultValue);
// Adds `text` unless an equal item exists; true when it was added.
bool AddListItemOnce(ListItems& items, std::string_view text);

// The text as a whole number if it is numeric (a "." part is rounded, halves to
// the even neighbour); otherwise, for "" and for a number beyond the range of
// an int, `defaultValue`.
int TextToLongOr(std::string_view text, int defaultValue);

}  // namespace cps
