#pragma once

#include "catalogue/data/dataset.h"
#include "catalogue/data/sqlite.h"

#include <QHash>
#include <QStringList>

// SQL on the store with named parameters (":pvk"). A SELECT is opened as rows
// that are read as far as they are asked for; anything else is executed.
class Query : public DataSet
{
    Q_OBJECT
public:
    explicit Query(Database& db, QObject* parent = nullptr);
    explicit Query(Database& db, const QString& sql, QObject* parent = nullptr);

    void setSql(const QString& sql);
    QString sql() const { return sql_; }
    // Parameter values by name, with or without the colon, without regard to case.
    void setParam(const QString& name, const QVariant& value);
    void clearParams() { params_.clear(); }
    // A title and display format a result field takes every time the query opens.
    void setFieldLook(const QString& name, const QString& label, const QString& format = QString());
    // The fields named come first, in this order, whatever the SELECT's order;
    // the others follow in the SELECT's order.
    void setFieldOrder(const QStringList& names);

    void open() override;
    void close() override;
    int recordCount() override;
    bool hasRow(int row) override;
    int availableRows() override { return int(rows_.size()); }
    bool canFetchMore() const override { return isActive() && !done_; }
    void fetchMore() override;
    Row rowAt(int row) override;

    // Executes every statement of the text; returns the number of rows changed.
    int execSql();

private:
    void bindParams(sqlite::Statement& st) const;
    bool fetchRow();
    void tellAppended(qsizetype before);
    void arrangeFields();
    QVariant sharedText(int field, const char* utf8, int bytes);

    QString sql_;
    QHash<QString, QVariant> params_; // lower-case names without the colon
    QHash<QString, QPair<QString, QString>> looks_; // lower-case name -> label, format
    sqlite::Statement stmt_;
    QList<Row> rows_;
    QList<bool> kindKnown_;    // by field
    QStringList order_;
    QList<int> fieldOfColumn_; // the field each result column fills
    struct Shared
    {
        QHash<QByteArray, QVariant> texts;
        bool off = false;
    };
    QList<Shared> shared_; // by field
    bool done_ = true;
};
