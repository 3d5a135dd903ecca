#include "catalogue/data/datasetmodel.h"
#include "catalogue/export/frm_roza2veze.h"
#include "catalogue/export/htmlexport.h"
#include "catalogue/export/htmlpage.h"
#include "catalogue/export/mapimail.h"
#include "catalogue/main/opendocument.h"
#include "catalogue/main/settings.h"
#include "catalogue/main/themedbgrid.h"
#include "common/codepage.h"
#include "common/messages.h"
#include "common/paths.h"
#include "memorydataset.h"
#include "tests/catalogue/editors/modaldriver.h"

#include <QBuffer>
#include <QCheckBox>
#include <QDir>
#include <QHeaderView>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QtTest>

namespace {

// Recordings as the browser shows them: title, length shown "000", genre.
QList<Field> BrowserFields()
{
    return {
        MakeField("cim", FieldKind::Alpha, QStringLiteral("Cím")),
        MakeField("felvhossz", FieldKind::Integer, QStringLiteral("Hossz"), QStringLiteral("000")),
        MakeField("mufaj_nev", FieldKind::Alpha, QStringLiteral("Műfaj"))};
}

// Starts without a genre, changes genre twice, and ends on an empty one again.
QList<Row> BrowserRows()
{
    return {
        {QStringLiteral("Első"), 45, QVariant()},
        {QStringLiteral("<b>Tom & Jerry</b>"), 7, QStringLiteral("Rajzfilm")},
        {QStringLiteral("Ő és ✓ 😀"), 120, QStringLiteral("Rajzfilm")},
        {QStringLiteral("Dráma \"idézet\""), QVariant(), QStringLiteral("Dráma")},
        {QStringLiteral("Vége"), 5, QString()},
    };
}

// A grid 400 pixels wide whose columns take 25, 12.5 and 37.5 per cent of it.
void Shape(TThemeDBGrid& grid)
{
    grid.resize(400, 200);
    grid.setColumnWidth(0, 100);
    grid.setColumnWidth(1, 50);
    grid.setColumnWidth(2, 150);
}

QStringList ExpectedLines(const QString& name)
{
    QFile f(QStringLiteral(EXPECTED_DIR "/") + name);
    if (!f.open(QIODevice::ReadOnly))
        return {QStringLiteral("<no expected file %1>").arg(name)};
    QStringList lines = QString::fromUtf8(f.readAll()).split(QLatin1Char('\n'));
    lines.removeLast(); // after the last line's end
    return lines;
}

} // namespace

class TestHtmlExport : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void init();
    void cleanup();
    void page_data();
    void page();
    void widthPercent_data();
    void widthPercent();
    void columnsAsTheGridShowsThem();
    void dialogWritesIntoMissingFolders_data();
    void dialogWritesIntoMissingFolders();
    void eMailUnticksTheBoxAndAttachesThePage();
    void failedWriteKeepsTheDialogOpen();

private:
    QTemporaryDir tmp_;
    Database db_;
    QString folder_;
    int run_ = 0;
    QStringList opened_;
    QList<QStringList> mails_;
    QStringList errors_;
};

void TestHtmlExport::init()
{
    RunStartupStep(tmp_.filePath(QStringLiteral("prog")), tmp_.filePath(QStringLiteral("home")));
    TBeall = {};
    folder_ = tmp_.filePath(QStringLiteral("run%1").arg(++run_));
    opened_.clear();
    mails_.clear();
    errors_.clear();
    SetDocumentOpener([this](const QString& target) {
        opened_ << target;
        return true;
    });
    SetMailStarter([this](const QString& program, const QStringList& arguments) {
        mails_ << (QStringList{program} + arguments);
        return true;
    });
    SetMessageBoxHandler([this](const MessageBoxRequest& r) {
        errors_ << r.caption + QStringLiteral(": ") + r.text;
        return QMessageBox::Ok;
    });
}

void TestHtmlExport::cleanup()
{
    SetDocumentOpener({});
    SetMailStarter({});
    SetMessageBoxHandler({});
}

