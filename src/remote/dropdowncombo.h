// A drop-down list that tells its owner just before its list opens, so that
// the owner can rebuild the items first (the timer editor's day list follows
// the month).
#pragma once

#include <QComboBox>

#include <functional>

class CDropDownCombo : public QComboBox {
public:
    using QComboBox::QComboBox;

    std::function<void()> m_fnBeforeOpen;

    void showPopup() override
    {
        if (m_fnBeforeOpen)
            m_fnBeforeOpen();
        QComboBox::showPopup();
    }
};
