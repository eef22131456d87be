// An orderly end on SIGTERM or SIGINT (a session logging out, kill, Ctrl+C in
// the terminal that started the program): the main window is closed as if the
// user had closed it, so the placement and the link settings are written and a
// changed document is not dropped without the question.
#pragma once

#include <QObject>
#include <functional>

class QSocketNotifier;

namespace cps::gui {

class TerminationWatch final : public QObject {
 public:
  // Blocks the two signals for the whole process; call before any thread starts.
  static void blockSignals();

  TerminationWatch(std::function<void()> onTerminate, QObject* parent = nullptr);
  ~TerminationWatch() override;

 private:
  int m_fd = -1;
  QSocketNotifier* m_notifier = nullptr;
  std::function<void()> m_onTerminate;
};

}  // namespace cps::gui
