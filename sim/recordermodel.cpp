#include "sim/recordermodel.h"

#include <algorithm>

namespace {

constexpr char ACK = 0x06;
constexpr char NAK = 0x15;
constexpr std::uint8_t FRAME_START = 0xA0;
constexpr std::uint8_t FRAME_END = 0xAF;
constexpr std::uint8_t MORE_FOLLOW = 0xFE;
constexpr std::uint8_t UNUSED = 0xFF;
constexpr int PARAM = 6;

constexpr int SET_DT = 2;
constexpr int SET_WD = 5;
constexpr int SET_RI = 9;
constexpr int SET_TM = 11;
constexpr int SET_VG = 27;

struct SettingDef {
    const char* pszSuffix;
    int nDefault;
    int nItems; // values 0 .. nItems - 1; 0 for the clock and the timer program
};

// The recorder's settings in command order, with their factory values.
constexpr SettingDef kSettings[CRecorderModel::SETTING_COUNT] = {
    {"PM", 0, 3}, {"PR", 1, 2}, {"DT", 0, 0}, {"TS", 0, 2}, {"TT", 3, 24},
    {"WD", 0, 2}, {"WM", 1, 3}, {"RQ", 2, 5}, {"RD", 0, 2}, {"RI", 7, 15},
    {"RC", 2, 10}, {"TM", 0, 0}, {"AS", 1, 3}, {"AN", 0, 2}, {"AP", 1, 8},
    {"AT", 2, 10}, {"AF", 3, 8}, {"AQ", 1, 5}, {"AD", 1, 2}, {"AI", 4, 8},
    {"AB", 1, 2}, {"AO", 0, 2}, {"VQ", 1, 2}, {"VD", 0, 2}, {"VW", 1, 2},
    {"VR", 1, 2}, {"VP", 1, 2}, {"VG", 1, 2}, {"VH", 1, 2}, {"VT", 1, 2},
    {"VC", 0, 6}, {"VM", 1, 2}, {"TR", 0, 3}, {"TF", 0, 2}, {"TC", 0, 3},
};

constexpr int MIRRORING_VG_ITEMS = 5;

// The factory timer programs: two weekly, two on a date, the rest cancelled.
constexpr CRecorderModel::Program kPrograms[] = {
    {0, 2, 0, 0, 0x3E, 8, 0, 18, 0, 2, 0, 7, 0, 0},   // Monday to Friday, 08:00-18:00
    {1, 2, 0, 0, 0x41, 10, 0, 16, 30, 3, 1, 9, 1, 0}, // Saturday and Sunday, 10:00-16:30
    {2, 1, 12, 24, 0, 20, 0, 23, 30, 1, 1, 5, 0, 1},  // 24 December, 20:00-23:30
    {3, 1, 1, 1, 0, 0, 0, 6, 0, 4, 0, 10, 1, 1},      // 1 January, 00:00-06:00
};

struct LogSeed {
    int nCode;
    int nHoursAgo;
    int nMinutesAgo;
};

constexpr LogSeed kRecSeed[] = {
    {CRecorderModel::TIMER_END, 2, 0},    {CRecorderModel::TIMER_START, 10, 0}, {CRecorderModel::REC_END, 26, 15},
    {CRecorderModel::REC_START, 30, 40},  {CRecorderModel::TIMER_END, 64, 0},   {CRecorderModel::TIMER_START, 72, 0},
    {CRecorderModel::REC_END, 98, 5},     {CRecorderModel::REC_START, 100, 20}, {CRecorderModel::TIMER_END, 112, 0},
    {CRecorderModel::TIMER_START, 120, 0}, {CRecorderModel::REC_END, 141, 33}, {CRecorderModel::REC_START, 150, 2},
};
constexpr LogSeed kAlarmSeed[] = {
    {CRecorderModel::ALARM_END, 4, 54},  {CRecorderModel::ALARM_START, 5, 0},
    {CRecorderModel::ALARM_END, 19, 52}, {CRecorderModel::ALARM_START, 20, 0},
    {CRecorderModel::ALARM_END, 49, 57}, {CRecorderModel::ALARM_START, 50, 0},
    {CRecorderModel::ALARM_END, 89, 55}, {CRecorderModel::ALARM_START, 90, 0},
};
constexpr LogSeed kFailureSeed[] = {
    {301, 12, 7},   // fan
    {250, 80, 41},  // disk
    {105, 200, 18}, // video input of camera 5
};

std::string MakeFrame(const std::string& strCode, const std::string& strPayload)
{
    std::string strFrame;
    strFrame += static_cast<char>(FRAME_START);
    strFrame += static_cast<char>(strCode.size() + strPayload.size());
    strFrame += strCode;
    strFrame += strPayload;
    strFrame += static_cast<char>(FRAME_END);
    return strFrame;
}

CRecorderModel::Answer Ack(std::string strFrame = {})
{
    return {std::string(1, ACK), std::move(strFrame)};
}

CRecorderModel::Answer Nak()
{
    return {std::string(1, NAK), {}};
}

std::uint8_t Byte(const std::string& str, std::size_t i)
{
    return static_cast<std::uint8_t>(str[i]);
}

int ParamCount(const std::string& strFrame)
{
    return Byte(strFrame, 1) - 4;
}

std::deque<SimLogRecord> Seed(const LogSeed* pSeed, std::size_t nCount, const SimDateTime& now)
{
    std::deque<SimLogRecord> log;
    for (std::size_t i = 0; i < nCount; ++i) {
        SimLogRecord record;
        record.time = now.AddSeconds(-(pSeed[i].nHoursAgo * 3600LL + pSeed[i].nMinutesAgo * 60LL));
        record.nCode = pSeed[i].nCode;
        log.push_back(record);
    }
    return log;
}

} // namespace

