#pragma once

#include "report/summary.h"

#include <QWidget>

#include <vector>

class QLabel;
class QLineEdit;

namespace layout_ui {

/// The counts under the drawing, their boxes from the summary's table, and the lines under
/// them: the arrangement and each baffle cut's figures. It shows a summary and composes
/// nothing of its own.
class CountsPanel : public QWidget
{
    Q_OBJECT

public:
    explicit CountsPanel(QWidget *parent = nullptr);

    void show(const report::Summary &summary);
    /// Greys the counts and the lines while they are not of the inputs shown.
    void setStale(bool stale);

    /// The count boxes, in order, for the keyboard.
    std::vector<QWidget *> countWidgets() const;

private:
    std::vector<QLineEdit *> m_counts;
    QLabel *m_arrangement = nullptr;
    QLabel *m_baffles = nullptr; ///< the formulas' values in grey
};

} // namespace layout_ui
