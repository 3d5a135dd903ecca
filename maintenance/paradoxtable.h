#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringDecoder>
#include <QVariant>

#include <cstdio>
#include <memory>

class QFile;

struct px_doc;

// Read-only access to the table files of an old data folder. The tables are
// read with pxlib; their memo and blob data come from the .MB file through the
// small reader below, because pxlib's own blob reading is broken in the
// version the system ships.
namespace paradox {

// Field types as a table file records them.
enum FieldType : int
{
    Alpha = 0x01,
    Date = 0x02,
    Short = 0x03,
    Long = 0x04,
    Currency = 0x05,
    Number = 0x06,
    Logical = 0x09,
    Memo = 0x0C,
    Blob = 0x0D,
    FmtMemo = 0x0E,
    Ole = 0x0F,
    Graphic = 0x10,
    Time = 0x14,
    Timestamp = 0x15,
    AutoInc = 0x16,
    Bcd = 0x17,
    Bytes = 0x18,
};

struct FieldInfo
{
    QString name;
    int type = 0;
    int length = 0; // bytes in the record; for Alpha the number of characters
};

// The day count of a Date field: 0001-01-01 is day 1.
constexpr qint64 DateOffset = 1721425;

// The memo and blob data that a table keeps in its .MB file. The file is
// read whole: one catalogue's remarks and pictures are a few megabytes.
class BlobFile
{
public:
    BlobFile() = default;
    // Throws ZelmoError naming the file when it cannot be read.
    explicit BlobFile(const QString& path);

    bool isOpen() const { return !path_.isEmpty(); }
    QString path() const { return path_; }

    // The bytes that a memo or blob field of `length` bytes points to. The
    // field ends with a 10-byte pointer (offset with a slot number, size,
    // modification number); data that fits in the bytes before it lies in the
    // record alone. Throws ZelmoError naming the file when the pointer leads
    // nowhere sensible.
    QByteArray read(const char* field, int length) const;

private:
    [[noreturn]] void damaged(const QString& why) const;

    QString path_;
    QByteArray data_;
};

// One table file opened for reading. The file itself is never written.
class TableReader
{
public:
    // Throws ZelmoError naming the file when it is missing, unreadable or damaged.
    explicit TableReader(const QString& path);
    ~TableReader();
    TableReader(const TableReader&) = delete;
    TableReader& operator=(const TableReader&) = delete;

    QString path() const { return path_; }
    QString fileName() const;
    const QList<FieldInfo>& fields() const { return fields_; }
    int recordCount() const { return recordCount_; }
    // The primary key is made of this many leading fields.
    int primaryKeyFields() const { return primaryKeyFields_; }
    // The last number the table's auto-increment field handed out.
    int autoIncrement() const { return autoIncrement_; }
    int codePage() const { return codePage_; }

    // The values of record `index` (from 0), one per field, null where the field
    // is empty: int for the integer types, double, QString for text, QDate,
    // QTime, QDateTime, and QByteArray for blobs and bytes.
    QVariantList record(int index);

private:
    void open();
    void release();
    QVariant decode(const char* data, const FieldInfo& field);
    QString text(const char* bytes, qsizetype size);
    const BlobFile& blobFile();
    [[noreturn]] void fail(const QString& why) const;

    QString path_;
    std::unique_ptr<QFile> mapped_;
    std::FILE* file_ = nullptr;
    px_doc* doc_ = nullptr;
    QString lastError_;
    QList<FieldInfo> fields_;
    QList<int> offsets_;
    QByteArray buffer_;
    int recordCount_ = 0;
    int primaryKeyFields_ = 0;
    int autoIncrement_ = 0;
    int codePage_ = 0;
    QStringDecoder decoder_;
    BlobFile blobs_;
    bool blobsLooked_ = false;
};

// The name of the .MB file beside a table file, found without regard to case;
// empty text when there is none.
QString blobFileFor(const QString& tablePath);

} // namespace paradox
