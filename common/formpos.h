#pragma once

#include <QString>

// Window placement in the settings file IniFileName, one section per window
// named after the window. Each call opens the file anew.

// Missing entries give 10.
void LoadFormPos(const QString& section, int& left, int& top);
// Left and Top as LoadFormPos; a missing Width or Height keeps the value passed in.
void LoadFormBounds(const QString& section, int& left, int& top, int& width, int& height);

// These throw ZelmoError when the settings file cannot be written.
void SaveFormPos(const QString& section, int left, int top);
void SaveFormBounds(const QString& section, int left, int top, int width, int height);
