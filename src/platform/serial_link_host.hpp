// The protocol engine's host on a real serial port: a QSerialPort for the
// line and a single-shot QTimer for the 150 ms reply timer, both on the thread
// that runs the event loop.
#pragma once

#include <QObject>
#include <QSerialPort>
#include <QString>
#include <QTimer>
#include <chrono>
#include <functional>

#include "core/link/engine.hpp"

namespace cps {

class SerialLinkHost final : public QObject, public LinkHost {
 public:
  struct Callbacks {
    std::function<void(int percent, int blocksDone)> progress;
    std::function<void(TransferKind, bool success)> ended;
    std::function<void(const std::filesystem::path&)> handOver;
    // The write may begin; none: it always may.
    std::function<bool()> beforeFirstBlockWritten;
  };

  SerialLinkHost(QString device, Callbacks callbacks, QObject* parent = nullptr);
  ~SerialLinkHost() override;

  // The engine this host feeds; it must outlive every transfer it runs.
  void setEngine(ProtocolEngine* engine) { m_engine = engine; }
  void setDevice(QString device) { m_device = std::move(device); }
  const QString& lastError() const { return m_lastError; }
  bool isOpen() const { return m_port.isOpen(); }

  bool openPort() override;
  PortOpenFacts openFailure() const override { return m_openFailure; }
  void closePort() override;
  void emptyBuffers() override;
  void write(std::span<const std::uint8_t> frame) override;
  void drainOutput() override;
  void setReceiveThreshold(int bytes) override;
  void startReplyTimer() override;
  void stopReplyTimer() override;
  void showProgress(int percent, int blocksDone) override;
  bool beforeFirstBlockWritten() override;
  void transferEnded(TransferKind kind, bool success) override;
  void handOver(const std::filesystem::path& program) override;

 private:
  using Clock = std::chrono::steady_clock;

  void onReadyRead();

  QString m_device;
  Callbacks m_callbacks;
  QSerialPort m_port;
  QTimer m_replyTimer;
  ProtocolEngine* m_engine = nullptr;
  QString m_lastError;
  PortOpenFacts m_openFailure;
  // When the last frame written will have left the UART, at the line's speed.
  Clock::time_point m_lineFreeAt{};
};

}  // namespace cps
