#include "platform/serial_link_host.hpp"

namespace cps {

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
  m_port.setPortName(m_device);
  const bool ok =
      m_port.open(QIODevice::ReadWrite) && m_port.setBaudRate(QSerialPort::Baud9600) &&
      m_port.setDataBits(QSerialPort::Data8) && m_port.setParity(QSerialPort::NoParity) &&
      m_port.setStopBits(QSerialPort::OneStop) && m_port.setFlowControl(QSerialPort::NoFlowControl);
  if (!ok) {
    m_lastError = m_device + QStringLiteral(": ") + m_port.errorString();
    m_port.close();
  }
  return ok;
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
}

void SerialLinkHost::setReceiveThreshold(int) {
  // QSerialPort reports every arrival; the engine gathers bytes to its threshold.
}

void SerialLinkHost::startReplyTimer() { m_replyTimer.start(); }

void SerialLinkHost::stopReplyTimer() { m_replyTimer.stop(); }

void SerialLinkHost::showProgress(int percent) {
  if (m_callbacks.progress) m_callbacks.progress(percent);
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
