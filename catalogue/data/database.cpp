#include "catalogue/data/database.h"

#include "catalogue/data/hungarian.h"
#include "catalogue/data/schema.h"
#include "catalogue/data/sqlite.h"

#include <QDir>
#include <QFileInfo>

#include <cstring>
#include <fcntl.h>
#include <sqlite3.h>
#include <sys/file.h>
#include <unistd.h>

Database::Database(QObject* parent) : QObject(parent) {}

Database::~Database() { close(); }

QString Database::filePath() const { return QDir(folder_).filePath(QLatin1String(FileName)); }

sqlite3* Database::handle() const
{
    if (!db_)
        throw DbError(QStringLiteral("Az adatbázis nincs megnyitva."));
    return db_;
}

void Database::open(const QString& folder, LockMode mode)
{
    close();
    const QString path = QDir::cleanPath(folder);
    if (path.isEmpty())
        throw DbError(QStringLiteral("Nincs megadva adatbázis mappa."));
    QFileInfo fi(path);
    if (fi.exists() && !fi.isDir())
        throw DbError(QStringLiteral("Az adatbázis mappa helyén egy fájl áll: %1").arg(path));
    if (!fi.exists() && !QDir().mkpath(path))
        throw DbError(QStringLiteral("Az adatbázis mappa nem hozható létre: %1").arg(path));
    folder_ = path;
    takeLock(mode);

    const QString file = filePath();
    const bool fresh = !QFileInfo::exists(file);
    sqlite3* db = nullptr;
    // A connection serves one thread: without SQLite's own mutex, reading a value costs no lock.
    const int rc = sqlite3_open_v2(file.toUtf8().constData(), &db,
                                   SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE | SQLITE_OPEN_NOMUTEX, nullptr);
    if (rc != SQLITE_OK) {
        const QString msg = db ? QString::fromUtf8(sqlite3_errmsg(db)) : QString::fromUtf8(sqlite3_errstr(rc));
        sqlite3_close(db);
        releaseLock();
        folder_.clear();
        throw DbError(QStringLiteral("Az adatbázis nem nyitható meg: %1\n%2").arg(file, msg));
    }
    try {
        sqlite3_extended_result_codes(db, 1);
        // A double-quoted name that matches no column must be an error, not
        // quietly a text constant (an index on a misspelt field would index nothing).
        sqlite3_db_config(db, SQLITE_DBCONFIG_DQS_DDL, 0, nullptr);
        sqlite3_db_config(db, SQLITE_DBCONFIG_DQS_DML, 0, nullptr);
        sqlite3_busy_timeout(db, 2000);
        hungarian::registerOn(db);
        // A rollback journal rather than WAL: the folder may sit on a network share.
        // Truncating it instead of deleting it saves a file removal on every commit.
        sqlite::exec(db, QStringLiteral("PRAGMA journal_mode=TRUNCATE; PRAGMA synchronous=FULL;"));
        // Sorting the browser's 100,000 rows by a title must not spill to temporary files.
        sqlite::exec(db, QStringLiteral("PRAGMA temp_store=MEMORY; PRAGMA cache_size=-65536;"));
        // Reading the schema proves the file is a database before anything relies on it.
        sqlite::exec(db, QStringLiteral("SELECT count(*) FROM sqlite_master"));
        if (fresh) {
            sqlite::exec(db, QStringLiteral("BEGIN IMMEDIATE"));
            try {
                schema::createAll(db);
                sqlite::exec(db, QStringLiteral("COMMIT"));
            } catch (...) {
                sqlite3_exec(db, "ROLLBACK", nullptr, nullptr, nullptr);
                throw;
            }
        }
    } catch (const DbError& e) {
        sqlite3_close(db);
        if (fresh)
            QFile::remove(file);
        releaseLock();
        folder_.clear();
        throw DbError(QStringLiteral("Az adatbázis nem nyitható meg: %1\n%2").arg(file, e.message()));
    }
    db_ = db;
    sqlite3_update_hook(db_, &Database::updateHook, this);
    // The update hook misses "DELETE FROM t" without a condition (SQLite empties
    // the table wholesale); the authorizer sees every statement that may write.
    sqlite3_set_authorizer(db_, &Database::authorizer, this);
}

