#include "X11Session.h"

#include <X11/Xlib.h>

#include <X11/XKBlib.h>
#include <X11/Xatom.h>
#include <X11/Xutil.h>
#include <X11/extensions/XTest.h>

#include <thread>
#include <vector>

namespace {
// Windows of the program under test come and go while they are looked at; a request about a window
// that has just been destroyed must not end the test, as Xlib's default handler would.
int IgnoreErrors(Display*, XErrorEvent*)
{
    return 0;
}
} // namespace

TX11Session::TX11Session()
    : display(XOpenDisplay(nullptr))
{
    XSetErrorHandler(IgnoreErrors);
}

TX11Session::~TX11Session()
{
    if (display)
        XCloseDisplay(display);
}

std::string TX11Session::TitleOf(XWindow window)
{
    Atom netWmName = XInternAtom(display, "_NET_WM_NAME", False);
    Atom utf8 = XInternAtom(display, "UTF8_STRING", False);
    Atom type;
    int format;
    unsigned long count, remaining;
    unsigned char* data = nullptr;
    std::string title;
    if (XGetWindowProperty(display, window, netWmName, 0, 1024, False, utf8, &type, &format, &count, &remaining, &data)
            == Success
        && data) {
        title.assign(reinterpret_cast<char*>(data), count);
        XFree(data);
        return title;
    }
    char* name = nullptr;
    if (XFetchName(display, window, &name) && name) {
        title = name;
        XFree(name);
    }
    return title;
}

std::optional<XWindow> TX11Session::FindByTitle(XWindow parent, const std::string& title)
{
    Window root, parentOut;
    Window* children = nullptr;
    unsigned int count = 0;
    if (!XQueryTree(display, parent, &root, &parentOut, &children, &count))
        return std::nullopt;
    std::vector<Window> kids(children, children + count);
    if (children)
        XFree(children);
    for (Window kid : kids) {
        XWindowAttributes attributes;
        if (XGetWindowAttributes(display, kid, &attributes) && attributes.map_state == IsViewable
            && TitleOf(kid) == title)
            return kid;
    }
    for (Window kid : kids) {
        if (auto found = FindByTitle(kid, title))
            return found;
    }
    return std::nullopt;
}

std::optional<XWindow> TX11Session::WaitForWindow(const std::string& title, std::chrono::milliseconds timeout)
{
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    do {
        if (auto window = FindByTitle(DefaultRootWindow(display), title))
            return window;
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    } while (std::chrono::steady_clock::now() < deadline);
    return std::nullopt;
}

bool TX11Session::WaitForWindowGone(XWindow window, std::chrono::milliseconds timeout)
{
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    do {
        XWindowAttributes attributes;
        if (!XGetWindowAttributes(display, window, &attributes) || attributes.map_state != IsViewable)
            return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    } while (std::chrono::steady_clock::now() < deadline);
    return false;
}

void TX11Session::RequestClose(XWindow window)
{
    XEvent event {};
    event.xclient.type = ClientMessage;
    event.xclient.window = window;
    event.xclient.message_type = XInternAtom(display, "WM_PROTOCOLS", False);
    event.xclient.format = 32;
    event.xclient.data.l[0] = static_cast<long>(XInternAtom(display, "WM_DELETE_WINDOW", False));
    event.xclient.data.l[1] = CurrentTime;
    XSendEvent(display, window, False, NoEventMask, &event);
    XFlush(display);
}

void TX11Session::Focus(XWindow window)
{
    XRaiseWindow(display, window);
    XSetInputFocus(display, window, RevertToParent, CurrentTime);
    XFlush(display);
}

void TX11Session::Key(const std::string& keysym, std::initializer_list<const char*> modifiers)
{
    std::vector<KeyCode> held;
    for (const char* modifier : modifiers) {
        KeyCode code = XKeysymToKeycode(display, XStringToKeysym(modifier));
        XTestFakeKeyEvent(display, code, True, CurrentTime);
        held.push_back(code);
    }
    KeySym sym = XStringToKeysym(keysym.c_str());
    KeyCode code = XKeysymToKeycode(display, sym);
    // Characters on the shifted level need Shift.
    const bool shifted
        = XkbKeycodeToKeysym(display, code, 0, 0) != sym && XkbKeycodeToKeysym(display, code, 0, 1) == sym;
    KeyCode shift = XKeysymToKeycode(display, XStringToKeysym("Shift_L"));
    if (shifted)
        XTestFakeKeyEvent(display, shift, True, CurrentTime);
    XTestFakeKeyEvent(display, code, True, CurrentTime);
    XTestFakeKeyEvent(display, code, False, CurrentTime);
    if (shifted)
        XTestFakeKeyEvent(display, shift, False, CurrentTime);
    for (auto it = held.rbegin(); it != held.rend(); ++it)
        XTestFakeKeyEvent(display, *it, False, CurrentTime);
    XFlush(display);
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
}

