#include "catalogue/main/themedbgrid.h"

#include "catalogue/data/dataset.h"
#include "common/application.h"

#include <QApplication>
#include <QEvent>
#include <QFontMetrics>
#include <QHeaderView>
#include <QMouseEvent>
#include <QPainter>
#include <QPolygon>
#include <QStyleOptionHeader>
#include <QStyledItemDelegate>

namespace {

// Wide enough for the current-row arrow and its white edge.
constexpr int IndicatorWidth = 12;

// Both header rows start a section's picture from the same plain option; the
// hot and pressed looks are decided by the grid's own state, not Qt's.
class PlainHeader : public QHeaderView
{
public:
    using QHeaderView::QHeaderView;

protected:
    QStyleOptionHeader sectionOption(const QRect& rect, int logicalIndex) const
    {
        QStyleOptionHeader option;
        initStyleOption(&option);
        option.rect = rect;
        option.section = logicalIndex;
        option.state &= ~(QStyle::State_MouseOver | QStyle::State_Sunken | QStyle::State_On);
        return option;
    }
};

// The title row. Which title looks hot or pressed is kept here rather than
// left to QHeaderView, so that a press that resizes a column never presses a
// title, and a grid that does not allow title clicks never shows one pressed.
class ThemeTitleHeader : public PlainHeader
{
public:
    explicit ThemeTitleHeader(TThemeDBGrid* grid) : PlainHeader(Qt::Horizontal, grid), grid_(grid)
    {
        // The header's own clicks would select columns; the grid reports them itself.
        setSectionsClickable(false);
        setHighlightSections(false);
        setSortIndicatorShown(false);
        setStretchLastSection(false);
        setSectionResizeMode(QHeaderView::Interactive);
        setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
        setMouseTracking(true);
        viewport()->setMouseTracking(true);
        connect(this, &QHeaderView::sectionMoved, this, [this] {
            dragging_ = false;
            viewport()->update();
        });
    }

    // The current column changed: no title stays hot.
    void columnLeft()
    {
        hot_ = -1;
        repaintSection(lastCell_);
    }

protected:
    void paintSection(QPainter* painter, const QRect& rect, int logicalIndex) const override
    {
        if (!rect.isValid())
            return;
        QStyleOptionHeader option = sectionOption(rect, logicalIndex);
        option.textAlignment = Qt::AlignLeft | Qt::AlignVCenter;
        const int visual = visualIndex(logicalIndex);
        if (count() == 1)
            option.position = QStyleOptionHeader::OnlyOneSection;
        else if (visual == 0)
            option.position = QStyleOptionHeader::Beginning;
        else if (visual == count() - 1)
            option.position = QStyleOptionHeader::End;
        else
            option.position = QStyleOptionHeader::Middle;

        QRect textRect = rect;
        // Some styles (Fusion among them) draw every header state alike: the
        // button colour is nudged too, so hot and pressed titles always show.
        const QColor button = option.palette.color(QPalette::Button);
        if (titlePressed_ && logicalIndex == pressed_ && grid_->AllowTitleClick()) {
            option.state |= QStyle::State_Sunken;
            option.palette.setColor(QPalette::Button, button.darker(112));
            textRect = rect.adjusted(1, -1, -1, 1);
        } else if (logicalIndex == hot_) {
            option.state |= QStyle::State_MouseOver;
            const QColor light = option.palette.color(QPalette::Highlight);
            option.palette.setColor(QPalette::Button,
                                    QColor((button.red() * 4 + light.red()) / 5,
                                           (button.green() * 4 + light.green()) / 5,
                                           (button.blue() * 4 + light.blue()) / 5));
        }
        style()->drawControl(QStyle::CE_HeaderSection, &option, painter, this);

        const QString caption =
            model() ? model()->headerData(logicalIndex, Qt::Horizontal).toString() : QString();
        if (caption.isEmpty())
            return;
        const QFontMetrics metrics(font(), painter->device());
        painter->save();
        painter->setClipRect(rect, Qt::IntersectClip);
        painter->setFont(font());
        painter->setPen(option.palette.color(QPalette::ButtonText));
        // Always left-aligned; a pressed caption sits 1 pixel lower and to the right.
        const int top = rect.top() + textRect.height() / 2 - metrics.height() / 2;
        painter->drawText(textRect.left() + 2, top + metrics.ascent(), caption);
        painter->restore();
    }

