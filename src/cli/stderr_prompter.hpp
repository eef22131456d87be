// The command line's answer to the core's messages and questions: each message
// is one line on stderr; a question is asked on the terminal when there is one
// and the flags allow it, otherwise it takes the answer the flags chose, or its
// safe answer.
#pragma once

#include <functional>
#include <optional>
#include <ostream>
#include <string>

#include "core/document/prompter.hpp"

namespace cps {
class StopSignals;
}

namespace cps::cli {

struct PromptAnswers {
  bool yes = false;                     // OK to the band question of a write
  int retries = 0;                      // automatic OKs to "the transfer failed, try again?"
  std::optional<std::string> password;  // the radio's programming password
  bool interactive = false;             // a person sits at the terminal
  // Ctrl+C (or another stop signal) while a question waits for its answer
  // stops the transfer; none: the question waits for its line.
  StopSignals* stop = nullptr;
};

class StderrPrompter final : public Prompter {
 public:
  StderrPrompter(std::ostream& err, std::function<std::string(int)> langText,
                 PromptAnswers answers = {})
      : m_err(err), m_langText(std::move(langText)), m_answers(std::move(answers)) {}
  Answer ask(const Message& message) override;
  // No dialog on the command line: paths come as arguments.
  std::optional<std::string> chooseFile(const FileDialogRequest&) override { return std::nullopt; }
  std::optional<std::string> askPassword() override;

 private:
  std::optional<Answer> decide(const Message& message);
  bool askYesNo(const std::string& question);
  // A line typed in answer; none at the end of input or when the user stops
  // the transfer while the question waits.
  bool readAnswer(std::string& line);

  std::ostream& m_err;
  std::function<std::string(int)> m_langText;
  PromptAnswers m_answers;
};

}  // namespace cps::cli
