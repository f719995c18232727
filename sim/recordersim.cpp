#include "sim/recordersim.h"

#include <algorithm>
#include <arpa/inet.h>
#include <cerrno>
#include <chrono>
#include <fcntl.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

namespace {

constexpr int POLL_MS = 50;
constexpr int PARTIAL_LIMIT_MS = 2000; // a frame that does not arrive whole is given up
constexpr int LATE_MS = 1500;
constexpr int TRICKLE_PAUSE_MS = 1;
constexpr int SEND_TIMEOUT_S = 2;
constexpr int DROP_WAIT_MS = 2000;

long long NowMs()
{
    using namespace std::chrono;
    return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

CRecorderModel::Config ModelConfig(const CRecorderSim::Options& options)
{
    CRecorderModel::Config config;
    if (options.start)
        config.start = *options.start;
    config.bAcceptMenuAlways = options.bAcceptMenuAlways;
    config.bSingleDisk = options.bSingleDisk;
    config.nCameras = options.nCameras;
    config.nRecordedMinutes = options.nRecordedMinutes;
    config.nRecInterval = options.nRecInterval;
    return config;
}

void CloseHandle(int& h)
{
    if (h >= 0)
        ::close(h);
    h = -1;
}

} // namespace

CRecorderSim::CRecorderSim(Options options) : m_options(std::move(options)), m_model(ModelConfig(m_options))
{
}

CRecorderSim::CRecorderSim() : CRecorderSim(Options {})
{
}

CRecorderSim::~CRecorderSim()
{
    Stop();
}

bool CRecorderSim::Start()
{
    if (m_thread.joinable())
        return true;
    sockaddr_in addr {};
    addr.sin_family = AF_INET;
    addr.sin_port = htons(static_cast<std::uint16_t>(m_options.nPort));
    if (m_options.nPort < 0 || m_options.nPort > 65535
        || ::inet_pton(AF_INET, m_options.strBindAddress.c_str(), &addr.sin_addr) != 1)
        return false;
    m_hListen = ::socket(AF_INET, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
    const int nOn = 1;
    ::setsockopt(m_hListen, SOL_SOCKET, SO_REUSEADDR, &nOn, sizeof nOn);
    socklen_t nSize = sizeof addr;
    if (m_hListen < 0 || ::bind(m_hListen, reinterpret_cast<sockaddr*>(&addr), sizeof addr) != 0
        || ::listen(m_hListen, 4) != 0 || ::getsockname(m_hListen, reinterpret_cast<sockaddr*>(&addr), &nSize) != 0
        || ::pipe2(m_hWake, O_CLOEXEC | O_NONBLOCK) != 0) {
        CloseHandle(m_hListen);
        return false;
    }
    m_nPort = ntohs(addr.sin_port);
    m_bStop = false;
    m_thread = std::thread([this] { Run(); });
    return true;
}

void CRecorderSim::Stop()
{
    if (!m_thread.joinable())
        return;
    m_bStop = true;
    const char ch = 'q';
    [[maybe_unused]] const ssize_t r = ::write(m_hWake[1], &ch, 1);
    m_thread.join();
    CloseAllClients(false);
    CloseHandle(m_hListen);
    CloseHandle(m_hWake[0]);
    CloseHandle(m_hWake[1]);
}

void CRecorderSim::Run()
{
    while (!m_bStop) {
        if (m_options.nMaxClients > 1) {
            PollClients();
        } else if (m_hClient >= 0) {
            // A client's requests come one after another: the receive itself
            // waits for the next one (at most POLL_MS), which answers sooner
            // than a poll before every receive.
            ReadClient();
        } else {
            pollfd pfd[2] = {{m_hWake[0], POLLIN, 0}, {m_hListen, POLLIN, 0}};
            if (::poll(pfd, 2, POLL_MS) < 0 && errno != EINTR)
                break;
            if (pfd[0].revents) {
                char buf[16];
                while (::read(m_hWake[0], buf, sizeof buf) > 0) {
                }
            }
            if (pfd[1].revents && !m_bStop)
                Accept();
        }
        ServeDropRequest();
        PromoteWaiting();
        if (m_hClient >= 0 && m_reader.HasPartial() && NowMs() - m_nLastByteMs > PARTIAL_LIMIT_MS)
            Record(SimTraceEntry::Direction::Received, m_reader.TakePartial());
    }
}

int CRecorderSim::ClientCount() const
{
    return (m_hClient >= 0 ? 1 : 0) + static_cast<int>(m_others.size());
}

void CRecorderSim::PollClients()
{
    std::vector<pollfd> pfds;
    pfds.push_back({m_hWake[0], POLLIN, 0});
    const int nMax = std::clamp(m_options.nMaxClients, 1, MAX_CLIENTS);
    pfds.push_back({m_hListen, static_cast<short>(ClientCount() < nMax ? POLLIN : 0), 0});
    if (m_hClient >= 0)
        pfds.push_back({m_hClient, POLLIN, 0});
    for (const Client& client : m_others)
        pfds.push_back({client.h, POLLIN, 0});
    if (::poll(pfds.data(), pfds.size(), POLL_MS) < 0)
        return;
    if (pfds[0].revents) {
        char buf[16];
        while (::read(m_hWake[0], buf, sizeof buf) > 0) {
        }
    }
    for (std::size_t i = 2; i < pfds.size() && !m_bStop; ++i) {
        if (pfds[i].revents == 0)
            continue;
        if (pfds[i].fd != m_hClient)
            SwapIn(pfds[i].fd);
        if (pfds[i].fd == m_hClient)
            ReadClient();
    }
    if ((pfds[1].revents & POLLIN) && !m_bStop)
        Accept();
}

void CRecorderSim::SwapIn(int h)
{
    for (Client& client : m_others) {
        if (client.h != h)
            continue;
        std::swap(client.h, m_hClient);
        std::swap(client.reader, m_reader);
        std::swap(client.nLastByteMs, m_nLastByteMs);
        break;
    }
    std::erase_if(m_others, [](const Client& client) { return client.h < 0; });
}

// The client being served left: another connected one takes its place.
void CRecorderSim::PromoteWaiting()
{
    if (m_hClient >= 0 || m_others.empty())
        return;
    Client& client = m_others.back();
    m_hClient = client.h;
    m_reader = std::move(client.reader);
    m_nLastByteMs = client.nLastByteMs;
    m_others.pop_back();
}

void CRecorderSim::Accept()
{
    const int h = ::accept4(m_hListen, nullptr, nullptr, SOCK_CLOEXEC);
    if (h < 0)
        return;
    const int nOn = 1;
    ::setsockopt(h, IPPROTO_TCP, TCP_NODELAY, &nOn, sizeof nOn);
    const timeval timeout {SEND_TIMEOUT_S, 0};
    ::setsockopt(h, SOL_SOCKET, SO_SNDTIMEO, &timeout, sizeof timeout);
    const timeval wait {0, POLL_MS * 1000};
    ::setsockopt(h, SOL_SOCKET, SO_RCVTIMEO, &wait, sizeof wait);
    if (m_hClient >= 0) {
        m_others.push_back({h, CSimFrameReader(), NowMs()});
    } else {
        m_hClient = h;
        m_reader = CSimFrameReader();
    }
    std::lock_guard lock(m_mutex);
    ++m_nConnections;
}

void CRecorderSim::ReadClient()
{
    char buf[512];
    const ssize_t r = ::recv(m_hClient, buf, sizeof buf, 0);
    if (r == 0 || (r < 0 && errno != EAGAIN && errno != EWOULDBLOCK && errno != EINTR)) {
        CloseClient(false); // the client left; serve the next one
        return;
    }
    if (r < 0)
        return;
    m_nLastByteMs = NowMs();
    m_reader.Feed(buf, static_cast<std::size_t>(r));
    SimRequest request;
    while (m_hClient >= 0 && m_reader.Next(request))
        Serve(request);
}

void CRecorderSim::Serve(const SimRequest& request)
{
    Record(SimTraceEntry::Direction::Received, request.strBytes);
    const SimFault fault = TakeFault(request.Code());
    switch (fault) {
    case SimFault::Refuse:
        SendAnswer({std::string(1, '\x15'), {}}, fault);
        return;
    case SimFault::Silence:
        return;
    case SimFault::Reset:
    case SimFault::Close:
        CloseClient(fault == SimFault::Reset);
        return;
    default:
        break;
    }
    CRecorderModel::Answer answer;
    {
        std::lock_guard lock(m_mutex);
        answer = m_model.Handle(request, fault);
    }
    if (answer.bHangUp) {
        CloseClient(false);
        return;
    }
    SendAnswer(std::move(answer), fault);
}

SimFault CRecorderSim::TakeFault(const std::string& strCode)
{
    if (strCode.empty())
        return SimFault::None;
    std::lock_guard lock(m_mutex);
    for (const std::string& strKey : {strCode, std::string("*")}) {
        const auto it = m_faults.find(strKey);
        if (it == m_faults.end())
            continue;
        if (it->second.nSkip > 0) {
            --it->second.nSkip;
            return SimFault::None;
        }
        const SimFault fault = it->second.fault;
        if (it->second.nTimes > 0 && --it->second.nTimes == 0)
            m_faults.erase(it);
        return fault;
    }
    return SimFault::None;
}

void CRecorderSim::SendAnswer(CRecorderModel::Answer answer, SimFault fault)
{
    std::string& strAck = answer.strAck;
    std::string& strFrame = answer.strFrame;
    if (fault == SimFault::BadAck && !strAck.empty())
        strAck[0] = '\0';
    if (fault == SimFault::NoFrame)
        strFrame.clear();
    if (!strFrame.empty()) {
        if (fault == SimFault::BadStart)
            strFrame.front() = '\xA1';
        if (fault == SimFault::BadEnd)
            strFrame.back() = '\xAE';
        const std::size_t nLetter = strFrame.size() > 3 && strFrame[2] == 'J' ? 3 : 5;
        if (fault == SimFault::BadCode && strFrame.size() > nLetter)
            strFrame[nLetter] = strFrame[nLetter] == 'Z' ? 'A' : static_cast<char>(strFrame[nLetter] + 1);
    }
    if (fault == SimFault::Late && !PauseFor(LATE_MS))
        return;
    if (!strAck.empty())
        Record(SimTraceEntry::Direction::Sent, strAck);
    if (!strFrame.empty())
        Record(SimTraceEntry::Direction::Sent, strFrame);
    // One block on the wire; a picture chunk goes without a copy.
    const bool bTrickle = fault == SimFault::Trickle;
    if (strAck.empty())
        SendBytes(strFrame, bTrickle);
    else
        SendBytes(strAck + strFrame, bTrickle);
}

void CRecorderSim::SendBytes(const std::string& strBytes, bool bTrickle)
{
    if (bTrickle) {
        for (const char ch : strBytes) {
            if (m_hClient < 0 || ::send(m_hClient, &ch, 1, MSG_NOSIGNAL) != 1 || !PauseFor(TRICKLE_PAUSE_MS))
                return;
        }
        return;
    }
    std::size_t nSent = 0;
    while (m_hClient >= 0 && nSent < strBytes.size()) {
        const ssize_t r = ::send(m_hClient, strBytes.data() + nSent, strBytes.size() - nSent, MSG_NOSIGNAL);
        if (r <= 0)
            return;
        nSent += static_cast<std::size_t>(r);
    }
}

// Waits, unless the simulator is told to stop meanwhile (then false).
bool CRecorderSim::PauseFor(int nMilliseconds)
{
    const long long nEnd = NowMs() + nMilliseconds;
    while (!m_bStop) {
        const long long nLeft = nEnd - NowMs();
        if (nLeft <= 0)
            return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(std::min<long long>(nLeft, 10)));
    }
    return false;
}

void CRecorderSim::CloseClient(bool bReset)
{
    if (m_hClient < 0)
        return;
    if (bReset) {
        const linger hard {1, 0};
        ::setsockopt(m_hClient, SOL_SOCKET, SO_LINGER, &hard, sizeof hard);
    }
    CloseHandle(m_hClient);
    m_reader = CSimFrameReader();
}

void CRecorderSim::CloseAllClients(bool bReset)
{
    CloseClient(bReset);
    while (!m_others.empty()) {
        PromoteWaiting();
        CloseClient(bReset);
    }
}

void CRecorderSim::ServeDropRequest()
{
    std::optional<bool> request;
    {
        std::lock_guard lock(m_mutex);
        request.swap(m_dropRequest);
    }
    if (!request)
        return;
    CloseAllClients(*request);
    m_dropDone.notify_all();
}

void CRecorderSim::DropClient(bool bReset)
{
    if (!m_thread.joinable())
        return;
    std::unique_lock lock(m_mutex);
    m_dropRequest = bReset;
    const char ch = 'd';
    [[maybe_unused]] const ssize_t r = ::write(m_hWake[1], &ch, 1);
    m_dropDone.wait_for(lock, std::chrono::milliseconds(DROP_WAIT_MS), [this] { return !m_dropRequest; });
}

void CRecorderSim::Record(SimTraceEntry::Direction direction, const std::string& strBytes)
{
    if (m_options.nTraceKeep == 0 && !m_options.pTraceStream)
        return;
    SimTraceEntry entry {direction, strBytes};
    if (m_options.pTraceStream)
        *m_options.pTraceStream << (entry.IsReceived() ? "<- " : "-> ") << entry.Hex() << std::endl;
    std::lock_guard lock(m_mutex);
    m_trace.push_back(std::move(entry));
    while (m_trace.size() > m_options.nTraceKeep)
        m_trace.pop_front();
}

void CRecorderSim::SetFault(const std::string& strCode, SimFault fault, int nTimes, int nSkip)
{
    std::lock_guard lock(m_mutex);
    if (fault == SimFault::None || nTimes == 0)
        m_faults.erase(strCode);
    else
        m_faults[strCode] = {fault, nTimes, std::max(nSkip, 0)};
}

void CRecorderSim::ClearFaults()
{
    std::lock_guard lock(m_mutex);
    m_faults.clear();
}

std::vector<SimTraceEntry> CRecorderSim::Trace() const
{
    std::lock_guard lock(m_mutex);
    return {m_trace.begin(), m_trace.end()};
}

void CRecorderSim::ClearTrace()
{
    std::lock_guard lock(m_mutex);
    m_trace.clear();
}

int CRecorderSim::ConnectionCount() const
{
    std::lock_guard lock(m_mutex);
    return m_nConnections;
}

std::array<int, 4> CRecorderSim::GetStatus() const
{
    std::lock_guard lock(m_mutex);
    return m_model.GetStatus();
}

void CRecorderSim::SetStatus(const std::array<int, 4>& nStatus)
{
    std::lock_guard lock(m_mutex);
    m_model.SetStatus(nStatus);
}

int CRecorderSim::GetSetting(int k) const
{
    std::lock_guard lock(m_mutex);
    return m_model.GetSetting(k);
}

void CRecorderSim::SetSetting(int k, int nByte)
{
    std::lock_guard lock(m_mutex);
    m_model.SetSetting(k, nByte);
}

SimDateTime CRecorderSim::GetClock() const
{
    std::lock_guard lock(m_mutex);
    return m_model.GetClock();
}

void CRecorderSim::SetClock(const SimDateTime& dt)
{
    std::lock_guard lock(m_mutex);
    m_model.SetClock(dt);
}

CRecorderModel::Program CRecorderSim::GetTimerProgram(int n) const
{
    std::lock_guard lock(m_mutex);
    return m_model.GetProgram(n);
}

void CRecorderSim::SetTimerProgram(int n, const CRecorderModel::Program& program)
{
    std::lock_guard lock(m_mutex);
    m_model.SetProgram(n, program);
}

std::vector<SimLogRecord> CRecorderSim::GetLog(int nKind) const
{
    std::lock_guard lock(m_mutex);
    return m_model.GetLog(nKind);
}

void CRecorderSim::SetLog(int nKind, const std::vector<SimLogRecord>& records)
{
    std::lock_guard lock(m_mutex);
    m_model.SetLog(nKind, records);
}

void CRecorderSim::SetAcceptMenuAlways(bool bAccept)
{
    std::lock_guard lock(m_mutex);
    m_model.SetAcceptMenuAlways(bAccept);
}

void CRecorderSim::SetSingleDisk(bool bSingle)
{
    std::lock_guard lock(m_mutex);
    m_model.SetSingleDisk(bSingle);
}

void CRecorderSim::TriggerAlarm()
{
    std::lock_guard lock(m_mutex);
    m_model.TriggerAlarm();
}

long long CRecorderSim::PicturePosition()
{
    std::lock_guard lock(m_mutex);
    return m_model.PicturePosition();
}

long long CRecorderSim::PictureCount()
{
    std::lock_guard lock(m_mutex);
    return m_model.PictureCount();
}

CSimRecording::Picture CRecorderSim::PictureAt(long long nIndex)
{
    std::lock_guard lock(m_mutex);
    return m_model.PictureAt(nIndex);
}

CSimRecording::Picture CRecorderSim::FindPicture(const SimDateTime& dt, int nFrame)
{
    std::lock_guard lock(m_mutex);
    return m_model.FindPicture(dt, nFrame);
}

std::string CRecorderSim::PictureJpeg(long long nIndex)
{
    std::lock_guard lock(m_mutex);
    return m_model.PictureJpeg(nIndex);
}

void CRecorderSim::SetFixedPicture(std::optional<std::string> bytes)
{
    std::lock_guard lock(m_mutex);
    m_model.SetFixedPicture(std::move(bytes));
}
