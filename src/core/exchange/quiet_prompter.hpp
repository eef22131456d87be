// A prompter for rules run on a trial copy, or on values already proven: it
// shows nothing, answers every question with its first button, and remembers
// which texts the rules wanted to show.
#pragma once

#include <vector>

#include "core/document/prompter.hpp"

namespace cps {

class QuietPrompter final : public Prompter {
 public:
  Answer ask(const Message& message) override {
    shown.push_back(message.textId);
    return message.buttons == Buttons::YesNo || message.buttons == Buttons::YesNoCancel
               ? Answer::Yes
               : Answer::Ok;
  }
  std::optional<std::string> chooseFile(const FileDialogRequest&) override { return std::nullopt; }

  std::vector<int> shown;
};

}  // namespace cps
