#include "cli/usage_error.hpp"

#include <CLI/CLI.hpp>
#include <optional>
#include <string_view>

#include "core/app/text_ids.hpp"
#include "core/document/failure.hpp"

namespace cps::cli {

namespace {

// The values of the options the parser checks, as a refusal lists them.
struct OptionValues {
  std::string_view option;
  std::string_view values;
};
constexpr OptionValues kOptionValues[] = {
    {"--lang", "en, zh"},
    {"--retries", "0, 1, 2, ..."},
};

std::string before(const std::string& text, std::string_view mark) {
  const auto at = text.find(mark);
  return at == std::string::npos ? std::string() : text.substr(0, at);
}

std::string after(const std::string& text, std::string_view mark) {
  const auto at = text.find(mark);
  return at == std::string::npos ? std::string() : text.substr(at + mark.size());
}

// The value last given to `option` ("--lang xx" or "--lang=xx").
std::string valueGiven(const std::vector<std::string>& args, const std::string& option) {
  std::string value;
  for (std::size_t i = 0; i < args.size(); ++i) {
    if (args[i] == option && i + 1 < args.size()) value = args[i + 1];
    if (args[i].starts_with(option + "=")) value = args[i].substr(option.size() + 1);
  }
  return value;
}

// The parser's words, read back into the text that says the same.
// The pairs of set and edit have their own words, missing or left unfinished.
std::optional<Failure> pairsFailure(const std::string& name) {
  if (name == "NAME_VALUE") return Failure{text::kCliGiveSettingValues, {}};
  if (name == "FIELD_VALUE") return Failure{text::kCliGiveFieldValues, {}};
  return std::nullopt;
}

Failure usageFailure(const CLI::ParseError& error, const CommandLine& line) {
  const std::string what = error.what();
  if (dynamic_cast<const CLI::RequiredError*>(&error) != nullptr) {
    const std::string name = before(what, " is required");
    if (auto pairs = pairsFailure(name)) return *pairs;
    if (name == "A subcommand") {
      const auto first = line.verbs.find_first_not_of(' ');
      return {text::kCliGiveVerb, {}, {first == std::string::npos ? "" : line.verbs.substr(first)}};
    }
    if (!name.empty() && name.find(' ') == std::string::npos) {
      return {text::kCliRequired, {}, {name}};
    }
  } else if (dynamic_cast<const CLI::ArgumentMismatch*>(&error) != nullptr) {
    // "--port: 1 required TEXT missing", "NAME_VALUE: At least 2 required but received 1"
    const std::string name = before(what, ":");
    if (auto pairs = pairsFailure(name)) return *pairs;
    if (!name.empty() && name.find(' ') == std::string::npos) {
      return {text::kCliNeedsValue, {}, {name}};
    }
  } else if (dynamic_cast<const CLI::ExtrasError*>(&error) != nullptr) {
    // The parser lists the extra words last first: the last is the first given.
    const std::string extras = after(what, "expected: ");
    const auto space = extras.rfind(' ');
    const std::string first = space == std::string::npos ? extras : extras.substr(space + 1);
    if (!first.empty()) {
      return {first.starts_with("-") ? text::kCliUnknownOption : text::kCliUnexpectedArgument,
              {},
              {first}};
    }
  } else if (dynamic_cast<const CLI::ValidationError*>(&error) != nullptr) {
    const std::string name = before(what, ":");
    for (const auto& known : kOptionValues) {
      if (name == known.option) {
        return {text::kSettingTakesItems,
                {},
                {name, valueGiven(line.args, name)},
                {Phrase{0, {std::string(known.values)}}}};
      }
    }
  } else if (dynamic_cast<const CLI::ConversionError*>(&error) != nullptr) {
    // "Could not convert: CHANNEL = abc"
    const std::string named = after(what, "Could not convert: ");
    const std::string name = before(named, " = ");
    if (!name.empty()) return {text::kTakesWholeNumber, {}, {name, after(named, " = ")}};
  }
  return {text::kCliCommandLineWrong, {}, {what}};
}

}  // namespace

std::string UsageErrorText(const CLI::ParseError& error, const CommandLine& line,
                           const Environment& env) {
  const auto textOf = [&env](int id) { return CliText(env, id); };
  Message help = TextMessage(text::kCliHelpHint);
  help.arguments = {line.verb.empty() ? std::string("cps530-cli") : "cps530-cli " + line.verb};
  return "cps530-cli: " + FailureText(usageFailure(error, line), textOf) + "\n" +
         MessageBody(help, textOf(help.textId)) + "\n";
}

}  // namespace cps::cli
