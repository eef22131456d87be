#include "core/document/edit_history.hpp"

#include <utility>

#include "core/run_state.hpp"

namespace cps {

void EditHistory::push(std::deque<DocumentSnapshot>& steps, DocumentSnapshot snapshot) {
  steps.push_back(std::move(snapshot));
  while (steps.size() > kMaxSteps) steps.pop_front();
}

void EditHistory::begin(const DocumentSnapshot& now) {
  if (m_depth++ == 0) m_before = now;
}

void EditHistory::end(const DocumentSnapshot& now) {
  if (m_depth == 0 || --m_depth > 0) return;
  std::optional<DocumentSnapshot> before = std::move(m_before);
  m_before.reset();
  if (!before || *before == now) return;
  push(m_undo, std::move(*before));
  m_redo.clear();
  changed();
}

std::optional<DocumentSnapshot> EditHistory::undo(DocumentSnapshot now) {
  if (m_depth > 0 || m_undo.empty()) return std::nullopt;
  DocumentSnapshot back = std::move(m_undo.back());
  m_undo.pop_back();
  push(m_redo, std::move(now));
  changed();
  return back;
}

std::optional<DocumentSnapshot> EditHistory::redo(DocumentSnapshot now) {
  if (m_depth > 0 || m_redo.empty()) return std::nullopt;
  DocumentSnapshot forward = std::move(m_redo.back());
  m_redo.pop_back();
  push(m_undo, std::move(now));
  changed();
  return forward;
}

void EditHistory::clear(const DocumentSnapshot& now) {
  m_undo.clear();
  m_redo.clear();
  if (m_depth > 0) m_before = now;
  changed();
}

HistoryStep::HistoryStep(RunState& state) : m_state(state) {
  m_state.history.begin(SnapshotOf(m_state));
}

HistoryStep::~HistoryStep() { m_state.history.end(SnapshotOf(m_state)); }

DocumentSnapshot SnapshotOf(const RunState& state) {
  return {state.workingDocument, state.workingSide};
}

bool CanUndo(const RunState& state) { return state.history.canUndo(); }
bool CanRedo(const RunState& state) { return state.history.canRedo(); }

namespace {

void install(RunState& state, DocumentSnapshot snapshot) {
  state.workingDocument = std::move(snapshot.document);
  state.workingSide = std::move(snapshot.side);
}

}  // namespace

bool Undo(RunState& state) {
  auto back = state.history.undo(SnapshotOf(state));
  if (!back) return false;
  install(state, std::move(*back));
  return true;
}

bool Redo(RunState& state) {
  auto forward = state.history.redo(SnapshotOf(state));
  if (!forward) return false;
  install(state, std::move(*forward));
  return true;
}

void StartNewHistory(RunState& state) { state.history.clear(SnapshotOf(state)); }

}  // namespace cps
