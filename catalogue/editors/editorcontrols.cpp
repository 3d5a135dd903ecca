#include "catalogue/editors/editorcontrols.h"

#include <QHBoxLayout>
#include <QPushButton>

#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QValidator>

#include <limits>

namespace {

class IntegerValidator : public QValidator
{
public:
    using QValidator::QValidator;

    State validate(QString& input, int& /*pos*/) const override
    {
        const qsizetype start =
            input.startsWith(QLatin1Char('-')) || input.startsWith(QLatin1Char('+')) ? 1 : 0;
        const QStringView digits = QStringView(input).mid(start);
        for (QChar c : digits)
            if (!c.isDigit() || c.unicode() > '9')
                return Invalid;
        if (digits.isEmpty())
            return start == 0 ? Acceptable : Intermediate;
        // A number the field cannot hold is refused as it is typed.
        bool ok = false;
        const qlonglong v = input.toLongLong(&ok);
        if (!ok || v < std::numeric_limits<qint32>::min() || v > std::numeric_limits<qint32>::max())
            return Invalid;
        return Acceptable;
    }
};

} // namespace

QLineEdit* NewIntegerEdit(QWidget* parent)
{
    auto* edit = new QLineEdit(parent);
    edit->setValidator(new IntegerValidator(edit));
    return edit;
}

QPlainTextEdit* NewMemo(QWidget* parent)
{
    auto* memo = new QPlainTextEdit(parent);
    // Only the family is set, so the memo still follows the dialog's font size.
    QFont fixed(QStringLiteral("Courier New"));
    fixed.setStyleHint(QFont::TypeWriter);
    fixed.setFixedPitch(true);
    memo->setFont(fixed);
    memo->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    memo->setTabChangesFocus(true);
    return memo;
}

QLineEdit* NewDisplayEdit(QWidget* parent)
{
    auto* edit = new QLineEdit(parent);
    edit->setReadOnly(true);
    edit->setFocusPolicy(Qt::NoFocus);
    edit->setFrame(false);
    QFont big = edit->font();
    big.setBold(true);
    big.setPixelSize(20);
    edit->setFont(big);
    QPalette p = edit->palette();
    p.setColor(QPalette::Base, Qt::transparent);
    edit->setPalette(p);
    return edit;
}

QLabel* NewLabel(const QString& text, QWidget* buddy, QWidget* parent)
{
    auto* label = new QLabel(text, parent);
    label->setBuddy(buddy);
    return label;
}

QHBoxLayout* NewOkCancelRow(QWidget* parent, QPushButton*& ok, QPushButton*& cancel)
{
    ok = new QPushButton(QStringLiteral("OK"), parent);
    ok->setObjectName(QStringLiteral("Button1"));
    cancel = new QPushButton(QStringLiteral("Mégsem"), parent);
    cancel->setObjectName(QStringLiteral("Button2"));
    for (QPushButton* b : {ok, cancel}) {
        b->setAutoDefault(false);
        b->setDefault(false);
    }
    auto* row = new QHBoxLayout;
    row->addStretch(1);
    row->addWidget(ok);
    row->addWidget(cancel);
    return row;
}
