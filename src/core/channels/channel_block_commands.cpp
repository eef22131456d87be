// The channel commands on a block of rows: the single commands' parts, run
// once per row under one step of the edit history and one question.
#include <algorithm>
#include <array>
#include <string>

#include "core/app/text_ids.hpp"
#include "core/channels/channel_commands.hpp"
#include "core/document/edit_history.hpp"
#include "core/document/once_prompter.hpp"
#include "core/document/records.hpp"
#include "core/run_state.hpp"

namespace cps {

namespace {

constexpr int kPositions = static_cast<int>(kChannelsPerGroup);
constexpr int kLastNumber = static_cast<int>(kGroupCount) * kPositions;

int numberAt(int group, int row) { return group * kPositions + row; }

// Up from position 1 is 16, down from 16 is 1: as single moves wrap.
int wrapped(int row) { return (row - 1 + kPositions) % kPositions + 1; }

std::vector<int> rowsOnThePage(const std::vector<int>& rows) {
  std::vector<int> result;
  for (const int row : rows) {
    if (row >= 1 && row <= kPositions) result.push_back(row);
  }
  std::sort(result.begin(), result.end());
  result.erase(std::unique(result.begin(), result.end()), result.end());
  return result;
}

// Removing every channel at these rows would leave the document without channels.
bool removesEveryChannel(const DocumentRecord& doc, int group, const std::vector<int>& rows) {
  int held = 0;
  for (const int row : rows) held += FindChannelIndex(doc, numberAt(group, row)) >= 0 ? 1 : 0;
  return held > 0 && held == doc.usedCount();
}

void copyRows(RunState& state, int group, const std::vector<int>& rows) {
  std::vector<ChannelRecord> copied;
  for (const int row : rows) {
    const int index = FindChannelIndex(state.workingDocument, numberAt(group, row));
    if (index >= 0)
      copied.push_back(state.workingDocument.channels[static_cast<std::size_t>(index)]);
  }
  // Selected positions that are all empty copy nothing, as Copy on an empty position does.
  if (!copied.empty()) state.channelClipboard.channels = std::move(copied);
}

bool deleteRows(RunState& state, const Effects& effects, int group, const std::vector<int>& rows) {
  const bool answered = AskChannelQuestion(state, effects, ConfirmMode::Delete);
  // From the bottom up, so that closing one gap does not move a row still to come.
  for (auto row = rows.rbegin(); row != rows.rend(); ++row) {
    const TablePlace place{*row, group};
    ClearChannelSlot(state, effects, place);
    if (state.habits.deleteCloses) ShiftGroupUp(state, effects, place);
  }
  return answered;
}

ChannelCommandResult deleteOrCut(RunState& state, const Effects& effects, int group,
                                 const std::vector<int>& rows, bool cut) {
  if (removesEveryChannel(state.workingDocument, group, rows)) return LastChannelKept();
  HistoryStep step(state);
  if (cut) copyRows(state, group, rows);
  const bool answered = deleteRows(state, effects, group, rows);
  RevalidateChannelRefs(state.workingDocument, effects.observer);
  return {{}, rows.front(), answered, {rows.front()}};
}

// Where each position's channel goes when the selected rows move by `step`
// (-1 up, +1 down): a selected row one position on, wrapping; the position
// each run of selected rows moves onto gives its channel to the run's other end.
std::array<int, kPositions + 1> movedPositions(const std::vector<int>& rows, int step) {
  std::array<bool, kPositions + 1> selected{};
  for (const int row : rows) selected[static_cast<std::size_t>(row)] = true;
  std::array<int, kPositions + 1> to{};
  for (int row = 1; row <= kPositions; ++row) to[static_cast<std::size_t>(row)] = row;
  for (const int row : rows) {
    to[static_cast<std::size_t>(row)] = wrapped(row + step);
    // A run starts where the row it moves onto is not selected itself.
    const int onto = wrapped(row + step);
    if (selected[static_cast<std::size_t>(onto)]) continue;
    int end = row;
    while (selected[static_cast<std::size_t>(wrapped(end - step))] && wrapped(end - step) != row) {
      end = wrapped(end - step);
    }
    to[static_cast<std::size_t>(onto)] = end;
  }
  return to;
}

ChannelCommandResult moveRows(RunState& state, const Effects& effects, const TableSelection& block,
                              const std::vector<int>& rows, int step) {
  HistoryStep history(state);
  const auto to = movedPositions(rows, step);
  for (auto& channel : state.workingDocument.usedChannels()) {
    const int row = channel.number - block.group * kPositions;
    if (row < 1 || row > kPositions) continue;
    channel.number =
        static_cast<std::int16_t>(numberAt(block.group, to[static_cast<std::size_t>(row)]));
  }
  RefreshAllChannelViews(state, effects.observer);
  RevalidateChannelRefs(state.workingDocument, effects.observer);
  std::vector<int> moved;
  for (const int row : rows) moved.push_back(wrapped(row + step));
  std::sort(moved.begin(), moved.end());
  return {{}, wrapped(block.cursor + step), false, moved};
}

}  // namespace

ChannelCommandResult RunChannelCommandOnRows(RunState& state, const Effects& effects,
                                             ChannelCommand command, const TableSelection& block) {
  const std::vector<int> rows = rowsOnThePage(block.rows);
  const TablePlace cursor{block.cursor, block.group};
  if (rows.size() <= 1 || command == ChannelCommand::Insert || command == ChannelCommand::Paste) {
    return RunChannelCommand(state, effects, command, cursor);
  }
  if (block.group < 0 || block.group >= static_cast<int>(kGroupCount)) {
    return RunChannelCommand(state, effects, command, cursor);
  }
  switch (command) {
    case ChannelCommand::Copy:
      copyRows(state, block.group, rows);
      return {{}, std::nullopt, false, rows};
    case ChannelCommand::Cut:
      return deleteOrCut(state, effects, block.group, rows, true);
    case ChannelCommand::Delete:
      return deleteOrCut(state, effects, block.group, rows, false);
    case ChannelCommand::MoveUp:
      return moveRows(state, effects, block, rows, -1);
    case ChannelCommand::MoveDown:
      return moveRows(state, effects, block, rows, 1);
    default:
      return RunChannelCommand(state, effects, command, cursor);
  }
}

ChannelCommandResult PasteChannels(RunState& state, const Effects& effects, TablePlace place) {
  if (place.group < 0 || place.group >= static_cast<int>(kGroupCount) || place.position < 1 ||
      place.position > kPositions || !state.channelClipboard.hasChannel()) {
    return ChannelCommandResult{{0, "nothing copied can stand at that place"}};
  }
  HistoryStep step(state);
  const DocumentRecord before = state.workingDocument;
  OncePerTextPrompter once(effects.prompter);
  const Effects quiet{once, effects.observer};
  const bool answered = AskChannelQuestion(state, quiet, ConfirmMode::Paste);
  // The clipboard is read once: pasting never changes what was copied.
  const std::vector<ChannelRecord> copied = state.channelClipboard.channels;
  const int first = numberAt(place.group, place.position);
  int left = 0;
  bool full = false;
  std::vector<int> rows;
  for (std::size_t i = 0; i < copied.size(); ++i) {
    const int number = first + static_cast<int>(i);
    if (number > kLastNumber) {
      left = static_cast<int>(copied.size() - i);
      break;
    }
    const TablePlace at{PositionOfChannel(number), GroupOfChannel(number) - 1};
    if (state.habits.pasteInserts) InsertEmptyPosition(state, quiet, at);
    if (!PlaceChannel(state, quiet, at, copied[i])) full = true;
    if (at.group == place.group) rows.push_back(at.position);
  }
  if (state.workingDocument.usedCount() == 0) {
    // Entries with reserved values clear their places; the last channel stays.
    state.workingDocument = before;
    RefreshAllChannelViews(state, effects.observer);
    ChannelCommandResult kept = LastChannelKept();
    kept.saveHabits = answered;
    return kept;
  }
  RevalidateChannelRefs(state.workingDocument, effects.observer);
  // A single channel stays where it was pasted, the cursor with it; a block is selected.
  const bool block = copied.size() > 1;
  ChannelCommandResult result{{},
                              block ? std::optional<int>(place.position) : std::nullopt,
                              answered,
                              block ? rows : std::vector<int>{}};
  if (full) {
    result.failure = {text::kNoFreeChannelEntry, "the channel list has no free entry"};
  } else if (left > 0) {
    result.failure = {text::kChannelsNotFitting,
                      std::to_string(left) + " copied channels did not fit after channel 128",
                      {std::to_string(left)}};
  }
  return result;
}

BlockEditResult ApplyEditsToRows(RunState& state, const Effects& effects, int group,
                                 const std::vector<int>& rows,
                                 const std::vector<std::pair<int, std::string>>& edits) {
  BlockEditResult result;
  if (group < 0 || group >= static_cast<int>(kGroupCount)) return result;
  // Lockout by tone needs a tone to check: it is set after the tones and the
  // scrambler, which decide whether a channel has one.
  std::vector<std::pair<int, std::string>> inOrder = edits;
  std::stable_partition(inOrder.begin(), inOrder.end(), [](const auto& edit) {
    return edit.first != static_cast<int>(ChannelField::BusyLockout);
  });
  HistoryStep step(state);
  OncePerTextPrompter once(effects.prompter);
  const Effects quiet{once, effects.observer};
  for (const int row : rowsOnThePage(rows)) {
    const int number = numberAt(group, row);
    const int index = FindChannelIndex(state.workingDocument, number);
    if (index < 0) continue;
    const ChannelRecord before = state.workingDocument.channels[static_cast<std::size_t>(index)];
    bool refused = false;
    for (const auto& [field, value] : inOrder) {
      refused |=
          ApplyChannelEdit(state, quiet, group, row, field, value).status == EditStatus::Refused;
    }
    result.refused += refused ? 1 : 0;
    const int after = FindChannelIndex(state.workingDocument, number);
    if (after < 0 || state.workingDocument.channels[static_cast<std::size_t>(after)] != before) {
      ++result.changed;
    }
  }
  return result;
}

}  // namespace cps
