#pragma once

#include <QDialog>

class QLabel;
class QLineEdit;
class QPushButton;
class Table;

// The name of one master-data entry: the current row of the list window's
// table, which the caller has put into insert or edit state. OK posts the row
// and closes only when the post succeeds; any other close leaves the row for
// the caller to cancel.
class Tfrm_TorzsSzerkeszt : public QDialog
{
    Q_OBJECT
public:
    explicit Tfrm_TorzsSzerkeszt(Table& tbl, QWidget* parent = nullptr);

    QLabel* Label1 = nullptr;
    QLineEdit* DBEdit2 = nullptr;
    QPushButton* btnOK = nullptr;
    QPushButton* btnMegsem = nullptr;

private:
    void btnOKClick();

    Table& tbl_;
};
