#include "gui/link/radio_link.hpp"

#include <QDateTime>
#include <QMdiArea>

#include "core/app/settings_files.hpp"
#include "core/app/text_ids.hpp"
#include "core/document/codec.hpp"
#include "core/link/radio_image.hpp"
#include "gui/app/app_context.hpp"
#include "gui/app/frm_main.hpp"
#include "gui/link/frm_pass_word.hpp"
#include "gui/link/frm_progress.hpp"
#include "gui/link/frm_radio_info.hpp"
#include "gui/link/frm_write_several.hpp"
#include "gui/report/report_commands.hpp"
#include "platform/ports.hpp"

namespace cps::gui {

namespace {

const QString kChannelWindow = QLatin1String(kChannelWindowName);
const QString kRadioInfoWindow = QLatin1String(kRadioInfoWindowName);

// The radio's data read only to be compared: a frequency outside the band is
// one of the differences, not a question.
class QuietPrompter final : public Prompter {
 public:
  Answer ask(const Message&) override { return Answer::Ok; }
  std::optional<std::string> chooseFile(const FileDialogRequest&) override { return std::nullopt; }
};

}  // namespace

RadioLink::RadioLink(AppContext& context, FrmMain& main)
    : m_context(context), m_main(main), m_notices(context.prompter()) {
  m_host = std::make_unique<SerialLinkHost>(
      QString(),
      SerialLinkHost::Callbacks{
          [this](int percent, int blocksDone) {
            if (!m_progress) return;
            m_progress->SetProgressValue(percent);
            m_progress->setBlocksDone(blocksDone);
          },
          [this](TransferKind kind, bool success) { transferEnded(kind, success); },
          [this](const std::filesystem::path& program) {
            if (m_progress) m_progress->finish();
            m_main.handOver(program);
          },
          // Only a radio that accepted the write gets a backup of what it is given.
          [this] { return keepBackup(BackupKind::Write); }},
      this);
  m_engine = std::make_unique<ProtocolEngine>(
      context.state, m_notices, *m_host,
      EngineSettings{context.versions, context.langTextFunction(), context.folders.base,
                     context.executableName});
  m_host->setEngine(m_engine.get());

  m_waitSaveDataTimer.setSingleShot(true);
  m_waitSaveDataTimer.setInterval(kWaitSaveDataMs);
  connect(&m_waitSaveDataTimer, &QTimer::timeout, this, &RadioLink::WaitSaveDataTimer_Timer);
  m_waitSaveSeveralTimer.setSingleShot(true);
  m_waitSaveSeveralTimer.setInterval(kWaitSaveDataMs);
  connect(&m_waitSaveSeveralTimer, &QTimer::timeout, this, &RadioLink::openWriteSeveral);
  m_readOkTimer.setSingleShot(true);
  m_readOkTimer.setInterval(kReadOkMs);
  connect(&m_readOkTimer, &QTimer::timeout, this, &RadioLink::ReadOKTimer_Timer);

  main.registerChildWindow(kRadioInfoWindow, [this] { return new FrmRadioInfo(m_context); });
  main.setCommand(QStringLiteral("mnuReadFromRadio"), [this] { mnuReadFromRadio_Click(); });
  main.setCommand(QStringLiteral("mnuWriteToRadio"), [this] { mnuWriteToRadio_Click(); });
  main.setCommand(QStringLiteral("mnuWriteToSeveral"), [this] { mnuWriteToSeveral_Click(); });
  main.setCommand(QStringLiteral("MnuProPassWord"), [this] { MnuProPassWord_Click(); });
  main.setCommand(QStringLiteral("MnuLocalInfo"), [this] { MnuLocalInfo_Click(); });
  main.setCommand(QStringLiteral("mnuCompareWithRadio"), [this] { mnuCompareWithRadio_Click(); });
}

RadioLink::~RadioLink() {
  // The engine talks to the host until the end; the host closes the port.
  m_host->setEngine(nullptr);
}

void RadioLink::pointHostAtCurrentPort() {
  m_host->setDevice(
      DeviceForPort("COM" + std::to_string(m_context.comPort), m_context.folders.portMap()));
}

bool RadioLink::confirm(TransferKind kind, int questionTextId, bool* verify) {
  pointHostAtCurrentPort();
  // The port is opened only to prove it can be; the engine has said 9003 if not.
  if (!m_engine->OpenRadioPort(kind)) return false;
  m_host->closePort();
  const Answer answer = verify != nullptr ? m_context.prompter().confirmWrite(*verify)
                                          : m_context.prompter().ask(TextMessage(
                                                questionTextId, Buttons::OkCancel, Icon::Question));
  if (answer != Answer::Ok) {
    m_engine->abandon();
    return false;
  }
  return true;
}

void RadioLink::mnuReadFromRadio_Click() {
  if (busy()) return;
  m_main.commitChildWindows(CommitBefore::Read);
  if (!confirm(TransferKind::ReadAll, text::kConfirmRead)) return;
  ClearImage(m_context.state.link.image);
  runInProgressDialog(TransferKind::ReadAll);
}

void RadioLink::mnuCompareWithRadio_Click() {
  if (busy()) return;
  m_main.commitChildWindows(CommitBefore::Read);
  if (!confirm(TransferKind::ReadAll, text::kConfirmCompareRead)) return;
  auto& state = m_context.state;
  // The read fills the link's image; what a write sent stays there afterwards.
  const RadioImage kept = state.link.image;
  ClearImage(state.link.image);
  m_comparing = true;
  m_lastTransferSucceeded = false;
  // Its "read complete" would say the data on screen is the radio's: it is not.
  m_notices.hold(true);
  runInProgressDialog(TransferKind::ReadAll);
  m_notices.hold(false);
  m_comparing = false;
  const RadioImage held = state.link.image;
  state.link.image = kept;
  // A failed read has said why; there is nothing to compare.
  if (!m_lastTransferSucceeded) return;
  RunState radio;
  radio.model = state.model;
  QuietPrompter quiet;
  UnpackRadioImage(held, radio, CodecContext{state.model.limits, quiet});
  const ComparedFile shown = ShownCopyOf(radio);
  ShowDifferences(m_context, m_main, shown.view(), m_context.text(text::kCompareRadio));
}

void RadioLink::mnuWriteToRadio_Click() {
  if (busy() || m_waitSaveDataTimer.isActive()) return;
  m_main.commitChildWindows(CommitBefore::Write);
  // The windows' commits may run through the event loop; the write starts after them.
  m_waitSaveDataTimer.start();
}

void RadioLink::mnuWriteToSeveral_Click() {
  if (busy() || m_waitSaveDataTimer.isActive() || m_waitSaveSeveralTimer.isActive()) return;
  m_main.commitChildWindows(CommitBefore::Write);
  // As for a single write, the windows' commits run through the event loop first.
  m_waitSaveSeveralTimer.start();
}

void RadioLink::openWriteSeveral() {
  auto& state = m_context.state;
  RunState packed = state;
  ClearImage(packed.link.image);
  PackDocumentToImage(packed, packed.link.image,
                      CodecContext{packed.model.limits, m_context.prompter()});
  // Modal, as the progress dialog of a single write: the windows that edit the
  // document take no input until every radio is done.
  FrmWriteSeveral dialog(m_context, packed, &m_main);
  m_several = &dialog;
  dialog.exec();
  m_several = nullptr;
}

bool RadioLink::stopTransfers() {
  m_waitSaveDataTimer.stop();
  m_waitSaveSeveralTimer.stop();
  if (m_several) return m_several->stop();
  // Between the confirmation and the start the port is closed and nothing
  // has been sent; the question is closed with the other dialogs.
  if (!m_engine->busy() || !m_host->isOpen()) return false;
  m_engine->cancel();
  return true;
}

void RadioLink::WaitSaveDataTimer_Timer() {
  m_waitSaveDataTimer.stop();
  auto& state = m_context.state;
  bool verify = state.link.verifyAfterWrite;
  if (!confirm(TransferKind::WriteAll, text::kConfirmWrite, &verify)) return;
  // The box is kept as the user left it, for the next write and the next run.
  if (verify != state.link.verifyAfterWrite) {
    state.link.verifyAfterWrite = verify;
    WriteVerifyAfterWrite(m_context.folders.languageSetup(), verify);
  }
  ClearImage(state.link.image);
  PackDocumentToImage(state, state.link.image,
                      CodecContext{state.model.limits, m_context.prompter()});
  m_notices.hold(verify);
  m_lastTransferSucceeded = false;
  runInProgressDialog(TransferKind::WriteAll);
  if (verify && m_lastTransferSucceeded) verifyWrite();
  m_notices.hold(false);
}

void RadioLink::verifyWrite() {
  auto& state = m_context.state;
  const RadioImage written = state.link.image;
  ClearImage(state.link.image);
  m_verifying = true;
  m_lastTransferSucceeded = false;
  // A second session: the radio takes a read only after a new handshake.
  if (m_engine->OpenRadioPort(TransferKind::ReadAll)) {
    runInProgressDialog(TransferKind::ReadAll, text::kProgressVerifying);
  }
  m_verifying = false;
  const RadioImage held = state.link.image;
  // What was written stays the link's image, as after any write.
  state.link.image = written;
  if (!m_lastTransferSucceeded) {
    m_context.prompter().ask(TextMessage(text::kVerifyReadFailed, Buttons::Ok, Icon::Warning));
    return;
  }
  const auto check = CheckWrittenImage(written, held, state, m_context.langTextFunction());
  if (check.passed()) {
    m_context.prompter().ask(TextMessage(text::kWriteVerified, Buttons::Ok, Icon::Information));
    return;
  }
  m_context.prompter().ask(FixedMessage(
      m_context.text(text::kVerifyFailed).toStdString() + "\n\n" + WriteCheckReport(check),
      Buttons::Ok, Icon::Critical));
}

void RadioLink::runInProgressDialog(TransferKind kind, int captionTextId) {
  FrmProgress dialog(m_context, kind, kWholeRadioBlocks, &m_main);
  if (captionTextId != 0) dialog.setCaptionTextId(captionTextId);
  m_progress = &dialog;
  dialog.setStartAction([this] {
    // The port was closed after the confirmation; the transfer opens it again.
    if (!m_host->isOpen() && !m_host->openPort()) {
      m_engine->abandon();
      m_context.prompter().ask(
          TextMessage(cps::text::kCannotOpenPort, Buttons::Ok, Icon::Critical));
      if (m_progress) m_progress->finish();
      return;
    }
    m_engine->start();
  });
  dialog.exec();
  m_progress = nullptr;
}

void RadioLink::transferEnded(TransferKind kind, bool success) {
  if (m_progress) m_progress->finish();
  m_lastTransferSucceeded = success;
  if (!success) return;  // the document stays as it was
  // The check's read and a comparison's read only look: no backup, no new document.
  if (m_verifying || m_comparing) return;
  if (kind == TransferKind::ReadAll) {
    keepBackup(BackupKind::Read);
    m_main.CloseCurAllWindows();
    m_readOkTimer.start();
  } else if (kind == TransferKind::ReadInfo) {
    m_main.UnloadWindowByName(kRadioInfoWindow);
    m_main.ShowChildWindow(kRadioInfoWindow);
  }
}

void RadioLink::ReadOKTimer_Timer() {
  m_readOkTimer.stop();
  auto& state = m_context.state;
  UnpackRadioImage(state.link.image, state, CodecContext{state.model.limits, m_context.prompter()});
  // The radio's data is a new, unsaved document: Save asks for a name and
  // leaving asks to save, because the saved image is left as it was.
  state.path = kUntitledPath;
  state.isUntitled = true;
  m_main.Change_Language();
  m_main.ShowChildWindow(kChannelWindow);
  m_main.mdiArea().cascadeSubWindows();
}

bool RadioLink::keepBackup(BackupKind kind) {
  if (m_context.backupFolder.empty()) return true;
  const auto& image = m_context.state.link.image;
  const auto result = KeepRadioBackup(
      m_context.backupFolder, image,
      QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMdd-HHmmss")).toStdString(), kind);
  if (result.error.empty() || kind == BackupKind::Read) return true;
  // Before a write the backup is what lets a dealer undo it: ask before going on without.
  auto question = TextMessage(text::kBackupFailed, Buttons::OkCancel, Icon::Warning);
  question.fixedText = result.error + "\n";
  return m_context.prompter().ask(question) == Answer::Ok;
}

void RadioLink::MnuProPassWord_Click() {
  FrmPassWord dialog(m_context, &m_main);
  dialog.exec();
}

void RadioLink::MnuLocalInfo_Click() {
  if (busy()) return;
  m_main.UnloadWindowByName(kRadioInfoWindow);
  ReadRMGDataFromRadio();
}

void RadioLink::ReadRMGDataFromRadio() {
  pointHostAtCurrentPort();
  // No confirmation and no progress dialog: the read is short and changes nothing.
  if (!m_engine->OpenRadioPort(TransferKind::ReadInfo)) return;
  m_engine->start();
}

}  // namespace cps::gui
