#include "fixtures.h"

#include "maintenance/paradoxchange.h"

#include "catalogue/data/database.h"
#include "catalogue/data/sqlite.h"

#include <QDir>
#include <QTemporaryDir>
#include <QtTest>

Q_DECLARE_METATYPE(ParadoxFieldKind)

class TestFieldChanger : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void init();
    void cleanup();
    void memoBecomesTextOf255();
    void changes_data();
    void changes();
    void refusedChangeLeavesStoreAsItWas_data();
    void refusedChangeLeavesStoreAsItWas();
    void autoIncrementCounterIsKept();

private:
    QString storeFile() const
    {
        return QDir(tmp_->path()).filePath(QLatin1String(Database::FileName));
    }
    QStringList fieldNames(const QString& table);
    // Every row with its id and every field but one, as text.
    QString allBut(const QString& table, const QString& field);

    std::unique_ptr<QTemporaryDir> tmp_;
    std::unique_ptr<Database> db_;
};

void TestFieldChanger::init()
{
    tmp_ = std::make_unique<QTemporaryDir>();
    db_ = std::make_unique<Database>();
    db_->open(tmp_->path(), Database::LockMode::Exclusive);
    db_->exec(QStringLiteral(
        "INSERT INTO tipus (nev) VALUES ('VHS'), ('S-VHS'), ('Beta'); DELETE FROM tipus WHERE az=3;"
        "INSERT INTO vk VALUES (1, '00001', 180, 60, 'Rövid', 1, 'N', NULL, NULL, 'VHS');"
        "INSERT INTO vk VALUES (2, '00002', 240, -15, NULL, 2, 'I', '2024-03-01', 'KOVÁCS ÉVA', "
        "'S-VHS');"
        "INSERT INTO felvetel VALUES (1, 1, 'Árvíztűrő', 95, 1, 2, 'Kiss Ödön', '12', "
        "'1998-12-24', '00:00:00', "
        "'01:35:00', 'első');"
        "INSERT INTO felvetel VALUES (1, 2, 'Második', NULL, NULL, NULL, NULL, 'nem szám', NULL, "
        "NULL, NULL, NULL);"
        "DELETE FROM felvetel WHERE vk=1 AND felvetel=1;"
        "INSERT INTO felvetel VALUES (1, 1, 'Árvíztűrő', 95, 1, 2, 'Kiss Ödön', '12', "
        "'1998-12-24', '00:00:00', "
        "'01:35:00', 'első');"));
}

void TestFieldChanger::cleanup()
{
    db_.reset();
    tmp_.reset();
}

QStringList TestFieldChanger::fieldNames(const QString& table)
{
    QStringList names;
    for (const ColumnInfo& c : db_->structure(table).columns)
        names << c.name;
    return names;
}

QString TestFieldChanger::allBut(const QString& table, const QString& field)
{
    QStringList others;
    for (const QString& name : fieldNames(table))
        if (name != field)
            others << name;
    sqlite::Statement st(db_->handle(), QStringLiteral("SELECT rowid, %1 FROM %2 ORDER BY rowid")
                                            .arg(others.join(QLatin1Char(',')), table));
    QString out;
    while (st.step()) {
        for (int i = 0; i < st.columnCount(); ++i)
            out += QString::number(st.columnType(i)) + QLatin1Char(':') + st.value(i).toString() +
                   QLatin1Char('|');
        out += QLatin1Char('\n');
    }
    return out;
}

void TestFieldChanger::memoBecomesTextOf255()
{
    TParadoxChange pcsz(db_.get());
    pcsz.setTableName(QStringLiteral("vk.DB"));
    // The remark as the old structure had it: a memo, holding a long text.
    pcsz.ChangeType(QStringLiteral("megjegyzes"), ParadoxFieldKind::Memo);
    QVERIFY(fixture::columns(*db_, QStringLiteral("vk"))
                .contains(QStringLiteral("megjegyzes MEMO HU")));
    db_->exec(
        QStringLiteral("UPDATE vk SET megjegyzes='%1' WHERE vk=2").arg(fixture::longRemark()));

    const QString others = allBut(QStringLiteral("vk"), QStringLiteral("megjegyzes"));
    const QStringList order = fieldNames(QStringLiteral("vk"));
    const QStringList indexes = fixture::indexes(*db_, QStringLiteral("vk"));

    pcsz.ChangeType(QStringLiteral("megjegyzes"), ParadoxFieldKind::String);
    pcsz.ChangeSize(QStringLiteral("megjegyzes"), 255);

    QVERIFY(fixture::columns(*db_, QStringLiteral("vk"))
                .contains(QStringLiteral("megjegyzes CHAR(255) HU")));
    QCOMPARE(fixture::value(*db_, QStringLiteral("SELECT megjegyzes FROM vk WHERE vk=1")),
             QVariant(QStringLiteral("Rövid")));
    QCOMPARE(fixture::value(*db_, QStringLiteral("SELECT megjegyzes FROM vk WHERE vk=2")),
             QVariant(fixture::longRemark().left(255)));
    QCOMPARE(allBut(QStringLiteral("vk"), QStringLiteral("megjegyzes")), others);
    QCOMPARE(fieldNames(QStringLiteral("vk")), order);
    QCOMPARE(fixture::indexes(*db_, QStringLiteral("vk")), indexes);
}

