#include "catalogue/editors/frm_kazetta.h"

#include "catalogue/data/dataset.h"
#include "catalogue/editors/editorcontrols.h"
#include "catalogue/editors/formhelpers.h"
#include "common/values.h"

#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>

Tfrm_Kazetta::Tfrm_Kazetta(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("frm_Kazetta"));
    setWindowTitle(QStringLiteral("Kazetta adatai"));

    Image1 = new QLabel(this);
    Image1->setObjectName(QStringLiteral("Image1"));
    Image1->setFixedSize(128, 128);
    Image1->setAlignment(Qt::AlignCenter);
    Image1->setPixmap(QPixmap(QStringLiteral(":/icons/cassette")));

    DBEdit1 = NewDisplayEdit(this);
    DBEdit1->setObjectName(QStringLiteral("DBEdit1"));
    DBEdit4 = NewDisplayEdit(this);
    DBEdit4->setObjectName(QStringLiteral("DBEdit4"));
    DBEdit3 = NewIntegerEdit(this);
    DBEdit3->setObjectName(QStringLiteral("DBEdit3"));
    ComboBox1 = new QComboBox(this);
    ComboBox1->setObjectName(QStringLiteral("ComboBox1"));
    ComboBox1->setEditable(true);
    ComboBox1->setInsertPolicy(QComboBox::NoInsert);
    DBMemo1 = NewMemo(this);
    DBMemo1->setObjectName(QStringLiteral("DBMemo1"));
    QHBoxLayout* buttons = NewOkCancelRow(this, Button1, Button2);

    auto* fields = new QGridLayout;
    fields->addWidget(NewLabel(QStringLiteral("sorszám"), DBEdit1, this), 0, 0);
    fields->addWidget(DBEdit1, 0, 1);
    fields->addWidget(NewLabel(QStringLiteral("szabad hely"), DBEdit4, this), 1, 0);
    fields->addWidget(DBEdit4, 1, 1);
    fields->addWidget(NewLabel(QStringLiteral("hossz"), DBEdit3, this), 2, 0);
    fields->addWidget(DBEdit3, 2, 1);
    fields->addWidget(NewLabel(QStringLiteral("típus"), ComboBox1, this), 3, 0);
    fields->addWidget(ComboBox1, 3, 1);
    fields->setRowStretch(4, 1);

    auto* top = new QHBoxLayout;
    top->addWidget(Image1, 0, Qt::AlignTop);
    top->addLayout(fields, 1);


    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(NewLabel(QStringLiteral("megjegyzés"), DBMemo1, this));
    layout->addWidget(DBMemo1);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    DBMemo1->setFixedSize(360, 90);
    ComboBox1->setMinimumWidth(180);

    setTabOrder(DBEdit3, ComboBox1);
    setTabOrder(ComboBox1, DBMemo1);
    setTabOrder(DBMemo1, Button1);
    setTabOrder(Button1, Button2);

    connect(Button1, &QPushButton::clicked, this, &QDialog::accept);
    connect(Button2, &QPushButton::clicked, this, &QDialog::reject);
    for (QWidget* w : QList<QWidget*>{DBEdit3, ComboBox1, DBMemo1})
        ColourOnFocus(w);
    SetupDialog(this, QStringLiteral("frm_Kazetta"), false, true);
    DBEdit3->setFocus();
}

void Tfrm_Kazetta::ReadRow(const DataSet& row, const QStringList& typeNames)
{
    DBEdit1->setText(row.displayText(QStringLiteral("vk")));
    DBEdit4->setText(row.displayText(QStringLiteral("szabad")));
    DBEdit3->setText(NullToStr(row.value(QStringLiteral("hossz")), QString()));
    DBMemo1->setPlainText(NullToStr(row.value(QStringLiteral("megjegyzes")), QString()));
    ComboBox1->clear();
    ComboBox1->addItems(typeNames);
    ComboBox1->setCurrentIndex(-1);
    ComboBox1->setEditText(NullToStr(row.value(QStringLiteral("tipus_nev")), QString()));
}

catalogue::CassetteInput Tfrm_Kazetta::Input() const
{
    return {catalogue::IntegerFromText(DBEdit3->text()), DBMemo1->toPlainText(),
            ComboBox1->currentText()};
}
