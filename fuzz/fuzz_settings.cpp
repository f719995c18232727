// The settings file (.vxs) reader: only a file of exactly 692 bytes is taken,
// and every file taken writes back byte for byte.
#include "link/settingsimage.h"

#include <cstdint>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* pData, std::size_t nSize)
{
    const std::string_view bytes(reinterpret_cast<const char*>(pData), nSize);
    CSettingsImage image;
    const bool bTaken = image.Decode(bytes);
    if (bTaken != (nSize == static_cast<std::size_t>(CSettingsImage::FILE_SIZE)))
        __builtin_trap();
    if (bTaken && image.Encode() != bytes)
        __builtin_trap();
    if (!bTaken && image.Encode() != CSettingsImage().Encode())
        __builtin_trap();
    return 0;
}
