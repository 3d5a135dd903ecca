#include "catalogue/browse/frm_bongeszo.h"

#include "catalogue/data/database.h"
#include "catalogue/data/datasetmodel.h"
#include "catalogue/data/query.h"
#include "catalogue/editors/formhelpers.h"
#include "catalogue/export/delimitedexport.h"
#include "catalogue/export/htmlexport.h"
#include "catalogue/main/frm_main.h"
#include "catalogue/main/mainlists.h"
#include "catalogue/main/menupainter.h"
#include "catalogue/main/themedbgrid.h"
#include "common/application.h"
#include "common/values.h"

#include <QAction>
#include <QElapsedTimer>
#include <QGridLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QStatusBar>
#include <QStyle>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>

namespace {

constexpr int MinimumWidth = 768;
constexpr int ColumnMargin = 40;
const QList<double> ColumnShares{0.07, 0.06, 0.07, 0.07, 0.20, 0.14, 0.14, 0.12, 0.12};
const QString NoFilter = QStringLiteral("<nincs szűrés>");

QAction* makeAction(QWidget* owner, const char* name, const QString& caption, const QString& hint,
                    const QList<QKeySequence>& keys, const QIcon& icon)
{
    auto* a = new QAction(caption, owner);
    a->setObjectName(QLatin1String(name));
    a->setToolTip(hint);
    a->setStatusTip(hint);
    a->setShortcuts(keys);
    a->setIcon(icon);
    a->setIconVisibleInMenu(true);
    owner->addAction(a);
    return a;
}

} // namespace

void TFilterCombo::hidePopup()
{
    QComboBox::hidePopup();
    Q_EMIT closeUp();
}

Tfrm_Bongeszo::Tfrm_Bongeszo(Database& db, QWidget* parent) : QDialog(parent), db_(db)
{
    setObjectName(QStringLiteral("frm_Bongeszo"));
    setWindowTitle(QStringLiteral("Böngésző"));
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    setWindowFlag(Qt::WindowMaximizeButtonHint, true);
    setMinimumWidth(MinimumWidth);
    resize(MinimumWidth, 480);

    Qry = new Query(db, this);
    Qry->setObjectName(QStringLiteral("Qry"));
    readAhead_ = new QTimer(this);
    readAhead_->setSingleShot(true);
    connect(readAhead_, &QTimer::timeout, this, &Tfrm_Bongeszo::readRestLater);

    createActions();
    createLayout();
    LinkToDataSet(DBGrid1, Qry);
    SetupDialog(this, QStringLiteral("frm_Bongeszo"), true, false);
}

Tfrm_Bongeszo::~Tfrm_Bongeszo()
{
    // The grid and its model go before the query they show.
    delete DBGrid1;
    DBGrid1 = nullptr;
}

void Tfrm_Bongeszo::createActions()
{
    aMegvan = makeAction(this, "aMegvan", QStringLiteral("Megvan!"), QStringLiteral("Megvan!"),
                         {QKeySequence(Qt::Key_Return), QKeySequence(Qt::Key_Enter)},
                         style()->standardIcon(QStyle::SP_DialogApplyButton));
    aNyomtat = makeAction(this, "aNyomtat", QStringLiteral("Nyomtat"), QStringLiteral("Nyomtat"),
                          {QKeySequence(Qt::CTRL | Qt::Key_P)}, QIcon(QStringLiteral(":/icons/aNyomtat")));
    aNyomtatKep = makeAction(this, "aNyomtatKep", QStringLiteral("Nyom.kép"), QStringLiteral("Nyomtatási kép"),
                             {QKeySequence(Qt::CTRL | Qt::Key_K)}, QIcon(QStringLiteral(":/icons/aNyomtatKep")));
    aExcelbe = makeAction(this, "aExcelbe", QStringLiteral("Excelbe..."), QStringLiteral("Excelbe..."),
                          {QKeySequence(Qt::CTRL | Qt::Key_E)}, QIcon(QStringLiteral(":/icons/aExcelbe")));
    aHtml = makeAction(this, "aHtml", QStringLiteral("Html export"), QStringLiteral("Html export"),
                       {QKeySequence(Qt::CTRL | Qt::Key_H)}, QIcon(QStringLiteral(":/icons/aHonlap")));
    aBezar = makeAction(this, "aBezar", QStringLiteral("Bezár"), QStringLiteral("Bezár"),
                        {QKeySequence(Qt::Key_Escape)}, QIcon(QStringLiteral(":/icons/aKilep")));
    // The grid's printing arrives with the reports.
    aNyomtat->setEnabled(false);
    aNyomtatKep->setEnabled(false);

    connect(aMegvan, &QAction::triggered, this, &QDialog::accept);
    connect(aBezar, &QAction::triggered, this, &QDialog::reject);
    connect(aExcelbe, &QAction::triggered, this, [this] {
        RunGuarded(this, [this] { ExportDelimited(*Qry, QStringLiteral("videokazetták.csv"), this); });
    });
    connect(aHtml, &QAction::triggered, this, [this] {
        RunGuarded(this, [this] {
            ExportHtml(DBGrid1, QStringLiteral("Böngésző"), QString(), BrowserGroupField(sortField_), this);
        });
    });
}