    void mousePressEvent(QMouseEvent* event) override
    {
        press(event);
        QHeaderView::mousePressEvent(event);
    }

    void mouseDoubleClickEvent(QMouseEvent* event) override
    {
        // The second press of a double click counts as a press of its own.
        press(event);
        QHeaderView::mouseDoubleClickEvent(event);
    }

    void mouseMoveEvent(QMouseEvent* event) override
    {
        const QPoint pos = event->position().toPoint();
        if (leftPressed_ && !sizing_ && !dragging_ && sectionsMovable() &&
            (event->buttons() & Qt::LeftButton) &&
            qAbs(pos.x() - pressX_) >= QApplication::startDragDistance())
            dragging_ = true;
        if (!sizing_ && !dragging_) {
            hot_ = -1;
            const int column = logicalIndexAt(pos.x());
            if (column >= 0) {
                repaintSection(column);
                hot_ = column;
            }
            repaintSection(lastCell_);
            lastCell_ = column;
        }
        QHeaderView::mouseMoveEvent(event);
    }

    void mouseReleaseEvent(QMouseEvent* event) override
    {
        const QPoint pos = event->position().toPoint();
        const bool click = event->button() == Qt::LeftButton && leftPressed_ && !sizing_ &&
                           !dragging_ && rect().contains(pos);
        QHeaderView::mouseReleaseEvent(event);
        if (event->button() == Qt::LeftButton)
            leftPressed_ = false;
        if (click) {
            const int column = logicalIndexAt(pos.x());
            if (column >= 0)
                titleClick(column);
        }
        sizing_ = false;
        dragging_ = false;
        pressed_ = -1;
        viewport()->update();
    }

    bool viewportEvent(QEvent* event) override
    {
        if (event->type() == QEvent::Leave) {
            repaintSection(lastCell_);
            lastCell_ = -1;
            hot_ = -1;
            pressed_ = -1;
        }
        return QHeaderView::viewportEvent(event);
    }

private:
    void press(QMouseEvent* event)
    {
        const int x = event->position().toPoint().x();
        const int handle = handleAt(x);
        sizing_ = event->button() == Qt::LeftButton && handle >= 0 &&
                  sectionResizeMode(handle) == QHeaderView::Interactive;
        if (event->button() == Qt::LeftButton) {
            leftPressed_ = !sizing_;
            pressX_ = x;
            dragging_ = false;
        }
        if (sizing_)
            return;
        pressed_ = -1;
        titlePressed_ = false;
        if (grid_->AllowTitleClick())
            hot_ = -1;
        const int column = logicalIndexAt(x);
        if (event->button() == Qt::LeftButton && column >= 0 && grid_->AllowTitleClick()) {
            titlePressed_ = true;
            pressed_ = column;
            repaintSection(lastCell_);
            repaintSection(column);
            lastCell_ = column;
        }
    }

    void titleClick(int column)
    {
        Q_EMIT grid_->titleClick(column);
        if (grid_->AllowTitleClick()) {
            titlePressed_ = false;
            pressed_ = -1;
            repaintSection(lastCell_);
        }
    }

    // The section whose right border lies under x, as QHeaderView finds the
    // border it resizes; -1 when x is on no border.
    int handleAt(int x) const
    {
        int visual = visualIndexAt(x);
        if (visual < 0)
            return -1;
        const int logical = logicalIndex(visual);
        const int start = sectionViewportPosition(logical);
        const int grip = style()->pixelMetric(QStyle::PM_HeaderGripMargin, nullptr, this);
        bool atStart = x < start + grip;
        bool atEnd = x > start + sectionSize(logical) - grip;
        if (isRightToLeft())
            std::swap(atStart, atEnd);
        if (atStart) {
            while (--visual >= 0) {
                const int before = logicalIndex(visual);
                if (!isSectionHidden(before))
                    return before;
            }
            return -1;
        }
        return atEnd ? logical : -1;
    }

    void repaintSection(int logical)
    {
        if (logical >= 0 && logical < count())
            updateSection(logical);
    }

