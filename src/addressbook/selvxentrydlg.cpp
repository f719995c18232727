#include "addressbook/selvxentrydlg.h"

#include "addressbook/chgvxentrydlg.h"
#include "addressbook/flexgrid.h"
#include "widgets/keyfilter.h"
#include "widgets/resstring.h"
#include "app/vx2200net.h"
#include "widgets/waitcursor.h"
#include "link/recorderprobe.h"
#include "link/vx2200ctrl.h"
#include "platform/prompter.h"

#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QScrollBar>

#include <algorithm>

namespace {

enum { MODE_DUPLICATE = 19, MODE_ENTRY_CONNECTED = 20, MODE_CANNOT_CONNECT = 22, MODE_BOOK_FULL = 35 };

struct Column {
    const char* pszEnglish;
    const char* pszJapanese;
    int nTwips;
};

constexpr Column kColumns[3] = {
    {"Name", "名前", 2400},
    {"IP Address", "IPアドレス", 1500},
    {"Port", "ポート", 1000},
};

CVX2200NETApp& App()
{
    return *GetApp();
}

QPushButton* MakeButton(QWidget* pParent, int nId, const QString& strCaption, int nTop)
{
    auto* pButton = new QPushButton(strCaption, pParent);
    pButton->setObjectName(QStringLiteral("id%1").arg(nId));
    pButton->setAutoDefault(false);
    pButton->setDefault(false);
    pButton->setGeometry(400, nTop, 100, 28);
    return pButton;
}

} // namespace

CSelVXEntryDlg::CSelVXEntryDlg(QWidget* pParent) : QDialog(pParent)
{
    setObjectName(QStringLiteral("id131"));
    setModal(true);
    setWindowTitle(LangText("DVR Connection Selection", "DVR 接続選択"));
    Build();
    SetupScrollBar();
    SetupGrid();
    FillGrid();
}

void CSelVXEntryDlg::Build()
{
    setFixedSize(516, 300);
    auto* pHeading = new QLabel(LangText("DVR Entry List", "DVR 登録一覧"), this);
    pHeading->setGeometry(12, 8, 300, 20);

    m_pGrid = new CFlexGrid(GRID_ROWS + 1, 3, this);
    m_pGrid->setObjectName(QStringLiteral("id1103"));
    m_pGrid->setGeometry(12, 32, 334, 11 * 22 + 4);

    m_pScroll = new QScrollBar(Qt::Vertical, this);
    m_pScroll->setObjectName(QStringLiteral("id1676"));
    m_pScroll->setGeometry(348, 32, 18, 11 * 22 + 4);
    m_pScroll->setTracking(false);
    m_pScroll->setPageStep(GRID_ROWS);
    connect(m_pScroll, &QScrollBar::actionTriggered, this, &CSelVXEntryDlg::OnScrollAction);
    // Every other way the bar moves (the thumb released, the wheel, "Scroll
    // here" of its menu) ends in a new value: the grid follows it.
    connect(m_pScroll, &QScrollBar::valueChanged, this, &CSelVXEntryDlg::OnScrollValue);

    m_pAdd = MakeButton(this, 1000, LangText("Add", "追加"), 32);
    m_pChange = MakeButton(this, 1101, LangText("Change", "変更"), 68);
    m_pDelete = MakeButton(this, 1102, LangText("Delete", "削除"), 104);
    m_pConnect = MakeButton(this, 1311, LangText("Connect", "接続"), 160);
    m_pClose = MakeButton(this, 1316, LangText("Close", "閉じる"), 258);
    connect(m_pAdd, &QPushButton::clicked, this, &CSelVXEntryDlg::OnAdd);
    connect(m_pChange, &QPushButton::clicked, this, &CSelVXEntryDlg::OnChange);
    connect(m_pDelete, &QPushButton::clicked, this, &CSelVXEntryDlg::OnDelete);
    connect(m_pConnect, &QPushButton::clicked, this, &CSelVXEntryDlg::OnConnect);
    connect(m_pClose, &QPushButton::clicked, this, &CSelVXEntryDlg::OnClose);

    QWidget* order[] = {m_pGrid, m_pScroll, m_pAdd, m_pChange, m_pDelete, m_pConnect, m_pClose};
    for (std::size_t i = 0; i + 1 < std::size(order); ++i)
        setTabOrder(order[i], order[i + 1]);
    for (QWidget* pWidget : order)
        pWidget->installEventFilter(this);
}

void CSelVXEntryDlg::SetupGrid()
{
    m_pGrid->hide();
    m_pGrid->Clear();
    m_pGrid->SetRow(1);
    for (int c = 0; c < 3; ++c) {
        m_pGrid->SetColAlignment(c, CFlexGrid::flexAlignCenterCenter);
        m_pGrid->SetColWidth(c, kColumns[c].nTwips);
        m_pGrid->item(0, c)->setText(LangText(kColumns[c].pszEnglish, kColumns[c].pszJapanese));
    }
    m_pGrid->show();
}

