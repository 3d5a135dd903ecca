#include "catalogue/editors/frm_torzs.h"

#include "catalogue/data/datasetmodel.h"
#include "catalogue/data/table.h"
#include "catalogue/editors/formhelpers.h"
#include "catalogue/editors/frm_torzsszerkeszt.h"
#include "catalogue/editors/masterdata.h"
#include "catalogue/main/mainlists.h"
#include "catalogue/main/menupainter.h"
#include "catalogue/main/themedbgrid.h"
#include "common/application.h"
#include "common/messages.h"
#include "common/values.h"

#include <QAction>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QStatusBar>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>

namespace {

constexpr int ColumnMargin = 40;

QAction* makeAction(QWidget* owner, const char* name, const QString& caption, const QString& hint,
                    const QList<QKeySequence>& keys, const QIcon& icon = QIcon())
{
    auto* a = new QAction(caption, owner);
    a->setObjectName(QLatin1String(name));
    a->setToolTip(hint.isEmpty() ? caption : hint);
    a->setStatusTip(hint);
    a->setShortcuts(keys);
    if (!icon.isNull())
        a->setIcon(icon);
    a->setIconVisibleInMenu(true);
    owner->addAction(a);
    return a;
}

} // namespace

Tfrm_Torzs::Tfrm_Torzs(Database& db, QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("frm_Torzs"));
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    setWindowFlag(Qt::WindowMaximizeButtonHint, true);
    resize(360, 440);

    Tbl = new Table(db, QString(), this);
    Tbl->setObjectName(QStringLiteral("Tbl"));
    Tbl->setOrderBy(QStringLiteral("nev"));

    createActions();
    createLayout();
    LinkToDataSet(DBGrid1, Tbl);
    setPickMode(false);
    SetupDialog(this, QStringLiteral("frm_Torzs"), true, false);
}

Tfrm_Torzs::~Tfrm_Torzs()
{
    // The grid and its model go before the table they show.
    delete DBGrid1;
    DBGrid1 = nullptr;
}

void Tfrm_Torzs::createActions()
{
    aUj = makeAction(this, "aUj", QStringLiteral("Új sor"), QStringLiteral("Új sor"),
                     {QKeySequence(Qt::Key_Insert)}, QIcon(QStringLiteral(":/icons/aUj")));
    aSzerkeszt =
        makeAction(this, "aSzerkeszt", QStringLiteral("Szerkeszt"), QStringLiteral("Szerkeszt"),
                   {QKeySequence(Qt::Key_F2)}, QIcon(QStringLiteral(":/icons/aSzerkeszt")));
    aTorol = makeAction(this, "aTorol", QStringLiteral("Töröl"), QStringLiteral("Sor törlése"),
                        {QKeySequence(Qt::CTRL | Qt::Key_Delete)},
                        QIcon(QStringLiteral(":/icons/aTorol")));
    aKeres = makeAction(this, "aKeres", QStringLiteral("Kereső"),
                        QStringLiteral("Ugrás a keresőbe"), {QKeySequence(Qt::CTRL | Qt::Key_F)});
    aElfogad = makeAction(this, "aElfogad", QStringLiteral("Elfogad"), QString(),
                          {QKeySequence(Qt::Key_Return), QKeySequence(Qt::Key_Enter)},
                          style()->standardIcon(QStyle::SP_DialogApplyButton));
    aBezar = makeAction(this, "aBezar", QStringLiteral("Bezár"), QStringLiteral("Bezár"),
                        {QKeySequence(Qt::Key_Escape)}, QIcon(QStringLiteral(":/icons/aKilep")));

    connect(aUj, &QAction::triggered, this, [this] { RunGuarded(this, [this] { aUjExecute(); }); });
    connect(aSzerkeszt, &QAction::triggered, this,
            [this] { RunGuarded(this, [this] { aSzerkesztExecute(); }); });
    connect(aTorol, &QAction::triggered, this,
            [this] { RunGuarded(this, [this] { aTorolExecute(); }); });
    connect(aKeres, &QAction::triggered, this, &Tfrm_Torzs::aKeresExecute);
    connect(aElfogad, &QAction::triggered, this, &Tfrm_Torzs::aElfogadExecute);
    connect(aBezar, &QAction::triggered, this, &QDialog::reject);
}

