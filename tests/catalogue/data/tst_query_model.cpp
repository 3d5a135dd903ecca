#include "catalogue/data/database.h"
#include "catalogue/data/datasetmodel.h"
#include "catalogue/data/query.h"
#include "catalogue/data/table.h"

#include <QAbstractItemModelTester>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

class TestQueryModel : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void init();
    void cleanup();
    void namedParameters();
    void sumOfNoRowsIsNull();
    void quotedStatementsRunAsTheyStand_data();
    void quotedStatementsRunAsTheyStand();
    void errorsAreClear();
    void longResultIsReadAsNeeded();
    void modelFollowsTheTable();
    void modelOverQueryFetchesMore();
    void rowsReadElsewhereReachTheModel();
    void fieldOrderAndLooksSurviveReopening();
    void storedDatesAndTimesRead_data();
    void storedDatesAndTimesRead();

private:
    QTemporaryDir* tmp_ = nullptr;
    Database* db_ = nullptr;
};

void TestQueryModel::init()
{
    tmp_ = new QTemporaryDir;
    db_ = new Database;
    db_->open(tmp_->path());
    db_->exec(QStringLiteral(
        "INSERT INTO tipus (nev) VALUES ('VHS');"
        "INSERT INTO mufaj (nev) VALUES ('Dráma'), (NULL);"
        "INSERT INTO vk (vk, azonosito, hossz, szabad, tipus, kolcsonadva) VALUES (1,'00001',180,180,1,'N'),"
        " (2,'00002',240,240,1,'N');"
        "INSERT INTO felvetel (vk, felvetel, cim, hossz, mufaj, szereplok, rendezte) VALUES"
        " (1,1,'Egy',60,1,'Kovács Béla, Nagy Éva','O''Neil'), (1,2,'Kettő',45,2,NULL,NULL);"));
}

void TestQueryModel::cleanup()
{
    delete db_;
    delete tmp_;
}

void TestQueryModel::namedParameters()
{
    Query q(*db_, QStringLiteral("SELECT\n  felvetel.vk,\n  SUM(felvetel.hossz) AS osszhossz\nFROM felvetel\n"
                                 "WHERE vk=:pvk\nGROUP BY vk;"));
    q.setParam(QStringLiteral("PVK"), 1);
    q.open();
    QCOMPARE(q.value(QStringLiteral("osszhossz")).toInt(), 105);
    QCOMPARE(q.fieldByName(QStringLiteral("osszhossz")).kind, FieldKind::Integer);
    QCOMPARE(q.fieldByName(QStringLiteral("vk")).kind, FieldKind::Integer);
}

void TestQueryModel::sumOfNoRowsIsNull()
{
    Query q(*db_, QStringLiteral("SELECT felvetel.vk, SUM(felvetel.hossz) AS osszhossz FROM felvetel "
                                 "WHERE vk=:pvk GROUP BY vk;"));
    q.setParam(QStringLiteral("pvk"), 2);
    q.open();
    QVERIFY(q.isEmpty());
    QVERIFY(q.value(QStringLiteral("osszhossz")).isNull());
}

void TestQueryModel::quotedStatementsRunAsTheyStand_data()
{
    QTest::addColumn<QString>("sql");
    QTest::addColumn<int>("rows");
    QTest::newRow("genre list") << "SELECT az,nev FROM mufaj WHERE nev IS NOT NULL ORDER BY 2;" << 1;
    QTest::newRow("director list") << "SELECT DISTINCT rendezte FROM felvetel WHERE rendezte IS NOT NULL ORDER BY 1;"
                                   << 1;
    QTest::newRow("browser join") << "SELECT vk.vk,vk.azonosito,felvetel.felvetel,felvetel.szamlalo_tol,"
                                     "felvetel.szamlalo_ig,\n felvetel.cim,felvetel.hossz AS felvhossz,"
                                     "felvetel.datum,vk.hossz,\n vk.szabad,mufaj.nev AS mufaj_nev,tipus.nev AS "
                                     "tipus_nev,\n minoseg.nev AS minoseg_nev,felvetel.rendezte,felvetel.szereplok,"
                                     "\n vk.tipus,felvetel.minoseg,felvetel.mufaj,felvetel.megjegyzes\nFROM vk\n"
                                     " LEFT OUTER JOIN felvetel ON (vk.vk=felvetel.vk)\n LEFT OUTER JOIN tipus ON "
                                     "(vk.tipus=tipus.az)\n LEFT OUTER JOIN mufaj ON (felvetel.mufaj=mufaj.az)\n"
                                     " LEFT OUTER JOIN minoseg ON (felvetel.minoseg=minoseg.az)\nWHERE "
                                     "(UPPER(felvetel.szereplok) LIKE '%KOVÁCS%')\nORDER BY 1;"
                                  << 1;
    QTest::newRow("empty cassette joins as one row")
        << "SELECT vk.vk, felvetel.cim FROM vk LEFT OUTER JOIN felvetel ON (vk.vk=felvetel.vk) WHERE vk.vk=2;" << 1;
}

