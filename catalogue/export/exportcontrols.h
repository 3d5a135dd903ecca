#pragma once

class QLineEdit;
class QProgressBar;
class QString;
class QToolButton;
class QWidget;

// The controls both export dialogs have: the file name's browse button, the
// save dialog behind it and the progress bar along the bottom.

QToolButton* NewBrowseButton(QWidget* parent);
QProgressBar* NewExportProgressBar(QWidget* parent);

// The save dialog, opened on the edit's file name; the chosen path goes back
// into the edit. It does not ask before replacing a file: the export does.
void BrowseForSaveFile(QLineEdit* edit, const QString& filter, const QString& defaultSuffix);
