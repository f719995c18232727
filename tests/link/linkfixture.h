// A connected link for tests: the recorder simulator on a loopback port, a
// CVX2200Ctrl connected to it that reconnects to the same port, a scripted
// prompter and a wait recorder.
#pragma once

#include "fixtures/scriptedprompter.h"
#include "fixtures/waitrecorder.h"
#include "link/vx2200ctrl.h"
#include "sim/recordersim.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

// "A0 05 42" -> the bytes.
std::string Bytes(const std::string& strHex);

// One exchange, its status and every block it puts on the wire.
struct WireCase {
    const char* pszName;
    std::function<int()> fnRun;
    int nStatus;
    std::vector<std::string> wire;
};

class CLinkTest : public ::testing::Test {
protected:
    // Runs each case from a clear trace: its status (returned and in
    // m_nResult) and its wire, in order.
    template <std::size_t N>
    void CheckWire(const WireCase (&cases)[N])
    {
        for (const WireCase& c : cases) {
            m_sim.ClearTrace();
            EXPECT_EQ(c.fnRun(), c.nStatus) << c.pszName;
            EXPECT_EQ(m_ctrl.m_nResult, c.nStatus) << c.pszName;
            EXPECT_EQ(Wire(), c.wire) << c.pszName;
        }
    }

    CLinkTest();
    void SetUp() override;

    // The frames the recorder received, in hex, in order.
    std::vector<std::string> Received() const;
    // Every block the recorder received or sent, "<- A0 .." or "-> 06".
    std::vector<std::string> Wire() const;
    // The code letters of every frame the recorder received.
    std::vector<std::string> ReceivedCodes() const;

    static SimDateTime At(int nYear, int nMonth, int nDay, int nHour, int nMinute, int nSecond);

    CRecorderSim m_sim;
    CVX2200Ctrl m_ctrl;
    CScriptedPrompter m_prompter;
    CWaitRecorder m_waits;
    int m_nQuits = 0;
};
