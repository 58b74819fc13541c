#include "app/CommandLine.h"

#include <QCommandLineParser>
#include <QFile>

namespace {
const QString Program = QStringLiteral("tarvane-le");
} // namespace

TCommandLine ParseCommandLine(int argc, char** argv)
{
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments << QFile::decodeName(argv[i]);

    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Edit the Lua scripts of the game Tarvane."));
    const QCommandLineOption help(
        { QStringLiteral("h"), QStringLiteral("help") }, QStringLiteral("Show this help and exit."));
    const QCommandLineOption version(
        { QStringLiteral("v"), QStringLiteral("version") }, QStringLiteral("Show the version and exit."));
    parser.addOption(help);
    parser.addOption(version);
    parser.addPositionalArgument(QStringLiteral("script"),
        QStringLiteral("The Lua script to open; \"--\" before it lets its name begin with \"-\"."),
        QStringLiteral("[script]"));

    TCommandLine line;
    if (!parser.parse(arguments)) {
        line.action = TCommandLine::Action::Error;
        line.output = Program + QStringLiteral(": ") + parser.errorText() + QStringLiteral("\nTry '") + Program
            + QStringLiteral(" --help' for more information.\n");
        return line;
    }
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
    if (scripts.isEmpty())
        return line;
    line.script = scripts.takeFirst();
    const QByteArray encoded = QFile::encodeName(line.script);
    line.scriptNameExact = false;
    for (int i = 1; i < argc; ++i)
        line.scriptNameExact = line.scriptNameExact || encoded == QByteArray(argv[i]);
    if (!scripts.isEmpty()) {
        line.output = Program + QStringLiteral(": the editor holds one script; ignored: ")
            + scripts.join(QStringLiteral(" ")) + QLatin1Char('\n');
    }
    return line;
}
