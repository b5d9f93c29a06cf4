#pragma once

#include "layout/options.h"
#include "layout/study.h"
#include "layout_ui/sheet_view.h"
#include "report/summary.h"

#include <QFutureWatcher>
#include <QTimer>
#include <QWidget>

#include <exception>
#include <memory>
#include <optional>

class QCheckBox;
class QLabel;
class QPushButton;

namespace layout_ui {

class CountsPanel;
class FormPanel;

/// What a finished study gives the window: the counts and their summary always, the drawing
/// when it is small enough to draw.
struct Study
{
    layout::Layout layout;
    report::Summary summary;
    std::shared_ptr<const Sheet> sheet; ///< none above sheet::kMaxDrawnTubes
    /// Why the layout could not be laid out, found only in laying it (too many tie rods).
    std::optional<layout::InputError> refused;
};

/// Why an export or a study failed, in the window's language: the writers say it in English
/// for the command line.
QString failureText(const std::exception &failure);

/// The layout window: the inputs on the left, the tube sheet on the right, the counts below it.
/// The drawing follows the inputs a moment after the typing stops, counted on another thread so
/// that typing never waits; an input the study cannot take is marked with its reason, and the
/// last drawing stays, greyed.
class SheetWindow : public QWidget
{
    Q_OBJECT

public:
    explicit SheetWindow(QWidget *parent = nullptr);
    ~SheetWindow() override;

    /// Sets an input as korvane-layout's option of that name would (`--shell` as "shell").
    /// Returns the reason when the option is unknown or its value is not one of its choices.
    QString setOption(const QString &name, const QString &value);

    /// Shows the layout a command line describes: the options given, and korvane-layout's
    /// defaults for every other input. The options have been read without a problem.
    void applyOptions(const std::vector<layout::TypedOption> &options);

    /// The file name an export writes: as chosen, with the chosen type's extension added when
    /// it has none of the drawing types' (".svg", ".png", ".pdf", ".dxf").
    static QString withExtension(const QString &file, const QString &extension);

    /// Writes the drawing (.svg, .png, .pdf or .dxf) or the hole list (CSV) of the sheet shown,
    /// whole or not at all. Returns the reason on failure, empty on success.
    QString exportDrawing(const QString &file);
    QString exportHoles(const QString &file);

    /// The study whose drawing is shown, if any.
    const Study *shown() const { return m_shown.get(); }
    /// Whether a study is waiting or running.
    bool isBusy() const;

    /// Keeps the inputs and the window's geometry for the next run, and reads them back.
    void saveSettings() const;
    void loadSettings();

signals:
    /// A study has been shown, or the inputs were found invalid.
    void settled();

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    QLayout *createInputs();
    QLayout *createSheet();
    void setUpKeyboard();

    void inputsChanged();
    std::optional<layout::Inputs> readInputs();
    /// Greys the drawing, the counts and the lines under them, and stops the exports.
    void showStale();
    void startStudy();
    void studyFinished();
    void showStudy(const std::shared_ptr<Study> &study);
    void chooseDrawingFile();
    void chooseHolesFile();

    FormPanel *m_form = nullptr;
    QCheckBox *m_numbers = nullptr;
    QPushButton *m_exportDrawing = nullptr;
    QPushButton *m_exportHoles = nullptr;
    QPushButton *m_fit = nullptr;
    SheetView *m_view = nullptr;
    LegendView *m_legend = nullptr;
    CountsPanel *m_counts = nullptr;
    QLabel *m_status = nullptr;

    QTimer m_pause; ///< the short pause after typing before a study starts
    QFutureWatcher<std::shared_ptr<Study>> m_watcher;
    std::optional<layout::Inputs> m_wanted; ///< the inputs the next study counts
    bool m_again = false; ///< the inputs changed while a study ran
    /// From a study's start until its result is shown: the future ends a little before that.
    bool m_counting = false;
    std::shared_ptr<Study> m_shown;
    bool m_loading = true; ///< the inputs are being set, not typed: nothing to keep yet
};

} // namespace layout_ui
