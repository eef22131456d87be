// Reading and writing comma-separated text as spreadsheets do, with the
// physical line each record starts on.
#include "core/exchange/csv_text.hpp"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace cps {
namespace {

struct ParseCase {
  const char* name;
  std::string text;
  std::vector<int> lines;                       // where each record starts
  std::vector<std::vector<std::string>> cells;  // each record's cells
};

class CsvParseTest : public ::testing::TestWithParam<ParseCase> {};

TEST_P(CsvParseTest, RecordsAndTheirLines) {
  const auto& c = GetParam();
  const CsvText parsed = ParseCsvText(c.text);
  ASSERT_FALSE(parsed.error.has_value());
  std::vector<int> lines;
  std::vector<std::vector<std::string>> cells;
  for (const auto& r : parsed.records) {
    lines.push_back(r.line);
    cells.push_back(r.cells);
  }
  EXPECT_EQ(lines, c.lines);
  EXPECT_EQ(cells, c.cells);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, CsvParseTest,
    ::testing::Values(
        ParseCase{"Plain", "a,b\n1,2\n", {1, 2}, {{"a", "b"}, {"1", "2"}}},
        ParseCase{"CrLfAndNoFinalBreak", "a,b\r\n1,2", {1, 2}, {{"a", "b"}, {"1", "2"}}},
        ParseCase{"OldMacBreaks", "a\r1\r", {1, 2}, {{"a"}, {"1"}}},
        ParseCase{"ByteOrderMark", "\xEF\xBB\xBFLocation\n1\n", {1, 2}, {{"Location"}, {"1"}}},
        ParseCase{"QuotedCommaAndQuote",
                  "\"Name\",x\n\"a,\"\"b\"\"\",2\n",
                  {1, 2},
                  {{"Name", "x"}, {"a,\"b\"", "2"}}},
        ParseCase{"LineBreakInsideQuotesKeepsCounting",
                  "a,b\n\"two\r\nlines\",1\n3,4\n",
                  {1, 2, 4},
                  {{"a", "b"}, {"two\nlines", "1"}, {"3", "4"}}},
        ParseCase{"CommentsBeforeTheHeaderOnly",
                  "# exported list\n#, \"odd\n\nh\n#1\n",
                  {4, 5},
                  {{"h"}, {"#1"}}},
        ParseCase{"BlankRowsLeftOut", "h,i\n\n,\n , \n1,2\n", {1, 5}, {{"h", "i"}, {"1", "2"}}},
        ParseCase{"EmptyCellsKept", "a,,c\n,,\n1,,\n", {1, 3}, {{"a", "", "c"}, {"1", "", ""}}}),
    [](const auto& c) { return std::string(c.param.name); });

struct ErrorCase {
  const char* name;
  std::string text;
  CsvTextError::Kind kind;
  int line;
};

class CsvErrorTest : public ::testing::TestWithParam<ErrorCase> {};

TEST_P(CsvErrorTest, NamesTheLine) {
  const auto& c = GetParam();
  const CsvText parsed = ParseCsvText(c.text);
  ASSERT_TRUE(parsed.error.has_value());
  EXPECT_EQ(parsed.error->kind, c.kind);
  EXPECT_EQ(parsed.error->line, c.line);
  EXPECT_TRUE(parsed.records.empty());
}

INSTANTIATE_TEST_SUITE_P(
    Cases, CsvErrorTest,
    ::testing::Values(
        ErrorCase{"UnclosedQuote", "a\n1\n\"open,2\n3\n", CsvTextError::Kind::UnclosedQuote, 3},
        ErrorCase{"Latin1Byte", "a\r\n1\r\n\xE9t\xE9\r\n", CsvTextError::Kind::NotUtf8, 3},
        ErrorCase{"CutSequence", "a\n\xE4\xB8", CsvTextError::Kind::NotUtf8, 2},
        ErrorCase{"OverlongSlash", "\xC0\xAF", CsvTextError::Kind::NotUtf8, 1}),
    [](const auto& c) { return std::string(c.param.name); });

TEST(CsvWriteTest, QuotesOnlyWhatNeedsIt) {
  EXPECT_EQ(CsvField("435.125000"), "435.125000");
  EXPECT_EQ(CsvField(""), "");
  EXPECT_EQ(CsvField("a,b"), "\"a,b\"");
  EXPECT_EQ(CsvField("say \"hi\""), "\"say \"\"hi\"\"\"");
  EXPECT_EQ(CsvLine({"1", "", "x\ny"}), "1,,\"x\ny\"\r\n");
}

TEST(CsvWriteTest, WhatIsWrittenReadsBack) {
  const std::vector<std::string> fields{"a,b", "\"q\"", "", "two\nlines", "中文"};
  const CsvText parsed = ParseCsvText("h\r\n" + CsvLine(fields));
  ASSERT_FALSE(parsed.error.has_value());
  ASSERT_EQ(parsed.records.size(), 2u);
  EXPECT_EQ(parsed.records[1].cells, fields);
}

}  // namespace
}  // namespace cps
