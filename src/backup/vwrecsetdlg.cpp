#include "backup/vwrecsetdlg.h"

#include "app/vx2200net.h"
#include "link/vx2200ctrl.h"
#include "platform/prompter.h"
#include "store/driveinfo.h"
#include "store/filedbase.h"
#include "store/savecheck.h"
#include "widgets/edithour.h"
#include "widgets/editmin.h"
#include "widgets/eventname.h"
#include "widgets/folderselectdlg.h"
#include "widgets/resstring.h"

#include <QDateEdit>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpressionValidator>
#include <QToolButton>

#include <algorithm>
#include <cstdlib>

namespace {

constexpr const char* MESSAGE_CAPTION = "VX2200NET";

QString Id(int nId)
{
    return QStringLiteral("id%1").arg(nId);
}

// Decimal text to number as the Windows program converts it: the leading
// digits count, text that is no number gives 0.
int TextToNumber(const QString& str)
{
    return std::atoi(str.toLatin1().constData());
}

std::string ToStd(const QString& str)
{
    return str.toUtf8().toStdString();
}

QString FromStd(const std::string& str)
{
    return QString::fromUtf8(str.data(), static_cast<qsizetype>(str.size()));
}

CCivilTime TimeOf(const QDate& date, int nHour, int nMinute)
{
    return {date.year(), date.month(), date.day(), nHour, nMinute, 0};
}

} // namespace

CVwRecSetDlg::CVwRecSetDlg(QWidget* pParent) : QDialog(pParent)
{
    setObjectName(QStringLiteral("id168"));
    setWindowTitle(LangText("Save to PC", "PCへ保存"));
    setModal(true);
    BuildControls();
    ConnectControls();
    SetDefaults();
}

// ---------------------------------------------------------------------------
// Controls

void CVwRecSetDlg::BuildControls()
{
    setFixedSize(500, 384);
    auto* pNameLabel = new QLabel(LangText("Event Name", "イベント名"), this);
    pNameLabel->setGeometry(16, 16, 110, 24);
    m_pEventName = new CEventName(this);
    m_pEventName->setObjectName(Id(IDC_EVENT_NAME));
    m_pEventName->setMaxLength(MAX_EVENT_NAME);
    m_pEventName->setGeometry(130, 16, 354, 24);
    BuildImagePart();
    BuildBackupPart();
    MakeButton(IDC_OK, LangText("OK", "開始"), QRect(292, 340, 92, 30));
    MakeButton(IDC_CANCEL, LangText("Cancel", "キャンセル"), QRect(392, 340, 92, 30));
    BuildHiddenControls();
}

void CVwRecSetDlg::BuildImagePart()
{
    auto* pGroup = new QGroupBox(this);
    pGroup->setGeometry(12, 50, 476, 96);
    m_pImage = new QRadioButton(LangText("Image", "画像"), pGroup);
    m_pImage->setObjectName(Id(IDC_IMAGE));
    m_pImage->setGeometry(10, 8, 100, 24);
    auto* pCountLabel = new QLabel(LangText("Image Count", "画像枚数"), pGroup);
    pCountLabel->setGeometry(130, 8, 100, 24);
    m_pCount = new QLineEdit(pGroup);
    m_pCount->setObjectName(Id(IDC_COUNT));
    m_pCount->setMaxLength(MAX_COUNT_DIGITS);
    m_pCount->setValidator(new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]*")), m_pCount));
    m_pCount->setInputMethodHints(Qt::ImhDigitsOnly);
    m_pCount->setAttribute(Qt::WA_InputMethodEnabled, false);
    m_pCount->setGeometry(236, 8, 70, 24);
    // The up-down beside the count.
    m_pCountSpin = new QWidget(pGroup);
    m_pCountSpin->setObjectName(Id(IDC_COUNT_SPIN));
    m_pCountSpin->setGeometry(306, 8, 18, 24);
    auto* pUp = new QToolButton(m_pCountSpin);
    pUp->setObjectName(QStringLiteral("up"));
    pUp->setArrowType(Qt::UpArrow);
    pUp->setAutoRepeat(true);
    pUp->setGeometry(0, 0, 18, 12);
    auto* pDown = new QToolButton(m_pCountSpin);
    pDown->setObjectName(QStringLiteral("down"));
    pDown->setArrowType(Qt::DownArrow);
    pDown->setAutoRepeat(true);
    pDown->setGeometry(0, 12, 18, 12);
    connect(pUp, &QToolButton::clicked, this, [this] { StepCount(1); });
    connect(pDown, &QToolButton::clicked, this, [this] { StepCount(-1); });
    auto* pImages = new QLabel(LangText("Images", "枚"), pGroup);
    pImages->setGeometry(332, 8, 80, 24);
    auto* pFolderLabel = new QLabel(LangText("Folder", "フォルダ"), pGroup);
    pFolderLabel->setGeometry(30, 52, 90, 24);
    m_pImageFolder = new QLineEdit(pGroup);
    m_pImageFolder->setObjectName(Id(IDC_IMAGE_FOLDER));
    m_pImageFolder->setMaxLength(MAX_IMAGE_FOLDER);
    m_pImageFolder->setGeometry(118, 52, 262, 24);
    m_pImageBrowse = new QPushButton(LangText("Browse", "参照"), pGroup);
    m_pImageBrowse->setObjectName(Id(IDC_IMAGE_BROWSE));
    m_pImageBrowse->setAutoDefault(false);
    m_pImageBrowse->setGeometry(388, 50, 78, 28);
}

