#pragma once

#include <QString>
#include <QVariant>

enum class FieldKind
{
    Integer,  // Long Integer
    AutoInc,  // Autoincrement: assigned by the store on insert
    Alpha,    // text of at most `size` characters
    Memo,     // text of any length
    Date,
    Time,
    Float,
    Blob,
};

// One field of a table or query result: what it holds and how it is shown.
struct Field
{
    enum class Source
    {
        Stored,     // a column of the table or query
        Lookup,     // a name looked up by key in another table
        Calculated, // computed from the row when it is read
    };

    QString name;
    FieldKind kind = FieldKind::Alpha;
    int size = 0; // characters, for Alpha
    QString displayLabel;
    QString displayFormat; // "00000", "hh:mm", "yyyy.mm.dd"
    Source source = Source::Stored;
    bool visible = true;

    bool isText() const { return kind == FieldKind::Alpha || kind == FieldKind::Memo; }
    bool isNumber() const
    {
        return kind == FieldKind::Integer || kind == FieldKind::AutoInc || kind == FieldKind::Float;
    }
    bool isStored() const { return source == Source::Stored; }
    // Numbers stand at the right of a column, everything else at the left.
    Qt::Alignment alignment() const { return isNumber() ? Qt::AlignRight : Qt::AlignLeft; }

    // The text a grid shows for a value of this field. Null shows as empty text.
    QString displayText(const QVariant& value) const;

    // Converts a value for writing into this field: text is cut to the field's
    // size, numbers, dates and times are parsed from text. Empty text is null for
    // every kind but text. Throws DbError when the value cannot be converted.
    QVariant coerce(const QVariant& value) const;

    // Converts a value read from the store into this field's type.
    QVariant fromStore(const QVariant& stored) const;
    // The same for a text value as the store holds it, without a string in between.
    QVariant fromStoreText(const char* utf8, int bytes) const;

    // Reads a field kind and size from a declared column type ("CHAR(25)").
    static FieldKind kindFromDeclType(const QString& declType, int* size);
};

// Formats with the program's display patterns: zeros for numbers ("00000"),
// "yyyy.mm.dd" for dates and "hh:mm" for times (mm after an hour means minutes).
QString formatValue(const QVariant& value, FieldKind kind, const QString& format);
