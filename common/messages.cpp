#include "common/messages.h"

#include <QApplication>
#include <QPointer>
#include <QWidget>

namespace {

MessageBoxHandler& handler()
{
    static MessageBoxHandler instance;
    return instance;
}

QMessageBox::StandardButton ask(const MessageBoxRequest& request, QWidget* owner)
{
    // A copy, so a handler may replace itself while it answers.
    if (const MessageBoxHandler current = handler())
        return current(request);

    QString text = request.text;
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"))
        .replace(QLatin1Char('\r'), QLatin1Char('\n'));
    QMessageBox box(request.icon, request.caption, text, request.buttons, owner);
    // Messages often quote user data; a title like "<b>" must not turn into markup.
    box.setTextFormat(Qt::PlainText);
    box.setDefaultButton(request.defaultButton);
    return static_cast<QMessageBox::StandardButton>(box.exec());
}

// The box takes the activation; give it back to the window that had it, which
// may be another window than the owner.
QMessageBox::StandardButton askAndReactivate(const MessageBoxRequest& request, QWidget* owner)
{
    const QPointer<QWidget> active = QApplication::activeWindow();
    const QMessageBox::StandardButton answer = ask(request, owner);
    if (active)
        active->activateWindow();
    return answer;
}

} // namespace

bool AskYesNo(const QString& text, const QString& caption, QWidget* owner)
{
    const MessageBoxRequest request{QMessageBox::Question, caption, text,
                                    QMessageBox::Yes | QMessageBox::No, QMessageBox::Yes};
    return askAndReactivate(request, owner) == QMessageBox::Yes;
}

void ShowError(const QString& text, QWidget* owner)
{
    const MessageBoxRequest request{QMessageBox::Critical, QStringLiteral("Hiba"), text,
                                    QMessageBox::Ok, QMessageBox::Ok};
    askAndReactivate(request, owner);
}

void ShowInfo(const QString& text, QWidget* owner)
{
    const MessageBoxRequest request{QMessageBox::Information, QStringLiteral("Üzenet"), text,
                                    QMessageBox::Ok, QMessageBox::Ok};
    ask(request, owner);
}

void SetMessageBoxHandler(MessageBoxHandler newHandler)
{
    handler() = std::move(newHandler);
}