void CVwRecSetDlg::BuildBackupPart()
{
    auto* pGroup = new QGroupBox(this);
    pGroup->setGeometry(12, 154, 476, 176);
    m_pBackup = new QRadioButton(LangText("Backup ", "バックアップ"), pGroup);
    m_pBackup->setObjectName(Id(IDC_BACKUP));
    m_pBackup->setGeometry(10, 8, 140, 24);
    struct Row {
        const char* pszEnglish;
        const char* pszJapanese;
        int nDate, nHour, nMin, y;
    };
    const Row rows[] = {
        {"Start Time", "開始時刻", IDC_START_DATE, IDC_START_HOUR, IDC_START_MIN, 42},
        {"End Time", "終了時刻", IDC_END_DATE, IDC_END_HOUR, IDC_END_MIN, 76},
    };
    for (const Row& row : rows) {
        auto* pLabel = new QLabel(LangText(row.pszEnglish, row.pszJapanese), pGroup);
        pLabel->setGeometry(30, row.y, 90, 24);
        QDateEdit* pDate = MakeDatePicker(pGroup, row.nDate, QRect(118, row.y, 130, 24));
        auto* pHour = new CEditHour(pGroup);
        pHour->setObjectName(Id(row.nHour));
        pHour->setGeometry(262, row.y, 36, 24);
        auto* pColon = new QLabel(QStringLiteral(":"), pGroup);
        pColon->setGeometry(302, row.y, 8, 24);
        auto* pMin = new CEditMin(pGroup);
        pMin->setObjectName(Id(row.nMin));
        pMin->setGeometry(312, row.y, 36, 24);
        const bool bStart = row.nDate == IDC_START_DATE;
        (bStart ? m_pStartDate : m_pEndDate) = pDate;
        (bStart ? m_pStartHour : m_pEndHour) = pHour;
        (bStart ? m_pStartMin : m_pEndMin) = pMin;
    }
    auto* pFolderLabel = new QLabel(LangText("Folder", "フォルダ"), pGroup);
    pFolderLabel->setGeometry(30, 128, 90, 24);
    m_pBackupFolder = new QLineEdit(pGroup);
    m_pBackupFolder->setObjectName(Id(IDC_BACKUP_FOLDER));
    m_pBackupFolder->setMaxLength(MAX_BACKUP_FOLDER);
    m_pBackupFolder->setGeometry(118, 128, 262, 24);
    m_pBackupBrowse = new QPushButton(LangText("Browse", "参照"), pGroup);
    m_pBackupBrowse->setObjectName(Id(IDC_BACKUP_BROWSE));
    m_pBackupBrowse->setAutoDefault(false);
    m_pBackupBrowse->setGeometry(388, 126, 78, 28);
}

