#pragma once

#include <QString>

// The settings record every window consults.
struct TBeallRecord
{
    QString DataDir;
    QString HtmlDir;
    int FontSize = 9;
    bool FullScreenStart = false;
};

extern TBeallRecord TBeall;

// The main window's bounds as the settings file keeps them.
struct WindowBounds
{
    int left = 10;
    int top = 10;
    int width = 790;
    int height = 500;
};

// A "zelmo.ini" in the program folder (its name's case does not matter) is used
// instead of the one in the home folder.
QString ChooseSettingsFile(const QString& programDir, const QString& homeSettingsFile);

// Reads the entries in the order they are written: [Database] Path,
// [Screen] FullScreen, [Export] Html, [Font] Size, [Screen] Left, Top, Width, Height.
void ReadSettings(const QString& iniFile, const QString& appDataDir, TBeallRecord& settings, WindowBounds& bounds);
void WriteSettings(const QString& iniFile, const TBeallRecord& settings, const WindowBounds& bounds);

// A data folder that is empty or does not exist is replaced by the home's "Data".
void CheckDataDir(TBeallRecord& settings, const QString& appDataDir);
