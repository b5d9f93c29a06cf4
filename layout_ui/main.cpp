// korvane-sheet: the layout study as a window. A design file, and korvane-layout's input options
// beside it, describe the layout to open with; without them the window shows what it showed
// when last closed.

#include "files/program.h"
#include "layout/options.h"
#include "layout_ui/sheet_window.h"
#include "report/design.h"
#include "report/form.h"
#include "ui/start_up.h"

#include <QApplication>
#include <QFileInfo>
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

/// The layout a first run shows, as a command line gives it.
std::string example()
{
    std::string line;
    for (const layout::TypedOption &option : report::exampleOptions())
        line += " --" + option.name + (option.value.empty() ? "" : " " + option.value);
    return line;
}

/// The help, its layout options from the form's table, as korvane-layout lists them.
std::string helpText()
{
    const std::string usage = "usage: korvane-sheet [DESIGN] ";
    return usage + report::usageOptions(usage.size())
        + "\n"
          "Opens the tube-sheet layout window: the exact layout study of korvane-layout, drawn as\n"
          "it is typed. Without options it shows the layout it showed when it was last closed.\n"
          "The options describe a whole layout, as korvane-layout's do: what is not given takes\n"
          "korvane-layout's default, and they are read as korvane-layout reads them. DESIGN is a\n"
          "design file (korvane-layout --save-design writes one): its inputs and edits open, and\n"
          "options given beside it replace its inputs.\n\n"
        + report::optionsHelp()
        + "\nOther options:\n"
          "  --help                    print this and end\n"
          "  --version                 print the version and end\n\n"
          "Example:\n  korvane-sheet"
        + example()
        + "\nExit status: 0 the window was closed; 1 no display to open it on; 2 a usage "
          "error.\n";
}

/// What the command line asks for.
struct Request
{
    bool help = false, version = false;
    std::vector<layout::TypedOption> options;
    std::string design; ///< a design file to open
    std::vector<layout::TypedOption> designInputs; ///< its inputs, read to check them
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

bool isSwitch(const std::string &name)
{
    for (const report::Option &option : report::options())
        if (name == option.name)
            return option.kind == report::Kind::Switch;
    return false;
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
        if (argument.rfind("--", 0) != 0) {
            if (!request.design.empty() || argument.empty())
                throw std::invalid_argument("unexpected argument '" + argument + "'");
            request.design = argument;
            continue;
        }
        std::string name = argument.substr(2), value;
        const std::size_t equals = name.find('=');
        if (equals != std::string::npos) {
            value = name.substr(equals + 1);
            name.erase(equals);
        }
        if (!layout::isLayoutOption(name))
            throw std::invalid_argument("unknown option --" + name);
        // A switch comes alone (or as --name=0 to say no).
        if (equals == std::string::npos && isSwitch(name)) {
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

/// The inputs of a design file, read as korvane-layout reads it. Throws std::runtime_error
/// naming the file.
std::vector<layout::TypedOption> designInputs(const std::string &file)
{
    try {
        return report::readDesignFile(file).inputs;
    } catch (const report::DesignError &error) {
        throw std::runtime_error(file + ": " + error.what());
    }
}

int run(int argc, char **argv)
{
    Request request;
    try {
        request = requestOf(argc, argv);
        if (!request.help && !request.version && !request.design.empty())
            request.designInputs = designInputs(request.design);
        const auto options = report::mergedInputs(request.designInputs, request.options);
        if (!request.help && !request.version && !options.empty()) {
            const layout::Reading reading = layout::readLayout(options);
            if (!reading.ok())
                throw std::invalid_argument(reading.problems.front().what());
        }
    } catch (const std::runtime_error &error) {
        // A design that cannot be opened is named with its reason, as korvane-layout names it.
        std::cerr << "korvane-sheet: " << error.what() << "\n";
        return kUsageError;
    } catch (const std::invalid_argument &error) {
        std::cerr << "korvane-sheet: " << error.what()
                  << "; korvane-sheet --help lists the options\n";
        return kUsageError;
    }
    if (request.help || request.version) {
        std::cout << (request.help ? helpText() : "korvane-sheet " KORVANE_VERSION "\n");
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
    bool opened = false;
    if (!request.design.empty()) {
        const QString file = QString::fromLocal8Bit(request.design.c_str());
        const QString failure = window.openDesign(file);
        if (!failure.isEmpty())
            std::cerr << "korvane-sheet: " << failure.toStdString() << "\n";
        opened = window.designFile() == QFileInfo(file).absoluteFilePath();
    }
    if (!request.options.empty())
        window.applyOptions(
            opened ? report::mergedInputs(request.designInputs, request.options) : request.options);
    window.show();
    return QApplication::exec();
}

} // namespace

int main(int argc, char **argv)
{
    return files::runProgram("korvane-sheet", run, argc, argv);
}
