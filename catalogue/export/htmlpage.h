#pragma once

#include <QDateTime>
#include <QList>
#include <QString>
#include <Qt>

#include <functional>

class DataSet;
class QIODevice;

// The HTML page of a grid's rows: a table with one cell per column, optionally
// broken into groups by the display text of one field, in Windows-1250 with
// CR LF line ends. Every text from the data is escaped, and a character that
// the code page cannot hold is written as a character reference.

struct HtmlColumn
{
    int field = -1;  // index in the data set
    QString caption; // the column's title
    int widthPercent = 0;
    Qt::Alignment alignment = Qt::AlignLeft;
};

struct HtmlPageOptions
{
    QString title;
    QString subtitle;
    QString groupField; // empty: no group rows
    QDateTime written;  // the time printed under the table
};

// 100 × columnWidth / gridWidth rounded to the nearest integer, a half to the
// even neighbour; 0 for a grid without width.
int WidthPercent(int columnWidth, int gridWidth);

// Writes the page of every row of the data set, read without moving its
// current row. `progress(count)` runs after every 10th row. Returns the number
// of data rows.
int WriteHtmlPage(QIODevice& out, DataSet& dataSet, const QList<HtmlColumn>& columns,
                  const HtmlPageOptions& options,
                  const std::function<void(int count)>& progress = {});

// The same into a file, creating missing folders on the way; the file takes
// the place of an existing one only when written whole.
int WriteHtmlFile(const QString& path, DataSet& dataSet, const QList<HtmlColumn>& columns,
                  const HtmlPageOptions& options,
                  const std::function<void(int count)>& progress = {});
