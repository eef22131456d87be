// cps530: the desktop programming software for TW530 and TW530G radios.
#include <QApplication>
#include <QFileInfo>
#include <QLocale>

#include "gui/app/app_context.hpp"
#include "gui/app/frm_main.hpp"
#include "gui/app/message_box_prompter.hpp"
#include "gui/app/start_up.hpp"
#include "gui/app/termination.hpp"
#include "gui/link/load_frm_link.hpp"

int main(int argc, char* argv[]) {
  cps::gui::TerminationWatch::blockSignals();
  QApplication application(argc, argv);
  // Numbers inside the program are written and read with "." whatever the
  // user's locale; the user's own setting stays as it is.
  QLocale::setDefault(QLocale::c());

  using namespace cps;
  using namespace cps::gui;
  const QFileInfo executable(QCoreApplication::applicationFilePath());
  AppContext context(ProgramFolders::OfProgramFolder(executable.absolutePath().toStdString()),
                     executable.fileName().toStdString());
  MessageBoxPrompter prompter(context);
  context.setPrompter(prompter);

  const bool started = StartUp(context, QuerySystem(), [&context] {
    LoadFrmLink dialog(context);
    dialog.exec();
  });
  if (!started) return 0;

  FrmMain window(context);
  const TerminationWatch termination([&window] { window.close(); });
  window.show();
  return QApplication::exec();
}
