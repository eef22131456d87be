#include "cli/stderr_prompter.hpp"

#include <iostream>

#include "core/link/link_state.hpp"
#include "platform/stop_signals.hpp"

#if __has_include(<termios.h>)
#include <termios.h>
#include <unistd.h>
#define CPS_HAVE_TERMIOS 1
#endif
#if __has_include(<poll.h>)
#include <poll.h>

#include <cerrno>
#define CPS_HAVE_POLL 1
#endif

namespace cps::cli {

namespace {

constexpr int kRetryQuestion = text::kTransferFailedRetry;
constexpr int kBandQuestion = text::kBandDiffers;

Answer yesAnswer(Buttons buttons) {
  switch (buttons) {
    case Buttons::RetryCancel:
      return Answer::Retry;
    case Buttons::YesNo:
    case Buttons::YesNoCancel:
      return Answer::Yes;
    case Buttons::Ok:
    case Buttons::OkCancel:
      break;
  }
  return Answer::Ok;
}

const char* answerName(Answer answer) {
  switch (answer) {
    case Answer::Ok:
      return "OK";
    case Answer::Cancel:
      return "Cancel";
    case Answer::Yes:
      return "Yes";
    case Answer::No:
      return "No";
    case Answer::Retry:
      return "Retry";
  }
  return "";
}

}  // namespace

std::optional<Answer> StderrPrompter::decide(const Message& message) {
  if (message.textId == kRetryQuestion && m_answers.retries > 0) {
    --m_answers.retries;
    return yesAnswer(message.buttons);
  }
  if (message.textId == kBandQuestion && m_answers.yes) return yesAnswer(message.buttons);
  return std::nullopt;
}

bool StderrPrompter::readAnswer(std::string& line) {
#ifdef CPS_HAVE_POLL
  if (m_answers.stop != nullptr && m_answers.stop->descriptor() >= 0) {
    pollfd watched[2] = {{0, POLLIN, 0}, {m_answers.stop->descriptor(), POLLIN, 0}};
    for (;;) {
      if (m_answers.stop->takeNow() != 0) return false;
      // Interrupted by the signal itself: its byte is waiting now.
      if (::poll(watched, 2, -1) < 0 && errno != EINTR) break;
      if ((watched[1].revents & POLLIN) != 0) continue;
      if (watched[0].revents != 0) break;
    }
  }
#endif
  return static_cast<bool>(std::getline(std::cin, line));
}

bool StderrPrompter::askYesNo(const std::string& question) {
  m_err << question << " [y/N] " << std::flush;
  std::string line;
  if (!readAnswer(line)) return false;
  return !line.empty() && (line[0] == 'y' || line[0] == 'Y');
}

Answer StderrPrompter::ask(const Message& message) {
  std::string text =
      MessageBody(message, message.textId != 0 ? m_langText(message.textId) : std::string());
  // Line breaks inside a message would split it over several lines.
  for (auto& c : text) {
    if (c == '\r' || c == '\n') c = ' ';
  }
  if (message.buttons == Buttons::Ok) {
    m_err << "cps530-cli: " << text << '\n';
    return Answer::Ok;
  }
  Answer answer = SafeAnswer(message.buttons);
  if (const auto decided = decide(message)) {
    answer = *decided;
  } else if (m_answers.interactive &&
             (message.textId == kRetryQuestion || message.textId == kBandQuestion)) {
    return askYesNo("cps530-cli: " + text) ? yesAnswer(message.buttons) : answer;
  }
  m_err << "cps530-cli: question: " << text << " -> " << answerName(answer) << '\n';
  return answer;
}

std::optional<std::string> StderrPrompter::askPassword() {
  // A password from the flags is offered once; a wrong one ends the transfer.
  // It is taken as the password dialog takes what is typed.
  if (m_answers.password) {
    auto password = PasswordOfEntry(*m_answers.password);
    m_answers.password.reset();
    return password;
  }
  if (!m_answers.interactive) {
    m_err << "cps530-cli: the radio asks for its programming password (give --password)\n";
    return std::nullopt;
  }
  m_err << "cps530-cli: programming password: " << std::flush;
  std::string line;
#ifdef CPS_HAVE_TERMIOS
  termios old{};
  const bool tty = tcgetattr(STDIN_FILENO, &old) == 0;
  if (tty) {
    termios quiet = old;
    quiet.c_lflag &= ~static_cast<tcflag_t>(ECHO);
    tcsetattr(STDIN_FILENO, TCSANOW, &quiet);
  }
  const bool got = readAnswer(line);
  if (tty) tcsetattr(STDIN_FILENO, TCSANOW, &old);
#else
  const bool got = readAnswer(line);
#endif
  m_err << '\n';
  if (!got) return std::nullopt;
  if (!line.empty() && line.back() == '\r') line.pop_back();
  return PasswordOfEntry(line);
}

}  // namespace cps::cli
