#include "catalogue/data/sqlite.h"

#include <QDate>
#include <QTime>
#include <sqlite3.h>

namespace sqlite {

QString errorText(sqlite3* db, int rc)
{
    const QString raw = db ? QString::fromUtf8(sqlite3_errmsg(db)) : QString::fromUtf8(sqlite3_errstr(rc));
    const int ext = db ? sqlite3_extended_errcode(db) : rc;
    switch (ext) {
    case SQLITE_CONSTRAINT_PRIMARYKEY:
    case SQLITE_CONSTRAINT_UNIQUE:
        return QStringLiteral("Kulcs megsértése: ilyen kulcsú sor már létezik.\n") + raw;
    case SQLITE_CONSTRAINT_NOTNULL:
        return QStringLiteral("A kulcsmező nem maradhat üresen.\n") + raw;
    default:
        break;
    }
    switch (rc & 0xff) {
    case SQLITE_BUSY:
    case SQLITE_LOCKED:
        return QStringLiteral("Az adatbázist egy másik program használja.\n") + raw;
    case SQLITE_READONLY:
        return QStringLiteral("Az adatbázis csak olvasható.\n") + raw;
    case SQLITE_FULL:
        return QStringLiteral("Betelt a lemez.\n") + raw;
    case SQLITE_NOTADB:
    case SQLITE_CORRUPT:
        return QStringLiteral("Az adatbázis fájl sérült vagy nem adatbázis.\n") + raw;
    default:
        return raw;
    }
}

Statement::Statement(sqlite3* db, const QString& sql) : db_(db)
{
    const QByteArray utf8 = sql.toUtf8();
    const int rc = sqlite3_prepare_v2(db, utf8.constData(), int(utf8.size()), &stmt_, nullptr);
    if (rc != SQLITE_OK)
        throw DbError(errorText(db, rc));
}

Statement::Statement(sqlite3* db, const QByteArray& sql, int offset, int* tail) : db_(db)
{
    const char* start = sql.constData() + offset;
    const char* rest = nullptr;
    const int rc = sqlite3_prepare_v2(db, start, int(sql.size() - offset), &stmt_, &rest);
    if (rc != SQLITE_OK)
        throw DbError(errorText(db, rc));
    if (tail)
        *tail = rest ? int(rest - sql.constData()) : int(sql.size());
}

Statement::~Statement()
{
    if (stmt_)
        sqlite3_finalize(stmt_);
}

Statement::Statement(Statement&& other) noexcept : db_(other.db_), stmt_(other.stmt_)
{
    other.stmt_ = nullptr;
}

Statement& Statement::operator=(Statement&& other) noexcept
{
    if (this != &other) {
        if (stmt_)
            sqlite3_finalize(stmt_);
        db_ = other.db_;
        stmt_ = other.stmt_;
        other.stmt_ = nullptr;
    }
    return *this;
}

void Statement::bind(int index, const QVariant& value)
{
    int rc = SQLITE_OK;
    if (value.isNull()) {
        rc = sqlite3_bind_null(stmt_, index);
    } else {
        switch (value.typeId()) {
        case QMetaType::Bool:
        case QMetaType::Int:
        case QMetaType::UInt:
        case QMetaType::Long:
        case QMetaType::LongLong:
        case QMetaType::Short:
        case QMetaType::UShort:
        case QMetaType::ULongLong:
            rc = sqlite3_bind_int64(stmt_, index, value.toLongLong());
            break;
        case QMetaType::Double:
        case QMetaType::Float:
            rc = sqlite3_bind_double(stmt_, index, value.toDouble());
            break;
        case QMetaType::QDate: {
            const QByteArray t = value.toDate().toString(Qt::ISODate).toUtf8();
            rc = sqlite3_bind_text(stmt_, index, t.constData(), int(t.size()), SQLITE_TRANSIENT);
            break;
        }
        case QMetaType::QTime: {
            const QByteArray t = value.toTime().toString(QStringLiteral("HH:mm:ss")).toUtf8();
            rc = sqlite3_bind_text(stmt_, index, t.constData(), int(t.size()), SQLITE_TRANSIENT);
            break;
        }
        case QMetaType::QByteArray: {
            const QByteArray b = value.toByteArray();
            rc = sqlite3_bind_blob(stmt_, index, b.constData(), int(b.size()), SQLITE_TRANSIENT);
            break;
        }
        default: {
            const QByteArray t = value.toString().toUtf8();
            rc = sqlite3_bind_text(stmt_, index, t.constData(), int(t.size()), SQLITE_TRANSIENT);
            break;
        }
        }
    }
    if (rc != SQLITE_OK)
        throw DbError(errorText(db_, rc));
}

bool Statement::bind(const QString& name, const QVariant& value)
{
    QString wanted = name.startsWith(QLatin1Char(':')) ? name.mid(1) : name;
    bool found = false;
    const int n = sqlite3_bind_parameter_count(stmt_);
    for (int i = 1; i <= n; ++i) {
        const char* p = sqlite3_bind_parameter_name(stmt_, i);
        if (!p || !*p)
            continue;
        const QString pname = QString::fromUtf8(p + 1);
        if (pname.compare(wanted, Qt::CaseInsensitive) == 0) {
            bind(i, value);
            found = true;
        }
    }
    return found;
}

void Statement::reset()
{
    sqlite3_reset(stmt_);
    sqlite3_clear_bindings(stmt_);
}

bool Statement::step()
{
    const int rc = sqlite3_step(stmt_);
    if (rc == SQLITE_ROW)
        return true;
    if (rc == SQLITE_DONE)
        return false;
    const QString msg = errorText(db_, rc);
    sqlite3_reset(stmt_);
    throw DbError(msg);
}

int Statement::columnCount() const { return sqlite3_column_count(stmt_); }

QString Statement::columnName(int i) const
{
    return QString::fromUtf8(sqlite3_column_name(stmt_, i));
}

QString Statement::columnDeclType(int i) const
{
    const char* t = sqlite3_column_decltype(stmt_, i);
    return t ? QString::fromUtf8(t) : QString();
}

int Statement::columnType(int i) const { return sqlite3_column_type(stmt_, i); }

qint64 Statement::int64(int i) const { return sqlite3_column_int64(stmt_, i); }

QVariant Statement::value(int i) const
{
    switch (sqlite3_column_type(stmt_, i)) {
    case SQLITE_INTEGER: {
        const qint64 v = sqlite3_column_int64(stmt_, i);
        if (v >= std::numeric_limits<int>::min() && v <= std::numeric_limits<int>::max())
            return QVariant(int(v));
        return QVariant(v);
    }
    case SQLITE_FLOAT:
        return QVariant(sqlite3_column_double(stmt_, i));
    case SQLITE_TEXT: {
        const auto* p = reinterpret_cast<const char*>(sqlite3_column_text(stmt_, i));
        return QVariant(QString::fromUtf8(p, sqlite3_column_bytes(stmt_, i)));
    }
    case SQLITE_BLOB: {
        const auto* p = static_cast<const char*>(sqlite3_column_blob(stmt_, i));
        return QVariant(QByteArray(p, sqlite3_column_bytes(stmt_, i)));
    }
    default:
        return QVariant();
    }
}

int Statement::changes() const { return sqlite3_changes(db_); }

QString Statement::sql() const { return QString::fromUtf8(sqlite3_sql(stmt_)); }

void exec(sqlite3* db, const QString& sql)
{
    char* err = nullptr;
    const int rc = sqlite3_exec(db, sql.toUtf8().constData(), nullptr, nullptr, &err);
    if (rc != SQLITE_OK) {
        QString msg = err ? QString::fromUtf8(err) : errorText(db, rc);
        sqlite3_free(err);
        if (rc == SQLITE_CONSTRAINT || (rc & 0xff) == SQLITE_BUSY)
            msg = errorText(db, rc);
        throw DbError(msg);
    }
}

} // namespace sqlite
