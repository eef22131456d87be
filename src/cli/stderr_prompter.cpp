#include "cli/stderr_prompter.hpp"

namespace cps::cli {

Answer StderrPrompter::ask(const Message& message) {
  ++m_warnings;
  m_err << "warning";
  if (message.textId != 0) m_err << " [" << message.textId << "]";
  if (!message.fixedText.empty()) m_err << ": " << message.fixedText;
  m_err << '\n';
  // Nothing on the command line can answer a question, so each takes its safe
  // answer: nothing is done that the user did not ask for on the command line.
  switch (message.buttons) {
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

}  // namespace cps::cli
