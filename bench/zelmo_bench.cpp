// Measures the data layer on a large generated catalogue and puts each figure
// beside the same read done with the plain sqlite3 C API on the same file, so
// that the cost of the layer itself is visible.
//
//   zelmo_bench [--runs N] [--cassettes N] [--recordings N] [--plans] [folder]
//   zelmo_bench --check [folder]
//
// Without a folder the catalogue is generated into a temporary folder; with one,
// a store already there is reused and a missing one is generated. The cassette
// remarks that the write benchmark changes are put back afterwards.
//
// The raw side is the floor a careful hand-written reader would reach: its own
// connection with the Hungarian collation, statements prepared once where the
// text is fixed, and reads of several rows in one read transaction.

#include "bench/generate.h"

#include "catalogue/browse/browsersql.h"
#include "catalogue/data/database.h"
#include "catalogue/data/hungarian.h"
#include "catalogue/data/query.h"
#include "catalogue/data/sqlite.h"
#include "catalogue/data/table.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QCryptographicHash>
#include <QDate>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QHash>
#include <QTemporaryDir>
#include <QTime>

#include <sqlite3.h>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <memory>
#include <optional>
#include <random>
#include <vector>

namespace {

// ---------------------------------------------------------------- output

void say(const QString& text)
{
    std::fputs(text.toUtf8().constData(), stdout);
    std::fputc('\n', stdout);
    std::fflush(stdout);
}

QString ms(double ns, int decimals = 3)
{
    return QString::number(ns / 1e6, 'f', decimals) + QStringLiteral(" ms");
}

// ---------------------------------------------------------------- the raw side

// An own connection on the store file, set up as any reader of it must be.
class RawDb
{
public:
    explicit RawDb(const QString& file)
    {
        if (sqlite3_open_v2(file.toUtf8().constData(), &db_, SQLITE_OPEN_READWRITE, nullptr) !=
            SQLITE_OK) {
            const QString msg = QString::fromUtf8(sqlite3_errmsg(db_));
            sqlite3_close(db_);
            throw DbError(msg);
        }
        sqlite3_busy_timeout(db_, 2000);
        hungarian::registerOn(db_);
    }
    ~RawDb() { sqlite3_close_v2(db_); }
    RawDb(const RawDb&) = delete;
    RawDb& operator=(const RawDb&) = delete;
    sqlite3* handle() const { return db_; }

private:
    sqlite3* db_ = nullptr;
};

sqlite3_stmt* prepare(sqlite3* db, const char* sql)
{
    sqlite3_stmt* st = nullptr;
    if (sqlite3_prepare_v2(db, sql, -1, &st, nullptr) != SQLITE_OK)
        throw DbError(QString::fromUtf8(sqlite3_errmsg(db)) + QStringLiteral("\n") +
                      QString::fromUtf8(sql));
    return st;
}

struct StmtGuard
{
    sqlite3_stmt* st;
    ~StmtGuard() { sqlite3_finalize(st); }
};

bool stepRow(sqlite3_stmt* st)
{
    const int rc = sqlite3_step(st);
    if (rc == SQLITE_ROW)
        return true;
    if (rc == SQLITE_DONE)
        return false;
    throw DbError(QString::fromUtf8(sqlite3_errmsg(sqlite3_db_handle(st))));
}

// Reads every column of the current row the way a program would hand it on,
// and returns something depending on all of it so nothing is optimised away.
qint64 readColumns(sqlite3_stmt* st)
{
    qint64 sum = 0;
    const int n = sqlite3_column_count(st);
    for (int i = 0; i < n; ++i) {
        switch (sqlite3_column_type(st, i)) {
        case SQLITE_INTEGER:
            sum += sqlite3_column_int64(st, i);
            break;
        case SQLITE_TEXT:
            sum += sqlite3_column_text(st, i)[0] + sqlite3_column_bytes(st, i);
            break;
        default:
            break;
        }
    }
    return sum;
}

std::vector<qint64> ids(sqlite3* db, const QString& sql, std::optional<qint64> param = {})
{
    const QByteArray text = sql.toUtf8();
    StmtGuard g{prepare(db, text.constData())};
    if (param)
        sqlite3_bind_int64(g.st, 1, *param);
    std::vector<qint64> out;
    while (stepRow(g.st))
        out.push_back(sqlite3_column_int64(g.st, 0));
    return out;
}

qint64 scalar(sqlite3* db, const QString& sql)
{
    const QByteArray text = sql.toUtf8();
    StmtGuard g{prepare(db, text.constData())};
    return stepRow(g.st) ? sqlite3_column_int64(g.st, 0) : 0;
}

// Several reads in one read transaction: otherwise every statement takes and
// drops the file lock on its own, which costs more than a row read.
struct ReadTransaction
{
    sqlite3* db;
    explicit ReadTransaction(sqlite3* h) : db(h)
    {
        sqlite3_exec(db, "BEGIN", nullptr, nullptr, nullptr);
    }
    ~ReadTransaction() { sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr); }
};

// ---------------------------------------------------------------- measuring

struct Runs
{
    int warmups = 5;
    int runs = 100;
};

// Calls `once(i)` for the warm-ups and the runs; each call returns the
// nanoseconds of the part it timed. Returns the median of the runs.
double median(const Runs& r, const std::function<qint64(int)>& once)
{
    for (int i = 0; i < r.warmups; ++i)
        once(i);
    std::vector<qint64> ns;
    ns.reserve(size_t(r.runs));
    for (int i = 0; i < r.runs; ++i)
        ns.push_back(once(r.warmups + i));
    std::sort(ns.begin(), ns.end());
    const size_t n = ns.size();
    return n % 2 ? double(ns[n / 2]) : (double(ns[n / 2 - 1]) + double(ns[n / 2])) / 2.0;
}

struct Figure
{
    QString operation;
    double layerNs = 0;
    double targetMs = 0; // 0: no target
    double rawNs = 0;
};

// Where the layer and the raw reads disagree about a result.
QStringList g_disagreements;

void disagree(const QString& what)
{
    if (g_disagreements.size() < 30)
        g_disagreements << what;
}

// ---------------------------------------------------------------- fixed texts

