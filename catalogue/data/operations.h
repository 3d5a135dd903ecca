#pragma once

#include <QString>
#include <QTime>

class Database;
class Table;

// The catalogue's multi-row rules, kept in one place so that the editors and
// the main window number, delete and total the same way, whatever order the
// lists happen to show.
namespace catalogue {

// One more than the highest cassette number; 1 for an empty catalogue.
int NextCassetteNumber(Database& db);

// A new recording of a cassette: one more than its highest track number, and
// starting where that track ends on the counter (00:00 when there is none).
struct NextTrackInfo
{
    int track = 1;
    QTime start = QTime(0, 0);
};
NextTrackInfo NextTrack(Database& db, int cassette);

// The key of the master-data entry whose name equals `name` as a whole,
// ignoring letter case; a new entry with that name (cut to 25 characters)
// when there is none.
int FindOrAddName(Database& db, const QString& table, const QString& name);

// The sum of the lengths of a cassette's recordings; 0 when it has none.
int RecordingLengthSum(Database& db, int cassette);

// Posts the table's row; a post that fails is cancelled before the error goes
// on, so no half-changed row stays behind.
void PostOrCancel(Table& table);

// Stores the current cassette's free tape: its length (empty counts as 0)
// less the lengths of its recordings. Nothing is written when the table has
// no current row or the figure is already right; a failed post is cancelled.
void UpdateFreeTape(Table& tblVK);

// Deletes the cassette and all its recordings in one transaction.
void DeleteCassette(Database& db, int cassette);

// Deletes one recording and numbers the cassette's remaining tracks 1, 2, 3 …
// in track order, in one transaction.
void DeleteRecording(Database& db, int cassette, int track);

} // namespace catalogue
