// The exports of the browser's whole unfiltered result on the large catalogue
// (every recording of every cassette): the delimited text file with all
// nineteen fields, and the HTML page of the nine columns the grid shows,
// beside the sqlite3 shell writing the same query as CSV. Medians in ms.
//
//   zelmo_bench_export [--runs N] [folder]   (folder: a store to reuse or create)

#include "bench/benchsupport.h"
#include "catalogue/browse/browsersql.h"
#include "catalogue/data/database.h"
#include "catalogue/data/query.h"
#include "catalogue/export/delimitedwriter.h"
#include "catalogue/export/htmlpage.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <cstdio>

namespace {

// The nine columns of the browser's grid, sharing its width as a user would
// leave them.
QList<HtmlColumn> GridColumnsOf(const DataSet& rows)
{
    QList<HtmlColumn> columns;
    for (int i = 0; i < BrowserGridColumns; ++i) {
        HtmlColumn c;
        c.field = i;
        c.caption = rows.field(i).displayLabel;
        c.widthPercent = 11;
        c.alignment = rows.field(i).alignment();
        columns << c;
    }
    return columns;
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const BenchOptions options = ParseBenchOptions(app.arguments(), 5);
    const int runs = options.runs;
    QTemporaryDir tmp;
    const QString folder =
        options.folder.isEmpty() ? tmp.filePath(QStringLiteral("Data")) : options.folder;
    Database db;
    OpenLargeCatalogue(db, folder);
    const QString csvPath = tmp.filePath(QStringLiteral("videokazetták.csv"));
    const QString htmlPath = tmp.filePath(QStringLiteral("html/b_ng_sz_.htm"));
    const auto median = [runs](const std::function<void(int)>& once) {
        return MedianMs(runs, once, {}, 1);
    };

    Query rows(db);
    OpenBrowserQuery(rows, {}, QStringLiteral("vk"));
    const int count = rows.recordCount();
    DelimitedOptions csv;
    for (int i = 0; i < rows.fieldCount(); ++i)
        csv.fields << i;
    HtmlPageOptions page;
    page.title = QStringLiteral("Böngésző");
    page.groupField = BrowserGroupField(QStringLiteral("vk")); // none: sorted by cassette
    page.written = QDateTime::currentDateTime();
    std::printf("Exports of the browser's %d rows; medians of %d runs\n\n", count, runs);

    // The floor: the sqlite3 shell writing the same query as CSV into a file.
    const QString shell = QStandardPaths::findExecutable(QStringLiteral("sqlite3"));
    double shellMs = 0;
    if (shell.isEmpty()) {
        std::printf("%-62s (no sqlite3 program here)\n",
                    "sqlite3 -csv, the same query into a file");
    } else {
        const QString sql = BuildBrowserSql({}, QStringLiteral("vk")).sql;
        const QString store = db.filePath();
        const QString shellOut = tmp.filePath(QStringLiteral("shell.csv"));
        shellMs = median([&](int) {
            QProcess p;
            p.setStandardOutputFile(shellOut);
            p.start(shell, {QStringLiteral("-csv"), QStringLiteral("-header"), store, sql});
            p.waitForFinished(-1);
            if (p.exitCode() != 0)
                std::printf("sqlite3 failed: %s\n", p.readAllStandardError().constData());
        });
        ReportFigure("sqlite3 -csv, the same query into a file (the floor)", shellMs);
    }

    ReportFigure("  the query opened and every row read", median([&](int) {
                     Query q(db);
                     OpenBrowserQuery(q, {}, QStringLiteral("vk"));
                     q.recordCount();
                 }));

    ReportFigure("CSV export, 19 fields: query opened, read and written", median([&](int) {
                     Query q(db);
                     OpenBrowserQuery(q, {}, QStringLiteral("vk"));
                     q.recordCount();
                     WriteDelimitedFile(q, csv, csvPath);
                 }),
                 shellMs * 1.5);
    ReportFigure("  the file alone, from rows already read",
                 median([&](int) { WriteDelimitedFile(rows, csv, csvPath); }));
    ReportFigure("  the same with the dialog's input processing (every 10 ms)", median([&](int) {
                     QElapsedTimer sinceInput;
                     sinceInput.start();
                     WriteDelimitedFile(rows, csv, csvPath, [&](int) {
                         if (sinceInput.elapsed() >= 10) {
                             QCoreApplication::processEvents();
                             sinceInput.restart();
                         }
                         return true;
                     });
                 }));
    std::printf("%-62s %9.1f MB\n", "  size of the CSV file", QFileInfo(csvPath).size() / 1e6);

    const QList<HtmlColumn> columns = GridColumnsOf(rows);
    ReportFigure("HTML page, 9 columns, from rows already read", median([&](int) {
                     WriteHtmlFile(htmlPath, rows, columns, page,
                                   [](int) { QCoreApplication::processEvents(); });
                 }),
                 2000);
    ReportFigure("  the same with the query opened and read first", median([&](int) {
                     Query q(db);
                     OpenBrowserQuery(q, {}, QStringLiteral("vk"));
                     q.recordCount();
                     WriteHtmlFile(htmlPath, q, columns, page);
                 }));
    std::printf("%-62s %9.1f MB\n", "  size of the page", QFileInfo(htmlPath).size() / 1e6);
    return 0;
}
