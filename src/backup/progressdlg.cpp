#include "backup/progressdlg.h"

#include "widgets/keyfilter.h"
#include "app/vx2200net.h"
#include "store/backuprun.h"
#include "widgets/resstring.h"

#include <QKeyEvent>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QTimer>

#include <algorithm>

namespace {

QString Id(int nId)
{
    return QStringLiteral("id%1").arg(nId);
}

} // namespace

CProgressDlg::CProgressDlg(int nMode, int nRange, const CCivilTime& start, const CCivilTime& end,
                           const std::string& strBackupFolder, const std::string& strEventName, QWidget* pParent)
    : QDialog(pParent), m_nMode(nMode), m_nRange(std::max(nRange, 1))
{
    setObjectName(QStringLiteral("id181"));
    setModal(true);
    setWindowTitle(ResString(STRING_CAPTION));
    BuildControls();
    CVX2200NETApp* pApp = GetApp();
    CVXImage* pImage = pApp ? pApp->GetImage() : nullptr;
    if (m_nMode == MODE_BACKUP && pImage) {
        m_pRun = std::make_unique<CBackupRun>(*pImage, strBackupFolder, strEventName, start, end);
        m_pRun->Start();
    }
    if (FailedToStart()) {
        m_pText->setText(ResString(CBackupRun::STRING_FAILED));
        ShowState();
    }
    m_pTimer = new QTimer(this);
    m_pTimer->setTimerType(Qt::PreciseTimer);
    m_pTimer->setInterval(TIMER_PERIOD_MS);
    connect(m_pTimer, &QTimer::timeout, this, &CProgressDlg::OnTimer);
    m_pTimer->start();
}

CProgressDlg::~CProgressDlg()
{
    m_pTimer->stop();
}

void CProgressDlg::BuildControls()
{
    setFixedSize(420, 150);
    m_pText = new QLabel(this);
    m_pText->setObjectName(Id(IDC_TEXT));
    m_pText->setGeometry(20, 14, 380, 24);
    m_pProgress = new QProgressBar(this);
    m_pProgress->setObjectName(Id(IDC_PROGRESS));
    m_pProgress->setRange(0, m_nRange);
    m_pProgress->setValue(0);
    m_pProgress->setGeometry(20, 46, 380, 24);
    m_pWait = new QLabel(LangText("Please Wait..", "しばらくお待ちください.."), this);
    m_pWait->setObjectName(Id(IDC_WAIT));
    m_pWait->setGeometry(20, 96, 250, 24);
    m_pButton = new QPushButton(LangText("Cancel", "キャンセル"), this);
    m_pButton->setObjectName(Id(IDC_BUTTON));
    m_pButton->setAutoDefault(false);
    m_pButton->setGeometry(300, 96, 100, 30);
    connect(m_pButton, &QPushButton::clicked, this, &CProgressDlg::OnButton);
    // The standard buttons exist for their ids only.
    for (int nId : {1, 2}) {
        auto* pHidden = new QPushButton(this);
        pHidden->setObjectName(Id(nId));
        pHidden->setAutoDefault(false);
        pHidden->setEnabled(false);
        pHidden->hide();
    }
}

bool CProgressDlg::FailedToStart() const
{
    return !m_pRun || m_pRun->FailedToStart();
}

void CProgressDlg::OnTimer()
{
    if (m_pRun)
        m_pRun->Step();
    ShowState();
}

// The bar, the text (shown from the first tick on) and, once the run is over,
// no "Please Wait.." and an OK button.
void CProgressDlg::ShowState()
{
    const int nProgress = m_pRun ? m_pRun->Progress() : CBackupRun::PROGRESS_ENDED;
    m_pProgress->setValue(nProgress * m_nRange / CBackupRun::RANGE);
    const int nTextId = m_pRun ? m_pRun->TextId() : CBackupRun::STRING_FAILED;
    const QString strText = ResString(nTextId).left(MAX_TEXT);
    if (m_pText->text() != strText)
        m_pText->setText(strText);
    if (!m_pRun || m_pRun->IsOver()) {
        m_pWait->hide();
        m_pButton->setText(ResString(STRING_OK));
    }
}

void CProgressDlg::OnButton()
{
    if (m_pRun)
        m_pRun->Stop();
    m_pTimer->stop();
    done(1);
}

void CProgressDlg::keyPressEvent(QKeyEvent* pEvent)
{
    if (CKeyFilter::IsAcceptOrCancelKey(*pEvent)) {
        pEvent->accept(); // Enter and Escape do nothing here
        return;
    }
    QDialog::keyPressEvent(pEvent);
}
