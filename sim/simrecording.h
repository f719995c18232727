// What the simulated recorder has recorded: cameras 1..N in turn, one picture
// per recording interval, in recordings that begin when the recorder starts
// recording and end when it stops. Nothing is stored per picture: a picture is
// its index in the whole sequence, oldest first, and its camera, time and frame
// number follow from the recording it lies in. Times are milliseconds of the
// recorder's clock (SimDateTime::ToMs).
#pragma once

#include <vector>

class CSimRecording {
public:
    // A block is one minute of recording.
    static constexpr long long BLOCK_MS = 60'000;

    struct Picture {
        long long nIndex = -1;
        int nCamera = 0;      // 1..N
        long long nTimeMs = 0;
        int nFrame = 0;       // its place among the pictures of its second, from 0
    };

    // The first recording: from nBeginMs up to (not including) nEndMs.
    CSimRecording(int nCameras, long long nBeginMs, long long nEndMs, int nIntervalMs);

    // Brings the recordings up to nNowMs. A recording runs while bRecording
    // holds; it ends when the recorder stops, when the interval changes (a new
    // one starts with the new interval) and when the clock is set back (no
    // picture is ever lost).
    void Sync(long long nNowMs, bool bRecording, int nIntervalMs);
    // The clock was set: a running recording ends at the old time and goes on
    // from the new one.
    void ClockChanged(long long nOldNowMs, long long nNewNowMs);

    // Whether a recording is running (as of the last Sync).
    bool IsRecording() const { return m_segments.back().bOpen; }
    // The number of pictures up to the last Sync.
    long long Count() const;
    // Picture nIndex (0..Count() - 1); nIndex -1 when there is none.
    Picture At(long long nIndex) const;
    // The first picture (in recording order) taken at or after nTimeMs; -1 if none.
    long long FirstAtOrAfter(long long nTimeMs) const;
    // The picture taken in the given second with the given frame number; -1 if none.
    long long Find(long long nSecondMs, int nFrame) const;
    // The first picture of the block that holds nIndex.
    long long BlockStart(long long nIndex) const;
    // The first picture of the block after the one that holds nIndex; -1 if none.
    long long NextBlock(long long nIndex) const;
    // The first picture of the newest recording that holds one; -1 if none.
    long long NewestRecordingStart() const;

private:
    struct Segment {
        long long nBeginMs = 0;
        long long nEndMs = 0; // exclusive; unused while open
        int nIntervalMs = 1000;
        long long nFirst = 0; // index of its first picture
        bool bOpen = false;
    };

    long long PicturesIn(const Segment& seg) const;
    long long TimeOf(const Segment& seg, long long i) const { return seg.nBeginMs + i * seg.nIntervalMs; }
    // The first picture of seg taken at or after nTimeMs (may be PicturesIn(seg)).
    long long FirstFrom(const Segment& seg, long long nTimeMs) const;
    const Segment* SegmentOf(long long nIndex) const;
    void Open(long long nBeginMs, int nIntervalMs);

    int m_nCameras;
    long long m_nNowMs;
    std::vector<Segment> m_segments;
};
