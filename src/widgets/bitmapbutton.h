// A push button shown as pictures: one for its normal look, one while it is
// pressed and one while it is disabled (no focus look). The pictures are the
// program's key artwork, loaded by resource number.
#pragma once

#include <QAbstractButton>
#include <QPixmap>

class CBitmapButton : public QAbstractButton {
    Q_OBJECT
public:
    explicit CBitmapButton(QWidget* pParent = nullptr);

    // Loads the three looks for language nLanguage (0 Japanese, 1 English); a
    // look whose number is unchanged is kept. False, with nothing changed, when
    // a number names no key picture.
    bool LoadBitmaps(int nNormal, int nPressed, int nDisabled, int nLanguage);

    int GetNormalId() const { return m_nNormal; }
    int GetPressedId() const { return m_nPressed; }
    int GetDisabledId() const { return m_nDisabled; }
    // The picture the button shows in its present state.
    const QPixmap& CurrentPixmap() const;

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* pEvent) override;

private:
    int m_nNormal = 0;
    int m_nPressed = 0;
    int m_nDisabled = 0;
    int m_nLanguage = -1;
    QPixmap m_normal;
    QPixmap m_pressed;
    QPixmap m_disabled;
};
