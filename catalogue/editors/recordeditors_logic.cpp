#include "catalogue/editors/recordeditors_logic.h"

#include "catalogue/data/database.h"
#include "catalogue/data/operations.h"
#include "catalogue/data/query.h"
#include "catalogue/data/table.h"
#include "common/clock.h"
#include "common/values.h"

#include <cstdlib>

namespace catalogue {

namespace {

QString sameLineEnds(QString text)
{
    return text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
}

// A text control that was left alone must not turn an empty field into an
// empty text, nor rewrite the line ends that older data was stored with.
void writeText(Table& table, const QString& field, const QString& text)
{
    const QVariant old = table.value(field);
    if (old.isNull() ? text.isEmpty() : sameLineEnds(old.toString()) == sameLineEnds(text))
        return;
    table.setValue(field, text);
}

} // namespace

void StartNewCassette(Table& tblVK)
{
    const int number = NextCassetteNumber(tblVK.database());
    tblVK.insert();
    tblVK.setValue(QStringLiteral("vk"), number);
    tblVK.setValue(QStringLiteral("azonosito"),
                   QStringLiteral("%1").arg(number, 5, 10, QLatin1Char('0')));
    tblVK.setValue(QStringLiteral("hossz"), 0);
    tblVK.setValue(QStringLiteral("kolcsonadva"), QStringLiteral("N"));
}

void PostCassette(Table& tblVK, const CassetteInput& input)
{
    Database& db = tblVK.database();
    const bool isNew = tblVK.state() == DataSet::State::Insert;
    Transaction tx(db);
    tblVK.setValue(QStringLiteral("hossz"), input.hossz);
    writeText(tblVK, QStringLiteral("megjegyzes"), input.megjegyzes);
    if (isNew)
        tblVK.setValue(QStringLiteral("szabad"), tblVK.value(QStringLiteral("hossz")));
    tblVK.setValue(QStringLiteral("tipus"),
                   FindOrAddName(db, QStringLiteral("tipus"), input.typeName));
    writeText(tblVK, QStringLiteral("tipus_nev"), input.typeName);
    tblVK.post();
    tx.commit();
}

void StartNewRecording(Table& tblFelvetel, int cassette)
{
    const NextTrackInfo next = NextTrack(tblFelvetel.database(), cassette);
    tblFelvetel.insert();
    tblFelvetel.setValue(QStringLiteral("vk"), cassette);
    tblFelvetel.setValue(QStringLiteral("felvetel"), next.track);
    tblFelvetel.setValue(QStringLiteral("szamlalo_tol"), next.start);
    tblFelvetel.setValue(QStringLiteral("szamlalo_ig"), QTime(0, 0));
    tblFelvetel.setValue(QStringLiteral("hossz"), 0);
    tblFelvetel.setValue(QStringLiteral("datum"), Today());
}

void PostRecording(Table& tblFelvetel, const RecordingInput& input)
{
    Database& db = tblFelvetel.database();
    Transaction tx(db);
    writeText(tblFelvetel, QStringLiteral("cim"), input.cim);
    tblFelvetel.setValue(QStringLiteral("hossz"), input.hossz);
    tblFelvetel.setValue(QStringLiteral("szamlalo_tol"), input.start);
    tblFelvetel.setValue(QStringLiteral("szamlalo_ig"), input.end);
    tblFelvetel.setValue(QStringLiteral("datum"), input.datum);
    tblFelvetel.setValue(QStringLiteral("minoseg"),
                         FindOrAddName(db, QStringLiteral("minoseg"), input.quality));
    tblFelvetel.setValue(QStringLiteral("mufaj"),
                         FindOrAddName(db, QStringLiteral("mufaj"), input.genre));
    writeText(tblFelvetel, QStringLiteral("rendezte"), input.rendezte);
    writeText(tblFelvetel, QStringLiteral("szereplok"), input.szereplok);
    writeText(tblFelvetel, QStringLiteral("megjegyzes"), input.megjegyzes);
    tblFelvetel.post();
    tx.commit();
}

QStringList MasterNames(Database& db, const QString& table)
{
    const QString t = table.toLower();
    if (!QStringList{QStringLiteral("tipus"), QStringLiteral("mufaj"), QStringLiteral("minoseg"),
                     QStringLiteral("szereplo")}
             .contains(t))
        throw DbError(QStringLiteral("Nem törzsadat tábla: %1").arg(table));
    Query q(db, QStringLiteral("SELECT nev FROM %1 ORDER BY nev").arg(t));
    q.open();
    QStringList names;
    for (q.first(); !q.eof(); q.next()) {
        const QString name = NullToStr(q.value(0), QString());
        if (!name.trimmed().isEmpty())
            names << name;
    }
    return names;
}

QStringList DirectorNames(Database& db)
{
    Query q(db, QStringLiteral("SELECT DISTINCT rendezte FROM felvetel ORDER BY 1;"));
    q.open();
    QStringList names;
    for (q.first(); !q.eof(); q.next()) {
        const QString name = NullToStr(q.value(0), QString());
        if (!name.isEmpty())
            names << name;
    }
    return names;
}

int LengthBetween(const QTime& a, const QTime& b)
{
    return std::abs(a.secsTo(b)) / 60 + 1;
}

QString AppendPerformer(const QString& performers, const QString& name)
{
    if (name.isEmpty())
        return performers;
    return (performers.isEmpty() ? name : performers + QStringLiteral(", ") + name).left(255);
}

QVariant IntegerFromText(const QString& text)
{
    const QString t = text.trimmed();
    if (t.isEmpty() || t == QLatin1String("-") || t == QLatin1String("+"))
        return QVariant();
    // Anything else the controls let through is a number; the data layer
    // refuses what is not, with a message that names the field.
    bool ok = false;
    const int v = t.toInt(&ok);
    return ok ? QVariant(v) : QVariant(t);
}

} // namespace catalogue
