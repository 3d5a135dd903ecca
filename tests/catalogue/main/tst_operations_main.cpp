#include "catalogue/data/query.h"
#include "catalogue/main/frm_main.h"
#include "catalogue/main/settings.h"
#include "catalogue/main/themedbgrid.h"
#include "common/clock.h"
#include "common/messages.h"
#include "common/paths.h"

#include <QAction>
#include <QLabel>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

// The main window's commands that change the catalogue, answered through the
// message-box seam and the input dialog's own widgets.
class TestOperationsMain : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void init();
    void cleanup();
    void freeTapeFollowsRecordings();
    void deletingRenumbersWhateverTheOrder();
    void deletingTheLastCassetteEmptiesBothLists();
    void lendAndTakeBack();
    void lendingWithAnEmptyName();
    void emptyFlagCanBeLentAndTakenBack();
    void emptyListsDoNothing();

private:
    void trigger(const char* action) { w_->action(QLatin1String(action))->trigger(); }
    // Answers the next input dialog with `text` and OK.
    void answerInput(const QString& text);

    QTemporaryDir* tmp_ = nullptr;
    Tfrm_Main* w_ = nullptr;
    QList<MessageBoxRequest> boxes_;
    QMessageBox::StandardButton answer_ = QMessageBox::Yes;
};

void TestOperationsMain::init()
{
    tmp_ = new QTemporaryDir;
    boxes_.clear();
    answer_ = QMessageBox::Yes;
    SetMessageBoxHandler([this](const MessageBoxRequest& r) {
        boxes_ << r;
        return r.buttons.testFlag(QMessageBox::Yes) ? answer_ : QMessageBox::Ok;
    });
    SetToday(QDate(2026, 12, 11));
    RunStartupStep(tmp_->filePath(QStringLiteral("prog")), tmp_->filePath(QStringLiteral("common")));
    TBeall = {};
    {
        Database db;
        db.open(AppDataDir + QStringLiteral("/Data"));
        db.exec(QStringLiteral(
            "INSERT INTO vk (vk, azonosito, hossz, szabad, kolcsonadva) VALUES (1,'00001',180,180,'N'),"
            " (2,'00002',240,240,'I'), (3,'00003',120,120,NULL);"
            "INSERT INTO felvetel (vk, felvetel, cim, hossz) VALUES"
            " (1,1,'d',60), (1,2,'c',45), (1,4,'a',10), (1,5,'b',5);"));
    }
    w_ = new Tfrm_Main;
    QVERIFY(w_->FormCreate());
    w_->show();
    QVERIFY(QTest::qWaitForWindowExposed(w_));
}

void TestOperationsMain::cleanup()
{
    w_->close();
    delete w_;
    SetMessageBoxHandler({});
    SetToday(QDate());
    delete tmp_;
}

void TestOperationsMain::answerInput(const QString& text)
{
    QTimer::singleShot(0, this, [text] {
        QWidget* dialog = QApplication::activeModalWidget();
        QVERIFY(dialog);
        auto* edit = dialog->findChild<QLineEdit*>(QStringLiteral("Edit1"));
        QVERIFY(edit);
        // Typed one key at a time, accented letters too.
        for (const QChar c : text) {
            QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QString(c));
            QApplication::sendEvent(edit, &press);
        }
        dialog->findChild<QPushButton*>(QStringLiteral("Button1"))->click();
    });
}

void TestOperationsMain::freeTapeFollowsRecordings()
{
    w_->Db1.exec(QStringLiteral("DELETE FROM felvetel WHERE felvetel > 2"));
    w_->UpdateFreeTape();
    QCOMPARE(w_->TblVK->value(QStringLiteral("szabad")).toInt(), 180 - 60 - 45);
    w_->TblFelvetel->last();
    trigger("aFelvTorol"); // deleting the 45 minutes frees them at once
    QCOMPARE(w_->TblVK->value(QStringLiteral("szabad")).toInt(), 120);
    // A cassette without recordings has all its tape free.
    w_->TblFelvetel->first();
    trigger("aFelvTorol");
    QCOMPARE(w_->TblVK->value(QStringLiteral("szabad")).toInt(), 180);
    QVERIFY(w_->TblFelvetel->isEmpty());
}

