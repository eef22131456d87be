// The DTMF window (FrmDTMF): encoder timing and PTT ID codes on the first tab,
// the decoder's ID, group code, call alert, auto reset, stun and kill codes on
// the second, the sixteen auto-dial memories on the third.
#include <algorithm>
#include <array>

#include "core/settings/setting_rows.hpp"

namespace cps {

namespace {

using namespace rows;
using D = DtmfBlock;

constexpr std::array<int, 1> kDKeyOff{18040};
constexpr std::array<int, 1> kDecoderOff{18043};
constexpr std::array<int, 3> kCallAlertItems{18043, 18044, 18045};
constexpr std::array<std::string_view, 4> kStarHashTimes{"0", "100", "500", "1000"};
constexpr std::array<std::string_view, 6> kGroupCodes{"A", "B", "C", "D", "*", "#"};

// The timings hold milliseconds ÷ 50 and their lists show milliseconds; a
// stored value whose milliseconds no item shows selects the first item.
constexpr ItemMap kMilliseconds{.scale = 50, .rule = MapRule::TimesText};

constexpr TextRule kCodeRule{.characters = "0123456789ABCD*#", .maxLength = 16, .capitals = true};
constexpr TextRule kIdRule{.characters = "0123456789", .minLength = 3, .maxLength = 10};

constexpr Placement kEncodeTab{.page = 1};
constexpr Placement kDecodeTab{.page = 2};
constexpr Placement kMemoryTab{.page = 3};

constexpr std::array<SettingPage, 3> kPages{{
    {18002, "编码"},
    {18003, "解码"},
    {18004, "自动拨号存储单元"},
}};

constexpr SettingField code(std::string_view name, std::uint8_t index, std::string_view control,
                            int labelTextId, std::string_view caption, Placement place) {
  return {.name = name,
          .slot = {B::DtmfCode, index},
          .control = control,
          .labelTextId = labelTextId,
          .caption = caption,
          .kind = K::Code,
          .place = place,
          .text = kCodeRule,
          // Showing a code box stores it again, trimmed to what it shows.
          .storedAsShownOnOpening = true};
}

constexpr std::array<SettingField, 14> kSettings{{
    {.name = "dtmf.rate",
     .slot = {B::Dtmf, D::kRate},
     .control = "Combo1(0)",
     .labelTextId = 18005,
     .caption = "双音多频速率(ms)",
     .items = numbers(50, 500, 50),
     .map = kMilliseconds,
     .place = kEncodeTab},
    {.name = "dtmf.first-digit-time",
     .slot = {B::Dtmf, D::kFirstDigitTime},
     .control = "Combo1(1)",
     .labelTextId = 18006,
     .caption = "首位数码时间(ms)",
     .items = numbers(0, 1000, 100),
     .map = kMilliseconds,
     .place = kEncodeTab},
    {.name = "dtmf.first-digit-delay",
     .slot = {B::Dtmf, D::kFirstDigitDelay},
     .control = "Combo1(2)",
     .labelTextId = 18007,
     .caption = "首位数码延迟时间(ms)",
     .items = numbers(100, 2500, 100),
     .map = kMilliseconds,
     .place = kEncodeTab},
    {.name = "dtmf.star-hash-time",
     .slot = {B::Dtmf, D::kStarHashTime},
     .control = "Combo1(3)",
     .labelTextId = 18008,
     .caption = "*和#音(ms)",
     .items = {.literals = kStarHashTimes},
     .map = kMilliseconds,
     .place = kEncodeTab},
    {.name = "dtmf.d-key",
     .slot = {B::Dtmf, D::kDKey},
     .control = "Combo1(4)",
     .labelTextId = 18009,
     .caption = "D键设定",
     .items = textsThen(kDKeyOff, 1, 16, 1, "s"),
     .place = kEncodeTab},
    {.name = "dtmf.sidetone",
     .slot = {B::Dtmf, D::kSidetone},
     .control = "Check1",
     .labelTextId = 18030,
     .caption = "DTMF侧音",
     .kind = K::Check,
     .place = kEncodeTab},
    code("dtmf.bot", D::kBot, "Text1(0)", 18016, "PTT ID 发射开始(BOT)", kEncodeTab),
    code("dtmf.eot", D::kEot, "Text1(1)", 18017, "PTT ID 发射结束(EOT)", kEncodeTab),
    {.name = "dtmf.id",
     .slot = {B::DtmfId, 0},
     .control = "Text3",
     .labelTextId = 18022,
     .caption = "ID Code",
     .kind = K::IdCode,
     .place = kDecodeTab,
     .text = kIdRule},
    {.name = "dtmf.group-code",
     .slot = {B::Dtmf, D::kGroupCode},
     .control = "Combo2(4)",
     .labelTextId = 18014,
     .caption = "组代码",
     .items = {.textIds = kDecoderOff, .literals = kGroupCodes},
     .place = kDecodeTab},
    {.name = "dtmf.auto-reset",
     .slot = {B::Dtmf, D::kAutoReset},
     .control = "Combo2(5)",
     .labelTextId = 18015,
     .caption = "自动复位定时器",
     .items = textsThen(kDecoderOff, 1, 15, 1, "s"),
     .place = kDecodeTab},
    {.name = "dtmf.call-alert",
     .slot = {B::Dtmf, D::kCallAlert},
     .control = "Combo2(1)",
     .labelTextId = 18011,
     .caption = "呼叫提示/自动应答",
     .items = texts(kCallAlertItems),
     .place = kDecodeTab},
    code("dtmf.stun", D::kStun, "Text1(2)", 18018, "遥晕", kDecodeTab),
    code("dtmf.kill", D::kKill, "Text1(3)", 18019, "遥弊", kDecodeTab),
}};

constexpr auto kMemoryNames = numbered<kDtmfMemoryCount>("dtmf.memory.", 1);
constexpr auto kMemoryControls = numbered<kDtmfMemoryCount>("Text2(", 0, ")");
// Label4: always the memory's number, in every language.
constexpr auto kMemoryLabels = numbered<kDtmfMemoryCount>("", 1);

constexpr std::array<SettingField, kSettings.size() + kDtmfMemoryCount> allFields() {
  std::array<SettingField, kSettings.size() + kDtmfMemoryCount> all{};
  std::copy(kSettings.begin(), kSettings.end(), all.begin());
  for (std::size_t i = 0; i < kDtmfMemoryCount; ++i) {
    SettingField memory = code(kMemoryNames[i], static_cast<std::uint8_t>(i), kMemoryControls[i], 0,
                               kMemoryLabels[i], kMemoryTab);
    memory.slot.block = B::DtmfMemory;
    // Two columns of eight on the memory tab.
    memory.place.column = i < kDtmfMemoryCount / 2 ? 0 : 1;
    memory.side = SideRule::DtmfMemory;
    all[kSettings.size() + i] = memory;
  }
  return all;
}

constexpr auto kDtmfFields = allFields();

}  // namespace

std::span<const SettingField> DtmfFields() { return kDtmfFields; }
std::span<const SettingPage> DtmfPages() { return kPages; }

}  // namespace cps
