// Settings as words: what a control shows, what a typed value stands for, and
// the values a field takes, all read from the field tables.
#include "core/settings/setting_values.hpp"

#include <cstdint>
#include <vector>

#include "core/document/codec.hpp"
#include "core/run_state.hpp"
#include "core/settings/setting_rows.hpp"

namespace cps {

namespace {

char lowerAscii(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

bool sameIgnoringCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (lowerAscii(a[i]) != lowerAscii(b[i])) return false;
  }
  return true;
}

// An item that shows a plain number ("150", "0.5") rather than a word.
bool showsNumber(std::string_view text) { return ParseNumber(text).has_value(); }

std::string inQuotes(std::string_view text) { return "\"" + std::string(text) + "\""; }

// How help and refusals write an item: a number as it is, a word with the
// number it stores, so that both spellings can be seen.
std::string itemForHelp(const ListItem& item) {
  const std::string text =
      item.text.find(' ') == std::string::npos ? item.text : inQuotes(item.text);
  return text + "=" + std::to_string(item.stored);
}

// A number shown with a unit or a fixed number of decimals: "0.5", "16s".
struct Quantity {
  std::int64_t units = 0;  // the number times 10^decimals
  int decimals = 0;
  std::string suffix;
};

std::optional<Quantity> quantityOf(std::string_view text) {
  Quantity q;
  std::size_t i = 0;
  bool point = false;
  bool digits = false;
  for (; i < text.size(); ++i) {
    const char c = text[i];
    if (c >= '0' && c <= '9') {
      // Long runs of digits are no item's text; stop before they overflow.
      if (q.units > 1'000'000'000) return std::nullopt;
      q.units = q.units * 10 + (c - '0');
      digits = true;
      if (point) ++q.decimals;
    } else if (c == '.' && !point && digits) {
      point = true;
    } else {
      break;
    }
  }
  if (!digits || (point && q.decimals == 0)) return std::nullopt;
  q.suffix = std::string(text.substr(i));
  return q;
}

std::string unitsText(std::int64_t units, int decimals) {
  std::string text = std::to_string(units);
  if (decimals == 0) return text;
  if (text.size() <= static_cast<std::size_t>(decimals)) {
    text.insert(0, static_cast<std::size_t>(decimals) + 1 - text.size(), '0');
  }
  text.insert(text.size() - static_cast<std::size_t>(decimals), 1, '.');
  return text;
}

// Items one by one, three or more numbers in even steps as one range, in
// phrases of any language.
std::vector<Phrase> itemPhrases(const std::vector<ListItem>& items) {
  std::vector<Phrase> phrases;
  std::size_t i = 0;
  while (i < items.size()) {
    const auto first = quantityOf(items[i].text);
    std::size_t end = i + 1;
    std::int64_t step = 0;
    if (first && i + 1 < items.size()) {
      const auto second = quantityOf(items[i + 1].text);
      if (second && second->decimals == first->decimals && second->suffix == first->suffix &&
          second->units > first->units) {
        step = second->units - first->units;
        std::int64_t last = second->units;
        end = i + 2;
        while (end < items.size()) {
          const auto next = quantityOf(items[end].text);
          if (!next || next->decimals != first->decimals || next->suffix != first->suffix ||
              next->units != last + step) {
            break;
          }
          last = next->units;
          ++end;
        }
      }
    }
    if (end - i >= 3) {
      if (step != 1 || first->decimals != 0) {
        phrases.push_back({text::kSteppedRangePhrase,
                           {items[i].text, items[end - 1].text,
                            unitsText(step, first->decimals) + first->suffix}});
      } else {
        phrases.push_back({text::kRangePhrase, {items[i].text, items[end - 1].text}});
      }
      i = end;
      continue;
    }
    phrases.push_back({0, {showsNumber(items[i].text) ? items[i].text : itemForHelp(items[i])}});
    ++i;
  }
  return phrases;
}

// The help is reference text for scripts, in English whatever the language.
std::string englishPhraseText(int id) {
  return id == text::kSteppedRangePhrase ? "%1 to %2 in steps of %3" : "%1 to %2";
}

// Items joined by ", ", as the help shows them.
std::string describeItems(const std::vector<ListItem>& items) {
  return PhrasesText(itemPhrases(items), englishPhraseText);
}

// A document in which every list offers all it can: every channel in use,
// every DTMF memory defined, and each list at its last item, which is the one
// that opens the most of the lists that follow it (both priority channels
// scanned, identification by DTMF, the last group with all its positions).
DocumentRecord richestDocumentMade() {
  DocumentRecord doc;
  doc.channelCount = static_cast<std::int16_t>(kMaxChannels);
  for (std::size_t i = 0; i < kMaxChannels; ++i) {
    doc.channels[i].number = static_cast<std::int16_t>(i + 1);
  }
  for (auto& memory : doc.dtmf.memories) {
    memory.length = 1;
    memory.digits.assign("1");
  }
  SideFileRecord side;
  for (const SettingField* field : AllSettingFields()) {
    if (field->kind != SettingKind::List) continue;
    const int count = ItemCount(doc, *field);
    if (count > 0) {
      rows::WriteStoredSetting(doc, side, *field, StoredOfItem(doc, *field, count - 1));
    }
  }
  return doc;
}

const DocumentRecord& richestDocument() {
  static const DocumentRecord kRichest = richestDocumentMade();
  return kRichest;
}

bool sameItems(const std::vector<ListItem>& a, const std::vector<ListItem>& b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (a[i].text != b[i].text || a[i].stored != b[i].stored) return false;
  }
  return true;
}

// "=5": a stored number as it is, for a value no item of the list names.
std::optional<int> rawStored(std::string_view value) {
  if (value.size() < 2 || value.front() != '=') return std::nullopt;
  return ParseInteger(value.substr(1));
}

int hexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}

