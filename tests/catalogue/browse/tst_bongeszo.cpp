#include "browserfixture.h"

#include "../editors/modaldriver.h"
#include "catalogue/browse/frm_bongeszo.h"
#include "catalogue/data/query.h"
#include "catalogue/data/table.h"
#include "catalogue/main/frm_main.h"
#include "catalogue/main/settings.h"
#include "catalogue/main/themedbgrid.h"
#include "common/application.h"
#include "common/messages.h"
#include "common/paths.h"

#include <QAction>
#include <QLineEdit>
#include <QMenu>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QToolBar>
#include <QtTest>

// The browser window driven as a user drives it, and its hand-over to the
// main window.
class TestBongeszo : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void init();
    void cleanup();
    void opensUnfilteredByCassette();
    void filterListsNarrowAndReset();
    void titleClickOrdersAndMarks();
    void typingSearches();
    void failedSearchIsSilent();
    void narrowerThanMinimumIsRefused();
    void goesToTheRecording_data();
    void goesToTheRecording();
    void closingWithEscapeLeavesTheMainWindow();
    void exportKeysWorkFromTheSearchBox_data();
    void exportKeysWorkFromTheSearchBox();

private:
    Tfrm_Bongeszo* openBrowser();
    QString currentTitle(Tfrm_Bongeszo* b) { return b->Qry->value(QStringLiteral("cim")).toString(); }

    QTemporaryDir* tmp_ = nullptr;
    Tfrm_Main* main_ = nullptr;
    QList<MessageBoxRequest> boxes_;
};

void TestBongeszo::init()
{
    tmp_ = new QTemporaryDir;
    boxes_.clear();
    SetMessageBoxHandler([this](const MessageBoxRequest& r) {
        boxes_ << r;
        return QMessageBox::Ok;
    });
    RunStartupStep(tmp_->filePath(QStringLiteral("prog")), tmp_->filePath(QStringLiteral("common")));
    TBeall = {};
    {
        Database db;
        db.open(AppDataDir + QStringLiteral("/Data"));
        FillBrowserFixture(db);
    }
    main_ = new Tfrm_Main;
    QVERIFY(main_->FormCreate());
    main_->show();
    QVERIFY(QTest::qWaitForWindowExposed(main_));
}

void TestBongeszo::cleanup()
{
    main_->close();
    delete main_;
    SetMessageBoxHandler({});
    delete tmp_;
    QVERIFY2(boxes_.isEmpty(), qPrintable(boxes_.isEmpty() ? QString() : boxes_.first().text));
}

Tfrm_Bongeszo* TestBongeszo::openBrowser()
{
    auto* b = new Tfrm_Bongeszo(main_->Db1, main_);
    b->setAttribute(Qt::WA_DeleteOnClose);
    b->FormCreate();
    b->show();
    if (!QTest::qWaitForWindowExposed(b))
        return nullptr;
    return b;
}

void TestBongeszo::opensUnfilteredByCassette()
{
    Tfrm_Bongeszo* b = openBrowser();
    QVERIFY(b);
    QCOMPARE(b->windowTitle(), QStringLiteral("Böngésző"));
    QCOMPARE(b->DBGrid1->model()->rowCount(), 4);
    QCOMPARE(b->DBGrid1->model()->columnCount(), 9);
    QCOMPARE(b->DBGrid1->model()->headerData(8, Qt::Horizontal).toString(), QStringLiteral("rendezte"));
    QCOMPARE(b->DBGrid1->columnColor(0), b->palette().color(QPalette::Button));
    QCOMPARE(b->Qry->currentRow(), 0);
    QStringList entries;
    for (int i = 0; i < b->ComboBox1->count(); ++i)
        entries << b->ComboBox1->itemText(i);
    QCOMPARE(entries, (QStringList{"<nincs szűrés>", "Dráma", "Vígjáték"}));
    QCOMPARE(b->ComboBox3->count(), 3);
    QCOMPARE(b->ComboBox4->itemText(1), QStringLiteral("Bacsó"));
    QStringList tools;
    for (QAction* a : b->ToolBar1->actions())
        tools << (a->isSeparator() ? QStringLiteral("-") : a->text());
    QCOMPARE(tools, (QStringList{"Megvan!", "-", "Nyomtat", "Nyom.kép", "-", "Excelbe...", "Html export", "-",
                                 "Bezár"}));
    QCOMPARE(b->PopupMenu1->actions().size(), tools.size());
    QVERIFY(!b->aNyomtat->isEnabled());
    b->close();
}

