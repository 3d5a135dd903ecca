#include "catalogue/data/database.h"
#include "catalogue/data/query.h"
#include "catalogue/data/table.h"

#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

// A small catalogue: five cassettes (one lent), recordings on two of them.
class TestTable : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void init();
    void cleanup();
    void fieldsInPresentationOrder();
    void orderAndPosition();
    void orderByFieldWithoutIndexIsRefused();
    void filterRestrictsToOneCassette();
    void locate_data();
    void locate();
    void editPostCommitsAndKeepsRow();
    void insertPostsAndMovesToNewRow();
    void cancelRestoresValues();
    void deleteMovesToNextRow();
    void duplicateKeyIsRefusedInHungarian();
    void emptyKeyIsRefused();
    void alphaIsCutToItsSize();
    void lookupAndCalculatedFields();
    void displayFormats_data();
    void displayFormats();
    void otherWritersRefreshTheTable();
    void transactionTellsTheListsOnceAtItsEnd();
    void emptyTableOperations();

private:
    QTemporaryDir* tmp_ = nullptr;
    Database* db_ = nullptr;
};

void TestTable::init()
{
    tmp_ = new QTemporaryDir;
    db_ = new Database;
    db_->open(tmp_->path());
    db_->exec(QStringLiteral(
        "INSERT INTO tipus (nev) VALUES ('VHS'), ('S-VHS');"
        "INSERT INTO minoseg (nev) VALUES ('jó'), ('gyenge');"
        "INSERT INTO mufaj (nev) VALUES ('dráma');"
        "INSERT INTO vk VALUES (1,'00001',180,75,'első',1,'N',NULL,NULL,'VHS');"
        "INSERT INTO vk VALUES (2,'00002',240,240,NULL,2,'I','2026-03-01','KOVÁCS','S-VHS');"
        "INSERT INTO vk VALUES (3,'00003',120,120,NULL,1,'N',NULL,NULL,'vhs');"
        "INSERT INTO vk VALUES (10,'00010',300,300,NULL,1,NULL,NULL,NULL,'Betamax');"
        "INSERT INTO vk VALUES (12,'00012',60,NULL,NULL,1,'N',NULL,NULL,NULL);"
        "INSERT INTO felvetel VALUES (1,1,'Álom',60,1,1,'Kovács Béla',NULL,'2026-01-02','00:00:00','00:59:00',NULL);"
        "INSERT INTO felvetel VALUES (1,2,'alma',45,2,9,NULL,NULL,NULL,'00:59:00','01:44:00',NULL);"
        "INSERT INTO felvetel VALUES (2,1,'Béka',30,NULL,NULL,NULL,NULL,NULL,NULL,NULL,NULL);"));
}

void TestTable::cleanup()
{
    delete db_;
    delete tmp_;
}

void TestTable::fieldsInPresentationOrder()
{
    Table vk(*db_, QStringLiteral("vk.DB"));
    vk.open();
    QStringList names;
    for (const Field& f : vk.fields())
        names << f.name;
    QCOMPARE(names, QStringList({"vk", "azonosito", "hossz", "szabad", "megjegyzes", "tipus", "kolcsonadva",
                                 "dat_kolcs", "kinek", "osszesen", "tipus_nev"}));
    QCOMPARE(vk.fieldByName(QStringLiteral("azonosito")).size, 10);
    QCOMPARE(vk.fieldByName(QStringLiteral("kolcsonadva")).displayLabel, QStringLiteral("kölcsön?"));

    Table f(*db_, QStringLiteral("felvetel"));
    f.open();
    names.clear();
    for (const Field& fl : f.fields())
        names << fl.name;
    QCOMPARE(names, QStringList({"vk", "felvetel", "cim", "hossz", "minoseg", "minoseg_nev", "mufaj", "mufaj_nev",
                                 "szereplok", "rendezte", "datum", "szamlalo_tol", "szamlalo_ig", "megjegyzes"}));
    QCOMPARE(f.fieldByName(QStringLiteral("szamlalo_tol")).kind, FieldKind::Time);
}

