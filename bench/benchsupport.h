#pragma once

#include <QString>
#include <QStringList>

#include <QtGlobal>

#include <functional>
#include <vector>

class Database;

// What the benchmark programs share: their options, the large catalogue they
// run on, medians and the lines they print.

struct BenchOptions
{
    int runs = 100;
    QString folder; // empty: a temporary folder
};
// "[--runs N] [folder]"
BenchOptions ParseBenchOptions(const QStringList& args, int defaultRuns);

// Opens the store in `folder` and fills it with the large catalogue when it
// holds no cassette yet, so a folder given once is generated once.
void OpenLargeCatalogue(Database& db, const QString& folder);

// The median in milliseconds of `runs` timed calls of `once`; `setup` runs
// before each call untimed, and `warmup` untimed rounds go first.
double MedianMs(int runs, const std::function<void(int)>& once,
                const std::function<void(int)>& setup = {}, int warmup = 3);
double MedianMs(std::vector<qint64> nanoseconds);

// One line of figures; a figure without a target is there to explain the others.
void ReportFigure(const char* what, double ms, double target = 0);