const char* const RecordingColumns =
    "SELECT "
    "f.vk,f.felvetel,f.cim,f.hossz,f.minoseg,m.nev,f.mufaj,g.nev,f.szereplok,f.rendezte,f.datum,"
    "f.szamlalo_tol,f.szamlalo_ig,f.megjegyzes FROM felvetel f "
    "LEFT JOIN minoseg m ON m.az=f.minoseg LEFT JOIN mufaj g ON g.az=f.mufaj ";

// The browser's query as the browser builds it, read cassettes first.
QString browserSql(const QString& sortField)
{
    return BuildBrowserSql({}, sortField, BrowserSqlShape::OuterJoin).sql;
}

const QStringList& cassetteOrders()
{
    static const QStringList o{QStringLiteral("azonosito"), QStringLiteral("hossz"),
                               QStringLiteral("szabad"), QStringLiteral("tipus_nev"),
                               QStringLiteral("kolcsonadva")};
    return o;
}

// ---------------------------------------------------------------- benchmarks

struct Bench
{
    QString folder;
    QString file;
    int runs = 100;
    std::mt19937 rng{7u};
    std::vector<Figure> figures;

    Runs fast() const { return {5, runs}; }
    Runs slow() const { return {2, std::max(3, runs / 10)}; }
    Runs opening() const { return {3, std::max(10, runs / 2)}; }

    std::vector<int> randomRows(int count, int size)
    {
        std::vector<int> v(static_cast<size_t>(size));
        for (int& x : v)
            x = int((std::uint64_t(rng()) * std::uint32_t(count)) >> 32);
        return v;
    }

    void run();
    void measureOpen();
    void measureMove(Table& vk, Table& felv, RawDb& raw);
    void measureLocate(Table& vk, RawDb& raw, bool misses);
    void measureOrder(Table& vk, RawDb& raw);
    void measureScreen(Table& vk, RawDb& raw);
    void measureRecordingScreen(Database& db, RawDb& raw);
    void measurePost(Database& db, Table& vk, RawDb& raw);
    void measureBrowser(Database& db, RawDb& raw, const QString& sortField, const QString& label);
    void measureBrowserScreen(Database& db, RawDb& raw, const QString& sortField,
                              const QString& label);
};

void Bench::measureOpen()
{
    Figure f{QStringLiteral("open store + both main tables"), 0, 100, 0};
    f.layerNs = median(opening(), [this](int) {
        QElapsedTimer t;
        t.start();
        Database db;
        db.open(folder);
        Table vk(db, QStringLiteral("vk"));
        vk.setOrderBy(QStringLiteral("azonosito"));
        vk.open();
        Table felv(db, QStringLiteral("felvetel"));
        felv.setOrderBy(QStringLiteral("felvetel"));
        felv.setFilter(QStringLiteral("vk=") + vk.value(QStringLiteral("vk")).toString());
        felv.open();
        const qint64 ns = t.nsecsElapsed();
        if (vk.recordCount() == 0)
            disagree(QStringLiteral("open: the cassette table is empty"));
        return ns;
    });
    f.rawNs = median(opening(), [this](int) {
        QElapsedTimer t;
        t.start();
        RawDb raw(file);
        const std::vector<qint64> keys =
            ids(raw.handle(), QStringLiteral("SELECT rowid FROM vk ORDER BY azonosito, vk"));
        const qint64 first = scalar(
            raw.handle(), QStringLiteral("SELECT vk FROM vk WHERE rowid=%1").arg(keys.at(0)));
        const std::vector<qint64> tracks =
            ids(raw.handle(),
                QStringLiteral("SELECT rowid FROM felvetel WHERE vk=?1 ORDER BY felvetel"), first);
        (void)tracks;
        return t.nsecsElapsed();
    });
    figures.push_back(f);
}

void Bench::measureMove(Table& vk, Table& felv, RawDb& raw)
{
    const Runs r = fast();
    const std::vector<int> rows = randomRows(vk.recordCount(), r.warmups + r.runs);
    std::vector<int> layerCounts(rows.size()), rawCounts(rows.size());
    Figure f{QStringLiteral("move to a cassette, read its recordings"), 0, 2, 0};
    f.layerNs = median(r, [&](int i) {
        QElapsedTimer t;
        t.start();
        vk.moveTo(rows[size_t(i)]);
        const int number = vk.value(QStringLiteral("vk")).toInt();
        felv.setFilter(QStringLiteral("vk=") + QString::number(number));
        const int n = felv.recordCount();
        qint64 sum = 0;
        for (int k = 0; k < n; ++k)
            sum += felv.rowAt(k).size();
        const qint64 ns = t.nsecsElapsed();
        layerCounts[size_t(i)] = n;
        return ns + (sum < 0 ? 1 : 0);
    });

    const std::vector<qint64> order =
        ids(raw.handle(), QStringLiteral("SELECT rowid FROM vk ORDER BY azonosito, vk"));
    StmtGuard number{prepare(raw.handle(), "SELECT vk FROM vk WHERE rowid=?1")};
    const QByteArray sql = QByteArray(RecordingColumns) + "WHERE f.vk=?1 ORDER BY f.felvetel";
    StmtGuard recs{prepare(raw.handle(), sql.constData())};
    f.rawNs = median(r, [&](int i) {
        QElapsedTimer t;
        t.start();
        int n = 0;
        qint64 sum = 0;
        {
            ReadTransaction rt(raw.handle());
            sqlite3_bind_int64(number.st, 1, order.at(size_t(rows[size_t(i)])));
            stepRow(number.st);
            const qint64 vkNumber = sqlite3_column_int64(number.st, 0);
            sqlite3_reset(number.st);
            sqlite3_bind_int64(recs.st, 1, vkNumber);
            while (stepRow(recs.st)) {
                sum += readColumns(recs.st);
                ++n;
            }
            sqlite3_reset(recs.st);
        }
        const qint64 ns = t.nsecsElapsed();
        rawCounts[size_t(i)] = n;
        return ns + (sum == -1 ? 1 : 0);
    });
    for (size_t i = 0; i < rows.size(); ++i)
        if (layerCounts[i] != rawCounts[i])
            disagree(QStringLiteral(
                         "move: cassette at row %1 has %2 recordings in the layer, %3 in the store")
                         .arg(rows[i])
                         .arg(layerCounts[i])
                         .arg(rawCounts[i]));
    figures.push_back(f);
}

