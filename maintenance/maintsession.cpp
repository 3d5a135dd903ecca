#include "maintenance/maintsession.h"

#include "maintenance/paradoximport.h"

#include "catalogue/data/database.h"
#include "common/errors.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <fcntl.h>
#include <sqlite3.h>
#include <sys/file.h>
#include <unistd.h>

QString CheckDataFolder(const QString& pathText)
{
    if (pathText.isEmpty() || !QFileInfo(pathText).isDir())
        throw ZelmoError(QStringLiteral("Nem létező adatbázis mappa."));
    QString folder = pathText;
    if (folder.size() > 1 &&
        (folder.endsWith(QLatin1Char('/')) || folder.endsWith(QLatin1Char('\\'))))
        folder.chop(1);
    return folder;
}

bool HasStore(const QString& folder)
{
    return QFileInfo::exists(QDir(folder).filePath(QLatin1String(Database::FileName)));
}

void OpenStoreExclusive(Database& db, const QString& folder)
{
    if (!HasStore(folder)) {
        if (!FindParadoxTables(folder).isEmpty())
            throw ZelmoError(
                QStringLiteral("Az adatbázis mappában a program régi változatának táblái vannak. "
                               "Előbb nyomja meg a verzióváltás gombot."));
        throw ZelmoError(
            QStringLiteral("A mappában nincs adatbázis: %1").arg(QDir::toNativeSeparators(folder)));
    }
    db.open(folder, Database::LockMode::Exclusive);
    UseStrictIdentifiers(db.handle());
}

void UseStrictIdentifiers(sqlite3* db)
{
    // By default SQLite takes a double-quoted name that matches no column for a
    // text constant, so an index on a missing field would quietly index a
    // constant. The tool quotes names and wants the error instead.
    sqlite3_db_config(db, SQLITE_DBCONFIG_DQS_DDL, 0, nullptr);
    sqlite3_db_config(db, SQLITE_DBCONFIG_DQS_DML, 0, nullptr);
}

FolderLock::FolderLock(const QString& folder)
{
    const QString path = QDir(folder).filePath(QLatin1String(Database::LockFileName));
    fd_ = ::open(QFile::encodeName(path).constData(), O_RDWR | O_CREAT | O_CLOEXEC, 0644);
    if (fd_ < 0)
        throw ZelmoError(QStringLiteral("A zárolófájl nem hozható létre: %1")
                             .arg(QDir::toNativeSeparators(path)));
    if (::flock(fd_, LOCK_EX | LOCK_NB) != 0) {
        ::close(fd_);
        fd_ = -1;
        throw ZelmoError(
            QStringLiteral(
                "Az adatbázis mappát egy másik program (a Zelmo) használja, előbb zárja be: %1")
                .arg(QDir::toNativeSeparators(folder)));
    }
}

FolderLock::~FolderLock()
{
    if (fd_ >= 0) {
        ::flock(fd_, LOCK_UN);
        ::close(fd_);
    }
}
