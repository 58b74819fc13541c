// Lua 5.1's tokens over a whole script, for the checks that read a script's names and calls.
//
// The text area's colouring lexes one line at a time; the checks need the tokens of the whole text,
// with strings and comments that span lines. This reads them as Lua 5.1's lexer does (long brackets of
// any level, escapes, numbers with exponents and hexadecimal), but never fails: whatever Lua would
// reject still becomes some token, so that a script being typed is read as far as it goes.
#pragma once

#include <QString>
#include <QStringView>

#include <vector>

enum class TLuaTokenKind { Name, Keyword, Number, String, Symbol };

struct TLuaToken {
    TLuaTokenKind kind = TLuaTokenKind::Symbol;
    int start = 0; // in UTF-16 units
    int end = 0; // one past the last unit
};

// The tokens of `text`, comments left out, in text order.
std::vector<TLuaToken> ReadLuaTokens(QStringView text);

// The value of a string token: quotes taken off and escapes applied as Lua applies them. Decimal escapes
// give the character of that code (so "\169" gives "©", which Latin-1 scripts hold as that byte).
QString LuaStringValue(QStringView text, const TLuaToken& token);

// True for Lua 5.1's reserved words.
bool IsLuaKeyword(QStringView word);
// A Lua name: a letter or "_", then letters, digits and "_" (ASCII, as Lua 5.1 reads them).
bool IsLuaName(QStringView word);
