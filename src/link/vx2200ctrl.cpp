#include "link/vx2200ctrl.h"

#include "platform/waiter.h"

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstring>
#include <unistd.h>

namespace {

constexpr int KEY_FRAME = 8;
constexpr int READ_FRAME = 7;
constexpr int SET_FRAME = 8;        // one parameter byte
constexpr int SET_CLOCK_FRAME = 14; // 7 parameter bytes
constexpr int SET_TIMER_FRAME = 21; // 14 parameter bytes
constexpr int READ_TIMER_FRAME = 8; // the program number
constexpr int VALUE_ANSWER = 8;
constexpr int CLOCK_ANSWER = 14;
constexpr int TIMER_ANSWER = 21;
constexpr int STATUS_ANSWER = 11;
constexpr int LOG_ANSWER = 20;
constexpr int PARAM = 6; // first parameter byte of a four-letter frame

constexpr int PICTURE_PARAM = 4;     // first parameter byte of a picture frame
constexpr int PICTURE_MOVE_COUNT = 7; // J0..J6
constexpr int INFO_ANSWER = 46;
constexpr int INFO_RECORD_AT = 7;
constexpr int SIZE_ANSWER = 9;
constexpr int CHUNK_HEADER = 4;
constexpr int CHUNK_FULL = 1024;      // length byte 0
constexpr std::uint8_t CHUNK_LONGEST = 0x7F;
constexpr std::uint8_t CHUNK_REQUEST = 0x05;

struct ConnectError {
    int nError;
    int nStatus;
};

// Failed connects: the platform's lack of resources gives 1, a missing
// destination 2, everything else (listed or not) 3.
constexpr ConnectError kConnectErrors[] = {
    {EINVAL, 3}, {EMFILE, 1}, {EWOULDBLOCK, 3}, {EINPROGRESS, 3}, {ENOTSOCK, 1},
    {EDESTADDRREQ, 2}, {EAFNOSUPPORT, 3}, {EADDRINUSE, 3}, {EADDRNOTAVAIL, 3},
    {ENETDOWN, 3}, {ENETUNREACH, 3}, {ENOBUFS, 1}, {EISCONN, 3}, {ETIMEDOUT, 3},
    {ECONNREFUSED, 3},
};

// The one-byte settings in the order the recorder takes them all.
constexpr std::array<int, CSettingsImage::SETTING_COUNT> kTransferOrder = {
    1,  // PR
    5,  // WD
    0,  // PM
    3, 4, 6, 7, 8, 9, 10, // TS TT WM RQ RD RI RC
    12, 13, 14, 15, 16, 17, 18, 19, 20, 21, // AS AN AP AT AF AQ AD AI AB AO
    22, 23, 24, 25, 26, 27, 28, 29, 30, 31, // VQ VD VW VR VP VG VH VT VC VM
    32, 33, 34, // TR TF TC
};

int Widen(std::uint8_t by)
{
    return static_cast<std::int8_t>(by);
}

std::uint8_t LowByte(int n)
{
    return static_cast<std::uint8_t>(n & 0xFF);
}

bool IsPictureCode(const std::uint8_t* pAnswer, char chSecond)
{
    return pAnswer[2] == 'J' && pAnswer[3] == static_cast<std::uint8_t>(chSecond);
}

LogRecord RecordFromAnswer(const std::uint8_t* pAnswer)
{
    LogRecord record;
    record.nEntry = Widen(pAnswer[6]);
    record.byYearHigh = pAnswer[7];
    record.byYearLow = pAnswer[8];
    record.byMonth = pAnswer[9];
    record.byDay = pAnswer[10];
    record.byHour = pAnswer[11];
    record.byMinute = pAnswer[12];
    record.bySecond = pAnswer[13];
    record.byReserved[0] = pAnswer[14];
    record.byReserved[1] = pAnswer[15];
    record.byCodeHigh = pAnswer[16];
    record.byEvent = pAnswer[17];
    record.byMore = pAnswer[18];
    return record;
}

} // namespace