// A refused value: the field's name and the value come first in every text.
SettingValue refused(const SettingField& field, std::string_view value, int textId,
                     std::vector<std::string> more = {}, std::vector<Phrase> choices = {}) {
  std::vector<std::string> arguments{std::string(field.name), std::string(value)};
  arguments.insert(arguments.end(), more.begin(), more.end());
  return {{}, {}, {textId, {}, std::move(arguments), std::move(choices)}};
}

SettingValue listValue(const DocumentRecord& doc, const SettingField& field, std::string_view value,
                       const TextOf& textOf) {
  const auto items = SettingListItems(doc, field, textOf);
  if (items.empty()) {
    // An empty list (no channel in the group, no memory to identify by) shows
    // nothing and stores 0; "" is what get shows for it.
    if ((value.empty() || ParseInteger(value) == 0) && IsOfferedValue(doc, field, 0)) {
      return {0, {}, {}};
    }
    if (rawStored(value) == 0 && IsOfferedValue(doc, field, 0)) return {0, {}, {}};
    return refused(field, value, text::kSettingListEmpty);
  }
  for (const auto& item : items) {
    if (sameIgnoringCase(item.text, value)) return {item.stored, {}, {}};
  }
  if (const auto stored = rawStored(value)) {
    if (IsOfferedValue(doc, field, *stored)) return {*stored, {}, {}};
    return refused(field, value, text::kSettingNoItemStores, {std::to_string(*stored)});
  }
  if (const auto number = ParseNumber(value)) {
    for (const auto& item : items) {
      if (ParseNumber(item.text) == number) return {item.stored, {}, {}};
    }
  }
  if (const auto stored = ParseInteger(value); stored && IsOfferedValue(doc, field, *stored)) {
    const auto& item = items[static_cast<std::size_t>(ItemOfStored(doc, field, *stored))];
    if (!showsNumber(item.text)) return {*stored, {}, {}};
  }
  return refused(field, value, text::kSettingTakesItems, {}, itemPhrases(items));
}

// "435.10000" and "87.55000" as get shows them are "435.1" and "87.55" to a
// box that holds nine and six characters.
std::string withoutTrailingZeros(std::string_view text) {
  std::string out(text);
  if (out.find('.') == std::string::npos) return out;
  while (out.back() == '0') out.pop_back();
  if (out.back() == '.') out.pop_back();
  // ".0" is a frequency of nothing, not an empty box.
  return out.empty() ? "0" : out;
}

