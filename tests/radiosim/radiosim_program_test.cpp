// cps530-radiosim itself, over a real pseudo-terminal, as a host program meets
// it: the printed line path, raw bytes both ways, a host that closes and
// reopens its port, the link, saving, --once and the stop signals. Replies are
// awaited with a generous time-out; no test depends on how fast anything is.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <termios.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "radiosim/radio_memory.hpp"
#include "temp_folder.hpp"
#include "test_bytes.hpp"

extern char** environ;

namespace cps::radiosim {
namespace {

using namespace test;
using namespace std::chrono_literals;
namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

constexpr auto kGenerous = 10s;

int msUntil(Clock::time_point deadline) {
  const auto left = std::chrono::ceil<std::chrono::milliseconds>(deadline - Clock::now()).count();
  return static_cast<int>(std::max<decltype(left)>(left, 0));
}

Bytes readFile(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::string readText(const fs::path& path) {
  const auto bytes = readFile(path);
  return std::string(bytes.begin(), bytes.end());
}

// The program, started with its standard output on a pipe and its errors in a file.
class RadioProgram {
 public:
  RadioProgram(std::vector<std::string> args, const fs::path& errors) {
    args.insert(args.begin(), CPS_RADIOSIM_PROGRAM);
    std::vector<char*> argv;
    for (auto& a : args) argv.push_back(a.data());
    argv.push_back(nullptr);

    int out[2];
    if (::pipe(out) != 0) return;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, out[1], STDOUT_FILENO);
    posix_spawn_file_actions_addclose(&actions, out[0]);
    posix_spawn_file_actions_addclose(&actions, out[1]);
    posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, errors.c_str(),
                                     O_WRONLY | O_CREAT | O_TRUNC, 0644);
    if (::posix_spawn(&m_pid, argv[0], &actions, nullptr, argv.data(), environ) != 0) m_pid = -1;
    posix_spawn_file_actions_destroy(&actions);
    ::close(out[1]);
    m_stdout = out[0];
    m_line = readLine();
  }

  ~RadioProgram() {
    if (m_pid > 0) {
      ::kill(m_pid, SIGKILL);
      ::waitpid(m_pid, nullptr, 0);
    }
    if (m_stdout >= 0) ::close(m_stdout);
  }

  // The first line of standard output: the path of the line.
  const std::string& line() const { return m_line; }

  // Sends the signal and returns the exit status.
  std::optional<int> stop(int signal = SIGTERM) {
    if (m_pid > 0) ::kill(m_pid, signal);
    return waitForExit();
  }

  // The exit status once the program has ended by itself; none if it does not.
  std::optional<int> waitForExit(std::chrono::seconds timeout = kGenerous) {
    if (m_pid <= 0) return std::nullopt;
    // The program's end closes its standard output.
    const auto deadline = Clock::now() + timeout;
    char buffer[256];
    for (;;) {
      pollfd fd{m_stdout, POLLIN, 0};
      if (::poll(&fd, 1, msUntil(deadline)) <= 0) return std::nullopt;
      if (::read(m_stdout, buffer, sizeof buffer) <= 0) break;
    }
    int status = 0;
    if (::waitpid(m_pid, &status, 0) != m_pid) return std::nullopt;
    m_pid = -1;
    return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
  }

 private:
  std::string readLine() {
    std::string line;
    const auto deadline = Clock::now() + kGenerous;
    char c = 0;
    for (;;) {
      pollfd fd{m_stdout, POLLIN, 0};
      if (::poll(&fd, 1, msUntil(deadline)) <= 0 || ::read(m_stdout, &c, 1) != 1 || c == '\n') {
        return line;
      }
      line += c;
    }
  }

  pid_t m_pid = -1;
  int m_stdout = -1;
  std::string m_line;
};

// The host's side: the line opened as a program opens a serial port, in raw mode.
class HostPort {
 public:
  explicit HostPort(const std::string& path) {
    m_fd = ::open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK);
    if (m_fd < 0) return;
    termios line{};
    ::tcgetattr(m_fd, &line);
    ::cfmakeraw(&line);
    ::cfsetispeed(&line, B9600);
    ::cfsetospeed(&line, B9600);
    ::tcsetattr(m_fd, TCSANOW, &line);
  }
  ~HostPort() { close(); }
  HostPort(const HostPort&) = delete;
  HostPort& operator=(const HostPort&) = delete;

