// The comparison of two documents: one line per differing field, in the
// words of the windows, channels matched by number.
#include "core/compare/compare.hpp"

#include <gtest/gtest.h>

#include <functional>
#include <map>

#include "../document/test_support.hpp"
#include "core/document/channel_list.hpp"
#include "core/document/codec.hpp"
#include "core/document/defaults.hpp"
#include "core/link/radio_image.hpp"
#include "core/run_state.hpp"

namespace cps {
namespace {

using testing::MakeChannel;
using testing::SetChannels;

// A few English words; any other text is "T" and its number.
std::string textOf(int id) {
  static const std::map<int, std::string> kWords = {
      {13001, "Model"}, {13002, "Band"}, {14002, "RX"},  {14003, "TX"},  {14007, "Power"},
      {14014, "Low"},   {14016, "High"}, {14017, "No"},  {14018, "Yes"}, {15030, "Off"},
      {15037, "BOT"},   {14013, "None"}, {26030, "Off"}, {26031, "On"},  {29101, "(not present)"},
  };
  const auto word = kWords.find(id);
  return word != kWords.end() ? word->second : "T" + std::to_string(id);
}

// Two equal documents of the same model and band with channels 1, 2 and 17.
struct Pair {
  Pair() {
    for (RunState* s : {&a, &b}) {
      ApplyDocumentDefaults(*s, Today{"2024-01-01", 1});
      SetChannels(s->workingDocument, {MakeChannel(1, "43500000"), MakeChannel(2, "43600000"),
                                       MakeChannel(17, "44000000")});
      s->workingDocument.dtmf.memories[1] = testing::MakeDtmfCode("12");
    }
  }
  std::vector<FieldDifference> compare(CompareOptions options = {}) {
    return CompareDocuments(WorkingDocumentOf(a), WorkingDocumentOf(b), TextOf(textOf), options);
  }
  ChannelRecord& channelOf(RunState& s, int number) {
    for (auto& c : s.workingDocument.usedChannels()) {
      if (c.number == number) return c;
    }
    ADD_FAILURE() << "no channel " << number;
    return s.workingDocument.channels[0];
  }
  RunState a;
  RunState b;
};

struct ChangeCase {
  const char* kind;
  std::function<void(Pair&)> change;  // changes side b
  FieldDifference expected;           // block, field, channel, label, a, b: the first line
  std::size_t lines = 1;
};

void PrintTo(const ChangeCase& c, std::ostream* os) { *os << c.kind; }

class CompareOneChange : public ::testing::TestWithParam<ChangeCase> {};

TEST_P(CompareOneChange, GivesOneLineInTheWindowsWords) {
  const auto& c = GetParam();
  Pair pair;
  ASSERT_TRUE(pair.compare().empty());
  c.change(pair);
  const auto differences = pair.compare();
  ASSERT_EQ(differences.size(), c.lines);
  const auto& d = differences.front();
  EXPECT_EQ(d.block, c.expected.block);
  EXPECT_EQ(d.field, c.expected.field);
  EXPECT_EQ(d.channel, c.expected.channel);
  EXPECT_EQ(d.label, c.expected.label);
  EXPECT_EQ(d.a, c.expected.a);
  EXPECT_EQ(d.b, c.expected.b);
  // A setting line names its row, so that the desktop can open its window.
  EXPECT_EQ(d.setting != nullptr,
            c.expected.block != CompareBlock::Model && c.expected.block != CompareBlock::Channels);
}

using B = CompareBlock;

INSTANTIATE_TEST_SUITE_P(
    EveryKindOfField, CompareOneChange,
    ::testing::Values(
        ChangeCase{"model",
                   [](Pair& p) { p.b.model.select("TW530", "400 - 480 MHz"); },
                   {B::Model, "model", 0, nullptr, "Model", "TW530G", "TW530"}},
        ChangeCase{"band",
                   [](Pair& p) { p.b.model.select("TW530G", "400 - 470 MHz"); },
                   {B::Model, "band", 0, nullptr, "Band", "400 - 480 MHz", "400 - 470 MHz"}},
        ChangeCase{"receive frequency",
                   [](Pair& p) { p.channelOf(p.b, 2).rxFreq.assign("43612500"); },
                   // A simplex channel's transmit frequency follows: the second line.
                   {B::Channels, "channel.2.rx", 2, nullptr, "RX", "436.00000", "436.12500"},
                   2},
        ChangeCase{"transmit frequency by its offset",
                   [](Pair& p) {
                     auto& c = p.channelOf(p.b, 17);
                     c.offsetDirection = 2;
                     c.offset.assign("0500000");
                   },
                   {B::Channels, "channel.17.tx", 17, nullptr, "TX", "440.00000", "445.00000"}},
        ChangeCase{"tone",
                   [](Pair& p) { p.channelOf(p.b, 1).decodeTone = 1; },
                   {B::Channels, "channel.1.decode", 1, nullptr, "T14005", "None", "67.0"}},
        ChangeCase{"a column's list",
                   [](Pair& p) { p.channelOf(p.b, 1).power = 0; },
                   {B::Channels, "channel.1.power", 1, nullptr, "Power", "High", "Low"}},
        ChangeCase{"a dialog's list",
                   [](Pair& p) { p.channelOf(p.b, 1).pttId = 1; },
                   {B::Channels, "channel.1.ptt-id", 1, nullptr, "T15009", "Off", "BOT"}},
        ChangeCase{"a dialog's list drawn from the DTMF memories",
                   [](Pair& p) { p.channelOf(p.b, 2).autodial2 = 2; },
                   {B::Channels, "channel.2.autodial2", 2, nullptr, "T15013 2", "None", "2"}},
        ChangeCase{"a dialog's check box",
                   [](Pair& p) { p.channelOf(p.b, 1).whisper = 1; },
                   {B::Channels, "channel.1.whisper", 1, nullptr, "T15019", "No", "Yes"}},
        ChangeCase{
            "a value the list cannot show, shown as its first item",
            [](Pair& p) { p.channelOf(p.b, 1).spacing = 3; },
            {B::Channels, "channel.1.spacing", 1, nullptr, "T14010", "T14020 [0]", "T14020 [3]"}},
        ChangeCase{"what no window shows of a channel",
                   [](Pair& p) { p.channelOf(p.b, 1).rxStepKind = 1; },
                   {B::Channels, "channel.1.stored", 1, nullptr, "T29100", "0 0 0", "1 0 0"}},
        ChangeCase{"a setting's list",
                   [](Pair& p) { p.b.workingDocument.scan.bytes[ScanBlock::kMode] = 1; },
                   {B::Scan, "scan.mode", 0, nullptr, "T26001", "Off", "On"}},
        ChangeCase{"a setting's check box",
                   [](Pair& p) {
                     p.b.workingDocument.optionalFeatures.values[OptionalFeaturesBlock::kVox] = 1;
                   },
                   {B::OptionalFeatures, "options.vox", 0, nullptr, "T16020", "No", "Yes"}},
        ChangeCase{
            "a DTMF code",
            [](Pair& p) { p.b.workingDocument.dtmf.memories[1] = testing::MakeDtmfCode("12*"); },
            {B::Dtmf, "dtmf.memory.2", 0, nullptr, "2", "12", "12*"}},
        ChangeCase{"a line of the message",
                   [](Pair& p) { p.b.workingDocument.message.lines[3].assign("HELLO"); },
                   {B::Message, "message.4", 0, nullptr, "message.4", "", "HELLO"}},
        ChangeCase{"the side record's alarm mode",
                   [](Pair& p) { p.b.workingSide.alarmMode = 0; },
                   {B::Alert, "alert.mode", 0, nullptr, "T27011", "On", "Off"}}));

TEST(CompareDocuments, MatchesChannelsByNumberWhateverTheirOrder) {
  Pair pair;
  auto& channels = pair.b.workingDocument.channels;
  std::swap(channels[0], channels[2]);
  EXPECT_TRUE(pair.compare().empty());
}

TEST(CompareDocuments, AChannelOnOneSideOnlyIsOneLine) {
  for (const bool missingInB : {true, false}) {
    Pair pair;
    RunState& fewer = missingInB ? pair.b : pair.a;
    SetChannels(fewer.workingDocument, {MakeChannel(1, "43500000"), MakeChannel(17, "44000000")});
    const auto differences = pair.compare();
    ASSERT_EQ(differences.size(), 1u) << missingInB;
    const auto& d = differences.front();
    EXPECT_EQ(d.field, "channel.2");
    EXPECT_EQ(d.channel, 2);
    EXPECT_EQ(missingInB ? d.a : d.b, "436.00000");
    EXPECT_EQ(missingInB ? d.b : d.a, "(not present)");
  }
}

TEST(CompareDocuments, NoReceiveFrequencyIsTheSameBlankOrAllF) {
  Pair pair;
  pair.channelOf(pair.a, 2).rxFreq.assign("FFFFFFFF");
  pair.channelOf(pair.b, 2).rxFreq.assign("");
  EXPECT_TRUE(pair.compare().empty());
}

TEST(CompareDocuments, ListsBlocksInOrderAndChecksAsCliGetPrintsThem) {
  Pair pair;
  pair.b.workingDocument.optionalFeatures.values[OptionalFeaturesBlock::kVox] = 1;
  pair.channelOf(pair.b, 17).power = 0;
  pair.b.model.select("TW530", "400 - 480 MHz");
  const auto differences = pair.compare({.offsetMode = false, .checksAsWords = false});
  ASSERT_EQ(differences.size(), 3u);
  EXPECT_EQ(differences[0].field, "model");
  EXPECT_EQ(differences[1].field, "channel.17.power");
  EXPECT_EQ(differences[2].field, "options.vox");
  EXPECT_EQ(differences[2].a, "0");
  EXPECT_EQ(differences[2].b, "1");
  EXPECT_EQ(DifferenceLine(differences[2]), "options.vox (T16020): 0 -> 1");
}

TEST(CompareDocuments, TheTransmitColumnFollowsTheOffsetHabit) {
  Pair pair;
  auto& c = pair.channelOf(pair.b, 17);
  c.offsetDirection = 1;
  c.offset.assign("0060000");
  const auto differences = pair.compare({.offsetMode = true});
  ASSERT_EQ(differences.size(), 1u);
  EXPECT_EQ(differences[0].label, "T14100");
  EXPECT_EQ(differences[0].b, "-0.60000");
}

}  // namespace
}  // namespace cps

