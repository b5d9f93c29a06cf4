#include "layout_ui/sheet_view.h"

#include "draw/painting.h"
#include "layout_ui/messages.h"
#include "report/drawing.h"

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

} // namespace

Sheet::Sheet(const layout::Layout &counted)
    : TubeIndex(counted)
    , layout(counted)
    , scene(report::layoutScene(counted, false))
{
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
    return rendered(report::describeTube(*tube, number));
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
    // Tubes a few pixels wide look the same without antialiasing and paint several times
    // faster, which keeps a sheet of 100,000 tubes responsive to the wheel.
    const double tubeRadius = m_sheet->radius() * m_scale;
    painter.setRenderHint(QPainter::Antialiasing, tubeRadius >= 4);
    draw::ShapeStyle style;
    style.cosmetic = true;
    style.squaresWhenTiny = true;
    style.visible = QRectF(rect()).adjusted(-2, -2, 2, 2);
    draw::paintShapes(
        painter, m_sheet->scene, [this](double x, double y) { return toView(x, y); }, m_scale,
        style);
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

LegendView::LegendView(QWidget *parent)
    : QWidget(parent)
{
    setObjectName(QStringLiteral("legend"));
    setAccessibleName(tr("图例"));
    setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
}

void LegendView::setEntries(
    std::shared_ptr<const Sheet> sheet, const std::vector<report::LegendItem> &items)
{
    m_sheet = std::move(sheet);
    m_texts.clear();
    m_entries.clear();
    for (const report::LegendItem &item : items) {
        m_texts << rendered(item.text);
        m_entries.push_back({ m_texts.back().toStdString(), item.layer });
    }
    m_stale = false;
    setAccessibleDescription(m_texts.join(QStringLiteral("；")));
    updateGeometry();
    update();
}

std::vector<std::pair<QString, QString>> LegendView::entries() const
{
    std::vector<std::pair<QString, QString>> list;
    for (const sheet::LegendEntry &entry : m_entries)
        list.emplace_back(QString::fromStdString(entry.text),
            QString::fromStdString(
                m_sheet->scene.layers[static_cast<std::size_t>(entry.layer)].name));
    return list;
}

void LegendView::setStale(bool stale)
{
    if (m_stale != stale) {
        m_stale = stale;
        update();
    }
}

qreal LegendView::lineHeight() const
{
    return QFontMetricsF(font()).lineSpacing() * 1.2;
}

QSize LegendView::sizeHint() const
{
    const int rows = draw::legendRows(m_entries.size(), kColumns);
    return { 400, static_cast<int>(std::ceil(lineHeight() * std::max(rows, 1))) };
}

void LegendView::paintEvent(QPaintEvent *)
{
    if (!m_sheet)
        return;
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    draw::ShapeStyle style;
    style.cosmetic = true;
    draw::paintLegend(
        painter, m_sheet->scene.layers, m_entries, QRectF(rect()), lineHeight(), kColumns, style);
    if (m_stale)
        painter.fillRect(rect(), QColor(240, 240, 240, 190));
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
