// Channel lists in the generic CSV format that open-source radio programmers
// and repeater directories exchange: its columns, what a row asks of a
// channel of this radio, and the row a channel is written as. The radio holds
// no names and the format no scrambler or lockout, so only what means the same
// on both sides crosses over; everything else is named in the report.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "core/document/model.hpp"
#include "core/exchange/csv_text.hpp"

namespace cps {

struct ChannelRecord;
struct DocumentRecord;

// ---- Messages ---------------------------------------------------------------

// A language text by id with the values for its %1, %2 ...
struct ExchangeMessage {
  int textId = 0;
  std::vector<std::string> args;
  bool operator==(const ExchangeMessage&) const = default;
};

// The text with "%1" to "%9" replaced by the values given.
std::string FillText(std::string_view pattern, const std::vector<std::string>& args);
std::string RenderMessage(const ExchangeMessage& message,
                          const std::function<std::string(int)>& langText);

// ---- Columns ----------------------------------------------------------------

enum class CsvColumn {
  Location,
  Name,
  Frequency,
  Duplex,
  Offset,
  Tone,
  RToneFreq,
  CToneFreq,
  DtcsCode,
  DtcsPolarity,
  RxDtcsCode,
  CrossMode,
  Mode,
  TStep,
  Skip,
  Power,
  Comment,
  UrCall,
  Rpt1Call,
  Rpt2Call,
  DvCode,
};
inline constexpr std::size_t kCsvColumnCount = 21;

// The full header, in the order the format's writers put it.
inline constexpr std::array<std::string_view, kCsvColumnCount> kCsvColumnNames{
    "Location",  "Name",     "Frequency",    "Duplex",     "Offset",    "Tone",     "rToneFreq",
    "cToneFreq", "DtcsCode", "DtcsPolarity", "RxDtcsCode", "CrossMode", "Mode",     "TStep",
    "Skip",      "Power",    "Comment",      "URCALL",     "RPT1CALL",  "RPT2CALL", "DVCODE"};

// Which cell of a record holds each column, found by name in the header.
struct CsvHeader {
  int line = 0;
  std::array<std::optional<std::size_t>, kCsvColumnCount> cellOf{};
  std::size_t width = 0;                    // cells in the header row
  std::vector<std::string> unknownColumns;  // named once in the report
  bool has(CsvColumn c) const { return cellOf[static_cast<std::size_t>(c)].has_value(); }
};
// Header names match whatever their case; the first of two equal names counts.
CsvHeader ReadCsvHeader(const CsvRecord& record);
// A record's cell of a column, without the spaces around it; empty when the
// header has no such column or the record is short.
std::string_view CsvCell(const CsvRecord& record, const CsvHeader& header, CsvColumn column);

// ---- Power ------------------------------------------------------------------

// The nominal output of each power level of the radio, as the list shows them.
struct PowerLevel {
  int value;     // stored transmit power
  double watts;  // written to the file, and what watts read from one are nearest to
  std::string_view name;
};
inline constexpr std::array<PowerLevel, 3> kPowerLevels{{
    {0, 1.0, "Low"},
    {1, 2.5, "Middle"},
    {2, 5.0, "High"},
}};
// "5.0W" below 10 W, "10W" from there on.
std::string PowerText(double watts);
// The level a Power cell names: watts (nearest level, a tie to the lower one)
// or a level name (Low, Mid, Middle, High, any case); empty when it is neither.
std::optional<int> PowerLevelOfText(std::string_view text);

// ---- Exact numbers ----------------------------------------------------------

// A decimal text as a whole number of 10^-decimals units, with nothing lost.
struct DecimalUnits {
  enum class Status { Ok, NotNumber, TooFine };
  Status status = Status::NotNumber;
  std::int64_t units = 0;
};
DecimalUnits ParseDecimalUnits(std::string_view text, int decimals);
// Units of 10^-decimals as a decimal text with exactly that many decimals.
std::string UnitsText(std::int64_t units, int decimals);
// 10 Hz units as MHz with five decimals, as the channel table shows them.
inline std::string MhzText(std::int64_t units) { return UnitsText(units, 5); }

// ---- A row read ---------------------------------------------------------------

// What one row asks of a channel, in the radio's terms. An empty field was not
// given (its column is missing, or the cell is empty where that means "keep"):
// the channel keeps what it holds, and a new channel what the table gives it.
struct ChannelRequest {
  std::optional<int> location;
  std::int64_t rx = 0;             // 10 Hz units
  std::optional<std::int64_t> tx;  // 10 Hz units; empty: the transmit side is kept
  std::optional<bool> txInhibit;
  std::optional<int> decodeTone;  // both tones are given together
  std::optional<int> encodeTone;
  std::optional<int> power;    // a stored power level
  std::optional<bool> narrow;  // NFM; FM is wide
  std::optional<bool> scanSkip;
  bool operator==(const ChannelRequest&) const = default;
};

// The request of a record, or why the radio cannot take it.
std::variant<ChannelRequest, ExchangeMessage> ReadChannelRow(const CsvRecord& record,
                                                             const CsvHeader& header);

// Columns the radio has nothing for (Name, Comment, the digital voice calls)
// that hold something in this record.
std::vector<CsvColumn> UnheldColumnsUsed(const CsvRecord& record, const CsvHeader& header);

// ---- A channel written ---------------------------------------------------------

// The cells of a channel in header order; empty when its receive frequency
// cannot be read.
std::optional<std::vector<std::string>> ChannelCsvFields(const ChannelRecord& channel);

struct CsvExport {
  std::string text;            // header and one row per channel, in number order
  std::vector<int> unwritten;  // channels without a readable receive frequency
  int written = 0;
};
CsvExport ExportChannelsCsv(const DocumentRecord& document);

}  // namespace cps
