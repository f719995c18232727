// The program's own pictures, drawn with QPainter: the program icon and the
// two pictures of the confirmation dialog.
#pragma once

#include <QIcon>
#include <QPixmap>

class CArtwork {
public:
    static QIcon ProgramIcon();
    static QPixmap ProgramPixmap(int nSize);
    // A yellow triangle with an exclamation mark.
    static QPixmap WarningPicture();
    // A speech balloon with a letter i.
    static QPixmap InformationPicture();

    static constexpr int PICTURE_SIZE = 48;
};
