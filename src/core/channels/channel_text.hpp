// A channel as the channel table shows it, cell by cell, and as text for a
// spreadsheet: copying a channel also puts it on the system clipboard as a
// header row and a row of tab-separated cells.
#pragma once

#include <functional>
#include <string>
#include <vector>

namespace cps {

struct ChannelRecord;
struct CodecContext;

// The language text of an id.
using TextLookup = std::function<std::string(int)>;

struct ChannelCell {
  int headerTextId = 0;  // the column's header in the table
  std::string text;      // what the cell shows
};

// The table's row of a channel, from the position column to channel spacing:
// the position, receive, transmit (or the signed offset in offset mode), the
// two tones, power, scan skip, signalling and spacing. A stored value beyond
// its list shows the list's first item.
std::vector<ChannelCell> ChannelTableCells(const ChannelRecord& channel, bool offsetMode,
                                           const CodecContext& codec, const TextLookup& textOf);

// Two lines, the column headers and the channel's cells, each cell ended by a
// tab but the last, each line by "\n".
std::string ChannelSpreadsheetText(const ChannelRecord& channel, bool offsetMode,
                                   const CodecContext& codec, const TextLookup& textOf);

}  // namespace cps
