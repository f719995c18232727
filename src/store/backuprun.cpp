#include "store/backuprun.h"

#include "image/vximage.h"
#include "platform/fileutil.h"

#include <algorithm>
#include <cstring>
#include <new>

namespace {

constexpr int CMD_AT_TIME = 0;
constexpr int CMD_FORWARD = 1;

// The bytes of a record that tell one picture from another: its time, its
// camera and its frame number.
struct Span {
    std::size_t nOffset;
    std::size_t nSize;
};
constexpr Span IDENTITY_SPANS[] = {
    {CPictureStamp::TIME_OFFSET, 12},
    {CPictureStamp::CAMERA_OFFSET, 1},
    {CPictureStamp::FRAME_OFFSET, 2},
};

CCivilTime TimeOf(const CPictureStamp& stamp)
{
    return {stamp.nYear, stamp.nMonth, stamp.nDay, stamp.nHour, stamp.nMinute, stamp.nSecond};
}

} // namespace

CBackupRun::CBackupRun(CVXImage& image, const std::string& strBackupFolder, const std::string& strEventName,
                       const CCivilTime& start, const CCivilTime& end)
    : m_image(image), m_strEventName(strEventName), m_strEventFolder(EventFolderOf(strBackupFolder, strEventName)),
      m_store(m_strEventFolder), m_start(start), m_end(end), m_nTotal(end.Seconds() - start.Seconds()),
      m_pFrame(new (std::nothrow) std::uint8_t[CVXImage::FRAME_BYTES])
{
}

CBackupRun::~CBackupRun() = default;

std::string CBackupRun::EventFolderOf(const std::string& strFolder, const std::string& strName)
{
    std::string strPath = strFolder;
    while (!strPath.empty() && strPath.back() == '/')
        strPath.pop_back();
    return strPath + "/" + strName;
}

bool CBackupRun::Start()
{
    const CCivilTime& t = m_start;
    m_bFetchOk = m_pFrame
              && m_image.FetchPicture(m_info.data(), m_pFrame.get(), CMD_AT_TIME, t.nYear - 2000, t.nMonth, t.nDay,
                                      t.nHour, t.nMinute, t.nSecond);
    if (!m_bFetchOk) {
        m_nTextId = STRING_FAILED;
        m_bFailedToStart = true;
        m_bOver = true;
        return false;
    }
    // Made here, one level; a folder that cannot be made fails the first store.
    MakeDirectory(m_strEventFolder);
    return true;
}

void CBackupRun::Step()
{
    if (!m_bFetchOk) {
        m_nProgress = PROGRESS_ENDED;
        return;
    }
    if (m_nCurrent >= m_end.Seconds() || !m_bRunning) {
        m_bFetchOk = false;
        return;
    }
    // A record whose time or camera is no picture's is passed over: it never
    // becomes a path.
    if (const auto stamp = CPictureStamp::FromInfo(m_info.data(), m_info.size()))
        StorePicture(*stamp);
    FetchNext();
}

void CBackupRun::StorePicture(const CPictureStamp& stamp)
{
    m_nCurrent = TimeOf(stamp).Seconds();
    const long long nSpan = m_nCurrent - m_start.Seconds();
    if (m_nTotal > 0 && nSpan < m_nTotal)
        m_nProgress = static_cast<int>(std::clamp<long long>(nSpan * RANGE / m_nTotal, 0, RANGE));
    else
        Finish(); // the first picture at or after the end: still stored
    if (m_store.SavePicture(m_info.data(), m_info.size(), m_image.GetTestFilePath(), false)
        != CPictureStore::SaveResult::Written) {
        Fail();
        return;
    }
    if (m_nSaved++ == 0)
        m_firstSaved = TimeOf(stamp);
    m_lastSaved = TimeOf(stamp);
}

void CBackupRun::FetchNext()
{
    const Info previous = m_info;
    m_bFetchOk = m_image.FetchPicture(m_info.data(), m_pFrame.get(), CMD_FORWARD) != 0;
    if (!m_bFetchOk) {
        Finish();
        return;
    }
    // The recorder stays on its newest picture when asked for the next one: a
    // range that ends after the recording would otherwise store that picture
    // again on every tick, for ever.
    if (SamePicture(previous, m_info)) {
        m_bFetchOk = false;
        Finish();
    }
}

void CBackupRun::Finish()
{
    // A run that has failed stays failed.
    if (m_nTextId != STRING_FAILED)
        m_nTextId = STRING_FINISHED;
    m_bOver = true;
    m_bFetchOk = false;
}

void CBackupRun::Fail()
{
    m_nTextId = STRING_FAILED;
    m_bRunning = false;
    m_bOver = true;
}

bool CBackupRun::SamePicture(const Info& a, const Info& b)
{
    return std::all_of(std::begin(IDENTITY_SPANS), std::end(IDENTITY_SPANS), [&](const Span& span) {
        return std::memcmp(a.data() + span.nOffset, b.data() + span.nOffset, span.nSize) == 0;
    });
}
