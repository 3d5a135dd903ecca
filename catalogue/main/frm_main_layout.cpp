// Building the main window: actions, menus, tool bars and the two list panels.
#include "catalogue/data/datasetmodel.h"
#include "catalogue/main/actions.h"
#include "catalogue/main/frm_main.h"
#include "catalogue/main/mainlists.h"
#include "catalogue/main/themedbgrid.h"

#include <QAction>
#include <QGridLayout>
#include <QHeaderView>
#include <QHBoxLayout>
#include <QIcon>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QSplitter>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>

namespace {

// The splitter's handle refuses a cassette panel of 400 pixels or less.
class LimitedHandle : public QSplitterHandle
{
public:
    using QSplitterHandle::QSplitterHandle;

protected:
    void mousePressEvent(QMouseEvent* e) override
    {
        if (e->button() == Qt::LeftButton)
            offset_ = int(e->position().x());
    }
    void mouseMoveEvent(QMouseEvent* e) override
    {
        if (!(e->buttons() & Qt::LeftButton))
            return;
        const int pos = splitter()->mapFromGlobal(e->globalPosition().toPoint()).x() - offset_;
        if (SplitterAccepts(pos))
            moveSplitter(pos);
    }

private:
    int offset_ = 0;
};

class LimitedSplitter : public QSplitter
{
public:
    using QSplitter::QSplitter;

protected:
    QSplitterHandle* createHandle() override { return new LimitedHandle(orientation(), this); }
};

QLabel* greyLabel(const QString& text, QWidget* parent)
{
    auto* l = new QLabel(text, parent);
    QPalette p = l->palette();
    p.setColor(QPalette::WindowText, QColor(128, 128, 128));
    l->setPalette(p);
    return l;
}

QLabel* valueLabel(QWidget* parent, bool wrap = false)
{
    auto* l = new QLabel(parent);
    l->setWordWrap(wrap);
    l->setTextInteractionFlags(Qt::TextSelectableByMouse);
    return l;
}

QPlainTextEdit* memo(const QString& name, QWidget* parent)
{
    auto* m = new QPlainTextEdit(parent);
    m->setObjectName(name);
    m->setReadOnly(true);
    m->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    QFont f(QStringLiteral("Courier New"));
    f.setPixelSize(12);
    m->setFont(f);
    m->setMaximumHeight(80);
    return m;
}

} // namespace

void Tfrm_Main::createActions()
{
    for (const ActionDef& def : MainActions()) {
        auto* a = new QAction(QString::fromUtf8(def.caption), this);
        const QString name = QString::fromUtf8(def.name);
        a->setObjectName(name);
        a->setStatusTip(QString::fromUtf8(def.hint));
        a->setToolTip(QString::fromUtf8(def.hint));
        a->setShortcuts(ShortcutKeys(def.shortcut));
        if (qstrcmp(def.shortcut, def.shownShortcut) != 0)
            a->setText(a->text() + QLatin1Char('\t') + QString::fromUtf8(def.shownShortcut));
        const QIcon icon(QStringLiteral(":/icons/") + name);
        if (!icon.availableSizes().isEmpty())
            a->setIcon(icon);
        a->setIconVisibleInMenu(true);
        // A command whose window is not built yet is shown, but cannot be used.
        a->setEnabled(false);
        addAction(a);
        actions_.insert(name, a);
    }
    for (const char* ready : {"aKilep", "aBetuNovel", "aBetuCsokkent"})
        actions_.value(QLatin1String(ready))->setEnabled(true);
    connect(actions_.value(QStringLiteral("aKilep")), &QAction::triggered, this, &QWidget::close);
    connect(actions_.value(QStringLiteral("aBetuNovel")), &QAction::triggered, this, &Tfrm_Main::aBetuNovelExecute);
    connect(actions_.value(QStringLiteral("aBetuCsokkent")), &QAction::triggered, this,
            &Tfrm_Main::aBetuCsokkentExecute);
}

