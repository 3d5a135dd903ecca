#include "catalogue/data/table.h"

#include "catalogue/data/hungarian.h"
#include "catalogue/data/schema.h"

#include <QRegularExpression>
#include <sqlite3.h>

namespace {

constexpr int CacheLimit = 4096;
constexpr int ReadAhead = 40;

QString quoted(const QString& name) { return QLatin1Char('"') + name + QLatin1Char('"'); }

} // namespace

Table::Table(Database& db, const QString& tableName, QObject* parent) : DataSet(db, parent)
{
    if (!tableName.isEmpty())
        setTableName(tableName);
    connect(&db_, &Database::tablesChanged, this, &Table::onTablesChanged);
    connect(&db_, &Database::aboutToClose, this, &Table::close);
}

Table::~Table() = default;

void Table::setTableName(const QString& name)
{
    if (isActive())
        throw DbError(QStringLiteral("Megnyitott tábla neve nem változtatható."));
    tableName_ = schema::normaliseTableName(name);
}

void Table::open()
{
    if (isActive())
        return;
    structure_ = db_.structure(tableName_);
    if (!orderBy_.isEmpty() && !canOrderBy(orderBy_))
        throw DbError(QStringLiteral("A(z) %1 tábla nem rendezhető a(z) %2 mező szerint, mert nincs rá index.")
                          .arg(tableName_, orderBy_));
    buildFields();
    if (!filterField_.isEmpty())
        filterValue_ = fieldByName(filterField_).coerce(filterValue_);
    prepareStatements();
    cache_.clear();
    Q_EMIT aboutToReset();
    loadKeys();
    state_ = State::Browse;
    current_ = keys_.empty() ? -1 : 0;
    bof_ = true;
    eof_ = keys_.empty();
    Q_EMIT reset();
    Q_EMIT afterOpen();
    // Opening an empty table moves nowhere, so nothing follows a scroll.
    if (current_ >= 0) {
        Q_EMIT currentRowChanged(current_);
        Q_EMIT afterScroll();
    }
}

void Table::close()
{
    if (!isActive())
        return;
    Q_EMIT aboutToReset();
    state_ = State::Inactive;
    keys_.clear();
    cache_.clear();
    fetch_ = {};
    keysStmt_ = {};
    lookupStmts_.clear();
    buffer_.clear();
    current_ = -1;
    bof_ = eof_ = true;
    Q_EMIT reset();
}

void Table::buildFields()
{
    fields_.clear();
    for (const ColumnInfo& c : structure_.columns) {
        Field f;
        f.name = c.name;
        f.kind = Field::kindFromDeclType(c.declType, &f.size);
        if (structure_.rowidIsKey && structure_.hasAutoIncrement && c.primaryKeyPosition == 1)
            f.kind = FieldKind::AutoInc;
        const schema::FieldLook look = schema::fieldLook(tableName_, c.name);
        f.displayLabel = look.label;
        f.displayFormat = look.format;
        fields_.append(f);
    }
    addDerivedFields();
    const QStringList order = schema::fieldOrder(tableName_);
    if (!order.isEmpty()) {
        QList<Field> arranged;
        for (const QString& name : order) {
            const int i = fieldIndex(name);
            if (i >= 0)
                arranged.append(fields_.at(i));
        }
        for (const Field& f : std::as_const(fields_))
            if (!order.contains(f.name, Qt::CaseInsensitive))
                arranged.append(f);
        fields_ = arranged;
    }
    resolveDerived();
    storedColumns_.clear();
    for (int i = 0; i < fields_.size(); ++i)
        if (fields_.at(i).isStored())
            storedColumns_.append(i);
}

namespace {

Field derivedField(const QString& table, const char* name, FieldKind kind, int size, Field::Source source)
{
    Field f;
    f.name = QLatin1String(name);
    f.kind = kind;
    f.size = size;
    f.source = source;
    const schema::FieldLook look = schema::fieldLook(table, f.name);
    f.displayLabel = look.label;
    f.displayFormat = look.format;
    return f;
}

} // namespace

