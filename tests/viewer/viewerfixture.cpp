#include "viewerfixture.h"

#include "fixtures/connectedapp.h"

#include "link/vx2200ctrl.h"
#include "sim/simpicture.h"

#include <QAbstractButton>
#include <QTest>
#include <QTimer>

#include <algorithm>
#include <array>
#include <cstdlib>
#include <cstring>

namespace {

constexpr int SETTING_RI = 9;

CRecorderSim::Options SimOptions()
{
    CRecorderSim::Options options;
    options.start = SimDateTime {2004, 1, 23, 12, 34, 56};
    return options;
}

// A place of the picture that only the background colour covers, as a
// fraction of the display picture (696 x 232): column 640, row 23.
constexpr int SAMPLE_X = 640;
constexpr int SAMPLE_Y = 23;
// In the recorder's frame, the visible area starts at column 9, row 17.
constexpr int FRAME_X = SAMPLE_X + 9;
constexpr int FRAME_Y = SAMPLE_Y + 17;
constexpr int COLOUR_TOLERANCE = 45;

const std::array<QColor, 16>& CameraColours()
{
    static const std::array<QColor, 16> colours = [] {
        std::array<QColor, 16> result;
        std::vector<std::uint8_t> rgb(CSimPicture::FRAME_BYTES);
        for (int m = 1; m <= 16; ++m) {
            CSimPicture::Render(m, SimDateTime {2004, 1, 23, 12, 0, 0}, 0, rgb.data());
            const std::uint8_t* p = &rgb[(static_cast<std::size_t>(FRAME_Y) * CSimPicture::WIDTH + FRAME_X) * 3];
            result[static_cast<std::size_t>(m - 1)] = QColor(p[0], p[1], p[2]);
        }
        return result;
    }();
    return colours;
}

} // namespace

ViewerTest::ViewerTest() : m_sim(SimOptions())
{
}

ViewerTest::~ViewerTest()
{
    m_pPage.reset();
    m_pApp.reset();
    CStringTable::SetLanguage(Language::English);
}

void ViewerTest::SetUp()
{
    ASSERT_TRUE(m_sim.Start());
    Open(Language::English);
}

void ViewerTest::Open(Language language)
{
    m_pPage.reset();
    m_pApp.reset();
    CStringTable::SetLanguage(language);
    m_pApp = MakeConnectedApp(m_dir.Path(), m_sim);
    ASSERT_NE(m_pApp, nullptr);
    m_pPage = std::make_unique<CViewerDlg>();
    ASSERT_TRUE(m_pPage->IsInitialised());
    m_pPage->GetTimer()->stop();
    m_pPage->show();
    m_sim.ClearTrace();
}

QAbstractButton* ViewerTest::Button(int nId) const
{
    return m_pPage->findChild<QAbstractButton*>(QStringLiteral("id%1").arg(nId));
}

void ViewerTest::Click(int nId)
{
    QAbstractButton* pButton = Button(nId);
    ASSERT_NE(pButton, nullptr) << nId;
    QTest::mouseClick(pButton, Qt::LeftButton, {}, QPoint(pButton->width() / 2, pButton->height() / 2));
}

void ViewerTest::Tick(int nCount)
{
    for (int i = 0; i < nCount; ++i)
        m_pPage->OnTimer();
}

void ViewerTest::Poll()
{
    Click(CViewerDlg::IDC_STOP);
    Tick();
}

void ViewerTest::GoToRecordingStart()
{
    ASSERT_EQ(m_pApp->GetCtrl()->PictureStep(5), 0);
    m_sim.ClearTrace();
}

void ViewerTest::SetRecording(bool bRecording, int nInterval)
{
    m_sim.SetSetting(SETTING_RI, nInterval);
    m_sim.SetStatus({1, 0, bRecording ? 1 : 0, 0});
}

std::vector<std::string> ViewerTest::ReceivedCodes() const
{
    return ::ReceivedCodes(m_sim);
}

int ViewerTest::CountReceived(const std::string& strCode) const
{
    const std::vector<std::string> codes = ReceivedCodes();
    return static_cast<int>(std::count(codes.begin(), codes.end(), strCode));
}

CSimRecording::Picture ViewerTest::PictureAtPosition()
{
    return m_sim.PictureAt(m_sim.PicturePosition());
}

int CameraAt(const QImage& surface, int x, int y)
{
    if (!surface.valid(x, y))
        return 0;
    const QColor colour = surface.pixelColor(x, y);
    int nBest = 0;
    int nBestDistance = COLOUR_TOLERANCE + 1;
    for (int m = 1; m <= 16; ++m) {
        const QColor& ref = CameraColours()[static_cast<std::size_t>(m - 1)];
        const int nDistance = std::abs(colour.red() - ref.red()) + std::abs(colour.green() - ref.green())
                              + std::abs(colour.blue() - ref.blue());
        if (nDistance < nBestDistance) {
            nBest = m;
            nBestDistance = nDistance;
        }
    }
    return nBest;
}

std::vector<int> CellCameras(const CBmpUty& bmp, int nSplit, CViewerDlg::CellRectFn fnRect)
{
    std::vector<int> cameras;
    for (int nRow = 0; nRow < nSplit; ++nRow) {
        for (int nColumn = 0; nColumn < nSplit; ++nColumn) {
            const PicRect cell = bmp.DestRect(CViewerDlg::PICTURE_WIDTH, CViewerDlg::PICTURE_HEIGHT,
                                              fnRect(nRow, nColumn, nSplit));
            const int x = cell.left + (cell.right - cell.left) * SAMPLE_X / CViewerDlg::PICTURE_WIDTH;
            const int y = cell.top + (cell.bottom - cell.top) * SAMPLE_Y / CViewerDlg::PICTURE_HEIGHT;
            cameras.push_back(CameraAt(bmp.Surface(), x, y));
        }
    }
    return cameras;
}

std::string CameraJpeg(int nCamera, bool bBlankMark)
{
    std::vector<std::uint8_t> rgb(CSimPicture::FRAME_BYTES);
    CSimPicture::Render(nCamera, SimDateTime {2004, 1, 23, 12, 0, 0}, 0, rgb.data());
    if (bBlankMark)
        std::memset(&rgb[4 * CSimPicture::WIDTH * 3], 0, 6 * CSimPicture::WIDTH * 3);
    return CSimPicture::Encode(rgb.data());
}