void Database::close()
{
    if (!db_)
        return;
    Q_EMIT aboutToClose();
    sqlite3_update_hook(db_, nullptr, nullptr);
    sqlite3_set_authorizer(db_, nullptr, nullptr);
    sqlite3_close_v2(db_);
    db_ = nullptr;
    changed_.clear();
    deferred_ = false;
    deferredOriginator_ = nullptr;
    releaseLock();
    folder_.clear();
}

void Database::takeLock(LockMode mode)
{
    const QString lockPath = QDir(folder_).filePath(QLatin1String(LockFileName));
    const int fd = ::open(lockPath.toUtf8().constData(), O_RDWR | O_CREAT | O_CLOEXEC, 0644);
    if (fd < 0) {
        // A folder we may read but not write still opens; the store itself will refuse writes.
        if (mode == LockMode::Shared)
            return;
        folder_.clear();
        throw DbError(QStringLiteral("A zárolófájl nem hozható létre: %1").arg(lockPath));
    }
    if (::flock(fd, (mode == LockMode::Shared ? LOCK_SH : LOCK_EX) | LOCK_NB) != 0) {
        ::close(fd);
        folder_.clear();
        throw DbError(mode == LockMode::Shared
                          ? QStringLiteral("Az adatbázis mappát a karbantartó program használja: %1")
                                .arg(QDir::toNativeSeparators(QFileInfo(lockPath).path()))
                          : QStringLiteral("Az adatbázis mappát egy másik program (a Zelmo) használja, "
                                           "előbb zárja be: %1")
                                .arg(QDir::toNativeSeparators(QFileInfo(lockPath).path())));
    }
    lockFd_ = fd;
}

void Database::releaseLock()
{
    if (lockFd_ >= 0) {
        ::flock(lockFd_, LOCK_UN);
        ::close(lockFd_);
        lockFd_ = -1;
    }
}

void Database::exec(const QString& sql, QObject* originator)
{
    try {
        sqlite::exec(handle(), sql);
    } catch (...) {
        notifyChanges(nullptr);
        throw;
    }
    notifyChanges(originator);
}

bool Database::hasTable(const QString& name) const
{
    sqlite::Statement st(handle(), QStringLiteral("SELECT 1 FROM sqlite_master WHERE type='table' AND "
                                                  "lower(name)=lower(?1)"));
    st.bind(1, schema::normaliseTableName(name));
    return st.step();
}

QStringList Database::tableNames() const
{
    QStringList names;
    sqlite::Statement st(handle(), QStringLiteral("SELECT name FROM sqlite_master WHERE type='table' AND "
                                                  "name NOT LIKE 'sqlite_%' ORDER BY name"));
    while (st.step())
        names << st.value(0).toString();
    return names;
}