// The derived fields the program's tables present besides their stored ones.
void Table::addDerivedFields()
{
    const auto has = [this](const char* n) { return fieldIndex(QLatin1String(n)) >= 0; };
    if (tableName_ == QLatin1String("vk") && has("hossz") && has("szabad"))
        fields_.append(derivedField(tableName_, "osszesen", FieldKind::Integer, 0, Field::Source::Calculated));
    if (tableName_ == QLatin1String("felvetel")) {
        if (has("minoseg"))
            fields_.append(derivedField(tableName_, "minoseg_nev", FieldKind::Alpha, 25, Field::Source::Lookup));
        if (has("mufaj"))
            fields_.append(derivedField(tableName_, "mufaj_nev", FieldKind::Alpha, 25, Field::Source::Lookup));
    }
    if (tableName_ == QLatin1String("programok")) {
        if (has("ingyenes"))
            fields_.append(
                derivedField(tableName_, "ingyenesstr", FieldKind::Alpha, 10, Field::Source::Calculated));
        if (has("leiras"))
            fields_.append(derivedField(tableName_, "rovid", FieldKind::Alpha, 100, Field::Source::Calculated));
    }
}

void Table::resolveDerived()
{
    lookups_.clear();
    calcs_.clear();
    for (int i = 0; i < fields_.size(); ++i) {
        const QString name = fields_.at(i).name;
        if (name == QLatin1String("minoseg_nev") || name == QLatin1String("mufaj_nev")) {
            const QString key = name.left(name.size() - 4);
            if (db_.hasTable(key))
                lookups_.append({i, indexOf(key), key, QStringLiteral("az"), QStringLiteral("nev")});
        } else if (name == QLatin1String("osszesen")) {
            const int h = indexOf(QStringLiteral("hossz"));
            const int s = indexOf(QStringLiteral("szabad"));
            calcs_.append({i, [h, s](const Row& r) {
                               return QVariant(r.at(h).toInt() - r.at(s).toInt());
                           }});
        } else if (name == QLatin1String("ingyenesstr")) {
            const int g = indexOf(QStringLiteral("ingyenes"));
            calcs_.append({i, [g](const Row& r) {
                               return QVariant(r.at(g).toString() == QLatin1String("I") ? QStringLiteral("igen")
                                                                                         : QStringLiteral("nem"));
                           }});
        } else if (name == QLatin1String("rovid")) {
            const int l = indexOf(QStringLiteral("leiras"));
            calcs_.append({i, [l](const Row& r) {
                               const QString text = r.at(l).toString();
                               if (text.size() > 67)
                                   return QVariant(text.left(67).trimmed() + QStringLiteral("..."));
                               return QVariant(text);
                           }});
        }
    }
}

void Table::prepareStatements()
{
    QStringList cols;
    for (int i : std::as_const(storedColumns_))
        cols << QStringLiteral("t.") + quoted(fields_.at(i).name);
    lookupStmts_.clear();
    for (const Lookup& l : std::as_const(lookups_))
        lookupStmts_.push_back(sqlite::Statement(
            db_.handle(), QStringLiteral("SELECT %1 FROM %2 WHERE %3=?1 LIMIT 1")
                              .arg(quoted(l.resultColumn), quoted(l.table), quoted(l.keyColumn))));
    // Lookups are read with the row, so a name never lags behind its key.
    for (const Lookup& l : std::as_const(lookups_))
        cols << QStringLiteral("(SELECT %1 FROM %2 WHERE %3=t.%4 LIMIT 1)")
                    .arg(quoted(l.resultColumn), quoted(l.table), quoted(l.keyColumn),
                         quoted(fields_.at(l.keyField).name));
    if (cols.isEmpty())
        cols << QStringLiteral("NULL");
    fetch_ = sqlite::Statement(db_.handle(), QStringLiteral("SELECT %1 FROM %2 AS t WHERE t.rowid=?1")
                                                 .arg(cols.join(QLatin1Char(',')), quoted(tableName_)));
    prepareKeys();
}

void Table::prepareKeys()
{
    keysStmt_ = sqlite::Statement(db_.handle(), QStringLiteral("SELECT rowid FROM %1%2 ORDER BY %3")
                                                    .arg(quoted(tableName_), whereClause(QString()),
                                                         orderClause()));
}

QString Table::orderClause() const
{
    QStringList parts;
    if (!orderBy_.isEmpty())
        parts << quoted(orderBy_);
    for (const QString& k : structure_.primaryKey)
        if (k.compare(orderBy_, Qt::CaseInsensitive) != 0)
            parts << quoted(k);
    if (structure_.primaryKey.isEmpty())
        parts << QStringLiteral("rowid");
    return parts.join(QLatin1Char(','));
}

