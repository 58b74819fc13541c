#include "resources/RecoveryFile.h"

#include <QCryptographicHash>
#include <QDir>

namespace {
const QByteArray Magic = "tarvane-le recovery 1\n";
// Detects damage, not tampering: the file is the user's own.
constexpr auto DigestKind = QCryptographicHash::Md5;
constexpr qint64 MaxPathLength = 1 << 20;
// Room for the header lines, whatever numbers they hold.
constexpr qint64 MaxHeaderSize = 4096;

QByteArray Utf16Bytes(const QString& text)
{
    QByteArray bytes;
    bytes.resize(text.size() * 2);
    char* out = bytes.data();
    for (const QChar c : text) {
        *out++ = static_cast<char>(c.unicode() & 0xFF);
        *out++ = static_cast<char>(c.unicode() >> 8);
    }
    return bytes;
}

QString FromUtf16Bytes(QByteArrayView bytes)
{
    QString text(bytes.size() / 2, Qt::Uninitialized);
    QChar* out = text.data();
    for (qsizetype i = 0; i + 1 < bytes.size(); i += 2)
        *out++ = QChar(static_cast<char16_t>(
            static_cast<unsigned char>(bytes[i]) | (static_cast<unsigned char>(bytes[i + 1]) << 8)));
    return text;
}

// Reads "<name> <decimal>\n" at `at`; advances past it.
std::optional<qint64> Field(QByteArrayView bytes, qsizetype& at, QByteArrayView name)
{
    const qsizetype end = bytes.indexOf('\n', at);
    if (end < 0)
        return std::nullopt;
    const QByteArrayView line = bytes.sliced(at, end - at);
    if (!line.startsWith(name) || line.size() <= name.size() || line[name.size()] != ' ')
        return std::nullopt;
    bool ok = false;
    const qint64 value = line.sliced(name.size() + 1).toLongLong(&ok);
    if (!ok)
        return std::nullopt;
    at = end + 1;
    return value;
}

} // namespace

QByteArray EncodeRecovery(const TRecoverySnapshot& snapshot)
{
    const QByteArray path = Utf16Bytes(snapshot.path);
    const QByteArray text = Utf16Bytes(snapshot.text);
    QByteArray bytes = Magic;
    bytes += "time " + QByteArray::number(snapshot.time.toMSecsSinceEpoch()) + '\n';
    bytes += "path " + QByteArray::number(snapshot.path.size()) + '\n';
    bytes += "text " + QByteArray::number(snapshot.text.size()) + '\n';
    bytes += path;
    bytes += text;
    bytes += QCryptographicHash::hash(bytes, DigestKind);
    return bytes;
}

std::optional<TRecoverySnapshot> DecodeRecovery(QByteArrayView bytes, qsizetype maxTextLength)
{
    const qsizetype digestSize = QCryptographicHash::hashLength(DigestKind);
    if (!bytes.startsWith(Magic) || bytes.size() < Magic.size() + digestSize)
        return std::nullopt;
    qsizetype at = Magic.size();
    const auto time = Field(bytes, at, "time");
    const auto pathLength = Field(bytes, at, "path");
    const auto textLength = Field(bytes, at, "text");
    if (!time || !pathLength || !textLength || *pathLength < 0 || *textLength < 0 || *textLength > maxTextLength
        || *pathLength > MaxPathLength)
        return std::nullopt;
    const qsizetype body = at + 2 * (*pathLength + *textLength);
    if (body + digestSize != bytes.size())
        return std::nullopt;
    if (QCryptographicHash::hash(bytes.first(body), DigestKind) != bytes.sliced(body))
        return std::nullopt;
    TRecoverySnapshot snapshot;
    snapshot.time = QDateTime::fromMSecsSinceEpoch(*time);
    snapshot.path = FromUtf16Bytes(bytes.sliced(at, 2 * *pathLength));
    snapshot.text = FromUtf16Bytes(bytes.sliced(at + 2 * *pathLength, 2 * *textLength));
    return snapshot;
}

qint64 MaxRecoveryFileSize(qsizetype maxTextLength)
{
    return MaxHeaderSize + 2 * (qint64(maxTextLength) + MaxPathLength) + QCryptographicHash::hashLength(DigestKind);
}

QString DefaultRecoveryFolder()
{
    QString state = qEnvironmentVariable("XDG_STATE_HOME");
    // A relative folder is no folder, the convention says; the default takes its place.
    if (state.isEmpty() || QDir::isRelativePath(state))
        state = QDir::homePath() + QStringLiteral("/.local/state");
    return state + QStringLiteral("/tarvane-le/recovery");
}
