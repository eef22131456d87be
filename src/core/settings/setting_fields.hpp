// The radio-wide settings described once, a row per field: its stable name
// (used by the command line and JSON), where it is stored, the control that
// shows it and its label, how a stored value maps to a list item, the items'
// texts and when the control is enabled. The settings windows are built from
// these rows, and every change goes through SetSetting.
#pragma once

#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "core/document/channel_list.hpp"

namespace cps {

struct RunState;

// The record a setting lives in; the index is the field's place in it.
enum class SettingBlock {
  Options,  // OptionalFeaturesBlock.values
  Dtmf,     // DtmfBlock.settings
  Keys,     // KeyBlock.values
  Alert,    // AlertBlock.bytes
  Scan,     // ScanBlock.bytes
  Side,     // the side file's alarm mode
};

struct SettingSlot {
  SettingBlock block;
  std::uint8_t index;
};

enum class SettingKind {
  List,   // a pick-only list; the stored value maps to an item
  Check,  // 0 unticked, 1 ticked; any other stored value shows unticked
};

// The items of a list: texts by id, then the numbers first, first + step, …
// last, each shown divided by `divisor` with `decimals` places.
struct ItemSource {
  std::span<const int> textIds;
  int first = 0;
  int last = -1;  // below first: no numbers
  int step = 1;
  int divisor = 1;
  int decimals = 0;
};

// item = (stored − offset) ÷ scale, halves to the even neighbour;
// stored = item × scale + offset.
struct ItemMap {
  int scale = 1;
  int offset = 0;
};

// The control is enabled while the named field stores `equals`; no name: always.
struct EnableRule {
  std::string_view field;
  int equals = 0;
};

// Where the window places the control.
struct Placement {
  std::uint8_t column = 0;
  bool indented = false;  // under the check box that enables it
  bool hidden = false;    // loaded but never shown, so never changed by the window
};

struct SettingField {
  std::string_view name;  // "options.squelch"
  SettingSlot slot;
  std::string_view control;  // "Combo1(0)"
  int labelTextId;
  std::string_view caption;  // the built-in caption until the language's text is applied
  SettingKind kind;
  ItemSource items;
  ItemMap map;
  EnableRule enable;
  Placement place;
};

using TextOf = std::function<std::string(int)>;

std::span<const SettingField> OptionalFeatureFields();
// Every setting of every block, for the command line and the JSON dump.
std::vector<const SettingField*> AllSettingFields();
const SettingField* FindSettingField(std::string_view name);

int ItemCount(const SettingField& field);
std::vector<std::string> ItemTexts(const SettingField& field, const TextOf& textOf);
// The item a stored value shows: its item, or the first item when it has none.
// For a check box 1 (ticked) or 0.
int ItemOfStored(const SettingField& field, int stored);
int StoredOfItem(const SettingField& field, int item);
// True when the stored value is one the control can show and store as it is.
bool IsOfferedValue(const SettingField& field, int stored);

int StoredSetting(const RunState& state, const SettingField& field);
bool IsSettingEnabled(const RunState& state, const SettingField& field);

// The one entry point for changing a radio-wide setting: the stored value must
// be one the field offers; the side rules of the field are applied. A refused
// value leaves the document as it was.
EditOutcome SetSetting(RunState& state, const Effects& effects, const SettingField& field,
                       int stored);

}  // namespace cps
