#include "sim/simpictureserver.h"

#include "sim/simpicture.h"

#include <algorithm>
#include <cctype>

namespace {

constexpr char ACK = 0x06;
constexpr char NAK = 0x15;
constexpr char FRAME_START = static_cast<char>(0xA0);
constexpr char FRAME_END = static_cast<char>(0xAF);
constexpr char TRAILER = static_cast<char>(0xAF);
constexpr int J0_PARAMS = 12;
constexpr int PARAM = 4; // first parameter byte of a picture frame
constexpr char CHUNK_LONG_LENGTH = static_cast<char>(0x80);
constexpr int CHUNK_LONG_BYTES = 0x80;

// The recording interval list in milliseconds: 1/60, 1/30, 1/15, 1/10, 1/5,
// 1/3, 1/2, 1, 2, 3, 5, 10, 20, 30 and 60 seconds.
constexpr int kIntervalMs[] = {17, 33, 67, 100, 200, 333, 500, 1000, 2000, 3000, 5000, 10000, 20000, 30000, 60000};

SimAnswer Nak()
{
    return {std::string(1, NAK), {}, false};
}

SimAnswer Ack()
{
    return {std::string(1, ACK), {}, false};
}

// A picture-family frame: A0, the number of parameter bytes, 'J', a letter,
// the parameters, AF.
std::string PictureFrame(char chCode, const std::string& strParams)
{
    std::string strFrame;
    strFrame += FRAME_START;
    strFrame += static_cast<char>(strParams.size());
    strFrame += 'J';
    strFrame += chCode;
    strFrame += strParams;
    strFrame += FRAME_END;
    return strFrame;
}

std::string BigEndian32(std::uint32_t n)
{
    return {static_cast<char>(n >> 24), static_cast<char>(n >> 16), static_cast<char>(n >> 8), static_cast<char>(n)};
}

// The J0 time: six values of two ASCII digits each, year - 2000 first.
bool ParseTime(const std::string& strFrame, SimDateTime& dt)
{
    int nValues[6] = {};
    for (int i = 0; i < 6; ++i) {
        const char chTens = strFrame[static_cast<std::size_t>(PARAM + 2 * i)];
        const char chOnes = strFrame[static_cast<std::size_t>(PARAM + 2 * i + 1)];
        if (!std::isdigit(static_cast<unsigned char>(chTens)) || !std::isdigit(static_cast<unsigned char>(chOnes)))
            return false;
        nValues[i] = (chTens - '0') * 10 + (chOnes - '0');
    }
    dt = SimDateTime {2000 + nValues[0], nValues[1], nValues[2], nValues[3], nValues[4], nValues[5]};
    return dt.IsValid();
}

} // namespace

int CSimPictureServer::IntervalMs(int nSetting)
{
    const int nLast = static_cast<int>(std::size(kIntervalMs)) - 1;
    return std::max(kIntervalMs[std::clamp(nSetting, 0, nLast)], INTERVAL_FLOOR_MS);
}

