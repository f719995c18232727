// The event database VX2200DB.db in the program folder: the name and folder of
// every event saved to this PC. A fixed 131,584-byte little-endian file, byte for
// byte the layout the Windows program writes:
//   offset 0      int32 count of valid entries (0..255)
//   offset 4      255 entries of 516 bytes, entry i at 4 + 516 i:
//                   name  256 bytes, NUL-terminated
//                   path  260 bytes, NUL-terminated
// Texts are kept as the bytes of the file (UTF-8 when this program wrote them).
// The in-memory table is a cache: every reading operation except AddEvent
// reloads the file first and every change ends with Save.
#pragma once

#include <array>
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

struct CEventEntry {
    std::string strName;
    std::string strPath;

    bool operator==(const CEventEntry&) const = default;
};

class CFileDBase {
public:
    static constexpr int MAX_EVENT = 255;
    static constexpr std::size_t NAME_SIZE = 256;
    static constexpr std::size_t PATH_SIZE = 260;
    static constexpr std::size_t ENTRY_SIZE = NAME_SIZE + PATH_SIZE; // 516
    static constexpr std::size_t FILE_SIZE = 4 + MAX_EVENT * ENTRY_SIZE; // 131,584
    static constexpr std::size_t MAX_NAME_BYTES = NAME_SIZE - 1; // 255
    static constexpr std::size_t MAX_PATH_BYTES = PATH_SIZE - 1; // 259
    static constexpr const char* FILE_NAME = "VX2200DB.db";
    static constexpr const char* SAVE_ERROR_TEXT = "Error Opening File";

    using Image = std::array<unsigned char, FILE_SIZE>;
    using Entries = std::vector<CEventEntry>;

    // strProgDir is the program folder, ending with '/'.
    explicit CFileDBase(const std::string& strProgDir);

    const std::string& FilePath() const { return m_strFilePath; }
    bool Exists() const;

    // Reads the file. When it cannot be read the table becomes empty and the
    // result is false; nothing is shown.
    bool Load();
    // Replaces the file with the table (atomically). On failure shows "Error
    // Opening File" and returns false; the table keeps its contents.
    bool Save();

    // Appends an event to the table as it stands (callers Load first) and saves.
    // False, with nothing changed, when the table is full or the path does not
    // fit its field; otherwise Save's result. A name longer than 255 bytes is cut
    // at a character boundary.
    bool AddEvent(const std::string& strName, const std::string& strPath);
    bool IsFull() const { return m_entries.size() >= static_cast<std::size_t>(MAX_EVENT); }

    // Reloads; true when no valid entry carries exactly this name (letter case
    // counts). An unreadable file counts as an empty table.
    bool IsEventNameFree(const std::string& strName);

    // Reloads and copies the whole file image (count and all entries) into image;
    // false, with image untouched, when the file cannot be read.
    bool GetAll(Image& image);
    // Reloads and gives the valid entries in table order; false (entries
    // emptied) when the file cannot be read.
    bool GetEntries(Entries& entries);

    // Reloads, keeps the entries whose path exists (in their order) and saves.
    // False only when the file cannot be read.
    bool RemoveMissing();

    // The table as the file holds it, and back. Decode never trusts its input: a
    // count outside 0..255 is clamped, only whole entries present count, bytes
    // past 131,584 are ignored and a text without NUL ends at its field's last
    // byte.
    static std::string Encode(const Entries& entries);
    static Entries Decode(std::string_view bytes);

    // strText cut to at most nMaxBytes bytes, never inside a UTF-8 sequence, and
    // at its first NUL.
    static std::string FitText(const std::string& strText, std::size_t nMaxBytes);

private:
    std::string m_strFilePath;
    Entries m_entries;
};