// The first character a radio text cannot hold (a control character or one
// outside plain ASCII), whole as the user wrote it: a UTF-8 character with all
// its bytes, any other byte as \xHH. Empty when there is none.
std::string firstForeignCharacter(std::string_view text) {
  for (std::size_t i = 0; i < text.size(); ++i) {
    const auto c = static_cast<unsigned char>(text[i]);
    if (c >= 0x20 && c < 0x7F) continue;
    std::size_t length = c >= 0xC2 && c <= 0xDF   ? 2
                         : c >= 0xE0 && c <= 0xEF ? 3
                         : c >= 0xF0 && c <= 0xF4 ? 4
                                                  : 1;
    if (i + length > text.size()) length = 1;
    for (std::size_t k = 1; k < length; ++k) {
      if ((static_cast<unsigned char>(text[i + k]) & 0xC0) != 0x80) length = 1;
    }
    return length == 1 ? EscapeSettingText(text.substr(i, 1)) : std::string(text.substr(i, length));
  }
  return {};
}

SettingValue textValue(const SettingField& field, std::string_view value) {
  if (const std::string foreign = firstForeignCharacter(value); !foreign.empty()) {
    return refused(field, EscapeSettingText(value), text::kSettingPlainAscii, {foreign});
  }
  std::string text(value);
  if (field.kind == SettingKind::Frequency || field.kind == SettingKind::FmFrequency) {
    if (value.empty()) return {{}, {}, {}};
    const auto mhz = ParseNumber(value);
    if (!mhz || *mhz < 0) return refused(field, value, text::kSettingTakesFrequency);
    if (field.kind == SettingKind::FmFrequency && (*mhz < kFmLowestMhz || *mhz > kFmHighestMhz)) {
      return refused(field, value, text::kSettingTakesFmRange,
                     {FormatNumber(kFmLowestMhz), FormatNumber(kFmHighestMhz)});
    }
    text = withoutTrailingZeros(value);
    // The box's length is no measure a user knows: say it in MHz. A preset
    // is kept to 10 kHz, so a third decimal is refused rather than rounded
    // below 100 MHz and refused above.
    const std::size_t point = text.find('.');
    const bool fmTooFine = field.kind == SettingKind::FmFrequency && point != std::string::npos &&
                           text.size() - point - 1 > 2;
    if (fmTooFine || TextProblem(field, text).failed()) {
      if (field.kind == SettingKind::FmFrequency) {
        return refused(field, value, text::kSettingTakesFmDecimals,
                       {FormatNumber(kFmLowestMhz), FormatNumber(kFmHighestMhz)});
      }
      return refused(field, value, text::kSettingTakesFrequencyDecimals);
    }
  }
  if (auto problem = TextProblem(field, text); problem.failed()) {
    return {{}, {}, std::move(problem)};
  }
  return {{}, std::move(text), {}};
}

std::string textHelp(const SettingField& field) {
  const TextRule& rule = field.text;
  std::string help;
  switch (field.kind) {
    case SettingKind::Frequency:
      help = "a frequency in MHz, brought into the file's band";
      break;
    case SettingKind::FmFrequency:
      help = FormatNumber(kFmLowestMhz) + " to " + FormatNumber(kFmHighestMhz) +
             " MHz on the 50 kHz raster";
      break;
    default: {
      const std::string count = rule.minLength > 0 ? std::to_string(rule.minLength) + " to " +
                                                         std::to_string(rule.maxLength)
                                                   : "up to " + std::to_string(rule.maxLength);
      help = rule.characters.empty() ? count + " printable characters"
                                     : count + " of " + std::string(rule.characters);
      if (rule.capitals) help += " (small letters become capitals)";
      break;
    }
  }
  if (rule.minLength == 0) help += "; \"\" clears it";
  return help;
}

}  // namespace

