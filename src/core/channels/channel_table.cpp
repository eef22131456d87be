#include "core/channels/channel_table.hpp"

#include <algorithm>
#include <array>

#include "core/app/text_ids.hpp"
#include "core/document/channel_fields.hpp"
#include "core/document/channel_list.hpp"
#include "core/document/codec.hpp"
#include "core/document/records.hpp"

namespace cps {

namespace {

using text::kDetailsHeader;
using text::kOffsetHeader;
using text::kReservedHeader;
constexpr int kRowNumberHeader = text::kChannelRowHeader;
constexpr int kNoneText = text::kNoneItem;

// Widths in twips, as the table has always been laid out; 15 twips are one
// pixel at 96 dpi. The headers of the field columns come from the field table.
constexpr std::array<int, kTableColumns> kWidths{740,  1300, 1300, 0,    1200, 1200,
                                                 1000, 1000, 1000, 1100, 1400};

const std::array<ChannelTableColumn, kTableColumns>& columns() {
  static const auto table = [] {
    std::array<ChannelTableColumn, kTableColumns> t{};
    for (std::size_t c = 0; c < t.size(); ++c) {
      const int column = static_cast<int>(c);
      int header = kDetailsHeader;
      if (column == 0) {
        header = kRowNumberHeader;
      } else if (column == kReservedColumn) {
        header = kReservedHeader;
      } else if (column != kDetailsColumn) {
        header = FindChannelField(column)->headerTextId;
      }
      t[c] = {kWidths[c], header};
    }
    return t;
  }();
  return table;
}

bool isListColumn(int column) { return column >= kFirstListColumn && column <= kLastFieldColumn; }

// The list-cell rule: the item at the stored value, the first item for a value
// outside the list.
std::string listCellText(int column, int value, const TextOf& textOf) {
  if (column == static_cast<int>(ChannelField::DecodeTone) ||
      column == static_cast<int>(ChannelField::EncodeTone)) {
    // The tone table is long; look the one item up instead of building the list.
    if (value < 0 || value > kLastTone) value = 0;
    return ToneText(value, textOf(kNoneText));
  }
  const ChannelFieldRow* field = FindChannelField(column);
  if (field == nullptr || field->itemTextIds.empty()) return {};
  if (value < 0 || value >= static_cast<int>(field->itemTextIds.size())) value = 0;
  return textOf(field->itemTextIds[static_cast<std::size_t>(value)]);
}

}  // namespace

std::span<const ChannelTableColumn> ChannelTableColumns() { return columns(); }

int ChannelHeaderTextId(int column, bool offsetMode) {
  if (column < 0 || column >= kTableColumns) return 0;
  if (column == static_cast<int>(ChannelField::Transmit) && offsetMode) return kOffsetHeader;
  return columns()[static_cast<std::size_t>(column)].headerTextId;
}

std::vector<std::string> ChannelColumnItems(int column, const TextOf& textOf) {
  std::vector<std::string> items;
  if (!isListColumn(column)) return items;
  if (column == static_cast<int>(ChannelField::DecodeTone) ||
      column == static_cast<int>(ChannelField::EncodeTone)) {
    const std::string none = textOf(kNoneText);
    items.reserve(kToneCount);
    for (int i = 0; i < kToneCount; ++i) items.push_back(ToneText(i, none));
    return items;
  }
  for (const int id : FindChannelField(column)->itemTextIds) items.push_back(textOf(id));
  return items;
}

std::array<std::string, kTableColumns> EmptyRowTexts(int row) {
  std::array<std::string, kTableColumns> texts;
  texts[0] = std::to_string(row);
  texts[kDetailsColumn] = ">>";
  return texts;
}

std::array<std::string, kTableColumns> ChannelRowTexts(const ChannelRecord& channel, int row,
                                                       bool offsetMode, const CodecContext& codec,
                                                       const TextOf& textOf) {
  auto texts = EmptyRowTexts(row);
  texts[1] = FreqStoredToText(channel.rxFreq.raw(), codec);
  texts[2] = TxFrequencyText(channel.rxFreq.raw(), channel.offset.raw(), channel.offsetDirection,
                             offsetMode, codec);
  for (int column = kFirstListColumn; column <= kLastFieldColumn; ++column) {
    const ChannelFieldRow* field = FindChannelField(column);
    texts[static_cast<std::size_t>(column)] =
        listCellText(column, channel.*(field->member), textOf);
  }
  return texts;
}

std::string ChannelSpreadsheetText(std::span<const ChannelRecord> channels, bool offsetMode,
                                   const CodecContext& codec, const TextOf& textOf) {
  const auto oneCell = [](std::string text) {
    std::replace_if(
        text.begin(), text.end(), [](char c) { return c == '\t' || c == '\n' || c == '\r'; }, ' ');
    return text;
  };
  const auto line = [&oneCell](const auto& cellOf) {
    std::string text;
    for (int column = 0; column <= kLastFieldColumn; ++column) {
      if (column == kReservedColumn) continue;
      text += oneCell(cellOf(column)) + (column < kLastFieldColumn ? "\t" : "\n");
    }
    return text;
  };
  std::string sheet =
      line([&](int column) { return textOf(ChannelHeaderTextId(column, offsetMode)); });
  for (const ChannelRecord& channel : channels) {
    const auto cells =
        ChannelRowTexts(channel, PositionOfChannel(channel.number), offsetMode, codec, textOf);
    sheet += line([&cells](int column) { return cells[static_cast<std::size_t>(column)]; });
  }
  return sheet;
}

int NextTableRow(int row) { return row >= kTableRows ? 1 : row + 1; }
int PreviousTableRow(int row) { return row <= 1 ? kTableRows : row - 1; }

CellStep NextEditCell(int row, int column) {
  int next = column + 1;
  if (next == kReservedColumn) next = kFirstListColumn;
  if (next > kLastFieldColumn) return {NextTableRow(row), 1, true};
  return {row, next, false};
}

bool FrequencyEditorAccepts(char32_t character, int column, bool offsetMode) {
  constexpr char32_t kCopy = 3, kPaste = 22, kCut = 24;
  if (character == kCopy || character == kPaste || character == kCut) return false;
  if (character > 127) return false;
  if (character < 32 || character == 127) return true;
  if ((character >= U'0' && character <= U'9') || character == U'.') return true;
  return (character == U'+' || character == U'-') &&
         column == static_cast<int>(ChannelField::Transmit) && offsetMode;
}

bool FrequencyEditorAcceptsText(std::string_view text, int column, bool offsetMode) {
  for (const char c : text) {
    const auto code = static_cast<unsigned char>(c);
    // A text holds no control characters: those are keys, not content.
    if (code < 32 || !FrequencyEditorAccepts(code, column, offsetMode)) return false;
  }
  return true;
}

std::optional<std::string> CommittedCellText(int column, std::string_view typed) {
  const auto number = ParseNumber(typed);
  if (column == static_cast<int>(ChannelField::Receive)) {
    return number ? FormatFixed5(*number) : std::string(typed);
  }
  if (!number) return std::nullopt;
  const auto first = typed.find_first_not_of(' ');
  const char sign = first == std::string_view::npos ? '\0' : typed[first];
  if (sign == '+' || sign == '-') {
    return std::string(1, sign) + FormatFixed5(*number < 0 ? -*number : *number);
  }
  return FormatFixed5(*number);
}

}  // namespace cps