void CSelVXEntryDlg::FillGrid()
{
    CVX2200NETApp& app = App();
    const int nCount = app.GetEntryCount();
    if (nCount <= GRID_ROWS)
        app.SetListTop(0);
    else if (nCount - app.GetListTop() < GRID_ROWS)
        app.SetListTop(nCount - GRID_ROWS);
    // A top below 0 never comes from the dialog; keep the rows on the book anyway.
    app.SetListTop(std::max(0, app.GetListTop()));

    const int nTop = app.GetListTop();
    for (int r = 1; r <= GRID_ROWS; ++r) {
        const int i = nTop + r - 1;
        const bool bEntry = i < nCount;
        m_pGrid->SetRow(r);
        m_pGrid->SetCol(0);
        m_pGrid->SetText(bEntry ? QString::fromStdString(app.GetEntryName(i)) : QString());
        m_pGrid->SetCol(1);
        m_pGrid->SetText(bEntry ? QString::fromStdString(app.GetEntryIP(i)) : QString());
        m_pGrid->SetCol(2);
        m_pGrid->SetText(bEntry ? QString::number(app.GetEntryPort(i)) : QString());
    }
    m_pGrid->SetRow(1);
    m_pGrid->SetCol(0);
    m_pGrid->SetColSel(2);
}

void CSelVXEntryDlg::SetupScrollBar()
{
    const int nCount = App().GetEntryCount();
    m_bSettingScroll = true;
    if (nCount > GRID_ROWS) {
        m_pScroll->setRange(0, nCount - GRID_ROWS);
        m_pScroll->show();
    } else {
        m_pScroll->setRange(0, 0);
        m_pScroll->hide();
    }
    m_bSettingScroll = false;
    SetScrollPos();
}

void CSelVXEntryDlg::SetScrollPos()
{
    const int nMax = std::max(0, App().GetEntryCount() - GRID_ROWS);
    m_bSettingScroll = true;
    m_pScroll->setSliderPosition(std::clamp(App().GetListTop(), 0, nMax));
    m_pScroll->setValue(std::clamp(App().GetListTop(), 0, nMax));
    m_bSettingScroll = false;
}

void CSelVXEntryDlg::OnScrollAction(int nAction)
{
    if (m_bSettingScroll)
        return;
    switch (nAction) {
    case QAbstractSlider::SliderSingleStepSub: OnVScroll(SB_LINEUP); break;
    case QAbstractSlider::SliderSingleStepAdd: OnVScroll(SB_LINEDOWN); break;
    case QAbstractSlider::SliderPageStepSub: OnVScroll(SB_PAGEUP); break;
    case QAbstractSlider::SliderPageStepAdd: OnVScroll(SB_PAGEDOWN); break;
    case QAbstractSlider::SliderToMinimum: OnVScroll(SB_TOP); break;
    case QAbstractSlider::SliderToMaximum: OnVScroll(SB_BOTTOM); break;
    case QAbstractSlider::SliderMove: return; // nothing shows until the thumb is released
    default: break;
    }
    SetScrollPos();
}

void CSelVXEntryDlg::OnScrollValue(int nValue)
{
    if (m_bSettingScroll || nValue == App().GetListTop())
        return;
    OnVScroll(SB_THUMBPOSITION, nValue);
}

void CSelVXEntryDlg::OnVScroll(ScrollRequest request, int nPos)
{
    CVX2200NETApp& app = App();
    const int nCount = app.GetEntryCount();
    const int nTop = app.GetListTop();
    switch (request) {
    case SB_LINEUP:
        app.ScrollList(1, 0);
        break;
    case SB_LINEDOWN:
        app.ScrollList(1, 1);
        break;
    case SB_PAGEUP:
        if (nTop <= GRID_ROWS && nCount <= GRID_ROWS)
            app.SetListTop(0);
        else
            app.ScrollList(GRID_ROWS, 0);
        break;
    case SB_PAGEDOWN:
        if (nCount - nTop > 2 * GRID_ROWS)
            app.ScrollList(GRID_ROWS, 1);
        else
            app.ScrollList(nCount > GRID_ROWS ? nCount - nTop - GRID_ROWS : 0, 1);
        break;
    case SB_THUMBPOSITION:
        app.SetListTop(nPos);
        break;
    case SB_THUMBTRACK:
        return;
    case SB_TOP:
        app.SetListTop(0);
        break;
    case SB_BOTTOM:
        app.SetListTop(nCount > GRID_ROWS ? nCount - GRID_ROWS : 0);
        break;
    }
    FillGrid();
    SetScrollPos();
}

int CSelVXEntryDlg::GetChosenIndex() const
{
    return App().GetListTop() + m_pGrid->GetRow() - 1;
}

bool CSelVXEntryDlg::IsConnectedEntry(int nIndex) const
{
    return App().GetConnected() != -1 && App().GetConnected() == nIndex;
}

