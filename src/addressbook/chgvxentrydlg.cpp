#include "addressbook/chgvxentrydlg.h"

#include "addressbook/ipedit.h"
#include "widgets/keyfilter.h"
#include "addressbook/portedit.h"
#include "app/vx2200net.h"
#include "widgets/resstring.h"
#include "platform/prompter.h"

#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStringList>

namespace {

constexpr int kOctetIds[4] = {1106, 1110, 1114, 1118};

enum {
    MODE_OCTET_RANGE = 9,
    MODE_PORT_INVALID = 11,
    MODE_PORT_NOT_DIGITS = 12,
    MODE_NAME_MISSING = 14,
    MODE_DUPLICATE = 19,
};

struct ModeTexts {
    const char* pszCaptionEn;
    const char* pszCaptionJa;
    const char* pszHeadingEn;
    const char* pszHeadingJa;
};

constexpr ModeTexts kModeTexts[3] = {
    {"New Entry", "新規登録", "New DVR Entry :", "新規 DVR 登録 :"},
    {"Change Entry", "登録変更", "Change DVR Entry :", "DVR 登録変更 :"},
    {"Delete Entry", "登録削除", "Delete DVR Entry :", "DVR 登録削除 :"},
};

bool AllDigits(const QString& str)
{
    for (QChar c : str) {
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            return false;
    }
    return true;
}

template <class T>
T* Named(T* pWidget, int nId)
{
    pWidget->setObjectName(QStringLiteral("id%1").arg(nId));
    return pWidget;
}

} // namespace

CChgVXEntryDlg::CChgVXEntryDlg(int nMode, QWidget* pParent)
    : QDialog(pParent), m_nMode(nMode < MODE_NEW || nMode > MODE_DELETE ? MODE_NEW : nMode)
{
    setObjectName(QStringLiteral("id135"));
    setModal(true);
    Build();
}

void CChgVXEntryDlg::Build()
{
    setFixedSize(400, 190);
    m_pHeading = Named(new QLabel(this), 1319);
    m_pHeading->setGeometry(16, 12, 360, 20);

    auto* pNameLabel = new QLabel(LangText("Name", "名前"), this);
    pNameLabel->setGeometry(24, 44, 90, 24);
    m_pName = Named(new QLineEdit(this), 1121);
    m_pName->setMaxLength(MAX_NAME);
    m_pName->setGeometry(120, 44, 250, 24);
    connect(m_pName, &QLineEdit::textEdited, this, &CChgVXEntryDlg::OnNameEdited);

    auto* pIPLabel = new QLabel(LangText("IP Address", "IPアドレス"), this);
    pIPLabel->setGeometry(24, 78, 90, 24);
    for (int i = 0; i < 4; ++i) {
        m_pOctet[i] = Named(new CIPEdit(this), kOctetIds[i]);
        m_pOctet[i]->setGeometry(120 + 60 * i, 78, 44, 24);
        connect(m_pOctet[i], &QLineEdit::textEdited, this, [this, i] { OnOctetEdited(i); });
        if (i < 3) {
            auto* pDot = new QLabel(QStringLiteral("."), this);
            pDot->setGeometry(120 + 60 * i + 48, 78, 8, 24);
        }
    }

    auto* pPortLabel = new QLabel(LangText("Port", "ポート"), this);
    pPortLabel->setGeometry(24, 112, 90, 24);
    m_pPort = Named(new CPortEdit(this), 1665);
    m_pPort->setGeometry(120, 112, 80, 24);

    m_pOK = Named(new QPushButton(QStringLiteral("OK"), this), 1317);
    m_pOK->setGeometry(190, 150, 90, 28);
    m_pCancel = Named(new QPushButton(LangText("Cancel", "キャンセル"), this), 1314);
    m_pCancel->setGeometry(290, 150, 90, 28);
    for (QPushButton* pButton : {m_pOK, m_pCancel}) {
        pButton->setAutoDefault(false);
        pButton->setDefault(false);
    }
    connect(m_pOK, &QPushButton::clicked, this, &CChgVXEntryDlg::OnOK);
    connect(m_pCancel, &QPushButton::clicked, this, &CChgVXEntryDlg::OnCancel);

    QWidget* order[] = {m_pName, m_pOctet[0], m_pOctet[1], m_pOctet[2], m_pOctet[3], m_pPort, m_pOK, m_pCancel};
    for (std::size_t i = 0; i + 1 < std::size(order); ++i)
        setTabOrder(order[i], order[i + 1]);
    for (QWidget* pWidget : order)
        pWidget->installEventFilter(this);
}

