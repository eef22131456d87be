// A channel as the channel table shows it, and as a spreadsheet row.
#include "core/channels/channel_text.hpp"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "../document/test_support.hpp"
#include "core/document/codec.hpp"
#include "core/document/records.hpp"

namespace cps {
namespace {

using testing::MakeChannel;
using testing::ScriptedPrompter;

// Every text is its id behind a "t", except one that holds a tab.
std::string textOf(int id) { return id == 14007 ? "TX\tpower" : "t" + std::to_string(id); }

struct SheetCase {
  const char* what;
  bool offsetMode;
  std::int16_t decodeTone;
  std::int16_t power;
  std::string expected;
};

TEST(ChannelText, ASpreadsheetRowUnderTheTablesHeaders) {
  const std::vector<SheetCase> cases = {
      {"frequency mode", false, 1, 1,
       "t14001\tt14002\tt14003\tt14005\tt14006\tTX power\tt14008\tt14009\tt14010\n"
       "3\t435.10000\t440.10000\t67.0\tt14013\tt14015\tt14018\tt14019\tt14022\n"},
      {"offset mode", true, 52, 2,
       "t14001\tt14002\tt14100\tt14005\tt14006\tTX power\tt14008\tt14009\tt14010\n"
       "3\t435.10000\t+5.00000\t023N\tt14013\tt14016\tt14018\tt14019\tt14022\n"},
      // Values beyond their lists show the lists' first items.
      {"values off the lists", false, 300, 3,
       "t14001\tt14002\tt14003\tt14005\tt14006\tTX power\tt14008\tt14009\tt14010\n"
       "3\t435.10000\t440.10000\tt14013\tt14013\tt14014\tt14018\tt14019\tt14022\n"},
  };
  for (const auto& c : cases) {
    ScriptedPrompter prompter;
    const CodecContext codec{BandLimits{}, prompter};
    ChannelRecord channel = MakeChannel(35, "43510000", 2, "0500000");
    channel.decodeTone = c.decodeTone;
    channel.power = c.power;
    channel.scanSkip = 1;
    channel.optionalSignalling = 1;
    channel.spacing = 2;
    EXPECT_EQ(ChannelSpreadsheetText(channel, c.offsetMode, codec, textOf), c.expected) << c.what;
    EXPECT_TRUE(prompter.asked.empty()) << c.what;
  }
}

TEST(ChannelText, TableCellsNameTheirColumns) {
  ScriptedPrompter prompter;
  const CodecContext codec{BandLimits{}, prompter};
  const auto cells = ChannelTableCells(MakeChannel(16, "43510000"), false, codec, textOf);
  std::vector<int> headers;
  for (const auto& cell : cells) headers.push_back(cell.headerTextId);
  EXPECT_EQ(headers,
            (std::vector<int>{14001, 14002, 14003, 14005, 14006, 14007, 14008, 14009, 14010}));
  EXPECT_EQ(cells.front().text, "16");
  EXPECT_EQ(cells[2].text, "435.10000");  // simplex: transmit on receive
}

}  // namespace
}  // namespace cps
