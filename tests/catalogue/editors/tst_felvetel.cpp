#include "catalogue/data/database.h"
#include "catalogue/data/query.h"
#include "catalogue/data/table.h"
#include "catalogue/editors/frm_felvetel.h"
#include "catalogue/editors/recordeditors.h"
#include "catalogue/main/settings.h"
#include "common/clock.h"
#include "common/messages.h"
#include "common/paths.h"
#include "common/values.h"
#include "modaldriver.h"

#include <QComboBox>
#include <QDateEdit>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTimeEdit>
#include <QToolButton>
#include <QtTest>

#include <memory>

// The recording editor, driven through its window as a user would, on the
// main window's two tables: the recordings follow the current cassette.
class TestFelvetel : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void init();
    void cleanup();
    void newRecordingDefaults_data();
    void newRecordingDefaults();
    void lengthButton_data();
    void lengthButton();
    void performers_data();
    void performers();
    void performerButtonPicksFromTheList();
    void qualityGenreAndDirectorByName();
    void emptyCounterPositionsAndDate_data();
    void emptyCounterPositionsAndDate();
    void cancelLeavesTheCatalogue_data();
    void cancelLeavesTheCatalogue();
    void failedPostIsShownAndCancelled_data();
    void failedPostIsShownAndCancelled();
    void noCassetteNoEditor();

private:
    void openAt(int cassette, const QString& order = QStringLiteral("felvetel"));
    QString dump(const QString& sql);
    QString snapshot();
    bool edit(bool isNew, std::function<void(Tfrm_Felvetel*)> drive);

    std::unique_ptr<QTemporaryDir> tmp_;
    std::unique_ptr<Database> db_;
    std::unique_ptr<Table> vk_;
    std::unique_ptr<Table> felv_;
    QList<MessageBoxRequest> boxes_;
    const QDate today_{2024, 3, 15};
};

void TestFelvetel::init()
{
    tmp_ = std::make_unique<QTemporaryDir>();
    RunStartupStep(tmp_->filePath(QStringLiteral("prog")), tmp_->filePath(QStringLiteral("home")));
    TBeall = {};
    SetToday(today_);
    db_ = std::make_unique<Database>();
    db_->open(tmp_->filePath(QStringLiteral("data")));
    // Cassette 1 holds tracks 1 to 3, the last ending at 01:30; cassette 2 is empty.
    db_->exec(QStringLiteral(
        "INSERT INTO vk (vk, azonosito, hossz, szabad, kolcsonadva) VALUES (1,'00001',180,90,'N'), "
        "(2,'00002',120,120,'N'), (3,'00003',60,60,'N');"
        "INSERT INTO minoseg (az, nev) VALUES (1,'VHS HQ'), (2,'  '), (3,NULL);"
        "INSERT INTO mufaj (az, nev) VALUES (1,'Vígjáték'), (2,'Dráma');"
        "INSERT INTO felvetel (vk, felvetel, cim, hossz, szamlalo_tol, szamlalo_ig, minoseg, "
        "mufaj, rendezte, "
        "datum) VALUES "
        "(1,1,'Zorró',45,'00:00:00','00:45:00',1,1,'Kovács','2020-01-02'),"
        "(1,2,'Alfa',15,'00:45:00','01:00:00',1,2,'','2020-01-03'),"
        "(1,3,'Béta',30,'01:00:00','01:30:00',NULL,NULL,'Kovács','2020-01-04'),"
        "(3,1,'Más',10,'00:00:00','00:09:00',1,1,'Alföldi',NULL),"
        "(3,2,'Más',10,'00:09:00','00:18:00',1,1,NULL,NULL);"));
    boxes_.clear();
    SetMessageBoxHandler([this](const MessageBoxRequest& r) {
        boxes_.append(r);
        return QMessageBox::Ok;
    });
}

void TestFelvetel::cleanup()
{
    SetMessageBoxHandler({});
    SetToday(QDate());
    felv_.reset();
    vk_.reset();
    db_.reset();
    tmp_.reset();
}

// The two tables as the main window keeps them: the recordings filtered to
// the current cassette whenever it moves.
void TestFelvetel::openAt(int cassette, const QString& order)
{
    vk_ = std::make_unique<Table>(*db_, QStringLiteral("vk.DB"));
    felv_ = std::make_unique<Table>(*db_, QStringLiteral("felvetel.DB"));
    vk_->setOrderBy(QStringLiteral("azonosito"));
    felv_->setOrderBy(order);
    connect(vk_.get(), &DataSet::afterScroll, felv_.get(), [this] {
        felv_->setFilter(
            QStringLiteral("vk=%1").arg(NullToInt(vk_->value(QStringLiteral("vk")), 0)));
    });
    vk_->open();
    felv_->open();
    if (cassette > 0)
        QVERIFY(vk_->locate(QStringLiteral("vk"), cassette));
}

