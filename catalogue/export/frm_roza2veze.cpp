#include "catalogue/export/frm_roza2veze.h"

#include "catalogue/data/dataset.h"
#include "catalogue/data/datasetmodel.h"
#include "catalogue/editors/formhelpers.h"
#include "catalogue/export/exportcontrols.h"
#include "catalogue/export/mapimail.h"
#include "catalogue/main/opendocument.h"
#include "catalogue/main/settings.h"
#include "catalogue/main/themedbgrid.h"
#include "common/application.h"
#include "common/errors.h"
#include "common/text.h"

#include <QCheckBox>
#include <QCoreApplication>
#include <QDir>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QToolButton>
#include <QVBoxLayout>

namespace {

const DataSetModel* modelOf(const QTableView* grid)
{
    const auto* model = grid ? qobject_cast<const DataSetModel*>(grid->model()) : nullptr;
    if (!model || !model->dataSet())
        throw ZelmoError(QStringLiteral("A rács nem mutat adatokat."));
    return model;
}

} // namespace

QList<HtmlColumn> GridColumns(const QTableView* grid)
{
    const DataSetModel* model = modelOf(grid);
    const DataSet* dataSet = model->dataSet();
    const QHeaderView* header = grid->horizontalHeader();
    QList<HtmlColumn> columns;
    for (int visual = 0; visual < header->count(); ++visual) {
        const int logical = header->logicalIndex(visual);
        const int field = model->fieldOfColumn(logical);
        if (field < 0 || header->isSectionHidden(logical))
            continue;
        HtmlColumn c;
        c.field = field;
        c.caption = model->headerData(logical, Qt::Horizontal).toString();
        c.widthPercent = WidthPercent(grid->columnWidth(logical), grid->width());
        c.alignment = dataSet->field(field).alignment();
        columns << c;
    }
    return columns;
}

Tfrm_Roza2Veze::Tfrm_Roza2Veze(TThemeDBGrid* grid, const QString& title, const QString& subtitle,
                               const QString& groupField, QWidget* parent)
    : QDialog(parent), grid_(grid), title_(title), subtitle_(subtitle), groupField_(groupField)
{
    setObjectName(QStringLiteral("frm_Roza2Veze"));
    setWindowTitle(QStringLiteral("HTML export"));
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);

    Label1 = new QLabel(QStringLiteral("Mentés helye"), this);
    Label1->setObjectName(QStringLiteral("Label1"));
    const QString name = SafeFileName(title) + QStringLiteral(".htm");
    QString folder = TBeall.HtmlDir;
    if (!folder.isEmpty() && !folder.endsWith(QLatin1Char('/')))
        folder += QLatin1Char('/');
    Edit1 = new QLineEdit(QDir::toNativeSeparators(folder + name), this);
    Edit1->setObjectName(QStringLiteral("Edit1"));
    Edit1->setMinimumWidth(320);
    Label1->setBuddy(Edit1);
    ColourOnFocus(Edit1);
    SpeedButton1 = NewBrowseButton(this);

    CheckBox1 = new QCheckBox(QStringLiteral("Mentés után megnyitás"), this);
    CheckBox1->setObjectName(QStringLiteral("CheckBox1"));
    CheckBox1->setChecked(true);

    BitBtn3 = new QPushButton(QStringLiteral("E-Mail"), this);
    BitBtn3->setObjectName(QStringLiteral("BitBtn3"));
    BitBtn3->setAutoDefault(false);
    BitBtn1 = new QPushButton(QStringLiteral("OK"), this);
    BitBtn1->setObjectName(QStringLiteral("BitBtn1"));
    BitBtn1->setDefault(true);
    BitBtn2 = new QPushButton(QStringLiteral("Mégsem"), this);
    BitBtn2->setObjectName(QStringLiteral("BitBtn2"));
    BitBtn2->setAutoDefault(false);

    ProgressBar1 = NewExportProgressBar(this);

    auto* file = new QHBoxLayout;
    file->addWidget(Edit1, 1);
    file->addWidget(SpeedButton1);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(BitBtn3);
    buttons->addStretch();
    buttons->addWidget(BitBtn1);
    buttons->addWidget(BitBtn2);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(Label1);
    layout->addLayout(file);
    layout->addWidget(CheckBox1);
    layout->addLayout(buttons);
    layout->addWidget(ProgressBar1);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    connect(SpeedButton1, &QToolButton::clicked, this, &Tfrm_Roza2Veze::SpeedButton1Click);
    connect(BitBtn1, &QPushButton::clicked, this, &Tfrm_Roza2Veze::BitBtn1Click);
    connect(BitBtn2, &QPushButton::clicked, this, &Tfrm_Roza2Veze::reject);
    connect(BitBtn3, &QPushButton::clicked, this, &Tfrm_Roza2Veze::BitBtn3Click);

    SetupDialog(this, QStringLiteral("frm_Roza2Veze"), false, false);
}

void Tfrm_Roza2Veze::setBusy(bool busy)
{
    busy_ = busy;
    // The window answers input while the page is written, but one page at a time.
    BitBtn1->setEnabled(!busy);
    BitBtn2->setEnabled(!busy);
    BitBtn3->setEnabled(!busy);
}

bool Tfrm_Roza2Veze::WritePage()
{
    if (busy_)
        return false;
    const QString path = Edit1->text();
    setBusy(true);
    const bool written = RunGuarded(this, [&] {
        const QList<HtmlColumn> columns = GridColumns(grid_);
        DataSet& dataSet = *modelOf(grid_)->dataSet();
        ProgressBar1->setRange(0, std::max(1, dataSet.recordCount()));
        ProgressBar1->setValue(0);
        HtmlPageOptions options;
        options.title = title_;
        options.subtitle = subtitle_;
        options.groupField = groupField_;
        options.written = QDateTime::currentDateTime();
        WriteHtmlFile(path, dataSet, columns, options, [this](int count) {
            ProgressBar1->setValue(count);
            QCoreApplication::processEvents();
        });
        ProgressBar1->setValue(0);
    });
    setBusy(false);
    if (written && CheckBox1->isChecked())
        OpenDocument(path);
    return written;
}

void Tfrm_Roza2Veze::BitBtn1Click()
{
    if (WritePage())
        accept();
}

void Tfrm_Roza2Veze::BitBtn3Click()
{
    CheckBox1->setChecked(false);
    if (WritePage())
        SendMapiMail(QStringLiteral("Html küldés"), QStringLiteral("Html küldés"), Edit1->text());
}

void Tfrm_Roza2Veze::SpeedButton1Click()
{
    BrowseForSaveFile(Edit1, QStringLiteral("HTML dokumentum (*.htm *.html)"), QStringLiteral("htm"));
}

void Tfrm_Roza2Veze::reject()
{
    if (busy_)
        return;
    QDialog::reject();
}