void TestQueryModel::quotedStatementsRunAsTheyStand()
{
    QFETCH(QString, sql);
    QFETCH(int, rows);
    Query q(*db_, sql);
    q.open();
    QCOMPARE(q.recordCount(), rows);
}

void TestQueryModel::errorsAreClear()
{
    Query q(*db_, QStringLiteral("SELECT nincs FROM vk"));
    try {
        q.open();
        QFAIL("must fail");
    } catch (const DbError& e) {
        QVERIFY2(e.message().contains(QStringLiteral("nincs")), qPrintable(e.message()));
    }
    QVERIFY(!q.isActive());
    // A double-quoted name that is no column is an error, not a text constant.
    Query quoted(*db_, QStringLiteral("SELECT \"nincs\" FROM vk"));
    QVERIFY_THROWS_EXCEPTION(DbError, quoted.open());
    Query ins(*db_, QStringLiteral("INSERT INTO vk (vk) VALUES (1)"));
    try {
        ins.execSql();
        QFAIL("must fail");
    } catch (const DbError& e) {
        QVERIFY2(e.message().startsWith(QStringLiteral("Kulcs megsértése")), qPrintable(e.message()));
    }
}

void TestQueryModel::longResultIsReadAsNeeded()
{
    {
        Transaction tx(*db_);
        Query ins(*db_, QStringLiteral("INSERT INTO szereplo (nev) VALUES (:n)"));
        for (int i = 0; i < 1000; ++i) {
            ins.setParam(QStringLiteral("n"), QStringLiteral("Név %1").arg(i));
            ins.execSql();
        }
        tx.commit();
    }
    Query q(*db_, QStringLiteral("SELECT nev FROM szereplo ORDER BY az"));
    q.open();
    QVERIFY(q.availableRows() < 1000);
    QVERIFY(q.canFetchMore());
    q.moveTo(600);
    QCOMPARE(q.value(0).toString(), QStringLiteral("Név 600"));
    QCOMPARE(q.recordCount(), 1000);
    QVERIFY(!q.canFetchMore());
}

void TestQueryModel::modelFollowsTheTable()
{
    Table vk(*db_, QStringLiteral("vk"));
    vk.setOrderBy(QStringLiteral("azonosito"));
    vk.open();
    DataSetModel model(&vk);
    QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::QtTest);
    model.setColumns({QStringLiteral("kolcsonadva"), QStringLiteral("vk"), QStringLiteral("hossz"),
                      QStringLiteral("szabad"), QStringLiteral("tipus_nev")});
    QCOMPARE(model.columnCount(), 5);
    QCOMPARE(model.rowCount(), 2);
    QCOMPARE(model.headerData(4, Qt::Horizontal).toString(), QStringLiteral("típus"));
    QCOMPARE(model.data(model.index(1, 1)).toString(), QStringLiteral("00002"));

    QSignalSpy changed(&model, &QAbstractItemModel::dataChanged);
    vk.moveTo(1);
    vk.edit();
    vk.setValue(QStringLiteral("szabad"), 10);
    vk.post();
    QCOMPARE(changed.count(), 1);
    QCOMPARE(model.data(model.index(1, 3)).toString(), QStringLiteral("10"));

    vk.insert();
    vk.setValue(QStringLiteral("vk"), 3);
    vk.setValue(QStringLiteral("azonosito"), QStringLiteral("00003"));
    vk.post();
    QCOMPARE(model.rowCount(), 3);
    vk.first();
    vk.deleteRow();
    QCOMPARE(model.rowCount(), 2);
    QCOMPARE(model.data(model.index(0, 1)).toString(), QStringLiteral("00002"));
    db_->exec(QStringLiteral("DELETE FROM vk"));
    QCOMPARE(model.rowCount(), 0);
    vk.close();
    QCOMPARE(model.rowCount(), 0);
}

