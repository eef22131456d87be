// The first-run link check as transcripts: the bytes the radio and the cable
// send back, and the waits that run out, are delivered by the test, so no
// scenario takes real time.
#include "core/link/link_check.hpp"

#include <gtest/gtest.h>

#include <cctype>
#include <ostream>
#include <string>
#include <vector>

#include "core/link/link_state.hpp"

namespace cps {
namespace {

using Bytes = std::vector<std::uint8_t>;

Bytes bytesOf(std::string_view text) { return Bytes(text.begin(), text.end()); }

const std::string kAck = std::string("TW") + '\x06';

TEST(IsLink2, TheHandshakeBytesOnTheWire) {
  EXPECT_EQ(Bytes(kProgramRequest.begin(), kProgramRequest.end()), bytesOf("PROGRAM"));
  EXPECT_EQ(Bytes(kHandshakeAck.begin(), kHandshakeAck.end()), bytesOf(kAck));
}

struct IsLink2Case {
  const char* name;
  std::string bytes;
  bool linked;
};

void PrintTo(const IsLink2Case& testCase, std::ostream* out) { *out << testCase.name; }

class IsLink2Cases : public ::testing::TestWithParam<IsLink2Case> {};

TEST_P(IsLink2Cases, AcceptsTheAcknowledgementWhereverItEndsTheBytes) {
  EXPECT_EQ(IsLink2(bytesOf(GetParam().bytes)), GetParam().linked) << GetParam().name;
}

INSTANTIATE_TEST_SUITE_P(
    Answers, IsLink2Cases,
    ::testing::Values(IsLink2Case{"alone", kAck, true},
                      IsLink2Case{"behind the echo", "PROGRAM" + kAck, true},
                      IsLink2Case{"behind noise", std::string("\xFF\x00zz", 4) + kAck, true},
                      IsLink2Case{"nothing", "", false},
                      IsLink2Case{"the acknowledgement byte alone", "\x06", false},
                      IsLink2Case{"two bytes", "W\x06", false},
                      IsLink2Case{"followed by another byte", kAck + '\x00', false},
                      IsLink2Case{"lower case", std::string("tw\x06"), false},
                      IsLink2Case{"another letter", std::string("TX\x06"), false},
                      IsLink2Case{"the echo only", "PROGRAM", false}),
    [](const auto& testCase) {
      std::string name;
      for (char c : std::string(testCase.param.name))
        name += std::isalnum(static_cast<unsigned char>(c)) ? c : '_';
      return name;
    });

TEST(LinkCheckPortList, NamesEveryPortOfTheMapInItsOrder) {
  const PortMap map{{20, "/dev/ttyUSB9"}, {1, "/dev/ttyS0"}, {3, "/dev/pts/4"}};
  EXPECT_EQ(ListLinkPorts(map, false), (std::vector<std::string>{"COM1", "COM3", "COM20"}));
  EXPECT_TRUE(ListLinkPorts({}, false).empty());
}

TEST(LinkCheckPortList, OnNt6EveryPortFrom1To255WhateverTheMap) {
  const auto items = ListLinkPorts({{3, "COM3"}}, true);
  ASSERT_EQ(items.size(), 255u);
  EXPECT_EQ(items.front(), "COM1");
  EXPECT_EQ(items[2], "COM3");
  EXPECT_EQ(items.back(), "COM255");
  for (std::size_t i = 0; i < items.size(); ++i) {
    EXPECT_EQ(PortNumberOfName(items[i]), static_cast<int>(i + 1));
  }
}

class LinkCheckTest : public ::testing::Test {
 protected:
  Bytes send() {
    const auto frame = check.WriteLink2();
    return Bytes(frame.begin(), frame.end());
  }
  bool hear(std::string_view text) { return check.onBytesReceived(bytesOf(text)); }