const CRecorderModel::KeyDef CRecorderModel::kKeys[] = {
    {"PO", &CRecorderModel::KeyPowerOn},  {"PF", &CRecorderModel::KeyPowerOff},
    {"PL", &CRecorderModel::KeyPlay},     {"ST", &CRecorderModel::KeyPlayStop},
    {"RV", &CRecorderModel::KeyReverse},  {"PS", &CRecorderModel::KeyPause},
    {"RD", &CRecorderModel::KeyRecord},   {"KH", &CRecorderModel::KeyAccept},
    {"RS", &CRecorderModel::KeyRecordStop}, {"DC", &CRecorderModel::KeyAlarmReset},
    {"MN", &CRecorderModel::KeyAccept},   {"ON", &CRecorderModel::KeyTimer},
    {"SC", &CRecorderModel::KeyAccept},   {"AL", &CRecorderModel::KeyAlarm},
    {"UP", &CRecorderModel::KeyAccept},   {"DW", &CRecorderModel::KeyAccept},
    {"LF", &CRecorderModel::KeyAccept},   {"RT", &CRecorderModel::KeyAccept},
    {"SL", &CRecorderModel::KeyAccept},
};

namespace {

int RecInterval(const CRecorderModel::Config& config)
{
    const SettingDef& ri = kSettings[SET_RI];
    return config.nRecInterval >= 0 && config.nRecInterval < ri.nItems ? config.nRecInterval : ri.nDefault;
}

} // namespace

CRecorderModel::CRecorderModel(const Config& config)
    : m_config(config), m_clock(config.start),
      m_pictures(config.nCameras, config.start.ToMs(), CSimPictureServer::IntervalMs(RecInterval(config)),
                 config.nRecordedMinutes)
{
    InitialState(config.start);
    m_nSetting[static_cast<std::size_t>(SET_RI)] = RecInterval(config);
}

void CRecorderModel::InitialState(const SimDateTime& start)
{
    for (int k = 0; k < SETTING_COUNT; ++k)
        m_nSetting[static_cast<std::size_t>(k)] = kSettings[k].nDefault;
    for (int n = 0; n < PROGRAM_COUNT; ++n) {
        Program program;
        program.fill(UNUSED);
        program[0] = static_cast<std::uint8_t>(n);
        program[1] = 0;
        m_program[static_cast<std::size_t>(n)] = program;
    }
    std::copy(std::begin(kPrograms), std::end(kPrograms), m_program.begin());
    m_log[LOG_REC] = Seed(kRecSeed, std::size(kRecSeed), start);
    m_log[LOG_ALARM] = Seed(kAlarmSeed, std::size(kAlarmSeed), start);
    m_log[LOG_FAILURE] = Seed(kFailureSeed, std::size(kFailureSeed), start);
}

