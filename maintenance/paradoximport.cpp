#include "maintenance/paradoximport.h"

#include "maintenance/maintsession.h"
#include "maintenance/paradoxtable.h"
#include "maintenance/tablerebuild.h"

#include "catalogue/data/database.h"
#include "catalogue/data/dberror.h"
#include "catalogue/data/hungarian.h"
#include "catalogue/data/schema.h"
#include "catalogue/data/sqlite.h"
#include "common/errors.h"
#include "common/paths.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <fcntl.h>
#include <sqlite3.h>
#include <unistd.h>

namespace {

struct CatalogueTable
{
    const char* name;
    bool optional;
};

// In this order: the progress of the import follows it.
constexpr CatalogueTable CatalogueTables[] = {
    {"vk", false},      {"felvetel", false}, {"tipus", false},    {"mufaj", false},
    {"minoseg", false}, {"szereplo", false}, {"programok", true},
};

constexpr int RowsBetweenBreaths = 2000;

QString declaredType(const paradox::FieldInfo& f)
{
    using namespace paradox;
    switch (f.type) {
    case Alpha:
        return QStringLiteral("CHAR(%1)").arg(f.length);
    case Short:
        return QStringLiteral("SMALLINT");
    case Long:
    case AutoInc:
        return QStringLiteral("INTEGER");
    case Date:
        return QStringLiteral("DATE");
    case Time:
        return QStringLiteral("TIME");
    case Timestamp:
        return QStringLiteral("TIMESTAMP");
    case Number:
        return QStringLiteral("FLOAT");
    case Currency:
        return QStringLiteral("MONEY");
    case Bcd:
        return QStringLiteral("NUMERIC");
    case Logical:
        return QStringLiteral("BOOLEAN");
    case Memo:
    case FmtMemo:
        return QStringLiteral("MEMO");
    default: // blobs, pictures, OLE objects, raw bytes
        return QStringLiteral("BLOB");
    }
}

bool isTextField(int type)
{
    return type == paradox::Alpha || type == paradox::Memo || type == paradox::FmtMemo;
}

// The store keeps times as HH:MM:SS; a time with milliseconds keeps them.
QString timeText(const QTime& t)
{
    return t.toString(t.msec() ? QStringLiteral("HH:mm:ss.zzz") : QStringLiteral("HH:mm:ss"));
}

QVariant storeValue(const QVariant& v)
{
    switch (v.typeId()) {
    case QMetaType::QTime:
        return timeText(v.toTime());
    case QMetaType::QDateTime: {
        const QDateTime dt = v.toDateTime();
        return dt.date().toString(Qt::ISODate) + QLatin1Char(' ') + timeText(dt.time());
    }
    default:
        return v;
    }
}

void syncPath(const QString& path)
{
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_CLOEXEC);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}

// The store while it is being built: its own file, removed again unless the
// build finishes.
class ScratchStore
{
public:
    ScratchStore(const QString& path, const QString& target) : path_(path), target_(target)
    {
        // A file left by an import that was cut short is thrown away.
        QFile::remove(path_);
        QFile::remove(path_ + QStringLiteral("-journal"));
        try {
            if (sqlite3_open_v2(QFile::encodeName(path_).constData(), &db_,
                                SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr) != SQLITE_OK)
                fail(db_ ? QString::fromUtf8(sqlite3_errmsg(db_)) : QString());
            sqlite3_extended_result_codes(db_, 1);
            UseStrictIdentifiers(db_);
            hungarian::registerOn(db_);
            // Nothing to roll back into: on any failure the file is thrown away whole.
            sqlite::exec(db_,
                         QStringLiteral("PRAGMA journal_mode=OFF; PRAGMA synchronous=OFF; BEGIN"));
        } catch (...) {
            discard();
            throw;
        }
    }

    ~ScratchStore() { discard(); }

    ScratchStore(const ScratchStore&) = delete;
    ScratchStore& operator=(const ScratchStore&) = delete;

    sqlite3* handle() const { return db_; }

    // Commits, writes the file to disk and gives it the store's name.
    void finish()
    {
        sqlite::exec(db_, QStringLiteral("COMMIT"));
        if (sqlite3_close(db_) != SQLITE_OK)
            fail(QString::fromUtf8(sqlite3_errmsg(db_)));
        db_ = nullptr;
        syncPath(path_);
        // QFile::rename never replaces an existing file: a store that appeared
        // meanwhile is not overwritten.
        if (!QFile::rename(path_, target_))
            fail(QStringLiteral("az új adatbázis nem kaphatja meg a(z) %1 nevet.").arg(target_));
        done_ = true;
        syncPath(QFileInfo(target_).absolutePath());
    }

private:
    void discard()
    {
        if (db_)
            sqlite3_close_v2(db_);
        db_ = nullptr;
        if (!done_)
            QFile::remove(path_);
    }

    [[noreturn]] void fail(const QString& why) const
    {
        throw ZelmoError(QStringLiteral("Az új adatbázis nem hozható létre: %1\n%2")
                             .arg(QDir::toNativeSeparators(path_), why));
    }

    QString path_;
    QString target_;
    sqlite3* db_ = nullptr;
    bool done_ = false;
};

void createIndexes(sqlite3* db, const QString& table, const rebuild::Definition& def)
{
    const schema::TableDef* known = schema::findTable(table);
    if (!known)
        return;
    for (const schema::IndexDef& index : known->indexes)
        if (def.indexOf(index.field) >= 0)
            sqlite::exec(db, schema::createIndexSql(table, index));
}

