#pragma once

#include "layout/study.h"
#include "report/summary.h"
#include "report/tube_index.h"
#include "sheet/scene.h"

#include <QWidget>

class QMenu;

#include <memory>
#include <optional>
#include <vector>

namespace layout_ui {

/// A counted layout ready to show: its drawing, and its tubes found by place for the tooltip.
struct Sheet : report::TubeIndex
{
    layout::Layout layout;
    sheet::Scene scene;

    /// Builds the drawing and the index of a layout.
    explicit Sheet(const layout::Layout &counted);
};

using report::canEdit;
using report::TubeEdit;

/// The tube sheet, drawn to fit and then zoomed with the wheel about the cursor, panned by
/// dragging, and described tube by tube in a tooltip. A stale sheet is shown greyed.
class SheetView : public QWidget
{
    Q_OBJECT

public:
    explicit SheetView(QWidget *parent = nullptr);

    void setSheet(std::shared_ptr<const Sheet> sheet);
    const Sheet *sheet() const { return m_sheet.get(); }
    /// Greys the drawing while the inputs do not describe it.
    void setStale(bool stale);
    bool isStale() const { return m_stale; }

    /// Pixels per mm, and the point of the sheet at the view's centre.
    double scale() const { return m_scale; }
    QPointF focus() const { return m_focus; }
    QPointF toView(double x, double y) const;
    QPointF toSheet(QPointF point) const;

    /// The tooltip's text for a point of the view; empty away from every tube.
    QString describe(QPointF point) const;

    /// The tube the edit keys act on: the one last clicked, or else the one at the view's
    /// centre, which the arrows bring any tube to.
    const layout::Tube *target() const;
    /// Marks the tube at a point of the view, as a click does.
    void markAt(QPointF point);
    /// Asks for an edit of the target tube, as its key does; false when it has none.
    bool editTarget(TubeEdit edit);

signals:
    /// An edit of a tube's site is wanted.
    void tubeEdited(layout::Site site, layout_ui::TubeEdit edit);

public slots:
    /// Shows the whole sheet.
    void fit();

protected:
    void paintEvent(QPaintEvent *event) override;
    void wheelEvent(QWheelEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void contextMenuEvent(QContextMenuEvent *event) override;
    bool event(QEvent *event) override;

private:
    void zoom(double factor, QPointF about);
    /// The menu of the edits of a tube, at a point of the view.
    void showEditMenu(const layout::Tube &tube, QPoint at);

    std::shared_ptr<const Sheet> m_sheet;
    bool m_stale = false;
    bool m_fitted = true; ///< follows the window's size until the user zooms or pans
    double m_scale = 1;
    QPointF m_focus;
    QPointF m_dragFrom, m_pressedAt;
    bool m_dragging = false;
    /// The centre of the tube last clicked, mm: it stays on its site as the sheet is redrawn.
    std::optional<QPointF> m_mark;
    QMenu *m_menu = nullptr; ///< the edits of the tube marked
};

/// The drawings' legend under the live sheet: each pass's colour and its tubes.
class LegendView : public QWidget
{
    Q_OBJECT

public:
    explicit LegendView(QWidget *parent = nullptr);

    /// Shows a legend of a sheet's drawing, each line in the window's language with the
    /// swatch of its own layer.
    void setEntries(
        std::shared_ptr<const Sheet> sheet, const std::vector<report::LegendItem> &items);
    void setStale(bool stale);
    QStringList texts() const { return m_texts; }
    /// Each line's text and the name of its layer in the drawing.
    std::vector<std::pair<QString, QString>> entries() const;

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    static constexpr int kColumns = 4;
    qreal lineHeight() const;

    std::shared_ptr<const Sheet> m_sheet; ///< whose layers give the colours
    QStringList m_texts;
    std::vector<sheet::LegendEntry> m_entries; ///< the window's texts, with their layers
    bool m_stale = false;
};

} // namespace layout_ui
