#pragma once

#include "catalogue/data/database.h"
#include "catalogue/data/dataset.h"

#include <optional>

// Rows held in memory with fields of any kind, label and display format, so a
// test states exactly what an export reads. A row can be made to fail on
// reading, as a broken store would.
class MemoryDataSet : public DataSet
{
public:
    MemoryDataSet(Database& db, QList<Field> fields, QList<Row> rows = {})
        : DataSet(db), rows_(std::move(rows))
    {
        fields_ = std::move(fields);
        open();
    }

    void open() override
    {
        state_ = State::Browse;
        current_ = rows_.isEmpty() ? -1 : 0;
        bof_ = true;
        eof_ = rows_.isEmpty();
    }
    void close() override { state_ = State::Inactive; }
    int recordCount() override { return int(rows_.size()); }
    Row rowAt(int row) override
    {
        requireActive();
        if (failAt_ && *failAt_ == row)
            throw DbError(QStringLiteral("A sor nem olvasható."));
        return rows_.value(row, Row(fields_.size()));
    }
    void failAt(int row) { failAt_ = row; }

private:
    QList<Row> rows_;
    std::optional<int> failAt_;
};

inline Field MakeField(const char* name, FieldKind kind, const QString& label = QString(),
                       const QString& format = QString())
{
    Field f;
    f.name = QLatin1String(name);
    f.kind = kind;
    f.displayLabel = label;
    f.displayFormat = format;
    return f;
}
