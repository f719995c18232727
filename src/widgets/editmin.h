// The minute field of the save-to-PC dialog and the search page: a key that is
// not passed shows mode 15.
#pragma once

#include "widgets/timefieldedit.h"

class CEditMin : public CTimeFieldEdit {
public:
    static constexpr int MODE_WRONG_KEY = 15;
    explicit CEditMin(QWidget* pParent = nullptr) : CTimeFieldEdit(MODE_WRONG_KEY, pParent) {}
};
