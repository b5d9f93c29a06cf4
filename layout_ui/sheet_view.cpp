#include "layout_ui/sheet_view.h"

#include "draw/painting.h"
#include "layout_ui/messages.h"
#include "report/drawing.h"

#include <QContextMenuEvent>
#include <QHelpEvent>
#include <QKeyEvent>
#include <QMenu>
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
    /// A press and release closer than this are a click (or a tap), not a drag.
    constexpr double kClickPixels = 4;

    /// The edits of a tube, as its menu offers them and their keys on the sheet; their texts are
    /// the view's.
    struct EditItem
    {
        const char *text;
        Qt::Key key;
        TubeEdit edit;
    };
    constexpr EditItem kEditItems[] = { { QT_TRANSLATE_NOOP("layout_ui::SheetView", "去掉此管(&R)"),
                                            Qt::Key_Delete, TubeEdit::Remove },
        { QT_TRANSLATE_NOOP("layout_ui::SheetView", "设为假管(&D)"), Qt::Key_D, TubeEdit::Dummy },
        { QT_TRANSLATE_NOOP("layout_ui::SheetView", "恢复此管(&E)"), Qt::Key_Backspace,
            TubeEdit::Restore } };

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

const layout::Tube *SheetView::target() const
{
    if (!m_sheet)
        return nullptr;
    const QPointF at = m_mark ? *m_mark : toSheet(QPointF(width() / 2.0, height() / 2.0));
    return m_sheet->tubeAt(at.x(), at.y());
}

void SheetView::markAt(QPointF point)
{
    if (!m_sheet)
        return;
    const QPointF at = toSheet(point);
    const layout::Tube *tube = m_sheet->tubeAt(at.x(), at.y());
    m_mark = tube ? std::optional(QPointF(tube->x, tube->y)) : std::nullopt;
    update();
}

bool SheetView::editTarget(TubeEdit edit)
{
    const layout::Tube *tube = m_stale ? nullptr : target();
    if (!tube || !canEdit(*tube, edit))
        return false;
    emit tubeEdited(tube->site, edit);
    return true;
}

void SheetView::showEditMenu(const layout::Tube &tube, QPoint at)
{
    // A popup, not a modal loop: the sheet stays live under it, and a click elsewhere closes it.
    if (!m_menu) {
        m_menu = new QMenu(this);
        m_menu->setObjectName(QStringLiteral("editMenu"));
    }
    m_menu->clear();
    const layout::Site site = tube.site;
    for (const EditItem &item : kEditItems) {
        QAction *action = m_menu->addAction(SheetView::tr(item.text));
        // The key is the view's own; the menu shows it.
        action->setShortcut(QKeySequence(item.key));
        action->setShortcutContext(Qt::WidgetShortcut);
        action->setEnabled(!m_stale && canEdit(tube, item.edit));
        const TubeEdit edit = item.edit;
        connect(
            action, &QAction::triggered, this, [this, site, edit] { emit tubeEdited(site, edit); });
    }
    m_menu->popup(at);
}

void SheetView::contextMenuEvent(QContextMenuEvent *event)
{
    if (event->reason() != QContextMenuEvent::Keyboard)
        markAt(event->pos());
    const layout::Tube *tube = target();
    if (!tube)
        return;
    const QPointF centre = toView(tube->x, tube->y);
    showEditMenu(*tube,
        event->reason() == QContextMenuEvent::Keyboard ? mapToGlobal(centre.toPoint())
                                                       : event->globalPos());
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
    if (const layout::Tube *marked = m_mark ? target() : nullptr) {
        // A ring a little outside the tube, seen at any zoom.
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setPen(QPen(QColor(20, 20, 20), 2, Qt::DashLine));
        painter.setBrush(Qt::NoBrush);
        const double ring = tubeRadius + 3;
        painter.drawEllipse(toView(marked->x, marked->y), ring, ring);
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
        m_dragFrom = m_pressedAt = event->position();
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
        // A click (or a tap) on a tube marks it and offers its edits.
        if ((event->position() - m_pressedAt).manhattanLength() < kClickPixels) {
            markAt(event->position());
            if (const layout::Tube *tube = m_mark ? target() : nullptr)
                showEditMenu(*tube, event->globalPosition().toPoint());
        }
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
    case Qt::Key_Escape:
        m_mark.reset();
        update();
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
        for (const EditItem &item : kEditItems)
            if (event->key() == item.key) {
                editTarget(item.edit);
                return;
            }
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