void TestHtmlExport::page_data()
{
    QTest::addColumn<QList<Row>>("rows");
    QTest::addColumn<QString>("groupField");
    QTest::addColumn<QString>("expected");
    QTest::newRow("grouped by genre")
        << BrowserRows() << QStringLiteral("mufaj_nev") << QStringLiteral("grouped.htm");
    QTest::newRow("sorted by another field: no group rows")
        << BrowserRows() << QString() << QStringLiteral("ungrouped.htm");
    QTest::newRow("no rows") << QList<Row>{} << QStringLiteral("mufaj_nev")
                             << QStringLiteral("empty.htm");
}

void TestHtmlExport::page()
{
    QFETCH(QList<Row>, rows);
    QFETCH(QString, groupField);
    QFETCH(QString, expected);
    MemoryDataSet ds(db_, BrowserFields(), rows);
    DataSetModel model(&ds);
    TThemeDBGrid grid;
    grid.setModel(&model);
    Shape(grid);

    HtmlPageOptions options;
    options.title = QStringLiteral("Böngésző & <társai>");
    options.subtitle = QStringLiteral("\"műfaj\" szerint");
    options.groupField = groupField;
    options.written = QDateTime(QDate(2024, 3, 5), QTime(14, 7, 9));
    QBuffer out;
    out.open(QIODevice::WriteOnly);
    QCOMPARE(WriteHtmlPage(out, ds, GridColumns(&grid), options), int(rows.size()));

    const QByteArray bytes = out.data();
    QVERIFY(bytes.startsWith("<html>\r\n"));
    QVERIFY(bytes.endsWith("</html>\r\n"));
    QCOMPARE(bytes.count('\n'), bytes.count("\r\n"));
    QVERIFY(bytes.contains("\xd6sszesen")); // a single Windows-1250 byte
    QStringList lines = FromCp1250(bytes).split(QStringLiteral("\r\n"));
    lines.removeLast();
    const QStringList want = ExpectedLines(expected);
    for (qsizetype i = 0; i < std::min(lines.size(), want.size()); ++i)
        QCOMPARE(lines.at(i), want.at(i));
    QCOMPARE(lines.size(), want.size());
}

void TestHtmlExport::widthPercent_data()
{
    QTest::addColumn<int>("column");
    QTest::addColumn<int>("grid");
    QTest::addColumn<int>("percent");
    QTest::newRow("a quarter") << 100 << 400 << 25;
    QTest::newRow("12.5 to the even 12") << 1 << 8 << 12;
    QTest::newRow("37.5 to the even 38") << 3 << 8 << 38;
    QTest::newRow("66.67 up") << 2 << 3 << 67;
    QTest::newRow("grid without width") << 50 << 0 << 0;
}

void TestHtmlExport::widthPercent()
{
    QFETCH(int, column);
    QFETCH(int, grid);
    QFETCH(int, percent);
    QCOMPARE(WidthPercent(column, grid), percent);
}

void TestHtmlExport::columnsAsTheGridShowsThem()
{
    MemoryDataSet ds(db_, BrowserFields(), BrowserRows());
    DataSetModel model(&ds);
    TThemeDBGrid grid;
    grid.setModel(&model);
    Shape(grid);
    // The user dragged the genre to the front; the title column is hidden.
    grid.horizontalHeader()->moveSection(2, 0);
    grid.setColumnHidden(0, true);
    const QList<HtmlColumn> columns = GridColumns(&grid);
    QCOMPARE(columns.size(), 2);
    QCOMPARE(columns.at(0).field, 2);
    QCOMPARE(columns.at(0).caption, QStringLiteral("Műfaj"));
    QCOMPARE(columns.at(0).widthPercent, 38);
    QCOMPARE(columns.at(0).alignment, Qt::AlignLeft);
    QCOMPARE(columns.at(1).field, 1);
    QCOMPARE(columns.at(1).alignment, Qt::AlignRight);
}

void TestHtmlExport::dialogWritesIntoMissingFolders_data()
{
    QTest::addColumn<bool>("openAfterSaving");
    QTest::newRow("opened after saving") << true;
    QTest::newRow("not opened") << false;
}

