#include "bench/benchsupport.h"

#include "bench/generate.h"
#include "catalogue/data/database.h"
#include "catalogue/data/query.h"

#include <QElapsedTimer>

#include <algorithm>
#include <cstdio>

BenchOptions ParseBenchOptions(const QStringList& args, int defaultRuns)
{
    BenchOptions o;
    o.runs = defaultRuns;
    for (int i = 1; i < args.size(); ++i) {
        if (args.at(i) == QLatin1String("--runs") && i + 1 < args.size())
            o.runs = std::max(1, args.at(++i).toInt());
        else
            o.folder = args.at(i);
    }
    return o;
}

void OpenLargeCatalogue(Database& db, const QString& folder)
{
    db.open(folder);
    Query cassettes(db, QStringLiteral("SELECT count(*) FROM vk"));
    cassettes.open();
    if (cassettes.value(0).toInt() > 0)
        return;
    cassettes.close();
    std::printf("Generating the large catalogue into %s ...\n", qPrintable(folder));
    GenerateCatalogue(db);
}

double MedianMs(std::vector<qint64> ns)
{
    if (ns.empty())
        return 0;
    std::sort(ns.begin(), ns.end());
    return ns[ns.size() / 2] / 1e6;
}

double MedianMs(int runs, const std::function<void(int)>& once,
                const std::function<void(int)>& setup, int warmup)
{
    for (int i = 0; i < warmup; ++i) {
        if (setup)
            setup(i);
        once(i);
    }
    std::vector<qint64> ns;
    for (int i = warmup; i < warmup + runs; ++i) {
        if (setup)
            setup(i);
        QElapsedTimer t;
        t.start();
        once(i);
        ns.push_back(t.nsecsElapsed());
    }
    return MedianMs(std::move(ns));
}

void ReportFigure(const char* what, double ms, double target)
{
    if (target > 0)
        std::printf("%-62s %9.3f ms   < %5.1f ms  %s\n", what, ms, target,
                    ms < target ? "PASS" : "FAIL");
    else
        std::printf("%-62s %9.3f ms\n", what, ms);
}
