// SetSetting, the one way a radio-wide setting changes, with the side rules
// that tie the settings windows together, and what a window stores as it opens.
#include <algorithm>

#include "core/document/codec.hpp"
#include "core/document/edit_history.hpp"
#include "core/run_state.hpp"
#include "core/settings/setting_fields.hpp"
#include "core/settings/setting_rows.hpp"

namespace cps {

namespace {

// The key function that starts scanning: it has no meaning while scanning is off.
constexpr int kScanKeyFunction = 8;

const SettingField& fieldNamed(std::string_view name) { return *FindSettingField(name); }

const SettingField* fieldAt(SettingSlot slot) {
  for (const SettingField* field : AllSettingFields()) {
    if (field->slot.block == slot.block && field->slot.index == slot.index) return field;
  }
  return nullptr;
}

bool scanningOff(const RunState& state) {
  const SettingField& mode = fieldNamed("scan.mode");
  return ItemOfStored(state.workingDocument, mode, StoredSetting(state, mode)) == 0;
}

// A list whose items depend on another field stores what it now shows: the
// stored value when the list still offers it, else its first item, else 0.
void storeShownValue(RunState& state, const SettingField& field) {
  const auto& doc = state.workingDocument;
  const int stored = StoredSetting(state, field);
  const int shown = StoredOfItem(doc, field, ItemOfStored(doc, field, stored));
  if (shown != stored) {
    rows::WriteStoredSetting(state.workingDocument, state.workingSide, field, shown);
  }
}

void applySideRule(RunState& state, const Effects& effects, const SettingField& field, int stored) {
  switch (field.side) {
    case SideRule::None:
    case SideRule::KeyFunction:
      break;
    case SideRule::ScanMode:
      if (stored == 0) {
        for (const auto& key : KeyFields()) {
          if (key.side == SideRule::KeyFunction && StoredSetting(state, key) == kScanKeyFunction) {
            rows::WriteStoredSetting(state.workingDocument, state.workingSide, key, 0);
          }
        }
      }
      effects.observer.RefreshKeyWindow();
      break;
    case SideRule::PriorityMode:
      storeShownValue(state, fieldNamed("scan.revert"));
      break;
    case SideRule::ChannelGroup:
      // The position is the byte after the group: it moves to the stored
      // position in the new group, or to the group's first channel.
      if (const SettingField* position =
              fieldAt({field.slot.block, static_cast<std::uint8_t>(field.slot.index + 1)})) {
        storeShownValue(state, *position);
      }
      break;
    case SideRule::IdentificationType:
      storeShownValue(state, fieldNamed("alert.id-code"));
      break;
    case SideRule::DtmfMemory:
      // An identification memory that is no longer defined would be sent
      // empty; it follows the alert window's list.
      storeShownValue(state, fieldNamed("alert.id-code"));
      effects.observer.refreshDtmfMemoryLists();
      break;
  }
}

// A refusal that names the field, and the value where the text has a place for it.
EditOutcome refusedFor(int textId, const SettingField& field, std::vector<std::string> more = {}) {
  std::vector<std::string> arguments{std::string(field.name)};
  arguments.insert(arguments.end(), more.begin(), more.end());
  return RefusedEdit(Failure{textId, {}, std::move(arguments), {}});
}

// ---- The stored forms of the text fields -----------------------------------

// The box text as the code stores it: up to its NUL, without trailing blanks.
std::string codeText(std::string_view text) {
  text = text.substr(0, text.find('\0'));
  while (!text.empty() && text.back() == ' ') text.remove_suffix(1);
  return std::string(text);
}

// Characters as the box takes them (a–d become A–D in a code), or empty when
// the text holds one the field cannot.
std::optional<std::string> acceptedText(const SettingField& field, std::string_view text) {
  if (field.kind == SettingKind::Line) {
    // A line holds any byte but the NUL that ends it: what a data file or a
    // radio brought is stored again as it was, whatever the keys may type.
    if (text.size() > field.text.maxLength || text.find('\0') != std::string_view::npos) {
      return std::nullopt;
    }
    return std::string(text);
  }
  std::string out;
  for (const char c : text) {
    const auto accepted = AcceptedCharacter(field, c);
    if (!accepted) return std::nullopt;
    out.push_back(*accepted);
  }
  if (TextProblem(field, out).failed()) return std::nullopt;
  return out;
}

template <typename Record>
EditOutcome replace(Record& place, const Record& value) {
  if (place == value) return {EditStatus::Unchanged, {}};
  place = value;
  return {EditStatus::Applied, {}};
}

EditOutcome storeText(RunState& state, const Effects& effects, const SettingField& field,
                      const std::string& text) {
  auto& doc = state.workingDocument;
  const std::size_t i = field.slot.index;
  switch (field.kind) {
    case SettingKind::Code: {
      DtmfCodeRecord code;
      code.length = static_cast<std::int16_t>(text.size());
      code.digits.assign(text);
      if (field.slot.block == SettingBlock::DtmfCode && i < doc.dtmf.specialCodes.size()) {
        return replace(doc.dtmf.specialCodes[i], code);
      }
      if (field.slot.block == SettingBlock::DtmfMemory && i < doc.dtmf.memories.size()) {
        return replace(doc.dtmf.memories[i], code);
      }
      break;
    }
    case SettingKind::IdCode: {
      DtmfBlock dtmf = doc.dtmf;
      dtmf.idCode.assign(text);
      dtmf.idLength = static_cast<std::int16_t>(text.size());
      return replace(doc.dtmf, dtmf);
    }
    case SettingKind::Line:
      if (i < doc.message.lines.size()) {
        // Shorter than the line: the text ends in a NUL, then blanks.
        const FixedText<16> line(text.size() < 16 ? text + '\0' : text);
        return replace(doc.message.lines[i], line);
      }
      break;
    case SettingKind::Frequency:
      if (i < doc.testFrequencies.size()) {
        FixedText<8> frequency = NulText<8>();
        if (!text.empty()) {
          const CodecContext codec{state.model.limits, effects.prompter};
          frequency.assign(FreqTextToStored(FormatFreqInBand(text, codec), codec.limits));
        }
        auto& pair = doc.testFrequencies[i];
        return replace(field.slot.block == SettingBlock::TestFirst ? pair.first : pair.second,
                       frequency);
      }
      break;
    case SettingKind::FmFrequency:
      if (i < doc.fmPresets.size()) {
        const std::string shown = CheckRadioFre(text);
        FmPresetRecord preset;
        preset.empty = shown.empty() ? 1 : 0;
        preset.frequency.assign(GetSaveRadioFreData(shown));
        return replace(doc.fmPresets[i], preset);
      }
      break;
    case SettingKind::List:
    case SettingKind::Check:
      break;
  }
  return refusedFor(text::kSettingHasNoPlace, field);
}

}  // namespace

EditOutcome SetSetting(RunState& state, const Effects& effects, const SettingField& field,
                       int stored) {
  if (IsTextKind(field.kind)) return refusedFor(text::kSettingTakesText, field);
  // Giving a field what it holds changes nothing and is never refused, even
  // where the value could not be chosen today (the scan key with scan off).
  if (StoredSetting(state, field) == stored) return {EditStatus::Unchanged, {}};
  if (!IsOfferedValue(state.workingDocument, field, stored)) {
    return refusedFor(text::kSettingValueNotOffered, field, {std::to_string(stored)});
  }
  if (field.side == SideRule::KeyFunction && stored == kScanKeyFunction && scanningOff(state)) {
    return refusedFor(text::kSettingScanNeedsScanMode, field);
  }
  HistoryStep step(state);
  if (!rows::WriteStoredSetting(state.workingDocument, state.workingSide, field, stored)) {
    return refusedFor(text::kSettingHasNoPlace, field);
  }
  applySideRule(state, effects, field, stored);
  return {EditStatus::Applied, {}};
}

EditOutcome SetSetting(RunState& state, const Effects& effects, const SettingField& field,
                       std::string_view text) {
  if (!IsTextKind(field.kind)) {
    const auto number = ParseInteger(text);
    if (!number) {
      return refusedFor(text::kTakesWholeNumber, field, {std::string(text)});
    }
    return SetSetting(state, effects, field, *number);
  }
  const std::string given = field.kind == SettingKind::Code ? codeText(text) : std::string(text);
  const auto accepted = acceptedText(field, given);
  if (!accepted) return RefusedEdit(TextProblem(field, given));
  HistoryStep step(state);
  const EditOutcome outcome = storeText(state, effects, field, *accepted);
  if (outcome.status == EditStatus::Applied) applySideRule(state, effects, field, 0);
  return outcome;
}

void StoreShownOnOpening(RunState& state, const Effects& effects,
                         std::span<const SettingField> fields) {
  // What a window stores as it opens is one step, however many fields it touches.
  HistoryStep step(state);
  const CodecContext codec{state.model.limits, effects.prompter};
  for (const auto& field : fields) {
    if (!field.storedAsShownOnOpening) continue;
    if (IsTextKind(field.kind)) {
      const std::string shown = SettingText(state.workingDocument, field, codec);
      // An empty message box is never stored; the other boxes always are.
      if (field.kind == SettingKind::Line && shown.empty()) continue;
      SetSetting(state, effects, field, shown);
      continue;
    }
    const auto& doc = state.workingDocument;
    const int stored = StoredSetting(state, field);
    const int shown = StoredOfItem(doc, field, ItemOfStored(doc, field, stored));
    if (shown != stored) SetSetting(state, effects, field, shown);
  }
}

}  // namespace cps
