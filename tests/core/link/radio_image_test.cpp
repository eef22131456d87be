// The radio's memory image: the document packed into it before a write, the
// image unpacked into the document after a read, the information area and the
// capability byte. Expected bytes are written out as the radio holds them.
#include "core/link/radio_image.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstdio>
#include <functional>
#include <random>
#include <string>
#include <type_traits>
#include <vector>

#include "../document/test_support.hpp"
#include "core/document/channel_fields.hpp"
#include "core/document/channel_list.hpp"
#include "core/document/codec.hpp"
#include "core/document/edit_history.hpp"
#include "core/document/instances.hpp"
#include "core/document/records.hpp"
#include "core/run_state.hpp"

namespace cps {
namespace {

using testing::ChannelNumbers;
using testing::MakeChannel;
using testing::Raw;
using testing::RecordingObserver;
using testing::ScriptedPrompter;
using testing::SetChannels;

// "02 97 F2 B4": bytes as a radio engineer reads them off a memory dump.
template <std::size_t N>
std::string Hex(const std::array<std::uint8_t, N>& bytes, std::size_t address, std::size_t count) {
  std::string out;
  for (std::size_t i = 0; i < count; ++i) {
    char digits[4];
    std::snprintf(digits, sizeof digits, "%02X", bytes.at(address + i));
    if (!out.empty()) out += ' ';
    out += digits;
  }
  return out;
}

std::string HexByte(std::uint8_t byte) { return Hex(std::array<std::uint8_t, 1>{byte}, 0, 1); }

// count bytes of one value, as Hex shows them.
std::string Filled(std::uint8_t byte, std::size_t count) {
  std::string out;
  for (std::size_t i = 0; i < count; ++i) out += (i == 0 ? "" : " ") + HexByte(byte);
  return out;
}

// Erased memory, as a radio that was never programmed holds it.
std::string Erased(std::size_t count) { return Filled(0xFF, count); }

std::vector<std::size_t> ChangedAddresses(const RadioImage& before, const RadioImage& after) {
  std::vector<std::size_t> changed;
  for (std::size_t a = 0; a < before.size(); ++a) {
    if (before[a] != after[a]) changed.push_back(a);
  }
  return changed;
}

std::vector<ChannelRecord> ChannelsByNumber(const DocumentRecord& doc) {
  std::vector<ChannelRecord> channels(doc.usedChannels().begin(), doc.usedChannels().end());
  std::sort(channels.begin(), channels.end(),
            [](const ChannelRecord& a, const ChannelRecord& b) { return a.number < b.number; });
  return channels;
}

class RadioImageTest : public ::testing::Test {
 protected:
  RunState state;
  ScriptedPrompter prompter;
  RadioImage image{};

