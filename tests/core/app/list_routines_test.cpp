// The list and check box rules the windows share: what a list shows for a text
// or position it does not hold, what an empty list shows, and which texts count
// as numbers.
#include "core/app/list_routines.hpp"

#include <gtest/gtest.h>

#include <ostream>
#include <string>

namespace cps {
namespace {

const ListItems kEmpty;
const ListItems kPowers{"High", "Low", "Middle"};
// Lists built from user data may hold a text twice; the first one counts.
const ListItems kTwice{"OFF", "A", "B", "A"};

// ---- Check boxes --------------------------------------------------------------

TEST(ListRoutinesCheckValue, OnlyOneTicks) {
  struct Case {
    int stored;
    int shown;
  };
  for (const auto& c :
       {Case{0, 0}, Case{1, 1}, Case{2, 0}, Case{255, 0}, Case{-1, 0}, Case{-32768, 0}}) {
    EXPECT_EQ(CheckValueToShow(c.stored), c.shown) << "stored " << c.stored;
  }
}

// ---- Texts and positions --------------------------------------------------------

struct TextCase {
  const char* what;
  const ListItems* items;
  const char* text;
  int shownPosition;
  const char* found;
  int indexWithDefault7;
};

void PrintTo(const TextCase& c, std::ostream* os) { *os << c.what; }

class ListRoutinesText : public ::testing::TestWithParam<TextCase> {};

TEST_P(ListRoutinesText, FindSelectAndIndex) {
  const auto& c = GetParam();
  EXPECT_EQ(PositionToShowForText(*c.items, c.text), c.shownPosition);
  EXPECT_EQ(FindListItem(*c.items, c.text), c.found);
  EXPECT_EQ(IndexOfText(*c.items, c.text, 7), c.indexWithDefault7);
}

INSTANTIATE_TEST_SUITE_P(
    Lists, ListRoutinesText,
    ::testing::Values(TextCase{"equal item", &kPowers, "Low", 1, "Low", 1},
                      TextCase{"last item", &kPowers, "Middle", 2, "Middle", 2},
                      TextCase{"no equal item shows the first", &kPowers, "Medium", 0, "High", 0},
                      // Items are compared exactly: no case folding, no trimming.
                      TextCase{"other case is not equal", &kPowers, "low", 0, "High", 0},
                      TextCase{"trailing space is not equal", &kPowers, "Low ", 0, "High", 0},
                      TextCase{"empty text shows the first, index the default", &kPowers, "", 0,
                               "High", 7},
                      TextCase{"empty list", &kEmpty, "Low", -1, "", 7},
                      TextCase{"empty list, empty text", &kEmpty, "", -1, "", 7},
                      TextCase{"duplicate: the first of two", &kTwice, "A", 1, "A", 1},
                      TextCase{"duplicate list, missing text", &kTwice, "C", 0, "OFF", 0}));

struct PositionCase {
  const char* what;
  const ListItems* items;
  int position;
  int shownPosition;
  const char* item;
};

void PrintTo(const PositionCase& c, std::ostream* os) { *os << c.what; }

class ListRoutinesPosition : public ::testing::TestWithParam<PositionCase> {};

TEST_P(ListRoutinesPosition, ItemAtAndSelect) {
  const auto& c = GetParam();
  EXPECT_EQ(PositionToShowForIndex(*c.items, c.position), c.shownPosition);
  EXPECT_EQ(ListItemAt(*c.items, c.position), c.item);
}

INSTANTIATE_TEST_SUITE_P(
    Lists, ListRoutinesPosition,
    ::testing::Values(PositionCase{"first", &kPowers, 0, 0, "High"},
                      PositionCase{"last", &kPowers, 2, 2, "Middle"},
                      PositionCase{"one past the end", &kPowers, 3, 0, "High"},
                      PositionCase{"far past the end", &kPowers, 1000000, 0, "High"},
                      PositionCase{"negative", &kPowers, -1, 0, "High"},
                      PositionCase{"most negative", &kPowers, -2147483647 - 1, 0, "High"},
                      PositionCase{"empty list", &kEmpty, 0, -1, ""},
                      PositionCase{"empty list, negative", &kEmpty, -1, -1, ""}));

TEST(ListRoutinesAddOnce, AddsOnlyTextsNotYetListed) {
  ListItems items;
  EXPECT_TRUE(AddListItemOnce(items, "A"));
  EXPECT_TRUE(AddListItemOnce(items, "a"));
  EXPECT_FALSE(AddListItemOnce(items, "A"));
  EXPECT_TRUE(AddListItemOnce(items, ""));
  EXPECT_FALSE(AddListItemOnce(items, ""));
  EXPECT_EQ(items, (ListItems{"A", "a", ""}));
}

// ---- Numbers --------------------------------------------------------------------

struct NumberCase {
  const char* text;
  int result;  // with default -99
};

void PrintTo(const NumberCase& c, std::ostream* os) { *os << '"' << c.text << '"'; }

class ListRoutinesTextToLong : public ::testing::TestWithParam<NumberCase> {};

TEST_P(ListRoutinesTextToLong, NumberOrDefault) {
  EXPECT_EQ(TextToLongOr(GetParam().text, -99), GetParam().result);
}

INSTANTIATE_TEST_SUITE_P(
    Texts, ListRoutinesTextToLong,
    ::testing::Values(NumberCase{"12", 12}, NumberCase{"0", 0}, NumberCase{"-5", -5},
                      NumberCase{"+5", 5}, NumberCase{" 42 ", 42}, NumberCase{"007", 7},
                      // Decimals round, halves to the even neighbour.
                      NumberCase{"3.7", 4}, NumberCase{"2.5", 2}, NumberCase{"3.5", 4},
                      NumberCase{"-2.5", -2}, NumberCase{".5", 0}, NumberCase{"7.", 7},
                      NumberCase{"", -99}, NumberCase{" ", -99}, NumberCase{"abc", -99},
                      NumberCase{"12a", -99}, NumberCase{"1,5", -99}, NumberCase{"1e3", -99},
                      NumberCase{"-", -99}, NumberCase{".", -99}, NumberCase{"1.2.3", -99},
                      NumberCase{"2147483647", 2147483647},
                      NumberCase{"-2147483648", -2147483647 - 1},
                      // Too large for the number the caller keeps: the default, not a wrap.
                      NumberCase{"2147483648", -99}, NumberCase{"2147483647.5", -99},
                      NumberCase{"-2147483649", -99},
                      NumberCase{"99999999999999999999999999", -99}));

}  // namespace
}  // namespace cps
