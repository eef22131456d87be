// Reading and writing radios from the main window: the confirmations, the
// progress dialog the transfer runs in, what a finished read does to the
// document and the windows, the check of a write by reading the radio back,
// the programming password, the radio information read, and the backup
// images of every read and write.
#pragma once

#include <QObject>
#include <QPointer>
#include <QTimer>
#include <memory>

#include "core/link/backups.hpp"
#include "core/link/engine.hpp"
#include "core/link/verify.hpp"
#include "platform/serial_link_host.hpp"

namespace cps::gui {

class AppContext;
class FrmMain;
class FrmProgress;
class FrmWriteSeveral;

class RadioLink final : public QObject {
 public:
  // Gives the main window its read, write, password and information commands.
  RadioLink(AppContext& context, FrmMain& main);
  ~RadioLink() override;

  void mnuReadFromRadio_Click();
  void mnuWriteToRadio_Click();
  // The document to the radios on several ports at once, or to one radio after
  // another on one port; the document cannot be changed while the dialog is open.
  void mnuWriteToSeveral_Click();
  // Reads the radio into a document of its own and shows how it differs from
  // the working document, which stays as it was (its changed flag and its
  // undo history too).
  void mnuCompareWithRadio_Click();
  void MnuProPassWord_Click();
  void MnuLocalInfo_Click();
  void ReadRMGDataFromRadio();

  // Delays of the write (so that windows have committed their values) and of
  // unpacking a read (so that the closing of the windows has run first).
  static constexpr int kWaitSaveDataMs = 100;
  static constexpr int kReadOkMs = 500;

  bool busy() const { return m_engine->busy(); }

  // Stops what talks to a radio now, as Cancel stops it: the transfer in the
  // progress dialog, the information read, every radio of Write to Several
  // Radios; each radio hears END. A write waiting to begin does not begin.
  // True when something was stopped.
  bool stopTransfers();

 private:
  void WaitSaveDataTimer_Timer();
  void ReadOKTimer_Timer();
  void openWriteSeveral();
  // Proves the port by opening it, closes it again and asks to go on (for a
  // write with the box of the check after it, `verify`).
  bool confirm(TransferKind kind, int questionTextId, bool* verify = nullptr);
  // The dialog's caption is the transfer's own unless `captionTextId` is given.
  void runInProgressDialog(TransferKind kind, int captionTextId = 0);
  // The radio is read back in a session of its own and compared with what the
  // write sent; the write is complete only when they agree.
  void verifyWrite();
  void transferEnded(TransferKind kind, bool success);
  // Keeps the image as a backup. False when a write's backup failed and the
  // user chose not to write without it.
  bool keepBackup(BackupKind kind);
  void pointHostAtCurrentPort();

  AppContext& m_context;
  FrmMain& m_main;
  // Between the engine and the user: holds back "write complete" until the
  // check after the write has passed, and "read complete" of the check's read.
  HoldCompletionNotices m_notices;
  bool m_lastTransferSucceeded = false;
  bool m_verifying = false;
  bool m_comparing = false;
  std::unique_ptr<SerialLinkHost> m_host;
  std::unique_ptr<ProtocolEngine> m_engine;
  QTimer m_waitSaveDataTimer;
  QTimer m_waitSaveSeveralTimer;
  QTimer m_readOkTimer;
  QPointer<FrmProgress> m_progress;
  QPointer<FrmWriteSeveral> m_several;
};

}  // namespace cps::gui
