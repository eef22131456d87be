// The channel commands' fixture: one group of tagged channels between two
// neighbour groups, the habits without questions, and the checks every
// command must pass.
#pragma once

#include <gtest/gtest.h>

#include <cstdio>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "../document/test_support.hpp"
#include "core/channels/channel_commands.hpp"
#include "core/document/records.hpp"
#include "core/run_state.hpp"

namespace cps::testing {

// Each test channel carries a tag in its receive frequency ("43" + tag + "000"),
// so that a channel can be followed when commands renumber it.
inline std::string rxOfTag(int tag) {
  char text[9];
  std::snprintf(text, sizeof text, "43%03d000", tag);
  return text;
}

inline ChannelRecord tagged(int number, int tag) { return MakeChannel(number, rxOfTag(tag)); }

inline int tagOf(const ChannelRecord& c) { return std::stoi(c.rxFreq.raw().substr(2, 3)); }

// Group index 1 is the one the commands act on; groups 0 and 2 each hold a
// channel beside it, which no command may move.
constexpr int kGroup = 1;
constexpr int kBefore = 16;  // position 16 of group index 0
constexpr int kAfter = 33;   // position 1 of group index 2

// Positions 1 to 16 of the group by the tag of the channel there; 0 is empty.
using Layout = std::vector<int>;
inline const Layout kFull = {17, 18, 19, 20, 21, 22, 23, 24, 25, 26, 27, 28, 29, 30, 31, 32};

constexpr int kCopied = 99;  // the tag of the channel on the clipboard

inline HabitRecord noPrompts(bool pasteInserts, bool deleteCloses) {
  HabitRecord h;
  h.pasteNoPrompt = true;
  h.deleteNoPrompt = true;
  h.pasteInserts = pasteInserts;
  h.deleteCloses = deleteCloses;
  return h;
}

class ChannelCommandsTest : public ::testing::Test {
 protected:
  RunState state;
  ScriptedPrompter prompter;
  RecordingObserver observer;
  Effects effects{prompter, observer};

  DocumentRecord& doc() { return state.workingDocument; }

  // The group holds the tagged channels of the layout, the neighbour groups one each.
  void arrange(const Layout& layout) {
    std::vector<ChannelRecord> channels{tagged(kBefore, kBefore)};
    for (int p = 1; p <= 16; ++p) {
      const int tag = layout[static_cast<std::size_t>(p - 1)];
      if (tag != 0) channels.push_back(tagged(kGroup * 16 + p, tag));
    }
    channels.push_back(tagged(kAfter, kAfter));
    SetChannels(doc(), channels);
  }

  void copyToClipboard(const ChannelRecord& channel) {
    state.channelClipboard.channels = {channel};
  }

  Layout layout() {
    Layout out(16, 0);
    for (const auto& c : doc().usedChannels()) {
      const int q = c.number - kGroup * 16;
      if (q >= 1 && q <= 16) out[static_cast<std::size_t>(q - 1)] = tagOf(c);
    }
    return out;
  }

  // Every number at most once, and the neighbour groups as they were.
  void expectListIntact(const char* what) {
    const auto numbers = ChannelNumbers(doc());
    EXPECT_EQ(std::set<int>(numbers.begin(), numbers.end()).size(), numbers.size()) << what;
    for (const int n : {kBefore, kAfter}) {
      const int i = FindChannelIndex(doc(), n);
      ASSERT_GE(i, 0) << what;
      EXPECT_EQ(tagOf(doc().channels[static_cast<std::size_t>(i)]), n) << what;
    }
  }

  std::pair<int, int> alertRef() {
    return {doc().alert.bytes[AlertBlock::kChannelGroup],
            doc().alert.bytes[AlertBlock::kChannelPosition]};
  }
};

}  // namespace cps::testing
