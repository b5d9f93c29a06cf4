// The window's design: its title, the edits of single tubes, undo and redo over them and the
// inputs alike, the design file opened and saved, the recent ones, and the design kept in the
// settings at every change, so that a crash or a kill loses nothing.

#include "layout_ui/sheet_window.h"

#include "files/atomic_file.h"
#include "layout_ui/counts_panel.h"
#include "layout_ui/form_panel.h"
#include "layout_ui/messages.h"

#include <QCheckBox>
#include <QEvent>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>
#include <QSettings>
#include <QShortcut>
#include <QToolButton>

#include <algorithm>

namespace layout_ui {

namespace {

    constexpr int kMostRecent = 8;
    constexpr const char *kCurrentKey = "design/current"; ///< the design as it stands
    constexpr const char *kFileKey = "design/file";
    constexpr const char *kSavedKey = "design/saved"; ///< what its file holds
    constexpr const char *kRecentKey = "recentDesigns";

    /// Leaves the undo and redo keys to the window, over a box's own undo of its text: the
    /// window's undo takes back the box's typing too, and edits and other boxes as well.
    class WindowUndoKeys : public QObject
    {
    public:
        using QObject::QObject;

    protected:
        bool eventFilter(QObject *watched, QEvent *event) override
        {
            if (event->type() == QEvent::ShortcutOverride) {
                auto *key = static_cast<QKeyEvent *>(event);
                if (key->matches(QKeySequence::Undo) || key->matches(QKeySequence::Redo)
                    || key->keyCombination() == QKeyCombination(Qt::ControlModifier, Qt::Key_Y)) {
                    event->ignore();
                    return true;
                }
            }
            return QObject::eventFilter(watched, event);
        }
    };

    QString openFailure(const QString &file, const QString &reason)
    {
        return SheetWindow::tr("无法打开设计 %1：%2").arg(file, reason);
    }

} // namespace

QLayout *SheetWindow::createDesignTools()
{
    m_title = new QLineEdit;
    m_title->setObjectName(QStringLiteral("designTitle"));
    m_title->setPlaceholderText(tr("无标题"));
    auto *label = new QLabel(tr("设计标题(&J)"));
    label->setBuddy(m_title);
    m_title->setAccessibleName(withoutKey(label->text()));
    m_open = new QToolButton;
    m_open->setObjectName(QStringLiteral("openDesign"));
    m_open->setText(tr("打开设计…"));
    m_open->setAccessibleName(tr("打开设计"));
    m_open->setToolTip(
        tr("打开设计 (%1)；箭头列出最近的设计")
            .arg(QKeySequence(QKeySequence::Open).toString(QKeySequence::NativeText)));
    m_open->setPopupMode(QToolButton::MenuButtonPopup);
    m_recent = new QMenu(tr("最近的设计"), m_open);
    m_recent->setObjectName(QStringLiteral("recentDesigns"));
    m_open->setMenu(m_recent);
    m_save = windowButton(tr("保存设计"), "saveDesign");
    m_saveAs = windowButton(tr("另存设计…"), "saveDesignAs");
    m_undo = windowButton(tr("撤销"), "undo");
    m_redo = windowButton(tr("重做"), "redo");

    connect(m_title, &QLineEdit::textEdited, this, &SheetWindow::inputsChanged);
    connect(m_open, &QToolButton::clicked, this, &SheetWindow::chooseDesignToOpen);
    connect(m_save, &QPushButton::clicked, this, &SheetWindow::saveOrAsk);
    connect(m_saveAs, &QPushButton::clicked, this, &SheetWindow::chooseFileToSave);
    connect(m_undo, &QPushButton::clicked, this, &SheetWindow::undo);
    connect(m_redo, &QPushButton::clicked, this, &SheetWindow::redo);
    setUpDesignKeys();
    updateRecentMenu();

    auto *row = new QHBoxLayout;
    row->addWidget(label);
    row->addWidget(m_title, 1);
    for (QWidget *tool :
        std::initializer_list<QWidget *> { m_open, m_save, m_saveAs, m_undo, m_redo })
        row->addWidget(tool);
    return row;
}

void SheetWindow::setUpDesignKeys()
{
    const auto bind = [this](const QKeySequence &key, auto slot) {
        auto *shortcut = new QShortcut(key, this);
        connect(shortcut, &QShortcut::activated, this, slot);
    };
    bind(QKeySequence::Open, &SheetWindow::chooseDesignToOpen);
    bind(QKeySequence::Save, &SheetWindow::saveOrAsk);
    bind(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S), &SheetWindow::chooseFileToSave);
    bind(QKeySequence::Undo, &SheetWindow::undo);
    bind(QKeySequence(Qt::CTRL | Qt::Key_Y), &SheetWindow::redo);
    bind(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z), &SheetWindow::redo);
    const QString key = QKeySequence(QKeySequence::Save).toString(QKeySequence::NativeText);
    m_save->setToolTip(tr("保存设计 (%1)").arg(key));
    m_undo->setToolTip(QStringLiteral("%1 (%2)").arg(
        m_undo->text(), QKeySequence(QKeySequence::Undo).toString(QKeySequence::NativeText)));
    m_redo->setToolTip(QStringLiteral("%1 (%2)").arg(
        m_redo->text(), QKeySequence(Qt::CTRL | Qt::Key_Y).toString(QKeySequence::NativeText)));
    auto *keys = new WindowUndoKeys(this);
    m_title->installEventFilter(keys);
    for (QWidget *control : m_form->controlWidgets())
        control->installEventFilter(keys);
}

