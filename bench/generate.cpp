#include "bench/generate.h"

#include "catalogue/data/database.h"
#include "catalogue/data/sqlite.h"

#include <QDate>
#include <QStringList>

#include <algorithm>
#include <random>
#include <vector>

namespace {

// std::uniform_int_distribution differs between standard libraries; the
// engine's raw output does not, so bounded numbers are made from it by hand.
class Rng
{
public:
    explicit Rng(std::uint32_t seed) : engine_(seed) {}
    // 0 <= result < n; 0 when n is 0.
    std::uint32_t below(std::uint32_t n)
    {
        return std::uint32_t((std::uint64_t(engine_()) * n) >> 32);
    }
    int between(int lo, int hi) { return lo + int(below(std::uint32_t(hi - lo + 1))); }
    bool perMille(std::uint32_t p) { return below(1000) < p; }
    template <typename T> const T& pick(const std::vector<T>& v)
    {
        return v[below(std::uint32_t(v.size()))];
    }

private:
    std::mt19937 engine_;
};

std::vector<QString> words(std::initializer_list<const char*> list)
{
    std::vector<QString> out;
    out.reserve(list.size());
    for (const char* w : list)
        out.push_back(QString::fromUtf8(w));
    return out;
}

const std::vector<QString>& typeNames()
{
    static const auto v =
        words({"Játékfilm",       "Sorozat",      "Dokumentumfilm",   "Zenei",
               "Sport",           "Mese",         "Természetfilm",    "Híradó",
               "Családi",         "Úti felvétel", "Ünnepi",           "Esküvő",
               "Óvodai műsor",    "Élő koncert",  "Ismeretterjesztő", "Krimi",
               "Vegyes",          "Gyerekműsor",  "Kabaré",           "Színházi közvetítés",
               "Opera és balett", "Történelem",   "Autó-motor",       "Főzőműsor",
               "Ökológia",        "Ősi kultúrák", "Űrkutatás",        "Állatok",
               "Bábjáték",        "Csillagászat"});
    return v;
}

const std::vector<QString>& genreNames()
{
    static const auto v =
        words({"Akció",        "Animáció",         "Dráma",         "Vígjáték",
               "Thriller",     "Horror",           "Sci-fi",        "Western",
               "Krimi",        "Romantikus",       "Musical",       "Háborús",
               "Történelmi",   "Életrajzi",        "Kaland",        "Fantasy",
               "Családi",      "Dokumentum",       "Természet",     "Sport",
               "Zenés",        "Koncert",          "Opera",         "Balett",
               "Színház",      "Kabaré",           "Rajzfilm",      "Mese",
               "Ifjúsági",     "Misztikus",        "Pszichológiai", "Politikai",
               "Szatíra",      "Paródia",          "Katasztrófa",   "Útifilm",
               "Gasztronómia", "Ismeretterjesztő", "Hírműsor",      "Ünnepi műsor"});
    return v;
}

const std::vector<QString>& qualityNames()
{
    static const auto v = words({"Kiváló", "Nagyon jó", "Jó", "Közepes", "Elfogadható", "Gyenge",
                                 "Rossz", "Élvezhetetlen"});
    return v;
}

const std::vector<QString>& familyNames()
{
    static const auto v = words(
        {"Nagy",   "Kovács",   "Tóth",    "Szabó",  "Horváth",  "Varga",  "Kiss",    "Molnár",
         "Németh", "Farkas",   "Balogh",  "Papp",   "Takács",   "Juhász", "Lakatos", "Mészáros",
         "Oláh",   "Simon",    "Rácz",    "Fekete", "Szilágyi", "Török",  "Fehér",   "Balázs",
         "Gál",    "Szűcs",    "Kocsis",  "Pintér", "Fodor",    "Szalai", "Sipos",   "Magyar",
         "Lukács", "Gulyás",   "Bíró",    "Király", "László",   "Katona", "Jakab",   "Antal",
         "Sándor", "Fazekas",  "Kelemen", "Soós",   "Vörös",    "Ördög",  "Ürmös",   "Érsek",
         "Ónodi",  "Illés",    "Hegedűs", "Bodnár", "Pásztor",  "Vincze", "Szőke",   "Győri",
         "Csonka", "Zsigmond", "Ágoston", "Őry"});
    return v;
}

const std::vector<QString>& givenNames()
{
    static const auto v = words(
        {"Ádám",   "Ágnes",   "Ákos",     "Áron",     "Béla",    "Csaba",  "Dániel",    "Dénes",
         "Edit",   "Emőke",   "Enikő",    "Erzsébet", "Éva",     "Ferenc", "Gábor",     "Gergő",
         "Gyula",  "Győző",   "Ilona",    "Imre",     "István",  "János",  "József",    "Judit",
         "Júlia",  "Katalin", "Klára",    "Kálmán",   "László",  "Lőrinc", "Márta",     "Mária",
         "Márton", "Miklós",  "Nóra",     "Olga",     "Orsolya", "Ödön",   "Örs",       "Pál",
         "Péter",  "Piroska", "Rózsa",    "Sándor",   "Szilvia", "Tamás",  "Tibor",     "Tünde",
         "Ubul",   "Ünige",   "Valéria",  "Vilmos",   "Zoltán",  "Zsófia", "Zsuzsanna", "Ibolya",
         "Irén",   "Huba",    "Hajnalka", "Űrsula"});
    return v;
}

const std::vector<QString>& nouns()
{
    static const auto v =
        words({"álom",       "éjszaka",  "öröm",      "útvesztő",  "ünnep",       "ének",
               "szív",       "király",   "hős",       "hajó",      "tenger",      "erdő",
               "vár",        "kert",     "tűz",       "víz",       "szél",        "hó",
               "nyár",       "tél",      "tavasz",    "ősz",       "csillag",     "hold",
               "élet",       "szerelem", "barát",     "ellenség",  "kaland",      "titok",
               "kincs",      "sziget",   "város",     "falu",      "utca",        "ház",
               "ablak",      "kapu",     "híd",       "folyó",     "hegy",        "völgy",
               "mező",       "virág",    "rózsa",     "madár",     "farkas",      "medve",
               "róka",       "ló",       "kutya",     "macska",    "gyermek",     "anya",
               "apa",        "testvér",  "úr",        "asszony",   "lány",        "fiú",
               "katona",     "vadász",   "orvos",     "tanító",    "bíró",        "tolvaj",
               "kém",        "nyomozás", "üldözés",   "menekülés", "visszatérés", "búcsú",
               "találkozás", "utazás",   "háború",    "béke",      "győzelem",    "árnyék",
               "fény",       "tükör",    "dal",       "tánc",      "zene",        "mese",
               "legenda",    "emlék",    "idő",       "óra",       "éjfél",       "hajnal",
               "alkony",     "vasárnap", "karácsony", "húsvét",    "szilveszter", "lakodalom",
               "cirkusz",    "színház",  "iskola",    "kórház",    "börtön",      "kastély",
               "torony",     "pince",    "műhely",    "bánya",     "vasút",       "repülő",
               "űrhajó",     "ökör",     "tündér",    "sárkány",   "óriás",       "törpe",
               "boszorkány", "varázsló", "ördög",     "angyal"});
    return v;
}

const std::vector<QString>& adjectives()
{
    static const auto v =
        words({"nagy",    "kis",     "öreg",   "fiatal",   "új",         "régi",       "szép",
               "gonosz",  "bátor",   "vidám",  "szomorú",  "titokzatos", "elveszett",  "utolsó",
               "első",    "különös", "vad",    "szelíd",   "hideg",      "forró",      "fekete",
               "fehér",   "piros",   "kék",    "zöld",     "arany",      "ezüst",      "néma",
               "hűséges", "hűtlen",  "bűnös",  "ártatlan", "híres",      "ismeretlen", "örök",
               "őrült",   "sötét",   "fényes", "éhes",     "gazdag",     "szegény",    "büszke",
               "könnyű",  "nehéz",   "gyors",  "lassú",    "csendes",    "zajos",      "üres",
               "ősi",     "égi",     "ólmos"});
    return v;
}

const std::vector<QString>& cassetteRemarks()
{
    static const auto v =
        words({"Saját felvételek", "Eredeti, bolti kazetta", "Régi szalag, kissé kopott",
               "Gyerekeknek", "Ünnepi felvételek", "Csak ismétlések", "Nagymamától", "Új kazetta",
               "Családi videók", "Ajándék", "Címke leesett", "Tokja törött", "Őrizni!",
               "Újraírható", "Átmásolandó DVD-re"});
    return v;
}

const std::vector<QString>& recordingRemarks()
{
    static const auto v =
        words({"Reklámok kivágva", "Eleje hiányzik", "Vége lemaradt", "Feliratos", "Szinkronos",
               "Eredeti nyelven", "Ismétlés", "Élő adás", "Zajos kép", "Hang néhol akadozik",
               "Tévéből rögzítve", "Kölcsönkapott kazettáról másolva", "Ünnepi adás",
               "Óriási siker volt"});
    return v;
}

QString capitalised(const QString& s)
{
    return s.isEmpty() ? s : s.left(1).toUpper() + s.mid(1);
}

bool startsWithVowel(const QString& s)
{
    static const QString vowels = QString::fromUtf8("aáeéiíoóöőuúüű");
    return !s.isEmpty() && vowels.contains(s.at(0).toLower());
}

QString article(const QString& next)
{
    return startsWithVowel(next) ? QStringLiteral("Az") : QStringLiteral("A");
}

QString title(Rng& rng)
{
    const QString& n1 = rng.pick(nouns());
    const QString& n2 = rng.pick(nouns());
    const QString& a1 = rng.pick(adjectives());
    QString t;
    switch (rng.below(7)) {
    case 0:
    case 1:
        t = article(a1) + QLatin1Char(' ') + a1 + QLatin1Char(' ') + n1;
        break;
    case 2:
        t = capitalised(n1) + QStringLiteral(" és ") + n2;
        break;
    case 3:
        t = capitalised(a1) + QLatin1Char(' ') + n1 + QStringLiteral(", ") +
            rng.pick(adjectives()) + QLatin1Char(' ') + n2;
        break;
    case 4:
        t = capitalised(n1) + QString::fromUtf8(" – ") + QString::number(rng.between(1, 120)) +
            QStringLiteral(". rész");
        break;
    case 5:
        // Programme titles copied from a TV guide often come in capitals.
        t = (a1 + QLatin1Char(' ') + n1).toUpper();
        break;
    default:
        t = capitalised(n1) + QLatin1Char(' ') + QString::number(rng.between(1960, 2009));
        break;
    }
    return t.left(50);
}

QString name(const std::vector<QString>& list, int index, int maxLength)
{
    const int size = int(list.size());
    QString n = list[size_t(index % size)];
    if (index >= size)
        n += QLatin1Char(' ') + QString::number(index / size + 1);
    return n.left(maxLength);
}

QString minutesToTime(int minutes)
{
    return QStringLiteral("%1:%2:00")
        .arg(minutes / 60, 2, 10, QLatin1Char('0'))
        .arg(minutes % 60, 2, 10, QLatin1Char('0'));
}

// Joins whole names with ", " as the recording editor does, never cutting a name.
QString performerList(Rng& rng, const std::vector<QString>& performers)
{
    QString out;
    const int count = rng.between(1, 4);
    for (int i = 0; i < count; ++i) {
        const QString& p = rng.pick(performers);
        const QString next = out.isEmpty() ? p : out + QStringLiteral(", ") + p;
        if (next.size() > 255)
            break;
        out = next;
    }
    return out;
}

// Two draws in one expression would run in an unspecified order.
QString personName(Rng& rng)
{
    const QString family = rng.pick(familyNames());
    return family + QLatin1Char(' ') + rng.pick(givenNames());
}

qint64 countRows(sqlite3* db, const char* table)
{
    sqlite::Statement st(db, QStringLiteral("SELECT count(*) FROM %1").arg(QLatin1String(table)));
    st.step();
    return st.int64(0);
}

void insertMaster(sqlite3* db, const char* table, int count, const std::vector<QString>& names)
{
    sqlite::Statement st(
        db, QStringLiteral("INSERT INTO %1 (az, nev) VALUES (?1, ?2)").arg(QLatin1String(table)));
    for (int i = 0; i < count; ++i) {
        st.reset();
        st.bind(1, i + 1);
        st.bind(2, name(names, i, 25));
        st.step();
    }
}

struct Cassette
{
    int tape = 0;
    int weight = 0;
    int recordings = 0;
};

} // namespace

