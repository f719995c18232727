#include "shell/vx2200netdlg.h"

#include "addressbook/selvxentrydlg.h"
#include "app/vx2200net.h"
#include "link/vx2200ctrl.h"
#include "shell/aboutdlg.h"
#include "shell/menutabctrl.h"
#include "widgets/artwork.h"
#include "widgets/keyfilter.h"
#include "widgets/resstring.h"

#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>

namespace {
constexpr int kMargin = 8;
constexpr int kButtonHeight = 28;
} // namespace

CVX2200NETDlg::CVX2200NETDlg(QWidget* pParent) : QDialog(pParent)
{
    setObjectName(QStringLiteral("id102"));
    setWindowTitle(QStringLiteral("VX2200NET"));
    setWindowIcon(CArtwork::ProgramIcon());
    setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint
                   | Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint);

    m_pTab = new CMenuTabCtrl(this);
    m_pTab->InsertTabs();
    m_pTab->CreatePages();
    const QSize tabSize = m_pTab->ControlSizeForPages();
    m_pTab->setGeometry(kMargin, kMargin, tabSize.width(), tabSize.height());

    const int nRowTop = kMargin + tabSize.height() + kMargin;
    QPushButton* pConnection = MakeButton(1307, LangText("Connection", "接続"));
    pConnection->setGeometry(kMargin, nRowTop, 110, kButtonHeight);
    connect(pConnection, &QPushButton::clicked, this, &CVX2200NETDlg::OnConnection);

    m_pEntryName = new QLineEdit(this);
    m_pEntryName->setObjectName(QStringLiteral("id1309"));
    m_pEntryName->setReadOnly(true);
    m_pEntryName->setFocusPolicy(Qt::NoFocus);
    m_pEntryName->setMaxLength(MAX_NAME_TEXT);
    m_pEntryName->setGeometry(kMargin + 118, nRowTop, 280, kButtonHeight);

    const int nRight = kMargin + tabSize.width();
    QPushButton* pExit = MakeButton(1305, LangText("Exit", "終了"));
    pExit->setGeometry(nRight - 100, nRowTop, 100, kButtonHeight);
    connect(pExit, &QPushButton::clicked, this, &CVX2200NETDlg::OnExit);

    QPushButton* pVersion = MakeButton(1313, LangText("Version", "バージョン"));
    pVersion->setGeometry(nRight - 208, nRowTop, 100, kButtonHeight);
    connect(pVersion, &QPushButton::clicked, this, &CVX2200NETDlg::OnVersion);

    setFixedSize(nRight + kMargin, nRowTop + kButtonHeight + kMargin);

    // No recorder is connected at start: the PC file viewer, tabs locked.
    m_pTab->SelectTab(CMenuTabCtrl::PAGE_FILEVIEWER);
    m_pTab->EnableTabs(false);
}

QPushButton* CVX2200NETDlg::MakeButton(int nId, const QString& strCaption)
{
    auto* pButton = new QPushButton(strCaption, this);
    pButton->setObjectName(QStringLiteral("id%1").arg(nId));
    pButton->setAutoDefault(false);
    return pButton;
}

void CVX2200NETDlg::SetEntryName(const QString& strName)
{
    m_pEntryName->setText(strName.left(MAX_NAME_TEXT));
}

QString CVX2200NETDlg::GetEntryNameText() const
{
    return m_pEntryName->text();
}

void CVX2200NETDlg::RunModal(CVX2200NETApp& app)
{
    CVX2200NETDlg dlg;
    app.SetMainWnd(&dlg);
    dlg.SetEntryName(QString());
    dlg.exec();
    app.SetMainWnd(nullptr);
}

void CVX2200NETDlg::SetSearchMode(bool bOn)
{
    m_pTab->SetSearchMode(bOn);
}

bool CVX2200NETDlg::IsSearchMode() const
{
    return m_pTab->SearchMode();
}

void CVX2200NETDlg::EnableTabs(bool bOn)
{
    m_pTab->EnableTabs(bOn);
}

void CVX2200NETDlg::OnConnection()
{
    CVX2200NETApp* pApp = GetApp();
    CVX2200Ctrl* pCtrl = pApp ? pApp->GetCtrl() : nullptr;
    if (!pCtrl)
        return;
    // The selection's Change and Connect close the connection before they act;
    // remember the peer to give it back when no new connection is made.
    std::string strPeerIP;
    int nPeerPort = 0;
    pCtrl->GetPeer(strPeerIP, nPeerPort);
    pApp->ResetListTop();

    CSelVXEntryDlg dlg(this);
    const int nResult = dlg.exec();
    RestoreAfterSelection(strPeerIP, nPeerPort, nResult);
}

void CVX2200NETDlg::RestoreAfterSelection(const std::string& strPeerIP, int nPeerPort, int nResult)
{
    CVX2200NETApp* pApp = GetApp();
    CVX2200Ctrl* pCtrl = pApp->GetCtrl();
    if (nResult == 1) {
        SetEntryName(QString::fromStdString(pApp->GetLastEntryName()));
        pApp->ResetListTop();
    } else if (pApp->GetConnected() != -1 && !strPeerIP.empty()) {
        pCtrl->Connect(strPeerIP, nPeerPort); // does nothing when the link still stands
    }
    if (pApp->GetConnected() == -1) {
        m_pTab->SelectTab(CMenuTabCtrl::PAGE_FILEVIEWER);
        m_pTab->EnableTabs(false);
        return;
    }
    m_pTab->EnableTabs(true);
    if (nResult == 1)
        m_pTab->SelectTab(CMenuTabCtrl::PAGE_VIEWER);
}

void CVX2200NETDlg::OnVersion()
{
    CAboutDlg dlg(this);
    dlg.exec();
}

void CVX2200NETDlg::OnExit()
{
    done(1);
}

void CVX2200NETDlg::keyPressEvent(QKeyEvent* pEvent)
{
    // An Escape meant for a page must not end the program.
    if (CKeyFilter::IsAcceptOrCancelKey(*pEvent)) {
        pEvent->accept(); // Enter and Escape do nothing here
        return;
    }
    QDialog::keyPressEvent(pEvent);
}
