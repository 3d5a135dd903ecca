#include "fixtures.h"

#include "maintenance/frm_upd_main.h"

#include "catalogue/data/database.h"
#include "common/messages.h"
#include "common/paths.h"

#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTemporaryDir>
#include <QtTest>

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

class TestUpdWindow : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void init();
    void cleanup();
    void formCreateFillsThePath_data();
    void formCreateFillsThePath();
    void windowAsDesigned();
    void buttons_data();
    void buttons();

private:
    void writeIni(const QString& path, const QString& dataPath);

    std::unique_ptr<QTemporaryDir> tmp_;
    QList<MessageBoxRequest> boxes_;
};

void TestUpdWindow::init()
{
    tmp_ = std::make_unique<QTemporaryDir>();
    ProgramDir = tmp_->filePath(QStringLiteral("program"));
    AppDataDir = tmp_->filePath(QStringLiteral("home"));
    IniFileName = AppDataDir + QStringLiteral("/Zelmo.ini");
    QDir().mkpath(ProgramDir);
    QDir().mkpath(AppDataDir);
    boxes_.clear();
    SetMessageBoxHandler([this](const MessageBoxRequest& r) {
        boxes_ << r;
        return QMessageBox::Ok;
    });
}

void TestUpdWindow::cleanup()
{
    SetMessageBoxHandler({});
    tmp_.reset();
}

void TestUpdWindow::writeIni(const QString& path, const QString& dataPath)
{
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write("[Adatbazis]\r\nUtvonal=" + dataPath.toUtf8() + "\r\n");
}

void TestUpdWindow::formCreateFillsThePath_data()
{
    QTest::addColumn<QString>("homeValue");    // empty: no settings file in the home folder
    QTest::addColumn<QString>("portableName"); // empty: none beside the program
    QTest::addColumn<QString>("expected");     // "<program>/Data" stands for the default
    QTest::newRow("no settings file") << ""
                                      << ""
                                      << "<program>/Data";
    QTest::newRow("the home folder's settings") << "/adat/otthon"
                                                << ""
                                                << "/adat/otthon";
    QTest::newRow("a settings file beside the program, whatever its case") << "/adat/otthon"
                                                                           << "ZELMO.INI"
                                                                           << "/adat/hordozhato";
}

void TestUpdWindow::formCreateFillsThePath()
{
    QFETCH(QString, homeValue);
    QFETCH(QString, portableName);
    QFETCH(QString, expected);
    if (!homeValue.isEmpty())
        writeIni(IniFileName, homeValue);
    if (!portableName.isEmpty())
        writeIni(QDir(ProgramDir).filePath(portableName), QStringLiteral("/adat/hordozhato"));
    const QMap<QString, QByteArray> homeBefore = fixture::checksums(AppDataDir);
    const QMap<QString, QByteArray> programBefore = fixture::checksums(ProgramDir);
    {
        Tfrm_Upd_Main window;
        window.FormCreate();
        expected.replace(QStringLiteral("<program>"), ProgramDir);
        QCOMPARE(window.findChild<QLineEdit*>(QStringLiteral("Edit1"))->text(), expected);
        window.show();
        window.findChild<QPushButton*>(QStringLiteral("Button2"))->click();
        QVERIFY(!window.isVisible());
    }
    // Only read, never written.
    QCOMPARE(fixture::checksums(AppDataDir), homeBefore);
    QCOMPARE(fixture::checksums(ProgramDir), programBefore);
}

void TestUpdWindow::windowAsDesigned()
{
    Tfrm_Upd_Main window;
    window.FormCreate();
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));

    QCOMPARE(window.windowTitle(),
             QStringLiteral("Zelmo program adatbázis karbantartás V3.0.0.99"));
    QCOMPARE(window.size(), QSize(694, 350));
    const auto* memo = window.findChild<QPlainTextEdit*>(QStringLiteral("Memo1"));
    QCOMPARE(
        memo->toPlainText().split(QLatin1Char('\n')),
        QStringList(
            {"Lépések, ha új verziót kíván telepíteni:", "",
             "1. Ellenőrizze, hogy egyetlen számítógépen se fusson a Zelmo program.",
             "2. Nyomja meg a verzióváltás gombot a frissítéshez.",
             "3. Nyomja meg a karbantartás gombot az adatbázis hibajavításához, optimalizálásához.",
             "", "Lépések, ha adatbázisa sérült, vagy csak lassabban fut a program:", "",
             "1. Ellenőrizze, hogy egyetlen számítógépen se működjön a Zelmo program.",
             "2. Nyomja meg a karbantartás gombot az adatbázis hibajavításához, "
             "optimalizálásához."}));
    QVERIFY(memo->isReadOnly());

    // Left to right as they stand, and the keyboard's own order.
    QList<QPushButton*> buttons = window.findChildren<QPushButton*>();
    std::sort(buttons.begin(), buttons.end(), [](auto* a, auto* b) { return a->x() < b->x(); });
    QStringList captions;
    for (auto* b : buttons)
        captions << b->text();
    QCOMPARE(captions, QStringList({"Karbantartás", "Verzióváltás", "Bezárás"}));
    QStringList tabOrder;
    QWidget* w = window.findChild<QLineEdit*>(QStringLiteral("Edit1"));
    do {
        if ((w->focusPolicy() & Qt::TabFocus) == Qt::TabFocus && w->isVisible())
            tabOrder << w->objectName();
        w = w->nextInFocusChain();
    } while (w && w != window.findChild<QLineEdit*>(QStringLiteral("Edit1")));
    QCOMPARE(tabOrder, QStringList({"Edit1", "Button1", "Button2", "Button3"}));
    QCOMPARE(window.findChild<QLabel*>(QStringLiteral("Label1"))->buddy(),
             window.findChild<QLineEdit*>("Edit1"));
}

