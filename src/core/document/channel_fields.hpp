// Every field of a channel, described once: the code edits name it by, the
// names the command line and JSON use, where it lives in the record, the
// values it can hold, its column in the channel table and its bits in the
// radio's channel slot. The channel windows, the command line, the JSON dump
// and the radio image all read this table.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string_view>

#include "core/document/records.hpp"

namespace cps {

// Field codes by which edits name a channel field.
enum class ChannelField : int {
  Receive = 1,
  Transmit = 2,  // transmit frequency, or the signed offset in offset mode
  DecodeTone = 4,
  EncodeTone = 5,
  Power = 6,
  ScanSkip = 7,
  OptionalSignalling = 8,
  Spacing = 9,
  PttId = 10,
  BusyLockout = 11,
  ScramblerTalkaround = 12,
  Autodial1 = 13,
  VoiceEncryption = 14,
  TxInhibit = 15,
  Talkaround = 16,
  Scrambler = 17,
  Whisper = 18,
  Compander = 19,
  SignallingRelation = 21,
  Autodial2 = 22,
};

enum class ChannelValueKind {
  Frequency,  // typed text; the codec clamps and snaps it
  Tone,       // index into the tone table, 0 none
  Number,     // a whole number from 0 to the maximum
};

// Bits of one field in a 16-byte channel slot of the radio image.
struct SlotBits {
  std::uint8_t byte = 0;
  std::uint8_t shift = 0;
  std::uint8_t width = 0;  // 0: the field has a packing of its own
};

struct ChannelFieldRow {
  ChannelField code;
  std::string_view name;      // command line: "scan-skip"
  std::string_view jsonName;  // JSON: "scanSkip"
  ChannelValueKind kind;
  std::int16_t ChannelRecord::*member;  // nullptr for the two frequency fields
  int maximum;                          // values 0 to maximum; 0 for frequencies
  int headerTextId;                     // its column header in the channel table, 0: no column
  std::span<const int> itemTextIds;     // the table's list for the column, item i = value i
  SlotBits bits;
};

std::span<const ChannelFieldRow> ChannelFields();
const ChannelFieldRow* FindChannelField(int code);
const ChannelFieldRow* FindChannelFieldByName(std::string_view name);

// The largest value a field holds (the smallest is 0); empty for the frequency
// fields and for codes that name no field.
std::optional<int> ChannelFieldMaximum(int fieldCode);

}  // namespace cps
