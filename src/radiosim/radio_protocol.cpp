#include "radiosim/radio_protocol.hpp"

#include <algorithm>
#include <string_view>

#include "core/document/bytes.hpp"

namespace cps::radiosim {

namespace {

constexpr std::string_view kProgramWord = "PROGRAM";
constexpr std::string_view kEndWord = "END";
constexpr std::uint8_t kIdentRequest = 0x02;
constexpr std::uint8_t kAck = 0x06;
constexpr std::uint8_t kRetryRequest = 0x0A;
constexpr std::size_t kReadFrameLength = 4;
// "W", address (2), length, then the data, the checksum and 0x06.
constexpr std::size_t kDataFrameOverhead = 6;

std::string hex4(unsigned value) {
  static constexpr char kDigits[] = "0123456789ABCDEF";
  std::string text(4, '0');
  for (int i = 3; i >= 0; --i) {
    text[static_cast<std::size_t>(i)] = kDigits[value & 0xFu];
    value >>= 4;
  }
  return text;
}

std::string hex2(std::uint8_t value) {
  const std::uint8_t byte[] = {value};
  return HexBytes(byte);
}

std::uint16_t addressOf(std::span<const std::uint8_t> frame) {
  return BigEndian16(frame.subspan(1, 2));
}

std::string blockName(std::uint16_t address, std::uint8_t length) {
  return hex4(address) + "+" + std::to_string(length);
}

// The radio serves 0x000 to 0xCFF; a block that is empty or reaches past the
// end is no request it knows, and it does not answer.
bool inMemory(std::uint16_t address, std::uint8_t length) {
  return length > 0 && std::size_t{address} + length <= kMemorySize;
}

std::string describeHostFrame(std::string_view kind, std::span<const std::uint8_t> frame) {
  return "host  " + std::string(kind) + " | " + HexBytes(frame);
}

}  // namespace

std::uint8_t FrameChecksum(std::span<const std::uint8_t> addressLengthAndData) {
  unsigned sum = 0;
  for (const auto byte : addressLengthAndData) sum += byte;
  return static_cast<std::uint8_t>(sum & 0xFFu);
}

std::string HexBytes(std::span<const std::uint8_t> bytes) {
  static constexpr char kDigits[] = "0123456789ABCDEF";
  std::string text;
  text.reserve(bytes.size() * 3);
  for (const auto byte : bytes) {
    if (!text.empty()) text += ' ';
    text += kDigits[byte >> 4];
    text += kDigits[byte & 0xFu];
  }
  return text;
}

RadioProtocol::RadioProtocol(const RadioMemory& memory, ProtocolConfig config)
    : m_memory(memory), m_config(std::move(config)) {
  m_muted = m_config.faults.muteAfter && *m_config.faults.muteAfter == 0;
}

FeedResult RadioProtocol::feed(std::span<const std::uint8_t> bytes) {
  FeedResult result;
  for (std::size_t i = 0; i < bytes.size(); ++i) {
    // The cable's echo is no doing of the radio: a silent radio's cable still echoes.
    if (m_config.echo) {
      result.out.push_back(bytes[i]);
      result.outAfter.push_back(i + 1);
      result.echoed.push_back(true);
    }
    m_pending.push_back(bytes[i]);
    scan(result, i + 1);
  }
  reportSkipped(result);
  return result;
}

FeedResult RadioProtocol::lineQuiet() {
  FeedResult result;
  if (!m_pending.empty()) {
    note(result, "radio gave up an unfinished frame after a quiet line: " + HexBytes(m_pending));
  }
  while (!m_pending.empty()) {
    skipFirstByte();
    scan(result, 0);
  }
  reportSkipped(result);
  return result;
}

RadioProtocol::Recognised RadioProtocol::recognise() const {
  const auto matchWord = [this](std::string_view word, Kind kind) -> Recognised {
    const std::size_t n = std::min(word.size(), m_pending.size());
    for (std::size_t i = 0; i < n; ++i) {
      if (m_pending[i] != static_cast<std::uint8_t>(word[i])) return {Status::NotAFrame};
    }
    if (m_pending.size() < word.size()) return {Status::Incomplete};
    return {Status::Complete, kind, word.size()};
  };

  switch (m_pending.front()) {
    case 'P':
      return matchWord(kProgramWord, Kind::Program);
    case 'E':
      return matchWord(kEndWord, Kind::End);
    case kIdentRequest:
      return {Status::Complete, Kind::Ident, 1};
    case 'R':
      if (m_pending.size() < kReadFrameLength) return {Status::Incomplete};
      // A request for no block of the memory is noise that began with an "R"
      // (the "R" of "PROGRAM", say); reading on from the next byte finds the
      // frame behind it.
      if (!inMemory(addressOf(m_pending), m_pending[3])) return {Status::NotAFrame};
      return {Status::Complete, Kind::Read, kReadFrameLength};
    case 'W': {
      if (m_pending.size() < kReadFrameLength) return {Status::Incomplete};
      if (!inMemory(addressOf(m_pending), m_pending[3])) return {Status::NotAFrame};
      const std::size_t length = m_pending[3] + kDataFrameOverhead;
      if (m_pending.size() < length) return {Status::Incomplete};
      // A block that does not end in 0x06 was a "W" in the noise, not a frame.
      if (m_pending[length - 1] != kAck) return {Status::NotAFrame};
      return {Status::Complete, Kind::Write, length};
    }
    default:
      return {Status::NotAFrame};
  }
}

void RadioProtocol::scan(FeedResult& result, std::size_t after) {
  while (!m_pending.empty()) {
    const auto found = recognise();
    if (found.status == Status::Incomplete) return;
    if (found.status == Status::NotAFrame) {
      skipFirstByte();
      continue;
    }
    reportSkipped(result);
    const std::vector<std::uint8_t> frame(
        m_pending.begin(), m_pending.begin() + static_cast<std::ptrdiff_t>(found.length));
    m_pending.erase(m_pending.begin(),
                    m_pending.begin() + static_cast<std::ptrdiff_t>(found.length));
    handleFrame(found.kind, frame, result, after);
  }
}

void RadioProtocol::skipFirstByte() {
  if (m_config.log) m_skipped.push_back(m_pending.front());
  m_pending.erase(m_pending.begin());
}

void RadioProtocol::reportSkipped(FeedResult& result) {
  if (m_skipped.empty()) return;
  note(result, "radio skipped " + std::to_string(m_skipped.size()) +
                   " byte(s) that start no frame: " + HexBytes(m_skipped));
  m_skipped.clear();
}

void RadioProtocol::handleFrame(Kind kind, std::span<const std::uint8_t> frame, FeedResult& result,
                                std::size_t after) {
  ++m_framesHeard;
  if (m_config.log) {
    switch (kind) {
      case Kind::Program:
        note(result, describeHostFrame("PROGRAM", frame));
        break;
      case Kind::Ident:
        note(result, describeHostFrame("identify", frame));
        break;
      case Kind::Read:
        note(result, describeHostFrame("read " + blockName(addressOf(frame), frame[3]), frame));
        break;
      case Kind::Write:
        note(result, describeHostFrame("write " + blockName(addressOf(frame), frame[3]), frame));
        break;
      case Kind::End:
        note(result, describeHostFrame("END", frame));
        break;
    }
  }
  if (m_muted) {
    note(result, "radio is silent");
    return;
  }
  // Outside a programming session the radio listens only for the handshake.
  if (kind != Kind::Program && !m_programming) {
    note(result, "radio not in programming mode: no answer");
    return;
  }

  auto answer = act(kind, frame, result);
  if (answer.empty()) return;

  const auto& faults = m_config.faults;
  if (faults.dropEvery != 0 && m_framesHeard % faults.dropEvery == 0) {
    note(result, "fault: the answer to frame " + std::to_string(m_framesHeard) + " is lost");
    return;
  }
  if (kind == Kind::Read) {
    ++m_blocksSent;
    if (faults.corruptEvery != 0 && m_blocksSent % faults.corruptEvery == 0) {
      auto& checksum = answer[answer.size() - 2];
      checksum = static_cast<std::uint8_t>(checksum + 1);
      note(result, "fault: block " + std::to_string(m_blocksSent) + " goes out with checksum " +
                       hex2(checksum) + " instead of " +
                       hex2(static_cast<std::uint8_t>(checksum - 1)));
    }
  }

  // What the radio says is logged whole below; the line may still spoil it.
  std::vector<std::uint8_t> onLine = answer;
  ++m_answersLeft;
  if (faults.cutEvery != 0 && m_answersLeft % faults.cutEvery == 0) {
    onLine.resize(onLine.size() / 2);
    note(result, "fault: answer " + std::to_string(m_answersLeft) + " is cut after " +
                     std::to_string(onLine.size()) + " of " + std::to_string(answer.size()) +
                     " bytes");
  }
  if (faults.noiseEvery != 0 && m_answersLeft % faults.noiseEvery == 0) {
    onLine.insert(onLine.begin(), kLineNoise.begin(), kLineNoise.end());
    note(result, "fault: noise before answer " + std::to_string(m_answersLeft) + ": " +
                     HexBytes(kLineNoise));
  }
  for (const auto byte : onLine) {
    result.out.push_back(byte);
    result.outAfter.push_back(after);
    result.echoed.push_back(false);
  }
  if (m_config.log) {
    std::string what;
    switch (kind) {
      case Kind::Program:
        what = "handshake ack";
        break;
      case Kind::Ident:
        what = "identification";
        break;
      case Kind::Read:
        what = "block " + blockName(addressOf(answer), answer[3]);
        break;
      case Kind::Write:
      case Kind::End:
        what = answer.front() == kAck ? "ack" : "retry request";
        break;
    }
    note(result, "radio " + what + " | " + HexBytes(answer));
  }

  ++m_answers;
  if (faults.muteAfter && m_answers >= *faults.muteAfter) {
    m_muted = true;
    note(result, "fault: after " + std::to_string(m_answers) + " answers the radio falls silent");
  }
}

std::vector<std::uint8_t> RadioProtocol::act(Kind kind, std::span<const std::uint8_t> frame,
                                             FeedResult& result) {
  switch (kind) {
    case Kind::Program:
      m_programming = true;
      return {'T', 'W', kAck};
    case Kind::Ident:
      return identReply();
    case Kind::Read:
      return dataFrame(addressOf(frame), frame[3]);
    case Kind::Write: {
      const auto address = addressOf(frame);
      const auto length = frame[3];
      ++m_blocksWritten;
      const auto sum = FrameChecksum(frame.subspan(1, 3u + length));
      const auto stated = frame[4u + length];
      if (sum != stated) {
        note(result, "radio checksum is " + hex2(sum) + ", the frame says " + hex2(stated) +
                         ": not stored");
        return {kRetryRequest};
      }
      const auto& faults = m_config.faults;
      if (faults.retryEvery != 0 && m_blocksWritten % faults.retryEvery == 0) {
        note(result, "fault: written block " + std::to_string(m_blocksWritten) +
                         " is refused and not stored");
        return {kRetryRequest};
      }
      if (faults.forgetEvery != 0 && m_blocksWritten % faults.forgetEvery == 0) {
        note(result, "fault: written block " + std::to_string(m_blocksWritten) +
                         " is acknowledged but not stored");
        return {kAck};
      }
      std::copy_n(frame.begin() + 4, length, m_memory.begin() + address);
      return {kAck};
    }
    case Kind::End:
      m_programming = false;
      result.transferEnded = true;
      return {kAck};
  }
  return {};
}

std::vector<std::uint8_t> RadioProtocol::identReply() const {
  const auto& id = m_config.identity;
  std::vector<std::uint8_t> reply(16, 0x00);
  reply[0] = 'P';
  for (std::size_t i = 0; i < kModelNameLength && i < id.model.size(); ++i) {
    reply[1 + i] = static_cast<std::uint8_t>(id.model[i]);
  }
  reply[8] = id.bandCode;
  for (std::size_t i = 0; i < kVersionLength && i < id.version.size(); ++i) {
    reply[9 + i] = static_cast<std::uint8_t>(id.version[i]);
  }
  reply[13] = id.capabilities;
  reply[15] = kAck;
  return reply;
}

std::vector<std::uint8_t> RadioProtocol::dataFrame(std::uint16_t address,
                                                   std::uint8_t length) const {
  std::vector<std::uint8_t> frame;
  frame.reserve(length + kDataFrameOverhead);
  frame.push_back('W');
  frame.push_back(static_cast<std::uint8_t>(address >> 8));
  frame.push_back(static_cast<std::uint8_t>(address & 0xFFu));
  frame.push_back(length);
  frame.insert(frame.end(), m_memory.begin() + address, m_memory.begin() + address + length);
  frame.push_back(FrameChecksum(std::span(frame).subspan(1)));
  frame.push_back(kAck);
  return frame;
}

void RadioProtocol::note(FeedResult& result, std::string line) const {
  if (m_config.log) result.log.push_back(std::move(line));
}

}  // namespace cps::radiosim
