// Undo and redo: pictures of what a user's edit can change (the working
// document and its side record), one per user action, so that the user can
// step back and forward through the changes made since the document was made,
// opened or read from the radio.
#pragma once

#include <cstddef>
#include <deque>
#include <functional>
#include <optional>

#include "core/document/records.hpp"

namespace cps {

struct RunState;

// What an edit can change: the channel table, the dialog, the commands and the
// settings windows write only the working document and the working side record
// (the alert window keeps the alarm mode there).
struct DocumentSnapshot {
  DocumentRecord document;
  SideFileRecord side;
  bool operator==(const DocumentSnapshot&) const = default;
};

class EditHistory {
 public:
  // A picture is a little under 9 KB; 200 steps on each side stay below 4 MB
  // and reach further back than anyone steps by hand in one sitting.
  static constexpr std::size_t kMaxSteps = 200;

  bool canUndo() const { return !m_undo.empty(); }
  bool canRedo() const { return !m_redo.empty(); }
  std::size_t undoSteps() const { return m_undo.size(); }
  std::size_t redoSteps() const { return m_redo.size(); }
  bool inStep() const { return m_depth > 0; }

  // A user action starts; only the outermost start takes a picture.
  void begin(const DocumentSnapshot& now);
  // A user action ends; the outermost end keeps the picture as one step when
  // the document changed, and a new step ends what could be redone.
  void end(const DocumentSnapshot& now);
  // The picture to put in place of `now`, which is kept for the way back;
  // empty when there is nothing to undo or redo, or an action is under way.
  std::optional<DocumentSnapshot> undo(DocumentSnapshot now);
  std::optional<DocumentSnapshot> redo(DocumentSnapshot now);
  // Another document took the place of the old one: nothing before it can be
  // undone. An action under way continues from `now`.
  void clear(const DocumentSnapshot& now);
  // Called whenever what can be undone or redone may have changed, so that a
  // window can enable its Undo and Redo entries.
  void setOnChange(std::function<void()> onChange) { m_onChange = std::move(onChange); }

 private:
  static void push(std::deque<DocumentSnapshot>& steps, DocumentSnapshot snapshot);

  std::deque<DocumentSnapshot> m_undo;
  std::deque<DocumentSnapshot> m_redo;
  void changed() const {
    if (m_onChange) m_onChange();
  }

  std::optional<DocumentSnapshot> m_before;
  std::function<void()> m_onChange;
  int m_depth = 0;
};

// Marks one user action for the history. Every entry point that changes the
// document opens one; steps opened inside another record nothing of their own.
class HistoryStep {
 public:
  explicit HistoryStep(RunState& state);
  ~HistoryStep();
  HistoryStep(const HistoryStep&) = delete;
  HistoryStep& operator=(const HistoryStep&) = delete;

 private:
  RunState& m_state;
};

DocumentSnapshot SnapshotOf(const RunState& state);

bool CanUndo(const RunState& state);
bool CanRedo(const RunState& state);
// Each puts the document back one step and returns whether anything happened.
// The caller has every open window show the document again.
bool Undo(RunState& state);
bool Redo(RunState& state);
// New, Open and a read from the radio start the history afresh.
void StartNewHistory(RunState& state);

}  // namespace cps
