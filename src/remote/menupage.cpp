#include "remote/menupage.h"

#include "app/vx2200net.h"
#include "widgets/keyfilter.h"
#include "widgets/resstring.h"

#include <QComboBox>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>

namespace {

constexpr int SETTING_BUTTON_WIDTH = 110;
constexpr int SETTING_BUTTON_HEIGHT = 30;
constexpr int SETTING_BUTTON_MARGIN = 16;

QString Id(int nId)
{
    return QStringLiteral("id%1").arg(nId);
}

// The dialog template's default buttons, kept hidden and disabled.
void AddHiddenDefaultButtons(QWidget* pPage)
{
    const char* const captions[] = {"OK", "CANCEL"};
    for (int nId = 1; nId <= 2; ++nId) {
        auto* pButton = new QPushButton(QString::fromLatin1(captions[nId - 1]), pPage);
        pButton->setObjectName(Id(nId));
        pButton->setAutoDefault(false);
        pButton->setEnabled(false);
        pButton->hide();
    }
}

} // namespace

CMenuPage::CMenuPage(int nDialogId, QWidget* pParent) : QWidget(pParent)
{
    setObjectName(Id(nDialogId));
    AddHiddenDefaultButtons(this);
}

void CMenuPage::OnShowWindow(bool)
{
}

void CMenuPage::keyPressEvent(QKeyEvent* pEvent)
{
    if (CKeyFilter::IsAcceptOrCancelKey(*pEvent)) {
        pEvent->accept(); // neither writes nor closes anything
        return;
    }
    QWidget::keyPressEvent(pEvent);
}

CVX2200Ctrl* CMenuPage::Ctrl()
{
    const CVX2200NETApp* pApp = GetApp();
    return pApp ? pApp->GetCtrl() : nullptr;
}

QRect CMenuPage::CaptionRect(int nRow, int nColumn)
{
    return {CAPTION_X + nColumn * COLUMN_PITCH, ROW_TOP + nRow * ROW_PITCH, CAPTION_WIDTH, ROW_HEIGHT};
}

QRect CMenuPage::ComboRect(int nRow, int nColumn)
{
    return {CAPTION_X + CAPTION_WIDTH + 10 + nColumn * COLUMN_PITCH, ROW_TOP + nRow * ROW_PITCH, COMBO_WIDTH,
            ROW_HEIGHT};
}

QComboBox* CMenuPage::AddCombo(int nId, const QString& strCaption, const QStringList& items, int nRow, int nColumn)
{
    AddLabel(strCaption, CaptionRect(nRow, nColumn));
    auto* pCombo = new QComboBox(this);
    pCombo->setObjectName(Id(nId));
    pCombo->setGeometry(ComboRect(nRow, nColumn));
    pCombo->addItems(items);
    pCombo->setMaxVisibleItems(16);
    pCombo->setCurrentIndex(-1);
    return pCombo;
}

QPushButton* CMenuPage::AddButton(int nId, const QString& strCaption, const QRect& rect)
{
    auto* pButton = new QPushButton(strCaption, this);
    pButton->setObjectName(Id(nId));
    pButton->setAutoDefault(false);
    pButton->setGeometry(rect);
    return pButton;
}

QLabel* CMenuPage::AddLabel(const QString& strText, const QRect& rect, int nId)
{
    auto* pLabel = new QLabel(strText, this);
    if (nId != 0)
        pLabel->setObjectName(Id(nId));
    pLabel->setGeometry(rect);
    return pLabel;
}

QPushButton* CMenuPage::AddSettingButton(int nId)
{
    // "OK" in English; the Japanese caption means "execute setting".
    m_pSettingButton = AddButton(nId, LangText("OK", "設定実行"), QRect());
    PlaceSettingButton();
    return m_pSettingButton;
}

void CMenuPage::PlaceSettingButton()
{
    if (m_pSettingButton)
        m_pSettingButton->setGeometry(width() - SETTING_BUTTON_WIDTH - SETTING_BUTTON_MARGIN,
                                      height() - SETTING_BUTTON_HEIGHT - SETTING_BUTTON_MARGIN,
                                      SETTING_BUTTON_WIDTH, SETTING_BUTTON_HEIGHT);
}

void CMenuPage::resizeEvent(QResizeEvent* pEvent)
{
    QWidget::resizeEvent(pEvent);
    PlaceSettingButton();
}

void CMenuPage::ShowChoice(QComboBox* pCombo, int nValue)
{
    const int nIndex = nValue >= 0 && nValue < pCombo->count() ? nValue : -1;
    if (pCombo->currentIndex() != nIndex)
        pCombo->setCurrentIndex(nIndex);
}

int CMenuPage::TakeChoice(const QComboBox* pCombo)
{
    return pCombo->currentIndex();
}
