#include "gui/app/app_context.hpp"

#include <QDate>
#include <QLocale>

#include "core/app/file_commands.hpp"

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
    : Installation(std::move(programFolders), std::move(executable)), today(systemToday) {
  registerGuiResources();
  setLanguage(kEnglish);
}

void AppContext::setLanguage(int newLanguage) {
  language.current = newLanguage == kChinese ? kChinese : kEnglish;
  useLanguageFile(language.current);
  // Without Qt's translation installed its buttons stay English; the program still runs.
  m_qtTranslation.follow(language.current);
}

QString AppContext::applicationTitle() {
  return m_applicationTitle.isEmpty() ? text(cps::text::kApplicationTitle) : m_applicationTitle;
}

}  // namespace cps::gui
