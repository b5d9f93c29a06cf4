#include "layout_ui/form_panel.h"

#include "layout_ui/messages.h"
#include "report/reasons.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QSettings>
#include <QVBoxLayout>

#include <algorithm>

namespace layout_ui {

namespace {

    /// A small sketch of a pattern's rows: the tubes about the middle one, turned as it is.
    QIcon patternIcon(const std::string &value)
    {
        QPixmap pixmap(32, 32);
        pixmap.fill(Qt::transparent);
        QPainter painter(&pixmap);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setPen(QPen(QColor(0x2f, 0x3b, 0x47), 1.2));
        painter.setBrush(QColor(0xd6, 0xe4, 0xf0));
        constexpr double kPitch = 10; // pixels
        for (const auto &[x, y] : report::patternSketch(value))
            painter.drawEllipse(QPointF(16 + x * kPitch, 16 + y * kPitch), 3.6, 3.6);
        return QIcon(pixmap);
    }

    QLabel *reasonLabel(const QString &objectName)
    {
        auto *reason = new QLabel;
        reason->setObjectName(objectName + QStringLiteral("Reason"));
        reason->setStyleSheet(QStringLiteral("color: #b03030"));
        reason->setWordWrap(true);
        reason->hide();
        return reason;
    }

} // namespace

FormPanel::FormPanel(QWidget *parent)
    : QWidget(parent)
{
    auto *rows = new QFormLayout(this);
    rows->setContentsMargins(0, 0, 0, 0);
    rows->setFieldGrowthPolicy(QFormLayout::AllNonFixedFieldsGrow);
    m_entries.reserve(report::controls().size());
    for (const report::Control &control : report::controls())
        addControl(rows, control);
    settle();
}

void FormPanel::addControl(QFormLayout *rows, const report::Control &control)
{
    Entry entry;
    entry.control = &control;
    const QString objectName = QString::fromLatin1(control.objectName);
    const QString label = translated(control.label);
    switch (control.widget) {
    case report::Widget::Box:
        entry.box = new QLineEdit;
        entry.widget = entry.box;
        if (control.placeholder)
            entry.box->setPlaceholderText(translated(control.placeholder));
        if (control.widest)
            entry.box->setMinimumWidth(
                entry.box->fontMetrics().horizontalAdvance(rendered(*control.widest)) + 16);
        connect(entry.box, &QLineEdit::textChanged, this, [this] { settle(); });
        break;
    case report::Widget::Choice:
        entry.choice = new QComboBox;
        entry.widget = entry.choice;
        if (control.patternIcons)
            entry.choice->setIconSize(QSize(32, 32));
        for (const report::Choice &one : control.choices) {
            if (control.patternIcons)
                entry.choice->addItem(patternIcon(one.value), translated(one.label));
            else
                entry.choice->addItem(translated(one.label));
        }
        connect(entry.choice, &QComboBox::currentIndexChanged, this, [this] { settle(); });
        break;
    case report::Widget::Switch:
        entry.check = new QCheckBox(label);
        entry.widget = entry.check;
        connect(entry.check, &QCheckBox::toggled, this, [this, &control](bool on) {
            // Ticked by the user or one option, it sets its choice as korvane-layout reads it.
            if (on && !m_setting && control.ticks.control)
                setValue(*this->entry(control.ticks.control), control.ticks.value);
            settle();
        });
        break;
    }
    entry.widget->setObjectName(objectName);
    entry.widget->setAccessibleName(QString(label).remove(QLatin1Char('&')));
    if (control.tooltip)
        entry.widget->setToolTip(translated(control.tooltip));
    entry.reason = reasonLabel(objectName);

    auto *column = new QVBoxLayout;
    column->setSpacing(1);
    column->addWidget(entry.widget);
    column->addWidget(entry.reason);
    if (control.widget == report::Widget::Switch) {
        rows->addRow(column);
    } else {
        auto *name = new QLabel(label);
        name->setBuddy(entry.widget);
        rows->addRow(name, column);
    }
    m_entries.push_back(entry);
}

FormPanel::Entry *FormPanel::entry(const std::string &id)
{
    for (Entry &one : m_entries)
        if (id == one.control->id)
            return &one;
    return nullptr;
}

report::Values FormPanel::values() const
{
    report::Values values;
    for (const Entry &one : m_entries) {
        std::string &value = values[one.control->id];
        if (one.box)
            value = one.box->text().toStdString();
        else if (one.choice)
            value = one.control
                        ->choices[static_cast<std::size_t>(std::max(0, one.choice->currentIndex()))]
                        .value;
        else
            value = one.check->isChecked() ? "1" : "";
    }
    return values;
}

void FormPanel::setValue(Entry &entry, const std::string &value)
{
    if (entry.box) {
        entry.box->setText(QString::fromStdString(value));
    } else if (entry.choice) {
        const auto &choices = entry.control->choices;
        const auto found = std::find_if(choices.begin(), choices.end(),
            [&value](const report::Choice &one) { return value == one.value; });
        entry.choice->setCurrentIndex(
            found == choices.end() ? 0 : static_cast<int>(found - choices.begin()));
    } else {
        entry.check->setChecked(value == "1");
    }
}

void FormPanel::setValues(const report::Values &values)
{
    // One change for the whole, after the last value.
    m_setting = true;
    for (Entry &one : m_entries) {
        const auto found = values.find(one.control->id);
        if (found != values.end())
            setValue(one, found->second);
    }
    m_setting = false;
    settle();
}

std::optional<report::Message> FormPanel::setOption(
    const std::string &name, const std::string &text)
{
    const report::Setting setting = report::settingOf(name, text);
    if (setting.refused)
        return setting.refused;
    for (const auto &[id, value] : setting.values)
        if (Entry *one = entry(id))
            setValue(*one, value);
    return std::nullopt;
}

void FormPanel::mark(Entry &entry, const QString &reason)
{
    if (entry.box) {
        entry.box->setProperty("invalid", !reason.isEmpty());
        entry.box->setStyleSheet(reason.isEmpty()
                ? QString()
                : QStringLiteral("QLineEdit { border: 2px solid #c03030; }"));
    }
    entry.widget->setAccessibleDescription(reason);
    entry.reason->setText(reason);
    entry.reason->setVisible(!reason.isEmpty());
}

void FormPanel::markProblems(const std::vector<layout::InputError> &problems)
{
    // Every control that cannot be taken is marked at once, each with its own reason; where
    // two fields share one (H and V), the first reason stands.
    std::vector<QString> reasons(m_entries.size());
    for (const layout::InputError &problem : problems) {
        const report::Control *control = report::controlOf(problem.field());
        for (std::size_t i = 0; control && i < m_entries.size(); ++i)
            if (m_entries[i].control == control && reasons[i].isEmpty())
                reasons[i] = translated(report::reasonOf(problem));
    }
    for (std::size_t i = 0; i < m_entries.size(); ++i)
        mark(m_entries[i], reasons[i]);
}

void FormPanel::markProblem(const layout::InputError &problem)
{
    if (const report::Control *control = report::controlOf(problem.field()))
        mark(*entry(control->id), translated(report::reasonOf(problem)));
}

void FormPanel::showHints(const std::vector<report::Hint> &hints)
{
    for (const report::Hint &hint : hints) {
        Entry *one = entry(hint.control);
        if (!one || !one->box)
            continue;
        const QString text = rendered(hint.text);
        one->box->setPlaceholderText(text);
        if (!one->control->tooltip)
            one->box->setToolTip(text);
    }
}

std::vector<QWidget *> FormPanel::controlWidgets() const
{
    std::vector<QWidget *> widgets;
    for (const Entry &one : m_entries)
        widgets.push_back(one.widget);
    return widgets;
}

void FormPanel::settle()
{
    const report::Values now = values();
    for (Entry &one : m_entries)
        one.widget->setEnabled(!report::rests(*one.control, now));
    if (!m_setting)
        emit changed();
}

void FormPanel::save(QSettings &settings) const
{
    // Choices by their place, as kept before; each control under its id.
    for (const Entry &one : m_entries) {
        const QString key = QString::fromLatin1(one.control->id);
        if (one.box)
            settings.setValue(key, one.box->text());
        else if (one.choice)
            settings.setValue(key, one.choice->currentIndex());
        else
            settings.setValue(key, one.check->isChecked());
    }
}

void FormPanel::load(QSettings &settings)
{
    // A first run starts from a sheet a designer knows, so the window never opens empty.
    report::Values values = report::valuesOf(report::exampleOptions()).values;
    for (const Entry &one : m_entries) {
        // An older window kept a choice under its widget's name.
        const QVariant kept = settings.value(QString::fromLatin1(one.control->id),
            settings.value(QString::fromLatin1(one.control->objectName)));
        if (!kept.isValid())
            continue;
        std::string &value = values[one.control->id];
        if (one.box) {
            value = kept.toString().toStdString();
        } else if (one.choice) {
            const int i = kept.toInt();
            const auto &choices = one.control->choices;
            value = choices[i >= 0 && i < static_cast<int>(choices.size()) ? i : 0].value;
        } else {
            value = kept.toBool() ? "1" : "";
        }
    }
    setValues(values);
}

} // namespace layout_ui
