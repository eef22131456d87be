#include "core/settings/setting_fields.hpp"

#include <algorithm>
#include <array>
#include <cstdio>

#include "core/document/codec.hpp"
#include "core/document/run_state.hpp"

namespace cps {

namespace {

using B = SettingBlock;
using K = SettingKind;

constexpr int kOff = 16040;
constexpr std::array<int, 2> kVoicePromptItems{16042, 16043};
constexpr std::array<int, 4> kTailEliminationItems{16300, 16301, 16044, 16045};
constexpr std::array<int, 4> kBatterySaveItems{kOff, 16046, 16047, 16048};
constexpr std::array<int, 1> kOffItem{kOff};

constexpr ItemSource numbers(int first, int last, int step = 1) {
  return {{}, first, last, step, 1, 0};
}
constexpr ItemSource offThen(int first, int last, int step = 1) {
  return {kOffItem, first, last, step, 1, 0};
}
constexpr ItemSource texts(std::span<const int> ids) { return {ids, 0, -1, 1, 1, 0}; }

constexpr ItemMap kIdentity{1, 0};
constexpr ItemMap kMinusOne{1, 1};
constexpr EnableRule kAlways{};
constexpr EnableRule kWhileVox{"options.vox", 1};
constexpr Placement kLeft{0, false, false};
constexpr Placement kRight{1, false, false};
constexpr Placement kUnderVox{1, true, false};

// In the window's order: the left column top to bottom, then the right one.
constexpr std::array<SettingField, 18> kOptionalFeatures{{
    {"options.squelch",
     {B::Options, 0},
     "Combo1(0)",
     16001,
     "静躁电平",
     K::List,
     numbers(0, 9),
     kIdentity,
     kAlways,
     kLeft},
    {"options.voice-prompt",
     {B::Options, 1},
     "Combo1(1)",
     16002,
     "语音提示",
     K::List,
     texts(kVoicePromptItems),
     kMinusOne,
     kAlways,
     kLeft},
    {"options.voice-volume",
     {B::Options, 2},
     "Combo1(11)",
     16012,
     "语音音量",
     K::List,
     numbers(1, 5),
     kMinusOne,
     kAlways,
     kLeft},
    {"options.tail-elimination",
     {B::Options, 3},
     "Combo1(2)",
     16003,
     "尾音消除方式",
     K::List,
     texts(kTailEliminationItems),
     kIdentity,
     kAlways,
     kLeft},
    {"options.battery-save",
     {B::Options, 4},
     "Combo1(3)",
     16004,
     "电池省电",
     K::List,
     texts(kBatterySaveItems),
     kIdentity,
     kAlways,
     kLeft},
    // The one field kept in physical units: seconds, a multiple of 15.
    {"options.tot",
     {B::Options, 12},
     "Combo1(4)",
     16005,
     "超时定时器",
     K::List,
     offThen(15, 240, 15),
     {15, 0},
     kAlways,
     kLeft},
    {"options.tot-pre-alert",
     {B::Options, 9},
     "Combo1(5)",
     16006,
     "TOT预警时间",
     K::List,
     offThen(1, 10),
     kIdentity,
     kAlways,
     kLeft},
    {"options.tot-rekey",
     {B::Options, 13},
     "Combo1(6)",
     16007,
     "TOT 再键时间",
     K::List,
     numbers(0, 60),
     kIdentity,
     kAlways,
     kLeft},
    {"options.tot-reset",
     {B::Options, 14},
     "Combo1(7)",
     16008,
     "TOT复位时间",
     K::List,
     numbers(0, 30),
     kIdentity,
     kAlways,
     kLeft},
    {"options.channel-group",
     {B::Options, 17},
     "Combo1(10)",
     16011,
     "信道组别",
     K::List,
     numbers(1, 8),
     kMinusOne,
     kAlways,
     kLeft},
    {"options.vox",
     {B::Options, 5},
     "Check1(0)",
     16020,
     "声控功能",
     K::Check,
     {},
     kIdentity,
     kAlways,
     kRight},
    {"options.vox-level",
     {B::Options, 15},
     "Combo1(8)",
     16009,
     "声控灵敏度等级",
     K::List,
     offThen(1, 6),
     kIdentity,
     kWhileVox,
     kUnderVox},
    // Half seconds: item i is (i + 1) × 0.5 s.
    {"options.vox-delay",
     {B::Options, 16},
     "Combo1(9)",
     16010,
     "声控延迟时间",
     K::List,
     {{}, 5, 50, 5, 10, 1},
     kIdentity,
     kWhileVox,
     kUnderVox},
    {"options.vox-tone",
     {B::Options, 6},
     "Check1(1)",
     16021,
     "声控可进行音调",
     K::Check,
     {},
     kIdentity,
     kWhileVox,
     kUnderVox},
    {"options.channel-lock",
     {B::Options, 7},
     "Check1(2)",
     16022,
     "信道锁定",
     K::Check,
     {},
     kIdentity,
     kAlways,
     kRight},
    {"options.group-select",
     {B::Options, 8},
     "Check1(3)",
     16023,
     "组选择",
     K::Check,
     {},
     kIdentity,
     kAlways,
     kRight},
    {"options.tail-elimination-no-signalling",
     {B::Options, 11},
     "Check1(5)",
     16025,
     "无信令时尾音消除",
     K::Check,
     {},
     kIdentity,
     kAlways,
     kRight},
    // Present for the stored value, never shown: the window cannot change it.
    {"options.wired-clone",
     {B::Options, 10},
     "Check1(4)",
     16024,
     "有线复制",
     K::Check,
     {},
     kIdentity,
     kAlways,
     {1, false, true}},
}};

int numberCount(const ItemSource& items) {
  return items.last < items.first ? 0 : (items.last - items.first) / items.step + 1;
}

std::string numberText(int number, const ItemSource& items) {
  if (items.decimals == 0) return std::to_string(number / items.divisor);
  char text[32];
  std::snprintf(text, sizeof text, "%.*f", items.decimals,
                static_cast<double>(number) / items.divisor);
  return text;
}

// The stored value's place in its record; nullptr for a slot the record lacks.
template <typename State>
auto slotOf(State& state, SettingSlot slot) {
  auto& doc = state.workingDocument;
  const std::size_t i = slot.index;
  struct Ref {
    decltype(&doc.optionalFeatures.values[0]) wide = nullptr;
    decltype(&doc.alert.bytes[0]) narrow = nullptr;
  } ref;
  switch (slot.block) {
    case SettingBlock::Options:
      if (i < doc.optionalFeatures.values.size()) ref.wide = &doc.optionalFeatures.values[i];
      break;
    case SettingBlock::Dtmf:
      if (i < doc.dtmf.settings.size()) ref.wide = &doc.dtmf.settings[i];
      break;
    case SettingBlock::Keys:
      if (i < doc.keys.values.size()) ref.wide = &doc.keys.values[i];
      break;
    case SettingBlock::Alert:
      if (i < doc.alert.bytes.size()) ref.narrow = &doc.alert.bytes[i];
      break;
    case SettingBlock::Scan:
      if (i < doc.scan.bytes.size()) ref.narrow = &doc.scan.bytes[i];
      break;
    case SettingBlock::Side:
      ref.narrow = &state.workingSide.alarmMode;
      break;
  }
  return ref;
}

}  // namespace

std::span<const SettingField> OptionalFeatureFields() { return kOptionalFeatures; }

std::vector<const SettingField*> AllSettingFields() {
  std::vector<const SettingField*> all;
  for (const auto& field : kOptionalFeatures) all.push_back(&field);
  return all;
}

const SettingField* FindSettingField(std::string_view name) {
  for (const SettingField* field : AllSettingFields()) {
    if (field->name == name) return field;
  }
  return nullptr;
}

int ItemCount(const SettingField& field) {
  if (field.kind == SettingKind::Check) return 2;
  return static_cast<int>(field.items.textIds.size()) + numberCount(field.items);
}

std::vector<std::string> ItemTexts(const SettingField& field, const TextOf& textOf) {
  std::vector<std::string> out;
  if (field.kind != SettingKind::List) return out;
  for (const int id : field.items.textIds) out.push_back(textOf(id));
  for (int i = 0; i < numberCount(field.items); ++i) {
    out.push_back(numberText(field.items.first + i * field.items.step, field.items));
  }
  return out;
}

int ItemOfStored(const SettingField& field, int stored) {
  if (field.kind == SettingKind::Check) return stored == 1 ? 1 : 0;
  const auto item = RoundHalfEven(static_cast<double>(stored - field.map.offset) / field.map.scale);
  return item >= 0 && item < ItemCount(field) ? static_cast<int>(item) : 0;
}

int StoredOfItem(const SettingField& field, int item) {
  if (field.kind == SettingKind::Check) return item == 1 ? 1 : 0;
  return item * field.map.scale + field.map.offset;
}

bool IsOfferedValue(const SettingField& field, int stored) {
  if (field.kind == SettingKind::Check) return stored == 0 || stored == 1;
  const int item = ItemOfStored(field, stored);
  return StoredOfItem(field, item) == stored && ItemCount(field) > 0;
}

int StoredSetting(const RunState& state, const SettingField& field) {
  const auto ref = slotOf(state, field.slot);
  if (ref.wide != nullptr) return *ref.wide;
  if (ref.narrow != nullptr) return *ref.narrow;
  return 0;
}

bool IsSettingEnabled(const RunState& state, const SettingField& field) {
  if (field.enable.field.empty()) return true;
  const SettingField* other = FindSettingField(field.enable.field);
  return other != nullptr && StoredSetting(state, *other) == field.enable.equals;
}

EditOutcome SetSetting(RunState& state, const Effects& /*effects*/, const SettingField& field,
                       int stored) {
  if (!IsOfferedValue(field, stored)) {
    return {EditStatus::Refused,
            std::string(field.name) + " does not offer the value " + std::to_string(stored)};
  }
  if (StoredSetting(state, field) == stored) return {EditStatus::Unchanged, {}};
  const auto ref = slotOf(state, field.slot);
  if (ref.wide != nullptr) {
    *ref.wide = static_cast<std::int16_t>(stored);
  } else if (ref.narrow != nullptr) {
    *ref.narrow = static_cast<std::uint8_t>(stored);
  } else {
    return {EditStatus::Refused, std::string(field.name) + " has no place in the document"};
  }
  return {EditStatus::Applied, {}};
}

}  // namespace cps