CVX2200Ctrl::CVX2200Ctrl() : m_pSocket(std::make_unique<CVXSocket>())
{
}

CVX2200Ctrl::~CVX2200Ctrl()
{
    Disconnect();
}

int CVX2200Ctrl::MapConnectError(int nError)
{
    for (const ConnectError& e : kConnectErrors) {
        if (e.nError == nError)
            return e.nStatus;
    }
    return STATUS_FAILED;
}

int CVX2200Ctrl::Connect(const std::string& strIP, int nPort)
{
    if (m_bConnected)
        return Finish(STATUS_SOCKET);
    if (!m_pSocket->Create())
        return Finish(STATUS_SOCKET);
    if (!m_pSocket->Connect(strIP, nPort))
        return Finish(MapConnectError(m_pSocket->GetLastError()));
    m_bConnected = 1;
    return Finish(STATUS_OK);
}

int CVX2200Ctrl::AdoptConnection(int hConnected)
{
    if (m_bConnected) {
        if (hConnected >= 0)
            ::close(hConnected);
        return Finish(STATUS_SOCKET);
    }
    if (!m_pSocket->Adopt(hConnected))
        return Finish(STATUS_SOCKET);
    m_bConnected = 1;
    return Finish(STATUS_OK);
}

void CVX2200Ctrl::Disconnect()
{
    m_bConnected = 0;
    m_pSocket->Close();
}

void CVX2200Ctrl::GetPeer(std::string& strIP, int& nPort) const
{
    if (!m_pSocket->GetPeerName(strIP, nPort)) {
        strIP.clear();
        nPort = 0;
    }
}

bool CVX2200Ctrl::IsOneByteSetting(int k)
{
    return CSettingsImage::HoldsSetting(k);
}

int CVX2200Ctrl::MapAck(std::uint8_t byAck)
{
    if (byAck == CCommandTable::ACK)
        return STATUS_OK;
    return byAck == CCommandTable::NAK ? STATUS_FAILED : STATUS_WRONG_ANSWER;
}

bool CVX2200Ctrl::AnswerMatches(const Frame& request, const std::uint8_t* pAnswer, int nAnswer)
{
    return pAnswer[0] == CCommandTable::FRAME_START && pAnswer[nAnswer - 1] == CCommandTable::FRAME_END
        && std::equal(&request[2], &request[6], &pAnswer[2]);
}

bool CVX2200Ctrl::SendFrame(const Frame& frame, int nLength)
{
    // A late answer to an exchange given up earlier must not be taken for the
    // answer to this one.
    m_pSocket->DiscardPending();
    return m_pSocket->SendData(frame.data(), nLength) == nLength;
}

// One exchange: the frame's first nSend bytes, the acknowledge, and when
// nAnswer is not 0 an answer frame of nAnswer bytes, copied to pAnswer only when
// it is accepted. Buffers start zeroed, so an exchange interrupted by a
// reconnection (which delivers nothing) ends as a wrong answer.
int CVX2200Ctrl::Exchange(const Frame& frame, int nSend, std::uint8_t* pAnswer, int nAnswer)
{
    if (!SendFrame(frame, nSend))
        return STATUS_FAILED;
    std::uint8_t byAck = 0;
    if (m_pSocket->ReceiveData(&byAck, 1) != 1)
        return STATUS_FAILED;
    if (const int nStatus = MapAck(byAck); nStatus != STATUS_OK || nAnswer == 0)
        return nStatus;
    Frame answer {};
    if (m_pSocket->ReceiveData(answer.data(), nAnswer) != nAnswer)
        return STATUS_FAILED;
    if (!AnswerMatches(frame, answer.data(), nAnswer))
        return STATUS_WRONG_ANSWER;
    std::memcpy(pAnswer, answer.data(), static_cast<std::size_t>(nAnswer));
    return STATUS_OK;
}

