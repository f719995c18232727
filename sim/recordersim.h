// The recorder simulator: a CRecorderModel served over TCP on a background
// thread, with fault injection per command code and a trace of every block of
// bytes received and sent. It serves one client at a time, the next when the
// previous one has left; told to, it serves up to nMaxClients at once, each
// request answered whole before the next one of any client (so a tool can act
// on the recorder while the program stays connected).
#pragma once

#include "sim/recordermodel.h"
#include "sim/simfault.h"
#include "sim/simframereader.h"
#include "sim/simtrace.h"

#include <array>
#include <atomic>
#include <condition_variable>
#include <deque>
#include <map>
#include <mutex>
#include <optional>
#include <ostream>
#include <string>
#include <thread>
#include <vector>

class CRecorderSim {
public:
    struct Options {
        std::string strBindAddress = "127.0.0.1";
        int nPort = 0;                      // 0: a free port chosen by the kernel
        int nCameras = 16;
        int nRecordedMinutes = 60;          // the recording before the clock's start
        int nRecInterval = -1;              // REC INTERVAL (0..14) of the recorded hour; -1 the factory value
        std::optional<SimDateTime> start;   // the clock's start; the local time when empty
        bool bAcceptMenuAlways = false;     // take menu writes while switched on, too
        bool bSingleDisk = false;           // play mode, disk mode and its display do not apply (refused)
        std::ostream* pTraceStream = nullptr; // a hex line per block received or sent
        std::size_t nTraceKeep = 20000;     // entries Trace() keeps, the newest (0: no trace is kept)
        int nMaxClients = 1;                // clients served at once, 1..MAX_CLIENTS
    };
    static constexpr int MAX_CLIENTS = 8;

    CRecorderSim(); // default options
    explicit CRecorderSim(Options options);
    ~CRecorderSim();
    CRecorderSim(const CRecorderSim&) = delete;
    CRecorderSim& operator=(const CRecorderSim&) = delete;

    // Binds, listens and serves on a background thread. False when the address
    // cannot be bound.
    bool Start();
    void Stop();
    int Port() const { return m_nPort; }

    // Faults for a command code ("BTPL", "MVRI", "LGRQ", "J6"; "*" for every
    // code), for the next nTimes exchanges of that code or (-1) until cleared,
    // after nSkip exchanges of the code have been answered well.
    void SetFault(const std::string& strCode, SimFault fault, int nTimes = -1, int nSkip = 0);
    void ClearFaults();

    std::vector<SimTraceEntry> Trace() const;
    void ClearTrace();

    // Clients served so far (each accepted connection counts).
    int ConnectionCount() const;
    // Ends the connection of the client being served now, and of every other
    // one connected: reset (bReset) or closed. A client still waiting to be
    // served is not affected.
    void DropClient(bool bReset);

    // The recorder's state, thread-safe.
    std::array<int, 4> GetStatus() const;           // power, playback, recording, disk
    void SetStatus(const std::array<int, 4>& nStatus);
    int GetSetting(int k) const;                    // the stored byte of setting k
    void SetSetting(int k, int nByte);
    SimDateTime GetClock() const;
    void SetClock(const SimDateTime& dt);
    CRecorderModel::Program GetTimerProgram(int n) const;
    void SetTimerProgram(int n, const CRecorderModel::Program& program);
    std::vector<SimLogRecord> GetLog(int nKind) const;
    void SetLog(int nKind, const std::vector<SimLogRecord>& records);
    void SetAcceptMenuAlways(bool bAccept);
    void SetSingleDisk(bool bSingle);
    void TriggerAlarm();

    // The recorded pictures, thread-safe: the picture position, how many have
    // been recorded, one by its index or by its second and frame number (the
    // time and frame of its information record), and its JPEG bytes.
    long long PicturePosition();
    long long PictureCount();
    CSimRecording::Picture PictureAt(long long nIndex);
    CSimRecording::Picture FindPicture(const SimDateTime& dt, int nFrame);
    std::string PictureJpeg(long long nIndex);
    // Uploads send these bytes instead of the recorded picture; nullopt ends that.
    void SetFixedPicture(std::optional<std::string> bytes);

private:
    // A connected client that is not the one being served now.
    struct Client {
        int h = -1;
        CSimFrameReader reader;
        long long nLastByteMs = 0;
    };

    struct FaultEntry {
        SimFault fault = SimFault::None;
        int nTimes = -1;
        int nSkip = 0;
    };

    void Run();
    void Accept();
    void ReadClient();
    // Several clients: waits for any of them (or a new one) and serves the
    // requests of those that sent some.
    void PollClients();
    // Makes the other client with handle h the one being served.
    void SwapIn(int h);
    void PromoteWaiting();
    int ClientCount() const;
    void Serve(const SimRequest& request);
    SimFault TakeFault(const std::string& strCode);
    void SendAnswer(CRecorderModel::Answer answer, SimFault fault);
    void SendBytes(const std::string& strBytes, bool bTrickle);
    bool PauseFor(int nMilliseconds);
    void CloseClient(bool bReset);
    void CloseAllClients(bool bReset);
    void ServeDropRequest();
    void Record(SimTraceEntry::Direction direction, const std::string& strBytes);

    Options m_options;
    int m_nPort = 0;
    int m_hListen = -1;
    int m_hClient = -1; // the client being served now
    std::vector<Client> m_others;
    int m_hWake[2] = {-1, -1};
    std::thread m_thread;
    std::atomic<bool> m_bStop {false};

    mutable std::mutex m_mutex; // guards everything below but the reader
    std::condition_variable m_dropDone;
    CRecorderModel m_model;
    std::map<std::string, FaultEntry> m_faults;
    std::deque<SimTraceEntry> m_trace;
    int m_nConnections = 0;
    std::optional<bool> m_dropRequest; // reset when true
    CSimFrameReader m_reader;
    long long m_nLastByteMs = 0;
};
