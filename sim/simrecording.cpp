#include "sim/simrecording.h"

#include <algorithm>
#include <optional>

namespace {

long long FloorTo(long long n, long long nUnit)
{
    const long long q = n / nUnit;
    return (n % nUnit != 0 && n < 0 ? q - 1 : q) * nUnit;
}

long long CeilDiv(long long n, long long d)
{
    return n <= 0 ? 0 : (n + d - 1) / d;
}

} // namespace

CSimRecording::CSimRecording(int nCameras, long long nBeginMs, long long nEndMs, int nIntervalMs)
    : m_nCameras(std::clamp(nCameras, 1, 16)), m_nNowMs(nEndMs)
{
    Segment seg;
    seg.nBeginMs = nBeginMs;
    seg.nEndMs = std::max(nBeginMs, nEndMs);
    seg.nIntervalMs = std::max(nIntervalMs, 1);
    m_segments.push_back(seg);
}

void CSimRecording::Open(long long nBeginMs, int nIntervalMs)
{
    Segment seg;
    seg.nBeginMs = nBeginMs;
    seg.nIntervalMs = std::max(nIntervalMs, 1);
    seg.nFirst = Count();
    seg.bOpen = true;
    m_segments.push_back(seg);
}

void CSimRecording::Sync(long long nNowMs, bool bRecording, int nIntervalMs)
{
    Segment& last = m_segments.back();
    if (last.bOpen) {
        std::optional<long long> end;
        if (nNowMs < m_nNowMs)
            end = m_nNowMs + 1; // the clock went back: what was recorded stays
        else if (!bRecording)
            end = nNowMs + 1; // the picture of this moment is kept
        else if (last.nIntervalMs != std::max(nIntervalMs, 1))
            end = nNowMs; // the new recording takes this moment
        if (end) {
            last.nEndMs = *end;
            last.bOpen = false;
        }
    }
    m_nNowMs = nNowMs;
    if (bRecording && !m_segments.back().bOpen)
        Open(nNowMs, nIntervalMs);
}

void CSimRecording::ClockChanged(long long nOldNowMs, long long nNewNowMs)
{
    Segment& last = m_segments.back();
    const bool bWasOpen = last.bOpen;
    const int nInterval = last.nIntervalMs;
    if (bWasOpen) {
        last.nEndMs = std::max(nOldNowMs, m_nNowMs) + 1;
        last.bOpen = false;
    }
    m_nNowMs = nNewNowMs;
    if (bWasOpen)
        Open(nNewNowMs, nInterval);
}

long long CSimRecording::PicturesIn(const Segment& seg) const
{
    const long long nEnd = seg.bOpen ? m_nNowMs + 1 : seg.nEndMs;
    return nEnd > seg.nBeginMs ? CeilDiv(nEnd - seg.nBeginMs, seg.nIntervalMs) : 0;
}

long long CSimRecording::Count() const
{
    const Segment& last = m_segments.back();
    return last.nFirst + PicturesIn(last);
}

const CSimRecording::Segment* CSimRecording::SegmentOf(long long nIndex) const
{
    if (nIndex < 0 || nIndex >= Count())
        return nullptr;
    // The last segment whose first index is not above nIndex; segments without
    // pictures share their first index with the next one.
    const auto it = std::upper_bound(m_segments.begin(), m_segments.end(), nIndex,
                                     [](long long n, const Segment& seg) { return n < seg.nFirst; });
    return &*(it - 1);
}

CSimRecording::Picture CSimRecording::At(long long nIndex) const
{
    const Segment* pSeg = SegmentOf(nIndex);
    if (!pSeg)
        return {};
    Picture picture;
    const long long i = nIndex - pSeg->nFirst;
    picture.nIndex = nIndex;
    picture.nCamera = static_cast<int>(nIndex % m_nCameras) + 1;
    picture.nTimeMs = TimeOf(*pSeg, i);
    picture.nFrame = static_cast<int>(i - FirstFrom(*pSeg, FloorTo(picture.nTimeMs, 1000)));
    return picture;
}

long long CSimRecording::FirstFrom(const Segment& seg, long long nTimeMs) const
{
    return CeilDiv(nTimeMs - seg.nBeginMs, seg.nIntervalMs);
}

long long CSimRecording::FirstAtOrAfter(long long nTimeMs) const
{
    for (const Segment& seg : m_segments) {
        const long long i = FirstFrom(seg, nTimeMs);
        if (i < PicturesIn(seg))
            return seg.nFirst + i;
    }
    return -1;
}

long long CSimRecording::Find(long long nSecondMs, int nFrame) const
{
    for (const Segment& seg : m_segments) {
        const long long i = FirstFrom(seg, nSecondMs) + nFrame;
        if (nFrame >= 0 && i < PicturesIn(seg) && FloorTo(TimeOf(seg, i), 1000) == nSecondMs)
            return seg.nFirst + i;
    }
    return -1;
}

long long CSimRecording::BlockStart(long long nIndex) const
{
    const Segment* pSeg = SegmentOf(nIndex);
    if (!pSeg)
        return -1;
    const long long nMinute = FloorTo(TimeOf(*pSeg, nIndex - pSeg->nFirst), BLOCK_MS);
    return pSeg->nFirst + FirstFrom(*pSeg, nMinute);
}

long long CSimRecording::NextBlock(long long nIndex) const
{
    const Segment* pSeg = SegmentOf(nIndex);
    if (!pSeg)
        return -1;
    const long long nNextMinute = FloorTo(TimeOf(*pSeg, nIndex - pSeg->nFirst), BLOCK_MS) + BLOCK_MS;
    const long long i = FirstFrom(*pSeg, nNextMinute);
    // The next minute of this recording, else the first picture of a later one.
    const long long nNext = i < PicturesIn(*pSeg) ? pSeg->nFirst + i : pSeg->nFirst + PicturesIn(*pSeg);
    return nNext < Count() ? nNext : -1;
}

long long CSimRecording::NewestRecordingStart() const
{
    for (auto it = m_segments.rbegin(); it != m_segments.rend(); ++it) {
        if (PicturesIn(*it) > 0)
            return it->nFirst;
    }
    return -1;
}
