// The picture behind the child windows: the language's background picture,
// its one-pixel border dropped, repeated across and down the client area.
#pragma once

#include <QImage>
#include <QSize>

namespace cps::gui {

// The composed background of `area` pixels; a null image when `picture` is null
// or too small to repeat.
QImage TiledBackground(const QImage& picture, QSize area);

}  // namespace cps::gui
