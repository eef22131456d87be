// The five test frequency pairs every program's run starts with (400.00000 /
// 400.10000 MHz and so on), as the radio image holds them at 0xA58 to 0xA7F:
// whatever packs a document for a radio must write these bytes there.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

namespace cps::testing {

inline constexpr std::size_t kFivePointAddress = 0xA58;
inline constexpr std::array<std::uint8_t, 40> kFivePointBytes{
    0x40, 0x01, 0x00, 0x00, 0x40, 0x00, 0x00, 0x00, 0x42, 0x06, 0x00, 0x00, 0x42, 0x05,
    0x00, 0x00, 0x44, 0x01, 0x00, 0x00, 0x44, 0x00, 0x00, 0x00, 0x46, 0x06, 0x00, 0x00,
    0x47, 0x05, 0x00, 0x00, 0x47, 0x99, 0x00, 0x00, 0x48, 0x00, 0x00, 0x00};

// The 40 bytes at kFivePointAddress of an image or memory dump.
template <typename Bytes>
std::array<std::uint8_t, 40> FivePointBytesOf(const Bytes& image) {
  std::array<std::uint8_t, 40> out{};
  for (std::size_t i = 0; i < out.size() && kFivePointAddress + i < image.size(); ++i) {
    out[i] = static_cast<std::uint8_t>(image[kFivePointAddress + i]);
  }
  return out;
}

}  // namespace cps::testing
