// The device protocol object: the program's only speaker of the recorder's
// command protocol. Every operation builds a frame from the command table,
// sends it, reads the acknowledge (0x06 accepted, 0x15 refused) and, for reads,
// an answer frame that must start with A0, end with AF and repeat the request's
// code; it stores the outcome in m_nResult and returns it:
//   0 success, 1 socket cannot be created or already connected,
//   2 wrong answer, 3 refused, or the frame could not be sent or the answer not received.
// A failed operation leaves the caller's output untouched.
#pragma once

#include "link/commandtable.h"
#include "link/logrecord.h"
#include "link/settingsimage.h"
#include "link/timerprogram.h"
#include "link/vxsocket.h"

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

class CVX2200Ctrl {
public:
    enum Status { STATUS_OK = 0, STATUS_SOCKET = 1, STATUS_WRONG_ANSWER = 2, STATUS_FAILED = 3 };

    static constexpr int LOG_REC_SLOTS = 100;
    static constexpr int LOG_ALARM_SLOTS = 500;
    static constexpr int LOG_FAILURE_SLOTS = 100;
    static constexpr int LOG_FOLLOW_UP_LIMIT = 500;

    static constexpr int POWER_OFF_WAIT_MS = 500;
    static constexpr int POWER_ON_WAIT_MS = 5000;

    CVX2200Ctrl();
    ~CVX2200Ctrl();
    CVX2200Ctrl(const CVX2200Ctrl&) = delete;
    CVX2200Ctrl& operator=(const CVX2200Ctrl&) = delete;

    // The socket's links to the program (see CVXSocket).
    void SetReconnectTarget(CVXSocket::TargetFn fnTarget) { m_pSocket->SetReconnectTarget(std::move(fnTarget)); }
    void SetQuitRequest(CVXSocket::QuitFn fnQuit) { m_pSocket->SetQuitRequest(std::move(fnQuit)); }
    void SetAskToReconnect(bool bAsk) { m_pSocket->SetAskToReconnect(bAsk); }
    CVXSocket& Socket() { return *m_pSocket; }

    // Connection.
    int Connect(const std::string& strIP, int nPort);
    // Uses an already connected stream socket as the link (see CVXSocket::Adopt).
    int AdoptConnection(int hConnected);
    void Disconnect();
    int IsConnected() const { return m_bConnected; }
    // The connected peer; an empty address and port 0 when there is none.
    void GetPeer(std::string& strIP, int& nPort) const;
    // The status of a failed connect for an errno value.
    static int MapConnectError(int nError);

    // Front-panel keys (index 0..19 of the command table).
    int SendKey(int nIndex);
    int KeyPowerOn() { return SendKey(CCommandTable::KEY_BTPO); }
    int KeyPowerOff() { return SendKey(CCommandTable::KEY_BTPF); }
    int KeyPlay() { return SendKey(CCommandTable::KEY_BTPL); }
    int KeyPlayStop() { return SendKey(CCommandTable::KEY_BTST); }
    int KeyReversePlay() { return SendKey(CCommandTable::KEY_BTRV); }
    int KeyPause() { return SendKey(CCommandTable::KEY_BTPS); }
    int KeyRecord() { return SendKey(CCommandTable::KEY_BTRD); }
    int KeyRecordStop() { return SendKey(CCommandTable::KEY_BTRS); }
    int KeyAlarmReset() { return SendKey(CCommandTable::KEY_BTDC); }
    int KeyMenu() { return SendKey(CCommandTable::KEY_BTMN); }
    int KeyTimer() { return SendKey(CCommandTable::KEY_BTON); }
    int KeySearch() { return SendKey(CCommandTable::KEY_BTSC); }
    int KeyUp() { return SendKey(CCommandTable::KEY_BTUP); }
    int KeyDown() { return SendKey(CCommandTable::KEY_BTDW); }
    int KeyBlockMinus() { return SendKey(CCommandTable::KEY_BTLF); }
    int KeyBlockPlus() { return SendKey(CCommandTable::KEY_BTRT); }
    int KeySelect() { return SendKey(CCommandTable::KEY_BTSL); }
    // Record or stop recording, by status value 2 of a fresh status query.
    int RecordKey();
    // Power off (then 0.5 s) or on (then 5 s), by status value 0 of a fresh query.
    int PowerKey();

    // The status query: power, playback, recording, disk.
    int QueryStatus(std::array<int, 4>& nStatus);

