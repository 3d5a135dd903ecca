#pragma once

#include "catalogue/editors/recordeditors_logic.h"

#include <QDialog>
#include <functional>

class DataSet;
class QComboBox;
class QDateEdit;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QTabWidget;
class QTimeEdit;
class QToolButton;

// The recording editor's window, "Felvételek szerkesztése". It shows a
// recording row and hands back what the user typed; EditRecording decides what
// becomes of the row.
class Tfrm_Felvetel : public QDialog
{
    Q_OBJECT
public:
    explicit Tfrm_Felvetel(QWidget* parent = nullptr);

    // Shows the row's fields and fills the three lists.
    void ReadRow(const DataSet& row, const QStringList& qualities, const QStringList& genres,
                 const QStringList& directors);
    // What the controls hold now. An empty date that the user left alone stays empty.
    catalogue::RecordingInput Input() const;

    // Asks for a performer's name; empty text when none was chosen. The
    // performer list in pick mode, unless a test puts its own in.
    std::function<QString()> PickPerformer;

    void BitBtn5Click(); // length from the counter positions
    void BitBtn3Click(); // add a performer
    void BitBtn4Click(); // clear the performers

    QTabWidget* PageControl1;
    QLineEdit* DBEdit1;         // felvetel, shown only
    QLineEdit* DBEdit2;         // cim
    QTimeEdit* DateTimePicker1; // szamlalo_tol
    QTimeEdit* DateTimePicker2; // szamlalo_ig
    QToolButton* BitBtn5;
    QLineEdit* DBEdit4;         // hossz
    QComboBox* ComboBox1;       // the quality's name
    QComboBox* ComboBox2;       // the genre's name
    QComboBox* DBComboBox1;     // rendezte
    QLineEdit* DBEdit9;         // szereplok
    QDateEdit* DateTimePicker3; // datum
    QToolButton* BitBtn3;
    QToolButton* BitBtn4;
    QPlainTextEdit* DBMemo1; // megjegyzes
    QPushButton* Button1;    // OK
    QPushButton* Button2;    // Mégsem

private:
    bool emptyDate_ = false;
    bool dateTouched_ = false;
};
