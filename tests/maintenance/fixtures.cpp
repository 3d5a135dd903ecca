#include "fixtures.h"

#include "maintenance/paradoxwriter.h"

#include "catalogue/data/database.h"
#include "catalogue/data/hungarian.h"
#include "catalogue/data/sqlite.h"

#include <QBuffer>
#include <QCryptographicHash>
#include <QDate>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QPainter>
#include <QTime>

#include <sqlite3.h>

namespace fixture {

QString longRemark()
{
    const QString piece = QStringLiteral("Árvíztűrő tükörfúrógép, ŐSZI ÜNNEP. ");
    QString text;
    while (text.size() < 300)
        text += piece;
    return text.left(300);
}

QByteArray jpeg(bool large)
{
    const int side = large ? 96 : 8;
    QImage image(side, side, QImage::Format_RGB32);
    for (int y = 0; y < side; ++y)
        for (int x = 0; x < side; ++x)
            image.setPixel(
                x, y, qRgb((x * 37 + y * 11) % 256, (x * x + y * 7) % 256, (x * y * 13) % 256));
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "JPG", 95);
    return bytes;
}

void writeOldFolder(const QString& folder)
{
    using namespace paradox;
    const QDir dir(folder);
    const QVariant null;
    {
        TableWriter vk(dir.filePath(QStringLiteral("vk.DB")), OldCassetteFields(30), 1);
        vk.append({1, QStringLiteral("00001"), 180, 60, longRemark(), 1});
        // A remark of exactly the 20 bytes that fit in the record beside the pointer.
        vk.append(
            {2, QStringLiteral("00002"), 240, -15, QStringLiteral("Rövid megjegyzés ő ű"), 2});
        vk.append({3, QStringLiteral("00003"), null, null, null, 99});
    }
    {
        TableWriter felvetel(dir.filePath(QStringLiteral("felvetel.DB")), OldRecordingFields(40),
                             2);
        felvetel.append({1, 1, QStringLiteral("Árvíztűrő tükörfúrógép"), 96, 1, 2,
                         QStringLiteral("Kovács Éva, Nagy Ödön"), QStringLiteral("Bódi Géza"),
                         QDate(1998, 12, 24), QTime(0, 0), QTime(1, 35),
                         QStringLiteral("Felvétel a TV-ből, ")});
        felvetel.append({1, 2, QStringLiteral("Második"), null, null, null, null, null, null, null,
                         null, null});
        felvetel.append({2, 1, QStringLiteral("Őszi hosszú"), 120, 1, 1, null, null,
                         QDate(2003, 2, 28), QTime(1, 2, 3), QTime(3, 2),
                         QString(3000, QChar(u'ő'))});
    }
    const auto master = [&dir](const char* file, const QStringList& names, int lastNumber) {
        TableWriter t(dir.filePath(QLatin1String(file)), OldMasterFields(), 1);
        for (int i = 0; i < names.size(); ++i)
            t.append({i + 1, names.at(i)});
        t.setAutoIncrement(lastNumber);
    };
    master("tipus.DB", {QStringLiteral("VHS-C Ősz"), QStringLiteral("S-VHS Ünnep")},
           5); // 3 to 5 were deleted
    master("mufaj.DB", {QStringLiteral("Dráma"), QStringLiteral("Vígjáték")}, 2);
    master("minoseg.DB", {QStringLiteral("Kiváló")}, 1);
    master("szereplo.DB", {QStringLiteral("Kovács Éva"), QStringLiteral("Nagy Ödön")}, 2);
    {
        TableWriter programok(dir.filePath(QStringLiteral("programok.DB")),
                              {{QStringLiteral("programok"), Long, 4},
                               {QStringLiteral("programok_nev"), Alpha, 50},
                               {QStringLiteral("link"), Alpha, 255},
                               {QStringLiteral("letoltlink"), Alpha, 255},
                               {QStringLiteral("kategoria"), Alpha, 50},
                               {QStringLiteral("ingyenes"), Alpha, 1},
                               {QStringLiteral("leiras"), Alpha, 255},
                               {QStringLiteral("kep"), Blob, 10}},
                              1);
        programok.append({1, QStringLiteral("Zelmo"), QStringLiteral("http://example.hu/zelmo"),
                          QStringLiteral("http://example.hu/zelmo.zip"),
                          QStringLiteral("Nyilvántartás"), QStringLiteral("I"),
                          QStringLiteral("Videókazetták nyilvántartása"), jpeg(true)});
        programok.append({2, QStringLiteral("Kicsi"), null, null, QStringLiteral("Egyéb"),
                          QStringLiteral("N"), null, jpeg(false)});
        programok.append({3, QStringLiteral("Kép nélkül"), null, null, null, null, null, null});
    }
}

