// The protocol engine against the virtual radio over a line the fuzzer rules:
// it decides when the radio hears each frame, when and in what pieces the
// answers reach the program, which bytes are lost, late, changed or joined by
// noise, when the reply timer runs out and what the user answers. Whatever it
// does, every transfer must end, with the port closed and the timer stopped;
// and over a line that only loses, delays and splits what the radio says, a
// transfer that reports success must have moved exactly the radio's memory.
#include <fuzzer/FuzzedDataProvider.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <deque>
#include <optional>
#include <string>
#include <vector>

#include "core/app/version_table.hpp"
#include "core/link/engine.hpp"
#include "core/link/radio_image.hpp"
#include "core/run_state.hpp"
#include "radiosim/radio_memory.hpp"
#include "radiosim/radio_protocol.hpp"

namespace {

using cps::Answer;
using cps::Buttons;
using cps::TransferKind;
using Bytes = std::vector<std::uint8_t>;

[[noreturn]] void fail(const char* what) {
  std::fprintf(stderr, "link engine: %s\n", what);
  std::abort();
}

void check(bool holds, const char* what) {
  if (!holds) fail(what);
}

// A byte on its way from the radio to the program, with the number of the
// program's frame it answers (0: noise): given to the program after a newer
// frame went out, it is late.
struct LineByte {
  std::uint8_t value;
  unsigned answers;
};

// What the line did that the protocol cannot see through: past any of these a
// successful transfer is only checked for its clean end.
struct Taint {
  bool noise = false;       // bytes the radio never sent
  bool changed = false;     // a byte the radio sent arrived different
  bool lostFrame = false;   // a frame of the program never reached the radio
  bool lateAnswer = false;  // an answer reached the program after its next frame went out
};

class FuzzLine final : public cps::LinkHost {
 public:
  explicit FuzzLine(bool openFails) : m_openFails(openFails) {}

  bool openPort() override {
    if (m_openFails) return false;
    portOpen = true;
    return true;
  }
  void closePort() override {
    // A port's close drops what it has not sent: the program must let its last
    // frame (END) leave first.
    check(!m_unsent, "the port was closed before its last frame had left");
    portOpen = false;
  }
  // What the program has read is gone already, and what is still on the line
  // arrives after the flush: nothing to do here.
  void emptyBuffers() override {}
  void write(std::span<const std::uint8_t> frame) override {
    check(portOpen, "a frame was written to a closed port");
    ++framesWritten;
    toRadio.push_back({framesWritten, Bytes(frame.begin(), frame.end())});
    m_unsent = true;
  }
  void drainOutput() override {
    drained = true;
    m_unsent = false;
  }
  void setReceiveThreshold(int bytes) override { check(bytes > 0, "a receive threshold of 0"); }
  void startReplyTimer() override { timerArmed = true; }
  void stopReplyTimer() override { timerArmed = false; }
  void showProgress(int percent, int blocksDone) override {
    check(percent >= 0 && percent <= 100, "a percentage outside 0 to 100");
    check(blocksDone >= 0 && blocksDone <= cps::kWholeRadioBlocks, "a block count out of range");
  }
  bool beforeFirstBlockWritten() override { return agreeToWrite; }
  void transferEnded(TransferKind kind, bool success) override {
    ++endings;
    endedKind = kind;
    endedWell = success;
  }
  void handOver(const std::filesystem::path&) override { ++handOvers; }

  bool portOpen = false;
  bool timerArmed = false;
  bool drained = false;
  bool agreeToWrite = true;
  unsigned framesWritten = 0;
  int endings = 0;
  int handOvers = 0;
  TransferKind endedKind = TransferKind::None;
  bool endedWell = false;
  // Frames on their way to the radio, each with its number in the order written.
  std::deque<std::pair<unsigned, Bytes>> toRadio;

 private:
  bool m_openFails;
  bool m_unsent = false;
};

// Answers every question from the fuzzer's bytes, and gives up once they run out.
class FuzzPrompter final : public cps::Prompter {
 public:
  explicit FuzzPrompter(FuzzedDataProvider& input) : m_input(input) {}
  Answer ask(const cps::Message& message) override {
    const bool yes = m_input.remaining_bytes() > 0 && m_input.ConsumeBool();
    switch (message.buttons) {
      case Buttons::Ok:
        return Answer::Ok;
      case Buttons::OkCancel:
        return yes ? Answer::Ok : Answer::Cancel;
      case Buttons::YesNo:
        return yes ? Answer::Yes : Answer::No;
      case Buttons::YesNoCancel:
        return yes ? Answer::Yes : Answer::Cancel;
      case Buttons::RetryCancel:
        return yes ? Answer::Retry : Answer::Cancel;
    }
    return Answer::Cancel;
  }
  std::optional<std::string> chooseFile(const cps::FileDialogRequest&) override {
    return std::nullopt;
  }
  std::optional<std::string> askPassword() override {
    if (m_input.remaining_bytes() == 0) return std::nullopt;
    switch (m_input.ConsumeIntegralInRange(0, 2)) {
      case 0:
        return std::nullopt;
      case 1:
        return std::string("1234");
      default:
        return m_input.ConsumeRandomLengthString(6);
    }
  }

