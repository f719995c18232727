// The checks the save-to-PC dialog makes before a backup, shared with
// `vx2200ctl backup`: the event name against the event database, the folder
// (its drive and length), the name's characters and the time range. Each
// refusal is a confirmation mode; StringIdOfMode gives its text.
#pragma once

#include <cstddef>
#include <string>

class CDriveInfo;
class CFileDBase;
struct CCivilTime;

class CSaveCheck {
public:
    // ValidatePath's answers.
    enum PathCode {
        PATH_OK = 0,
        PATH_INVALID_DRIVE = 1,
        PATH_INVALID_PATH = 2,
        PATH_EMPTY = 3,
        PATH_TOO_LONG = 4,
        PATH_NAME_TAKEN = 5,
    };
    // Confirmation modes of the refusals.
    enum Mode {
        MODE_TIME = 16,         // "There is an error in search option."
        MODE_BAD_NAME = 24,     // "Invalid Event Name..... ..."
        MODE_NO_NAME = 25,      // "Please Specify Event Name."
        MODE_INVALID_PATH = 29, // "Invalid Path."
        MODE_INVALID_DRIVE = 30,// "Invalid Drive."
        MODE_COUNT = 31,        // "Allowable Number of Images to Record is from 1 to 10000 images."
        MODE_NO_PATH = 34,      // "Please Specify Recording Path."
        MODE_TOO_LONG = 37,     // "Exceeds Maximum Allowable Path."
        MODE_NAME_TAKEN = 38,   // "Event Already Exists."
        MODE_NO_COUNT = 39,     // "Please Specify Recording Image Count."
    };
    // The folder, the name and the levels a picture adds below the event
    // folder must stay below this many characters.
    static constexpr std::size_t MAX_PATH_CHARS = 100;
    static constexpr std::size_t STORE_LEVEL_CHARS = 24;
    static constexpr int MIN_COUNT = 1;
    static constexpr int MAX_COUNT = 10000;

    // In order: the name is taken in the database (5; without a database every
    // name is free); the folder is empty (3);
    // folder and name are too long (4): characters (folder + name + 24 not
    // below 100), or bytes (the event folder past the database's 259 bytes,
    // the name past its 255); the folder's drive: a relative path (2), an
    // optical, read-only or pseudo file system or none (1); else 0.
    static int ValidatePath(CFileDBase* pDb, const CDriveInfo& drives, const std::string& strFolder,
                            const std::string& strName);
    // The confirmation mode of a ValidatePath code; 0 for PATH_OK.
    static int PathMode(int nCode);

    // Empty, or nothing but spaces.
    static bool IsBlankName(const std::string& strName);
    // A name that is no single folder name of its own: a space, \ / : * ? " <
    // > |, a full stop (so "." and ".." too) or a control character.
    static bool IsBadName(const std::string& strName);
    // Start strictly before end.
    static bool IsTimeRange(const CCivilTime& start, const CCivilTime& end);

    // Characters of a UTF-8 text (bytes that do not continue a sequence).
    static std::size_t CharCount(const std::string& strText);
    // The string resource of a refusal mode; 0 for another mode.
    static int StringIdOfMode(int nMode);
};
