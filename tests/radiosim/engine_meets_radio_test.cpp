// The program's own protocol engine against the virtual radio, with nothing in
// between but a cable that carries whole frames: every transfer the program
// makes must run to its end, also on an echoing cable and with the radio's
// faults switched on. Time-outs are delivered by the test, so nothing waits.
#include <gtest/gtest.h>

#include <algorithm>
#include <deque>

#include "core/app/version_table.hpp"
#include "core/link/engine.hpp"
#include "core/run_state.hpp"
#include "radiosim/radio_protocol.hpp"

namespace cps::radiosim {
namespace {

using Bytes = std::vector<std::uint8_t>;

class CablePort final : public LinkHost {
 public:
  std::deque<Bytes> written;
  bool timerArmed = false;
  bool portOpen = false;
  std::vector<std::pair<TransferKind, bool>> ended;

  bool openPort() override { return portOpen = true; }
  void closePort() override { portOpen = false; }
  void emptyBuffers() override {}
  void write(std::span<const std::uint8_t> frame) override {
    written.emplace_back(frame.begin(), frame.end());
  }
  void drainOutput() override {}
  void setReceiveThreshold(int) override {}
  void startReplyTimer() override { timerArmed = true; }
  void stopReplyTimer() override { timerArmed = false; }
  void showProgress(int, int) override {}
  bool beforeFirstBlockWritten() override { return true; }
  void transferEnded(TransferKind kind, bool success) override {
    ended.emplace_back(kind, success);
  }
  void handOver(const std::filesystem::path&) override {}
};

class AnsweringPrompter final : public Prompter {
 public:
  std::vector<Message> asked;
  Answer retryAnswer = Answer::Cancel;
  Answer ask(const Message& message) override {
    asked.push_back(message);
    if (message.buttons == Buttons::OkCancel || message.buttons == Buttons::RetryCancel) {
      return retryAnswer;
    }
    return Answer::Ok;
  }
  std::optional<std::string> chooseFile(const FileDialogRequest&) override { return std::nullopt; }
};

class EngineMeetsRadio : public ::testing::Test {
 protected:
  EngineMeetsRadio() {
    versions.pairs = {{"V200", "V200"}};
    state.model.select("TW530G", "400 - 480 MHz");
    memory = ErasedMemory();
    for (std::size_t i = 0; i < memory.size(); ++i) memory[i] = static_cast<std::uint8_t>(i * 13);
    WriteIdentification(memory, config.identity);
    WritePassword(memory, "");
  }

  // Runs one transfer: each frame the engine writes goes down the cable to the
  // radio, and what comes back is handed to the engine; when nothing more comes,
  // the reply timer runs out.
  void run(TransferKind kind) {
    RadioProtocol built(memory, config);
    ProtocolEngine engine(state, prompter, port,
                          {versions, [](int id) { return std::to_string(id); }, "/base", "cps530"});
    ASSERT_TRUE(engine.OpenRadioPort(kind));
    engine.start();
    for (int guard = 0; engine.busy(); ++guard) {
      ASSERT_LT(guard, 100000) << "the transfer never ended";
      if (!port.written.empty()) {
        const Bytes frame = port.written.front();
        port.written.pop_front();
        const auto answer = built.feed(frame);
        if (!answer.out.empty()) engine.onBytesReceived(answer.out);
        continue;
      }
      ASSERT_TRUE(port.timerArmed) << "waiting without a reply timer";
      ++timeouts;
      engine.onReplyTimeout();
    }
    // The failure path's END goes out without waiting; the radio still hears it.
    while (!port.written.empty()) {
      built.feed(port.written.front());
      port.written.pop_front();
    }
    memory = built.memory();
  }

  bool succeeded(TransferKind kind) const {
    return port.ended == std::vector<std::pair<TransferKind, bool>>{{kind, true}};
  }

