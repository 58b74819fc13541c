// The script document: new, load, save and save as, with their questions and the modified mark.
//
// Saving never destroys the old file: the text goes to a temporary file beside it, is synced and then
// renamed over it. Loading reads the whole file before anything changes, so a file that cannot be read
// whole leaves the current document as it was.
#include "app/Application.h"

#include "event/EventQueue.h"
#include "gui/Gadget.h"
#include "gui/SystemDriver.h"
#include "highlight/History.h"
#include "resources/CStream.h"
#include "resources/Path.h"
#include "resources/ReplaceFile.h"
#include "resources/Stream.h"
#include "resources/StreamException.h"
#include "resources/TextStream.h"

namespace {
const QString ScriptFilter = QStringLiteral("Lua script:lua");

bool WriteScript(const QString& path, const QString& text)
{
    return ReplaceFileSafely(path, [&text](std::unique_ptr<TCStream> file) {
        if (!file)
            throw TStreamWriteException();
        TTextStream stream(std::move(file), TTextEncoding::Utf8);
        stream.WriteString(text);
        stream.Close();
    });
}

// The file's lines joined with "\n", a final line break dropped; nothing when it cannot be read whole or
// would not fit the text area.
std::optional<QString> ReadScript(const QString& path)
{
    auto stream = OpenReadStream(QStringLiteral("utf8::") + path);
    if (!stream)
        return std::nullopt;
    // A pipe may send one endless line: it is refused once it passes the capacity, not held whole.
    if (auto* textStream = dynamic_cast<TTextStream*>(stream.get()))
        textStream->SetLineLimit(TextAreaCapacity);
    QString text;
    try {
        for (bool first = true;; first = false) {
            text += stream->ReadLine();
            // The byte-order mark is how the file was stored, not part of the script; it must not count
            // against the text area's capacity either.
            if (first && text.startsWith(QChar(0xFEFF)))
                text.remove(0, 1);
            if (text.size() > TextAreaCapacity)
                return std::nullopt;
            if (StreamEof(*stream))
                break;
            text += QLatin1Char('\n');
        }
        CloseStream(*stream);
    } catch (const TStreamException&) {
        return std::nullopt;
    }
    return text;
}
} // namespace

void TApplication::NewDoc(int ask)
{
    if (Modified && ask && Ask(QStringLiteral("Create new script without saving?")) != 1)
        return;
    FileName = QStringLiteral("New Script.lua");
    File.clear();
    Textarea->ReplaceText(0, -1, QString(), TextUnit::Chars);
    TEvent::Create(Event::GadgetSelect, Textarea).Emit();
    History->Clear();
    MarkModified();
    DiscardRecovery();
}

bool TApplication::SaveDoc()
{
    if (File.isEmpty())
        return SaveAsDoc();
    if (!WriteScript(File, Textarea->AreaText(0, -1, TextUnit::Chars))) {
        Tell(QStringLiteral("Failed to save script!"), true);
        MarkModified();
        return false;
    }
    Modified = 0;
    UpdateTitle();
    DiscardRecovery();
    return true;
}

bool TApplication::SaveAsDoc()
{
    const QString answer = RequestFile(QStringLiteral("Save script"), ScriptFilter, true, QString());
    if (answer.isEmpty())
        return false;
    const QString oldFile = File;
    const QString oldFileName = FileName;
    File = answer;
    FileName = StripDir(answer);
    Modified = 0;
    UpdateTitle();
    if (SaveDoc())
        return true;
    // A failed Save As leaves the document where it was.
    File = oldFile;
    FileName = oldFileName;
    MarkModified();
    return false;
}

void TApplication::LoadDoc()
{
    if (Modified && Proceed(QStringLiteral("Load another script without saving current?")) != 1)
        return;
    const QString answer = RequestFile(QStringLiteral("Load script"), ScriptFilter, false, QString());
    if (!answer.isEmpty())
        LoadFile(answer);
}

void TApplication::ReportOpenFailure()
{
    Tell(QStringLiteral("Failed to open script!"), true);
}

bool TApplication::LoadFile(const QString& path)
{
    const std::optional<QString> text = ReadScript(path);
    if (!text || !Textarea->ReplaceText(0, -1, *text, TextUnit::Chars)) {
        ReportOpenFailure();
        return false;
    }
    GlobalUpdateTextarea();
    File = path;
    FileName = StripDir(path);
    Modified = 0;
    UpdateTitle();
    TEvent::Create(Event::GadgetSelect, Textarea).Emit();
    History->Clear();
    DiscardRecovery();
    return true;
}
