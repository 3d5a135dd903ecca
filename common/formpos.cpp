#include "common/formpos.h"

#include "common/inifile.h"
#include "common/paths.h"

namespace {
constexpr int DefaultPos = 10;
}

void LoadFormPos(const QString& section, int& left, int& top)
{
    const IniFile ini(IniFileName);
    left = ini.readInteger(section, QStringLiteral("Left"), DefaultPos);
    top = ini.readInteger(section, QStringLiteral("Top"), DefaultPos);
}

void LoadFormBounds(const QString& section, int& left, int& top, int& width, int& height)
{
    LoadFormPos(section, left, top);
    const IniFile ini(IniFileName);
    width = ini.readInteger(section, QStringLiteral("Width"), width);
    height = ini.readInteger(section, QStringLiteral("Height"), height);
}

void SaveFormPos(const QString& section, int left, int top)
{
    IniFile ini(IniFileName);
    ini.writeInteger(section, QStringLiteral("Left"), left);
    ini.writeInteger(section, QStringLiteral("Top"), top);
}

void SaveFormBounds(const QString& section, int left, int top, int width, int height)
{
    SaveFormPos(section, left, top);
    IniFile ini(IniFileName);
    ini.writeInteger(section, QStringLiteral("Width"), width);
    ini.writeInteger(section, QStringLiteral("Height"), height);
}
