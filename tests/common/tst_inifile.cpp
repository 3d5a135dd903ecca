#include "common/errors.h"
#include "common/formpos.h"
#include "common/inifile.h"
#include "common/paths.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

namespace {

QByteArray readBytes(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return file.readAll();
}

void writeBytes(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(bytes);
}

// A file as a user or an older version may have left it, in Windows-1250.
const QByteArray Fixture = "; Zelmo settings\r\n"
                           "[Database]\r\n"
                           "Path=/home/kov\xE1"
                           "cs/Data\r\n"
                           "Unknown = kept\r\n"
                           "\r\n"
                           "; font comment\r\n"
                           "[Font]\r\n"
                           "Size=12\r\n"
                           "Quoted=\"  spaced  \"\r\n"
                           "Bad=abc\r\n"
                           "Signed= -7 \r\n"
                           "\r\n"
                           "[Screen]\r\n"
                           "FullScreen=2\r\n";

} // namespace

class TestIniFile : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void readsFixture_data();
    void readsFixture();
    void readIntegerAndBool_data();
    void readIntegerAndBool();
    void missingFileGivesDefaults();
    void replacingKeepsEverythingElse();
    void newKeyGoesAfterLastKeyOfSection();
    void newSectionAtEnd();
    void writesWindows1250();
    void characterOutsideCodePageRoundTrips();
    void valuesThatReadingWouldAlterRoundTrip_data();
    void valuesThatReadingWouldAlterRoundTrip();
    void createsMissingParentFolder();
    void unwritableFileRaisesNamingTheFile();
    void twoObjectsDoNotUndoEachOther();
    void formPositions();

private:
    QTemporaryDir m_dir;
    QString m_path;
};

void TestIniFile::init()
{
    QVERIFY(m_dir.isValid());
    m_path = m_dir.filePath(QStringLiteral("Zelmo.ini"));
    QFile::remove(m_path);
}

void TestIniFile::readsFixture_data()
{
    QTest::addColumn<QString>("section");
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("expected");
    QTest::newRow("plain") << "Database"
                           << "Path"
                           << "/home/kovács/Data";
    QTest::newRow("any case") << "dataBASE"
                              << "PATH"
                              << "/home/kovács/Data";
    QTest::newRow("spaces around =") << "Database"
                                     << "unknown"
                                     << "kept";
    QTest::newRow("quotes stripped") << "Font"
                                     << "Quoted"
                                     << "  spaced  ";
    QTest::newRow("missing key") << "Font"
                                 << "Name"
                                 << "default";
    QTest::newRow("key of other section") << "Font"
                                          << "Path"
                                          << "default";
    QTest::newRow("missing section") << "Export"
                                     << "Html"
                                     << "default";
}

void TestIniFile::readsFixture()
{
    QFETCH(QString, section);
    QFETCH(QString, key);
    QFETCH(QString, expected);
    writeBytes(m_path, Fixture);
    QCOMPARE(IniFile(m_path).readString(section, key, QStringLiteral("default")), expected);
}

void TestIniFile::readIntegerAndBool_data()
{
    QTest::addColumn<QString>("section");
    QTest::addColumn<QString>("key");
    QTest::addColumn<int>("integer");
    QTest::addColumn<bool>("boolean");
    QTest::newRow("number") << "Font"
                            << "Size" << 12 << true;
    QTest::newRow("signed, padded") << "Font"
                                    << "Signed" << -7 << true;
    QTest::newRow("not a number") << "Font"
                                  << "Bad" << 99 << false;
    QTest::newRow("text value") << "Database"
                                << "Path" << 99 << false;
    QTest::newRow("missing") << "Font"
                             << "Nothing" << 99 << false;
    QTest::newRow("any non-zero is true") << "Screen"
                                          << "FullScreen" << 2 << true;
}

void TestIniFile::readIntegerAndBool()
{
    QFETCH(QString, section);
    QFETCH(QString, key);
    QFETCH(int, integer);
    QFETCH(bool, boolean);
    writeBytes(m_path, Fixture);
    const IniFile ini(m_path);
    QCOMPARE(ini.readInteger(section, key, 99), integer);
    QCOMPARE(ini.readBool(section, key, false), boolean);
}

