// cps530: the desktop programming software for TW530 and TW530G radios.
#include <QApplication>
#include <QFileInfo>
#include <QLocale>
#include <QStandardPaths>
#include <clocale>

#include "gui/app/app_context.hpp"
#include "gui/app/frm_main.hpp"
#include "gui/app/message_box_prompter.hpp"
#include "gui/app/start_up.hpp"
#include "gui/app/termination.hpp"
#include "gui/link/frm_pass_word.hpp"
#include "gui/link/load_frm_link.hpp"
#include "gui/link/radio_link.hpp"
#include "gui/report/report_commands.hpp"

int main(int argc, char* argv[]) {
  cps::gui::TerminationWatch::blockSignals();
  QApplication application(argc, argv);
  // Numbers inside the program are written and read with "." whatever the
  // user's locale; the user's own setting stays as it is.
  QLocale::setDefault(QLocale::c());
  // The toolkit has handed the user's locale to the C library; its number
  // formats go back to "." for this process, so that no library code can
  // write "087,55000" into a field. Every formatter of ours is locale-free
  // anyway; this keeps code we do not own in line.
  std::setlocale(LC_NUMERIC, "C");

  using namespace cps;
  using namespace cps::gui;
  const QFileInfo executable(QCoreApplication::applicationFilePath());
  AppContext context(ProgramFolders::OfProgramFolder(executable.absolutePath().toStdString()),
                     executable.fileName().toStdString());
  MessageBoxPrompter prompter(context);
  context.setPrompter(prompter);
  prompter.setPasswordDialog(
      [&context] { return FrmPassWord::Ask(context, QApplication::activeModalWidget()); });
  // Every read and write keeps the radio's image here (the newest 50).
  const std::string appData =
      QStandardPaths::writableLocation(QStandardPaths::AppDataLocation).toStdString();
  context.backupFolder = appData + "/backups";
  context.recoveryFolder = appData + "/recovered";

  // From here on SIGTERM and SIGINT end the run, the first-run dialog included.
  TerminationWatch termination;
  const bool started = StartUp(context, QuerySystem(), [&context] {
    LoadFrmLink dialog(context);
    dialog.exec();
  });
  if (!started) return 0;

  FrmMain window(context);
  const RadioLink link(context, window);
  const ReportCommands report(context, window);
  termination.setEndOfRun(
      [&window](bool insist) { insist ? window.closeWithoutAsking() : void(window.close()); });
  window.show();
  return QApplication::exec();
}
