// The program's own icons by name (the SVG files compiled into the program).
#pragma once

#include <QIcon>
#include <QString>

namespace cps::gui {

inline QIcon icon(const char* name) {
  return QIcon(QStringLiteral(":/icons/%1.svg").arg(QLatin1String(name)));
}

}  // namespace cps::gui
