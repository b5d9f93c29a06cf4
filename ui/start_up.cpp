#include "ui/start_up.h"

#include <cstdio>
#include <cstdlib>

namespace ui {

namespace {

    const char *g_noDisplay = "";

    // Until the application is up, Qt's fatal message about a display it cannot reach becomes
    // the one line; its other warnings pass, but for those about the display.
    void startUpMessages(QtMsgType type, const QMessageLogContext &, const QString &message)
    {
        if (type != QtFatalMsg) {
            if (type != QtDebugMsg && type != QtInfoMsg
                && !message.contains(QLatin1String("display")))
                std::fprintf(stderr, "%s\n", qPrintable(message));
            return;
        }
        std::fprintf(stderr, "%s\n", g_noDisplay);
        std::_Exit(EXIT_FAILURE);
    }

} // namespace

bool displayExpected()
{
    const QByteArray platform = qgetenv("QT_QPA_PLATFORM");
    if (!platform.isEmpty() && !platform.startsWith("xcb") && !platform.startsWith("wayland"))
        return true;
    return qEnvironmentVariableIsSet("DISPLAY") || qEnvironmentVariableIsSet("WAYLAND_DISPLAY");
}

std::unique_ptr<QApplication> openApplication(int &argc, char **argv, const char *noDisplay)
{
    if (!displayExpected()) {
        std::fprintf(stderr, "%s\n", noDisplay);
        std::exit(EXIT_FAILURE);
    }
    g_noDisplay = noDisplay;
    const QtMessageHandler previous = qInstallMessageHandler(startUpMessages);
    auto application = std::make_unique<QApplication>(argc, argv);
    qInstallMessageHandler(previous);
    return application;
}

} // namespace ui
