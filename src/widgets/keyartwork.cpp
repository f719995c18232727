#include "widgets/keyartwork.h"

#include <QFont>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

#include <array>

namespace {

using Key = CKeyArtwork::Key;

constexpr Key kKeys[] = {
    {1331, CKeyArtwork::SYM_REC, 242, 262, 244, 240},
    {1333, CKeyArtwork::SYM_PLAY, 209, 264, 199, 211},
    {1202, CKeyArtwork::SYM_RPLAY, 194, 260, 192, 213},
    {1335, CKeyArtwork::SYM_STOP, 201, 248, 205, 219},
    {1138, CKeyArtwork::SYM_REV, 230, 0, 228, 232},
    {1132, CKeyArtwork::SYM_RSTEP, 190, 0, 188, 215},
    {1150, CKeyArtwork::SYM_PAUSE, 224, 250, 226, 222},
    {1200, CKeyArtwork::SYM_STEP, 186, 0, 184, 217},
    {1136, CKeyArtwork::SYM_BLOCK, 236, 0, 234, 238},
};

// Captions under the symbols; only REC has a Japanese one.
constexpr const char* kCaptions[] = {"STOP", "PLAY", "RPLAY", "PAUSE", "REC", "REV", "BLOCK", "STEP", "RSTEP"};
constexpr const char* REC_JAPANESE = "録画";

// The colour a key's symbol and lamp take when it is lit.
QColor LitColour(CKeyArtwork::Symbol symbol)
{
    switch (symbol) {
    case CKeyArtwork::SYM_PLAY:
    case CKeyArtwork::SYM_RPLAY: return {20, 180, 60};
    case CKeyArtwork::SYM_PAUSE: return {245, 160, 0};
    case CKeyArtwork::SYM_REC: return {235, 30, 30};
    default: return {30, 120, 230};
    }
}

struct Palette {
    QColor crTop;
    QColor crBottom;
    QColor crBorder;
    QColor crSymbol;
    QColor crCaption;
    QColor crLamp;
};

Palette PaletteFor(const Key& key, CKeyArtwork::Look look)
{
    const bool bRec = key.symbol == CKeyArtwork::SYM_REC;
    switch (look) {
    case CKeyArtwork::LOOK_LIT:
        return {{250, 250, 246}, {208, 210, 212}, {70, 70, 70}, LitColour(key.symbol), {20, 20, 20},
                LitColour(key.symbol)};
    case CKeyArtwork::LOOK_PRESSED:
        return {{168, 170, 174}, {204, 204, 206}, {50, 50, 50}, bRec ? QColor(120, 20, 20) : QColor(20, 20, 20),
                {20, 20, 20}, {100, 100, 100}};
    case CKeyArtwork::LOOK_DISABLED:
        return {{226, 226, 226}, {214, 214, 214}, {165, 165, 165}, {168, 168, 168}, {168, 168, 168},
                {196, 196, 196}};
    case CKeyArtwork::LOOK_NORMAL:
        break;
    }
    return {{238, 238, 234}, {194, 196, 200}, {90, 90, 90}, bRec ? QColor(150, 30, 30) : QColor(45, 45, 45),
            {55, 55, 55}, {120, 120, 120}};
}

QPainterPath Triangle(qreal x0, qreal x1, qreal cy, qreal h)
{
    QPainterPath path;
    path.moveTo(x0, cy - h);
    path.lineTo(x1, cy);
    path.lineTo(x0, cy + h);
    path.closeSubpath();
    return path;
}

// The symbol, drawn pointing right around (0, 0); the reverse keys mirror it.
QPainterPath SymbolPath(CKeyArtwork::Symbol symbol)
{
    QPainterPath path;
    switch (symbol) {
    case CKeyArtwork::SYM_STOP: path.addRect(-7, -7, 14, 14); break;
    case CKeyArtwork::SYM_PLAY:
    case CKeyArtwork::SYM_RPLAY: path = Triangle(-6, 8, 0, 8); break;
    case CKeyArtwork::SYM_PAUSE:
        path.addRect(-7, -8, 5, 16);
        path.addRect(2, -8, 5, 16);
        break;
    case CKeyArtwork::SYM_REC: path.addEllipse(QPointF(0, 0), 8, 8); break;
    case CKeyArtwork::SYM_BLOCK:
    case CKeyArtwork::SYM_REV:
        path = Triangle(-12, -2, 0, 7);
        path.addPath(Triangle(-3, 7, 0, 7));
        path.addRect(7, -7, 3, 14);
        break;
    case CKeyArtwork::SYM_STEP:
    case CKeyArtwork::SYM_RSTEP:
        path = Triangle(-7, 3, 0, 7);
        path.addRect(4, -7, 3, 14);
        break;
    }
    return path;
}

bool Mirrored(CKeyArtwork::Symbol symbol)
{
    return symbol == CKeyArtwork::SYM_RPLAY || symbol == CKeyArtwork::SYM_REV || symbol == CKeyArtwork::SYM_RSTEP;
}

void DrawBody(QPainter& p, const Palette& colours, const QRectF& body)
{
    QLinearGradient gradient(body.topLeft(), body.bottomLeft());
    gradient.setColorAt(0, colours.crTop);
    gradient.setColorAt(1, colours.crBottom);
    p.setPen(QPen(colours.crBorder, 1));
    p.setBrush(gradient);
    p.drawRoundedRect(body, 5, 5);
}

void DrawSymbol(QPainter& p, const Key& key, const Palette& colours, QPointF centre)
{
    p.save();
    p.translate(centre);
    if (Mirrored(key.symbol))
        p.scale(-1, 1);
    p.setPen(Qt::NoPen);
    p.setBrush(colours.crSymbol);
    p.drawPath(SymbolPath(key.symbol));
    p.restore();
}

void DrawCaption(QPainter& p, const Key& key, const Palette& colours, const QRectF& area, int nLanguage)
{
    const bool bJapanese = key.symbol == CKeyArtwork::SYM_REC && nLanguage == 0;
    QFont font(bJapanese ? QStringLiteral("Noto Sans CJK JP") : QStringLiteral("DejaVu Sans"));
    font.setPixelSize(bJapanese ? 10 : 9);
    font.setBold(true);
    p.setFont(font);
    p.setPen(colours.crCaption);
    p.drawText(area, Qt::AlignCenter, bJapanese ? QString::fromUtf8(REC_JAPANESE) : kCaptions[key.symbol]);
}

QImage Draw(const Key& key, CKeyArtwork::Look look, int nLanguage)
{
    QImage image(CKeyArtwork::KEY_WIDTH, CKeyArtwork::KEY_HEIGHT, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
    const Palette colours = PaletteFor(key, look);
    // A pressed key sinks by a pixel.
    const qreal dOffset = look == CKeyArtwork::LOOK_PRESSED ? 1 : 0;
    const QRectF body(0.5 + dOffset, 0.5 + dOffset, CKeyArtwork::KEY_WIDTH - 2.0, CKeyArtwork::KEY_HEIGHT - 2.0);
    DrawBody(p, colours, body);
    if (key.nLit != 0) {
        p.setPen(Qt::NoPen);
        p.setBrush(colours.crLamp);
        p.drawRoundedRect(QRectF(body.left() + 5, body.top() + 4, 10, 4), 1.5, 1.5);
    }
    DrawSymbol(p, key, colours, QPointF(body.center().x(), body.top() + 17));
    DrawCaption(p, key, colours, QRectF(body.left(), body.top() + 28, body.width(), 13), nLanguage);
    return image;
}

} // namespace

std::span<const CKeyArtwork::Key> CKeyArtwork::Keys()
{
    return kKeys;
}

const CKeyArtwork::Key* CKeyArtwork::FindKey(int nId)
{
    for (const Key& key : kKeys) {
        if (key.nId == nId)
            return &key;
    }
    return nullptr;
}

QImage CKeyArtwork::Render(int nResource, int nLanguage)
{
    for (const Key& key : kKeys) {
        const std::array<std::pair<int, Look>, 4> looks = {{
            {key.nNormal, LOOK_NORMAL},
            {key.nLit, LOOK_LIT},
            {key.nPressed, LOOK_PRESSED},
            {key.nDisabled, LOOK_DISABLED},
        }};
        for (const auto& [nNumber, look] : looks) {
            if (nNumber != 0 && nNumber == nResource)
                return Draw(key, look, nLanguage);
        }
    }
    return {};
}

QPixmap CKeyArtwork::Bitmap(int nResource, int nLanguage)
{
    const QImage image = Render(nResource, nLanguage);
    return image.isNull() ? QPixmap() : QPixmap::fromImage(image);
}
