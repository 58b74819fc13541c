// Parses any text as a file requester filter and picks the group for any initial path.
#include "FuzzCheck.h"

#include "gui/FileFilter.h"

#include <algorithm>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    // The first line is the filter, the rest the initial path.
    const QString input = QString::fromUtf8(reinterpret_cast<const char*>(data), qsizetype(size));
    const qsizetype newline = input.indexOf(QLatin1Char('\n'));
    const QString filter = newline < 0 ? input : input.left(newline);
    const QString path = newline < 0 ? QString() : input.mid(newline + 1);

    const std::vector<TFileFilterGroup> groups = ParseFileFilter(filter);
    if (!filter.contains(QLatin1Char(':')))
        FUZZ_CHECK(groups.size() == 1);
    for (const TFileFilterGroup& group : groups) {
        FUZZ_CHECK(!group.description.contains(QLatin1Char(';')));
        for (const QString& extension : group.extensions) {
            FUZZ_CHECK(!extension.isEmpty());
            FUZZ_CHECK(!extension.contains(QLatin1Char(',')));
            // Without ":" the whole text is one list, and ";" is an ordinary character.
            FUZZ_CHECK(!extension.contains(QLatin1Char(';')) || !filter.contains(QLatin1Char(':')));
            FUZZ_CHECK(group.Matches(QStringLiteral("name.") + extension));
            // Case does not matter; outside ASCII upper case may change the length ("ß" is "SS").
            if (std::all_of(extension.begin(), extension.end(), [](QChar c) { return c.unicode() < 0x80; }))
                FUZZ_CHECK(group.Matches(QStringLiteral("name.") + extension.toUpper()));
        }
    }

    const int preselected = PreselectedFilterGroup(groups, path);
    FUZZ_CHECK(preselected >= 0 && (groups.empty() ? preselected == 0 : std::size_t(preselected) < groups.size()));

    const auto [folder, name] = SplitInitialPath(path);
    FUZZ_CHECK(!name.contains(QLatin1Char('/')) && !name.contains(QLatin1Char('\\')));
    FUZZ_CHECK((folder.isEmpty() && name == path) || folder + path[folder.size()] + name == path);
    return 0;
}
