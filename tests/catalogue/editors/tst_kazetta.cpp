#include "catalogue/data/database.h"
#include "catalogue/data/query.h"
#include "catalogue/data/table.h"
#include "catalogue/editors/formhelpers.h"
#include "catalogue/editors/frm_kazetta.h"
#include "catalogue/editors/recordeditors.h"
#include "catalogue/main/settings.h"
#include "common/formpos.h"
#include "common/messages.h"
#include "common/paths.h"
#include "modaldriver.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QtTest>

#include <memory>

// The cassette editor, driven through its window as a user would, on the
// main window's cassette table.
class TestKazetta : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void init();
    void cleanup();
    void newCassetteNumber_data();
    void newCassetteNumber();
    void typeByName_data();
    void typeByName();
    void editByKeyboardKeepsFreeTape();
    void lengthTakesIntegersOnly_data();
    void lengthTakesIntegersOnly();
    void cancelLeavesTheCatalogue_data();
    void cancelLeavesTheCatalogue();
    void failedPostIsShownAndCancelled_data();
    void failedPostIsShownAndCancelled();
    void placeIsStoredUnderItsSection();

private:
    void addCassettes(int count);
    void openVK(const QString& order = QStringLiteral("azonosito"));
    QString dump(const QString& sql);
    QString snapshot()
    {
        return dump(QStringLiteral("SELECT * FROM vk ORDER BY vk")) + QStringLiteral("\n--\n") +
               dump(QStringLiteral("SELECT * FROM tipus ORDER BY az"));
    }
    bool edit(bool isNew, std::function<void(Tfrm_Kazetta*)> drive);

    std::unique_ptr<QTemporaryDir> tmp_;
    std::unique_ptr<Database> db_;
    std::unique_ptr<Table> vk_;
    QList<MessageBoxRequest> boxes_;
};

void TestKazetta::init()
{
    tmp_ = std::make_unique<QTemporaryDir>();
    RunStartupStep(tmp_->filePath(QStringLiteral("prog")), tmp_->filePath(QStringLiteral("home")));
    TBeall = {};
    db_ = std::make_unique<Database>();
    db_->open(tmp_->filePath(QStringLiteral("data")));
    db_->exec(QStringLiteral(
        "INSERT INTO tipus (az, nev) VALUES (1,'VHS'), (2,'S-VHS'), (3,'   '), (4,NULL);"));
    boxes_.clear();
    SetMessageBoxHandler([this](const MessageBoxRequest& r) {
        boxes_.append(r);
        return QMessageBox::Ok;
    });
}

void TestKazetta::cleanup()
{
    SetMessageBoxHandler({});
    vk_.reset();
    db_.reset();
    tmp_.reset();
}

// Cassettes 1..count, all 60 minutes but cassette 3 of 300, so that sorting
// by length puts cassette 3 last.
void TestKazetta::addCassettes(int count)
{
    for (int i = 1; i <= count; ++i)
        db_->exec(
            QStringLiteral(
                "INSERT INTO vk (vk, azonosito, hossz, szabad, megjegyzes, tipus, kolcsonadva, "
                "tipus_nev) VALUES (%1, '%2', %3, %4, 'régi', 1, 'N', 'VHS')")
                .arg(i)
                .arg(i, 5, 10, QLatin1Char('0'))
                .arg(i == 3 ? 300 : 60)
                .arg(i == 3 ? 75 : 60));
}

void TestKazetta::openVK(const QString& order)
{
    vk_ = std::make_unique<Table>(*db_, QStringLiteral("vk.DB"));
    vk_->setOrderBy(order);
    vk_->open();
}

QString TestKazetta::dump(const QString& sql)
{
    Query q(*db_, sql);
    q.open();
    QStringList rows;
    for (q.first(); !q.eof(); q.next()) {
        QStringList values;
        for (int i = 0; i < q.fieldCount(); ++i)
            values << (q.value(i).isNull() ? QStringLiteral("<null>") : q.value(i).toString());
        rows << values.join(QLatin1Char('|'));
    }
    return rows.join(QLatin1Char('\n'));
}

