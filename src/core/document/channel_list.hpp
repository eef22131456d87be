// The channel list of the working document and the one entry point through
// which the channel windows change a channel, with its side rules.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "core/document/channel_fields.hpp"
#include "core/document/failure.hpp"
#include "core/document/model.hpp"
#include "core/document/prompter.hpp"

namespace cps {

struct DocumentRecord;
struct ChannelRecord;
struct RunState;

// Where a core rule warns and which windows it asks to redraw.
struct Effects {
  Prompter& prompter;
  DocumentObserver& observer;
};

enum class EditStatus {
  Applied,    // the value was stored
  Created,    // the channel did not exist and was created
  Removed,    // the channel was removed
  Unchanged,  // the value equals what the channel holds
  Ignored,    // the edit has no effect by the rules (e.g. clearing the last channel)
  Refused,    // the value cannot be held; nothing changed
};

struct EditOutcome {
  EditStatus status = EditStatus::Ignored;
  Failure failure;  // why a refused edit was refused
};

inline EditOutcome RefusedEdit(std::string detail) {
  return {EditStatus::Refused, {0, std::move(detail)}};
}
inline EditOutcome RefusedEdit(Failure why) { return {EditStatus::Refused, std::move(why)}; }

// Channel number of a 1-based group and position, and back.
constexpr int ChannelNumberOf(int group, int position) { return (group - 1) * 16 + position; }
constexpr int GroupOfChannel(int number) { return (number - 1) / 16 + 1; }
constexpr int PositionOfChannel(int number) { return (number - 1) % 16 + 1; }

int FindChannelIndex(const DocumentRecord& doc, int number);
// Adds an entry at the end; the caller snaps it to the step grid. Returns its
// index, or -1 when the list already holds 128 channels.
int AppendChannel(DocumentRecord& doc, int number, std::string_view rxText,
                  const BandLimits& limits);
void RemoveChannelAt(DocumentRecord& doc, int index);
void RemoveChannelByNumber(DocumentRecord& doc, int number);

// Changes one field of channel groupIndex × 16 + position (groupIndex 0-based,
// position 1 to 16) of the working document. `value` is the user's text.
EditOutcome ApplyChannelEdit(RunState& state, const Effects& effects, int groupIndex, int position,
                             int fieldCode, std::string_view value);
EditOutcome SetChannelField(RunState& state, const Effects& effects, ChannelRecord& channel,
                            int fieldCode, std::string_view value);

// An existing channel for a stored reference: that channel, else the lowest in
// its group, else the lowest overall; 0 for an empty list. Group is 1-based.
int ResolveChannelRef(const DocumentRecord& doc, int group, int position);
// Re-points the alert channel and the two scan priority channels after the list changed.
void RevalidateChannelRefs(DocumentRecord& doc, DocumentObserver& observer);

// Whether lockout by tone can be offered: the tone to check (the encode tone
// when the scrambler is on, else the decode tone) is set.
bool HasToneToCheck(const ChannelRecord& channel);

struct BusyLockoutCheck {
  bool found = false;
  bool hasTone = false;  // busy channel lockout by tone can be offered
};
// A lockout by tone needs a tone to check against (the encode tone when the
// scrambler is on, else the decode tone); without one it becomes carrier lockout.
BusyLockoutCheck CheckBusyLockout(DocumentRecord& doc, int number);

}  // namespace cps