DesignState SheetWindow::state() const
{
    return { m_form->values(), m_title->text().toStdString(), m_edits };
}

report::Design SheetWindow::design() const
{
    return report::designNow(m_design, m_form->values(), m_title->text().toStdString(), m_edits);
}

bool SheetWindow::isUnsaved() const
{
    const report::Design now = design();
    if (m_file.isEmpty() && m_savedText.empty())
        return !now.edits.empty() || now.title.has_value();
    return report::designText(now) != m_savedText;
}

void SheetWindow::designChanged(const std::string &group)
{
    if (!m_loading && !m_restoring) {
        m_history.record(state(), group);
        m_discarded = false;
        saveSettings();
    }
    updateTitleBar();
}

void SheetWindow::updateTitleBar()
{
    QString name = m_title->text().trimmed();
    if (name.isEmpty() && !m_file.isEmpty())
        name = QFileInfo(m_file).fileName();
    // A star before the name while there are changes not saved, as editors mark them.
    const QString title =
        name.isEmpty() ? tr("Korvane 管板布置") : tr("%1 — Korvane 管板布置").arg(name);
    setWindowTitle(isUnsaved() ? QStringLiteral("*") + title : title);
    m_undo->setEnabled(canUndo());
    m_redo->setEnabled(canRedo());
}

void SheetWindow::editTube(const layout::Site &site, TubeEdit edit)
{
    m_edits =
        report::editedAs(m_edits, site, edit, m_wanted ? m_wanted->bundle : layout::Bundle::Fixed);
    designChanged({});
    studyNow();
}

void SheetWindow::setDesignTitle(const QString &title)
{
    m_title->setText(title);
    inputsChanged();
}

void SheetWindow::studyNow()
{
    if (!wantInputs())
        return;
    // No typing to wait for: the counts are a count away and come before the drawing.
    try {
        m_counts->show(report::summarise(layout::studyOne(*m_wanted)));
        m_counts->setStale(false);
    } catch (const layout::InputError &) {
        // Said when the study that follows finds it too.
    }
    m_pause.stop();
    startStudy();
}

void SheetWindow::restore(const DesignState &state)
{
    m_restoring = true;
    m_edits = state.edits;
    m_title->setText(QString::fromStdString(state.title));
    m_form->setValues(state.values);
    m_restoring = false;
    m_discarded = false;
    saveSettings();
    updateTitleBar();
    studyNow();
}

void SheetWindow::undo()
{
    if (canUndo())
        restore(m_history.undo());
}

void SheetWindow::redo()
{
    if (canRedo())
        restore(m_history.redo());
}

QString SheetWindow::openDesign(const QString &file)
{
    QFile in(file);
    if (!in.open(QIODevice::ReadOnly))
        return openFailure(file, in.errorString());
    // One byte more than the largest read, so that a larger file is refused unread.
    const QByteArray bytes = in.read(static_cast<qint64>(report::kMaxDesignBytes) + 1);
    if (in.error() != QFileDevice::NoError)
        return openFailure(file, in.errorString());
    report::Design read;
    try {
        read = report::readDesign(bytes.toStdString());
    } catch (const report::DesignError &error) {
        return openFailure(file, rendered(error.reason()));
    }
    const report::Filled filled = report::valuesOf(read.inputs);
    if (!filled.refused.empty())
        return openFailure(file, rendered(filled.refused.front()));
    // Asked only now that the file is known to be a design: a bad one changes nothing.
    if (!mayReplaceDesign())
        return {};
    showDesign(read, filled.values, QFileInfo(file).absoluteFilePath());
    return {};
}

void SheetWindow::showDesign(
    const report::Design &read, const report::Values &values, const QString &file)
{
    m_design = read;
    m_file = file;
    m_savedText = report::designText(read);
    m_restoring = true;
    m_edits = read.edits;
    m_title->setText(QString::fromStdString(read.title.value_or(std::string())));
    m_form->setValues(values);
    m_restoring = false;
    m_discarded = false;
    m_history.reset(state());
    rememberRecent(file);
    saveSettings();
    updateTitleBar();
    studyNow();
}

QString SheetWindow::saveDesign(const QString &file)
{
    const report::Design now = design();
    const std::string text = report::designText(now);
    try {
        files::AtomicFile target(QFile::encodeName(file).toStdString());
        target.write(text);
        target.commit();
    } catch (const std::exception &error) {
        return failureText(error);
    }
    m_design = now;
    m_file = QFileInfo(file).absoluteFilePath();
    m_savedText = text;
    rememberRecent(m_file);
    saveSettings();
    updateTitleBar();
    return {};
}