 private:
  FuzzedDataProvider& m_input;
};

// The radio's memory for these runs. It holds no "W" (the first byte of a data
// frame), so that no piece of a block's data can pass for the start of one: the
// checksum, address and length checks then see every loss, split and delay.
cps::radiosim::RadioMemory startingMemory(const cps::radiosim::RadioIdentity& identity,
                                          const std::string& password) {
  cps::radiosim::RadioMemory memory{};
  for (std::size_t i = 0; i < memory.size(); ++i) {
    auto byte = static_cast<std::uint8_t>((i * 13 + i / 7) & 0xFF);
    if (byte == 'W') byte = 0xFF;
    memory[i] = byte;
  }
  cps::radiosim::WriteIdentification(memory, identity);
  cps::radiosim::WritePassword(memory, password);
  return memory;
}

template <typename T>
T pick(FuzzedDataProvider& input, std::initializer_list<T> choices) {
  const auto at = input.ConsumeIntegralInRange<std::size_t>(0, choices.size() - 1);
  return *(choices.begin() + static_cast<std::ptrdiff_t>(at));
}

enum class Op {
  RadioHears,  // the oldest frame of the program reaches the radio
  Deliver,     // some of the bytes on the line reach the program
  DeliverAll,
  Lose,       // bytes on the line are lost
  Change,     // a byte on the line changes
  Noise,      // bytes the radio never sent
  Timeout,    // the reply timer runs out
  LoseFrame,  // a frame of the program never reaches the radio
  QuietLine,  // the radio gives up an unfinished frame
  kMaxValue = QuietLine,
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  FuzzedDataProvider input(data, size);

  const auto kind =
      pick(input, {TransferKind::ReadAll, TransferKind::WriteAll, TransferKind::ReadInfo});
  cps::radiosim::ProtocolConfig config;
  config.echo = input.ConsumeBool();
  config.identity.model = pick<std::string>(input, {"TW530G", "TW530G", "TW530", "XY"});
  config.identity.bandCode = pick<std::uint8_t>(input, {0, 0, 2, 8});
  config.identity.version = pick<std::string>(input, {"V200", "V200", "V300", "V9"});
  config.identity.capabilities = pick<std::uint8_t>(input, {0, 0, 3, 4, 8});
  const std::string radioPassword = pick<std::string>(input, {"", "", "1234", "12"});
  if (input.ConsumeBool()) {
    config.faults.dropEvery = input.ConsumeIntegralInRange<unsigned>(0, 40);
    config.faults.corruptEvery = input.ConsumeIntegralInRange<unsigned>(0, 40);
    config.faults.retryEvery = input.ConsumeIntegralInRange<unsigned>(0, 40);
    if (input.ConsumeBool()) config.faults.muteAfter = input.ConsumeIntegralInRange(0u, 400u);
  }
  const auto memory = startingMemory(config.identity, radioPassword);
  cps::radiosim::RadioProtocol radio(memory, config);

  cps::RunState state;
  state.model.select("TW530G", "400 - 480 MHz");
  state.link.echoExpected = input.ConsumeBool();
  state.link.enteredPassword = pick<std::string>(input, {"", "1234", "12"});
  for (std::size_t i = 0; i < state.link.image.size(); ++i) {
    state.link.image[i] = static_cast<std::uint8_t>((i * 7 + 3) & 0xFF);
  }
  cps::VersionTable versions;
  versions.pairs = {{"V200", "V200"}, {"V300", "V300"}};

  FuzzLine line(input.ConsumeIntegralInRange(0, 31) == 0);
  line.agreeToWrite = input.ConsumeIntegralInRange(0, 15) != 0;
  FuzzPrompter prompter(input);
  cps::ProtocolEngine engine(
      state, prompter, line,
      {versions, [](int id) { return std::to_string(id); }, "/base", "cps530"});

  std::deque<LineByte> onLine;
  Taint taint;
  unsigned lastHeard = 0;
  const auto radioAnswered = [&](const cps::radiosim::FeedResult& result) {
    for (auto b : result.out) onLine.push_back({b, lastHeard});
  };
  const auto radioHears = [&] {
    if (line.toRadio.empty()) return;
    const auto [number, frame] = line.toRadio.front();
    line.toRadio.pop_front();
    lastHeard = number;
    radioAnswered(radio.feed(frame));
  };
  const auto deliver = [&](std::size_t count) {
    count = std::min(count, onLine.size());
    if (count == 0) return;
    Bytes bytes;
    for (std::size_t i = 0; i < count; ++i) {
      // An answer to any but the newest frame reaches a program that has moved on.
      if (onLine.front().answers != 0 && onLine.front().answers < line.framesWritten) {
        taint.lateAnswer = true;
      }
      bytes.push_back(onLine.front().value);
      onLine.pop_front();
    }
    engine.onBytesReceived(bytes);
  };