int CVX2200Ctrl::SendKey(int nIndex)
{
    if (nIndex < CCommandTable::KEY_FIRST || nIndex >= CCommandTable::KEY_COUNT)
        return Finish(STATUS_FAILED);
    return Finish(Exchange(MakeFrame(nIndex), KEY_FRAME));
}

int CVX2200Ctrl::RecordKey()
{
    std::array<int, 4> nStatus {};
    QueryStatus(nStatus);
    return SendKey(m_nDvrStatus[2] == 1 ? CCommandTable::KEY_BTRS : CCommandTable::KEY_BTRD);
}

int CVX2200Ctrl::PowerKey()
{
    std::array<int, 4> nStatus {};
    QueryStatus(nStatus);
    if (m_nDvrStatus[0] != 0) {
        const int nResult = SendKey(CCommandTable::KEY_BTPF);
        WaitMilliseconds(POWER_OFF_WAIT_MS);
        return nResult;
    }
    const int nResult = SendKey(CCommandTable::KEY_BTPO);
    WaitMilliseconds(POWER_ON_WAIT_MS);
    return nResult;
}

int CVX2200Ctrl::QueryStatus(std::array<int, 4>& nStatus)
{
    std::uint8_t answer[STATUS_ANSWER] = {};
    const int nResult = Exchange(MakeFrame(CCommandTable::STATUS_BTQT), READ_FRAME, answer, STATUS_ANSWER);
    if (nResult == STATUS_OK) {
        for (std::size_t i = 0; i < 4; ++i)
            m_nDvrStatus[i] = Widen(answer[PARAM + i]);
        nStatus = m_nDvrStatus;
    }
    return Finish(nResult);
}

int CVX2200Ctrl::SetMenuValue(int k, int nValue)
{
    if (!IsOneByteSetting(k))
        return Finish(STATUS_FAILED);
    Frame frame = MakeFrame(CCommandTable::MENU_SET_FIRST + k);
    frame[PARAM] = LowByte(nValue);
    return Finish(Exchange(frame, SET_FRAME));
}

int CVX2200Ctrl::GetMenuValue(int k, int& nValue)
{
    if (!IsOneByteSetting(k))
        return Finish(STATUS_FAILED);
    std::uint8_t answer[VALUE_ANSWER] = {};
    const int nResult = Exchange(MakeFrame(CCommandTable::MENU_VALUE_FIRST + k), READ_FRAME, answer, VALUE_ANSWER);
    if (nResult == STATUS_OK)
        nValue = Widen(answer[PARAM]);
    return Finish(nResult);
}

int CVX2200Ctrl::SetDateTime(int nYear, int nMonth, int nDay, int nHour, int nMinute, int nSecond)
{
    Frame frame = MakeFrame(CCommandTable::MENU_SET_FIRST + CCommandTable::MENU_DT);
    const int nValues[] = {nYear >> 8, nYear, nMonth, nDay, nHour, nMinute, nSecond};
    for (std::size_t i = 0; i < std::size(nValues); ++i)
        frame[PARAM + i] = LowByte(nValues[i]);
    return Finish(Exchange(frame, SET_CLOCK_FRAME));
}

int CVX2200Ctrl::GetDateTime(int& nYear, int& nMonth, int& nDay, int& nHour, int& nMinute, int& nSecond)
{
    std::uint8_t a[CLOCK_ANSWER] = {};
    const int nResult = Exchange(MakeFrame(CCommandTable::MENU_VALUE_FIRST + CCommandTable::MENU_DT), READ_FRAME,
                                 a, CLOCK_ANSWER);
    if (nResult == STATUS_OK) {
        nYear = a[PARAM] * 256 + a[PARAM + 1];
        nMonth = a[PARAM + 2];
        nDay = a[PARAM + 3];
        nHour = a[PARAM + 4];
        nMinute = a[PARAM + 5];
        nSecond = a[PARAM + 6];
    }
    return Finish(nResult);
}