SettingValue ParseSettingValue(const DocumentRecord& document, const SettingField& field,
                               std::string_view value, const TextOf& textOf) {
  switch (field.kind) {
    case SettingKind::List:
      return listValue(document, field, value, textOf);
    case SettingKind::Check:
      if (value == "0" || value == "1" || value == "=0" || value == "=1") {
        return {value.back() == '1' ? 1 : 0, {}, {}};
      }
      return refused(field, value, text::kSettingTakesCheck);
    default:
      return textValue(field, UnescapeSettingText(value));
  }
}

EditOutcome SetSettingFromText(RunState& state, const Effects& effects, const SettingField& field,
                               std::string_view value, const TextOf& textOf) {
  // What get printed for the stored value is taken back as it is: a value no
  // item names, a line the radio's own texts cannot type, a test frequency
  // outside today's band all stay byte for byte.
  if (IsTextKind(field.kind)) {
    const CodecContext codec{state.model.limits, effects.prompter};
    if (UnescapeSettingText(value) == SettingText(state.workingDocument, field, codec)) {
      return {EditStatus::Unchanged, {}};
    }
  } else if (rawStored(value) == StoredSetting(state, field)) {
    return {EditStatus::Unchanged, {}};
  }
  const SettingValue parsed = ParseSettingValue(state.workingDocument, field, value, textOf);
  if (!parsed.accepted()) return RefusedEdit(parsed.refusal);
  if (parsed.stored) return SetSetting(state, effects, field, *parsed.stored);
  return SetSetting(state, effects, field, std::string_view(parsed.text));
}

std::string SettingValueText(const DocumentRecord& document, const SideFileRecord& side,
                             const SettingField& field, const CodecContext& codec,
                             const TextOf& textOf) {
  if (IsTextKind(field.kind)) return EscapeSettingText(SettingText(document, field, codec));
  const int stored = StoredSetting(document, side, field);
  if (!IsOfferedValue(document, field, stored)) return "=" + std::to_string(stored);
  if (field.kind == SettingKind::Check) return stored == 1 ? "1" : "0";
  const int item = ItemOfStored(document, field, stored);
  const auto items = SettingListItems(document, field, textOf);
  return item >= 0 && item < static_cast<int>(items.size())
             ? items[static_cast<std::size_t>(item)].text
             : std::string();
}

std::string EscapeSettingText(std::string_view text) {
  constexpr std::string_view kDigits = "0123456789ABCDEF";
  std::string out;
  for (const char ch : text) {
    const auto c = static_cast<unsigned char>(ch);
    if (c == '\\') {
      out += "\\\\";
    } else if (c < 0x20 || c >= 0x7F) {
      out += "\\x";
      out += kDigits[c >> 4];
      out += kDigits[c & 0x0F];
    } else {
      out += ch;
    }
  }
  return out;
}

std::string UnescapeSettingText(std::string_view text) {
  std::string out;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\\' && i + 1 < text.size() && text[i + 1] == '\\') {
      out += '\\';
      ++i;
    } else if (text[i] == '\\' && i + 3 < text.size() && text[i + 1] == 'x' &&
               hexDigit(text[i + 2]) >= 0 && hexDigit(text[i + 3]) >= 0) {
      out += static_cast<char>(hexDigit(text[i + 2]) * 16 + hexDigit(text[i + 3]));
      i += 3;
    } else {
      out += text[i];
    }
  }
  return out;
}

void StoreShownOnOpeningEverywhere(RunState& state, const Effects& effects) {
  for (const auto table : {OptionalFeatureFields(), DtmfFields(), ScanFields(), AlertFields(),
                           KeyFields(), MessageFields(), TestFrequencyFields(), FmPresetFields()}) {
    StoreShownOnOpening(state, effects, table);
  }
}

std::string SettingValuesHelp(const SettingField& field, const TextOf& textOf) {
  switch (field.kind) {
    case SettingKind::List: {
      const auto items = SettingListItems(richestDocument(), field, textOf);
      const std::string help = describeItems(items);
      // A list that a bare document shows differently depends on the file.
      if (!sameItems(items, SettingListItems(DocumentRecord{}, field, textOf))) {
        return "those the file offers, of: " + help;
      }
      return help;
    }
    case SettingKind::Check:
      return "0 or 1 (unticked, ticked)";
    default:
      return textHelp(field);
  }
}

}  // namespace cps
