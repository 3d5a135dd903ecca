#pragma once

#include "maintenance/feedback.h"

#include <QWidget>

#include <functional>

class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QProgressBar;
class QPushButton;

// The maintenance tool's one window: the data folder's path, "Karbantartás",
// "Verzióváltás" and "Bezárás", the instructions, a status line and a
// progress bar. The work itself is done by RunTableRepair and
// RunVersionUpgrade; the window only shows how it goes.
class Tfrm_Upd_Main : public QWidget
{
    Q_OBJECT
public:
    static constexpr const char* VersionText = "3.0.0.99";

    explicit Tfrm_Upd_Main(QWidget* parent = nullptr);

    // Picks the settings file and fills the path field; the settings file is
    // only read.
    void FormCreate();

    void Button1Click(); // Karbantartás
    void Button3Click(); // Verzióváltás
    void Button2Click(); // Bezárás

    bool isBusy() const { return busy_; }

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void runOperation(const std::function<void(const MaintenanceFeedback&)>& operation);
    MaintenanceFeedback feedback();
    void setControlsEnabled(bool enabled);

    QLabel* Image1;
    QLabel* Label1;
    QLineEdit* Edit1;
    QPushButton* Button1;
    QPushButton* Button3;
    QPushButton* Button2;
    QPlainTextEdit* Memo1;
    QLabel* Label2;
    QProgressBar* ProgressBar1;
    bool busy_ = false;
};
