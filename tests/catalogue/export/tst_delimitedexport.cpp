#include "catalogue/export/delimitedexport.h"
#include "catalogue/export/delimitedwriter.h"
#include "catalogue/export/frm_hatarolt.h"
#include "common/messages.h"
#include "common/paths.h"
#include "memorydataset.h"
#include "tests/catalogue/editors/modaldriver.h"

#include <QBuffer>
#include <QButtonGroup>
#include <QCheckBox>
#include <QDir>
#include <QJsonArray>
#include <QJsonDocument>
#include <QLineEdit>
#include <QListWidget>
#include <QProcess>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>

// The test runs with LC_ALL=hu_HU.UTF-8 (see CMakeLists.txt), so the system's
// date, time and number formats are the Hungarian ones.

Q_DECLARE_METATYPE(DelimitedOptions)

namespace {

DelimitedOptions Opts(QList<int> fields, QChar separator = u';', QChar quote = QChar(),
                      bool multiLine = false, bool originalNames = false)
{
    DelimitedOptions o;
    o.fields = std::move(fields);
    o.separator = separator;
    o.quote = quote;
    o.multiLine = multiLine;
    o.originalNames = originalNames;
    return o;
}

QByteArray ReadAll(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
}

struct Messages
{
    QList<MessageBoxRequest> shown;
    QStringList infos() const
    {
        QStringList r;
        for (const auto& m : shown)
            if (m.caption == QStringLiteral("Üzenet"))
                r << m.text;
        return r;
    }
    QStringList errors() const
    {
        QStringList r;
        for (const auto& m : shown)
            if (m.caption == QStringLiteral("Hiba"))
                r << m.text;
        return r;
    }
};

// Five recordings: number shown "00000", title, length.
QList<Field> RecordingFields()
{
    return {MakeField("vk", FieldKind::Integer, QStringLiteral("Kazetta"), QStringLiteral("00000")),
            MakeField("cim", FieldKind::Alpha, QStringLiteral("Cím")),
            MakeField("hossz", FieldKind::Integer, QStringLiteral("Hossz"))};
}
QList<Row> RecordingRows(int n)
{
    QList<Row> rows;
    for (int i = 1; i <= n; ++i)
        rows << Row{i, QStringLiteral("Felvétel %1").arg(i), 10 * i};
    return rows;
}

} // namespace

class TestDelimitedExport : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void init();
    void cleanup();
    void fileFormat_data();
    void fileFormat();
    void fileTakesItsPlaceOnlyWhenWritten();
    void readBackByAnIndependentParser();
    void dialogStartsWithEverythingChecked();
    void exportFromTheDialog();
    void emptyFileName();
    void stopWritesTheRowsSoFar();
    void failedExportIsReported();

private:
    QTemporaryDir tmp_;
    Database db_;
    Messages messages_;
    int run_ = 0;
    QString folder_;
};

void TestDelimitedExport::init()
{
    RunStartupStep(tmp_.filePath(QStringLiteral("prog")), tmp_.filePath(QStringLiteral("home")));
    folder_ = tmp_.filePath(QStringLiteral("run%1").arg(++run_));
    QVERIFY(QDir().mkpath(folder_));
    messages_ = {};
    SetMessageBoxHandler([this](const MessageBoxRequest& r) {
        messages_.shown << r;
        return QMessageBox::Ok;
    });
}

void TestDelimitedExport::cleanup()
{
    SetMessageBoxHandler({});
}

