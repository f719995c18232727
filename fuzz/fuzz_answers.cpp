// The recorder's answers to every exchange pattern of the link, fed through the
// real socket code: acknowledges, answer frames, the status query, menu values,
// the clock, timer programs, the read-all of a settings download, and the
// record and power keys that ask the status first. The first byte chooses the
// exchange, the rest is the recorder's script (see CRecorderPeer).
#include "recorderpeer.h"

#include "link/settingsimage.h"
#include "link/vx2200ctrl.h"

#include <array>
#include <cstdint>

namespace {

void Check(bool bHolds)
{
    if (!bHolds)
        __builtin_trap();
}

void RunExchange(CVX2200Ctrl& ctrl, std::uint8_t bySelect, std::uint8_t byArgument)
{
    switch (bySelect % 9) {
    case 0: Check(ctrl.SendKey(byArgument % 20) <= 3); break;
    case 1: {
        std::array<int, 4> nStatus {-7, -7, -7, -7};
        const int nResult = ctrl.QueryStatus(nStatus);
        Check(nResult == 0 || nStatus == std::array<int, 4> {-7, -7, -7, -7});
        break;
    }
    case 2: {
        int nValue = -1000;
        const int nResult = ctrl.GetMenuValue(byArgument % 40, nValue);
        Check(nResult == 0 ? (nValue >= -128 && nValue <= 255) : nValue == -1000);
        break;
    }
    case 3: {
        int y = 0, mo = 0, d = 0, h = 0, mi = 0, s = 0;
        ctrl.GetDateTime(y, mo, d, h, mi, s);
        break;
    }
    case 4: {
        TimerProgram program;
        ctrl.GetTimerProgram(byArgument % 12, program);
        break;
    }
    case 5: {
        CSettingsImage image;
        std::vector<int> failed;
        ctrl.ReadAllSettings(image, &failed);
        Check(image.Encode().size() == static_cast<std::size_t>(CSettingsImage::FILE_SIZE));
        break;
    }
    case 6: ctrl.RecordKey(); break;
    case 7: ctrl.PowerKey(); break;
    default: {
        // A write: only the acknowledge is read.
        ctrl.SetMenuValue(byArgument % 40, byArgument);
        break;
    }
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* pData, std::size_t nSize)
{
    if (nSize < 2)
        return 0;
    CVX2200Ctrl ctrl;
    {
        CRecorderPeer peer(ctrl, CRecorderPeer::Segments(pData + 2, nSize - 2));
        RunExchange(ctrl, pData[0], pData[1]);
    }
    return 0;
}