QMap<QString, QByteArray> checksums(const QString& folder)
{
    QMap<QString, QByteArray> sums;
    const QDir dir(folder);
    for (const QString& name : dir.entryList(QDir::Files)) {
        QFile f(dir.filePath(name));
        if (f.open(QIODevice::ReadOnly))
            sums.insert(name,
                        QCryptographicHash::hash(f.readAll(), QCryptographicHash::Sha1).toHex());
    }
    return sums;
}

QString dump(const QString& storeFile)
{
    sqlite3* db = nullptr;
    if (sqlite3_open_v2(QFile::encodeName(storeFile).constData(), &db, SQLITE_OPEN_READONLY,
                        nullptr) != SQLITE_OK) {
        sqlite3_close(db);
        return QStringLiteral("<cannot open>");
    }
    hungarian::registerOn(db);
    QString out;
    QStringList tables;
    {
        sqlite::Statement st(
            db, QStringLiteral("SELECT type, name, sql FROM sqlite_master ORDER BY type, name"));
        while (st.step()) {
            out += st.value(0).toString() + QLatin1Char(' ') + st.value(1).toString() +
                   QLatin1Char(' ') + st.value(2).toString() + QLatin1Char('\n');
            if (st.value(0).toString() == QLatin1String("table"))
                tables << st.value(1).toString();
        }
    }
    for (const QString& t : tables) {
        sqlite::Statement st(db,
                             QStringLiteral("SELECT rowid, * FROM \"%1\" ORDER BY rowid").arg(t));
        while (st.step()) {
            QStringList row;
            for (int i = 0; i < st.columnCount(); ++i) {
                const QVariant v = st.value(i);
                row << QString::number(st.columnType(i)) + QLatin1Char(':') +
                           (v.typeId() == QMetaType::QByteArray
                                ? QString::fromLatin1(v.toByteArray().toHex())
                                : v.toString());
            }
            out += t + QStringLiteral(": ") + row.join(QLatin1Char('|')) + QLatin1Char('\n');
        }
    }
    sqlite3_close(db);
    return out;
}

QVariant value(Database& db, const QString& sql)
{
    sqlite::Statement st(db.handle(), sql);
    return st.step() ? st.value(0) : QVariant();
}

QStringList indexes(Database& db, const QString& table)
{
    QStringList out;
    sqlite::Statement list(db.handle(), QStringLiteral("SELECT name FROM pragma_index_list(?1)"));
    list.bind(1, table);
    while (list.step()) {
        const QString name = list.value(0).toString();
        sqlite::Statement info(
            db.handle(),
            QStringLiteral(
                "SELECT name, coll FROM pragma_index_xinfo(?1) WHERE key=1 ORDER BY seqno"));
        info.bind(1, name);
        QStringList cols;
        while (info.step())
            cols << info.value(0).toString() + QLatin1Char(' ') + info.value(1).toString();
        out << (name.startsWith(QLatin1String("sqlite_autoindex")) ? QStringLiteral("<key>")
                                                                   : name) +
                   QLatin1Char('(') + cols.join(QStringLiteral(", ")) + QLatin1Char(')');
    }
    out.sort();
    return out;
}

QStringList columns(Database& db, const QString& table)
{
    QStringList out;
    sqlite::Statement st(db.handle(),
                         QStringLiteral("SELECT name, type, pk FROM pragma_table_info(?1)"));
    st.bind(1, table);
    const QByteArray t = table.toUtf8();
    while (st.step()) {
        const QByteArray col = st.value(0).toString().toUtf8();
        const char* coll = nullptr;
        sqlite3_table_column_metadata(db.handle(), "main", t.constData(), col.constData(), nullptr,
                                      &coll, nullptr, nullptr, nullptr);
        out << st.value(0).toString() + QLatin1Char(' ') + st.value(1).toString() +
                   QLatin1Char(' ') + QString::fromUtf8(coll) +
                   (st.value(2).toInt() ? QStringLiteral(" key%1").arg(st.value(2).toInt())
                                        : QString());
    }
    out.sort();
    return out;
}

MaintenanceFeedback Recorder::feedback()
{
    MaintenanceFeedback fb;
    fb.status = [this](const QString& s) { statuses << s; };
    fb.setMaximum = [this](int v) { maximum = v; };
    fb.setPosition = [this](int v) { position = v; };
    fb.step = [this] { ++position; };
    fb.error = [this](const QString& s) { errors << s; };
    fb.info = [this](const QString& s) { infos << s; };
    fb.keepAlive = [this] { ++alive; };
    return fb;
}

} // namespace fixture
