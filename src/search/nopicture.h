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
    // Puts it at strPath (atomically) unless something is there already: the
    // installed copy from strSharedFolder when there is one, else drawn here.
    // True when the file is there afterwards.
    static bool EnsureFile(const std::string& strPath, const std::string& strSharedFolder = SharedFolder());
    // Where the package installs nopicture.jpg: share/vx2200net/ beside the
    // program's bin/ folder (/usr/share/vx2200net/ for /usr/bin/vx2200net).
    static std::string SharedFolder();
    // Writes the drawn picture as a JPEG file.
    static bool WriteFile(const std::string& strPath);
};
