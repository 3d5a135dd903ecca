#include "catalogue/data/database.h"
#include "catalogue/data/table.h"
#include "catalogue/main/mainlists.h"

#include <QLineEdit>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QWheelEvent>
#include <QtTest>

class TestMainLists : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void initTestCase();
    void cleanupTestCase();
    void quickSearch_data();
    void quickSearch();
    void quickSearchOnEmptyListIsSilent();
    void quickSearchKeys_data();
    void quickSearchKeys();
    void shareWidthsRoundHalvesToEven_data();
    void shareWidthsRoundHalvesToEven();
    void cassetteBackgrounds_data();
    void cassetteBackgrounds();
    void recordingBackgroundsFollowTrackNumbers();
    void limits();
    void wheelStepsBecomeArrowKeys();

private:
    QTemporaryDir tmp_;
    Database db_;
};

void TestMainLists::initTestCase()
{
    db_.open(tmp_.path());
    QString sql;
    for (int i = 1; i <= 15; ++i)
        sql += QStringLiteral("INSERT INTO vk (vk, azonosito, hossz, tipus_nev) VALUES (%1, '%2', %3, '%4');")
                   .arg(i)
                   .arg(i, 5, 10, QLatin1Char('0'))
                   .arg(60 * (i % 4 + 1))
                   .arg(i % 3 == 0 ? QStringLiteral("VHS-C") : (i % 3 == 1 ? QStringLiteral("Betamax")
                                                                           : QStringLiteral("vhs")));
    sql += QStringLiteral("INSERT INTO felvetel (vk, felvetel, cim, datum, szamlalo_tol) VALUES"
                          " (1, 1, 'Zorro', '2026-02-01', '00:00:00'), (1, 2, 'Mátyás király', NULL, '01:00:00'),"
                          " (1, 3, 'macskafogó', '2026-01-05', '02:00:00');");
    db_.exec(sql);
}

void TestMainLists::cleanupTestCase() { db_.close(); }

void TestMainLists::quickSearch_data()
{
    QTest::addColumn<QString>("table");
    QTest::addColumn<QString>("order");
    QTest::addColumn<QStringList>("typed"); // successive texts of the search field
    QTest::addColumn<QString>("field");
    QTest::addColumn<QVariant>("expected"); // value of field at the end; invalid: stays on the first row

    QTest::newRow("1 then 12 by number") << "vk" << "vk" << QStringList{"1", "12"} << "vk" << QVariant(12);
    QTest::newRow("12 in the start order finds nothing") << "vk" << "azonosito" << QStringList{"12"} << "vk"
                                                         << QVariant(1);
    QTest::newRow("0001 in the start order") << "vk" << "azonosito" << QStringList{"0001"} << "vk" << QVariant(10);
    QTest::newRow("vhs by type, any case") << "vk" << "tipus_nev" << QStringList{"v", "vh", "vhs"} << "vk"
                                           << QVariant(2);
    QTest::newRow("not a number stays") << "vk" << "hossz" << QStringList{"x"} << "vk" << QVariant();
    QTest::newRow("m by title") << "felvetel" << "cim" << QStringList{"m"} << "felvetel" << QVariant(3);
    QTest::newRow("accented prefix") << "felvetel" << "cim" << QStringList{"má"} << "felvetel" << QVariant(2);
    QTest::newRow("date as shown") << "felvetel" << "datum" << QStringList{"2026.01.05"} << "felvetel"
                                   << QVariant(3);
    QTest::newRow("counter position") << "felvetel" << "szamlalo_tol" << QStringList{"01:00"} << "felvetel"
                                      << QVariant(2);
}

void TestMainLists::quickSearch()
{
    QFETCH(QString, table);
    QFETCH(QString, order);
    QFETCH(QStringList, typed);
    QFETCH(QString, field);
    QFETCH(QVariant, expected);
    Table t(db_, table);
    t.setOrderBy(order);
    t.open();
    if (table == QLatin1String("felvetel"))
        t.setFilter(QStringLiteral("vk=1"));
    const QVariant first = t.value(field);
    for (const QString& text : typed)
        QuickSearch(t, text);
    QCOMPARE(t.value(field), expected.isValid() ? expected : first);
}

void TestMainLists::quickSearchOnEmptyListIsSilent()
{
    Table t(db_, QStringLiteral("szereplo"));
    t.setOrderBy(QStringLiteral("nev"));
    t.open();
    QVERIFY(!QuickSearch(t, QStringLiteral("a")));
    Table closed(db_, QStringLiteral("vk"));
    QVERIFY(!QuickSearch(closed, QStringLiteral("1")));
}

void TestMainLists::quickSearchKeys_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<bool>("moves");
    for (const char* k : {"0", "9", "a", "z", "M", "á", "Ő", "ű", "Ü"})
        QTest::newRow(k) << QString::fromUtf8(k) << true;
    for (const char* k : {"", " ", "-", "ä", "ß", "\t", "ab"})
        QTest::newRow(QByteArray("no: ").append(k).constData()) << QString::fromUtf8(k) << false;
}

void TestMainLists::quickSearchKeys()
{
    QFETCH(QString, typed);
    QFETCH(bool, moves);
    QCOMPARE(IsQuickSearchKey(typed), moves);
}

