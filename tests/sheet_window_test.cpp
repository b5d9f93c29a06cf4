// The layout window, offscreen: its counts are korvane-layout's, an input it cannot take is
// marked without a modal box and keeps the last drawing, exports are whole files a CAD reader
// opens, settings come back, and the English translation loads.

#include "draw/painting.h"
#include "layout/options.h"
#include "layout_ui/sheet_window.h"
#include "report/drawing.h"
#include "report/numbers.h"
#include "window_support.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QFileDialog>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLabel>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QRegularExpression>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTimer>
#include <QTranslator>
#include <QWheelEvent>
#include <QtTest>

#include <algorithm>
#include <cmath>

namespace {

using layout_ui::SheetWindow;
using window_support::apply;
using window_support::field;
using window_support::layoutJson;
using window_support::settle;

} // namespace

class SheetWindowTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        // Settings go to a folder of the test's own, not the user's.
        QStandardPaths::setTestModeEnabled(true);
        QApplication::setOrganizationName(QStringLiteral("KorvaneTest"));
        // One settings file a scale: ctest runs both scales at once, and a test that clears
        // the settings must not clear the other's.
        QApplication::setApplicationName(QStringLiteral("korvane-sheet-test-")
            + QString::fromLocal8Bit(qgetenv("QT_SCALE_FACTOR")));
        QSettings().clear();
    }

    void everyCaptionLineFitsItsPicture()
    {
        // The longest captions and legends there are: two cuts, U-tubes, tie rods, a standard.
        const std::vector<std::vector<layout::TypedOption>> layouts = {
            { { "shell", "600" }, { "tube", "25" }, { "pitch", "32" }, { "passes", "2" },
                { "baffle-cut", "25" } },
            { { "shell", "1198" }, { "tube", "16" }, { "pitch", "22" }, { "passes", "2" },
                { "lanes", "shift" }, { "lane-spacing", "33" }, { "baffle-cut", "27.2,45" },
                { "bundle", "u-tube" }, { "tie-rods", "tema" } },
            { { "shell", "99999.999999" }, { "tube", "19.000001" }, { "pitch", "25.000001" },
                { "passes", "8" }, { "centre-tube", "57.123456" }, { "tie-rods", "16" },
                { "baffle-cut", "15,20,25,30,35,40,45,44" } },
            { { "shell", "600" }, { "tube", "25" }, { "passes", "6" }, { "gb151", "" },
                { "baffle-cut", "20" } },
        };
        for (const auto &typed : layouts) {
            const layout::Reading reading = layout::readLayout(typed);
            QVERIFY2(reading.ok(), reading.ok() ? "" : reading.problems.front().what());
            sheet::Scene scene = report::layoutScene(layout::study(reading.inputs), false);
            for (const double width : { 1200.0, 2400.0, 700.0 }) {
                const sheet::TextFit fit = sheet::textFit(scene, width);
                const QFontMetricsF metrics(draw::captionFont(fit.fontSize));
                const double side = width - 2 * (width / 40);
                for (const std::string &line : scene.caption)
                    QVERIFY2(metrics.horizontalAdvance(QString::fromStdString(line)) <= side,
                        line.c_str());
                const double column = side / fit.columns;
                for (const sheet::LegendEntry &entry : scene.legend)
                    QVERIFY2(metrics.lineSpacing() * 0.7 * 1.5
                                + metrics.horizontalAdvance(QString::fromStdString(entry.text))
                            <= column,
                        entry.text.c_str());
                // Still legible, and no smaller than it needs to be.
                QVERIFY(fit.fontSize >= width / 150);
            }
        }
    }

    void countsAreKorvaneLayouts_data()
    {
        QTest::addColumn<QStringList>("options");
        const auto row = [](const char *name, const QString &options) {
            QTest::newRow(name) << options.split(QLatin1Char(' '));
        };
        row("example",
            QStringLiteral("shell=600 tube=25 pitch=32 pattern=30 passes=1 centre=on-tube"));
        row("rotated triangular",
            QStringLiteral("shell=1000 tube=19 pitch=25 pattern=60 passes=2 centre=on-tube"));
        row("square, 4 passes",
            QStringLiteral("shell=800 tube=25 pitch=32 pattern=90 passes=4 centre=straddle"));
        row("rotated square, 6",
            QStringLiteral("shell=1200 tube=25 pitch=32 pattern=45 passes=6 centre=best"));
        row("8 passes",
            QStringLiteral("shell=1500 tube=19 pitch=25 pattern=30 passes=8 centre=best"));
        row("layout circle",
            QStringLiteral("otl=584 tube=25 pitch=32 pattern=30 passes=2 centre=straddle"));
        row("lane spacing",
            QStringLiteral("shell=900 tube=25 pitch=32 pattern=30 passes=4 lane-spacing=70,60"));
        row("clearance",
            QStringLiteral("shell=700 tube=25 pitch=32 pattern=90 passes=2 clearance=12.5"));
        row("centre tube",
            QStringLiteral("shell=600 tube=25 pitch=32 pattern=30 passes=1 centre-tube=57"));
        row("decimals",
            QStringLiteral("shell=493.65 tube=19.05 pitch=23.81 pattern=60 passes=4 centre=best"));
        row("100k tubes",
            QStringLiteral("otl=8350 tube=19 pitch=25 pattern=30 passes=4 centre-tube=100"));
        row("GB/T 151",
            QStringLiteral("shell=600 tube=25 pattern=30 passes=2 centre=on-tube gb151="));
        row("shifted U-tubes, TEMA's tie rods",
            QStringLiteral("shell=800 tube=19 pitch=25 pattern=45 passes=4 lanes=shift "
                           "lane-spacing=38 bundle=u-tube bend-radius=40 tie-rods=tema"));
        row("shifted, 8 passes, 12 tie rods",
            QStringLiteral(
                "shell=1500 tube=25 pitch=32 pattern=60 passes=8 lanes=shift tie-rods=12"));
    }

    void countsAreKorvaneLayouts()
    {
        QFETCH(QStringList, options);
        SheetWindow window;
        window.show();
        // Every other input back to its default first, so each row stands alone.
        for (const char *name : { "pitch", "lane-spacing", "clearance", "centre-tube",
                 "bend-radius", "tie-rods", "baffle-cut" })
            window.setOption(QLatin1String(name), QString());
        window.setOption(QStringLiteral("centre"), QStringLiteral("on-tube"));
        window.setOption(QStringLiteral("lanes"), QStringLiteral("remove"));
        window.setOption(QStringLiteral("bundle"), QStringLiteral("fixed"));
        window.setOption(QStringLiteral("gb151"), QStringLiteral("0"));
        apply(window, options);
        QVERIFY(settle(window));
        const QJsonObject expected = layoutJson(options);
        QVERIFY(!expected.isEmpty());
        QCOMPARE(field(window, "inCircle"),
            QString::number(expected[QLatin1String("in_circle")].toInteger()));
        QCOMPARE(field(window, "laneRemoved"),
            QString::number(expected[QLatin1String("lane_removed")].toInteger()));
        QCOMPARE(field(window, "centreRemoved"),
            QString::number(expected[QLatin1String("centre_removed")].toInteger()));
        QCOMPARE(
            field(window, "total"), QString::number(expected[QLatin1String("total")].toInteger()));
        QStringList perPass;
        qint64 least = -1, most = 0;
        for (const auto &count : expected[QLatin1String("per_pass")].toArray()) {
            perPass << QString::number(count.toInteger());
            least = least < 0 ? count.toInteger() : std::min(least, count.toInteger());
            most = std::max(most, count.toInteger());
        }
        // With passes, their spread over the mean pass, in tenths of a percent, a half up.
        const qint64 total = expected[QLatin1String("total")].toInteger();
        const qint64 tenths = perPass.size() < 2 || total == 0
            ? -1
            : (2000 * (most - least) * perPass.size() + total) / (2 * total);
        QCOMPARE(field(window, "perPass"),
            perPass.join(QStringLiteral(" / "))
                + (tenths < 0
                        ? QString()
                        : QStringLiteral("，最大偏差 %1.%2%").arg(tenths / 10).arg(tenths % 10)));
        // The drawing is of the same layout, and the tooltip finds its first tube.
        QVERIFY(window.shown());
        QCOMPARE(window.shown()->layout.counts.total, expected[QLatin1String("total")].toInteger());
        auto *view = window.findChild<layout_ui::SheetView *>();
        QVERIFY(!view->isStale());
        const auto &tubes = window.shown()->sheet->tubes;
        const auto first = std::find_if(
            tubes.begin(), tubes.end(), [](const layout::Tube &tube) { return tube.pass > 0; });
        QVERIFY(first != tubes.end());
        view->fit();
        const QString tip = view->describe(view->toView(first->x, first->y));
        QVERIFY2(tip.contains(QStringLiteral("管 1\n")), qPrintable(tip));
        // An accessible name per count, as a screen reader would find it.
        QCOMPARE(window.findChild<QLineEdit *>(QStringLiteral("total"))->accessibleName(),
            QStringLiteral("总管数"));
    }

    void invalidInputsAreMarkedAndKeepTheDrawing_data()
    {
        QTest::addColumn<QString>("preset"); ///< option=value before, or empty
        QTest::addColumn<QString>("option");
        QTest::addColumn<QString>("value");
        QTest::addColumn<QString>("box");
        QTest::addColumn<QString>("reason");
        const auto row = [](const char *name, const char *preset, const char *option,
                             const char *value, const char *box, const char *reason) {
            QTest::newRow(name) << QString::fromUtf8(preset) << QString::fromUtf8(option)
                                << QString::fromUtf8(value) << QString::fromUtf8(box)
                                << QString::fromUtf8(reason);
        };
        row("empty shell", "", "shell", "", "diameter", "请输入数值");
        row("words", "", "tube", "abc", "tube", "不是数字");
        row("seven decimals", "", "pitch", "32.0000001", "pitch", "小数不能超过 6 位");
        row("too large", "", "shell", "100001", "diameter", "不能大于 100000 mm");
        row("zero tube", "", "tube", "0", "tube", "须大于 0");
        row("pitch below tube", "", "pitch", "24", "pitch", "小于管子外径：管子会重叠");
        row("negative clearance", "", "clearance", "-1", "clearance", "不能为负");
        row("three spacings", "", "lane-spacing", "1,2,3", "laneSpacing",
            "须为一个数值，或“水平,竖直”两个");
        row("zero spacing", "", "lane-spacing", "0", "laneSpacing", "须大于 0");
        row("negative centre tube", "", "centre-tube", "-1", "centreTube",
            "不能为负（0 为无中心管）");
        row("clearance eats the shell", "", "clearance", "1000", "clearance",
            "边缘间隙过大：布管限定圆 DL 不大于 0");
        row("shell inside the clearance", "", "shell", "16", "diameter",
            "壳体内径过小：扣除边缘间隙后布管限定圆 DL 不大于 0");
        row("spacing with one pass", "passes=1", "lane-spacing", "38", "laneSpacing",
            "单管程没有隔板槽，不用 Sn");
        row("vertical with two passes", "", "lane-spacing", "38,9999", "laneSpacing",
            "此管程数没有竖直隔板槽，不用第二个值");
        row("plate narrower than its nozzle", "", "impingement", "200,150", "impingement",
            "防冲板不能窄于接管内径");
        row("plate past the centre line", "", "impingement", "200,250,280,30", "impingement",
            "防冲板伸过壳体中心线：h + t 大于 Di/2");
        row("ribbon without a vertical lane", "passes=6 arrangement=ribbon", "lane-spacing",
            "38,40", "laneSpacing", "带状式没有竖直隔板槽，不用第二个值");
        row("too many pitches", "tube=0.0001", "pitch", "0.0001", "diameter",
            "布管限定圆半径超过 100 万个管心距，行数太多");
        row("shifted lane narrower than the tube", "lanes=shift", "lane-spacing", "24",
            "laneSpacing", "移位时 Sn 不能小于管子外径：槽两侧的管子会重叠");
        row("shifted lane of a tube the standard lacks", "lanes=shift", "tube", "24", "laneSpacing",
            "GB/T 151 没有此管径的 Sn，请输入数值");
        row("standard pitch of a tube it lacks", "gb151= pitch=", "tube", "24", "pitch",
            "GB/T 151 没有此管径的管心距，请输入数值");
        row("U-tubes around a centre tube", "bundle=u-tube", "centre-tube", "57", "centreTube",
            "U形管束不能有中心管");
        row("odd tie rods in U-tubes", "bundle=u-tube", "tie-rods", "5", "tieRods",
            "U形管束的拉杆须成对：根数须为偶数");
        row("bend radius of nothing", "bundle=u-tube", "bend-radius", "0", "bendRadius",
            "须大于 0");
        row("tie rods in words", "", "tie-rods", "some", "tieRods", "须为整数根数、gb151 或 tema");
        row("tie rods beyond the table", "shell=2600", "tie-rods", "gb151", "tieRods",
            "超出拉杆表的范围，请输入根数");
        row("more tie rods than the edge", "", "tie-rods", "200", "tieRods",
            "拉杆过多：管束边缘的管子不够");
        row("baffle cut beyond 45 %", "", "baffle-cut", "45.5", "baffleCut",
            "须在 15% 到 45% 之间");
        row("baffle cut with the layout circle", "baffle-cut=25", "otl", "584", "baffleCut",
            "折流板缺口须给定壳体内径");
        row("baffle cut beyond every tube", "baffle-cut=25", "shell", "80", "baffleCut",
            "切线在所有管子之外：缺口内没有管子");
    }

    void invalidInputsAreMarkedAndKeepTheDrawing()
    {
        QFETCH(QString, preset);
        QFETCH(QString, option);
        QFETCH(QString, value);
        QFETCH(QString, box);
        QFETCH(QString, reason);
        SheetWindow window;
        window.show();
        const QStringList base = { QStringLiteral("shell=600"), QStringLiteral("tube=25"),
            QStringLiteral("pitch=32"), QStringLiteral("passes=2"), QStringLiteral("clearance="),
            QStringLiteral("lane-spacing="), QStringLiteral("centre-tube="),
            QStringLiteral("lanes=remove"), QStringLiteral("bundle=fixed"),
            QStringLiteral("gb151=0"), QStringLiteral("tie-rods="), QStringLiteral("bend-radius="),
            QStringLiteral("baffle-cut="), QStringLiteral("impingement="),
            QStringLiteral("arrangement=standard") };
        apply(window, base);
        if (!preset.isEmpty())
            apply(window, preset.split(QLatin1Char(' ')));
        QVERIFY(settle(window));
        const layout_ui::Study *before = window.shown();
        QVERIFY(before);
        const QString totalBefore = field(window, "total");

        QCOMPARE(window.setOption(option, value), QString());
        QVERIFY(settle(window));
        // No modal box: the box is marked and its reason shows under it.
        QVERIFY(!QApplication::activeModalWidget());
        auto *edit = window.findChild<QLineEdit *>(box);
        QVERIFY(edit->property("invalid").toBool());
        auto *why = window.findChild<QLabel *>(box + QStringLiteral("Reason"));
        QCOMPARE(why->text(), reason);
        QVERIFY(why->isVisible());
        // The last drawing and its counts stay, greyed, and cannot be exported as current.
        auto *view = window.findChild<layout_ui::SheetView *>();
        QVERIFY(view->isStale());
        QCOMPARE(window.shown(), before);
        QCOMPARE(field(window, "total"), totalBefore);
        // The counts and the line under them are of the last valid layout too: greyed.
        const auto stale = [&window](const char *name) {
            return window.findChild<QWidget *>(QLatin1String(name))->property("stale").toBool();
        };
        for (const char *count :
            { "inCircle", "laneRemoved", "centreRemoved", "total", "perPass", "arrangement" })
            QVERIFY2(stale(count), count);
        QVERIFY(window.findChild<QLineEdit *>(QStringLiteral("total"))
                    ->styleSheet()
                    .contains(QStringLiteral("#9a9a9a")));
        QVERIFY(!window.findChild<QPushButton *>(QStringLiteral("exportDrawing"))->isEnabled());
        QVERIFY(!window.exportDrawing(QDir::temp().filePath(QStringLiteral("x.svg"))).isEmpty());

        // Mended, the mark goes and the drawing follows again.
        apply(window, base);
        QVERIFY(settle(window));
        QVERIFY(!edit->property("invalid").toBool());
        QVERIFY(!why->isVisible());
        QVERIFY(!view->isStale());
        QVERIFY(!stale("total") && !stale("arrangement"));
        QCOMPARE(field(window, "total"), QStringLiteral("266")); // korvane-layout's total
    }

    void tooManyTubesToDrawStillCounts()
    {
        SheetWindow window;
        apply(window,
            { QStringLiteral("shell=600"), QStringLiteral("tube=25"), QStringLiteral("pitch=32") });
        QVERIFY(settle(window));
        const layout_ui::Study *drawn = window.shown();
        const QStringList large = { QStringLiteral("otl=20000"), QStringLiteral("tube=12"),
            QStringLiteral("pitch=16") };
        apply(window, large);
        QVERIFY(settle(window));
        QCOMPARE(field(window, "total"),
            QString::number(layoutJson(large)[QLatin1String("total")].toInteger()));
        QCOMPARE(window.shown(), drawn);
        QVERIFY(window.findChild<layout_ui::SheetView *>()->isStale());
        QVERIFY(window.findChild<QLabel *>(QStringLiteral("status"))
                    ->text()
                    .contains(QStringLiteral("不再绘图")));
    }

    void exportsAreWholeFiles()
    {
        QTemporaryDir folder;
        SheetWindow window;
        apply(window,
            { QStringLiteral("shell=600"), QStringLiteral("tube=25"), QStringLiteral("pitch=32"),
                QStringLiteral("passes=4"), QStringLiteral("centre-tube=57") });
        QVERIFY(settle(window));
        const qint64 total = window.shown()->layout.counts.total;
        for (const char *extension : { "svg", "png", "pdf", "dxf" }) {
            const QString file =
                folder.filePath(QStringLiteral("sheet.") + QLatin1String(extension));
            QCOMPARE(window.exportDrawing(file), QString());
            QVERIFY2(QFile(file).size() > 1000, extension);
        }
        // The DXF, read by an independent reader: one circle a tube left, on the pass layers.
        QProcess reader;
        reader.start(QStringLiteral("/usr/bin/python3"),
            { QStringLiteral("-c"),
                QStringLiteral("import ezdxf,sys; d=ezdxf.readfile(sys.argv[1]); a=d.audit(); "
                               "print(len(a.errors), sum(1 for e in d.modelspace().query('CIRCLE') "
                               "if e.dxf.layer.startswith('PASS_')))"),
                folder.filePath(QStringLiteral("sheet.dxf")) });
        QVERIFY(reader.waitForFinished(60000));
        QCOMPARE(QString::fromUtf8(reader.readAllStandardOutput()).trimmed(),
            QStringLiteral("0 %1").arg(total));

        const QString holes = folder.filePath(QStringLiteral("holes.csv"));
        QCOMPARE(window.exportHoles(holes), QString());
        QFile csv(holes);
        QVERIFY(csv.open(QIODevice::ReadOnly));
        QCOMPARE(csv.readAll().count('\n'), total + 1);

        // A failure is told, and a file already there is kept whole.
        QVERIFY(window.exportDrawing(QStringLiteral("/nonexistent/sheet.svg"))
                    .contains(QStringLiteral("/nonexistent/sheet.svg")));
        QVERIFY(!window.exportDrawing(folder.filePath(QStringLiteral("sheet.jpg"))).isEmpty());
        QVERIFY(!window.exportHoles(QStringLiteral("/nonexistent/holes.csv")).isEmpty());
        QVERIFY(!QApplication::activeModalWidget());
    }

    void settingsComeBack()
    {
        {
            SheetWindow window;
            apply(window,
                { QStringLiteral("otl=777.5"), QStringLiteral("tube=19"),
                    QStringLiteral("pitch=25"), QStringLiteral("pattern=45"),
                    QStringLiteral("passes=8"), QStringLiteral("centre=best"),
                    QStringLiteral("lane-spacing=40,38"), QStringLiteral("centre-tube=60") });
            window.findChild<QCheckBox *>(QStringLiteral("numbers"))->setChecked(true);
            window.saveSettings();
        }
        SheetWindow again;
        again.loadSettings();
        QCOMPARE(field(again, "diameter"), QStringLiteral("777.5"));
        QCOMPARE(field(again, "tube"), QStringLiteral("19"));
        QCOMPARE(field(again, "pitch"), QStringLiteral("25"));
        QCOMPARE(field(again, "laneSpacing"), QStringLiteral("40,38"));
        QCOMPARE(field(again, "centreTube"), QStringLiteral("60"));
        QCOMPARE(again.findChild<QComboBox *>(QStringLiteral("given"))->currentIndex(), 1);
        QCOMPARE(again.findChild<QComboBox *>(QStringLiteral("pattern"))->currentIndex(), 3);
        QCOMPARE(again.findChild<QComboBox *>(QStringLiteral("passes"))->currentText(),
            QStringLiteral("8"));
        QCOMPARE(again.findChild<QComboBox *>(QStringLiteral("centring"))->currentIndex(), 2);
        QVERIFY(again.findChild<QCheckBox *>(QStringLiteral("numbers"))->isChecked());
        QVERIFY(settle(again));
        QCOMPARE(field(again, "total"),
            QString::number(layoutJson({ QStringLiteral("otl=777.5"), QStringLiteral("tube=19"),
                QStringLiteral("pitch=25"), QStringLiteral("pattern=45"),
                QStringLiteral("passes=8"), QStringLiteral("centre=best"),
                QStringLiteral("lane-spacing=40,38"),
                QStringLiteral("centre-tube=60") })[QLatin1String("total")]
                                .toInteger()));
        // Unknown options and choices are refused with the reason.
        QVERIFY(!again.setOption(QStringLiteral("pattern"), QStringLiteral("31")).isEmpty());
        QVERIFY(!again.setOption(QStringLiteral("colour"), QStringLiteral("red")).isEmpty());
    }

    void olderSettingsComeBack()
    {
        // An older window kept its centring under the widget's name, by its place.
        {
            QSettings settings;
            settings.clear();
            settings.setValue(QStringLiteral("centring"), 2);
            settings.setValue(QStringLiteral("diameter"), QStringLiteral("750"));
            settings.setValue(QStringLiteral("passes"), 9); // not a place the choice has
        }
        SheetWindow window;
        window.loadSettings();
        QCOMPARE(window.findChild<QComboBox *>(QStringLiteral("centring"))->currentIndex(), 2);
        QCOMPARE(field(window, "diameter"), QStringLiteral("750"));
        QCOMPARE(window.findChild<QComboBox *>(QStringLiteral("passes"))->currentText(),
            QStringLiteral("1"));
        // What was never kept takes the first run's sheet.
        QCOMPARE(field(window, "tube"), QStringLiteral("25"));
        QVERIFY(settle(window));
        QSettings().clear();
    }

    void wheelZoomsAboutTheCursor()
    {
        SheetWindow window;
        window.show();
        apply(window,
            { QStringLiteral("shell=600"), QStringLiteral("tube=25"), QStringLiteral("pitch=32") });
        QVERIFY(settle(window));
        auto *view = window.findChild<layout_ui::SheetView *>();
        const QPointF cursor(view->width() * 0.3, view->height() * 0.7);
        const QPointF under = view->toSheet(cursor);
        const double scale = view->scale();
        QWheelEvent wheel(cursor, view->mapToGlobal(cursor), QPoint(), QPoint(0, 240), Qt::NoButton,
            Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(view, &wheel);
        QVERIFY(view->scale() > scale * 1.5);
        QVERIFY((view->toSheet(cursor) - under).manhattanLength() < 1e-6);
        // Dragging pans by as much as the mouse moves; Fit brings the whole sheet back.
        QTest::mousePress(view, Qt::LeftButton, {}, QPoint(100, 100));
        QTest::mouseMove(view, QPoint(150, 120));
        QTest::mouseRelease(view, Qt::LeftButton, {}, QPoint(150, 120));
        QVERIFY((view->toSheet(cursor) - under - QPointF(-50 / view->scale(), 20 / view->scale()))
                    .manhattanLength()
            < 1e-6);
        QTest::mouseClick(window.findChild<QPushButton *>(QStringLiteral("fit")), Qt::LeftButton);
        QCOMPARE(view->focus(), QPointF());
        QCOMPARE(view->scale(), scale);
    }

    void tabGoesThroughEveryControlInOrder()
    {
        SheetWindow window;
        window.show();
        QVERIFY(QTest::qWaitForWindowActive(&window));
        apply(window,
            { QStringLiteral("shell=600"), QStringLiteral("tube=25"), QStringLiteral("pitch=32") });
        QVERIFY(settle(window));
        QStringList order;
        QWidget *start = QApplication::focusWidget();
        QVERIFY(start);
        QWidget *at = start;
        do {
            order << at->objectName();
            QTest::keyClick(at, Qt::Key_Tab);
            at = QApplication::focusWidget();
        } while (at && at != start && order.size() < 40);
        QCOMPARE(order,
            QStringList({ "diameter", "tube", "pitch", "pattern", "passes", "centring", "laneModel",
                "laneSpacing", "clearance", "centreTube", "head", "bundle", "tieRods", "baffleCut",
                "impingement", "gb151", "numbers", "exportDrawing", "exportHoles", "openDesign",
                "saveDesign", "saveDesignAs", "undo", "fit", "sheet", "inCircle", "laneRemoved",
                "centreRemoved", "impingementRemoved", "editRemoved", "dummyTubes", "total",
                "perPass", "designTitle", "given" }));
        // Every one of them has a name a screen reader reads out.
        for (const QString &name : order)
            QVERIFY2(
                !window.findChild<QWidget *>(name)->accessibleName().isEmpty(), qPrintable(name));
    }

    void everyInvalidBoxIsMarkedAtOnce()
    {
        SheetWindow window;
        window.show();
        apply(window,
            { QStringLiteral("shell=600"), QStringLiteral("tube=25"), QStringLiteral("pitch=20"),
                QStringLiteral("passes=4"), QStringLiteral("lane-spacing=1,2,3"),
                QStringLiteral("clearance=-1"), QStringLiteral("centre-tube=x") });
        QVERIFY(settle(window));
        const std::pair<const char *, const char *> marked[] = {
            { "pitch", "小于管子外径：管子会重叠" },
            { "laneSpacing", "须为一个数值，或“水平,竖直”两个" },
            { "clearance", "不能为负" },
            { "centreTube", "不是数字" },
        };
        for (const auto &[box, reason] : marked) {
            QVERIFY2(
                window.findChild<QLineEdit *>(QLatin1String(box))->property("invalid").toBool(),
                box);
            QCOMPARE(
                window.findChild<QLabel *>(QLatin1String(box) + QStringLiteral("Reason"))->text(),
                QString::fromUtf8(reason));
        }
        for (const char *box : { "diameter", "tube" })
            QVERIFY2(
                !window.findChild<QLineEdit *>(QLatin1String(box))->property("invalid").toBool(),
                box);
    }

    void typedAsTheOtherProgramsReadIt()
    {
        SheetWindow window;
        window.show();
        // Full-width digits from a Chinese input method, and a centre tube of 0 for none.
        apply(window,
            { QStringLiteral("shell=１０００"), QStringLiteral("tube=３８"),
                QStringLiteral("pitch=４８"), QStringLiteral("passes=2"),
                QStringLiteral("lane-spacing="), QStringLiteral("clearance="),
                QStringLiteral("centre-tube=０") });
        QVERIFY(settle(window));
        QVERIFY(
            !window.findChild<QLineEdit *>(QStringLiteral("tube"))->property("invalid").toBool());
        QCOMPARE(field(window, "total"),
            QString::number(layoutJson({ QStringLiteral("shell=1000"), QStringLiteral("tube=38"),
                QStringLiteral("pitch=48"), QStringLiteral("passes=2") })[QLatin1String("total")]
                                .toInteger()));
        QCOMPARE(field(window, "centreRemoved"), QStringLiteral("0"));
    }

    void commandLineDescribesTheWholeLayout()
    {
        {
            SheetWindow last;
            apply(last,
                { QStringLiteral("shell=600"), QStringLiteral("tube=25"),
                    QStringLiteral("pitch=32"), QStringLiteral("passes=6"),
                    QStringLiteral("lane-spacing=40"), QStringLiteral("centre-tube=57") });
            last.saveSettings();
        }
        // As main does: what was kept, then the command line over it.
        SheetWindow window;
        window.loadSettings();
        window.applyOptions({ { "shell", "1000" }, { "tube", "38" }, { "pitch", "48" },
            { "pattern", "90" }, { "centre", "best" } });
        QVERIFY(settle(window));
        QCOMPARE(window.findChild<QComboBox *>(QStringLiteral("passes"))->currentText(),
            QStringLiteral("1"));
        QCOMPARE(field(window, "laneSpacing"), QString());
        QCOMPARE(field(window, "centreTube"), QString());
        const QJsonObject expected = layoutJson(
            { QStringLiteral("shell=1000"), QStringLiteral("tube=38"), QStringLiteral("pitch=48"),
                QStringLiteral("pattern=90"), QStringLiteral("centre=best") });
        QCOMPARE(expected[QLatin1String("total")].toInteger(), 304);
        QCOMPARE(field(window, "total"), QStringLiteral("304"));
    }

    void defaultSpacingTypedBackLaysTheSameTubes()
    {
        SheetWindow window;
        window.show();
        apply(window,
            { QStringLiteral("shell=1000"), QStringLiteral("tube=25"), QStringLiteral("pitch=32"),
                QStringLiteral("pattern=30"), QStringLiteral("passes=4"),
                QStringLiteral("lane-spacing="), QStringLiteral("clearance="),
                QStringLiteral("centre-tube=57") });
        QVERIFY(settle(window));
        QCOMPARE(field(window, "total"), QStringLiteral("736"));
        auto *spacing = window.findChild<QLineEdit *>(QStringLiteral("laneSpacing"));
        QCOMPARE(spacing->placeholderText(), QStringLiteral("默认 √3·p = 55.425625, 2p = 64 mm"));
        // The values shown, typed back as the box takes them.
        QStringList values;
        auto numbers = QRegularExpression(QStringLiteral("= ([0-9.]+)"))
                           .globalMatch(spacing->placeholderText());
        while (numbers.hasNext())
            values << numbers.next().captured(1);
        QCOMPARE(values, QStringList({ QStringLiteral("55.425625"), QStringLiteral("64") }));
        QCOMPARE(window.setOption(QStringLiteral("lane-spacing"), values.join(QLatin1Char(','))),
            QString());
        QVERIFY(settle(window));
        QCOMPARE(field(window, "total"), QStringLiteral("736"));
    }

    void exportDialogAddsTheChosenType_data()
    {
        QTest::addColumn<QString>("type");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("written");
        QTest::newRow("png chosen, no extension") << "PNG 图 (*.png)"
                                                  << "sheet"
                                                  << "sheet.png";
        QTest::newRow("svg chosen, another extension") << "SVG 图 (*.svg)"
                                                       << "sheet.txt"
                                                       << "sheet.txt.svg";
        QTest::newRow("dxf chosen, a drawing's own extension") << "DXF 图 (*.dxf)"
                                                               << "plan.pdf"
                                                               << "plan.pdf";
    }

    void exportDialogAddsTheChosenType()
    {
        QFETCH(QString, type);
        QFETCH(QString, typed);
        QFETCH(QString, written);
        QTemporaryDir folder;
        SheetWindow window;
        window.show();
        apply(window,
            { QStringLiteral("shell=600"), QStringLiteral("tube=25"), QStringLiteral("pitch=32") });
        QVERIFY(settle(window));
        bool answered = false;
        QTimer::singleShot(0, [&] {
            auto *dialog = qobject_cast<QFileDialog *>(QApplication::activeModalWidget());
            QVERIFY(dialog);
            dialog->selectNameFilter(type);
            dialog->selectFile(folder.filePath(typed));
            answered = true;
            static_cast<QDialog *>(dialog)->accept(); // as the Save button does
        });
        QTest::mouseClick(
            window.findChild<QPushButton *>(QStringLiteral("exportDrawing")), Qt::LeftButton);
        QVERIFY(answered);
        QVERIFY2(QFile::exists(folder.filePath(written)),
            qPrintable(written + QStringLiteral(": ")
                + window.findChild<QLabel *>(QStringLiteral("status"))->text()));
        QCOMPARE(window.findChild<QLabel *>(QStringLiteral("status"))->text(),
            QStringLiteral("已写入 %1").arg(folder.filePath(written)));
        // The extension decides the format, as in korvane-layout.
        QFile file(folder.filePath(written));
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray start = file.read(8);
        if (written.endsWith(QLatin1String(".png")))
            QVERIFY(start.startsWith("\x89PNG"));
        else if (written.endsWith(QLatin1String(".svg")))
            QVERIFY(start.startsWith("<?xml"));
        else
            QVERIFY(start.startsWith("%PDF"));
    }

    void failuresAreSaidInTheWindowsLanguage()
    {
        SheetWindow window;
        apply(window,
            { QStringLiteral("shell=600"), QStringLiteral("tube=25"), QStringLiteral("pitch=32") });
        QVERIFY(settle(window));
        QCOMPARE(window.exportDrawing(QStringLiteral("/nonexistent/sheet.svg")),
            QStringLiteral("无法写入 /nonexistent/sheet.svg：没有那个文件或目录"));
        QCOMPARE(window.exportHoles(QStringLiteral("/")), QStringLiteral("无法写入 /：是一个目录"));
        QCOMPARE(window.exportDrawing(QStringLiteral("sheet.jpg")),
            QStringLiteral("文件名须以 .svg、.png、.pdf 或 .dxf 结尾"));
        QCOMPARE(SheetWindow::withExtension(QStringLiteral("a.SVG"), QStringLiteral(".svg")),
            QStringLiteral("a.SVG"));
        QCOMPARE(SheetWindow::withExtension(QStringLiteral("holes"), QStringLiteral(".csv")),
            QStringLiteral("holes.csv"));
        QCOMPARE(SheetWindow::withExtension(QStringLiteral("holes.svg"), QStringLiteral(".csv")),
            QStringLiteral("holes.svg.csv"));
    }

    void tooltipAndLegendAsADesignerReadsThem()
    {
        const std::pair<double, const char *> lengths[] = { { -110.85125168440814, "-110.851" },
            { 12.5, "12.5" }, { 27.712812921102035, "27.713" }, { 100, "100" }, { -0.0004, "0" },
            { 0.0004, "0" }, { 0.0005, "0.001" } };
        for (const auto &[value, text] : lengths)
            QCOMPARE(
                QString::fromStdString(report::millimetresText(value)), QString::fromLatin1(text));
        SheetWindow window;
        window.show();
        apply(window,
            { QStringLiteral("shell=600"), QStringLiteral("tube=25"), QStringLiteral("pitch=32"),
                QStringLiteral("passes=2"), QStringLiteral("lane-spacing="),
                QStringLiteral("centre-tube=") });
        QVERIFY(settle(window));
        auto *view = window.findChild<layout_ui::SheetView *>();
        view->fit();
        // A tube of the first row above the lane: y = 32·√3/2 exactly, shown to 0.001 mm.
        const QString tip = view->describe(view->toView(16, 27.712812921102035));
        QVERIFY2(tip.contains(QStringLiteral("x = 16 mm，y = 27.713 mm")), qPrintable(tip));
        auto *legend = window.findChild<layout_ui::LegendView *>(QStringLiteral("legend"));
        QVERIFY(legend && legend->isVisible());
        QCOMPARE(legend->texts(),
            QStringList(
                { QStringLiteral("第 1 管程 133 管"), QStringLiteral("第 2 管程 133 管") }));
        QCOMPARE(legend->accessibleName(), QStringLiteral("图例"));
    }

    void designersChoicesAsTheyAreNamed()
    {
        SheetWindow window;
        window.show();
        apply(window,
            { QStringLiteral("shell=600"), QStringLiteral("tube=25"), QStringLiteral("pitch="),
                QStringLiteral("pattern=30"), QStringLiteral("passes=2"),
                QStringLiteral("centre=on-tube"), QStringLiteral("lane-spacing="),
                QStringLiteral("clearance="), QStringLiteral("centre-tube="),
                QStringLiteral("lanes=remove"), QStringLiteral("bundle=fixed"),
                QStringLiteral("tie-rods="), QStringLiteral("bend-radius="),
                QStringLiteral("gb151=0") });
        // Each new control is read out by its label.
        const std::pair<const char *, const char *> names[] = { { "laneModel", "隔板槽(W)" },
            { "bundle", "管束(U)" }, { "bendRadius", "弯管半径 R(R)" }, { "tieRods", "拉杆(Z)" },
            { "gb151", "按 GB/T 151 取值(Q)" } };
        for (const auto &[object, name] : names)
            QCOMPARE(window.findChild<QWidget *>(QLatin1String(object))->accessibleName(),
                QString::fromUtf8(name));
        // Ticking the standard shifts the lanes and fills in the pitch: korvane-layout's figures.
        window.findChild<QCheckBox *>(QStringLiteral("gb151"))->setChecked(true);
        QVERIFY(settle(window));
        QCOMPARE(window.findChild<QComboBox *>(QStringLiteral("laneModel"))->currentText(),
            QStringLiteral("移位"));
        const QJsonObject expected = layoutJson(
            { QStringLiteral("shell=600"), QStringLiteral("tube=25"), QStringLiteral("passes=2"),
                QStringLiteral("gb151="), QStringLiteral("lanes=shift") });
        QCOMPARE(
            field(window, "total"), QString::number(expected[QLatin1String("total")].toInteger()));
        QCOMPARE(field(window, "pitch"), QString());
        QCOMPARE(window.findChild<QLineEdit *>(QStringLiteral("pitch"))->placeholderText(),
            QStringLiteral("GB/T 151 32 mm"));
        QVERIFY(window.findChild<QLabel *>(QStringLiteral("arrangement"))
                    ->text()
                    .contains(QStringLiteral("拉杆 4 根，直径 16 mm")));
        auto *legend = window.findChild<layout_ui::LegendView *>(QStringLiteral("legend"));
        QCOMPARE(legend->texts().last(), QStringLiteral("拉杆 4 根"));
        // A rod says so when pointed at.
        const QJsonArray rod = expected[QLatin1String("tie_rods")]
                                   .toObject()[QLatin1String("positions")]
                                   .toArray()[0]
                                   .toArray();
        auto *view = window.findChild<layout_ui::SheetView *>();
        view->fit();
        const QString tip = view->describe(view->toView(rod[0].toDouble(), rod[1].toDouble()));
        QVERIFY2(tip.contains(QStringLiteral("拉杆")), qPrintable(tip));
        // A centring the shifted vertical lane cannot take is marked under its choice.
        apply(window, { QStringLiteral("passes=4"), QStringLiteral("centre=best") });
        QVERIFY(settle(window));
        auto *why = window.findChild<QLabel *>(QStringLiteral("centringReason"));
        QCOMPARE(why->text(), QStringLiteral("移位且有竖直隔板槽时只能对中"));
        QVERIFY(why->isVisible());
        // U-tubes: the bend radius box wakes, and the legend gives R and the U-tubes.
        apply(window,
            { QStringLiteral("centre=on-tube"), QStringLiteral("bundle=u-tube"),
                QStringLiteral("bend-radius=40") });
        QVERIFY(settle(window));
        QVERIFY(window.findChild<QLineEdit *>(QStringLiteral("bendRadius"))->isEnabled());
        QVERIFY2(legend->texts().last().startsWith(QStringLiteral("U形管 ")),
            qPrintable(legend->texts().join(QLatin1Char('|'))));
        QVERIFY(legend->texts().last().endsWith(QStringLiteral("根，R = 40 mm")));
        window.setOption(QStringLiteral("gb151"), QStringLiteral("0"));
        window.setOption(QStringLiteral("bundle"), QStringLiteral("fixed"));
        QVERIFY(settle(window));
        QVERIFY(!window.findChild<QLineEdit *>(QStringLiteral("bendRadius"))->isEnabled());

        // Baffle cuts: the figures under the counts, the formulas' in grey beside them, and
        // the cut lines on the live drawing.
        apply(window,
            { QStringLiteral("lanes=remove"), QStringLiteral("passes=2"),
                QStringLiteral("pitch=32"), QStringLiteral("tie-rods="),
                QStringLiteral("baffle-cut=25") });
        QVERIFY(settle(window));
        QCOMPARE(window.findChild<QWidget *>(QStringLiteral("baffleCut"))->accessibleName(),
            QStringLiteral("折流板缺口 %(K)"));
        auto *baffles = window.findChild<QLabel *>(QStringLiteral("baffles"));
        QVERIFY(baffles->isVisible());
        QVERIFY2(
            baffles->text().contains(QStringLiteral("折流板缺口 25%：缺口内管数 49，切边管 16")),
            qPrintable(baffles->text()));
        QVERIFY(baffles->text().contains(QStringLiteral("color:#8a8a8a\">(0.6489)")));
        const auto &lines = window.shown()->sheet->scene.lines;
        QVERIFY(std::any_of(lines.begin(), lines.end(), [&](const sheet::Line &line) {
            return line.dashed && std::abs(line.y1 - 150) < 1e-9
                && window.shown()->sheet->scene.layers[static_cast<std::size_t>(line.layer)].name
                == "BAFFLE";
        }));
        window.setOption(QStringLiteral("baffle-cut"), QString());
        QVERIFY(settle(window));
        QVERIFY(!baffles->isVisible());
    }

    void legendLinesOnTheirOwnLayers_data()
    {
        QTest::addColumn<QStringList>("options");
        const auto row = [](const char *name, const QString &options) {
            QTest::newRow(name) << options.split(QLatin1Char(' '));
        };
        // The first was drawn with the baffle's swatch beside the U-tubes' words.
        row("U-tubes and a baffle cut", QStringLiteral("passes=2 bundle=u-tube baffle-cut=25"));
        row("U-tubes, tie rods and two cuts",
            QStringLiteral("passes=4 bundle=u-tube tie-rods=4 baffle-cut=20,30"));
        row("six passes, TEMA's rods, a cut",
            QStringLiteral("passes=6 bundle=fixed tie-rods=tema baffle-cut=25"));
        row("one pass", QStringLiteral("passes=1 bundle=fixed tie-rods= baffle-cut="));
    }

    void legendLinesOnTheirOwnLayers()
    {
        QFETCH(QStringList, options);
        SheetWindow window;
        window.show();
        apply(window,
            { QStringLiteral("shell=600"), QStringLiteral("tube=25"), QStringLiteral("pitch=32"),
                QStringLiteral("lanes=remove"), QStringLiteral("gb151=0") });
        apply(window, options);
        QVERIFY(settle(window));
        auto *legend = window.findChild<layout_ui::LegendView *>(QStringLiteral("legend"));
        const auto entries = legend->entries();
        QCOMPARE(entries.size(), window.shown()->sheet->scene.legend.size());
        const std::pair<const char *, const char *> words[] = { { "TIE_RODS", "拉杆 " },
            { "BAFFLE", "折流板缺口 " }, { "LANES", "U形管 " } };
        for (const auto &[text, layer] : entries) {
            QString start;
            if (layer.startsWith(QLatin1String("PASS_")))
                start = QStringLiteral("第 %1 管程 ").arg(layer.mid(5));
            for (const auto &[name, word] : words)
                if (layer == QLatin1String(name))
                    start = QString::fromUtf8(word);
            QVERIFY2(!start.isEmpty() && text.startsWith(start), qPrintable(text + " on " + layer));
        }
    }

    void englishTranslationLoads()
    {
        QTranslator english;
        QVERIFY(english.load(QLocale(QLocale::English), QStringLiteral("korvane-sheet"),
            QStringLiteral("_"), QStringLiteral(":/i18n")));
        QApplication::installTranslator(&english);
        SheetWindow window;
        QCOMPARE(window.findChild<QLineEdit *>(QStringLiteral("total"))->accessibleName(),
            QStringLiteral("Total tubes"));
        QCOMPARE(window.windowTitle(), QStringLiteral("Korvane tube-sheet layout"));
        // The window's own reasons, the writers' included, in English too.
        apply(window,
            { QStringLiteral("shell=600"), QStringLiteral("tube=25"), QStringLiteral("pitch=32"),
                QStringLiteral("passes=1"), QStringLiteral("lane-spacing="),
                QStringLiteral("clearance="), QStringLiteral("centre-tube=") });
        QVERIFY(settle(window));
        QCOMPARE(window.exportDrawing(QStringLiteral("/nonexistent/sheet.svg")),
            QStringLiteral("Cannot write /nonexistent/sheet.svg: No such file or directory"));
        // The drawings speak English too; CAD gets them as ASCII.
        QTemporaryDir folder;
        const QByteArray total =
            "Total tubes " + QByteArray::number(window.shown()->layout.counts.total);
        for (const char *extension : { "svg", "dxf" }) {
            const QString name =
                folder.filePath(QStringLiteral("sheet.") + QLatin1String(extension));
            QCOMPARE(window.exportDrawing(name), QString());
            QFile file(name);
            QVERIFY(file.open(QIODevice::ReadOnly));
            const QByteArray bytes = file.readAll();
            QVERIFY2(bytes.contains(total), extension);
            QVERIFY2(QString::fromUtf8(bytes).contains(QStringLiteral("30° triangular pattern"))
                    || bytes.contains("30\\U+00B0 triangular pattern"),
                extension);
            const bool ascii = std::all_of(bytes.begin(), bytes.end(),
                [](char c) { return static_cast<unsigned char>(c) < 0x80; });
            QVERIFY2(
                ascii || QLatin1String(extension) == QLatin1String("svg"), "a byte beyond ASCII");
        }
        QCOMPARE(window.setOption(QStringLiteral("tube"), QStringLiteral("abc")), QString());
        QVERIFY(settle(window));
        QCOMPARE(window.findChild<QLabel *>(QStringLiteral("tubeReason"))->text(),
            QStringLiteral("is not a number"));
        QApplication::removeTranslator(&english);
    }
};

QTEST_MAIN(SheetWindowTest)
#include "sheet_window_test.moc"
