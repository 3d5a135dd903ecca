#include "catalogue/browse/browsersql.h"

#include "catalogue/data/dataset.h"
#include "catalogue/data/hungarian.h"
#include "catalogue/data/query.h"

#include <QDate>
#include <QStringList>
#include <QTime>

const QList<BrowserField>& BrowserFields()
{
    static const QList<BrowserField> fields{
        {"vk", "kazetta", "00000"},
        {"felvetel", "track", "00"},
        {"szamlalo_tol", "kezdete", "hh:mm"},
        {"szamlalo_ig", "vége", "hh:mm"},
        {"cim", "cím", ""},
        {"mufaj_nev", "műfaj", ""},
        {"tipus_nev", "típus", ""},
        {"minoseg_nev", "minőség", ""},
        {"rendezte", "rendezte", ""},
        {"azonosito", "kazetta", ""},
        {"felvhossz", "felv.hossza", ""},
        {"datum", "dátum", ""},
        {"hossz", "kaz.hossza", ""},
        {"szabad", "szabad hely", ""},
        {"szereplok", "szereplők", ""},
        {"tipus", "tipus", ""},
        {"minoseg", "minoseg", ""},
        {"mufaj", "mufaj", ""},
        {"megjegyzes", "megjegyzes", ""},
    };
    return fields;
}

namespace {

// The cassette number is a column of both vk and felvetel: SQLite would call
// the bare name ambiguous. The grid's other columns have one source each.
QString orderExpression(const QString& field)
{
    return field == QLatin1String("vk") ? QStringLiteral("vk.vk") : field;
}

} // namespace

BrowserSql BuildBrowserSql(const BrowserFilters& filters, const QString& sortField, BrowserSqlShape shape)
{
    BrowserSql out;
    QStringList conditions;
    if (!filters.genre.isEmpty()) {
        conditions << QStringLiteral("(mufaj.nev=:mufaj)");
        out.params.insert(QStringLiteral("mufaj"), filters.genre);
    }
    if (!filters.type.isEmpty()) {
        conditions << QStringLiteral("(tipus.nev=:tipus)");
        out.params.insert(QStringLiteral("tipus"), filters.type);
    }
    // Both sides upper-cased with the Unicode rules, so «kovács» finds «KOVÁCS BÉLA».
    if (!filters.performer.isEmpty()) {
        conditions << QStringLiteral("(UPPER(felvetel.szereplok) LIKE :szereplo)");
        out.params.insert(QStringLiteral("szereplo"), QLatin1Char('%') + filters.performer.toUpper() + QLatin1Char('%'));
    }
    if (!filters.director.isEmpty()) {
        conditions << QStringLiteral("(UPPER(felvetel.rendezte) LIKE :rendezo)");
        out.params.insert(QStringLiteral("rendezo"), QLatin1Char('%') + filters.director.toUpper() + QLatin1Char('%'));
    }
    QStringList lines{
        QStringLiteral("SELECT vk.vk,vk.azonosito,felvetel.felvetel,felvetel.szamlalo_tol,felvetel.szamlalo_ig,"),
        QStringLiteral(" felvetel.cim,felvetel.hossz AS felvhossz,felvetel.datum,vk.hossz,"),
        QStringLiteral(" vk.szabad,mufaj.nev AS mufaj_nev,tipus.nev AS tipus_nev,"),
        QStringLiteral(" minoseg.nev AS minoseg_nev,felvetel.rendezte,felvetel.szereplok,"),
        QStringLiteral(" vk.tipus,felvetel.minoseg,felvetel.mufaj,felvetel.megjegyzes"),
    };
    const QString where = conditions.isEmpty() ? QString() : QStringLiteral("WHERE ") + conditions.join(QStringLiteral(" AND "));
    static const QStringList indexed{QStringLiteral("cim"), QStringLiteral("felvetel"), QStringLiteral("szamlalo_tol"),
                                     QStringLiteral("szamlalo_ig")};
    if (shape == BrowserSqlShape::Fastest && indexed.contains(sortField)) {
        lines << QStringLiteral("FROM felvetel")
              << QStringLiteral(" INNER JOIN vk ON (vk.vk=felvetel.vk)")
              << QStringLiteral(" LEFT OUTER JOIN tipus ON (vk.tipus=tipus.az)")
              << QStringLiteral(" LEFT OUTER JOIN mufaj ON (felvetel.mufaj=mufaj.az)")
              << QStringLiteral(" LEFT OUTER JOIN minoseg ON (felvetel.minoseg=minoseg.az)");
        if (!where.isEmpty())
            lines << where;
        // A condition on a recording's genre, performers or director is never
        // true for a cassette without recordings.
        if (filters.genre.isEmpty() && filters.performer.isEmpty() && filters.director.isEmpty()) {
            lines << QStringLiteral("UNION ALL")
                  << QStringLiteral("SELECT vk.vk,vk.azonosito,NULL,NULL,NULL,NULL,NULL,NULL,vk.hossz,vk.szabad,NULL,"
                                    "tipus.nev,NULL,NULL,NULL,vk.tipus,NULL,NULL,NULL")
                  << QStringLiteral("FROM vk")
                  << QStringLiteral(" LEFT OUTER JOIN tipus ON (vk.tipus=tipus.az)")
                  << QStringLiteral("WHERE NOT EXISTS (SELECT 1 FROM felvetel WHERE felvetel.vk=vk.vk)") +
                         (filters.type.isEmpty() ? QString() : QStringLiteral(" AND (tipus.nev=:tipus)"));
        }
        lines << QStringLiteral("ORDER BY ") + sortField + QLatin1Char(';');
    } else {
        lines << QStringLiteral("FROM vk")
              << QStringLiteral(" LEFT OUTER JOIN felvetel ON (vk.vk=felvetel.vk)")
              << QStringLiteral(" LEFT OUTER JOIN tipus ON (vk.tipus=tipus.az)")
              << QStringLiteral(" LEFT OUTER JOIN mufaj ON (felvetel.mufaj=mufaj.az)")
              << QStringLiteral(" LEFT OUTER JOIN minoseg ON (felvetel.minoseg=minoseg.az)");
        if (!where.isEmpty())
            lines << where;
        lines << QStringLiteral("ORDER BY ") + orderExpression(sortField) + QLatin1Char(';');
    }
    out.sql = lines.join(QLatin1Char('\n'));
    return out;
}

