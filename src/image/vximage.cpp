#include "image/vximage.h"

#include "link/vx2200ctrl.h"
#include "platform/fileutil.h"
#include "platform/prompter.h"
#include "platform/stringtable.h"

#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

static_assert(CVXImage::FRAME_BYTES == CVX2200Ctrl::PICTURE_BUFFER_BYTES);

namespace {

constexpr int ROW_BYTES = CVXImage::FRAME_WIDTH * 3;
constexpr int VISIBLE_LEFT = 9;
constexpr int VISIBLE_TOP = 17;
constexpr int DISPLAY_ROW_BYTES = CVXImage::DISPLAY_WIDTH * 3;
constexpr unsigned WHITE_LEVEL = 125;
constexpr const char* APP_CAPTION = "VX2200NET";
constexpr const char* WARNING_SUFFIX = "(CVXImage Warning)";
constexpr const char* TEST_FILE = "test.jpg";
constexpr const char* TEMP_SUFFIX = ".XXXXXX";

// A bar of the camera mark: columns nLeft .. nRight - 2 are summed, and the sum
// is divided by nRight - nLeft + 1.
struct Bar {
    int nLeft;
    int nRight;
};
constexpr Bar START_BAR = {73, 168};
constexpr Bar BIT_BARS[4] = {{265, 360}, {361, 456}, {457, 552}, {553, 648}}; // bit 3 .. bit 0
constexpr Bar STOP_BAR = {649, 720};

bool IsWhite(const unsigned* pColumns, const Bar& bar)
{
    unsigned nSum = 0;
    for (int x = bar.nLeft; x <= bar.nRight - 2; ++x)
        nSum += pColumns[x];
    return nSum / static_cast<unsigned>(bar.nRight - bar.nLeft + 1) >= WHITE_LEVEL;
}

std::string WithSlash(std::string strFolder)
{
    if (!strFolder.empty() && strFolder.back() != '/')
        strFolder += '/';
    return strFolder;
}

} // namespace

CVXImage::CVXImage(CVX2200Ctrl* pCtrl, std::string strProgDir)
    : m_pCtrl(pCtrl), m_strProgDir(WithSlash(std::move(strProgDir))), m_strTestPath(m_strProgDir + TEST_FILE),
      m_pJpegBuffer(new std::uint8_t[FRAME_BYTES])
{
    const std::string strTemplate = m_strTestPath + TEMP_SUFFIX;
    m_tempTemplate.assign(strTemplate.begin(), strTemplate.end());
    m_tempTemplate.push_back('\0');
    m_tempName = m_tempTemplate;
    m_strTempPath.reserve(m_tempTemplate.size());
}

CVXImage::~CVXImage() = default;

int CVXImage::FetchPicture(std::uint8_t* pInfo, std::uint8_t* pFrame, int nCommand,
                           int t1, int t2, int t3, int t4, int t5, int t6)
{
    if (!m_pCtrl || !pInfo || !pFrame)
        return 0;
    int nSize = 0;
    const int nStatus = m_pCtrl->TransferPicture(pInfo, m_pJpegBuffer.get(), nSize, nCommand, t1, t2, t3, t4, t5, t6);
    // A size beyond the buffer was never received: the fetch fails and
    // test.jpg keeps the last picture that really arrived.
    if (nStatus != 0 || nSize <= 0 || static_cast<std::size_t>(nSize) > FRAME_BYTES)
        return 0;

    if (!WriteTempFile(static_cast<std::size_t>(nSize))) {
        if (!m_bWarned) {
            m_bWarned = true;
            GetPrompter().MessageBox(std::string(CStringTable::Load(STRING_FILE_MISSING)) + WARNING_SUFFIX,
                                     APP_CAPTION, MessageIcon::Error, MessageButtons::Ok);
            return 0;
        }
        // While test.jpg stays unwritable, whatever it holds is decoded.
        return DecodeFrame(m_strTestPath, pInfo, pFrame);
    }
    // The new bytes replace test.jpg only when they decode: test.jpg, its size
    // and the frame the caller keeps always belong to the same picture, and
    // saving copies test.jpg.
    if (!DecodeFrame(m_strTempPath, pInfo, pFrame) || !CommitTempFile(static_cast<std::size_t>(nSize))) {
        ::unlink(m_strTempPath.c_str());
        return 0;
    }
    return 1;
}

