#pragma once

#include <QString>

class TThemeDBGrid;
class QWidget;

// "HTML export": writes what the grid shows as a page, optionally grouped by
// the display text of one field.
void ExportHtml(TThemeDBGrid* grid, const QString& title, const QString& subtitle,
                const QString& groupField, QWidget* parent = nullptr);
