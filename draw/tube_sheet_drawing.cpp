#include "draw/tube_sheet_drawing.h"

#include "engine/tube_count.h"
#include "runtime/cstr.h"

#include <QBuffer>
#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QPdfWriter>
#include <QSvgGenerator>

#include <algorithm>
#include <cstdio>
#include <stdexcept>

namespace draw {
namespace {

    // Colours: each kind of circle has its own, so a reader (or a test) tells them apart.
    const QColor kInk(0x2f, 0x3b, 0x47);
    const QColor kTube(0xf2, 0xf2, 0xf2);
    const QColor kRemovedTube(0xf4, 0xa6, 0xa6);
    const QColor kRemovedInk(0xb0, 0x30, 0x30);
    const QColor kCentreTube(0x8b, 0x1a, 0x1a);
    const QColor kLayoutCircle(0x1f, 0x6f, 0xb4);
    const QColor kKnifeEdge(0xff, 0x8c, 0x00);

    constexpr int kPictureWidth = 1200;

    QString extensionOf(const std::string &file)
    {
        return QString::fromStdString(file).section(QLatin1Char('.'), -1).toLower();
    }

    QString text(const std::string &utf8)
    {
        return QString::fromStdString(utf8);
    }

    QStringList captionLines(const Drawing &drawing)
    {
        const auto mm = [](const char *caption, double value) {
            return QString::fromUtf8(caption) + QLatin1Char(' ') + text(runtime::CStr(value))
                + QStringLiteral(" mm");
        };
        QStringList lines;
        lines << QStringList { mm("壳内经", drawing.di), mm("管心距", drawing.gxj),
            mm("管外经", drawing.d), mm("中心管外径", drawing.zxg) }
                     .join(QStringLiteral("    "));
        QString counts = QString::fromUtf8("总的管束") + text(drawing.total);
        if (drawing.zxg != 0)
            counts += QStringLiteral("    ") + QString::fromUtf8("中心去掉的管束")
                + text(drawing.removed) + QStringLiteral("    ") + QString::fromUtf8("最后管束")
                + text(drawing.final);
        lines << counts;
        if (!drawing.sheet.knifeEdges.empty())
            lines << QStringLiteral("%1 tube positions within 1e-6 mm of a circle, ringed: "
                                    "rounding decides them")
                         .arg(drawing.sheet.knifeEdges.size());
        return lines;
    }

    /// Paints the picture into `page`: the caption on top, the tube sheet below it, scaled to
    /// fit, in the pattern's own millimetres.
    void paint(QPainter &painter, const QRectF &page, const Drawing &drawing)
    {
        painter.setRenderHint(QPainter::Antialiasing);
        painter.fillRect(page, Qt::white);

        const QStringList lines = captionLines(drawing);
        QFont font = QGuiApplication::font();
        font.setFamilies(
            { QStringLiteral("WenQuanYi Micro Hei"), QStringLiteral("Noto Sans CJK SC") });
        font.setPixelSize(std::max(8, static_cast<int>(page.width() / 48)));
        painter.setFont(font);
        const qreal lineHeight = QFontMetricsF(font).lineSpacing();
        const qreal margin = page.width() / 40;
        for (int i = 0; i < lines.size(); ++i)
            painter.drawText(
                QPointF(page.left() + margin, page.top() + margin + lineHeight * (i + 0.8)),
                lines[i]);

        const qreal top = page.top() + margin * 2 + lineHeight * static_cast<qreal>(lines.size());
        const qreal side = std::min(page.width(), page.bottom() - top) - 2 * margin;
        const QPointF centre(page.center().x(), top + margin + side / 2);
        // The centre circle as the centre count drew it: the tube and its clearance.
        const double DX = drawing.zxg != 0 ? engine::centreCircle(drawing.zxg) : 0.0;
        const double extent = std::max({ drawing.di, drawing.Dl, DX, drawing.d });
        const double scale = extent > 0 ? side / extent : 1.0;
        const auto circle = [&](double x, double y, double diameter) {
            const double r = std::max(diameter / 2 * scale, 0.5);
            return QRectF(centre.x() + x * scale - r, centre.y() - y * scale - r, 2 * r, 2 * r);
        };
        const qreal line = std::max<qreal>(1, page.width() / 800);

        painter.setBrush(Qt::NoBrush);
        painter.setPen(QPen(kInk, 2 * line));
        painter.drawEllipse(circle(0, 0, drawing.di));
        painter.setPen(QPen(kLayoutCircle, line));
        painter.drawEllipse(circle(0, 0, drawing.Dl));

        painter.setPen(QPen(kInk, line / 2));
        painter.setBrush(kTube);
        for (const engine::Tube &tube : drawing.sheet.tubes)
            if (!tube.removed)
                painter.drawEllipse(circle(tube.x, tube.y, drawing.d));
        painter.setPen(QPen(kRemovedInk, line / 2));
        painter.setBrush(kRemovedTube);
        for (const engine::Tube &tube : drawing.sheet.tubes)
            if (tube.removed)
                painter.drawEllipse(circle(tube.x, tube.y, drawing.d));

        if (drawing.zxg != 0) {
            painter.setPen(QPen(kInk, line / 2));
            // See-through, so the removed tube under it still shows.
            QColor centreTube = kCentreTube;
            centreTube.setAlphaF(0.6);
            painter.setBrush(centreTube);
            painter.drawEllipse(circle(0, 0, drawing.zxg));
            painter.setBrush(Qt::NoBrush);
            painter.setPen(QPen(kRemovedInk, line, Qt::DashLine));
            painter.drawEllipse(circle(0, 0, DX));
        }

        painter.setBrush(Qt::NoBrush);
        painter.setPen(QPen(kKnifeEdge, line));
        for (const engine::KnifeEdge &edge : drawing.sheet.knifeEdges)
            painter.drawEllipse(circle(edge.tube.x, edge.tube.y, drawing.d + 12 * line / scale));
    }

