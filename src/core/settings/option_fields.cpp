// The optional features window (FrmOptFeatures): the radio's general options.
#include <array>

#include "core/settings/setting_rows.hpp"

namespace cps {

namespace {

using namespace rows;
using O = OptionalFeaturesBlock;

constexpr int kOff = 16040;
constexpr std::array<int, 2> kVoicePromptItems{16042, 16043};
constexpr std::array<int, 4> kTailEliminationItems{16300, 16301, 16044, 16045};
constexpr std::array<int, 4> kBatterySaveItems{kOff, 16046, 16047, 16048};
constexpr std::array<int, 1> kOffItem{kOff};

constexpr EnableRule kWhileVox{whileItem("options.vox", 1), {}};
constexpr Placement kLeft{};
constexpr Placement kRight{.column = 1};
constexpr Placement kUnderVox{.column = 1, .indented = true};

// In the window's order: the left column top to bottom, then the right one.
constexpr std::array<SettingField, 18> kOptionalFeatures{{
    {.name = "options.squelch",
     .slot = {B::Options, O::kSquelch},
     .control = "Combo1(0)",
     .labelTextId = 16001,
     .caption = "静躁电平",
     .items = numbers(0, 9),
     .place = kLeft},
    {.name = "options.voice-prompt",
     .slot = {B::Options, O::kVoicePrompt},
     .control = "Combo1(1)",
     .labelTextId = 16002,
     .caption = "语音提示",
     .items = texts(kVoicePromptItems),
     .map = minus(1),
     .place = kLeft},
    {.name = "options.voice-volume",
     .slot = {B::Options, O::kVoiceVolume},
     .control = "Combo1(11)",
     .labelTextId = 16012,
     .caption = "语音音量",
     .items = numbers(1, 5),
     .map = minus(1),
     .place = kLeft},
    {.name = "options.tail-elimination",
     .slot = {B::Options, O::kTailElimination},
     .control = "Combo1(2)",
     .labelTextId = 16003,
     .caption = "尾音消除方式",
     .items = texts(kTailEliminationItems),
     .place = kLeft},
    {.name = "options.battery-save",
     .slot = {B::Options, O::kBatterySave},
     .control = "Combo1(3)",
     .labelTextId = 16004,
     .caption = "电池省电",
     .items = texts(kBatterySaveItems),
     .place = kLeft},
    // The one field kept in physical units: seconds, a multiple of 15.
    {.name = "options.tot",
     .slot = {B::Options, O::kTot},
     .control = "Combo1(4)",
     .labelTextId = 16005,
     .caption = "超时定时器",
     .items = textsThen(kOffItem, 15, 240, 15),
     .map = {.scale = 15},
     .place = kLeft},
    {.name = "options.tot-pre-alert",
     .slot = {B::Options, O::kTotPreAlert},
     .control = "Combo1(5)",
     .labelTextId = 16006,
     .caption = "TOT预警时间",
     .items = textsThen(kOffItem, 1, 10),
     .place = kLeft},
    {.name = "options.tot-rekey",
     .slot = {B::Options, O::kTotRekey},
     .control = "Combo1(6)",
     .labelTextId = 16007,
     .caption = "TOT 再键时间",
     .items = numbers(0, 60),
     .place = kLeft},
    {.name = "options.tot-reset",
     .slot = {B::Options, O::kTotReset},
     .control = "Combo1(7)",
     .labelTextId = 16008,
     .caption = "TOT复位时间",
     .items = numbers(0, 30),
     .place = kLeft},
    {.name = "options.channel-group",
     .slot = {B::Options, O::kChannelGroup},
     .control = "Combo1(10)",
     .labelTextId = 16011,
     .caption = "信道组别",
     .items = numbers(1, 8),
     .map = minus(1),
     .place = kLeft},
    {.name = "options.vox",
     .slot = {B::Options, O::kVox},
     .control = "Check1(0)",
     .labelTextId = 16020,
     .caption = "声控功能",
     .kind = K::Check,
     .place = kRight},
    {.name = "options.vox-level",
     .slot = {B::Options, O::kVoxLevel},
     .control = "Combo1(8)",
     .labelTextId = 16009,
     .caption = "声控灵敏度等级",
     .items = textsThen(kOffItem, 1, 6),
     .enable = kWhileVox,
     .place = kUnderVox},
    // Half seconds: item i is (i + 1) × 0.5 s.
    {.name = "options.vox-delay",
     .slot = {B::Options, O::kVoxDelay},
     .control = "Combo1(9)",
     .labelTextId = 16010,
     .caption = "声控延迟时间",
     .items = {.first = 5, .last = 50, .step = 5, .divisor = 10, .decimals = 1},
     .enable = kWhileVox,
     .place = kUnderVox},
    {.name = "options.vox-tone",
     .slot = {B::Options, O::kVoxTone},
     .control = "Check1(1)",
     .labelTextId = 16021,
     .caption = "声控可进行音调",
     .kind = K::Check,
     .enable = kWhileVox,
     .place = kUnderVox},
    {.name = "options.channel-lock",
     .slot = {B::Options, O::kChannelLock},
     .control = "Check1(2)",
     .labelTextId = 16022,
     .caption = "信道锁定",
     .kind = K::Check,
     .place = kRight},
    {.name = "options.group-select",
     .slot = {B::Options, O::kGroupSelect},
     .control = "Check1(3)",
     .labelTextId = 16023,
     .caption = "组选择",
     .kind = K::Check,
     .place = kRight},
    {.name = "options.tail-elimination-no-signalling",
     .slot = {B::Options, O::kTailEliminationNoSignalling},
     .control = "Check1(5)",
     .labelTextId = 16025,
     .caption = "无信令时尾音消除",
     .kind = K::Check,
     .place = kRight},
    // Present for the stored value, never shown: the window cannot change it.
    {.name = "options.wired-clone",
     .slot = {B::Options, O::kWiredClone},
     .control = "Check1(4)",
     .labelTextId = 16024,
     .caption = "有线复制",
     .kind = K::Check,
     .place = {.column = 1, .hidden = true}},
}};

}  // namespace

std::span<const SettingField> OptionalFeatureFields() { return kOptionalFeatures; }

}  // namespace cps
