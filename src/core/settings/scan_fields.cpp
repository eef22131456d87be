// The scan window (FrmScan): scan mode, priority channels, revert channel,
// look-back times, resume delays and the scan entry tone.
#include <array>
#include <string>

#include "core/document/records.hpp"
#include "core/settings/setting_rows.hpp"

namespace cps {

namespace {

using namespace rows;
using S = ScanBlock;

constexpr std::array<int, 2> kOffOn{26030, 26031};
constexpr int kOff = 26030;
constexpr int kPriority = 26002;
constexpr int kSelected = 26032;
constexpr int kTalkback = 26033;
constexpr int kLastCalled = 26034;
constexpr int kLastUsed = 26035;

std::string priority(const TextOf& textOf, int channel) {
  return textOf(kPriority) + std::to_string(channel);
}

std::vector<ListItem> priorityModeItems(const DocumentRecord&, const TextOf& textOf) {
  return {{textOf(kOff), 0},
          {priority(textOf, 1), 1},
          {priority(textOf, 2), 2},
          {priority(textOf, 1) + " + " + priority(textOf, 2), 3}};
}

// The revert choices; the stored value is a choice's place in this table.
std::string revertChoiceText(int choice, const TextOf& textOf) {
  const std::string talkback = " + " + textOf(kTalkback);
  switch (choice) {
    case 0:
      return textOf(kSelected);
    case 1:
      return textOf(kSelected) + talkback;
    case 2:
      return priority(textOf, 1);
    case 3:
      return priority(textOf, 2);
    case 4:
      return textOf(kLastCalled);
    case 5:
      return textOf(kLastUsed);
    case 6:
      return priority(textOf, 1) + talkback;
    default:
      return priority(textOf, 2) + talkback;
  }
}

// The choices a priority mode offers: none names a priority channel the mode
// does not scan.
constexpr std::array<std::uint8_t, 4> kRevertWithoutPriority{0, 1, 4, 5};
constexpr std::array<std::uint8_t, 6> kRevertWithPriority1{0, 1, 2, 4, 5, 6};
constexpr std::array<std::uint8_t, 6> kRevertWithPriority2{0, 1, 3, 4, 5, 7};
constexpr std::array<std::uint8_t, 8> kRevertWithBoth{0, 1, 2, 3, 4, 5, 6, 7};
constexpr std::array<std::span<const std::uint8_t>, 4> kRevertByPriorityMode{
    kRevertWithoutPriority, kRevertWithPriority1, kRevertWithPriority2, kRevertWithBoth};

std::vector<ListItem> revertItems(const DocumentRecord& doc, const TextOf& textOf) {
  const SettingField& mode = *FindSettingField("scan.priority-mode");
  const int shown = ItemOfStored(doc, mode, doc.scan.bytes[S::kPriorityMode]);
  std::vector<ListItem> items;
  for (const int choice : kRevertByPriorityMode[static_cast<std::size_t>(shown)]) {
    items.push_back({revertChoiceText(choice, textOf), choice});
  }
  return items;
}

std::vector<ListItem> groupItems(const DocumentRecord& doc, const TextOf&) {
  return UsedGroupItems(doc);
}
std::vector<ListItem> priority1Positions(const DocumentRecord& doc, const TextOf&) {
  return UsedPositionItems(doc, doc.scan.bytes[S::kFirstChannelGroup]);
}
std::vector<ListItem> priority2Positions(const DocumentRecord& doc, const TextOf&) {
  return UsedPositionItems(doc, doc.scan.bytes[S::kSecondChannelGroup]);
}

// With scanning off every other control is greyed; the priority channels
// follow the priority mode.
constexpr EnableCondition kWhileScanning = whileItem("scan.mode", 1);
constexpr EnableRule kScanning{kWhileScanning, {}};
constexpr EnableRule kPriority1{kWhileScanning, whileItemIn("scan.priority-mode", {1, 3})};
constexpr EnableRule kPriority2{kWhileScanning, whileItemIn("scan.priority-mode", {2, 3})};

// The position list sits after its group list, behind a "-" that is never re-captioned.
constexpr Placement kAfterGroup{.sameLine = true};

constexpr std::array<SettingField, 12> kScanFields{{
    {.name = "scan.mode",
     .slot = {B::Scan, S::kMode},
     .control = "Combo1(0)",
     .labelTextId = 26001,
     .caption = "扫描模式",
     .items = texts(kOffOn),
     .side = SideRule::ScanMode},
    {.name = "scan.priority-mode",
     .slot = {B::Scan, S::kPriorityMode},
     .control = "Combo1(1)",
     .labelTextId = 26002,
     .caption = "优先信道",
     .items = generated(priorityModeItems),
     .map = kListed,
     .enable = kScanning,
     .side = SideRule::PriorityMode},
    {.name = "scan.priority1.group",
     .slot = {B::Scan, S::kFirstChannelGroup},
     .control = "Combo1(2)",
     .labelTextId = 26003,
     .caption = "优先信道1 组/信道",
     .items = generated(groupItems),
     .map = kListed,
     .enable = kPriority1,
     .side = SideRule::ChannelGroup,
     .storedAsShownOnOpening = true},
    {.name = "scan.priority1.position",
     .slot = {B::Scan, S::kFirstChannelGroup + 1},
     .control = "Combo1(3)",
     .caption = "-",
     .items = generated(priority1Positions),
     .map = kListed,
     .enable = kPriority1,
     .place = kAfterGroup,
     .storedAsShownOnOpening = true},
    {.name = "scan.priority2.group",
     .slot = {B::Scan, S::kSecondChannelGroup},
     .control = "Combo1(4)",
     .labelTextId = 26004,
     .caption = "优先信道2 组/信道",
     .items = generated(groupItems),
     .map = kListed,
     .enable = kPriority2,
     .side = SideRule::ChannelGroup,
     .storedAsShownOnOpening = true},
    {.name = "scan.priority2.position",
     .slot = {B::Scan, S::kSecondChannelGroup + 1},
     .control = "Combo1(5)",
     .caption = "-",
     .items = generated(priority2Positions),
     .map = kListed,
     .enable = kPriority2,
     .place = kAfterGroup,
     .storedAsShownOnOpening = true},
    {.name = "scan.revert",
     .slot = {B::Scan, S::kRevert},
     .control = "Combo1(6)",
     .labelTextId = 26005,
     .caption = "返回信道",
     .items = generated(revertItems),
     .map = kListed,
     .enable = kScanning},
    {.name = "scan.look-back-a",
     .slot = {B::Scan, S::kLookBackA},
     .control = "Combo1(7)",
     .labelTextId = 26006,
     .caption = "回扫时间A(秒)",
     .items = tenths(5, 50),
     .map = minus(5),
     .enable = kScanning},
    {.name = "scan.look-back-b",
     .slot = {B::Scan, S::kLookBackB},
     .control = "Combo1(8)",
     .labelTextId = 26007,
     .caption = "回扫时间B(秒)",
     .items = tenths(5, 50),
     .map = minus(5),
     .enable = kScanning},
    {.name = "scan.rx-resume-delay",
     .slot = {B::Scan, S::kRxResumeDelay},
     .control = "Combo1(9)",
     .labelTextId = 26008,
     .caption = "扫描接收恢复延迟时间(秒)",
     .items = tenths(1, 50),
     .map = minus(1),
     .enable = kScanning},
    {.name = "scan.tx-resume-delay",
     .slot = {B::Scan, S::kTxResumeDelay},
     .control = "Combo1(10)",
     .labelTextId = 26009,
     .caption = "扫描发射恢复延迟时间(秒)",
     .items = tenths(1, 50),
     .map = minus(1),
     .enable = kScanning},
    {.name = "scan.entry-tone",
     .slot = {B::Scan, S::kEntryTone},
     .control = "Check1",
     .labelTextId = 26010,
     .caption = "扫描进入提示音",
     .kind = K::Check,
     .enable = kScanning,
     .storedAsShownOnOpening = true},
}};

}  // namespace

std::span<const SettingField> ScanFields() { return kScanFields; }

}  // namespace cps
