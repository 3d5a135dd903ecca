#include "catalogue/export/htmlexport.h"

#include "catalogue/export/frm_roza2veze.h"

void ExportHtml(TThemeDBGrid* grid, const QString& title, const QString& subtitle,
                const QString& groupField, QWidget* parent)
{
    Tfrm_Roza2Veze dialog(grid, title, subtitle, groupField, parent);
    dialog.exec();
}
