#include "widgets/bmputy.h"

#include "fixtures/scriptedprompter.h"

#include <QPainter>
#include <QWidget>
#include <gtest/gtest.h>

#include <vector>

namespace {

constexpr int SRC_W = 696;
constexpr int SRC_H = 232;

// A display picture in blue, green, red order: red on the left half, green on
// the right.
std::vector<unsigned char> HalfAndHalf()
{
    std::vector<unsigned char> bits(static_cast<std::size_t>(SRC_W) * SRC_H * 3);
    for (int y = 0; y < SRC_H; ++y)
        for (int x = 0; x < SRC_W; ++x) {
            unsigned char* p = &bits[(static_cast<std::size_t>(y) * SRC_W + x) * 3];
            p[x < SRC_W / 2 ? 2 : 1] = 255;
        }
    return bits;
}

// The smallest rectangle holding every pixel that differs from crBackground.
PicRect PaintedArea(const QImage& image, QColor crBackground)
{
    PicRect area{INT_MAX, INT_MAX, INT_MIN, INT_MIN};
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (image.pixelColor(x, y) != crBackground) {
                area.left = std::min(area.left, x);
                area.top = std::min(area.top, y);
                area.right = std::max(area.right, x + 1);
                area.bottom = std::max(area.bottom, y + 1);
            }
    return area;
}

QImage Canvas(int nWidth = 1100, int nHeight = 800)
{
    QImage canvas(nWidth, nHeight, QImage::Format_RGB32);
    canvas.fill(Qt::black);
    return canvas;
}

void ExpectWarning(const CScriptedPrompter& prompter, const char* pszText)
{
    ASSERT_FALSE(prompter.Asks().empty());
    const auto& asked = prompter.Asks().back();
    EXPECT_EQ(asked.strText, pszText);
    EXPECT_EQ(asked.strCaption, "CBmpUty Warning");
    EXPECT_EQ(asked.icon, MessageIcon::Error);
}

} // namespace

std::ostream& operator<<(std::ostream& out, const PicRect& r)
{
    return out << "(" << r.left << ", " << r.top << ")-(" << r.right << ", " << r.bottom << ")";
}

TEST(BmpUty, CreateChecksTheWidthAndBindsOneWindowOnce)
{
    CScriptedPrompter prompter;
    QWidget window;
    window.resize(697, 232);
    QWidget other;
    other.resize(100, 100);
    CBmpUty bmp;
    EXPECT_EQ(bmp.Create(nullptr, SRC_W, SRC_H, 3), -1);
    EXPECT_TRUE(prompter.Asks().empty());
    EXPECT_EQ(bmp.Create(&window, 698, SRC_H, 3), -1);
    ExpectWarning(prompter, "WIDTHが４の倍数でない");
    EXPECT_FALSE(bmp.IsCreated());

    ASSERT_EQ(bmp.Create(&window, SRC_W, SRC_H, 3), 0);
    EXPECT_EQ(bmp.GetDestWidth(), 700);
    EXPECT_EQ(bmp.GetDestHeight(), 232);
    EXPECT_EQ(prompter.Asks().size(), 1u);

    EXPECT_EQ(bmp.Create(&other, SRC_W, SRC_H, 3), -1);
    ExpectWarning(prompter, "ICBは、実体化したクラスに１つしか使用できません。\n\nV02L00より仕様変更");
    const int nBrush = bmp.AddBrush(CBmpUty::HS_SOLID, 0, 0, 255);
    bmp.Clear(nBrush);
    EXPECT_EQ(bmp.GetDestWidth(), 700);
    EXPECT_EQ(bmp.Surface().pixelColor(696, 231), QColor(0, 0, 255));
    EXPECT_EQ(window.grab().toImage().pixelColor(696, 231), QColor(0, 0, 255)) << "the window shows the drawing";
    EXPECT_NE(other.grab().toImage().pixelColor(50, 50), QColor(0, 0, 255));

    bmp.Release();
    EXPECT_FALSE(bmp.IsCreated());
    EXPECT_EQ(bmp.Create(&other, SRC_W, SRC_H, 3), 0);
    EXPECT_EQ(bmp.GetDestWidth(), 100);
    EXPECT_EQ(prompter.Asks().size(), 2u);
}

TEST(BmpUty, DrawPictureFillsTheDestinationSizeFromOneOne)
{
    QWidget window;
    window.resize(697, 232);
    CBmpUty bmp;
    ASSERT_EQ(bmp.Create(&window, SRC_W, SRC_H, 3), 0);
    const std::vector<unsigned char> bits = HalfAndHalf();

    // Through a caller's painter the whole 700 x 232 destination shows.
    QImage canvas = Canvas();
    QPainter painter(&canvas);
    bmp.SetPainter(&painter);
    bmp.DrawPicture(bits.data(), SRC_W, SRC_H);
    painter.end();
    bmp.SetPainter(nullptr);
    EXPECT_EQ(PaintedArea(canvas, Qt::black), (PicRect{1, 1, 701, 233}));
    EXPECT_EQ(canvas.pixelColor(340, 100), QColor(255, 0, 0));
    EXPECT_EQ(canvas.pixelColor(360, 100), QColor(0, 255, 0));

    // On the window, what lies beyond its 697 columns is cut off.
    bmp.DrawPicture(bits.data(), SRC_W, SRC_H);
    const QImage shown = window.grab().toImage();
    EXPECT_EQ(shown.pixelColor(1, 1), QColor(255, 0, 0));
    EXPECT_EQ(shown.pixelColor(696, 231), QColor(0, 255, 0));
    EXPECT_NE(shown.pixelColor(0, 0), QColor(255, 0, 0));
}

