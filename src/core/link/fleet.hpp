// Writing one document to many radios: what each radio's write has come to,
// the line shown for it while it runs, the summary at the end, the questions
// a write asks answered without a person (several radios cannot all ask at
// once), and when a series on one cable may take the next radio.
#pragma once

#include <functional>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "core/document/prompter.hpp"

namespace cps {

enum class FleetStage { Waiting, Writing, Verifying, Written, Verified, Failed };

// One radio of the fleet: on its own port, in parallel, or one of a series.
struct FleetRadio {
  std::string port;
  std::string identity;  // "TW530G 400 - 480 MHz V200"; empty until the radio has answered
  FleetStage stage = FleetStage::Waiting;
  int blocksDone = 0;  // of the 177 blocks of the stage running
  std::string reason;  // why it failed, in the user's words
};

using FleetTextOf = std::function<std::string(int)>;

// The stage will not change any more.
bool FleetStageFinal(FleetStage stage);
int FleetStageTextId(FleetStage stage);

// Written, and checked when the check was asked for.
bool FleetRadioDone(const FleetRadio& radio, bool verify);
// Every radio done (and there was at least one): the run's exit status 0.
bool FleetDone(std::span<const FleetRadio> radios, bool verify);

// "TW530G 400 - 480 MHz V200": how the summary names a radio.
std::string FleetIdentityText(const std::string& model, int bandCode, const std::string& version);

// "/dev/ttyUSB0   123/177  Writing": a radio's line while the fleet runs;
// a failed radio's line gives its reason. `portWidth` pads the port.
std::string FleetProgressText(const FleetRadio& radio, const FleetTextOf& textOf,
                              std::size_t portWidth);

// The table at the end: a header, then port, radio and result of every radio,
// then how many were written of how many.
std::string FleetSummary(std::span<const FleetRadio> radios, bool verify,
                         const FleetTextOf& textOf);

// What the session's reason becomes when a message of the engine ends it: a
// short text of the fleet for the messages a write can end with, else the
// message as the user would have read it.
std::string FleetReasonOf(const Message& message, const FleetTextOf& textOf);

// The questions of one radio's write, answered as the command line's flags
// or the dialog chose: the band question by `yes`, the retry question `retries`
// times with OK and then Cancel, the password by the one given (a wrong one
// ends the write), everything else with its safe answer. The last message
// that ends the write is kept as its reason. Nothing is shown.
class FleetPrompter final : public Prompter {
 public:
  struct Answers {
    bool yes = false;
    int retries = 0;
    std::optional<std::string> password;
  };
  FleetPrompter(FleetTextOf textOf, Answers answers)
      : m_textOf(std::move(textOf)), m_answers(std::move(answers)) {}

  Answer ask(const Message& message) override;
  std::optional<std::string> chooseFile(const FileDialogRequest&) override { return std::nullopt; }
  std::optional<std::string> askPassword() override;

  // Why the write stopped; empty while nothing went wrong.
  const std::string& reason() const { return m_reason; }

 private:
  FleetTextOf m_textOf;
  Answers m_answers;
  std::string m_reason;
};

// A series on one cable: after a write the radio just written still answers
// the handshake, so the next radio is taken only after a poll has found the
// line silent (the radio was taken off) and a later poll is answered.
class NextRadioWatch {
 public:
  // A radio has just been written (or has failed): it may still be on the cable.
  void radioHandled() { m_silenceSeen = false; }
  // A handshake poll ended, answered or not. True when the answer is the next radio.
  bool pollEnded(bool answered) {
    if (!answered) {
      m_silenceSeen = true;
      return false;
    }
    return m_silenceSeen;
  }
  // The line has been found silent since the last radio: the next may come.
  bool lineClear() const { return m_silenceSeen; }

 private:
  bool m_silenceSeen = true;  // before the first radio nothing was written
};

}  // namespace cps
