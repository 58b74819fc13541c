// The system driver: requesters, program launching and process exit. Tests install a scripted driver
// that answers requesters and records what was asked, launched or ended.
#pragma once

#include <QString>
#include <QStringList>

#include <memory>

class TGadget;

class TSystemDriver {
public:
    virtual ~TSystemDriver() = default;

    // Message box with OK; a warning when serious, else information.
    virtual void Notify(const QString& caption, const QString& text, bool serious) = 0;
    // OK and Cancel: 1 for OK, 0 otherwise.
    virtual int Confirm(const QString& caption, const QString& text, bool serious) = 0;
    // Yes, No and Cancel: 1, 0, -1 (closing counts as Cancel).
    virtual int Proceed(const QString& caption, const QString& text, bool serious) = 0;
    // A question answered by buttons of its own, the first one the default; "&" marks a button's Alt key.
    // The index of the button chosen; Escape and closing the box choose `escapeIndex`, which may lie past
    // the buttons for a question that Escape leaves unanswered.
    virtual int Choose(
        const QString& caption, const QString& text, bool serious, const QStringList& buttons, int escapeIndex)
        = 0;
    // The chosen path, or "" when cancelled. `extensions` as "Lua script:lua" (see FileFilter.h).
    virtual QString RequestFile(const QString& title, const QString& extensions, bool save, const QString& path) = 0;
    // 0 when cancelled, otherwise the chosen colour as 0xFFRRGGBB.
    virtual unsigned RequestColor(int red, int green, int blue) = 0;
    // Pops up a menu made with MakeMenuItem under no parent at a point of the screen and returns once
    // the user chose an item, which raises its MenuAction, or dismissed the menu.
    virtual void PopupMenu(TGadget* menu, int screenX, int screenY) = 0;
    // Starts a program detached, without a shell; false when it could not be started.
    virtual bool Launch(const QString& program, const QStringList& arguments, const QString& workingDirectory) = 0;
    // Ends the process at once.
    virtual void Exit(int status) = 0;
};

// The driver in use; the real one unless a test installed another.
TSystemDriver& SystemDriver();
// Installs a driver (null restores the real one) and returns the one it replaces.
std::unique_ptr<TSystemDriver> SetSystemDriver(std::unique_ptr<TSystemDriver> driver);

// The caption of every message box: the application's title, set by the program before it asks.
extern QString ApplicationTitle;

void Notify(const QString& text, bool serious = false);
int Confirm(const QString& text, bool serious = false);
int Proceed(const QString& text, bool serious = false);
int Choose(const QString& text, const QStringList& buttons, int escapeIndex, bool serious = false);
QString RequestFile(const QString& title, const QString& extensions, bool save, const QString& path);
// 1 when a colour was chosen (then ChosenRed/Green/Blue give it), 0 when cancelled.
int RequestColor(int red, int green, int blue);
int ChosenRed();
int ChosenGreen();
int ChosenBlue();

// The clipboard's plain text; empty when it holds none.
QString ClipboardText();
