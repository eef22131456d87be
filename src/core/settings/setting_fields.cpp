// The pure functions over the settings rows: list items both ways, item texts,
// enable rules, stored values and the texts of the text fields.
#include "core/settings/setting_fields.hpp"

#include <algorithm>
#include <array>
#include <type_traits>

#include "core/document/codec.hpp"
#include "core/run_state.hpp"
#include "core/settings/setting_rows.hpp"

namespace cps {

namespace {

std::string noText(int) { return {}; }

// A list's stored values do not depend on its texts, so the mapping functions
// ask for none.
std::vector<ListItem> itemsWithoutTexts(const DocumentRecord& doc, const SettingField& field) {
  return SettingListItems(doc, field, TextOf(noText));
}

// For the lists that do not depend on the document; lists that do are drawn
// from a document without channels or memories.
const DocumentRecord& emptyDocument() {
  static const DocumentRecord kEmpty;
  return kEmpty;
}

int numberCount(const ItemSource& items) {
  return items.last < items.first ? 0 : (items.last - items.first) / items.step + 1;
}

std::string numberText(int number, const ItemSource& items) {
  std::string text;
  if (items.decimals == 0) {
    text = std::to_string(number / items.divisor);
  } else {
    text = FormatFixed(static_cast<double>(number) / items.divisor, items.decimals);
  }
  return text + std::string(items.suffix);
}

// The stored value of the item at `place` that shows `text`.
int storedOfFixedItem(const SettingField& field, int place, const std::string& text) {
  switch (field.map.rule) {
    case MapRule::Linear:
      return place * field.map.scale + field.map.offset;
    case MapRule::TimesText:
      if (const auto number = ParseNumber(text)) {
        return static_cast<int>(RoundHalfEven(*number / field.map.scale));
      }
      return 0;
    case MapRule::Listed:
      break;
  }
  return place;
}

std::vector<ListItem> fixedItems(const SettingField& field, const TextOf& textOf) {
  const ItemSource& source = field.items;
  std::vector<ListItem> items;
  if (!source.choices.empty()) {
    for (const int choice : source.choices) {
      const auto place = static_cast<std::size_t>(choice);
      items.push_back(
          {place < source.textIds.size() ? textOf(source.textIds[place]) : std::string(), choice});
    }
    return items;
  }
  std::vector<std::string> texts;
  for (const int id : source.textIds) texts.push_back(textOf(id));
  for (const auto literal : source.literals) texts.emplace_back(literal);
  for (int i = 0; i < numberCount(source); ++i) {
    texts.push_back(numberText(source.first + i * source.step, source));
  }
  for (std::size_t i = 0; i < texts.size(); ++i) {
    const int stored = storedOfFixedItem(field, static_cast<int>(i), texts[i]);
    items.push_back({std::move(texts[i]), stored});
  }
  return items;
}

template <typename T, typename Doc>
using Like = std::conditional_t<std::is_const_v<Doc>, const T, T>;

// The place of a list's or check box's number: a 16-bit Integer or a Byte.
template <typename Doc, typename Side>
struct NumberPlace {
  Like<std::int16_t, Doc>* wide = nullptr;
  Like<std::uint8_t, Side>* narrow = nullptr;
};

template <typename Doc, typename Side>
NumberPlace<Doc, Side> numberPlace(Doc& doc, Side& side, SettingSlot slot) {
  NumberPlace<Doc, Side> place;
  const std::size_t i = slot.index;
  switch (slot.block) {
    case SettingBlock::Options:
      if (i < doc.optionalFeatures.values.size()) place.wide = &doc.optionalFeatures.values[i];
      break;
    case SettingBlock::Dtmf:
      if (i < doc.dtmf.settings.size()) place.wide = &doc.dtmf.settings[i];
      break;
    case SettingBlock::Keys:
      if (i < doc.keys.values.size()) place.wide = &doc.keys.values[i];
      break;
    case SettingBlock::Alert:
      if (i < doc.alert.bytes.size()) place.narrow = &doc.alert.bytes[i];
      break;
    case SettingBlock::Scan:
      if (i < doc.scan.bytes.size()) place.narrow = &doc.scan.bytes[i];
      break;
    case SettingBlock::Side:
      place.narrow = &side.alarmMode;
      break;
    default:
      break;  // the text fields have no number
  }
  return place;
}

bool conditionHolds(const DocumentRecord& doc, const SideFileRecord& side,
                    const EnableCondition& condition) {
  if (condition.field.empty()) return true;
  const SettingField* other = FindSettingField(condition.field);
  if (other == nullptr) return false;
  const int item = ItemOfStored(doc, *other, StoredSetting(doc, side, *other));
  return item >= 0 && item < 32 && ((condition.items >> item) & 1u) != 0;
}

const DtmfCodeRecord* codeRecord(const DocumentRecord& doc, SettingSlot slot) {
  const std::size_t i = slot.index;
  if (slot.block == SettingBlock::DtmfCode && i < doc.dtmf.specialCodes.size()) {
    return &doc.dtmf.specialCodes[i];
  }
  if (slot.block == SettingBlock::DtmfMemory && i < doc.dtmf.memories.size()) {
    return &doc.dtmf.memories[i];
  }
  return nullptr;
}

}  // namespace

namespace rows {

std::vector<ListItem> UsedGroupItems(const DocumentRecord& doc) {
  std::vector<int> groups;
  for (const auto& c : doc.usedChannels()) {
    if (c.number < 1 || c.number > static_cast<int>(kMaxChannels)) continue;
    const int group = GroupOfChannel(c.number);
    if (std::find(groups.begin(), groups.end(), group) == groups.end()) groups.push_back(group);
  }
  std::sort(groups.begin(), groups.end());
  std::vector<ListItem> items;
  for (const int group : groups) items.push_back({std::to_string(group), group});
  return items;
}

std::vector<ListItem> UsedPositionItems(const DocumentRecord& doc, int group) {
  std::vector<int> positions;
  for (const auto& c : doc.usedChannels()) {
    if (c.number < 1 || c.number > static_cast<int>(kMaxChannels)) continue;
    if (GroupOfChannel(c.number) != group) continue;
    const int position = PositionOfChannel(c.number);
    if (std::find(positions.begin(), positions.end(), position) == positions.end()) {
      positions.push_back(position);
    }
  }
  std::sort(positions.begin(), positions.end());
  std::vector<ListItem> items;
  for (const int position : positions) items.push_back({std::to_string(position), position});
  return items;
}

bool WriteStoredSetting(DocumentRecord& doc, SideFileRecord& side, const SettingField& field,
                        int stored) {
  const auto place = numberPlace(doc, side, field.slot);
  if (place.wide != nullptr) {
    *place.wide = static_cast<std::int16_t>(stored);
    return true;
  }
  if (place.narrow != nullptr) {
    *place.narrow = static_cast<std::uint8_t>(stored);
    return true;
  }
  return false;
}

}  // namespace rows

// ---- Tables ---------------------------------------------------------------

namespace {

std::array<std::span<const SettingField>, 8> allTables() {
  return {OptionalFeatureFields(), DtmfFields(),    ScanFields(),
          AlertFields(),           KeyFields(),     MessageFields(),
          TestFrequencyFields(),   FmPresetFields()};
}

}  // namespace

std::vector<const SettingField*> AllSettingFields() {
  std::vector<const SettingField*> all;
  for (const auto table : allTables()) {
    for (const auto& field : table) all.push_back(&field);
  }
  return all;
}

const SettingField* FindSettingField(std::string_view name) {
  for (const auto table : allTables()) {
    for (const auto& field : table) {
      if (field.name == name) return &field;
    }
  }
  return nullptr;
}

// ---- Lists and check boxes ------------------------------------------------

std::vector<ListItem> SettingListItems(const DocumentRecord& doc, const SettingField& field,
                                       const TextOf& textOf) {
  if (field.kind != SettingKind::List) return {};
  if (field.items.list != nullptr) return field.items.list(doc, textOf);
  return fixedItems(field, textOf);
}

int ItemCount(const DocumentRecord& doc, const SettingField& field) {
  if (field.kind == SettingKind::Check) return 2;
  if (field.kind != SettingKind::List) return 0;
  if (field.items.list != nullptr) return static_cast<int>(itemsWithoutTexts(doc, field).size());
  if (!field.items.choices.empty()) return static_cast<int>(field.items.choices.size());
  return static_cast<int>(field.items.textIds.size() + field.items.literals.size()) +
         numberCount(field.items);
}

std::vector<std::string> ItemTexts(const DocumentRecord& doc, const SettingField& field,
                                   const TextOf& textOf) {
  std::vector<std::string> texts;
  for (auto& item : SettingListItems(doc, field, textOf)) texts.push_back(std::move(item.text));
  return texts;
}

int ItemOfStored(const DocumentRecord& doc, const SettingField& field, int stored) {
  if (field.kind == SettingKind::Check) return stored == 1 ? 1 : 0;
  if (field.map.rule == MapRule::Linear) {
    const int count = ItemCount(doc, field);
    if (count == 0) return -1;
    const auto item =
        RoundHalfEven((static_cast<double>(stored) - field.map.offset) / field.map.scale);
    return item >= 0 && item < count ? static_cast<int>(item) : 0;
  }
  const auto items = itemsWithoutTexts(doc, field);
  if (items.empty()) return -1;
  const int count = static_cast<int>(items.size());
  switch (field.map.rule) {
    case MapRule::Linear:
      break;
    case MapRule::TimesText: {
      const std::string text = std::to_string(static_cast<long long>(stored) * field.map.scale);
      for (int i = 0; i < count; ++i) {
        if (items[static_cast<std::size_t>(i)].text == text) return i;
      }
      return 0;
    }
    case MapRule::Listed:
      break;
  }
  for (int i = 0; i < count; ++i) {
    if (items[static_cast<std::size_t>(i)].stored == stored) return i;
  }
  return 0;
}

int StoredOfItem(const DocumentRecord& doc, const SettingField& field, int item) {
  if (field.kind == SettingKind::Check) return item == 1 ? 1 : 0;
  if (field.map.rule == MapRule::Linear) {
    const int count = ItemCount(doc, field);
    if (count == 0) return 0;
    if (item < 0 || item >= count) item = 0;
    return item * field.map.scale + field.map.offset;
  }
  const auto items = itemsWithoutTexts(doc, field);
  if (items.empty()) return 0;
  if (item < 0 || item >= static_cast<int>(items.size())) item = 0;
  return items[static_cast<std::size_t>(item)].stored;
}

bool IsOfferedValue(const DocumentRecord& doc, const SettingField& field, int stored) {
  if (field.kind == SettingKind::Check) return stored == 0 || stored == 1;
  if (field.kind != SettingKind::List) return false;
  if (ItemCount(doc, field) == 0) return stored == 0;
  return StoredOfItem(doc, field, ItemOfStored(doc, field, stored)) == stored;
}

int ItemCount(const SettingField& field) { return ItemCount(emptyDocument(), field); }

std::vector<std::string> ItemTexts(const SettingField& field, const TextOf& textOf) {
  return ItemTexts(emptyDocument(), field, textOf);
}

int ItemOfStored(const SettingField& field, int stored) {
  return ItemOfStored(emptyDocument(), field, stored);
}

int StoredOfItem(const SettingField& field, int item) {
  return StoredOfItem(emptyDocument(), field, item);
}

bool IsOfferedValue(const SettingField& field, int stored) {
  return IsOfferedValue(emptyDocument(), field, stored);
}

int StoredSetting(const DocumentRecord& doc, const SideFileRecord& side,
                  const SettingField& field) {
  const auto place = numberPlace(doc, side, field.slot);
  if (place.wide != nullptr) return *place.wide;
  if (place.narrow != nullptr) return *place.narrow;
  return 0;
}

int StoredSetting(const RunState& state, const SettingField& field) {
  return StoredSetting(state.workingDocument, state.workingSide, field);
}

bool IsSettingEnabled(const DocumentRecord& doc, const SideFileRecord& side,
                      const SettingField& field) {
  return conditionHolds(doc, side, field.enable.first) &&
         conditionHolds(doc, side, field.enable.second);
}

bool IsSettingEnabled(const RunState& state, const SettingField& field) {
  return IsSettingEnabled(state.workingDocument, state.workingSide, field);
}

// ---- Text fields ----------------------------------------------------------

std::string SettingText(const DocumentRecord& doc, const SettingField& field,
                        const CodecContext& codec) {
  const std::size_t i = field.slot.index;
  switch (field.kind) {
    case SettingKind::Code: {
      const DtmfCodeRecord* code = codeRecord(doc, field.slot);
      if (code == nullptr) return {};
      // A length outside 0 to 16 shows an empty box.
      const int length = code->length >= 0 && code->length <= 16 ? code->length : 0;
      return code->digits.raw().substr(0, static_cast<std::size_t>(length));
    }
    case SettingKind::IdCode: {
      // A length outside 3 to 10 is taken as 3.
      const int length = doc.dtmf.idLength >= 3 && doc.dtmf.idLength <= 10 ? doc.dtmf.idLength : 3;
      return doc.dtmf.idCode.raw().substr(0, static_cast<std::size_t>(length));
    }
    case SettingKind::Line: {
      if (i >= doc.message.lines.size()) return {};
      // The line ends at its NUL; blanks typed before the NUL are not shown.
      std::string line = doc.message.lines[i].raw();
      line = line.substr(0, line.find('\0'));
      while (!line.empty() && line.back() == ' ') line.pop_back();
      return line;
    }
    case SettingKind::Frequency:
      if (i >= doc.testFrequencies.size()) return {};
      return FreqStoredToText(field.slot.block == SettingBlock::TestFirst
                                  ? doc.testFrequencies[i].first.raw()
                                  : doc.testFrequencies[i].second.raw(),
                              codec);
    case SettingKind::FmFrequency:
      if (i >= doc.fmPresets.size() || doc.fmPresets[i].empty != 0) return {};
      return FreqStoredToText(TrimFixed(doc.fmPresets[i].frequency), codec);
    case SettingKind::List:
    case SettingKind::Check:
      break;
  }
  return {};
}

std::optional<char> AcceptedCharacter(const SettingField& field, char typed) {
  if (!IsTextKind(field.kind)) return std::nullopt;
  const auto code = static_cast<unsigned char>(typed);
  // Only single-byte characters reach the radio, and control characters are
  // no part of any of its texts.
  if (code < 0x20 || code > 0x7E) return std::nullopt;
  const std::string_view accepted = field.text.characters;
  if (accepted.empty() || accepted.find(typed) != std::string_view::npos) return typed;
  if (field.text.capitals && typed >= 'a' && typed <= 'z') {
    const auto capital = static_cast<char>(typed - 'a' + 'A');
    if (accepted.find(capital) != std::string_view::npos) return capital;
  }
  return std::nullopt;
}

Failure TextProblem(const SettingField& field, std::string_view text) {
  const std::string name(field.name);
  if (!IsTextKind(field.kind)) return {text::kSettingNotText, {}, {name}, {}};
  for (const char c : text) {
    if (!AcceptedCharacter(field, c)) {
      return {text::kSettingCharacterRefused, {}, {name, std::string(1, c)}, {}};
    }
  }
  if (text.size() > field.text.maxLength) {
    return {text::kSettingTextTooLong, {}, {name, std::to_string(field.text.maxLength)}, {}};
  }
  if (text.size() < field.text.minLength) {
    return {text::kSettingTextTooShort, {}, {name, std::to_string(field.text.minLength)}, {}};
  }
  return {};
}

namespace {

// Windows-1252 from 0x80 to 0x9F; 0 where it defines no character.
constexpr std::array<char32_t, 32> kWindows1252High{
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};
constexpr char32_t kControlPictures = 0x2400;  // ␀ … ␟ for the bytes 0 to 31
constexpr char32_t kDeletePicture = 0x2421;    // ␡
constexpr char32_t kPrivateBytes = 0xF700;     // U+F700 + the byte, where nothing else fits

}  // namespace

char32_t ShownCharacterOfByte(std::uint8_t byte) {
  if (byte < 0x20) return kControlPictures + byte;
  if (byte < 0x7F) return byte;
  if (byte == 0x7F) return kDeletePicture;
  if (byte < 0xA0) {
    const char32_t defined = kWindows1252High[byte - 0x80u];
    return defined != 0 ? defined : kPrivateBytes + byte;
  }
  return byte;  // Latin-1, which Windows-1252 keeps from 0xA0 on
}

std::optional<std::uint8_t> ByteOfShownCharacter(char32_t shown) {
  if (shown >= 0x20 && shown < 0x7F) return static_cast<std::uint8_t>(shown);
  if (shown >= 0xA0 && shown <= 0xFF) return static_cast<std::uint8_t>(shown);
  if (shown >= kControlPictures && shown < kControlPictures + 0x20) {
    return static_cast<std::uint8_t>(shown - kControlPictures);
  }
  if (shown == kDeletePicture) return std::uint8_t{0x7F};
  for (std::size_t i = 0; i < kWindows1252High.size(); ++i) {
    const auto byte = static_cast<std::uint8_t>(0x80 + i);
    if (ShownCharacterOfByte(byte) == shown) return byte;
  }
  return std::nullopt;
}

std::string IdCodeOnLeaving(std::string_view text) {
  const bool digits =
      std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
  return digits && text.size() >= 3 && text.size() <= 10 ? std::string(text) : "000";
}

double StepRadio(double mhz) {
  auto k = RoundHalfEven(mhz * 100);
  const auto r = k % 5;
  k -= r;
  if (r > 2) k += 5;
  return static_cast<double>(k) / 100;
}

std::string CheckRadioFre(std::string_view text) {
  if (text.empty()) return {};
  double mhz = kFmLowestMhz;
  if (const auto number = ParseNumber(text)) {
    mhz = *number < kFmLowestMhz    ? kFmLowestMhz
          : *number > kFmHighestMhz ? kFmHighestMhz
                                    : StepRadio(*number);
  }
  return FormatFixed(mhz, 5, 9);
}

std::string GetSaveRadioFreData(std::string_view text) {
  if (text.empty()) return {};
  // Through the shown form, so that a bare "87" or an unreadable text is stored
  // as a frequency in MHz too, not as a number of 10 Hz units.
  std::string shown = CheckRadioFre(text);
  shown.erase(std::remove(shown.begin(), shown.end(), '.'), shown.end());
  return shown;
}

}  // namespace cps
