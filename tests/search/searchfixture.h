// The search page against the recorder simulator: an application object with a
// temporary program folder, connected to an in-process simulator whose clock
// starts at 2004-01-23 13:30:00 after five hours of recording (08:30 to 13:30,
// one picture a second, the cameras in turn), and the page, shown, with its
// timer stopped so that tests step its tick.
#pragma once

#include "app/vx2200net.h"
#include "fixtures/scriptedprompter.h"
#include "fixtures/tempdir.h"
#include "platform/stringtable.h"
#include "search/searchdlg.h"
#include "sim/recordersim.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

class QAbstractButton;

class SearchTest : public ::testing::Test {
protected:
    ~SearchTest() override;

    void SetUp() override { Open(Language::English); }

    // (Re)starts the simulator with nCameras cameras and nMinutes of recording,
    // and (re)creates the application object and the page in a language.
    void Open(Language language, int nCameras = 16, int nMinutes = 300);

    CSearchDlg& Page() { return *m_pPage; }
    QAbstractButton* Button(int nId) const;
    bool Visible(int nId) const;
    void Click(int nId);
    void Tick(int nCount = 1);
    // Ticks until the search is idle, at most nLimit ticks; the ticks taken.
    int RunSearch(int nLimit = 100);
    // The time fields (hour and minute as typed), the interval index and the
    // camera index (0 all).
    void SetFields(const QString& strHour, const QString& strMinute, int nInterval = 5, int nCamera = 0);

    // The codes the recorder received since the trace was cleared ("J0", "JU",
    // "BTQT"; "05" for a chunk request).
    std::vector<std::string> ReceivedCodes() const;
    int CountReceived(const std::string& strCode) const;

    CTempDir m_dir;
    std::unique_ptr<CRecorderSim> m_pSim;
    CScriptedPrompter m_prompter;
    std::unique_ptr<CVX2200NETApp> m_pApp;
    std::unique_ptr<CSearchDlg> m_pPage;
};

// The recorded picture taken at hh:mm:ss of the recording day, frame 0.
CSimRecording::Picture PictureAt(CRecorderSim& sim, int nHour, int nMinute, int nSecond);
