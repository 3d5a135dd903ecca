#pragma once

#include "maintenance/feedback.h"

#include <QList>
#include <QPair>
#include <QString>
#include <QStringList>

// The catalogue's tables in a data folder of the old version: Paradox table
// files, each with its .MB file of memos and pictures.
struct ParadoxFolder
{
    QList<QPair<QString, QString>>
        tables;          // store table name and the table file's path, in import order
    QStringList missing; // file names of required tables that are not there

    bool isEmpty() const { return tables.isEmpty(); }
};

// Looks for the seven table files (names matched without regard to case);
// "programok.DB" may be absent, the other six belong together.
ParadoxFolder FindParadoxTables(const QString& folder);

// Builds the folder's store from its old tables, copying every table, field,
// row and value as they are: text converted from the tables' code page, dates,
// times, empty values and blobs kept, memos as MEMO fields, the key of each
// table kept, and the catalogue's indexes made for the fields that exist. A
// table the old folder lacks (the program catalogue) is created empty.
//
// The store is built in a file of its own and takes the store's name only when
// every table has been copied: a table that cannot be read stops the import
// with a ZelmoError naming the file, and nothing is left behind. The old files
// are only read. The caller holds the folder exclusively and has made sure
// there is no store yet.
void ImportParadoxFolder(const QString& folder, const MaintenanceFeedback& feedback = {});
