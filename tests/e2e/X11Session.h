// Drives a program's windows on the X display of an end-to-end test: finding them by title, typing,
// closing them as a window manager would.
#pragma once

#include <chrono>
#include <optional>
#include <string>
#include <utility>

// X11's headers define macros that clash with other libraries, so this header keeps them out.
struct _XDisplay;
using XWindow = unsigned long;

class TX11Session {
public:
    TX11Session();
    ~TX11Session();
    TX11Session(const TX11Session&) = delete;
    TX11Session& operator=(const TX11Session&) = delete;

    bool Connected() const { return display != nullptr; }

    // The first viewable top-level window whose title equals `title`, waiting up to `timeout`.
    std::optional<XWindow> WaitForWindow(const std::string& title, std::chrono::milliseconds timeout);
    // Waits up to `timeout` until the window is no longer viewable (closed or hidden); false on timeout.
    bool WaitForWindowGone(XWindow window, std::chrono::milliseconds timeout);
    // The title of a window ("" when it has none).
    std::string TitleOf(XWindow window);
    // Asks the window to close, as a window manager's close button does.
    void RequestClose(XWindow window);
    // Gives the window the keyboard focus.
    void Focus(XWindow window);
    // Types a key with modifiers, e.g. Key("s", {"Control_L"}); names are X keysym names.
    void Key(const std::string& keysym, std::initializer_list<const char*> modifiers = {});
    // Types text made of printable ASCII characters, Return and Tab.
    void Type(const std::string& text);
    // The text of the primary selection as another program gets it from its owner, asking until the
    // answer is not empty (the owner may still be busy with the keys that select); "" when none
    // comes within the timeout.
    std::string PrimarySelection(std::chrono::milliseconds timeout);
    // The clipboard's text, asked for in the same way.
    std::string Clipboard(std::chrono::milliseconds timeout);
    // The size of a window, and a resize as dragging its frame would make (there is no window manager).
    std::pair<int, int> SizeOf(XWindow window);
    void Resize(XWindow window, int width, int height);
    // Moves the pointer to (x, y) in the window and clicks the left button there.
    void Click(XWindow window, int x, int y);
    // Holds the left button down at `from` in the window, moves the pointer to `to` in steps and lets go.
    void Drag(XWindow window, std::pair<int, int> from, std::pair<int, int> to);
    void Sync();

private:
    std::string SelectionText(const char* selection, std::chrono::milliseconds timeout);
    void MovePointer(XWindow window, int x, int y);
    std::optional<XWindow> FindByTitle(XWindow root, const std::string& title);

    _XDisplay* display = nullptr;
};
