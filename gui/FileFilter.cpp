#include "gui/FileFilter.h"

bool TFileFilterGroup::Matches(const QString& fileName) const
{
    for (const QString& extension : extensions) {
        if (fileName.endsWith(QLatin1Char('.') + extension, Qt::CaseInsensitive))
            return true;
    }
    return false;
}

std::vector<TFileFilterGroup> ParseFileFilter(const QString& extensions)
{
    std::vector<TFileFilterGroup> groups;
    if (!extensions.contains(QLatin1Char(':'))) {
        groups.push_back({ QStringLiteral("Files"), extensions.split(QLatin1Char(','), Qt::SkipEmptyParts) });
        return groups;
    }
    for (const QString& group : extensions.split(QLatin1Char(';'), Qt::SkipEmptyParts)) {
        const int colon = group.indexOf(QLatin1Char(':'));
        if (colon < 0) {
            groups.push_back({ QStringLiteral("Files"), group.split(QLatin1Char(','), Qt::SkipEmptyParts) });
            continue;
        }
        groups.push_back({ group.left(colon), group.mid(colon + 1).split(QLatin1Char(','), Qt::SkipEmptyParts) });
    }
    return groups;
}

int PreselectedFilterGroup(const std::vector<TFileFilterGroup>& groups, const QString& initialPath)
{
    const QString fileName = SplitInitialPath(initialPath).second;
    const int dot = fileName.lastIndexOf(QLatin1Char('.'));
    if (dot >= 0) {
        const QString extension = fileName.mid(dot + 1);
        for (std::size_t i = 0; i < groups.size(); ++i) {
            if (groups[i].extensions.contains(extension, Qt::CaseInsensitive))
                return static_cast<int>(i);
        }
    }
    return 0;
}

std::pair<QString, QString> SplitInitialPath(const QString& path)
{
    const int slash = std::max(path.lastIndexOf(QLatin1Char('/')), path.lastIndexOf(QLatin1Char('\\')));
    if (slash < 0)
        return { QString(), path };
    return { path.left(slash), path.mid(slash + 1) };
}