QString TestFelvetel::dump(const QString& sql)
{
    Query q(*db_, sql);
    q.open();
    QStringList rows;
    for (q.first(); !q.eof(); q.next()) {
        QStringList values;
        for (int i = 0; i < q.fieldCount(); ++i) {
            const QVariant v = q.value(i);
            values << (v.isNull() ? QStringLiteral("<null>")
                       : v.typeId() == QMetaType::QTime
                           ? v.toTime().toString(QStringLiteral("HH:mm:ss"))
                           : v.toString());
        }
        rows << values.join(QLatin1Char('|'));
    }
    return rows.join(QLatin1Char('\n'));
}

QString TestFelvetel::snapshot()
{
    return dump(QStringLiteral("SELECT * FROM felvetel ORDER BY vk, felvetel")) +
           QStringLiteral("\n--\n") + dump(QStringLiteral("SELECT * FROM minoseg ORDER BY az")) +
           QStringLiteral("\n--\n") + dump(QStringLiteral("SELECT * FROM mufaj ORDER BY az"));
}

bool TestFelvetel::edit(bool isNew, std::function<void(Tfrm_Felvetel*)> drive)
{
    OnModal(QStringLiteral("frm_Felvetel"),
            [drive](QWidget* w) { drive(qobject_cast<Tfrm_Felvetel*>(w)); });
    return EditRecording(*vk_, *felv_, isNew);
}

void TestFelvetel::newRecordingDefaults_data()
{
    QTest::addColumn<int>("cassette");
    QTest::addColumn<QString>("order");
    QTest::addColumn<bool>("isNew");
    QTest::addColumn<int>("track");
    QTest::addColumn<QTime>("start");
    QTest::newRow("first recording of a cassette") << 2 << "felvetel" << true << 1 << QTime(0, 0);
    QTest::newRow("after track 3 ending at 01:30") << 1 << "felvetel" << true << 4 << QTime(1, 30);
    // Sorted by title the last row shown is track 1, ending at 00:45.
    QTest::newRow("list sorted by title") << 1 << "cim" << true << 4 << QTime(1, 30);
    QTest::newRow("editing an empty list starts a new one")
        << 2 << "felvetel" << false << 1 << QTime(0, 0);
}

void TestFelvetel::newRecordingDefaults()
{
    QFETCH(int, cassette);
    QFETCH(QString, order);
    QFETCH(bool, isNew);
    QFETCH(int, track);
    QFETCH(QTime, start);
    openAt(cassette, order);
    const int before = felv_->recordCount();
    QStringList shown;
    bool enterMoved = false;
    QVERIFY(edit(isNew, [&](Tfrm_Felvetel* f) {
        shown << f->DBEdit1->text() << f->DateTimePicker1->time().toString(QStringLiteral("HH:mm"))
              << f->DateTimePicker2->time().toString(QStringLiteral("HH:mm")) << f->DBEdit4->text()
              << f->DateTimePicker3->date().toString(Qt::ISODate) << f->DBEdit2->text();
        QCOMPARE(f->PageControl1->currentIndex(), 0);
        QVERIFY(f->DBEdit2->hasFocus());
        TypeText(f->DBEdit2, QStringLiteral("Új film"));
        QTest::keyClick(f->DBEdit2, Qt::Key_Return);
        enterMoved = f->DateTimePicker1->hasFocus();
        TypeText(f->ComboBox1, QStringLiteral("VHS HQ"));
        TypeText(f->ComboBox2, QStringLiteral("Dráma"));
        QTest::mouseClick(f->Button1, Qt::LeftButton);
    }));
    QCOMPARE(shown, (QStringList{QStringLiteral("%1").arg(track, 2, 10, QLatin1Char('0')),
                                 start.toString(QStringLiteral("HH:mm")), "00:00", "0",
                                 "2024-03-15", ""}));
    QVERIFY(enterMoved);
    QCOMPARE(
        dump(
            QStringLiteral(
                "SELECT cim, hossz, szamlalo_tol, szamlalo_ig, datum, minoseg, mufaj FROM felvetel "
                "WHERE vk=%1 AND felvetel=%2")
                .arg(cassette)
                .arg(track)),
        QStringLiteral("Új film|0|%1|00:00:00|2024-03-15|1|2").arg(start.toString(Qt::ISODate)));
    QCOMPARE(felv_->state(), DataSet::State::Browse);
    QCOMPARE(felv_->recordCount(), before + 1);
    QCOMPARE(felv_->value(QStringLiteral("felvetel")).toInt(), track);
    QCOMPARE(felv_->value(QStringLiteral("mufaj_nev")).toString(), QStringLiteral("Dráma"));
}

