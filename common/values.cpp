#include "common/values.h"

#include "common/errors.h"

#include <climits>
#include <cmath>

namespace {

[[noreturn]] void conversionError(const QVariant& value)
{
    throw ZelmoError(QStringLiteral("Az érték nem alakítható számmá: „%1”").arg(value.toString()));
}

double toNumber(const QVariant& value)
{
    bool ok = false;
    double number = 0;
    if (value.metaType().id() == QMetaType::QString)
        number = value.toString().trimmed().toDouble(&ok);
    else
        number = value.toDouble(&ok);
    if (!ok || !std::isfinite(number))
        conversionError(value);
    return number;
}

} // namespace

QString NullToStr(const QVariant& value, const QString& def)
{
    return value.isNull() ? def : value.toString();
}

int NullToInt(const QVariant& value, int def)
{
    if (value.isNull())
        return def;
    const double rounded = std::round(toNumber(value));
    if (rounded < INT_MIN || rounded > INT_MAX)
        conversionError(value);
    return static_cast<int>(rounded);
}

double NullToFloat(const QVariant& value, double def)
{
    return value.isNull() ? def : toNumber(value);
}

double NullToZero(const QVariant& value)
{
    return NullToFloat(value, 0.0);
}

QString NullToStrReplace(const QVariant& value, QChar find, QChar replacement)
{
    return NullToStr(value, QString()).replace(find, replacement);
}

QVariant IifVar(bool condition, const QVariant& whenTrue, const QVariant& whenFalse)
{
    return condition ? whenTrue : whenFalse;
}
