#pragma once

#include <QHash>
#include <QList>
#include <QString>
#include <QVariant>

class DataSet;
class Query;

// The browser's rows: every recording of every cassette with its cassette's
// data beside it, and one row for each cassette without recordings.

struct BrowserField
{
    const char* name;
    const char* title;
    const char* format;
};

// The result fields in order; the grid shows the first BrowserGridColumns.
const QList<BrowserField>& BrowserFields();
inline constexpr int BrowserGridColumns = 9;

// A filter that is empty narrows nothing.
struct BrowserFilters
{
    QString genre;     // mufaj.nev, whole name
    QString type;      // tipus.nev, whole name
    QString performer; // part of felvetel.szereplok, ignoring case
    QString director;  // part of felvetel.rendezte, ignoring case
};

struct BrowserSql
{
    QString sql;
    QHash<QString, QVariant> params; // names without the colon
};

// How the SELECT reaches the rows. OuterJoin walks the cassettes and joins
// their recordings; ByRecordingIndex gives the same rows as recordings joined
// to their cassettes plus the cassettes without recordings, so that SQLite can
// read them in the order of a recording index instead of sorting them all.
enum class BrowserSqlShape
{
    Fastest, // ByRecordingIndex where the order has such an index
    OuterJoin,
};

// The SELECT for the filters and the order. The chosen names travel as bound
// parameters, never inside the SQL text.
BrowserSql BuildBrowserSql(const BrowserFilters& filters, const QString& sortField,
                           BrowserSqlShape shape = BrowserSqlShape::Fastest);

// Puts the SELECT, its parameters and the field titles on the query and opens it.
void OpenBrowserQuery(Query& qry, const BrowserFilters& filters, const QString& sortField);

// The group field of the HTML page: the sort field when it names a genre,
// type, quality or director, otherwise none.
QString BrowserGroupField(const QString& sortField);

// The first row, in a result ordered by `field`, whose value matches `text`:
// a text field by its leading part ignoring case, a number, date or time by
// the value the text reads as. -1 when none matches or the text is no such value.
int FindSortedRow(DataSet& rows, int field, const QString& text);
