#pragma once

#include <QPixmap>
#include <QTimer>
#include <QWidget>

// The splash picture that fades out after the main window appears.
class Tfrm_Logo : public QWidget
{
    Q_OBJECT
public:
    explicit Tfrm_Logo(QWidget* parent = nullptr);

    int opacity() const { return opacity_; }
    QTimer* Timer1 = nullptr;
    QTimer* Timer2 = nullptr;

    // One step of the fade; true when the splash has closed.
    bool fadeStep();

protected:
    void showEvent(QShowEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    QPixmap picture_;
    int opacity_ = 255;
};