void TestFieldChanger::changes_data()
{
    QTest::addColumn<QString>("table");
    QTest::addColumn<QString>("field");
    QTest::addColumn<bool>("isSize");
    QTest::addColumn<ParadoxFieldKind>("kind");
    QTest::addColumn<int>("size");
    QTest::addColumn<QString>("column");
    QTest::addColumn<QString>("values");

    QTest::newRow("a smaller size cuts the text")
        << "felvetel"
        << "cim" << true << ParadoxFieldKind::Unknown << 5 << "cim CHAR(5) HU"
        << "Másod,Árvíz";
    QTest::newRow("size 0 keeps the size")
        << "vk"
        << "azonosito" << true << ParadoxFieldKind::Unknown << 0 << "azonosito CHAR(10) HU"
        << "00001,00002";
    QTest::newRow("kind code 0 keeps the type")
        << "vk"
        << "tipus_nev" << false << ParadoxFieldKind::Variant << 0 << "tipus_nev CHAR(25) HU"
        << "VHS,S-VHS";
    QTest::newRow("a number becomes text")
        << "vk"
        << "szabad" << false << ParadoxFieldKind::String << 0 << "szabad CHAR(255) HU"
        << "60,-15";
    QTest::newRow("text becomes a number where it is one")
        << "felvetel"
        << "rendezte" << false << ParadoxFieldKind::Integer << 0 << "rendezte INTEGER BINARY"
        << ",12";
    QTest::newRow("a date stays a date as a time stamp")
        << "vk"
        << "dat_kolcs" << false << ParadoxFieldKind::DateTime << 0 << "dat_kolcs TIMESTAMP BINARY"
        << ",2024-03-01 00:00:00";
}

void TestFieldChanger::changes()
{
    QFETCH(QString, table);
    QFETCH(QString, field);
    QFETCH(bool, isSize);
    QFETCH(ParadoxFieldKind, kind);
    QFETCH(int, size);
    QFETCH(QString, column);
    QFETCH(QString, values);

    const QString others = allBut(table, field);
    const QStringList order = fieldNames(table);
    // A field that turns into text gets the text collation, in its index too;
    // which indexes there are does not change.
    const auto indexNames = [this, &table] {
        QStringList names = fixture::indexes(*db_, table);
        for (QString& n : names)
            n = n.section(QLatin1Char('('), 0, 0);
        return names;
    };
    const QStringList indexes = indexNames();

    TParadoxChange pcsz(db_.get());
    pcsz.setTableName(table + QStringLiteral(".DB"));
    if (isSize)
        pcsz.ChangeSize(field, qint16(size));
    else
        pcsz.ChangeType(field, kind);

    const QStringList cols = fixture::columns(*db_, table);
    QVERIFY2(cols.contains(column), qPrintable(cols.join(QLatin1Char(';'))));
    QCOMPARE(fixture::value(
                 *db_, QStringLiteral(
                           "SELECT group_concat(coalesce(%1, ''), ',') FROM (SELECT %1 FROM %2 "
                           "ORDER BY rowid)")
                           .arg(field, table)),
             QVariant(values));
    QCOMPARE(allBut(table, field), others);
    QCOMPARE(fieldNames(table), order);
    QCOMPARE(indexNames(), indexes);
}

void TestFieldChanger::refusedChangeLeavesStoreAsItWas_data()
{
    QTest::addColumn<QString>("table");
    QTest::addColumn<QString>("field");
    QTest::addColumn<bool>("isSize");
    QTest::addColumn<ParadoxFieldKind>("kind");
    QTest::addColumn<int>("size");
    QTest::addColumn<QString>("message");

    QTest::newRow("an unknown field")
        << "vk"
        << "nincs_ilyen" << false << ParadoxFieldKind::String << 0 << "nincs_ilyen";
    QTest::newRow("a negative size") << "felvetel"
                                     << "cim" << true << ParadoxFieldKind::Unknown << -1 << "cim";
    QTest::newRow("text longer than a field may be")
        << "felvetel"
        << "cim" << true << ParadoxFieldKind::Unknown << 300 << "255";
    QTest::newRow("a kind no field can hold")
        << "felvetel"
        << "cim" << false << ParadoxFieldKind::Cursor << 0 << "cim";
    QTest::newRow("values the key cannot take")
        << "felvetel"
        << "vk" << false << ParadoxFieldKind::Date << 0 << "NOT NULL";
}

void TestFieldChanger::refusedChangeLeavesStoreAsItWas()
{
    QFETCH(QString, table);
    QFETCH(QString, field);
    QFETCH(bool, isSize);
    QFETCH(ParadoxFieldKind, kind);
    QFETCH(int, size);
    QFETCH(QString, message);

    const QString before = fixture::dump(storeFile());
    TParadoxChange pcsz(db_.get());
    pcsz.setTableName(table);
    QString error;
    try {
        if (isSize)
            pcsz.ChangeSize(field, qint16(size));
        else
            pcsz.ChangeType(field, kind);
    } catch (const DbError& e) {
        error = e.message();
    }
    QVERIFY2(error.contains(message), qPrintable(error));
    QVERIFY(!db_->inTransaction());
    QCOMPARE(fixture::dump(storeFile()), before);
}

void TestFieldChanger::autoIncrementCounterIsKept()
{
    TParadoxChange pcsz(db_.get());
    pcsz.setTableName(QStringLiteral("tipus.DB"));
    pcsz.ChangeSize(QStringLiteral("nev"), 30);
    db_->exec(QStringLiteral("INSERT INTO tipus (nev) VALUES ('Video 8')"));
    // Number 3 was handed out before and deleted: it is not given again.
    QCOMPARE(fixture::value(*db_, QStringLiteral("SELECT az FROM tipus WHERE nev='Video 8'")),
             QVariant(4));
    QCOMPARE(fixture::indexes(*db_, QStringLiteral("tipus")),
             QStringList{QStringLiteral("tipus_idx_nev(nev HU)")});
}

QTEST_GUILESS_MAIN(TestFieldChanger)
#include "tst_fieldchanger.moc"
