// The byte images of the document and the side record: sizes, the place of
// every field in the data file, little-endian numbers and fixed texts.
#include "core/document/records.hpp"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "test_support.hpp"

namespace cps {
namespace {

using testing::BytesAt;
using testing::I16At;

// Fills every field of a document with a value no other field holds, so that a
// field written to the wrong place or read from the wrong place shows up.
class DistinctValues {
 public:
  std::int16_t next16() {
    // Mixes negative numbers in so that the sign bit travels too.
    m_counter += 1;
    const int v = (m_counter % 3 == 0) ? -m_counter : m_counter * 37;
    return static_cast<std::int16_t>(v);
  }
  std::uint8_t next8() {
    m_byte = static_cast<std::uint8_t>(m_byte + 1);
    return m_byte;
  }
  template <std::size_t N>
  FixedText<N> nextText() {
    FixedText<N> t;
    for (auto& c : t.bytes) c = static_cast<char>('!' + (m_text++ % 90));
    return t;
  }

 private:
  int m_counter = 0;
  std::uint8_t m_byte = 0;
  int m_text = 0;
};

DocumentRecord DistinctDocument() {
  DistinctValues v;
  DocumentRecord d;
  d.version = v.nextText<4>();
  d.channelCount = 77;
  for (auto& c : d.channels) {
    for (auto* field : {&c.number,          &c.reserved,    &c.decodeTone, &c.encodeTone,
                        &c.rxStepKind,      &c.txStepKind,  &c.txInhibit,  &c.scramblerTalkaround,
                        &c.voiceEncryption, &c.busyLockout, &c.talkaround, &c.signallingRelation,
                        &c.whisper,         &c.pttId,       &c.spacing,    &c.optionalSignalling,
                        &c.compander,       &c.scrambler,   &c.power,      &c.autodial1,
                        &c.autodial2,       &c.scanSkip}) {
      *field = v.next16();
    }
    c.rxFreq = v.nextText<8>();
    c.offsetDirection = v.next8();
    c.offset = v.nextText<7>();
  }
  for (auto& p : d.fmPresets) {
    p.empty = v.next16();
    p.frequency = v.nextText<8>();
  }
  for (auto& t : d.testFrequencies) {
    t.first = v.nextText<8>();
    t.second = v.nextText<8>();
  }
  d.modelInfo.modelName = v.nextText<7>();
  d.modelInfo.bandIndex = v.next16();
  for (auto& x : d.optionalFeatures.values) x = v.next16();
  for (auto& x : d.dtmf.settings) x = v.next16();
  d.dtmf.idCode = v.nextText<10>();
  d.dtmf.idLength = v.next16();
  for (auto& code : d.dtmf.specialCodes) {
    code.length = v.next16();
    code.digits = v.nextText<16>();
  }
  for (auto& code : d.dtmf.memories) {
    code.length = v.next16();
    code.digits = v.nextText<16>();
  }
  for (auto& line : d.message.lines) line = v.nextText<16>();
  for (auto& x : d.keys.values) x = v.next16();
  for (auto& x : d.alert.bytes) x = v.next8();
  for (auto& x : d.scan.bytes) x = v.next8();
  return d;
}

TEST(DocumentImage, IsExactlyOneDataFileLong) {
  EXPECT_EQ(DocumentRecord{}.toBytes().size(), 8595u);
  EXPECT_EQ(DistinctDocument().toBytes().size(), 8595u);
  EXPECT_EQ(SideFileRecord{}.toBytes().size(), 5u);
}

TEST(DocumentImage, DefaultRecordStartsWithVersionAndHasUnusedFmPresets) {
  const auto image = DocumentRecord{}.toBytes();
  EXPECT_EQ(BytesAt(image, 0, 4), "V200");
  EXPECT_EQ(I16At(image, 4), 0);
  for (std::size_t i = 0; i < 20; ++i) {
    EXPECT_EQ(I16At(image, 7686 + i * 10), 1) << "FM preset " << i;
    EXPECT_EQ(BytesAt(image, 7686 + i * 10 + 2, 8), "        ") << "FM preset " << i;
  }
}

TEST(DocumentImage, RoundTripOfEveryFieldKeepsEveryByte) {
  const DocumentRecord original = DistinctDocument();
  const auto image = original.toBytes();
  const auto back = DocumentRecord::fromBytes(image);
  ASSERT_TRUE(back.has_value());
  EXPECT_EQ(*back, original);
  EXPECT_EQ(back->toBytes(), image);
}

TEST(DocumentImage, AnyImageReadsBackToTheSameBytes) {
  // Every byte of the file belongs to some field: there is no padding to lose.
  DocumentRecord::Image image{};
  for (std::size_t i = 0; i < image.size(); ++i) {
    image[i] = static_cast<std::uint8_t>((i * 31 + 7) % 251);
  }
  const auto doc = DocumentRecord::fromBytes(image);
  ASSERT_TRUE(doc.has_value());
  EXPECT_EQ(doc->toBytes(), image);
}

TEST(DocumentImage, RefusesImagesOfAnyOtherLength) {
  for (std::size_t size : {0u, 8594u, 8596u, 9000u}) {
    const std::vector<std::uint8_t> bytes(size, 0x20);
    EXPECT_FALSE(DocumentRecord::fromBytes(bytes).has_value()) << size << " bytes";
  }
  const std::vector<std::uint8_t> exact(8595, 0x20);
  EXPECT_TRUE(DocumentRecord::fromBytes(exact).has_value());
}

// Where each block and each notable field sits in the data file.
struct BlockPlace {
  const char* what;
  std::size_t offset;
  std::size_t length;
  std::string (*expected)(const DocumentRecord&);
};

std::string Le16(std::int16_t v) {
  const auto u = static_cast<std::uint16_t>(v);
  return {static_cast<char>(u & 0xFF), static_cast<char>(u >> 8)};
}

TEST(DocumentImage, EachBlockSitsAtItsFileOffset) {
  const std::vector<BlockPlace> places = {
      {"version", 0, 4, [](const DocumentRecord& d) { return d.version.raw(); }},
      {"channel count", 4, 2, [](const DocumentRecord& d) { return Le16(d.channelCount); }},
      {"first channel number", 6, 2,
       [](const DocumentRecord& d) { return Le16(d.channels[0].number); }},
      {"last channel scan skip", 6 + 127 * 60 + 58, 2,
       [](const DocumentRecord& d) { return Le16(d.channels[127].scanSkip); }},
      {"FM preset 0 flag", 7686, 2,
       [](const DocumentRecord& d) { return Le16(d.fmPresets[0].empty); }},
      {"FM preset 19 frequency", 7686 + 19 * 10 + 2, 8,
       [](const DocumentRecord& d) { return d.fmPresets[19].frequency.raw(); }},
      {"test pair 0 first", 7886, 8,
       [](const DocumentRecord& d) { return d.testFrequencies[0].first.raw(); }},
      {"test pair 10 second", 7886 + 10 * 16 + 8, 8,
       [](const DocumentRecord& d) { return d.testFrequencies[10].second.raw(); }},
      {"model name", 8062, 7, [](const DocumentRecord& d) { return d.modelInfo.modelName.raw(); }},
      {"band index", 8069, 2, [](const DocumentRecord& d) { return Le16(d.modelInfo.bandIndex); }},
      {"optional feature 0", 8071, 2,
       [](const DocumentRecord& d) { return Le16(d.optionalFeatures.values[0]); }},
      {"optional feature 17", 8071 + 34, 2,
       [](const DocumentRecord& d) { return Le16(d.optionalFeatures.values[17]); }},
      {"DTMF setting 0", 8107, 2, [](const DocumentRecord& d) { return Le16(d.dtmf.settings[0]); }},
      {"DTMF ID code", 8107 + 18, 10, [](const DocumentRecord& d) { return d.dtmf.idCode.raw(); }},
      {"DTMF ID length", 8107 + 28, 2,
       [](const DocumentRecord& d) { return Le16(d.dtmf.idLength); }},
      {"DTMF begin-of-transmission code length", 8107 + 30, 2,
       [](const DocumentRecord& d) { return Le16(d.dtmf.specialCodes[0].length); }},
      {"DTMF kill code digits", 8107 + 30 + 3 * 18 + 2, 16,
       [](const DocumentRecord& d) { return d.dtmf.specialCodes[3].digits.raw(); }},
      {"DTMF memory 1 length", 8107 + 102, 2,
       [](const DocumentRecord& d) { return Le16(d.dtmf.memories[0].length); }},
      {"DTMF memory 16 digits", 8107 + 102 + 15 * 18 + 2, 16,
       [](const DocumentRecord& d) { return d.dtmf.memories[15].digits.raw(); }},
      {"message line 1", 8497, 16,
       [](const DocumentRecord& d) { return d.message.lines[0].raw(); }},
      {"message line 4", 8497 + 48, 16,
       [](const DocumentRecord& d) { return d.message.lines[3].raw(); }},
      {"key 1", 8561, 2, [](const DocumentRecord& d) { return Le16(d.keys.values[0]); }},
      {"key 6", 8571, 2, [](const DocumentRecord& d) { return Le16(d.keys.values[5]); }},
      {"alert bytes", 8573, 10,
       [](const DocumentRecord& d) {
         return std::string(d.alert.bytes.begin(), d.alert.bytes.end());
       }},
      {"scan bytes", 8583, 12,
       [](const DocumentRecord& d) {
         return std::string(d.scan.bytes.begin(), d.scan.bytes.end());
       }},
  };
  const DocumentRecord doc = DistinctDocument();
  const auto image = doc.toBytes();
  for (const auto& place : places) {
    EXPECT_EQ(BytesAt(image, place.offset, place.length), place.expected(doc)) << place.what;
  }
}

struct ChannelFieldPlace {
  const char* what;
  std::int16_t ChannelRecord::*field;
  std::size_t offset;
};

TEST(ChannelImage, EachFieldSitsAtItsOffsetInTheSixtyByteEntry) {
  const std::vector<ChannelFieldPlace> places = {
      {"number", &ChannelRecord::number, 0},
      {"reserved", &ChannelRecord::reserved, 2},
      {"decode tone", &ChannelRecord::decodeTone, 20},
      {"encode tone", &ChannelRecord::encodeTone, 22},
      {"receive step kind", &ChannelRecord::rxStepKind, 24},
      {"transmit step kind", &ChannelRecord::txStepKind, 26},
      {"transmit inhibit", &ChannelRecord::txInhibit, 28},
      {"scrambler/talkaround", &ChannelRecord::scramblerTalkaround, 30},
      {"voice encryption", &ChannelRecord::voiceEncryption, 32},
      {"busy lockout", &ChannelRecord::busyLockout, 34},
      {"talkaround", &ChannelRecord::talkaround, 36},
      {"signalling relation", &ChannelRecord::signallingRelation, 38},
      {"whisper", &ChannelRecord::whisper, 40},
      {"PTT ID", &ChannelRecord::pttId, 42},
      {"spacing", &ChannelRecord::spacing, 44},
      {"optional signalling", &ChannelRecord::optionalSignalling, 46},
      {"compander", &ChannelRecord::compander, 48},
      {"scrambler", &ChannelRecord::scrambler, 50},
      {"power", &ChannelRecord::power, 52},
      {"auto-dial 1", &ChannelRecord::autodial1, 54},
      {"auto-dial 2", &ChannelRecord::autodial2, 56},
      {"scan skip", &ChannelRecord::scanSkip, 58},
  };
  // Channel entry 5 of the list, so that the entry size is checked as well.
  constexpr std::size_t kEntry = 6 + 5 * 60;
  DocumentRecord doc;
  auto& c = doc.channels[5];
  for (std::size_t i = 0; i < places.size(); ++i) {
    c.*places[i].field = static_cast<std::int16_t>(0x0101 * (i + 1));
  }
  c.rxFreq.assign("43512500");
  c.offsetDirection = 2;
  c.offset.assign("0500000");
  const auto image = doc.toBytes();

  for (std::size_t i = 0; i < places.size(); ++i) {
    EXPECT_EQ(I16At(image, kEntry + places[i].offset), 0x0101 * static_cast<int>(i + 1))
        << places[i].what;
  }
  EXPECT_EQ(BytesAt(image, kEntry + 4, 8), "43512500");
  EXPECT_EQ(image[kEntry + 12], 2);
  EXPECT_EQ(BytesAt(image, kEntry + 13, 7), "0500000");
  // The neighbouring entries are untouched.
  EXPECT_EQ(I16At(image, kEntry - 60), 0);
  EXPECT_EQ(I16At(image, kEntry + 60), 0);
}

TEST(DocumentImage, IntegersAreLittleEndianAndSigned) {
  DocumentRecord doc;
  doc.keys.values[0] = -2;
  doc.keys.values[1] = 0x1234;
  doc.channelCount = 300;
  const auto image = doc.toBytes();
  EXPECT_EQ(image[8561], 0xFE);
  EXPECT_EQ(image[8562], 0xFF);
  EXPECT_EQ(image[8563], 0x34);
  EXPECT_EQ(image[8564], 0x12);
  EXPECT_EQ(image[4], 0x2C);
  EXPECT_EQ(image[5], 0x01);

  const auto back = DocumentRecord::fromBytes(image);
  ASSERT_TRUE(back.has_value());
  EXPECT_EQ(back->keys.values[0], -2);
  EXPECT_EQ(back->keys.values[1], 0x1234);
}

TEST(FixedText, ShortTextIsFilledWithSpacesAndLongTextIsCut) {
  DocumentRecord doc;
  doc.message.lines[0].assign("ABC");
  doc.message.lines[1].assign("ABCDEFGHIJKLMNOPQRSTUVWXYZ");
  const auto image = doc.toBytes();
  EXPECT_EQ(BytesAt(image, 8497, 16), "ABC             ");
  EXPECT_EQ(BytesAt(image, 8497 + 16, 16), "ABCDEFGHIJKLMNOP");

  // Assigning again replaces the whole field, not only its start.
  doc.message.lines[1].assign("XY");
  EXPECT_EQ(doc.message.lines[1].raw(), "XY              ");
  EXPECT_EQ(FixedText<4>().raw(), "    ");
}

TEST(DocumentRecordChannels, UsedCountIsLimitedToTheTable) {
  DocumentRecord doc;
  for (const auto& [count, used] : std::vector<std::pair<int, int>>{
           {0, 0}, {1, 1}, {128, 128}, {129, 128}, {-1, 0}, {32767, 128}}) {
    doc.channelCount = static_cast<std::int16_t>(count);
    EXPECT_EQ(doc.usedCount(), used) << "count " << count;
    EXPECT_EQ(doc.usedChannels().size(), static_cast<std::size_t>(used)) << "count " << count;
  }
}

TEST(SideFileImage, HoldsVersionThenAlarmMode) {
  const SideFileRecord defaults;
  EXPECT_EQ(defaults.version.raw(), "V200");
  EXPECT_EQ(defaults.alarmMode, 1);

  SideFileRecord side;
  side.alarmMode = 0xA5;
  const auto image = side.toBytes();
  const std::array<std::uint8_t, 5> expected{'V', '2', '0', '0', 0xA5};
  EXPECT_EQ(image, expected);

  const auto back = SideFileRecord::fromBytes(image);
  ASSERT_TRUE(back.has_value());
  EXPECT_EQ(*back, side);
}

TEST(SideFileImage, RefusesImagesOfAnyOtherLength) {
  for (std::size_t size : {0u, 4u, 6u}) {
    const std::vector<std::uint8_t> bytes(size, 'V');
    EXPECT_FALSE(SideFileRecord::fromBytes(bytes).has_value()) << size << " bytes";
  }
}

}  // namespace
}  // namespace cps