void Tfrm_Main::createMenus()
{
    QMenuBar* bar = menuBar();
    bar->setObjectName(QStringLiteral("MainMenu1"));
    for (const MenuDef& def : MainMenus()) {
        QMenu* menu = bar->addMenu(QString::fromUtf8(def.caption));
        for (const char* entry : def.entries) {
            if (qstrcmp(entry, "-") == 0)
                menu->addSeparator();
            else
                menu->addAction(actions_.value(QLatin1String(entry)));
        }
    }
    QToolBar* tools = createToolBar(MainToolBarEntries(), QSize(), false);
    tools->setObjectName(QStringLiteral("ToolBar1"));
    tools->setMovable(false);
    addToolBar(Qt::TopToolBarArea, tools);

    PopupMenu1 = new QMenu(this);
    PopupMenu1->setObjectName(QStringLiteral("PopupMenu1"));
    PopupMenu2 = new QMenu(this);
    PopupMenu2->setObjectName(QStringLiteral("PopupMenu2"));
    for (auto [menu, entries] : {std::pair{PopupMenu1, CassettePopupEntries()},
                                 std::pair{PopupMenu2, RecordingPopupEntries()}}) {
        for (const char* entry : entries) {
            if (qstrcmp(entry, "-") == 0)
                menu->addSeparator();
            else
                menu->addAction(actions_.value(QLatin1String(entry)));
        }
    }
}

QToolBar* Tfrm_Main::createToolBar(const QList<const char*>& entries, QSize buttonSize, bool captions)
{
    auto* bar = new QToolBar(this);
    bar->setIconSize(QSize(16, 16));
    bar->setToolButtonStyle(captions ? Qt::ToolButtonTextUnderIcon : Qt::ToolButtonIconOnly);
    for (const char* entry : entries) {
        if (qstrcmp(entry, "-") == 0) {
            bar->addSeparator();
            continue;
        }
        QAction* a = actions_.value(QLatin1String(entry));
        bar->addAction(a);
        if (auto* button = qobject_cast<QToolButton*>(bar->widgetForAction(a))) {
            button->setAutoRaise(true);
            button->setAccessibleName(a->statusTip());
            if (buttonSize.isValid())
                button->setFixedSize(buttonSize);
        }
    }
    return bar;
}

QWidget* Tfrm_Main::createHeading(const QString& caption, int height, int fontPixels, QLineEdit* search)
{
    auto* heading = new QWidget(this);
    heading->setFixedHeight(height);
    auto* row = new QHBoxLayout(heading);
    row->setContentsMargins(2, 0, 4, 0);
    if (search)
        row->addWidget(search);
    row->addStretch();
    auto* title = new QLabel(caption, heading);
    QFont f(fontPixels > 0 ? QStringLiteral("Arial") : font().family());
    if (fontPixels > 0)
        f.setPixelSize(fontPixels);
    f.setBold(true);
    title->setFont(f);
    title->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    row->addWidget(title);
    if (search)
        title->setBuddy(search);
    return heading;
}

void Tfrm_Main::createSplitter()
{
    Splitter1 = new LimitedSplitter(Qt::Horizontal, this);
    Splitter1->setObjectName(QStringLiteral("Splitter1"));
    Splitter1->setOpaqueResize(true);
    Splitter1->setChildrenCollapsible(false);
}

QWidget* Tfrm_Main::createCassettePanel()
{
    auto* panel = new QWidget(Splitter1);
    panel->setObjectName(QStringLiteral("pVK"));
    auto* col = new QVBoxLayout(panel);
    col->setContentsMargins(0, 0, 0, 0);
    col->setSpacing(0);
    col->addWidget(createToolBar(CassetteToolBarEntries(), QSize(55, 36), true));

    Edit1 = new QLineEdit(panel);
    Edit1->setObjectName(QStringLiteral("Edit1"));
    Edit1->setFixedWidth(121);
    Edit1->setAccessibleName(QStringLiteral("Keresés a kazetták között"));
    col->addWidget(createHeading(QStringLiteral("Videokazetták"), 31, 15, Edit1));

    DBGrid1 = new TThemeDBGrid(panel);
    DBGrid1->setObjectName(QStringLiteral("DBGrid1"));
    vkModel_ = new DataSetModel(TblVK, DBGrid1);
    vkModel_->setColumns({QStringLiteral("kolcsonadva"), QStringLiteral("vk"), QStringLiteral("hossz"),
                          QStringLiteral("szabad"), QStringLiteral("tipus_nev")});
    DBGrid1->setModel(vkModel_);
    // The titles keep their own font when the font-size actions change the rows'.
    DBGrid1->horizontalHeader()->setFont(QFont(QStringLiteral("Tahoma"), 8));
    DBGrid1->setContextMenuPolicy(Qt::CustomContextMenu);
    col->addWidget(DBGrid1, 1);

    col->addWidget(createHeading(QStringLiteral("Megjegyzés (kazettához)  "), 25, 0, nullptr));
    DBMemo2 = memo(QStringLiteral("DBMemo2"), panel);
    col->addWidget(DBMemo2);

    auto* details = new QWidget(panel);
    auto* grid = new QGridLayout(details);
    grid->setContentsMargins(4, 2, 4, 2);
    lblDatKolcs_ = valueLabel(details);
    lblKinek_ = valueLabel(details);
    QLabel* l1 = greyLabel(QStringLiteral("kölcsönadva"), details);
    QLabel* l2 = greyLabel(QStringLiteral("kinek"), details);
    l1->setBuddy(lblDatKolcs_);
    l2->setBuddy(lblKinek_);
    grid->addWidget(l1, 0, 0);
    grid->addWidget(lblDatKolcs_, 0, 1);
    grid->addWidget(l2, 1, 0);
    grid->addWidget(lblKinek_, 1, 1);
    grid->setColumnStretch(1, 1);
    col->addWidget(details);

    Splitter1->addWidget(panel);
    return panel;
}

