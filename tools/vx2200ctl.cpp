// vx2200ctl: a command-line client of the VX2200 recorder, for scripts and
// diagnosis. One command per run; a lost link ends it with an error, nothing is
// asked.
//
//   vx2200ctl HOST PORT COMMAND [ARGS]
//
// Exit status: 0 on success; the status code (1, 2 or 3) of the first exchange
// that failed; 64 for a usage error; 65 for a settings file that is not one,
// or a picture announced empty or too large, or that does not decode, or a
// backup's event name, folder or time range refused; 66 for a file that cannot
// be read; 73 for a file that cannot be written; 130 for an interrupted backup.
#include "ctlbackup.h"
#include "image/vximage.h"
#include "link/vx2200ctrl.h"
#include "platform/fileutil.h"
#include "platform/parseint.h"
#include "platform/scratchdir.h"
#include "platform/stringtable.h"

#include <arpa/inet.h>
#include <array>
#include <cctype>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <iostream>
#include <memory>
#include <netdb.h>
#include <optional>
#include <string>
#include <vector>

namespace {

constexpr int EXIT_USAGE = 64;
constexpr int EXIT_DATAERR = 65;
constexpr int EXIT_NOINPUT = 66;
constexpr int EXIT_CANTCREAT = 73;

using Args = std::vector<std::string>;

struct Invocation {
    std::string strHost;
    std::string strIP;
    int nPort = 0;
    std::string strCommand;
    Args args;
    CSettingsImage upload; // the file of an upload, read before connecting
    CBackupJob backup;     // a backup, checked before connecting
};

struct CommandDef {
    const char* pszName;
    int nArgs;
    const char* pszUsage;
    std::function<int(CVX2200Ctrl&, const Invocation&)> fnRun;
    int nOtherArgs = -1; // a second argument count the command takes
};

const char* StatusText(int nStatus)
{
    switch (nStatus) {
    case 1: return "socket cannot be created, or already connected";
    case 2: return "wrong answer";
    case 3: return "refused, or not sent or not answered";
    default: return "failed";
    }
}

int Fail(const std::string& strWhat, int nStatus)
{
    std::cerr << "vx2200ctl: " << strWhat << ": status " << nStatus << " (" << StatusText(nStatus) << ")\n";
    return nStatus;
}

int UsageError(const std::string& strMessage)
{
    std::cerr << "vx2200ctl: " << strMessage << "\n";
    return EXIT_USAGE;
}

std::string Upper(std::string str)
{
    for (char& ch : str)
        ch = static_cast<char>(std::toupper(static_cast<unsigned char>(ch)));
    return str;
}

std::string FormatDateTime(int nYear, int nMonth, int nDay, int nHour, int nMinute, int nSecond)
{
    char sz[64];
    std::snprintf(sz, sizeof sz, "%04d-%02d-%02d %02d:%02d:%02d", nYear, nMonth, nDay, nHour, nMinute, nSecond);
    return sz;
}

// A one-byte setting by its suffix, or -1.
int SettingOf(const std::string& strSuffix)
{
    const int k = CCommandTable::MenuIndex(Upper(strSuffix));
    return CSettingsImage::HoldsSetting(k) ? k : -1;
}

int KeyOf(const std::string& strCode)
{
    for (int i = CCommandTable::KEY_FIRST; i < CCommandTable::KEY_COUNT; ++i) {
        if (CCommandTable::Code(i) == Upper(strCode))
            return i;
    }
    return -1;
}

int LogKindOf(const std::string& strName)
{
    if (strName == "rec")
        return LogRecord::REC;
    if (strName == "alarm")
        return LogRecord::ALARM;
    return strName == "failure" ? LogRecord::FAILURE : -1;
}

// A setting value as it goes on the wire: a signed or unsigned byte.
bool ParseValue(const std::string& strText, int& nValue)
{
    return ParseInt(strText, -128, 255, nValue);
}

int RunStatus(CVX2200Ctrl& ctrl, const Invocation&)
{
    std::array<int, 4> s {};
    if (const int n = ctrl.QueryStatus(s))
        return Fail("status", n);
    std::cout << "power=" << s[0] << " playback=" << s[1] << " recording=" << s[2] << " disk=" << s[3] << "\n";
    return 0;
}

int RunKey(CVX2200Ctrl& ctrl, const Invocation& inv)
{
    if (const int n = ctrl.SendKey(KeyOf(inv.args[0])))
        return Fail("key " + Upper(inv.args[0]), n);
    return 0;
}

// The toggles read the status first; a failed read is reported, not guessed past.
int RunToggle(CVX2200Ctrl& ctrl, const std::string& strName, int (CVX2200Ctrl::*fnToggle)())
{
    std::array<int, 4> s {};
    if (const int n = ctrl.QueryStatus(s))
        return Fail(strName, n);
    if (const int n = (ctrl.*fnToggle)())
        return Fail(strName, n);
    return 0;
}

int RunGet(CVX2200Ctrl& ctrl, const Invocation& inv)
{
    const std::string strSuffix = Upper(inv.args[0]);
    int nValue = 0;
    if (const int n = ctrl.GetMenuValue(SettingOf(strSuffix), nValue))
        return Fail("get " + strSuffix, n);
    std::cout << strSuffix << "=" << nValue << "\n";
    return 0;
}

int RunSet(CVX2200Ctrl& ctrl, const Invocation& inv)
{
    const std::string strSuffix = Upper(inv.args[0]);
    int nValue = 0;
    ParseValue(inv.args[1], nValue);
    if (const int n = ctrl.SetMenuValue(SettingOf(strSuffix), nValue))
        return Fail("set " + strSuffix, n);
    return 0;
}

int RunClock(CVX2200Ctrl& ctrl, const Invocation&)
{
    int y = 0, mo = 0, d = 0, h = 0, mi = 0, s = 0;
    if (const int n = ctrl.GetDateTime(y, mo, d, h, mi, s))
        return Fail("clock", n);
    std::cout << FormatDateTime(y, mo, d, h, mi, s) << "\n";
    return 0;
}

bool ParseDateTime(const std::string& strDate, const std::string& strTime, std::array<int, 6>& v)
{
    char chEnd = 0;
    if (std::sscanf(strDate.c_str(), "%d-%d-%d%c", &v[0], &v[1], &v[2], &chEnd) != 3
        || std::sscanf(strTime.c_str(), "%d:%d:%d%c", &v[3], &v[4], &v[5], &chEnd) != 3)
        return false;
    return v[0] >= 0 && v[0] <= 65535 && v[1] >= 1 && v[1] <= 12 && v[2] >= 1 && v[2] <= 31 && v[3] >= 0
        && v[3] <= 23 && v[4] >= 0 && v[4] <= 59 && v[5] >= 0 && v[5] <= 59;
}

int RunSetClock(CVX2200Ctrl& ctrl, const Invocation& inv)
{
    std::array<int, 6> v {};
    ParseDateTime(inv.args[0], inv.args[1], v);
    if (const int n = ctrl.SetDateTime(v[0], v[1], v[2], v[3], v[4], v[5]))
        return Fail("set-clock", n);
    return 0;
}

int RunTimer(CVX2200Ctrl& ctrl, const Invocation& inv)
{
    int nProgram = 0;
    ParseInt(inv.args[0], 1, TimerProgram::PROGRAM_COUNT, nProgram);
    TimerProgram program;
    if (const int n = ctrl.GetTimerProgram(nProgram - 1, program))
        return Fail("timer " + inv.args[0], n);
    for (int f = 0; f < TimerProgram::FIELD_COUNT; ++f)
        std::cout << (f ? " " : "") << program[f];
    std::cout << "\n";
    return 0;
}

int RunSetTimer(CVX2200Ctrl& ctrl, const Invocation& inv)
{
    TimerProgram program;
    for (int f = 0; f < TimerProgram::FIELD_COUNT; ++f)
        ParseValue(inv.args[static_cast<std::size_t>(f + 1)], program[f]);
    if (const int n = ctrl.SetTimerProgram(program))
        return Fail("set-timer " + inv.args[0], n);
    return 0;
}

std::string LogText(const LogRecord& record, int nKind)
{
    if (const int nId = record.TextId(nKind))
        return std::string(CStringTable::Load(nId, Language::English));
    if (nKind == LogRecord::FAILURE)
        return "(failure " + std::to_string(record.FailureCode()) + ")";
    return "(event " + std::to_string(record.byEvent) + ")";
}

int RunLog(CVX2200Ctrl& ctrl, const Invocation& inv)
{
    const int nKind = LogKindOf(inv.args[0]);
    if (const int n = ctrl.ReadLog(nKind))
        return Fail("log " + inv.args[0], n);
    int nSlots = 0;
    const LogRecord* pStore = ctrl.LogStore(nKind, nSlots);
    for (int i = 0; i < nSlots; ++i) {
        const LogRecord& r = pStore[i];
        if (r.HoldsEntry(nKind))
            std::cout << FormatDateTime(r.Year(), r.byMonth, r.byDay, r.byHour, r.byMinute, r.bySecond) << " "
                      << LogText(r, nKind) << "\n";
    }
    return 0;
}

int RunDownload(CVX2200Ctrl& ctrl, const Invocation& inv)
{
    CSettingsImage image;
    std::vector<int> failed;
    if (const int n = ctrl.ReadAllSettings(image, &failed))
        return Fail("download", n);
    for (const int k : failed)
        std::cerr << "vx2200ctl: download: MV" << CCommandTable::MenuSuffix(k) << " not read, stored as "
                  << CSettingsImage::NO_VALUE << "\n";
    if (!WriteFileAtomically(inv.args[0], image.Encode())) {
        std::cerr << "vx2200ctl: " << inv.args[0] << ": cannot be written\n";
        return EXIT_CANTCREAT;
    }
    return 0;
}

int RunUpload(CVX2200Ctrl& ctrl, const Invocation& inv)
{
    if (const int n = ctrl.WriteAllSettings(inv.upload))
        return Fail("upload", n);
    return 0;
}

// picture MOVE [YYYY-MM-DD hh:mm:ss] OUT.jpg: the move, the time for move 0
// and the output file, from the arguments.
struct PictureArgs {
    int nMove = 0;
    std::array<int, 6> time {}; // year .. second, for move 0
    std::string strOut;
};

bool ParsePictureArgs(const Args& a, PictureArgs& p)
{
    if (!ParseInt(a[0], 0, 6, p.nMove) || a.size() != (p.nMove == 0 ? 4u : 2u))
        return false;
    if (p.nMove == 0 && (!ParseDateTime(a[1], a[2], p.time) || p.time[0] < 2000 || p.time[0] > 2099))
        return false;
    p.strOut = a.back();
    return !p.strOut.empty();
}

// Recorder bytes as text: digits as they are, anything else as '?'.
std::string Digits(const std::uint8_t* p, int n)
{
    std::string str;
    for (int i = 0; i < n; ++i)
        str += std::isdigit(p[i]) ? static_cast<char>(p[i]) : '?';
    return str;
}

// "time=YYYY-MM-DD hh:mm:ss frame=FF camera=C size=S" from the information record.
std::string PictureLine(const std::uint8_t* pInfo, int nSize)
{
    const std::string t = Digits(pInfo + 5, 12);
    return "time=20" + t.substr(0, 2) + "-" + t.substr(2, 2) + "-" + t.substr(4, 2) + " " + t.substr(6, 2) + ":"
           + t.substr(8, 2) + ":" + t.substr(10, 2) + " frame=" + Digits(pInfo + 32, 2)
           + " camera=" + std::to_string(pInfo[17] + 1) + " size=" + std::to_string(nSize);
}

int RunPicture(CVX2200Ctrl& ctrl, const Invocation& inv)
{
    PictureArgs p;
    ParsePictureArgs(inv.args, p);
    CScratchDir folder("vx2200ctl");
    if (folder.Path().empty()) {
        std::cerr << "vx2200ctl: picture: no temporary folder can be made\n";
        return EXIT_CANTCREAT;
    }
    CVXImage image(&ctrl, folder.Path());
    std::array<std::uint8_t, CVXImage::INFO_SIZE> info {};
    const auto pFrame = std::make_unique<std::uint8_t[]>(CVXImage::FRAME_BYTES);
    const std::array<int, 6>& t = p.time;
    if (!image.FetchPicture(info.data(), pFrame.get(), p.nMove, p.nMove == 0 ? t[0] - 2000 : 0, t[1], t[2], t[3],
                            t[4], t[5])) {
        if (ctrl.m_nResult != 0)
            return Fail("picture " + inv.args[0], ctrl.m_nResult);
        std::cerr << "vx2200ctl: picture " << inv.args[0]
                  << ": no picture (none announced, larger than 535680 bytes, or not a picture that decodes)\n";
        return EXIT_DATAERR;
    }
    const auto bytes = ReadFileBytes(image.GetTestFilePath(), CVXImage::FRAME_BYTES);
    if (!bytes || !WriteFileAtomically(p.strOut, *bytes)) {
        std::cerr << "vx2200ctl: " << p.strOut << ": cannot be written\n";
        return EXIT_CANTCREAT;
    }
    std::cout << PictureLine(info.data(), image.GetLastFileSize()) << "\n";
    return 0;
}

const CommandDef kCommands[] = {
    {"status", 0, "status", RunStatus},
    {"key", 1, "key CODE", RunKey},
    {"power", 0, "power", [](CVX2200Ctrl& c, const Invocation&) { return RunToggle(c, "power", &CVX2200Ctrl::PowerKey); }},
    {"record", 0, "record", [](CVX2200Ctrl& c, const Invocation&) { return RunToggle(c, "record", &CVX2200Ctrl::RecordKey); }},
    {"get", 1, "get SUFFIX", RunGet},
    {"set", 2, "set SUFFIX VALUE", RunSet},
    {"clock", 0, "clock", RunClock},
    {"set-clock", 2, "set-clock YYYY-MM-DD hh:mm:ss", RunSetClock},
    {"timer", 1, "timer N", RunTimer},
    {"set-timer", 15, "set-timer N F0 .. F13", RunSetTimer},
    {"log", 1, "log rec|alarm|failure", RunLog},
    {"download", 1, "download FILE", RunDownload},
    {"upload", 1, "upload FILE", RunUpload},
    {"picture", 2, "picture MOVE [YYYY-MM-DD hh:mm:ss] OUT.jpg", RunPicture, 4},
    {"backup", CBackupJob::ARG_COUNT, "backup START_DATE START_TIME END_DATE END_TIME FOLDER EVENT",
     [](CVX2200Ctrl& c, const Invocation& inv) { return RunBackup(c, inv.backup); }},
};

void PrintUsage()
{
    std::cerr << "usage: vx2200ctl HOST PORT COMMAND [ARGS]\ncommands:\n";
    for (const CommandDef& c : kCommands)
        std::cerr << "  " << c.pszUsage << "\n";
}

// The arguments of each command, checked before anything is sent. Returns an
// error text, empty when they are good.
std::string CheckArgs(const std::string& strCommand, const Args& a)
{
    int n = 0;
    if (strCommand == "key" && KeyOf(a[0]) < 0)
        return "unknown key " + a[0];
    if ((strCommand == "get" || strCommand == "set") && SettingOf(a[0]) < 0)
        return "unknown setting " + a[0] + " (the clock and the timer programs have commands of their own)";
    if (strCommand == "set" && !ParseValue(a[1], n))
        return "value out of range: " + a[1];
    std::array<int, 6> v {};
    if (strCommand == "set-clock" && !ParseDateTime(a[0], a[1], v))
        return "bad date and time: " + a[0] + " " + a[1];
    if ((strCommand == "timer" || strCommand == "set-timer") && !ParseInt(a[0], 1, TimerProgram::PROGRAM_COUNT, n))
        return "timer program out of range: " + a[0];
    if (strCommand == "set-timer") {
        const int nProgram = n;
        for (std::size_t f = 1; f < a.size(); ++f) {
            if (!ParseValue(a[f], n))
                return "timer field out of range: " + a[f];
            if (f == 1 && n != nProgram - 1)
                return "field F0 must be the program number minus 1";
        }
    }
    if (strCommand == "log" && LogKindOf(a[0]) < 0)
        return "unknown log " + a[0];
    CBackupJob backup;
    if (strCommand == "backup")
        return ParseBackupArgs(a, backup);
    PictureArgs picture;
    if (strCommand == "picture" && !ParsePictureArgs(a, picture))
        return "usage: picture MOVE OUT.jpg with MOVE 1..6, or picture 0 YYYY-MM-DD hh:mm:ss OUT.jpg "
               "(years 2000..2099)";
    return {};
}

std::optional<std::string> ResolveHost(const std::string& strHost)
{
    addrinfo hints {};
    hints.ai_family = AF_INET;
    hints.ai_socktype = SOCK_STREAM;
    addrinfo* pResult = nullptr;
    if (::getaddrinfo(strHost.c_str(), nullptr, &hints, &pResult) != 0 || !pResult)
        return std::nullopt;
    char szIP[INET_ADDRSTRLEN] = {};
    const auto* pAddr = reinterpret_cast<const sockaddr_in*>(pResult->ai_addr);
    const bool bOk = ::inet_ntop(AF_INET, &pAddr->sin_addr, szIP, sizeof szIP) != nullptr;
    ::freeaddrinfo(pResult);
    return bOk ? std::optional<std::string>(szIP) : std::nullopt;
}

// Reads the file of an upload; 0 or the exit status of the failure.
int LoadUpload(Invocation& inv)
{
    const std::string& strPath = inv.args[0];
    const auto bytes = ReadFileBytes(strPath, CSettingsImage::FILE_SIZE + 1);
    if (!bytes) {
        std::cerr << "vx2200ctl: " << strPath << ": cannot be read\n";
        return EXIT_NOINPUT;
    }
    if (!inv.upload.Decode(*bytes)) {
        std::cerr << "vx2200ctl: " << strPath << ": not a settings file (" << bytes->size()
                  << (bytes->size() > CSettingsImage::FILE_SIZE ? " or more" : "") << " bytes, "
                  << CSettingsImage::FILE_SIZE << " expected); nothing sent\n";
        return EXIT_DATAERR;
    }
    return 0;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc < 4) {
        PrintUsage();
        return EXIT_USAGE;
    }
    Invocation inv;
    inv.strHost = argv[1];
    inv.strCommand = argv[3];
    inv.args.assign(argv + 4, argv + argc);
    if (!ParseInt(argv[2], 0, 65535, inv.nPort))
        return UsageError(std::string("bad port ") + argv[2]);
    const CommandDef* pCommand = nullptr;
    for (const CommandDef& c : kCommands) {
        if (inv.strCommand == c.pszName)
            pCommand = &c;
    }
    if (!pCommand) {
        PrintUsage();
        return EXIT_USAGE;
    }
    const int nArgs = static_cast<int>(inv.args.size());
    if (nArgs != pCommand->nArgs && nArgs != pCommand->nOtherArgs)
        return UsageError(std::string("usage: vx2200ctl HOST PORT ") + pCommand->pszUsage);
    if (const std::string strError = CheckArgs(inv.strCommand, inv.args); !strError.empty())
        return UsageError(strError);
    if (inv.strCommand == "upload") {
        if (const int nExit = LoadUpload(inv))
            return nExit;
    }
    if (inv.strCommand == "backup") {
        ParseBackupArgs(inv.args, inv.backup);
        if (const int nExit = PrepareBackup(inv.backup))
            return nExit;
    }
    const std::optional<std::string> ip = ResolveHost(inv.strHost);
    if (!ip)
        return UsageError("unknown host " + inv.strHost);
    inv.strIP = *ip;

    CVX2200Ctrl ctrl;
    ctrl.SetAskToReconnect(false);
    if (const int n = ctrl.Connect(inv.strIP, inv.nPort))
        return Fail("connect " + inv.strHost + " " + std::to_string(inv.nPort), n);
    const int nExit = pCommand->fnRun(ctrl, inv);
    ctrl.Disconnect();
    return nExit;
}
