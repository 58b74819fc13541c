// TExtraSettings: the editor's options that config.dat has no room for, in an INI file of their own.
//
// config.dat keeps its fixed layout; everything added since lives here, beside it, as plain keys and
// values. Each change is written at once, and the file is read again first, so that two editors lose
// as little of each other's values as they can. A file that cannot be read never stops the editor: a
// damaged one is set aside and the values start empty, an unreadable one is left alone and the values
// last for this run only.
#pragma once

#include <QString>
#include <QStringList>
#include <QVariant>
#include <QVariantMap>

#include <memory>

class QSettings;

inline constexpr const char* ExtraSettingsFileName = "tarvane-le.ini";

// The keys in use.
namespace ExtraKey {
inline constexpr const char* RecentScripts = "recent/scripts";
inline constexpr const char* LastFolder = "requester/lastFolder";
inline constexpr const char* GameArguments = "launch/game";
inline constexpr const char* DedicatedArguments = "launch/dedicated";
inline constexpr const char* GroupTyping = "edit/groupTyping";
inline constexpr const char* ColourEscapes = "tools/writeColorsAsEscapes";
} // namespace ExtraKey

// The file that sits beside a given config.dat.
QString ExtraSettingsPathBeside(const QString& configPath);

class TExtraSettings {
public:
    // How many scripts the recent list keeps.
    static constexpr int RecentLimit = 10;

    explicit TExtraSettings(const QString& path);
    ~TExtraSettings();
    TExtraSettings(const TExtraSettings&) = delete;
    TExtraSettings& operator=(const TExtraSettings&) = delete;

    const QString& Path() const { return path; }

    QVariant Value(const char* key) const;
    QString Text(const char* key) const;
    // Stores a value and writes the file, unless it holds that value already.
    void Set(const char* key, const QVariant& value);

    // Absolute paths, the most recent first, without repeats, at most RecentLimit; whatever else the
    // file holds under the key is passed over.
    QStringList RecentScripts() const;
    // Puts the script at the top, taking it from lower down if it was there.
    void AddRecentScript(const QString& script);
    void RemoveRecentScript(const QString& script);

    // What went wrong with the file, to be told once: empty until something else goes wrong.
    QString TakeProblem();

private:
    // Takes in what another editor wrote meanwhile.
    void ReadAgain();
    void Write();

    QString path;
    // Null when the file is not this editor's to write: it could not be read and is left as it was,
    // and the values live in `memory` for this run.
    std::unique_ptr<QSettings> settings;
    QVariantMap memory;
    QString problem;
    bool writeFailed = false;
};