void TestBongeszo::filterListsNarrowAndReset()
{
    Tfrm_Bongeszo* b = openBrowser();
    QVERIFY(b);
    b->ComboBox1->setCurrentIndex(1); // Dráma
    QCOMPARE(b->filters().genre, QStringLiteral("Dráma"));
    QCOMPARE(b->Qry->recordCount(), 2);
    b->ComboBox3->setCurrentIndex(2); // O'Neil
    QCOMPARE(b->Qry->recordCount(), 1);
    QCOMPARE(currentTitle(b), QStringLiteral("Zebra"));
    b->ComboBox3->setCurrentIndex(0);
    b->ComboBox1->setCurrentIndex(0);
    QVERIFY(b->filters().genre.isEmpty());
    QCOMPARE(b->Qry->recordCount(), 4);
    QCOMPARE(b->DBGrid1->model()->rowCount(), 4);
    b->close();
}

void TestBongeszo::titleClickOrdersAndMarks()
{
    Tfrm_Bongeszo* b = openBrowser();
    QVERIFY(b);
    Q_EMIT b->DBGrid1->titleClick(4); // "cím"
    QCOMPARE(b->sortField(), QStringLiteral("cim"));
    QVERIFY(b->Qry->sql().endsWith(QStringLiteral("ORDER BY cim;")));
    QCOMPARE(b->DBGrid1->columnColor(4), b->palette().color(QPalette::Button));
    QCOMPARE(b->DBGrid1->columnColor(0), b->palette().color(QPalette::Base));
    QCOMPARE(QApplication::focusWidget(), b->Edit1);
    QCOMPARE(b->Qry->currentRow(), 0);
    b->close();
}

void TestBongeszo::typingSearches()
{
    Tfrm_Bongeszo* b = openBrowser();
    QVERIFY(b);
    Q_EMIT b->DBGrid1->titleClick(4);
    b->DBGrid1->setFocus();
    // A letter typed into the grid starts the search in the search box.
    QTest::keyClick(b->DBGrid1, Qt::Key_Z, Qt::NoModifier);
    QCOMPARE(b->Edit1->text(), QStringLiteral("z"));
    QCOMPARE(QApplication::focusWidget(), b->Edit1);
    QCOMPARE(currentTitle(b), QStringLiteral("Zebra"));
    QCOMPARE(b->DBGrid1->currentIndex().row(), 3);
    b->Edit1->clear();
    TypeText(b->Edit1, QStringLiteral("AB"));
    QCOMPARE(currentTitle(b), QStringLiteral("abc"));
    b->Edit1->setText(QStringLiteral("áb"));
    QCOMPARE(currentTitle(b), QStringLiteral("Ábel"));
    b->close();
}

void TestBongeszo::failedSearchIsSilent()
{
    Tfrm_Bongeszo* b = openBrowser();
    QVERIFY(b);
    b->Qry->moveTo(2);
    TypeText(b->Edit1, QStringLiteral("x")); // ordered by cassette number
    QCOMPARE(b->Qry->currentRow(), 2);
    b->Edit1->setText(QStringLiteral("3"));
    QCOMPARE(b->Qry->currentRow(), 3);
    b->close();
}

void TestBongeszo::narrowerThanMinimumIsRefused()
{
    Tfrm_Bongeszo* b = openBrowser();
    QVERIFY(b);
    b->resize(500, 300);
    QCOMPARE(b->width(), 768);
    b->resize(1000, 300);
    QTRY_COMPARE(b->DBGrid1->columnWidth(4), qRound(0.20 * (b->DBGrid1->width() - 40)));
    b->close();
}

void TestBongeszo::goesToTheRecording_data()
{
    QTest::addColumn<QString>("search"); // typed while sorted by cassette number
    QTest::addColumn<QString>("how");
    QTest::addColumn<int>("cassette");
    QTest::addColumn<QVariant>("track");

    QTest::newRow("Enter in the search box") << "2" << "enter" << 2 << QVariant(1);
    QTest::newRow("Enter in the grid") << "2" << "grid enter" << 2 << QVariant(1);
    QTest::newRow("double click") << "2" << "double click" << 2 << QVariant(1);
    QTest::newRow("empty cassette") << "3" << "enter" << 3 << QVariant();
}

