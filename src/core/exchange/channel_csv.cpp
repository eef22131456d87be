#include "core/exchange/channel_csv.hpp"

#include <algorithm>
#include <cctype>
#include <cmath>

#include "core/app/text_ids.hpp"
#include "core/document/channel_fields.hpp"
#include "core/document/codec.hpp"
#include "core/document/records.hpp"
#include "core/exchange/quiet_prompter.hpp"

namespace cps {

namespace {

using C = CsvColumn;

std::string_view trimmed(std::string_view t) {
  while (!t.empty() && (t.front() == ' ' || t.front() == '\t')) t.remove_prefix(1);
  while (!t.empty() && (t.back() == ' ' || t.back() == '\t')) t.remove_suffix(1);
  return t;
}

std::string lower(std::string_view t) {
  std::string s(t);
  for (auto& c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return s;
}

bool sameWord(std::string_view a, std::string_view b) { return lower(a) == lower(b); }

std::string_view nameOf(C column) { return kCsvColumnNames[static_cast<std::size_t>(column)]; }

ExchangeMessage message(int textId, std::vector<std::string> args = {}) {
  return {textId, std::move(args)};
}

// Neutral values of the tone columns a row does not use, as the format's
// writers put them.
constexpr std::string_view kNeutralCtcss = "88.5";
constexpr std::string_view kNeutralDcs = "023";
constexpr std::string_view kNeutralPolarity = "NN";
constexpr std::string_view kNeutralCross = "Tone->Tone";
constexpr std::string_view kDuplexWords = "\"\", +, -, split, off";
constexpr std::string_view kToneWords = "\"\", Tone, TSQL, DTCS, Cross";
constexpr std::string_view kCrossWords =
    "Tone->Tone, Tone->DTCS, DTCS->Tone, DTCS->DTCS, ->Tone, ->DTCS, Tone->, DTCS->";
constexpr std::string_view kSkipWords = "\"\", S, P";

// The format gives no 10 Hz digit beyond MHz with five decimals.
constexpr int kMhzDecimals = 5;
constexpr int kCtcssDecimals = 1;

// The cells of one record, by column.
class Row {
 public:
  Row(const CsvRecord& record, const CsvHeader& header) : m_record(record), m_header(header) {}
  bool has(C column) const { return m_header.has(column); }
  std::string_view cell(C column) const { return CsvCell(m_record, m_header, column); }

 private:
  const CsvRecord& m_record;
  const CsvHeader& m_header;
};

// A frequency in MHz as 10 Hz units, or why not.
std::variant<std::int64_t, ExchangeMessage> readMhz(const Row& row, C column) {
  const std::string_view text = row.cell(column);
  if (text.empty()) return message(text::kRowEmptyValue, {std::string(nameOf(column))});
  const DecimalUnits value = ParseDecimalUnits(text, kMhzDecimals);
  if (value.status == DecimalUnits::Status::NotNumber) {
    return message(text::kRowNotNumber, {std::string(nameOf(column)), std::string(text)});
  }
  if (value.status == DecimalUnits::Status::TooFine) {
    return message(text::kRowTooFine, {std::string(nameOf(column)), std::string(text)});
  }
  return value.units;
}

// The radio's tone index of a CTCSS cell: only a tone of its list, exactly.
std::variant<int, ExchangeMessage> readCtcss(const Row& row, C column) {
  const std::string_view text = row.cell(column);
  const DecimalUnits value = ParseDecimalUnits(text, kCtcssDecimals);
  if (value.status == DecimalUnits::Status::NotNumber) {
    return message(text::kRowNotNumber, {std::string(nameOf(column)), std::string(text)});
  }
  if (value.status == DecimalUnits::Status::Ok) {
    for (int index = 1; index < kFirstDcsTone; ++index) {
      if (ParseDecimalUnits(ToneText(index, ""), kCtcssDecimals).units == value.units) {
        return index;
      }
    }
  }
  return message(text::kRowToneNotInList, {std::string(nameOf(column)), std::string(text)});
}

// The tone index of a DCS cell with its polarity letter (N normal, R reversed,
// which the radio calls inverted).
std::variant<int, ExchangeMessage> readDcs(const Row& row, C column, char polarity) {
  const std::string_view text = row.cell(column);
  const bool octal =
      !text.empty() && text.size() <= 3 &&
      std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '7'; });
  if (!octal) {
    return message(text::kRowNotNumber, {std::string(nameOf(column)), std::string(text)});
  }
  std::string code(3 - text.size(), '0');
  code += text;
  if (const auto index = ToneIndexOfText(code + (polarity == 'R' ? "I" : "N"))) return *index;
  return message(text::kRowDcsNotInList, {std::string(nameOf(column)), std::string(text)});
}

struct Tones {
  int encode = 0;
  int decode = 0;
};

// Encode is the transmit side, decode the receive side.
std::variant<Tones, ExchangeMessage> readTones(const Row& row) {
  const std::string_view mode = row.cell(C::Tone);
  std::string polarity(row.has(C::DtcsPolarity) ? row.cell(C::DtcsPolarity) : kNeutralPolarity);
  for (auto& c : polarity) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  const bool polarityOk = polarity.size() == 2 && (polarity[0] == 'N' || polarity[0] == 'R') &&
                          (polarity[1] == 'N' || polarity[1] == 'R');

  // One side of the tone pair: "Tone" or "DTCS" from the columns of that side.
  const auto side = [&](std::string_view kind,
                        bool transmit) -> std::variant<int, ExchangeMessage> {
    if (kind.empty()) return 0;
    if (kind == "DTCS" && !polarityOk) {
      return message(text::kRowUnknownWord,
                     {std::string(nameOf(C::DtcsPolarity)), std::string(row.cell(C::DtcsPolarity)),
                      "NN, NR, RN, RR"});
    }
    if (kind == "Tone") return readCtcss(row, transmit ? C::RToneFreq : C::CToneFreq);
    return readDcs(row, transmit ? C::DtcsCode : C::RxDtcsCode, polarity[transmit ? 0 : 1]);
  };
  const auto pair = [&](std::string_view tx,
                        std::string_view rx) -> std::variant<Tones, ExchangeMessage> {
    Tones tones;
    auto encode = side(tx, true);
    if (auto* m = std::get_if<ExchangeMessage>(&encode)) return *m;
    auto decode = side(rx, false);
    if (auto* m = std::get_if<ExchangeMessage>(&decode)) return *m;
    tones.encode = std::get<int>(encode);
    tones.decode = std::get<int>(decode);
    return tones;
  };

  if (mode.empty()) return Tones{};
  if (sameWord(mode, "Tone")) return pair("Tone", "");
  if (sameWord(mode, "TSQL")) {
    auto tone = readCtcss(row, C::CToneFreq);
    if (auto* m = std::get_if<ExchangeMessage>(&tone)) return *m;
    return Tones{std::get<int>(tone), std::get<int>(tone)};
  }
  if (sameWord(mode, "DTCS")) {
    if (!polarityOk) return pair("DTCS", "");  // reports the polarity
    auto encode = readDcs(row, C::DtcsCode, polarity[0]);
    if (auto* m = std::get_if<ExchangeMessage>(&encode)) return *m;
    auto decode = readDcs(row, C::DtcsCode, polarity[1]);
    if (auto* m = std::get_if<ExchangeMessage>(&decode)) return *m;
    return Tones{std::get<int>(encode), std::get<int>(decode)};
  }
  if (sameWord(mode, "Cross")) {
    const std::string_view cross = row.cell(C::CrossMode);
    const auto arrow = cross.find("->");
    const auto known = [](std::string_view s) { return s.empty() || s == "Tone" || s == "DTCS"; };
    if (arrow == std::string_view::npos || cross == "->" || !known(cross.substr(0, arrow)) ||
        !known(cross.substr(arrow + 2))) {
      return message(text::kRowUnknownWord, {std::string(nameOf(C::CrossMode)), std::string(cross),
                                             std::string(kCrossWords)});
    }
    return pair(cross.substr(0, arrow), cross.substr(arrow + 2));
  }
  return message(text::kRowUnknownWord,
                 {std::string(nameOf(C::Tone)), std::string(mode), std::string(kToneWords)});
}

}  // namespace

