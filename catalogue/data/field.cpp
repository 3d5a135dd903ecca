#include "catalogue/data/field.h"

#include "catalogue/data/dberror.h"

#include <QDate>
#include <QHash>
#include <QRegularExpression>
#include <QTime>

namespace {

// Turns a date/time pattern of the program's notation into Qt's.
QString toQtPattern(const QString& format, bool isTime)
{
    QString out;
    bool afterHour = false;
    for (qsizetype i = 0; i < format.size();) {
        const QChar c = format.at(i).toLower();
        qsizetype run = 1;
        while (i + run < format.size() && format.at(i + run).toLower() == c)
            ++run;
        const QString rep(run, c);
        if (c == QLatin1Char('y') || c == QLatin1Char('d') || c == QLatin1Char('s')) {
            out += rep;
        } else if (c == QLatin1Char('h')) {
            out += rep;
            afterHour = true;
        } else if (c == QLatin1Char('n')) {
            out += QString(run, QLatin1Char('m'));
        } else if (c == QLatin1Char('m')) {
            out += (afterHour || isTime) ? rep : QString(run, QLatin1Char('M'));
            afterHour = false;
        } else {
            out += QLatin1Char('\'') + format.mid(i, run) + QLatin1Char('\'');
        }
        i += run;
    }
    return out;
}

// Grids format thousands of values with a handful of patterns.
const QString& cachedPattern(const QString& format, bool isTime)
{
    static QHash<QString, QString> cache[2];
    QHash<QString, QString>& c = cache[isTime ? 1 : 0];
    auto it = c.find(format);
    if (it == c.end())
        it = c.insert(format, toQtPattern(format, isTime));
    return *it;
}

QString formatNumber(qlonglong v, const QString& format)
{
    if (format.isEmpty() || format.count(QLatin1Char('0')) != format.size())
        return QString::number(v);
    const QString digits = QString::number(v < 0 ? -v : v).rightJustified(format.size(), QLatin1Char('0'));
    return v < 0 ? QLatin1Char('-') + digits : digits;
}

} // namespace

QString formatValue(const QVariant& value, FieldKind kind, const QString& format)
{
    if (value.isNull())
        return QString();
    switch (kind) {
    case FieldKind::Integer:
    case FieldKind::AutoInc:
        return formatNumber(value.toLongLong(), format);
    case FieldKind::Float:
        return QString::number(value.toDouble());
    case FieldKind::Date: {
        const QDate d = value.toDate();
        if (format.isEmpty())
            return d.toString(QStringLiteral("yyyy.MM.dd."));
        return d.toString(cachedPattern(format, false));
    }
    case FieldKind::Time: {
        const QTime t = value.toTime();
        if (format.isEmpty())
            return t.toString(QStringLiteral("H:mm:ss"));
        return t.toString(cachedPattern(format, true));
    }
    case FieldKind::Blob:
        return QStringLiteral("(BLOB)");
    case FieldKind::Alpha:
    case FieldKind::Memo:
        break;
    }
    return value.toString();
}

QString Field::displayText(const QVariant& value) const
{
    return formatValue(value, kind, displayFormat);
}

QVariant Field::coerce(const QVariant& value) const
{
    if (value.isNull())
        return QVariant();
    const bool isString = value.typeId() == QMetaType::QString;
    const QString text = isString ? value.toString().trimmed() : QString();
    if (isString && text.isEmpty() && !isText())
        return QVariant();
    const auto fail = [this, &value]() -> QVariant {
        throw DbError(QStringLiteral("\"%1\" nem érvényes érték a(z) %2 mezőben.").arg(value.toString(), name));
    };
    switch (kind) {
    case FieldKind::Integer:
    case FieldKind::AutoInc: {
        bool ok = false;
        qlonglong v = 0;
        if (isString) {
            v = text.toLongLong(&ok);
        } else if (value.typeId() == QMetaType::Double || value.typeId() == QMetaType::Float) {
            const double d = value.toDouble();
            ok = d == double(qlonglong(d));
            v = qlonglong(d);
        } else {
            v = value.toLongLong(&ok);
        }
        if (!ok || v < std::numeric_limits<qint32>::min() || v > std::numeric_limits<qint32>::max())
            return fail();
        return QVariant(int(v));
    }
    case FieldKind::Float: {
        bool ok = false;
        const double d = isString ? text.toDouble(&ok) : value.toDouble(&ok);
        return ok ? QVariant(d) : fail();
    }
    case FieldKind::Date: {
        QDate d;
        if (value.typeId() == QMetaType::QDate)
            d = value.toDate();
        else if (value.typeId() == QMetaType::QDateTime)
            d = value.toDateTime().date();
        else if (isString) {
            // The display form (2026.01.02 or 2026.01.02.) reads back as well as the stored one.
            for (const char* pattern : {"yyyy-MM-dd", "yyyy.MM.dd", "yyyy.MM.dd.", "yyyy. MM. dd."}) {
                d = QDate::fromString(text, QLatin1String(pattern));
                if (d.isValid())
                    break;
            }
        }
        return d.isValid() ? QVariant(d) : fail();
    }
    case FieldKind::Time: {
        QTime t;
        if (value.typeId() == QMetaType::QTime)
            t = value.toTime();
        else if (value.typeId() == QMetaType::QDateTime)
            t = value.toDateTime().time();
        else if (isString)
            t = QTime::fromString(text, text.size() > 5 ? QStringLiteral("H:mm:ss") : QStringLiteral("H:mm"));
        return t.isValid() ? QVariant(t) : fail();
    }
    case FieldKind::Alpha: {
        const QString s = value.toString();
        return QVariant(size > 0 ? s.left(size) : s);
    }
    case FieldKind::Memo:
        return QVariant(value.toString());
    case FieldKind::Blob:
        return QVariant(value.toByteArray());
    }
    return value;
}

