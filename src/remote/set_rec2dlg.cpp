#include "remote/set_rec2dlg.h"

CSet_Rec2Dlg::CSet_Rec2Dlg(QWidget* pParent) : CMenuPage(IDD, pParent)
{
}
