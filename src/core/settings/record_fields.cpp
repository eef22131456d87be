// The repeated records edited as texts: the four lines of the embedded message
// (FrmEmbMsg), the eleven test frequency pairs (FrmTestFre) and the twenty FM
// broadcast presets (FrmRadio).
#include <array>

#include "core/settings/setting_rows.hpp"

namespace cps {

namespace {

using namespace rows;

constexpr std::size_t kLines = 4;
constexpr std::size_t kTestPairs = 11;
constexpr std::size_t kFmPresets = 20;

// Every single-byte character but control characters; a line ends in a NUL
// when it is shorter than its sixteen places.
constexpr TextRule kLineRule{.maxLength = 16};
// The boxes over the tables take digits and the point; the test frequency box
// holds nine characters, the FM box six.
constexpr TextRule kTestRule{.characters = "0123456789.", .maxLength = 9};
constexpr TextRule kFmRule{.characters = "0123456789.", .maxLength = 6};

constexpr auto kLineNames = numbered<kLines>("message.", 1);
constexpr auto kLineControls = numbered<kLines>("Text1(", 0, ")");

constexpr std::array<SettingField, kLines> messageFields() {
  std::array<SettingField, kLines> fields{};
  for (std::size_t i = 0; i < kLines; ++i) {
    // Showing a line stores it again, without the blanks before its end.
    fields[i] = {.name = kLineNames[i],
                 .slot = {B::Message, static_cast<std::uint8_t>(i)},
                 .control = kLineControls[i],
                 .kind = K::Line,
                 .text = kLineRule,
                 .storedAsShownOnOpening = true};
  }
  return fields;
}

// The table shows a pair's second frequency in its first column (text 19004)
// and its first frequency in the second (text 19005); row r is record r − 1.
constexpr auto kFirstNames = numbered<kTestPairs>("test.", 1, ".first");
constexpr auto kSecondNames = numbered<kTestPairs>("test.", 1, ".second");
constexpr auto kFirstCells = numbered<kTestPairs>("MSFlexGrid1(", 1, ",2)");
constexpr auto kSecondCells = numbered<kTestPairs>("MSFlexGrid1(", 1, ",1)");

constexpr std::array<SettingField, 2 * kTestPairs> testFields() {
  std::array<SettingField, 2 * kTestPairs> fields{};
  for (std::size_t i = 0; i < kTestPairs; ++i) {
    const auto record = static_cast<std::uint8_t>(i);
    fields[2 * i] = {.name = kFirstNames[i],
                     .slot = {B::TestFirst, record},
                     .control = kFirstCells[i],
                     .labelTextId = 19005,
                     .kind = K::Frequency,
                     .place = {.column = 2},
                     .text = kTestRule};
    fields[2 * i + 1] = {.name = kSecondNames[i],
                         .slot = {B::TestSecond, record},
                         .control = kSecondCells[i],
                         .labelTextId = 19004,
                         .kind = K::Frequency,
                         .place = {.column = 1},
                         .text = kTestRule};
  }
  return fields;
}

constexpr auto kFmNames = numbered<kFmPresets>("fm.", 1);
constexpr auto kFmCells = numbered<kFmPresets>("MSFlexGrid1(", 1, ",1)");

constexpr std::array<SettingField, kFmPresets> fmFields() {
  std::array<SettingField, kFmPresets> fields{};
  for (std::size_t i = 0; i < kFmPresets; ++i) {
    fields[i] = {.name = kFmNames[i],
                 .slot = {B::FmPreset, static_cast<std::uint8_t>(i)},
                 .control = kFmCells[i],
                 .labelTextId = 17002,
                 .kind = K::FmFrequency,
                 .place = {.column = 1},
                 .text = kFmRule};
  }
  return fields;
}

constexpr auto kMessageFields = messageFields();
constexpr auto kTestFields = testFields();
constexpr auto kFmFields = fmFields();

}  // namespace

std::span<const SettingField> MessageFields() { return kMessageFields; }
std::span<const SettingField> TestFrequencyFields() { return kTestFields; }
std::span<const SettingField> FmPresetFields() { return kFmFields; }

}  // namespace cps
