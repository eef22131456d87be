// The protocol engine against a scripted radio on a fake port with a virtual
// clock: every reply and every time-out is delivered by the test, so each
// scenario runs the same way every time and takes no real time.
#include "core/link/engine.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <map>
#include <numeric>
#include <random>

#include "../document/test_support.hpp"
#include "core/app/version_table.hpp"
#include "core/run_state.hpp"

namespace cps {
namespace {

using Bytes = std::vector<std::uint8_t>;
using testing::ScriptedPrompter;

Bytes bytesOf(std::string_view text) { return Bytes(text.begin(), text.end()); }

// The port, the reply timer and the windows as the engine sees them. Like a
// serial port, it sends what it is given later, while the program waits for
// the answer, and its close drops what has not left yet.
class FakeLink final : public LinkHost {
 public:
  bool openFails = false;
  bool portOpen = false;
  bool timerArmed = false;
  int threshold = 0;
  std::vector<Bytes> written;   // frames that reached the line, in order
  std::vector<Bytes> unsent;    // frames handed to the port that have not left yet
  std::vector<Bytes> lost;      // frames the port dropped on close
  std::vector<int> thresholds;  // the threshold set for each frame, in order
  std::vector<int> progress;    // the percentages shown, in order
  std::vector<int> blocks;      // the block counts shown with them
  std::vector<std::pair<TransferKind, bool>> ended;
  std::optional<std::filesystem::path> handedOver;

  bool openPort() override {
    portOpen = !openFails;
    return portOpen;
  }
  void closePort() override {
    lost.insert(lost.end(), unsent.begin(), unsent.end());
    unsent.clear();
    portOpen = false;
  }
  void emptyBuffers() override {}
  void write(std::span<const std::uint8_t> frame) override {
    if (!portOpen) return;
    unsent.emplace_back(frame.begin(), frame.end());
    thresholds.push_back(threshold);
  }
  void drainOutput() override { send(); }
  // The program waits: what it handed to the port goes down the line.
  void send() {
    written.insert(written.end(), unsent.begin(), unsent.end());
    unsent.clear();
  }
  void setReceiveThreshold(int bytes) override { threshold = bytes; }
  void startReplyTimer() override { timerArmed = true; }
  void stopReplyTimer() override { timerArmed = false; }
  void showProgress(int percent, int blocksDone) override {
    progress.push_back(percent);
    blocks.push_back(blocksDone);
  }
  void transferEnded(TransferKind kind, bool success) override {
    ended.emplace_back(kind, success);
  }
  void handOver(const std::filesystem::path& program) override { handedOver = program; }
  bool beforeFirstBlockWritten() override {
    if (whileAsked) whileAsked();
    // What had been handed to the port by then, in order.
    framesBeforeWriteBegan.push_back(written);
    framesBeforeWriteBegan.back().insert(framesBeforeWriteBegan.back().end(), unsent.begin(),
                                         unsent.end());
    return letWriteBegin;
  }

  bool letWriteBegin = true;
  std::vector<std::vector<Bytes>> framesBeforeWriteBegan;  // one entry per call
  std::function<void()> whileAsked;  // runs while the host is asked whether to write
};

// The radio's side: memory 0x000 to 0xCFF and the answers to each frame, with
// faults a test can switch on.
struct FakeRadio {
  std::array<std::uint8_t, 0xD00> memory{};
  std::string model = "TW530G";
  std::uint8_t bandCode = 0;
  std::string version = "V200";
  std::uint8_t caps = 0;
  bool echoingCable = false;
  bool mute = false;
  bool answersEnd = true;
  std::uint8_t endAnswer = 0x06;
  std::map<int, int> badChecksums;   // read address -> how many bad answers
  std::map<int, int> retryRequests;  // written address -> how many 0x0A answers
  std::map<int, int> unanswered;     // read or written address -> how many silences
  int frames = 0;
  int muteAfter = -1;  // frames answered before the radio falls silent
  std::vector<Bytes> received;

  FakeRadio() {
    for (std::size_t i = 0; i < memory.size(); ++i) memory[i] = static_cast<std::uint8_t>(i * 7);
    setPassword("");
  }
  void setPassword(std::string_view password) {
    for (std::size_t i = 0; i < 4; ++i) {
      memory[0xB3C + i] = i < password.size() ? static_cast<std::uint8_t>(password[i]) : 0xFF;
    }
  }

  static std::uint8_t sum(const Bytes& b, std::size_t from, std::size_t to) {
    return static_cast<std::uint8_t>(std::accumulate(b.begin() + static_cast<std::ptrdiff_t>(from),
                                                     b.begin() + static_cast<std::ptrdiff_t>(to),
                                                     0u) &
                                     0xFFu);
  }

  Bytes reply(const Bytes& frame) {
    received.push_back(frame);
    if (mute || (muteAfter >= 0 && frames >= muteAfter)) return {};
    ++frames;
    if (frame == bytesOf("PROGRAM")) return bytesOf("TW\x06");
    if (frame == Bytes{0x02}) {
      Bytes r{'P'};
      for (std::size_t i = 0; i < 7; ++i) r.push_back(i < model.size() ? model[i] : 0);
      r.push_back(bandCode);
      for (std::size_t i = 0; i < 4; ++i) r.push_back(i < version.size() ? version[i] : 0);
      r.push_back(caps);
      r.push_back(0);
      r.push_back(0x06);
      return r;
    }
    if (frame == bytesOf("END")) return answersEnd ? Bytes{endAnswer} : Bytes{};
    const int address = frame.size() >= 3 ? (frame[1] << 8) | frame[2] : -1;
    if (auto it = unanswered.find(address); it != unanswered.end() && it->second > 0) {
      --it->second;
      return {};
    }
    if (frame.size() == 4 && frame[0] == 'R') {
      Bytes r{'W', frame[1], frame[2], 16};
      for (int i = 0; i < 16; ++i) r.push_back(memory[static_cast<std::size_t>(address + i)]);
      r.push_back(sum(r, 1, r.size()));
      r.push_back(0x06);
      if (auto it = badChecksums.find(address); it != badChecksums.end() && it->second > 0) {
        --it->second;
        r[20] = static_cast<std::uint8_t>(r[20] + 1);
      }
      return r;
    }
    if (frame.size() == 22 && frame[0] == 'W') {
      if (auto it = retryRequests.find(address); it != retryRequests.end() && it->second > 0) {
        --it->second;
        return {0x0A};
      }
      if (sum(frame, 1, 20) != frame[20]) return {0x0A};
      std::copy_n(frame.begin() + 4, 16, memory.begin() + address);
      return {0x06};
    }
    return {};
  }
};

class EngineTest : public ::testing::Test {
 protected:
  EngineTest() {
    versions.pairs = {{"V200", "V200"}, {"V100", "V100"}};
    state.model.select("TW530G", "400 - 480 MHz");
  }

