#pragma once

#include "catalogue/data/database.h"
#include "catalogue/data/dataset.h"
#include "catalogue/data/sqlite.h"

#include <QFlags>
#include <QHash>

#include <functional>
#include <vector>

enum class LocateOption
{
    CaseInsensitive = 0x1,
    PartialKey = 0x2, // the value is a leading part of the field's text
};
Q_DECLARE_FLAGS(LocateOptions, LocateOption)
Q_DECLARE_OPERATORS_FOR_FLAGS(LocateOptions)

// A table of the store opened by name, in the order of an indexed field,
// optionally restricted by a "field=value" filter. It keeps only the row ids of
// its rows in order and reads the rows themselves when they are asked for.
// Every post and delete is committed (or joins the open transaction) before
// the call returns.
class Table : public DataSet
{
    Q_OBJECT
public:
    explicit Table(Database& db, const QString& tableName = QString(), QObject* parent = nullptr);
    ~Table() override;

    void setTableName(const QString& name);
    QString tableName() const { return tableName_; }
    void setReadOnly(bool readOnly) { readOnly_ = readOnly; }
    bool isReadOnly() const { return readOnly_; }

    // Orders by an indexed field, or by the key fields when `field` is empty.
    // A field without an index is refused with DbError and the order stays.
    void setOrderBy(const QString& field);
    QString orderBy() const { return orderBy_; }
    bool canOrderBy(const QString& field) const;

    // "vk=12": only rows whose field equals the value; empty text restricts nothing.
    void setFilter(const QString& filter);
    QString filter() const { return filter_; }

    void open() override;
    void close() override;
    int recordCount() override { return int(keys_.size()); }
    Row rowAt(int row) override;
    QVariant value(int field) const override;
    using DataSet::value;

    // Moves to the first row, in the current order, whose field matches.
    // Returns false (and stays) when no row matches or the value cannot be a
    // value of the field.
    bool locate(const QString& field, const QVariant& value, LocateOptions options = {});

    void edit();
    void insert();
    void post();
    void cancel();
    void deleteRow();
    void setValue(const QString& name, const QVariant& value) { setValue(indexOf(name), value); }
    void setValue(int field, const QVariant& value);

    // Reads the row ids again (after someone else changed the table), keeping
    // the current row when it still exists.
    void refresh();

    const TableStructure& structure() const { return structure_; }

private:
    struct Lookup
    {
        int field;
        int keyField;
        QString table;
        QString keyColumn;
        QString resultColumn;
    };
    struct Calc
    {
        int field;
        std::function<QVariant(const Row&)> compute;
    };

    void buildFields();
    void addDerivedFields();
    void resolveDerived();
    void prepareStatements();
    void prepareKeys();
    QString orderClause() const;
    QString whereClause(const QString& extra) const;
    void loadKeys();
    int positionOf(qint64 key) const;
    Row fetch(qint64 key);
    void computeDerived(Row& row, bool lookups);
    void requireWritable() const;
    void requireCurrent() const;
    void onTablesChanged(const QSet<QString>& tables, QObject* originator);
    qint64 currentKey() const { return current_ >= 0 ? keys_[size_t(current_)] : -1; }

    QString tableName_;
    QString orderBy_;
    QString filter_;
    QString filterField_;
    QVariant filterValue_;
    bool readOnly_ = false;

    TableStructure structure_;
    QList<int> storedColumns_; // field index for each stored column in the fetch statement
    QList<Lookup> lookups_;
    QList<Calc> calcs_;

    std::vector<qint64> keys_;
    QHash<qint64, Row> cache_;
    int lastMiss_ = -2;
    sqlite::Statement fetch_;
    sqlite::Statement keysStmt_;
    std::vector<sqlite::Statement> lookupStmts_;

    Row buffer_;
    Row original_;
};
