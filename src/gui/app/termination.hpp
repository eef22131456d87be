// An orderly end on SIGTERM, SIGINT or SIGHUP (a session logging out, kill,
// Ctrl+C in the terminal that started the program, that terminal closed). A
// transfer under way is stopped first, as Cancel stops it, so that every radio
// hears END. Whatever dialog is open is then closed as its close button would
// close it (the first-run dialog, a message box with its cautious answer), and
// then the main window is closed as if the user had closed it, so the
// placement and the link settings are written and a changed document is not
// dropped without the question. A further signal while that question is open
// insists: the program ends without asking again.
#pragma once

#include <QObject>
#include <functional>

class QSocketNotifier;
class QTimer;

namespace cps::gui {

class TerminationWatch final : public QObject {
 public:
  // Blocks the three signals for the whole process; call before any thread starts.
  static void blockSignals();

  explicit TerminationWatch(QObject* parent = nullptr);
  ~TerminationWatch() override;

  // What ends the run once no dialog is open any more: closing the main window,
  // without the unsaved-changes question when `insist` is set. Until it is set
  // (start-up, the first-run dialog), closing the dialogs is all there is to do.
  void setEndOfRun(std::function<void(bool insist)> endOfRun);
  // Stops the transfers under way (each radio hears END); true when there was
  // one. The dialogs close and the run ends once it has stopped.
  void setStopTransfers(std::function<bool()> stopTransfers);

  // Signals received so far.
  int signalsReceived() const { return m_signals; }

 private:
  void onSignal();
  // Closes the open dialogs one after the other, each once the code that opened
  // it has taken its answer, then ends the run.
  void endRun();

  int m_fd = -1;
  int m_signals = 0;
  QSocketNotifier* m_notifier = nullptr;
  QTimer* m_nextDialog = nullptr;
  std::function<void(bool)> m_endOfRun;
  std::function<bool()> m_stopTransfers;
};

}  // namespace cps::gui
