#include "catalogue/data/database.h"
#include "catalogue/data/datasetmodel.h"
#include "catalogue/data/query.h"
#include "catalogue/data/table.h"
#include "catalogue/editors/formhelpers.h"
#include "catalogue/editors/frm_torzs.h"
#include "catalogue/editors/frm_torzsszerkeszt.h"
#include "catalogue/editors/masterdata.h"
#include "catalogue/main/settings.h"
#include "catalogue/main/themedbgrid.h"
#include "common/messages.h"
#include "common/paths.h"
#include "modaldriver.h"

#include <QAction>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QToolBar>
#include <QtTest>

namespace {

enum class List
{
    Quality,
    Type,
    Genre,
    Performer,
};

struct ListResult
{
    int key = -1;
    QString name;
};

ListResult openList(List list, Database& db, int preselect, bool pick)
{
    ListResult r;
    switch (list) {
    case List::Quality:
        r.key = OpenQualityList(db, preselect, pick);
        break;
    case List::Type:
        r.key = OpenTypeList(db, preselect, pick);
        break;
    case List::Genre:
        r.key = OpenGenreList(db, preselect, pick);
        break;
    case List::Performer:
        OpenPerformerList(db, preselect, pick, r.name);
        break;
    }
    return r;
}

const char* tableOf(List list)
{
    switch (list) {
    case List::Quality:
        return "minoseg";
    case List::Type:
        return "tipus";
    case List::Genre:
        return "mufaj";
    case List::Performer:
        break;
    }
    return "szereplo";
}

Tfrm_Torzs* asList(QWidget* w)
{
    return qobject_cast<Tfrm_Torzs*>(w);
}
Tfrm_TorzsSzerkeszt* asEditor(QWidget* w)
{
    return qobject_cast<Tfrm_TorzsSzerkeszt*>(w);
}

QString currentName(Tfrm_Torzs* w)
{
    return w->Tbl->value(QStringLiteral("nev")).toString();
}
QString gridName(Tfrm_Torzs* w)
{
    return w->DBGrid1->currentIndex().data().toString();
}

const QStringList Performers{
    QStringLiteral("Zsoldos Ági"),   QStringLiteral("Kovács Béla"), QStringLiteral("Éles Anna"),
    QStringLiteral("KOLTAI Róbert"), QStringLiteral("Nagy Éva"),    QStringLiteral("Őri Péter"),
    QStringLiteral("Kiss Ilona"),    QStringLiteral("Ágh Ödön"),
};

} // namespace

class TestTorzs : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void init();
    void cleanup();
    void listsOpenAtTheirFirstEntry_data();
    void listsOpenAtTheirFirstEntry();
    void quickSearch_data();
    void quickSearch();
    void itemEditor_data();
    void itemEditor();
    void failedPostKeepsTheEditorOpen();
    void sameNameTwice();
    void pickAndPlainMode_data();
    void pickAndPlainMode();
    void pickedKeys();
    void deleteEntry_data();
    void deleteEntry();
    void nameColumnFollowsTheWidth();
    void fourListsShareBounds();

private:
    void seed(const char* table, const QStringList& names);
    QStringList stored(const char* table);
    int keyOf(const char* table, const QString& name);

    QTemporaryDir tmp_;
    Database db_;
    int run_ = 0;
};

void TestTorzs::init()
{
    RunStartupStep(tmp_.filePath(QStringLiteral("prog")), tmp_.filePath(QStringLiteral("home")));
    QFile::remove(IniFileName);
    TBeall = {};
    db_.open(tmp_.filePath(QStringLiteral("data%1").arg(++run_)));
    SetMessageBoxHandler({});
}

void TestTorzs::cleanup()
{
    SetMessageBoxHandler({});
    db_.close();
}

void TestTorzs::seed(const char* table, const QStringList& names)
{
    Table t(db_, QLatin1String(table));
    t.open();
    for (const QString& name : names) {
        t.insert();
        t.setValue(QStringLiteral("nev"), name);
        t.post();
    }
}

QStringList TestTorzs::stored(const char* table)
{
    Query q(db_, QStringLiteral("SELECT nev FROM %1 ORDER BY az").arg(QLatin1String(table)));
    q.open();
    QStringList names;
    for (q.first(); !q.eof(); q.next())
        names << q.value(0).toString();
    return names;
}

