// The settings field tables: stored values and the list items that show them,
// the item texts, the enable rules, and SetSetting.
#include "core/settings/setting_fields.hpp"

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "../document/test_support.hpp"
#include "core/document/run_state.hpp"

namespace cps {
namespace {

using testing::RecordingObserver;
using testing::ScriptedPrompter;

const SettingField& field(std::string_view name) {
  const SettingField* f = FindSettingField(name);
  EXPECT_NE(f, nullptr) << name;
  static const SettingField kNone{};
  return f != nullptr ? *f : kNone;
}

std::string textOf(int id) { return "T" + std::to_string(id); }

TEST(SettingFields, NamesAndControlsAreUnique) {
  std::set<std::string_view> names;
  std::set<std::string_view> controls;
  for (const SettingField* f : AllSettingFields()) {
    EXPECT_TRUE(names.insert(f->name).second) << f->name;
    EXPECT_TRUE(controls.insert(f->control).second) << f->control;
  }
}

struct ShowCase {
  const char* name;
  int stored;
  int item;  // the item a stored value shows
};

TEST(OptionalFeatureFields, StoredValueSelectsItsItemOrTheFirst) {
  const std::vector<ShowCase> cases = {
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
  };
  for (const auto& c : cases) {
    EXPECT_EQ(ItemOfStored(field(c.name), c.stored), c.item) << c.name << " stored " << c.stored;
  }
}

TEST(OptionalFeatureFields, EveryItemStoresAValueThatShowsItAgain) {
  for (const auto& f : OptionalFeatureFields()) {
    ASSERT_GT(ItemCount(f), 0) << f.name;
    for (int item = 0; item < ItemCount(f); ++item) {
      const int stored = StoredOfItem(f, item);
      EXPECT_TRUE(IsOfferedValue(f, stored)) << f.name << " item " << item;
      EXPECT_EQ(ItemOfStored(f, stored), item) << f.name << " item " << item;
    }
  }
}

struct TextsCase {
  const char* name;
  std::vector<std::string> first;  // the first items
  std::string last;
  int count;
};

TEST(OptionalFeatureFields, ItemTexts) {
  const std::vector<TextsCase> cases = {
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
  };
  for (const auto& c : cases) {
    const auto items = ItemTexts(field(c.name), textOf);
    ASSERT_EQ(static_cast<int>(items.size()), c.count) << c.name;
    for (std::size_t i = 0; i < c.first.size(); ++i) EXPECT_EQ(items[i], c.first[i]) << c.name;
    EXPECT_EQ(items.back(), c.last) << c.name;
  }
}

class SetSettingTest : public ::testing::Test {
 protected:
  RunState state;
  ScriptedPrompter prompter;
  RecordingObserver observer;
  Effects effects{prompter, observer};
};

TEST_F(SetSettingTest, TheVoxControlsFollowVoxOn) {
  for (const char* name : {"options.vox-level", "options.vox-delay", "options.vox-tone"}) {
    state.workingDocument.optionalFeatures.values[5] = 0;
    EXPECT_FALSE(IsSettingEnabled(state, field(name))) << name;
    EXPECT_EQ(SetSetting(state, effects, field("options.vox"), 1).status, EditStatus::Applied);
    EXPECT_TRUE(IsSettingEnabled(state, field(name))) << name;
  }
  EXPECT_TRUE(IsSettingEnabled(state, field("options.squelch")));
}

struct StoreCase {
  const char* name;
  int value;
  EditStatus status;
  std::size_t index;  // of OptionalFeaturesBlock.values
  int stored;         // what the block holds afterwards
};

TEST_F(SetSettingTest, StoresOfferedValuesAndRefusesTheRest) {
  const std::vector<StoreCase> cases = {
      {"options.tot", 240, EditStatus::Applied, 12, 240},
      {"options.tot", 0, EditStatus::Applied, 12, 0},
      {"options.tot", 20, EditStatus::Refused, 12, 0},
      {"options.tot", 255, EditStatus::Refused, 12, 0},
      {"options.voice-prompt", 2, EditStatus::Applied, 1, 2},
      {"options.voice-prompt", 0, EditStatus::Refused, 1, 2},
      {"options.channel-group", 8, EditStatus::Applied, 17, 8},
      {"options.channel-group", 9, EditStatus::Refused, 17, 8},
      {"options.vox-delay", 9, EditStatus::Applied, 16, 9},
      {"options.vox", 2, EditStatus::Refused, 5, 0},
      {"options.squelch", 9, EditStatus::Applied, 0, 9},
      {"options.squelch", 9, EditStatus::Unchanged, 0, 9},
  };
  for (const auto& c : cases) {
    const auto before = state.workingDocument.toBytes();
    const auto outcome = SetSetting(state, effects, field(c.name), c.value);
    EXPECT_EQ(outcome.status, c.status) << c.name << " " << c.value;
    EXPECT_EQ(state.workingDocument.optionalFeatures.values[c.index], c.stored)
        << c.name << " " << c.value;
    if (c.status != EditStatus::Applied) {
      EXPECT_EQ(state.workingDocument.toBytes(), before) << c.name << " " << c.value;
      if (c.status == EditStatus::Refused) {
        EXPECT_FALSE(outcome.reason.empty());
      }
    }
  }
}

}  // namespace
}  // namespace cps
