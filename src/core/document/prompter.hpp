// The edges through which core rules speak to the user and to the open windows.
// The desktop application answers with message boxes and redraws, the command
// line with stderr and flags, tests with scripts. Core code never shows anything.
#pragma once

#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "core/app/text_ids.hpp"

namespace cps {

// Built-in developer texts that have no number in the language files.
inline constexpr const char* kNotNumericText = "Not IsNumeric";

enum class Buttons { Ok, OkCancel, YesNo, YesNoCancel, RetryCancel };
enum class Icon { None, Information, Warning, Question, Critical };
enum class Answer { Ok, Cancel, Yes, No, Retry };

struct Message {
  int textId = 0;         // the language text to show; 0 when fixedText is shown instead
  std::string fixedText;  // a built-in text, or text placed before the language text
  Buttons buttons = Buttons::Ok;
  Icon icon = Icon::None;
  int titleTextId = 0;  // 0: the application title
  // What "%1", "%2", ... of the language text stand for (a device, a group).
  std::vector<std::string> arguments;
};

// The text a message shows: its fixed text, then its language text (as
// `languageText` gives it) with the arguments in their places.
inline std::string MessageBody(const Message& message, std::string languageText) {
  for (std::size_t i = message.arguments.size(); i > 0; --i) {
    // From the last, so that "%1" is not taken for the start of "%10".
    const std::string mark = "%" + std::to_string(i);
    for (auto at = languageText.find(mark); at != std::string::npos;
         at = languageText.find(mark, at + message.arguments[i - 1].size())) {
      languageText.replace(at, mark.size(), message.arguments[i - 1]);
    }
  }
  return message.fixedText + languageText;
}

// The answer that does nothing nobody asked for: Ok where Ok is all there is,
// No to a yes-or-no question, Cancel otherwise. Front ends that answer
// without a person (the command line, several radios at once) give it.
inline Answer SafeAnswer(Buttons buttons) {
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

inline Message TextMessage(int textId, Buttons buttons = Buttons::Ok, Icon icon = Icon::None) {
  Message m;
  m.textId = textId;
  m.buttons = buttons;
  m.icon = icon;
  return m;
}

inline Message FixedMessage(std::string text, Buttons buttons = Buttons::Ok,
                            Icon icon = Icon::None) {
  Message m;
  m.fixedText = std::move(text);
  m.buttons = buttons;
  m.icon = icon;
  return m;
}

// A file dialog for data files (filter: text 9001 and "*.dat") or channel
// lists (text 29500 and "*.csv").
struct FileDialogRequest {
  enum class Kind { Open, Save };
  Kind kind = Kind::Open;
  std::string initialPath;  // the file name the save dialog starts with
  // The dialog's filter: the data files unless another kind is asked for.
  int filterTextId = text::kDataFileFilter;
  std::string pattern = "*.dat";
};

// The question a channel command asks before it pastes or deletes, unless the
// habits say not to ask; the desktop shows it with a "do not ask again" box.
enum class ConfirmMode { Paste = 1, Delete = 2 };
enum class ConfirmResult {
  Closed = 0,  // the window was closed without an answer
  Yes = 1,     // paste inserts; delete closes the gap
  No = 2,      // paste overwrites; delete only clears the position
};
struct ConfirmAnswer {
  ConfirmResult result = ConfirmResult::Closed;
  bool dontAskAgain = false;  // the "do not ask again" box was ticked
};

class Prompter {
 public:
  virtual ~Prompter() = default;
  virtual Answer ask(const Message& message) = 0;
  // The chosen path; empty when the user cancelled.
  virtual std::optional<std::string> chooseFile(const FileDialogRequest& request) = 0;
  // The radio's programming password (up to four characters, masked); empty
  // when the user cancelled. Only the radio link asks for it.
  virtual std::optional<std::string> askPassword() { return std::nullopt; }
  // How Paste or Delete goes on. A front end without the question leaves the
  // habits as they are.
  virtual ConfirmAnswer confirmChannelCommand(ConfirmMode) { return {}; }
  // The question before a write (text 9005), with a box that has the radio
  // read back and compared after the write: `verify` is the box as it starts,
  // and as the user left it. A front end without the box asks the question alone.
  virtual Answer confirmWrite(bool& verify) {
    (void)verify;
    return ask(TextMessage(text::kConfirmWrite, Buttons::OkCancel, Icon::Question));
  }
};

// What the open windows are asked to show again after the document changed.
class DocumentObserver {
 public:
  virtual ~DocumentObserver() = default;
  // The channel table redraws one channel's row (it is open when asked).
  virtual void reShowGrid(int channelNumber) = 0;
  // The channel edit dialog reloads its fields from the document (it is open
  // when asked), following the table's cursor.
  virtual void reloadEditDialog() = 0;
  // The channel table redraws every position of the page it shows (it is open
  // when asked): a command moved channels from one position to another.
  virtual void reShowAllGrid() {}
  // The channel edit dialog reloads the group and position its own lists
  // show, rather than following the table's cursor (it is open when asked).
  virtual void reloadEditDialogAtItsPosition() { reloadEditDialog(); }
  // Open alert and scan windows show their channel references again.
  virtual void ReshowByCh() = 0;
  // Every editor window closes (committing what it holds) before the document is replaced.
  virtual void closeChildWindows() = 0;
  // An open key window shows its four key functions again: the scan mode
  // changed, and switching scanning off takes the scan function off the keys.
  virtual void RefreshKeyWindow() {}
  // The lists that offer the DTMF auto-dial memories are built again: the
  // channel dialog's two auto-dial lists and the alert window's identification
  // code list. A memory was defined, changed or cleared.
  virtual void refreshDtmfMemoryLists() {}
};

// For callers with no windows: every request is dropped.
class NullObserver final : public DocumentObserver {
 public:
  void reShowGrid(int) override {}
  void reloadEditDialog() override {}
  void ReshowByCh() override {}
  void closeChildWindows() override {}
};

}  // namespace cps
