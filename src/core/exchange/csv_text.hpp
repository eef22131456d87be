// Comma-separated text as spreadsheets write it: fields in double quotes may
// hold commas, quotes (doubled) and line breaks. Every record remembers the
// physical line it starts on, so that a report can point the user at it.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace cps {

struct CsvRecord {
  int line = 0;  // physical line the record starts on, from 1
  std::vector<std::string> cells;
};

// Why a text cannot be read as CSV at all; the line is where the trouble starts.
struct CsvTextError {
  enum class Kind { NotUtf8, UnclosedQuote };
  Kind kind = Kind::NotUtf8;
  int line = 0;
};

struct CsvText {
  std::vector<CsvRecord> records;  // blank lines and leading comments left out
  std::optional<CsvTextError> error;
};

// Reads the whole text. A byte-order mark is dropped; lines starting with "#"
// before the first record are comments; "\r\n", "\n" and "\r" all end a line.
CsvText ParseCsvText(std::string_view text);

// One field as a writer puts it: quoted only when it holds a comma, a quote
// or a line break.
std::string CsvField(std::string_view value);
// A record's fields joined by commas, ended by "\r\n".
std::string CsvLine(const std::vector<std::string>& fields);

}  // namespace cps