int CVXImage::DecodeFrame(const std::string& strPath, std::uint8_t* pInfo, std::uint8_t* pFrame)
{
    int nWidth = 0;
    int nHeight = 0;
    if (!m_jpeg.DecodeFile(strPath, pFrame, nWidth, nHeight, FRAME_BYTES))
        return 0;
    if (!m_jpeg.SwapRedBlue(pFrame, static_cast<unsigned>(nWidth), static_cast<unsigned>(nHeight), FRAME_BYTES))
        return 0;
    ThresholdBand(pFrame, MARK_LEVEL);
    pInfo[17] = static_cast<std::uint8_t>(ReadCameraMark(pFrame));
    std::memset(pInfo + 18, 0, 4);
    return 1;
}

// test.jpg is replaced whole: the bytes go to a temporary file beside it,
// which is renamed over it once it has decoded, so that it never holds part of
// a picture (the pictures saved to the PC are copies of it). On failure
// test.jpg is as it was.
bool CVXImage::WriteTempFile(std::size_t nLength)
{
    std::memcpy(m_tempName.data(), m_tempTemplate.data(), m_tempTemplate.size());
    const int nFd = ::mkostemp(m_tempName.data(), O_CLOEXEC);
    if (nFd < 0)
        return false;
    // The name's length never changes, so this reuses the string's storage.
    m_strTempPath.assign(m_tempName.data(), m_tempTemplate.size() - 1);
    bool bOk = WriteAll(nFd, m_pJpegBuffer.get(), nLength) && ::fchmod(nFd, 0644) == 0;
    bOk = ::close(nFd) == 0 && bOk;
    if (!bOk)
        ::unlink(m_tempName.data());
    return bOk;
}

bool CVXImage::CommitTempFile(std::size_t nLength)
{
    if (::rename(m_strTempPath.c_str(), m_strTestPath.c_str()) != 0)
        return false;
    // The file holds exactly the bytes written.
    m_nLastFileSize = static_cast<int>(nLength);
    m_bWarned = false;
    return true;
}

int CVXImage::LoadPictureFile(const std::string& strPath, std::uint8_t* pFrame, int& nWidth, int& nHeight)
{
    if (!m_jpeg.DecodeFile(strPath, pFrame, nWidth, nHeight, FRAME_BYTES))
        return 0;
    return m_jpeg.SwapRedBlue(pFrame, static_cast<unsigned>(nWidth), static_cast<unsigned>(nHeight), FRAME_BYTES);
}

void CVXImage::CropVisible(std::uint8_t* pDest, const std::uint8_t* pSource)
{
    for (int y = VISIBLE_TOP; y < FRAME_HEIGHT; ++y)
        std::memcpy(pDest + (y - VISIBLE_TOP) * DISPLAY_ROW_BYTES, pSource + y * ROW_BYTES + VISIBLE_LEFT * 3,
                    DISPLAY_ROW_BYTES);
    std::memset(pDest + (FRAME_HEIGHT - VISIBLE_TOP) * DISPLAY_ROW_BYTES, 0, DISPLAY_ROW_BYTES);
}

void CVXImage::ThresholdBand(std::uint8_t* pFrame, int nLevel)
{
    for (int y = MARK_TOP; y < MARK_BOTTOM; ++y) {
        std::uint8_t* p = pFrame + y * ROW_BYTES;
        for (int i = 0; i < ROW_BYTES; ++i)
            p[i] = p[i] > nLevel ? 255 : 0;
    }
}

int CVXImage::ReadCameraMark(const std::uint8_t* pFrame)
{
    unsigned nColumns[FRAME_WIDTH];
    for (int x = 0; x < FRAME_WIDTH; ++x) {
        unsigned nSum = 0;
        for (int y = MARK_TOP; y < MARK_BOTTOM; ++y) {
            const std::uint8_t* p = pFrame + y * ROW_BYTES + x * 3;
            nSum += p[0] + p[1] + p[2];
        }
        nColumns[x] = nSum;
    }
    if (!IsWhite(nColumns, START_BAR) || IsWhite(nColumns, STOP_BAR))
        return 0;
    int nValue = 0;
    for (const Bar& bar : BIT_BARS)
        nValue = nValue * 2 + (IsWhite(nColumns, bar) ? 1 : 0);
    return 15 - nValue;
}
