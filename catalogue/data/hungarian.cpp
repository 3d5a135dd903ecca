#include "catalogue/data/hungarian.h"

#include "catalogue/data/dberror.h"

#include <QStringList>
#include <sqlite3.h>
#include <unicode/ucol.h>

#include <memory>

namespace hungarian {
namespace {

UCollator* openCollator()
{
    UErrorCode status = U_ZERO_ERROR;
    UCollator* c = ucol_open("hu", &status);
    if (U_FAILURE(status) || !c)
        throw DbError(QStringLiteral("A magyar rendezési szabály nem tölthető be (ICU)."));
    // Secondary strength: accents count (a < á), letter case does not.
    ucol_setStrength(c, UCOL_SECONDARY);
    return c;
}

UCollator* sharedCollator()
{
    static std::unique_ptr<UCollator, decltype(&ucol_close)> c(openCollator(), &ucol_close);
    return c.get();
}

int collate(void* arg, int lenA, const void* a, int lenB, const void* b)
{
    UErrorCode status = U_ZERO_ERROR;
    const UCollationResult r = ucol_strcollUTF8(static_cast<UCollator*>(arg), static_cast<const char*>(a), lenA,
                                                static_cast<const char*>(b), lenB, &status);
    if (U_FAILURE(status))
        return lenA == lenB ? memcmp(a, b, size_t(lenA)) : (lenA < lenB ? -1 : 1);
    return r == UCOL_LESS ? -1 : (r == UCOL_GREATER ? 1 : 0);
}

void destroyCollator(void* arg) { ucol_close(static_cast<UCollator*>(arg)); }

QString textArg(sqlite3_value* v)
{
    const auto* p = reinterpret_cast<const char*>(sqlite3_value_text(v));
    return QString::fromUtf8(p, sqlite3_value_bytes(v));
}

void resultText(sqlite3_context* ctx, const QString& s)
{
    const QByteArray u = s.toUtf8();
    sqlite3_result_text(ctx, u.constData(), int(u.size()), SQLITE_TRANSIENT);
}

void upperFunc(sqlite3_context* ctx, int, sqlite3_value** argv)
{
    if (sqlite3_value_type(argv[0]) == SQLITE_NULL)
        return sqlite3_result_null(ctx);
    resultText(ctx, textArg(argv[0]).toUpper());
}

void lowerFunc(sqlite3_context* ctx, int, sqlite3_value** argv)
{
    if (sqlite3_value_type(argv[0]) == SQLITE_NULL)
        return sqlite3_result_null(ctx);
    resultText(ctx, textArg(argv[0]).toLower());
}

// like(pattern, value [, escape]) implements "value LIKE pattern".
void likeFunc(sqlite3_context* ctx, int argc, sqlite3_value** argv)
{
    if (sqlite3_value_type(argv[0]) == SQLITE_NULL || sqlite3_value_type(argv[1]) == SQLITE_NULL)
        return sqlite3_result_null(ctx);
    QChar escape;
    if (argc == 3) {
        const QString e = textArg(argv[2]);
        if (e.size() != 1) {
            sqlite3_result_error(ctx, "ESCAPE expression must be a single character", -1);
            return;
        }
        escape = e.at(0);
    }
    sqlite3_result_int(ctx, like(textArg(argv[1]), textArg(argv[0]), escape) ? 1 : 0);
}

void prefixFunc(sqlite3_context* ctx, int, sqlite3_value** argv)
{
    if (sqlite3_value_type(argv[0]) == SQLITE_NULL || sqlite3_value_type(argv[1]) == SQLITE_NULL)
        return sqlite3_result_int(ctx, 0);
    sqlite3_result_int(ctx, startsWithIgnoringCase(textArg(argv[0]), textArg(argv[1])) ? 1 : 0);
}

void check(sqlite3* db, int rc)
{
    if (rc != SQLITE_OK)
        throw DbError(QString::fromUtf8(sqlite3_errmsg(db)));
}

} // namespace

void registerOn(sqlite3* db)
{
    check(db, sqlite3_create_collation_v2(db, CollationName, SQLITE_UTF8, openCollator(), collate,
                                          destroyCollator));
    const int flags = SQLITE_UTF8 | SQLITE_DETERMINISTIC;
    check(db, sqlite3_create_function_v2(db, "upper", 1, flags, nullptr, upperFunc, nullptr, nullptr, nullptr));
    check(db, sqlite3_create_function_v2(db, "lower", 1, flags, nullptr, lowerFunc, nullptr, nullptr, nullptr));
    check(db, sqlite3_create_function_v2(db, "like", 2, flags, nullptr, likeFunc, nullptr, nullptr, nullptr));
    check(db, sqlite3_create_function_v2(db, "like", 3, flags, nullptr, likeFunc, nullptr, nullptr, nullptr));
    check(db, sqlite3_create_function_v2(db, "zelmo_prefix", 2, flags, nullptr, prefixFunc, nullptr, nullptr,
                                         nullptr));
}

int compare(const QString& a, const QString& b)
{
    if (a.isNull() || b.isNull())
        return a.isNull() ? (b.isNull() ? 0 : -1) : 1;
    UErrorCode status = U_ZERO_ERROR;
    const UCollationResult r =
        ucol_strcoll(sharedCollator(), reinterpret_cast<const UChar*>(a.utf16()), int32_t(a.size()),
                     reinterpret_cast<const UChar*>(b.utf16()), int32_t(b.size()));
    (void)status;
    return r == UCOL_LESS ? -1 : (r == UCOL_GREATER ? 1 : 0);
}

bool startsWithIgnoringCase(const QString& value, const QString& prefix)
{
    if (prefix.isEmpty())
        return true;
    return value.toCaseFolded().startsWith(prefix.toCaseFolded());
}

QString prefixUpperBound(const QString& prefix)
{
    if (prefix.isEmpty())
        return QString();
    // The alphabet's letters in order, accented forms that sort with their
    // base letter grouped with it.
    static const QStringList groups = {
        QStringLiteral("0"), QStringLiteral("1"), QStringLiteral("2"), QStringLiteral("3"), QStringLiteral("4"),
        QStringLiteral("5"), QStringLiteral("6"), QStringLiteral("7"), QStringLiteral("8"), QStringLiteral("9"),
        QStringLiteral("aá"), QStringLiteral("b"), QStringLiteral("c"), QStringLiteral("d"), QStringLiteral("eé"),
        QStringLiteral("f"), QStringLiteral("g"), QStringLiteral("h"), QStringLiteral("ií"), QStringLiteral("j"),
        QStringLiteral("k"), QStringLiteral("l"), QStringLiteral("m"), QStringLiteral("n"), QStringLiteral("oó"),
        QStringLiteral("öő"), QStringLiteral("p"), QStringLiteral("q"), QStringLiteral("r"), QStringLiteral("s"),
        QStringLiteral("t"), QStringLiteral("uú"), QStringLiteral("üű"), QStringLiteral("v"), QStringLiteral("w"),
        QStringLiteral("x"), QStringLiteral("y"), QStringLiteral("z")};
    const QChar first = prefix.at(0).toLower();
    for (int i = 0; i + 1 < groups.size(); ++i)
        if (groups.at(i).contains(first))
            return groups.at(i + 1).left(1);
    return QString();
}

bool like(const QString& value, const QString& pattern, QChar escape)
{
    const QString s = value.toCaseFolded();
    const QString p = pattern.toCaseFolded();
    const QChar esc = escape.isNull() ? QChar() : escape.toCaseFolded();
    // Iterative matcher: on a mismatch, retry from the position after the last %.
    qsizetype si = 0, pi = 0, starP = -1, starS = -1;
    while (si < s.size()) {
        if (pi < p.size()) {
            QChar pc = p.at(pi);
            bool literal = false;
            if (!esc.isNull() && pc == esc && pi + 1 < p.size()) {
                pc = p.at(pi + 1);
                literal = true;
            }
            if (!literal && pc == QLatin1Char('%')) {
                starP = pi++;
                starS = si;
                continue;
            }
            if ((!literal && pc == QLatin1Char('_')) || pc == s.at(si)) {
                pi += literal ? 2 : 1;
                ++si;
                continue;
            }
        }
        if (starP < 0)
            return false;
        pi = starP + 1;
        si = ++starS;
    }
    while (pi < p.size() && p.at(pi) == QLatin1Char('%'))
        ++pi;
    return pi == p.size();
}

} // namespace hungarian
