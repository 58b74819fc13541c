#include "gui/PrimarySelection.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>

namespace {
const QString PlainText = QStringLiteral("text/plain");
} // namespace

// The clipboard's data for the primary selection: a range of the buffer, read when asked.
class TPrimaryOffer : public QMimeData {
public:
    TPrimaryOffer(const TTextBuffer& buffer, TTextRange range)
        : buffer(&buffer)
        , range(range)
    {
    }

    void Offer(TTextRange newRange) { range = newRange; }
    void Withdraw() { range = {}; }
    TTextRange Range() const { return range; }
    // The text area is going away; nothing is offered from now on.
    void Detach() { buffer = nullptr; }

    QStringList formats() const override { return Offers() ? QStringList { PlainText } : QStringList {}; }
    bool hasFormat(const QString& mimeType) const override { return Offers() && mimeType == PlainText; }

protected:
    QVariant retrieveData(const QString& mimeType, QMetaType type) const override
    {
        if (!hasFormat(mimeType))
            return {};
        const QString text = buffer->AreaText(range.start, range.Length(), TextUnit::Chars);
        if (type.id() == QMetaType::QByteArray)
            return text.toUtf8();
        return text;
    }

private:
    bool Offers() const { return buffer && range.start < range.end; }

    const TTextBuffer* buffer;
    TTextRange range;
};

TPrimarySelection::TPrimarySelection(const TTextBuffer& textBuffer)
    : buffer(textBuffer)
{
}

TPrimarySelection::~TPrimarySelection()
{
    if (offer)
        offer->Detach();
}

void TPrimarySelection::UserSelected()
{
    const TTextRange selection { buffer.SelStart(), buffer.SelEnd() };
    if (selection.start == selection.end)
        return;
    if (offer) {
        offer->Offer(selection);
        return;
    }
    QClipboard* clipboard = QGuiApplication::clipboard();
    if (!clipboard->supportsSelection())
        return;
    offer = new TPrimaryOffer(buffer, selection);
    clipboard->setMimeData(offer, QClipboard::Selection);
}

void TPrimarySelection::TextChanged(const TTextChange& change)
{
    if (!offer)
        return;
    const TTextRange range = offer->Range();
    if (change.pos + change.removed <= range.start) {
        const int shift = change.inserted - change.removed;
        offer->Offer({ range.start + shift, range.end + shift });
    } else if (change.pos < range.end) {
        offer->Withdraw();
    }
}

QString TPrimarySelection::Text()
{
    const QClipboard* clipboard = QGuiApplication::clipboard();
    return clipboard->supportsSelection() ? clipboard->text(QClipboard::Selection) : QString();
}