QString Table::whereClause(const QString& extra) const
{
    QStringList conds;
    if (!filterField_.isEmpty())
        conds << (filterValue_.isNull() ? quoted(filterField_) + QStringLiteral(" IS NULL")
                                        : quoted(filterField_) + QStringLiteral("=:zelmo_filter"));
    if (!extra.isEmpty())
        conds << extra;
    return conds.isEmpty() ? QString() : QStringLiteral(" WHERE ") + conds.join(QStringLiteral(" AND "));
}

void Table::loadKeys()
{
    keys_.clear();
    keysStmt_.reset();
    if (!filterField_.isEmpty() && !filterValue_.isNull())
        keysStmt_.bind(QStringLiteral("zelmo_filter"), filterValue_);
    while (keysStmt_.step())
        keys_.push_back(keysStmt_.int64(0));
    keysStmt_.reset();
}

int Table::positionOf(qint64 key) const
{
    const auto it = std::find(keys_.begin(), keys_.end(), key);
    return it == keys_.end() ? -1 : int(it - keys_.begin());
}

Row Table::fetch(qint64 key)
{
    Row row(fields_.size());
    fetch_.reset();
    fetch_.bind(1, key);
    if (fetch_.step()) {
        int col = 0;
        for (int i : std::as_const(storedColumns_))
            row[i] = fields_.at(i).fromStore(fetch_.value(col++));
        for (const Lookup& l : std::as_const(lookups_))
            row[l.field] = fields_.at(l.field).fromStore(fetch_.value(col++));
    }
    fetch_.reset();
    computeDerived(row, false);
    return row;
}

void Table::computeDerived(Row& row, bool lookups)
{
    if (lookups) {
        for (int i = 0; i < lookups_.size(); ++i) {
            const Lookup& l = lookups_.at(i);
            sqlite::Statement& st = lookupStmts_[size_t(i)];
            st.reset();
            QVariant result;
            if (!row.at(l.keyField).isNull()) {
                st.bind(1, row.at(l.keyField));
                if (st.step())
                    result = fields_.at(l.field).fromStore(st.value(0));
            }
            st.reset();
            row[l.field] = result;
        }
    }
    for (const Calc& c : std::as_const(calcs_))
        row[c.field] = c.compute(row);
}

Row Table::rowAt(int row)
{
    requireActive();
    if (row < 0 || row >= int(keys_.size()))
        return Row(fields_.size());
    const qint64 key = keys_[size_t(row)];
    auto it = cache_.constFind(key);
    if (it != cache_.constEnd())
        return *it;
    if (cache_.size() >= CacheLimit)
        cache_.clear();
    // Reading down the rows (a grid painting, an export) reads a screenful at
    // once inside one read transaction, so the file is locked once rather than
    // per row; a single row asked for on its own is read alone.
    const bool sequential = row == lastMiss_ + 1;
    lastMiss_ = row;
    if (!sequential) {
        Row r = fetch(key);
        cache_.insert(key, r);
        return r;
    }
    const bool own = !db_.inTransaction();
    if (own)
        sqlite::exec(db_.handle(), QStringLiteral("BEGIN"));
    try {
        Row r = fetch(key);
        cache_.insert(key, r);
        const int end = std::min(int(keys_.size()), row + ReadAhead);
        for (int i = row + 1; i < end; ++i) {
            const qint64 k = keys_[size_t(i)];
            if (!cache_.contains(k))
                cache_.insert(k, fetch(k));
        }
        if (own)
            sqlite::exec(db_.handle(), QStringLiteral("COMMIT"));
        return r;
    } catch (...) {
        if (own)
            sqlite3_exec(db_.handle(), "ROLLBACK", nullptr, nullptr, nullptr);
        throw;
    }
}

QVariant Table::value(int field) const
{
    requireActive();
    if (state_ == State::Edit || state_ == State::Insert)
        return buffer_.value(field);
    return DataSet::value(field);
}

bool Table::canOrderBy(const QString& field) const
{
    if (field.isEmpty())
        return true;
    if (!structure_.primaryKey.isEmpty() && structure_.primaryKey.first().compare(field, Qt::CaseInsensitive) == 0)
        return true;
    for (const IndexInfo& idx : structure_.indexes)
        if (!idx.columns.isEmpty() && idx.columns.first().compare(field, Qt::CaseInsensitive) == 0)
            return true;
    return false;
}