// With `misses`, the typed text leads nowhere (a typo after a valid start):
// the search must come back empty-handed just as fast.
void Bench::measureLocate(Table& vk, RawDb& raw, bool misses)
{
    vk.setOrderBy(QStringLiteral("tipus_nev"));
    // The oracle: every row's type name in the table's order, searched in memory.
    std::vector<qint64> order;
    QStringList names;
    {
        StmtGuard g{
            prepare(raw.handle(), "SELECT rowid, tipus_nev FROM vk ORDER BY tipus_nev, vk")};
        while (stepRow(g.st)) {
            order.push_back(sqlite3_column_int64(g.st, 0));
            const auto* p = reinterpret_cast<const char*>(sqlite3_column_text(g.st, 1));
            names << (p ? QString::fromUtf8(p) : QString());
        }
    }
    const auto firstMatch = [&names](const QString& prefix) {
        for (int k = 0; k < names.size(); ++k)
            if (!names.at(k).isNull() && hungarian::startsWithIgnoringCase(names.at(k), prefix))
                return k;
        return -1;
    };
    QStringList prefixes;
    for (const QString& n : std::as_const(names))
        for (int len = 1; len <= 3 && len <= n.size(); ++len) {
            const QString p =
                misses ? n.left(2).toLower() + QLatin1Char('q') : n.left(len).toLower();
            if (!p.contains(QLatin1Char(' ')) && !prefixes.contains(p) &&
                (!misses || firstMatch(p) < 0))
                prefixes << p;
        }
    if (prefixes.isEmpty())
        return;
    std::sort(prefixes.begin(), prefixes.end());
    const Runs r = fast();
    const std::vector<int> picks = randomRows(int(prefixes.size()), r.warmups + r.runs);
    std::vector<int> expected(picks.size(), -1), layerPos(picks.size(), -2),
        rawPos(picks.size(), -2);
    for (size_t i = 0; i < picks.size(); ++i)
        expected[i] = firstMatch(prefixes.at(picks[i]));

    const LocateOptions options = LocateOption::CaseInsensitive | LocateOption::PartialKey;
    Figure f{misses ? QStringLiteral("locate a typed prefix that matches nothing")
                    : QStringLiteral("locate type name by typed prefix"),
             0, 2, 0};
    f.layerNs = median(r, [&](int i) {
        vk.moveTo(0);
        QElapsedTimer t;
        t.start();
        const bool found =
            vk.locate(QStringLiteral("tipus_nev"), prefixes.at(picks[size_t(i)]), options);
        const qint64 ns = t.nsecsElapsed();
        layerPos[size_t(i)] = found ? vk.currentRow() : -1;
        return ns;
    });
    StmtGuard g{prepare(raw.handle(),
                        "SELECT rowid FROM vk WHERE tipus_nev>=?1 AND zelmo_prefix(tipus_nev,?1) "
                        "ORDER BY tipus_nev, vk LIMIT 1")};
    f.rawNs = median(r, [&](int i) {
        const QByteArray p = prefixes.at(picks[size_t(i)]).toUtf8();
        QElapsedTimer t;
        t.start();
        sqlite3_bind_text(g.st, 1, p.constData(), int(p.size()), SQLITE_TRANSIENT);
        int pos = -1;
        if (stepRow(g.st)) {
            const qint64 key = sqlite3_column_int64(g.st, 0);
            pos = int(std::find(order.begin(), order.end(), key) - order.begin());
        }
        sqlite3_reset(g.st);
        const qint64 ns = t.nsecsElapsed();
        rawPos[size_t(i)] = pos;
        return ns;
    });
    for (size_t i = 0; i < picks.size(); ++i)
        if (layerPos[i] != expected[i] || rawPos[i] != expected[i])
            disagree(
                QStringLiteral("locate \"%1\": layer row %2, raw row %3, first matching row %4")
                    .arg(prefixes.at(picks[i]))
                    .arg(layerPos[i])
                    .arg(rawPos[i])
                    .arg(expected[i]));
    figures.push_back(f);
}

void Bench::measureOrder(Table& vk, RawDb& raw)
{
    const QStringList& orders = cassetteOrders();
    Figure f{QStringLiteral("change cassette order"), 0, 20, 0};
    const int expected = vk.recordCount();
    f.layerNs = median(fast(), [&](int i) {
        QElapsedTimer t;
        t.start();
        vk.setOrderBy(orders.at(i % orders.size()));
        const qint64 ns = t.nsecsElapsed();
        if (vk.recordCount() != expected)
            disagree(QStringLiteral("order by %1: %2 rows instead of %3")
                         .arg(orders.at(i % orders.size()))
                         .arg(vk.recordCount())
                         .arg(expected));
        return ns;
    });
    f.rawNs = median(fast(), [&](int i) {
        const QString sql = QStringLiteral("SELECT rowid FROM vk ORDER BY %1, vk")
                                .arg(orders.at(i % orders.size()));
        QElapsedTimer t;
        t.start();
        const std::vector<qint64> keys = ids(raw.handle(), sql);
        const qint64 ns = t.nsecsElapsed();
        if (int(keys.size()) != expected)
            disagree(QStringLiteral("raw order: wrong row count"));
        return ns;
    });
    figures.push_back(f);
}

// Disjoint windows in a shuffled order, so that most screens read rows the
// table has not read before, as scrolling through a long list does.
std::vector<int> windows(int rows, int height, std::mt19937& rng)
{
    std::vector<int> starts;
    for (int s = 0; s + height <= rows; s += height)
        starts.push_back(s);
    if (starts.empty())
        starts.push_back(0);
    for (size_t i = starts.size() - 1; i > 0; --i)
        std::swap(starts[i], starts[size_t((std::uint64_t(rng()) * (i + 1)) >> 32)]);
    return starts;
}

constexpr int ScreenRows = 40;

// One screen of every field's display text through the layer; returns its nanoseconds.
qint64 layerScreen(DataSet& ds, int start)
{
    QElapsedTimer t;
    t.start();
    qint64 chars = 0;
    const int end = std::min(start + ScreenRows, ds.recordCount());
    for (int row = start; row < end; ++row)
        for (int field = 0; field < ds.fieldCount(); ++field)
            chars += ds.displayTextAt(row, field).size();
    return t.nsecsElapsed() + (chars < 0 ? 1 : 0);
}

