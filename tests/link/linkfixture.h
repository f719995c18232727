// A connected link for tests: the recorder simulator on a loopback port, a
// CVX2200Ctrl connected to it that reconnects to the same port, a scripted
// prompter and a wait recorder.
#pragma once

#include "fixtures/scriptedprompter.h"
#include "fixtures/waitrecorder.h"
#include "link/vx2200ctrl.h"
#include "sim/recordersim.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

// "A0 05 42" -> the bytes.
std::string Bytes(const std::string& strHex);

class CLinkTest : public ::testing::Test {
protected:
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
