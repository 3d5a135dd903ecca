#include "catalogue/editors/recordeditors.h"

#include "catalogue/data/table.h"
#include "catalogue/editors/frm_felvetel.h"
#include "catalogue/editors/frm_kazetta.h"
#include "catalogue/editors/masterdata.h"
#include "catalogue/editors/recordeditors_logic.h"
#include "common/messages.h"
#include "common/values.h"

#include <exception>

namespace {

// Whatever went wrong, the row must not stay half edited in the main table.
void cancelRow(Table& table) noexcept
{
    try {
        if (table.isActive())
            table.cancel();
    } catch (...) {
    }
}

void showFailure(Table& table, const std::exception& e, QWidget* parent)
{
    cancelRow(table);
    ShowError(QString::fromUtf8(e.what()), parent);
}

} // namespace

bool EditCassette(Table& tblVK, bool isNew, QWidget* parent)
{
    try {
        if (isNew || tblVK.isEmpty())
            catalogue::StartNewCassette(tblVK);
        else
            tblVK.edit();
        Tfrm_Kazetta form(parent);
        form.ReadRow(tblVK, catalogue::MasterNames(tblVK.database(), QStringLiteral("tipus")));
        if (form.exec() != QDialog::Accepted) {
            tblVK.cancel();
            return false;
        }
        catalogue::PostCassette(tblVK, form.Input());
        return true;
    } catch (const std::exception& e) {
        showFailure(tblVK, e, parent);
        return false;
    }
}

bool EditRecording(Table& tblVK, Table& tblFelvetel, bool isNew, QWidget* parent)
{
    try {
        const QVariant cassette = tblVK.value(QStringLiteral("vk"));
        if (cassette.isNull()) {
            ShowError(QStringLiteral("Kazetta azonosító hiányzik"), parent);
            return false;
        }
        if (isNew || tblFelvetel.value(QStringLiteral("felvetel")).isNull())
            catalogue::StartNewRecording(tblFelvetel, NullToInt(cassette, 0));
        else
            tblFelvetel.edit();
        Database& db = tblFelvetel.database();
        Tfrm_Felvetel form(parent);
        form.ReadRow(tblFelvetel, catalogue::MasterNames(db, QStringLiteral("minoseg")),
                     catalogue::MasterNames(db, QStringLiteral("mufaj")),
                     catalogue::DirectorNames(db));
        form.PickPerformer = [&db, &form] {
            QString name;
            OpenPerformerList(db, -1, true, name, &form);
            return name;
        };
        if (form.exec() != QDialog::Accepted) {
            tblFelvetel.cancel();
            return false;
        }
        catalogue::PostRecording(tblFelvetel, form.Input());
        return true;
    } catch (const std::exception& e) {
        showFailure(tblFelvetel, e, parent);
        return false;
    }
}