void TestDelimitedExport::fileFormat_data()
{
    QTest::addColumn<QList<Field>>("fields");
    QTest::addColumn<QList<Row>>("rows");
    QTest::addColumn<DelimitedOptions>("options");
    QTest::addColumn<QByteArray>("expected");

    const QList<Field> two{MakeField("s1", FieldKind::Alpha), MakeField("s2", FieldKind::Alpha)};
    const QList<Field> one{MakeField("s", FieldKind::Alpha)};
    const QList<Field> memo{MakeField("m", FieldKind::Memo)};

    QTest::newRow("«a;b;», every line closed by the separator")
        << two << QList<Row>{{QStringLiteral("a"), QStringLiteral("b")}} << Opts({0, 1})
        << QByteArray("s1;s2;\r\na;b;\r\n");
    QTest::newRow("tab separator, nothing escaped without a quote")
        << two << QList<Row>{{QStringLiteral("say \"hi\""), QStringLiteral("x;y")}}
        << Opts({0, 1}, u'\t') << QByteArray("s1\ts2\t\r\nsay \"hi\"\tx;y\t\r\n");
    QTest::newRow("double quote doubled inside the value")
        << one << QList<Row>{{QStringLiteral("say \"hi\"; now")}} << Opts({0}, u';', u'"')
        << QByteArray("\"s\";\r\n\"say \"\"hi\"\"; now\";\r\n");
    QTest::newRow("apostrophe doubled inside the value")
        << one << QList<Row>{{QStringLiteral("O'Neil")}} << Opts({0}, u',', u'\'')
        << QByteArray("'s',\r\n'O''Neil',\r\n");
    QTest::newRow("plain values without display formats")
        << QList<Field>{MakeField("vk", FieldKind::Integer, QStringLiteral("Kazetta"),
                                  QStringLiteral("00000")),
                        MakeField("tol", FieldKind::Time, QString(), QStringLiteral("hh:mm")),
                        MakeField("datum", FieldKind::Date, QString(),
                                  QStringLiteral("yyyy.mm.dd")),
                        MakeField("ar", FieldKind::Float)}
        << QList<Row>{{12, QTime(9, 5, 7), QDate(2024, 3, 5), 1234.5},
                      {QVariant(), QVariant(), QVariant(), QVariant()}}
        << Opts({0, 1, 2, 3})
        << QByteArray("Kazetta;tol;datum;ar;\r\n12;9:05:07;2024. 03. 05.;1234,5;\r\n;;;;\r\n");
    QTest::newRow("original names; text in a number field kept")
        << QList<Field>{MakeField("vk", FieldKind::Integer, QStringLiteral("Kazetta"))}
        << QList<Row>{{7}, {QStringLiteral("n/a")}} << Opts({0}, u';', QChar(), false, true)
        << QByteArray("vk;\r\n7;\r\nn/a;\r\n");
    QTest::newRow("only the checked fields, in field order")
        << QList<Field>{MakeField("a", FieldKind::Alpha), MakeField("b", FieldKind::Alpha),
                        MakeField("c", FieldKind::Alpha)}
        << QList<Row>{{QStringLiteral("1"), QStringLiteral("2"), QStringLiteral("3")}}
        << Opts({0, 2}) << QByteArray("a;c;\r\n1;3;\r\n");
    QTest::newRow("no field checked: empty lines")
        << two
        << QList<Row>{{QStringLiteral("a"), QStringLiteral("b")},
                      {QStringLiteral("c"), QStringLiteral("d")}}
        << Opts({}) << QByteArray("\r\n\r\n\r\n");
    QTest::newRow("no rows: the header alone")
        << two << QList<Row>{} << Opts({0, 1}) << QByteArray("s1;s2;\r\n");
    QTest::newRow("memo joined with «|», separator «|» replaced too")
        << memo << QList<Row>{{QStringLiteral("a\r\nb")}} << Opts({0}, u'|', QChar(), true)
        << QByteArray("m|\r\na,b,|\r\n");
    QTest::newRow("memo joined with «|», separator «;»")
        << memo << QList<Row>{{QStringLiteral("a\nb")}, {QVariant()}}
        << Opts({0}, u';', QChar(), true) << QByteArray("m;\r\na|b|;\r\n;\r\n");
    QTest::newRow("memo without the box, and raw bytes")
        << QList<Field>{MakeField("m", FieldKind::Memo), MakeField("b", FieldKind::Blob)}
        << QList<Row>{{QStringLiteral("a\nb"), QByteArray("\x01\x02")}} << Opts({0, 1})
        << QByteArray("m;b;\r\nBLOB;BLOB;\r\n");
    QTest::newRow("Hungarian letters in Windows-1250, others as «?»")
        << one << QList<Row>{{QStringLiteral("Őrült ű ✓ Ü")}} << Opts({0})
        << QByteArray("s;\r\n\xd5r\xfclt \xfb ? \xdc;\r\n");
}