TEST(BmpUty, DrawPictureInRectScalesWithIntegerArithmetic)
{
    struct Case {
        int nWindowWidth;
        int nWindowHeight;
        PicRect rect;
        PicRect dest;
    } cases[] = {
        {697, 232, {348, 116, 696, 232}, {350, 116, 700, 232}},
        {697, 232, {1, 1, 691, 232}, {1, 1, 694, 232}},     // 691 x 700 / 696 = 694.97
        {697, 232, {174, 58, 345, 115}, {175, 58, 346, 115}},
        {1024, 768, {0, 0, 174, 58}, {0, 0, 256, 192}},
        {1024, 768, {524, 174, 696, 232}, {770, 576, 1024, 768}},
    };
    const std::vector<unsigned char> bits = HalfAndHalf();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.nWindowWidth);
        QWidget window;
        window.resize(c.nWindowWidth, c.nWindowHeight);
        CBmpUty bmp;
        ASSERT_EQ(bmp.Create(&window, SRC_W, SRC_H, 3), 0);
        EXPECT_EQ(bmp.DestRect(SRC_W, SRC_H, c.rect), c.dest);
        QImage canvas = Canvas();
        QPainter painter(&canvas);
        bmp.SetPainter(&painter);
        bmp.DrawPictureInRect(bits.data(), SRC_W, SRC_H, c.rect);
        painter.end();
        EXPECT_EQ(PaintedArea(canvas, Qt::black), c.dest);
        // The whole picture is stretched, not a part of it cut out.
        EXPECT_EQ(canvas.pixelColor(c.dest.left, c.dest.top), QColor(255, 0, 0));
        EXPECT_EQ(canvas.pixelColor(c.dest.right - 1, c.dest.bottom - 1), QColor(0, 255, 0));
    }
}

TEST(BmpUty, ClearLineAndFrameBoxDrawWithTheirTools)
{
    QWidget window;
    window.resize(200, 100);
    CBmpUty bmp;
    ASSERT_EQ(bmp.Create(&window, SRC_W, SRC_H, 3), 0);
    const int nWhite = bmp.AddBrush(CBmpUty::HS_SOLID, 255, 255, 255);
    const int nCross = bmp.AddBrush(CBmpUty::HS_CROSS, 255, 0, 0);
    const int nBlack = bmp.AddPen(CBmpUty::PS_SOLID, 1, 0, 0, 0);
    const int nGrey = bmp.AddPen(CBmpUty::PS_SOLID, 3, 180, 180, 180);
    const int nDash = bmp.AddPen(CBmpUty::PS_DASH, 1, 0, 0, 255);
    const int nNull = bmp.AddPen(CBmpUty::PS_NULL, 1, 0, 0, 0);
    const QImage& s = bmp.Surface();

    // A hatched brush fills its gaps with white (opaque background).
    bmp.Clear(nCross);
    int nRed = 0;
    for (int y = 0; y < 100; ++y)
        for (int x = 0; x < 200; ++x) {
            const QColor c = s.pixelColor(x, y);
            ASSERT_TRUE(c == QColor(255, 0, 0) || c == QColor(255, 255, 255)) << x << "," << y;
            nRed += c == QColor(255, 0, 0);
        }
    EXPECT_GT(nRed, 0);
    EXPECT_LT(nRed, 200 * 100 / 2);

    bmp.Clear(nWhite);
    EXPECT_EQ(PaintedArea(s, Qt::white).right, INT_MIN);

    bmp.FrameBox(nBlack, 10, 20, 30, 40);
    EXPECT_EQ(PaintedArea(s, Qt::white), (PicRect{10, 20, 42, 62}));
    for (QPoint p : {QPoint(10, 20), QPoint(41, 20), QPoint(41, 61), QPoint(10, 61), QPoint(25, 20), QPoint(10, 40)})
        EXPECT_EQ(s.pixelColor(p), QColor(0, 0, 0)) << p.x() << "," << p.y();
    EXPECT_EQ(s.pixelColor(25, 40), QColor(255, 255, 255));

    bmp.Clear(nWhite);
    bmp.Line(nGrey, 100, 10, 100, 90);
    EXPECT_EQ(s.pixelColor(99, 50), QColor(180, 180, 180));
    EXPECT_EQ(s.pixelColor(101, 50), QColor(180, 180, 180));
    EXPECT_EQ(s.pixelColor(98, 50), QColor(255, 255, 255));
    EXPECT_EQ(s.pixelColor(102, 50), QColor(255, 255, 255));

    // A dashed pen leaves its gaps alone (transparent background).
    bmp.Clear(nCross);
    const QImage before = s.copy();
    bmp.Line(nDash, 0, 50, 199, 50);
    int nBlue = 0;
    int nKept = 0;
    for (int x = 0; x < 200; ++x) {
        nBlue += s.pixelColor(x, 50) == QColor(0, 0, 255);
        nKept += s.pixelColor(x, 50) == before.pixelColor(x, 50);
    }
    EXPECT_GT(nBlue, 50);
    EXPECT_GT(nKept, 20);

    const QImage beforeNull = s.copy();
    bmp.Line(nNull, 0, 0, 199, 99);
    EXPECT_EQ(s, beforeNull);
}

