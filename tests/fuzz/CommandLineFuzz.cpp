// Splits any text as a command line, and checks that arguments quoted by the rules of the splitter
// come back exactly as they were.
#include "FuzzCheck.h"

#include "app/RunExecutable.h"

#include <cstdint>

namespace {
// An argument in double quotes: a quote inside is escaped by a backslash, and the backslashes before a
// quote (or before the closing one) are doubled.
QString Quoted(const QString& argument)
{
    QString out = QStringLiteral("\"");
    int backslashes = 0;
    for (QChar c : argument) {
        if (c == QLatin1Char('\\')) {
            ++backslashes;
            continue;
        }
        if (c == QLatin1Char('"'))
            out += QString(2 * backslashes + 1, QLatin1Char('\\'));
        else
            out += QString(backslashes, QLatin1Char('\\'));
        backslashes = 0;
        out += c;
    }
    out += QString(2 * backslashes, QLatin1Char('\\'));
    return out + QLatin1Char('"');
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const QString input = QString::fromUtf8(reinterpret_cast<const char*>(data), qsizetype(size));
    const QStringList words = SplitCommandLine(input);
    if (!input.trimmed().isEmpty())
        FUZZ_CHECK(!words.isEmpty());
    for (const QString& word : words.mid(1))
        FUZZ_CHECK(!word.isEmpty() || input.contains(QLatin1Char('"')));

    // The input's lines as a program (quotes have no escape there) and its arguments.
    QStringList wanted = input.split(QLatin1Char('\n'));
    wanted[0].remove(QLatin1Char('"'));
    QStringList quoted;
    for (const QString& argument : wanted.mid(1))
        quoted << Quoted(argument);
    FUZZ_CHECK(SplitCommandLine(LaunchCommandLine(wanted[0], quoted.join(QLatin1Char(' ')))) == wanted);
    return 0;
}
