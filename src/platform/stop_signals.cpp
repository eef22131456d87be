#include "platform/stop_signals.hpp"

#include <QSocketNotifier>
#include <array>

#ifdef Q_OS_UNIX
#include <fcntl.h>
#include <pthread.h>
#include <signal.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#endif

namespace cps {

#ifdef Q_OS_UNIX

namespace {

// The write end of the pipe that tells the program a signal came. A signal
// handler can reach nothing else, so this one descriptor is kept where it can
// find it; it is all the handler touches.
volatile std::sig_atomic_t gStopPipe = -1;

extern "C" void onStopSignal(int number) {
  const int savedErrno = errno;
  const auto byte = static_cast<unsigned char>(number);
  [[maybe_unused]] const auto ignored = ::write(gStopPipe, &byte, 1);
  errno = savedErrno;
}

constexpr std::array<int, 3> kStopSignals{SIGINT, SIGTERM, SIGHUP};

}  // namespace

struct StopSignals::Before {
  std::array<struct sigaction, 3> stop{};
  std::array<bool, 3> caught{};
  struct sigaction brokenPipe {};
  bool pipeIgnored = false;
  bool stopRestored = false;

  void restoreStop() {
    if (stopRestored) return;
    stopRestored = true;
    for (std::size_t i = 0; i < kStopSignals.size(); ++i) {
      if (caught[i]) ::sigaction(kStopSignals[i], &stop[i], nullptr);
    }
  }
};

StopSignals::StopSignals(QObject* parent) : QObject(parent), m_before(std::make_unique<Before>()) {
  int fds[2];
  if (::pipe2(fds, O_CLOEXEC | O_NONBLOCK) != 0) return;
  m_read = fds[0];
  m_write = fds[1];
  gStopPipe = m_write;

  struct sigaction action {};
  action.sa_handler = onStopSignal;
  sigemptyset(&action.sa_mask);
  // Without SA_RESTART a read of the terminal that waits for an answer is
  // interrupted, so that the question ends with its cautious answer; with
  // SA_RESETHAND the same signal again ends the program even before the
  // program has read the first one.
  action.sa_flags = SA_RESETHAND;
  sigset_t unblock;
  sigemptyset(&unblock);
  for (std::size_t i = 0; i < kStopSignals.size(); ++i) {
    auto& before = m_before->stop[i];
    if (::sigaction(kStopSignals[i], nullptr, &before) != 0) continue;
    // Ignored by whoever started the program (nohup, a background job): it stays so.
    if (before.sa_handler == SIG_IGN) continue;
    m_before->caught[i] = ::sigaction(kStopSignals[i], &action, nullptr) == 0;
    sigaddset(&unblock, kStopSignals[i]);
  }
  // Blocked by the program that started this one, they would never arrive.
  ::pthread_sigmask(SIG_UNBLOCK, &unblock, nullptr);

  // A reader of the output that went away (a pager or tee ended by the same
  // Ctrl+C) must not end the program before the radios have heard END.
  struct sigaction ignore {};
  ignore.sa_handler = SIG_IGN;
  sigemptyset(&ignore.sa_mask);
  m_before->pipeIgnored = ::sigaction(SIGPIPE, &ignore, &m_before->brokenPipe) == 0;

  m_notifier = new QSocketNotifier(m_read, QSocketNotifier::Read, this);
  connect(m_notifier, &QSocketNotifier::activated, this, [this] { takeNow(); });
}

StopSignals::~StopSignals() {
  m_before->restoreStop();
  if (m_before->pipeIgnored) ::sigaction(SIGPIPE, &m_before->brokenPipe, nullptr);
  gStopPipe = -1;
  if (m_read >= 0) ::close(m_read);
  if (m_write >= 0) ::close(m_write);
}

bool StopSignals::take() {
  if (m_read < 0) return false;
  bool came = false;
  std::array<unsigned char, 16> bytes{};
  for (;;) {
    const auto n = ::read(m_read, bytes.data(), bytes.size());
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) break;
    if (m_signal == 0) m_signal = bytes[0];
    came = true;
  }
  // The first signal is being handled: the next one ends the program at once.
  if (came) m_before->restoreStop();
  return came;
}

#else

struct StopSignals::Before {};

StopSignals::StopSignals(QObject* parent) : QObject(parent), m_before(std::make_unique<Before>()) {}

StopSignals::~StopSignals() = default;

bool StopSignals::take() { return false; }

#endif

int StopSignals::takeNow() {
  if (take() && m_action) m_action();
  return m_signal;
}

int StopSignals::received() {
  take();
  return m_signal;
}

int StopSignals::exitStatus() { return received() != 0 ? 128 + m_signal : 0; }

}  // namespace cps
