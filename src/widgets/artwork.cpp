#include "widgets/artwork.h"

#include <QPainter>
#include <QPainterPath>

namespace {

QPixmap Blank(int nSize)
{
    QPixmap pixmap(nSize, nSize);
    pixmap.fill(Qt::transparent);
    return pixmap;
}

} // namespace

QPixmap CArtwork::ProgramPixmap(int nSize)
{
    QPixmap pixmap = Blank(nSize);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    const qreal s = nSize / 32.0;
    // A recorder: a dark box with a screen showing a camera picture and a red lamp.
    p.setPen(QPen(QColor(20, 20, 20), 1.0 * s));
    p.setBrush(QColor(60, 64, 72));
    p.drawRoundedRect(QRectF(1 * s, 6 * s, 30 * s, 20 * s), 3 * s, 3 * s);
    p.setBrush(QColor(40, 110, 200));
    p.drawRect(QRectF(4 * s, 9 * s, 17 * s, 12 * s));
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(230, 230, 230));
    p.drawEllipse(QPointF(12.5 * s, 15 * s), 3 * s, 3 * s);
    p.setBrush(QColor(220, 30, 30));
    p.drawEllipse(QPointF(26 * s, 12 * s), 2 * s, 2 * s);
    p.setBrush(QColor(120, 220, 120));
    p.drawRect(QRectF(23.5 * s, 18 * s, 5 * s, 2 * s));
    return pixmap;
}

QIcon CArtwork::ProgramIcon()
{
    QIcon icon;
    for (int n : {16, 32, 48, 64})
        icon.addPixmap(ProgramPixmap(n));
    return icon;
}

QPixmap CArtwork::WarningPicture()
{
    const int n = PICTURE_SIZE;
    QPixmap pixmap = Blank(n);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    QPainterPath triangle;
    triangle.moveTo(n / 2.0, 3);
    triangle.lineTo(n - 3, n - 5);
    triangle.lineTo(3, n - 5);
    triangle.closeSubpath();
    p.setPen(QPen(QColor(40, 40, 40), 2));
    p.setBrush(QColor(255, 210, 0));
    p.drawPath(triangle);
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::black);
    p.drawRoundedRect(QRectF(n / 2.0 - 2.5, 15, 5, 18), 2, 2);
    p.drawEllipse(QPointF(n / 2.0, n - 11), 3, 3);
    return pixmap;
}

QPixmap CArtwork::InformationPicture()
{
    const int n = PICTURE_SIZE;
    QPixmap pixmap = Blank(n);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    QPainterPath balloon;
    balloon.addEllipse(QRectF(3, 3, n - 6, n - 14));
    QPainterPath tail;
    tail.moveTo(12, n - 16);
    tail.lineTo(8, n - 2);
    tail.lineTo(22, n - 12);
    tail.closeSubpath();
    balloon = balloon.united(tail);
    p.setPen(QPen(QColor(40, 40, 40), 2));
    p.setBrush(Qt::white);
    p.drawPath(balloon);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(20, 60, 200));
    p.drawEllipse(QPointF(n / 2.0, 11), 3, 3);
    p.drawRoundedRect(QRectF(n / 2.0 - 2.5, 17, 5, 15), 2, 2);
    return pixmap;
}
