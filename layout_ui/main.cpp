// korvane-sheet: the layout study as a window. korvane-layout's input options describe the
// layout to open with; without them the window shows what it showed when last closed.

#include "files/program.h"
#include "layout/options.h"
#include "layout_ui/sheet_window.h"
#include "ui/start_up.h"

#include <QApplication>
#include <QIcon>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

#include <algorithm>
#include <iostream>
#include <iterator>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

constexpr int kUsageError = 2;

constexpr const char *kNoDisplay =
    "korvane-sheet: no display to open the window on; korvane-layout gives the same layout in a "
    "terminal";

constexpr const char *kHelp =
    "usage: korvane-sheet [--shell DI | --otl DL] [--tube D] [--pitch P] [--pattern ANGLE]\n"
    "                     [--passes N] [--centre MODE] [--lane-spacing H[,V]] [--clearance B]\n"
    "                     [--centre-tube D0] [--lanes MODEL] [--gb151] [--bundle KIND]\n"
    "                     [--bend-radius R] [--tie-rods N|gb151|tema] [--baffle-cut BC]\n"
    "Opens the tube-sheet layout window: the exact layout study of korvane-layout, drawn as it\n"
    "is typed. Without options it shows the layout it showed when it was last closed. The\n"
    "options describe a whole layout, as korvane-layout's do: what is not given takes\n"
    "korvane-layout's default, and they are read as korvane-layout reads them.\n"
    "\n"
    "Options (lengths in mm, decimals with up to 6 places, at most 100000):\n"
    "  --shell DI          shell inner diameter Di; the layout circle is Di - 2b\n"
    "  --otl DL            layout circle (outer tube limit) DL, instead of the shell\n"
    "  --tube D            tube outer diameter d\n"
    "  --pitch P           tube pitch p, at least d\n"
    "  --pattern ANGLE     30 triangular (default), 60 rotated triangular, 90 square,\n"
    "                      45 rotated square\n"
    "  --passes N          1 (default), 2, 4, 6 or 8\n"
    "  --centre MODE       on-tube (default), straddle, or best\n"
    "  --lane-spacing H[,V] pass lane spacing Sn of every lane, or of the horizontal and the\n"
    "                      vertical ones\n"
    "  --clearance B       clearance b between shell and layout circle (default max(0.25 d, 8))\n"
    "  --centre-tube D0    centre tube outer diameter d0; 0 for none\n"
    "  --lanes MODEL       remove (default): lanes take tubes out of one pattern; shift: the\n"
    "                      rows across a lane are Sn apart (GB/T 151)\n"
    "  --gb151             the pitch, Sn, lanes and tie rods not given from GB/T 151\n"
    "  --bundle KIND       fixed (default) or u-tube (2 or 4 passes)\n"
    "  --bend-radius R     the smallest U-bend radius (default 2 d)\n"
    "  --tie-rods N        tie rods at the bundle's edge: a number, gb151 or tema\n"
    "  --baffle-cut BC     segmental baffles cut at BC % of Di (15 to 45), or a list\n"
    "  --help              print this and end\n"
    "  --version           print the version and end\n"
    "\n"
    "Example:\n"
    "  korvane-sheet --otl 1184 --tube 28 --pitch 36 --passes 2\n"
    "Exit status: 0 the window was closed; 1 no display to open it on; 2 a usage error.\n";

/// What the command line asks for.
struct Request
{
    bool help = false, version = false;
    std::vector<layout::TypedOption> options;
};

/// Qt's own options, which every Qt program takes (-style fusion): left for QApplication,
/// with the value of those that take one.
bool qtOption(const std::string &argument, bool &takesValue)
{
    static const char *const withValue[] = { "-platform", "-platformpluginpath", "-platformtheme",
        "-plugin", "-qwindowgeometry", "-qwindowicon", "-qwindowtitle", "-style", "-stylesheet",
        "-session", "-display", "-geometry" };
    static const char *const alone[] = { "-reverse", "-widgetcount", "-nograb", "-dograb",
        "-sync" };
    const auto is = [&argument](const char *option) { return argument == option; };
    takesValue = std::any_of(std::begin(withValue), std::end(withValue), is);
    return takesValue || std::any_of(std::begin(alone), std::end(alone), is);
}

/// Reads the command line without Qt, so that help, a version and a mistake need no display.
/// Throws std::invalid_argument with one line for the user.
Request requestOf(int argc, char **argv)
{
    Request request;
    for (int i = 1; i < argc; ++i) {
        const std::string argument = argv[i];
        if (bool takesValue = false; qtOption(argument, takesValue)) {
            i += takesValue ? 1 : 0;
            continue;
        }
        if (argument == "--help" || argument == "-h") {
            request.help = true;
            continue;
        }
        if (argument == "--version") {
            request.version = true;
            continue;
        }
        if (argument.rfind("--", 0) != 0)
            throw std::invalid_argument("unexpected argument '" + argument + "'");
        std::string name = argument.substr(2), value;
        const std::size_t equals = name.find('=');
        if (equals != std::string::npos) {
            value = name.substr(equals + 1);
            name.erase(equals);
        }
        if (!layout::isLayoutOption(name))
            throw std::invalid_argument("unknown option --" + name);
        // --gb151 is a switch: it comes alone (or as --gb151=0 to say no).
        if (equals == std::string::npos && name == "gb151") {
            request.options.push_back({ name, "" });
            continue;
        }
        if (equals == std::string::npos) {
            if (i + 1 >= argc)
                throw std::invalid_argument("--" + name + " needs a value");
            value = argv[++i];
        }
        request.options.push_back({ name, value });
    }
    return request;
}

int run(int argc, char **argv)
{
    Request request;
    try {
        request = requestOf(argc, argv);
        if (!request.help && !request.version && !request.options.empty()) {
            const layout::Reading reading = layout::readLayout(request.options);
            if (!reading.ok())
                throw std::invalid_argument(reading.problems.front().what());
        }
    } catch (const std::invalid_argument &error) {
        std::cerr << "korvane-sheet: " << error.what()
                  << "; korvane-sheet --help lists the options\n";
        return kUsageError;
    }
    if (request.help || request.version) {
        std::cout << (request.help ? kHelp : "korvane-sheet " KORVANE_VERSION "\n");
        return files::printed("korvane-sheet", 0);
    }

    const auto application = ui::openApplication(argc, argv, kNoDisplay);
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

    layout_ui::SheetWindow window;
    window.loadSettings();
    if (!request.options.empty())
        window.applyOptions(request.options);
    window.show();
    return QApplication::exec();
}

} // namespace

int main(int argc, char **argv)
{
    return files::runProgram("korvane-sheet", run, argc, argv);
}