int TestTorzs::keyOf(const char* table, const QString& name)
{
    Query q(db_, QStringLiteral("SELECT az FROM %1 WHERE nev=:n").arg(QLatin1String(table)));
    q.setParam(QStringLiteral("n"), name);
    q.open();
    return q.isEmpty() ? -1 : q.value(0).toInt();
}

void TestTorzs::listsOpenAtTheirFirstEntry_data()
{
    QTest::addColumn<List>("list");
    QTest::addColumn<QString>("title");
    QTest::addColumn<QString>("preselect");
    QTest::addColumn<QString>("current");
    QTest::newRow("qualities") << List::Quality << QStringLiteral("Minőség") << QString()
                               << QStringLiteral("ágyú");
    QTest::newRow("types") << List::Type << QStringLiteral("Típus") << QString()
                           << QStringLiteral("ágyú");
    QTest::newRow("genres") << List::Genre << QStringLiteral("Műfaj") << QString()
                            << QStringLiteral("ágyú");
    QTest::newRow("performers") << List::Performer << QStringLiteral("Szereplők") << QString()
                                << QStringLiteral("ágyú");
    QTest::newRow("performers, one preselected")
        << List::Performer << QStringLiteral("Szereplők") << QStringLiteral("Zongora")
        << QStringLiteral("Zongora");
}

void TestTorzs::listsOpenAtTheirFirstEntry()
{
    QFETCH(List, list);
    QFETCH(QString, title);
    QFETCH(QString, preselect);
    QFETCH(QString, current);
    seed(tableOf(list),
         {QStringLiteral("Zongora"), QStringLiteral("ágyú"), QStringLiteral("Béka")});

    QString caption, heading, header, selected;
    bool acceptShown = true;
    OnModal(QStringLiteral("frm_Torzs"), [&](QWidget* w) {
        Tfrm_Torzs* t = asList(w);
        caption = t->windowTitle();
        heading = t->Panel1Caption->text();
        header = t->DBGrid1->model()->headerData(0, Qt::Horizontal).toString();
        QCOMPARE(currentName(t), current);
        selected = gridName(t);
        acceptShown =
            t->aElfogad->isVisible() || t->ToolBar1->widgetForAction(t->aElfogad)->isVisible();
        QTest::keyClick(t->DBGrid1, Qt::Key_Escape);
    });
    const ListResult r =
        openList(list, db_, preselect.isEmpty() ? -1 : keyOf(tableOf(list), preselect), false);
    QCOMPARE(caption, title);
    QCOMPARE(heading, title);
    QCOMPARE(header, QStringLiteral("megnevezés"));
    QCOMPARE(selected, current);
    QVERIFY(!acceptShown);
    QCOMPARE(r.key, -1);
    QCOMPARE(r.name, QString());
}

void TestTorzs::quickSearch_data()
{
    QTest::addColumn<QString>("intoGrid");
    QTest::addColumn<QString>("intoBox");
    QTest::addColumn<QString>("boxText");
    QTest::addColumn<QString>("found");
    QTest::newRow("«ko» finds KO") << QString() << QStringLiteral("ko") << QStringLiteral("ko")
                                   << QStringLiteral("KOLTAI Róbert");
    QTest::newRow("«KOV» finds Kov") << QString() << QStringLiteral("KOV") << QStringLiteral("KOV")
                                     << QStringLiteral("Kovács Béla");
    QTest::newRow("«é» typed into the list")
        << QStringLiteral("é") << QString() << QStringLiteral("é") << QStringLiteral("Éles Anna");
    QTest::newRow("«Ő» typed into the list")
        << QStringLiteral("Ő") << QString() << QStringLiteral("ő") << QStringLiteral("Őri Péter");
    QTest::newRow("«K» into the list, then «ov»")
        << QStringLiteral("K") << QStringLiteral("ov") << QStringLiteral("kov")
        << QStringLiteral("Kovács Béla");
    QTest::newRow("no match stays") << QString() << QStringLiteral("kx") << QStringLiteral("kx")
                                    << QStringLiteral("Kiss Ilona");
}