namespace cps {
namespace {

// Every bit of a document flipped in turn (one bit per byte, walking through
// the eight positions), compared as two files are, each as the windows would
// show it: where the radio would be written differently, the comparison has a
// line, whatever window shows the byte, whether one does, or whether the
// windows would show both alike (a DTMF code of no digits against one blank,
// an offset direction no list names, a channel reference of 0 that shows as 1).
TEST(CompareDocuments, NoDifferenceThatReachesTheRadioIsHidden) {
  Pair pair;
  const auto original = pair.a.workingDocument.toBytes();
  const auto imageOf = [](RunState& state) {
    struct Quiet final : Prompter {
      Answer ask(const Message&) override { return Answer::Ok; }
      std::optional<std::string> chooseFile(const FileDialogRequest&) override { return {}; }
    } quiet;
    RadioImage image{};
    ClearImage(image);
    PackDocumentToImage(state, image, CodecContext{state.model.limits, quiet});
    return image;
  };
  const RadioImage imageA = imageOf(pair.a);
  int radioDiffers = 0;
  for (std::size_t at = 4; at < original.size(); ++at) {
    auto bytes = original;
    bytes[at] ^= static_cast<std::uint8_t>(1u << (at % 8));
    const auto changed = DocumentRecord::fromBytes(bytes);
    ASSERT_TRUE(changed.has_value());
    pair.b.workingDocument = *changed;
    if (imageOf(pair.b) == imageA) continue;
    ++radioDiffers;
    const ComparedFile a = ShownCopyOf(pair.a);
    const ComparedFile b = ShownCopyOf(pair.b);
    EXPECT_FALSE(CompareDocuments(a.view(), b.view(), TextOf(textOf), CompareOptions{}).empty())
        << "byte " << at << " bit " << at % 8;
  }
  EXPECT_GT(radioDiffers, 100);
}

}  // namespace
}  // namespace cps
