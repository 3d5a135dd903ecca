#include "catalogue/main/frm_main.h"
#include "catalogue/main/mainlists.h"
#include "catalogue/main/settings.h"
#include "catalogue/main/themedbgrid.h"
#include "common/graphics.h"
#include "common/messages.h"
#include "common/paths.h"

#include <QAction>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QSplitter>
#include <QTemporaryDir>
#include <QtTest>

// The main window on a small catalogue: cassettes 1-6 (cassette 3 lent), recordings on cassette 1.
class TestFrmMain : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void init();
    void cleanup();
    void emptyCatalogueOpensQuietly();
    void actionsAndKeys();
    void titleClickSortsAndMarks();
    void titleClickOnUnindexedFieldKeepsOrder();
    void typingIntoGridMovesToSearch();
    void cellColours();
    void columnsFollowThePanels();
    void splitterRefusesNarrowCassettePanel();
    void fontSizeActionsStayInRange();
    void goToRecording();

private:
    void fill();
    Tfrm_Main* open();

    QTemporaryDir* tmp_ = nullptr;
    Tfrm_Main* w_ = nullptr;
    QStringList errors_;
};

void TestFrmMain::init()
{
    tmp_ = new QTemporaryDir;
    errors_.clear();
    SetMessageBoxHandler([this](const MessageBoxRequest& r) {
        errors_ << r.text;
        return QMessageBox::Ok;
    });
    RunStartupStep(tmp_->filePath(QStringLiteral("prog")), tmp_->filePath(QStringLiteral("common")));
    TBeall = {};
}

void TestFrmMain::cleanup()
{
    if (w_) {
        w_->close();
        delete w_;
        w_ = nullptr;
    }
    SetMessageBoxHandler({});
    delete tmp_;
}

void TestFrmMain::fill()
{
    Database db;
    db.open(AppDataDir + QStringLiteral("/Data"));
    db.exec(QStringLiteral(
        "INSERT INTO vk (vk, azonosito, hossz, szabad, kolcsonadva, tipus_nev) VALUES"
        " (1,'00001',180,75,'N','VHS'), (2,'00002',240,240,'N','Betamax'), (3,'00003',120,120,'I','VHS'),"
        " (4,'00004',120,120,'N','S-VHS'), (5,'00005',60,60,'N','vhs'), (6,'00006',60,60,NULL,NULL);"
        "INSERT INTO felvetel (vk, felvetel, cim, hossz) VALUES (1,1,'Egy',60), (1,2,'Kettő',45), (1,3,'Három',10);"));
}

Tfrm_Main* TestFrmMain::open()
{
    w_ = new Tfrm_Main;
    if (!w_->FormCreate())
        return nullptr;
    w_->show();
    w_->resize(1000, 600);
    if (!QTest::qWaitForWindowExposed(w_))
        return nullptr;
    QApplication::setActiveWindow(w_);
    return w_;
}

void TestFrmMain::emptyCatalogueOpensQuietly()
{
    QVERIFY(open());
    QCOMPARE(w_->TblFelvetel->filter(), QString());
    QCOMPARE(w_->statusPanel(0)->text(), QString());
    // Typing and searching on an empty list do nothing, and say nothing.
    QTest::keyClicks(w_->DBGrid1, QStringLiteral("a1"));
    QTest::keyClicks(w_->Edit2, QStringLiteral("x"));
    QVERIFY(errors_.isEmpty());
}

