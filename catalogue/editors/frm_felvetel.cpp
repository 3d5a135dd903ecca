#include "catalogue/editors/frm_felvetel.h"

#include "catalogue/data/dataset.h"
#include "catalogue/editors/editorcontrols.h"
#include "catalogue/editors/formhelpers.h"
#include "common/clock.h"
#include "common/values.h"

#include <QComboBox>
#include <QDateEdit>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSignalBlocker>
#include <QTabWidget>
#include <QTimeEdit>
#include <QToolButton>

namespace {

QComboBox* newNameCombo(QWidget* parent, const char* name)
{
    auto* combo = new QComboBox(parent);
    combo->setObjectName(QLatin1String(name));
    combo->setEditable(true);
    combo->setInsertPolicy(QComboBox::NoInsert);
    combo->setMinimumWidth(150);
    return combo;
}

QTimeEdit* newCounterPicker(QWidget* parent, const char* name)
{
    auto* picker = new QTimeEdit(parent);
    picker->setObjectName(QLatin1String(name));
    picker->setDisplayFormat(QStringLiteral("HH:mm"));
    return picker;
}

QToolButton* newPictureButton(QWidget* parent, const char* name, const char* icon,
                              const QString& what)
{
    auto* button = new QToolButton(parent);
    button->setObjectName(QLatin1String(name));
    button->setIcon(QIcon(QLatin1String(icon)));
    button->setToolTip(what);
    button->setAccessibleName(what);
    return button;
}

void setCombo(QComboBox* combo, const QStringList& items, const QString& text)
{
    combo->clear();
    combo->addItems(items);
    combo->setCurrentIndex(-1);
    combo->setEditText(text);
}

QTime counterPosition(const QVariant& value)
{
    const QTime t = value.toTime();
    return t.isValid() ? t : QTime(0, 0);
}

} // namespace

