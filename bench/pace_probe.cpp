// How exactly the virtual radio keeps the line's speed: a host that does
// nothing but send the frames of a whole read (or write) and wait for each
// answer, with one blocking wait per answer, so that what is left between its
// wall time and the line time is the radio's own.
//
//   cps530-pace-probe LINE [--write] [--echo] [--baud N]
//
// Prints the wall time, the line time (every byte both ways, ten bits a byte;
// an echo is not counted, it travels back while the host is still sending)
// and their ratio. Exit status 1 when the radio does not answer as expected.
#include <fcntl.h>
#include <poll.h>
#include <termios.h>
#include <unistd.h>

#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "core/link/engine.hpp"

namespace {

using Bytes = std::vector<std::uint8_t>;
using Clock = std::chrono::steady_clock;

constexpr int kBlocks = cps::kWholeRadioBlocks;
constexpr int kBlockLength = 16;
constexpr int kDataFrameLength = kBlockLength + 6;
constexpr int kAnswerPatienceMs = 2000;

bool sendAll(int fd, const Bytes& frame) {
  return ::write(fd, frame.data(), frame.size()) == static_cast<ssize_t>(frame.size());
}

// Reads exactly `count` bytes, or fails after a long silence.
bool receive(int fd, std::size_t count) {
  std::uint8_t buffer[512];
  while (count > 0) {
    pollfd wait{fd, POLLIN, 0};
    if (::poll(&wait, 1, kAnswerPatienceMs) <= 0) return false;
    const auto n = ::read(fd, buffer, std::min(sizeof buffer, count));
    if (n <= 0) return false;
    count -= static_cast<std::size_t>(n);
  }
  return true;
}

Bytes readRequest(int address) {
  return {'R', static_cast<std::uint8_t>(address >> 8), static_cast<std::uint8_t>(address & 0xFF),
          kBlockLength};
}

// A block of 0xFF for the address, with its checksum and the closing 0x06.
Bytes dataFrame(int address) {
  Bytes frame{'W', static_cast<std::uint8_t>(address >> 8),
              static_cast<std::uint8_t>(address & 0xFF), kBlockLength};
  frame.insert(frame.end(), kBlockLength, 0xFF);
  unsigned sum = 0;
  for (std::size_t i = 1; i < frame.size(); ++i) sum += frame[i];
  frame.push_back(static_cast<std::uint8_t>(sum & 0xFFu));
  frame.push_back(0x06);
  return frame;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: cps530-pace-probe LINE [--write] [--echo] [--baud N]\n");
    return 2;
  }
  bool echo = false;
  bool write = false;
  long baud = 9600;
  for (int i = 2; i < argc; ++i) {
    if (std::strcmp(argv[i], "--echo") == 0) {
      echo = true;
    } else if (std::strcmp(argv[i], "--write") == 0) {
      write = true;
    } else if (std::strcmp(argv[i], "--baud") == 0 && i + 1 < argc) {
      baud = std::strtol(argv[++i], nullptr, 10);
    }
  }
  const int fd = ::open(argv[1], O_RDWR | O_NOCTTY);
  if (fd < 0) {
    std::perror(argv[1]);
    return 1;
  }
  termios line{};
  ::tcgetattr(fd, &line);
  ::cfmakeraw(&line);
  line.c_cc[VMIN] = 0;
  line.c_cc[VTIME] = 0;
  ::tcsetattr(fd, TCSANOW, &line);

  // The frames of a whole read and the length of each answer.
  struct Exchange {
    Bytes frame;
    std::size_t answer;
  };
  std::vector<Exchange> exchanges{{{'P', 'R', 'O', 'G', 'R', 'A', 'M'}, 3},
                                  {{0x02}, 16},
                                  {readRequest(0x0B30), kDataFrameLength}};
  for (int block = 0; block < kBlocks; ++block) {
    const int address = block * kBlockLength;
    exchanges.push_back(write ? Exchange{dataFrame(address), 1}
                              : Exchange{readRequest(address), kDataFrameLength});
  }
  exchanges.push_back({{'E', 'N', 'D'}, 1});

  std::size_t lineBytes = 0;
  const auto started = Clock::now();
  for (const auto& exchange : exchanges) {
    if (!sendAll(fd, exchange.frame) ||
        !receive(fd, (echo ? exchange.frame.size() : 0) + exchange.answer)) {
      std::fprintf(stderr, "cps530-pace-probe: no answer to a frame of %zu bytes\n",
                   exchange.frame.size());
      return 1;
    }
    lineBytes += exchange.frame.size() + exchange.answer;
  }
  const double wall = std::chrono::duration<double>(Clock::now() - started).count();
  ::close(fd);
  const double lineTime = static_cast<double>(lineBytes) * 10.0 / static_cast<double>(baud);
  std::printf("%.4f %.4f %.4f\n", wall, lineTime, wall / lineTime);
  return 0;
}