// One screen read by row id in one read transaction; returns its nanoseconds.
qint64 rawScreen(sqlite3* db, sqlite3_stmt* st, const std::vector<qint64>& order, int start)
{
    QElapsedTimer t;
    t.start();
    qint64 sum = 0;
    {
        ReadTransaction rt(db);
        const int end = std::min(start + ScreenRows, int(order.size()));
        for (int row = start; row < end; ++row) {
            sqlite3_bind_int64(st, 1, order[size_t(row)]);
            if (stepRow(st))
                sum += readColumns(st);
            sqlite3_reset(st);
        }
    }
    return t.nsecsElapsed() + (sum == -1 ? 1 : 0);
}

void Bench::measureScreen(Table& vk, RawDb& raw)
{
    vk.setOrderBy(QStringLiteral("azonosito"));
    const std::vector<int> starts = windows(vk.recordCount(), ScreenRows, rng);
    Figure f{QStringLiteral("read one screen of cassettes (40 rows)"), 0, 1, 0};
    f.layerNs = median(fast(), [&](int i) { return layerScreen(vk, starts[size_t(i) % starts.size()]); });
    const std::vector<qint64> order =
        ids(raw.handle(), QStringLiteral("SELECT rowid FROM vk ORDER BY azonosito, vk"));
    StmtGuard g{prepare(raw.handle(),
                        "SELECT vk,azonosito,hossz,szabad,megjegyzes,tipus,kolcsonadva,dat_kolcs,"
                        "kinek,tipus_nev FROM vk WHERE rowid=?1")};
    f.rawNs = median(fast(), [&](int i) {
        const int start = starts[size_t(i) % starts.size()];
        return rawScreen(raw.handle(), g.st, order, start);
    });
    figures.push_back(f);
}

void Bench::measureRecordingScreen(Database& db, RawDb& raw)
{
    Table felv(db, QStringLiteral("felvetel"));
    felv.setOrderBy(QStringLiteral("cim"));
    felv.setReadOnly(true);
    felv.open();
    const std::vector<int> starts = windows(felv.recordCount(), ScreenRows, rng);
    Figure f{QStringLiteral("read one screen of recordings by title (40 rows)"), 0, 1, 0};
    f.layerNs = median(fast(), [&](int i) { return layerScreen(felv, starts[size_t(i) % starts.size()]); });
    const std::vector<qint64> order =
        ids(raw.handle(), QStringLiteral("SELECT rowid FROM felvetel ORDER BY cim, vk, felvetel"));
    if (int(order.size()) != felv.recordCount())
        disagree(QStringLiteral("recordings by title: %1 rows in the layer, %2 in the store")
                     .arg(felv.recordCount())
                     .arg(order.size()));
    const QByteArray sql = QByteArray(RecordingColumns) + "WHERE f.rowid=?1";
    StmtGuard g{prepare(raw.handle(), sql.constData())};
    f.rawNs = median(fast(), [&](int i) {
        const int start = starts[size_t(i) % starts.size()];
        return rawScreen(raw.handle(), g.st, order, start);
    });
    figures.push_back(f);
}

void Bench::measurePost(Database& db, Table& vk, RawDb& raw)
{
    vk.setOrderBy(QStringLiteral("azonosito"));
    const Runs r = fast();
    const std::vector<int> rows = randomRows(vk.recordCount(), r.warmups + r.runs);
    QHash<int, QVariant> originals; // row -> remark before the benchmark
    Figure f{QStringLiteral("post one changed cassette (committed)"), 0, 10, 0};
    f.layerNs = median(r, [&](int i) {
        const int row = rows[size_t(i)];
        vk.moveTo(row);
        if (!originals.contains(row))
            originals.insert(row, vk.value(QStringLiteral("megjegyzes")));
        const QString text = QStringLiteral("Mérés %1").arg(i);
        QElapsedTimer t;
        t.start();
        vk.edit();
        vk.setValue(QStringLiteral("megjegyzes"), text);
        vk.post();
        const qint64 ns = t.nsecsElapsed();
        if (vk.value(QStringLiteral("megjegyzes")).toString() != text)
            disagree(QStringLiteral("post: the remark of row %1 did not change").arg(row));
        return ns;
    });
    {
        Transaction tx(db);
        for (auto it = originals.constBegin(); it != originals.constEnd(); ++it) {
            vk.moveTo(it.key());
            vk.edit();
            vk.setValue(QStringLiteral("megjegyzes"), it.value());
            vk.post();
        }
        tx.commit();
    }

    const std::vector<qint64> order =
        ids(raw.handle(), QStringLiteral("SELECT rowid FROM vk ORDER BY azonosito, vk"));
    QHash<qint64, QByteArray> rawOriginals;
    {
        StmtGuard read{prepare(raw.handle(), "SELECT megjegyzes FROM vk WHERE rowid=?1")};
        for (int row : rows) {
            const qint64 key = order.at(size_t(row));
            sqlite3_bind_int64(read.st, 1, key);
            if (stepRow(read.st) && sqlite3_column_type(read.st, 0) != SQLITE_NULL)
                rawOriginals.insert(key, QByteArray(reinterpret_cast<const char*>(
                                             sqlite3_column_text(read.st, 0))));
            else
                rawOriginals.insert(key, QByteArray());
            sqlite3_reset(read.st);
        }
    }
    {
        sqlite3_exec(raw.handle(), "PRAGMA synchronous=FULL", nullptr, nullptr, nullptr);
        StmtGuard g{prepare(raw.handle(), "UPDATE vk SET megjegyzes=?1 WHERE rowid=?2")};
        f.rawNs = median(r, [&](int i) {
            const QByteArray text = QStringLiteral("Mérés %1").arg(i).toUtf8();
            const qint64 key = order.at(size_t(rows[size_t(i)]));
            QElapsedTimer t;
            t.start();
            sqlite3_bind_text(g.st, 1, text.constData(), int(text.size()), SQLITE_TRANSIENT);
            sqlite3_bind_int64(g.st, 2, key);
            stepRow(g.st);
            sqlite3_reset(g.st);
            return t.nsecsElapsed();
        });
        sqlite3_exec(raw.handle(), "BEGIN", nullptr, nullptr, nullptr);
        for (auto it = rawOriginals.constBegin(); it != rawOriginals.constEnd(); ++it) {
            if (it.value().isNull())
                sqlite3_bind_null(g.st, 1);
            else
                sqlite3_bind_text(g.st, 1, it.value().constData(), int(it.value().size()),
                                  SQLITE_TRANSIENT);
            sqlite3_bind_int64(g.st, 2, it.key());
            stepRow(g.st);
            sqlite3_reset(g.st);
        }
        sqlite3_exec(raw.handle(), "COMMIT", nullptr, nullptr, nullptr);
    }
    figures.push_back(f);
}

