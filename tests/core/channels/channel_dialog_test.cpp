// The channel edit dialog's lists: their items for a channel, the item a
// stored value shows and the value an item stores.
#include "core/channels/channel_dialog.hpp"

#include <gtest/gtest.h>

#include "../document/test_support.hpp"
#include "core/document/records.hpp"

namespace cps {
namespace {

using testing::MakeChannel;

std::string idText(int id) { return "#" + std::to_string(id); }

const ChannelDialogList& list(std::string_view control) {
  const ChannelDialogList* found = FindChannelDialogList(control);
  EXPECT_NE(found, nullptr) << control;
  return *found;
}

void defineMemory(DocumentRecord& doc, int number) {
  doc.dtmf.memories[static_cast<std::size_t>(number - 1)].length = 3;
}

TEST(ChannelDialogTest, EveryControlEditsItsOwnField) {
  std::vector<ChannelField> fields;
  for (const auto& l : ChannelDialogLists()) fields.push_back(l.field);
  for (const auto& c : ChannelDialogChecks()) fields.push_back(c.field);
  ASSERT_EQ(fields.size(), 18u);
  for (std::size_t i = 0; i < fields.size(); ++i) {
    for (std::size_t j = i + 1; j < fields.size(); ++j) EXPECT_NE(fields[i], fields[j]);
  }
  EXPECT_EQ(ChannelDialogLists()[8].control, "Combo2(9)");
  EXPECT_EQ(ChannelDialogLists()[9].control, "Combo2(8)");
}

// The lockout list offers lockout by tone only when there is a tone to check.
TEST(ChannelDialogTest, BusyLockoutItemsFollowTheToneToCheck) {
  struct Case {
    int decode, encode, scrambler;
    std::size_t items;
  };
  DocumentRecord doc;
  for (const Case& k :
       {Case{0, 0, 0, 2}, Case{5, 0, 0, 3}, Case{0, 5, 0, 2}, Case{5, 0, 1, 2}, Case{0, 5, 1, 3}}) {
    ChannelRecord c = MakeChannel(1, "43510000");
    c.decodeTone = static_cast<std::int16_t>(k.decode);
    c.encodeTone = static_cast<std::int16_t>(k.encode);
    c.scrambler = static_cast<std::int16_t>(k.scrambler);
    const auto items = DialogListItems(list("Combo2(6)"), doc, c, idText);
    EXPECT_EQ(items.size(), k.items) << k.decode << "/" << k.encode << "/" << k.scrambler;
    EXPECT_EQ(items[0], "#15030");
    EXPECT_EQ(items[1], "#15031");
  }
}

TEST(ChannelDialogTest, TheItemAStoredValueShows) {
  struct Case {
    const char* control;
    int stored;
    int shown;
  };
  DocumentRecord doc;
  defineMemory(doc, 2);
  defineMemory(doc, 7);
  for (const Case& k : {
           Case{"Combo2(2)", 1, 1},  // power
           Case{"Combo2(2)", 3, 0},  // a power the list does not hold
           Case{"Combo2(9)", 5, 0},  // signalling relation out of range
           Case{"Combo2(4)", 3, 3},  // PTT ID at both ends
           Case{"Combo2(0)", 282, 282},
           Case{"Combo2(6)", 3, 0},  // lockout "reserved" is not offered
           Case{"Combo2(6)", 1, 1},
           Case{"Combo2(8)", 7, 2},  // the second defined memory
           Case{"Combo2(8)", 5, 0},  // memory 5 is not defined
           Case{"Combo2(10)", 0, 0},
       }) {
    ChannelRecord c = MakeChannel(1, "43510000");
    const ChannelDialogList& l = list(k.control);
    c.*(FindChannelField(static_cast<int>(l.field))->member) = static_cast<std::int16_t>(k.stored);
    EXPECT_EQ(DialogShownItem(l, doc, c), k.shown) << k.control << " " << k.stored;
  }
}

TEST(ChannelDialogTest, TheValueAnItemStores) {
  EXPECT_EQ(DialogStoredValue(list("Combo2(5)"), 2, "#15042"), 2);
  EXPECT_EQ(DialogStoredValue(list("Combo2(8)"), 0, "#14013"), 0);
  EXPECT_EQ(DialogStoredValue(list("Combo2(8)"), 2, "7"), 7);
  EXPECT_EQ(DialogStoredValue(list("Combo2(10)"), 1, "16"), 16);
  EXPECT_EQ(DialogStoredValue(list("Combo2(3)"), -1, ""), std::nullopt);
}

TEST(ChannelDialogTest, AutodialListsOfferTheDefinedMemories) {
  DocumentRecord doc;
  defineMemory(doc, 3);
  defineMemory(doc, 16);
  const auto items = DialogListItems(list("Combo2(8)"), doc, MakeChannel(1, "43510000"), idText);
  EXPECT_EQ(items, (std::vector<std::string>{"#14013", "3", "16"}));
  EXPECT_EQ(DialogTransmitLabelTextId(false), 15003);
  EXPECT_EQ(DialogTransmitLabelTextId(true), 15100);
}

}  // namespace
}  // namespace cps
