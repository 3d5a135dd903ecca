#include "catalogue/main/actions.h"

const QList<ActionDef>& MainActions()
{
    static const QList<ActionDef> actions{
        {"aUj", "Kazetták", "Új", "Új kazetta", "Ins", "Ins"},
        {"aSzerkeszt", "Kazetták", "Szerkeszt", "Kazetta szerkesztés", "F2", "F2"},
        {"aTorol", "Kazetták", "Töröl", "Kazetta törlés", "Ctrl+Del", "Ctrl+Del"},
        {"aKolcsonad", "Kazetták", "Kölcsönad", "Kölcsönad", "F3", "F3"},
        {"aVisszakap", "Kazetták", "Visszakap", "Visszakap", "Shift+F3", "Shift+F3"},
        {"aBongeszo", "Kazetták", "Böngésző", "Böngésző", "F11", "F11"},
        {"aNyomtat", "Kazetták", "Nyomtat", "Nyomtatás (egyszerű lista)", "Ctrl+P", "Ctrl+P"},
        {"aNyomtatKep", "Kazetták", "Nyomtatási kép", "Nyomtatási kép", "Ctrl+K", "Ctrl+K"},
        {"aExcelbe", "Kazetták", "Excelbe...", "Excelbe...", "Ctrl+E", "Ctrl+E"},
        {"aKilep", "Kazetták", "Kilépés a programból", "Kilépés a programból", "", ""},
        {"aUjFelv", "Felvételek", "Új", "Új felvétel", "F5", "F5"},
        {"aFelvSzerkeszt", "Felvételek", "Szerkeszt", "Felvétel szerkesztés", "F6", "F6"},
        {"aFelvTorol", "Felvételek", "Töröl", "Felvétel törlés", "F7", "F7"},
        {"aNyomtat2", "Felvételek", "Nyomtatás", "Nyomtatás", "Ctrl+Shift+P", "Ctrl+Shift+P"},
        {"aNyomtatKep2", "Felvételek", "Nyomtatási kép", "Nyomtatási kép", "Ctrl+Shift+K", "Ctrl+Shift+K"},
        {"aExcelbe2", "Felvételek", "Excelbe...", "Excelbe...", "Ctrl+Shift+E", "Ctrl+Shift+E"},
        {"aTipus", "Törzsadatok", "Típusok", "Típusok", "Ctrl+T", "Ctrl+T"},
        {"aMufaj", "Törzsadatok", "Műfajok", "Műfajok", "Ctrl+M", "Ctrl+M"},
        {"aMinoseg", "Törzsadatok", "Minőség", "Minőség", "Ctrl+I", "Ctrl+I"},
        {"aKeszito", "Törzsadatok", "Szereplők", "Szereplők", "", "Ctrl+K"},
        {"aNyomEgyszeru", "Nyomtatások", "Egyszerű lista", "Egyszerű lista", "", ""},
        {"aNyomEgyszeru2", "Nyomtatások", "Egyszerű lista (csak egy kazetta)", "Egyszerű lista (csak egy kazetta)",
         "", ""},
        {"aNyomReszl", "Nyomtatások", "Részletes lista", "Részletes lista", "", ""},
        {"aNyomReszl2", "Nyomtatások", "Részletes lista (csak egy kazetta)", "Részletes lista (csak egy kazetta)",
         "", ""},
        {"aNyomMinoseg", "Nyomtatások", "Felvételek minőség szerint", "Felvételek minőség szerint", "", ""},
        {"aNyomTipus", "Nyomtatások", "Felvételek típus szerint", "Felvételek típus szerint", "", ""},
        {"aNyomMufaj", "Nyomtatások", "Felvételek műfajonként", "Felvételek műfajonként", "", ""},
        {"aBetuNovel", "Nézet", "Betűméret növelése", "Betűméret növelése", "", "F11"},
        {"aBetuCsokkent", "Nézet", "Betűméret csökkentése", "Betűméret csökkentése", "F12", "F12"},
        {"aSQL", "Rendszer", "Szabad lekérdezés (SQL)", "Szabad lekérdezés (SQL)", "", ""},
        {"aAdatMent", "Rendszer", "Adatbázis mentése", "Adatbázis mentése", "", ""},
        {"aBeallit", "Rendszer", "Beállítások", "Beállítások", "Alt+Enter", "Alt+Enter"},
        {"aSugo", "Súgó", "Súgó", "Súgó", "F1", "F1"},
        {"aFontos", "Súgó", "Fontos információk, licence szerződés", "Fontos információk", "", ""},
        {"aHonlap", "Súgó", "Tervix honlapja", "Tervix honlapja", "", ""},
        {"aLevel", "Súgó", "Levélküldés Tervixnek", "Levélküldés Tervixnek", "", ""},
        {"aUjdonsag", "Súgó", "Újdonságok az Interneten", "Újdonságok az Interneten", "", ""},
        {"aProgramok", "Súgó", "További letölthető programok", "További letölthető programok", "", ""},
        {"aNevjegy", "Súgó", "Névjegy", "Névjegy", "Alt+F1", "Alt+F1"},
    };
    return actions;
}