void Bench::measureBrowser(Database& db, RawDb& raw, const QString& sortField, const QString& label)
{
    const QString sql = browserSql(sortField);
    int layerRows = -1, rawRows = -1;
    Figure f{label, 0, 0, 0};
    f.layerNs = median(slow(), [&](int) {
        Query q(db, sql);
        QElapsedTimer t;
        t.start();
        q.open();
        int n = 0;
        qint64 sum = 0;
        for (; q.hasRow(n); ++n)
            sum += q.rowAt(n).size();
        const qint64 ns = t.nsecsElapsed();
        layerRows = n;
        return ns + (sum < 0 ? 1 : 0);
    });
    const QByteArray text = sql.toUtf8();
    f.rawNs = median(slow(), [&](int) {
        QElapsedTimer t;
        t.start();
        StmtGuard g{prepare(raw.handle(), text.constData())};
        int n = 0;
        qint64 sum = 0;
        while (stepRow(g.st)) {
            sum += readColumns(g.st);
            ++n;
        }
        const qint64 ns = t.nsecsElapsed();
        rawRows = n;
        return ns + (sum == -1 ? 1 : 0);
    });
    if (layerRows != rawRows)
        disagree(QStringLiteral("%1: %2 rows in the layer, %3 raw")
                     .arg(label)
                     .arg(layerRows)
                     .arg(rawRows));
    figures.push_back(f);
}

// What the user waits for when the browser opens: the rows of the first screen.
void Bench::measureBrowserScreen(Database& db, RawDb& raw, const QString& sortField,
                                 const QString& label)
{
    const QString sql = browserSql(sortField);
    Figure f{label, 0, 0, 0};
    f.layerNs = median(slow(), [&](int) {
        Query q(db, sql);
        QElapsedTimer t;
        t.start();
        q.open();
        qint64 chars = 0;
        for (int row = 0; row < ScreenRows && q.hasRow(row); ++row)
            for (int field = 0; field < q.fieldCount(); ++field)
                chars += q.displayTextAt(row, field).size();
        return t.nsecsElapsed() + (chars < 0 ? 1 : 0);
    });
    const QByteArray text = sql.toUtf8();
    f.rawNs = median(slow(), [&](int) {
        QElapsedTimer t;
        t.start();
        qint64 sum = 0;
        {
            StmtGuard g{prepare(raw.handle(), text.constData())};
            for (int row = 0; row < ScreenRows && stepRow(g.st); ++row)
                sum += readColumns(g.st);
        }
        return t.nsecsElapsed() + (sum == -1 ? 1 : 0);
    });
    figures.push_back(f);
}

void Bench::run()
{
    measureOpen();

    Database db;
    db.open(folder);
    RawDb raw(file);
    Table vk(db, QStringLiteral("vk"));
    vk.setOrderBy(QStringLiteral("azonosito"));
    vk.open();
    Table felv(db, QStringLiteral("felvetel"));
    felv.setOrderBy(QStringLiteral("felvetel"));
    felv.setFilter(QStringLiteral("vk=") + vk.value(QStringLiteral("vk")).toString());
    felv.open();
    if (vk.recordCount() == 0) {
        say(QStringLiteral("The store holds no cassettes: nothing to measure."));
        return;
    }

    measureMove(vk, felv, raw);
    measureLocate(vk, raw, false);
    measureLocate(vk, raw, true);
    measureOrder(vk, raw);
    measureScreen(vk, raw);
    measureRecordingScreen(db, raw);
    measurePost(db, vk, raw);
    measureBrowserScreen(db, raw, QStringLiteral("vk"),
                         QStringLiteral("browser join by vk.vk: first screen"));
    measureBrowserScreen(db, raw, QStringLiteral("cim"),
                         QStringLiteral("browser join by cim: first screen"));
    measureBrowser(db, raw, QStringLiteral("vk"),
                   QStringLiteral("browser join by vk.vk: every row"));
    measureBrowser(db, raw, QStringLiteral("cim"),
                   QStringLiteral("browser join by cim: every row"));
}

void printTable(const std::vector<Figure>& figures)
{
    int width = 9;
    for (const Figure& f : figures)
        width = std::max(width, int(f.operation.size()));
    const auto row = [width](const QString& op, const QString& layer, const QString& target,
                             const QString& raw, const QString& ratio, const QString& verdict) {
        say(QStringLiteral("%1  %2  %3  %4  %5  %6")
                .arg(op, -width)
                .arg(layer, 12)
                .arg(target, 9)
                .arg(raw, 12)
                .arg(ratio, 7)
                .arg(verdict));
    };
    row(QStringLiteral("operation"), QStringLiteral("median"), QStringLiteral("target"),
        QStringLiteral("raw median"), QStringLiteral("ratio"), QStringLiteral("result"));
    for (const Figure& f : figures) {
        const QString target =
            f.targetMs > 0 ? QStringLiteral("< %1 ms").arg(f.targetMs) : QStringLiteral("-");
        const QString verdict =
            f.targetMs > 0
                ? (f.layerNs < f.targetMs * 1e6 ? QStringLiteral("PASS") : QStringLiteral("FAIL"))
                : QStringLiteral("-");
        const QString ratio =
            f.rawNs > 0 ? QString::number(f.layerNs / f.rawNs, 'f', 1) : QStringLiteral("-");
        row(f.operation, ms(f.layerNs), target, ms(f.rawNs), ratio, verdict);
    }
}

