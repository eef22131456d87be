// Reading and writing radios from the main window: the confirmations, the
// progress dialog the transfer runs in, what a finished read does to the
// document and the windows, the programming password, the radio information
// read, and the backup images of every read and write.
#pragma once

#include <QObject>
#include <QPointer>
#include <QTimer>
#include <memory>

#include "core/link/backups.hpp"
#include "core/link/engine.hpp"
#include "platform/serial_link_host.hpp"

namespace cps::gui {

class AppContext;
class FrmMain;
class FrmProgress;

class RadioLink final : public QObject {
 public:
  // Gives the main window its read, write, password and information commands.
  RadioLink(AppContext& context, FrmMain& main);
  ~RadioLink() override;

  void mnuReadFromRadio_Click();
  void mnuWriteToRadio_Click();
  void MnuProPassWord_Click();
  void MnuLocalInfo_Click();
  void ReadRMGDataFromRadio();

  // Delays of the write (so that windows have committed their values) and of
  // unpacking a read (so that the closing of the windows has run first).
  static constexpr int kWaitSaveDataMs = 100;
  static constexpr int kReadOkMs = 500;

  bool busy() const { return m_engine->busy(); }

 private:
  void WaitSaveDataTimer_Timer();
  void ReadOKTimer_Timer();
  // Proves the port by opening it, closes it again and asks to go on.
  bool confirm(TransferKind kind, int questionTextId);
  void runInProgressDialog(TransferKind kind);
  void transferEnded(TransferKind kind, bool success);
  // Keeps the image as a backup. False when a write's backup failed and the
  // user chose not to write without it.
  bool keepBackup(BackupKind kind);
  void pointHostAtCurrentPort();

  AppContext& m_context;
  FrmMain& m_main;
  std::unique_ptr<SerialLinkHost> m_host;
  std::unique_ptr<ProtocolEngine> m_engine;
  QTimer m_waitSaveDataTimer;
  QTimer m_readOkTimer;
  QPointer<FrmProgress> m_progress;
};

}  // namespace cps::gui
