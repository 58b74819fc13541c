// A child process for the save tests that need another user or a file-size limit: it builds the editor
// offscreen with a scripted system driver, loads the script named by its argument, adds a line, saves
// and prints what the editor did, one "key=value" per line.
#include "app/Application.h"
#include "event/EventQueue.h"
#include "gui/Gadget.h"
#include "gui/GuiDriver.h"
#include "resources/EmbeddedFiles.h"
#include "support/ScriptedSystemDriver.h"
#include "tools/StartupResources.h"

#include <QString>

#include <csignal>
#include <cstdio>
#include <unistd.h>

int main(int argc, char** argv)
{
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s script.lua\n", argv[0]);
        return 2;
    }
    // As in the editor: a file-size limit must make the save fail instead of ending the process.
    std::signal(SIGXFSZ, SIG_IGN);
    RegisterEmbeddedFiles();
    StartGui(argc, argv);
    LoadStartupResources();
    auto scripted = std::make_unique<TScriptedSystemDriver>();
    TScriptedSystemDriver* system = scripted.get();
    SetSystemDriver(std::move(scripted));
    App = new TApplication();
    App->Init();

    const QString script = QString::fromLocal8Bit(argv[1]);
    std::printf("loaded=%d\n", App->LoadFile(script) ? 1 : 0);
    TGadget* text = App->Textarea;
    text->ReplaceText(text->AreaLen(TextUnit::Chars), 0, QStringLiteral("\n-- edited"), TextUnit::Chars);
    // The change reaches the document as a user's edit would: through the loop.
    TEvent::Create(Event::GadgetAction, text).Emit();
    while (App->RunPass()) { }
    const bool saved = App->SaveDoc();

    std::printf("saved=%d\n", saved ? 1 : 0);
    std::printf("modified=%d\n", App->Modified);
    std::printf("title=%s\n", App->Window->GetText().toUtf8().constData());
    for (const TRecordedRequest& request : system->requests)
        std::printf("request=%s|%s|%s|%d\n", request.kind.toUtf8().constData(), request.caption.toUtf8().constData(),
            request.text.toUtf8().constData(), request.serious ? 1 : 0);
    std::fflush(stdout);
    // The editor itself ends without tearing down its widgets.
    _exit(0);
}
