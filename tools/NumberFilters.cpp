#include "tools/NumberFilters.h"

namespace {
bool IsArrowOrDelete(int key)
{
    return (key >= 37 && key <= 40) || key == 46;
}

bool IsDigitOrEditingCharacter(int code)
{
    switch (code) {
    case 8: // Backspace
    case 1: // Ctrl+A
    case 3: // Ctrl+C
    case 22: // Ctrl+V
    case 24: // Ctrl+X
        return true;
    default:
        return code >= '0' && code <= '9';
    }
}
} // namespace

int IntegerFilter(TEvent& event, void*)
{
    if (event.id == Event::KeyDown)
        return IsArrowOrDelete(event.data) ? 1 : 0;
    if (event.id == Event::KeyChar)
        return IsDigitOrEditingCharacter(event.data) ? 1 : 0;
    return 0;
}

int DecimalFilter(TEvent& event, void* context)
{
    if (event.id == Event::KeyChar && event.data == '.')
        return 1;
    return IntegerFilter(event, context);
}
