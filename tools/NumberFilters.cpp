#include "tools/NumberFilters.h"

#include "gui/KeyMap.h"

namespace {
bool IsArrowOrDelete(int key)
{
    return (key >= VirtualKey::Left && key <= VirtualKey::Down) || key == VirtualKey::Delete;
}

bool IsDigitOrEditingCharacter(int code)
{
    switch (code) {
    case CharCode::Backspace:
    case CharCode::CtrlA:
    case CharCode::CtrlC:
    case CharCode::CtrlV:
    case CharCode::CtrlX:
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
