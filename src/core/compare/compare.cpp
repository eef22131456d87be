#include "core/compare/compare.hpp"

#include <algorithm>
#include <array>
#include <cstdlib>
#include <optional>
#include <span>

#include "core/app/text_ids.hpp"
#include "core/app/version_table.hpp"
#include "core/channels/channel_dialog.hpp"
#include "core/document/channel_fields.hpp"
#include "core/document/codec.hpp"
#include "core/document/records.hpp"
#include "core/link/radio_image.hpp"
#include "core/link/verify.hpp"
#include "core/run_state.hpp"
#include "core/settings/setting_fields.hpp"
#include "core/settings/setting_values.hpp"

namespace cps {

namespace {

// A damaged frequency reads as the band's lower limit without a word: the
// comparison shows it, and the stored text in brackets tells it apart.
class SilentPrompter final : public Prompter {
 public:
  Answer ask(const Message&) override { return Answer::Ok; }
  std::optional<std::string> chooseFile(const FileDialogRequest&) override { return std::nullopt; }
};

const std::array<SettingsBlock, 8>& settingsTables() {
  static const std::array<SettingsBlock, 8> tables{{
      {CompareBlock::OptionalFeatures, &OptionalFeatureFields, "options",
       text::kOptFeaturesCaption},
      {CompareBlock::Dtmf, &DtmfFields, "dtmf", text::kDtmfCaption},
      {CompareBlock::Scan, &ScanFields, "scan", text::kScanCaption},
      {CompareBlock::Alert, &AlertFields, "alert", text::kAlertCaption},
      {CompareBlock::Keys, &KeyFields, "keys", text::kKeyCaption},
      {CompareBlock::Message, &MessageFields, "message", text::kMessageCaption},
      {CompareBlock::TestFrequencies, &TestFrequencyFields, "test", text::kTestFrequencyCaption},
      {CompareBlock::FmPresets, &FmPresetFields, "fm", text::kFmCaption},
  }};
  return tables;
}

BandLimits limitsOf(const ComparedDocument& side) {
  ModelState model;
  model.select(side.model, side.bandLabel);
  return model.limits;
}

// One side's view: the codec of its own band, so that each frequency reads as
// its own file shows it.
struct Side {
  const ComparedDocument& doc;
  const DocumentRecord& stored;
  const SideFileRecord& storedSide;
  SilentPrompter prompter;
  CodecContext codec;
  explicit Side(const ComparedDocument& d)
      : doc(d),
        stored(d.stored != nullptr ? *d.stored : d.document),
        storedSide(d.storedSide != nullptr ? *d.storedSide : d.side),
        codec{limitsOf(d), prompter} {}
  Side(const Side&) = delete;
  Side& operator=(const Side&) = delete;
};

std::string checkText(int value, const CompareOptions& options, const TextOf& textOf) {
  if (!options.checksAsWords) return value == 1 ? "1" : "0";
  return textOf(value == 1 ? text::kYesItem : text::kNoItem);
}

class Comparison {
 public:
  Comparison(const ComparedDocument& a, const ComparedDocument& b, const TextOf& textOf,
             const CompareOptions& options)
      : m_a(a), m_b(b), m_textOf(textOf), m_options(options) {}

  std::vector<FieldDifference> run() {
    compareModel();
    compareChannels();
    for (const auto& table : settingsTables()) compareSettings(table);
    compareImages();
    return std::move(m_out);
  }

 private:
  // A line when the stored forms differ; the shown texts, with the stored
  // forms added where the texts alone would look alike.
  void add(FieldDifference d, const std::string& storedA, const std::string& storedB) {
    if (storedA == storedB) return;
    if (d.a == d.b) {
      d.a += " [" + storedA + "]";
      d.b += " [" + storedB + "]";
    }
    m_out.push_back(std::move(d));
  }

  void compareModel() {
    const std::string& ma = m_a.doc.model;
    const std::string& mb = m_b.doc.model;
    add({CompareBlock::Model, "model", 0, nullptr, m_textOf(text::kModelLabel), ma, mb}, ma, mb);
    const std::string& ba = m_a.doc.bandLabel;
    const std::string& bb = m_b.doc.bandLabel;
    add({CompareBlock::Model, "band", 0, nullptr, m_textOf(text::kBandLabel), ba, bb}, ba, bb);
  }

  static const ChannelRecord* channelNumbered(const DocumentRecord& doc, int number) {
    for (const auto& channel : doc.usedChannels()) {
      if (channel.number == number) return &channel;
    }
    return nullptr;
  }

