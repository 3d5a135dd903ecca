#include "common/codepage.h"

#include <QTest>

class TestCodepage : public QObject
{
    Q_OBJECT
private slots:
    void hungarianLettersRoundTrip();
    void fits_data();
    void fits();
    void unmappableBecomesQuestionMark();
};

void TestCodepage::hungarianLettersRoundTrip()
{
    const QString text = QStringLiteral("áéíóöőúüűÁÉŐŰ€");
    const QByteArray bytes = ToCp1250(text);
    QCOMPARE(bytes, QByteArray("\xE1\xE9\xED\xF3\xF6\xF5\xFA\xFC\xFB\xC1\xC9\xD5\xDB\x80"));
    QCOMPARE(FromCp1250(bytes), text);
}

void TestCodepage::fits_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("fits");
    QTest::newRow("empty") << QString() << true;
    QTest::newRow("hungarian") << QStringLiteral("Kovács Éva, Győr") << true;
    QTest::newRow("euro") << QStringLiteral("10 €") << true;
    QTest::newRow("cjk") << QStringLiteral("/tmp/日本") << false;
    QTest::newRow("spanish n") << QStringLiteral("España") << false;
    QTest::newRow("emoji") << QStringLiteral("a😀") << false;
}

void TestCodepage::fits()
{
    QFETCH(QString, text);
    QFETCH(bool, fits);
    QCOMPARE(FitsCp1250(text), fits);
}

void TestCodepage::unmappableBecomesQuestionMark()
{
    // One '?' per character, also for one outside the basic plane; never the
    // SUB control character that the converter writes on its own.
    QCOMPARE(ToCp1250(QStringLiteral("日a😀bő")), QByteArray("?a?b\xF5"));
}

QTEST_APPLESS_MAIN(TestCodepage)
#include "tst_codepage.moc"