void TestUpdWindow::buttons_data()
{
    QTest::addColumn<QString>("button");
    QTest::addColumn<QString>("folder"); // missing, store, old
    QTest::addColumn<bool>("locked");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QString>("text");
    const QString missing = QStringLiteral("Nem létező adatbázis mappa.");
    const QString held = QStringLiteral("másik program (a Zelmo) használja");
    QTest::newRow("Karbantartás, no such folder") << "Button1"
                                                  << "missing" << false << "Hiba" << missing;
    QTest::newRow("Verzióváltás, no such folder") << "Button3"
                                                  << "missing" << false << "Hiba" << missing;
    QTest::newRow("Karbantartás while Zelmo runs") << "Button1"
                                                   << "store" << true << "Hiba" << held;
    QTest::newRow("Verzióváltás while Zelmo runs") << "Button3"
                                                   << "store" << true << "Hiba" << held;
    QTest::newRow("Verzióváltás of old tables while held") << "Button3"
                                                           << "old" << true << "Hiba" << held;
    QTest::newRow("Karbantartás") << "Button1"
                                  << "store" << false << "Üzenet"
                                  << "Indexek újraépítése kész.";
    QTest::newRow("Verzióváltás") << "Button3"
                                  << "old" << false << "Üzenet"
                                  << "Verzióváltás kész";
}

void TestUpdWindow::buttons()
{
    QFETCH(QString, button);
    QFETCH(QString, folder);
    QFETCH(bool, locked);
    QFETCH(QString, caption);
    QFETCH(QString, text);

    const QString path = tmp_->filePath(QStringLiteral("Data"));
    if (folder == QLatin1String("store")) {
        Database db;
        db.open(path);
    } else if (folder == QLatin1String("old")) {
        QDir().mkpath(path);
        fixture::writeOldFolder(path);
    }
    std::unique_ptr<Database> zelmo;
    int lockFd = -1;
    if (locked) {
        // The catalogue program's hold on the folder.
        if (folder == QLatin1String("store")) {
            zelmo = std::make_unique<Database>();
            zelmo->open(path, Database::LockMode::Shared);
        } else {
            lockFd =
                ::open(QFile::encodeName(QDir(path).filePath(QLatin1String(Database::LockFileName)))
                           .constData(),
                       O_RDWR | O_CREAT, 0644);
            QVERIFY(::flock(lockFd, LOCK_SH) == 0);
        }
    }
    const QMap<QString, QByteArray> before = fixture::checksums(path);

    Tfrm_Upd_Main window;
    window.FormCreate();
    window.show();
    window.findChild<QLineEdit*>(QStringLiteral("Edit1"))->setText(path);
    window.findChild<QPushButton*>(button)->click();

    if (lockFd >= 0)
        ::close(lockFd);
    zelmo.reset();
    QCOMPARE(boxes_.size(), 1);
    QCOMPARE(boxes_.first().caption, caption);
    QVERIFY2(boxes_.first().text.contains(text), qPrintable(boxes_.first().text));
    QVERIFY(!window.isBusy());
    QVERIFY(window.findChild<QPushButton*>(button)->isEnabled());
    if (caption == QLatin1String("Hiba")) {
        QCOMPARE(fixture::checksums(path), before); // refused: nothing changed
    } else {
        QCOMPARE(window.findChild<QLabel*>(QStringLiteral("Label2"))->text(), QString());
        QVERIFY(window.findChild<QProgressBar*>(QStringLiteral("ProgressBar1"))->value() <
                window.findChild<QProgressBar*>(QStringLiteral("ProgressBar1"))->minimum());
    }
}

QTEST_MAIN(TestUpdWindow)
#include "tst_upd_window.moc"
