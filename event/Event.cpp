#include "event/Event.h"

#include "event/Hook.h"

namespace Event {
const char* Describe(int id)
{
    switch (id) {
    case AppSuspend:
        return "AppSuspend";
    case AppResume:
        return "AppResume";
    case AppTerminate:
        return "AppTerminate";
    case AppOpenFile:
        return "AppOpenFile";
    case AppIdle:
        return "AppIdle";
    case KeyDown:
        return "KeyDown";
    case KeyUp:
        return "KeyUp";
    case KeyChar:
        return "KeyChar";
    case KeyRepeat:
        return "KeyRepeat";
    case MouseDown:
        return "MouseDown";
    case MouseUp:
        return "MouseUp";
    case MouseMove:
        return "MouseMove";
    case MouseWheel:
        return "MouseWheel";
    case MouseEnter:
        return "MouseEnter";
    case MouseLeave:
        return "MouseLeave";
    case TimerTick:
        return "TimerTick";
    case HotkeyHit:
        return "HotkeyHit";
    case GadgetAction:
        return "GadgetAction";
    case GadgetPaint:
        return "GadgetPaint";
    case GadgetSelect:
        return "GadgetSelect";
    case GadgetMenu:
        return "GadgetMenu";
    case GadgetOpen:
        return "GadgetOpen";
    case GadgetClose:
        return "GadgetClose";
    case GadgetDone:
        return "GadgetDone";
    case GadgetLostFocus:
        return "GadgetLostFocus";
    case GadgetShape:
        return "GadgetShape";
    case GadgetDrag:
        return "GadgetDrag";
    case GadgetDrop:
        return "GadgetDrop";
    case WindowMove:
        return "WindowMove";
    case WindowSize:
        return "WindowSize";
    case WindowClose:
        return "WindowClose";
    case WindowActivate:
        return "WindowActivate";
    case WindowAccept:
        return "WindowAccept";
    case MenuAction:
        return "MenuAction";
    case StreamEof:
        return "StreamEof";
    case StreamAvail:
        return "StreamAvail";
    case ProcessExit:
        return "ProcessExit";
    case TextEdit:
        return "TextEdit";
    default:
        return "";
    }
}
} // namespace Event

TEvent TEvent::Create(int id, TGadget* source, int data, int mods, int x, int y, std::any extra)
{
    TEvent event;
    event.id = id;
    event.source = source;
    event.data = data;
    event.mods = mods;
    event.x = x;
    event.y = y;
    event.extra = std::move(extra);
    return event;
}

void TEvent::Emit() const
{
    CallHooks(EventEmitHookId(), const_cast<TEvent*>(this));
}
