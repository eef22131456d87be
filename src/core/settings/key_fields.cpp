// The key assignment window (FrmKey): the two long-press times and the
// functions of the programmable keys PF1 and PF2, for a long and a short press.
#include <array>

#include "core/settings/setting_rows.hpp"

namespace cps {

namespace {

using namespace rows;
using Key = KeyBlock;

constexpr int kFunctionCount = 22;

// The full table of key functions, in code order: function k is named by text
// 25040 + k, and a key stores the place of its function in this table.
constexpr std::array<int, kFunctionCount> kFunctionNames = [] {
  std::array<int, kFunctionCount> ids{};
  for (int k = 0; k < kFunctionCount; ++k) ids[static_cast<std::size_t>(k)] = 25040 + k;
  return ids;
}();

// A long press offers functions 0 to 20; a short press neither 4 (emergency
// alarm) nor 11 (key lock), so that a brush of the key starts neither. No key
// offers 21.
constexpr std::array<std::uint8_t, 21> kLongPressFunctions{
    0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17, 18, 19, 20};
constexpr std::array<std::uint8_t, 19> kShortPressFunctions{0,  1,  2,  3,  5,  6,  7,  8,  9, 10,
                                                            12, 13, 14, 15, 16, 17, 18, 19, 20};

constexpr ItemSource kLongPress{.textIds = kFunctionNames, .choices = kLongPressFunctions};
constexpr ItemSource kShortPress{.textIds = kFunctionNames, .choices = kShortPressFunctions};

constexpr std::array<SettingPage, 2> kFrames{{
    {25003, "PF1"},
    {25004, "PF2"},
}};
constexpr Placement kPf1{.page = 1};
constexpr Placement kPf2{.page = 2};

constexpr std::array<SettingField, 6> kKeyFields{{
    {.name = "keys.long-press-time",
     .slot = {B::Keys, Key::kLongPressTime},
     .control = "Combo1(9)",
     .labelTextId = 25001,
     .caption = "长键时间",
     .items = tenths(10, 25),
     .map = minus(10)},
    {.name = "keys.emergency-long-press-time",
     .slot = {B::Keys, Key::kEmergencyLongPressTime},
     .control = "Combo1(10)",
     .labelTextId = 25002,
     .caption = "紧急报警长键时间",
     .items = tenths(10, 25),
     .map = minus(10)},
    {.name = "keys.pf1.long",
     .slot = {B::Keys, Key::kPf1Long},
     .control = "Combo1(0)",
     .labelTextId = 25005,
     .caption = "长键",
     .items = kLongPress,
     .map = kListed,
     .place = kPf1,
     .side = SideRule::KeyFunction},
    {.name = "keys.pf1.short",
     .slot = {B::Keys, Key::kPf1Short},
     .control = "Combo1(1)",
     .labelTextId = 25006,
     .caption = "短键",
     .items = kShortPress,
     .map = kListed,
     .place = kPf1,
     .side = SideRule::KeyFunction},
    {.name = "keys.pf2.long",
     .slot = {B::Keys, Key::kPf2Long},
     .control = "Combo1(2)",
     .labelTextId = 25005,
     .caption = "长键",
     .items = kLongPress,
     .map = kListed,
     .place = kPf2,
     .side = SideRule::KeyFunction},
    {.name = "keys.pf2.short",
     .slot = {B::Keys, Key::kPf2Short},
     .control = "Combo1(3)",
     .labelTextId = 25006,
     .caption = "短键",
     .items = kShortPress,
     .map = kListed,
     .place = kPf2,
     .side = SideRule::KeyFunction},
}};

}  // namespace

std::span<const SettingField> KeyFields() { return kKeyFields; }
std::span<const SettingPage> KeyFrames() { return kFrames; }

}  // namespace cps
