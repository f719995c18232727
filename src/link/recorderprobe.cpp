#include "link/recorderprobe.h"

#include "link/vx2200ctrl.h"

int CRecorderProbe::ProbeRecorder(CVX2200Ctrl& ctrl, const std::string& strIP, int nPort)
{
    if (ctrl.Connect(strIP, nPort) != 0)
        return 0;
    int nYear = 0, nMonth = 0, nDay = 0, nHour = 0, nMinute = 0, nSecond = 0;
    const int nStatus = ctrl.GetDateTime(nYear, nMonth, nDay, nHour, nMinute, nSecond);
    ctrl.Disconnect();
    return nStatus == 0 && nYear >= MIN_YEAR && nYear <= MAX_YEAR ? 1 : 0;
}
