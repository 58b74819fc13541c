// Syntax colouring of the script's text area: lexes lines and formats each part in its class's colour.
#pragma once

#include "highlight/Lexer.h"

#include <QString>
#include <QStringList>
#include <QStringView>

#include <optional>
#include <string_view>
#include <unordered_set>
#include <vector>

class TGadget;

// Colour and style bits (1 bold, 2 italic) of one class of parts.
struct TPartColour {
    int R = 0, G = 0, B = 0;
    int Style = 0;
    bool operator==(const TPartColour&) const = default;
};

// The colours of the part classes, filled by the caller from the settings right before a colouring
// run so that each run uses the settings as they are then. Parts of class 0 are never formatted.
struct TColourScheme {
    TPartColour Sign; // class 1
    TPartColour Keyword; // class 2, a word in the keyword list
    TPartColour Text; // class 2, any other word
    TPartColour Number; // class 3
    TPartColour String; // class 4
    TPartColour Comment; // class 5
    TPartColour Bracket; // class 6
    bool operator==(const TColourScheme&) const = default;
};

inline constexpr const char* KeywordResource = "incbin::incbins/keywords.txt";

// Reads the keyword list, one keyword per line (CR LF or LF). Empty when the resource cannot be
// opened or read, in which case the caller keeps the list it has.
std::optional<QStringList> LoadKeywordList(const QString& url = QString::fromLatin1(KeywordResource));

class TSyntaxColouring {
public:
    explicit TSyntaxColouring(const QStringList& keywords = {});

    // A word is a keyword when it equals an entry exactly, case included.
    void SetKeywords(const QStringList& keywords);
    bool IsKeyword(QStringView word) const;

    // Re-colours one line; a negative line means the line that holds the cursor.
    void ColourLine(TGadget& textarea, int line, const TColourScheme& scheme);
    // Re-colours every line. The result is the same as ColourLine on each line in turn, but the text
    // is read once rather than line by line.
    void ColourAll(TGadget& textarea, const TColourScheme& scheme);

    // The colour of a part, or null for a part that stays unformatted.
    const TPartColour* ColourOf(const TColourScheme& scheme, int partType, QStringView partText) const;

private:
    // Formats the parts of one line whose first character is at `lineStart`.
    void FormatLine(TGadget& textarea, QStringView line, int lineStart, const TColourScheme& scheme);

    QStringList keywordStore; // owns the characters the set's views point into
    std::unordered_set<std::u16string_view> keywordSet;
    qsizetype longestKeyword = 0;
    std::vector<TLexerSpan> spans; // reused from line to line
};
