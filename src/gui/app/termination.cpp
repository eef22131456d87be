#include "gui/app/termination.hpp"

#include <QApplication>
#include <QPointer>
#include <QSocketNotifier>
#include <QTimer>
#include <QWidget>

#ifdef Q_OS_LINUX
#include <signal.h>
#include <sys/signalfd.h>
#include <unistd.h>
#endif

namespace cps::gui {

namespace {

// The next dialog is closed at this pace, once the one before has given its
// answer and a stopped transfer has ended.
constexpr int kNextDialogMs = 50;

#ifdef Q_OS_LINUX
sigset_t terminationSignals() {
  sigset_t set;
  sigemptyset(&set);
  sigaddset(&set, SIGTERM);
  sigaddset(&set, SIGINT);
  sigaddset(&set, SIGHUP);
  return set;
}
#endif

}  // namespace

void TerminationWatch::blockSignals() {
#ifdef Q_OS_LINUX
  const sigset_t set = terminationSignals();
  pthread_sigmask(SIG_BLOCK, &set, nullptr);
#endif
}

TerminationWatch::TerminationWatch(QObject* parent)
    : QObject(parent), m_nextDialog(new QTimer(this)) {
  m_nextDialog->setSingleShot(true);
  m_nextDialog->setInterval(kNextDialogMs);
  connect(m_nextDialog, &QTimer::timeout, this, &TerminationWatch::endRun);
#ifdef Q_OS_LINUX
  // The signals arrive as reads on a descriptor, in whatever event loop runs,
  // a modal dialog's included, so the end happens on the user-interface thread
  // like any other event. A signal sent before the first loop waits there.
  const sigset_t set = terminationSignals();
  m_fd = signalfd(-1, &set, SFD_NONBLOCK | SFD_CLOEXEC);
  if (m_fd < 0) return;
  m_notifier = new QSocketNotifier(m_fd, QSocketNotifier::Read, this);
  connect(m_notifier, &QSocketNotifier::activated, this, &TerminationWatch::onSignal);
#endif
}

TerminationWatch::~TerminationWatch() {
#ifdef Q_OS_LINUX
  if (m_fd >= 0) close(m_fd);
#endif
}

void TerminationWatch::setEndOfRun(std::function<void(bool)> endOfRun) {
  m_endOfRun = std::move(endOfRun);
}

void TerminationWatch::setStopTransfers(std::function<bool()> stopTransfers) {
  m_stopTransfers = std::move(stopTransfers);
}

void TerminationWatch::onSignal() {
#ifdef Q_OS_LINUX
  signalfd_siginfo info{};
  while (read(m_fd, &info, sizeof info) == static_cast<ssize_t>(sizeof info)) ++m_signals;
#endif
  // The radio is told first: a transfer's dialogs and its own ending (END, the
  // port closed) run through to their end before anything else is closed.
  if (m_stopTransfers && m_stopTransfers()) {
    m_nextDialog->start();
    return;
  }
  endRun();
}

void TerminationWatch::endRun() {
  if (QPointer<QWidget> dialog = QApplication::activeModalWidget()) {
    // Closed as its close button would: the code that opened it carries on
    // with that answer once its loop returns, and may open the next one.
    dialog->close();
    // One that stays is the progress of a transfer that began after the
    // signal came: that transfer is stopped too.
    if (dialog && dialog->isVisible() && m_stopTransfers) m_stopTransfers();
    m_nextDialog->start();
    return;
  }
  if (m_endOfRun) m_endOfRun(m_signals > 1);
}

}  // namespace cps::gui
