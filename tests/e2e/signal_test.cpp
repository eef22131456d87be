// Ctrl+C, kill and a closed terminal while cps530-cli talks to virtual radios:
// every transfer stops as Cancel stops it (each radio hears END before its
// line closes), the result of every radio is still told, and the run ends
// with the signal's status. One radio under two names is refused, and a second
// program on a radio's line is told the port is in use.
#include <gtest/gtest.h>

#include <csignal>
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

// The line of `text` that holds both parts; empty when none does.
std::string lineWith(const std::string& text, const std::string& first, const std::string& second) {
  std::size_t start = 0;
  while (start < text.size()) {
    auto end = text.find('\n', start);
    if (end == std::string::npos) end = text.size();
    const std::string line = text.substr(start, end - start);
    if (line.find(first) != std::string::npos && line.find(second) != std::string::npos) {
      return line;
    }
    start = end + 1;
  }
  return {};
}

class SignalE2eTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::random_device random;
    m_dir = fs::temp_directory_path() / ("cps530-signal-" + std::to_string(random()));
    fs::create_directories(m_dir);
    m_doc = path("doc.dat");
    ASSERT_EQ(cli({"new", "-o", m_doc, "--model", "TW530G", "--band", "400 - 480 MHz"}).status, 0);
    ASSERT_EQ(cli({"edit", m_doc, "1", "rx", "435.1", "tx", "440.1"}).status, 0);
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

  // A virtual radio at the line's own speed, so that a transfer lasts long
  // enough to be stopped part-way; every frame on its log.
  struct Radio {
    std::unique_ptr<Process> process;
    std::string device;
  };
  Radio radio(const std::string& name, unsigned baud = 9600, const std::string& link = {}) {
    std::vector<std::string> args{CPS_RADIOSIM,         "--verbose", "--pace",
                                  std::to_string(baud), "--save",    path(name + ".img")};
    if (!link.empty()) args.insert(args.end(), {"--link", link});
    Radio r{std::make_unique<Process>(args), {}};
    r.device = r.process->readLine(10s);
    EXPECT_FALSE(r.device.empty()) << "the virtual radio printed no device";
    return r;
  }

  bool holdsTheDocument(const std::string& name) const {
    const auto bytes = bytesOf(path(name + ".img"));
    return bytes.size() >= m_packed.size() &&
           std::equal(m_packed.begin(), m_packed.end(), bytes.begin());
  }

  // END was the last frame the radio heard, and the host let go of the line after it.
  static void expectEndLast(const std::string& log, const std::string& what) {
    const auto end = log.rfind("host  END | 45 4E 44");
    ASSERT_NE(end, std::string::npos) << what << ": the radio never heard END\n" << log;
    EXPECT_EQ(end, log.rfind("host  ")) << what << ": END was not the last frame\n" << log;
    const auto closed = log.rfind("host closed the line");
    EXPECT_TRUE(closed != std::string::npos && end < closed) << what << '\n' << log;
  }

  fs::path m_dir;
  std::string m_doc;
  std::vector<char> m_packed;
};

enum class Verb { Write, Read, Info, TwoPortWrite, VerifiedWrite, Series };

struct SignalCase {
  const char* name;
  Verb verb;
  int signal;
  // Frames of this kind the first radio has seen before the signal is sent.
  const char* frame;
  std::size_t frames;
};

void PrintTo(const SignalCase& c, std::ostream* os) { *os << c.name; }

class SignalCases : public SignalE2eTest, public ::testing::WithParamInterface<SignalCase> {};

TEST_P(SignalCases, EveryRadioHearsEndAndTheResultIsTold) {
  const auto& c = GetParam();
  // The information read is short: its radio answers four times slower.
  const unsigned baud = c.verb == Verb::Info ? 2400 : 9600;
  std::vector<Radio> radios;
  radios.push_back(radio("r0", baud));
  if (c.verb == Verb::TwoPortWrite) radios.push_back(radio("r1", baud));
  ASSERT_FALSE(radios.back().device.empty());

  std::vector<std::string> args{CPS_CLI, "--lang", "en"};
  switch (c.verb) {
    case Verb::Write:
    case Verb::TwoPortWrite:
      args.insert(args.end(), {"write", m_doc});
      break;
    case Verb::VerifiedWrite:
      args.insert(args.end(), {"write", m_doc, "--verify"});
      break;
    case Verb::Read:
      args.insert(args.end(), {"read", "-o", path("read.dat")});
      break;
    case Verb::Info:
      args.insert(args.end(), {"info"});
      break;
    case Verb::Series:
      args.insert(args.end(), {"write", m_doc, "--series"});
      break;
  }
  for (const auto& r : radios) args.insert(args.end(), {"--port", r.device});
  // A series waits for Enter after each radio; its input is a pipe left open.
  Process program(args, c.verb == Verb::Series);
  ASSERT_TRUE(radios[0].process->waitForErr(c.frame, c.frames, 30s)) << "the transfer never ran";
  program.sendSignal(c.signal);
  const auto run = program.wait(30s);
  ASSERT_NE(run.status, -1) << "the program did not end\n" << run.err;
  EXPECT_EQ(run.status, 128 + c.signal) << run.out << run.err;

  const std::string stopped = MessageText(29618);
  for (std::size_t i = 0; i < radios.size(); ++i) {
    const auto& device = radios[i].device;
    const bool summary = c.verb == Verb::TwoPortWrite || c.verb == Verb::Series;
    // Several radios and a series have their table; a single transfer one line on stderr.
    const std::string told = summary ? lineWith(run.out, device + "  ", stopped)
                                     : lineWith(run.err, "cps530-cli: " + device + ": ", stopped);
    EXPECT_FALSE(told.empty()) << device << " is not told as stopped\n" << run.out << run.err;
    radios[i].process->terminate();
    expectEndLast(radios[i].process->wait(10s).err, device);
  }
  if (c.verb == Verb::Read)
    EXPECT_FALSE(fs::exists(path("read.dat"))) << "a stopped read saves nothing";
  if (c.verb == Verb::Series || c.verb == Verb::TwoPortWrite) {
    EXPECT_NE(run.out.find("0 of " + std::to_string(radios.size()) + " radios written."),
              std::string::npos)
        << run.out;
  }
}