// ---------------------------------------------------------------- plans

void printPlans(const QString& file)
{
    RawDb raw(file);
    const QStringList statements{
        QStringLiteral("SELECT rowid FROM \"vk\" ORDER BY \"azonosito\",\"vk\""),
        QStringLiteral("SELECT rowid FROM \"vk\" ORDER BY \"tipus_nev\",\"vk\""),
        QStringLiteral("SELECT rowid FROM \"vk\" ORDER BY \"kolcsonadva\",\"vk\""),
        QStringLiteral(
            "SELECT rowid FROM \"felvetel\" WHERE \"vk\"=?1 ORDER BY \"felvetel\",\"vk\""),
        QStringLiteral(
            "SELECT rowid FROM \"vk\" WHERE \"tipus_nev\">=?1 AND zelmo_prefix(\"tipus_nev\",?1) "
            "ORDER BY \"tipus_nev\",\"vk\" LIMIT 1"),
        QStringLiteral(
            "SELECT t.\"cim\",(SELECT \"nev\" FROM \"minoseg\" WHERE \"az\"=t.\"minoseg\" LIMIT 1) "
            "FROM \"felvetel\" AS t WHERE t.rowid=?1"),
        browserSql(QStringLiteral("vk")),
        browserSql(QStringLiteral("cim")),
    };
    for (const QString& s : statements) {
        say(QStringLiteral("\n") + QString(s).replace(QLatin1Char('\n'), QLatin1Char(' ')));
        const QByteArray text = (QStringLiteral("EXPLAIN QUERY PLAN ") + s).toUtf8();
        StmtGuard g{prepare(raw.handle(), text.constData())};
        while (stepRow(g.st))
            say(QStringLiteral("    ") +
                QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(g.st, 3))));
    }
}

// ---------------------------------------------------------------- checking

QStringList g_violations;

void violation(const QString& what)
{
    if (g_violations.size() < 40)
        g_violations << what;
    else if (g_violations.size() == 40)
        g_violations << QStringLiteral("... and more");
}

int minutesOf(const QString& time)
{
    const QTime t = QTime::fromString(time, QStringLiteral("HH:mm:ss"));
    return t.isValid() ? t.hour() * 60 + t.minute() : -1;
}

QString text(sqlite3_stmt* st, int i)
{
    const auto* p = reinterpret_cast<const char*>(sqlite3_column_text(st, i));
    return p ? QString::fromUtf8(p, sqlite3_column_bytes(st, i)) : QString();
}

bool isNull(sqlite3_stmt* st, int i)
{
    return sqlite3_column_type(st, i) == SQLITE_NULL;
}

bool validDate(const QString& s)
{
    return s.size() == 10 && QDate::fromString(s, Qt::ISODate).isValid();
}

