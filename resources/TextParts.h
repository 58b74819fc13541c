// TTextParts: a text area's whole text as it lies in memory, for readers that must not copy it.
#pragma once

#include <QString>
#include <QStringView>

// The code units of a view, as a pointer that reads each unit as its character's number.
inline const char16_t* UnitsOf(QStringView view)
{
    return view.utf16();
}
inline const unsigned char* UnitsOf(QLatin1StringView view)
{
    return reinterpret_cast<const unsigned char*>(view.latin1());
}

// A text area's whole text as two views read one after the other, the way it is stored; valid until
// the text next changes. Searching these costs no copy of the text.
//
// A text of nothing but characters below 256 (an ASCII or Latin-1 script) is held one byte per
// character: then the narrow views hold it and the wide ones are empty.
struct TTextParts {
    QStringView first;
    QStringView second;
    QLatin1StringView narrowFirst;
    QLatin1StringView narrowSecond;
    bool narrow = false;

    static TTextParts Wide(QStringView first, QStringView second)
    {
        return { .first = first, .second = second, .narrowFirst = {}, .narrowSecond = {}, .narrow = false };
    }
    static TTextParts Narrow(QLatin1StringView first, QLatin1StringView second)
    {
        return { .first = {}, .second = {}, .narrowFirst = first, .narrowSecond = second, .narrow = true };
    }
    qsizetype FirstSize() const { return narrow ? narrowFirst.size() : first.size(); }
    int Length() const
    {
        return static_cast<int>(narrow ? narrowFirst.size() + narrowSecond.size() : first.size() + second.size());
    }
    QChar At(int pos) const
    {
        if (narrow)
            return pos < narrowFirst.size() ? narrowFirst[pos] : narrowSecond[pos - narrowFirst.size()];
        return pos < first.size() ? first[pos] : second[pos - first.size()];
    }
    // Calls f(first, second) with the two views of the form the text is held in.
    template <typename F> decltype(auto) Visit(F&& f) const
    {
        if (narrow)
            return f(narrowFirst, narrowSecond);
        return f(first, second);
    }
};
