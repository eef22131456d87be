// The serial line's own speed: at 9600 baud a byte takes ten bit times, about
// a millisecond, in each direction. The pty carries bytes at once; the pacer
// says when they would have arrived and when the radio's bytes may leave.
#pragma once

#include <chrono>
#include <cstddef>

namespace cps::radiosim {

class LinePacer {
 public:
  using Clock = std::chrono::steady_clock;
  using TimePoint = Clock::time_point;

  // 0 baud: no pacing, every byte leaves as soon as it is ready.
  explicit LinePacer(unsigned baud);

  bool paced() const { return m_byteTime.count() > 0; }
  // Ten bit times, rounded up so that the line is never faster than its speed.
  Clock::duration byteTime() const { return m_byteTime; }

  // The host handed over `count` bytes, seen at `now`. They come down the line
  // one after another, starting now or when the bytes before them have
  // arrived, whichever is later.
  void hostBytes(TimePoint now, std::size_t count);
  // When the first `count` bytes of the last batch have arrived (0: when the
  // batch started).
  TimePoint arrivedAfter(std::size_t count) const;
  // A byte of the radio that is ready at `ready`: the time its last bit has
  // reached the host, which is when it is handed over. Bytes queue behind one
  // another on the line.
  TimePoint sendAt(TimePoint ready);
  // The cable's echo of the first `count` bytes of the last batch: each comes
  // back as it reaches the radio, while the host is still sending, and takes
  // nothing from the radio's side of the line.
  TimePoint echoAt(std::size_t count) const { return arrivedAfter(count); }

 private:
  Clock::duration m_byteTime{};
  TimePoint m_batchStart{};
  TimePoint m_receiveFree{};
  TimePoint m_sendFree{};
};

}  // namespace cps::radiosim
