// Translation of Qt key events into the virtual-key and character codes that key filters and hot keys use.
//
// Key filters see a key press as two events: a key-down carrying a virtual-key code, then (for keys
// that type something) a character carrying a UTF-16 code. Which of the two carries a key's effect
// differs by key: the gadgets that act on keys decide that per key.
#pragma once

#include "event/Event.h"

#include <QString>
#include <QStringView>

class QKeyEvent;

namespace VirtualKey {
inline constexpr int Back = 8;
inline constexpr int Tab = 9;
inline constexpr int Return = 13;
inline constexpr int Shift = 16;
inline constexpr int Control = 17;
inline constexpr int Menu = 18;
inline constexpr int Escape = 27;
inline constexpr int Space = 32;
inline constexpr int Prior = 33;
inline constexpr int Next = 34;
inline constexpr int End = 35;
inline constexpr int Home = 36;
inline constexpr int Left = 37;
inline constexpr int Up = 38;
inline constexpr int Right = 39;
inline constexpr int Down = 40;
inline constexpr int Insert = 45;
inline constexpr int Delete = 46;
inline constexpr int LeftWin = 91;
inline constexpr int Numpad0 = 96;
inline constexpr int F1 = 112;
// Punctuation keys of a US layout.
inline constexpr int Comma = 188;
inline constexpr int Period = 190;
inline constexpr int OpenBracket = 219;
inline constexpr int CloseBracket = 221;
} // namespace VirtualKey

// Character codes of KeyChar events that type no printable character.
namespace CharCode {
inline constexpr int CtrlA = 1;
inline constexpr int CtrlC = 3;
inline constexpr int Backspace = 8;
inline constexpr int Tab = 9;
inline constexpr int Return = 13;
inline constexpr int CtrlV = 22; // Ctrl+V, the paste key
inline constexpr int CtrlX = 24;
inline constexpr int FirstPrintable = 32; // codes from here on type themselves
inline constexpr int CtrlBackspace = 127; // what Ctrl+Backspace types
} // namespace CharCode

// The virtual-key code of a key event (0 when the key has none). Shift+Tab is Tab; shifted punctuation
// maps to its unshifted key on a US layout (Ctrl+Shift+comma is 188).
int VirtualKeyOf(const QKeyEvent* event);

// The character codes the key types, in order: usually one, two for a character beyond U+FFFF, none
// for keys that type nothing (arrows, Delete, Ctrl+digit, Alt combinations). Ctrl with a letter gives
// 1 to 26 whatever Qt's text says; Enter gives 13, Tab 9, Backspace 8, Escape 27.
QString CharCodesOf(const QKeyEvent* event);

// Calls `typed` with each character of `text` as one code point: a character beyond U+FFFF is one key
// character, not its two UTF-16 halves. Half a pair stands for U+FFFD, so that it never reaches a text.
template <typename Typed> void ForEachCodePoint(QStringView text, Typed&& typed)
{
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c.isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate()) {
            typed(QChar::surrogateToUcs4(c, text[i + 1]));
            ++i;
        } else {
            typed(c.isSurrogate() ? char32_t(QChar::ReplacementCharacter) : char32_t(c.unicode()));
        }
    }
}

// A control character that Ctrl with a letter or punctuation key types (Ctrl+H an 8, Ctrl+I a 9, Ctrl+M
// a 13). Key filters see it, as Ctrl+V's 22 matters to them, but it edits nothing: Backspace, Tab and
// Enter type their codes without Ctrl, or with Ctrl and Alt.
inline bool IsCtrlKeyControlChar(int code, int mods)
{
    return code < CharCode::FirstPrintable && (mods & (Modifier::Ctrl | Modifier::Alt)) == Modifier::Ctrl;
}

// Ctrl without Alt makes Backspace and Delete take a word, and the text area offers that edit whole.
inline bool DeletesWord(int mods)
{
    return (mods & (Modifier::Ctrl | Modifier::Alt)) == Modifier::Ctrl;
}

// The clipboard commands keys stand for: Ctrl+X and Shift+Delete cut, Ctrl+C and Ctrl+Insert copy,
// Ctrl+V and Shift+Insert paste (Ctrl+Shift with the letters too); never with Alt.
enum class ClipboardKey { None, Cut, Copy, Paste };
ClipboardKey ClipboardKeyOf(int key, int mods);

// Modifier bits (1 Shift, 2 Ctrl, 4 Alt, 8 system key) of a Qt modifier set.
int ModifierBitsOf(int qtModifiers);

// The modifiers held now, as bits.
int CurrentModifierBits();

// The label of a hot key as menus show it beside an item: "Ctrl+N", "Alt+Ctrl+Shift+F5"; "" when the
// key has no name.
QString HotKeyLabel(int key, int modifiers);
