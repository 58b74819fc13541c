#include "app/RunExecutable.h"

#include "gui/SystemDriver.h"

#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

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

bool IsWindowsProgram(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) && file.read(2) == "MZ";
}

bool CannotStart(const QString& program, const QString& why)
{
    Notify(QStringLiteral("Cannot start %1: %2").arg(program, why), true);
    return false;
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
        return CannotStart(path, QStringLiteral("the path names no file."));
    // A relative path is relative to the editor's folder, never looked up on the PATH.
    const QFileInfo file(words.takeFirst());
    const QString program = file.absoluteFilePath();
    if (!file.exists())
        return CannotStart(program, QStringLiteral("the file does not exist."));
    if (file.isDir())
        return CannotStart(program, QStringLiteral("it is a folder, not a program."));
    // Reading a pipe or a device could wait for ever.
    if (!file.isFile())
        return CannotStart(program, QStringLiteral("it is not a regular file."));
    const QString folder = file.absolutePath();
    QString starter = program;
    if (IsWindowsProgram(program)) {
        starter = QStandardPaths::findExecutable(QStringLiteral("wine"));
        if (starter.isEmpty()) {
            return CannotStart(
                program, QStringLiteral("it is a Windows program, and there is no \"wine\" on the PATH to run it."));
        }
        words.prepend(program);
    } else if (!file.isExecutable()) {
        return CannotStart(program, QStringLiteral("the file may not be run (it lacks the execute permission)."));
    }
    if (!SystemDriver().Launch(starter, words, folder))
        return CannotStart(
            program, QStringLiteral("the system could not start it (it may be built for another system)."));
    return true;
}
