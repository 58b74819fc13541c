// Syntax colouring of the script's text area: lexes lines and formats each part in its class's colour.
#pragma once

#include "highlight/Lexer.h"
#include "highlight/TextClient.h"
#include "highlight/TokenClass.h"

#include <QString>
#include <QStringList>
#include <QStringView>

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

inline constexpr const char* KeywordResource = "incbin::incbins/keywords.txt";

// Reads the keyword list, one keyword per line (CR LF or LF). Empty when the resource cannot be
// opened or read, in which case the caller keeps the list it has.
std::optional<QStringList> LoadKeywordList(const QString& url = QString::fromLatin1(KeywordResource));

class TSyntaxColouring {
public:
    explicit TSyntaxColouring(const QStringList& keywords = {});

    // A word is a keyword when it equals an entry exactly, case included.
    void SetKeywords(const QStringList& keywords);
    bool IsKeyword(QStringView word) const { return IsKeyword(UnitsOf(word), word.size()); }
    // Of `size` units, char16_t or unsigned char.
    template <typename Unit> bool IsKeyword(const Unit* word, qsizetype size) const
    {
        // Most words are ruled out by their length and first character, without a lookup.
        if (size > longestKeyword)
            return false;
        if (size > 0 && !((keywordStarts[size] >> (word[0] & 31)) & 1))
            return false;
        return FindKeyword(word, size);
    }

    // Re-colours one line; a negative line means the line that holds the cursor.
    void ColourLine(TTextClient& textarea, int line, const TColourScheme& scheme);
    // Re-colours every line. The result is the same as ColourLine on each line in turn, but the text
    // is read once rather than line by line.
    void ColourAll(TTextClient& textarea, const TColourScheme& scheme);
    // Re-colours lines first to last (clamped to the text), reading their text once.
    void ColourLines(TTextClient& textarea, int first, int last, const TColourScheme& scheme);

    // The class of a lexer part into `tokenClass`; false for a part that stays unformatted. (Not an
    // optional: colouring a script asks this once per part, and the optional's byte-wise return cost
    // a stall on every call.)
    bool ClassOf(int partType, QStringView partText, TTokenClass& tokenClass) const;

private:
    template <typename Unit> bool FindKeyword(const Unit* word, qsizetype size) const;
    // Adds the ranges of the parts of one line whose first character is at `lineStart` to those that
    // FlushRanges hands to the text area.
    template <typename Unit> void AddLineRanges(const Unit* line, qsizetype size, int lineStart);
    void FlushRanges(TTextClient& textarea, const TColourScheme& scheme);
    // ColourLines over the text's two views; `base` is the position of first[0].
    template <typename View>
    void ColourViews(TTextClient& textarea, View first, View second, qsizetype base, int firstLine, int lastLine,
        int to, const TColourScheme& scheme);

    // The keywords are about a hundred: an open-addressed table, hashed on a word's length and three of
    // its characters, finds a word or its absence in a probe or two without hashing all of it, which
    // mattered because every word of a script is looked up.
    struct TKeywordSlot {
        int length = -1; // -1: empty
        int offset = 0; // of its characters in keywordChars
    };
    std::u16string keywordChars; // every keyword's characters, one after another
    std::vector<TKeywordSlot> keywordSlots;
    unsigned keywordMask = 0;
    qsizetype longestKeyword = -1;
    // By length, a bit for every first character (its low five bits) that some keyword of that length has.
    std::vector<uint32_t> keywordStarts;
    std::vector<TLexerSpan> spans; // reused from line to line
    std::vector<TColouredRun> ranges; // likewise; the first rangeCount are still to be set, in their class's colour
    std::size_t rangeCount = 0;
    static constexpr std::size_t BatchedRanges = 4096;
};
