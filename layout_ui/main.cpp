// korvane-sheet: the layout study as a window. Takes korvane-layout's input options to fill
// the window in, over what was kept from the last run.

#include "layout_ui/sheet_window.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QIcon>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

#include <cstdio>

int main(int argc, char *argv[])
{
    QApplication application(argc, argv);
    QApplication::setOrganizationName(QStringLiteral("Korvane"));
    QApplication::setApplicationName(QStringLiteral("korvane-sheet"));
    QApplication::setApplicationVersion(QStringLiteral(KORVANE_VERSION));
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/korvane/korvane-sheet.svg")));

    // Chinese is the window's own language; English speakers get the English translation.
    QTranslator own, qt;
    const QLocale locale;
    if (locale.language() == QLocale::English
        && own.load(
            locale, QStringLiteral("korvane-sheet"), QStringLiteral("_"), QStringLiteral(":/i18n")))
        QApplication::installTranslator(&own);
    else if (qt.load(QStringLiteral("qtbase_zh_CN"),
                 QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QApplication::installTranslator(&qt);

    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("The tube-sheet layout window. Its options fill the window in as "
                       "korvane-layout's options describe a layout."));
    parser.addHelpOption();
    parser.addVersionOption();
    const struct
    {
        const char *name, *value, *help;
    } options[] = {
        { "shell", "DI", "the shell's inner diameter, mm" },
        { "otl", "DL", "the layout circle's diameter, instead of the shell's, mm" },
        { "tube", "D", "the tube's outer diameter, mm" },
        { "pitch", "P", "the pitch, mm" },
        { "pattern", "ANGLE", "30, 60, 90 or 45" },
        { "passes", "N", "1, 2, 4, 6 or 8" },
        { "centre", "WHERE", "on-tube, straddle or best" },
        { "lane-spacing", "SN", "the pass lanes' spacing Sn, or H,V, mm" },
        { "clearance", "B", "the clearance b between shell and layout circle, mm" },
        { "centre-tube", "D0", "the centre tube's outer diameter, mm" },
    };
    for (const auto &option : options)
        parser.addOption(QCommandLineOption(QString::fromLatin1(option.name),
            QString::fromLatin1(option.help), QString::fromLatin1(option.value)));
    parser.process(application);

    layout_ui::SheetWindow window;
    window.loadSettings();
    for (const auto &option : options) {
        const QString name = QString::fromLatin1(option.name);
        if (!parser.isSet(name))
            continue;
        const QString failure = window.setOption(name, parser.value(name));
        if (!failure.isEmpty()) {
            std::fprintf(stderr, "korvane-sheet: %s\n", qPrintable(failure));
            return 2;
        }
    }
    window.show();
    return QApplication::exec();
}
