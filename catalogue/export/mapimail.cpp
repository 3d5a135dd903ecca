#include "catalogue/export/mapimail.h"

#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>

namespace {

MailStarter& starter()
{
    static MailStarter s;
    return s;
}

bool startComposer(const QString& program, const QStringList& arguments)
{
    const QString path = QStandardPaths::findExecutable(program);
    if (path.isEmpty())
        return false;
    return QProcess::startDetached(path, arguments);
}

} // namespace

void SendMapiMail(const QString& subject, const QString& body, const QString& attachmentPath)
{
    // The arguments reach the program as UTF-8 whatever the locale says, and
    // --utf8 tells it so; the attachment goes as a full path, as the composer
    // is started elsewhere.
    const QStringList arguments{
        QStringLiteral("--utf8"),
        QStringLiteral("--subject"),
        subject,
        QStringLiteral("--body"),
        body,
        QStringLiteral("--attach"),
        QFileInfo(attachmentPath).absoluteFilePath(),
    };
    const QString program = QStringLiteral("xdg-email");
    if (starter())
        starter()(program, arguments);
    else
        startComposer(program, arguments);
}

void SetMailStarter(MailStarter s)
{
    starter() = std::move(s);
}
