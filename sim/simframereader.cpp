#include "sim/simframereader.h"

#include <cstdint>
#include <utility>

namespace {

constexpr char FRAME_START = static_cast<char>(0xA0);
constexpr char FRAME_END = static_cast<char>(0xAF);
constexpr char CHUNK_REQUEST = 0x05;
constexpr std::size_t HEADER = 4; // start, length, two code letters

} // namespace

std::string SimRequest::Code() const
{
    if (kind != Kind::Frame)
        return {};
    return strBytes.substr(2, IsPicture() ? 2 : 4);
}

// The whole frame's length from its header: the four-letter families count the
// code letters and parameters, the picture family only the parameters.
std::size_t CSimFrameReader::FrameLength() const
{
    const auto nLength = static_cast<std::uint8_t>(m_strPending[1]);
    const std::size_t nTotal = m_strPending[2] == 'J' ? nLength + 5u : nLength + 3u;
    if (m_strPending[2] != 'J' && nLength < 4)
        return 0;
    return nTotal <= MAX_FRAME ? nTotal : 0;
}

bool CSimFrameReader::Next(SimRequest& request)
{
    if (m_strPending.empty())
        return false;
    if (m_strPending[0] == CHUNK_REQUEST) {
        request = {SimRequest::Kind::ChunkRequest, m_strPending.substr(0, 1)};
        m_strPending.erase(0, 1);
        return true;
    }
    if (m_strPending[0] != FRAME_START) {
        std::size_t n = 1;
        while (n < m_strPending.size() && m_strPending[n] != FRAME_START && m_strPending[n] != CHUNK_REQUEST)
            ++n;
        request = {SimRequest::Kind::Junk, m_strPending.substr(0, n)};
        m_strPending.erase(0, n);
        return true;
    }
    if (m_strPending.size() < HEADER)
        return false;
    const std::size_t nTotal = FrameLength();
    if (nTotal == 0) {
        request = {SimRequest::Kind::BadFrame, m_strPending.substr(0, HEADER)};
        m_strPending.erase(0, HEADER);
        return true;
    }
    if (m_strPending.size() < nTotal)
        return false;
    const bool bEnded = m_strPending[nTotal - 1] == FRAME_END;
    request = {bEnded ? SimRequest::Kind::Frame : SimRequest::Kind::BadFrame, m_strPending.substr(0, nTotal)};
    m_strPending.erase(0, nTotal);
    return true;
}

std::string CSimFrameReader::TakePartial()
{
    return std::exchange(m_strPending, {});
}
