// The rows of the channel table a command acts on.
#include "core/channels/row_selection.hpp"

#include <gtest/gtest.h>

#include <functional>
#include <vector>

namespace cps {
namespace {

struct SelectionCase {
  const char* what;
  std::function<void(RowSelection&)> steps;
  std::vector<int> rows;
  int anchor;
};

TEST(RowSelection, ShiftExtendsFromTheAnchorCtrlTogglesAndItIsNeverEmpty) {
  const std::vector<SelectionCase> cases = {
      {"a new selection is row 1", [](RowSelection&) {}, {1}, 1},
      {"a plain move selects one row", [](RowSelection& s) { s.selectOnly(7); }, {7}, 7},
      {"Shift extends downward",
       [](RowSelection& s) {
         s.selectOnly(4);
         s.extendTo(6);
       },
       {4, 5, 6},
       4},
      {"Shift extends upward and back over the anchor",
       [](RowSelection& s) {
         s.selectOnly(4);
         s.extendTo(6);
         s.extendTo(2);
       },
       {2, 3, 4},
       4},
      {"Ctrl adds rows apart",
       [](RowSelection& s) {
         s.selectOnly(2);
         s.toggle(5);
         s.toggle(9);
       },
       {2, 5, 9},
       9},
      {"Ctrl removes a selected row",
       [](RowSelection& s) {
         s.selectOnly(2);
         s.extendTo(4);
         s.toggle(3);
       },
       {2, 4},
       3},
      {"the only row cannot be removed",
       [](RowSelection& s) {
         s.selectOnly(8);
         s.toggle(8);
       },
       {8},
       8},
      {"Shift after Ctrl extends from the toggled row and drops the rest",
       [](RowSelection& s) {
         s.selectOnly(2);
         s.toggle(10);
         s.extendTo(12);
       },
       {10, 11, 12},
       10},
      {"select all keeps the anchor",
       [](RowSelection& s) {
         s.selectOnly(5);
         s.selectAll();
       },
       {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16},
       5},
      {"rows off the page change nothing",
       [](RowSelection& s) {
         s.selectOnly(3);
         s.selectOnly(0);
         s.extendTo(17);
         s.toggle(-1);
       },
       {3},
       3},
      {"assigned rows keep only those on the page",
       [](RowSelection& s) {
         s.assign({16, 3, 40}, 1);
       },
       {3, 16},
       16},
      {"an empty assignment falls back to the cursor",
       [](RowSelection& s) { s.assign({}, 6); },
       {6},
       6},
  };
  for (const auto& c : cases) {
    RowSelection selection;
    c.steps(selection);
    EXPECT_EQ(selection.rows(), c.rows) << c.what;
    EXPECT_EQ(selection.anchor(), c.anchor) << c.what;
    EXPECT_EQ(selection.isBlock(), c.rows.size() > 1) << c.what;
  }
}

}  // namespace
}  // namespace cps
