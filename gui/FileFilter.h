// The file requester's filter text: "Lua script:lua;Images:png,jpg" as groups of extensions.
#pragma once

#include <QFileInfo>
#include <QString>
#include <QStringList>

#include <utility>
#include <vector>

struct TFileFilterGroup {
    QString description;
    QStringList extensions;
    // "*" in the list: every file belongs to the group.
    bool anyName = false;
    // "+x" in the list: so do the files the user may run, whatever their name (programs on Linux have
    // no extension).
    bool runnable = false;

    // True when the name ends in a dot and one of the extensions (case-insensitively), or for every
    // name when the group takes any.
    bool Matches(const QString& fileName) const;
    // True when the file belongs to the group: by its name, or as a file the user may run.
    bool Accepts(const QFileInfo& file) const;
};

// Groups are separated by ";", a description from its extensions by ":", extensions by ",". A text
// without ":" is one group described as "Files". "*" and "+x" are no extensions but the marks above.
std::vector<TFileFilterGroup> ParseFileFilter(const QString& extensions);

// The group that lists the extension of the initial path's file name; the first if none does.
int PreselectedFilterGroup(const std::vector<TFileFilterGroup>& groups, const QString& initialPath);

// The initial path split at its last "/" or "\" into the starting folder and the proposed file name.
std::pair<QString, QString> SplitInitialPath(const QString& path);
