#include "cli/radio_commands.hpp"

#include <QEventLoop>
#include <algorithm>
#include <array>
#include <chrono>
#include <cstdio>
#include <nlohmann/json.hpp>

#include "cli/session.hpp"
#include "core/document/file_io.hpp"
#include "core/link/engine.hpp"
#include "core/link/port_open.hpp"
#include "core/link/radio_image.hpp"
#include "core/link/verify.hpp"
#include "platform/ports.hpp"
#include "platform/serial_link_host.hpp"
#include "platform/stop_signals.hpp"

#if __has_include(<unistd.h>)
#include <unistd.h>
#endif

namespace cps::cli {

namespace {

bool isTerminal(int fd) {
#if __has_include(<unistd.h>)
  return ::isatty(fd) != 0;
#else
  return false;
#endif
}

int refuse(const Environment& env, const std::string& what) {
  env.io.err << "cps530-cli: " << what << '\n';
  return kExitRefused;
}

PromptAnswers answersOf(const RadioOptions& options, StopSignals& stop) {
  return {options.yes, options.retries, options.password, isTerminal(0) && isTerminal(2), &stop};
}

// How a transfer came to its end.
enum class Ended { Done, Failed, Stopped };

// The transfer was stopped by a signal: said once, with the port, in the
// words the summary of several radios uses.
int sayStopped(Session& session, const RadioOptions& options, StopSignals& stop) {
  session.environment().io.err << "cps530-cli: " << options.port << ": "
                               << session.text(text::kFleetStopped) << '\n';
  return stop.exitStatus();
}

// A signal that came after the work was done still ends the run with its status.
int statusAfter(StopSignals& stop, int status) {
  return stop.received() != 0 ? stop.exitStatus() : status;
}

// The progress line on the terminal, redrawn in place.
class ProgressLine {
 public:
  ProgressLine(std::ostream& err, bool enabled) : m_err(err), m_enabled(enabled) {}
  void show(int percent, int blocksDone) {
    if (!m_enabled) return;
    const auto elapsed =
        std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - m_start);
    m_err << '\r' << ProgressLineText(percent, blocksDone, elapsed) << std::flush;
  }
  void finish() {
    if (m_enabled) m_err << '\n';
  }

 private:
  using Clock = std::chrono::steady_clock;
  std::ostream& m_err;
  bool m_enabled;
  Clock::time_point m_start = Clock::now();
};

// Runs one transfer on the port to its end, on a local event loop; the
// engine speaks to the user through `prompter`.
// A signal stops it the way a stop of the user does (the radio hears END);
// a transfer that did not succeed after a signal counts as stopped.
Ended runTransfer(Session& session, const RadioOptions& options, TransferKind kind,
                  Prompter& prompter, StopSignals& stop) {
  const auto& env = session.environment();
  if (stop.received() != 0) return Ended::Stopped;
  const QString device = DeviceForPort(options.port, env.folders.portMap());
  if (device.isEmpty()) {
    Message message = TextMessage(text::kCliPortNotInMap);
    message.arguments = {options.port, env.folders.portMap().string()};
    refuse(env, MessageBody(message, session.text(message.textId)));
    return Ended::Failed;
  }
  ProgressLine progress(env.io.err, kind != TransferKind::ReadInfo && isTerminal(2));
  QEventLoop loop;
  bool success = false;
  bool handedOver = false;
  SerialLinkHost host(device,
                      {[&](int percent, int blocksDone) { progress.show(percent, blocksDone); },
                       [&](TransferKind, bool ok) {
                         success = ok;
                         progress.finish();
                         loop.quit();
                       },
                       [&](const std::filesystem::path& program) {
                         handedOver = true;
                         env.io.err << "cps530-cli: this radio needs another program "
                                       "version"
                                    << (program.empty() ? "" : ": " + program.string()) << '\n';
                         loop.quit();
                       },
                       {}});
  if (options.noEcho) session.state().link.echoExpected = false;
  ProtocolEngine engine(session.state(), prompter, host,
                        {session.versions(), [&session](int id) { return session.text(id); },
                         env.folders.base, "cps530-cli"});
  host.setEngine(&engine);
  const StopSignals::Scope onStop(stop, [&engine] { engine.cancel(); });
  if (!engine.OpenRadioPort(kind)) {
    // Which device, in the run's language: the message before it says what to check.
    if (const auto named = PortOpenDeviceMessage(host.openFailure())) {
      refuse(env, MessageBody(*named, session.text(named->textId)));
    }
    return Ended::Failed;
  }
  if (stop.received() != 0) {
    engine.abandon();
    return Ended::Stopped;
  }
  engine.start();
  if (engine.busy()) loop.exec();
  if (success && !handedOver) return Ended::Done;
  return stop.received() != 0 ? Ended::Stopped : Ended::Failed;
}

std::string jsonOfInfo(const RadioInfoRecord& info) {
  const nlohmann::ordered_json j{
      {"model", info.model},
      {"bandCode", info.bandCode},
      {"band", std::string(BandLabelOfIndex(info.bandCode))},
      {"serialNumber", info.serialNumber},
      {"productionDate", info.productionDate},
      {"repairDate", info.repairDate},
      {"repairReason", info.repairReason},
      {"versionInformation", info.versionInformation},
      {"salesRegionCode", info.salesRegionCode},
      {"productionBatch", info.productionBatch},
      {"customerCode", info.customerCode},
      {"dealerCode", info.dealerCode},
      {"stockInDate", info.stockInDate},
      {"saleDate", info.saleDate},
      {"handledBy", info.handledBy},
  };
  return j.dump(2, ' ', false, nlohmann::ordered_json::error_handler_t::replace);
}

}  // namespace

