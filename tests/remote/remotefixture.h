// The remote page against the recorder simulator: an application object with a
// temporary program folder, connected to an in-process simulator whose clock
// starts at 2004-03-15 08:05:00, the page shown with its own timer stopped (tests
// step its tick), the scripted prompter and the wait recorder.
#pragma once

#include "app/vx2200net.h"
#include "fixtures/scriptedprompter.h"
#include "fixtures/tempdir.h"
#include "fixtures/waitrecorder.h"
#include "platform/stringtable.h"
#include "remote/controldlg.h"
#include "sim/recordersim.h"

#include <gtest/gtest.h>

#include <QColor>

#include <array>
#include <memory>
#include <string>
#include <vector>

class CMenuPage;
class QComboBox;

class RemoteTest : public ::testing::Test {
protected:
    RemoteTest();
    ~RemoteTest() override;

    void SetUp() override;

    // (Re)creates the application object and the page in a language and
    // connects to the simulator.
    void Open(Language language);

    CControlDlg& Page() { return *m_pPage; }
    void Tick(int nCount = 1);
    // The recorder's state, then one poll that gives the page the same copy.
    void SetStatus(const std::array<int, 4>& nStatus);
    void Click(int nId);
    void Click(QWidget* pParent, int nId);
    QColor Face(int nId) const;

    // Menu-setting mode with the recorder off (nothing is asked) and the
    // trace cleared, on setting page nPage.
    void EnterMenuMode(int nPage);
    CMenuPage* SettingPage(int nPage) const;
    QComboBox* Combo(int nPage, int nId) const;

    // The codes of the frames the recorder received since the trace was
    // cleared: "BTQT", "MVPM", "MSRQ" ...
    std::vector<std::string> ReceivedCodes() const;
    // The parameter bytes of every frame received with that code, in order.
    std::vector<std::string> Parameters(const std::string& strCode) const;

    CTempDir m_dir;
    CRecorderSim m_sim;
    CScriptedPrompter m_prompter;
    CWaitRecorder m_waits;
    std::unique_ptr<CVX2200NETApp> m_pApp;
    std::unique_ptr<CControlDlg> m_pPage;
};

// One byte as a parameter string.
std::string Byte(int n);