void TestDelimitedExport::fileFormat()
{
    QFETCH(QList<Field>, fields);
    QFETCH(QList<Row>, rows);
    QFETCH(DelimitedOptions, options);
    QFETCH(QByteArray, expected);
    MemoryDataSet ds(db_, fields, rows);
    QBuffer out;
    out.open(QIODevice::WriteOnly);
    const DelimitedResult r = WriteDelimited(ds, options, out);
    QCOMPARE(out.data(), expected);
    QCOMPARE(r.rows, int(rows.size()));
    QVERIFY(!r.stopped);
}

void TestDelimitedExport::fileTakesItsPlaceOnlyWhenWritten()
{
    const QString path = QDir(folder_).filePath(QStringLiteral("Felvételek.csv"));
    {
        QFile old(path);
        QVERIFY(old.open(QIODevice::WriteOnly));
        old.write("old contents\r\n");
    }
    MemoryDataSet ds(db_, RecordingFields(), RecordingRows(5));
    ds.failAt(3);
    QVERIFY_THROWS_EXCEPTION(DbError, WriteDelimitedFile(ds, Opts({0, 1, 2}), path));
    QCOMPARE(ReadAll(path), QByteArray("old contents\r\n"));
    QCOMPARE(QDir(folder_).entryList(QDir::Files | QDir::Hidden),
             QStringList{QStringLiteral("Felvételek.csv")});

    // Stopped after two rows: those rows, complete, replace the old file.
    MemoryDataSet good(db_, RecordingFields(), RecordingRows(5));
    const DelimitedResult r =
        WriteDelimitedFile(good, Opts({0, 2}), path, [](int row) { return row < 2; });
    QVERIFY(r.stopped);
    QCOMPARE(r.rows, 2);
    QCOMPARE(ReadAll(path), QByteArray("Kazetta;Hossz;\r\n1;10;\r\n2;20;\r\n"));
}

void TestDelimitedExport::readBackByAnIndependentParser()
{
    const QString python = QStandardPaths::findExecutable(QStringLiteral("python3"));
    if (python.isEmpty())
        QSKIP("python3 is not installed");
    const QList<QStringList> values{
        {QStringLiteral("Árvíztűrő tükörfúrógép"), QStringLiteral("ŐSZ, ŰR; \"idézet\"")},
        {QStringLiteral("két\r\nsor"), QStringLiteral("'aposztróf'")},
        {QString(), QStringLiteral("Kovács Béla")},
    };
    QList<Row> rows;
    for (const QStringList& v : values)
        rows << Row{v.at(0), v.at(1)};
    MemoryDataSet ds(db_,
                     {MakeField("cim", FieldKind::Alpha, QStringLiteral("Cím")),
                      MakeField("szereplok", FieldKind::Alpha, QStringLiteral("Szereplők"))},
                     rows);
    const QString path = QDir(folder_).filePath(QStringLiteral("videokazetták.csv"));
    WriteDelimitedFile(ds, Opts({0, 1}, u';', u'"'), path);

    QProcess py;
    py.start(python, {QStringLiteral("-c"),
                      QStringLiteral("import csv, json, sys\n"
                                     "with open(sys.argv[1], encoding='cp1250', newline='') as f:\n"
                                     "    print(json.dumps(list(csv.reader(f, delimiter=';'))))\n"),
                      path});
    QVERIFY(py.waitForFinished(30000));
    QCOMPARE(py.exitCode(), 0);
    const QJsonArray read = QJsonDocument::fromJson(py.readAllStandardOutput()).array();
    QCOMPARE(read.size(), values.size() + 1);
    // Each line's closing separator reads as one more, empty, value.
    QCOMPARE(read.at(0).toArray().toVariantList(),
             QVariantList({QStringLiteral("Cím"), QStringLiteral("Szereplők"), QString()}));
    for (qsizetype i = 0; i < values.size(); ++i)
        QCOMPARE(read.at(i + 1).toArray().toVariantList(),
                 QVariantList({values.at(i).at(0), values.at(i).at(1), QString()}));
}

