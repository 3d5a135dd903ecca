#include "catalogue/main/frm_main.h"

#include "catalogue/data/datasetmodel.h"
#include "catalogue/main/frm_logo.h"
#include "catalogue/main/menupainter.h"
#include "catalogue/main/settings.h"
#include "catalogue/main/themedbgrid.h"
#include "common/application.h"
#include "common/messages.h"
#include "common/paths.h"
#include "common/values.h"

#include <QCloseEvent>
#include <QGuiApplication>
#include <QLabel>
#include <QScreen>
#include <QSplitter>
#include <QStatusBar>
#include <QStatusTipEvent>
#include <QToolTip>

Tfrm_Main::Tfrm_Main(QWidget* parent) : QMainWindow(parent)
{
    setObjectName(QStringLiteral("frm_Main"));
    setWindowTitle(AppTitle);
    setFont(QFont(QStringLiteral("Tahoma"), 8));
    TblVK = new Table(Db1, QStringLiteral("vk.DB"), this);
    TblFelvetel = new Table(Db1, QStringLiteral("felvetel.DB"), this);
    Qry = new Query(Db1, this);

    createActions();
    createMenus();
    createSplitter();
    pVK = createCassettePanel();
    pFelvetel = createRecordingPanel();
    setCentralWidget(Splitter1);

    for (int width : {100, 225, 50}) {
        auto* panel = new QLabel(this);
        panel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        panel->setFixedWidth(width);
        panels_.append(panel);
        statusBar()->addWidget(panel);
    }
    connectLists();
    connectOperations();
}

Tfrm_Main::~Tfrm_Main()
{
    // The grids' models listen to the tables: let them go first.
    delete Splitter1;
}

QLabel* Tfrm_Main::statusPanel(int index) const { return panels_.value(index); }

bool Tfrm_Main::FormCreate()
{
    IniFileName = ChooseSettingsFile(ProgramDir, IniFileName);
    LoadSettings();
    CheckDataDir(TBeall, AppDataDir);
    try {
        Db1.open(TBeall.DataDir, Database::LockMode::Shared);
    } catch (const DbError& e) {
        ShowError(QStringLiteral("Adatbázis megnyitása sikertelen") + QStringLiteral("\r\n") + e.message(), this);
        closed_ = true;
        return false;
    }
    QPalette tips = QToolTip::palette();
    tips.setColor(QPalette::ToolTipBase, QColor(255, 218, 181));
    tips.setColor(QPalette::ToolTipText, Qt::black);
    QToolTip::setPalette(tips);
    setWindowTitle(QStringLiteral("Zelmo"));

    TblVK->setOrderBy(QStringLiteral("azonosito"));
    TblFelvetel->setOrderBy(QStringLiteral("felvetel"));
    // A table that cannot be opened is reported; the window still opens.
    RunGuarded(this, [this] { TblVK->open(); });
    RunGuarded(this, [this] { TblFelvetel->open(); });
    showCassetteDetails();
    showRecordingDetails();
    return true;
}

void Tfrm_Main::LoadSettings()
{
    WindowBounds b;
    ReadSettings(IniFileName, AppDataDir, TBeall, b);
    move(b.left, b.top);
    resize(b.width, b.height);
}

void Tfrm_Main::SaveSettings() { WriteSettings(IniFileName, TBeall, {x(), y(), width(), height()}); }

void Tfrm_Main::TblVKAfterScroll()
{
    RunGuarded(this, [this] {
        TblFelvetel->setFilter(QStringLiteral("vk=%1").arg(NullToInt(TblVK->value(QStringLiteral("vk")), 0)));
    });
    ShowRecordCount();
}

void Tfrm_Main::ShowRecordCount()
{
    panels_.at(0)->setText(QString::asprintf("%d / %d", TblVK->recordCount(), TblVK->recNo()));
}

void Tfrm_Main::GoToRecording(const QVariant& cassette, const QVariant& track)
{
    if (!cassette.isNull())
        TblVK->locate(QStringLiteral("vk"), cassette);
    if (!track.isNull())
        TblFelvetel->locate(QStringLiteral("felvetel"), track);
}

void Tfrm_Main::showEvent(QShowEvent* event)
{
    QMainWindow::showEvent(event);
    if (!shown_) {
        shown_ = true;
        FormShow();
    }
}

void Tfrm_Main::FormShow()
{
    applyFontSize();
    HookOwnerDrawMenus(this);
    if (TBeall.FullScreenStart) {
        if (const QScreen* screen = QGuiApplication::primaryScreen()) {
            const QRect work = screen->availableGeometry();
            move(0, 0);
            resize(work.x() + work.width(), work.y() + work.height());
        }
    }
    auto* logo = new Tfrm_Logo;
    logo->show();
}

void Tfrm_Main::closeEvent(QCloseEvent* event)
{
    FormClose();
    QMainWindow::closeEvent(event);
}

void Tfrm_Main::FormClose()
{
    if (closed_)
        return;
    closed_ = true;
    TblVK->close();
    TblFelvetel->close();
    Qry->close();
    Db1.close();
    // The window closes even when the settings cannot be written; the user is told.
    RunGuarded(this, [this] { SaveSettings(); });
}

bool Tfrm_Main::event(QEvent* event)
{
    if (event->type() == QEvent::StatusTip) {
        ShowHintInStatusBar(static_cast<QStatusTipEvent*>(event)->tip());
        return true;
    }
    return QMainWindow::event(event);
}

void Tfrm_Main::ShowHintInStatusBar(const QString& hint)
{
    panels_.at(1)->setText(hint.isEmpty() ? QString() : QStringLiteral("  ") + hint);
}
