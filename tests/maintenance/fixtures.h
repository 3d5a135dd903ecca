#pragma once

#include "maintenance/feedback.h"

#include <QByteArray>
#include <QMap>
#include <QString>
#include <QStringList>
#include <QVariant>

class Database;

// Old data folders and helpers the maintenance tests share.
namespace fixture {

// A remark longer than a text field may hold: 300 characters with Hungarian letters.
QString longRemark();
// A JPEG picture; `large` ones need a block of their own in the .MB file.
QByteArray jpeg(bool large);

// Writes the tables of an old version into `folder`: vk.DB without kolcsonadva,
// tipus_nev, dat_kolcs and kinek, vk.DB and felvetel.DB with megjegyzes as a
// memo (one remark longer than 255 characters, one of several kilobytes),
// Windows-1250 text, empty values, dates and times, the four master tables,
// and programok.DB with JPEG pictures in its blob field.
void writeOldFolder(const QString& folder);

// Checksums of the files in the folder, by name.
QMap<QString, QByteArray> checksums(const QString& folder);

// The store file's schema and every row (with row ids and value types) as
// text, for comparing a store before and after.
QString dump(const QString& storeFile);

// One value from the store: the first column of the first row, or an invalid
// QVariant when there is no row.
QVariant value(Database& db, const QString& sql);

// Index name, its columns and their collations of every index the table has
// (those of a key included), sorted: "vk_idx_hossz(hossz HU)".
QStringList indexes(Database& db, const QString& table);

// "name TYPE COLLATION" per column, sorted, and the key: the parts of a
// table's structure that the upgrade and repair promise.
QStringList columns(Database& db, const QString& table);

// Takes down what an operation reports, in place of the window.
struct Recorder
{
    QStringList statuses;
    QStringList errors;
    QStringList infos;
    int maximum = 0;
    int position = 0;
    int alive = 0;

    MaintenanceFeedback feedback();
};

} // namespace fixture