    TThemeDBGrid* grid_;
    int hot_ = -1;
    int pressed_ = -1;
    bool titlePressed_ = false;
    bool sizing_ = false;
    bool dragging_ = false;
    int lastCell_ = -1;
    // A left press began on a title (not on a border): its release is a title click.
    bool leftPressed_ = false;
    int pressX_ = 0;
};

// The record-indicator column: a plain header background, with an arrow on
// the current row.
class IndicatorHeader : public PlainHeader
{
public:
    explicit IndicatorHeader(TThemeDBGrid* grid) : PlainHeader(Qt::Vertical, grid), grid_(grid)
    {
        setSectionResizeMode(QHeaderView::Fixed);
        setHighlightSections(false);
        setMinimumSectionSize(1);
        setFixedWidth(IndicatorWidth);
    }

protected:
    void paintSection(QPainter* painter, const QRect& rect, int logicalIndex) const override
    {
        if (!rect.isValid())
            return;
        QStyleOptionHeader option = sectionOption(rect, logicalIndex);
        style()->drawControl(QStyle::CE_HeaderEmptyArea, &option, painter, this);
        const QModelIndex current = grid_->currentIndex();
        if (!current.isValid() || current.row() != logicalIndex)
            return;
        painter->save();
        painter->setRenderHint(QPainter::Antialiasing, false);
        // Drawn white one pixel to the right first, so a white edge shows beside the black.
        drawArrow(painter, rect.left() + 4, rect.top() + 3, Qt::white);
        drawArrow(painter, rect.left() + 3, rect.top() + 3, Qt::black);
        painter->restore();
    }

private:
    void drawArrow(QPainter* painter, int x, int y, const QColor& colour) const
    {
        QPolygon arrow;
        if (isRightToLeft())
            arrow << QPoint(x + 5, y) << QPoint(x, y + 5) << QPoint(x + 5, y + 10);
        else
            arrow << QPoint(x, y) << QPoint(x + 5, y + 5) << QPoint(x, y + 10);
        painter->setPen(colour);
        painter->setBrush(colour);
        painter->drawPolygon(arrow);
    }

    TThemeDBGrid* grid_;
};

class ThemeGridDelegate : public QStyledItemDelegate
{
public:
    explicit ThemeGridDelegate(TThemeDBGrid* grid) : QStyledItemDelegate(grid), grid_(grid) {}

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override
    {
        // Only what the standard look needs is read from the model: the grids
        // repaint whole screens of cells at every move.
        QStyleOptionViewItem cell(option);
        const QVariant value = index.data(Qt::DisplayRole);
        cell.text = value.userType() == QMetaType::QString ? value.toString()
                                                           : displayText(value, cell.locale);
        cell.features |= QStyleOptionViewItem::HasDisplay;
        const QVariant alignment = index.data(Qt::TextAlignmentRole);
        cell.displayAlignment = alignment.isValid()
                                    ? Qt::Alignment(alignment.toInt())
                                    : Qt::Alignment(Qt::AlignLeft | Qt::AlignVCenter);
        const bool selected = cell.state & QStyle::State_Selected;
        // The selection keeps its colours when the grid loses the focus.
        const QColor background =
            selected
                ? cell.palette.color(grid_->isEnabled() ? QPalette::Active : QPalette::Disabled,
                                     QPalette::Highlight)
                : grid_->columnColor(index.column());
        grid_->drawCellText(painter, cell, index, background);
        if (const auto& painterHook = grid_->cellPainter())
            painterHook(painter, cell, index);
    }

private:
    TThemeDBGrid* grid_;
};

} // namespace

TThemeDBGrid::TThemeDBGrid(QWidget* parent) : QTableView(parent)
{
    setHorizontalHeader(new ThemeTitleHeader(this));
    setVerticalHeader(new IndicatorHeader(this));
    setItemDelegate(new ThemeGridDelegate(this));
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setShowGrid(true);
    setWordWrap(false);
    setCornerButtonEnabled(false);
    // Tab leaves the grid for the next control instead of walking its cells.
    setTabKeyNavigation(false);
    updateRowHeight();
}

TThemeDBGrid::~TThemeDBGrid() = default;

