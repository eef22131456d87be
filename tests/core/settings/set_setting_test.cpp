// SetSetting: offered values stored and the rest refused with the document
// left as it was, the side rules between the settings windows, the text
// fields' rules, and what a window stores as it opens.
#include <gtest/gtest.h>

#include <functional>
#include <set>
#include <string>
#include <vector>

#include "../document/test_support.hpp"
#include "core/document/codec.hpp"
#include "core/document/defaults.hpp"
#include "core/run_state.hpp"
#include "core/settings/setting_fields.hpp"
#include "settings_test_support.hpp"

namespace cps {
namespace {

using testing::MakeChannel;
using testing::RecordingObserver;
using testing::ScriptedPrompter;
using testing::SetChannels;

const SettingField& field(std::string_view name) { return testing::FieldNamed(name); }

// A new document with channels 1 and 3 (group 1) and 35 and 40 (group 3,
// positions 3 and 8), DTMF memories 2 and 5 defined, scanning on, and both
// priority channels and the alert channel pointing at existing channels.
struct Bench {
  Bench() {
    ApplyDocumentDefaults(state, Today{"2024-01-01", 1});
    SetChannels(doc(), {MakeChannel(1, "43500000"), MakeChannel(3, "43510000"),
                        MakeChannel(35, "43700000"), MakeChannel(40, "43600000")});
    doc().dtmf.memories[1] = testing::MakeDtmfCode("12");
    doc().dtmf.memories[4] = testing::MakeDtmfCode("555");
    doc().scan.bytes[ScanBlock::kMode] = 1;
    doc().scan.bytes[ScanBlock::kFirstChannelGroup] = 1;
    doc().scan.bytes[ScanBlock::kFirstChannelGroup + 1] = 1;
    doc().scan.bytes[ScanBlock::kSecondChannelGroup] = 3;
    doc().scan.bytes[ScanBlock::kSecondChannelGroup + 1] = 8;
    doc().alert.bytes[AlertBlock::kChannelGroup] = 1;
    doc().alert.bytes[AlertBlock::kChannelPosition] = 1;
  }

  DocumentRecord& doc() { return state.workingDocument; }
  int stored(std::string_view name) { return StoredSetting(state, field(name)); }
  EditOutcome set(std::string_view name, int value) {
    return SetSetting(state, effects, field(name), value);
  }
  EditOutcome set(std::string_view name, std::string_view text) {
    return SetSetting(state, effects, field(name), text);
  }
  std::string shown(std::string_view name) {
    return SettingText(doc(), field(name), CodecContext{state.model.limits, prompter});
  }

  // A refusal changes no byte of the document or of the side record.
  void expectRefusedAsItWas(const EditOutcome& outcome, const std::string& what) {
    EXPECT_EQ(outcome.status, EditStatus::Refused) << what;
    EXPECT_TRUE(outcome.failure.failed()) << what;
    EXPECT_EQ(doc().toBytes(), imageBefore) << what;
    EXPECT_EQ(state.workingSide.toBytes(), sideBefore) << what;
  }
  // What a refusal must leave.
  void remember() {
    imageBefore = doc().toBytes();
    sideBefore = state.workingSide.toBytes();
  }

