// The one shape in which the core reports what went wrong: the language text
// the user is shown with what its marks stand for, and a detail that names the
// file, field or value for the command line and for logs.
#pragma once

#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "core/document/prompter.hpp"

namespace cps {

// A part of a longer text: a language text with what its %1, %2, ... stand
// for ("%1 to %2 in steps of %3"), or, with no text, its one argument as it is
// (a list item's word).
struct Phrase {
  int textId = 0;
  std::vector<std::string> arguments;
};

struct Failure {
  Failure() = default;
  Failure(int id, std::string what, std::vector<std::string> marks = {},
          std::vector<Phrase> instead = {})
      : textId(id),
        detail(std::move(what)),
        arguments(std::move(marks)),
        choices(std::move(instead)) {}

  int textId = 0;      // 0: no text of its own (the detail says it all)
  std::string detail;  // what the text leaves unsaid; without a text, all there is
  // What %1, %2, ... of the text stand for: a setting's name, the value given.
  std::vector<std::string> arguments;
  // What would have been taken instead: joined by ", ", these stand for the
  // mark after the arguments.
  std::vector<Phrase> choices;

  bool failed() const { return textId != 0 || !detail.empty(); }
};

// Phrases in the words of one language (`textOf` gives its texts), joined by ", ".
inline std::string PhrasesText(const std::vector<Phrase>& phrases,
                               const std::function<std::string(int)>& textOf) {
  std::string joined;
  for (const Phrase& phrase : phrases) {
    if (!joined.empty()) joined += ", ";
    if (phrase.textId == 0) {
      if (!phrase.arguments.empty()) joined += phrase.arguments.front();
      continue;
    }
    Message part = TextMessage(phrase.textId);
    part.arguments = phrase.arguments;
    joined += MessageBody(part, textOf(phrase.textId));
  }
  return joined;
}

// A failure in the words of one language: the text with its arguments and
// choices in their places, then the detail; the detail alone where there is
// no text.
inline std::string FailureText(const Failure& failure,
                               const std::function<std::string(int)>& textOf) {
  if (failure.textId == 0) return failure.detail;
  Message message = TextMessage(failure.textId);
  message.arguments = failure.arguments;
  if (!failure.choices.empty()) message.arguments.push_back(PhrasesText(failure.choices, textOf));
  std::string text = MessageBody(message, textOf(failure.textId));
  if (!failure.detail.empty()) text += ": " + failure.detail;
  return text;
}

}  // namespace cps
