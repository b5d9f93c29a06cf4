#pragma once

// How a scene's shapes, labels and legend are painted with Qt: one home for the pictures of the
// painting module and the live sheet of korvane-sheet, so that both show the same thing.

#include "sheet/scene.h"

#include <QFont>
#include <QFontMetricsF>
#include <QGuiApplication>
#include <QPainter>

#include <algorithm>
#include <cmath>
#include <vector>

namespace draw {

inline QColor colourOf(const sheet::Colour &colour)
{
    return QColor(colour.r, colour.g, colour.b, colour.alpha);
}

/// The fonts the captions are painted in: those that hold the Chinese texts first.
inline QFont captionFont(qreal pixelSize)
{
    QFont font = QGuiApplication::font();
    font.setFamilies({ QStringLiteral("WenQuanYi Micro Hei"), QStringLiteral("Noto Sans CJK SC") });
    font.setPixelSize(std::max(8, static_cast<int>(pixelSize)));
    return font;
}

/// How the shapes are painted: a picture scales its pens with the page; a view on screen
/// keeps them a pixel or more wide whatever the zoom, skips what lies outside it, and paints
/// tubes of a pixel or two as squares, which look the same and cost far less.
struct ShapeStyle
{
    double penUnit = 1; ///< the width of a layer's pen of 1
    bool cosmetic = false; ///< pens a fixed number of pixels wide
    bool squaresWhenTiny = false;
    QRectF visible; ///< only what meets this, unless it is null
};

inline QPen penOf(const sheet::Layer &layer, bool dashed, const ShapeStyle &style)
{
    QPen pen(
        colourOf(layer.ink), style.cosmetic ? std::max(1.0, layer.pen) : layer.pen * style.penUnit);
    pen.setCosmetic(style.cosmetic);
    if (dashed)
        pen.setStyle(Qt::DashLine);
    return pen;
}

inline QBrush brushOf(const sheet::Layer &layer, bool hollow)
{
    return layer.fill && !hollow ? QBrush(colourOf(*layer.fill)) : QBrush(Qt::NoBrush);
}

/// Paints the scene's circles, lines and labels; `at` takes a point of the sheet (mm, y up) to
/// the painter's, and `scale` is its pixels per mm.
template <class At>
void paintShapes(
    QPainter &painter, const sheet::Scene &scene, At at, double scale, const ShapeStyle &style)
{
    const auto layerOf = [&scene](int index) -> const sheet::Layer & {
        return scene.layers.at(static_cast<std::size_t>(index));
    };
    // Shapes come layer by layer, so the pen and brush change only between runs of them.
    int layer = -1;
    bool dashed = false, hollow = false;
    for (const sheet::Circle &circle : scene.circles) {
        const QPointF centre = at(circle.x, circle.y);
        const double r = std::max(circle.diameter / 2 * scale, 0.5);
        const QRectF box(centre.x() - r, centre.y() - r, 2 * r, 2 * r);
        if (!style.visible.isNull() && !style.visible.intersects(box))
            continue;
        if (circle.layer != layer || circle.dashed != dashed || circle.hollow != hollow) {
            layer = circle.layer;
            dashed = circle.dashed;
            hollow = circle.hollow;
            painter.setPen(penOf(layerOf(layer), dashed, style));
            painter.setBrush(brushOf(layerOf(layer), hollow));
        }
        if (style.squaresWhenTiny && r < 1.5)
            painter.drawRect(box);
        else
            painter.drawEllipse(centre, r, r);
    }
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setBrush(Qt::NoBrush);
    layer = -1;
    for (const sheet::Line &line : scene.lines) {
        if (line.layer != layer || line.dashed != dashed) {
            layer = line.layer;
            dashed = line.dashed;
            painter.setPen(penOf(layerOf(layer), dashed, style));
        }
        painter.drawLine(at(line.x1, line.y1), at(line.x2, line.y2));
    }
    if (scene.labels.empty())
        return;
    // Labels are small and many: one font at a fixed size, scaled to each label's height.
    QFont labelFont = captionFont(100);
    labelFont.setPixelSize(100);
    painter.setFont(labelFont);
    const qreal fontHeight = QFontMetricsF(labelFont).height();
    layer = -1;
    for (const sheet::Label &label : scene.labels) {
        if (label.layer != layer) {
            layer = label.layer;
            painter.setPen(colourOf(layerOf(layer).ink));
        }
        const qreal k = label.height * scale / fontHeight * 1.3;
        painter.save();
        painter.translate(at(label.x, label.y));
        painter.scale(k, k);
        painter.drawText(QRectF(-1000, -fontHeight, 2000, 2 * fontHeight), Qt::AlignCenter,
            QString::fromStdString(label.text));
        painter.restore();
    }
}

/// Legend entries in rows of `columns`, each a swatch in its layer's colours and its text, from
/// the top left of `area`, one `lineHeight` a row, in the painter's font.
inline void paintLegend(QPainter &painter, const std::vector<sheet::Layer> &layers,
    const std::vector<sheet::LegendEntry> &entries, const QRectF &area, qreal lineHeight,
    int columns, const ShapeStyle &style)
{
    const qreal column = area.width() / columns;
    const qreal swatch = lineHeight * 0.7;
    for (std::size_t i = 0; i < entries.size(); ++i) {
        const sheet::LegendEntry &entry = entries[i];
        const sheet::Layer &layer = layers.at(static_cast<std::size_t>(entry.layer));
        // Whole rows and columns: the entries stand in a grid.
        const std::size_t row = i / static_cast<std::size_t>(columns);
        const std::size_t place = i % static_cast<std::size_t>(columns);
        const qreal left = area.left() + column * static_cast<qreal>(place);
        const qreal top = area.top() + lineHeight * static_cast<qreal>(row);
        painter.setPen(penOf(layer, false, style));
        painter.setBrush(brushOf(layer, false));
        painter.drawEllipse(QRectF(left, top + lineHeight * 0.15, swatch, swatch));
        painter.setPen(Qt::black);
        painter.drawText(QPointF(left + swatch * 1.5, top + lineHeight * 0.8),
            QString::fromStdString(entry.text));
    }
}

/// The rows `entries` legend entries take in `columns`.
inline int legendRows(std::size_t entries, int columns)
{
    return (static_cast<int>(entries) + columns - 1) / columns;
}

} // namespace draw