INSTANTIATE_TEST_SUITE_P(
    Signals, SignalCases,
    ::testing::Values(
        SignalCase{"WriteStoppedByCtrlC", Verb::Write, SIGINT, "host  write", 20},
        SignalCase{"ReadStoppedByKill", Verb::Read, SIGTERM, "host  read", 20},
        SignalCase{"InfoStoppedByHangUp", Verb::Info, SIGHUP, "host  read", 3},
        SignalCase{"TwoPortWriteStoppedByCtrlC", Verb::TwoPortWrite, SIGINT, "host  write", 20},
        SignalCase{"CheckOfAWriteStoppedByKill", Verb::VerifiedWrite, SIGTERM, "host  read", 20},
        SignalCase{"SeriesStoppedByHangUp", Verb::Series, SIGHUP, "host  write", 20}),
    [](const ::testing::TestParamInfo<SignalCase>& row) { return std::string(row.param.name); });

// A series that finds its radios by their answer needs no input: with its
// input at its end from the start (a script, a service) it writes the radio
// that answers and waits for the next one, until a signal ends it with the
// summary of what it wrote.
TEST_F(SignalE2eTest, AnAutomaticSeriesWithoutInputWritesUntilASignalEndsIt) {
  const auto line = path("line");
  auto first = radio("series0", 9600, line);
  ASSERT_FALSE(first.device.empty());
  Process series({CPS_CLI, "--lang", "en", "write", m_doc, "--series", "--auto", "--port", line});
  const auto written = series.readLine(30s);
  EXPECT_NE(written.find("Radio 1 " + line), std::string::npos) << written;
  EXPECT_NE(written.find("Written"), std::string::npos) << written;
  // The radio is taken off the cable; the series waits for the next.
  first.process->terminate();
  const auto log = first.process->wait(10s).err;
  EXPECT_TRUE(holdsTheDocument("series0"));
  expectEndLast(log, line);
  // Said before the first radio, and again once the line is silent.
  ASSERT_TRUE(series.waitForErr("Waiting for the next radio on " + line, 2, 30s));
  EXPECT_TRUE(series.waitForErr("(Ctrl+C ends the series)", 2, 1s))
      << "without input, q cannot end it";
  series.sendSignal(SIGINT);
  const auto run = series.wait(30s);
  EXPECT_EQ(run.status, 130) << run.out << run.err;
  EXPECT_NE(run.out.find("1 of 1 radios written."), std::string::npos) << run.out;
}

// A second Ctrl+C while the first is being handled ends the program at once;
// it does not hang.
TEST_F(SignalE2eTest, ASecondCtrlCEndsAtOnce) {
  auto r = radio("r0");
  ASSERT_FALSE(r.device.empty());
  Process write({CPS_CLI, "--lang", "en", "write", m_doc, "--port", r.device});
  ASSERT_TRUE(r.process->waitForErr("host  write", 10, 30s));
  write.sendSignal(SIGINT);
  write.sendSignal(SIGINT);
  EXPECT_EQ(write.wait(10s).status, 130);
}

// One radio under two names, the device and a link to it, is refused before
// anything is sent: two sessions on one line would break each other's write.
TEST_F(SignalE2eTest, OneDeviceUnderTwoNamesIsRefused) {
  const auto link = path("link");
  auto r = radio("r0", 9600, link);
  ASSERT_FALSE(r.device.empty());
  const auto run = cli({"write", m_doc, "--port", r.device, "--port", link});
  EXPECT_EQ(run.status, 2) << run.err;
  EXPECT_NE(run.err.find(r.device + " and " + link + " are the same device"), std::string::npos)
      << run.err;
  r.process->terminate();
  EXPECT_EQ(r.process->wait(10s).err.find("host  PROGRAM"), std::string::npos)
      << "the radio heard nothing";
}

// A second program on a radio's line, under the device's name or a link's, is
// told the port is in use, and the first program's write goes on to its end.
TEST_F(SignalE2eTest, ASecondProgramIsToldThePortIsInUse) {
  const auto link = path("link");
  auto r = radio("r0", 9600, link);
  ASSERT_FALSE(r.device.empty());
  Process write({CPS_CLI, "--lang", "en", "write", m_doc, "--port", r.device});
  ASSERT_TRUE(r.process->waitForErr("host  write", 10, 30s));
  std::string inUse = MessageText(9035);
  inUse.replace(inUse.find("%1"), 2, r.device);
  for (const auto& name : {link, r.device}) {
    const auto second = cli({"info", "--port", name});
    EXPECT_EQ(second.status, 1) << name << '\n' << second.err;
    EXPECT_NE(second.err.find(inUse), std::string::npos) << name << '\n' << second.err;
  }
  const auto first = write.wait(60s);
  EXPECT_EQ(first.status, 0) << first.err;
  r.process->terminate();
  const auto log = r.process->wait(10s).err;
  EXPECT_EQ(countOf(log, "host  PROGRAM"), 1u) << "only the first program spoke\n" << log;
  EXPECT_TRUE(holdsTheDocument("r0"));
}

}  // namespace
}  // namespace cps::e2e