void TestTable::orderAndPosition()
{
    Table vk(*db_, QStringLiteral("vk"));
    vk.setOrderBy(QStringLiteral("azonosito"));
    vk.open();
    QCOMPARE(vk.recordCount(), 5);
    QCOMPARE(vk.recNo(), 1);
    vk.moveTo(2);
    QCOMPARE(vk.value(QStringLiteral("vk")).toInt(), 3);

    // The current row stays the same cassette when the order changes.
    vk.setOrderBy(QStringLiteral("tipus_nev"));
    QCOMPARE(vk.value(QStringLiteral("vk")).toInt(), 3);
    QStringList types;
    for (vk.first(); !vk.eof(); vk.next())
        types << vk.value(QStringLiteral("tipus_nev")).toString();
    // Null first, then the Hungarian order ignoring case; ties by cassette number.
    QCOMPARE(types, QStringList({"", "Betamax", "S-VHS", "VHS", "vhs"}));
    vk.last();
    QCOMPARE(vk.recNo(), 5);
    QVERIFY(vk.eof());
    vk.prior();
    QCOMPARE(vk.recNo(), 4);
}

void TestTable::orderByFieldWithoutIndexIsRefused()
{
    Table vk(*db_, QStringLiteral("vk"));
    vk.setOrderBy(QStringLiteral("hossz"));
    vk.open();
    QVERIFY_THROWS_EXCEPTION(DbError, vk.setOrderBy(QStringLiteral("megjegyzes")));
    QCOMPARE(vk.orderBy(), QStringLiteral("hossz"));
    QCOMPARE(vk.value(QStringLiteral("vk")).toInt(), 12);
}

void TestTable::filterRestrictsToOneCassette()
{
    Table f(*db_, QStringLiteral("felvetel"));
    f.setOrderBy(QStringLiteral("felvetel"));
    f.setFilter(QStringLiteral("vk=1"));
    f.open();
    QCOMPARE(f.recordCount(), 2);
    QSignalSpy scrolled(&f, &DataSet::afterScroll);
    f.setFilter(QStringLiteral("vk=2"));
    QCOMPARE(f.recordCount(), 1);
    QCOMPARE(f.value(QStringLiteral("cim")).toString(), QStringLiteral("Béka"));
    QCOMPARE(scrolled.count(), 1);
    f.setFilter(QStringLiteral("vk=0"));
    QCOMPARE(f.recordCount(), 0);
    QCOMPARE(f.recNo(), 0);
    f.setFilter(QString());
    QCOMPARE(f.recordCount(), 3);
}

void TestTable::locate_data()
{
    QTest::addColumn<QString>("order");
    QTest::addColumn<QString>("field");
    QTest::addColumn<QVariant>("value");
    QTest::addColumn<int>("options");
    QTest::addColumn<int>("expectedVk"); // 0: not found

    const int ci = int(LocateOption::CaseInsensitive);
    const int prefix = ci | int(LocateOption::PartialKey);
    QTest::newRow("number exact") << "vk" << "vk" << QVariant(10) << 0 << 10;
    QTest::newRow("number typed as text") << "vk" << "vk" << QVariant(QStringLiteral("12")) << prefix << 12;
    QTest::newRow("number missing") << "vk" << "vk" << QVariant(11) << 0 << 0;
    QTest::newRow("text that is no number") << "vk" << "vk" << QVariant(QStringLiteral("x")) << prefix << 0;
    QTest::newRow("azonosito needs leading zeros") << "azonosito" << "azonosito" << QVariant(QStringLiteral("12"))
                                                  << prefix << 0;
    QTest::newRow("azonosito leading part") << "azonosito" << "azonosito" << QVariant(QStringLiteral("0001"))
                                            << prefix << 10;
    QTest::newRow("prefix ignoring case") << "tipus_nev" << "tipus_nev" << QVariant(QStringLiteral("vhs")) << prefix
                                          << 1;
    QTest::newRow("prefix of a field the list is not sorted by") << "vk" << "kinek" << QVariant(QStringLiteral("k")) << prefix
                                                    << 2;
    QTest::newRow("prefix in order") << "tipus_nev" << "tipus_nev" << QVariant(QStringLiteral("s-")) << prefix << 2;
    QTest::newRow("exact case-sensitive") << "vk" << "tipus_nev" << QVariant(QStringLiteral("vhs")) << 0 << 3;
    QTest::newRow("exact ignoring case") << "vk" << "tipus_nev" << QVariant(QStringLiteral("VHS")) << ci << 1;
    QTest::newRow("exact is whole value") << "vk" << "tipus_nev" << QVariant(QStringLiteral("VH")) << ci << 0;
    QTest::newRow("accent matters") << "vk" << "kinek" << QVariant(QStringLiteral("kovacs")) << prefix << 0;
    QTest::newRow("accented prefix ignoring case") << "vk" << "kinek" << QVariant(QStringLiteral("ková")) << prefix
                                                   << 2;
    QTest::newRow("date") << "vk" << "dat_kolcs" << QVariant(QDate(2026, 3, 1)) << 0 << 2;
    QTest::newRow("date typed as shown") << "vk" << "dat_kolcs" << QVariant(QStringLiteral("2026.03.01"))
                                         << prefix << 2;
    QTest::newRow("impossible date") << "vk" << "dat_kolcs" << QVariant(QStringLiteral("2026.02.30")) << prefix
                                     << 0;
    QTest::newRow("derived field") << "vk" << "osszesen" << QVariant(QStringLiteral("105")) << 0 << 1;
}

