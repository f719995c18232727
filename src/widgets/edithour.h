// The hour field of the save-to-PC dialog and the search page: a key that is
// not passed shows mode 16.
#pragma once

#include "widgets/timefieldedit.h"

class CEditHour : public CTimeFieldEdit {
public:
    static constexpr int MODE_WRONG_KEY = 16;
    explicit CEditHour(QWidget* pParent = nullptr) : CTimeFieldEdit(MODE_WRONG_KEY, pParent) {}
};
