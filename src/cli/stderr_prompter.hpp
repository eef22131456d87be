// The command line's answer to the core's warnings and questions: each one is
// one line on stderr, and a question takes the answer the flags chose.
#pragma once

#include <ostream>

#include "core/document/prompter.hpp"

namespace cps::cli {

class StderrPrompter final : public Prompter {
 public:
  explicit StderrPrompter(std::ostream& err) : m_err(err) {}
  Answer ask(const Message& message) override;
  // No dialog on the command line: paths come as arguments.
  std::optional<std::string> chooseFile(const FileDialogRequest&) override { return std::nullopt; }
  int warnings() const { return m_warnings; }

 private:
  std::ostream& m_err;
  int m_warnings = 0;
};

}  // namespace cps::cli
