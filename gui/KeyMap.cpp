#include "gui/KeyMap.h"

#include <QGuiApplication>
#include <QKeyEvent>

#include <utility>

namespace {
struct KeyCode {
    int qtKey;
    int vk;
};

// Keys whose code does not follow from a range below. Shifted punctuation shares its key's code.
constexpr KeyCode NamedKeys[] = {
    { Qt::Key_Backspace, 8 },
    { Qt::Key_Tab, 9 },
    { Qt::Key_Backtab, 9 },
    { Qt::Key_Return, 13 },
    { Qt::Key_Enter, 13 },
    { Qt::Key_Shift, 16 },
    { Qt::Key_Control, 17 },
    { Qt::Key_Alt, 18 },
    { Qt::Key_AltGr, 18 },
    { Qt::Key_Pause, 19 },
    { Qt::Key_CapsLock, 20 },
    { Qt::Key_Escape, 27 },
    { Qt::Key_Space, 32 },
    { Qt::Key_PageUp, 33 },
    { Qt::Key_PageDown, 34 },
    { Qt::Key_End, 35 },
    { Qt::Key_Home, 36 },
    { Qt::Key_Left, 37 },
    { Qt::Key_Up, 38 },
    { Qt::Key_Right, 39 },
    { Qt::Key_Down, 40 },
    { Qt::Key_Print, 44 },
    { Qt::Key_Insert, 45 },
    { Qt::Key_Delete, 46 },
    { Qt::Key_Meta, 91 },
    { Qt::Key_Super_L, 91 },
    { Qt::Key_Super_R, 92 },
    { Qt::Key_Menu, 93 },
    { Qt::Key_NumLock, 144 },
    { Qt::Key_ScrollLock, 145 },
    { Qt::Key_Exclam, '1' },
    { Qt::Key_At, '2' },
    { Qt::Key_NumberSign, '3' },
    { Qt::Key_Dollar, '4' },
    { Qt::Key_Percent, '5' },
    { Qt::Key_AsciiCircum, '6' },
    { Qt::Key_Ampersand, '7' },
    { Qt::Key_Asterisk, '8' },
    { Qt::Key_ParenLeft, '9' },
    { Qt::Key_ParenRight, '0' },
    { Qt::Key_Semicolon, 186 },
    { Qt::Key_Colon, 186 },
    { Qt::Key_Equal, 187 },
    { Qt::Key_Plus, 187 },
    { Qt::Key_Comma, 188 },
    { Qt::Key_Less, 188 },
    { Qt::Key_Minus, 189 },
    { Qt::Key_Underscore, 189 },
    { Qt::Key_Period, 190 },
    { Qt::Key_Greater, 190 },
    { Qt::Key_Slash, 191 },
    { Qt::Key_Question, 191 },
    { Qt::Key_QuoteLeft, 192 },
    { Qt::Key_AsciiTilde, 192 },
    { Qt::Key_BracketLeft, 219 },
    { Qt::Key_BraceLeft, 219 },
    { Qt::Key_Backslash, 220 },
    { Qt::Key_Bar, 220 },
    { Qt::Key_BracketRight, 221 },
    { Qt::Key_BraceRight, 221 },
    { Qt::Key_Apostrophe, 222 },
    { Qt::Key_QuoteDbl, 222 },
};

// The numeric pad's own codes, for keys Qt reports with the keypad modifier.
int KeypadCode(int qtKey)
{
    if (qtKey >= Qt::Key_0 && qtKey <= Qt::Key_9)
        return VirtualKey::Numpad0 + (qtKey - Qt::Key_0);
    switch (qtKey) {
    case Qt::Key_Asterisk:
        return 106;
    case Qt::Key_Plus:
        return 107;
    case Qt::Key_Minus:
        return 109;
    case Qt::Key_Period:
    case Qt::Key_Comma:
        return 110;
    case Qt::Key_Slash:
        return 111;
    default:
        return 0;
    }
}

// Control characters that Ctrl with a punctuation key types.
int ControlCharOf(int vk, int mods)
{
    if (vk >= 'A' && vk <= 'Z')
        return vk - 'A' + 1;
    switch (vk) {
    case 219:
        return 27;
    case 220:
        return 28;
    case 221:
        return 29;
    case '6':
        return (mods & Qt::ShiftModifier) ? 30 : 0;
    case 189:
        return (mods & Qt::ShiftModifier) ? 31 : 0;
    case VirtualKey::Return:
        return 10;
    case VirtualKey::Back:
        return 127;
    case VirtualKey::Space:
        return 32;
    default:
        return 0;
    }
}
} // namespace

