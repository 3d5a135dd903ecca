#pragma once

#include <QString>
#include <QStringList>
#include <QTime>
#include <QVariant>

class Database;
class Table;

// What the cassette and recording editors do with the main tables, apart from
// their windows: a benchmark or a test runs the same code as the windows' OK.
namespace catalogue {

// The values the cassette editor's controls hand over on OK.
struct CassetteInput
{
    QVariant hossz; // null when the field was left empty
    QString megjegyzes;
    QString typeName; // as typed
};

// Inserts a new cassette row: the next free number, its five-digit text,
// length 0 and not lent. The row stays in insert state.
void StartNewCassette(Table& tblVK);

// Writes the values into the cassette row (in edit or insert state), gives a
// new (inserted) cassette all its tape as free, links the type by name (adding
// it when missing) and posts, all in one transaction. Throws DbError; the row
// is then still in edit or insert state and no new type stays behind.
void PostCassette(Table& tblVK, const CassetteInput& input);

// The values the recording editor's controls hand over on OK.
struct RecordingInput
{
    QString cim;
    QVariant hossz; // null when the field was left empty
    QTime start;
    QTime end;
    QVariant datum; // a QDate, or null to leave an empty date empty
    QString quality;
    QString genre;
    QString rendezte;
    QString szereplok;
    QString megjegyzes;
};

// Inserts a new recording of the cassette: the next track, starting where the
// cassette's highest track ends, length 0, dated today. The row stays in
// insert state.
void StartNewRecording(Table& tblFelvetel, int cassette);

// Writes the values into the recording row (in edit or insert state), links the
// quality and the genre by name (adding them when missing) and posts, all in
// one transaction. Throws DbError as PostCassette does.
void PostRecording(Table& tblFelvetel, const RecordingInput& input);

// The names of a master-data table in name order, leaving out names that are
// empty after trimming; the names themselves are kept untrimmed.
QStringList MasterNames(Database& db, const QString& table);

// Every director already used, once each, in name order.
QStringList DirectorNames(Database& db);

// The length of a recording from its counter positions: the whole minutes
// between them, whichever comes first, plus one.
int LengthBetween(const QTime& a, const QTime& b);

// The performers with one more name after ", ", cut to the field's 255 characters.
QString AppendPerformer(const QString& performers, const QString& name);

// The value of an integer field typed as text: null when nothing (or only a
// sign) was typed.
QVariant IntegerFromText(const QString& text);

} // namespace catalogue
