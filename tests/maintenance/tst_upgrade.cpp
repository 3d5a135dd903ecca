#include "fixtures.h"

#include "maintenance/paradoxwriter.h"
#include "maintenance/upgrade.h"

#include "catalogue/data/database.h"
#include "catalogue/data/schema.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

#include <sqlite3.h>

class TestUpgrade : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void initTestCase();
    void upgradedStoreHasCurrentStructure();
    void upgradedValues_data();
    void upgradedValues();
    void oldFilesAreOnlyRead();
    void reportsProgressAndEnds();
    void secondRunChangesNothing();
    void currentStoreChangesNothing();
    void onlyMissingFieldsAreAdded();
    void fieldThatCannotBeAddedIsNoSuccess();
    void oldFolderWithoutProgramCatalogue();
    void damagedOldFolderLeavesNoStore_data();
    void damagedOldFolderLeavesNoStore();
    void folderWithoutDataIsRefused();
    void dosCodePageIsRead();

private:
    QString newFolder(const QString& name);

    QTemporaryDir tmp_;
    QString upgraded_;
    QString fresh_;
    QMap<QString, QByteArray> oldSums_;
    fixture::Recorder recorded_;
};

QString TestUpgrade::newFolder(const QString& name)
{
    const QString path = tmp_.filePath(name);
    QDir().mkpath(path);
    return path;
}

void TestUpgrade::initTestCase()
{
    QVERIFY(tmp_.isValid());
    fresh_ = newFolder(QStringLiteral("fresh"));
    Database db;
    db.open(fresh_);

    upgraded_ = newFolder(QStringLiteral("old"));
    fixture::writeOldFolder(upgraded_);
    oldSums_ = fixture::checksums(upgraded_);
    RunVersionUpgrade(upgraded_, recorded_.feedback());
}

void TestUpgrade::upgradedStoreHasCurrentStructure()
{
    Database db;
    db.open(upgraded_);
    Database reference;
    reference.open(fresh_);
    QCOMPARE(db.tableNames(), reference.tableNames());
    for (const schema::TableDef& t : schema::tables()) {
        QCOMPARE(fixture::columns(db, t.name), fixture::columns(reference, t.name));
        QCOMPARE(fixture::indexes(db, t.name), fixture::indexes(reference, t.name));
    }
}

void TestUpgrade::upgradedValues_data()
{
    QTest::addColumn<QString>("sql");
    QTest::addColumn<QVariant>("expected");
    const auto row = [](const char* name, const char* sql, const QVariant& v) {
        QTest::newRow(name) << QString::fromUtf8(sql) << v;
    };
    row("a remark longer than 255 characters is cut", "SELECT megjegyzes FROM vk WHERE vk=1",
        fixture::longRemark().left(255));
    row("a remark that filled the record", "SELECT megjegyzes FROM vk WHERE vk=2",
        QStringLiteral("Rövid megjegyzés ő ű"));
    row("a recording's remark from a block of its own",
        "SELECT megjegyzes FROM felvetel WHERE vk=2", QString(255, QChar(u'ő')));
    row("empty values stay empty",
        "SELECT count(*) FROM vk WHERE vk=3 AND hossz IS NULL AND szabad IS NULL AND megjegyzes IS "
        "NULL",
        1);
    row("a negative number", "SELECT szabad FROM vk WHERE vk=2", -15);
    row("every cassette not lent", "SELECT group_concat(kolcsonadva, '') FROM vk",
        QStringLiteral("NNN"));
    row("the type's name", "SELECT tipus_nev FROM vk WHERE vk=1", QStringLiteral("VHS-C Ősz"));
    row("no name for an unknown type", "SELECT count(*) FROM vk WHERE vk=3 AND tipus_nev IS NULL",
        1);
    row("no loans", "SELECT count(*) FROM vk WHERE dat_kolcs IS NOT NULL OR kinek IS NOT NULL", 0);
    row("Windows-1250 text", "SELECT cim FROM felvetel WHERE vk=1 AND felvetel=1",
        QStringLiteral("Árvíztűrő tükörfúrógép"));
    row("a date", "SELECT datum FROM felvetel WHERE vk=1 AND felvetel=1",
        QStringLiteral("1998-12-24"));
    row("a counter at midnight", "SELECT szamlalo_tol FROM felvetel WHERE vk=1 AND felvetel=1",
        QStringLiteral("00:00:00"));
    row("a time with seconds", "SELECT szamlalo_tol FROM felvetel WHERE vk=2",
        QStringLiteral("01:02:03"));
    row("empty date and times",
        "SELECT count(*) FROM felvetel WHERE vk=1 AND felvetel=2 AND datum IS NULL AND "
        "szamlalo_tol IS NULL "
        "AND szamlalo_ig IS NULL AND megjegyzes IS NULL",
        1);
    row("master data in order",
        "SELECT group_concat(nev, '|') FROM (SELECT nev FROM szereplo ORDER BY az)",
        QStringLiteral("Kovács Éva|Nagy Ödön"));
    row("new types are numbered after the old ones",
        "SELECT group_concat(seq) FROM sqlite_sequence WHERE name='tipus'", QStringLiteral("5"));
    row("a large picture", "SELECT kep FROM programok WHERE programok=1", fixture::jpeg(true));
    row("a small picture", "SELECT kep FROM programok WHERE programok=2", fixture::jpeg(false));
    row("no picture", "SELECT count(*) FROM programok WHERE programok=3 AND kep IS NULL", 1);
    row("every row",
        "SELECT (SELECT count(*) FROM vk)||(SELECT count(*) FROM felvetel)||(SELECT count(*) FROM "
        "tipus)||"
        "(SELECT count(*) FROM mufaj)||(SELECT count(*) FROM minoseg)||(SELECT count(*) FROM "
        "szereplo)||"
        "(SELECT count(*) FROM programok)",
        QStringLiteral("3322123"));
}

