#include "core/document/channel_fields.hpp"

#include <algorithm>
#include <array>

#include "core/document/codec.hpp"

namespace cps {

namespace {

using F = ChannelField;
using K = ChannelValueKind;
using R = ChannelRecord;

constexpr std::array<int, 3> kPowerItems{14014, 14015, 14016};
constexpr std::array<int, 2> kScanSkipItems{14017, 14018};
constexpr std::array<int, 2> kSignallingItems{14013, 14019};
constexpr std::array<int, 3> kSpacingItems{14020, 14021, 14022};

// In the order of the channel table's columns, then the channel dialog's.
// The tones and the scan skip bitmap are packed by rules of their own.
constexpr std::array<ChannelFieldRow, 20> kChannelFields{{
    {F::Receive, "rx", "rx", K::Frequency, nullptr, 0, 14002, {}, {}},
    {F::Transmit, "tx", "tx", K::Frequency, nullptr, 0, 14003, {}, {}},
    {F::DecodeTone, "decode", "decodeTone", K::Tone, &R::decodeTone, kLastTone, 14005, {}, {}},
    {F::EncodeTone, "encode", "encodeTone", K::Tone, &R::encodeTone, kLastTone, 14006, {}, {}},
    {F::Power, "power", "power", K::Number, &R::power, 3, 14007, kPowerItems, {12, 0, 2}},
    {F::ScanSkip, "scan-skip", "scanSkip", K::Number, &R::scanSkip, 1, 14008, kScanSkipItems, {}},
    {F::OptionalSignalling,
     "signalling",
     "optionalSignalling",
     K::Number,
     &R::optionalSignalling,
     3,
     14009,
     kSignallingItems,
     {12, 4, 2}},
    {F::Spacing, "spacing", "spacing", K::Number, &R::spacing, 3, 14010, kSpacingItems, {12, 6, 2}},
    {F::PttId, "ptt-id", "pttId", K::Number, &R::pttId, 3, 0, {}, {11, 2, 2}},
    {F::BusyLockout, "bcl", "busyLockout", K::Number, &R::busyLockout, 2, 0, {}, {10, 2, 2}},
    {F::ScramblerTalkaround,
     "scrambler-talkaround",
     "scramblerTalkaround",
     K::Number,
     &R::scramblerTalkaround,
     1,
     0,
     {},
     {10, 5, 1}},
    {F::Autodial1,
     "autodial1",
     "autodial1",
     K::Number,
     &R::autodial1,
     static_cast<int>(kDtmfMemoryCount),
     0,
     {},
     {13, 0, 8}},
    {F::VoiceEncryption,
     "voice-encryption",
     "voiceEncryption",
     K::Number,
     &R::voiceEncryption,
     1,
     0,
     {},
     {10, 4, 1}},
    {F::TxInhibit, "tx-inhibit", "txInhibit", K::Number, &R::txInhibit, 1, 0, {}, {10, 6, 1}},
    {F::Talkaround, "talkaround", "talkaround", K::Number, &R::talkaround, 1, 0, {}, {11, 6, 1}},
    {F::Scrambler, "scrambler", "scrambler", K::Number, &R::scrambler, 1, 0, {}, {12, 2, 1}},
    {F::Whisper, "whisper", "whisper", K::Number, &R::whisper, 1, 0, {}, {11, 4, 1}},
    {F::Compander, "compander", "compander", K::Number, &R::compander, 1, 0, {}, {12, 3, 1}},
    {F::SignallingRelation,
     "relation",
     "signallingRelation",
     K::Number,
     &R::signallingRelation,
     1,
     0,
     {},
     {11, 5, 1}},
    {F::Autodial2,
     "autodial2",
     "autodial2",
     K::Number,
     &R::autodial2,
     static_cast<int>(kDtmfMemoryCount),
     0,
     {},
     {14, 0, 8}},
}};

}  // namespace

std::span<const ChannelFieldRow> ChannelFields() { return kChannelFields; }

const ChannelFieldRow* FindChannelField(int code) {
  const auto it =
      std::find_if(kChannelFields.begin(), kChannelFields.end(),
                   [code](const ChannelFieldRow& r) { return static_cast<int>(r.code) == code; });
  return it == kChannelFields.end() ? nullptr : &*it;
}

const ChannelFieldRow* FindChannelFieldByName(std::string_view name) {
  const auto it = std::find_if(kChannelFields.begin(), kChannelFields.end(),
                               [name](const ChannelFieldRow& r) { return r.name == name; });
  return it == kChannelFields.end() ? nullptr : &*it;
}

std::optional<int> ChannelFieldMaximum(int fieldCode) {
  const ChannelFieldRow* row = FindChannelField(fieldCode);
  if (row == nullptr || row->member == nullptr) return std::nullopt;
  return row->maximum;
}

}  // namespace cps
