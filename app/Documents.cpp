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
#include "resources/ScriptFile.h"
#include "resources/Stream.h"
#include "resources/StreamException.h"

#include <QFileInfo>

namespace {
const QString ScriptFilter = QStringLiteral("Lua script:lua");

bool WriteBytes(const QString& path, const QByteArray& bytes)
{
    return ReplaceFileSafely(path, [&bytes](std::unique_ptr<TCStream> file) {
        if (!file)
            throw TStreamWriteException();
        if (file->Write(bytes.constData(), bytes.size()) != bytes.size())
            throw TStreamWriteException();
        file->Close();
    });
}

// The first position where the two texts differ, and how many characters at their ends agree after it.
std::pair<qsizetype, qsizetype> CommonEnds(const QString& a, const QString& b)
{
    const qsizetype shorter = std::min(a.size(), b.size());
    qsizetype prefix = 0;
    while (prefix < shorter && a[prefix] == b[prefix])
        ++prefix;
    qsizetype suffix = 0;
    while (suffix < shorter - prefix && a[a.size() - 1 - suffix] == b[b.size() - 1 - suffix])
        ++suffix;
    return { prefix, suffix };
}
} // namespace

void TApplication::NewDoc(int ask)
{
    if (Modified && ask && Ask(QStringLiteral("Create new script without saving?")) != 1)
        return;
    FileName = QStringLiteral("New Script.lua");
    File.clear();
    Format = TScriptFormat {};
    formatFromFile = false;
    ForgetDisk();
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
    // Whatever another program wrote since the script was loaded or saved is not overwritten unasked.
    if (!CheckDisk(DiskCheck::BeforeSave))
        return false;
    return WriteDoc();
}

bool TApplication::WriteDoc()
{
    const QString text = Textarea->AreaText(0, -1, TextUnit::Chars);
    if (const auto bad = FirstUnencodable(text, Format.charset)) {
        const int line = Textarea->LineAt(int(*bad)) + 1;
        const QString question = QStringLiteral("\"%1\" is stored in %2, which cannot hold the character \"%3\" on "
                                                "line %4.\n\nSave it in UTF-8 instead?")
                                     .arg(FileName, CharsetName(Format), text.mid(*bad, 1), QString::number(line));
        if (!AskConfirm(question))
            return false;
        Format.charset = TCharset::Utf8;
        Format.byteOrderMark = false;
        UpdateFormatLabel();
    }
    TScriptFormat format = Format;
    // A new script ends its last line with a break; an empty one has no line to end.
    if (text.isEmpty() && !formatFromFile)
        format.finalLineBreak = false;
    const QByteArray bytes = EncodeScript(text, format);
    if (!WriteBytes(File, bytes)) {
        Tell(QStringLiteral("Failed to save script!"), true);
        MarkModified();
        return false;
    }
    KnowDisk(StampOf(File), Fingerprint(bytes));
    watcher.Watch(File);
    Modified = 0;
    // The copy goes before the title says the script is saved: whoever sees the title finds no copy.
    DiscardRecovery();
    UpdateTitle();
    return true;
}

bool TApplication::SaveAsDoc()
{
    const QString answer = RequestFile(QStringLiteral("Save script"), ScriptFilter, true, RequesterPath(true));
    if (answer.isEmpty())
        return false;
    const QString oldFile = File;
    const QString oldFileName = FileName;
    File = answer;
    FileName = StripDir(answer);
    // The title names the new file once it holds the script.
    if (WriteDoc()) {
        RememberScript(File);
        return true;
    }
    // A failed Save As leaves the document where it was.
    File = oldFile;
    FileName = oldFileName;
    MarkModified();
    return false;
}

void TApplication::LoadDoc()
{
    if (!MayLoadOver())
        return;
    const QString answer = RequestFile(QStringLiteral("Load script"), ScriptFilter, false, RequesterPath(false));
    if (!answer.isEmpty())
        LoadFile(answer);
}

void TApplication::OpenDroppedFile(const QString& path)
{
    if (!MayLoadOver())
        return;
    LoadFile(path);
}

void TApplication::ReportOpenFailure()
{
    Tell(QStringLiteral("Failed to open script!"), true);
}

bool TApplication::LoadFile(const QString& path)
{
    const std::optional<TScriptFile> file = ReadScriptFile(path, TextAreaCapacity);
    if (!file || !Textarea->ReplaceText(0, -1, file->script.text, TextUnit::Chars)) {
        ReportOpenFailure();
        return false;
    }
    GlobalUpdateTextarea();
    File = path;
    FileName = StripDir(path);
    Format = file->script.format;
    formatFromFile = true;
    KnowDisk(file->stamp, file->fingerprint);
    watcher.Watch(File);
    Modified = 0;
    UpdateTitle();
    TEvent::Create(Event::GadgetSelect, Textarea).Emit();
    History->Clear();
    DiscardRecovery();
    RememberScript(path);
    return true;
}

void TApplication::ConvertTo(TCharset charset)
{
    if (Format.charset == charset)
        return;
    const QString text = Textarea->AreaText(0, -1, TextUnit::Chars);
    if (const auto bad = FirstUnencodable(text, charset)) {
        Tell(QStringLiteral(
                 "The script cannot be converted to Latin-1: the character \"%1\" on line %2 has no place in it.")
                 .arg(text.mid(*bad, 1), QString::number(Textarea->LineAt(int(*bad)) + 1)),
            false);
        return;
    }
    Format.charset = charset;
    Format.byteOrderMark = false;
    UpdateFormatLabel();
    // The file on disk is another now than the one the script would write.
    MarkModified();
}

