#include "core/document/channel_list.hpp"

#include <algorithm>
#include <charconv>
#include <limits>

#include "core/app/text_ids.hpp"
#include "core/document/codec.hpp"
#include "core/document/edit_history.hpp"
#include "core/document/records.hpp"
#include "core/run_state.hpp"

namespace cps {

namespace {

constexpr int kNewChannelPower = 2;

CodecContext codecOf(const RunState& state, const Effects& effects) {
  return {state.model.limits, effects.prompter};
}

bool applyOffset(ChannelRecord& c, const std::optional<OffsetResult>& result) {
  if (!result) return false;
  c.offsetDirection = result->direction;
  c.offset.assign(result->offset);
  return true;
}

EditOutcome offsetTooLarge() { return RefusedEdit(Failure{text::kEditOffsetTooLarge, {}}); }

}  // namespace

int FindChannelIndex(const DocumentRecord& doc, int number) {
  const auto used = doc.usedChannels();
  for (std::size_t i = 0; i < used.size(); ++i) {
    if (used[i].number == number) return static_cast<int>(i);
  }
  return -1;
}

int AppendChannel(DocumentRecord& doc, int number, std::string_view rxText,
                  const BandLimits& limits) {
  const int index = doc.usedCount();
  if (index >= static_cast<int>(kMaxChannels)) return -1;
  ChannelRecord c;
  c.number = static_cast<std::int16_t>(number);
  c.rxFreq.assign(FreqTextToStored(rxText, limits));
  c.offset.bytes.fill('\0');
  c.power = kNewChannelPower;
  doc.channels[static_cast<std::size_t>(index)] = c;
  doc.channelCount = static_cast<std::int16_t>(index + 1);
  return index;
}

void RemoveChannelAt(DocumentRecord& doc, int index) {
  const int count = doc.usedCount();
  if (index < 0 || index >= count) return;
  // Later entries move down one place; the old last entry stays behind as stale data.
  std::copy(doc.channels.begin() + index + 1, doc.channels.begin() + count,
            doc.channels.begin() + index);
  doc.channelCount = static_cast<std::int16_t>(count - 1);
}

void RemoveChannelByNumber(DocumentRecord& doc, int number) {
  RemoveChannelAt(doc, FindChannelIndex(doc, number));
}

namespace {

// Steps 1 to 4 of an edit: everything but asking the windows to show the channel again.
EditOutcome applyEdit(RunState& state, const Effects& effects, int number, int fieldCode,
                      std::string_view value) {
  const auto field = static_cast<ChannelField>(fieldCode);
  const bool isFrequency = field == ChannelField::Receive || field == ChannelField::Transmit;
  if (!isFrequency && !ChannelFieldMaximum(fieldCode)) {
    // Codes 3 and 20 name no field; they are accepted and do nothing.
    if (fieldCode == 3 || fieldCode == 20) return {EditStatus::Ignored, {}};
    return RefusedEdit("no channel field has code " + std::to_string(fieldCode));
  }
  const CodecContext codec = codecOf(state, effects);

  std::string text(value);
  const bool offsetTyped = field == ChannelField::Transmit && state.habits.offsetMode;
  if (isFrequency && !text.empty() && !offsetTyped) text = FormatFreqInBand(text, codec);
  if (offsetTyped && !text.empty() && !IsNumeric(text)) {
    return RefusedEdit(Failure{text::kEditOffsetNotNumber, {}, {text}});
  }

  auto& doc = state.workingDocument;
  const int index = FindChannelIndex(doc, number);
  if (index < 0) {
    if (field != ChannelField::Receive || text.empty()) return {EditStatus::Ignored, {}};
    const int added = AppendChannel(doc, number, text, codec.limits);
    if (added < 0) return RefusedEdit(Failure{text::kEditListFull, {}});
    SnapChannelToStep(doc.channels[static_cast<std::size_t>(added)], codec);
    RevalidateChannelRefs(doc, effects.observer);
    return {EditStatus::Created, {}};
  }

  auto& channel = doc.channels[static_cast<std::size_t>(index)];
  EditOutcome outcome{EditStatus::Ignored, {}};
  if (field == ChannelField::Receive && text.empty()) {
    if (doc.usedCount() > 1) {
      RemoveChannelAt(doc, index);
      outcome = {EditStatus::Removed, {}};
    }
  } else if (field == ChannelField::Receive &&
             text == FreqStoredToText(channel.rxFreq.raw(), codec)) {
    outcome = {EditStatus::Unchanged, {}};
  } else if (field == ChannelField::Transmit &&
             text == TxColumnText(channel.rxFreq.raw(), channel.offset.raw(),
                                  channel.offsetDirection, state.habits.offsetMode, codec)) {
    outcome = {EditStatus::Unchanged, {}};
  } else {
    outcome = SetChannelField(state, effects, channel, fieldCode, text);
  }
  if (field == ChannelField::Receive) RevalidateChannelRefs(doc, effects.observer);
  return outcome;
}

}  // namespace

EditOutcome ApplyChannelEdit(RunState& state, const Effects& effects, int groupIndex, int position,
                             int fieldCode, std::string_view value) {
  if (groupIndex < 0 || groupIndex >= static_cast<int>(kGroupCount) || position < 1 ||
      position > static_cast<int>(kChannelsPerGroup)) {
    return RefusedEdit("channel outside groups 1 to 8 and positions 1 to 16");
  }
  const int number = groupIndex * static_cast<int>(kChannelsPerGroup) + position;
  HistoryStep step(state);
  const EditOutcome outcome = applyEdit(state, effects, number, fieldCode, value);
  // Lockout by tone needs a tone to check; every front end commits through
  // here, so none can leave a 2 on a channel that has none.
  CheckBusyLockout(state.workingDocument, number);
  // The windows show the channel again whatever happened, so that a refused or
  // clamped entry is replaced by what the document holds.
  if (state.channelEditing.isChannelWindowOpen) effects.observer.reShowGrid(number);
  if (state.channelEditing.isEditDialogOpen) effects.observer.reloadEditDialog();
  return outcome;
}

EditOutcome SetChannelField(RunState& state, const Effects& effects, ChannelRecord& channel,
                            int fieldCode, std::string_view value) {
  const CodecContext codec = codecOf(state, effects);
  const auto field = static_cast<ChannelField>(fieldCode);

  if (field == ChannelField::Receive) {
    ChannelRecord edited = channel;
    // Keep what the user sees on the transmit side: the transmit frequency, or the offset.
    const std::string oldTx =
        TxFrequencyText(edited.rxFreq.raw(), edited.offset.raw(), edited.offsetDirection,
                        state.habits.offsetMode, codec);
    edited.rxFreq.assign(FreqTextToStored(value, codec.limits));
    if (!applyOffset(edited, OffsetFromTexts(edited.rxFreq.raw(), oldTx, state.habits.offsetMode,
                                             edited.offset.raw(), edited.offsetDirection, codec))) {
      return offsetTooLarge();
    }
    const std::string tx =
        FormatFreqInBand(TxFrequencyText(edited.rxFreq.raw(), edited.offset.raw(),
                                         edited.offsetDirection, false, codec),
                         codec);
    if (!applyOffset(edited, OffsetFromTexts(edited.rxFreq.raw(), tx, false, edited.offset.raw(),
                                             edited.offsetDirection, codec))) {
      return offsetTooLarge();
    }
    SnapChannelToStep(edited, codec);
    channel = edited;
    return {EditStatus::Applied, {}};
  }

  if (field == ChannelField::Transmit) {
    ChannelRecord edited = channel;
    if (!applyOffset(edited, OffsetFromTexts(edited.rxFreq.raw(), value, state.habits.offsetMode,
                                             edited.offset.raw(), edited.offsetDirection, codec))) {
      return offsetTooLarge();
    }
    SnapChannelToStep(edited, codec);
    channel = edited;
    return {EditStatus::Applied, {}};
  }

  const ChannelFieldRow* row = FindChannelField(fieldCode);
  if (row == nullptr || row->member == nullptr) {
    return RefusedEdit("no channel field has code " + std::to_string(fieldCode));
  }
  std::int16_t* target = &(channel.*row->member);
  const auto parsed = ParseInteger(value);
  if (!parsed || *parsed < 0 || *parsed > row->maximum) {
    return RefusedEdit(
        Failure{text::kEditNotAValue, {}, {std::string(value), std::to_string(row->maximum)}});
  }
  const auto v = static_cast<std::int16_t>(*parsed);

  switch (field) {
    case ChannelField::DecodeTone:
      if (v == 0 && channel.busyLockout == 2) channel.busyLockout = 1;
      // A first tone on a channel without tones is meant for both directions.
      if (channel.decodeTone == 0 && channel.encodeTone == 0) channel.encodeTone = v;
      break;
    case ChannelField::EncodeTone:
      if (channel.encodeTone == 0 && channel.decodeTone == 0) channel.decodeTone = v;
      break;
    default:
      break;
  }
  *target = v;
  if (field == ChannelField::OptionalSignalling && channel.decodeTone == 0 &&
      channel.busyLockout > 1) {
    channel.busyLockout = 1;
  }
  return {EditStatus::Applied, {}};
}

int ResolveChannelRef(const DocumentRecord& doc, int group, int position) {
  constexpr int kNone = std::numeric_limits<int>::max();
  int lowestInGroup = kNone;
  int lowest = kNone;
  for (const auto& c : doc.usedChannels()) {
    if (c.number < 1) continue;
    if (GroupOfChannel(c.number) == group && PositionOfChannel(c.number) == position) {
      return c.number;
    }
    if (GroupOfChannel(c.number) == group) lowestInGroup = std::min<int>(lowestInGroup, c.number);
    lowest = std::min<int>(lowest, c.number);
  }
  if (lowestInGroup != kNone) return lowestInGroup;
  return lowest != kNone ? lowest : 0;
}

void RevalidateChannelRefs(DocumentRecord& doc, DocumentObserver& observer) {
  auto repoint = [&doc](std::uint8_t& group, std::uint8_t& position) {
    const int u = ResolveChannelRef(doc, group, position);
    group = u == 0 ? 0 : static_cast<std::uint8_t>(GroupOfChannel(u));
    position = u == 0 ? 0 : static_cast<std::uint8_t>(PositionOfChannel(u));
  };
  auto& alert = doc.alert.bytes;
  auto& scan = doc.scan.bytes;
  repoint(alert[AlertBlock::kChannelGroup], alert[AlertBlock::kChannelGroup + 1]);
  repoint(scan[ScanBlock::kFirstChannelGroup], scan[ScanBlock::kFirstChannelGroup + 1]);
  repoint(scan[ScanBlock::kSecondChannelGroup], scan[ScanBlock::kSecondChannelGroup + 1]);
  observer.ReshowByCh();
}

bool HasToneToCheck(const ChannelRecord& channel) {
  return (channel.scrambler != 0 ? channel.encodeTone : channel.decodeTone) != 0;
}

BusyLockoutCheck CheckBusyLockout(DocumentRecord& doc, int number) {
  const int index = FindChannelIndex(doc, number);
  if (index < 0) return {};
  auto& c = doc.channels[static_cast<std::size_t>(index)];
  const bool hasTone = HasToneToCheck(c);
  if (!hasTone && c.busyLockout == 2) c.busyLockout = 1;
  return {true, hasTone};
}

}  // namespace cps
