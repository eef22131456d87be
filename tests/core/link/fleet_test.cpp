// One document to many radios: the result of a fleet, its table, the reasons a
// radio failed, the questions answered without a person, and when a series on
// one cable takes the next radio.
#include "core/link/fleet.hpp"

#include <gtest/gtest.h>

#include "core/app/text_ids.hpp"
#include "core/link/engine.hpp"

namespace cps {
namespace {

// Every text is its number, so that a test sees which text was chosen.
std::string textOf(int id) {
  if (id == text::kFleetCount) return "%1 of %2";
  return "<" + std::to_string(id) + ">";
}

FleetRadio radio(std::string port, FleetStage stage, std::string reason = {}) {
  FleetRadio r;
  r.port = std::move(port);
  r.stage = stage;
  r.reason = std::move(reason);
  return r;
}

TEST(FleetTest, ExitStatusZeroOnlyWhenEveryRadioIsDone) {
  using S = FleetStage;
  struct Case {
    std::vector<FleetStage> stages;
    bool verify;
    bool done;
  };
  for (const auto& c : std::vector<Case>{
           {{}, false, false},
           {{S::Written}, false, true},
           {{S::Written, S::Written, S::Written}, false, true},
           {{S::Written, S::Failed, S::Written}, false, false},
           {{S::Written, S::Writing}, false, false},
           {{S::Verified, S::Verified}, true, true},
           {{S::Verified, S::Written}, true, false},
           {{S::Verified, S::Verifying}, true, false},
           {{S::Verified}, false, true},
       }) {
    std::vector<FleetRadio> radios;
    for (const auto stage : c.stages) radios.push_back(radio("p", stage));
    EXPECT_EQ(FleetDone(radios, c.verify), c.done)
        << radios.size() << " radios, verify " << c.verify;
  }
}

TEST(FleetTest, TheSummaryNamesEveryPortItsRadioAndItsResult) {
  std::vector<FleetRadio> radios{radio("/dev/ttyUSB0", FleetStage::Verified),
                                 radio("/dev/ttyUSB1", FleetStage::Failed, "no answer"),
                                 radio("COM3", FleetStage::Failed)};
  radios[0].identity = FleetIdentityText("TW530G", 0, "V200");
  const auto table = FleetSummary(radios, true, textOf);
  EXPECT_EQ(table,
            "<29600>       <29601>                    <29602>\n"
            "/dev/ttyUSB0  TW530G 400 - 480 MHz V200  <29607>\n"
            "/dev/ttyUSB1  -                          <29608>: no answer\n"
            "COM3          -                          <29608>\n"
            "1 of 3\n");
}

TEST(FleetTest, TheProgressLineHasFixedColumnsAndTheReasonOfAFailure) {
  struct Case {
    FleetRadio radio;
    std::string line;
  };
  auto writing = radio("a", FleetStage::Writing);
  writing.blocksDone = 12;
  auto failed = radio("/dev/pts/7", FleetStage::Failed, "no\nanswer");
  failed.blocksDone = 177;
  for (const auto& c : std::vector<Case>{
           {writing, "a            12/177  <29604>"},
           {failed, "/dev/pts/7  177/177  <29608>: no answer"},
       }) {
    EXPECT_EQ(FleetProgressText(c.radio, textOf, 10), c.line);
  }
}

TEST(FleetTest, AWriteEndedByAMessageGetsAShortReason) {
  struct Case {
    Message message;
    std::string reason;
  };
  Message other = FixedMessage("Radio\nversion V100", Buttons::YesNo);
  for (const auto& c : std::vector<Case>{
           {FixedMessage(kPasswordFailureText, Buttons::Ok, Icon::Critical), "<29611>"},
           {TextMessage(text::kTransferFailedRetry, Buttons::OkCancel), "<29610>"},
           {TextMessage(text::kModelMismatch), "<29612>"},
           {TextMessage(text::kBandRefused), "<29613>"},
           {TextMessage(text::kBandDiffers, Buttons::OkCancel), "<29613>"},
           {TextMessage(text::kWriteProtected), "<29614>"},
           {TextMessage(text::kWriteNotAccepted), "<29615>"},
           {TextMessage(text::kCannotOpenPort), "<29620>"},
           {other, "Radio version V100"},
       }) {
    EXPECT_EQ(FleetReasonOf(c.message, textOf), c.reason) << c.message.textId;
  }
}

TEST(FleetTest, QuestionsAreAnsweredAsTheFlagsSayAndNeverWaitForAPerson) {
  struct Case {
    const char* what;
    FleetPrompter::Answers answers;
    std::vector<Message> asked;
    std::vector<Answer> expected;
    std::string reason;
  };
  const auto retry = TextMessage(text::kTransferFailedRetry, Buttons::OkCancel);
  const auto band = TextMessage(text::kBandDiffers, Buttons::OkCancel);
  const auto complete = TextMessage(text::kWriteComplete, Buttons::Ok, Icon::Information);
  for (const auto& c : std::vector<Case>{
           {"no retries", {}, {retry}, {Answer::Cancel}, "<29610>"},
           {"two retries",
            {false, 2, {}},
            {retry, retry, retry},
            {Answer::Ok, Answer::Ok, Answer::Cancel},
            "<29610>"},
           {"a retry that helps", {false, 1, {}}, {retry, complete}, {Answer::Ok, Answer::Ok}, ""},
           {"band, no --yes", {}, {band}, {Answer::Cancel}, "<29613>"},
           {"band, --yes", {true, 0, {}}, {band}, {Answer::Ok}, ""},
           {"version question", {}, {FixedMessage("v", Buttons::YesNo)}, {Answer::No}, "v"},
       }) {
    FleetPrompter prompter(textOf, c.answers);
    std::vector<Answer> answers;
    for (const auto& m : c.asked) answers.push_back(prompter.ask(m));
    EXPECT_EQ(answers, c.expected) << c.what;
    EXPECT_EQ(prompter.reason(), c.reason) << c.what;
  }
}

TEST(FleetTest, ThePasswordGivenIsOfferedOnceAsTheDialogWouldTakeIt) {
  FleetPrompter without(textOf, {});
  EXPECT_EQ(without.askPassword(), std::nullopt);
  FleetPrompter with(textOf, {false, 0, std::string("12345 ")});
  EXPECT_EQ(with.askPassword(), std::optional<std::string>("1234"));
  EXPECT_EQ(with.askPassword(), std::nullopt) << "a wrong password is not offered again";
}

TEST(FleetTest, ASeriesTakesTheNextRadioOnlyAfterTheLastOneWasTakenOff) {
  struct Case {
    const char* what;
    bool afterAWrite;
    std::vector<bool> polls;  // answered or not, in order
    std::vector<bool> taken;
  };
  for (const auto& c : std::vector<Case>{
           {"first radio already on the cable", false, {true}, {true}},
           {"first radio connected later", false, {false, false, true}, {false, false, true}},
           {"the radio just written answers", true, {true, true}, {false, false}},
           {"taken off, the next connected", true, {true, false, true}, {false, false, true}},
           {"a swap between two polls is missed",
            true,
            {true, true, false, true},
            {false, false, false, true}},
       }) {
    NextRadioWatch watch;
    if (c.afterAWrite) watch.radioHandled();
    std::vector<bool> taken;
    for (const bool answered : c.polls) taken.push_back(watch.pollEnded(answered));
    EXPECT_EQ(taken, c.taken) << c.what;
  }
}

}  // namespace
}  // namespace cps