void TestDelimitedExport::dialogStartsWithEverythingChecked()
{
    MemoryDataSet ds(db_, RecordingFields(), RecordingRows(2));
    QStringList items;
    OnModal(QStringLiteral("frm_Hatarolt"), [&](QWidget* w) {
        auto* d = qobject_cast<Tfrm_Hatarolt*>(w);
        QVERIFY(d);
        QCOMPARE(d->windowTitle(), QStringLiteral("Határolt szöveg export"));
        for (int i = 0; i < d->CheckListBox1->count(); ++i) {
            items << d->CheckListBox1->item(i)->text();
            QCOMPARE(d->CheckListBox1->item(i)->checkState(), Qt::Checked);
        }
        QCOMPARE(d->separatorIndex(), 0);
        QCOMPARE(d->quoteIndex(), 2);
        QVERIFY(!d->CheckBox1->isChecked());
        QVERIFY(!d->CheckBox2->isChecked());
        QCOMPARE(d->Edit1->text(), QStringLiteral("Kazetták.csv"));
        QVERIFY(!d->BitBtn2->isEnabled());
        QVERIFY(d->BitBtn1->isDefault());

        d->btnEgyikSem->click();
        QVERIFY(d->options().fields.isEmpty());
        d->btnOsszes->click();
        QCOMPARE(d->options().fields, QList<int>({0, 1, 2}));
        QTest::keyClick(d, Qt::Key_Escape);
    });
    ExportDelimited(ds, QStringLiteral("Kazetták.csv"));
    QCOMPARE(items,
             QStringList({QStringLiteral("vk"), QStringLiteral("cim"), QStringLiteral("hossz")}));
    QVERIFY(messages_.shown.isEmpty());
}

void TestDelimitedExport::exportFromTheDialog()
{
    // A bare name, typed or proposed, lands in the working folder.
    const QString before = QDir::currentPath();
    QDir::setCurrent(folder_);
    MemoryDataSet ds(db_, RecordingFields(), RecordingRows(4));
    bool stillOpen = false;
    bool stopEnabledAfter = true;
    OnModal(QStringLiteral("frm_Hatarolt"), [&](QWidget* w) {
        auto* d = qobject_cast<Tfrm_Hatarolt*>(w);
        d->CheckListBox1->item(2)->setCheckState(Qt::Unchecked);
        d->findChild<QRadioButton*>(QStringLiteral("RadioGroup1_3"))->click(); // "|"
        d->findChild<QRadioButton*>(QStringLiteral("RadioGroup2_0"))->click(); // '"'
        d->CheckBox2->click();
        QTest::keyClick(d->Edit1, Qt::Key_Return); // the default button
        stillOpen = d->isVisible();
        stopEnabledAfter = d->BitBtn2->isEnabled();
        d->BitBtn3->click();
    });
    ExportDelimited(ds, QStringLiteral("Kazetták.csv"));
    QDir::setCurrent(before);
    QCOMPARE(
        ReadAll(QDir(folder_).filePath(QStringLiteral("Kazetták.csv"))),
        QByteArray("\"vk\"|\"cim\"|\r\n\"1\"|\"Felv\xe9tel 1\"|\r\n\"2\"|\"Felv\xe9tel 2\"|\r\n"
                   "\"3\"|\"Felv\xe9tel 3\"|\r\n\"4\"|\"Felv\xe9tel 4\"|\r\n"));
    QCOMPARE(messages_.infos(), QStringList{QStringLiteral("Kazetták.csv file kész.")});
    QVERIFY(messages_.errors().isEmpty());
    QVERIFY(stillOpen);
    QVERIFY(!stopEnabledAfter);
    QCOMPARE(ds.currentRow(), 3); // the grids follow to the last row written
}

