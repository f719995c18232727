#include "link/vxsocket.h"

#include "platform/painthook.h"
#include "platform/prompter.h"

#include <arpa/inet.h>
#include <cerrno>
#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstring>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <fcntl.h>
#include <poll.h>
#include <sys/time.h>
#include <sys/socket.h>
#include <unistd.h>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

// Waits until fd is ready for nEvents or the deadline has passed, in slices of
// about 10 ms with painting served between them. True when ready (or when poll
// reports an error or hang-up, which the next call will then show).
bool WaitUntil(int fd, short nEvents, Clock::time_point deadline)
{
    for (;;) {
        const auto nLeft = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
        if (nLeft <= 0)
            return false;
        pollfd pfd {fd, nEvents, 0};
        const int nSlice = static_cast<int>(std::min<long long>(nLeft, CVXSocket::SLICE_MS));
        const int r = ::poll(&pfd, 1, nSlice);
        if (r > 0)
            return true;
        if (r < 0 && errno != EINTR)
            return true;
        ServePaint();
    }
}

Clock::time_point After(int nMilliseconds)
{
    return Clock::now() + std::chrono::milliseconds(nMilliseconds);
}

} // namespace

CVXSocket::~CVXSocket()
{
    Close();
}

bool CVXSocket::Create()
{
    Close();
    m_hSocket = ::socket(AF_INET, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
    if (m_hSocket < 0) {
        m_nLastError = errno;
        return false;
    }
    // Frames are small and answered at once: never hold one back.
    const int nOn = 1;
    ::setsockopt(m_hSocket, IPPROTO_TCP, TCP_NODELAY, &nOn, sizeof nOn);
    return true;
}

bool CVXSocket::Connect(const std::string& strIP, int nPort)
{
    if (m_hSocket < 0) {
        m_nLastError = ENOTSOCK;
        return false;
    }
    sockaddr_in addr {};
    addr.sin_family = AF_INET;
    if (nPort < 0 || nPort > 65535 || ::inet_pton(AF_INET, strIP.c_str(), &addr.sin_addr) != 1) {
        m_nLastError = EINVAL;
        return false;
    }
    addr.sin_port = htons(static_cast<std::uint16_t>(nPort));
    if (::connect(m_hSocket, reinterpret_cast<const sockaddr*>(&addr), sizeof addr) == 0)
        return UseSlicedReceives();
    if (errno != EINPROGRESS) {
        m_nLastError = errno;
        return false;
    }
    if (!WaitUntil(m_hSocket, POLLOUT, After(m_nConnectLimitMs))) {
        // Leave a fresh, unconnected socket rather than one still trying.
        Create();
        m_nLastError = ETIMEDOUT;
        return false;
    }
    int nError = 0;
    socklen_t nSize = sizeof nError;
    if (::getsockopt(m_hSocket, SOL_SOCKET, SO_ERROR, &nError, &nSize) != 0)
        nError = errno;
    if (nError != 0) {
        m_nLastError = nError;
        return false;
    }
    return UseSlicedReceives();
}

bool CVXSocket::Adopt(int hConnected)
{
    Close();
    if (hConnected < 0) {
        m_nLastError = EBADF;
        return false;
    }
    const int nFlags = ::fcntl(hConnected, F_GETFL);
    if (nFlags < 0 || ::fcntl(hConnected, F_SETFL, nFlags | O_NONBLOCK) != 0) {
        m_nLastError = errno;
        ::close(hConnected);
        return false;
    }
    ::fcntl(hConnected, F_SETFD, FD_CLOEXEC);
    m_hSocket = hConnected;
    return UseSlicedReceives();
}

// Once connected, receives block in the kernel for at most one slice at a time
// (sends and everything else keep asking not to block).
bool CVXSocket::UseSlicedReceives()
{
    const int nFlags = ::fcntl(m_hSocket, F_GETFL);
    const timeval slice {0, m_nReceiveSliceMs * 1000};
    m_bSliced = nFlags >= 0 && ::fcntl(m_hSocket, F_SETFL, nFlags & ~O_NONBLOCK) == 0
        && ::setsockopt(m_hSocket, SOL_SOCKET, SO_RCVTIMEO, &slice, sizeof slice) == 0;
    if (!m_bSliced && nFlags >= 0)
        ::fcntl(m_hSocket, F_SETFL, nFlags | O_NONBLOCK);
    return true;
}

void CVXSocket::Close()
{
    m_readAhead.clear();
    m_bSliced = false;
    m_bPeerClosed = false;
    if (m_hSocket >= 0)
        ::close(m_hSocket);
    m_hSocket = -1;
}

bool CVXSocket::GetPeerName(std::string& strIP, int& nPort) const
{
    sockaddr_in addr {};
    socklen_t nSize = sizeof addr;
    if (m_hSocket < 0 || ::getpeername(m_hSocket, reinterpret_cast<sockaddr*>(&addr), &nSize) != 0
        || addr.sin_family != AF_INET)
        return false;
    char szIP[INET_ADDRSTRLEN] = {};
    if (!::inet_ntop(AF_INET, &addr.sin_addr, szIP, sizeof szIP))
        return false;
    strIP = szIP;
    nPort = ntohs(addr.sin_port);
    return true;
}

bool CVXSocket::IsLinkLost(int nError)
{
    return nError == ECONNABORTED || nError == ECONNRESET || nError == ENOTCONN || nError == EPIPE;
}

// 0 when all bytes went out, else the error.
int CVXSocket::SendAll(const unsigned char* pData, int nLength)
{
    const auto deadline = After(SEND_LIMIT_MS);
    int nSent = 0;
    while (nSent < nLength) {
        if (m_hSocket < 0)
            return ENOTSOCK;
        const ssize_t r = ::send(m_hSocket, pData + nSent, static_cast<std::size_t>(nLength - nSent),
                                 MSG_NOSIGNAL | MSG_DONTWAIT);
        if (r > 0) {
            nSent += static_cast<int>(r);
            continue;
        }
        if (r < 0 && errno == EINTR)
            continue;
        if (r < 0 && errno != EAGAIN && errno != EWOULDBLOCK)
            return errno;
        if (!WaitUntil(m_hSocket, POLLOUT, deadline))
            return ETIMEDOUT;
    }
    return 0;
}

// 0 when all bytes arrived; -1 when the peer closed the connection; else the
// error (ETIMEDOUT when the second ran out). Bytes that arrive beyond the ones
// asked for are kept for the next call, so that an acknowledge and its answer
// frame sent together take one read.
int CVXSocket::ReceiveAll(unsigned char* pBuffer, int nLength)
{
    int nGot = TakeReadAhead(pBuffer, nLength);
    const auto deadline = After(RECEIVE_LIMIT_MS);
    unsigned char byChunk[READ_AHEAD_SIZE];
    while (nGot < nLength) {
        if (m_hSocket < 0)
            return ENOTSOCK;
        // A connected socket blocks for at most one slice in recv, which saves
        // a poll per answer; any other waits in poll.
        if (!m_bSliced && !WaitUntil(m_hSocket, POLLIN, deadline))
            return ETIMEDOUT;
        const ssize_t r = ::recv(m_hSocket, byChunk, sizeof byChunk, 0);
        if (r == 0) {
            m_bPeerClosed = true;
            return -1;
        }
        if (r < 0) {
            if (errno != EINTR && errno != EAGAIN && errno != EWOULDBLOCK)
                return errno;
            if (Clock::now() >= deadline)
                return ETIMEDOUT;
            if (m_bSliced && errno != EINTR)
                ServePaint();
            continue;
        }
        const int nTake = std::min(static_cast<int>(r), nLength - nGot);
        std::memcpy(pBuffer + nGot, byChunk, static_cast<std::size_t>(nTake));
        nGot += nTake;
        m_readAhead.assign(byChunk + nTake, byChunk + r);
        // A peer that trickles its bytes cannot stretch one receive past its
        // limit: the second counts whether or not bytes keep coming.
        if (nGot < nLength && Clock::now() >= deadline)
            return ETIMEDOUT;
    }
    return 0;
}

int CVXSocket::TakeReadAhead(unsigned char* pBuffer, int nLength)
{
    const int nTake = std::min(static_cast<int>(m_readAhead.size()), nLength);
    if (nTake <= 0)
        return 0;
    std::memcpy(pBuffer, m_readAhead.data(), static_cast<std::size_t>(nTake));
    m_readAhead.erase(m_readAhead.begin(), m_readAhead.begin() + nTake);
    return nTake;
}

int CVXSocket::SendData(const void* pData, int nLength)
{
    if (nLength < 0)
        return -1;
    const auto* pBytes = static_cast<const unsigned char*>(pData);
    // Bytes sent after the recorder hung up may be taken by the stack without
    // a word and never answered.
    const int nError = m_bPeerClosed ? EPIPE : SendAll(pBytes, nLength);
    if (nError == 0)
        return nLength;
    m_nLastError = nError;
    if (!m_bAsk || !IsLinkLost(nError))
        return -1;
    if (m_bReconnecting)
        return nLength;
    if (!RunReconnection())
        return nLength;
    const int nAgain = SendAll(pBytes, nLength);
    if (nAgain == 0)
        return nLength;
    m_nLastError = nAgain;
    return -1;
}

int CVXSocket::ReceiveData(void* pBuffer, int nLength)
{
    if (nLength < 0)
        return -1;
    // Received into a buffer of its own, so that the caller's buffer only ever
    // holds a whole answer. The buffer is kept: receiving allocates nothing once
    // it has grown to the largest answer.
    if (m_receiveBuffer.size() < static_cast<std::size_t>(nLength))
        m_receiveBuffer.resize(static_cast<std::size_t>(nLength));
    const int nResult = ReceiveAll(m_receiveBuffer.data(), nLength);
    if (nResult == 0) {
        if (nLength > 0)
            std::memcpy(pBuffer, m_receiveBuffer.data(), static_cast<std::size_t>(nLength));
        return nLength;
    }
    m_nLastError = nResult < 0 ? 0 : nResult;
    if (!m_bAsk || !IsLinkLost(m_nLastError))
        return -1;
    if (!m_bReconnecting)
        RunReconnection();
    return nLength;
}

void CVXSocket::DiscardPending()
{
    m_readAhead.clear();
    unsigned char byDiscard[4096];
    for (int i = 0; i < 64 && m_hSocket >= 0; ++i) {
        if (::recv(m_hSocket, byDiscard, sizeof byDiscard, MSG_DONTWAIT) <= 0)
            return;
    }
}

// The reconnection sequence. True when the connection stands again, false when
// it ended with the quit request.
bool CVXSocket::RunReconnection()
{
    m_bReconnecting = 1;
    if (GetPrompter().Confirm(MODE_RECONNECT) == 0) {
        RequestQuit();
        return false;
    }
    if (!Create() && !RetryAfterQuestion([this] { return Create(); }))
        return false;
    if (!ConnectToTarget() && !RetryAfterQuestion([this] { return ConnectToTarget(); }))
        return false;
    m_bReconnecting = 0;
    return true;
}

// Mode 26, then up to three more attempts; mode 27 when they all fail.
bool CVXSocket::RetryAfterQuestion(const std::function<bool()>& fnAttempt)
{
    if (GetPrompter().Confirm(MODE_RECONNECT_AGAIN) == 0) {
        RequestQuit();
        return false;
    }
    for (int i = 0; i < RETRY_COUNT; ++i) {
        if (fnAttempt())
            return true;
    }
    GetPrompter().Confirm(MODE_RECONNECT_FAILED);
    RequestQuit();
    return false;
}

// One connection attempt to the recorder of the connected entry, on a fresh
// socket. Fails when no entry is connected.
bool CVXSocket::ConnectToTarget()
{
    const std::optional<VXAddress> target = m_fnTarget ? m_fnTarget() : std::nullopt;
    if (!target) {
        m_nLastError = EDESTADDRREQ;
        return false;
    }
    if (!IsCreated() && !Create())
        return false;
    if (Connect(target->strIP, target->nPort))
        return true;
    Create(); // a socket whose connect failed is not used again
    return false;
}

// Once the quit request is made, m_bReconnecting stays set, so that nothing
// else asks while the program ends.
void CVXSocket::RequestQuit()
{
    if (m_bQuitRequested)
        return;
    m_bQuitRequested = true;
    if (m_fnQuit)
        m_fnQuit();
}