int CVX2200Ctrl::SetTimerProgram(const TimerProgram& program)
{
    Frame frame = MakeFrame(CCommandTable::MENU_SET_FIRST + CCommandTable::MENU_TM);
    for (int f = 0; f < TimerProgram::FIELD_COUNT; ++f)
        frame[static_cast<std::size_t>(PARAM + f)] = LowByte(program[f]);
    return Finish(Exchange(frame, SET_TIMER_FRAME));
}

int CVX2200Ctrl::GetTimerProgram(int n, TimerProgram& program)
{
    if (n < 0 || n >= TimerProgram::PROGRAM_COUNT)
        return Finish(STATUS_FAILED);
    Frame frame = MakeFrame(CCommandTable::MENU_VALUE_FIRST + CCommandTable::MENU_TM);
    frame[PARAM] = LowByte(n);
    std::uint8_t answer[TIMER_ANSWER] = {};
    const int nResult = Exchange(frame, READ_TIMER_FRAME, answer, TIMER_ANSWER);
    if (nResult == STATUS_OK) {
        for (int f = 0; f < TimerProgram::FIELD_COUNT; ++f)
            program[f] = Widen(answer[PARAM + f]);
    }
    return Finish(nResult);
}

const std::array<int, CSettingsImage::SETTING_COUNT>& CVX2200Ctrl::TransferOrder()
{
    return kTransferOrder;
}

int CVX2200Ctrl::ReadAllSettings(CSettingsImage& image, std::vector<int>* pFailed)
{
    for (const int k : kTransferOrder) {
        int nValue = image.GetValue(k);
        if (GetMenuValue(k, nValue) == STATUS_OK)
            image.SetValue(k, nValue);
        else if (pFailed)
            pFailed->push_back(k);
    }
    for (int n = 0; n < TimerProgram::PROGRAM_COUNT; ++n) {
        TimerProgram program = image.Program(n);
        if (const int nResult = GetTimerProgram(n, program); nResult != STATUS_OK)
            return nResult;
        image.Program(n) = program;
    }
    return Finish(STATUS_OK);
}

int CVX2200Ctrl::WriteAllSettings(const CSettingsImage& image)
{
    int nFirstFailure = STATUS_OK;
    const auto note = [&nFirstFailure](int nResult) {
        if (nFirstFailure == STATUS_OK)
            nFirstFailure = nResult;
    };
    for (const int k : kTransferOrder)
        note(SetMenuValue(k, image.GetValue(k)));
    for (int p = 0; p < TimerProgram::PROGRAM_COUNT; ++p)
        note(SetTimerProgram(image.Program(p)));
    return Finish(nFirstFailure);
}

LogRecord* CVX2200Ctrl::LogStore(int nKind, int& nSlots)
{
    switch (nKind) {
    case LogRecord::REC: nSlots = LOG_REC_SLOTS; return m_LogRD;
    case LogRecord::ALARM: nSlots = LOG_ALARM_SLOTS; return m_LogAL;
    case LogRecord::FAILURE: nSlots = LOG_FAILURE_SLOTS; return m_LogTR;
    default: nSlots = 0; return nullptr;
    }
}

// The first command fetches slot 0; follow-up commands fetch the next slots for
// as long as the recorder marks that more follow, at most 500 times, and never
// beyond the store's last slot.
int CVX2200Ctrl::ReadLog(int nKind)
{
    int nSlots = 0;
    LogRecord* pStore = LogStore(nKind, nSlots);
    if (!pStore)
        return Finish(STATUS_FAILED);
    std::fill(pStore, pStore + nSlots, LogRecord {});
    std::uint8_t answer[LOG_ANSWER] = {};
    const int nFirst = CCommandTable::LOG_LGRD + 2 * nKind;
    if (const int nResult = Exchange(MakeFrame(nFirst), READ_FRAME, answer, LOG_ANSWER); nResult != STATUS_OK)
        return Finish(nResult);
    pStore[0] = RecordFromAnswer(answer);
    return Finish(ReadFollowUps(nKind, pStore, nSlots, pStore[0].byMore == LogRecord::MORE_FOLLOW));
}