int CRecorderModel::FindSetting(const std::string& strSuffix) const
{
    for (int k = 0; k < SETTING_COUNT; ++k) {
        if (strSuffix == kSettings[k].pszSuffix)
            return k;
    }
    return -1;
}

int CRecorderModel::GetSetting(int k) const
{
    if (k < 0 || k >= SETTING_COUNT || k == SET_DT || k == SET_TM)
        return -1;
    return m_nSetting[static_cast<std::size_t>(k)];
}

void CRecorderModel::SetSetting(int k, int nByte)
{
    if (GetSetting(k) >= 0)
        m_nSetting[static_cast<std::size_t>(k)] = nByte & 0xFF;
    SyncPictures();
}

void CRecorderModel::SetStatus(const std::array<int, 4>& nStatus)
{
    SyncPictures();
    m_nStatus = nStatus;
    SyncPictures();
}

// A recording that runs when the clock is set ends at the old time and goes on
// from the new one.
void CRecorderModel::SetClock(const SimDateTime& dt)
{
    SyncPictures();
    const long long nOldMs = m_clock.NowMs();
    m_clock.Set(dt);
    m_pictures.ClockChanged(nOldMs, m_clock.NowMs());
}

long long CRecorderModel::PicturePosition()
{
    SyncPictures();
    return m_pictures.Position();
}

long long CRecorderModel::PictureCount()
{
    SyncPictures();
    return m_pictures.Recording().Count();
}

CSimRecording::Picture CRecorderModel::PictureAt(long long nIndex)
{
    SyncPictures();
    return m_pictures.Recording().At(nIndex);
}

CSimRecording::Picture CRecorderModel::FindPicture(const SimDateTime& dt, int nFrame)
{
    SyncPictures();
    const CSimRecording& recording = m_pictures.Recording();
    return recording.At(recording.Find(dt.ToMs(), nFrame));
}

CRecorderModel::Program CRecorderModel::GetProgram(int n) const
{
    return n >= 0 && n < PROGRAM_COUNT ? m_program[static_cast<std::size_t>(n)] : Program {};
}

void CRecorderModel::SetProgram(int n, const Program& program)
{
    if (n >= 0 && n < PROGRAM_COUNT)
        m_program[static_cast<std::size_t>(n)] = program;
}

std::vector<SimLogRecord> CRecorderModel::GetLog(int nKind) const
{
    if (nKind < 0 || nKind >= LOG_KINDS)
        return {};
    const auto& log = m_log[static_cast<std::size_t>(nKind)];
    return {log.begin(), log.end()};
}

void CRecorderModel::SetLog(int nKind, const std::vector<SimLogRecord>& records)
{
    if (nKind >= 0 && nKind < LOG_KINDS)
        m_log[static_cast<std::size_t>(nKind)].assign(records.begin(), records.end());
}

CRecorderModel::Answer CRecorderModel::Handle(const SimRequest& request, SimFault fault)
{
    // Chunk requests come in the middle of an upload, which nothing changes.
    if (request.kind == SimRequest::Kind::ChunkRequest)
        return m_pictures.Handle(request, fault, IsOn());
    UpdateTimerRecording();
    SyncPictures();
    Answer answer = Dispatch(request, fault);
    SyncPictures();
    return answer;
}

void CRecorderModel::SyncPictures()
{
    const int nInterval = m_nSetting[static_cast<std::size_t>(SET_RI)];
    m_pictures.Sync(m_clock.NowMs(), m_nStatus[2] != 0, CSimPictureServer::IntervalMs(nInterval));
}

CRecorderModel::Answer CRecorderModel::Dispatch(const SimRequest& request, SimFault fault)
{
    if (request.kind != SimRequest::Kind::Frame || !request.IsPicture())
        m_pictures.EndUpload();
    if (request.kind == SimRequest::Kind::BadFrame)
        return Nak();
    if (request.kind != SimRequest::Kind::Frame)
        return {}; // junk goes unanswered
    if (request.IsPicture())
        return m_pictures.Handle(request, fault, IsOn());
    const std::string& strFrame = request.strBytes;
    const std::string strCode = request.Code();
    const std::string strFamily = strCode.substr(0, 2);
    if (strCode == "BTQT" && ParamCount(strFrame) == 0)
        return HandleStatus();
    if (strFamily == "BT")
        return HandleKey(strFrame);
    if (strFamily == "MS")
        return HandleMenuSet(strFrame);
    if (strFamily == "MV")
        return HandleMenuValue(strFrame, fault);
    if (strFamily == "LG")
        return HandleLog(strFrame, fault);
    return Nak(); // SESD and anything unknown
}