  void compareChannels() {
    for (int number = 1; number <= static_cast<int>(kMaxChannels); ++number) {
      const ChannelRecord* ca = channelNumbered(m_a.doc.document, number);
      const ChannelRecord* cb = channelNumbered(m_b.doc.document, number);
      if (ca == nullptr && cb == nullptr) continue;
      if (ca == nullptr || cb == nullptr) {
        const auto present = [this](const ChannelRecord* c, Side& side) {
          if (c == nullptr) return m_textOf(text::kCompareNotPresent);
          const std::string rx = FreqStoredToText(c->rxFreq.raw(), side.codec);
          return rx.empty() ? m_textOf(text::kComparePresent) : rx;
        };
        const std::string a = present(ca, m_a);
        const std::string b = present(cb, m_b);
        m_out.push_back({CompareBlock::Channels, "channel." + std::to_string(number), number,
                         nullptr, m_textOf(text::kChannelWord), a, b});
        continue;
      }
      compareChannel(number, *ca, *cb);
    }
  }

  std::string channelFieldText(const ChannelFieldRow& row, const ChannelRecord& c, Side& side) {
    return ChannelFieldText(row, c, side.doc.document, side.codec, m_options, m_textOf);
  }

  // What a field holds, compared: the transmit side as the frequency the
  // radio sends on, however offset and direction spell it; no receive
  // frequency the same whether the field is blank or "FFFFFFFF".
  static std::string storedOf(const ChannelFieldRow& row, const ChannelRecord& c, Side& side) {
    switch (row.code) {
      case ChannelField::Receive: {
        const std::string shown = FreqStoredToText(c.rxFreq.raw(), side.codec);
        return shown.empty() ? shown : c.rxFreq.raw();
      }
      case ChannelField::Transmit:
        return TxFrequencyText(c.rxFreq.raw(), c.offset.raw(), c.offsetDirection, false,
                               side.codec);
      default:
        return std::to_string(c.*(row.member));
    }
  }

  void compareChannel(int number, const ChannelRecord& ca, const ChannelRecord& cb) {
    const std::string prefix = "channel." + std::to_string(number) + ".";
    const std::size_t before = m_out.size();
    for (const auto& row : ChannelFields()) {
      FieldDifference d{CompareBlock::Channels,
                        prefix + std::string(row.name),
                        number,
                        nullptr,
                        ChannelFieldLabel(row, m_options.offsetMode, m_textOf),
                        channelFieldText(row, ca, m_a),
                        channelFieldText(row, cb, m_b)};
      const std::string storedA = storedOf(row, ca, m_a);
      const std::string storedB = storedOf(row, cb, m_b);
      add(std::move(d), storedA, storedB);
    }
    // What no window shows: the step grids the frequencies were put on.
    if (m_out.size() == before && (ca.rxStepKind != cb.rxStepKind ||
                                   ca.txStepKind != cb.txStepKind || ca.reserved != cb.reserved)) {
      const auto stored = [](const ChannelRecord& c) {
        return std::to_string(c.rxStepKind) + " " + std::to_string(c.txStepKind) + " " +
               std::to_string(c.reserved);
      };
      m_out.push_back({CompareBlock::Channels, prefix + "stored", number, nullptr,
                       m_textOf(text::kCompareOtherData), stored(ca), stored(cb)});
    }
  }

  std::string settingText(const SettingField& field, Side& side) const {
    return SettingShownText(field, side.doc.document, side.doc.side, side.codec, m_options,
                            m_textOf);
  }

  // The value the file holds, not the one a window would put in its place
  // (a channel reference to a missing channel, a number no item names).
  static std::string settingStored(const SettingField& field, Side& side) {
    if (IsTextKind(field.kind)) return SettingText(side.stored, field, side.codec);
    return std::to_string(StoredSetting(side.stored, side.storedSide, field));
  }

  void compareSettings(const SettingsBlock& table) {
    const std::size_t before = m_out.size();
    for (const auto& field : table.fields()) {
      add({table.block, std::string(field.name), 0, &field, SettingLabel(field, m_textOf),
           settingText(field, m_a), settingText(field, m_b)},
          settingStored(field, m_a), settingStored(field, m_b));
    }
    if (m_out.size() != before) return;
    // Stored numbers that no control shows still reach the radio.
    const auto numbers = [&table](const DocumentRecord& d) -> std::string {
      const auto join = [](const auto& values) {
        std::string s;
        for (const auto v : values) s += (s.empty() ? "" : " ") + std::to_string(v);
        return s;
      };
      switch (table.block) {
        case CompareBlock::OptionalFeatures:
          return join(d.optionalFeatures.values);
        case CompareBlock::Dtmf:
          return join(d.dtmf.settings);
        case CompareBlock::Scan:
          return join(d.scan.bytes);
        case CompareBlock::Alert:
          return join(d.alert.bytes);
        case CompareBlock::Keys:
          return join(d.keys.values);
        default:
          return {};
      }
    };
    const std::string na = numbers(m_a.stored);
    const std::string nb = numbers(m_b.stored);
    if (na != nb) {
      m_out.push_back({table.block, std::string(table.name) + ".stored", 0, nullptr,
                       m_textOf(text::kCompareOtherData), na, nb});
    }
  }

