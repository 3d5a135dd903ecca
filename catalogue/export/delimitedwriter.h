#pragma once

#include "catalogue/data/dataset.h"

#include <QChar>
#include <QList>
#include <QString>

#include <functional>

class QIODevice;

// The delimited text file: Windows-1250, CR LF after every line, a separator
// after every value, a header line of field names and one line per row.

struct DelimitedOptions
{
    QList<int> fields; // data-set field indexes, in the data set's field order
    QChar separator = u';';
    QChar quote;            // null: values are written bare
    bool multiLine = false; // memos joined into one line instead of "BLOB"
    bool originalNames = false;
};

// The items of the dialog's two radio groups.
QChar DelimitedSeparator(int item); // ";", tab, ",", "|"
QChar DelimitedQuote(int item);     // '"', "'", none

// The header line without its CR LF.
QString DelimitedHeaderLine(const DataSet& dataSet, const DelimitedOptions& options);

struct DelimitedResult
{
    int rows = 0;         // data lines written
    bool stopped = false; // beforeRow asked to stop before the last row
};

// Writes the header and the data set's rows from its first on, reading them
// without moving the current row. `beforeRow(row)` runs before each row is
// read; when it returns false, the rows so far are all the file gets.
DelimitedResult WriteDelimited(DataSet& dataSet, const DelimitedOptions& options, QIODevice& out,
                               const std::function<bool(int row)>& beforeRow = {});
// The same into a file that takes the place of `path` only when written whole
// (or up to the stop); a failure leaves an existing file untouched.
DelimitedResult WriteDelimitedFile(DataSet& dataSet, const DelimitedOptions& options,
                                   const QString& path,
                                   const std::function<bool(int row)>& beforeRow = {});