  // A fresh run for the next case of a table: a TW530G of 400 - 480 MHz, a
  // radio and a line that have seen nothing, and the given echo guess.
  void startOver(bool echoExpected, bool echoingCable = false) {
    state = RunState{};
    state.model.select("TW530G", "400 - 480 MHz");
    state.link.echoExpected = echoExpected;
    link = FakeLink{};
    radio = FakeRadio{};
    radio.echoingCable = echoingCable;
    prompter = ScriptedPrompter{};
    timeouts = 0;
  }

  ProtocolEngine makeEngine() {
    return ProtocolEngine(
        state, asker != nullptr ? *asker : static_cast<Prompter&>(prompter), link,
        {versions, [](int id) { return "<" + std::to_string(id) + ">"; }, "/base", "cps530"});
  }

  // Runs a transfer to its end: each frame the engine writes is answered by the
  // radio (through the cable); when no complete answer comes, the reply timer
  // runs out. `chunk` splits each answer into pieces of that many bytes.
  void run(TransferKind kind, std::size_t chunk = 0) {
    auto engine = makeEngine();
    running = &engine;
    struct Forget {
      ProtocolEngine*& engine;
      ~Forget() { engine = nullptr; }
    } forget{running};
    ASSERT_TRUE(engine.OpenRadioPort(kind));
    engine.start();
    std::size_t answered = 0;
    for (int guard = 0; engine.busy(); ++guard) {
      ASSERT_LT(guard, 20000) << "the transfer never ended";
      link.send();
      if (answered < link.written.size()) {
        const Bytes frame = link.written[answered++];
        Bytes bytes = radio.echoingCable ? frame : Bytes{};
        const Bytes answer = radio.reply(frame);
        bytes.insert(bytes.end(), answer.begin(), answer.end());
        elapsedMs += static_cast<int>((frame.size() + answer.size()) * 10 * 1000 / 9600);
        if (lineNoise) lineNoise(bytes);
        if (chunk == 0) {
          if (!bytes.empty()) engine.onBytesReceived(bytes);
        } else {
          for (std::size_t at = 0;
               at < bytes.size() && answered == link.written.size() && link.unsent.empty();
               at += chunk) {
            const auto n = std::min(chunk, bytes.size() - at);
            engine.onBytesReceived(std::span(bytes).subspan(at, n));
          }
        }
        continue;
      }
      ASSERT_TRUE(link.timerArmed) << "waiting without a reply timer";
      elapsedMs += kReplyTimeoutMs;
      ++timeouts;
      engine.onReplyTimeout();
    }
    // What reached the line before the port closed reaches the radio too.
    while (answered < link.written.size()) radio.reply(link.written[answered++]);
    EXPECT_FALSE(link.portOpen) << "the port is closed after every transfer";
    EXPECT_FALSE(link.timerArmed);
    EXPECT_TRUE(link.lost.empty()) << "every frame written left before the port closed";
  }

  std::vector<int> askedIds() const {
    std::vector<int> ids;
    for (const auto& m : prompter.asked) ids.push_back(m.textId);
    return ids;
  }
  int framesLike(std::string_view start) const {
    return static_cast<int>(
        std::count_if(radio.received.begin(), radio.received.end(), [&](const Bytes& f) {
          return f.size() >= start.size() && std::equal(start.begin(), start.end(), f.begin());
        }));
  }
  int readsOf(int address) const {
    return static_cast<int>(std::count(radio.received.begin(), radio.received.end(),
                                       Bytes{'R', static_cast<std::uint8_t>(address >> 8),
                                             static_cast<std::uint8_t>(address & 0xFF), 16}));
  }
  bool succeeded(TransferKind kind) const {
    return link.ended == std::vector<std::pair<TransferKind, bool>>{{kind, true}};
  }
  bool failed(TransferKind kind) const {
    return link.ended == std::vector<std::pair<TransferKind, bool>>{{kind, false}};
  }