void TestQueryModel::modelOverQueryFetchesMore()
{
    db_->exec(QStringLiteral("WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i+1 FROM n WHERE i<3000) "
                             "INSERT INTO szereplo (nev) SELECT 'Szereplő ' || i FROM n"));
    Query q(*db_, QStringLiteral("SELECT az, nev FROM szereplo ORDER BY az"));
    q.open();
    DataSetModel model(&q);
    QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::QtTest);
    QVERIFY(model.rowCount() < 3000);
    while (model.canFetchMore(QModelIndex()))
        model.fetchMore(QModelIndex());
    QCOMPARE(model.rowCount(), 3000);
    QCOMPARE(model.data(model.index(2999, 1)).toString(), QStringLiteral("Szereplő 3000"));
}

void TestQueryModel::rowsReadElsewhereReachTheModel()
{
    db_->exec(QStringLiteral("WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i+1 FROM n WHERE i<3000) "
                             "INSERT INTO szereplo (nev) SELECT 'Szereplő ' || i FROM n"));
    Query q(*db_, QStringLiteral("SELECT az, nev FROM szereplo ORDER BY az"));
    q.open();
    DataSetModel model(&q);
    QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::QtTest);
    // A search or an export reads to the end; the grid must be able to show row 2999 at once.
    q.moveTo(2999);
    QCOMPARE(model.rowCount(), 3000);
    QCOMPARE(model.data(model.index(2999, 1)).toString(), QStringLiteral("Szereplő 3000"));
    while (model.canFetchMore(QModelIndex()))
        model.fetchMore(QModelIndex());
    QCOMPARE(model.rowCount(), 3000);
}

void TestQueryModel::fieldOrderAndLooksSurviveReopening()
{
    Query q(*db_, QStringLiteral("SELECT cim, felvetel, vk, upper(cim) AS nagy, datum FROM felvetel ORDER BY felvetel"));
    q.setFieldOrder({QStringLiteral("vk"), QStringLiteral("felvetel")});
    q.setFieldLook(QStringLiteral("felvetel"), QStringLiteral("track"), QStringLiteral("00"));
    for (int round = 0; round < 2; ++round) {
        q.close();
        q.open();
        QStringList names;
        for (const Field& f : q.fields())
            names << f.name;
        QCOMPARE(names, (QStringList{"vk", "felvetel", "cim", "nagy", "datum"}));
        QCOMPARE(q.field(1).displayLabel, QStringLiteral("track"));
        QCOMPARE(q.displayTextAt(1, 1), QStringLiteral("02"));
        QCOMPARE(q.valueAt(1, 2).toString(), QStringLiteral("Kettő"));
        // Computed text is text (exports write it), not a large object.
        QCOMPARE(q.field(3).kind, FieldKind::Alpha);
        QCOMPARE(q.valueAt(1, 3).toString(), QStringLiteral("KETTŐ"));
    }
}

void TestQueryModel::storedDatesAndTimesRead_data()
{
    QTest::addColumn<QString>("column");
    QTest::addColumn<QString>("stored");
    QTest::addColumn<QVariant>("read");
    QTest::newRow("date") << "datum" << "2026-01-05" << QVariant(QDate(2026, 1, 5));
    QTest::newRow("date with time") << "datum" << "2026-01-05 10:00" << QVariant(QDate(2026, 1, 5));
    QTest::newRow("no such day") << "datum" << "2026-02-30" << QVariant(QStringLiteral("2026-02-30"));
    QTest::newRow("not a date") << "datum" << "tegnap" << QVariant(QStringLiteral("tegnap"));
    QTest::newRow("time") << "szamlalo_tol" << "01:02:03" << QVariant(QTime(1, 2, 3));
    QTest::newRow("time with ms") << "szamlalo_tol" << "01:02:03.500" << QVariant(QTime(1, 2, 3, 500));
    QTest::newRow("no such time") << "szamlalo_tol" << "25:00:00" << QVariant(QStringLiteral("25:00:00"));
}

void TestQueryModel::storedDatesAndTimesRead()
{
    QFETCH(QString, column);
    QFETCH(QString, stored);
    QFETCH(QVariant, read);
    Query update(*db_, QStringLiteral("UPDATE felvetel SET %1=:v WHERE felvetel=1").arg(column));
    update.setParam(QStringLiteral("v"), stored);
    update.execSql();
    Query q(*db_, QStringLiteral("SELECT %1 FROM felvetel WHERE felvetel=1").arg(column));
    q.open();
    QCOMPARE(q.value(column), read);
}

QTEST_GUILESS_MAIN(TestQueryModel)
#include "tst_query_model.moc"