    // Menu settings k = 0..34; the one-byte ones are all but the clock (2) and
    // the timer program (11). Values are widened from signed bytes; a value is
    // written as its low 8 bits.
    int SetMenuValue(int k, int nValue);
    int GetMenuValue(int k, int& nValue);
    int SetDateTime(int nYear, int nMonth, int nDay, int nHour, int nMinute, int nSecond);
    int GetDateTime(int& nYear, int& nMonth, int& nDay, int& nHour, int& nMinute, int& nSecond);
    int SetTimerProgram(const TimerProgram& program);
    int GetTimerProgram(int n, TimerProgram& program); // n = 0..9

    // All settings: the 33 one-byte settings in the recorder's fixed order
    // (each read whatever the one before gave; a setting whose read fails keeps
    // its value in the image, NO_VALUE unless set before), then timer programs
    // 0..9 (the first failure ends the sequence with its status). pFailed, when
    // given, receives the settings whose read failed.
    int ReadAllSettings(CSettingsImage& image, std::vector<int>* pFailed = nullptr);
    // Writes the 33 settings in the same order, then the ten programs in image
    // order. Every exchange is made; returns the status of the first that
    // failed, or 0.
    int WriteAllSettings(const CSettingsImage& image);
    // The order in which the one-byte settings are read and written.
    static const std::array<int, CSettingsImage::SETTING_COUNT>& TransferOrder();

    // Logs (LogRecord::REC, ALARM, FAILURE) into m_LogRD, m_LogAL, m_LogTR.
    int ReadLog(int nKind);
    int ReadRecLog() { return ReadLog(LogRecord::REC); }
    int ReadAlarmLog() { return ReadLog(LogRecord::ALARM); }
    int ReadFailureLog() { return ReadLog(LogRecord::FAILURE); }
    // The store of a kind and its number of slots (nullptr and 0 for others).
    LogRecord* LogStore(int nKind, int& nSlots);

    // Pictures. The recorder keeps a picture position: the moves set it (J0 to
    // the first picture at or after a time, J1..J6 one step in a direction),
    // PictureInfo reads the 38-byte information record of the picture there and
    // PictureUpload its JPEG bytes, in chunks of 1..127 or 1024 bytes. Every
    // picture buffer holds PICTURE_BUFFER_BYTES.
    static constexpr int PICTURE_BUFFER_BYTES = 535680;
    static constexpr int PICTURE_INFO_BYTES = 38;
    // J1..J6 (j = 1..6); any other j is refused (3) without sending.
    int PictureStep(int j);
    // J0 with the six values as two ASCII digits each; a value outside 0..99 is
    // refused (3) without sending.
    int PictureAtTime(int nYear2000, int nMonth, int nDay, int nHour, int nMinute, int nSecond);
    // JI: the record (PICTURE_INFO_BYTES) is written only when the answer is good.
    int PictureInfo(std::uint8_t* pRecord);
    // JU: nSize receives the announced size (0 first). A size of 0 or above the
    // buffer ends the upload with nothing read and the status as it stood
    // before (callers check the size). Nothing is ever stored past
    // PICTURE_BUFFER_BYTES: a chunk that would run past it fails the upload (2),
    // except the recorder's last chunk, padded to 1024 bytes, whose part past
    // the buffer lies past every picture and is read and dropped. Chunk length
    // bytes 0x80 and above, another code, or a receive that fails end it with 2;
    // the chunks received before stay in the buffer.
    int PictureUpload(std::uint8_t* pBuffer, int& nSize);
    // The move (PictureStep(j), or PictureAtTime for j = 0), PictureInfo and
    // PictureUpload, each only when the one before returned 0.
    int TransferPicture(std::uint8_t* pRecord, std::uint8_t* pBuffer, int& nSize, int j, int nYear2000,
                        int nMonth, int nDay, int nHour, int nMinute, int nSecond);