Tfrm_Felvetel::Tfrm_Felvetel(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("frm_Felvetel"));
    setWindowTitle(QStringLiteral("Felvételek szerkesztése"));

    auto* page1 = new QWidget;
    DBEdit1 = NewDisplayEdit(page1);
    DBEdit1->setObjectName(QStringLiteral("DBEdit1"));
    DBEdit1->setMaximumWidth(80);
    DBEdit2 = new QLineEdit(page1);
    DBEdit2->setObjectName(QStringLiteral("DBEdit2"));
    DBEdit2->setMaxLength(50);
    DateTimePicker1 = newCounterPicker(page1, "DateTimePicker1");
    DateTimePicker2 = newCounterPicker(page1, "DateTimePicker2");
    BitBtn5 = newPictureButton(page1, "BitBtn5", ":/icons/aKolcsonad",
                               QStringLiteral("Hossz a kezdettől a végéig (percben)"));
    DBEdit4 = NewIntegerEdit(page1);
    DBEdit4->setObjectName(QStringLiteral("DBEdit4"));
    DBEdit4->setMaximumWidth(70);
    ComboBox1 = newNameCombo(page1, "ComboBox1");
    ComboBox2 = newNameCombo(page1, "ComboBox2");
    DBComboBox1 = newNameCombo(page1, "DBComboBox1");
    DBComboBox1->lineEdit()->setMaxLength(50);
    DBEdit9 = new QLineEdit(page1);
    DBEdit9->setObjectName(QStringLiteral("DBEdit9"));
    DBEdit9->setMaxLength(255);
    BitBtn3 = newPictureButton(page1, "BitBtn3", ":/icons/aUj",
                               QStringLiteral("Szereplő választása a listából"));
    BitBtn4 =
        newPictureButton(page1, "BitBtn4", ":/icons/aTorol", QStringLiteral("Szereplők törlése"));
    for (QToolButton* b : {BitBtn3, BitBtn4})
        b->setFocusPolicy(Qt::NoFocus);
    DateTimePicker3 = new QDateEdit(page1);
    DateTimePicker3->setObjectName(QStringLiteral("DateTimePicker3"));
    DateTimePicker3->setDisplayFormat(QStringLiteral("yyyy.MM.dd"));

    auto* counters = new QHBoxLayout;
    counters->addWidget(DateTimePicker1);
    counters->addWidget(NewLabel(QStringLiteral("vége"), DateTimePicker2, page1));
    counters->addWidget(DateTimePicker2);
    counters->addWidget(BitBtn5);
    counters->addWidget(NewLabel(QStringLiteral("hossz"), DBEdit4, page1));
    counters->addWidget(DBEdit4);
    counters->addStretch(1);
    auto* kinds = new QHBoxLayout;
    kinds->addWidget(ComboBox1, 1);
    kinds->addWidget(NewLabel(QStringLiteral("műfaj"), ComboBox2, page1));
    kinds->addWidget(ComboBox2, 1);
    auto* performers = new QHBoxLayout;
    performers->addWidget(DBEdit9, 1);
    performers->addWidget(BitBtn3);
    performers->addWidget(BitBtn4);
    auto* date = new QHBoxLayout;
    date->addWidget(DateTimePicker3);
    date->addStretch(1);

    auto* grid = new QGridLayout(page1);
    grid->addWidget(NewLabel(QStringLiteral("track"), DBEdit1, page1), 0, 0);
    grid->addWidget(DBEdit1, 0, 1, Qt::AlignLeft);
    grid->addWidget(NewLabel(QStringLiteral("cím"), DBEdit2, page1), 1, 0);
    grid->addWidget(DBEdit2, 1, 1);
    grid->addWidget(NewLabel(QStringLiteral("kezdete"), DateTimePicker1, page1), 2, 0);
    grid->addLayout(counters, 2, 1);
    grid->addWidget(NewLabel(QStringLiteral("minőség"), ComboBox1, page1), 3, 0);
    grid->addLayout(kinds, 3, 1);
    grid->addWidget(NewLabel(QStringLiteral("rendezte"), DBComboBox1, page1), 4, 0);
    grid->addWidget(DBComboBox1, 4, 1);
    grid->addWidget(NewLabel(QStringLiteral("szereplők"), DBEdit9, page1), 5, 0);
    grid->addLayout(performers, 5, 1);
    grid->addWidget(NewLabel(QStringLiteral("dátum"), DateTimePicker3, page1), 6, 0);
    grid->addLayout(date, 6, 1);
    grid->setRowStretch(7, 1);

    auto* page2 = new QWidget;
    DBMemo1 = NewMemo(page2);
    DBMemo1->setObjectName(QStringLiteral("DBMemo1"));
    auto* page2Layout = new QVBoxLayout(page2);
    page2Layout->addWidget(DBMemo1);

    PageControl1 = new QTabWidget(this);
    PageControl1->setObjectName(QStringLiteral("PageControl1"));
    PageControl1->addTab(page1, QIcon(QStringLiteral(":/icons/aFelvSzerkeszt")),
                         QStringLiteral("Felvétel adatai"));
    PageControl1->addTab(page2, QIcon(QStringLiteral(":/icons/aBongeszo")),
                         QStringLiteral("Megjegyzés"));

    QHBoxLayout* buttons = NewOkCancelRow(this, Button1, Button2);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(PageControl1);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    PageControl1->setFixedWidth(560);

    const QList<QWidget*> order{DBEdit2, DateTimePicker1, DateTimePicker2, BitBtn5,
                                DBEdit4, ComboBox1,       ComboBox2,       DBComboBox1,
                                DBEdit9, DateTimePicker3, Button1,         Button2};
    for (qsizetype i = 1; i < order.size(); ++i)
        setTabOrder(order.at(i - 1), order.at(i));
    const QList<QWidget*> coloured{DBEdit2,         DateTimePicker1, DateTimePicker2, DBEdit4,
                                   ComboBox1,       ComboBox2,       DBComboBox1,     DBEdit9,
                                   DateTimePicker3, DBMemo1};
    for (QWidget* w : coloured)
        ColourOnFocus(w);

    connect(BitBtn5, &QToolButton::clicked, this, &Tfrm_Felvetel::BitBtn5Click);
    connect(BitBtn3, &QToolButton::clicked, this, &Tfrm_Felvetel::BitBtn3Click);
    connect(BitBtn4, &QToolButton::clicked, this, &Tfrm_Felvetel::BitBtn4Click);
    connect(DateTimePicker3, &QDateEdit::dateChanged, this, [this] { dateTouched_ = true; });
    connect(Button1, &QPushButton::clicked, this, &QDialog::accept);
    connect(Button2, &QPushButton::clicked, this, &QDialog::reject);
    SetupDialog(this, QStringLiteral("frm_Felvetel"), false, true);
    DBEdit2->setFocus();
}

