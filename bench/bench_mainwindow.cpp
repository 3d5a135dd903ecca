// Frame times of the main window on the large catalogue: what a user waits
// for between a key press and the grids painted again. Run with
// QT_QPA_PLATFORM=offscreen; the figures are medians in milliseconds.
//
//   zelmo_bench_ui [--runs N] [folder]   (folder: a store to reuse or create)

#include "bench/generate.h"
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

// `setup` runs before each timed run and is not counted.
double medianMs(int runs, const std::function<void(int)>& once, const std::function<void(int)>& setup = {})
{
    for (int i = 0; i < 3; ++i) {
        if (setup)
            setup(i);
        once(i);
    }
    std::vector<qint64> ns;
    for (int i = 0; i < runs; ++i) {
        if (setup)
            setup(i);
        QElapsedTimer t;
        t.start();
        once(i);
        ns.push_back(t.nsecsElapsed());
    }
    std::sort(ns.begin(), ns.end());
    return ns[ns.size() / 2] / 1e6;
}

void repaint(Tfrm_Main& w)
{
    w.DBGrid1->viewport()->repaint();
    w.DBGrid2->viewport()->repaint();
}

void report(const char* what, double ms, double target)
{
    std::printf("%-58s %9.3f ms   < %5.1f ms  %s\n", what, ms, target, ms < target ? "PASS" : "FAIL");
}

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", qgetenv("QT_QPA_PLATFORM").isEmpty() ? "offscreen" : qgetenv("QT_QPA_PLATFORM"));
    QApplication app(argc, argv);
    int runs = 100;
    QString folder;
    const QStringList args = app.arguments();
    for (int i = 1; i < args.size(); ++i) {
        if (args.at(i) == QLatin1String("--runs") && i + 1 < args.size())
            runs = args.at(++i).toInt();
        else
            folder = args.at(i);
    }
    QTemporaryDir tmp;
    if (folder.isEmpty())
        folder = tmp.filePath(QStringLiteral("Data"));
    if (!QFileInfo::exists(folder + QStringLiteral("/zelmo.sqlite"))) {
        std::printf("Generating the large catalogue into %s ...\n", qPrintable(folder));
        Database db;
        db.open(folder);
        GenerateCatalogue(db);
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

    report("move the cassette row, recordings refreshed, both repainted", medianMs(runs, [&](int) {
               w.TblVK->moveTo(int(rng() % unsigned(count)));
               repaint(w);
           }),
           16);

    Q_EMIT w.DBGrid1->titleClick(4);
    const QStringList prefixes{QStringLiteral("a"), QStringLiteral("ó"), QStringLiteral("s"),
                               QStringLiteral("k"), QStringLiteral("i"), QStringLiteral("x")};
    report("one quick-search keystroke, sorted by type", medianMs(runs, [&](int i) {
               w.Edit1->setText(prefixes.at(i % prefixes.size()));
               repaint(w);
           }),
           16);

    const QList<int> columns{1, 2, 3, 4};
    report("title click re-sorting the cassettes, repainted", medianMs(runs, [&](int i) {
               Q_EMIT w.DBGrid1->titleClick(columns.at(i % columns.size()));
               repaint(w);
           }),
           16);

    QImage image(w.DBGrid1->viewport()->size(), QImage::Format_ARGB32_Premultiplied);
    report("paint one full screen of the cassette grid (to an image)", medianMs(runs, [&](int) {
               w.TblVK->refresh(); // a cold screen: every row read again
               QPainter p(&image);
               w.DBGrid1->viewport()->render(&p);
           }),
           16);
    // The editing commands' own work, on the same window.
    report("UpdateFreeTape on the current cassette", medianMs(runs, [&](int) { w.UpdateFreeTape(); },
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
                                  "VALUES (%1, '%1', 300, 0, 'N')").arg(big));
        for (int t = 1; t <= 50; ++t)
            w.Db1.exec(QStringLiteral("INSERT INTO felvetel (vk, felvetel, cim, hossz) VALUES (%1, %2, 'Sáv %2', 5)")
                           .arg(big)
                           .arg(t));
        tx.commit();
    }
    w.TblVK->locate(QStringLiteral("vk"), big);
    report("delete a recording of a 50-track cassette, renumbered", medianMs(runs, [&](int) {
               catalogue::DeleteRecording(w.Db1, big, 1);
               w.UpdateFreeTape();
           },
                                                                                  [&](int i) {
               if (i > 0 || w.TblFelvetel->recordCount() < 50)
                   w.Db1.exec(QStringLiteral("INSERT OR IGNORE INTO felvetel (vk, felvetel, cim, hossz) "
                                             "VALUES (%1, 50, 'Új', 5)").arg(big));
           }),
           25);
    w.close();
    return 0;
}