  bool isOpen() const { return m_fd >= 0; }
  void close() {
    if (m_fd >= 0) ::close(m_fd);
    m_fd = -1;
  }

  void send(const Bytes& frame) {
    ASSERT_EQ(::write(m_fd, frame.data(), frame.size()), static_cast<ssize_t>(frame.size()));
  }

  // Up to count bytes, whatever arrived before the time-out.
  Bytes receive(std::size_t count) {
    Bytes got;
    const auto deadline = Clock::now() + kGenerous;
    while (got.size() < count) {
      pollfd fd{m_fd, POLLIN, 0};
      if (::poll(&fd, 1, msUntil(deadline)) <= 0) break;
      std::uint8_t buffer[512];
      const auto n = ::read(m_fd, buffer, std::min(sizeof buffer, count - got.size()));
      if (n > 0) got.insert(got.end(), buffer, buffer + n);
    }
    return got;
  }

  // Sends a frame and returns as many bytes as the expected answer has.
  Bytes exchange(const Bytes& frame, const Bytes& expected) {
    send(frame);
    return receive(expected.size());
  }

 private:
  int m_fd = -1;
};

const Bytes kDefaultIdent =
    text("PTW530G") + Bytes{0x00, 0x00} + text("V200") + Bytes{0x00, 0x00, 0x06};

// A transfer in brief: handshake, identification, password block, one block
// written and read back, end.
void transfer(HostPort& host, std::uint16_t address, const Bytes& data) {
  EXPECT_EQ(host.exchange(kProgram, kHandshakeAck), kHandshakeAck);
  EXPECT_EQ(host.exchange(kIdentRequest, kDefaultIdent), kDefaultIdent);
  const Bytes password = dataFrame(0xB30, repeat(0xFF, 16));
  EXPECT_EQ(host.exchange(readRequest(0xB30), password), password);
  EXPECT_EQ(host.exchange(dataFrame(address, data), kAck), kAck);
  EXPECT_EQ(host.exchange(readRequest(address), dataFrame(address, data)),
            dataFrame(address, data));
  EXPECT_EQ(host.exchange(kEnd, kAck), kAck);
}

TEST(RadiosimProgram, PrintsTheLineAndAnswersOnIt) {
  TempFolder folder;
  RadioProgram radio({}, folder / "errors.txt");
  ASSERT_FALSE(radio.line().empty()) << readText(folder / "errors.txt");
  struct stat status {};
  ASSERT_EQ(::stat(radio.line().c_str(), &status), 0) << radio.line();
  EXPECT_TRUE(S_ISCHR(status.st_mode));

  HostPort host(radio.line());
  ASSERT_TRUE(host.isOpen());
  transfer(host, 0x000, ladder());
  EXPECT_EQ(radio.stop(SIGTERM), 0);
}

TEST(RadiosimProgram, HostClosesAndReopensBetweenTransfers) {
  TempFolder folder;
  RadioProgram radio({}, folder / "errors.txt");
  ASSERT_FALSE(radio.line().empty());
  for (std::uint16_t round = 0; round < 3; ++round) {
    HostPort host(radio.line());
    ASSERT_TRUE(host.isOpen()) << "round " << round;
    transfer(host, static_cast<std::uint16_t>(0x100 + 16 * round), ladder());
  }
  // Without an END in between as well, as after a link check.
  for (int round = 0; round < 2; ++round) {
    HostPort host(radio.line());
    EXPECT_EQ(host.exchange(kProgram, kHandshakeAck), kHandshakeAck);
  }
  HostPort host(radio.line());
  EXPECT_EQ(
      host.exchange(kProgram + readRequest(0x110), kHandshakeAck + dataFrame(0x110, ladder())),
      kHandshakeAck + dataFrame(0x110, ladder()));
  EXPECT_EQ(radio.stop(SIGTERM), 0);
}

