#include "remote/panelartwork.h"

#include <QFont>
#include <QPainter>
#include <QPainterPath>
#include <QStringList>

#include <array>

namespace {

using Sign = CPanelArtwork::Sign;

// Left to right, in the order of the recorder's panel.
constexpr std::array<CPanelArtwork::Slot, 16> kSlots = {{
    {1125, 22, "TIMER", nullptr, Sign::None},
    {1339, 58, "", nullptr, Sign::Record},
    {1337, 100, "REVERSE\nPLAY", "FRAME", Sign::None},
    {1140, 136, "PAUSE", nullptr, Sign::None},
    {1129, 172, "PLAY", "FRAME", Sign::None},
    {1142, 208, "PLAY\nSTOP", nullptr, Sign::None},
    {1144, 246, "", nullptr, Sign::Minus},
    {1146, 278, "", nullptr, Sign::Plus},
    {1148, 316, "", nullptr, Sign::Up},
    {1341, 348, "", nullptr, Sign::Down},
    {1152, 388, "SELECT", nullptr, Sign::None},
    {1154, 424, "MENU", nullptr, Sign::None},
    {1157, 460, "SEARCH", nullptr, Sign::None},
    {1163, 502, "BUZZER\nSTOP", "ALARM\nRESET", Sign::None},
    {CPanelArtwork::LAMP_ID, 545, "DISK FULL/\nFAILURE", nullptr, Sign::None},
    {1172, 588, "POWER", nullptr, Sign::None},
}};

constexpr int LINE_HEIGHT = 10;
constexpr int LABEL_BOTTOM = CPanelArtwork::KEY_TOP - 3;
constexpr int BELOW_TOP = CPanelArtwork::KEY_TOP + CPanelArtwork::KEY_HEIGHT + 3;
constexpr int SIGN_SIZE = 8;
constexpr int LAMP_TOP = CPanelArtwork::KEY_TOP + (CPanelArtwork::KEY_HEIGHT - CPanelArtwork::LAMP_HEIGHT) / 2;
constexpr QRect MARK_RECT(610, 24, 62, 46);

const QColor LABEL_COLOUR(255, 255, 255);
const QColor RULE_COLOUR(110, 110, 110);

QFont LabelFont(int nPixelSize, bool bBold = true)
{
    QFont font(QStringLiteral("Sans Serif"));
    font.setPixelSize(nPixelSize);
    font.setBold(bBold);
    font.setStretch(QFont::SemiCondensed);
    return font;
}

// Lines of text centred on nCentre, the last one ending at nBottom (above a
// key) or the first one starting at nTop (below it).
void DrawLines(QPainter& painter, int nCentre, const char* pszText, int nTop)
{
    const QStringList lines = QString::fromLatin1(pszText).split(QLatin1Char('\n'));
    for (int i = 0; i < lines.size(); ++i)
        painter.drawText(QRect(nCentre - 30, nTop + i * LINE_HEIGHT, 60, LINE_HEIGHT),
                         Qt::AlignHCenter | Qt::AlignVCenter, lines[i]);
}

void DrawLabelAbove(QPainter& painter, int nCentre, const char* pszText)
{
    if (!pszText || !*pszText)
        return;
    const int nLines = static_cast<int>(QString::fromLatin1(pszText).count(QLatin1Char('\n'))) + 1;
    DrawLines(painter, nCentre, pszText, LABEL_BOTTOM - nLines * LINE_HEIGHT);
}

void DrawTriangle(QPainter& painter, int nCentre, int nTop, bool bUp)
{
    QPainterPath path;
    const int nBottom = nTop + SIGN_SIZE;
    const int nHalf = SIGN_SIZE / 2 + 1;
    if (bUp) {
        path.moveTo(nCentre, nTop);
        path.lineTo(nCentre + nHalf, nBottom);
        path.lineTo(nCentre - nHalf, nBottom);
    } else {
        path.moveTo(nCentre - nHalf, nTop);
        path.lineTo(nCentre + nHalf, nTop);
        path.lineTo(nCentre, nBottom);
    }
    path.closeSubpath();
    painter.fillPath(path, LABEL_COLOUR);
}

// REC with its record and stop signs; "-" and "+" joined below by BLOCK; the arrows.
void DrawSign(QPainter& painter, const CPanelArtwork::Slot& slot)
{
    const int nSignTop = LABEL_BOTTOM - SIGN_SIZE - 1;
    switch (slot.sign) {
    case Sign::Record:
        painter.setBrush(LABEL_COLOUR);
        painter.drawEllipse(QRect(slot.nCentre - SIGN_SIZE - 2, nSignTop, SIGN_SIZE, SIGN_SIZE));
        painter.fillRect(QRect(slot.nCentre + 2, nSignTop, SIGN_SIZE, SIGN_SIZE), LABEL_COLOUR);
        painter.setBrush(Qt::NoBrush);
        DrawLines(painter, slot.nCentre, "REC", nSignTop - LINE_HEIGHT - 1);
        break;
    case Sign::Minus:
        painter.fillRect(QRect(slot.nCentre - 4, nSignTop + 3, 9, 2), LABEL_COLOUR);
        break;
    case Sign::Plus:
        painter.fillRect(QRect(slot.nCentre - 4, nSignTop + 3, 9, 2), LABEL_COLOUR);
        painter.fillRect(QRect(slot.nCentre - 1, nSignTop, 2, 9), LABEL_COLOUR);
        break;
    case Sign::Up:
    case Sign::Down:
        DrawTriangle(painter, slot.nCentre, nSignTop, slot.sign == Sign::Up);
        break;
    case Sign::None:
        break;
    }
}

// BLOCK under the "-" and "+" keys, with a bracket that joins them.
void DrawBlockCaption(QPainter& painter, int nMinus, int nPlus)
{
    const int nY = BELOW_TOP + 2;
    painter.fillRect(QRect(nMinus, nY, 1, 4), RULE_COLOUR);
    painter.fillRect(QRect(nPlus, nY, 1, 4), RULE_COLOUR);
    painter.fillRect(QRect(nMinus, nY + 4, nPlus - nMinus + 1, 1), RULE_COLOUR);
    DrawLines(painter, (nMinus + nPlus) / 2, "BLOCK", nY + 6);
}

void DrawMark(QPainter& painter)
{
    painter.setPen(QPen(LABEL_COLOUR, 1.5));
    painter.setBrush(Qt::NoBrush);
    painter.drawRoundedRect(QRectF(MARK_RECT).adjusted(0.5, 0.5, -0.5, -0.5), 6, 6);
    QFont big = LabelFont(20);
    big.setItalic(true);
    big.setStretch(QFont::Unstretched);
    painter.setFont(big);
    painter.drawText(QRect(MARK_RECT.x(), MARK_RECT.y() + 3, MARK_RECT.width(), 24), Qt::AlignCenter,
                     QStringLiteral("VX"));
    painter.fillRect(QRect(MARK_RECT.x() + 10, MARK_RECT.y() + 28, MARK_RECT.width() - 20, 1), QColor(220, 40, 40));
    painter.setFont(LabelFont(10));
    painter.drawText(QRect(MARK_RECT.x(), MARK_RECT.y() + 30, MARK_RECT.width(), 13), Qt::AlignCenter,
                     QStringLiteral("2200"));
}

QPixmap Lamp(const QColor& colour)
{
    QPixmap pixmap(CPanelArtwork::LAMP_WIDTH, CPanelArtwork::LAMP_HEIGHT);
    pixmap.fill(colour);
    return pixmap;
}

} // namespace

