// The viewer page's printed page, recorded through the real printing path into
// PDF files: the product name, the frame, the cells of the split and their
// captions.
#include "viewerfixture.h"

#include "link/vx2200ctrl.h"
#include "widgets/printpage.h"
#include "widgets/recordingprintsurface.h"

#include <QAbstractButton>

#include <algorithm>
#include <set>
#include <tuple>

namespace {

using Call = CRecordingPrintSurface::Call;
using Kind = CRecordingPrintSurface::Kind;

PicRect Units(const Call& call)
{
    return {call.x1, call.y1, call.x2, call.y2};
}

// Records the page's calls while it lives.
struct Recording {
    Recording() { CPrintPage::SetRecorder(&recorder); }
    ~Recording() { CPrintPage::SetRecorder(nullptr); }
    CRecordingPrintSurface recorder;
};

} // namespace

class ViewerPrintTest : public ViewerTest {
protected:
    // Shows camera nCamera's first recorded picture (the recording starts with
    // camera 1) and holds it, so that Print is enabled.
    void ShowCamera(int nCamera)
    {
        GoToRecordingStart();
        for (int i = 1; i < nCamera + 1; ++i)
            ASSERT_EQ(m_pApp->GetCtrl()->PictureStep(1), 0);
        Click(CViewerDlg::IDC_RSTEP);
        Tick();
        ASSERT_EQ(Page().GetLastPictureCamera(), nCamera - 1);
    }
    // Prints into a PDF at nResolution dots per inch and returns what was drawn.
    std::vector<Call> Print(const std::string& strName, int nResolution = 96)
    {
        Recording recording;
        m_prompter.AnswerPrinter(m_dir / strName, nResolution);
        Click(CViewerDlg::IDC_PRINT);
        EXPECT_EQ(ReadAll(m_dir / strName).substr(0, 4), "%PDF") << strName;
        return recording.recorder.Calls();
    }
};

TEST_F(ViewerPrintTest, OnePictureWithItsCameraTimeAndFileSize)
{
    ShowCamera(1);
    const std::vector<Call> calls = Print("one.pdf");
    std::vector<Call> texts;
    std::copy_if(calls.begin(), calls.end(), std::back_inserter(texts), [](const Call& c) { return c.kind == Kind::Text; });
    ASSERT_EQ(texts.size(), 3u);
    const std::tuple<int, int, QString> expected[] = {
        {50, 80, "VX-2200NET"},
        {50, 100, "Camera No. 01  :  01/23/2004 11:34:56"},
        {50, 120, QStringLiteral("FileSize : %1 bytes").arg(Page().GetSlotFileSize(0))},
    };
    for (std::size_t i = 0; i < texts.size(); ++i) {
        EXPECT_EQ(std::make_tuple(texts[i].x1, texts[i].y1, texts[i].strText), expected[i]);
        EXPECT_EQ(texts[i].nPoints, 12);
    }
    EXPECT_GT(Page().GetSlotFileSize(0), 1000);
    std::vector<Call> pictures;
    std::copy_if(calls.begin(), calls.end(), std::back_inserter(pictures), [](const Call& c) { return c.kind == Kind::Picture; });
    ASSERT_EQ(pictures.size(), 1u);
    EXPECT_EQ(Units(pictures[0]), (PicRect {50, 150, 689, 631}));
    EXPECT_EQ(pictures[0].pBits, Page().GetSlotPicture(0));
    EXPECT_EQ(pictures[0].imageSize, QSize(696, 232));
    // The frame of one picture: 640 x 480 in the grey pen.
    const auto rect = std::find_if(calls.begin(), calls.end(), [](const Call& c) { return c.kind == Kind::Rectangle; });
    ASSERT_NE(rect, calls.end());
    EXPECT_EQ(Units(*rect), (PicRect {50, 150, 690, 630}));
    EXPECT_EQ(rect->pen, (PrintPen {QColor(180, 180, 180), 3}));
}