void CChgVXEntryDlg::showEvent(QShowEvent* pEvent)
{
    const ModeTexts& texts = kModeTexts[m_nMode];
    setWindowTitle(LangText(texts.pszCaptionEn, texts.pszCaptionJa));
    m_strHeading = LangText(texts.pszHeadingEn, texts.pszHeadingJa);
    m_pHeading->setText(m_strHeading);
    const bool bEditable = m_nMode != MODE_DELETE;
    for (QLineEdit* pEdit : {static_cast<QLineEdit*>(m_pName), static_cast<QLineEdit*>(m_pOctet[0]),
                             static_cast<QLineEdit*>(m_pOctet[1]), static_cast<QLineEdit*>(m_pOctet[2]),
                             static_cast<QLineEdit*>(m_pOctet[3]), static_cast<QLineEdit*>(m_pPort)}) {
        pEdit->setReadOnly(!bEditable);
        pEdit->setEnabled(bEditable);
    }
    ToFields();
    QDialog::showEvent(pEvent);
    m_bFirstMessage = 1;
    // A deletion starts on Cancel, so that a stray Enter cannot confirm it.
    if (m_nMode == MODE_DELETE) {
        m_pCancel->setFocus();
        m_bFirstMessage = 0;
    } else {
        m_pName->setFocus();
    }
}

void CChgVXEntryDlg::ToFields()
{
    m_pName->setText(m_strName);
    for (int i = 0; i < 4; ++i)
        m_pOctet[i]->setText(m_strOctet[i]);
    m_pPort->setText(m_strPort);
}

void CChgVXEntryDlg::FromFields()
{
    m_strName = m_pName->text();
    for (int i = 0; i < 4; ++i)
        m_strOctet[i] = m_pOctet[i]->text();
    m_strPort = m_pPort->text();
}

QString CChgVXEntryDlg::GetIPText() const
{
    return QStringLiteral("%1.%2.%3.%4")
        .arg(m_strOctet[0].toInt()).arg(m_strOctet[1].toInt()).arg(m_strOctet[2].toInt()).arg(m_strOctet[3].toInt());
}

void CChgVXEntryDlg::SetIPText(const QString& strIP)
{
    const QStringList parts = strIP.split(QLatin1Char('.'));
    for (int i = 0; i < 4; ++i)
        m_strOctet[i] = i < parts.size() ? parts[i] : QString();
}

// The checks on OK, in their order; returns the notice mode of the first
// failure, or 0.
int CChgVXEntryDlg::CheckFields()
{
    if (m_strName.isEmpty())
        return MODE_NAME_MISSING;
    for (int i = 0; i < 4; ++i) {
        // A field holds only what its key filter passes; text that is still not
        // a number counts as out of range.
        if (m_strOctet[i].isEmpty() || !AllDigits(m_strOctet[i]) || m_strOctet[i].toInt() > 255)
            return MODE_OCTET_RANGE;
    }
    if (m_strPort.isEmpty())
        return MODE_PORT_INVALID;
    if (!AllDigits(m_strPort))
        return MODE_PORT_NOT_DIGITS;
    bool bOk = false;
    const long nPort = m_strPort.toLong(&bOk);
    if (!bOk || nPort < 0 || nPort > 65535)
        return MODE_PORT_INVALID;
    return 0;
}

void CChgVXEntryDlg::OnOK()
{
    if (m_nMode == MODE_DELETE) {
        done(1);
        return;
    }
    FromFields();
    if (const int nMode = CheckFields()) {
        GetPrompter().Confirm(nMode);
        return;
    }
    m_nPort = m_strPort.toInt();
    CVX2200NETApp* pApp = GetApp();
    const int nSkip = m_nMode == MODE_CHANGE && pApp ? pApp->GetEditEntry() : -1;
    if (pApp && !pApp->IsEntryUnique(m_strName.toStdString(), GetIPText().toStdString(), m_nPort, nSkip)) {
        GetPrompter().Confirm(MODE_DUPLICATE);
        return;
    }
    done(1);
}

void CChgVXEntryDlg::OnCancel()
{
    done(0);
}

void CChgVXEntryDlg::OnOctetEdited(int nIndex)
{
    if (m_pOctet[nIndex]->text().size() == 3)
        focusNextChild();
}

void CChgVXEntryDlg::OnNameEdited()
{
    // Keep the name within the bytes its field in the file holds.
    QString strName = m_pName->text();
    if (strName.toUtf8().size() <= MAX_NAME_BYTES)
        return;
    while (!strName.isEmpty() && strName.toUtf8().size() > MAX_NAME_BYTES)
        strName.chop(1);
    m_pName->setText(strName);
}

bool CChgVXEntryDlg::eventFilter(QObject* pWatched, QEvent* pEvent)
{
    if (pEvent->type() == QEvent::KeyPress) {
        const QKeyEvent& key = *static_cast<QKeyEvent*>(pEvent);
        if (const int nStep = CKeyFilter::FocusStep(key)) {
            focusNextPrevChild(nStep > 0);
            return true;
        }
        if (CKeyFilter::IsAcceptOrCancelKey(key))
            return true; // the dialog's own accept and cancel do nothing
    }
    return QDialog::eventFilter(pWatched, pEvent);
}