void TestFelvetel::lengthButton_data()
{
    QTest::addColumn<QTime>("from");
    QTest::addColumn<QTime>("to");
    QTest::addColumn<int>("length");
    QTest::newRow("00:10 to 00:40") << QTime(0, 10) << QTime(0, 40) << 31;
    QTest::newRow("00:00 to 00:44") << QTime(0, 0) << QTime(0, 44) << 45;
    QTest::newRow("one hour") << QTime(1, 0) << QTime(2, 0) << 61;
    QTest::newRow("end before start") << QTime(0, 40) << QTime(0, 10) << 31;
    QTest::newRow("same position") << QTime(0, 5) << QTime(0, 5) << 1;
}

void TestFelvetel::lengthButton()
{
    QFETCH(QTime, from);
    QFETCH(QTime, to);
    QFETCH(int, length);
    openAt(2);
    QString shown;
    bool focused = false;
    QVERIFY(edit(true, [&](Tfrm_Felvetel* f) {
        f->DateTimePicker1->setTime(from);
        f->DateTimePicker2->setTime(to);
        QTest::mouseClick(f->BitBtn5, Qt::LeftButton);
        shown = f->DBEdit4->text();
        focused = f->DBEdit4->hasFocus();
        QTest::mouseClick(f->Button1, Qt::LeftButton);
    }));
    QCOMPARE(shown, QString::number(length));
    QVERIFY(focused);
    QCOMPARE(
        dump(QStringLiteral("SELECT hossz, szamlalo_tol, szamlalo_ig FROM felvetel WHERE vk=2")),
        QStringLiteral("%1|%2|%3")
            .arg(length)
            .arg(from.toString(Qt::ISODate), to.toString(Qt::ISODate)));
}

void TestFelvetel::performers_data()
{
    QTest::addColumn<QString>("initial");
    QTest::addColumn<bool>("clearFirst");
    QTest::addColumn<QStringList>("picks");
    QTest::addColumn<QString>("stored");
    const QString long250(250, QLatin1Char('x'));
    QTest::newRow("two names into empty performers")
        << "" << false << QStringList{"Kovács Béla", "Nagy Éva"} << "Kovács Béla, Nagy Éva";
    QTest::newRow("after the names already there")
        << "Kiss Ádám" << false << QStringList{"Nagy Éva"} << "Kiss Ádám, Nagy Éva";
    QTest::newRow("list closed without a pick")
        << "Kiss Ádám" << false << QStringList{""} << "Kiss Ádám";
    QTest::newRow("cut at 255 characters")
        << long250 << false << QStringList{"Nagy Éva"} << long250 + ", Nag";
    QTest::newRow("cleared, then picked")
        << "Kiss Ádám" << true << QStringList{"Nagy Éva"} << "Nagy Éva";
    QTest::newRow("cleared") << "Kiss Ádám" << true << QStringList{} << "";
}

void TestFelvetel::performers()
{
    QFETCH(QString, initial);
    QFETCH(bool, clearFirst);
    QFETCH(QStringList, picks);
    QFETCH(QString, stored);
    if (!initial.isEmpty())
        db_->exec(QStringLiteral("UPDATE felvetel SET szereplok='%1' WHERE vk=1 AND felvetel=1")
                      .arg(initial));
    openAt(1);
    QVERIFY(edit(false, [&](Tfrm_Felvetel* f) {
        QCOMPARE(f->DBEdit9->text(), initial);
        f->PickPerformer = [&picks] { return picks.takeFirst(); };
        if (clearFirst)
            QTest::mouseClick(f->BitBtn4, Qt::LeftButton);
        while (!picks.isEmpty())
            QTest::mouseClick(f->BitBtn3, Qt::LeftButton);
        QTest::mouseClick(f->Button1, Qt::LeftButton);
    }));
    QCOMPARE(dump(QStringLiteral("SELECT szereplok FROM felvetel WHERE vk=1 AND felvetel=1")),
             stored.isEmpty() && initial.isEmpty() ? QStringLiteral("<null>") : stored);
}

