#include "catalogue/export/frm_hatarolt.h"

#include "catalogue/data/dataset.h"
#include "catalogue/editors/formhelpers.h"
#include "catalogue/export/exportcontrols.h"
#include "common/errors.h"
#include "common/messages.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QToolButton>
#include <QVBoxLayout>

namespace {

QGroupBox* radioGroup(QWidget* parent, const char* name, const QString& caption,
                      const QStringList& items, QButtonGroup*& group)
{
    auto* box = new QGroupBox(caption, parent);
    box->setObjectName(QLatin1String(name));
    group = new QButtonGroup(box);
    auto* layout = new QVBoxLayout(box);
    for (int i = 0; i < items.size(); ++i) {
        auto* button = new QRadioButton(items.at(i), box);
        button->setObjectName(QStringLiteral("%1_%2").arg(QLatin1String(name)).arg(i));
        group->addButton(button, i);
        layout->addWidget(button);
    }
    layout->addStretch();
    return box;
}

} // namespace

Tfrm_Hatarolt::Tfrm_Hatarolt(DataSet& dataSet, const QString& proposedFileName, QWidget* parent)
    : QDialog(parent), dataSet_(dataSet)
{
    setObjectName(QStringLiteral("frm_Hatarolt"));
    setWindowTitle(QStringLiteral("Határolt szöveg export"));
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);

    CheckListBox1 = new QListWidget(this);
    CheckListBox1->setObjectName(QStringLiteral("CheckListBox1"));
    CheckListBox1->setAccessibleName(QStringLiteral("Mezők"));
    CheckListBox1->setMinimumWidth(170);
    for (const Field& field : dataSet.fields()) {
        auto* item = new QListWidgetItem(field.name, CheckListBox1);
        item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsUserCheckable | Qt::ItemIsSelectable);
        item->setCheckState(Qt::Checked);
    }

    btnOsszes = new QPushButton(QStringLiteral("összes"), this);
    btnOsszes->setObjectName(QStringLiteral("btnOsszes"));
    btnOsszes->setAutoDefault(false);
    btnEgyikSem = new QPushButton(QStringLiteral("egyik sem"), this);
    btnEgyikSem->setObjectName(QStringLiteral("btnEgyikSem"));
    btnEgyikSem->setAutoDefault(false);

    RadioGroup1 = radioGroup(this, "RadioGroup1", QStringLiteral("Határoló karakter"),
                             {QStringLiteral("Pontosvessző (;)"), QStringLiteral("Tabulátor"),
                              QStringLiteral("Vessző (,)"), QStringLiteral("Cső (|)")},
                             separators_);
    RadioGroup2 = radioGroup(
        this, "RadioGroup2", QStringLiteral("Szövegjelölő"),
        {QStringLiteral("Idézőjel (\")"), QStringLiteral("Aposztróf (')"), QStringLiteral("Semmi")},
        quotes_);
    setSeparatorIndex(0);
    setQuoteIndex(2);

    CheckBox1 = new QCheckBox(
        QStringLiteral("Többsoros mezőket is kiírja (egy sorba cső karakter választással)"), this);
    CheckBox1->setObjectName(QStringLiteral("CheckBox1"));
    CheckBox2 = new QCheckBox(
        QStringLiteral("Eredeti mezőneveket használja (nem a megjelenített neveket)"), this);
    CheckBox2->setObjectName(QStringLiteral("CheckBox2"));

    Label1 = new QLabel(QStringLiteral("Filenév"), this);
    Label1->setObjectName(QStringLiteral("Label1"));
    Edit1 = new QLineEdit(proposedFileName, this);
    Edit1->setObjectName(QStringLiteral("Edit1"));
    Label1->setBuddy(Edit1);
    ColourOnFocus(Edit1);
    SpeedButton1 = NewBrowseButton(this);

    Image1 = new QLabel(this);
    Image1->setObjectName(QStringLiteral("Image1"));
    Image1->setPixmap(QIcon(QStringLiteral(":/icons/aExcelbe")).pixmap(32, 32));

    BitBtn1 = new QPushButton(QStringLiteral("Export indítás"), this);
    BitBtn1->setObjectName(QStringLiteral("BitBtn1"));
    BitBtn1->setDefault(true);
    BitBtn2 = new QPushButton(QStringLiteral("Megállít"), this);
    BitBtn2->setObjectName(QStringLiteral("BitBtn2"));
    BitBtn2->setAutoDefault(false);
    BitBtn2->setEnabled(false);
    BitBtn3 = new QPushButton(QStringLiteral("Bezár"), this);
    BitBtn3->setObjectName(QStringLiteral("BitBtn3"));
    BitBtn3->setAutoDefault(false);

    ProgressBar1 = NewExportProgressBar(this);

    auto* checkButtons = new QHBoxLayout;
    checkButtons->addWidget(btnOsszes);
    checkButtons->addWidget(btnEgyikSem);
    checkButtons->addStretch();
    auto* groups = new QHBoxLayout;
    groups->addWidget(RadioGroup1);
    groups->addWidget(RadioGroup2);
    auto* file = new QHBoxLayout;
    file->addWidget(Label1);
    file->addWidget(Edit1, 1);
    file->addWidget(SpeedButton1);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(Image1);
    buttons->addStretch();
    buttons->addWidget(BitBtn1);
    buttons->addWidget(BitBtn2);
    buttons->addWidget(BitBtn3);
    auto* right = new QVBoxLayout;
    right->addLayout(checkButtons);
    right->addLayout(groups);
    right->addWidget(CheckBox1);
    right->addWidget(CheckBox2);
    right->addStretch();
    right->addLayout(file);
    right->addLayout(buttons);
    auto* body = new QHBoxLayout;
    body->addWidget(CheckListBox1);
    body->addLayout(right, 1);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(body);
    layout->addWidget(ProgressBar1);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    connect(btnOsszes, &QPushButton::clicked, this, [this] { CheckAll(true); });
    connect(btnEgyikSem, &QPushButton::clicked, this, [this] { CheckAll(false); });
    connect(SpeedButton1, &QToolButton::clicked, this, &Tfrm_Hatarolt::SpeedButton1Click);
    connect(BitBtn1, &QPushButton::clicked, this, &Tfrm_Hatarolt::BitBtn1Click);
    connect(BitBtn2, &QPushButton::clicked, this, &Tfrm_Hatarolt::BitBtn2Click);
    connect(BitBtn3, &QPushButton::clicked, this, &Tfrm_Hatarolt::reject);

    SetupDialog(this, QStringLiteral("frm_Hatarolt"), false, false);
}

