#pragma once

#include <QIcon>

namespace ui {

/// The window icon, a tube sheet drawn at the usual icon sizes from the program's own SVG.
QIcon windowIcon();

} // namespace ui