void Tfrm_Torzs::createLayout()
{
    ToolBar1 = new QToolBar(this);
    ToolBar1->setObjectName(QStringLiteral("ToolBar1"));
    ToolBar1->setIconSize(QSize(16, 16));
    ToolBar1->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    for (QAction* a : {aUj, aSzerkeszt, aTorol, static_cast<QAction*>(nullptr), aElfogad, aBezar}) {
        if (!a) {
            ToolBar1->addSeparator();
            continue;
        }
        ToolBar1->addAction(a);
        if (auto* button = qobject_cast<QToolButton*>(ToolBar1->widgetForAction(a))) {
            button->setAutoRaise(true);
            button->setAccessibleName(a->text());
        }
    }

    Panel1 = new QWidget(this);
    Panel1->setObjectName(QStringLiteral("Panel1"));
    Panel1->setFixedHeight(31);
    Edit1 = new QLineEdit(Panel1);
    Edit1->setObjectName(QStringLiteral("Edit1"));
    Edit1->setFixedWidth(121);
    Edit1->setAccessibleName(QStringLiteral("Kereső"));
    Panel1Caption = new QLabel(Panel1);
    Panel1Caption->setObjectName(QStringLiteral("Panel1Caption"));
    QFont heading(QStringLiteral("Arial"));
    heading.setPixelSize(15);
    heading.setBold(true);
    Panel1Caption->setFont(heading);
    Panel1Caption->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    Panel1Caption->setBuddy(Edit1);
    auto* row = new QHBoxLayout(Panel1);
    row->setContentsMargins(2, 0, 4, 0);
    row->addWidget(Edit1);
    row->addStretch();
    row->addWidget(Panel1Caption);

    DBGrid1 = new TThemeDBGrid(this);
    DBGrid1->setObjectName(QStringLiteral("DBGrid1"));
    DBGrid1->setContextMenuPolicy(Qt::CustomContextMenu);
    model_ = new DataSetModel(Tbl, DBGrid1);
    model_->setColumns({QStringLiteral("nev")});
    DBGrid1->setModel(model_);

    StatusBar1 = new QStatusBar(this);
    StatusBar1->setObjectName(QStringLiteral("StatusBar1"));

    PopupMenu1 = new QMenu(this);
    PopupMenu1->setObjectName(QStringLiteral("PopupMenu1"));
    PopupMenu1->addActions({aUj, aSzerkeszt, aTorol});
    PopupMenu1->addSeparator();
    PopupMenu1->addAction(aKeres);
    PopupMenu1->addSeparator();
    PopupMenu1->addActions({aElfogad, aBezar});

    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);
    column->addWidget(ToolBar1);
    column->addWidget(Panel1);
    column->addWidget(DBGrid1, 1);
    column->addWidget(StatusBar1);

    setTabOrder(Edit1, DBGrid1);

    connect(Edit1, &QLineEdit::textChanged, this,
            [this](const QString& text) { QuickSearch(*Tbl, text); });
    connect(DBGrid1, &TThemeDBGrid::titleClick, this, [this] { Edit1->setFocus(); });
    connect(DBGrid1, &QAbstractItemView::doubleClicked, this, &Tfrm_Torzs::DBGrid1DblClick);
    connect(DBGrid1, &QWidget::customContextMenuRequested, this,
            [this](const QPoint& pos) { PopupMenu1->exec(DBGrid1->viewport()->mapToGlobal(pos)); });
    connect(Tbl, &DataSet::afterOpen, this, &Tfrm_Torzs::fitColumn);
    for (QWidget* w : {static_cast<QWidget*>(Edit1), static_cast<QWidget*>(DBGrid1)})
        w->installEventFilter(this);
}

void Tfrm_Torzs::setPickMode(bool pick)
{
    pick_ = pick;
    // Hidden, "Elfogad" also leaves the tool bar and the menu, and Enter is free
    // to move from the search box to the list.
    aElfogad->setEnabled(pick);
    aElfogad->setVisible(pick);
}

void Tfrm_Torzs::setTitle(const QString& title)
{
    setWindowTitle(title);
    Panel1Caption->setText(title);
}

void Tfrm_Torzs::openTable(const QString& tableName, int preselect)
{
    Tbl->close();
    Tbl->setTableName(tableName);
    Tbl->open();
    Tbl->fieldByName(QStringLiteral("nev")).displayLabel = QStringLiteral("megnevezés");
    Q_EMIT model_->headerDataChanged(Qt::Horizontal, 0, 0);
    if (preselect >= 0)
        Tbl->locate(QStringLiteral("az"), preselect);
}

void Tfrm_Torzs::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    // After the font size, which the dialog's own set-up applies first.
    HookOwnerDrawMenus(this);
    DBGrid1->setFocus();
}