std::string ProgressLineText(int percent, int blocksDone, std::chrono::milliseconds elapsed) {
  const int shown = std::clamp(percent, 0, 100);
  const int filled = shown / 5;
  const auto tenths = elapsed.count() / 100;
  // Fixed widths, so that the line keeps its length as the numbers grow and no
  // old character is left behind when it is redrawn.
  std::array<char, 64> numbers{};
  std::snprintf(numbers.data(), numbers.size(), "] %3d%%  %3d/%d blocks  %lld.%lld s", shown,
                std::clamp(blocksDone, 0, kWholeRadioBlocks), kWholeRadioBlocks,
                static_cast<long long>(tenths / 10), static_cast<long long>(tenths % 10));
  return "[" + std::string(static_cast<std::size_t>(filled), '#') +
         std::string(static_cast<std::size_t>(20 - filled), ' ') + numbers.data();
}

int RunRead(const RadioOptions& options, const std::string& chosen, bool force,
            const Environment& env, StopSignals& stop) {
  // Checked before the radio is read, so that a refused name costs no transfer.
  const std::string output = WithDataFileExtension(chosen);
  if (!OutputAllowed(env, output, OutputKind::DataFile, {}, force)) return kExitRefused;
  Session session(env, answersOf(options, stop));
  MakeNewDocument(session.files());
  ClearImage(session.state().link.image);
  switch (runTransfer(session, options, TransferKind::ReadAll, session.prompter(), stop)) {
    case Ended::Stopped:
      return sayStopped(session, options, stop);
    case Ended::Failed:
      return kExitRefused;
    case Ended::Done:
      break;
  }
  // A whole read is kept even when a signal came after it.
  UnpackRadioImage(session.state().link.image, session.state(), session.codec());
  return statusAfter(stop, session.saveAs(output) ? kExitOk : kExitRefused);
}

