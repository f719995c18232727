#include "link/linkfixture.h"

#include <sstream>

std::string Bytes(const std::string& strHex)
{
    std::istringstream in(strHex);
    std::string strByte;
    std::string strBytes;
    while (in >> strByte)
        strBytes += static_cast<char>(std::stoi(strByte, nullptr, 16));
    return strBytes;
}

namespace {

CRecorderSim::Options TestOptions()
{
    CRecorderSim::Options options;
    options.start = SimDateTime {2004, 3, 15, 8, 5, 0};
    return options;
}

} // namespace

CLinkTest::CLinkTest() : m_sim(TestOptions())
{
}

void CLinkTest::SetUp()
{
    ASSERT_TRUE(m_sim.Start());
    const int nPort = m_sim.Port();
    m_ctrl.SetReconnectTarget([nPort] { return std::optional<VXAddress>(VXAddress {"127.0.0.1", nPort}); });
    m_ctrl.SetQuitRequest([this] { ++m_nQuits; });
    ASSERT_EQ(m_ctrl.Connect("127.0.0.1", nPort), 0);
}

std::vector<std::string> CLinkTest::Received() const
{
    std::vector<std::string> frames;
    for (const SimTraceEntry& e : m_sim.Trace()) {
        if (e.IsReceived())
            frames.push_back(e.Hex());
    }
    return frames;
}

std::vector<std::string> CLinkTest::Wire() const
{
    std::vector<std::string> blocks;
    for (const SimTraceEntry& e : m_sim.Trace())
        blocks.push_back((e.IsReceived() ? "<- " : "-> ") + e.Hex());
    return blocks;
}

std::vector<std::string> CLinkTest::ReceivedCodes() const
{
    std::vector<std::string> codes;
    for (const SimTraceEntry& e : m_sim.Trace()) {
        if (e.IsReceived() && e.strBytes.size() >= 6)
            codes.push_back(e.strBytes.substr(2, 4));
    }
    return codes;
}

SimDateTime CLinkTest::At(int nYear, int nMonth, int nDay, int nHour, int nMinute, int nSecond)
{
    return SimDateTime {nYear, nMonth, nDay, nHour, nMinute, nSecond};
}
