#include "catalogue/data/query.h"

#include "catalogue/data/database.h"

#include <sqlite3.h>

namespace {
constexpr int FetchBlock = 256;
}

Query::Query(Database& db, QObject* parent) : DataSet(db, parent)
{
    connect(&db_, &Database::aboutToClose, this, &Query::close);
}

Query::Query(Database& db, const QString& sql, QObject* parent) : Query(db, parent) { setSql(sql); }

void Query::setSql(const QString& sql)
{
    if (isActive())
        close();
    sql_ = sql;
}

void Query::setParam(const QString& name, const QVariant& value)
{
    QString n = name.startsWith(QLatin1Char(':')) ? name.mid(1) : name;
    params_.insert(n.toLower(), value);
}

void Query::setFieldLook(const QString& name, const QString& label, const QString& format)
{
    looks_.insert(name.toLower(), {label, format});
    const int i = fieldIndex(name);
    if (i >= 0) {
        fields_[i].displayLabel = label;
        fields_[i].displayFormat = format;
    }
}

void Query::setFieldOrder(const QStringList& names)
{
    order_ = names;
}

void Query::arrangeFields()
{
    fieldOfColumn_.resize(fields_.size());
    for (int c = 0; c < fields_.size(); ++c)
        fieldOfColumn_[c] = c;
    if (order_.isEmpty())
        return;
    QList<int> columns; // columns in field order
    for (const QString& name : order_)
        for (int c = 0; c < fields_.size(); ++c)
            if (!columns.contains(c) && fields_.at(c).name.compare(name, Qt::CaseInsensitive) == 0) {
                columns << c;
                break;
            }
    for (int c = 0; c < fields_.size(); ++c)
        if (!columns.contains(c))
            columns << c;
    QList<Field> arranged;
    QList<bool> known;
    for (int i = 0; i < columns.size(); ++i) {
        arranged << fields_.at(columns.at(i));
        known << kindKnown_.at(columns.at(i));
        fieldOfColumn_[columns.at(i)] = i;
    }
    fields_ = arranged;
    kindKnown_ = known;
}

void Query::bindParams(sqlite::Statement& st) const
{
    for (auto it = params_.constBegin(); it != params_.constEnd(); ++it)
        st.bind(it.key(), it.value());
}

void Query::open()
{
    if (isActive())
        return;
    if (sql_.trimmed().isEmpty())
        throw DbError(QStringLiteral("A lekérdezés szövege üres."));
    sqlite::Statement st(db_.handle(), sql_);
    if (st.isNull())
        throw DbError(QStringLiteral("A lekérdezés szövege üres."));
    if (st.columnCount() == 0)
        throw DbError(QStringLiteral("A lekérdezés nem ad vissza sorokat."));
    bindParams(st);
    fields_.clear();
    kindKnown_.clear();
    for (int i = 0; i < st.columnCount(); ++i) {
        Field f;
        f.name = st.columnName(i);
        f.displayLabel = f.name;
        const QString decl = st.columnDeclType(i);
        kindKnown_.append(!decl.isEmpty());
        if (!decl.isEmpty())
            f.kind = Field::kindFromDeclType(decl, &f.size);
        const auto look = looks_.constFind(f.name.toLower());
        if (look != looks_.constEnd()) {
            f.displayLabel = look->first;
            f.displayFormat = look->second;
        }
        fields_.append(f);
    }
    arrangeFields();
    shared_ = QList<Shared>(fields_.size());
    stmt_ = std::move(st);
    rows_.clear();
    done_ = false;
    Q_EMIT aboutToReset();
    state_ = State::Browse;
    try {
        hasRow(FetchBlock - 1);
    } catch (...) {
        state_ = State::Inactive;
        stmt_ = {};
        done_ = true;
        Q_EMIT reset();
        throw;
    }
    current_ = rows_.isEmpty() ? -1 : 0;
    bof_ = true;
    eof_ = rows_.isEmpty();
    Q_EMIT reset();
    Q_EMIT afterOpen();
    if (current_ >= 0) {
        Q_EMIT currentRowChanged(current_);
        Q_EMIT afterScroll();
    }
}

