#include "catalogue/main/settings.h"

#include "common/inifile.h"
#include "common/paths.h"

#include <QFileInfo>

TBeallRecord TBeall;

QString ChooseSettingsFile(const QString& programDir, const QString& homeSettingsFile)
{
    const QString portable = FindFileNoCase(programDir, QStringLiteral("zelmo.ini"));
    return portable.isEmpty() ? homeSettingsFile : portable;
}

void ReadSettings(const QString& iniFile, const QString& appDataDir, TBeallRecord& settings, WindowBounds& bounds)
{
    const IniFile ini(iniFile);
    settings.DataDir = ini.readString(QStringLiteral("Database"), QStringLiteral("Path"),
                                      appDataDir + QStringLiteral("/Data"));
    settings.FullScreenStart = ini.readBool(QStringLiteral("Screen"), QStringLiteral("FullScreen"), false);
    settings.HtmlDir = ini.readString(QStringLiteral("Export"), QStringLiteral("Html"),
                                      appDataDir + QStringLiteral("/Html"));
    settings.FontSize = ini.readInteger(QStringLiteral("Font"), QStringLiteral("Size"), 9);
    bounds.left = ini.readInteger(QStringLiteral("Screen"), QStringLiteral("Left"), 10);
    bounds.top = ini.readInteger(QStringLiteral("Screen"), QStringLiteral("Top"), 10);
    bounds.width = ini.readInteger(QStringLiteral("Screen"), QStringLiteral("Width"), 790);
    bounds.height = ini.readInteger(QStringLiteral("Screen"), QStringLiteral("Height"), 500);
}

void WriteSettings(const QString& iniFile, const TBeallRecord& settings, const WindowBounds& bounds)
{
    IniFile ini(iniFile);
    ini.writeString(QStringLiteral("Database"), QStringLiteral("Path"), settings.DataDir);
    ini.writeBool(QStringLiteral("Screen"), QStringLiteral("FullScreen"), settings.FullScreenStart);
    ini.writeString(QStringLiteral("Export"), QStringLiteral("Html"), settings.HtmlDir);
    ini.writeInteger(QStringLiteral("Font"), QStringLiteral("Size"), settings.FontSize);
    ini.writeInteger(QStringLiteral("Screen"), QStringLiteral("Left"), bounds.left);
    ini.writeInteger(QStringLiteral("Screen"), QStringLiteral("Top"), bounds.top);
    ini.writeInteger(QStringLiteral("Screen"), QStringLiteral("Width"), bounds.width);
    ini.writeInteger(QStringLiteral("Screen"), QStringLiteral("Height"), bounds.height);
}

void CheckDataDir(TBeallRecord& settings, const QString& appDataDir)
{
    if (settings.DataDir.trimmed().isEmpty() || !QFileInfo(settings.DataDir).isDir())
        settings.DataDir = appDataDir + QStringLiteral("/Data");
}