void OpenBrowserQuery(Query& qry, const BrowserFilters& filters, const QString& sortField)
{
    const BrowserSql built = BuildBrowserSql(filters, sortField);
    qry.close();
    qry.setSql(built.sql);
    qry.clearParams();
    for (auto it = built.params.constBegin(); it != built.params.constEnd(); ++it)
        qry.setParam(it.key(), it.value());
    QStringList order;
    for (const BrowserField& f : BrowserFields()) {
        qry.setFieldLook(QString::fromLatin1(f.name), QString::fromUtf8(f.title), QString::fromLatin1(f.format));
        order << QString::fromLatin1(f.name);
    }
    qry.setFieldOrder(order);
    qry.open();
}

QString BrowserGroupField(const QString& sortField)
{
    for (const char* g : {"mufaj_nev", "tipus_nev", "minoseg_nev", "rendezte"})
        if (sortField == QLatin1String(g))
            return sortField;
    return QString();
}

namespace {

// The store's order of two values of one kind; null sorts first, as SQLite does.
int compareValues(const Field& f, const QVariant& a, const QVariant& b)
{
    if (a.isNull() || b.isNull())
        return int(!a.isNull()) - int(!b.isNull());
    switch (f.kind) {
    case FieldKind::Date: {
        const QDate x = a.toDate(), y = b.toDate();
        return x < y ? -1 : (y < x ? 1 : 0);
    }
    case FieldKind::Time: {
        const QTime x = a.toTime(), y = b.toTime();
        return x < y ? -1 : (y < x ? 1 : 0);
    }
    case FieldKind::Float: {
        const double x = a.toDouble(), y = b.toDouble();
        return x < y ? -1 : (y < x ? 1 : 0);
    }
    default: {
        const qlonglong x = a.toLongLong(), y = b.toLongLong();
        return x < y ? -1 : (y < x ? 1 : 0);
    }
    }
}

// First row whose value is not below `wanted` in the result's order.
template <typename Less>
int lowerBound(int count, Less valueBelow)
{
    int lo = 0, hi = count;
    while (lo < hi) {
        const int mid = lo + (hi - lo) / 2;
        if (valueBelow(mid))
            lo = mid + 1;
        else
            hi = mid;
    }
    return lo;
}

} // namespace

int FindSortedRow(DataSet& rows, int field, const QString& text)
{
    if (text.isEmpty() || field < 0 || field >= rows.fieldCount() || !rows.isActive())
        return -1;
    const int count = rows.recordCount();
    const Field& f = rows.field(field);
    if (f.isText()) {
        // The rows are in the collation's order: the values beginning with the
        // text lie between the text itself and the next letter of the alphabet.
        const QString upper = hungarian::prefixUpperBound(text);
        int row = lowerBound(count, [&](int r) {
            const QVariant v = rows.valueAt(r, field);
            return v.isNull() || hungarian::compare(v.toString(), text) < 0;
        });
        for (; row < count; ++row) {
            const QString v = rows.valueAt(row, field).toString();
            if (hungarian::startsWithIgnoringCase(v, text))
                return row;
            if (!upper.isEmpty() && hungarian::compare(v, upper) >= 0)
                break;
        }
        return -1;
    }
    QVariant wanted;
    try {
        wanted = f.coerce(text);
    } catch (const DbError&) {
        return -1;
    }
    if (wanted.isNull())
        return -1;
    const int row = lowerBound(count, [&](int r) { return compareValues(f, rows.valueAt(r, field), wanted) < 0; });
    return row < count && compareValues(f, rows.valueAt(row, field), wanted) == 0 ? row : -1;
}
