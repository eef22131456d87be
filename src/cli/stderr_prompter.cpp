#include "cli/stderr_prompter.hpp"

namespace cps::cli {

namespace {

// Nothing on the command line can answer a question, so each takes its safe
// answer: nothing is done that the command line did not ask for.
Answer safeAnswer(Buttons buttons) {
  switch (buttons) {
    case Buttons::Ok:
      return Answer::Ok;
    case Buttons::YesNo:
      return Answer::No;
    case Buttons::OkCancel:
    case Buttons::YesNoCancel:
    case Buttons::RetryCancel:
      break;
  }
  return Answer::Cancel;
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

Answer StderrPrompter::ask(const Message& message) {
  const Answer answer = safeAnswer(message.buttons);
  std::string text = message.fixedText;
  if (message.textId != 0) text += m_langText(message.textId);
  // Line breaks inside a message would split it over several lines.
  for (auto& c : text) {
    if (c == '\r' || c == '\n') c = ' ';
  }
  m_err << "cps530-cli: " << (message.buttons == Buttons::Ok ? "" : "question: ") << text;
  if (message.textId != 0) m_err << " [" << message.textId << "]";
  if (message.buttons != Buttons::Ok) m_err << " -> " << answerName(answer);
  m_err << '\n';
  return answer;
}

}  // namespace cps::cli
