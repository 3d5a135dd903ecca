#include "catalogue/data/datasetmodel.h"

#include "catalogue/data/dataset.h"

#include <QScopedValueRollback>

DataSetModel::DataSetModel(DataSet* dataSet, QObject* parent) : QAbstractTableModel(parent), ds_(dataSet)
{
    connect(ds_, &DataSet::aboutToReset, this, &DataSetModel::onAboutToReset);
    connect(ds_, &DataSet::reset, this, &DataSetModel::onReset);
    connect(ds_, &DataSet::rowAboutToBeRemoved, this, [this](int row) {
        if (resetting_ || row >= rows_)
            return;
        beginRemoveRows(QModelIndex(), row, row);
    });
    connect(ds_, &DataSet::rowRemoved, this, [this](int row) {
        if (resetting_ || row >= rows_)
            return;
        --rows_;
        endRemoveRows();
    });
    connect(ds_, &DataSet::rowChanged, this, [this](int row) {
        if (row >= 0 && row < rows_ && !columns_.isEmpty())
            Q_EMIT dataChanged(index(row, 0), index(row, int(columns_.size()) - 1));
    });
    // Rows someone else read (a search, an export) appear at once.
    connect(ds_, &DataSet::rowsAppended, this, [this] {
        if (!resetting_ && !fetching_)
            appendAvailable();
    });
    rebuildColumns();
    rows_ = ds_->isActive() ? ds_->availableRows() : 0;
}

void DataSetModel::appendAvailable()
{
    const int available = ds_->isActive() ? ds_->availableRows() : 0;
    if (available > rows_) {
        // Views may ask for more rows while told of these: not before they are counted.
        QScopedValueRollback<bool> guard(fetching_, true);
        beginInsertRows(QModelIndex(), rows_, available - 1);
        rows_ = available;
        endInsertRows();
    }
}

void DataSetModel::onAboutToReset()
{
    if (resetting_)
        return;
    resetting_ = true;
    beginResetModel();
}

void DataSetModel::onReset()
{
    if (!resetting_)
        beginResetModel();
    rebuildColumns();
    rows_ = ds_ && ds_->isActive() ? ds_->availableRows() : 0;
    resetting_ = false;
    endResetModel();
}

void DataSetModel::setColumns(const QStringList& fieldNames)
{
    beginResetModel();
    wanted_ = fieldNames;
    rebuildColumns();
    endResetModel();
}

void DataSetModel::rebuildColumns()
{
    columns_.clear();
    if (!ds_)
        return;
    if (wanted_.isEmpty()) {
        for (int i = 0; i < ds_->fieldCount(); ++i)
            if (ds_->field(i).visible)
                columns_.append(i);
    } else {
        for (const QString& name : std::as_const(wanted_)) {
            const int i = ds_->fieldIndex(name);
            if (i >= 0)
                columns_.append(i);
        }
    }
}

int DataSetModel::fieldOfColumn(int column) const { return columns_.value(column, -1); }

int DataSetModel::columnOfField(const QString& fieldName) const
{
    const int f = ds_ ? ds_->fieldIndex(fieldName) : -1;
    return f < 0 ? -1 : int(columns_.indexOf(f));
}

int DataSetModel::rowCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : rows_; }

int DataSetModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : int(columns_.size());
}

QVariant DataSetModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || !ds_ || !ds_->isActive() || index.row() >= rows_)
        return QVariant();
    const int f = fieldOfColumn(index.column());
    if (f < 0)
        return QVariant();
    switch (role) {
    case Qt::DisplayRole:
        return ds_->displayTextAt(index.row(), f);
    case Qt::EditRole:
        return ds_->valueAt(index.row(), f);
    case Qt::TextAlignmentRole:
        return QVariant(ds_->field(f).alignment() | Qt::AlignVCenter);
    default:
        return QVariant();
    }
}

QVariant DataSetModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole || !ds_)
        return QAbstractTableModel::headerData(section, orientation, role);
    const int f = fieldOfColumn(section);
    return f < 0 ? QVariant() : QVariant(ds_->field(f).displayLabel);
}

bool DataSetModel::canFetchMore(const QModelIndex& parent) const
{
    return !parent.isValid() && ds_ && ds_->canFetchMore();
}

void DataSetModel::fetchMore(const QModelIndex& parent)
{
    // Listeners of the insert signals may ask for more rows again: one at a time.
    if (parent.isValid() || !ds_ || fetching_)
        return;
    QScopedValueRollback<bool> guard(fetching_, true);
    ds_->fetchMore();
    appendAvailable();
}
