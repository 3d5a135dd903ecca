#include "catalogue/data/schema.h"

#include "catalogue/data/sqlite.h"

#include <QHash>

namespace schema {

namespace {

QString masterSql(const char* name)
{
    return QStringLiteral("CREATE TABLE %1 (az INTEGER PRIMARY KEY AUTOINCREMENT, nev CHAR(25) COLLATE HU)")
        .arg(QLatin1String(name));
}

QList<TableDef> buildTables()
{
    QList<TableDef> t;
    t.append({QStringLiteral("vk"),
              QStringLiteral("CREATE TABLE vk ("
                             "vk INTEGER PRIMARY KEY, "
                             "azonosito CHAR(10) COLLATE HU, "
                             "hossz INTEGER, "
                             "szabad INTEGER, "
                             "megjegyzes CHAR(255) COLLATE HU, "
                             "tipus INTEGER, "
                             "kolcsonadva CHAR(1) COLLATE HU, "
                             "dat_kolcs DATE, "
                             "kinek CHAR(50) COLLATE HU, "
                             "tipus_nev CHAR(25) COLLATE HU)"),
              {QStringLiteral("vk")},
              {{QStringLiteral("idx_kolcsonadva"), QStringLiteral("kolcsonadva")},
               {QStringLiteral("idx_azonosito"), QStringLiteral("azonosito")},
               {QStringLiteral("idx_hossz"), QStringLiteral("hossz")},
               {QStringLiteral("idx_szabad"), QStringLiteral("szabad")},
               {QStringLiteral("idx_tipus_nev"), QStringLiteral("tipus_nev")}}});
    t.append({QStringLiteral("felvetel"),
              QStringLiteral("CREATE TABLE felvetel ("
                             "vk INTEGER NOT NULL, "
                             "felvetel INTEGER NOT NULL, "
                             "cim CHAR(50) COLLATE HU, "
                             "hossz INTEGER, "
                             "minoseg INTEGER, "
                             "mufaj INTEGER, "
                             "szereplok CHAR(255) COLLATE HU, "
                             "rendezte CHAR(50) COLLATE HU, "
                             "datum DATE, "
                             "szamlalo_tol TIME, "
                             "szamlalo_ig TIME, "
                             "megjegyzes CHAR(255) COLLATE HU, "
                             "PRIMARY KEY (vk, felvetel))"),
              {QStringLiteral("vk"), QStringLiteral("felvetel")},
              {{QStringLiteral("idx_felvetel"), QStringLiteral("felvetel")},
               {QStringLiteral("idx_cim"), QStringLiteral("cim")},
               {QStringLiteral("idx_hossz"), QStringLiteral("hossz")},
               {QStringLiteral("idx_datum"), QStringLiteral("datum")},
               {QStringLiteral("idx_szamlalo_tol"), QStringLiteral("szamlalo_tol")},
               {QStringLiteral("idx_szamlalo_ig"), QStringLiteral("szamlalo_ig")}}});
    for (const char* m : {"tipus", "mufaj", "minoseg", "szereplo"})
        t.append({QLatin1String(m), masterSql(m), {QStringLiteral("az")},
                  {{QStringLiteral("idx_nev"), QStringLiteral("nev")}}});
    t.append({QStringLiteral("programok"),
              QStringLiteral("CREATE TABLE programok ("
                             "programok INTEGER PRIMARY KEY, "
                             "programok_nev CHAR(50) COLLATE HU, "
                             "link CHAR(255) COLLATE HU, "
                             "letoltlink CHAR(255) COLLATE HU, "
                             "kategoria CHAR(50) COLLATE HU, "
                             "ingyenes CHAR(1) COLLATE HU, "
                             "leiras CHAR(255) COLLATE HU, "
                             "kep BLOB)"),
              {QStringLiteral("programok")},
              {{QStringLiteral("idx_programok_nev"), QStringLiteral("programok_nev")},
               {QStringLiteral("idx_kategoria"), QStringLiteral("kategoria")},
               {QStringLiteral("idx_ingyenes"), QStringLiteral("ingyenes")}}});
    return t;
}

struct Looks
{
    QHash<QString, QStringList> order;
    QHash<QString, FieldLook> looks; // key "table.field"
};

const Looks& looks()
{
    static const Looks l = [] {
        Looks r;
        r.order.insert(QStringLiteral("vk"),
                       {QStringLiteral("vk"), QStringLiteral("azonosito"), QStringLiteral("hossz"),
                        QStringLiteral("szabad"), QStringLiteral("megjegyzes"), QStringLiteral("tipus"),
                        QStringLiteral("kolcsonadva"), QStringLiteral("dat_kolcs"), QStringLiteral("kinek"),
                        QStringLiteral("osszesen"), QStringLiteral("tipus_nev")});
        r.order.insert(QStringLiteral("felvetel"),
                       {QStringLiteral("vk"), QStringLiteral("felvetel"), QStringLiteral("cim"),
                        QStringLiteral("hossz"), QStringLiteral("minoseg"), QStringLiteral("minoseg_nev"),
                        QStringLiteral("mufaj"), QStringLiteral("mufaj_nev"), QStringLiteral("szereplok"),
                        QStringLiteral("rendezte"), QStringLiteral("datum"), QStringLiteral("szamlalo_tol"),
                        QStringLiteral("szamlalo_ig"), QStringLiteral("megjegyzes")});
        r.order.insert(QStringLiteral("programok"),
                       {QStringLiteral("programok"), QStringLiteral("programok_nev"), QStringLiteral("link"),
                        QStringLiteral("letoltlink"), QStringLiteral("kategoria"), QStringLiteral("ingyenes"),
                        QStringLiteral("ingyenesstr"), QStringLiteral("leiras"), QStringLiteral("rovid"),
                        QStringLiteral("kep")});
        const auto add = [&r](const char* table, const char* field, const char* label, const char* format = "") {
            const QString key = QLatin1String(table) + QLatin1Char('.') + QLatin1String(field);
            r.looks.insert(key, {QLatin1String(field), QString::fromUtf8(label), QLatin1String(format)});
        };
        add("vk", "vk", "vk", "00000");
        add("vk", "azonosito", "sorszám");
        add("vk", "megjegyzes", "megjegyzés");
        add("vk", "kolcsonadva", "kölcsön?");
        add("vk", "dat_kolcs", "kölcsönadva");
        add("vk", "osszesen", "összesen");
        add("vk", "tipus_nev", "típus");
        add("felvetel", "felvetel", "track", "00");
        add("felvetel", "cim", "cím");
        add("felvetel", "datum", "dátum", "yyyy.mm.dd");
        add("felvetel", "szamlalo_tol", "kezdete", "hh:mm");
        add("felvetel", "szamlalo_ig", "vége", "hh:mm");
        add("programok", "programok_nev", "program neve");
        add("programok", "link", "honlap");
        add("programok", "letoltlink", "letöltés");
        add("programok", "kategoria", "kategória");
        add("programok", "ingyenes", "ingyenes?");
        add("programok", "ingyenesstr", "ingyenes?");
        add("programok", "leiras", "leírás");
        add("programok", "rovid", "leírás");
        add("programok", "kep", "kép");
        return r;
    }();
    return l;
}

} // namespace

const QList<TableDef>& tables()
{
    static const QList<TableDef> t = buildTables();
    return t;
}

const TableDef* findTable(const QString& name)
{
    const QString n = normaliseTableName(name);
    for (const TableDef& t : tables())
        if (t.name == n)
            return &t;
    return nullptr;
}

QString storeIndexName(const QString& table, const QString& indexName)
{
    return table + QLatin1Char('_') + indexName;
}

QString createIndexSql(const QString& table, const IndexDef& index)
{
    return QStringLiteral("CREATE INDEX \"%1\" ON \"%2\" (\"%3\")")
        .arg(storeIndexName(table, index.name), table, index.field);
}

void createAll(sqlite3* db)
{
    for (const TableDef& t : tables()) {
        sqlite::exec(db, t.createSql);
        for (const IndexDef& i : t.indexes)
            sqlite::exec(db, createIndexSql(t.name, i));
    }
}

QStringList fieldOrder(const QString& table)
{
    return looks().order.value(normaliseTableName(table));
}

FieldLook fieldLook(const QString& table, const QString& field)
{
    const QString key = normaliseTableName(table) + QLatin1Char('.') + field.toLower();
    auto it = looks().looks.constFind(key);
    if (it != looks().looks.constEnd())
        return *it;
    return {field, field, QString()};
}

QString normaliseTableName(const QString& name)
{
    QString n = name.trimmed().toLower();
    if (n.endsWith(QLatin1String(".db")))
        n.chop(3);
    return n;
}

} // namespace schema
