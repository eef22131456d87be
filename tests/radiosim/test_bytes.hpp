// Frames as the host and the radio put them on the wire, built by hand for the
// virtual radio's tests so that they do not lean on the code they check.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <string_view>
#include <vector>

namespace cps::radiosim::test {

using Bytes = std::vector<std::uint8_t>;

inline Bytes text(std::string_view s) { return Bytes(s.begin(), s.end()); }

inline Bytes operator+(Bytes a, const Bytes& b) {
  a.insert(a.end(), b.begin(), b.end());
  return a;
}

inline Bytes repeat(std::uint8_t byte, std::size_t count) { return Bytes(count, byte); }

inline const Bytes kProgram = text("PROGRAM");
inline const Bytes kHandshakeAck = {'T', 'W', 0x06};
inline const Bytes kIdentRequest = {0x02};
inline const Bytes kEnd = text("END");
inline const Bytes kAck = {0x06};
inline const Bytes kRetry = {0x0A};

inline Bytes readRequest(std::uint16_t address, std::uint8_t length = 16) {
  return {'R', static_cast<std::uint8_t>(address >> 8), static_cast<std::uint8_t>(address & 0xFF),
          length};
}

inline std::uint8_t checksumOf(std::uint16_t address, const Bytes& data) {
  unsigned sum = (address >> 8) + (address & 0xFFu) + static_cast<unsigned>(data.size());
  for (const auto b : data) sum += b;
  return static_cast<std::uint8_t>(sum % 256);
}

// A "W" frame; the checksum is the right one unless another is given.
inline Bytes dataFrame(std::uint16_t address, const Bytes& data, int checksum = -1) {
  Bytes frame = {'W', static_cast<std::uint8_t>(address >> 8),
                 static_cast<std::uint8_t>(address & 0xFF), static_cast<std::uint8_t>(data.size())};
  frame.insert(frame.end(), data.begin(), data.end());
  frame.push_back(checksum < 0 ? checksumOf(address, data) : static_cast<std::uint8_t>(checksum));
  frame.push_back(0x06);
  return frame;
}

inline Bytes block(std::initializer_list<std::uint8_t> bytes) { return Bytes(bytes); }

// Sixteen bytes 0x00, 0x11, ... 0xFF: every byte different, easy to spot.
inline Bytes ladder() {
  Bytes data;
  for (unsigned i = 0; i < 16; ++i) data.push_back(static_cast<std::uint8_t>(i * 0x11));
  return data;
}

}  // namespace cps::radiosim::test
