// What the channel table shows and how its cursor walks, without a widget:
// the eleven columns, the text of each cell of a channel, the lists of the
// list columns, the keys the frequency editor takes and the Enter walk. The
// desktop table draws from here; the rules are tested here.
#pragma once

#include <array>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace cps {

struct ChannelRecord;
struct CodecContext;

// The language text of a number.
using TextOf = std::function<std::string(int)>;

inline constexpr int kTableColumns = 11;  // 0 the row number, 1 to 9 the fields, 10 ">>"
inline constexpr int kTableRows = 16;     // the positions of one group
inline constexpr int kReservedColumn = 3;
inline constexpr int kDetailsColumn = 10;
inline constexpr int kFirstListColumn = 4;
inline constexpr int kLastFieldColumn = 9;

struct ChannelTableColumn {
  int widthTwips;
  int headerTextId;
};

// Columns 0 to 10 in order. Column 3 is reserved: no width, never filled.
std::span<const ChannelTableColumn> ChannelTableColumns();
// The header of a column; the transmit column names the offset in offset mode.
int ChannelHeaderTextId(int column, bool offsetMode);

// The items of a list column (4 to 9): the tone list with the none text first
// for the two tone columns, the field's items for the others; empty for any
// other column.
std::vector<std::string> ChannelColumnItems(int column, const TextOf& textOf);

// The texts of columns 0 to 10 for one channel. A list value outside its list
// shows the first item; column 3 stays empty.
std::array<std::string, kTableColumns> ChannelRowTexts(const ChannelRecord& channel, int row,
                                                       bool offsetMode, const CodecContext& codec,
                                                       const TextOf& textOf);
// The texts of an empty position: the row number and ">>" only.
std::array<std::string, kTableColumns> EmptyRowTexts(int row);

// The channels as a spreadsheet takes them from the system clipboard: a row of
// the table's headers (from the row number to the spacing, the reserved column
// left out) and a row of cells for each channel, tab-separated, each line
// ended by "\n". A tab or line end inside a text becomes a space.
std::string ChannelSpreadsheetText(std::span<const ChannelRecord> channels, bool offsetMode,
                                   const CodecContext& codec, const TextOf& textOf);

// ---- Moving the cursor --------------------------------------------------------

// The row after `row`, back to 1 after the last one: the group never changes.
int NextTableRow(int row);
int PreviousTableRow(int row);

struct CellStep {
  int row;
  int column;
  bool wrapped;  // the walk left column 9 for column 1 of the next row
};
// Where Enter goes from a field column: 1, 2, 4 to 9, then column 1 of the next row.
CellStep NextEditCell(int row, int column);

// ---- The frequency editor -----------------------------------------------------

// Whether the frequency editor takes a typed character: digits and ".", and
// "+" and "-" in the transmit column while it shows offsets. Control characters
// pass (Backspace), except the copy, paste and cut characters; nothing above 127.
bool FrequencyEditorAccepts(char32_t character, int column, bool offsetMode);
// Whether a whole text could have been typed into the frequency editor of `column`.
bool FrequencyEditorAcceptsText(std::string_view text, int column, bool offsetMode);

// The text a cell takes when its typed entry is committed with Enter: a
// receive frequency as "#0.00000" (a text that is no number stays as typed);
// a transmit entry as "#0.00000" with its sign kept. Empty for a transmit text
// that is no number, which is neither shown nor stored.
std::optional<std::string> CommittedCellText(int column, std::string_view typed);

}  // namespace cps
