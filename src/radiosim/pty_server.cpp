#include "radiosim/pty_server.hpp"

#include <fcntl.h>
#include <poll.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <termios.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstring>
#include <optional>
#include <ostream>
#include <span>
#include <vector>

#if defined(__linux__)
#include <sys/inotify.h>
#include <sys/prctl.h>
#endif

#include "radiosim/radio_protocol.hpp"

namespace cps::radiosim {

namespace {

std::string systemError(const std::string& what) { return what + ": " + std::strerror(errno); }

void closeFd(int& fd) {
  if (fd >= 0) ::close(fd);
  fd = -1;
}

bool setFlags(int fd, int add) {
  const int flags = ::fcntl(fd, F_GETFL);
  return flags >= 0 && ::fcntl(fd, F_SETFL, flags | add) == 0;
}

bool setCloseOnExec(int fd) {
  const int flags = ::fcntl(fd, F_GETFD);
  return flags >= 0 && ::fcntl(fd, F_SETFD, flags | FD_CLOEXEC) == 0;
}

// The link still points at this radio's line (another radio may have taken it over).
bool linkPointsAt(const std::filesystem::path& link, const std::string& target) {
  std::error_code ec;
  if (!std::filesystem::is_symlink(link, ec)) return false;
  return std::filesystem::read_symlink(link, ec).string() == target && !ec;
}

constexpr auto kWarmUp = std::chrono::microseconds(500);

// poll() until one of `fds` is ready or `wake` has come (none: no limit).
int waitForLine(std::span<pollfd> fds, std::optional<LinePacer::TimePoint> wake) {
  using Clock = LinePacer::Clock;
#if defined(__linux__)
  // To the nanosecond: at 9600 baud a byte takes 1.04 ms, and a wait rounded
  // to whole milliseconds would let every answer out up to a millisecond late.
  timespec timeout{};
  if (wake) {
    auto left = std::max(*wake - Clock::now(), Clock::duration::zero());
    // A long wait ends a little early and the rest is waited again: waking from
    // a long sleep can take a few hundred microseconds (an idle processor, a
    // virtual machine's idle CPU), waking from a short one does not.
    if (left > 2 * kWarmUp) left -= kWarmUp;
    const auto wait = std::chrono::duration_cast<std::chrono::nanoseconds>(left);
    timeout.tv_sec = static_cast<time_t>(wait.count() / 1'000'000'000);
    timeout.tv_nsec = static_cast<long>(wait.count() % 1'000'000'000);
  }
  return ::ppoll(fds.data(), fds.size(), wake ? &timeout : nullptr, nullptr);
#else
  int timeoutMs = -1;
  if (wake) {
    // Rounded up: waking early would only mean another turn of the loop.
    const auto wait = std::chrono::ceil<std::chrono::milliseconds>(*wake - Clock::now()).count();
    timeoutMs = static_cast<int>(std::clamp<decltype(wait)>(wait, 0, INT_MAX));
  }
  return ::poll(fds.data(), static_cast<nfds_t>(fds.size()), timeoutMs);
#endif
}

}  // namespace

PtyServer::PtyServer(RadioProtocol& radio, ServerSettings settings, std::ostream& log)
    : m_radio(radio),
      m_settings(std::move(settings)),
      m_log(log),
      m_pacer(m_settings.paceBaud),
      m_started(Clock::now()) {}

PtyServer::~PtyServer() { closeAll(); }

void PtyServer::closeAll() {
  if (m_linkMade && linkPointsAt(m_settings.linkPath, m_linePath)) {
    std::error_code ignored;
    std::filesystem::remove(m_settings.linkPath, ignored);
  }
  m_linkMade = false;
  closeFd(m_lineWatch);
  closeFd(m_slave);
  closeFd(m_master);
}

std::string PtyServer::open() {
  m_master = ::posix_openpt(O_RDWR | O_NOCTTY);
  if (m_master < 0) return systemError("cannot open a pseudo-terminal");
  if (!setCloseOnExec(m_master) || ::grantpt(m_master) != 0 || ::unlockpt(m_master) != 0) {
    return systemError("cannot prepare the pseudo-terminal");
  }
  const char* name = ::ptsname(m_master);
  if (name == nullptr) return systemError("cannot name the pseudo-terminal");
  m_linePath = name;

  m_slave = ::open(m_linePath.c_str(), O_RDWR | O_NOCTTY | O_CLOEXEC);
  if (m_slave < 0) return systemError("cannot open " + m_linePath);
  // Raw: the line carries the frames' binary bytes unchanged and echoes nothing
  // itself; an echo is the cable's, which --echo plays.
  termios line{};
  if (::tcgetattr(m_slave, &line) != 0) return systemError("cannot read the line settings");
  ::cfmakeraw(&line);
  line.c_cflag |= CLOCAL | CREAD;
  line.c_cc[VMIN] = 1;
  line.c_cc[VTIME] = 0;
  ::cfsetispeed(&line, B9600);
  ::cfsetospeed(&line, B9600);
  if (::tcsetattr(m_slave, TCSANOW, &line) != 0) return systemError("cannot set raw mode");
  if (!setFlags(m_master, O_NONBLOCK)) return systemError("cannot make the line non-blocking");
#if defined(__linux__)
  // The system may let a timed wait run late by its timer slack (50 us unless
  // told otherwise), and every answer of a paced line ends with such a wait.
  if (m_pacer.paced()) ::prctl(PR_SET_TIMERSLACK, 1UL, 0UL, 0UL, 0UL);
#endif

#if defined(__linux__)
  m_lineWatch = ::inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
  if (m_lineWatch >= 0 &&
      ::inotify_add_watch(m_lineWatch, m_linePath.c_str(), IN_OPEN | IN_CLOSE) < 0) {
    closeFd(m_lineWatch);
  }
#endif
  if (m_lineWatch < 0 && m_settings.once) {
    m_log << "cps530-radiosim: cannot watch the host open and close the line; --once ends "
             "once the answer to the first END has left\n";
  }

  if (!m_settings.linkPath.empty()) {
    const auto& link = m_settings.linkPath;
    std::error_code ec;
    const auto status = std::filesystem::symlink_status(link, ec);
    if (std::filesystem::exists(status)) {
      if (!std::filesystem::is_symlink(status)) {
        return link.string() + " exists and is not a symbolic link; it is left alone";
      }
      std::filesystem::remove(link, ec);
      if (ec) return link.string() + ": cannot remove the old link: " + ec.message();
    }
    std::filesystem::create_symlink(m_linePath, link, ec);
    if (ec) return link.string() + ": cannot make the link: " + ec.message();
    m_linkMade = true;
  }
  return {};
}

std::string PtyServer::run(int stopFd) {
  std::string error;
  while (error.empty() && !m_finished) {
    auto now = Clock::now();
    error = writeDue(now);
    if (!error.empty()) break;
    if (m_finishWhenSent && m_out.empty()) break;

    std::optional<Clock::time_point> wake;
    if (!m_out.empty() && !m_outputBlocked) wake = m_out.front().at;
    if (m_radio.assemblingFrame()) {
      const auto quiet = m_lastHostBytes + kQuietLine;
      wake = wake ? std::min(*wake, quiet) : quiet;
    }
    std::array<pollfd, 3> fds{};
    fds[0] = {stopFd, POLLIN, 0};
    fds[1] = {m_master, static_cast<short>(POLLIN | (m_outputBlocked ? POLLOUT : 0)), 0};
    fds[2] = {m_lineWatch, POLLIN, 0};
    if (waitForLine(fds, wake) < 0) {
      if (errno == EINTR) continue;
      error = systemError("cannot wait for the line");
      break;
    }
    if (fds[0].revents != 0) {
      // Told to end: what the host wrote and did before that is heard first,
      // so that the log ends with everything that happened on the line.
      if (fds[2].revents != 0) error = handleLineEvents();
      if (error.empty()) error = readHost();
      break;
    }
    // Opens and closes first: a close hears what the host wrote before it.
    if (fds[2].revents != 0) error = handleLineEvents();
    if (!error.empty() || m_finished) break;
    if ((fds[1].revents & POLLOUT) != 0) m_outputBlocked = false;
    if ((fds[1].revents & POLLIN) != 0) {
      error = readHost();
    } else if ((fds[1].revents & (POLLHUP | POLLERR)) != 0) {
      error = "the pseudo-terminal hung up";
    }
    if (error.empty() && m_radio.assemblingFrame() &&
        Clock::now() >= m_lastHostBytes + kQuietLine) {
      deliver(m_radio.lineQuiet(), Clock::now(), false);
    }
  }
  if (!m_settings.savePath.empty()) save();
  closeAll();
  return error;
}

std::string PtyServer::readHost() {
  std::array<std::uint8_t, 4096> buffer{};
  for (;;) {
    const auto n = ::read(m_master, buffer.data(), buffer.size());
    if (n > 0) {
      const auto now = Clock::now();
      const auto count = static_cast<std::size_t>(n);
      m_lastHostBytes = now;
      m_pacer.hostBytes(now, count);
      deliver(m_radio.feed(std::span(buffer.data(), count)), now, true);
      continue;
    }
    if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) return {};
    if (n < 0 && errno == EINTR) continue;
    return n == 0 ? std::string("the line was closed") : systemError("cannot read the line");
  }
}

void PtyServer::deliver(const FeedResult& result, Clock::time_point now, bool paced) {
  for (const auto& line : result.log) logLine(line);
  if (result.transferEnded) {
    m_transferEnded = true;
    // On disk before the acknowledgement leaves, so a host that has its answer
    // finds the file written.
    if (!m_settings.savePath.empty()) save();
    if (m_settings.once && m_lineWatch < 0) m_finishWhenSent = true;
  }
  const bool timed = paced && m_pacer.paced();
  for (std::size_t i = 0; i < result.out.size(); ++i) {
    const auto after = result.outAfter[i];
    if (result.echoed[i]) {
      m_out.push_back({timed ? m_pacer.echoAt(after) : now, result.out[i]});
    } else {
      m_out.push_back({m_pacer.sendAt(timed ? m_pacer.arrivedAfter(after) : now), result.out[i]});
    }
  }
}

std::string PtyServer::writeDue(Clock::time_point now) {
  while (!m_out.empty() && !m_outputBlocked) {
    std::vector<std::uint8_t> due;
    for (const auto& out : m_out) {
      if (out.at > now) break;
      due.push_back(out.byte);
    }
    if (due.empty()) return {};
    const auto n = ::write(m_master, due.data(), due.size());
    if (n < 0) {
      if (errno == EINTR) continue;
      // The host is not reading and the line's buffer is full: wait until it drains.
      if (errno == EAGAIN || errno == EWOULDBLOCK) {
        m_outputBlocked = true;
        return {};
      }
      return systemError("cannot write the line");
    }
    m_out.erase(m_out.begin(), m_out.begin() + n);
    if (static_cast<std::size_t>(n) < due.size()) m_outputBlocked = true;
  }
  return {};
}

std::string PtyServer::handleLineEvents() {
#if defined(__linux__)
  alignas(inotify_event) std::array<char, 4096> buffer{};
  for (;;) {
    const auto n = ::read(m_lineWatch, buffer.data(), buffer.size());
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return {};
    for (std::size_t at = 0; at + sizeof(inotify_event) <= static_cast<std::size_t>(n);) {
      inotify_event event{};
      std::memcpy(&event, buffer.data() + at, sizeof event);
      at += sizeof event + event.len;
      if ((event.mask & IN_OPEN) != 0 && m_hostOpens++ == 0) {
        logLine("host opened the line");
      }
      if ((event.mask & IN_CLOSE) != 0 && m_hostOpens > 0 && --m_hostOpens == 0) {
        if (auto error = hostClosed(); !error.empty()) return error;
      }
      if ((event.mask & IN_Q_OVERFLOW) != 0) {
        logLine("lost track of the host opening and closing the line");
      }
      if ((event.mask & IN_IGNORED) != 0) return "the line " + m_linePath + " went away";
    }
  }
#else
  return {};
#endif
}

std::string PtyServer::hostClosed() {
  // What the host wrote before it closed is heard first: the end frame of a
  // failed transfer is sent just before the port closes.
  if (auto error = readHost(); !error.empty()) return error;
  logLine("host closed the line");
  if (m_settings.once && m_transferEnded) m_finished = true;
  return {};
}

void PtyServer::save() {
  const auto error = SaveMemory(m_settings.savePath, m_radio.memory());
  if (!error.empty()) {
    m_log << "cps530-radiosim: cannot save the memory: " << error << std::endl;
  } else if (m_settings.verbose) {
    logLine("memory saved to " + m_settings.savePath.string());
  }
}

void PtyServer::logLine(const std::string& line) {
  if (!m_settings.verbose) return;
  const auto elapsed =
      std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - m_started).count();
  std::array<char, 32> stamp{};
  std::snprintf(stamp.data(), stamp.size(), "[%6lld.%03lld] ",
                static_cast<long long>(elapsed / 1000), static_cast<long long>(elapsed % 1000));
  m_log << stamp.data() << line << '\n' << std::flush;
}

}  // namespace cps::radiosim
