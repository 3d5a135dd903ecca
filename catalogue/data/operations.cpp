#include "catalogue/data/operations.h"

#include "catalogue/data/database.h"
#include "catalogue/data/query.h"
#include "catalogue/data/schema.h"
#include "catalogue/data/table.h"

#include <QList>

namespace catalogue {

int NextCassetteNumber(Database& db)
{
    Query q(db, QStringLiteral("SELECT max(vk) FROM vk"));
    q.open();
    return q.value(0).toInt() + 1;
}

NextTrackInfo NextTrack(Database& db, int cassette)
{
    Query q(db, QStringLiteral("SELECT felvetel, szamlalo_ig FROM felvetel WHERE vk=:pvk "
                               "ORDER BY felvetel DESC LIMIT 1"));
    q.setParam(QStringLiteral("pvk"), cassette);
    q.open();
    NextTrackInfo next;
    if (q.isEmpty())
        return next;
    next.track = q.value(0).toInt() + 1;
    const QTime end = QTime::fromString(q.value(1).toString(), Qt::ISODate);
    if (end.isValid())
        next.start = end;
    return next;
}

int FindOrAddName(Database& db, const QString& table, const QString& name)
{
    const QString t = schema::normaliseTableName(table);
    if (!schema::findTable(t) || !QStringList{"tipus", "mufaj", "minoseg", "szereplo"}.contains(t))
        throw DbError(QStringLiteral("Nem törzsadat tábla: %1").arg(table));
    const QString stored = name.left(25);
    Query find(
        db, QStringLiteral(
                "SELECT az FROM %1 WHERE upper(coalesce(nev,''))=upper(:nev) ORDER BY az LIMIT 1")
                .arg(t));
    find.setParam(QStringLiteral("nev"), stored);
    find.open();
    if (!find.isEmpty())
        return find.value(0).toInt();
    Query add(db, QStringLiteral("INSERT INTO %1 (nev) VALUES (:nev)").arg(t));
    add.setParam(QStringLiteral("nev"), stored);
    add.execSql();
    Query id(db, QStringLiteral("SELECT last_insert_rowid()"));
    id.open();
    return id.value(0).toInt();
}

int RecordingLengthSum(Database& db, int cassette)
{
    Query q(db, QStringLiteral(
                    "SELECT\n  felvetel.vk,\n  SUM(felvetel.hossz) AS osszhossz\nFROM felvetel\n"
                    "WHERE vk=:pvk\nGROUP BY vk;"));
    q.setParam(QStringLiteral("pvk"), cassette);
    q.open();
    return q.isEmpty() ? 0 : q.value(QStringLiteral("osszhossz")).toInt();
}

void PostOrCancel(Table& table)
{
    try {
        table.post();
    } catch (...) {
        table.cancel();
        throw;
    }
}

void UpdateFreeTape(Table& tblVK)
{
    if (!tblVK.isActive() || tblVK.currentRow() < 0)
        return;
    const int cassette = tblVK.value(QStringLiteral("vk")).toInt();
    const int free = tblVK.value(QStringLiteral("hossz")).toInt() -
                     RecordingLengthSum(tblVK.database(), cassette);
    if (tblVK.value(QStringLiteral("szabad")) == QVariant(free))
        return;
    tblVK.edit();
    tblVK.setValue(QStringLiteral("szabad"), free);
    PostOrCancel(tblVK);
}

void DeleteCassette(Database& db, int cassette)
{
    Transaction tx(db);
    Query recordings(db, QStringLiteral("DELETE FROM felvetel WHERE vk=:pvk"));
    recordings.setParam(QStringLiteral("pvk"), cassette);
    recordings.execSql();
    Query cassetteRow(db, QStringLiteral("DELETE FROM vk WHERE vk=:pvk"));
    cassetteRow.setParam(QStringLiteral("pvk"), cassette);
    cassetteRow.execSql();
    tx.commit();
}

void DeleteRecording(Database& db, int cassette, int track)
{
    Transaction tx(db);
    Query del(db, QStringLiteral("DELETE FROM felvetel WHERE vk=:pvk AND felvetel=:ptrack"));
    del.setParam(QStringLiteral("pvk"), cassette);
    del.setParam(QStringLiteral("ptrack"), track);
    del.execSql();
    Query tracks(db,
                 QStringLiteral("SELECT felvetel FROM felvetel WHERE vk=:pvk ORDER BY felvetel"));
    tracks.setParam(QStringLiteral("pvk"), cassette);
    tracks.open();
    QList<int> old;
    for (tracks.first(); !tracks.eof(); tracks.next())
        old << tracks.value(0).toInt();
    tracks.close();
    // Going up in track order, each new number is at most the old one and its
    // slot is already free, so no step collides with the key.
    Query renumber(
        db, QStringLiteral("UPDATE felvetel SET felvetel=:pnew WHERE vk=:pvk AND felvetel=:pold"));
    for (int i = 0; i < old.size(); ++i) {
        if (old.at(i) == i + 1)
            continue;
        renumber.setParam(QStringLiteral("pvk"), cassette);
        renumber.setParam(QStringLiteral("pnew"), i + 1);
        renumber.setParam(QStringLiteral("pold"), old.at(i));
        renumber.execSql();
    }
    tx.commit();
}

} // namespace catalogue
