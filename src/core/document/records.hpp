// The document of one radio and its blocks, with their byte-exact images: the
// 8595-byte data file and the 5-byte side file. Plain value types.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string_view>

#include "core/document/bytes.hpp"

namespace cps {

// The format version this program writes into every data file and side file,
// and the firmware version of the radios it programs.
inline constexpr std::string_view kProgramVersion = "V200";

inline constexpr std::size_t kMaxChannels = 128;
inline constexpr std::size_t kChannelsPerGroup = 16;
inline constexpr std::size_t kGroupCount = 8;
inline constexpr std::size_t kDtmfMemoryCount = 16;

struct ChannelRecord {
  static constexpr std::size_t kSize = 60;

  std::int16_t number = 0;  // 1 to 128, unique in the list
  std::int16_t reserved = 0;
  FixedText<8> rxFreq;               // 10 Hz units, "43510000"; "FFFFFFFF" or blank: none
  std::uint8_t offsetDirection = 0;  // 0 simplex, 1 minus, 2 plus
  FixedText<7> offset;               // 10 Hz units, "0500000" is 5 MHz
  std::int16_t decodeTone = 0;       // tone index 0 to 282
  std::int16_t encodeTone = 0;
  std::int16_t rxStepKind = 0;  // 0: 5 kHz grid, 1: 6.25 kHz, 2: 8.33 kHz
  std::int16_t txStepKind = 0;
  std::int16_t txInhibit = 0;
  std::int16_t scramblerTalkaround = 0;
  std::int16_t voiceEncryption = 0;
  std::int16_t busyLockout = 0;  // 0 off, 1 carrier, 2 tone
  std::int16_t talkaround = 0;
  std::int16_t signallingRelation = 0;
  std::int16_t whisper = 0;
  std::int16_t pttId = 0;
  std::int16_t spacing = 0;
  std::int16_t optionalSignalling = 0;
  std::int16_t compander = 0;
  std::int16_t scrambler = 0;
  std::int16_t power = 0;
  std::int16_t autodial1 = 0;  // 0 none, 1 to 16 a DTMF memory
  std::int16_t autodial2 = 0;
  std::int16_t scanSkip = 0;

  void write(ByteWriter& w) const;
  static ChannelRecord read(ByteReader& r);
  bool operator==(const ChannelRecord&) const = default;
};

struct FmPresetRecord {
  static constexpr std::size_t kSize = 10;
  std::int16_t empty = 1;  // 1: unused, 0: holds a frequency
  FixedText<8> frequency;

  void write(ByteWriter& w) const;
  static FmPresetRecord read(ByteReader& r);
  bool operator==(const FmPresetRecord&) const = default;
};

struct TestFrequencyRecord {
  static constexpr std::size_t kSize = 16;
  FixedText<8> first;
  FixedText<8> second;

  void write(ByteWriter& w) const;
  static TestFrequencyRecord read(ByteReader& r);
  bool operator==(const TestFrequencyRecord&) const = default;
};

struct ModelInfoRecord {
  static constexpr std::size_t kSize = 9;
  FixedText<7> modelName;
  std::int16_t bandIndex = 0;

  void write(ByteWriter& w) const;
  static ModelInfoRecord read(ByteReader& r);
  bool operator==(const ModelInfoRecord&) const = default;
};

struct OptionalFeaturesBlock {
  static constexpr std::size_t kSize = 36;
  static constexpr std::size_t kSquelch = 0;
  static constexpr std::size_t kVoicePrompt = 1;
  static constexpr std::size_t kVoiceVolume = 2;
  static constexpr std::size_t kTailElimination = 3;
  static constexpr std::size_t kBatterySave = 4;
  static constexpr std::size_t kVox = 5;
  static constexpr std::size_t kVoxTone = 6;
  static constexpr std::size_t kChannelLock = 7;
  static constexpr std::size_t kGroupSelect = 8;
  static constexpr std::size_t kTotPreAlert = 9;
  static constexpr std::size_t kWiredClone = 10;
  static constexpr std::size_t kTailEliminationNoSignalling = 11;
  static constexpr std::size_t kTot = 12;  // seconds, a multiple of 15
  static constexpr std::size_t kTotRekey = 13;
  static constexpr std::size_t kTotReset = 14;
  static constexpr std::size_t kVoxLevel = 15;
  static constexpr std::size_t kVoxDelay = 16;
  static constexpr std::size_t kChannelGroup = 17;
  std::array<std::int16_t, 18> values{};