void TestUpgrade::upgradedValues()
{
    QFETCH(QString, sql);
    QFETCH(QVariant, expected);
    Database db;
    db.open(upgraded_);
    QCOMPARE(fixture::value(db, sql), expected);
}

void TestUpgrade::oldFilesAreOnlyRead()
{
    QMap<QString, QByteArray> after = fixture::checksums(upgraded_);
    after.remove(QLatin1String(Database::FileName));
    after.remove(QLatin1String(Database::LockFileName));
    after.remove(QLatin1String(Database::FileName) + QStringLiteral("-journal")); // the store's own
    QCOMPARE(after, oldSums_);
}

void TestUpgrade::reportsProgressAndEnds()
{
    QVERIFY(recorded_.statuses.contains(QStringLiteral("Régi tábla átvétele: felvetel.DB")));
    QVERIFY(recorded_.statuses.contains(QStringLiteral("Mezők ellenőrzése")));
    QCOMPARE(recorded_.statuses.last(), QString());
    QCOMPARE(recorded_.maximum, 7);
    QCOMPARE(recorded_.position, 0);
    QCOMPARE(recorded_.infos, QStringList{QStringLiteral("Verzióváltás kész")});
    QVERIFY(recorded_.errors.isEmpty());
}

void TestUpgrade::secondRunChangesNothing()
{
    const QString folder = newFolder(QStringLiteral("twice"));
    fixture::writeOldFolder(folder);
    RunVersionUpgrade(folder);
    const QString once = fixture::dump(QDir(folder).filePath(QLatin1String(Database::FileName)));
    // The path as a user may type it, with a separator at the end.
    RunVersionUpgrade(folder + QLatin1Char('/'));
    QCOMPARE(fixture::dump(QDir(folder).filePath(QLatin1String(Database::FileName))), once);
}

void TestUpgrade::currentStoreChangesNothing()
{
    const QString folder = newFolder(QStringLiteral("current"));
    {
        Database db;
        db.open(folder);
        db.exec(QStringLiteral(
            "INSERT INTO tipus (nev) VALUES ('VHS'); "
            "INSERT INTO vk (vk, azonosito, megjegyzes, tipus, kolcsonadva, tipus_nev) "
            "VALUES (1, '00001', 'Saját', 1, 'I', 'VHS')"));
    }
    const QString file = QDir(folder).filePath(QLatin1String(Database::FileName));
    const QString before = fixture::dump(file);
    fixture::Recorder rec;
    RunVersionUpgrade(folder, rec.feedback());
    QCOMPARE(fixture::dump(file), before);
    QCOMPARE(rec.infos, QStringList{QStringLiteral("Verzióváltás kész")});
}

void TestUpgrade::onlyMissingFieldsAreAdded()
{
    const QString folder = newFolder(QStringLiteral("no-kinek"));
    {
        Database db;
        db.open(folder);
        db.exec(QStringLiteral("INSERT INTO tipus (nev) VALUES ('VHS'); "
                               "INSERT INTO vk (vk, megjegyzes, tipus, kolcsonadva, tipus_nev) "
                               "VALUES (1, 'x', 1, 'I', 'Saját'); "
                               "ALTER TABLE vk DROP COLUMN kinek"));
    }
    RunVersionUpgrade(folder);
    Database db;
    db.open(folder);
    Database reference;
    reference.open(fresh_);
    QCOMPARE(fixture::columns(db, QStringLiteral("vk")),
             fixture::columns(reference, QStringLiteral("vk")));
    // The statements of the fields that were there did not run again.
    QCOMPARE(fixture::value(db, QStringLiteral("SELECT kolcsonadva || tipus_nev FROM vk")),
             QStringLiteral("ISaját"));
}

