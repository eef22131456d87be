// cps530-radiosim: a virtual TW530/TW530G radio on a pseudo-terminal, for trying
// the programs without a radio, for tests and for benchmarks.
#include <fcntl.h>
#include <unistd.h>

#include <csignal>
#include <iostream>

#include "radiosim/pty_server.hpp"
#include "radiosim/radio_protocol.hpp"
#include "radiosim/sim_options.hpp"

namespace {

// The write end of the pipe that tells the serving loop a stop signal came:
// the one thing a signal handler may touch.
volatile std::sig_atomic_t gStopPipe = -1;

extern "C" void onStopSignal(int) {
  const int savedErrno = errno;
  const char byte = 1;
  [[maybe_unused]] const auto ignored = ::write(gStopPipe, &byte, 1);
  errno = savedErrno;
}

// SIGINT, SIGTERM and SIGHUP (the terminal went away) end the radio cleanly.
// Returns the read end of the stop pipe, -1 on failure.
int catchStopSignals() {
  int fds[2];
  if (::pipe(fds) != 0) return -1;
  for (const int fd : fds) {
    ::fcntl(fd, F_SETFD, FD_CLOEXEC);
    ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) | O_NONBLOCK);
  }
  gStopPipe = fds[1];
  struct sigaction action {};
  action.sa_handler = onStopSignal;
  sigemptyset(&action.sa_mask);
  sigset_t unblock;
  sigemptyset(&unblock);
  for (const int signal : {SIGINT, SIGTERM, SIGHUP}) {
    ::sigaction(signal, &action, nullptr);
    sigaddset(&unblock, signal);
  }
  // A program that blocks them for itself (the desktop program and its tests
  // read them from a descriptor) passes them on blocked; the radio still stops.
  ::sigprocmask(SIG_UNBLOCK, &unblock, nullptr);
  // A reader of the printed path that goes away must not end the radio.
  std::signal(SIGPIPE, SIG_IGN);
  return fds[0];
}

}  // namespace

int main(int argc, char** argv) {
  using namespace cps::radiosim;

  const auto commandLine = ParseCommandLine(argc, argv, std::cout, std::cerr);
  if (!commandLine.options) return commandLine.exitCode;
  const SimOptions& options = *commandLine.options;

  const auto start = StartingMemory(options);
  for (const auto& note : start.notes) std::cerr << "cps530-radiosim: " << note << '\n';
  if (!start.memory) {
    std::cerr << "cps530-radiosim: " << start.error << '\n';
    return kExitFailure;
  }

  const int stopFd = catchStopSignals();
  if (stopFd < 0) {
    std::cerr << "cps530-radiosim: cannot set up the stop signals\n";
    return kExitFailure;
  }

  RadioProtocol radio(*start.memory, ProtocolConfig{options.identity, options.echo, options.faults,
                                                    options.verbose});
  PtyServer server(radio,
                   ServerSettings{options.linkPath, options.savePath, options.once,
                                  options.paceBaud, options.verbose},
                   std::cerr);
  if (const auto error = server.open(); !error.empty()) {
    std::cerr << "cps530-radiosim: " << error << '\n';
    return kExitFailure;
  }
  std::cout << server.linePath() << std::endl;

  if (const auto error = server.run(stopFd); !error.empty()) {
    std::cerr << "cps530-radiosim: " << error << '\n';
    return kExitFailure;
  }
  return kExitOk;
}
