#pragma once

#include "layout/options.h"
#include "layout/study.h"
#include "layout_ui/sheet_view.h"

#include <QFutureWatcher>
#include <QTimer>
#include <QWidget>

#include <array>
#include <memory>
#include <optional>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace layout_ui {

/// The inputs typed into a box, in the window's tab order.
enum class Input {
    Diameter,
    Tube,
    Pitch,
    LaneSpacing,
    Clearance,
    CentreTube,
    BendRadius,
    TieRods,
    BaffleCut
};
constexpr std::size_t kInputCount = 9;

/// What a finished study gives the window: the counts always, the drawing when it is small
/// enough to draw.
struct Study
{
    layout::Layout layout;
    std::shared_ptr<const Sheet> sheet; ///< none above sheet::kMaxDrawnTubes
    /// Why the layout could not be laid out, found only in laying it (too many tie rods).
    std::optional<layout::InputError> refused;
};

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
    QLineEdit *box(Input input) const { return m_boxes[static_cast<std::size_t>(input)]; }
    QLabel *reasonLabel(Input input) const { return m_reasons[static_cast<std::size_t>(input)]; }

    void inputsChanged();
    std::optional<layout::Inputs> readInputs();
    /// Marks a box with the reason it cannot be taken, or clears the mark for an empty reason.
    void markBox(Input input, const QString &reason);
    /// Greys the counts and the line under them while they are not of the inputs shown.
    void setCountsStale(bool stale);
    void startStudy();
    void studyFinished();
    void showCounts(const Study &study);
    void chooseDrawingFile();
    void chooseHolesFile();

    std::array<QLineEdit *, kInputCount> m_boxes {};
    std::array<QLabel *, kInputCount> m_reasons {};
    QComboBox *m_given = nullptr;
    QComboBox *m_pattern = nullptr;
    QComboBox *m_passes = nullptr;
    QComboBox *m_centring = nullptr;
    QComboBox *m_laneModel = nullptr;
    QCheckBox *m_gb151 = nullptr;
    QComboBox *m_bundle = nullptr;
    QLabel *m_passesReason = nullptr;
    QLabel *m_centringReason = nullptr;
    QLabel *m_gb151Reason = nullptr;
    QCheckBox *m_numbers = nullptr;
    SheetView *m_view = nullptr;
    QLineEdit *m_inCircle = nullptr;
    QLineEdit *m_laneRemoved = nullptr;
    QLineEdit *m_centreRemoved = nullptr;
    QLineEdit *m_total = nullptr;
    QLineEdit *m_perPass = nullptr;
    QLabel *m_arrangement = nullptr;
    QLabel *m_baffles = nullptr; ///< the baffle cuts' figures, the formulas' in grey
    LegendView *m_legend = nullptr;
    QLabel *m_status = nullptr;
    QPushButton *m_exportDrawing = nullptr;
    QPushButton *m_exportHoles = nullptr;

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
