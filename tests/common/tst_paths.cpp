#include "common/paths.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

namespace {
void touch(const QString& path)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
}
} // namespace

class TestPaths : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void programDirKeepsCase();
    void specialFolders();
    void freshHomeGetsTemp();
    void existingHomeIsLeftAlone();
    void uncreatableHomeFallsBackToProgramDir();
    void noAppDataFolderUsesProgramDir();
    void findFileNoCase();
    void programFilesBesideOrInstalled();

private:
    QTemporaryDir m_dir;
    QString m_programDir;
};

void TestPaths::init()
{
    QVERIFY(m_dir.isValid());
    // Mixed case on purpose: the program folder must be kept as it is spelt.
    m_programDir = m_dir.filePath(QStringLiteral("Program Files/ZelmoApp"));
    QDir(m_dir.path()).removeRecursively();
    QVERIFY(QDir().mkpath(m_programDir));
}

void TestPaths::programDirKeepsCase()
{
    const QString dir = GetProgramDir();
    QCOMPARE(dir, QCoreApplication::applicationDirPath());
    QVERIFY(!dir.endsWith(QLatin1Char('/')));
    QVERIFY(QFileInfo(dir).isDir());
}

void TestPaths::specialFolders()
{
    QCOMPARE(GetCommonAppDataDir(),
             QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation));
    QVERIFY(!GetCommonAppDataDir().isEmpty());
    QCOMPARE(GetSpecialFolder(26), QString());
}

void TestPaths::freshHomeGetsTemp()
{
    const QString appData = m_dir.filePath(QStringLiteral("share/deep"));
    RunStartupStep(m_programDir, appData);
    QCOMPARE(ProgramDir, m_programDir);
    QCOMPARE(AppDataDir, appData + QStringLiteral("/Zelmo"));
    QCOMPARE(IniFileName, appData + QStringLiteral("/Zelmo/Zelmo.ini"));
    QVERIFY(QFileInfo(AppDataDir + QStringLiteral("/Temp")).isDir());
    QVERIFY(!QFile::exists(IniFileName)); // the settings file is left to the program
}

void TestPaths::existingHomeIsLeftAlone()
{
    const QString appData = m_dir.filePath(QStringLiteral("share"));
    QVERIFY(QDir().mkpath(appData + QStringLiteral("/Zelmo")));
    RunStartupStep(m_programDir, appData);
    QCOMPARE(AppDataDir, appData + QStringLiteral("/Zelmo"));
    QVERIFY(!QFile::exists(AppDataDir + QStringLiteral("/Temp")));
}

void TestPaths::uncreatableHomeFallsBackToProgramDir()
{
    // A plain file where the parent folder should be: no permission trick, so
    // this holds when the tests run as root too.
    const QString blocker = m_dir.filePath(QStringLiteral("blocker"));
    touch(blocker);
    RunStartupStep(m_programDir, blocker);
    QCOMPARE(AppDataDir, m_programDir);
    QCOMPARE(IniFileName, m_programDir + QStringLiteral("/Zelmo.ini"));
    QVERIFY(QFileInfo(m_programDir + QStringLiteral("/Temp")).isDir());
}

void TestPaths::noAppDataFolderUsesProgramDir()
{
    RunStartupStep(m_programDir, QString());
    QCOMPARE(AppDataDir, m_programDir);
    QCOMPARE(IniFileName, m_programDir + QStringLiteral("/Zelmo.ini"));
    QVERIFY(!QFile::exists(m_programDir + QStringLiteral("/Temp"))); // the folder already existed
}

void TestPaths::findFileNoCase()
{
    const QString dir = m_programDir;
    QCOMPARE(FindFileNoCase(dir, QStringLiteral("zelmo.ini")), QString());

    touch(dir + QStringLiteral("/ZELMO.INI"));
    QVERIFY(QDir().mkpath(dir + QStringLiteral("/zelmo.INI.d")));
    QCOMPARE(FindFileNoCase(dir, QStringLiteral("zelmo.ini")), dir + QStringLiteral("/ZELMO.INI"));
    QCOMPARE(FindFileNoCase(dir, QStringLiteral("Zelmo.ini")), dir + QStringLiteral("/ZELMO.INI"));

    touch(dir + QStringLiteral("/Zelmo.ini"));
    QCOMPARE(FindFileNoCase(dir, QStringLiteral("Zelmo.ini")), dir + QStringLiteral("/Zelmo.ini"));

    // A folder of that name is not the settings file.
    QVERIFY(QDir().mkpath(dir + QStringLiteral("/sub/Data.ini")));
    QCOMPARE(FindFileNoCase(dir + QStringLiteral("/sub"), QStringLiteral("data.ini")), QString());
    QCOMPARE(FindFileNoCase(dir + QStringLiteral("/nincs"), QStringLiteral("zelmo.ini")),
             QString());
}

void TestPaths::programFilesBesideOrInstalled()
{
    QTemporaryDir tmp;
    const QString bin = tmp.filePath(QStringLiteral("bin"));
    QDir().mkpath(bin + QStringLiteral("/Help"));
    QDir().mkpath(tmp.filePath(QStringLiteral("share/zelmo/Help")));
    touch(tmp.filePath(QStringLiteral("share/zelmo/Help/index.htm")));
    QCOMPARE(FindProgramFile(bin, QStringLiteral("Help/index.htm")),
             tmp.filePath(QStringLiteral("share/zelmo/Help/index.htm")));
    touch(bin + QStringLiteral("/Help/index.htm"));
    QCOMPARE(FindProgramFile(bin, QStringLiteral("Help/index.htm")), bin + QStringLiteral("/Help/index.htm"));
    QCOMPARE(FindProgramFile(bin, QStringLiteral("nincs.txt")), QString());
}

QTEST_GUILESS_MAIN(TestPaths)
#include "tst_paths.moc"
