#include "widgets/colorbtn.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QPainter>
#include <QScreen>
#include <QWidget>
#include <gtest/gtest.h>

namespace {

const QColor YELLOW(255, 255, 0);
const QColor GREEN(0, 255, 0);
const QColor TEXT(1, 1, 1);
const QColor DISABLED(192, 192, 192);

QColor Grey(int n)
{
    return QColor(n, n, n);
}

int CountPixels(const QImage& image, const QColor& crColour)
{
    int n = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            n += image.pixelColor(x, y) == crColour;
    return n;
}

// A shown, active top-level window holding one colour button with a large caption.
struct ButtonWindow {
    QWidget window;
    CColorButton* pButton = new CColorButton(&window);

    ButtonWindow()
    {
        pButton->setObjectName("id1197");
        pButton->setText("16");
        QFont font = pButton->font();
        font.setPixelSize(20);
        font.setBold(true);
        pButton->setFont(font);
        pButton->setGeometry(10, 10, 60, 32);
        window.resize(100, 60);
        EXPECT_TRUE(pButton->Attach(1197, &window, YELLOW, TEXT, DISABLED, 2));
        window.show();
        QApplication::setActiveWindow(&window);
    }
};

} // namespace

TEST(ColorButton, DrawFrameRingColours)
{
    struct Ring {
        QColor crTopLeft;
        QColor crBottomRight;
    };
    struct Case {
        int nBevel;
        std::vector<Ring> rings;
    } cases[] = {
        {2, {{Grey(255), Grey(127)}, {Grey(223), Grey(85)}}},
        {-2, {{Grey(127), Grey(255)}, {Grey(85), QColor(1, 1, 1)}}},
        {1, {{Grey(255), Grey(128)}}},
        {-1, {{Grey(128), Grey(255)}}},
        {3, {{Grey(255), Grey(127)}, {Grey(223), Grey(85)}, {Grey(213), Grey(63)}}},
    };
    const int w = 40;
    const int h = 30;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.nBevel);
        QImage image(w, h, QImage::Format_RGB32);
        image.fill(YELLOW);
        {
            QPainter painter(&image);
            CColorButton::DrawFrame(painter, image.rect(), c.nBevel);
        }
        for (int i = 0; i < static_cast<int>(c.rings.size()); ++i) {
            SCOPED_TRACE(i);
            const Ring& r = c.rings[static_cast<std::size_t>(i)];
            EXPECT_EQ(image.pixelColor(i, i), r.crTopLeft);                 // top-left corner
            EXPECT_EQ(image.pixelColor(w - 1 - i, i), r.crTopLeft);         // the top edge runs to the end
            EXPECT_EQ(image.pixelColor(i, h - 1 - i), r.crTopLeft);         // so does the left edge
            EXPECT_EQ(image.pixelColor(20, h - 1 - i), r.crBottomRight);    // bottom edge
            EXPECT_EQ(image.pixelColor(w - 1 - i, 15), r.crBottomRight);    // right edge
            EXPECT_EQ(image.pixelColor(w - 1 - i, h - 1 - i), r.crBottomRight);
        }
        const int n = static_cast<int>(c.rings.size());
        EXPECT_EQ(image.pixelColor(n, 15), YELLOW);
        EXPECT_EQ(image.pixelColor(20, n), YELLOW);
    }
}

TEST(ColorButton, PaintsFaceCaptionFocusPressedAndDisabled)
{
    ButtonWindow bw;
    CColorButton& button = *bw.pButton;
    button.clearFocus();

    QImage image = button.grab().toImage();
    EXPECT_EQ(image.pixelColor(0, 0), Grey(255));
    EXPECT_EQ(image.pixelColor(59, 31), Grey(127));
    EXPECT_EQ(image.pixelColor(4, 4), YELLOW);
    EXPECT_GT(CountPixels(image, TEXT), 10) << "caption in the text colour";
    EXPECT_EQ(CountPixels(image, DISABLED), 0);

    // Focus: a dotted rectangle 4 pixels inside, inverted over the face.
    button.setFocus();
    ASSERT_TRUE(button.hasFocus());
    image = button.grab().toImage();
    const QColor crInverted(0, 0, 255);
    EXPECT_EQ(image.pixelColor(4, 4), crInverted);
    EXPECT_EQ(image.pixelColor(5, 4), YELLOW);
    EXPECT_EQ(image.pixelColor(6, 4), crInverted);
    EXPECT_EQ(image.pixelColor(55, 27), crInverted);

    // Pressed: one ring, dark top-left and white bottom-right, focus still shown.
    button.setDown(true);
    image = button.grab().toImage();
    EXPECT_EQ(image.pixelColor(10, 0), Grey(128));
    EXPECT_EQ(image.pixelColor(0, 10), Grey(128));
    EXPECT_EQ(image.pixelColor(10, 31), Grey(255));
    EXPECT_EQ(image.pixelColor(59, 10), Grey(255));
    EXPECT_EQ(image.pixelColor(10, 1), YELLOW);
    EXPECT_EQ(image.pixelColor(4, 4), crInverted);
    button.setDown(false);

    // Disabled: the caption drawn again, over itself, in the disabled colour.
    button.clearFocus();
    button.setEnabled(false);
    image = button.grab().toImage();
    EXPECT_GT(CountPixels(image, DISABLED), 10);
    EXPECT_EQ(CountPixels(image, TEXT), 0);
    EXPECT_EQ(image.pixelColor(4, 4), YELLOW);
}

TEST(ColorButton, SetColorRepaintsTheShownButton)
{
    ButtonWindow bw;
    QCoreApplication::processEvents();
    auto shown = [&bw] {
        return QGuiApplication::primaryScreen()->grabWindow(bw.window.winId()).toImage().pixelColor(10 + 3, 10 + 3);
    };
    ASSERT_EQ(shown(), YELLOW);
    bw.pButton->SetColor(GREEN, TEXT, DISABLED, 2);
    QCoreApplication::processEvents();
    EXPECT_EQ(shown(), GREEN);
    EXPECT_EQ(bw.pButton->GetFaceColor(), GREEN);
}

TEST(ColorButton, AttachTakesOverTheDialogButtonWithThatId)
{
    QWidget dialog;
    auto* pLayout = new QHBoxLayout(&dialog);
    pLayout->addWidget(new QPushButton("0", &dialog));
    auto* pPlain = new QPushButton("4", &dialog);
    pPlain->setObjectName("id1143");
    pPlain->setEnabled(false);
    pLayout->addWidget(pPlain);

    CColorButton button;
    EXPECT_FALSE(button.Attach(1999, &dialog, YELLOW, TEXT, DISABLED, 3));
    EXPECT_NE(button.GetFaceColor(), YELLOW);
    EXPECT_NE(button.GetBevel(), 3);

    ASSERT_TRUE(button.Attach(1143, &dialog, GREEN, TEXT, DISABLED, 2));
    const auto found = dialog.findChildren<QAbstractButton*>("id1143");
    ASSERT_EQ(found.size(), 1);
    EXPECT_EQ(found[0], &button);
    EXPECT_EQ(pLayout->indexOf(&button), 1);
    EXPECT_EQ(button.text(), "4");
    EXPECT_FALSE(button.isEnabled());
    EXPECT_EQ(button.GetFaceColor(), GREEN);
}
