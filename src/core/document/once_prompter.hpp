// One user action that runs a rule over many channels (a block paste, rows
// from a spreadsheet, a change to every selected channel) warns once for each
// kind of warning, not once per channel: the first answer stands for the rest.
#pragma once

#include <map>
#include <utility>

#include "core/document/prompter.hpp"

namespace cps {

class OncePerTextPrompter final : public Prompter {
 public:
  explicit OncePerTextPrompter(Prompter& shown) : m_shown(shown) {}

  Answer ask(const Message& message) override {
    const auto key = std::make_pair(message.textId, message.fixedText);
    if (const auto at = m_answers.find(key); at != m_answers.end()) return at->second;
    const Answer answer = m_shown.ask(message);
    m_answers.emplace(key, answer);
    return answer;
  }
  std::optional<std::string> chooseFile(const FileDialogRequest& request) override {
    return m_shown.chooseFile(request);
  }
  ConfirmAnswer confirmChannelCommand(ConfirmMode mode) override {
    return m_shown.confirmChannelCommand(mode);
  }

 private:
  Prompter& m_shown;
  std::map<std::pair<int, std::string>, Answer> m_answers;
};

}  // namespace cps