  void write(ByteWriter& w) const;
  static OptionalFeaturesBlock read(ByteReader& r);
  bool operator==(const OptionalFeaturesBlock&) const = default;
};

struct DtmfCodeRecord {
  static constexpr std::size_t kSize = 18;
  std::int16_t length = 0;  // significant characters; above 0 marks the code as defined
  FixedText<16> digits;

  void write(ByteWriter& w) const;
  static DtmfCodeRecord read(ByteReader& r);
  bool operator==(const DtmfCodeRecord&) const = default;
};

struct DtmfBlock {
  static constexpr std::size_t kSize = 390;
  // Places in `settings`. The four timings hold milliseconds ÷ 50.
  static constexpr std::size_t kRate = 0;
  static constexpr std::size_t kFirstDigitTime = 1;
  static constexpr std::size_t kFirstDigitDelay = 2;
  static constexpr std::size_t kStarHashTime = 3;
  static constexpr std::size_t kDKey = 4;
  static constexpr std::size_t kSidetone = 5;
  static constexpr std::size_t kCallAlert = 6;
  static constexpr std::size_t kGroupCode = 7;
  static constexpr std::size_t kAutoReset = 8;
  // Places in `specialCodes`.
  static constexpr std::size_t kBot = 0;
  static constexpr std::size_t kEot = 1;
  static constexpr std::size_t kStun = 2;
  static constexpr std::size_t kKill = 3;
  std::array<std::int16_t, 9> settings{};
  FixedText<10> idCode;
  std::int16_t idLength = 0;  // 3 to 10
  // Begin-of-transmission, end-of-transmission, stun and kill codes.
  std::array<DtmfCodeRecord, 4> specialCodes{};
  std::array<DtmfCodeRecord, kDtmfMemoryCount> memories{};  // auto-dial memories 1 to 16

  void write(ByteWriter& w) const;
  static DtmfBlock read(ByteReader& r);
  bool operator==(const DtmfBlock&) const = default;
};

struct EmbeddedMessageBlock {
  static constexpr std::size_t kSize = 64;
  std::array<FixedText<16>, 4> lines{};

  void write(ByteWriter& w) const;
  static EmbeddedMessageBlock read(ByteReader& r);
  bool operator==(const EmbeddedMessageBlock&) const = default;
};

struct KeyBlock {
  static constexpr std::size_t kSize = 12;
  // Places in `values`: two long-press times in tenths of a second, then the
  // function codes of the two programmable keys.
  static constexpr std::size_t kLongPressTime = 0;
  static constexpr std::size_t kEmergencyLongPressTime = 1;
  static constexpr std::size_t kPf1Long = 2;
  static constexpr std::size_t kPf1Short = 3;
  static constexpr std::size_t kPf2Long = 4;
  static constexpr std::size_t kPf2Short = 5;
  std::array<std::int16_t, 6> values{};

