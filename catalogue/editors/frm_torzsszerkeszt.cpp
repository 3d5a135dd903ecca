#include "catalogue/editors/frm_torzsszerkeszt.h"

#include "catalogue/data/table.h"
#include "catalogue/editors/formhelpers.h"
#include "common/errors.h"
#include "common/messages.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace {

constexpr int NameLength = 25;

} // namespace

Tfrm_TorzsSzerkeszt::Tfrm_TorzsSzerkeszt(Table& tbl, QWidget* parent) : QDialog(parent), tbl_(tbl)
{
    setObjectName(QStringLiteral("frm_TorzsSzerkeszt"));
    setWindowTitle(QStringLiteral("Törzsadat szerkesztése"));
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);

    Label1 = new QLabel(QStringLiteral("megnevezés"), this);
    Label1->setObjectName(QStringLiteral("Label1"));
    DBEdit2 = new QLineEdit(this);
    DBEdit2->setObjectName(QStringLiteral("DBEdit2"));
    DBEdit2->setMaxLength(NameLength);
    DBEdit2->setMinimumWidth(220);
    Label1->setBuddy(DBEdit2);
    ColourOnFocus(DBEdit2);

    btnOK = new QPushButton(QStringLiteral("OK"), this);
    btnOK->setObjectName(QStringLiteral("btnOK"));
    btnMegsem = new QPushButton(QStringLiteral("Mégsem"), this);
    btnMegsem->setObjectName(QStringLiteral("btnMegsem"));
    // Enter moves between the controls; only a focused button takes it.
    btnOK->setAutoDefault(false);
    btnMegsem->setAutoDefault(false);

    auto* grid = new QGridLayout(this);
    grid->addWidget(Label1, 0, 0);
    grid->addWidget(DBEdit2, 1, 0);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(btnOK);
    buttons->addWidget(btnMegsem);
    grid->addLayout(buttons, 2, 0);
    grid->setSizeConstraint(QLayout::SetFixedSize);

    setTabOrder(DBEdit2, btnOK);
    setTabOrder(btnOK, btnMegsem);
    DBEdit2->setFocus();

    DBEdit2->setText(tbl_.value(QStringLiteral("nev")).toString());

    connect(btnOK, &QPushButton::clicked, this, &Tfrm_TorzsSzerkeszt::btnOKClick);
    connect(btnMegsem, &QPushButton::clicked, this, &QDialog::reject);

    SetupDialog(this, QStringLiteral("frm_TorzsSzerkeszt"), false, true);
}

void Tfrm_TorzsSzerkeszt::btnOKClick()
{
    try {
        tbl_.setValue(QStringLiteral("nev"), DBEdit2->text());
        tbl_.post();
    } catch (const std::exception& e) {
        // The row stays in editing, so the name can be corrected or the editing cancelled.
        ShowError(QStringLiteral("Hiányos, vagy hibás adatmegadás\r\n") + ExceptionMessage(e), this);
        return;
    }
    accept();
}
