#include "catalogue/editors/frm_inpstr.h"

#include "catalogue/editors/formhelpers.h"
#include "catalogue/editors/masterdata.h"

#include <QApplication>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QProxyStyle>
#include <QPushButton>
#include <QStyle>

namespace {

// QLineEdit takes its mask character from the style, so a box with a chosen
// character gets a style of its own that answers with it.
class PasswordCharStyle : public QProxyStyle
{
public:
    PasswordCharStyle(QChar passwordChar, QObject* owner)
        : QProxyStyle(QApplication::style()->name()), passwordChar_(passwordChar)
    {
        setParent(owner);
    }

    int styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
                  QStyleHintReturn* returnData) const override
    {
        if (hint == SH_LineEdit_PasswordCharacter)
            return passwordChar_.unicode();
        return QProxyStyle::styleHint(hint, option, widget, returnData);
    }

private:
    QChar passwordChar_;
};

} // namespace

Tfrm_InpStr::Tfrm_InpStr(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("frm_InpStr"));
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);

    Image1 = new QLabel(this);
    Image1->setObjectName(QStringLiteral("Image1"));
    Image1->setFixedSize(64, 64);
    Image1->setScaledContents(true); // styles may offer the icon only smaller
    Image1->setPixmap(style()->standardIcon(QStyle::SP_MessageBoxQuestion).pixmap(64, 64));
    Image1->setAccessibleName(QString()); // decoration only

    Label1 = new QLabel(this);
    Label1->setObjectName(QStringLiteral("Label1"));
    Edit1 = new QLineEdit(this);
    Edit1->setObjectName(QStringLiteral("Edit1"));
    Edit1->setMinimumWidth(260);
    Label1->setBuddy(Edit1);
    ColourOnFocus(Edit1);

    Button1 = new QPushButton(QStringLiteral("OK"), this);
    Button1->setObjectName(QStringLiteral("Button1"));
    Button1->setDefault(true);
    Button2 = new QPushButton(QStringLiteral("Mégsem"), this);
    Button2->setObjectName(QStringLiteral("Button2"));
    Button2->setAutoDefault(false);

    auto* grid = new QGridLayout(this);
    grid->addWidget(Image1, 0, 0, 2, 1, Qt::AlignTop);
    grid->addWidget(Label1, 0, 1);
    grid->addWidget(Edit1, 1, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(Button1);
    buttons->addWidget(Button2);
    grid->addLayout(buttons, 2, 0, 1, 2);
    grid->setSizeConstraint(QLayout::SetFixedSize);

    // The box comes first in tab order, so it has the focus when the dialog opens.
    setTabOrder(Edit1, Button1);
    setTabOrder(Button1, Button2);
    Edit1->setFocus();

    connect(Button1, &QPushButton::clicked, this, &QDialog::accept);
    connect(Button2, &QPushButton::clicked, this, &QDialog::reject);
    connect(Edit1, &QLineEdit::textEdited, this, &Tfrm_InpStr::Edit1TextEdited);

    SetupDialog(this, QStringLiteral("frm_InpStr"), false, false);
}

void Tfrm_InpStr::setKeepCase(bool keepCase)
{
    keepCase_ = keepCase;
    if (!keepCase_)
        Edit1TextEdited(Edit1->text());
}

void Tfrm_InpStr::setPasswordChar(QChar passwordChar)
{
    if (passwordChar.isNull()) {
        Edit1->setEchoMode(QLineEdit::Normal);
        return;
    }
    // Owned by the dialog, so it outlives the box that uses it.
    Edit1->setStyle(new PasswordCharStyle(passwordChar, this));
    Edit1->setEchoMode(QLineEdit::Password);
}

void Tfrm_InpStr::Edit1TextEdited(const QString& text)
{
    if (keepCase_)
        return;
    const QString upper = text.toUpper();
    if (upper == text)
        return;
    // A capital may be longer than its small letter (ß gives SS): the caret
    // stays after the same typed character.
    const int caret = int(text.left(Edit1->cursorPosition()).toUpper().size());
    Edit1->setText(upper);
    Edit1->setCursorPosition(caret);
}

bool AskString(const QString& caption, const QString& prompt, QString& value, bool keepCase,
               QChar passwordChar, QWidget* parent)
{
    Tfrm_InpStr dialog(parent);
    dialog.setPasswordChar(passwordChar);
    dialog.setWindowTitle(caption);
    dialog.Label1->setText(prompt);
    dialog.Edit1->setText(value);
    // A value handed in is shown as the mode shows typed text.
    dialog.setKeepCase(keepCase);
    dialog.Edit1->selectAll();
    if (dialog.exec() != QDialog::Accepted)
        return false;
    value = dialog.Edit1->text();
    return true;
}