  RunState state;
  VersionTable versions;
  AnsweringPrompter prompter;
  CablePort port;
  ProtocolConfig config;
  RadioMemory memory{};
  int timeouts = 0;
};

TEST_F(EngineMeetsRadio, WholeReadOnAPlainCable) {
  run(TransferKind::ReadAll);
  ASSERT_TRUE(succeeded(TransferKind::ReadAll));
  EXPECT_TRUE(std::equal(state.link.image.begin(), state.link.image.end(), memory.begin()));
  // The program starts out expecting an echo; the radio's first byte says otherwise.
  EXPECT_EQ(timeouts, 0);
  EXPECT_FALSE(state.link.echoExpected);
}

TEST_F(EngineMeetsRadio, WholeReadOnAnEchoingCable) {
  config.echo = true;
  run(TransferKind::ReadAll);
  ASSERT_TRUE(succeeded(TransferKind::ReadAll));
  EXPECT_TRUE(std::equal(state.link.image.begin(), state.link.image.end(), memory.begin()));
  EXPECT_EQ(timeouts, 0);
}

TEST_F(EngineMeetsRadio, WholeWriteLeavesTheImageInTheRadio) {
  for (std::size_t i = 0; i < state.link.image.size(); ++i) {
    state.link.image[i] = static_cast<std::uint8_t>(255 - i % 251);
  }
  config.identity.capabilities = 0x03;
  run(TransferKind::WriteAll);
  ASSERT_TRUE(succeeded(TransferKind::WriteAll));
  EXPECT_TRUE(std::equal(state.link.image.begin(), state.link.image.end(), memory.begin()));
  EXPECT_EQ(memory[0xB0C], 0x03);
}

TEST_F(EngineMeetsRadio, InformationRead) {
  run(TransferKind::ReadInfo);
  ASSERT_TRUE(succeeded(TransferKind::ReadInfo));
  EXPECT_TRUE(
      std::equal(state.link.infoArea.begin(), state.link.infoArea.end(), memory.begin() + 0xB10));
}

TEST_F(EngineMeetsRadio, ReadSurvivesLostAnswersAndBadChecksums) {
  config.echo = true;
  config.faults.dropEvery = 11;
  config.faults.corruptEvery = 7;
  run(TransferKind::ReadAll);
  ASSERT_TRUE(succeeded(TransferKind::ReadAll));
  EXPECT_TRUE(std::equal(state.link.image.begin(), state.link.image.end(), memory.begin()));
  EXPECT_GT(timeouts, 20);
}

TEST_F(EngineMeetsRadio, WriteSurvivesRetryRequestsAndLostAnswers) {
  state.link.echoExpected = false;
  for (std::size_t i = 0; i < state.link.image.size(); ++i) {
    state.link.image[i] = static_cast<std::uint8_t>(i % 253);
  }
  config.faults.retryEvery = 5;
  config.faults.dropEvery = 13;
  run(TransferKind::WriteAll);
  ASSERT_TRUE(succeeded(TransferKind::WriteAll));
  EXPECT_TRUE(std::equal(state.link.image.begin(), state.link.image.end(), memory.begin()));
}

TEST_F(EngineMeetsRadio, PasswordTheUserEnteredBefore) {
  WritePassword(memory, "ab");
  state.link.enteredPassword = "ab";
  run(TransferKind::ReadAll);
  ASSERT_TRUE(succeeded(TransferKind::ReadAll));
}

TEST_F(EngineMeetsRadio, SilentRadioFailsTheTransferWhenTheUserCancels) {
  config.faults.muteAfter = 40;
  prompter.retryAnswer = Answer::Cancel;
  run(TransferKind::ReadAll);
  EXPECT_EQ(port.ended,
            (std::vector<std::pair<TransferKind, bool>>{{TransferKind::ReadAll, false}}));
  EXPECT_FALSE(port.portOpen);
}

}  // namespace
}  // namespace cps::radiosim