const ActionDef* FindMainAction(const QString& name)
{
    for (const ActionDef& a : MainActions())
        if (name == QLatin1String(a.name))
            return &a;
    return nullptr;
}

QList<QKeySequence> ShortcutKeys(const char* shortcut)
{
    const QString text = QString::fromUtf8(shortcut);
    if (text.isEmpty())
        return {};
    if (text.endsWith(QLatin1String("Enter"))) {
        // Qt's "Enter" is the keypad key only; the main Return key must work too.
        QString main = text;
        main.replace(QLatin1String("Enter"), QLatin1String("Return"));
        return {QKeySequence(main), QKeySequence(text)};
    }
    return {QKeySequence(text)};
}

const QList<MenuDef>& MainMenus()
{
    static const QList<MenuDef> menus{
        {"Kazetták",
         {"aUj", "aSzerkeszt", "aTorol", "-", "aNyomtat", "aNyomtatKep", "aExcelbe", "-", "aBongeszo", "-", "aKilep"}},
        {"Felvételek", {"aUjFelv", "aFelvSzerkeszt", "aFelvTorol", "-", "aNyomtat2", "aNyomtatKep2", "aExcelbe2"}},
        {"Nézet", {"aBetuNovel", "aBetuCsokkent"}},
        {"Törzsadatok", {"aTipus", "aMufaj", "aMinoseg", "aKeszito"}},
        {"Nyomtatások",
         {"aNyomEgyszeru", "aNyomEgyszeru2", "-", "aNyomReszl", "aNyomReszl2", "-", "aNyomMufaj", "aNyomTipus",
          "aNyomMinoseg"}},
        {"Rendszer", {"aSQL", "aAdatMent", "-", "aBeallit"}},
        {"Súgó",
         {"aSugo", "-", "aFontos", "aHonlap", "aLevel", "aUjdonsag", "-", "aProgramok", "-", "aNevjegy"}},
    };
    return menus;
}

QList<const char*> MainToolBarEntries()
{
    return {"aBetuNovel", "aBetuCsokkent", "-", "aBeallit", "-", "aSugo",      "aHonlap",
            "-",          "aLevel",        "aUjdonsag", "aProgramok", "-", "aKilep"};
}

QList<const char*> CassetteToolBarEntries()
{
    return {"aBongeszo", "-", "aUj", "aSzerkeszt", "aTorol", "-", "aKolcsonad", "aVisszakap"};
}

QList<const char*> RecordingToolBarEntries() { return {"aUjFelv", "aFelvSzerkeszt", "aFelvTorol"}; }

QList<const char*> CassettePopupEntries()
{
    return {"aBongeszo", "-", "aUj", "aSzerkeszt", "aTorol", "-", "aNyomtat", "aNyomtatKep", "aExcelbe",
            "-",         "aKolcsonad", "aVisszakap"};
}

QList<const char*> RecordingPopupEntries()
{
    return {"aUjFelv", "aFelvSzerkeszt", "aFelvTorol", "-", "aNyomtat", "-", "aBongeszo"};
}
