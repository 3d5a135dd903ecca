// The main window's two lists: master and detail, quick search, sorting,
// painting, column widths and font size.
#include "catalogue/data/datasetmodel.h"
#include "catalogue/main/frm_main.h"
#include "catalogue/main/mainlists.h"
#include "catalogue/main/settings.h"
#include "catalogue/main/themedbgrid.h"
#include "common/application.h"
#include "common/values.h"

#include <QAction>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPainter>
#include <QPlainTextEdit>
#include <QStyleOptionViewItem>

namespace {

const QIcon& redBall()
{
    static const QIcon icon(QStringLiteral(":/icons/redball"));
    return icon;
}

} // namespace

void Tfrm_Main::connectLists()
{
    LinkToDataSet(DBGrid1, TblVK);
    LinkToDataSet(DBGrid2, TblFelvetel);
    connect(TblVK, &DataSet::afterScroll, this, &Tfrm_Main::TblVKAfterScroll);
    for (auto signal : {&DataSet::afterScroll, &DataSet::afterPost, &DataSet::afterCancel, &DataSet::reset})
        connect(TblVK, signal, this, &Tfrm_Main::showCassetteDetails);
    for (auto signal : {&DataSet::afterScroll, &DataSet::afterPost, &DataSet::afterCancel, &DataSet::reset})
        connect(TblFelvetel, signal, this, &Tfrm_Main::showRecordingDetails);
    connect(TblVK, &DataSet::currentRowChanged, this, &Tfrm_Main::ShowRecordCount);

    connect(Edit1, &QLineEdit::textChanged, this, [this](const QString& text) { QuickSearch(*TblVK, text); });
    connect(Edit2, &QLineEdit::textChanged, this, [this](const QString& text) { QuickSearch(*TblFelvetel, text); });
    for (QObject* o : {static_cast<QObject*>(Edit1), static_cast<QObject*>(Edit2), static_cast<QObject*>(DBGrid1),
                       static_cast<QObject*>(DBGrid2), static_cast<QObject*>(pVK), static_cast<QObject*>(pFelvetel)})
        o->installEventFilter(this);

    connect(DBGrid1, &TThemeDBGrid::titleClick, this, &Tfrm_Main::DBGrid1TitleClick);
    connect(DBGrid2, &TThemeDBGrid::titleClick, this, &Tfrm_Main::DBGrid2TitleClick);
    connect(DBGrid1, &QAbstractItemView::doubleClicked, this,
            [this] { action(QStringLiteral("aSzerkeszt"))->trigger(); });
    connect(DBGrid2, &QAbstractItemView::doubleClicked, this,
            [this] { action(QStringLiteral("aFelvSzerkeszt"))->trigger(); });
    connect(DBGrid1, &QWidget::customContextMenuRequested, this,
            [this](const QPoint& pos) { PopupMenu1->exec(DBGrid1->viewport()->mapToGlobal(pos)); });
    connect(DBGrid2, &QWidget::customContextMenuRequested, this,
            [this](const QPoint& pos) { PopupMenu2->exec(DBGrid2->viewport()->mapToGlobal(pos)); });

    DBGrid1->setCellPainter([this](QPainter* p, const QStyleOptionViewItem& o, const QModelIndex& i) {
        paintCassetteCell(p, o, i);
    });
    DBGrid2->setCellPainter([this](QPainter* p, const QStyleOptionViewItem& o, const QModelIndex& i) {
        paintRecordingCell(p, o, i);
    });
    // The grids get their columns when the tables open: only then can they be
    // sized and the sort column marked.
    connect(TblVK, &DataSet::afterOpen, this, [this] {
        DBGrid1->setColumnWidth(0, 47);
        DBGrid1->setColumnWidth(4, 109);
        MarkSortColumn(DBGrid1, vkSortColumn_);
        resizeColumns();
    });
    connect(TblFelvetel, &DataSet::afterOpen, this, [this] {
        DBGrid2->setColumnWidth(1, 146);
        MarkSortColumn(DBGrid2, felvetelSortColumn_);
        resizeColumns();
    });
}

void Tfrm_Main::DBGrid1TitleClick(int column)
{
    if (sortList(DBGrid1, TblVK, vkModel_, Edit1, column))
        vkSortColumn_ = column;
    ShowRecordCount();
}

void Tfrm_Main::DBGrid2TitleClick(int column)
{
    if (sortList(DBGrid2, TblFelvetel, felvetelModel_, Edit2, column))
        felvetelSortColumn_ = column;
}

bool Tfrm_Main::sortList(TThemeDBGrid* grid, Table* table, DataSetModel* model, QLineEdit* search, int column)
{
    search->setFocus();
    const QString field = table->field(model->fieldOfColumn(column)).name;
    // A field without an index is refused: the order and the marks stay.
    if (!RunGuarded(this, [&] { table->setOrderBy(field); }))
        return false;
    MarkSortColumn(grid, column);
    return true;
}

void Tfrm_Main::typeIntoSearch(QLineEdit* edit, const QString& typed)
{
    edit->setFocus();
    edit->setText(typed.toLower());
    edit->setCursorPosition(int(edit->text().size()));
}

