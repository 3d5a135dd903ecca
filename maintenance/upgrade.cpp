#include "maintenance/upgrade.h"

#include "maintenance/maintsession.h"
#include "maintenance/paradoxchange.h"
#include "maintenance/paradoximport.h"

#include "catalogue/data/database.h"
#include "catalogue/data/dberror.h"
#include "catalogue/data/schema.h"
#include "common/errors.h"

#include <QDir>
#include <QRegularExpression>

#include <algorithm>

namespace {

const QString RemarkField = QStringLiteral("megjegyzes");

bool isMemo(const QString& declaredType)
{
    static const QRegularExpression memo(QStringLiteral("^\\s*(MEMO|TEXT|CLOB|FMTMEMO)\\b"),
                                         QRegularExpression::CaseInsensitiveOption);
    return memo.match(declaredType).hasMatch();
}

// The remark of the old structures was a memo; now it is text of 255 characters.
void convertRemark(Database& db, const QString& table)
{
    const TableStructure s = db.structure(table);
    for (const ColumnInfo& c : s.columns) {
        if (c.name.compare(RemarkField, Qt::CaseInsensitive) != 0)
            continue;
        if (isMemo(c.declType)) {
            TParadoxChange pcsz(&db);
            pcsz.setTableName(table + QStringLiteral(".DB"));
            pcsz.ChangeType(RemarkField, ParadoxFieldKind::String);
            pcsz.ChangeSize(RemarkField, 255);
        }
        return;
    }
    throw DbError(
        QStringLiteral("A(z) %1 mező nem található a(z) %2 táblában.").arg(RemarkField, table));
}

// The statements of the added fields stand alone: an error in one is passed
// over and the next one runs, so an UPDATE runs even after its ALTER failed.
void runIgnoringErrors(Database& db, const QString& sql)
{
    try {
        db.exec(sql);
    } catch (const DbError&) {
    }
}

// The lists sort only by indexed fields: a field the upgrade added gets its
// index now, not only at the next repair.
void addMissingIndexes(Database& db)
{
    for (const schema::TableDef& t : schema::tables()) {
        if (!db.hasTable(t.name))
            continue;
        const TableStructure s = db.structure(t.name);
        for (const schema::IndexDef& index : t.indexes) {
            const QString stored = schema::storeIndexName(t.name, index.name);
            const bool hasField =
                std::any_of(s.columns.begin(), s.columns.end(), [&](const ColumnInfo& c) {
                    return c.name.compare(index.field, Qt::CaseInsensitive) == 0;
                });
            const bool hasIndex =
                std::any_of(s.indexes.begin(), s.indexes.end(), [&](const IndexInfo& i) {
                    return i.name.compare(stored, Qt::CaseInsensitive) == 0;
                });
            if (hasField && !hasIndex)
                runIgnoringErrors(db, schema::createIndexSql(t.name, index));
        }
    }
}

} // namespace

void UpgradeStore(Database& db, const MaintenanceFeedback& feedback)
{
    feedback.maximum(7);
    feedback.position(1);
    feedback.showStatus(QStringLiteral("Mezők ellenőrzése"));
    feedback.stepBar();

    convertRemark(db, QStringLiteral("vk"));
    feedback.stepBar();
    convertRemark(db, QStringLiteral("felvetel"));

    QStringList fields;
    for (const ColumnInfo& c : db.structure(QStringLiteral("vk")).columns)
        fields << c.name;
    const auto has = [&fields](const char* name) {
        return fields.contains(QLatin1String(name), Qt::CaseInsensitive);
    };
    feedback.stepBar();

    // Every text field of the store sorts with the Hungarian collation, so the
    // added ones declare it too; otherwise their indexes would tell letter case apart.
    if (!has("KOLCSONADVA")) {
        runIgnoringErrors(db, QStringLiteral("ALTER TABLE vk ADD kolcsonadva CHAR(1) COLLATE HU;"));
        runIgnoringErrors(db, QStringLiteral("UPDATE vk SET kolcsonadva='N';"));
    }
    feedback.stepBar();
    if (!has("tipus_nev")) {
        runIgnoringErrors(db, QStringLiteral("ALTER TABLE vk ADD tipus_nev CHAR(25) COLLATE HU;"));
        runIgnoringErrors(
            db, QStringLiteral("UPDATE vk SET tipus_nev=(SELECT tipus.nev FROM tipus WHERE "
                               "vk.tipus=tipus.az);"));
    }
    feedback.stepBar();
    if (!has("DAT_KOLCS"))
        runIgnoringErrors(db, QStringLiteral("ALTER TABLE vk ADD dat_kolcs DATE;"));
    feedback.stepBar();
    if (!has("KINEK"))
        runIgnoringErrors(db, QStringLiteral("ALTER TABLE vk ADD kinek CHAR(50) COLLATE HU;"));

    addMissingIndexes(db);

    // The statements' own errors are passed over, but an upgrade that did not
    // reach the current structure must not end in "Verzióváltás kész".
    QStringList missing;
    const QList<ColumnInfo> now = db.structure(QStringLiteral("vk")).columns;
    for (const char* name : {"kolcsonadva", "tipus_nev", "dat_kolcs", "kinek"}) {
        const bool there = std::any_of(now.begin(), now.end(), [name](const ColumnInfo& c) {
            return c.name.compare(QLatin1String(name), Qt::CaseInsensitive) == 0;
        });
        if (!there)
            missing << QLatin1String(name);
    }
    if (!missing.isEmpty())
        throw ZelmoError(
            QStringLiteral("A verzióváltás nem sikerült: a vk táblához nem adható hozzá: %1")
                .arg(missing.join(QStringLiteral(", "))));
}

void RunVersionUpgrade(const QString& pathText, const MaintenanceFeedback& feedback)
{
    const QString folder = CheckDataFolder(pathText);
    if (!HasStore(folder)) {
        FolderLock lock(folder);
        if (!HasStore(folder)) {
            if (FindParadoxTables(folder).isEmpty())
                throw ZelmoError(QStringLiteral("A mappában nincs adatbázis: %1")
                                     .arg(QDir::toNativeSeparators(folder)));
            ImportParadoxFolder(folder, feedback);
        }
    }
    Database db;
    OpenStoreExclusive(db, folder);
    UpgradeStore(db, feedback);
    db.close();
    feedback.showInfo(QStringLiteral("Verzióváltás kész"));
    feedback.position(0);
    feedback.showStatus(QString());
}
