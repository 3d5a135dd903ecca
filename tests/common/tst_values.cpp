#include "common/errors.h"
#include "common/values.h"

#include <QDate>
#include <QTest>

namespace {
// How the data layer hands over a null field of a given type.
QVariant nullOf(QMetaType type)
{
    return QVariant(type);
}
} // namespace

class TestValues : public QObject
{
    Q_OBJECT
private slots:
    void nullToStr_data();
    void nullToStr();
    void nullToInt_data();
    void nullToInt();
    void nullToFloat_data();
    void nullToFloat();
    void numericConversionErrors_data();
    void numericConversionErrors();
    void nullToStrReplace();
    void iifVar();
};

void TestValues::nullToStr_data()
{
    QTest::addColumn<QVariant>("value");
    QTest::addColumn<QString>("expected");
    QTest::newRow("invalid") << QVariant() << "-";
    QTest::newRow("null text") << nullOf(QMetaType::fromType<QString>()) << "-";
    QTest::newRow("null integer") << nullOf(QMetaType::fromType<int>()) << "-";
    QTest::newRow("integer") << QVariant(5) << "5";
    QTest::newRow("empty text is not null") << QVariant(QStringLiteral("")) << "";
    QTest::newRow("text") << QVariant(QStringLiteral("Kovács")) << "Kovács";
    QTest::newRow("float") << QVariant(2.5) << "2.5";
}

void TestValues::nullToStr()
{
    QFETCH(QVariant, value);
    QFETCH(QString, expected);
    QCOMPARE(NullToStr(value, QStringLiteral("-")), expected);
}

void TestValues::nullToInt_data()
{
    QTest::addColumn<QVariant>("value");
    QTest::addColumn<int>("expected");
    QTest::newRow("invalid") << QVariant() << -1;
    QTest::newRow("null integer") << nullOf(QMetaType::fromType<int>()) << -1;
    QTest::newRow("null text") << nullOf(QMetaType::fromType<QString>()) << -1;
    QTest::newRow("integer") << QVariant(42) << 42;
    QTest::newRow("zero is not null") << QVariant(0) << 0;
    QTest::newRow("long long") << QVariant(qlonglong(180)) << 180;
    QTest::newRow("text") << QVariant(QStringLiteral("17")) << 17;
    QTest::newRow("padded text") << QVariant(QStringLiteral(" 12 ")) << 12;
    QTest::newRow("negative text") << QVariant(QStringLiteral("-3")) << -3;
    QTest::newRow("float rounds") << QVariant(2.6) << 3;
    QTest::newRow("int max") << QVariant(qlonglong(INT_MAX)) << INT_MAX;
}

void TestValues::nullToInt()
{
    QFETCH(QVariant, value);
    QFETCH(int, expected);
    QCOMPARE(NullToInt(value, -1), expected);
}

void TestValues::nullToFloat_data()
{
    QTest::addColumn<QVariant>("value");
    QTest::addColumn<double>("expected");
    QTest::newRow("invalid") << QVariant() << 7.5;
    QTest::newRow("null double") << nullOf(QMetaType::fromType<double>()) << 7.5;
    QTest::newRow("double") << QVariant(1.25) << 1.25;
    QTest::newRow("integer") << QVariant(90) << 90.0;
    QTest::newRow("text") << QVariant(QStringLiteral(" 3.5 ")) << 3.5;
}

void TestValues::nullToFloat()
{
    QFETCH(QVariant, value);
    QFETCH(double, expected);
    QCOMPARE(NullToFloat(value, 7.5), expected);
    // NullToZero is the same conversion with 0 for null.
    QCOMPARE(NullToZero(value), value.isNull() ? 0.0 : expected);
}

void TestValues::numericConversionErrors_data()
{
    QTest::addColumn<QVariant>("value");
    QTest::newRow("letters") << QVariant(QStringLiteral("abc"));
    QTest::newRow("empty text") << QVariant(QStringLiteral(""));
    QTest::newRow("number then letters") << QVariant(QStringLiteral("12abc"));
    QTest::newRow("date") << QVariant(QDate(2024, 3, 1));
    QTest::newRow("infinity text") << QVariant(QStringLiteral("inf"));
    QTest::newRow("beyond int") << QVariant(qlonglong(INT_MAX) + 1);
}

void TestValues::numericConversionErrors()
{
    QFETCH(QVariant, value);
    // A bad value must never pass for 0 (or for the default).
    QVERIFY_THROWS_EXCEPTION(ZelmoError, NullToInt(value, 0));
    if (value.typeId() != QMetaType::LongLong) {
        QVERIFY_THROWS_EXCEPTION(ZelmoError, NullToFloat(value, 0));
        QVERIFY_THROWS_EXCEPTION(ZelmoError, NullToZero(value));
    }
}

void TestValues::nullToStrReplace()
{
    QCOMPARE(NullToStrReplace(QStringLiteral("a;b;c"), QLatin1Char(';'), QLatin1Char(',')),
             QStringLiteral("a,b,c"));
    QCOMPARE(NullToStrReplace(QVariant(), QLatin1Char(';'), QLatin1Char(',')), QString());
    QCOMPARE(NullToStrReplace(123, QLatin1Char('2'), QLatin1Char('x')), QStringLiteral("1x3"));
}

void TestValues::iifVar()
{
    QCOMPARE(IifVar(true, 1, QStringLiteral("b")), QVariant(1));
    QCOMPARE(IifVar(false, 1, QStringLiteral("b")), QVariant(QStringLiteral("b")));
    QVERIFY(IifVar(false, 1, QVariant()).isNull());
}

QTEST_APPLESS_MAIN(TestValues)
#include "tst_values.moc"
