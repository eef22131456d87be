#include "cli/json_dump.hpp"

#include <nlohmann/json.hpp>

#include "core/document/channel_list.hpp"
#include "core/document/records.hpp"
#include "core/settings/setting_fields.hpp"

namespace cps::cli {

namespace {

using json = nlohmann::ordered_json;

template <std::size_t N>
json frequency(const FixedText<N>& stored, const CodecContext& codec) {
  return {{"stored", stored.raw()}, {"shown", FreqStoredToText(stored.raw(), codec)}};
}

json tone(int index) { return {{"index", index}, {"shown", ToneText(index, "none")}}; }

json channel(const ChannelRecord& c, const CodecContext& codec) {
  json j{
      {"number", c.number},
      {"group", GroupOfChannel(c.number)},
      {"position", PositionOfChannel(c.number)},
      {"reserved", c.reserved},
      {"rx", frequency(c.rxFreq, codec)},
      {"offsetDirection", c.offsetDirection},
      {"offset",
       {{"stored", c.offset.raw()},
        {"shown", OffsetStoredToText(c.offset.raw(), c.offsetDirection)}}},
      {"tx", TxFrequencyText(c.rxFreq.raw(), c.offset.raw(), c.offsetDirection, false, codec)},
      {"rxStepKind", c.rxStepKind},
      {"txStepKind", c.txStepKind},
  };
  for (const auto& field : ChannelFields()) {
    if (field.member == nullptr) continue;
    const int value = c.*field.member;
    j[std::string(field.jsonName)] =
        field.kind == ChannelValueKind::Tone ? tone(value) : json(value);
  }
  return j;
}

// Every radio-wide setting by its field name: lists and check boxes with their
// stored number, codes, message lines and frequencies with their shown text.
json settings(const DocumentRecord& d, const SideFileRecord& side, const CodecContext& codec) {
  json j = json::object();
  for (const SettingField* field : AllSettingFields()) {
    const std::string name(field->name);
    if (IsTextKind(field->kind)) {
      j[name] = SettingText(d, *field, codec);
    } else {
      j[name] = StoredSetting(d, side, *field);
    }
  }
  return j;
}

}  // namespace

std::string DumpDocumentJson(const DocumentRecord& d, const SideFileRecord& side,
                             const CodecContext& codec) {
  json channels = json::array();
  for (const auto& c : d.usedChannels()) channels.push_back(channel(c, codec));

  const json document{
      {"version", d.version.raw()},
      {"channelCount", d.channelCount},
      {"channels", channels},
      {"modelInfo",
       {{"modelName", d.modelInfo.modelName.raw()},
        {"bandIndex", d.modelInfo.bandIndex},
        {"bandLabel", std::string(BandLabelOfIndex(d.modelInfo.bandIndex))}}},
      {"settings", settings(d, side, codec)},
  };
  const json root{{"document", document}, {"side", {{"version", side.version.raw()}}}};
  return root.dump(2, ' ', false, json::error_handler_t::replace);
}

}  // namespace cps::cli
