#include "radiosim/radio_protocol.hpp"

#include <gtest/gtest.h>

#include <ostream>
#include <string>

#include "test_bytes.hpp"

namespace cps::radiosim {
namespace {

using namespace test;

struct Exchange {
  Bytes in;            // what the host sends (fed in one piece)
  Bytes out;           // what the radio must answer to exactly that
  bool quiet = false;  // instead of feeding: the line goes quiet
};

struct Transcript {
  std::string name;
  std::vector<Exchange> exchanges;
  ProtocolConfig config{};
  std::string password;
};

// Test names and failure messages show the transcript's name, not its bytes.
void PrintTo(const Transcript& t, std::ostream* os) { *os << t.name; }

Exchange quiet(Bytes out) { return {{}, std::move(out), true}; }

Transcript transcript(std::string name, std::vector<Exchange> exchanges, ProtocolConfig config = {},
                      std::string password = {}) {
  return {std::move(name), std::move(exchanges), std::move(config), std::move(password)};
}

RadioMemory memoryFor(const Transcript& t) {
  auto memory = ErasedMemory();
  WriteIdentification(memory, t.config.identity);
  if (!t.password.empty()) WritePassword(memory, t.password);
  return memory;
}

const Bytes kErased16 = repeat(0xFF, 16);
// P, "TW530G" and a 0, band code 0, "V200", capability 0, one unexamined byte, 0x06.
const Bytes kDefaultIdent =
    text("P") + text("TW530G") + Bytes{0x00} + Bytes{0x00} + text("V200") + Bytes{0x00, 0x00, 0x06};
// The erased block at 0x000: address 00 00, length 10, sixteen FF add up to 0x00.
const Bytes kErasedBlock0 = Bytes{'W', 0x00, 0x00, 0x10} + kErased16 + Bytes{0x00, 0x06};

ProtocolConfig withFaults(FaultPlan faults, bool echo = false) {
  ProtocolConfig config;
  config.faults = faults;
  config.echo = echo;
  return config;
}

std::vector<Transcript> transcripts() {
  std::vector<Transcript> all;
  all.push_back(transcript("Handshake", {{kProgram, kHandshakeAck}, {kProgram, kHandshakeAck}}));
  all.push_back(
      transcript("Identification", {{kProgram, kHandshakeAck}, {kIdentRequest, kDefaultIdent}}));
  {
    auto t = transcript("IdentificationFollowsTheOptions",
                        {{kProgram, kHandshakeAck},
                         {kIdentRequest, text("PTW530") + Bytes{0x00, 0x00, 0x0A} + text("V201") +
                                             Bytes{0x0C, 0x00, 0x06}}});
    t.config.identity = {"TW530", 0x0A, "V201", 0x0C};
    all.push_back(t);
  }
  all.push_back(transcript("ReadErasedBlock",
                           {{kProgram, kHandshakeAck}, {readRequest(0x000), kErasedBlock0}}));
  all.push_back(transcript(
      "ReadIdentificationBlock",
      {{kProgram, kHandshakeAck},
       {readRequest(0xB00), dataFrame(0xB00, text("TW530G") + Bytes{0x00, 0x00} + text("V200") +
                                                 Bytes{0x00, 0xFF, 0xFF, 0xFF})}}));
  all.push_back(
      transcript("ReadPasswordBlock",
                 {{kProgram, kHandshakeAck},
                  {readRequest(0xB30), dataFrame(0xB30, repeat(0xFF, 12) + text("12ab"))}},
                 {}, "12ab"));
  all.push_back(transcript(
      "ShortPasswordIsPaddedWithFF",
      {{kProgram, kHandshakeAck},
       {readRequest(0xB30), dataFrame(0xB30, repeat(0xFF, 12) + text("7") + repeat(0xFF, 3))}},
      {}, "7"));
  all.push_back(transcript("WriteIsAcknowledgedAndStored",
                           {{kProgram, kHandshakeAck},
                            {dataFrame(0x020, ladder()), kAck},
                            {readRequest(0x020), dataFrame(0x020, ladder())},
                            {readRequest(0x010), dataFrame(0x010, kErased16)}}));
  all.push_back(
      transcript("WriteWithWrongChecksumAsksForItAgain",
                 {{kProgram, kHandshakeAck},
                  {dataFrame(0x010, ladder(), checksumOf(0x010, ladder()) ^ 0x01), kRetry},
                  {readRequest(0x010), dataFrame(0x010, kErased16)},
                  {dataFrame(0x010, ladder()), kAck},
                  {readRequest(0x010), dataFrame(0x010, ladder())}}));
  all.push_back(transcript("EndLeavesProgrammingMode", {{kProgram, kHandshakeAck},
                                                        {kEnd, kAck},
                                                        {readRequest(0x000), {}},
                                                        {kEnd, {}},
                                                        {kProgram, kHandshakeAck},
                                                        {readRequest(0x000), kErasedBlock0}}));
  all.push_back(
      transcript("NothingButTheHandshakeBeforeProgramming", {{kIdentRequest, {}},
                                                             {readRequest(0x000), {}},
                                                             {dataFrame(0x000, ladder()), {}},
                                                             {kEnd, {}},
                                                             {kProgram, kHandshakeAck},
                                                             {readRequest(0x000), kErasedBlock0}}));
  all.push_back(transcript("ReadsOutsideTheMemoryGetNoAnswer",
                           {{kProgram, kHandshakeAck},
                            {readRequest(0xD00), {}},
                            {readRequest(0xCF8), {}},
                            {readRequest(0x000, 0), {}},
                            {readRequest(0xCF0), dataFrame(0xCF0, kErased16)},
                            {readRequest(0xCFF, 1), dataFrame(0xCFF, {0xFF})}}));
  all.push_back(
      transcript("WritesOutsideTheMemoryGetNoAnswer", {{kProgram, kHandshakeAck},
                                                       {dataFrame(0xD00, ladder()), {}},
                                                       {dataFrame(0xCF8, ladder()), {}},
                                                       {dataFrame(0xCF0, ladder()), kAck}}));
  {
    auto t =
        transcript("EchoingCable", {{kProgram, kProgram + kHandshakeAck},
                                    {kIdentRequest, kIdentRequest + kDefaultIdent},
                                    {readRequest(0x000), readRequest(0x000) + kErasedBlock0},
                                    {dataFrame(0x000, ladder()), dataFrame(0x000, ladder()) + kAck},
                                    {kEnd, kEnd + kAck},
                                    {text("xy"), text("xy")}});
    t.config.echo = true;
    all.push_back(t);
  }
  {
    const Bytes write = dataFrame(0x030, ladder());
    all.push_back(transcript("FramesInPieces", {{text("PRO"), {}},
                                                {text("GR"), {}},
                                                {text("AM"), kHandshakeAck},
                                                {{'R', 0x00}, {}},
                                                {{0x00, 0x10}, kErasedBlock0},
                                                {Bytes(write.begin(), write.begin() + 3), {}},
                                                {Bytes(write.begin() + 3, write.begin() + 20), {}},
                                                {Bytes(write.begin() + 20, write.end()), kAck},
                                                {text("E"), {}},
                                                {text("ND"), kAck}}));
  }
  all.push_back(
      transcript("SeveralFramesInOneFeed", {{kProgram + kIdentRequest + readRequest(0x000),
                                             kHandshakeAck + kDefaultIdent + kErasedBlock0}}));
  all.push_back(
      transcript("NoiseBeforeAFrame",
                 {{Bytes{0x00, 0xFF, 0x13, 'X', 'Q', 0x06, 0x0A} + kProgram, kHandshakeAck},
                  {text("PPROGRAM"), kHandshakeAck},
                  {text("PRPROGRAM"), kHandshakeAck},
                  {text("PROPROGRAM"), kHandshakeAck},
                  {text("ENEND"), kAck}}));
  {
    // A "W" whose block does not end in 0x06 was noise: the radio reads on from
    // the byte after the "W" and finds the request behind it.
    Bytes noise = dataFrame(0x000, ladder());
    noise.back() = 0x07;
    all.push_back(
        transcript("BlockWithoutItsEndIsNoise", {{kProgram, kHandshakeAck},
                                                 {noise + readRequest(0x000), kErasedBlock0},
                                                 {readRequest(0x000), kErasedBlock0}}));
  }
  all.push_back(transcript("QuietLineGivesUpAnUnfinishedFrame",
                           {{kProgram, kHandshakeAck},
                            {Bytes{'W', 0x01, 0x00} + readRequest(0x000), {}},
                            quiet(kErasedBlock0),
                            {readRequest(0x000), kErasedBlock0},
                            quiet({})}));
  all.push_back(
      transcript("QuietLineDropsAHalfHandshake",
                 {{text("PROG"), {}}, quiet({}), {text("RAM"), {}}, {kProgram, kHandshakeAck}}));

  // Faults.
  all.push_back(transcript("DropEverySecondAnswer",
                           {{kProgram, kHandshakeAck},
                            {kIdentRequest, {}},
                            {readRequest(0x000), kErasedBlock0},
                            {readRequest(0x000), {}},
                            {kEnd, kAck}},
                           withFaults({2, 0, 0, {}})));
  all.push_back(transcript("DroppedAnswerStillStoresTheBlock",
                           {{kProgram, kHandshakeAck},
                            {dataFrame(0x000, ladder()), {}},
                            {readRequest(0x000), dataFrame(0x000, ladder())}},
                           withFaults({2, 0, 0, {}})));
  all.push_back(transcript("DroppedEndStillEndsProgramming",
                           {{kProgram, kHandshakeAck}, {kEnd, {}}, {readRequest(0x000), {}}},
                           withFaults({2, 0, 0, {}})));
  {
    Bytes corrupt = kErasedBlock0;
    corrupt[corrupt.size() - 2] = 0x01;
    all.push_back(transcript("CorruptEverySecondBlockSent",
                             {{kProgram, kHandshakeAck},
                              {readRequest(0x000), kErasedBlock0},
                              {dataFrame(0x100, ladder()), kAck},
                              {kIdentRequest, kDefaultIdent},
                              {readRequest(0x000), corrupt},
                              {readRequest(0x000), kErasedBlock0},
                              {readRequest(0x000), corrupt}},
                             withFaults({0, 2, 0, {}})));
  }
  all.push_back(transcript("RetryEverySecondBlockWritten",
                           {{kProgram, kHandshakeAck},
                            {dataFrame(0x000, ladder()), kAck},
                            {dataFrame(0x010, ladder()), kRetry},
                            {readRequest(0x010), dataFrame(0x010, kErased16)},
                            {dataFrame(0x010, ladder()), kAck},
                            {dataFrame(0x020, ladder()), kRetry},
                            {readRequest(0x000), dataFrame(0x000, ladder())}},
                           withFaults({0, 0, 2, {}})));
  all.push_back(transcript("MuteAfterTwoAnswers",
                           {{kProgram, kHandshakeAck},
                            {kIdentRequest, kDefaultIdent},
                            {readRequest(0x000), {}},
                            {kProgram, {}},
                            {kEnd, {}}},
                           withFaults({0, 0, 0, 2})));
  all.push_back(transcript("LostAnswersDoNotCountTowardsSilence",
                           {{kProgram, kHandshakeAck},
                            {kIdentRequest, {}},
                            {readRequest(0x000), kErasedBlock0},
                            {readRequest(0x000), {}},
                            {kProgram, {}}},
                           withFaults({2, 0, 0, 2})));
  {
    FaultPlan cut;
    cut.cutEvery = 2;
    all.push_back(
        transcript("CutEverySecondAnswerToItsFirstHalf",
                   {{kProgram, kHandshakeAck},
                    {kIdentRequest, Bytes(kDefaultIdent.begin(), kDefaultIdent.begin() + 8)},
                    {readRequest(0x000), kErasedBlock0},
                    {dataFrame(0x000, ladder()), {}},
                    {readRequest(0x000), dataFrame(0x000, ladder())}},
                   withFaults(cut)));
    FaultPlan noise;
    noise.noiseEvery = 2;
    const Bytes lineNoise(kLineNoise.begin(), kLineNoise.end());
    all.push_back(transcript("NoiseBeforeEverySecondAnswer",
                             {{kProgram, kHandshakeAck},
                              {kIdentRequest, lineNoise + kDefaultIdent},
                              {readRequest(0x000), kErasedBlock0},
                              {kEnd, lineNoise + kAck}},
                             withFaults(noise)));
    FaultPlan forget;
    forget.forgetEvery = 2;
    all.push_back(transcript("EverySecondBlockWrittenIsAcknowledgedButNotStored",
                             {{kProgram, kHandshakeAck},
                              {dataFrame(0x000, ladder()), kAck},
                              {dataFrame(0x010, ladder()), kAck},
                              {readRequest(0x000), dataFrame(0x000, ladder())},
                              {readRequest(0x010), dataFrame(0x010, kErased16)}},
                             withFaults(forget)));
    all.push_back(transcript("NoiseFollowsTheEcho",
                             {{kProgram, kProgram + kHandshakeAck},
                              {kIdentRequest, kIdentRequest + lineNoise + kDefaultIdent}},
                             withFaults(noise, true)));
  }
  all.push_back(transcript("SilentFromTheStartButTheCableStillEchoes",
                           {{kProgram, kProgram}, {kIdentRequest, kIdentRequest}},
                           withFaults({0, 0, 0, 0}, true)));
  return all;
}

class Transcripts : public ::testing::TestWithParam<Transcript> {};

TEST_P(Transcripts, RadioAnswersAsExpected) {
  const auto& t = GetParam();
  RadioProtocol radio(memoryFor(t), t.config);
  for (std::size_t i = 0; i < t.exchanges.size(); ++i) {
    const auto& step = t.exchanges[i];
    const auto result = step.quiet ? radio.lineQuiet() : radio.feed(step.in);
    EXPECT_EQ(result.out, step.out)
        << "exchange " << i << ", host sent " << HexBytes(step.in) << "\n  radio sent "
        << HexBytes(result.out) << "\n  expected   " << HexBytes(step.out);
    EXPECT_EQ(result.outAfter.size(), result.out.size());
    EXPECT_EQ(result.echoed.size(), result.out.size());
  }
}

INSTANTIATE_TEST_SUITE_P(RadioProtocol, Transcripts, ::testing::ValuesIn(transcripts()),
                         [](const auto& test) { return test.param.name; });

RadioProtocol plainRadio(ProtocolConfig config = {}) {
  auto memory = ErasedMemory();
  WriteIdentification(memory, config.identity);
  return RadioProtocol(memory, config);
}

TEST(RadioProtocol, OnlyEndTellsThatATransferEnded) {
  auto radio = plainRadio();
  EXPECT_FALSE(radio.feed(kProgram).transferEnded);
  EXPECT_FALSE(radio.feed(readRequest(0)).transferEnded);
  EXPECT_FALSE(radio.feed(dataFrame(0, ladder())).transferEnded);
  EXPECT_TRUE(radio.inProgrammingMode());
  EXPECT_TRUE(radio.feed(kEnd).transferEnded);
  EXPECT_FALSE(radio.inProgrammingMode());
  // An end frame outside a session ends nothing.
  EXPECT_FALSE(radio.feed(kEnd).transferEnded);
}

TEST(RadioProtocol, WrittenBlocksAreInTheMemory) {
  auto radio = plainRadio();
  radio.feed(kProgram);
  radio.feed(dataFrame(0x7F0, ladder()));
  radio.feed(dataFrame(0x7F0 + 16, ladder(), 0x00));  // wrong checksum: not stored
  const auto& memory = radio.memory();
  EXPECT_EQ(Bytes(memory.begin() + 0x7F0, memory.begin() + 0x800), ladder());
  EXPECT_EQ(Bytes(memory.begin() + 0x800, memory.begin() + 0x810), kErased16);
}

TEST(RadioProtocol, EachByteLeavesAfterWhatItAnswers) {
  ProtocolConfig config;
  config.echo = true;
  auto radio = plainRadio(config);
  const auto result = radio.feed(kProgram + kIdentRequest);
  ASSERT_EQ(result.out, kProgram + kHandshakeAck + kIdentRequest + kDefaultIdent);
  std::vector<std::size_t> expected;
  std::vector<bool> echoed;
  for (std::size_t i = 1; i <= 7; ++i) expected.push_back(i);  // the echo, byte by byte
  echoed.insert(echoed.end(), 7, true);
  for (int i = 0; i < 3; ++i) expected.push_back(7);  // the handshake ack after "M"
  echoed.insert(echoed.end(), 3, false);
  expected.push_back(8);  // the echo of 0x02
  echoed.push_back(true);
  for (int i = 0; i < 16; ++i) expected.push_back(8);  // and its identification
  echoed.insert(echoed.end(), 16, false);
  EXPECT_EQ(result.outAfter, expected);
  EXPECT_EQ(result.echoed, echoed);

  const auto late = radio.feed(text("R"));
  EXPECT_TRUE(radio.assemblingFrame());
  const auto rest = radio.feed(Bytes{0x00, 0x00, 0x10});
  EXPECT_FALSE(radio.assemblingFrame());
  EXPECT_EQ(rest.outAfter.back(), 3u);
  EXPECT_EQ(late.out, text("R"));
}

TEST(RadioProtocol, LogShowsEveryFrameInAndOutInHex) {
  ProtocolConfig config;
  config.log = true;
  config.faults.corruptEvery = 1;
  auto radio = plainRadio(config);
  auto log = radio.feed(Bytes{0x33} + kProgram).log;
  const auto more = radio.feed(readRequest(0xB30)).log;
  log.insert(log.end(), more.begin(), more.end());
  const auto has = [&log](const std::string& line) {
    for (const auto& l : log) {
      if (l.find(line) != std::string::npos) return true;
    }
    return false;
  };
  EXPECT_TRUE(has("skipped 1 byte(s) that start no frame: 33"));
  EXPECT_TRUE(has("host  PROGRAM | 50 52 4F 47 52 41 4D"));
  EXPECT_TRUE(has("radio handshake ack | 54 57 06"));
  EXPECT_TRUE(has("host  read 0B30+16 | 52 0B 30 10"));
  EXPECT_TRUE(has("fault: block 1 goes out with checksum"));
  EXPECT_TRUE(has("radio block 0B30+16 | 57 0B 30 10 FF"));
}

TEST(RadioProtocol, NoLogUnlessAsked) {
  auto radio = plainRadio();
  EXPECT_TRUE(radio.feed(Bytes{0x33} + kProgram + readRequest(0xD00)).log.empty());
}

// A whole-radio write as the program does it, then every block read back.
TEST(RadioProtocol, WholeRadioWriteAndReadBack) {
  auto radio = plainRadio();
  ASSERT_EQ(radio.feed(kProgram).out, kHandshakeAck);
  for (unsigned address = 0; address <= 0xB00; address += 16) {
    Bytes data;
    for (unsigned i = 0; i < 16; ++i) data.push_back(static_cast<std::uint8_t>(address / 16 + i));
    ASSERT_EQ(radio.feed(dataFrame(static_cast<std::uint16_t>(address), data)).out, kAck)
        << address;
  }
  ASSERT_EQ(radio.feed(kEnd).out, kAck);
  ASSERT_EQ(radio.feed(kProgram).out, kHandshakeAck);
  for (unsigned address = 0; address < 0xD00; address += 16) {
    Bytes data;
    for (unsigned i = 0; i < 16; ++i) {
      data.push_back(address <= 0xB00 ? static_cast<std::uint8_t>(address / 16 + i) : 0xFF);
    }
    ASSERT_EQ(radio.feed(readRequest(static_cast<std::uint16_t>(address))).out,
              dataFrame(static_cast<std::uint16_t>(address), data))
        << address;
  }
}

}  // namespace
}  // namespace cps::radiosim