void TestTable::locate()
{
    QFETCH(QString, order);
    QFETCH(QString, field);
    QFETCH(QVariant, value);
    QFETCH(int, options);
    QFETCH(int, expectedVk);
    Table vk(*db_, QStringLiteral("vk"));
    vk.setOrderBy(order);
    vk.open();
    vk.last();
    const int before = vk.value(QStringLiteral("vk")).toInt();
    const bool found = vk.locate(field, value, LocateOptions(options));
    QCOMPARE(found, expectedVk != 0);
    QCOMPARE(vk.value(QStringLiteral("vk")).toInt(), found ? expectedVk : before);
}

void TestTable::editPostCommitsAndKeepsRow()
{
    Table vk(*db_, QStringLiteral("vk"));
    vk.setOrderBy(QStringLiteral("azonosito"));
    vk.open();
    vk.moveTo(1);
    QSignalSpy posted(&vk, &DataSet::afterPost);
    vk.edit();
    QCOMPARE(vk.state(), DataSet::State::Edit);
    vk.setValue(QStringLiteral("hossz"), 200);
    vk.setValue(QStringLiteral("megjegyzes"), QStringLiteral("új megjegyzés"));
    QCOMPARE(vk.value(QStringLiteral("osszesen")).toInt(), 200 - 240);
    vk.post();
    QCOMPARE(posted.count(), 1);
    QCOMPARE(vk.state(), DataSet::State::Browse);
    QCOMPARE(vk.value(QStringLiteral("vk")).toInt(), 2);

    // A second connection sees the change: it was committed.
    Database other;
    other.open(tmp_->path());
    Query q(other, QStringLiteral("SELECT hossz, megjegyzes FROM vk WHERE vk=2"));
    q.open();
    QCOMPARE(q.value(0).toInt(), 200);
    QCOMPARE(q.value(1).toString(), QStringLiteral("új megjegyzés"));

    // Changing the sort field moves the row to its new place and stays on it.
    vk.setOrderBy(QStringLiteral("hossz"));
    vk.edit();
    vk.setValue(QStringLiteral("hossz"), 1);
    vk.post();
    QCOMPARE(vk.recNo(), 1);
    QCOMPARE(vk.value(QStringLiteral("vk")).toInt(), 2);
}

void TestTable::insertPostsAndMovesToNewRow()
{
    Table vk(*db_, QStringLiteral("vk"));
    vk.setOrderBy(QStringLiteral("azonosito"));
    vk.open();
    QSignalSpy scrolled(&vk, &DataSet::afterScroll);
    vk.insert();
    QCOMPARE(scrolled.count(), 1);
    QVERIFY(vk.value(QStringLiteral("vk")).isNull());
    vk.setValue(QStringLiteral("vk"), 13);
    vk.setValue(QStringLiteral("azonosito"), QStringLiteral("00013"));
    vk.setValue(QStringLiteral("hossz"), QStringLiteral("90"));
    vk.post();
    QCOMPARE(vk.recordCount(), 6);
    QCOMPARE(vk.recNo(), 6);
    QCOMPARE(vk.value(QStringLiteral("hossz")).toInt(), 90);

    // An autoincrement key is given by the store on post.
    Table tipus(*db_, QStringLiteral("tipus"));
    tipus.setOrderBy(QStringLiteral("nev"));
    tipus.open();
    tipus.insert();
    tipus.setValue(QStringLiteral("nev"), QStringLiteral("DVD"));
    tipus.post();
    QCOMPARE(tipus.value(QStringLiteral("az")).toInt(), 3);
    QCOMPARE(tipus.field(0).kind, FieldKind::AutoInc);
}

void TestTable::cancelRestoresValues()
{
    Table vk(*db_, QStringLiteral("vk"));
    vk.open();
    vk.edit();
    vk.setValue(QStringLiteral("hossz"), 1);
    QCOMPARE(vk.value(QStringLiteral("hossz")).toInt(), 1);
    vk.cancel();
    QCOMPARE(vk.value(QStringLiteral("hossz")).toInt(), 180);
    vk.insert();
    vk.cancel();
    QCOMPARE(vk.recordCount(), 5);
    QCOMPARE(vk.value(QStringLiteral("vk")).toInt(), 1);
}

