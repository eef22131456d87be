// cps530-cli against the virtual radio over real pseudo-terminals: whole-radio
// reads and writes, the information read, and the ways a transfer can fail.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <nlohmann/json.hpp>
#include <random>

#include "../support/five_point_pairs.hpp"
#include "core/document/data_file.hpp"
#include "core/document/instances.hpp"
#include "message_text.hpp"
#include "process.hpp"

namespace cps::e2e {
namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

// The radio's memory after a write equals the packed document, except that the
// identification block carries the radio's own capability byte (0 here).
void expectWrittenImage(std::vector<char> image, const std::vector<char>& written) {
  ASSERT_EQ(image.size(), 2832u);
  ASSERT_GE(written.size(), image.size());
  image[0xB0C] = 0;
  EXPECT_TRUE(std::equal(image.begin(), image.end(), written.begin()))
      << "the radio's memory 0x000 to 0xB0F equals the packed document";
}

std::vector<char> bytesOf(const fs::path& p) {
  std::ifstream in(p, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

class E2eTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::random_device random;
    m_dir = fs::temp_directory_path() / ("cps530-e2e-" + std::to_string(random()));
    fs::create_directories(m_dir);
  }
  void TearDown() override {
    m_radio.reset();
    fs::remove_all(m_dir);
  }

  std::string path(const std::string& name) const { return (m_dir / name).string(); }

  Finished cli(std::vector<std::string> args) {
    args.insert(args.begin(), {CPS_CLI, "--lang", "en"});
    Process p(args);
    return p.wait(60s);
  }

  // Starts the virtual radio and returns the device of its line.
  std::string radio(std::vector<std::string> args) {
    args.insert(args.begin(), CPS_RADIOSIM);
    m_radio = std::make_unique<Process>(args);
    const std::string device = m_radio->readLine(10s);
    EXPECT_FALSE(device.empty()) << "the virtual radio printed no device";
    return device;
  }
  // Ends the virtual radio (it saves its memory when asked to) and returns its output.
  Finished stopRadio() {
    m_radio->terminate();
    auto finished = m_radio->wait(10s);
    m_radio.reset();
    return finished;
  }

  // A document with a few channels that use most of what a channel holds.
  std::string makeDocument(const std::string& name, const std::string& band = "400 - 480 MHz") {
    const auto file = path(name);
    EXPECT_EQ(cli({"new", "-o", file, "--model", "TW530G", "--band", band}).status, 0);
    const std::vector<std::vector<std::string>> edits{
        {"1", "rx", "435.1", "tx", "440.1", "decode", "67.0", "power", "1"},
        {"2", "rx", "446.00625", "encode", "023I", "scan-skip", "1", "bcl", "1"},
        {"17", "rx", "420.5", "tx", "410.5", "decode", "754N", "spacing", "2", "ptt-id", "3"},
        {"128", "rx", "479.99", "compander", "1", "scrambler", "1", "whisper", "1"},
    };
    for (auto edit : edits) {
      edit.insert(edit.begin(), {"edit", file});
      const auto done = cli(edit);
      EXPECT_EQ(done.status, 0) << done.err;
    }
    return file;
  }

  fs::path m_dir;
  std::unique_ptr<Process> m_radio;
};

TEST_F(E2eTest, AReadGivesBackTheDocumentTheRadioWasMadeFrom) {
  const auto doc = makeDocument("doc.dat");
  // What the radio can hold of the document: packed and unpacked without a line.
  ASSERT_EQ(cli({"pack", doc, "-o", path("image.bin")}).status, 0);
  ASSERT_EQ(cli({"unpack", path("image.bin"), "-o", path("expected.dat")}).status, 0);
  const auto expected = bytesOf(path("expected.dat"));
  for (const bool echo : {false, true}) {
    std::vector<std::string> args{"--dat", doc};
    if (echo) args.push_back("--echo");
    const auto device = radio(args);
    const auto out = path(echo ? "echo.dat" : "plain.dat");
    const auto read = cli({"read", "--port", device, "-o", out});
    ASSERT_EQ(read.status, 0) << read.err;
    stopRadio();
    EXPECT_EQ(bytesOf(out), expected) << (echo ? "echoing cable" : "plain cable");
    const auto original = ReadDataFile(doc);
    const auto back = ReadDataFile(out);
    ASSERT_TRUE(original.file && back.file);
    for (const auto& c : original.file->document.usedChannels()) {
      const auto& list = back.file->document.usedChannels();
      const auto it = std::find_if(list.begin(), list.end(),
                                   [&](const ChannelRecord& b) { return b.number == c.number; });
      ASSERT_NE(it, list.end()) << c.number;
      EXPECT_EQ(it->rxFreq, c.rxFreq) << c.number;
      EXPECT_EQ(it->offsetDirection, c.offsetDirection) << c.number;
      EXPECT_EQ(it->decodeTone, c.decodeTone) << c.number;
      EXPECT_EQ(it->encodeTone, c.encodeTone) << c.number;
      EXPECT_EQ(it->power, c.power) << c.number;
      EXPECT_EQ(it->scanSkip, c.scanSkip) << c.number;
    }
  }
}

// Whatever the cable and whatever the command line assumes of it, the first
// handshake is answered: no time-out is spent finding out whether it echoes.
TEST_F(E2eTest, TheHandshakeIsSentOnceWhateverTheCable) {
  for (const bool echo : {false, true}) {
    for (const bool noEcho : {false, true}) {
      std::vector<std::string> radioArgs{"--verbose"};
      if (echo) radioArgs.push_back("--echo");
      const auto device = radio(radioArgs);
      std::vector<std::string> args{"info", "--port", device};
      if (noEcho) args.push_back("--no-echo");
      const auto info = cli(args);
      ASSERT_EQ(info.status, 0) << info.err;
      const auto log = stopRadio().err;
      std::size_t handshakes = 0;
      for (auto at = log.find("host  PROGRAM"); at != std::string::npos;
           at = log.find("host  PROGRAM", at + 1)) {
        ++handshakes;
      }
      EXPECT_EQ(handshakes, 1u) << (echo ? "echoing cable" : "plain cable")
                                << (noEcho ? ", --no-echo" : "") << "\n"
                                << log;
    }
  }
}

TEST_F(E2eTest, AWriteLeavesThePackedDocumentInTheRadio) {
  const auto doc = makeDocument("doc.dat");
  const auto memory = path("memory.bin");
  const auto device = radio({"--save", memory});
  const auto write = cli({"write", doc, "--port", device});
  ASSERT_EQ(write.status, 0) << write.err;
  stopRadio();
  ASSERT_EQ(cli({"pack", doc, "-o", path("image.bin")}).status, 0);
  expectWrittenImage(bytesOf(path("image.bin")), bytesOf(memory));
}

TEST_F(E2eTest, TheInformationReadShowsTheRadiosRecord) {
  std::vector<char> memory(0xD00, static_cast<char>(0xFF));
  const auto put = [&memory](std::size_t index, std::string_view text) {
    std::copy(text.begin(), text.end(), memory.begin() + 0xB10 + static_cast<long>(index));
  };
  put(0, "0595");
  put(48, "SN-000123");
  memory[0xB10 + 48 + 9] = 0;
  put(96, "Cracked housing");
  memory[0xB10 + 96 + 15] = 0;
  put(432, "DEALER-7");
  memory[0xB10 + 432 + 8] = 0;
  std::ofstream(path("info.img"), std::ios::binary).write(memory.data(), memory.size());
  const auto device = radio({"--image", path("info.img")});
  const auto info = cli({"info", "--port", device, "--json"});
  ASSERT_EQ(info.status, 0) << info.err;
  const auto record = nlohmann::json::parse(info.out);
  EXPECT_EQ(record["salesRegionCode"], "0595");
  EXPECT_EQ(record["serialNumber"], "SN-000123");
  EXPECT_EQ(record["repairReason"], "Cracked housing");
  EXPECT_EQ(record["dealerCode"], "DEALER-7");
  EXPECT_EQ(record["productionDate"], "") << "an erased field reads empty";
  EXPECT_EQ(record["versionInformation"], "V2.00") << "not read from the radio";
}

TEST_F(E2eTest, PasswordProtectedRadio) {
  const auto doc = makeDocument("doc.dat");
  struct Case {
    std::vector<std::string> flags;
    int status;
    std::string says;
  };
  for (const auto& c : std::vector<Case>{{{}, 1, "PassWord Failure!"},
                                         {{"--password", "9999"}, 1, "PassWord Failure!"},
                                         {{"--password", "1234"}, 0, MessageText(9009)}}) {
    const auto device = radio({"--dat", doc, "--password", "1234"});
    std::vector<std::string> args{"read", "--port", device, "-o", path("out.dat")};
    args.insert(args.end(), c.flags.begin(), c.flags.end());
    const auto read = cli(args);
    EXPECT_EQ(read.status, c.status) << read.err;
    EXPECT_NE(read.err.find(c.says), std::string::npos) << read.err;
    stopRadio();
  }
}

TEST_F(E2eTest, RadiosThatDoNotMatchTheDocumentAreRefused) {
  const auto doc = makeDocument("doc.dat", "400 - 440 MHz");  // band code 2
  struct Case {
    const char* what;
    std::vector<std::string> radio;
    std::vector<std::string> flags;
    int status;
    std::string says;
  };
  const std::vector<Case> cases{
      {"the other model", {"--model", "TW530"}, {}, 1, MessageText(9012)},
      {"same band group, no --yes", {"--band-code", "0"}, {}, 1, MessageText(9014) + " -> Cancel"},
      {"same band group, --yes", {"--band-code", "0"}, {"--yes"}, 0, MessageText(9010)},
      {"another band group", {"--band-code", "8"}, {"--yes"}, 1, MessageText(9030)},
      {"write protected", {"--band-code", "2", "--caps", "8"}, {}, 1, MessageText(9031)},
      {"writes not accepted", {"--band-code", "2", "--caps", "4"}, {}, 1, MessageText(9032)},
  };
  for (const auto& c : cases) {
    const auto device = radio(c.radio);
    std::vector<std::string> args{"write", doc, "--port", device};
    args.insert(args.end(), c.flags.begin(), c.flags.end());
    const auto write = cli(args);
    EXPECT_EQ(write.status, c.status) << c.what << "\n" << write.err;
    EXPECT_NE(write.err.find(c.says), std::string::npos) << c.what << "\n" << write.err;
    stopRadio();
  }
}

// However a transfer fails, the radio hears END before the host lets go of the
// line; otherwise it stays in programming mode and may ignore the next transfer.
TEST_F(E2eTest, EveryFailedTransferEndsTheRadiosProgrammingMode) {
  const auto doc = makeDocument("doc.dat", "400 - 440 MHz");  // band code 2
  struct Case {
    const char* what;
    std::vector<std::string> radio;
    std::vector<std::string> cli;
    std::string says;
  };
  const std::vector<Case> cases{
      {"wrong password, no answer given",
       {"--band-code", "2", "--password", "1234"},
       {"read"},
       "PassWord Failure!"},
      {"the other model", {"--model", "TW530"}, {"write"}, MessageText(9012)},
      {"another band group", {"--band-code", "8"}, {"write"}, MessageText(9030)},
      {"same band group, refused",
       {"--band-code", "0"},
       {"write"},
       MessageText(9014) + " -> Cancel"},
      {"firmware of no program version here",
       {"--band-code", "2", "--firmware", "V300"},
       {"write"},
       "-> No"},
      {"write protected", {"--band-code", "2", "--caps", "8"}, {"write"}, MessageText(9031)},
      {"writes not accepted", {"--band-code", "2", "--caps", "4"}, {"write"}, MessageText(9032)},
      {"silent radio, retry cancelled",
       {"--band-code", "2", "--mute-after", "40"},
       {"read"},
       MessageText(9008)},
      {"silent radio, retried once then cancelled",
       {"--band-code", "2", "--mute-after", "60"},
       {"write", "--retries", "1"},
       MessageText(9008)},
  };
  for (const auto& c : cases) {
    for (const bool echo : {false, true}) {
      const std::string what = std::string(c.what) + (echo ? ", echoing cable" : "");
      auto radioArgs = c.radio;
      radioArgs.push_back("--verbose");
      if (echo) radioArgs.push_back("--echo");
      const auto device = radio(radioArgs);
      std::vector<std::string> args{c.cli.front()};
      if (c.cli.front() == "read") {
        args.insert(args.end(), {"--port", device, "-o", path("out.dat")});
      } else {
        args.insert(args.end(), {doc, "--port", device});
      }
      args.insert(args.end(), c.cli.begin() + 1, c.cli.end());
      const auto run = cli(args);
      EXPECT_EQ(run.status, 1) << what << "\n" << run.err;
      EXPECT_NE(run.err.find(c.says), std::string::npos) << what << "\n" << run.err;
      // The last frame the radio heard from the host is END, before the host closed the line.
      const auto log = stopRadio().err;
      const auto end = log.rfind("host  END | 45 4E 44");
      const auto lastFrame = log.rfind("host  ");
      const auto closed = log.rfind("host closed the line");
      if (end == std::string::npos) {
        ADD_FAILURE() << what << ": the radio never heard END\n" << log;
        continue;
      }
      EXPECT_EQ(end, lastFrame) << what << "\n" << log;
      EXPECT_NE(closed, std::string::npos) << what << "\n" << log;
      EXPECT_LT(end, closed) << what << "\n" << log;
    }
  }
}

TEST_F(E2eTest, LineFaultsAreRecoveredWithoutTheUser) {
  const auto doc = makeDocument("doc.dat");
  const auto readDevice = radio({"--dat", doc, "--corrupt-every", "7", "--drop-every", "11"});
  const auto read = cli({"read", "--port", readDevice, "-o", path("out.dat")});
  EXPECT_EQ(read.status, 0) << read.err;
  EXPECT_EQ(read.err.find(MessageText(9008)), std::string::npos) << read.err;
  stopRadio();

  const auto memory = path("memory.bin");
  const auto writeDevice = radio({"--retry-every", "5", "--save", memory});
  const auto write = cli({"write", doc, "--port", writeDevice});
  EXPECT_EQ(write.status, 0) << write.err;
  stopRadio();
  ASSERT_EQ(cli({"pack", doc, "-o", path("image.bin")}).status, 0);
  expectWrittenImage(bytesOf(path("image.bin")), bytesOf(memory));
}

TEST_F(E2eTest, ARadioThatFallsSilentEndsInACleanFailure) {
  const auto doc = makeDocument("doc.dat");
  // An older data file in the output's place: a failed read must leave it as it was.
  const auto out = path("out.dat");
  fs::copy_file(doc, out);
  const auto before = bytesOf(out);
  for (const auto& flags : std::vector<std::vector<std::string>>{{}, {"--retries", "1"}}) {
    const auto device = radio({"--dat", doc, "--mute-after", "40"});
    std::vector<std::string> args{"read", "--port", device, "-o", out};
    args.insert(args.end(), flags.begin(), flags.end());
    const auto read = cli(args);
    EXPECT_EQ(read.status, 1) << read.err;
    EXPECT_NE(read.err.find(MessageText(9008)), std::string::npos) << read.err;
    EXPECT_EQ(bytesOf(out), before) << "the output file is untouched";
    stopRadio();
  }
}

TEST_F(E2eTest, APortThatDoesNotExistIsReported) {
  const auto read = cli({"read", "--port", path("no-such-device"), "-o", path("out.dat")});
  EXPECT_EQ(read.status, 1);
  EXPECT_NE(read.err.find(MessageText(9003)), std::string::npos) << read.err;
  EXPECT_FALSE(fs::exists(path("out.dat")));
}

// --password is taken as the password dialog takes what is typed: four
// characters, trailing blanks dropped.
TEST_F(E2eTest, ThePasswordFlagIsTakenAsTheDialogTakesIt) {
  const auto doc = makeDocument("doc.dat");
  struct Case {
    const char* radioPassword;
    const char* flag;
  };
  for (const auto& c : std::vector<Case>{{"12", "12 "}, {"1234", "12345"}, {"AB", "AB  "}}) {
    const auto device = radio({"--dat", doc, "--password", c.radioPassword});
    const auto read = cli({"read", "--port", device, "-o", path("out.dat"), "--password", c.flag});
    EXPECT_EQ(read.status, 0) << "radio \"" << c.radioPassword << "\", flag \"" << c.flag << "\"\n"
                              << read.err;
    stopRadio();
  }
}

// The radio's five further test frequency pairs are written by every program
// as the desktop program writes them, never as erased memory.
TEST_F(E2eTest, TheFivePointTestPairsReachTheRadio) {
  using testing::FivePointBytesOf;
  using testing::kFivePointBytes;
  const auto doc = makeDocument("doc.dat");

  ASSERT_EQ(cli({"pack", doc, "-o", path("image.bin")}).status, 0);
  EXPECT_EQ(FivePointBytesOf(bytesOf(path("image.bin"))), kFivePointBytes) << "pack";

  const auto written = path("written.bin");
  const auto device = radio({"--save", written});
  const auto write = cli({"write", doc, "--port", device});
  ASSERT_EQ(write.status, 0) << write.err;
  stopRadio();
  EXPECT_EQ(FivePointBytesOf(bytesOf(written)), kFivePointBytes) << "write";

  const auto started = path("started.bin");
  radio({"--dat", doc, "--save", started});
  stopRadio();
  EXPECT_EQ(FivePointBytesOf(bytesOf(started)), kFivePointBytes) << "virtual radio from --dat";
}

}  // namespace
}  // namespace cps::e2e