bool SheetWindow::mayReplaceDesign()
{
    if (!isUnsaved())
        return true;
    QMessageBox box(QMessageBox::Warning, tr("Korvane 管板布置"), tr("设计有未保存的更改。"),
        QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel, this);
    box.setObjectName(QStringLiteral("unsavedQuestion"));
    box.setInformativeText(tr("要先保存吗？不保存，这些更改就会丢失。"));
    box.setDefaultButton(QMessageBox::Save);
    switch (box.exec()) {
    case QMessageBox::Save:
        return saveOrAsk();
    case QMessageBox::Discard:
        m_discarded = true;
        return true;
    default:
        return false;
    }
}

bool SheetWindow::saveOrAsk()
{
    if (m_file.isEmpty())
        return chooseFileToSave();
    const QString failure = saveDesign(m_file);
    m_status->setText(failure.isEmpty() ? tr("已保存 %1").arg(m_file) : failure);
    return failure.isEmpty();
}

bool SheetWindow::chooseFileToSave()
{
    const QString file = askForFile(this, tr("保存设计"), { tr("Korvane 设计 (*.json)") });
    if (file.isEmpty())
        return false;
    const QString failure = saveDesign(file);
    m_status->setText(failure.isEmpty() ? tr("已保存 %1").arg(file) : failure);
    return failure.isEmpty();
}

void SheetWindow::chooseDesignToOpen()
{
    const QString file = QFileDialog::getOpenFileName(this, tr("打开设计"),
        m_file.isEmpty() ? QString() : QFileInfo(m_file).absolutePath(),
        tr("Korvane 设计 (*.json);;所有文件 (*)"));
    if (!file.isEmpty())
        openRecent(file);
}

void SheetWindow::openRecent(const QString &file)
{
    const QString failure = openDesign(file);
    if (!failure.isEmpty())
        m_status->setText(failure);
}

QStringList SheetWindow::recentDesigns() const
{
    return QSettings().value(QLatin1String(kRecentKey)).toStringList();
}

void SheetWindow::rememberRecent(const QString &file)
{
    QStringList recent = recentDesigns();
    recent.removeAll(file);
    recent.prepend(file);
    while (recent.size() > kMostRecent)
        recent.removeLast();
    QSettings().setValue(QLatin1String(kRecentKey), recent);
    updateRecentMenu();
}

void SheetWindow::updateRecentMenu()
{
    m_recent->clear();
    const QStringList recent = recentDesigns();
    for (int i = 0; i < static_cast<int>(recent.size()); ++i) {
        const QString &file = recent[i];
        QAction *action = m_recent->addAction(
            QStringLiteral("&%1 %2").arg(i + 1).arg(QFileInfo(file).fileName()));
        action->setToolTip(file);
        connect(action, &QAction::triggered, this, [this, file] { openRecent(file); });
    }
    m_recent->setEnabled(!recent.isEmpty());
}

void SheetWindow::saveSettings() const
{
    QSettings settings;
    m_form->save(settings);
    settings.setValue(QStringLiteral("numbers"), m_numbers->isChecked());
    settings.setValue(QStringLiteral("geometry"), saveGeometry());
    if (m_discarded) {
        // The changes were let go: the next run starts from the inputs without them.
        for (const char *key : { kCurrentKey, kFileKey, kSavedKey })
            settings.remove(QLatin1String(key));
        return;
    }
    settings.setValue(
        QLatin1String(kCurrentKey), QString::fromStdString(report::designText(design())));
    settings.setValue(QLatin1String(kFileKey), m_file);
    settings.setValue(QLatin1String(kSavedKey), QString::fromStdString(m_savedText));
}

void SheetWindow::loadSettings()
{
    QSettings settings;
    m_loading = true;
    m_form->load(settings);
    m_numbers->setChecked(settings.value(QStringLiteral("numbers"), false).toBool());
    const QByteArray geometry = settings.value(QStringLiteral("geometry")).toByteArray();
    if (!geometry.isEmpty())
        restoreGeometry(geometry);
    // The design as it stood at its last change, however the window ended.
    const std::string current = settings.value(QLatin1String(kCurrentKey)).toString().toStdString();
    if (!current.empty()) {
        try {
            const report::Design kept = report::readDesign(current);
            const std::string saved =
                settings.value(QLatin1String(kSavedKey)).toString().toStdString();
            m_design = saved.empty() ? report::Design() : report::readDesign(saved);
            m_savedText = saved;
            m_file = settings.value(QLatin1String(kFileKey)).toString();
            m_edits = kept.edits;
            m_title->setText(QString::fromStdString(kept.title.value_or(std::string())));
        } catch (const report::DesignError &) {
            // A damaged setting: the inputs alone come back.
            m_design = {};
            m_savedText.clear();
            m_file.clear();
            m_edits.clear();
        }
    }
    m_loading = false;
    inputsChanged();
    m_history.reset(state());
    updateTitleBar();
}

} // namespace layout_ui