TEST(BmpUty, PenAndBrushTablesReportWhatTheyRefuse)
{
    CScriptedPrompter prompter;
    CBmpUty bmp;
    for (int i = 0; i < CBmpUty::MAX_BRUSHTBL; ++i)
        ASSERT_EQ(bmp.AddBrush(CBmpUty::HS_SOLID, i, i, i), i);
    EXPECT_TRUE(prompter.Asks().empty());
    EXPECT_EQ(bmp.AddBrush(CBmpUty::HS_SOLID, 0, 0, 0), -1);
    ExpectWarning(prompter, "ブラシ確保失敗\n\nMAX_BRUSHTBLの増加を検討");
    bmp.RemoveBrush(3);
    EXPECT_EQ(bmp.AddBrush(CBmpUty::HS_VERTICAL, 0, 0, 0), 3);

    // A refused pen returns the free index and leaves it free.
    prompter.Clear();
    EXPECT_EQ(bmp.AddPen(CBmpUty::PS_DASH, 2, 0, 0, 0), 0);
    ExpectWarning(prompter, "ペン作成失敗\n\nペン幅は１以下にすること");
    EXPECT_EQ(bmp.AddPen(7, 1, 0, 0, 0), 0);
    ExpectWarning(prompter, "ペン作成の種別が不明");
    EXPECT_EQ(prompter.Asks().size(), 2u);
    for (int i = 0; i < CBmpUty::MAX_COLORTBL; ++i)
        ASSERT_EQ(bmp.AddPen(i % 7, 1, 0, 0, 0), i);
    EXPECT_EQ(prompter.Asks().size(), 2u);
    EXPECT_EQ(bmp.AddPen(CBmpUty::PS_SOLID, 1, 0, 0, 0), -1);
    ExpectWarning(prompter, "ペン確保失敗\n\nMAX_COLORTBLの増加を検討");
    bmp.RemovePen(15);
    EXPECT_EQ(bmp.AddPen(CBmpUty::PS_SOLID, 5, 0, 0, 0), 15);
}

TEST(BmpUty, MisuseDrawsNothingAndNeverFails)
{
    CScriptedPrompter prompter;
    const std::vector<unsigned char> bits = HalfAndHalf();
    QWidget window;
    window.resize(200, 100);
    CBmpUty bmp;
    const int nBrush = bmp.AddBrush(CBmpUty::HS_SOLID, 255, 0, 0);
    const int nPen = bmp.AddPen(CBmpUty::PS_SOLID, 1, 255, 0, 0);
    bmp.DrawPicture(bits.data(), SRC_W, SRC_H); // not created yet
    bmp.Clear(nBrush);
    ASSERT_EQ(bmp.Create(&window, SRC_W, SRC_H, 3), 0);
    const QImage blank = bmp.Surface().copy();

    bmp.DrawPicture(nullptr, SRC_W, SRC_H);
    bmp.DrawPictureInRect(bits.data(), 0, SRC_H, {0, 0, 10, 10});
    bmp.DrawPictureInRect(bits.data(), SRC_W, 0, {0, 0, 10, 10});
    bmp.DrawPictureInRect(bits.data(), SRC_W, SRC_H, {50, 50, 50, 60}); // empty
    for (int n : {-1, CBmpUty::MAX_BRUSHTBL, 99, nBrush + 1})
        bmp.Clear(n);
    for (int n : {-1, CBmpUty::MAX_COLORTBL, 99, nPen + 1}) {
        bmp.Line(n, 0, 0, 100, 100);
        bmp.FrameBox(n, 5, 5, 50, 50);
    }
    bmp.RemovePen(-1);
    bmp.RemovePen(CBmpUty::MAX_COLORTBL);
    bmp.RemoveBrush(CBmpUty::MAX_BRUSHTBL);
    EXPECT_EQ(bmp.Surface(), blank);
    EXPECT_TRUE(prompter.Asks().empty());

    bmp.Release();
    bmp.Clear(nBrush);
    EXPECT_TRUE(bmp.Surface().isNull());
}
