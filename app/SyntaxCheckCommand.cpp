// Check Syntax: the script compiled as it would be saved, the caret taken to the first line Lua rejects.
#include "app/Application.h"

#include "gui/Gadget.h"
#include "lua/SyntaxCheck.h"
#include "resources/TextStream.h"

namespace {
// Collects what is written, so that the text is encoded exactly as a save encodes it.
class TByteSink : public TStream {
public:
    explicit TByteSink(QByteArray& bytes)
        : out(bytes)
    {
    }
    qint64 Pos() override { return out.size(); }
    qint64 Size() override { return out.size(); }
    qint64 Seek(qint64) override { return out.size(); }
    qint64 Read(void*, qint64) override { return 0; }
    qint64 Write(const void* buffer, qint64 count) override
    {
        out.append(static_cast<const char*>(buffer), count);
        return count;
    }
    void Flush() override { }
    void Close() override { }

private:
    QByteArray& out;
};

QByteArray SavedBytes(const QString& text)
{
    QByteArray bytes;
    TTextStream stream(std::make_unique<TByteSink>(bytes), TTextEncoding::Utf8);
    stream.WriteString(text);
    stream.Flush();
    return bytes;
}
} // namespace

void TApplication::CheckSyntax()
{
    const QString text = Textarea->AreaText(0, -1, TextUnit::Chars);
    const std::optional<TSyntaxError> error = CheckLuaSyntax(SavedBytes(text), FileName);
    if (!error) {
        Tell(QStringLiteral("No syntax errors found."), false);
        return;
    }
    if (error->line > 0) {
        const int line = std::min(error->line - 1, Textarea->AreaLen(TextUnit::Lines));
        Textarea->SetSelection(line, 1, TextUnit::Lines);
        TEvent::Create(Event::GadgetSelect, Textarea).Emit();
        Tell(QStringLiteral("Line %1: %2").arg(error->line).arg(error->message), true);
    } else {
        Tell(error->message, true);
    }
    Textarea->Activate(ActivateCommand::Focus);
}