TEST(RadiosimProgram, LinkSaveAndCleanStop) {
  TempFolder folder;
  const auto link = folder / "radio";
  const auto saved = folder / "memory.img";
  fs::create_symlink("/nonexistent/old-line", link);  // an old link is replaced
  RadioProgram radio({"--link", link.string(), "--save", saved.string(), "--password", "ab"},
                     folder / "errors.txt");
  ASSERT_FALSE(radio.line().empty()) << readText(folder / "errors.txt");
  ASSERT_TRUE(fs::is_symlink(link));
  EXPECT_EQ(fs::read_symlink(link).string(), radio.line());
  {
    HostPort host(link.string());
    ASSERT_TRUE(host.isOpen());
    EXPECT_EQ(host.exchange(kProgram, kHandshakeAck), kHandshakeAck);
    EXPECT_EQ(host.exchange(dataFrame(0x000, ladder()), kAck), kAck);
    EXPECT_EQ(host.exchange(kEnd, kAck), kAck);
  }
  // Saved before the END was acknowledged.
  auto memory = readFile(saved);
  ASSERT_EQ(memory.size(), kMemorySize);
  EXPECT_EQ(Bytes(memory.begin(), memory.begin() + 16), ladder());
  EXPECT_EQ(Bytes(memory.begin() + 0xB3C, memory.begin() + 0xB40), text("ab") + repeat(0xFF, 2));

  // A block written without an END is saved when the radio is stopped.
  {
    HostPort host(link.string());
    EXPECT_EQ(host.exchange(kProgram, kHandshakeAck), kHandshakeAck);
    EXPECT_EQ(host.exchange(dataFrame(0x010, ladder()), kAck), kAck);
  }
  EXPECT_EQ(radio.stop(SIGINT), 0);
  EXPECT_FALSE(fs::exists(fs::symlink_status(link)));
  memory = readFile(saved);
  ASSERT_EQ(memory.size(), kMemorySize);
  EXPECT_EQ(Bytes(memory.begin() + 16, memory.begin() + 32), ladder());
}

TEST(RadiosimProgram, LinkPathThatIsAFileIsLeftAlone) {
  TempFolder folder;
  const auto notALink = folder / "file";
  std::ofstream(notALink) << "keep me";
  RadioProgram radio({"--link", notALink.string()}, folder / "errors.txt");
  EXPECT_TRUE(radio.line().empty());
  EXPECT_EQ(radio.waitForExit(), 1);
  EXPECT_EQ(readText(notALink), "keep me");
  EXPECT_NE(readText(folder / "errors.txt").find("not a symbolic link"), std::string::npos);
}

TEST(RadiosimProgram, OnceEndsWhenTheHostClosesAfterATransfer) {
  TempFolder folder;
  RadioProgram radio({"--once"}, folder / "errors.txt");
  ASSERT_FALSE(radio.line().empty());
  {
    // A link check: handshake only. Closing after it does not end the radio.
    HostPort host(radio.line());
    EXPECT_EQ(host.exchange(kProgram, kHandshakeAck), kHandshakeAck);
  }
  {
    HostPort host(radio.line());
    ASSERT_TRUE(host.isOpen());
    transfer(host, 0x000, ladder());
  }
  EXPECT_EQ(radio.waitForExit(), 0);
}

TEST(RadiosimProgram, OnceHearsTheEndSentJustBeforeTheClose) {
  TempFolder folder;
  RadioProgram radio({"--once"}, folder / "errors.txt");
  ASSERT_FALSE(radio.line().empty());
  {
    HostPort host(radio.line());
    EXPECT_EQ(host.exchange(kProgram, kHandshakeAck), kHandshakeAck);
    host.send(kEnd);  // a failed transfer: END, no answer awaited, port closed
  }
  EXPECT_EQ(radio.waitForExit(), 0);
}

TEST(RadiosimProgram, EchoingCable) {
  TempFolder folder;
  RadioProgram radio({"--echo"}, folder / "errors.txt");
  ASSERT_FALSE(radio.line().empty());
  HostPort host(radio.line());
  EXPECT_EQ(host.exchange(kProgram, kProgram + kHandshakeAck), kProgram + kHandshakeAck);
  EXPECT_EQ(host.exchange(kIdentRequest, kIdentRequest + kDefaultIdent),
            kIdentRequest + kDefaultIdent);
  EXPECT_EQ(radio.stop(), 0);
}

