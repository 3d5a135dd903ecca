// What a user waits for after pressing OK in the recording editor, on the
// large catalogue: the new recording posted through the editor's own code and
// the cassette's free tape recomputed. The figures are medians in milliseconds.
//
//   zelmo_bench_editors [--runs N] [folder]   (folder: a store to reuse or create;
//                                              the runs add recordings to it)

#include "bench/benchsupport.h"
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

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const BenchOptions options = ParseBenchOptions(app.arguments(), 200);
    const int runs = options.runs;
    QTemporaryDir tmp;
    const QString folder =
        options.folder.isEmpty() ? tmp.filePath(QStringLiteral("Data")) : options.folder;
    Database db;
    OpenLargeCatalogue(db, folder);
    // Here the untimed preparation reads first; the disk is warmed up longer.
    const auto medianMs = [](int n, const std::function<void(int)>& prepare,
                             const std::function<void(int)>& once) {
        return MedianMs(n, once, prepare, 20);
    };

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

    ReportFigure("add one recording: new row, OK, free tape recomputed",
                 medianMs(runs, moveTo,
                          [&](int i) {
                              catalogue::StartNewRecording(
                                  felvetel, NullToInt(vk.value(QStringLiteral("vk")), 0));
                              catalogue::PostRecording(felvetel,
                                                       input(i, genres.at(i % genres.size())));
                              catalogue::UpdateFreeTape(vk);
                          }),
                 15);

    ReportFigure("  the same with a genre name that is not there yet",
                 medianMs(runs, moveTo,
                          [&](int i) {
                              catalogue::StartNewRecording(
                                  felvetel, NullToInt(vk.value(QStringLiteral("vk")), 0));
                              catalogue::PostRecording(
                                  felvetel, input(i, QStringLiteral("Mért műfaj %1").arg(i)));
                              catalogue::UpdateFreeTape(vk);
                          }),
                 15);

    ReportFigure("  OK alone (names resolved, row posted)",
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
    ReportFigure("one committed single-row write (this disk's floor)", floor);
    return 0;
}
