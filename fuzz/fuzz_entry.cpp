// The address book file entry.txt: whatever it holds, the count stays within
// 0..300 and within the whole records present, no text outgrows its field, and
// what is read writes back to bytes that read the same.
#include "store/entryfile.h"

#include <cstdint>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* pData, std::size_t nSize)
{
    const std::string strStored(reinterpret_cast<const char*>(pData), nSize);
    CEntryFile::Records records;
    const int nCount = CEntryFile::Decode(strStored, records);
    if (nCount < 0 || nCount > CEntryFile::MAX_ENTRY)
        __builtin_trap();
    for (const CEntryRecord& record : records) {
        if (record.strName.size() >= CEntryFile::FIELD_SIZE || record.strIP.size() >= CEntryFile::FIELD_SIZE)
            __builtin_trap();
    }
    CEntryFile::Records again;
    if (CEntryFile::Decode(CEntryFile::Encode(nCount, records), again) != nCount)
        __builtin_trap();
    for (int i = 0; i < nCount; ++i) {
        if (again[i].strName != records[i].strName || again[i].strIP != records[i].strIP
            || again[i].nPort != records[i].nPort)
            __builtin_trap();
    }
    return 0;
}