void TestFrmMain::actionsAndKeys()
{
    QVERIFY(open());
    // A key given to two actions is held by the first in menu order only.
    QCOMPARE(w_->action(QStringLiteral("aBongeszo"))->shortcut(), QKeySequence(QStringLiteral("F11")));
    QVERIFY(w_->action(QStringLiteral("aBetuNovel"))->shortcut().isEmpty());
    QVERIFY(w_->action(QStringLiteral("aBetuNovel"))->text().endsWith(QStringLiteral("\tF11")));
    QCOMPARE(w_->action(QStringLiteral("aNyomtatKep"))->shortcut(), QKeySequence(QStringLiteral("Ctrl+K")));
    QVERIFY(w_->action(QStringLiteral("aKeszito"))->shortcut().isEmpty());
    // Both Enter keys open the settings.
    QCOMPARE(w_->action(QStringLiteral("aBeallit"))->shortcuts().size(), 2);
    // Commands whose windows are not built yet are shown but disabled.
    QVERIFY(!w_->action(QStringLiteral("aSQL"))->isEnabled());
    QVERIFY(w_->action(QStringLiteral("aBongeszo"))->isEnabled());
    QVERIFY(w_->action(QStringLiteral("aExcelbe2"))->isEnabled());
    QVERIFY(w_->action(QStringLiteral("aKilep"))->isEnabled());
    QStringList menus;
    for (QAction* a : w_->menuBar()->actions())
        menus << a->text();
    QCOMPARE(menus, QStringList({"Kazetták", "Felvételek", "Nézet", "Törzsadatok", "Nyomtatások", "Rendszer",
                                 "Súgó"}));
    QStringList popup;
    for (QAction* a : w_->PopupMenu2->actions())
        popup << (a->isSeparator() ? QStringLiteral("-") : a->objectName());
    QCOMPARE(popup, QStringList({"aUjFelv", "aFelvSzerkeszt", "aFelvTorol", "-", "aNyomtat", "-", "aBongeszo"}));
}

void TestFrmMain::titleClickSortsAndMarks()
{
    fill();
    QVERIFY(open());
    const QColor face = w_->DBGrid1->palette().color(QPalette::Button);
    const QColor base = w_->DBGrid1->palette().color(QPalette::Base);
    QCOMPARE(w_->DBGrid1->columnColor(1), face); // starts sorted by cassette number
    Q_EMIT w_->DBGrid1->titleClick(4);
    QCOMPARE(w_->TblVK->orderBy(), QStringLiteral("tipus_nev"));
    QCOMPARE(w_->DBGrid1->columnColor(4), face);
    QCOMPARE(w_->DBGrid1->columnColor(1), base);
    QVERIFY(w_->Edit1->hasFocus());
    QTest::keyClicks(w_->Edit1, QStringLiteral("vhs"));
    QCOMPARE(w_->TblVK->value(QStringLiteral("vk")).toInt(), 1);
}

void TestFrmMain::titleClickOnUnindexedFieldKeepsOrder()
{
    fill();
    QVERIFY(open());
    // An old data folder may lack an index: the order and the marks stay, the user is told.
    {
        Database db;
        db.open(AppDataDir + QStringLiteral("/Data"));
    }
    w_->Db1.exec(QStringLiteral("DROP INDEX vk_idx_hossz"));
    w_->TblVK->close();
    w_->TblVK->open();
    Q_EMIT w_->DBGrid1->titleClick(2);
    QCOMPARE(errors_.size(), 1);
    QCOMPARE(w_->TblVK->orderBy(), QStringLiteral("azonosito"));
    QCOMPARE(w_->DBGrid1->columnColor(1), w_->DBGrid1->palette().color(QPalette::Button));
}

void TestFrmMain::typingIntoGridMovesToSearch()
{
    fill();
    QVERIFY(open());
    Q_EMIT w_->DBGrid1->titleClick(1);
    w_->DBGrid1->setFocus();
    QTest::keyClick(w_->DBGrid1, Qt::Key_4);
    QVERIFY(w_->Edit1->hasFocus());
    QCOMPARE(w_->Edit1->text(), QStringLiteral("4"));
    QCOMPARE(w_->TblVK->value(QStringLiteral("vk")).toInt(), 4);
    QCOMPARE(w_->statusPanel(0)->text(), QStringLiteral("6 / 4"));
    QTest::keyClick(w_->Edit1, Qt::Key_Down);
    QVERIFY(w_->DBGrid1->hasFocus());

    w_->TblVK->first();
    Q_EMIT w_->DBGrid2->titleClick(1);
    w_->DBGrid2->setFocus();
    QTest::keyClicks(w_->DBGrid2, QStringLiteral("K"));
    QCOMPARE(w_->Edit2->text(), QStringLiteral("k"));
    QCOMPARE(w_->TblFelvetel->value(QStringLiteral("cim")).toString(), QStringLiteral("Kettő"));
}