void Query::close()
{
    if (!isActive())
        return;
    Q_EMIT aboutToReset();
    state_ = State::Inactive;
    stmt_ = {};
    rows_.clear();
    done_ = true;
    current_ = -1;
    bof_ = eof_ = true;
    Q_EMIT reset();
}

bool Query::fetchRow()
{
    if (done_)
        return false;
    if (!stmt_.step()) {
        done_ = true;
        stmt_ = {};
        return false;
    }
    Row row(fields_.size());
    sqlite3_stmt* st = stmt_.handle();
    for (int c = 0; c < fields_.size(); ++c) {
        const int i = fieldOfColumn_.at(c);
        const int type = sqlite3_column_type(st, c);
        if (type == SQLITE_NULL)
            continue;
        if (!kindKnown_.at(i)) {
            // Expressions carry no declared type: the first value tells.
            switch (type) {
            case SQLITE_INTEGER:
                fields_[i].kind = FieldKind::Integer;
                break;
            case SQLITE_FLOAT:
                fields_[i].kind = FieldKind::Float;
                break;
            case SQLITE_BLOB:
                fields_[i].kind = FieldKind::Blob;
                break;
            default:
                // Text of any length, but text: exports write it, not "BLOB".
                fields_[i].kind = FieldKind::Alpha;
                break;
            }
            kindKnown_[i] = true;
        }
        if (type == SQLITE_TEXT) {
            const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(st, c));
            const int bytes = sqlite3_column_bytes(st, c);
            row[i] = fields_.at(i).isText() ? sharedText(i, text, bytes) : fields_.at(i).fromStoreText(text, bytes);
        }
        else
            row[i] = fields_.at(i).fromStore(stmt_.value(c));
    }
    rows_.append(row);
    return true;
}

void Query::tellAppended(qsizetype before)
{
    // While opening, the reset that follows tells the models.
    if (rows_.size() > before && isActive())
        Q_EMIT rowsAppended();
}

QVariant Query::sharedText(int field, const char* utf8, int bytes)
{
    // Names looked up from the master tables repeat on thousands of rows: one
    // copy each keeps a long result small. A field whose values do not repeat
    // soon stops being looked up.
    constexpr int MaxDistinct = 2048;
    Shared& s = shared_[field];
    if (s.off)
        return QVariant(QString::fromUtf8(utf8, bytes));
    const auto it = s.texts.constFind(QByteArray::fromRawData(utf8, bytes));
    if (it != s.texts.constEnd())
        return *it;
    const QVariant v(QString::fromUtf8(utf8, bytes));
    if (s.texts.size() >= MaxDistinct) {
        s.off = true;
        s.texts.clear();
    } else {
        s.texts.insert(QByteArray(utf8, bytes), v);
    }
    return v;
}

bool Query::hasRow(int row)
{
    if (row < 0 || !isActive())
        return false;
    const qsizetype before = rows_.size();
    while (row >= rows_.size() && fetchRow()) {
    }
    tellAppended(before);
    return row < rows_.size();
}

void Query::fetchMore()
{
    hasRow(int(rows_.size()) + FetchBlock - 1);
}

int Query::recordCount()
{
    if (!isActive())
        return 0;
    const qsizetype before = rows_.size();
    while (fetchRow()) {
    }
    tellAppended(before);
    return int(rows_.size());
}

Row Query::rowAt(int row)
{
    requireActive();
    if (!hasRow(row))
        return Row(fields_.size());
    return rows_.at(row);
}

int Query::execSql()
{
    if (isActive())
        close();
    const QByteArray text = sql_.toUtf8();
    int offset = 0;
    int changed = 0;
    try {
        while (offset < text.size()) {
            int tail = int(text.size());
            sqlite::Statement st(db_.handle(), text, offset, &tail);
            offset = tail;
            if (st.isNull())
                continue;
            bindParams(st);
            while (st.step()) {
            }
            changed += sqlite3_changes(db_.handle());
        }
    } catch (...) {
        db_.notifyChanges(nullptr);
        throw;
    }
    db_.notifyChanges(this);
    return changed;
}
