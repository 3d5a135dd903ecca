#include "maintenance/paradoxtable.h"
#include "maintenance/paradoxwriter.h"

#include <QDateTime>
#include <QDir>
#include <QTemporaryDir>
#include <QtTest>

// The field types the catalogue's own tables do not use, as an old table of
// another shape may still hold them: each value read back as it was written.
class TestParadoxReader : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void valuesOfEveryType_data();
    void valuesOfEveryType();
};

void TestParadoxReader::valuesOfEveryType_data()
{
    QTest::addColumn<int>("type");
    QTest::addColumn<int>("length");
    QTest::addColumn<QVariant>("value");
    using namespace paradox;
    QTest::newRow("short, negative") << int(Short) << 2 << QVariant(-1234);
    QTest::newRow("short, zero") << int(Short) << 2 << QVariant(0);
    QTest::newRow("long, the smallest") << int(Long) << 4 << QVariant(-2147483647);
    QTest::newRow("number, negative") << int(Number) << 8 << QVariant(-2.75);
    QTest::newRow("number, zero") << int(Number) << 8 << QVariant(0.0);
    QTest::newRow("currency") << int(Currency) << 8 << QVariant(1999.5);
    QTest::newRow("logical, false") << int(Logical) << 1 << QVariant(0);
    QTest::newRow("logical, true") << int(Logical) << 1 << QVariant(1);
    QTest::newRow("time stamp") << int(Timestamp) << 8
                                << QVariant(QDateTime(QDate(1999, 12, 31), QTime(23, 59, 58, 500)));
    QTest::newRow("date, first day") << int(Date) << 4 << QVariant(QDate(1, 1, 1));
    QTest::newRow("bytes") << int(Bytes) << 4 << QVariant(QByteArray("\x01\x00\xff\x7f", 4));
    QTest::newRow("memo in the record") << int(Memo) << 20 << QVariant(QStringLiteral("ű"));
    QTest::newRow("blob of several blocks")
        << int(Blob) << 10 << QVariant(QByteArray(9000, '\xd8'));
}

void TestParadoxReader::valuesOfEveryType()
{
    QFETCH(int, type);
    QFETCH(int, length);
    QFETCH(QVariant, value);
    QTemporaryDir tmp;
    const QString path = QDir(tmp.path()).filePath(QStringLiteral("egyeb.DB"));
    {
        paradox::TableWriter t(
            path,
            {{QStringLiteral("sor"), paradox::Long, 4}, {QStringLiteral("ertek"), type, length}},
            1);
        t.append({1, value});
        t.append({2, QVariant()});
    }
    paradox::TableReader reader(path);
    QCOMPARE(reader.recordCount(), 2);
    QCOMPARE(reader.fields().at(1).type, type);
    QCOMPARE(reader.record(0).at(1), value);
    QVERIFY(reader.record(1).at(1).isNull());
}

QTEST_GUILESS_MAIN(TestParadoxReader)
#include "tst_paradoxreader.moc"
