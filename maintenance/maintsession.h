#pragma once

#include <QString>

class Database;
struct sqlite3;

// The first steps that both maintenance operations share: the folder named in
// the path field, and the exclusive hold on it that keeps the catalogue program
// out while the tool works.

// The folder named by the path text, without one trailing separator. Throws
// ZelmoError "Nem létező adatbázis mappa." when there is no such folder.
QString CheckDataFolder(const QString& pathText);

// True when the folder holds the catalogue's store file.
bool HasStore(const QString& folder);

// Opens the folder's store exclusively. A folder without a store is refused
// rather than given an empty one: an old folder must be upgraded first, and
// any other folder is not a data folder at all. Throws ZelmoError or DbError.
// The connection gets strict identifiers.
void OpenStoreExclusive(Database& db, const QString& folder);

// Makes a double-quoted name that matches nothing an error on the connection.
void UseStrictIdentifiers(sqlite3* db);

// The exclusive hold on a folder's lock file without the store being open:
// the upgrade keeps it while it builds the store from the old tables.
class FolderLock
{
public:
    // Throws ZelmoError when another program holds the folder.
    explicit FolderLock(const QString& folder);
    ~FolderLock();
    FolderLock(const FolderLock&) = delete;
    FolderLock& operator=(const FolderLock&) = delete;

private:
    int fd_ = -1;
};