void GenerateCatalogue(Database& db, const GenerateOptions& o)
{
    sqlite3* h = db.handle();
    for (const char* t : {"vk", "felvetel", "tipus", "mufaj", "minoseg", "szereplo"})
        if (countRows(h, t) > 0)
            throw DbError(QStringLiteral(
                              "A(z) %1 tábla nem üres: a mintaadat csak üres katalógusba kerülhet.")
                              .arg(QLatin1String(t)));

    Rng rng(o.seed);
    Transaction tx(db);

    insertMaster(h, "tipus", o.types, typeNames());
    insertMaster(h, "mufaj", o.genres, genreNames());
    insertMaster(h, "minoseg", o.qualities, qualityNames());

    // Every family name with every given name, in a shuffled order, so the
    // performers are distinct as long as there are enough pairs.
    std::vector<QString> pairs;
    for (const QString& f : familyNames())
        for (const QString& g : givenNames())
            pairs.push_back(f + QLatin1Char(' ') + g);
    for (size_t i = pairs.size() - 1; i > 0; --i)
        std::swap(pairs[i], pairs[rng.below(std::uint32_t(i + 1))]);
    insertMaster(h, "szereplo", o.performers, pairs);
    std::vector<QString> performers;
    for (int i = 0; i < o.performers; ++i)
        performers.push_back(name(pairs, i, 25));
    std::vector<QString> directors;
    for (int i = 0; i < 150; ++i)
        directors.push_back(personName(rng));

    // Recordings are spread unevenly: a few cassettes stay empty, most hold a
    // handful, some (series, music videos) hold dozens.
    std::vector<Cassette> cassettes(size_t(std::max(o.cassettes, 0)));
    std::vector<std::uint32_t> cumulative;
    cumulative.reserve(cassettes.size());
    std::uint32_t total = 0;
    for (Cassette& c : cassettes) {
        const std::uint32_t kind = rng.below(100);
        c.weight = kind < 3 ? 0 : kind < 30 ? 2 : kind < 85 ? 5 : 15;
        const std::uint32_t tape = rng.below(10);
        c.tape = tape < 2 ? 120 : tape < 6 ? 180 : tape < 9 ? 240 : 300;
    }
    if (std::all_of(cassettes.begin(), cassettes.end(),
                    [](const Cassette& c) { return c.weight == 0; }))
        for (Cassette& c : cassettes)
            c.weight = 1;
    for (const Cassette& c : cassettes) {
        total += std::uint32_t(c.weight);
        cumulative.push_back(total);
    }
    if (!cassettes.empty())
        for (int i = 0; i < o.recordings; ++i) {
            const std::uint32_t r = rng.below(total);
            const auto it = std::upper_bound(cumulative.begin(), cumulative.end(), r);
            ++cassettes[size_t(it - cumulative.begin())].recordings;
        }

    sqlite::Statement insVk(
        h, QStringLiteral("INSERT INTO vk (vk, azonosito, hossz, szabad, megjegyzes, tipus, "
                          "kolcsonadva, dat_kolcs, kinek, tipus_nev) "
                          "VALUES (?1, ?2, ?3, ?4, ?5, ?6, ?7, ?8, ?9, ?10)"));
    sqlite::Statement insRec(
        h, QStringLiteral("INSERT INTO felvetel (vk, felvetel, cim, hossz, minoseg, mufaj, "
                          "szereplok, rendezte, datum, szamlalo_tol, szamlalo_ig, megjegyzes) "
                          "VALUES (?1, ?2, ?3, ?4, ?5, ?6, ?7, ?8, ?9, ?10, ?11, ?12)"));
    const QDate firstRecording(1985, 1, 1);
    const QDate firstLoan(2005, 1, 1);

    for (size_t ci = 0; ci < cassettes.size(); ++ci) {
        Cassette& c = cassettes[ci];
        const int vk = int(ci) + 1;
        const int n = c.recordings;
        // A long series does not fit a short tape: take a longer one.
        while (n * 3 > c.tape && c.tape < 300)
            c.tape += 60;

        // Lengths fill 60 to 100 % of the tape, each at least a minute.
        std::vector<int> lengths(size_t(n), 1);
        if (n > 0) {
            const int used = std::max(n, c.tape * rng.between(60, 100) / 100);
            std::vector<int> shares(static_cast<size_t>(n));
            int shareSum = 0;
            for (int& s : shares)
                shareSum += (s = rng.between(1, 100));
            for (int k = 0; k < n; ++k)
                lengths[size_t(k)] += int(qint64(used - n) * shares[size_t(k)] / shareSum);
        }
        int sum = 0;
        for (int l : lengths)
            sum += l;

        QVariant tipus, tipusNev;
        if (o.types > 0 && !rng.perMille(10)) {
            const int t = rng.between(1, o.types);
            tipus = t;
            tipusNev = name(typeNames(), t - 1, 25);
        }
        QVariant lent = QStringLiteral("N"), kinek, datKolcs;
        const std::uint32_t loan = rng.below(1000);
        if (loan < 30) {
            lent = QStringLiteral("I");
            kinek = personName(rng).toUpper();
            datKolcs = firstLoan.addDays(rng.below(5 * 365)).toString(Qt::ISODate);
        } else if (loan < 40) {
            // Left empty by an old version until the repair sets "N".
            lent = QVariant();
        }
        const QVariant remark =
            rng.perMille(300) ? QVariant(rng.pick(cassetteRemarks())) : QVariant();

        insVk.reset();
        insVk.bind(1, vk);
        insVk.bind(2, QStringLiteral("%1").arg(vk, 5, 10, QLatin1Char('0')));
        insVk.bind(3, c.tape);
        insVk.bind(4, c.tape - sum);
        insVk.bind(5, remark);
        insVk.bind(6, tipus);
        insVk.bind(7, lent);
        insVk.bind(8, datKolcs);
        insVk.bind(9, kinek);
        insVk.bind(10, tipusNev);
        insVk.step();

        QDate day = firstRecording.addDays(rng.below(24 * 365));
        int position = 0;
        for (int k = 0; k < n; ++k) {
            const int length = lengths[size_t(k)];
            const int end = position + length - 1;
            QVariant minoseg, mufaj;
            if (o.qualities > 0 && !rng.perMille(40))
                minoseg = rng.between(1, o.qualities);
            else if (rng.perMille(100))
                minoseg = o.qualities + 100; // a deleted quality: its name shows empty
            if (o.genres > 0 && !rng.perMille(50))
                mufaj = rng.between(1, o.genres);
            else if (rng.perMille(100))
                mufaj = o.genres + 100;
            const QVariant szereplok = (!performers.empty() && !rng.perMille(150))
                                           ? QVariant(performerList(rng, performers))
                                           : QVariant();
            const QVariant rendezte =
                rng.perMille(300) ? QVariant() : QVariant(rng.pick(directors));
            const QVariant cim = rng.perMille(10) ? QVariant() : QVariant(title(rng));
            const QVariant datum =
                rng.perMille(20) ? QVariant() : QVariant(day.toString(Qt::ISODate));
            const QVariant megjegyzes =
                rng.perMille(150) ? QVariant(rng.pick(recordingRemarks())) : QVariant();
            day = day.addDays(rng.below(60));

            insRec.reset();
            insRec.bind(1, vk);
            insRec.bind(2, k + 1);
            insRec.bind(3, cim);
            insRec.bind(4, length);
            insRec.bind(5, minoseg);
            insRec.bind(6, mufaj);
            insRec.bind(7, szereplok);
            insRec.bind(8, rendezte);
            insRec.bind(9, datum);
            insRec.bind(10, minutesToTime(position));
            insRec.bind(11, minutesToTime(end));
            insRec.bind(12, megjegyzes);
            insRec.step();
            position = end;
        }
    }
    tx.commit();
    db.notifyChanges(nullptr);
}
