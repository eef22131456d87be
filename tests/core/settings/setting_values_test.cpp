// Settings as words: typed values read against each block's lists and boxes,
// what the controls show, that what they show is taken back unchanged, and the
// help that says what each field takes.
#include "core/settings/setting_values.hpp"

#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <string>
#include <vector>

#include "../document/test_support.hpp"
#include "core/document/codec.hpp"
#include "core/document/defaults.hpp"
#include "core/run_state.hpp"
#include "settings_test_support.hpp"

namespace cps {
namespace {

using testing::MakeChannel;
using testing::RecordingObserver;
using testing::ScriptedPrompter;
using testing::SetChannels;

const SettingField& field(std::string_view name) { return testing::FieldNamed(name); }

// The English words the cases use; any other text is "T" and its number.
std::string textOf(int id) {
  static const std::map<int, std::string> kWords = {
      {16040, "Off"},
      {16042, "Chinese"},
      {16043, "English"},
      {16046, "Level 1"},
      {16047, "Level 2"},
      {16048, "Level 3"},
      {18040, "Off"},
      {18043, "Off"},
      {18044, "Call alert"},
      {18045, "Auto answer"},
      {26030, "Off"},
      {26031, "On"},
      {26002, "Priority CH"},
      {26032, "Selected"},
      {26033, "Talkback"},
      {26034, "Last called"},
      {26035, "Last used"},
      {27030, "Local alarm"},
      {27036, "Continuous"},
      {27037, "None"},
      {27038, "DTMF"},
      {25040, "None"},
      {25044, "Emergency alarm"},
      {25048, "Scan"},
  };
  const auto word = kWords.find(id);
  return word != kWords.end() ? word->second : "T" + std::to_string(id);
}

// A new document with channels 1 and 3 (group 1) and 35 and 40 (group 3,
// positions 3 and 8), DTMF memories 2 and 5 defined, identification by DTMF,
// scanning on with both priority channels: every list drawn from the document
// has items.
struct Bench {
  explicit Bench(bool populated = true) {
    ApplyDocumentDefaults(state, Today{"2024-01-01", 1});
    if (!populated) return;
    SetChannels(doc(), {MakeChannel(1, "43500000"), MakeChannel(3, "43510000"),
                        MakeChannel(35, "43700000"), MakeChannel(40, "43600000")});
    doc().dtmf.memories[1] = testing::MakeDtmfCode("12");
    doc().dtmf.memories[4] = testing::MakeDtmfCode("555");
    doc().alert.bytes[AlertBlock::kIdType] = 1;
    doc().alert.bytes[AlertBlock::kIdMemory] = 2;
    doc().scan.bytes[ScanBlock::kMode] = 1;
    doc().scan.bytes[ScanBlock::kPriorityMode] = 3;
    doc().scan.bytes[ScanBlock::kFirstChannelGroup] = 1;
    doc().scan.bytes[ScanBlock::kFirstChannelGroup + 1] = 1;
    doc().scan.bytes[ScanBlock::kSecondChannelGroup] = 3;
    doc().scan.bytes[ScanBlock::kSecondChannelGroup + 1] = 8;
    doc().alert.bytes[AlertBlock::kChannelGroup] = 1;
    doc().alert.bytes[AlertBlock::kChannelPosition] = 1;
    doc().fmPresets[0].empty = 0;
    doc().fmPresets[0].frequency.assign("10800000");
    doc().message.lines[1].assign(std::string("HI THERE", 8) + '\0');
    doc().dtmf.specialCodes[DtmfBlock::kKill] = testing::MakeDtmfCode("A*#1");
  }

  DocumentRecord& doc() { return state.workingDocument; }
  SettingValue parse(std::string_view name, std::string_view value) {
    return ParseSettingValue(doc(), field(name), value, TextOf(textOf));
  }
  EditOutcome set(std::string_view name, std::string_view value) {
    return SetSettingFromText(state, effects, field(name), value, TextOf(textOf));
  }
  std::string shown(const SettingField& f) {
    return SettingValueText(doc(), state.workingSide, f, CodecContext{state.model.limits, prompter},
                            TextOf(textOf));
  }
  std::string shown(std::string_view name) { return shown(field(name)); }

