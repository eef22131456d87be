// What each address of the radio's memory holds, and the comparison of what a
// write sent with what the radio holds when read back.
#include "core/link/verify.hpp"

#include <gtest/gtest.h>

#include "../document/test_support.hpp"
#include "core/app/text_ids.hpp"
#include "core/document/defaults.hpp"
#include "core/run_state.hpp"

namespace cps {
namespace {

struct AddressCase {
  std::size_t address;
  const char* holds;  // a part of the description
};

void PrintTo(const AddressCase& c, std::ostream* os) { *os << c.address; }

class DescribeRadioAddressTest : public ::testing::TestWithParam<AddressCase> {};

TEST_P(DescribeRadioAddressTest, NamesWhatTheRadioKeepsThere) {
  const auto& c = GetParam();
  EXPECT_NE(DescribeRadioAddress(c.address).find(c.holds), std::string::npos)
      << DescribeRadioAddress(c.address);
}

INSTANTIATE_TEST_SUITE_P(
    Layout, DescribeRadioAddressTest,
    ::testing::Values(AddressCase{0x000, "channel 1 receive frequency"},
                      AddressCase{0x0B3, "channel 12 receive frequency"},
                      AddressCase{0x0B4, "channel 12 transmit frequency"},
                      AddressCase{0x0B8, "channel 12 decode tone"},
                      AddressCase{0x0BA, "channel 12 busy channel lockout"},
                      AddressCase{0x0BA, "channel 12 decode tone"},
                      AddressCase{0x0BC, "channel 12 transmit power"},
                      AddressCase{0x0BD, "channel 12 auto-dial memory 1"},
                      AddressCase{0x0BF, "channel 12 offset direction"},
                      AddressCase{0x7F0, "channel 128 receive frequency"},
                      AddressCase{0x801, "channel 12 present"},
                      AddressCase{0x811, "channel 12 scan skip"},
                      AddressCase{0x830, "optional features: squelch level"},
                      AddressCase{0x838, "optional features: channel group"},
                      AddressCase{0x83C, "keys: PF1 long press"},
                      AddressCase{0x840, "scan settings: revert channel"},
                      AddressCase{0x846, "scan settings: look-back time B"},
                      AddressCase{0x84F, "DTMF settings: group code"},
                      AddressCase{0x851, "emergency alert: alarm mode"},
                      AddressCase{0x858, "emergency alert: cycle"},
                      AddressCase{0x862, "DTMF ID code"}, AddressCase{0x868, "DTMF ID code length"},
                      AddressCase{0x8C0, "DTMF BOT code digits"},
                      AddressCase{0x8F8, "DTMF kill code digit count"},
                      AddressCase{0x927, "DTMF auto-dial memory 3 digits"},
                      AddressCase{0xA00, "test frequency pair 1, second frequency"},
                      AddressCase{0xA7C, "test frequency pair 16, first frequency"},
                      AddressCase{0xA90, "embedded message line 2"},
                      AddressCase{0xB00, "identification: model name"},
                      AddressCase{0xB07, "identification: band code"},
                      AddressCase{0xB0A, "identification: firmware version"},
                      AddressCase{0xB0C, "identification: capability flags"},
                      AddressCase{0x820, "not used"}, AddressCase{0x839, "not used"},
                      AddressCase{0x859, "not used"}, AddressCase{0x8C9, "not used"},
                      AddressCase{0xAC0, "not used"}, AddressCase{0xB0F, "not used"}));

// Two fields never claim the same bit, and every field lies inside the image:
// a difference always has one meaning.
TEST(RadioImageFieldsTest, EveryBitHasAtMostOneMeaning) {
  RadioImage claimed{};
  for (const auto& f : RadioImageFields()) {
    ASSERT_LE(f.address + f.size, kRadioImageSize) << f.name;
    for (std::size_t i = 0; i < f.size; ++i) {
      EXPECT_EQ(claimed[f.address + i] & f.mask, 0) << f.name << " at " << f.address + i;
      claimed[f.address + i] = static_cast<std::uint8_t>(claimed[f.address + i] | f.mask);
    }
  }
}

RadioImage erased() {
  RadioImage image;
  ClearImage(image);
  return image;
}

struct DifferenceCase {
  const char* what;
  std::size_t address;
  std::uint8_t flip;  // bits changed in the radio's copy
  std::vector<std::string> meanings;
};

void PrintTo(const DifferenceCase& c, std::ostream* os) { *os << c.what; }

class CompareWrittenImageTest : public ::testing::TestWithParam<DifferenceCase> {};

TEST_P(CompareWrittenImageTest, ReportsEachFieldThatDiffers) {
  const auto& c = GetParam();
  const RadioImage written = erased();
  RadioImage held = written;
  held[c.address] = static_cast<std::uint8_t>(held[c.address] ^ c.flip);
  std::vector<std::string> meanings;
  for (const auto& d : CompareWrittenImage(written, held)) meanings.push_back(d.meaning);
  EXPECT_EQ(meanings, c.meanings);
}

INSTANTIATE_TEST_SUITE_P(
    Faults, CompareWrittenImageTest,
    ::testing::Values(
        DifferenceCase{"a receive frequency", 0x0B3, 0x01, {"channel 12 receive frequency"}},
        DifferenceCase{
            "two bit fields of one byte", 0x0BA, 0x0C, {"channel 12 busy channel lockout"}},
        DifferenceCase{"bits of two fields",
                       0x0BA,
                       0x81,
                       {"channel 12 decode tone", "channel 12 receive step"}},
        DifferenceCase{"a channel's present bit", 0x801, 0x08, {"channel 12 present"}},
        DifferenceCase{"a scan setting", 0x840, 0x07, {"scan settings: revert channel"}},
        DifferenceCase{"a byte the radio does not use", 0x820, 0xFF, {}},
        DifferenceCase{"the half of the group code the radio does not keep", 0x84F, 0xF0, {}},
        DifferenceCase{"the half it keeps", 0x84F, 0x01, {"DTMF settings: group code"}}),
    [](const auto& row) { return "Case" + std::to_string(row.index); });

TEST(CompareWrittenImageTest, TheSameImageHasNoDifference) {
  RadioImage image{};
  for (std::size_t i = 0; i < image.size(); ++i) image[i] = static_cast<std::uint8_t>(i * 31);
  EXPECT_TRUE(CompareWrittenImage(image, image).empty());
}

TEST(CompareWrittenImageTest, ADifferenceNamesItsAddressesAndBytes) {
  RadioImage written = erased();
  const std::array<std::uint8_t, 4> frequency{0x02, 0x97, 0xF2, 0xB4};
  std::copy(frequency.begin(), frequency.end(), written.begin() + 0x0B0);
  RadioImage held = written;
  held[0x0B3] = 0xB5;
  const auto differences = CompareWrittenImage(written, held);
  ASSERT_EQ(differences.size(), 1u);
  EXPECT_EQ(DifferenceText(differences[0]),
            "0x0B0-0x0B3 channel 12 receive frequency: written 02 97 F2 B4, "
            "the radio holds 02 97 F2 B5");
}

TEST(CompareWrittenImageTest, AFieldOfAFewBitsShowsItsValues) {
  RadioImage written = erased();
  written[0x801] = 0xF7;  // channel 12 present
  written[0x0BA] = 0x08;  // channel 12: carrier busy lockout (2 in bits 3-2)
  RadioImage held = written;
  held[0x801] = 0xFF;
  held[0x0BA] = 0x04;
  std::vector<std::string> texts;
  for (const auto& d : CompareWrittenImage(written, held)) texts.push_back(DifferenceText(d));
  EXPECT_EQ(texts, (std::vector<std::string>{
                       "0x0BA channel 12 busy channel lockout: written 2, the radio holds 1",
                       "0x801 channel 12 present: written 0, the radio holds 1"}));
}

TEST(CompareWrittenImageTest, TheReportKeepsToItsLimit) {
  const RadioImage written = erased();
  RadioImage held = written;
  for (std::size_t slot = 0; slot < 30; ++slot) held[slot * 16] = 0;
  const auto differences = CompareWrittenImage(written, held);
  ASSERT_EQ(differences.size(), 30u);
  const auto report = DifferencesReport(differences, 20);
  EXPECT_EQ(std::count(report.begin(), report.end(), '\n'), 21);
  EXPECT_NE(report.find("channel 20 receive frequency"), std::string::npos);
  EXPECT_EQ(report.find("channel 21 receive frequency"), std::string::npos);
  EXPECT_NE(report.find("... and 10 more"), std::string::npos);
}

TEST(HoldCompletionNoticesTest, HoldsOnlyTheNoticesThatATransferIsComplete) {
  testing::ScriptedPrompter user;
  HoldCompletionNotices notices(user);
  for (const bool holding : {false, true}) {
    user.clear();
    notices.hold(holding);
    for (int id : {text::kReadComplete, text::kWriteComplete, text::kTransferFailedRetry,
                   text::kBandDiffers}) {
      notices.ask(TextMessage(id, Buttons::Ok));
    }
    std::vector<int> shown;
    for (const auto& m : user.asked) shown.push_back(m.textId);
    const std::vector<int> passedOn{text::kTransferFailedRetry, text::kBandDiffers};
    const std::vector<int> all{text::kReadComplete, text::kWriteComplete,
                               text::kTransferFailedRetry, text::kBandDiffers};
    EXPECT_EQ(shown, holding ? passedOn : all);
  }
}

// The check speaks the windows' words where the documents differ, and the
// image still decides: a further test frequency pair is in no document.
TEST(CheckWrittenImageTest, SaysWhereInTheWindowsWordsAndTheImageDecides) {
  testing::ScriptedPrompter user;
  RunState state;
  ApplyDocumentDefaults(state, Today{"2024-01-01", 1});
  testing::SetChannels(state.workingDocument, {testing::MakeChannel(12, "43510000")});
  RadioImage written = erased();
  PackDocumentToImage(state, written, CodecContext{state.model.limits, user});
  const auto textOf = [](int id) { return "T" + std::to_string(id); };

  EXPECT_TRUE(CheckWrittenImage(written, written, state, textOf).passed());

  RadioImage held = written;
  held[0x0B3] = static_cast<std::uint8_t>(held[0x0B3] ^ 0x01);
  auto check = CheckWrittenImage(written, held, state, textOf);
  EXPECT_FALSE(check.passed());
  ASSERT_EQ(check.document.size(), 1u);
  EXPECT_EQ(check.document[0].field, "channel.12.rx");
  const std::string report = WriteCheckReport(check);
  EXPECT_NE(report.find("channel.12.rx (T14002): 435.10000 -> "), std::string::npos) << report;
  EXPECT_NE(report.find("Radio memory:\n0x0B0-0x0B3 channel 12 receive frequency"),
            std::string::npos)
      << report;

  held = written;
  held[0xA7C] = static_cast<std::uint8_t>(held[0xA7C] ^ 0x01);  // test frequency pair 16
  check = CheckWrittenImage(written, held, state, textOf);
  EXPECT_FALSE(check.passed());
  EXPECT_TRUE(check.document.empty());
  EXPECT_EQ(check.image.size(), 1u);
}

}  // namespace
}  // namespace cps
