// The painting module: a scene as a PNG or PDF picture, painted with Qt off screen. It is
// a module of its own so that only a program asked for a picture loads Qt Gui.

#include "draw/painting.h"
#include "sheet/scene.h"

#include <QBuffer>
#include <QImage>
#include <QPdfWriter>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <stdexcept>

namespace {

using sheet::Scene;

constexpr int kPictureWidth = 1200;
constexpr int kLargestPictureWidth = 6000;

/// Where things go on a page of a given width: the text on top, the sheet in a square below.
struct PageLayout
{
    qreal width = 0, margin = 0, lineHeight = 0, legendTop = 0, sheetTop = 0, height = 0;
    int columns = 4;
    QFont font;

    PageLayout(const Scene &scene, qreal pageWidth, const sheet::TextFit &fit)
        : width(pageWidth)
        , margin(pageWidth / 40)
        , columns(fit.columns)
        , font(draw::captionFont(fit.fontSize))
    {
        lineHeight = QFontMetricsF(font).lineSpacing();
        legendTop = margin + lineHeight * static_cast<qreal>(scene.caption.size());
        sheetTop = legendTop + lineHeight * draw::legendRows(scene.legend.size(), columns) + margin;
        height = sheetTop + width;
    }
};

void paint(QPainter &painter, const Scene &scene, const PageLayout &page)
{
    painter.setRenderHint(QPainter::Antialiasing);
    painter.fillRect(QRectF(0, 0, page.width, page.height), Qt::white);
    draw::ShapeStyle style;
    style.penUnit = std::max<qreal>(1, page.width / 800);

    painter.setFont(page.font);
    painter.setPen(Qt::black);
    for (std::size_t i = 0; i < scene.caption.size(); ++i)
        painter.drawText(
            QPointF(page.margin, page.margin + page.lineHeight * (static_cast<qreal>(i) + 0.8)),
            QString::fromStdString(scene.caption[i]));
    draw::paintLegend(painter, scene.layers, scene.legend,
        QRectF(page.margin, page.legendTop, page.width - 2 * page.margin, page.height),
        page.lineHeight, page.columns, style);

    const qreal side = page.width - 2 * page.margin;
    const QPointF centre(page.width / 2, page.sheetTop + side / 2);
    const double scale = scene.extent > 0 ? side / scene.extent : 1.0;
    draw::paintShapes(
        painter, scene,
        [&](double x, double y) { return QPointF(centre.x() + x * scale, centre.y() - y * scale); },
        scale, style);
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
        const int width = bitmapWidth(scene);
        const PageLayout page(scene, width, sheet::textFit(scene, width));
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
        const PageLayout page(scene, pdf.width(), sheet::textFit(scene, pdf.width()));
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