void TestHtmlExport::dialogWritesIntoMissingFolders()
{
    QFETCH(bool, openAfterSaving);
    TBeall.HtmlDir = QDir(folder_).filePath(QStringLiteral("html/export"));
    MemoryDataSet ds(db_, BrowserFields(), BrowserRows());
    ds.moveTo(2);
    DataSetModel model(&ds);
    TThemeDBGrid grid;
    grid.setModel(&model);
    Shape(grid);
    const QString path = TBeall.HtmlDir + QStringLiteral("/b_ng_sz_.htm");
    QString proposed;
    OnModal(QStringLiteral("frm_Roza2Veze"), [&](QWidget* w) {
        auto* d = qobject_cast<Tfrm_Roza2Veze*>(w);
        QCOMPARE(d->windowTitle(), QStringLiteral("HTML export"));
        QVERIFY(d->CheckBox1->isChecked());
        proposed = d->Edit1->text();
        d->CheckBox1->setChecked(openAfterSaving);
        QTest::keyClick(d->Edit1, Qt::Key_Return);
    });
    ExportHtml(&grid, QStringLiteral("Böngésző"), QString(), QStringLiteral("mufaj_nev"));
    QCOMPARE(proposed, path);
    QFile page(path);
    QVERIFY(page.open(QIODevice::ReadOnly));
    QVERIFY(page.readAll().contains("\xd6sszesen 5 sor."));
    QCOMPARE(opened_, openAfterSaving ? QStringList{path} : QStringList{});
    QCOMPARE(ds.currentRow(), 2);
    QVERIFY(errors_.isEmpty());
}

void TestHtmlExport::eMailUnticksTheBoxAndAttachesThePage()
{
    TBeall.HtmlDir = folder_;
    MemoryDataSet ds(db_, BrowserFields(), BrowserRows());
    DataSetModel model(&ds);
    TThemeDBGrid grid;
    grid.setModel(&model);
    Shape(grid);
    const QString path = QDir(folder_).filePath(QStringLiteral("b_ng_sz_.htm"));
    bool ticked = true;
    bool openAfterMail = false;
    OnModal(QStringLiteral("frm_Roza2Veze"), [&](QWidget* w) {
        auto* d = qobject_cast<Tfrm_Roza2Veze*>(w);
        d->BitBtn3->click();
        ticked = d->CheckBox1->isChecked();
        openAfterMail = d->isVisible();
        QVERIFY(QFileInfo::exists(path));
        d->BitBtn1->click();
    });
    ExportHtml(&grid, QStringLiteral("Böngésző"), QString(), QString());
    QVERIFY(!ticked);
    QVERIFY(openAfterMail);
    QCOMPARE(mails_.size(), 1);
    QCOMPARE(mails_.at(0), QStringList({QStringLiteral("xdg-email"), QStringLiteral("--utf8"),
                                        QStringLiteral("--subject"), QStringLiteral("Html küldés"),
                                        QStringLiteral("--body"), QStringLiteral("Html küldés"),
                                        QStringLiteral("--attach"), path}));
    QVERIFY(opened_.isEmpty()); // neither after the mail nor after the OK that followed
    QVERIFY(errors_.isEmpty());
}

void TestHtmlExport::failedWriteKeepsTheDialogOpen()
{
    MemoryDataSet ds(db_, BrowserFields(), BrowserRows());
    DataSetModel model(&ds);
    TThemeDBGrid grid;
    grid.setModel(&model);
    QVERIFY(QDir().mkpath(folder_));
    const QString blocker = QDir(folder_).filePath(QStringLiteral("file"));
    {
        QFile f(blocker);
        QVERIFY(f.open(QIODevice::WriteOnly));
    }
    bool openAfterOk = false;
    bool openAfterMail = false;
    OnModal(QStringLiteral("frm_Roza2Veze"), [&](QWidget* w) {
        auto* d = qobject_cast<Tfrm_Roza2Veze*>(w);
        d->Edit1->setText(blocker + QStringLiteral("/sub/page.htm"));
        d->BitBtn1->click();
        openAfterOk = d->isVisible();
        d->BitBtn3->click();
        openAfterMail = d->isVisible();
        d->BitBtn2->click();
    });
    ExportHtml(&grid, QStringLiteral("Böngésző"), QString(), QString());
    QVERIFY(openAfterOk);
    QVERIFY(openAfterMail);
    QCOMPARE(errors_.size(), 2);
    QVERIFY2(errors_.at(0).startsWith(QStringLiteral("Hiba: ")), qPrintable(errors_.at(0)));
    QVERIFY(opened_.isEmpty());
    QVERIFY(mails_.isEmpty()); // no mail without a page
}

QTEST_MAIN(TestHtmlExport)
#include "tst_htmlexport.moc"