bool TestKazetta::edit(bool isNew, std::function<void(Tfrm_Kazetta*)> drive)
{
    OnModal(QStringLiteral("frm_Kazetta"),
            [drive](QWidget* w) { drive(qobject_cast<Tfrm_Kazetta*>(w)); });
    return EditCassette(*vk_, isNew);
}

void TestKazetta::newCassetteNumber_data()
{
    QTest::addColumn<int>("cassettes");
    QTest::addColumn<QString>("order");
    QTest::addColumn<bool>("isNew");
    QTest::addColumn<int>("number");
    QTest::addColumn<QString>("azonosito");
    QTest::newRow("first cassette") << 0 << "azonosito" << true << 1 << "00001";
    QTest::newRow("after 1 to 12") << 12 << "azonosito" << true << 13 << "00013";
    // The last row shown is cassette 3: its number plus one would be taken.
    QTest::newRow("list sorted by length") << 12 << "hossz" << true << 13 << "00013";
    QTest::newRow("editing an empty list starts a new one")
        << 0 << "azonosito" << false << 1 << "00001";
}

void TestKazetta::newCassetteNumber()
{
    QFETCH(int, cassettes);
    QFETCH(QString, order);
    QFETCH(bool, isNew);
    QFETCH(int, number);
    QFETCH(QString, azonosito);
    addCassettes(cassettes);
    openVK(order);
    QString shownNumber, shownLength;
    const bool posted = edit(isNew, [&](Tfrm_Kazetta* f) {
        shownNumber = f->DBEdit1->text();
        shownLength = f->DBEdit3->text();
        QVERIFY(f->DBEdit3->hasFocus());
        f->DBEdit3->selectAll();
        QTest::keyClicks(f->DBEdit3, QStringLiteral("180"));
        QTest::keyClicks(f->ComboBox1, QStringLiteral("VHS"));
        QTest::mouseClick(f->Button1, Qt::LeftButton);
    });
    QVERIFY(posted);
    QCOMPARE(shownNumber, azonosito);
    QCOMPARE(shownLength, QStringLiteral("0"));
    QCOMPARE(vk_->state(), DataSet::State::Browse);
    QCOMPARE(vk_->recordCount(), cassettes + 1);
    QCOMPARE(vk_->value(QStringLiteral("vk")).toInt(), number);
    QCOMPARE(dump(QStringLiteral("SELECT azonosito, hossz, szabad, kolcsonadva, tipus, tipus_nev, "
                                 "megjegyzes FROM vk "
                                 "WHERE vk=%1")
                      .arg(number)),
             azonosito + QStringLiteral("|180|180|N|1|VHS|<null>"));
}

void TestKazetta::typeByName_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("tipusNev");
    QTest::addColumn<int>("tipus");
    QTest::addColumn<QStringList>("listedNextTime");
    const QStringList known{QStringLiteral("S-VHS"), QStringLiteral("VHS")};
    QTest::newRow("other letter case links the stored type") << "vhs"
                                                             << "vhs" << 1 << known;
    QTest::newRow("new type is added once")
        << "Betamax"
        << "Betamax" << 5 << QStringList{"Betamax", "S-VHS", "VHS"};
    QTest::newRow("long name is cut to 25")
        << "Hosszú kazettatípus ékezettel"
        << "Hosszú kazettatípus ékeze" << 5
        << QStringList{"Hosszú kazettatípus ékeze", "S-VHS", "VHS"};
}