  RunState state;
  ScriptedPrompter prompter;
  RecordingObserver observer;
  Effects effects{prompter, observer};
};

// What a value is read as.
struct Reading {
  enum Kind { Stored, Text, Refused } kind;
  int stored = 0;
  std::string text;
};
Reading stored(int n) { return {Reading::Stored, n, {}}; }
Reading text(std::string t) { return {Reading::Text, 0, std::move(t)}; }
const Reading kRefused{Reading::Refused, 0, {}};

struct ParseCase {
  const char* name;
  std::string value;
  Reading reading;
};

TEST(ParseSettingValue, EveryBlockTakesItsItemsTheirWordsNumbersAndTexts) {
  const std::vector<ParseCase> cases = {
      // Optional features: item texts in any case; the number of a word.
      {"options.tot", "240", stored(240)},
      {"options.tot", "OFF", stored(0)},
      {"options.tot", "0", stored(0)},
      {"options.tot", "15.0", stored(15)},
      {"options.tot", "20", kRefused},
      {"options.tot", "", kRefused},
      {"options.voice-prompt", "english", stored(2)},
      {"options.voice-prompt", "2", stored(2)},
      {"options.voice-prompt", "0", kRefused},
      {"options.battery-save", "level 2", stored(2)},
      {"options.battery-save", "Level2", kRefused},
      // Half seconds: "3" is the item "3.0", never the stored 3 (2.0 s).
      {"options.vox-delay", "3", stored(5)},
      {"options.vox-delay", "3.0", stored(5)},
      {"options.vox-delay", "0.5", stored(0)},
      {"options.vox-delay", "0", kRefused},
      {"options.vox-delay", "6", kRefused},
      {"options.vox", "1", stored(1)},
      {"options.vox", "0", stored(0)},
      {"options.vox", "2", kRefused},
      {"options.vox", "on", kRefused},
      {"options.wired-clone", "1", stored(1)},
      // DTMF timings in milliseconds: the stored fiftieths are no value shown.
      {"dtmf.rate", "150", stored(3)},
      {"dtmf.rate", "3", kRefused},
      {"dtmf.rate", "75", kRefused},
      {"dtmf.first-digit-delay", "2500", stored(50)},
      {"dtmf.first-digit-delay", "50", kRefused},
      {"dtmf.star-hash-time", "500", stored(10)},
      {"dtmf.star-hash-time", "10", kRefused},
      {"dtmf.d-key", "16s", stored(16)},
      {"dtmf.d-key", "16S", stored(16)},
      {"dtmf.d-key", "5", stored(5)},
      {"dtmf.d-key", "off", stored(0)},
      {"dtmf.d-key", "17", kRefused},
      {"dtmf.group-code", "#", stored(6)},
      {"dtmf.group-code", "a", stored(1)},
      {"dtmf.group-code", "1", stored(1)},
      {"dtmf.group-code", "7", kRefused},
      {"dtmf.call-alert", "call alert", stored(1)},
      // Codes, the ID code and the memories.
      {"dtmf.bot", "12*#", text("12*#")},
      {"dtmf.bot", "12ab", text("12ab")},
      {"dtmf.bot", "", text("")},
      {"dtmf.bot", "12E", kRefused},
      {"dtmf.bot", std::string(17, '1'), kRefused},
      {"dtmf.id", "12345", text("12345")},
      {"dtmf.id", "12", kRefused},
      {"dtmf.id", "12a", kRefused},
      {"dtmf.memory.3", "555", text("555")},
      {"dtmf.memory.16", "9*", text("9*")},
      // Scan, with lists drawn from the document.
      {"scan.mode", "On", stored(1)},
      {"scan.mode", "1", stored(1)},
      {"scan.mode", "2", kRefused},
      {"scan.priority-mode", "priority ch1 + priority ch2", stored(3)},
      {"scan.priority-mode", "3", stored(3)},
      {"scan.priority1.group", "3", stored(3)},
      {"scan.priority1.group", "2", kRefused},
      {"scan.priority1.position", "3", stored(3)},
      {"scan.priority1.position", "8", kRefused},
      {"scan.priority2.position", "8", stored(8)},
      {"scan.revert", "Priority CH2 + Talkback", stored(7)},
      {"scan.revert", "7", stored(7)},
      {"scan.look-back-a", "5", stored(50)},
      {"scan.look-back-a", "0.5", stored(5)},
      {"scan.look-back-a", "6", kRefused},
      // Emergency alert.
      {"alert.mode", "off", stored(0)},
      {"alert.cycle", "continuous", stored(0)},
      {"alert.cycle", "0", stored(0)},
      {"alert.cycle", "255", stored(255)},
      {"alert.cycle", "256", kRefused},
      {"alert.alarm-time", "1", stored(1)},
      {"alert.alarm-time", "0", kRefused},
      {"alert.id-code", "M5", stored(5)},
      {"alert.id-code", "m2", stored(2)},
      {"alert.id-code", "5", stored(5)},
      {"alert.id-code", "3", kRefused},  // memory 3 is not defined
      {"alert.id-code", "", kRefused},
      // Keys: the function's name or its code, as each press offers it.
      {"keys.pf1.short", "scan", stored(8)},
      {"keys.pf1.short", "8", stored(8)},
      {"keys.pf1.short", "Emergency alarm", kRefused},
      {"keys.pf1.short", "4", kRefused},
      {"keys.pf1.long", "emergency alarm", stored(4)},
      {"keys.pf2.long", "21", kRefused},
      {"keys.long-press-time", "1.5", stored(15)},
      {"keys.long-press-time", "2", stored(20)},
      {"keys.long-press-time", "15", kRefused},
      // Message lines.
      {"message.1", "HELLO WORLD", text("HELLO WORLD")},
      {"message.4", "", text("")},
      {"message.2", std::string(17, 'A'), kRefused},
      {"message.3", "TAB\tX", kRefused},
      // Test frequencies: what get shows comes back without its trailing zeros.
      {"test.3.first", "435.1", text("435.1")},
      {"test.3.second", "435.10000", text("435.1")},
      {"test.3.first", "435.", text("435")},
      {"test.1.first", "", text("")},
      {"test.1.first", ".0", text("0")},  // brought into the band, never cleared
      {"test.3.first", "abc", kRefused},
      {"test.3.first", "-5", kRefused},
      {"test.3.first", "+435", kRefused},
      {"test.3.first", "1e3", kRefused},
      // FM presets: the broadcast band only, in the six places of the box.
      {"fm.1", "87.53", text("87.53")},
      {"fm.1", "87.55000", text("87.55")},
      {"fm.20", "108", text("108")},
      {"fm.2", "76.00", text("76")},
      {"fm.2", "", text("")},
      {"fm.2", "75.9", kRefused},
      {"fm.2", "108.05", kRefused},
      {"fm.2", "87.5251", kRefused},
  };
  Bench b;
  for (const auto& c : cases) {
    const std::string what = std::string(c.name) + " \"" + c.value + "\"";
    const SettingValue v = b.parse(c.name, c.value);
    switch (c.reading.kind) {
      case Reading::Stored:
        EXPECT_TRUE(v.accepted()) << what << ": " << FailureText(v.refusal, textOf);
        EXPECT_EQ(v.stored, c.reading.stored) << what;
        break;
      case Reading::Text:
        EXPECT_TRUE(v.accepted()) << what << ": " << FailureText(v.refusal, textOf);
        EXPECT_FALSE(v.stored.has_value()) << what;
        EXPECT_EQ(v.text, c.reading.text) << what;
        break;
      case Reading::Refused:
        EXPECT_FALSE(v.accepted()) << what;
        // A text that names the field first.
        EXPECT_NE(v.refusal.textId, 0) << what;
        ASSERT_FALSE(v.refusal.arguments.empty()) << what;
        EXPECT_EQ(v.refusal.arguments.front(), c.name) << what;
        break;
    }
  }
}

// What a refusal says, as a text and its arguments, so that every language
// can say it: the field, the value as given, then what the field takes.
TEST(ParseSettingValue, ARefusalCarriesItsTextTheValueAndWhatTheFieldTakes) {
  struct Case {
    const char* name;
    std::string value;
    int textId;
    std::vector<std::string> more;  // the arguments after the name and the value
    std::vector<Phrase> choices;
  };
  const auto word = [](std::string w) { return Phrase{0, {std::move(w)}}; };
  const std::vector<Case> cases = {
      {"dtmf.rate",
       "75",
       text::kSettingTakesItems,
       {},
       {{text::kSteppedRangePhrase, {"50", "500", "50"}}}},
      {"options.tot",
       "20",
       text::kSettingTakesItems,
       {},
       {word("Off=0"), {text::kSteppedRangePhrase, {"15", "240", "15"}}}},
      {"alert.cycle",
       "256",
       text::kSettingTakesItems,
       {},
       {word("Continuous=0"), {text::kRangePhrase, {"1", "255"}}}},
      {"dtmf.star-hash-time",
       "7",
       text::kSettingTakesItems,
       {},
       {word("0"), word("100"), word("500"), word("1000")}},
      {"options.battery-save",
       "Level2",
       text::kSettingTakesItems,
       {},
       {word("Off=0"), word("\"Level 1\"=1"), word("\"Level 2\"=2"), word("\"Level 3\"=3")}},
      {"dtmf.rate", "=11", text::kSettingNoItemStores, {"11"}, {}},
      {"options.vox", "on", text::kSettingTakesCheck, {}, {}},
      {"message.3", "TAB\tX", text::kSettingPlainAscii, {"\\x09"}, {}},
      {"test.3.first", "abc", text::kSettingTakesFrequency, {}, {}},
      {"test.3.first", "435.123456", text::kSettingTakesFrequencyDecimals, {}, {}},
      {"fm.2", "75.9", text::kSettingTakesFmRange, {"76", "108"}, {}},
      {"fm.2", "87.5251", text::kSettingTakesFmDecimals, {"76", "108"}, {}},
      {"dtmf.bot", "12E", text::kSettingCharacterRefused, {}, {}},
  };
  Bench b;
  for (const auto& c : cases) {
    const std::string what = std::string(c.name) + " \"" + c.value + "\"";
    const SettingValue v = b.parse(c.name, c.value);
    ASSERT_FALSE(v.accepted()) << what;
    EXPECT_EQ(v.refusal.textId, c.textId) << what;
    std::vector<std::string> arguments{c.name};
    // A text box's own rule names the character, not the whole value.
    if (c.textId != text::kSettingCharacterRefused) arguments.push_back(EscapeSettingText(c.value));
    arguments.insert(arguments.end(), c.more.begin(), c.more.end());
    if (c.textId == text::kSettingCharacterRefused) arguments.push_back("E");
    EXPECT_EQ(v.refusal.arguments, arguments) << what;
    ASSERT_EQ(v.refusal.choices.size(), c.choices.size()) << what;
    for (std::size_t i = 0; i < c.choices.size(); ++i) {
      EXPECT_EQ(v.refusal.choices[i].textId, c.choices[i].textId) << what << " choice " << i;
      EXPECT_EQ(v.refusal.choices[i].arguments, c.choices[i].arguments) << what << " choice " << i;
    }
  }
}

TEST(FailureText, PutsArgumentsAndChoicesInTheirPlacesInTheGivenLanguage) {
  const Failure refusal{text::kSettingTakesItems,
                        {},
                        {"options.tot", "20"},
                        {{0, {"Off=0"}}, {text::kSteppedRangePhrase, {"15", "240", "15"}}}};
  const auto language = [](int id) -> std::string {
    switch (id) {
      case text::kSettingTakesItems:
        return "<%1|%2|%3>";
      case text::kSteppedRangePhrase:
        return "%1..%2/%3";
      default:
        return "?";
    }
  };
  EXPECT_EQ(FailureText(refusal, language), "<options.tot|20|Off=0, 15..240/15>");
  EXPECT_EQ(FailureText(Failure{0, "plain detail"}, language), "plain detail");
}

TEST(ParseSettingValue, AnEmptyListTakesOnlyNothingOrZero) {
  Bench b(false);  // identification without DTMF: no memory to choose
  ASSERT_EQ(ItemCount(b.doc(), field("alert.id-code")), 0);
  EXPECT_EQ(b.parse("alert.id-code", "").stored, 0);
  EXPECT_EQ(b.parse("alert.id-code", "0").stored, 0);
  EXPECT_EQ(b.parse("alert.id-code", "M1").refusal.textId, text::kSettingListEmpty);
  EXPECT_FALSE(b.parse("alert.id-code", "1").accepted());
}

// ---- Through SetSetting ------------------------------------------------------

TEST(SetSettingFromText, StoresThroughSetSettingWithItsSideRules) {
  Bench b;
  b.doc().keys.values[KeyBlock::kPf2Long] = 8;
  EXPECT_EQ(b.set("scan.mode", "off").status, EditStatus::Applied);
  EXPECT_EQ(b.doc().keys.values[KeyBlock::kPf2Long], 0) << "scanning off takes the scan key";

  const auto before = b.doc().toBytes();
  const auto refused = b.set("keys.pf1.short", "Scan");
  EXPECT_EQ(refused.status, EditStatus::Refused);
  EXPECT_EQ(refused.failure.textId, text::kSettingScanNeedsScanMode);
  EXPECT_EQ(b.doc().toBytes(), before);
  const auto notOffered = b.set("dtmf.rate", "75");
  EXPECT_EQ(notOffered.status, EditStatus::Refused);
  EXPECT_EQ(b.doc().toBytes(), before);

  EXPECT_EQ(b.set("fm.1", "87.53").status, EditStatus::Applied);
  EXPECT_EQ(b.doc().fmPresets[0].frequency.raw(), "08755000") << "on the 50 kHz raster";
  EXPECT_EQ(b.doc().fmPresets[0].empty, 0);
  EXPECT_EQ(b.set("test.3.first", "435.10000").status, EditStatus::Applied);
  EXPECT_EQ(b.doc().testFrequencies[2].first.raw(), "43510000");
  EXPECT_EQ(b.set("dtmf.eot", "a1").status, EditStatus::Applied);
  EXPECT_EQ(b.shown("dtmf.eot"), "A1");
  EXPECT_EQ(b.set("alert.mode", "Off").status, EditStatus::Applied);
  EXPECT_EQ(b.state.workingSide.alarmMode, 0) << "the alarm mode lives in the side file";
  // A memory removed from under the identification list moves it on.
  EXPECT_EQ(b.set("dtmf.memory.2", "").status, EditStatus::Applied);
  EXPECT_EQ(b.shown("alert.id-code"), "M5");
}

// ---- What the controls show ----------------------------------------------------

struct ShownCase {
  const char* name;
  std::function<void(DocumentRecord&, SideFileRecord&)> store;
  const char* shown;
};

TEST(SettingValueText, PrintsWhatIsStored) {
  using D = DocumentRecord;
  using S = SideFileRecord;
  const std::vector<ShownCase> cases = {
      {"options.tot",
       [](D& d, S&) { d.optionalFeatures.values[OptionalFeaturesBlock::kTot] = 240; }, "240"},
      // Numbers no item names: the number itself, which set takes back.
      {"options.tot", [](D& d, S&) { d.optionalFeatures.values[OptionalFeaturesBlock::kTot] = 20; },
       "=20"},
      {"options.tot",
       [](D& d, S&) { d.optionalFeatures.values[OptionalFeaturesBlock::kTot] = 900; }, "=900"},
      {"options.vox", [](D& d, S&) { d.optionalFeatures.values[OptionalFeaturesBlock::kVox] = 2; },
       "=2"},
      {"dtmf.rate", [](D& d, S&) { d.dtmf.settings[DtmfBlock::kRate] = 11; }, "=11"},
      {"dtmf.rate", [](D& d, S&) { d.dtmf.settings[DtmfBlock::kRate] = 3; }, "150"},
      {"scan.priority-mode", [](D&, S&) {}, "Priority CH1 + Priority CH2"},
      {"alert.id-code", [](D& d, S&) { d.alert.bytes[AlertBlock::kIdMemory] = 5; }, "M5"},
      {"alert.id-code",
       [](D& d, S&) {
         d.alert.bytes[AlertBlock::kIdType] = 0;
         d.alert.bytes[AlertBlock::kIdMemory] = 0;
       },
       ""},
      {"alert.id-code", [](D& d, S&) { d.alert.bytes[AlertBlock::kIdType] = 0; }, "=2"},
      {"alert.mode", [](D&, S& s) { s.alarmMode = 0; }, "Off"},
      {"keys.pf1.short", [](D& d, S&) { d.keys.values[KeyBlock::kPf1Short] = 8; }, "Scan"},
      {"message.1", [](D& d, S&) { d.message.lines[0].assign("HI THERE  "); }, "HI THERE"},
      {"message.1", [](D& d, S&) { d.message.lines[0].assign("CAF\xC9 A\\B\x01"); },
       "CAF\\xC9 A\\\\B\\x01"},
      {"dtmf.bot",
       [](D& d, S&) { d.dtmf.specialCodes[DtmfBlock::kBot] = testing::MakeDtmfCode("12*#"); },
       "12*#"},
      {"fm.1",
       [](D& d, S&) {
         d.fmPresets[0].empty = 0;
         d.fmPresets[0].frequency.assign("08755000");
       },
       "87.55000"},
      {"fm.1", [](D& d, S&) { d.fmPresets[0].empty = 1; }, ""},
  };
  for (const auto& c : cases) {
    Bench b;
    c.store(b.doc(), b.state.workingSide);
    EXPECT_EQ(b.shown(c.name), c.shown) << c.name;
  }
}

// What is printed for a field, given back, changes no byte: in a new document
// (values no item names), in one whose every document-drawn list has items, and
// in one holding what no window writes (the scan key with scanning off, a line
// with bytes above 127, a test frequency outside the band, a check box at 2).
TEST(SettingValueText, WhatIsPrintedIsTakenBackUnchanged) {
  struct Case {
    const char* what;
    bool populated;
    std::function<void(DocumentRecord&, SideFileRecord&)> store;
  };
  const std::vector<Case> cases = {
      {"new", false, [](DocumentRecord&, SideFileRecord&) {}},
      {"populated", true, [](DocumentRecord&, SideFileRecord&) {}},
      {"odd", true,
       [](DocumentRecord& d, SideFileRecord& s) {
         d.scan.bytes[ScanBlock::kMode] = 0;
         d.keys.values[KeyBlock::kPf2Long] = 8;
         d.message.lines[2].assign("CAF\xC9\\\x01\0XYZ");
         d.testFrequencies[3].first.assign("14600000");
         d.optionalFeatures.values[OptionalFeaturesBlock::kVox] = 2;
         d.dtmf.specialCodes[DtmfBlock::kBot].length = 40;
         d.fmPresets[4].empty = 3;
         s.alarmMode = 9;
       }},
  };
  for (const auto& c : cases) {
    Bench b(c.populated);
    c.store(b.doc(), b.state.workingSide);
    for (const SettingField* f : AllSettingFields()) {
      const std::string what = std::string(c.what) + " " + std::string(f->name);
      const auto image = b.doc().toBytes();
      const auto side = b.state.workingSide.toBytes();
      const std::string shown = b.shown(*f);
      const auto outcome = b.set(f->name, shown);
      EXPECT_EQ(outcome.status, EditStatus::Unchanged)
          << what << " \"" << shown << "\": " << FailureText(outcome.failure, textOf);
      EXPECT_EQ(b.doc().toBytes(), image) << what;
      EXPECT_EQ(b.state.workingSide.toBytes(), side) << what;
    }
  }
}

TEST(StoreShownOnOpeningEverywhere, APositionFollowsItsGroupAsTheWindowShowsIt) {
  Bench b;
  b.doc().scan.bytes[ScanBlock::kFirstChannelGroup] = 0;  // as a new document holds it
  b.doc().scan.bytes[ScanBlock::kFirstChannelGroup + 1] = 0;
  EXPECT_EQ(b.shown("scan.priority1.position"), "") << "group 0 holds no channel";
  StoreShownOnOpeningEverywhere(b.state, b.effects);
  EXPECT_EQ(b.shown("scan.priority1.group"), "1");
  EXPECT_EQ(b.shown("scan.priority1.position"), "1");
}

// ---- Help -------------------------------------------------------------------------

TEST(SettingValuesHelp, NamesItemsRangesAndTextRules) {
  struct Case {
    const char* name;
    const char* help;
  };
  const std::vector<Case> cases = {
      {"options.tot", "Off=0, 15 to 240 in steps of 15"},
      {"options.vox-delay", "0.5 to 5.0 in steps of 0.5"},
      {"options.battery-save", "Off=0, \"Level 1\"=1, \"Level 2\"=2, \"Level 3\"=3"},
      {"options.vox", "0 or 1 (unticked, ticked)"},
      {"dtmf.rate", "50 to 500 in steps of 50"},
      {"dtmf.star-hash-time", "0, 100, 500, 1000"},
      {"dtmf.d-key", "Off=0, 1s to 16s"},
      {"dtmf.bot", "up to 16 of 0123456789ABCD*# (small letters become capitals); \"\" clears it"},
      {"dtmf.id", "3 to 10 of 0123456789"},
      {"scan.mode", "Off=0, On=1"},
      {"scan.look-back-a", "0.5 to 5.0 in steps of 0.1"},
      {"scan.priority1.group", "those the file offers, of: 1 to 8"},
      {"scan.priority2.position", "those the file offers, of: 1 to 16"},
      {"scan.revert",
       "those the file offers, of: Selected=0, \"Selected + Talkback\"=1, \"Priority CH1\"=2, "
       "\"Priority CH2\"=3, \"Last called\"=4, \"Last used\"=5, \"Priority CH1 + Talkback\"=6, "
       "\"Priority CH2 + Talkback\"=7"},
      {"alert.alarm-time", "1 to 255"},
      {"alert.cycle", "Continuous=0, 1 to 255"},
      {"keys.long-press-time", "1.0 to 2.5 in steps of 0.1"},
      {"message.1", "up to 16 printable characters; \"\" clears it"},
      {"test.1.first", "a frequency in MHz, brought into the file's band; \"\" clears it"},
      {"fm.20", "76 to 108 MHz on the 50 kHz raster; \"\" clears it"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(SettingValuesHelp(field(c.name), TextOf(textOf)), c.help) << c.name;
  }
  const std::string memories = SettingValuesHelp(field("alert.id-code"), TextOf(textOf));
  EXPECT_EQ(memories.rfind("those the file offers, of: M1=1, M2=2, ", 0), 0u) << memories;
  EXPECT_NE(memories.find(", M16=16"), std::string::npos) << memories;
  const std::string shortPress = SettingValuesHelp(field("keys.pf1.short"), TextOf(textOf));
  EXPECT_NE(shortPress.find("Scan=8"), std::string::npos) << shortPress;
  EXPECT_EQ(shortPress.find("Emergency alarm"), std::string::npos)
      << "a short press offers no alarm";
}

}  // namespace
}  // namespace cps
