// Well-formed UTF-8, as the terminal, a browser and a spreadsheet's "CSV UTF-8"
// expect it: texts from a damaged file or a foreign program are checked byte
// by byte before they are shown or taken as characters.
#pragma once

#include <cstddef>
#include <string_view>

namespace cps {

// The length of the well-formed UTF-8 sequence that starts at `at` (1 for an
// ASCII byte), or 0 when the bytes there are not one: a stray continuation
// byte, a cut-off sequence, an overlong form or a surrogate.
std::size_t Utf8SequenceLength(std::string_view text, std::size_t at);

// Where the first byte that breaks UTF-8 lies, or npos for a well-formed text.
std::size_t FirstNonUtf8(std::string_view text);

}  // namespace cps