void Tfrm_Bongeszo::createLayout()
{
    ToolBar1 = new QToolBar(this);
    ToolBar1->setObjectName(QStringLiteral("ToolBar1"));
    ToolBar1->setIconSize(QSize(16, 16));
    ToolBar1->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    PopupMenu1 = new QMenu(this);
    PopupMenu1->setObjectName(QStringLiteral("PopupMenu1"));
    for (QAction* a : {aMegvan, static_cast<QAction*>(nullptr), aNyomtat, aNyomtatKep, static_cast<QAction*>(nullptr),
                       aExcelbe, aHtml, static_cast<QAction*>(nullptr), aBezar}) {
        if (!a) {
            ToolBar1->addSeparator();
            PopupMenu1->addSeparator();
            continue;
        }
        ToolBar1->addAction(a);
        PopupMenu1->addAction(a);
        if (auto* button = qobject_cast<QToolButton*>(ToolBar1->widgetForAction(a))) {
            button->setAutoRaise(true);
            button->setAccessibleName(a->text());
        }
    }

    auto* filters = new QWidget(this);
    filters->setObjectName(QStringLiteral("Panel1"));
    auto* grid = new QGridLayout(filters);
    grid->setContentsMargins(4, 2, 4, 4);
    grid->setHorizontalSpacing(6);
    grid->setVerticalSpacing(1);
    Edit1 = new QLineEdit(filters);
    Edit1->setObjectName(QStringLiteral("Edit1"));
    ColourOnFocus(Edit1);
    auto addLabelled = [&](int column, const QString& caption, QWidget* w) {
        auto* label = new QLabel(caption, filters);
        label->setBuddy(w);
        grid->addWidget(label, 0, column);
        grid->addWidget(w, 1, column);
        grid->setColumnStretch(column, 1);
    };
    addLabelled(0, QStringLiteral("kereső"), Edit1);
    int column = 1;
    for (auto [combo, name, caption] :
         {std::tuple{&ComboBox1, "ComboBox1", "műfaj"}, std::tuple{&ComboBox2, "ComboBox2", "típus"},
          std::tuple{&ComboBox3, "ComboBox3", "szereplő"}, std::tuple{&ComboBox4, "ComboBox4", "rendező"}}) {
        *combo = new TFilterCombo(filters);
        (*combo)->setObjectName(QLatin1String(name));
        (*combo)->setEditable(false);
        (*combo)->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
        (*combo)->setMinimumContentsLength(8);
        (*combo)->addItem(NoFilter);
        addLabelled(column++, QString::fromUtf8(caption), *combo);
    }

    DBGrid1 = new TThemeDBGrid(this);
    DBGrid1->setObjectName(QStringLiteral("DBGrid1"));
    DBGrid1->setContextMenuPolicy(Qt::CustomContextMenu);
    model_ = new DataSetModel(Qry, DBGrid1);
    QStringList shown;
    for (int i = 0; i < BrowserGridColumns; ++i)
        shown << QString::fromLatin1(BrowserFields().at(i).name);
    model_->setColumns(shown);
    DBGrid1->setModel(model_);
    DBGrid1->horizontalHeader()->setStretchLastSection(false);

    StatusBar1 = new QStatusBar(this);
    StatusBar1->setObjectName(QStringLiteral("StatusBar1"));

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(ToolBar1);
    layout->addWidget(filters);
    layout->addWidget(DBGrid1, 1);
    layout->addWidget(StatusBar1);
    setTabOrder(Edit1, ComboBox1);
    setTabOrder(ComboBox1, ComboBox2);
    setTabOrder(ComboBox2, ComboBox3);
    setTabOrder(ComboBox3, ComboBox4);
    setTabOrder(ComboBox4, DBGrid1);

    connect(Edit1, &QLineEdit::textChanged, this, &Tfrm_Bongeszo::searchChanged);
    connect(ComboBox1, &QComboBox::currentIndexChanged, this, [this] { filterChanged(ComboBox1, filters_.genre); });
    connect(ComboBox2, &QComboBox::currentIndexChanged, this, [this] { filterChanged(ComboBox2, filters_.type); });
    connect(ComboBox3, &QComboBox::currentIndexChanged, this,
            [this] { filterChanged(ComboBox3, filters_.performer); });
    connect(ComboBox4, &QComboBox::currentIndexChanged, this,
            [this] { filterChanged(ComboBox4, filters_.director); });
    for (TFilterCombo* c : {ComboBox1, ComboBox2, ComboBox3, ComboBox4})
        connect(c, &TFilterCombo::closeUp, Edit1, [this] { Edit1->setFocus(); });
    connect(DBGrid1, &TThemeDBGrid::titleClick, this, &Tfrm_Bongeszo::titleClick);
    connect(DBGrid1, &QAbstractItemView::doubleClicked, this, &QDialog::accept);
    connect(DBGrid1, &QWidget::customContextMenuRequested, this,
            [this](const QPoint& pos) { PopupMenu1->exec(DBGrid1->viewport()->mapToGlobal(pos)); });
    DBGrid1->installEventFilter(this);
}

