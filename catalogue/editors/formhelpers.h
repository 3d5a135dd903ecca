#pragma once

#include <QColor>
#include <QObject>
#include <QString>

class QComboBox;
class QDialog;
class QWidget;
class Query;

// What every dialog of the program does alike.
//
// SetupDialog: the window takes its stored place (and size, when sizeable)
// from the settings section when it is shown, stores them whenever it closes,
// and takes the program's font size. With `enterMovesFocus`, Enter moves the
// focus to the next control instead of confirming (a memo keeps its Enter for
// new lines, a focused button is pressed); Esc cancels as in every dialog.
void SetupDialog(QDialog* dialog, const QString& section, bool sizeable, bool enterMovesFocus);

// Paints an edit control light blue while it has the focus.
inline const QColor FocusColour{166, 202, 240};
void ColourOnFocus(QWidget* control);

// Appends to the combo box's list the "nev" column (or the first column) of
// every row the SQL returns, null as empty text. The list is not cleared first.
void FillComboFromQuery(Query& qry, QComboBox* combo, const QString& sql);
void FillComboFromQueryFirstColumn(Query& qry, QComboBox* combo, const QString& sql);
