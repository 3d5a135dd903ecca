#pragma once

#include <QChar>
#include <QDialog>

class QLabel;
class QLineEdit;
class QPushButton;

// Asks for one line of text. In upper-case mode every letter in the box is a
// capital, whatever way it got there (typed, pasted, composed).
class Tfrm_InpStr : public QDialog
{
    Q_OBJECT
public:
    explicit Tfrm_InpStr(QWidget* parent = nullptr);

    // True keeps what the user types; false (the default) capitalises it.
    void setKeepCase(bool keepCase);
    bool keepCase() const { return keepCase_; }
    // 0 shows the text plainly; any other character masks each typed one.
    void setPasswordChar(QChar passwordChar);

    QLabel* Label1 = nullptr;
    QLineEdit* Edit1 = nullptr;
    QLabel* Image1 = nullptr;
    QPushButton* Button1 = nullptr;
    QPushButton* Button2 = nullptr;

private:
    void Edit1TextEdited(const QString& text);

    bool keepCase_ = false;
};