// The rules a generated catalogue keeps; `label` names the store in messages.
void checkStore(const QString& file, const QString& label, const GenerateOptions* counts)
{
    RawDb raw(file);
    sqlite3* h = raw.handle();
    const auto where = [&label](const QString& s) { return label + QStringLiteral(": ") + s; };

    if (counts) {
        const struct
        {
            const char* table;
            int expected;
        } expected[] = {{"vk", counts->cassettes},      {"felvetel", counts->recordings},
                        {"tipus", counts->types},       {"mufaj", counts->genres},
                        {"minoseg", counts->qualities}, {"szereplo", counts->performers}};
        for (const auto& e : expected) {
            const qint64 n =
                scalar(h, QStringLiteral("SELECT count(*) FROM %1").arg(QLatin1String(e.table)));
            if (n != e.expected)
                violation(where(QStringLiteral("%1 holds %2 rows, not %3")
                                    .arg(QLatin1String(e.table))
                                    .arg(n)
                                    .arg(e.expected)));
        }
    }

    {
        StmtGuard g{prepare(
            h, "SELECT v.vk, v.azonosito, v.hossz, v.szabad, v.kolcsonadva, v.kinek, v.dat_kolcs, "
               "v.tipus, v.tipus_nev, t.nev, s.total, s.n, s.lo, s.hi "
               "FROM vk v LEFT JOIN tipus t ON t.az=v.tipus "
               "LEFT JOIN (SELECT vk, sum(hossz) AS total, count(*) AS n, min(felvetel) AS lo, "
               "max(felvetel) AS hi FROM felvetel GROUP BY vk) s ON s.vk=v.vk ORDER BY v.vk")};
        while (stepRow(g.st)) {
            const qint64 vk = sqlite3_column_int64(g.st, 0);
            const QString id = QStringLiteral("cassette %1").arg(vk);
            if (text(g.st, 1) != QStringLiteral("%1").arg(vk, 5, 10, QLatin1Char('0')))
                violation(where(id + QStringLiteral(": azonosito is \"%1\"").arg(text(g.st, 1))));
            const qint64 hossz = sqlite3_column_int64(g.st, 2);
            if (hossz != 120 && hossz != 180 && hossz != 240 && hossz != 300)
                violation(where(id + QStringLiteral(": tape length %1").arg(hossz)));
            const qint64 used = sqlite3_column_int64(g.st, 10);
            if (isNull(g.st, 3) || sqlite3_column_int64(g.st, 3) != hossz - used)
                violation(where(id + QStringLiteral(": szabad %1, but %2 - %3")
                                         .arg(text(g.st, 3))
                                         .arg(hossz)
                                         .arg(used)));
            const qint64 n = sqlite3_column_int64(g.st, 11);
            if (n > 0 &&
                (sqlite3_column_int64(g.st, 12) != 1 || sqlite3_column_int64(g.st, 13) != n))
                violation(where(id + QStringLiteral(": %1 tracks numbered %2..%3")
                                         .arg(n)
                                         .arg(sqlite3_column_int64(g.st, 12))
                                         .arg(sqlite3_column_int64(g.st, 13))));
            const QString lent = text(g.st, 4);
            const bool loan = !isNull(g.st, 5) || !isNull(g.st, 6);
            if (lent == QLatin1String("I")) {
                if (isNull(g.st, 5) || !validDate(text(g.st, 6)))
                    violation(where(id + QStringLiteral(": lent without borrower or date")));
                else if (text(g.st, 5) != text(g.st, 5).toUpper())
                    violation(where(id + QStringLiteral(": borrower not in capitals")));
            } else if ((!lent.isNull() && lent != QLatin1String("N")) || loan) {
                violation(where(
                    id +
                    QStringLiteral(": lending flag \"%1\" with loan data %2").arg(lent).arg(loan)));
            }
            if (isNull(g.st, 7) != isNull(g.st, 8) || text(g.st, 8) != text(g.st, 9))
                violation(where(id + QStringLiteral(": tipus_nev \"%1\" but type name \"%2\"")
                                         .arg(text(g.st, 8), text(g.st, 9))));
        }
    }

    {
        StmtGuard g{
            prepare(h, "SELECT vk, felvetel, hossz, szamlalo_tol, szamlalo_ig, datum FROM felvetel "
                       "ORDER BY vk, felvetel")};
        qint64 lastVk = -1;
        int lastEnd = -1;
        while (stepRow(g.st)) {
            const qint64 vk = sqlite3_column_int64(g.st, 0);
            const qint64 track = sqlite3_column_int64(g.st, 1);
            const QString id = QStringLiteral("recording %1/%2").arg(vk).arg(track);
            const int from = minutesOf(text(g.st, 3));
            const int to = minutesOf(text(g.st, 4));
            if (from < 0 || to < 0)
                violation(where(
                    id +
                    QStringLiteral(": counter \"%1\"-\"%2\"").arg(text(g.st, 3), text(g.st, 4))));
            else if (to - from + 1 != sqlite3_column_int64(g.st, 2))
                violation(where(id + QStringLiteral(": length %1 for %2-%3")
                                         .arg(sqlite3_column_int64(g.st, 2))
                                         .arg(text(g.st, 3), text(g.st, 4))));
            if (vk == lastVk && from != lastEnd)
                violation(
                    where(id + QStringLiteral(": starts at %1, the previous ended at %2 minutes")
                                   .arg(from)
                                   .arg(lastEnd)));
            if (vk != lastVk && from != 0)
                violation(
                    where(id + QStringLiteral(": the first track starts at %1 minutes").arg(from)));
            if (!isNull(g.st, 5) && !validDate(text(g.st, 5)))
                violation(where(id + QStringLiteral(": date \"%1\"").arg(text(g.st, 5))));
            lastVk = vk;
            lastEnd = to;
        }
    }

    const struct
    {
        const char* what;
        const char* sql;
    } counted[] = {
        {"recordings of a missing cassette",
         "SELECT count(*) FROM felvetel WHERE vk NOT IN (SELECT vk FROM vk)"},
        {"cassette texts longer than their fields",
         "SELECT count(*) FROM vk WHERE length(azonosito)>10 OR length(megjegyzes)>255 OR "
         "length(kinek)>50 "
         "OR length(tipus_nev)>25"},
        {"recording texts longer than their fields",
         "SELECT count(*) FROM felvetel WHERE length(cim)>50 OR length(szereplok)>255 OR "
         "length(rendezte)>50 "
         "OR length(megjegyzes)>255"},
        {"master names longer than 25",
         "SELECT (SELECT count(*) FROM tipus WHERE length(nev)>25)+(SELECT count(*) FROM mufaj "
         "WHERE length(nev)>25)"
         "+(SELECT count(*) FROM minoseg WHERE length(nev)>25)+(SELECT count(*) FROM szereplo "
         "WHERE length(nev)>25)"},
        {"performer lists naming someone not in szereplo",
         "WITH RECURSIVE split(rest, name) AS (SELECT szereplok || ', ', NULL FROM felvetel WHERE "
         "szereplok IS NOT "
         "NULL UNION ALL SELECT substr(rest, instr(rest, ', ') + 2), substr(rest, 1, instr(rest, "
         "', ') - 1) FROM "
         "split WHERE rest <> '') SELECT count(*) FROM split WHERE name IS NOT NULL AND name NOT "
         "IN "
         "(SELECT nev FROM szereplo)"},
    };
    for (const auto& c : counted) {
        const qint64 n = scalar(h, QString::fromUtf8(c.sql));
        if (n != 0)
            violation(where(QStringLiteral("%1: %2").arg(QLatin1String(c.what)).arg(n)));
    }
}

// Every row of every catalogue table, as one digest.
QByteArray digest(const QString& file)
{
    RawDb raw(file);
    QCryptographicHash hash(QCryptographicHash::Sha256);
    for (const char* sql :
         {"SELECT * FROM vk ORDER BY vk", "SELECT * FROM felvetel ORDER BY vk, felvetel",
          "SELECT * FROM tipus ORDER BY az", "SELECT * FROM mufaj ORDER BY az",
          "SELECT * FROM minoseg ORDER BY az", "SELECT * FROM szereplo ORDER BY az"}) {
        StmtGuard g{prepare(raw.handle(), sql)};
        while (stepRow(g.st))
            for (int i = 0; i < sqlite3_column_count(g.st); ++i) {
                hash.addData(QByteArray::number(sqlite3_column_type(g.st, i)));
                const auto* p = reinterpret_cast<const char*>(sqlite3_column_text(g.st, i));
                if (p)
                    hash.addData(QByteArrayView(p, sqlite3_column_bytes(g.st, i)));
                hash.addData(QByteArrayView("\x1f", 1));
            }
    }
    return hash.result();
}

QString generateInto(const QString& folder, const GenerateOptions& options)
{
    Database db;
    db.open(folder);
    GenerateCatalogue(db, options);
    return db.filePath();
}

