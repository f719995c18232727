// The DVR Remote page: its controls, showing and hiding, and menu-setting
// mode. The status poll and the keys are in controlpanel.cpp, the settings
// files in controlsettings.cpp.
#include "widgets/keyfilter.h"
#include "remote/controldlg.h"

#include "app/vx2200net.h"
#include "link/vx2200ctrl.h"
#include "platform/prompter.h"
#include "remote/controltabctrl.h"
#include "remote/panelartwork.h"
#include "widgets/colorbtn.h"
#include "widgets/resstring.h"
#include "widgets/waitcursor.h"

#include <QHideEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QShowEvent>
#include <QTimer>

#include <algorithm>

namespace {

const QColor TEXT_COLOUR(1, 1, 1);
const QColor DISABLED_COLOUR(192, 192, 192);
constexpr int BEVEL = 2;

// Layout: the panel at the top left, the three buttons beside it, the tab of
// setting pages below.
constexpr int MARGIN = 8;
constexpr int PANEL_X = MARGIN;
constexpr int PANEL_Y = MARGIN;
constexpr int BUTTON_X = PANEL_X + CPanelArtwork::PANEL_WIDTH + 16;
constexpr int BUTTON_WIDTH = 240;
constexpr int BUTTON_HEIGHT = 28;
constexpr int BUTTON_PITCH = 34;
constexpr int TAB_Y = PANEL_Y + CPanelArtwork::PANEL_HEIGHT + 9;

// The captions of the nine setting pages (strings 122 and 125 are not used).
constexpr int kTabCaptions[CControlTabCtrl::PAGE_COUNT] = {115, 116, 117, 118, 119, 120, 121, 123, 124};

constexpr int IDS_MENU_SETUP = 241;
constexpr int IDS_SETTING_END = 243;
constexpr int MODE_STOP_AND_OFF = 0; // "recording will be stopped and the DVR turned off"

QString Id(int nId)
{
    return QStringLiteral("id%1").arg(nId);
}

QRect TabRect(int nWidth, int nHeight)
{
    return {MARGIN, TAB_Y, std::max(0, nWidth - 2 * MARGIN), std::max(0, nHeight - TAB_Y - MARGIN)};
}

} // namespace

CControlDlg::CControlDlg(QWidget* pParent) : QWidget(pParent)
{
    setObjectName(Id(IDD));
    m_pApp = GetApp();
    m_pCtrl = m_pApp ? m_pApp->GetCtrl() : nullptr;
    BuildControls();
    SetPanelMode(PANEL_KEEP);
    m_bBlinkOn = 0;
    m_nBlinkCount = 0;
    m_bWasOff = 0;
    m_bMenuMode = 0;
    m_btnMenu->setText(ResString(IDS_MENU_SETUP));
    m_hLampOn = CPanelArtwork::LampOn();
    m_hLampOff = CPanelArtwork::LampOff();
    ShowLamp(false);
    m_pTimer = new QTimer(this);
    m_pTimer->setInterval(TIMER_PERIOD_MS);
    connect(m_pTimer, &QTimer::timeout, this, &CControlDlg::OnTimer);
    m_pTimer->start();
}

CControlDlg::~CControlDlg()
{
    m_pTimer->stop();
}

// ---------------------------------------------------------------------------
// Controls

void CControlDlg::BuildControls()
{
    BuildPanel();
    BuildButtons();
    BuildTab();
    // The template's default buttons: hidden and disabled, so Enter and Escape do nothing.
    const char* const captions[] = {"OK", "CANCEL"};
    for (int nId = 1; nId <= 2; ++nId) {
        auto* pButton = new QPushButton(QString::fromLatin1(captions[nId - 1]), this);
        pButton->setObjectName(Id(nId));
        pButton->setAutoDefault(false);
        pButton->setEnabled(false);
        pButton->hide();
    }
}

void CControlDlg::BuildPanel()
{
    auto* pPanel = new QLabel(this);
    pPanel->setPixmap(CPanelArtwork::Panel());
    pPanel->setGeometry(PANEL_X, PANEL_Y, CPanelArtwork::PANEL_WIDTH, CPanelArtwork::PANEL_HEIGHT);

    for (std::size_t i = 0; i < KEY_IDS.size(); ++i) {
        const int nId = KEY_IDS[i];
        auto* pKey = new CColorButton(this);
        pKey->setObjectName(Id(nId));
        pKey->setAutoDefault(false);
        pKey->setFocusPolicy(Qt::NoFocus);
        pKey->setGeometry(CPanelArtwork::KeyRect(nId).translated(PANEL_X, PANEL_Y));
        pKey->Attach(nId, this, White(), TEXT_COLOUR, DISABLED_COLOUR, BEVEL);
        connect(pKey, &QPushButton::clicked, this, [this, nId] { OnKey(nId); });
        m_btnKeys[i] = pKey;
    }
    m_stcLamp = new QLabel(this);
    m_stcLamp->setObjectName(Id(IDC_LAMP));
    m_stcLamp->setGeometry(CPanelArtwork::KeyRect(CPanelArtwork::LAMP_ID).translated(PANEL_X, PANEL_Y));
}

