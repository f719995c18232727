// The PC File Viewer page: Search and the thumbnail list. The pictures listed
// are the store walk's, from the chosen time on, at most 60.
#include "fileviewer/fileviewdlg.h"

#include "widgets/resstring.h"
#include "widgets/waitcursor.h"

#include <QComboBox>
#include <QDateEdit>
#include <QImage>
#include <QLabel>
#include <QListWidget>
#include <QPixmap>

namespace {

constexpr std::size_t PICTURE_NAME_SIZE = 20; // yyyymmddhhmmssff.jpg

// The number a list's text starts with; "N/A" and other texts read as 0.
int LeadingNumber(const QString& strText)
{
    int nValue = 0;
    for (QChar ch : strText) {
        if (!ch.isDigit() || nValue > 9999)
            break;
        nValue = nValue * 10 + ch.digitValue();
    }
    return nValue;
}

bool IsTwoDigits(const QString& strText)
{
    return strText.size() == 2 && strText[0].isDigit() && strText[1].isDigit();
}

} // namespace

QString CFileViewDlg::ThumbnailCaption(const std::string& strFileName, int nLanguage)
{
    if (strFileName.size() != PICTURE_NAME_SIZE)
        return QString();
    const QString strName = QString::fromLatin1(strFileName.c_str());
    const QString strYear = strName.mid(0, 4);
    const QString strMonth = strName.mid(4, 2);
    const QString strDay = strName.mid(6, 2);
    const QString strDate = nLanguage == 1 ? QStringLiteral("%1/%2/%3").arg(strMonth, strDay, strYear)
                                           : QStringLiteral("%1/%2/%3").arg(strYear, strMonth, strDay);
    return QStringLiteral("%1 %2:%3:%4 %5f")
        .arg(strDate, strName.mid(8, 2), strName.mid(10, 2), strName.mid(12, 2), strName.mid(14, 2));
}

void CFileViewDlg::Search()
{
    const CWaitCursor wait;
    ReadControls();
    for (QString& strCaption : m_strCaption)
        strCaption.clear();
    if (m_pEvent->currentIndex() >= 0)
        m_strEventName = m_pEvent->currentText();
    if (m_strEventName.isEmpty())
        return;
    const int nHour = LeadingNumber(m_pHour->currentText());
    const int nMinute = LeadingNumber(m_pMinute->currentText());
    const int nSecond = LeadingNumber(m_pSecond->currentText());
    // Only a camera the list offers names a folder: "N/A" (nothing to choose)
    // never becomes a path.
    const bool bCamera = !m_strEventFolderSlash.empty() && IsTwoDigits(m_strCamera);
    m_strCameraFolder = bCamera ? m_strEventFolderSlash + m_strCamera.toStdString() : std::string();
    m_walk.SetCameraFolder(m_strCameraFolder);
    m_pStatus->clear();

    const QDate date = m_date.date();
    const std::string strKey = CStoreWalk::TimeKey(date.year(), date.month(), date.day(), nHour, nMinute, nSecond);
    const std::vector<std::string> pictures =
        bCamera ? m_walk.PicturesFrom(strKey, MAX_THUMBNAIL) : std::vector<std::string>();
    if (pictures.empty()) {
        m_pStatus->setText(ResString(STRING_NO_IMAGES));
        ClearThumbnails();
        return;
    }
    ReadControls();
    FillThumbnails(pictures);
}

void CFileViewDlg::FillThumbnails(const std::vector<std::string>& pictures)
{
    m_pList->setUpdatesEnabled(false);
    ClearThumbnails();
    CThumbnailMaker maker;
    const int nLanguage = UiLanguage();
    const int nCount = std::min(static_cast<int>(pictures.size()), static_cast<int>(MAX_THUMBNAIL));
    for (int i = 0; i < nCount; ++i) {
        const std::string& strPicture = pictures[static_cast<std::size_t>(i)];
        m_strPicture[static_cast<std::size_t>(i)] = strPicture;
        const std::size_t nSlash = strPicture.rfind('/');
        const QString strCaption =
            ThumbnailCaption(nSlash == std::string::npos ? strPicture : strPicture.substr(nSlash + 1), nLanguage);
        m_strCaption[static_cast<std::size_t>(i)] = strCaption;
        std::uint8_t* pThumb = &m_thumbnails[static_cast<std::size_t>(i) * CThumbnailMaker::BYTES];
        // A picture that does not decode keeps its item, with the empty look.
        if (!maker.IsReady() || !maker.Make(strPicture, pThumb))
            CThumbnailMaker::FillEmpty(pThumb);
        const QImage image(pThumb, CThumbnailMaker::WIDTH, CThumbnailMaker::HEIGHT, CThumbnailMaker::WIDTH * 3,
                           QImage::Format_BGR888);
        m_pList->addItem(new QListWidgetItem(QIcon(QPixmap::fromImage(image)), strCaption));
        m_nThumbnailCount = i + 1;
    }
    m_pList->setUpdatesEnabled(true);
}

void CFileViewDlg::ClearThumbnails()
{
    m_pList->clear();
    m_nThumbnailCount = 0;
}

std::string CFileViewDlg::GetPicturePath(int i) const
{
    return i >= 0 && i < m_nThumbnailCount ? m_strPicture[static_cast<std::size_t>(i)] : std::string();
}

QString CFileViewDlg::GetCaption(int i) const
{
    return i >= 0 && i < m_nThumbnailCount ? m_strCaption[static_cast<std::size_t>(i)] : QString();
}

const std::uint8_t* CFileViewDlg::GetThumbnail(int i) const
{
    return i >= 0 && i < m_nThumbnailCount ? &m_thumbnails[static_cast<std::size_t>(i) * CThumbnailMaker::BYTES]
                                           : nullptr;
}
