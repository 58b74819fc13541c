// Runs a test's helper program as the unprivileged user when the tests run as root, since permission
// bits do not stop root. The helper is run from a copy beside the test's files: the checkout may lie in
// a folder that only its owner can enter.
#pragma once

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QProcessEnvironment>
#include <QRegularExpression>
#include <QString>

#include <grp.h>
#include <sys/stat.h>
#include <unistd.h>

inline constexpr uid_t Nobody = 65534;

inline bool RunningAsRoot()
{
    return ::geteuid() == 0;
}

// Hands a file or folder to the unprivileged user when the test runs as root; true when nothing failed.
inline bool GiveToNobody(const QString& path)
{
    return !RunningAsRoot() || ::chown(QFile::encodeName(path).constData(), Nobody, Nobody) == 0;
}

// Where a test keeps what the unprivileged user must reach: the usual temporary folder when every folder
// above it lets others pass, else /tmp.
inline QString ReachableTempPath()
{
    for (QString path = QDir::tempPath(); !path.isEmpty() && path != QLatin1String("/");
         path = path.section(QLatin1Char('/'), 0, -2)) {
        struct stat info { };
        if (::stat(QFile::encodeName(path).constData(), &info) != 0 || !(info.st_mode & S_IXOTH))
            return QStringLiteral("/tmp");
    }
    return QDir::tempPath();
}

// A copy of `program` in `folder` that any user may run; empty when it could not be made. The folder
// itself must be open to the unprivileged user.
inline QString ReachableCopy(const QString& program, const QString& folder)
{
    const QString copy = folder + QLatin1Char('/') + program.section(QLatin1Char('/'), -1);
    QFile::remove(copy);
    if (!QFile::copy(program, copy) || ::chmod(QFile::encodeName(copy).constData(), 0755) != 0)
        return QString();
    return copy;
}

// A sanitizer build names its leak suppressions in LSAN_OPTIONS by a path inside the checkout, which the
// unprivileged user may not reach: the child gets a copy in `folder`, a folder open to it.
inline void ShareSanitizerFiles(QProcessEnvironment& environment, const QString& folder)
{
    QString options = environment.value(QStringLiteral("LSAN_OPTIONS"));
    const QRegularExpression suppressions(QStringLiteral("suppressions=(\"[^\"]*\"|[^:]*)"));
    const QRegularExpressionMatch match = suppressions.match(options);
    if (!match.hasMatch())
        return;
    QString file = match.captured(1);
    if (file.startsWith(QLatin1Char('"')))
        file = file.mid(1, file.size() - 2);
    const QString copy = folder + QStringLiteral("/lsan.supp");
    QFile::remove(copy);
    if (!QFile::copy(file, copy))
        return;
    ::chmod(QFile::encodeName(copy).constData(), 0644);
    options.replace(match.capturedStart(0), match.capturedLength(0), QStringLiteral("suppressions=\"%1\"").arg(copy));
    environment.insert(QStringLiteral("LSAN_OPTIONS"), options);
}

// The child drops to the unprivileged user before it starts, when the test runs as root; it ends with
// status 126 when the system refuses.
inline void DropToNobody(QProcess& process)
{
    if (!RunningAsRoot())
        return;
    process.setChildProcessModifier([] {
        if (::setgroups(0, nullptr) != 0 || ::setresgid(Nobody, Nobody, Nobody) != 0
            || ::setresuid(Nobody, Nobody, Nobody) != 0)
            ::_exit(126);
    });
}
