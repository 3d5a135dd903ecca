#include "catalogue/main/frm_main.h"

#include "catalogue/data/datasetmodel.h"
#include "catalogue/main/frm_logo.h"
#include "catalogue/main/settings.h"
#include "common/application.h"
#include "common/messages.h"
#include "common/paths.h"
#include "common/values.h"

#include <QAction>
#include <QCloseEvent>
#include <QGuiApplication>
#include <QHeaderView>
#include <QLabel>
#include <QMenuBar>
#include <QScreen>
#include <QSplitter>
#include <QStatusBar>
#include <QStatusTipEvent>
#include <QTableView>
#include <QToolTip>

namespace {

// Keeps a grid's current row and its table's current row together.
void linkGrid(QTableView* grid, DataSet* ds)
{
    QObject::connect(ds, &DataSet::currentRowChanged, grid, [grid](int row) {
        if (row >= 0 && grid->model() && row < grid->model()->rowCount())
            grid->selectRow(row);
    });
    QObject::connect(grid->selectionModel(), &QItemSelectionModel::currentRowChanged, ds,
                     [grid, ds](const QModelIndex& current) {
                         if (current.isValid() && ds->isActive() && ds->state() == DataSet::State::Browse &&
                             current.row() != ds->currentRow())
                             RunGuarded(grid->window(), [&] { ds->moveTo(current.row()); });
                     });
}

QTableView* makeGrid(const QString& name, QWidget* parent)
{
    auto* grid = new QTableView(parent);
    grid->setObjectName(name);
    grid->setSelectionBehavior(QAbstractItemView::SelectRows);
    grid->setSelectionMode(QAbstractItemView::SingleSelection);
    grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grid->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    grid->verticalHeader()->setDefaultSectionSize(grid->fontMetrics().height() + 4);
    grid->verticalHeader()->setFixedWidth(12);
    return grid;
}

} // namespace

Tfrm_Main::Tfrm_Main(QWidget* parent) : QMainWindow(parent)
{
    setObjectName(QStringLiteral("frm_Main"));
    setWindowTitle(QStringLiteral("Videokazetta nyilvántartás"));
    setFont(QFont(QStringLiteral("Tahoma"), 8));
    TblVK = new Table(Db1, QStringLiteral("vk.DB"), this);
    TblFelvetel = new Table(Db1, QStringLiteral("felvetel.DB"), this);
    Qry = new Query(Db1, this);
    buildWindow();
}

Tfrm_Main::~Tfrm_Main()
{
    // Models first: they listen to the tables.
    delete DBGrid1;
    delete DBGrid2;
}

void Tfrm_Main::buildWindow()
{
    aKilep = new QAction(QStringLiteral("Kilépés a programból"), this);
    aKilep->setObjectName(QStringLiteral("aKilep"));
    aKilep->setStatusTip(QStringLiteral("Kilépés a programból"));
    aKilep->setToolTip(QStringLiteral("Kilépés a programból"));
    connect(aKilep, &QAction::triggered, this, &QWidget::close);
    QMenu* menu = menuBar()->addMenu(QStringLiteral("Kazetták"));
    menu->addAction(aKilep);

    Splitter1 = new QSplitter(Qt::Horizontal, this);
    Splitter1->setObjectName(QStringLiteral("Splitter1"));
    DBGrid1 = makeGrid(QStringLiteral("DBGrid1"), Splitter1);
    DBGrid2 = makeGrid(QStringLiteral("DBGrid2"), Splitter1);
    vkModel_ = new DataSetModel(TblVK, DBGrid1);
    vkModel_->setColumns({QStringLiteral("kolcsonadva"), QStringLiteral("vk"), QStringLiteral("hossz"),
                          QStringLiteral("szabad"), QStringLiteral("tipus_nev")});
    felvetelModel_ = new DataSetModel(TblFelvetel, DBGrid2);
    felvetelModel_->setColumns({QStringLiteral("felvetel"), QStringLiteral("cim"), QStringLiteral("hossz"),
                                QStringLiteral("datum"), QStringLiteral("szamlalo_tol"),
                                QStringLiteral("szamlalo_ig")});
    DBGrid1->setModel(vkModel_);
    DBGrid2->setModel(felvetelModel_);
    linkGrid(DBGrid1, TblVK);
    linkGrid(DBGrid2, TblFelvetel);
    Splitter1->addWidget(DBGrid1);
    Splitter1->addWidget(DBGrid2);
    Splitter1->setSizes({400, 390});
    setCentralWidget(Splitter1);

    for (int width : {100, 225, 50}) {
        auto* panel = new QLabel(this);
        panel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        panel->setMinimumWidth(width);
        panel->setMaximumWidth(width);
        panels_.append(panel);
        statusBar()->addWidget(panel);
    }
    connect(TblVK, &DataSet::afterScroll, this, &Tfrm_Main::TblVKAfterScroll);
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
    return true;
}

void Tfrm_Main::LoadSettings()
{
    WindowBounds b;
    ReadSettings(IniFileName, AppDataDir, TBeall, b);
    move(b.left, b.top);
    resize(b.width, b.height);
}

void Tfrm_Main::SaveSettings()
{
    WriteSettings(IniFileName, TBeall, {x(), y(), width(), height()});
}

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

void Tfrm_Main::applyFontSize()
{
    QFont f = font();
    f.setPointSize(TBeall.FontSize);
    setFont(f);
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
