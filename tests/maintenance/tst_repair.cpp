#include "fixtures.h"

#include "maintenance/repair.h"

#include "catalogue/data/database.h"
#include "catalogue/data/hungarian.h"
#include "catalogue/data/schema.h"
#include "catalogue/data/sqlite.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

#include <sqlite3.h>

class TestRepair : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void initTestCase();
    void init();
    void rebuildsExactlyTheCataloguesIndexes();
    void secondRunChangesNothing();
    void tableInUseIsLeftAsItWas();
    void failedIndexLeavesTableAsItWas();
    void failedIntegrityCheckIsReported();
    void folderWithoutStoreIsRefused_data();
    void folderWithoutStoreIsRefused();

private:
    QString storeFile() const { return QDir(folder_).filePath(QLatin1String(Database::FileName)); }
    void exec(const QString& sql);

    QTemporaryDir tmp_;
    QString reference_;
    QString folder_;
};

void TestRepair::initTestCase()
{
    reference_ = tmp_.filePath(QStringLiteral("reference"));
    Database db;
    db.open(reference_);
}

void TestRepair::init()
{
    static int count = 0;
    folder_ = tmp_.filePath(QStringLiteral("store%1").arg(++count));
    exec(QStringLiteral(
        "INSERT INTO tipus (nev) VALUES ('VHS');"
        "INSERT INTO vk (vk, azonosito, tipus, kolcsonadva) VALUES (1, '00001', 1, NULL), "
        "(2, '00002', 1, 'I'), (3, '00003', 1, 'N');"
        "INSERT INTO felvetel (vk, felvetel, cim) VALUES (1, 1, 'Első'), (1, 2, 'Második');"));
}

void TestRepair::exec(const QString& sql)
{
    Database db;
    db.open(folder_);
    db.exec(sql);
}

void TestRepair::rebuildsExactlyTheCataloguesIndexes()
{
    // Indexes lost, a stray one, and a master table without its key or collation.
    exec(QStringLiteral("DROP INDEX vk_idx_hossz; DROP INDEX felvetel_idx_cim;"
                        "CREATE INDEX stray ON vk (megjegyzes);"
                        "CREATE TABLE m (az INTEGER, nev CHAR(25)); INSERT INTO m VALUES (1, "
                        "'Dráma'), (2, 'vígjáték');"
                        "DROP TABLE mufaj; ALTER TABLE m RENAME TO mufaj;"));
    fixture::Recorder rec;
    RunTableRepair(folder_, rec.feedback());

    QVERIFY2(rec.errors.isEmpty(), qPrintable(rec.errors.join(QLatin1Char('\n'))));
    QCOMPARE(rec.infos, QStringList{QStringLiteral("Indexek újraépítése kész.")});
    QStringList tables;
    for (const QString& s : rec.statuses)
        if (s.startsWith(QStringLiteral("Index készítés: ")))
            tables << s.mid(16);
    QCOMPARE(tables, QStringList({"felvetel.DB", "minoseg.DB", "mufaj.DB", "szereplo.DB",
                                  "tipus.DB", "vk.DB"}));
    QCOMPARE(rec.statuses.last(), QString());
    QCOMPARE(rec.position, 0);

    Database db;
    db.open(folder_);
    Database reference;
    reference.open(reference_);
    for (const char* t : {"felvetel", "minoseg", "mufaj", "szereplo", "tipus", "vk"})
        QCOMPARE(fixture::indexes(db, QLatin1String(t)),
                 fixture::indexes(reference, QLatin1String(t)));
    QCOMPARE(fixture::columns(db, QStringLiteral("mufaj")),
             fixture::columns(reference, QStringLiteral("mufaj")));
    QCOMPARE(fixture::value(
                 db, QStringLiteral(
                         "SELECT group_concat(nev, '|') FROM (SELECT nev FROM mufaj ORDER BY az)")),
             QVariant(QStringLiteral("Dráma|vígjáték")));
    // Only the empty lending flag is filled.
    QCOMPARE(fixture::value(
                 db, QStringLiteral(
                         "SELECT group_concat(kolcsonadva, '') FROM (SELECT kolcsonadva FROM vk "
                         "ORDER BY vk)")),
             QVariant(QStringLiteral("NIN")));
}

void TestRepair::secondRunChangesNothing()
{
    exec(QStringLiteral("CREATE INDEX stray ON vk (megjegyzes)"));
    RunTableRepair(folder_);
    const QString once = fixture::dump(storeFile());
    RunTableRepair(folder_ + QLatin1Char('/'));
    QCOMPARE(fixture::dump(storeFile()), once);
}