int CVX2200Ctrl::ReadFollowUps(int nKind, LogRecord* pStore, int nSlots, bool bMore)
{
    const Frame next = MakeFrame(CCommandTable::LOG_LGRD + 2 * nKind + 1);
    int nFilled = 1;
    for (int nAsked = 0; bMore && nAsked < LOG_FOLLOW_UP_LIMIT && nFilled < nSlots; ++nAsked) {
        if (!SendFrame(next, READ_FRAME))
            return STATUS_FAILED;
        std::uint8_t byAck = 0;
        if (m_pSocket->ReceiveData(&byAck, 1) != 1)
            return STATUS_WRONG_ANSWER;
        if (const int nStatus = MapAck(byAck); nStatus != STATUS_OK)
            return nStatus;
        std::uint8_t answer[LOG_ANSWER] = {};
        if (m_pSocket->ReceiveData(answer, LOG_ANSWER) != LOG_ANSWER)
            return STATUS_OK; // the records so far are the log
        if (!AnswerMatches(next, answer, LOG_ANSWER))
            return STATUS_WRONG_ANSWER;
        pStore[nFilled] = RecordFromAnswer(answer);
        bMore = pStore[nFilled].byMore == LogRecord::MORE_FOLLOW;
        ++nFilled;
    }
    return STATUS_OK;
}

// A move of the picture position: the frame up to its end byte, then the
// acknowledge.
int CVX2200Ctrl::PictureMove(const Frame& frame, int nIndex)
{
    return Finish(Exchange(frame, CCommandTable::FrameLength(nIndex)));
}

int CVX2200Ctrl::PictureStep(int j)
{
    if (j < 1 || j >= PICTURE_MOVE_COUNT)
        return Finish(STATUS_FAILED);
    const int nIndex = CCommandTable::PICTURE_J0 + j;
    return PictureMove(MakeFrame(nIndex), nIndex);
}

int CVX2200Ctrl::PictureAtTime(int nYear2000, int nMonth, int nDay, int nHour, int nMinute, int nSecond)
{
    const int nValues[] = {nYear2000, nMonth, nDay, nHour, nMinute, nSecond};
    Frame frame = MakeFrame(CCommandTable::PICTURE_J0);
    std::size_t i = PICTURE_PARAM;
    for (const int n : nValues) {
        if (n < 0 || n > 99)
            return Finish(STATUS_FAILED);
        frame[i++] = static_cast<std::uint8_t>('0' + n / 10);
        frame[i++] = static_cast<std::uint8_t>('0' + n % 10);
    }
    return PictureMove(frame, CCommandTable::PICTURE_J0);
}

int CVX2200Ctrl::PictureInfo(std::uint8_t* pRecord)
{
    const int nIndex = CCommandTable::PICTURE_JI;
    if (!SendFrame(MakeFrame(nIndex), CCommandTable::FrameLength(nIndex)))
        return Finish(STATUS_FAILED);
    std::uint8_t answer[INFO_ANSWER] = {};
    if (m_pSocket->ReceiveData(answer, INFO_ANSWER) != INFO_ANSWER)
        return Finish(STATUS_FAILED);
    if (answer[0] != CCommandTable::FRAME_START || !IsPictureCode(answer, 'I'))
        return Finish(STATUS_WRONG_ANSWER);
    std::memcpy(pRecord, answer + INFO_RECORD_AT, PICTURE_INFO_BYTES);
    return Finish(STATUS_OK);
}

