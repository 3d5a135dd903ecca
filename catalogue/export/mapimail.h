#pragma once

#include <QString>
#include <QStringList>

#include <functional>

// Hands a mail with a subject, a text and one attached file to the desktop's
// mail composer, where the user adds the recipient and sends it. Nothing
// happens, and nothing is said, when the desktop has no composer.
void SendMapiMail(const QString& subject, const QString& body, const QString& attachmentPath);

// Test seam: receives the composer's program name and arguments instead of
// starting it; an empty function restores the real starter, which looks the
// program up on the PATH. Returns whether a composer was started.
using MailStarter = std::function<bool(const QString& program, const QStringList& arguments)>;
void SetMailStarter(MailStarter starter);
