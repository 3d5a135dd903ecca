#pragma once

#include <QList>
#include <QString>
#include <QStringList>

struct sqlite3;

// The structure of a catalogue store: the seven tables with their fields, keys
// and indexes, and how the program presents their fields.
namespace schema {

struct IndexDef
{
    QString name;  // the per-table name the program speaks of, e.g. "idx_hossz"
    QString field;
};

struct TableDef
{
    QString name;
    QString createSql;
    QStringList primaryKey;
    QList<IndexDef> indexes;
};

// Presentation of one field: its title in grids and its display format.
struct FieldLook
{
    QString name;
    QString label;
    QString format;
};

const QList<TableDef>& tables();
const TableDef* findTable(const QString& name);

// SQLite index names are global to the file, so each index is stored as
// "<table>_<name>" (felvetel_idx_hossz).
QString storeIndexName(const QString& table, const QString& indexName);
QString createIndexSql(const QString& table, const IndexDef& index);

// Creates every table and index in an empty store.
void createAll(sqlite3* db);

// The field order a table presents (stored and derived fields); empty when the
// table has no fixed order and shows its stored fields as they lie in the file.
QStringList fieldOrder(const QString& table);
// Label and format of a field; a field without a special look shows its name.
FieldLook fieldLook(const QString& table, const QString& field);

// "vk.DB" and "VK" both name the table "vk".
QString normaliseTableName(const QString& name);

} // namespace schema
