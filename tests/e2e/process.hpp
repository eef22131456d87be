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
  // `withInput`: standard input is a pipe the test writes to; else /dev/null.
  explicit Process(const std::vector<std::string>& argv, bool withInput = false) {
    int out[2];
    int err[2];
    int in[2] = {-1, -1};
    // Not inherited by other programs started later: a pipe's end kept open
    // in another child would keep its reader from ever seeing the end.
    if (pipe2(out, O_CLOEXEC) != 0 || pipe2(err, O_CLOEXEC) != 0) {
      throw std::runtime_error("pipe");
    }
    if (withInput && pipe2(in, O_CLOEXEC) != 0) throw std::runtime_error("pipe");
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, out[1], 1);
    posix_spawn_file_actions_adddup2(&actions, err[1], 2);
    if (withInput) {
      posix_spawn_file_actions_adddup2(&actions, in[0], 0);
      posix_spawn_file_actions_addclose(&actions, in[1]);
    } else {
      posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
    }
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
    if (withInput) {
      close(in[0]);
      m_in = in[1];
    }
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
    closeInput();
    close(m_out);
    close(m_err);
  }

  // Types on the program's standard input.
  void type(const std::string& text) {
    if (m_in >= 0 && write(m_in, text.data(), text.size()) < 0) m_in = -1;
  }
  // The end of input, as Ctrl+D gives it.
  void closeInput() {
    if (m_in >= 0) close(m_in);
    m_in = -1;
  }

  // Waits until the standard error output holds `text` at least `times` times.
  bool waitForErr(const std::string& text, std::size_t times, std::chrono::milliseconds timeout) {
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    while (true) {
      std::size_t found = 0;
      for (auto at = m_errText.find(text); at != std::string::npos;
           at = m_errText.find(text, at + 1)) {
        ++found;
      }
      if (found >= times) return true;
      const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
          deadline - std::chrono::steady_clock::now());
      if (left.count() <= 0) return false;
      pump(static_cast<int>(std::min<long long>(left.count(), 50)));
    }
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
  int m_in = -1;
  int m_out = -1;
  int m_err = -1;
  std::string m_outText;
  std::string m_errText;
};

}  // namespace cps::e2e
