#include "radiosim/line_pacer.hpp"

#include <gtest/gtest.h>

namespace cps::radiosim {
namespace {

using namespace std::chrono_literals;
using TimePoint = LinePacer::TimePoint;

const TimePoint kT0 = TimePoint(1000s);

TEST(LinePacer, TenBitTimesAByteRoundedUp) {
  EXPECT_EQ(LinePacer(9600).byteTime(), std::chrono::nanoseconds(1'041'667));
  EXPECT_EQ(LinePacer(1000).byteTime(), 10ms);
  EXPECT_FALSE(LinePacer(0).paced());
  EXPECT_TRUE(LinePacer(9600).paced());
}

TEST(LinePacer, WithoutPacingEveryByteLeavesWhenReady) {
  LinePacer line(0);
  line.hostBytes(kT0, 22);
  EXPECT_EQ(line.arrivedAfter(22), kT0);
  EXPECT_EQ(line.sendAt(kT0), kT0);
  EXPECT_EQ(line.sendAt(kT0), kT0);
}

// At 1000 baud a byte takes 10 ms: a 4-byte read request arrives over 40 ms,
// and the 22-byte answer leaves byte by byte, the last one 260 ms after the
// request was handed over.
TEST(LinePacer, AnswerStartsWhenTheRequestHasArrivedAndKeepsTheLineSpeed) {
  LinePacer line(1000);
  line.hostBytes(kT0, 4);
  EXPECT_EQ(line.arrivedAfter(0), kT0);
  EXPECT_EQ(line.arrivedAfter(4), kT0 + 40ms);
  TimePoint last;
  for (int i = 0; i < 22; ++i) {
    last = line.sendAt(line.arrivedAfter(4));
    if (i == 0) {
      EXPECT_EQ(last, kT0 + 50ms);
    }
  }
  EXPECT_EQ(last, kT0 + 260ms);
}

TEST(LinePacer, HostBytesQueueBehindTheOnesStillArriving) {
  LinePacer line(1000);
  line.hostBytes(kT0, 7);
  line.hostBytes(kT0 + 5ms, 3);  // handed over while the first seven still arrive
  EXPECT_EQ(line.arrivedAfter(0), kT0 + 70ms);
  EXPECT_EQ(line.arrivedAfter(3), kT0 + 100ms);
  line.hostBytes(kT0 + 500ms, 1);  // a quiet line: arrives from when it was handed over
  EXPECT_EQ(line.arrivedAfter(1), kT0 + 510ms);
}

// The cable's echo comes back as each byte reaches the radio, while the host
// is still sending; the radio's answer starts when the request has arrived and
// does not wait behind the echo.
TEST(LinePacer, AnEchoTakesNothingFromTheRadiosSide) {
  LinePacer line(1000);
  line.hostBytes(kT0, 2);
  EXPECT_EQ(line.echoAt(1), kT0 + 10ms);
  EXPECT_EQ(line.echoAt(2), kT0 + 20ms);
  EXPECT_EQ(line.sendAt(line.arrivedAfter(2)), kT0 + 30ms);
  EXPECT_EQ(line.sendAt(line.arrivedAfter(2)), kT0 + 40ms);
  // Long after, the line is free again.
  EXPECT_EQ(line.sendAt(kT0 + 1s), kT0 + 1s + 10ms);
}

}  // namespace
}  // namespace cps::radiosim
