// The picture object: every recorder picture enters the program here. It asks
// the protocol object for a picture, keeps the JPEG bytes as test.jpg in the
// program folder, decodes that file into a recorder frame and reads the camera
// number the recorder stamps into the frame as a bar mark. It also loads stored
// picture files and cuts the visible area out of a frame.
//
// Nothing is allocated per picture: the JPEG buffer, the paths and the name
// buffer for the temporary file are made once, at construction.
#pragma once

#include "image/jpeg.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

class CVX2200Ctrl;

class CVXImage {
public:
    static constexpr int FRAME_WIDTH = 720;
    static constexpr int FRAME_HEIGHT = 248;
    static constexpr std::size_t FRAME_BYTES = CJpeg::FRAME_BYTES; // 535,680
    static constexpr int DISPLAY_WIDTH = 696;
    static constexpr int DISPLAY_HEIGHT = 232;
    static constexpr std::size_t DISPLAY_BYTES = std::size_t {DISPLAY_WIDTH} * DISPLAY_HEIGHT * 3;
    static constexpr int INFO_SIZE = 38;
    // Rows 4..9 of a frame carry the camera mark.
    static constexpr int MARK_TOP = 4;
    static constexpr int MARK_BOTTOM = 10; // exclusive
    static constexpr int MARK_LEVEL = 128;
    static constexpr int STRING_FILE_MISSING = 308;

    // pCtrl is the protocol object (not owned); strProgDir is the program
    // folder, to which a final '/' is added when it lacks one.
    CVXImage(CVX2200Ctrl* pCtrl, std::string strProgDir);
    ~CVXImage();
    CVXImage(const CVXImage&) = delete;
    CVXImage& operator=(const CVXImage&) = delete;

    // Fetches a picture: nCommand 0..6 moves the recorder's picture position
    // (0 to the time t1..t6: year - 2000, month, day, hour, minute, second),
    // then the information record and the JPEG bytes are read; the bytes become
    // test.jpg, which is decoded into pFrame (FRAME_BYTES, blue-green-red).
    // Byte 17 of pInfo becomes the camera code (0..15) read from the frame,
    // bytes 18..21 become 0. Returns 1, or 0 when the transfer failed, the
    // recorder announced no picture (size 0) or more than a buffer holds, or
    // decoding failed; then test.jpg and the last file size are left as they
    // were, so they always belong to the last picture fetched whole. When
    // test.jpg cannot be written, the first fetch shows string 308 +
    // "(CVXImage Warning)" and returns 0; until a write succeeds again, fetches
    // silently decode what test.jpg holds.
    int FetchPicture(std::uint8_t* pInfo, std::uint8_t* pFrame, int nCommand,
                     int t1 = 0, int t2 = 0, int t3 = 0, int t4 = 0, int t5 = 0, int t6 = 0);

    // Decodes a stored picture file into pFrame (FRAME_BYTES, blue-green-red).
    // Returns 1 or 0; the camera mark is not read.
    int LoadPictureFile(const std::string& strPath, std::uint8_t* pFrame, int& nWidth, int& nHeight);

    // Copies the visible area (columns 9..704, rows 17..247) of a frame into a
    // display picture (DISPLAY_BYTES); its 232nd row, which no frame row feeds,
    // is made black.
    static void CropVisible(std::uint8_t* pDest, const std::uint8_t* pSource);

    // Rows 4..9 of the frame: every byte becomes 255 above nLevel, else 0.
    static void ThresholdBand(std::uint8_t* pFrame, int nLevel = MARK_LEVEL);
    // The camera code (0..15) of a thresholded frame; 0 when the mark is
    // unreadable (the same as camera 1).
    static int ReadCameraMark(const std::uint8_t* pFrame);

    // The size of test.jpg after the last successful write.
    int GetLastFileSize() const { return m_nLastFileSize; }
    const std::string& GetTestFilePath() const { return m_strTestPath; }

private:
    int DecodeFrame(const std::string& strPath, std::uint8_t* pInfo, std::uint8_t* pFrame);
    bool WriteTempFile(std::size_t nLength);
    bool CommitTempFile(std::size_t nLength);

    CVX2200Ctrl* m_pCtrl;
    std::string m_strProgDir;
    std::string m_strTestPath;
    std::vector<char> m_tempTemplate; // "<folder>test.jpg.XXXXXX" with its 0
    std::vector<char> m_tempName;     // mkstemp's copy, filled per write
    std::string m_strTempPath;        // the same, as the decoder takes it
    CJpeg m_jpeg;
    std::unique_ptr<std::uint8_t[]> m_pJpegBuffer;
    int m_nLastFileSize = 0;
    bool m_bWarned = false;
};