CRecorderModel::Answer CRecorderModel::HandleStatus()
{
    std::string strPayload;
    for (const int n : m_nStatus)
        strPayload += static_cast<char>(n & 0xFF);
    return Ack(MakeFrame("BTQT", strPayload));
}

CRecorderModel::Answer CRecorderModel::HandleKey(const std::string& strFrame)
{
    if (ParamCount(strFrame) != 1)
        return Nak();
    const std::string strSuffix = strFrame.substr(4, 2);
    for (const KeyDef& key : kKeys) {
        if (strSuffix != key.pszSuffix)
            continue;
        const bool bPowerKey = strSuffix == "PO" || strSuffix == "PF";
        if (!IsOn() && !bPowerKey)
            return Nak(); // a recorder that is off takes only its power keys
        return (this->*key.handler)() ? Ack() : Nak();
    }
    return Nak(); // the key form of BTQT, and unknown keys
}

CRecorderModel::Answer CRecorderModel::HandleMenuSet(const std::string& strFrame)
{
    const int k = FindSetting(strFrame.substr(4, 2));
    const int nParams = k == SET_DT ? 7 : (k == SET_TM ? PROGRAM_SIZE : 1);
    if (k < 0 || ParamCount(strFrame) != nParams || !MenuWritable() || !Applies(k))
        return Nak();
    if (k == SET_DT) {
        SimDateTime dt;
        dt.nYear = Byte(strFrame, PARAM) * 256 + Byte(strFrame, PARAM + 1);
        dt.nMonth = Byte(strFrame, PARAM + 2);
        dt.nDay = Byte(strFrame, PARAM + 3);
        dt.nHour = Byte(strFrame, PARAM + 4);
        dt.nMinute = Byte(strFrame, PARAM + 5);
        dt.nSecond = Byte(strFrame, PARAM + 6);
        if (!dt.IsValid() || dt.nYear < 2001 || dt.nYear > 2999)
            return Nak();
        SetClock(dt);
        return Ack();
    }
    if (k == SET_TM) {
        Program program;
        for (int f = 0; f < PROGRAM_SIZE; ++f)
            program[static_cast<std::size_t>(f)] = Byte(strFrame, static_cast<std::size_t>(PARAM + f));
        if (!ValidProgram(program))
            return Nak();
        m_program[program[0]] = program;
        return Ack();
    }
    const int nValue = Byte(strFrame, PARAM);
    if (!ValidSetting(k, nValue))
        return Nak();
    m_nSetting[static_cast<std::size_t>(k)] = nValue;
    if (k == SET_WD && nValue == 0 && m_nSetting[SET_VG] > 1)
        m_nSetting[SET_VG] = 1; // the remaining-time display has two choices without mirroring
    return Ack();
}

CRecorderModel::Answer CRecorderModel::HandleMenuValue(const std::string& strFrame, SimFault fault)
{
    const std::string strCode = strFrame.substr(2, 4);
    const int k = FindSetting(strFrame.substr(4, 2));
    if (k < 0 || ParamCount(strFrame) != (k == SET_TM ? 1 : 0) || !Applies(k))
        return Nak();
    if (k == SET_DT) {
        const SimDateTime now = m_clock.Now();
        const int nYear = fault == SimFault::BadYear ? 2000 : now.nYear;
        const int nValues[] = {nYear >> 8, nYear, now.nMonth, now.nDay, now.nHour, now.nMinute, now.nSecond};
        std::string strPayload;
        for (const int n : nValues)
            strPayload += static_cast<char>(n & 0xFF);
        return Ack(MakeFrame(strCode, strPayload));
    }
    if (k == SET_TM) {
        const int n = Byte(strFrame, PARAM);
        if (n >= PROGRAM_COUNT)
            return Nak();
        const Program& program = m_program[static_cast<std::size_t>(n)];
        return Ack(MakeFrame(strCode, std::string(program.begin(), program.end())));
    }
    return Ack(MakeFrame(strCode, std::string(1, static_cast<char>(m_nSetting[static_cast<std::size_t>(k)]))));
}

