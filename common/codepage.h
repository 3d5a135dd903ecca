#pragma once

#include <QByteArray>
#include <QString>

// Windows-1250 is the code page of the settings file and of the text files the
// program writes. Every conversion goes through here.

// Characters that Windows-1250 cannot hold become '?'.
QByteArray ToCp1250(const QString& text);
QString FromCp1250(const QByteArray& bytes);
// True when every character of the text has a Windows-1250 code.
bool FitsCp1250(const QString& text);
