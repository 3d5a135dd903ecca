#pragma once

#include <QDialog>

class Database;
class DataSetModel;
class QAction;
class QLabel;
class QLineEdit;
class QMenu;
class QStatusBar;
class QToolBar;
class Table;
class TThemeDBGrid;

// The list of one master-data table (types, genres, qualities or performers)
// by name, with quick search; adds, changes and deletes entries through the
// item editor. In pick mode "Elfogad" (Enter, or a double click) closes it
// with the current entry accepted.
class Tfrm_Torzs : public QDialog
{
    Q_OBJECT
public:
    explicit Tfrm_Torzs(Database& db, QWidget* parent = nullptr);
    ~Tfrm_Torzs() override;

    void setPickMode(bool pick);
    bool pickMode() const { return pick_; }
    // The window caption and the panel's heading.
    void setTitle(const QString& title);
    // Opens the table ordered by name, with the entry whose key is `preselect`
    // current; the first entry when there is none. Throws DbError.
    void openTable(const QString& tableName, int preselect);

    Table* Tbl = nullptr;
    QToolBar* ToolBar1 = nullptr;
    QWidget* Panel1 = nullptr;
    QLabel* Panel1Caption = nullptr;
    QLineEdit* Edit1 = nullptr;
    TThemeDBGrid* DBGrid1 = nullptr;
    QStatusBar* StatusBar1 = nullptr;
    QMenu* PopupMenu1 = nullptr;

    QAction* aUj = nullptr;
    QAction* aSzerkeszt = nullptr;
    QAction* aTorol = nullptr;
    QAction* aKeres = nullptr;
    QAction* aElfogad = nullptr;
    QAction* aBezar = nullptr;

protected:
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void createActions();
    void createLayout();

    void aUjExecute();
    void aSzerkesztExecute();
    void aTorolExecute();
    void aKeresExecute();
    void aElfogadExecute();
    void DBGrid1DblClick();
    // Runs the item editor on the row in insert or edit state; cancels it
    // unless the editor posted it.
    void runEditor();
    void fitColumn();
    void typeIntoSearch(const QString& typed);

    DataSetModel* model_ = nullptr;
    bool pick_ = false;
    bool selectOnRelease_ = false;
};
