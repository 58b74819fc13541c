#include "gui/FileFilter.h"

namespace {
TFileFilterGroup Group(const QString& description, const QString& list)
{
    TFileFilterGroup group { description, list.split(QLatin1Char(','), Qt::SkipEmptyParts) };
    group.anyName = group.extensions.removeAll(QStringLiteral("*")) > 0;
    group.runnable = group.extensions.removeAll(QStringLiteral("+x")) > 0;
    return group;
}
} // namespace

bool TFileFilterGroup::Matches(const QString& fileName) const
{
    if (anyName)
        return true;
    for (const QString& extension : extensions) {
        if (fileName.endsWith(QLatin1Char('.') + extension, Qt::CaseInsensitive))
            return true;
    }
    return false;
}

bool TFileFilterGroup::Accepts(const QFileInfo& file) const
{
    return Matches(file.fileName()) || (runnable && file.isFile() && file.isExecutable());
}

std::vector<TFileFilterGroup> ParseFileFilter(const QString& extensions)
{
    std::vector<TFileFilterGroup> groups;
    if (!extensions.contains(QLatin1Char(':'))) {
        groups.push_back(Group(QStringLiteral("Files"), extensions));
        return groups;
    }
    for (const QString& group : extensions.split(QLatin1Char(';'), Qt::SkipEmptyParts)) {
        const int colon = group.indexOf(QLatin1Char(':'));
        if (colon < 0) {
            groups.push_back(Group(QStringLiteral("Files"), group));
            continue;
        }
        groups.push_back(Group(group.left(colon), group.mid(colon + 1)));
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
