#include "common/codepage.h"

#include <QList>
#include <QStringDecoder>
#include <QStringEncoder>

namespace {
// Qt's converter writes 0x1A (SUB) for a character it cannot map, and may map
// some characters to a look-alike. Both are found by decoding back.
QByteArray encodeRaw(const QString& text)
{
    QStringEncoder encoder("windows-1250");
    return encoder.encode(text);
}
} // namespace

QByteArray ToCp1250(const QString& text)
{
    QByteArray bytes = encodeRaw(text);
    // One byte per character, so the bytes line up with the code points.
    const QList<uint> codes = text.toUcs4();
    const QString back = FromCp1250(bytes);
    if (codes.size() != bytes.size() || back.size() != bytes.size())
        return bytes;
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        if (back.at(i).unicode() != codes.at(i))
            bytes[i] = '?';
    }
    return bytes;
}

QString FromCp1250(const QByteArray& bytes)
{
    QStringDecoder decoder("windows-1250");
    return decoder.decode(bytes);
}

bool FitsCp1250(const QString& text)
{
    return FromCp1250(encodeRaw(text)) == text;
}