QWidget* Tfrm_Main::createRecordingPanel()
{
    auto* panel = new QWidget(Splitter1);
    panel->setObjectName(QStringLiteral("pFelvetel"));
    auto* col = new QVBoxLayout(panel);
    col->setContentsMargins(0, 0, 0, 0);
    col->setSpacing(0);
    col->addWidget(createToolBar(RecordingToolBarEntries(), QSize(53, 36), true));

    Edit2 = new QLineEdit(panel);
    Edit2->setObjectName(QStringLiteral("Edit2"));
    Edit2->setFixedWidth(121);
    Edit2->setAccessibleName(QStringLiteral("Keresés a felvételek között"));
    col->addWidget(createHeading(QStringLiteral("Felvételek"), 31, 15, Edit2));

    DBGrid2 = new TThemeDBGrid(panel);
    DBGrid2->setObjectName(QStringLiteral("DBGrid2"));
    felvetelModel_ = new DataSetModel(TblFelvetel, DBGrid2);
    felvetelModel_->setColumns({QStringLiteral("felvetel"), QStringLiteral("cim"), QStringLiteral("hossz"),
                                QStringLiteral("datum"), QStringLiteral("szamlalo_tol"),
                                QStringLiteral("szamlalo_ig")});
    DBGrid2->setModel(felvetelModel_);
    DBGrid2->horizontalHeader()->setFont(QFont(QStringLiteral("Tahoma"), 8));
    DBGrid2->setContextMenuPolicy(Qt::CustomContextMenu);
    col->addWidget(DBGrid2, 1);

    col->addWidget(createHeading(QStringLiteral("Megjegyzés (felvételhez)  "), 25, 0, nullptr));
    DBMemo1 = memo(QStringLiteral("DBMemo1"), panel);
    col->addWidget(DBMemo1);

    auto* details = new QWidget(panel);
    auto* grid = new QGridLayout(details);
    grid->setContentsMargins(4, 2, 4, 2);
    lblCim_ = valueLabel(details, true);
    QFont bold = lblCim_->font();
    bold.setBold(true);
    lblCim_->setFont(bold);
    lblCim_->setAccessibleName(QStringLiteral("cím"));
    grid->addWidget(lblCim_, 0, 0, 1, 4);
    const auto pair = [&](const char* caption, QLabel*& value, int row, int column, bool wrap) {
        value = valueLabel(details, wrap);
        QLabel* l = greyLabel(QString::fromUtf8(caption), details);
        l->setBuddy(value);
        grid->addWidget(l, row, column);
        grid->addWidget(value, row, column + 1);
    };
    pair("szereplők", lblSzereplok_, 1, 0, true);
    pair("minőség", lblMinoseg_, 2, 0, false);
    pair("rendezte", lblRendezte_, 2, 2, false);
    pair("műfaj", lblMufaj_, 3, 0, false);
    pair("track", lblTrack_, 3, 2, false);
    auto* picture = new QLabel(details);
    picture->setFixedSize(77, 77);
    picture->setPixmap(QIcon(QStringLiteral(":/icons/cassette")).pixmap(77, 77));
    grid->addWidget(picture, 1, 4, 3, 1, Qt::AlignRight | Qt::AlignTop);
    grid->setColumnStretch(1, 1);
    grid->setColumnStretch(3, 1);
    col->addWidget(details);

    Splitter1->addWidget(panel);
    Splitter1->setStretchFactor(1, 1);
    Splitter1->setSizes({400, 390});
    return panel;
}
