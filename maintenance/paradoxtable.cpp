#include "maintenance/paradoxtable.h"

#include "common/errors.h"
#include "common/paths.h"

extern "C" {
#include <paradox.h>
}

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <cmath>
#include <cstring>

namespace paradox {
namespace {

const uchar* bytes(const char* p)
{
    return reinterpret_cast<const uchar*>(p);
}

quint32 le32(const char* p)
{
    const uchar* u = bytes(p);
    return quint32(u[0]) | quint32(u[1]) << 8 | quint32(u[2]) << 16 | quint32(u[3]) << 24;
}

bool allZero(const char* p, int n)
{
    for (int i = 0; i < n; ++i)
        if (p[i] != 0)
            return false;
    return true;
}

// Integers are stored big-endian with the sign bit flipped, so that the bytes
// sort like the numbers; all-zero bytes are the empty value.
qint32 signedInt(const char* p, int n)
{
    const uchar* u = bytes(p);
    quint32 v = 0;
    for (int i = 0; i < n; ++i)
        v = v << 8 | u[i];
    const quint32 signBit = 1u << (n * 8 - 1);
    v ^= signBit;
    if (v & signBit) // negative: extend the sign
        v |= ~((signBit << 1) - 1);
    return qint32(v);
}

// Doubles likewise: positive numbers have the sign bit set, negative ones are
// stored with every bit inverted.
double signedDouble(const char* p)
{
    uchar u[8];
    std::memcpy(u, p, 8);
    if (u[0] & 0x80) {
        u[0] &= 0x7f;
    } else {
        for (uchar& b : u)
            b = uchar(~b);
    }
    quint64 bits = 0;
    for (uchar b : u)
        bits = bits << 8 | b;
    double d;
    std::memcpy(&d, &bits, 8);
    return d;
}

void onPxError(pxdoc_t*, int type, const char* msg, void* data)
{
    if (type == PX_Warning || !msg || !data)
        return;
    // The first complaint names the cause; the ones after it only follow from it.
    auto* target = static_cast<QString*>(data);
    if (target->isEmpty())
        *target = QString::fromLocal8Bit(msg).trimmed();
}

} // namespace

// ---------------------------------------------------------------- BlobFile

BlobFile::BlobFile(const QString& path) : path_(path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        throw ZelmoError(QStringLiteral("A(z) %1 fájl nem olvasható: %2")
                             .arg(QDir::toNativeSeparators(path), f.errorString()));
    data_ = f.readAll();
}

void BlobFile::damaged(const QString& why) const
{
    throw ZelmoError(
        QStringLiteral("A(z) %1 fájl sérült: %2").arg(QDir::toNativeSeparators(path_), why));
}

QByteArray BlobFile::read(const char* field, int length) const
{
    const int leader = length - 10;
    const quint32 where = le32(field + leader);
    const quint32 size = le32(field + leader + 4);
    if (size == 0)
        return QByteArray();
    const quint32 offset = where & 0xffffff00u;
    const int slot = int(where & 0xffu);
    if (offset == 0) {
        if (size > quint32(leader))
            damaged(QStringLiteral("egy mező %1 bájtnyi adatra mutat, de nem adja meg, hol van.")
                        .arg(size));
        return QByteArray(field, qsizetype(size));
    }
    const qsizetype fileSize = data_.size();
    if (qsizetype(offset) + 12 > fileSize)
        damaged(QStringLiteral("a(z) %1. bájtnál kezdődő blokk a fájl végén túl van.").arg(offset));
    const char* block = data_.constData() + offset;
    switch (uchar(block[0])) {
    case 2: { // one blob in one or more blocks
        if (slot != 0xff)
            damaged(
                QStringLiteral("a(z) %1. bájtnál álló blokkra hibás mutató mutat.").arg(offset));
        if (le32(block + 3) != size)
            damaged(QStringLiteral("a(z) %1. bájtnál álló adat hossza nem egyezik.").arg(offset));
        if (qsizetype(offset) + 9 + qsizetype(size) > fileSize)
            damaged(QStringLiteral("a(z) %1. bájtnál álló adat a fájl végén túl ér.").arg(offset));
        return QByteArray(block + 9, qsizetype(size));
    }
    case 3: { // up to 64 small blobs in one block, found through a slot table
        if (slot >= 64)
            damaged(
                QStringLiteral("a(z) %1. bájtnál álló blokkra hibás mutató mutat.").arg(offset));
        const uchar* entry = bytes(block + 12 + slot * 5);
        const qsizetype start = qsizetype(entry[0]) * 16;
        const quint32 stored = entry[1] == 0 ? 0 : (quint32(entry[1]) - 1) * 16 + entry[4];
        if (start == 0 || stored != size)
            damaged(QStringLiteral("a(z) %1. bájtnál álló blokk %2. helye nem egyezik a mutatóval.")
                        .arg(offset)
                        .arg(slot));
        if (start + qsizetype(size) > 4096 ||
            qsizetype(offset) + start + qsizetype(size) > fileSize)
            damaged(QStringLiteral("a(z) %1. bájtnál álló blokk adata a blokk végén túl ér.")
                        .arg(offset));
        return QByteArray(block + start, qsizetype(size));
    }
    default:
        damaged(QStringLiteral("a(z) %1. bájtnál nem adatblokk áll.").arg(offset));
    }
}

QString blobFileFor(const QString& tablePath)
{
    const QFileInfo fi(tablePath);
    return FindFileNoCase(fi.absolutePath(), fi.completeBaseName() + QStringLiteral(".MB"));
}

// ---------------------------------------------------------------- TableReader

TableReader::TableReader(const QString& path) : path_(path)
{
    try {
        open();
    } catch (...) {
        release();
        throw;
    }
}

void TableReader::open()
{
    const QString& path = path_;
    // pxlib seeks and reads a few bytes at a time; from a file that costs two
    // system calls a field. It reads the table from memory instead, through a
    // read-only stream, so it has no way to write the old file either.
    mapped_ = std::make_unique<QFile>(path);
    if (!mapped_->open(QIODevice::ReadOnly))
        fail(mapped_->errorString());
    const qint64 size = mapped_->size();
    uchar* data = size > 0 ? mapped_->map(0, size) : nullptr;
    if (!data)
        fail(size > 0 ? mapped_->errorString() : QStringLiteral("a fájl üres."));
    file_ = fmemopen(data, size_t(size), "rb");
    if (!file_)
        fail(QString::fromLocal8Bit(std::strerror(errno)));
    doc_ = PX_new3(onPxError, nullptr, nullptr, nullptr, &lastError_);
    if (!doc_)
        fail(QStringLiteral("nincs elég memória."));
    if (PX_open_fp(doc_, file_) < 0)
        fail(lastError_.isEmpty() ? QStringLiteral("nem tábla fájl.")
                                  : QStringLiteral("nem tábla fájl (%1).").arg(lastError_));

    const pxhead_t* head = doc_->px_head;
    // pxlib reads a cut-off file without complaint and hands out whatever lies
    // in its buffer, so the size is checked here.
    const qint64 expected =
        qint64(head->px_headersize) + qint64(head->px_fileblocks) * head->px_maxtablesize * 1024;
    if (size < expected)
        fail(QStringLiteral("a fájl csonka (%1 bájt helyett %2).").arg(size).arg(expected));

    recordCount_ = PX_get_num_records(doc_);
    primaryKeyFields_ = head->px_primarykeyfields;
    autoIncrement_ = head->px_autoinc;
    codePage_ = head->px_doscodepage;
    // The catalogue's texts are Windows-1250; tables made under DOS in Hungary
    // carry code page 852 in their header.
    decoder_ = QStringDecoder(codePage_ == 852 ? "IBM852" : "windows-1250");

    const int count = PX_get_num_fields(doc_);
    const pxfield_t* fields = PX_get_fields(doc_);
    if (count <= 0 || !fields || recordCount_ < 0)
        fail(QStringLiteral("a fejléc hibás."));
    int offset = 0;
    for (int i = 0; i < count; ++i) {
        FieldInfo f{text(fields[i].px_fname, qsizetype(std::strlen(fields[i].px_fname))),
                    fields[i].px_ftype, fields[i].px_flen};
        const bool pointerField = f.type == Memo || f.type == FmtMemo || f.type == Blob ||
                                  f.type == Ole || f.type == Graphic;
        if (f.length <= 0 || (pointerField && f.length < 10))
            fail(QStringLiteral("a(z) %1 mező hossza hibás.").arg(f.name));
        fields_.append(f);
        offsets_.append(offset);
        offset += f.length;
    }
    if (offset != PX_get_recordsize(doc_))
        fail(QStringLiteral("a mezők hossza nem egyezik a rekord hosszával."));
    buffer_.resize(offset);
}

TableReader::~TableReader()
{
    release();
}

void TableReader::release()
{
    if (doc_) {
        PX_close(doc_);
        PX_delete(doc_);
        doc_ = nullptr;
    }
    if (file_) {
        std::fclose(file_);
        file_ = nullptr;
    }
    mapped_.reset();
}

QString TableReader::fileName() const
{
    return QFileInfo(path_).fileName();
}

void TableReader::fail(const QString& why) const
{
    throw ZelmoError(QStringLiteral("A(z) %1 tábla nem olvasható vagy sérült: %2")
                         .arg(QDir::toNativeSeparators(path_), why));
}

QString TableReader::text(const char* data, qsizetype size)
{
    return decoder_.decode(QByteArrayView(data, size));
}

const BlobFile& TableReader::blobFile()
{
    if (!blobsLooked_) {
        blobsLooked_ = true;
        const QString mb = blobFileFor(path_);
        if (!mb.isEmpty())
            blobs_ = BlobFile(mb);
    }
    if (!blobs_.isOpen())
        fail(QStringLiteral("a memó és kép adatokat tartalmazó .MB fájl hiányzik."));
    return blobs_;
}

QVariantList TableReader::record(int index)
{
    lastError_.clear();
    if (index < 0 || index >= recordCount_ || !PX_get_record(doc_, index, buffer_.data()))
        fail(QStringLiteral("a(z) %1. sor nem olvasható. %2").arg(index + 1).arg(lastError_));
    QVariantList values;
    values.reserve(fields_.size());
    for (qsizetype i = 0; i < fields_.size(); ++i) {
        values.append(decode(buffer_.constData() + offsets_.at(i), fields_.at(i)));
    }
    return values;
}

QVariant TableReader::decode(const char* data, const FieldInfo& field)
{
    const int len = field.length;
    const auto bad = [&](const QString& what) {
        fail(QStringLiteral("hibás érték a(z) %1 mezőben: %2").arg(field.name, what));
    };
    switch (field.type) {
    case Alpha: {
        const qsizetype n = qsizetype(strnlen(data, size_t(len)));
        return n == 0 ? QVariant() : QVariant(text(data, n));
    }
    case Short:
        return allZero(data, 2) ? QVariant() : QVariant(int(signedInt(data, 2)));
    case Long:
    case AutoInc:
        return allZero(data, 4) ? QVariant() : QVariant(int(signedInt(data, 4)));
    case Date: {
        if (allZero(data, 4))
            return QVariant();
        const qint32 days = signedInt(data, 4);
        if (days <= 0)
            bad(QString::number(days));
        return QVariant(QDate::fromJulianDay(days + DateOffset));
    }
    case Time: {
        if (allZero(data, 4))
            return QVariant();
        const qint32 ms = signedInt(data, 4);
        if (ms < 0 || ms >= 86400000)
            bad(QString::number(ms));
        return QVariant(QTime::fromMSecsSinceStartOfDay(ms));
    }
    case Number:
    case Currency:
        return allZero(data, 8) ? QVariant() : QVariant(signedDouble(data));
    case Timestamp: {
        if (allZero(data, 8))
            return QVariant();
        const double ms = signedDouble(data);
        const double days = std::floor(ms / 86400000.0);
        if (!(days > 0 && days < 4e6))
            bad(QString::number(ms));
        const int rest = int(ms - days * 86400000.0);
        return QVariant(QDateTime(QDate::fromJulianDay(qint64(days) + DateOffset),
                                  QTime::fromMSecsSinceStartOfDay(qBound(0, rest, 86399999))));
    }
    case Logical:
        return data[0] == 0 ? QVariant() : QVariant(int((uchar(data[0]) & 0x7f) != 0));
    case Bytes:
        return allZero(data, len) ? QVariant() : QVariant(QByteArray(data, len));
    case Bcd: {
        if (data[0] == 0)
            return QVariant();
        const uchar* u = bytes(data);
        const bool negative = !(u[0] & 0x80);
        const int decimals = u[0] & 0x3f;
        if (decimals > 32)
            bad(QStringLiteral("BCD"));
        QString digits;
        for (int i = 2; i < 34; ++i) {
            uchar nibble = (i % 2) ? (u[i / 2] & 0x0f) : (u[i / 2] >> 4);
            if (negative)
                nibble ^= 0x0f;
            if (nibble > 9)
                bad(QStringLiteral("BCD"));
            digits += QChar(u'0' + nibble);
        }
        digits.insert(32 - decimals, QLatin1Char('.'));
        const double v = digits.toDouble();
        return QVariant(negative ? -v : v);
    }
    case Memo:
    case FmtMemo:
    case Blob:
    case Ole:
    case Graphic: {
        const char* pointer = data + len - 10;
        const quint32 size = le32(pointer + 4);
        if (size == 0)
            return QVariant();
        QByteArray value;
        if ((le32(pointer) & 0xffffff00u) == 0) { // short enough to live in the record alone
            if (size > quint32(len - 10))
                bad(QStringLiteral("%1 bájt a .MB fájlra mutató hely nélkül").arg(size));
            value = QByteArray(data, qsizetype(size));
        } else {
            value = blobFile().read(data, len);
        }
        if (field.type == Memo || field.type == FmtMemo) {
            while (value.endsWith('\0'))
                value.chop(1);
            return value.isEmpty() ? QVariant() : QVariant(text(value.constData(), value.size()));
        }
        // A graphic carries 8 bytes of its own header before the picture.
        if (field.type == Graphic)
            value.remove(0, qMin<qsizetype>(8, value.size()));
        return value.isEmpty() ? QVariant() : QVariant(value);
    }
    default:
        fail(
            QStringLiteral("a(z) %1 mező típusa (%2) ismeretlen.").arg(field.name).arg(field.type));
    }
}

} // namespace paradox