void TestKazetta::typeByName()
{
    QFETCH(QString, typed);
    QFETCH(QString, tipusNev);
    QFETCH(int, tipus);
    QFETCH(QStringList, listedNextTime);
    openVK();
    QStringList listed;
    QVERIFY(edit(true, [&](Tfrm_Kazetta* f) {
        for (int i = 0; i < f->ComboBox1->count(); ++i)
            listed << f->ComboBox1->itemText(i);
        QCOMPARE(f->ComboBox1->currentText(), QString());
        TypeText(f->ComboBox1, typed);
        QTest::mouseClick(f->Button1, Qt::LeftButton);
    }));
    QCOMPARE(listed, (QStringList{"S-VHS", "VHS"})); // blank names are left out
    QCOMPARE(dump(QStringLiteral("SELECT tipus, tipus_nev FROM vk")),
             QStringLiteral("%1|%2").arg(tipus).arg(tipusNev));
    QCOMPARE(dump(QStringLiteral("SELECT count(*) FROM tipus")),
             QString::number(tipus == 5 ? 5 : 4));

    QString shownAgain;
    listed.clear();
    QVERIFY(!edit(false, [&](Tfrm_Kazetta* f) {
        for (int i = 0; i < f->ComboBox1->count(); ++i)
            listed << f->ComboBox1->itemText(i);
        shownAgain = f->ComboBox1->currentText();
        QTest::mouseClick(f->Button2, Qt::LeftButton);
    }));
    QCOMPARE(listed, listedNextTime);
    QCOMPARE(shownAgain, tipusNev);
}

void TestKazetta::editByKeyboardKeepsFreeTape()
{
    addCassettes(5);
    openVK();
    QVERIFY(vk_->locate(QStringLiteral("vk"), 3));
    QString shown;
    bool comboColoured = false;
    QVERIFY(edit(false, [&](Tfrm_Kazetta* f) {
        shown = f->DBEdit1->text() + QLatin1Char('/') + f->DBEdit4->text();
        QVERIFY(f->DBEdit3->hasFocus());
        f->DBEdit3->selectAll();
        QTest::keyClicks(f->DBEdit3, QStringLiteral("240"));
        QTest::keyClick(f->DBEdit3, Qt::Key_Return);
        QVERIFY(f->ComboBox1->hasFocus());
        comboColoured = f->ComboBox1->palette().color(QPalette::Base) == FocusColour;
        f->ComboBox1->lineEdit()->selectAll();
        QTest::keyClicks(f->ComboBox1, QStringLiteral("S-VHS"));
        QTest::keyClick(f->ComboBox1, Qt::Key_Enter);
        QVERIFY(f->DBMemo1->hasFocus());
        f->DBMemo1->moveCursor(QTextCursor::End);
        QTest::keyClick(f->DBMemo1, Qt::Key_Return);
        TypeText(f->DBMemo1, QStringLiteral("új sor"));
        QTest::keyClick(f->DBMemo1, Qt::Key_Tab);
        QVERIFY(f->Button1->hasFocus());
        QTest::keyClick(f->Button1, Qt::Key_Return);
    }));
    QCOMPARE(shown, QStringLiteral("00003/75"));
    QVERIFY(comboColoured);
    // The free tape is the main window's to recompute after a length edit.
    QCOMPARE(dump(QStringLiteral(
                 "SELECT vk, azonosito, hossz, szabad, tipus, tipus_nev, megjegyzes FROM vk WHERE "
                 "vk=3")),
             QStringLiteral("3|00003|240|75|2|S-VHS|régi\núj sor"));
    QCOMPARE(vk_->value(QStringLiteral("vk")).toInt(), 3);
}

void TestKazetta::lengthTakesIntegersOnly_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("stored"); // hossz|szabad of the new cassette
    QTest::newRow("letters are refused") << "1a8b0"
                                         << "180|180";
    QTest::newRow("a sign and digits") << "-15"
                                       << "-15|-15";
    QTest::newRow("a sign inside is refused") << "1-5"
                                              << "15|15";
    QTest::newRow("empty length") << ""
                                  << "<null>|<null>";
    QTest::newRow("a sign alone") << "-"
                                  << "<null>|<null>";
    QTest::newRow("too large for the field") << "99999999999"
                                             << "999999999|999999999";
}

void TestKazetta::lengthTakesIntegersOnly()
{
    QFETCH(QString, typed);
    QFETCH(QString, stored);
    openVK();
    QVERIFY(edit(true, [&](Tfrm_Kazetta* f) {
        f->DBEdit3->selectAll();
        QTest::keyClick(f->DBEdit3, Qt::Key_Delete);
        QTest::keyClicks(f->DBEdit3, typed);
        QTest::mouseClick(f->Button1, Qt::LeftButton);
    }));
    QCOMPARE(dump(QStringLiteral("SELECT hossz, szabad FROM vk")), stored);
}