CRecorderModel::Answer CRecorderModel::HandleLog(const std::string& strFrame, SimFault fault)
{
    static const char* const kCodes[LOG_KINDS][2] = {{"RD", "RQ"}, {"AL", "AQ"}, {"TR", "TQ"}};
    if (ParamCount(strFrame) != 0)
        return Nak();
    const std::string strSuffix = strFrame.substr(4, 2);
    for (int nKind = 0; nKind < LOG_KINDS; ++nKind) {
        const bool bFirst = strSuffix == kCodes[nKind][0];
        if (!bFirst && strSuffix != kCodes[nKind][1])
            continue;
        std::size_t& nCursor = m_nLogCursor[static_cast<std::size_t>(nKind)];
        nCursor = bFirst ? 0 : nCursor + 1;
        return Ack(LogAnswer(strFrame.substr(2, 4), nKind, nCursor, fault == SimFault::EndlessLog));
    }
    return Nak();
}

// Record nIndex of a log (newest first) as a 20-byte answer. Past the last
// record comes an empty one. A recorder with the endless fault goes round its
// records again and always says that more follow.
std::string CRecorderModel::LogAnswer(const std::string& strCode, int nKind, std::size_t nIndex, bool bEndless) const
{
    const auto& log = m_log[static_cast<std::size_t>(nKind)];
    SimLogRecord record;
    bool bMore = false;
    if (bEndless) {
        if (!log.empty())
            record = log[nIndex % log.size()];
        else
            record.time = m_clock.Now();
        bMore = true;
    } else if (nIndex < log.size()) {
        record = log[nIndex];
        bMore = nIndex + 1 < log.size();
    } else {
        record.byFlag = 0;
        record.time = SimDateTime {0, 0, 0, 0, 0, 0};
    }
    const int nValues[] = {record.byFlag, record.time.nYear >> 8, record.time.nYear, record.time.nMonth,
                           record.time.nDay, record.time.nHour, record.time.nMinute, record.time.nSecond,
                           record.byExtra[0], record.byExtra[1], record.nCode >> 8, record.nCode,
                           bMore ? MORE_FOLLOW : 0};
    std::string strPayload;
    for (const int n : nValues)
        strPayload += static_cast<char>(n & 0xFF);
    return MakeFrame(strCode, strPayload);
}

bool CRecorderModel::Applies(int k) const
{
    static constexpr int kDualDiskOnly[] = {0, SET_WD, 31}; // PM, WD, VM
    return !m_config.bSingleDisk || std::find(std::begin(kDualDiskOnly), std::end(kDualDiskOnly), k)
                                        == std::end(kDualDiskOnly);
}

bool CRecorderModel::ValidSetting(int k, int nValue) const
{
    int nItems = kSettings[k].nItems;
    if (k == SET_VG && m_nSetting[SET_WD] == 1)
        nItems = MIRRORING_VG_ITEMS;
    return nValue >= 0 && nValue < nItems;
}

// A cancelled program may carry anything in its unused fields; a program that
// records needs a real date or weekday set and real times.
bool CRecorderModel::ValidProgram(const Program& p) const
{
    if (p[0] >= PROGRAM_COUNT || p[1] > 2)
        return false;
    if (p[1] == 0)
        return true;
    const bool bWhen = p[1] == 1 ? (p[2] >= 1 && p[2] <= 12 && p[3] >= 1 && p[3] <= 31) : (p[4] > 0 && p[4] < 0x80);
    return bWhen && p[5] < 24 && p[6] < 60 && p[7] < 24 && p[8] < 60 && p[9] < 5 && p[10] < 2 && p[11] < 15
        && p[12] < 2 && p[13] < 2;
}

void CRecorderModel::AddLog(int nKind, int nCode)
{
    auto& log = m_log[static_cast<std::size_t>(nKind)];
    SimLogRecord record;
    record.time = m_clock.Now();
    record.nCode = nCode;
    log.push_front(record);
    if (log.size() > LOG_KEEP)
        log.pop_back();
}

