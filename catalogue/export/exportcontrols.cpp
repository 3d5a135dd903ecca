#include "catalogue/export/exportcontrols.h"

#include <QDir>
#include <QFileDialog>
#include <QLineEdit>
#include <QProgressBar>
#include <QStyle>
#include <QToolButton>

QToolButton* NewBrowseButton(QWidget* parent)
{
    auto* button = new QToolButton(parent);
    button->setObjectName(QStringLiteral("SpeedButton1"));
    button->setIcon(parent->style()->standardIcon(QStyle::SP_DialogOpenButton));
    button->setAccessibleName(QStringLiteral("Tallózás"));
    button->setToolTip(QStringLiteral("Tallózás"));
    return button;
}

QProgressBar* NewExportProgressBar(QWidget* parent)
{
    auto* bar = new QProgressBar(parent);
    bar->setObjectName(QStringLiteral("ProgressBar1"));
    bar->setRange(0, 1);
    bar->setValue(0);
    bar->setTextVisible(false);
    bar->setAccessibleName(QStringLiteral("Haladás"));
    return bar;
}

void BrowseForSaveFile(QLineEdit* edit, const QString& filter, const QString& defaultSuffix)
{
    QFileDialog dialog(edit->window(), QString(), edit->text(), filter);
    dialog.setObjectName(QStringLiteral("SaveDialog1"));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setDefaultSuffix(defaultSuffix);
    dialog.setOption(QFileDialog::DontConfirmOverwrite);
    if (dialog.exec() == QDialog::Accepted && !dialog.selectedFiles().isEmpty())
        edit->setText(QDir::toNativeSeparators(dialog.selectedFiles().constFirst()));
}
