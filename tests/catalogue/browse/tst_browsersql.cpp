#include "browserfixture.h"

#include "catalogue/browse/browsersql.h"
#include "catalogue/data/database.h"
#include "catalogue/data/query.h"

#include <QTemporaryDir>
#include <QtTest>

// The browser's rows for each filter and order, and the search in them.
class TestBrowserSql : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void initTestCase();
    void cleanupTestCase();
    void sqlText();
    void bothShapesGiveTheSameRows_data();
    void bothShapesGiveTheSameRows();
    void rows_data();
    void rows();
    void fieldsTakeTitlesAndFormats();
    void search_data();
    void search();

private:
    QStringList rowsOf(const BrowserFilters& f, const QString& sort);

    QTemporaryDir tmp_;
    Database db_;
};

void TestBrowserSql::initTestCase()
{
    db_.open(tmp_.path());
    FillBrowserFixture(db_);
}

void TestBrowserSql::cleanupTestCase() { db_.close(); }

QStringList TestBrowserSql::rowsOf(const BrowserFilters& f, const QString& sort)
{
    Query q(db_);
    OpenBrowserQuery(q, f, sort);
    QStringList out;
    for (int r = 0; r < q.recordCount(); ++r)
        out << QStringLiteral("%1/%2").arg(q.valueAt(r, q.indexOf(QStringLiteral("vk"))).toString(),
                                          q.valueAt(r, q.indexOf(QStringLiteral("felvetel"))).toString());
    return out;
}

void TestBrowserSql::sqlText()
{
    BrowserFilters f;
    f.genre = QStringLiteral("Dráma");
    f.performer = QStringLiteral("kovács");
    const BrowserSql built = BuildBrowserSql(f, QStringLiteral("cim"), BrowserSqlShape::OuterJoin);
    const QStringList lines = built.sql.split(QLatin1Char('\n'));
    QCOMPARE(lines.size(), 12);
    QCOMPARE(lines.at(5), QStringLiteral("FROM vk"));
    // The names travel as parameters, not inside the SQL text.
    QCOMPARE(lines.at(10),
             QStringLiteral("WHERE (mufaj.nev=:mufaj) AND (UPPER(felvetel.szereplok) LIKE :szereplo)"));
    QCOMPARE(lines.at(11), QStringLiteral("ORDER BY cim;"));
    QCOMPARE(built.params.value(QStringLiteral("mufaj")).toString(), QStringLiteral("Dráma"));
    QCOMPARE(built.params.value(QStringLiteral("szereplo")).toString(), QStringLiteral("%KOVÁCS%"));

    // No filter: no WHERE line; the cassette number is named by its table.
    const QStringList plain = BuildBrowserSql({}, QStringLiteral("vk")).sql.split(QLatin1Char('\n'));
    QCOMPARE(plain.size(), 11);
    QCOMPARE(plain.last(), QStringLiteral("ORDER BY vk.vk;"));
    QVERIFY(BuildBrowserSql({}, QStringLiteral("vk")).params.isEmpty());

    // An order that a recording index serves reads the recordings in that order.
    const QStringList indexed = BuildBrowserSql(f, QStringLiteral("cim")).sql.split(QLatin1Char('\n'));
    QCOMPARE(indexed.at(5), QStringLiteral("FROM felvetel"));
    QVERIFY(!indexed.contains(QStringLiteral("UNION ALL"))); // a genre excludes empty cassettes
    QCOMPARE(indexed.last(), QStringLiteral("ORDER BY cim;"));
    QVERIFY(BuildBrowserSql({}, QStringLiteral("cim")).sql.contains(QStringLiteral("UNION ALL")));
    QVERIFY(BuildBrowserSql({}, QStringLiteral("mufaj_nev")).sql.contains(QStringLiteral("FROM vk\n")));
}

void TestBrowserSql::bothShapesGiveTheSameRows_data()
{
    QTest::addColumn<QString>("sort");
    QTest::addColumn<QString>("genre");
    QTest::addColumn<QString>("type");
    QTest::addColumn<QString>("performer");
    QTest::addColumn<QString>("director");
    for (const char* sort : {"cim", "felvetel", "szamlalo_tol", "szamlalo_ig"}) {
        const QString s = QString::fromLatin1(sort);
        const QByteArray name(sort);
        QTest::newRow(name + " unfiltered") << s << "" << "" << "" << "";
        QTest::newRow(name + " type") << s << "" << "VHS" << "" << "";
        QTest::newRow(name + " genre") << s << "Dráma" << "" << "" << "";
        QTest::newRow(name + " type and performer") << s << "" << "VHS" << "nagy" << "";
        QTest::newRow(name + " director") << s << "" << "" << "" << "fábri";
    }
}