void checkGenerator()
{
    // The same options give the same rows; another seed gives other rows.
    GenerateOptions small;
    small.cassettes = 300;
    small.recordings = 3000;
    small.performers = 200;
    QTemporaryDir a, b, c;
    const QString fa = generateInto(a.path(), small);
    const QString fb = generateInto(b.path(), small);
    GenerateOptions other = small;
    other.seed += 1;
    const QString fc = generateInto(c.path(), other);
    checkStore(fa, QStringLiteral("small catalogue"), &small);
    if (digest(fa) != digest(fb))
        violation(QStringLiteral("two catalogues generated with the same options differ"));
    if (digest(fa) == digest(fc))
        violation(QStringLiteral("another seed gave the same catalogue"));

    // Counts past the built-in name lists, and the degenerate sizes.
    GenerateOptions wide;
    wide.cassettes = 40;
    wide.recordings = 1500; // more tracks than a 300-minute tape can hold at 3 minutes each
    wide.types = 70;
    wide.genres = 90;
    wide.qualities = 20;
    wide.performers = 3700;
    QTemporaryDir d;
    checkStore(generateInto(d.path(), wide), QStringLiteral("wide catalogue"), &wide);
    GenerateOptions empty{0, 0, 0, 0, 0, 0, 1u};
    QTemporaryDir e;
    checkStore(generateInto(e.path(), empty), QStringLiteral("empty catalogue"), &empty);
    GenerateOptions noRecordings{5, 0, 1, 1, 1, 1, 1u};
    QTemporaryDir f;
    checkStore(generateInto(f.path(), noRecordings), QStringLiteral("cassettes without recordings"),
               &noRecordings);

    // A second run must not add to a catalogue that exists.
    Database db;
    db.open(a.path());
    try {
        GenerateCatalogue(db, small);
        violation(QStringLiteral("generating into a filled store was accepted"));
    } catch (const DbError&) {
    }
    if (scalar(db.handle(), QStringLiteral("SELECT count(*) FROM vk")) != small.cassettes)
        violation(QStringLiteral("the refused generation left rows behind"));
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("zelmo_bench"));
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral(
        "Measures the catalogue data layer on a generated catalogue against plain sqlite3 reads."));
    parser.addHelpOption();
    const QCommandLineOption check(
        QStringLiteral("check"),
        QStringLiteral("Verify the generator's rules on the store and on small catalogues; "
                       "exit 1 on a violation. Measures nothing."));
    const QCommandLineOption runs(QStringLiteral("runs"),
                                  QStringLiteral("Runs of each quick operation (default 100)."),
                                  QStringLiteral("n"), QStringLiteral("100"));
    const QCommandLineOption cassettes(QStringLiteral("cassettes"),
                                       QStringLiteral("Cassettes to generate (default 10000)."),
                                       QStringLiteral("n"));
    const QCommandLineOption recordings(QStringLiteral("recordings"),
                                        QStringLiteral("Recordings to generate (default 100000)."),
                                        QStringLiteral("n"));
    const QCommandLineOption plans(QStringLiteral("plans"),
                                   QStringLiteral("Print the query plans of the layer's "
                                                  "main statements."));
    parser.addOptions({check, runs, cassettes, recordings, plans});
    parser.addPositionalArgument(
        QStringLiteral("folder"),
        QStringLiteral("Data folder to use; a store there is reused (default: a temporary "
                       "folder)."));
    parser.process(app);

    try {
        std::unique_ptr<QTemporaryDir> temp;
        QString folder;
        if (!parser.positionalArguments().isEmpty()) {
            folder = QDir(parser.positionalArguments().constFirst()).absolutePath();
        } else {
            temp = std::make_unique<QTemporaryDir>();
            if (!temp->isValid())
                throw DbError(QStringLiteral("No temporary folder: %1").arg(temp->errorString()));
            folder = temp->path();
        }

        GenerateOptions options;
        if (parser.isSet(cassettes))
            options.cassettes = parser.value(cassettes).toInt();
        if (parser.isSet(recordings))
            options.recordings = parser.value(recordings).toInt();

        QString file;
        bool generated = false;
        {
            Database db;
            db.open(folder);
            file = db.filePath();
            if (scalar(db.handle(), QStringLiteral("SELECT count(*) FROM vk")) == 0) {
                say(QStringLiteral("Generating %1 cassettes and %2 recordings into %3 ...")
                        .arg(options.cassettes)
                        .arg(options.recordings)
                        .arg(QDir::toNativeSeparators(folder)));
                QElapsedTimer t;
                t.start();
                GenerateCatalogue(db, options);
                generated = true;
                say(QStringLiteral("  done in %1").arg(ms(double(t.nsecsElapsed()), 0)));
            } else {
                say(QStringLiteral("Reusing the store in %1")
                        .arg(QDir::toNativeSeparators(folder)));
            }
            say(QStringLiteral("Store: %1 cassettes, %2 recordings, %3 MB; SQLite %4")
                    .arg(scalar(db.handle(), QStringLiteral("SELECT count(*) FROM vk")))
                    .arg(scalar(db.handle(), QStringLiteral("SELECT count(*) FROM felvetel")))
                    .arg(QString::number(double(QFileInfo(file).size()) / 1048576.0, 'f', 1))
                    .arg(QLatin1String(sqlite3_libversion())));
        }

        if (parser.isSet(check)) {
            checkStore(file, QStringLiteral("store"), generated ? &options : nullptr);
            checkGenerator();
            if (!g_violations.isEmpty()) {
                say(QStringLiteral("VIOLATIONS:"));
                for (const QString& v : std::as_const(g_violations))
                    say(QStringLiteral("  ") + v);
                return 1;
            }
            say(QStringLiteral("All generator rules hold."));
            return 0;
        }

        if (parser.isSet(plans))
            printPlans(file);

        Bench bench;
        bench.folder = folder;
        bench.file = file;
        bench.runs = std::max(1, parser.value(runs).toInt());
        say(QStringLiteral(
                "Medians of %1 runs (open: %2, browser join: %3), after warm-up runs; raw is an "
                "own\n"
                "sqlite3 connection on the same file, several rows read in one read transaction.\n")
                .arg(bench.fast().runs)
                .arg(bench.opening().runs)
                .arg(bench.slow().runs));
        bench.run();
        printTable(bench.figures);
        if (g_disagreements.isEmpty()) {
            say(QStringLiteral("\nThe layer and the raw reads agreed on every result."));
        } else {
            say(QStringLiteral("\nDISAGREEMENTS between the layer and the store:"));
            for (const QString& d : std::as_const(g_disagreements))
                say(QStringLiteral("  ") + d);
        }
    } catch (const DbError& e) {
        // Slow figures never fail the run, but a run that could not measure must not look like one
        // that did.
        say(QStringLiteral("Error: ") + e.message());
        return parser.isSet(check) ? 1 : 2;
    }
    return 0;
}