int RunWrite(const std::string& file, const RadioOptions& options, const Environment& env,
             StopSignals& stop) {
  Session session(env, answersOf(options, stop));
  if (!session.open(file)) return kExitRefused;
  auto& image = session.state().link.image;
  ClearImage(image);
  PackDocumentToImage(session.state(), image, session.codec());
  // With the check, "write complete" waits until the radio has been read back.
  HoldCompletionNotices notices(session.prompter());
  notices.hold(options.verify);
  switch (runTransfer(session, options, TransferKind::WriteAll, notices, stop)) {
    case Ended::Stopped:
      return sayStopped(session, options, stop);
    case Ended::Failed:
      return kExitRefused;
    case Ended::Done:
      break;
  }
  if (!options.verify) return statusAfter(stop, kExitOk);

  // A second session: the radio takes a read only after a new handshake.
  const RadioImage written = image;
  ClearImage(image);
  switch (runTransfer(session, options, TransferKind::ReadAll, notices, stop)) {
    case Ended::Stopped:
      // Written, but not checked: the check was what was stopped.
      return sayStopped(session, options, stop);
    case Ended::Failed:
      session.prompter().ask(TextMessage(text::kVerifyReadFailed, Buttons::Ok, Icon::Warning));
      return kExitRefused;
    case Ended::Done:
      break;
  }
  const auto check = CheckWrittenImage(written, image, session.state(),
                                       [&session](int id) { return session.text(id); });
  if (!check.passed()) {
    session.prompter().ask(TextMessage(text::kVerifyFailed, Buttons::Ok, Icon::Critical));
    env.io.err << WriteCheckReport(check, check.image.size() + check.document.size());
    return statusAfter(stop, kExitRefused);
  }
  session.prompter().ask(TextMessage(text::kWriteVerified, Buttons::Ok, Icon::Information));
  return statusAfter(stop, kExitOk);
}

int RunInfo(const RadioOptions& options, bool json, const Environment& env, StopSignals& stop) {
  Session session(env, answersOf(options, stop));
  MakeNewDocument(session.files());
  switch (runTransfer(session, options, TransferKind::ReadInfo, session.prompter(), stop)) {
    case Ended::Stopped:
      return sayStopped(session, options, stop);
    case Ended::Failed:
      return kExitRefused;
    case Ended::Done:
      break;
  }
  const auto& info = session.state().radioInfo;
  if (json) {
    env.io.out << jsonOfInfo(info) << '\n';
    return statusAfter(stop, kExitOk);
  }
  const std::pair<int, std::string> rows[] = {
      {21005, info.model},
      {21006, std::string(BandLabelOfIndex(info.bandCode))},
      {21002, info.salesRegionCode},
      {21003, info.productionBatch},
      {21004, info.customerCode},
      {21007, info.serialNumber},
      {21008, info.productionDate},
      {21009, info.repairDate},
      {21010, info.versionInformation},
      {21011, info.repairReason},
      {21013, info.dealerCode},
      {21014, info.stockInDate},
      {21015, info.saleDate},
      {21016, info.handledBy},
  };
  for (const auto& [id, value] : rows) env.io.out << session.text(id) << ": " << value << '\n';
  return statusAfter(stop, kExitOk);
}

int RunPack(const std::string& file, const std::string& output, bool force,
            const Environment& env) {
  if (!OutputAllowed(env, output, OutputKind::RadioImage, {file}, force)) return kExitRefused;
  Session session(env);
  if (!session.open(file)) return kExitRefused;
  auto& image = session.state().link.image;
  ClearImage(image);
  PackDocumentToImage(session.state(), image, session.codec());
  if (const auto error = WriteFileAtomically(output, image); !error.empty()) {
    return refuse(env, "cannot write " + output + ": " + error);
  }
  return kExitOk;
}

int RunUnpack(const std::string& imageFile, const std::string& chosen, bool force,
              const Environment& env) {
  const std::string output = WithDataFileExtension(chosen);
  if (!OutputAllowed(env, output, OutputKind::DataFile, {imageFile}, force)) return kExitRefused;
  const auto bytes = ReadWholeFile(imageFile, kRadioImageSize);
  if (!bytes.ok()) return refuse(env, imageFile + ": " + bytes.error);
  if (bytes.bytes.size() != kRadioImageSize) {
    return refuse(env, imageFile + ": a radio image has exactly " +
                           std::to_string(kRadioImageSize) + " bytes");
  }
  Session session(env);
  MakeNewDocument(session.files());
  std::copy(bytes.bytes.begin(), bytes.bytes.end(), session.state().link.image.begin());
  UnpackRadioImage(session.state().link.image, session.state(), session.codec());
  return session.saveAs(output) ? kExitOk : kExitRefused;
}

}  // namespace cps::cli
