// Finds the colour codes a Lua script writes, for the marks and checks drawn over its text.
//
// Scripts write a code in two forms: the character "©" itself, and inside a Lua string the decimal
// escape "\169" (the byte the game reads as "©"), each followed by nine digits. The scanner knows the
// little of Lua it needs to tell where an escape is one: quoted strings with their backslash escapes,
// long brackets ("[[ ]]", "[==[ ]==]") where nothing is escaped, and comments. It reads the whole text
// rather than taking the colouring's string ranges: the colouring lexes each line alone, so it cannot
// know a long string or comment that spans lines, and the text area and the syntax checks that read
// colour codes do not see the colouring's floor.
#pragma once

#include <QStringView>

#include <vector>

enum class TColourCodeForm { Sign, Escape };
// Where a code stands: a "©" counts anywhere, an escape only in a quoted string.
enum class TColourCodePlace { Code, String, Comment };

struct TColourCode {
    // The marker's position in the text, in UTF-16 units, and the length of the marker and the digits
    // that follow it (at most nine).
    qsizetype start = 0;
    qsizetype length = 0;
    // Each component from its three digits; -1 when the digits end before it.
    int r = -1, g = -1, b = -1;
    TColourCodeForm form = TColourCodeForm::Sign;
    TColourCodePlace place = TColourCodePlace::Code;

    // Nine digits follow the marker.
    bool Complete() const { return b >= 0; }
    // Complete, and no component above 255.
    bool Valid() const { return Complete() && r <= 255 && g <= 255 && b <= 255; }
};

// Every colour code of `script`, in the order they stand.
std::vector<TColourCode> FindColourCodes(QStringView script);
