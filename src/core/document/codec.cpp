#include "core/document/codec.hpp"

#include <array>
#include <cctype>
#include <charconv>
#include <cmath>
#include <cstdlib>

#include "core/document/prompter.hpp"
#include "core/document/records.hpp"

namespace cps {

namespace {

constexpr double kUnitsPerMhz = 100000.0;               // stored frequencies count 10 Hz units
constexpr std::int64_t kOffsetLimitUnits = 10'000'000;  // 100 MHz: seven digits hold less

constexpr std::array<std::string_view, 50> kCtcss{
    "67.0",  "69.3",  "71.9",  "74.4",  "77.0",  "79.7",  "82.5",  "85.4",  "88.5",  "91.5",
    "94.8",  "97.4",  "100.0", "103.5", "107.2", "110.9", "114.8", "118.8", "123.0", "127.3",
    "131.8", "136.5", "141.3", "146.2", "151.4", "156.7", "159.8", "162.2", "165.5", "167.9",
    "171.3", "173.8", "177.3", "179.9", "183.5", "186.2", "189.9", "192.8", "196.6", "199.5",
    "203.5", "206.5", "210.7", "218.1", "225.7", "229.1", "233.6", "241.8", "250.3", "254.1"};

constexpr std::array<std::string_view, 116> kDcs{
    "017", "023", "025", "026", "031", "032", "036", "043", "047", "050", "051", "053", "054",
    "055", "065", "071", "072", "073", "074", "114", "115", "116", "122", "125", "131", "132",
    "134", "135", "143", "145", "152", "155", "156", "162", "165", "172", "174", "205", "212",
    "217", "223", "225", "226", "243", "244", "245", "246", "251", "252", "254", "255", "261",
    "263", "265", "266", "271", "274", "305", "306", "311", "315", "325", "331", "332", "343",
    "345", "346", "351", "356", "364", "365", "371", "411", "412", "413", "423", "425", "431",
    "432", "445", "446", "452", "454", "455", "462", "464", "465", "466", "503", "506", "516",
    "523", "526", "532", "534", "546", "565", "606", "612", "624", "627", "631", "632", "645",
    "654", "662", "664", "703", "712", "723", "731", "732", "734", "743", "754", "765"};

static_assert(1 + kCtcss.size() + 2 * kDcs.size() == kToneCount);

std::string_view trimSpaces(std::string_view t) {
  while (!t.empty() && t.front() == ' ') t.remove_prefix(1);
  while (!t.empty() && t.back() == ' ') t.remove_suffix(1);
  return t;
}

bool startsWithSign(std::string_view t, char sign) {
  t = trimSpaces(t);
  return !t.empty() && t.front() == sign;
}

std::int64_t toUnits(double mhz) { return RoundHalfEven(mhz * kUnitsPerMhz); }

std::string padLeft(std::int64_t value, std::size_t width) {
  std::string digits = std::to_string(value);
  if (digits.size() < width) digits.insert(0, width - digits.size(), '0');
  return digits;
}

// The MHz value of a numeric stored frequency: three digits, ".", the rest.
std::optional<double> storedMhz(std::string_view stored) {
  if (stored.size() <= 3) return ParseNumber(stored);
  std::string joined(stored.substr(0, 3));
  joined += '.';
  joined += stored.substr(3);
  return ParseNumber(joined);
}

struct Snapped {
  std::int64_t units;
  std::int16_t kind;
};

// Places a frequency on the 5 kHz, 6.25 kHz or 8.33 kHz grid counted from the
// band's lower limit. The third 8.33 kHz step (24.99 kHz) is the 25 kHz mark.
Snapped snapUnits(std::int64_t m, std::int64_t low) {
  const std::int64_t x = m - low;
  const std::int64_t r5 = x % 500;
  const std::int64_t r6 = x % 625;
  const std::int64_t q = x % 2500;
  const std::int64_t r8 = q % 833;
  const std::int64_t k = (q - r8) / 833;
  if (r5 == 0) return {m, 0};
  if (r6 == 0) return {m, 1};
  if (r8 == 0) return {k >= 3 ? m + 1 : m, 2};
  return {m - r5, 0};
}

std::string storedOfUnits(std::int64_t units, const BandLimits& limits) {
  if (units >= 0 && units <= 99'999'999) return padLeft(units, 8);
  return FreqTextToStored(FormatNumber(static_cast<double>(units) / kUnitsPerMhz), limits);
}

}  // namespace

bool IsNumeric(std::string_view text) {
  text = trimSpaces(text);
  if (!text.empty() && (text.front() == '+' || text.front() == '-')) text.remove_prefix(1);
  bool digit = false;
  bool dot = false;
  for (char c : text) {
    if (c >= '0' && c <= '9') {
      digit = true;
    } else if (c == '.' && !dot) {
      dot = true;
    } else {
      return false;
    }
  }
  return digit;
}

std::optional<double> ParseNumber(std::string_view text) {
  if (!IsNumeric(text)) return std::nullopt;
  text = trimSpaces(text);
  bool negative = false;
  if (text.front() == '+' || text.front() == '-') {
    negative = text.front() == '-';
    text.remove_prefix(1);
  }
  double value = 0;
  const auto [end, ec] =
      std::from_chars(text.data(), text.data() + text.size(), value, std::chars_format::fixed);
  if (ec != std::errc{} || end != text.data() + text.size()) return std::nullopt;
  return negative ? -value : value;
}

std::string FormatFixed(double value, int decimals, std::size_t width) {
  // Wide enough for every frequency and time; a value beyond it is no number
  // a window shows, and reads as zero rather than as a cut-off text.
  std::array<char, 64> buf{};
  auto written =
      std::to_chars(buf.data(), buf.data() + buf.size(), value, std::chars_format::fixed, decimals);
  if (written.ec != std::errc{}) {
    written =
        std::to_chars(buf.data(), buf.data() + buf.size(), 0.0, std::chars_format::fixed, decimals);
  }
  std::string out(buf.data(), written.ptr);
  // A value that rounds to zero shows no sign, as "#0.00000" never does.
  if (out.front() == '-' && out.find_first_not_of("-0.") == std::string::npos) out.erase(0, 1);
  const bool negative = out.front() == '-';
  if (out.size() < width) out.insert(negative ? 1 : 0, width - out.size(), '0');
  return out;
}

std::string FormatFixed5(double value) { return FormatFixed(value, 5); }

std::string FormatNumber(double value) {
  std::array<char, 64> buf{};
  const auto [end, ec] = std::to_chars(buf.data(), buf.data() + buf.size(), value);
  if (ec != std::errc{}) return "0";
  return std::string(buf.data(), end);
}

std::optional<int> ParseInteger(std::string_view text) {
  while (!text.empty() && text.front() == ' ') text.remove_prefix(1);
  while (!text.empty() && text.back() == ' ') text.remove_suffix(1);
  if (!text.empty() && text.front() == '+') text.remove_prefix(1);
  int value = 0;
  const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (text.empty() || ec != std::errc{} || end != text.data() + text.size()) return std::nullopt;
  return value;
}

std::int64_t RoundHalfEven(double value) {
  // nearbyint follows the current rounding mode, which is round-to-nearest-even
  // unless someone changed it; do the tie explicitly so that nothing depends on it.
  const double floorValue = std::floor(value);
  const double diff = value - floorValue;
  auto result = static_cast<std::int64_t>(floorValue);
  if (diff > 0.5 || (diff == 0.5 && (result % 2 != 0))) ++result;
  return result;
}

std::string TrimFixed(std::string_view text) {
  while (!text.empty() && text.back() == ' ') text.remove_suffix(1);
  const auto nul = text.find('\0');
  if (nul != std::string_view::npos) text = text.substr(0, nul);
  return std::string(text);
}

std::string FreqTextToStored(std::string_view text, const BandLimits& limits) {
  if (text.empty()) return {};
  std::string number;
  if (IsNumeric(text) && !startsWithSign(text, '-')) {
    number = trimSpaces(text);
    if (number.front() == '+') number.erase(0, 1);
  } else {
    number = FormatNumber(limits.low);
  }
  // Integer part to three digits, then the decimals; a whole number is an
  // integer part too, so that "88" is 88 MHz and not 880.
  const auto dot = number.find('.');
  std::string integerPart = number.substr(0, dot);
  const std::string decimals = dot == std::string::npos ? "" : number.substr(dot + 1);
  if (integerPart.size() < 3) integerPart.insert(0, 3 - integerPart.size(), '0');
  std::string stored = integerPart + decimals;
  if (stored.size() > 8) stored.resize(8);
  if (stored.size() < 8) stored.append(8 - stored.size(), '0');
  return stored;
}

std::string FreqStoredToText(std::string_view stored, const CodecContext& ctx) {
  const std::string s = TrimFixed(stored);
  if (s.empty() || s == kNoFrequency) return {};
  if (IsNumeric(s)) {
    if (const auto mhz = storedMhz(s)) return FormatFixed5(*mhz);
  }
  ctx.prompter.ask(FixedMessage(kNotNumericText));
  return FormatNumber(ctx.limits.low);
}

double ClampToBand(double mhz, const CodecContext& ctx) {
  if (mhz < ctx.limits.low || mhz > ctx.limits.high) {
    ctx.prompter.ask(TextMessage(text::kFrequencyOutOfBand, Buttons::Ok, Icon::Warning));
    return mhz < ctx.limits.low ? ctx.limits.low : ctx.limits.high;
  }
  return mhz;
}

double BandLowWithWarning(const CodecContext& ctx) {
  ctx.prompter.ask(TextMessage(text::kFrequencyOutOfBand, Buttons::Ok, Icon::Warning));
  return ctx.limits.low;
}

std::string FormatFreqInBand(std::string_view value, const CodecContext& ctx) {
  if (const auto mhz = ParseNumber(value)) return FormatFreqInBand(*mhz, ctx);
  return FormatFixed5(BandLowWithWarning(ctx));
}

std::string FormatFreqInBand(double mhz, const CodecContext& ctx) {
  return FormatFixed5(ClampToBand(mhz, ctx));
}

std::string OffsetStoredToText(std::string_view offset, int direction) {
  const char* sign = direction == 1 ? "-" : direction == 2 ? "+" : "";
  const std::string o = TrimFixed(offset);
  if (o.size() == 7 && IsNumeric(o)) {
    std::string joined = o.substr(0, 2) + "." + o.substr(2);
    if (const auto mhz = ParseNumber(joined)) return sign + FormatFixed5(*mhz);
  }
  return std::string(sign) + "0.00000";
}

std::optional<OffsetResult> OffsetFromTexts(std::string_view rx, std::string_view tx,
                                            bool offsetMode, std::string_view offset, int direction,
                                            const CodecContext& ctx) {
  const auto defaultMagnitude =
      std::llabs(toUnits(ParseNumber(OffsetStoredToText(offset, direction)).value_or(0.0)));
  std::uint8_t newDirection = 0;
  std::int64_t magnitude = defaultMagnitude;

  const std::string r = FreqStoredToText(rx, ctx);
  const auto rMhz = ParseNumber(r);
  const auto txValue = ParseNumber(tx);
  if (rMhz && txValue) {
    if (offsetMode) {
      newDirection = startsWithSign(tx, '-') ? 1 : startsWithSign(tx, '+') ? 2 : 0;
      magnitude = std::llabs(toUnits(*txValue));
    } else {
      const std::int64_t diff = toUnits(*txValue) - toUnits(*rMhz);
      if (diff > 0) {
        newDirection = 2;
        magnitude = diff;
      } else if (diff < 0) {
        newDirection = 1;
        magnitude = -diff;
      }
    }
  }
  if (magnitude >= kOffsetLimitUnits) return std::nullopt;
  return OffsetResult{newDirection, padLeft(magnitude, 7)};
}

std::string TxFrequencyText(std::string_view rx, std::string_view offset, int direction,
                            bool offsetMode, const CodecContext& ctx) {
  const std::string s = OffsetStoredToText(TrimFixed(offset), direction);
  if (offsetMode) return s;
  const std::string r = FreqStoredToText(TrimFixed(rx), ctx);
  if (direction == 0) return r;
  const auto rMhz = ParseNumber(r);
  if (!rMhz) return {};
  const std::int64_t units = toUnits(*rMhz) + toUnits(ParseNumber(s).value_or(0.0));
  return FormatFixed5(static_cast<double>(std::llabs(units)) / kUnitsPerMhz);
}

std::string TxColumnText(std::string_view rx, std::string_view offset, int direction,
                         bool offsetMode, const CodecContext& ctx) {
  const std::string s = OffsetStoredToText(offset, direction);
  const std::string r = FreqStoredToText(rx, ctx);
  const auto rMhz = ParseNumber(r);
  if (!rMhz) return {};
  if (offsetMode) return s;
  if (!startsWithSign(s, '+') && !startsWithSign(s, '-')) return r;
  const std::int64_t units = toUnits(*rMhz) + toUnits(ParseNumber(s).value_or(0.0));
  return FormatFixed5(static_cast<double>(units) / kUnitsPerMhz);
}

void SnapChannelToStep(ChannelRecord& channel, const CodecContext& ctx) {
  const std::string rxText = TrimFixed(channel.rxFreq);
  if (!IsNumeric(rxText)) return;
  const auto rxMhz = storedMhz(rxText);
  if (!rxMhz) return;
  const std::int64_t low = toUnits(ctx.limits.low);

  const Snapped rx = snapUnits(toUnits(*rxMhz), low);
  channel.rxFreq.assign(storedOfUnits(rx.units, ctx.limits));
  channel.rxStepKind = rx.kind;
  if (channel.offsetDirection == 0) {
    channel.txStepKind = rx.kind;
    return;
  }

  const std::string signedOffset =
      OffsetStoredToText(TrimFixed(channel.offset), channel.offsetDirection);
  const std::int64_t txUnits =
      std::llabs(rx.units + toUnits(ParseNumber(signedOffset).value_or(0.0)));
  const Snapped tx = snapUnits(txUnits, low);
  channel.txStepKind = tx.kind;
  const auto result = OffsetFromTexts(channel.rxFreq.raw(),
                                      FormatNumber(static_cast<double>(tx.units) / kUnitsPerMhz),
                                      false, channel.offset.raw(), channel.offsetDirection, ctx);
  if (result) {
    channel.offsetDirection = result->direction;
    channel.offset.assign(result->offset);
  }
}

std::string ToneText(int index, std::string_view noneText) {
  if (index == 0) return std::string(noneText);
  if (index >= 1 && index < kFirstDcsTone) return std::string(kCtcss[index - 1]);
  if (index >= kFirstDcsTone && index < kFirstInvertedDcsTone) {
    return std::string(kDcs[index - kFirstDcsTone]) + "N";
  }
  if (index >= kFirstInvertedDcsTone && index <= kLastTone) {
    return std::string(kDcs[index - kFirstInvertedDcsTone]) + "I";
  }
  return {};
}

std::optional<int> ToneIndexOfText(std::string_view text) {
  std::string t(trimSpaces(text));
  for (auto& c : t) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  if (t.empty() || t == "NONE" || t == "OFF") return 0;
  if (t.back() == 'N' || t.back() == 'I') {
    const std::string_view code = std::string_view(t).substr(0, t.size() - 1);
    for (std::size_t i = 0; i < kDcs.size(); ++i) {
      if (kDcs[i] == code) {
        return static_cast<int>(i) + (t.back() == 'N' ? kFirstDcsTone : kFirstInvertedDcsTone);
      }
    }
    return std::nullopt;
  }
  const auto hz = ParseNumber(t);
  if (!hz) return std::nullopt;
  for (std::size_t i = 0; i < kCtcss.size(); ++i) {
    if (RoundHalfEven(*hz * 10) == RoundHalfEven(*ParseNumber(kCtcss[i]) * 10)) {
      return static_cast<int>(i) + 1;
    }
  }
  return std::nullopt;
}

std::string DtmfStoredToDisplay(std::string_view digits) {
  std::string out(digits);
  for (auto& c : out) {
    if (c == 'E')
      c = '*';
    else if (c == 'F')
      c = '#';
  }
  return out;
}

std::string DtmfDisplayToStored(std::string_view digits) {
  std::string out(digits);
  for (auto& c : out) {
    if (c == '*')
      c = 'E';
    else if (c == '#')
      c = 'F';
  }
  return out;
}

std::vector<std::string> DtmfCodeComboItems(const DtmfBlock& dtmf, std::string_view noneText) {
  std::vector<std::string> items{std::string(noneText)};
  for (std::size_t i = 0; i < dtmf.memories.size(); ++i) {
    if (dtmf.memories[i].length > 0) items.push_back(std::to_string(i + 1));
  }
  return items;
}

}  // namespace cps