// The single-picture choice and the dialog's standard buttons exist for their
// ids only: hidden, disabled, never shown.
void CVwRecSetDlg::BuildHiddenControls()
{
    auto* pOne = new QRadioButton(this);
    pOne->setObjectName(Id(IDC_ONE_IMAGE));
    auto* pFile = new QLineEdit(this);
    pFile->setObjectName(Id(IDC_FILE_NAME));
    auto* pFileBrowse = new QPushButton(this);
    pFileBrowse->setObjectName(Id(IDC_FILE_BROWSE));
    auto* pStandardOk = new QPushButton(this);
    pStandardOk->setObjectName(Id(1));
    auto* pStandardCancel = new QPushButton(this);
    pStandardCancel->setObjectName(Id(2));
    for (QWidget* pWidget : {static_cast<QWidget*>(pOne), static_cast<QWidget*>(pFile),
                             static_cast<QWidget*>(pFileBrowse), static_cast<QWidget*>(pStandardOk),
                             static_cast<QWidget*>(pStandardCancel)}) {
        pWidget->setEnabled(false);
        pWidget->hide();
    }
    pStandardOk->setAutoDefault(false);
    pStandardCancel->setAutoDefault(false);
    pFileBrowse->setAutoDefault(false);
}

QPushButton* CVwRecSetDlg::MakeButton(int nId, const QString& strCaption, const QRect& rect)
{
    auto* pButton = new QPushButton(strCaption, this);
    pButton->setObjectName(Id(nId));
    pButton->setAutoDefault(false);
    pButton->setDefault(false);
    pButton->setGeometry(rect);
    return pButton;
}

QDateEdit* CVwRecSetDlg::MakeDatePicker(QWidget* pParent, int nId, const QRect& rect)
{
    auto* pDate = new QDateEdit(pParent);
    pDate->setObjectName(Id(nId));
    pDate->setCalendarPopup(true);
    pDate->setDateRange(FirstDate(), LastDate());
    // Month/day/year in English, year/month/day in Japanese.
    pDate->setDisplayFormat(LangText("MM/dd/yyyy", "yyyy/MM/dd"));
    pDate->setGeometry(rect);
    return pDate;
}

void CVwRecSetDlg::ConnectControls()
{
    connect(m_pImage, &QRadioButton::clicked, this, [this] { SetMode(MODE_IMAGE); });
    connect(m_pBackup, &QRadioButton::clicked, this, [this] { SetMode(MODE_BACKUP); });
    connect(m_pImageBrowse, &QPushButton::clicked, this, &CVwRecSetDlg::OnBrowseImage);
    connect(m_pBackupBrowse, &QPushButton::clicked, this, &CVwRecSetDlg::OnBrowseBackup);
    connect(findChild<QPushButton*>(Id(IDC_OK)), &QPushButton::clicked, this, &CVwRecSetDlg::OnOK);
    connect(findChild<QPushButton*>(Id(IDC_CANCEL)), &QPushButton::clicked, this, &CVwRecSetDlg::OnCancel);
    connect(m_pStartDate, &QDateEdit::dateChanged, this, [this](const QDate& date) { m_startDate = date; });
    connect(m_pEndDate, &QDateEdit::dateChanged, this, [this](const QDate& date) { m_endDate = date; });
}

// ---------------------------------------------------------------------------
// Opening

void CVwRecSetDlg::SetDefaults()
{
    m_nImageCount = 1;
    m_pCount->setText(QStringLiteral("1"));
    SetMode(MODE_IMAGE);

    // The recorder's clock; 2000-01-01 00:00:00 when it cannot be read.
    CCivilTime now;
    const CVX2200NETApp* pApp = GetApp();
    CVX2200Ctrl* pCtrl = pApp ? pApp->GetCtrl() : nullptr;
    CCivilTime read;
    if (pCtrl && pCtrl->GetDateTime(read.nYear, read.nMonth, read.nDay, read.nHour, read.nMinute, read.nSecond)
                     == CVX2200Ctrl::STATUS_OK
        && read.IsValid())
        now = read;
    m_strEventName = QString::asprintf("%d%02d%02d%02d%02d%02d", now.nYear, now.nMonth, now.nDay, now.nHour,
                                       now.nMinute, now.nSecond)
                         .toStdString();
    const CCivilTime start = now.AddSeconds(-DEFAULT_SPAN_MINUTES * 60LL);
    m_endDate = QDate(now.nYear, now.nMonth, now.nDay);
    m_strEndHour = QString::number(now.nHour);
    m_strEndMin = QString::number(now.nMinute);
    m_startDate = QDate(start.nYear, start.nMonth, start.nDay);
    m_strStartHour = QString::number(start.nHour);
    m_strStartMin = QString::number(start.nMinute);

    // The data folder without its final '/'.
    std::string strData = pApp ? pApp->GetDataDir() : std::string();
    if (!strData.empty())
        strData.pop_back();
    m_strImageFolder = strData;
    m_strBackupFolder = strData;
    UpdateData(false);
    // A date outside the pickers' range is what the picker shows.
    m_startDate = m_pStartDate->date();
    m_endDate = m_pEndDate->date();
}

