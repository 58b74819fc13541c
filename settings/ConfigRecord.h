// TConfigRecord: the editor's settings as a plain value, their defaults, and config.dat's byte layout.
//
// The settings dialog edits one of these; the key filter, the colouring and the launcher read it.
// The file has no header or version: two CR LF-terminated path lines, then 39 bytes (background,
// auto indent, and colour, bold and italic of the seven token classes). A file cut short or damaged
// still loads: whatever is present is taken, the rest keeps its default. Saving never truncates the
// old file in place; the new one is written beside it, synced, and renamed over it.
#pragma once

#include "highlight/TokenClass.h"

#include <QString>

#include <array>
#include <cstdint>

class TStream;

struct TClassSetting {
    uint8_t r = 0, g = 0, b = 0;
    // Check box states as the boxes report them: 1 ticked, 0 not, 255 for an indeterminate box.
    uint8_t bold = 0, italic = 0;
    bool operator==(const TClassSetting&) const = default;
};

struct TConfigRecord {
    static constexpr int FixedBytes = 4 + 5 * TokenClassCount;

    QString gamePath;
    QString dediPath;
    uint8_t backR = 255, backG = 255, backB = 255;
    uint8_t indent = 1;
    // In file order, which is the order of TTokenClass.
    std::array<TClassSetting, TokenClassCount> classes { {
        { 0, 0, 0, 0, 0 }, // text
        { 0, 100, 0, 0, 0 }, // comment
        { 0, 140, 140, 0, 0 }, // number
        { 0, 0, 0, 1, 0 }, // bracket
        { 0, 0, 0, 0, 0 }, // sign
        { 0, 0, 50, 1, 0 }, // keyword
        { 150, 0, 0, 0, 0 }, // string
    } };

    TClassSetting& Class(TTokenClass c) { return classes[static_cast<int>(c)]; }
    const TClassSetting& Class(TTokenClass c) const { return classes[static_cast<int>(c)]; }

    // Enter indents like the line above; an indeterminate state counts as on, as a ticked box does.
    bool AutoIndent() const { return indent != 0; }
    // The colours and style bits the colouring uses: bold 1 and italic 2 for every state but 0.
    TColourScheme Scheme() const;
    // Every state byte as a check box reports it back: 0, 1, or 255 for any other (indeterminate).
    void TakeBoxStates();

    // Takes values in file order for as long as the stream holds them; the others keep what they
    // had. A path line counts only with its line end, so a path cut short is not taken. Never throws.
    // `taken`, when given, receives every byte that was read.
    void Read(TStream& stream, QByteArray* taken = nullptr);
    // The whole file as Write puts it.
    QByteArray Bytes() const;
    // Throws TStreamWriteException when the stream does not take every byte.
    void Write(TStream& stream) const;

    // The record in a file: defaults for what the file lacks, or nothing at all when it cannot be
    // opened. `opened` tells which; `taken` receives the bytes that were read.
    static TConfigRecord Load(const QString& path, bool* opened = nullptr, QByteArray* taken = nullptr);
    // Replaces the file as a whole (creating its folder when needed); false, with the old file
    // untouched and no temporary left behind, when anything fails.
    bool Save(const QString& path) const;

    bool operator==(const TConfigRecord&) const = default;
};

// A path as the file stores it: UTF-8, without the line breaks and zeros that would end its line.
QByteArray EncodePath(const QString& path);
// The bytes of a path line: UTF-8 when they are valid UTF-8, otherwise one character per byte.
QString DecodePath(const QByteArray& bytes);
