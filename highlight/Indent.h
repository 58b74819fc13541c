// The indent that new lines take over from the line they follow.
#pragma once

#include <QString>
#include <QStringView>

// The tabs at the start of `line`, up to its first other character: a blank ends the indent, since
// the editor indents with tabs alone. Enter carries them to the new line, and the hook wizard indents
// a handler's head by them.
inline QString LeadingTabs(QStringView line)
{
    qsizetype count = 0;
    while (count < line.size() && line[count] == u'\t')
        ++count;
    return QString(count, u'\t');
}
