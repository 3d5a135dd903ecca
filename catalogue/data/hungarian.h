#pragma once

#include <QString>

struct sqlite3;

// Hungarian text rules shared by the store and the code around it.
namespace hungarian {

// Name of the collation that every text column and index of the store declares.
inline constexpr char CollationName[] = "HU";

// Registers on the connection: the collation (Hungarian alphabet, letter case
// ignored), Unicode-aware upper(), lower() and a case-insensitive like(), and
// zelmo_prefix(value, prefix) that is 1 when value begins with prefix, ignoring case.
void registerOn(sqlite3* db);

// The collation's order: negative, 0 or positive. Null texts sort first.
int compare(const QString& a, const QString& b);

// True when `value` begins with `prefix`, ignoring letter case.
bool startsWithIgnoringCase(const QString& value, const QString& prefix);

// A text that sorts after every text beginning with `prefix`: the letter of
// the alphabet after the prefix's first letter (c -> d, so "cs" words stay
// below it; o and ó -> ö; ö and ő -> p). Empty when there is none (z, or a
// prefix that starts with no letter or digit).
QString prefixUpperBound(const QString& prefix);

// LIKE with % and _ that ignores letter case for every alphabet.
bool like(const QString& value, const QString& pattern, QChar escape = QChar());

} // namespace hungarian
