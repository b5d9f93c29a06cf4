#include "layout_ui/counts_panel.h"

#include "layout_ui/messages.h"

#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>

namespace layout_ui {

namespace {

    constexpr int kPerRow = 4;

} // namespace

CountsPanel::CountsPanel(QWidget *parent)
    : QWidget(parent)
{
    auto *grid = new QGridLayout(this);
    grid->setContentsMargins(0, 0, 0, 0);
    int row = 0, column = 0;
    for (const report::CountField &field : report::countFields()) {
        auto *box = new QLineEdit;
        box->setObjectName(QString::fromLatin1(field.objectName));
        box->setReadOnly(true);
        box->setMinimumWidth(90);
        const QString label = translated(field.label);
        box->setAccessibleName(withoutKey(label));
        auto *name = new QLabel(label);
        name->setBuddy(box);
        if (field.wide || column == kPerRow) {
            row += column > 0 ? 1 : 0;
            column = 0;
        }
        grid->addWidget(name, row, 2 * column);
        grid->addWidget(box, row, 2 * column + 1, 1, field.wide ? 2 * kPerRow - 1 : 1);
        column = field.wide ? kPerRow : column + 1;
        m_counts.push_back(box);
    }
    m_arrangement = new QLabel;
    m_arrangement->setObjectName(QStringLiteral("arrangement"));
    m_baffles = new QLabel;
    m_baffles->setObjectName(QStringLiteral("baffles"));
    m_baffles->setTextFormat(Qt::RichText);
    m_baffles->setWordWrap(true);
    m_baffles->setAccessibleName(translated(report::kBafflesName));
    m_baffles->hide();
    grid->addWidget(m_arrangement, row + 1, 0, 1, 2 * kPerRow);
    grid->addWidget(m_baffles, row + 2, 0, 1, 2 * kPerRow);
}

void CountsPanel::show(const report::Summary &summary)
{
    for (std::size_t i = 0; i < m_counts.size() && i < summary.counts.size(); ++i)
        m_counts[i]->setText(rendered(summary.counts[i]));
    m_arrangement->setText(rendered(summary.arrangement));
    QStringList baffles;
    for (const report::Message &baffle : summary.baffles)
        baffles << renderedRich(baffle);
    m_baffles->setText(baffles.join(QStringLiteral("<br>")));
    m_baffles->setVisible(!baffles.isEmpty());
    m_baffles->setToolTip(rendered(summary.baffleNote));
}

void CountsPanel::setStale(bool stale)
{
    // Grey, as the drawing is, and said to a screen reader too.
    const QString look = stale ? QStringLiteral("color: #9a9a9a;") : QString();
    const QString note = stale ? translated(report::kStaleNote) : QString();
    for (QLineEdit *count : m_counts) {
        count->setProperty("stale", stale);
        count->setStyleSheet(stale ? QStringLiteral("QLineEdit { %1 }").arg(look) : QString());
        count->setAccessibleDescription(note);
    }
    for (QLabel *line : { m_arrangement, m_baffles }) {
        line->setProperty("stale", stale);
        line->setStyleSheet(look);
    }
}

std::vector<QWidget *> CountsPanel::countWidgets() const
{
    return { m_counts.begin(), m_counts.end() };
}

} // namespace layout_ui
