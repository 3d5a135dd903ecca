#include "catalogue/data/database.h"
#include "catalogue/data/query.h"
#include "catalogue/editors/formhelpers.h"
#include "catalogue/main/settings.h"
#include "common/formpos.h"
#include "common/paths.h"

#include <QComboBox>
#include <QDialog>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QVBoxLayout>
#include <QtTest>

class TestFormHelpers : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void init();
    void fillersAppend();
    void fillerErrorsReachTheCaller();
    void enterMovesFocusButNotInMemos();
    void focusColouring();
    void placeIsRestoredAndStored();

private:
    QTemporaryDir tmp_;
};

void TestFormHelpers::init()
{
    RunStartupStep(tmp_.filePath(QStringLiteral("prog")), tmp_.filePath(QStringLiteral("home")));
    TBeall = {};
    TBeall.FontSize = 11;
}

void TestFormHelpers::fillersAppend()
{
    Database db;
    db.open(tmp_.filePath(QStringLiteral("data")));
    db.exec(QStringLiteral("DELETE FROM mufaj; INSERT INTO mufaj (nev) VALUES ('Vígjáték'), (NULL), ('Dráma');"));
    Query qry(db);
    QComboBox combo;
    combo.addItem(QStringLiteral("<nincs szűrés>"));
    FillComboFromQuery(qry, &combo, QStringLiteral("SELECT az,nev FROM mufaj ORDER BY 2;"));
    QCOMPARE(combo.count(), 4);
    QCOMPARE(combo.itemText(0), QStringLiteral("<nincs szűrés>"));
    QCOMPARE(combo.itemText(1), QString()); // null listed as empty, first in order
    QCOMPARE(combo.itemText(2), QStringLiteral("Dráma"));
    FillComboFromQueryFirstColumn(qry, &combo, QStringLiteral("SELECT nev FROM mufaj WHERE nev IS NOT NULL ORDER BY 1;"));
    QCOMPARE(combo.count(), 6); // twice: listed twice
    FillComboFromQuery(qry, &combo, QStringLiteral("SELECT az,nev FROM mufaj WHERE az < 0"));
    QCOMPARE(combo.count(), 6);
    QVERIFY(!qry.isActive());
}

void TestFormHelpers::fillerErrorsReachTheCaller()
{
    Database db;
    db.open(tmp_.filePath(QStringLiteral("data")));
    Query qry(db);
    QComboBox combo;
    QVERIFY_THROWS_EXCEPTION(DbError, FillComboFromQuery(qry, &combo, QStringLiteral("SELECT az FROM tipus")));
    QVERIFY_THROWS_EXCEPTION(DbError, FillComboFromQuery(qry, &combo, QStringLiteral("SELECT nincs FROM tipus")));
}

void TestFormHelpers::enterMovesFocusButNotInMemos()
{
    QDialog dialog;
    auto* layout = new QVBoxLayout(&dialog);
    auto* first = new QLineEdit(&dialog);
    auto* memo = new QPlainTextEdit(&dialog);
    auto* ok = new QPushButton(QStringLiteral("OK"), &dialog);
    ok->setAutoDefault(false);
    layout->addWidget(first);
    layout->addWidget(memo);
    layout->addWidget(ok);
    QObject::connect(ok, &QPushButton::clicked, &dialog, &QDialog::accept);
    SetupDialog(&dialog, QStringLiteral("frm_Teszt"), false, true);
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    QApplication::setActiveWindow(&dialog);
    first->setFocus();
    QTRY_VERIFY(first->hasFocus());
    QTest::keyClick(first, Qt::Key_Return);
    QVERIFY(memo->hasFocus());
    QVERIFY(dialog.isVisible());
    QTest::keyClicks(memo, QStringLiteral("a"));
    QTest::keyClick(memo, Qt::Key_Return);
    QTest::keyClicks(memo, QStringLiteral("b"));
    QCOMPARE(memo->toPlainText(), QStringLiteral("a\nb"));
    ok->setFocus();
    QTest::keyClick(ok, Qt::Key_Return);
    QCOMPARE(dialog.result(), int(QDialog::Accepted));
    QCOMPARE(dialog.font().pointSize(), 11);
}

void TestFormHelpers::focusColouring()
{
    QDialog dialog;
    auto* layout = new QVBoxLayout(&dialog);
    auto* a = new QLineEdit(&dialog);
    auto* b = new QLineEdit(&dialog);
    layout->addWidget(a);
    layout->addWidget(b);
    ColourOnFocus(a);
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    QApplication::setActiveWindow(&dialog);
    a->setFocus();
    QTRY_COMPARE(a->palette().color(QPalette::Base), FocusColour);
    b->setFocus();
    QTRY_VERIFY(a->palette().color(QPalette::Base) != FocusColour);
}

void TestFormHelpers::placeIsRestoredAndStored()
{
    {
        QDialog dialog;
        SetupDialog(&dialog, QStringLiteral("frm_Bongeszo"), true, false);
        dialog.resize(500, 300);
        dialog.show();
        QCOMPARE(dialog.pos(), QPoint(10, 10)); // never closed before
        QCOMPARE(dialog.size(), QSize(500, 300));
        dialog.move(40, 50);
        dialog.resize(600, 350);
        dialog.reject();
    }
    int left = 0, top = 0, width = 0, height = 0;
    LoadFormBounds(QStringLiteral("frm_Bongeszo"), left, top, width, height);
    QCOMPARE(QRect(left, top, width, height), QRect(40, 50, 600, 350));
    QDialog again;
    SetupDialog(&again, QStringLiteral("frm_Bongeszo"), true, false);
    again.show();
    QCOMPARE(again.pos(), QPoint(40, 50));
    QCOMPARE(again.size(), QSize(600, 350));
    again.accept();
}

QTEST_MAIN(TestFormHelpers)
#include "tst_formhelpers.moc"
