#pragma once

#include <QList>
#include <QString>
#include <QStringList>

struct sqlite3;

// A store table's definition as far as a rebuild must keep it, and the rebuild
// itself: SQLite cannot change a column's type or a table's key in place, so
// the table is made anew beside the old one and takes its place.
namespace rebuild {

struct Column
{
    QString name;
    QString type;      // declared type, "CHAR(25)"
    QString collation; // empty or "BINARY" for the default
    bool notNull = false;
    QString defaultSql; // the DEFAULT expression as written, or empty
};

struct Definition
{
    QString name;
    QList<Column> columns;
    QStringList primaryKey;
    bool autoIncrement = false;
    bool withoutRowid = false;

    // Position of the column, without regard to case; -1 when there is none.
    int indexOf(const QString& column) const;
    // The single INTEGER key column that is the row id itself, or -1.
    int rowidColumn() const;
};

QString quoteId(const QString& name);

// True for the declared types of text columns (CHAR(n), MEMO and their kin),
// which sort and index with the store's collation.
bool isTextType(const QString& declaredType);

// Throws DbError when the store has no such table.
Definition read(sqlite3* db, const QString& table);

// CREATE TABLE for the definition under another name.
QString createSql(const Definition& def, const QString& name);

// Replaces table `old` by a table of definition `target` with the same name.
// `select` holds one SQL expression per target column, read over a row of the
// old table. Row ids and the auto-increment counter are kept; the table's
// indexes and triggers are made again when `keepIndexes` is true. Runs inside
// the caller's transaction: on an exception the caller rolls back, and the old
// table is back as it was.
void replace(sqlite3* db, const Definition& old, const Definition& target,
             const QStringList& select, bool keepIndexes);

} // namespace rebuild