// ---- Messages ---------------------------------------------------------------

std::string FillText(std::string_view pattern, const std::vector<std::string>& args) {
  std::string out;
  for (std::size_t i = 0; i < pattern.size(); ++i) {
    if (pattern[i] == '%' && i + 1 < pattern.size() && pattern[i + 1] >= '1' &&
        pattern[i + 1] <= '9') {
      const auto n = static_cast<std::size_t>(pattern[i + 1] - '1');
      if (n < args.size()) out += args[n];
      ++i;
      continue;
    }
    out += pattern[i];
  }
  return out;
}

std::string RenderMessage(const ExchangeMessage& message,
                          const std::function<std::string(int)>& langText) {
  return FillText(langText(message.textId), message.args);
}

// ---- Columns ----------------------------------------------------------------

CsvHeader ReadCsvHeader(const CsvRecord& record) {
  CsvHeader header;
  header.line = record.line;
  header.width = record.cells.size();
  for (std::size_t cell = 0; cell < record.cells.size(); ++cell) {
    const std::string_view name = trimmed(record.cells[cell]);
    const auto known = std::find_if(kCsvColumnNames.begin(), kCsvColumnNames.end(),
                                    [name](std::string_view c) { return sameWord(c, name); });
    if (known == kCsvColumnNames.end()) {
      if (!name.empty()) header.unknownColumns.emplace_back(name);
      continue;
    }
    auto& slot = header.cellOf[static_cast<std::size_t>(known - kCsvColumnNames.begin())];
    if (slot) {
      header.unknownColumns.emplace_back(name);  // a second column of the same name
    } else {
      slot = cell;
    }
  }
  return header;
}