void Tfrm_Felvetel::ReadRow(const DataSet& row, const QStringList& qualities,
                            const QStringList& genres, const QStringList& directors)
{
    DBEdit1->setText(row.displayText(QStringLiteral("felvetel")));
    DBEdit2->setText(NullToStr(row.value(QStringLiteral("cim")), QString()));
    DBEdit4->setText(NullToStr(row.value(QStringLiteral("hossz")), QString()));
    DBEdit9->setText(NullToStr(row.value(QStringLiteral("szereplok")), QString()));
    DBMemo1->setPlainText(NullToStr(row.value(QStringLiteral("megjegyzes")), QString()));
    setCombo(ComboBox1, qualities, NullToStr(row.value(QStringLiteral("minoseg_nev")), QString()));
    setCombo(ComboBox2, genres, NullToStr(row.value(QStringLiteral("mufaj_nev")), QString()));
    setCombo(DBComboBox1, directors, NullToStr(row.value(QStringLiteral("rendezte")), QString()));
    DateTimePicker1->setTime(counterPosition(row.value(QStringLiteral("szamlalo_tol"))));
    DateTimePicker2->setTime(counterPosition(row.value(QStringLiteral("szamlalo_ig"))));
    // Rows of older data folders may have no date: today is shown, but only a
    // date the user sets is written.
    const QDate date = row.value(QStringLiteral("datum")).toDate();
    emptyDate_ = !date.isValid();
    {
        const QSignalBlocker quiet(DateTimePicker3);
        DateTimePicker3->setDate(emptyDate_ ? Today() : date);
    }
    dateTouched_ = false;
    PageControl1->setCurrentIndex(0);
}

catalogue::RecordingInput Tfrm_Felvetel::Input() const
{
    catalogue::RecordingInput in;
    in.cim = DBEdit2->text();
    in.hossz = catalogue::IntegerFromText(DBEdit4->text());
    in.start = DateTimePicker1->time();
    in.end = DateTimePicker2->time();
    if (!emptyDate_ || dateTouched_)
        in.datum = DateTimePicker3->date();
    in.quality = ComboBox1->currentText();
    in.genre = ComboBox2->currentText();
    in.rendezte = DBComboBox1->currentText();
    in.szereplok = DBEdit9->text();
    in.megjegyzes = DBMemo1->toPlainText();
    return in;
}

void Tfrm_Felvetel::BitBtn5Click()
{
    DBEdit4->setText(QString::number(
        catalogue::LengthBetween(DateTimePicker1->time(), DateTimePicker2->time())));
    DBEdit4->setFocus();
}

void Tfrm_Felvetel::BitBtn3Click()
{
    if (!PickPerformer)
        return;
    DBEdit9->setText(catalogue::AppendPerformer(DBEdit9->text(), PickPerformer()));
}

void Tfrm_Felvetel::BitBtn4Click()
{
    DBEdit9->clear();
}
