// The desktop's answer to the core's questions: message boxes with the
// language texts, and the file dialogs for data files.
#pragma once

#include <functional>

#include "core/document/prompter.hpp"

class QWidget;

namespace cps::gui {

class AppContext;

class MessageBoxPrompter final : public Prompter {
 public:
  explicit MessageBoxPrompter(AppContext& context) : m_context(context) {}

  Answer ask(const Message& message) override;
  std::optional<std::string> chooseFile(const FileDialogRequest& request) override;
  std::optional<std::string> askPassword() override;
  ConfirmAnswer confirmChannelCommand(ConfirmMode mode) override;
  // The write question with the box "read the radio back after writing" under it.
  Answer confirmWrite(bool& verify) override;

  // The password dialog comes with the read and write sessions; until it is
  // set, a radio with a password cannot be programmed.
  void setPasswordDialog(std::function<std::optional<std::string>()> dialog) {
    m_passwordDialog = std::move(dialog);
  }

 private:
  QWidget* parentWindow() const;

  AppContext& m_context;
  std::function<std::optional<std::string>()> m_passwordDialog;
};

}  // namespace cps::gui
