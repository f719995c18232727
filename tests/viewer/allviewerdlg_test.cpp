#include "viewerfixture.h"

#include "viewer/allviewerdlg.h"

#include <QGuiApplication>
#include <QScreen>
#include <QTest>
#include <QTimer>

TEST(FullScreenCells, ColumnsLeaveRoomForTheGridAndTheSingleCellCoversThePicture)
{
    EXPECT_EQ(CAllViewerDlg::CellRect(0, 0, 4), (PicRect {0, 0, 174, 58}));
    EXPECT_EQ(CAllViewerDlg::CellRect(0, 1, 4).left, 176);
    EXPECT_EQ(CAllViewerDlg::CellRect(3, 3, 4), (PicRect {524, 174, 696, 232}));
    EXPECT_EQ(CAllViewerDlg::CellRect(0, 0, 1), (PicRect {0, 0, 696, 234}));
    EXPECT_EQ(CAllViewerDlg::CellRect(1, 2, 3), (PicRect {464, 78, 696, 155}));
    EXPECT_EQ(CAllViewerDlg::CellRect(0, 4, 4), PicRect {});
}

TEST_F(ViewerTest, FullScreenMirrorsTheViewersCells)
{
    Click(CViewerDlg::CAMERA_IDS[5]);
    Click(CViewerDlg::DIVISION_IDS[1]);
    Poll();
    GoToRecordingStart();
    Click(CViewerDlg::IDC_PLAY);
    Tick(24);
    ASSERT_EQ(CellCameras(Page().GetBmp(), 2, &CViewerDlg::CellRect), (std::vector<int> {5, 6, 7, 8}));

    CAllViewerDlg dlg(&Page());
    dlg.GetTimer()->stop();
    EXPECT_TRUE(dlg.windowFlags() & Qt::FramelessWindowHint);
    EXPECT_EQ(dlg.geometry(), Page().screen()->geometry());
    EXPECT_EQ(dlg.GetPictureArea()->size(), Page().screen()->geometry().size());
    dlg.OnTimer();
    EXPECT_EQ(CellCameras(dlg.GetBmp(), 2, &CAllViewerDlg::CellRect), (std::vector<int> {5, 6, 7, 8}));
}

// In all-cameras mode the view shows the slots one after another, one a tick,
// keeping the last picture over slots that have none; in the still state it
// shows the picture the viewer fetched last.
TEST_F(ViewerTest, FullScreenCyclesThroughTheSlotsInAllCamerasMode)
{
    Click(CViewerDlg::IDC_ALL);
    Poll();
    GoToRecordingStart();
    Click(CViewerDlg::IDC_PLAY);
    Tick(4); // measuring the cycle: every second camera's slot fills
    int nFilled = 0;
    for (int k = 0; k < 16; ++k)
        nFilled += Page().HasPicture(k) ? 1 : 0;
    ASSERT_EQ(nFilled, 4);

    CAllViewerDlg dlg(&Page());
    dlg.GetTimer()->stop();
    const QSize size = dlg.GetPictureArea()->size();
    const QPoint sample(size.width() * 640 / 696, size.height() * 23 / 232);
    int nExpected = 0;
    for (int i = 0; i < 32; ++i) {
        const int k = dlg.GetAllIndex();
        ASSERT_EQ(k, i % 16);
        dlg.OnTimer();
        if (Page().HasPicture(k))
            nExpected = k + 1;
        EXPECT_EQ(CameraAt(dlg.GetBmp().Surface(), sample.x(), sample.y()), nExpected) << i;
    }

    Click(CViewerDlg::IDC_PAUSE);
    const int nLast = Page().GetLastPictureCamera() + 1;
    for (int i = 0; i < 3; ++i) {
        dlg.OnTimer();
        EXPECT_EQ(CameraAt(dlg.GetBmp().Surface(), sample.x(), sample.y()), nLast);
    }
}

TEST_F(ViewerTest, FullScreenClosesOnAClickOrEscButNotOnEnter)
{
    {
        CAllViewerDlg dlg(&Page());
        bool bOpenAfterEnter = false;
        QTimer::singleShot(0, &dlg, [&] {
            QTest::keyClick(&dlg, Qt::Key_Return);
            QTest::keyClick(&dlg, Qt::Key_Enter);
            bOpenAfterEnter = dlg.isVisible();
            QTest::keyClick(&dlg, Qt::Key_Escape);
        });
        EXPECT_EQ(dlg.exec(), QDialog::Rejected);
        EXPECT_TRUE(bOpenAfterEnter);
    }
    {
        CAllViewerDlg dlg(&Page());
        QTimer::singleShot(0, &dlg, [&] { QTest::mouseClick(dlg.GetPictureArea(), Qt::LeftButton, {}, QPoint(50, 50)); });
        EXPECT_EQ(dlg.exec(), QDialog::Accepted);
    }
}