std::string_view CsvCell(const CsvRecord& record, const CsvHeader& header, CsvColumn column) {
  const auto at = header.cellOf[static_cast<std::size_t>(column)];
  if (!at || *at >= record.cells.size()) return {};
  return trimmed(record.cells[*at]);
}

// ---- Power ------------------------------------------------------------------

std::string PowerText(double watts) {
  if (watts < 10.0) return FormatFixed(watts, 1) + "W";
  return std::to_string(RoundHalfEven(watts)) + "W";
}

std::optional<int> PowerLevelOfText(std::string_view text) {
  std::string t = lower(trimmed(text));
  if (t == "low") return kPowerLevels[0].value;
  if (t == "mid" || t == "middle" || t == "medium") return kPowerLevels[1].value;
  if (t == "high") return kPowerLevels[2].value;
  if (!t.empty() && t.back() == 'w') t.pop_back();
  const auto watts = ParseNumber(trimmed(t));
  if (!watts || !(*watts > 0.0) || !std::isfinite(*watts)) return std::nullopt;
  const PowerLevel* nearest = &kPowerLevels.front();
  for (const auto& level : kPowerLevels) {
    if (std::abs(level.watts - *watts) < std::abs(nearest->watts - *watts)) nearest = &level;
  }
  return nearest->value;
}

// ---- Exact numbers ----------------------------------------------------------

