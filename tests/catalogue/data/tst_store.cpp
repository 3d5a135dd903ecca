#include "catalogue/data/database.h"
#include "catalogue/data/hungarian.h"
#include "catalogue/data/query.h"
#include "catalogue/data/schema.h"

#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

class TestStore : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void freshFolderGetsFullStructure();
    void existingStoreIsKept();
    void unusableFolderRaisesClearError_data();
    void unusableFolderRaisesClearError();
    void exclusiveLockExcludesOthers();
    void hungarianOrder();
    void unicodeUpperLowerLike_data();
    void unicodeUpperLowerLike();
    void transactionRollsBackAsOne();
};

void TestStore::freshFolderGetsFullStructure()
{
    QTemporaryDir tmp;
    const QString folder = tmp.filePath(QStringLiteral("uj/Data"));
    Database db;
    db.open(folder);
    QVERIFY(QFile::exists(folder + QStringLiteral("/zelmo.sqlite")));
    QCOMPARE(db.tableNames(),
             QStringList({"felvetel", "minoseg", "mufaj", "programok", "szereplo", "tipus", "vk"}));

    const TableStructure vk = db.structure(QStringLiteral("vk.DB"));
    QCOMPARE(vk.primaryKey, QStringList{"vk"});
    QStringList decl;
    for (const ColumnInfo& c : vk.columns)
        decl << c.name + QLatin1Char(' ') + c.declType;
    QCOMPARE(decl, QStringList({"vk INTEGER", "azonosito CHAR(10)", "hossz INTEGER", "szabad INTEGER",
                                "megjegyzes CHAR(255)", "tipus INTEGER", "kolcsonadva CHAR(1)", "dat_kolcs DATE",
                                "kinek CHAR(50)", "tipus_nev CHAR(25)"}));

    const TableStructure f = db.structure(QStringLiteral("felvetel"));
    QCOMPARE(f.primaryKey, QStringList({"vk", "felvetel"}));
    QStringList idx;
    for (const IndexInfo& i : f.indexes)
        if (!i.name.startsWith(QLatin1String("sqlite_")))
            idx << i.name + QLatin1Char(':') + i.columns.join(QLatin1Char(','));
    idx.sort();
    QCOMPARE(idx, QStringList({"felvetel_idx_cim:cim", "felvetel_idx_datum:datum", "felvetel_idx_felvetel:felvetel",
                               "felvetel_idx_hossz:hossz", "felvetel_idx_szamlalo_ig:szamlalo_ig",
                               "felvetel_idx_szamlalo_tol:szamlalo_tol"}));
    for (const char* m : {"tipus", "mufaj", "minoseg", "szereplo"}) {
        const TableStructure s = db.structure(QLatin1String(m));
        QVERIFY(s.hasAutoIncrement);
        QCOMPARE(s.indexes.first().name, QLatin1String(m) + QStringLiteral("_idx_nev"));
    }
    QCOMPARE(db.structure(QStringLiteral("programok")).indexes.size(), 3);
}

void TestStore::existingStoreIsKept()
{
    QTemporaryDir tmp;
    {
        Database db;
        db.open(tmp.path());
        db.exec(QStringLiteral("INSERT INTO tipus (nev) VALUES ('VHS')"));
    }
    Database db;
    db.open(tmp.path());
    Query q(db, QStringLiteral("SELECT nev FROM tipus"));
    q.open();
    QCOMPARE(q.value(QStringLiteral("nev")).toString(), QStringLiteral("VHS"));
}

void TestStore::unusableFolderRaisesClearError_data()
{
    QTest::addColumn<QString>("kind");
    QTest::newRow("a file stands where the folder should be") << "file";
    QTest::newRow("the store file is not a database") << "garbage";
    QTest::newRow("no folder given") << "empty";
}

void TestStore::unusableFolderRaisesClearError()
{
    QFETCH(QString, kind);
    QTemporaryDir tmp;
    QString folder = tmp.filePath(QStringLiteral("adat"));
    if (kind == QLatin1String("file")) {
        QFile f(folder);
        QVERIFY(f.open(QIODevice::WriteOnly));
    } else if (kind == QLatin1String("garbage")) {
        QDir().mkpath(folder);
        QFile f(folder + QStringLiteral("/zelmo.sqlite"));
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(QByteArray(4096, 'x'));
    } else {
        folder.clear();
    }
    Database db;
    try {
        db.open(folder);
        QFAIL("open should fail");
    } catch (const DbError& e) {
        QVERIFY2(!e.message().isEmpty(), qPrintable(e.message()));
        if (!folder.isEmpty())
            QVERIFY2(e.message().contains(QStringLiteral("adat")), qPrintable(e.message()));
    }
    QVERIFY(!db.isOpen());
    if (kind == QLatin1String("garbage"))
        QCOMPARE(QFileInfo(folder + QStringLiteral("/zelmo.sqlite")).size(), 4096);
}

