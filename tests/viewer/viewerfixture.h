// The viewer page against the recorder simulator: an application object with a
// temporary program folder, connected to an in-process simulator whose clock
// starts at 2004-01-23 12:34:56 (its recorded hour ends one second before),
// and the page, whose own timer is stopped so that tests step its tick.
#pragma once

#include "app/vx2200net.h"
#include "fixtures/scriptedprompter.h"
#include "fixtures/tempdir.h"
#include "widgets/bmputy.h"
#include "platform/stringtable.h"
#include "sim/recordersim.h"
#include "viewer/viewerdlg.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

class QAbstractButton;

class ViewerTest : public ::testing::Test {
protected:
    ViewerTest();
    ~ViewerTest() override;

    void SetUp() override;

    // (Re)creates the application object and the page in a language and
    // connects to the simulator.
    void Open(Language language);

    CViewerDlg& Page() { return *m_pPage; }
    QAbstractButton* Button(int nId) const;
    void Click(int nId);
    void Tick(int nCount = 1);
    // STOP (which sends nothing) and a tick: the page polls the status now.
    void Poll();
    // Moves the recorder to the first picture of its recorded hour (camera 1,
    // 11:34:56); it starts on the newest.
    void GoToRecordingStart();
    // The recorder records (at REC INTERVAL nInterval) or not.
    void SetRecording(bool bRecording, int nInterval = 7);

    // The codes of the frames the recorder received since the trace was
    // cleared: "J6", "JU", "BTQT", "MVRI"; "05" for a chunk request.
    std::vector<std::string> ReceivedCodes() const;
    int CountReceived(const std::string& strCode) const;
    // The picture the recorder's position is on now.
    CSimRecording::Picture PictureAtPosition();

    CTempDir m_dir;
    CRecorderSim m_sim;
    CScriptedPrompter m_prompter;
    std::unique_ptr<CVX2200NETApp> m_pApp;
    std::unique_ptr<CViewerDlg> m_pPage;
};

// The camera (1..16) whose picture a drawing shows at a place of the picture
// that holds only the camera's background colour; 0 when it shows none (white,
// a grid line, or another colour).
int CameraAt(const QImage& surface, int x, int y);
// The camera shown in each cell of a split, row by row, for a drawing made with
// the given cell table.
std::vector<int> CellCameras(const CBmpUty& bmp, int nSplit, CViewerDlg::CellRectFn fnRect);
// A recorder picture of camera nCamera, as the simulator makes them, as JPEG
// bytes; with bBlankMark its camera mark band is black (unreadable).
std::string CameraJpeg(int nCamera, bool bBlankMark);
