#include "common/graphics.h"
#include "common/text.h"

#include <QTest>

class TestText : public QObject
{
    Q_OBJECT
private slots:
    void nthField_data();
    void nthField();
    void joinLines_data();
    void joinLines();
    void removeChar_data();
    void removeChar();
    void countChar();
    void safeFileName_data();
    void safeFileName();
    void lightenColor_data();
    void lightenColor();
    void shrinkRect();
};

void TestText::nthField_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("field");
    QTest::addColumn<QString>("expected");
    QTest::newRow("first") << "a;b;;c" << 1 << "a";
    QTest::newRow("second") << "a;b;;c" << 2 << "b";
    QTest::newRow("empty between") << "a;b;;c" << 3 << "";
    QTest::newRow("last") << "a;b;;c" << 4 << "c";
    QTest::newRow("beyond") << "a;b;;c" << 5 << "";
    QTest::newRow("zero") << "a;b;;c" << 0 << "";
    QTest::newRow("negative") << "a;b" << -1 << "";
    QTest::newRow("no separator") << "egész" << 1 << "egész";
    QTest::newRow("trailing separator") << "a;" << 2 << "";
    QTest::newRow("leading separator") << ";a" << 2 << "a";
}

void TestText::nthField()
{
    QFETCH(QString, text);
    QFETCH(int, field);
    QFETCH(QString, expected);
    QCOMPARE(NthField(QLatin1Char(';'), text, field), expected);
}

void TestText::joinLines_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("expected");
    QTest::newRow("empty") << ""
                           << "";
    QTest::newRow("one line") << "abc"
                              << "abc|";
    QTest::newRow("crlf") << "x\r\ny"
                          << "x|y|";
    QTest::newRow("lf and cr") << "x\ny\rz"
                               << "x|y|z|";
    QTest::newRow("final break") << "x\r\ny\r\n"
                                 << "x|y|";
    QTest::newRow("only a break") << "\r\n"
                                  << "|";
    QTest::newRow("empty line kept") << "x\r\n\r\ny"
                                     << "x||y|";
    QTest::newRow("cr lf not two breaks") << "x\r\n"
                                          << "x|";
    QTest::newRow("lf cr is two breaks") << "x\n\ry"
                                         << "x||y|";
}

void TestText::joinLines()
{
    QFETCH(QString, text);
    QFETCH(QString, expected);
    QCOMPARE(JoinLines(text, QStringLiteral("|")), expected);
}

void TestText::removeChar_data()
{
    QTest::addColumn<QString>("ch");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("expected");
    QTest::newRow("accelerator") << "&"
                                 << "&Fájl"
                                 << "Fájl";
    QTest::newRow("doubled") << "&"
                             << "a&&b"
                             << "ab";
    QTest::newRow("absent") << "&"
                            << "abc"
                            << "abc";
    QTest::newRow("empty char") << ""
                                << "abc"
                                << "abc";
    QTest::newRow("accented char") << "é"
                                   << "él én"
                                   << "l n";
}

void TestText::removeChar()
{
    QFETCH(QString, ch);
    QFETCH(QString, text);
    QFETCH(QString, expected);
    QCOMPARE(RemoveChar(ch, text), expected);
}

void TestText::countChar()
{
    QCOMPARE(CountChar(QLatin1Char(';'), QStringLiteral("select 1; select 2;")), 2);
    QCOMPARE(CountChar(QLatin1Char(';'), QString()), 0);
    QCOMPARE(CountChar(QChar(0x151), QStringLiteral("őrző")), 2);
}

void TestText::safeFileName_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("expected");
    QTest::newRow("accents") << "Az én listám"
                             << "az-_n-list_m";
    QTest::newRow("colon slash") << "Filmek: 1/2"
                                 << "filmek--1-2";
    QTest::newRow("double acute") << "Böngésző"
                                  << "b_ng_sz_";
    QTest::newRow("all dashed marks") << " !\"#%&'*+/:?@\\"
                                      << "--------------";
    QTest::newRow("kept marks") << "$(),-.;<=>[]{}|~"
                                << "$(),-.;<=>[]{}|~";
    QTest::newRow("euro stays") << "Ár €"
                                << "_r-€";
    QTest::newRow("outside code page") << "日本 A"
                                       << "__-a";
    QTest::newRow("outside basic plane") << "a😀b"
                                         << "a_b";
    QTest::newRow("upper ascii") << "ABC.Htm"
                                 << "abc.htm";
}

void TestText::safeFileName()
{
    QFETCH(QString, text);
    QFETCH(QString, expected);
    QCOMPARE(SafeFileName(text), expected);
}

void TestText::lightenColor_data()
{
    QTest::addColumn<QColor>("color");
    QTest::addColumn<int>("amount");
    QTest::addColumn<QColor>("expected");
    QTest::newRow("white stays") << QColor(255, 255, 255) << 15 << QColor(255, 255, 255);
    QTest::newRow("mixed") << QColor(250, 100, 0) << 15 << QColor(255, 115, 15);
    // 255 - 240 is 15, not greater than 15: that channel goes straight to 255
    QTest::newRow("boundary") << QColor(240, 239, 241) << 15 << QColor(255, 254, 255);
    QTest::newRow("zero amount") << QColor(1, 2, 3) << 0 << QColor(1, 2, 3);
    QTest::newRow("full amount") << QColor(0, 0, 0) << 255 << QColor(255, 255, 255);
    QTest::newRow("non-rgb spec") << QColor::fromHsv(0, 0, 100) << 10 << QColor(110, 110, 110);
}

void TestText::lightenColor()
{
    QFETCH(QColor, color);
    QFETCH(int, amount);
    QFETCH(QColor, expected);
    const QColor result = LightenColor(color, amount);
    QCOMPARE(result.rgb(), expected.rgb());
    QCOMPARE(result.spec(), QColor::Rgb);
}

void TestText::shrinkRect()
{
    const QRect r(10, 20, 30, 40);
    const QRect s = ShrinkRect(r);
    QCOMPARE(s.left(), 11);
    QCOMPARE(s.top(), 21);
    QCOMPARE(s.right(), r.right() - 1);
    QCOMPARE(s.bottom(), r.bottom() - 1);
    QCOMPARE(ShrinkRect(s), QRect(12, 22, 26, 36));
}

QTEST_APPLESS_MAIN(TestText)
#include "tst_text.moc"
