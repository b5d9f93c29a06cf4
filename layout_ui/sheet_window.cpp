#include "layout_ui/sheet_window.h"

#include "layout_ui/counts_panel.h"
#include "layout_ui/form_panel.h"
#include "layout_ui/messages.h"
#include "report/reasons.h"

#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QToolButton>
#include <QVBoxLayout>
#include <QtConcurrent/QtConcurrentRun>

namespace layout_ui {

namespace {

    /// Long enough that a study does not start at every key, short enough to feel live.
    constexpr int kPauseMs = 250;

} // namespace

QPushButton *windowButton(const QString &text, const char *objectName)
{
    auto *made = new QPushButton(text);
    made->setObjectName(QLatin1String(objectName));
    made->setAccessibleName(QString(text).remove(QLatin1Char('&')));
    return made;
}

SheetWindow::SheetWindow(QWidget *parent)
    : QWidget(parent)
{
    setObjectName(QStringLiteral("SheetWindow"));
    setWindowTitle(tr("Korvane 管板布置"));
    auto *whole = new QHBoxLayout(this);
    whole->addLayout(createInputs());
    whole->addLayout(createSheet(), 1);
    setUpKeyboard();

    connect(m_form, &FormPanel::changed, this, &SheetWindow::inputsChanged);
    connect(m_view, &SheetView::tubeEdited, this, &SheetWindow::editTube);
    connect(m_fit, &QPushButton::clicked, m_view, &SheetView::fit);
    connect(m_exportDrawing, &QPushButton::clicked, this, &SheetWindow::chooseDrawingFile);
    connect(m_exportHoles, &QPushButton::clicked, this, &SheetWindow::chooseHolesFile);
    m_pause.setSingleShot(true);
    m_pause.setInterval(kPauseMs);
    connect(&m_pause, &QTimer::timeout, this, &SheetWindow::startStudy);
    connect(&m_watcher, &QFutureWatcher<std::shared_ptr<Study>>::finished, this,
        &SheetWindow::studyFinished);

    resize(1100, 720);
    inputsChanged();
    m_loading = false;
    m_history.reset(state());
    updateTitleBar();
}

SheetWindow::~SheetWindow()
{
    // A study still counting holds nothing of the window's, but must end before it goes.
    m_watcher.waitForFinished();
}

QLayout *SheetWindow::createInputs()
{
    m_form = new FormPanel;
    m_numbers = new QCheckBox(tr("导出时标注管号(&M)"));
    m_numbers->setObjectName(QStringLiteral("numbers"));
    m_numbers->setAccessibleName(m_numbers->text().remove(QLatin1Char('&')));
    m_exportDrawing = windowButton(tr("导出图纸(&X)…"), "exportDrawing");
    m_exportHoles = windowButton(tr("导出管孔表(&H)…"), "exportHoles");
    auto *left = new QVBoxLayout;
    left->addWidget(m_form);
    left->addWidget(m_numbers);
    left->addWidget(m_exportDrawing);
    left->addWidget(m_exportHoles);
    left->addStretch();
    return left;
}

QLayout *SheetWindow::createSheet()
{
    m_fit = windowButton(tr("适合窗口(&F)"), "fit");
    m_status = new QLabel;
    m_status->setObjectName(QStringLiteral("status"));
    m_status->setWordWrap(true);
    m_view = new SheetView;
    m_view->setAccessibleName(tr("管板图"));
    m_legend = new LegendView;
    m_counts = new CountsPanel;

    auto *tools = new QHBoxLayout;
    tools->addWidget(m_fit);
    tools->addWidget(m_status, 1);
    auto *right = new QVBoxLayout;
    right->addLayout(createDesignTools());
    right->addLayout(tools);
    right->addWidget(m_view, 1);
    right->addWidget(m_legend);
    right->addWidget(m_counts);
    return right;
}

void SheetWindow::setUpKeyboard()
{
    // The keyboard goes down the inputs, then to the sheet and what acts on it.
    std::vector<QWidget *> order = m_form->controlWidgets();
    order.insert(order.begin(), m_title);
    order.insert(order.end(),
        std::initializer_list<QWidget *> { m_numbers, m_exportDrawing, m_exportHoles, m_open,
            m_save, m_saveAs, m_undo, m_redo, m_fit, m_view });
    for (QWidget *count : m_counts->countWidgets())
        order.push_back(count);
    for (std::size_t i = 0; i + 1 < order.size(); ++i)
        setTabOrder(order[i], order[i + 1]);
    // A designer starts with the diameter: the first box.
    for (QWidget *control : m_form->controlWidgets())
        if (qobject_cast<QLineEdit *>(control)) {
            control->setFocus();
            break;
        }
}

bool SheetWindow::isBusy() const
{
    return m_pause.isActive() || m_counting;
}

QString SheetWindow::setOption(const QString &name, const QString &value)
{
    const auto refused = m_form->setOption(name.toStdString(), value.toStdString());
    return refused ? rendered(*refused) : QString();
}

void SheetWindow::applyOptions(const std::vector<layout::TypedOption> &options)
{
    m_loading = true;
    m_form->setValues(report::valuesOf(options).values);
    m_loading = false;
    inputsChanged();
}

std::optional<layout::Inputs> SheetWindow::readInputs()
{
    // The controls as korvane-layout's options, read by the same function: an empty box is an
    // option not given.
    const layout::Reading reading = layout::readLayout(report::typedOptions(m_form->values()));
    m_form->markProblems(reading.problems);
    if (!reading.ok())
        return std::nullopt;
    layout::Inputs inputs = reading.inputs;
    inputs.edits = m_edits;
    inputs.title = m_title->text().toStdString();
    return inputs;
}

void SheetWindow::showStale()
{
    m_view->setStale(true);
    m_counts->setStale(true);
    m_legend->setStale(true);
    m_exportDrawing->setEnabled(false);
    m_exportHoles->setEnabled(false);
}

void SheetWindow::inputsChanged()
{
    if (m_restoring)
        return;
    // Keys typed into one box in a row are one step to undo.
    const QWidget *typing = QApplication::focusWidget();
    designChanged(typing ? typing->objectName().toStdString() : std::string());
    if (wantInputs())
        m_pause.start();
}

bool SheetWindow::wantInputs()
{
    m_wanted = readInputs();
    if (m_wanted)
        return true;
    m_pause.stop();
    showStale();
    m_status->setText(m_shown ? translated(report::kStaleDrawing) : QString());
    emit settled();
    return false;
}

void SheetWindow::startStudy()
{
    if (!m_wanted)
        return;
    if (m_watcher.isRunning()) {
        m_again = true;
        return;
    }
    m_again = false;
    m_counting = true;
    m_status->setText(translated(report::kCounting));
    const layout::Inputs inputs = *m_wanted;
    m_watcher.setFuture(QtConcurrent::run([inputs]() -> std::shared_ptr<Study> {
        auto study = std::make_shared<Study>();
        try {
            study->layout = layout::studyOne(inputs);
        } catch (const layout::InputError &error) {
            // Said in the window, not thrown across threads.
            study->refused = error;
            return study;
        }
        study->summary = report::summarise(study->layout);
        if (!study->summary.notDrawn)
            study->sheet = std::make_shared<const Sheet>(study->layout);
        return study;
    }));
}

void SheetWindow::studyFinished()
{
    std::shared_ptr<Study> study;
    QString failure;
    try {
        study = m_watcher.result();
    } catch (const std::exception &error) {
        failure = tr("无法计算：%1").arg(failureText(error));
    }
    m_counting = false;
    if (m_again) {
        startStudy();
        return;
    }
    if (study && study->refused) {
        // Found only by laying the tubes out, such as more tie rods than the edge takes: the
        // box is marked as the checks mark theirs.
        failure = translated(report::reasonOf(*study->refused));
        m_form->markProblem(*study->refused);
        study.reset();
    }
    if (!study) {
        m_status->setText(failure);
        showStale();
        emit settled();
        return;
    }
    showStudy(study);
    emit settled();
}

void SheetWindow::showStudy(const std::shared_ptr<Study> &study)
{
    m_counts->show(study->summary);
    m_counts->setStale(!m_wanted);
    m_form->showHints(study->summary.hints);
    if (study->sheet) {
        m_shown = study;
        m_view->setSheet(study->sheet);
        m_legend->setEntries(study->sheet, study->summary.legend);
        m_status->clear();
    } else {
        m_view->setStale(true);
        m_status->setText(rendered(*study->summary.notDrawn));
    }
    // Whatever the boxes now say decides whether the drawing stands for them.
    if (!m_wanted)
        m_view->setStale(true);
    m_legend->setStale(m_view->isStale());
    m_exportDrawing->setEnabled(study->sheet && m_wanted);
    m_exportHoles->setEnabled(study->sheet && m_wanted);
}

void SheetWindow::closeEvent(QCloseEvent *event)
{
    if (!mayReplaceDesign()) {
        event->ignore();
        return;
    }
    saveSettings();
    event->accept();
}

} // namespace layout_ui
