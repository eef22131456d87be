#include "core/channels/channel_text.hpp"

#include <algorithm>

#include "core/app/text_ids.hpp"
#include "core/document/channel_fields.hpp"
#include "core/document/channel_list.hpp"
#include "core/document/codec.hpp"
#include "core/document/records.hpp"

namespace cps {

namespace {

std::string cellText(const ChannelFieldRow& row, const ChannelRecord& c, bool offsetMode,
                     const CodecContext& codec, const TextLookup& textOf) {
  switch (row.code) {
    case ChannelField::Receive:
      return FreqStoredToText(TrimFixed(c.rxFreq), codec);
    case ChannelField::Transmit:
      return TxFrequencyText(c.rxFreq.raw(), c.offset.raw(), c.offsetDirection, offsetMode, codec);
    default:
      break;
  }
  const int value = c.*row.member;
  if (row.kind == ChannelValueKind::Tone) {
    const std::string none = textOf(text::kChannelNone);
    return value < 0 || value > kLastTone ? none : ToneText(value, none);
  }
  if (row.itemTextIds.empty()) return std::to_string(value);
  const bool inList = value >= 0 && value < static_cast<int>(row.itemTextIds.size());
  return textOf(row.itemTextIds[inList ? static_cast<std::size_t>(value) : 0]);
}

// A tab or line end inside a text would split the spreadsheet's cells.
std::string oneCell(std::string text) {
  std::replace_if(
      text.begin(), text.end(), [](char ch) { return ch == '\t' || ch == '\n' || ch == '\r'; },
      ' ');
  return text;
}

}  // namespace

std::vector<ChannelCell> ChannelTableCells(const ChannelRecord& channel, bool offsetMode,
                                           const CodecContext& codec, const TextLookup& textOf) {
  std::vector<ChannelCell> cells;
  cells.push_back(
      {text::kChannelPositionHeader, std::to_string(PositionOfChannel(channel.number))});
  for (const auto& row : ChannelFields()) {
    if (row.headerTextId == 0) continue;
    const bool offsetColumn = row.code == ChannelField::Transmit && offsetMode;
    cells.push_back({offsetColumn ? text::kChannelOffsetHeader : row.headerTextId,
                     cellText(row, channel, offsetMode, codec, textOf)});
  }
  return cells;
}

std::string ChannelSpreadsheetText(const ChannelRecord& channel, bool offsetMode,
                                   const CodecContext& codec, const TextLookup& textOf) {
  const auto cells = ChannelTableCells(channel, offsetMode, codec, textOf);
  std::string headers;
  std::string values;
  for (std::size_t i = 0; i < cells.size(); ++i) {
    const char* separator = i + 1 < cells.size() ? "\t" : "\n";
    headers += oneCell(textOf(cells[i].headerTextId)) + separator;
    values += oneCell(cells[i].text) + separator;
  }
  return headers + values;
}

}  // namespace cps
