// The controls of the channel edit dialog, described once: which field each
// list and check box edits, its label and items, and how a stored value maps
// to the item shown and back. The desktop dialog is built from this table.
#pragma once

#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "core/channels/channel_table.hpp"
#include "core/document/channel_fields.hpp"

namespace cps {

struct ChannelRecord;
struct DocumentRecord;

enum class DialogItems {
  Fixed,        // item i stands for stored value i
  Tones,        // the tone table, the none text first
  BusyLockout,  // off and carrier, and tone when the channel has a tone to check
  Autodial,     // none, then the numbers of the defined DTMF memories
};

struct ChannelDialogList {
  std::string_view control;  // "Combo2(4)"
  ChannelField field;
  int labelTextId;
  std::string_view builtInLabel;
  std::string_view labelSuffix;  // " 1" and " 2" tell the two auto-dial lists apart
  DialogItems items;
  std::span<const int> itemTextIds;  // the fixed items
};

struct ChannelDialogCheck {
  std::string_view control;  // "Check1(3)"
  ChannelField field;
  int captionTextId;
  std::string_view builtInCaption;
};

// The eleven option lists, top to bottom, and the seven check boxes.
std::span<const ChannelDialogList> ChannelDialogLists();
std::span<const ChannelDialogCheck> ChannelDialogChecks();
const ChannelDialogList* FindChannelDialogList(std::string_view control);

// The busy channel lockout texts: off, carrier, tone, reserved; the stored
// value is an index into these.
std::span<const int> BusyLockoutMasterTextIds();

// The items of a list for a channel of `doc`.
std::vector<std::string> DialogListItems(const ChannelDialogList& list, const DocumentRecord& doc,
                                         const ChannelRecord& channel, const TextOf& textOf);
// The items of a list when it changes many channels at once: as for any one
// channel, except that lockout by tone is always offered (a channel without a
// tone to check keeps carrier lockout, as ApplyChannelEdit rules).
std::vector<std::string> DialogListItemsForAnyChannel(const ChannelDialogList& list,
                                                      const DocumentRecord& doc,
                                                      const TextOf& textOf);
// The item a list shows for the channel's stored value: out of range, a
// lockout its list does not offer and an auto-dial memory that is not defined
// show item 0.
int DialogShownItem(const ChannelDialogList& list, const DocumentRecord& doc,
                    const ChannelRecord& channel);
// The value an item stores: its position, or for the auto-dial lists the
// memory number it shows (0 for the none item). Empty for no item.
std::optional<int> DialogStoredValue(const ChannelDialogList& list, int item,
                                     std::string_view itemText);

// The transmit label: the offset in offset mode.
int DialogTransmitLabelTextId(bool offsetMode);

}  // namespace cps
