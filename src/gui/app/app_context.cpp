#include "gui/app/app_context.hpp"

#include <QDate>
#include <QLocale>

// The icons are compiled into the gui library; the resources of a static
// library are registered by hand, and only from outside any namespace.
static void registerGuiResources() { Q_INIT_RESOURCE(cps530); }

namespace cps::gui {

namespace {

Today systemToday() {
  const QDate date = QDate::currentDate();
  return {QLocale::system().toString(date, QLocale::ShortFormat).toStdString(), date.month()};
}

}  // namespace

AppContext::AppContext(ProgramFolders programFolders, std::string executable)
    : folders(std::move(programFolders)),
      executableName(std::move(executable)),
      today(systemToday) {
  registerGuiResources();
  setLanguage(kEnglish);
}

void AppContext::setLanguage(int newLanguage) {
  language.current = newLanguage == kChinese ? kChinese : kEnglish;
  texts.setFile(folders.languageFolder() / std::string(LanguageFileName(language.current)));
}

}  // namespace cps::gui
