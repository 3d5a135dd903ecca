#include "maintenance/paradoxwriter.h"

#include "common/errors.h"

extern "C" {
#include <paradox.h>
}

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cstring>

namespace paradox {

TableWriter::TableWriter(const QString& path, const QList<NewField>& fields, int primaryKeyFields,
                         int codePage)
    : path_(path), fields_(fields), encoder_(codePage == 852 ? "IBM852" : "windows-1250")
{
    doc_ = PX_new();
    if (!doc_)
        throw ZelmoError(QStringLiteral("pxlib: nincs elég memória."));
    // pxlib takes the field array over and frees it with its own allocator.
    auto* defs = static_cast<pxfield_t*>(
        doc_->malloc(doc_, sizeof(pxfield_t) * size_t(fields.size()), "fields"));
    bool hasPointers = false;
    int offset = 0;
    for (qsizetype i = 0; i < fields.size(); ++i) {
        const QByteArray name = encoder_.encode(fields.at(i).name);
        defs[i].px_fname = PX_strdup(doc_, name.constData());
        defs[i].px_ftype = char(fields.at(i).type);
        defs[i].px_flen = fields.at(i).length;
        defs[i].px_fdc = 0;
        offsets_.push_back(offset);
        offset += fields.at(i).length;
        const int t = fields.at(i).type;
        hasPointers =
            hasPointers || t == Memo || t == FmtMemo || t == Blob || t == Ole || t == Graphic;
    }
    const QByteArray file = QFile::encodeName(path);
    if (PX_create_file(doc_, defs, int(fields.size()), file.constData(),
                       primaryKeyFields > 0 ? pxfFileTypIndexDB : pxfFileTypNonIndexDB) < 0) {
        PX_delete(doc_);
        doc_ = nullptr;
        throw ZelmoError(QStringLiteral("A(z) %1 tábla nem hozható létre.").arg(path));
    }
    if (primaryKeyFields > 0)
        PX_set_value(doc_, "numprimkeys", float(primaryKeyFields));
    PX_set_value(doc_, "codepage", float(codePage));
    if (hasPointers) {
        const QFileInfo fi(path);
        blobPath_ = fi.absoluteDir().filePath(fi.completeBaseName() + QStringLiteral(".MB"));
        if (PX_set_blob_file(doc_, QFile::encodeName(blobPath_).constData()) < 0)
            throw ZelmoError(QStringLiteral("A(z) %1 fájl nem hozható létre.").arg(blobPath_));
    }
    record_.resize(PX_get_recordsize(doc_));
}

TableWriter::~TableWriter()
{
    close();
}

void TableWriter::append(const QVariantList& values)
{
    record_.fill('\0');
    for (qsizetype i = 0; i < fields_.size() && i < values.size(); ++i) {
        const QVariant& v = values.at(i);
        if (v.isNull())
            continue;
        char* data = record_.data() + offsets_[size_t(i)];
        const int len = fields_.at(i).length;
        switch (fields_.at(i).type) {
        case Alpha: {
            const QByteArray text = encoder_.encode(v.toString());
            std::memcpy(data, text.constData(), size_t(qMin<qsizetype>(text.size(), len)));
            break;
        }
        case Short:
            PX_put_data_short(doc_, data, 2, short(v.toInt()));
            break;
        case Long:
        case AutoInc:
            PX_put_data_long(doc_, data, 4, v.toInt());
            break;
        case Date:
            PX_put_data_long(doc_, data, 4, int(v.toDate().toJulianDay() - DateOffset));
            break;
        case Time:
            PX_put_data_long(doc_, data, 4, v.toTime().msecsSinceStartOfDay());
            break;
        case Number:
        case Currency:
            PX_put_data_double(doc_, data, 8, v.toDouble());
            break;
        case Timestamp: {
            const QDateTime dt = v.toDateTime();
            const double ms = double(dt.date().toJulianDay() - DateOffset) * 86400000.0 +
                              dt.time().msecsSinceStartOfDay();
            PX_put_data_double(doc_, data, 8, ms);
            break;
        }
        case Logical:
            data[0] = char(v.toBool() ? 0x81 : 0x80);
            break;
        case Memo:
        case FmtMemo:
        case Blob:
        case Ole:
        case Graphic: {
            QByteArray bytes = v.typeId() == QMetaType::QByteArray
                                   ? v.toByteArray()
                                   : QByteArray(encoder_.encode(v.toString()));
            if (!bytes.isEmpty())
                PX_put_data_blob(doc_, data, len, bytes.data(), int(bytes.size()));
            break;
        }
        default: {
            const QByteArray raw = v.toByteArray();
            std::memcpy(data, raw.constData(), size_t(qMin<qsizetype>(raw.size(), len)));
            break;
        }
        }
    }
    if (PX_put_record(doc_, record_.data()) < 0)
        throw ZelmoError(QStringLiteral("A(z) %1 táblába nem írható sor.").arg(path_));
}

void TableWriter::close()
{
    if (!doc_)
        return;
    PX_close(doc_);
    PX_delete(doc_);
    doc_ = nullptr;
    if (autoIncrement_ >= 0) {
        // pxlib has no setter for it; the header keeps it little-endian at 0x49.
        QFile db(path_);
        if (db.open(QIODevice::ReadWrite) && db.seek(0x49)) {
            const quint32 v = quint32(autoIncrement_);
            const char bytes[4] = {char(v & 0xff), char((v >> 8) & 0xff), char((v >> 16) & 0xff),
                                   char((v >> 24) & 0xff)};
            db.write(bytes, 4);
        }
    }
    // pxlib leaves the last block of the .MB file short; readers expect whole 4 KiB blocks.
    if (!blobPath_.isEmpty()) {
        QFile mb(blobPath_);
        if (mb.exists() && mb.size() % 4096 != 0)
            mb.resize((mb.size() / 4096 + 1) * 4096);
    }
}

QList<NewField> OldCassetteFields(int memoLength)
{
    return {{QStringLiteral("vk"), Long, 4},
            {QStringLiteral("azonosito"), Alpha, 10},
            {QStringLiteral("hossz"), Long, 4},
            {QStringLiteral("szabad"), Long, 4},
            {QStringLiteral("megjegyzes"), Memo, memoLength},
            {QStringLiteral("tipus"), Long, 4}};
}

QList<NewField> OldRecordingFields(int memoLength)
{
    return {{QStringLiteral("vk"), Long, 4},
            {QStringLiteral("felvetel"), Long, 4},
            {QStringLiteral("cim"), Alpha, 50},
            {QStringLiteral("hossz"), Long, 4},
            {QStringLiteral("minoseg"), Long, 4},
            {QStringLiteral("mufaj"), Long, 4},
            {QStringLiteral("szereplok"), Alpha, 255},
            {QStringLiteral("rendezte"), Alpha, 50},
            {QStringLiteral("datum"), Date, 4},
            {QStringLiteral("szamlalo_tol"), Time, 4},
            {QStringLiteral("szamlalo_ig"), Time, 4},
            {QStringLiteral("megjegyzes"), Memo, memoLength}};
}

QList<NewField> OldMasterFields()
{
    return {{QStringLiteral("az"), AutoInc, 4}, {QStringLiteral("nev"), Alpha, 25}};
}

} // namespace paradox
