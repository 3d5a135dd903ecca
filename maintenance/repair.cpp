#include "maintenance/repair.h"

#include "maintenance/maintsession.h"
#include "maintenance/tablerebuild.h"

#include "catalogue/data/database.h"
#include "catalogue/data/dberror.h"
#include "catalogue/data/hungarian.h"
#include "catalogue/data/schema.h"
#include "catalogue/data/sqlite.h"

#include <QDir>

#include <sqlite3.h>

namespace {

constexpr const char* RepairOrder[] = {"felvetel", "minoseg", "mufaj", "szereplo", "tipus", "vk"};

// While the folder is held exclusively, whoever else has the store file open
// is a foreign program; waiting long for it only multiplies by six tables.
constexpr int BusyWaitMs = 250;

bool isBusy(sqlite3* db)
{
    const int code = sqlite3_extended_errcode(db) & 0xff;
    return code == SQLITE_BUSY || code == SQLITE_LOCKED;
}

bool sameNames(const QStringList& a, const QStringList& b)
{
    if (a.size() != b.size())
        return false;
    for (qsizetype i = 0; i < a.size(); ++i)
        if (a.at(i).compare(b.at(i), Qt::CaseInsensitive) != 0)
            return false;
    return true;
}

// An index can only be as case-insensitive as its column, and a key belongs to
// the table itself: a table whose key or text collation is not the
// catalogue's is made anew with them before its indexes are built.
void fixKeyAndCollation(sqlite3* db, const schema::TableDef& def)
{
    const rebuild::Definition current = rebuild::read(db, def.name);
    rebuild::Definition target = current;
    bool needed = false;
    if (!sameNames(current.primaryKey, def.primaryKey)) {
        target.primaryKey.clear();
        for (const QString& key : def.primaryKey) {
            const int i = current.indexOf(key);
            if (i < 0)
                throw DbError(
                    QStringLiteral("A(z) %1 kulcsmező nem található a táblában.").arg(key));
            target.primaryKey << current.columns.at(i).name;
        }
        target.autoIncrement =
            def.createSql.contains(QLatin1String("AUTOINCREMENT"), Qt::CaseInsensitive) &&
            target.rowidColumn() >= 0;
        needed = true;
    }
    for (rebuild::Column& c : target.columns) {
        if (rebuild::isTextType(c.type) && c.collation != QLatin1String(hungarian::CollationName)) {
            c.collation = QLatin1String(hungarian::CollationName);
            needed = true;
        }
    }
    if (!needed)
        return;
    QStringList select;
    for (const rebuild::Column& c : current.columns)
        select << rebuild::quoteId(c.name);
    rebuild::replace(db, current, target, select, false);
}

void rebuildIndexes(sqlite3* db, const schema::TableDef& def)
{
    fixKeyAndCollation(db, def);
    QStringList existing;
    {
        sqlite::Statement st(db,
                             QStringLiteral("SELECT name FROM sqlite_master WHERE type='index' AND "
                                            "tbl_name=?1 COLLATE NOCASE AND sql IS NOT NULL"));
        st.bind(1, def.name);
        while (st.step())
            existing << st.value(0).toString();
    }
    for (const QString& name : existing)
        sqlite::exec(db, QStringLiteral("DROP INDEX ") + rebuild::quoteId(name));
    for (const schema::IndexDef& index : def.indexes)
        sqlite::exec(db, schema::createIndexSql(def.name, index));
}

void repairTable(Database& database, const schema::TableDef& def,
                 const MaintenanceFeedback& feedback)
{
    sqlite3* db = database.handle();
    const QString fileName = def.name + QStringLiteral(".DB");
    const auto report = [&](bool busy, const QString& message) {
        if (busy)
            feedback.showError(
                QStringLiteral(
                    "A következő file nem törölhető, valószínüleg használatban van:\r\n") +
                QDir::toNativeSeparators(database.filePath()) + QStringLiteral(" (") + fileName +
                QLatin1Char(')'));
        else
            feedback.showError(QStringLiteral("Ismeretlen hiba: ") + fileName +
                               QStringLiteral("\r\n") + message);
    };
    try {
        // Taking the write lock first finds a foreign holder before anything is dropped.
        sqlite::exec(db, QStringLiteral("BEGIN IMMEDIATE"));
    } catch (const DbError& e) {
        report(isBusy(db), e.message());
        return;
    }
    try {
        rebuildIndexes(db, def);
        sqlite::exec(db, QStringLiteral("COMMIT"));
    } catch (const DbError& e) {
        const bool busy = isBusy(db);
        sqlite3_exec(db, "ROLLBACK", nullptr, nullptr, nullptr);
        report(busy, e.message());
    }
    database.notifyChanges(nullptr);
}

void checkAndCompact(Database& database, const MaintenanceFeedback& feedback)
{
    sqlite3* db = database.handle();
    feedback.showStatus(QStringLiteral("Adatbázis ellenőrzése"));
    feedback.alive();
    QStringList problems;
    try {
        sqlite::Statement st(db, QStringLiteral("PRAGMA integrity_check"));
        while (st.step()) {
            const QString line = st.value(0).toString();
            if (line != QLatin1String("ok"))
                problems << line;
        }
    } catch (const DbError& e) {
        problems << e.message();
    }
    if (!problems.isEmpty()) {
        constexpr int Shown = 10;
        QString text =
            QStringLiteral(
                "Az adatbázis ellenőrzése hibát talált, ezért a tömörítés elmaradt:\r\n") +
            problems.mid(0, Shown).join(QStringLiteral("\r\n"));
        if (problems.size() > Shown)
            text += QStringLiteral("\r\n... és még %1 hiba.").arg(problems.size() - Shown);
        feedback.showError(text);
        return;
    }
    feedback.showStatus(QStringLiteral("Adatbázis tömörítése"));
    feedback.alive();
    try {
        sqlite::exec(db, QStringLiteral("VACUUM"));
    } catch (const DbError& e) {
        feedback.showError(QStringLiteral("Az adatbázis tömörítése nem sikerült:\r\n") +
                           e.message());
    }
}

} // namespace

void RepairStore(Database& db, const MaintenanceFeedback& feedback)
{
    sqlite3_busy_timeout(db.handle(), BusyWaitMs);
    feedback.maximum(7);
    feedback.position(1);
    try {
        db.exec(QStringLiteral("UPDATE vk SET kolcsonadva='N' WHERE kolcsonadva IS NULL;"));
    } catch (const DbError&) {
        // An old structure without the field: the upgrade adds it.
    }
    feedback.stepBar();
    for (const char* name : RepairOrder) {
        const schema::TableDef* def = schema::findTable(QLatin1String(name));
        Q_ASSERT(def);
        feedback.showStatus(QStringLiteral("Index készítés: ") + def->name + QStringLiteral(".DB"));
        feedback.alive();
        repairTable(db, *def, feedback);
        if (def->name != QLatin1String("vk"))
            feedback.stepBar();
    }
    checkAndCompact(db, feedback);
}

void RunTableRepair(const QString& pathText, const MaintenanceFeedback& feedback)
{
    const QString folder = CheckDataFolder(pathText);
    Database db;
    OpenStoreExclusive(db, folder);
    RepairStore(db, feedback);
    feedback.showInfo(QStringLiteral("Indexek újraépítése kész."));
    db.close();
    feedback.showStatus(QString());
    feedback.position(0);
}
