// The channel commands of the channel table: cut, copy, paste, insert, delete,
// move up and move down, acting on the channel under the table's cursor or on
// the rows selected, with the edit habits that decide whether paste inserts
// and whether delete closes the gap. They change the document and say which
// windows redraw; where the table's cursor and selection go afterwards is
// returned, never set.
#pragma once

#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "core/document/channel_list.hpp"
#include "core/document/failure.hpp"
#include "core/document/prompter.hpp"

namespace cps {

struct RunState;
struct DocumentRecord;
struct HabitRecord;

// Where a command acts: the table's cursor row and the group the table shows.
struct TablePlace {
  int position = 1;  // 1 to 16
  int group = 0;     // 0 to 7
};

// The commands by the numbers the menu and toolbar dispatch with.
enum class ChannelCommand {
  Cut = 1,
  Copy = 2,
  Paste = 3,
  Insert = 4,
  Delete = 5,
  MoveUp = 6,
  MoveDown = 7,
};

struct ChannelCommandResult {
  ChannelCommandResult() = default;
  ChannelCommandResult(Failure why, std::optional<int> row = std::nullopt, bool answered = false,
                       std::vector<int> rows = {})
      : failure(std::move(why)), cursorRow(row), saveHabits(answered), selection(std::move(rows)) {}

  Failure failure;               // why the command could not do what it is for; empty when it did
  std::optional<int> cursorRow;  // the row the table's cursor moves to
  // The user answered the paste or delete question: the habits took the
  // answer and the habit file is to be written.
  bool saveHabits = false;
  // The rows of the page selected afterwards; empty: the cursor's row alone.
  std::vector<int> selection;
  bool ran() const { return failure.detail.empty(); }
};

// Cut and copy are offered only on a channel that holds a receive frequency
// and whose reserved field is 0.
bool IsChannelUsable(const DocumentRecord& doc, int number);

// The habits after the user answered the paste or delete question: Yes or No
// sets how the command behaves and whether it asks again; closing the window
// changes nothing.
HabitRecord ApplyConfirmAnswer(HabitRecord habits, ConfirmMode mode, const ConfirmAnswer& answer);

// Each command is one step of the edit history. Cut, paste, insert, delete and
// the moves re-point the alert and scan channel references afterwards.
ChannelCommandResult CopyChannel(RunState& state, const Effects& effects, TablePlace place);
ChannelCommandResult CutChannel(RunState& state, const Effects& effects, TablePlace place);
ChannelCommandResult PasteChannel(RunState& state, const Effects& effects, TablePlace place);
ChannelCommandResult InsertChannel(RunState& state, const Effects& effects, TablePlace place);
ChannelCommandResult DeleteChannel(RunState& state, const Effects& effects, TablePlace place);
ChannelCommandResult MoveChannelUp(RunState& state, const Effects& effects, TablePlace place);
ChannelCommandResult MoveChannelDown(RunState& state, const Effects& effects, TablePlace place);
ChannelCommandResult RunChannelCommand(RunState& state, const Effects& effects,
                                       ChannelCommand command, TablePlace place);

// The parts the commands are built from. They leave the channel references as
// they are: the commands re-point them once, when every part has run.
//
// Removes the channel at the place, if any.
void ClearChannelSlot(RunState& state, const Effects& effects, TablePlace place);
// Makes room at the place: the group's channel at position 16 is dropped and
// the channels from the place to position 15 move down one position.
void ShiftGroupDown(RunState& state, const Effects& effects, TablePlace place);
// Closes the gap at the place: the channels below it move up one position.
void ShiftGroupUp(RunState& state, const Effects& effects, TablePlace place);

// Puts `channel` at the place, replacing what was there, brought into the
// band as a pasted channel is; an entry whose reserved field is not 0 is no
// channel, and the place is cleared. False when it could not be placed (a full list).
bool PlaceChannel(RunState& state, const Effects& effects, TablePlace place, ChannelRecord channel);
// Makes room at the place and leaves it empty, as Insert does.
void InsertEmptyPosition(RunState& state, const Effects& effects, TablePlace place);
// Asks the paste or delete question unless the habits say not to, and keeps
// the answer in the habits; true when the user answered.
bool AskChannelQuestion(RunState& state, const Effects& effects, ConfirmMode mode);
ChannelCommandResult LastChannelKept();

// ---- Several rows at once --------------------------------------------------------

// The rows a command acts on: the cursor's row and the rows selected on the
// page of `group`. With one row (or none) selected every command acts on the
// cursor exactly as the single commands above do.
struct TableSelection {
  int group = 0;          // 0 to 7
  int cursor = 1;         // 1 to 16
  std::vector<int> rows;  // ascending, 1 to 16
};

// Each of these is one step of the edit history, asks its question once for
// the whole block and re-points the channel references once, at the end.
//
// Copy: every selected channel, in table order, replaces the clipboard.
// Cut: copy, then delete. Delete: every selected position is cleared, and with
// the habit the gaps close. Neither removes the last channels of the document.
// Move: every selected channel moves one position up or down within the group,
// wrapping as a single move does; the channel each moved run displaces takes
// the run's other end. Insert acts on the cursor's row.
ChannelCommandResult RunChannelCommandOnRows(RunState& state, const Effects& effects,
                                             ChannelCommand command, const TableSelection& rows);
// Paste of what the clipboard holds, one channel or several: as pasting them one after
// another at the place and the positions after it (into the next groups when
// the block reaches a group's end), with one question. Channels that would
// come after channel 128 are not pasted, and the result says how many.
ChannelCommandResult PasteChannels(RunState& state, const Effects& effects, TablePlace place);

struct BlockEditResult {
  int changed = 0;  // channels that hold something else now
  int refused = 0;  // channels where an edit was refused
};
// Sets fields of every selected channel that exists, each through
// ApplyChannelEdit (so every rule of a single edit holds for each channel), in
// one step of the edit history; every warning shows once. `edits` are field
// codes with the value text an edit takes, applied in the order given except
// that busy lockout comes last, once the tones and scrambler are set.
BlockEditResult ApplyEditsToRows(RunState& state, const Effects& effects, int group,
                                 const std::vector<int>& rows,
                                 const std::vector<std::pair<int, std::string>>& edits);

// Which windows show a place, or the table's page, again.
void RefreshChannelViews(const RunState& state, DocumentObserver& observer, TablePlace place);
void RefreshAllChannelViews(const RunState& state, DocumentObserver& observer);

}  // namespace cps
