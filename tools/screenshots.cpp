// cps530-screenshots: pictures of the main windows and dialogs for the README,
// in English and Chinese, taken from the real windows on a copy of the built
// program folder. Run it through scripts/screenshots (on a virtual display).
#include <QApplication>
#include <QDir>
#include <QScreen>
#include <QTemporaryDir>
#include <QTimer>
#include <filesystem>
#include <iostream>

#include "core/app/ini_file.hpp"
#include "gui/app/app_context.hpp"
#include "gui/app/frm_main.hpp"
#include "gui/app/frm_model_info.hpp"
#include "gui/app/message_box_prompter.hpp"
#include "gui/app/start_up.hpp"
#include "gui/link/load_frm_link.hpp"

namespace fs = std::filesystem;
using namespace cps;
using namespace cps::gui;

namespace {

void save(QWidget& widget, const QString& folder, const QString& name) {
  widget.show();
  widget.raise();
  widget.activateWindow();
  for (int i = 0; i < 20; ++i) QApplication::processEvents();
  const QString file = QDir(folder).filePath(name + QStringLiteral(".png"));
  if (!widget.grab().save(file)) std::cerr << "cannot write " << file.toStdString() << '\n';
  std::cout << file.toStdString() << '\n';
}

}  // namespace

int main(int argc, char* argv[]) {
  QApplication application(argc, argv);
  QLocale::setDefault(QLocale::c());
  if (argc < 3) {
    std::cerr << "usage: cps530-screenshots PROGRAM_FOLDER OUTPUT_FOLDER\n";
    return 2;
  }
  QTemporaryDir work;
  const fs::path base = fs::path(work.path().toStdString()) / "dist";
  fs::copy(fs::path(argv[1]).parent_path(), base, fs::copy_options::recursive);
  const QString out = QString::fromLocal8Bit(argv[2]);
  QDir().mkpath(out);

  for (const int language : {kEnglish, kChinese}) {
    const QString suffix = language == kChinese ? QStringLiteral("_zh") : QStringLiteral("_en");
    WriteProfileString(base / "language" / "mysetup.ini", "language", "IsFirstRun", "0");
    WriteProfileString(base / "language" / "mysetup.ini", "language", "CurrentLanguage",
                       std::to_string(language));
    AppContext context(ProgramFolders::OfProgramFolder(base / "V200"), "cps530");
    MessageBoxPrompter prompter(context);
    context.setPrompter(prompter);
    StartUp(context, {language == kChinese, false}, [] {});

    {
      FrmMain window(context);
      window.resize(980, 660);
      save(window, out, QStringLiteral("main_window") + suffix);
    }
    {
      FrmModelInfo dialog(context, [] {});
      save(dialog, out, QStringLiteral("model_dialog") + suffix);
    }
    {
      LoadFrmLink dialog(context);
      save(dialog, out, QStringLiteral("first_run_dialog") + suffix);
    }
  }
  return 0;
}
