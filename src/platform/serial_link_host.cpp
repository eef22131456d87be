#include "platform/serial_link_host.hpp"

#include <algorithm>
#include <thread>

#include "platform/ports.hpp"

#if __has_include(<sys/ioctl.h>) && __has_include(<termios.h>)
#include <sys/ioctl.h>
#include <termios.h>
#define CPS_HAVE_TIOCOUTQ 1
#endif

namespace cps {

namespace {

// 9600 baud, ten bits a byte (start, eight data, stop).
constexpr auto kByteTime = std::chrono::nanoseconds(10 * 1'000'000'000LL / 9600);
// The longest the host waits for written bytes to leave before it closes the
// port. END takes 3 ms on the line, a data frame 23 ms; a line that takes far
// longer than that is not going to send them.
constexpr auto kDrainLimit = std::chrono::milliseconds(500);
constexpr auto kQueuePoll = std::chrono::microseconds(500);

}  // namespace

SerialLinkHost::SerialLinkHost(QString device, Callbacks callbacks, QObject* parent)
    : QObject(parent), m_device(std::move(device)), m_callbacks(std::move(callbacks)) {
  m_replyTimer.setSingleShot(true);
  m_replyTimer.setInterval(kReplyTimeoutMs);
  m_replyTimer.setTimerType(Qt::PreciseTimer);
  connect(&m_replyTimer, &QTimer::timeout, this, [this] {
    if (m_engine != nullptr) m_engine->onReplyTimeout();
  });
  connect(&m_port, &QSerialPort::readyRead, this, &SerialLinkHost::onReadyRead);
}

SerialLinkHost::~SerialLinkHost() { closePort(); }

bool SerialLinkHost::openPort() {
  closePort();
  m_lastError.clear();
  const auto failure = OpenRadioLine(m_port, m_device);
  m_openFailure = failure.value_or(PortOpenFacts{});
  if (failure) {
    m_lastError = m_device + QStringLiteral(": ") + QString::fromStdString(failure->systemReason);
  }
  m_lineFreeAt = Clock::now();
  return !failure;
}

void SerialLinkHost::closePort() {
  if (m_port.isOpen()) m_port.close();
}

void SerialLinkHost::emptyBuffers() {
  if (m_port.isOpen()) m_port.clear();
}

void SerialLinkHost::write(std::span<const std::uint8_t> frame) {
  if (!m_port.isOpen()) return;
  m_port.write(reinterpret_cast<const char*>(frame.data()), static_cast<qint64>(frame.size()));
  // QSerialPort keeps what it is given until its next turn of the event loop;
  // the frame goes to the driver now, so that nothing delays the radio's answer.
  m_port.flush();
  // One frame at a time is on its way: the next is written only after the
  // answer to this one, or after its reply time has run out.
  m_lineFreeAt = Clock::now() + static_cast<int>(frame.size()) * kByteTime;
}

void SerialLinkHost::drainOutput() {
  if (!m_port.isOpen()) return;
  // QSerialPort's close throws away what it still holds, and then restores the
  // line settings the port had before it was opened, which would change the
  // speed under bytes still in the UART. So the bytes go first: out of
  // QSerialPort's buffer, out of the driver's queue, and out of the UART, which
  // takes their time on the line.
  const auto deadline = Clock::now() + kDrainLimit;
  while (m_port.bytesToWrite() > 0 && Clock::now() < deadline) {
    m_port.flush();
    const auto left = std::chrono::ceil<std::chrono::milliseconds>(deadline - Clock::now());
    if (m_port.bytesToWrite() > 0 && !m_port.waitForBytesWritten(static_cast<int>(left.count()))) {
      break;
    }
  }
#ifdef CPS_HAVE_TIOCOUTQ
  int queued = 0;
  while (::ioctl(m_port.handle(), TIOCOUTQ, &queued) == 0 && queued > 0 &&
         Clock::now() < deadline) {
    std::this_thread::sleep_for(kQueuePoll);
  }
#endif
  std::this_thread::sleep_until(std::min(m_lineFreeAt, deadline));
}

void SerialLinkHost::setReceiveThreshold(int) {
  // QSerialPort reports every arrival; the engine gathers bytes to its threshold.
}

void SerialLinkHost::startReplyTimer() { m_replyTimer.start(); }

void SerialLinkHost::stopReplyTimer() { m_replyTimer.stop(); }

void SerialLinkHost::showProgress(int percent, int blocksDone) {
  if (m_callbacks.progress) m_callbacks.progress(percent, blocksDone);
}

bool SerialLinkHost::beforeFirstBlockWritten() {
  return !m_callbacks.beforeFirstBlockWritten || m_callbacks.beforeFirstBlockWritten();
}

void SerialLinkHost::transferEnded(TransferKind kind, bool success) {
  if (m_callbacks.ended) m_callbacks.ended(kind, success);
}

void SerialLinkHost::handOver(const std::filesystem::path& program) {
  if (m_callbacks.handOver) m_callbacks.handOver(program);
}

void SerialLinkHost::onReadyRead() {
  const QByteArray bytes = m_port.readAll();
  if (m_engine == nullptr || bytes.isEmpty()) return;
  m_engine->onBytesReceived(std::span(reinterpret_cast<const std::uint8_t*>(bytes.constData()),
                                      static_cast<std::size_t>(bytes.size())));
}

}  // namespace cps
