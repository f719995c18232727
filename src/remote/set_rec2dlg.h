// The Timer Recording page: the recorder's ten timer programs.
#pragma once

#include "remote/menupage.h"

class CSet_Rec2Dlg : public CMenuPage {
    Q_OBJECT
public:
    enum { IDD = 151 };

    explicit CSet_Rec2Dlg(QWidget* pParent = nullptr);
};
