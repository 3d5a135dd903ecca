#include "maintenance/paradoxchange.h"

#include "maintenance/tablerebuild.h"

#include "catalogue/data/database.h"
#include "catalogue/data/dberror.h"
#include "catalogue/data/field.h"
#include "catalogue/data/hungarian.h"
#include "catalogue/data/schema.h"

#include <QDateTime>
#include <QRegularExpression>

#include <sqlite3.h>

#include <cmath>
#include <limits>
#include <optional>

quint16 EngineTypeCode(ParadoxFieldKind kind)
{
    switch (kind) {
    case ParadoxFieldKind::String:
    case ParadoxFieldKind::WideString:
        return 1;
    case ParadoxFieldKind::SmallInt:
        return 0x105;
    case ParadoxFieldKind::Integer: // the engine's long integer, same width
        return 0x10B;
    case ParadoxFieldKind::LargeInt: // a 64-bit integer
        return 18;
    case ParadoxFieldKind::Word:
        return 12;
    case ParadoxFieldKind::Boolean:
        return 4;
    case ParadoxFieldKind::Float:
        return 7;
    case ParadoxFieldKind::Currency:
        return 0x103;
    case ParadoxFieldKind::Bcd:
        return 8;
    case ParadoxFieldKind::Date:
        return 2;
    case ParadoxFieldKind::Time:
        return 10;
    case ParadoxFieldKind::DateTime:
        return 0x10D;
    case ParadoxFieldKind::Bytes:
        return 9;
    case ParadoxFieldKind::VarBytes:
        return 15;
    case ParadoxFieldKind::AutoInc:
        return 0x10F;
    case ParadoxFieldKind::Blob:
        return 3;
    case ParadoxFieldKind::Memo:
        return 0x106;
    case ParadoxFieldKind::Graphic:
        return 0x10A;
    case ParadoxFieldKind::FmtMemo:
        return 0x108;
    case ParadoxFieldKind::ParadoxOle:
        return 0x109;
    case ParadoxFieldKind::TypedBinary:
        return 0x107;
    case ParadoxFieldKind::Cursor:
        return 17;
    case ParadoxFieldKind::FixedChar:
        return 0x101;
    case ParadoxFieldKind::Adt:
        return 20;
    case ParadoxFieldKind::Array:
        return 21;
    case ParadoxFieldKind::Reference:
        return 22;
    case ParadoxFieldKind::Unknown:
    case ParadoxFieldKind::DBaseOle:
    case ParadoxFieldKind::DataSet:
    case ParadoxFieldKind::OraBlob:
    case ParadoxFieldKind::OraClob:
    case ParadoxFieldKind::Variant:
    case ParadoxFieldKind::Guid:
        break;
    }
    return 0;
}

namespace {

// How a type code is declared in the store and how values are carried over.
struct StoreType
{
    const char* declared; // "CHAR" gets its size appended
    const char* conversion;
};

std::optional<StoreType> storeTypeFor(quint16 code)
{
    switch (code) {
    case 1:
    case 0x101:
        return StoreType{"CHAR", "TEXT"};
    case 0x105:
        return StoreType{"SMALLINT", "SMALLINT"};
    case 12:
        return StoreType{"INTEGER", "WORD"};
    case 0x10B:
    case 0x10F:
        return StoreType{"INTEGER", "INTEGER"};
    case 18:
        return StoreType{"INTEGER", "BIGINT"};
    case 4:
        return StoreType{"BOOLEAN", "BOOLEAN"};
    case 7:
        return StoreType{"FLOAT", "FLOAT"};
    case 0x103:
        return StoreType{"MONEY", "FLOAT"};
    case 8:
        return StoreType{"NUMERIC", "FLOAT"};
    case 2:
        return StoreType{"DATE", "DATE"};
    case 10:
        return StoreType{"TIME", "TIME"};
    case 0x10D:
        return StoreType{"TIMESTAMP", "TIMESTAMP"};
    case 0x106:
    case 0x108:
        return StoreType{"MEMO", "MEMO"};
    case 3:
    case 9:
    case 15:
    case 0x107:
    case 0x109:
    case 0x10A:
        return StoreType{"BLOB", "BLOB"};
    default: // cursors, ADTs, arrays, references: nothing a table column can hold
        return std::nullopt;
    }
}

// Alpha fields of the old tables hold at most 255 characters.
constexpr int MaxAlphaSize = 255;

QString textOf(sqlite3_value* v)
{
    return QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_value_text(v)),
                             sqlite3_value_bytes(v));
}

void resultText(sqlite3_context* ctx, const QString& s)
{
    const QByteArray u = s.toUtf8();
    sqlite3_result_text(ctx, u.constData(), int(u.size()), SQLITE_TRANSIENT);
}