// The file on disk against what this editor last read or wrote there.
void TApplication::KnowDisk(const TFileStamp& stamp, const QByteArray& fingerprint)
{
    disk = TDiskState {};
    disk.stamp = stamp;
    disk.fingerprint = fingerprint;
    UpdateFormatLabel();
}

void TApplication::ForgetDisk()
{
    disk = TDiskState {};
    watcher.Watch(QString());
    UpdateFormatLabel();
}

bool TApplication::CheckDisk(DiskCheck check)
{
    if (File.isEmpty() || disk.fingerprint.isEmpty())
        return true;
    const TFileStamp stamp = StampOf(File);
    if (stamp == disk.stamp)
        return true;
    if (!stamp.exists) {
        if (!disk.missingSaid) {
            disk.missingSaid = true;
            ShowNotice(
                QStringLiteral("\"%1\" was deleted or moved on disk. Save writes it back to %2.").arg(FileName, File));
            MarkModified();
        }
        return true;
    }
    const std::optional<TScriptFile> file = ReadScriptFile(File, TextAreaCapacity);
    if (!file) {
        // Changed into something this editor cannot read (too long for it, or unreadable now): a look
        // leaves it for later, a save asks before it writes over it.
        // Something that is no file at all (a folder in its place) makes the save fail and say so.
        if (check != DiskCheck::BeforeSave || !QFileInfo(File).isFile())
            return true;
        return AskChoice(QStringLiteral("\"%1\" was changed on disk by another program and cannot be read back "
                                        "here.\n\nOverwrite it with your version?")
                             .arg(FileName),
                   { QStringLiteral("&Keep mine"), QStringLiteral("Cancel") }, 1)
            == 0;
    }
    disk.missingSaid = false;
    if (file->fingerprint == disk.fingerprint || file->fingerprint == disk.overwriteAllowed) {
        // Touched, or written back with what this editor has; or the user chose to keep their version.
        disk.stamp = file->stamp;
        return true;
    }
    if (!Modified) {
        Reload(*file, true);
        ShowNotice(
            QStringLiteral("\"%1\" was changed on disk and has been reloaded (Undo takes it back).").arg(FileName));
        // Nothing is left to save over it.
        return check != DiskCheck::BeforeSave;
    }
    // Asked when the user comes back to the editor, not while they work elsewhere; a question left
    // unanswered is asked again when the file changes once more, or before a save.
    if (check == DiskCheck::Noticed && !IsActiveWindow(Window))
        return true;
    if (check != DiskCheck::BeforeSave && file->fingerprint == disk.leftUnanswered)
        return true;
    const QString question = QStringLiteral("\"%1\" was changed on disk by another program, and you have changed it "
                                            "here too.\n\nReload it from disk (your version stays one Undo away and in "
                                            "the recovery copy), or keep your version (the next save overwrites the "
                                            "file)?")
                                 .arg(FileName);
    QStringList buttons { QStringLiteral("&Reload"), QStringLiteral("&Keep mine") };
    if (check == DiskCheck::BeforeSave)
        buttons << QStringLiteral("Cancel");
    // Escape decides nothing, and a save does not go on.
    const int answer = AskChoice(question, buttons, 2);
    if (answer == 0) {
        // The user's version is kept for the next start too, before it is replaced.
        KeepUnsavedWorkNow();
        Reload(*file, false);
        ShowNotice(QStringLiteral("\"%1\" has been reloaded from disk; Undo brings your version back.").arg(FileName));
        return false;
    }
    if (answer == 1) {
        disk.overwriteAllowed = file->fingerprint;
        disk.stamp = file->stamp;
        return true;
    }
    // The box closing gives the window back, which must not ask the same at once.
    disk.leftUnanswered = file->fingerprint;
    return false;
}

void TApplication::Reload(const TScriptFile& file, bool discardCopy)
{
    const QString old = Textarea->AreaText(0, -1, TextUnit::Chars);
    const QString& text = file.script.text;
    const auto [prefix, suffix] = CommonEnds(old, text);
    const int cursor = Textarea->GetCursorPos(TextUnit::Chars);
    const int selection = Textarea->GetSelectionLength(TextUnit::Chars);
    const int removed = int(old.size() - prefix - suffix);
    const int added = int(text.size() - prefix - suffix);
    if (removed > 0 || added > 0) {
        // One undo step, the lines it touches re-coloured.
        if (!ReplaceRange(int(prefix), removed, text.mid(prefix, added)))
            return;
        // A caret behind the change keeps its place in the text around it.
        if (cursor >= prefix + removed)
            Textarea->SetSelection(cursor + added - removed, selection, TextUnit::Chars);
        else if (cursor > prefix)
            Textarea->SetSelection(int(prefix), 0, TextUnit::Chars);
    }
    Format = file.script.format;
    formatFromFile = true;
    KnowDisk(file.stamp, file.fingerprint);
    Modified = 0;
    UpdateTitle();
    if (discardCopy)
        DiscardRecovery();
}