DecimalUnits ParseDecimalUnits(std::string_view text, int decimals) {
  text = trimmed(text);
  if (!text.empty() && text.front() == '+') text.remove_prefix(1);
  constexpr std::size_t kMaxIntegerDigits = 9;
  std::int64_t units = 0;
  std::size_t i = 0, integerDigits = 0;
  for (; i < text.size() && std::isdigit(static_cast<unsigned char>(text[i])); ++i) {
    if (++integerDigits > kMaxIntegerDigits) return {};
    units = units * 10 + (text[i] - '0');
  }
  std::size_t fractionDigits = 0;
  bool tooFine = false;
  if (i < text.size() && text[i] == '.') {
    for (++i; i < text.size() && std::isdigit(static_cast<unsigned char>(text[i])); ++i) {
      if (static_cast<int>(fractionDigits) < decimals) {
        units = units * 10 + (text[i] - '0');
      } else if (text[i] != '0') {
        tooFine = true;
      }
      ++fractionDigits;
    }
  }
  if (i != text.size() || integerDigits + fractionDigits == 0) return {};
  for (auto d = static_cast<int>(
           std::min<std::size_t>(fractionDigits, static_cast<std::size_t>(decimals)));
       d < decimals; ++d) {
    units *= 10;
  }
  if (tooFine) return {DecimalUnits::Status::TooFine, 0};
  return {DecimalUnits::Status::Ok, units};
}

std::string UnitsText(std::int64_t units, int decimals) {
  std::int64_t scale = 1;
  for (int d = 0; d < decimals; ++d) scale *= 10;
  const bool negative = units < 0;
  const std::int64_t magnitude = negative ? -units : units;
  std::string fraction = std::to_string(magnitude % scale);
  fraction.insert(0, static_cast<std::size_t>(decimals) - fraction.size(), '0');
  return (negative ? "-" : "") + std::to_string(magnitude / scale) +
         (decimals > 0 ? "." + fraction : "");
}

// ---- A row read ---------------------------------------------------------------

std::variant<ChannelRequest, ExchangeMessage> ReadChannelRow(const CsvRecord& record,
                                                             const CsvHeader& header) {
  // Cells beyond the header are tolerated only when empty (a spreadsheet's
  // trailing commas); anything in them would belong to no column.
  for (std::size_t cell = header.width; cell < record.cells.size(); ++cell) {
    if (!trimmed(record.cells[cell]).empty()) {
      return message(text::kRowTooManyCells,
                     {std::to_string(record.cells.size()), std::to_string(header.width)});
    }
  }
  const Row row(record, header);
  ChannelRequest request;

  if (!row.cell(C::Location).empty()) {
    const auto location = ParseInteger(row.cell(C::Location));
    if (!location) {
      return message(text::kRowNotNumber,
                     {std::string(nameOf(C::Location)), std::string(row.cell(C::Location))});
    }
    request.location = *location;
  }

  auto rx = readMhz(row, C::Frequency);
  if (auto* m = std::get_if<ExchangeMessage>(&rx)) return *m;
  request.rx = std::get<std::int64_t>(rx);

  if (row.has(C::Duplex)) {
    const std::string duplex = lower(row.cell(C::Duplex));
    const bool hasOffset = !row.cell(C::Offset).empty();
    std::int64_t offset = 0;
    if (hasOffset) {
      auto read = readMhz(row, C::Offset);
      if (auto* m = std::get_if<ExchangeMessage>(&read)) return *m;
      offset = std::get<std::int64_t>(read);
    }
    // A shift is below 100 MHz; every band starts above 100 MHz, so an offset
    // of 100 MHz or more beside "off" can only be the transmit frequency.
    constexpr std::int64_t kHundredMhz = 100 * 100000;
    request.txInhibit = duplex == "off";
    if (duplex.empty()) {
      request.tx = request.rx;
    } else if (duplex == "+") {
      request.tx = request.rx + offset;
    } else if (duplex == "-") {
      request.tx = request.rx - offset;
    } else if (duplex == "split") {
      if (!hasOffset) return message(text::kRowEmptyValue, {std::string(nameOf(C::Offset))});
      request.tx = offset;
    } else if (duplex == "off") {
      if (offset >= kHundredMhz) request.tx = offset;
    } else {
      return message(text::kRowUnknownWord,
                     {std::string(nameOf(C::Duplex)), std::string(row.cell(C::Duplex)),
                      std::string(kDuplexWords)});
    }
  }

  if (row.has(C::Tone)) {
    auto tones = readTones(row);
    if (auto* m = std::get_if<ExchangeMessage>(&tones)) return *m;
    request.encodeTone = std::get<Tones>(tones).encode;
    request.decodeTone = std::get<Tones>(tones).decode;
  }

  if (const std::string_view mode = row.cell(C::Mode); !mode.empty()) {
    if (sameWord(mode, "FM")) {
      request.narrow = false;
    } else if (sameWord(mode, "NFM")) {
      request.narrow = true;
    } else {
      return message(text::kRowModeMissing, {std::string(mode)});
    }
  }

  // The step the radio uses follows from the frequency; the cell is only checked.
  if (const std::string_view step = row.cell(C::TStep); !step.empty() && !ParseNumber(step)) {
    return message(text::kRowNotNumber, {std::string(nameOf(C::TStep)), std::string(step)});
  }

  if (row.has(C::Skip)) {
    const std::string skip = lower(row.cell(C::Skip));
    if (skip != "" && skip != "s" && skip != "p") {
      return message(
          text::kRowUnknownWord,
          {std::string(nameOf(C::Skip)), std::string(row.cell(C::Skip)), std::string(kSkipWords)});
    }
    request.scanSkip = skip == "s";
  }

  if (const std::string_view power = row.cell(C::Power); !power.empty()) {
    request.power = PowerLevelOfText(power);
    if (!request.power) return message(text::kRowPowerUnknown, {std::string(power)});
  }
  return request;
}

