// Playback from the search page in the program's main window: search mode ends,
// the viewer page takes the found picture up in play state 9 and holds it, and
// the hand-over mark is cleared.
#include "searchfixture.h"

#include "app/pagehost.h"
#include "shell/menutabctrl.h"
#include "shell/vx2200netdlg.h"
#include "viewer/viewerdlg.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QLineEdit>
#include <QTimer>

TEST_F(SearchTest, PlaybackHandsTheFoundPictureToTheViewer)
{
    m_pPage.reset(); // the main window's own pages are used
    CVX2200NETDlg main;
    m_pApp->SetMainWnd(&main);
    main.show();
    main.EnableTabs(true);
    main.GetTabCtrl()->SelectTab(0);
    auto* pViewer = static_cast<CViewerDlg*>(main.GetTabCtrl()->GetPage(CMenuTabCtrl::PAGE_VIEWER));
    auto* pSearch = static_cast<CSearchDlg*>(main.GetTabCtrl()->GetPage(CMenuTabCtrl::PAGE_SEARCH));
    pViewer->GetTimer()->stop();
    pSearch->GetTimer()->stop();
    pViewer->findChild<QAbstractButton*>("id1662")->click();
    ASSERT_TRUE(main.IsSearchMode());
    ASSERT_TRUE(pSearch->isVisible());

    // Camera 3 from 09:00.
    pSearch->findChild<QLineEdit*>("id1643")->setText("09");
    pSearch->findChild<QLineEdit*>("id1644")->setText("00");
    pSearch->findChild<QComboBox*>("id1641")->setCurrentIndex(3);
    pSearch->OnSearch();
    pSearch->OnTimer();
    const CSearchDlg::Thumb thumb = pSearch->GetThumb(0);
    ASSERT_TRUE(thumb.bFound);
    pSearch->OpenThumbnail(0);
    EXPECT_EQ(m_pApp->GetPlaybackCamera(), 3);

    pSearch->findChild<QAbstractButton*>("id1134")->click();
    EXPECT_FALSE(main.IsSearchMode());
    EXPECT_TRUE(pViewer->isVisible());
    EXPECT_FALSE(pSearch->isVisible());
    EXPECT_EQ(m_pApp->GetSearchPlayback(), 1);
    EXPECT_TRUE(main.GetSearchPlaybackMark());
    EXPECT_EQ(pViewer->GetPlayState(), CViewerDlg::PLAY_SEARCH);
    EXPECT_EQ(pViewer->GetCamera(), 3);
    EXPECT_EQ(pViewer->GetSplit(), 1);

    // The next tick shows the found picture and holds it.
    pViewer->OnTimer();
    EXPECT_EQ(pViewer->GetPlayState(), CViewerDlg::PLAY_STILL);
    EXPECT_EQ(m_pApp->GetSearchPlayback(), 0);
    EXPECT_FALSE(main.GetSearchPlaybackMark());
    const std::uint8_t* pInfo = pViewer->GetLastInfo();
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(pInfo) + 5, 12), std::string(thumb.digits.data(), 12));
    EXPECT_EQ(pViewer->GetLastPictureCamera(), 2);
    EXPECT_TRUE(pViewer->HasPicture(2));

    // Back on the search page the results are still there.
    pViewer->findChild<QAbstractButton*>("id1662")->click();
    EXPECT_EQ(pSearch->GetPageCount(), 1);

    // A playback the viewer never took up (search mode came back before its
    // tick) is given up: the next one is handed over again.
    pSearch->OpenThumbnail(0);
    pSearch->OnPlayback();
    EXPECT_TRUE(main.GetSearchPlaybackMark());
    pViewer->findChild<QAbstractButton*>("id1662")->click();
    EXPECT_FALSE(main.GetSearchPlaybackMark());
    EXPECT_EQ(pViewer->GetPlayState(), CViewerDlg::PLAY_STOP);
    pSearch->OpenThumbnail(0);
    pSearch->OnPlayback();
    EXPECT_FALSE(main.IsSearchMode());
    EXPECT_EQ(pViewer->GetPlayState(), CViewerDlg::PLAY_SEARCH);
    pViewer->findChild<QAbstractButton*>("id1662")->click();
    EXPECT_EQ(m_pApp->GetSearchPlayback(), 0);
    EXPECT_EQ(pSearch->GetPageCount(), 1);
    EXPECT_FALSE(pSearch->IsLargePicture());
    m_pApp->SetMainWnd(nullptr);
}
