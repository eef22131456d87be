#include "core/channels/channel_dialog.hpp"

#include <array>

#include "core/app/text_ids.hpp"
#include "core/document/channel_list.hpp"
#include "core/document/codec.hpp"
#include "core/document/records.hpp"

namespace cps {

namespace {

using F = ChannelField;
using I = DialogItems;

constexpr int kNone = 15030;
constexpr int kAutodialNone = 14013;

constexpr std::array<int, 3> kPower{15044, 15045, 15046};
constexpr std::array<int, 2> kSignalling{15030, 15043};
constexpr std::array<int, 4> kPttId{15030, 15037, 15038, 15039};
constexpr std::array<int, 3> kSpacing{15040, 15041, 15042};
constexpr std::array<int, 2> kScramblerTalkaround{15034, 15035};
constexpr std::array<int, 2> kRelation{15050, 15051};
constexpr std::array<int, 4> kLockoutMaster{15030, 15031, 15032, 15033};

// Top to bottom as the dialog shows them; the signalling relation comes
// before the first auto-dial list although its control is numbered after it.
constexpr std::array<ChannelDialogList, 11> kLists{{
    {"Combo2(0)", F::DecodeTone, 15005, "CTCSS/DCS解码", "", I::Tones, {}},
    {"Combo2(1)", F::EncodeTone, 15006, "CTCSS/DCS编码", "", I::Tones, {}},
    {"Combo2(2)", F::Power, 15007, "发射功率", "", I::Fixed, kPower},
    {"Combo2(3)", F::OptionalSignalling, 15008, "可选信令", "", I::Fixed, kSignalling},
    {"Combo2(4)", F::PttId, 15009, "PTTID", "", I::Fixed, kPttId},
    {"Combo2(5)", F::Spacing, 15010, "信道间隔", "", I::Fixed, kSpacing},
    {"Combo2(6)", F::BusyLockout, 15011, "信道繁忙锁定", "", I::BusyLockout, {}},
    {"Combo2(7)", F::ScramblerTalkaround, 15012, "倒频/脱网", "", I::Fixed, kScramblerTalkaround},
    {"Combo2(9)", F::SignallingRelation, 15022, "信令关系", "", I::Fixed, kRelation},
    {"Combo2(8)", F::Autodial1, 15013, "自动拨号存储器", " 1", I::Autodial, {}},
    {"Combo2(10)", F::Autodial2, 15013, "自动拨号存储器", " 2", I::Autodial, {}},
}};

constexpr std::array<ChannelDialogCheck, 7> kChecks{{
    {"Check1(0)", F::ScanSkip, 15014, "扫描跳过"},
    {"Check1(1)", F::VoiceEncryption, 15015, "语音加密"},
    {"Check1(2)", F::TxInhibit, 15016, "发射禁止"},
    {"Check1(3)", F::Talkaround, 15017, "脱网"},
    {"Check1(4)", F::Scrambler, 15018, "倒频"},
    {"Check1(5)", F::Whisper, 15019, "耳语"},
    {"Check1(6)", F::Compander, 15020, "语音压扩"},
}};

int storedValue(const ChannelDialogList& list, const ChannelRecord& channel) {
  return channel.*(FindChannelField(static_cast<int>(list.field))->member);
}

}  // namespace

std::span<const ChannelDialogList> ChannelDialogLists() { return kLists; }
std::span<const ChannelDialogCheck> ChannelDialogChecks() { return kChecks; }

const ChannelDialogList* FindChannelDialogList(std::string_view control) {
  for (const auto& list : kLists) {
    if (list.control == control) return &list;
  }
  return nullptr;
}

std::span<const int> BusyLockoutMasterTextIds() { return kLockoutMaster; }

std::vector<std::string> DialogListItems(const ChannelDialogList& list, const DocumentRecord& doc,
                                         const ChannelRecord& channel, const TextOf& textOf) {
  std::vector<std::string> items;
  switch (list.items) {
    case I::Fixed:
      for (const int id : list.itemTextIds) items.push_back(textOf(id));
      break;
    case I::Tones: {
      const std::string none = textOf(kNone);
      items.reserve(kToneCount);
      for (int i = 0; i < kToneCount; ++i) items.push_back(ToneText(i, none));
      break;
    }
    case I::BusyLockout:
      items = {textOf(kLockoutMaster[0]), textOf(kLockoutMaster[1])};
      if (HasToneToCheck(channel)) items.push_back(textOf(kLockoutMaster[2]));
      break;
    case I::Autodial:
      items = DtmfCodeComboItems(doc.dtmf, textOf(kAutodialNone));
      break;
  }
  return items;
}

std::vector<std::string> DialogListItemsForAnyChannel(const ChannelDialogList& list,
                                                      const DocumentRecord& doc,
                                                      const TextOf& textOf) {
  ChannelRecord withTone;
  withTone.decodeTone = 1;
  return DialogListItems(list, doc, withTone, textOf);
}

int DialogShownItem(const ChannelDialogList& list, const DocumentRecord& doc,
                    const ChannelRecord& channel) {
  const int value = storedValue(list, channel);
  int count = 0;
  switch (list.items) {
    case I::Fixed:
      count = static_cast<int>(list.itemTextIds.size());
      break;
    case I::Tones:
      count = kToneCount;
      break;
    case I::BusyLockout:
      count = HasToneToCheck(channel) ? 3 : 2;
      break;
    case I::Autodial: {
      // The item whose text is the stored number; the items are the defined memories.
      const auto items = DtmfCodeComboItems(doc.dtmf, "");
      for (std::size_t i = 1; i < items.size(); ++i) {
        if (items[i] == std::to_string(value)) return static_cast<int>(i);
      }
      return 0;
    }
  }
  return value >= 0 && value < count ? value : 0;
}

std::optional<int> DialogStoredValue(const ChannelDialogList& list, int item,
                                     std::string_view itemText) {
  if (item < 0) return std::nullopt;
  if (list.items != I::Autodial || item == 0) return item;
  return ParseInteger(itemText);
}

int DialogTransmitLabelTextId(bool offsetMode) {
  return offsetMode ? text::kDialogOffsetLabel : text::kDialogTransmitLabel;
}

}  // namespace cps
