// What a user waits for after pressing OK in the recording editor, on the
// large catalogue: the new recording posted through the editor's own code and
// the cassette's free tape recomputed. The figures are medians in milliseconds.
//
//   zelmo_bench_editors [--runs N] [folder]   (folder: a store to reuse or create;
//                                              the runs add recordings to it)

#include "bench/generate.h"
#include "catalogue/data/database.h"
#include "catalogue/data/operations.h"
#include "catalogue/data/table.h"
#include "catalogue/editors/recordeditors_logic.h"
#include "common/values.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <vector>

namespace {

// `prepare` runs before each measured `once` and is not timed.
double medianMs(int runs, const std::function<void(int)>& prepare,
                const std::function<void(int)>& once)
{
    for (int i = 0; i < 20; ++i) {
        prepare(i);
        once(i);
    }
    std::vector<qint64> ns;
    for (int i = 20; i < runs + 20; ++i) {
        prepare(i);
        QElapsedTimer t;
        t.start();
        once(i);
        ns.push_back(t.nsecsElapsed());
    }
    std::sort(ns.begin(), ns.end());
    return ns[ns.size() / 2] / 1e6;
}

// A figure with a target gets a verdict; one without is there to explain the others.
void report(const char* what, double ms, double target = 0)
{
    if (target > 0)
        std::printf("%-62s %9.3f ms   < %5.1f ms  %s\n", what, ms, target,
                    ms < target ? "PASS" : "FAIL");
    else
        std::printf("%-62s %9.3f ms\n", what, ms);
}

// What the main window does after the editor returns.
void updateFreeTape(Table& vk)
{
    const int cassette = NullToInt(vk.value(QStringLiteral("vk")), 0);
    const int used = catalogue::RecordingLengthSum(vk.database(), cassette);
    vk.edit();
    vk.setValue(QStringLiteral("szabad"), NullToInt(vk.value(QStringLiteral("hossz")), 0) - used);
    vk.post();
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    int runs = 200;
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
    Database db;
    const bool fresh = !QFileInfo::exists(folder + QStringLiteral("/zelmo.sqlite"));
    db.open(folder);
    if (fresh) {
        std::printf("Generating the large catalogue into %s ...\n", qPrintable(folder));
        GenerateCatalogue(db);
    }

    // The main window's two tables: recordings filtered to the current cassette.
    Table vk(db, QStringLiteral("vk.DB"));
    Table felvetel(db, QStringLiteral("felvetel.DB"));
    vk.setOrderBy(QStringLiteral("azonosito"));
    felvetel.setOrderBy(QStringLiteral("felvetel"));
    QObject::connect(&vk, &DataSet::afterScroll, &felvetel, [&] {
        felvetel.setFilter(
            QStringLiteral("vk=%1").arg(NullToInt(vk.value(QStringLiteral("vk")), 0)));
    });
    vk.open();
    felvetel.open();
    const int cassettes = vk.recordCount();
    const QStringList qualities = catalogue::MasterNames(db, QStringLiteral("minoseg"));
    const QStringList genres = catalogue::MasterNames(db, QStringLiteral("mufaj"));
    const QStringList directors = catalogue::DirectorNames(db);
    std::printf("Recording editor's OK on %d cassettes; medians of %d runs\n\n", cassettes, runs);

    // Each run adds to another cassette, as a user going through the list would.
    long visited = 0;
    const auto moveTo = [&](int) { vk.moveTo(int((++visited * 7919L) % cassettes)); };
    const auto input = [&](int i, const QString& genre) {
        catalogue::RecordingInput in;
        in.cim = QStringLiteral("Mért felvétel %1").arg(i);
        in.start = felvetel.value(QStringLiteral("szamlalo_tol")).toTime();
        in.end = in.start.addSecs(45 * 60);
        in.hossz = catalogue::LengthBetween(in.start, in.end);
        in.datum = QDate(2024, 3, 15);
        in.quality = qualities.at(i % qualities.size()).toUpper(); // found ignoring case
        in.genre = genre;
        in.rendezte = directors.isEmpty() ? QString() : directors.at(i % directors.size());
        in.szereplok = QStringLiteral("Kovács Béla, Nagy Éva");
        in.megjegyzes = QStringLiteral("Mérés");
        return in;
    };

    report("add one recording: new row, OK, free tape recomputed",
           medianMs(runs, moveTo,
                    [&](int i) {
                        catalogue::StartNewRecording(felvetel,
                                                     NullToInt(vk.value(QStringLiteral("vk")), 0));
                        catalogue::PostRecording(felvetel, input(i, genres.at(i % genres.size())));
                        updateFreeTape(vk);
                    }),
           15);

    report("  the same with a genre name that is not there yet",
           medianMs(runs, moveTo,
                    [&](int i) {
                        catalogue::StartNewRecording(felvetel,
                                                     NullToInt(vk.value(QStringLiteral("vk")), 0));
                        catalogue::PostRecording(felvetel,
                                                 input(i, QStringLiteral("Mért műfaj %1").arg(i)));
                        updateFreeTape(vk);
                    }),
           15);

    report("  OK alone (names resolved, row posted)",
           medianMs(
               runs,
               [&](int i) {
                   moveTo(i);
                   catalogue::StartNewRecording(felvetel,
                                                NullToInt(vk.value(QStringLiteral("vk")), 0));
               },
               [&](int i) {
                   catalogue::PostRecording(felvetel, input(i, genres.at(i % genres.size())));
               }));

    // Every figure above waits for one or two commits to reach the disk; this
    // is what one costs here, for reading them. A connection of its own, so
    // that no open table re-reads after it.
    Database plain;
    plain.open(folder);
    const double floor = medianMs(
        runs, [](int) {},
        [&](int i) {
            plain.exec(QStringLiteral("UPDATE vk SET megjegyzes='Mérés %1' WHERE vk=1").arg(i));
        });
    report("one committed single-row write (this disk's floor)", floor);
    return 0;
}
