#include "cli/json_dump.hpp"

#include <nlohmann/json.hpp>

#include "core/document/channel_list.hpp"
#include "core/document/records.hpp"

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

json code(const DtmfCodeRecord& c) {
  return {{"length", c.length},
          {"digits", c.digits.raw()},
          {"shown", DtmfStoredToDisplay(TrimFixed(c.digits))}};
}

}  // namespace

std::string DumpDocumentJson(const DocumentRecord& d, const SideFileRecord& side,
                             const CodecContext& codec) {
  json channels = json::array();
  for (const auto& c : d.usedChannels()) channels.push_back(channel(c, codec));

  json fm = json::array();
  for (const auto& p : d.fmPresets) {
    fm.push_back({{"empty", p.empty}, {"frequency", frequency(p.frequency, codec)}});
  }
  json tests = json::array();
  for (const auto& t : d.testFrequencies) {
    tests.push_back({{"first", frequency(t.first, codec)}, {"second", frequency(t.second, codec)}});
  }
  json special = json::array();
  for (const auto& c : d.dtmf.specialCodes) special.push_back(code(c));
  json memories = json::array();
  for (const auto& c : d.dtmf.memories) memories.push_back(code(c));
  json message = json::array();
  for (const auto& line : d.message.lines) message.push_back(line.raw());

  const json document{
      {"version", d.version.raw()},
      {"channelCount", d.channelCount},
      {"channels", channels},
      {"fmPresets", fm},
      {"testFrequencies", tests},
      {"modelInfo",
       {{"modelName", d.modelInfo.modelName.raw()},
        {"bandIndex", d.modelInfo.bandIndex},
        {"bandLabel", std::string(BandLabelOfIndex(d.modelInfo.bandIndex))}}},
      {"optionalFeatures", d.optionalFeatures.values},
      {"dtmf",
       {{"settings", d.dtmf.settings},
        {"idCode", d.dtmf.idCode.raw()},
        {"idLength", d.dtmf.idLength},
        {"specialCodes", special},
        {"memories", memories}}},
      {"embeddedMessage", message},
      {"keys", d.keys.values},
      {"alert", d.alert.bytes},
      {"scan", d.scan.bytes},
  };
  const json root{{"document", document},
                  {"side", {{"version", side.version.raw()}, {"alarmMode", side.alarmMode}}}};
  return root.dump(2, ' ', false, json::error_handler_t::replace);
}

}  // namespace cps::cli