void TX11Session::Type(const std::string& text)
{
    for (char c : text) {
        if (c == '\n')
            Key("Return");
        else if (c == '\t')
            Key("Tab");
        else if (c == ' ')
            Key("space");
        else {
            const KeySym sym = static_cast<KeySym>(static_cast<unsigned char>(c));
            Key(XKeysymToString(sym));
        }
    }
}

std::string TX11Session::PrimarySelection(std::chrono::milliseconds timeout)
{
    return SelectionText("PRIMARY", timeout);
}

std::string TX11Session::Clipboard(std::chrono::milliseconds timeout)
{
    return SelectionText("CLIPBOARD", timeout);
}

std::string TX11Session::SelectionText(const char* selection, std::chrono::milliseconds timeout)
{
    const Atom owner = XInternAtom(display, selection, False);
    // The owner writes the text into a property of a window of ours and tells that window.
    const Window requestor = XCreateSimpleWindow(display, DefaultRootWindow(display), 0, 0, 1, 1, 0, 0, 0);
    const Atom property = XInternAtom(display, "TLE_E2E_PRIMARY", False);
    const Atom utf8 = XInternAtom(display, "UTF8_STRING", False);
    std::string text;
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    bool asked = false;
    while (text.empty() && std::chrono::steady_clock::now() < deadline) {
        if (!asked) {
            XConvertSelection(display, owner, utf8, property, requestor, CurrentTime);
            XFlush(display);
            asked = true;
        }
        XEvent event;
        if (!XCheckTypedWindowEvent(display, requestor, SelectionNotify, &event)) {
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
            continue;
        }
        asked = false;
        if (event.xselection.property == None) {
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
            continue;
        }
        Atom type;
        int format;
        unsigned long count, remaining;
        unsigned char* data = nullptr;
        if (XGetWindowProperty(display, requestor, property, 0, 1 << 20, True, AnyPropertyType, &type, &format, &count,
                &remaining, &data)
                == Success
            && data) {
            text.assign(reinterpret_cast<char*>(data), count);
            XFree(data);
        }
    }
    XDestroyWindow(display, requestor);
    XFlush(display);
    return text;
}

std::pair<int, int> TX11Session::SizeOf(XWindow window)
{
    XWindowAttributes attributes;
    if (!XGetWindowAttributes(display, window, &attributes))
        return { 0, 0 };
    return { attributes.width, attributes.height };
}

void TX11Session::Resize(XWindow window, int width, int height)
{
    XResizeWindow(display, window, static_cast<unsigned>(width), static_cast<unsigned>(height));
    XFlush(display);
}

void TX11Session::MovePointer(XWindow window, int x, int y)
{
    int rootX = 0;
    int rootY = 0;
    Window child;
    XTranslateCoordinates(display, window, DefaultRootWindow(display), x, y, &rootX, &rootY, &child);
    XTestFakeMotionEvent(display, -1, rootX, rootY, CurrentTime);
    XFlush(display);
}

void TX11Session::Click(XWindow window, int x, int y)
{
    MovePointer(window, x, y);
    // The program sees the pointer arrive before the button goes down, as with a real mouse.
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    XTestFakeButtonEvent(display, Button1, True, CurrentTime);
    XTestFakeButtonEvent(display, Button1, False, CurrentTime);
    XFlush(display);
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
}

void TX11Session::Drag(XWindow window, std::pair<int, int> from, std::pair<int, int> to)
{
    const auto moveTo = [&](int x, int y) {
        MovePointer(window, x, y);
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    };
    moveTo(from.first, from.second);
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    XTestFakeButtonEvent(display, Button1, True, CurrentTime);
    constexpr int Steps = 10;
    for (int step = 1; step <= Steps; ++step)
        moveTo(from.first + (to.first - from.first) * step / Steps,
            from.second + (to.second - from.second) * step / Steps);
    XTestFakeButtonEvent(display, Button1, False, CurrentTime);
    XFlush(display);
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
}

void TX11Session::Sync()
{
    XSync(display, False);
}