void CVwRecSetDlg::UpdateData(bool bSave)
{
    struct Field {
        QLineEdit* pEdit;
        QString* pText;
    };
    const Field fields[] = {
        {m_pStartHour, &m_strStartHour}, {m_pStartMin, &m_strStartMin},
        {m_pEndHour, &m_strEndHour},     {m_pEndMin, &m_strEndMin},
    };
    if (bSave) {
        m_strEventName = ToStd(m_pEventName->text());
        m_strImageFolder = ToStd(m_pImageFolder->text());
        m_strBackupFolder = ToStd(m_pBackupFolder->text());
        m_startDate = m_pStartDate->date();
        m_endDate = m_pEndDate->date();
        for (const Field& field : fields)
            *field.pText = field.pEdit->text();
        return;
    }
    m_pEventName->setText(FromStd(m_strEventName));
    m_pImageFolder->setText(FromStd(m_strImageFolder));
    m_pBackupFolder->setText(FromStd(m_strBackupFolder));
    m_pStartDate->setDate(m_startDate);
    m_pEndDate->setDate(m_endDate);
    for (const Field& field : fields)
        field.pEdit->setText(*field.pText);
}

void CVwRecSetDlg::SetMode(int nMode)
{
    m_nMode = nMode == MODE_BACKUP ? MODE_BACKUP : MODE_IMAGE;
    const bool bBackup = m_nMode == MODE_BACKUP;
    m_pBackup->setChecked(bBackup);
    m_pImage->setChecked(!bBackup);
    for (QWidget* pWidget : {static_cast<QWidget*>(m_pStartHour), static_cast<QWidget*>(m_pStartMin),
                             static_cast<QWidget*>(m_pEndHour), static_cast<QWidget*>(m_pEndMin),
                             static_cast<QWidget*>(m_pStartDate), static_cast<QWidget*>(m_pEndDate),
                             static_cast<QWidget*>(m_pBackupFolder), static_cast<QWidget*>(m_pBackupBrowse)})
        pWidget->setEnabled(bBackup);
    for (QWidget* pWidget : {static_cast<QWidget*>(m_pCount), static_cast<QWidget*>(m_pCountSpin),
                             static_cast<QWidget*>(m_pImageFolder), static_cast<QWidget*>(m_pImageBrowse)})
        pWidget->setEnabled(!bBackup);
    UpdateData(true);
}

void CVwRecSetDlg::StepCount(int nStep)
{
    const int nCount = m_pCount->text().isEmpty() ? CSaveCheck::MIN_COUNT : TextToNumber(m_pCount->text());
    m_pCount->setText(QString::number(std::clamp(nCount + nStep, CSaveCheck::MIN_COUNT, CSaveCheck::MAX_COUNT)));
}

// ---------------------------------------------------------------------------
// Browse

void CVwRecSetDlg::OnBrowseImage()
{
    Browse(STRING_EVENT_FOLDER, m_strImageFolder);
}

void CVwRecSetDlg::OnBrowseBackup()
{
    Browse(STRING_BACKUP_FOLDER, m_strBackupFolder);
}

void CVwRecSetDlg::Browse(int nTitleId, std::string& strFolder)
{
    UpdateData(true);
    setEnabled(false);
    CFolderSelectDlg picker(1, ResString(nTitleId), CFolderSelectDlg::SF_DESKTOP);
    // The picker opens at the folder the field names.
    if (picker.BrowseFrom(FromStd(strFolder)) == CFolderSelectDlg::RESULT_CHOSEN) {
        strFolder = ToStd(picker.GetResult(CFolderSelectDlg::WHICH_PATH));
        UpdateData(false);
    }
    setEnabled(true);
}

// ---------------------------------------------------------------------------
// OK and Cancel