std::span<const CPanelArtwork::Slot> CPanelArtwork::Slots()
{
    return kSlots;
}

QRect CPanelArtwork::KeyRect(int nId)
{
    for (const Slot& slot : kSlots) {
        if (slot.nId != nId)
            continue;
        if (nId == LAMP_ID)
            return {slot.nCentre - LAMP_WIDTH / 2, LAMP_TOP, LAMP_WIDTH, LAMP_HEIGHT};
        return {slot.nCentre - KEY_WIDTH / 2, KEY_TOP, KEY_WIDTH, KEY_HEIGHT};
    }
    return {};
}

QPixmap CPanelArtwork::Panel()
{
    QPixmap pixmap(PANEL_WIDTH, PANEL_HEIGHT);
    pixmap.fill(Qt::black);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);
    painter.setPen(LABEL_COLOUR);
    painter.setFont(LabelFont(8));
    for (const Slot& slot : kSlots) {
        DrawLabelAbove(painter, slot.nCentre, slot.pszLabel);
        DrawSign(painter, slot);
        if (slot.pszBelow)
            DrawLines(painter, slot.nCentre, slot.pszBelow, BELOW_TOP);
    }
    DrawBlockCaption(painter, kSlots[6].nCentre, kSlots[7].nCentre);
    DrawMark(painter);
    return pixmap;
}

QPixmap CPanelArtwork::LampOn()
{
    return Lamp(QColor(255, 0, 0));
}

QPixmap CPanelArtwork::LampOff()
{
    return Lamp(QColor(255, 255, 255));
}