void TestBongeszo::goesToTheRecording()
{
    QFETCH(QString, search);
    QFETCH(QString, how);
    QFETCH(int, cassette);
    QFETCH(QVariant, track);
    main_->TblVK->first();
    OnModal(QStringLiteral("frm_Bongeszo"), [&](QWidget* w) {
        auto* b = static_cast<Tfrm_Bongeszo*>(w);
        b->Edit1->setFocus();
        TypeText(b->Edit1, search);
        if (how == QLatin1String("double click")) {
            const QModelIndex cell = b->DBGrid1->model()->index(b->Qry->currentRow(), 4);
            const QPoint at = b->DBGrid1->visualRect(cell).center();
            QTest::mouseClick(b->DBGrid1->viewport(), Qt::LeftButton, {}, at);
            QTest::mouseDClick(b->DBGrid1->viewport(), Qt::LeftButton, {}, at);
        } else if (how == QLatin1String("grid enter")) {
            b->DBGrid1->setFocus();
            QTest::keyClick(b->DBGrid1, Qt::Key_Enter, Qt::KeypadModifier);
        } else {
            QTest::keyClick(b->Edit1, Qt::Key_Return);
        }
        QVERIFY(b->result() == QDialog::Accepted);
    });
    main_->action(QStringLiteral("aBongeszo"))->trigger();
    QVERIFY(!QApplication::activeModalWidget());
    QCOMPARE(main_->TblVK->value(QStringLiteral("vk")).toInt(), cassette);
    if (track.isNull())
        QVERIFY(main_->TblFelvetel->isEmpty());
    else
        QCOMPARE(main_->TblFelvetel->value(QStringLiteral("felvetel")), track);
}

void TestBongeszo::closingWithEscapeLeavesTheMainWindow()
{
    main_->TblVK->first();
    OnModal(QStringLiteral("frm_Bongeszo"), [](QWidget* w) {
        auto* b = static_cast<Tfrm_Bongeszo*>(w);
        b->Qry->last();
        QTest::keyClick(b->DBGrid1, Qt::Key_Escape);
    });
    main_->action(QStringLiteral("aBongeszo"))->trigger();
    QVERIFY(!QApplication::activeModalWidget());
    QCOMPARE(main_->TblVK->value(QStringLiteral("vk")).toInt(), 1);
}

void TestBongeszo::exportKeysWorkFromTheSearchBox_data()
{
    QTest::addColumn<int>("key");
    QTest::addColumn<QString>("dialog");
    // A Unix line edit would take Ctrl+E as "end of line" and Ctrl+H as a backspace.
    QTest::newRow("Ctrl+E") << int(Qt::Key_E) << "frm_Hatarolt";
    QTest::newRow("Ctrl+H") << int(Qt::Key_H) << "frm_Roza2Veze";
}

void TestBongeszo::exportKeysWorkFromTheSearchBox()
{
    QFETCH(int, key);
    QFETCH(QString, dialog);
    Tfrm_Bongeszo* b = openBrowser();
    QVERIFY(b);
    // The offscreen platform's line edit leaves these keys alone; an X11 one
    // claims them, as this filter does.
    struct ClaimsCtrlKeys : QObject
    {
        using QObject::QObject;
        bool eventFilter(QObject*, QEvent* e) override
        {
            if (e->type() == QEvent::ShortcutOverride)
                e->accept();
            return false;
        }
    };
    b->Edit1->installEventFilter(new ClaimsCtrlKeys(b->Edit1));
    QApplication::setActiveWindow(b);
    b->Edit1->setFocus();
    TypeText(b->Edit1, QStringLiteral("ab"));
    bool opened = false;
    OnModal(dialog, [&](QWidget* w) {
        opened = true;
        static_cast<QDialog*>(w)->reject();
    });
    QTest::keyClick(b->Edit1, Qt::Key(key), Qt::ControlModifier);
    QTRY_VERIFY(opened);
    QCOMPARE(b->Edit1->text(), QStringLiteral("ab"));
    b->close();
}

// The programs' own application object: its key rules are part of what is tested.
int main(int argc, char** argv)
{
    GuardedApplication app(argc, argv);
    app.setAttribute(Qt::AA_Use96Dpi, true);
    TestBongeszo test;
    QTEST_SET_MAIN_SOURCE_PATH
    return QTest::qExec(&test, argc, argv);
}
#include "tst_bongeszo.moc"
