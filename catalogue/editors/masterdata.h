#pragma once

#include <QString>

class Database;
class QWidget;

// The master-data lists. Each opens its table's list window modally, with the
// entry whose key is `preselect` current (-1: the first in name order). In pick
// mode "Elfogad" (Enter, or a double click) accepts the current entry.
// Returns the accepted entry's key, or -1 when the list was closed otherwise.
int OpenQualityList(Database& db, int preselect, bool pick, QWidget* parent = nullptr);
int OpenTypeList(Database& db, int preselect, bool pick, QWidget* parent = nullptr);
int OpenGenreList(Database& db, int preselect, bool pick, QWidget* parent = nullptr);
// The performer list hands back the accepted name; empty text otherwise.
void OpenPerformerList(Database& db, int preselect, bool pick, QString& name, QWidget* parent = nullptr);

// Asks for one line of text. Without `keepCase` every letter typed becomes a
// capital (Hungarian ones too); a `passwordChar` other than 0 masks the text.
// True when confirmed with OK: `value` then holds the text; otherwise it is
// left as it was.
bool AskString(const QString& caption, const QString& prompt, QString& value, bool keepCase, QChar passwordChar,
               QWidget* parent = nullptr);
