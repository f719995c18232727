// Saving to the PC against the recorder simulator: an application object with
// a temporary program folder, connected to an in-process simulator whose clock
// starts at 2004-01-23 10:30:00 and whose recorded hour (09:30:00 to 10:29:59)
// holds its 16 cameras in turn at the REC INTERVAL the fixture is made with.
#pragma once

#include "app/vx2200net.h"
#include "fixtures/scriptedprompter.h"
#include "fixtures/tempdir.h"
#include "sim/recordersim.h"
#include "store/civiltime.h"

#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <string>

class BackupTest : public ::testing::Test {
protected:
    // REC INTERVAL settings of the simulator.
    static constexpr int INTERVAL_500_MS = 6;
    static constexpr int INTERVAL_10_S = 11;

    explicit BackupTest(int nRecInterval = INTERVAL_10_S);
    ~BackupTest() override;

    void SetUp() override;

    // 2004-01-23 at a time of day.
    static CCivilTime At(int nHour, int nMinute, int nSecond = 0) { return {2004, 1, 23, nHour, nMinute, nSecond}; }

    // The pictures a backup from start to end takes from the recorder: those
    // from the start time to before the end time and the first one at or after
    // it, named as the store names them (camera/date/hour/minute/second/file),
    // with their JPEG bytes.
    std::map<std::string, std::string> BackedUpPictures(const CCivilTime& start, const CCivilTime& end);
    // The pictures below an event folder: path below it and bytes; any other
    // file (a temporary one) is listed with the bytes "?".
    static std::map<std::string, std::string> StoredPictures(const std::string& strEventFolder);
    // The same names with the same bytes; a difference is named, not dumped.
    static void ExpectSamePictures(const std::map<std::string, std::string>& actual,
                                   const std::map<std::string, std::string>& expected);
    // Uploads (JU) the recorder received since the trace was cleared.
    int CountUploads() const;

    CTempDir m_dir;
    CRecorderSim m_sim;
    CScriptedPrompter m_prompter;
    std::unique_ptr<CVX2200NETApp> m_pApp;
};
