// What the settings tables share to spell their rows: item sources, enable
// conditions and the numbered names of repeated records. Only the table files
// include it.
#pragma once

#include <array>
#include <cstddef>
#include <initializer_list>
#include <string_view>
#include <vector>

#include "core/settings/setting_fields.hpp"

namespace cps::rows {

using B = SettingBlock;
using K = SettingKind;

constexpr ItemSource numbers(int first, int last, int step = 1) {
  return {.first = first, .last = last, .step = step};
}
// Numbers shown in tenths of their stored unit: 5 shows "0.5".
constexpr ItemSource tenths(int first, int last) {
  return {.first = first, .last = last, .divisor = 10, .decimals = 1};
}
constexpr ItemSource texts(std::span<const int> ids) { return {.textIds = ids}; }
// Texts by id, then numbers.
constexpr ItemSource textsThen(std::span<const int> ids, int first, int last, int step = 1,
                               std::string_view suffix = {}) {
  return {.textIds = ids, .first = first, .last = last, .step = step, .suffix = suffix};
}
constexpr ItemSource generated(ListFunction list) { return {.list = list}; }

constexpr ItemMap kIdentity{};
constexpr ItemMap minus(int offset) { return {.offset = offset}; }
constexpr ItemMap kListed{.rule = MapRule::Listed};

constexpr std::uint32_t itemBits(std::initializer_list<int> items) {
  std::uint32_t bits = 0;
  for (const int item : items) bits |= 1u << item;
  return bits;
}
constexpr EnableCondition whileItem(std::string_view field, int item) {
  return {field, itemBits({item})};
}
constexpr EnableCondition whileItemIn(std::string_view field, std::initializer_list<int> items) {
  return {field, itemBits(items)};
}
constexpr EnableCondition whileItemIsNot(std::string_view field, int item) {
  return {field, ~itemBits({item})};
}
constexpr EnableRule kAlways{};

// Texts such as "fm.1" … "fm.20" (numbers below 100), spelled at compile time
// so that a table of repeated records names each row without a list of literals.
template <std::size_t Count>
struct NumberedTexts {
  static constexpr std::size_t kWidth = 24;
  std::array<std::array<char, kWidth>, Count> chars{};
  std::array<std::size_t, Count> sizes{};

  constexpr std::string_view operator[](std::size_t i) const { return {chars[i].data(), sizes[i]}; }
};

// before + n + after for n = first, first + 1, …
template <std::size_t Count>
constexpr NumberedTexts<Count> numbered(std::string_view before, int first,
                                        std::string_view after = {}) {
  NumberedTexts<Count> out;
  for (std::size_t i = 0; i < Count; ++i) {
    std::size_t n = 0;
    auto put = [&](char c) { out.chars[i][n++] = c; };
    for (const char c : before) put(c);
    const int number = first + static_cast<int>(i);
    if (number >= 10) put(static_cast<char>('0' + number / 10));
    put(static_cast<char>('0' + number % 10));
    for (const char c : after) put(c);
    out.sizes[i] = n;
  }
  return out;
}

// ---- Shared by the tables' list functions and SetSetting ---------------------

// The groups that hold a channel, ascending, each standing for its number.
std::vector<ListItem> UsedGroupItems(const DocumentRecord& document);
// The positions of the channels in a group, ascending; none for a group
// without channels (and for group 0).
std::vector<ListItem> UsedPositionItems(const DocumentRecord& document, int group);

// Stores a number into a list's or check box's place; false when the field
// has no such place.
bool WriteStoredSetting(DocumentRecord& document, SideFileRecord& side, const SettingField& field,
                        int stored);

}  // namespace cps::rows
