// The PC File Viewer page without a recorder: the simulator's recorded pictures
// of cameras 1 to 4 are saved into an event "Demo" with the store writer and
// registered in the event database; the main window starts on the page, the
// camera is chosen and Search pressed; --open K double-clicks thumbnail K to
// show the picture view.
#include "shotcommon.h"

#include "app/vx2200net.h"
#include "fileviewer/fileviewdlg.h"
#include "platform/fileutil.h"
#include "shell/menutabctrl.h"
#include "shell/vx2200netdlg.h"
#include "sim/recordersim.h"
#include "sim/simpicture.h"
#include "store/filedbase.h"
#include "store/picturestore.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QListWidget>

#include <algorithm>
#include <array>
#include <cstdio>
#include <filesystem>

namespace {

// The cameras the demo event holds, and how many pictures of each.
constexpr int DEMO_CAMERAS = 4;
constexpr int DEMO_PICTURES_PER_CAMERA = 72;

// Saves the simulator's recorded pictures of the demo cameras into the event
// folder with the store writer, oldest first, and registers the event.
bool MakeDemoEvent(CRecorderSim& sim, const std::string& strScratch, const std::string& strEventFolder)
{
    std::filesystem::create_directories(strEventFolder);
    CPictureStore store(strEventFolder);
    const std::string strSource = strScratch + "picture.jpg";
    std::array<std::uint8_t, CSimPicture::INFO_SIZE> info {};
    int nSaved = 0;
    const long long nCount = sim.PictureCount();
    for (long long i = 0; i < nCount && nSaved < DEMO_CAMERAS * DEMO_PICTURES_PER_CAMERA; ++i) {
        const CSimRecording::Picture picture = sim.PictureAt(i);
        if (picture.nCamera < 1 || picture.nCamera > DEMO_CAMERAS)
            continue;
        if (!WriteFileAtomically(strSource, sim.PictureJpeg(i)))
            return false;
        CSimPicture::MakeInfo(picture.nCamera, SimDateTime::FromMs(picture.nTimeMs), picture.nFrame, info.data());
        if (store.SavePicture(info.data(), info.size(), strSource, false) == CPictureStore::SaveResult::Written)
            ++nSaved;
    }
    CFileDBase* pDB = GetApp()->GetFileDB();
    pDB->Load();
    return nSaved > 0 && pDB->AddEvent("Demo", strEventFolder);
}

} // namespace

int ShootFileViewer(const ShotOptions& options, CRecorderSim& sim, const std::string& strScratch)
{
    if (!MakeDemoEvent(sim, strScratch, strScratch + "store/Demo")) {
        std::fprintf(stderr, "vx2200shot: the demo event could not be saved\n");
        return 1;
    }
    CVX2200NETDlg main;
    main.show();
    auto* pPage = qobject_cast<CFileViewDlg*>(main.GetTabCtrl()->GetPage(CMenuTabCtrl::PAGE_FILEVIEWER));
    if (!pPage || !pPage->isVisible()) {
        std::fprintf(stderr, "vx2200shot: the PC File Viewer page is not shown\n");
        return 1;
    }
    if (auto* pCamera = pPage->findChild<QComboBox*>(QStringLiteral("id%1").arg(CFileViewDlg::IDC_CAMERA))) {
        const int nIndex = pCamera->findText(QStringLiteral("%1").arg(std::min(options.nCamera, DEMO_CAMERAS), 2, 10,
                                                                      QLatin1Char('0')));
        if (nIndex >= 0) {
            pCamera->setCurrentIndex(nIndex);
            emit pCamera->activated(nIndex);
        }
    }
    Click(pPage, CFileViewDlg::IDC_SEARCH);
    if (options.nOpen > 0 && options.nOpen <= pPage->GetThumbnailCount()) {
        pPage->GetList()->setCurrentRow(options.nOpen - 1);
        pPage->OpenPictureView();
    }
    RunFor(500);
    if (!options.strPrint.empty()) {
        auto* pPrint = pPage->findChild<QAbstractButton*>(QStringLiteral("id%1").arg(CFileViewDlg::IDC_PRINT));
        if (!PrintWithButton(pPrint, options.strPrint)) {
            std::fprintf(stderr, "vx2200shot: %s was not printed\n", options.strPrint.c_str());
            return 73;
        }
    }
    return SaveShot(main, options.strOut);
}

