// The file requester's filter text: "Lua script:lua;Images:png,jpg" as groups of extensions.
#pragma once

#include <QString>
#include <QStringList>

#include <utility>
#include <vector>

struct TFileFilterGroup {
    QString description;
    QStringList extensions;

    // True when the name ends in a dot and one of the extensions (case-insensitively).
    bool Matches(const QString& fileName) const;
};

// Groups are separated by ";", a description from its extensions by ":", extensions by ",". A text
// without ":" is one group described as "Files".
std::vector<TFileFilterGroup> ParseFileFilter(const QString& extensions);

// The group that lists the extension of the initial path's file name; the first if none does.
int PreselectedFilterGroup(const std::vector<TFileFilterGroup>& groups, const QString& initialPath);

// The initial path split at its last "/" or "\" into the starting folder and the proposed file name.
std::pair<QString, QString> SplitInitialPath(const QString& path);
