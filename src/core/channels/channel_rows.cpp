#include "core/channels/channel_rows.hpp"

#include <algorithm>
#include <array>
#include <optional>
#include <string>

#include "core/app/text_ids.hpp"
#include "core/document/codec.hpp"
#include "core/document/edit_history.hpp"
#include "core/document/once_prompter.hpp"
#include "core/document/records.hpp"
#include "core/run_state.hpp"

namespace cps {

namespace {

constexpr int kPositions = static_cast<int>(kChannelsPerGroup);
constexpr int kLastNumber = static_cast<int>(kGroupCount) * kPositions;
constexpr int kReceive = static_cast<int>(ChannelField::Receive);
constexpr int kTransmit = static_cast<int>(ChannelField::Transmit);
constexpr int kDecode = static_cast<int>(ChannelField::DecodeTone);
constexpr int kEncode = static_cast<int>(ChannelField::EncodeTone);
// A column of the row that is not the table's: left out.
constexpr int kNoColumn = -1;

// The columns as Copy writes them, the reserved one left out.
constexpr std::array<int, 9> kCopiedColumns{0, 1, 2, 4, 5, 6, 7, 8, 9};

std::string trimmed(std::string_view text) {
  const auto first = text.find_first_not_of(" \t\r");
  if (first == std::string_view::npos) return {};
  const auto last = text.find_last_not_of(" \t\r");
  return std::string(text.substr(first, last - first + 1));
}

std::string lowerAscii(std::string text) {
  for (char& c : text) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  return text;
}

bool sameText(std::string_view a, std::string_view b) {
  return lowerAscii(trimmed(a)) == lowerAscii(trimmed(b));
}

// A cell as a spreadsheet writes it: quoted when it holds a quote, a tab or a
// line end, with quotes doubled inside.
std::string cellValue(std::string_view cell) {
  std::string text = trimmed(cell);
  if (text.size() >= 2 && text.front() == '"' && text.back() == '"') {
    std::string inner;
    for (std::size_t i = 1; i + 1 < text.size(); ++i) {
      inner += text[i];
      if (text[i] == '"' && i + 2 < text.size() && text[i + 1] == '"') ++i;
    }
    text = trimmed(inner);
  }
  return text;
}

std::vector<std::vector<std::string>> splitRows(std::string_view text) {
  std::vector<std::vector<std::string>> rows;
  std::size_t at = 0;
  while (at <= text.size()) {
    auto end = text.find('\n', at);
    if (end == std::string_view::npos) end = text.size();
    const std::string_view line = text.substr(at, end - at);
    std::vector<std::string> cells;
    std::size_t from = 0;
    while (true) {
      const auto tab = line.find('\t', from);
      cells.push_back(
          cellValue(line.substr(from, tab == std::string_view::npos ? line.npos : tab - from)));
      if (tab == std::string_view::npos) break;
      from = tab + 1;
    }
    rows.push_back(std::move(cells));
    at = end + 1;
  }
  // The line end after the last row makes no row of its own.
  while (!rows.empty() && std::all_of(rows.back().begin(), rows.back().end(),
                                      [](const std::string& c) { return c.empty(); })) {
    rows.pop_back();
  }
  return rows;
}

// What a header cell names: a column of the table, the offset column, or nothing.
struct HeaderColumn {
  int column = kNoColumn;
  bool offsets = false;
};

std::optional<HeaderColumn> headerColumn(std::string_view cell, std::span<const TextOf> languages) {
  for (const TextOf& textOf : languages) {
    if (sameText(cell, textOf(text::kOffsetHeader))) return HeaderColumn{kTransmit, true};
    for (const int column : kCopiedColumns) {
      if (sameText(cell, textOf(ChannelHeaderTextId(column, false)))) return HeaderColumn{column};
    }
  }
  return std::nullopt;
}

// The columns by cell, when the first line is a header: it names a column
// and holds no number.
std::optional<std::vector<HeaderColumn>> headerLayout(const std::vector<std::string>& cells,
                                                      std::span<const TextOf> languages) {
  std::vector<HeaderColumn> layout;
  bool named = false;
  for (const auto& cell : cells) {
    if (!cell.empty() && ParseNumber(cell)) return std::nullopt;
    const auto column = headerColumn(cell, languages);
    named |= column.has_value();
    layout.push_back(column.value_or(HeaderColumn{}));
  }
  if (!named) return std::nullopt;
  return layout;
}

std::vector<HeaderColumn> copiedLayout(std::size_t cells, bool offsetMode) {
  std::vector<HeaderColumn> columns;
  const std::size_t skip = cells >= kCopiedColumns.size() ? 0 : 1;
  for (std::size_t i = skip; i < kCopiedColumns.size(); ++i) {
    columns.push_back({kCopiedColumns[i], kCopiedColumns[i] == kTransmit && offsetMode});
  }
  return columns;
}

// A number as a spreadsheet of a decimal-comma locale may give it back.
std::string withDecimalPoint(std::string text) {
  if (text.find('.') == std::string::npos && std::count(text.begin(), text.end(), ',') == 1) {
    std::replace(text.begin(), text.end(), ',', '.');
  }
  return text;
}

std::optional<int> listValue(int column, std::string_view cell, std::span<const TextOf> languages) {
  if (column == kDecode || column == kEncode) {
    for (const TextOf& textOf : languages) {
      if (sameText(cell, textOf(text::kNoneItem))) return 0;
    }
    return ToneIndexOfText(withDecimalPoint(std::string(cell)));
  }
  for (const TextOf& textOf : languages) {
    const auto items = ChannelColumnItems(column, textOf);
    for (std::size_t i = 0; i < items.size(); ++i) {
      if (sameText(cell, items[i])) return static_cast<int>(i);
    }
  }
  return std::nullopt;
}

struct RowEdits {
  std::optional<std::string> receive;
  std::optional<double> transmit;  // MHz, or a signed offset when `offsets`
  bool offsets = false;
  std::vector<std::pair<int, int>> lists;  // column, value
};

// Every cell of the row as the value its column takes; empty when one is none.
std::optional<RowEdits> readRow(const std::vector<std::string>& cells,
                                const std::vector<HeaderColumn>& layout,
                                std::span<const TextOf> languages) {
  RowEdits edits;
  for (std::size_t i = 0; i < cells.size() && i < layout.size(); ++i) {
    const std::string& cell = cells[i];
    const int column = layout[i].column;
    if (cell.empty() || column == kNoColumn || column == 0) continue;
    if (column == kReceive || column == kTransmit) {
      const std::string number = withDecimalPoint(cell);
      const auto value = ParseNumber(number);
      const bool signedOffset = column == kTransmit && layout[i].offsets;
      if (!value || (!signedOffset && *value < 0)) return std::nullopt;
      if (column == kReceive) {
        edits.receive = *CommittedCellText(kReceive, number);
      } else {
        edits.transmit = value;
        edits.offsets = signedOffset;
      }
    } else if (const auto item = listValue(column, cell, languages)) {
      edits.lists.emplace_back(column, *item);
    } else {
      return std::nullopt;
    }
  }
  return edits;
}

// The transmit entry as the table takes it now: the frequency, or in offset
// mode the signed offset from the channel's receive frequency.
std::string transmitEntry(const RunState& state, const CodecContext& codec,
                          const ChannelRecord& channel, double value, bool offsets) {
  const bool offsetMode = state.habits.offsetMode;
  if (offsets == offsetMode) {
    if (!offsets) return FormatFixed5(value);
    return std::string(value < 0 ? "-" : "+") + FormatFixed5(value < 0 ? -value : value);
  }
  const double rx = ParseNumber(FreqStoredToText(channel.rxFreq.raw(), codec)).value_or(0.0);
  if (offsets) return FormatFixed5(rx + value);
  const double offset = value - rx;
  return std::string(offset < 0 ? "-" : "+") + FormatFixed5(offset < 0 ? -offset : offset);
}

// Puts one row into channel `number`; false, with the channel as it was, when
// an edit was refused.
bool applyRow(RunState& state, const Effects& effects, int number, const RowEdits& edits) {
  const int group = GroupOfChannel(number) - 1;
  const int position = PositionOfChannel(number);
  const DocumentRecord before = state.workingDocument;
  const auto refused = [](const EditOutcome& outcome) {
    return outcome.status == EditStatus::Refused;
  };
  bool ok = true;
  if (edits.receive) {
    ok = !refused(ApplyChannelEdit(state, effects, group, position, kReceive, *edits.receive));
  }
  const int index = FindChannelIndex(state.workingDocument, number);
  ok = ok && index >= 0;
  if (ok && edits.transmit) {
    const CodecContext codec{state.model.limits, effects.prompter};
    const std::string entry =
        transmitEntry(state, codec, state.workingDocument.channels[static_cast<std::size_t>(index)],
                      *edits.transmit, edits.offsets);
    ok = !refused(ApplyChannelEdit(state, effects, group, position, kTransmit, entry));
  }
  for (const auto& [column, value] : edits.lists) {
    if (!ok) break;
    ok = !refused(ApplyChannelEdit(state, effects, group, position, column, std::to_string(value)));
  }
  if (!ok) {
    state.workingDocument = before;
    RefreshChannelViews(state, effects.observer, {position, group});
  }
  return ok;
}

}  // namespace

PastedRows PasteChannelRows(RunState& state, const Effects& effects, TablePlace start,
                            std::string_view text, std::span<const TextOf> languages) {
  PastedRows result;
  if (start.group < 0 || start.group >= static_cast<int>(kGroupCount) || start.position < 1 ||
      start.position > kPositions) {
    return result;
  }
  auto rows = splitRows(text);
  if (rows.empty()) return result;
  std::vector<HeaderColumn> layout;
  bool fromHeader = false;
  if (const auto header = headerLayout(rows.front(), languages)) {
    layout = *header;
    fromHeader = true;
    rows.erase(rows.begin());
  }

  HistoryStep step(state);
  OncePerTextPrompter once(effects.prompter);
  const Effects quiet{once, effects.observer};
  const int first = start.group * kPositions + start.position;
  for (std::size_t i = 0; i < rows.size(); ++i) {
    const auto& cells = rows[i];
    const int number = first + static_cast<int>(i);
    const bool blank =
        std::all_of(cells.begin(), cells.end(), [](const std::string& c) { return c.empty(); });
    if (blank) continue;  // a gap in the sheet leaves its position as it is
    if (number > kLastNumber) {
      ++result.skipped;
      continue;
    }
    if (GroupOfChannel(number) - 1 == start.group) {
      result.rows.push_back(PositionOfChannel(number));
    }
    const auto edits =
        readRow(cells, fromHeader ? layout : copiedLayout(cells.size(), state.habits.offsetMode),
                languages);
    const bool exists = FindChannelIndex(state.workingDocument, number) >= 0;
    if (!edits || (!exists && !edits->receive) || !applyRow(state, quiet, number, *edits)) {
      ++result.skipped;
      continue;
    }
    ++result.taken;
  }
  if (result.taken > 0) RevalidateChannelRefs(state.workingDocument, effects.observer);
  return result;
}

}  // namespace cps
