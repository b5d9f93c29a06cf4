// korvane: the window. Start-up shows Form1 with every box empty; closing it ends the program.

#include "ui/form1.h"
#include "ui/icon.h"

#include <QApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

#include <cstdio>
#include <cstdlib>

namespace {

constexpr const char *kNoDisplay =
    "korvane: no display to open the window on; korvane-count SHELL PITCH TUBE [CENTRE] "
    "gives the same count in a terminal";

// Qt ends a program that cannot reach its display with several lines about platform plugins.
// Until the application is up, say instead in one line what is wrong and what to use.
void startUpMessages(QtMsgType type, const QMessageLogContext &, const QString &message)
{
    if (type != QtFatalMsg) {
        if (type != QtDebugMsg && type != QtInfoMsg && !message.contains(QLatin1String("display")))
            std::fprintf(stderr, "%s\n", qPrintable(message));
        return;
    }
    std::fprintf(stderr, "%s\n", kNoDisplay);
    std::_Exit(EXIT_FAILURE);
}

bool displayExpected()
{
    const QByteArray platform = qgetenv("QT_QPA_PLATFORM");
    if (!platform.isEmpty() && !platform.startsWith("xcb") && !platform.startsWith("wayland"))
        return true;
    return qEnvironmentVariableIsSet("DISPLAY") || qEnvironmentVariableIsSet("WAYLAND_DISPLAY");
}

} // namespace

int main(int argc, char **argv)
{
    if (!displayExpected()) {
        std::fprintf(stderr, "%s\n", kNoDisplay);
        return EXIT_FAILURE;
    }

    const QtMessageHandler previous = qInstallMessageHandler(startUpMessages);
    QApplication app(argc, argv);
    qInstallMessageHandler(previous);
    QApplication::setApplicationName(QString::fromUtf8(ui::kTitle));
    QApplication::setApplicationVersion(QStringLiteral(KORVANE_VERSION));
    QApplication::setDesktopFileName(QStringLiteral("korvane"));
    QApplication::setWindowIcon(ui::windowIcon());

    // The interface is Simplified Chinese, Qt's own menus included (a text box's context menu).
    QTranslator qtChinese;
    if (qtChinese.load(QLocale(QLocale::Chinese, QLocale::China), QStringLiteral("qtbase"),
            QStringLiteral("_"), QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QApplication::installTranslator(&qtChinese);

    ui::Form1 window;
    window.show();
    return QApplication::exec();
}
