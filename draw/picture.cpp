// The painting module: a scene as a PNG or PDF picture, painted with Qt off screen. It is
// a module of its own so that only a program asked for a picture loads Qt Gui.

#include "sheet/scene.h"

#include <QBuffer>
#include <QFontMetricsF>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QPdfWriter>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <stdexcept>

namespace {

using sheet::Scene;

constexpr int kPictureWidth = 1200;
constexpr int kLargestPictureWidth = 6000;
constexpr int kLegendColumns = 4;

QColor colourOf(const sheet::Colour &colour)
{
    return QColor(colour.r, colour.g, colour.b, colour.alpha);
}

QFont captionFont(qreal pixelSize)
{
    QFont font = QGuiApplication::font();
    font.setFamilies({ QStringLiteral("WenQuanYi Micro Hei"), QStringLiteral("Noto Sans CJK SC") });
    font.setPixelSize(std::max(8, static_cast<int>(pixelSize)));
    return font;
}

/// Where things go on a page of a given width: the text on top, the sheet in a square below.
struct PageLayout
{
    qreal width = 0, margin = 0, lineHeight = 0, legendTop = 0, sheetTop = 0, height = 0;
    QFont font;

    PageLayout(const Scene &scene, qreal pageWidth)
        : width(pageWidth)
        , margin(pageWidth / 40)
        , font(captionFont(pageWidth / 48))
    {
        lineHeight = QFontMetricsF(font).lineSpacing();
        legendTop = margin + lineHeight * static_cast<qreal>(scene.caption.size());
        const auto legendRows =
            (static_cast<int>(scene.legend.size()) + kLegendColumns - 1) / kLegendColumns;
        sheetTop = legendTop + lineHeight * legendRows + margin;
        height = sheetTop + width;
    }
};

void paint(QPainter &painter, const Scene &scene, const PageLayout &page)
{
    painter.setRenderHint(QPainter::Antialiasing);
    painter.fillRect(QRectF(0, 0, page.width, page.height), Qt::white);
    const qreal line = std::max<qreal>(1, page.width / 800);

    const auto penOf = [&](const sheet::Layer &layer, bool dashed) {
        QPen pen(colourOf(layer.ink), layer.pen * line);
        if (dashed)
            pen.setStyle(Qt::DashLine);
        return pen;
    };
    const auto brushOf = [&](const sheet::Layer &layer, bool hollow) {
        return layer.fill && !hollow ? QBrush(colourOf(*layer.fill)) : QBrush(Qt::NoBrush);
    };

    painter.setFont(page.font);
    painter.setPen(Qt::black);
    for (std::size_t i = 0; i < scene.caption.size(); ++i)
        painter.drawText(
            QPointF(page.margin, page.margin + page.lineHeight * (static_cast<qreal>(i) + 0.8)),
            QString::fromStdString(scene.caption[i]));
    const qreal column = (page.width - 2 * page.margin) / kLegendColumns;
    for (std::size_t i = 0; i < scene.legend.size(); ++i) {
        const sheet::LegendEntry &entry = scene.legend[i];
        const sheet::Layer &layer = scene.layers.at(static_cast<std::size_t>(entry.layer));
        const std::size_t row = i / kLegendColumns;
        const qreal left = page.margin + column * static_cast<qreal>(i % kLegendColumns);
        const qreal top = page.legendTop + page.lineHeight * static_cast<qreal>(row);
        const qreal swatch = page.lineHeight * 0.7;
        painter.setPen(penOf(layer, false));
        painter.setBrush(brushOf(layer, false));
        painter.drawEllipse(QRectF(left, top + page.lineHeight * 0.15, swatch, swatch));
        painter.setPen(Qt::black);
        painter.drawText(QPointF(left + swatch * 1.5, top + page.lineHeight * 0.8),
            QString::fromStdString(entry.text));
    }

    const qreal side = page.width - 2 * page.margin;
    const QPointF centre(page.width / 2, page.sheetTop + side / 2);
    const double scale = scene.extent > 0 ? side / scene.extent : 1.0;
    const auto at = [&](double x, double y) {
        return QPointF(centre.x() + x * scale, centre.y() - y * scale);
    };

    // Shapes come layer by layer, so the pen and brush change only between runs of them.
    int layer = -1;
    bool dashed = false, hollow = false;
    for (const sheet::Circle &circle : scene.circles) {
        if (circle.layer != layer || circle.dashed != dashed || circle.hollow != hollow) {
            layer = circle.layer;
            dashed = circle.dashed;
            hollow = circle.hollow;
            const sheet::Layer &style = scene.layers.at(static_cast<std::size_t>(layer));
            painter.setPen(penOf(style, dashed));
            painter.setBrush(brushOf(style, hollow));
        }
        const qreal r = std::max(circle.diameter / 2 * scale, 0.5);
        painter.drawEllipse(at(circle.x, circle.y), r, r);
    }
    painter.setBrush(Qt::NoBrush);
    layer = -1;
    for (const sheet::Line &segment : scene.lines) {
        if (segment.layer != layer || segment.dashed != dashed) {
            layer = segment.layer;
            dashed = segment.dashed;
            painter.setPen(penOf(scene.layers.at(static_cast<std::size_t>(layer)), dashed));
        }
        painter.drawLine(at(segment.x1, segment.y1), at(segment.x2, segment.y2));
    }

    // Labels are small and many: one font at a fixed size, scaled to each label's height.
    QFont labelFont = captionFont(100);
    labelFont.setPixelSize(100);
    painter.setFont(labelFont);
    const qreal fontHeight = QFontMetricsF(labelFont).height();
    layer = -1;
    for (const sheet::Label &label : scene.labels) {
        if (label.layer != layer) {
            layer = label.layer;
            painter.setPen(colourOf(scene.layers.at(static_cast<std::size_t>(layer)).ink));
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

/// Painting text needs an application object; the command-line tools have none and may run
/// without a display, so they get one that paints off screen.
void ensureApplication()
{
    if (QCoreApplication::instance())
        return;
    qputenv("QT_QPA_PLATFORM", "offscreen");
    // Qt's notes about the session (no runtime folder and the like) are not the tools' output;
    // only its errors are.
    qInstallMessageHandler([](QtMsgType type, const QMessageLogContext &, const QString &text) {
        if (type == QtCriticalMsg || type == QtFatalMsg)
            std::fprintf(stderr, "korvane: %s\n", qPrintable(text));
    });
    static int argc = 1;
    static char name[] = "korvane";
    static char *argv[] = { name, nullptr };
    static QGuiApplication application(argc, argv);
}

/// Larger sheets get larger bitmaps, so that each tube keeps a few pixels.
int bitmapWidth(const Scene &scene)
{
    const double wanted = 12 * std::sqrt(static_cast<double>(scene.circles.size()));
    return static_cast<int>(
        std::clamp(wanted, double(kPictureWidth), double(kLargestPictureWidth)));
}

QByteArray paintPicture(const Scene &scene, sheet::Format format)
{
    ensureApplication();
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    const QString title = QString::fromStdString(scene.title);
    if (format == sheet::Format::Png) {
        const PageLayout page(scene, bitmapWidth(scene));
        QImage image(static_cast<int>(page.width), static_cast<int>(std::ceil(page.height)),
            QImage::Format_ARGB32_Premultiplied);
        if (image.isNull())
            throw std::runtime_error("not enough memory for the picture");
        {
            QPainter painter(&image);
            paint(painter, scene, page);
        }
        if (!image.save(&buffer, "PNG", 60))
            throw std::runtime_error("the picture could not be encoded");
    } else {
        QPdfWriter pdf(&buffer);
        pdf.setPageSize(QPageSize(QPageSize::A4));
        pdf.setPageMargins(QMarginsF(10, 10, 10, 10), QPageLayout::Millimeter);
        pdf.setResolution(300);
        pdf.setTitle(title);
        pdf.setCreator(QStringLiteral("Korvane"));
        QPainter painter(&pdf);
        const PageLayout page(scene, pdf.width());
        // A tall page (many legend lines) is shrunk to fit the sheet of paper.
        const qreal fit = std::min<qreal>(1, pdf.height() / page.height);
        painter.scale(fit, fit);
        paint(painter, scene, page);
    }
    return bytes;
}

} // namespace

/// The module's entry point: paints `scene` as a PNG or PDF (a sheet::Format) into `bytes`, or says
/// why not in `error`. Nothing thrown leaves the module.
extern "C" __attribute__((visibility("default"))) bool korvane_paint_picture(
    const Scene *scene, int format, std::string *bytes, std::string *error)
{
    try {
        const QByteArray painted = paintPicture(*scene, static_cast<sheet::Format>(format));
        bytes->assign(painted.constData(), static_cast<std::size_t>(painted.size()));
        return true;
    } catch (const std::exception &failure) {
        *error = failure.what();
    } catch (...) {
        *error = "the picture could not be painted";
    }
    return false;
}
