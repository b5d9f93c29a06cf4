#include "ui/icon.h"

#include <QPainter>
#include <QPixmap>
#include <QSvgRenderer>

namespace ui {

QIcon windowIcon()
{
    // Drawn here rather than through an icon-engine plugin, so the icon shows wherever the
    // program runs.
    QSvgRenderer renderer(QStringLiteral(":/korvane/korvane.svg"));
    QIcon icon;
    for (int size : { 16, 24, 32, 48, 64, 128, 256 }) {
        QPixmap pixmap(size, size);
        pixmap.fill(Qt::transparent);
        QPainter painter(&pixmap);
        renderer.render(&painter);
        painter.end();
        icon.addPixmap(pixmap);
    }
    return icon;
}

} // namespace ui
