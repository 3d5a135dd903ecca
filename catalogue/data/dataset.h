#pragma once

#include "catalogue/data/dberror.h"
#include "catalogue/data/field.h"

#include <QList>
#include <QObject>
#include <QVariant>

class Database;

using Row = QList<QVariant>;

// Rows with named fields and a current row: what the grids, editors, exports and
// reports read, whether the rows come from a table or from a query.
class DataSet : public QObject
{
    Q_OBJECT
public:
    enum class State
    {
        Inactive,
        Browse,
        Edit,
        Insert,
    };

    explicit DataSet(Database& db, QObject* parent = nullptr);

    Database& database() const { return db_; }

    virtual void open() = 0;
    virtual void close() = 0;
    bool isActive() const { return state_ != State::Inactive; }
    State state() const { return state_; }

    int fieldCount() const { return int(fields_.size()); }
    const QList<Field>& fields() const { return fields_; }
    const Field& field(int index) const { return fields_.at(index); }
    Field& field(int index) { return fields_[index]; }
    // -1 when there is no such field; names match without regard to case.
    int fieldIndex(const QString& name) const;
    // Throws DbError naming the field when there is none.
    int indexOf(const QString& name) const;
    Field& fieldByName(const QString& name) { return fields_[indexOf(name)]; }
    const Field& fieldByName(const QString& name) const { return fields_.at(indexOf(name)); }

    virtual int recordCount() = 0;
    bool isEmpty() { return !hasRow(0); }
    // True when the row exists; a query reads just far enough to know.
    virtual bool hasRow(int row) { return row >= 0 && row < recordCount(); }
    // Rows read so far, and reading further, for item models over long results.
    virtual int availableRows() { return recordCount(); }
    virtual bool canFetchMore() const { return false; }
    virtual void fetchMore() {}
    // The current row counted from 0; -1 when there is none.
    int currentRow() const { return current_; }
    // The current row counted from 1; 0 when there is none.
    int recNo() const { return current_ + 1; }
    bool bof() const { return bof_; }
    bool eof() const { return eof_; }

    void first();
    void last();
    void next();
    void prior();
    void moveTo(int row);

    // Values of the current row (of the edit buffer while editing or inserting).
    QVariant value(const QString& name) const { return value(indexOf(name)); }
    virtual QVariant value(int field) const;
    QString displayText(const QString& name) const;
    bool isNull(const QString& name) const { return value(name).isNull(); }

    // Values of any row, for grids and exports; they do not move the current row.
    virtual Row rowAt(int row) = 0;
    QVariant valueAt(int row, int field) { return rowAt(row).value(field); }
    QString displayTextAt(int row, int field);

Q_SIGNALS:
    void afterOpen();
    void afterScroll();
    void afterPost();
    void afterCancel();
    // For item models: whole-set changes, single rows, and the current row.
    void aboutToReset();
    void reset();
    void rowAboutToBeRemoved(int row);
    void rowRemoved(int row);
    void rowChanged(int row);
    void currentRowChanged(int row);
    // Rows were read beyond those available before, without a reset.
    void rowsAppended();

protected:
    void requireActive() const;
    void requireBrowse(const char* what) const;
    // Moves the current row and tells the listeners; false when nothing moved.
    bool setCurrent(int row, bool notify = true);

    Database& db_;
    QList<Field> fields_;
    State state_ = State::Inactive;
    int current_ = -1;
    bool bof_ = true;
    bool eof_ = true;
};
