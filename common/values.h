#pragma once

#include <QChar>
#include <QString>
#include <QVariant>

// Field values from the data layer are either null (QVariant::isNull()) or a
// value of the field's type. The numeric conversions take numbers and numeric
// text (surrounding blanks allowed); anything else throws ZelmoError rather
// than passing for 0.

QString NullToStr(const QVariant& value, const QString& def);
int NullToInt(const QVariant& value, int def);
double NullToFloat(const QVariant& value, double def);
double NullToZero(const QVariant& value);
// Empty text for null.
QString NullToStrReplace(const QVariant& value, QChar find, QChar replacement);
QVariant IifVar(bool condition, const QVariant& whenTrue, const QVariant& whenFalse);
