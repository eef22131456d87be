// A prompter that answers from a script, for widget tests: every question the
// test expects is queued with its answer; anything else is recorded as
// unexpected and answered with the cautious answer, so no test waits on a
// dialog and no test passes while a question went unnoticed.
#pragma once

#include <deque>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "core/document/prompter.hpp"

namespace cps::gui::test {

class ScriptedPrompter final : public Prompter {
 public:
  // Expects message `textId` (or the fixed text when textId is 0) next.
  void expect(int textId, Answer answer) { m_answers.push_back({textId, {}, answer}); }
  void expectFixed(std::string text, Answer answer) {
    m_answers.push_back({0, std::move(text), answer});
  }
  // Expects a file dialog next; nullopt cancels it.
  void expectFile(std::optional<std::string> path) { m_files.push_back(std::move(path)); }
  void expectPassword(std::optional<std::string> password) {
    m_passwords.push_back(std::move(password));
  }

  Answer ask(const Message& message) override {
    asked.push_back(message);
    if (m_answers.empty()) {
      unexpected.push_back(describe(message));
      return cautious(message.buttons);
    }
    const Scripted next = m_answers.front();
    m_answers.pop_front();
    if (next.textId != message.textId ||
        (next.textId == 0 && message.fixedText.find(next.fixedText) == std::string::npos)) {
      unexpected.push_back(describe(message) + " (expected " + std::to_string(next.textId) +
                           (next.fixedText.empty() ? "" : " " + next.fixedText) + ")");
      return cautious(message.buttons);
    }
    return next.answer;
  }

  std::optional<std::string> chooseFile(const FileDialogRequest& request) override {
    fileRequests.push_back(request);
    if (m_files.empty()) {
      unexpected.push_back("file dialog");
      return std::nullopt;
    }
    auto path = m_files.front();
    m_files.pop_front();
    return path;
  }

  std::optional<std::string> askPassword() override {
    if (m_passwords.empty()) {
      unexpected.push_back("password dialog");
      return std::nullopt;
    }
    auto password = m_passwords.front();
    m_passwords.pop_front();
    return password;
  }

  // Expects the paste or delete question next.
  void expectConfirm(ConfirmMode mode, ConfirmAnswer answer) {
    m_confirms.push_back({mode, answer});
  }
  ConfirmAnswer confirmChannelCommand(ConfirmMode mode) override {
    if (m_confirms.empty() || m_confirms.front().first != mode) {
      unexpected.push_back(mode == ConfirmMode::Paste ? "paste question" : "delete question");
      return {};
    }
    const ConfirmAnswer answer = m_confirms.front().second;
    m_confirms.pop_front();
    return answer;
  }

  // The write question asks as any question does (expect 9005); its box of the
  // check after the write is recorded as offered, and left as the script says
  // (none: as offered).
  Answer confirmWrite(bool& verify) override {
    verifyOffered.push_back(verify);
    const Answer answer =
        ask(TextMessage(cps::text::kConfirmWrite, Buttons::OkCancel, Icon::Question));
    if (verifyChoice) verify = *verifyChoice;
    return answer;
  }
  std::vector<bool> verifyOffered;
  std::optional<bool> verifyChoice;

  // Questions scripted but never asked.
  std::size_t pending() const {
    return m_answers.size() + m_files.size() + m_passwords.size() + m_confirms.size();
  }
  std::vector<int> askedIds() const {
    std::vector<int> ids;
    for (const auto& m : asked) ids.push_back(m.textId);
    return ids;
  }

  // What was asked and not expected, for a failure message.
  std::string unexpectedText() const {
    std::string text;
    for (const auto& question : unexpected) text += question + "; ";
    return text;
  }

  std::vector<Message> asked;
  std::vector<FileDialogRequest> fileRequests;
  std::vector<std::string> unexpected;

 private:
  struct Scripted {
    int textId;
    std::string fixedText;
    Answer answer;
  };
  static std::string describe(const Message& m) {
    return m.textId != 0 ? "message " + std::to_string(m.textId)
                         : "message \"" + m.fixedText + "\"";
  }
  static Answer cautious(Buttons buttons) {
    switch (buttons) {
      case Buttons::Ok:
        return Answer::Ok;
      case Buttons::YesNo:
        return Answer::No;
      default:
        return Answer::Cancel;
    }
  }

  std::deque<Scripted> m_answers;
  std::deque<std::optional<std::string>> m_files;
  std::deque<std::optional<std::string>> m_passwords;
  std::deque<std::pair<ConfirmMode, ConfirmAnswer>> m_confirms;
};

}  // namespace cps::gui::test
