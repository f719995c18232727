// The recorder's side of a link, played from a script for the fuzz targets: a
// socket pair whose one end the program's link adopts, and a thread on the
// other end that answers the n-th block of bytes the program sends with the
// script's n-th segment. When the program waits for bytes that the script does
// not give (its segment was too short), the peer closes its sending side, so
// the program meets a closed link at once instead of its one-second limit.
#pragma once

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <string>
#include <thread>
#include <vector>

class CVX2200Ctrl;

class CRecorderPeer {
public:
    // Splits fuzz bytes into segments: each is a two-byte big-endian length and
    // that many bytes (a last, shorter one takes what is left).
    static std::vector<std::string> Segments(const std::uint8_t* pData, std::size_t nSize);

    // Connects pCtrl to the peer (the link asks nothing when it breaks) and
    // installs the paint hook that notices a starved program.
    CRecorderPeer(CVX2200Ctrl& ctrl, std::vector<std::string> segments);
    ~CRecorderPeer();
    CRecorderPeer(const CRecorderPeer&) = delete;
    CRecorderPeer& operator=(const CRecorderPeer&) = delete;

private:
    void Run();
    void OnProgramWaiting();

    CVX2200Ctrl& m_ctrl;
    std::vector<std::string> m_segments;
    int m_hPeer = -1;
    std::atomic<bool> m_bIdle {false};
    std::atomic<bool> m_bClosed {false};
    std::thread m_thread;
};