void TestTable::deleteMovesToNextRow()
{
    Table vk(*db_, QStringLiteral("vk"));
    vk.setOrderBy(QStringLiteral("azonosito"));
    vk.open();
    vk.moveTo(1);
    QSignalSpy scrolled(&vk, &DataSet::afterScroll);
    vk.deleteRow();
    QCOMPARE(vk.recordCount(), 4);
    QCOMPARE(vk.value(QStringLiteral("vk")).toInt(), 3);
    QCOMPARE(scrolled.count(), 1);
    vk.last();
    vk.deleteRow();
    QCOMPARE(vk.value(QStringLiteral("vk")).toInt(), 10);
}

void TestTable::duplicateKeyIsRefusedInHungarian()
{
    Table vk(*db_, QStringLiteral("vk"));
    vk.open();
    vk.insert();
    vk.setValue(QStringLiteral("vk"), 3);
    try {
        vk.post();
        QFAIL("a duplicate key must be refused");
    } catch (const DbError& e) {
        QVERIFY2(e.message().contains(QStringLiteral("Kulcs")), qPrintable(e.message()));
    }
    // The row stays in insert state so the caller can fix or cancel it.
    QCOMPARE(vk.state(), DataSet::State::Insert);
    vk.cancel();
    QCOMPARE(vk.recordCount(), 5);
}

void TestTable::emptyKeyIsRefused()
{
    Table f(*db_, QStringLiteral("felvetel"));
    f.open();
    f.insert();
    f.setValue(QStringLiteral("vk"), 1);
    QVERIFY_THROWS_EXCEPTION(DbError, f.post());
    f.cancel();
    QCOMPARE(f.recordCount(), 3);
}

void TestTable::alphaIsCutToItsSize()
{
    Table tipus(*db_, QStringLiteral("tipus"));
    tipus.open();
    tipus.insert();
    tipus.setValue(QStringLiteral("nev"), QStringLiteral("Árvíztűrő tükörfúrógép nagyon hosszú"));
    tipus.post();
    QCOMPARE(tipus.value(QStringLiteral("nev")).toString(), QStringLiteral("Árvíztűrő tükörfúrógép na"));
    QCOMPARE(tipus.value(QStringLiteral("nev")).toString().size(), 25);
}

void TestTable::lookupAndCalculatedFields()
{
    Table f(*db_, QStringLiteral("felvetel"));
    f.setOrderBy(QStringLiteral("felvetel"));
    f.setFilter(QStringLiteral("vk=1"));
    f.open();
    QCOMPARE(f.value(QStringLiteral("minoseg_nev")).toString(), QStringLiteral("jó"));
    QCOMPARE(f.value(QStringLiteral("mufaj_nev")).toString(), QStringLiteral("dráma"));
    f.next();
    // A key that matches no row gives an empty name.
    QCOMPARE(f.displayText(QStringLiteral("mufaj_nev")), QString());
    QVERIFY(f.value(QStringLiteral("mufaj_nev")).isNull());
    // The name follows a changed key at once, before the post.
    f.edit();
    f.setValue(QStringLiteral("mufaj"), 1);
    QCOMPARE(f.value(QStringLiteral("mufaj_nev")).toString(), QStringLiteral("dráma"));
    f.cancel();

    Table vk(*db_, QStringLiteral("vk"));
    vk.setOrderBy(QStringLiteral("azonosito"));
    vk.open();
    QCOMPARE(vk.value(QStringLiteral("osszesen")).toInt(), 105);
    vk.last(); // szabad is empty: counts as 0
    QCOMPARE(vk.value(QStringLiteral("osszesen")).toInt(), 60);

    db_->exec(QStringLiteral("INSERT INTO programok (programok, ingyenes, leiras) VALUES (1, 'I', '%1'), "
                             "(2, 'N', ' %2 c'), (3, NULL, NULL)")
                  .arg(QString(67, QLatin1Char('a')), QString(66, QLatin1Char('b'))));
    Table p(*db_, QStringLiteral("programok"));
    p.open();
    QCOMPARE(p.value(QStringLiteral("ingyenesstr")).toString(), QStringLiteral("igen"));
    QCOMPARE(p.value(QStringLiteral("rovid")).toString(), QString(67, QLatin1Char('a')));
    p.next();
    QCOMPARE(p.value(QStringLiteral("ingyenesstr")).toString(), QStringLiteral("nem"));
    QCOMPARE(p.value(QStringLiteral("rovid")).toString(), QString(66, QLatin1Char('b')) + QStringLiteral("..."));
    p.next();
    QCOMPARE(p.value(QStringLiteral("ingyenesstr")).toString(), QStringLiteral("nem"));
    QCOMPARE(p.value(QStringLiteral("rovid")).toString(), QString());
}

