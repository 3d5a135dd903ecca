#pragma once

#include "catalogue/data/dberror.h"

#include <QObject>
#include <QSet>
#include <QString>
#include <QStringList>

struct sqlite3;

// Declared structure of a table as the store file holds it.
struct ColumnInfo
{
    QString name;
    QString declType;
    int primaryKeyPosition = 0; // 1-based position in the primary key, 0 when not a key field
    bool notNull = false;
};

struct IndexInfo
{
    QString name;
    bool unique = false;
    QStringList columns;
};

struct TableStructure
{
    QString name;
    QList<ColumnInfo> columns;
    QStringList primaryKey;
    QList<IndexInfo> indexes;
    bool hasAutoIncrement = false;
    bool hungarianText = false; // text columns declare the Hungarian collation
    bool rowidIsKey = false; // the single integer key is the row id
};

// The connection to one data folder (the alias "vk"): the store file
// zelmo.sqlite in the folder, and a lock file that tells the catalogue program
// and the maintenance tool about each other.
class Database : public QObject
{
    Q_OBJECT
public:
    enum class LockMode
    {
        Shared,    // the catalogue program, for its whole run
        Exclusive, // the maintenance tool, for one operation
    };

    static constexpr const char* AliasName = "vk";
    static constexpr const char* FileName = "zelmo.sqlite";
    static constexpr const char* LockFileName = "zelmo.lck";

    explicit Database(QObject* parent = nullptr);
    ~Database() override;

    // Opens the store in `folder`, creating the folder and an empty store with the
    // full structure when there is none. Throws DbError with a clear message.
    void open(const QString& folder, LockMode mode = LockMode::Shared);
    void close();
    bool isOpen() const { return db_ != nullptr; }
    QString folder() const { return folder_; }
    QString filePath() const;
    sqlite3* handle() const;

    // Runs one or more statements that take no parameters.
    void exec(const QString& sql, QObject* originator = nullptr);

    bool hasTable(const QString& name) const;
    QStringList tableNames() const;
    TableStructure structure(const QString& table) const;

    bool inTransaction() const;

    // Tells every open table which tables were written since the last call, so
    // that the lists showing them stay true. The originator handles its own change.
    void notifyChanges(QObject* originator);

Q_SIGNALS:
    void tablesChanged(const QSet<QString>& tables, QObject* originator);
    void aboutToClose();

private:
    static int authorizer(void* self, int action, const char* a3, const char* a4, const char* db, const char* trigger);
    static void updateHook(void* self, int op, const char* dbName, const char* table, long long rowid);
    void takeLock(LockMode mode);
    void releaseLock();

    sqlite3* db_ = nullptr;
    QString folder_;
    int lockFd_ = -1;
    QSet<QString> changed_;
    bool deferred_ = false;
    QObject* deferredOriginator_ = nullptr;
    friend class Transaction;
};

// One transaction; nested ones become savepoints. Rolls back unless committed.
class Transaction
{
public:
    explicit Transaction(Database& db);
    ~Transaction();
    void commit();
    Transaction(const Transaction&) = delete;
    Transaction& operator=(const Transaction&) = delete;

private:
    Database& db_;
    QString name_;
    bool done_ = false;
};