TableStructure Database::structure(const QString& table) const
{
    TableStructure s;
    s.name = schema::normaliseTableName(table);
    {
        sqlite::Statement st(handle(), QStringLiteral("SELECT sql FROM sqlite_master WHERE type='table' AND "
                                                      "lower(name)=lower(?1)"));
        st.bind(1, s.name);
        if (!st.step())
            throw DbError(QStringLiteral("A(z) %1 tábla nem található az adatbázisban.").arg(s.name));
        const QString sql = st.value(0).toString();
        s.hasAutoIncrement = sql.contains(QLatin1String("AUTOINCREMENT"), Qt::CaseInsensitive);
        s.hungarianText = sql.contains(QLatin1String("COLLATE HU"), Qt::CaseInsensitive);
    }
    QList<QPair<int, QString>> keys;
    {
        sqlite::Statement st(handle(), QStringLiteral("SELECT name, type, \"notnull\", pk FROM pragma_table_info(?1)"));
        st.bind(1, s.name);
        while (st.step()) {
            ColumnInfo c{st.value(0).toString(), st.value(1).toString(), st.value(3).toInt(), st.value(2).toInt() != 0};
            if (c.primaryKeyPosition > 0)
                keys.append({c.primaryKeyPosition, c.name});
            s.columns.append(c);
        }
    }
    std::sort(keys.begin(), keys.end());
    for (const auto& k : keys)
        s.primaryKey << k.second;
    if (s.primaryKey.size() == 1) {
        for (const ColumnInfo& c : s.columns)
            if (c.name == s.primaryKey.first() && c.declType.compare(QLatin1String("INTEGER"), Qt::CaseInsensitive) == 0)
                s.rowidIsKey = true;
    }
    {
        sqlite::Statement st(handle(), QStringLiteral("SELECT name, \"unique\" FROM pragma_index_list(?1)"));
        st.bind(1, s.name);
        while (st.step())
            s.indexes.append({st.value(0).toString(), st.value(1).toInt() != 0, {}});
    }
    for (IndexInfo& idx : s.indexes) {
        sqlite::Statement st(handle(), QStringLiteral("SELECT name FROM pragma_index_info(?1) ORDER BY seqno"));
        st.bind(1, idx.name);
        while (st.step())
            idx.columns << st.value(0).toString();
    }
    return s;
}

bool Database::inTransaction() const { return db_ && sqlite3_get_autocommit(db_) == 0; }

void Database::updateHook(void* self, int, const char*, const char* table, long long)
{
    static_cast<Database*>(self)->changed_.insert(QString::fromUtf8(table).toLower());
}

int Database::authorizer(void* self, int action, const char* a3, const char* a4, const char*, const char*)
{
    const char* table = nullptr;
    switch (action) {
    case SQLITE_INSERT:
    case SQLITE_UPDATE:
    case SQLITE_DELETE:
    case SQLITE_DROP_TABLE:
        table = a3;
        break;
    case SQLITE_ALTER_TABLE:
        table = a4;
        break;
    default:
        break;
    }
    if (table && strncmp(table, "sqlite_", 7) != 0)
        static_cast<Database*>(self)->changed_.insert(QString::fromUtf8(table).toLower());
    return SQLITE_OK;
}

void Database::notifyChanges(QObject* originator)
{
    if (changed_.isEmpty())
        return;
    // Inside a transaction the lists wait for its end: a renumbering of fifty
    // tracks re-reads the list once, not fifty times.
    if (inTransaction()) {
        deferredOriginator_ = deferred_ && deferredOriginator_ != originator ? nullptr : originator;
        deferred_ = true;
        return;
    }
    if (deferred_ && deferredOriginator_ != originator)
        originator = nullptr;
    deferred_ = false;
    deferredOriginator_ = nullptr;
    const QSet<QString> tables = std::exchange(changed_, {});
    Q_EMIT tablesChanged(tables, originator);
}

Transaction::Transaction(Database& db) : db_(db)
{
    static int counter = 0;
    name_ = QStringLiteral("zelmo_tx%1").arg(++counter);
    sqlite::exec(db_.handle(), QStringLiteral("SAVEPOINT ") + name_);
}

Transaction::~Transaction()
{
    if (done_ || !db_.isOpen())
        return;
    const QByteArray sql = (QStringLiteral("ROLLBACK TO ") + name_ + QStringLiteral("; RELEASE ") + name_).toUtf8();
    sqlite3_exec(db_.handle(), sql.constData(), nullptr, nullptr, nullptr);
    // Whatever the transaction wrote is gone again: every table must re-read.
    db_.changed_.insert(QStringLiteral("*"));
    db_.deferredOriginator_ = nullptr;
    db_.notifyChanges(nullptr);
}

void Transaction::commit()
{
    if (done_)
        return;
    sqlite::exec(db_.handle(), QStringLiteral("RELEASE ") + name_);
    done_ = true;
    if (!db_.inTransaction() && db_.deferred_)
        db_.notifyChanges(db_.deferredOriginator_);
}
