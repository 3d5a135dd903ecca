#include "catalogue/data/dataset.h"

#include "catalogue/data/database.h"

DataSet::DataSet(Database& db, QObject* parent) : QObject(parent), db_(db) {}

int DataSet::fieldIndex(const QString& name) const
{
    for (int i = 0; i < fields_.size(); ++i)
        if (fields_.at(i).name.compare(name, Qt::CaseInsensitive) == 0)
            return i;
    return -1;
}

int DataSet::indexOf(const QString& name) const
{
    const int i = fieldIndex(name);
    if (i < 0)
        throw DbError(QStringLiteral("Nincs ilyen mező: %1").arg(name));
    return i;
}

void DataSet::requireActive() const
{
    if (state_ == State::Inactive)
        throw DbError(QStringLiteral("Az adathalmaz nincs megnyitva."));
}

void DataSet::requireBrowse(const char* what) const
{
    requireActive();
    if (state_ != State::Browse)
        throw DbError(QStringLiteral("A művelet (%1) szerkesztés közben nem végezhető el.").arg(QLatin1String(what)));
}

bool DataSet::setCurrent(int row, bool notify)
{
    if (row == current_)
        return false;
    current_ = row;
    if (notify) {
        Q_EMIT currentRowChanged(current_);
        Q_EMIT afterScroll();
    }
    return true;
}

void DataSet::first()
{
    requireBrowse("first");
    const bool any = hasRow(0);
    setCurrent(any ? 0 : -1);
    bof_ = true;
    eof_ = !any;
}

void DataSet::last()
{
    requireBrowse("last");
    const int n = recordCount();
    setCurrent(n - 1);
    eof_ = true;
    bof_ = n == 0;
}

void DataSet::next()
{
    requireBrowse("next");
    if (hasRow(current_ + 1)) {
        setCurrent(current_ + 1);
        bof_ = eof_ = false;
    } else {
        eof_ = true;
    }
}

void DataSet::prior()
{
    requireBrowse("prior");
    if (current_ > 0) {
        setCurrent(current_ - 1);
        bof_ = eof_ = false;
    } else {
        bof_ = true;
    }
}

void DataSet::moveTo(int row)
{
    requireBrowse("moveTo");
    if (!hasRow(0))
        return;
    if (row < 0)
        row = 0;
    else if (!hasRow(row))
        row = recordCount() - 1;
    setCurrent(row);
    bof_ = eof_ = false;
}

QVariant DataSet::value(int field) const
{
    requireActive();
    if (current_ < 0)
        return QVariant();
    return const_cast<DataSet*>(this)->rowAt(current_).value(field);
}

QString DataSet::displayText(const QString& name) const
{
    const int i = indexOf(name);
    return fields_.at(i).displayText(value(i));
}

QString DataSet::displayTextAt(int row, int field)
{
    return fields_.at(field).displayText(valueAt(row, field));
}