namespace {

// The store writes dates as YYYY-MM-DD and times as HH:MM:SS; reading those by
// hand is much faster than the general readers, and results hold thousands.
template <typename Char>
int digits(const Char* p, int n)
{
    int v = 0;
    for (int i = 0; i < n; ++i) {
        const auto c = char16_t(p[i]);
        if (c < u'0' || c > u'9')
            return -1;
        v = v * 10 + (c - u'0');
    }
    return v;
}

template <typename Char>
QDate isoDate(const Char* p, qsizetype n)
{
    if (n < 10 || char16_t(p[4]) != u'-' || char16_t(p[7]) != u'-')
        return QDate();
    const int y = digits(p, 4), m = digits(p + 5, 2), d = digits(p + 8, 2);
    return y >= 0 && m >= 0 && d >= 0 ? QDate(y, m, d) : QDate();
}

template <typename Char>
QTime isoTime(const Char* p, qsizetype n)
{
    if (n != 8 || char16_t(p[2]) != u':' || char16_t(p[5]) != u':')
        return QTime();
    const int h = digits(p, 2), m = digits(p + 3, 2), sec = digits(p + 6, 2);
    return h >= 0 && m >= 0 && sec >= 0 ? QTime(h, m, sec) : QTime();
}

QDate storedDate(const QString& s)
{
    const QDate d = isoDate(reinterpret_cast<const char16_t*>(s.utf16()), s.size());
    return d.isValid() ? d : QDate::fromString(s.left(10), Qt::ISODate);
}

QTime storedTime(const QString& s)
{
    QTime t = isoTime(reinterpret_cast<const char16_t*>(s.utf16()), s.size());
    if (!t.isValid())
        t = QTime::fromString(s, Qt::ISODateWithMs);
    if (!t.isValid())
        t = QTime::fromString(s, QStringLiteral("HH:mm:ss"));
    return t;
}

} // namespace

QVariant Field::fromStoreText(const char* utf8, int bytes) const
{
    if (kind == FieldKind::Date) {
        const QDate d = isoDate(utf8, bytes);
        if (d.isValid())
            return QVariant(d);
    } else if (kind == FieldKind::Time) {
        const QTime t = isoTime(utf8, bytes);
        if (t.isValid())
            return QVariant(t);
    } else if (isText()) {
        return QVariant(QString::fromUtf8(utf8, bytes));
    }
    return fromStore(QVariant(QString::fromUtf8(utf8, bytes)));
}

QVariant Field::fromStore(const QVariant& stored) const
{
    if (stored.isNull())
        return QVariant();
    switch (kind) {
    case FieldKind::Date:
        if (stored.typeId() == QMetaType::QString) {
            const QDate d = storedDate(stored.toString());
            return d.isValid() ? QVariant(d) : stored;
        }
        return stored;
    case FieldKind::Time:
        if (stored.typeId() == QMetaType::QString) {
            const QTime t = storedTime(stored.toString());
            return t.isValid() ? QVariant(t) : stored;
        }
        return stored;
    case FieldKind::Alpha:
    case FieldKind::Memo:
        return stored.typeId() == QMetaType::QString ? stored : QVariant(stored.toString());
    default:
        return stored;
    }
}

FieldKind Field::kindFromDeclType(const QString& declType, int* size)
{
    static const QRegularExpression sized(QStringLiteral("^\\s*(\\w+)\\s*\\(\\s*(\\d+)"));
    const QString t = declType.trimmed().toUpper();
    if (size)
        *size = 0;
    const auto m = sized.match(t);
    const QString base = m.hasMatch() ? m.captured(1) : t.section(QLatin1Char(' '), 0, 0);
    if (base == QLatin1String("INTEGER") || base == QLatin1String("INT") || base == QLatin1String("SMALLINT") ||
        base == QLatin1String("BIGINT") || base == QLatin1String("LONG") || base == QLatin1String("BOOLEAN"))
        return FieldKind::Integer;
    if (base == QLatin1String("CHAR") || base == QLatin1String("VARCHAR") || base == QLatin1String("ALPHA") ||
        base == QLatin1String("NVARCHAR") || base == QLatin1String("CHARACTER")) {
        if (size)
            *size = m.hasMatch() ? m.captured(2).toInt() : 255;
        return FieldKind::Alpha;
    }
    if (base == QLatin1String("DATE"))
        return FieldKind::Date;
    if (base == QLatin1String("TIME"))
        return FieldKind::Time;
    if (base == QLatin1String("MEMO") || base == QLatin1String("TEXT") || base == QLatin1String("CLOB"))
        return FieldKind::Memo;
    if (base == QLatin1String("BLOB") || base == QLatin1String("BINARY") || base == QLatin1String("GRAPHIC"))
        return FieldKind::Blob;
    if (base == QLatin1String("REAL") || base == QLatin1String("FLOAT") || base == QLatin1String("DOUBLE") ||
        base == QLatin1String("NUMERIC") || base == QLatin1String("DECIMAL") || base == QLatin1String("MONEY"))
        return FieldKind::Float;
    return FieldKind::Memo;
}
