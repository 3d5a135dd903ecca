#include "catalogue/editors/formhelpers.h"

#include "catalogue/data/query.h"
#include "catalogue/main/settings.h"
#include "common/formpos.h"
#include "common/values.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QDialog>
#include <QEvent>
#include <QKeyEvent>
#include <QPlainTextEdit>
#include <QTextEdit>

namespace {

// The next control in tab order that takes the focus by Tab.
void focusNext(QWidget* from)
{
    if (!from)
        return;
    QWidget* w = from->nextInFocusChain();
    while (w && w != from) {
        if ((w->focusPolicy() & Qt::TabFocus) && w->isVisible() && w->isEnabled() && w->window() == from->window()
            && !w->focusProxy()) {
            w->setFocus(Qt::TabFocusReason);
            return;
        }
        w = w->nextInFocusChain();
    }
}

class DialogBehaviour : public QObject
{
public:
    DialogBehaviour(QDialog* dialog, const QString& section, bool sizeable, bool enterMovesFocus)
        : QObject(dialog), dialog_(dialog), section_(section), sizeable_(sizeable), enterMovesFocus_(enterMovesFocus)
    {
        dialog->installEventFilter(this);
        QObject::connect(dialog, &QDialog::finished, this, [this] { store(); });
    }

    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (watched == dialog_ && event->type() == QEvent::Show && !placed_) {
            placed_ = true;
            restore();
            // Controls made after construction are watched too.
            if (enterMovesFocus_)
                for (QWidget* w : dialog_->findChildren<QWidget*>())
                    w->installEventFilter(this);
        }
        if (enterMovesFocus_ && event->type() == QEvent::KeyPress) {
            auto* key = static_cast<QKeyEvent*>(event);
            if ((key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) &&
                !(key->modifiers() & (Qt::ControlModifier | Qt::AltModifier))) {
                QWidget* focus = dialog_->focusWidget();
                if (qobject_cast<QPlainTextEdit*>(focus) || qobject_cast<QTextEdit*>(focus))
                    return false;
                if (auto* button = qobject_cast<QAbstractButton*>(focus)) {
                    button->click();
                    return true;
                }
                focusNext(focus);
                return true;
            }
        }
        return QObject::eventFilter(watched, event);
    }

private:
    void restore()
    {
        QFont f = dialog_->font();
        f.setPointSize(TBeall.FontSize > 0 ? TBeall.FontSize : 9);
        dialog_->setFont(f);
        int left = 10, top = 10, width = dialog_->width(), height = dialog_->height();
        if (sizeable_) {
            LoadFormBounds(section_, left, top, width, height);
            dialog_->resize(width, height);
        } else {
            LoadFormPos(section_, left, top);
        }
        dialog_->move(left, top);
    }

    void store()
    {
        if (sizeable_)
            SaveFormBounds(section_, dialog_->x(), dialog_->y(), dialog_->width(), dialog_->height());
        else
            SaveFormPos(section_, dialog_->x(), dialog_->y());
    }

    QDialog* dialog_;
    QString section_;
    bool sizeable_;
    bool enterMovesFocus_;
    bool placed_ = false;
};

class FocusColourer : public QObject
{
public:
    using QObject::QObject;
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::FocusIn || event->type() == QEvent::FocusOut) {
            auto* w = static_cast<QWidget*>(watched);
            QPalette p = w->palette();
            p.setColor(QPalette::Base, event->type() == QEvent::FocusIn
                                           ? FocusColour
                                           : w->style()->standardPalette().color(QPalette::Base));
            w->setPalette(p);
        }
        return QObject::eventFilter(watched, event);
    }
};

void fillCombo(Query& qry, QComboBox* combo, const QString& sql, bool byName)
{
    qry.close();
    qry.setSql(sql);
    qry.open();
    const int column = byName ? qry.indexOf(QStringLiteral("nev")) : 0;
    for (qry.first(); !qry.eof(); qry.next())
        combo->addItem(NullToStr(qry.value(column), QString()));
    qry.close();
}

} // namespace

void SetupDialog(QDialog* dialog, const QString& section, bool sizeable, bool enterMovesFocus)
{
    new DialogBehaviour(dialog, section, sizeable, enterMovesFocus);
}

void ColourOnFocus(QWidget* control)
{
    control->installEventFilter(new FocusColourer(control));
}

void FillComboFromQuery(Query& qry, QComboBox* combo, const QString& sql) { fillCombo(qry, combo, sql, true); }

void FillComboFromQueryFirstColumn(Query& qry, QComboBox* combo, const QString& sql)
{
    fillCombo(qry, combo, sql, false);
}
