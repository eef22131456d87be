#include "cli/radio_commands.hpp"

#include <QEventLoop>
#include <chrono>
#include <nlohmann/json.hpp>

#include "cli/session.hpp"
#include "core/document/file_io.hpp"
#include "core/link/engine.hpp"
#include "core/link/radio_image.hpp"
#include "platform/ports.hpp"
#include "platform/serial_link_host.hpp"

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

PromptAnswers answersOf(const RadioOptions& options) {
  return {options.yes, options.retries, options.password, isTerminal(0) && isTerminal(2)};
}

// A progress line on the terminal: percentage, blocks and elapsed time.
class ProgressLine {
 public:
  ProgressLine(std::ostream& err, bool enabled, int blocks)
      : m_err(err), m_enabled(enabled), m_blocks(blocks), m_start(Clock::now()) {}
  void show(int percent) {
    if (!m_enabled) return;
    const int filled = percent / 5;
    const double seconds = std::chrono::duration<double>(Clock::now() - m_start).count();
    m_err << "\r[" << std::string(static_cast<std::size_t>(filled), '#')
          << std::string(static_cast<std::size_t>(20 - filled), ' ') << "] " << percent << "%  "
          << (percent * m_blocks + 50) / 100 << "/" << m_blocks << " blocks  "
          << static_cast<int>(seconds * 10) / 10.0 << " s   " << std::flush;
  }
  void finish() {
    if (m_enabled) m_err << '\n';
  }

 private:
  using Clock = std::chrono::steady_clock;
  std::ostream& m_err;
  bool m_enabled;
  int m_blocks;
  Clock::time_point m_start;
};

// Runs one transfer on the port to its end, on a local event loop.
bool runTransfer(Session& session, const RadioOptions& options, TransferKind kind) {
  const auto& env = session.environment();
  const QString device = DeviceForPort(options.port, env.folders.base / "ports.ini");
  if (device.isEmpty()) {
    refuse(env, "port " + options.port + " is not in " + (env.folders.base / "ports.ini").string());
    return false;
  }
  ProgressLine progress(env.io.err, kind != TransferKind::ReadInfo && isTerminal(2), 177);
  QEventLoop loop;
  bool success = false;
  bool handedOver = false;
  SerialLinkHost host(device, {[&](int percent) { progress.show(percent); },
                               [&](TransferKind, bool ok) {
                                 success = ok;
                                 progress.finish();
                                 loop.quit();
                               },
                               [&](const std::filesystem::path& program) {
                                 handedOver = true;
                                 env.io.err << "cps530-cli: this radio needs another program "
                                               "version"
                                            << (program.empty() ? "" : ": " + program.string())
                                            << '\n';
                                 loop.quit();
                               }});
  if (options.noEcho) session.state().link.echoExpected = false;
  ProtocolEngine engine(session.state(), session.prompter(), host,
                        {session.versions(), [&session](int id) { return session.text(id); },
                         env.folders.base, "cps530-cli"});
  host.setEngine(&engine);
  if (!engine.OpenRadioPort(kind)) {
    if (!host.lastError().isEmpty()) refuse(env, host.lastError().toStdString());
    return false;
  }
  engine.start();
  if (engine.busy()) loop.exec();
  return success && !handedOver;
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

int RunRead(const RadioOptions& options, const std::string& output, const Environment& env) {
  Session session(env, answersOf(options));
  MakeNewDocument(session.files());
  ClearImage(session.state().link.image);
  if (!runTransfer(session, options, TransferKind::ReadAll)) return kExitRefused;
  UnpackRadioImage(session.state().link.image, session.state(), session.codec());
  return session.saveAs(output) ? kExitOk : kExitRefused;
}

int RunWrite(const std::string& file, const RadioOptions& options, const Environment& env) {
  Session session(env, answersOf(options));
  if (!session.open(file)) return kExitRefused;
  ClearImage(session.state().link.image);
  PackDocumentToImage(session.state(), session.state().link.image, session.codec());
  return runTransfer(session, options, TransferKind::WriteAll) ? kExitOk : kExitRefused;
}

int RunInfo(const RadioOptions& options, bool json, const Environment& env) {
  Session session(env, answersOf(options));
  MakeNewDocument(session.files());
  if (!runTransfer(session, options, TransferKind::ReadInfo)) return kExitRefused;
  const auto& info = session.state().radioInfo;
  if (json) {
    env.io.out << jsonOfInfo(info) << '\n';
    return kExitOk;
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
  return kExitOk;
}

int RunPack(const std::string& file, const std::string& output, const Environment& env) {
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

int RunUnpack(const std::string& imageFile, const std::string& output, const Environment& env) {
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
