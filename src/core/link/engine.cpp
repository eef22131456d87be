#include "core/link/engine.hpp"

#include <algorithm>
#include <array>
#include <cmath>

#include "core/app/version_table.hpp"
#include "core/document/codec.hpp"
#include "core/document/model.hpp"
#include "core/link/link_check.hpp"
#include "core/link/radio_image.hpp"
#include "core/run_state.hpp"

namespace cps {

namespace {

constexpr int kBlockLength = 16;
constexpr int kWholeRadioEnd = 0x0B0F;
constexpr int kInfoEnd = 0x0CFF;
constexpr int kPasswordBlockAddress = 0x0B30;
constexpr int kPasswordOffset = 12;  // data bytes 12 to 15 of that block
constexpr int kBlockBudget = 3;
constexpr int kMaxHandshakeAttempts = 3;  // time-outs before the user is asked
constexpr int kFreeRetryRequests = 10;    // 0x0A answers to one block that cost no budget
static_assert(kWholeRadioBlocks * kBlockLength == kWholeRadioEnd + 1);

constexpr std::uint8_t kAck = 0x06;
constexpr std::uint8_t kRetryRequest = 0x0A;
constexpr std::uint8_t kIdentRequest = 0x02;
constexpr std::array<std::uint8_t, 3> kEndRequest{'E', 'N', 'D'};

// Reply lengths, without the echo in front of them.
constexpr int kHandshakeAckLength = static_cast<int>(kHandshakeAck.size());
constexpr int kIdentReplyLength = 16;
constexpr int kDataFrameLength = kBlockLength + 6;
constexpr int kAckLength = 1;

// What a reply accepted in a step leads to.
enum class ReplyAction {
  SendIdent,              // step AwaitIdent; IdentRequest
  SendIdentForInfo,       // step AwaitPasswordBlock; IdentRequest
  SendPasswordBlockRead,  // step AwaitPasswordBlock; password block read
  CheckIdentityThenRead,
  CheckIdentityThenWrite,
  NextRead,
  FirstInfoRead,  // step AwaitBlock; next read
  NextWrite,
  FinishSuccess,
};

struct ReplyRow {
  TransferKind kind;
  TransferStep step;
  ReplyAction action;
};

using K = TransferKind;
using S = TransferStep;

// StepOnReply: kind and step to action; any pair not listed ends the transfer as a failure.
constexpr std::array<ReplyRow, 14> kReplyTable{{
    {K::ReadAll, S::AwaitHandshake, ReplyAction::SendIdent},
    {K::ReadAll, S::AwaitIdent, ReplyAction::SendPasswordBlockRead},
    {K::ReadAll, S::AwaitPasswordBlock, ReplyAction::CheckIdentityThenRead},
    {K::ReadAll, S::AwaitBlock, ReplyAction::NextRead},
    {K::ReadAll, S::AwaitEnd, ReplyAction::FinishSuccess},
    {K::WriteAll, S::AwaitHandshake, ReplyAction::SendIdent},
    {K::WriteAll, S::AwaitIdent, ReplyAction::SendPasswordBlockRead},
    {K::WriteAll, S::AwaitPasswordBlock, ReplyAction::CheckIdentityThenWrite},
    {K::WriteAll, S::AwaitWriteAck, ReplyAction::NextWrite},
    {K::WriteAll, S::AwaitEnd, ReplyAction::FinishSuccess},
    {K::ReadInfo, S::AwaitHandshake, ReplyAction::SendIdentForInfo},
    {K::ReadInfo, S::AwaitPasswordBlock, ReplyAction::FirstInfoRead},
    {K::ReadInfo, S::AwaitBlock, ReplyAction::FirstInfoRead},
    {K::ReadInfo, S::AwaitEnd, ReplyAction::FinishSuccess},
}};

// What the end of the 150 ms wait leads to.
enum class TimeoutAction {
  RetryHandshake,       // count it; flip the echo assumption, or ask after four attempts
  AskRetry,             // the retry prompt of whole-radio transfers
  RereadPasswordBlock,  // while the password re-reads last, else the retry prompt
  ResendBlock,          // while the block's budget lasts, else the retry prompt
  FinishSuccess,        // the radio kept silent after END: the transfer is complete
  InfoRetryPrompt,
};

struct TimeoutRow {
  TransferKind kind;
  TransferStep step;
  TimeoutAction action;
};

// OnReplyTimeout: kind and step to action; a pair not listed does nothing.
constexpr std::array<TimeoutRow, 14> kTimeoutTable{{
    {K::ReadAll, S::AwaitHandshake, TimeoutAction::RetryHandshake},
    {K::WriteAll, S::AwaitHandshake, TimeoutAction::RetryHandshake},
    {K::ReadInfo, S::AwaitHandshake, TimeoutAction::RetryHandshake},
    {K::ReadAll, S::AwaitIdent, TimeoutAction::AskRetry},
    {K::WriteAll, S::AwaitIdent, TimeoutAction::AskRetry},
    {K::ReadAll, S::AwaitPasswordBlock, TimeoutAction::RereadPasswordBlock},
    {K::WriteAll, S::AwaitPasswordBlock, TimeoutAction::RereadPasswordBlock},
    {K::ReadAll, S::AwaitBlock, TimeoutAction::ResendBlock},
    {K::WriteAll, S::AwaitWriteAck, TimeoutAction::ResendBlock},
    {K::ReadAll, S::AwaitEnd, TimeoutAction::FinishSuccess},
    {K::WriteAll, S::AwaitEnd, TimeoutAction::FinishSuccess},
    {K::ReadInfo, S::AwaitPasswordBlock, TimeoutAction::InfoRetryPrompt},
    {K::ReadInfo, S::AwaitBlock, TimeoutAction::InfoRetryPrompt},
    // Without this row an information read whose END goes unanswered would keep
    // the port open for ever; like the whole-radio transfers it has succeeded.
    {K::ReadInfo, S::AwaitEnd, TimeoutAction::FinishSuccess},
}};

template <typename Row, std::size_t N>
const Row* findRow(const std::array<Row, N>& table, TransferKind kind, TransferStep step) {
  const auto it = std::find_if(table.begin(), table.end(), [&](const Row& row) {
    return row.kind == kind && row.step == step;
  });
  return it == table.end() ? nullptr : &*it;
}

std::uint8_t checksum(std::span<const std::uint8_t> bytes) {
  unsigned sum = 0;
  for (auto b : bytes) sum += b;
  return static_cast<std::uint8_t>(sum & 0xFFu);
}

// Text of the bytes up to the first 0 byte.
std::string textUpToNul(std::span<const std::uint8_t> bytes) {
  std::string text;
  for (auto b : bytes) {
    if (b == 0) break;
    text += static_cast<char>(b);
  }
  return text;
}

}  // namespace

ProtocolEngine::ProtocolEngine(RunState& state, Prompter& prompter, LinkHost& host,
                               EngineSettings settings)
    : m_state(state), m_prompter(prompter), m_host(host), m_settings(std::move(settings)) {}

bool ProtocolEngine::OpenRadioPort(TransferKind kind) {
  m_kind = kind;
  m_step = TransferStep::Idle;
  m_cancelPending = false;
  const bool info = kind == TransferKind::ReadInfo;
  m_endAddress = info ? kInfoEnd : kWholeRadioEnd;
  m_address = info ? kIdentBlockAddress : -kBlockLength;
  m_lastPercent = 0;
  m_blocksDone = 0;
  m_writeAgreed = false;
  m_host.stopReplyTimer();
  const auto blocks =
      static_cast<std::size_t>(RoundHalfEven(static_cast<double>(m_endAddress) / kBlockLength));
  m_blockRetryBudget.assign(blocks, kBlockBudget);
  m_received.clear();
  if (!m_host.openPort()) {
    m_kind = TransferKind::None;
    ask(PortOpenMessage(m_host.openFailure()));
    return false;
  }
  return true;
}

void ProtocolEngine::start() {
  m_handshakeAttempts = 0;
  sendProgramRequest();
}

void ProtocolEngine::abandon() {
  m_receiveArmed = false;
  m_host.stopReplyTimer();
  m_host.closePort();
  m_kind = TransferKind::None;
  m_step = TransferStep::Idle;
}

void ProtocolEngine::cancel() {
  // Already ending: the radio has been told, or the transfer succeeded.
  if (!busy() || m_finishing) return;
  // A question is open (the retry or band question, the password): the code
  // that asked it is waiting for the answer, so the transfer ends there, as
  // after Cancel, whatever the answer turns out to be.
  if (m_promptOpen) {
    m_cancelPending = true;
    return;
  }
  FinishTransfer(false);
}

Answer ProtocolEngine::ask(const Message& message) {
  m_promptOpen = true;
  const Answer answer = m_prompter.ask(message);
  m_promptOpen = false;
  return m_cancelPending ? SafeAnswer(message.buttons) : answer;
}

// ---- Sending ---------------------------------------------------------------

void ProtocolEngine::sendFrame(Frame frame, std::vector<std::uint8_t> bytes) {
  m_host.startReplyTimer();
  expectReply(frame, bytes.size());
  m_host.emptyBuffers();
  m_received.clear();
  m_firstByteDue = frame == Frame::Program;
  m_host.write(bytes);
}

void ProtocolEngine::expectReply(Frame frame, std::size_t frameLength) {
  int replyLength = kAckLength;
  switch (frame) {
    case Frame::Program:
      replyLength = kHandshakeAckLength;
      break;
    case Frame::Ident:
      replyLength = kIdentReplyLength;
      break;
    case Frame::Read:
      replyLength = kDataFrameLength;
      break;
    case Frame::Data:
    case Frame::End:
      replyLength = kAckLength;
      break;
  }
  // An echoing cable hands back the frame itself before the radio's reply.
  m_replyOffset = m_state.link.echoExpected ? static_cast<int>(frameLength) : 0;
  m_threshold = m_replyOffset + replyLength;
  m_host.setReceiveThreshold(m_threshold);
}

void ProtocolEngine::sendProgramRequest() {
  m_receiveArmed = true;
  m_retryRequests = 0;
  m_step = TransferStep::AwaitHandshake;
  sendFrame(Frame::Program, {kProgramRequest.begin(), kProgramRequest.end()});
}

void ProtocolEngine::sendIdentRequest() { sendFrame(Frame::Ident, {kIdentRequest}); }

void ProtocolEngine::sendReadRequest(int address) {
  sendFrame(Frame::Read, {'R', static_cast<std::uint8_t>(address >> 8),
                          static_cast<std::uint8_t>(address & 0xFF), kBlockLength});
}

void ProtocolEngine::sendPasswordBlockRead() { sendReadRequest(kPasswordBlockAddress); }

std::uint8_t ProtocolEngine::blockByte(int address) const {
  if (address >= 0 && address < static_cast<int>(kRadioImageSize)) {
    return m_state.link.image[static_cast<std::size_t>(address)];
  }
  return 0xFF;
}

void ProtocolEngine::sendDataFrame(int address) {
  std::vector<std::uint8_t> frame{'W', static_cast<std::uint8_t>(address >> 8),
                                  static_cast<std::uint8_t>(address & 0xFF), kBlockLength};
  for (int i = 0; i < kBlockLength; ++i) frame.push_back(blockByte(address + i));
  frame.push_back(checksum(std::span(frame).subspan(1)));
  frame.push_back(kAck);
  sendFrame(Frame::Data, frame);
}

void ProtocolEngine::sendEndRequest() {
  sendFrame(Frame::End, {kEndRequest.begin(), kEndRequest.end()});
}

// ---- Receiving -------------------------------------------------------------

void ProtocolEngine::onBytesReceived(std::span<const std::uint8_t> bytes) {
  // Bytes that come while a question is open, or outside a transfer, are stale.
  if (!m_receiveArmed || m_promptOpen || m_kind == TransferKind::None) return;
  if (m_firstByteDue && !bytes.empty()) {
    m_firstByteDue = false;
    learnTheCable(bytes.front());
  }
  m_received.insert(m_received.end(), bytes.begin(), bytes.end());
  if (static_cast<int>(m_received.size()) < m_threshold) return;
  // As a receive event reads the whole input buffer: the reply is the first
  // threshold-many bytes and whatever came after them is dropped.
  std::vector<std::uint8_t> buffer(m_received.begin(), m_received.begin() + m_threshold);
  m_received.clear();
  handleReply(buffer);
}

// The first byte back after PROGRAM tells the cable: its echo starts with the
// "P" of PROGRAM, the radio's answer with the "T" of "TW". Knowing it at once
// spares the 150 ms a wrong guess would wait. Any other first byte (noise)
// decides nothing, and the handshake's time-outs turn the guess round as before.
void ProtocolEngine::learnTheCable(std::uint8_t firstByte) {
  const bool echo = firstByte == kProgramRequest.front();
  if (!echo && firstByte != kHandshakeAck.front()) return;
  if (echo == m_state.link.echoExpected) return;
  m_state.link.echoExpected = echo;
  expectReply(Frame::Program, kProgramRequest.size());
}

void ProtocolEngine::handleReply(std::span<const std::uint8_t> buffer) {
  const auto length = static_cast<int>(buffer.size());
  const int r = m_replyOffset;
  if (length <= r) return;
  const auto reply = buffer.subspan(static_cast<std::size_t>(r));

  // 1. Acknowledgement.
  if (length == r + 1 && reply[0] == kAck) {
    StepOnReply();
    return;
  }
  // 2. The radio asks for the last data frame again; the block's budget is not spent.
  if (length == r + 1 && reply[0] == kRetryRequest) {
    // Only a block being written can be asked for again. Answered to END (or
    // to anything else) it would send a block past the image, and the radio
    // would store sixteen 0xFF bytes over its production data at 0x0B10.
    if (m_kind != TransferKind::WriteAll || m_step != TransferStep::AwaitWriteAck) return;
    // A radio that refuses one block again and again (a byte the cable spoils
    // every time) would keep the write going for ever: past a generous number
    // of refusals each counts as the block going unanswered, so that its
    // budget and then the user decide.
    if (++m_retryRequests > kFreeRetryRequests) {
      onReplyTimeout();
      return;
    }
    m_host.stopReplyTimer();
    sendDataFrame(m_address);
    return;
  }
  // 3. Handshake acknowledgement.
  if (length == r + kHandshakeAckLength &&
      std::equal(kHandshakeAck.begin(), kHandshakeAck.end(), reply.begin())) {
    StepOnReply();
    return;
  }
  // 4. Identification.
  if (length == r + kIdentReplyLength && reply[0] == 'P' && buffer.back() == kAck) {
    if (m_kind == TransferKind::ReadInfo) {
      StepOnReply();
      return;
    }
    takeIdentification(reply);
    if (m_kind == TransferKind::WriteAll) {
      const auto& caps = m_state.link.currentCapabilities.bits;
      const int refusal = caps[3] ? text::kWriteProtected : caps[2] ? text::kWriteNotAccepted : 0;
      if (refusal != 0) {
        m_host.stopReplyTimer();
        ask(TextMessage(refusal, Buttons::Ok, Icon::Warning));
        FinishTransfer(false);
        return;
      }
    }
    StepOnReply();
    return;
  }
  if (length < r + kDataFrameLength || reply[0] != 'W') return;
  const int address = BigEndian16(reply.subspan(1, 2));
  const int n = reply[3];
  const bool framed = length == r + n + 6 && buffer.back() == kAck;
  // 5. The password block; its checksum is not examined.
  if (framed && address == kPasswordBlockAddress && m_step == TransferStep::AwaitPasswordBlock) {
    const auto data = reply.subspan(4, static_cast<std::size_t>(n));
    if (CheckProgramPassword(data)) {
      StepOnReply();
      return;
    }
    m_host.stopReplyTimer();
    m_promptOpen = true;
    if (auto entered = m_prompter.askPassword()) m_state.link.enteredPassword = *entered;
    m_promptOpen = false;
    if (m_cancelPending) {
      FinishTransfer(false);
    } else if (CheckProgramPassword(data)) {
      StepOnReply();
    } else {
      ask(FixedMessage(kPasswordFailureText, Buttons::Ok, Icon::Critical));
      FinishTransfer(false);
    }
    return;
  }
  // 6. A data block answering the read of the current address.
  if (framed && address == m_address && n == kBlockLength &&
      checksum(reply.subspan(1, static_cast<std::size_t>(n) + 3)) ==
          reply[static_cast<std::size_t>(n) + 4]) {
    StoreReadBlock(reply.subspan(4, static_cast<std::size_t>(n)));
    StepOnReply();
  }
  // Anything else is ignored: the reply timer will run out.
}

void ProtocolEngine::takeIdentification(std::span<const std::uint8_t> reply) {
  m_radioModel = textUpToNul(reply.subspan(1, 7));
  m_radioBandCode = reply[8];
  m_radioVersion = textUpToNul(reply.subspan(9, 4));
  auto& image = m_state.link.image;
  std::copy_n(reply.begin() + 1, 7, image.begin() + kIdentBlockAddress);
  std::copy_n(reply.begin() + 9, 4, image.begin() + kIdentBlockAddress + 8);
  image[kIdentBlockAddress + 12] = reply[13];
  DeriveCapabilityFlags(reply[13], m_state);
}

bool ProtocolEngine::CheckProgramPassword(std::span<const std::uint8_t> data) const {
  std::string password;
  for (std::size_t i = kPasswordOffset; i < kPasswordOffset + 4 && i < data.size(); ++i) {
    if (data[i] == 0xFF || data[i] == 0) break;
    password += static_cast<char>(data[i]);
  }
  password = TrimFixed(password);
  // A radio without a password lets everyone in.
  return password.empty() || password == m_state.link.enteredPassword;
}

void ProtocolEngine::StoreReadBlock(std::span<const std::uint8_t> data) {
  for (std::size_t i = 0; i < data.size(); ++i) {
    const int address = m_address + static_cast<int>(i);
    if (address >= 0 && address < kInfoAreaAddress) {
      m_state.link.image[static_cast<std::size_t>(address)] = data[i];
    } else if (address >= kInfoAreaAddress && address <= kInfoEnd) {
      m_state.link.infoArea[static_cast<std::size_t>(address - kInfoAreaAddress)] = data[i];
    }
  }
  if (m_kind == TransferKind::ReadAll) {
    ShowTransferProgress(m_address, m_address / kBlockLength + 1);
  }
}

// The percentage follows the address and only ever grows; the block count is
// what has really been moved, so that it neither skips nor stops short.
void ProtocolEngine::ShowTransferProgress(int address, int blocksDone) {
  const auto percent =
      static_cast<int>(RoundHalfEven(static_cast<double>(address) * 100.0 / m_endAddress));
  if (percent <= m_lastPercent && blocksDone == m_blocksDone) return;
  m_lastPercent = std::max(m_lastPercent, percent);
  m_blocksDone = blocksDone;
  m_host.showProgress(m_lastPercent, m_blocksDone);
}

// ---- Advancing -------------------------------------------------------------

void ProtocolEngine::StepOnReply() {
  m_host.stopReplyTimer();
  const ReplyRow* row = findRow(kReplyTable, m_kind, m_step);
  if (row == nullptr) {
    FinishTransfer(false);
    return;
  }
  switch (row->action) {
    case ReplyAction::SendIdent:
      m_step = TransferStep::AwaitIdent;
      sendIdentRequest();
      break;
    case ReplyAction::SendIdentForInfo:
      m_step = TransferStep::AwaitPasswordBlock;
      sendIdentRequest();
      break;
    case ReplyAction::SendPasswordBlockRead:
      m_step = TransferStep::AwaitPasswordBlock;
      sendPasswordBlockRead();
      break;
    case ReplyAction::CheckIdentityThenRead:
    case ReplyAction::CheckIdentityThenWrite:
      if (!CheckRadioIdentity()) {
        if (m_kind != TransferKind::None) FinishTransfer(false);
        break;
      }
      if (row->action == ReplyAction::CheckIdentityThenRead) {
        m_step = TransferStep::AwaitBlock;
        nextRead();
      } else if (hostLetsTheWriteBegin()) {
        m_step = TransferStep::AwaitWriteAck;
        nextWrite();
      } else {
        FinishTransfer(false);
      }
      break;
    case ReplyAction::NextRead:
      nextRead();
      break;
    case ReplyAction::FirstInfoRead:
      m_step = TransferStep::AwaitBlock;
      nextRead();
      break;
    case ReplyAction::NextWrite:
      nextWrite();
      break;
    case ReplyAction::FinishSuccess:
      FinishTransfer(true);
      break;
  }
}

void ProtocolEngine::nextRead() {
  m_address += kBlockLength;
  if (m_address >= m_endAddress) {
    endOfTransfer();
    return;
  }
  sendReadRequest(m_address);
}

void ProtocolEngine::nextWrite() {
  m_address += kBlockLength;
  m_retryRequests = 0;
  // Every block before this one has been acknowledged.
  const int acknowledged = m_address / kBlockLength;
  if (m_address >= m_endAddress) {
    ShowTransferProgress(m_address - kBlockLength, acknowledged);
    endOfTransfer();
    return;
  }
  ShowTransferProgress(m_address, acknowledged);
  sendDataFrame(m_address);
}

void ProtocolEngine::endOfTransfer() {
  m_step = TransferStep::AwaitEnd;
  sendEndRequest();
}

bool ProtocolEngine::CheckRadioIdentity() {
  const auto& model = m_state.model;
  const bool reading = m_kind == TransferKind::ReadAll;
  const bool modelOk = reading ? (m_radioModel == kModelTW530 || m_radioModel == kModelTW530G)
                               : m_radioModel == model.currentModel;
  const int documentBand = BandIndexOfLabel(model.currentBandLabel);
  const bool bandOk = reading || documentBand == m_radioBandCode;
  const bool versionOk = IsVersionCompatible(m_settings.versions, kProgramVersion, m_radioVersion);
  if (modelOk && bandOk && versionOk) return true;

  if (m_radioModel != model.currentModel) {
    ask(TextMessage(text::kModelMismatch, Buttons::Ok, Icon::Warning));
    return false;
  }
  if (!versionOk) {
    const auto answer = ask(FixedMessage(VersionMismatchText(m_settings.langText, kProgramVersion,
                                                             m_radioVersion, VersionSubject::Radio),
                                         Buttons::YesNo, Icon::Question));
    if (answer == Answer::Yes) handOver(m_radioVersion);
    return false;
  }
  // The same band group with another sub-band may be programmed after a warning.
  const int documentGroup = documentBand / 8;
  const int radioGroup = m_radioBandCode / 8;
  if (documentGroup <= 3 && documentGroup == radioGroup) {
    return ask(TextMessage(text::kBandDiffers, Buttons::OkCancel, Icon::Warning)) == Answer::Ok;
  }
  ask(TextMessage(text::kBandRefused, Buttons::Ok, Icon::Warning));
  return false;
}

bool ProtocolEngine::hostLetsTheWriteBegin() {
  // Once a transfer: a write that starts over after the retry prompt sends
  // the same image again.
  if (m_writeAgreed) return true;
  // The host may ask the user here; what the line brings meanwhile is stale.
  m_promptOpen = true;
  m_writeAgreed = m_host.beforeFirstBlockWritten() && !m_cancelPending;
  m_promptOpen = false;
  return m_writeAgreed;
}

void ProtocolEngine::handOver(const std::string& radioVersion) {
  const auto program = LaunchPathFor(m_settings.versions, radioVersion, m_settings.baseFolder,
                                     m_settings.executableName);
  if (program.empty()) ask(TextMessage(text::kNoProgramForVersion, Buttons::Ok, Icon::Warning));
  // The radio answered the handshake and is in programming mode; the other
  // program version starts with a handshake of its own, which a radio still in
  // that mode may not answer.
  sendEndWithoutWaiting();
  m_receiveArmed = false;
  m_host.stopReplyTimer();
  closeAfterSending();
  m_kind = TransferKind::None;
  m_step = TransferStep::Idle;
  m_host.handOver(program);
}

// ---- Ending ----------------------------------------------------------------

void ProtocolEngine::FinishTransfer(bool success) {
  const TransferKind kind = m_kind;
  m_finishing = true;
  // Tell the radio the session is over; no answer is awaited.
  if (!success) sendEndWithoutWaiting();
  m_receiveArmed = false;
  m_host.stopReplyTimer();
  closeAfterSending();
  if (success && kind == TransferKind::ReadInfo) {
    UnpackInfoArea(m_state.link.infoArea, m_state.radioInfo);
  }
  m_host.transferEnded(kind, success);
  if (success && (kind == TransferKind::ReadAll || kind == TransferKind::WriteAll)) {
    ask(TextMessage(kind == TransferKind::ReadAll ? text::kReadComplete : text::kWriteComplete,
                    Buttons::Ok, Icon::Information));
  }
  m_kind = TransferKind::None;
  m_step = TransferStep::Idle;
  m_cancelPending = false;
  m_finishing = false;
}

void ProtocolEngine::sendEndWithoutWaiting() {
  m_host.emptyBuffers();
  m_host.write(kEndRequest);
}

void ProtocolEngine::closeAfterSending() {
  // A port's close drops what it has not sent: without the wait, the END of a
  // failed transfer would never reach the radio, which would stay in
  // programming mode and might not answer the next transfer.
  m_host.drainOutput();
  m_host.closePort();
}

void ProtocolEngine::AskTransferRetry() {
  m_receiveArmed = false;
  m_handshakeAttempts = 0;
  m_state.link.passwordReadRetries = 3;
  const auto answer =
      ask(TextMessage(text::kTransferFailedRetry, Buttons::OkCancel, Icon::Question));
  if (answer != Answer::Ok) {
    FinishTransfer(false);
    return;
  }
  // Again from the handshake; the blocks' budgets are not refilled, so a block
  // that used its budget up asks again at its next time-out.
  sendProgramRequest();
  m_address = -kBlockLength;
  m_lastPercent = 0;
  m_blocksDone = 0;
  m_host.showProgress(0, 0);
}

void ProtocolEngine::askInfoRetry() {
  m_receiveArmed = false;
  const auto answer =
      ask(TextMessage(text::kTransferFailedRetry, Buttons::RetryCancel, Icon::Question));
  if (answer != Answer::Retry) {
    FinishTransfer(false);
    return;
  }
  // The block that was awaited is asked for again, so that no part of the
  // information area is left unread.
  if (m_step == TransferStep::AwaitBlock) m_address -= kBlockLength;
  sendProgramRequest();
}

void ProtocolEngine::onReplyTimeout() {
  m_host.stopReplyTimer();
  const TimeoutRow* row = findRow(kTimeoutTable, m_kind, m_step);
  if (row == nullptr) return;
  switch (row->action) {
    case TimeoutAction::RetryHandshake:
      ++m_handshakeAttempts;
      if (m_handshakeAttempts > kMaxHandshakeAttempts) {
        if (m_kind == TransferKind::ReadInfo) {
          askInfoRetry();
        } else {
          AskTransferRetry();
        }
        return;
      }
      m_state.link.echoExpected = !m_state.link.echoExpected;
      sendProgramRequest();
      return;
    case TimeoutAction::AskRetry:
      AskTransferRetry();
      return;
    case TimeoutAction::RereadPasswordBlock: {
      const int before = m_state.link.passwordReadRetries--;
      if (before >= 2) {
        sendPasswordBlockRead();
      } else {
        AskTransferRetry();
      }
      return;
    }
    case TimeoutAction::ResendBlock: {
      const auto block = static_cast<std::size_t>(std::max(m_address, 0) / kBlockLength);
      if (block >= m_blockRetryBudget.size() || m_blockRetryBudget[block] < 1) {
        AskTransferRetry();
        return;
      }
      --m_blockRetryBudget[block];
      if (m_kind == TransferKind::WriteAll) {
        sendDataFrame(m_address);
      } else {
        sendReadRequest(m_address);
      }
      return;
    }
    case TimeoutAction::FinishSuccess:
      FinishTransfer(true);
      return;
    case TimeoutAction::InfoRetryPrompt:
      askInfoRetry();
      return;
  }
}

}  // namespace cps