void CRecorderModel::StopRecording()
{
    switch (m_nStatus[2]) {
    case 1: AddLog(LOG_REC, REC_END); break;
    case 2: AddLog(LOG_ALARM, ALARM_END); break;
    case 3: AddLog(LOG_REC, TIMER_END); break;
    default: break;
    }
    m_nStatus[2] = 0;
}

bool CRecorderModel::TimerProgramActive(const SimDateTime& now) const
{
    const int nNow = now.nHour * 60 + now.nMinute;
    for (const Program& p : m_program) {
        const bool bToday = (p[1] == 1 && p[2] == now.nMonth && p[3] == now.nDay)
            || (p[1] == 2 && (p[4] >> now.Weekday()) & 1);
        if (!bToday)
            continue;
        const int nStart = p[5] * 60 + p[6];
        const int nEnd = p[7] * 60 + p[8];
        const bool bInside = nStart < nEnd ? (nNow >= nStart && nNow < nEnd) : (nNow >= nStart || nNow < nEnd);
        if (nStart != nEnd && bInside)
            return true;
    }
    return false;
}

// In timer standby the recorder records while a timer program's time has come.
void CRecorderModel::UpdateTimerRecording()
{
    const bool bActive = m_nStatus[0] == 2 && TimerProgramActive(m_clock.Now());
    if (bActive && m_nStatus[2] == 0) {
        m_nStatus[2] = 3;
        AddLog(LOG_REC, TIMER_START);
    } else if (!bActive && m_nStatus[2] == 3) {
        StopRecording();
    }
}

void CRecorderModel::TriggerAlarm()
{
    if (!IsOn() || m_nStatus[2] == 2)
        return;
    SyncPictures();
    StopRecording();
    m_nStatus[2] = 2;
    AddLog(LOG_ALARM, ALARM_START);
    SyncPictures();
}

bool CRecorderModel::KeyPowerOn()
{
    if (m_nStatus[0] == 0)
        m_nStatus[0] = 1;
    return true;
}

bool CRecorderModel::KeyPowerOff()
{
    StopRecording();
    m_nStatus[1] = 0;
    m_nStatus[0] = 0;
    return true;
}

bool CRecorderModel::KeyPlay()
{
    if (m_nStatus[2] != 0 && m_nSetting[1] == 0)
        return false; // SIMUL REC/PLAY is DISALLOW
    m_nStatus[1] = m_nStatus[1] == 2 ? 3 : 2;
    return true;
}

bool CRecorderModel::KeyPlayStop()
{
    m_nStatus[1] = 0;
    return true;
}

bool CRecorderModel::KeyReverse()
{
    if (m_nStatus[2] != 0 && m_nSetting[1] == 0)
        return false;
    m_nStatus[1] = m_nStatus[1] == 4 ? 5 : 4;
    return true;
}

// Pause holds the playback; pressed again while paused it steps a frame.
bool CRecorderModel::KeyPause()
{
    if (m_nStatus[1] != 0)
        m_nStatus[1] = m_nStatus[1] == 1 ? 6 : 1;
    return true;
}

bool CRecorderModel::KeyRecord()
{
    if (m_nStatus[2] == 0) {
        m_nStatus[2] = 1;
        AddLog(LOG_REC, REC_START);
    }
    return true;
}

bool CRecorderModel::KeyRecordStop()
{
    StopRecording();
    return true;
}

bool CRecorderModel::KeyAlarmReset()
{
    if (m_nStatus[2] == 2) {
        m_nStatus[2] = 0;
        AddLog(LOG_ALARM, ALARM_END);
    }
    return true;
}

// Timer standby on and off; not while recording by hand or by alarm.
bool CRecorderModel::KeyTimer()
{
    if (m_nStatus[2] == 1 || m_nStatus[2] == 2)
        return false;
    m_nStatus[0] = m_nStatus[0] == 2 ? 1 : 2;
    UpdateTimerRecording();
    return true;
}

bool CRecorderModel::KeyAlarm()
{
    TriggerAlarm();
    return true;
}

bool CRecorderModel::KeyAccept()
{
    return true;
}