void Table::setOrderBy(const QString& field)
{
    QString name = field.trimmed();
    if (isActive()) {
        if (!name.isEmpty()) {
            const int i = indexOf(name);
            name = fields_.at(i).name;
        }
        if (!canOrderBy(name))
            throw DbError(QStringLiteral("A(z) %1 tábla nem rendezhető a(z) %2 mező szerint, mert nincs rá index.")
                              .arg(tableName_, name));
        if (name == orderBy_)
            return;
        const QString old = orderBy_;
        orderBy_ = name;
        try {
            prepareKeys();
        } catch (...) {
            orderBy_ = old;
            prepareKeys();
            throw;
        }
        const qint64 key = currentKey();
        Q_EMIT aboutToReset();
        loadKeys();
        current_ = key >= 0 ? positionOf(key) : (keys_.empty() ? -1 : 0);
        Q_EMIT reset();
        Q_EMIT currentRowChanged(current_);
        return;
    }
    orderBy_ = name;
}

void Table::setFilter(const QString& filter)
{
    const QString text = filter.trimmed();
    if (text == filter_ && isActive())
        return;
    QString field;
    QVariant value;
    if (!text.isEmpty()) {
        static const QRegularExpression re(QStringLiteral("^\\s*(\\w+)\\s*=\\s*(.*?)\\s*$"));
        const auto m = re.match(text);
        if (!m.hasMatch())
            throw DbError(QStringLiteral("Érvénytelen szűrőfeltétel: %1").arg(text));
        field = m.captured(1);
        QString v = m.captured(2);
        if (v.size() >= 2 && v.startsWith(QLatin1Char('\'')) && v.endsWith(QLatin1Char('\'')))
            v = v.mid(1, v.size() - 2).replace(QStringLiteral("''"), QStringLiteral("'"));
        value = v;
    }
    if (isActive()) {
        requireBrowse("filter");
        if (!field.isEmpty())
            value = fieldByName(field).coerce(value);
    }
    // Moving between cassettes changes only the value: the statement stays.
    const bool sameShape = field.compare(filterField_, Qt::CaseInsensitive) == 0 &&
                           value.isNull() == filterValue_.isNull();
    filter_ = text;
    filterField_ = field;
    filterValue_ = value;
    if (!isActive())
        return;
    if (!sameShape || keysStmt_.isNull())
        prepareKeys();
    Q_EMIT aboutToReset();
    loadKeys();
    current_ = keys_.empty() ? -1 : 0;
    bof_ = true;
    eof_ = keys_.empty();
    Q_EMIT reset();
    Q_EMIT currentRowChanged(current_);
    Q_EMIT afterScroll();
}

bool Table::locate(const QString& fieldName, const QVariant& value, LocateOptions options)
{
    requireActive();
    if (keys_.empty())
        return false;
    const int fi = fieldIndex(fieldName);
    if (fi < 0)
        return false;
    const Field& f = fields_.at(fi);
    const bool ci = options.testFlag(LocateOption::CaseInsensitive);
    const bool partial = options.testFlag(LocateOption::PartialKey);

    int found = -1;
    if (!f.isStored()) {
        // Derived values live only in memory: compare row by row.
        const QString wanted = value.toString();
        for (int i = 0; i < int(keys_.size()) && found < 0; ++i) {
            const QString v = rowAt(i).at(fi).toString();
            const bool match = partial ? (ci ? hungarian::startsWithIgnoringCase(v, wanted) : v.startsWith(wanted))
                                       : (ci ? v.compare(wanted, Qt::CaseInsensitive) == 0 : v == wanted);
            if (match)
                found = i;
        }
    } else {
        QString cond;
        QVariant bound;
        QString upper;
        const QString col = quoted(f.name);
        if (value.isNull() || (f.isText() == false && value.toString().trimmed().isEmpty())) {
            cond = col + QStringLiteral(" IS NULL");
        } else if (f.isText()) {
            bound = value.toString();
            QString lower = structure_.hungarianText ? col + QStringLiteral(">=:zelmo_v AND ") : QString();
            // Without an upper bound a prefix that matches nothing would test every row after it.
            upper = structure_.hungarianText && partial ? hungarian::prefixUpperBound(bound.toString()) : QString();
            if (!upper.isEmpty())
                lower += col + QStringLiteral("<:zelmo_upper AND ");
            if (partial)
                cond = lower + (ci ? QStringLiteral("zelmo_prefix(%1,:zelmo_v)").arg(col)
                                   : QStringLiteral("substr(%1,1,length(:zelmo_v))=:zelmo_v COLLATE BINARY").arg(col));
            else
                cond = (structure_.hungarianText ? col + QStringLiteral("=:zelmo_v AND ") : QString()) +
                       (ci ? QStringLiteral("upper(%1)=upper(:zelmo_v)").arg(col)
                           : QStringLiteral("%1=:zelmo_v COLLATE BINARY").arg(col));
        } else {
            try {
                bound = f.coerce(value);
            } catch (const DbError&) {
                return false;
            }
            cond = col + QStringLiteral("=:zelmo_v");
        }
        sqlite::Statement st(db_.handle(), QStringLiteral("SELECT rowid FROM %1%2 ORDER BY %3 LIMIT 1")
                                               .arg(quoted(tableName_), whereClause(cond), orderClause()));
        if (!filterField_.isEmpty() && !filterValue_.isNull())
            st.bind(QStringLiteral("zelmo_filter"), filterValue_);
        if (!bound.isNull())
            st.bind(QStringLiteral("zelmo_v"), bound);
        if (!upper.isEmpty())
            st.bind(QStringLiteral("zelmo_upper"), upper);
        if (st.step())
            found = positionOf(st.int64(0));
    }
    if (found < 0)
        return false;
    if (state_ == State::Browse) {
        setCurrent(found);
        bof_ = eof_ = false;
    }
    return true;
}

