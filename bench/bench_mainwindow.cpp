// Frame times of the main window on the large catalogue: what a user waits
// for between a key press and the grids painted again. Run with
// QT_QPA_PLATFORM=offscreen; the figures are medians in milliseconds.
//
//   zelmo_bench_ui [--runs N] [folder]   (folder: a store to reuse or create)

#include "bench/benchsupport.h"
#include "catalogue/data/database.h"
#include "catalogue/data/operations.h"
#include "catalogue/main/frm_main.h"
#include "catalogue/main/settings.h"
#include "catalogue/main/themedbgrid.h"
#include "common/inifile.h"
#include "common/paths.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QImage>
#include <QLineEdit>
#include <QPainter>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <random>

namespace {

void repaint(Tfrm_Main& w)
{
    w.DBGrid1->viewport()->repaint();
    w.DBGrid2->viewport()->repaint();
}

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM",
            qgetenv("QT_QPA_PLATFORM").isEmpty() ? "offscreen" : qgetenv("QT_QPA_PLATFORM"));
    QApplication app(argc, argv);
    const BenchOptions options = ParseBenchOptions(app.arguments(), 100);
    const int runs = options.runs;
    QTemporaryDir tmp;
    const QString folder =
        options.folder.isEmpty() ? tmp.filePath(QStringLiteral("Data")) : options.folder;
    {
        Database db;
        OpenLargeCatalogue(db, folder);
    }
    // A home of its own, so the benchmark never touches the user's settings.
    RunStartupStep(tmp.filePath(QStringLiteral("prog")), tmp.filePath(QStringLiteral("home")));
    IniFile(IniFileName).writeString(QStringLiteral("Database"), QStringLiteral("Path"), folder);

    Tfrm_Main w;
    if (!w.FormCreate())
        return 2;
    w.resize(1024, 740);
    w.show();
    QApplication::processEvents();
    const int count = w.TblVK->recordCount();
    std::mt19937 rng(7);
    std::printf("Main window on %d cassettes; medians of %d runs\n\n", count, runs);

    ReportFigure("move the cassette row, recordings refreshed, both repainted",
                 MedianMs(runs,
                          [&](int) {
                              w.TblVK->moveTo(int(rng() % unsigned(count)));
                              repaint(w);
                          }),
                 16);

    Q_EMIT w.DBGrid1->titleClick(4);
    const QStringList prefixes{QStringLiteral("a"), QStringLiteral("ó"), QStringLiteral("s"),
                               QStringLiteral("k"), QStringLiteral("i"), QStringLiteral("x")};
    ReportFigure("one quick-search keystroke, sorted by type",
                 MedianMs(runs,
                          [&](int i) {
                              w.Edit1->setText(prefixes.at(i % prefixes.size()));
                              repaint(w);
                          }),
                 16);

    const QList<int> columns{1, 2, 3, 4};
    ReportFigure("title click re-sorting the cassettes, repainted",
                 MedianMs(runs,
                          [&](int i) {
                              Q_EMIT w.DBGrid1->titleClick(columns.at(i % columns.size()));
                              repaint(w);
                          }),
                 16);

    QImage image(w.DBGrid1->viewport()->size(), QImage::Format_ARGB32_Premultiplied);
    ReportFigure("paint one full screen of the cassette grid (to an image)",
                 MedianMs(runs,
                          [&](int) {
                              w.TblVK->refresh(); // a cold screen: every row read again
                              QPainter p(&image);
                              w.DBGrid1->viewport()->render(&p);
                          }),
                 16);
    // The editing commands' own work, on the same window.
    ReportFigure("UpdateFreeTape on the current cassette",
                 MedianMs(
                     runs, [&](int) { w.UpdateFreeTape(); },
                     [&](int i) {
                         // A stale figure, so that there is a post to do.
                         w.TblVK->moveTo(i * 37 % count);
                         w.TblVK->edit();
                         w.TblVK->setValue(QStringLiteral("szabad"), -1);
                         w.TblVK->post();
                     }),
                 2);

    // A cassette of 50 tracks; each run deletes its first track (the rest are
    // renumbered) and puts a track back at the end, so every run does the same work.
    const int big = count + 1;
    {
        Transaction tx(w.Db1);
        w.Db1.exec(QStringLiteral("INSERT INTO vk (vk, azonosito, hossz, szabad, kolcsonadva) "
                                  "VALUES (%1, '%1', 300, 0, 'N')")
                       .arg(big));
        for (int t = 1; t <= 50; ++t)
            w.Db1.exec(
                QStringLiteral(
                    "INSERT INTO felvetel (vk, felvetel, cim, hossz) VALUES (%1, %2, 'Sáv %2', 5)")
                    .arg(big)
                    .arg(t));
        tx.commit();
    }
    w.TblVK->locate(QStringLiteral("vk"), big);
    ReportFigure(
        "delete a recording of a 50-track cassette, renumbered",
        MedianMs(
            runs,
            [&](int) {
                catalogue::DeleteRecording(w.Db1, big, 1);
                w.UpdateFreeTape();
            },
            [&](int i) {
                if (i > 0 || w.TblFelvetel->recordCount() < 50)
                    w.Db1.exec(
                        QStringLiteral("INSERT OR IGNORE INTO felvetel (vk, felvetel, cim, hossz) "
                                       "VALUES (%1, 50, 'Új', 5)")
                            .arg(big));
            }),
        25);
    w.close();
    return 0;
}