void TestOperationsMain::deletingRenumbersWhateverTheOrder()
{
    Q_EMIT w_->DBGrid2->titleClick(1); // by title: a, b, c, d
    w_->TblFelvetel->first();
    QCOMPARE(w_->TblFelvetel->value(QStringLiteral("cim")).toString(), QStringLiteral("a"));
    answer_ = QMessageBox::No;
    trigger("aFelvTorol");
    QCOMPARE(w_->TblFelvetel->recordCount(), 4);
    answer_ = QMessageBox::Yes;
    w_->TblFelvetel->locate(QStringLiteral("cim"), QStringLiteral("c"));
    trigger("aFelvTorol");
    QCOMPARE(boxes_.last().caption, QStringLiteral("Megerősítés"));
    QCOMPARE(boxes_.last().text, QStringLiteral("Valóban töröljem a felvételt?"));
    Query q(w_->Db1, QStringLiteral("SELECT group_concat(felvetel || cim, ' ') FROM "
                                    "(SELECT felvetel, cim FROM felvetel WHERE vk=1 ORDER BY felvetel)"));
    q.open();
    QCOMPARE(q.value(0).toString(), QStringLiteral("1d 2a 3b"));
    QCOMPARE(w_->TblFelvetel->recordCount(), 3);
}

void TestOperationsMain::deletingTheLastCassetteEmptiesBothLists()
{
    for (int i = 0; i < 3; ++i)
        trigger("aTorol");
    QVERIFY(w_->TblVK->isEmpty());
    QVERIFY(w_->TblFelvetel->isEmpty());
    QCOMPARE(w_->TblFelvetel->filter(), QStringLiteral("vk=0"));
    Query q(w_->Db1, QStringLiteral("SELECT count(*) FROM felvetel"));
    q.open();
    QCOMPARE(q.value(0).toInt(), 0);
    QCOMPARE(boxes_.first().text, QStringLiteral("Valóban töröljem a kazettát?"));
}

void TestOperationsMain::lendAndTakeBack()
{
    answerInput(QStringLiteral("kovács éva"));
    trigger("aKolcsonad");
    QCOMPARE(w_->TblVK->value(QStringLiteral("kolcsonadva")).toString(), QStringLiteral("I"));
    QCOMPARE(w_->TblVK->value(QStringLiteral("kinek")).toString(), QStringLiteral("KOVÁCS ÉVA"));
    QCOMPARE(w_->TblVK->value(QStringLiteral("dat_kolcs")).toDate(), QDate(2026, 12, 11));
    trigger("aKolcsonad");
    QCOMPARE(boxes_.last().caption, QStringLiteral("Hiba"));
    QCOMPARE(boxes_.last().text, QStringLiteral("Ez a tétel már kölcsön lett adva"));

    answer_ = QMessageBox::No;
    trigger("aVisszakap");
    QCOMPARE(w_->TblVK->value(QStringLiteral("kolcsonadva")).toString(), QStringLiteral("I"));
    answer_ = QMessageBox::Yes;
    trigger("aVisszakap");
    QCOMPARE(boxes_.last().text, QStringLiteral("Valóban visszaveszed a tételt?"));
    QCOMPARE(w_->TblVK->value(QStringLiteral("kolcsonadva")).toString(), QStringLiteral("N"));
    QVERIFY(w_->TblVK->value(QStringLiteral("kinek")).isNull());
    QVERIFY(w_->TblVK->value(QStringLiteral("dat_kolcs")).isNull());
    trigger("aVisszakap");
    QCOMPARE(boxes_.last().text, QStringLiteral("Ez a tétel még nincs kölcsönadva"));
}

void TestOperationsMain::lendingWithAnEmptyName()
{
    answerInput(QString());
    trigger("aKolcsonad");
    QCOMPARE(w_->TblVK->value(QStringLiteral("kolcsonadva")).toString(), QStringLiteral("I"));
    QVERIFY(w_->TblVK->value(QStringLiteral("kinek")).toString().isEmpty());
    QCOMPARE(w_->TblVK->value(QStringLiteral("dat_kolcs")).toDate(), QDate(2026, 12, 11));
}

void TestOperationsMain::emptyFlagCanBeLentAndTakenBack()
{
    w_->TblVK->last(); // cassette 3, flag empty
    trigger("aVisszakap");
    QCOMPARE(w_->TblVK->value(QStringLiteral("kolcsonadva")).toString(), QStringLiteral("N"));
    w_->Db1.exec(QStringLiteral("UPDATE vk SET kolcsonadva=NULL WHERE vk=3"));
    answerInput(QStringLiteral("x"));
    trigger("aKolcsonad");
    QCOMPARE(w_->TblVK->value(QStringLiteral("kolcsonadva")).toString(), QStringLiteral("I"));
}

void TestOperationsMain::emptyListsDoNothing()
{
    w_->TblVK->moveTo(1); // cassette 2 has no recordings
    QVERIFY(w_->TblFelvetel->isEmpty());
    trigger("aFelvTorol");
    QVERIFY(boxes_.isEmpty());
    w_->Db1.exec(QStringLiteral("DELETE FROM vk"));
    QVERIFY(w_->TblVK->isEmpty());
    for (const char* a : {"aTorol", "aKolcsonad", "aVisszakap"})
        trigger(a);
    QVERIFY(boxes_.isEmpty());
}

QTEST_MAIN(TestOperationsMain)
#include "tst_operations_main.moc"
