// Measures the maintenance tool on the large generated catalogue:
//
//   zelmo_bench_maint [--runs N] [--cassettes N] [--recordings N] [folder]
//
// The catalogue is generated into a store and written out as an old data
// folder (Paradox tables, remarks as memos kept in the .MB files, some of them
// longer than a text field holds). pxlib writes old tables slowly (about a
// minute for the large catalogue), so with a folder given the old tables are
// written there once and reused by later runs. Then, each run on a fresh copy
// of the old tables:
//   import       building the store from the old tables alone;
//   upgrade      the whole "Verzióváltás": the import and the upgrade steps;
// and on the upgraded store:
//   repair       the whole "Karbantartás": indexes, integrity check, VACUUM.
// Medians are printed with every run's figure beside them.

#include "bench/generate.h"

#include "maintenance/paradoximport.h"
#include "maintenance/paradoxwriter.h"
#include "maintenance/repair.h"
#include "maintenance/upgrade.h"

#include "catalogue/data/database.h"
#include "catalogue/data/sqlite.h"
#include "common/errors.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDate>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QTime>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <vector>

namespace {

void say(const QString& text)
{
    std::fputs(text.toUtf8().constData(), stdout);
    std::fputc('\n', stdout);
    std::fflush(stdout);
}

QVariant date(const QVariant& v)
{
    return v.isNull() ? v : QVariant(QDate::fromString(v.toString(), Qt::ISODate));
}
QVariant time(const QVariant& v)
{
    return v.isNull() ? v : QVariant(QTime::fromString(v.toString(), QStringLiteral("HH:mm:ss")));
}

// Some remarks grow past what a text field holds, a few past a block of small
// memos, so that both kinds of .MB block are read.
QVariant memo(const QVariant& v, int row)
{
    if (v.isNull())
        return v;
    const QString text = v.toString();
    if (row % 100 == 0)
        return text.repeated(3000 / qMax<qsizetype>(1, text.size()) + 1);
    if (row % 20 == 0)
        return text.repeated(600 / qMax<qsizetype>(1, text.size()) + 1);
    return text;
}

// Writes the store's catalogue as the old version kept it.
void writeOldFolder(Database& db, const QString& folder)
{
    using namespace paradox;
    const QDir dir(folder);
    // A one-byte leader: every remark lives in the .MB file.
    constexpr int MemoLength = 11;
    {
        TableWriter t(dir.filePath(QStringLiteral("vk.DB")), OldCassetteFields(MemoLength), 1);
        sqlite::Statement st(
            db.handle(), QStringLiteral("SELECT vk, azonosito, hossz, szabad, megjegyzes, tipus "
                                        "FROM vk ORDER BY vk"));
        for (int row = 1; st.step(); ++row)
            t.append({st.value(0), st.value(1), st.value(2), st.value(3), memo(st.value(4), row),
                      st.value(5)});
    }
    {
        TableWriter t(dir.filePath(QStringLiteral("felvetel.DB")), OldRecordingFields(MemoLength),
                      2);
        sqlite::Statement st(
            db.handle(),
            QStringLiteral("SELECT vk, felvetel, cim, hossz, minoseg, mufaj, szereplok, rendezte, "
                           "datum, szamlalo_tol, szamlalo_ig, megjegyzes FROM felvetel "
                           "ORDER BY vk, felvetel"));
        for (int row = 1; st.step(); ++row)
            t.append({st.value(0), st.value(1), st.value(2), st.value(3), st.value(4), st.value(5),
                      st.value(6), st.value(7), date(st.value(8)), time(st.value(9)),
                      time(st.value(10)), memo(st.value(11), row)});
    }
    for (const char* m : {"tipus", "mufaj", "minoseg", "szereplo"}) {
        TableWriter t(dir.filePath(QLatin1String(m) + QStringLiteral(".DB")), OldMasterFields(), 1);
        sqlite::Statement st(
            db.handle(),
            QStringLiteral("SELECT az, nev FROM %1 ORDER BY az").arg(QLatin1String(m)));
        while (st.step())
            t.append({st.value(0), st.value(1)});
    }
}

void copyFolder(const QString& from, const QString& to)
{
    QDir().mkpath(to);
    const QDir src(from);
    for (const QString& name :
         src.entryList({QStringLiteral("*.DB"), QStringLiteral("*.MB")}, QDir::Files))
        if (!QFile::copy(src.filePath(name), QDir(to).filePath(name)))
            throw ZelmoError(QStringLiteral("Cannot copy %1").arg(name));
}

double medianMs(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    const size_t n = v.size();
    return n % 2 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2;
}

QString figures(const std::vector<double>& ms)
{
    QStringList parts;
    for (double m : ms)
        parts << QString::number(m, 'f', 0);
    return QStringLiteral("median %1 ms  (runs: %2)")
        .arg(medianMs(ms), 0, 'f', 0)
        .arg(parts.join(QStringLiteral(", ")));
}

double timed(const std::function<void()>& work)
{
    QElapsedTimer t;
    t.start();
    work();
    return double(t.nsecsElapsed()) / 1e6;
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Maintenance tool benchmarks on a large generated catalogue."));
    parser.addHelpOption();
    const QCommandLineOption runsOpt(QStringLiteral("runs"), QStringLiteral("Runs per figure."),
                                     QStringLiteral("N"), QStringLiteral("5"));
    const QCommandLineOption cassettesOpt(QStringLiteral("cassettes"), QStringLiteral("Cassettes."),
                                          QStringLiteral("N"), QStringLiteral("10000"));
    const QCommandLineOption recordingsOpt(QStringLiteral("recordings"),
                                           QStringLiteral("Recordings."), QStringLiteral("N"),
                                           QStringLiteral("100000"));
    parser.addOptions({runsOpt, cassettesOpt, recordingsOpt});
    parser.addPositionalArgument(QStringLiteral("folder"),
                                 QStringLiteral("Where the old tables are kept between runs."));
    parser.process(app);
    const int runs = std::max(1, parser.value(runsOpt).toInt());

    try {
        QTemporaryDir tmp;
        const QString source = tmp.filePath(QStringLiteral("source"));
        const QString old = parser.positionalArguments().isEmpty()
                                ? tmp.filePath(QStringLiteral("old"))
                                : parser.positionalArguments().first();
        QDir().mkpath(old);
        if (FindParadoxTables(old).isEmpty()) {
            GenerateOptions options;
            options.cassettes = parser.value(cassettesOpt).toInt();
            options.recordings = parser.value(recordingsOpt).toInt();
            Database db;
            db.open(source);
            say(QStringLiteral("Generating %1 cassettes, %2 recordings ...")
                    .arg(options.cassettes)
                    .arg(options.recordings));
            GenerateCatalogue(db, options);
            const double ms = timed([&] { writeOldFolder(db, old); });
            say(QStringLiteral("Old tables written in %1 ms").arg(ms, 0, 'f', 0));
        } else {
            say(QStringLiteral("Reusing the old tables in %1").arg(QDir::toNativeSeparators(old)));
        }
        qint64 oldBytes = 0;
        const QStringList oldFiles{QStringLiteral("*.DB"), QStringLiteral("*.MB")};
        for (const QFileInfo& fi : QDir(old).entryInfoList(oldFiles, QDir::Files))
            oldBytes += fi.size();
        say(QStringLiteral("Old folder: %1 MB in %2 files")
                .arg(double(oldBytes) / 1048576.0, 0, 'f', 1)
                .arg(QDir(old).entryList(oldFiles, QDir::Files).size()));

        std::vector<double> import, upgrade, repair;
        QString upgraded;
        for (int i = 0; i < runs; ++i) {
            const QString a = tmp.filePath(QStringLiteral("import%1").arg(i));
            copyFolder(old, a);
            import.push_back(timed([&] { ImportParadoxFolder(a);
        }));
        QDir(a).removeRecursively();

        upgraded = tmp.filePath(QStringLiteral("upgrade%1").arg(i));
        copyFolder(old, upgraded);
        upgrade.push_back(timed([&] { RunVersionUpgrade(upgraded); }));
        if (i + 1 < runs)
            QDir(upgraded).removeRecursively();
    }
    say(QStringLiteral("import (old tables to store):     ") + figures(import));
    say(QStringLiteral("Verzióváltás (import + upgrade):  ") + figures(upgrade));

    for (int i = 0; i < runs; ++i)
        repair.push_back(timed([&] { RunTableRepair(upgraded); }));
    say(QStringLiteral("Karbantartás (indexes, check, VACUUM): ") + figures(repair));
}
catch (const std::exception& e)
{
    say(QStringLiteral("failed: ") + QString::fromUtf8(e.what()));
    return 1;
}
return 0;
}