  RunState state;
  ScriptedPrompter prompter;
  // The engine that run() drives, while it runs.
  ProtocolEngine* running = nullptr;
  // Who answers the engine's questions instead of `prompter`; none: `prompter`.
  Prompter* asker = nullptr;
  FakeLink link;
  FakeRadio radio;
  VersionTable versions;
  int elapsedMs = 0;
  int timeouts = 0;
  // What the line does to the bytes on their way to the host.
  std::function<void(Bytes&)> lineNoise;
};

TEST_F(EngineTest, WholeReadCopiesTheRadioMemoryAndReportsProgressTo99) {
  radio.echoingCable = true;
  run(TransferKind::ReadAll);
  ASSERT_TRUE(succeeded(TransferKind::ReadAll));
  EXPECT_TRUE(std::equal(state.link.image.begin(), state.link.image.end(), radio.memory.begin()));
  EXPECT_EQ(readsOf(0x0000), 1);
  EXPECT_EQ(readsOf(0x0B00), 1);
  EXPECT_EQ(readsOf(0x0B10), 0) << "the information area is not part of a whole read";
  EXPECT_EQ(framesLike("R"), kWholeRadioBlocks + 1) << "the blocks and the password block";
  EXPECT_EQ(link.progress.back(), 99);
  EXPECT_TRUE(std::is_sorted(link.progress.begin(), link.progress.end()));
  EXPECT_EQ(askedIds(), std::vector<int>{text::kReadComplete});
  EXPECT_EQ(timeouts, 0);
}

// The block count shown is the blocks really moved: every number from 1 to
// the last, once each, whichever way the data goes.
TEST_F(EngineTest, ProgressCountsEveryBlockOnce) {
  std::vector<int> oneToAll(kWholeRadioBlocks);
  std::iota(oneToAll.begin(), oneToAll.end(), 1);
  for (const auto kind : {TransferKind::ReadAll, TransferKind::WriteAll}) {
    startOver(false);
    run(kind);
    ASSERT_TRUE(succeeded(kind)) << static_cast<int>(kind);
    EXPECT_EQ(link.blocks, oneToAll) << static_cast<int>(kind);
    EXPECT_EQ(link.progress.back(), 99) << static_cast<int>(kind);
    EXPECT_TRUE(std::is_sorted(link.progress.begin(), link.progress.end()));
  }
  // The information read shows no progress.
  state.link.echoExpected = false;
  link = FakeLink{};
  run(TransferKind::ReadInfo);
  EXPECT_TRUE(link.blocks.empty());
}

TEST_F(EngineTest, WholeWriteLeavesTheImageInTheRadio) {
  for (std::size_t i = 0; i < state.link.image.size(); ++i) {
    state.link.image[i] = static_cast<std::uint8_t>(255 - i % 251);
  }
  radio.model = "TW530G";
  radio.caps = 0x03;  // bits 1 and 0 do not forbid writing
  run(TransferKind::WriteAll);
  ASSERT_TRUE(succeeded(TransferKind::WriteAll));
  // The identification block goes out with the radio's own model, version and
  // capability byte, and the document's band code.
  EXPECT_EQ(state.link.image[0xB0C], 0x03);
  EXPECT_TRUE(std::equal(state.link.image.begin(), state.link.image.end(), radio.memory.begin()));
  EXPECT_EQ(framesLike("W"), kWholeRadioBlocks);
  EXPECT_EQ(link.progress.back(), 99);
  EXPECT_EQ(askedIds(), std::vector<int>{text::kWriteComplete});
}

TEST_F(EngineTest, ThresholdsFollowTheEchoAssumption) {
  radio.echoingCable = true;
  run(TransferKind::ReadAll);
  ASSERT_TRUE(succeeded(TransferKind::ReadAll));
  // PROGRAM 7 + 3, ident 1 + 16, read 4 + 22, END 3 + 1.
  EXPECT_EQ(link.thresholds.front(), 10);
  EXPECT_EQ(link.thresholds[1], 17);
  EXPECT_EQ(link.thresholds[2], 26);
  EXPECT_EQ(link.thresholds.back(), 4);
}

// The first byte back after PROGRAM tells the cable (the echo's "P" or the
// radio's "T"), so no handshake waits for a reply shaped for the wrong cable;
// what was learnt is kept for the next transfer of the run.
TEST_F(EngineTest, TheFirstByteBackTellsTheCable) {
  struct Case {
    const char* what;
    bool expected;
    bool echoing;
    std::size_t chunk;
  };
  const Case cases[] = {
      {"plain cable, echo expected", true, false, 0},
      {"echoing cable, none expected", false, true, 0},
      {"plain cable, byte by byte", true, false, 1},
      {"echoing cable, byte by byte", false, true, 1},
      {"plain cable as expected", false, false, 0},
      {"echoing cable as expected", true, true, 0},
  };
  for (const auto& c : cases) {
    startOver(c.expected, c.echoing);
    run(TransferKind::ReadAll, c.chunk);
    ASSERT_TRUE(succeeded(TransferKind::ReadAll)) << c.what;
    EXPECT_EQ(timeouts, 0) << c.what;
    EXPECT_EQ(framesLike("PROGRAM"), 1) << c.what;
    EXPECT_EQ(link.thresholds[0], c.expected ? 10 : 3) << c.what << ": PROGRAM as sent";
    EXPECT_EQ(link.thresholds[1], c.echoing ? 17 : 16) << c.what << ": the identification";
    EXPECT_EQ(state.link.echoExpected, c.echoing) << c.what;

    link = FakeLink{};
    run(TransferKind::WriteAll);
    EXPECT_TRUE(succeeded(TransferKind::WriteAll)) << c.what;
    EXPECT_EQ(link.thresholds[0], c.echoing ? 10 : 3) << c.what << ": the next transfer";
    EXPECT_EQ(timeouts, 0) << c.what;
  }
}

// A first byte that is neither "P" nor "T" tells nothing, and one that misleads
// costs one handshake time-out: the time-outs still turn the guess round.
TEST_F(EngineTest, NoiseBeforeTheFirstAnswerFallsBackToTheTimeOuts) {
  struct Case {
    const char* what;
    bool expected;
    bool echoing;
    std::uint8_t noise;
  };
  const Case cases[] = {
      {"plain cable, a stray 0x00", true, false, 0x00},
      {"plain cable, a stray P", false, false, 'P'},
      {"echoing cable, a stray T", true, true, 'T'},
      {"echoing cable, a stray 0xFF", false, true, 0xFF},
  };
  for (const auto& c : cases) {
    startOver(c.expected, c.echoing);
    bool first = true;
    lineNoise = [&](Bytes& bytes) {
      if (first) bytes.insert(bytes.begin(), c.noise);
      first = false;
    };
    run(TransferKind::ReadAll);
    ASSERT_TRUE(succeeded(TransferKind::ReadAll)) << c.what;
    EXPECT_EQ(timeouts, 1) << c.what;
    EXPECT_EQ(framesLike("PROGRAM"), 2) << c.what;
    EXPECT_EQ(state.link.echoExpected, c.echoing) << c.what;
  }
}

TEST_F(EngineTest, RepliesArrivingInPiecesAreGathered) {
  radio.echoingCable = true;
  run(TransferKind::ReadAll, 5);
  ASSERT_TRUE(succeeded(TransferKind::ReadAll));
  EXPECT_EQ(timeouts, 0);
  EXPECT_TRUE(std::equal(state.link.image.begin(), state.link.image.end(), radio.memory.begin()));
}

TEST_F(EngineTest, ARetryRequestResendsTheFrameWithoutSpendingTheBudget) {
  state.link.echoExpected = false;
  radio.retryRequests[0x0100] = 5;  // five 0x0A answers...
  radio.unanswered[0x0100] = 3;     // ...then three silences, the whole budget
  run(TransferKind::WriteAll);
  ASSERT_TRUE(succeeded(TransferKind::WriteAll));
  EXPECT_EQ(std::count(radio.received.begin(), radio.received.end(), link.written[0]), 1);
  const Bytes& frameAt100 =
      *std::find_if(link.written.begin(), link.written.end(),
                    [](const Bytes& f) { return f[0] == 'W' && f[1] == 1 && f[2] == 0; });
  EXPECT_EQ(std::count(link.written.begin(), link.written.end(), frameAt100), 1 + 5 + 3);
  EXPECT_EQ(askedIds(), std::vector<int>{text::kWriteComplete}) << "no retry prompt";
}

// A radio that keeps refusing one block, as when the cable spoils the same
// byte every time, must not hold the write for ever: after ten refusals that
// cost nothing, each one spends the block's budget, and then the user decides.
TEST_F(EngineTest, ABlockRefusedForEverEndsInTheRetryPrompt) {
  for (const bool retry : {false, true}) {
    startOver(false);
    radio.retryRequests[0x0100] = retry ? 13 + 13 : 1000000;
    prompter.script = {retry ? Answer::Ok : Answer::Cancel};
    run(TransferKind::WriteAll);
    const Bytes& frameAt100 =
        *std::find_if(link.written.begin(), link.written.end(),
                      [](const Bytes& f) { return f[0] == 'W' && f[1] == 1 && f[2] == 0; });
    if (!retry) {
      EXPECT_TRUE(failed(TransferKind::WriteAll));
      EXPECT_EQ(askedIds(), std::vector<int>{text::kTransferFailedRetry});
      EXPECT_EQ(std::count(link.written.begin(), link.written.end(), frameAt100), 1 + 10 + 3);
    } else {
      // After the prompt the write starts over, and the block's budget stays spent.
      EXPECT_TRUE(succeeded(TransferKind::WriteAll));
      EXPECT_EQ(askedIds(), (std::vector<int>{text::kTransferFailedRetry,
                                              text::kTransferFailedRetry, text::kWriteComplete}));
    }
  }
}

// END answered 0x0A, by a confused radio or by line noise, asks for nothing:
// no block goes out after END, so nothing past the image (the radio's
// production data at 0x0B10) is ever written, least of all during a read.
TEST_F(EngineTest, ARetryRequestAnsweringEndSendsNoBlock) {
  for (const auto kind : {TransferKind::ReadAll, TransferKind::WriteAll, TransferKind::ReadInfo}) {
    startOver(false);
    radio.endAnswer = 0x0A;
    const auto memoryBefore = radio.memory;
    run(kind);
    EXPECT_TRUE(succeeded(kind)) << static_cast<int>(kind);
    EXPECT_EQ(link.written.back(), bytesOf("END")) << static_cast<int>(kind);
    EXPECT_TRUE(
        std::equal(memoryBefore.begin() + 0xB10, memoryBefore.end(), radio.memory.begin() + 0xB10))
        << static_cast<int>(kind);
  }
}

TEST_F(EngineTest, EachBlockIsRequestedThreeMoreTimesBeforeTheUserIsAsked) {
  struct Case {
    const char* what;
    int address;
    int badAnswers;
    bool prompted;
  };
  for (const auto& c : std::vector<Case>{{"three bad checksums", 0x0050, 3, false},
                                         {"four bad checksums", 0x0050, 4, true},
                                         {"the first block has its own budget", 0x0000, 4, true}}) {
    state = RunState{};
    state.link.echoExpected = false;
    link = FakeLink{};
    radio = FakeRadio{};
    radio.badChecksums[c.address] = c.badAnswers;
    prompter = ScriptedPrompter{};
    prompter.script = {Answer::Cancel};
    run(TransferKind::ReadAll);
    if (c.prompted) {
      EXPECT_EQ(readsOf(c.address), 4) << c.what;
      EXPECT_EQ(askedIds(), std::vector<int>{text::kTransferFailedRetry}) << c.what;
      EXPECT_TRUE(failed(TransferKind::ReadAll)) << c.what;
      EXPECT_EQ(link.written.back(), bytesOf("END")) << c.what << ": the radio is told";
    } else {
      EXPECT_EQ(readsOf(c.address), 4) << c.what;
      EXPECT_TRUE(succeeded(TransferKind::ReadAll)) << c.what;
    }
  }
}

TEST_F(EngineTest, RetryAfterTheBudgetStartsAgainFromTheHandshake) {
  state.link.echoExpected = false;
  radio.badChecksums[0x0300] = 4;
  prompter.script = {Answer::Ok};
  run(TransferKind::ReadAll);
  ASSERT_TRUE(succeeded(TransferKind::ReadAll));
  EXPECT_EQ(framesLike("PROGRAM"), 2);
  EXPECT_EQ(readsOf(0x0000), 2) << "the whole read starts over";
  // The bar and the count go back to 0 and count up again from the start.
  const auto restart = std::find(link.blocks.begin(), link.blocks.end(), 0);
  ASSERT_NE(restart, link.blocks.end());
  EXPECT_EQ(link.progress[static_cast<std::size_t>(restart - link.blocks.begin())], 0);
  EXPECT_EQ(std::count(link.blocks.begin(), link.blocks.end(), 0), 1);
  EXPECT_EQ(*std::prev(restart), 0x300 / 16) << "the blocks before the one that failed";
  EXPECT_EQ(link.blocks.back(), kWholeRadioBlocks);
  EXPECT_EQ(state.link.passwordReadRetries, 3);
}

TEST_F(EngineTest, AMuteRadioGetsFourHandshakesAlternatingTheEchoThenTheQuestion) {
  radio.mute = true;
  prompter.script = {Answer::Cancel};
  run(TransferKind::ReadAll);
  EXPECT_TRUE(failed(TransferKind::ReadAll));
  EXPECT_EQ(framesLike("PROGRAM"), 4);
  EXPECT_EQ(std::vector<int>(link.thresholds.begin(), link.thresholds.begin() + 4),
            (std::vector<int>{10, 3, 10, 3}));
  EXPECT_EQ(askedIds(), std::vector<int>{text::kTransferFailedRetry});
  EXPECT_EQ(prompter.asked[0].buttons, Buttons::OkCancel);
}

TEST_F(EngineTest, ThePasswordBlockIsReadAgainOnlyAfterTheUserRetried) {
  state.link.echoExpected = false;
  radio.unanswered[0x0B30] = 2;
  // First silence: no re-reads are left at the start of a run, so the user is
  // asked; after OK the block may be read again twice.
  prompter.script = {Answer::Ok};
  run(TransferKind::ReadAll);
  ASSERT_TRUE(succeeded(TransferKind::ReadAll));
  EXPECT_EQ(readsOf(0x0B30), 3);
  EXPECT_EQ(askedIds(), (std::vector<int>{text::kTransferFailedRetry, text::kReadComplete}));
}

TEST_F(EngineTest, PasswordRules) {
  struct Case {
    const char* what;
    std::string radioPassword;  // "" = no password
    std::optional<std::uint8_t> firstByte;
    std::string entered;
    std::vector<std::string> typed;
    bool success;
    int prompts;
  };
  const std::vector<Case> cases{
      {"no password (0xFF)", "", std::nullopt, "", {}, true, 0},
      {"no password (first byte 0)", "ABCD", 0x00, "", {}, true, 0},
      {"the password entered earlier", "1234", std::nullopt, "1234", {}, true, 0},
      {"wrong, then right", "1234", std::nullopt, "", {"1234"}, true, 1},
      {"case matters", "abcd", std::nullopt, "", {"ABCD"}, false, 1},
      {"prompt cancelled", "1234", std::nullopt, "", {}, false, 1},
  };
  for (const auto& c : cases) {
    state = RunState{};
    state.link.echoExpected = false;
    state.link.enteredPassword = c.entered;
    link = FakeLink{};
    radio = FakeRadio{};
    radio.setPassword(c.radioPassword);
    if (c.firstByte) radio.memory[0xB3C] = *c.firstByte;
    prompter = ScriptedPrompter{};
    prompter.passwords.assign(c.typed.begin(), c.typed.end());
    run(TransferKind::ReadAll);
    EXPECT_EQ(prompter.passwordPrompts, c.prompts) << c.what;
    if (c.success) {
      EXPECT_TRUE(succeeded(TransferKind::ReadAll)) << c.what;
      EXPECT_EQ(framesLike("R"), 178) << c.what;
    } else {
      EXPECT_TRUE(failed(TransferKind::ReadAll)) << c.what;
      ASSERT_FALSE(prompter.asked.empty()) << c.what;
      EXPECT_EQ(prompter.asked.back().fixedText, "PassWord Failure!") << c.what;
      EXPECT_EQ(framesLike("R"), 1) << c.what << ": no block is read";
    }
  }
  EXPECT_EQ(state.link.enteredPassword, "") << "a cancelled prompt keeps what was entered";
}

TEST_F(EngineTest, IdentityChecks) {
  struct Case {
    const char* what;
    TransferKind kind;
    std::string documentModel;
    std::string documentBand;
    std::string radioModel;
    std::uint8_t radioBand;
    std::string radioVersion;
    std::vector<Answer> answers;
    std::vector<int> asked;  // 0 stands for the version question
    bool success;
  };
  const auto R = TransferKind::ReadAll;
  const auto W = TransferKind::WriteAll;
  const std::vector<Case> cases{
      {"read takes either model",
       R,
       "TW530",
       "400 - 480 MHz",
       "TW530G",
       8,
       "V200",
       {},
       {text::kReadComplete},
       true},
      {"read refuses an unknown model",
       R,
       "TW530",
       "400 - 480 MHz",
       "TW999",
       0,
       "V200",
       {},
       {text::kModelMismatch},
       false},
      {"write to the other model",
       W,
       "TW530",
       "400 - 480 MHz",
       "TW530G",
       0,
       "V200",
       {},
       {text::kModelMismatch},
       false},
      {"sub-band differs, OK",
       W,
       "TW530G",
       "400 - 440 MHz",
       "TW530G",
       0,
       "V200",
       {Answer::Ok},
       {text::kBandDiffers, text::kWriteComplete},
       true},
      {"sub-band differs, Cancel",
       W,
       "TW530G",
       "400 - 440 MHz",
       "TW530G",
       0,
       "V200",
       {Answer::Cancel},
       {text::kBandDiffers},
       false},
      {"another band group",
       W,
       "TW530G",
       "400 - 440 MHz",
       "TW530G",
       8,
       "V200",
       {},
       {text::kBandRefused},
       false},
      {"unknown firmware, No",
       R,
       "TW530G",
       "400 - 480 MHz",
       "TW530G",
       0,
       "V300",
       {Answer::No},
       {0},
       false},
  };
  for (const auto& c : cases) {
    state = RunState{};
    state.link.echoExpected = false;
    state.model.select(c.documentModel, c.documentBand);
    link = FakeLink{};
    radio = FakeRadio{};
    radio.model = c.radioModel;
    radio.bandCode = c.radioBand;
    radio.version = c.radioVersion;
    prompter = ScriptedPrompter{};
    prompter.script.assign(c.answers.begin(), c.answers.end());
    run(c.kind);
    EXPECT_EQ(askedIds(), c.asked) << c.what;
    EXPECT_EQ(c.success ? succeeded(c.kind) : failed(c.kind), true) << c.what;
    if (!c.success) {
      EXPECT_EQ(framesLike("R") + framesLike("W"), 1) << c.what << ": only the password block";
    }
  }
}

TEST_F(EngineTest, AFirmwareOfAnotherProgramVersionIsHandedOver) {
  state.link.echoExpected = false;
  radio.version = "V100";
  prompter.script = {Answer::Yes};
  run(TransferKind::ReadAll);
  ASSERT_TRUE(link.handedOver);
  EXPECT_EQ(*link.handedOver, std::filesystem::path("/base/V100/cps530"));
  EXPECT_NE(prompter.asked[0].fixedText.find("V1.00"), std::string::npos);
  EXPECT_TRUE(link.ended.empty());
}

TEST_F(EngineTest, CapabilityBitsForbidWritingButNotReading) {
  struct Case {
    std::uint8_t caps;
    TransferKind kind;
    int refusal;
  };
  for (const auto& c : std::vector<Case>{{0x08, TransferKind::WriteAll, text::kWriteProtected},
                                         {0x04, TransferKind::WriteAll, text::kWriteNotAccepted},
                                         {0x0C, TransferKind::WriteAll, text::kWriteProtected},
                                         {0x0C, TransferKind::ReadAll, 0}}) {
    state = RunState{};
    state.link.echoExpected = false;
    link = FakeLink{};
    radio = FakeRadio{};
    radio.caps = c.caps;
    prompter = ScriptedPrompter{};
    run(c.kind);
    if (c.refusal != 0) {
      EXPECT_EQ(askedIds(), std::vector<int>{c.refusal});
      EXPECT_TRUE(failed(c.kind));
      EXPECT_EQ(framesLike("R"), 0) << "refused before the password block";
    } else {
      EXPECT_TRUE(succeeded(c.kind));
    }
    EXPECT_EQ(state.link.currentCapabilities.bits[3], (c.caps & 8) != 0);
  }
}

// However a transfer stops early, the radio hears END before the port closes;
// otherwise it stays in programming mode and may ignore the next transfer.
TEST_F(EngineTest, EveryEarlyStopTellsTheRadioBeforeThePortCloses) {
  struct Case {
    const char* what;
    TransferKind kind;
    std::function<void(FakeRadio&, RunState&, ScriptedPrompter&)> arrange;
  };
  const auto R = TransferKind::ReadAll;
  const auto W = TransferKind::WriteAll;
  const std::vector<Case> cases{
      {"silent radio, retry cancelled", R,
       [](FakeRadio& r, RunState&, ScriptedPrompter& p) {
         r.muteAfter = 20;
         p.script = {Answer::Cancel};
       }},
      {"information read, retry cancelled", TransferKind::ReadInfo,
       [](FakeRadio& r, RunState&, ScriptedPrompter& p) {
         r.muteAfter = 5;
         p.script = {Answer::Cancel};
       }},
      {"wrong password", R,
       [](FakeRadio& r, RunState&, ScriptedPrompter&) { r.setPassword("1234"); }},
      {"the other model", W, [](FakeRadio& r, RunState&, ScriptedPrompter&) { r.model = "TW530"; }},
      {"another band group", W, [](FakeRadio& r, RunState&, ScriptedPrompter&) { r.bandCode = 8; }},
      {"another sub-band, Cancel", W,
       [](FakeRadio& r, RunState& s, ScriptedPrompter& p) {
         s.model.select("TW530G", "400 - 440 MHz");
         r.bandCode = 0;
         p.script = {Answer::Cancel};
       }},
      {"write protected", W, [](FakeRadio& r, RunState&, ScriptedPrompter&) { r.caps = 0x08; }},
      {"writes not accepted", W, [](FakeRadio& r, RunState&, ScriptedPrompter&) { r.caps = 0x04; }},
      {"firmware of another version, No", W,
       [](FakeRadio& r, RunState&, ScriptedPrompter& p) {
         r.version = "V100";
         p.script = {Answer::No};
       }},
      {"firmware of another version, handed over", R,
       [](FakeRadio& r, RunState&, ScriptedPrompter& p) {
         r.version = "V100";
         p.script = {Answer::Yes};
       }},
  };
  for (const auto& c : cases) {
    for (const bool echo : {false, true}) {
      state = RunState{};
      state.model.select("TW530G", "400 - 480 MHz");
      state.link.echoExpected = echo;
      link = FakeLink{};
      radio = FakeRadio{};
      radio.echoingCable = echo;
      prompter = ScriptedPrompter{};
      c.arrange(radio, state, prompter);
      run(c.kind);
      const std::string what = std::string(c.what) + (echo ? ", echoing cable" : "");
      EXPECT_TRUE(link.ended.empty() || failed(c.kind)) << what;
      ASSERT_FALSE(radio.received.empty()) << what;
      EXPECT_EQ(radio.received.back(), bytesOf("END")) << what;
      EXPECT_TRUE(link.lost.empty()) << what;
    }
  }
}

// Stopping a transfer part-way, at any step, ends it as a failure with END
// as the last frame that leaves before the port closes; stopping an idle engine
// does nothing.
TEST_F(EngineTest, StoppingATransferTellsTheRadioEndAndFails) {
  struct Case {
    TransferKind kind;
    int framesAnswered;  // answered before the stop
  };
  for (const auto& c : std::vector<Case>{{TransferKind::WriteAll, 0},
                                         {TransferKind::WriteAll, 3},
                                         {TransferKind::WriteAll, 40},
                                         {TransferKind::ReadAll, 40}}) {
    startOver(false);
    auto engine = makeEngine();
    ASSERT_TRUE(engine.OpenRadioPort(c.kind));
    engine.start();
    for (int answered = 0; answered < c.framesAnswered; ++answered) {
      link.send();
      ASSERT_EQ(link.written.size(), static_cast<std::size_t>(answered) + 1);
      engine.onBytesReceived(radio.reply(link.written.back()));
    }
    engine.cancel();
    const std::string what = (c.kind == TransferKind::WriteAll ? "write after " : "read after ") +
                             std::to_string(c.framesAnswered);
    EXPECT_FALSE(engine.busy()) << what;
    EXPECT_TRUE(failed(c.kind)) << what;
    EXPECT_FALSE(link.portOpen) << what;
    EXPECT_FALSE(link.timerArmed) << what;
    EXPECT_TRUE(link.lost.empty()) << what;
    ASSERT_FALSE(link.written.empty()) << what;
    EXPECT_EQ(link.written.back(), bytesOf("END")) << what;
    EXPECT_TRUE(prompter.asked.empty()) << "a stop asks nothing: " << what;
    engine.cancel();
    EXPECT_EQ(link.ended.size(), 1u) << "a second stop does nothing: " << what;
  }
}

// Answers as the script says, after stopping the transfer from inside the
// question that `stopAt` names (a text id, or kAtThePasswordPrompt).
constexpr int kAtThePasswordPrompt = -1;
class StopWhileAsked final : public Prompter {
 public:
  StopWhileAsked(ScriptedPrompter& answers, ProtocolEngine*& engine, int stopAt)
      : m_answers(answers), m_engine(engine), m_stopAt(stopAt) {}
  Answer ask(const Message& message) override {
    if (message.textId == m_stopAt) stop();
    return m_answers.ask(message);
  }
  std::optional<std::string> chooseFile(const FileDialogRequest&) override { return std::nullopt; }
  std::optional<std::string> askPassword() override {
    if (m_stopAt == kAtThePasswordPrompt) stop();
    return m_answers.askPassword();
  }
  int stops = 0;

