#include "core/channels/channel_commands.hpp"

#include <string>

#include "core/app/text_ids.hpp"
#include "core/document/codec.hpp"
#include "core/document/edit_history.hpp"
#include "core/document/records.hpp"
#include "core/run_state.hpp"

namespace cps {

namespace {

constexpr int kPositions = static_cast<int>(kChannelsPerGroup);
constexpr int kGroups = static_cast<int>(kGroupCount);

bool onTheTable(TablePlace place) {
  return place.group >= 0 && place.group < kGroups && place.position >= 1 &&
         place.position <= kPositions;
}

int numberAt(TablePlace place) { return place.group * kPositions + place.position; }

// The position of a channel within group g, or 0 when it belongs to another group.
int positionInGroup(const ChannelRecord& channel, int group) {
  const int q = channel.number - group * kPositions;
  return q >= 1 && q <= kPositions ? q : 0;
}

ChannelCommandResult offTheTable(TablePlace place) {
  return {{0, "position " + std::to_string(place.position) + " of group index " +
                  std::to_string(place.group) +
                  " is not on the channel table (positions 1 to 16, groups 0 to 7)"},
          std::nullopt,
          false};
}

// Removing the channel with this number would leave the document without channels.
bool isTheOnlyChannel(const DocumentRecord& doc, int number) {
  return doc.usedCount() == 1 && FindChannelIndex(doc, number) >= 0;
}

// Answers what the codec asks while a pasted channel is brought into the
// band: the paste warns once for the whole channel instead.
class QuietPrompter final : public Prompter {
 public:
  Answer ask(const Message&) override { return Answer::Ok; }
  std::optional<std::string> chooseFile(const FileDialogRequest&) override { return {}; }
};

// A channel copied before a model or band change, or from another file, may
// lie outside the band the radio now works in. It is brought in as a typed
// receive frequency is: each frequency to the nearest band limit, the
// transmit side keeping its frequency (or, in offset mode, its offset), both
// on the band's step grid, with one warning.
void bringIntoBand(const RunState& state, const Effects& effects, ChannelRecord& channel) {
  QuietPrompter quiet;
  const CodecContext codec{state.model.limits, quiet};
  const std::string rx = FreqStoredToText(channel.rxFreq.raw(), codec);
  if (rx.empty()) return;
  const std::string tx = TxFrequencyText(channel.rxFreq.raw(), channel.offset.raw(),
                                         channel.offsetDirection, false, codec);
  const auto inBand = [&codec](const std::string& text) {
    const auto mhz = ParseNumber(text);
    return mhz && *mhz >= codec.limits.low && *mhz <= codec.limits.high;
  };
  if (inBand(rx) && inBand(tx)) return;
  effects.prompter.ask(TextMessage(text::kFrequencyOutOfBand, Buttons::Ok, Icon::Warning));
  ChannelRecord edited = channel;
  edited.rxFreq.assign(FreqTextToStored(FormatFreqInBand(rx, codec), codec.limits));
  const std::string txWanted = state.habits.offsetMode
                                   ? TxFrequencyText(edited.rxFreq.raw(), channel.offset.raw(),
                                                     channel.offsetDirection, false, codec)
                                   : tx;
  const auto offset = OffsetFromTexts(edited.rxFreq.raw(), FormatFreqInBand(txWanted, codec), false,
                                      edited.offset.raw(), edited.offsetDirection, codec);
  // Both ends lie in a band narrower than the largest offset, so the offset fits.
  if (offset) {
    edited.offsetDirection = offset->direction;
    edited.offset.assign(offset->offset);
  }
  SnapChannelToStep(edited, codec);
  channel = edited;
}

void copyChannel(RunState& state, TablePlace place) {
  const auto& doc = state.workingDocument;
  const int index = FindChannelIndex(doc, numberAt(place));
  if (index < 0) return;
  state.channelClipboard.channels = {doc.channels[static_cast<std::size_t>(index)]};
}

bool deleteChannel(RunState& state, const Effects& effects, TablePlace place) {
  const bool answered = AskChannelQuestion(state, effects, ConfirmMode::Delete);
  ClearChannelSlot(state, effects, place);
  if (state.habits.deleteCloses) ShiftGroupUp(state, effects, place);
  return answered;
}

ChannelCommandResult moveChannel(RunState& state, const Effects& effects, TablePlace place,
                                 int target) {
  if (!onTheTable(place)) return offTheTable(place);
  HistoryStep step(state);
  const TablePlace to{target, place.group};
  const int from = numberAt(place);
  const int other = numberAt(to);
  // The two positions change places; an empty one simply moves.
  for (auto& channel : state.workingDocument.usedChannels()) {
    if (channel.number == from) {
      channel.number = static_cast<std::int16_t>(other);
    } else if (channel.number == other) {
      channel.number = static_cast<std::int16_t>(from);
    }
  }
  RefreshChannelViews(state, effects.observer, place);
  RefreshChannelViews(state, effects.observer, to);
  RevalidateChannelRefs(state.workingDocument, effects.observer);
  return {{}, target, false};
}

}  // namespace

ChannelCommandResult LastChannelKept() {
  return {{text::kLastChannelKept, "the last channel stays: a radio needs at least one channel"},
          std::nullopt,
          false};
}

bool AskChannelQuestion(RunState& state, const Effects& effects, ConfirmMode mode) {
  const bool noPrompt =
      mode == ConfirmMode::Paste ? state.habits.pasteNoPrompt : state.habits.deleteNoPrompt;
  if (noPrompt) return false;
  const ConfirmAnswer answer = effects.prompter.confirmChannelCommand(mode);
  if (answer.result == ConfirmResult::Closed) return false;
  state.habits = ApplyConfirmAnswer(state.habits, mode, answer);
  return true;
}

void InsertEmptyPosition(RunState& state, const Effects& effects, TablePlace place) {
  ShiftGroupDown(state, effects, place);
  ClearChannelSlot(state, effects, place);
}

bool IsChannelUsable(const DocumentRecord& doc, int number) {
  const int index = FindChannelIndex(doc, number);
  if (index < 0) return false;
  const auto& channel = doc.channels[static_cast<std::size_t>(index)];
  const std::string rx = TrimFixed(channel.rxFreq);
  return !rx.empty() && rx != kNoFrequency && channel.reserved == 0;
}

HabitRecord ApplyConfirmAnswer(HabitRecord habits, ConfirmMode mode, const ConfirmAnswer& answer) {
  if (answer.result == ConfirmResult::Closed) return habits;
  const bool yes = answer.result == ConfirmResult::Yes;
  if (mode == ConfirmMode::Paste) {
    habits.pasteInserts = yes;
    habits.pasteNoPrompt = answer.dontAskAgain;
  } else {
    habits.deleteCloses = yes;
    habits.deleteNoPrompt = answer.dontAskAgain;
  }
  return habits;
}

ChannelCommandResult CopyChannel(RunState& state, const Effects&, TablePlace place) {
  if (!onTheTable(place)) return offTheTable(place);
  copyChannel(state, place);
  return {};
}

ChannelCommandResult CutChannel(RunState& state, const Effects& effects, TablePlace place) {
  if (!onTheTable(place)) return offTheTable(place);
  // As clearing the receive field does, the last channel stays; nothing is
  // copied either, so that a later paste does not make a second one unawares.
  if (isTheOnlyChannel(state.workingDocument, numberAt(place))) return LastChannelKept();
  HistoryStep step(state);
  copyChannel(state, place);
  const bool answered = deleteChannel(state, effects, place);
  RevalidateChannelRefs(state.workingDocument, effects.observer);
  return {{}, std::nullopt, answered};
}

ChannelCommandResult PasteChannel(RunState& state, const Effects& effects, TablePlace place) {
  if (!onTheTable(place)) return offTheTable(place);
  // The menu offers Paste only once a channel was copied; without one there is
  // nothing that could stand at the place.
  if (!state.channelClipboard.hasChannel()) return {{0, "no channel has been copied"}, {}, false};
  // One copied channel is a block of one: the same question, place and checks.
  return PasteChannels(state, effects, place);
}

ChannelCommandResult InsertChannel(RunState& state, const Effects& effects, TablePlace place) {
  if (!onTheTable(place)) return offTheTable(place);
  // Making room drops the group's position 16.
  if (isTheOnlyChannel(state.workingDocument, numberAt({kPositions, place.group}))) {
    return LastChannelKept();
  }
  HistoryStep step(state);
  InsertEmptyPosition(state, effects, place);
  RevalidateChannelRefs(state.workingDocument, effects.observer);
  return {};
}

ChannelCommandResult DeleteChannel(RunState& state, const Effects& effects, TablePlace place) {
  if (!onTheTable(place)) return offTheTable(place);
  if (isTheOnlyChannel(state.workingDocument, numberAt(place))) return LastChannelKept();
  HistoryStep step(state);
  const bool answered = deleteChannel(state, effects, place);
  RevalidateChannelRefs(state.workingDocument, effects.observer);
  return {{}, std::nullopt, answered};
}

// Moving wraps within the group: up from position 1 goes to 16, down from 16 to 1.
ChannelCommandResult MoveChannelUp(RunState& state, const Effects& effects, TablePlace place) {
  return moveChannel(state, effects, place, place.position <= 1 ? kPositions : place.position - 1);
}

ChannelCommandResult MoveChannelDown(RunState& state, const Effects& effects, TablePlace place) {
  return moveChannel(state, effects, place, place.position >= kPositions ? 1 : place.position + 1);
}

ChannelCommandResult RunChannelCommand(RunState& state, const Effects& effects,
                                       ChannelCommand command, TablePlace place) {
  switch (command) {
    case ChannelCommand::Cut:
      return CutChannel(state, effects, place);
    case ChannelCommand::Copy:
      return CopyChannel(state, effects, place);
    case ChannelCommand::Paste:
      return PasteChannel(state, effects, place);
    case ChannelCommand::Insert:
      return InsertChannel(state, effects, place);
    case ChannelCommand::Delete:
      return DeleteChannel(state, effects, place);
    case ChannelCommand::MoveUp:
      return MoveChannelUp(state, effects, place);
    case ChannelCommand::MoveDown:
      return MoveChannelDown(state, effects, place);
  }
  return {{0, "no channel command has the number " + std::to_string(static_cast<int>(command))},
          std::nullopt,
          false};
}

void ClearChannelSlot(RunState& state, const Effects& effects, TablePlace place) {
  if (!onTheTable(place)) return;
  HistoryStep step(state);
  RemoveChannelByNumber(state.workingDocument, numberAt(place));
  RefreshChannelViews(state, effects.observer, place);
}

void ShiftGroupDown(RunState& state, const Effects& effects, TablePlace place) {
  if (!onTheTable(place)) return;
  HistoryStep step(state);
  auto& doc = state.workingDocument;
  RemoveChannelByNumber(doc, numberAt({kPositions, place.group}));
  for (auto& channel : doc.usedChannels()) {
    const int q = positionInGroup(channel, place.group);
    if (q >= place.position && q <= kPositions - 1) ++channel.number;
  }
  RefreshAllChannelViews(state, effects.observer);
}

void ShiftGroupUp(RunState& state, const Effects& effects, TablePlace place) {
  if (!onTheTable(place)) return;
  HistoryStep step(state);
  auto& doc = state.workingDocument;
  // The commands clear the place first. Should a channel still stand there,
  // it makes way, so that no number is held twice.
  RemoveChannelByNumber(doc, numberAt(place));
  for (auto& channel : doc.usedChannels()) {
    const int q = positionInGroup(channel, place.group);
    if (q > place.position && q <= kPositions) --channel.number;
  }
  RefreshAllChannelViews(state, effects.observer);
}

bool PlaceChannel(RunState& state, const Effects& effects, TablePlace place, ChannelRecord pasted) {
  if (!onTheTable(place)) return false;
  HistoryStep step(state);
  auto& doc = state.workingDocument;
  const int n = numberAt(place);
  pasted.number = static_cast<std::int16_t>(n);
  if (pasted.reserved == 0) bringIntoBand(state, effects, pasted);
  const int index = FindChannelIndex(doc, n);
  bool placed = true;
  if (pasted.reserved != 0) {
    RemoveChannelByNumber(doc, n);
  } else if (index >= 0) {
    doc.channels[static_cast<std::size_t>(index)] = pasted;
  } else if (doc.usedCount() < static_cast<int>(kMaxChannels)) {
    const auto end = static_cast<std::size_t>(doc.usedCount());
    doc.channels[end] = pasted;
    doc.channelCount = static_cast<std::int16_t>(end + 1);
  } else {
    // 128 entries without n hold numbers off the table, as only a damaged
    // file can; no entry is left for the pasted channel.
    placed = false;
  }
  // As for every channel the table draws: lockout by tone only with a tone to check.
  CheckBusyLockout(doc, n);
  RefreshChannelViews(state, effects.observer, place);
  return placed;
}

void RefreshChannelViews(const RunState& state, DocumentObserver& observer, TablePlace place) {
  const auto& editing = state.channelEditing;
  if (editing.isChannelWindowOpen) observer.reShowGrid(numberAt(place));
  if (editing.isEditDialogOpen && editing.editRow == place.position) {
    observer.reloadEditDialogAtItsPosition();
  }
}

void RefreshAllChannelViews(const RunState& state, DocumentObserver& observer) {
  if (state.channelEditing.isChannelWindowOpen) observer.reShowAllGrid();
  if (state.channelEditing.isEditDialogOpen) observer.reloadEditDialog();
}

}  // namespace cps
