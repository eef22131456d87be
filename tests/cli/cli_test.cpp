// cps530-cli's verbs against real files in a temporary folder.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <nlohmann/json.hpp>
#include <random>
#include <sstream>

#include "../support/five_point_pairs.hpp"
#include "cli/commands.hpp"
#include "cli/radio_commands.hpp"
#include "core/document/records.hpp"
#include "core/settings/setting_fields.hpp"
#include "portable_folder.hpp"

namespace cps::cli {
namespace {

namespace fs = std::filesystem;

std::vector<char> fileBytes(const fs::path& p) {
  std::ifstream in(p, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

class CliTest : public PortableFolderTest {
 protected:
  using Verb = std::function<int(const Environment&)>;

  // The English text of a message: what the user reads, never its number.
  std::string text(int id) { return m_english.LangText(id); }

  int makeNew(const std::string& name, const std::string& model = "TW530G",
              const std::string& band = "400 - 480 MHz", const std::string& initDir = {},
              bool initialise = false) {
    NewOptions options{path(name), model, band, initDir, initialise};
    return run([&](const Environment& env) { return RunNew(options, env); });
  }
  int edit(const std::string& name, int channel, std::vector<std::string> pairs,
           bool offsetMode = false) {
    EditOptions options{path(name), offsetMode, channel, std::move(pairs)};
    return run([&](const Environment& env) { return RunEdit(options, env); });
  }
  int show(const std::string& name) {
    return run([&](const Environment& env) { return RunShow(path(name), false, env); });
  }
  nlohmann::json dump(const std::string& name) {
    EXPECT_EQ(run([&](const Environment& env) { return RunDump(path(name), env); }), kExitOk)
        << m_err.str();
    return nlohmann::json::parse(m_out.str());
  }

  TextTable m_english{fs::path(CPS_SOURCE_DATA_DIR) / "language" / "english.ini"};
};

TEST_F(CliTest, NewWritesDataAndSideFileOfTheChosenModelAndBand) {
  ASSERT_EQ(makeNew("radio.dat", "TW530", "144 - 146 MHz"), kExitOk) << m_err.str();
  EXPECT_EQ(fs::file_size(path("radio.dat")), 8595u);
  EXPECT_EQ(fs::file_size(path("radio.NVD")), 5u);
  const auto doc = dump("radio.dat")["document"];
  EXPECT_EQ(doc["modelInfo"]["modelName"], "TW530  ");
  EXPECT_EQ(doc["modelInfo"]["bandIndex"], 13);
  ASSERT_EQ(doc["channels"].size(), 1u);
  EXPECT_EQ(doc["channels"][0]["rx"]["shown"], "145.00000");
}

TEST_F(CliTest, NewRefusesUnknownModelOrBandAndWritesNothing) {
  EXPECT_EQ(makeNew("a.dat", "TW999"), kExitRefused);
  EXPECT_EQ(makeNew("b.dat", "TW530G", "400-480"), kExitRefused);
  EXPECT_NE(m_err.str().find("136 - 174 MHz"), std::string::npos) << "lists the valid bands";
  EXPECT_FALSE(fs::exists(path("a.dat")));
  EXPECT_FALSE(fs::exists(path("b.dat")));
}

TEST_F(CliTest, EditAppliesPairsInOrderAndSaves) {
  ASSERT_EQ(makeNew("r.dat"), kExitOk);
  ASSERT_EQ(edit("r.dat", 1, {"rx", "435.1", "tx", "440.1", "decode", "67.0", "power", "1"}),
            kExitOk)
      << m_err.str();
  ASSERT_EQ(edit("r.dat", 20, {"rx", "446.00625", "encode", "023I"}), kExitOk) << m_err.str();
  const auto channels = dump("r.dat")["document"]["channels"];
  ASSERT_EQ(channels.size(), 2u);
  EXPECT_EQ(channels[0]["rx"]["stored"], "43510000");
  EXPECT_EQ(channels[0]["offset"]["shown"], "+5.00000");
  EXPECT_EQ(channels[0]["encodeTone"]["index"], 1) << "a first tone serves both directions";
  EXPECT_EQ(channels[0]["power"], 1);
  EXPECT_EQ(channels[1]["number"], 20);
  EXPECT_EQ(channels[1]["rxStepKind"], 1);
  EXPECT_EQ(channels[1]["decodeTone"]["shown"], "023I");
}

// Lockout by tone needs a tone to check; the command line has no table to redraw
// the channel, yet stores what the table would.
TEST_F(CliTest, ToneLockoutOnAChannelWithoutATone) {
  ASSERT_EQ(makeNew("r.dat"), kExitOk);
  ASSERT_EQ(edit("r.dat", 1, {"bcl", "2"}), kExitOk) << m_err.str();
  EXPECT_EQ(dump("r.dat")["document"]["channels"][0]["busyLockout"], 1);
  ASSERT_EQ(edit("r.dat", 1, {"decode", "67.0", "bcl", "2"}), kExitOk) << m_err.str();
  EXPECT_EQ(dump("r.dat")["document"]["channels"][0]["busyLockout"], 2);
}

TEST_F(CliTest, PackWritesTheFivePointTestPairs) {
  ASSERT_EQ(makeNew("r.dat"), kExitOk);
  ASSERT_EQ(run([&](const Environment& env) {
              return RunPack(path("r.dat"), path("r.img"), false, env);
            }),
            kExitOk)
      << m_err.str();
  EXPECT_EQ(testing::FivePointBytesOf(fileBytes(path("r.img"))), testing::kFivePointBytes);
}

TEST_F(CliTest, EditInOffsetModeTakesASignedOffset) {
  ASSERT_EQ(makeNew("r.dat"), kExitOk);
  ASSERT_EQ(edit("r.dat", 1, {"tx", "-7.6"}, true), kExitOk) << m_err.str();
  const auto c = dump("r.dat")["document"]["channels"][0];
  EXPECT_EQ(c["offsetDirection"], 1);
  EXPECT_EQ(c["tx"], "432.40000");
}

TEST_F(CliTest, OutOfBandFrequencyIsClampedWithAWarningOnStderr) {
  ASSERT_EQ(makeNew("r.dat"), kExitOk);
  ASSERT_EQ(edit("r.dat", 1, {"rx", "520"}), kExitOk);
  EXPECT_NE(m_err.str().find(text(9021)), std::string::npos) << m_err.str();
  EXPECT_EQ(dump("r.dat")["document"]["channels"][0]["rx"]["shown"], "480.00000");
}

// The settings blocks appear by field name: lists and check boxes with their
// stored number, codes, lines and frequencies with the text their box shows.
TEST_F(CliTest, DumpShowsEverySettingByItsFieldName) {
  ASSERT_EQ(makeNew("r.dat"), kExitOk);
  auto bytes = fileBytes(path("r.dat"));
  // DTMF rate 3 (150 ms), BOT code 12*# and the first message line HELLO.
  bytes[offsets::kDtmf] = 3;
  const std::size_t bot = offsets::kDtmf + 18 + 10 + 2;
  bytes[bot] = 4;
  for (std::size_t i = 0; i < 4; ++i) bytes[bot + 2 + i] = "12*#"[i];
  const std::string hello("HELLO\0", 6);
  std::copy(hello.begin(), hello.end(), bytes.begin() + offsets::kEmbeddedMessage);
  std::ofstream(path("r.dat"), std::ios::binary).write(bytes.data(), bytes.size());

  const auto doc = dump("r.dat")["document"];
  for (const char* block : {"optionalFeatures", "dtmf", "keys", "alert", "scan", "fmPresets",
                            "testFrequencies", "embeddedMessage"}) {
    EXPECT_FALSE(doc.contains(block)) << block << " is no longer an array of numbers";
  }
  const auto settings = doc["settings"];
  for (const SettingField* field : AllSettingFields()) {
    EXPECT_TRUE(settings.contains(std::string(field->name))) << field->name;
  }
  EXPECT_EQ(settings.size(), AllSettingFields().size());
  EXPECT_EQ(settings["options.voice-prompt"], 1);
  EXPECT_EQ(settings["dtmf.rate"], 3);
  EXPECT_EQ(settings["keys.long-press-time"], 10);
  EXPECT_EQ(settings["alert.mode"], 1) << "the side file's alarm mode";
  EXPECT_EQ(settings["scan.mode"], 0);
  EXPECT_EQ(settings["dtmf.id"], "000");
  EXPECT_EQ(settings["dtmf.bot"], "12*#");
  EXPECT_EQ(settings["dtmf.memory.16"], "");
  EXPECT_EQ(settings["message.1"], "HELLO");
  EXPECT_EQ(settings["message.4"], "");
  EXPECT_EQ(settings["test.1.first"], "435.10000");
  EXPECT_EQ(settings["test.11.second"], "");
  EXPECT_EQ(settings["fm.20"], "");
}

TEST_F(CliTest, RefusedEditsLeaveTheFileUntouched) {
  struct Case {
    const char* what;
    int channel;
    std::vector<std::string> pairs;
    bool offsetMode;
    int status = kExitRefused;  // a wrong command line is a usage error
  };
  const std::vector<Case> cases{
      {"channel 0", 0, {"rx", "435"}, false},
      {"channel 129", 129, {"rx", "435"}, false},
      {"unknown field", 1, {"volume", "3"}, false, kExitUsage},
      {"value missing", 1, {"rx", "435", "power"}, false, kExitUsage},
      {"power out of range", 1, {"power", "4"}, false},
      {"not a number", 1, {"spacing", "wide"}, false},
      {"not a tone", 1, {"decode", "68.0"}, false},
      {"tone index out of range", 1, {"decode", "283"}, false},
      {"autodial beyond memory 16", 1, {"autodial1", "17"}, false},
      {"a missing channel cannot take options", 5, {"power", "1"}, false},
      {"the last channel stays", 1, {"rx", ""}, false},
      {"offset that is no number", 1, {"tx", "abc"}, true},
      {"offset of 100 MHz", 1, {"tx", "+100"}, true},
      {"a good pair before a bad one is not saved", 1, {"power", "0", "bcl", "3"}, false},
  };
  ASSERT_EQ(makeNew("r.dat"), kExitOk);
  const auto before = fileBytes(path("r.dat"));
  for (const auto& c : cases) {
    EXPECT_EQ(edit("r.dat", c.channel, c.pairs, c.offsetMode), c.status) << c.what;
    EXPECT_FALSE(m_err.str().empty()) << c.what << ": says why";
    EXPECT_EQ(fileBytes(path("r.dat")), before) << c.what;
  }
}

TEST_F(CliTest, BadFilesAreRefusedWithoutCrashing) {
  ASSERT_EQ(makeNew("good.dat"), kExitOk);
  auto bytes = fileBytes(path("good.dat"));
  // An empty file has no version to check, so it is not taken for a data file at all.
  struct Case {
    std::size_t size;
    int textId;
  };
  for (const auto& [size, textId] : std::vector<Case>{{0, 9065}, {8594, 9033}, {8596, 9033}}) {
    std::vector<char> content(bytes);
    content.resize(size, 'x');
    std::ofstream(path("bad.dat"), std::ios::binary).write(content.data(), content.size());
    for (const auto& verb : std::vector<Verb>{
             [&](const Environment& env) { return RunShow(path("bad.dat"), false, env); },
             [&](const Environment& env) { return RunDump(path("bad.dat"), env); },
         }) {
      EXPECT_EQ(run(verb), kExitRefused) << size;
      EXPECT_NE(m_err.str().find(text(textId)), std::string::npos) << m_err.str();
    }
    EXPECT_EQ(edit("bad.dat", 1, {"power", "1"}), kExitRefused);
    EXPECT_EQ(fs::file_size(path("bad.dat")), size) << "a refused file is not rewritten";
  }
  fs::create_directory(path("folder.dat"));
  EXPECT_EQ(show("folder.dat"), kExitRefused);
  EXPECT_NE(m_err.str().find(text(9002)), std::string::npos) << m_err.str();
  EXPECT_EQ(show("missing.dat"), kExitRefused);
  EXPECT_NE(m_err.str().find(text(9002)), std::string::npos) << m_err.str();
}

TEST_F(CliTest, ShowPrintsOneRowPerChannelInNumberOrder) {
  ASSERT_EQ(makeNew("r.dat"), kExitOk);
  ASSERT_EQ(edit("r.dat", 33, {"rx", "450"}), kExitOk);
  ASSERT_EQ(edit("r.dat", 2, {"rx", "420", "decode", "100.0"}), kExitOk);
  ASSERT_EQ(show("r.dat"), kExitOk);
  const std::string out = m_out.str();
  const auto row1 = out.find("\n1 ");
  const auto row2 = out.find("\n2 ");
  const auto row33 = out.find("\n33 ");
  ASSERT_NE(row1, std::string::npos) << out;
  EXPECT_LT(row1, row2);
  EXPECT_LT(row2, row33);
  EXPECT_NE(out.find("3-1"), std::string::npos) << "channel 33 is group 3, position 1";
  EXPECT_NE(out.find("100.0"), std::string::npos);
}

TEST_F(CliTest, FilesThisProgramDoesNotHandleAreRefusedWithTheLanguageText) {
  ASSERT_EQ(makeNew("good.dat"), kExitOk);
  auto bytes = fileBytes(path("good.dat"));
  struct Case {
    const char* version;
    int textId;
  };
  for (const auto& c : std::vector<Case>{{"X200", 9065}, {"V1A0", 9065}}) {
    std::copy_n(c.version, 4, bytes.begin());
    std::ofstream(path("other.dat"), std::ios::binary).write(bytes.data(), bytes.size());
    EXPECT_EQ(show("other.dat"), kExitRefused) << c.version;
    EXPECT_NE(m_err.str().find(text(c.textId)), std::string::npos) << m_err.str();
  }
  // A version no pair of the table names: the hand-over question is answered No.
  std::copy_n("V100", 4, bytes.begin());
  std::ofstream(path("old.dat"), std::ios::binary).write(bytes.data(), bytes.size());
  EXPECT_EQ(show("old.dat"), kExitRefused);
  EXPECT_NE(m_err.str().find("V1.00"), std::string::npos) << m_err.str();
  EXPECT_NE(m_err.str().find("-> No"), std::string::npos) << m_err.str();
}

TEST_F(CliTest, WithoutAVersionTableNoFileOpensAndTheReasonIsGiven) {
  ASSERT_EQ(makeNew("r.dat"), kExitOk);
  fs::remove(m_folders.versionTable());
  EXPECT_EQ(show("r.dat"), kExitRefused);
  EXPECT_NE(m_err.str().find("Version.ini"), std::string::npos) << m_err.str();
  // new writes no file that no verb could open afterwards.
  EXPECT_EQ(makeNew("n.dat"), kExitRefused);
  EXPECT_NE(m_err.str().find(text(9094)), std::string::npos) << m_err.str();
  EXPECT_FALSE(fs::exists(path("n.dat")));
  EXPECT_FALSE(fs::exists(m_dir / "n.NVD"));
}

TEST_F(CliTest, NewTakesChannelOneOfTheBandFileUnlessInitialising) {
  // A band file for TW530 in 136 - 174 MHz (index 8) with channels 1, 2 and 17.
  const fs::path init = m_dir / "init";
  fs::create_directories(init);
  ASSERT_EQ(makeNew("band.dat", "TW530", "136 - 174 MHz"), kExitOk);
  ASSERT_EQ(edit("band.dat", 2, {"rx", "150"}), kExitOk);
  ASSERT_EQ(edit("band.dat", 17, {"rx", "160"}), kExitOk);
  fs::copy_file(path("band.dat"), init / "TW530_8.dat");

  ASSERT_EQ(makeNew("one.dat", "TW530", "136 - 174 MHz", init.string()), kExitOk) << m_err.str();
  EXPECT_EQ(dump("one.dat")["document"]["channels"].size(), 1u);
  ASSERT_EQ(makeNew("all.dat", "TW530", "136 - 174 MHz", init.string(), true), kExitOk);
  EXPECT_EQ(dump("all.dat")["document"]["channels"].size(), 3u);

  // A band file of the wrong size: the message, and the defaults.
  fs::resize_file(init / "TW530_8.dat", 8594);
  ASSERT_EQ(makeNew("short.dat", "TW530", "136 - 174 MHz", init.string()), kExitOk);
  EXPECT_NE(m_err.str().find(text(9033)), std::string::npos) << m_err.str();
  EXPECT_EQ(dump("short.dat")["document"]["channels"][0]["rx"]["shown"], "155.00000");
}

// The progress line counts the blocks the engine reports, not a share of the
// percentage (which skipped numbers and stopped at 175 of 177).
TEST(ProgressLine, ShowsTheBlocksMovedAndTheTime) {
  using std::chrono::milliseconds;
  struct Case {
    int percent;
    int blocks;
    milliseconds elapsed;
    const char* line;
  };
  const Case cases[] = {
      {0, 0, milliseconds(0), "[                    ]   0%    0/177 blocks  0.0 s"},
      {0, 1, milliseconds(40), "[                    ]   0%    1/177 blocks  0.0 s"},
      {1, 2, milliseconds(99), "[                    ]   1%    2/177 blocks  0.0 s"},
      {1, 3, milliseconds(100), "[                    ]   1%    3/177 blocks  0.1 s"},
      {50, 89, milliseconds(2460), "[##########          ]  50%   89/177 blocks  2.4 s"},
      {99, 176, milliseconds(4801), "[################### ]  99%  176/177 blocks  4.8 s"},
      {99, 177, milliseconds(4830), "[################### ]  99%  177/177 blocks  4.8 s"},
      {120, 300, milliseconds(12345), "[####################] 100%  177/177 blocks  12.3 s"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(ProgressLineText(c.percent, c.blocks, c.elapsed), c.line) << c.percent;
  }
}

}  // namespace
}  // namespace cps::cli
