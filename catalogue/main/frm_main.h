#pragma once

#include "catalogue/data/database.h"
#include "catalogue/data/query.h"
#include "catalogue/data/table.h"

#include <QHash>
#include <QMainWindow>

class DataSetModel;
class QAction;
class QLabel;
class QLineEdit;
class QMenu;
class QModelIndex;
class QPainter;
class QStyleOptionViewItem;
class QPlainTextEdit;
class QSplitter;
class QToolBar;
class QWidget;
class TThemeDBGrid;

// The catalogue's main window: it owns the connection and the two main tables
// for the whole run, shows the cassettes and the current cassette's recordings,
// and holds every command of the program.
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
    // Moves both lists to a recording; a value not found leaves that list.
    void GoToRecording(const QVariant& cassette, const QVariant& track);
    // Stores the current cassette's free tape: its length less its recordings'.
    void UpdateFreeTape();

    QAction* action(const QString& name) const { return actions_.value(name); }
    QLabel* statusPanel(int index) const;

    Database Db1;
    Table* TblVK = nullptr;
    Table* TblFelvetel = nullptr;
    Query* Qry = nullptr;

    QSplitter* Splitter1 = nullptr;
    QWidget* pVK = nullptr;
    QWidget* pFelvetel = nullptr;
    QLineEdit* Edit1 = nullptr;
    QLineEdit* Edit2 = nullptr;
    TThemeDBGrid* DBGrid1 = nullptr;
    TThemeDBGrid* DBGrid2 = nullptr;
    QPlainTextEdit* DBMemo1 = nullptr;
    QPlainTextEdit* DBMemo2 = nullptr;
    QMenu* PopupMenu1 = nullptr;
    QMenu* PopupMenu2 = nullptr;

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    bool event(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void FormShow();
    void FormClose();
    void ShowHintInStatusBar(const QString& hint);
    void TblVKAfterScroll();

    // Building the window (frm_main_layout.cpp).
    void createActions();
    void createMenus();
    void createSplitter();
    QWidget* createCassettePanel();
    QWidget* createRecordingPanel();
    QToolBar* createToolBar(const QList<const char*>& entries, QSize buttonSize, bool captions);
    QWidget* createHeading(const QString& caption, int height, int fontPixels, QLineEdit* search);

    // The commands that change the catalogue (frm_main_operations.cpp).
    void connectOperations();
    void aUjExecute();
    void aSzerkesztExecute();
    void aTorolExecute();
    void aUjFelvExecute();
    void aFelvSzerkesztExecute();
    void aFelvTorolExecute();
    void aKolcsonadExecute();
    void aVisszakapExecute();
    void aTipusExecute();
    void aMufajExecute();
    void aMinosegExecute();
    void aKeszitoExecute();
    void aBongeszoExecute();
    void aExcelbeExecute();
    void aExcelbe2Execute();

    // The lists (frm_main_lists.cpp).
    void connectLists();
    void DBGrid1TitleClick(int column);
    void DBGrid2TitleClick(int column);
    bool sortList(TThemeDBGrid* grid, Table* table, DataSetModel* model, QLineEdit* search, int column);
    void typeIntoSearch(QLineEdit* edit, const QString& typed);
    void showCassetteDetails();
    void showRecordingDetails();
    void resizeColumns();
    void paintCassetteCell(QPainter* p, const QStyleOptionViewItem& option, const QModelIndex& index);
    void paintRecordingCell(QPainter* p, const QStyleOptionViewItem& option, const QModelIndex& index);
    void applyFontSize();
    void aBetuNovelExecute();
    void aBetuCsokkentExecute();

    QHash<QString, QAction*> actions_;
    QList<QLabel*> panels_;
    DataSetModel* vkModel_ = nullptr;
    DataSetModel* felvetelModel_ = nullptr;
    QLabel* lblDatKolcs_ = nullptr;
    QLabel* lblKinek_ = nullptr;
    QLabel* lblCim_ = nullptr;
    QLabel* lblSzereplok_ = nullptr;
    QLabel* lblMinoseg_ = nullptr;
    QLabel* lblRendezte_ = nullptr;
    QLabel* lblMufaj_ = nullptr;
    QLabel* lblTrack_ = nullptr;
    int vkSortColumn_ = 1;
    int felvetelSortColumn_ = 0;
    bool shown_ = false;
    bool closed_ = false;
};
