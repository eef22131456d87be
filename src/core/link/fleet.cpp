#include "core/link/fleet.hpp"

#include <algorithm>
#include <array>
#include <cstdio>

#include "core/document/model.hpp"
#include "core/link/engine.hpp"
#include "core/link/link_state.hpp"

namespace cps {

namespace {

struct ReasonRow {
  int messageTextId;
  int reasonTextId;
};

// The messages that end a write, and how the fleet's table names them.
constexpr std::array<ReasonRow, 9> kReasons{{
    {text::kCannotOpenPort, text::kFleetCannotOpen},
    {text::kTransferFailedRetry, text::kFleetNoAnswer},
    {text::kModelMismatch, text::kFleetOtherModel},
    {text::kBandDiffers, text::kFleetOtherBand},
    {text::kBandRefused, text::kFleetOtherBand},
    {text::kWriteProtected, text::kFleetWriteProtected},
    {text::kWriteNotAccepted, text::kFleetNotAccepted},
    {text::kNoProgramForVersion, text::kFleetOtherVersion},
    {text::kBackupFailed, text::kFleetNoBackup},
}};

std::string oneLine(std::string text) {
  std::replace_if(
      text.begin(), text.end(), [](char c) { return c == '\r' || c == '\n'; }, ' ');
  return text;
}

// The columns a text takes on the terminal: a byte that continues a UTF-8
// character takes none of its own.
std::size_t columnsOf(const std::string& text) {
  return static_cast<std::size_t>(std::count_if(text.begin(), text.end(), [](char c) {
    return (static_cast<unsigned char>(c) & 0xC0u) != 0x80u;
  }));
}

std::string padded(const std::string& text, std::size_t width) {
  const std::size_t columns = columnsOf(text);
  return columns >= width ? text : text + std::string(width - columns, ' ');
}

std::string resultText(const FleetRadio& radio, const FleetTextOf& textOf) {
  std::string result = textOf(FleetStageTextId(radio.stage));
  if (radio.stage == FleetStage::Failed && !radio.reason.empty()) result += ": " + radio.reason;
  return result;
}

}  // namespace

bool FleetStageFinal(FleetStage stage) {
  return stage == FleetStage::Written || stage == FleetStage::Verified ||
         stage == FleetStage::Failed;
}

int FleetStageTextId(FleetStage stage) {
  switch (stage) {
    case FleetStage::Waiting:
      return text::kFleetWaiting;
    case FleetStage::Writing:
      return text::kFleetWriting;
    case FleetStage::Verifying:
      return text::kFleetVerifying;
    case FleetStage::Written:
      return text::kFleetWritten;
    case FleetStage::Verified:
      return text::kFleetVerified;
    case FleetStage::Failed:
      break;
  }
  return text::kFleetFailed;
}

bool FleetRadioDone(const FleetRadio& radio, bool verify) {
  return radio.stage == FleetStage::Verified || (!verify && radio.stage == FleetStage::Written);
}

bool FleetDone(std::span<const FleetRadio> radios, bool verify) {
  return !radios.empty() && std::all_of(radios.begin(), radios.end(), [verify](const auto& r) {
    return FleetRadioDone(r, verify);
  });
}

std::string FleetIdentityText(const std::string& model, int bandCode, const std::string& version) {
  std::string band(BandLabelOfIndex(bandCode));
  if (band.empty()) band = "band " + std::to_string(bandCode);
  return TrimFixed(model) + " " + band + " " + TrimFixed(version);
}

std::string FleetProgressText(const FleetRadio& radio, const FleetTextOf& textOf,
                              std::size_t portWidth) {
  std::array<char, 16> blocks{};
  std::snprintf(blocks.data(), blocks.size(), "%3d/%d",
                std::clamp(radio.blocksDone, 0, kWholeRadioBlocks), kWholeRadioBlocks);
  return padded(radio.port, portWidth) + "  " + blocks.data() + "  " +
         oneLine(resultText(radio, textOf));
}

std::string FleetSummary(std::span<const FleetRadio> radios, bool verify,
                         const FleetTextOf& textOf) {
  const std::string portHead = textOf(text::kFleetPort);
  const std::string radioHead = textOf(text::kFleetRadio);
  std::size_t portWidth = columnsOf(portHead);
  std::size_t radioWidth = columnsOf(radioHead);
  for (const auto& radio : radios) {
    portWidth = std::max(portWidth, columnsOf(radio.port));
    radioWidth = std::max(radioWidth, columnsOf(radio.identity));
  }
  std::string table = padded(portHead, portWidth) + "  " + padded(radioHead, radioWidth) + "  " +
                      textOf(text::kFleetResult) + "\n";
  for (const auto& radio : radios) {
    table += padded(radio.port, portWidth) + "  " +
             padded(radio.identity.empty() ? "-" : radio.identity, radioWidth) + "  " +
             oneLine(resultText(radio, textOf)) + "\n";
  }
  const auto done = std::count_if(radios.begin(), radios.end(),
                                  [verify](const auto& r) { return FleetRadioDone(r, verify); });
  Message count = TextMessage(text::kFleetCount);
  count.arguments = {std::to_string(done), std::to_string(radios.size())};
  return table + MessageBody(count, textOf(count.textId)) + "\n";
}

std::string FleetReasonOf(const Message& message, const FleetTextOf& textOf) {
  if (message.textId == 0 && message.fixedText == kPasswordFailureText) {
    return textOf(text::kFleetPasswordRefused);
  }
  for (const auto& row : kReasons) {
    if (row.messageTextId == message.textId) return textOf(row.reasonTextId);
  }
  return oneLine(MessageBody(message, message.textId != 0 ? textOf(message.textId) : ""));
}

Answer FleetPrompter::ask(const Message& message) {
  // "Read complete", "write complete": no reason, the transfer goes on to its end.
  if (message.buttons == Buttons::Ok && message.icon == Icon::Information) return Answer::Ok;
  if (message.textId == text::kTransferFailedRetry && m_answers.retries > 0) {
    --m_answers.retries;
    return Answer::Ok;
  }
  if (message.textId == text::kBandDiffers && m_answers.yes) return Answer::Ok;
  m_reason = FleetReasonOf(message, m_textOf);
  return SafeAnswer(message.buttons);
}

std::optional<std::string> FleetPrompter::askPassword() {
  // Offered once: asking again would only be refused again.
  if (!m_answers.password) return std::nullopt;
  auto password = PasswordOfEntry(*m_answers.password);
  m_answers.password.reset();
  return password;
}

}  // namespace cps
