// Which bytes are taken as characters: the check that the CSV reader, the
// report and cps530-cli get share.
#include "core/app/utf8.hpp"

#include <gtest/gtest.h>

#include <string>

namespace cps {
namespace {

struct Utf8Case {
  const char* what;
  std::string text;
  std::size_t firstBad;
};

class Utf8Test : public ::testing::TestWithParam<Utf8Case> {};

TEST_P(Utf8Test, FindsTheFirstByteThatIsNoCharacter) {
  EXPECT_EQ(FirstNonUtf8(GetParam().text), GetParam().firstBad) << GetParam().what;
}

constexpr auto kNone = std::string::npos;

INSTANTIATE_TEST_SUITE_P(
    Texts, Utf8Test,
    ::testing::Values(Utf8Case{"empty", "", kNone}, Utf8Case{"ASCII", "CH 1, 435.125", kNone},
                      Utf8Case{"two, three and four bytes", "\xC3\xA9\xE4\xB8\xAD\xF0\x9F\x93\xBB",
                               kNone},
                      Utf8Case{"a Windows-1252 e acute", "CAF\xE9", 3},
                      Utf8Case{"a stray continuation byte", "A\x80", 1},
                      Utf8Case{"cut off at the end", "AB\xE4\xB8", 2},
                      Utf8Case{"an overlong slash", "\xC0\xAF", 0},
                      Utf8Case{"an overlong three-byte form", "\xE0\x80\xAF", 0},
                      Utf8Case{"a surrogate", "x\xED\xA0\x80", 1},
                      Utf8Case{"above U+10FFFF", "\xF4\x90\x80\x80", 0}));

}  // namespace
}  // namespace cps
