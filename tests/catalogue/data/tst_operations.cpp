#include "catalogue/data/database.h"
#include "catalogue/data/operations.h"
#include "catalogue/data/query.h"
#include "catalogue/data/table.h"

#include <QTemporaryDir>
#include <QtTest>

class TestOperations : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void init();
    void cleanup();
    void nextCassetteNumberIgnoresListOrder();
    void nextTrack();
    void findOrAddName_data();
    void findOrAddName();
    void lengthSum();
    void deleteCassetteIsAllOrNothing();
    void deleteRecordingRenumbersInTrackOrder();

private:
    int count(const QString& sql);
    QTemporaryDir* tmp_ = nullptr;
    Database* db_ = nullptr;
};

void TestOperations::init()
{
    tmp_ = new QTemporaryDir;
    db_ = new Database;
    db_->open(tmp_->path());
}

void TestOperations::cleanup()
{
    delete db_;
    delete tmp_;
}

int TestOperations::count(const QString& sql)
{
    Query q(*db_, sql);
    q.open();
    return q.value(0).toInt();
}

void TestOperations::nextCassetteNumberIgnoresListOrder()
{
    QCOMPARE(catalogue::NextCassetteNumber(*db_), 1);
    db_->exec(QStringLiteral("INSERT INTO vk (vk, azonosito, hossz) VALUES (12,'00012',60), (3,'00003',300)"));
    Table vk(*db_, QStringLiteral("vk"));
    vk.setOrderBy(QStringLiteral("hossz"));
    vk.open();
    vk.last(); // cassette 3 is last in this order
    QCOMPARE(catalogue::NextCassetteNumber(*db_), 13);
}

void TestOperations::nextTrack()
{
    QCOMPARE(catalogue::NextTrack(*db_, 1).track, 1);
    QCOMPARE(catalogue::NextTrack(*db_, 1).start, QTime(0, 0));
    db_->exec(QStringLiteral("INSERT INTO felvetel (vk, felvetel, cim, szamlalo_ig) VALUES "
                             "(1,3,'a','01:30:00'), (1,1,'z','00:20:00'), (1,2,'m',NULL), (2,7,'x','02:00:00')"));
    const auto next = catalogue::NextTrack(*db_, 1);
    QCOMPARE(next.track, 4);
    QCOMPARE(next.start, QTime(1, 30));
}

void TestOperations::findOrAddName_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("expected");
    QTest::addColumn<int>("rowsAfter");
    QTest::newRow("exact") << "VHS" << 1 << 2;
    QTest::newRow("other case") << "vhs" << 1 << 2;
    QTest::newRow("accented letters ignore case") << "ÉLŐ" << 2 << 2;
    QTest::newRow("leading part is not enough") << "VH" << 3 << 3;
    QTest::newRow("new name") << "DVD" << 3 << 3;
    QTest::newRow("empty name is a name too") << "" << 3 << 3;
}

void TestOperations::findOrAddName()
{
    QFETCH(QString, name);
    QFETCH(int, expected);
    QFETCH(int, rowsAfter);
    db_->exec(QStringLiteral("INSERT INTO tipus (nev) VALUES ('VHS'), ('élő')"));
    QCOMPARE(catalogue::FindOrAddName(*db_, QStringLiteral("tipus.DB"), name), expected);
    QCOMPARE(count(QStringLiteral("SELECT count(*) FROM tipus")), rowsAfter);
    // A second call finds what the first one added.
    QCOMPARE(catalogue::FindOrAddName(*db_, QStringLiteral("tipus"), name), expected);
    QCOMPARE(count(QStringLiteral("SELECT count(*) FROM tipus")), rowsAfter);
}

void TestOperations::lengthSum()
{
    QCOMPARE(catalogue::RecordingLengthSum(*db_, 1), 0);
    db_->exec(QStringLiteral("INSERT INTO felvetel (vk, felvetel, hossz) VALUES (1,1,60), (1,2,45), (1,3,NULL)"));
    QCOMPARE(catalogue::RecordingLengthSum(*db_, 1), 105);
}

void TestOperations::deleteCassetteIsAllOrNothing()
{
    db_->exec(QStringLiteral("INSERT INTO vk (vk, azonosito) VALUES (1,'00001'), (2,'00002');"
                             "INSERT INTO felvetel (vk, felvetel) VALUES (1,1), (1,2), (2,1);"));
    catalogue::DeleteCassette(*db_, 1);
    QCOMPARE(count(QStringLiteral("SELECT count(*) FROM vk")), 1);
    QCOMPARE(count(QStringLiteral("SELECT count(*) FROM felvetel")), 1);

    // A failure in the second step leaves the recordings too.
    db_->exec(QStringLiteral("CREATE TRIGGER no_delete BEFORE DELETE ON vk BEGIN SELECT RAISE(ABORT, 'zárolva'); END"));
    QVERIFY_THROWS_EXCEPTION(DbError, catalogue::DeleteCassette(*db_, 2));
    QCOMPARE(count(QStringLiteral("SELECT count(*) FROM felvetel WHERE vk=2")), 1);
}

void TestOperations::deleteRecordingRenumbersInTrackOrder()
{
    db_->exec(QStringLiteral("INSERT INTO felvetel (vk, felvetel, cim) VALUES "
                             "(1,1,'d'), (1,2,'c'), (1,3,'b'), (1,4,'a'), (1,5,'e'), (2,3,'x')"));
    // The list shows them by title, which must not matter.
    Table f(*db_, QStringLiteral("felvetel"));
    f.setOrderBy(QStringLiteral("cim"));
    f.setFilter(QStringLiteral("vk=1"));
    f.open();
    catalogue::DeleteRecording(*db_, 1, 3);
    QCOMPARE(f.recordCount(), 4);
    Query q(*db_, QStringLiteral("SELECT group_concat(felvetel || cim, ' ') FROM "
                                 "(SELECT felvetel, cim FROM felvetel WHERE vk=1 ORDER BY felvetel)"));
    q.open();
    QCOMPARE(q.value(0).toString(), QStringLiteral("1d 2c 3a 4e"));
    QCOMPARE(count(QStringLiteral("SELECT felvetel FROM felvetel WHERE vk=2")), 3);
    catalogue::DeleteRecording(*db_, 1, 4); // the last one: nothing to renumber
    catalogue::DeleteRecording(*db_, 1, 1);
    q.close();
    q.open();
    QCOMPARE(q.value(0).toString(), QStringLiteral("1c 2a"));
}

QTEST_GUILESS_MAIN(TestOperations)
#include "tst_operations.moc"
