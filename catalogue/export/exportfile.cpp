#include "catalogue/export/exportfile.h"

#include "common/codepage.h"
#include "common/errors.h"

#include <QDir>
#include <QIODevice>
#include <QSaveFile>

#include <array>
#include <charconv>

namespace {

constexpr qsizetype FlushAt = 64 * 1024;

// The Windows-1250 byte of every UTF-16 code unit from 0x80 on; 0 where
// there is none. Built from the code page's own
// decoder, and a byte counts only when its character encodes back to it, so
// the undefined positions of the code page are never produced.
const std::array<unsigned char, 65536>& byteTable()
{
    static const std::array<unsigned char, 65536> table = [] {
        std::array<unsigned char, 65536> t{};
        for (int b = 1; b < 256; ++b) {
            const QByteArray byte(1, char(b));
            const QString c = FromCp1250(byte);
            if (c.size() == 1 && FitsCp1250(c) && ToCp1250(c) == byte)
                t[c.at(0).unicode()] = static_cast<unsigned char>(b);
        }
        return t;
    }();
    return table;
}

} // namespace

Cp1250Writer::Cp1250Writer(QIODevice& device, Unmappable unmappable)
    : device_(device), unmappable_(unmappable)
{
    buffer_.reserve(FlushAt + 1024);
}

Cp1250Writer::~Cp1250Writer() = default;

void Cp1250Writer::write(QStringView text)
{
    const auto& table = byteTable();
    const qsizetype n = text.size();
    // Room for one byte per code unit, the usual case; a reference grows it.
    qsizetype at = buffer_.size();
    buffer_.resize(at + n);
    char* out = buffer_.data();
    for (qsizetype i = 0; i < n; ++i) {
        const char16_t u = text[i].unicode();
        if (u < 0x80) {
            out[at++] = char(u);
            continue;
        }
        const unsigned char b = table[u];
        if (b != 0) {
            out[at++] = char(b);
            continue;
        }
        // One replacement per character, not per UTF-16 unit.
        char32_t code = u;
        if (QChar::isHighSurrogate(u) && i + 1 < n &&
            QChar::isLowSurrogate(text[i + 1].unicode())) {
            code = QChar::surrogateToUcs4(u, text[i + 1].unicode());
            ++i;
        }
        QByteArray replacement("?");
        if (unmappable_ == Unmappable::CharacterReference)
            replacement = "&#" + QByteArray::number(quint32(code)) + ';';
        buffer_.resize(at);
        buffer_.append(replacement);
        at = buffer_.size();
        buffer_.resize(at + (n - i - 1));
        out = buffer_.data();
    }
    buffer_.resize(at);
    if (buffer_.size() >= FlushAt)
        flush();
}

void Cp1250Writer::writeNumber(qlonglong value)
{
    char digits[24];
    const auto end = std::to_chars(digits, digits + sizeof digits, value).ptr;
    buffer_.append(digits, end - digits);
}

void Cp1250Writer::writeLine(QStringView text)
{
    write(text);
    buffer_.append("\r\n", 2);
}

void Cp1250Writer::flush()
{
    if (buffer_.isEmpty())
        return;
    if (device_.write(buffer_) != buffer_.size())
        throw ZelmoError(QStringLiteral("Az írás nem sikerült: %1").arg(device_.errorString()));
    buffer_.clear();
}

void SaveExportFile(const QString& path, const std::function<void(QIODevice&)>& write)
{
    if (path.trimmed().isEmpty())
        throw ZelmoError(QStringLiteral("Nincs filenév megadva."));
    const QString shown = QDir::toNativeSeparators(path);
    QSaveFile file(path);
    // Never fall back to writing over the old file where no temporary file can be made.
    file.setDirectWriteFallback(false);
    if (!file.open(QIODevice::WriteOnly))
        throw ZelmoError(
            QStringLiteral("A(z) %1 file nem hozható létre: %2").arg(shown, file.errorString()));
    try {
        write(file);
    } catch (...) {
        file.cancelWriting();
        throw;
    }
    if (!file.commit())
        throw ZelmoError(
            QStringLiteral("A(z) %1 file nem írható: %2").arg(shown, file.errorString()));
}
