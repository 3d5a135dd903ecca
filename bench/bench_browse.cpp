// The recording browser on the large catalogue (about 100,000 rows): how long
// a user waits for its first screen, for a filter or order change and for a
// search keystroke, beside the floor of SQLite stepping the same query, and
// the memory the process holds with every row read.
//
//   zelmo_bench_browse [--runs N] [folder]   (folder: a store to reuse or create)

#include "bench/benchsupport.h"
#include "catalogue/browse/browsersql.h"
#include "catalogue/browse/frm_bongeszo.h"
#include "catalogue/data/database.h"
#include "catalogue/data/query.h"
#include "catalogue/main/themedbgrid.h"
#include "common/paths.h"

#include <QApplication>
#include <QComboBox>
#include <QElapsedTimer>
#include <QFile>
#include <QLineEdit>
#include <QTemporaryDir>

#include <cstdio>
#include <sqlite3.h>

namespace {

// Steps through the query with the C API on a connection of its own; the
// collation is registered the way the store registers it.
double rawStepMs(const QString& folder, const BrowserSql& built, int runs)
{
    Database db;
    db.open(folder);
    sqlite3* h = db.handle();
    return MedianMs(runs, [&](int) {
        sqlite3_stmt* st = nullptr;
        sqlite3_prepare_v2(h, built.sql.toUtf8().constData(), -1, &st, nullptr);
        for (auto it = built.params.constBegin(); it != built.params.constEnd(); ++it) {
            const QByteArray v = it.value().toString().toUtf8();
            sqlite3_bind_text(st, sqlite3_bind_parameter_index(st, (":" + it.key()).toUtf8().constData()),
                              v.constData(), int(v.size()), SQLITE_TRANSIENT);
        }
        long long sum = 0;
        while (sqlite3_step(st) == SQLITE_ROW)
            for (int c = 0; c < sqlite3_column_count(st); ++c)
                sum += sqlite3_column_bytes(st, c);
        sqlite3_finalize(st);
        if (sum < 0)
            std::puts("");
    }, {}, 1);
}

long peakKb()
{
    QFile f(QStringLiteral("/proc/self/status"));
    if (!f.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray& line : f.readAll().split('\n'))
        if (line.startsWith("VmHWM:"))
            return line.mid(6).trimmed().split(' ').first().toLong();
    return -1;
}

void readAll(Tfrm_Bongeszo& b) { b.Qry->recordCount(); }

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM",
            qgetenv("QT_QPA_PLATFORM").isEmpty() ? "offscreen" : qgetenv("QT_QPA_PLATFORM"));
    QApplication app(argc, argv);
    const BenchOptions options = ParseBenchOptions(app.arguments(), 10);
    const int runs = options.runs;
    QTemporaryDir tmp;
    const QString folder = options.folder.isEmpty() ? tmp.filePath(QStringLiteral("Data")) : options.folder;
    RunStartupStep(tmp.filePath(QStringLiteral("prog")), tmp.filePath(QStringLiteral("home")));
    Database db;
    OpenLargeCatalogue(db, folder);
    std::printf("before the browser: peak %ld MB\n", peakKb() / 1024);

    ReportFigure("raw: the browser's query stepped through, by cassette",
                 rawStepMs(folder, BuildBrowserSql({}, QStringLiteral("vk")), runs));
    ReportFigure("raw: the same by title, cassettes joined to recordings",
                 rawStepMs(folder, BuildBrowserSql({}, QStringLiteral("cim"), BrowserSqlShape::OuterJoin), runs));
    ReportFigure("raw: the same by title, read by the title index",
                 rawStepMs(folder, BuildBrowserSql({}, QStringLiteral("cim")), runs));
    ReportFigure("raw: the same by genre", rawStepMs(folder, BuildBrowserSql({}, QStringLiteral("mufaj_nev")), runs));

    ReportFigure("open the browser until its first screen is painted", MedianMs(runs, [&](int) {
                     Tfrm_Bongeszo b(db);
                     b.resize(1000, 700);
                     b.FormCreate();
                     b.show();
                     b.DBGrid1->viewport()->repaint();
                 }), 300);

    Tfrm_Bongeszo b(db);
    b.resize(1000, 700);
    b.FormCreate();
    b.show();
    QElapsedTimer t;
    t.start();
    readAll(b);
    ReportFigure("read the remaining rows (done while the first screen is shown)", double(t.nsecsElapsed()) / 1e6);
    std::printf("rows: %d\n", b.Qry->recordCount());

    const auto rebuild = [&](const char* what, const std::function<void()>& change) {
        ReportFigure(what, MedianMs(runs, [&](int) {
                         change();
                         b.DBGrid1->viewport()->repaint();
                     }), 300);
    };
    rebuild("order by title (title click), first screen painted", [&] { Q_EMIT b.DBGrid1->titleClick(4); });
    rebuild("order by genre, first screen painted", [&] { Q_EMIT b.DBGrid1->titleClick(5); });
    rebuild("order by cassette, first screen painted", [&] { Q_EMIT b.DBGrid1->titleClick(0); });
    rebuild("genre filter on and off, each painted", [&] {
        b.ComboBox1->setCurrentIndex(1);
        b.DBGrid1->viewport()->repaint();
        b.ComboBox1->setCurrentIndex(0);
    });
    rebuild("performer filter (part of the performers, any case)", [&] {
        b.ComboBox3->setCurrentIndex(b.ComboBox3->currentIndex() == 1 ? 2 : 1);
    });
    b.ComboBox3->setCurrentIndex(0);

    Q_EMIT b.DBGrid1->titleClick(4);
    readAll(b);
    const QStringList prefixes{QStringLiteral("a"), QStringLiteral("ká"), QStringLiteral("sz"), QStringLiteral("zs"),
                               QStringLiteral("m"), QStringLiteral("qx")};
    ReportFigure("search keystroke by title (all rows read), grid painted", MedianMs(runs * 10, [&](int i) {
                     b.Edit1->setText(prefixes.at(i % prefixes.size()));
                     b.DBGrid1->viewport()->repaint();
                 }), 5);
    std::printf("peak memory of the process with the browser open and every row read: %ld MB (target < 200)\n",
                peakKb() / 1024);
    return 0;
}
