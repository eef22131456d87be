// The settings field tables: stored values and the list items that show them,
// the item texts, the lists drawn from the document and the enable rules.
#include "core/settings/setting_fields.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <set>
#include <string>
#include <vector>

#include "../document/test_support.hpp"
#include "core/run_state.hpp"
#include "settings_test_support.hpp"

namespace cps {
namespace {

using testing::MakeChannel;
using testing::SetChannels;

const SettingField& field(std::string_view name) { return testing::FieldNamed(name); }

std::string textOf(int id) { return "T" + std::to_string(id); }

std::vector<std::span<const SettingField>> windows() {
  return {OptionalFeatureFields(), DtmfFields(),    ScanFields(),
          AlertFields(),           KeyFields(),     MessageFields(),
          TestFrequencyFields(),   FmPresetFields()};
}

// Channels in groups 1 and 3, DTMF memories 2 and 5 defined, identification
// by DTMF, both priority channels scanned: every list drawn from the document
// has items.
DocumentRecord populatedDocument() {
  DocumentRecord doc;
  SetChannels(doc, {MakeChannel(3, "43510000"), MakeChannel(1, "43500000"),
                    MakeChannel(40, "43600000"), MakeChannel(35, "43700000")});
  doc.dtmf.memories[1].length = 2;
  doc.dtmf.memories[4].length = 3;
  doc.alert.bytes[AlertBlock::kIdType] = 1;
  doc.scan.bytes[ScanBlock::kPriorityMode] = 3;
  doc.scan.bytes[ScanBlock::kFirstChannelGroup] = 1;
  doc.scan.bytes[ScanBlock::kSecondChannelGroup] = 3;
  doc.alert.bytes[AlertBlock::kChannelGroup] = 3;
  return doc;
}

// ---- The tables themselves ------------------------------------------------

TEST(SettingFields, NamesAreUniqueAndControlsUniqueInTheirWindow) {
  std::set<std::string_view> names;
  for (const SettingField* f : AllSettingFields()) {
    EXPECT_TRUE(names.insert(f->name).second) << f->name;
  }
  for (const auto window : windows()) {
    std::set<std::string_view> controls;
    for (const auto& f : window) EXPECT_TRUE(controls.insert(f.control).second) << f.control;
  }
}

TEST(SettingFields, EveryBlockAndEveryRecordHasItsRows) {
  EXPECT_EQ(OptionalFeatureFields().size(), 18u);
  EXPECT_EQ(DtmfFields().size(), 14u + kDtmfMemoryCount);
  EXPECT_EQ(ScanFields().size(), 12u);
  EXPECT_EQ(AlertFields().size(), 11u);
  EXPECT_EQ(KeyFields().size(), 6u);
  EXPECT_EQ(MessageFields().size(), 4u);
  EXPECT_EQ(TestFrequencyFields().size(), 22u);
  EXPECT_EQ(FmPresetFields().size(), 20u);
  struct Named {
    const char* name;
    const char* control;
    SettingBlock block;
    int index;
  };
  const std::vector<Named> cases = {
      {"dtmf.memory.1", "Text2(0)", SettingBlock::DtmfMemory, 0},
      {"dtmf.memory.16", "Text2(15)", SettingBlock::DtmfMemory, 15},
      {"dtmf.bot", "Text1(0)", SettingBlock::DtmfCode, 0},
      {"dtmf.kill", "Text1(3)", SettingBlock::DtmfCode, 3},
      {"dtmf.id", "Text3", SettingBlock::DtmfId, 0},
      {"message.1", "Text1(0)", SettingBlock::Message, 0},
      {"message.4", "Text1(3)", SettingBlock::Message, 3},
      {"test.1.first", "MSFlexGrid1(1,2)", SettingBlock::TestFirst, 0},
      {"test.1.second", "MSFlexGrid1(1,1)", SettingBlock::TestSecond, 0},
      {"test.11.second", "MSFlexGrid1(11,1)", SettingBlock::TestSecond, 10},
      {"fm.1", "MSFlexGrid1(1,1)", SettingBlock::FmPreset, 0},
      {"fm.20", "MSFlexGrid1(20,1)", SettingBlock::FmPreset, 19},
      {"alert.mode", "Combo1(10)", SettingBlock::Side, 0},
      {"scan.priority2.position", "Combo1(5)", SettingBlock::Scan, 11},
      {"keys.pf2.short", "Combo1(3)", SettingBlock::Keys, 5},
  };
  for (const auto& c : cases) {
    const SettingField& f = field(c.name);
    EXPECT_EQ(f.control, c.control) << c.name;
    EXPECT_EQ(f.slot.block, c.block) << c.name;
    EXPECT_EQ(f.slot.index, c.index) << c.name;
  }
}

TEST(SettingFields, EnableRulesNameFieldsAndTextFieldsSayWhatTheyTake) {
  for (const SettingField* f : AllSettingFields()) {
    for (const auto& condition : {f->enable.first, f->enable.second}) {
      if (!condition.field.empty()) {
        EXPECT_NE(FindSettingField(condition.field), nullptr) << f->name;
      }
    }
    if (IsTextKind(f->kind)) {
      EXPECT_GT(f->text.maxLength, 0) << f->name;
    } else if (f->kind == SettingKind::List && f->items.list == nullptr) {
      EXPECT_GT(ItemCount(*f), 0) << f->name;
    }
  }
}

// ---- Stored value to item, block by block ---------------------------------

struct ShowCase {
  const char* name;
  int stored;
  int item;  // the item a stored value shows
};

void expectShown(const std::vector<ShowCase>& cases, const DocumentRecord& doc = {}) {
  for (const auto& c : cases) {
    EXPECT_EQ(ItemOfStored(doc, field(c.name), c.stored), c.item)
        << c.name << " stored " << c.stored;
  }
}

TEST(OptionalFeatureFields, StoredValueSelectsItsItemOrTheFirst) {
  expectShown({
      {"options.squelch", 0, 0},
      {"options.squelch", 9, 9},
      {"options.squelch", 10, 0},
      {"options.squelch", -1, 0},
      {"options.voice-prompt", 1, 0},
      {"options.voice-prompt", 2, 1},
      {"options.voice-prompt", 0, 0},
      {"options.voice-volume", 5, 4},
      {"options.voice-volume", 0, 0},
      {"options.voice-volume", 6, 0},
      {"options.tail-elimination", 3, 3},
      {"options.battery-save", 4, 0},
      {"options.tot", 0, 0},
      {"options.tot", 15, 1},
      {"options.tot", 240, 16},
      {"options.tot", 20, 1},
      {"options.tot", 22, 1},
      {"options.tot", 23, 2},
      {"options.tot", 255, 0},
      {"options.tot-pre-alert", 10, 10},
      {"options.tot-rekey", 60, 60},
      {"options.tot-reset", 31, 0},
      {"options.vox-level", 6, 6},
      {"options.vox-delay", 9, 9},
      {"options.vox-delay", 10, 0},
      {"options.channel-group", 1, 0},
      {"options.channel-group", 8, 7},
      {"options.channel-group", 9, 0},
      {"options.vox", 1, 1},
      {"options.vox", 2, 0},
      {"options.vox", 0, 0},
      {"options.wired-clone", -3, 0},
  });
}

// The timings are matched by their milliseconds: a value no item shows, such
// as 150 ms among the 100 ms steps, shows the first item.
TEST(DtmfFields, StoredValueSelectsItsItemOrTheFirst) {
  expectShown({
      {"dtmf.rate", 3, 2},
      {"dtmf.rate", 1, 0},
      {"dtmf.rate", 10, 9},
      {"dtmf.rate", 0, 0},
      {"dtmf.rate", 11, 0},
      {"dtmf.first-digit-time", 0, 0},
      {"dtmf.first-digit-time", 20, 10},
      {"dtmf.first-digit-time", 3, 0},
      {"dtmf.first-digit-time", 22, 0},
      {"dtmf.first-digit-delay", 2, 0},
      {"dtmf.first-digit-delay", 50, 24},
      {"dtmf.first-digit-delay", 1, 0},
      {"dtmf.first-digit-delay", 0, 0},
      {"dtmf.star-hash-time", 0, 0},
      {"dtmf.star-hash-time", 2, 1},
      {"dtmf.star-hash-time", 10, 2},
      {"dtmf.star-hash-time", 20, 3},
      {"dtmf.star-hash-time", 5, 0},
      {"dtmf.star-hash-time", -2, 0},
      {"dtmf.d-key", 16, 16},
      {"dtmf.d-key", 17, 0},
      {"dtmf.sidetone", 1, 1},
      {"dtmf.sidetone", 2, 0},
      {"dtmf.call-alert", 2, 2},
      {"dtmf.call-alert", 3, 0},
      {"dtmf.group-code", 6, 6},
      {"dtmf.group-code", 7, 0},
      {"dtmf.auto-reset", 15, 15},
      {"dtmf.auto-reset", 16, 0},
  });
}

// A key stores the function's place in the full table, whatever its list offers.
TEST(KeyFields, StoredValueSelectsItsItemOrTheFirst) {
  expectShown({
      {"keys.long-press-time", 10, 0},
      {"keys.long-press-time", 25, 15},
      {"keys.long-press-time", 30, 0},
      {"keys.long-press-time", 9, 0},
      {"keys.emergency-long-press-time", 17, 7},
      {"keys.pf1.long", 0, 0},
      {"keys.pf1.long", 4, 4},
      {"keys.pf1.long", 11, 11},
      {"keys.pf1.long", 20, 20},
      {"keys.pf1.long", 21, 0},
      {"keys.pf1.long", -1, 0},
      {"keys.pf1.short", 3, 3},
      {"keys.pf1.short", 4, 0},
      {"keys.pf1.short", 5, 4},
      {"keys.pf1.short", 11, 0},
      {"keys.pf1.short", 12, 10},
      {"keys.pf1.short", 20, 18},
      {"keys.pf2.short", 21, 0},
      {"keys.pf2.long", 8, 8},
  });
}

TEST(ScanFields, StoredValueSelectsItsItemOrTheFirst) {
  expectShown({
      {"scan.mode", 1, 1},
      {"scan.mode", 2, 0},
      {"scan.priority-mode", 3, 3},
      {"scan.priority-mode", 4, 0},
      {"scan.look-back-a", 5, 0},
      {"scan.look-back-a", 50, 45},
      {"scan.look-back-a", 4, 0},
      {"scan.look-back-b", 51, 0},
      {"scan.rx-resume-delay", 1, 0},
      {"scan.rx-resume-delay", 50, 49},
      {"scan.tx-resume-delay", 0, 0},
      {"scan.entry-tone", 3, 0},
      {"scan.entry-tone", 1, 1},
  });
}

TEST(AlertFields, StoredValueSelectsItsItemOrTheFirst) {
  expectShown({
      {"alert.mode", 1, 1},
      {"alert.mode", 2, 0},
      {"alert.type", 3, 3},
      {"alert.type", 4, 0},
      {"alert.id-type", 2, 0},
      {"alert.alarm-time", 1, 0},
      {"alert.alarm-time", 255, 254},
      {"alert.alarm-time", 0, 0},
      {"alert.tx-time", 30, 29},
      {"alert.rx-time", 0, 0},
      {"alert.channel-select", 1, 1},
      {"alert.cycle", 0, 0},
      {"alert.cycle", 255, 255},
  });
}

// ---- Item texts, block by block -------------------------------------------

struct TextsCase {
  const char* name;
  std::vector<std::string> first;  // the first items
  std::string last;
  int count;
};

void expectTexts(const std::vector<TextsCase>& cases, const DocumentRecord& doc = {}) {
  for (const auto& c : cases) {
    const auto items = ItemTexts(doc, field(c.name), textOf);
    ASSERT_EQ(static_cast<int>(items.size()), c.count) << c.name;
    for (std::size_t i = 0; i < c.first.size(); ++i) EXPECT_EQ(items[i], c.first[i]) << c.name;
    EXPECT_EQ(items.back(), c.last) << c.name;
  }
}

TEST(OptionalFeatureFields, ItemTexts) {
  expectTexts({
      {"options.squelch", {"0", "1"}, "9", 10},
      {"options.voice-prompt", {"T16042", "T16043"}, "T16043", 2},
      {"options.tail-elimination", {"T16300", "T16301", "T16044"}, "T16045", 4},
      {"options.battery-save", {"T16040", "T16046"}, "T16048", 4},
      {"options.tot", {"T16040", "15", "30"}, "240", 17},
      {"options.tot-pre-alert", {"T16040", "1"}, "10", 11},
      {"options.vox-level", {"T16040", "1"}, "6", 7},
      {"options.vox-delay", {"0.5", "1.0", "1.5"}, "5.0", 10},
      {"options.channel-group", {"1"}, "8", 8},
      {"options.voice-volume", {"1"}, "5", 5},
      {"options.tot-rekey", {"0"}, "60", 61},
      {"options.tot-reset", {"0"}, "30", 31},
  });
}

TEST(DtmfFields, ItemTexts) {
  expectTexts({
      {"dtmf.rate", {"50", "100", "150"}, "500", 10},
      {"dtmf.first-digit-time", {"0", "100"}, "1000", 11},
      {"dtmf.first-digit-delay", {"100", "200"}, "2500", 25},
      {"dtmf.star-hash-time", {"0", "100", "500"}, "1000", 4},
      {"dtmf.d-key", {"T18040", "1s", "2s"}, "16s", 17},
      {"dtmf.call-alert", {"T18043", "T18044"}, "T18045", 3},
      {"dtmf.group-code", {"T18043", "A", "B", "C", "D", "*"}, "#", 7},
      {"dtmf.auto-reset", {"T18043", "1s"}, "15s", 16},
  });
}

TEST(KeyFields, ItemTexts) {
  expectTexts({
      {"keys.long-press-time", {"1.0", "1.1"}, "2.5", 16},
      {"keys.emergency-long-press-time", {"1.0"}, "2.5", 16},
      {"keys.pf1.long", {"T25040", "T25041", "T25042", "T25043", "T25044"}, "T25060", 21},
      {"keys.pf2.long", {"T25040"}, "T25060", 21},
      {"keys.pf1.short", {"T25040", "T25041", "T25042", "T25043", "T25045"}, "T25060", 19},
      {"keys.pf2.short", {"T25040"}, "T25060", 19},
  });
  // Neither short press offers function 4 or 11, and no key offers 21.
  const auto shortPress = ItemTexts(field("keys.pf1.short"), textOf);
  for (const char* absent : {"T25044", "T25051", "T25061"}) {
    EXPECT_EQ(std::count(shortPress.begin(), shortPress.end(), absent), 0) << absent;
  }
}

TEST(ScanFields, ItemTexts) {
  expectTexts({
      {"scan.mode", {"T26030"}, "T26031", 2},
      {"scan.priority-mode", {"T26030", "T260021", "T260022"}, "T260021 + T260022", 4},
      {"scan.look-back-a", {"0.5", "0.6"}, "5.0", 46},
      {"scan.look-back-b", {"0.5"}, "5.0", 46},
      {"scan.rx-resume-delay", {"0.1", "0.2"}, "5.0", 50},
      {"scan.tx-resume-delay", {"0.1"}, "5.0", 50},
  });
}

TEST(AlertFields, ItemTexts) {
  expectTexts({
      {"alert.mode", {"T26030"}, "T26031", 2},
      {"alert.type", {"T27030", "T27031", "T27032"}, "T27033", 4},
      {"alert.id-type", {"T27037"}, "T27038", 2},
      {"alert.alarm-time", {"1", "2"}, "255", 255},
      {"alert.channel-select", {"T27034"}, "T27035", 2},
      {"alert.cycle", {"T27036", "1"}, "255", 256},
  });
}

// ---- Every item round trips -----------------------------------------------

// Choosing any item stores a value the field offers, and that value shows the
// same item again; the document has something for every drawn list to offer.
TEST(SettingFields, EveryItemStoresAValueThatShowsItAgain) {
  const DocumentRecord doc = populatedDocument();
  for (const SettingField* f : AllSettingFields()) {
    if (IsTextKind(f->kind)) continue;
    const int count = ItemCount(doc, *f);
    ASSERT_GT(count, 0) << f->name;
    for (int item = 0; item < count; ++item) {
      const int stored = StoredOfItem(doc, *f, item);
      EXPECT_TRUE(IsOfferedValue(doc, *f, stored)) << f->name << " item " << item;
      EXPECT_EQ(ItemOfStored(doc, *f, stored), item) << f->name << " item " << item;
    }
  }
}

// ---- The revert choices ---------------------------------------------------

struct RevertCase {
  int priorityMode;
  std::vector<int> choices;  // the stored values the revert list offers, in order
};

TEST(ScanFields, RevertListOffersTheChoicesOfThePriorityMode) {
  const std::vector<RevertCase> cases = {
      {0, {0, 1, 4, 5}},       {1, {0, 1, 2, 4, 5, 6}},
      {2, {0, 1, 3, 4, 5, 7}}, {3, {0, 1, 2, 3, 4, 5, 6, 7}},
      {9, {0, 1, 4, 5}},  // a mode the list cannot show shows the first, none
  };
  for (const auto& c : cases) {
    DocumentRecord doc;
    doc.scan.bytes[ScanBlock::kPriorityMode] = static_cast<std::uint8_t>(c.priorityMode);
    std::vector<int> stored;
    for (const auto& item : SettingListItems(doc, field("scan.revert"), textOf)) {
      stored.push_back(item.stored);
    }
    EXPECT_EQ(stored, c.choices) << "priority mode " << c.priorityMode;
  }
  DocumentRecord doc;
  doc.scan.bytes[ScanBlock::kPriorityMode] = 3;
  EXPECT_EQ(ItemTexts(doc, field("scan.revert"), textOf),
            (std::vector<std::string>{"T26032", "T26032 + T26033", "T260021", "T260022", "T26034",
                                      "T26035", "T260021 + T26033", "T260022 + T26033"}));
  // Priority mode 0 with revert 2 (priority channel 1) stored: the first choice shows.
  doc.scan.bytes[ScanBlock::kPriorityMode] = 0;
  EXPECT_EQ(ItemOfStored(doc, field("scan.revert"), 2), 0);
  EXPECT_EQ(ItemOfStored(doc, field("scan.revert"), 5), 3);
  EXPECT_FALSE(IsOfferedValue(doc, field("scan.revert"), 2));
  EXPECT_FALSE(IsOfferedValue(doc, field("scan.revert"), 8));
}

// ---- Lists drawn from the document ----------------------------------------

struct DrawnCase {
  const char* description;
  std::function<void(DocumentRecord&)> change;
  const char* name;
  std::vector<std::string> texts;
  int stored;  // a stored value, and the item it shows
  int item;
};

TEST(SettingFields, ListsDrawnFromTheDocument) {
  const auto none = [](DocumentRecord&) {};
  const std::vector<DrawnCase> cases = {
      {"groups in use, ascending", none, "scan.priority1.group", {"1", "3"}, 3, 1},
      {"a group without channels shows the first", none, "scan.priority2.group", {"1", "3"}, 5, 0},
      {"the alert's groups", none, "alert.channel.group", {"1", "3"}, 7, 0},
      {"positions of group 1", none, "scan.priority1.position", {"1", "3"}, 3, 1},
      {"positions of group 3", none, "scan.priority2.position", {"3", "8"}, 2, 0},
      {"the alert's positions", none, "alert.channel.position", {"3", "8"}, 8, 1},
      {"group 0 has no positions",
       [](DocumentRecord& d) { d.scan.bytes[ScanBlock::kFirstChannelGroup] = 0; },
       "scan.priority1.position",
       {},
       3,
       -1},
      {"no channels, no groups",
       [](DocumentRecord& d) { d.channelCount = 0; },
       "alert.channel.group",
       {},
       1,
       -1},
      {"the defined memories", none, "alert.id-code", {"M2", "M5"}, 5, 1},
      {"a memory not defined shows the first", none, "alert.id-code", {"M2", "M5"}, 3, 0},
      {"identification without DTMF offers no memory",
       [](DocumentRecord& d) { d.alert.bytes[AlertBlock::kIdType] = 0; },
       "alert.id-code",
       {},
       2,
       -1},
      {"an identification type the list cannot show is the first",
       [](DocumentRecord& d) { d.alert.bytes[AlertBlock::kIdType] = 7; },
       "alert.id-code",
       {},
       5,
       -1},
  };
  for (const auto& c : cases) {
    DocumentRecord doc = populatedDocument();
    c.change(doc);
    EXPECT_EQ(ItemTexts(doc, field(c.name), textOf), c.texts) << c.description;
    EXPECT_EQ(ItemOfStored(doc, field(c.name), c.stored), c.item) << c.description;
    // An empty list offers only 0, which nothing selected stores.
    if (c.texts.empty()) {
      EXPECT_EQ(StoredOfItem(doc, field(c.name), -1), 0) << c.description;
      EXPECT_TRUE(IsOfferedValue(doc, field(c.name), 0)) << c.description;
      EXPECT_FALSE(IsOfferedValue(doc, field(c.name), c.stored)) << c.description;
    }
  }
}

// ---- Enable rules ---------------------------------------------------------

struct EnableCase {
  const char* description;
  std::function<void(RunState&)> change;
  std::vector<const char*> enabled;
  std::vector<const char*> disabled;
};

void expectEnabled(const std::vector<EnableCase>& cases) {
  for (const auto& c : cases) {
    RunState state;
    c.change(state);
    for (const char* name : c.enabled) {
      EXPECT_TRUE(IsSettingEnabled(state, field(name))) << c.description << ": " << name;
    }
    for (const char* name : c.disabled) {
      EXPECT_FALSE(IsSettingEnabled(state, field(name))) << c.description << ": " << name;
    }
  }
}

TEST(OptionalFeatureFields, TheVoxControlsFollowVoxOn) {
  auto vox = [](int value) {
    return [value](RunState& s) {
      s.workingDocument.optionalFeatures.values[OptionalFeaturesBlock::kVox] =
          static_cast<std::int16_t>(value);
    };
  };
  const std::vector<const char*> voxControls = {"options.vox-level", "options.vox-delay",
                                                "options.vox-tone"};
  expectEnabled({
      {"VOX off", vox(0), {"options.squelch", "options.vox"}, voxControls},
      {"VOX on", vox(1), voxControls, {}},
      {"a VOX flag of 2 shows unticked", vox(2), {}, voxControls},
  });
}

TEST(ScanFields, ScanModeAndPriorityModeEnableTheOtherControls) {
  auto scan = [](int mode, int priority) {
    return [mode, priority](RunState& s) {
      s.workingDocument.scan.bytes[ScanBlock::kMode] = static_cast<std::uint8_t>(mode);
      s.workingDocument.scan.bytes[ScanBlock::kPriorityMode] = static_cast<std::uint8_t>(priority);
    };
  };
  const std::vector<const char*> pair1 = {"scan.priority1.group", "scan.priority1.position"};
  const std::vector<const char*> pair2 = {"scan.priority2.group", "scan.priority2.position"};
  std::vector<const char*> both = pair1;
  both.insert(both.end(), pair2.begin(), pair2.end());
  const std::vector<const char*> others = {
      "scan.priority-mode",   "scan.revert",          "scan.look-back-a", "scan.look-back-b",
      "scan.rx-resume-delay", "scan.tx-resume-delay", "scan.entry-tone"};
  std::vector<const char*> everything = others;
  everything.insert(everything.end(), both.begin(), both.end());
  std::vector<const char*> othersAndPair1 = others;
  othersAndPair1.insert(othersAndPair1.end(), pair1.begin(), pair1.end());
  std::vector<const char*> othersAndPair2 = others;
  othersAndPair2.insert(othersAndPair2.end(), pair2.begin(), pair2.end());

  expectEnabled({
      {"scanning off", scan(0, 3), {"scan.mode"}, everything},
      {"a scan mode the list cannot show is off", scan(5, 3), {}, everything},
      {"no priority channel", scan(1, 0), others, both},
      {"priority channel 1", scan(1, 1), othersAndPair1, pair2},
      {"priority channel 2", scan(1, 2), othersAndPair2, pair1},
      {"both priority channels", scan(1, 3), everything, {}},
  });
}

TEST(AlertFields, AlarmModeTypeAndChannelSelectionEnableTheOtherLists) {
  auto alert = [](int mode, int type, int selection) {
    return [mode, type, selection](RunState& s) {
      s.workingSide.alarmMode = static_cast<std::uint8_t>(mode);
      s.workingDocument.alert.bytes[AlertBlock::kAlarmType] = static_cast<std::uint8_t>(type);
      s.workingDocument.alert.bytes[AlertBlock::kChannelSelect] =
          static_cast<std::uint8_t>(selection);
    };
  };
  const std::vector<const char*> all = {
      "alert.type",           "alert.id-type",       "alert.id-code",
      "alert.alarm-time",     "alert.tx-time",       "alert.rx-time",
      "alert.channel-select", "alert.channel.group", "alert.channel.position",
      "alert.cycle"};
  expectEnabled({
      {"alarm mode off", alert(0, 1, 0), {"alert.mode"}, all},
      {"an alarm mode the list cannot show is off", alert(3, 1, 0), {}, all},
      {"local alarm on a fixed channel",
       alert(1, 0, 0),
       {"alert.type", "alert.alarm-time", "alert.channel-select", "alert.channel.group",
        "alert.channel.position", "alert.cycle"},
       {"alert.id-type", "alert.id-code", "alert.tx-time", "alert.rx-time"}},
      {"remote alarm on the current channel",
       alert(1, 2, 1),
       {"alert.id-type", "alert.id-code", "alert.tx-time", "alert.rx-time"},
       {"alert.alarm-time", "alert.channel.group", "alert.channel.position"}},
      {"an alarm type the list cannot show is local",
       alert(1, 9, 0),
       {"alert.alarm-time"},
       {"alert.id-type", "alert.tx-time"}},
  });
}

}  // namespace
}  // namespace cps
