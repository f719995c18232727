#include "widgets/colorbtn.h"

#include <QLayout>
#include <QPainter>

#include <cstdlib>

namespace {

// A 1-pixel line from (x1, y) up to, not including, (x2, y); and the same downwards.
void HorizontalLine(QPainter& painter, int x1, int x2, int y, const QColor& crColour)
{
    if (x2 > x1)
        painter.fillRect(QRect(x1, y, x2 - x1, 1), crColour);
}

void VerticalLine(QPainter& painter, int x, int y1, int y2, const QColor& crColour)
{
    if (y2 > y1)
        painter.fillRect(QRect(x, y1, 1, y2 - y1), crColour);
}

QColor Grey(int nLevel)
{
    return QColor(nLevel, nLevel, nLevel);
}

} // namespace

CColorButton::CColorButton(QWidget* pParent) : QPushButton(pParent)
{
}

bool CColorButton::Attach(int nID, QWidget* pParent, const QColor& crFace, const QColor& crText,
                          const QColor& crDisabled, int nBevel)
{
    if (!pParent)
        return false;
    const QString strName = QStringLiteral("id%1").arg(nID);
    const bool bIsThis = objectName() == strName && pParent->isAncestorOf(this);
    if (!bIsThis) {
        QAbstractButton* pOld = nullptr;
        for (QAbstractButton* pButton : pParent->findChildren<QAbstractButton*>(strName))
            if (pButton != this) {
                pOld = pButton;
                break;
            }
        if (!pOld)
            return false;
        TakePlaceOf(pOld);
    }
    m_crFace = crFace;
    m_crText = crText;
    m_crDisabled = crDisabled;
    m_nBevel = nBevel;
    update();
    return true;
}

void CColorButton::TakePlaceOf(QAbstractButton* pOld)
{
    QWidget* pHolder = pOld->parentWidget();
    setParent(pHolder);
    setObjectName(pOld->objectName());
    setText(pOld->text());
    setFont(pOld->font());
    setToolTip(pOld->toolTip());
    setFocusPolicy(pOld->focusPolicy());
    setSizePolicy(pOld->sizePolicy());
    setGeometry(pOld->geometry());
    setEnabled(!pOld->testAttribute(Qt::WA_ForceDisabled));
    if (pHolder && pHolder->layout())
        delete pHolder->layout()->replaceWidget(pOld, this);
    stackUnder(pOld);
    setVisible(!pOld->isHidden());
    pOld->setObjectName(QString());
    delete pOld;
}

void CColorButton::SetColor(const QColor& crFace, const QColor& crText, const QColor& crDisabled, int nBevel)
{
    m_crFace = crFace;
    m_crText = crText;
    m_crDisabled = crDisabled;
    m_nBevel = nBevel;
    update();
}

void CColorButton::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    const QString strCaption = text().left(MAX_CAPTION);
    DrawFace(painter, strCaption, m_nBevel);
    if (hasFocus()) {
        DrawFocus(painter);
        if (isDown()) {
            DrawFace(painter, strCaption, -1);
            DrawFocus(painter);
        }
    } else if (!isEnabled()) {
        DrawCaption(painter, strCaption, m_crDisabled);
    }
}

void CColorButton::DrawFace(QPainter& painter, const QString& strCaption, int nBevel) const
{
    painter.fillRect(rect(), m_crFace);
    DrawFrame(painter, rect(), nBevel);
    DrawCaption(painter, strCaption, m_crText);
}

void CColorButton::DrawCaption(QPainter& painter, const QString& strCaption, const QColor& crColour) const
{
    painter.setPen(crColour);
    painter.setBackgroundMode(Qt::TransparentMode);
    painter.drawText(rect(), Qt::AlignCenter | Qt::TextSingleLine | Qt::TextShowMnemonic, strCaption);
}

// A dotted rectangle 4 pixels inside the button, inverted into what is there:
// drawing it twice leaves the button as it was.
void CColorButton::DrawFocus(QPainter& painter) const
{
    const QRect focus = rect().adjusted(4, 4, -4, -4);
    if (focus.isEmpty())
        return;
    painter.save();
    painter.setCompositionMode(QPainter::RasterOp_SourceXorDestination);
    auto invert = [&painter](int x, int y) {
        if ((x + y) % 2 == 0)
            painter.fillRect(QRect(x, y, 1, 1), Qt::white);
    };
    for (int x = focus.left(); x <= focus.right(); ++x) {
        invert(x, focus.top());
        if (focus.bottom() != focus.top())
            invert(x, focus.bottom());
    }
    for (int y = focus.top() + 1; y < focus.bottom(); ++y) {
        invert(focus.left(), y);
        if (focus.right() != focus.left())
            invert(focus.right(), y);
    }
    painter.restore();
}

void CColorButton::DrawFrame(QPainter& painter, QRect rect, int nBevel)
{
    const int nRings = std::abs(nBevel);
    for (int i = 0; i < nRings; ++i) {
        QColor crDark = Grey(255 / (i + 2));
        QColor crLight = Grey(63 / (i + 1) + 192);
        if (nRings == 1) {
            crLight = Grey(255);
            crDark = Grey(128);
        }
        const QColor& crTopLeft = nBevel > 0 ? crLight : crDark;
        QColor crBottomRight = nBevel > 0 ? crDark : crLight;
        if (nBevel < 0 && nRings > 1 && i == nRings - 1)
            crBottomRight = QColor(1, 1, 1);

        const int nLeft = rect.left();
        const int nTop = rect.top();
        const int nRight = rect.left() + rect.width();
        const int nBottom = rect.top() + rect.height();
        HorizontalLine(painter, nLeft, nRight, nTop, crTopLeft);
        VerticalLine(painter, nLeft, nTop, nBottom, crTopLeft);
        HorizontalLine(painter, nLeft + 1, nRight, nBottom - 1, crBottomRight);
        VerticalLine(painter, nRight - 1, nTop + 1, nBottom, crBottomRight);
        rect.adjust(1, 1, -1, -1);
    }
}