std::vector<CsvColumn> UnheldColumnsUsed(const CsvRecord& record, const CsvHeader& header) {
  std::vector<CsvColumn> used;
  const Row row(record, header);
  for (C column : {C::Name, C::Comment, C::UrCall, C::Rpt1Call, C::Rpt2Call, C::DvCode}) {
    if (!row.cell(column).empty()) used.push_back(column);
  }
  return used;
}

// ---- A channel written ---------------------------------------------------------

namespace {

// The item a list shows for a stored value: a value beyond the list shows its first item.
int shownItem(ChannelField field, int value) {
  const ChannelFieldRow* row = FindChannelField(static_cast<int>(field));
  const auto items = static_cast<int>(row->itemTextIds.size());
  return value >= 0 && value < items ? value : 0;
}

struct ToneColumns {
  std::string mode, rTone{kNeutralCtcss}, cTone{kNeutralCtcss}, dtcs{kNeutralDcs};
  std::string polarity{kNeutralPolarity}, rxDtcs{kNeutralDcs}, cross{kNeutralCross};
};

bool isCtcss(int tone) { return tone >= 1 && tone < kFirstDcsTone; }
bool isDcs(int tone) { return tone >= kFirstDcsTone && tone <= kLastTone; }
std::string dcsCode(int tone) { return ToneText(tone, "").substr(0, 3); }
char polarityOf(int tone) { return tone >= kFirstInvertedDcsTone ? 'R' : 'N'; }

ToneColumns toneColumns(int encode, int decode) {
  ToneColumns t;
  if (!isCtcss(encode) && !isDcs(encode)) encode = 0;
  if (!isCtcss(decode) && !isDcs(decode)) decode = 0;
  if (isDcs(encode)) t.polarity[0] = polarityOf(encode);
  if (isDcs(decode)) t.polarity[1] = polarityOf(decode);
  if (encode == 0 && decode == 0) return t;
  if (isCtcss(encode) && decode == 0) {
    t.mode = "Tone";
    t.rTone = ToneText(encode, "");
    return t;
  }
  if (isCtcss(encode) && encode == decode) {
    t.mode = "TSQL";
    t.cTone = ToneText(decode, "");
    return t;
  }
  if (isDcs(encode) && isDcs(decode) && dcsCode(encode) == dcsCode(decode)) {
    t.mode = "DTCS";
    t.dtcs = dcsCode(encode);
    return t;
  }
  // Every other pair is a cross mode: transmit side, then receive side.
  t.mode = "Cross";
  std::string cross;
  if (isCtcss(encode)) {
    cross = "Tone";
    t.rTone = ToneText(encode, "");
  } else if (isDcs(encode)) {
    cross = "DTCS";
    t.dtcs = dcsCode(encode);
  }
  cross += "->";
  if (isCtcss(decode)) {
    cross += "Tone";
    t.cTone = ToneText(decode, "");
  } else if (isDcs(decode)) {
    cross += "DTCS";
    t.rxDtcs = dcsCode(decode);
  }
  t.cross = cross;
  return t;
}

}  // namespace

