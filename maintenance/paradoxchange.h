#pragma once

#include <QString>
#include <QtGlobal>

class Database;

// The kinds of field a caller may ask a field to become.
enum class ParadoxFieldKind
{
    Unknown,
    String,
    WideString,
    SmallInt,
    Integer,
    LargeInt,
    Word,
    Boolean,
    Float,
    Currency,
    Bcd,
    Date,
    Time,
    DateTime,
    Bytes,
    VarBytes,
    AutoInc,
    Blob,
    Memo,
    Graphic,
    FmtMemo,
    ParadoxOle,
    DBaseOle,
    TypedBinary,
    Cursor,
    FixedChar,
    Adt,
    Array,
    Reference,
    DataSet,
    OraBlob,
    OraClob,
    Variant,
    Guid,
};

// The table engine's type code of a kind; 0 means "keep the field's type".
quint16 EngineTypeCode(ParadoxFieldKind kind);

// What one change asks of a field; a zero part leaves that property as it is.
struct FieldChangeRequest
{
    quint16 type = 0;
    quint16 subType = 0;
    quint16 length = 0;
    quint8 precision = 0;
};

// Changes the definition of one field of a store table in place: its type or
// its size. Every other field, the order of the fields, the indexes and all
// rows stay; the changed field's values are converted (text is cut to a new,
// smaller size). Each change rewrites the table in one transaction, so a
// failure leaves the table exactly as it was.
//
// The caller keeps the store open exclusively and has no table of its own open
// on it. Failures are DbError: an unknown field is reported before anything
// changes.
class TParadoxChange
{
public:
    explicit TParadoxChange(Database* database = nullptr) : database_(database) {}

    void setDatabase(Database* database) { database_ = database; }
    Database* database() const { return database_; }
    // The table's file name as the old folder knew it ("vk.DB"); "vk" works too.
    void setTableName(const QString& name) { tableName_ = name; }
    QString tableName() const { return tableName_; }

    void ChangeType(const QString& field, ParadoxFieldKind kind);
    void ChangeSize(const QString& field, qint16 size);

private:
    void change(const QString& field, const FieldChangeRequest& request);

    Database* database_ = nullptr;
    QString tableName_;
};