  CodecContext codec() { return {state.model.limits, prompter}; }
  DocumentRecord& doc() { return state.workingDocument; }
  void pack() {
    ClearImage(image);
    PackDocumentToImage(state, image, codec());
  }
  void unpack() { UnpackRadioImage(image, state, codec()); }
  void unpackInto(RunState& other) {
    UnpackRadioImage(image, other, CodecContext{other.model.limits, prompter});
  }
  // Channel n's 16-byte slot.
  std::string slotHex(int n) { return Hex(image, static_cast<std::size_t>(n - 1) * 16, 16); }
};

// A channel with every option off, simplex, on 435.12500 MHz.
ChannelRecord PlainChannel(int number) {
  ChannelRecord c = MakeChannel(number, "43512500", 0, "0000000");
  c.power = 0;
  return c;
}

// ---- Channel slots ------------------------------------------------------

TEST_F(RadioImageTest, FullySetChannelFillsItsSlotByteByByte) {
  ChannelRecord c = MakeChannel(1, "43512500", 2, "0500000");
  c.decodeTone = 170;
  c.encodeTone = 13;
  c.txInhibit = 1;
  c.scramblerTalkaround = 1;
  c.voiceEncryption = 1;
  c.busyLockout = 2;
  c.rxStepKind = 1;
  c.talkaround = 1;
  c.signallingRelation = 1;
  c.whisper = 1;
  c.pttId = 3;
  c.txStepKind = 2;
  c.spacing = 3;
  c.optionalSignalling = 2;
  c.compander = 1;
  c.scrambler = 1;
  c.power = 3;
  c.autodial1 = 16;
  c.autodial2 = 5;
  SetChannels(doc(), {c});
  pack();

  // Receive 435.12500, transmit 440.12500 (5 MHz up), decode 170 as 54 with
  // its inverted flag, encode 13, the three flag bytes, auto-dial 16 and 5,
  // direction plus in the high half of the last byte.
  EXPECT_EQ(slotHex(1), "02 97 F2 B4 02 9F 93 D4 36 0D F9 7E EF 10 05 20");
  EXPECT_TRUE(prompter.asked.empty());

  unpack();
  ASSERT_EQ(doc().usedCount(), 1);
  EXPECT_EQ(doc().channels[0], c);
}

struct ChannelFlagCase {
  const char* what;
  std::int16_t ChannelRecord::*field;
  int value;
  std::size_t slotByte;
  std::uint8_t expected;
};

void PrintTo(const ChannelFlagCase& c, std::ostream* os) { *os << c.what; }

class ChannelFlagTest : public RadioImageTest,
                        public ::testing::WithParamInterface<ChannelFlagCase> {};

TEST_P(ChannelFlagTest, LandsInItsBitsAndComesBack) {
  const auto& c = GetParam();
  SetChannels(doc(), {PlainChannel(5)});
  pack();
  const RadioImage plain = image;

  ChannelRecord flagged = PlainChannel(5);
  flagged.*c.field = static_cast<std::int16_t>(c.value);
  SetChannels(doc(), {flagged});
  pack();

  const std::size_t address = 4 * 16 + c.slotByte;
  EXPECT_EQ(ChangedAddresses(plain, image), std::vector<std::size_t>{address});
  EXPECT_EQ(Hex(image, address, 1), HexByte(c.expected));

  unpack();
  ASSERT_EQ(doc().usedCount(), 1);
  EXPECT_EQ(doc().channels[0].*c.field, c.value);
}

INSTANTIATE_TEST_SUITE_P(
    Slot, ChannelFlagTest,
    ::testing::Values(
        ChannelFlagCase{"transmit inhibit", &ChannelRecord::txInhibit, 1, 10, 0x40},
        ChannelFlagCase{"scrambler/talkaround choice", &ChannelRecord::scramblerTalkaround, 1, 10,
                        0x20},
        ChannelFlagCase{"voice encryption", &ChannelRecord::voiceEncryption, 1, 10, 0x10},
        ChannelFlagCase{"busy lockout by tone", &ChannelRecord::busyLockout, 2, 10, 0x08},
        ChannelFlagCase{"busy lockout by carrier", &ChannelRecord::busyLockout, 1, 10, 0x04},
        ChannelFlagCase{"receive step 8.33 kHz", &ChannelRecord::rxStepKind, 2, 10, 0x02},
        ChannelFlagCase{"talkaround", &ChannelRecord::talkaround, 1, 11, 0x40},
        ChannelFlagCase{"signalling relation", &ChannelRecord::signallingRelation, 1, 11, 0x20},
        ChannelFlagCase{"whisper", &ChannelRecord::whisper, 1, 11, 0x10},
        ChannelFlagCase{"PTT ID 3", &ChannelRecord::pttId, 3, 11, 0x0C},
        ChannelFlagCase{"transmit step 6.25 kHz", &ChannelRecord::txStepKind, 1, 11, 0x01},
        ChannelFlagCase{"channel spacing 3", &ChannelRecord::spacing, 3, 12, 0xC0},
        ChannelFlagCase{"optional signalling 2", &ChannelRecord::optionalSignalling, 2, 12, 0x20},
        ChannelFlagCase{"compander", &ChannelRecord::compander, 1, 12, 0x08},
        ChannelFlagCase{"scrambler", &ChannelRecord::scrambler, 1, 12, 0x04},
        ChannelFlagCase{"transmit power 3", &ChannelRecord::power, 3, 12, 0x03},
        ChannelFlagCase{"auto-dial memory 1", &ChannelRecord::autodial1, 16, 13, 0x10},
        ChannelFlagCase{"auto-dial memory 2", &ChannelRecord::autodial2, 7, 14, 0x07}));

struct ToneCase {
  int index;
  std::uint8_t code;
  bool inverted;
};

class ToneTest : public RadioImageTest, public ::testing::WithParamInterface<ToneCase> {};

TEST_P(ToneTest, InvertedDcsSharesTheByteOfItsNormalCode) {
  const auto& t = GetParam();
  ChannelRecord c = PlainChannel(1);
  c.decodeTone = static_cast<std::int16_t>(t.index);
  ChannelRecord d = PlainChannel(2);
  d.encodeTone = static_cast<std::int16_t>(t.index);
  SetChannels(doc(), {c, d});
  pack();

  const std::uint8_t flag = t.inverted ? 0x80 : 0x00;
  EXPECT_EQ(Hex(image, 8, 1), HexByte(t.code));
  EXPECT_EQ(Hex(image, 10, 1), HexByte(flag));
  EXPECT_EQ(Hex(image, 16 + 9, 1), HexByte(t.code));
  EXPECT_EQ(Hex(image, 16 + 11, 1), HexByte(flag));

  unpack();
  ASSERT_EQ(doc().usedCount(), 2);
  EXPECT_EQ(doc().channels[0].decodeTone, t.index);
  EXPECT_EQ(doc().channels[1].encodeTone, t.index);
}

INSTANTIATE_TEST_SUITE_P(Slot, ToneTest,
                         ::testing::Values(ToneCase{0, 0, false}, ToneCase{1, 1, false},
                                           ToneCase{50, 50, false}, ToneCase{51, 51, false},
                                           ToneCase{166, 166, false}, ToneCase{167, 51, true},
                                           ToneCase{170, 54, true}, ToneCase{282, 166, true},
                                           ToneCase{300, 184, true}));

struct TransmitCase {
  const char* what;
  const char* rx;
  int direction;
  const char* offset;
  const char* txHex;
  int readDirection;
  const char* readOffset;
};

void PrintTo(const TransmitCase& c, std::ostream* os) { *os << c.what; }

class TransmitTest : public RadioImageTest, public ::testing::WithParamInterface<TransmitCase> {};

TEST_P(TransmitTest, RadioHoldsTheTransmitFrequencyAndTheDocumentItsOffset) {
  const auto& t = GetParam();
  ChannelRecord c = PlainChannel(3);
  c.rxFreq.assign(t.rx);
  c.offsetDirection = static_cast<std::uint8_t>(t.direction);
  c.offset = t.offset == nullptr ? testing::NulOffset() : FixedText<7>(t.offset);
  SetChannels(doc(), {c});
  pack();
  EXPECT_EQ(Hex(image, 2 * 16 + 4, 4), t.txHex);
  EXPECT_EQ(Hex(image, 2 * 16 + 15, 1), HexByte(static_cast<std::uint8_t>(t.direction << 4)));

  unpack();
  ASSERT_EQ(doc().usedCount(), 1);
  EXPECT_EQ(doc().channels[0].offsetDirection, t.readDirection);
  EXPECT_EQ(Raw(doc().channels[0].offset), t.readOffset);
  EXPECT_TRUE(prompter.asked.empty());
}

INSTANTIATE_TEST_SUITE_P(
    Slot, TransmitTest,
    ::testing::Values(
        TransmitCase{"simplex", "43512500", 0, "0000000", "02 97 F2 B4", 0, "0000000"},
        TransmitCase{"plus 5 MHz", "43512500", 2, "0500000", "02 9F 93 D4", 2, "0500000"},
        TransmitCase{"minus 600 kHz", "14500000", 1, "0060000", "00 DC 56 40", 1, "0060000"},
        // A simplex channel sends on its receive frequency whatever offset it keeps.
        TransmitCase{"simplex keeping an offset", "43512500", 0, "0500000", "02 97 F2 B4", 0,
                     "0000000"},
        TransmitCase{"new channel without offset", "43512500", 0, nullptr, "02 97 F2 B4", 0,
                     "0000000"}));

// The channel field table says both what an edit may store and where the slot
// keeps it: every value an edit accepts must come back from the radio as it went.
TEST_F(RadioImageTest, EveryValueAChannelFieldTakesComesBackFromTheRadio) {
  for (const auto& field : ChannelFields()) {
    if (field.member == nullptr) continue;
    for (int value = 0; value <= field.maximum; ++value) {
      ChannelRecord c = PlainChannel(7);
      c.*field.member = static_cast<std::int16_t>(value);
      SetChannels(doc(), {c});
      pack();
      unpack();
      ASSERT_EQ(doc().usedCount(), 1) << field.name;
      EXPECT_EQ(doc().channels[0].*field.member, value) << field.name;
    }
  }
}

TEST_F(RadioImageTest, SevenDigitReceiveTextIsTakenWithAMissingLastDigit) {
  ChannelRecord c = PlainChannel(1);
  c.rxFreq.assign("4351250");
  SetChannels(doc(), {c});
  pack();
  EXPECT_EQ(Hex(image, 0, 8), "02 97 F2 B4 02 97 F2 B4");
}

TEST_F(RadioImageTest, SplitOfHundredMegahertzOrMoreReadsBackAsSimplex) {
  SetChannels(doc(), {PlainChannel(1)});
  pack();
  image[4] = 0x00;  // transmit 0.00000 MHz, 435 MHz below receive
  image[5] = 0x00;
  image[6] = 0x00;
  image[7] = 0x00;
  unpack();
  ASSERT_EQ(doc().usedCount(), 1);
  EXPECT_EQ(doc().channels[0].offsetDirection, 0);
  EXPECT_EQ(Raw(doc().channels[0].offset), "0000000");
}

TEST_F(RadioImageTest, SlotValuesBeyondTheDocumentsRangeAreKeptAsTheBitsGiveThem) {
  SetChannels(doc(), {PlainChannel(1)});
  pack();
  image[8] = 0xFF;   // decode code 255 ...
  image[10] = 0x83;  // ... inverted, receive step kind 3
  image[13] = 200;   // auto-dial memory 200
  unpack();
  ASSERT_EQ(doc().usedCount(), 1);
  const auto& c = doc().channels[0];
  EXPECT_EQ(c.decodeTone, 255 + 116);
  EXPECT_EQ(c.rxStepKind, 3);
  EXPECT_EQ(c.autodial1, 200);
}

// ---- Bitmaps and the channel list ---------------------------------------

TEST_F(RadioImageTest, FirstAndLastChannelOnlyClearTheirBitmapBits) {
  SetChannels(doc(), {PlainChannel(128), PlainChannel(1)});
  pack();
  EXPECT_EQ(Hex(image, 0x800, 16), "FE " + Erased(14) + " 7F");
  EXPECT_EQ(Hex(image, 0x810, 16), "FE " + Erased(14) + " 7F");
  EXPECT_EQ(Hex(image, 16, 126 * 16), Erased(126 * 16));  // slots 2 to 127
}

TEST_F(RadioImageTest, SkippedChannelExistsButIsNotScanned) {
  ChannelRecord skipped = PlainChannel(10);
  skipped.scanSkip = 1;
  SetChannels(doc(), {PlainChannel(9), skipped});
  pack();
  // Channels 9 and 10 are bits 0 and 1 of the second byte.
  EXPECT_EQ(Hex(image, 0x801, 1), "FC");
  EXPECT_EQ(Hex(image, 0x811, 1), "FE");

  unpack();
  ASSERT_EQ(doc().usedCount(), 2);
  EXPECT_EQ(doc().channels[0].scanSkip, 0);
  EXPECT_EQ(doc().channels[1].scanSkip, 1);
}

TEST_F(RadioImageTest, EntriesWithoutAReceiveFrequencyLeaveTheirSlotErased) {
  const char* const noFrequency[] = {"", "FFFFFFFF", "ABC"};
  std::vector<ChannelRecord> channels;
  for (int n = 1; n <= 3; ++n) {
    ChannelRecord c = PlainChannel(n);
    c.rxFreq.assign(noFrequency[n - 1]);
    channels.push_back(c);
  }
  ChannelRecord nul = PlainChannel(4);
  nul.rxFreq = NulText<8>();
  channels.push_back(nul);
  SetChannels(doc(), channels);
  pack();
  EXPECT_EQ(Hex(image, 0x800, 1), "FF");
  EXPECT_EQ(Hex(image, 0x810, 1), "FF");
  EXPECT_EQ(Hex(image, 0, 4 * 16), Erased(4 * 16));
}

TEST_F(RadioImageTest, ChannelNumbersOutsideTheRadioAreNotPacked) {
  ChannelRecord zero = PlainChannel(0);
  ChannelRecord beyond = PlainChannel(129);
  SetChannels(doc(), {zero, beyond});
  pack();
  EXPECT_EQ(Hex(image, 0, 0x820), Erased(0x820));
}

TEST_F(RadioImageTest, UnpackingRebuildsTheListInChannelNumberOrder) {
  SetChannels(doc(), {PlainChannel(40), PlainChannel(3), PlainChannel(128), PlainChannel(17)});
  pack();
  SetChannels(doc(), {PlainChannel(5), PlainChannel(2)});
  unpack();
  EXPECT_EQ(ChannelNumbers(doc()), (std::vector<int>{3, 17, 40, 128}));
}

TEST_F(RadioImageTest, NewEntriesStartAsAppendedChannels) {
  SetChannels(doc(), {PlainChannel(1)});
  pack();
  doc().channels[0].reserved = 7;  // the old entry's stale field must not survive
  unpack();
  ASSERT_EQ(doc().usedCount(), 1);
  EXPECT_EQ(doc().channels[0].reserved, 0);
  EXPECT_EQ(Raw(doc().channels[0].rxFreq), "43512500");
}

TEST_F(RadioImageTest, TheRadiosDataStartANewHistory) {
  SetChannels(doc(), {PlainChannel(1)});
  pack();
  ScriptedPrompter quiet;
  RecordingObserver observer;
  ApplyChannelEdit(state, Effects{quiet, observer}, 0, 1, 6, "3");
  ASSERT_TRUE(CanUndo(state));
  unpack();
  EXPECT_FALSE(CanUndo(state));
}

TEST_F(RadioImageTest, EmptyPresentBitmapUnpacksToAnEmptyList) {
  SetChannels(doc(), {PlainChannel(1), PlainChannel(2)});
  pack();
  std::fill(image.begin() + 0x800, image.begin() + 0x810, std::uint8_t{0xFF});
  unpack();
  EXPECT_EQ(doc().usedCount(), 0);
}

// ---- Settings blocks ----------------------------------------------------

struct FieldCase {
  std::string what;
  std::function<void(RunState&, int)> set;
  std::function<int(RunState&)> get;
  int value;
  std::size_t address;
  std::uint8_t expected;
};

void PrintTo(const FieldCase& c, std::ostream* os) { *os << c.what; }

template <typename Access>
FieldCase MakeCase(std::string what, Access access, int value, std::size_t address,
                   std::uint8_t expected) {
  return {std::move(what),
          [access](RunState& s, int v) {
            auto& field = access(s);
            field = static_cast<std::remove_reference_t<decltype(field)>>(v);
          },
          [access](RunState& s) { return static_cast<int>(access(s)); },
          value,
          address,
          expected};
}

FieldCase Optional(std::string what, std::size_t i, int value, std::size_t address,
                   std::uint8_t expected) {
  return MakeCase(
      "optional features: " + what,
      [i](RunState& s) -> std::int16_t& { return s.workingDocument.optionalFeatures.values[i]; },
      value, address, expected);
}

FieldCase Key(std::size_t i, int value) {
  return MakeCase(
      "key " + std::to_string(i),
      [i](RunState& s) -> std::int16_t& { return s.workingDocument.keys.values[i]; }, value,
      0x83A + i, static_cast<std::uint8_t>(value));
}

FieldCase Scan(std::string what, std::size_t i, int value, std::size_t address,
               std::uint8_t expected) {
  return MakeCase(
      "scan: " + what,
      [i](RunState& s) -> std::uint8_t& { return s.workingDocument.scan.bytes[i]; }, value, address,
      expected);
}

FieldCase Dtmf(std::string what, std::size_t i, int value, std::size_t address,
               std::uint8_t expected) {
  return MakeCase(
      "DTMF: " + what,
      [i](RunState& s) -> std::int16_t& { return s.workingDocument.dtmf.settings[i]; }, value,
      address, expected);
}

FieldCase Alert(std::string what, std::size_t i, int value, std::size_t address,
                std::uint8_t expected) {
  return MakeCase(
      "alert: " + what,
      [i](RunState& s) -> std::uint8_t& { return s.workingDocument.alert.bytes[i]; }, value,
      address, expected);
}

std::vector<FieldCase> FieldCases() {
  return {
      Optional("squelch level", 0, 9, 0x830, 0x90),
      Optional("voice prompt", 1, 2, 0x831, 0x80),
      Optional("voice volume", 2, 5, 0x831, 0x28),
      Optional("wired clone", 10, 1, 0x831, 0x04),
      Optional("battery save", 4, 3, 0x831, 0x03),
      Optional("VOX on", 5, 1, 0x832, 0x80),
      Optional("VOX tone", 6, 1, 0x832, 0x40),
      Optional("channel lock", 7, 1, 0x832, 0x20),
      Optional("group select", 8, 1, 0x832, 0x10),
      Optional("pre-alert time", 9, 10, 0x832, 0x0A),
      Optional("tail elimination mode", 3, 3, 0x833, 0xC0),
      Optional("tail elimination without signalling", 11, 1, 0x833, 0x20),
      Optional("time-out timer", 12, 240, 0x834, 0xF0),
      Optional("re-key time", 13, 60, 0x835, 0x3C),
      Optional("reset time", 14, 30, 0x836, 0x1E),
      Optional("VOX delay", 16, 9, 0x837, 0x90),
      Optional("VOX level", 15, 6, 0x837, 0x06),
      Optional("channel group", 17, 8, 0x838, 0x08),
      Key(0, 25),
      Key(1, 24),
      Key(2, 20),
      Key(3, 19),
      Key(4, 18),
      Key(5, 17),
      Scan("scan mode", 0, 1, 0x840, 0x80),
      Scan("scan entry tone", 7, 1, 0x840, 0x40),
      Scan("priority channel mode", 1, 3, 0x840, 0x30),
      Scan("revert channel", 2, 7, 0x840, 0x07),
      Scan("priority 1 group", 8, 8, 0x841, 0x08),
      Scan("priority 1 position", 9, 16, 0x842, 0x10),
      Scan("priority 2 group", 10, 3, 0x843, 0x03),
      Scan("priority 2 position", 11, 9, 0x844, 0x09),
      Scan("look-back A", 3, 50, 0x845, 0x32),
      Scan("look-back B", 4, 5, 0x846, 0x05),
      Scan("receive resume delay", 5, 49, 0x847, 0x31),
      Scan("transmit resume delay", 6, 1, 0x848, 0x01),
      Dtmf("rate", 0, 10, 0x849, 0x0A),
      Dtmf("first digit time", 1, 20, 0x84A, 0x14),
      Dtmf("first digit delay", 2, 50, 0x84B, 0x32),
      Dtmf("* and # tone time", 3, 20, 0x84C, 0x14),
      Dtmf("D key setting", 4, 16, 0x84D, 0x10),
      Dtmf("sidetone", 5, 1, 0x84E, 0x80),
      Dtmf("call alert / auto answer", 6, 2, 0x84E, 0x20),
      Dtmf("group code", 7, 6, 0x84F, 0x06),
      Dtmf("auto reset timer", 8, 15, 0x850, 0x0F),
      Alert("channel selection", 6, 1, 0x851, 0x08),
      Alert("identification code type", 1, 1, 0x851, 0x04),
      Alert("alarm type", 0, 3, 0x851, 0x03),
      Alert("emergency channel group", 7, 8, 0x852, 0x08),
      Alert("emergency channel position", 8, 16, 0x853, 0x10),
      Alert("identification DTMF memory", 2, 16, 0x854, 0x10),
      Alert("alarm time", 3, 255, 0x855, 0xFF),
      Alert("transmit time", 4, 200, 0x856, 0xC8),
      Alert("receive time", 5, 100, 0x857, 0x64),
      Alert("cycle", 9, 42, 0x858, 0x2A),
      MakeCase(
          "alert: alarm mode of the side record",
          [](RunState& s) -> std::uint8_t& { return s.workingSide.alarmMode; }, 1, 0x851, 0x10),
  };
}

class SettingFieldTest : public RadioImageTest, public ::testing::WithParamInterface<FieldCase> {
 protected:
  // Every setting 0, so that each case shows its own bits alone.
  void SetUp() override { state.workingSide.alarmMode = 0; }
};

TEST_P(SettingFieldTest, LandsAtItsAddressAndBitsAndComesBack) {
  const auto& c = GetParam();
  pack();
  const RadioImage zeros = image;
  RunState reader = state;
  c.set(state, c.value);
  pack();
  EXPECT_EQ(ChangedAddresses(zeros, image), std::vector<std::size_t>{c.address});
  EXPECT_EQ(Hex(image, c.address, 1), HexByte(c.expected));

  unpackInto(reader);
  EXPECT_EQ(c.get(reader), c.value);
}

INSTANTIATE_TEST_SUITE_P(Blocks, SettingFieldTest, ::testing::ValuesIn(FieldCases()));

TEST_F(RadioImageTest, SettingBytesHoldZeroWhereNoSettingLives) {
  state.workingSide.alarmMode = 0;
  pack();
  EXPECT_EQ(Hex(image, 0x830, 9), Filled(0x00, 9));
  EXPECT_EQ(Hex(image, 0x83A, 6), Filled(0x00, 6));
  EXPECT_EQ(Hex(image, 0x840, 25), Filled(0x00, 25));
}

TEST_F(RadioImageTest, ValueWiderThanItsFieldKeepsOnlyTheBitsTheRadioHasRoomFor) {
  state.workingSide.alarmMode = 0;
  doc().optionalFeatures.values[2] = 9;  // voice volume: three bits hold 001
  pack();
  EXPECT_EQ(Hex(image, 0x831, 1), "08");
}

TEST_F(RadioImageTest, GroupCodeGoesOutWholeAndComesBackFromTheLowHalf) {
  doc().dtmf.settings[7] = 0x16;
  pack();
  EXPECT_EQ(Hex(image, 0x84F, 1), "16");
  unpack();
  EXPECT_EQ(doc().dtmf.settings[7], 6);
}

// ---- DTMF codes and ID --------------------------------------------------

struct CodeCase {
  const char* what;
  const char* digits;
  int length;
  const char* slotHex;  // bytes 0 to 8 of the slot
  const char* readBack;
  int readLength;
};

void PrintTo(const CodeCase& c, std::ostream* os) { *os << c.what; }

class DtmfCodeTest : public RadioImageTest, public ::testing::WithParamInterface<CodeCase> {};

TEST_P(DtmfCodeTest, DigitPairsAndCount) {
  const auto& c = GetParam();
  doc().dtmf.memories[0] = {static_cast<std::int16_t>(c.length), FixedText<16>(c.digits)};
  pack();
  EXPECT_EQ(Hex(image, 0x900, 9), c.slotHex);
  EXPECT_EQ(Hex(image, 0x909, 7), Erased(7));

  unpack();
  EXPECT_EQ(doc().dtmf.memories[0].length, c.readLength);
  EXPECT_EQ(TrimFixed(doc().dtmf.memories[0].digits), c.readBack);
}

INSTANTIATE_TEST_SUITE_P(
    Codes, DtmfCodeTest,
    ::testing::Values(
        CodeCase{"star and hash", "1*2#", 4, "1E 2F FF FF FF FF FF FF 04", "1*2#", 4},
        CodeCase{"odd count", "123", 3, "12 30 FF FF FF FF FF FF 03", "123", 3},
        CodeCase{"sixteen digits", "0123456789ABCD*#", 16, "01 23 45 67 89 AB CD EF 10",
                 "0123456789ABCD*#", 16},
        CodeCase{"undefined", "", 0, "FF FF FF FF FF FF FF FF 00", "", 0},
        CodeCase{"count above 16", "1234", 20, "FF FF FF FF FF FF FF FF 00", "", 0},
        CodeCase{"negative count", "1234", -1, "FF FF FF FF FF FF FF FF 00", "", 0},
        CodeCase{"fewer digits than counted", "12", 5, "12 00 00 FF FF FF FF FF 05", "12000", 5},
        CodeCase{"more digits than counted", "12345", 3, "12 30 FF FF FF FF FF FF 03", "123", 3}));

TEST_F(RadioImageTest, EachCodeHasItsOwnSlot) {
  auto& dtmf = doc().dtmf;
  for (std::size_t i = 0; i < 4; ++i)
    dtmf.specialCodes[i] = {2, FixedText<16>("A" + std::to_string(i))};
  for (std::size_t m = 0; m < 16; ++m) {
    dtmf.memories[m] = {
        2, FixedText<16>(m < 10 ? "9" + std::to_string(m) : "B" + std::to_string(m - 10))};
  }
  pack();
  EXPECT_EQ(Hex(image, 0x8C0, 1), "A0");  // begin of transmission
  EXPECT_EQ(Hex(image, 0x8D0, 1), "A1");  // end of transmission
  EXPECT_EQ(Hex(image, 0x8E0, 1), "A2");  // stun
  EXPECT_EQ(Hex(image, 0x8F0, 1), "A3");  // kill
  EXPECT_EQ(Hex(image, 0x900, 1), "90");  // memory 1
  EXPECT_EQ(Hex(image, 0x990, 1), "99");  // memory 10
  EXPECT_EQ(Hex(image, 0x9F0, 1), "B5");  // memory 16

  const DtmfBlock sent = dtmf;
  dtmf = DtmfBlock{};
  unpack();
  EXPECT_EQ(dtmf.specialCodes, sent.specialCodes);
  EXPECT_EQ(dtmf.memories, sent.memories);
}

TEST_F(RadioImageTest, CountAbove16ReadsAsAnUndefinedCode) {
  pack();
  image[0x8C0] = 0x12;
  image[0x8C8] = 17;
  unpack();
  EXPECT_EQ(doc().dtmf.specialCodes[0].length, 0);
  EXPECT_EQ(TrimFixed(doc().dtmf.specialCodes[0].digits), "");
}

struct IdCase {
  const char* what;
  const char* id;
  int length;
  const char* idHex;  // 0x860 to 0x864
  const char* lengthHex;
  const char* readBack;
  int readLength;
};

void PrintTo(const IdCase& c, std::ostream* os) { *os << c.what; }

class DtmfIdTest : public RadioImageTest, public ::testing::WithParamInterface<IdCase> {};

TEST_P(DtmfIdTest, TenDigitsAndALength) {
  const auto& c = GetParam();
  doc().dtmf.idCode.assign(c.id);
  doc().dtmf.idLength = static_cast<std::int16_t>(c.length);
  pack();
  EXPECT_EQ(Hex(image, 0x860, 5), c.idHex);
  EXPECT_EQ(Hex(image, 0x865, 3), Erased(3));
  EXPECT_EQ(Hex(image, 0x868, 1), c.lengthHex);

  unpack();
  EXPECT_EQ(doc().dtmf.idLength, c.readLength);
  EXPECT_EQ(TrimFixed(doc().dtmf.idCode), c.readBack);
}

INSTANTIATE_TEST_SUITE_P(
    Id, DtmfIdTest,
    ::testing::Values(
        IdCase{"seven digits", "1234567", 7, "12 34 56 70 00", "07", "1234567", 7},
        IdCase{"ten digits", "1234567890", 10, "12 34 56 78 90", "0A", "1234567890", 10},
        IdCase{"three digits", "000", 3, "00 00 00 00 00", "03", "000", 3},
        IdCase{"text longer than its length", "98765", 4, "98 76 00 00 00", "04", "9876", 4},
        IdCase{"text shorter than its length", "12", 5, "12 00 00 00 00", "05", "12000", 5},
        IdCase{"length below 3", "12", 2, "12 00 00 00 00", "03", "120", 3},
        IdCase{"length above 10", "1234567890", 11, "12 30 00 00 00", "03", "123", 3}));

TEST_F(RadioImageTest, IdLengthOutsideThreeToTenReadsAsThree) {
  pack();
  image[0x860] = 0x45;
  image[0x861] = 0x67;
  image[0x868] = 0;
  unpack();
  EXPECT_EQ(doc().dtmf.idLength, 3);
  EXPECT_EQ(TrimFixed(doc().dtmf.idCode), "456");
}

// ---- Test frequencies ---------------------------------------------------

TEST_F(RadioImageTest, TestPairHoldsTheSecondTextFirst) {
  doc().testFrequencies[0] = {FixedText<8>("43510000"), FixedText<8>("43520000")};
  doc().testFrequencies[10] = {FixedText<8>("4351250"), FixedText<8>("")};
  doc().testFrequencies[1] = {NulText<8>(), FixedText<8>("FFFFFFFF")};
  state.extraTestFrequencies[0] = {FixedText<8>("40000000"), FixedText<8>("40010000")};
  state.extraTestFrequencies[4] = {FixedText<8>("48000000"), FixedText<8>("47990000")};
  pack();
  EXPECT_EQ(Hex(image, 0xA00, 8), "43 52 00 00 43 51 00 00");  // pair 1
  EXPECT_EQ(Hex(image, 0xA08, 8), Erased(8));                  // pair 2: both empty
  EXPECT_EQ(Hex(image, 0xA50, 8), "FF FF FF FF 43 51 25 00");  // pair 11
  EXPECT_EQ(Hex(image, 0xA58, 8), "40 01 00 00 40 00 00 00");  // pair 12
  EXPECT_EQ(Hex(image, 0xA78, 8), "47 99 00 00 48 00 00 00");  // pair 16
}

TEST_F(RadioImageTest, TestPairsComeBackWithZeroMeaningNoFrequency) {
  pack();
  const std::uint8_t pair1[] = {0x43, 0x52, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00};
  const std::uint8_t pair16[] = {0x47, 0x99, 0x00, 0x00, 0x48, 0x00, 0x00, 0x00};
  std::copy(std::begin(pair1), std::end(pair1), image.begin() + 0xA00);
  std::copy(std::begin(pair16), std::end(pair16), image.begin() + 0xA78);
  unpack();
  EXPECT_EQ(Raw(doc().testFrequencies[0].second), "43520000");
  EXPECT_EQ(Raw(doc().testFrequencies[0].first), "FFFFFFFF");
  EXPECT_EQ(Raw(doc().testFrequencies[5].first), "FFFFFFFF");
  EXPECT_EQ(Raw(state.extraTestFrequencies[4].first), "48000000");
  EXPECT_EQ(Raw(state.extraTestFrequencies[4].second), "47990000");
}

// ---- Embedded message ---------------------------------------------------

TEST_F(RadioImageTest, MessageLinesAreCharacterCodesPaddedWithZero) {
  doc().message.lines[0].assign("HELLO");
  doc().message.lines[1].assign("0123456789ABCDEF");
  doc().message.lines[2] = NulText<16>();
  doc().message.lines[3].assign("\xB5\xE7");  // a GBK character is two single bytes
  pack();
  EXPECT_EQ(Hex(image, 0xA80, 16), "48 45 4C 4C 4F 00 00 00 00 00 00 00 00 00 00 00");
  EXPECT_EQ(Hex(image, 0xA90, 16), "30 31 32 33 34 35 36 37 38 39 41 42 43 44 45 46");
  EXPECT_EQ(Hex(image, 0xAA0, 16), "00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00");
  EXPECT_EQ(Hex(image, 0xAB0, 2), "B5 E7");

  const EmbeddedMessageBlock sent = doc().message;
  doc().message = EmbeddedMessageBlock{};
  unpack();
  EXPECT_EQ(doc().message.lines[0], sent.lines[0]);
  EXPECT_EQ(doc().message.lines[1], sent.lines[1]);
  EXPECT_EQ(TrimFixed(doc().message.lines[2]), "");
  EXPECT_EQ(doc().message.lines[3], sent.lines[3]);
}

TEST_F(RadioImageTest, MessageLineEndsAtAnErasedByteOrAZero) {
  pack();
  const char text[] =
      "AB \xFF"
      "CD";
  std::copy(text, text + 6, image.begin() + 0xA80);
  image[0xA90] = 'X';
  image[0xA91] = 0x00;
  image[0xA92] = 'Y';
  unpack();
  EXPECT_EQ(Raw(doc().message.lines[0]), "AB" + std::string(14, ' '));
  EXPECT_EQ(Raw(doc().message.lines[1]), "X" + std::string(15, ' '));
}

// ---- Identification block -----------------------------------------------

TEST_F(RadioImageTest, IdentificationCarriesModelBandAndProgramVersion) {
  state.model.select("TW530G", "450 - 520 MHz");
  pack();
  EXPECT_EQ(Hex(image, 0xB00, 7), "54 57 35 33 30 47 00");  // TW530G, 0 filled
  EXPECT_EQ(Hex(image, 0xB07, 1), "20");                    // band code 32
  EXPECT_EQ(Hex(image, 0xB08, 4), "56 32 30 30");           // V200
  EXPECT_EQ(Hex(image, 0xB0C, 4), Erased(4));  // the radio's own capability byte goes here
}

TEST_F(RadioImageTest, PackingChangesOnlyTheDocumentsModelInfo) {
  SetChannels(doc(), {PlainChannel(1)});
  doc().modelInfo.modelName.assign("OLD");
  doc().modelInfo.bandIndex = 3;
  state.model.select("TW530", "136 - 174 MHz");
  RunState before = state;
  pack();
  before.workingDocument.modelInfo.modelName.assign("TW530");
  before.workingDocument.modelInfo.bandIndex = 8;
  EXPECT_EQ(state.workingDocument, before.workingDocument);
  EXPECT_EQ(state.workingSide, before.workingSide);
  EXPECT_EQ(state.extraTestFrequencies, before.extraTestFrequencies);
}

TEST_F(RadioImageTest, RadiosModelAndBandBecomeTheCurrentOnes) {
  state.model.select("TW530", "136 - 174 MHz");
  pack();
  RunState reader;  // TW530G on 400 - 480 MHz
  unpackInto(reader);
  EXPECT_EQ(reader.model.currentModel, "TW530");
  EXPECT_EQ(reader.model.currentBandLabel, "136 - 174 MHz");
  EXPECT_EQ(reader.model.currentBandIndex, 8);
  EXPECT_EQ(reader.model.limits.low, 136.0);
  EXPECT_EQ(reader.model.limits.high, 174.0);
  EXPECT_EQ(Raw(reader.workingDocument.modelInfo.modelName), "TW530  ");
  EXPECT_EQ(reader.workingDocument.modelInfo.bandIndex, 8);
  EXPECT_EQ(reader.radioInfo.bandCode, 8);
}

TEST_F(RadioImageTest, UnknownBandCodeKeepsTheBandButIsRecorded) {
  pack();
  image[0xB07] = 15;
  state.model.select("TW530G", "430 - 450 MHz");
  unpack();
  EXPECT_EQ(state.model.currentBandLabel, "430 - 450 MHz");
  EXPECT_EQ(state.model.currentBandIndex, 1);
  EXPECT_EQ(state.model.limits.low, 430.0);
  EXPECT_EQ(doc().modelInfo.bandIndex, 15);
  EXPECT_EQ(state.radioInfo.bandCode, 15);
}

TEST_F(RadioImageTest, ModelNameStopsAtSevenCharactersOrAtAnEndByte) {
  pack();
  const char full[] = "ABCDEFG";
  std::copy(full, full + 7, image.begin() + 0xB00);
  unpack();
  EXPECT_EQ(state.model.currentModel, "ABCDEFG");
  image[0xB03] = 0xFF;
  unpack();
  EXPECT_EQ(state.model.currentModel, "ABC");
}

// ---- The whole image ----------------------------------------------------

// Something in every field the radio holds, each in the form unpacking gives back.
void FillRichDocument(RunState& s) {
  auto& d = s.workingDocument;
  ChannelRecord a = MakeChannel(17, "44500000", 1, "0500000");
  a.decodeTone = 170;
  a.encodeTone = 13;
  a.busyLockout = 2;
  a.pttId = 3;
  a.spacing = 2;
  a.optionalSignalling = 1;
  a.autodial1 = 16;
  a.autodial2 = 3;
  a.scanSkip = 1;
  a.txInhibit = 1;
  a.power = 3;
  ChannelRecord b = MakeChannel(1, "43512500", 2, "0060000");
  b.encodeTone = 282;
  b.scrambler = 1;
  b.compander = 1;
  b.whisper = 1;
  b.talkaround = 1;
  b.signallingRelation = 1;
  b.voiceEncryption = 1;
  b.scramblerTalkaround = 1;
  b.power = 0;
  ChannelRecord c = MakeChannel(128, "47000000", 0, "0000000");
  ChannelRecord e = MakeChannel(64, "43600625", 0, "0000000");
  e.rxStepKind = 1;
  e.txStepKind = 1;
  e.decodeTone = 60;
  e.encodeTone = 60;
  SetChannels(d, {a, b, c, e});

  d.optionalFeatures.values = {5, 2, 4, 3, 2, 1, 1, 1, 1, 7, 1, 1, 180, 30, 15, 4, 6, 3};
  d.dtmf.settings = {3, 4, 10, 2, 5, 1, 2, 6, 9};
  d.dtmf.idCode.assign("1234567");
  d.dtmf.idLength = 7;
  d.dtmf.specialCodes = {DtmfCodeRecord{4, FixedText<16>("1*2#")},
                         DtmfCodeRecord{4, FixedText<16>("ABCD")},
                         DtmfCodeRecord{3, FixedText<16>("123")}, DtmfCodeRecord{}};
  d.dtmf.memories[0] = {16, FixedText<16>("0123456789ABCD*#")};
  d.dtmf.memories[4] = {3, FixedText<16>("555")};
  d.message.lines[0].assign("HELLO");
  d.message.lines[1].assign("TW530G RADIO");
  d.message.lines[2].assign("0123456789ABCDEF");
  d.keys.values = {15, 20, 8, 3, 12, 1};
  d.alert.bytes = {2, 1, 5, 10, 20, 30, 1, 2, 1, 7};
  d.scan.bytes = {1, 3, 6, 5, 50, 1, 50, 1, 1, 1, 8, 16};
  for (std::size_t k = 0; k < d.testFrequencies.size(); ++k) {
    const int base = 43500000 + static_cast<int>(k) * 10000;
    d.testFrequencies[k] = {FixedText<8>(std::to_string(base)),
                            FixedText<8>(k == 3 ? "FFFFFFFF" : std::to_string(base + 5000))};
  }
  for (std::size_t k = 0; k < s.extraTestFrequencies.size(); ++k) {
    const int base = 40000000 + static_cast<int>(k) * 2000000;
    s.extraTestFrequencies[k] = {FixedText<8>(std::to_string(base)),
                                 FixedText<8>(std::to_string(base + 10000))};
  }
  s.workingSide.alarmMode = 0;
  s.model.select("TW530", "400 - 480 MHz");
}

TEST_F(RadioImageTest, PackThenUnpackGivesTheSameDocumentBack) {
  FillRichDocument(state);
  pack();
  EXPECT_TRUE(prompter.asked.empty());

  RunState reader;  // holds another document, model and band before the read
  reader.model.select("TW530G", "136 - 174 MHz");
  SetChannels(reader.workingDocument, {PlainChannel(2), PlainChannel(99)});
  reader.workingSide.alarmMode = 1;
  unpackInto(reader);
  EXPECT_TRUE(prompter.asked.empty());

  const auto& sent = state.workingDocument;
  const auto& read = reader.workingDocument;
  EXPECT_FALSE(IsDocumentChanged(read, sent, reader.workingSide, state.workingSide));
  EXPECT_EQ(ChannelsByNumber(read), ChannelsByNumber(sent));
  EXPECT_EQ(ChannelNumbers(read), (std::vector<int>{1, 17, 64, 128}));
  EXPECT_EQ(read.testFrequencies, sent.testFrequencies);
  EXPECT_EQ(read.modelInfo, sent.modelInfo);
  EXPECT_EQ(read.optionalFeatures, sent.optionalFeatures);
  EXPECT_EQ(read.dtmf, sent.dtmf);
  EXPECT_EQ(read.message, sent.message);
  EXPECT_EQ(read.keys, sent.keys);
  EXPECT_EQ(read.alert, sent.alert);
  EXPECT_EQ(read.scan, sent.scan);
  EXPECT_EQ(reader.workingSide, state.workingSide);
  EXPECT_EQ(reader.extraTestFrequencies, state.extraTestFrequencies);
  EXPECT_EQ(reader.model.currentModel, "TW530");
  EXPECT_EQ(reader.model.currentBandLabel, "400 - 480 MHz");
}

TEST_F(RadioImageTest, RoundTripSettlesWhatTheRadioCannotHoldApart) {
  // Forms the document tells apart and the radio does not: each comes back in
  // the one form that unpacking gives.
  FillRichDocument(state);
  doc().channels[2].offset = testing::NulOffset();  // channel 128, simplex
  doc().testFrequencies[5].first = NulText<8>();
  doc().message.lines[3] = NulText<16>();
  doc().dtmf.idCode.assign("1234567999");  // digits beyond the ID length
  pack();
  RunState reader;
  unpackInto(reader);
  const auto& read = reader.workingDocument;
  EXPECT_EQ(Raw(read.channels[3].offset), "0000000");
  EXPECT_EQ(Raw(read.testFrequencies[5].first), "FFFFFFFF");
  EXPECT_EQ(Raw(read.message.lines[3]), std::string(16, ' '));
  EXPECT_EQ(Raw(read.dtmf.idCode), "1234567   ");
}

TEST_F(RadioImageTest, BytesNothingWritesStayErased) {
  FillRichDocument(state);
  pack();
  EXPECT_EQ(Hex(image, 0x820, 16), Erased(16));
  EXPECT_EQ(Hex(image, 0x839, 1), "FF");
  EXPECT_EQ(Hex(image, 0x859, 7), Erased(7));
  EXPECT_EQ(Hex(image, 0x865, 3), Erased(3));
  EXPECT_EQ(Hex(image, 0x869, 0x8C0 - 0x869), Erased(0x8C0 - 0x869));
  for (std::size_t slot = 0x8C0; slot < 0xA00; slot += 16) {
    EXPECT_EQ(Hex(image, slot + 9, 7), Erased(7)) << "code slot at " << slot;
  }
  EXPECT_EQ(Hex(image, 0xAC0, 64), Erased(64));
  EXPECT_EQ(Hex(image, 0xB0C, 4), Erased(4));
}

TEST_F(RadioImageTest, PackingOverAnOldImageRefreshesEverythingUpToTheMessage) {
  image.fill(0x00);
  PackDocumentToImage(state, image, codec());
  EXPECT_EQ(Hex(image, 0x000, 0x830), Erased(0x830));
  EXPECT_EQ(Hex(image, 0x869, 0x8C0 - 0x869), Erased(0x8C0 - 0x869));
  EXPECT_EQ(Hex(image, 0xAC0, 4), "00 00 00 00");  // beyond the refreshed area
}

TEST_F(RadioImageTest, ClearedImageIsAllErased) {
  image.fill(0x12);
  ClearImage(image);
  EXPECT_EQ(Hex(image, 0, kRadioImageSize), Erased(kRadioImageSize));
}

TEST_F(RadioImageTest, AllZeroImageGivesEveryChannelOnZeroHertz) {
  image.fill(0x00);
  unpack();
  EXPECT_TRUE(prompter.asked.empty());
  ASSERT_EQ(doc().usedCount(), 128);
  EXPECT_EQ(doc().channels[0].number, 1);
  EXPECT_EQ(doc().channels[127].number, 128);
  EXPECT_EQ(TrimFixed(doc().channels[127].rxFreq), "0");
  EXPECT_EQ(doc().channels[127].offsetDirection, 0);
  EXPECT_EQ(state.model.currentModel, "");
  EXPECT_EQ(state.model.currentBandIndex, 0);
  EXPECT_EQ(doc().dtmf.idLength, 3);
  EXPECT_EQ(TrimFixed(doc().dtmf.idCode), "000");
  EXPECT_EQ(Raw(doc().testFrequencies[0].first), "FFFFFFFF");
  EXPECT_EQ(state.workingSide.alarmMode, 0);
  EXPECT_EQ(state.link.currentCapabilities, CapabilityFlags{});

  pack();
  EXPECT_EQ(Hex(image, 0x800, 16), Filled(0x00, 16));
}

TEST_F(RadioImageTest, ErasedImageGivesNoChannelsAndKeepsTheBand) {
  SetChannels(doc(), {PlainChannel(1)});
  image.fill(0xFF);
  unpack();
  EXPECT_TRUE(prompter.asked.empty());
  EXPECT_EQ(doc().usedCount(), 0);
  EXPECT_EQ(state.model.currentBandLabel, "400 - 480 MHz");
  EXPECT_EQ(state.radioInfo.bandCode, 255);
  EXPECT_EQ(doc().dtmf.idLength, 3);
  EXPECT_EQ(TrimFixed(doc().dtmf.idCode), "FFF");
  EXPECT_EQ(doc().dtmf.memories[15].length, 0);
  EXPECT_EQ(doc().optionalFeatures.values[0], 15);  // squelch bits all set
  EXPECT_EQ(TrimFixed(doc().message.lines[0]), "");
  EXPECT_EQ(state.workingSide.alarmMode, 1);
  EXPECT_EQ(state.link.currentCapabilities, (CapabilityFlags{{true, true, true, true}}));
}

RadioImage RandomImage(unsigned seed) {
  std::mt19937 generator(seed);
  std::uniform_int_distribution<int> byte(0, 255);
  RadioImage image{};
  for (auto& b : image) b = static_cast<std::uint8_t>(byte(generator));
  return image;
}

class RandomImageTest : public RadioImageTest, public ::testing::WithParamInterface<unsigned> {};

TEST_P(RandomImageTest, UnpacksWithoutQuestionsIntoTheChannelsTheBitmapsName) {
  image = RandomImage(GetParam());
  unpack();
  EXPECT_TRUE(prompter.asked.empty());
  std::vector<int> present;
  for (int n = 1; n <= 128; ++n) {
    const auto slot = static_cast<std::size_t>(n - 1);
    if (((image[0x800 + slot / 8] >> (slot % 8)) & 1) == 0) present.push_back(n);
  }
  EXPECT_EQ(ChannelNumbers(doc()), present);
  for (const auto& c : doc().usedChannels()) {
    const auto slot = static_cast<std::size_t>(c.number - 1);
    EXPECT_EQ(c.scanSkip, (image[0x810 + slot / 8] >> (slot % 8)) & 1) << "channel " << c.number;
  }
}

TEST_P(RandomImageTest, SecondReadOfWhatWasWrittenChangesNothing) {
  image = RandomImage(GetParam());
  // Receive frequencies of eight digits and a known band, the forms a
  // document can hold exactly.
  for (std::size_t slot = 0; slot < 128; ++slot) {
    image[slot * 16] = std::max<std::uint8_t>(image[slot * 16], 1);
  }
  image[0xB07] = 8;
  const RadioImage original = image;
  unpack();
  const RunState first = state;

  pack();
  EXPECT_EQ(Hex(image, 0x800, 16), Hex(original, 0x800, 16));
  for (std::size_t i = 0; i < 16; ++i) {
    EXPECT_EQ(image[0x810 + i], original[0x810 + i] | original[0x800 + i]);
  }
  unpack();
  EXPECT_FALSE(IsDocumentChanged(state.workingDocument, first.workingDocument, state.workingSide,
                                 first.workingSide));
  EXPECT_EQ(state.extraTestFrequencies, first.extraTestFrequencies);
  EXPECT_TRUE(prompter.asked.empty());
}

INSTANTIATE_TEST_SUITE_P(Seeds, RandomImageTest, ::testing::Range(1u, 41u));

// ---- Information area ---------------------------------------------------

class InfoAreaTest : public ::testing::Test {
 protected:
  RadioInfoArea area{};
  RadioInfoRecord info;