void TestStore::exclusiveLockExcludesOthers()
{
    QTemporaryDir tmp;
    Database catalogue;
    catalogue.open(tmp.path(), Database::LockMode::Shared);
    Database second;
    second.open(tmp.path(), Database::LockMode::Shared); // readers share
    second.close();

    Database maintenance;
    QVERIFY_THROWS_EXCEPTION(DbError, maintenance.open(tmp.path(), Database::LockMode::Exclusive));
    catalogue.close();
    maintenance.open(tmp.path(), Database::LockMode::Exclusive);
    QVERIFY_THROWS_EXCEPTION(DbError, catalogue.open(tmp.path(), Database::LockMode::Shared));
}

void TestStore::hungarianOrder()
{
    QTemporaryDir tmp;
    Database db;
    db.open(tmp.path());
    const QStringList names{"zebra", "Őz", "öt", "ÉVA", "Béla", "alma", "Ágnes"};
    for (const QString& n : names) {
        Query ins(db, QStringLiteral("INSERT INTO tipus (nev) VALUES (:n)"));
        ins.setParam(QStringLiteral("n"), n);
        ins.execSql();
    }
    Query q(db, QStringLiteral("SELECT nev FROM tipus ORDER BY 1"));
    q.open();
    QStringList got;
    for (q.first(); !q.eof(); q.next())
        got << q.value(0).toString();
    QCOMPARE(got, QStringList({"Ágnes", "alma", "Béla", "ÉVA", "öt", "Őz", "zebra"}));

    // Letter case alone does not make two names differ.
    Query eq(db, QStringLiteral("SELECT count(*) FROM tipus WHERE nev='ZEBRA'"));
    eq.open();
    QCOMPARE(eq.value(0).toInt(), 1);
    QVERIFY(hungarian::compare(QStringLiteral("cukor"), QStringLiteral("csiga")) < 0);

    // Every word beginning with a letter sorts below the bound a prefix search uses.
    const QStringList words{"Csoda", "cukor", "Dzsungel", "Ödön", "őz", "Ostor", "Óra", "Üst", "Űr", "uborka",
                            "Gyula", "Nyúl", "Szél", "Tyúk", "Ábel", "9 és fél", "Zsuzsa"};
    for (const QString& w : words) {
        const QString bound = hungarian::prefixUpperBound(w.left(1));
        if (!bound.isEmpty())
            QVERIFY2(hungarian::compare(w, bound) < 0, qPrintable(w + QStringLiteral(" < ") + bound));
        QVERIFY(hungarian::compare(w, w.left(1)) >= 0);
    }
    QCOMPARE(hungarian::prefixUpperBound(QStringLiteral("ó")), QStringLiteral("ö"));
    QCOMPARE(hungarian::prefixUpperBound(QStringLiteral("z")), QString());
    QCOMPARE(hungarian::prefixUpperBound(QStringLiteral("-")), QString());
}

void TestStore::unicodeUpperLowerLike_data()
{
    QTest::addColumn<QString>("sql");
    QTest::addColumn<QVariant>("expected");
    QTest::newRow("upper folds accents") << "SELECT upper('Kovács Őrs')" << QVariant(QStringLiteral("KOVÁCS ŐRS"));
    QTest::newRow("lower folds accents") << "SELECT lower('ÁRVÍZTŰRŐ')" << QVariant(QStringLiteral("árvíztűrő"));
    QTest::newRow("like ignores case of accents") << "SELECT 'Kovács Béla' LIKE '%KOVÁCS%'" << QVariant(1);
    QTest::newRow("like underscore") << "SELECT 'Éva' LIKE '_va'" << QVariant(1);
    QTest::newRow("like no match") << "SELECT 'Nagy Éva' LIKE '%kovács%'" << QVariant(0);
    QTest::newRow("like escape") << "SELECT '100%' LIKE '100!%' ESCAPE '!'" << QVariant(1);
    QTest::newRow("upper of null") << "SELECT upper(NULL)" << QVariant();
}

void TestStore::unicodeUpperLowerLike()
{
    QFETCH(QString, sql);
    QFETCH(QVariant, expected);
    QTemporaryDir tmp;
    Database db;
    db.open(tmp.path());
    Query q(db, sql);
    q.open();
    QCOMPARE(q.value(0), expected);
}

void TestStore::transactionRollsBackAsOne()
{
    QTemporaryDir tmp;
    Database db;
    db.open(tmp.path());
    {
        Transaction tx(db);
        db.exec(QStringLiteral("INSERT INTO vk (vk, azonosito) VALUES (1, '00001')"));
        db.exec(QStringLiteral("INSERT INTO felvetel (vk, felvetel) VALUES (1, 1)"));
        // leaving the scope without commit
    }
    Query q(db, QStringLiteral("SELECT (SELECT count(*) FROM vk) + (SELECT count(*) FROM felvetel)"));
    q.open();
    QCOMPARE(q.value(0).toInt(), 0);
    {
        Transaction tx(db);
        db.exec(QStringLiteral("INSERT INTO vk (vk, azonosito) VALUES (1, '00001')"));
        tx.commit();
    }
    q.close();
    q.open();
    QCOMPARE(q.value(0).toInt(), 1);
}

QTEST_GUILESS_MAIN(TestStore)
#include "tst_store.moc"
