#include "catalogue/main/frm_logo.h"
#include "catalogue/main/frm_main.h"
#include "catalogue/main/settings.h"
#include "common/inifile.h"
#include "common/messages.h"
#include "common/paths.h"

#include <QFile>
#include <QLabel>
#include <QStatusTipEvent>
#include <QTemporaryDir>
#include <QtTest>

// The main window's start and end against a real data folder.
class TestStartup : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void init();
    void cleanup();
    void freshStartCreatesStoreAndWritesSettings();
    void unopenableFolderEndsWithoutTouchingSettings();
    void listsFollowTheCurrentCassette();
    void hintsGoToPanelOne();
    void fullScreenStartUsesTheWorkArea();
    void splashFadesInTwentyThreeSteps();

private:
    QTemporaryDir* tmp_ = nullptr;
    QList<MessageBoxRequest> boxes_;
};

void TestStartup::init()
{
    tmp_ = new QTemporaryDir;
    boxes_.clear();
    SetMessageBoxHandler([this](const MessageBoxRequest& r) {
        boxes_.append(r);
        return QMessageBox::Ok;
    });
    RunStartupStep(tmp_->filePath(QStringLiteral("prog")), tmp_->filePath(QStringLiteral("common")));
    TBeall = {};
}

void TestStartup::cleanup()
{
    SetMessageBoxHandler({});
    delete tmp_;
}

void TestStartup::freshStartCreatesStoreAndWritesSettings()
{
    {
        Tfrm_Main w;
        QVERIFY(w.FormCreate());
        QCOMPARE(w.windowTitle(), QStringLiteral("Zelmo"));
        QCOMPARE(TBeall.DataDir, AppDataDir + QStringLiteral("/Data"));
        QVERIFY(QFile::exists(AppDataDir + QStringLiteral("/Data/zelmo.sqlite")));
        QVERIFY(w.TblVK->isActive() && w.TblFelvetel->isActive());
        QVERIFY(w.TblVK->isEmpty());
        QCOMPARE(w.statusPanel(0)->text(), QString()); // an empty list shows no count
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        QVERIFY(!QFile::exists(IniFileName));
        w.close();
        QVERIFY(!w.Db1.isOpen());
    }
    QVERIFY(boxes_.isEmpty());
    const IniFile ini(IniFileName);
    QCOMPARE(ini.readString(QStringLiteral("Database"), QStringLiteral("Path"), QString()),
             AppDataDir + QStringLiteral("/Data"));
    QCOMPARE(ini.readInteger(QStringLiteral("Font"), QStringLiteral("Size"), 0), 9);
    QCOMPARE(ini.readString(QStringLiteral("Screen"), QStringLiteral("FullScreen"), QString()), QStringLiteral("0"));
    QCOMPARE(ini.readInteger(QStringLiteral("Screen"), QStringLiteral("Width"), 0), 790);
}

void TestStartup::unopenableFolderEndsWithoutTouchingSettings()
{
    // The data folder's place is taken by a file, so no store can be made there.
    {
        QFile f(AppDataDir + QStringLiteral("/Data"));
        QVERIFY(f.open(QIODevice::WriteOnly));
    }
    QDir().mkpath(QFileInfo(IniFileName).path());
    IniFile(IniFileName).writeString(QStringLiteral("Database"), QStringLiteral("Path"), QString());
    QFile iniFile(IniFileName);
    QVERIFY(iniFile.open(QIODevice::ReadOnly));
    const QByteArray before = iniFile.readAll();
    iniFile.close();
    {
        Tfrm_Main w;
        QVERIFY(!w.FormCreate());
        w.close();
    }
    QCOMPARE(boxes_.size(), 1);
    QCOMPARE(boxes_.first().caption, QStringLiteral("Hiba"));
    QVERIFY(boxes_.first().text.startsWith(QStringLiteral("Adatbázis megnyitása sikertelen")));
    QVERIFY(iniFile.open(QIODevice::ReadOnly));
    QCOMPARE(iniFile.readAll(), before);
}

void TestStartup::listsFollowTheCurrentCassette()
{
    {
        Database db;
        db.open(AppDataDir + QStringLiteral("/Data"));
        db.exec(QStringLiteral("INSERT INTO vk (vk, azonosito) VALUES (1,'00001'),(2,'00002'),(3,'00003');"
                               "INSERT INTO felvetel (vk, felvetel, cim) VALUES (1,1,'a'),(2,1,'b'),(2,2,'c');"));
    }
    Tfrm_Main w;
    QVERIFY(w.FormCreate());
    QCOMPARE(w.statusPanel(0)->text(), QStringLiteral("3 / 1"));
    QCOMPARE(w.TblFelvetel->recordCount(), 1);
    w.TblVK->next();
    QCOMPARE(w.statusPanel(0)->text(), QStringLiteral("3 / 2"));
    QCOMPARE(w.TblFelvetel->recordCount(), 2);
    QCOMPARE(w.TblFelvetel->filter(), QStringLiteral("vk=2"));
    w.TblVK->last();
    QCOMPARE(w.TblFelvetel->recordCount(), 0);
    w.close();
}

void TestStartup::hintsGoToPanelOne()
{
    Tfrm_Main w;
    QVERIFY(w.FormCreate());
    QStatusTipEvent tip(QStringLiteral("Kilépés a programból"));
    QCoreApplication::sendEvent(&w, &tip);
    QCOMPARE(w.statusPanel(1)->text(), QStringLiteral("  Kilépés a programból"));
    QStatusTipEvent none{QString()};
    QCoreApplication::sendEvent(&w, &none);
    QCOMPARE(w.statusPanel(1)->text(), QString());
    w.close();
}

void TestStartup::fullScreenStartUsesTheWorkArea()
{
    QDir().mkpath(QFileInfo(IniFileName).path());
    IniFile(IniFileName).writeBool(QStringLiteral("Screen"), QStringLiteral("FullScreen"), true);
    {
        Tfrm_Main w;
        QVERIFY(w.FormCreate());
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        const QRect work = QGuiApplication::primaryScreen()->availableGeometry();
        QCOMPARE(w.width(), work.right() + 1);
        w.close();
    }
    const IniFile ini(IniFileName);
    QCOMPARE(ini.readInteger(QStringLiteral("Screen"), QStringLiteral("Left"), -1), 0);
    QCOMPARE(ini.readInteger(QStringLiteral("Screen"), QStringLiteral("Width"), -1),
             QGuiApplication::primaryScreen()->availableGeometry().right() + 1);
}

void TestStartup::splashFadesInTwentyThreeSteps()
{
    auto* logo = new Tfrm_Logo;
    QPointer<Tfrm_Logo> alive(logo);
    QCOMPARE(logo->size(), QSize(600, 200));
    QCOMPARE(logo->Timer1->interval(), 1000);
    QCOMPARE(logo->Timer2->interval(), 21);
    int steps = 0;
    while (!logo->fadeStep())
        ++steps;
    QCOMPARE(steps + 1, 23);
    QCOMPARE(logo->opacity(), 25);
    QTRY_VERIFY(alive.isNull());
}

QTEST_MAIN(TestStartup)
#include "tst_startup.moc"
