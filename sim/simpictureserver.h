// The simulated recorder's picture commands: the picture position and its
// moves (J0..J6), the information record of the picture there (JI) and the
// upload of its JPEG bytes (JU, then one chunk per 0x05 request). Pictures
// are made when they are asked for, from their camera, time and frame number;
// only the last one encoded is kept.
//
// Chunks carry 1024 bytes (length byte 0); the rest of a picture goes in one
// chunk of its own length when that is 127 bytes or less, and otherwise in a
// last chunk of 1024 bytes padded with zero bytes. Every chunk ends with a
// trailer byte.
#pragma once

#include "sim/simanswer.h"
#include "sim/simfault.h"
#include "sim/simframereader.h"
#include "sim/simrecording.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

class CSimPictureServer {
public:
    static constexpr std::size_t MAX_PICTURE = 535680;
    static constexpr int INFO_SIZE = 38;
    static constexpr int CHUNK_FULL = 1024;
    static constexpr int CHUNK_SHORT_MAX = 127;
    // chunk-overrun: chunks go on to 600 x 1024 = 614,400 bytes.
    static constexpr int OVERRUN_CHUNKS = 600;
    // mid-picture faults strike at the chunk request after this many chunks.
    static constexpr int CHUNKS_BEFORE_BREAK = 2;
    // The fastest interval recorded: one picture per 33 ms, what the program's
    // 33-ms ticks take and a loopback link carries with room to spare.
    static constexpr int INTERVAL_FLOOR_MS = 33;
    // The recording interval setting (REC INTERVAL, 0..14): 1/60 s .. 60 s.
    static int IntervalMs(int nSetting);

    // The first recording, nRecordedMinutes long (an hour unless said
    // otherwise), ends at nStartMs.
    CSimPictureServer(int nCameras, long long nStartMs, int nIntervalMs, int nRecordedMinutes = 60);

    void Sync(long long nNowMs, bool bRecording, int nIntervalMs) { m_recording.Sync(nNowMs, bRecording, nIntervalMs); }
    void ClockChanged(long long nOldNowMs, long long nNewNowMs) { m_recording.ClockChanged(nOldNowMs, nNewNowMs); }

    // A picture-family frame or a chunk request. bOn: the recorder is switched
    // on (a recorder that is off refuses the moves). fault: the fault set for
    // this command's code.
    SimAnswer Handle(const SimRequest& request, SimFault fault, bool bOn);
    // Anything else the recorder is sent ends an upload.
    void EndUpload() { m_upload = Upload {}; }

    // Every upload sends these bytes instead of the recorded picture (nullopt:
    // the recorded pictures again). The information record is still that of
    // the picture at the position.
    void SetFixedPicture(std::optional<std::string> bytes);

    long long Position() const;
    const CSimRecording& Recording() const { return m_recording; }
    // The JPEG bytes of picture nIndex; empty when there is no such picture.
    std::string Jpeg(long long nIndex);

private:
    struct Upload {
        std::shared_ptr<const std::string> bytes;
        std::size_t nOffset = 0;
        int nChunks = 0;
        SimFault fault = SimFault::None;
        bool bActive = false;
    };

    SimAnswer Move(int j, const std::string& strFrame, bool bOn);
    SimAnswer Info();
    SimAnswer StartUpload(SimFault fault);
    SimAnswer Chunk();
    std::shared_ptr<const std::string> Encoded(long long nIndex);

    CSimRecording m_recording;
    long long m_nPosition = 0;
    Upload m_upload;
    std::shared_ptr<const std::string> m_fixed;
    long long m_nCachedIndex = -1;
    std::shared_ptr<const std::string> m_cached;
    std::vector<std::uint8_t> m_rgb; // the frame being encoded
};
