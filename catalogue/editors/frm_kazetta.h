#pragma once

#include "catalogue/editors/recordeditors_logic.h"

#include <QDialog>

class DataSet;
class QComboBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;

// The cassette editor's window, "Kazetta adatai". It shows a cassette row and
// hands back what the user typed; EditCassette decides what becomes of the row.
class Tfrm_Kazetta : public QDialog
{
    Q_OBJECT
public:
    explicit Tfrm_Kazetta(QWidget* parent = nullptr);

    // Shows the row's fields and offers the type names in the type list.
    void ReadRow(const DataSet& row, const QStringList& typeNames);
    // What the controls hold now.
    catalogue::CassetteInput Input() const;

    QLineEdit* DBEdit1;      // vk, shown only
    QLineEdit* DBEdit4;      // szabad, shown only
    QLineEdit* DBEdit3;      // hossz
    QComboBox* ComboBox1;    // the type's name
    QPlainTextEdit* DBMemo1; // megjegyzes
    QPushButton* Button1;    // OK
    QPushButton* Button2;    // Mégsem
    QLabel* Image1;
};