void TestTorzs::quickSearch()
{
    QFETCH(QString, intoGrid);
    QFETCH(QString, intoBox);
    QFETCH(QString, boxText);
    QFETCH(QString, found);
    seed("szereplo", Performers);

    QString text, current, selected;
    bool boxFocused = false;
    OnModal(QStringLiteral("frm_Torzs"), [&](QWidget* w) {
        Tfrm_Torzs* t = asList(w);
        QTRY_VERIFY(t->DBGrid1->hasFocus());
        if (!intoGrid.isEmpty())
            TypeText(t->DBGrid1, intoGrid);
        QCoreApplication::processEvents(); // a user's next key comes through the event loop
        TypeText(t->Edit1, intoBox);
        text = t->Edit1->text();
        boxFocused = t->Edit1->hasFocus() || intoGrid.isEmpty();
        current = currentName(t);
        selected = gridName(t);
        t->aBezar->trigger();
    });
    QString name;
    OpenPerformerList(db_, -1, false, name);
    QCOMPARE(text, boxText);
    QVERIFY(boxFocused);
    QCOMPARE(current, found);
    QCOMPARE(selected, found);
}

void TestTorzs::itemEditor_data()
{
    QTest::addColumn<QStringList>("before");
    QTest::addColumn<int>("key");
    QTest::addColumn<QString>("shown");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("close");
    QTest::addColumn<QStringList>("after");
    QTest::addColumn<QString>("current");

    const QStringList two{QStringLiteral("Dráma"), QStringLiteral("Vígjáték")};
    const int ins = Qt::Key_Insert, f2 = Qt::Key_F2;
    QTest::newRow("new, OK") << two << ins << QString() << QStringLiteral("Zene")
                             << QStringLiteral("OK") << (two + QStringList{QStringLiteral("Zene")})
                             << QStringLiteral("Zene");
    QTest::newRow("new, Enter to OK, Enter")
        << two << ins << QString() << QStringLiteral("Zene") << QStringLiteral("Enter")
        << (two + QStringList{QStringLiteral("Zene")}) << QStringLiteral("Zene");
    QTest::newRow("new, Mégsem") << two << ins << QString() << QStringLiteral("Zene")
                                 << QStringLiteral("Mégsem") << two << QStringLiteral("Dráma");
    QTest::newRow("new, Esc") << two << ins << QString() << QStringLiteral("Zene")
                              << QStringLiteral("Esc") << two << QStringLiteral("Dráma");
    QTest::newRow("edit, OK") << two << f2 << QStringLiteral("Dráma") << QStringLiteral("Krimi")
                              << QStringLiteral("OK")
                              << QStringList{QStringLiteral("Krimi"), QStringLiteral("Vígjáték")}
                              << QStringLiteral("Krimi");
    QTest::newRow("edit, Mégsem") << two << f2 << QStringLiteral("Dráma") << QStringLiteral("Krimi")
                                  << QStringLiteral("Mégsem") << two << QStringLiteral("Dráma");
    QTest::newRow("edit on an empty list adds")
        << QStringList() << f2 << QString() << QStringLiteral("Zene") << QStringLiteral("OK")
        << QStringList{QStringLiteral("Zene")} << QStringLiteral("Zene");
    QTest::newRow("cut at 25 characters")
        << QStringList() << ins << QString() << QStringLiteral("Nagyon hosszú műfajnév, túl hosszú")
        << QStringLiteral("OK") << QStringList{QStringLiteral("Nagyon hosszú műfajnév, t")}
        << QStringLiteral("Nagyon hosszú műfajnév, t");
}