void TestIniFile::missingFileGivesDefaults()
{
    const IniFile ini(m_dir.filePath(QStringLiteral("nincs/ilyen.ini")));
    QCOMPARE(
        ini.readString(QStringLiteral("Database"), QStringLiteral("Path"), QStringLiteral("d")),
        QStringLiteral("d"));
    QCOMPARE(ini.readInteger(QStringLiteral("Font"), QStringLiteral("Size"), 9), 9);
    QCOMPARE(ini.readBool(QStringLiteral("Screen"), QStringLiteral("FullScreen"), true), true);
}

void TestIniFile::replacingKeepsEverythingElse()
{
    writeBytes(m_path, Fixture);
    IniFile(m_path).writeInteger(QStringLiteral("FONT"), QStringLiteral("size"), 14);
    QByteArray expected = Fixture;
    expected.replace("Size=12\r\n", "Size=14\r\n"); // the key keeps its spelling
    QCOMPARE(readBytes(m_path), expected);
}

void TestIniFile::newKeyGoesAfterLastKeyOfSection()
{
    writeBytes(m_path, Fixture);
    IniFile(m_path).writeString(QStringLiteral("Database"), QStringLiteral("Backup"),
                                QStringLiteral("x"));
    QByteArray expected = Fixture;
    expected.replace("Unknown = kept\r\n", "Unknown = kept\r\nBackup=x\r\n");
    QCOMPARE(readBytes(m_path), expected);

    // A section without keys takes the new key right under its header.
    writeBytes(m_path, "[Empty]\r\n\r\n[Other]\r\na=1\r\n");
    IniFile(m_path).writeBool(QStringLiteral("Empty"), QStringLiteral("On"), true);
    QCOMPARE(readBytes(m_path), QByteArray("[Empty]\r\nOn=1\r\n\r\n[Other]\r\na=1\r\n"));
}

void TestIniFile::newSectionAtEnd()
{
    writeBytes(m_path, Fixture);
    IniFile ini(m_path);
    ini.writeString(QStringLiteral("Export"), QStringLiteral("Html"), QStringLiteral("/h"));
    ini.writeBool(QStringLiteral("Export"), QStringLiteral("Open"), false);
    QCOMPARE(readBytes(m_path), Fixture + "[Export]\r\nHtml=/h\r\nOpen=0\r\n");
}

void TestIniFile::writesWindows1250()
{
    IniFile ini(m_path);
    ini.writeString(QStringLiteral("Database"), QStringLiteral("Owner"),
                    QStringLiteral("Kovács Éva"));
    QCOMPARE(readBytes(m_path), QByteArray("[Database]\r\nOwner=Kov\xE1"
                                           "cs \xC9va\r\n"));
    QCOMPARE(ini.readString(QStringLiteral("Database"), QStringLiteral("Owner"), QString()),
             QStringLiteral("Kovács Éva"));
}

void TestIniFile::characterOutsideCodePageRoundTrips()
{
    writeBytes(m_path, Fixture);
    const QString folder = QStringLiteral("/tmp/日本");
    IniFile(m_path).writeString(QStringLiteral("Export"), QStringLiteral("Html"), folder);

    const QByteArray bytes = readBytes(m_path);
    QVERIFY(bytes.startsWith("\xEF\xBB\xBF"));
    const IniFile ini(m_path);
    QCOMPARE(ini.readString(QStringLiteral("Export"), QStringLiteral("Html"), QString()), folder);
    // The rest of the file, once Windows-1250, must read the same from UTF-8.
    QCOMPARE(ini.readString(QStringLiteral("Database"), QStringLiteral("Path"), QString()),
             QStringLiteral("/home/kovács/Data"));

    // Once the odd character is gone the file goes back to Windows-1250.
    IniFile(m_path).writeString(QStringLiteral("Export"), QStringLiteral("Html"),
                                QStringLiteral("/h"));
    QCOMPARE(readBytes(m_path), Fixture + "[Export]\r\nHtml=/h\r\n");
}

