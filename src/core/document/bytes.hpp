// Reading and writing of fixed byte images: little-endian as the data file
// keeps numbers, big-endian as the radio's frames and channel slots do.
// Parsers take spans; nothing here opens a file.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

namespace cps {

using Bytes = std::span<const std::uint8_t>;

// The radio's order: the most significant byte first.
inline std::uint16_t BigEndian16(Bytes in) {
  return static_cast<std::uint16_t>((unsigned{in[0]} << 8) | unsigned{in[1]});
}
inline std::uint32_t BigEndian32(Bytes in) {
  return (std::uint32_t{in[0]} << 24) | (std::uint32_t{in[1]} << 16) | (std::uint32_t{in[2]} << 8) |
         std::uint32_t{in[3]};
}
inline void PutBigEndian16(std::span<std::uint8_t> out, std::uint16_t value) {
  out[0] = static_cast<std::uint8_t>(value >> 8);
  out[1] = static_cast<std::uint8_t>(value);
}
inline void PutBigEndian32(std::span<std::uint8_t> out, std::uint32_t value) {
  out[0] = static_cast<std::uint8_t>(value >> 24);
  out[1] = static_cast<std::uint8_t>(value >> 16);
  out[2] = static_cast<std::uint8_t>(value >> 8);
  out[3] = static_cast<std::uint8_t>(value);
}

// A fixed-length text field of exactly N single-byte characters, held as the
// bytes the file holds. Assigning a shorter text fills the rest with spaces;
// a longer one is cut to N bytes.
template <std::size_t N>
struct FixedText {
  std::array<char, N> bytes{};

  FixedText() { bytes.fill(' '); }
  explicit FixedText(std::string_view text) { assign(text); }

  void assign(std::string_view text) {
    bytes.fill(' ');
    for (std::size_t i = 0; i < N && i < text.size(); ++i) bytes[i] = text[i];
  }
  // The raw field, every byte, as the file holds it.
  std::string raw() const { return std::string(bytes.data(), N); }
  static constexpr std::size_t size() { return N; }
  bool operator==(const FixedText&) const = default;
};

// A single NUL followed by spaces: the "empty" value several defaults use.
template <std::size_t N>
FixedText<N> NulText() {
  FixedText<N> t;
  t.bytes[0] = '\0';
  return t;
}

class ByteWriter {
 public:
  explicit ByteWriter(std::span<std::uint8_t> out) : m_out(out) {}

  void u8(std::uint8_t v) { m_out[m_pos++] = v; }
  void i16(std::int16_t v) {
    const auto u = static_cast<std::uint16_t>(v);
    u8(static_cast<std::uint8_t>(u & 0xFFu));
    u8(static_cast<std::uint8_t>(u >> 8));
  }
  template <std::size_t N>
  void text(const FixedText<N>& t) {
    for (char c : t.bytes) u8(static_cast<std::uint8_t>(c));
  }
  std::size_t position() const { return m_pos; }

 private:
  std::span<std::uint8_t> m_out;
  std::size_t m_pos = 0;
};

class ByteReader {
 public:
  explicit ByteReader(Bytes in) : m_in(in) {}

  std::uint8_t u8() { return m_in[m_pos++]; }
  std::int16_t i16() {
    const auto lo = u8();
    const auto hi = u8();
    return static_cast<std::int16_t>(static_cast<std::uint16_t>(lo | (hi << 8)));
  }
  template <std::size_t N>
  FixedText<N> text() {
    FixedText<N> t;
    for (auto& c : t.bytes) c = static_cast<char>(u8());
    return t;
  }
  std::size_t position() const { return m_pos; }

 private:
  Bytes m_in;
  std::size_t m_pos = 0;
};

}  // namespace cps
