#include "platform/fleet_session.hpp"

#include <QDateTime>
#include <QElapsedTimer>
#include <QSerialPort>
#include <QTimer>
#include <thread>

#include "core/app/text_ids.hpp"
#include "core/link/backups.hpp"
#include "core/link/link_check.hpp"
#include "core/link/verify.hpp"
#include "platform/ports.hpp"

namespace cps {

FleetSession::FleetSession(const RunState& state, QString port, QString device,
                           const FleetSessionSettings& settings,
                           std::function<void(const FleetRadio&)> changed, QObject* parent)
    : QObject(parent),
      m_state(state),
      m_settings(settings),
      m_prompter(settings.textOf, settings.answers),
      m_changed(std::move(changed)),
      m_host(std::move(device),
             {[this](int, int blocksDone) {
                m_radio.blocksDone = blocksDone;
                takeIdentity();
                tell();
              },
              [this](TransferKind kind, bool success) { transferEnded(kind, success); },
              [this](const std::filesystem::path&) {
                fail(m_settings.textOf(text::kFleetOtherVersion));
              },
              [this] {
                takeIdentity();
                return !m_settings.beforeFirstBlock || m_settings.beforeFirstBlock();
              }},
             this),
      m_engine(m_state, m_prompter, m_host,
               {settings.versions, settings.textOf, settings.baseFolder, settings.executableName}) {
  m_host.setEngine(&m_engine);
  m_radio.port = port.toStdString();
}

FleetSession::~FleetSession() {
  // A session dropped while it runs still lets the radio go properly; nobody
  // is told any more.
  m_changed = nullptr;
  m_cancelled = true;
  m_engine.cancel();
  m_host.setEngine(nullptr);
}

void FleetSession::start() {
  m_radio.stage = FleetStage::Writing;
  m_radio.blocksDone = 0;
  tell();
  if (!m_engine.OpenRadioPort(TransferKind::WriteAll)) {
    fail(m_prompter.reason());
    return;
  }
  m_engine.start();
}

void FleetSession::cancel() {
  if (finished()) return;
  m_cancelled = true;
  if (m_engine.busy()) {
    m_engine.cancel();
  } else {
    fail(m_settings.textOf(text::kFleetStopped));
  }
}

void FleetSession::transferEnded(TransferKind kind, bool success) {
  takeIdentity();
  if (m_cancelled) {
    fail(m_settings.textOf(text::kFleetStopped));
    return;
  }
  if (!success) {
    if (kind == TransferKind::ReadAll) {
      fail(m_settings.textOf(text::kFleetNotReadBack));
    } else {
      fail(m_prompter.reason().empty() ? m_settings.textOf(text::kFleetNoAnswer)
                                       : m_prompter.reason());
    }
    return;
  }
  if (kind == TransferKind::WriteAll) {
    // What went out: the identification block took the radio's own bytes on the way.
    m_written = m_state.link.image;
    if (!m_settings.verify) {
      m_radio.stage = FleetStage::Written;
      tell();
      return;
    }
    // The engine finishes its own ending after this call; the check is a
    // transfer of its own and starts once the engine is free.
    QTimer::singleShot(0, this, &FleetSession::startCheck);
    return;
  }
  const auto check = CheckWrittenImage(m_written, m_state.link.image, m_state, m_settings.textOf);
  if (check.passed()) {
    m_radio.stage = FleetStage::Verified;
    tell();
  } else {
    fail(m_settings.textOf(text::kFleetNotHeld));
  }
}

void FleetSession::startCheck() {
  if (m_cancelled) {
    fail(m_settings.textOf(text::kFleetStopped));
    return;
  }
  m_radio.stage = FleetStage::Verifying;
  m_radio.blocksDone = 0;
  tell();
  // A second session: the radio takes a read only after a new handshake.
  ClearImage(m_state.link.image);
  if (!m_engine.OpenRadioPort(TransferKind::ReadAll)) {
    fail(m_settings.textOf(text::kFleetNotReadBack));
    return;
  }
  m_engine.start();
}

void FleetSession::fail(std::string reason) {
  if (finished()) return;
  m_radio.stage = FleetStage::Failed;
  m_radio.reason = std::move(reason);
  tell();
}

void FleetSession::takeIdentity() {
  if (!m_radio.identity.empty() || m_engine.radioModel().empty()) return;
  m_radio.identity =
      FleetIdentityText(m_engine.radioModel(), m_engine.radioBandCode(), m_engine.radioVersion());
}

void FleetSession::tell() {
  if (m_changed) m_changed(m_radio);
}

FleetBackup::FleetBackup(std::filesystem::path folder, const RadioImage& image,
                         std::function<bool(const std::string&)> onFailure)
    : m_folder(std::move(folder)), m_image(image), m_onFailure(std::move(onFailure)) {}

bool FleetBackup::operator()() {
  if (m_answer) return *m_answer;
  if (m_folder.empty()) {
    m_answer = true;
    return true;
  }
  const auto result = KeepRadioBackup(
      m_folder, m_image,
      QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMdd-HHmmss")).toStdString(),
      BackupKind::Write);
  m_answer = result.error.empty() || (m_onFailure && m_onFailure(result.error));
  return *m_answer;
}

namespace {

// As long as the first-run link check waits for an answer.
constexpr int kHandshakeWaitMs = 300;
// END's three bytes on the line at 9600 baud, with room to spare.
constexpr auto kEndOnTheLine = std::chrono::milliseconds(10);

}  // namespace

bool RadioAnswersHandshake(const QString& device) {
  QSerialPort port;
  // A line another program holds is no radio to take: its transfer is not disturbed.
  if (OpenRadioLine(port, device)) return false;
  port.clear();
  port.write(reinterpret_cast<const char*>(kProgramRequest.data()),
             static_cast<qint64>(kProgramRequest.size()));
  port.flush();
  QByteArray received;
  bool answered = false;
  QElapsedTimer waited;
  waited.start();
  while (!answered && waited.elapsed() < kHandshakeWaitMs) {
    if (!port.waitForReadyRead(static_cast<int>(kHandshakeWaitMs - waited.elapsed()))) break;
    received += port.readAll();
    answered = IsLink2(std::span(reinterpret_cast<const std::uint8_t*>(received.constData()),
                                 static_cast<std::size_t>(received.size())));
  }
  if (answered) {
    static constexpr char kEnd[] = {'E', 'N', 'D'};
    port.write(kEnd, sizeof kEnd);
    port.waitForBytesWritten(kHandshakeWaitMs);
    std::this_thread::sleep_for(kEndOnTheLine);
  }
  port.close();
  return answered;
}

}  // namespace cps
