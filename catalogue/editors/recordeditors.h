#pragma once

class Query;
class QWidget;
class Table;

// The cassette editor on the main window's cassette table: a new cassette
// (numbered one more than the highest number) or the current one. On OK the
// row is posted, on any other close it is cancelled; a post that fails is
// shown and the row cancelled, so no half-edited row stays behind. Editing an
// empty list starts a new cassette. Returns true when a row was posted.
bool EditCassette(Table& tblVK, bool isNew, QWidget* parent = nullptr);

// The recording editor on the main window's recording table, for the current
// cassette of `tblVK`: a new recording (the next track, starting where the
// last one ends) or the current one. Same posting rules as EditCassette.
// Returns true when a row was posted.
bool EditRecording(Table& tblVK, Table& tblFelvetel, bool isNew, QWidget* parent = nullptr);