    // One thin operation per setting.
    int SetPM(int v) { return SetMenuValue(0, v); }   int GetPM(int& v) { return GetMenuValue(0, v); }
    int SetPR(int v) { return SetMenuValue(1, v); }   int GetPR(int& v) { return GetMenuValue(1, v); }
    int SetTS(int v) { return SetMenuValue(3, v); }   int GetTS(int& v) { return GetMenuValue(3, v); }
    int SetTT(int v) { return SetMenuValue(4, v); }   int GetTT(int& v) { return GetMenuValue(4, v); }
    int SetWD(int v) { return SetMenuValue(5, v); }   int GetWD(int& v) { return GetMenuValue(5, v); }
    int SetWM(int v) { return SetMenuValue(6, v); }   int GetWM(int& v) { return GetMenuValue(6, v); }
    int SetRQ(int v) { return SetMenuValue(7, v); }   int GetRQ(int& v) { return GetMenuValue(7, v); }
    int SetRD(int v) { return SetMenuValue(8, v); }   int GetRD(int& v) { return GetMenuValue(8, v); }
    int SetRI(int v) { return SetMenuValue(9, v); }   int GetRI(int& v) { return GetMenuValue(9, v); }
    int SetRC(int v) { return SetMenuValue(10, v); }  int GetRC(int& v) { return GetMenuValue(10, v); }
    int SetAS(int v) { return SetMenuValue(12, v); }  int GetAS(int& v) { return GetMenuValue(12, v); }
    int SetAN(int v) { return SetMenuValue(13, v); }  int GetAN(int& v) { return GetMenuValue(13, v); }
    int SetAP(int v) { return SetMenuValue(14, v); }  int GetAP(int& v) { return GetMenuValue(14, v); }
    int SetAT(int v) { return SetMenuValue(15, v); }  int GetAT(int& v) { return GetMenuValue(15, v); }
    int SetAF(int v) { return SetMenuValue(16, v); }  int GetAF(int& v) { return GetMenuValue(16, v); }
    int SetAQ(int v) { return SetMenuValue(17, v); }  int GetAQ(int& v) { return GetMenuValue(17, v); }
    int SetAD(int v) { return SetMenuValue(18, v); }  int GetAD(int& v) { return GetMenuValue(18, v); }
    int SetAI(int v) { return SetMenuValue(19, v); }  int GetAI(int& v) { return GetMenuValue(19, v); }
    int SetAB(int v) { return SetMenuValue(20, v); }  int GetAB(int& v) { return GetMenuValue(20, v); }
    int SetAO(int v) { return SetMenuValue(21, v); }  int GetAO(int& v) { return GetMenuValue(21, v); }
    int SetVQ(int v) { return SetMenuValue(22, v); }  int GetVQ(int& v) { return GetMenuValue(22, v); }
    int SetVD(int v) { return SetMenuValue(23, v); }  int GetVD(int& v) { return GetMenuValue(23, v); }
    int SetVW(int v) { return SetMenuValue(24, v); }  int GetVW(int& v) { return GetMenuValue(24, v); }
    int SetVR(int v) { return SetMenuValue(25, v); }  int GetVR(int& v) { return GetMenuValue(25, v); }
    int SetVP(int v) { return SetMenuValue(26, v); }  int GetVP(int& v) { return GetMenuValue(26, v); }
    int SetVG(int v) { return SetMenuValue(27, v); }  int GetVG(int& v) { return GetMenuValue(27, v); }
    int SetVH(int v) { return SetMenuValue(28, v); }  int GetVH(int& v) { return GetMenuValue(28, v); }
    int SetVT(int v) { return SetMenuValue(29, v); }  int GetVT(int& v) { return GetMenuValue(29, v); }
    int SetVC(int v) { return SetMenuValue(30, v); }  int GetVC(int& v) { return GetMenuValue(30, v); }
    int SetVM(int v) { return SetMenuValue(31, v); }  int GetVM(int& v) { return GetMenuValue(31, v); }
    int SetTR(int v) { return SetMenuValue(32, v); }  int GetTR(int& v) { return GetMenuValue(32, v); }
    int SetTF(int v) { return SetMenuValue(33, v); }  int GetTF(int& v) { return GetMenuValue(33, v); }
    int SetTC(int v) { return SetMenuValue(34, v); }  int GetTC(int& v) { return GetMenuValue(34, v); }

    std::unique_ptr<CVXSocket> m_pSocket;
    std::array<int, 4> m_nDvrStatus {};
    int m_nResult = 0;
    int m_bConnected = 0;
    LogRecord m_LogTR[LOG_FAILURE_SLOTS] {};
    LogRecord m_LogRD[LOG_REC_SLOTS] {};
    LogRecord m_LogAL[LOG_ALARM_SLOTS] {};

private:
    using Frame = CCommandTable::Template;

    static Frame MakeFrame(int nIndex) { return CCommandTable::Get(nIndex); }
    static bool IsOneByteSetting(int k);
    static int MapAck(std::uint8_t byAck);
    static bool AnswerMatches(const Frame& request, const std::uint8_t* pAnswer, int nAnswer);

    int Finish(int nStatus) { m_nResult = nStatus; return nStatus; }
    bool SendFrame(const Frame& frame, int nLength);
    int Exchange(const Frame& frame, int nSend, std::uint8_t* pAnswer = nullptr, int nAnswer = 0);
    int ReadFollowUps(int nKind, LogRecord* pStore, int nSlots, bool bMore);
    int PictureMove(const Frame& frame, int nIndex);
    int ReceiveChunk(std::uint8_t* pBuffer, int& nEnd, bool& bLast);
};
