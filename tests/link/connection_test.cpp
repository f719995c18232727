// Connecting, the socket's waits and limits, and the connection primitives.
#include "link/linkfixture.h"
#include "platform/painthook.h"

#include <arpa/inet.h>
#include <cerrno>
#include <chrono>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <thread>
#include <unistd.h>

namespace {

using Clock = std::chrono::steady_clock;

double SecondsSince(Clock::time_point t0)
{
    return std::chrono::duration<double>(Clock::now() - t0).count();
}

// A loopback listener of the test's own, for what the simulator does not do:
// answers that arrive in pieces, and connects that never complete.
class CTestPeer {
public:
    explicit CTestPeer(int nBacklog = 1)
    {
        m_hListen = ::socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in addr {};
        addr.sin_family = AF_INET;
        addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t nSize = sizeof addr;
        ::bind(m_hListen, reinterpret_cast<sockaddr*>(&addr), sizeof addr);
        ::listen(m_hListen, nBacklog);
        ::getsockname(m_hListen, reinterpret_cast<sockaddr*>(&addr), &nSize);
        m_nPort = ntohs(addr.sin_port);
    }
    ~CTestPeer()
    {
        if (m_thread.joinable())
            m_thread.join();
        for (const int h : m_hOpen)
            ::close(h);
        ::close(m_hListen);
    }
    CTestPeer(const CTestPeer&) = delete;
    CTestPeer& operator=(const CTestPeer&) = delete;

    int Port() const { return m_nPort; }

    // Accepts one client and sends it strBytes in nPieces pieces, a little
    // apart; the connection stays open until the peer ends.
    void SendInPieces(const std::string& strBytes, int nPieces)
    {
        m_thread = std::thread([this, strBytes, nPieces] {
            const int h = ::accept(m_hListen, nullptr, nullptr);
            m_hOpen.push_back(h);
            const std::size_t nPiece = strBytes.size() / static_cast<std::size_t>(nPieces);
            for (std::size_t nSent = 0; nSent < strBytes.size(); nSent += nPiece) {
                std::this_thread::sleep_for(std::chrono::milliseconds(20));
                ::send(h, strBytes.data() + nSent, std::min(nPiece, strBytes.size() - nSent), MSG_NOSIGNAL);
            }
        });
    }

    // Accepts one client and sends it strBytes one byte at a time, nPauseMs
    // apart, until all are sent or the client has gone.
    void Trickle(const std::string& strBytes, int nPauseMs)
    {
        m_thread = std::thread([this, strBytes, nPauseMs] {
            const int h = ::accept(m_hListen, nullptr, nullptr);
            m_hOpen.push_back(h);
            for (const char ch : strBytes) {
                if (::send(h, &ch, 1, MSG_NOSIGNAL) != 1)
                    break;
                std::this_thread::sleep_for(std::chrono::milliseconds(nPauseMs));
            }
        });
    }

    // Accepts one client and stops sending to it, but keeps the connection
    // open and reads nothing: a recorder that hung up halfway, whose side
    // takes the client's bytes without a reset.
    void HangUpHalfway()
    {
        m_thread = std::thread([this] {
            const int h = ::accept(m_hListen, nullptr, nullptr);
            m_hOpen.push_back(h);
            ::shutdown(h, SHUT_WR);
        });
    }

    // Fills the listener's queue with a connection nobody accepts.
    void FillQueue()
    {
        const int h = ::socket(AF_INET, SOCK_STREAM | SOCK_NONBLOCK, 0);
        sockaddr_in addr {};
        addr.sin_family = AF_INET;
        addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        addr.sin_port = htons(static_cast<std::uint16_t>(m_nPort));
        ::connect(h, reinterpret_cast<sockaddr*>(&addr), sizeof addr);
        m_hOpen.push_back(h);
    }

private:
    int m_hListen = -1;
    int m_nPort = 0;
    std::vector<int> m_hOpen;
    std::thread m_thread;
};

// A port on which nothing listens.
int ClosedPort()
{
    CTestPeer peer;
    return peer.Port();
}

} // namespace

