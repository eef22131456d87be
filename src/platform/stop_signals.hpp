// Ctrl+C, kill and a closed terminal (SIGINT, SIGTERM, SIGHUP) while the
// command line talks to radios. The signal is only noted; the event loop, or
// a wait that watches descriptor(), turns it into the transfers' own stop, so
// that every radio hears END and the summary is still printed. A second
// signal ends the program at once.
#pragma once

#include <QObject>
#include <functional>
#include <memory>

class QSocketNotifier;

namespace cps {

class StopSignals final : public QObject {
 public:
  // Catches the three signals (one that the program was started to ignore,
  // as nohup ignores SIGHUP, stays ignored) until it is destroyed. One at a
  // time; needs the application object for its notifier.
  explicit StopSignals(QObject* parent = nullptr);
  ~StopSignals() override;
  StopSignals(const StopSignals&) = delete;
  StopSignals& operator=(const StopSignals&) = delete;

  // What a signal does while an event loop runs: stop every transfer. It may
  // run more than once (a second signal of another kind), so it must be one
  // that does nothing the second time.
  void setAction(std::function<void()> action) { m_action = std::move(action); }

  // The first signal that came, 0 while none has. Code that runs no event loop
  // asks this between its steps.
  int received();
  // What the event loop does when a signal comes, done now by code that waits
  // outside it (a question at the terminal): the action runs for a signal not
  // yet taken. The first signal that came, 0 while none has.
  int takeNow();
  // 128 + the signal's number, what a shell reports for a program the signal
  // ended: 130 for SIGINT, 143 for SIGTERM, 129 for SIGHUP.
  int exitStatus();
  // Becomes readable when a signal comes, for a wait that runs no event loop.
  int descriptor() const { return m_read; }

  // The action of one stage of the work, for as long as the stage lasts.
  class Scope {
   public:
    Scope(StopSignals& owner, std::function<void()> action) : m_owner(owner) {
      m_owner.setAction(std::move(action));
    }
    ~Scope() { m_owner.setAction({}); }
    Scope(const Scope&) = delete;
    Scope& operator=(const Scope&) = delete;

   private:
    StopSignals& m_owner;
  };

 private:
  // Reads what the handler wrote; true when a signal came since the last call.
  bool take();

  int m_read = -1;
  int m_write = -1;
  int m_signal = 0;
  QSocketNotifier* m_notifier = nullptr;
  std::function<void()> m_action;
  // What each signal did before: put back after the first signal (so that a
  // second one ends the program) and at the end.
  struct Before;
  std::unique_ptr<Before> m_before;
};

}  // namespace cps
