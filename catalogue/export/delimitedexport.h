#pragma once

#include <QString>

class DataSet;
class QWidget;

// "Határolt szöveg export": writes the rows of an open data set as delimited
// text for spreadsheet programs. A bare file name lands in the working folder.
void ExportDelimited(DataSet& dataSet, const QString& proposedFileName, QWidget* parent = nullptr);
