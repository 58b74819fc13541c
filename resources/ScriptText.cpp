#include "resources/ScriptText.h"

#include "resources/Utf8.h"

#include <array>

namespace {
const QByteArray ByteOrderMark("\xEF\xBB\xBF", 3);

// Windows-1252's characters for 0x80..0x9F; 0 where it defines none and the byte keeps its own code.
constexpr std::array<char16_t, 32> HighControls = { 0x20AC, 0, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6,
    0x2030, 0x0160, 0x2039, 0x0152, 0, 0x017D, 0, 0, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014, 0x02DC,
    0x2122, 0x0161, 0x203A, 0x0153, 0, 0x017E, 0x0178 };

// The byte that holds u in Latin-1, or -1.
int Latin1Byte(char16_t u)
{
    if (u < 0x80 || (u >= 0xA0 && u <= 0xFF))
        return u;
    if (u >= 0x80 && u <= 0x9F)
        return HighControls[u - 0x80] == 0 ? u : -1;
    // What a damaged UTF-8 file held as a byte of its own stays that byte.
    if (Utf8::IsEscapedByte(u))
        return int(u - Utf8::EscapeBase);
    for (std::size_t i = 0; i < HighControls.size(); ++i) {
        if (HighControls[i] == u)
            return int(0x80 + i);
    }
    return -1;
}

// The number of bytes that are not part of a valid UTF-8 sequence, and of the multi-byte sequences.
struct TUtf8Census {
    qsizetype bad = 0;
    qsizetype sequences = 0;
};

TUtf8Census CountUtf8(const unsigned char* p, const unsigned char* end)
{
    TUtf8Census census;
    while (p < end) {
        if (*p < 0x80) {
            ++p;
            continue;
        }
        char32_t code;
        const int length = Utf8::Decode(p, end, code);
        if (length == 1)
            ++census.bad;
        else
            ++census.sequences;
        p += length;
    }
    return census;
}

QString DecodeUtf8(const unsigned char* p, const unsigned char* end, bool valid)
{
    // Qt's fast decoder would drop a mark at the start, which belongs to the text here.
    const QByteArrayView view(p, end - p);
    if (valid && !view.startsWith(ByteOrderMark))
        return QString::fromUtf8(view);
    QString text;
    text.reserve(end - p);
    while (p < end) {
        char32_t code;
        p += Utf8::Decode(p, end, code);
        if (code >= 0x10000) {
            text += QChar(char16_t(0xD800 + ((code - 0x10000) >> 10)));
            text += QChar(char16_t(0xDC00 + ((code - 0x10000) & 0x3FF)));
        } else {
            text += QChar(char16_t(code));
        }
    }
    return text;
}

QString DecodeLatin1(const unsigned char* p, const unsigned char* end)
{
    QString text(end - p, Qt::Uninitialized);
    char16_t* out = reinterpret_cast<char16_t*>(text.data());
    for (; p < end; ++p) {
        const unsigned char b = *p;
        *out++ = (b >= 0x80 && b <= 0x9F && HighControls[b - 0x80]) ? HighControls[b - 0x80] : char16_t(b);
    }
    return text;
}
} // namespace

TDecodedScript DecodeScript(const QByteArray& bytes)
{
    TDecodedScript script;
    TScriptFormat& format = script.format;
    const auto* begin = reinterpret_cast<const unsigned char*>(bytes.constData());
    const auto* end = begin + bytes.size();

    // The text holds no carriage returns: the text area turns each into a line break, as Lua reads
    // one. So a file with one kind of line end comes back as it was, and one with both kinds (or lone
    // carriage returns) takes the kind most of its lines have.
    qsizetype lineFeeds = 0;
    qsizetype crLfs = 0;
    for (qsizetype i = bytes.indexOf('\n'); i >= 0; i = bytes.indexOf('\n', i + 1)) {
        ++lineFeeds;
        if (i > 0 && bytes[i - 1] == '\r')
            ++crLfs;
    }
    const qsizetype loneReturns = bytes.count('\r') - crLfs;
    format.lineEnding = crLfs > 0 && crLfs >= lineFeeds - crLfs + loneReturns ? TLineEnding::CrLf : TLineEnding::Lf;
    format.mixedLineEndings = loneReturns > 0 || (crLfs > 0 && crLfs < lineFeeds);
    format.finalLineBreak = bytes.endsWith('\n') || bytes.endsWith('\r');
    if (format.finalLineBreak)
        end -= bytes.endsWith("\r\n") ? 2 : 1;

    format.byteOrderMark = bytes.startsWith(ByteOrderMark) && end - begin >= 3;
    if (format.byteOrderMark)
        begin += 3;
    // A Latin-1 file only by chance holds a valid sequence; a UTF-8 file damaged here and there still
    // holds far more good sequences than bad bytes.
    const TUtf8Census census = CountUtf8(begin, end);
    const bool utf8 = format.byteOrderMark || census.bad == 0 || census.sequences >= 4 * census.bad;
    format.charset = utf8 ? TCharset::Utf8 : TCharset::Latin1;
    script.text = utf8 ? DecodeUtf8(begin, end, census.bad == 0) : DecodeLatin1(begin, end);
    if (crLfs > 0)
        script.text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    if (loneReturns > 0)
        script.text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return script;
}

QByteArray EncodeScript(const QString& text, const TScriptFormat& format)
{
    QString lines = text;
    if (format.lineEnding == TLineEnding::CrLf)
        lines.replace(QLatin1Char('\n'), QStringLiteral("\r\n"));
    if (format.finalLineBreak)
        lines += format.lineEnding == TLineEnding::CrLf ? QStringLiteral("\r\n") : QStringLiteral("\n");

    const auto* units = reinterpret_cast<const char16_t*>(lines.constData());
    const auto count = std::size_t(lines.size());
    QByteArray bytes;
    if (format.charset == TCharset::Latin1) {
        bytes.resize(lines.size());
        char* out = bytes.data();
        for (std::size_t i = 0; i < count; ++i) {
            const int b = Latin1Byte(units[i]);
            *out++ = b < 0 ? '?' : char(b);
        }
        return bytes;
    }
    bytes.resize(3 * lines.size() + 3);
    auto* out = reinterpret_cast<unsigned char*>(bytes.data());
    if (format.byteOrderMark) {
        std::copy(ByteOrderMark.begin(), ByteOrderMark.end(), out);
        out += 3;
    }
    for (std::size_t i = 0; i < count;)
        out = Utf8::Encode(units, count, i, out);
    bytes.truncate(out - reinterpret_cast<unsigned char*>(bytes.data()));
    return bytes;
}

std::optional<qsizetype> FirstUnencodable(const QString& text, TCharset charset)
{
    if (charset == TCharset::Utf8)
        return std::nullopt;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (Latin1Byte(text[i].unicode()) < 0)
            return i;
    }
    return std::nullopt;
}

QString CharsetName(const TScriptFormat& format)
{
    if (format.charset == TCharset::Latin1)
        return QStringLiteral("Latin-1");
    return format.byteOrderMark ? QStringLiteral("UTF-8 with BOM") : QStringLiteral("UTF-8");
}

QString LineEndingName(const TScriptFormat& format)
{
    const QString name = format.lineEnding == TLineEnding::CrLf ? QStringLiteral("CR LF") : QStringLiteral("LF");
    return format.mixedLineEndings ? name + QStringLiteral(" (mixed)") : name;
}