TEST(VXSocket, AnswerArrivingInPiecesIsDeliveredWhole)
{
    std::string strAnswer(1024, '\0');
    for (std::size_t i = 0; i < strAnswer.size(); ++i)
        strAnswer[i] = static_cast<char>(i * 7);
    CTestPeer peer;
    peer.SendInPieces(strAnswer, 8);
    CVXSocket socket;
    ASSERT_TRUE(socket.Create());
    ASSERT_TRUE(socket.Connect("127.0.0.1", peer.Port()));
    std::string strGot(1024, 'x');
    EXPECT_EQ(socket.ReceiveData(strGot.data(), 1024), 1024);
    EXPECT_EQ(strGot, strAnswer);
}

TEST(VXSocket, ReceiveLimitEndsTheWaitServingOnlyPaint)
{
    CTestPeer peer;
    peer.SendInPieces("abc", 1); // 3 of the 8 bytes asked for
    CVXSocket socket;
    ASSERT_TRUE(socket.Create());
    ASSERT_TRUE(socket.Connect("127.0.0.1", peer.Port()));
    int nPaints = 0;
    const PaintHook previous = SetPaintHook([&nPaints] { ++nPaints; });
    std::string strBuffer = "unchanged";
    const auto t0 = Clock::now();
    EXPECT_EQ(socket.ReceiveData(strBuffer.data(), 8), -1);
    const double dSeconds = SecondsSince(t0);
    SetPaintHook(previous);
    EXPECT_GE(dSeconds, 0.95);
    EXPECT_LT(dSeconds, 5.0);
    EXPECT_GT(nPaints, 0);
    EXPECT_EQ(strBuffer, "unchanged");
    EXPECT_EQ(socket.GetLastError(), ETIMEDOUT);
}

// 1024 bytes at a byte every 5 ms take five seconds: the receive gives up at
// its one-second limit however steadily the bytes come.
TEST(VXSocket, TricklingPeerCannotStretchAReceivePastItsLimit)
{
    CTestPeer peer;
    peer.Trickle(std::string(1024, 'x'), 5);
    CVXSocket socket;
    ASSERT_TRUE(socket.Create());
    ASSERT_TRUE(socket.Connect("127.0.0.1", peer.Port()));
    std::string strBuffer(1024, '\0');
    const auto t0 = Clock::now();
    EXPECT_EQ(socket.ReceiveData(strBuffer.data(), 1024), -1);
    EXPECT_EQ(socket.GetLastError(), ETIMEDOUT);
    EXPECT_LT(SecondsSince(t0), 4.0);
    EXPECT_EQ(strBuffer, std::string(1024, '\0'));
    socket.Close(); // the peer stops at its next byte
}

TEST(VXSocket, ConnectThatNeverCompletesEndsAtItsLimit)
{
    CTestPeer peer(0);
    peer.FillQueue();
    CVX2200Ctrl ctrl;
    ctrl.Socket().SetConnectLimit(300);
    const auto t0 = Clock::now();
    const int nStatus = ctrl.Connect("127.0.0.1", peer.Port());
    EXPECT_LT(SecondsSince(t0), 5.0);
    EXPECT_EQ(nStatus, 3);
    EXPECT_EQ(ctrl.IsConnected(), 0);
}

TEST(Connect, FailuresGiveTheirStatusEvenAfterASuccess)
{
    CRecorderSim sim;
    ASSERT_TRUE(sim.Start());
    CVX2200Ctrl ctrl;
    ASSERT_EQ(ctrl.Connect("127.0.0.1", sim.Port()), 0);
    ctrl.Disconnect();
    EXPECT_EQ(ctrl.Connect("127.0.0.1", ClosedPort()), 3); // refused
    EXPECT_EQ(ctrl.Connect("192.168.1", sim.Port()), 3);   // not an address
    EXPECT_EQ(ctrl.Connect("127.0.0.1", 70000), 3);
    EXPECT_EQ(ctrl.IsConnected(), 0);
}

