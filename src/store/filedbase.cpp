#include "store/filedbase.h"

#include "platform/fileutil.h"
#include "platform/prompter.h"

#include <algorithm>
#include <cstdint>
#include <cstring>

namespace {

constexpr std::size_t COUNT_SIZE = 4;
constexpr const char* MESSAGE_CAPTION = "VX2200NET";

std::size_t EntryOffset(std::size_t nIndex)
{
    return COUNT_SIZE + nIndex * CFileDBase::ENTRY_SIZE;
}

void PutText(std::string& strOut, std::size_t nOffset, std::size_t nFieldSize, const std::string& strText)
{
    const std::string strFit = CFileDBase::FitText(strText, nFieldSize - 1);
    std::memcpy(&strOut[nOffset], strFit.data(), strFit.size());
    // The rest of the field is already zero, the terminator included.
}

std::string GetText(std::string_view bytes, std::size_t nOffset, std::size_t nFieldSize)
{
    const std::string_view field = bytes.substr(nOffset, nFieldSize - 1);
    return std::string(field.substr(0, std::min(field.find('\0'), field.size())));
}

std::int32_t GetInt32(std::string_view bytes)
{
    std::uint32_t nRaw = 0;
    for (std::size_t b = 0; b < COUNT_SIZE; ++b)
        nRaw |= static_cast<std::uint32_t>(static_cast<unsigned char>(bytes[b])) << (8 * b);
    return static_cast<std::int32_t>(nRaw);
}

} // namespace

CFileDBase::CFileDBase(const std::string& strProgDir)
    : m_strFilePath(strProgDir + FILE_NAME)
{
}

bool CFileDBase::Exists() const
{
    return PathExists(m_strFilePath);
}

std::string CFileDBase::FitText(const std::string& strText, std::size_t nMaxBytes)
{
    std::size_t nLen = std::min(strText.find('\0'), strText.size());
    if (nLen <= nMaxBytes)
        return strText.substr(0, nLen);
    nLen = nMaxBytes;
    // The byte at the cut continues a character: step back to its first byte.
    while (nLen > 0 && (static_cast<unsigned char>(strText[nLen]) & 0xC0) == 0x80)
        --nLen;
    return strText.substr(0, nLen);
}

std::string CFileDBase::Encode(const Entries& entries)
{
    std::string strOut(FILE_SIZE, '\0');
    const std::size_t nCount = std::min(entries.size(), static_cast<std::size_t>(MAX_EVENT));
    const auto nStored = static_cast<std::uint32_t>(nCount);
    for (std::size_t b = 0; b < COUNT_SIZE; ++b)
        strOut[b] = static_cast<char>((nStored >> (8 * b)) & 0xFF);
    for (std::size_t i = 0; i < nCount; ++i) {
        PutText(strOut, EntryOffset(i), NAME_SIZE, entries[i].strName);
        PutText(strOut, EntryOffset(i) + NAME_SIZE, PATH_SIZE, entries[i].strPath);
    }
    return strOut;
}

CFileDBase::Entries CFileDBase::Decode(std::string_view bytes)
{
    bytes = bytes.substr(0, std::min(bytes.size(), FILE_SIZE));
    if (bytes.size() < COUNT_SIZE)
        return {};
    const std::size_t nWhole = (bytes.size() - COUNT_SIZE) / ENTRY_SIZE;
    const std::int32_t nStored = std::clamp<std::int32_t>(GetInt32(bytes), 0, MAX_EVENT);
    const std::size_t nCount = std::min(static_cast<std::size_t>(nStored), nWhole);
    Entries entries;
    entries.reserve(nCount);
    for (std::size_t i = 0; i < nCount; ++i)
        entries.push_back({GetText(bytes, EntryOffset(i), NAME_SIZE),
                           GetText(bytes, EntryOffset(i) + NAME_SIZE, PATH_SIZE)});
    return entries;
}

bool CFileDBase::Load()
{
    const auto bytes = ReadFileBytes(m_strFilePath, FILE_SIZE);
    if (!bytes) {
        m_entries.clear();
        return false;
    }
    m_entries = Decode(*bytes);
    return true;
}

bool CFileDBase::Save()
{
    if (WriteFileAtomically(m_strFilePath, Encode(m_entries)))
        return true;
    GetPrompter().MessageBox(SAVE_ERROR_TEXT, MESSAGE_CAPTION, MessageIcon::Warning, MessageButtons::Ok);
    return false;
}

bool CFileDBase::AddEvent(const std::string& strName, const std::string& strPath)
{
    // A path cut short would name another folder, which the viewer could later
    // list or delete as this event's: such an event is not recorded at all.
    if (IsFull() || FitText(strPath, MAX_PATH_BYTES) != strPath)
        return false;
    m_entries.push_back({FitText(strName, MAX_NAME_BYTES), strPath});
    return Save();
}

bool CFileDBase::IsEventNameFree(const std::string& strName)
{
    if (!Load())
        return true;
    // Compared as it would be stored.
    const std::string strStored = FitText(strName, MAX_NAME_BYTES);
    return std::none_of(m_entries.begin(), m_entries.end(),
                        [&](const CEventEntry& entry) { return entry.strName == strStored; });
}

bool CFileDBase::GetAll(Image& image)
{
    if (!Load())
        return false;
    const std::string strBytes = Encode(m_entries);
    std::memcpy(image.data(), strBytes.data(), FILE_SIZE);
    return true;
}

bool CFileDBase::GetEntries(Entries& entries)
{
    const bool bOk = Load();
    entries = m_entries;
    return bOk;
}

bool CFileDBase::RemoveMissing()
{
    if (!Load())
        return false;
    Entries kept;
    for (const CEventEntry& entry : m_entries) {
        if (!entry.strPath.empty() && PathExists(entry.strPath))
            kept.push_back(entry);
    }
    m_entries = std::move(kept);
    Save();
    return true;
}