void TestIniFile::valuesThatReadingWouldAlterRoundTrip_data()
{
    QTest::addColumn<QString>("value");
    QTest::newRow("empty") << "";
    QTest::newRow("trailing space") << "/home/a/Film ";
    QTest::newRow("leading space") << " x";
    QTest::newRow("quoted") << "\"idézet\"";
    QTest::newRow("equals and semicolon") << "a=b;c";
}

void TestIniFile::valuesThatReadingWouldAlterRoundTrip()
{
    QFETCH(QString, value);
    IniFile ini(m_path);
    ini.writeString(QStringLiteral("S"), QStringLiteral("K"), value);
    QCOMPARE(ini.readString(QStringLiteral("S"), QStringLiteral("K"), QStringLiteral("default")),
             value);
}

void TestIniFile::createsMissingParentFolder()
{
    const QString path = m_dir.filePath(QStringLiteral("uj/mappa/Zelmo.ini"));
    IniFile(path).writeInteger(QStringLiteral("Font"), QStringLiteral("Size"), 10);
    QCOMPARE(IniFile(path).readInteger(QStringLiteral("Font"), QStringLiteral("Size"), 0), 10);
}

void TestIniFile::unwritableFileRaisesNamingTheFile()
{
    // Tests may run as root, so no permission bits: the parent is a plain file.
    writeBytes(m_dir.filePath(QStringLiteral("plain")), "x");
    const QString path = m_dir.filePath(QStringLiteral("plain/Zelmo.ini"));
    try {
        IniFile(path).writeInteger(QStringLiteral("Font"), QStringLiteral("Size"), 10);
        QFAIL("no error raised");
    } catch (const ZelmoError& error) {
        QVERIFY2(error.message().contains(path), qPrintable(error.message()));
    }
}

void TestIniFile::twoObjectsDoNotUndoEachOther()
{
    IniFile first(m_path);
    IniFile second(m_path);
    first.writeInteger(QStringLiteral("A"), QStringLiteral("x"), 1);
    second.writeInteger(QStringLiteral("B"), QStringLiteral("y"), 2);
    first.writeInteger(QStringLiteral("A"), QStringLiteral("z"), 3);
    QCOMPARE(readBytes(m_path), QByteArray("[A]\r\nx=1\r\nz=3\r\n[B]\r\ny=2\r\n"));
}

void TestIniFile::formPositions()
{
    IniFileName = m_path;
    int left = -1, top = -1, width = 420, height = 300;
    LoadFormBounds(QStringLiteral("frm_SQL"), left, top, width, height);
    QCOMPARE(QList<int>({left, top, width, height}), QList<int>({10, 10, 420, 300}));

    SaveFormBounds(QStringLiteral("frm_SQL"), 5, -20, 640, 480);
    SaveFormPos(QStringLiteral("frm_Kazetta"), 100, 200);
    QCOMPARE(readBytes(m_path),
             QByteArray("[frm_SQL]\r\nLeft=5\r\nTop=-20\r\nWidth=640\r\nHeight=480\r\n"
                        "[frm_Kazetta]\r\nLeft=100\r\nTop=200\r\n"));

    LoadFormBounds(QStringLiteral("frm_sql"), left, top, width, height);
    QCOMPARE(QList<int>({left, top, width, height}), QList<int>({5, -20, 640, 480}));
    LoadFormPos(QStringLiteral("frm_Kazetta"), left, top);
    QCOMPARE(QList<int>({left, top}), QList<int>({100, 200}));
    LoadFormPos(QStringLiteral("frm_Nevjegy"), left, top);
    QCOMPARE(QList<int>({left, top}), QList<int>({10, 10}));

    // A window whose size was never stored keeps its own, even if its position was.
    width = 333;
    height = 222;
    LoadFormBounds(QStringLiteral("frm_Kazetta"), left, top, width, height);
    QCOMPARE(QList<int>({left, top, width, height}), QList<int>({100, 200, 333, 222}));
}

QTEST_APPLESS_MAIN(TestIniFile)
#include "tst_inifile.moc"