void TestTorzs::itemEditor()
{
    QFETCH(QStringList, before);
    QFETCH(int, key);
    QFETCH(QString, shown);
    QFETCH(QString, typed);
    QFETCH(QString, close);
    QFETCH(QStringList, after);
    QFETCH(QString, current);
    seed("mufaj", before);

    QString shownText, caption, afterCurrent;
    QColor nameColour;
    bool labelled = false;
    int listed = -1;
    OnModal(QStringLiteral("frm_Torzs"), [&](QWidget* w) {
        Tfrm_Torzs* t = asList(w);
        OnModal(QStringLiteral("frm_TorzsSzerkeszt"), [&](QWidget* e) {
            Tfrm_TorzsSzerkeszt* ed = asEditor(e);
            caption = ed->windowTitle();
            labelled = ed->Label1->buddy() == ed->DBEdit2 &&
                       ed->Label1->text() == QStringLiteral("megnevezés");
            shownText = ed->DBEdit2->text();
            QTRY_VERIFY(ed->DBEdit2->hasFocus());
            nameColour = ed->DBEdit2->palette().color(QPalette::Base);
            QTest::keyClick(ed->DBEdit2, Qt::Key_A, Qt::ControlModifier);
            TypeText(ed->DBEdit2, typed);
            if (close == QLatin1String("OK")) {
                QTest::mouseClick(ed->btnOK, Qt::LeftButton);
            } else if (close == QLatin1String("Enter")) {
                QTest::keyClick(ed->DBEdit2, Qt::Key_Return);
                QVERIFY(ed->btnOK->hasFocus());
                QVERIFY(ed->isVisible());
                QTest::keyClick(ed->btnOK, Qt::Key_Return);
            } else if (close == QStringLiteral("Mégsem")) {
                QTest::mouseClick(ed->btnMegsem, Qt::LeftButton);
            } else {
                QTest::keyClick(ed->DBEdit2, Qt::Key_Escape);
            }
        });
        QTest::keyClick(t->DBGrid1, Qt::Key(key));
        QCOMPARE(t->Tbl->state(), DataSet::State::Browse);
        afterCurrent = currentName(t);
        listed = t->DBGrid1->model()->rowCount();
        QTest::keyClick(t->DBGrid1, Qt::Key_Escape);
    });
    OpenGenreList(db_, -1, false);
    QCOMPARE(caption, QStringLiteral("Törzsadat szerkesztése"));
    QVERIFY(labelled);
    QCOMPARE(shownText, shown);
    QCOMPARE(nameColour, FocusColour);
    QCOMPARE(stored("mufaj"), after);
    QCOMPARE(listed, after.size());
    QCOMPARE(afterCurrent, current);
}

void TestTorzs::failedPostKeepsTheEditorOpen()
{
    db_.exec(QStringLiteral("CREATE TRIGGER tiltott BEFORE INSERT ON minoseg WHEN NEW.nev='Hibás' "
                            "BEGIN SELECT RAISE(ABORT, 'tiltott név'); END;"));
    QList<MessageBoxRequest> boxes;
    SetMessageBoxHandler([&](const MessageBoxRequest& r) {
        boxes << r;
        return QMessageBox::Ok;
    });
    bool openAfterFailure = false;
    DataSet::State stateAfterFailure = DataSet::State::Browse;
    QString current;
    OnModal(QStringLiteral("frm_Torzs"), [&](QWidget* w) {
        Tfrm_Torzs* t = asList(w);
        OnModal(QStringLiteral("frm_TorzsSzerkeszt"), [&](QWidget* e) {
            Tfrm_TorzsSzerkeszt* ed = asEditor(e);
            TypeText(ed->DBEdit2, QStringLiteral("Hibás"));
            QTest::mouseClick(ed->btnOK, Qt::LeftButton);
            openAfterFailure = ed->isVisible();
            stateAfterFailure = t->Tbl->state();
            ed->DBEdit2->clear();
            TypeText(ed->DBEdit2, QStringLiteral("Helyes"));
            QTest::mouseClick(ed->btnOK, Qt::LeftButton);
        });
        t->aUj->trigger();
        current = currentName(t);
        t->aBezar->trigger();
    });
    OpenQualityList(db_, -1, false);
    QVERIFY(openAfterFailure);
    QCOMPARE(stateAfterFailure, DataSet::State::Insert);
    QCOMPARE(boxes.size(), 1);
    QCOMPARE(boxes.at(0).caption, QStringLiteral("Hiba"));
    QVERIFY2(boxes.at(0).text.startsWith(QStringLiteral("Hiányos, vagy hibás adatmegadás\r\n")),
             qPrintable(boxes.at(0).text));
    QVERIFY2(boxes.at(0).text.contains(QStringLiteral("tiltott név")),
             qPrintable(boxes.at(0).text));
    QCOMPARE(stored("minoseg"), QStringList{QStringLiteral("Helyes")});
    QCOMPARE(current, QStringLiteral("Helyes"));
}

void TestTorzs::sameNameTwice()
{
    QStringList listedNames;
    OnModal(QStringLiteral("frm_Torzs"), [&](QWidget* w) {
        Tfrm_Torzs* t = asList(w);
        for (int i = 0; i < 2; ++i) {
            OnModal(QStringLiteral("frm_TorzsSzerkeszt"), [&](QWidget* e) {
                TypeText(asEditor(e)->DBEdit2, QStringLiteral("Nagy Éva"));
                asEditor(e)->btnOK->click();
            });
            t->aUj->trigger();
        }
        for (int row = 0; row < t->DBGrid1->model()->rowCount(); ++row)
            listedNames << t->DBGrid1->model()->index(row, 0).data().toString();
        t->aBezar->trigger();
    });
    QString name;
    OpenPerformerList(db_, -1, false, name);
    QCOMPARE(listedNames, (QStringList{QStringLiteral("Nagy Éva"), QStringLiteral("Nagy Éva")}));
    QCOMPARE(stored("szereplo").size(), 2);
    Query q(db_, QStringLiteral("SELECT COUNT(DISTINCT az) FROM szereplo"));
    q.open();
    QCOMPARE(q.value(0).toInt(), 2);
}