void Table::requireWritable() const
{
    if (readOnly_)
        throw DbError(QStringLiteral("A(z) %1 tábla csak olvasható.").arg(tableName_));
}

void Table::requireCurrent() const
{
    if (current_ < 0)
        throw DbError(QStringLiteral("Üres adathalmazon a művelet nem végezhető el."));
}

void Table::edit()
{
    requireActive();
    if (state_ == State::Edit || state_ == State::Insert)
        return;
    requireWritable();
    requireCurrent();
    original_ = fetch(currentKey());
    buffer_ = original_;
    state_ = State::Edit;
}

void Table::insert()
{
    requireBrowse("insert");
    requireWritable();
    original_ = Row(fields_.size());
    buffer_ = original_;
    computeDerived(buffer_, true);
    state_ = State::Insert;
    Q_EMIT afterScroll();
}

void Table::setValue(int field, const QVariant& value)
{
    requireActive();
    if (state_ != State::Edit && state_ != State::Insert)
        throw DbError(QStringLiteral("A(z) %1 tábla nincs szerkesztés vagy beszúrás állapotban.").arg(tableName_));
    const Field& f = fields_.at(field);
    if (!f.isStored())
        throw DbError(QStringLiteral("A(z) %1 mező nem írható.").arg(f.name));
    buffer_[field] = f.coerce(value);
    bool keyOfLookup = false;
    for (const Lookup& l : std::as_const(lookups_))
        keyOfLookup = keyOfLookup || l.keyField == field;
    computeDerived(buffer_, keyOfLookup);
}

