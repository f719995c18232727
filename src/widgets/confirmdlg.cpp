#include "widgets/confirmdlg.h"

#include "widgets/keyfilter.h"
#include "widgets/artwork.h"
#include "widgets/resstring.h"
#include "platform/waiter.h"

#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>

#include <algorithm>
#include <iterator>

namespace {

using Kind = CConfirmDlg::Kind;

constexpr CConfirmDlg::ModeInfo kModes[] = {
    {0, Kind::Question, 185, false},
    {2, Kind::Question, 275, false},
    {3, Kind::Question, 276, false},
    {4, Kind::Information, 277, false},
    {5, Kind::Question, 278, false},
    {6, Kind::Question, 279, false},
    {8, Kind::Question, 284, true},
    {9, Kind::Notice, 288, false},
    {11, Kind::Notice, 289, false},
    {12, Kind::Notice, 311, false},
    {14, Kind::Notice, 290, false},
    {15, Kind::Notice, 292, false},
    {16, Kind::Notice, 292, false},
    {17, Kind::Notice, 292, false},
    {18, Kind::Question, 300, false},
    {19, Kind::Notice, 274, false},
    {20, Kind::Notice, 297, false},
    {22, Kind::Notice, 295, false},
    {23, Kind::Notice, 303, false},
    {24, Kind::Notice, 304, false},
    {25, Kind::Notice, 305, false},
    {26, Kind::Question, 306, true},
    {27, Kind::Notice, 307, false},
    {28, Kind::Question, 309, false},
    {29, Kind::Notice, 312, false},
    {30, Kind::Notice, 313, false},
    {31, Kind::Notice, 314, false},
    {32, Kind::Notice, 315, false},
    {33, Kind::Notice, 316, false},
    {34, Kind::Notice, 317, false},
    {35, Kind::Notice, 318, false},
    {37, Kind::Notice, 322, false},
    {38, Kind::Notice, 323, false},
    {39, Kind::Notice, 324, false},
};

constexpr int kStringInformation = 287;
constexpr int kStringReconnect = 301;
constexpr int kReconnectPauseMs = 100;

QPushButton* MakeButton(QWidget* pParent, int nId, const QString& strCaption, const QRect& rect)
{
    auto* pButton = new QPushButton(strCaption, pParent);
    pButton->setObjectName(QStringLiteral("id%1").arg(nId));
    pButton->setAutoDefault(false);
    pButton->setDefault(false);
    pButton->setGeometry(rect);
    return pButton;
}

} // namespace

const CConfirmDlg::ModeInfo* CConfirmDlg::FindMode(int nMode)
{
    const auto* p = std::find_if(std::begin(kModes), std::end(kModes),
                                 [nMode](const ModeInfo& m) { return m.nMode == nMode; });
    return p == std::end(kModes) ? nullptr : p;
}

CConfirmDlg::CConfirmDlg(int nMode, QWidget* pParent) : QDialog(pParent), m_nMode(nMode)
{
    setObjectName(QStringLiteral("id179"));
    setModal(true);
    Build();
    ApplyMode();
}

void CConfirmDlg::Build()
{
    setWindowTitle(LangText("Warning", "警告"));
    setFixedSize(440, 210);

    m_pWarning = new QLabel(this);
    m_pWarning->setObjectName(QStringLiteral("id1672"));
    m_pWarning->setPixmap(CArtwork::WarningPicture());
    m_pWarning->setGeometry(18, 30, CArtwork::PICTURE_SIZE, CArtwork::PICTURE_SIZE);

    m_pInformation = new QLabel(this);
    m_pInformation->setObjectName(QStringLiteral("id1673"));
    m_pInformation->setPixmap(CArtwork::InformationPicture());
    m_pInformation->setGeometry(18, 30, CArtwork::PICTURE_SIZE, CArtwork::PICTURE_SIZE);

    m_pText = new QLabel(this);
    m_pText->setObjectName(QStringLiteral("id1510"));
    m_pText->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    m_pText->setWordWrap(true);
    m_pText->setGeometry(80, 6, 346, 150);

    const QString strOk = QStringLiteral("OK");
    m_pYes = MakeButton(this, 1511, strOk, QRect(110, 166, 100, 30));
    m_pNo = MakeButton(this, 1159, LangText("Cancel", "キャンセル"), QRect(230, 166, 100, 30));
    m_pOk = MakeButton(this, 1128, strOk, QRect(170, 166, 100, 30));
    connect(m_pYes, &QPushButton::clicked, this, &CConfirmDlg::OnYes);
    connect(m_pNo, &QPushButton::clicked, this, &CConfirmDlg::OnNo);
    connect(m_pOk, &QPushButton::clicked, this, &CConfirmDlg::OnOk);
}

void CConfirmDlg::ApplyMode()
{
    const ModeInfo* pInfo = FindMode(m_nMode);
    m_strText = pInfo ? ResString(pInfo->nStringId) : QString();

    const bool bQuestion = pInfo && pInfo->kind == Kind::Question;
    m_pOk->setVisible(!bQuestion);
    m_pYes->setVisible(bQuestion);
    m_pNo->setVisible(bQuestion);

    const bool bInformation = pInfo && pInfo->kind == Kind::Information;
    m_pInformation->setVisible(bInformation);
    m_pWarning->setVisible(!bInformation);
    if (bInformation)
        setWindowTitle(ResString(kStringInformation));
    if (pInfo && pInfo->bReconnect)
        m_pYes->setText(ResString(kStringReconnect));

    m_pText->setText(m_strText);
    (bQuestion ? m_pYes : m_pOk)->setFocus();
}

void CConfirmDlg::keyPressEvent(QKeyEvent* pEvent)
{
    if (CKeyFilter::IsAcceptOrCancelKey(*pEvent)) {
        pEvent->accept(); // Enter and Escape do nothing here
        return;
    }
    QDialog::keyPressEvent(pEvent);
}

void CConfirmDlg::OnYes()
{
    if (m_nMode == 8)
        WaitMilliseconds(kReconnectPauseMs);
    done(1);
}

void CConfirmDlg::OnNo()
{
    done(0);
}

void CConfirmDlg::OnOk()
{
    done(1);
}