std::optional<qint64> integerOf(sqlite3_value* v)
{
    switch (sqlite3_value_type(v)) {
    case SQLITE_INTEGER:
        return sqlite3_value_int64(v);
    case SQLITE_FLOAT: {
        const double d = sqlite3_value_double(v);
        if (!std::isfinite(d) || std::fabs(d) > 9.2e18)
            return std::nullopt;
        return qint64(std::llround(d));
    }
    case SQLITE_TEXT: {
        const QString t = textOf(v).trimmed();
        bool ok = false;
        const qint64 i = t.toLongLong(&ok);
        if (ok)
            return i;
        const double d = QString(t).replace(QLatin1Char(','), QLatin1Char('.')).toDouble(&ok);
        if (ok && std::isfinite(d) && std::fabs(d) <= 9.2e18)
            return qint64(std::llround(d));
        return std::nullopt;
    }
    default:
        return std::nullopt;
    }
}

std::optional<double> doubleOf(sqlite3_value* v)
{
    switch (sqlite3_value_type(v)) {
    case SQLITE_INTEGER:
    case SQLITE_FLOAT:
        return sqlite3_value_double(v);
    case SQLITE_TEXT: {
        bool ok = false;
        const double d =
            textOf(v).trimmed().replace(QLatin1Char(','), QLatin1Char('.')).toDouble(&ok);
        return ok ? std::optional<double>(d) : std::nullopt;
    }
    default:
        return std::nullopt;
    }
}

QTime timeOf(const QString& text)
{
    for (const char* f : {"HH:mm:ss.zzz", "HH:mm:ss", "H:mm:ss", "HH:mm", "H:mm"}) {
        const QTime t = QTime::fromString(text, QLatin1String(f));
        if (t.isValid())
            return t;
    }
    return QTime();
}

QString timeText(const QTime& t)
{
    return t.toString(t.msec() ? QStringLiteral("HH:mm:ss.zzz") : QStringLiteral("HH:mm:ss"));
}

// zelmo_convert_field(value, conversion, size): the value as the changed field
// holds it. What cannot be converted becomes empty, as a restructure without a
// problem table leaves it.
void convertField(sqlite3_context* ctx, int, sqlite3_value** argv)
{
    sqlite3_value* v = argv[0];
    const QByteArray kind(reinterpret_cast<const char*>(sqlite3_value_text(argv[1])));
    const int size = sqlite3_value_int(argv[2]);
    const int type = sqlite3_value_type(v);
    if (type == SQLITE_NULL || kind == "SAME") {
        sqlite3_result_value(ctx, v);
        return;
    }
    if (kind == "TEXT" || kind == "MEMO") {
        if (type == SQLITE_BLOB)
            return sqlite3_result_null(ctx);
        QString s = textOf(v);
        if (kind == "TEXT" && size > 0 && s.size() > size) {
            s.truncate(size);
            if (s.back().isHighSurrogate())
                s.chop(1);
        }
        return resultText(ctx, s);
    }
    if (kind == "INTEGER" || kind == "BIGINT" || kind == "SMALLINT" || kind == "WORD" ||
        kind == "BOOLEAN") {
        const std::optional<qint64> i = integerOf(v);
        if (!i)
            return sqlite3_result_null(ctx);
        qint64 lo = std::numeric_limits<qint64>::min(), hi = std::numeric_limits<qint64>::max();
        if (kind == "INTEGER")
            lo = std::numeric_limits<qint32>::min(), hi = std::numeric_limits<qint32>::max();
        else if (kind == "SMALLINT")
            lo = -32768, hi = 32767;
        else if (kind == "WORD")
            lo = 0, hi = 65535;
        if (kind == "BOOLEAN")
            return sqlite3_result_int(ctx, *i != 0 ? 1 : 0);
        if (*i < lo || *i > hi)
            return sqlite3_result_null(ctx);
        return sqlite3_result_int64(ctx, *i);
    }
    if (kind == "FLOAT") {
        const std::optional<double> d = doubleOf(v);
        return d ? sqlite3_result_double(ctx, *d) : sqlite3_result_null(ctx);
    }
    if (kind == "DATE" || kind == "TIME" || kind == "TIMESTAMP") {
        if (type != SQLITE_TEXT)
            return sqlite3_result_null(ctx);
        const QString s = textOf(v).trimmed();
        const QDate d = QDate::fromString(s.left(10), Qt::ISODate);
        const qsizetype gap = s.indexOf(QRegularExpression(QStringLiteral("[ T]")));
        const QTime t = timeOf(gap >= 0 ? s.mid(gap + 1) : s);
        if (kind == "DATE")
            return d.isValid() ? resultText(ctx, d.toString(Qt::ISODate))
                               : sqlite3_result_null(ctx);
        if (kind == "TIME")
            return t.isValid() && (gap >= 0 || !d.isValid()) ? resultText(ctx, timeText(t))
                                                             : sqlite3_result_null(ctx);
        if (!d.isValid())
            return sqlite3_result_null(ctx);
        return resultText(ctx, d.toString(Qt::ISODate) + QLatin1Char(' ') +
                                   timeText(t.isValid() ? t : QTime(0, 0)));
    }
    if (kind == "BLOB") {
        if (type == SQLITE_BLOB || type == SQLITE_TEXT)
            return sqlite3_result_blob(ctx, sqlite3_value_blob(v), sqlite3_value_bytes(v),
                                       SQLITE_TRANSIENT);
        return sqlite3_result_null(ctx);
    }
    sqlite3_result_value(ctx, v);
}

