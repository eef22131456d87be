#include "core/app/utf8.hpp"

namespace cps {

std::size_t Utf8SequenceLength(std::string_view text, std::size_t at) {
  if (at >= text.size()) return 0;
  const auto c = static_cast<unsigned char>(text[at]);
  std::size_t length = 0;
  unsigned char secondLow = 0x80;
  unsigned char secondHigh = 0xBF;
  if (c < 0x80) {
    return 1;
  } else if (c >= 0xC2 && c <= 0xDF) {
    length = 2;
  } else if (c >= 0xE0 && c <= 0xEF) {
    length = 3;
    if (c == 0xE0) secondLow = 0xA0;   // no overlong forms
    if (c == 0xED) secondHigh = 0x9F;  // no surrogates
  } else if (c >= 0xF0 && c <= 0xF4) {
    length = 4;
    if (c == 0xF0) secondLow = 0x90;
    if (c == 0xF4) secondHigh = 0x8F;  // nothing above U+10FFFF
  } else {
    return 0;
  }
  if (at + length > text.size()) return 0;
  for (std::size_t k = 1; k < length; ++k) {
    const auto b = static_cast<unsigned char>(text[at + k]);
    const unsigned char low = k == 1 ? secondLow : 0x80;
    const unsigned char high = k == 1 ? secondHigh : 0xBF;
    if (b < low || b > high) return 0;
  }
  return length;
}

std::size_t FirstNonUtf8(std::string_view text) {
  for (std::size_t i = 0; i < text.size();) {
    const std::size_t length = Utf8SequenceLength(text, i);
    if (length == 0) return i;
    i += length;
  }
  return std::string_view::npos;
}

}  // namespace cps