 private:
  void stop() {
    ASSERT_NE(m_engine, nullptr);
    m_engine->cancel();
    ++stops;
  }
  ScriptedPrompter& m_answers;
  ProtocolEngine*& m_engine;
  int m_stopAt;
};

// The user stops the transfer while one of its questions is open (Ctrl+C at
// the command line's prompt, a termination signal under a message box): the
// transfer ends as soon as the question is answered, as after Cancel, whatever
// the answer, with END as the last frame and the host told once.
TEST_F(EngineTest, StoppingWhileAQuestionIsOpenEndsTheTransferWhenItIsAnswered) {
  struct Case {
    const char* what;
    TransferKind kind;
    int stopAt;  // the question's text id, or the password prompt
    std::function<void(FakeRadio&, RunState&, ScriptedPrompter&)> arrange;
  };
  const auto R = TransferKind::ReadAll;
  const auto W = TransferKind::WriteAll;
  const std::vector<Case> cases{
      {"retry question answered OK", R, text::kTransferFailedRetry,
       [](FakeRadio& r, RunState&, ScriptedPrompter& p) {
         r.muteAfter = 20;
         p.script = {Answer::Ok};
       }},
      {"information retry answered Retry", TransferKind::ReadInfo, text::kTransferFailedRetry,
       [](FakeRadio& r, RunState&, ScriptedPrompter& p) {
         r.muteAfter = 5;
         p.script = {Answer::Retry};
       }},
      {"band question answered OK", W, text::kBandDiffers,
       [](FakeRadio& r, RunState& s, ScriptedPrompter& p) {
         s.model.select("TW530G", "400 - 440 MHz");
         r.bandCode = 0;
         p.script = {Answer::Ok};
       }},
      {"right password typed", R, kAtThePasswordPrompt,
       [](FakeRadio& r, RunState&, ScriptedPrompter& p) {
         r.setPassword("1234");
         p.passwords = {"1234"};
       }},
  };
  for (const auto& c : cases) {
    startOver(false);
    c.arrange(radio, state, prompter);
    StopWhileAsked stopping(prompter, running, c.stopAt);
    asker = &stopping;
    run(c.kind);
    asker = nullptr;
    EXPECT_EQ(stopping.stops, 1) << c.what;
    EXPECT_TRUE(failed(c.kind)) << c.what;
    ASSERT_FALSE(radio.received.empty()) << c.what;
    EXPECT_EQ(radio.received.back(), bytesOf("END")) << c.what;
    EXPECT_EQ(framesLike("END"), 1) << c.what;
    EXPECT_EQ(framesLike("W"), 0) << "nothing is written after the stop: " << c.what;
    const auto failure = std::find_if(prompter.asked.begin(), prompter.asked.end(),
                                      [](auto& m) { return m.fixedText == kPasswordFailureText; });
    EXPECT_EQ(failure, prompter.asked.end()) << "the stop is no wrong password: " << c.what;
  }
}

// A stop that comes while the host decides whether the write may begin (the
// desktop asks there when the backup fails) keeps the radio from being written.
TEST_F(EngineTest, StoppingWhileTheWriteIsAboutToBeginWritesNothing) {
  link.whileAsked = [this] { running->cancel(); };
  run(TransferKind::WriteAll);
  EXPECT_EQ(link.framesBeforeWriteBegan.size(), 1u);
  EXPECT_TRUE(failed(TransferKind::WriteAll));
  ASSERT_FALSE(radio.received.empty());
  EXPECT_EQ(radio.received.back(), bytesOf("END"));
  EXPECT_EQ(framesLike("END"), 1);
  EXPECT_EQ(framesLike("W"), 0);
}

// The host hears once, when the radio has been accepted and before the first
// block goes out, that a write is about to begin (the desktop keeps its backup
// then), and may still stop it.
TEST_F(EngineTest, TheHostHearsOnceThatTheWriteIsAboutToBegin) {
  struct Case {
    const char* what;
    TransferKind kind;
    std::function<void(FakeRadio&, FakeLink&, ScriptedPrompter&)> arrange;
    int calls;
    bool success;
  };
  const auto W = TransferKind::WriteAll;
  const std::vector<Case> cases{
      {"a write", W, [](FakeRadio&, FakeLink&, ScriptedPrompter&) {}, 1, true},
      {"a write that starts over", W,
       [](FakeRadio& r, FakeLink&, ScriptedPrompter& p) {
         r.unanswered[0x0500] = 4;
         p.script = {Answer::Ok};
       },
       1, true},
      {"the host stops it", W,
       [](FakeRadio&, FakeLink& l, ScriptedPrompter&) { l.letWriteBegin = false; }, 1, false},
      {"a read", TransferKind::ReadAll, [](FakeRadio&, FakeLink&, ScriptedPrompter&) {}, 0, true},
      {"the other model", W, [](FakeRadio& r, FakeLink&, ScriptedPrompter&) { r.model = "TW530"; },
       0, false},
      {"another band group", W, [](FakeRadio& r, FakeLink&, ScriptedPrompter&) { r.bandCode = 8; },
       0, false},
      {"write protected", W, [](FakeRadio& r, FakeLink&, ScriptedPrompter&) { r.caps = 0x08; }, 0,
       false},
      {"writes not accepted", W, [](FakeRadio& r, FakeLink&, ScriptedPrompter&) { r.caps = 0x04; },
       0, false},
      {"wrong password", W,
       [](FakeRadio& r, FakeLink&, ScriptedPrompter&) { r.setPassword("1234"); }, 0, false},
  };
  for (const auto& c : cases) {
    state = RunState{};
    state.model.select("TW530G", "400 - 480 MHz");
    state.link.echoExpected = false;
    link = FakeLink{};
    radio = FakeRadio{};
    prompter = ScriptedPrompter{};
    c.arrange(radio, link, prompter);
    run(c.kind);
    ASSERT_EQ(static_cast<int>(link.framesBeforeWriteBegan.size()), c.calls) << c.what;
    EXPECT_EQ(c.success ? succeeded(c.kind) : failed(c.kind), true) << c.what;
    if (c.calls == 0) continue;
    const auto& before = link.framesBeforeWriteBegan.front();
    ASSERT_FALSE(before.empty()) << c.what;
    EXPECT_EQ(before.back(), (Bytes{'R', 0x0B, 0x30, 16})) << c.what << ": after the password";
    EXPECT_TRUE(
        std::none_of(before.begin(), before.end(), [](const Bytes& f) { return f.front() == 'W'; }))
        << c.what << ": before any block";
    if (!c.success) {
      EXPECT_EQ(framesLike("W"), 0) << c.what;
      EXPECT_EQ(radio.received.back(), bytesOf("END")) << c.what;
      EXPECT_TRUE(prompter.asked.empty()) << c.what;
    }
  }
}

TEST_F(EngineTest, InformationReadFillsTheInformationArea) {
  state.link.echoExpected = false;
  run(TransferKind::ReadInfo);
  ASSERT_TRUE(succeeded(TransferKind::ReadInfo));
  EXPECT_TRUE(std::equal(state.link.infoArea.begin(), state.link.infoArea.end(),
                         radio.memory.begin() + 0xB10));
  EXPECT_EQ(framesLike("R"), 31);
  EXPECT_EQ(readsOf(0x0B30), 1) << "no separate password read";
  EXPECT_TRUE(prompter.asked.empty()) << "no completion message";
  EXPECT_TRUE(link.progress.empty());
}

TEST_F(EngineTest, InformationReadRetryAsksForTheMissingBlockAgain) {
  state.link.echoExpected = false;
  radio.unanswered[0x0C00] = 1;
  prompter.script = {Answer::Retry};
  run(TransferKind::ReadInfo);
  ASSERT_TRUE(succeeded(TransferKind::ReadInfo));
  EXPECT_EQ(prompter.asked.at(0).buttons, Buttons::RetryCancel);
  EXPECT_EQ(readsOf(0x0C00), 2);
  EXPECT_TRUE(std::equal(state.link.infoArea.begin(), state.link.infoArea.end(),
                         radio.memory.begin() + 0xB10));
}

TEST_F(EngineTest, AnUnansweredEndStillCompletesTheTransfer) {
  for (const auto kind : {TransferKind::ReadAll, TransferKind::WriteAll, TransferKind::ReadInfo}) {
    state = RunState{};
    state.link.echoExpected = false;
    link = FakeLink{};
    radio = FakeRadio{};
    radio.answersEnd = false;
    prompter = ScriptedPrompter{};
    run(kind);
    EXPECT_TRUE(succeeded(kind)) << static_cast<int>(kind);
  }
}

TEST_F(EngineTest, APortThatCannotBeOpenedIsReported) {
  link.openFails = true;
  auto engine = makeEngine();
  EXPECT_FALSE(engine.OpenRadioPort(TransferKind::ReadAll));
  EXPECT_FALSE(engine.busy());
  EXPECT_EQ(askedIds(), std::vector<int>{text::kCannotOpenPort});
  EXPECT_EQ(prompter.asked[0].icon, Icon::Critical);
}

TEST_F(EngineTest, GarbageAndStrayBytesAreIgnored) {
  state.link.echoExpected = false;
  auto engine = makeEngine();
  ASSERT_TRUE(engine.OpenRadioPort(TransferKind::ReadAll));
  engine.onBytesReceived(bytesOf("TW\x06"));  // before the handshake was sent
  EXPECT_EQ(engine.step(), TransferStep::Idle);
  engine.start();
  engine.onBytesReceived(bytesOf("XY\x06"));
  EXPECT_EQ(engine.step(), TransferStep::AwaitHandshake);
  engine.onBytesReceived(bytesOf("TW\x06"));
  EXPECT_EQ(engine.step(), TransferStep::AwaitIdent) << "the next good reply is taken";
}

TEST_F(EngineTest, AFullReadTakesAboutTheLineTimeOfItsBytes) {
  state.link.echoExpected = false;
  run(TransferKind::ReadAll);
  ASSERT_TRUE(succeeded(TransferKind::ReadAll));
  // 178 reads of 4 + 22 bytes and the small frames: about 4.8 s at 9600 baud.
  EXPECT_GT(elapsedMs, 4700);
  EXPECT_LT(elapsedMs, 5000);
}

// A noisy line: answers lost, cut short, with a byte changed or with noise in
// front, in every combination the seeds give. Whatever happens, the transfer
// ends with the port closed, and a transfer reported as done moved the data
// exactly.
class NoisyLineTest : public EngineTest, public ::testing::WithParamInterface<unsigned> {};

TEST_P(NoisyLineTest, EndsAndNeverReportsWrongDataAsDone) {
  std::mt19937 random(GetParam());
  const auto chance = [&random](int percent) {
    return std::uniform_int_distribution<int>(0, 99)(random) < percent;
  };
  lineNoise = [&](Bytes& bytes) {
    if (bytes.empty()) return;
    if (chance(3)) bytes.clear();
    if (!bytes.empty() && chance(3)) {
      bytes[std::uniform_int_distribution<std::size_t>(0, bytes.size() - 1)(random)] ^=
          static_cast<std::uint8_t>(1 + random() % 255);
    }
    if (!bytes.empty() && chance(3)) {
      bytes.resize(std::uniform_int_distribution<std::size_t>(0, bytes.size() - 1)(random));
    }
    if (chance(3)) {
      Bytes noise(1 + random() % 3);
      for (auto& b : noise) b = static_cast<std::uint8_t>(random());
      bytes.insert(bytes.begin(), noise.begin(), noise.end());
    }
  };
  // A few retries after a failure, then the user gives up.
  const auto retriesThenCancel = [this] {
    prompter.script.assign(4, Answer::Ok);
    prompter.script.insert(prompter.script.end(), 200, Answer::Cancel);
  };
  const std::size_t chunk = 1 + GetParam() % 23;
  radio.echoingCable = GetParam() % 2 == 0;

  retriesThenCancel();
  run(TransferKind::ReadAll, chunk);
  ASSERT_EQ(link.ended.size(), 1u);
  if (link.ended[0].second) {
    EXPECT_TRUE(std::equal(state.link.image.begin(), state.link.image.end(), radio.memory.begin()))
        << "a read reported as done holds exactly the radio's memory";
  }

  link = FakeLink{};
  retriesThenCancel();
  for (std::size_t i = 0; i < state.link.image.size(); ++i) {
    state.link.image[i] = static_cast<std::uint8_t>(i * 13 + GetParam());
  }
  const auto before = radio.memory;
  run(TransferKind::WriteAll, chunk);
  ASSERT_EQ(link.ended.size(), 1u);
  if (link.ended[0].second) {
    EXPECT_TRUE(std::equal(state.link.image.begin(), state.link.image.begin() + 0xB00,
                           radio.memory.begin()))
        << "a write reported as done left the image in the radio";
  }
  EXPECT_TRUE(std::equal(before.begin() + 0xB10, before.end(), radio.memory.begin() + 0xB10))
      << "a whole write never touches the information area";
}

INSTANTIATE_TEST_SUITE_P(Seeds, NoisyLineTest, ::testing::Range(1u, 61u));

}  // namespace
}  // namespace cps
