// A port that cannot be opened is explained: a device the user may not use
// names its group and the command that joins it, a device another program
// holds says so, anything else keeps the plain text.
#include "core/link/port_open.hpp"

#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <vector>

namespace cps {
namespace {

struct PortOpenCase {
  const char* what;
  PortOpenFacts facts;
  PortOpenProblem problem;
  int textId;
  std::vector<std::string> arguments;
};

void PrintTo(const PortOpenCase& c, std::ostream* os) { *os << c.what; }

class PortOpenTest : public ::testing::TestWithParam<PortOpenCase> {};

TEST_P(PortOpenTest, TellsWhyAndWhatToDo) {
  const auto& c = GetParam();
  EXPECT_EQ(ClassifyPortOpenFailure(c.facts), c.problem);
  const Message message = PortOpenMessage(c.facts);
  EXPECT_EQ(message.textId, c.textId);
  EXPECT_EQ(message.arguments, c.arguments);
  EXPECT_EQ(message.icon, Icon::Critical);
  EXPECT_EQ(message.buttons, Buttons::Ok);
}

INSTANTIATE_TEST_SUITE_P(
    Failures, PortOpenTest,
    ::testing::Values(PortOpenCase{"not in the user's group",
                                   {"/dev/ttyUSB0", true, true, false, "dialout", ""},
                                   PortOpenProblem::PermissionDenied,
                                   text::kPortPermissionDenied,
                                   {"/dev/ttyUSB0", "dialout"}},
                      PortOpenCase{"another group owns it",
                                   {"/dev/ttyACM0", true, true, false, "uucp", ""},
                                   PortOpenProblem::PermissionDenied,
                                   text::kPortPermissionDenied,
                                   {"/dev/ttyACM0", "uucp"}},
                      PortOpenCase{"group unknown: the usual one is named",
                                   {"/dev/ttyUSB1", true, true, false, "", ""},
                                   PortOpenProblem::PermissionDenied,
                                   text::kPortPermissionDenied,
                                   {"/dev/ttyUSB1", "dialout"}},
                      PortOpenCase{"refused though the user may use it: another program has it",
                                   {"/dev/ttyUSB0", true, true, true, "dialout", ""},
                                   PortOpenProblem::Busy,
                                   text::kPortBusy,
                                   {"/dev/ttyUSB0"}},
                      PortOpenCase{"opened, but another program holds its lock",
                                   {"/dev/ttyUSB0", false, true, true, "dialout", "", true},
                                   PortOpenProblem::Busy,
                                   text::kPortBusy,
                                   {"/dev/ttyUSB0"}},
                      PortOpenCase{"the device is gone",
                                   {"/dev/ttyUSB7", true, false, false, "", ""},
                                   PortOpenProblem::Other,
                                   text::kCannotOpenPort,
                                   {}},
                      PortOpenCase{"some other failure",
                                   {"/dev/ttyS0", false, true, true, "dialout", ""},
                                   PortOpenProblem::Other,
                                   text::kCannotOpenPort,
                                   {}},
                      PortOpenCase{
                          "nothing known", {}, PortOpenProblem::Other, text::kCannotOpenPort, {}}));

TEST(MessageBodyTest, PutsTheArgumentsInTheirPlaces) {
  Message message = TextMessage(text::kPortPermissionDenied);
  message.arguments = {"/dev/ttyUSB0", "dialout"};
  EXPECT_EQ(MessageBody(message, "%1 may be used by \"%2\": sudo usermod -aG %2 $USER"),
            "/dev/ttyUSB0 may be used by \"dialout\": sudo usermod -aG dialout $USER");
  // An argument that holds a mark is not replaced again; a text without marks stays.
  message.arguments = {"%2", "x"};
  EXPECT_EQ(MessageBody(message, "[%1]"), "[%2]");
  EXPECT_EQ(MessageBody(message, "no marks"), "no marks");
  message.arguments.clear();
  message.fixedText = "file.dat";
  EXPECT_EQ(MessageBody(message, ": replace?"), "file.dat: replace?");
}

// The command line names the device after text 9003, in the run's language:
// a device that is not there, or one the system would not open and why.
TEST(PortOpenDeviceMessageTest, NamesTheDeviceWhereTheMessageDoesNot) {
  struct Case {
    const char* what;
    PortOpenFacts facts;
    int textId;  // 0: nothing to add
    std::vector<std::string> arguments;
  };
  const std::vector<Case> cases = {
      {"the device is not there",
       {"/dev/nonexist", false, false, false, "", "No such file or directory"},
       text::kNoSuchSerialDevice,
       {"/dev/nonexist"}},
      {"the system would not open it",
       {"/dev/ttyS0", false, true, true, "dialout", "Inappropriate ioctl for device"},
       text::kSerialDeviceNotOpened,
       {"/dev/ttyS0", "Inappropriate ioctl for device"}},
      {"not permitted: the message names the device",
       {"/dev/ttyUSB0", true, true, false, "dialout", "Permission denied"},
       0,
       {}},
      {"busy: the message names the device",
       {"/dev/ttyUSB0", true, true, true, "dialout", "Permission denied"},
       0,
       {}},
      {"the system says nothing", {"/dev/ttyS0", false, true, true, "dialout", ""}, 0, {}},
      {"nothing known", {}, 0, {}},
  };
  for (const auto& c : cases) {
    const auto message = PortOpenDeviceMessage(c.facts);
    ASSERT_EQ(message.has_value(), c.textId != 0) << c.what;
    if (!message) continue;
    EXPECT_EQ(message->textId, c.textId) << c.what;
    EXPECT_EQ(message->arguments, c.arguments) << c.what;
  }
}

}  // namespace
}  // namespace cps
