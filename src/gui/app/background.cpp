#include "gui/app/background.hpp"

#include <QPainter>

namespace cps::gui {

QImage TiledBackground(const QImage& picture, QSize area) {
  const int w = picture.width() - 2;
  const int h = picture.height() - 2;
  if (picture.isNull() || w <= 0 || h <= 0 || area.isEmpty()) return {};
  QImage composed(area, QImage::Format_RGB32);
  composed.fill(Qt::white);
  QPainter painter(&composed);
  // First a row of strips that start one pixel in from the left edge, at the
  // top; then that row, from one pixel down, repeated down the area.
  for (int x = 0; x <= area.width(); x += w) {
    painter.drawImage(QPoint(x, 0), picture, QRect(1, 0, w, picture.height()));
  }
  painter.end();
  const QImage row = composed.copy(0, 1, area.width(), h);
  painter.begin(&composed);
  for (int y = h; y <= area.height(); y += h) painter.drawImage(QPoint(0, y), row);
  return composed;
}

}  // namespace cps::gui
