#include "layout_ui/sheet_view.h"

#include "layout_cli/drawing.h"
#include "layout_cli/report.h"

#include <QHelpEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QToolTip>
#include <QWheelEvent>

#include <algorithm>
#include <cmath>

namespace layout_ui {

namespace {

    constexpr double kFitMargin = 0.96;
    constexpr double kWheelStep = 1.25; ///< zoom per notch of the wheel
    constexpr double kLeastScale = 1e-4, kMostScale = 1e4; ///< pixels per mm

    QColor colourOf(const sheet::Colour &colour)
    {
        return QColor(colour.r, colour.g, colour.b, colour.alpha);
    }

} // namespace

Sheet::Sheet(const layout::Layout &counted)
    : layout(counted)
    , scene(layout_cli::layoutScene(counted, false))
    , tubes(layout::tubes(counted))
{
    // The hole list numbers the tubes left in the same order, so the tooltip and the file agree.
    numbers.reserve(tubes.size());
    std::int64_t n = 0;
    for (const layout::Tube &tube : tubes)
        numbers.push_back(tube.pass > 0 ? ++n : 0);
    m_cell = std::max(layout::millimetres(counted.inputs.pitch), 1e-6);
    for (std::size_t i = 0; i < tubes.size(); ++i)
        m_cells[cellOf(tubes[i].x, tubes[i].y)].push_back(i);
}

std::uint64_t Sheet::cellOf(double x, double y) const
{
    const auto index = [this](double v) {
        return static_cast<std::uint32_t>(static_cast<std::int64_t>(std::floor(v / m_cell)));
    };
    return (std::uint64_t(index(x)) << 32) | index(y);
}

const layout::Tube *Sheet::tubeAt(double x, double y, std::int64_t *number) const
{
    const double radius = layout::millimetres(layout.inputs.tube) / 2;
    // A tube's circle reaches at most one cell past its own, as d <= p.
    for (int dx = -1; dx <= 1; ++dx) {
        for (int dy = -1; dy <= 1; ++dy) {
            const auto found = m_cells.find(cellOf(x + dx * m_cell, y + dy * m_cell));
            if (found == m_cells.end())
                continue;
            for (std::size_t i : found->second) {
                if (std::hypot(tubes[i].x - x, tubes[i].y - y) <= radius) {
                    if (number)
                        *number = numbers[i];
                    return &tubes[i];
                }
            }
        }
    }
    return nullptr;
}

SheetView::SheetView(QWidget *parent)
    : QWidget(parent)
{
    setObjectName(QStringLiteral("sheet"));
    setMouseTracking(true);
    setFocusPolicy(Qt::StrongFocus);
    setMinimumSize(240, 240);
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void SheetView::setSheet(std::shared_ptr<const Sheet> sheet)
{
    const bool first = !m_sheet;
    m_sheet = std::move(sheet);
    m_stale = false;
    if (first || m_fitted)
        fit();
    update();
}

void SheetView::setStale(bool stale)
{
    if (m_stale != stale) {
        m_stale = stale;
        update();
    }
}

void SheetView::fit()
{
    m_fitted = true;
    m_focus = {};
    const double extent = m_sheet && m_sheet->scene.extent > 0 ? m_sheet->scene.extent : 1;
    m_scale =
        std::clamp(std::min(width(), height()) * kFitMargin / extent, kLeastScale, kMostScale);
    update();
}

QPointF SheetView::toView(double x, double y) const
{
    return { width() / 2.0 + (x - m_focus.x()) * m_scale,
        height() / 2.0 - (y - m_focus.y()) * m_scale };
}

QPointF SheetView::toSheet(QPointF point) const
{
    return { m_focus.x() + (point.x() - width() / 2.0) / m_scale,
        m_focus.y() - (point.y() - height() / 2.0) / m_scale };
}

QString SheetView::describe(QPointF point) const
{
    if (!m_sheet)
        return {};
    const QPointF at = toSheet(point);
    std::int64_t number = 0;
    const layout::Tube *tube = m_sheet->tubeAt(at.x(), at.y(), &number);
    if (!tube)
        return {};
    const QString x = QString::fromStdString(layout_cli::numberText(tube->x));
    const QString y = QString::fromStdString(layout_cli::numberText(tube->y));
    if (tube->pass == 0) {
        const QString why = tube->removed == layout::Removed::Lane ? tr("在隔板槽内，已去掉")
                                                                   : tr("让位于中心管，已去掉");
        return tr("x = %1 mm，y = %2 mm\n%3").arg(x, y, why);
    }
    return tr("管 %1\nx = %2 mm，y = %3 mm\n第 %4 管程")
        .arg(QString::number(number), x, y, QString::number(tube->pass));
}

void SheetView::zoom(double factor, QPointF about)
{
    const QPointF before = toSheet(about);
    m_scale = std::clamp(m_scale * factor, kLeastScale, kMostScale);
    const QPointF after = toSheet(about);
    m_focus += before - after;
    m_fitted = false;
    update();
}

void SheetView::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.fillRect(rect(), Qt::white);
    if (!m_sheet)
        return;
    const sheet::Scene &scene = m_sheet->scene;
    // Tubes a few pixels wide look the same without antialiasing and paint several times
    // faster, which keeps a sheet of 100,000 tubes responsive to the wheel.
    const double tubeRadius = layout::millimetres(m_sheet->layout.inputs.tube) / 2 * m_scale;
    painter.setRenderHint(QPainter::Antialiasing, tubeRadius >= 4);
    const QRectF visible = QRectF(rect()).adjusted(-2, -2, 2, 2);
    const auto penOf = [&](const sheet::Layer &layer, bool dashed) {
        QPen pen(colourOf(layer.ink), std::max(1.0, layer.pen));
        pen.setCosmetic(true);
        if (dashed)
            pen.setStyle(Qt::DashLine);
        return pen;
    };
    int layer = -1;
    bool dashed = false, hollow = false;
    for (const sheet::Circle &circle : scene.circles) {
        const QPointF centre = toView(circle.x, circle.y);
        const double r = std::max(circle.diameter / 2 * m_scale, 0.5);
        if (!visible.intersects(QRectF(centre.x() - r, centre.y() - r, 2 * r, 2 * r)))
            continue;
        if (circle.layer != layer || circle.dashed != dashed || circle.hollow != hollow) {
            layer = circle.layer;
            dashed = circle.dashed;
            hollow = circle.hollow;
            const sheet::Layer &style = scene.layers.at(static_cast<std::size_t>(layer));
            painter.setPen(penOf(style, dashed));
            painter.setBrush(
                style.fill && !hollow ? QBrush(colourOf(*style.fill)) : QBrush(Qt::NoBrush));
        }
        if (r < 1.5)
            painter.drawRect(QRectF(centre.x() - r, centre.y() - r, 2 * r, 2 * r));
        else
            painter.drawEllipse(centre, r, r);
    }
    painter.setRenderHint(QPainter::Antialiasing);
    layer = -1;
    for (const sheet::Line &line : scene.lines) {
        if (line.layer != layer || line.dashed != dashed) {
            layer = line.layer;
            dashed = line.dashed;
            painter.setPen(penOf(scene.layers.at(static_cast<std::size_t>(layer)), dashed));
        }
        painter.drawLine(toView(line.x1, line.y1), toView(line.x2, line.y2));
    }
    if (m_stale)
        painter.fillRect(rect(), QColor(240, 240, 240, 190));
}

void SheetView::wheelEvent(QWheelEvent *event)
{
    const double notches = event->angleDelta().y() / 120.0;
    if (notches != 0)
        zoom(std::pow(kWheelStep, notches), event->position());
    event->accept();
}

void SheetView::mousePressEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton) {
        m_dragging = true;
        m_dragFrom = event->position();
        setCursor(Qt::ClosedHandCursor);
    }
}