void TestRepair::tableInUseIsLeftAsItWas()
{
    exec(QStringLiteral("CREATE INDEX stray ON vk (megjegyzes)"));
    const QString before = fixture::dump(storeFile());

    // Another program reading the store file keeps every table from being rewritten.
    sqlite3* other = nullptr;
    QCOMPARE(sqlite3_open_v2(QFile::encodeName(storeFile()).constData(), &other,
                             SQLITE_OPEN_READONLY, nullptr),
             SQLITE_OK);
    hungarian::registerOn(other);
    sqlite::exec(other, QStringLiteral("BEGIN"));
    {
        sqlite::Statement st(other, QStringLiteral("SELECT count(*) FROM vk"));
        st.step();
    }
    fixture::Recorder rec;
    RunTableRepair(folder_, rec.feedback());
    sqlite3_close_v2(other);

    QVERIFY(rec.errors.size() >= 6);
    const QStringList files{"felvetel.DB", "minoseg.DB", "mufaj.DB",
                            "szereplo.DB", "tipus.DB",   "vk.DB"};
    for (int i = 0; i < 6; ++i) {
        QVERIFY2(rec.errors.at(i).startsWith(QStringLiteral(
                     "A következő file nem törölhető, valószínüleg használatban van:\r\n")),
                 qPrintable(rec.errors.at(i)));
        QVERIFY(rec.errors.at(i).contains(files.at(i)));
    }
    QCOMPARE(rec.infos, QStringList{QStringLiteral("Indexek újraépítése kész.")});
    QCOMPARE(fixture::dump(storeFile()), before);
}

void TestRepair::failedIndexLeavesTableAsItWas()
{
    // A genre table whose name field is gone: its index cannot be built.
    exec(QStringLiteral(
        "DROP INDEX mufaj_idx_nev; ALTER TABLE mufaj DROP COLUMN nev;"
        "CREATE INDEX mufaj_stray ON mufaj (az); CREATE INDEX stray ON vk (megjegyzes);"));
    fixture::Recorder rec;
    RunTableRepair(folder_, rec.feedback());

    QCOMPARE(rec.errors.size(), 1);
    QVERIFY2(rec.errors.first().startsWith(QStringLiteral("Ismeretlen hiba: mufaj.DB\r\n")),
             qPrintable(rec.errors.first()));
    QCOMPARE(rec.infos, QStringList{QStringLiteral("Indexek újraépítése kész.")});
    Database db;
    db.open(folder_);
    QCOMPARE(fixture::indexes(db, QStringLiteral("mufaj")),
             QStringList{QStringLiteral("mufaj_stray(az BINARY)")});
    // The tables after it were rebuilt all the same.
    Database reference;
    reference.open(reference_);
    QCOMPARE(fixture::indexes(db, QStringLiteral("vk")),
             fixture::indexes(reference, QStringLiteral("vk")));
}

void TestRepair::failedIntegrityCheckIsReported()
{
    int page = 0;
    int pageSize = 0;
    {
        Database db;
        db.open(folder_);
        db.exec(QStringLiteral(
            "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 200) "
            "INSERT INTO programok (programok, leiras) SELECT i, printf('%.200c', 'x') FROM n"));
        page = fixture::value(
                   db, QStringLiteral("SELECT rootpage FROM sqlite_master WHERE name='programok'"))
                   .toInt();
        pageSize = fixture::value(db, QStringLiteral("PRAGMA page_size")).toInt();
    }
    // Spoil the program catalogue's root page, a table the repair does not rebuild.
    QFile file(storeFile());
    QVERIFY(file.open(QIODevice::ReadWrite));
    file.seek(qint64(page - 1) * pageSize);
    file.write(QByteArray(16, '\x7f'));
    file.close();

    fixture::Recorder rec;
    RunTableRepair(folder_, rec.feedback());
    QVERIFY(!rec.errors.isEmpty());
    QVERIFY2(rec.errors.last().startsWith(QStringLiteral("Az adatbázis ellenőrzése hibát talált")),
             qPrintable(rec.errors.last()));
    QCOMPARE(rec.infos, QStringList{QStringLiteral("Indexek újraépítése kész.")});
    QVERIFY(!rec.statuses.contains(QStringLiteral("Adatbázis tömörítése")));
}

void TestRepair::folderWithoutStoreIsRefused_data()
{
    QTest::addColumn<bool>("oldTables");
    QTest::addColumn<QString>("message");
    QTest::newRow("an empty folder") << false << "nincs adatbázis";
    QTest::newRow("a folder of the old version") << true << "verzióváltás";
}

void TestRepair::folderWithoutStoreIsRefused()
{
    QFETCH(bool, oldTables);
    QFETCH(QString, message);
    const QString folder = tmp_.filePath(QStringLiteral("nostore-%1").arg(oldTables));
    QDir().mkpath(folder);
    if (oldTables)
        fixture::writeOldFolder(folder);
    QString error;
    try {
        RunTableRepair(folder);
    } catch (const std::exception& e) {
        error = QString::fromUtf8(e.what());
    }
    QVERIFY2(error.contains(message), qPrintable(error));
    QVERIFY(!QFile::exists(QDir(folder).filePath(QLatin1String(Database::FileName))));
}

QTEST_MAIN(TestRepair)
#include "tst_repair.moc"
