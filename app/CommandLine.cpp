#include "app/CommandLine.h"

#include <QCommandLineParser>
#include <QFile>

#include <algorithm>
#include <cstring>
#include <string_view>

namespace {
const QString Program = QStringLiteral("tarvane-le");

// The options Qt's application object takes away from the command line, and whether a value follows
// each. Qt accepts them with one dash or two.
struct TQtOption {
    const char* name;
    bool takesValue;
};
const TQtOption QtOptions[] = {
    { "style", true },
    { "stylesheet", true },
    { "widgetcount", false },
    { "reverse", false },
    { "platform", true },
    { "platformpluginpath", true },
    { "platformtheme", true },
    { "plugin", true },
    { "qwindowgeometry", true },
    { "qwindowicon", true },
    { "qwindowtitle", true },
    { "session", true },
    { "testability", false },
    // The X11 ones.
    { "display", true },
    { "geometry", true },
    { "title", true },
    { "icon", true },
    { "name", true },
    { "visual", true },
    { "nograb", false },
    { "dograb", false },
};

// How many arguments from this one on Qt's application object takes: 0 when it is none of its options,
// 1 for a switch or "-style=Fusion", 2 for an option and its value.
int QtOptionLength(const char* argument)
{
    if (argument[0] != '-')
        return 0;
    const std::string_view name(argument + (argument[1] == '-' ? 2 : 1));
    for (const char* joined : { "style=", "stylesheet=", "qmljsdebugger=" }) {
        if (name.starts_with(joined))
            return 1;
    }
    for (const TQtOption& option : QtOptions) {
        if (name == option.name)
            return option.takesValue ? 2 : 1;
    }
    return 0;
}

TCommandLine Failed(const QString& error)
{
    TCommandLine line;
    line.action = TCommandLine::Action::Error;
    line.output = Program + QStringLiteral(": ") + error + QStringLiteral("\nTry '") + Program
        + QStringLiteral(" --help' for more information.\n");
    return line;
}
} // namespace

TCommandLine ParseCommandLine(int argc, char** argv)
{
    // Qt's options go to the application object, the rest to the editor's parser: after "--" every
    // argument is the editor's, a script named "-style" too.
    std::vector<char*> guiArguments(argv, argv + std::min(argc, 1));
    std::vector<const char*> own(argv, argv + std::min(argc, 1));
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--") == 0) {
            own.insert(own.end(), argv + i, argv + argc);
            break;
        }
        const int length = QtOptionLength(argv[i]);
        if (length == 0) {
            own.push_back(argv[i]);
            continue;
        }
        if (i + length > argc)
            return Failed(QStringLiteral("Missing value after '%1'.").arg(QFile::decodeName(argv[i])));
        guiArguments.insert(guiArguments.end(), argv + i, argv + i + length);
        i += length - 1;
    }
    QStringList arguments;
    for (const char* argument : own)
        arguments << QFile::decodeName(argument);

    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Edit the Lua scripts of the game Tarvane.\n"
                                                    "Qt's standard options (-style, -stylesheet, -platform, "
                                                    "-reverse, ...) are taken too."));
    const QCommandLineOption help(
        { QStringLiteral("h"), QStringLiteral("help") }, QStringLiteral("Show this help and exit."));
    const QCommandLineOption version(
        { QStringLiteral("v"), QStringLiteral("version") }, QStringLiteral("Show the version and exit."));
    const QCommandLineOption check(QStringLiteral("check"),
        QStringLiteral("Check the scripts named (syntax, the game's rules, the Lua linter) without opening a "
                       "window; print each problem as FILE:LINE:COLUMN: error|warning|hint: message. Exits 0 "
                       "without errors, 1 with errors, 2 when a script cannot be read."));
    parser.addOption(help);
    parser.addOption(version);
    parser.addOption(check);
    parser.addPositionalArgument(QStringLiteral("script"),
        QStringLiteral("The Lua script to open; \"--\" before it lets its name begin with \"-\"."),
        QStringLiteral("[script]"));

    if (!parser.parse(arguments))
        return Failed(parser.errorText());
    TCommandLine line;
    line.guiArguments = std::move(guiArguments);
    if (parser.isSet(help)) {
        line.action = TCommandLine::Action::Help;
        line.output = parser.helpText().replace(QStringLiteral("<executable_name>"), Program);
        return line;
    }
    if (parser.isSet(version)) {
        line.action = TCommandLine::Action::Version;
        line.output = Program + QStringLiteral(" " TLE_VERSION "\n");
        return line;
    }
    QStringList scripts = parser.positionalArguments();
    if (parser.isSet(check)) {
        if (scripts.isEmpty())
            return Failed(QStringLiteral("--check needs the scripts to check."));
        line.action = TCommandLine::Action::Check;
        line.checkFiles = scripts;
        return line;
    }
    if (scripts.isEmpty())
        return line;
    line.script = scripts.takeFirst();
    const QByteArray encoded = QFile::encodeName(line.script);
    line.scriptNameExact = false;
    for (std::size_t i = 1; i < own.size(); ++i)
        line.scriptNameExact = line.scriptNameExact || encoded == QByteArray(own[i]);
    if (!scripts.isEmpty()) {
        line.output = Program + QStringLiteral(": the editor holds one script; ignored: ")
            + scripts.join(QStringLiteral(" ")) + QLatin1Char('\n');
    }
    return line;
}
