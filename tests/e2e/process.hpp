// Starting the programs under test: the virtual radio in the background, the
// command line to its end, with their output captured.
#pragma once

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <stdexcept>
#include <string>
#include <vector>

extern char** environ;

namespace cps::e2e {

struct Finished {
  int status = -1;  // exit status; -1 when it did not end in time
  std::string out;
  std::string err;
};

class Process {
 public:
  explicit Process(const std::vector<std::string>& argv) {
    int out[2];
    int err[2];
    if (pipe(out) != 0 || pipe(err) != 0) throw std::runtime_error("pipe");
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, out[1], 1);
    posix_spawn_file_actions_adddup2(&actions, err[1], 2);
    posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_addclose(&actions, out[0]);
    posix_spawn_file_actions_addclose(&actions, err[0]);
    std::vector<char*> args;
    for (const auto& a : argv) args.push_back(const_cast<char*>(a.c_str()));
    args.push_back(nullptr);
    if (posix_spawn(&m_pid, args[0], &actions, nullptr, args.data(), environ) != 0) {
      throw std::runtime_error("cannot start " + argv[0]);
    }
    posix_spawn_file_actions_destroy(&actions);
    close(out[1]);
    close(err[1]);
    m_out = out[0];
    m_err = err[0];
  }
  Process(const Process&) = delete;
  Process& operator=(const Process&) = delete;
  ~Process() {
    if (m_pid > 0) {
      kill(m_pid, SIGKILL);
      waitpid(m_pid, nullptr, 0);
    }
    close(m_out);
    close(m_err);
  }

  // One line of standard output, waiting up to `timeout`.
  std::string readLine(std::chrono::milliseconds timeout) {
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    while (true) {
      if (const auto nl = m_outText.find('\n'); nl != std::string::npos) {
        std::string line = m_outText.substr(0, nl);
        m_outText.erase(0, nl + 1);
        return line;
      }
      const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
          deadline - std::chrono::steady_clock::now());
      if (left.count() <= 0 || !pump(static_cast<int>(left.count()))) return {};
    }
  }

  // Waits for the end, reading all output; kills the process after `timeout`.
  Finished wait(std::chrono::milliseconds timeout) {
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    while (std::chrono::steady_clock::now() < deadline) {
      pump(50);
      int status = 0;
      const pid_t done = waitpid(m_pid, &status, WNOHANG);
      if (done == m_pid) {
        m_pid = -1;
        while (pump(0)) {
        }
        return {WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status), m_outText,
                m_errText};
      }
    }
    return {-1, m_outText, m_errText};
  }

  void terminate() { sendSignal(SIGTERM); }
  void sendSignal(int number) {
    if (m_pid > 0) kill(m_pid, number);
  }

 private:
  // Reads what is available; false when nothing came within `ms`.
  bool pump(int ms) {
    pollfd fds[2] = {{m_out, POLLIN, 0}, {m_err, POLLIN, 0}};
    if (poll(fds, 2, ms) <= 0) return false;
    bool any = false;
    char buffer[4096];
    for (int i = 0; i < 2; ++i) {
      if ((fds[i].revents & (POLLIN | POLLHUP)) == 0) continue;
      const ssize_t n = read(fds[i].fd, buffer, sizeof buffer);
      if (n > 0) {
        (i == 0 ? m_outText : m_errText).append(buffer, static_cast<std::size_t>(n));
        any = true;
      }
    }
    return any;
  }

  pid_t m_pid = -1;
  int m_out = -1;
  int m_err = -1;
  std::string m_outText;
  std::string m_errText;
};

}  // namespace cps::e2e
