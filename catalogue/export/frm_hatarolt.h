#pragma once

#include "catalogue/export/delimitedwriter.h"

#include <QDialog>

class DataSet;
class QButtonGroup;
class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QProgressBar;
class QPushButton;
class QToolButton;

// "Határolt szöveg export": fields, separator, quote and file of a delimited
// text export; the export runs inside the dialog and can be stopped.
class Tfrm_Hatarolt : public QDialog
{
    Q_OBJECT
public:
    Tfrm_Hatarolt(DataSet& dataSet, const QString& proposedFileName, QWidget* parent = nullptr);

    QListWidget* CheckListBox1;
    QPushButton* btnOsszes;
    QPushButton* btnEgyikSem;
    QGroupBox* RadioGroup1; // separator
    QGroupBox* RadioGroup2; // text quote
    QCheckBox* CheckBox1;   // memos on one line
    QCheckBox* CheckBox2;   // original field names
    QLabel* Label1;
    QLineEdit* Edit1;
    QToolButton* SpeedButton1;
    QLabel* Image1;
    QPushButton* BitBtn1; // "Export indítás"
    QPushButton* BitBtn2; // "Megállít"
    QPushButton* BitBtn3; // "Bezár"
    QProgressBar* ProgressBar1;

    int separatorIndex() const;
    void setSeparatorIndex(int item);
    int quoteIndex() const;
    void setQuoteIndex(int item);
    bool isRunning() const { return running_; }
    // The options the controls stand for.
    DelimitedOptions options() const;

    void BitBtn1Click();
    void BitBtn2Click();
    void SpeedButton1Click();
    void CheckAll(bool checked);

public Q_SLOTS:
    void reject() override;

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void setBusy(bool busy);

    DataSet& dataSet_;
    QButtonGroup* separators_;
    QButtonGroup* quotes_;
    bool running_ = false; // an export may go on
    bool busy_ = false;    // an export is under way
};
