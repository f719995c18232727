#include "recorderpeer.h"

#include "link/vx2200ctrl.h"
#include "platform/painthook.h"
#include "platform/waiter.h"

#include <sys/ioctl.h>
#include <sys/socket.h>
#include <unistd.h>

std::vector<std::string> CRecorderPeer::Segments(const std::uint8_t* pData, std::size_t nSize)
{
    std::vector<std::string> segments;
    std::size_t i = 0;
    while (i + 2 <= nSize) {
        const std::size_t nLength = (std::size_t {pData[i]} << 8) | pData[i + 1];
        i += 2;
        const std::size_t nTake = std::min(nLength, nSize - i);
        segments.emplace_back(reinterpret_cast<const char*>(pData + i), nTake);
        i += nTake;
    }
    return segments;
}

CRecorderPeer::CRecorderPeer(CVX2200Ctrl& ctrl, std::vector<std::string> segments)
    : m_ctrl(ctrl), m_segments(std::move(segments))
{
    int fds[2] = {-1, -1};
    if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, fds) != 0)
        __builtin_trap();
    m_hPeer = fds[1];
    m_ctrl.SetAskToReconnect(false);
    // A starved program is noticed after a millisecond rather than ten.
    m_ctrl.Socket().SetReceiveSlice(1);
    if (m_ctrl.AdoptConnection(fds[0]) != 0)
        __builtin_trap();
    // The fixed waits after the power keys would only slow the fuzzer down.
    SetWaiter([](int) {});
    SetPaintHook([this] { OnProgramWaiting(); });
    m_thread = std::thread([this] { Run(); });
}

CRecorderPeer::~CRecorderPeer()
{
    // Closing the program's end ends the peer's reads and writes.
    m_ctrl.Disconnect();
    m_thread.join();
    ::close(m_hPeer);
    SetPaintHook({});
    SetWaiter({});
}

void CRecorderPeer::Run()
{
    char byBlock[4096];
    std::size_t nNext = 0;
    // With the script spent, whatever the program waits for never comes: it
    // meets the closed side at once.
    const auto closeIfSpent = [&] {
        if (nNext >= m_segments.size() && !m_bClosed.exchange(true))
            ::shutdown(m_hPeer, SHUT_WR);
    };
    closeIfSpent();
    for (;;) {
        m_bIdle = true;
        const ssize_t nRead = ::read(m_hPeer, byBlock, sizeof byBlock);
        m_bIdle = false;
        if (nRead <= 0)
            return;
        if (m_bClosed)
            continue; // swallow what the program still sends
        const std::string& strAnswer = m_segments[nNext++];
        std::size_t nSent = 0;
        while (nSent < strAnswer.size()) {
            const ssize_t n = ::send(m_hPeer, strAnswer.data() + nSent, strAnswer.size() - nSent, MSG_NOSIGNAL);
            if (n <= 0)
                return;
            nSent += static_cast<std::size_t>(n);
        }
        closeIfSpent();
    }
}

// Called by the link between its waits: the program is waiting for bytes. If
// the peer has answered everything the program sent, none will come.
void CRecorderPeer::OnProgramWaiting()
{
    int nUnread = 0;
    if (m_bIdle && ::ioctl(m_hPeer, FIONREAD, &nUnread) == 0 && nUnread == 0 && !m_bClosed.exchange(true))
        ::shutdown(m_hPeer, SHUT_WR);
}
