#include "core/link/link_check.hpp"

#include <algorithm>

#include "core/link/link_state.hpp"

namespace cps {

namespace {

// A line that keeps talking without ever ending in the acknowledgement (noise,
// another device on the port) must not grow the buffer without end; only the
// last bytes can still become the answer.
constexpr std::size_t kKeepAtMost = 64;
constexpr std::size_t kKeepAfterTrim = 32;

}  // namespace

bool IsLink2(std::span<const std::uint8_t> bytes) {
  return bytes.size() >= kHandshakeAck.size() &&
         std::equal(kHandshakeAck.begin(), kHandshakeAck.end(),
                    bytes.end() - static_cast<std::ptrdiff_t>(kHandshakeAck.size()));
}

std::vector<std::string> ListLinkPorts(const PortMap& ports, bool isNt6) {
  std::vector<std::string> items;
  if (isNt6) {
    for (int n = 1; n <= kMaxPortNumber; ++n) items.push_back("COM" + std::to_string(n));
    return items;
  }
  for (const auto& entry : ports) items.push_back("COM" + std::to_string(entry.first));
  return items;
}

std::span<const std::uint8_t> LinkCheck::WriteLink2() {
  m_replyOffset = m_link.echoExpected ? kEchoReplyOffset : 0;
  m_threshold = m_replyOffset + static_cast<int>(kHandshakeAck.size());
  m_received.clear();
  m_waiting = true;
  return kProgramRequest;
}

bool LinkCheck::onBytesReceived(std::span<const std::uint8_t> bytes) {
  if (!m_waiting) return false;
  m_received.insert(m_received.end(), bytes.begin(), bytes.end());
  if (m_received.size() > kKeepAtMost) {
    m_received.erase(m_received.begin(),
                     m_received.end() - static_cast<std::ptrdiff_t>(kKeepAfterTrim));
  }
  // The answer counts only once as many bytes came as the echo assumption says:
  // a radio heard without the echo that was expected must answer the next
  // attempt, which expects none, so that the check leaves the echo setting with
  // which the later transfers will find their replies.
  if (static_cast<int>(m_received.size()) < m_threshold || !IsLink2(m_received)) return false;
  m_waiting = false;
  m_received.clear();
  return true;
}

LinkCheck::AfterWait LinkCheck::onLinkWait() {
  ++m_attempts;
  if (m_attempts > kMaxResends) {
    m_attempts = 0;
    m_waiting = false;
    m_received.clear();
    return AfterWait::GiveUp;
  }
  m_link.echoExpected = !m_link.echoExpected;
  return AfterWait::SendAgain;
}

}  // namespace cps