    /// Painting text needs an application object; the command-line tool has none and may run
    /// without a display, so it gets one that paints off screen.
    void ensureApplication()
    {
        if (QCoreApplication::instance())
            return;
        qputenv("QT_QPA_PLATFORM", "offscreen");
        // Qt's notes about the session (no runtime folder and the like) are not the tool's
        // output; only its errors are.
        qInstallMessageHandler([](QtMsgType type, const QMessageLogContext &, const QString &text) {
            if (type == QtCriticalMsg || type == QtFatalMsg)
                std::fprintf(stderr, "korvane-count: %s\n", qPrintable(text));
        });
        static int argc = 1;
        static char name[] = "korvane-count";
        static char *argv[] = { name, nullptr };
        static QGuiApplication application(argc, argv);
    }

    [[noreturn]] void cannotWrite(const std::string &file, const QString &reason)
    {
        throw std::runtime_error("cannot write " + file + ": " + reason.toStdString());
    }

} // namespace

bool isDrawingFile(const std::string &file)
{
    const QString extension = extensionOf(file);
    return extension == QLatin1String("svg") || extension == QLatin1String("png")
        || extension == QLatin1String("pdf");
}

void writeDrawing(const Drawing &drawing, const std::string &file)
{
    if (!isDrawingFile(file))
        throw std::runtime_error(
            "cannot draw " + file + ": the name must end in .svg, .png or .pdf");
    ensureApplication();

    QFile out(QString::fromStdString(file));
    if (!out.open(QIODevice::WriteOnly | QIODevice::Truncate))
        cannotWrite(file, out.errorString());

    const QString extension = extensionOf(file);
    const int height = kPictureWidth + kPictureWidth / 6;
    if (extension == QLatin1String("svg")) {
        QSvgGenerator svg;
        svg.setOutputDevice(&out);
        svg.setSize(QSize(kPictureWidth, height));
        svg.setViewBox(QRect(0, 0, kPictureWidth, height));
        svg.setTitle(QStringLiteral("Korvane tube sheet"));
        svg.setDescription(captionLines(drawing).join(QLatin1Char('\n')));
        QPainter painter(&svg);
        paint(painter, QRectF(0, 0, kPictureWidth, height), drawing);
    } else if (extension == QLatin1String("png")) {
        QImage image(kPictureWidth, height, QImage::Format_ARGB32_Premultiplied);
        {
            QPainter painter(&image);
            paint(painter, QRectF(0, 0, kPictureWidth, height), drawing);
        }
        // Encoded in memory first: libpng gives up on a failed write by a long jump, which
        // would leave Qt's encoder state behind.
        QByteArray png;
        QBuffer buffer(&png);
        buffer.open(QIODevice::WriteOnly);
        if (!image.save(&buffer, "PNG"))
            cannotWrite(file, QStringLiteral("the picture could not be encoded"));
        out.write(png);
    } else {
        QPdfWriter pdf(&out);
        pdf.setPageSize(QPageSize(QPageSize::A4));
        pdf.setResolution(300);
        pdf.setTitle(QStringLiteral("Korvane tube sheet"));
        pdf.setCreator(QStringLiteral("korvane-count"));
        QPainter painter(&pdf);
        paint(painter, QRectF(QPointF(0, 0), QSizeF(pdf.width(), pdf.height())), drawing);
    }
    // A failed write sets the error, but a close with nothing left to flush clears it again.
    const bool written = out.error() == QFileDevice::NoError && out.flush();
    const QString reason = out.errorString();
    out.close();
    if (!written)
        cannotWrite(file, reason);
    if (out.error() != QFileDevice::NoError)
        cannotWrite(file, out.errorString());
}

} // namespace draw