void Table::post()
{
    requireActive();
    if (state_ != State::Edit && state_ != State::Insert)
        return;
    const bool inserting = state_ == State::Insert;
    for (const QString& k : structure_.primaryKey) {
        const int i = indexOf(k);
        if (buffer_.at(i).isNull() && fields_.at(i).kind != FieldKind::AutoInc)
            throw DbError(QStringLiteral("A(z) %1 kulcsmező nem maradhat üresen.").arg(fields_.at(i).name));
    }
    QStringList cols;
    QList<QVariant> values;
    for (int i : std::as_const(storedColumns_)) {
        const bool changed = inserting ? !buffer_.at(i).isNull()
                                       : (buffer_.at(i) != original_.at(i) ||
                                          buffer_.at(i).isNull() != original_.at(i).isNull());
        if (changed) {
            cols << quoted(fields_.at(i).name);
            values << buffer_.at(i);
        }
    }
    const qint64 oldKey = inserting ? -1 : currentKey();
    qint64 newKey = oldKey;
    if (inserting || !cols.isEmpty()) {
        QString sql;
        if (inserting) {
            QStringList marks;
            for (int i = 1; i <= cols.size(); ++i)
                marks << QStringLiteral("?%1").arg(i);
            sql = cols.isEmpty() ? QStringLiteral("INSERT INTO %1 DEFAULT VALUES").arg(quoted(tableName_))
                                 : QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
                                       .arg(quoted(tableName_), cols.join(QLatin1Char(',')),
                                            marks.join(QLatin1Char(',')));
        } else {
            QStringList sets;
            for (int i = 0; i < cols.size(); ++i)
                sets << QStringLiteral("%1=?%2").arg(cols.at(i)).arg(i + 1);
            sql = QStringLiteral("UPDATE %1 SET %2 WHERE rowid=?%3")
                      .arg(quoted(tableName_), sets.join(QLatin1Char(',')))
                      .arg(cols.size() + 1);
        }
        sqlite::Statement st(db_.handle(), sql);
        for (int i = 0; i < values.size(); ++i)
            st.bind(i + 1, values.at(i));
        if (!inserting)
            st.bind(int(values.size()) + 1, oldKey);
        try {
            st.step();
        } catch (...) {
            db_.notifyChanges(nullptr);
            throw;
        }
        if (inserting) {
            newKey = sqlite3_last_insert_rowid(db_.handle());
        } else if (structure_.rowidIsKey) {
            const QVariant k = buffer_.at(indexOf(structure_.primaryKey.first()));
            if (!k.isNull())
                newKey = k.toLongLong();
        }
        db_.notifyChanges(this);
    }

    // The store assigns autoincrement keys: show the one it gave.
    cache_.remove(oldKey);
    cache_.remove(newKey);
    state_ = State::Browse;
    buffer_.clear();
    original_.clear();

    const int oldPos = current_;
    bool reordered = inserting;
    if (!inserting) {
        const int orderField = orderBy_.isEmpty() ? -1 : indexOf(orderBy_);
        for (int i = 0; i < fields_.size() && !reordered; ++i) {
            const bool key = structure_.primaryKey.contains(fields_.at(i).name, Qt::CaseInsensitive);
            const bool filterField = fields_.at(i).name.compare(filterField_, Qt::CaseInsensitive) == 0;
            if ((i == orderField || key || filterField) && cols.contains(quoted(fields_.at(i).name)))
                reordered = true;
        }
    }
    if (reordered) {
        Q_EMIT aboutToReset();
        loadKeys();
        int pos = positionOf(newKey);
        if (pos < 0)
            pos = keys_.empty() ? -1 : std::clamp(oldPos, 0, int(keys_.size()) - 1);
        current_ = pos;
        Q_EMIT reset();
        Q_EMIT currentRowChanged(current_);
    } else if (current_ >= 0) {
        Q_EMIT rowChanged(current_);
    }
    Q_EMIT afterPost();
    if (inserting || newKey != oldKey)
        Q_EMIT afterScroll();
}

void Table::cancel()
{
    requireActive();
    if (state_ != State::Edit && state_ != State::Insert)
        return;
    const bool inserting = state_ == State::Insert;
    state_ = State::Browse;
    buffer_.clear();
    original_.clear();
    Q_EMIT afterCancel();
    if (inserting)
        Q_EMIT afterScroll();
    else if (current_ >= 0)
        Q_EMIT rowChanged(current_);
}

void Table::deleteRow()
{
    requireBrowse("delete");
    requireWritable();
    requireCurrent();
    const qint64 key = currentKey();
    sqlite::Statement st(db_.handle(), QStringLiteral("DELETE FROM %1 WHERE rowid=?1").arg(quoted(tableName_)));
    st.bind(1, key);
    try {
        st.step();
    } catch (...) {
        db_.notifyChanges(nullptr);
        throw;
    }
    db_.notifyChanges(this);
    const int pos = current_;
    Q_EMIT rowAboutToBeRemoved(pos);
    keys_.erase(keys_.begin() + pos);
    cache_.remove(key);
    current_ = keys_.empty() ? -1 : std::min(pos, int(keys_.size()) - 1);
    eof_ = keys_.empty();
    Q_EMIT rowRemoved(pos);
    Q_EMIT currentRowChanged(current_);
    Q_EMIT afterScroll();
}

void Table::refresh()
{
    if (!isActive())
        return;
    const qint64 key = currentKey();
    const int oldPos = current_;
    Q_EMIT aboutToReset();
    cache_.clear();
    loadKeys();
    int pos = key >= 0 ? positionOf(key) : -1;
    if (pos < 0 && !keys_.empty())
        pos = std::clamp(oldPos, 0, int(keys_.size()) - 1);
    current_ = pos;
    eof_ = keys_.empty();
    Q_EMIT reset();
    Q_EMIT currentRowChanged(current_);
    if (currentKey() != key && state_ == State::Browse)
        Q_EMIT afterScroll();
}

void Table::onTablesChanged(const QSet<QString>& tables, QObject* originator)
{
    if (!isActive() || originator == this)
        return;
    bool affected = tables.contains(QStringLiteral("*")) || tables.contains(tableName_);
    for (const Lookup& l : std::as_const(lookups_))
        affected = affected || tables.contains(l.table);
    if (!affected)
        return;
    try {
        refresh();
    } catch (const DbError&) {
        // The next read reports the trouble; a notification must not throw.
    }
}
