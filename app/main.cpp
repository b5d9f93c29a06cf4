// korvane: the window. Start-up shows Form1 with every box empty; closing it ends the program.

#include "ui/form1.h"
#include "ui/icon.h"
#include "ui/start_up.h"

#include <QApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

constexpr const char *kNoDisplay =
    "korvane: no display to open the window on; korvane-count SHELL PITCH TUBE [CENTRE] "
    "gives the same count in a terminal";

constexpr const char *kHelp =
    "usage: korvane [--help | --version]\n"
    "Opens the Korvane window: type the shell inner diameter (壳内经), the tube pitch (管心距), "
    "the "
    "tube outer diameter (管外经) and, if there is one, the centre tube outer diameter "
    "(中心管外径), "
    "all in mm, and click 计算 for the number of tubes on an equilateral-triangle pattern.\n"
    "korvane-count SHELL PITCH TUBE [CENTRE] gives the same count in a terminal; korvane-layout "
    "counts multi-pass layouts of every pattern exactly.\n";

/// --help and --version print and end the program before any window or display is needed.
/// Returns the exit status, or -1 to go on to the window.
int printOnly(int argc, char **argv)
{
    if (argc != 2)
        return -1;
    const std::string option = argv[1];
    if (option != "--help" && option != "-h" && option != "--version")
        return -1;
    std::fputs(option == "--version" ? "korvane " KORVANE_VERSION "\n" : kHelp, stdout);
    if (std::fflush(stdout) != 0 || std::ferror(stdout)) {
        std::fputs("korvane: cannot write standard output\n", stderr);
        return EXIT_FAILURE;
    }
    return EXIT_SUCCESS;
}

} // namespace

int main(int argc, char **argv)
{
    if (const int status = printOnly(argc, argv); status >= 0)
        return status;
    const auto app = ui::openApplication(argc, argv, kNoDisplay);
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
