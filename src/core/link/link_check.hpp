// The first-run link check without I/O: the handshake bytes, the port list the
// first-run dialog offers, and the state of one check (attempts, the echo
// assumption, the bytes gathered) that its window feeds with arrivals and
// time-outs.
#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "core/app/port_map.hpp"

namespace cps {

struct LinkState;

// "PROGRAM": the host asks the radio to enter programming mode.
inline constexpr std::array<std::uint8_t, 7> kProgramRequest{'P', 'R', 'O', 'G', 'R', 'A', 'M'};
// "TW" 0x06: the radio has entered programming mode.
inline constexpr std::array<std::uint8_t, 3> kHandshakeAck{'T', 'W', 0x06};

// The radio answered: the bytes end with its acknowledgement, with or without
// the cable's echo of the request in front.
bool IsLink2(std::span<const std::uint8_t> bytes);

// The ports the first-run dialog lists: on Windows NT 6.x every name COM1 to
// COM255, else "COMn" for each port of the map, in the map's order.
std::vector<std::string> ListLinkPorts(const PortMap& ports, bool isNt6);

// One link check: a request, up to three re-sends that alternate the echo
// assumption, then the user is told and may try again.
class LinkCheck {
 public:
  // Re-sends after the first request before the user is told.
  static constexpr int kMaxResends = 3;
  static constexpr int kEchoReplyOffset = static_cast<int>(kProgramRequest.size());

  explicit LinkCheck(LinkState& link) : m_link(link) {}

  // Starts an attempt under the current echo assumption, forgetting what came
  // before; returns the bytes to write.
  std::span<const std::uint8_t> WriteLink2();
  // Bytes from the port. True once, when the radio's answer is complete; bytes
  // outside an attempt are ignored.
  bool onBytesReceived(std::span<const std::uint8_t> bytes);

  enum class AfterWait { SendAgain, GiveUp };
  // The wait for an answer ran out. SendAgain: the echo assumption has been
  // turned round, call WriteLink2 again. GiveUp: tell the user; the count
  // starts again at the next attempt.
  AfterWait onLinkWait();

  int attempts() const { return m_attempts; }
  int replyOffset() const { return m_replyOffset; }
  int threshold() const { return m_threshold; }
  bool waiting() const { return m_waiting; }

 private:
  LinkState& m_link;
  int m_attempts = 0;
  int m_replyOffset = 0;
  int m_threshold = static_cast<int>(kHandshakeAck.size());
  bool m_waiting = false;
  std::vector<std::uint8_t> m_received;
};

}  // namespace cps