bool Tfrm_Torzs::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == Edit1) {
        switch (event->type()) {
        case QEvent::KeyPress: {
            const int key = static_cast<QKeyEvent*>(event)->key();
            // Enter reaches the box only when it does not accept (plain mode).
            if (key == Qt::Key_Down || key == Qt::Key_Return || key == Qt::Key_Enter) {
                DBGrid1->setFocus();
                return true;
            }
            break;
        }
        case QEvent::FocusIn:
            // A click would place the caret after the focus came: select on its release.
            selectOnRelease_ = static_cast<QFocusEvent*>(event)->reason() == Qt::MouseFocusReason;
            Edit1->selectAll();
            break;
        case QEvent::MouseButtonRelease:
            if (selectOnRelease_) {
                selectOnRelease_ = false;
                if (!Edit1->hasSelectedText())
                    Edit1->selectAll();
            }
            break;
        default:
            break;
        }
    } else if (watched == DBGrid1) {
        if (event->type() == QEvent::KeyPress) {
            auto* key = static_cast<QKeyEvent*>(event);
            const bool plain =
                !(key->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier));
            if (plain && IsQuickSearchKey(key->text())) {
                typeIntoSearch(key->text());
                return true;
            }
        } else if (event->type() == QEvent::Resize) {
            fitColumn();
        }
    }
    return QDialog::eventFilter(watched, event);
}

void Tfrm_Torzs::typeIntoSearch(const QString& typed)
{
    Edit1->setFocus();
    Edit1->setText(typed.toLower());
    Edit1->setCursorPosition(int(Edit1->text().size()));
}

void Tfrm_Torzs::fitColumn()
{
    if (model_->columnCount() > 0)
        DBGrid1->setColumnWidth(0, DBGrid1->width() - ColumnMargin);
}

void Tfrm_Torzs::aUjExecute()
{
    Tbl->insert();
    runEditor();
}

void Tfrm_Torzs::aSzerkesztExecute()
{
    // An empty list has no entry to change: a new one is started instead.
    if (Tbl->isEmpty())
        Tbl->insert();
    else
        Tbl->edit();
    runEditor();
}

void Tfrm_Torzs::runEditor()
{
    bool posted = false;
    try {
        Tfrm_TorzsSzerkeszt editor(*Tbl, this);
        posted = editor.exec() == QDialog::Accepted;
    } catch (...) {
        Tbl->cancel();
        throw;
    }
    if (!posted)
        Tbl->cancel();
}

void Tfrm_Torzs::aTorolExecute()
{
    if (Tbl->isEmpty())
        return;
    if (AskYesNo(QStringLiteral("Valóban töröljem a sort?"), QStringLiteral("Megerősítés"), this))
        Tbl->deleteRow();
}

void Tfrm_Torzs::aKeresExecute()
{
    Edit1->setFocus(Qt::ShortcutFocusReason);
}

void Tfrm_Torzs::aElfogadExecute()
{
    if (pick_)
        accept();
}

void Tfrm_Torzs::DBGrid1DblClick()
{
    if (pick_)
        aElfogadExecute();
    else
        aSzerkeszt->trigger();
}

namespace {

struct Accepted
{
    int key = -1;
    QString name;
};

Accepted openList(Database& db, const QString& table, const QString& title, int preselect,
                  bool pick, QWidget* parent)
{
    Tfrm_Torzs window(db, parent);
    window.setPickMode(pick);
    window.setTitle(title);
    window.openTable(table, preselect);
    Accepted result;
    if (window.exec() == QDialog::Accepted && window.Tbl->currentRow() >= 0) {
        result.key = NullToInt(window.Tbl->value(QStringLiteral("az")), -1);
        result.name = NullToStr(window.Tbl->value(QStringLiteral("nev")), QString());
    }
    window.Tbl->close();
    return result;
}

} // namespace

int OpenQualityList(Database& db, int preselect, bool pick, QWidget* parent)
{
    return openList(db, QStringLiteral("minoseg"), QStringLiteral("Minőség"), preselect, pick,
                    parent)
        .key;
}

int OpenTypeList(Database& db, int preselect, bool pick, QWidget* parent)
{
    return openList(db, QStringLiteral("tipus"), QStringLiteral("Típus"), preselect, pick, parent)
        .key;
}

int OpenGenreList(Database& db, int preselect, bool pick, QWidget* parent)
{
    return openList(db, QStringLiteral("mufaj"), QStringLiteral("Műfaj"), preselect, pick, parent)
        .key;
}

void OpenPerformerList(Database& db, int preselect, bool pick, QString& name, QWidget* parent)
{
    name = openList(db, QStringLiteral("szereplo"), QStringLiteral("Szereplők"), preselect, pick,
                    parent)
               .name;
}
