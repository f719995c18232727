// A timed backup: every picture the recorder recorded from a start time to an
// end time, fetched one at a time and stored in an event folder of the picture
// store. The progress dialog runs it from its 20-ms timer and `vx2200ctl
// backup` from its loop; both see the same pictures, paths and bytes.
//
// Start fetches the picture at the start time (the recorder's J0) and makes the
// event folder; each Step then stores the picture in hand and fetches the next
// one (J1). The run ends with the first picture at or after the end time (it
// is still stored), when the recorder has no next picture, when a picture
// cannot be stored ("Backup Failed.") or when it is stopped.
#pragma once

#include "store/civiltime.h"
#include "store/picturestore.h"

#include <array>
#include <climits>
#include <cstdint>
#include <memory>
#include <string>

class CVXImage;

class CBackupRun {
public:
    static constexpr int STRING_RUNNING = 255;  // "Backup Recording to Host PC."
    static constexpr int STRING_FAILED = 265;   // "Backup Failed."
    static constexpr int STRING_FINISHED = 269; // "Backup Finsihed."
    // The bar once the run has stopped fetching.
    static constexpr int PROGRESS_ENDED = 99;
    static constexpr int RANGE = 100;

    // image: the picture object, whose test.jpg is copied into the store.
    // strBackupFolder: the folder chosen for the backup; the event folder is
    // that folder and the event name joined by one '/'.
    CBackupRun(CVXImage& image, const std::string& strBackupFolder, const std::string& strEventName,
               const CCivilTime& start, const CCivilTime& end);
    ~CBackupRun();
    CBackupRun(const CBackupRun&) = delete;
    CBackupRun& operator=(const CBackupRun&) = delete;

    // strFolder and strName joined by exactly one '/' ("/" and "E" give "/E").
    static std::string EventFolderOf(const std::string& strFolder, const std::string& strName);

    // Fetches the picture at the start time and, when it came, makes the event
    // folder (one level). False when the first picture could not be fetched:
    // the run has failed to start, nothing is stored.
    bool Start();
    // One tick: stores the picture in hand and fetches the next one.
    void Step();
    // The operator ends the run: the next Step fetches nothing more.
    void Stop() { m_bRunning = false; }

    bool FailedToStart() const { return m_bFailedToStart; }
    // Whether a Step has a picture in hand to store.
    bool IsFetching() const { return m_bFetchOk; }
    // Finished, failed or failed to start: "Please Wait.." goes and the button
    // reads "OK".
    bool IsOver() const { return m_bOver; }
    bool HasFailed() const { return m_nTextId == STRING_FAILED; }
    // The bar (0..100) and the text (a string id) as the last Step left them.
    int Progress() const { return m_nProgress; }
    int TextId() const { return m_nTextId; }

    const std::string& EventFolder() const { return m_strEventFolder; }
    const std::string& EventName() const { return m_strEventName; }
    int SavedCount() const { return m_nSaved; }
    // The recording times of the first and the last picture stored.
    const CCivilTime& FirstSaved() const { return m_firstSaved; }
    const CCivilTime& LastSaved() const { return m_lastSaved; }

private:
    using Info = std::array<std::uint8_t, CPictureStamp::INFO_SIZE>;

    void StorePicture(const CPictureStamp& stamp);
    void FetchNext();
    void Finish();
    void Fail();
    static bool SamePicture(const Info& a, const Info& b);

    CVXImage& m_image;
    std::string m_strEventName;
    std::string m_strEventFolder;
    CPictureStore m_store;
    CCivilTime m_start;
    CCivilTime m_end;
    long long m_nTotal = 0;         // end - start, in seconds
    long long m_nCurrent = LLONG_MIN; // the time of the picture in hand, once read
    std::unique_ptr<std::uint8_t[]> m_pFrame;
    Info m_info {};

    bool m_bRunning = true;
    bool m_bFetchOk = false;
    bool m_bFailedToStart = false;
    bool m_bOver = false;
    int m_nProgress = 0;
    int m_nTextId = STRING_RUNNING;
    int m_nSaved = 0;
    CCivilTime m_firstSaved;
    CCivilTime m_lastSaved;
};
