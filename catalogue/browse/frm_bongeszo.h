#pragma once

#include "catalogue/browse/browsersql.h"

#include <QComboBox>
#include <QDialog>

class Database;
class DataSetModel;
class QAction;
class QLineEdit;
class QMenu;
class QStatusBar;
class QTimer;
class QToolBar;
class Query;
class Tfrm_Main;
class TThemeDBGrid;

// A filter list that tells when its drop-down closes.
class TFilterCombo : public QComboBox
{
    Q_OBJECT
public:
    using QComboBox::QComboBox;
    void hidePopup() override;
Q_SIGNALS:
    void closeUp();
};

// "Böngésző": every recording of every cassette in one grid, narrowed by four
// filter lists, ordered by a title click, searched by typing. "Megvan!" closes
// it with the result accepted; the caller then shows that recording.
class Tfrm_Bongeszo : public QDialog
{
    Q_OBJECT
public:
    explicit Tfrm_Bongeszo(Database& db, QWidget* parent = nullptr);
    ~Tfrm_Bongeszo() override;

    // Opens the rows unfiltered by cassette number and fills the filter lists.
    void FormCreate();

    QString sortField() const { return sortField_; }
    const BrowserFilters& filters() const { return filters_; }
    // The current row's cassette and track; null when there is no row or no recording.
    QVariant currentCassette() const;
    QVariant currentTrack() const;

    Query* Qry = nullptr;
    QToolBar* ToolBar1 = nullptr;
    QLineEdit* Edit1 = nullptr;
    TFilterCombo* ComboBox1 = nullptr; // genre
    TFilterCombo* ComboBox2 = nullptr; // type
    TFilterCombo* ComboBox3 = nullptr; // performer
    TFilterCombo* ComboBox4 = nullptr; // director
    TThemeDBGrid* DBGrid1 = nullptr;
    QStatusBar* StatusBar1 = nullptr;
    QMenu* PopupMenu1 = nullptr;

    QAction* aMegvan = nullptr;
    QAction* aNyomtat = nullptr;
    QAction* aNyomtatKep = nullptr;
    QAction* aExcelbe = nullptr;
    QAction* aHtml = nullptr;
    QAction* aBezar = nullptr;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void createActions();
    void createLayout();
    void rebuildQuery();
    void filterChanged(TFilterCombo* combo, QString& filter);
    void titleClick(int column);
    void searchChanged(const QString& text);
    void resizeColumns();
    void readRestLater();

    Database& db_;
    DataSetModel* model_ = nullptr;
    QTimer* readAhead_ = nullptr;
    QString sortField_ = QStringLiteral("vk");
    BrowserFilters filters_;
};

// Shows the browser over the main window; after "Megvan!" the main window's
// cassette and recording lists stand on the chosen row's recording.
void OpenBrowser(Tfrm_Main& mainWindow);
