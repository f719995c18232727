#include "widgets/bitmapbutton.h"

#include "widgets/keyartwork.h"

#include <QPainter>

CBitmapButton::CBitmapButton(QWidget* pParent) : QAbstractButton(pParent)
{
    setFocusPolicy(Qt::NoFocus);
}

bool CBitmapButton::LoadBitmaps(int nNormal, int nPressed, int nDisabled, int nLanguage)
{
    const bool bSameLanguage = nLanguage == m_nLanguage;
    auto load = [&](int nNew, int nOld, const QPixmap& old) {
        return bSameLanguage && nNew == nOld ? old : CKeyArtwork::Bitmap(nNew, nLanguage);
    };
    QPixmap normal = load(nNormal, m_nNormal, m_normal);
    QPixmap pressed = load(nPressed, m_nPressed, m_pressed);
    QPixmap disabled = load(nDisabled, m_nDisabled, m_disabled);
    if (normal.isNull() || pressed.isNull() || disabled.isNull())
        return false;
    m_nNormal = nNormal;
    m_nPressed = nPressed;
    m_nDisabled = nDisabled;
    m_nLanguage = nLanguage;
    m_normal = std::move(normal);
    m_pressed = std::move(pressed);
    m_disabled = std::move(disabled);
    update();
    return true;
}

const QPixmap& CBitmapButton::CurrentPixmap() const
{
    if (!isEnabled())
        return m_disabled;
    return isDown() ? m_pressed : m_normal;
}

QSize CBitmapButton::sizeHint() const
{
    return m_normal.isNull() ? QSize(CKeyArtwork::KEY_WIDTH, CKeyArtwork::KEY_HEIGHT) : m_normal.size();
}

void CBitmapButton::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    const QPixmap& pixmap = CurrentPixmap();
    if (!pixmap.isNull())
        painter.drawPixmap(0, 0, pixmap);
}
