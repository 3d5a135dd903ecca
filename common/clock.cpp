#include "common/clock.h"

namespace {
QDate fixedToday;
}

QDate Today() { return fixedToday.isValid() ? fixedToday : QDate::currentDate(); }

void SetToday(const QDate& date) { fixedToday = date; }
