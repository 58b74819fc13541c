// Shows QStrings in GoogleTest's failure messages as quoted text, with line breaks and tabs visible.
#pragma once

#include <QString>

#include <ostream>

inline void PrintTo(const QString& text, std::ostream* out)
{
    QString shown = text;
    shown.replace(QLatin1Char('\\'), QLatin1String("\\\\"))
        .replace(QLatin1Char('\n'), QLatin1String("\\n"))
        .replace(QLatin1Char('\t'), QLatin1String("\\t"));
    *out << '"' << shown.toStdString() << '"';
}
