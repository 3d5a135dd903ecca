#pragma once

#include <QColor>
#include <QList>
#include <QTableView>

#include <functional>

class QModelIndex;
class QPainter;
class QStyleOptionViewItem;

// The lists' grid: a table view whose title row is drawn through the style as
// header sections that light up under the mouse and look pressed while clicked,
// with a narrow record-indicator column that marks the current row with an
// arrow. Rows are selected whole, the selection stays visible without the
// focus, nothing is edited in place.
//
// Every data cell is first painted the standard way (the selection highlight,
// or else the column's background colour, and the display text with a 2-pixel
// margin in the column's alignment); then the cell painter, when one is set,
// may paint over it.
class TThemeDBGrid : public QTableView
{
    Q_OBJECT
public:
    using CellPainter =
        std::function<void(QPainter*, const QStyleOptionViewItem&, const QModelIndex&)>;

    explicit TThemeDBGrid(QWidget* parent = nullptr);
    ~TThemeDBGrid() override;

    // Whether a title shows the pressed look while the left button is held on
    // it. titleClick fires either way.
    bool AllowTitleClick() const { return allowTitleClick_; }
    void setAllowTitleClick(bool allow);

    void setCellPainter(CellPainter painter);
    const CellPainter& cellPainter() const { return cellPainter_; }

    // Background of a column's cells that are not selected; the window colour
    // (QPalette::Base) until one is set.
    QColor columnColor(int column) const;
    void setColumnColor(int column, const QColor& color);

    // The standard text of a cell drawn on background, which fills the cell:
    // for a cell painter that changes a cell's colour.
    void drawCellText(QPainter* painter, const QStyleOptionViewItem& option,
                      const QModelIndex& index, const QColor& background) const;

Q_SIGNALS:
    // The left button was released on the title of column after a press in the
    // title row that neither resized nor moved a column.
    void titleClick(int column);

protected:
    void currentChanged(const QModelIndex& current, const QModelIndex& previous) override;
    QItemSelectionModel::SelectionFlags selectionCommand(const QModelIndex& index,
                                                         const QEvent* event) const override;
    void changeEvent(QEvent* event) override;
    void keyboardSearch(const QString& search) override;

private:
    void updateRowHeight();

    bool allowTitleClick_ = true;
    CellPainter cellPainter_;
    QList<QColor> columnColors_;
};

// Every column's cells on the window colour, the sort column's on the
// button-face colour.
void MarkSortColumn(TThemeDBGrid* grid, int column);

class DataSet;
// Keeps the grid's current row and the data set's current row together, both ways.
void LinkToDataSet(TThemeDBGrid* grid, DataSet* dataSet);
