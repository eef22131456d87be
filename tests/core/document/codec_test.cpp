// Conversions between stored frequencies, offsets, tones and DTMF digits and
// the texts shown to the user; band clamping and snapping to the channel step.
#include "core/document/codec.hpp"

#include <gtest/gtest.h>

#include <clocale>
#include <optional>
#include <set>
#include <string>
#include <tuple>
#include <vector>

#include "core/document/records.hpp"
#include "test_support.hpp"

namespace cps {
namespace {

using testing::NulOffset;
using testing::ScriptedPrompter;

constexpr BandLimits kUhf{400, 480};
constexpr BandLimits kVhf{136, 174};

class CodecTest : public ::testing::Test {
 protected:
  ScriptedPrompter prompter;
  CodecContext uhf{kUhf, prompter};
};

// ---- Plain numbers ---------------------------------------------------------

TEST(PlainNumbers, IsNumericAcceptsOnlyPlainDecimals) {
  const std::vector<std::pair<const char*, bool>> cases = {
      {"435", true},  {"435.125", true},  {" 435.1 ", true}, {"+5", true},   {"-0.6", true},
      {".5", true},   {"5.", true},       {"", false},       {" ", false},   {".", false},
      {"+", false},   {"1.2.3", false},   {"12a", false},    {"1e5", false}, {"1,5", false},
      {"--1", false}, {"FFFFFFFF", false}};
  for (const auto& [text, numeric] : cases) {
    EXPECT_EQ(IsNumeric(text), numeric) << '"' << text << '"';
    EXPECT_EQ(ParseNumber(text).has_value(), numeric) << '"' << text << '"';
  }
  EXPECT_DOUBLE_EQ(*ParseNumber(" -0.6 "), -0.6);
  EXPECT_DOUBLE_EQ(*ParseNumber("+435.125"), 435.125);
}

TEST(PlainNumbers, RoundingSendsHalvesToTheEvenNeighbour) {
  const std::vector<std::pair<double, std::int64_t>> cases = {
      {2.5, 2}, {3.5, 4}, {2.4999, 2}, {2.5001, 3}, {-2.5, -2}, {-1.5, -2}, {-0.5, 0}, {0, 0}};
  for (const auto& [value, rounded] : cases) EXPECT_EQ(RoundHalfEven(value), rounded) << value;
}

TEST(PlainNumbers, FormatsWithFiveDecimalsOrTheShortestForm) {
  EXPECT_EQ(FormatFixed5(435.125), "435.12500");
  EXPECT_EQ(FormatFixed5(5), "5.00000");
  EXPECT_EQ(FormatFixed5(0.6), "0.60000");
  EXPECT_EQ(FormatFixed5(-0.000001), "0.00000");  // no "-0.00000"
  EXPECT_EQ(FormatNumber(435.1), "435.1");
  EXPECT_EQ(FormatNumber(440), "440");
  EXPECT_EQ(FormatNumber(140.5), "140.5");
}

TEST(PlainNumbers, FormatsFixedDecimalsZeroPaddedToAWidth) {
  const std::vector<std::tuple<double, int, std::size_t, std::string>> cases = {
      {87.55, 5, 9, "087.55000"}, {108, 5, 9, "108.00000"}, {0.5, 1, 0, "0.5"},
      {1, 1, 0, "1.0"},           {2.25, 1, 0, "2.2"},      {-0.04, 1, 0, "0.0"},
      {-1.5, 2, 6, "-01.50"},     {1e300, 2, 0, "0.00"},    {7, 0, 3, "007"}};
  for (const auto& [value, decimals, width, text] : cases)
    EXPECT_EQ(FormatFixed(value, decimals, width), text) << value;
}

// The desktop program's toolkit hands the user's locale to the C library, so
// the numbers must come out with "." under a decimal-comma locale too. CI runs
// the tests once more with such a locale generated into LOCPATH.
TEST(PlainNumbers, UseAPointUnderADecimalCommaLocale) {
  const std::string before = std::setlocale(LC_NUMERIC, nullptr);
  const char* comma = nullptr;
  for (const char* name : {"de_DE.UTF-8", "de_DE.utf8", "fr_FR.UTF-8", "ru_RU.UTF-8"}) {
    if (std::setlocale(LC_NUMERIC, name) != nullptr) {
      comma = name;
      break;
    }
  }
  if (comma == nullptr) GTEST_SKIP() << "no decimal-comma locale on this machine";
  ASSERT_EQ(*std::localeconv()->decimal_point, ',') << comma;
  EXPECT_EQ(FormatFixed(87.55, 5, 9), "087.55000");
  EXPECT_EQ(FormatFixed5(435.125), "435.12500");
  EXPECT_EQ(FormatNumber(0.5), "0.5");
  EXPECT_EQ(ParseNumber("435.125"), 435.125);
  EXPECT_FALSE(ParseNumber("435,125").has_value());
  std::setlocale(LC_NUMERIC, before.c_str());
}

// ---- Fixed text fields -----------------------------------------------------

TEST(TrimFixedText, DropsTrailingSpacesThenCutsAtTheFirstNul) {
  const std::vector<std::pair<std::string, std::string>> cases = {
      {std::string("123\0  ", 6), "123"},
      {"ABC     ", "ABC"},
      {"  A", "  A"},  // leading spaces stay
      {std::string("\0       ", 8), ""},
      {std::string("A\0B  ", 5), "A"},
      {std::string("AB \0  ", 6), "AB "},  // spaces before the NUL are not trailing
      {"", ""},
      {"        ", ""},
  };
  for (const auto& [text, trimmed] : cases) EXPECT_EQ(TrimFixed(text), trimmed);

  FixedText<16> field("HELLO");
  EXPECT_EQ(TrimFixed(field), "HELLO");
  EXPECT_EQ(TrimFixed(NulText<16>()), "");
}

// ---- Frequencies -----------------------------------------------------------

struct ToStoredCase {
  const char* text;
  BandLimits limits;
  const char* stored;
};

TEST(FreqTextToStored, BuildsTheEightDigitForm) {
  const std::vector<ToStoredCase> cases = {
      {"435.125", kUhf, "43512500"},
      {"50.5", kUhf, "05050000"},
      {"435", kUhf, "43500000"},
      {"435.1", kUhf, "43510000"},
      {"", kUhf, ""},
      // A whole number is MHz too: "88" is 88 MHz, not 880.
      {"88", kUhf, "08800000"},
      {"5", kUhf, "00500000"},
      {".5", kUhf, "00050000"},
      {"145.", kVhf, "14500000"},
      {" 435.1 ", kUhf, "43510000"},
      {"+435.1", kUhf, "43510000"},
      // More than five decimals are cut, not rounded.
      {"435.123456", kUhf, "43512345"},
      {"435.123459", kUhf, "43512345"},
      // Not a frequency: the band's lower limit, silently.
      {"abc", kUhf, "40000000"},
      {"abc", kVhf, "13600000"},
      {"-5", kUhf, "40000000"},
      {"1.2.3", kVhf, "13600000"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(FreqTextToStored(c.text, c.limits), c.stored) << '"' << c.text << '"';
  }
}

struct ToTextCase {
  std::string stored;
  const char* text;
  bool reportsNotNumeric;
};

TEST_F(CodecTest, FreqStoredToTextShowsMegahertzWithFiveDecimals) {
  const std::vector<ToTextCase> cases = {
      {"43512500", "435.12500", false},
      {"05050000", "50.50000", false},
      {"14500833", "145.00833", false},
      {"00000000", "0.00000", false},
      {"FFFFFFFF", "", false},
      {"", "", false},
      {"        ", "", false},
      {std::string("\0       ", 8), "", false},
      // Damaged: reported, then read as the lower band limit.
      {"4351X500", "400", true},
      {"ABCDEFGH", "400", true},
  };
  for (const auto& c : cases) {
    prompter.clear();
    EXPECT_EQ(FreqStoredToText(c.stored, uhf), c.text) << '"' << c.stored << '"';
    EXPECT_EQ(prompter.notNumericReports(), c.reportsNotNumeric ? 1 : 0) << '"' << c.stored << '"';
    EXPECT_EQ(prompter.asked.size(), c.reportsNotNumeric ? 1u : 0u) << '"' << c.stored << '"';
  }
}

TEST_F(CodecTest, StoredAndShownFormsRoundTrip) {
  for (const char* text : {"435.12500", "400.00000", "480.00000", "136.00625", "50.50000"}) {
    EXPECT_EQ(FreqStoredToText(FreqTextToStored(text, kUhf), uhf), text);
  }
  EXPECT_TRUE(prompter.asked.empty());
}

struct InBandCase {
  const char* value;
  const char* shown;
  bool warns;
};

TEST_F(CodecTest, FormatFreqInBandClampsWithAWarning) {
  const std::vector<InBandCase> cases = {
      {"399", "400.00000", true},       {"481", "480.00000", true},
      {"abc", "400.00000", true},       {"", "400.00000", true},
      {"-435", "400.00000", true},      {"1000", "480.00000", true},
      {"399.99999", "400.00000", true}, {"480.00001", "480.00000", true},
      {"400", "400.00000", false},      {"480", "480.00000", false},
      {"435.1", "435.10000", false},    {" 435.125 ", "435.12500", false},
  };
  for (const auto& c : cases) {
    prompter.clear();
    EXPECT_EQ(FormatFreqInBand(c.value, uhf), c.shown) << '"' << c.value << '"';
    EXPECT_EQ(prompter.outOfBandWarnings(), c.warns ? 1 : 0) << '"' << c.value << '"';
    EXPECT_EQ(prompter.asked.size(), c.warns ? 1u : 0u) << '"' << c.value << '"';
  }
}

TEST_F(CodecTest, ClampToBandReturnsTheNearerLimit) {
  EXPECT_DOUBLE_EQ(ClampToBand(435.5, uhf), 435.5);
  EXPECT_DOUBLE_EQ(ClampToBand(400, uhf), 400);
  EXPECT_DOUBLE_EQ(ClampToBand(480, uhf), 480);
  EXPECT_TRUE(prompter.asked.empty());

  EXPECT_DOUBLE_EQ(ClampToBand(146, uhf), 400);
  EXPECT_DOUBLE_EQ(ClampToBand(520, uhf), 480);
  EXPECT_EQ(prompter.outOfBandWarnings(), 2);

  CodecContext vhf{kVhf, prompter};
  EXPECT_DOUBLE_EQ(ClampToBand(435, vhf), 174);
  EXPECT_DOUBLE_EQ(BandLowWithWarning(vhf), 136);
  EXPECT_EQ(prompter.outOfBandWarnings(), 4);
  EXPECT_EQ(FormatFreqInBand(100.0, vhf), "136.00000");
}

// ---- Offsets and the transmit side -------------------------------------------

struct OffsetTextCase {
  std::string offset;
  int direction;
  const char* shown;
};

TEST(OffsetStoredToText, SignFollowsTheDirection) {
  const std::vector<OffsetTextCase> cases = {
      {"0500000", 2, "+5.00000"}, {"0500000", 1, "-5.00000"},
      {"0500000", 0, "5.00000"},  {"0500000", 3, "5.00000"},
      {"0060000", 1, "-0.60000"}, {"9999999", 2, "+99.99999"},
      {"0000000", 0, "0.00000"},  {"FFFFFFF", 2, "+0.00000"},
      {"", 1, "-0.00000"},        {std::string(7, '\0'), 0, "0.00000"},
      {"       ", 2, "+0.00000"}, {"05000", 2, "+0.00000"},  // not seven digits
      {"05A0000", 2, "+0.00000"}, {"05000000", 2, "+0.00000"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(OffsetStoredToText(c.offset, c.direction), c.shown)
        << '"' << c.offset << "\" direction " << c.direction;
  }
}

struct OffsetFromCase {
  const char* what;
  const char* rx;
  const char* tx;
  bool offsetMode;
  std::string oldOffset;
  int oldDirection;
  int direction;
  const char* offset;
};

TEST_F(CodecTest, OffsetFromTextsFindsDirectionAndMagnitude) {
  const std::string nul(7, '\0');
  const std::vector<OffsetFromCase> cases = {
      {"transmit above", "43510000", "440.1", false, nul, 0, 2, "0500000"},
      {"transmit below", "43510000", "434.5", false, nul, 0, 1, "0060000"},
      {"transmit below, fine step", "43500000", "434.99375", false, nul, 0, 1, "0000625"},
      {"simplex keeps the old magnitude", "43510000", "435.1", false, "0500000", 2, 0, "0500000"},
      {"simplex keeps a minus magnitude", "43510000", "435.10000", false, "0060000", 1, 0,
       "0060000"},
      {"no transmit text", "43510000", "", false, "0500000", 2, 0, "0500000"},
      {"transmit not a number", "43510000", "abc", false, "0500000", 2, 0, "0500000"},
      {"no receive frequency", "FFFFFFFF", "440.1", false, "0500000", 2, 0, "0500000"},
      {"blank receive frequency", "        ", "440.1", false, "0060000", 1, 0, "0060000"},
      {"never had an offset", "43510000", "", false, nul, 0, 0, "0000000"},
      {"offset plus", "43510000", "+5", true, nul, 0, 2, "0500000"},
      {"offset minus", "43510000", "-0.6", true, nul, 0, 1, "0060000"},
      {"offset without sign", "43510000", "5", true, "0060000", 1, 0, "0500000"},
      {"offset largest", "43510000", "+99.99999", true, nul, 0, 2, "9999999"},
      {"offset minus zero", "43510000", "-0", true, "0500000", 2, 1, "0000000"},
      {"offset not a number", "43510000", "x", true, "0500000", 2, 0, "0500000"},
      {"offset without receive", "FFFFFFFF", "+5", true, "0060000", 1, 0, "0060000"},
  };
  for (const auto& c : cases) {
    const auto result = OffsetFromTexts(c.rx, c.tx, c.offsetMode, c.oldOffset, c.oldDirection, uhf);
    ASSERT_TRUE(result.has_value()) << c.what;
    EXPECT_EQ(result->direction, c.direction) << c.what;
    EXPECT_EQ(result->offset, c.offset) << c.what;
  }
  EXPECT_TRUE(prompter.asked.empty());
}

TEST_F(CodecTest, OffsetOfAHundredMegahertzOrMoreHasNoStoredForm) {
  const std::string nul(7, '\0');
  EXPECT_FALSE(OffsetFromTexts("43510000", "+100", true, nul, 0, uhf).has_value());
  EXPECT_FALSE(OffsetFromTexts("43510000", "-150.5", true, nul, 0, uhf).has_value());
  EXPECT_FALSE(OffsetFromTexts("13600000", "250", false, nul, 0, uhf).has_value());
  EXPECT_TRUE(OffsetFromTexts("13600000", "235.99999", false, nul, 0, uhf).has_value());
}

struct TxCase {
  const char* what;
  const char* rx;
  std::string offset;
  int direction;
  bool offsetMode;
  const char* frequencyText;  // TxFrequencyText
  const char* columnText;     // TxColumnText
};

TEST_F(CodecTest, TransmitTextsInBothDisplayModes) {
  const std::string nul(7, '\0');
  const std::vector<TxCase> cases = {
      {"plus, frequency", "43510000", "0500000", 2, false, "440.10000", "440.10000"},
      {"plus, offset", "43510000", "0500000", 2, true, "+5.00000", "+5.00000"},
      {"minus, frequency", "43510000", "0060000", 1, false, "434.50000", "434.50000"},
      {"minus, offset", "43510000", "0060000", 1, true, "-0.60000", "-0.60000"},
      {"simplex with magnitude", "43510000", "0500000", 0, false, "435.10000", "435.10000"},
      {"simplex with magnitude, offset", "43510000", "0500000", 0, true, "5.00000", "5.00000"},
      {"simplex new channel", "43510000", nul, 0, false, "435.10000", "435.10000"},
      {"simplex new channel, offset", "43510000", nul, 0, true, "0.00000", "0.00000"},
      {"no receive", "FFFFFFFF", "0500000", 2, false, "", ""},
      {"no receive, offset", "FFFFFFFF", "0500000", 2, true, "+5.00000", ""},
      // Below zero the channel table shows the size, the dialog the signed sum.
      {"below zero", "00300000", "0500000", 1, false, "2.00000", "-2.00000"},
      // A direction outside 0 to 2 has no sign: the table adds, the dialog does not.
      {"unknown direction", "43510000", "0500000", 3, false, "440.10000", "435.10000"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(TxFrequencyText(c.rx, c.offset, c.direction, c.offsetMode, uhf), c.frequencyText)
        << c.what;
    EXPECT_EQ(TxColumnText(c.rx, c.offset, c.direction, c.offsetMode, uhf), c.columnText) << c.what;
  }
}

// ---- Step snapping -----------------------------------------------------------

struct SnapCase {
  const char* what;
  BandLimits limits;
  const char* rx;
  int direction;
  std::string offset;
  const char* snappedRx;
  int rxKind;
  int snappedDirection;
  std::string snappedOffset;
  int txKind;
};

TEST_F(CodecTest, SnapChannelToStepPutsFrequenciesOnTheirGrid) {
  const std::string nul(7, '\0');
  const std::vector<SnapCase> cases = {
      {"off grid goes down to 5 kHz", kUhf, "43512345", 0, nul, "43512000", 0, 0, nul, 0},
      {"5 kHz grid", kUhf, "43512500", 0, nul, "43512500", 0, 0, nul, 0},
      {"6.25 kHz grid", kUhf, "43500625", 0, nul, "43500625", 1, 0, nul, 1},
      {"8.33 kHz grid", kUhf, "43500833", 0, nul, "43500833", 2, 0, nul, 2},
      {"second 8.33 kHz step", kUhf, "43501666", 0, nul, "43501666", 2, 0, nul, 2},
      {"third 8.33 kHz step is the 25 kHz mark", kUhf, "43502499", 0, nul, "43502500", 2, 0, nul,
       2},
      {"VHF 8.33 kHz", kVhf, "14500833", 0, nul, "14500833", 2, 0, nul, 2},
      {"VHF 6.25 kHz", kVhf, "13600625", 0, nul, "13600625", 1, 0, nul, 1},
      {"just below the band", kUhf, "39999999", 0, nul, "40000000", 0, 0, nul, 0},
      // The transmit frequency is snapped on its own grid and the offset follows it.
      {"transmit 6.25 kHz", kUhf, "43500625", 2, "0500000", "43500625", 1, 2, "0500000", 1},
      {"transmit on 6.25 kHz, receive on 5 kHz", kUhf, "43500000", 2, "0000625", "43500000", 0, 2,
       "0000625", 1},
      {"transmit off grid", kUhf, "43500000", 1, "0060003", "43500000", 0, 1, "0060500", 0},
      {"receive moves, transmit follows", kUhf, "43512345", 2, "0500000", "43512000", 0, 2,
       "0500000", 0},
      // A transmit frequency that snaps onto the receive frequency is simplex
      // and keeps the magnitude it had.
      {"transmit snaps onto receive", kUhf, "43500000", 2, "0000123", "43500000", 0, 0, "0000123",
       0},
  };
  for (const auto& c : cases) {
    CodecContext ctx{c.limits, prompter};
    ChannelRecord ch = testing::MakeChannel(1, c.rx, c.direction, c.offset);
    ch.rxStepKind = 7;
    ch.txStepKind = 7;
    SnapChannelToStep(ch, ctx);
    EXPECT_EQ(ch.rxFreq.raw(), c.snappedRx) << c.what;
    EXPECT_EQ(ch.rxStepKind, c.rxKind) << c.what;
    EXPECT_EQ(ch.offsetDirection, c.snappedDirection) << c.what;
    EXPECT_EQ(ch.offset.raw(), c.snappedOffset) << c.what;
    EXPECT_EQ(ch.txStepKind, c.txKind) << c.what;
  }
  EXPECT_TRUE(prompter.asked.empty());
}

TEST_F(CodecTest, SnapLeavesAChannelWithoutReceiveFrequencyAlone) {
  for (const char* rx : {"FFFFFFFF", "        ", "4351X500"}) {
    ChannelRecord ch = testing::MakeChannel(3, rx, 2, "0500000");
    ch.rxStepKind = 2;
    ch.txStepKind = 1;
    const ChannelRecord before = ch;
    SnapChannelToStep(ch, uhf);
    EXPECT_EQ(ch, before) << '"' << rx << '"';
  }
}

TEST_F(CodecTest, SnapKeepsEverythingButFrequenciesAndStepKinds) {
  ChannelRecord ch = testing::MakeChannel(40, "43512345", 2, "0500000");
  ch.decodeTone = 12;
  ch.encodeTone = 200;
  ch.busyLockout = 2;
  ch.scanSkip = 1;
  ChannelRecord expected = ch;
  expected.rxFreq.assign("43512000");
  SnapChannelToStep(ch, uhf);
  EXPECT_EQ(ch, expected);
}

// ---- Tones -------------------------------------------------------------------

TEST(Tones, TableEndsAndSections) {
  const std::vector<std::pair<int, const char*>> cases = {
      {0, "none"},   {1, "67.0"},  {2, "69.3"},   {13, "100.0"}, {50, "254.1"},
      {51, "017N"},  {52, "023N"}, {166, "765N"}, {167, "017I"}, {168, "023I"},
      {282, "765I"}, {283, ""},    {-1, ""},
  };
  for (const auto& [index, text] : cases) EXPECT_EQ(ToneText(index, "none"), text) << index;
  EXPECT_EQ(ToneText(0, "\xE6\x97\xA0"), "\xE6\x97\xA0");  // the caller's none item
}

TEST(Tones, InvertedCodesFollowTheNormalOnesInTheSameOrder) {
  for (int i = kFirstDcsTone; i < kFirstInvertedDcsTone; ++i) {
    std::string normal = ToneText(i, "");
    ASSERT_EQ(normal.size(), 4u) << i;
    ASSERT_EQ(normal.back(), 'N') << i;
    normal.back() = 'I';
    EXPECT_EQ(ToneText(i + 116, ""), normal) << i;
  }
}

TEST(Tones, EveryIndexHasItsOwnTextAndReadsBack) {
  std::set<std::string> seen;
  for (int i = 0; i < kToneCount; ++i) {
    const std::string text = ToneText(i, "none");
    EXPECT_TRUE(seen.insert(text).second) << "duplicate " << text;
    EXPECT_EQ(ToneIndexOfText(text), std::optional<int>(i)) << text;
  }
  EXPECT_EQ(seen.size(), 283u);
}

TEST(Tones, ToneIndexOfTextAcceptsLooseSpellings) {
  const std::vector<std::pair<const char*, std::optional<int>>> cases = {
      {"", 0},     {"none", 0},  {"NONE", 0},    {"017i", 167}, {" 017N ", 51},
      {"67", 1},   {"100", 13},  {"254.10", 50}, {"018N", {}},  {"68.0", {}},
      {"abc", {}}, {"017X", {}}, {"N", {}},      {"17N", {}},
  };
  for (const auto& [text, index] : cases) {
    EXPECT_EQ(ToneIndexOfText(text), index) << '"' << text << '"';
  }
}

// ---- DTMF --------------------------------------------------------------------

TEST(Dtmf, StarAndHashAreEAndFInTheRadio) {
  EXPECT_EQ(DtmfStoredToDisplay("12E4F"), "12*4#");
  EXPECT_EQ(DtmfDisplayToStored("12*4#"), "12E4F");
  EXPECT_EQ(DtmfStoredToDisplay("EEFF"), "**##");
  EXPECT_EQ(DtmfDisplayToStored("*#*#"), "EFEF");
  // Everything else, including A to D and spaces, is unchanged.
  EXPECT_EQ(DtmfStoredToDisplay("0123456789ABCD  "), "0123456789ABCD  ");
  EXPECT_EQ(DtmfDisplayToStored("0123456789ABCD  "), "0123456789ABCD  ");
  EXPECT_EQ(DtmfStoredToDisplay(""), "");
  const std::string all = "0123456789ABCD*#";
  EXPECT_EQ(DtmfStoredToDisplay(DtmfDisplayToStored(all)), all);
}

TEST(Dtmf, ComboListsTheDefinedMemories) {
  DtmfBlock dtmf;
  EXPECT_EQ(DtmfCodeComboItems(dtmf, "none"), std::vector<std::string>{"none"});

  dtmf.memories[0].length = 3;
  dtmf.memories[4].length = 1;
  dtmf.memories[15].length = 16;
  dtmf.memories[7].length = -1;           // damaged: not a defined code
  dtmf.memories[9].digits.assign("123");  // digits without a length do not count
  dtmf.specialCodes[0].length = 5;        // the special codes are not memories
  EXPECT_EQ(DtmfCodeComboItems(dtmf, "none"), (std::vector<std::string>{"none", "1", "5", "16"}));
}

}  // namespace
}  // namespace cps