TEST(RadiosimProgram, OptionsReachTheRadio) {
  TempFolder folder;
  RadioProgram radio({"--model", "TW530", "--band-code", "0x08", "--firmware", "V210", "--caps",
                      "4", "--password", "ab", "--corrupt-every", "2", "--verbose"},
                     folder / "errors.txt");
  ASSERT_FALSE(radio.line().empty());
  HostPort host(radio.line());
  EXPECT_EQ(host.exchange(kProgram, kHandshakeAck), kHandshakeAck);
  const Bytes ident =
      text("PTW530") + Bytes{0x00, 0x00, 0x08} + text("V210") + Bytes{0x04, 0x00, 0x06};
  EXPECT_EQ(host.exchange(kIdentRequest, ident), ident);
  const Bytes block =
      text("TW530") + Bytes{0x00, 0x00, 0x08} + text("V210") + Bytes{0x04, 0xFF, 0xFF, 0xFF};
  EXPECT_EQ(host.exchange(readRequest(0xB00), dataFrame(0xB00, block)), dataFrame(0xB00, block));
  const Bytes password = repeat(0xFF, 12) + text("ab") + repeat(0xFF, 2);
  const Bytes corrupt = dataFrame(0xB30, password, (checksumOf(0xB30, password) + 1) % 256);
  EXPECT_EQ(host.exchange(readRequest(0xB30), corrupt), corrupt);
  EXPECT_EQ(radio.stop(), 0);
  const auto log = readText(folder / "errors.txt");
  EXPECT_NE(log.find("host  PROGRAM | 50 52 4F 47 52 41 4D"), std::string::npos) << log;
  EXPECT_NE(log.find("radio handshake ack | 54 57 06"), std::string::npos) << log;
}

TEST(RadiosimProgram, NoiseIsGivenUpWhenTheLineGoesQuiet) {
  TempFolder folder;
  RadioProgram radio({}, folder / "errors.txt");
  ASSERT_FALSE(radio.line().empty());
  HostPort host(radio.line());
  // "W", address 0x100 and a length of 0x50 ("P"): the radio waits for a block
  // that never comes, until the line has been quiet a while.
  EXPECT_EQ(host.exchange(Bytes{'W', 0x01, 0x00} + kProgram, kHandshakeAck), kHandshakeAck);
  EXPECT_EQ(radio.stop(), 0);
}

// Only a lower bound: a paced radio never answers faster than the line could
// carry the request and the answer; how much slower it is, is not checked.
TEST(RadiosimProgram, PacedAnswersAreNoFasterThanTheLine) {
  TempFolder folder;
  RadioProgram radio({"--pace", "2400"}, folder / "errors.txt");
  ASSERT_FALSE(radio.line().empty());
  HostPort host(radio.line());
  EXPECT_EQ(host.exchange(kProgram, kHandshakeAck), kHandshakeAck);
  const auto started = Clock::now();
  const Bytes block = dataFrame(0x000, repeat(0xFF, 16));
  EXPECT_EQ(host.exchange(readRequest(0x000), block), block);
  const auto took = Clock::now() - started;
  // 4 + 22 bytes of 10 bits at 2400 baud: 108 ms.
  EXPECT_GE(took, 100ms);
  EXPECT_EQ(radio.stop(), 0);
}

TEST(RadiosimProgram, RefusesAnImageOfAnotherSize) {
  TempFolder folder;
  std::ofstream(folder / "small.img", std::ios::binary) << std::string(100, '\xFF');
  RadioProgram radio({"--image", (folder / "small.img").string()}, folder / "errors.txt");
  EXPECT_TRUE(radio.line().empty());
  EXPECT_EQ(radio.waitForExit(), 1);
  EXPECT_NE(readText(folder / "errors.txt").find("3328 bytes"), std::string::npos)
      << readText(folder / "errors.txt");
}

TEST(RadiosimProgram, UsageErrorsEndWithStatus2) {
  TempFolder folder;
  RadioProgram radio({"--caps", "999"}, folder / "errors.txt");
  EXPECT_TRUE(radio.line().empty());
  EXPECT_EQ(radio.waitForExit(), 2);
}

}  // namespace
}  // namespace cps::radiosim
