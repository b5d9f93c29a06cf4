// The window's design, offscreen: edits made from the sheet count as korvane-layout counts them,
// undo and redo walk edits and inputs alike, a design saved and reopened is the same file byte
// for byte in the window and on the command line, a bad file changes nothing, unsaved changes
// are asked about, and a killed window's design comes back.

#include "layout/edits.h"
#include "window_support.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QMenu>
#include <QMessageBox>
#include <QProcess>
#include <QPushButton>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

#include <functional>
#include <vector>

namespace {

using layout_ui::SheetWindow;
using layout_ui::TubeEdit;
using window_support::apply;
using window_support::field;
using window_support::layoutJson;
using window_support::settle;

QString site(const layout::Tube &tube)
{
    return QString::fromStdString(layout::siteText(tube.site));
}

/// Tubes of the sheet shown that an edit may take, spread along the list.
std::vector<layout::Tube> editable(const SheetWindow &window, int count)
{
    std::vector<layout::Tube> open;
    for (const layout::Tube &tube : window.shown()->sheet->tubes)
        if (tube.removed == layout::Removed::No && !tube.tieRod && tube.y >= 0)
            open.push_back(tube);
    std::vector<layout::Tube> picked;
    for (int i = 0; i < count && !open.empty(); ++i)
        picked.push_back(open[open.size() * static_cast<std::size_t>(i + 1)
            / static_cast<std::size_t>(count + 1)]);
    return picked;
}

/// The window's counts beside korvane-layout's for the same options.
void sameCounts(const SheetWindow &window, const QStringList &options)
{
    const QJsonObject want = layoutJson(options);
    QVERIFY2(!want.isEmpty(), qPrintable(options.join(QLatin1Char(' '))));
    QCOMPARE(field(window, "total"), QString::number(want[QLatin1String("total")].toInteger()));
    QCOMPARE(field(window, "editRemoved"),
        QString::number(want[QLatin1String("edit_removed")].toInteger()));
    QCOMPARE(field(window, "dummyTubes"),
        QString::number(want[QLatin1String("dummy_tubes")].toInteger()));
}

QByteArray bytesOf(const QString &file)
{
    QFile in(file);
    return in.open(QIODevice::ReadOnly) ? in.readAll() : QByteArray();
}

void write(const QString &file, const QByteArray &bytes)
{
    QFile out(file);
    QVERIFY(out.open(QIODevice::WriteOnly | QIODevice::Truncate));
    out.write(bytes);
}

/// Answers the next modal question with the button given, as the designer would.
void answerNext(QMessageBox::StandardButton button, bool *asked)
{
    QTimer::singleShot(0, [button, asked] {
        auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
        if (!box)
            return;
        *asked = true;
        box->button(button)->click();
    });
}

/// The edit menu open on the sheet, if any.
QMenu *menuOpen()
{
    return qobject_cast<QMenu *>(QApplication::activePopupWidget());
}

/// Which of the open menu's edits are offered ("1") and which not ("0"), in its order.
QStringList offeredBy()
{
    QStringList offered;
    if (QMenu *menu = menuOpen())
        for (QAction *action : menu->actions())
            offered << QString::number(action->isEnabled());
    return offered;
}

void closeMenu()
{
    if (QMenu *menu = menuOpen())
        menu->close();
}

int runProgram(const QStringList &args, QByteArray *errors = nullptr)
{
    QProcess program;
    program.start(QStringLiteral(KORVANE_LAYOUT), args);
    program.waitForFinished(60000);
    if (errors)
        *errors = program.readAllStandardError();
    return program.exitCode();
}

} // namespace

class SheetDesignTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        QStandardPaths::setTestModeEnabled(true);
        QApplication::setOrganizationName(QStringLiteral("KorvaneTest"));
        QApplication::setApplicationName(QStringLiteral("korvane-sheet-design-test"));
        QSettings().clear();
    }

    void init() { QSettings().clear(); }

    void editsCountAsKorvaneLayoutAndUndoWalksThem_data()
    {
        QTest::addColumn<QStringList>("options");
        QTest::addColumn<QString>("larger");
        QTest::newRow("2 passes") << QStringList { "shell=600", "tube=25", "pitch=32", "passes=2" }
                                  << "shell=700";
        QTest::newRow("U-tubes, 4 passes, tie rods") << QStringList { "shell=800", "tube=19",
            "pitch=25", "passes=4", "bundle=u-tube", "tie-rods=8" }
                                                     << "shell=900";
        QTest::newRow("shifted lanes, 6 passes, a plate") << QStringList { "shell=1000", "tube=25",
            "pitch=32", "passes=6", "lanes=shift", "pattern=90", "impingement=200" }
                                                          << "shell=1100";
    }

    void editsCountAsKorvaneLayoutAndUndoWalksThem()
    {
        QFETCH(QStringList, options);
        QFETCH(QString, larger);
        SheetWindow window;
        apply(window, options);
        QVERIFY(settle(window));
        const std::vector<layout::Tube> tubes = editable(window, 2);
        QCOMPARE(tubes.size(), std::size_t { 2 });
        const QString a = site(tubes[0]), b = site(tubes[1]);
        // The options with the larger shell in place of the first.
        QStringList grown = options;
        grown.front() = larger;
        // Each step, and the options korvane-layout takes for the layout it leaves.
        const std::vector<std::pair<std::function<void()>, QStringList>> steps = {
            { [&] { window.editTube(tubes[0].site, TubeEdit::Remove); },
                options + QStringList { "remove=" + a } },
            { [&] { window.editTube(tubes[1].site, TubeEdit::Dummy); },
                options + QStringList { "remove=" + a, "dummy=" + b } },
            { [&] { apply(window, { larger }); },
                grown + QStringList { "remove=" + a, "dummy=" + b } },
            { [&] { window.editTube(tubes[0].site, TubeEdit::Restore); },
                grown + QStringList { "dummy=" + b } },
            { [&] { window.editTube(tubes[1].site, TubeEdit::Remove); },
                grown + QStringList { "remove=" + b } },
        };
        std::vector<QStringList> states { options };
        for (const auto &[step, want] : steps) {
            step();
            QVERIFY(settle(window));
            sameCounts(window, want);
            states.push_back(want);
        }
        QCOMPARE(window.edits().size(), std::size_t { 1 });
        // Back through every step, then forward again.
        for (std::size_t i = states.size() - 1; i-- > 0;) {
            QVERIFY(window.canUndo());
            window.undo();
            QVERIFY(settle(window));
            sameCounts(window, states[i]);
        }
        window.redo();
        window.redo();
        QVERIFY(settle(window));
        sameCounts(window, states[2]);
        // A new change drops what was undone.
        window.editTube(tubes[0].site, TubeEdit::Dummy);
        QVERIFY(!window.canRedo());
        QVERIFY(settle(window));
        sameCounts(window, options + QStringList { "dummy=" + a + "," + b });
    }

    void keysAndMenuEditTheTubeClicked()
    {
        SheetWindow window;
        window.resize(900, 700);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        apply(window, { "shell=600", "tube=25", "pitch=32", "passes=4" });
        QVERIFY(settle(window));
        auto *view = window.findChild<layout_ui::SheetView *>(QStringLiteral("sheet"));
        const layout::Tube tube = editable(window, 1).front();
        // A click marks the tube and offers its edits; the keys act on it as well.
        QTest::mouseClick(view, Qt::LeftButton, {}, view->toView(tube.x, tube.y).toPoint());
        QVERIFY(view->target());
        QCOMPARE(site(*view->target()), site(tube));
        QCOMPARE(offeredBy(), QStringList({ "1", "1", "0" }));
        closeMenu();
        const struct
        {
            Qt::Key key;
            bool edited;
            layout::EditAction action;
        } keys[] = { { Qt::Key_Delete, true, layout::EditAction::Remove },
            { Qt::Key_D, true, layout::EditAction::Dummy },
            { Qt::Key_Backspace, false, layout::EditAction::Remove } };
        for (const auto &key : keys) {
            QTest::keyClick(view, key.key);
            QVERIFY(settle(window));
            QCOMPARE(window.edits().empty(), !key.edited);
            if (key.edited)
                QCOMPARE(window.edits().front().action, key.action);
        }
        // A tube the lanes took has no edit: its menu offers none, and its key does nothing.
        const layout::Tube *lane = nullptr;
        for (const layout::Tube &one : window.shown()->sheet->tubes)
            if (one.removed == layout::Removed::Lane)
                lane = &one;
        QVERIFY(lane);
        const QPoint at = view->toView(lane->x, lane->y).toPoint();
        QContextMenuEvent rightClick(QContextMenuEvent::Mouse, at, view->mapToGlobal(at));
        QApplication::sendEvent(view, &rightClick);
        QCOMPARE(offeredBy(), QStringList({ "0", "0", "0" }));
        closeMenu();
        QTest::keyClick(view, Qt::Key_Delete);
        QVERIFY(window.edits().empty());
        // The menu of a kept tube does the edit chosen.
        const QPoint kept = view->toView(tube.x, tube.y).toPoint();
        QContextMenuEvent onKept(QContextMenuEvent::Mouse, kept, view->mapToGlobal(kept));
        QApplication::sendEvent(view, &onKept);
        QCOMPARE(offeredBy(), QStringList({ "1", "1", "0" }));
        menuOpen()->actions().at(1)->trigger();
        closeMenu();
        QVERIFY(settle(window));
        QCOMPARE(window.edits().size(), std::size_t { 1 });
        QCOMPARE(window.edits().front().action, layout::EditAction::Dummy);
        // Ctrl+Z in a box undoes the window's last step, not the box's typing alone.
        // The menu gone, the window has the keys again (offscreen, it is given them back).
        QTRY_VERIFY(!menuOpen());
        QApplication::setActiveWindow(&window);
        QTRY_COMPARE(QApplication::activeWindow(), &window);
        auto *box = window.findChild<QLineEdit *>(QStringLiteral("tube"));
        box->setFocus();
        QTest::keyClick(box, Qt::Key_Z, Qt::ControlModifier);
        QVERIFY(window.edits().empty());
        QTest::keyClick(box, Qt::Key_Y, Qt::ControlModifier);
        QCOMPARE(window.edits().size(), std::size_t { 1 });
    }

    void designsAreTheSameFileInTheWindowAndOnTheCommandLine()
    {
        QTemporaryDir folder;
        const QString fromCli = folder.filePath("cli.json"), fromWindow = folder.filePath("w.json"),
                      again = folder.filePath("again.json"), cliAgain = folder.filePath("c2.json");
        // korvane-layout's file, its inputs in its own order, with keys this version lacks.
        QCOMPARE(runProgram({ "--passes", "2", "--tube", "25", "--shell", "600", "--pitch", "32",
                     "--remove", "r1c1,r2c0", "--dummy", "r0c2", "--title", "E-101",
                     "--save-design", fromCli }),
            0);
        QByteArray bytes = bytesOf(fromCli);
        bytes.replace("\"edits\"", "\"later\": {\"kept\": true},\n  \"edits\"");
        write(fromCli, bytes);
        // As korvane-layout writes it back, the key kept at the end.
        QCOMPARE(runProgram({ "--design", fromCli, "--save-design", cliAgain }), 0);
        bytes = bytesOf(cliAgain);
        QVERIFY(bytes.contains("\"later\": {\n    \"kept\": true\n  }\n}"));
        SheetWindow window;
        QCOMPARE(window.openDesign(fromCli), QString());
        QVERIFY(settle(window));
        QVERIFY(!window.isUnsaved());
        QCOMPARE(window.windowTitle(), QStringLiteral("E-101 — Korvane 管板布置"));
        QCOMPARE(window.shown()->layout.inputs.title, std::string("E-101"));
        sameCounts(window,
            { "shell=600", "tube=25", "pitch=32", "passes=2", "remove=r1c1,r2c0", "dummy=r0c2" });
        QCOMPARE(window.saveDesign(fromWindow), QString());
        QCOMPARE(bytesOf(fromWindow), bytes);
        // Edited, saved, reopened by both: the same bytes each way.
        window.editTube({ 3, 1 }, TubeEdit::Dummy);
        window.setDesignTitle(QStringLiteral("E-101 rev B"));
        QVERIFY(window.isUnsaved());
        QVERIFY(window.windowTitle().startsWith(QLatin1Char('*')));
        QCOMPARE(window.saveDesign(fromWindow), QString());
        QVERIFY(!window.isUnsaved());
        QVERIFY(bytesOf(fromWindow).contains("\"later\""));
        QCOMPARE(runProgram({ "--design", fromWindow, "--save-design", cliAgain }), 0);
        QCOMPARE(bytesOf(cliAgain), bytesOf(fromWindow));
        SheetWindow other;
        QCOMPARE(other.openDesign(cliAgain), QString());
        QCOMPARE(other.saveDesign(again), QString());
        QCOMPARE(bytesOf(again), bytesOf(fromWindow));
        QCOMPARE(other.recentDesigns().front(), QFileInfo(again).absoluteFilePath());
        QVERIFY(other.recentDesigns().contains(QFileInfo(cliAgain).absoluteFilePath()));
    }

    void badFilesChangeNothing_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("reason");
        const QByteArray head = R"({"format": "korvane-design", "version": 1, )";
        QTest::newRow("not JSON") << QByteArray("{\"format\": ") << "不是 JSON 文件";
        QTest::newRow("another format") << QByteArray(R"({"format": "sketch", "version": 1})")
                                        << "不是设计文件：格式不是 korvane-design";
        QTest::newRow("a later version")
            << QByteArray(R"({"format": "korvane-design", "version": 2})")
            << "版本 2 的设计文件，由较新的 Korvane 保存：本程序读版本 1";
        QTest::newRow("over 16 MB") << QByteArray(16 * 1024 * 1024 + 1, ' ') << "大于 16 MB";
        QTest::newRow("an unknown action")
            << head + R"("edits": [{"site": "r1c1", "action": "plug"}]})"
            << "动作“plug”既不是 remove 也不是 dummy";
        QTest::newRow("a site not of the form")
            << head + R"("edits": [{"site": "row 1", "action": "remove"}]})"
            << "管位“row 1”不是 r3c-5 的形式";
        QTest::newRow("an unknown input") << head + R"("inputs": {"colour": "red"}})" << QString();
    }

    void badFilesChangeNothing()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, reason);
        QTemporaryDir folder;
        const QString good = folder.filePath("good.json"), bad = folder.filePath("bad.json");
        SheetWindow window;
        apply(window, { "shell=600", "tube=25", "pitch=32" });
        window.editTube({ 1, 1 }, TubeEdit::Remove);
        QCOMPARE(window.saveDesign(good), QString());
        const QByteArray saved = bytesOf(good);
        write(bad, bytes);
        const QString failure = window.openDesign(bad);
        QVERIFY2(
            failure.startsWith(QStringLiteral("无法打开设计 %1：").arg(bad)), qPrintable(failure));
        if (!reason.isEmpty())
            QCOMPARE(failure, QStringLiteral("无法打开设计 %1：%2").arg(bad, reason));
        QCOMPARE(window.designFile(), QFileInfo(good).absoluteFilePath());
        QCOMPARE(window.edits().size(), std::size_t { 1 });
        QVERIFY(!window.isUnsaved());
        // A save that fails keeps the file as it was, and the design unsaved.
        window.editTube({ 2, 0 }, TubeEdit::Dummy);
        QVERIFY(!window.saveDesign(good + QStringLiteral("/inside.json")).isEmpty());
        QVERIFY(window.isUnsaved());
        QCOMPARE(window.designFile(), QFileInfo(good).absoluteFilePath());
        QCOMPARE(bytesOf(good), saved);
    }

    void unsavedChangesAreAskedAbout()
    {
        QTemporaryDir folder;
        const QString first = folder.filePath("first.json"),
                      second = folder.filePath("second.json");
        QCOMPARE(runProgram({ "--shell", "700", "--tube", "25", "--pitch", "32", "--save-design",
                     second }),
            0);
        SheetWindow window;
        window.show();
        apply(window, { "shell=600", "tube=25", "pitch=32" });
        // Inputs alone never ask: the settings keep them, as before designs.
        QVERIFY(!window.isUnsaved());
        QVERIFY(window.close());
        window.show();
        window.editTube({ 1, 1 }, TubeEdit::Remove);
        bool asked = false;
        answerNext(QMessageBox::Cancel, &asked);
        QVERIFY(!window.close());
        QVERIFY(asked);
        QVERIFY(window.isVisible());
        asked = false;
        answerNext(QMessageBox::Cancel, &asked);
        QCOMPARE(window.openDesign(second), QString());
        QVERIFY(asked);
        QCOMPARE(window.designFile(), QString());
        QCOMPARE(window.edits().size(), std::size_t { 1 });
        // Saved at the question (to the file it already has), then replaced.
        QCOMPARE(window.saveDesign(first), QString());
        window.editTube({ 2, 0 }, TubeEdit::Dummy);
        asked = false;
        answerNext(QMessageBox::Save, &asked);
        QCOMPARE(window.openDesign(second), QString());
        QVERIFY(asked);
        QCOMPARE(window.designFile(), QFileInfo(second).absoluteFilePath());
        QVERIFY(window.edits().empty());
        QVERIFY(bytesOf(first).contains("r2c0"));
        // Let go at closing: the next run has the inputs but not the changes.
        window.editTube({ 1, 1 }, TubeEdit::Remove);
        asked = false;
        answerNext(QMessageBox::Discard, &asked);
        QVERIFY(window.close());
        QVERIFY(asked);
        SheetWindow next;
        next.loadSettings();
        QVERIFY(next.edits().empty());
        QCOMPARE(field(next, "diameter"), QStringLiteral("700"));
    }

    void aKilledWindowsDesignComesBack()
    {
        QTemporaryDir folder;
        const QString file = folder.filePath("design.json");
        QCOMPARE(runProgram({ "--shell", "600", "--tube", "25", "--pitch", "32", "--remove", "r1c1",
                     "--save-design", file }),
            0);
        // A real window, opened on the design and killed: nothing runs at its end.
        QProcess sheet;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("XDG_CONFIG_HOME"), folder.filePath("config"));
        environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        sheet.setProcessEnvironment(environment);
        sheet.start(QStringLiteral(KORVANE_SHEET), { file, "--shell", "650" });
        QVERIFY(sheet.waitForStarted());
        const QString settings = folder.filePath("config/Korvane/korvane-sheet.conf");
        QVERIFY(QTest::qWaitFor(
            [&] { return bytesOf(settings).contains("650") && bytesOf(settings).contains("r1c1"); },
            60000));
        sheet.kill();
        sheet.waitForFinished();
        QSettings kept(settings, QSettings::IniFormat);
        QCOMPARE(kept.value("design/file").toString(), QFileInfo(file).absoluteFilePath());
        QVERIFY(kept.value("design/current").toString().contains("\"shell\": \"650\""));

        // Within this program: edits, title and file back, still unsaved.
        {
            SheetWindow window;
            QCOMPARE(window.openDesign(file), QString());
            window.editTube({ 2, 0 }, TubeEdit::Dummy);
            window.setDesignTitle(QStringLiteral("E-7"));
            QVERIFY(settle(window));
            // The window is left open, never closed: as at a kill.
            SheetWindow back;
            back.loadSettings();
            QVERIFY(settle(back));
            QCOMPARE(back.edits().size(), std::size_t { 2 });
            QCOMPARE(back.designFile(), QFileInfo(file).absoluteFilePath());
            QVERIFY(back.isUnsaved());
            QCOMPARE(back.windowTitle(), QStringLiteral("*E-7 — Korvane 管板布置"));
            QCOMPARE(field(back, "total"), field(window, "total"));
            QVERIFY(!back.canUndo());
        }
        // A command line's bad design is refused before any window.
        write(folder.filePath("bad.json"), "{\"format\": \"korvane-design\", \"version\": 9}");
        QProcess refused;
        refused.setProcessEnvironment(environment);
        refused.start(QStringLiteral(KORVANE_SHEET), { folder.filePath("bad.json") });
        QVERIFY(refused.waitForFinished(60000));
        QCOMPARE(refused.exitCode(), 2);
        QVERIFY(refused.readAllStandardError().contains("bad.json: a design of version 9"));
    }
};

QTEST_MAIN(SheetDesignTest)
#include "sheet_design_test.moc"