  // The block and channel an image field belongs to, by the words its name
  // begins with.
  static std::pair<CompareBlock, int> blockOfImageField(const std::string& meaning) {
    const auto startsWith = [&meaning](std::string_view words) {
      return meaning.compare(0, words.size(), words) == 0;
    };
    if (startsWith("channel ")) return {CompareBlock::Channels, std::atoi(meaning.c_str() + 8)};
    if (startsWith("optional features")) return {CompareBlock::OptionalFeatures, 0};
    if (startsWith("keys")) return {CompareBlock::Keys, 0};
    if (startsWith("scan")) return {CompareBlock::Scan, 0};
    if (startsWith("DTMF")) return {CompareBlock::Dtmf, 0};
    if (startsWith("emergency alert")) return {CompareBlock::Alert, 0};
    if (startsWith("test frequency")) return {CompareBlock::TestFrequencies, 0};
    if (startsWith("embedded message")) return {CompareBlock::Message, 0};
    return {CompareBlock::Model, 0};
  }

  static RadioImage imageOf(const Side& side) {
    RunState state;
    state.model.select(side.doc.model, side.doc.bandLabel);
    state.workingDocument = side.stored;
    state.workingSide = side.storedSide;
    SilentPrompter quiet;
    RadioImage image{};
    ClearImage(image);
    PackDocumentToImage(state, image, CodecContext{state.model.limits, quiet});
    return image;
  }

  // The radio images the two documents would be written as: a place where
  // they differ and that no line of its block (or channel) covers yet gets a
  // line of its own with the bytes, so that "the same" always means the same
  // radio.
  void compareImages() {
    const auto differences = CompareWrittenImage(imageOf(m_a), imageOf(m_b));
    const std::size_t linesBefore = m_out.size();
    for (const auto& d : differences) {
      const auto [block, channel] = blockOfImageField(d.meaning);
      const bool covered =
          std::any_of(m_out.begin(), m_out.begin() + static_cast<std::ptrdiff_t>(linesBefore),
                      [block = block, channel = channel](const FieldDifference& line) {
                        return line.block == block && line.channel == channel;
                      });
      if (covered) continue;
      const std::string field = channel != 0 ? "channel." + std::to_string(channel) + ".image"
                                             : std::string(CompareBlockName(block)) + ".image";
      const auto bytesText = [&d](const std::vector<std::uint8_t>& bytes) {
        return d.bits ? std::to_string(bytes.front()) : HexBytesText(bytes);
      };
      m_out.push_back({block, field, channel, nullptr,
                       m_textOf(text::kCompareOtherData) + " (" + d.meaning + ")",
                       bytesText(d.written), bytesText(d.held)});
    }
  }