int CVX2200Ctrl::PictureUpload(std::uint8_t* pBuffer, int& nSize)
{
    nSize = 0;
    const int nIndex = CCommandTable::PICTURE_JU;
    if (!SendFrame(MakeFrame(nIndex), CCommandTable::FrameLength(nIndex)))
        return Finish(STATUS_FAILED);
    std::uint8_t answer[SIZE_ANSWER] = {};
    if (m_pSocket->ReceiveData(answer, SIZE_ANSWER) != SIZE_ANSWER || answer[0] != CCommandTable::FRAME_START)
        return Finish(STATUS_FAILED);
    if (!IsPictureCode(answer, 'V'))
        return Finish(STATUS_WRONG_ANSWER);
    const std::uint32_t nAnnounced = std::uint32_t {answer[4]} << 24 | std::uint32_t {answer[5]} << 16
                                     | std::uint32_t {answer[6]} << 8 | answer[7];
    // Reported as announced; a size an int cannot hold stays above every buffer.
    nSize = static_cast<int>(std::min<std::uint32_t>(nAnnounced, INT_MAX));
    if (nAnnounced == 0 || nAnnounced > static_cast<std::uint32_t>(PICTURE_BUFFER_BYTES))
        return m_nResult;
    int nEnd = 0;
    for (bool bLast = false; !bLast;) {
        if (const int nStatus = ReceiveChunk(pBuffer, nEnd, bLast); nStatus != STATUS_OK)
            return Finish(nStatus);
    }
    return Finish(STATUS_OK);
}

// One chunk, asked for with 0x05, stored at the end of the picture so far.
// Returns 0, with bLast set for the last chunk, or 2.
int CVX2200Ctrl::ReceiveChunk(std::uint8_t* pBuffer, int& nEnd, bool& bLast)
{
    const std::uint8_t byRequest = CHUNK_REQUEST;
    if (m_pSocket->SendData(&byRequest, 1) != 1)
        return STATUS_WRONG_ANSWER;
    std::uint8_t header[CHUNK_HEADER] = {};
    if (m_pSocket->ReceiveData(header, CHUNK_HEADER) != CHUNK_HEADER || header[0] != CCommandTable::FRAME_START
        || !(IsPictureCode(header, 'W') || IsPictureCode(header, 'X')) || header[1] > CHUNK_LONGEST)
        return STATUS_WRONG_ANSWER;
    bLast = IsPictureCode(header, 'X');
    const int nCount = header[1] == 0 ? CHUNK_FULL : header[1];
    const int nRoom = PICTURE_BUFFER_BYTES - nEnd;
    // Only the last chunk may reach past the buffer, and only from inside it.
    if (nCount > nRoom && (!bLast || nRoom == 0))
        return STATUS_WRONG_ANSWER;
    const int nStore = std::min(nCount, nRoom);
    std::uint8_t surplus[CHUNK_FULL];
    const int nDrop = nCount - nStore;
    // After a reconnection a receive returns without data (and goes on doing so
    // once the program is to end): the chunk never arrived.
    if (m_pSocket->ReceiveData(pBuffer + nEnd, nStore) != nStore
        || (nDrop > 0 && m_pSocket->ReceiveData(surplus, nDrop) != nDrop) || m_pSocket->m_bReconnecting)
        return STATUS_WRONG_ANSWER;
    nEnd += nStore;
    std::uint8_t byTrailer = 0;
    if (m_pSocket->ReceiveData(&byTrailer, 1) != 1 || m_pSocket->m_bReconnecting)
        return STATUS_WRONG_ANSWER;
    return STATUS_OK;
}

int CVX2200Ctrl::TransferPicture(std::uint8_t* pRecord, std::uint8_t* pBuffer, int& nSize, int j, int nYear2000,
                                 int nMonth, int nDay, int nHour, int nMinute, int nSecond)
{
    nSize = 0;
    int nStatus = j != 0 ? PictureStep(j) : PictureAtTime(nYear2000, nMonth, nDay, nHour, nMinute, nSecond);
    if (nStatus == STATUS_OK)
        nStatus = PictureInfo(pRecord);
    if (nStatus == STATUS_OK)
        nStatus = PictureUpload(pBuffer, nSize);
    return nStatus;
}
