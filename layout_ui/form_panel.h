#pragma once

#include "report/form.h"
#include "report/summary.h"

#include <QWidget>

#include <optional>
#include <string>
#include <vector>

class QCheckBox;
class QComboBox;
class QFormLayout;
class QLabel;
class QLineEdit;
class QSettings;

namespace layout_ui {

/// The window's input column, built by walking the form's controls: a box, a choice or a
/// switch for each, with its reason under it. It holds the values and knows nothing of what
/// they mean: the form's walks turn them into options and back.
class FormPanel : public QWidget
{
    Q_OBJECT

public:
    explicit FormPanel(QWidget *parent = nullptr);

    /// What every control holds.
    report::Values values() const;
    /// Shows these values at once, a switch's ticking setting nothing else.
    void setValues(const report::Values &values);
    /// Sets what one option sets, as its switch's ticking would; the reason when it cannot.
    std::optional<report::Message> setOption(const std::string &name, const std::string &text);

    /// Marks every control with the reason of its problem, and clears the others.
    void markProblems(const std::vector<layout::InputError> &problems);
    /// Marks the control of one problem, found only in laying the tubes out.
    void markProblem(const layout::InputError &problem);
    /// What the boxes left empty stand for.
    void showHints(const std::vector<report::Hint> &hints);

    /// The controls in the form's order, for the keyboard.
    std::vector<QWidget *> controlWidgets() const;

    void save(QSettings &settings) const;
    void load(QSettings &settings);

signals:
    /// A value changed, by the user or by a call.
    void changed();

private:
    struct Entry
    {
        const report::Control *control = nullptr;
        QWidget *widget = nullptr;
        QLineEdit *box = nullptr;
        QComboBox *choice = nullptr;
        QCheckBox *check = nullptr;
        QLabel *reason = nullptr;
    };

    void addControl(QFormLayout *rows, const report::Control &control);
    Entry *entry(const std::string &id);
    void setValue(Entry &entry, const std::string &value);
    void mark(Entry &entry, const QString &reason);
    /// The resting controls greyed, after any change.
    void settle();

    std::vector<Entry> m_entries;
    bool m_setting = false; ///< values set at once: one change, no ticking
};

} // namespace layout_ui
