// What korvane-sheet shows of a layout, as JSON, for the page's test to hold the page to:
//   sheet_probe LANGUAGE NAME=VALUE...   (LANGUAGE zh or en; offscreen)
//   sheet_probe resave IN OUT            (a design opened in the window and saved again)
// The counts, the lines under them, each box's text while empty and each control's reason,
// the legend, the caption and legend its drawings are written with, and what the first tube of
// the hole list is when pointed at.

#include "layout_ui/messages.h"
#include "layout_ui/sheet_window.h"
#include "report/drawing.h"
#include "report/form.h"

#include <QApplication>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLabel>
#include <QLineEdit>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTextDocument>
#include <QTranslator>
#include <QtTest>

#include <iostream>

int main(int argc, char **argv)
{
    QApplication application(argc, argv);
    QStandardPaths::setTestModeEnabled(true);
    if (argc == 4 && QLatin1String(argv[1]) == QLatin1String("resave")) {
        layout_ui::SheetWindow window;
        const QString opened = window.openDesign(QString::fromLocal8Bit(argv[2]));
        const QString saved =
            opened.isEmpty() ? window.saveDesign(QString::fromLocal8Bit(argv[3])) : opened;
        std::cerr << saved.toStdString();
        return saved.isEmpty() ? 0 : 1;
    }
    QTranslator english;
    if (argc > 1 && QLatin1String(argv[1]) == QLatin1String("en")
        && english.load(QLocale(QLocale::English), QStringLiteral("korvane-sheet"),
            QStringLiteral("_"), QStringLiteral(":/i18n")))
        QApplication::installTranslator(&english);
    std::vector<layout::TypedOption> options;
    for (int i = 2; i < argc; ++i) {
        const std::string argument = argv[i];
        const std::size_t equals = argument.find('=');
        options.push_back({ argument.substr(0, equals),
            equals == std::string::npos ? std::string() : argument.substr(equals + 1) });
    }
    layout_ui::SheetWindow window;
    window.resize(1100, 720);
    window.show();
    window.applyOptions(options);
    if (!QTest::qWaitFor([&] { return !window.isBusy(); }, 60000))
        return 1;

    QJsonObject shown;
    const auto text = [&window](const char *name) {
        return window.findChild<QWidget *>(QLatin1String(name));
    };
    QJsonArray counts, hints, reasons, legend;
    for (const report::CountField &field : report::countFields())
        counts.append(static_cast<QLineEdit *>(text(field.objectName))->text());
    for (const report::Control &control : report::controls()) {
        if (const auto *box = qobject_cast<QLineEdit *>(text(control.objectName)))
            hints.append(QJsonArray { QLatin1String(control.id), box->placeholderText() });
        reasons.append(QJsonArray { QLatin1String(control.id),
            window
                .findChild<QLabel *>(QLatin1String(control.objectName) + QStringLiteral("Reason"))
                ->text() });
    }
    shown[QStringLiteral("counts")] = counts;
    shown[QStringLiteral("hints")] = hints;
    shown[QStringLiteral("reasons")] = reasons;
    shown[QStringLiteral("arrangement")] = static_cast<QLabel *>(text("arrangement"))->text();
    // The figures as the eye reads them: the rich text's words, a line a cut.
    QTextDocument baffles;
    baffles.setHtml(static_cast<QLabel *>(text("baffles"))->text());
    shown[QStringLiteral("baffles")] = static_cast<QLabel *>(text("baffles"))->text().isEmpty()
        ? QJsonArray()
        : QJsonArray::fromStringList(baffles.toPlainText().split(
            QRegularExpression(QStringLiteral("[\\x{2028}\\x{2029}\\n]"))));
    for (const auto &[line, layer] : window.findChild<layout_ui::LegendView *>()->entries())
        legend.append(line);
    shown[QStringLiteral("legend")] = legend;
    QJsonArray caption, drawnLegend;
    if (const layout_ui::Study *study = window.shown()) {
        const sheet::Scene scene =
            report::layoutScene(study->layout, false, layout_ui::drawingWording());
        for (const std::string &line : scene.caption)
            caption.append(QString::fromStdString(line));
        for (const sheet::LegendEntry &entry : scene.legend)
            drawnLegend.append(QString::fromStdString(entry.text));
    }
    shown[QStringLiteral("caption")] = caption;
    shown[QStringLiteral("drawn_legend")] = drawnLegend;
    if (const layout_ui::Study *study = window.shown()) {
        auto *view = window.findChild<layout_ui::SheetView *>();
        view->fit();
        for (const layout::Tube &tube : study->sheet->tubes)
            if (tube.pass > 0) {
                shown[QStringLiteral("tube")] =
                    QJsonObject { { QStringLiteral("x"), tube.x }, { QStringLiteral("y"), tube.y },
                        { QStringLiteral("text"), view->describe(view->toView(tube.x, tube.y)) } };
                break;
            }
    }
    std::cout << QJsonDocument(shown).toJson(QJsonDocument::Compact).toStdString() << '\n';
    return 0;
}
