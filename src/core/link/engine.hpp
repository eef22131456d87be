// The serial protocol with the radio as a state machine that does no I/O: it is
// fed received bytes and reply time-outs, and asks its host to write frames,
// arm the 150 ms reply timer, open and close the port and show progress.
#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <span>
#include <string>
#include <vector>

#include "core/app/text_ids.hpp"
#include "core/document/prompter.hpp"
#include "core/link/port_open.hpp"

namespace cps {

struct RunState;
struct VersionTable;

enum class TransferKind { None = 0, ReadAll = 1, WriteAll = 2, ReadInfo = 3 };

enum class TransferStep {
  Idle = 0,
  AwaitHandshake = 1,
  AwaitIdent = 2,
  AwaitPasswordBlock = 3,  // ReadInfo waits here for the identification
  AwaitWriteAck = 4,
  AwaitBlock = 5,
  AwaitEnd = 69,
};

inline constexpr const char* kPasswordFailureText = "PassWord Failure!";
inline constexpr int kReplyTimeoutMs = 150;
// A whole-radio read or write moves the blocks 0x0000 to 0x0B00, 16 bytes each.
inline constexpr int kWholeRadioBlocks = 177;

// What the engine asks of the serial port, the timer and the windows around it.
class LinkHost {
 public:
  virtual ~LinkHost() = default;
  // Closes the port if open, sets 9600 baud, no parity, 8 data bits, 1 stop
  // bit, no handshaking, and opens it. False when any of that fails.
  virtual bool openPort() = 0;
  // After a failed openPort: what the system said of the device, so that the
  // user is told why (permission, another program). None known: the plain text.
  virtual PortOpenFacts openFailure() const { return {}; }
  // Closing a port drops whatever it has not sent yet, as a serial port's close does.
  virtual void closePort() = 0;
  virtual void emptyBuffers() = 0;
  // Hands a frame to the port; its bytes may leave later, while the program waits.
  virtual void write(std::span<const std::uint8_t> frame) = 0;
  // Waits, for a bounded time, until every byte written has left for the line.
  virtual void drainOutput() = 0;
  // The byte count the next reply needs; the engine gathers bytes itself, so a
  // host may use it as a hint only.
  virtual void setReceiveThreshold(int bytes) = 0;
  virtual void startReplyTimer() = 0;  // single shot, kReplyTimeoutMs
  virtual void stopReplyTimer() = 0;
  // A whole-radio transfer moved on: the percentage to show (it only grows;
  // the last block gives 99) and the blocks read, or written and acknowledged,
  // so far (0 to kWholeRadioBlocks).
  virtual void showProgress(int percent, int blocksDone) = 0;
  // The radio has been accepted for a write (identity, password and capability
  // checks passed) and the first block goes out next: the moment to keep what
  // is about to be written. False stops the write; it ends as a failure.
  virtual bool beforeFirstBlockWritten() = 0;
  // The transfer is over: the progress dialog closes; after a successful whole
  // read the image is ready to unpack, after an information read the window opens.
  virtual void transferEnded(TransferKind kind, bool success) = 0;
  // The radio needs another program version: start it (when a path is given)
  // and end this program.
  virtual void handOver(const std::filesystem::path& program) = 0;
};

struct EngineSettings {
  const VersionTable& versions;
  std::function<std::string(int)> langText;
  std::filesystem::path baseFolder;  // for the hand-over to another version
  std::filesystem::path executableName;
};

class ProtocolEngine {
 public:
  ProtocolEngine(RunState& state, Prompter& prompter, LinkHost& host, EngineSettings settings);

  // Prepares a transfer of the given kind and opens the port to prove it.
  // Text 9003 and false when the port cannot be opened.
  bool OpenRadioPort(TransferKind kind);
  // Sends the first handshake of the transfer prepared by OpenRadioPort.
  void start();
  // Gives up a transfer prepared by OpenRadioPort that the user did not confirm:
  // the port is closed and the engine is free again.
  void abandon();
  // The user stopped a running transfer: the radio is told END before the port
  // closes, and the transfer ends as a failure. Nothing happens when idle.
  // While a question of the transfer is open, the transfer ends as soon as it
  // is answered, and the answer counts as the cautious one (Cancel, No).
  void cancel();

  // Bytes from the port. Bytes arriving in pieces are gathered until the reply
  // the engine waits for can be complete.
  void onBytesReceived(std::span<const std::uint8_t> bytes);
  // The reply timer ran out.
  void onReplyTimeout();

  TransferKind kind() const { return m_kind; }
  TransferStep step() const { return m_step; }
  bool busy() const { return m_kind != TransferKind::None; }
  int currentAddress() const { return m_address; }
  // What the radio said of itself in its last identification; empty before.
  const std::string& radioModel() const { return m_radioModel; }
  int radioBandCode() const { return m_radioBandCode; }
  const std::string& radioVersion() const { return m_radioVersion; }

 private:
  enum class Frame { Program, Ident, Read, Data, End };

  void sendFrame(Frame frame, std::vector<std::uint8_t> bytes);
  // Where the reply to the frame just sent starts, and how many bytes complete it.
  void expectReply(Frame frame, std::size_t frameLength);
  void learnTheCable(std::uint8_t firstByte);
  void sendProgramRequest();
  void sendIdentRequest();
  void sendReadRequest(int address);
  void sendPasswordBlockRead();
  void sendDataFrame(int address);
  void sendEndRequest();

  void handleReply(std::span<const std::uint8_t> buffer);
  void StepOnReply();
  void nextRead();
  void nextWrite();
  void endOfTransfer();
  void takeIdentification(std::span<const std::uint8_t> reply);
  bool CheckProgramPassword(std::span<const std::uint8_t> data) const;
  bool CheckRadioIdentity();
  bool hostLetsTheWriteBegin();
  void StoreReadBlock(std::span<const std::uint8_t> data);
  void ShowTransferProgress(int address, int blocksDone);
  void FinishTransfer(bool success);
  // END outside the state machine, when the transfer stops early.
  void sendEndWithoutWaiting();
  void closeAfterSending();
  void AskTransferRetry();
  void askInfoRetry();
  void handOver(const std::string& radioVersion);
  // Shows a modal message; received bytes are ignored while it is open.
  Answer ask(const Message& message);
  std::uint8_t blockByte(int address) const;

  RunState& m_state;
  Prompter& m_prompter;
  LinkHost& m_host;
  EngineSettings m_settings;

  TransferKind m_kind = TransferKind::None;
  TransferStep m_step = TransferStep::Idle;
  int m_address = 0;
  int m_endAddress = 0;
  int m_replyOffset = 0;
  int m_threshold = 1;
  bool m_receiveArmed = false;
  bool m_promptOpen = false;
  bool m_cancelPending = false;  // stopped while a question was open
  bool m_finishing = false;      // FinishTransfer runs (the host is told, "complete" is shown)
  bool m_firstByteDue = false;   // nothing has come back yet after PROGRAM
  bool m_writeAgreed = false;    // the host let this write begin
  std::vector<int> m_blockRetryBudget;
  int m_handshakeAttempts = 0;
  int m_retryRequests = 0;  // 0x0A answers to the block being written
  int m_lastPercent = 0;
  int m_blocksDone = 0;
  std::vector<std::uint8_t> m_received;
  std::vector<std::uint8_t> m_lastDataFrame;

  std::string m_radioModel;
  int m_radioBandCode = 0;
  std::string m_radioVersion;
};

}  // namespace cps
