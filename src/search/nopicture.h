// "nopicture.jpg", the picture the search page shows for a thumbnail whose
// camera was not found: the program's own, a recorder-sized frame (720 x 248,
// a half-height field like the recorder's) that reads "NO PICTURE". The page
// puts it into the program folder when it is missing there.
#pragma once

#include <QImage>

#include <string>

class CNoPicture {
public:
    static constexpr int WIDTH = 720;
    static constexpr int HEIGHT = 248;

    // The picture as it is stored.
    static QImage Render();
    // Writes it to strPath (atomically) unless something is there already.
    // True when the file is there afterwards.
    static bool EnsureFile(const std::string& strPath);
};
