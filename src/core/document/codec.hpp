// Conversions between the stored forms of frequencies, offsets, tones and DTMF
// digits and the texts the windows show; band clamping and step snapping.
// Numbers are read and written with "." whatever the user's locale.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/document/bytes.hpp"
#include "core/document/model.hpp"

namespace cps {

class Prompter;
struct ChannelRecord;
struct DtmfBlock;

// Where a frequency check takes its limits from and where it warns.
struct CodecContext {
  BandLimits limits;
  Prompter& prompter;
};

// ---- Plain numbers -------------------------------------------------------

// A plain decimal number: optional spaces around, an optional sign, digits
// with at most one ".", at least one digit. No exponent, no grouping.
bool IsNumeric(std::string_view text);
std::optional<double> ParseNumber(std::string_view text);
// `decimals` fixed decimals with "." whatever the C library's locale, zero-padded
// on the left to `width` characters ("%0*.*f" without the locale).
std::string FormatFixed(double value, int decimals, std::size_t width = 0);
// "#0.00000": at least one integer digit and exactly five decimals.
std::string FormatFixed5(double value);
// The shortest text that reads back as the same number ("435.1", "440").
std::string FormatNumber(double value);
// A whole number with optional spaces around and an optional sign; empty otherwise.
std::optional<int> ParseInteger(std::string_view text);
// Nearest integer, halves to the even neighbour.
std::int64_t RoundHalfEven(double value);

// ---- Fixed text fields ---------------------------------------------------

// Trailing spaces removed, then cut before the first NUL.
std::string TrimFixed(std::string_view text);
template <std::size_t N>
std::string TrimFixed(const FixedText<N>& field) {
  return TrimFixed(std::string_view(field.bytes.data(), N));
}

// ---- Frequencies ---------------------------------------------------------

inline constexpr std::string_view kNoFrequency = "FFFFFFFF";

// A frequency text in MHz to the eight-digit stored form ("435.125" gives
// "43512500"); "" stays "". A text that is not a non-negative number reads as
// the band's lower limit.
std::string FreqTextToStored(std::string_view text, const BandLimits& limits);
// The stored form to "#0.00000" MHz; "" for blank or "FFFFFFFF". A stored text
// that is not numeric is reported ("Not IsNumeric") and read as the lower limit.
std::string FreqStoredToText(std::string_view stored, const CodecContext& ctx);
// The frequency limited to the band; text 9021 when it had to be changed.
double ClampToBand(double mhz, const CodecContext& ctx);
double BandLowWithWarning(const CodecContext& ctx);
// "#0.00000" of the clamped value; a text that is no number gives the lower limit.
std::string FormatFreqInBand(std::string_view value, const CodecContext& ctx);
std::string FormatFreqInBand(double mhz, const CodecContext& ctx);

// ---- Offsets and the transmit side ---------------------------------------

// Signed offset text: "+5.00000", "-0.60000", "5.00000" for simplex, "0.00000" if none.
std::string OffsetStoredToText(std::string_view offset, int direction);

struct OffsetResult {
  std::uint8_t direction = 0;
  std::string offset;  // seven digits
};
// Direction and offset that give the transmit text `tx` (a transmit frequency,
// or in offset mode a signed offset) on receive frequency `rx`. Empty when the
// offset would be 100 MHz or more, which seven digits cannot hold.
std::optional<OffsetResult> OffsetFromTexts(std::string_view rx, std::string_view tx,
                                            bool offsetMode, std::string_view offset, int direction,
                                            const CodecContext& ctx);
// The channel table's transmit column: the transmit frequency, or the signed offset.
std::string TxFrequencyText(std::string_view rx, std::string_view offset, int direction,
                            bool offsetMode, const CodecContext& ctx);
// The same quantity as the edit dialog shows it; "" without a receive frequency.
std::string TxColumnText(std::string_view rx, std::string_view offset, int direction,
                         bool offsetMode, const CodecContext& ctx);

// Puts receive and transmit frequencies on the 5, 6.25 or 8.33 kHz grid counted
// from the band's lower limit and records which grid each lies on.
void SnapChannelToStep(ChannelRecord& channel, const CodecContext& ctx);

// ---- Tones ---------------------------------------------------------------

inline constexpr int kToneCount = 283;
inline constexpr int kFirstDcsTone = 51;
inline constexpr int kFirstInvertedDcsTone = 167;
inline constexpr int kLastTone = 282;

// "67.0", "023N", "023I"; the caller's none text for 0; "" outside the table.
std::string ToneText(int index, std::string_view noneText);
// Index of a shown tone text (CTCSS by value, DCS with "N" or "I", any case);
// "" and "none" give 0. Empty when the text names no tone.
std::optional<int> ToneIndexOfText(std::string_view text);

// ---- DTMF ----------------------------------------------------------------

// The radio holds "*" as "E" and "#" as "F".
std::string DtmfStoredToDisplay(std::string_view digits);
std::string DtmfDisplayToStored(std::string_view digits);
// The items of an auto-dial list: the none text, then the numbers of the
// defined DTMF memories ("1" to "16").
std::vector<std::string> DtmfCodeComboItems(const DtmfBlock& dtmf, std::string_view noneText);

}  // namespace cps
