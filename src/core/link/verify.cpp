#include "core/link/verify.hpp"

#include <array>
#include <cstdio>

#include "core/app/text_ids.hpp"
#include "core/document/codec.hpp"
#include "core/run_state.hpp"

namespace cps {

std::string HexBytesText(const std::vector<std::uint8_t>& bytes) {
  std::string text;
  for (const auto b : bytes) {
    std::array<char, 4> hex{};
    std::snprintf(hex.data(), hex.size(), "%02X", static_cast<unsigned>(b));
    if (!text.empty()) text += ' ';
    text += hex.data();
  }
  return text;
}

namespace {

std::string hexAddress(std::size_t address) {
  std::array<char, 8> hex{};
  std::snprintf(hex.data(), hex.size(), "0x%03zX", address);
  return hex.data();
}

}  // namespace

std::vector<ImageDifference> CompareWrittenImage(const RadioImage& written,
                                                 const RadioImage& held) {
  std::vector<ImageDifference> differences;
  for (const auto& field : RadioImageFields()) {
    bool differs = false;
    for (std::size_t i = 0; i < field.size; ++i) {
      const std::size_t at = field.address + i;
      differs = differs || ((written[at] ^ held[at]) & field.mask) != 0;
    }
    if (!differs) continue;
    ImageDifference d{field.address, field.size, field.name, field.mask != 0xFF, {}, {}};
    if (d.bits) {
      const auto valueOf = [&field](std::uint8_t byte) {
        unsigned value = byte & field.mask;
        for (unsigned mask = field.mask; (mask & 1u) == 0; mask >>= 1) value >>= 1;
        return static_cast<std::uint8_t>(value);
      };
      d.written.push_back(valueOf(written[field.address]));
      d.held.push_back(valueOf(held[field.address]));
    } else {
      for (std::size_t i = 0; i < field.size; ++i) {
        d.written.push_back(written[field.address + i]);
        d.held.push_back(held[field.address + i]);
      }
    }
    differences.push_back(std::move(d));
  }
  return differences;
}

std::string DifferenceText(const ImageDifference& difference) {
  std::string where = hexAddress(difference.address);
  if (difference.size > 1) where += "-" + hexAddress(difference.address + difference.size - 1);
  const auto shown = [&difference](const std::vector<std::uint8_t>& bytes) {
    return difference.bits ? std::to_string(bytes.front()) : HexBytesText(bytes);
  };
  return where + " " + difference.meaning + ": written " + shown(difference.written) +
         ", the radio holds " + shown(difference.held);
}

std::string DifferencesReport(const std::vector<ImageDifference>& differences, std::size_t limit) {
  std::string report;
  for (std::size_t i = 0; i < differences.size() && i < limit; ++i) {
    report += DifferenceText(differences[i]) + "\n";
  }
  if (differences.size() > limit) {
    report += "... and " + std::to_string(differences.size() - limit) + " more\n";
  }
  return report;
}

namespace {

// Quiet: a frequency the radio holds damaged is one of the differences, not a question.
class QuietPrompter final : public Prompter {
 public:
  Answer ask(const Message&) override { return Answer::Ok; }
  std::optional<std::string> chooseFile(const FileDialogRequest&) override { return std::nullopt; }
};

template <typename T, typename Line>
void appendLimited(std::string& report, const std::vector<T>& items, std::size_t limit, Line line) {
  for (std::size_t i = 0; i < items.size() && i < limit; ++i) report += line(items[i]) + "\n";
  if (items.size() > limit) {
    report += "... and " + std::to_string(items.size() - limit) + " more\n";
  }
}

}  // namespace

WriteCheck CheckWrittenImage(const RadioImage& written, const RadioImage& held,
                             const RunState& state, const TextOf& textOf) {
  WriteCheck check;
  check.image = CompareWrittenImage(written, held);
  if (check.image.empty()) return check;
  QuietPrompter quiet;
  std::array<RunState, 2> sides;
  const std::array<const RadioImage*, 2> images{&written, &held};
  for (std::size_t i = 0; i < sides.size(); ++i) {
    sides[i].model = state.model;
    UnpackRadioImage(*images[i], sides[i], CodecContext{state.model.limits, quiet});
  }
  check.document = CompareDocuments(WorkingDocumentOf(sides[0]), WorkingDocumentOf(sides[1]),
                                    textOf, CompareOptions{});
  return check;
}

std::string WriteCheckReport(const WriteCheck& check, std::size_t limit) {
  std::string report;
  appendLimited(report, check.document, limit, DifferenceLine);
  if (!check.image.empty()) {
    if (!report.empty()) report += "\n";
    report += "Radio memory:\n";
    appendLimited(report, check.image, limit, DifferenceText);
  }
  return report;
}

Answer HoldCompletionNotices::ask(const Message& message) {
  if (m_holding &&
      (message.textId == text::kReadComplete || message.textId == text::kWriteComplete)) {
    return Answer::Ok;
  }
  return m_inner.ask(message);
}

}  // namespace cps