// Sixteen cells, only cameras 1 and 7 with pictures: two cells filled with
// their captions in 6 point, and every cell framed by the grid.
TEST_F(ViewerPrintTest, SixteenCellsWithTwoPictures)
{
    Click(CViewerDlg::DIVISION_IDS[3]);
    ShowCamera(1);
    ShowCamera(7);
    const std::vector<Call> calls = Print("sixteen.pdf");
    std::vector<std::pair<PicRect, const std::uint8_t*>> pictures;
    std::set<std::tuple<int, int, int, int, bool>> lines;
    std::vector<Call> captions;
    for (const Call& c : calls) {
        if (c.kind == Kind::Picture)
            pictures.emplace_back(Units(c), c.pBits);
        if (c.kind == Kind::Line)
            lines.insert({c.x1, c.y1, c.x2, c.y2, c.pen.nWidth == 3});
        if (c.kind == Kind::Text && c.strText != "VX-2200NET")
            captions.push_back(c);
    }
    const std::vector<std::pair<PicRect, const std::uint8_t*>> expected = {
        {{50, 150, 209, 271}, Page().GetSlotPicture(0)},
        {{372, 297, 529, 415}, Page().GetSlotPicture(6)},
    };
    EXPECT_EQ(pictures, expected);
    ASSERT_EQ(captions.size(), 4u);
    EXPECT_EQ(std::make_tuple(captions[0].x1, captions[0].y1, captions[0].nPoints), std::make_tuple(55, 273, 6));
    EXPECT_EQ(std::make_tuple(captions[1].x1, captions[1].y1), std::make_tuple(55, 282));
    EXPECT_EQ(captions[2].strText, "Camera No. 07  :  01/23/2004 11:35:02");
    EXPECT_EQ(std::make_tuple(captions[2].x1, captions[2].y1), std::make_tuple(377, 417));
    // Grey lines at every cell edge (and black ones two units beside), the
    // frame's height 580 split in four.
    std::set<std::tuple<int, int, int, int, bool>> grid;
    for (int i = 1; i <= 4; ++i) {
        const int x = 50 + 160 * i;
        const int y = 150 + 145 * i;
        grid.insert({x, 150, x, 730, true});
        grid.insert({x + 2, 150, x + 2, 730, false});
        grid.insert({50, y, 690, y, true});
        grid.insert({50, y + 2, 690, y + 2, false});
    }
    EXPECT_EQ(lines, grid);
    for (int nRow = 0; nRow < 4; ++nRow) {
        for (int nColumn = 0; nColumn < 4; ++nColumn) {
            const PicRect cell = CViewerDlg::PrintCellRect(nRow, nColumn, 4);
            EXPECT_GE(cell.left, 50 + 160 * nColumn + (nColumn == 0 ? 0 : 2));
            EXPECT_LT(cell.right, 50 + 160 * (nColumn + 1));
            EXPECT_GE(cell.top, 150 + 145 * nRow);
            EXPECT_LT(cell.bottom, 150 + 145 * (nRow + 1));
        }
    }
}

// A printer of twice the resolution gets every device position doubled; the
// page units stay.
TEST_F(ViewerPrintTest, TwiceTheResolutionDoublesEveryDevicePosition)
{
    Click(CViewerDlg::DIVISION_IDS[2]);
    ShowCamera(1);
    ShowCamera(5);
    const std::vector<Call> single = Print("96.pdf", 96);
    const std::vector<Call> twice = Print("192.pdf", 192);
    ASSERT_EQ(single.size(), twice.size());
    ASSERT_GT(single.size(), 20u);
    for (std::size_t i = 0; i < single.size(); ++i) {
        if (single[i].kind == Kind::Font || single[i].kind == Kind::Pen)
            continue;
        EXPECT_EQ(Units(single[i]), Units(twice[i])) << i;
        EXPECT_EQ(Units(single[i]), single[i].device) << i;
        const PicRect& d = twice[i].device;
        EXPECT_EQ(d, (PicRect {2 * single[i].x1, 2 * single[i].y1, 2 * single[i].x2, 2 * single[i].y2})) << i;
    }
}

TEST_F(ViewerPrintTest, AllCamerasPrintTheLastPictureAndCancellingPrintsNothing)
{
    Click(CViewerDlg::IDC_ALL);
    ShowCamera(5);
    const std::vector<Call> calls = Print("all.pdf");
    std::vector<Call> pictures;
    std::copy_if(calls.begin(), calls.end(), std::back_inserter(pictures), [](const Call& c) { return c.kind == Kind::Picture; });
    ASSERT_EQ(pictures.size(), 1u);
    EXPECT_EQ(pictures[0].pBits, Page().GetSlotPicture(4));
    const auto caption = std::find_if(calls.begin(), calls.end(), [](const Call& c) {
        return c.kind == Kind::Text && c.strText.startsWith("Camera No. 05  :  ");
    });
    EXPECT_NE(caption, calls.end());

    Recording recording;
    m_prompter.Clear();
    Click(CViewerDlg::IDC_PRINT); // the dialog is cancelled
    ASSERT_EQ(m_prompter.Asks().size(), 1u);
    EXPECT_EQ(m_prompter.Asks()[0].kind, CScriptedPrompter::Asked::Kind::Printer);
    EXPECT_EQ(m_prompter.Asks()[0].strText, "Varnel - DVR Image");
    EXPECT_TRUE(recording.recorder.Calls().empty());
    // A document that cannot be started prints nothing and says nothing.
    m_prompter.AnswerPrinter(m_dir / "no/such/folder/out.pdf");
    Click(CViewerDlg::IDC_PRINT);
    EXPECT_TRUE(recording.recorder.Calls().empty());
    EXPECT_EQ(m_prompter.Asks().size(), 2u);
}
