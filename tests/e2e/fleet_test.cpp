// One document to many virtual radios with cps530-cli: several ports at the
// same time, where one radio failing leaves the others to complete, and a
// series of radios connected one after another to one line.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <random>

#include "message_text.hpp"
#include "process.hpp"

namespace cps::e2e {
namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

std::vector<char> bytesOf(const fs::path& p) {
  std::ifstream in(p, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::size_t countOf(const std::string& text, const std::string& part) {
  std::size_t n = 0;
  for (auto at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) ++n;
  return n;
}

class FleetE2eTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::random_device random;
    m_dir = fs::temp_directory_path() / ("cps530-fleet-" + std::to_string(random()));
    fs::create_directories(m_dir);
    m_doc = path("doc.dat");
    ASSERT_EQ(cli({"new", "-o", m_doc, "--model", "TW530G", "--band", "400 - 480 MHz"}).status, 0);
    ASSERT_EQ(cli({"edit", m_doc, "1", "rx", "435.1", "tx", "440.1", "decode", "67.0"}).status, 0);
    ASSERT_EQ(cli({"edit", m_doc, "17", "rx", "420.5", "ptt-id", "3"}).status, 0);
    ASSERT_EQ(cli({"pack", m_doc, "-o", path("packed.bin")}).status, 0);
    m_packed = bytesOf(path("packed.bin"));
    ASSERT_EQ(m_packed.size(), 2832u);
    // The radio keeps its own capability byte (0) in the identification block.
    m_packed[0xB0C] = 0;
  }
  void TearDown() override { fs::remove_all(m_dir); }

  std::string path(const std::string& name) const { return (m_dir / name).string(); }

  Finished cli(std::vector<std::string> args) {
    args.insert(args.begin(), {CPS_CLI, "--lang", "en"});
    Process p(args);
    return p.wait(60s);
  }

  // The radio's memory, as it saved it when it ended, holds the document.
  bool holdsTheDocument(const std::string& memory) const {
    const auto bytes = bytesOf(memory);
    return bytes.size() >= m_packed.size() &&
           std::equal(m_packed.begin(), m_packed.end(), bytes.begin());
  }

  // END was the last frame the radio heard, and the host let go of the line after it.
  static void expectEndLast(const std::string& log, const std::string& what) {
    const auto end = log.rfind("host  END | 45 4E 44");
    ASSERT_NE(end, std::string::npos) << what << ": the radio never heard END\n" << log;
    EXPECT_EQ(end, log.rfind("host  ")) << what << ": END was not the last frame";
    const auto closed = log.rfind("host closed the line");
    EXPECT_TRUE(closed != std::string::npos && end < closed) << what;
  }

  fs::path m_dir;
  std::string m_doc;
  std::vector<char> m_packed;
};

enum class Trouble { None, RefusesPassword, LosesABlock, Unplugged };

struct FleetCase {
  const char* name;
  Trouble trouble;  // of the second radio of three
  bool verify;
  const char* reason;  // what the summary says of the second radio
};

void PrintTo(const FleetCase& c, std::ostream* os) { *os << c.name; }

class FleetCases : public FleetE2eTest, public ::testing::WithParamInterface<FleetCase> {};

TEST_P(FleetCases, EveryOtherRadioCompletesWithExactlyTheDocument) {
  const auto& c = GetParam();
  std::vector<std::unique_ptr<Process>> radios;
  std::vector<std::string> devices;
  for (int i = 0; i < 3; ++i) {
    std::vector<std::string> args{CPS_RADIOSIM, "--verbose", "--save",
                                  path("memory" + std::to_string(i) + ".img")};
    // Unplugging needs time to happen in: every radio at the line's own speed.
    if (c.trouble == Trouble::Unplugged) args.insert(args.end(), {"--pace", "9600"});
    if (i == 1 && c.trouble == Trouble::RefusesPassword) {
      args.insert(args.end(), {"--password", "1234"});
    }
    if (i == 1 && c.trouble == Trouble::LosesABlock)
      args.insert(args.end(), {"--forget-every", "43"});
    radios.push_back(std::make_unique<Process>(args));
    devices.push_back(radios.back()->readLine(10s));
    ASSERT_FALSE(devices.back().empty()) << "the virtual radio printed no device";
  }
  std::vector<std::string> args{CPS_CLI, "--lang", "en", "write", m_doc};
  for (const auto& d : devices) args.insert(args.end(), {"--port", d});
  if (c.verify) args.push_back("--verify");
  Process write(args);
  if (c.trouble == Trouble::Unplugged) {
    // Pulled out part-way through the blocks.
    ASSERT_TRUE(radios[1]->waitForErr("host  write", 40, 30s));
    radios[1]->sendSignal(SIGKILL);
  }
  const auto run = write.wait(60s);
  ASSERT_NE(run.status, -1) << "the fleet did not end\n" << run.err;

  std::vector<std::string> logs;
  for (std::size_t i = 0; i < radios.size(); ++i) {
    radios[i]->terminate();
    logs.push_back(radios[i]->wait(10s).err);
  }
  const bool allWell = c.trouble == Trouble::None;
  EXPECT_EQ(run.status, allWell ? 0 : 1) << run.out << run.err;
  const std::string done = c.verify ? "Written and checked" : "Written";
  for (std::size_t i = 0; i < radios.size(); ++i) {
    const auto rowAt = run.out.find(devices[i] + "  ");
    ASSERT_NE(rowAt, std::string::npos) << "the summary names every port\n" << run.out;
    const auto row = run.out.substr(rowAt, run.out.find('\n', rowAt) - rowAt);
    if (i == 1 && !allWell) {
      EXPECT_NE(row.find(std::string("Failed: ") + c.reason), std::string::npos) << row;
      if (c.trouble != Trouble::Unplugged) expectEndLast(logs[i], devices[i]);
      continue;
    }
    EXPECT_NE(row.find("TW530G 400 - 480 MHz V200  " + done), std::string::npos) << row;
    EXPECT_TRUE(holdsTheDocument(path("memory" + std::to_string(i) + ".img"))) << devices[i];
    expectEndLast(logs[i], devices[i]);
  }
  EXPECT_NE(run.out.find(allWell ? "3 of 3 radios written." : "2 of 3 radios written."),
            std::string::npos)
      << run.out;
}

INSTANTIATE_TEST_SUITE_P(
    Fleet, FleetCases,
    ::testing::Values(FleetCase{"AllSucceed", Trouble::None, true, ""},
                      FleetCase{"OneRefusesThePassword", Trouble::RefusesPassword, false,
                                "the radio refused the programming password"},
                      FleetCase{"OneLosesABlockUnderVerify", Trouble::LosesABlock, true,
                                "the radio does not hold what was written"},
                      FleetCase{"OneUnpluggedMidWrite", Trouble::Unplugged, false,
                                "no answer from the radio"}),
    [](const ::testing::TestParamInfo<FleetCase>& row) { return std::string(row.param.name); });

// Three radios connected one after another to the same line (the radio's
// line appears at one path, as a USB cable keeps its name): each is written,
// counted, and the series ends when the user types q.
class SeriesCases : public FleetE2eTest, public ::testing::WithParamInterface<bool> {};

TEST_P(SeriesCases, ThreeRadiosOneAfterAnotherOnOneLine) {
  const bool automatic = GetParam();
  const auto line = path("line");
  const auto connect = [&](int i) {
    auto radio = std::make_unique<Process>(std::vector<std::string>{
        CPS_RADIOSIM, "--verbose", "--link", line, "--save", path("series" + std::to_string(i))});
    EXPECT_FALSE(radio->readLine(10s).empty());
    return radio;
  };
  auto radio = connect(0);
  std::vector<std::string> args{CPS_CLI, "--lang",   "en",     "write",
                                m_doc,   "--series", "--port", line};
  if (automatic) args.push_back("--auto");
  Process series(args, true);
  const std::string ready =
      automatic ? "Waiting for the next radio on " + line : std::string(MessageText(29622));
  for (int i = 0; i < 3; ++i) {
    // Automatic: the first radio is found by its answer; Enter: it is on the cable already.
    const std::size_t readyBefore = automatic ? static_cast<std::size_t>(i) + 1 : i;
    if (readyBefore > 0) {
      ASSERT_TRUE(series.waitForErr(ready, readyBefore, 30s)) << i;
    }
    const auto written = series.readLine(30s);
    EXPECT_NE(written.find("Radio " + std::to_string(i + 1) + " " + line), std::string::npos)
        << written;
    EXPECT_NE(written.find("Written"), std::string::npos) << written;
    // The radio is taken off the cable (its memory is saved as it goes).
    if (!automatic) ASSERT_TRUE(series.waitForErr(ready, i + 1, 30s));
    radio->terminate();
    const auto log = radio->wait(10s).err;
    // The write ended with END; the line may have been polled since.
    const auto lastBlock = log.rfind("host  write 0B00+16");
    ASSERT_NE(lastBlock, std::string::npos) << log;
    EXPECT_NE(log.find("host  END", lastBlock), std::string::npos) << log;
    EXPECT_TRUE(holdsTheDocument(path("series" + std::to_string(i)))) << i;
    if (i < 2) {
      if (automatic) ASSERT_TRUE(series.waitForErr(ready, i + 2, 30s));
      radio = connect(i + 1);
      if (!automatic) series.type("\n");
    }
  }
  series.type("q\n");
  const auto run = series.wait(30s);
  EXPECT_EQ(run.status, 0) << run.out << run.err;
  EXPECT_EQ(countOf(run.out, line + "  TW530G 400 - 480 MHz V200  Written"), 3u) << run.out;
  EXPECT_NE(run.out.find("3 of 3 radios written."), std::string::npos) << run.out;
}

INSTANTIATE_TEST_SUITE_P(Series, SeriesCases, ::testing::Bool(),
                         [](const ::testing::TestParamInfo<bool>& row) {
                           return std::string(row.param ? "WhenARadioAnswers" : "OnEnter");
                         });

// One failing radio of a series does not end it; the summary names it.
TEST_F(FleetE2eTest, ASeriesGoesOnAfterARadioFails) {
  const auto line = path("line");
  auto radio = std::make_unique<Process>(
      std::vector<std::string>{CPS_RADIOSIM, "--link", line, "--password", "1234"});
  ASSERT_FALSE(radio->readLine(10s).empty());
  Process series({CPS_CLI, "--lang", "en", "write", m_doc, "--series", "--port", line}, true);
  EXPECT_NE(series.readLine(30s).find("Failed: the radio refused the programming password"),
            std::string::npos);
  ASSERT_TRUE(series.waitForErr(MessageText(29622), 1, 30s));
  radio->terminate();
  radio->wait(10s);
  radio = std::make_unique<Process>(
      std::vector<std::string>{CPS_RADIOSIM, "--link", line, "--save", path("second")});
  ASSERT_FALSE(radio->readLine(10s).empty());
  series.type("\n");
  EXPECT_NE(series.readLine(30s).find("Written"), std::string::npos);
  series.closeInput();
  const auto run = series.wait(30s);
  EXPECT_EQ(run.status, 1) << "a series with a failed radio fails\n" << run.out;
  EXPECT_NE(run.out.find("1 of 2 radios written."), std::string::npos) << run.out;
  radio->terminate();
  radio->wait(10s);
  EXPECT_TRUE(holdsTheDocument(path("second")));
}

}  // namespace
}  // namespace cps::e2e
