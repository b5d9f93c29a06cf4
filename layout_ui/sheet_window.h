#pragma once

#include "layout/options.h"
#include "layout/study.h"
#include "layout_ui/history.h"
#include "layout_ui/sheet_view.h"
#include "report/design.h"
#include "report/summary.h"

#include <QFutureWatcher>
#include <QTimer>
#include <QWidget>

#include <exception>
#include <memory>
#include <optional>

class QCheckBox;
class QLabel;
class QLineEdit;
class QMenu;
class QPushButton;
class QToolButton;

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

/// Asks for a file to write, in a dialog whose file types each name their extension; the name
/// comes back with the chosen type's extension, and empty when cancelled. A file the extension
/// turns the name into is only replaced once the user says so: the dialog asked about the name
/// as typed.
QString askForFile(QWidget *parent, const QString &title, const QStringList &types);

/// A push button with its name for the tests and a screen reader's name without its key.
QPushButton *windowButton(const QString &text, const char *objectName);

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

    /// Keeps the inputs and the window's geometry for the next run, and reads them back. The
    /// design, its edits included, is kept at every change, so it comes back after a kill.
    void saveSettings() const;
    void loadSettings();

    /// Opens a design file, its inputs and edits in place of the window's. Returns the reason
    /// it could not, empty on success; the design shown stays as it was on failure.
    QString openDesign(const QString &file);
    /// Writes the design shown to a file, whole or not at all, and takes it as the design's
    /// file. Returns the reason on failure, empty on success.
    QString saveDesign(const QString &file);
    /// Asks, when the design has changes not saved, whether to save them first: true when they
    /// are saved or may go, false to keep the window as it is.
    bool mayReplaceDesign();
    /// Whether the design has changes its file (or, without one, a file) lacks.
    bool isUnsaved() const;
    QString designFile() const { return m_file; }
    QStringList recentDesigns() const;

    /// Edits a tube's site as the sheet's menu and keys do.
    void editTube(const layout::Site &site, TubeEdit edit);
    const std::vector<layout::Edit> &edits() const { return m_edits; }
    void setDesignTitle(const QString &title);
    /// Undo and redo over the inputs, the title and the edits alike.
    void undo();
    void redo();
    bool canUndo() const { return m_history.canUndo(); }
    bool canRedo() const { return m_history.canRedo(); }

signals:
    /// A study has been shown, or the inputs were found invalid.
    void settled();

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    QLayout *createInputs();
    QLayout *createSheet();
    QLayout *createDesignTools();
    void setUpKeyboard();
    void setUpDesignKeys();

    DesignState state() const;
    /// The design as the file would hold it: the file's own keys, the inputs as typed.
    report::Design design() const;
    /// Records a change of the design in the history and the settings; `group` as History's.
    void designChanged(const std::string &group);
    /// Shows a state of the history: its inputs, title and edits.
    void restore(const DesignState &state);
    /// The counts of the inputs at once, then the drawing without the typing's pause.
    void studyNow();
    void updateTitleBar();
    void updateRecentMenu();
    void chooseDesignToOpen();
    void openRecent(const QString &file);
    /// Saves to the design's file, or asks for one; false when nothing was saved.
    bool saveOrAsk();
    bool chooseFileToSave();
    void rememberRecent(const QString &file);
    /// Shows a design read from a file in place of the window's.
    void showDesign(const report::Design &read, const report::Values &values, const QString &file);
    /// Reads the inputs and marks their problems; false, with the drawing greyed, when they do
    /// not describe a layout.
    bool wantInputs();

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
    QLineEdit *m_title = nullptr;
    QToolButton *m_open = nullptr;
    QMenu *m_recent = nullptr;
    QPushButton *m_save = nullptr, *m_saveAs = nullptr, *m_undo = nullptr, *m_redo = nullptr;

    History m_history;
    std::vector<layout::Edit> m_edits;
    report::Design m_design; ///< the file's: its title and the keys this version does not know
    QString m_file; ///< the design's file; empty for one never saved
    std::string m_savedText; ///< what the file holds; empty for none
    bool m_restoring = false; ///< a state of the history is being shown, not made
    bool m_discarded = false; ///< the designer chose to lose the changes not saved

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
