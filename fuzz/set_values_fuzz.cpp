// Any value for any radio-wide setting, as `cps530-cli set NAME VALUE` takes
// it, in the English windows' words: a refused value changes nothing, and
// after any accepted one a setting shows a value that, given back, changes
// nothing any setting shows (what `get` prints, `set` takes unchanged).
#include <fuzzer/FuzzedDataProvider.h>

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <optional>
#include <string>

#include "core/app/ini_file.hpp"
#include "core/app/text_table.hpp"
#include "core/document/channel_list.hpp"
#include "core/document/codec.hpp"
#include "core/document/defaults.hpp"
#include "core/document/edit_history.hpp"
#include "core/document/failure.hpp"
#include "core/run_state.hpp"
#include "core/settings/setting_fields.hpp"
#include "core/settings/setting_values.hpp"
#include "fuzz_support.hpp"

namespace {

void check(bool holds, const char* what) {
  if (!holds) cps::fuzz::Fail("set values", what);
}

class QuietPrompter final : public cps::Prompter {
 public:
  cps::Answer ask(const cps::Message&) override { return cps::Answer::Ok; }
  std::optional<std::string> chooseFile(const cps::FileDialogRequest&) override {
    return std::nullopt;
  }
};

// The English language file of the installation, read once.
const cps::IniText& english() {
  static const cps::IniText text = [] {
    const auto file = cps::fuzz::ReadBytes(std::filesystem::path(CPS_SOURCE_DATA_DIR) / "language" /
                                           "english.ini");
    if (file.empty()) cps::fuzz::Fail("set values", "the English language file is missing");
    return cps::IniText(std::string(file.begin(), file.end()));
  }();
  return text;
}

std::string englishText(int id) {
  return cps::ProfileString(english(), cps::SectionOfTextId(id), std::to_string(id), "",
                            cps::kTextBuffer);
}

bool sameDocument(const cps::RunState& a, const cps::RunState& b) {
  return a.workingDocument == b.workingDocument && a.workingSide == b.workingSide;
}

// The same to the user: every setting shows the same value.
bool sameSettings(const cps::RunState& a, const cps::RunState& b,
                  const std::vector<const cps::SettingField*>& fields, const cps::TextOf& textOf,
                  cps::Prompter& prompter) {
  for (const auto* field : fields) {
    const cps::CodecContext codecA{a.model.limits, prompter};
    const cps::CodecContext codecB{b.model.limits, prompter};
    if (cps::SettingValueText(a.workingDocument, a.workingSide, *field, codecA, textOf) !=
        cps::SettingValueText(b.workingDocument, b.workingSide, *field, codecB, textOf)) {
      return false;
    }
  }
  return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  FuzzedDataProvider input(data, size);
  static const auto fields = cps::AllSettingFields();
  const cps::TextOf textOf = englishText;
  QuietPrompter prompter;
  cps::NullObserver observer;
  const cps::Effects effects{prompter, observer};

  // A new document, as every settings window shows it once opened.
  cps::RunState state;
  state.model.select("TW530G", "400 - 480 MHz");
  cps::ApplyDocumentDefaults(state, cps::Today{"2026-12-10", 12});
  cps::StoreShownOnOpeningEverywhere(state, effects);

  for (int step = 0; step < 4 && input.remaining_bytes() > 0; ++step) {
    const auto* field = fields[input.ConsumeIntegralInRange<std::size_t>(0, fields.size() - 1)];
    const std::string value = input.ConsumeRandomLengthString(40);
    const cps::RunState before = state;
    const auto outcome = cps::SetSettingFromText(state, effects, *field, value, textOf);
    if (outcome.status == cps::EditStatus::Refused) {
      check(sameDocument(state, before), "a refused value changed the document");
      check(!cps::FailureText(outcome.failure, englishText).empty(),
            "a value was refused without a reason");
      continue;
    }
    // The setting just set, and a few others the input names, print a value
    // that, given back, changes no byte.
    state.history = cps::EditHistory{};
    std::vector<const cps::SettingField*> shownFields{field};
    for (int i = 0; i < 4 && input.remaining_bytes() > 0; ++i) {
      shownFields.push_back(
          fields[input.ConsumeIntegralInRange<std::size_t>(0, fields.size() - 1)]);
    }
    for (const auto* shownField : shownFields) {
      const cps::CodecContext codec{state.model.limits, prompter};
      const std::string shown = cps::SettingValueText(state.workingDocument, state.workingSide,
                                                      *shownField, codec, textOf);
      cps::RunState again = state;
      const auto back = cps::SetSettingFromText(again, effects, *shownField, shown, textOf);
      if (back.status == cps::EditStatus::Refused || !sameDocument(again, state) ||
          !sameSettings(again, state, fields, textOf, prompter)) {
        std::fprintf(stderr, "set values: %s shows \"%s\" after %s \"%s\"\n",
                     std::string(shownField->name).c_str(), shown.c_str(),
                     std::string(field->name).c_str(), value.c_str());
        cps::fuzz::Fail("set values", "a value a setting shows is not taken back unchanged");
      }
    }
  }
  return 0;
}
