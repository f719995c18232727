// Splits the byte stream the simulated recorder receives into requests:
// command frames (A0, length, code, parameters, AF), single chunk-request bytes
// (0x05) and anything else as junk. Nothing it is sent is trusted: a length
// byte that cannot be right, or a frame without its end byte, gives a bad frame.
#pragma once

#include <cstddef>
#include <string>

struct SimRequest {
    enum class Kind { Frame, ChunkRequest, BadFrame, Junk };
    Kind kind = Kind::Junk;
    std::string strBytes;

    // The code letters of a frame: four, or two for the picture family.
    std::string Code() const;
    bool IsPicture() const { return strBytes.size() > 2 && strBytes[2] == 'J'; }
};

class CSimFrameReader {
public:
    static constexpr std::size_t MAX_FRAME = 200;

    void Feed(const char* pData, std::size_t nLength) { m_strPending.append(pData, nLength); }
    // The next complete request; false when the bytes so far do not make one.
    bool Next(SimRequest& request);
    // Bytes of a request that has not arrived whole.
    bool HasPartial() const { return !m_strPending.empty(); }
    std::string TakePartial();

private:
    std::size_t FrameLength() const; // 0 when the header cannot start a frame

    std::string m_strPending;
};