void TestBrowserSql::bothShapesGiveTheSameRows()
{
    QFETCH(QString, sort);
    QFETCH(QString, genre);
    QFETCH(QString, type);
    QFETCH(QString, performer);
    QFETCH(QString, director);
    // Ties, missing titles and times, and a recording of a cassette that is gone.
    QTemporaryDir tmp;
    Database db;
    db.open(tmp.path());
    FillBrowserFixture(db);
    db.exec(QStringLiteral("INSERT INTO vk (vk, hossz, tipus) VALUES (4, 60, NULL), (5, 90, 2);"
                           "INSERT INTO felvetel (vk, felvetel, cim, mufaj, szereplok) VALUES"
                           " (2,2,'abc',1,'nagy'), (2,3,NULL,NULL,NULL), (5,1,'Ábel',2,'Nagy Éva'),"
                           " (9,1,'árva',1,'Nagy');"));
    const BrowserFilters f{genre, type, performer, director};
    const auto rowsOf = [&](BrowserSqlShape shape, QList<QVariant>* keys) {
        Query q(db);
        const BrowserSql built = BuildBrowserSql(f, sort, shape);
        q.setSql(built.sql);
        for (auto it = built.params.constBegin(); it != built.params.constEnd(); ++it)
            q.setParam(it.key(), it.value());
        q.open();
        QStringList rows;
        for (int r = 0; r < q.recordCount(); ++r) {
            QStringList values;
            for (int c = 0; c < q.fieldCount(); ++c)
                values << q.valueAt(r, c).toString();
            rows << values.join(QLatin1Char('|'));
            *keys << q.valueAt(r, q.indexOf(sort));
        }
        return rows;
    };
    QList<QVariant> plainKeys, fastKeys;
    QStringList plain = rowsOf(BrowserSqlShape::OuterJoin, &plainKeys);
    QStringList fast = rowsOf(BrowserSqlShape::Fastest, &fastKeys);
    // Rows of equal keys may come in another order; the keys may not.
    QCOMPARE(fastKeys, plainKeys);
    plain.sort();
    fast.sort();
    QCOMPARE(fast, plain);
    QVERIFY(!plain.isEmpty());
}

void TestBrowserSql::rows_data()
{
    QTest::addColumn<QString>("genre");
    QTest::addColumn<QString>("type");
    QTest::addColumn<QString>("performer");
    QTest::addColumn<QString>("director");
    QTest::addColumn<QString>("sort");
    QTest::addColumn<QStringList>("expected");

    // A cassette without recordings gives one row with empty recording fields.
    QTest::newRow("no filter") << "" << "" << "" << "" << "vk" << QStringList{"1/1", "1/2", "2/1", "3/"};
    QTest::newRow("by title") << "" << "" << "" << "" << "cim" << QStringList{"3/", "1/2", "1/1", "2/1"};
    QTest::newRow("genre drops empty cassettes") << "Dráma" << "" << "" << "" << "vk" << QStringList{"1/1", "2/1"};
    QTest::newRow("type keeps them") << "" << "VHS" << "" << "" << "vk" << QStringList{"1/1", "1/2", "3/"};
    QTest::newRow("performer, any case") << "" << "" << "kovács" << "" << "vk" << QStringList{"1/1"};
    QTest::newRow("performer with apostrophe") << "" << "" << "O'Neil" << "" << "vk" << QStringList{"2/1"};
    QTest::newRow("director part") << "" << "" << "" << "fábri" << "vk" << QStringList{"1/1", "2/1"};
    QTest::newRow("genre and performer") << "Dráma" << "" << "nagy" << "" << "vk" << QStringList{"1/1"};
    QTest::newRow("nothing matches") << "Vígjáték" << "S-VHS" << "" << "" << "vk" << QStringList{};
    QTest::newRow("quote in a name is no SQL") << "x') OR (1=1" << "" << "" << "" << "vk" << QStringList{};
}

void TestBrowserSql::rows()
{
    QFETCH(QString, genre);
    QFETCH(QString, type);
    QFETCH(QString, performer);
    QFETCH(QString, director);
    QFETCH(QString, sort);
    QFETCH(QStringList, expected);
    QCOMPARE(rowsOf({genre, type, performer, director}, sort), expected);
}

void TestBrowserSql::fieldsTakeTitlesAndFormats()
{
    Query q(db_);
    OpenBrowserQuery(q, {}, QStringLiteral("vk"));
    QCOMPARE(q.fieldCount(), 19);
    for (int i = 0; i < 19; ++i)
        QCOMPARE(q.field(i).name, QString::fromLatin1(BrowserFields().at(i).name));
    QCOMPARE(q.field(0).displayLabel, QStringLiteral("kazetta"));
    QCOMPARE(q.displayTextAt(0, 0), QStringLiteral("00001"));
    QCOMPARE(q.displayTextAt(0, 1), QStringLiteral("01"));
    QCOMPARE(q.displayTextAt(1, 2), QStringLiteral("01:00"));
    QCOMPARE(q.field(q.indexOf(QStringLiteral("mufaj_nev"))).displayLabel, QStringLiteral("műfaj"));
    // Reopened with another order, the looks stay.
    OpenBrowserQuery(q, {}, QStringLiteral("cim"));
    QCOMPARE(q.field(3).displayLabel, QStringLiteral("vége"));
}

void TestBrowserSql::search_data()
{
    QTest::addColumn<QString>("sort");
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("row"); // -1: nothing found

    // By title in the alphabet's order: (null), abc, Ábel, Zebra.
    QTest::newRow("prefix ignoring case") << "cim" << "AB" << 1;
    QTest::newRow("accented prefix") << "cim" << "áb" << 2;
    QTest::newRow("whole value") << "cim" << "ábel" << 2;
    QTest::newRow("last") << "cim" << "z" << 3;
    QTest::newRow("no title") << "cim" << "q" << -1;
    QTest::newRow("number") << "vk" << "2" << 2;
    QTest::newRow("number with zeros") << "vk" << "00003" << 3;
    QTest::newRow("not a number") << "vk" << "x" << -1;
    QTest::newRow("missing number") << "vk" << "7" << -1;
    QTest::newRow("time as shown") << "szamlalo_tol" << "01:00" << 3;
    QTest::newRow("not a time") << "szamlalo_tol" << "1:7x" << -1;
    QTest::newRow("empty text") << "cim" << "" << -1;
}

void TestBrowserSql::search()
{
    QFETCH(QString, sort);
    QFETCH(QString, text);
    QFETCH(int, row);
    Query q(db_);
    OpenBrowserQuery(q, {}, sort);
    QCOMPARE(FindSortedRow(q, q.indexOf(sort), text.isEmpty() ? QString() : text), row);
}

QTEST_GUILESS_MAIN(TestBrowserSql)
#include "tst_browsersql.moc"
