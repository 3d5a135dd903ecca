#pragma once

#include "catalogue/export/htmlpage.h"

#include <QDialog>

class QCheckBox;
class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;
class QTableView;
class QToolButton;
class TThemeDBGrid;

// The columns a grid shows, in the order it shows them, as the page's columns:
// hidden columns and columns without a field are left out; the width is the
// share of the whole grid control's width.
QList<HtmlColumn> GridColumns(const QTableView* grid);

// "HTML export": where the page of a grid goes, whether it is opened after
// saving, and mailing it.
class Tfrm_Roza2Veze : public QDialog
{
    Q_OBJECT
public:
    Tfrm_Roza2Veze(TThemeDBGrid* grid, const QString& title, const QString& subtitle,
                   const QString& groupField, QWidget* parent = nullptr);

    QLabel* Label1;
    QLineEdit* Edit1;
    QToolButton* SpeedButton1;
    QCheckBox* CheckBox1; // "Mentés után megnyitás"
    QPushButton* BitBtn3; // "E-Mail"
    QPushButton* BitBtn1; // "OK"
    QPushButton* BitBtn2; // "Mégsem"
    QProgressBar* ProgressBar1;

    // Writes the page to the path in the edit box and opens it when the box is
    // ticked; a failure is shown and false returned.
    bool WritePage();
    void BitBtn1Click();
    void BitBtn3Click();
    void SpeedButton1Click();

public Q_SLOTS:
    void reject() override;

private:
    void setBusy(bool busy);

    TThemeDBGrid* grid_;
    QString title_;
    QString subtitle_;
    QString groupField_;
    bool busy_ = false;
};
