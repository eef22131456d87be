#include "gui/app/qt_translation.hpp"

#include <QCoreApplication>
#include <QDir>
#include <QLibraryInfo>
#include <QTranslator>

#include "core/app/text_table.hpp"

namespace cps::gui {

QtTranslation::QtTranslation() = default;

QtTranslation::~QtTranslation() {
  if (m_translator) QCoreApplication::removeTranslator(m_translator.get());
}

QString QtTranslation::fileOf(int language) {
  if (language != kChinese) return {};
  // The Chinese of the language files is the simplified Chinese of the PRC.
  return QDir(QLibraryInfo::path(QLibraryInfo::TranslationsPath))
      .filePath(QStringLiteral("qtbase_zh_CN.qm"));
}

bool QtTranslation::follow(int language) {
  if (m_translator) {
    QCoreApplication::removeTranslator(m_translator.get());
    m_translator.reset();
  }
  const QString file = fileOf(language);
  if (file.isEmpty()) return true;
  if (!QCoreApplication::instance()) return false;
  auto translator = std::make_unique<QTranslator>();
  if (!translator->load(file)) return false;
  QCoreApplication::installTranslator(translator.get());
  m_translator = std::move(translator);
  return true;
}

}  // namespace cps::gui
