#include "remotefixture.h"

#include "fixtures/connectedapp.h"
#include "link/vx2200ctrl.h"
#include "remote/controltabctrl.h"
#include "remote/menupage.h"
#include "widgets/colorbtn.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QTest>
#include <QTimer>

namespace {

CRecorderSim::Options SimOptions()
{
    CRecorderSim::Options options;
    options.start = SimDateTime {2004, 3, 15, 8, 5, 0};
    return options;
}

QString Id(int nId)
{
    return QStringLiteral("id%1").arg(nId);
}

} // namespace

RemoteTest::RemoteTest() : m_sim(SimOptions())
{
}

RemoteTest::~RemoteTest()
{
    m_pPage.reset();
    m_pApp.reset();
    CStringTable::SetLanguage(Language::English);
}

void RemoteTest::SetUp()
{
    ASSERT_TRUE(m_sim.Start());
    Open(Language::English);
}

void RemoteTest::Open(Language language)
{
    m_pPage.reset();
    m_pApp.reset();
    CStringTable::SetLanguage(language);
    m_pApp = MakeConnectedApp(m_dir.Path(), m_sim);
    ASSERT_NE(m_pApp, nullptr);
    m_pPage = std::make_unique<CControlDlg>();
    m_pPage->GetTimer()->stop();
    m_pPage->resize(CControlDlg::PAGE_WIDTH, CControlDlg::PAGE_HEIGHT);
    m_pPage->show();
    m_sim.ClearTrace();
}

void RemoteTest::Tick(int nCount)
{
    for (int i = 0; i < nCount; ++i)
        m_pPage->OnTimer();
}

void RemoteTest::SetStatus(const std::array<int, 4>& nStatus)
{
    m_sim.SetStatus(nStatus);
    Tick();
    m_sim.ClearTrace();
}

void RemoteTest::Click(int nId)
{
    Click(m_pPage.get(), nId);
}

void RemoteTest::Click(QWidget* pParent, int nId)
{
    auto* pButton = pParent->findChild<QAbstractButton*>(Id(nId));
    ASSERT_NE(pButton, nullptr) << nId;
    ASSERT_TRUE(pButton->isEnabled()) << nId;
    QTest::mouseClick(pButton, Qt::LeftButton, {}, QPoint(pButton->width() / 2, pButton->height() / 2));
}

QColor RemoteTest::Face(int nId) const
{
    const CColorButton* pKey = m_pPage->Key(nId);
    return pKey ? pKey->GetFaceColor() : QColor();
}

void RemoteTest::EnterMenuMode(int nPage)
{
    SetStatus({0, 0, 0, 0});
    m_pPage->GetTabCtrl()->SelectPage(nPage);
    m_pPage->OnMenuSetting();
    m_sim.ClearTrace();
    m_prompter.Clear();
}

CMenuPage* RemoteTest::SettingPage(int nPage) const
{
    return m_pPage->GetTabCtrl()->GetPage(nPage);
}

QComboBox* RemoteTest::Combo(int nPage, int nId) const
{
    CMenuPage* pPage = SettingPage(nPage);
    return pPage ? pPage->findChild<QComboBox*>(Id(nId)) : nullptr;
}

std::vector<std::string> RemoteTest::ReceivedCodes() const
{
    std::vector<std::string> codes;
    for (const SimTraceEntry& entry : m_sim.Trace()) {
        const std::string& str = entry.strBytes;
        if (entry.IsReceived() && str.size() >= 7)
            codes.push_back(str.substr(2, 4));
    }
    return codes;
}

std::vector<std::string> RemoteTest::Parameters(const std::string& strCode) const
{
    std::vector<std::string> parameters;
    for (const SimTraceEntry& entry : m_sim.Trace()) {
        const std::string& str = entry.strBytes;
        if (entry.IsReceived() && str.size() >= 7 && str.substr(2, 4) == strCode)
            parameters.push_back(str.substr(6, str.size() - 7));
    }
    return parameters;
}

std::string Byte(int n)
{
    return std::string(1, static_cast<char>(n & 0xFF));
}