void TThemeDBGrid::setAllowTitleClick(bool allow)
{
    if (allowTitleClick_ == allow)
        return;
    allowTitleClick_ = allow;
    horizontalHeader()->viewport()->update();
}

void TThemeDBGrid::setCellPainter(CellPainter painter)
{
    cellPainter_ = std::move(painter);
    viewport()->update();
}

QColor TThemeDBGrid::columnColor(int column) const
{
    const QColor color = columnColors_.value(column);
    return color.isValid() ? color : palette().color(QPalette::Active, QPalette::Base);
}

void TThemeDBGrid::setColumnColor(int column, const QColor& color)
{
    if (column < 0)
        return;
    if (columnColors_.size() <= column)
        columnColors_.resize(column + 1);
    columnColors_[column] = color;
    viewport()->update();
}

void TThemeDBGrid::drawCellText(QPainter* painter, const QStyleOptionViewItem& option,
                                const QModelIndex& index, const QColor& background) const
{
    painter->fillRect(option.rect, background);
    QString text = option.text;
    if (!(option.features & QStyleOptionViewItem::HasDisplay))
        text = index.data(Qt::DisplayRole).toString();
    if (text.isEmpty())
        return;
    Qt::Alignment alignment = option.displayAlignment;
    if (!(alignment & Qt::AlignVertical_Mask))
        alignment |= Qt::AlignVCenter;
    const QPalette::ColorGroup group = isEnabled() ? QPalette::Active : QPalette::Disabled;
    const bool selected = option.state & QStyle::State_Selected;
    painter->save();
    painter->setClipRect(option.rect, Qt::IntersectClip);
    painter->setFont(option.font);
    painter->setPen(
        option.palette.color(group, selected ? QPalette::HighlightedText : QPalette::Text));
    painter->drawText(option.rect.adjusted(2, 0, -2, 0), int(alignment) | Qt::TextSingleLine, text);
    painter->restore();
}

void TThemeDBGrid::currentChanged(const QModelIndex& current, const QModelIndex& previous)
{
    QTableView::currentChanged(current, previous);
    if (current.row() != previous.row())
        verticalHeader()->viewport()->update();
    if (current.column() != previous.column())
        static_cast<ThemeTitleHeader*>(horizontalHeader())->columnLeft();
}

QItemSelectionModel::SelectionFlags TThemeDBGrid::selectionCommand(const QModelIndex& index,
                                                                   const QEvent*) const
{
    // The selected row is always the current one: nothing toggles or clears it.
    if (!index.isValid())
        return QItemSelectionModel::NoUpdate;
    return QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows;
}

void TThemeDBGrid::changeEvent(QEvent* event)
{
    QTableView::changeEvent(event);
    if (event->type() == QEvent::FontChange)
        updateRowHeight();
}

void TThemeDBGrid::keyboardSearch(const QString&)
{
    // The windows' quick-search fields take typed text; the view's own
    // type-ahead would move the row behind their back.
}

void TThemeDBGrid::updateRowHeight()
{
    verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 4);
}

void MarkSortColumn(TThemeDBGrid* grid, int column)
{
    if (!grid)
        return;
    const int count = grid->model() ? grid->model()->columnCount() : 0;
    const QPalette& palette = grid->palette();
    for (int c = 0; c < count; ++c)
        grid->setColumnColor(
            c, palette.color(QPalette::Active, c == column ? QPalette::Button : QPalette::Base));
}

void LinkToDataSet(TThemeDBGrid* grid, DataSet* ds)
{
    QObject::connect(ds, &DataSet::currentRowChanged, grid, [grid](int row) {
        if (row >= 0 && grid->model() && row < grid->model()->rowCount())
            grid->selectRow(row);
    });
    QObject::connect(ds, &DataSet::reset, grid, [grid, ds] {
        if (ds->currentRow() >= 0)
            grid->selectRow(ds->currentRow());
    });
    QObject::connect(grid->selectionModel(), &QItemSelectionModel::currentRowChanged, ds,
                     [grid, ds](const QModelIndex& current) {
                         if (current.isValid() && ds->isActive() && ds->state() == DataSet::State::Browse &&
                             current.row() != ds->currentRow())
                             RunGuarded(grid->window(), [&] { ds->moveTo(current.row()); });
                     });
}
