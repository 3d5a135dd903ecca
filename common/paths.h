#pragma once

#include <QString>

// Set once by RunStartupStep before the first window is created.
extern QString ProgramDir;  // folder of the executable, as it is spelt
extern QString AppDataDir;  // the program's home folder
extern QString IniFileName; // the settings file; the programs may point it elsewhere

// The executable's folder, without a trailing separator. The case is kept: the
// file system is case-sensitive.
QString GetProgramDir();

// The folder for a Windows shell folder number. Only 35 (the machine's
// application-data folder) means something here; any other number gives empty text.
QString GetSpecialFolder(int csidl);
QString GetCommonAppDataDir();

// Sets ProgramDir, AppDataDir and IniFileName from the running program.
void RunStartupStep();
// The same with the two folders given, so it can be exercised anywhere.
void RunStartupStep(const QString& programDir, const QString& commonAppDataDir);

// Full path of the file in dir whose name equals name without regard to case,
// or empty text. A file spelt exactly as asked wins over other spellings.
QString FindFileNoCase(const QString& dir, const QString& name);

// A file the program ships (help pages, the information text): found in the
// program folder first, else in ../share/zelmo beside it, where an installed
// copy keeps them. Empty text when neither has it.
QString FindProgramFile(const QString& relativePath);
QString FindProgramFile(const QString& programDir, const QString& relativePath);
