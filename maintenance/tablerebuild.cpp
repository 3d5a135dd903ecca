#include "maintenance/tablerebuild.h"

#include "catalogue/data/dberror.h"
#include "catalogue/data/sqlite.h"

#include <QRegularExpression>

#include <sqlite3.h>

#include <algorithm>

namespace rebuild {

int Definition::indexOf(const QString& column) const
{
    for (qsizetype i = 0; i < columns.size(); ++i)
        if (columns.at(i).name.compare(column, Qt::CaseInsensitive) == 0)
            return int(i);
    return -1;
}

int Definition::rowidColumn() const
{
    if (withoutRowid || primaryKey.size() != 1)
        return -1;
    const int i = indexOf(primaryKey.first());
    return i >= 0 && columns.at(i).type.compare(QLatin1String("INTEGER"), Qt::CaseInsensitive) == 0
               ? i
               : -1;
}

QString quoteId(const QString& name)
{
    QString q = name;
    q.replace(QLatin1Char('"'), QStringLiteral("\"\""));
    return QLatin1Char('"') + q + QLatin1Char('"');
}

bool isTextType(const QString& declaredType)
{
    static const QRegularExpression text(
        QStringLiteral("^\\s*(CHAR|VARCHAR|NVARCHAR|CHARACTER|ALPHA|MEMO|FMTMEMO|TEXT|CLOB)\\b"),
        QRegularExpression::CaseInsensitiveOption);
    return text.match(declaredType).hasMatch();
}

Definition read(sqlite3* db, const QString& table)
{
    Definition def;
    QString createText;
    {
        sqlite::Statement st(
            db, QStringLiteral("SELECT name, sql FROM sqlite_master WHERE type='table' AND "
                               "name=?1 COLLATE NOCASE"));
        st.bind(1, table);
        if (!st.step())
            throw DbError(
                QStringLiteral("A(z) %1 tábla nem található az adatbázisban.").arg(table));
        def.name = st.value(0).toString();
        createText = st.value(1).toString();
    }
    def.withoutRowid =
        createText.simplified().contains(QLatin1String("WITHOUT ROWID"), Qt::CaseInsensitive);

    QList<QPair<int, QString>> keys;
    sqlite::Statement st(db, QStringLiteral("SELECT name, type, \"notnull\", dflt_value, pk FROM "
                                            "pragma_table_info(?1)"));
    st.bind(1, def.name);
    const QByteArray tableUtf8 = def.name.toUtf8();
    while (st.step()) {
        Column c;
        c.name = st.value(0).toString();
        c.type = st.value(1).toString();
        c.notNull = st.value(2).toInt() != 0;
        c.defaultSql = st.value(3).toString();
        const char* collation = nullptr;
        int autoinc = 0;
        const QByteArray colUtf8 = c.name.toUtf8();
        if (sqlite3_table_column_metadata(db, "main", tableUtf8.constData(), colUtf8.constData(),
                                          nullptr, &collation, nullptr, nullptr,
                                          &autoinc) == SQLITE_OK) {
            c.collation = QString::fromUtf8(collation);
            def.autoIncrement = def.autoIncrement || autoinc != 0;
        }
        if (c.collation.compare(QLatin1String("BINARY"), Qt::CaseInsensitive) == 0)
            c.collation.clear();
        if (st.value(4).toInt() > 0)
            keys.append({st.value(4).toInt(), c.name});
        def.columns.append(c);
    }
    std::sort(keys.begin(), keys.end());
    for (const auto& k : keys)
        def.primaryKey << k.second;
    return def;
}

QString createSql(const Definition& def, const QString& name)
{
    const int rowid = def.rowidColumn();
    QStringList parts;
    for (qsizetype i = 0; i < def.columns.size(); ++i) {
        const Column& c = def.columns.at(i);
        QString part = quoteId(c.name);
        if (!c.type.isEmpty())
            part += QLatin1Char(' ') + c.type;
        if (i == rowid)
            part += def.autoIncrement ? QStringLiteral(" PRIMARY KEY AUTOINCREMENT")
                                      : QStringLiteral(" PRIMARY KEY");
        else if (c.notNull)
            part += QStringLiteral(" NOT NULL");
        if (!c.defaultSql.isEmpty())
            part += QStringLiteral(" DEFAULT ") + c.defaultSql;
        if (!c.collation.isEmpty())
            part += QStringLiteral(" COLLATE ") + c.collation;
        parts << part;
    }
    if (rowid < 0 && !def.primaryKey.isEmpty()) {
        QStringList keys;
        for (const QString& k : def.primaryKey)
            keys << quoteId(k);
        parts << QStringLiteral("PRIMARY KEY (") + keys.join(QStringLiteral(", ")) +
                     QLatin1Char(')');
    }
    return QStringLiteral("CREATE TABLE ") + quoteId(name) + QStringLiteral(" (") +
           parts.join(QStringLiteral(", ")) + QLatin1Char(')') +
           (def.withoutRowid ? QStringLiteral(" WITHOUT ROWID") : QString());
}

namespace {

bool hasSequenceTable(sqlite3* db)
{
    sqlite::Statement st(
        db, QStringLiteral("SELECT 1 FROM sqlite_master WHERE name='sqlite_sequence'"));
    return st.step();
}

} // namespace

void replace(sqlite3* db, const Definition& old, const Definition& target,
             const QStringList& select, bool keepIndexes)
{
    Q_ASSERT(select.size() == target.columns.size());
    const QString scratch = QStringLiteral("zelmo_rebuild_") + old.name;

    QStringList recreate;
    if (keepIndexes) {
        sqlite::Statement st(
            db, QStringLiteral("SELECT sql FROM sqlite_master WHERE tbl_name=?1 COLLATE NOCASE "
                               "AND type IN ('index','trigger') AND sql IS NOT NULL "
                               "ORDER BY type, name"));
        st.bind(1, old.name);
        while (st.step())
            recreate << st.value(0).toString();
    }
    QVariant sequence;
    if (hasSequenceTable(db)) {
        sqlite::Statement st(db, QStringLiteral("SELECT seq FROM sqlite_sequence WHERE name=?1"));
        st.bind(1, old.name);
        if (st.step())
            sequence = st.value(0);
    }

    sqlite::exec(db, QStringLiteral("DROP TABLE IF EXISTS ") + quoteId(scratch));
    sqlite::exec(db, createSql(target, scratch));

    QStringList columns;
    for (const Column& c : target.columns)
        columns << quoteId(c.name);
    QStringList values = select;
    // Rows keep their ids, so that nothing that remembered a row loses it;
    // a key column that is the row id carries it by itself.
    if (!old.withoutRowid && !target.withoutRowid && target.rowidColumn() < 0) {
        columns.prepend(QStringLiteral("rowid"));
        values.prepend(QStringLiteral("rowid"));
    }
    sqlite::exec(db, QStringLiteral("INSERT INTO %1 (%2) SELECT %3 FROM %4")
                         .arg(quoteId(scratch), columns.join(QStringLiteral(", ")),
                              values.join(QStringLiteral(", ")), quoteId(old.name)));
    sqlite::exec(db, QStringLiteral("DROP TABLE ") + quoteId(old.name));
    // With the modern rename SQLite re-checks every view and trigger of the
    // file against the half-changed schema; the plain rename is what is meant.
    sqlite::exec(db, QStringLiteral("PRAGMA legacy_alter_table=ON"));
    try {
        sqlite::exec(
            db,
            QStringLiteral("ALTER TABLE %1 RENAME TO %2").arg(quoteId(scratch), quoteId(old.name)));
    } catch (...) {
        sqlite3_exec(db, "PRAGMA legacy_alter_table=OFF", nullptr, nullptr, nullptr);
        throw;
    }
    sqlite::exec(db, QStringLiteral("PRAGMA legacy_alter_table=OFF"));

    for (const QString& sql : recreate)
        sqlite::exec(db, sql);

    if (target.autoIncrement && !sequence.isNull()) {
        sqlite::Statement up(
            db, QStringLiteral("UPDATE sqlite_sequence SET seq=max(seq, ?2) WHERE name=?1"));
        up.bind(1, old.name);
        up.bind(2, sequence);
        up.step();
        if (up.changes() == 0) {
            sqlite::Statement ins(
                db, QStringLiteral("INSERT INTO sqlite_sequence (name, seq) VALUES (?1, ?2)"));
            ins.bind(1, old.name);
            ins.bind(2, sequence);
            ins.step();
        }
    }
}

} // namespace rebuild
