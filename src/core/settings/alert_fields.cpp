// The emergency alert window (FrmAlert): the alarm mode kept in the side file,
// then the alarm type, how the radio identifies itself, the alarm, transmit and
// receive times, the emergency channel and the repeat cycle.
#include <array>
#include <string>

#include "core/document/records.hpp"
#include "core/settings/setting_rows.hpp"

namespace cps {

namespace {

using namespace rows;
using A = AlertBlock;

constexpr std::array<int, 2> kOffOn{26030, 26031};
constexpr std::array<int, 4> kAlarmTypes{27030, 27031, 27032, 27033};
constexpr std::array<int, 2> kIdTypes{27037, 27038};
constexpr std::array<int, 2> kChannelSelections{27034, 27035};
constexpr std::array<int, 1> kContinuous{27036};

// With identification by DTMF, the defined auto-dial memories as "M1" … "M16".
std::vector<ListItem> idCodeItems(const DocumentRecord& doc, const TextOf&) {
  std::vector<ListItem> items;
  const SettingField& type = *FindSettingField("alert.id-type");
  if (ItemOfStored(doc, type, doc.alert.bytes[A::kIdType]) != 1) return items;
  for (std::size_t i = 0; i < doc.dtmf.memories.size(); ++i) {
    if (doc.dtmf.memories[i].length > 0) {
      const int number = static_cast<int>(i) + 1;
      items.push_back({"M" + std::to_string(number), number});
    }
  }
  return items;
}

std::vector<ListItem> groupItems(const DocumentRecord& doc, const TextOf&) {
  return UsedGroupItems(doc);
}
std::vector<ListItem> positionItems(const DocumentRecord& doc, const TextOf&) {
  return UsedPositionItems(doc, doc.alert.bytes[A::kChannelGroup]);
}

// With the alarm mode off every other list is greyed. A local alarm (type 0)
// has only its alarm time; the other types identify, transmit and receive.
// A fixed emergency channel (selection 0) is chosen by group and position.
constexpr EnableCondition kWhileOn = whileItem("alert.mode", 1);
constexpr EnableRule kAlarmOn{kWhileOn, {}};
constexpr EnableRule kLocalAlarm{kWhileOn, whileItem("alert.type", 0)};
constexpr EnableRule kRemoteAlarm{kWhileOn, whileItemIsNot("alert.type", 0)};
constexpr EnableRule kFixedChannel{kWhileOn, whileItem("alert.channel-select", 0)};

constexpr std::array<SettingField, 11> kAlertFields{{
    {.name = "alert.mode",
     .slot = {B::Side, 0},
     .control = "Combo1(10)",
     .labelTextId = 27011,
     .caption = "报警模式",
     .items = texts(kOffOn)},
    // Stored as shown when the window opens, as a choice of the user would be.
    {.name = "alert.type",
     .slot = {B::Alert, A::kAlarmType},
     .control = "Combo1(0)",
     .labelTextId = 27001,
     .caption = "紧急报警",
     .items = texts(kAlarmTypes),
     .enable = kAlarmOn,
     .storedAsShownOnOpening = true},
    {.name = "alert.id-type",
     .slot = {B::Alert, A::kIdType},
     .control = "Combo1(1)",
     .labelTextId = 27002,
     .caption = "紧急识别码类型选择",
     .items = texts(kIdTypes),
     .enable = kRemoteAlarm,
     .side = SideRule::IdentificationType},
    {.name = "alert.id-code",
     .slot = {B::Alert, A::kIdMemory},
     .control = "Combo1(2)",
     .labelTextId = 27003,
     .caption = "紧急识别码组数",
     .items = generated(idCodeItems),
     .map = kListed,
     .enable = kRemoteAlarm},
    {.name = "alert.alarm-time",
     .slot = {B::Alert, A::kAlarmTime},
     .control = "Combo1(3)",
     .labelTextId = 27004,
     .caption = "报警时间(秒)",
     .items = numbers(1, 255),
     .map = minus(1),
     .enable = kLocalAlarm},
    {.name = "alert.tx-time",
     .slot = {B::Alert, A::kTxTime},
     .control = "Combo1(4)",
     .labelTextId = 27005,
     .caption = "发射时间(秒)",
     .items = numbers(1, 255),
     .map = minus(1),
     .enable = kRemoteAlarm},
    {.name = "alert.rx-time",
     .slot = {B::Alert, A::kRxTime},
     .control = "Combo1(5)",
     .labelTextId = 27006,
     .caption = "接收时间(秒)",
     .items = numbers(1, 255),
     .map = minus(1),
     .enable = kRemoteAlarm},
    {.name = "alert.channel-select",
     .slot = {B::Alert, A::kChannelSelect},
     .control = "Combo1(6)",
     .labelTextId = 27007,
     .caption = "信道选择",
     .items = texts(kChannelSelections),
     .enable = kAlarmOn,
     .storedAsShownOnOpening = true},
    {.name = "alert.channel.group",
     .slot = {B::Alert, A::kChannelGroup},
     .control = "Combo1(7)",
     .labelTextId = 27008,
     .caption = "紧急信道组号",
     .items = generated(groupItems),
     .map = kListed,
     .enable = kFixedChannel,
     .side = SideRule::ChannelGroup,
     .storedAsShownOnOpening = true},
    {.name = "alert.channel.position",
     .slot = {B::Alert, A::kChannelPosition},
     .control = "Combo1(8)",
     .labelTextId = 27009,
     .caption = "紧急信道",
     .items = generated(positionItems),
     .map = kListed,
     .enable = kFixedChannel,
     .storedAsShownOnOpening = true},
    {.name = "alert.cycle",
     .slot = {B::Alert, A::kCycle},
     .control = "Combo1(9)",
     .labelTextId = 27010,
     .caption = "周期",
     .items = textsThen(kContinuous, 1, 255),
     .enable = kAlarmOn},
}};

}  // namespace

std::span<const SettingField> AlertFields() { return kAlertFields; }

}  // namespace cps