void TestDelimitedExport::emptyFileName()
{
    MemoryDataSet ds(db_, RecordingFields(), RecordingRows(2));
    bool focused = false;
    OnModal(QStringLiteral("frm_Hatarolt"), [&](QWidget* w) {
        auto* d = qobject_cast<Tfrm_Hatarolt*>(w);
        d->BitBtn3->setFocus();
        d->BitBtn1->click();
        focused = d->Edit1->hasFocus();
        d->BitBtn3->click();
    });
    ExportDelimited(ds, QString());
    QCOMPARE(messages_.errors(), QStringList{QStringLiteral("Nincs filenév megadva.")});
    QVERIFY(messages_.infos().isEmpty());
    QVERIFY(focused);
}

void TestDelimitedExport::stopWritesTheRowsSoFar()
{
    const QString path = QDir(folder_).filePath(QStringLiteral("Felvételek.csv"));
    MemoryDataSet ds(db_, RecordingFields(), RecordingRows(50));
    bool stopEnabledDuring = false;
    bool closeEnabledDuring = true;
    OnModal(QStringLiteral("frm_Hatarolt"), [&](QWidget* w) {
        auto* d = qobject_cast<Tfrm_Hatarolt*>(w);
        // The user presses "Megállít" while the third row is being written.
        connect(d->ProgressBar1, &QProgressBar::valueChanged, d, [&, d](int value) {
            if (value != 3)
                return;
            stopEnabledDuring = d->BitBtn2->isEnabled();
            closeEnabledDuring = d->BitBtn3->isEnabled();
            QTest::keyClick(d, Qt::Key_Escape); // ignored while the export runs
            d->BitBtn2->click();
        });
        d->BitBtn1->click();
        QVERIFY(d->isVisible());
        QVERIFY(!d->BitBtn2->isEnabled());
        QCOMPARE(d->ProgressBar1->value(), 0);
        d->BitBtn3->click();
    });
    ExportDelimited(ds, path);
    QVERIFY(stopEnabledDuring);
    QVERIFY(!closeEnabledDuring);
    QCOMPARE(ReadAll(path), QByteArray("Kazetta;C\xedm;Hossz;\r\n1;Felv\xe9tel 1;10;\r\n"
                                       "2;Felv\xe9tel 2;20;\r\n3;Felv\xe9tel 3;30;\r\n"));
    QCOMPARE(messages_.infos(), QStringList{path + QStringLiteral(" file kész.")});
    QCOMPARE(ds.currentRow(), 3); // where the export stopped: the first row not written
}

void TestDelimitedExport::failedExportIsReported()
{
    const QString path = QDir(folder_).filePath(QStringLiteral("Felvételek.csv"));
    {
        QFile old(path);
        QVERIFY(old.open(QIODevice::WriteOnly));
        old.write("old contents\r\n");
    }
    const QString missing = QDir(folder_).filePath(QStringLiteral("nincs/ilyen.csv"));
    MemoryDataSet ds(db_, RecordingFields(), RecordingRows(5));
    ds.failAt(2);
    QStringList errorsAfter;
    OnModal(QStringLiteral("frm_Hatarolt"), [&](QWidget* w) {
        auto* d = qobject_cast<Tfrm_Hatarolt*>(w);
        d->Edit1->setText(missing);
        d->BitBtn1->click();
        errorsAfter = messages_.errors();
        d->Edit1->setText(path);
        d->BitBtn1->click();
        QVERIFY(!d->BitBtn2->isEnabled());
        QVERIFY(d->BitBtn1->isEnabled());
        d->BitBtn3->click();
    });
    ExportDelimited(ds, path);
    QCOMPARE(errorsAfter.size(), 1);
    QVERIFY2(errorsAfter.at(0).startsWith(QStringLiteral("Hiba: ")), qPrintable(errorsAfter.at(0)));
    QVERIFY(!QFileInfo::exists(missing));
    QCOMPARE(messages_.errors().size(), 2);
    QCOMPARE(messages_.errors().at(1), QStringLiteral("Hiba: A sor nem olvasható."));
    QVERIFY(messages_.infos().isEmpty());
    QCOMPARE(ReadAll(path), QByteArray("old contents\r\n"));
}

QTEST_MAIN(TestDelimitedExport)
#include "tst_delimitedexport.moc"
