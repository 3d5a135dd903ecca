#pragma once

#include <QDate>

// "Today" for new recordings and loans. Tests set it so that a date written by
// the program can be checked exactly; an invalid date brings the real clock back.
QDate Today();
void SetToday(const QDate& date);