  Side m_a;
  Side m_b;
  const TextOf& m_textOf;
  const CompareOptions& m_options;
  std::vector<FieldDifference> m_out;
};

}  // namespace

std::span<const SettingsBlock> SettingsBlocks() { return settingsTables(); }

std::string ChannelFieldLabel(const ChannelFieldRow& row, bool offsetMode, const TextOf& textOf) {
  if (row.headerTextId != 0) {
    return textOf(ChannelHeaderTextId(static_cast<int>(row.code), offsetMode));
  }
  for (const auto& list : ChannelDialogLists()) {
    if (list.field == row.code) return textOf(list.labelTextId) + std::string(list.labelSuffix);
  }
  for (const auto& check : ChannelDialogChecks()) {
    if (check.field == row.code) return textOf(check.captionTextId);
  }
  return std::string(row.name);
}

std::string ChannelFieldText(const ChannelFieldRow& row, const ChannelRecord& channel,
                             const DocumentRecord& document, const CodecContext& codec,
                             const CompareOptions& options, const TextOf& textOf) {
  const int code = static_cast<int>(row.code);
  if (row.headerTextId != 0) {
    return ChannelRowTexts(channel, 1, options.offsetMode, codec,
                           textOf)[static_cast<std::size_t>(code)];
  }
  for (const auto& list : ChannelDialogLists()) {
    if (list.field != row.code) continue;
    const auto items = DialogListItems(list, document, channel, textOf);
    const int item = DialogShownItem(list, document, channel);
    return item >= 0 && item < static_cast<int>(items.size())
               ? items[static_cast<std::size_t>(item)]
               : std::string();
  }
  return checkText(channel.*(row.member), options, textOf);
}

std::string SettingLabel(const SettingField& field, const TextOf& textOf) {
  std::string label =
      field.labelTextId != 0 ? textOf(field.labelTextId) : std::string(field.caption);
  return label.empty() ? std::string(field.name) : label;
}

std::string SettingShownText(const SettingField& field, const DocumentRecord& document,
                             const SideFileRecord& side, const CodecContext& codec,
                             const CompareOptions& options, const TextOf& textOf) {
  if (field.kind == SettingKind::Check && options.checksAsWords) {
    return checkText(ItemOfStored(document, field, StoredSetting(document, side, field)), options,
                     textOf);
  }
  if (!options.asTheWindowsShow) return SettingValueText(document, side, field, codec, textOf);
  if (IsTextKind(field.kind)) return SettingText(document, field, codec);
  if (field.kind == SettingKind::Check) {
    return StoredSetting(document, side, field) == 1 ? "1" : "0";
  }
  const int item = ItemOfStored(document, field, StoredSetting(document, side, field));
  const auto items = SettingListItems(document, field, textOf);
  if (items.empty()) return {};
  // A list shows its first item for a number none of its items stores.
  return items[item >= 0 && item < static_cast<int>(items.size()) ? static_cast<std::size_t>(item)
                                                                  : 0]
      .text;
}

ComparedDocument WorkingDocumentOf(const RunState& state) {
  return {state.workingDocument, state.workingSide, state.model.currentModel,
          state.model.currentBandLabel};
}

ComparedFileResult ReadComparedFile(const std::string& path) {
  auto read = ReadDataFile(path);
  if (!read.file) return {std::nullopt, std::move(read.failure)};
  const DocumentRecord& d = read.file->document;
  if (!IsVersionText(std::string_view(d.version.bytes.data(), d.version.bytes.size()))) {
    return {std::nullopt, {text::kNotADataFile, path + ": does not begin with a format version"}};
  }
  const std::string_view band = BandLabelOfIndex(d.modelInfo.bandIndex);
  if (d.channelCount < 0 || d.channelCount > static_cast<int>(kMaxChannels) || band.empty()) {
    return {std::nullopt, {text::kNotADataFile, path + ": channel count or band is out of range"}};
  }
  RunState state;
  state.model.select(TrimFixed(d.modelInfo.modelName), band);
  state.workingDocument = d;
  state.workingSide = read.file->side;
  return {ShownCopyOf(state), {}};
}

ComparedFile ShownCopyOf(const RunState& original) {
  RunState state;
  state.model = original.model;
  state.workingDocument = original.workingDocument;
  state.workingSide = original.workingSide;
  SilentPrompter quiet;
  NullObserver observer;
  StoreShownOnOpeningEverywhere(state, Effects{quiet, observer});
  return {{state.workingDocument, state.workingSide},
          state.model.currentModel,
          state.model.currentBandLabel,
          {original.workingDocument, original.workingSide}};
}

std::vector<FieldDifference> CompareDocuments(const ComparedDocument& a, const ComparedDocument& b,
                                              const TextOf& textOf, const CompareOptions& options) {
  return Comparison(a, b, textOf, options).run();
}

int CompareBlockTextId(CompareBlock block) {
  if (block == CompareBlock::Model) return text::kModelInfoCaption;
  if (block == CompareBlock::Channels) return text::kChannelWindowTitle;
  for (const auto& table : settingsTables()) {
    if (table.block == block) return table.titleTextId;
  }
  return 0;
}

std::string_view CompareBlockName(CompareBlock block) {
  if (block == CompareBlock::Model) return "model";
  if (block == CompareBlock::Channels) return "channels";
  for (const auto& table : settingsTables()) {
    if (table.block == block) return table.name;
  }
  return {};
}

std::string DifferenceLine(const FieldDifference& d) {
  const auto shown = [](const std::string& v) { return v.empty() ? std::string("\"\"") : v; };
  return d.field + " (" + d.label + "): " + shown(d.a) + " -> " + shown(d.b);
}

}  // namespace cps