  RunState state;
  ScriptedPrompter prompter;
  RecordingObserver observer;
  Effects effects{prompter, observer};
  DocumentRecord::Image imageBefore{};
  SideFileRecord::Image sideBefore{};
};

// ---- Numbers: offered values and refusals, every block ---------------------

struct StoreCase {
  const char* name;
  int value;
  EditStatus status;
  int stored;  // what the field holds afterwards
};

TEST(SetSetting, StoresOfferedValuesAndRefusesTheRest) {
  const std::vector<StoreCase> cases = {
      {"options.tot", 240, EditStatus::Applied, 240},
      {"options.tot", 20, EditStatus::Refused, 0},
      {"options.tot", 255, EditStatus::Refused, 0},
      {"options.voice-prompt", 0, EditStatus::Refused, 1},
      {"options.channel-group", 8, EditStatus::Applied, 8},
      {"options.channel-group", 9, EditStatus::Refused, 0},
      {"options.vox", 2, EditStatus::Refused, 0},
      {"options.squelch", 0, EditStatus::Unchanged, 0},
      {"dtmf.rate", 10, EditStatus::Applied, 10},
      {"dtmf.rate", 11, EditStatus::Refused, 0},
      {"dtmf.first-digit-time", 20, EditStatus::Applied, 20},
      {"dtmf.first-digit-time", 3, EditStatus::Refused, 0},
      {"dtmf.star-hash-time", 10, EditStatus::Applied, 10},
      {"dtmf.star-hash-time", 5, EditStatus::Refused, 0},
      {"dtmf.d-key", 16, EditStatus::Applied, 16},
      {"dtmf.group-code", 7, EditStatus::Refused, 0},
      {"dtmf.sidetone", 1, EditStatus::Applied, 1},
      {"keys.long-press-time", 25, EditStatus::Applied, 25},
      {"keys.long-press-time", 26, EditStatus::Refused, 10},
      {"keys.pf1.long", 4, EditStatus::Applied, 4},
      {"keys.pf1.short", 4, EditStatus::Refused, 0},
      {"keys.pf2.short", 11, EditStatus::Refused, 0},
      {"keys.pf2.short", 12, EditStatus::Applied, 12},
      {"keys.pf2.long", 21, EditStatus::Refused, 0},
      {"scan.look-back-a", 5, EditStatus::Applied, 5},
      {"scan.look-back-a", 4, EditStatus::Refused, 0},
      {"scan.tx-resume-delay", 50, EditStatus::Applied, 50},
      {"scan.priority-mode", 4, EditStatus::Refused, 0},
      {"scan.revert", 2, EditStatus::Refused, 0},  // priority mode 0 offers no priority channel
      {"scan.revert", 5, EditStatus::Applied, 5},
      {"scan.priority1.group", 2, EditStatus::Refused, 1},  // group 2 holds no channel
      {"scan.priority1.group", 0, EditStatus::Refused, 1},
      {"scan.priority1.position", 2, EditStatus::Refused, 1},
      {"scan.priority1.position", 3, EditStatus::Applied, 3},
      {"alert.mode", 0, EditStatus::Applied, 0},
      {"alert.mode", 2, EditStatus::Refused, 1},
      // What the field holds is given back unchanged even where no item names it.
      {"alert.alarm-time", 0, EditStatus::Unchanged, 0},
      {"alert.alarm-time", 255, EditStatus::Applied, 255},
      {"alert.cycle", 255, EditStatus::Applied, 255},
      {"alert.id-code", 2, EditStatus::Refused, 0},  // identification without DTMF
      {"alert.channel.position", 8, EditStatus::Refused, 1},
  };
  for (const auto& c : cases) {
    Bench fresh;
    fresh.remember();
    const std::string what = std::string(c.name) + " " + std::to_string(c.value);
    const auto outcome = fresh.set(c.name, c.value);
    if (c.status == EditStatus::Refused) {
      fresh.expectRefusedAsItWas(outcome, what);
    } else {
      EXPECT_EQ(outcome.status, c.status) << what;
    }
    EXPECT_EQ(fresh.stored(c.name), c.stored) << what;
  }
}

TEST(SetSetting, NumbersAndTextsGoToTheirOwnKindOfField) {
  Bench b;
  EXPECT_EQ(b.set("options.squelch", "5").status, EditStatus::Applied);
  EXPECT_EQ(b.stored("options.squelch"), 5);
  b.remember();
  b.expectRefusedAsItWas(b.set("options.squelch", "five"), "a word for a list");
  b.expectRefusedAsItWas(b.set("options.squelch", "12"), "a number the list lacks");
  b.expectRefusedAsItWas(b.set("dtmf.bot", 12), "a number for a code");
}

// A refusal is a text and what its marks stand for, so that each front end
// says it in its own language; the field's name always comes first.
TEST(SetSetting, ARefusalCarriesItsTextAndTheFieldsName) {
  struct Case {
    const char* what;
    std::function<EditOutcome(Bench&)> edit;
    int textId;
    std::vector<std::string> arguments;
  };
  const std::vector<Case> cases = {
      {"a number for a code",
       [](Bench& b) { return b.set("dtmf.bot", 12); },
       text::kSettingTakesText,
       {"dtmf.bot"}},
      {"a number the list lacks",
       [](Bench& b) { return b.set("options.squelch", "12"); },
       text::kSettingValueNotOffered,
       {"options.squelch", "12"}},
      {"a word for a list",
       [](Bench& b) { return b.set("options.squelch", "five"); },
       text::kTakesWholeNumber,
       {"options.squelch", "five"}},
      {"an empty value for a list",
       [](Bench& b) { return b.set("options.squelch", ""); },
       text::kTakesWholeNumber,
       {"options.squelch", ""}},
      {"the scan function with scanning off",
       [](Bench& b) {
         b.doc().scan.bytes[ScanBlock::kMode] = 0;
         return b.set("keys.pf1.short", 8);
       },
       text::kSettingScanNeedsScanMode,
       {"keys.pf1.short"}},
      {"a character a code cannot hold",
       [](Bench& b) { return b.set("dtmf.bot", "12E"); },
       text::kSettingCharacterRefused,
       {"dtmf.bot", "E"}},
      {"a code too long",
       [](Bench& b) { return b.set("dtmf.bot", std::string(17, '1')); },
       text::kSettingTextTooLong,
       {"dtmf.bot", "16"}},
      {"an ID code too short",
       [](Bench& b) { return b.set("dtmf.id", "12"); },
       text::kSettingTextTooShort,
       {"dtmf.id", "3"}},
  };
  for (const auto& c : cases) {
    Bench b;
    const EditOutcome outcome = c.edit(b);
    EXPECT_EQ(outcome.status, EditStatus::Refused) << c.what;
    EXPECT_EQ(outcome.failure.textId, c.textId) << c.what;
    EXPECT_EQ(outcome.failure.arguments, c.arguments) << c.what;
    EXPECT_TRUE(outcome.failure.choices.empty()) << c.what;
  }
}

// ---- Side rules ------------------------------------------------------------

TEST(SetSetting, ScanningOffTakesTheScanFunctionOffEveryKey) {
  Bench b;
  b.doc().keys.values = {10, 10, 8, 8, 8, 3};
  EXPECT_EQ(b.set("scan.mode", 0).status, EditStatus::Applied);
  EXPECT_EQ(b.doc().keys.values, (std::array<std::int16_t, 6>{10, 10, 0, 0, 0, 3}));
  EXPECT_EQ(b.observer.keyWindowRefreshes, 1);

  b.doc().keys.values = {10, 10, 8, 0, 0, 0};
  EXPECT_EQ(b.set("scan.mode", 1).status, EditStatus::Applied);
  EXPECT_EQ(b.doc().keys.values[KeyBlock::kPf1Long], 8) << "switching scanning on keeps the keys";
  EXPECT_EQ(b.observer.keyWindowRefreshes, 2);

  EXPECT_EQ(b.set("scan.mode", 1).status, EditStatus::Unchanged);
  EXPECT_EQ(b.observer.keyWindowRefreshes, 2);
}

struct ScanKeyCase {
  int scanMode;
  EditStatus status;
};

TEST(SetSetting, TheScanFunctionNeedsScanningOn) {
  const std::vector<ScanKeyCase> cases = {
      {0, EditStatus::Refused},
      {7, EditStatus::Refused},  // a mode the scan list shows as off
      {1, EditStatus::Applied},
  };
  for (const auto& c : cases) {
    for (const char* key : {"keys.pf1.long", "keys.pf1.short", "keys.pf2.long", "keys.pf2.short"}) {
      Bench fresh;
      fresh.doc().scan.bytes[ScanBlock::kMode] = static_cast<std::uint8_t>(c.scanMode);
      fresh.remember();
      const std::string what = std::string(key) + " with scan mode " + std::to_string(c.scanMode);
      const auto outcome = fresh.set(key, 8);
      if (c.status == EditStatus::Refused) {
        fresh.expectRefusedAsItWas(outcome, what);
      } else {
        EXPECT_EQ(outcome.status, c.status) << what;
        EXPECT_EQ(fresh.stored(key), 8) << what;
      }
    }
  }
}

struct RevertCase {
  int revert;
  int fromMode;
  int toMode;
  int revertAfter;
};

// The revert choice must be one the new priority mode offers; otherwise it
// becomes the first choice.
TEST(SetSetting, ThePriorityModeKeepsTheRevertChoiceItOffers) {
  const std::vector<RevertCase> cases = {
      {2, 1, 2, 0}, {4, 1, 2, 4}, {6, 3, 1, 6}, {7, 3, 1, 0},
      {3, 3, 0, 0}, {5, 0, 3, 5}, {9, 0, 3, 0},
  };
  for (const auto& c : cases) {
    Bench fresh;
    fresh.doc().scan.bytes[ScanBlock::kPriorityMode] = static_cast<std::uint8_t>(c.fromMode);
    fresh.doc().scan.bytes[ScanBlock::kRevert] = static_cast<std::uint8_t>(c.revert);
    EXPECT_EQ(fresh.set("scan.priority-mode", c.toMode).status, EditStatus::Applied);
    EXPECT_EQ(fresh.stored("scan.revert"), c.revertAfter)
        << "revert " << c.revert << ", mode " << c.fromMode << " to " << c.toMode;
  }
}

struct GroupCase {
  const char* group;
  const char* position;
  int groupBefore;
  int positionBefore;
  int newGroup;
  int positionAfter;
};

// The position follows its group: the same position when the new group has
// it, else the group's first channel.
TEST(SetSetting, ThePositionFollowsItsGroup) {
  const std::vector<GroupCase> cases = {
      {"scan.priority1.group", "scan.priority1.position", 1, 3, 3, 3},
      {"scan.priority1.group", "scan.priority1.position", 1, 1, 3, 3},
      {"scan.priority2.group", "scan.priority2.position", 3, 8, 1, 1},
      {"scan.priority2.group", "scan.priority2.position", 3, 3, 1, 3},
      {"alert.channel.group", "alert.channel.position", 1, 3, 3, 3},
      {"alert.channel.group", "alert.channel.position", 3, 8, 1, 1},
  };
  for (const auto& c : cases) {
    Bench fresh;
    fresh.doc().scan.bytes[ScanBlock::kPriorityMode] = 3;
    const std::string what = std::string(c.group) + " (" + std::to_string(c.groupBefore) + ", " +
                             std::to_string(c.positionBefore) + ") to " +
                             std::to_string(c.newGroup);
    fresh.set(c.group, c.groupBefore);
    ASSERT_NE(fresh.set(c.position, c.positionBefore).status, EditStatus::Refused) << what;
    EXPECT_EQ(fresh.set(c.group, c.newGroup).status, EditStatus::Applied) << what;
    EXPECT_EQ(fresh.stored(c.group), c.newGroup) << what;
    EXPECT_EQ(fresh.stored(c.position), c.positionAfter) << what;
  }
}

struct IdTypeCase {
  int typeBefore;
  int memoryBefore;
  int type;
  int memoryAfter;
};

// Identification by DTMF takes a defined memory (the one stored when it is
// defined, else the first); identification without DTMF takes none.
TEST(SetSetting, TheIdentificationMemoryFollowsTheType) {
  const std::vector<IdTypeCase> cases = {
      {0, 0, 1, 2},
      {0, 5, 1, 5},
      {0, 3, 1, 2},
      {1, 5, 0, 0},
  };
  for (const auto& c : cases) {
    Bench fresh;
    fresh.doc().alert.bytes[AlertBlock::kIdType] = static_cast<std::uint8_t>(c.typeBefore);
    fresh.doc().alert.bytes[AlertBlock::kIdMemory] = static_cast<std::uint8_t>(c.memoryBefore);
    EXPECT_EQ(fresh.set("alert.id-type", c.type).status, EditStatus::Applied);
    EXPECT_EQ(fresh.stored("alert.id-code"), c.memoryAfter)
        << "type " << c.typeBefore << " to " << c.type << " with memory " << c.memoryBefore;
  }
  Bench b;
  b.doc().alert.bytes[AlertBlock::kIdType] = 1;
  b.doc().alert.bytes[AlertBlock::kIdMemory] = 2;
  EXPECT_EQ(b.set("alert.id-code", 5).status, EditStatus::Applied);
  b.remember();
  b.expectRefusedAsItWas(b.set("alert.id-code", 3), "a memory not defined");
  b.expectRefusedAsItWas(b.set("alert.id-code", 0), "no memory while one is defined");
}

TEST(SetSetting, AMemoryChangeRebuildsTheMemoryLists) {
  Bench b;
  b.doc().alert.bytes[AlertBlock::kIdType] = 1;
  b.doc().alert.bytes[AlertBlock::kIdMemory] = 5;

  EXPECT_EQ(b.set("dtmf.memory.3", "123").status, EditStatus::Applied);
  EXPECT_EQ(b.observer.memoryListRefreshes, 1);
  EXPECT_EQ(b.stored("alert.id-code"), 5);

  // Clearing the alert's memory moves it to the first memory still defined.
  EXPECT_EQ(b.set("dtmf.memory.5", "").status, EditStatus::Applied);
  EXPECT_EQ(b.doc().dtmf.memories[4].length, 0);
  EXPECT_EQ(b.observer.memoryListRefreshes, 2);
  EXPECT_EQ(b.stored("alert.id-code"), 2);

  EXPECT_EQ(b.set("dtmf.memory.3", "123").status, EditStatus::Unchanged);
  EXPECT_EQ(b.set("dtmf.bot", "99").status, EditStatus::Applied);
  EXPECT_EQ(b.observer.memoryListRefreshes, 2) << "neither an unchanged memory nor BOT";

  b.set("dtmf.memory.2", "");
  EXPECT_EQ(b.stored("alert.id-code"), 3);
  b.set("dtmf.memory.3", "");
  EXPECT_EQ(b.stored("alert.id-code"), 0) << "no memory left";
  EXPECT_EQ(b.observer.memoryListRefreshes, 4);
}

// ---- Text fields -----------------------------------------------------------

// The stored form of a text field, for comparison: a length where the record
// has one, then the raw text.
std::string storedForm(const DocumentRecord& d, const SettingField& f) {
  const std::size_t i = f.slot.index;
  switch (f.slot.block) {
    case SettingBlock::DtmfCode:
      return std::to_string(d.dtmf.specialCodes[i].length) + "|" +
             d.dtmf.specialCodes[i].digits.raw();
    case SettingBlock::DtmfMemory:
      return std::to_string(d.dtmf.memories[i].length) + "|" + d.dtmf.memories[i].digits.raw();
    case SettingBlock::DtmfId:
      return std::to_string(d.dtmf.idLength) + "|" + d.dtmf.idCode.raw();
    case SettingBlock::Message:
      return d.message.lines[i].raw();
    case SettingBlock::TestFirst:
      return d.testFrequencies[i].first.raw();
    case SettingBlock::TestSecond:
      return d.testFrequencies[i].second.raw();
    case SettingBlock::FmPreset:
      return std::to_string(d.fmPresets[i].empty) + "|" + d.fmPresets[i].frequency.raw();
    default:
      return {};
  }
}

struct TextCase {
  const char* name;
  std::string text;
  EditStatus status;
  std::string storedAfter;  // for a refusal: what was there before
  std::string shownAfter;
  int warnings = 0;  // out-of-band warnings
};

const std::string kNul(1, '\0');

TEST(SetSetting, TextFieldsStoreWhatTheirBoxesTakeAndRefuseTheRest) {
  const std::vector<TextCase> cases = {
      {"dtmf.bot", "12ab#", EditStatus::Applied, "5|12AB#           ", "12AB#"},
      {"dtmf.bot", "1*2#", EditStatus::Applied, "4|1*2#            ", "1*2#"},
      {"dtmf.bot", "12  ", EditStatus::Applied, "2|12              ", "12"},
      {"dtmf.bot", "", EditStatus::Unchanged, "0|                ", ""},
      {"dtmf.bot", "0123456789ABCD*#", EditStatus::Applied, "16|0123456789ABCD*#",
       "0123456789ABCD*#"},
      {"dtmf.eot", "12E", EditStatus::Refused, "0|                ", ""},
      {"dtmf.stun", "1 2", EditStatus::Refused, "0|                ", ""},
      {"dtmf.kill", "0123456789ABCD*#1", EditStatus::Refused, "0|                ", ""},
      {"dtmf.memory.16", "*#0", EditStatus::Applied, "3|*#0             ", "*#0"},
      {"dtmf.memory.2", "", EditStatus::Applied, "0|                ", ""},
      {"dtmf.id", "1234", EditStatus::Applied, "4|1234      ", "1234"},
      {"dtmf.id", "0123456789", EditStatus::Applied, "10|0123456789", "0123456789"},
      {"dtmf.id", "000", EditStatus::Unchanged, "3|000       ", "000"},
      {"dtmf.id", "12", EditStatus::Refused, "3|000       ", "000"},
      {"dtmf.id", "", EditStatus::Refused, "3|000       ", "000"},
      {"dtmf.id", "12345678901", EditStatus::Refused, "3|000       ", "000"},
      {"dtmf.id", "12A", EditStatus::Refused, "3|000       ", "000"},
      {"message.1", "HELLO", EditStatus::Applied, "HELLO" + kNul + "          ", "HELLO"},
      {"message.2", "HELLO  ", EditStatus::Applied, "HELLO  " + kNul + "        ", "HELLO"},
      {"message.3", "0123456789ABCDEF", EditStatus::Applied, "0123456789ABCDEF",
       "0123456789ABCDEF"},
      {"message.4", "a, b & c!", EditStatus::Applied, "a, b & c!" + kNul + "      ", "a, b & c!"},
      {"message.1", "0123456789ABCDEFG", EditStatus::Refused, kNul + "               ", ""},
      // A line is stored byte for byte: what a data file or a radio brought
      // comes back unchanged; only the NUL that ends a line cannot be inside it.
      {"message.1", "caf\xE9", EditStatus::Applied, "caf\xE9" + kNul + "           ", "caf\xE9"},
      {"message.2", "\x01\x7F\x80\xFF", EditStatus::Applied,
       "\x01\x7F\x80\xFF" + kNul + "           ", "\x01\x7F\x80\xFF"},
      {"message.1", "A" + kNul + "B", EditStatus::Refused, kNul + "               ", ""},
      {"test.3.first", "435.1", EditStatus::Applied, "43510000", "435.10000"},
      {"test.3.second", "446.00625", EditStatus::Applied, "44600625", "446.00625"},
      {"test.1.first", "435.10000", EditStatus::Unchanged, "43510000", "435.10000"},
      {"test.2.first", "520", EditStatus::Applied, "48000000", "480.00000", 1},
      {"test.2.second", ".", EditStatus::Applied, "40000000", "400.00000", 1},
      {"test.1.second", "", EditStatus::Applied, kNul + "       ", ""},
      {"test.4.first", "435,1", EditStatus::Refused, kNul + "       ", ""},
      {"test.4.first", "-435", EditStatus::Refused, kNul + "       ", ""},
      {"test.4.first", "435.125000", EditStatus::Refused, kNul + "       ", ""},
      {"fm.1", "87.53", EditStatus::Applied, "0|08755000", "87.55000"},
      {"fm.2", "87.52", EditStatus::Applied, "0|08750000", "87.50000"},
      {"fm.3", "60", EditStatus::Applied, "0|07600000", "76.00000"},
      {"fm.4", "120", EditStatus::Applied, "0|10800000", "108.00000"},
      {"fm.5", ".", EditStatus::Applied, "0|07600000", "76.00000"},
      {"fm.6", "", EditStatus::Unchanged, "1|        ", ""},
      {"fm.7", "87.5x", EditStatus::Refused, "1|        ", ""},
      {"fm.8", "87.5250", EditStatus::Refused, "1|        ", ""},
  };
  for (const auto& c : cases) {
    Bench fresh;
    fresh.remember();
    const std::string what = std::string(c.name) + " \"" + c.text + "\"";
    const auto outcome = fresh.set(c.name, std::string_view(c.text));
    if (c.status == EditStatus::Refused) {
      fresh.expectRefusedAsItWas(outcome, what);
    } else {
      EXPECT_EQ(outcome.status, c.status) << what;
    }
    EXPECT_EQ(storedForm(fresh.doc(), field(c.name)), c.storedAfter) << what;
    EXPECT_EQ(fresh.shown(c.name), c.shownAfter) << what;
    EXPECT_EQ(fresh.prompter.outOfBandWarnings(), c.warnings) << what;
  }
}

struct ShownCase {
  const char* description;
  std::function<void(DocumentRecord&)> change;
  const char* name;
  std::string shown;
};

TEST(SetSetting, WhatATextBoxShowsOfItsStoredField) {
  const std::vector<ShownCase> cases = {
      {"a code shows its length of characters",
       [](DocumentRecord& d) {
         d.dtmf.specialCodes[0] = {3, FixedText<16>("12345")};
       },
       "dtmf.bot", "123"},
      {"a code longer than 16 shows empty",
       [](DocumentRecord& d) {
         d.dtmf.specialCodes[1] = {20, FixedText<16>("12345")};
       },
       "dtmf.eot", ""},
      {"a negative length shows empty",
       [](DocumentRecord& d) {
         d.dtmf.memories[0] = {-1, FixedText<16>("12345")};
       },
       "dtmf.memory.1", ""},
      {"an ID length below 3 shows three",
       [](DocumentRecord& d) {
         d.dtmf.idCode.assign("98765");
         d.dtmf.idLength = 2;
       },
       "dtmf.id", "987"},
      {"an ID length above 10 shows three",
       [](DocumentRecord& d) {
         d.dtmf.idCode.assign("98765");
         d.dtmf.idLength = 11;
       },
       "dtmf.id", "987"},
      {"an ID shows its length of digits",
       [](DocumentRecord& d) {
         d.dtmf.idCode.assign("98765");
         d.dtmf.idLength = 4;
       },
       "dtmf.id", "9876"},
      {"a line ends at its NUL, without the blanks before it",
       [](DocumentRecord& d) { d.message.lines[0].assign("HELLO  " + kNul + "XY"); }, "message.1",
       "HELLO"},
      {"a line of blanks shows empty",
       [](DocumentRecord& d) { d.message.lines[1].assign("                "); }, "message.2", ""},
      {"a test frequency FFFFFFFF shows blank",
       [](DocumentRecord& d) { d.testFrequencies[4].second.assign("FFFFFFFF"); }, "test.5.second",
       ""},
      {"an unused FM preset shows blank whatever it holds",
       [](DocumentRecord& d) { d.fmPresets[0].frequency.assign("08750000"); }, "fm.1", ""},
      {"a used FM preset shows MHz",
       [](DocumentRecord& d) {
         d.fmPresets[1] = {0, FixedText<8>("08750000")};
       },
       "fm.2", "87.50000"},
  };
  for (const auto& c : cases) {
    Bench fresh;
    c.change(fresh.doc());
    EXPECT_EQ(fresh.shown(c.name), c.shown) << c.description;
  }
  EXPECT_EQ(Bench().shown("options.squelch"), "") << "a list has no text";
}

TEST(SettingTextRules, TheBoxesTakeTheirCharacters) {
  struct Case {
    const char* name;
    char typed;
    std::optional<char> taken;
  };
  const std::vector<Case> cases = {
      {"dtmf.bot", '7', '7'},
      {"dtmf.bot", 'a', 'A'},
      {"dtmf.memory.1", 'd', 'D'},
      {"dtmf.bot", '*', '*'},
      {"dtmf.bot", '#', '#'},
      {"dtmf.bot", 'e', std::nullopt},
      {"dtmf.bot", 'E', std::nullopt},
      {"dtmf.bot", ' ', std::nullopt},
      {"dtmf.id", '5', '5'},
      {"dtmf.id", 'A', std::nullopt},
      {"message.1", ' ', ' '},
      {"message.1", '~', '~'},
      {"message.1", 'z', 'z'},
      {"message.1", '\x80', std::nullopt},
      {"message.1", '\t', std::nullopt},
      {"test.1.first", '.', '.'},
      {"test.1.first", '-', std::nullopt},
      {"fm.1", '9', '9'},
      {"fm.1", 'e', std::nullopt},
      {"options.squelch", '1', std::nullopt},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(AcceptedCharacter(field(c.name), c.typed), c.taken)
        << c.name << " '" << c.typed << "'";
  }
}

// What a message line's box shows for a stored byte: one character each, the
// byte found again from it, and nothing a key types standing for a byte no
// key types.
TEST(SettingTextRules, EveryStoredByteOfALineShowsAsACharacterOfItsOwn) {
  const std::vector<std::pair<std::uint8_t, char32_t>> examples = {
      {'A', U'A'},       {' ', U' '},       {'~', U'~'},       {0xE9, U'\u00E9'}, {0xA0, U'\u00A0'},
      {0xFF, U'\u00FF'}, {0x80, U'€'},      {0x92, U'’'},      {0x9F, U'\u0178'}, {0x01, U'\u2401'},
      {0x1F, U'\u241F'}, {0x7F, U'\u2421'}, {0x81, U'\uF781'}, {0x9D, U'\uF79D'},
  };
  for (const auto& [byte, shown] : examples) {
    EXPECT_EQ(ShownCharacterOfByte(byte), shown) << int(byte);
  }
  std::set<char32_t> shownSoFar;
  for (int b = 0; b < 256; ++b) {
    const auto byte = static_cast<std::uint8_t>(b);
    const char32_t shown = ShownCharacterOfByte(byte);
    EXPECT_TRUE(shownSoFar.insert(shown).second) << "two bytes show as one character: " << b;
    EXPECT_EQ(ByteOfShownCharacter(shown), std::optional<std::uint8_t>(byte)) << b;
    const bool typeable =
        AcceptedCharacter(field("message.1"), static_cast<char>(byte)).has_value();
    EXPECT_EQ(shown < 0x7F && shown >= 0x20, typeable) << b;
  }
  for (const char32_t stranger : {U'\u4E2D', U'\uFFFD', U'\u0081', U'\u2422'}) {
    EXPECT_EQ(ByteOfShownCharacter(stranger), std::nullopt) << std::uint32_t(stranger);
  }
}

TEST(SettingTextRules, IdCodeOnLeavingTheBox) {
  const std::vector<std::pair<std::string, std::string>> cases = {
      {"12", "000"},          {"", "000"},     {"123", "123"}, {"0123456789", "0123456789"},
      {"12345678901", "000"}, {"12a4", "000"},
  };
  for (const auto& [text, kept] : cases) EXPECT_EQ(IdCodeOnLeaving(text), kept) << text;
}

TEST(SettingTextRules, FmPresetsOnTheBroadcastBandAndRaster) {
  const std::vector<std::pair<double, double>> steps = {
      {87.52, 87.50}, {87.53, 87.55}, {87.55, 87.55}, {87.575, 87.60}, {107.99, 108.00},
  };
  for (const auto& [mhz, stepped] : steps) EXPECT_DOUBLE_EQ(StepRadio(mhz), stepped) << mhz;

  const std::vector<std::vector<std::string>> cases = {
      // typed, shown form, stored form
      {"87.53", "087.55000", "08755000"},
      {"60", "076.00000", "07600000"},
      {"120", "108.00000", "10800000"},
      {".", "076.00000", "07600000"},
      {"", "", ""},
      {"087.55000", "087.55000", "08755000"},
      {"87", "087.00000", "08700000"},
      {"108", "108.00000", "10800000"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(CheckRadioFre(c[0]), c[1]) << c[0];
    EXPECT_EQ(GetSaveRadioFreData(c[0]), c[2]) << c[0];
  }
}

// ---- Opening a window -------------------------------------------------------

struct OpeningCase {
  const char* description;
  std::function<void(DocumentRecord&)> change;
  std::function<std::span<const SettingField>()> window;
  std::function<void(const DocumentRecord&)> check;
};

TEST(SetSetting, OpeningAWindowStoresWhatItShows) {
  const std::vector<OpeningCase> cases = {
      {"scan without channels: no priority channels",
       [](DocumentRecord& d) {
         d.channelCount = 0;
         d.scan.bytes[ScanBlock::kFirstChannelGroup] = 5;
         d.scan.bytes[ScanBlock::kSecondChannelGroup] = 2;
         d.scan.bytes[ScanBlock::kSecondChannelGroup + 1] = 4;
       },
       ScanFields,
       [](const DocumentRecord& d) {
         EXPECT_EQ(d.scan.bytes[ScanBlock::kFirstChannelGroup], 0);
         EXPECT_EQ(d.scan.bytes[ScanBlock::kFirstChannelGroup + 1], 0);
         EXPECT_EQ(d.scan.bytes[ScanBlock::kSecondChannelGroup], 0);
         EXPECT_EQ(d.scan.bytes[ScanBlock::kSecondChannelGroup + 1], 0);
       }},
      {"a priority group without channels becomes the first group in use",
       [](DocumentRecord& d) {
         d.scan.bytes[ScanBlock::kFirstChannelGroup] = 5;
         d.scan.bytes[ScanBlock::kFirstChannelGroup + 1] = 8;
         d.scan.bytes[ScanBlock::kEntryTone] = 3;
         d.scan.bytes[ScanBlock::kRevert] = 2;  // not offered, yet only shown
       },
       ScanFields,
       [](const DocumentRecord& d) {
         EXPECT_EQ(d.scan.bytes[ScanBlock::kFirstChannelGroup], 1);
         EXPECT_EQ(d.scan.bytes[ScanBlock::kFirstChannelGroup + 1], 1);
         EXPECT_EQ(d.scan.bytes[ScanBlock::kEntryTone], 0);
         EXPECT_EQ(d.scan.bytes[ScanBlock::kRevert], 2);
       }},
      {"the alert's type, channel selection and group are stored as shown",
       [](DocumentRecord& d) {
         d.alert.bytes[AlertBlock::kAlarmType] = 9;
         d.alert.bytes[AlertBlock::kChannelSelect] = 4;
         d.alert.bytes[AlertBlock::kChannelGroup] = 7;
         d.alert.bytes[AlertBlock::kChannelPosition] = 8;
         d.alert.bytes[AlertBlock::kCycle] = 200;
       },
       AlertFields,
       [](const DocumentRecord& d) {
         EXPECT_EQ(d.alert.bytes[AlertBlock::kAlarmType], 0);
         EXPECT_EQ(d.alert.bytes[AlertBlock::kChannelSelect], 0);
         EXPECT_EQ(d.alert.bytes[AlertBlock::kChannelGroup], 1);
         EXPECT_EQ(d.alert.bytes[AlertBlock::kChannelPosition], 1);
         EXPECT_EQ(d.alert.bytes[AlertBlock::kCycle], 200);
       }},
      {"a code of a length beyond 16 is stored empty",
       [](DocumentRecord& d) {
         d.dtmf.specialCodes[0] = {20, FixedText<16>("1234")};
         d.dtmf.specialCodes[1] = {2, FixedText<16>("1234")};
         d.dtmf.idLength = 12;
       },
       DtmfFields,
       [](const DocumentRecord& d) {
         EXPECT_EQ(d.dtmf.specialCodes[0].length, 0);
         EXPECT_EQ(d.dtmf.specialCodes[0].digits.raw(), std::string(16, ' '));
         EXPECT_EQ(d.dtmf.specialCodes[1].length, 2);
         EXPECT_EQ(d.dtmf.specialCodes[1].digits.raw(), "12" + std::string(14, ' '));
         EXPECT_EQ(d.dtmf.idLength, 12) << "the ID is stored only when the box is left";
       }},
      {"message lines are stored again without the blanks before their end",
       [](DocumentRecord& d) {
         d.message.lines[0].assign("HELLO  " + kNul);
         d.message.lines[1].assign("");
       },
       MessageFields,
       [](const DocumentRecord& d) {
         EXPECT_EQ(d.message.lines[0].raw(), "HELLO" + kNul + std::string(10, ' '));
         EXPECT_EQ(d.message.lines[1].raw(), std::string(16, ' ')) << "an empty box is not stored";
       }},
  };
  for (const auto& c : cases) {
    Bench fresh;
    c.change(fresh.doc());
    StoreShownOnOpening(fresh.state, fresh.effects, c.window());
    c.check(fresh.doc());
    EXPECT_TRUE(fresh.prompter.asked.empty()) << c.description;
  }
}

TEST(SetSetting, OpeningAWindowThatShowsEveryValueExactlyChangesNothing) {
  Bench b;
  b.doc().message.lines[0].assign("HELLO" + kNul);
  b.doc().dtmf.specialCodes[0] = testing::MakeDtmfCode("12*#");
  const auto before = b.doc().toBytes();
  const auto sideBefore = b.state.workingSide.toBytes();
  for (const auto window :
       {OptionalFeatureFields(), DtmfFields(), ScanFields(), AlertFields(), KeyFields(),
        MessageFields(), TestFrequencyFields(), FmPresetFields()}) {
    StoreShownOnOpening(b.state, b.effects, window);
  }
  EXPECT_EQ(b.doc().toBytes(), before);
  EXPECT_EQ(b.state.workingSide.toBytes(), sideBefore);
  EXPECT_EQ(b.observer.memoryListRefreshes, 0);
  EXPECT_TRUE(b.prompter.asked.empty());
}

}  // namespace
}  // namespace cps
