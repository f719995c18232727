// The event database VX2200DB.db, read from a file of any length and content:
// never more than 255 events, names and folders within their fields, nothing
// read past the data; and what is read writes back whole.
#include "fuzztempdir.h"

#include "store/filedbase.h"

#include <cstdint>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* pData, std::size_t nSize)
{
    const std::string strBytes(reinterpret_cast<const char*>(pData), nSize);
    const CFileDBase::Entries decoded = CFileDBase::Decode(strBytes);
    if (decoded.size() > static_cast<std::size_t>(CFileDBase::MAX_EVENT))
        __builtin_trap();
    for (const CEventEntry& entry : decoded) {
        if (entry.strName.size() > CFileDBase::MAX_NAME_BYTES || entry.strPath.size() > CFileDBase::MAX_PATH_BYTES)
            __builtin_trap();
    }
    if (CFileDBase::Encode(decoded).size() != CFileDBase::FILE_SIZE)
        __builtin_trap();

    // Through the file, as the program reads it.
    FuzzWriteFile(FuzzTempDir() + CFileDBase::FILE_NAME, strBytes);
    CFileDBase db(FuzzTempDir());
    CFileDBase::Entries entries;
    if (!db.GetEntries(entries) || entries != decoded)
        __builtin_trap();
    db.IsEventNameFree(entries.empty() ? std::string("x") : entries.back().strName);
    return 0;
}
