// vx2200icon: writes the package's artwork, the project's own, into a folder:
//   FOLDER/hicolor/<n>x<n>/apps/vx2200net.png   the program icon as the main
//                                               window shows it, n = 16 .. 256
//   FOLDER/nopicture.jpg                        the search page's picture for a
//                                               thumbnail whose camera was not found
// The package build runs it; it needs no display.
#include "search/nopicture.h"
#include "widgets/artwork.h"

#include <QDir>
#include <QGuiApplication>

#include <cstdio>

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: vx2200icon FOLDER\n");
        return 64;
    }
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication application(argc, argv);
    const QString strRoot = QString::fromLocal8Bit(argv[1]);
    for (const int n : {16, 32, 48, 64, 128, 256}) {
        const QString strFolder = QStringLiteral("%1/hicolor/%2x%2/apps").arg(strRoot).arg(n);
        if (!QDir().mkpath(strFolder) || !CArtwork::ProgramPixmap(n).save(strFolder + "/vx2200net.png", "PNG")) {
            std::fprintf(stderr, "vx2200icon: cannot write %s\n", qPrintable(strFolder));
            return 73;
        }
    }
    if (!CNoPicture::WriteFile((strRoot + QStringLiteral("/nopicture.jpg")).toStdString())) {
        std::fprintf(stderr, "vx2200icon: cannot write nopicture.jpg\n");
        return 73;
    }
    return 0;
}
