// The radio-wide settings described once, a row per field: its stable name
// (used by the command line and JSON), where it is stored, the control that
// shows it and its label, how a stored value maps to a list item, the items'
// texts, what a text box accepts, when the control is enabled and what else a
// change of it does. The settings windows are built from these rows, and every
// change goes through SetSetting.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "core/document/channel_list.hpp"

namespace cps {

struct RunState;
struct DocumentRecord;
struct SideFileRecord;
struct CodecContext;

// The record a setting lives in; the slot's index is the field's place in it.
enum class SettingBlock {
  Options,     // OptionalFeaturesBlock.values
  Dtmf,        // DtmfBlock.settings
  Keys,        // KeyBlock.values
  Alert,       // AlertBlock.bytes
  Scan,        // ScanBlock.bytes
  Side,        // the side file's alarm mode (index 0)
  DtmfId,      // DtmfBlock.idCode with idLength (index 0)
  DtmfCode,    // DtmfBlock.specialCodes: BOT, EOT, stun, kill
  DtmfMemory,  // DtmfBlock.memories: auto-dial memories 1 to 16
  Message,     // EmbeddedMessageBlock.lines
  TestFirst,   // TestFrequencyRecord.first of testFrequencies[index]
  TestSecond,  // TestFrequencyRecord.second of testFrequencies[index]
  FmPreset,    // fmPresets[index]
};

struct SettingSlot {
  SettingBlock block = SettingBlock::Options;
  std::uint8_t index = 0;
};

enum class SettingKind {
  List,         // a pick-only list; the stored value maps to an item
  Check,        // 0 unticked, 1 ticked; any other stored value shows unticked
  Code,         // a DTMF code: up to 16 of 0–9, A–D, * and #
  IdCode,       // the DTMF ID code: 3 to 10 digits
  Line,         // a line of the embedded message: up to 16 single-byte characters
  Frequency,    // a test frequency in MHz, brought into the radio's band
  FmFrequency,  // an FM broadcast preset in MHz: 76 to 108 on the 50 kHz raster
};

// True for the kinds whose value is a text rather than a number.
constexpr bool IsTextKind(SettingKind kind) {
  return kind != SettingKind::List && kind != SettingKind::Check;
}

// One item of a list with the stored value it stands for.
struct ListItem {
  std::string text;
  int stored = 0;
};

using TextOf = std::function<std::string(int)>;

// A list the row cannot spell: items joined from several texts, or drawn from
// the document (the channels in use, the defined DTMF memories).
using ListFunction = std::vector<ListItem> (*)(const DocumentRecord& document,
                                               const TextOf& textOf);

// The items of a list, in this order: texts by id, fixed texts, then the
// numbers first, first + step, … last, each shown divided by `divisor` with
// `decimals` places and followed by `suffix`.
//
// With `choices`, the list offers some entries of a hidden table whose texts
// are `textIds`: item i is table entry choices[i], and the stored value is the
// entry's place in the table, never the item's place in the list.
//
// With `list`, the function gives the items and their stored values.
struct ItemSource {
  std::span<const int> textIds{};
  std::span<const std::string_view> literals{};
  int first = 0;
  int last = -1;  // below first: no numbers
  int step = 1;
  int divisor = 1;
  int decimals = 0;
  std::string_view suffix{};
  std::span<const std::uint8_t> choices{};
  ListFunction list = nullptr;
};

enum class MapRule {
  // item = (stored − offset) ÷ scale, halves to the even neighbour;
  // stored = item × scale + offset.
  Linear,
  // The item whose text is the decimal text of stored × scale; when none is,
  // the first item. Storing an item stores its number ÷ scale, rounded.
  TimesText,
  // The stored value is the one `choices` or `list` gives the item.
  Listed,
};

struct ItemMap {
  int scale = 1;
  int offset = 0;
  MapRule rule = MapRule::Linear;
};

// One condition of an enable rule: the named field shows one of the items
// whose bit is set (bit i: item i; for a check box item 1 is ticked).
// An empty name always holds.
struct EnableCondition {
  std::string_view field{};
  std::uint32_t items = 0;
};

// The control is enabled while both conditions hold.
struct EnableRule {
  EnableCondition first{};
  EnableCondition second{};
};

// What a text box accepts.
struct TextRule {
  std::string_view characters{};  // empty: every printable single-byte character
  std::uint8_t minLength = 0;
  std::uint8_t maxLength = 0;
  bool capitals = false;  // a lower-case letter whose capital is accepted becomes it
};

// Where the window places the control.
struct Placement {
  std::uint8_t column = 0;  // for a table cell: its column
  bool indented = false;    // under the check box that enables it
  bool hidden = false;      // loaded but never shown, so never changed by the window
  std::uint8_t page = 0;    // the tab or frame it sits in, from 1 (see SettingPage); 0 none
  bool sameLine = false;    // on the line of the control before it, after its own label
};

// A tab or a frame that groups controls of a window.
struct SettingPage {
  int textId;
  std::string_view caption;
};

// What a change of the field does beyond storing it (applied by SetSetting).
enum class SideRule {
  None,
  ScanMode,            // switching scanning off takes function 8 off every key
  PriorityMode,        // the revert choice must be one the new mode offers
  ChannelGroup,        // the position (the next byte) follows to a channel of the group
  KeyFunction,         // function 8 (scan) only while scan mode is on
  IdentificationType,  // the identification memory follows the type
  DtmfMemory,          // the lists of defined memories are built again
};

struct SettingField {
  std::string_view name{};  // "options.squelch"
  SettingSlot slot{};
  std::string_view control{};  // "Combo1(0)"
  int labelTextId = 0;         // 0: the label is the built-in caption and never changes
  std::string_view caption{};  // the built-in caption until the language's text is applied
  SettingKind kind = SettingKind::List;
  ItemSource items{};
  ItemMap map{};
  EnableRule enable{};
  Placement place{};
  TextRule text{};
  SideRule side = SideRule::None;
  // Opening the window stores the value it shows where that differs from the
  // stored one (a value shown exactly never changes).
  bool storedAsShownOnOpening = false;
};

// The tables, one per window, in the window's order.
std::span<const SettingField> OptionalFeatureFields();
std::span<const SettingField> DtmfFields();
std::span<const SettingField> ScanFields();
std::span<const SettingField> AlertFields();  // with the side file's alarm mode
std::span<const SettingField> KeyFields();
std::span<const SettingField> MessageFields();
std::span<const SettingField> TestFrequencyFields();
std::span<const SettingField> FmPresetFields();
std::span<const SettingPage> DtmfPages();  // the three tabs
std::span<const SettingPage> KeyFrames();  // PF1 and PF2

// Every setting of every block, for the command line and the JSON dump.
std::vector<const SettingField*> AllSettingFields();
const SettingField* FindSettingField(std::string_view name);

// ---- Lists and check boxes ------------------------------------------------

// The items of a list; a list drawn from the document is drawn from `document`.
std::vector<ListItem> SettingListItems(const DocumentRecord& document, const SettingField& field,
                                       const TextOf& textOf);
int ItemCount(const DocumentRecord& document, const SettingField& field);
std::vector<std::string> ItemTexts(const DocumentRecord& document, const SettingField& field,
                                   const TextOf& textOf);
// The item a stored value shows: its item, or the first item when it has none;
// -1 for an empty list. For a check box 1 (ticked) or 0.
int ItemOfStored(const DocumentRecord& document, const SettingField& field, int stored);
// What choosing an item stores; an item outside the list stores the first
// item's value, and an empty list stores 0.
int StoredOfItem(const DocumentRecord& document, const SettingField& field, int item);
// True when the stored value is one the control can show and store as it is.
// An empty list offers only 0.
bool IsOfferedValue(const DocumentRecord& document, const SettingField& field, int stored);

// The same without a document, for tables whose lists never depend on one: a
// list drawn from the document is drawn from one without channels or memories.
int ItemCount(const SettingField& field);
std::vector<std::string> ItemTexts(const SettingField& field, const TextOf& textOf);
int ItemOfStored(const SettingField& field, int stored);
int StoredOfItem(const SettingField& field, int item);
bool IsOfferedValue(const SettingField& field, int stored);

// The stored number of a list or check box; 0 for a text field.
int StoredSetting(const DocumentRecord& document, const SideFileRecord& side,
                  const SettingField& field);
int StoredSetting(const RunState& state, const SettingField& field);

bool IsSettingEnabled(const DocumentRecord& document, const SideFileRecord& side,
                      const SettingField& field);
bool IsSettingEnabled(const RunState& state, const SettingField& field);

// ---- Text fields ----------------------------------------------------------

// The text a code, ID, message or frequency box shows for the stored field;
// "" for a list or check box. A frequency the codec cannot read is reported
// through the codec's prompter.
std::string SettingText(const DocumentRecord& document, const SettingField& field,
                        const CodecContext& codec);

// The character a box takes for a typed one (a lower-case letter may become its
// capital); empty when the box rejects it. Control keys are the window's.
std::optional<char> AcceptedCharacter(const SettingField& field, char typed);
// Nothing (not failed) when the text is one the field can hold; otherwise why
// not, with %1 the field's name.
Failure TextProblem(const SettingField& field, std::string_view text);

// A message line's box shows one character for each stored byte, so that a byte
// no key can type (from a data file or a radio) still shows, can be replaced,
// and is stored again as it was when the user leaves it alone: printable ASCII
// as itself, a byte above 127 as its Windows-1252 character (é for 0xE9, € for
// 0x80), a control byte as its Unicode symbol (␁ for 0x01, ␡ for 0x7F), and the
// five bytes Windows-1252 leaves undefined as private-use characters.
char32_t ShownCharacterOfByte(std::uint8_t byte);
// The byte a shown character stands for; none for a character no byte shows as.
std::optional<std::uint8_t> ByteOfShownCharacter(char32_t shown);

// The ID code the box keeps when the user leaves it: the text when it is 3 to
// 10 digits, otherwise "000".
std::string IdCodeOnLeaving(std::string_view text);

// The FM broadcast band a preset is pulled into.
inline constexpr double kFmLowestMhz = 76;
inline constexpr double kFmHighestMhz = 108;

// The FM preset rules: the 50 kHz raster (halves of 10 kHz to the even
// neighbour first), the shown form of a typed frequency ("" stays "", no number
// is 76, pulled into 76–108 MHz, "000.00000"), and its stored form (the point
// removed).
double StepRadio(double mhz);
std::string CheckRadioFre(std::string_view text);
std::string GetSaveRadioFreData(std::string_view text);

// ---- Changes --------------------------------------------------------------

// The one entry point for changing a radio-wide setting given as a number: the
// value must be one the field offers, and the field's side rules are applied.
// A refused value leaves the document byte for byte as it was.
EditOutcome SetSetting(RunState& state, const Effects& effects, const SettingField& field,
                       int stored);
// The same for a field given as text: codes, the ID code, message lines and
// frequencies take the user's text; a list or check box takes its stored
// number written as text.
EditOutcome SetSetting(RunState& state, const Effects& effects, const SettingField& field,
                       std::string_view text);

// What a window stores as it opens: for each of its fields marked so, the
// value it shows, where that differs from the stored one.
void StoreShownOnOpening(RunState& state, const Effects& effects,
                         std::span<const SettingField> fields);

}  // namespace cps
