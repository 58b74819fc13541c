#include "app/RunExecutable.h"

#include "gui/SystemDriver.h"

#include <QDir>

namespace {
bool IsBlank(QChar c)
{
    return c == QLatin1Char(' ') || c == QLatin1Char('\t');
}

// The program name: quotes group and are dropped, nothing else is special.
QString TakeProgram(const QString& line, int& i)
{
    QString program;
    bool quoted = false;
    for (; i < line.size(); ++i) {
        const QChar c = line[i];
        if (c == QLatin1Char('"'))
            quoted = !quoted;
        else if (IsBlank(c) && !quoted)
            break;
        else
            program += c;
    }
    return program;
}
} // namespace

QStringList SplitCommandLine(const QString& line)
{
    QStringList words;
    int i = 0;
    while (i < line.size() && IsBlank(line[i]))
        ++i;
    if (i >= line.size())
        return words;
    words << TakeProgram(line, i);

    for (;;) {
        while (i < line.size() && IsBlank(line[i]))
            ++i;
        if (i >= line.size())
            break;
        QString word;
        bool quoted = false;
        while (i < line.size() && (quoted || !IsBlank(line[i]))) {
            int backslashes = 0;
            while (i < line.size() && line[i] == QLatin1Char('\\')) {
                ++backslashes;
                ++i;
            }
            if (i < line.size() && line[i] == QLatin1Char('"')) {
                word += QString(backslashes / 2, QLatin1Char('\\'));
                if (backslashes % 2) {
                    word += QLatin1Char('"');
                    ++i;
                } else if (quoted && i + 1 < line.size() && line[i + 1] == QLatin1Char('"')) {
                    word += QLatin1Char('"'); // "" inside quotes is one literal quote
                    i += 2;
                } else {
                    quoted = !quoted;
                    ++i;
                }
                continue;
            }
            word += QString(backslashes, QLatin1Char('\\'));
            if (i < line.size() && (quoted || !IsBlank(line[i]))) {
                word += line[i];
                ++i;
            }
        }
        words << word;
    }
    return words;
}

QString LaunchCommandLine(const QString& path, const QString& arguments)
{
    return QLatin1Char('"') + path + QStringLiteral("\" ") + arguments;
}

bool RunExecutable(const QString& path, const QString& arguments)
{
    QStringList words = SplitCommandLine(LaunchCommandLine(path, arguments));
    if (words.isEmpty() || words.first().isEmpty())
        return false;
    const QString program = words.takeFirst();
    return SystemDriver().Launch(program, words, QDir::currentPath());
}