int VirtualKeyOf(const QKeyEvent* event)
{
    const int key = event->key();
    if (event->modifiers() & Qt::KeypadModifier) {
        if (int code = KeypadCode(key))
            return code;
    }
    if (key >= Qt::Key_A && key <= Qt::Key_Z)
        return 'A' + (key - Qt::Key_A);
    if (key >= Qt::Key_0 && key <= Qt::Key_9)
        return '0' + (key - Qt::Key_0);
    if (key >= Qt::Key_F1 && key <= Qt::Key_F24)
        return VirtualKey::F1 + (key - Qt::Key_F1);
    for (const KeyCode& code : NamedKeys) {
        if (code.qtKey == key)
            return code.vk;
    }
    // Letters of other layouts arrive as their Unicode value; keep the code of the Latin letter if any.
    if (key >= 'a' && key <= 'z')
        return key - 'a' + 'A';
    return 0;
}

QString CharCodesOf(const QKeyEvent* event)
{
    const int vk = VirtualKeyOf(event);
    const int mods = event->modifiers();
    const bool ctrl = mods & Qt::ControlModifier;
    const bool alt = mods & Qt::AltModifier;
    if (alt && !ctrl)
        return {};
    if (ctrl && !alt) {
        const int code = ControlCharOf(vk, mods);
        return code ? QString(QChar(code)) : QString();
    }
    switch (vk) {
    case VirtualKey::Return:
        return QString(QChar(13));
    case VirtualKey::Tab:
        return QString(QChar(9));
    case VirtualKey::Back:
        return QString(QChar(8));
    case VirtualKey::Escape:
        return QString(QChar(27));
    case VirtualKey::Delete:
        return {};
    default:
        break;
    }
    QString text = event->text();
    // Qt puts control characters into the text of keys that type nothing here.
    if (text.size() == 1 && (text[0].unicode() < 32 || text[0].unicode() == 127))
        return {};
    return text;
}

ClipboardKey ClipboardKeyOf(int key, int mods)
{
    const int held = mods & (Modifier::Shift | Modifier::Ctrl | Modifier::Alt);
    if (held & Modifier::Alt)
        return ClipboardKey::None;
    if (held & Modifier::Ctrl) {
        switch (key) {
        case 'X':
            return ClipboardKey::Cut;
        case 'C':
        case VirtualKey::Insert:
            return ClipboardKey::Copy;
        case 'V':
            return ClipboardKey::Paste;
        default:
            return ClipboardKey::None;
        }
    }
    if (held == Modifier::Shift && key == VirtualKey::Delete)
        return ClipboardKey::Cut;
    if (held == Modifier::Shift && key == VirtualKey::Insert)
        return ClipboardKey::Paste;
    return ClipboardKey::None;
}

int ModifierBitsOf(int qtModifiers)
{
    int bits = 0;
    if (qtModifiers & Qt::ShiftModifier)
        bits |= 1;
    if (qtModifiers & Qt::ControlModifier)
        bits |= 2;
    if (qtModifiers & Qt::AltModifier)
        bits |= 4;
    if (qtModifiers & Qt::MetaModifier)
        bits |= 8;
    return bits;
}

int CurrentModifierBits()
{
    return ModifierBitsOf(QGuiApplication::queryKeyboardModifiers());
}

QString HotKeyLabel(int key, int modifiers)
{
    QString name;
    if ((key >= 'A' && key <= 'Z') || (key >= '0' && key <= '9'))
        name = QChar(key);
    else if (key >= VirtualKey::F1 && key < VirtualKey::F1 + 12)
        name = QStringLiteral("F%1").arg(key - VirtualKey::F1 + 1);
    else if (key >= VirtualKey::Numpad0 && key <= VirtualKey::Numpad0 + 9)
        name = QStringLiteral("Num %1").arg(key - VirtualKey::Numpad0);
    else {
        static const std::pair<int, const char*> names[] = {
            { 8, "Backspace" },
            { 9, "Tab" },
            { 13, "Enter" },
            { 27, "Esc" },
            { 32, "Space" },
            { 33, "PageUp" },
            { 34, "PageDown" },
            { 35, "End" },
            { 36, "Home" },
            { 37, "Left" },
            { 38, "Up" },
            { 39, "Right" },
            { 40, "Down" },
            { 45, "Insert" },
            { 46, "Delete" },
            { 106, "Num *" },
            { 107, "Num +" },
            { 109, "Num -" },
            { 110, "Num ." },
            { 111, "Num /" },
            { 186, ";" },
            { 187, "=" },
            { 188, "," },
            { 189, "-" },
            { 190, "." },
            { 191, "/" },
            { 192, "~" },
            { 219, "[" },
            { 221, "]" },
            { 222, "'" },
            { 226, "\\" },
        };
        for (const auto& [code, text] : names) {
            if (code == key)
                name = QString::fromLatin1(text);
        }
    }
    if (name.isEmpty())
        return {};
    QString label;
    if (modifiers & 4)
        label += QStringLiteral("Alt+");
    if (modifiers & 2)
        label += QStringLiteral("Ctrl+");
    if (modifiers & 1)
        label += QStringLiteral("Shift+");
    return label + name;
}
