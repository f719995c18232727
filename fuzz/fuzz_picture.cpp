// The picture transfer as the recorder answers it: the move, the information
// record, the size frame and the chunk loop. Nothing may be written past the
// 535,680-byte picture buffer (the buffer here is exactly that size).
#include "recorderpeer.h"

#include "link/vx2200ctrl.h"

#include <cstdint>
#include <memory>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* pData, std::size_t nSize)
{
    if (nSize < 1)
        return 0;
    CVX2200Ctrl ctrl;
    // Exactly the picture buffer's size, so any write past it is caught.
    auto pBuffer = std::make_unique<std::uint8_t[]>(CVX2200Ctrl::PICTURE_BUFFER_BYTES);
    std::uint8_t byInfo[38] = {};
    int nPictureSize = -1;
    {
        CRecorderPeer peer(ctrl, CRecorderPeer::Segments(pData + 1, nSize - 1));
        const int nMove = pData[0] % 8; // 7 is outside the moves: nothing is sent
        const int nResult = ctrl.TransferPicture(byInfo, pBuffer.get(), nPictureSize, nMove, 4, 1, 23, 12, 0, 0);
        // A size of 0 or beyond the buffer ends the upload with nothing read and
        // is reported as announced (the caller checks it); it is never negative.
        (void)nResult;
        if (nPictureSize < 0)
            __builtin_trap();
    }
    return 0;
}
