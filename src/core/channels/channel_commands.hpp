// The channel commands of the channel table: cut, copy, paste, insert, delete,
// move up and move down, acting on the channel under the table's cursor, with
// the edit habits that decide whether paste inserts and whether delete closes
// the gap. They change the document and say which windows redraw; where the
// table's cursor goes afterwards is returned, never set.
#pragma once

#include <optional>

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
  Failure failure;               // why the command could not do what it is for; empty when it did
  std::optional<int> cursorRow;  // the row the table's cursor moves to
  // The user answered the paste or delete question: the habits took the
  // answer and the habit file is to be written.
  bool saveHabits = false;
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
// Puts the copied channel at the place, replacing what was there. A copied
// entry whose reserved field is not 0 is no channel: the place is cleared.
// False when the channel could not be placed (nothing copied, a full list).
bool PasteIntoSlot(RunState& state, const Effects& effects, TablePlace place);

// Which windows show a place, or the table's page, again.
void RefreshChannelViews(const RunState& state, DocumentObserver& observer, TablePlace place);
void RefreshAllChannelViews(const RunState& state, DocumentObserver& observer);

}  // namespace cps
