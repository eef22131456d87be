// cps530: the desktop programming software for TW530 and TW530G radios.
#include <QApplication>
#include <QFileInfo>
#include <QLocale>
#include <QTimer>
#include <clocale>
#include <iostream>
#include <string>
#include <vector>

#include "gui/app/app_context.hpp"
#include "gui/app/command_line.hpp"
#include "gui/app/frm_main.hpp"
#include "gui/app/message_box_prompter.hpp"
#include "gui/app/start_up.hpp"
#include "gui/app/termination.hpp"
#include "gui/link/frm_pass_word.hpp"
#include "gui/link/load_frm_link.hpp"
#include "gui/link/radio_link.hpp"
#include "gui/report/report_commands.hpp"

namespace {

std::vector<std::string> argumentsAfterProgram(const QStringList& arguments) {
  std::vector<std::string> after;
  for (qsizetype i = 1; i < arguments.size(); ++i) after.push_back(arguments[i].toStdString());
  return after;
}

}  // namespace

int main(int argc, char* argv[]) {
  using Action = cps::gui::DesktopCommandLine::Action;
  // Answered before the toolkit starts, so that they work without a display.
  switch (cps::gui::HelpOrVersionAsked(std::vector<std::string>(argv + 1, argv + argc))) {
    case Action::Help:
      std::cout << cps::gui::DesktopHelpText();
      return 0;
    case Action::Version:
      std::cout << cps::gui::DesktopVersionText();
      return 0;
    case Action::Run:
    case Action::Refuse:
      break;
  }
  cps::gui::TerminationWatch::blockSignals();
  QApplication application(argc, argv);
  // The toolkit has taken its own options out of the list by now.
  const auto commandLine =
      cps::gui::ParseDesktopCommandLine(argumentsAfterProgram(QCoreApplication::arguments()));
  if (commandLine.action == Action::Refuse) {
    std::cerr << "cps530: " << commandLine.error << "\nTry 'cps530 --help'.\n";
    return 2;
  }
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
  // The real program folder, also when started through a link in the system's
  // program folder: the shipped files and the other program versions are there.
  const QFileInfo executable(QCoreApplication::applicationFilePath());
  AppContext context(
      DecideProgramFolders(ProbeInstallation(executable.absolutePath().toStdString())),
      executable.fileName().toStdString());
  MessageBoxPrompter prompter(context);
  context.setPrompter(prompter);
  prompter.setPasswordDialog(
      [&context] { return FrmPassWord::Ask(context, QApplication::activeModalWidget()); });
  // Every read and write keeps the radio's image here (the newest 50).
  context.backupFolder = context.folders.written.backups;
  context.recoveryFolder = context.folders.written.recovered;
  // An installed program keeps each user's files in the user's folders; a
  // user's first start finds the shipped setup there, and so is a first run.
  if (const auto error = PrepareUserFolders(context.folders); !error.empty()) {
    std::cerr << "cps530: " << error << '\n';
  }

  // From here on SIGTERM, SIGINT and SIGHUP end the run, the first-run dialog included.
  TerminationWatch termination;
  const bool started = StartUp(context, QuerySystem(), [&context] {
    LoadFrmLink dialog(context);
    dialog.exec();
  });
  if (!started) return 0;

  FrmMain window(context);
  RadioLink link(context, window);
  const ReportCommands report(context, window);
  termination.setStopTransfers([&link] { return link.stopTransfers(); });
  termination.setEndOfRun([&window](bool insist) { window.closeOnSignal(insist); });
  window.show();
  // A file given on the command line (the file manager's Open With) is opened
  // as File > Open opens it, once the window is there to tell about a refusal.
  if (!commandLine.file.empty()) {
    QTimer::singleShot(0, &window, [&window, file = commandLine.file] { window.openFile(file); });
  }
  return QApplication::exec();
}
