#include "catalogue/main/settings.h"
#include "common/codepage.h"
#include "common/inifile.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

class TestSettings : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void defaultsWhenNothingIsStored();
    void roundTripInOrder();
    void readsWithProfileSemantics();
    void portableFileTakesPrecedence_data();
    void portableFileTakesPrecedence();
    void missingDataFolderFallsBack_data();
    void missingDataFolderFallsBack();
    void folderOutsideTheCodePageComesBack();
};

static QByteArray readAll(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void TestSettings::defaultsWhenNothingIsStored()
{
    QTemporaryDir tmp;
    TBeallRecord s;
    WindowBounds b{1, 2, 3, 4};
    ReadSettings(tmp.filePath(QStringLiteral("nincs.ini")), QStringLiteral("/home/z"), s, b);
    QCOMPARE(s.DataDir, QStringLiteral("/home/z/Data"));
    QCOMPARE(s.HtmlDir, QStringLiteral("/home/z/Html"));
    QCOMPARE(s.FontSize, 9);
    QCOMPARE(s.FullScreenStart, false);
    QCOMPARE(b.left, 10);
    QCOMPARE(b.top, 10);
    QCOMPARE(b.width, 790);
    QCOMPARE(b.height, 500);
    QVERIFY(!QFile::exists(tmp.filePath(QStringLiteral("nincs.ini"))));
}

void TestSettings::roundTripInOrder()
{
    QTemporaryDir tmp;
    const QString ini = tmp.filePath(QStringLiteral("Zelmo.ini"));
    const TBeallRecord s{QStringLiteral("/adat/Kazetták"), QStringLiteral("/adat/html"), 14, true};
    WriteSettings(ini, s, {0, 0, 1024, 740});
    QCOMPARE(readAll(ini), ToCp1250(QStringLiteral("[Database]\r\nPath=/adat/Kazetták\r\n"
                                                   "[Screen]\r\nFullScreen=1\r\nLeft=0\r\nTop=0\r\nWidth=1024\r\n"
                                                   "Height=740\r\n"
                                                   "[Export]\r\nHtml=/adat/html\r\n"
                                                   "[Font]\r\nSize=14\r\n")));
    TBeallRecord r;
    WindowBounds b;
    ReadSettings(ini, QStringLiteral("/x"), r, b);
    QCOMPARE(r.DataDir, s.DataDir);
    QCOMPARE(r.HtmlDir, s.HtmlDir);
    QCOMPARE(r.FontSize, 14);
    QCOMPARE(r.FullScreenStart, true);
    QCOMPARE(b.width, 1024);
    QCOMPARE(b.height, 740);

    // Writing again, even unchanged, keeps what others stored in the file.
    IniFile(ini).writeInteger(QStringLiteral("frm_Kazetta"), QStringLiteral("Left"), 33);
    WriteSettings(ini, r, b);
    QCOMPARE(IniFile(ini).readInteger(QStringLiteral("frm_Kazetta"), QStringLiteral("Left"), 10), 33);
}

void TestSettings::readsWithProfileSemantics()
{
    QTemporaryDir tmp;
    const QString ini = tmp.filePath(QStringLiteral("Zelmo.ini"));
    QFile f(ini);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write("; megjegyzes\r\n[DATABASE]\r\npath=/d\r\n[screen]\r\nFULLSCREEN=7\r\nWidth=szeles\r\n"
            "[Font]\r\nSize= 12 \r\n[Adatbazis]\r\nUtvonal=/regi\r\n");
    f.close();
    TBeallRecord s;
    WindowBounds b;
    ReadSettings(ini, QStringLiteral("/h"), s, b);
    QCOMPARE(s.DataDir, QStringLiteral("/d"));
    QCOMPARE(s.FullScreenStart, true); // any integer but 0
    QCOMPARE(b.width, 790);            // not a number: the default
    QCOMPARE(s.FontSize, 12);
    WriteSettings(ini, s, b);
    const QByteArray after = readAll(ini);
    QVERIFY(after.startsWith("; megjegyzes\r\n[DATABASE]\r\n"));
    QVERIFY(after.contains("[Adatbazis]\r\nUtvonal=/regi\r\n"));
}

void TestSettings::portableFileTakesPrecedence_data()
{
    QTest::addColumn<QString>("portableName");
    QTest::newRow("none") << QString();
    QTest::newRow("lower case") << "zelmo.ini";
    QTest::newRow("capitalised") << "Zelmo.ini";
    QTest::newRow("upper case") << "ZELMO.INI";
}

void TestSettings::portableFileTakesPrecedence()
{
    QFETCH(QString, portableName);
    QTemporaryDir tmp;
    const QString home = tmp.filePath(QStringLiteral("home/Zelmo.ini"));
    if (!portableName.isEmpty()) {
        QFile f(tmp.filePath(portableName));
        QVERIFY(f.open(QIODevice::WriteOnly));
    }
    const QString chosen = ChooseSettingsFile(tmp.path(), home);
    QCOMPARE(chosen, portableName.isEmpty() ? home : tmp.filePath(portableName));
}

void TestSettings::missingDataFolderFallsBack_data()
{
    QTest::addColumn<QString>("dataDir");
    QTest::addColumn<bool>("kept");
    QTest::newRow("existing folder") << "EXISTING" << true;
    QTest::newRow("empty") << "" << false;
    QTest::newRow("blank") << "   " << false;
    QTest::newRow("missing folder") << "/nincs/ilyen/mappa" << false;
    QTest::newRow("a file, not a folder") << "FILE" << false;
}

void TestSettings::missingDataFolderFallsBack()
{
    QFETCH(QString, dataDir);
    QFETCH(bool, kept);
    QTemporaryDir tmp;
    if (dataDir == QLatin1String("EXISTING"))
        dataDir = tmp.path();
    if (dataDir == QLatin1String("FILE")) {
        dataDir = tmp.filePath(QStringLiteral("fajl"));
        QFile f(dataDir);
        QVERIFY(f.open(QIODevice::WriteOnly));
    }
    TBeallRecord s;
    s.DataDir = dataDir;
    CheckDataDir(s, QStringLiteral("/home/z"));
    QCOMPARE(s.DataDir, kept ? dataDir : QStringLiteral("/home/z/Data"));
}

void TestSettings::folderOutsideTheCodePageComesBack()
{
    QTemporaryDir tmp;
    const QString ini = tmp.filePath(QStringLiteral("Zelmo.ini"));
    TBeallRecord s{QStringLiteral("/adat/映画 Ωmega"), QStringLiteral("/adat/html"), 9, false};
    WriteSettings(ini, s, {});
    TBeallRecord r;
    WindowBounds b;
    ReadSettings(ini, QStringLiteral("/x"), r, b);
    QCOMPARE(r.DataDir, s.DataDir);
}

QTEST_MAIN(TestSettings)
#include "tst_settings.moc"
