#include "settings/ExtraSettings.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSettings>

#include <utility>

namespace {
// A free name beside the damaged file for keeping it.
QString SetAsideName(const QString& path)
{
    QString bad = path + QStringLiteral(".bad");
    for (int n = 2; QFileInfo::exists(bad); ++n)
        bad = path + QStringLiteral(".%1.bad").arg(n);
    return bad;
}
} // namespace

QString ExtraSettingsPathBeside(const QString& configPath)
{
    return QFileInfo(configPath).dir().filePath(QString::fromLatin1(ExtraSettingsFileName));
}

TExtraSettings::TExtraSettings(const QString& path)
    : path(path)
    , settings(std::make_unique<QSettings>(path, QSettings::IniFormat))
{
    const QSettings::Status status = settings->status();
    if (status == QSettings::NoError)
        return;
    settings.reset();
    const QString bad = SetAsideName(path);
    if (status == QSettings::FormatError && QFile::rename(path, bad)) {
        problem = QStringLiteral("The settings file \"%1\" is damaged. It was set aside as \"%2\"; the recent "
                                 "scripts, the last folder and the launch arguments start empty.")
                      .arg(path, bad);
        settings = std::make_unique<QSettings>(path, QSettings::IniFormat);
        return;
    }
    problem = QStringLiteral("The settings file \"%1\" cannot be read and is left as it is; the recent scripts, the "
                             "last folder and the launch arguments are kept for this run only.")
                  .arg(path);
}

TExtraSettings::~TExtraSettings() = default;

QVariant TExtraSettings::Value(const char* key) const
{
    const QString name = QString::fromLatin1(key);
    return settings ? settings->value(name) : memory.value(name);
}

QString TExtraSettings::Text(const char* key) const
{
    return Value(key).toString();
}

void TExtraSettings::Set(const char* key, const QVariant& value)
{
    if (Value(key) == value)
        return;
    const QString name = QString::fromLatin1(key);
    if (!settings) {
        memory.insert(name, value);
        return;
    }
    settings->setValue(name, value);
    Write();
}

QStringList TExtraSettings::RecentScripts() const
{
    QStringList scripts;
    for (const QString& entry : Value(ExtraKey::RecentScripts).toStringList()) {
        if (!QDir::isAbsolutePath(entry))
            continue;
        const QString script = QDir::cleanPath(entry);
        if (!scripts.contains(script))
            scripts << script;
        if (scripts.size() == RecentLimit)
            break;
    }
    return scripts;
}

void TExtraSettings::AddRecentScript(const QString& script)
{
    if (!QDir::isAbsolutePath(script))
        return;
    ReadAgain();
    const QString clean = QDir::cleanPath(script);
    QStringList scripts = RecentScripts();
    scripts.removeAll(clean);
    scripts.prepend(clean);
    if (scripts.size() > RecentLimit)
        scripts.resize(RecentLimit);
    Set(ExtraKey::RecentScripts, scripts);
}

void TExtraSettings::RemoveRecentScript(const QString& script)
{
    ReadAgain();
    QStringList scripts = RecentScripts();
    if (scripts.removeAll(QDir::cleanPath(script)) > 0)
        Set(ExtraKey::RecentScripts, scripts);
}

QString TExtraSettings::TakeProblem()
{
    return std::exchange(problem, QString());
}

void TExtraSettings::ReadAgain()
{
    if (settings)
        settings->sync();
}

void TExtraSettings::Write()
{
    settings->sync();
    const bool failed = settings->status() != QSettings::NoError;
    // Told once, until a write works again.
    if (failed && !writeFailed)
        problem = QStringLiteral("The settings file \"%1\" cannot be written; the recent scripts, the last folder "
                                 "and the launch arguments are kept for this run only.")
                      .arg(path);
    writeFailed = failed;
}