void TestFrmMain::cellColours()
{
    fill();
    QVERIFY(open());
    QTest::qWait(50);
    const QImage img = w_->DBGrid1->viewport()->grab().toImage();
    const auto colourAt = [&](int row, int column) {
        const QRect r = w_->DBGrid1->visualRect(w_->DBGrid1->model()->index(row, column));
        // Numbers are right-aligned: the left edge shows the background.
        return img.pixelColor(r.left() + 2, r.top() + 2);
    };
    const QColor face = w_->DBGrid1->palette().color(QPalette::Button);
    QCOMPARE(colourAt(1, 2), EvenRowColor);                 // second row
    QCOMPARE(colourAt(2, 2), LightenColor(face, 15));       // lent, odd row
    QCOMPARE(colourAt(3, 3), EvenRowColor);                 // fourth row
    QCOMPARE(colourAt(3, 1), face);                         // the sort column
    QCOMPARE(colourAt(0, 2), w_->DBGrid1->palette().color(QPalette::Highlight)); // selected
    QCOMPARE(colourAt(4, 2), w_->DBGrid1->palette().color(QPalette::Base));      // odd row
}

void TestFrmMain::columnsFollowThePanels()
{
    fill();
    QVERIFY(open());
    w_->resize(1100, 600);
    QTest::qWait(20);
    const QList<int> cassette = ShareWidths(w_->pVK->width(), CassetteWidthOffset, CassetteColumnShares);
    for (int i = 0; i < cassette.size(); ++i)
        QCOMPARE(w_->DBGrid1->columnWidth(i + 1), cassette.at(i));
    QCOMPARE(w_->DBGrid1->columnWidth(0), 47);
    const QList<int> recording = ShareWidths(w_->pFelvetel->width(), RecordingWidthOffset, RecordingColumnShares);
    for (int i = 0; i < recording.size(); ++i)
        QCOMPARE(w_->DBGrid2->columnWidth(i), recording.at(i));
}

void TestFrmMain::splitterRefusesNarrowCassettePanel()
{
    QVERIFY(open());
    w_->Splitter1->setSizes({500, 500});
    QSplitterHandle* handle = w_->Splitter1->handle(1);
    const QPoint grip = handle->rect().center();
    const auto dragTo = [&](int x) {
        QTest::mousePress(handle, Qt::LeftButton, Qt::NoModifier, grip);
        QMouseEvent move(QEvent::MouseMove, QPointF(grip), handle->mapToGlobal(QPointF(grip)) +
                                                               QPointF(x - w_->pVK->width(), 0),
                         Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(handle, &move);
        QTest::mouseRelease(handle, Qt::LeftButton, Qt::NoModifier, grip);
    };
    dragTo(450);
    QCOMPARE(w_->pVK->width(), 450);
    dragTo(400);
    QCOMPARE(w_->pVK->width(), 450);
    dragTo(401);
    QCOMPARE(w_->pVK->width(), 401);
}

void TestFrmMain::fontSizeActionsStayInRange()
{
    QVERIFY(open());
    QAction* up = w_->action(QStringLiteral("aBetuNovel"));
    QAction* down = w_->action(QStringLiteral("aBetuCsokkent"));
    up->trigger();
    up->trigger();
    QCOMPARE(TBeall.FontSize, 10);
    QCOMPARE(w_->font().pointSize(), 10);
    QCOMPARE(w_->Edit1->font().pointSize(), 10);
    for (int i = 0; i < 4; ++i)
        down->trigger();
    QCOMPARE(TBeall.FontSize, 8);
    QCOMPARE(w_->Edit2->font().pointSize(), 8);
    // Grid titles, headings and memos keep their own fonts.
    QCOMPARE(w_->DBGrid1->horizontalHeader()->font().pointSize(), 8);
    up->trigger();
    QCOMPARE(w_->DBGrid1->horizontalHeader()->font().pointSize(), 8);
    QCOMPARE(w_->DBMemo1->font().pixelSize(), 12);
}

void TestFrmMain::goToRecording()
{
    fill();
    QVERIFY(open());
    w_->TblVK->last();
    w_->GoToRecording(1, 3);
    QCOMPARE(w_->TblVK->value(QStringLiteral("vk")).toInt(), 1);
    QCOMPARE(w_->TblFelvetel->value(QStringLiteral("cim")).toString(), QStringLiteral("Három"));
    w_->GoToRecording(99, 1); // not found: stays
    QCOMPARE(w_->TblVK->value(QStringLiteral("vk")).toInt(), 1);
    QCOMPARE(w_->TblFelvetel->value(QStringLiteral("cim")).toString(), QStringLiteral("Egy"));
}

QTEST_MAIN(TestFrmMain)
#include "tst_frm_main.moc"
