#pragma once

#include <QColor>
#include <QList>
#include <QObject>
#include <QString>
#include <QVariant>

#include <optional>

class Table;

// The rules of the main window's two lists that need no widget.

// Moves the table to the first row, in its current order, whose sort field
// matches the typed text: a text field by its leading part ignoring case, a
// number, date or time field by the value the text reads as. Any failure is
// silent: the table stays and false is returned.
bool QuickSearch(Table& table, const QString& text);

// A typed character that moves the focus from a grid into its search field:
// its lower-case form is a digit, a letter a-z or one of á é í ó ö ő ú ü ű.
bool IsQuickSearchKey(const QString& typed);

// Column widths as shares of (panel width - offset), rounded to the nearest
// whole pixel with halves to the even neighbour.
QList<int> ShareWidths(int panelWidth, int offset, const QList<double>& shares);
inline const QList<double> CassetteColumnShares{0.2, 0.2, 0.2, 0.4};
inline constexpr int CassetteWidthOffset = 87;
inline const QList<double> RecordingColumnShares{0.07, 0.33, 0.14, 0.14, 0.14, 0.16};
inline constexpr int RecordingWidthOffset = 33;

// The splitter lets the cassette panel be only wider than this.
inline constexpr int MinCassettePanelWidth = 400;
inline bool SplitterAccepts(int cassettePanelWidth) { return cassettePanelWidth > MinCassettePanelWidth; }

// The font-size actions move the size within 8 to 10.
inline int FontSizeUp(int size) { return size < 10 ? size + 1 : size; }
inline int FontSizeDown(int size) { return size > 8 ? size - 1 : size; }

inline const QColor EvenRowColor{239, 250, 242};

// The background a cassette cell gets besides the standard one, if any.
// `position` counts the row in the current order from 1.
std::optional<QColor> CassetteCellBackground(bool selected, const QVariant& vk, int position, bool sortColumn,
                                             const QVariant& kolcsonadva, const QColor& buttonFace);
// Recording rows are shaded by their track number, not by position.
std::optional<QColor> RecordingCellBackground(bool selected, const QVariant& felvetel, bool sortColumn);

// One Up or Down key for each whole wheel step (120 units), sent to the
// focused control, for every window of the program; small touchpad deltas add
// up to a step instead of each firing a key.
class WheelToKeys : public QObject
{
    Q_OBJECT
public:
    using QObject::QObject;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    int accumulated_ = 0;
};
