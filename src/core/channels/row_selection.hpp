// The rows of the channel table's page that a command acts on. The cursor is
// one of them as long as nothing else is chosen; Shift extends from the row
// the selection started at (its anchor), Ctrl adds or removes one row, and the
// whole page can be taken at once. A selection is never empty.
#pragma once

#include <array>
#include <vector>

#include "core/channels/channel_table.hpp"

namespace cps {

class RowSelection {
 public:
  RowSelection() { selectOnly(1); }

  // The row alone, which becomes the anchor: a plain move or click.
  void selectOnly(int row);
  // The rows from the anchor to `row`, both included; rows added one by one
  // before are dropped, as a Shift click does in every list.
  void extendTo(int row);
  // Adds the row, or removes it when it was selected; it becomes the anchor.
  // Removing the only row leaves it selected: the selection is never empty.
  void toggle(int row);
  // The sixteen rows of the page; the anchor stays.
  void selectAll();
  // Exactly these rows (rows off the page are left out); the first becomes
  // the anchor. An empty list selects `fallback` alone.
  void assign(const std::vector<int>& rows, int fallback);

  bool contains(int row) const;
  std::vector<int> rows() const;  // ascending
  int count() const;
  int anchor() const { return m_anchor; }
  // More than one row: the commands act on the block instead of the cursor.
  bool isBlock() const { return count() > 1; }

 private:
  std::array<bool, kTableRows + 1> m_selected{};  // [0] unused
  int m_anchor = 1;
};

}  // namespace cps
