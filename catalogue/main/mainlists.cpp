#include "catalogue/main/mainlists.h"

#include "catalogue/data/table.h"
#include "common/graphics.h"

#include <QApplication>
#include <QWidget>
#include <QKeyEvent>
#include <QWheelEvent>

#include <cmath>

bool QuickSearch(Table& table, const QString& text)
{
    try {
        if (!table.isActive() || table.state() != DataSet::State::Browse)
            return false;
        QString field = table.orderBy();
        if (field.isEmpty() && !table.structure().primaryKey.isEmpty())
            field = table.structure().primaryKey.first();
        if (field.isEmpty() || text.isEmpty())
            return false;
        const Field& f = table.fieldByName(field);
        if (f.isText())
            return table.locate(field, text, LocateOption::CaseInsensitive | LocateOption::PartialKey);
        return table.locate(field, text);
    } catch (...) {
        return false;
    }
}

bool IsQuickSearchKey(const QString& typed)
{
    if (typed.size() != 1)
        return false;
    const QChar c = typed.at(0).toLower();
    if ((c >= QLatin1Char('0') && c <= QLatin1Char('9')) || (c >= QLatin1Char('a') && c <= QLatin1Char('z')))
        return true;
    return QStringLiteral("áéíóöőúüű").contains(c);
}

QList<int> ShareWidths(int panelWidth, int offset, const QList<double>& shares)
{
    QList<int> widths;
    for (double share : shares)
        widths << int(std::nearbyint(share * (panelWidth - offset))); // ties to even
    return widths;
}

std::optional<QColor> CassetteCellBackground(bool selected, const QVariant& vk, int position, bool sortColumn,
                                             const QVariant& kolcsonadva, const QColor& buttonFace)
{
    if (selected || sortColumn)
        return std::nullopt;
    if (kolcsonadva.toString() == QLatin1String("I"))
        return LightenColor(buttonFace, 15);
    if (!vk.isNull() && position % 2 == 0)
        return EvenRowColor;
    return std::nullopt;
}

std::optional<QColor> RecordingCellBackground(bool selected, const QVariant& felvetel, bool sortColumn)
{
    if (selected || sortColumn || felvetel.isNull())
        return std::nullopt;
    if (felvetel.toInt() % 2 == 0)
        return EvenRowColor;
    return std::nullopt;
}

bool WheelToKeys::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() != QEvent::Wheel)
        return QObject::eventFilter(watched, event);
    const auto* wheel = static_cast<QWheelEvent*>(event);
    accumulated_ += wheel->angleDelta().y();
    QWidget* target = QApplication::focusWidget();
    while (std::abs(accumulated_) >= 120) {
        const bool up = accumulated_ > 0;
        accumulated_ += up ? -120 : 120;
        if (!target)
            continue;
        const Qt::Key key = up ? Qt::Key_Up : Qt::Key_Down;
        QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier);
        QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier);
        QApplication::sendEvent(target, &press);
        QApplication::sendEvent(target, &release);
    }
    return true;
}
