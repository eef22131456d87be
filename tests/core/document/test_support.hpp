// Test doubles for the edges through which the document core talks to the user
// and to the open windows, and small builders for channels.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <deque>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/document/codec.hpp"
#include "core/document/prompter.hpp"
#include "core/document/records.hpp"

namespace cps::testing {

// Records every message it is asked to show and answers from a script; once
// the script is used up every further message is answered Ok.
class ScriptedPrompter final : public Prompter {
 public:
  std::vector<Message> asked;
  std::deque<Answer> script;

  Answer ask(const Message& message) override {
    asked.push_back(message);
    if (script.empty()) return Answer::Ok;
    const Answer answer = script.front();
    script.pop_front();
    return answer;
  }

  // Text 9021 with a warning icon: a frequency was put back into the band.
  int outOfBandWarnings() const {
    return static_cast<int>(std::count_if(asked.begin(), asked.end(), [](const Message& m) {
      return m.textId == 9021 && m.icon == Icon::Warning;
    }));
  }
  // The built-in report of a stored frequency that is not a number.
  int notNumericReports() const {
    return static_cast<int>(std::count_if(asked.begin(), asked.end(), [](const Message& m) {
      return m.textId == 0 && m.fixedText == "Not IsNumeric";
    }));
  }
  void clear() { asked.clear(); }

  // The password prompt answers from its own script; an empty script cancels.
  std::deque<std::string> passwords;
  int passwordPrompts = 0;
  std::optional<std::string> askPassword() override {
    ++passwordPrompts;
    if (passwords.empty()) return std::nullopt;
    std::string password = passwords.front();
    passwords.pop_front();
    return password;
  }

  // The paste and delete questions answer from their own script; an empty
  // script closes the window without an answer.
  std::deque<ConfirmAnswer> confirmAnswers;
  std::vector<ConfirmMode> confirmations;
  ConfirmAnswer confirmChannelCommand(ConfirmMode mode) override {
    confirmations.push_back(mode);
    if (confirmAnswers.empty()) return {};
    const ConfirmAnswer answer = confirmAnswers.front();
    confirmAnswers.pop_front();
    return answer;
  }

  // File dialogs answer from their own script; an empty script cancels.
  std::deque<std::string> paths;
  std::vector<FileDialogRequest> dialogs;
  std::optional<std::string> chooseFile(const FileDialogRequest& request) override {
    dialogs.push_back(request);
    if (paths.empty()) return std::nullopt;
    std::string path = paths.front();
    paths.pop_front();
    return path;
  }
};

// Records what the windows were asked to show again.
class RecordingObserver final : public DocumentObserver {
 public:
  std::vector<int> gridRedraws;   // channel numbers, in call order
  int dialogReloads = 0;          // following the table's cursor
  int dialogReloadsAtItsOwn = 0;  // at the dialog's own group and position
  int pageRedraws = 0;
  int refReshows = 0;
  int childWindowCloses = 0;
  int keyWindowRefreshes = 0;
  int memoryListRefreshes = 0;

  void reShowGrid(int channelNumber) override { gridRedraws.push_back(channelNumber); }
  void reloadEditDialog() override { ++dialogReloads; }
  void reloadEditDialogAtItsPosition() override { ++dialogReloadsAtItsOwn; }
  void reShowAllGrid() override { ++pageRedraws; }
  void ReshowByCh() override { ++refReshows; }
  void closeChildWindows() override { ++childWindowCloses; }
  void RefreshKeyWindow() override { ++keyWindowRefreshes; }
  void refreshDtmfMemoryLists() override { ++memoryListRefreshes; }
  void clear() {
    gridRedraws.clear();
    dialogReloads = 0;
    dialogReloadsAtItsOwn = 0;
    pageRedraws = 0;
    refReshows = 0;
    childWindowCloses = 0;
    keyWindowRefreshes = 0;
    memoryListRefreshes = 0;
  }
};

// Seven NUL characters: the offset of a channel that never had one.
inline FixedText<7> NulOffset() {
  FixedText<7> t;
  t.bytes.fill('\0');
  return t;
}

// A channel as a new one is made, with the given receive text (stored form),
// direction and offset digits.
inline ChannelRecord MakeChannel(int number, std::string_view rxStored, int direction = 0,
                                 std::string_view offset = {}) {
  ChannelRecord c;
  c.number = static_cast<std::int16_t>(number);
  c.rxFreq.assign(rxStored);
  c.offsetDirection = static_cast<std::uint8_t>(direction);
  if (offset.empty()) {
    c.offset = NulOffset();
  } else {
    c.offset.assign(offset);
  }
  c.power = 2;
  return c;
}

// A DTMF code of the given digits, as a memory or a special code holds it.
inline DtmfCodeRecord MakeDtmfCode(std::string_view digits) {
  DtmfCodeRecord code;
  code.length = static_cast<std::int16_t>(digits.size());
  code.digits.assign(digits);
  return code;
}

// Puts the channels into the list in the given order, replacing what was there.
inline void SetChannels(DocumentRecord& doc, const std::vector<ChannelRecord>& channels) {
  doc.channelCount = static_cast<std::int16_t>(channels.size());
  std::copy(channels.begin(), channels.end(), doc.channels.begin());
}

inline std::vector<int> ChannelNumbers(const DocumentRecord& doc) {
  std::vector<int> numbers;
  for (const auto& c : doc.usedChannels()) numbers.push_back(c.number);
  return numbers;
}

template <std::size_t N>
std::string Raw(const FixedText<N>& field) {
  return field.raw();
}

// The bytes of an image from `offset`, as a string, for readable comparisons.
template <std::size_t N>
std::string BytesAt(const std::array<std::uint8_t, N>& image, std::size_t offset,
                    std::size_t count) {
  std::string out;
  for (std::size_t i = 0; i < count; ++i) out.push_back(static_cast<char>(image.at(offset + i)));
  return out;
}

template <std::size_t N>
int I16At(const std::array<std::uint8_t, N>& image, std::size_t offset) {
  const auto lo = static_cast<unsigned>(image.at(offset));
  const auto hi = static_cast<unsigned>(image.at(offset + 1));
  return static_cast<std::int16_t>(static_cast<std::uint16_t>(lo | (hi << 8)));
}

}  // namespace cps::testing
