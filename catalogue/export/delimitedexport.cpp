#include "catalogue/export/delimitedexport.h"

#include "catalogue/export/frm_hatarolt.h"

void ExportDelimited(DataSet& dataSet, const QString& proposedFileName, QWidget* parent)
{
    Tfrm_Hatarolt dialog(dataSet, proposedFileName, parent);
    dialog.exec();
}