void TestTorzs::pickAndPlainMode_data()
{
    QTest::addColumn<bool>("pick");
    QTest::addColumn<QString>("how");
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("editorOpened");
    QTest::newRow("pick, double click")
        << true << QStringLiteral("dblclick") << QStringLiteral("Nagy Éva") << false;
    QTest::newRow("pick, Enter in the search box")
        << true << QStringLiteral("search+enter") << QStringLiteral("Nagy Éva") << false;
    QTest::newRow("pick, Elfogad")
        << true << QStringLiteral("button") << QStringLiteral("Kovács Béla") << false;
    QTest::newRow("pick, Esc") << true << QStringLiteral("escape") << QString() << false;
    QTest::newRow("plain, double click edits")
        << false << QStringLiteral("dblclick") << QString() << true;
    QTest::newRow("plain, Enter in the search box goes to the list")
        << false << QStringLiteral("search+enter") << QString() << false;
}

void TestTorzs::pickAndPlainMode()
{
    QFETCH(bool, pick);
    QFETCH(QString, how);
    QFETCH(QString, name);
    QFETCH(bool, editorOpened);
    seed("szereplo", {QStringLiteral("Zsoldos Ági"), QStringLiteral("Nagy Éva"),
                      QStringLiteral("Kovács Béla")});

    bool acceptShown = false, opened = false, stillOpen = false, gridFocused = false;
    QString selectedOnSearch;
    OnModal(QStringLiteral("frm_Torzs"), [&](QWidget* w) {
        Tfrm_Torzs* t = asList(w);
        acceptShown = t->ToolBar1->widgetForAction(t->aElfogad)->isVisible();
        if (how == QLatin1String("dblclick")) {
            OnModal(QStringLiteral("frm_TorzsSzerkeszt"), [&](QWidget* e) {
                opened = asEditor(e)->DBEdit2->text() == QStringLiteral("Nagy Éva");
                asEditor(e)->btnMegsem->click();
            });
            const QRect cell = t->DBGrid1->visualRect(t->DBGrid1->model()->index(1, 0));
            QTest::mouseClick(t->DBGrid1->viewport(), Qt::LeftButton, {}, cell.center());
            QTest::mouseDClick(t->DBGrid1->viewport(), Qt::LeftButton, {}, cell.center());
        } else if (how == QLatin1String("search+enter")) {
            QTest::mouseClick(t->Edit1, Qt::LeftButton);
            TypeText(t->Edit1, QStringLiteral("nagy"));
            QTest::keyClick(t->Edit1, Qt::Key_Return);
            gridFocused = t->DBGrid1->hasFocus();
            // Ctrl+F goes back to the search box with its text selected.
            QTest::keyClick(t->DBGrid1, Qt::Key_F, Qt::ControlModifier);
            selectedOnSearch = t->Edit1->hasFocus() ? t->Edit1->selectedText() : QString();
        } else if (how == QLatin1String("button")) {
            QTest::mouseClick(t->ToolBar1->widgetForAction(t->aElfogad), Qt::LeftButton);
        } else {
            QTest::keyClick(t->DBGrid1, Qt::Key_Escape);
        }
        stillOpen = t->isVisible();
        if (stillOpen)
            t->aBezar->trigger();
    });
    QString result = QStringLiteral("unchanged");
    OpenPerformerList(db_, -1, pick, result);
    QCOMPARE(acceptShown, pick);
    QCOMPARE(result, name);
    QCOMPARE(opened, editorOpened);
    QCOMPARE(stillOpen, !pick && how != QLatin1String("escape"));
    if (!pick && how == QLatin1String("search+enter")) {
        QVERIFY(gridFocused);
        QCOMPARE(selectedOnSearch, QStringLiteral("nagy"));
    }
}