  if (!engine.OpenRadioPort(kind)) {
    check(!engine.busy() && !line.portOpen, "a port that failed to open left a transfer behind");
    return 0;
  }
  engine.start();

  // The line as the fuzzer plays it.
  while (engine.busy() && input.remaining_bytes() > 0) {
    switch (input.ConsumeEnum<Op>()) {
      case Op::RadioHears:
        radioHears();
        break;
      case Op::Deliver:
        deliver(input.ConsumeIntegralInRange<std::size_t>(1, 30));
        break;
      case Op::DeliverAll:
        deliver(onLine.size());
        break;
      case Op::Lose: {
        const auto n = std::min(onLine.size(), input.ConsumeIntegralInRange<std::size_t>(1, 30));
        onLine.erase(onLine.begin(), onLine.begin() + static_cast<std::ptrdiff_t>(n));
        break;
      }
      case Op::Change: {
        if (onLine.empty()) break;
        auto& byte = onLine[input.ConsumeIntegralInRange<std::size_t>(0, onLine.size() - 1)];
        byte.value = static_cast<std::uint8_t>(byte.value ^ input.ConsumeIntegralInRange(1, 255));
        taint.changed = true;
        break;
      }
      case Op::Noise: {
        const auto noise = input.ConsumeBytes<std::uint8_t>(input.ConsumeIntegralInRange(1, 24));
        const auto at = input.ConsumeIntegralInRange<std::size_t>(0, onLine.size());
        std::vector<LineByte> bytes;
        for (auto b : noise) bytes.push_back({b, 0});
        onLine.insert(onLine.begin() + static_cast<std::ptrdiff_t>(at), bytes.begin(), bytes.end());
        taint.noise = true;
        break;
      }
      case Op::Timeout:
        // Also while the timer is stopped: its expiry may already be on its way.
        engine.onReplyTimeout();
        break;
      case Op::LoseFrame:
        if (!line.toRadio.empty()) {
          line.toRadio.pop_front();
          taint.lostFrame = true;
        }
        break;
      case Op::QuietLine:
        radioAnswered(radio.lineQuiet());
        break;
    }
  }

  // Then a fair line: every frame is heard, every answer arrives whole, and the
  // timer runs out only when nothing else is left to happen. The prompter has
  // no bytes left, so every question is answered Cancel or No.
  for (int step = 0; engine.busy(); ++step) {
    if (step >= 50000) {
      std::fprintf(stderr, "link engine: still in step %d of transfer %d at address %#x\n",
                   static_cast<int>(engine.step()), static_cast<int>(kind),
                   static_cast<unsigned>(engine.currentAddress()));
      fail("the transfer never ended");
    }
    if (!line.toRadio.empty()) {
      radioHears();
    } else if (!onLine.empty()) {
      deliver(onLine.size());
    } else if (radio.assemblingFrame()) {
      radioAnswered(radio.lineQuiet());
    } else {
      check(line.timerArmed, "the program waits for the radio without a reply timer");
      engine.onReplyTimeout();
    }
  }

  // However it ended: once, the port closed, the timer stopped.
  check(line.endings + line.handOvers == 1, "the transfer did not end exactly once");
  check(!line.portOpen, "the port was left open");
  check(!line.timerArmed, "the reply timer was left running");
  check(engine.kind() == TransferKind::None && engine.step() == cps::TransferStep::Idle,
        "the engine kept a transfer");
  check(line.endings == 0 || line.endedKind == kind, "the wrong transfer ended");
  check(line.drained, "the port was closed without letting its last frame go");

  // What a successful transfer moved. The frames the program sent last (END)
  // reach the radio before it is looked at.
  while (!line.toRadio.empty()) radioHears();
  // Whatever the line did, reading a radio never changes it.
  if (kind != TransferKind::WriteAll) {
    check(radio.memory() == memory, "a read changed the radio's memory");
  }
  if (line.endings != 1 || !line.endedWell || taint.noise || taint.changed) return 0;
  const auto& held = radio.memory();
  switch (kind) {
    case TransferKind::ReadAll:
      check(std::equal(state.link.image.begin(), state.link.image.end(), held.begin()),
            "a read reported done with data the radio does not hold");
      break;
    case TransferKind::ReadInfo:
      check(std::equal(state.link.infoArea.begin(), state.link.infoArea.end(),
                       held.begin() + cps::kInfoAreaAddress),
            "an information read reported done with data the radio does not hold");
      break;
    case TransferKind::WriteAll:
      // A one-byte acknowledgement names no block: an answer that comes late,
      // or a frame that never arrived, can pass for another block's. Only a
      // read after the write can tell; see the verify of the write commands.
      if (taint.lateAnswer || taint.lostFrame) return 0;
      check(std::equal(state.link.image.begin(), state.link.image.end(), held.begin()),
            "a write reported done, but the radio does not hold what was written");
      break;
    case TransferKind::None:
      break;
  }
  return 0;
}