void Tfrm_Bongeszo::FormCreate()
{
    sortField_ = QStringLiteral("vk");
    filters_ = {};
    rebuildQuery();
    MarkSortColumn(DBGrid1, 0);
    // Appended after "<nincs szűrés>", which stays selected: no filter changes.
    Query lists(db_);
    FillComboFromQuery(lists, ComboBox1, QStringLiteral("SELECT az,nev FROM mufaj WHERE nev IS NOT NULL ORDER BY 2;"));
    FillComboFromQuery(lists, ComboBox2, QStringLiteral("SELECT az,nev FROM tipus ORDER BY 2;"));
    FillComboFromQueryFirstColumn(lists, ComboBox3, QStringLiteral("SELECT nev FROM szereplo ORDER BY 1;"));
    FillComboFromQueryFirstColumn(
        lists, ComboBox4,
        QStringLiteral("SELECT DISTINCT rendezte FROM felvetel WHERE rendezte IS NOT NULL ORDER BY 1;"));
}

void Tfrm_Bongeszo::rebuildQuery()
{
    readAhead_->stop();
    OpenBrowserQuery(*Qry, filters_, sortField_);
    // The first screen is there; the rest is read while the user looks at it,
    // so that searching and exporting find every row at hand.
    if (Qry->canFetchMore())
        readAhead_->start(0);
}

void Tfrm_Bongeszo::readRestLater()
{
    QElapsedTimer slice;
    slice.start();
    while (Qry->canFetchMore() && slice.elapsed() < 15)
        Qry->hasRow(Qry->availableRows() + 1023);
    if (Qry->canFetchMore())
        readAhead_->start(0);
}

void Tfrm_Bongeszo::filterChanged(TFilterCombo* combo, QString& filter)
{
    filter = IifVar(combo->currentIndex() == 0, QString(), combo->currentText()).toString();
    RunGuarded(this, [this] { rebuildQuery(); });
}

void Tfrm_Bongeszo::titleClick(int column)
{
    const int field = model_->fieldOfColumn(column);
    if (field < 0)
        return;
    sortField_ = Qry->field(field).name;
    Edit1->setFocus();
    MarkSortColumn(DBGrid1, column);
    RunGuarded(this, [this] { rebuildQuery(); });
}

void Tfrm_Bongeszo::searchChanged(const QString& text)
{
    if (text.isEmpty() || !Qry->isActive())
        return;
    const int row = FindSortedRow(*Qry, Qry->fieldIndex(sortField_), text);
    if (row >= 0)
        Qry->moveTo(row);
}

QVariant Tfrm_Bongeszo::currentCassette() const
{
    return Qry->isActive() && Qry->currentRow() >= 0 ? Qry->value(QStringLiteral("vk")) : QVariant();
}

QVariant Tfrm_Bongeszo::currentTrack() const
{
    return Qry->isActive() && Qry->currentRow() >= 0 ? Qry->value(QStringLiteral("felvetel")) : QVariant();
}

bool Tfrm_Bongeszo::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == DBGrid1 && event->type() == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(event);
        const bool plain = !(key->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier));
        if (plain && IsQuickSearchKey(key->text())) {
            Edit1->setFocus();
            Edit1->setText(key->text().toLower());
            Edit1->setCursorPosition(int(Edit1->text().size()));
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

void Tfrm_Bongeszo::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    // After the font size, which the dialog's own set-up applies first.
    HookOwnerDrawMenus(this);
    resizeColumns();
    DBGrid1->setFocus();
}

void Tfrm_Bongeszo::resizeEvent(QResizeEvent* event)
{
    QDialog::resizeEvent(event);
    resizeColumns();
}

void Tfrm_Bongeszo::resizeColumns()
{
    const QList<int> widths = ShareWidths(DBGrid1->width(), ColumnMargin, ColumnShares);
    for (int i = 0; i < widths.size(); ++i)
        DBGrid1->setColumnWidth(i, widths.at(i));
}

void OpenBrowser(Tfrm_Main& mainWindow)
{
    Tfrm_Bongeszo browser(mainWindow.Db1, &mainWindow);
    browser.FormCreate();
    if (browser.exec() == QDialog::Accepted) {
        const QVariant cassette = browser.currentCassette();
        const QVariant track = browser.currentTrack();
        mainWindow.GoToRecording(cassette, track);
    }
}
