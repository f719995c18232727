#include "searchfixture.h"

#include "fixtures/connectedapp.h"

#include "link/vx2200ctrl.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QLineEdit>
#include <QTest>
#include <QTimer>

#include <algorithm>

SearchTest::~SearchTest()
{
    m_pPage.reset();
    m_pApp.reset();
    CStringTable::SetLanguage(Language::English);
}

void SearchTest::Open(Language language, int nCameras, int nMinutes)
{
    m_pPage.reset();
    m_pApp.reset();
    m_pSim.reset();
    CRecorderSim::Options options;
    options.start = SimDateTime {2004, 1, 23, 13, 30, 0};
    options.nCameras = nCameras;
    options.nRecordedMinutes = nMinutes;
    m_pSim = std::make_unique<CRecorderSim>(options);
    ASSERT_TRUE(m_pSim->Start());
    CStringTable::SetLanguage(language);
    m_pApp = MakeConnectedApp(m_dir.Path(), *m_pSim);
    ASSERT_NE(m_pApp, nullptr);
    m_pPage = std::make_unique<CSearchDlg>();
    m_pPage->GetTimer()->stop();
    m_pPage->show();
    m_pSim->ClearTrace();
}

QAbstractButton* SearchTest::Button(int nId) const
{
    return m_pPage->findChild<QAbstractButton*>(QStringLiteral("id%1").arg(nId));
}

bool SearchTest::Visible(int nId) const
{
    const QAbstractButton* pButton = Button(nId);
    return pButton && pButton->isVisibleTo(m_pPage.get());
}

void SearchTest::Click(int nId)
{
    QAbstractButton* pButton = Button(nId);
    ASSERT_NE(pButton, nullptr) << nId;
    QTest::mouseClick(pButton, Qt::LeftButton, {}, QPoint(pButton->width() / 2, pButton->height() / 2));
}

void SearchTest::Tick(int nCount)
{
    for (int i = 0; i < nCount; ++i)
        m_pPage->OnTimer();
}

int SearchTest::RunSearch(int nLimit)
{
    int n = 0;
    while (m_pPage->GetState() != CSearchDlg::STATE_IDLE && n < nLimit) {
        Tick();
        ++n;
    }
    return n;
}

void SearchTest::SetFields(const QString& strHour, const QString& strMinute, int nInterval, int nCamera)
{
    m_pPage->findChild<QLineEdit*>("id1643")->setText(strHour);
    m_pPage->findChild<QLineEdit*>("id1644")->setText(strMinute);
    m_pPage->findChild<QComboBox*>("id1640")->setCurrentIndex(nInterval);
    m_pPage->findChild<QComboBox*>("id1641")->setCurrentIndex(nCamera);
}

std::vector<std::string> SearchTest::ReceivedCodes() const
{
    return ::ReceivedCodes(*m_pSim);
}

int SearchTest::CountReceived(const std::string& strCode) const
{
    const std::vector<std::string> codes = ReceivedCodes();
    return static_cast<int>(std::count(codes.begin(), codes.end(), strCode));
}

CSimRecording::Picture PictureAt(CRecorderSim& sim, int nHour, int nMinute, int nSecond)
{
    return sim.FindPicture(SimDateTime {2004, 1, 23, nHour, nMinute, nSecond}, 0);
}