void TestTorzs::pickedKeys()
{
    for (List list : {List::Quality, List::Type, List::Genre}) {
        seed(tableOf(list),
             {QStringLiteral("S-VHS"), QStringLiteral("Beta"), QStringLiteral("VHS")});
        OnModal(QStringLiteral("frm_Torzs"), [&](QWidget* w) {
            TypeText(asList(w)->DBGrid1, QStringLiteral("v"));
            TypeText(asList(w)->Edit1, QStringLiteral("h"));
            QTest::keyClick(asList(w)->Edit1, Qt::Key_Enter); // the keypad's Enter
        });
        QCOMPARE(openList(list, db_, -1, true).key, keyOf(tableOf(list), QStringLiteral("VHS")));
    }
}

void TestTorzs::deleteEntry_data()
{
    QTest::addColumn<QStringList>("before");
    QTest::addColumn<bool>("yes");
    QTest::addColumn<QStringList>("after");
    QTest::addColumn<int>("asked");
    const QStringList two{QStringLiteral("Dráma"), QStringLiteral("Vígjáték")};
    QTest::newRow("Yes deletes the current entry")
        << two << true << QStringList{QStringLiteral("Vígjáték")} << 1;
    QTest::newRow("No keeps it") << two << false << two << 1;
    QTest::newRow("an empty list asks nothing") << QStringList() << true << QStringList() << 0;
}

void TestTorzs::deleteEntry()
{
    QFETCH(QStringList, before);
    QFETCH(bool, yes);
    QFETCH(QStringList, after);
    QFETCH(int, asked);
    seed("tipus", before);
    QList<MessageBoxRequest> boxes;
    SetMessageBoxHandler([&](const MessageBoxRequest& r) {
        boxes << r;
        return yes ? QMessageBox::Yes : QMessageBox::No;
    });
    int listed = -1;
    OnModal(QStringLiteral("frm_Torzs"), [&](QWidget* w) {
        Tfrm_Torzs* t = asList(w);
        QTest::keyClick(t->DBGrid1, Qt::Key_Delete, Qt::ControlModifier);
        listed = t->DBGrid1->model()->rowCount();
        t->aBezar->trigger();
    });
    OpenTypeList(db_, -1, false);
    QCOMPARE(boxes.size(), asked);
    if (asked) {
        QCOMPARE(boxes.at(0).caption, QStringLiteral("Megerősítés"));
        QCOMPARE(boxes.at(0).text, QStringLiteral("Valóban töröljem a sort?"));
    }
    QCOMPARE(stored("tipus"), after);
    QCOMPARE(listed, after.size());
}

void TestTorzs::nameColumnFollowsTheWidth()
{
    seed("mufaj", {QStringLiteral("Dráma")});
    QList<int> margins;
    OnModal(QStringLiteral("frm_Torzs"), [&](QWidget* w) {
        Tfrm_Torzs* t = asList(w);
        for (const QSize& size : {QSize(300, 300), QSize(520, 360)}) {
            const int gridBefore = t->DBGrid1->width();
            t->resize(size);
            QTRY_VERIFY(t->DBGrid1->width() != gridBefore);
            margins << t->DBGrid1->width() - t->DBGrid1->columnWidth(0);
        }
        t->aBezar->trigger();
    });
    OpenGenreList(db_, -1, false);
    QCOMPARE(margins, (QList<int>{40, 40}));
}

void TestTorzs::fourListsShareBounds()
{
    const QRect first(60, 70, 420, 480), second(90, 40, 380, 520);
    QList<QRect> opened;
    const auto closeAt = [&](const QRect& bounds) {
        OnModal(QStringLiteral("frm_Torzs"), [&, bounds](QWidget* w) {
            opened << QRect(w->pos(), w->size());
            if (bounds.isValid()) {
                w->move(bounds.topLeft());
                w->resize(bounds.size());
            }
            asList(w)->aBezar->trigger();
        });
    };
    QString name;
    closeAt(first);
    OpenQualityList(db_, -1, false);
    closeAt(second);
    OpenTypeList(db_, -1, false);
    closeAt(QRect());
    OpenGenreList(db_, -1, false);
    closeAt(QRect());
    OpenPerformerList(db_, -1, true, name);
    QCOMPARE(opened.size(), 4);
    QCOMPARE(opened.at(0).topLeft(), QPoint(10, 10));
    QCOMPARE(opened.at(1), first);
    QCOMPARE(opened.at(2), second);
    QCOMPARE(opened.at(3), second);
}

QTEST_MAIN(TestTorzs)
#include "tst_torzs.moc"
