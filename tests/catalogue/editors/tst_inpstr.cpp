#include "catalogue/editors/formhelpers.h"
#include "catalogue/editors/frm_inpstr.h"
#include "catalogue/editors/masterdata.h"
#include "catalogue/main/settings.h"
#include "common/formpos.h"
#include "common/paths.h"
#include "modaldriver.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QtTest>

namespace {

Tfrm_InpStr* asDialog(QWidget* w)
{
    return qobject_cast<Tfrm_InpStr*>(w);
}

} // namespace

class TestInpStr : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void init();
    void typedTextIsReturned_data();
    void typedTextIsReturned();
    void capitalsKeepTheCaret();
    void cancelKeepsTheValue_data();
    void cancelKeepsTheValue();
    void opensWhereLeft();

private:
    QTemporaryDir tmp_;
};

void TestInpStr::init()
{
    RunStartupStep(tmp_.filePath(QStringLiteral("prog")), tmp_.filePath(QStringLiteral("home")));
    QFile::remove(IniFileName);
    TBeall = {};
    TBeall.FontSize = 10;
}

void TestInpStr::typedTextIsReturned_data()
{
    QTest::addColumn<QString>("start");
    QTest::addColumn<bool>("keepCase");
    QTest::addColumn<QChar>("passwordChar");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<bool>("byEnter");
    QTest::addColumn<QString>("shown");
    QTest::addColumn<QString>("result");

    QTest::newRow("capitals, Hungarian letters too")
        << QString() << false << QChar() << QStringLiteral("kovács őrs ünige") << false
        << QStringLiteral("KOVÁCS ŐRS ÜNIGE") << QStringLiteral("KOVÁCS ŐRS ÜNIGE");
    QTest::newRow("capitals, confirmed with Enter")
        << QString() << false << QChar() << QStringLiteral("kovács") << true
        << QStringLiteral("KOVÁCS") << QStringLiteral("KOVÁCS");
    QTest::newRow("a value handed in is shown in capitals")
        << QStringLiteral("nagy") << false << QChar() << QStringLiteral(" éva") << false
        << QStringLiteral("NAGY ÉVA") << QStringLiteral("NAGY ÉVA");
    QTest::newRow("case kept") << QStringLiteral("Kis ") << true << QChar() << QStringLiteral("Éva")
                               << true << QStringLiteral("Kis Éva") << QStringLiteral("Kis Éva");
    QTest::newRow("masked, case kept")
        << QString() << true << QChar(u'*') << QStringLiteral("Titok1á") << false
        << QStringLiteral("*******") << QStringLiteral("Titok1á");
}

void TestInpStr::typedTextIsReturned()
{
    QFETCH(QString, start);
    QFETCH(bool, keepCase);
    QFETCH(QChar, passwordChar);
    QFETCH(QString, typed);
    QFETCH(bool, byEnter);
    QFETCH(QString, shown);
    QFETCH(QString, result);

    QString caption, prompt, display;
    OnModal(QStringLiteral("frm_InpStr"), [&](QWidget* w) {
        Tfrm_InpStr* d = asDialog(w);
        QVERIFY(d);
        caption = d->windowTitle();
        prompt = d->Label1->text();
        QCOMPARE(d->Label1->buddy(), d->Edit1);
        QTRY_VERIFY(d->Edit1->hasFocus());
        // What the caller handed in is all selected: typing after End appends.
        QTest::keyClick(d->Edit1, Qt::Key_End);
        TypeText(d->Edit1, typed);
        display = d->Edit1->displayText();
        if (byEnter)
            QTest::keyClick(d->Edit1, Qt::Key_Return);
        else
            QTest::mouseClick(d->Button1, Qt::LeftButton);
    });
    QString value = start;
    QVERIFY(AskString(QStringLiteral("Kölcsönadás"), QStringLiteral("Kinek adod kölcsön"), value,
                      keepCase, passwordChar));
    QCOMPARE(caption, QStringLiteral("Kölcsönadás"));
    QCOMPARE(prompt, QStringLiteral("Kinek adod kölcsön"));
    QCOMPARE(display, shown);
    QCOMPARE(value, result);
}

void TestInpStr::capitalsKeepTheCaret()
{
    QString value;
    OnModal(QStringLiteral("frm_InpStr"), [&](QWidget* w) {
        Tfrm_InpStr* d = asDialog(w);
        TypeText(d->Edit1, QStringLiteral("kvács"));
        QTest::keyClick(d->Edit1, Qt::Key_Home);
        QTest::keyClick(d->Edit1, Qt::Key_Right);
        QTest::keyClicks(d->Edit1, QStringLiteral("o"));
        QCOMPARE(d->Edit1->cursorPosition(), 2);
        QTest::keyClick(d->Edit1, Qt::Key_End);
        TypeText(d->Edit1, QStringLiteral("ß"));
        QCOMPARE(d->Edit1->cursorPosition(), 8);
        d->Button1->click();
    });
    QVERIFY(AskString(QStringLiteral("Kölcsönadás"), QStringLiteral("Kinek adod kölcsön"), value,
                      false, QChar()));
    QCOMPARE(value, QStringLiteral("KOVÁCSSS"));
}

void TestInpStr::cancelKeepsTheValue_data()
{
    QTest::addColumn<QString>("how");
    QTest::newRow("Mégsem") << QStringLiteral("button");
    QTest::newRow("Esc") << QStringLiteral("escape");
    QTest::newRow("window closed") << QStringLiteral("close");
}

void TestInpStr::cancelKeepsTheValue()
{
    QFETCH(QString, how);
    OnModal(QStringLiteral("frm_InpStr"), [&](QWidget* w) {
        Tfrm_InpStr* d = asDialog(w);
        QTest::keyClicks(d->Edit1, QStringLiteral("valami"));
        if (how == QLatin1String("button"))
            QTest::mouseClick(d->Button2, Qt::LeftButton);
        else if (how == QLatin1String("escape"))
            QTest::keyClick(d->Edit1, Qt::Key_Escape);
        else
            d->close();
    });
    QString value = QStringLiteral("régi");
    QVERIFY(!AskString(QStringLiteral("Kölcsönadás"), QStringLiteral("Kinek adod kölcsön"), value,
                       false, QChar()));
    QCOMPARE(value, QStringLiteral("régi"));
}

void TestInpStr::opensWhereLeft()
{
    QPoint first;
    QColor focused;
    int fontSize = 0;
    OnModal(QStringLiteral("frm_InpStr"), [&](QWidget* w) {
        first = w->pos();
        fontSize = w->font().pointSize();
        QTRY_VERIFY(asDialog(w)->Edit1->hasFocus());
        focused = asDialog(w)->Edit1->palette().color(QPalette::Base);
        w->move(120, 90);
        asDialog(w)->Button2->click();
    });
    QString value;
    AskString(QStringLiteral("a"), QStringLiteral("b"), value, true, QChar());
    QCOMPARE(first, QPoint(10, 10));
    QCOMPARE(fontSize, 10);
    QCOMPARE(focused, FocusColour);
    int left = 0, top = 0;
    LoadFormPos(QStringLiteral("frm_InpStr"), left, top);
    QCOMPARE(QPoint(left, top), QPoint(120, 90));

    QPoint again;
    OnModal(QStringLiteral("frm_InpStr"), [&](QWidget* w) {
        again = w->pos();
        asDialog(w)->Button1->click();
    });
    AskString(QStringLiteral("a"), QStringLiteral("b"), value, true, QChar());
    QCOMPARE(again, QPoint(120, 90));
}

QTEST_MAIN(TestInpStr)
#include "tst_inpstr.moc"