void CSelVXEntryDlg::FillEditor(CChgVXEntryDlg& dlg, int nIndex) const
{
    const CVX2200NETApp& app = App();
    dlg.m_strName = QString::fromStdString(app.GetEntryName(nIndex));
    dlg.SetIPText(QString::fromStdString(app.GetEntryIP(nIndex)));
    dlg.m_nPort = app.GetEntryPort(nIndex);
    dlg.m_strPort = QString::number(dlg.m_nPort);
}

void CSelVXEntryDlg::OnAdd()
{
    CVX2200NETApp& app = App();
    if (app.GetEntryCount() >= CVX2200NETApp::MAX_ENTRY) {
        GetPrompter().Confirm(MODE_BOOK_FULL);
        return;
    }
    CChgVXEntryDlg dlg(CChgVXEntryDlg::MODE_NEW, this);
    if (dlg.exec() != 1)
        return;
    const std::string strName = dlg.m_strName.toStdString();
    const std::string strIP = dlg.GetIPText().toStdString();
    if (!app.IsEntryUnique(strName, strIP, dlg.m_nPort, -1)) {
        GetPrompter().Confirm(MODE_DUPLICATE);
        return;
    }
    if (!app.AddEntry(strName, strIP, dlg.m_nPort))
        return;
    const int nCount = app.GetEntryCount();
    app.SetListTop(nCount <= GRID_ROWS ? 0 : nCount - GRID_ROWS);
    FillGrid();
    SetupScrollBar();
}

void CSelVXEntryDlg::OnChange()
{
    CVX2200NETApp& app = App();
    const int nIndex = GetChosenIndex();
    app.SetEditEntry(nIndex);
    if (IsConnectedEntry(nIndex)) {
        GetPrompter().Confirm(MODE_ENTRY_CONNECTED);
        return;
    }
    app.DisconnectLink();
    if (app.GetEntryIP(nIndex).empty())
        return;
    CChgVXEntryDlg dlg(CChgVXEntryDlg::MODE_CHANGE, this);
    FillEditor(dlg, nIndex);
    if (dlg.exec() != 1)
        return;
    if (app.ChangeEntry(nIndex, dlg.m_strName.toStdString(), dlg.GetIPText().toStdString(), dlg.m_nPort))
        FillGrid();
    else
        GetPrompter().Confirm(MODE_DUPLICATE);
}

void CSelVXEntryDlg::OnDelete()
{
    CVX2200NETApp& app = App();
    const int nIndex = GetChosenIndex();
    if (IsConnectedEntry(nIndex)) {
        GetPrompter().Confirm(MODE_ENTRY_CONNECTED);
        return;
    }
    if (nIndex >= app.GetEntryCount())
        return;
    CChgVXEntryDlg dlg(CChgVXEntryDlg::MODE_DELETE, this);
    FillEditor(dlg, nIndex);
    if (dlg.exec() != 1)
        return;
    if (!app.DeleteEntry(nIndex))
        return;
    app.ScrollList(1, 0);
    FillGrid();
    SetupScrollBar();
}

bool CSelVXEntryDlg::ConnectEntry(int nIndex)
{
    CVX2200NETApp& app = App();
    CVX2200Ctrl* pCtrl = app.GetCtrl();
    if (!pCtrl)
        return false;
    {
        // Busy while the recorder is probed; the notice below shows without it.
        CWaitCursor wait;
        if (pCtrl->IsConnected())
            pCtrl->Disconnect();
        const std::string strIP = app.GetEntryIP(nIndex);
        const int nPort = app.GetEntryPort(nIndex);
        const bool bProbed = !strIP.empty() && CRecorderProbe::ProbeRecorder(*pCtrl, strIP, nPort);
        if (bProbed) {
            // The probe's connection is closed again; the working one follows.
            if (pCtrl->Connect(strIP, nPort) != 0)
                return false;
            app.SetConnected(nIndex);
            app.CommitChoice(1);
            done(1);
            return true;
        }
        pCtrl->Disconnect();
    }
    GetPrompter().Confirm(MODE_CANNOT_CONNECT);
    // An empty row keeps the connected entry, so the previous recorder is given
    // back when the dialog closes.
    if (app.SetConnected(nIndex))
        app.CommitChoice(0);
    return false;
}

void CSelVXEntryDlg::OnConnect()
{
    ConnectEntry(GetChosenIndex());
}

void CSelVXEntryDlg::OnClose()
{
    done(0);
}

bool CSelVXEntryDlg::eventFilter(QObject* pWatched, QEvent* pEvent)
{
    if (pEvent->type() != QEvent::KeyPress)
        return QDialog::eventFilter(pWatched, pEvent);
    const QKeyEvent& key = *static_cast<QKeyEvent*>(pEvent);
    const int nStep = CKeyFilter::FocusStep(key);
    if (nStep > 0) {
        focusNextChild();
        return true;
    }
    if (nStep < 0) {
        if (pWatched == m_pAdd)
            m_pClose->setFocus();
        else if (pWatched != m_pChange)
            focusPreviousChild();
        return true;
    }
    if (CKeyFilter::IsAcceptOrCancelKey(key))
        return true; // the dialog's own accept and cancel do nothing
    return QDialog::eventFilter(pWatched, pEvent);
}