void importTable(sqlite3* db, const QString& table, const QString& path,
                 const MaintenanceFeedback& feedback)
{
    paradox::TableReader reader(path);
    const QList<paradox::FieldInfo>& fields = reader.fields();

    rebuild::Definition def;
    def.name = table;
    for (const paradox::FieldInfo& f : fields) {
        rebuild::Column c;
        // The catalogue spells every name in lower case; old tables may not.
        c.name = f.name.toLower();
        c.type = declaredType(f);
        if (isTextField(f.type))
            c.collation = QLatin1String(hungarian::CollationName);
        def.columns.append(c);
    }
    const int keys = qMin(reader.primaryKeyFields(), int(fields.size()));
    for (int i = 0; i < keys; ++i)
        def.primaryKey << def.columns.at(i).name;
    if (keys == 1 && fields.first().type == paradox::AutoInc)
        def.autoIncrement = true;
    if (keys > 1)
        for (int i = 0; i < keys; ++i)
            def.columns[i].notNull = true;
    const int rowidKey = def.rowidColumn();

    const auto fail = [&reader](const QString& why) {
        throw ZelmoError(QStringLiteral("A(z) %1 tábla nem vehető át: %2")
                             .arg(QDir::toNativeSeparators(reader.path()), why));
    };
    try {
        sqlite::exec(db, rebuild::createSql(def, table));
        QStringList names, places;
        for (qsizetype i = 0; i < def.columns.size(); ++i) {
            names << rebuild::quoteId(def.columns.at(i).name);
            places << QStringLiteral("?%1").arg(i + 1);
        }
        sqlite::Statement insert(db,
                                 QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
                                     .arg(rebuild::quoteId(table), names.join(QStringLiteral(", ")),
                                          places.join(QStringLiteral(", "))));
        for (int row = 0; row < reader.recordCount(); ++row) {
            const QVariantList values = reader.record(row);
            // An empty row-id key would be numbered by the store: a changed value.
            if (rowidKey >= 0 && values.at(rowidKey).isNull())
                fail(QStringLiteral("a(z) %1. sor kulcsa üres.").arg(row + 1));
            for (qsizetype i = 0; i < values.size(); ++i)
                insert.bind(int(i + 1), storeValue(values.at(i)));
            try {
                insert.step();
            } catch (const DbError& e) {
                fail(QStringLiteral("a(z) %1. sor: %2").arg(row + 1).arg(e.message()));
            }
            insert.reset();
            if (row % RowsBetweenBreaths == RowsBetweenBreaths - 1)
                feedback.alive();
        }
        createIndexes(db, table, def);
        if (def.autoIncrement && reader.autoIncrement() > 0) {
            // New rows must not take numbers the old table had already handed out.
            sqlite::Statement up(db, QStringLiteral("UPDATE sqlite_sequence SET seq=max(seq, ?2) "
                                                    "WHERE name=?1"));
            up.bind(1, table);
            up.bind(2, reader.autoIncrement());
            up.step();
            if (up.changes() == 0) {
                sqlite::Statement ins(
                    db, QStringLiteral("INSERT INTO sqlite_sequence (name, seq) VALUES (?1, ?2)"));
                ins.bind(1, table);
                ins.bind(2, reader.autoIncrement());
                ins.step();
            }
        }
    } catch (const DbError& e) {
        fail(e.message());
    }
}

} // namespace

ParadoxFolder FindParadoxTables(const QString& folder)
{
    ParadoxFolder found;
    for (const CatalogueTable& t : CatalogueTables) {
        const QString fileName = QLatin1String(t.name) + QStringLiteral(".DB");
        const QString path = FindFileNoCase(folder, fileName);
        if (!path.isEmpty())
            found.tables.append({QLatin1String(t.name), path});
        else if (!t.optional)
            found.missing << fileName;
    }
    return found;
}

void ImportParadoxFolder(const QString& folder, const MaintenanceFeedback& feedback)
{
    const ParadoxFolder old = FindParadoxTables(folder);
    if (old.isEmpty())
        throw ZelmoError(QStringLiteral("A mappában nincsenek régi táblák: %1")
                             .arg(QDir::toNativeSeparators(folder)));
    if (!old.missing.isEmpty())
        throw ZelmoError(QStringLiteral("A régi adatbázis nem teljes, hiányzik: %1")
                             .arg(old.missing.join(QStringLiteral(", "))));

    const QDir dir(folder);
    const QString target = dir.filePath(QLatin1String(Database::FileName));
    if (QFileInfo::exists(target))
        throw ZelmoError(QStringLiteral("A mappában már van adatbázis: %1")
                             .arg(QDir::toNativeSeparators(target)));
    ScratchStore store(target + QStringLiteral(".import"), target);

    feedback.maximum(int(old.tables.size()) + 1);
    feedback.position(1);
    QStringList imported;
    for (const auto& [table, path] : old.tables) {
        feedback.showStatus(QStringLiteral("Régi tábla átvétele: ") + QFileInfo(path).fileName());
        feedback.alive();
        importTable(store.handle(), table, path, feedback);
        imported << table;
        feedback.stepBar();
    }
    // What the old folder did not have starts empty, as in a new store.
    for (const schema::TableDef& t : schema::tables()) {
        if (imported.contains(t.name))
            continue;
        sqlite::exec(store.handle(), t.createSql);
        for (const schema::IndexDef& index : t.indexes)
            sqlite::exec(store.handle(), schema::createIndexSql(t.name, index));
    }
    store.finish();
}
