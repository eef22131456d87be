// Rows of channels from a spreadsheet: the tab-separated text a spreadsheet
// (or this program's Copy) puts on the system clipboard, with the channel
// table's own columns, taken into the table from a position onward.
#pragma once

#include <span>
#include <string_view>
#include <vector>

#include "core/channels/channel_commands.hpp"
#include "core/channels/channel_table.hpp"

namespace cps {

struct PastedRows {
  int taken = 0;    // rows whose every cell the channel now holds
  int skipped = 0;  // rows left out: a cell that is no value of its column, no place left
  // The rows of the starting page the paste reached (taken or not), to be selected.
  std::vector<int> rows;
  bool anyRows() const { return taken + skipped > 0; }
};

// Takes rows into the channels from `start` onward, one position per row
// (continuing into the next groups, never past channel 128).
//
// A header line, if the first line is one, says which column each cell is in
// (the table's headers in any of `languages`; unknown headers are left out).
// Without one the cells are the table's columns from the receive frequency on,
// or from the row number on when a row has all nine, as Copy writes them; the
// transmit cell is then what the table shows (frequency, or offset in offset
// mode). List cells are the lists' texts in any of the languages; a decimal
// comma is read as a point; an empty cell leaves its field as it is.
//
// Each row goes through the commits of a typed entry (band limits, step grid);
// a row with a cell that cannot be taken is skipped whole and its position
// stays as it was. A position with no channel needs a receive frequency. One
// step of the edit history; every warning shows once for the whole paste.
PastedRows PasteChannelRows(RunState& state, const Effects& effects, TablePlace start,
                            std::string_view text, std::span<const TextOf> languages);

}  // namespace cps
