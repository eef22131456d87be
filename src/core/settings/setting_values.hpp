// The radio-wide settings as a user reads and writes them in words: the value a
// control shows, a typed value turned into what SetSetting takes, and the
// values each field takes. The command line's get and set speak through these.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "core/settings/setting_fields.hpp"

namespace cps {

// A user's value for a field, read against the field's list or text rules.
struct SettingValue {
  std::optional<int> stored;  // a list or check box: the number to store
  std::string text;           // a text field: the text to store
  Failure refusal;            // a text: the value is refused, and why (%1 the field, %2 the value)
  bool accepted() const { return !refusal.failed(); }
};

// Reads `value` for `field` as the user means it.
//
// A list takes the text of one of its items (any case; "3" also finds the
// item "3.0"), or the stored number of an item that shows a word ("Off",
// "Scan", "1s", "M2"). A number that would store an item showing a different
// number is refused: "dtmf.first-digit-delay 50" must not quietly mean 2500 ms.
// "=N" is the stored number N itself: it keeps a number no item names where the
// file holds it (SetSettingFromText), and otherwise stores only an offered one.
// A check box takes 0 or 1. Text fields take their text (\xHH is the byte HH,
// \\ one backslash); "" clears a code, a
// line or a frequency. A frequency is a number in MHz (trailing zeros of its
// fraction are dropped, so that what `SettingValueText` shows can be given
// back); an FM preset must lie within 76 to 108 MHz.
//
// Lists drawn from the document (channel groups and positions, the revert
// choices, the identification memories) are read against `document`.
SettingValue ParseSettingValue(const DocumentRecord& document, const SettingField& field,
                               std::string_view value, const TextOf& textOf);

// ParseSettingValue, then SetSetting with the field's side rules; a refused
// value leaves the document and the side record as they were.
EditOutcome SetSettingFromText(RunState& state, const Effects& effects, const SettingField& field,
                               std::string_view value, const TextOf& textOf);

// What is stored, in words that ParseSettingValue takes back: a list's item
// text ("" for an empty list), a check box's 0 or 1, "=N" for a stored number
// no item names, a text field's text with EscapeSettingText.
std::string SettingValueText(const DocumentRecord& document, const SideFileRecord& side,
                             const SettingField& field, const CodecContext& codec,
                             const TextOf& textOf);

// A text as one printable line: a control byte or one above 127 becomes \xHH,
// a backslash \\; UnescapeSettingText reads that back (another backslash stays).
std::string EscapeSettingText(std::string_view text);
std::string UnescapeSettingText(std::string_view text);

// What every settings window stores as it opens, as if each had been opened
// once: afterwards each control shows exactly what is stored (a position
// follows its group, a list whose stored value it lacks holds the item it shows).
void StoreShownOnOpeningEverywhere(RunState& state, const Effects& effects);

// The values a field takes, for help: item texts with the stored number of
// each word ("Off=0"), runs of numbers as ranges ("15 to 240 in steps of 15"),
// and the rules of a text box. A list drawn from the document names every item
// it can hold, after "those the file offers, of:".
std::string SettingValuesHelp(const SettingField& field, const TextOf& textOf);

}  // namespace cps