TEST(Connect, ErrorsMapToTheirStatusAndUnknownOnesToThree)
{
    const struct {
        int nError;
        int nStatus;
    } cases[] = {
        {EMFILE, 1}, {ENOBUFS, 1}, {ENOTSOCK, 1}, {EDESTADDRREQ, 2}, {ECONNREFUSED, 3}, {ETIMEDOUT, 3},
        {ENETUNREACH, 3}, {EACCES, 3}, {EPERM, 3}, {0, 3},
    };
    for (const auto& c : cases)
        EXPECT_EQ(CVX2200Ctrl::MapConnectError(c.nError), c.nStatus) << "errno " << c.nError;
}

class ConnectionTest : public CLinkTest {};

TEST_F(ConnectionTest, ConnectWhileConnectedKeepsTheConnection)
{
    EXPECT_EQ(m_ctrl.Connect("127.0.0.1", m_sim.Port()), 1);
    EXPECT_EQ(m_ctrl.IsConnected(), 1);
    int nValue = 0;
    EXPECT_EQ(m_ctrl.GetRI(nValue), 0);
    EXPECT_EQ(m_sim.ConnectionCount(), 1);
    std::string strIP;
    int nPort = 0;
    m_ctrl.GetPeer(strIP, nPort);
    EXPECT_EQ(strIP, "127.0.0.1");
    EXPECT_EQ(nPort, m_sim.Port());
}

TEST_F(ConnectionTest, AfterDisconnectExchangesFailWithoutAQuestion)
{
    m_ctrl.Disconnect();
    EXPECT_EQ(m_ctrl.IsConnected(), 0);
    std::string strIP = "x";
    int nPort = 1;
    m_ctrl.GetPeer(strIP, nPort);
    EXPECT_EQ(strIP, "");
    EXPECT_EQ(nPort, 0);
    std::array<int, 4> status {};
    EXPECT_EQ(m_ctrl.QueryStatus(status), 3);
    EXPECT_EQ(m_ctrl.SendKey(2), 3);
    EXPECT_TRUE(m_prompter.Asks().empty());
}

// A failed connect leaves a socket that is not connected: the next exchange
// runs into the lost-link handling, which reconnects to the entry's recorder.
TEST_F(ConnectionTest, ExchangeAfterAFailedConnectAsksToReconnect)
{
    m_ctrl.Disconnect();
    ASSERT_EQ(m_ctrl.Connect("127.0.0.1", ClosedPort()), 3);
    m_prompter.Answer(1);
    EXPECT_EQ(m_ctrl.SendKey(2), 0);
    EXPECT_EQ(m_prompter.ConfirmModes(), std::vector<int> {8});
    EXPECT_EQ(ReceivedCodes(), std::vector<std::string> {"BTPL"});
}

// Whether or not the stack reports it, a recorder that closed the connection
// never answers on it again: the receive that meets the end fails without a
// question, and the next exchange asks to reconnect instead of sending into
// the closed connection for ever.
TEST_F(ConnectionTest, RecorderThatHungUpIsReconnectedAtTheNextExchange)
{
    CTestPeer peer;
    peer.HangUpHalfway();
    m_ctrl.Disconnect();
    ASSERT_EQ(m_ctrl.Connect("127.0.0.1", peer.Port()), 0);
    pollfd pfd {m_ctrl.Socket().GetHandle(), POLLIN, 0};
    ASSERT_EQ(::poll(&pfd, 1, 5000), 1); // the end has arrived
    m_prompter.Answer(1);
    EXPECT_EQ(m_ctrl.SendKey(2), 3);
    EXPECT_TRUE(m_prompter.Asks().empty());
    EXPECT_EQ(m_ctrl.SendKey(2), 0);
    EXPECT_EQ(m_prompter.ConfirmModes(), std::vector<int> {8});
    EXPECT_EQ(ReceivedCodes(), std::vector<std::string> {"BTPL"});
}
