#include "gui/app/termination.hpp"

#include <QSocketNotifier>

#ifdef Q_OS_LINUX
#include <signal.h>
#include <sys/signalfd.h>
#include <unistd.h>
#endif

namespace cps::gui {

#ifdef Q_OS_LINUX
namespace {
sigset_t terminationSignals() {
  sigset_t set;
  sigemptyset(&set);
  sigaddset(&set, SIGTERM);
  sigaddset(&set, SIGINT);
  return set;
}
}  // namespace
#endif

void TerminationWatch::blockSignals() {
#ifdef Q_OS_LINUX
  const sigset_t set = terminationSignals();
  pthread_sigmask(SIG_BLOCK, &set, nullptr);
#endif
}

TerminationWatch::TerminationWatch(std::function<void()> onTerminate, QObject* parent)
    : QObject(parent), m_onTerminate(std::move(onTerminate)) {
#ifdef Q_OS_LINUX
  // The signals arrive as reads on a descriptor, in the event loop, so the
  // window is closed on the user-interface thread like any other event.
  const sigset_t set = terminationSignals();
  m_fd = signalfd(-1, &set, SFD_NONBLOCK | SFD_CLOEXEC);
  if (m_fd < 0) return;
  m_notifier = new QSocketNotifier(m_fd, QSocketNotifier::Read, this);
  connect(m_notifier, &QSocketNotifier::activated, this, [this] {
    signalfd_siginfo info{};
    while (read(m_fd, &info, sizeof info) == static_cast<ssize_t>(sizeof info)) {
    }
    if (m_onTerminate) m_onTerminate();
  });
#endif
}

TerminationWatch::~TerminationWatch() {
#ifdef Q_OS_LINUX
  if (m_fd >= 0) close(m_fd);
#endif
}

}  // namespace cps::gui
