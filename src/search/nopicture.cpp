#include "search/nopicture.h"

#include "platform/fileutil.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QDir>
#include <QFont>
#include <QImageWriter>
#include <QPainter>

namespace {

constexpr int JPEG_QUALITY = 90;
// An installed copy larger than this is no picture of ours.
constexpr std::size_t MAX_FILE_BYTES = 1 << 20;
// Drawn at twice the height and halved, so it looks right shown as a field.
constexpr int DRAW_HEIGHT = CNoPicture::HEIGHT * 2;
// The part of the frame a page shows: columns 9..704, rows 17..247.
const QRect VISIBLE(9, 34, 696, 462);

} // namespace

QImage CNoPicture::Render()
{
    QImage image(WIDTH, DRAW_HEIGHT, QImage::Format_RGB888);
    image.fill(QColor(64, 64, 64));
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    const QRect inner = VISIBLE.adjusted(24, 24, -24, -24);
    painter.setPen(QPen(QColor(200, 200, 200), 6));
    painter.setBrush(QColor(96, 96, 96));
    painter.drawRoundedRect(inner, 18, 18);
    // A crossed-out camera.
    const QPoint centre = inner.center() - QPoint(0, 60);
    painter.setBrush(Qt::NoBrush);
    painter.drawRoundedRect(QRect(centre - QPoint(60, 38), QSize(120, 76)), 10, 10);
    painter.drawEllipse(centre, 24, 24);
    painter.setPen(QPen(QColor(220, 60, 60), 8, Qt::SolidLine, Qt::RoundCap));
    painter.drawLine(centre + QPoint(-80, 56), centre + QPoint(80, -56));
    QFont font;
    font.setFamilies({QStringLiteral("Liberation Sans"), QStringLiteral("DejaVu Sans")});
    font.setPixelSize(64);
    font.setBold(true);
    painter.setFont(font);
    painter.setPen(QColor(230, 230, 230));
    painter.drawText(QRect(inner.left(), centre.y() + 70, inner.width(), 90), Qt::AlignCenter,
                     QStringLiteral("NO PICTURE"));
    painter.end();
    return image.scaled(WIDTH, HEIGHT, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
}

bool CNoPicture::EnsureFile(const std::string& strPath, const std::string& strSharedFolder)
{
    if (PathExists(strPath))
        return true;
    if (!strSharedFolder.empty()) {
        const auto installed = ReadFileBytes(strSharedFolder + "nopicture.jpg", MAX_FILE_BYTES);
        if (installed && !installed->empty())
            return WriteFileAtomically(strPath, *installed);
    }
    return WriteFile(strPath);
}

std::string CNoPicture::SharedFolder()
{
    const QString strBin = QCoreApplication::applicationDirPath();
    if (strBin.isEmpty())
        return std::string();
    return QDir::cleanPath(strBin + QStringLiteral("/../share/vx2200net")).toStdString() + "/";
}

bool CNoPicture::WriteFile(const std::string& strPath)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, "jpg");
    writer.setQuality(JPEG_QUALITY);
    if (!writer.write(Render()))
        return false;
    return WriteFileAtomically(strPath, bytes.toStdString());
}