void TestFelvetel::performerButtonPicksFromTheList()
{
    db_->exec(QStringLiteral(
        "INSERT INTO szereplo (nev) VALUES ('Nagy Éva'), ('Kovács Béla'), ('Zsoldos Ági');"));
    openAt(1);
    QString shown;
    QVERIFY(edit(false, [&](Tfrm_Felvetel* f) {
        for (const QString& typed : {QStringLiteral("kov"), QStringLiteral("nagy")}) {
            OnModal(QStringLiteral("frm_Torzs"), [typed](QWidget* list) {
                auto* search = list->findChild<QLineEdit*>(QStringLiteral("Edit1"));
                QVERIFY(search);
                QTest::mouseClick(search, Qt::LeftButton);
                TypeText(search, typed);
                QTest::keyClick(search, Qt::Key_Return);
            });
            QTest::mouseClick(f->BitBtn3, Qt::LeftButton);
        }
        shown = f->DBEdit9->text();
        QTest::mouseClick(f->Button1, Qt::LeftButton);
    }));
    QCOMPARE(shown, QStringLiteral("Kovács Béla, Nagy Éva"));
    QCOMPARE(dump(QStringLiteral("SELECT szereplok FROM felvetel WHERE vk=1 AND felvetel=1")),
             shown);
}

void TestFelvetel::qualityGenreAndDirectorByName()
{
    openAt(1);
    QVERIFY(felv_->locate(QStringLiteral("felvetel"), 2));
    QList<QStringList> lists;
    QStringList texts;
    QVERIFY(edit(false, [&](Tfrm_Felvetel* f) {
        for (QComboBox* c : {f->ComboBox1, f->ComboBox2, f->DBComboBox1}) {
            QStringList items;
            for (int i = 0; i < c->count(); ++i)
                items << c->itemText(i);
            lists << items;
            texts << c->currentText();
        }
        f->ComboBox1->lineEdit()->selectAll();
        TypeText(f->ComboBox1, QStringLiteral("vhs hq"));
        f->ComboBox2->lineEdit()->selectAll();
        TypeText(f->ComboBox2, QStringLiteral("Dokumentum"));
        TypeText(f->DBComboBox1, QStringLiteral("Őry Ű"));
        QTest::mouseClick(f->Button1, Qt::LeftButton);
    }));
    // Blank names are not offered; the directors come once each, empty ones left out.
    QCOMPARE(lists, (QList<QStringList>{{"VHS HQ"}, {"Dráma", "Vígjáték"}, {"Alföldi", "Kovács"}}));
    QCOMPARE(texts, (QStringList{"VHS HQ", "Dráma", ""}));
    QCOMPARE(dump(QStringLiteral(
                 "SELECT minoseg, mufaj, rendezte FROM felvetel WHERE vk=1 AND felvetel=2")),
             QStringLiteral("1|3|Őry Ű"));
    QCOMPARE(dump(QStringLiteral("SELECT count(*) FROM minoseg")), QStringLiteral("3"));
    QCOMPARE(dump(QStringLiteral("SELECT az, nev FROM mufaj WHERE az=3")),
             QStringLiteral("3|Dokumentum"));
    // The list shows the quality as stored, not as typed.
    QCOMPARE(felv_->value(QStringLiteral("minoseg_nev")).toString(), QStringLiteral("VHS HQ"));
    QCOMPARE(felv_->value(QStringLiteral("mufaj_nev")).toString(), QStringLiteral("Dokumentum"));
}

void TestFelvetel::emptyCounterPositionsAndDate_data()
{
    QTest::addColumn<bool>("setDate");
    QTest::addColumn<QString>("stored");
    QTest::newRow("date left alone stays empty") << false << "00:00:00|00:00:00|<null>";
    QTest::newRow("date set by the user") << true << "00:00:00|00:00:00|2001-02-03";
}

void TestFelvetel::emptyCounterPositionsAndDate()
{
    QFETCH(bool, setDate);
    QFETCH(QString, stored);
    db_->exec(QStringLiteral(
        "UPDATE felvetel SET szamlalo_tol=NULL, szamlalo_ig=NULL, datum=NULL WHERE vk=1 AND "
        "felvetel=3"));
    openAt(1);
    QVERIFY(felv_->locate(QStringLiteral("felvetel"), 3));
    QStringList shown;
    QVERIFY(edit(false, [&](Tfrm_Felvetel* f) {
        shown << f->DateTimePicker1->text() << f->DateTimePicker2->text()
              << f->DateTimePicker3->date().toString(Qt::ISODate);
        if (setDate)
            f->DateTimePicker3->setDate(QDate(2001, 2, 3));
        QTest::mouseClick(f->Button1, Qt::LeftButton);
    }));
    QCOMPARE(shown, (QStringList{"00:00", "00:00", "2024-03-15"}));
    QCOMPARE(
        dump(QStringLiteral(
            "SELECT szamlalo_tol, szamlalo_ig, datum FROM felvetel WHERE vk=1 AND felvetel=3")),
        stored);
}

