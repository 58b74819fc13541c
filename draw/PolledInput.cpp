#include "draw/PolledInput.h"

#include "event/Hook.h"

namespace {
void* TrackEvent(int, void* data, void* context)
{
    if (data)
        static_cast<TPolledInput*>(context)->Record(*static_cast<const TEvent*>(data));
    return data; // the queue further down the chain must still see the event
}
} // namespace

TPolledInput& TPolledInput::Instance()
{
    static TPolledInput input;
    return input;
}

void TPolledInput::Record(const TEvent& event)
{
    if (source && event.source != source)
        return;
    switch (event.id) {
    case Event::MouseMove:
        _mouseX = event.x;
        _mouseY = event.y;
        break;
    case Event::MouseDown:
    case Event::MouseUp:
        if (event.data >= 1 && event.data <= 3)
            _buttons[static_cast<std::size_t>(event.data)] = event.id == Event::MouseDown;
        break;
    case Event::MouseWheel:
        _wheel += event.data;
        break;
    case Event::KeyDown:
    case Event::KeyUp:
        if (event.data >= 0 && event.data < KeyCount)
            _keys[static_cast<std::size_t>(event.data)] = event.id == Event::KeyDown;
        break;
    case Event::KeyChar:
        if (_charCount < CharQueueSize) {
            _chars[static_cast<std::size_t>((_charHead + _charCount) % CharQueueSize)] = event.data;
            ++_charCount;
        }
        break;
    case Event::AppSuspend:
    case Event::AppResume:
        Flush();
        break;
    default:
        break;
    }
}

void TPolledInput::Flush()
{
    _buttons.fill(false);
    _keys.fill(false);
    _charHead = 0;
    _charCount = 0;
    _wheel = 0;
}

void TPolledInput::Reset()
{
    Flush();
    _mouseX = 0;
    _mouseY = 0;
}

bool TPolledInput::MouseDown(int button) const
{
    return button >= 1 && button <= 3 && _buttons[static_cast<std::size_t>(button)];
}

bool TPolledInput::KeyDown(int key) const
{
    return key >= 0 && key < KeyCount && _keys[static_cast<std::size_t>(key)];
}

int TPolledInput::PeekChar() const
{
    return _charCount ? _chars[static_cast<std::size_t>(_charHead)] : 0;
}

int TPolledInput::GetChar()
{
    if (!_charCount)
        return 0;
    int code = _chars[static_cast<std::size_t>(_charHead)];
    _charHead = (_charHead + 1) % CharQueueSize;
    --_charCount;
    return code;
}

void EnablePolledInput(TGadget* source)
{
    TPolledInput& input = TPolledInput::Instance();
    input.source = source;
    if (!input.hooked) {
        RegisterHook(EventEmitHookId(), TrackEvent, &input, 0);
        input.hooked = true;
    }
}

void ResetPolledInput()
{
    TPolledInput& input = TPolledInput::Instance();
    if (input.hooked)
        RemoveHook(EventEmitHookId(), TrackEvent, &input);
    input.hooked = false;
    input.source = nullptr;
    input.Reset();
}

int PolledMouseX()
{
    return TPolledInput::Instance().MouseX();
}

int PolledMouseY()
{
    return TPolledInput::Instance().MouseY();
}

int PolledMouseWheel()
{
    return TPolledInput::Instance().MouseWheel();
}

int PolledMouseDown(int button)
{
    return TPolledInput::Instance().MouseDown(button) ? 1 : 0;
}

int PolledKeyDown(int key)
{
    return TPolledInput::Instance().KeyDown(key) ? 1 : 0;
}

int PolledGetChar()
{
    return TPolledInput::Instance().GetChar();
}

void FlushPolledInput()
{
    TPolledInput::Instance().Flush();
}
