#pragma once

#include "catalogue/data/dberror.h"

#include <QString>
#include <QVariant>

struct sqlite3;
struct sqlite3_stmt;

namespace sqlite {

// The text of the last error on the connection, with Hungarian words for the
// failures a user can cause (duplicate key, empty key, locked file).
QString errorText(sqlite3* db, int rc);

// A prepared statement that finalizes itself.
class Statement
{
public:
    Statement() = default;
    Statement(sqlite3* db, const QString& sql);
    // Prepares the first statement of `sql`; `tail` receives the rest (for scripts).
    Statement(sqlite3* db, const QByteArray& sql, int offset, int* tail);
    ~Statement();
    Statement(Statement&& other) noexcept;
    Statement& operator=(Statement&& other) noexcept;
    Statement(const Statement&) = delete;
    Statement& operator=(const Statement&) = delete;

    bool isNull() const { return stmt_ == nullptr; }
    sqlite3_stmt* handle() const { return stmt_; }

    void bind(int index, const QVariant& value);
    // Binds by name without regard to case and with or without the colon;
    // returns false when the statement has no such parameter.
    bool bind(const QString& name, const QVariant& value);
    void reset();
    // Steps once; true while a row is available. Throws on error.
    bool step();

    int columnCount() const;
    QString columnName(int i) const;
    QString columnDeclType(int i) const;
    int columnType(int i) const;
    qint64 int64(int i) const;
    QVariant value(int i) const; // the natural type of the stored value
    int changes() const;
    QString sql() const;

private:
    sqlite3* db_ = nullptr;
    sqlite3_stmt* stmt_ = nullptr;
};

// Runs statements that return no rows and take no parameters.
void exec(sqlite3* db, const QString& sql);

} // namespace sqlite