int Tfrm_Hatarolt::separatorIndex() const
{
    return separators_->checkedId();
}
void Tfrm_Hatarolt::setSeparatorIndex(int item)
{
    separators_->button(item)->setChecked(true);
}
int Tfrm_Hatarolt::quoteIndex() const
{
    return quotes_->checkedId();
}
void Tfrm_Hatarolt::setQuoteIndex(int item)
{
    quotes_->button(item)->setChecked(true);
}

DelimitedOptions Tfrm_Hatarolt::options() const
{
    DelimitedOptions o;
    // The list holds the data set's fields in its order, one item each.
    for (int i = 0; i < CheckListBox1->count(); ++i)
        if (CheckListBox1->item(i)->checkState() == Qt::Checked)
            o.fields << i;
    o.separator = DelimitedSeparator(separatorIndex());
    o.quote = DelimitedQuote(quoteIndex());
    o.multiLine = CheckBox1->isChecked();
    o.originalNames = CheckBox2->isChecked();
    return o;
}

void Tfrm_Hatarolt::CheckAll(bool checked)
{
    for (int i = 0; i < CheckListBox1->count(); ++i)
        CheckListBox1->item(i)->setCheckState(checked ? Qt::Checked : Qt::Unchecked);
}

void Tfrm_Hatarolt::setBusy(bool busy)
{
    busy_ = busy;
    BitBtn2->setEnabled(busy);
    // One export at a time, and the dialog stays until it has ended.
    BitBtn1->setEnabled(!busy);
    BitBtn3->setEnabled(!busy);
}

void Tfrm_Hatarolt::BitBtn1Click()
{
    if (busy_)
        return;
    const QString fileName = Edit1->text();
    if (fileName.trimmed().isEmpty()) {
        ShowError(QStringLiteral("Nincs filenév megadva."), this);
        Edit1->setFocus();
        return;
    }
    const DelimitedOptions opts = options();
    setBusy(true);
    running_ = true;
    try {
        ProgressBar1->setRange(0, std::max(1, dataSet_.recordCount()));
        ProgressBar1->setValue(0);
        QElapsedTimer sinceInput;
        sinceInput.start();
        const DelimitedResult result =
            WriteDelimitedFile(dataSet_, opts, fileName, [this, &sinceInput](int row) {
                // Input every few milliseconds answers a hand on "Megállít" as
                // well as input after every row, which would cost more than
                // the writing itself over a hundred thousand rows.
                if (sinceInput.elapsed() >= 10) {
                    QCoreApplication::processEvents();
                    sinceInput.restart();
                }
                if (!running_)
                    return false;
                ProgressBar1->setValue(row + 1);
                return true;
            });
        // Grids bound to the data set show where the export got to: the last
        // row, or the row it was stopped at.
        if (dataSet_.state() == DataSet::State::Browse && dataSet_.hasRow(0))
            dataSet_.moveTo(result.stopped ? result.rows : result.rows - 1);
        ProgressBar1->setValue(0);
        running_ = false;
        setBusy(false);
        ShowInfo(fileName + QStringLiteral(" file kész."), this);
    } catch (const std::exception& e) {
        running_ = false;
        setBusy(false);
        ShowError(QStringLiteral("Hiba: ") + ExceptionMessage(e), this);
    }
}

void Tfrm_Hatarolt::BitBtn2Click()
{
    running_ = false;
}

void Tfrm_Hatarolt::SpeedButton1Click()
{
    BrowseForSaveFile(Edit1, QStringLiteral("CSV állományok (*.csv);;Text állományok (*.txt);;Minden állomány (*)"),
                      QStringLiteral("csv"));
}

void Tfrm_Hatarolt::reject()
{
    if (busy_)
        return;
    QDialog::reject();
}

void Tfrm_Hatarolt::closeEvent(QCloseEvent* event)
{
    if (busy_) {
        event->ignore();
        return;
    }
    QDialog::closeEvent(event);
}
