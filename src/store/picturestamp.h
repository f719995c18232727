// When and by which camera a recorded picture was taken, read from its 38-byte
// picture information record, and the names it is stored under:
//   camera folder  "%02d" of the camera number (1..16)
//   date folder    "%d_%02d_%02d"
//   hour, minute, second folders "%02d"
//   picture file   "%d%02d%02d%02d%02d%02d%02d.jpg" (date, time, frame number)
#pragma once

#include <cstddef>
#include <optional>
#include <string>

struct CPictureStamp {
    static constexpr std::size_t INFO_SIZE = 38;
    static constexpr std::size_t TIME_OFFSET = 5;    // YYMMDDhhmmss, ASCII digits
    static constexpr std::size_t CAMERA_OFFSET = 17; // camera number minus one
    static constexpr std::size_t FRAME_OFFSET = 32;  // two ASCII digits
    static constexpr int MAX_CAMERA_CODE = 15;

    int nYear = 2000; // 2000..2099
    int nMonth = 1;
    int nDay = 1;
    int nHour = 0;
    int nMinute = 0;
    int nSecond = 0;
    int nFrame = 0;   // 0..99: the pictures taken within one second
    int nCamera = 1;  // 1..16

    // The stamp of a record of nSize bytes; nothing when the record is short,
    // a time or frame byte is not a digit, a value is out of range (month
    // 1..12, day 1..31, hour 0..23, minute and second 0..59) or the camera code
    // is above 15. Such a record never becomes a path.
    static std::optional<CPictureStamp> FromInfo(const unsigned char* pInfo, std::size_t nSize);

    std::string CameraFolderName() const; // "03"
    std::string DateFolderName() const;   // "2004_01_23"
    std::string SecondFolderPath() const; // "03/2004_01_23/13/45/20", relative to the event folder
    std::string FileName() const;         // "2004012313452007.jpg"
    std::string RelativePath() const;     // SecondFolderPath() + "/" + FileName()

    bool operator==(const CPictureStamp&) const = default;
};
