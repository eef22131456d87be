// The radio's side of the serial protocol, without any I/O: fed the bytes that
// came down the cable, it answers with the bytes to send back. Frames may arrive
// in pieces and after line noise; the radio finds the next frame start again.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "radiosim/radio_memory.hpp"

namespace cps::radiosim {

// Faults the radio can be told to commit, to try the host's retries. Every
// count starts at 1 with the radio; 0 (or no value) switches a fault off.
struct FaultPlan {
  // Every Nth frame the radio hears is acted on, but its answer is lost.
  unsigned dropEvery = 0;
  // Every Nth block the radio sends ("W" frame) carries a wrong checksum.
  unsigned corruptEvery = 0;
  // Every Nth block the host writes is answered 0x0A and not stored.
  unsigned retryEvery = 0;
  // After this many answers the radio falls silent for good.
  std::optional<unsigned> muteAfter;
  // Every Nth answer that leaves the radio is cut short: only its first half
  // reaches the host (a one-byte answer is lost whole).
  unsigned cutEvery = 0;
  // Every Nth answer that leaves the radio has line noise in front of it.
  unsigned noiseEvery = 0;
  // Every Nth block written is acknowledged but not stored, as by a radio
  // whose memory did not take it: only reading the radio back can tell.
  unsigned forgetEvery = 0;
};

// What the line picks up when noise is asked for: never a byte that starts an
// answer, so that it is noise the host has to see through, not a forged reply.
inline constexpr std::array<std::uint8_t, 3> kLineNoise{0x00, 0xFF, 0x55};

struct ProtocolConfig {
  RadioIdentity identity;
  // The cable returns every byte it carries to the host before any answer.
  bool echo = false;
  FaultPlan faults;
  // Describe every frame in and out (and every fault) in FeedResult::log.
  bool log = false;
};

struct FeedResult {
  std::vector<std::uint8_t> out;
  // One entry per byte of out: how many of the bytes just fed must have
  // arrived before that byte may leave (an echo follows its byte, an answer
  // the last byte of its frame). Lets a paced line time every byte.
  std::vector<std::size_t> outAfter;
  // One entry per byte of out: true for the cable's echo, which travels back
  // while the host is still sending, false for the radio's own answer.
  std::vector<bool> echoed;
  std::vector<std::string> log;
  // An end frame closed a programming session: the memory is worth saving.
  bool transferEnded = false;
};

class RadioProtocol {
 public:
  RadioProtocol(const RadioMemory& memory, ProtocolConfig config);

  // Bytes that came down the cable, in order; pieces of a frame are kept until
  // the rest arrives.
  FeedResult feed(std::span<const std::uint8_t> bytes);
  // The line has been quiet long enough that an unfinished frame will never be
  // finished: it was noise. Its first byte is skipped and the rest read again.
  FeedResult lineQuiet();

  // Part of a frame is waiting for the rest.
  bool assemblingFrame() const { return !m_pending.empty(); }
  bool inProgrammingMode() const { return m_programming; }
  bool silent() const { return m_muted; }
  const RadioMemory& memory() const { return m_memory; }

 private:
  enum class Kind { Program, Ident, Read, Write, End };
  enum class Status { Complete, Incomplete, NotAFrame };
  struct Recognised {
    Status status;
    Kind kind = Kind::Program;
    std::size_t length = 0;
  };

  Recognised recognise() const;
  void scan(FeedResult& result, std::size_t after);
  void skipFirstByte();
  void reportSkipped(FeedResult& result);
  void handleFrame(Kind kind, std::span<const std::uint8_t> frame, FeedResult& result,
                   std::size_t after);
  std::vector<std::uint8_t> act(Kind kind, std::span<const std::uint8_t> frame, FeedResult& result);
  std::vector<std::uint8_t> identReply() const;
  std::vector<std::uint8_t> dataFrame(std::uint16_t address, std::uint8_t length) const;
  void note(FeedResult& result, std::string line) const;

  RadioMemory m_memory;
  ProtocolConfig m_config;
  std::vector<std::uint8_t> m_pending;
  std::vector<std::uint8_t> m_skipped;
  bool m_programming = false;
  bool m_muted = false;
  unsigned m_framesHeard = 0;
  unsigned m_blocksSent = 0;
  unsigned m_blocksWritten = 0;
  unsigned m_answers = 0;
  unsigned m_answersLeft = 0;  // answers that left the radio, for the cut and noise faults
};

// The checksum of a "W" frame: address, length and data bytes added modulo 256.
std::uint8_t FrameChecksum(std::span<const std::uint8_t> addressLengthAndData);

// "50 52 4F": bytes as the log shows them.
std::string HexBytes(std::span<const std::uint8_t> bytes);

}  // namespace cps::radiosim
