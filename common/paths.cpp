#include "common/paths.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

QString ProgramDir;
QString AppDataDir;
QString IniFileName;

namespace {
constexpr int CsidlCommonAppData = 35;
const QString HomeFolderName = QStringLiteral("Zelmo");
} // namespace

QString GetProgramDir()
{
    QString dir;
    if (QCoreApplication::instance()) {
        dir = QCoreApplication::applicationDirPath();
    } else {
        // Works before the application object exists as well.
        dir = QFileInfo(QStringLiteral("/proc/self/exe")).canonicalFilePath();
        dir = QFileInfo(dir).absolutePath();
    }
    if (dir.size() > 1 && dir.endsWith(QLatin1Char('/')))
        dir.chop(1);
    return dir;
}

QString GetSpecialFolder(int csidl)
{
    if (csidl == CsidlCommonAppData)
        return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
    return {};
}

QString GetCommonAppDataDir()
{
    return GetSpecialFolder(CsidlCommonAppData);
}

void RunStartupStep()
{
    RunStartupStep(GetProgramDir(), GetCommonAppDataDir());
}

void RunStartupStep(const QString& programDir, const QString& commonAppDataDir)
{
    ProgramDir = programDir;
    AppDataDir = commonAppDataDir.isEmpty() ? ProgramDir
                                            : commonAppDataDir + QLatin1Char('/') + HomeFolderName;

    // An existing home is trusted as it is; only a fresh one gets its Temp folder.
    if (!QFileInfo(AppDataDir).isDir()) {
        if (!QDir().mkpath(AppDataDir))
            AppDataDir = ProgramDir;
        QDir().mkpath(AppDataDir + QStringLiteral("/Temp")); // without it only the download fails
    }

    IniFileName = AppDataDir + QLatin1Char('/') + HomeFolderName + QStringLiteral(".ini");
}

QString FindFileNoCase(const QString& dir, const QString& name)
{
    const QDir folder(dir);
    if (QFileInfo(folder.filePath(name)).isFile())
        return folder.filePath(name);
    const QStringList files = folder.entryList(QDir::Files | QDir::Hidden, QDir::Name);
    for (const QString& file : files) {
        if (file.compare(name, Qt::CaseInsensitive) == 0)
            return folder.filePath(file);
    }
    return {};
}

QString FindProgramFile(const QString& relativePath) { return FindProgramFile(ProgramDir, relativePath); }

QString FindProgramFile(const QString& programDir, const QString& relativePath)
{
    const QDir dir(programDir);
    for (const QString& candidate :
         {dir.filePath(relativePath), dir.filePath(QStringLiteral("../share/zelmo/") + relativePath)})
        if (QFileInfo::exists(candidate))
            return QDir::cleanPath(candidate);
    return QString();
}
