#pragma once

#include "catalogue/data/database.h"
#include "catalogue/data/query.h"
#include "catalogue/data/table.h"

#include <QMainWindow>

class DataSetModel;
class QAction;
class QLabel;
class QSplitter;
class QTableView;

// The catalogue's main window: it owns the connection and the two main tables
// for the whole run, and starts and ends the program.
class Tfrm_Main : public QMainWindow
{
    Q_OBJECT
public:
    explicit Tfrm_Main(QWidget* parent = nullptr);
    ~Tfrm_Main() override;

    // Settings file, settings, connection and the first opening of the tables.
    // False when the data folder cannot be opened: the program must end then,
    // and the settings file stays as it was.
    bool FormCreate();

    void LoadSettings();
    void SaveSettings();
    void ShowRecordCount();

    Database Db1;
    Table* TblVK = nullptr;
    Table* TblFelvetel = nullptr;
    Query* Qry = nullptr;
    QAction* aKilep = nullptr;

    QLabel* statusPanel(int index) const;

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    bool event(QEvent* event) override;

private:
    void FormShow();
    void FormClose();
    void ShowHintInStatusBar(const QString& hint);
    void TblVKAfterScroll();
    void buildWindow();
    void applyFontSize();

    QList<QLabel*> panels_;
    QSplitter* Splitter1 = nullptr;
    QTableView* DBGrid1 = nullptr;
    QTableView* DBGrid2 = nullptr;
    DataSetModel* vkModel_ = nullptr;
    DataSetModel* felvetelModel_ = nullptr;
    bool shown_ = false;
    bool closed_ = false;
};
