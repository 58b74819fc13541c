// A script file's bytes as the text the editor shows, and back, in the form the file had.
//
// Scripts come as UTF-8 (some with a byte-order mark) and, because the game's colour-code character is
// the byte 169, often as Windows-1252 (Latin-1 with printable characters in 0x80..0x9F). Their lines end
// in LF or in CR LF, and the last one may or may not end in a break. Decoding finds all of that, and
// encoding with the format found gives back the very bytes that were read: a script loaded and saved
// without edits is unchanged, whatever it held.
#pragma once

#include <QByteArray>
#include <QString>

#include <optional>

enum class TCharset {
    Utf8,
    // Windows-1252: Latin-1 with the printable characters Windows puts in 0x80..0x9F; the five bytes
    // it leaves undefined stay the control characters of the same code.
    Latin1,
};

enum class TLineEnding { Lf, CrLf };

struct TScriptFormat {
    TCharset charset = TCharset::Utf8;
    bool byteOrderMark = false;
    TLineEnding lineEnding = TLineEnding::Lf;
    bool finalLineBreak = true;
    // The file's lines did not all end alike (some in LF, some in CR LF, or in a lone CR): the first
    // save gives them all `lineEnding`, the kind most of them had.
    bool mixedLineEndings = false;

    bool operator==(const TScriptFormat&) const = default;
};

struct TDecodedScript {
    QString text; // lines joined with "\n"
    TScriptFormat format;
};

// How a file is read: UTF-8 when it has the mark or its bytes are UTF-8 (a few bad bytes among many
// good sequences still count as UTF-8 that was damaged; each bad byte decodes to a character of its own,
// written back as that byte), else Latin-1. A file is CR LF when most of its line breaks are; every line
// break of the text is "\n", and a lone carriage return is a line break too. A break at the very end is
// the final line break, not an empty last line. Encoding gives back the same bytes unless the line ends
// were mixed.
TDecodedScript DecodeScript(const QByteArray& bytes);

// The text's bytes in the format. A character Latin-1 cannot hold is written as "?"; ask
// FirstUnencodable first.
QByteArray EncodeScript(const QString& text, const TScriptFormat& format);

// The position of the first character the charset cannot hold, or nothing when it holds them all.
std::optional<qsizetype> FirstUnencodable(const QString& text, TCharset charset);

// "UTF-8", "UTF-8 with BOM" or "Latin-1", then "LF" or "CR LF", as the status line shows them.
QString CharsetName(const TScriptFormat& format);
QString LineEndingName(const TScriptFormat& format);
