#include "core/channels/row_selection.hpp"

#include <algorithm>

namespace cps {

namespace {

bool onThePage(int row) { return row >= 1 && row <= kTableRows; }

}  // namespace

void RowSelection::selectOnly(int row) {
  if (!onThePage(row)) return;
  m_selected.fill(false);
  m_selected[static_cast<std::size_t>(row)] = true;
  m_anchor = row;
}

void RowSelection::extendTo(int row) {
  if (!onThePage(row)) return;
  m_selected.fill(false);
  for (int r = std::min(row, m_anchor); r <= std::max(row, m_anchor); ++r) {
    m_selected[static_cast<std::size_t>(r)] = true;
  }
}

void RowSelection::toggle(int row) {
  if (!onThePage(row)) return;
  auto& selected = m_selected[static_cast<std::size_t>(row)];
  if (selected && count() == 1) return;
  selected = !selected;
  m_anchor = row;
}

void RowSelection::selectAll() {
  m_selected.fill(true);
  m_selected[0] = false;
}

void RowSelection::assign(const std::vector<int>& rows, int fallback) {
  std::array<bool, kTableRows + 1> chosen{};
  int first = 0;
  for (const int row : rows) {
    if (!onThePage(row)) continue;
    chosen[static_cast<std::size_t>(row)] = true;
    if (first == 0) first = row;
  }
  if (first == 0) {
    selectOnly(fallback);
    return;
  }
  m_selected = chosen;
  m_anchor = first;
}

bool RowSelection::contains(int row) const {
  return onThePage(row) && m_selected[static_cast<std::size_t>(row)];
}

std::vector<int> RowSelection::rows() const {
  std::vector<int> result;
  for (int row = 1; row <= kTableRows; ++row) {
    if (m_selected[static_cast<std::size_t>(row)]) result.push_back(row);
  }
  return result;
}

int RowSelection::count() const {
  return static_cast<int>(std::count(m_selected.begin() + 1, m_selected.end(), true));
}

}  // namespace cps
