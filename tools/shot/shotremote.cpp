// The DVR Remote page: the front panel as polled, of a recorder that records and
// plays; with --menu N, menu-setting mode (its question answered with yes) with
// setting page N as read from the simulator, and Display Log pressed on the
// log page.
#include "shotcommon.h"

#include "app/vx2200net.h"
#include "platform/prompter.h"
#include "remote/controldlg.h"
#include "remote/controltabctrl.h"
#include "remote/menupage.h"
#include "shell/menutabctrl.h"
#include "shell/vx2200netdlg.h"
#include "sim/recordersim.h"

#include <cstdio>

namespace {

// Answers every question with yes: entering menu-setting mode asks one.
class CYesPrompter : public CPrompter {
public:
    int Confirm(int) override { return 1; }
    int MessageBox(const std::string&, const std::string&, MessageIcon, MessageButtons buttons) override
    {
        return buttons == MessageButtons::YesNo ? IDYES : IDOK;
    }
};

constexpr int IDC_DISPLAY_LOG = 1479;

} // namespace

int ShootRemote(const ShotOptions& options, CRecorderSim& sim)
{
    CVX2200NETApp& app = *GetApp();
    CVX2200NETDlg main;
    app.SetMainWnd(&main);
    main.show();
    if (!Connect(main)) {
        std::fprintf(stderr, "vx2200shot: could not connect to the simulator\n");
        app.SetMainWnd(nullptr);
        return 1;
    }
    main.GetTabCtrl()->SelectTab(CMenuTabCtrl::PAGE_REMOTE);
    auto* pPage = qobject_cast<CControlDlg*>(main.GetTabCtrl()->GetPage(CMenuTabCtrl::PAGE_REMOTE));
    sim.SetStatus({1, 2, 1, 0});
    RunFor(options.nSeconds * 1000);
    if (pPage && options.nMenu >= 0) {
        CYesPrompter prompter;
        CPrompter* pPrevious = SetPrompter(&prompter);
        pPage->OnMenuSetting();
        pPage->GetTabCtrl()->SelectPage(options.nMenu);
        if (options.nMenu == CControlTabCtrl::PAGE_LOG)
            Click(pPage->GetTabCtrl()->GetPage(CControlTabCtrl::PAGE_LOG), IDC_DISPLAY_LOG);
        SetPrompter(pPrevious);
        RunFor(300);
    }
    const int nResult = SaveShot(main, options.strOut);
    app.DisconnectLink();
    app.SetMainWnd(nullptr);
    return nResult;
}