  void SetUp() override {
    area.fill(0xFF);
    info.bandCode = 8;
    info.versionInformation = "V2.00";
    info.model = "TW530G";
    info.serialNumber = "OLD";
    info.salesRegionCode = "0595";
    info.productionDate = "2024-01-01";
  }
  void put(std::size_t index, std::string_view text) {
    std::copy(text.begin(), text.end(), area.begin() + static_cast<std::ptrdiff_t>(index));
  }
};

TEST_F(InfoAreaTest, ErasedAreaEmptiesTheReadFieldsOnly) {
  UnpackInfoArea(area, info);
  RadioInfoRecord expected;
  expected.bandCode = 8;
  expected.versionInformation = "V2.00";
  expected.model = "TW530G";
  EXPECT_EQ(info, expected);
}

TEST_F(InfoAreaTest, EachFieldIsReadFromItsIndex) {
  put(0, "0595");
  put(16, "03-1-E-1");
  put(32, "001A");
  put(44, "PASS");
  put(48, std::string(16, 'N'));
  put(64, std::string(16, 'P'));
  put(80, std::string(16, 'R'));
  put(96, std::string(96, 'W'));
  put(432, std::string(16, 'D'));
  put(448, std::string(16, 'K'));
  put(464, std::string(16, 'S'));
  put(480, std::string(16, 'H'));
  UnpackInfoArea(area, info);
  EXPECT_EQ(info.salesRegionCode, "0595");
  EXPECT_EQ(info.productionBatch, "03-1-E-1");
  EXPECT_EQ(info.customerCode, "001A");
  EXPECT_EQ(info.serialNumber, std::string(16, 'N'));
  EXPECT_EQ(info.productionDate, std::string(16, 'P'));
  EXPECT_EQ(info.repairDate, std::string(16, 'R'));
  EXPECT_EQ(info.repairReason, std::string(96, 'W'));
  EXPECT_EQ(info.dealerCode, std::string(16, 'D'));
  EXPECT_EQ(info.stockInDate, std::string(16, 'K'));
  EXPECT_EQ(info.saleDate, std::string(16, 'S'));
  EXPECT_EQ(info.handledBy, std::string(16, 'H'));
  EXPECT_EQ(info.bandCode, 8);
}

TEST_F(InfoAreaTest, RepairReasonEndsAtAZero) {
  put(96, "Dropped it");
  area[106] = 0x00;
  put(107, "hidden");
  UnpackInfoArea(area, info);
  EXPECT_EQ(info.repairReason, "Dropped it");
}

// ---- Capability byte ----------------------------------------------------

TEST_F(RadioImageTest, CapabilityBitsBecomeTheCurrentFlags) {
  const CapabilityFlags flags = DeriveCapabilityFlags(0xF5, state);  // high half ignored
  EXPECT_EQ(flags, (CapabilityFlags{{true, false, true, false}}));
  EXPECT_EQ(state.link.currentCapabilities, flags);
  DeriveCapabilityFlags(0x08, state);
  EXPECT_EQ(state.link.currentCapabilities, (CapabilityFlags{{false, false, false, true}}));
}

struct KnownCase {
  const char* what;
  std::array<std::uint8_t, 4> before;
  std::uint8_t byte;
  std::array<std::uint8_t, 4> after;
};

void PrintTo(const KnownCase& c, std::ostream* os) { *os << c.what; }

class KnownCapabilityRuleTest : public RadioImageTest,
                                public ::testing::WithParamInterface<KnownCase> {};

TEST_P(KnownCapabilityRuleTest, KnownFlagOnceSetStaysSet) {
  const auto& c = GetParam();
  state.knownCapabilities = c.before;
  DeriveCapabilityFlags(c.byte, state);
  EXPECT_EQ(state.knownCapabilities, c.after);
}

// The known flags are kept from bit 3 down to bit 0.
INSTANTIATE_TEST_SUITE_P(
    Link, KnownCapabilityRuleTest,
    ::testing::Values(KnownCase{"bit 3 is the first flag", {0, 0, 0, 0}, 0x08, {1, 0, 0, 0}},
                      KnownCase{"bit 0 is the last flag", {0, 0, 0, 0}, 0x01, {0, 0, 0, 1}},
                      KnownCase{"all four", {0, 0, 0, 0}, 0x0F, {1, 1, 1, 1}},
                      KnownCase{"set flags stay set", {1, 1, 0, 0}, 0x00, {1, 1, 0, 0}},
                      KnownCase{"set and seen again", {1, 0, 0, 0}, 0x08, {1, 0, 0, 0}},
                      KnownCase{
                          "any non-zero counts as set", {0xFF, 0, 2, 0}, 0x00, {0xFF, 0, 2, 0}},
                      KnownCase{"high half ignored", {0, 0, 0, 0}, 0xF0, {0, 0, 0, 0}}));

TEST_F(RadioImageTest, UnpackingDerivesTheFlagsFromTheIdentificationBlock) {
  pack();
  image[0xB0C] = 0x04;
  unpack();
  EXPECT_EQ(state.link.currentCapabilities, (CapabilityFlags{{false, false, true, false}}));
  EXPECT_EQ(state.knownCapabilities, (std::array<std::uint8_t, 4>{0, 1, 0, 0}));
}

}  // namespace
}  // namespace cps
