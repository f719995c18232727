// The one TCP connection between the program and the recorder.
//
// Sends and receives block the calling (user-interface) thread. While they
// wait, the socket polls in short slices and serves only painting between them
// (ServePaint), so no timer or input handler can start a second exchange.
// Every wait is bounded: a receive by one second, a send and a connect by their
// own limits below.
//
// A link that breaks (connection aborted or reset, socket not connected, broken
// pipe) starts the reconnection sequence: confirmation mode 8 "Network
// disconnected. Reconnect it?", then on failure mode 26 and three more
// attempts, and notice mode 27 when they fail too. Declining or failing ends in
// the quit request. The socket knows nothing of the application: the address
// to reconnect to, the quit request and whether to ask at all are handed in.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

struct VXAddress {
    std::string strIP; // dotted decimal
    int nPort = 0;
};

class CVXSocket {
public:
    static constexpr int RECEIVE_LIMIT_MS = 1000;
    static constexpr int SEND_LIMIT_MS = 5000;
    static constexpr int DEFAULT_CONNECT_LIMIT_MS = 5000;
    static constexpr int SLICE_MS = 10;
    static constexpr int RETRY_COUNT = 3; // attempts after "Reconnect" in mode 26

    static constexpr int MODE_RECONNECT = 8;
    static constexpr int MODE_RECONNECT_AGAIN = 26;
    static constexpr int MODE_RECONNECT_FAILED = 27;

    // The recorder to reconnect to, read when a reconnection needs it; nothing
    // when no address-book entry is connected (the attempt then fails).
    using TargetFn = std::function<std::optional<VXAddress>()>;
    // Asks the program to end (called at most once).
    using QuitFn = std::function<void()>;

    CVXSocket() = default;
    ~CVXSocket();
    CVXSocket(const CVXSocket&) = delete;
    CVXSocket& operator=(const CVXSocket&) = delete;

    // A new stream socket (an open one is closed first). False on failure, with
    // the error in GetLastError().
    bool Create();
    // Connects the created socket to a dotted IPv4 address and port, waiting at
    // most the connect limit. False on failure, with the errno value in
    // GetLastError() (EINVAL for a bad address or port, ETIMEDOUT when the limit
    // ran out). The socket stays created, but not connected.
    bool Connect(const std::string& strIP, int nPort);
    void Close();
    // Takes over a stream socket that is already connected (one end of a socket
    // pair, made by a test or a fuzzer playing the recorder); it is closed with
    // the connection. False, with the descriptor closed, when it cannot be used.
    bool Adopt(int hConnected);
    bool IsCreated() const { return m_hSocket >= 0; }
    // The peer's address and port; false when there is no connected peer.
    bool GetPeerName(std::string& strIP, int& nPort) const;
    int GetLastError() const { return m_nLastError; }
    int GetHandle() const { return m_hSocket; }

    // Sends nLength bytes. Returns nLength when they were handed to the
    // connection (or when a reconnection sequence already running, or ending
    // with the quit request, swallows them), -1 when sending failed.
    int SendData(const void* pData, int nLength);
    // Receives exactly nLength bytes within one second. Returns nLength when
    // they arrived; -1 on a timeout, a peer that closed the connection, or a
    // failure. After a reconnection sequence it returns nLength with the buffer
    // as it was: nothing of the interrupted exchange is delivered.
    int ReceiveData(void* pBuffer, int nLength);
    // Throws away bytes that are already waiting (a late answer to an exchange
    // that has been given up), without waiting.
    void DiscardPending();

    void SetReconnectTarget(TargetFn fnTarget) { m_fnTarget = std::move(fnTarget); }
    void SetQuitRequest(QuitFn fnQuit) { m_fnQuit = std::move(fnQuit); }
    // Off: a broken link is an ordinary failure (-1), nothing is asked.
    void SetAskToReconnect(bool bAsk) { m_bAsk = bAsk; }
    void SetConnectLimit(int nMilliseconds) { m_nConnectLimitMs = nMilliseconds; }
    // The slice a connected receive blocks for between paint calls (1..SLICE_MS;
    // taken at the next connect). Only a fuzzer playing the recorder shortens it.
    void SetReceiveSlice(int nMilliseconds) { m_nReceiveSliceMs = nMilliseconds < 1 ? 1 : (nMilliseconds > SLICE_MS ? SLICE_MS : nMilliseconds); }

    static bool IsLinkLost(int nError);

    // Set while a reconnection sequence runs, and for good once the quit request
    // has been made.
    int m_bReconnecting = 0;

private:
    bool UseSlicedReceives();
    int SendAll(const unsigned char* pData, int nLength);
    int ReceiveAll(unsigned char* pBuffer, int nLength);
    int TakeReadAhead(unsigned char* pBuffer, int nLength);
    bool WaitFor(short nEvents, int nMilliseconds);
    bool RunReconnection();
    bool RetryAfterQuestion(const std::function<bool()>& fnAttempt);
    bool ConnectToTarget();
    void RequestQuit();

    static constexpr int READ_AHEAD_SIZE = 2048;

    int m_hSocket = -1;
    std::vector<unsigned char> m_readAhead; // received, not yet asked for
    std::vector<unsigned char> m_receiveBuffer; // a whole answer before it is handed over
    bool m_bSliced = false; // connected: receives block for one slice at most
    // The recorder closed this connection (a receive met its end): it will
    // never answer on it again, so the next send counts as a lost link even
    // when the stack has not yet said so.
    bool m_bPeerClosed = false;
    int m_nLastError = 0;
    bool m_bAsk = true;
    bool m_bQuitRequested = false;
    int m_nConnectLimitMs = DEFAULT_CONNECT_LIMIT_MS;
    int m_nReceiveSliceMs = SLICE_MS;
    TargetFn m_fnTarget;
    QuitFn m_fnQuit;
};
