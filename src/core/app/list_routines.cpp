#include "core/app/list_routines.hpp"

#include <algorithm>
#include <cstdint>
#include <limits>

#include "core/document/codec.hpp"

namespace cps {

namespace {

int positionOf(const ListItems& items, std::string_view text) {
  const auto found = std::find(items.begin(), items.end(), text);
  return found == items.end() ? -1 : static_cast<int>(found - items.begin());
}

std::string itemAt(const ListItems& items, int position) {
  return position < 0 ? std::string() : items[static_cast<std::size_t>(position)];
}

}  // namespace

int CheckValueToShow(int value) { return value == 1 ? 1 : 0; }

int PositionToShowForText(const ListItems& items, std::string_view text) {
  if (items.empty()) return -1;
  return std::max(positionOf(items, text), 0);
}

int PositionToShowForIndex(const ListItems& items, int position) {
  if (items.empty()) return -1;
  return position >= 0 && static_cast<std::size_t>(position) < items.size() ? position : 0;
}

std::string FindListItem(const ListItems& items, std::string_view text) {
  return itemAt(items, PositionToShowForText(items, text));
}

std::string ListItemAt(const ListItems& items, int position) {
  return itemAt(items, PositionToShowForIndex(items, position));
}

int IndexOfText(const ListItems& items, std::string_view text, int defaultValue) {
  if (items.empty() || text.empty()) return defaultValue;
  return std::max(positionOf(items, text), 0);
}

bool AddListItemOnce(ListItems& items, std::string_view text) {
  if (positionOf(items, text) >= 0) return false;
  items.emplace_back(text);
  return true;
}

int TextToLongOr(std::string_view text, int defaultValue) {
  const auto number = ParseNumber(text);
  if (!number) return defaultValue;
  // A number far beyond an int is turned away before any conversion, which
  // would otherwise be undefined instead of giving the default.
  constexpr auto kLowest = std::numeric_limits<int>::min();
  constexpr auto kHighest = std::numeric_limits<int>::max();
  if (!(*number > kLowest - 1.0 && *number < kHighest + 1.0)) return defaultValue;
  const std::int64_t rounded = RoundHalfEven(*number);
  if (rounded < kLowest || rounded > kHighest) return defaultValue;
  return static_cast<int>(rounded);
}

}  // namespace cps