CSimPictureServer::CSimPictureServer(int nCameras, long long nStartMs, int nIntervalMs, int nRecordedMinutes)
    : m_recording(nCameras, nStartMs - std::clamp(nRecordedMinutes, 1, 60 * 24 * 366) * 60'000LL, nStartMs, nIntervalMs)
{
    m_nPosition = m_recording.Count() - 1;
}

long long CSimPictureServer::Position() const
{
    return std::clamp(m_nPosition, 0LL, std::max(m_recording.Count() - 1, 0LL));
}

void CSimPictureServer::SetFixedPicture(std::optional<std::string> bytes)
{
    m_fixed = bytes ? std::make_shared<const std::string>(std::move(*bytes)) : nullptr;
}

SimAnswer CSimPictureServer::Handle(const SimRequest& request, SimFault fault, bool bOn)
{
    if (request.kind == SimRequest::Kind::ChunkRequest)
        return Chunk();
    EndUpload();
    const std::string& strFrame = request.strBytes;
    const int nParams = static_cast<std::uint8_t>(strFrame[1]);
    const char chCode = strFrame[3];
    if (chCode == 'I')
        return nParams == 0 ? Info() : Nak();
    if (chCode == 'U')
        return nParams == 0 ? StartUpload(fault) : Nak();
    if (chCode >= '0' && chCode <= '6' && nParams == (chCode == '0' ? J0_PARAMS : 0))
        return Move(chCode - '0', strFrame, bOn);
    return Nak();
}

// J0 the first picture at or after a time; J1, J2 the next and the previous
// picture (staying at the newest and the oldest); J3, J4 the first picture of
// the next and the previous block (J3 stays in the newest block, J4 goes round
// from the oldest block to the newest); J5 where playback begins: the start of
// the newest recording, or the newest picture while recording goes on; J6 the
// newest picture.
SimAnswer CSimPictureServer::Move(int j, const std::string& strFrame, bool bOn)
{
    const long long nCount = m_recording.Count();
    if (!bOn || nCount == 0)
        return Nak();
    const long long nPos = Position();
    const long long nNewest = nCount - 1;
    long long nNew = nPos;
    switch (j) {
    case 0: {
        SimDateTime dt;
        if (!ParseTime(strFrame, dt))
            return Nak();
        nNew = m_recording.FirstAtOrAfter(dt.ToMs());
        if (nNew < 0)
            return Nak();
        break;
    }
    case 1: nNew = std::min(nPos + 1, nNewest); break;
    case 2: nNew = std::max(nPos - 1, 0LL); break;
    case 3: {
        const long long nNext = m_recording.NextBlock(nPos);
        nNew = nNext >= 0 ? nNext : nPos;
        break;
    }
    case 4: {
        const long long nStart = m_recording.BlockStart(nPos);
        nNew = m_recording.BlockStart(nStart > 0 ? nStart - 1 : nNewest);
        break;
    }
    case 5: nNew = m_recording.IsRecording() ? nNewest : m_recording.NewestRecordingStart(); break;
    default: nNew = nNewest; break;
    }
    m_nPosition = nNew;
    return Ack();
}

SimAnswer CSimPictureServer::Info()
{
    std::string strParams(3 + INFO_SIZE, '\0');
    const CSimRecording::Picture picture = m_recording.At(Position());
    if (picture.nIndex >= 0) {
        std::uint8_t record[INFO_SIZE] = {};
        CSimPicture::MakeInfo(picture.nCamera, SimDateTime::FromMs(picture.nTimeMs), picture.nFrame, record);
        std::copy(std::begin(record), std::end(record), strParams.begin() + 3);
    }
    return {{}, PictureFrame('I', strParams), false};
}

SimAnswer CSimPictureServer::StartUpload(SimFault fault)
{
    std::shared_ptr<const std::string> bytes = m_fixed ? m_fixed : Encoded(Position());
    if (fault == SimFault::BadPicture && bytes)
        bytes = std::make_shared<const std::string>(bytes->size(), '\x5A');
    std::uint32_t nSize = bytes ? static_cast<std::uint32_t>(bytes->size()) : 0;
    if (fault == SimFault::SizeZero)
        nSize = 0;
    if (fault == SimFault::SizeHuge)
        nSize = MAX_PICTURE + 1;
    const bool bChunks = nSize > 0 && fault != SimFault::SizeHuge;
    if (bChunks)
        m_upload = Upload {std::move(bytes), 0, 0, fault, true};
    return {{}, PictureFrame('V', BigEndian32(nSize)), false};
}

SimAnswer CSimPictureServer::Chunk()
{
    Upload& up = m_upload;
    if (!up.bActive)
        return {}; // a chunk request outside an upload goes unanswered
    const bool bBreak = up.nChunks >= CHUNKS_BEFORE_BREAK;
    if (up.fault == SimFault::CloseMidPicture && bBreak) {
        EndUpload();
        return {{}, {}, true};
    }
    if (up.fault == SimFault::SilenceMidPicture && bBreak)
        return {};
    const bool bFirst = up.nChunks == 0;
    const std::size_t nFrom = std::min(up.nOffset, up.bytes->size());
    const std::size_t nTake = std::min<std::size_t>(up.bytes->size() - nFrom, CHUNK_FULL);
    const bool bShort = nTake > 0 && nTake <= CHUNK_SHORT_MAX;
    std::size_t nData = bShort ? nTake : CHUNK_FULL;
    char chLength = bShort ? static_cast<char>(nTake) : '\0';
    up.nOffset += nTake;
    ++up.nChunks;
    bool bLast = up.nOffset >= up.bytes->size();
    if (up.fault == SimFault::ChunkOverrun)
        bLast = up.nChunks >= OVERRUN_CHUNKS;
    if (up.fault == SimFault::ChunkLong && bFirst) {
        chLength = CHUNK_LONG_LENGTH;
        nData = CHUNK_LONG_BYTES;
    }
    const char chCode = up.fault == SimFault::ChunkBadCode && bFirst ? 'Y' : (bLast ? 'X' : 'W');
    SimAnswer answer;
    std::string& strChunk = answer.strFrame;
    strChunk.reserve(4 + nData + 1);
    strChunk += {FRAME_START, chLength, 'J', chCode};
    strChunk.append(*up.bytes, nFrom, std::min(nTake, nData));
    strChunk.resize(4 + nData, '\0'); // padding
    strChunk += TRAILER;
    if (bLast)
        EndUpload();
    return answer;
}

std::shared_ptr<const std::string> CSimPictureServer::Encoded(long long nIndex)
{
    if (nIndex == m_nCachedIndex && m_cached)
        return m_cached;
    const CSimRecording::Picture picture = m_recording.At(nIndex);
    if (picture.nIndex < 0)
        return nullptr;
    m_rgb.resize(CSimPicture::FRAME_BYTES);
    CSimPicture::Render(picture.nCamera, SimDateTime::FromMs(picture.nTimeMs), picture.nFrame, m_rgb.data());
    m_cached = std::make_shared<const std::string>(CSimPicture::Encode(m_rgb.data()));
    m_nCachedIndex = nIndex;
    return m_cached;
}

std::string CSimPictureServer::Jpeg(long long nIndex)
{
    const std::shared_ptr<const std::string> bytes = Encoded(nIndex);
    return bytes ? *bytes : std::string();
}
