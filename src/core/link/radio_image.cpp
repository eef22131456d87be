#include "core/link/radio_image.hpp"

#include <algorithm>
#include <array>
#include <charconv>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "core/document/channel_list.hpp"
#include "core/document/codec.hpp"
#include "core/document/edit_history.hpp"
#include "core/document/model.hpp"
#include "core/document/records.hpp"
#include "core/run_state.hpp"

namespace cps {

namespace {

using ByteSpan = std::span<std::uint8_t>;

// ---- Where things live in the radio's memory ----------------------------

constexpr std::size_t kSlotSize = 16;
constexpr std::size_t kPresentBitmap = 0x800;
constexpr std::size_t kScanBitmap = 0x810;
constexpr std::size_t kKeys = 0x83A;
constexpr std::size_t kDtmfId = 0x860;
constexpr std::size_t kDtmfIdBytes = 5;
constexpr std::size_t kDtmfIdLength = 0x868;
constexpr std::size_t kDtmfSpecialCodes = 0x8C0;  // BOT, EOT, stun, kill
constexpr std::size_t kDtmfMemories = 0x900;
constexpr std::size_t kTestPairs = 0xA00;
constexpr std::size_t kTestPairSize = 8;
constexpr std::size_t kTestPairCount = 16;
constexpr std::size_t kMessage = 0xA80;
constexpr std::size_t kMessageLineSize = 16;
constexpr std::size_t kModelNameSize = 7;
constexpr std::size_t kBandCode = kIdentBlockAddress + 7;
constexpr std::size_t kVersion = kIdentBlockAddress + 8;
constexpr std::size_t kCapabilityByte = kIdentBlockAddress + 12;
// Packing erases the channel slots, bitmaps and settings through the end of the
// embedded message before filling them in; the identification block is written
// field by field, because during a write the radio's own reply fills the rest.
constexpr std::size_t kPackedAreaEnd = 0xAC0;

// A DTMF code slot: eight bytes of digit pairs, then the digit count.
constexpr std::size_t kCodeDigitBytes = 8;
constexpr std::size_t kCodeCount = 8;
constexpr int kMaxCodeDigits = 16;
constexpr int kMinIdDigits = 3;
constexpr int kMaxIdDigits = 10;

constexpr std::uint32_t kNoFrequencyUnits = 0xFFFFFFFF;
// Inverted DCS codes share the tone byte of their normal twins; a flag bit
// tells them apart.
constexpr int kInvertedToneShift = kFirstInvertedDcsTone - kFirstDcsTone;

// ---- Bit fields ---------------------------------------------------------

// `width` bits of one byte, starting at bit `shift`; the address is in the
// image, or within a channel slot for the channel fields.
struct BitField {
  std::size_t address;
  unsigned shift;
  unsigned width;
};

constexpr unsigned maskOf(unsigned width) { return (1u << width) - 1u; }

// Values beyond the field's width keep only the bits the radio has room for.
void putBits(ByteSpan bytes, BitField f, int value) {
  const unsigned mask = maskOf(f.width) << f.shift;
  const unsigned bits = (static_cast<unsigned>(value) << f.shift) & mask;
  bytes[f.address] = static_cast<std::uint8_t>((bytes[f.address] & ~mask) | bits);
}

int getBits(Bytes bytes, BitField f) {
  return static_cast<int>((static_cast<unsigned>(bytes[f.address]) >> f.shift) & maskOf(f.width));
}

// A setting of one of the document's blocks: its bits, its place in the
// block's array, and what it is called where the radio's memory is described.
struct Setting {
  BitField bits;
  std::size_t index;
  const char* name;
};

// Bits the radio does not use within a byte that holds settings are 0, so the
// bytes are cleared before the settings go in.
template <typename T, std::size_t N>
void packSettings(std::span<const Setting> table, const std::array<T, N>& values, ByteSpan image) {
  for (const auto& s : table) image[s.bits.address] = 0;
  for (const auto& s : table) putBits(image, s.bits, values[s.index]);
}

template <typename T, std::size_t N>
void unpackSettings(std::span<const Setting> table, Bytes image, std::array<T, N>& values) {
  for (const auto& s : table) values[s.index] = static_cast<T>(getBits(image, s.bits));
}

// OptionalFeaturesBlock.values.
constexpr std::array<Setting, 18> kOptionalFeatureBits{{
    {{0x830, 4, 4}, 0, "squelch level"},
    {{0x831, 6, 2}, 1, "voice prompt"},
    {{0x831, 3, 3}, 2, "voice volume"},
    {{0x831, 2, 1}, 10, "wired clone"},
    {{0x831, 0, 2}, 4, "battery save"},
    {{0x832, 7, 1}, 5, "VOX on"},
    {{0x832, 6, 1}, 6, "VOX tone"},
    {{0x832, 5, 1}, 7, "channel lock"},
    {{0x832, 4, 1}, 8, "group select"},
    {{0x832, 0, 4}, 9, "time-out pre-alert time"},
    {{0x833, 6, 2}, 3, "tail elimination mode"},
    {{0x833, 5, 1}, 11, "tail elimination without signalling"},
    {{0x834, 0, 8}, 12, "time-out timer"},
    {{0x835, 0, 8}, 13, "time-out re-key time"},
    {{0x836, 0, 8}, 14, "time-out reset time"},
    {{0x837, 4, 4}, 16, "VOX delay"},
    {{0x837, 0, 4}, 15, "VOX level"},
    {{0x838, 0, 8}, 17, "channel group"},
}};

// ScanBlock.bytes.
constexpr std::array<Setting, 12> kScanBits{{
    {{0x840, 7, 1}, 0, "scan mode"},
    {{0x840, 6, 1}, 7, "scan entry tone"},
    {{0x840, 4, 2}, 1, "priority channel mode"},
    {{0x840, 0, 3}, 2, "revert channel"},
    {{0x841, 0, 8}, 8, "priority channel 1 group"},
    {{0x842, 0, 8}, 9, "priority channel 1 position"},
    {{0x843, 0, 8}, 10, "priority channel 2 group"},
    {{0x844, 0, 8}, 11, "priority channel 2 position"},
    {{0x845, 0, 8}, 3, "look-back time A"},
    {{0x846, 0, 8}, 4, "look-back time B"},
    {{0x847, 0, 8}, 5, "receive resume delay"},
    {{0x848, 0, 8}, 6, "transmit resume delay"},
}};

// DtmfBlock.settings.
constexpr std::array<Setting, 9> kDtmfBits{{
    {{0x849, 0, 8}, 0, "DTMF rate"},
    {{0x84A, 0, 8}, 1, "first digit time"},
    {{0x84B, 0, 8}, 2, "first digit delay"},
    {{0x84C, 0, 8}, 3, "* and # tone time"},
    {{0x84D, 0, 8}, 4, "D key setting"},
    {{0x84E, 7, 1}, 5, "DTMF sidetone"},
    {{0x84E, 4, 2}, 6, "call alert / auto answer"},
    {{0x84F, 0, 8}, 7, "group code"},
    {{0x850, 0, 8}, 8, "auto reset timer"},
}};
// The group code goes out as a whole byte, but the radio keeps it in the low
// half only, so that is all a read takes back.
constexpr Setting kDtmfGroupCodeRead{{0x84F, 0, 4}, 7, "group code"};

// AlertBlock.bytes.
constexpr std::array<Setting, 10> kAlertBits{{
    {{0x851, 3, 1}, 6, "channel selection"},
    {{0x851, 2, 1}, 1, "identification code type"},
    {{0x851, 0, 2}, 0, "emergency alarm type"},
    {{0x852, 0, 8}, 7, "emergency channel group"},
    {{0x853, 0, 8}, 8, "emergency channel position"},
    {{0x854, 0, 8}, 2, "identification code: DTMF memory number"},
    {{0x855, 0, 8}, 3, "alarm time"},
    {{0x856, 0, 8}, 4, "transmit time"},
    {{0x857, 0, 8}, 5, "receive time"},
    {{0x858, 0, 8}, 9, "cycle"},
}};
// The side record's byte shares the alert's first byte.
constexpr BitField kAlarmModeBits{0x851, 4, 1};

// KeyBlock.values, one byte each in their order.
constexpr std::array<Setting, 6> kKeyBits{{
    {{kKeys + 0, 0, 8}, 0, "long-press time"},
    {{kKeys + 1, 0, 8}, 1, "emergency long-press time"},
    {{kKeys + 2, 0, 8}, 2, "PF1 long press"},
    {{kKeys + 3, 0, 8}, 3, "PF1 short press"},
    {{kKeys + 4, 0, 8}, 4, "PF2 long press"},
    {{kKeys + 5, 0, 8}, 5, "PF2 short press"},
}};

// ---- Channel slots ------------------------------------------------------

struct ChannelBits {
  BitField bits;  // within the slot
  std::int16_t ChannelRecord::*field;
};

constexpr std::size_t kSlotFlagsStart = 8;  // tones, flags, auto-dial, direction
constexpr std::size_t kDecodeTone = 8;
constexpr std::size_t kEncodeTone = 9;
constexpr BitField kDecodeInverted{10, 7, 1};
constexpr BitField kEncodeInverted{11, 7, 1};
constexpr BitField kOffsetDirection{15, 4, 4};

// The slot's bits of the channel fields are in the channel field table; the
// step grids are the record's own, not fields a user edits.
constexpr std::array<ChannelBits, 2> kStepKindBits{{
    {{10, 0, 2}, &ChannelRecord::rxStepKind},
    {{11, 0, 2}, &ChannelRecord::txStepKind},
}};

BitField slotBitsOf(const ChannelFieldRow& row) {
  return {row.bits.byte, row.bits.shift, row.bits.width};
}

ByteSpan slotOf(ByteSpan image, std::size_t slot) {
  return image.subspan(slot * kSlotSize, kSlotSize);
}
Bytes slotOf(Bytes image, std::size_t slot) { return image.subspan(slot * kSlotSize, kSlotSize); }

// Channel n owns bit (n − 1) mod 8 of byte (n − 1) div 8 of each bitmap; a 0
// bit means present (or scanned), so erased memory reads as no channels.
void clearChannelBit(ByteSpan image, std::size_t bitmap, std::size_t slot) {
  auto& byte = image[bitmap + slot / 8];
  byte = static_cast<std::uint8_t>(byte & ~(1u << (slot % 8)));
}

bool channelBit(Bytes image, std::size_t bitmap, std::size_t slot) {
  return ((image[bitmap + slot / 8] >> (slot % 8)) & 1u) != 0;
}

// The radio counts a frequency as one number of 10 Hz units; the document
// holds the same count as decimal digits, and an odd count of digits is taken
// as missing its last one. Empty when there is no frequency to send.
std::optional<std::uint32_t> frequencyUnits(std::string_view stored) {
  std::string digits = TrimFixed(stored);
  if (digits.empty() || digits == kNoFrequency) return std::nullopt;
  if (digits.size() % 2 != 0) digits += '0';
  if (!std::all_of(digits.begin(), digits.end(), [](char c) { return c >= '0' && c <= '9'; })) {
    return std::nullopt;
  }
  std::uint32_t units = 0;
  const auto [end, ec] = std::from_chars(digits.data(), digits.data() + digits.size(), units);
  if (ec != std::errc{} || end != digits.data() + digits.size()) return std::nullopt;
  return units;
}

struct ToneByte {
  std::uint8_t code;
  bool inverted;
};

ToneByte toneToSlot(int index) {
  if (index >= kFirstInvertedDcsTone) {
    return {static_cast<std::uint8_t>((index - kInvertedToneShift) & 0xFF), true};
  }
  return {static_cast<std::uint8_t>(index & 0xFF), false};
}

std::int16_t toneFromSlot(std::uint8_t code, bool inverted) {
  return static_cast<std::int16_t>(code + (inverted ? kInvertedToneShift : 0));
}

void packChannel(const ChannelRecord& c, std::uint32_t rxUnits, ByteSpan slot,
                 const CodecContext& codec) {
  PutBigEndian32(slot.subspan(0, 4), rxUnits);
  // The radio wants the transmit frequency itself, not the document's offset.
  const std::string tx = FreqTextToStored(
      TxColumnText(c.rxFreq.raw(), c.offset.raw(), c.offsetDirection, false, codec), codec.limits);
  PutBigEndian32(slot.subspan(4, 4), frequencyUnits(tx).value_or(kNoFrequencyUnits));

  std::fill(slot.begin() + kSlotFlagsStart, slot.end(), std::uint8_t{0});
  const ToneByte decode = toneToSlot(c.decodeTone);
  const ToneByte encode = toneToSlot(c.encodeTone);
  slot[kDecodeTone] = decode.code;
  slot[kEncodeTone] = encode.code;
  putBits(slot, kDecodeInverted, decode.inverted ? 1 : 0);
  putBits(slot, kEncodeInverted, encode.inverted ? 1 : 0);
  for (const auto& b : kStepKindBits) putBits(slot, b.bits, c.*b.field);
  for (const auto& row : ChannelFields()) {
    if (row.bits.width > 0) putBits(slot, slotBitsOf(row), c.*row.member);
  }
  putBits(slot, kOffsetDirection, c.offsetDirection);
}

void unpackChannel(Bytes slot, bool skipped, ChannelRecord& c, const CodecContext& codec) {
  c.rxFreq.assign(std::to_string(BigEndian32(slot.subspan(0, 4))));
  c.scanSkip = skipped ? 1 : 0;
  // The radio holds a transmit frequency; the document holds direction and offset.
  const std::string tx = FreqStoredToText(std::to_string(BigEndian32(slot.subspan(4, 4))), codec);
  if (const auto offset = OffsetFromTexts(c.rxFreq.raw(), tx, false, "0", 0, codec)) {
    c.offsetDirection = offset->direction;
    c.offset.assign(offset->offset);
  } else {
    // Seven digits cannot hold a split of 100 MHz or more: such a radio
    // channel comes back transmitting on its receive frequency.
    c.offsetDirection = 0;
    c.offset.assign("0000000");
  }
  c.decodeTone = toneFromSlot(slot[kDecodeTone], getBits(slot, kDecodeInverted) != 0);
  c.encodeTone = toneFromSlot(slot[kEncodeTone], getBits(slot, kEncodeInverted) != 0);
  for (const auto& b : kStepKindBits) {
    c.*b.field = static_cast<std::int16_t>(getBits(slot, b.bits));
  }
  for (const auto& row : ChannelFields()) {
    if (row.bits.width > 0)
      c.*row.member = static_cast<std::int16_t>(getBits(slot, slotBitsOf(row)));
  }
}

// ---- Digit strings ------------------------------------------------------

// Anything that is no hexadecimal digit goes to the radio as 0, the digit
// that also pads short codes.
unsigned nibbleOf(char c) {
  if (c >= '0' && c <= '9') return static_cast<unsigned>(c - '0');
  if (c >= 'A' && c <= 'F') return static_cast<unsigned>(c - 'A' + 10);
  if (c >= 'a' && c <= 'f') return static_cast<unsigned>(c - 'a' + 10);
  return 0;
}

char digitOf(unsigned nibble) { return "0123456789ABCDEF"[nibble & 0xFu]; }

// Two digits per byte, the first in the high half; `digits` has an even length
// that fits `out`.
void putDigitPairs(ByteSpan out, std::string_view digits) {
  for (std::size_t i = 0; i + 1 < digits.size() && i / 2 < out.size(); i += 2) {
    out[i / 2] = static_cast<std::uint8_t>((nibbleOf(digits[i]) << 4) | nibbleOf(digits[i + 1]));
  }
}

std::string digitPairsOf(Bytes in, std::size_t count) {
  std::string digits;
  for (std::size_t i = 0; i < count && i / 2 < in.size(); ++i) {
    const unsigned byte = in[i / 2];
    digits += digitOf(i % 2 == 0 ? byte >> 4 : byte);
  }
  return digits;
}

// Single-byte characters up to the first 0x00 or 0xFF, the radio's text ends.
std::string textOf(Bytes in) {
  std::string text;
  for (std::uint8_t b : in) {
    if (b == 0x00 || b == 0xFF) break;
    text += static_cast<char>(b);
  }
  return text;
}

// ---- DTMF ---------------------------------------------------------------

ByteSpan codeSlotOf(ByteSpan image, std::size_t address) {
  return image.subspan(address, kSlotSize);
}

void packCode(const DtmfCodeRecord& code, ByteSpan slot) {
  // A damaged file may hold any count; the radio takes at most 16 digits.
  const int length = code.length >= 0 && code.length <= kMaxCodeDigits ? code.length : 0;
  std::string digits = DtmfDisplayToStored(TrimFixed(code.digits));
  // Only the counted digits are the code; an odd count leaves a half byte, sent as 0.
  digits.resize(static_cast<std::size_t>(length), '0');
  if (digits.size() % 2 != 0) digits += '0';
  putDigitPairs(slot.first(kCodeDigitBytes), digits);
  slot[kCodeCount] = static_cast<std::uint8_t>(length);
}

DtmfCodeRecord unpackCode(Bytes slot) {
  const int count = slot[kCodeCount] > kMaxCodeDigits ? 0 : slot[kCodeCount];
  DtmfCodeRecord code;
  code.length = static_cast<std::int16_t>(count);
  code.digits.assign(DtmfStoredToDisplay(
      digitPairsOf(slot.first(kCodeDigitBytes), static_cast<std::size_t>(count))));
  return code;
}

int idLengthOf(int length) {
  return length >= kMinIdDigits && length <= kMaxIdDigits ? length : kMinIdDigits;
}

void packDtmf(const DtmfBlock& dtmf, ByteSpan image) {
  packSettings(kDtmfBits, dtmf.settings, image);
  const int length = idLengthOf(dtmf.idLength);
  std::string id = TrimFixed(dtmf.idCode);
  id.resize(static_cast<std::size_t>(length), '0');
  id.resize(static_cast<std::size_t>(kMaxIdDigits), '0');
  putDigitPairs(image.subspan(kDtmfId, kDtmfIdBytes), id);
  image[kDtmfIdLength] = static_cast<std::uint8_t>(length);
  for (std::size_t i = 0; i < dtmf.specialCodes.size(); ++i) {
    packCode(dtmf.specialCodes[i], codeSlotOf(image, kDtmfSpecialCodes + i * kSlotSize));
  }
  for (std::size_t i = 0; i < dtmf.memories.size(); ++i) {
    packCode(dtmf.memories[i], codeSlotOf(image, kDtmfMemories + i * kSlotSize));
  }
}

void unpackDtmf(Bytes image, DtmfBlock& dtmf) {
  unpackSettings(kDtmfBits, image, dtmf.settings);
  dtmf.settings[kDtmfGroupCodeRead.index] =
      static_cast<std::int16_t>(getBits(image, kDtmfGroupCodeRead.bits));
  const int length = idLengthOf(image[kDtmfIdLength]);
  dtmf.idLength = static_cast<std::int16_t>(length);
  dtmf.idCode.assign(
      digitPairsOf(image.subspan(kDtmfId, kDtmfIdBytes), static_cast<std::size_t>(length)));
  for (std::size_t i = 0; i < dtmf.specialCodes.size(); ++i) {
    dtmf.specialCodes[i] = unpackCode(image.subspan(kDtmfSpecialCodes + i * kSlotSize, kSlotSize));
  }
  for (std::size_t i = 0; i < dtmf.memories.size(); ++i) {
    dtmf.memories[i] = unpackCode(image.subspan(kDtmfMemories + i * kSlotSize, kSlotSize));
  }
}

// ---- Test frequencies ---------------------------------------------------

// Pairs 1 to 11 are the document's; the radio holds five more that the run
// keeps beside it.
TestFrequencyRecord& testPair(RunState& state, std::size_t k) {
  auto& inDocument = state.workingDocument.testFrequencies;
  return k < inDocument.size() ? inDocument[k] : state.extraTestFrequencies[k - inDocument.size()];
}

static_assert(std::tuple_size_v<decltype(DocumentRecord::testFrequencies)> +
                  std::tuple_size_v<decltype(RunState::extraTestFrequencies)> ==
              kTestPairCount);

// Each digit of the stored text is one half byte; an empty text goes out as
// erased memory.
void packTestText(const FixedText<8>& text, ByteSpan out) {
  std::string digits = TrimFixed(text);
  if (digits.empty()) digits = kNoFrequency;
  digits.resize(8, '0');
  putDigitPairs(out, digits);
}

FixedText<8> unpackTestText(Bytes in) {
  std::string digits = digitPairsOf(in, 8);
  // A zeroed pair holds no frequency either.
  if (digits == "00000000") digits = kNoFrequency;
  return FixedText<8>(digits);
}

void packTestPairs(RunState& state, ByteSpan image) {
  for (std::size_t k = 0; k < kTestPairCount; ++k) {
    const auto pair = image.subspan(kTestPairs + k * kTestPairSize, kTestPairSize);
    packTestText(testPair(state, k).second, pair.subspan(0, 4));
    packTestText(testPair(state, k).first, pair.subspan(4, 4));
  }
}

void unpackTestPairs(Bytes image, RunState& state) {
  for (std::size_t k = 0; k < kTestPairCount; ++k) {
    const auto pair = image.subspan(kTestPairs + k * kTestPairSize, kTestPairSize);
    testPair(state, k).second = unpackTestText(pair.subspan(0, 4));
    testPair(state, k).first = unpackTestText(pair.subspan(4, 4));
  }
}

// ---- Embedded message ---------------------------------------------------

void packMessage(const EmbeddedMessageBlock& message, ByteSpan image) {
  for (std::size_t k = 0; k < message.lines.size(); ++k) {
    const std::string text = TrimFixed(message.lines[k]);
    const auto line = image.subspan(kMessage + k * kMessageLineSize, kMessageLineSize);
    for (std::size_t i = 0; i < line.size(); ++i) {
      line[i] = i < text.size() ? static_cast<std::uint8_t>(text[i]) : std::uint8_t{0};
    }
  }
}

void unpackMessage(Bytes image, EmbeddedMessageBlock& message) {
  for (std::size_t k = 0; k < message.lines.size(); ++k) {
    const auto line = image.subspan(kMessage + k * kMessageLineSize, kMessageLineSize);
    std::string text;
    for (std::uint8_t b : line) {
      if (b == 0xFF) break;
      text += static_cast<char>(b);
    }
    // A 0 ends the line too: the radio pads the line with it.
    message.lines[k].assign(TrimFixed(text));
  }
}

// ---- Identification -----------------------------------------------------

void packIdentification(RunState& state, ByteSpan image) {
  const std::string& model = state.model.currentModel;
  const int band = BandIndexOfLabel(state.model.currentBandLabel);
  state.workingDocument.modelInfo.modelName.assign(model);
  state.workingDocument.modelInfo.bandIndex = static_cast<std::int16_t>(band);

  for (std::size_t i = 0; i < kModelNameSize; ++i) {
    image[kIdentBlockAddress + i] =
        i < model.size() ? static_cast<std::uint8_t>(model[i]) : std::uint8_t{0};
  }
  image[kBandCode] = static_cast<std::uint8_t>(band);
  std::copy(kProgramVersion.begin(), kProgramVersion.end(), image.begin() + kVersion);
}

void unpackIdentification(Bytes image, RunState& state) {
  const std::string model = textOf(image.subspan(kIdentBlockAddress, kModelNameSize));
  const int band = image[kBandCode];
  state.workingDocument.modelInfo.modelName.assign(model);
  state.workingDocument.modelInfo.bandIndex = static_cast<std::int16_t>(band);
  state.model.currentModel = model;
  // A band this program does not know has no limits to check against; the
  // previous band stays current, but the radio's code is kept where it is shown.
  if (!BandLabelOfIndex(band).empty()) state.model.selectBandIndex(band);
  state.radioInfo.bandCode = band;
}

// ---- Information area ---------------------------------------------------

struct InfoField {
  std::size_t index;
  std::size_t size;
  std::string RadioInfoRecord::*field;
};

// The programming password at index 44 is the protocol's and is not shown.
constexpr std::array<InfoField, 11> kInfoFields{{
    {0, 4, &RadioInfoRecord::salesRegionCode},
    {16, 8, &RadioInfoRecord::productionBatch},
    {32, 4, &RadioInfoRecord::customerCode},
    {48, 16, &RadioInfoRecord::serialNumber},
    {64, 16, &RadioInfoRecord::productionDate},
    {80, 16, &RadioInfoRecord::repairDate},
    {96, 96, &RadioInfoRecord::repairReason},
    {432, 16, &RadioInfoRecord::dealerCode},
    {448, 16, &RadioInfoRecord::stockInDate},
    {464, 16, &RadioInfoRecord::saleDate},
    {480, 16, &RadioInfoRecord::handledBy},
}};

// ---- What each address holds ------------------------------------------

// The channel fields in the words of the channel windows, for naming the bits
// of a channel slot.
std::string_view channelFieldWords(ChannelField code) {
  switch (code) {
    case ChannelField::Power:
      return "transmit power";
    case ChannelField::OptionalSignalling:
      return "optional signalling";
    case ChannelField::Spacing:
      return "channel spacing";
    case ChannelField::PttId:
      return "PTT ID";
    case ChannelField::BusyLockout:
      return "busy channel lockout";
    case ChannelField::ScramblerTalkaround:
      return "scrambler/talkaround choice";
    case ChannelField::Autodial1:
      return "auto-dial memory 1";
    case ChannelField::Autodial2:
      return "auto-dial memory 2";
    case ChannelField::VoiceEncryption:
      return "voice encryption";
    case ChannelField::TxInhibit:
      return "transmit inhibit";
    case ChannelField::Talkaround:
      return "talkaround";
    case ChannelField::Scrambler:
      return "scrambler";
    case ChannelField::Whisper:
      return "whisper";
    case ChannelField::Compander:
      return "compander";
    case ChannelField::SignallingRelation:
      return "signalling relation";
    case ChannelField::Receive:
    case ChannelField::Transmit:
    case ChannelField::DecodeTone:
    case ChannelField::EncodeTone:
    case ChannelField::ScanSkip:
      break;
  }
  return {};
}

std::uint8_t bitsMask(BitField f) { return static_cast<std::uint8_t>(maskOf(f.width) << f.shift); }

void addBits(std::vector<ImageField>& fields, BitField f, std::string name) {
  fields.push_back({f.address, 1, bitsMask(f), std::move(name)});
}

void addSettings(std::vector<ImageField>& fields, std::span<const Setting> table,
                 std::string_view block) {
  for (const auto& s : table) addBits(fields, s.bits, std::string(block) + ": " + s.name);
}

void addChannel(std::vector<ImageField>& fields, std::size_t slot) {
  const std::string channel = "channel " + std::to_string(slot + 1) + " ";
  const std::size_t at = slot * kSlotSize;
  const auto inSlot = [at](BitField f) { return BitField{at + f.address, f.shift, f.width}; };
  fields.push_back({at, 4, 0xFF, channel + "receive frequency"});
  fields.push_back({at + 4, 4, 0xFF, channel + "transmit frequency"});
  fields.push_back({at + kDecodeTone, 1, 0xFF, channel + "decode tone"});
  fields.push_back({at + kEncodeTone, 1, 0xFF, channel + "encode tone"});
  addBits(fields, inSlot(kDecodeInverted), channel + "decode tone");
  addBits(fields, inSlot(kEncodeInverted), channel + "encode tone");
  addBits(fields, inSlot(kStepKindBits[0].bits), channel + "receive step");
  addBits(fields, inSlot(kStepKindBits[1].bits), channel + "transmit step");
  for (const auto& row : ChannelFields()) {
    if (row.bits.width > 0) {
      addBits(fields, inSlot(slotBitsOf(row)), channel + std::string(channelFieldWords(row.code)));
    }
  }
  addBits(fields, inSlot(kOffsetDirection), channel + "offset direction");
  const auto bit = static_cast<unsigned>(slot % 8);
  addBits(fields, {kPresentBitmap + slot / 8, bit, 1}, channel + "present");
  addBits(fields, {kScanBitmap + slot / 8, bit, 1}, channel + "scan skip");
}

void addCode(std::vector<ImageField>& fields, std::size_t address, const std::string& name) {
  fields.push_back({address, kCodeDigitBytes, 0xFF, name + " digits"});
  fields.push_back({address + kCodeCount, 1, 0xFF, name + " digit count"});
}

std::vector<ImageField> describeImage() {
  std::vector<ImageField> fields;
  for (std::size_t slot = 0; slot < kMaxChannels; ++slot) addChannel(fields, slot);
  addSettings(fields, kOptionalFeatureBits, "optional features");
  addSettings(fields, kKeyBits, "keys");
  addSettings(fields, kScanBits, "scan settings");
  // The radio keeps only the low half of the group code byte.
  for (const auto& s : kDtmfBits) {
    addBits(fields, s.index == kDtmfGroupCodeRead.index ? kDtmfGroupCodeRead.bits : s.bits,
            std::string("DTMF settings: ") + s.name);
  }
  addSettings(fields, kAlertBits, "emergency alert");
  addBits(fields, kAlarmModeBits, "emergency alert: alarm mode");
  fields.push_back({kDtmfId, kDtmfIdBytes, 0xFF, "DTMF ID code"});
  fields.push_back({kDtmfIdLength, 1, 0xFF, "DTMF ID code length"});
  constexpr std::array<const char*, 4> kSpecialCodes{"DTMF BOT code", "DTMF EOT code",
                                                     "DTMF stun code", "DTMF kill code"};
  for (std::size_t i = 0; i < kSpecialCodes.size(); ++i) {
    addCode(fields, kDtmfSpecialCodes + i * kSlotSize, kSpecialCodes[i]);
  }
  for (std::size_t m = 0; m < kDtmfMemoryCount; ++m) {
    addCode(fields, kDtmfMemories + m * kSlotSize,
            "DTMF auto-dial memory " + std::to_string(m + 1));
  }
  for (std::size_t k = 0; k < kTestPairCount; ++k) {
    const std::string pair = "test frequency pair " + std::to_string(k + 1);
    fields.push_back({kTestPairs + k * kTestPairSize, 4, 0xFF, pair + ", second frequency"});
    fields.push_back({kTestPairs + k * kTestPairSize + 4, 4, 0xFF, pair + ", first frequency"});
  }
  for (std::size_t k = 0; k < 4; ++k) {
    fields.push_back({kMessage + k * kMessageLineSize, kMessageLineSize, 0xFF,
                      "embedded message line " + std::to_string(k + 1)});
  }
  fields.push_back({kIdentBlockAddress, kModelNameSize, 0xFF, "identification: model name"});
  fields.push_back({kBandCode, 1, 0xFF, "identification: band code"});
  fields.push_back({kVersion, 4, 0xFF, "identification: firmware version"});
  fields.push_back({kCapabilityByte, 1, 0xFF, "identification: capability flags"});
  // By address; the fields of one byte stay in the order above (a bitmap's in channel order).
  std::stable_sort(fields.begin(), fields.end(),
                   [](const ImageField& a, const ImageField& b) { return a.address < b.address; });
  return fields;
}

}  // namespace

const std::vector<ImageField>& RadioImageFields() {
  static const std::vector<ImageField> fields = describeImage();
  return fields;
}

std::string DescribeRadioAddress(std::size_t address) {
  std::string names;
  for (const auto& f : RadioImageFields()) {
    if (address < f.address || address >= f.address + f.size) continue;
    // One name for a field whose bits lie in one byte with the rest of it.
    if (names.find(f.name) != std::string::npos) continue;
    if (!names.empty()) names += ", ";
    names += f.name;
  }
  return names.empty() ? std::string("not used") : names;
}

void ClearImage(RadioImage& image) { image.fill(0xFF); }

void PackDocumentToImage(RunState& state, RadioImage& image, const CodecContext& codec) {
  const ByteSpan out(image);
  std::fill(out.begin(), out.begin() + kPackedAreaEnd, std::uint8_t{0xFF});

  const auto& doc = state.workingDocument;
  for (const auto& channel : doc.usedChannels()) {
    // A damaged file may number a channel outside the radio's 128 slots.
    if (channel.number < 1 || channel.number > static_cast<int>(kMaxChannels)) continue;
    // Without a receive frequency the slot stays erased and the radio sees no channel.
    const auto rxUnits = frequencyUnits(channel.rxFreq.raw());
    if (!rxUnits) continue;
    const auto slot = static_cast<std::size_t>(channel.number - 1);
    clearChannelBit(out, kPresentBitmap, slot);
    if (channel.scanSkip == 0) clearChannelBit(out, kScanBitmap, slot);
    packChannel(channel, *rxUnits, slotOf(out, slot), codec);
  }

  packTestPairs(state, out);
  packIdentification(state, out);
  packSettings(kOptionalFeatureBits, doc.optionalFeatures.values, out);
  packDtmf(doc.dtmf, out);
  packMessage(doc.message, out);
  packSettings(kKeyBits, doc.keys.values, out);
  packSettings(kScanBits, doc.scan.bytes, out);
  packSettings(kAlertBits, doc.alert.bytes, out);
  putBits(out, kAlarmModeBits, state.workingSide.alarmMode);
}

void UnpackRadioImage(const RadioImage& image, RunState& state, const CodecContext& codec) {
  const Bytes in(image);
  auto& doc = state.workingDocument;
  doc.channelCount = 0;
  for (std::size_t slot = 0; slot < kMaxChannels; ++slot) {
    if (channelBit(in, kPresentBitmap, slot)) continue;
    const int index = AppendChannel(doc, static_cast<int>(slot + 1), {}, codec.limits);
    unpackChannel(slotOf(in, slot), channelBit(in, kScanBitmap, slot),
                  doc.channels[static_cast<std::size_t>(index)], codec);
  }

  unpackTestPairs(in, state);
  unpackIdentification(in, state);
  unpackSettings(kOptionalFeatureBits, in, doc.optionalFeatures.values);
  unpackDtmf(in, doc.dtmf);
  unpackMessage(in, doc.message);
  unpackSettings(kKeyBits, in, doc.keys.values);
  unpackSettings(kAlertBits, in, doc.alert.bytes);
  state.workingSide.alarmMode = static_cast<std::uint8_t>(getBits(in, kAlarmModeBits));
  unpackSettings(kScanBits, in, doc.scan.bytes);

  DeriveCapabilityFlags(image[kCapabilityByte], state);
  // The radio's data are a document of their own: nothing before them can be undone.
  StartNewHistory(state);
}

void UnpackInfoArea(const RadioInfoArea& area, RadioInfoRecord& info) {
  const Bytes in(area);
  for (const auto& f : kInfoFields) info.*f.field = textOf(in.subspan(f.index, f.size));
}

CapabilityFlags DeriveCapabilityFlags(std::uint8_t capabilityByte, RunState& state) {
  CapabilityFlags flags;
  for (std::size_t i = 0; i < flags.bits.size(); ++i) {
    flags.bits[i] = ((capabilityByte >> i) & 1u) != 0;
  }
  state.link.currentCapabilities = flags;
  // Setting.ini keeps the flags from bit 3 down to bit 0. A flag once seen
  // set stays set, so the program remembers what any radio it met could do.
  auto& known = state.knownCapabilities;
  for (std::size_t k = 0; k < known.size(); ++k) {
    if (known[k] == 0) known[k] = flags.bits[known.size() - 1 - k] ? 1 : 0;
  }
  return flags;
}

}  // namespace cps
