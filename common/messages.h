#pragma once

#include <QMessageBox>
#include <QString>
#include <functional>

class QWidget;

// The program's three message boxes. The text is shown as plain text with its
// line breaks (CR LF, CR or LF).

// Yes and No, Yes being the default; true when the user answers Yes.
bool AskYesNo(const QString& text, const QString& caption, QWidget* owner);
// Caption "Hiba".
void ShowError(const QString& text, QWidget* owner);
// Caption "Üzenet".
void ShowInfo(const QString& text, QWidget* owner);

// What a box would show; a test answers it through a handler instead of a window.
struct MessageBoxRequest
{
    QMessageBox::Icon icon;
    QString caption;
    QString text;
    QMessageBox::StandardButtons buttons;
    QMessageBox::StandardButton defaultButton;
};

using MessageBoxHandler = std::function<QMessageBox::StandardButton(const MessageBoxRequest&)>;

// While a handler is set no box is shown and its answer is used; an empty
// handler brings the real boxes back.
void SetMessageBoxHandler(MessageBoxHandler handler);