void TestKazetta::cancelLeavesTheCatalogue_data()
{
    QTest::addColumn<bool>("isNew");
    QTest::addColumn<bool>("escape");
    QTest::newRow("new, Mégsem") << true << false;
    QTest::newRow("new, Esc") << true << true;
    QTest::newRow("edit, Mégsem") << false << false;
    QTest::newRow("edit, Esc") << false << true;
}

void TestKazetta::cancelLeavesTheCatalogue()
{
    QFETCH(bool, isNew);
    QFETCH(bool, escape);
    addCassettes(3);
    openVK();
    QVERIFY(vk_->locate(QStringLiteral("vk"), 2));
    const QString before = snapshot();
    QVERIFY(!edit(isNew, [&](Tfrm_Kazetta* f) {
        f->DBEdit3->selectAll();
        QTest::keyClicks(f->DBEdit3, QStringLiteral("999"));
        TypeText(f->ComboBox1, QStringLiteral("Új típus"));
        TypeText(f->DBMemo1, QStringLiteral("más"));
        if (escape)
            QTest::keyClick(f->DBMemo1, Qt::Key_Escape);
        else
            QTest::mouseClick(f->Button2, Qt::LeftButton);
    }));
    QCOMPARE(snapshot(), before);
    QCOMPARE(vk_->state(), DataSet::State::Browse);
    QCOMPARE(vk_->recordCount(), 3);
    QCOMPARE(vk_->value(QStringLiteral("hossz")).toInt(), 60); // the table's own view is undone too
    QVERIFY(boxes_.isEmpty());
}

void TestKazetta::failedPostIsShownAndCancelled_data()
{
    QTest::addColumn<bool>("isNew");
    QTest::newRow("new cassette") << true;
    QTest::newRow("edited cassette") << false;
}

void TestKazetta::failedPostIsShownAndCancelled()
{
    QFETCH(bool, isNew);
    addCassettes(3);
    openVK();
    QVERIFY(vk_->locate(QStringLiteral("vk"), 2));
    db_->exec(QStringLiteral(
                  "CREATE TRIGGER refuse_vk BEFORE %1 ON vk BEGIN SELECT RAISE(ABORT, 'A tábla "
                  "zárolva van'); END;")
                  .arg(isNew ? QStringLiteral("INSERT") : QStringLiteral("UPDATE")));
    const QString before = snapshot();
    QVERIFY(!edit(isNew, [&](Tfrm_Kazetta* f) {
        f->DBEdit3->selectAll();
        QTest::keyClicks(f->DBEdit3, QStringLiteral("999"));
        TypeText(f->ComboBox1, QStringLiteral("Új típus"));
        QTest::mouseClick(f->Button1, Qt::LeftButton);
    }));
    QCOMPARE(boxes_.size(), 1);
    QCOMPARE(boxes_.first().caption, QStringLiteral("Hiba"));
    QVERIFY2(boxes_.first().text.contains(QStringLiteral("A tábla zárolva van")),
             qPrintable(boxes_.first().text));
    // Neither the cassette nor the new type it named stays behind.
    QCOMPARE(snapshot(), before);
    QCOMPARE(vk_->state(), DataSet::State::Browse);
    QCOMPARE(vk_->recordCount(), 3);
    QCOMPARE(vk_->value(QStringLiteral("hossz")).toInt(), 60);
}

void TestKazetta::placeIsStoredUnderItsSection()
{
    openVK();
    QPoint first;
    QVERIFY(!edit(true, [&](Tfrm_Kazetta* f) {
        first = f->pos();
        f->move(120, 80);
        QTest::mouseClick(f->Button2, Qt::LeftButton);
    }));
    QCOMPARE(first, QPoint(10, 10));
    int left = 0, top = 0;
    LoadFormPos(QStringLiteral("frm_Kazetta"), left, top);
    QCOMPARE(QPoint(left, top), QPoint(120, 80));
}

QTEST_MAIN(TestKazetta)
#include "tst_kazetta.moc"