void TestTable::displayFormats_data()
{
    QTest::addColumn<QString>("table");
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("expected");
    QTest::newRow("cassette number") << "vk" << "vk" << "00001";
    QTest::newRow("track number") << "felvetel" << "felvetel" << "01";
    QTest::newRow("date") << "felvetel" << "datum" << "2026.01.02";
    QTest::newRow("counter position") << "felvetel" << "szamlalo_ig" << "00:59";
    QTest::newRow("plain text") << "felvetel" << "cim" << "Álom";
    QTest::newRow("null") << "felvetel" << "rendezte" << "";
}

void TestTable::displayFormats()
{
    QFETCH(QString, table);
    QFETCH(QString, field);
    QFETCH(QString, expected);
    Table t(*db_, table);
    t.open();
    QCOMPARE(t.displayText(field), expected);
    QCOMPARE(t.displayTextAt(0, t.indexOf(field)), expected);
}

void TestTable::otherWritersRefreshTheTable()
{
    Table f(*db_, QStringLiteral("felvetel"));
    f.setFilter(QStringLiteral("vk=1"));
    f.open();
    Query del(*db_, QStringLiteral("DELETE FROM felvetel WHERE vk=:pvk"));
    del.setParam(QStringLiteral(":pvk"), 1);
    QCOMPARE(del.execSql(), 2);
    QCOMPARE(f.recordCount(), 0);

    Table minoseg(*db_, QStringLiteral("minoseg"));
    minoseg.open();
    Table f2(*db_, QStringLiteral("felvetel"));
    f2.setFilter(QStringLiteral("vk=2"));
    f2.open();
    f2.edit();
    f2.setValue(QStringLiteral("minoseg"), 2);
    f2.post();
    QCOMPARE(f2.value(QStringLiteral("minoseg_nev")).toString(), QStringLiteral("gyenge"));
    // Renaming a quality shows in the recordings at once.
    minoseg.moveTo(1);
    minoseg.edit();
    minoseg.setValue(QStringLiteral("nev"), QStringLiteral("rossz"));
    minoseg.post();
    QCOMPARE(f2.value(QStringLiteral("minoseg_nev")).toString(), QStringLiteral("rossz"));
}

void TestTable::transactionTellsTheListsOnceAtItsEnd()
{
    Table f(*db_, QStringLiteral("felvetel"));
    f.setFilter(QStringLiteral("vk=1"));
    f.open();
    QSignalSpy resets(&f, &DataSet::reset);
    {
        Transaction tx(*db_);
        db_->exec(QStringLiteral("INSERT INTO felvetel (vk, felvetel) VALUES (1, 3)"));
        db_->exec(QStringLiteral("INSERT INTO felvetel (vk, felvetel) VALUES (1, 4)"));
        QCOMPARE(resets.count(), 0);
        tx.commit();
    }
    QCOMPARE(resets.count(), 1);
    QCOMPARE(f.recordCount(), 4);
    {
        Transaction tx(*db_);
        db_->exec(QStringLiteral("DELETE FROM felvetel WHERE vk=1"));
    } // rolled back: the list re-reads and still shows the four
    QCOMPARE(f.recordCount(), 4);
}

void TestTable::emptyTableOperations()
{
    db_->exec(QStringLiteral("DELETE FROM szereplo"));
    Table t(*db_, QStringLiteral("szereplo"));
    QSignalSpy scrolled(&t, &DataSet::afterScroll);
    t.open();
    QCOMPARE(scrolled.count(), 0); // opening an empty table moves nowhere
    QVERIFY(t.isEmpty());
    QVERIFY(t.eof() && t.bof());
    QCOMPARE(t.recNo(), 0);
    QVERIFY(t.value(QStringLiteral("nev")).isNull());
    QVERIFY(!t.locate(QStringLiteral("nev"), QStringLiteral("a"), LocateOption::PartialKey));
    QVERIFY_THROWS_EXCEPTION(DbError, t.deleteRow());
    QVERIFY_THROWS_EXCEPTION(DbError, t.edit());
    t.first();
    t.next();
    QCOMPARE(t.recNo(), 0);
}

QTEST_GUILESS_MAIN(TestTable)
#include "tst_table.moc"