  LinkState link;
  LinkCheck check{link};
};

struct ThresholdCase {
  bool echoExpected;
  int replyOffset;
  int threshold;
};

void PrintTo(const ThresholdCase& testCase, std::ostream* out) {
  *out << (testCase.echoExpected ? "echo expected" : "no echo expected");
}

class LinkCheckThresholds : public LinkCheckTest,
                            public ::testing::WithParamInterface<ThresholdCase> {};

TEST_P(LinkCheckThresholds, TheAnswerIsAwaitedBehindTheEchoWhenOneIsExpected) {
  link.echoExpected = GetParam().echoExpected;
  EXPECT_EQ(send(), bytesOf("PROGRAM"));
  EXPECT_EQ(check.replyOffset(), GetParam().replyOffset);
  EXPECT_EQ(check.threshold(), GetParam().threshold);
  EXPECT_TRUE(check.waiting());
}

INSTANTIATE_TEST_SUITE_P(Echo, LinkCheckThresholds,
                         ::testing::Values(ThresholdCase{true, 7, 10}, ThresholdCase{false, 0, 3}),
                         [](const auto& testCase) {
                           return std::string(testCase.param.echoExpected ? "Echo" : "NoEcho");
                         });

TEST_F(LinkCheckTest, AnEchoingCableAnswersTheFirstAttempt) {
  send();
  EXPECT_FALSE(hear("PROGRAM"));
  EXPECT_TRUE(hear(kAck));
  EXPECT_TRUE(link.echoExpected);
  EXPECT_EQ(check.attempts(), 0);
  EXPECT_FALSE(check.waiting());
  // A second answer after success changes nothing.
  EXPECT_FALSE(hear(kAck));
}

TEST_F(LinkCheckTest, AnAnswerByteByByteCountsOnlyWithItsLastByte) {
  send();
  const std::string wire = "PROGRAM" + kAck;
  for (std::size_t i = 0; i + 1 < wire.size(); ++i) {
    EXPECT_FALSE(hear(wire.substr(i, 1))) << i;
  }
  EXPECT_TRUE(hear(wire.substr(wire.size() - 1)));
}

TEST_F(LinkCheckTest, APlainCableTimesOutFirstAndAnswersWithoutTheEchoExpected) {
  send();
  // The radio's answer without the echo in front is too short for the threshold.
  EXPECT_FALSE(hear(kAck));
  ASSERT_EQ(check.onLinkWait(), LinkCheck::AfterWait::SendAgain);
  EXPECT_FALSE(link.echoExpected);
  EXPECT_EQ(check.attempts(), 1);
  send();
  EXPECT_EQ(check.threshold(), 3);
  EXPECT_TRUE(hear(kAck));
  // Later transfers start without the echo.
  EXPECT_FALSE(link.echoExpected);
}

TEST_F(LinkCheckTest, BytesOfAnEarlierAttemptDoNotCompleteTheNextOne) {
  send();
  EXPECT_FALSE(hear("PROGRAMTW"));
  ASSERT_EQ(check.onLinkWait(), LinkCheck::AfterWait::SendAgain);
  send();
  // Kept, "PROGRAMTW" would make this single byte look like the answer.
  EXPECT_FALSE(check.onBytesReceived(Bytes{0x06}));
  EXPECT_TRUE(hear(kAck));
}

TEST_F(LinkCheckTest, AnEchoThatIsNotExpectedStillEndsInTheAcknowledgement) {
  link.echoExpected = false;
  send();
  EXPECT_FALSE(hear("PRO"));
  EXPECT_TRUE(hear("GRAM" + kAck));
  EXPECT_FALSE(link.echoExpected);
}

TEST_F(LinkCheckTest, FourAttemptsAlternatingTheEchoThenTheUserIsTold) {
  std::vector<bool> echoPerAttempt;
  for (int attempt = 0; attempt < 4; ++attempt) {
    echoPerAttempt.push_back(link.echoExpected);
    send();
    const auto after = check.onLinkWait();
    EXPECT_EQ(after, attempt < 3 ? LinkCheck::AfterWait::SendAgain : LinkCheck::AfterWait::GiveUp)
        << attempt;
  }
  EXPECT_EQ(echoPerAttempt, (std::vector<bool>{true, false, true, false}));
  EXPECT_EQ(check.attempts(), 0);
  EXPECT_FALSE(check.waiting());
  // Giving up leaves the assumption of the last attempt.
  EXPECT_FALSE(link.echoExpected);
  // A late answer after the user has been told is not taken for a link.
  EXPECT_FALSE(hear(kAck));

  // The next OK starts counting again: another four attempts.
  int sends = 0;
  do {
    send();
    ++sends;
  } while (check.onLinkWait() == LinkCheck::AfterWait::SendAgain);
  EXPECT_EQ(sends, 4);
}

TEST_F(LinkCheckTest, ALineFullOfNoiseStillFindsTheAnswerAtItsEnd) {
  send();
  EXPECT_FALSE(hear(std::string(100000, 'x')));
  EXPECT_FALSE(hear("TW"));
  EXPECT_TRUE(check.onBytesReceived(Bytes{0x06}));
}

TEST_F(LinkCheckTest, NoBytesAreTakenBeforeTheFirstRequest) {
  EXPECT_FALSE(check.waiting());
  EXPECT_FALSE(hear("PROGRAM" + kAck));
}

}  // namespace
}  // namespace cps