void TestFelvetel::cancelLeavesTheCatalogue_data()
{
    QTest::addColumn<bool>("isNew");
    QTest::addColumn<bool>("escape");
    QTest::newRow("new, Mégsem") << true << false;
    QTest::newRow("new, Esc") << true << true;
    QTest::newRow("edit, Mégsem") << false << false;
    QTest::newRow("edit, Esc") << false << true;
}

void TestFelvetel::cancelLeavesTheCatalogue()
{
    QFETCH(bool, isNew);
    QFETCH(bool, escape);
    db_->exec(QStringLiteral(
        "UPDATE felvetel SET szereplok='Kiss Ádám, Nagy Éva' WHERE vk=1 AND felvetel=1"));
    openAt(1);
    const QString before = snapshot();
    QVERIFY(!edit(isNew, [&](Tfrm_Felvetel* f) {
        QTest::mouseClick(f->BitBtn4, Qt::LeftButton);
        QCOMPARE(f->DBEdit9->text(), QString());
        TypeText(f->DBEdit2, QStringLiteral("más cím"));
        TypeText(f->ComboBox1, QStringLiteral("Új minőség"));
        f->PageControl1->setCurrentIndex(1);
        TypeText(f->DBMemo1, QStringLiteral("megjegyzés"));
        if (escape)
            QTest::keyClick(f->DBMemo1, Qt::Key_Escape);
        else
            QTest::mouseClick(f->Button2, Qt::LeftButton);
    }));
    QCOMPARE(snapshot(), before);
    QCOMPARE(felv_->state(), DataSet::State::Browse);
    QCOMPARE(felv_->recordCount(), 3);
    QCOMPARE(felv_->value(QStringLiteral("szereplok")).toString(),
             QStringLiteral("Kiss Ádám, Nagy Éva"));
    QVERIFY(boxes_.isEmpty());
}

void TestFelvetel::failedPostIsShownAndCancelled_data()
{
    QTest::addColumn<bool>("isNew");
    QTest::newRow("new recording") << true;
    QTest::newRow("edited recording") << false;
}

void TestFelvetel::failedPostIsShownAndCancelled()
{
    QFETCH(bool, isNew);
    openAt(1);
    db_->exec(QStringLiteral(
                  "CREATE TRIGGER refuse_felvetel BEFORE %1 ON felvetel BEGIN SELECT RAISE(ABORT, "
                  "'A tábla zárolva van'); END;")
                  .arg(isNew ? QStringLiteral("INSERT") : QStringLiteral("UPDATE")));
    const QString before = snapshot();
    QVERIFY(!edit(isNew, [&](Tfrm_Felvetel* f) {
        TypeText(f->DBEdit2, QStringLiteral("más cím"));
        TypeText(f->ComboBox1, QStringLiteral("Új minőség"));
        QTest::mouseClick(f->Button1, Qt::LeftButton);
    }));
    QCOMPARE(boxes_.size(), 1);
    QCOMPARE(boxes_.first().caption, QStringLiteral("Hiba"));
    QVERIFY2(boxes_.first().text.contains(QStringLiteral("A tábla zárolva van")),
             qPrintable(boxes_.first().text));
    // Neither the recording nor the new quality it named stays behind.
    QCOMPARE(snapshot(), before);
    QCOMPARE(felv_->state(), DataSet::State::Browse);
    QCOMPARE(felv_->recordCount(), 3);
    QCOMPARE(felv_->value(QStringLiteral("cim")).toString(), QStringLiteral("Zorró"));
}

void TestFelvetel::noCassetteNoEditor()
{
    db_->exec(QStringLiteral("DELETE FROM felvetel; DELETE FROM vk;"));
    openAt(0);
    bool opened = false;
    QTimer::singleShot(0, [&opened] {
        if (auto* d = qobject_cast<QDialog*>(QApplication::activeModalWidget())) {
            opened = true;
            d->reject();
        }
    });
    QVERIFY(!EditRecording(*vk_, *felv_, true));
    QCoreApplication::processEvents();
    QVERIFY(!opened);
    QCOMPARE(boxes_.size(), 1);
    QCOMPARE(boxes_.first().caption, QStringLiteral("Hiba"));
    QCOMPARE(boxes_.first().text, QStringLiteral("Kazetta azonosító hiányzik"));
    QCOMPARE(felv_->state(), DataSet::State::Browse);
    QCOMPARE(dump(QStringLiteral("SELECT count(*) FROM felvetel")), QStringLiteral("0"));
}

QTEST_MAIN(TestFelvetel)
#include "tst_felvetel.moc"
