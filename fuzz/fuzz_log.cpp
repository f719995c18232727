// Reading a recorder log, with its follow-up records: the stores of 100, 500
// and 100 slots are never written past, and the reading stays bounded.
#include "recorderpeer.h"

#include "link/vx2200ctrl.h"

#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* pData, std::size_t nSize)
{
    if (nSize < 1)
        return 0;
    CVX2200Ctrl ctrl;
    {
        CRecorderPeer peer(ctrl, CRecorderPeer::Segments(pData + 1, nSize - 1));
        ctrl.ReadLog(pData[0] % 4); // 3 is no log: nothing is sent
    }
    return 0;
}