int CVwRecSetDlg::ValidatePath(const std::string& strFolder)
{
    const CVX2200NETApp* pApp = GetApp();
    return CSaveCheck::ValidatePath(pApp ? pApp->GetFileDB() : nullptr, CDriveInfo::FromSystem(), strFolder,
                                    m_strEventName);
}

bool CVwRecSetDlg::Refuse(int nMode)
{
    GetPrompter().Confirm(nMode);
    return false;
}

void CVwRecSetDlg::OnOK()
{
    UpdateData(true);
    if (!CheckFields())
        return;
    // One trailing '/' goes: the event folder is this folder, '/' and the name.
    if (m_nMode == MODE_IMAGE && m_strImageFolder.size() > 1 && m_strImageFolder.back() == '/')
        m_strImageFolder.pop_back();
    done(1);
}

// The checks of OK in their order; each refusal shows its notice.
bool CVwRecSetDlg::CheckFields()
{
    const int nPath = ValidatePath(m_nMode == MODE_IMAGE ? m_strImageFolder : m_strBackupFolder);
    if (nPath != CSaveCheck::PATH_OK)
        return Refuse(CSaveCheck::PathMode(nPath));
    // The name check has just read the database: a full one can take no event,
    // and pictures saved now could never be listed.
    const CVX2200NETApp* pApp = GetApp();
    if (CFileDBase* pDb = pApp ? pApp->GetFileDB() : nullptr; pDb && pDb->IsFull()) {
        GetPrompter().MessageBox(ToStd(LangText("\n\nThe event list is full (255 events).\n"
                                                "Delete an event in the PC File Viewer first.",
                                                "\n\nイベントの登録数が上限(255)に達しています。\n"
                                                "PCファイルビューアでイベントを削除してください。")),
                                 MESSAGE_CAPTION, MessageIcon::Warning, MessageButtons::Ok);
        return false;
    }
    for (const QString* pText : {&m_strStartHour, &m_strEndHour, &m_strStartMin, &m_strEndMin}) {
        if (pText->isEmpty())
            return Refuse(CSaveCheck::MODE_TIME);
    }
    const int nStartHour = TextToNumber(m_strStartHour);
    const int nEndHour = TextToNumber(m_strEndHour);
    const int nStartMin = TextToNumber(m_strStartMin);
    const int nEndMin = TextToNumber(m_strEndMin);
    if (nStartHour < 0 || nStartHour > 23 || nEndHour < 0 || nEndHour > 23 || nStartMin < 0 || nStartMin > 59
        || nEndMin < 0 || nEndMin > 59)
        return Refuse(CSaveCheck::MODE_TIME);
    if (!CheckNamesAndCount())
        return false;
    m_startTime = TimeOf(m_startDate, nStartHour, nStartMin);
    m_endTime = TimeOf(m_endDate, nEndHour, nEndMin);
    if (!CSaveCheck::IsTimeRange(m_startTime, m_endTime))
        return Refuse(CSaveCheck::MODE_TIME);
    return true;
}

bool CVwRecSetDlg::CheckNamesAndCount()
{
    if (CSaveCheck::IsBlankName(m_strEventName))
        return Refuse(CSaveCheck::MODE_NO_NAME);
    if (m_nMode == MODE_IMAGE) {
        if (m_pCount->text().isEmpty())
            return Refuse(CSaveCheck::MODE_NO_COUNT);
        m_nImageCount = TextToNumber(m_pCount->text());
    }
    if (m_nImageCount < CSaveCheck::MIN_COUNT || m_nImageCount > CSaveCheck::MAX_COUNT)
        return Refuse(CSaveCheck::MODE_COUNT);
    if (CSaveCheck::IsBadName(m_strEventName))
        return Refuse(CSaveCheck::MODE_BAD_NAME);
    return true;
}

void CVwRecSetDlg::OnCancel()
{
    done(0);
}

void CVwRecSetDlg::keyPressEvent(QKeyEvent* pEvent)
{
    // Enter never confirms; Esc cancels.
    if (pEvent->key() == Qt::Key_Return || pEvent->key() == Qt::Key_Enter) {
        pEvent->accept();
        return;
    }
    if (pEvent->key() == Qt::Key_Escape) {
        pEvent->accept();
        OnCancel();
        return;
    }
    QDialog::keyPressEvent(pEvent);
}
