// The main window's commands that change the catalogue: adding, editing and
// deleting cassettes and recordings, the free tape, lending and taking back,
// and the master-data lists.
#include "catalogue/browse/frm_bongeszo.h"
#include "catalogue/data/operations.h"
#include "catalogue/editors/masterdata.h"
#include "catalogue/editors/recordeditors.h"
#include "catalogue/export/delimitedexport.h"
#include "catalogue/main/frm_main.h"
#include "catalogue/main/themedbgrid.h"
#include "common/application.h"
#include "common/clock.h"
#include "common/messages.h"
#include "common/values.h"

#include <QAction>

void Tfrm_Main::connectOperations()
{
    const auto on = [this](const char* name, void (Tfrm_Main::*slot)()) {
        QAction* a = action(QLatin1String(name));
        a->setEnabled(true);
        connect(a, &QAction::triggered, this,
                [this, slot] { RunGuarded(this, [this, slot] { (this->*slot)(); }); });
    };
    on("aUj", &Tfrm_Main::aUjExecute);
    on("aSzerkeszt", &Tfrm_Main::aSzerkesztExecute);
    on("aTorol", &Tfrm_Main::aTorolExecute);
    on("aUjFelv", &Tfrm_Main::aUjFelvExecute);
    on("aFelvSzerkeszt", &Tfrm_Main::aFelvSzerkesztExecute);
    on("aFelvTorol", &Tfrm_Main::aFelvTorolExecute);
    on("aKolcsonad", &Tfrm_Main::aKolcsonadExecute);
    on("aVisszakap", &Tfrm_Main::aVisszakapExecute);
    on("aTipus", &Tfrm_Main::aTipusExecute);
    on("aMufaj", &Tfrm_Main::aMufajExecute);
    on("aMinoseg", &Tfrm_Main::aMinosegExecute);
    on("aKeszito", &Tfrm_Main::aKeszitoExecute);
    on("aBongeszo", &Tfrm_Main::aBongeszoExecute);
    on("aExcelbe", &Tfrm_Main::aExcelbeExecute);
    on("aExcelbe2", &Tfrm_Main::aExcelbe2Execute);
}

void Tfrm_Main::aBongeszoExecute()
{
    OpenBrowser(*this);
    DBGrid2->setFocus();
}

void Tfrm_Main::aExcelbeExecute() { ExportDelimited(*TblVK, QStringLiteral("Kazetták.csv"), this); }

void Tfrm_Main::aExcelbe2Execute() { ExportDelimited(*TblFelvetel, QStringLiteral("Felvételek.csv"), this); }

void Tfrm_Main::UpdateFreeTape()
{
    catalogue::UpdateFreeTape(*TblVK);
}

void Tfrm_Main::aUjExecute()
{
    EditCassette(*TblVK, true, this);
    DBGrid1->setFocus();
}

void Tfrm_Main::aSzerkesztExecute()
{
    // A changed length changes the free tape too.
    if (EditCassette(*TblVK, false, this))
        UpdateFreeTape();
    DBGrid1->setFocus();
}

void Tfrm_Main::aTorolExecute()
{
    if (TblVK->currentRow() < 0)
        return;
    if (AskYesNo(QStringLiteral("Valóban töröljem a kazettát?"), QStringLiteral("Megerősítés"),
                 this))
        catalogue::DeleteCassette(Db1, NullToInt(TblVK->value(QStringLiteral("vk")), 0));
    DBGrid1->setFocus();
}

void Tfrm_Main::aUjFelvExecute()
{
    EditRecording(*TblVK, *TblFelvetel, true, this);
    UpdateFreeTape();
    DBGrid2->setFocus();
}

void Tfrm_Main::aFelvSzerkesztExecute()
{
    const bool none = TblFelvetel->currentRow() < 0 ||
                      NullToInt(TblFelvetel->value(QStringLiteral("felvetel")), 0) == 0;
    EditRecording(*TblVK, *TblFelvetel, none, this);
    UpdateFreeTape();
    DBGrid2->setFocus();
}

void Tfrm_Main::aFelvTorolExecute()
{
    if (TblFelvetel->currentRow() < 0)
        return;
    if (AskYesNo(QStringLiteral("Valóban töröljem a felvételt?"), QStringLiteral("Megerősítés"),
                 this)) {
        catalogue::DeleteRecording(Db1, NullToInt(TblFelvetel->value(QStringLiteral("vk")), 0),
                                   NullToInt(TblFelvetel->value(QStringLiteral("felvetel")), 0));
        UpdateFreeTape();
    }
    DBGrid2->setFocus();
}

void Tfrm_Main::aKolcsonadExecute()
{
    if (TblVK->currentRow() < 0)
        return;
    if (TblVK->value(QStringLiteral("kolcsonadva")).toString() == QLatin1String("I")) {
        ShowError(QStringLiteral("Ez a tétel már kölcsön lett adva"), this);
        return;
    }
    QString name;
    if (!AskString(QStringLiteral("Kölcsönadás"), QStringLiteral("Kinek adod kölcsön"), name, false,
                   QChar(), this))
        return;
    TblVK->edit();
    TblVK->setValue(QStringLiteral("kolcsonadva"), QStringLiteral("I"));
    TblVK->setValue(QStringLiteral("kinek"), name);
    TblVK->setValue(QStringLiteral("dat_kolcs"), Today());
    catalogue::PostOrCancel(*TblVK);
}

void Tfrm_Main::aVisszakapExecute()
{
    if (TblVK->currentRow() < 0)
        return;
    if (TblVK->value(QStringLiteral("kolcsonadva")).toString() == QLatin1String("N")) {
        ShowError(QStringLiteral("Ez a tétel még nincs kölcsönadva"), this);
        return;
    }
    if (!AskYesNo(QStringLiteral("Valóban visszaveszed a tételt?"), QStringLiteral("Megerősítés"),
                  this))
        return;
    TblVK->edit();
    TblVK->setValue(QStringLiteral("kolcsonadva"), QStringLiteral("N"));
    TblVK->setValue(QStringLiteral("kinek"), QVariant());
    TblVK->setValue(QStringLiteral("dat_kolcs"), QVariant());
    catalogue::PostOrCancel(*TblVK);
}

void Tfrm_Main::aTipusExecute()
{
    OpenTypeList(Db1, -1, false, this);
}
void Tfrm_Main::aMufajExecute()
{
    OpenGenreList(Db1, -1, false, this);
}
void Tfrm_Main::aMinosegExecute()
{
    OpenQualityList(Db1, -1, false, this);
}

void Tfrm_Main::aKeszitoExecute()
{
    QString unused;
    OpenPerformerList(Db1, -1, false, unused, this);
}