void TestUpgrade::fieldThatCannotBeAddedIsNoSuccess()
{
    const QString folder = newFolder(QStringLiteral("cannot-add"));
    {
        Database db;
        db.open(folder);
        db.exec(QStringLiteral("ALTER TABLE vk DROP COLUMN kinek"));
    }
    // Another program writing the store file: the ALTER cannot run.
    sqlite3* other = nullptr;
    QCOMPARE(
        sqlite3_open_v2(
            QFile::encodeName(QDir(folder).filePath(QLatin1String(Database::FileName))).constData(),
            &other, SQLITE_OPEN_READWRITE, nullptr),
        SQLITE_OK);
    sqlite3_exec(other, "BEGIN IMMEDIATE", nullptr, nullptr, nullptr);
    fixture::Recorder rec;
    QString message;
    try {
        RunVersionUpgrade(folder, rec.feedback());
    } catch (const std::exception& e) {
        message = QString::fromUtf8(e.what());
    }
    sqlite3_close_v2(other);
    QVERIFY2(message.contains(QStringLiteral("kinek")), qPrintable(message));
    QVERIFY(rec.infos.isEmpty());
}

void TestUpgrade::oldFolderWithoutProgramCatalogue()
{
    const QString folder = newFolder(QStringLiteral("no-programok"));
    fixture::writeOldFolder(folder);
    QVERIFY(QFile::remove(QDir(folder).filePath(QStringLiteral("programok.DB"))));
    QVERIFY(QFile::remove(QDir(folder).filePath(QStringLiteral("programok.MB"))));
    RunVersionUpgrade(folder);
    Database db;
    db.open(folder);
    Database reference;
    reference.open(fresh_);
    QCOMPARE(fixture::columns(db, QStringLiteral("programok")),
             fixture::columns(reference, QStringLiteral("programok")));
    QCOMPARE(fixture::indexes(db, QStringLiteral("programok")),
             fixture::indexes(reference, QStringLiteral("programok")));
    QCOMPARE(fixture::value(db, QStringLiteral("SELECT count(*) FROM programok")), QVariant(0));
}

void TestUpgrade::damagedOldFolderLeavesNoStore_data()
{
    QTest::addColumn<QString>("damage");
    QTest::addColumn<QString>("named");
    QTest::newRow("a table cut short") << "cut felvetel.DB"
                                       << "felvetel.DB";
    QTest::newRow("not a table at all") << "garble vk.DB"
                                        << "vk.DB";
    QTest::newRow("the memo file missing") << "remove vk.MB"
                                           << "vk.DB";
    QTest::newRow("a memo pointing past its file") << "cut vk.MB"
                                                   << "vk.MB";
    QTest::newRow("a table missing") << "remove szereplo.DB"
                                     << "szereplo.DB";
}

void TestUpgrade::damagedOldFolderLeavesNoStore()
{
    QFETCH(QString, damage);
    QFETCH(QString, named);
    static int count = 0;
    const QString folder = newFolder(QStringLiteral("damaged%1").arg(++count));
    fixture::writeOldFolder(folder);
    const QString action = damage.section(QLatin1Char(' '), 0, 0);
    QFile file(QDir(folder).filePath(damage.section(QLatin1Char(' '), 1)));
    if (action == QLatin1String("cut"))
        QVERIFY(file.resize(file.fileName().endsWith(QLatin1String(".MB")) ? 4096 : 2100));
    else if (action == QLatin1String("remove"))
        QVERIFY(file.remove());
    else if (action == QLatin1String("garble")) {
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(QByteArray(3000, '\x5a'));
        file.close();
    }
    const QMap<QString, QByteArray> before = fixture::checksums(folder);

    QString message;
    try {
        RunVersionUpgrade(folder);
    } catch (const std::exception& e) {
        message = QString::fromUtf8(e.what());
    }
    QVERIFY2(message.contains(named), qPrintable(message));
    QMap<QString, QByteArray> after = fixture::checksums(folder);
    after.remove(QLatin1String(Database::LockFileName));
    QCOMPARE(after, before); // no store, no half-built file, old files as they were
}

void TestUpgrade::folderWithoutDataIsRefused()
{
    const QString folder = newFolder(QStringLiteral("empty"));
    QString message;
    try {
        RunVersionUpgrade(folder);
    } catch (const std::exception& e) {
        message = QString::fromUtf8(e.what());
    }
    QVERIFY2(message.contains(QStringLiteral("nincs adatbázis")), qPrintable(message));
    QVERIFY(!QFile::exists(QDir(folder).filePath(QLatin1String(Database::FileName))));
}

void TestUpgrade::dosCodePageIsRead()
{
    const QString folder = newFolder(QStringLiteral("dos"));
    fixture::writeOldFolder(folder);
    {
        paradox::TableWriter t(QDir(folder).filePath(QStringLiteral("tipus.DB")),
                               {{QStringLiteral("az"), paradox::AutoInc, 4},
                                {QStringLiteral("nev"), paradox::Alpha, 25}},
                               1, 852);
        t.append({1, QStringLiteral("Őszi ünnepek")});
    }
    RunVersionUpgrade(folder);
    Database db;
    db.open(folder);
    QCOMPARE(fixture::value(db, QStringLiteral("SELECT nev FROM tipus")),
             QVariant(QStringLiteral("Őszi ünnepek")));
    QCOMPARE(fixture::value(db, QStringLiteral("SELECT tipus_nev FROM vk WHERE vk=1")),
             QVariant(QStringLiteral("Őszi ünnepek")));
}

QTEST_MAIN(TestUpgrade)
#include "tst_upgrade.moc"
