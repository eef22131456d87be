#include "radiosim/line_pacer.hpp"

#include <algorithm>

namespace cps::radiosim {

namespace {
constexpr std::chrono::nanoseconds::rep kBitsPerByte = 10;  // start, 8 data, stop
constexpr std::chrono::nanoseconds::rep kNanosPerSecond = 1'000'000'000;
}  // namespace

LinePacer::LinePacer(unsigned baud) {
  if (baud == 0) return;
  const auto nanos = (kBitsPerByte * kNanosPerSecond + baud - 1) / baud;
  m_byteTime = std::chrono::duration_cast<Clock::duration>(std::chrono::nanoseconds(nanos));
  if (m_byteTime < std::chrono::nanoseconds(nanos)) m_byteTime += Clock::duration(1);
}

void LinePacer::hostBytes(TimePoint now, std::size_t count) {
  m_batchStart = paced() ? std::max(now, m_receiveFree) : now;
  m_receiveFree = m_batchStart + static_cast<Clock::rep>(count) * m_byteTime;
}

LinePacer::TimePoint LinePacer::arrivedAfter(std::size_t count) const {
  return m_batchStart + static_cast<Clock::rep>(count) * m_byteTime;
}

LinePacer::TimePoint LinePacer::sendAt(TimePoint ready) {
  if (!paced()) return ready;
  m_sendFree = std::max(ready, m_sendFree) + m_byteTime;
  return m_sendFree;
}

}  // namespace cps::radiosim