  void write(ByteWriter& w) const;
  static KeyBlock read(ByteReader& r);
  bool operator==(const KeyBlock&) const = default;
};

struct AlertBlock {
  static constexpr std::size_t kSize = 10;
  static constexpr std::size_t kAlarmType = 0;
  static constexpr std::size_t kIdType = 1;
  static constexpr std::size_t kIdMemory = 2;  // a DTMF auto-dial memory, 0 none
  static constexpr std::size_t kAlarmTime = 3;
  static constexpr std::size_t kTxTime = 4;
  static constexpr std::size_t kRxTime = 5;
  static constexpr std::size_t kChannelSelect = 6;
  static constexpr std::size_t kChannelGroup = 7;  // bytes 7 and 8: the alert channel
  static constexpr std::size_t kChannelPosition = 8;
  static constexpr std::size_t kCycle = 9;
  std::array<std::uint8_t, 10> bytes{};

  void write(ByteWriter& w) const;
  static AlertBlock read(ByteReader& r);
  bool operator==(const AlertBlock&) const = default;
};

struct ScanBlock {
  static constexpr std::size_t kSize = 12;
  static constexpr std::size_t kMode = 0;
  static constexpr std::size_t kPriorityMode = 1;
  static constexpr std::size_t kRevert = 2;  // a place in the table of revert choices
  static constexpr std::size_t kLookBackA = 3;
  static constexpr std::size_t kLookBackB = 4;
  static constexpr std::size_t kRxResumeDelay = 5;
  static constexpr std::size_t kTxResumeDelay = 6;
  static constexpr std::size_t kEntryTone = 7;
  // Bytes 8 and 9, and 10 and 11: the two priority channel references.
  static constexpr std::size_t kFirstChannelGroup = 8;
  static constexpr std::size_t kSecondChannelGroup = 10;
  std::array<std::uint8_t, 12> bytes{};

  void write(ByteWriter& w) const;
  static ScanBlock read(ByteReader& r);
  bool operator==(const ScanBlock&) const = default;
};

struct DocumentRecord {
  static constexpr std::size_t kSize = 8595;
  using Image = std::array<std::uint8_t, kSize>;

  FixedText<4> version{kProgramVersion};
  std::int16_t channelCount = 0;
  std::array<ChannelRecord, kMaxChannels> channels{};
  std::array<FmPresetRecord, 20> fmPresets{};
  std::array<TestFrequencyRecord, 11> testFrequencies{};
  ModelInfoRecord modelInfo;
  OptionalFeaturesBlock optionalFeatures;
  DtmfBlock dtmf;
  EmbeddedMessageBlock message;
  KeyBlock keys;
  AlertBlock alert;
  ScanBlock scan;

  Image toBytes() const;
  // Empty unless the input is exactly one file image long.
  static std::optional<DocumentRecord> fromBytes(Bytes image);
  bool operator==(const DocumentRecord&) const = default;

  // The entries in use. A count outside 0 to 128, as a damaged file may hold,
  // is limited to that range so that no caller walks past the table.
  int usedCount() const;
  std::span<ChannelRecord> usedChannels();
  std::span<const ChannelRecord> usedChannels() const;
};

// File offsets of the blocks in the data file.
namespace offsets {
inline constexpr std::size_t kVersion = 0;
inline constexpr std::size_t kChannelCount = 4;
inline constexpr std::size_t kChannels = 6;
inline constexpr std::size_t kFmPresets = 7686;
inline constexpr std::size_t kTestFrequencies = 7886;
inline constexpr std::size_t kModelInfo = 8062;
inline constexpr std::size_t kOptionalFeatures = 8071;
inline constexpr std::size_t kDtmf = 8107;
inline constexpr std::size_t kEmbeddedMessage = 8497;
inline constexpr std::size_t kKeys = 8561;
inline constexpr std::size_t kAlert = 8573;
inline constexpr std::size_t kScan = 8583;
}  // namespace offsets

struct SideFileRecord {
  static constexpr std::size_t kSize = 5;
  using Image = std::array<std::uint8_t, kSize>;

  FixedText<4> version{kProgramVersion};
  std::uint8_t alarmMode = 1;

  Image toBytes() const;
  static std::optional<SideFileRecord> fromBytes(Bytes image);
  bool operator==(const SideFileRecord&) const = default;
};

}  // namespace cps
