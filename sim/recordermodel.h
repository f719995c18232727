// The simulated recorder itself: its state (power, playback, recording, disk),
// its clock, its menu settings, timer programs and logs, and how it answers
// each command frame. No sockets here; CRecorderSim feeds it requests.
#pragma once

#include "sim/simanswer.h"
#include "sim/simclock.h"
#include "sim/simfault.h"
#include "sim/simframereader.h"
#include "sim/simpictureserver.h"
#include "sim/simrecording.h"

#include <array>
#include <cstdint>
#include <deque>
#include <optional>
#include <string>
#include <vector>

// One record of a recorder log.
struct SimLogRecord {
    std::uint8_t byFlag = 1;   // entry flag; 0 marks no entry
    SimDateTime time;
    std::uint8_t byExtra[2] = {0, 0};
    int nCode = 0;             // event (general and alarm logs) or failure code
};

class CRecorderModel {
public:
    static constexpr int SETTING_COUNT = 35;
    static constexpr int PROGRAM_COUNT = 10;
    static constexpr int PROGRAM_SIZE = 14;
    static constexpr int LOG_KINDS = 3; // general and timer, alarm, failure
    static constexpr std::size_t LOG_KEEP = 1000;

    enum LogKind { LOG_REC = 0, LOG_ALARM = 1, LOG_FAILURE = 2 };
    enum RecEvent { REC_START = 0, REC_END = 1, TIMER_START = 2, TIMER_END = 3 };
    enum AlarmEvent { ALARM_START = 0, ALARM_END = 1 };

    struct Config {
        SimDateTime start = SimDateTime::LocalNow();
        bool bAcceptMenuAlways = false;
        bool bSingleDisk = false; // play mode, disk mode and its display do not apply
        int nCameras = 16;
        int nRecordedMinutes = 60; // the recording before the clock's start
        // REC INTERVAL (0..14) of the recorded hour and after; -1 the factory value.
        int nRecInterval = -1;
    };

    // What the recorder sends back: an acknowledge byte (or none) and an answer
    // frame (or none), or that it closes the connection.
    using Answer = SimAnswer;

    using Program = std::array<std::uint8_t, PROGRAM_SIZE>;

    explicit CRecorderModel(const Config& config);

    // Answers one request. BadYear and EndlessLog are the faults that change
    // what the recorder says; the others are applied to the answer outside.
    Answer Handle(const SimRequest& request, SimFault fault);

    std::array<int, 4> GetStatus() const { return m_nStatus; }
    void SetStatus(const std::array<int, 4>& nStatus);
    // A one-byte setting k as the recorder holds it (0..255); -1 for the clock
    // and the timer program.
    int GetSetting(int k) const;
    void SetSetting(int k, int nByte);
    SimDateTime GetClock() const { return m_clock.Now(); }
    void SetClock(const SimDateTime& dt);
    Program GetProgram(int n) const;
    void SetProgram(int n, const Program& program);
    std::vector<SimLogRecord> GetLog(int nKind) const; // newest first
    void SetLog(int nKind, const std::vector<SimLogRecord>& records);
    void SetAcceptMenuAlways(bool bAccept) { m_config.bAcceptMenuAlways = bAccept; }
    void SetSingleDisk(bool bSingle) { m_config.bSingleDisk = bSingle; }
    // An alarm input: alarm recording starts.
    void TriggerAlarm();

    // The recorded pictures (see CSimPictureServer), brought up to the clock
    // first: the picture position, the pictures recorded so far, and the JPEG
    // bytes of one.
    long long PicturePosition();
    long long PictureCount();
    CSimRecording::Picture PictureAt(long long nIndex);
    // The picture taken in the second of dt with frame number nFrame; nIndex -1 if none.
    CSimRecording::Picture FindPicture(const SimDateTime& dt, int nFrame);
    std::string PictureJpeg(long long nIndex) { return m_pictures.Jpeg(nIndex); }
    void SetFixedPicture(std::optional<std::string> bytes) { m_pictures.SetFixedPicture(std::move(bytes)); }

private:
    using KeyHandler = bool (CRecorderModel::*)();
    struct KeyDef {
        const char* pszSuffix;
        KeyHandler handler;
    };
    static const KeyDef kKeys[];

    Answer HandleKey(const std::string& strFrame);
    Answer HandleStatus();
    Answer HandleMenuSet(const std::string& strFrame);
    Answer HandleMenuValue(const std::string& strFrame, SimFault fault);
    Answer HandleLog(const std::string& strFrame, SimFault fault);
    Answer Dispatch(const SimRequest& request, SimFault fault);
    // Brings the recorded pictures up to the clock, the recording state and the
    // recording interval.
    void SyncPictures();

    bool KeyPowerOn();
    bool KeyPowerOff();
    bool KeyPlay();
    bool KeyPlayStop();
    bool KeyReverse();
    bool KeyPause();
    bool KeyRecord();
    bool KeyRecordStop();
    bool KeyAlarmReset();
    bool KeyTimer();
    bool KeyAlarm();
    bool KeyAccept();

    bool IsOn() const { return m_nStatus[0] != 0; }
    bool MenuWritable() const { return m_config.bAcceptMenuAlways || !IsOn(); }
    bool Applies(int k) const;
    bool ValidSetting(int k, int nValue) const;
    bool ValidProgram(const Program& program) const;
    int FindSetting(const std::string& strSuffix) const;
    void StopRecording();
    void UpdateTimerRecording();
    bool TimerProgramActive(const SimDateTime& now) const;
    void AddLog(int nKind, int nCode);
    std::string LogAnswer(const std::string& strCode, int nKind, std::size_t nIndex, bool bEndless) const;
    void InitialState(const SimDateTime& start);

    Config m_config;
    CSimClock m_clock;
    std::array<int, 4> m_nStatus {1, 0, 0, 0};
    std::array<int, SETTING_COUNT> m_nSetting {};
    std::array<Program, PROGRAM_COUNT> m_program {};
    std::array<std::deque<SimLogRecord>, LOG_KINDS> m_log;
    std::array<std::size_t, LOG_KINDS> m_nLogCursor {};
    CSimPictureServer m_pictures;
};
