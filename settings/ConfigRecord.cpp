#include "settings/ConfigRecord.h"

#include "resources/CStream.h"
#include "resources/ReplaceFile.h"
#include "resources/StreamException.h"
#include "resources/Utf8.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cstdio>
#include <string>
#include <unistd.h>

namespace {
// The fixed bytes in file order, for reading and writing alike.
template <typename Record> auto FixedFieldsOf(Record& r)
{
    auto fields = std::array { &r.backR, &r.backG, &r.backB, &r.indent };
    std::array<typename decltype(fields)::value_type, TConfigRecord::FixedBytes> all {};
    std::copy(fields.begin(), fields.end(), all.begin());
    int i = static_cast<int>(fields.size());
    for (auto& c : r.classes)
        for (auto* field : { &c.r, &c.g, &c.b, &c.bold, &c.italic })
            all[i++] = field;
    return all;
}

// One byte, kept in `taken`; false at the end of the data.
bool ReadByte(TStream& stream, unsigned char& byte, QByteArray& taken)
{
    if (stream.Read(&byte, 1) != 1)
        return false;
    taken.append(char(byte));
    return true;
}

// One path line: bytes up to a line feed or a zero, carriage returns dropped. False when the data
// ends before the line does.
bool ReadPathLine(TStream& stream, QByteArray& line, QByteArray& taken)
{
    line.clear();
    unsigned char byte;
    while (ReadByte(stream, byte, taken)) {
        if (byte == 10 || byte == 0)
            return true;
        if (byte != 13)
            line.append(char(byte));
    }
    return false;
}
} // namespace

QByteArray EncodePath(const QString& path)
{
    QString line = path;
    line.remove(QChar(13)).remove(QChar(10)).remove(QChar(0));
    return line.toUtf8();
}

QString DecodePath(const QByteArray& bytes)
{
    const auto* p = reinterpret_cast<const unsigned char*>(bytes.constData());
    const auto* end = p + bytes.size();
    std::u32string codes;
    while (p < end) {
        char32_t code;
        p += Utf8::Decode(p, end, code);
        // Not UTF-8: a path from a file that stored one byte per character.
        if (Utf8::IsEscapedByte(code))
            return QString::fromLatin1(bytes);
        codes.push_back(code);
    }
    return QString::fromUcs4(codes.data(), qsizetype(codes.size()));
}

TColourScheme TConfigRecord::Scheme() const
{
    TColourScheme scheme;
    for (int k = 0; k < TokenClassCount; ++k) {
        const TClassSetting& setting = classes[k];
        scheme.Classes[k] = { setting.r, setting.g, setting.b,
            (setting.bold != 0 ? TextStyleBit::Bold : 0) | (setting.italic != 0 ? TextStyleBit::Italic : 0) };
    }
    return scheme;
}

void TConfigRecord::TakeBoxStates()
{
    const auto boxState = [](uint8_t& state) {
        if (state > 1)
            state = 255;
    };
    boxState(indent);
    for (TClassSetting& setting : classes) {
        boxState(setting.bold);
        boxState(setting.italic);
    }
}

void TConfigRecord::Read(TStream& stream, QByteArray* taken)
{
    QByteArray ignored;
    QByteArray& bytes = taken ? *taken : ignored;
    bytes.clear();
    try {
        QByteArray line;
        if (!ReadPathLine(stream, line, bytes))
            return;
        gamePath = DecodePath(line);
        if (!ReadPathLine(stream, line, bytes))
            return;
        dediPath = DecodePath(line);
        for (uint8_t* field : FixedFieldsOf(*this)) {
            unsigned char byte;
            if (!ReadByte(stream, byte, bytes))
                return;
            *field = byte;
        }
    } catch (const TStreamException&) {
        // A device error ends the data here, as the end of the file would.
    }
}

QByteArray TConfigRecord::Bytes() const
{
    QByteArray bytes = EncodePath(gamePath) + "\r\n" + EncodePath(dediPath) + "\r\n";
    for (const uint8_t* field : FixedFieldsOf(*this))
        bytes.append(char(*field));
    return bytes;
}

void TConfigRecord::Write(TStream& stream) const
{
    const QByteArray bytes = Bytes();
    stream.Write(bytes.constData(), bytes.size());
}

TConfigRecord TConfigRecord::Load(const QString& path, bool* opened, QByteArray* taken)
{
    TConfigRecord record;
    auto stream = TCStream::Open(path, TCStream::Mode::Read);
    if (opened)
        *opened = stream != nullptr;
    if (taken)
        taken->clear();
    if (stream)
        record.Read(*stream, taken);
    return record;
}

bool TConfigRecord::Save(const QString& path) const
{
    if (!QDir().mkpath(QFileInfo(path).absolutePath()))
        return false;
    return ReplaceFileSafely(path, [this](std::unique_ptr<TCStream> stream) {
        if (!stream)
            throw TStreamWriteException();
        Write(*stream);
        stream->Close();
    });
}
