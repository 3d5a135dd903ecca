#include "catalogue/main/opendocument.h"

#include "common/paths.h"

#include <QDesktopServices>
#include <QFileInfo>
#include <QProcess>
#include <QUrl>

namespace {

DocumentOpener& opener()
{
    static DocumentOpener o;
    return o;
}

bool openWithDesktop(const QString& target)
{
    const QUrl url(target, QUrl::StrictMode);
    // "C:" or "/home/..." is a path, "https:" and "mailto:" are addresses.
    const bool isAddress = url.isValid() && url.scheme().size() > 1 && !QFileInfo::exists(target);
    if (isAddress)
        return QDesktopServices::openUrl(url);
    const QFileInfo file(target);
    if (file.isFile() && file.isExecutable() && !file.suffix().startsWith(QLatin1String("htm")))
        return QProcess::startDetached(file.absoluteFilePath(), {}, ProgramDir);
    return QDesktopServices::openUrl(QUrl::fromLocalFile(file.absoluteFilePath()));
}

} // namespace

bool OpenDocument(const QString& target)
{
    if (target.isEmpty())
        return false;
    if (opener())
        return opener()(target);
    return openWithDesktop(target);
}

void SetDocumentOpener(DocumentOpener o) { opener() = std::move(o); }
