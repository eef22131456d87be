// The command line's answer to the core's messages and questions: each one is
// one line on stderr, and a question takes its safe answer.
#pragma once

#include <functional>
#include <ostream>
#include <string>

#include "core/document/prompter.hpp"

namespace cps::cli {

class StderrPrompter final : public Prompter {
 public:
  StderrPrompter(std::ostream& err, std::function<std::string(int)> langText)
      : m_err(err), m_langText(std::move(langText)) {}
  Answer ask(const Message& message) override;
  // No dialog on the command line: paths come as arguments.
  std::optional<std::string> chooseFile(const FileDialogRequest&) override { return std::nullopt; }

 private:
  std::ostream& m_err;
  std::function<std::string(int)> m_langText;
};

}  // namespace cps::cli