void SheetView::mouseMoveEvent(QMouseEvent *event)
{
    if (!m_dragging)
        return;
    const QPointF moved = event->position() - m_dragFrom;
    m_dragFrom = event->position();
    m_focus += QPointF(-moved.x() / m_scale, moved.y() / m_scale);
    m_fitted = false;
    update();
}

void SheetView::mouseReleaseEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton) {
        m_dragging = false;
        unsetCursor();
    }
}

void SheetView::resizeEvent(QResizeEvent *)
{
    if (m_fitted)
        fit();
}

void SheetView::keyPressEvent(QKeyEvent *event)
{
    // The keyboard does what the mouse does: + and - zoom, the arrows pan, Home fits.
    const QPointF middle(width() / 2.0, height() / 2.0);
    const double step = std::min(width(), height()) / 8.0 / m_scale;
    switch (event->key()) {
    case Qt::Key_Plus:
    case Qt::Key_Equal:
        zoom(kWheelStep, middle);
        return;
    case Qt::Key_Minus:
        zoom(1 / kWheelStep, middle);
        return;
    case Qt::Key_Home:
        fit();
        return;
    case Qt::Key_Left:
    case Qt::Key_Right:
    case Qt::Key_Up:
    case Qt::Key_Down: {
        const bool horizontal = event->key() == Qt::Key_Left || event->key() == Qt::Key_Right;
        const double sign =
            event->key() == Qt::Key_Left || event->key() == Qt::Key_Down ? -1.0 : 1.0;
        m_focus += horizontal ? QPointF(sign * step, 0) : QPointF(0, sign * step);
        m_fitted = false;
        update();
        return;
    }
    default:
        QWidget::keyPressEvent(event);
    }
}

bool SheetView::event(QEvent *event)
{
    if (event->type() == QEvent::ToolTip) {
        auto *help = static_cast<QHelpEvent *>(event);
        const QString text = describe(help->pos());
        if (text.isEmpty())
            QToolTip::hideText();
        else
            QToolTip::showText(help->globalPos(), text, this);
        return true;
    }
    return QWidget::event(event);
}

} // namespace layout_ui