bool Tfrm_Main::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(event);
        const bool plain = !(key->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier));
        if ((watched == DBGrid1 || watched == DBGrid2) && plain && IsQuickSearchKey(key->text())) {
            typeIntoSearch(watched == DBGrid1 ? Edit1 : Edit2, key->text());
            return true;
        }
        if ((watched == Edit1 || watched == Edit2) && key->key() == Qt::Key_Down) {
            (watched == Edit1 ? DBGrid1 : DBGrid2)->setFocus();
            return true;
        }
    } else if (event->type() == QEvent::Resize && (watched == pVK || watched == pFelvetel)) {
        resizeColumns();
    }
    return QMainWindow::eventFilter(watched, event);
}

void Tfrm_Main::resizeColumns()
{
    const QList<int> cassette = ShareWidths(pVK->width(), CassetteWidthOffset, CassetteColumnShares);
    for (int i = 0; i < cassette.size(); ++i)
        DBGrid1->setColumnWidth(i + 1, cassette.at(i));
    const QList<int> recording = ShareWidths(pFelvetel->width(), RecordingWidthOffset, RecordingColumnShares);
    for (int i = 0; i < recording.size(); ++i)
        DBGrid2->setColumnWidth(i, recording.at(i));
}

void Tfrm_Main::paintCassetteCell(QPainter* p, const QStyleOptionViewItem& option, const QModelIndex& index)
{
    if (!TblVK->isActive())
        return;
    const bool selected = option.state & QStyle::State_Selected;
    const int row = index.row();
    const QVariant lent = TblVK->valueAt(row, TblVK->indexOf(QStringLiteral("kolcsonadva")));
    const auto background =
        CassetteCellBackground(selected, TblVK->valueAt(row, TblVK->indexOf(QStringLiteral("vk"))), row + 1,
                               index.column() == vkSortColumn_, lent, palette().color(QPalette::Button));
    if (index.column() == 0) {
        // The lending column shows a red ball for a lent cassette, never the letter.
        QColor fill = background.value_or(selected ? option.palette.color(QPalette::Highlight)
                                                   : DBGrid1->columnColor(0));
        p->fillRect(option.rect, fill);
        if (lent.toString() == QLatin1String("I"))
            redBall().paint(p, QRect(option.rect.left() + 15, option.rect.top(), 16, 16));
        return;
    }
    if (background)
        DBGrid1->drawCellText(p, option, index, *background);
}

void Tfrm_Main::paintRecordingCell(QPainter* p, const QStyleOptionViewItem& option, const QModelIndex& index)
{
    if (!TblFelvetel->isActive())
        return;
    const bool selected = option.state & QStyle::State_Selected;
    const auto background = RecordingCellBackground(
        selected, TblFelvetel->valueAt(index.row(), TblFelvetel->indexOf(QStringLiteral("felvetel"))),
        index.column() == felvetelSortColumn_);
    if (background)
        DBGrid2->drawCellText(p, option, index, *background);
}

void Tfrm_Main::showCassetteDetails()
{
    const bool any = TblVK->isActive() && (TblVK->currentRow() >= 0 || TblVK->state() == DataSet::State::Insert);
    DBMemo2->setPlainText(any ? TblVK->displayText(QStringLiteral("megjegyzes")) : QString());
    lblDatKolcs_->setText(any ? TblVK->displayText(QStringLiteral("dat_kolcs")) : QString());
    lblKinek_->setText(any ? TblVK->displayText(QStringLiteral("kinek")) : QString());
}

void Tfrm_Main::showRecordingDetails()
{
    const bool any = TblFelvetel->isActive() &&
                     (TblFelvetel->currentRow() >= 0 || TblFelvetel->state() == DataSet::State::Insert);
    const auto text = [&](const char* field) {
        return any ? TblFelvetel->displayText(QLatin1String(field)) : QString();
    };
    DBMemo1->setPlainText(text("megjegyzes"));
    lblCim_->setText(text("cim"));
    lblSzereplok_->setText(text("szereplok"));
    lblMinoseg_->setText(text("minoseg_nev"));
    lblRendezte_->setText(text("rendezte"));
    lblMufaj_->setText(text("mufaj_nev"));
    lblTrack_->setText(text("felvetel"));
}

void Tfrm_Main::applyFontSize()
{
    QFont f = font();
    f.setPointSize(TBeall.FontSize);
    setFont(f);
    for (QLineEdit* edit : {Edit1, Edit2}) {
        QFont ef = edit->font();
        ef.setPointSize(TBeall.FontSize);
        edit->setFont(ef);
    }
}

void Tfrm_Main::aBetuNovelExecute()
{
    const int size = FontSizeUp(TBeall.FontSize);
    if (size == TBeall.FontSize)
        return;
    TBeall.FontSize = size;
    applyFontSize();
}

void Tfrm_Main::aBetuCsokkentExecute()
{
    const int size = FontSizeDown(TBeall.FontSize);
    if (size == TBeall.FontSize)
        return;
    TBeall.FontSize = size;
    applyFontSize();
}