std::optional<std::vector<std::string>> ChannelCsvFields(const ChannelRecord& channel) {
  QuietPrompter quiet;
  const CodecContext codec{{}, quiet};
  const std::string rxRaw = TrimFixed(channel.rxFreq);
  if (!IsNumeric(rxRaw) || rxRaw == kNoFrequency) return std::nullopt;
  const DecimalUnits rx =
      ParseDecimalUnits(FreqStoredToText(channel.rxFreq.raw(), codec), kMhzDecimals);
  if (rx.status != DecimalUnits::Status::Ok) return std::nullopt;

  // The shift as the table shows it: "+5.00000", "-0.60000", unsigned when simplex.
  const std::string shift = OffsetStoredToText(TrimFixed(channel.offset), channel.offsetDirection);
  const bool plus = shift.front() == '+', minus = shift.front() == '-';
  const DecimalUnits magnitude = ParseDecimalUnits(
      plus || minus ? std::string_view(shift).substr(1) : std::string_view(shift), kMhzDecimals);
  const std::int64_t offset = plus || minus ? magnitude.units : 0;
  const std::int64_t tx = rx.units + (plus ? offset : minus ? -offset : 0);

  std::string duplex = plus ? "+" : minus ? "-" : "";
  std::string offsetCell;
  if (channel.txInhibit != 0) {
    // "off" carries no direction; the transmit frequency the channel keeps
    // goes in Offset, so that the list comes back whole.
    duplex = "off";
    offsetCell = UnitsText(tx == rx.units ? 0 : tx * 10, 6);
  } else {
    offsetCell = UnitsText(offset * 10, 6);
  }

  const ToneColumns tones = toneColumns(channel.encodeTone, channel.decodeTone);
  const int spacing = shownItem(ChannelField::Spacing, channel.spacing);
  const int power = shownItem(ChannelField::Power, channel.power);
  constexpr std::array<std::string_view, 3> kStepOfKind{"5.00", "6.25", "8.33"};
  const std::string_view step = channel.rxStepKind >= 0 && channel.rxStepKind < 3
                                    ? kStepOfKind[static_cast<std::size_t>(channel.rxStepKind)]
                                    : kStepOfKind[0];

  return std::vector<std::string>{std::to_string(channel.number),
                                  "",
                                  UnitsText(rx.units * 10, 6),
                                  duplex,
                                  offsetCell,
                                  tones.mode,
                                  tones.rTone,
                                  tones.cTone,
                                  tones.dtcs,
                                  tones.polarity,
                                  tones.rxDtcs,
                                  tones.cross,
                                  spacing == 0 ? "NFM" : "FM",
                                  std::string(step),
                                  channel.scanSkip != 0 ? "S" : "",
                                  PowerText(kPowerLevels[static_cast<std::size_t>(power)].watts),
                                  "",
                                  "",
                                  "",
                                  "",
                                  ""};
}

CsvExport ExportChannelsCsv(const DocumentRecord& document) {
  CsvExport out;
  out.text = CsvLine(std::vector<std::string>(kCsvColumnNames.begin(), kCsvColumnNames.end()));
  std::vector<ChannelRecord> channels(document.usedChannels().begin(),
                                      document.usedChannels().end());
  std::stable_sort(
      channels.begin(), channels.end(),
      [](const ChannelRecord& a, const ChannelRecord& b) { return a.number < b.number; });
  for (const auto& channel : channels) {
    const auto fields = ChannelCsvFields(channel);
    if (!fields) {
      out.unwritten.push_back(channel.number);
      continue;
    }
    out.text += CsvLine(*fields);
    ++out.written;
  }
  return out;
}

}  // namespace cps
