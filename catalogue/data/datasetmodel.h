#pragma once

#include <QAbstractTableModel>
#include <QPointer>
#include <QStringList>

class DataSet;

// The item model the grids show a table or query through. It asks the data
// set for just the rows the view paints and follows every change as the proper
// model signals.
class DataSetModel : public QAbstractTableModel
{
    Q_OBJECT
public:
    explicit DataSetModel(DataSet* dataSet, QObject* parent = nullptr);

    DataSet* dataSet() const { return ds_; }
    // The fields shown, in order; empty means every visible field.
    void setColumns(const QStringList& fieldNames);
    int fieldOfColumn(int column) const;
    int columnOfField(const QString& fieldName) const;

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    bool canFetchMore(const QModelIndex& parent) const override;
    void fetchMore(const QModelIndex& parent) override;

private:
    void rebuildColumns();
    void appendAvailable();
    void onAboutToReset();
    void onReset();

    QPointer<DataSet> ds_;
    QStringList wanted_;
    QList<int> columns_;
    int rows_ = 0;
    bool resetting_ = false;
    bool fetching_ = false;
};