bool isCharType(const QString& declared, int* size)
{
    return Field::kindFromDeclType(declared, size) == FieldKind::Alpha;
}

} // namespace

void TParadoxChange::ChangeType(const QString& field, ParadoxFieldKind kind)
{
    FieldChangeRequest request;
    request.type = EngineTypeCode(kind);
    request.subType = request.type;
    change(field, request);
}

void TParadoxChange::ChangeSize(const QString& field, qint16 size)
{
    if (size < 0)
        throw DbError(
            QStringLiteral("A(z) %1 mező mérete nem lehet negatív (%2).").arg(field).arg(size));
    FieldChangeRequest request;
    request.length = quint16(size);
    change(field, request);
}

void TParadoxChange::change(const QString& field, const FieldChangeRequest& request)
{
    if (!database_ || !database_->isOpen())
        throw DbError(QStringLiteral("Az adatbázis nincs megnyitva."));
    sqlite3* db = database_->handle();
    const QString table = schema::normaliseTableName(tableName_);
    const rebuild::Definition old = rebuild::read(db, table);
    const int col = old.indexOf(field);
    if (col < 0)
        throw DbError(
            QStringLiteral("A(z) %1 mező nem található a(z) %2 táblában.").arg(field, tableName_));

    rebuild::Definition target = old;
    rebuild::Column& column = target.columns[col];
    int oldSize = 0;
    const bool wasChar = isCharType(old.columns.at(col).type, &oldSize);
    QString base;
    QString conversion;
    if (request.type == 0) {
        base = wasChar ? QStringLiteral("CHAR") : QString();
        conversion = wasChar ? QStringLiteral("TEXT") : QStringLiteral("SAME");
    } else {
        const std::optional<StoreType> t = storeTypeFor(request.type);
        if (!t)
            throw DbError(QStringLiteral("A(z) %1 mező nem alakítható át a kért típusúra (%2).")
                              .arg(field)
                              .arg(request.type));
        base = QLatin1String(t->declared);
        conversion = QLatin1String(t->conversion);
        if (request.type == 0x10F) {
            // The store numbers rows by itself only for a table's single key.
            if (old.primaryKey.size() != 1 ||
                old.primaryKey.first().compare(field, Qt::CaseInsensitive) != 0)
                throw DbError(
                    QStringLiteral(
                        "A(z) %1 mező csak a tábla egyetlen kulcsmezőjeként lehet számláló.")
                        .arg(field));
            target.autoIncrement = true;
        }
    }

    int size = 0;
    if (base == QLatin1String("CHAR")) {
        size = request.length > 0 ? int(request.length) : (wasChar ? oldSize : MaxAlphaSize);
        if (size < 1 || size > MaxAlphaSize)
            throw DbError(QStringLiteral("A(z) %1 mező mérete 1 és %2 között lehet (%3).")
                              .arg(field)
                              .arg(MaxAlphaSize)
                              .arg(size));
        column.type = QStringLiteral("CHAR(%1)").arg(size);
    } else if (!base.isEmpty()) {
        column.type = base;
    }
    // Text columns sort and index with the Hungarian collation, like every
    // text column of the store; other columns have no use for it.
    if (rebuild::isTextType(column.type)) {
        if (column.collation.isEmpty() || !rebuild::isTextType(old.columns.at(col).type))
            column.collation = QLatin1String(hungarian::CollationName);
    } else {
        column.collation.clear();
    }

    QStringList select;
    for (qsizetype i = 0; i < target.columns.size(); ++i) {
        const QString name = rebuild::quoteId(old.columns.at(i).name);
        select << (i == col ? QStringLiteral("zelmo_convert_field(%1, '%2', %3)")
                                  .arg(name, conversion)
                                  .arg(size)
                            : name);
    }

    const int rc =
        sqlite3_create_function_v2(db, "zelmo_convert_field", 3, SQLITE_UTF8 | SQLITE_DETERMINISTIC,
                                   nullptr, &convertField, nullptr, nullptr, nullptr);
    if (rc != SQLITE_OK)
        throw DbError(QString::fromUtf8(sqlite3_errmsg(db)));
    Transaction transaction(*database_);
    rebuild::replace(db, old, target, select, true);
    transaction.commit();
    database_->notifyChanges(nullptr);
}
