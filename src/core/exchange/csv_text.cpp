#include "core/exchange/csv_text.hpp"

#include <algorithm>

#include "core/app/utf8.hpp"

namespace cps {

namespace {

int lineOf(std::string_view text, std::size_t position) {
  int line = 1;
  for (std::size_t i = 0; i < position && i < text.size(); ++i) {
    if (text[i] == '\n' || (text[i] == '\r' && (i + 1 >= text.size() || text[i + 1] != '\n'))) {
      ++line;
    }
  }
  return line;
}

bool isBlank(const CsvRecord& record) {
  return std::all_of(record.cells.begin(), record.cells.end(), [](const std::string& cell) {
    return cell.find_first_not_of(" \t") == std::string::npos;
  });
}

}  // namespace

CsvText ParseCsvText(std::string_view text) {
  CsvText result;
  constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";
  if (text.substr(0, kByteOrderMark.size()) == kByteOrderMark) {
    text.remove_prefix(kByteOrderMark.size());
  }
  if (const auto bad = FirstNonUtf8(text); bad != std::string_view::npos) {
    result.error = CsvTextError{CsvTextError::Kind::NotUtf8, lineOf(text, bad)};
    return result;
  }

  std::size_t i = 0;
  int line = 1;
  const auto atLineEnd = [&](std::size_t at) {
    return at < text.size() && (text[at] == '\n' || text[at] == '\r');
  };
  // Steps over one line break at i, counting it.
  const auto takeLineEnd = [&] {
    if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
    ++i;
    ++line;
  };

  while (i < text.size()) {
    // Comments only come before the first record (the header).
    if (result.records.empty() && text[i] == '#') {
      while (i < text.size() && !atLineEnd(i)) ++i;
      if (i < text.size()) takeLineEnd();
      continue;
    }
    CsvRecord record;
    record.line = line;
    std::string cell;
    bool ended = false;
    while (!ended) {
      if (i < text.size() && text[i] == '"') {
        const int quoteLine = line;
        ++i;
        bool closed = false;
        while (i < text.size()) {
          if (text[i] == '"') {
            if (i + 1 < text.size() && text[i + 1] == '"') {
              cell += '"';
              i += 2;
              continue;
            }
            ++i;
            closed = true;
            break;
          }
          if (atLineEnd(i)) {
            // A line break inside quotes belongs to the field, as "\n".
            cell += '\n';
            takeLineEnd();
            continue;
          }
          cell += text[i++];
        }
        if (!closed) {
          result.error = CsvTextError{CsvTextError::Kind::UnclosedQuote, quoteLine};
          result.records.clear();
          return result;
        }
      }
      // Unquoted text, or what follows a closing quote up to the separator.
      while (i < text.size() && text[i] != ',' && !atLineEnd(i)) cell += text[i++];
      record.cells.push_back(std::move(cell));
      cell.clear();
      if (i < text.size() && text[i] == ',') {
        ++i;
        continue;
      }
      if (i < text.size()) takeLineEnd();
      ended = true;
    }
    if (!isBlank(record)) result.records.push_back(std::move(record));
  }
  return result;
}

std::string CsvField(std::string_view value) {
  if (value.find_first_of(",\"\r\n") == std::string_view::npos) return std::string(value);
  std::string quoted = "\"";
  for (char c : value) {
    if (c == '"') quoted += '"';
    quoted += c;
  }
  quoted += '"';
  return quoted;
}

std::string CsvLine(const std::vector<std::string>& fields) {
  std::string line;
  for (std::size_t i = 0; i < fields.size(); ++i) {
    if (i > 0) line += ',';
    line += CsvField(fields[i]);
  }
  line += "\r\n";
  return line;
}

}  // namespace cps