void TestMainLists::shareWidthsRoundHalvesToEven_data()
{
    QTest::addColumn<int>("panel");
    QTest::addColumn<QList<int>>("cassette");
    QTest::addColumn<QList<int>>("recording");
    // 400 - 87 = 313: 62.6, 62.6, 62.6, 125.2
    QTest::newRow("design width") << 400 << QList<int>{63, 63, 63, 125} << QList<int>{26, 121, 51, 51, 51, 59};
    QTest::newRow("narrow") << 100 << QList<int>{3, 3, 3, 5} << QList<int>{5, 22, 9, 9, 9, 11};
}

void TestMainLists::shareWidthsRoundHalvesToEven()
{
    QFETCH(int, panel);
    QFETCH(QList<int>, cassette);
    QFETCH(QList<int>, recording);
    QCOMPARE(ShareWidths(panel, CassetteWidthOffset, CassetteColumnShares), cassette);
    QCOMPARE(ShareWidths(panel, RecordingWidthOffset, RecordingColumnShares), recording);
    QCOMPARE(ShareWidths(97, 87, {0.25, 0.05}), (QList<int>{2, 0})); // 2.5 -> 2, 0.5 -> 0
    QCOMPARE(ShareWidths(101, 87, {0.25}), (QList<int>{4}));         // 3.5 -> 4
}

void TestMainLists::cassetteBackgrounds_data()
{
    QTest::addColumn<bool>("selected");
    QTest::addColumn<QVariant>("vk");
    QTest::addColumn<int>("position");
    QTest::addColumn<bool>("sortColumn");
    QTest::addColumn<QVariant>("lent");
    QTest::addColumn<QColor>("expected"); // invalid: the standard background
    const QColor lighter = QColor(255, 255, 255); // button face 240 lightened by 15
    QTest::newRow("odd row") << false << QVariant(1) << 1 << false << QVariant("N") << QColor();
    QTest::newRow("even row") << false << QVariant(2) << 2 << false << QVariant("N") << EvenRowColor;
    QTest::newRow("even row, empty number") << false << QVariant() << 2 << false << QVariant("N") << QColor();
    QTest::newRow("even row, selected") << true << QVariant(2) << 2 << false << QVariant("N") << QColor();
    QTest::newRow("even row, sort column") << false << QVariant(2) << 2 << true << QVariant("N") << QColor();
    QTest::newRow("lent, even row") << false << QVariant(2) << 2 << false << QVariant("I") << lighter;
    QTest::newRow("lent, odd row") << false << QVariant(3) << 3 << false << QVariant("I") << lighter;
    QTest::newRow("lent, selected") << true << QVariant(3) << 3 << false << QVariant("I") << QColor();
    QTest::newRow("lending flag empty") << false << QVariant(4) << 4 << false << QVariant() << EvenRowColor;
}

void TestMainLists::cassetteBackgrounds()
{
    QFETCH(bool, selected);
    QFETCH(QVariant, vk);
    QFETCH(int, position);
    QFETCH(bool, sortColumn);
    QFETCH(QVariant, lent);
    QFETCH(QColor, expected);
    const auto bg = CassetteCellBackground(selected, vk, position, sortColumn, lent, QColor(240, 240, 240));
    QCOMPARE(bg.has_value(), expected.isValid());
    if (bg)
        QCOMPARE(*bg, expected);
}

void TestMainLists::recordingBackgroundsFollowTrackNumbers()
{
    QCOMPARE(RecordingCellBackground(false, 2, false), std::optional<QColor>(EvenRowColor));
    QCOMPARE(RecordingCellBackground(false, 3, false), std::nullopt);
    QCOMPARE(RecordingCellBackground(false, QVariant(), false), std::nullopt);
    QCOMPARE(RecordingCellBackground(true, 2, false), std::nullopt);
    QCOMPARE(RecordingCellBackground(false, 2, true), std::nullopt);
}

void TestMainLists::limits()
{
    QCOMPARE(FontSizeUp(9), 10);
    QCOMPARE(FontSizeUp(10), 10);
    QCOMPARE(FontSizeUp(7), 8);
    QCOMPARE(FontSizeDown(14), 13); // a large size from the settings only moves towards the range
    QCOMPARE(FontSizeDown(8), 8);
    QVERIFY(!SplitterAccepts(400));
    QVERIFY(SplitterAccepts(401));
}

void TestMainLists::wheelStepsBecomeArrowKeys()
{
    QLineEdit edit;
    edit.show();
    QVERIFY(QTest::qWaitForWindowExposed(&edit));
    edit.setFocus();
    QApplication::setActiveWindow(&edit);
    QTRY_VERIFY(edit.hasFocus());
    QList<int> keys;
    struct Recorder : QObject
    {
        QList<int>* keys;
        bool eventFilter(QObject*, QEvent* e) override
        {
            if (e->type() == QEvent::KeyPress)
                keys->append(static_cast<QKeyEvent*>(e)->key());
            return false;
        }
    } recorder;
    recorder.keys = &keys;
    edit.installEventFilter(&recorder);
    WheelToKeys wheel;
    const auto turn = [&](int delta) {
        QWheelEvent e(QPointF(5, 5), QPointF(5, 5), QPoint(0, delta), QPoint(0, delta), Qt::NoButton,
                      Qt::NoModifier, Qt::NoScrollPhase, false);
        return wheel.eventFilter(&edit, &e);
    };
    QVERIFY(turn(120));
    QVERIFY(turn(-240));
    for (int i = 0; i < 5; ++i) // a touchpad's small deltas add up to one step
        turn(-24);
    QCOMPARE(keys, (QList<int>{Qt::Key_Up, Qt::Key_Down, Qt::Key_Down, Qt::Key_Down}));
}

QTEST_MAIN(TestMainLists)
#include "tst_mainlists.moc"