void CControlDlg::BuildButtons()
{
    auto make = [this](int nId, const QString& strCaption, int nRow) {
        auto* pButton = new QPushButton(strCaption, this);
        pButton->setObjectName(Id(nId));
        pButton->setAutoDefault(false);
        pButton->setGeometry(BUTTON_X, PANEL_Y + nRow * BUTTON_PITCH, BUTTON_WIDTH, BUTTON_HEIGHT);
        return pButton;
    };
    m_btnMenu = make(IDC_MENU_SETTING, LangText("Menu Setting", "メニュー設定"), 0);
    m_btnDownload = make(IDC_DOWNLOAD, LangText("Download Settings to PC", "設定をPCへダウンロード"), 1);
    m_btnUpload = make(IDC_UPLOAD, LangText("Upload Settings to DVR", "設定をDVRへアップロード"), 2);
    connect(m_btnMenu, &QPushButton::clicked, this, &CControlDlg::OnMenuSetting);
    connect(m_btnDownload, &QPushButton::clicked, this, &CControlDlg::OnDownload);
    connect(m_btnUpload, &QPushButton::clicked, this, &CControlDlg::OnUpload);
}

void CControlDlg::BuildTab()
{
    m_tabMenu = new CControlTabCtrl(this);
    m_tabMenu->setGeometry(TabRect(PAGE_WIDTH, PAGE_HEIGHT));
    for (int i = 0; i < CControlTabCtrl::PAGE_COUNT; ++i)
        m_tabMenu->InsertItem(i, ResString(kTabCaptions[i]));
    m_tabMenu->CreatePages();
}

CColorButton* CControlDlg::Key(int nId) const
{
    for (std::size_t i = 0; i < KEY_IDS.size(); ++i) {
        if (KEY_IDS[i] == nId)
            return m_btnKeys[i];
    }
    return nullptr;
}

void CControlDlg::SetFace(int nId, Face face)
{
    CColorButton* pKey = Key(nId);
    if (!pKey || face == Face::Keep)
        return;
    QColor colour;
    switch (face) {
    case Face::White: colour = White(); break;
    case Face::Green: colour = Green(); break;
    case Face::Red: colour = Red(); break;
    case Face::Grey: colour = Grey(); break;
    case Face::Keep: return;
    }
    if (pKey->GetFaceColor() != colour)
        pKey->SetColor(colour, TEXT_COLOUR, DISABLED_COLOUR, BEVEL);
}

void CControlDlg::EnableKey(int nId, bool bEnable)
{
    if (CColorButton* pKey = Key(nId); pKey && pKey->isEnabled() != bEnable)
        pKey->setEnabled(bEnable);
}

void CControlDlg::ShowLamp(bool bLit)
{
    const int nLit = bLit ? 1 : 0;
    if (nLit == m_bLampLit)
        return;
    m_bLampLit = nLit;
    m_stcLamp->setPixmap(bLit ? m_hLampOn : m_hLampOff);
}

void CControlDlg::SetPanelMode(int nMode)
{
    if (nMode == PANEL_KEEP) {
        m_tabMenu->hide();
        return;
    }
    const bool bMenu = nMode == PANEL_MENU;
    m_tabMenu->setVisible(bMenu);
    for (const int nId : KEY_IDS) {
        EnableKey(nId, !bMenu);
        SetFace(nId, bMenu ? Face::Grey : Face::White);
    }
}

void CControlDlg::showEvent(QShowEvent* pEvent)
{
    QWidget::showEvent(pEvent);
    if (!pEvent->spontaneous())
        m_bVisible = 1;
}

void CControlDlg::hideEvent(QHideEvent* pEvent)
{
    QWidget::hideEvent(pEvent);
    if (!pEvent->spontaneous())
        m_bVisible = 0;
}

void CControlDlg::resizeEvent(QResizeEvent* pEvent)
{
    QWidget::resizeEvent(pEvent);
    m_tabMenu->setGeometry(TabRect(width(), height()));
}

void CControlDlg::keyPressEvent(QKeyEvent* pEvent)
{
    if (CKeyFilter::IsAcceptOrCancelKey(*pEvent)) {
        pEvent->accept(); // Enter and Escape do nothing here
        return;
    }
    QWidget::keyPressEvent(pEvent);
}

// ---------------------------------------------------------------------------
// Menu-setting mode

void CControlDlg::OnMenuSetting()
{
    if (m_bMenuMode)
        LeaveMenuMode();
    else
        EnterMenuMode();
}

void CControlDlg::EnterMenuMode()
{
    const int s0 = m_nStatus[0];
    if (s0 == 0)
        m_bWasOff = 1; // already off: leaving will not switch it on
    if (s0 == 1 || s0 == 2) {
        if (!GetPrompter().Confirm(MODE_STOP_AND_OFF))
            return;
        if (m_nStatus[2] == 1)
            RecordKey();
        PowerKey();
    }
    m_bMenuMode = 1;
    m_btnUpload->setEnabled(false);
    SetPanelMode(PANEL_MENU);
    m_btnMenu->setText(ResString(IDS_SETTING_END));

    // Show the current page anew, so that it reads what the recorder holds now;
    // the log page starts empty.
    const int nPage = m_tabMenu->GetCurrentPage();
    m_tabMenu->ClearLogPage();
    m_tabMenu->SelectPage(CControlTabCtrl::PAGE_LOG);
    m_tabMenu->SelectPage(nPage);
}

void CControlDlg::LeaveMenuMode()
{
    if (m_pCtrl)
        m_pCtrl->QueryStatus(m_nStatus);
    m_bMenuMode = 0;
    m_btnMenu->setText(ResString(IDS_MENU_SETUP));
    m_btnUpload->setEnabled(true);
    SetPanelMode(PANEL_FRONT);
    if (m_bWasOff) {
        m_bWasOff = 0; // it was off before: it stays off
        return;
    }
    if (m_nStatus[0] == 0)
        PowerKey();
}

void CControlDlg::PowerKey()
{
    if (!m_pCtrl)
        return;
    CWaitCursor cursor; // the recorder's power takes its 0.5 or 5 seconds
    m_pCtrl->PowerKey();
}

void CControlDlg::RecordKey()
{
    if (m_pCtrl)
        m_pCtrl->RecordKey();
}
